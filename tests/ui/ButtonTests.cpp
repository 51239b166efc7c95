// Buttons, check boxes, radio buttons and labels, driven by the messages a user's clicks make.
#include <gtest/gtest.h>
#include <vector>
#include "UiHost.h"
#include "ui/Controls.h"

using uitest::HostForm;

namespace {

void Click(ui::Control& c) {
    SendMessageA(c.hwnd(), BM_CLICK, 0, 0);
    uitest::PumpFor(0);
}

}  // namespace

TEST(ButtonTest, ClickOnANestedPanelReachesTheButtonsHandler) {
    HostForm host;
    ASSERT_TRUE(host.created);
    ui::Panel outer, inner;
    ui::Button button;
    ASSERT_TRUE(outer.Create(host, 100, {0, 0, 300, 200}, true, "Outer"));
    ASSERT_TRUE(inner.Create(outer, 101, {10, 20, 200, 100}));
    ASSERT_TRUE(button.Create(inner, 102, {10, 10, 80, 24}, "Go"));
    int clicks = 0;
    button.onClick = [&] { ++clicks; };

    Click(button);
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(102, button.id());
    EXPECT_EQ(&button, ui::Control::FromHandle(GetDlgItem(inner.hwnd(), 102)));
    EXPECT_EQ("Go", button.Text());

    button.SetEnabled(false);
    EXPECT_FALSE(button.Enabled());
    button.Click();
    EXPECT_EQ(1, clicks);
    button.SetEnabled(true);
    button.Click();
    EXPECT_EQ(2, clicks);
}

TEST(CheckBoxTest, CodeRunsTheHandlerOnlyOnAChangeAndClicksAlways) {
    HostForm host;
    ui::CheckBox box;
    ASSERT_TRUE(box.Create(host, 10, {10, 10, 200, 20}, "Fonts"));
    std::vector<bool> seen;  // the state each handler call saw
    box.onClick = [&] { seen.push_back(box.Checked()); };

    box.SetChecked(false);
    EXPECT_TRUE(seen.empty());
    box.SetChecked(true);
    box.SetChecked(true);
    EXPECT_EQ(std::vector<bool>({true}), seen);

    Click(box);
    EXPECT_FALSE(box.Checked());
    Click(box);
    EXPECT_EQ(std::vector<bool>({true, false, true}), seen);

    box.SetChecked(false);
    EXPECT_EQ(std::vector<bool>({true, false, true, false}), seen);
}

TEST(CheckBoxTest, UnicodeBoxShowsTheAnsiTextConverted) {
    HostForm host;
    ui::CheckBox box;
    ASSERT_TRUE(box.Create(host, 11, {10, 10, 200, 20}, {}, true));
    EXPECT_TRUE(IsWindowUnicode(box.hwnd()));
    const std::string text = "Bureau \xE9t\xE9";  // "Bureau été" in code page 1252
    box.SetText(text);
    EXPECT_EQ(text, box.Text());
    if (GetACP() == 1252) {
        wchar_t wide[64] = {};
        GetWindowTextW(box.hwnd(), wide, 64);
        EXPECT_EQ(std::wstring(L"Bureau \u00e9t\u00e9"), std::wstring(wide));
    }
}

TEST(RadioButtonTest, GroupsRunFromOneGroupStartToTheNext) {
    HostForm host;
    ui::RadioButton a, b, c, d;
    ASSERT_TRUE(a.Create(host, 20, {10, 10, 150, 20}, "Backup", true, true));  // Unicode, like the welcome page's
    ASSERT_TRUE(b.Create(host, 21, {10, 30, 150, 20}, "Restore"));
    ASSERT_TRUE(c.Create(host, 22, {10, 60, 150, 20}, "Default", true));
    ASSERT_TRUE(d.Create(host, 23, {10, 80, 150, 20}, "Origin"));
    int clicksA = 0, clicksB = 0, clicksC = 0, clicksD = 0;
    a.onClick = [&] { ++clicksA; };
    b.onClick = [&] { ++clicksB; };
    c.onClick = [&] { ++clicksC; };
    d.onClick = [&] { ++clicksD; };

    a.SetChecked(true);
    c.SetChecked(true);
    EXPECT_TRUE(a.Checked());
    EXPECT_TRUE(c.Checked());
    EXPECT_EQ(1, clicksA);
    EXPECT_EQ(1, clicksC);

    Click(b);  // the user picks the other mode
    EXPECT_TRUE(b.Checked());
    EXPECT_FALSE(a.Checked());
    EXPECT_TRUE(c.Checked());
    EXPECT_EQ(1, clicksB);
    EXPECT_EQ(1, clicksA);

    a.SetChecked(true);  // from code: the group's other button goes off, without a call
    EXPECT_TRUE(a.Checked());
    EXPECT_FALSE(b.Checked());
    EXPECT_TRUE(c.Checked());
    EXPECT_EQ(2, clicksA);
    EXPECT_EQ(1, clicksB);

    a.SetChecked(true);
    a.SetChecked(false);
    EXPECT_FALSE(a.Checked());
    EXPECT_EQ(2, clicksA);
    EXPECT_EQ(0, clicksD);
}

TEST(LabelTest, ClickAndHandCursor) {
    HostForm host;
    ui::Label link, plain;
    ASSERT_TRUE(link.Create(host, 30, {10, 10, 200, 18}, "https://example.org/"));
    ASSERT_TRUE(plain.Create(host, 31, {10, 40, 200, 18}, "Translated by"));
    int clicks = 0;
    link.onClick = [&] { ++clicks; };
    link.SetHandCursor(true);
    uitest::ClickAt(link.hwnd(), 5, 5);
    EXPECT_EQ(1, clicks);

    HCURSOR hand = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
    SendMessageA(link.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link.hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(hand, GetCursor());
    SendMessageA(plain.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(plain.hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(hand, GetCursor());
}
