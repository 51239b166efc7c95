#include "ui/Controls.h"
#include "ui/UiText.h"
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace ui {

namespace {

const char kWaitingBarClass[] = "Halvorkeep3.WaitingBar";
// Posted by the timer thread; wParam is the number of the run that made them.
const UINT kFrameMessage = WM_APP + 0x101;
const UINT kEndedMessage = WM_APP + 0x102;

}  // namespace

struct WaitingBar::Impl {
    int length = 2000;
    int interval = 50;
    COLORREF colour = RGB(0xA6, 0xCA, 0xF0);
    bool active = false;
    int frame = 0;
    WPARAM run = 0;  // number of the current run; frames of older runs are dropped

    // Shared with the timer thread.
    std::mutex mutex;
    std::condition_variable wake;
    bool stop = false;
    std::thread thread;

    // The timer thread: hands a frame to the interface thread every interval until the run's
    // length has passed or it is told to stop. It only ever posts, so joining it never waits
    // on the interface thread.
    void Tick(HWND target, WPARAM number, int everyMs, int lengthMs) {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        auto next = start;
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            next += std::chrono::milliseconds(everyMs);
            if (wake.wait_until(lock, next, [this] { return stop; })) return;
            if (Clock::now() - start >= std::chrono::milliseconds(lengthMs)) {
                PostMessageA(target, kEndedMessage, number, 0);
                return;
            }
            PostMessageA(target, kFrameMessage, number, 0);
        }
    }
};

WaitingBar::WaitingBar() : impl_(new Impl) {}

WaitingBar::~WaitingBar() {
    Stop();
    wnd_.reset();  // while the object can still take the window's last messages
    delete impl_;
}

bool WaitingBar::Create(Container& parent, int id, const Rect& r) {
    if (!RegisterWindowClass(kWaitingBarClass, &WaitingBar::WndProc)) return false;
    return CreateChild(parent, id, kWaitingBarClass, WS_VISIBLE, 0, r);
}

void WaitingBar::SetLength(int ms) { impl_->length = std::max(1, ms); }

void WaitingBar::SetRefreshInterval(int ms) { impl_->interval = std::max(1, ms); }

void WaitingBar::SetColour(COLORREF colour) {
    impl_->colour = colour;
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

bool WaitingBar::Active() const { return impl_->active; }

int WaitingBar::Frame() const { return impl_->frame; }

void WaitingBar::Stop() {
    {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        impl_->stop = true;
    }
    impl_->wake.notify_all();
    if (impl_->thread.joinable()) impl_->thread.join();
    impl_->stop = false;
}

void WaitingBar::SetActive(bool active) {
    if (active == impl_->active) return;
    Stop();
    impl_->active = active;
    ++impl_->run;
    impl_->frame = 0;
    if (active && hwnd()) {
        Impl* impl = impl_;
        HWND target = hwnd();
        WPARAM run = impl_->run;
        int interval = impl_->interval, length = impl_->length;
        impl_->thread = std::thread([impl, target, run, interval, length] { impl->Tick(target, run, interval, length); });
    } else {
        impl_->active = false;
    }
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void WaitingBar::OnFrame(WPARAM run) {
    if (run != impl_->run || !impl_->active) return;
    ++impl_->frame;
    InvalidateRect(hwnd(), nullptr, FALSE);
    UpdateWindow(hwnd());
}

void WaitingBar::OnEnded(WPARAM run) {
    if (run != impl_->run || !impl_->active) return;
    Stop();
    impl_->active = false;
    if (onEnded) onEnded();
}

void WaitingBar::Paint(HDC dc) {
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    int width = rc.right, height = rc.bottom;
    if (width <= 0 || height <= 0) return;
    win::MemoryDC mem(dc);
    win::UniqueBitmap canvas(CreateCompatibleBitmap(dc, width, height));
    win::SelectGuard select(mem.dc(), canvas.get());
    Container* parent = ParentContainer();
    FillRect(mem.dc(), &rc, parent ? parent->ChildBrush(mem.dc()) : GetSysColorBrush(COLOR_BTNFACE));
    if (impl_->active) {
        // One run sweeps the block once across the bar, from out of sight on the left to out
        // of sight on the right.
        int block = std::max(8, width / 5);
        int framesPerRun = std::max(1, impl_->length / impl_->interval);
        int travel = width + block;
        int x = static_cast<int>(static_cast<long long>(travel) * (impl_->frame % (framesPerRun + 1)) / framesPerRun) - block;
        RECT bar{std::max(0, x), 0, std::min(width, x + block), height};
        if (bar.right > bar.left) {
            win::UniqueBrush brush(CreateSolidBrush(impl_->colour));
            FillRect(mem.dc(), &bar, brush.get());
        }
    }
    BitBlt(dc, 0, 0, width, height, mem.dc(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK WaitingBar::WndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    try {
        auto* self = dynamic_cast<WaitingBar*>(FromHandle(w));
        if (self) {
            switch (msg) {
            case kFrameMessage:
                self->OnFrame(wp);
                return 0;
            case kEndedMessage:
                self->OnEnded(wp);
                return 0;
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT: {
                win::PaintDC paint(w);
                self->Paint(paint.dc());
                return 0;
            }
            default:
                break;
            }
        }
    } catch (...) {
        // Nothing may leave a window procedure.
    }
    return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace ui
