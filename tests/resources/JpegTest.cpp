// Banner decoding: the real banner resource, a small picture of known colours whose rows
// need padding, and damaged JPEG data that must fail quietly.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include <string>
#include <vector>
#include "app/Jpeg.h"
#include "resource.h"

namespace {

// 13x16 pixels: the top eight rows red, the bottom eight blue; quality 100 without chroma
// subsampling, so the colours come back nearly exact. 13 pixels make 39 bytes a row, which a
// DIB pads to 40.
const unsigned char kTwoBands[] = {
    0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0xff, 0xdb, 0x00, 0x43, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0xff, 0xc0,
    0x00, 0x11, 0x08, 0x00, 0x10, 0x00, 0x0d, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xff, 0xc4, 0x00, 0x15, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x09, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xc4,
    0x00, 0x17, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x0b, 0x09, 0x0a, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xda, 0x00,
    0x0c, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3f, 0x00, 0x8b, 0xec, 0xa7, 0x77, 0xf0,
    0x02, 0x43, 0xaa, 0xa0, 0x9a, 0xf8, 0x0f, 0xff, 0xd9
};

struct Rgb {
    int r, g, b;
};

struct Decoded {
    int width = 0, height = 0, bits = 0;
    const unsigned char* data = nullptr;
    size_t stride = 0;
    // Reads straight from the section's memory, with the stride a 24-bit DIB must have.
    Rgb At(int x, int y) const {
        const unsigned char* p = data + y * stride + x * 3;
        return {p[2], p[1], p[0]};
    }
};

Decoded Inspect(HBITMAP bitmap) {
    Decoded d;
    DIBSECTION section{};
    if (GetObjectA(bitmap, sizeof(section), &section) != sizeof(section)) return d;
    d.width = section.dsBm.bmWidth;
    d.height = section.dsBm.bmHeight;
    d.bits = section.dsBm.bmBitsPixel;
    d.data = static_cast<const unsigned char*>(section.dsBm.bmBits);
    d.stride = (static_cast<size_t>(d.width) * 3 + 3) & ~static_cast<size_t>(3);
    return d;
}

bool Near(const Rgb& c, int r, int g, int b, int tolerance) {
    return std::abs(c.r - r) <= tolerance && std::abs(c.g - g) <= tolerance && std::abs(c.b - b) <= tolerance;
}

std::string Show(const Rgb& c) {
    return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

std::vector<unsigned char> BannerBytes() {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDR_BANNER), RT_RCDATA);
    if (!found) return {};
    const unsigned char* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
    return std::vector<unsigned char>(data, data + SizeofResource(module, found));
}

// Offset of the first SOF0 or SOF2 marker (frame header: length, precision, height, width).
size_t FrameHeader(const std::vector<unsigned char>& jpeg) {
    for (size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) return i;
    }
    return 0;
}

// Offset just past the start-of-scan header, where the compressed picture data begins.
size_t ScanData(const std::vector<unsigned char>& jpeg) {
    for (size_t i = 0; i + 3 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) return i + 2 + (jpeg[i + 2] << 8 | jpeg[i + 3]);
    }
    return 0;
}

}  // namespace

TEST(Banner, ResourceDecodesToTheMainWindowStrip) {
    win::UniqueBitmap banner = LoadJpegResource(IDR_BANNER);
    ASSERT_TRUE(banner);
    Decoded d = Inspect(banner.get());
    EXPECT_EQ(620, d.width);
    EXPECT_EQ(80, d.height);
    EXPECT_EQ(24, d.bits);
    ASSERT_NE(nullptr, d.data);

    // A calm gradient from deep blue on the left to a lighter teal on the right.
    Rgb left = d.At(3, 3), right = d.At(616, 76);
    EXPECT_TRUE(Near(left, 24, 60, 106, 14)) << Show(left);
    EXPECT_TRUE(Near(right, 71, 147, 177, 14)) << Show(right);
    // The first letter's upright stroke is drawn in white.
    Rgb letter = d.At(26, 37);
    EXPECT_TRUE(Near(letter, 255, 255, 255, 24)) << Show(letter);
    // The right end, where the about picture sits, holds no lettering.
    int light = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 420; x < 620; ++x) {
            Rgb c = d.At(x, y);
            if (c.r > 200 && c.g > 200 && c.b > 200) ++light;
        }
    EXPECT_EQ(0, light);
}

