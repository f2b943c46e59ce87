#include "settings/user_mode.h"

#include "settings/big_ini_file.h"
#include "settings/ini_file_system.h"

namespace zs {

namespace {

constexpr const char* kFileName = "UserMode.INI";
constexpr const char* kSection = "MODE";

std::string& OverrideDirectory() {
  static std::string dir;
  return dir;
}

}  // namespace

std::string UserModeDirectory() {
  const std::string& o = OverrideDirectory();
  return o.empty() ? RunningExecutableDirectory() : o;
}

std::string UserModeFileName() {
  std::string dir = UserModeDirectory();
  return dir.empty() ? std::string() : JoinPath(dir, kFileName);
}

void SetUserModeDirectoryForTesting(std::string dir) {
  // Joining an empty name adds the separator a bare directory lacks.
  OverrideDirectory() = JoinPath(dir, "");
}

ScopedUserModeDirectory::ScopedUserModeDirectory(std::string dir) : previous_(OverrideDirectory()) {
  SetUserModeDirectoryForTesting(std::move(dir));
}

ScopedUserModeDirectory::~ScopedUserModeDirectory() { OverrideDirectory() = previous_; }

std::string QuoteUserString(std::string_view value) {
  std::string out;
  out.reserve(value.size() + 2);
  out.push_back('"');
  for (char c : value) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

std::string UnquoteUserString(std::string_view text) {
  if (text.empty() || text[0] != '"') return {};
  std::string out;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] == '"') {
      if (i + 1 < text.size() && text[i + 1] == '"') {
        out.push_back('"');
        ++i;
        continue;
      }
      break;
    }
    out.push_back(text[i]);
  }
  return out;
}

namespace {

// Runs `op` on the engine for the settings file; false when anything failed.
template <class Op>
bool WithStore(Op op) {
  try {
    std::string path = UserModeFileName();
    if (path.empty()) return false;
    TBigIniFile ini(path);
    op(ini);
    ini.UpdateFile();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

bool ReadUserBool(std::string_view key, bool def) {
  if (key.empty()) return def;
  bool result = def;
  if (!WithStore([&](TBigIniFile& ini) { result = ini.ReadBool(kSection, key, def); })) return def;
  return result;
}

void WriteUserBool(std::string_view key, bool value) {
  if (key.empty()) return;
  WithStore([&](TBigIniFile& ini) { ini.WriteBool(kSection, key, value); });
}

std::int32_t ReadUserInteger(std::string_view key, std::int32_t def) {
  if (key.empty()) return def;
  std::int32_t result = def;
  if (!WithStore([&](TBigIniFile& ini) { result = ini.ReadInteger(kSection, key, def); })) return def;
  return result;
}

void WriteUserInteger(std::string_view key, std::int32_t value) {
  if (key.empty()) return;
  WithStore([&](TBigIniFile& ini) { ini.WriteInteger(kSection, key, value); });
}

std::string ReadUserString(std::string_view key) {
  if (key.empty()) return {};
  std::string result;
  if (!WithStore([&](TBigIniFile& ini) { result = ini.ReadString(kSection, key, ""); })) return {};
  if (result.find('"') != std::string::npos) result = UnquoteUserString(result);
  return result;
}

void WriteUserString(std::string_view key, std::string_view value) {
  if (key.empty()) return;
  WithStore([&](TBigIniFile& ini) { ini.WriteString(kSection, key, QuoteUserString(value)); });
}

}  // namespace zs
