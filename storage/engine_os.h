// The engine's one seam to the operating system: Windows-style paths on every
// platform, file names that match without regard to case, an atomic rename
// that never replaces, and byte-range locks on a side file that the system
// releases when their holder dies (fcntl OFD locks / LockFileEx).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zs::engine::os {

// A directory given the Windows way ("\" or "/" separate, trailing separator
// optional, empty: the current directory) as a native path with a trailing
// separator, each part found without regard to case. False when there is no
// such directory.
bool ResolveDirectory(std::string_view windows_path, std::string* native_dir);

// The existing entry of `dir` (from ResolveDirectory) whose name equals `name`
// without regard to case; false when there is none.
bool FindFile(const std::string& dir, std::string_view name, std::string* native_path);

bool IsRegularFile(const std::string& native_path);
bool RemoveFile(const std::string& native_path);
// Moves `from` to `to`; fails (and leaves both) when `to` exists.
bool RenameNoReplace(const std::string& from, const std::string& to);
// The name SQLite wants for a native path (UTF-8 on Windows).
std::string SqlitePath(const std::string& native_path);
// Up to `size` bytes from the start of the file; false when it cannot be read.
bool ReadHead(const std::string& native_path, size_t size, std::string* head);

uint32_t ProcessId();
void SleepMs(int ms);

// A side file whose bytes stand for locks. Each object is its own lock owner:
// two objects conflict even within one process. Locks end with Close(), the
// destructor, or the death of the process.
class LockFile {
 public:
  LockFile() = default;
  ~LockFile();
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;

  // Opens (creating if needed) the file; idempotent.
  bool Open(const std::string& native_path);
  bool IsOpen() const;
  // Exclusive lock of one byte at `offset`, without waiting.
  bool TryLock(uint64_t offset);
  void Unlock(uint64_t offset);
  void Close();

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace zs::engine::os
