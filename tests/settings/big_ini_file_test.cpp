// Reading rules of the INI engine, on text parsed in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/big_ini_file.h"

namespace zs {
namespace {

struct Loaded {
  explicit Loaded(const std::string& text) : ini("") { ini.LoadFromText(text); }
  std::string Read(const char* section, const char* key) { return ini.ReadString(section, key, "<def>"); }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (const auto& s : ini.Sections()) out.push_back(s.name);
    return out;
  }
  TBigIniFile ini;
};

TEST(BigIniFileLoad, LineEndsAtCrOrCrLfButNotAtLoneLf) {
  Loaded f("[S]\r\na=1\rb=2\r\nc=3\nd=4\r\n");
  EXPECT_EQ(f.Read("S", "a"), "1");
  EXPECT_EQ(f.Read("S", "b"), "2");
  EXPECT_EQ(f.Read("S", "c"), "3\nd=4");
  EXPECT_EQ(f.Read("S", "d"), "<def>");
}

TEST(BigIniFileLoad, LfOnlyFileIsOneLineAndFindsNothing) {
  Loaded f("[MODE]\nTFAdressExtremeLinks.Sound.On=0\n");
  EXPECT_TRUE(f.ini.Sections().empty());
  EXPECT_TRUE(f.ini.ReadBool("MODE", "TFAdressExtremeLinks.Sound.On", true));
}

TEST(BigIniFileLoad, ByteOrderMarkHidesFirstHeader) {
  Loaded f("\xEF\xBB\xBF[MODE]\r\nk=1\r\n[Other]\r\nx=2\r\n");
  EXPECT_EQ(f.Read("MODE", "k"), "<def>");
  EXPECT_EQ(f.Read("Other", "x"), "2");
  EXPECT_EQ(f.Names(), std::vector<std::string>{"Other"});
}

TEST(BigIniFileLoad, CtrlZEndsReadingButItsLineCounts) {
  Loaded f("[S]\r\na=1\r\nb=2\x1A\r\nc=3\r\n[T]\r\nd=4\r\n");
  EXPECT_EQ(f.Read("S", "a"), "1");
  EXPECT_EQ(f.Read("S", "b"), "2");
  EXPECT_EQ(f.Read("S", "c"), "<def>");
  EXPECT_EQ(f.Names(), std::vector<std::string>{"S"});
}

TEST(BigIniFileLoad, HeadersNeedBracketsAtBothEnds) {
  Loaded f("lost=1\r\n[S]\r\n\r\n [T]\r\n[U] \r\n[ V ]\r\nv=1\r\n[\r\nw=2\r\n[]\r\ne=3\r\n");
  EXPECT_EQ(f.Names(), (std::vector<std::string>{"S", " V ", ""}));
  EXPECT_EQ(f.ini.Sections()[0].lines, (std::vector<std::string>{" [T]", "[U] "}));
  EXPECT_EQ(f.Read(" V ", "v"), "1");
  EXPECT_EQ(f.Read("V", "v"), "<def>");
  EXPECT_EQ(f.Read(" V ", "w"), "2");  // "[" alone is an entry line
  EXPECT_EQ(f.Read("", "e"), "3");
}

TEST(BigIniFileLoad, DuplicateSectionsKeepTheFirstInAnyLetterCase) {
  Loaded f("[B]\r\nx=1\r\n[MODE]\r\na=1\r\n[b]\r\nx=2\r\n[A]\r\n[mode]\r\na=2\r\nz=3\r\n[Mode]\r\na=3\r\n");
  EXPECT_EQ(f.Names(), (std::vector<std::string>{"B", "MODE", "A"}));
  EXPECT_EQ(f.Read("mode", "a"), "1");
  EXPECT_EQ(f.Read("MODE", "z"), "<def>");
  EXPECT_EQ(f.Read("b", "x"), "1");
  EXPECT_FALSE(f.ini.Modified());
}

TEST(BigIniFileLoad, AccentedNamesFoldLikeWindows) {
  Loaded f("[\xC4nderung]\r\nk=1\r\n[\xE4nderung]\r\nk=2\r\n");
  EXPECT_EQ(f.ini.Sections().size(), 1u);
  EXPECT_EQ(f.Read("\xE4NDERUNG", "k"), "1");
}

TEST(BigIniFileKeys, NothingIsTrimmedAroundTheEqualsSign) {
  Loaded f("[S]\r\n k = v\r\n");
  EXPECT_EQ(f.Read("S", "k"), "<def>");
  EXPECT_EQ(f.Read("S", " k "), " v");
  f.ini.WriteString("S", "k", "w");
  EXPECT_EQ(f.ini.Sections()[0].lines, (std::vector<std::string>{" k = v", "k=w"}));
}

TEST(BigIniFileKeys, FirstOfTwoIsReadAndReplacedSecondStays) {
  Loaded f("[S]\r\nk=1\r\nk=2\r\n");
  EXPECT_EQ(f.Read("S", "k"), "1");
  f.ini.WriteString("S", "k", "9");
  EXPECT_EQ(f.ini.Sections()[0].lines, (std::vector<std::string>{"k=9", "k=2"}));
}

TEST(BigIniFileKeys, CaseInsensitiveMatchButReplacedWithCallersSpelling) {
  Loaded f("[S]\r\ntfadress.top=5\r\n");
  EXPECT_EQ(f.Read("s", "TFAdress.Top"), "5");
  f.ini.WriteString("S", "TFAdress.Top", "5");
  EXPECT_TRUE(f.ini.Modified()) << "the key's spelling changed";
  EXPECT_EQ(f.ini.Sections()[0].lines, std::vector<std::string>{"TFAdress.Top=5"});
}

TEST(BigIniFileKeys, CommentsNeverMatchAndEmptyValueIsNotDefault) {
  Loaded f("[S]\r\n;k\r\nk=\r\n=x\r\n");
  EXPECT_EQ(f.Read("S", ";k"), "<def>");
  EXPECT_EQ(f.Read("S", "k"), "");
  EXPECT_EQ(f.Read("S", ""), "x");
  EXPECT_EQ(f.ini.ReadInteger("S", "k", 7), 7);
}

TEST(BigIniFileWrite, SameLineChangesNothingDifferentLineReplacesInPlace) {
  Loaded f("[S]\r\na=1\r\nb=2\r\n");
  f.ini.WriteString("S", "a", "1");
  EXPECT_FALSE(f.ini.Modified());
  f.ini.WriteInteger("S", "a", -3);
  EXPECT_TRUE(f.ini.Modified());
  EXPECT_EQ(f.ini.Sections()[0].lines, (std::vector<std::string>{"a=-3", "b=2"}));
}

TEST(BigIniFileWrite, NewSectionAppendedAndSearchesFromLastFoundStayCorrect) {
  Loaded f("[A]\r\nk=a\r\n[B]\r\nk=b\r\n[C]\r\nk=c\r\n");
  // Searches that start in the middle and wrap around.
  EXPECT_EQ(f.Read("C", "k"), "c");
  EXPECT_EQ(f.Read("A", "k"), "a");
  EXPECT_EQ(f.Read("C", "k"), "c");
  EXPECT_EQ(f.Read("B", "k"), "b");
  EXPECT_EQ(f.Read("D", "k"), "<def>");
  f.ini.WriteBool("D", "on", true);
  EXPECT_EQ(f.Read("B", "k"), "b");
  EXPECT_EQ(f.Read("D", "on"), "1");
  EXPECT_EQ(f.ini.SaveToText(), "[A]\r\nk=a\r\n\r\n[B]\r\nk=b\r\n\r\n[C]\r\nk=c\r\n\r\n[D]\r\non=1\r\n\r\n");
}

TEST(BigIniFileWrite, RewriteDropsWhatLoadingDroppedAndEmptySections) {
  Loaded f("junk\r\n[S]\r\n\r\na=1\r\n;note\r\n\r\n[Empty]\r\n[s]\r\nb=2\r\n[T]\r\nc=3\x1A" "after\r\n");
  EXPECT_EQ(f.ini.SaveToText(), "[S]\r\na=1\r\n;note\r\n\r\n[T]\r\nc=3\r\n\r\n");
}

struct IntCase {
  const char* text;
  std::int32_t expected;
};

TEST(BigIniFileConvert, IntegersDecimalHexAndRange) {
  const IntCase cases[] = {
      {"0x1F", 31},          {"0X1F", 31},          {"$1F", 31},          {"$1f", 31},
      {"-5", -5},            {"+7", 7},             {"  42", 42},         {"", -99},
      {"5 ", -99},           {"5x", -99},           {"abc", -99},         {"0x", -99},
      {"$", -99},            {"-", -99},            {" 0x1F", -99},       {"2147483647", 2147483647},
      {"2147483648", -99},   {"-2147483648", INT32_MIN}, {"-2147483649", -99}, {"99999999999999999999", -99},
      {"$7FFFFFFF", 2147483647}, {"$FFFFFFFF", -1}, {"$100000000", -99},  {"-$1F", -31},
      {"\t5", -99},          {"00012", 12},
  };
  for (const IntCase& c : cases) EXPECT_EQ(IniTextToInt(c.text, -99), c.expected) << '"' << c.text << '"';
}

TEST(BigIniFileConvert, BooleansAreIntegersNonZeroTrue) {
  Loaded f("[S]\r\nyes=yes\r\ntrue=true\r\ntwo=2\r\nminus=-1\r\nzero=0\r\nhex=$0\r\n");
  EXPECT_TRUE(f.ini.ReadBool("S", "yes", true));
  EXPECT_FALSE(f.ini.ReadBool("S", "true", false));
  EXPECT_TRUE(f.ini.ReadBool("S", "two", false));
  EXPECT_TRUE(f.ini.ReadBool("S", "minus", false));
  EXPECT_FALSE(f.ini.ReadBool("S", "zero", true));
  EXPECT_FALSE(f.ini.ReadBool("S", "hex", true));
  EXPECT_TRUE(f.ini.ReadBool("S", "missing", true));
}

}  // namespace
}  // namespace zs
