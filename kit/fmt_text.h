// The kit's small formatted-text markup, as used for drag images: "/b"
// switches bold on, "/b0" switches it off, a line break (CR LF, or a lone CR
// or LF) starts a new line; every other byte is text. This is not the
// message box's HTML markup. Parsing and layout are portable and work
// against a measuring interface; DrawFmtText paints the layout with GDI
// (kit/fmt_text_win.cpp).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zs {

// A piece of the markup: text in one style, or a line break.
struct FmtPiece {
  bool line_break = false;
  bool bold = false;
  std::string text;
};
// Adjacent text of the same style is one piece; empty text makes no piece.
std::vector<FmtPiece> ParseFmtText(std::string_view markup);

class FmtMeasurer {
 public:
  virtual ~FmtMeasurer() = default;
  // Advance width of `text` in the regular or the bold face.
  virtual int TextWidth(std::string_view text, bool bold) const = 0;
  // Cell height and ascent of the face.
  virtual int LineHeight(bool bold) const = 0;
  virtual int Ascent(bool bold) const = 0;
};

struct FmtRun {
  std::string text;
  bool bold = false;
  int x = 0;              // left edge
  int width = 0;          // full advance width
  int visible_width = 0;  // the part left of the right edge (less than width when cut)
};
struct FmtLine {
  int top = 0;
  int height = 0;
  int baseline = 0;  // absolute y of the baseline
  std::vector<FmtRun> runs;  // only runs that start left of the right edge
};
struct FmtLayout {
  std::vector<FmtLine> lines;
  int width = 0;   // widest line, uncut
  int height = 0;  // sum of the line heights
};

// Lays `markup` out from (left, top); lines stack with the height of their
// tallest face (an empty line has the regular face's height). Runs are cut at
// `right`; a run that starts at or beyond it is dropped.
FmtLayout LayoutFmtText(std::string_view markup, const FmtMeasurer& m, int left, int top, int right);

}  // namespace zs

#ifdef _WIN32
// The painter, declared without <windows.h> (HDC, HFONT and RECT are these
// structs there). Draws `markup` inside `rect`, clipped to it, with `font` as
// the regular face and its bold variant, in the DC's text colour and
// background mode; the DC's selected font is restored.
struct HDC__;
struct HFONT__;
struct tagRECT;
namespace zs {
void DrawFmtText(HDC__* dc, const tagRECT& rect, std::string_view markup, HFONT__* font);
}  // namespace zs
#endif
