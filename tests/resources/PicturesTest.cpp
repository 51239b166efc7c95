// The pictures, the icon, the version and the manifest, as linked into this test exe from the
// program's own resource script.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "resource.h"
#include "win/Handles.h"

namespace {

struct Picture {
    int id;
    const char* name;
    int width, height;
};

const Picture kPictures[] = {
    {IDB_FOLDER, "folder", 24, 24},
    {IDB_BACKUPSET, "backup set", 24, 24},
    {IDB_WRONG, "wrong", 16, 16},
    {IDB_ABOUT, "about", 16, 16},
    {IDB_INFO, "info", 16, 16},
    {IDB_WARNING, "warning", 16, 16},
    {IDB_ERROR, "error", 16, 16},
    {IDB_WARNING_SIGN, "warning sign", 16, 16},
    {IDB_ERROR_SIGN, "error sign", 16, 16},
    {IDB_LOG, "log", 16, 16},
    {IDB_CLOSE, "close", 16, 16},
    {IDB_WAIT_BACKGROUND, "please-wait background", 346, 107},
    {IDB_ABOUT_BACKGROUND, "about background", 346, 150},
};

const COLORREF kFuchsia = RGB(255, 0, 255);

win::UniqueBitmap Load(int id) {
    return win::UniqueBitmap(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// The pixels as GDI reads them, top row first.
class Pixels {
public:
    explicit Pixels(HBITMAP bitmap) {
        BITMAP info{};
        GetObjectA(bitmap, sizeof(info), &info);
        width_ = info.bmWidth;
        height_ = info.bmHeight;
        BITMAPINFO header{};
        header.bmiHeader.biSize = sizeof(header.bmiHeader);
        header.bmiHeader.biWidth = width_;
        header.bmiHeader.biHeight = -height_;
        header.bmiHeader.biPlanes = 1;
        header.bmiHeader.biBitCount = 32;
        header.bmiHeader.biCompression = BI_RGB;
        data_.resize(static_cast<size_t>(width_) * height_);
        win::WindowDC screen(nullptr);
        GetDIBits(screen.dc(), bitmap, 0, height_, data_.data(), &header, DIB_RGB_COLORS);
    }
    COLORREF At(int x, int y) const {
        DWORD v = data_[static_cast<size_t>(y) * width_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_ = 0, height_ = 0;
    std::vector<DWORD> data_;
};

// A pink that is not the key colour would show as a fringe around the shape.
bool NearlyFuchsia(COLORREF c) {
    return c != kFuchsia && GetRValue(c) > 190 && GetGValue(c) < 110 && GetBValue(c) > 190;
}

}  // namespace

TEST(Pictures, EveryPictureLoadsAtItsSizeIn24Bits) {
    for (const Picture& p : kPictures) {
        win::UniqueBitmap bitmap = Load(p.id);
        ASSERT_TRUE(bitmap) << p.name;
        BITMAP info{};
        ASSERT_EQ(static_cast<int>(sizeof(info)), GetObjectA(bitmap.get(), sizeof(info), &info)) << p.name;
        EXPECT_EQ(p.width, info.bmWidth) << p.name;
        EXPECT_EQ(p.height, info.bmHeight) << p.name;
        EXPECT_EQ(24, info.bmBitsPixel) << p.name;
    }
}

TEST(Pictures, ShapesStandOnExactFuchsiaWithoutFringe) {
    for (const Picture& p : kPictures) {
        win::UniqueBitmap bitmap = Load(p.id);
        ASSERT_TRUE(bitmap) << p.name;
        Pixels pixels(bitmap.get());
        ASSERT_EQ(p.width, pixels.width()) << p.name;
        int keyed = 0, drawn = 0, fringe = 0;
        for (int y = 0; y < pixels.height(); ++y) {
            for (int x = 0; x < pixels.width(); ++x) {
                COLORREF c = pixels.At(x, y);
                if (c == kFuchsia) ++keyed;
                else ++drawn;
                if (NearlyFuchsia(c)) ++fringe;
            }
        }
        // Every picture has a shape, and its corners are see-through.
        EXPECT_GT(keyed, 0) << p.name;
        EXPECT_GT(drawn, pixels.width() * pixels.height() / 3) << p.name;
        EXPECT_EQ(kFuchsia, pixels.At(0, 0)) << p.name;
        EXPECT_EQ(kFuchsia, pixels.At(pixels.width() - 1, pixels.height() - 1)) << p.name;
        EXPECT_EQ(0, fringe) << p.name;
    }
}

TEST(Pictures, BackgroundsAreWhitePanelsWithAFreeTextArea) {
    for (int id : {IDB_WAIT_BACKGROUND, IDB_ABOUT_BACKGROUND}) {
        win::UniqueBitmap bitmap = Load(id);
        ASSERT_TRUE(bitmap);
        Pixels pixels(bitmap.get());
        const int w = pixels.width(), h = pixels.height();
        // The border runs along every edge, between the rounded corners.
        EXPECT_NE(kFuchsia, pixels.At(w / 2, 0));
        EXPECT_NE(kFuchsia, pixels.At(w / 2, h - 1));
        EXPECT_NE(kFuchsia, pixels.At(0, h / 2));
        EXPECT_NE(kFuchsia, pixels.At(w - 1, h / 2));
        EXPECT_EQ(kFuchsia, pixels.At(w - 1, 0));
        EXPECT_EQ(kFuchsia, pixels.At(0, h - 1));
        // The please-wait window writes its two lines from x 94 and runs its moving bar along
        // the bottom; the about window's labels may go anywhere inside the border.
        const int left = id == IDB_WAIT_BACKGROUND ? 94 : 8;
        int other = 0;
        for (int y = 8; y < h - 8; ++y)
            for (int x = left; x < w - 8; ++x)
                if (pixels.At(x, y) != RGB(255, 255, 255)) ++other;
        EXPECT_EQ(0, other) << id;
    }
}

TEST(Icon, HoldsThreeSizesInFullColour) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDI_APP), RT_GROUP_ICON);
    ASSERT_NE(nullptr, found);
    const BYTE* group = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(nullptr, group);
    // The group directory: reserved, type 1 (icon), count; then 14-byte entries.
    const WORD count = *reinterpret_cast<const WORD*>(group + 4);
    ASSERT_EQ(1, *reinterpret_cast<const WORD*>(group + 2));
    ASSERT_EQ(3, count);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = group + 6 + 14 * i;
        EXPECT_EQ(entry[0], entry[1]);
        EXPECT_EQ(32, *reinterpret_cast<const WORD*>(entry + 6)) << "bits of entry " << i;
        sizes.push_back(entry[0]);
    }
    EXPECT_EQ((std::vector<int>{16, 32, 48}), sizes);

