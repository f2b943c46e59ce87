// Layout of the HTML label's markup (the message box text), without a window:
// entities, tags, the accelerator "&" rule, word wrapping and line heights,
// measured through TextMeasurer. The GDI renderer (kit/html_label.h) paints
// the result; tests measure with a fixed-width font.
//
// Markup rules, in the order they apply:
//  1. The entities &amp; &quot; &sect; &permil; &reg; &copy; &para; &trade;
//     &euro; are replaced over the whole text until none is left ("&amp;"
//     becomes "&&", which draws one "&").
//  2. A tag runs from "<" to the next ">"; its letters name it, any case; an
//     unknown tag vanishes. A "<" with no ">" after it hides everything from
//     there on.
//  3. In plain text "&nbsp;" "&lt;" "&gt;" give " " "<" ">", "&&" gives "&",
//     and "&" before any other character underlines that character; a lone
//     "&" at the end of a run is not drawn.
//  4. A line ends at <BR>, <HR>, a paragraph or list item, the end, or before
//     a word (words end after a space) that no longer fits the width; a word
//     wider than the whole width is broken between characters. A line is as
//     high as its tallest piece and at least one line of the font in force
//     when it starts.
//  5. Style tags are switches: </B> ends bold however many <B> came before.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zs::html {

struct FontStyle {
  std::string face = "Tahoma";
  int height_px = 11;  // character height in pixels
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  bool operator==(const FontStyle&) const = default;
};

struct FontMetrics {
  int height = 0;  // one text line
  int ascent = 0;
};

// Measures text in a font. Widths must add up: the width of "ab" is the
// width of "a" plus that of "b" (true for GDI text without kerning).
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual int TextWidth(const FontStyle& font, std::string_view text) = 0;
  virtual FontMetrics Metrics(const FontStyle& font) = 0;
};

constexpr int32_t kNoColor = 0x1FFFFFFF;

// One run of text in one style, placed in label coordinates.
struct Piece {
  std::string text;  // the characters to draw, accelerator marks removed
  FontStyle font;
  int32_t color = 0;           // colour value (kit/gdi.h), or kNoColor
  int32_t background = kNoColor;
  int x = 0;
  int y = 0;  // top of the piece (baseline-aligned within its line)
  int width = 0;
  int height = 0;
  int ascent = 0;
  bool shadow = false;     // <SH>
  bool highlight = false;  // <HI>: selection colours
  bool error = false;      // <E>: red zig-zag underline
  bool bullet = false;     // a list bullet (font "Symbol")
  int link = -1;           // index into Layout::links, or -1
};

struct Line {
  int top = 0;
  int height = 0;
  bool rule_below = false;  // <HR>
  int32_t background = kNoColor;  // <P BGCOLOR>
  std::vector<Piece> pieces;
};

struct Layout {
  std::vector<Line> lines;
  std::vector<std::string> links;  // <A> targets, in order
  int height = 0;                  // sum of the line heights (at least one line)
  // The text of all pieces, bullets left out, lines ended by "\n"; for tests.
  std::string PlainText() const;
};

struct LayoutOptions {
  int width = 400;     // wrap width in pixels (pieces start at x 0)
  FontStyle font;      // the label's font
  int32_t color = 0;   // the label's text colour
  int32_t link_color = 0xFF0000;  // clBlue
};

// Step 1 only: the entities replaced until none is left.
std::string ReplaceEntities(std::string_view text);

// Lays out `markup` (already joined, see JoinLabelLines) at options.width.
// Never throws on any input except std::bad_alloc.
Layout LayoutMarkup(std::string_view markup, const LayoutOptions& options, TextMeasurer& measurer);

// The label's storage: the text as lines split at CR, LF or CR LF...
std::vector<std::string> SplitLabelLines(std::string_view text);
// ...joined again with nothing between them: a line break never breaks a line.
std::string JoinLabelLines(const std::vector<std::string>& lines);

// The accelerator letter of a caption ("&Neu lesen" -> 'N'), upper case;
// 0 when the caption has none ("&&" is a plain ampersand).
char AcceleratorChar(std::string_view caption);

}  // namespace zs::html
