#include "overview/address_name.h"

#include <gtest/gtest.h>

namespace zs {
namespace {

TEST(ComposeAddressName, JoinsWithOneBlankEachAndTrims) {
  EXPECT_EQ(ComposeAddressName("", "Meier", "Eva"), "Meier Eva");
  EXPECT_EQ(ComposeAddressName("Einkauf", "", "Eva"), "Einkauf  Eva");
  EXPECT_EQ(ComposeAddressName("Einkauf", "Meier", ""), "Einkauf Meier");
  EXPECT_EQ(ComposeAddressName("", "", ""), "");
  EXPECT_EQ(ComposeAddressName(" \t", "Meier\r", " "), "Meier");
  EXPECT_EQ(ComposeAddressName("A", "B", "C"), "A B C");
}

TEST(ComposeAddressName, NotSignAndPilcrowBecomeBlanksAfterTheTrim) {
  EXPECT_EQ(ComposeAddressName("", "M\xB6ller", "Eva"), "M ller Eva");
  EXPECT_EQ(ComposeAddressName("", "Meier", "Eva\xAC"), "Meier Eva ");
  EXPECT_EQ(ComposeAddressName("\xB6", "Meier", ""), "  Meier");
  // Other high bytes stay.
  EXPECT_EQ(ComposeAddressName("", "M\xFCller", "\xC4nne"), "M\xFCller \xC4nne");
}

TEST(AddressNodeText, BracketsHoldTheTrimmedNumberAndGroup) {
  AddressFields f{"", "Meier", "Eva", "10020", "K"};
  EXPECT_EQ(AddressNodeText(f), "Meier Eva [10020 K]");
  f.gr = "";
  EXPECT_EQ(AddressNodeText(f), "Meier Eva [10020]");
  f.knr = "";
  f.gr = "K";
  EXPECT_EQ(AddressNodeText(f), "Meier Eva [K]");
  f.gr = "";
  EXPECT_EQ(AddressNodeText(f), "Meier Eva []");
  AddressFields empty{};
  EXPECT_EQ(AddressNodeText(empty), " []");
  AddressFields g{"Einkauf", "", "Eva\xB6", " 7 ", " B "};
  EXPECT_EQ(AddressNodeText(g), "Einkauf  Eva  [7   B]");
}

}  // namespace
}  // namespace zs