TEST(Banner, MissingResourceGivesEmptyBitmap) {
    EXPECT_FALSE(LoadJpegResource(IDR_BANNER + 999));
    // A resource that exists but holds no JPEG.
    EXPECT_FALSE(LoadJpegResource(IDB_FOLDER));
}

TEST(Jpeg, RowsArePaddedTopDownInBgrOrder) {
    win::UniqueBitmap bitmap = DecodeJpeg(kTwoBands, sizeof(kTwoBands));
    ASSERT_TRUE(bitmap);
    Decoded d = Inspect(bitmap.get());
    EXPECT_EQ(13, d.width);
    EXPECT_EQ(16, d.height);
    EXPECT_EQ(24, d.bits);
    ASSERT_NE(nullptr, d.data);
    for (int y : {0, 7}) {
        for (int x : {0, 6, 12}) {
            EXPECT_TRUE(Near(d.At(x, y), 255, 0, 0, 8)) << x << "," << y << " " << Show(d.At(x, y));
        }
    }
    for (int y : {8, 15}) {
        for (int x : {0, 6, 12}) {
            EXPECT_TRUE(Near(d.At(x, y), 0, 0, 255, 8)) << x << "," << y << " " << Show(d.At(x, y));
        }
    }

    // GDI sees the same picture the same way up.
    win::MemoryDC dc(nullptr);
    win::SelectGuard select(dc.dc(), bitmap.get());
    COLORREF top = GetPixel(dc.dc(), 12, 0), bottom = GetPixel(dc.dc(), 0, 15);
    EXPECT_TRUE(Near({GetRValue(top), GetGValue(top), GetBValue(top)}, 255, 0, 0, 8));
    EXPECT_TRUE(Near({GetRValue(bottom), GetGValue(bottom), GetBValue(bottom)}, 0, 0, 255, 8));
}

TEST(Jpeg, DamagedDataGivesEmptyBitmapAndTheProcessCarriesOn) {
    const std::vector<unsigned char> good = BannerBytes();
    ASSERT_GT(good.size(), 1000u);
    const size_t frame = FrameHeader(good), scan = ScanData(good);
    ASSERT_GT(frame, 0u);
    ASSERT_GT(scan, frame);

    EXPECT_FALSE(DecodeJpeg(nullptr, 0));
    EXPECT_FALSE(DecodeJpeg(good.data(), 0));
    // Only the start-of-image marker.
    EXPECT_FALSE(DecodeJpeg(good.data(), 2));
    // Cut in the middle of the headers, and in the middle of the picture data.
    EXPECT_FALSE(DecodeJpeg(good.data(), frame + 5));
    EXPECT_FALSE(DecodeJpeg(good.data(), (scan + good.size()) / 2));
    // Lacking only the end-of-image marker.
    EXPECT_FALSE(DecodeJpeg(good.data(), good.size() - 2));

    // Not a JPEG at all.
    const std::string text = "This is not a picture, just some text of a reasonable length.";
    EXPECT_FALSE(DecodeJpeg(reinterpret_cast<const unsigned char*>(text.data()), text.size()));

    // An end-of-image marker in the middle of the picture data.
    std::vector<unsigned char> broken = good;
    const size_t middle = (scan + good.size()) / 2;
    broken[middle] = 0xFF;
    broken[middle + 1] = 0xD9;
    EXPECT_FALSE(DecodeJpeg(broken.data(), broken.size()));

    // Scrambled picture data.
    broken = good;
    for (size_t i = scan; i + 2 < broken.size(); i += 7) broken[i] = static_cast<unsigned char>(broken[i] * 31 + 17);
    EXPECT_FALSE(DecodeJpeg(broken.data(), broken.size()));

    // A frame header claiming a width of zero.
    broken = good;
    broken[frame + 7] = 0;
    broken[frame + 8] = 0;
    EXPECT_FALSE(DecodeJpeg(broken.data(), broken.size()));

    // A frame header claiming 65000 x 65000 pixels: refused before anything is allocated.
    broken = good;
    broken[frame + 5] = 0xFD;
    broken[frame + 6] = 0xE8;
    broken[frame + 7] = 0xFD;
    broken[frame + 8] = 0xE8;
    EXPECT_FALSE(DecodeJpeg(broken.data(), broken.size()));

    // Every failure left the decoder usable.
    EXPECT_TRUE(DecodeJpeg(good.data(), good.size()));
    EXPECT_TRUE(DecodeJpeg(kTwoBands, sizeof(kTwoBands)));
}
