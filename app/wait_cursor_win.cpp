#include "app/wait_cursor_win.h"

#include "app/cursors_win.h"

namespace zs {
namespace {
bool g_wait_cursor = false;
}  // namespace

void ShowWaitCursor(bool on) {
  g_wait_cursor = on;
  SetCursor(ScreenCursor(on ? kCursorWait : crDefault));
}

bool WaitCursorShown() { return g_wait_cursor; }

bool ApplyWaitCursor(LPARAM lp) {
  if (!g_wait_cursor || LOWORD(lp) != HTCLIENT) return false;
  SetCursor(ScreenCursor(kCursorWait));
  return true;
}

}  // namespace zs
