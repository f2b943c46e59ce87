#include "app/file_io.h"

#include <windows.h>

namespace zs {

FileRead ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD err = GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? FileRead::kMissing : FileRead::kError;
  }
  bool ok = true;
  char buf[8192];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(h, buf, sizeof buf, &n, nullptr)) {
      ok = false;
      break;
    }
    if (n == 0) break;
    bytes.append(buf, n);
  }
  CloseHandle(h);
  if (!ok) bytes.clear();
  return ok ? FileRead::kOk : FileRead::kError;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  const size_t slash = path.find_last_of("\\/");
  const std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
  char tmp[MAX_PATH];
  // Creates a unique, empty file in the same directory: the rename below then
  // stays on one volume and is a single directory update.
  if (GetTempFileNameA(dir.c_str(), "zsm", 0, tmp) == 0) return false;
  HANDLE h = CreateFileA(tmp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DeleteFileA(tmp);
    return false;
  }
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(bytes.size() - done > 1u << 20 ? 1u << 20 : bytes.size() - done);
    DWORD n = 0;
    if (!WriteFile(h, bytes.data() + done, chunk, &n, nullptr) || n == 0) ok = false;
    done += n;
  }
  if (ok && !FlushFileBuffers(h)) ok = false;
  if (!CloseHandle(h)) ok = false;
  if (ok && !MoveFileExA(tmp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) ok = false;
  if (!ok) DeleteFileA(tmp);
  return ok;
}

}  // namespace zs
