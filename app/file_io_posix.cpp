#include "app/file_io.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zs {

FileRead ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return errno == ENOENT ? FileRead::kMissing : FileRead::kError;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return FileRead::kError;
  }
  char buf[8192];
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      close(fd);
      bytes.clear();
      return FileRead::kError;
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<size_t>(n));
  }
  close(fd);
  return FileRead::kOk;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  const size_t slash = path.find_last_of('/');
  const std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
  std::string tmpl = dir + "/.zsmnu.XXXXXX";
  const int fd = mkstemp(tmpl.data());
  if (fd < 0) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += static_cast<size_t>(n);
  }
  // The new content must be on disk before the name points at it.
  if (ok && fsync(fd) != 0) ok = false;
  if (close(fd) != 0) ok = false;
  // mkstemp creates 0600; a menu file is read by others.
  if (ok) chmod(tmpl.c_str(), 0644);
  if (ok && rename(tmpl.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) unlink(tmpl.c_str());
  return ok;
}

}  // namespace zs
