// The INI engine on disk: loading through the buffer, when the file is
// rewritten, read-only files, and failures in the middle of a rewrite.
#include <gtest/gtest.h>

#include <string>

#include "settings/big_ini_file.h"
#include "tests/settings/settings_test_util.h"

namespace zs {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

TEST(IniDisk, MissingFileReadsDefaultsAndIsNotCreatedByReads) {
  ScratchDir dir;
  const std::string path = dir.File("UserMode.INI");
  {
    TBigIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("MODE", "k", 4), 4);
    ini.UpdateFile();
  }
  EXPECT_FALSE(test::fs::exists(path));
}

TEST(IniDisk, FirstWriteCreatesTheFile) {
  ScratchDir dir;
  const std::string path = dir.File("UserMode.INI");
  {
    TBigIniFile ini(path);
    ini.WriteBool("MODE", "TFAdressExtremeLinks.Sound.On", true);
  }  // released: written back
  EXPECT_EQ(ReadBytes(path), "[MODE]\r\nTFAdressExtremeLinks.Sound.On=1\r\n\r\n");
  EXPECT_EQ(dir.Entries().size(), 1u);
}

TEST(IniDisk, UnchangedWriteLeavesContentAndTimeStamp) {
  ScratchDir dir;
  const std::string path = dir.File("a.ini");
  const std::string original = "x\r\n[MODE]\r\n\r\nk=1\r\n[mode]\r\nk=2\r\n";
  WriteBytes(path, original);
  const auto stamp = test::AgeFile(path);
  {
    TBigIniFile ini(path);
    ini.WriteInteger("MODE", "k", 1);
    ini.WriteString("MODE", "k", "1");
  }
  EXPECT_EQ(ReadBytes(path), original);
  EXPECT_EQ(test::fs::last_write_time(path), stamp);
  {
    TBigIniFile ini(path);
    ini.WriteInteger("MODE", "k", 2);
  }
  EXPECT_EQ(ReadBytes(path), "[MODE]\r\nk=2\r\n\r\n");
  EXPECT_NE(test::fs::last_write_time(path), stamp);
}

TEST(IniDisk, LinesSplitAcrossTheReadBufferStayWhole) {
  ScratchDir dir;
  const std::string path = dir.File("big.ini");
  // A CR as the last byte of the first buffer and its LF as the first byte
  // of the next; then a line that spans the second boundary.
  std::string text = "[S]\r\npad=";
  text.append(TBigIniFile::kBufferSize - 1 - text.size(), 'p');
  text += "\r\nk=v\r\nlong=";
  const std::size_t q_count = 2 * TBigIniFile::kBufferSize - text.size() + 10;
  text.append(q_count, 'q');
  text += "\r\nend=1";
  WriteBytes(path, text);
  ASSERT_EQ(text[TBigIniFile::kBufferSize - 1], '\r');
  TBigIniFile ini(path);
  EXPECT_EQ(ini.Sections().at(0).lines.size(), 4u);
  EXPECT_EQ(ini.ReadString("S", "k", "<def>"), "v");
  EXPECT_EQ(ini.ReadString("S", "long", ""), std::string(q_count, 'q'));
  EXPECT_EQ(ini.ReadString("S", "end", ""), "1");
}

TEST(IniDisk, ReadOnlyFileIsReadButNeverReplaced) {
  ScratchDir dir;
  const std::string path = dir.File("UserMode.INI");
  WriteBytes(path, "[MODE]\r\nk=1\r\n");
  test::MakeReadOnly(path);
  {
    TBigIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("MODE", "k", 0), 1);
    ini.WriteInteger("MODE", "k", 2);
    EXPECT_THROW(ini.UpdateFile(), EInOutError);
    EXPECT_TRUE(ini.Modified());
  }  // the release swallows the same failure
  EXPECT_EQ(ReadBytes(path), "[MODE]\r\nk=1\r\n");
  EXPECT_EQ(dir.Entries().size(), 1u);
}

TEST(IniDisk, UnreadableFileIsAnInputOutputError) {
  ScratchDir dir;
  const std::string path = dir.File("UserMode.INI");
  test::fs::create_directory(path);
  EXPECT_THROW(TBigIniFile ini(path), EInOutError);
}

// Disk access that fails at one chosen step of a rewrite.
class FailingFileSystem : public IniFileSystem {
 public:
  enum class Step { kNone, kCreateTemp, kSecondWrite, kClose, kReplace };
  explicit FailingFileSystem(Step step) : step_(step) {}

  bool Exists(const std::string& p) override { return disk_.Exists(p); }
  bool IsReadOnly(const std::string& p) override { return disk_.IsReadOnly(p); }
  File* OpenRead(const std::string& p) override { return disk_.OpenRead(p); }
  long Read(File* f, char* b, std::size_t n) override { return disk_.Read(f, b, n); }
  File* CreateTemp(const std::string& p, std::string* t) override {
    return step_ == Step::kCreateTemp ? nullptr : disk_.CreateTemp(p, t);
  }
  bool Write(File* f, const char* b, std::size_t n) override {
    ++writes_;
    if (step_ == Step::kSecondWrite && writes_ == 2) {
      disk_.Write(f, b, n / 2);  // half a buffer reaches the disk, as with a full disk
      return false;
    }
    return disk_.Write(f, b, n);
  }
  bool Close(File* f) override {
    bool ok = disk_.Close(f);
    return step_ == Step::kClose ? false : ok;
  }
  bool Replace(const std::string& t, const std::string& p) override {
    return step_ == Step::kReplace ? false : disk_.Replace(t, p);
  }
  void Remove(const std::string& p) override { disk_.Remove(p); }

  int writes() const { return writes_; }

 private:
  IniFileSystem& disk_ = DiskFileSystem();
  Step step_;
  int writes_ = 0;
};

TEST(IniDisk, FailureInTheMiddleOfARewriteKeepsTheOldFileWhole) {
  using Step = FailingFileSystem::Step;
  for (Step step : {Step::kCreateTemp, Step::kSecondWrite, Step::kClose, Step::kReplace}) {
    SCOPED_TRACE(static_cast<int>(step));
    ScratchDir dir;
    const std::string path = dir.File("UserMode.INI");
    std::string original = "[MODE]\r\n";
    for (int i = 0; i < 3000; ++i) original += "Key" + std::to_string(i) + "=" + std::to_string(i * 7) + "\r\n";
    original += "\r\n";
    ASSERT_GT(original.size(), 2 * TBigIniFile::kBufferSize);
    WriteBytes(path, original);

    FailingFileSystem fs(step);
    TBigIniFile ini(path, &fs);
    ini.WriteInteger("MODE", "Key0", -1);
    EXPECT_THROW(ini.UpdateFile(), EInOutError);
    if (step == Step::kSecondWrite) {
      EXPECT_EQ(fs.writes(), 2);
    }
    EXPECT_TRUE(ini.Modified());
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"UserMode.INI"});
  }
}

TEST(IniDisk, RewriteOfALargeFileIsExact) {
  ScratchDir dir;
  const std::string path = dir.File("UserMode.INI");
  std::string original = "[MODE]\r\n";
  for (int i = 0; i < 2000; ++i) original += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
  original += "\r\n";
  WriteBytes(path, original);
  {
    TBigIniFile ini(path);
    ini.WriteInteger("MODE", "Key1999", 5);
  }
  std::string expected = original;
  expected.replace(expected.find("Key1999=1999"), 12, "Key1999=5");
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_EQ(dir.Entries().size(), 1u);
}

}  // namespace
}  // namespace zs
