// The link list of an ADRESSLINK record: the text of its ADRESSID field,
// items joined by commas ("12,405,9"). The same comma-text rules as the
// suite's string lists, so lists written by other programs of the suite read
// back item by item.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zs {

using TLinkList = std::vector<std::string>;

// Widest list the ADRESSID field holds, in characters.
constexpr size_t kLinkListMaxLength = 4000;

// Reads a list. Characters with codes 1 to 32 before and after an item are
// skipped; an item that starts with '"' runs to the closing quote ("" inside
// stands for one quote; an unclosed quote runs to the end); any other item
// runs up to the next comma or the next character with a code of 32 or
// below. Two commas in a row give an empty item, a trailing comma gives none,
// the empty text gives the empty list. The text ends at a NUL character, as
// the field's text does. Never fails.
TLinkList ReadLinkList(std::string_view text);

// Writes a list: items joined by ","; an item holding a character with a code
// of 32 or below, a '"' or a ',' is quoted with inner quotes doubled. A list
// of one empty item is written as two quote characters, the empty list as the
// empty text.
std::string WriteLinkList(const TLinkList& list);

// Index of the first item equal to `item` without regard to letter case, or
// -1 when there is none.
int FindLink(const TLinkList& list, std::string_view item);

}  // namespace zs
