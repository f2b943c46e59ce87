// Any bytes as an INI file: loading never fails, the rewrite reads back to
// the same non-empty sections and lines, values convert and unquote safely.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kit/win_text.h"
#include "settings/big_ini_file.h"
#include "settings/user_mode.h"

namespace {

void Fail(int line) {
  std::fprintf(stderr, "round-trip check failed at line %d\n", line);
  std::abort();
}
#define CHECK(ok) ((ok) ? (void)0 : Fail(__LINE__))

zs::TSectionList NonEmpty(const zs::TSectionList& in) {
  zs::TSectionList out;
  for (const auto& s : in)
    if (!s.lines.empty()) out.push_back(s);
  return out;
}

bool SameSections(const zs::TSectionList& a, const zs::TSectionList& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].name != b[i].name || a[i].lines != b[i].lines) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  zs::TBigIniFile first("");
  first.LoadFromText(text);

  const std::string saved = first.SaveToText();
  zs::TBigIniFile second("");
  second.LoadFromText(saved);
  CHECK(SameSections(NonEmpty(first.Sections()), second.Sections()));
  CHECK(second.SaveToText() == saved);

  // Every keyed line answers the value of the first line with its key.
  for (const auto& sec : second.Sections()) {
    for (const std::string& line : sec.lines) {
      const std::size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      const std::string key = line.substr(0, eq);
      std::string expected;
      for (const std::string& other : sec.lines) {
        const std::size_t e = other.find('=');
        if (e != std::string::npos && zs::SameText(std::string_view(other).substr(0, e), key)) {
          expected = other.substr(e + 1);
          break;
        }
      }
      const std::string value = second.ReadString(sec.name, key, "");
      CHECK(value == expected);
      (void)second.ReadInteger(sec.name, key, 0);
      (void)second.ReadBool(sec.name, key, true);
      const std::string plain = zs::UnquoteUserString(value);
      CHECK(plain.size() <= value.size());
      CHECK(zs::UnquoteUserString(zs::QuoteUserString(value)) == value);
      CHECK(zs::IniTextToInt(std::to_string(zs::IniTextToInt(value, 7)), -7) == zs::IniTextToInt(value, 7));
    }
  }

  // A value written under the first section's name reads back as written,
  // and the rewrite still round-trips.
  if (!second.Sections().empty() && size > 0) {
    const std::string section = second.Sections().front().name;
    const std::string value = zs::QuoteUserString(text.substr(0, size % 16));
    if (value.find_first_of("\r\x1A") == std::string::npos) {
      second.WriteString(section, "Fuzz.Key", value);
      CHECK(second.ReadString(zs::LowerText(section), "fuzz.key", "") == value);
      zs::TBigIniFile third("");
      third.LoadFromText(second.SaveToText());
      CHECK(SameSections(NonEmpty(second.Sections()), third.Sections()));
    }
  }
  return 0;
}
