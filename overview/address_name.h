// How an address reads in the overview and in the link editor. The fields
// are the raw Windows-1252 texts of an "Adressen.adt" record.
#pragma once

#include <string>
#include <string_view>

namespace zs {

struct AddressFields {
  std::string_view abt;    // "Abt"
  std::string_view nname;  // "NName"
  std::string_view vname;  // "VName"
  std::string_view knr;    // "KNR"
  std::string_view gr;     // "GR"
};

// "Abt" + " " + "NName" + " " + "VName", trimmed of leading and trailing
// bytes of code 32 or below, then every "¬" (0xAC) and "¶" (0xB6) turned into
// a blank (after the trim, so such a byte at either end leaves a blank there).
std::string ComposeAddressName(std::string_view abt, std::string_view nname, std::string_view vname);
std::string ComposeAddressName(const AddressFields& f);

// ComposeAddressName + " [" + the trimmed "KNR" + " " + "GR" + "]".
std::string AddressNodeText(const AddressFields& f);

}  // namespace zs
