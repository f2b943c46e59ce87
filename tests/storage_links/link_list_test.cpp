#include "storage/link_list.h"

#include <gtest/gtest.h>

#include <string>

namespace zs {
namespace {

struct ReadCase {
  std::string text;
  TLinkList items;
};

TEST(LinkListRead, FollowsTheCommaTextRules) {
  const ReadCase cases[] = {
      {"", {}},
      {"12,405,9", {"12", "405", "9"}},
      {"7", {"7"}},
      {"12, 405,\t9", {"12", "405", "9"}},      // blanks after commas
      {"  12 ,405 ", {"12", "405"}},            // blanks around items
      {"12,,9", {"12", "", "9"}},               // two commas: an empty item
      {",9", {"", "9"}},
      {"12,9,", {"12", "9"}},                   // a trailing comma gives none
      {"12,9,  ", {"12", "9"}},
      {"\"\"", {""}},
      {"\"a,b\",7", {"a,b", "7"}},
      {"\"say \"\"hi\"\"\",3", {"say \"hi\"", "3"}},
      {"\"open", {"open"}},                     // an unclosed quote runs to the end
      {"1 2", {"1", "2"}},                      // a blank ends an item
      {"\"x\"y", {"x", "y"}},
      {std::string("5,6\0,7", 6), {"5", "6"}},  // the text ends at NUL
      {std::string("\x01\x1f" "8", 3), {"8"}},  // control codes count as blanks
  };
  for (const ReadCase& c : cases) EXPECT_EQ(ReadLinkList(c.text), c.items) << '"' << c.text << '"';
}

TEST(LinkListWrite, JoinsAndQuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(WriteLinkList({}), "");
  EXPECT_EQ(WriteLinkList({""}), "\"\"");
  EXPECT_EQ(WriteLinkList({"12", "405", "9"}), "12,405,9");
  EXPECT_EQ(WriteLinkList({"a b", "x\"y", "p,q", "7"}), "\"a b\",\"x\"\"y\",\"p,q\",7");
  EXPECT_EQ(WriteLinkList({"", "9"}), ",9");
  EXPECT_EQ(WriteLinkList({"\xE4" "1"}), "\xE4" "1");  // bytes above 127 are not blanks
}

TEST(LinkListWrite, ReadsBackWhatItWrote) {
  const TLinkList lists[] = {
      {"1"}, {"12", "405", "9"}, {"a b", "x\"y", "p,q"}, {""}, {"", "9"}, {"\t", "\"", ",,"}, {"-5", "2147483647"}};
  for (const TLinkList& list : lists) EXPECT_EQ(ReadLinkList(WriteLinkList(list)), list) << WriteLinkList(list);
}

TEST(LinkListFind, IgnoresCaseAndAnswersTheFirstMatch) {
  const TLinkList list = {"12", "Ab", "9", "aB", "12"};
  EXPECT_EQ(FindLink(list, "12"), 0);
  EXPECT_EQ(FindLink(list, "ab"), 1);
  EXPECT_EQ(FindLink(list, "9"), 2);
  EXPECT_EQ(FindLink(list, "1"), -1);   // no prefix match
  EXPECT_EQ(FindLink(list, "012"), -1); // texts, not numbers
  EXPECT_EQ(FindLink({}, ""), -1);
  EXPECT_EQ(FindLink({"\xC4"}, "\xE4"), 0);  // Windows-1252 folding
}

}  // namespace
}  // namespace zs
