#include "kit/html_colors.h"

#include <array>

#include "kit/win_text.h"

namespace zs {
namespace {

struct NamedColor {
  const char* name;
  int32_t value;
};

constexpr int32_t Sys(int index) { return static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(index)); }

constexpr std::array<NamedColor, 42> kColors{{
    {"clBlack", 0x000000},         {"clMaroon", 0x000080},
    {"clGreen", 0x008000},         {"clOlive", 0x008080},
    {"clNavy", 0x800000},          {"clPurple", 0x800080},
    {"clTeal", 0x808000},          {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},        {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},          {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},          {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},          {"clWhite", 0xFFFFFF},
    {"clScrollBar", Sys(0)},       {"clBackground", Sys(1)},
    {"clActiveCaption", Sys(2)},   {"clInactiveCaption", Sys(3)},
    {"clMenu", Sys(4)},            {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},     {"clMenuText", Sys(7)},
    {"clWindowText", Sys(8)},      {"clCaptionText", Sys(9)},
    {"clActiveBorder", Sys(10)},   {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},   {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},  {"clBtnFace", Sys(15)},
    {"clBtnShadow", Sys(16)},      {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},        {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)},   {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},        {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},         {"clNone", kColorValueNone},
}};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::optional<int32_t> ColorFromName(std::string_view name) {
  for (const NamedColor& c : kColors)
    if (SameText(c.name, name)) return c.value;
  return std::nullopt;
}

int32_t MarkupColor(std::string_view text) {
  if (text.size() == 7 && text[0] == '#') {
    int v[6];
    bool ok = true;
    for (int i = 0; i < 6; ++i) ok = ok && (v[i] = HexDigit(text[static_cast<size_t>(i) + 1])) >= 0;
    if (ok) {
      const int r = v[0] * 16 + v[1], g = v[2] * 16 + v[3], b = v[4] * 16 + v[5];
      return (b << 16) | (g << 8) | r;
    }
    return 0;
  }
  if (SameText(text, "clScrollBar") || SameText(text, "clNone")) return 0;
  return ColorFromName(text).value_or(0);
}

}  // namespace zs
