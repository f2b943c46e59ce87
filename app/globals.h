// The process-wide state the program keeps outside its windows, in one place.
// Everything else belongs to the window that uses it.
#pragma once

#include <string>

namespace zs {

// The host product's name, from the branding file ("ZEMBA.INI", OTHER,
// GLOBAL1); "Velto" until and unless the file names another.
inline std::string ProductName = "Velto";

// Node index of the entry the remove command took out last; the fill
// reselects that position. -1 at start; nothing sets it back.
inline int LastRemovedIndex = -1;

// The search: text of the last match (upper-cased a to z only) and its node
// index; -1 after a search that found nothing further.
inline std::string LastFindText;
inline int LastFindIndex = 0;

}  // namespace zs
