// A fresh directory of its own under the temporary folder, removed with its
// contents at the end. Created exclusively, so test cases running in parallel
// processes never share one (addresses and counters repeat across processes).
#pragma once

#include <atomic>
#include <filesystem>
#include <random>
#include <string>

namespace zs::test {

class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::string& tag) {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    for (;;) {
      path_ = std::filesystem::temp_directory_path() /
              ("zs_" + tag + "_" + std::to_string(rd()) + "_" + std::to_string(counter++));
      std::error_code ec;
      if (std::filesystem::create_directory(path_, ec)) break;
    }
  }
  ~ScratchDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace zs::test
