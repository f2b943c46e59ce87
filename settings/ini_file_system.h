// The file access behind the INI engine. Everything the engine does to the
// disk goes through this seam, so a test can make any step fail.
#pragma once

#include <cstddef>
#include <string>

namespace zs {

class IniFileSystem {
 public:
  // An open file; owned by the caller until Close.
  struct File;

  virtual ~IniFileSystem() = default;

  virtual bool Exists(const std::string& path) = 0;
  // True when the file exists and may not be written: no write bit in its
  // mode (checked by hand, since root ignores permission bits), or
  // FILE_ATTRIBUTE_READONLY on Windows.
  virtual bool IsReadOnly(const std::string& path) = 0;
  // nullptr when the file cannot be opened.
  virtual File* OpenRead(const std::string& path) = 0;
  // Creates a new, empty file in the directory of `path` whose name no other
  // file has; stores its path in `temp_path`. nullptr on failure.
  virtual File* CreateTemp(const std::string& path, std::string* temp_path) = 0;
  // Bytes read into `buf` (0 at the end of the file), or -1 on failure.
  virtual long Read(File* f, char* buf, std::size_t n) = 0;
  // All `n` bytes, or false.
  virtual bool Write(File* f, const char* buf, std::size_t n) = 0;
  // Flushes and closes; false when the data may not have reached the disk.
  // The file is closed in any case.
  virtual bool Close(File* f) = 0;
  // Puts `temp_path` in the place of `path` in one step: readers see the old
  // file or the new one, never a mix.
  virtual bool Replace(const std::string& temp_path, const std::string& path) = 0;
  virtual void Remove(const std::string& path) = 0;
};

// The real disk. Lives for the whole process.
IniFileSystem& DiskFileSystem();

// The directory of the running executable, with a trailing separator; empty
// when it cannot be found.
std::string RunningExecutableDirectory();

// `dir` followed by `name`, with one separator between them ("\" on Windows,
// "/" elsewhere) unless `dir` is empty or already ends in "\" or "/".
std::string JoinPath(const std::string& dir, const std::string& name);

}  // namespace zs
