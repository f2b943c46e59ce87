// Placement arithmetic over a form of plain numbers, with the store in a
// scratch directory.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "settings/form_placement.h"
#include "settings/user_mode.h"
#include "tests/settings/settings_test_util.h"

namespace zs {
namespace {

class PlacementTest : public ::testing::Test {
 protected:
  test::ScratchDir dir_;
  ScopedUserModeDirectory scoped_{dir_.str()};
  const WorkArea wa_{0, 0, 1280, 1000};
};

struct ModeCase {
  int mode;
  int left, top;
};

TEST_F(PlacementTest, DefaultPositionPerModeWithoutStoredValues) {
  const ModeCase cases[] = {{0, 490, 400}, {1, 0, 0}, {2, 980, 0}, {3, 980, 800}, {7, 490, 400}};
  for (const ModeCase& c : cases) {
    PlacementRect form("TFX", 5, 5, 300, 200);
    EXPECT_EQ(RestoreFormPlacement(form, "TFX", c.mode, -1, wa_), -1);
    EXPECT_EQ(form.Left(), c.left) << c.mode;
    EXPECT_EQ(form.Top(), c.top) << c.mode;
    EXPECT_EQ(form.Width(), 300);
    EXPECT_EQ(form.Height(), 200);
  }
  EXPECT_FALSE(test::fs::exists(dir_.File("UserMode.INI")));
}

TEST_F(PlacementTest, ModeZeroHalvesTheEdgesNotTheAreaAndTruncates) {
  const WorkArea offset{100, 50, 1101, 801};
  PlacementRect form("TFX", 0, 0, 301, 201);
  RestoreFormPlacement(form, "TFX", 0, -1, offset);
  EXPECT_EQ(form.Left(), 550 - 150);
  EXPECT_EQ(form.Top(), 400 - 100);
}

TEST_F(PlacementTest, DefaultPositionUsesTheSizeBeforeTheStoredOne) {
  WriteUserInteger("TFX.Width", 100);
  WriteUserInteger("TFX.Height", 50);
  PlacementRect form("TFX", 0, 0, 300, 200);
  RestoreFormPlacement(form, "TFX", 3, -1, wa_);
  EXPECT_EQ(form.Width(), 100);
  EXPECT_EQ(form.Height(), 50);
  EXPECT_EQ(form.Left(), 980);
  EXPECT_EQ(form.Top(), 800);
}

TEST_F(PlacementTest, StoredPositionOutsideIsPulledIntoTheWorkArea) {
  struct Case {
    int left, top;
    int want_left, want_top;
  } cases[] = {{1700, 1200, 980, 800}, {-300, -40, 0, 0}, {1000, -5, 980, 0}, {12, 900, 12, 800}};
  for (const Case& c : cases) {
    WriteUserInteger("TFX.Left", c.left);
    WriteUserInteger("TFX.Top", c.top);
    PlacementRect form("TFX", 0, 0, 300, 200);
    RestoreFormPlacement(form, "TFX", 1, -1, wa_);
    EXPECT_EQ(form.Left(), c.want_left) << c.left << "," << c.top;
    EXPECT_EQ(form.Top(), c.want_top) << c.left << "," << c.top;
    EXPECT_EQ(form.Width(), 300);
  }
}

TEST_F(PlacementTest, StoredSizeHonoursTheConstraints) {
  WriteUserInteger("TFX.Width", 50);
  WriteUserInteger("TFX.Height", 5000);
  PlacementRect form("TFX", 0, 0, 300, 200, SizeConstraints{200, 100, 0, 600});
  RestoreFormPlacement(form, "TFX", 1, -1, wa_);
  EXPECT_EQ(form.Width(), 200);
  EXPECT_EQ(form.Height(), 600);
}

TEST_F(PlacementTest, FormLargerThanTheWorkAreaEndsTopLeftAndShrinks) {
  PlacementRect big("TFX", 40, 30, 1500, 1100);
  FitFormToWorkArea(big, wa_);
  EXPECT_EQ(big.Left(), 0);
  EXPECT_EQ(big.Top(), 0);
  EXPECT_EQ(big.Width(), 1280);
  EXPECT_EQ(big.Height(), 1000);

  const WorkArea offset{100, 50, 1100, 800};
  PlacementRect wide("TFX", 900, 600, 1500, 300, SizeConstraints{1200, 0, 0, 0});
  FitFormToWorkArea(wide, offset);
  EXPECT_EQ(wide.Left(), 100);
  EXPECT_EQ(wide.Top(), 500);
  EXPECT_EQ(wide.Width(), 1200) << "the minimum wins; the form overhangs the right edge";
  EXPECT_EQ(wide.Height(), 300);
}

TEST_F(PlacementTest, SaveWritesFourValuesAndNoExtra) {
  PlacementRect form("TFAdressExtremeLinks", 10, 20, 300, 200);
  SaveFormPlacement(form, "TFAdressExtremeLinks", 0, -1);
  EXPECT_EQ(test::ReadBytes(dir_.File("UserMode.INI")),
            "[MODE]\r\nTFAdressExtremeLinks.Width=300\r\nTFAdressExtremeLinks.Height=200\r\n"
            "TFAdressExtremeLinks.Left=10\r\nTFAdressExtremeLinks.Top=20\r\n\r\n");
}

TEST_F(PlacementTest, ModeOneSavesShiftedAndExtraTravelsAlong) {
  PlacementRect form("TFX", 10, 20, 300, 200);
  SaveFormPlacement(form, "", 1, 42);
  EXPECT_EQ(ReadUserInteger("TFX.Left", 0), 60);
  EXPECT_EQ(ReadUserInteger("TFX.Top", 0), 70);
  EXPECT_EQ(ReadUserInteger("TFX.Add0", -1), 42);
  PlacementRect again("TFX", 0, 0, 1, 1);
  EXPECT_EQ(RestoreFormPlacement(again, "", 0, -1, wa_), 42);
  EXPECT_EQ(again.Left(), 60);
  EXPECT_EQ(again.Width(), 300);
}

TEST_F(PlacementTest, EmptyNameUsesTheComponentNameAndRoundTrips) {
  PlacementRect form("FAdress", 123, 234, 345, 456);
  SaveFormPlacement(form, "", 0, -1);
  EXPECT_EQ(ReadUserInteger("FAdress.Height", 0), 456);
  PlacementRect back("FAdress", 0, 0, 10, 10);
  RestoreFormPlacement(back, "", 1, -1, wa_);
  EXPECT_EQ((std::array<int, 4>{back.Left(), back.Top(), back.Width(), back.Height()}),
            (std::array<int, 4>{123, 234, 345, 456}));
}

}  // namespace
}  // namespace zs
