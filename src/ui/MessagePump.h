#pragma once
namespace ui {
// Handles every pending window message of this thread and returns.
void PumpMessages();
// For loops that call it for every file: pumps when the last pump is older than a few
// milliseconds. Each pump asks the window system, which costs as much as a small file's copy;
// this keeps the windows alive and the Cancel button acting, without paying it for every file.
void KeepResponsive();
// Asks the message loop to end the program (PostQuitMessage).
void Terminate();
}  // namespace ui
