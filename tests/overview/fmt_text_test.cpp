#include "kit/fmt_text.h"

#include <gtest/gtest.h>

namespace zs {
namespace {

// Regular glyphs 6 wide, bold 7; regular cells 13 high (ascent 10), bold 14 (11).
class FixedMeasurer final : public FmtMeasurer {
 public:
  int TextWidth(std::string_view text, bool bold) const override {
    return static_cast<int>(text.size()) * (bold ? 7 : 6);
  }
  int LineHeight(bool bold) const override { return bold ? 14 : 13; }
  int Ascent(bool bold) const override { return bold ? 11 : 10; }
};

std::string Dump(const std::vector<FmtPiece>& pieces) {
  std::string s;
  for (const FmtPiece& p : pieces) s += p.line_break ? std::string("|") : (p.bold ? "B(" : "R(") + p.text + ")";
  return s;
}

TEST(FmtText, ParsesBoldSwitchesAndLineBreaks) {
  struct Case {
    const char* markup;
    const char* pieces;
  } cases[] = {
      {"/bAdresse:/b0\r\nMeier Eva [1 K]", "B(Adresse:)|R(Meier Eva [1 K])"},
      {"a/b/b0b", "R(ab)"},                 // switches with nothing between them make no piece
      {"/b0x", "R(x)"},                     // off while off
      {"a/cb/", "R(a/cb/)"},                // other slashes are text
      {"/b/b0" "0", "R(0)"},                // "/b0" then a literal 0
      {"x\ny\rz\r\n", "R(x)|R(y)|R(z)|"},   // any line end breaks
      {"\r\n\r\n", "||"},
      {"", ""},
      {"/bfett\r\nimmer noch", "B(fett)|B(immer noch)"},  // bold carries over the break
  };
  for (const Case& c : cases) EXPECT_EQ(Dump(ParseFmtText(c.markup)), c.pieces) << c.markup;
}

TEST(FmtText, LaysOutTheDragImageText) {
  FixedMeasurer m;
  const FmtLayout l = LayoutFmtText("/bAdresse:/b0\r\nMeier Eva", m, 5, 0, 195);
  ASSERT_EQ(l.lines.size(), 2u);
  ASSERT_EQ(l.lines[0].runs.size(), 1u);
  EXPECT_TRUE(l.lines[0].runs[0].bold);
  EXPECT_EQ(l.lines[0].runs[0].x, 5);
  EXPECT_EQ(l.lines[0].runs[0].width, 56);
  EXPECT_EQ(l.lines[0].top, 0);
  EXPECT_EQ(l.lines[0].height, 14);
  EXPECT_EQ(l.lines[0].baseline, 11);
  ASSERT_EQ(l.lines[1].runs.size(), 1u);
  EXPECT_FALSE(l.lines[1].runs[0].bold);
  EXPECT_EQ(l.lines[1].top, 14);
  EXPECT_EQ(l.lines[1].baseline, 24);
  EXPECT_EQ(l.width, 56);
  EXPECT_EQ(l.height, 27);
}

TEST(FmtText, MixedStylesShareABaselineAndLongTextIsCut) {
  FixedMeasurer m;
  const FmtLayout l = LayoutFmtText("ab/bcd/b0efgh", m, 0, 10, 30);
  ASSERT_EQ(l.lines.size(), 1u);
  const auto& runs = l.lines[0].runs;
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[1].x, 12);
  EXPECT_EQ(runs[2].x, 26);
  EXPECT_EQ(runs[2].width, 24);
  EXPECT_EQ(runs[2].visible_width, 4);  // cut at the right edge
  EXPECT_EQ(l.lines[0].height, 14);
  EXPECT_EQ(l.lines[0].baseline, 21);
  EXPECT_EQ(l.width, 50);
  // A run that starts at the edge is not kept.
  const FmtLayout cut = LayoutFmtText("abcde/bX", m, 0, 0, 30);
  ASSERT_EQ(cut.lines[0].runs.size(), 1u);
  EXPECT_EQ(cut.width, 37);
}

TEST(FmtText, EmptyLinesTakeTheRegularHeight) {
  FixedMeasurer m;
  const FmtLayout l = LayoutFmtText("\r\n/b\r\nx", m, 0, 0, 100);
  ASSERT_EQ(l.lines.size(), 3u);
  EXPECT_TRUE(l.lines[0].runs.empty());
  EXPECT_EQ(l.lines[1].top, 13);
  EXPECT_EQ(l.lines[2].top, 26);
  EXPECT_TRUE(l.lines[2].runs[0].bold);
  EXPECT_EQ(l.height, 40);
  EXPECT_EQ(LayoutFmtText("", m, 0, 0, 100).lines.size(), 1u);
}

}  // namespace
}  // namespace zs
