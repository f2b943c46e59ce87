// Windows-1252 text rules shared by the whole system. Names of files,
// sections, keys, fields and components compare without regard to letter
// case, the way the ANSI functions of Windows fold Windows-1252 letters.
#pragma once

#include <string>
#include <string_view>

namespace zs {

// The lower-case partner of a Windows-1252 byte (A-Z, the accented capitals
// 0xC0-0xDE except the multiplication sign 0xD7, and Š Œ Ž Ÿ); every other
// byte is its own partner.
char FoldCase(char c);

std::string LowerText(std::string_view s);
// Equal after folding.
bool SameText(std::string_view a, std::string_view b);
// Byte order of the folded texts: <0, 0 or >0. Deterministic, for sorting
// names where only equality under folding matters.
int CompareText(std::string_view a, std::string_view b);

}  // namespace zs
