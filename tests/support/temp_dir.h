// A fresh directory of its own under the temporary folder, removed with its
// contents at the end. Created exclusively, so test cases running in parallel
// processes never share one (addresses and counters repeat across processes).
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

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
      // Only a name already taken is worth another try.
      if (ec) throw std::filesystem::filesystem_error("cannot create a scratch directory", path_, ec);
    }
  }
  ~ScratchDirectory() {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Tests make files read-only; give them back so nothing stays behind.
    for (auto& e : fs::recursive_directory_iterator(path_, ec))
      fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The directory as a string, without a trailing separator.
  std::string str() const { return path_.string(); }
  // The directory with a trailing separator, ready to take a file name.
  std::string Prefix() const { return (path_ / "").string(); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }
  // The file's bytes; empty when it cannot be read.
  std::string Read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Names of everything in the directory.
  std::vector<std::string> Entries() const {
    std::vector<std::string> out;
    for (auto& e : std::filesystem::directory_iterator(path_)) out.push_back(e.path().filename().string());
    return out;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace zs::test
