#include <windows.h>

#include "kit/fmt_text.h"

namespace zs {

namespace {

class GdiMeasurer final : public FmtMeasurer {
 public:
  GdiMeasurer(HDC dc, HFONT regular, HFONT bold) : dc_(dc), fonts_{regular, bold} {
    for (int i = 0; i < 2; ++i) {
      SelectObject(dc_, fonts_[i]);
      GetTextMetricsA(dc_, &metrics_[i]);
    }
  }
  int TextWidth(std::string_view text, bool bold) const override {
    SelectObject(dc_, fonts_[bold]);
    SIZE s{};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &s);
    return s.cx;
  }
  int LineHeight(bool bold) const override { return metrics_[bold].tmHeight; }
  int Ascent(bool bold) const override { return metrics_[bold].tmAscent; }

 private:
  HDC dc_;
  HFONT fonts_[2];
  TEXTMETRICA metrics_[2]{};
};

}  // namespace

void DrawFmtText(HDC dc, const RECT& rect, std::string_view markup, HFONT font) {
  if (!dc) return;
  if (!font) font = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
  LOGFONTA lf{};
  GetObjectA(font, sizeof lf, &lf);
  lf.lfWeight = FW_BOLD;
  HFONT bold = CreateFontIndirectA(&lf);
  if (!bold) bold = font;

  const int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  {
    GdiMeasurer measurer(dc, font, bold);
    const FmtLayout layout = LayoutFmtText(markup, measurer, rect.left, rect.top, rect.right);
    SetTextAlign(dc, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
    for (const FmtLine& line : layout.lines) {
      if (line.top >= rect.bottom) break;
      for (const FmtRun& run : line.runs) {
        SelectObject(dc, run.bold ? bold : font);
        TextOutA(dc, run.x, line.baseline, run.text.data(), static_cast<int>(run.text.size()));
      }
    }
  }
  RestoreDC(dc, saved);  // font, alignment and clip region as they were
  if (bold != font) DeleteObject(bold);
}

}  // namespace zs
