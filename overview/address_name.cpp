#include "overview/address_name.h"

namespace zs {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string ComposeAddressName(std::string_view abt, std::string_view nname, std::string_view vname) {
  std::string joined;
  joined.reserve(abt.size() + nname.size() + vname.size() + 2);
  joined.append(abt).append(" ").append(nname).append(" ").append(vname);
  std::string name(Trim(joined));
  for (char& c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u == 0xAC || u == 0xB6) c = ' ';
  }
  return name;
}

std::string ComposeAddressName(const AddressFields& f) { return ComposeAddressName(f.abt, f.nname, f.vname); }

std::string AddressNodeText(const AddressFields& f) {
  std::string suffix;
  suffix.append(f.knr).append(" ").append(f.gr);
  return ComposeAddressName(f) + " [" + std::string(Trim(suffix)) + "]";
}

}  // namespace zs
