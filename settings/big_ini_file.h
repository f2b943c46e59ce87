// TBigIniFile: the INI engine behind every INI file of the program. It loads
// the whole file when created, answers reads and writes from memory, and
// writes the file back only when a write changed something.
//
// File form: 8-bit ANSI text. A line ends at CR or CR LF; a lone LF is an
// ordinary character; reading stops at the first Ctrl-Z (26). A header is a
// line that starts with "[" and ends with "]"; other non-empty lines are the
// entry lines of the last header, kept verbatim. Lines before the first header
// and empty lines are dropped; of sections whose names are equal under
// zs::SameText only the first survives. The key of an entry line is the text
// before its first "=", untrimmed; section names and keys compare with
// zs::SameText.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_file_system.h"

namespace zs {

// An input/output failure of the engine: the file exists but cannot be
// read, or a changed file cannot be written back.
class EInOutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One section: its name as in the file and its entry lines in file order.
struct TIniSection {
  std::string name;
  std::vector<std::string> lines;
};
using TSectionList = std::vector<TIniSection>;

// Signed 32-bit integer from settings text: "0x" (any case) or "$" before
// hexadecimal digits, otherwise decimal; leading blanks skipped, optional
// sign. Hexadecimal takes up to 32 bits as the two's complement pattern
// ("$FFFFFFFF" is -1). Empty text, trailing characters or a value outside
// the 32-bit range give `def`.
std::int32_t IniTextToInt(std::string_view text, std::int32_t def);

class TBigIniFile {
 public:
  static constexpr std::size_t kBufferSize = 16384;

  // Loads `file_name` unless it is empty or the file does not exist.
  // Throws EInOutError when the file exists but cannot be read. `fs` must
  // outlive the object; nullptr is the real disk.
  explicit TBigIniFile(std::string file_name, IniFileSystem* fs = nullptr);
  TBigIniFile(const TBigIniFile&) = delete;
  TBigIniFile& operator=(const TBigIniFile&) = delete;
  // Runs UpdateFile; a failure there is swallowed (the change is lost). Call
  // UpdateFile yourself to learn of it.
  virtual ~TBigIniFile();

  // Value of the first line of `section` whose key is `key`; `def` when the
  // section or the key is missing. An empty value gives "", not `def`.
  virtual std::string ReadString(std::string_view section, std::string_view key, std::string_view def);
  // Stores the line key "=" value: appended when the key is missing,
  // replaced in place when the stored line differs (letter case included),
  // untouched otherwise. A missing section is appended at the end.
  virtual void WriteString(std::string_view section, std::string_view key, std::string_view value);
  virtual std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def);
  virtual void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  // Non-zero integer is true; text that is no integer gives `def`.
  virtual bool ReadBool(std::string_view section, std::string_view key, bool def);
  virtual void WriteBool(std::string_view section, std::string_view key, bool value);
  // Writes the file when it was modified and has a name: the new content
  // goes to a temporary file in the same directory, which then replaces the
  // old file in one step, so a failure leaves the old file whole and removes
  // the temporary one. A read-only file is never replaced. Throws
  // EInOutError on any failure; the modified flag then stays set.
  virtual void UpdateFile();

  // Replaces the content with `text` parsed as a file's bytes would be, and
  // clears the modified flag. Used by loading; open for tools and tests.
  void LoadFromText(std::string_view text);
  // The content in the form UpdateFile writes: for every section with at
  // least one entry line, "[name]", its lines, and one empty line, each
  // ended by CR LF.
  std::string SaveToText() const;

  const std::string& FileName() const { return file_name_; }
  bool Modified() const { return modified_; }
  const TSectionList& Sections() const { return sections_; }

 private:
  // Index of the section named `name` or -1; a hit becomes the current
  // section. The search starts at the current section and wraps once.
  int FindSection(std::string_view name);
  static int FindKey(const TIniSection& s, std::string_view key);
  void RemoveDuplicateSections();

  std::string file_name_;
  bool modified_ = false;
  TSectionList sections_;
  int current_section_ = 0;
  std::size_t buffer_size_ = kBufferSize;
  IniFileSystem* fs_;
};

}  // namespace zs
