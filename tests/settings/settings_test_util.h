// Scratch directories and whole-file helpers for the settings tests; works
// natively and under Wine.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace zs::test {

namespace fs = std::filesystem;

// A fresh directory, removed with everything in it at the end of the test.
class ScratchDir : public ScratchDirectory {
 public:
  ScratchDir() : ScratchDirectory("settings") {}
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(f.good()) << path;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline void MakeReadOnly(const std::string& path) {
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

// Sets the file's time stamp an hour back, so that a rewrite is visible.
inline fs::file_time_type AgeFile(const std::string& path) {
  auto t = fs::last_write_time(path) - std::chrono::hours(1);
  fs::last_write_time(path, t);
  return fs::last_write_time(path);
}

}  // namespace zs::test
