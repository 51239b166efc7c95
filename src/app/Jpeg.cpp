#include "app/Jpeg.h"
#include <climits>
#include <csetjmp>
#include <cstdio>

// After the Windows headers: libjpeg's Windows build takes their `boolean` (unsigned char).
#include <jpeglib.h>

namespace {

// Larger pictures are refused before any memory is taken for them: a damaged header may
// claim any size up to 65500 x 65500.
constexpr unsigned long long kMaxPixels = 16ULL * 1024 * 1024;

struct ErrorManager {
    jpeg_error_mgr pub;  // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf back;
};

// libjpeg's default error exit ends the process; this one returns to Decode instead.
void ErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->back, 1);
}

// A damaged or truncated stream only earns a warning from libjpeg, which then paints the
// missing part grey. A half-grey banner is worse than none, so a warning fails too.
void EmitMessage(j_common_ptr info, int level) {
    if (level < 0) ErrorExit(info);
}

// libjpeg leaves by longjmp on any error, so this frame holds only plain data: nothing here
// needs a destructor to run. The bitmap is freed by hand on that path.
HBITMAP Decode(const unsigned char* data, unsigned long size) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = ErrorExit;
    errors.pub.emit_message = EmitMessage;
    HBITMAP volatile bitmap = nullptr;

    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }

    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    // Rows come out in the DIB's own byte order.
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);

    const unsigned long long pixels = static_cast<unsigned long long>(info.output_width) * info.output_height;
    if (info.output_components != 3 || pixels == 0 || pixels > kMaxPixels) {
        jpeg_destroy_decompress(&info);
        return nullptr;
    }

    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = static_cast<LONG>(info.output_width);
    header.bmiHeader.biHeight = -static_cast<LONG>(info.output_height);  // top-down
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 24;
    header.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        jpeg_destroy_decompress(&info);
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }

    // DIB rows are padded to a multiple of four bytes.
    const size_t stride = (static_cast<size_t>(info.output_width) * 3 + 3) & ~static_cast<size_t>(3);
    unsigned char* const first = static_cast<unsigned char*>(bits);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = first + info.output_scanline * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return bitmap;
}

}  // namespace

win::UniqueBitmap DecodeJpeg(const unsigned char* data, size_t size) {
    if (!data || size == 0 || size > ULONG_MAX) return win::UniqueBitmap();
    return win::UniqueBitmap(Decode(data, static_cast<unsigned long>(size)));
}

win::UniqueBitmap LoadJpegResource(int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_RCDATA);
    if (!found) return win::UniqueBitmap();
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return win::UniqueBitmap();
    return DecodeJpeg(static_cast<const unsigned char*>(data), SizeofResource(module, found));
}
