// Pictures, see-through labels and the picture log: what they paint, pixel by pixel.
#include <gtest/gtest.h>
#include "UiHost.h"
#include "ui/Controls.h"

using uitest::DrawnPixel;
using uitest::HostForm;
using uitest::MakeBitmap;

namespace {

const int kTestHalves = 9001;  // tests/ui/TestPictures.rc
const COLORREF kFuchsia = RGB(255, 0, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 128, 0);
const COLORREF kYellow = RGB(255, 255, 0);

win::UniqueBitmap Solid(int size, COLORREF colour) {
    return win::UniqueBitmap(MakeBitmap(size, size, [colour](int, int) { return colour; }));
}

// Left half fuchsia, right half blue.
win::UniqueBitmap Halves(int size) {
    return win::UniqueBitmap(MakeBitmap(size, size, [size](int x, int) { return x < size / 2 ? kFuchsia : kBlue; }));
}

// A window that paints its own background, as the program's wallpaper windows do.
class WallpaperForm : public HostForm {
protected:
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (msg != WM_ERASEBKGND) return HostForm::HandleMessage(msg, wp, lp, result);
        RECT rc{};
        GetClientRect(hwnd(), &rc);
        win::UniqueBrush green(CreateSolidBrush(kGreen));
        FillRect(reinterpret_cast<HDC>(wp), &rc, green.get());
        result = 1;
        return true;
    }
};

}  // namespace

TEST(PictureTest, FuchsiaShowsThePicturesBelowAndTheBackground) {
    WallpaperForm host;
    ui::Picture lower, upper;
    ASSERT_TRUE(lower.Create(host, 90, {10, 10, 8, 8}));
    lower.SetBitmap(Solid(8, kRed));
    ASSERT_TRUE(upper.Create(host, 91, {10, 10, 8, 8}));
    upper.SetBitmap(Halves(8));

    EXPECT_EQ(kRed, DrawnPixel(upper, 1, 1));
    EXPECT_EQ(kBlue, DrawnPixel(upper, 6, 1));
    lower.Hide();
    EXPECT_EQ(kGreen, DrawnPixel(upper, 1, 1));
    upper.SetTransparent(false);
    EXPECT_EQ(kFuchsia, DrawnPixel(upper, 1, 1));
}

