#include "tools/host/host_request.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zs::host {
namespace {

TEST(HostRequest, ChecksThePayloadBeforeReadingIt) {
  Request r = ParseRequest(kShowAddressGuid, 39);
  EXPECT_TRUE(r.valid);
  EXPECT_TRUE(r.show_address);
  EXPECT_EQ(r.text, kShowAddressGuid);

  // 38 bytes: the zero byte is outside cbData.
  r = ParseRequest(kShowAddressGuid, 38);
  EXPECT_FALSE(r.valid);
  EXPECT_EQ(r.reason, "text not terminated within cbData");
  EXPECT_TRUE(r.text.empty());

  r = ParseRequest(nullptr, 39);
  EXPECT_FALSE(r.valid);
  r = ParseRequest(kShowAddressGuid, 0);
  EXPECT_FALSE(r.valid);
  EXPECT_FALSE(ParseRequest("x", kMaxPayload + 1).valid);

  // Readable but another request: a longer block, or another text.
  char longer[64] = {};
  std::memcpy(longer, kShowAddressGuid, 39);
  r = ParseRequest(longer, sizeof longer);
  EXPECT_TRUE(r.valid);
  EXPECT_FALSE(r.show_address);
  r = ParseRequest("{00000000-0000-0000-0000-000000000000}", 39);
  EXPECT_TRUE(r.valid);
  EXPECT_FALSE(r.show_address);
  EXPECT_EQ(r.reason, "unknown request");
}

TEST(HostRequest, EscapesWhatIsNotPlainText) {
  EXPECT_EQ(Escaped("a\\b\r\n\xE4"), "a\\x5Cb\\x0D\\x0A\\xE4");
}

}  // namespace
}  // namespace zs::host
