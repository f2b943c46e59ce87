#include "ui/message_box.h"

#include <gtest/gtest.h>

namespace zs {
namespace {

TEST(ConvertBreakCodes, ReplacesTheSixCharactersLeftToRight) {
  EXPECT_EQ(ConvertBreakCodes("Satz eins.#13#10Satz zwei."), "Satz eins.<BR>Satz zwei.");
  EXPECT_EQ(ConvertBreakCodes("#13#10#13#10"), "<BR><BR>");
  EXPECT_EQ(ConvertBreakCodes("##13#10#"), "#<BR>#");
  EXPECT_EQ(ConvertBreakCodes("#13#1"), "#13#1");
  EXPECT_EQ(ConvertBreakCodes("#13#13#10"), "#13<BR>");
  EXPECT_EQ(ConvertBreakCodes("a\r\nb"), "a\r\nb");
  EXPECT_EQ(ConvertBreakCodes(""), "");
}

TEST(MaxBoxWindowHeight, SeventyPercentRoundedHalfToEven) {
  EXPECT_EQ(MaxBoxWindowHeight(1024), 717);  // 716.8
  EXPECT_EQ(MaxBoxWindowHeight(768), 538);   // 537.6
  EXPECT_EQ(MaxBoxWindowHeight(1000), 700);
  EXPECT_EQ(MaxBoxWindowHeight(1050), 735);
  EXPECT_EQ(MaxBoxWindowHeight(15), 10);     // 10.5: to the even 10
  EXPECT_EQ(MaxBoxWindowHeight(25), 18);     // 17.5: to the even 18
  EXPECT_EQ(MaxBoxWindowHeight(0), 0);
}

}  // namespace
}  // namespace zs
