// The user settings store: typed options and window geometry in
// "UserMode.INI" beside the executable, section "MODE". Every call loads the
// file, does one read or one write and releases it again; nothing is cached.
// Failures never reach the caller: a read answers its default, a write is
// lost. An empty key returns at once without touching the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zs {

bool ReadUserBool(std::string_view key, bool def);
// Stored as "1" or "0".
void WriteUserBool(std::string_view key, bool value);
// Decimal, or hexadecimal after "0x" or "$"; anything else answers `def`.
std::int32_t ReadUserInteger(std::string_view key, std::int32_t def);
void WriteUserInteger(std::string_view key, std::int32_t value);
// The stored text, unquoted when it contains a double quote; "" when the
// key is missing or the stored text holds a quote but does not start with one.
std::string ReadUserString(std::string_view key);
// Stored in double quotes, inner quotes doubled. A value cannot hold a line
// break: a CR in it splits the line when the file is read again.
void WriteUserString(std::string_view key, std::string_view value);

// `value` in double quotes with every inner double quote doubled.
std::string QuoteUserString(std::string_view value);
// Unquotes a stored text: "" unless it starts with a double quote; then the
// text up to the first quote not followed by another, each doubled quote
// made one. Without a closing quote, everything after the opening one.
std::string UnquoteUserString(std::string_view text);

// The directory the store keeps "UserMode.INI" in, with a trailing
// separator: the running executable's directory unless overridden.
std::string UserModeDirectory();
// Full path of the settings file.
std::string UserModeFileName();

// Points the store at `dir` (with or without a trailing "\" or "/") instead
// of the executable's directory; an empty `dir` restores the default. For
// tests of anything that keeps settings; not thread-safe, like the store.
void SetUserModeDirectoryForTesting(std::string dir);

// Overrides the directory for its lifetime and restores the previous one.
class ScopedUserModeDirectory {
 public:
  explicit ScopedUserModeDirectory(std::string dir);
  ~ScopedUserModeDirectory();
  ScopedUserModeDirectory(const ScopedUserModeDirectory&) = delete;
  ScopedUserModeDirectory& operator=(const ScopedUserModeDirectory&) = delete;

 private:
  std::string previous_;
};

}  // namespace zs
