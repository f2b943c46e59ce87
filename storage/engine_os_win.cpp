#include <windows.h>

#include "storage/engine_os.h"

namespace zs::engine::os {

bool ResolveDirectory(std::string_view windows_path, std::string* native_dir) {
  std::string path(windows_path);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  if (path.empty()) path.push_back('.');
  while (path.size() > 1 && path.back() == '\\' && !(path.size() == 3 && path[1] == ':')) path.pop_back();
  DWORD attr = GetFileAttributesA(path.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY)) return false;
  if (path.back() != '\\') path += '\\';
  *native_dir = path;
  return true;
}

bool FindFile(const std::string& dir, std::string_view name, std::string* native_path) {
  if (name.empty()) return false;
  std::string path = dir + std::string(name);
  DWORD attr = GetFileAttributesA(path.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES) return false;
  *native_path = path;
  return true;
}

bool IsRegularFile(const std::string& native_path) {
  DWORD attr = GetFileAttributesA(native_path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveFile(const std::string& native_path) { return DeleteFileA(native_path.c_str()) != 0; }

bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return false;
  return true;
}

// Paths are ANSI (the system's code page); SQLite takes UTF-8.
std::string SqlitePath(const std::string& native_path) {
  int wn = MultiByteToWideChar(CP_ACP, 0, native_path.c_str(), -1, nullptr, 0);
  if (wn <= 0) return native_path;
  std::wstring wide(static_cast<size_t>(wn), L'\0');
  MultiByteToWideChar(CP_ACP, 0, native_path.c_str(), -1, wide.data(), wn);
  int un = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (un <= 0) return native_path;
  std::string utf8(static_cast<size_t>(un), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), un, nullptr, nullptr);
  utf8.pop_back();  // the terminator
  return utf8;
}

bool ReadHead(const std::string& native_path, size_t size, std::string* head) {
  HANDLE h = CreateFileA(native_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  head->assign(size, '\0');
  DWORD got = 0;
  BOOL ok = ReadFile(h, head->data(), static_cast<DWORD>(size), &got, nullptr);
  CloseHandle(h);
  if (!ok) return false;
  head->resize(got);
  return true;
}

uint32_t ProcessId() { return GetCurrentProcessId(); }

void SleepMs(int ms) { Sleep(static_cast<DWORD>(ms)); }

LockFile::~LockFile() { Close(); }

bool LockFile::Open(const std::string& native_path) {
  if (handle_) return true;
  HANDLE h = CreateFileA(native_path.c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = h;
  return true;
}

bool LockFile::IsOpen() const { return handle_ != nullptr; }

// LockFileEx locks belong to the handle: two handles of one process conflict,
// and Windows drops them when the handle closes or the process ends.
bool LockFile::TryLock(uint64_t offset) {
  if (!handle_) return false;
  OVERLAPPED ov{};
  ov.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return LockFileEx(static_cast<HANDLE>(handle_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &ov) != 0;
}

void LockFile::Unlock(uint64_t offset) {
  if (!handle_) return;
  OVERLAPPED ov{};
  ov.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
  UnlockFileEx(static_cast<HANDLE>(handle_), 0, 1, 0, &ov);
}

void LockFile::Close() {
  if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

}  // namespace zs::engine::os
