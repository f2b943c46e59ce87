// Any text given as a filter: the parser answers without crashing, and what it
// accepts is exactly "<name> = <int32>" with blanks around the parts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "storage/engine_filter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  zs::engine::FilterExpr f;
  std::string error;
  const bool ok = zs::engine::ParseFilter(text, &f, &error);
  if (!ok) {
    if (error.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  if (f.field.empty() || text.find('=') == std::string_view::npos) std::abort();
  for (char c : f.field) {
    const bool word = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!word) std::abort();
  }
  // The canonical spelling parses to the same expression.
  zs::engine::FilterExpr again;
  if (!zs::engine::ParseFilter(f.field + "=" + std::to_string(f.value), &again, &error)) std::abort();
  if (again.field != f.field || again.value != f.value) std::abort();
  return 0;
}
