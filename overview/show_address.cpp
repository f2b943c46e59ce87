#include "overview/show_address.h"

namespace zs {

int32_t IdTextToInt(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return 0;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > int64_t{INT32_MAX} + 1) return 0;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return 0;
  return static_cast<int32_t>(value);
}

TShowAddressRequest MakeShowAddressRequest(std::string_view id_text) {
  TShowAddressRequest r;
  // A negative ID travels as its two's-complement bit pattern, as the host reads it back.
  r.dwData = static_cast<uint32_t>(IdTextToInt(id_text));
  r.payload = ShowAddressGuid;
  r.payload.push_back('\0');
  return r;
}

}  // namespace zs
