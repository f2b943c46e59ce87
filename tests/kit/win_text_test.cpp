#include "kit/win_text.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zs {
namespace {

TEST(WinText, FoldsAsciiAndWindows1252Letters) {
  EXPECT_TRUE(SameText("UserMode.INI", "usermode.ini"));
  EXPECT_TRUE(SameText("\xC4RGER", "\xE4rger"));  // Ä ä
  EXPECT_TRUE(SameText("\x8A", "\x9A"));          // Š š
  EXPECT_TRUE(SameText("\x9F", "\xFF"));          // Ÿ ÿ
  EXPECT_FALSE(SameText("\xD7", "\xF7")) << "multiplication and division sign are no pair";
  EXPECT_FALSE(SameText("\xDF", "ss"));
  EXPECT_FALSE(SameText("MODE", "MODE "));
  EXPECT_EQ(LowerText("ADRESSLINK.ADT"), "adresslink.adt");
}

TEST(WinText, CompareTextOrdersFoldedBytes) {
  EXPECT_EQ(CompareText("mode", "MODE"), 0);
  EXPECT_LT(CompareText("a", "B"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_GT(CompareText("\xE4", "z"), 0);
}

#ifdef _WIN32
// The fold must agree with Windows' own case-insensitive comparison: every
// pair we call equal, lstrcmpiA calls equal, and every pair of distinct
// letters or digits we call different, it calls different too.
TEST(WinText, AgreesWithLstrcmpiAForAllBytes) {
  for (int a = 1; a < 256; ++a) {
    const char sa[2] = {static_cast<char>(a), 0};
    const char fa[2] = {FoldCase(sa[0]), 0};
    EXPECT_EQ(lstrcmpiA(sa, fa), 0) << "byte " << a;
    if (!IsCharAlphaNumericA(sa[0])) continue;
    for (int b = 1; b < 256; ++b) {
      const char sb[2] = {static_cast<char>(b), 0};
      if (!IsCharAlphaNumericA(sb[0]) || SameText(sa, sb)) continue;
      EXPECT_NE(lstrcmpiA(sa, sb), 0) << "bytes " << a << " and " << b;
    }
  }
}
#endif

}  // namespace
}  // namespace zs
