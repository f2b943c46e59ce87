// The application-wide wait cursor: the animated cursor 17786 while long work
// runs. Switching it on shows it at once; windows of ours keep it up by
// answering WM_SETCURSOR with ApplyWaitCursor, so the pointer does not fall
// back to the class cursors while the work pumps messages.
#pragma once

#include <windows.h>

namespace zs {

// On: the wait cursor; off: the default cursor (id 0). Calls do not nest.
void ShowWaitCursor(bool on);
bool WaitCursorShown();
// For WM_SETCURSOR (`lp` its lParam): while the wait cursor is on and the
// pointer is over a client area, sets it and answers true (return TRUE then).
bool ApplyWaitCursor(LPARAM lp);

}  // namespace zs
