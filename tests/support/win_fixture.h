// Base fixture of the window tests: creates real top-level windows, pumps
// their messages with a bounded wait for a condition, and destroys whatever
// a test left behind.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace zs::test {

// Dispatches the thread's pending messages for `ms` milliseconds.
void Pump(DWORD ms);
// Pumps until `done` answers true or `timeout_ms` passes; answers `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms = 5000);
// The directory of the running test executable, with a trailing backslash.
std::string ExeDir();
bool IsWine();

class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // A plain top-level window of a test class whose procedure is DefWindowProc
  // unless `proc` is given; destroyed in TearDown if the test did not.
  HWND CreateTopWindow(const char* title, int x, int y, int w, int h, DWORD style = WS_OVERLAPPEDWINDOW,
                       DWORD ex_style = 0, WNDPROC proc = nullptr);
  // Remembers a window made elsewhere so TearDown destroys it.
  void Track(HWND hwnd) { windows_.push_back(hwnd); }

 private:
  std::vector<HWND> windows_;
};

}  // namespace zs::test
