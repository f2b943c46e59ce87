// The system's colour names ("clRed", "clBtnFace", ... 42 of them) and their
// colour values (kit/gdi.h layout: 0x00BBGGRR, 0x80000000 + system colour
// index, 0x1FFFFFFF for clNone). Portable.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zs {

constexpr int32_t kColorValueNone = 0x1FFFFFFF;

// The value of a colour name, any letter case; nullopt for an unknown name.
std::optional<int32_t> ColorFromName(std::string_view name);

// A colour value of the label's markup: a colour name other than clScrollBar
// and clNone, or "#RRGGBB". Anything else gives black.
int32_t MarkupColor(std::string_view text);

}  // namespace zs
