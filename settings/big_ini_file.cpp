#include "settings/big_ini_file.h"

#include <algorithm>
#include <memory>
#include <numeric>

#include "kit/win_text.h"

namespace zs {

namespace {

constexpr char kCtrlZ = 26;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Splits bytes into lines as they arrive, chunk by chunk.
class LineSplitter {
 public:
  explicit LineSplitter(TSectionList& out) : out_(out) {}

  // False once a Ctrl-Z was seen: nothing after it counts.
  bool Feed(const char* p, std::size_t n) {
    std::size_t i = 0;
    if (skip_lf_ && n > 0) {
      skip_lf_ = false;
      if (p[0] == '\n') i = 1;
    }
    while (i < n) {
      // Take the run up to the next CR or Ctrl-Z in one piece.
      std::size_t j = i;
      while (j < n && p[j] != '\r' && p[j] != kCtrlZ) ++j;
      line_.append(p + i, j - i);
      if (j == n) break;
      if (p[j] == kCtrlZ) {
        Finish();
        return false;
      }
      EndLine();
      i = j + 1;
      if (i == n) {
        skip_lf_ = true;
      } else if (p[i] == '\n') {
        ++i;
      }
    }
    return true;
  }

  void Finish() {
    if (!line_.empty()) EndLine();
  }

 private:
  void EndLine() {
    if (!line_.empty()) {
      if (line_.size() >= 2 && line_.front() == '[' && line_.back() == ']') {
        out_.push_back(TIniSection{line_.substr(1, line_.size() - 2), {}});
      } else if (!out_.empty()) {
        out_.back().lines.push_back(line_);  // a copy: line_ keeps its capacity
      }
    }
    line_.clear();
  }

  TSectionList& out_;
  std::string line_;
  bool skip_lf_ = false;
};

// Collects output in buffer-sized pieces.
class BufferedWriter {
 public:
  BufferedWriter(IniFileSystem& fs, IniFileSystem::File* f, std::size_t size) : fs_(fs), f_(f), size_(size) {
    buf_.reserve(size);
  }
  bool Put(std::string_view s) {
    while (!s.empty()) {
      std::size_t take = std::min(s.size(), size_ - buf_.size());
      buf_.append(s.substr(0, take));
      s.remove_prefix(take);
      if (buf_.size() == size_ && !Flush()) return false;
    }
    return true;
  }
  bool Flush() {
    if (buf_.empty()) return true;
    bool ok = fs_.Write(f_, buf_.data(), buf_.size());
    buf_.clear();
    return ok;
  }

 private:
  IniFileSystem& fs_;
  IniFileSystem::File* f_;
  std::size_t size_;
  std::string buf_;
};

}  // namespace

std::int32_t IniTextToInt(std::string_view text, std::int32_t def) {
  std::string s(text);
  if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.replace(0, 2, "$");
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i < s.size() && s[i] == '$') {
    ++i;
    if (i == s.size()) return def;
    std::uint64_t v = 0;
    for (; i < s.size(); ++i) {
      int d = HexDigit(s[i]);
      if (d < 0) return def;
      v = v * 16 + static_cast<unsigned>(d);
      if (v > 0xFFFFFFFFull) return def;
    }
    std::uint32_t bits = static_cast<std::uint32_t>(v);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
  }
  if (i == s.size()) return def;
  std::int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return def;
    v = v * 10 + (s[i] - '0');
    if (v > 2147483648LL) return def;
  }
  if (negative) v = -v;
  if (v > 2147483647LL) return def;
  return static_cast<std::int32_t>(v);
}

TBigIniFile::TBigIniFile(std::string file_name, IniFileSystem* fs)
    : file_name_(std::move(file_name)), fs_(fs ? fs : &DiskFileSystem()) {
  if (file_name_.empty() || !fs_->Exists(file_name_)) return;
  IniFileSystem::File* f = fs_->OpenRead(file_name_);
  if (!f) throw EInOutError("cannot open " + file_name_);
  TSectionList loaded;
  LineSplitter splitter(loaded);
  std::unique_ptr<char[]> buf(new char[buffer_size_]);
  bool failed = false;
  for (;;) {
    long n = fs_->Read(f, buf.get(), buffer_size_);
    if (n < 0) {
      failed = true;
      break;
    }
    if (n == 0) {
      splitter.Finish();
      break;
    }
    if (!splitter.Feed(buf.get(), static_cast<std::size_t>(n))) break;
  }
  fs_->Close(f);
  if (failed) throw EInOutError("cannot read " + file_name_);
  sections_ = std::move(loaded);
  RemoveDuplicateSections();
  modified_ = false;
}

TBigIniFile::~TBigIniFile() {
  try {
    UpdateFile();
  } catch (...) {
    // A release must not fail: the change is lost, as the store expects.
  }
}

