#include <windows.h>

#include <string>

#include "settings/ini_file_system.h"

namespace zs {

struct IniFileSystem::File {
  HANDLE h;
  bool written;
};

namespace {

class WinFileSystem final : public IniFileSystem {
 public:
  bool Exists(const std::string& path) override {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  bool IsReadOnly(const std::string& path) override {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) != 0;
  }

  File* OpenRead(const std::string& path) override {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return new File{h, false};
  }

  File* CreateTemp(const std::string& path, std::string* temp_path) override {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = path + ".~" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter_++) +
                         ".tmp";
      HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h == INVALID_HANDLE_VALUE) {
        DWORD e = GetLastError();
        if (e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS) continue;
        return nullptr;
      }
      *temp_path = name;
      return new File{h, true};
    }
    return nullptr;
  }

  long Read(File* f, char* buf, std::size_t n) override {
    DWORD got = 0;
    if (!ReadFile(f->h, buf, static_cast<DWORD>(n), &got, nullptr)) return -1;
    return static_cast<long>(got);
  }

  bool Write(File* f, const char* buf, std::size_t n) override {
    while (n > 0) {
      DWORD done = 0;
      if (!WriteFile(f->h, buf, static_cast<DWORD>(n), &done, nullptr) || done == 0) return false;
      buf += done;
      n -= done;
    }
    return true;
  }

  bool Close(File* f) override {
    // The new content must be on the disk before it replaces the old file.
    bool ok = !f->written || FlushFileBuffers(f->h) != 0;
    ok = CloseHandle(f->h) != 0 && ok;
    delete f;
    return ok;
  }

  bool Replace(const std::string& temp_path, const std::string& path) override {
    return MoveFileExA(temp_path.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  void Remove(const std::string& path) override { DeleteFileA(path.c_str()); }

 private:
  unsigned counter_ = 0;
};

}  // namespace

IniFileSystem& DiskFileSystem() {
  static WinFileSystem fs;
  return fs;
}

std::string RunningExecutableDirectory() {
  std::string buf(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) {
      buf.resize(n);
      break;
    }
    if (buf.size() > 32768) return {};
    buf.resize(buf.size() * 2);
  }
  std::size_t slash = buf.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : buf.substr(0, slash + 1);
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() == '/' || dir.back() == '\\') return dir + name;
  return dir + "\\" + name;
}

}  // namespace zs
