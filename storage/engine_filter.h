// The filter expressions the engine understands: a field name, "=" and a
// decimal integer, with blanks allowed around each part ("SelfID=12",
// " SELFID = -3 "). Nothing else: no other operator, no quotes, no AND.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zs::engine {

struct FilterExpr {
  std::string field;
  int32_t value = 0;
};

// Parses `text`; false, with a reason in `error`, when it is not of that form
// or the number does not fit a signed 32-bit integer. Never throws.
bool ParseFilter(std::string_view text, FilterExpr* out, std::string* error);

}  // namespace zs::engine
