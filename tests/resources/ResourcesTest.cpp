// The pictures, icon and manifest linked in from the program's resource script; the banner's decoding.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>
#include "app/Jpeg.h"
#include "resource.h"

TEST(Pictures, EveryPictureLoadsAtTheSizeItsWindowDrawsIt) {
    // The list and log pictures, then the backgrounds that size the please-wait and about windows.
    const struct { int first, last; LONG width, height; } kPictures[] = {
        {IDB_FOLDER, IDB_BACKUPSET, 24, 24}, {IDB_WRONG, IDB_CLOSE, 16, 16},
        {IDB_WAIT_BACKGROUND, IDB_WAIT_BACKGROUND, 346, 107}, {IDB_ABOUT_BACKGROUND, IDB_ABOUT_BACKGROUND, 346, 150}};
    for (const auto& p : kPictures)
        for (int id = p.first; id <= p.last; ++id) {
            win::UniqueBitmap bitmap(static_cast<HBITMAP>(
                LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
            BITMAP info{};
            GetObjectA(bitmap.get(), sizeof(info), &info);
            EXPECT_EQ(std::make_pair(p.width, p.height), std::make_pair(info.bmWidth, info.bmHeight)) << id;
        }
    EXPECT_TRUE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP)));
}

TEST(Manifest, GivesCommonControlsSixAndKeepsTheAnsiCodePage) {
    // Only version 6's push button can tell its ideal size.
    win::UniqueWindow button(CreateWindowA("Button", "Halvorkeep3", WS_POPUP | BS_PUSHBUTTON, 0, 0, 80, 24, nullptr,
                                           nullptr, GetModuleHandleA(nullptr), nullptr));
    SIZE ideal{};
    EXPECT_TRUE(SendMessageA(button.get(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    // An activeCodePage entry would turn every A function over to UTF-8.
    EXPECT_NE(65001u, GetACP());
}

TEST(Jpeg, DecodesToTheRightSizeTopDownInTheRightColours) {
    BITMAP banner{};
    GetObjectA(LoadJpegResource(IDR_BANNER).get(), sizeof(banner), &banner);
    EXPECT_EQ(std::make_pair(620L, 80L), std::make_pair(banner.bmWidth, banner.bmHeight));
    // 13x16 pixels, red above blue, at quality 100 without chroma subsampling: rows of 39 bytes,
    // which the bitmap pads to 40. Read back through GDI, which knows the bitmap's own layout.
    static const unsigned char kTwoBands[] =
        "\xff\xd8\xff\xe0\x00\x10\x4a\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xdb\x00\x43\x00\x01\x01"
        "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
        "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
        "\x01\x01\x01\x01\x01\x01\x01\x01\xff\xc0\x00\x11\x08\x00\x10\x00\x0d\x03\x01\x11\x00\x02\x11\x00\x03\x11\x00"
        "\xff\xc4\x00\x15\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x09\xff\xc4\x00\x14"
        "\x10\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\xc4\x00\x17\x01\x01\x01\x01\x01"
        "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x0b\x09\x0a\xff\xc4\x00\x14\x11\x01\x00\x00\x00\x00\x00"
        "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\xda\x00\x0c\x03\x01\x00\x02\x11\x03\x11\x00\x3f\x00\x8b\xec"
        "\xa7\x77\xf0\x02\x43\xaa\xa0\x9a\xf8\x0f\xff\xd9";
    win::UniqueBitmap bands = DecodeJpeg(kTwoBands, sizeof(kTwoBands) - 1);
    win::MemoryDC dc(nullptr);
    win::SelectGuard select(dc.dc(), bands.get());
    for (int y : {0, 7, 8, 15})
        for (int x : {0, 6, 12}) {
            const COLORREF c = GetPixel(dc.dc(), x, y);
            EXPECT_NEAR(y < 8 ? 255 : 0, GetRValue(c), 8) << x << "," << y;
            EXPECT_NEAR(0, GetGValue(c), 8) << x << "," << y;
            EXPECT_NEAR(y < 8 ? 0 : 255, GetBValue(c), 8) << x << "," << y;
        }
}

TEST(Jpeg, DamagedDataGivesAnEmptyBitmapAndTheDecoderCarriesOn) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_BANNER), RT_RCDATA);
    const auto* banner = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)));
    const std::vector<unsigned char> good(banner, banner + SizeofResource(nullptr, found));
    ASSERT_GT(good.size(), 1000u);
    std::vector<unsigned char> scrambled = good;
    for (size_t i = good.size() / 4; i + 2 < good.size(); i += 7) scrambled[i] = scrambled[i] * 31 + 17;
    const std::string text = "Not a picture, just some text of a reasonable length.";
    const struct { const char* what; const void* data; size_t size; } kCases[] = {
        {"nothing", nullptr, 0}, {"text", text.data(), text.size()}, {"cut in the headers", good.data(), 100},
        {"cut in the picture data", good.data(), good.size() / 2}, {"no end marker", good.data(), good.size() - 2},
        {"scrambled picture data", scrambled.data(), scrambled.size()}};
    for (const auto& c : kCases) EXPECT_FALSE(DecodeJpeg(static_cast<const unsigned char*>(c.data), c.size)) << c.what;
    EXPECT_FALSE(LoadJpegResource(IDR_BANNER + 999));
    EXPECT_TRUE(DecodeJpeg(good.data(), good.size()));
}
