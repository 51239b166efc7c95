// Page controls with their sheets, and containers passing their font on.
#include <gtest/gtest.h>
#include "UiHost.h"
#include "ui/Controls.h"

using uitest::HostForm;

namespace {

struct ThreePages {
    HostForm host;
    ui::PageControl pages;
    ui::TabSheet one, two, three;
    ui::Label onTwo;
    ui::Button onThree;
    int changes = 0;

    ThreePages() {
        pages.Create(host, 70, {10, 10, 380, 260});
        pages.AddSheet(one, 71, "One");
        pages.AddSheet(two, 72, "Two");
        pages.AddSheet(three, 73, "Three");
        onTwo.Create(two, 74, {10, 10, 100, 18}, "on page two");
        onThree.Create(three, 75, {10, 10, 80, 24}, "Launch");
        pages.onChange = [this] { ++changes; };
    }

    // Which sheets show, as "1.." flags.
    std::string Shown() const {
        std::string s;
        for (const ui::TabSheet* sheet : {&one, &two, &three}) s += sheet->Visible() ? '1' : '0';
        return s;
    }
};

}  // namespace

TEST(PageControlTest, OneSheetShowsAndCodeChangesRunNoHandler) {
    ThreePages p;
    ASSERT_EQ(3, p.pages.PageCount());
    EXPECT_EQ(&p.one, p.pages.ActivePage());
    EXPECT_EQ("100", p.Shown());
    EXPECT_EQ(&p.pages, p.two.Owner());
    EXPECT_EQ(1, p.two.PageIndex());

    p.pages.SetActivePage(p.three);
    EXPECT_EQ(&p.three, p.pages.ActivePage());
    EXPECT_EQ(2, SendMessageA(p.pages.hwnd(), TCM_GETCURSEL, 0, 0));
    EXPECT_EQ("001", p.Shown());
    EXPECT_EQ(0, p.changes);

    // A control on a hidden sheet keeps its own visibility.
    EXPECT_TRUE(p.onTwo.Visible());
    EXPECT_FALSE(IsWindowVisible(p.onTwo.hwnd()));

    // Each sheet fills the tabs' display area.
    RECT area{};
    GetClientRect(p.pages.hwnd(), &area);
    SendMessageA(p.pages.hwnd(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    ui::Rect b = p.two.Bounds();
    EXPECT_EQ(area.left, b.x);
    EXPECT_EQ(area.top, b.y);
    EXPECT_EQ(area.right - area.left, b.w);
    EXPECT_EQ(area.bottom - area.top, b.h);
}

TEST(PageControlTest, TabClickShowsItsSheetAndRunsTheHandler) {
    ThreePages p;
    RECT tab{};
    SendMessageA(p.pages.hwnd(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    uitest::ClickAt(p.pages.hwnd(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    EXPECT_EQ(&p.two, p.pages.ActivePage());
    EXPECT_EQ("010", p.Shown());
    EXPECT_EQ(1, p.changes);

    SendMessageA(p.pages.hwnd(), TCM_SETCURFOCUS, 2, 0);  // the keyboard's way to another tab
    EXPECT_EQ(&p.three, p.pages.ActivePage());
    EXPECT_EQ("001", p.Shown());
    EXPECT_EQ(2, p.changes);

    int launches = 0;
    p.onThree.onClick = [&] { ++launches; };
    SendMessageA(p.onThree.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(1, launches);
}

TEST(PageControlTest, CaptionsAreTheTabTexts) {
    ThreePages p;
    EXPECT_EQ("One", p.one.Caption());
    p.two.SetCaption("Mail 1/2");
    EXPECT_EQ("Mail 1/2", p.two.Caption());
    ui::Control& asControl = p.three;
    asControl.SetText("Custom / Launch");
    char text[64] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(p.pages.hwnd(), TCM_GETITEMA, 2, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ("Custom / Launch", text);
}

TEST(ContainerTest, ControlsFollowTheirContainersFontUntilGivenTheirOwn) {
    HostForm host;
    ui::Panel panel;
    ui::Label follows, own;
    ui::PageControl pages;
    ui::TabSheet sheet;
    ui::CheckBox onSheet;
    ASSERT_TRUE(panel.Create(host, 80, {0, 0, 400, 300}));
    ASSERT_TRUE(follows.Create(panel, 81, {10, 10, 100, 18}, "a"));
    ASSERT_TRUE(own.Create(panel, 82, {10, 30, 100, 18}, "b"));
    ASSERT_TRUE(pages.Create(panel, 83, {10, 60, 300, 200}));
    ASSERT_TRUE(pages.AddSheet(sheet, 84, "Page"));
    ASSERT_TRUE(onSheet.Create(sheet, 85, {10, 10, 100, 20}, "c"));

    LOGFONTA lf{};
    lf.lfHeight = -15;
    lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
    win::UniqueFont window(CreateFontIndirectA(&lf));
    lf.lfWeight = FW_BOLD;
    win::UniqueFont title(CreateFontIndirectA(&lf));
    own.SetFont(title.get());
    host.SetFont(window.get());

    auto fontOf = [](const ui::Control& c) { return reinterpret_cast<HFONT>(SendMessageA(c.hwnd(), WM_GETFONT, 0, 0)); };
    EXPECT_EQ(window.get(), fontOf(follows));
    EXPECT_EQ(title.get(), fontOf(own));
    EXPECT_EQ(window.get(), fontOf(pages));
    EXPECT_EQ(window.get(), fontOf(onSheet));
    ui::Label later;
    ASSERT_TRUE(later.Create(panel, 86, {10, 270, 100, 18}, "d"));
    EXPECT_EQ(window.get(), fontOf(later));
}

TEST(ContainerTest, FramedPanelCaptionIsItsText) {
    HostForm host;
    ui::Panel panel;
    ASSERT_TRUE(panel.Create(host, 87, {0, 0, 300, 200}, true, "Log"));
    EXPECT_EQ("Log", panel.Text());
    panel.SetText("Journal");
    EXPECT_EQ("Journal", panel.Text());
    EXPECT_TRUE(GetWindowLongA(panel.hwnd(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
}

TEST(ProgressBarTest, PositionIsAPercentage) {
    HostForm host;
    ui::ProgressBar bar;
    ASSERT_TRUE(bar.Create(host, 88, {10, 10, 300, 16}));
    EXPECT_EQ(0, bar.Position());
    bar.SetPosition(42);
    EXPECT_EQ(42, bar.Position());
    bar.SetPosition(250);
    EXPECT_EQ(100, bar.Position());
    bar.SetPosition(-3);
    EXPECT_EQ(0, bar.Position());
}
