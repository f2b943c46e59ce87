// Scratch directories and whole-file helpers for the settings tests; works
// natively and under Wine.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zs::test {

namespace fs = std::filesystem;

// A fresh directory, removed with everything in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (;;) {
      path_ = fs::temp_directory_path() /
              ("zs_settings_" + std::to_string(stamp) + "_" + std::to_string(counter++));
      std::error_code ec;
      if (fs::create_directory(path_, ec)) break;
    }
  }
  ~ScratchDir() {
    std::error_code ec;
    for (auto& e : fs::recursive_directory_iterator(path_, ec))
      fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const fs::path& path() const { return path_; }
  // The directory as a string, without a trailing separator.
  std::string str() const { return path_.string(); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  // Names of everything in the directory.
  std::vector<std::string> Entries() const {
    std::vector<std::string> out;
    for (auto& e : fs::directory_iterator(path_)) out.push_back(e.path().filename().string());
    return out;
  }

 private:
  fs::path path_;
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
