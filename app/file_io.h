// The launch code's only way to the file system, so that the menu-file update
// stays portable: file_io_win.cpp on Windows, file_io_posix.cpp elsewhere.
#pragma once

#include <string>
#include <string_view>

namespace zs {

enum class FileRead { kOk, kMissing, kError };

// Reads the whole file at `path` into `bytes`. kMissing only when the file
// does not exist; any other failure (locked, unreadable, a directory) is
// kError, so that a caller never mistakes an unreadable file for an absent one.
FileRead ReadWholeFile(const std::string& path, std::string& bytes);

// Writes `bytes` to a new temporary file in the directory of `path` and
// renames it over `path` in one step (replacing an existing file). On any
// failure the temporary file is removed, `path` is left as it was, and the
// answer is false.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace zs
