#include "tools/host/host_request.h"

#include <cstdio>
#include <cstring>

namespace zs::host {

Request ParseRequest(const void* data, uint32_t cb) {
  Request r;
  if (cb == 0) {
    r.reason = "empty payload";
    return r;
  }
  if (!data) {
    r.reason = "no data";
    return r;
  }
  if (cb > kMaxPayload) {
    r.reason = "payload too large";
    return r;
  }
  const char* bytes = static_cast<const char*>(data);
  const void* zero = std::memchr(bytes, 0, cb);
  if (!zero) {
    r.reason = "text not terminated within cbData";
    return r;
  }
  r.valid = true;
  r.text.assign(bytes, static_cast<const char*>(zero) - bytes);
  r.show_address = cb == sizeof kShowAddressGuid && r.text == kShowAddressGuid;
  if (!r.show_address) r.reason = "unknown request";
  return r;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 32 && c < 127 && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out;
}

}  // namespace zs::host
