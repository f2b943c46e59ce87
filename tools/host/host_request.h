// What the stand-in host makes of a WM_COPYDATA payload from another process,
// checked before anything is read.
#pragma once

#include <cstdint>
#include <string>

namespace zs::host {

inline constexpr char kShowAddressGuid[] = "{439D41D6-2304-4EE9-B1C7-18119CBD63B7}";
// Larger payloads are refused unread.
inline constexpr uint32_t kMaxPayload = 4096;

struct Request {
  bool valid = false;        // the payload could be read as a zero-terminated text
  bool show_address = false; // valid, cbData 39 and the show-address GUID
  std::string reason;        // why it is not valid
  std::string text;          // the text up to its zero byte (valid only)
};

// `data` may be null; `cb` is the sender's cbData. Reads at most `cb` bytes.
Request ParseRequest(const void* data, uint32_t cb);
// The text with bytes outside 32..126 (and the backslash) as \xNN.
std::string Escaped(const std::string& text);

}  // namespace zs::host