TEST(PictureTest, PicturesLieUnderTheOtherControlsInCreationOrder) {
    HostForm host;
    ui::Label before, after;
    ui::Picture first, second;
    ASSERT_TRUE(before.Create(host, 92, {0, 0, 50, 20}, "before"));
    ASSERT_TRUE(first.Create(host, 93, {0, 0, 50, 20}));
    ASSERT_TRUE(after.Create(host, 94, {0, 0, 50, 20}, "after"));
    ASSERT_TRUE(second.Create(host, 95, {0, 0, 50, 20}));
    std::vector<int> order;  // from the top down
    for (HWND w = GetWindow(host.hwnd(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) order.push_back(GetDlgCtrlID(w));
    EXPECT_EQ(std::vector<int>({92, 94, 95, 93}), order);
}

TEST(PictureTest, SeeThroughLabelDrawsOnWhatLiesBehindIt) {
    WallpaperForm host;
    ui::Picture picture;
    ui::Label label;
    ASSERT_TRUE(picture.Create(host, 96, {0, 0, 20, 20}));
    picture.SetBitmap(Solid(20, kRed));
    ASSERT_TRUE(label.Create(host, 97, {0, 0, 60, 20}, "Please wait"));
    label.SetTransparent(true);

    win::WindowDC screen(nullptr);
    win::MemoryDC mem(screen.dc());
    win::UniqueBitmap canvas(MakeBitmap(60, 20, [](int, int) { return RGB(1, 2, 3); }));
    win::SelectGuard select(mem.dc(), canvas.get());
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(host.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(mem.dc()), reinterpret_cast<LPARAM>(label.hwnd())));
    EXPECT_EQ(GetStockObject(NULL_BRUSH), brush);
    EXPECT_EQ(TRANSPARENT, GetBkMode(mem.dc()));
    EXPECT_EQ(kRed, GetPixel(mem.dc(), 5, 5));
    EXPECT_EQ(kGreen, GetPixel(mem.dc(), 40, 5));
}

TEST(PictureTest, LoadsABitmapResourceAndKeepsItsPictureWhenOneIsMissing) {
    HostForm host;
    host.SetBackground(kYellow);
    ui::Picture picture;
    ASSERT_TRUE(picture.Create(host, 98, {0, 0, 4, 4}));
    ASSERT_TRUE(picture.LoadResource(kTestHalves));
    HBITMAP loaded = picture.Bitmap();
    BITMAP bm{};
    ASSERT_TRUE(GetObjectA(loaded, sizeof(bm), &bm));
    EXPECT_EQ(4, bm.bmWidth);
    EXPECT_EQ(kYellow, DrawnPixel(picture, 0, 0));
    EXPECT_EQ(kBlue, DrawnPixel(picture, 3, 3));

    EXPECT_FALSE(picture.LoadResource(9999));
    EXPECT_EQ(loaded, picture.Bitmap());
}

TEST(PictureTest, ClicksDoubleClicksAndHandCursor) {
    HostForm host;
    ui::Picture picture;
    ASSERT_TRUE(picture.Create(host, 99, {0, 0, 16, 16}));
    int clicks = 0, doubles = 0;
    picture.onClick = [&] { ++clicks; };
    picture.onDblClick = [&] { ++doubles; };
    uitest::ClickAt(picture.hwnd(), 4, 4);
    SendMessageA(picture.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_GE(clicks, 1);
    EXPECT_EQ(1, doubles);

    picture.SetHandCursor(true);
    SendMessageA(picture.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(picture.hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)), GetCursor());
}

TEST(LogListTest, EveryLineShowsItsOwnPicture) {
    HostForm host;
    ui::LogList log;
    ASSERT_TRUE(log.Create(host, 100, {0, 0, 300, 100}));
    // The info picture has a fuchsia corner, which must show the list's own colour.
    win::UniqueBitmap info(MakeBitmap(16, 16, [](int x, int y) { return x < 4 && y < 4 ? kFuchsia : kGreen; }));
    win::UniqueBitmap warning = Solid(16, kYellow);
    win::UniqueBitmap error = Solid(16, kRed);
    log.AddLine("2009-05-01 - 14:02:07 : Start", info.get());
    log.AddLine("2009-05-01 - 14:02:08 : Copy failed", warning.get());
    log.AddLine("Process cancelled by user", error.get());
    EXPECT_EQ(info.get(), log.LinePicture(0));
    EXPECT_EQ(warning.get(), log.LinePicture(1));
    EXPECT_EQ(error.get(), log.LinePicture(2));
    EXPECT_EQ(nullptr, log.LinePicture(3));
    EXPECT_EQ("Process cancelled by user", log.Item(2));

    int height = static_cast<int>(SendMessageA(log.hwnd(), LB_GETITEMHEIGHT, 0, 0));
    EXPECT_GE(height, 16);
    RECT line{0, 0, 280, height};
    int top = (height - 16) / 2;
    EXPECT_EQ(kYellow, DrawnPixel(log, 10, top + 8, 1, line));
    EXPECT_EQ(kRed, DrawnPixel(log, 10, top + 8, 2, line));
    EXPECT_EQ(kGreen, DrawnPixel(log, 12, top + 8, 0, line));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), DrawnPixel(log, 3, top + 1, 0, line));
}

TEST(LogListTest, SelectLastScrollsToTheNewestLine) {
    HostForm host;
    ui::LogList log;
    ASSERT_TRUE(log.Create(host, 101, {0, 0, 300, 100}));
    win::UniqueBitmap info = Solid(16, kGreen);
    log.SelectLast();  // empty: nothing to select
    EXPECT_EQ(-1, log.ItemIndex());
    for (int i = 0; i < 60; ++i) log.AddLine("line " + std::to_string(i), info.get());
    log.SelectLast();
    EXPECT_EQ(59, log.ItemIndex());
    EXPECT_GT(SendMessageA(log.hwnd(), LB_GETTOPINDEX, 0, 0), 40);
}
