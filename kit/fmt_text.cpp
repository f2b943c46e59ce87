#include "kit/fmt_text.h"

#include <algorithm>

namespace zs {

std::vector<FmtPiece> ParseFmtText(std::string_view markup) {
  std::vector<FmtPiece> pieces;
  bool bold = false;
  auto add_text = [&](char c) {
    if (pieces.empty() || pieces.back().line_break || pieces.back().bold != bold) {
      FmtPiece p;
      p.bold = bold;
      pieces.push_back(std::move(p));
    }
    pieces.back().text += c;
  };
  for (size_t i = 0; i < markup.size(); ++i) {
    const char c = markup[i];
    if (c == '/' && i + 1 < markup.size() && markup[i + 1] == 'b') {
      const bool off = i + 2 < markup.size() && markup[i + 2] == '0';
      bold = !off;
      i += off ? 2 : 1;
      continue;
    }
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < markup.size() && markup[i + 1] == '\n') ++i;
      FmtPiece p;
      p.line_break = true;
      pieces.push_back(std::move(p));
      continue;
    }
    add_text(c);
  }
  return pieces;
}

FmtLayout LayoutFmtText(std::string_view markup, const FmtMeasurer& m, int left, int top, int right) {
  FmtLayout layout;
  const std::vector<FmtPiece> pieces = ParseFmtText(markup);
  int y = top;
  size_t i = 0;
  for (;;) {
    FmtLine line;
    line.top = y;
    int x = left;
    int height = 0;
    int ascent = 0;
    for (; i < pieces.size() && !pieces[i].line_break; ++i) {
      const FmtPiece& p = pieces[i];
      const int w = m.TextWidth(p.text, p.bold);
      height = std::max(height, m.LineHeight(p.bold));
      ascent = std::max(ascent, m.Ascent(p.bold));
      if (x < right) line.runs.push_back({p.text, p.bold, x, w, std::min(w, right - x)});
      x += w;
    }
    if (height == 0) {
      height = m.LineHeight(false);
      ascent = m.Ascent(false);
    }
    line.height = height;
    line.baseline = y + ascent;
    layout.width = std::max(layout.width, x - left);
    y += height;
    layout.lines.push_back(std::move(line));
    if (i >= pieces.size()) break;
    ++i;  // the line break
  }
  layout.height = y - top;
  return layout;
}

}  // namespace zs