    for (int size : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(module, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(nullptr, icon) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info)) << size;
        win::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
        BITMAP bm{};
        GetObjectA(colour.get(), sizeof(bm), &bm);
        EXPECT_EQ(size, bm.bmWidth);
        EXPECT_EQ(size, bm.bmHeight);
        DestroyIcon(icon);
    }
}

TEST(Version, NamesTheProgram) {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, path, sizeof(path)), 0u);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, 3)), fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, 3)), fixed->dwProductVersionMS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);

    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(0x0409, static_cast<const WORD*>(value)[0]);
    EXPECT_EQ(1252, static_cast<const WORD*>(value)[1]);

    auto text = [&](const char* name) {
        std::string key = std::string("\\StringFileInfo\\040904E4\\") + name;
        void* v = nullptr;
        UINT n = 0;
        if (!VerQueryValueA(block.data(), key.c_str(), &v, &n) || !v) return std::string("<missing>");
        return std::string(static_cast<const char*>(v));
    };
    EXPECT_EQ("Halvorkeep3", text("ProductName"));
    EXPECT_EQ("Halvorkeep3 backup and restore wizard", text("FileDescription"));
    EXPECT_EQ("3.0.0.0", text("FileVersion"));
    EXPECT_EQ("3.0.0.0", text("ProductVersion"));
    EXPECT_EQ("Halvorkeep3.exe", text("OriginalFilename"));
    EXPECT_EQ("Halvorkeep3", text("InternalName"));
    EXPECT_NE("<missing>", text("LegalCopyright"));
}

TEST(Manifest, GivesCommonControlsSixAndKeepsTheAnsiCodePage) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, found);
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    const std::string manifest(data, SizeofResource(module, found));
    EXPECT_NE(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls"));
    EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\""));
    EXPECT_EQ(std::string::npos, manifest.find("activeCodePage"));

    // The loader honoured it: a push button is version 6's, which alone can tell its ideal
    // size, and the process keeps the system's ANSI code page rather than UTF-8.
    win::UniqueWindow button(CreateWindowA("Button", "Halvorkeep3", WS_POPUP | BS_PUSHBUTTON, 0, 0, 80, 24, nullptr,
                                           nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(button);
    SIZE ideal{};
    EXPECT_TRUE(SendMessageA(button.get(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_GT(ideal.cx, 0);
    EXPECT_NE(65001u, GetACP());
}
