// The cursor table under Wine, with the executable's resources linked into
// this test.
#include "app/cursors_win.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/win_fixture.h"

namespace zs {
namespace {

std::set<std::string> TempFolderFiles(const char* pattern) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  std::set<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((std::string(dir) + pattern).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.insert(fd.cFileName);
  while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

TEST(Cursors, AllSixRegisterAndDifferFromTheDefault) {
  const std::set<std::string> before = TempFolderFiles("zsc*");
  RegisterCursors();
  const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  std::set<HCURSOR> seen;
  for (int id : {kCursorHand, kCursorMagnify, kCursorMove, kCursorWait, kCursorPrint, kCursorPdf}) {
    EXPECT_TRUE(HasScreenCursor(id)) << id;
    EXPECT_NE(ScreenCursor(id), arrow) << id;
    seen.insert(ScreenCursor(id));
  }
  EXPECT_EQ(seen.size(), 6u);
  // The wait cursor can be shown.
  HCURSOR old = SetCursor(ScreenCursor(kCursorWait));
  EXPECT_EQ(GetCursor(), ScreenCursor(kCursorWait));
  SetCursor(old);
  EXPECT_EQ(TempFolderFiles("zsc*"), before) << "temporary cursor files must be deleted";
}

TEST(Cursors, UnknownIdsAndFailedLoadsShowTheDefault) {
  EXPECT_EQ(ScreenCursor(crDefault), LoadCursor(nullptr, IDC_ARROW));
  EXPECT_EQ(ScreenCursor(4242), LoadCursor(nullptr, IDC_ARROW));
  EXPECT_EQ(ScreenCursor(crHandPoint), LoadCursor(nullptr, IDC_HAND));
  EXPECT_FALSE(LoadAnimatedCursor("NO_SUCH_CURSOR", 17999));
  EXPECT_FALSE(HasScreenCursor(17999));
  EXPECT_EQ(ScreenCursor(17999), LoadCursor(nullptr, IDC_ARROW));
  // A cursor group is no animated cursor.
  EXPECT_FALSE(LoadAnimatedCursor("X_HAND", 17998));
}

TEST(Cursors, AUsersTempAniInTheCurrentDirectorySurvives) {
  const test::ScratchDirectory scratch("cursors");
  const std::string dir = scratch.Prefix();
  char old_dir[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, old_dir);
  ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
  const std::string mine = "mein eigenes Temp.ani, bitte nicht l\xF6schen\r\n";
  {
    std::ofstream f(dir + "Temp.ani", std::ios::binary);
    f << mine;
  }
  const bool loaded = LoadAnimatedCursor("CRCURSOR_WAIT", 17786);
  const bool loaded_again = LoadAnimatedCursor("CRCURSOR_PDF", 17788);
  SetCurrentDirectoryA(old_dir);
  EXPECT_TRUE(loaded);
  EXPECT_TRUE(loaded_again);
  EXPECT_EQ(ReadAll(dir + "Temp.ani"), mine);
  // Nothing else appeared in the current directory.
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  int files = 0;
  do files += (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
  while (FindNextFileA(h, &fd));
  FindClose(h);
  EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace zs
