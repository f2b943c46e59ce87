// The HWND placement adapter on real top-level windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "settings/form_placement_win.h"
#include "settings/user_mode.h"
#include "tests/support/win_fixture.h"

namespace zs::test {
namespace {

const SizeConstraints kLimits{240, 160, 0, 0};

// Sizing with the mouse keeps the same limits as the placement.
LRESULT CALLBACK LimitedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETMINMAXINFO) {
    ApplyConstraints(reinterpret_cast<MINMAXINFO*>(lp), kLimits);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

class PlacementWinTest : public WindowTest {
 protected:
  void SetUp() override {
    dir_ = scratch_.Prefix();
    SetUserModeDirectoryForTesting(dir_);
    wa_ = PrimaryWorkArea();
    ASSERT_GT(wa_.right - wa_.left, 400);
    ASSERT_GT(wa_.bottom - wa_.top, 300);
    hwnd_ = CreateTopWindow("Placement", 30, 40, 320, 240, WS_OVERLAPPEDWINDOW, 0, LimitedProc);
    ASSERT_NE(hwnd_, nullptr);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    Pump(20);
  }
  void TearDown() override {
    WindowTest::TearDown();
    SetUserModeDirectoryForTesting("");
  }
  RECT Rect() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r;
  }

  ScratchDirectory scratch_{"placement"};
  std::string dir_;
  WorkArea wa_;
  HWND hwnd_ = nullptr;
};

TEST_F(PlacementWinTest, WorkAreaMatchesTheSystem) {
  RECT r{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0));
  EXPECT_EQ(wa_.left, r.left);
  EXPECT_EQ(wa_.bottom, r.bottom);
}

TEST_F(PlacementWinTest, NoSettingsOpensInTheCornerOfTheMode) {
  RestoreFormPlacement(hwnd_, "TFAdressLinkController", 3, -1, kLimits);
  RECT r = Rect();
  EXPECT_EQ(r.right, wa_.right);
  EXPECT_EQ(r.bottom, wa_.bottom);
  EXPECT_EQ(r.right - r.left, 320);

  RestoreFormPlacement(hwnd_, "TFAdressExtremeLinks", 1, -1, kLimits);
  r = Rect();
  EXPECT_EQ(r.left, wa_.left);
  EXPECT_EQ(r.top, wa_.top);
}

TEST_F(PlacementWinTest, StoredGeometryBeyondTheScreenIsFittedIntoTheWorkArea) {
  WriteUserInteger("TFX.Width", 400);
  WriteUserInteger("TFX.Height", 300);
  WriteUserInteger("TFX.Left", wa_.right + 500);  // saved on a second display
  WriteUserInteger("TFX.Top", wa_.bottom + 80);
  RestoreFormPlacement(hwnd_, "TFX", 1, -1, kLimits);
  RECT r = Rect();
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 300);
  EXPECT_EQ(r.right, wa_.right);
  EXPECT_EQ(r.bottom, wa_.bottom);
}

TEST_F(PlacementWinTest, SizesHonourTheConstraintsAndTheWorkArea) {
  WriteUserInteger("TFX.Width", 50);
  WriteUserInteger("TFX.Height", (wa_.bottom - wa_.top) + 400);
  WriteUserInteger("TFX.Left", wa_.left - 70);
  WriteUserInteger("TFX.Top", wa_.top + 10);
  RestoreFormPlacement(hwnd_, "TFX", 1, -1, kLimits);
  RECT r = Rect();
  EXPECT_EQ(r.right - r.left, kLimits.min_width);
  EXPECT_EQ(r.left, wa_.left);
  EXPECT_EQ(r.top, wa_.top);
  EXPECT_EQ(r.bottom, wa_.bottom) << "taller than the work area: moved up, then shrunk";
}

TEST_F(PlacementWinTest, SaveStoresTheOuterRectangleAndRestoreBringsItBack) {
  SetWindowPos(hwnd_, nullptr, wa_.left + 77, wa_.top + 66, 333, 222, SWP_NOZORDER | SWP_NOACTIVATE);
  SaveFormPlacement(hwnd_, "TFAdressExtremeLinks", 0, -1);
  EXPECT_EQ(ReadUserInteger("TFAdressExtremeLinks.Left", 0), wa_.left + 77);
  EXPECT_EQ(ReadUserInteger("TFAdressExtremeLinks.Width", 0), 333);
  EXPECT_EQ(ReadUserInteger("TFAdressExtremeLinks.Add0", -1), -1);

  SetWindowPos(hwnd_, nullptr, 0, 0, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
  RestoreFormPlacement(hwnd_, "TFAdressExtremeLinks", 1, -1, kLimits);
  RECT r = Rect();
  EXPECT_EQ(r.left, wa_.left + 77);
  EXPECT_EQ(r.top, wa_.top + 66);
  EXPECT_EQ(r.right - r.left, 333);
  EXPECT_EQ(r.bottom - r.top, 222);
}

}  // namespace
}  // namespace zs::test
