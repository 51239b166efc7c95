#pragma once
namespace ui {
// Handles every pending window message of this thread and returns. A quit message met there is
// taken as a request to end the program (see Terminate), not left in the queue.
void PumpMessages();
// For loops that call it for every file: pumps when the last pump is older than a few
// milliseconds. Each pump asks the window system, which costs as much as a small file's copy;
// this keeps the windows alive and the Cancel button acting, without paying it for every file.
void KeepResponsive();
// The next KeepResponsive pumps, however recent the last pump: a message posted now is handled
// at the loop's next step.
void PumpAtNextChance();
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

// Marks a stretch in which messages are handled by a loop other than the program's main loop:
// a handler's pump or a modal box. The pump and the dialog service declare one.
class NestedLoop {
public:
    NestedLoop();
    ~NestedLoop();
    NestedLoop(const NestedLoop&) = delete;
    NestedLoop& operator=(const NestedLoop&) = delete;
};

// Asks the program to end. From the main loop's own dispatch the main loop ends at once
// (PostQuitMessage); inside a nested loop the request waits until the running handler returns
// to the main loop, so that the handler finishes its work and no box it opens meanwhile is
// closed by a pending quit.
void Terminate();
// Whether the program was asked to end since the last call: the main loop stops on it, before
// its next message.
bool TakeTerminateRequest();
}  // namespace ui
