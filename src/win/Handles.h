// Move-only owners for the system's handles, so nothing leaks on an early return.
#pragma once
#include <windows.h>
#include <shlobj.h>
#include <utility>

namespace win {

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;
    UniqueHandle() = default;
    explicit UniqueHandle(Type h) : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    Type get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    Type release() { Type h = h_; h_ = Traits::Invalid(); return h; }
    void reset(Type h = Traits::Invalid()) {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }
    // For APIs that fill a handle through a pointer.
    Type* put() { reset(); return &h_; }

private:
    Type h_ = Traits::Invalid();
};

struct WindowTraits {
    using Type = HWND;
    static HWND Invalid() { return nullptr; }
    // A child may already be gone with its parent.
    static void Close(HWND h) { if (IsWindow(h)) DestroyWindow(h); }
};
struct KernelTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
template <typename T>
struct GdiTraits {
    using Type = T;
    static T Invalid() { return nullptr; }
    static void Close(T h) { DeleteObject(h); }
};
struct ItemIdListTraits {
    using Type = LPITEMIDLIST;
    static LPITEMIDLIST Invalid() { return nullptr; }
    static void Close(LPITEMIDLIST p) { CoTaskMemFree(p); }
};

using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueFindHandle = UniqueHandle<FindTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueBitmap = UniqueHandle<GdiTraits<HBITMAP>>;
using UniqueFont = UniqueHandle<GdiTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiTraits<HPEN>>;
using UniqueItemIdList = UniqueHandle<ItemIdListTraits>;

// Puts back the object that was selected into a device context.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectGuard() { SelectObject(dc_, old_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint/EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND w) : w_(w) { dc_ = BeginPaint(w, &ps_); }
    ~PaintDC() { EndPaint(w_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC dc() const { return dc_; }
    const PAINTSTRUCT& ps() const { return ps_; }
private:
    HWND w_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A memory device context, deleted on scope exit.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~MemoryDC() { if (dc_) DeleteDC(dc_); }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC dc() const { return dc_; }
private:
    HDC dc_;
};

// GetDC/ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND w) : w_(w), dc_(GetDC(w)) {}
    ~WindowDC() { if (dc_) ReleaseDC(w_, dc_); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC dc() const { return dc_; }
private:
    HWND w_;
    HDC dc_;
};

}  // namespace win
