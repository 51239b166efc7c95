#pragma once
namespace ui {
// Handles every pending window message of this thread and returns.
void PumpMessages();
// For loops that call it for every file: pumps when the last pump is older than a few
// milliseconds. Each pump asks the window system, which costs as much as a small file's copy;
// this keeps the windows alive and the Cancel button acting, without paying it for every file.
void KeepResponsive();
// Marks a handler that pumps messages as running, so that a click or keystroke handled inside its
// pump cannot run it again inside itself: a handler declares one on entry, over a flag of its own,
// and returns at once (or notes the request for later) when Entered() is false.
class ReentryGuard {
public:
    explicit ReentryGuard(bool& running) : running_(running), entered_(!running) { running_ = true; }
    ~ReentryGuard() {
        if (entered_) running_ = false;
    }
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;
    bool Entered() const { return entered_; }

private:
    bool& running_;
    bool entered_;
};

// Asks the message loop to end the program (PostQuitMessage).
void Terminate();
}  // namespace ui
