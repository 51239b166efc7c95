// List boxes, check lists and combo boxes, driven by the keys and clicks a user makes.
#include <gtest/gtest.h>
#include <vector>
#include "UiHost.h"
#include "ui/Controls.h"

using uitest::HostForm;
using Texts = std::vector<std::string>;

namespace {

RECT ItemRect(const ui::ListBox& list, int index) {
    RECT rc{};
    SendMessageA(list.hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
    return rc;
}

}  // namespace

TEST(ListBoxTest, KeysReachTheHandlerAndDeleteRemovesOnlyASelectedItem) {
    HostForm host;
    ui::ListBox list;
    ASSERT_TRUE(list.Create(host, 50, {10, 10, 300, 120}));
    for (const char* s : {"C:\\a.txt", "C:\\b.txt", "C:\\c.txt"}) list.AddItem(s);
    std::vector<int> keys;
    list.onKeyDown = [&](int vk) {
        keys.push_back(vk);
        int i = list.ItemIndex();
        if (vk == VK_DELETE && i >= 0 && list.Selected(i)) list.DeleteItem(i);
    };

    uitest::PressKey(list.hwnd(), VK_DELETE);  // nothing current yet
    EXPECT_EQ(3, list.Count());
    list.SetItemIndex(1);
    EXPECT_TRUE(list.Selected(1));
    EXPECT_FALSE(list.Selected(0));
    uitest::PressKey(list.hwnd(), VK_DELETE);
    uitest::PressKey(list.hwnd(), 'A');
    EXPECT_EQ(Texts({"C:\\a.txt", "C:\\c.txt"}), list.Items());
    EXPECT_EQ(std::vector<int>({VK_DELETE, VK_DELETE, 'A'}), keys);
}

TEST(ListBoxTest, ItemsAreExactAndKeepTheirSelectionWhenRewritten) {
    HostForm host;
    ui::ListBox list;
    ASSERT_TRUE(list.Create(host, 51, {10, 10, 300, 120}));
    for (const char* s : {"Profile", "profile", "Profile (1)"}) list.AddItem(s);
    EXPECT_EQ(1, list.IndexOf("profile"));
    EXPECT_EQ(-1, list.IndexOf("PROFILE"));
    EXPECT_EQ(-1, list.IndexOf("Profile "));

    list.SetItemIndex(1);
    list.SetItem(1, "renamed");
    EXPECT_EQ(1, list.ItemIndex());
    list.InsertItem(0, "first");
    EXPECT_EQ(Texts({"first", "Profile", "renamed", "Profile (1)"}), list.Items());
    EXPECT_EQ(2, list.ItemIndex());
    list.Clear();
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(-1, list.ItemIndex());
}

TEST(ListBoxTest, HiddenDataListHoldsLongListsAndScrollsWide) {
    HostForm host;
    ui::ListBox list;
    ASSERT_TRUE(list.Create(host, 52, {10, 10, 300, 120}, false));
    EXPECT_FALSE(list.Visible());
    for (int i = 0; i < 3000; ++i) list.AddItem("[MYDOCS--]C:\\Users\\me\\Documents\\file" + std::to_string(i) + ".txt");
    EXPECT_EQ(3000, list.Count());
    EXPECT_EQ("[MYDOCS--]C:\\Users\\me\\Documents\\file2999.txt", list.Item(2999));
    list.SetHorizontalExtent(2000);
    EXPECT_EQ(2000, SendMessageA(list.hwnd(), LB_GETHORIZONTALEXTENT, 0, 0));
}

TEST(CheckListBoxTest, ClickOnTheMarkTogglesAndClickOnTheTextOnlySelects) {
    HostForm host;
    ui::CheckListBox list;
    ASSERT_TRUE(list.Create(host, 53, {10, 10, 300, 120}));
    list.AddItem("default (C:\\Profiles\\x.default)", true);
    list.AddItem("work (D:\\Work)");
    list.AddItem("old (E:\\Old)");
    RECT rc = ItemRect(list, 1);
    int middle = (rc.top + rc.bottom) / 2;
    EXPECT_GE(rc.bottom - rc.top, 16);

    uitest::ClickAt(list.hwnd(), rc.left + 6, middle);
    EXPECT_TRUE(list.Checked(1));
    EXPECT_EQ(1, list.ItemIndex());
    uitest::ClickAt(list.hwnd(), rc.left + 120, middle);
    EXPECT_TRUE(list.Checked(1));
    uitest::ClickAt(list.hwnd(), rc.left + 6, middle);
    EXPECT_FALSE(list.Checked(1));
    EXPECT_TRUE(list.Checked(0));
    EXPECT_FALSE(list.Checked(2));

    uitest::ClickAt(list.hwnd(), rc.left + 6, 110);  // below the last item
    EXPECT_FALSE(list.Checked(2));
}

TEST(CheckListBoxTest, SpaceTogglesTheCurrentItem) {
    HostForm host;
    ui::CheckListBox list;
    ASSERT_TRUE(list.Create(host, 54, {10, 10, 300, 120}));
    list.AddItem("Main Identity", true);
    list.AddItem("Second");
    std::vector<int> keys;
    list.onKeyDown = [&](int vk) { keys.push_back(vk); };
    list.SetItemIndex(1);
    uitest::PressKey(list.hwnd(), VK_SPACE);
    EXPECT_TRUE(list.Checked(1));
    uitest::PressKey(list.hwnd(), VK_SPACE);
    EXPECT_FALSE(list.Checked(1));
    EXPECT_TRUE(list.Checked(0));
    EXPECT_EQ(std::vector<int>({VK_SPACE, VK_SPACE}), keys);
}

TEST(CheckListBoxTest, CheckMarksSurviveRewritingTheirItems) {
    HostForm host;
    ui::CheckListBox list;
    ASSERT_TRUE(list.Create(host, 55, {10, 10, 300, 120}));
    list.AddItem("a", true);
    list.AddItem("b");
    static_cast<ui::ListBox&>(list).AddItem("c");  // through the plain list: unticked
    list.SetItemIndex(0);
    list.SetItem(0, "A");
    list.SetItem(1, "B");
    EXPECT_EQ(Texts({"A", "B", "c"}), list.Items());
    EXPECT_TRUE(list.Checked(0));
    EXPECT_FALSE(list.Checked(1));
    EXPECT_FALSE(list.Checked(2));
    EXPECT_EQ(0, list.ItemIndex());
    list.SetChecked(2, true);
    list.DeleteItem(0);
    EXPECT_FALSE(list.Checked(0));
    EXPECT_TRUE(list.Checked(1));
    EXPECT_FALSE(list.Checked(5));
}

TEST(ComboBoxTest, ReadOnlyFieldRefusesTyping) {
    HostForm host;
    ui::ComboBox combo;
    ASSERT_TRUE(combo.Create(host, 56, {10, 10, 200, 21}, ui::ComboBox::Style::DropDown));
    combo.AddItem("English");
    combo.AddItem("Deutsch");
    combo.SetText("English");
    HWND edit = combo.EditWindow();
    ASSERT_NE(nullptr, edit);
    combo.SetEditReadOnly(true);
    EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
    SendMessageA(edit, WM_CHAR, 'x', 1);
    EXPECT_EQ("English", combo.Text());
    combo.SetEditReadOnly(false);
    SendMessageA(edit, WM_CHAR, 'x', 1);
    EXPECT_NE("English", combo.Text());
}

TEST(ComboBoxTest, RewritingItemsKeepsTheSelectionAndRunsNoHandler) {
    HostForm host;
    ui::ComboBox combo;
    ASSERT_TRUE(combo.Create(host, 57, {10, 10, 250, 21}, ui::ComboBox::Style::DropDown));
    int selects = 0;
    combo.onSelect = [&] { ++selects; };
    combo.AddItem({});
    combo.AddItem({});
    combo.SetItem(0, "Full Mode");
    combo.SetItem(1, "Compatible mode (without add-ons)");
    combo.SetItemIndex(1);
    combo.SetItem(1, "Kompatibel");
    EXPECT_EQ(1, combo.ItemIndex());
    EXPECT_EQ("Kompatibel", combo.Text());
    combo.SetItem(0, "Voll");
    EXPECT_EQ(1, combo.ItemIndex());
    EXPECT_EQ("Kompatibel", combo.Text());
    EXPECT_EQ("Voll", combo.Item(0));
    EXPECT_EQ(2, combo.Count());
    EXPECT_EQ(0, selects);
}

TEST(ComboBoxTest, SetTextPicksTheExactItemOrWritesTheField) {
    HostForm host;
    ui::ComboBox drop, list;
    ASSERT_TRUE(drop.Create(host, 58, {10, 10, 200, 21}, ui::ComboBox::Style::DropDown));
    ASSERT_TRUE(list.Create(host, 59, {10, 50, 200, 21}, ui::ComboBox::Style::DropDownList));
    int selects = 0;
    drop.onSelect = list.onSelect = [&] { ++selects; };
    for (ui::ComboBox* c : {&drop, &list}) {
        c->AddItem("English");
        c->AddItem("english");
    }
    drop.SetText("english");
    EXPECT_EQ(1, drop.ItemIndex());
    drop.SetText("Klingon");
    EXPECT_EQ(-1, drop.ItemIndex());
    EXPECT_EQ("Klingon", drop.Text());

    list.SetText("english");
    EXPECT_EQ(1, list.ItemIndex());
    EXPECT_EQ("english", list.Text());
    list.SetText("Klingon");
    EXPECT_EQ(-1, list.ItemIndex());
    EXPECT_EQ("", list.Text());
    EXPECT_EQ(0, selects);
    EXPECT_EQ(nullptr, list.EditWindow());
}

TEST(ComboBoxTest, UserPickRunsOnSelectWithThePickedText) {
    HostForm host;
    ui::ComboBox drop, list;
    ASSERT_TRUE(drop.Create(host, 60, {10, 10, 200, 21}, ui::ComboBox::Style::DropDown));
    ASSERT_TRUE(list.Create(host, 61, {10, 50, 200, 21}, ui::ComboBox::Style::DropDownList));
    Texts dropSeen, listSeen;
    drop.onSelect = [&] { dropSeen.push_back(drop.Text()); };
    list.onSelect = [&] { listSeen.push_back(list.Text()); };
    for (ui::ComboBox* c : {&drop, &list}) {
        c->AddItem("English");
        c->AddItem("Francais");
        c->SetText("English");
    }
    drop.SetEditReadOnly(true);
    uitest::PressKey(drop.EditWindow(), VK_DOWN);  // the arrow key picks the next language
    uitest::PressKey(list.hwnd(), VK_DOWN);
    EXPECT_EQ(Texts({"Francais"}), dropSeen);
    EXPECT_EQ(Texts({"Francais"}), listSeen);
}
