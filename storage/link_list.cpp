#include "storage/link_list.h"

#include "kit/win_text.h"

namespace zs {
namespace {

// Codes 1..32; NUL ends the text and is handled by the callers.
bool IsBlank(unsigned char c) { return c >= 1 && c <= 32; }

}  // namespace

TLinkList ReadLinkList(std::string_view text) {
  // The field's text ends at the first NUL, as a C string would.
  if (const size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);

  TLinkList list;
  size_t p = 0;
  const size_t n = text.size();
  while (p < n && IsBlank(static_cast<unsigned char>(text[p]))) ++p;
  while (p < n) {
    std::string item;
    if (text[p] == '"') {
      ++p;
      while (p < n) {
        if (text[p] == '"') {
          if (p + 1 < n && text[p + 1] == '"') {
            item += '"';
            p += 2;
            continue;
          }
          ++p;  // closing quote
          break;
        }
        item += text[p++];
      }
    } else {
      const size_t start = p;
      while (p < n && static_cast<unsigned char>(text[p]) > 32 && text[p] != ',') ++p;
      item.assign(text.substr(start, p - start));
    }
    list.push_back(std::move(item));
    while (p < n && IsBlank(static_cast<unsigned char>(text[p]))) ++p;
    if (p < n && text[p] == ',') {
      ++p;
      while (p < n && IsBlank(static_cast<unsigned char>(text[p]))) ++p;
    }
  }
  return list;
}

std::string WriteLinkList(const TLinkList& list) {
  if (list.size() == 1 && list[0].empty()) return "\"\"";
  std::string out;
  for (size_t i = 0; i < list.size(); ++i) {
    if (i) out += ',';
    const std::string& item = list[i];
    bool quote = false;
    for (char c : item)
      if (static_cast<unsigned char>(c) <= 32 || c == '"' || c == ',') {
        quote = true;
        break;
      }
    if (!quote) {
      out += item;
      continue;
    }
    out += '"';
    for (char c : item) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

int FindLink(const TLinkList& list, std::string_view item) {
  for (size_t i = 0; i < list.size(); ++i)
    if (SameText(list[i], item)) return static_cast<int>(i);
  return -1;
}

}  // namespace zs
