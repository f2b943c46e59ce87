// The registration in the host's add-on menu file, on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/file_io.h"
#include "app/launch.h"
#include "tests/support/temp_dir.h"

namespace zs {
namespace {

namespace fs = std::filesystem;

class MenuFile : public ::testing::Test {
 protected:
  void SetUp() override { path_ = (dir_ / "ZS.MNU").string(); }
  void Write(const std::string& bytes) {
    std::ofstream f(path_, std::ios::binary);
    f << bytes;
  }
  std::string Read() {
    std::ifstream f(path_, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
  }
  int FilesInDir() {
    int count = 0;
    for (auto& e : fs::directory_iterator(dir_)) count += e.is_regular_file() ? 1 : 0;
    return count;
  }

  test::ScratchDirectory scratch_{"menu"};
  const fs::path& dir_ = scratch_.path();
  std::string path_;
  const std::string exe_ = "C:\\Programme\\Zemba\\AdressLinks.exe";
  const std::string ours_ = exe_ + ";" + kMenuTitle + "\r\n";
};

TEST_F(MenuFile, NoFileGivesExactlyOurLine) {
  ASSERT_TRUE(RegisterInMenuFile(path_, exe_, kMenuTitle));
  EXPECT_EQ(Read(), "C:\\Programme\\Zemba\\AdressLinks.exe;\xDC" "bersicht verbundene Adressen.\r\n");
  EXPECT_EQ(FilesInDir(), 1) << "no temporary file may stay behind";
}

TEST_F(MenuFile, StaleLineOfOurTitleIsReplacedInPlace) {
  Write("C:\\A\\Kasse.exe;Kassenbuch\r\n"
        "D:\\alt\\AdressLinks.exe;  \xDC" "bersicht verbundene Adressen.\t \r\n"
        "C:\\B\\Mahn.exe;Mahnwesen\r\n"
        "E:\\zweite\\AdressLinks.exe;\xDC" "bersicht verbundene Adressen.\r\n");
  ASSERT_TRUE(RegisterInMenuFile(path_, exe_, kMenuTitle));
  EXPECT_EQ(Read(), "C:\\A\\Kasse.exe;Kassenbuch\r\n" + ours_ +
                        "C:\\B\\Mahn.exe;Mahnwesen\r\n"
                        "E:\\zweite\\AdressLinks.exe;\xDC" "bersicht verbundene Adressen.\r\n");
  // A second run changes nothing.
  const std::string once = Read();
  ASSERT_TRUE(RegisterInMenuFile(path_, exe_, kMenuTitle));
  EXPECT_EQ(Read(), once);
}

TEST_F(MenuFile, TitleDifferingInCaseOrStopDoesNotMatchAndWeAppend) {
  Write("X:\\a.exe;\xFC" "bersicht verbundene Adressen.\r\n"
        "X:\\b.exe;\xDC" "bersicht verbundene Adressen\r\n"
        "X:\\c.exe \xDC" "bersicht verbundene Adressen.\r\n");
  ASSERT_TRUE(RegisterInMenuFile(path_, exe_, kMenuTitle));
  EXPECT_EQ(Read(), "X:\\a.exe;\xFC" "bersicht verbundene Adressen.\r\n"
                    "X:\\b.exe;\xDC" "bersicht verbundene Adressen\r\n"
                    "X:\\c.exe \xDC" "bersicht verbundene Adressen.\r\n" + ours_);
}

TEST_F(MenuFile, AnyLineEndReadsAndEveryLineEndsWithCrLf) {
  Write("a;1\rb;2\nc;3\r\n\r\nd;4");
  ASSERT_TRUE(RegisterInMenuFile(path_, exe_, kMenuTitle));
  EXPECT_EQ(Read(), "a;1\r\nb;2\r\nc;3\r\n\r\nd;4\r\n" + ours_);
}

TEST_F(MenuFile, EmptyFileGetsOurLineAlone) {
  Write("");
  ASSERT_TRUE(RegisterInMenuFile(path_, exe_, kMenuTitle));
  EXPECT_EQ(Read(), ours_);
}

TEST_F(MenuFile, UnreadableMenuFileIsLeftAloneAndTheRunFails) {
  // A directory of that name stands for a file that exists but cannot be read.
  fs::create_directories(path_);
  EXPECT_FALSE(RegisterInMenuFile(path_, exe_, kMenuTitle));
  EXPECT_TRUE(fs::is_directory(path_));
  EXPECT_EQ(FilesInDir(), 0);
}

TEST(MenuLines, SplitAndJoin) {
  EXPECT_TRUE(SplitMenuLines("").empty());
  EXPECT_EQ(SplitMenuLines("\r\n"), std::vector<std::string>{""});
  EXPECT_EQ(SplitMenuLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitMenuLines("a\r\rb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(JoinMenuLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinMenuLines({}), "");
}

TEST(FileIo, MissingAndReplaced) {
  std::string bytes = "x";
  const std::string path = (fs::temp_directory_path() / "zs_no_such_file_at_all.bin").string();
  fs::remove(path);
  EXPECT_EQ(ReadWholeFile(path, bytes), FileRead::kMissing);
  EXPECT_TRUE(bytes.empty());
  const std::string data("a\0b\r\n\xFF", 6);
  ASSERT_TRUE(ReplaceFileAtomically(path, data));
  ASSERT_TRUE(ReplaceFileAtomically(path, data + data));
  EXPECT_EQ(ReadWholeFile(path, bytes), FileRead::kOk);
  EXPECT_EQ(bytes, data + data);
  fs::remove(path);
}

}  // namespace
}  // namespace zs
