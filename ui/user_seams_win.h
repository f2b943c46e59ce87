// The real user seams: notes and questions in the system's message box,
// MessageBeep for beeps, and the wait cursor through a hook the program sets.
#pragma once

#include <functional>

namespace zs {

// Installs the Windows seams for the rest of the process (idempotent).
void InstallWindowsUserSeams();
// What WaitCursorOn/Off do (the program installs the animated cursor); by
// default the standard hourglass and arrow.
void SetWaitCursorHook(std::function<void(bool on)> hook);

}  // namespace zs
