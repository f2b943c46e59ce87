// The link-list reader on arbitrary field text: it must never fail, and a
// list it reads must read back the same after writing (except for a
// trailing empty item, which the comma rules cannot express).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "storage/link_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zs::TLinkList list = zs::ReadLinkList(text);
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].find('\0') != std::string::npos) std::abort();
    if (zs::FindLink(list, list[i]) > static_cast<int>(i)) std::abort();
  }
  const bool expressible = list.size() <= 1 || !list.back().empty();
  if (expressible && zs::ReadLinkList(zs::WriteLinkList(list)) != list) std::abort();
  return 0;
}
