// The user settings store on "UserMode.INI" in a scratch directory.
#include <gtest/gtest.h>

#include <string>

#include "settings/user_mode.h"
#include "tests/settings/settings_test_util.h"

namespace zs {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class UserModeTest : public ::testing::Test {
 protected:
  test::ScratchDir dir_;
  ScopedUserModeDirectory scoped_{dir_.str()};
  const std::string file_ = dir_.File("UserMode.INI");
};

constexpr const char* kSound = "TFAdressExtremeLinks.Sound.On";

TEST_F(UserModeTest, MissingFileGivesDefaultsAndStaysMissing) {
  EXPECT_TRUE(ReadUserBool(kSound, true));
  EXPECT_FALSE(ReadUserBool(kSound, false));
  EXPECT_EQ(ReadUserInteger("TFAdressExtremeLinks.Add0", -1), -1);
  EXPECT_EQ(ReadUserString("TFAdressLinkController.TSaveAdress.ID"), "");
  EXPECT_FALSE(test::fs::exists(file_));
}

TEST_F(UserModeTest, FirstWriteCreatesThreeLines) {
  WriteUserBool(kSound, true);
  EXPECT_EQ(ReadBytes(file_), "[MODE]\r\nTFAdressExtremeLinks.Sound.On=1\r\n\r\n");
  EXPECT_TRUE(ReadUserBool(kSound, false));
}

TEST_F(UserModeTest, EmptyKeyNeverTouchesTheFile) {
  WriteBytes(file_, "[MODE]\r\n=1\r\n");
  const auto stamp = test::AgeFile(file_);
  WriteUserBool("", false);
  WriteUserInteger("", 3);
  WriteUserString("", "x");
  EXPECT_FALSE(ReadUserBool("", false));
  EXPECT_EQ(ReadUserInteger("", 3), 3);
  EXPECT_EQ(ReadUserString(""), "");
  EXPECT_EQ(ReadBytes(file_), "[MODE]\r\n=1\r\n");
  EXPECT_EQ(test::fs::last_write_time(file_), stamp);
}

TEST_F(UserModeTest, OnlySectionModeIsUsedOtherEntriesStay) {
  WriteBytes(file_, "[Other]\r\nTFX.Width=1\r\n[mode]\r\nTFX.Width=$20\r\n;keep\r\n");
  EXPECT_EQ(ReadUserInteger("tfx.width", 0), 32);
  WriteUserInteger("TFX.Height", -7);
  EXPECT_EQ(ReadBytes(file_), "[Other]\r\nTFX.Width=1\r\n\r\n[mode]\r\nTFX.Width=$20\r\n;keep\r\nTFX.Height=-7\r\n\r\n");
}

TEST_F(UserModeTest, StringsAreQuotedWithInnerQuotesDoubled) {
  WriteUserString("S.Guid", "say \"hi\"");
  WriteUserString("S.Empty", "");
  WriteUserString("S.Plain", "Müller");
  EXPECT_EQ(ReadBytes(file_), "[MODE]\r\nS.Guid=\"say \"\"hi\"\"\"\r\nS.Empty=\"\"\r\nS.Plain=\"M\xFCller\"\r\n\r\n");
  EXPECT_EQ(ReadUserString("S.Guid"), "say \"hi\"");
  EXPECT_EQ(ReadUserString("S.Empty"), "");
  EXPECT_EQ(ReadUserString("S.Plain"), "Müller");
}

TEST_F(UserModeTest, StoredStringsWithoutLeadingQuote) {
  WriteBytes(file_, "[MODE]\r\nplain=abc\r\nmiddle=ab\"c\r\nopen=\"ab\"\"c\r\ntail=\"x\"y\r\n");
  EXPECT_EQ(ReadUserString("plain"), "abc");
  EXPECT_EQ(ReadUserString("middle"), "");
  EXPECT_EQ(ReadUserString("open"), "ab\"c");
  EXPECT_EQ(ReadUserString("tail"), "x");
}

TEST(UserModeQuoting, UnquoteRules) {
  EXPECT_EQ(UnquoteUserString(""), "");
  EXPECT_EQ(UnquoteUserString("\""), "");
  EXPECT_EQ(UnquoteUserString("\"\""), "");
  EXPECT_EQ(UnquoteUserString("\"\"\"\""), "\"");
  EXPECT_EQ(UnquoteUserString("\"a\"\"\""), "a\"");
  EXPECT_EQ(UnquoteUserString("\"a\"b\"c\""), "a");
  EXPECT_EQ(UnquoteUserString("x\"a\""), "");
  for (const char* s : {"", "\"", "\"\"", "a\"\"b", "\r\n", "\"x"})
    EXPECT_EQ(UnquoteUserString(QuoteUserString(s)), s) << s;
}

TEST_F(UserModeTest, ACarriageReturnSplitsTheStoredLine) {
  WriteUserString("k", "a\rb=c");
  EXPECT_EQ(ReadUserString("k"), "a");
  EXPECT_EQ(ReadUserString("b"), "");  // c" holds a quote but does not start with one
}

TEST_F(UserModeTest, ReadOnlyFileReadsAndLosesWritesSilently) {
  WriteBytes(file_, "[MODE]\r\nTFAdressExtremeLinks.ftopbtn.Checked=0\r\n");
  test::MakeReadOnly(file_);
  EXPECT_FALSE(ReadUserBool("TFAdressExtremeLinks.ftopbtn.Checked", true));
  WriteUserBool("TFAdressExtremeLinks.ftopbtn.Checked", true);
  WriteUserString("New", "v");
  EXPECT_FALSE(ReadUserBool("TFAdressExtremeLinks.ftopbtn.Checked", true));
  EXPECT_EQ(ReadBytes(file_), "[MODE]\r\nTFAdressExtremeLinks.ftopbtn.Checked=0\r\n");
  EXPECT_EQ(dir_.Entries().size(), 1u);
}

TEST_F(UserModeTest, UnreadableFileGivesDefaultsAndLosesWrites) {
  test::fs::create_directory(file_);
  EXPECT_EQ(ReadUserInteger("k", 11), 11);
  WriteUserInteger("k", 1);
  EXPECT_EQ(ReadUserInteger("k", 11), 11);
  EXPECT_TRUE(test::fs::is_directory(file_));
}

TEST_F(UserModeTest, MissingDirectoryLosesWrites) {
  ScopedUserModeDirectory gone((dir_.path() / "nowhere").string());
  WriteUserInteger("k", 1);
  EXPECT_EQ(ReadUserInteger("k", 11), 11);
  EXPECT_FALSE(test::fs::exists(dir_.path() / "nowhere"));
}

#ifdef _WIN32
constexpr char kSep = '\\';
#else
constexpr char kSep = '/';
#endif

TEST(UserModeDirectoryTest, DirectoryWithOrWithoutTrailingSeparator) {
  test::ScratchDir dir;
  const std::string plain = dir.str();
  std::vector<std::string> spellings = {plain, plain + "/"};
#ifdef _WIN32
  spellings.push_back(plain + "\\");  // elsewhere a backslash is a file-name character
#endif
  for (const std::string& d : spellings) {
    ScopedUserModeDirectory s(d);
    const char sep = d.size() > plain.size() ? d.back() : kSep;
    EXPECT_EQ(UserModeFileName(), plain + sep + "UserMode.INI");
    WriteUserInteger("k", static_cast<int>(d.size()));
    EXPECT_EQ(ReadUserInteger("k", 0), static_cast<int>(d.size()));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"UserMode.INI"});
  }
}

TEST(UserModeDirectoryTest, OverrideIsScopedAndDefaultIsTheExecutablesDirectory) {
  const std::string dir = UserModeDirectory();
  {
    ScopedUserModeDirectory outer("/somewhere/else");
    EXPECT_EQ(UserModeDirectory(), std::string("/somewhere/else") + kSep);
    {
      ScopedUserModeDirectory inner("/other/");
      EXPECT_EQ(UserModeFileName(), "/other/UserMode.INI");
    }
    EXPECT_EQ(UserModeDirectory(), std::string("/somewhere/else") + kSep);
  }
  EXPECT_EQ(UserModeDirectory(), dir);
  ASSERT_FALSE(dir.empty());
  EXPECT_TRUE(dir.back() == '/' || dir.back() == '\\');
#ifdef _WIN32
  EXPECT_TRUE(test::fs::exists(dir + "settings_tests.exe")) << dir;
#else
  EXPECT_TRUE(test::fs::exists(dir + "settings_tests")) << dir;
#endif
  EXPECT_EQ(UserModeFileName(), dir + "UserMode.INI");
}

}  // namespace
}  // namespace zs
