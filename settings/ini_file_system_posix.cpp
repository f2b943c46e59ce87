#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "settings/ini_file_system.h"

namespace zs {

struct IniFileSystem::File {
  int fd;
  bool written;
};

namespace {

class PosixFileSystem final : public IniFileSystem {
 public:
  bool Exists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
  }

  bool IsReadOnly(const std::string& path) override {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  }

  File* OpenRead(const std::string& path) override {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    return new File{fd, false};
  }

  File* CreateTemp(const std::string& path, std::string* temp_path) override {
    // The replacement keeps the old file's permissions; a new file gets the
    // usual 0666 less the umask, as a plain create would.
    struct stat st;
    const bool had_old = ::stat(path.c_str(), &st) == 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = path + ".~" + std::to_string(::getpid()) + "_" + std::to_string(counter_++) + ".tmp";
      int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0) {
        if (errno == EEXIST) continue;
        return nullptr;
      }
      if (had_old) (void)::fchmod(fd, st.st_mode & 07777);
      *temp_path = name;
      return new File{fd, true};
    }
    return nullptr;
  }

  long Read(File* f, char* buf, std::size_t n) override {
    for (;;) {
      ssize_t r = ::read(f->fd, buf, n);
      if (r < 0 && errno == EINTR) continue;
      return r < 0 ? -1 : static_cast<long>(r);
    }
  }

  bool Write(File* f, const char* buf, std::size_t n) override {
    while (n > 0) {
      ssize_t r = ::write(f->fd, buf, n);
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) return false;
      buf += r;
      n -= static_cast<std::size_t>(r);
    }
    return true;
  }

  bool Close(File* f) override {
    // The new content must be on the disk before it replaces the old file.
    bool ok = !f->written || ::fsync(f->fd) == 0 || errno == EINVAL;
    ok = ::close(f->fd) == 0 && ok;
    delete f;
    return ok;
  }

  bool Replace(const std::string& temp_path, const std::string& path) override {
    return ::rename(temp_path.c_str(), path.c_str()) == 0;
  }

  void Remove(const std::string& path) override { ::unlink(path.c_str()); }

 private:
  unsigned counter_ = 0;
};

}  // namespace

IniFileSystem& DiskFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

std::string RunningExecutableDirectory() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  std::string s(buf, static_cast<std::size_t>(n));
  std::size_t slash = s.find_last_of('/');
  return slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() == '/' || dir.back() == '\\') return dir + name;
  return dir + "/" + name;
}

}  // namespace zs
