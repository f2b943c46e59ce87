// Decimal numbers in text from files, command lines and other processes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zs {

// `text` as a signed 32-bit decimal number: an optional sign, then digits
// only (no blanks, no other characters), inside the 32-bit range; nothing
// otherwise. Never throws.
std::optional<int32_t> ParseDecimal32(std::string_view text);

}  // namespace zs
