#include "overview/show_address.h"

#include "kit/number_text.h"

namespace zs {

int32_t IdTextToInt(std::string_view text) { return ParseDecimal32(text).value_or(0); }

TShowAddressRequest MakeShowAddressRequest(std::string_view id_text) {
  TShowAddressRequest r;
  // A negative ID travels as its two's-complement bit pattern, as the host reads it back.
  r.dwData = static_cast<uint32_t>(IdTextToInt(id_text));
  r.payload = ShowAddressGuid;
  r.payload.push_back('\0');
  return r;
}

}  // namespace zs