void TBigIniFile::LoadFromText(std::string_view text) {
  TSectionList loaded;
  LineSplitter splitter(loaded);
  if (splitter.Feed(text.data(), text.size())) splitter.Finish();
  sections_ = std::move(loaded);
  current_section_ = 0;
  RemoveDuplicateSections();
  modified_ = false;
}

void TBigIniFile::RemoveDuplicateSections() {
  if (sections_.size() < 2) return;
  std::vector<std::size_t> order(sections_.size());
  std::iota(order.begin(), order.end(), 0);
  // Stable: among equal names the one earlier in the file comes first.
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return CompareText(sections_[a].name, sections_[b].name) < 0;
  });
  std::vector<bool> drop(sections_.size(), false);
  std::size_t kept = order[0];
  for (std::size_t i = 1; i < order.size(); ++i) {
    std::size_t pos = order[i];
    if (SameText(sections_[pos].name, sections_[kept].name)) {
      drop[std::max(pos, kept)] = true;
      kept = std::min(pos, kept);
    } else {
      kept = pos;
    }
  }
  std::size_t out = 0;
  for (std::size_t i = 0; i < sections_.size(); ++i)
    if (!drop[i]) {
      if (out != i) sections_[out] = std::move(sections_[i]);
      ++out;
    }
  sections_.resize(out);
}

int TBigIniFile::FindSection(std::string_view name) {
  const int n = static_cast<int>(sections_.size());
  if (n == 0) return -1;
  int i = (current_section_ >= 0 && current_section_ < n) ? current_section_ : 0;
  for (int tried = 0; tried < n; ++tried) {
    if (SameText(sections_[i].name, name)) {
      current_section_ = i;
      return i;
    }
    if (++i == n) i = 0;
  }
  return -1;
}

int TBigIniFile::FindKey(const TIniSection& s, std::string_view key) {
  for (std::size_t i = 0; i < s.lines.size(); ++i) {
    std::string_view line = s.lines[i];
    std::size_t eq = line.find('=');
    if (eq != std::string_view::npos && SameText(line.substr(0, eq), key)) return static_cast<int>(i);
  }
  return -1;
}

std::string TBigIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) {
  int s = FindSection(section);
  if (s < 0) return std::string(def);
  int k = FindKey(sections_[s], key);
  if (k < 0) return std::string(def);
  const std::string& line = sections_[s].lines[k];
  return line.substr(line.find('=') + 1);
}

void TBigIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string line;
  line.reserve(key.size() + 1 + value.size());
  line.append(key).append("=").append(value);
  int s = FindSection(section);
  if (s < 0) {
    sections_.push_back(TIniSection{std::string(section), {}});
    s = static_cast<int>(sections_.size()) - 1;
    current_section_ = s;
  }
  TIniSection& sec = sections_[s];
  int k = FindKey(sec, key);
  if (k < 0) {
    sec.lines.push_back(std::move(line));
    modified_ = true;
  } else if (sec.lines[k] != line) {
    sec.lines[k] = std::move(line);
    modified_ = true;
  }
}

std::int32_t TBigIniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t def) {
  return IniTextToInt(ReadString(section, key, ""), def);
}

void TBigIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

bool TBigIniFile::ReadBool(std::string_view section, std::string_view key, bool def) {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TBigIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string TBigIniFile::SaveToText() const {
  std::string out;
  for (const TIniSection& s : sections_) {
    if (s.lines.empty()) continue;
    out.append("[").append(s.name).append("]\r\n");
    for (const std::string& l : s.lines) out.append(l).append("\r\n");
    out.append("\r\n");
  }
  return out;
}

void TBigIniFile::UpdateFile() {
  if (!modified_ || file_name_.empty()) return;
  if (fs_->IsReadOnly(file_name_)) throw EInOutError("read-only: " + file_name_);
  std::string temp;
  IniFileSystem::File* f = fs_->CreateTemp(file_name_, &temp);
  if (!f) throw EInOutError("cannot create a temporary file beside " + file_name_);
  bool ok = true;
  {
    BufferedWriter w(*fs_, f, buffer_size_);
    for (const TIniSection& s : sections_) {
      if (s.lines.empty()) continue;
      ok = w.Put("[") && w.Put(s.name) && w.Put("]\r\n");
      for (std::size_t i = 0; ok && i < s.lines.size(); ++i) ok = w.Put(s.lines[i]) && w.Put("\r\n");
      ok = ok && w.Put("\r\n");
      if (!ok) break;
    }
    ok = ok && w.Flush();
  }
  ok = fs_->Close(f) && ok;
  if (!ok || !fs_->Replace(temp, file_name_)) {
    fs_->Remove(temp);
    throw EInOutError("cannot write " + file_name_);
  }
  modified_ = false;
}

}  // namespace zs
