#include "ui/message_box.h"

namespace zs {

std::string ConvertBreakCodes(std::string_view text) {
  constexpr std::string_view kCode = "#13#10";
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text.substr(i, kCode.size()) == kCode) {
      out += "<BR>";
      i += kCode.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

int MaxBoxWindowHeight(int screen_height) {
  if (screen_height <= 0) return 0;
  const long tenths = 7L * screen_height;  // 70 % = tenths / 10
  long q = tenths / 10;
  const long rem = tenths % 10;
  if (rem > 5 || (rem == 5 && (q % 2) == 1)) ++q;
  return static_cast<int>(q);
}

}  // namespace zs
