// The show-address request sent to the host's main window as WM_COPYDATA:
// dwData carries the address ID, lpData the request's GUID text with its
// terminating zero byte (cbData 39).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zs {

// Window class of the host's main window (any title).
inline constexpr const char* kHostWindowClass = "T_VELTO_Mainform";
// Identifies the request "show this address" to the host.
inline constexpr const char* ShowAddressGuid = "{439D41D6-2304-4EE9-B1C7-18119CBD63B7}";
// How long the request waits for a host that does not answer.
inline constexpr unsigned kShowAddressTimeoutMs = 5000;

struct TShowAddressRequest {
  uint32_t dwData = 0;   // the address ID
  std::string payload;   // exactly cbData bytes: the GUID text and one zero byte
  uint32_t cbData() const { return static_cast<uint32_t>(payload.size()); }
};

// An ID text read as a signed 32-bit decimal number (optional sign, digits
// only, no blanks); 0 when it is no such number. Never throws.
int32_t IdTextToInt(std::string_view text);

// The request for the node whose payload holds `id_text`.
TShowAddressRequest MakeShowAddressRequest(std::string_view id_text);

}  // namespace zs
