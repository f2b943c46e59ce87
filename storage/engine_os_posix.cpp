#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "kit/win_text.h"
#include "storage/engine_os.h"

namespace zs::engine::os {
namespace {

bool IsDir(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `dir` (with trailing "/") named `name` under case folding.
bool MatchEntry(const std::string& dir, std::string_view name, std::string* found) {
  std::string exact = dir + std::string(name);
  if (Exists(exact)) {
    *found = exact;
    return true;
  }
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return false;
  bool ok = false;
  while (dirent* e = ::readdir(d)) {
    if (SameText(e->d_name, name)) {
      *found = dir + e->d_name;
      ok = true;
      break;
    }
  }
  ::closedir(d);
  return ok;
}

}  // namespace

bool ResolveDirectory(std::string_view windows_path, std::string* native_dir) {
  std::string path;
  size_t i = 0;
  if (!windows_path.empty() && (windows_path[0] == '\\' || windows_path[0] == '/')) {
    path = "/";
    i = 1;
  }
  // "" stands for the current directory; parts are appended with a trailing "/".
  while (i <= windows_path.size()) {
    size_t j = i;
    while (j < windows_path.size() && windows_path[j] != '\\' && windows_path[j] != '/') ++j;
    std::string_view part = windows_path.substr(i, j - i);
    if (!part.empty() && part != ".") {
      std::string next;
      if (part == "..") {
        next = path + "..";
      } else if (!MatchEntry(path, part, &next)) {
        return false;
      }
      if (!IsDir(next)) return false;
      path = next + "/";
    }
    i = j + 1;
  }
  if (!path.empty() && !IsDir(path)) return false;
  if (path.empty() && !IsDir(".")) return false;
  *native_dir = path;
  return true;
}

bool FindFile(const std::string& dir, std::string_view name, std::string* native_path) {
  if (name.empty()) return false;
  return MatchEntry(dir, name, native_path);
}

bool IsRegularFile(const std::string& native_path) {
  struct stat st;
  return ::stat(native_path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool RemoveFile(const std::string& native_path) { return ::unlink(native_path.c_str()) == 0; }

namespace {

// Makes a new name in the directory of `path` durable.
void SyncDirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    SyncDirectoryOf(to);
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
  // A file system without RENAME_NOREPLACE: link() fails as well when the
  // target exists, so two creators cannot both win.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  SyncDirectoryOf(to);
  return true;
}

std::string SqlitePath(const std::string& native_path) { return native_path; }

bool ReadHead(const std::string& native_path, size_t size, std::string* head) {
  int fd = ::open(native_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  head->assign(size, '\0');
  size_t got = 0;
  while (got < size) {
    ssize_t r = ::read(fd, head->data() + got, size - got);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    got += static_cast<size_t>(r);
  }
  ::close(fd);
  head->resize(got);
  return true;
}

uint32_t ProcessId() { return static_cast<uint32_t>(::getpid()); }

void SleepMs(int ms) {
  timespec ts{ms / 1000, (ms % 1000) * 1000000L};
  while (::nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

LockFile::~LockFile() { Close(); }

bool LockFile::Open(const std::string& native_path) {
  if (fd_ >= 0) return true;
  fd_ = ::open(native_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  return fd_ >= 0;
}

bool LockFile::IsOpen() const { return fd_ >= 0; }

// Open-file-description locks: owned by this descriptor, not by the process,
// so two cursors of one process conflict, and closing another descriptor of
// the same file does not drop them (as it would classic POSIX locks).
bool LockFile::TryLock(uint64_t offset) {
  if (fd_ < 0) return false;
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = static_cast<off_t>(offset);
  fl.l_len = 1;
  fl.l_pid = 0;
  while (::fcntl(fd_, F_OFD_SETLK, &fl) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

void LockFile::Unlock(uint64_t offset) {
  if (fd_ < 0) return;
  struct flock fl {};
  fl.l_type = F_UNLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = static_cast<off_t>(offset);
  fl.l_len = 1;
  fl.l_pid = 0;
  ::fcntl(fd_, F_OFD_SETLK, &fl);
}

void LockFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace zs::engine::os
