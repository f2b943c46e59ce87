#include "kit/html_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "kit/html_colors.h"

namespace zs::html {
namespace {

// Every character 6 pixels wide (7 in bold), lines 2 pixels higher than the font.
class FixedMeasurer final : public TextMeasurer {
 public:
  int TextWidth(const FontStyle& f, std::string_view text) override {
    return static_cast<int>(text.size()) * (f.bold ? 7 : 6);
  }
  FontMetrics Metrics(const FontStyle& f) override { return {f.height_px + 2, f.height_px}; }
};

constexpr int kLine = 13;  // 11-pixel font

Layout Lay(std::string_view markup, int width = 600) {
  FixedMeasurer m;
  LayoutOptions o;
  o.width = width;
  return LayoutMarkup(markup, o, m);
}

// The text of each line and whether all of its pieces are bold.
std::vector<std::pair<std::string, bool>> Lines(const Layout& l) {
  std::vector<std::pair<std::string, bool>> out;
  for (const Line& line : l.lines) {
    std::string t;
    bool bold = !line.pieces.empty();
    for (const Piece& p : line.pieces) {
      t += p.text;
      bold = bold && p.font.bold;
    }
    out.emplace_back(t, bold);
  }
  return out;
}

TEST(HtmlLayout, EmptyTextIsOneEmptyLine) {
  const Layout l = Lay("");
  ASSERT_EQ(l.lines.size(), 1u);
  EXPECT_TRUE(l.lines[0].pieces.empty());
  EXPECT_EQ(l.height, kLine);
}

TEST(HtmlLayout, LineBreakCharactersJoinWhileBrBreaks) {
  EXPECT_EQ(SplitLabelLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLabelLines("a\n\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  const std::string joined = JoinLabelLines(SplitLabelLines("Satz eins.\r\nSatz zwei."));
  EXPECT_EQ(Lay(joined).PlainText(), "Satz eins.Satz zwei.\n");
  EXPECT_EQ(Lay("Satz eins.<BR>Satz zwei.").PlainText(), "Satz eins.\nSatz zwei.\n");
}

TEST(HtmlLayout, BoldHeadingBlockOfTheDeleteError) {
  const Layout l = Lay("<BR><B>L\xF6schen nicht m\xF6glich:<BR>Fehler:<BR></B>Satz gesperrt");
  const auto lines = Lines(l);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].first, "");
  EXPECT_EQ(lines[1], std::make_pair(std::string("L\xF6schen nicht m\xF6glich:"), true));
  EXPECT_EQ(lines[2], std::make_pair(std::string("Fehler:"), true));
  EXPECT_EQ(lines[3], std::make_pair(std::string("Satz gesperrt"), false));
  EXPECT_EQ(l.lines[0].height, kLine) << "an empty first line keeps one line's height";
  EXPECT_EQ(l.height, 4 * kLine);
  EXPECT_EQ(l.lines[3].top, 3 * kLine);
}

TEST(HtmlLayout, StrayLessThanHidesTheRest) {
  EXPECT_EQ(Lay("Hallo <Welt und mehr").PlainText(), "Hallo \n");
  EXPECT_EQ(Lay("a<b>c<d").PlainText(), "ac\n");
  EXPECT_EQ(Lay("<").PlainText(), "\n");
  EXPECT_EQ(Lay("1 > 0").PlainText(), "1 > 0\n");
}

TEST(HtmlLayout, AmpersandUnderlinesTheNextCharacter) {
  const Layout l = Lay("A& B");
  ASSERT_EQ(l.lines.size(), 1u);
  EXPECT_EQ(l.PlainText(), "A B\n");
  bool space_underlined = false;
  for (const Piece& p : l.lines[0].pieces) {
    if (p.text == " ") space_underlined = p.font.underline;
    if (p.text.find('A') != std::string::npos || p.text.find('B') != std::string::npos) {
      EXPECT_FALSE(p.font.underline) << p.text;
    }
  }
  EXPECT_TRUE(space_underlined);

  const Layout amp = Lay("A&amp; B");
  EXPECT_EQ(amp.PlainText(), "A& B\n");
  for (const Piece& p : amp.lines[0].pieces) EXPECT_FALSE(p.font.underline) << p.text;
  EXPECT_EQ(Lay("Ende&").PlainText(), "Ende\n");
}

TEST(HtmlLayout, EntitiesAreReplacedUntilNoneIsLeft) {
  EXPECT_EQ(ReplaceEntities("&amp;"), "&&");
  EXPECT_EQ(ReplaceEntities("&amp;amp;"), "&&&");  // "&&amp;", then "&" + "&&"
  EXPECT_EQ(ReplaceEntities("&amp;quot;"), "&\"");
  EXPECT_EQ(ReplaceEntities("&euro;&sect;&trade;&copy;&reg;&para;&permil;"), "\x80\xA7\x99\xA9\xAE\xB6\x89");
  EXPECT_EQ(ReplaceEntities("&nbsp;&lt;&unknown;"), "&nbsp;&lt;&unknown;");
  // &lt; and &gt; are text, never tag delimiters.
  const Layout l = Lay("&lt;B&gt;fett&nbsp;nicht");
  EXPECT_EQ(l.PlainText(), "<B>fett nicht\n");
  for (const Piece& p : l.lines[0].pieces) EXPECT_FALSE(p.font.bold);
  EXPECT_EQ(Lay("&amp;lt;").PlainText(), "&lt;\n");
}

TEST(HtmlLayout, EntitiesInsideTagsAreReplacedBeforeTheTagIsRead) {
  const Layout l = Lay("<FONT COLOR=&quot;clRed&quot;>rot</FONT>schwarz");
  ASSERT_EQ(l.lines.size(), 1u);
  ASSERT_EQ(l.lines[0].pieces.size(), 2u);
  EXPECT_EQ(l.lines[0].pieces[0].text, "rot");
  EXPECT_EQ(l.lines[0].pieces[0].color, 0x0000FF);
  EXPECT_EQ(l.lines[0].pieces[1].color, 0);
}

TEST(HtmlLayout, UnknownTagsVanish) {
  EXPECT_EQ(Lay("x<FOO>y</BAR>z<>w< B>v").PlainText(), "xyzwv\n");
  EXPECT_EQ(Lay("<IMG SRC=\"a.bmp\">Bild").PlainText(), "Bild\n");
}

TEST(HtmlLayout, StylesAreSwitchesNotAStack) {
  const auto lines = Lines(Lay("<B><B><b>fett</B>normal"));
  ASSERT_EQ(lines.size(), 1u);
  const Layout l = Lay("<B><B><b>fett</B>normal");
  ASSERT_EQ(l.lines[0].pieces.size(), 2u);
  EXPECT_TRUE(l.lines[0].pieces[0].font.bold);
  EXPECT_FALSE(l.lines[0].pieces[1].font.bold);
  const Layout u = Lay("<i><U>a</i>b</u>c");
  ASSERT_EQ(u.lines[0].pieces.size(), 3u);
  EXPECT_TRUE(u.lines[0].pieces[0].font.italic && u.lines[0].pieces[0].font.underline);
  EXPECT_TRUE(!u.lines[0].pieces[1].font.italic && u.lines[0].pieces[1].font.underline);
  EXPECT_FALSE(u.lines[0].pieces[2].font.underline);
}

TEST(HtmlLayout, WrapsAtWordBoundaries) {
  // 60 pixels: ten characters.
  EXPECT_EQ(Lay("aaaa bbbb cccc", 60).PlainText(), "aaaa bbbb \ncccc\n");
  // The space after a word does not count against the width.
  EXPECT_EQ(Lay("aaaa bbbbb cc", 60).PlainText(), "aaaa bbbbb \ncc\n");
  // A word that is bold in part is still one word.
  EXPECT_EQ(Lay("aaaaaa b<B>bb</B>b", 60).PlainText(), "aaaaaa \nbbbb\n");
}

TEST(HtmlLayout, BreaksAWordWiderThanTheLabel) {
  const Layout l = Lay("ab cdefghijklmnopqrstuvwxyz12 x", 60);
  EXPECT_EQ(l.PlainText(), "ab \ncdefghijkl\nmnopqrstuv\nwxyz12 x\n");
  for (const Line& line : l.lines)
    for (const Piece& p : line.pieces) EXPECT_LE(p.x + p.width, 60);
  // Even a label narrower than one character makes progress.
  EXPECT_EQ(Lay("abc", 1).PlainText(), "a\nb\nc\n");
}

TEST(HtmlLayout, LongTextKeepsEveryCharacterAndTheWidth) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "Wort" + std::to_string(i) + (i % 7 ? " " : " <B>fett</B> ");
  const Layout l = Lay(text, 200);
  std::string drawn;
  int top = 0;
  for (const Line& line : l.lines) {
    EXPECT_EQ(line.top, top);
    top += line.height;
    int right = 0;
    for (const Piece& p : line.pieces) {
      drawn += p.text;
      const size_t last = p.text.find_last_not_of(' ');
      if (last != std::string::npos)
        right = p.x + static_cast<int>(last + 1) * (p.font.bold ? 7 : 6);
    }
    EXPECT_LE(right, 200);
  }
  EXPECT_EQ(top, l.height);
  std::string expected;
  for (int i = 0; i < 300; ++i) expected += "Wort" + std::to_string(i) + (i % 7 ? " " : " fett ");
  EXPECT_EQ(drawn, expected);
  EXPECT_GT(l.lines.size(), 20u);
}

TEST(HtmlLayout, LineHeightsFollowTheTallestPieceAndTheStartFont) {
  const Layout l = Lay("klein<FONT SIZE=\"5\">GROSS</FONT><BR><BR>x");
  ASSERT_EQ(l.lines.size(), 3u);
  EXPECT_EQ(l.lines[0].height, 21 + 2);  // 16 pt = 21 px
  EXPECT_EQ(l.lines[1].height, kLine);
  const Piece& small = l.lines[0].pieces[0];
  const Piece& big = l.lines[0].pieces[1];
  EXPECT_EQ(small.y + small.ascent, big.y + big.ascent) << "pieces share the baseline";
  // An empty line started in a big font keeps the big height.
  const Layout big_empty = Lay("<FONT SIZE=36>a<BR><BR></FONT>b");
  EXPECT_EQ(big_empty.lines[1].height, 48 + 2);
}

TEST(HtmlLayout, HiddenTextTakesNoWidth) {
  const Layout l = Lay("a<Z>unsichtbar</Z>b");
  EXPECT_EQ(l.PlainText(), "ab\n");
  EXPECT_EQ(l.lines[0].pieces.back().x + l.lines[0].pieces.back().width, 12);
}

TEST(HtmlLayout, LinksRulesParagraphsAndLists) {
  const Layout a = Lay("<A HREF=\"http://example.org\">hier</A> weiter");
  ASSERT_EQ(a.links, (std::vector<std::string>{"http://example.org"}));
  EXPECT_EQ(a.lines[0].pieces[0].link, 0);
  EXPECT_TRUE(a.lines[0].pieces[0].font.underline);
  EXPECT_EQ(a.lines[0].pieces[0].color, 0xFF0000);
  EXPECT_EQ(a.lines[0].pieces.back().link, -1);

  const Layout hr = Lay("oben<HR>unten");
  ASSERT_EQ(hr.lines.size(), 2u);
  EXPECT_TRUE(hr.lines[0].rule_below);
  EXPECT_FALSE(hr.lines[1].rule_below);

  const Layout right = Lay("<P ALIGN=\"RIGHT\">rechts</P>links", 120);
  ASSERT_EQ(right.lines.size(), 2u);
  EXPECT_EQ(right.lines[0].pieces[0].x + right.lines[0].pieces[0].width, 120);
  EXPECT_EQ(right.lines[1].pieces[0].x, 0);

  const Layout list = Lay("<UL><LI>eins<LI>zwei</UL>danach");
  ASSERT_EQ(list.lines.size(), 3u);
  EXPECT_TRUE(list.lines[0].pieces[0].bullet);
  EXPECT_EQ(list.lines[0].pieces[0].font.face, "Symbol");
  EXPECT_EQ(list.lines[0].pieces[1].x, 12);
  EXPECT_EQ(list.lines[2].pieces[0].x, 0);
}

TEST(HtmlLayout, AcceleratorCharacterOfACaption) {
  EXPECT_EQ(AcceleratorChar("&Neu lesen"), 'N');
  EXPECT_EQ(AcceleratorChar("Details &zeigen"), 'Z');
  EXPECT_EQ(AcceleratorChar("A&&B"), 0);
  EXPECT_EQ(AcceleratorChar("A&&&b"), 'B');
  EXPECT_EQ(AcceleratorChar("schlie\xDF" "en&"), 0);
}

TEST(HtmlColors, NamesAndHexValues) {
  EXPECT_EQ(MarkupColor("#FF0000"), 0x0000FF);
  EXPECT_EQ(MarkupColor("#0080C0"), 0xC08000);
  EXPECT_EQ(MarkupColor("clred"), 0x0000FF);
  EXPECT_EQ(MarkupColor("CLBTNFACE"), static_cast<int32_t>(0x8000000F));
  EXPECT_EQ(MarkupColor("clScrollBar"), 0);
  EXPECT_EQ(MarkupColor("clNone"), 0);
  EXPECT_EQ(MarkupColor("rot"), 0);
  EXPECT_EQ(MarkupColor("#12345"), 0);
  EXPECT_EQ(ColorFromName("clNone"), kColorValueNone);
  EXPECT_EQ(ColorFromName("clInfoBk"), static_cast<int32_t>(0x80000018));
  EXPECT_FALSE(ColorFromName("clNix").has_value());
}

}  // namespace
}  // namespace zs::html
