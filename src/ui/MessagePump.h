#pragma once
namespace ui {
// Handles every pending window message of this thread and returns.
void PumpMessages();
// Asks the message loop to end the program (PostQuitMessage).
void Terminate();
}  // namespace ui
