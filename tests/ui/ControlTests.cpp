// The controls, driven by the messages a user's typing, clicks and keys make.
#include <gtest/gtest.h>
#include "TestSupport.h"
#include "UiHost.h"
#include "ui/Controls.h"

using namespace uitest;
using Texts = std::vector<std::string>;

TEST(EditTest, ChangeHandlerRunsOnlyOnARealChangeTypedOrSet) {
    HostForm host;
    ui::Edit edit;
    ASSERT_TRUE(edit.Create(host, 40, {10, 10, 300, 22}));
    Texts seen;
    edit.onChange = [&] {  // trims a trailing backslash, as a path's handler may
        std::string t = edit.Text();
        seen.push_back(t);
        if (t.back() == '\\') edit.SetText(t.substr(0, t.size() - 1));
    };
    SendMessageA(edit.hwnd(), WM_CHAR, 'C', 1);
    edit.SetText("C:\\Data\\");
    SendMessageA(edit.hwnd(), EM_SETSEL, 3, 3);
    edit.SetText("C:\\Data");  // the same text: nothing runs and the caret stays
    DWORD caret = 0;
    SendMessageA(edit.hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    EXPECT_EQ(3u, caret);
    SendMessageA(edit.hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\Data"));
    EXPECT_EQ(Texts({"C", "C:\\Data\\", "C:\\Data"}), seen);
}

TEST(PathEditTest, BrowseWritesTheChosenFileIntoTheEditButNotWhileDisabled) {
    test::RecordingAnswerer answers;
    HostForm host;
    ui::PathEdit path;
    ASSERT_TRUE(path.Create(host, 1200, {10, 10, 400, 22}, ui::PathEdit::Kind::File));
    path.SetText("C:\\Mail\\old.pst");
    answers.openAnswers = {{"C:\\Mail\\new.pst"}, {}};  // chosen, then cancelled
    HWND browse = GetDlgItem(host.hwnd(), 1200 + ui::PathEdit::kBrowseIdOffset);
    for (int i = 0; i < 2; ++i) SendMessageA(browse, BM_CLICK, 0, 0);
    static_cast<ui::Control&>(path).SetEnabled(false);  // as a layout table disables controls
    path.BrowseButton().Click();
    ASSERT_EQ(2u, answers.openRequests.size());
    EXPECT_EQ("C:\\Mail", answers.openRequests[0].initialDir);
    EXPECT_EQ("C:\\Mail\\new.pst", path.Text());
}

TEST(ButtonTest, CheckBoxesAndRadiosRunTheirHandlerOnClicksAndOnRealChangesFromCode) {
    HostForm host;
    ui::RadioButton r[4];  // two groups of two
    ui::CheckBox box;
    int clicks[5] = {};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(r[i].Create(host, 20 + i, {10, 10 + 20 * i, 150, 20}, "mode", i % 2 == 0));
        r[i].onClick = [&clicks, i] { ++clicks[i]; };
    }
    ASSERT_TRUE(box.Create(host, 24, {200, 10, 150, 20}, {}, true));  // a Unicode box
    box.onClick = [&] { ++clicks[4]; };
    auto radios = [&] { std::string s; for (auto& b : r) s += "01"[b.Checked()]; return s; };
    for (bool checked : {false, true, true}) box.SetChecked(checked);
    SendMessageA(box.hwnd(), BM_CLICK, 0, 0);
    r[0].SetChecked(true);
    r[2].SetChecked(true);
    SendMessageA(r[1].hwnd(), BM_CLICK, 0, 0);  // the user picks the other mode
    EXPECT_EQ("0110", radios());
    r[0].SetChecked(true);
    r[0].SetChecked(true);
    EXPECT_EQ("1010", radios());
    r[3].SetChecked(true);
    r[3].SetChecked(false);
    EXPECT_EQ("1000", radios());
    EXPECT_EQ(std::vector<int>({2, 1, 1, 1, 2}), std::vector<int>(clicks, clicks + 5));

    box.SetText("Bureau \xE9t\xE9");  // ANSI text, converted for the Unicode box and back
    EXPECT_EQ("Bureau \xE9t\xE9", box.Text());
}

TEST(ListBoxTest, RewrittenItemsKeepTheirSelectionAndCheckMarksAndKeysReachTheHandler) {
    HostForm host;
    ui::ListBox list;
    ui::CheckListBox checks;
    ASSERT_TRUE(list.Create(host, 50, {10, 10, 300, 120}));
    ASSERT_TRUE(checks.Create(host, 51, {10, 140, 300, 120}));
    for (const char* s : {"Profile", "profile", "Profile 2"}) checks.AddItem(s, list.AddItem(s) == 0);  // first ticked
    EXPECT_EQ(1, list.IndexOf("profile"));
    EXPECT_EQ(-1, list.IndexOf("PROFILE"));
    list.onKeyDown = [&](int vk) {  // deletes the selected item, as the file lists do
        if (vk == VK_DELETE && list.Selected(list.ItemIndex())) list.DeleteItem(list.ItemIndex());
    };
    list.SetItemIndex(1);
    list.SetItem(1, "renamed");
    PressKey(list.hwnd(), VK_DELETE);
    EXPECT_EQ(std::vector<std::string>({"Profile", "Profile 2"}), list.Items());

    auto marks = [&] { return std::string{"01"[checks.Checked(0)], "01"[checks.Checked(1)], "01"[checks.Checked(2)]}; };
    RECT rc{};
    SendMessageA(checks.hwnd(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rc));
    int middle = (rc.top + rc.bottom) / 2;
    ClickAt(checks.hwnd(), rc.left + 6, middle);  // on the mark
    EXPECT_EQ("110", marks());
    ClickAt(checks.hwnd(), rc.left + 120, middle);  // on the text: selects only
    PressKey(checks.hwnd(), VK_SPACE);
    checks.SetItem(0, "renamed");
    EXPECT_EQ("100", marks());

    // A long line (a copying line with two deep paths) and Western accents come back whole.
    std::string longLine = "Copie de \xE9t\xE9: ";
    while (longLine.size() < 5000) longLine += "C:\\Documents and Settings\\Folder\\";
    list.AddItem(longLine);
    EXPECT_EQ(list.Item(list.Count() - 1), longLine);
}

// The width of a text in a window's font.
static int TextWidth(HWND w, const std::string& text) {
    HDC dc = GetDC(w);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    return size.cx;
}

// A data file deep in the folders is wider than its list: the list scrolls sideways to its end.
TEST(ListBoxTest, ListsScrollSidewaysAsFarAsTheirWidestItemWhateverIsAddedOrRemoved) {
    HostForm host;
    ui::ListBox files;
    ui::CheckListBox mail;
    ASSERT_TRUE(files.Create(host, 52, {10, 10, 200, 120}));
    ASSERT_TRUE(mail.Create(host, 53, {10, 140, 200, 120}));
    const std::string deep = "C:\\Documents and Settings\\Jean\\Local Settings\\Application Data\\Microsoft\\"
                             "Outlook\\Archives 2009\\Personal Folders.pst";
    const std::string deeper = "D:\\Sauvegardes\\" + deep.substr(3);
    auto extent = [](ui::ListBox& list) { return static_cast<int>(SendMessageA(list.hwnd(), LB_GETHORIZONTALEXTENT, 0, 0)); };
    for (ui::ListBox* list : {static_cast<ui::ListBox*>(&files), static_cast<ui::ListBox*>(&mail)}) {
        SCOPED_TRACE(list->id());
        list->AddItem("C:\\Mail\\a.pst");
        EXPECT_LT(extent(*list), 200) << "short items need no scrolling";
        list->AddItem(deep);
        list->InsertItem(0, "C:\\Mail\\b.pst");
        const int widest = extent(*list);
        EXPECT_GE(widest, TextWidth(list->hwnd(), deep) + (list == &files ? 2 : 21));
        EXPECT_LE(widest, TextWidth(list->hwnd(), deep) + 40);
        list->SetItem(0, deeper);
        EXPECT_GT(extent(*list), widest);
        list->DeleteItem(0);
        EXPECT_EQ(extent(*list), widest);
        list->DeleteItem(list->IndexOf(deep));
        EXPECT_LT(extent(*list), 200);
        list->AddItem(deep);
        list->Clear();
        EXPECT_EQ(extent(*list), 0);
    }

    // Scrolled to its right end, the check list shows the end of the file name: on the screen the
    // text's last column lies a few pixels before the list's right edge.
    mail.AddItem(deep, true);
    for (int i = 0; i < 50; ++i) SendMessageA(mail.hwnd(), WM_HSCROLL, SB_PAGERIGHT, 0);
    RECT client{};
    GetClientRect(mail.hwnd(), &client);
    const int width = client.right;
    EXPECT_EQ(GetScrollPos(mail.hwnd(), SB_HORZ), extent(mail) - width);
    ShowWindow(host.hwnd(), SW_SHOWNOACTIVATE);
    RedrawWindow(mail.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(mail.hwnd());
    int last = -1;
    for (int x = 0; x < width; ++x)
        for (int y = 2; y < 14; ++y)
            if (GetRValue(GetPixel(dc, x, y)) < 128) last = x;
    ReleaseDC(mail.hwnd(), dc);
    EXPECT_GE(last, width - 12);
    EXPECT_LE(last, width - 3);
}

TEST(ComboBoxTest, CodePicksExactItemsSilentlyAndTheUsersPickRunsOnSelectWithItsText) {
    HostForm host;
    ui::ComboBox drop, list;
    ASSERT_TRUE(drop.Create(host, 58, {10, 10, 200, 21}, ui::ComboBox::Style::DropDown));
    ASSERT_TRUE(list.Create(host, 59, {10, 50, 200, 21}, ui::ComboBox::Style::DropDownList));
    Texts seen;
    for (ui::ComboBox* c : {&drop, &list}) {
        c->onSelect = [&seen, c] { seen.push_back(c->Text()); };
        for (const char* s : {"English", "english", "Francais"}) c->AddItem(s);
        c->SetText("english");
        EXPECT_EQ(1, c->ItemIndex());
        c->SetText("Klingon");
        EXPECT_EQ(-1, c->ItemIndex());
        c->SetItemIndex(1);
    }
    drop.SetItem(1, "Deutsch");  // as a new language renames the items
    drop.SetItem(0, "Anglais");
    EXPECT_EQ("Deutsch", drop.Text());
    EXPECT_TRUE(seen.empty());
    drop.SetEditReadOnly(true);
    PressKey(drop.EditWindow(), VK_DOWN);  // the arrow key picks the next language
    PressKey(list.hwnd(), VK_DOWN);
    SendMessageA(drop.EditWindow(), WM_CHAR, 'x', 1);
    EXPECT_EQ(Texts({"Francais", "Francais"}), seen);
    EXPECT_EQ("Francais", drop.Text());
}

TEST(PageControlTest, ATabClickShowsItsSheetAlone) {
    HostForm host;
    ui::PageControl pages;
    ui::TabSheet sheets[2];
    ASSERT_TRUE(pages.Create(host, 70, {10, 10, 380, 260}));
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(pages.AddSheet(sheets[i], 71 + i, "Page"));
    RECT tab{};
    SendMessageA(pages.hwnd(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    ClickAt(pages.hwnd(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    EXPECT_EQ(&sheets[1], pages.ActivePage());
    EXPECT_TRUE(sheets[1].Visible() && !sheets[0].Visible());
}

// A 32-bit bitmap whose pixel (x, y) is colour(x, y).
static HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& colour) {
    BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    DWORD* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    for (int i = 0; i < width * height; ++i) {
        COLORREF c = colour(i % width, i / width);
        bits[i] = RGB(GetBValue(c), GetGValue(c), GetRValue(c));  // 0x00RRGGBB
    }
    return bitmap;
}

// The colour at (x, y) once paint, or else the control's owner-drawn face, has drawn into a
// bitmap the size of the control.
static COLORREF Painted(ui::Control& control, int x, int y, const std::function<void(HDC)>& paint = {}) {
    RECT rc{};
    GetClientRect(control.hwnd(), &rc);
    win::MemoryDC mem(nullptr);
    win::UniqueBitmap canvas(MakeBitmap(rc.right, rc.bottom, [](int, int) { return RGB(1, 2, 3); }));
    win::SelectGuard select(mem.dc(), canvas.get());
    DRAWITEMSTRUCT dis{};
    dis.hDC = mem.dc();
    dis.rcItem = rc;
    if (paint) paint(mem.dc());
    else control.OnDrawItem(&dis);
    return GetPixel(mem.dc(), x, y);
}

TEST(PictureTest, FuchsiaShowsWhatLiesBelowAsDoSeeThroughLabelsAndLogLinesShowTheirPicture) {
    const COLORREF fuchsia = RGB(255, 0, 255), red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 128, 0);
    HostForm host;
    host.SetBackground(green);
    ui::Picture lower, upper;
    ui::Label label;
    ui::LogList log;
    ASSERT_TRUE(lower.Create(host, 90, {10, 10, 8, 8}));
    ASSERT_TRUE(upper.Create(host, 91, {10, 10, 8, 8}));
    ASSERT_TRUE(label.Create(host, 92, {0, 0, 60, 20}, "Please wait"));
    ASSERT_TRUE(log.Create(host, 93, {100, 100, 200, 60}));
    lower.SetBitmap(win::UniqueBitmap(MakeBitmap(8, 8, [&](int, int) { return red; })));
    upper.SetBitmap(win::UniqueBitmap(MakeBitmap(8, 8, [&](int x, int) { return x < 4 ? fuchsia : blue; })));
    label.SetTransparent(true);
    auto behindLabel = [&](int x, int y) {  // as the label asks for its brush while it paints
        return Painted(label, x, y, [&](HDC dc) {
            SendMessageA(host.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(label.hwnd()));
        });
    };
    EXPECT_EQ(red, Painted(upper, 1, 1));
    EXPECT_EQ(blue, Painted(upper, 6, 1));
    EXPECT_EQ(red, behindLabel(11, 11));
    EXPECT_EQ(green, behindLabel(40, 5));
    lower.Hide();
    EXPECT_EQ(green, Painted(upper, 1, 1));

    for (int i = 0; i < 30; ++i) log.AddLine("Copying", upper.Bitmap());  // a line's picture sits at its left end
    log.SelectLast();
    EXPECT_GT(SendMessageA(log.hwnd(), LB_GETTOPINDEX, 0, 0), 20);
    EXPECT_EQ(blue, Painted(log, 8, 24));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), Painted(log, 3, 24));
}

// A job's work list and text log hold their lines themselves; the window knows their number.
TEST(LineListTest, LinesOfAnyLengthComeBackAsAddedAndTheWindowKnowsTheirNumber) {
    HostForm host;
    ui::LineList list;
    ASSERT_TRUE(list.Create(host, 95, {0, 0, 100, 100}));
    std::vector<std::string> added;
    list.onAdd = [&](const std::string& line) { added.push_back(line); };
    const std::string huge(3 << 20, 'h');  // longer than a block of the store
    const std::vector<std::string> lines = {"[MYDOCS--]C:\\a.txt", "", huge, "D\xE9marrage de la sauvegarde"};
    for (const std::string& line : lines) list.AddItem(line);
    for (int i = 0; i < 5000; ++i) list.AddItem("line " + std::to_string(i));
    EXPECT_EQ(list.Count(), 5004);
    EXPECT_EQ(SendMessageA(list.hwnd(), LB_GETCOUNT, 0, 0), 5004);
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(list.Item(static_cast<int>(i)), lines[i]) << i;
    EXPECT_EQ(list.Item(5003), "line 4999");
    EXPECT_EQ(list.Item(5004), "");
    EXPECT_EQ(added.size(), 5004u);
    EXPECT_EQ(added[2].size(), huge.size());
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(SendMessageA(list.hwnd(), LB_GETCOUNT, 0, 0), 0);
}

// While paced, a log and a caption change at once for the program; the window catches up with
// the next frame, and in full when pacing ends.
TEST(PacingTest, PacedLogAndCaptionChangeAtOnceAndTheScreenFollows) {
    HostForm host;
    ui::LogList log;
    ui::Label caption;
    ASSERT_TRUE(log.Create(host, 96, {0, 0, 200, 80}));
    ASSERT_TRUE(caption.Create(host, 97, {0, 90, 200, 20}, "File X/X"));
    log.SetPaced(true);
    caption.SetPaced(true);
    ui::Control::PaintPacedNow();  // a frame just painted: the next one is not due yet
    for (int i = 0; i < 100; ++i) log.AddLine("line " + std::to_string(i), nullptr);
    log.SelectLast();
    caption.SetText("Copying file : \"a.txt\" (1 KB) 100/100");
    EXPECT_EQ(log.Count(), 100);
    EXPECT_EQ(log.Item(99), "line 99");
    EXPECT_EQ(caption.Text(), "Copying file : \"a.txt\" (1 KB) 100/100");
    char shown[64] = {};
    GetWindowTextA(caption.hwnd(), shown, sizeof(shown));
    EXPECT_STREQ(shown, "File X/X") << "painted before its frame";
    EXPECT_EQ(SendMessageA(log.hwnd(), LB_GETCOUNT, 0, 0), 100) << "the count is answered from the lines";
    EXPECT_NE(SendMessageA(log.hwnd(), LB_GETCURSEL, 0, 0), 99) << "selected (and scrolled) before its frame";

    log.SetPaced(false);
    caption.SetPaced(false);
    EXPECT_EQ(SendMessageA(log.hwnd(), LB_GETCOUNT, 0, 0), 100);
    EXPECT_EQ(SendMessageA(log.hwnd(), LB_GETCURSEL, 0, 0), 99);
    GetWindowTextA(caption.hwnd(), shown, sizeof(shown));
    EXPECT_STREQ(shown, "Copying file : \"a.txt\" (1 KB) 100/100");
    // Unpaced, every change reaches the window at once.
    log.AddLine("line 100", nullptr);
    EXPECT_EQ(SendMessageA(log.hwnd(), LB_GETCOUNT, 0, 0), 101);
}

// Before a long wait the caption is painted at once, so the user reads what the wait is for; a
// wait shorter than a frame is worth waits for the next frame like any change.
TEST(PacingTest, OnlyAWaitLongBesideAFramePaintsTheCaptionFirst) {
    HostForm host;
    ui::Label caption;
    ASSERT_TRUE(caption.Create(host, 97, {0, 90, 200, 20}, "File X/X"));
    caption.SetPaced(true);
    ui::Control::PaintPacedNow();
    caption.SetText("Copying file : \"big.pst\" (30 MB) 1/3");
    ui::Control::PaintPacedBefore(0);
    char shown[64] = {};
    GetWindowTextA(caption.hwnd(), shown, sizeof(shown));
    EXPECT_STREQ(shown, "File X/X") << "a copy over in no time waits for its frame";
    ui::Control::PaintPacedBefore(60 * 1000);
    GetWindowTextA(caption.hwnd(), shown, sizeof(shown));
    EXPECT_STREQ(shown, "Copying file : \"big.pst\" (30 MB) 1/3");
    caption.SetPaced(false);
}
