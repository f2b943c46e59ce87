#include "kit/gdi.h"

namespace zs {

COLORREF ColorToRGB(int32_t color, COLORREF fallback) {
  if (color == kColorNone) return fallback;
  const uint32_t v = static_cast<uint32_t>(color);
  if (v & 0x80000000u) {
    const int index = static_cast<int>(v & 0xFF);
    if (index > COLOR_INFOBK && index != COLOR_HOTLIGHT && index != COLOR_GRADIENTACTIVECAPTION &&
        index != COLOR_GRADIENTINACTIVECAPTION && index != COLOR_MENUHILIGHT && index != COLOR_MENUBAR)
      return fallback;
    return GetSysColor(index);
  }
  return static_cast<COLORREF>(v & 0x00FFFFFFu);
}

Font MakeFont(const std::string& face, int height_px, bool bold, bool italic, bool underline, bool strike) {
  LOGFONTA lf{};
  lf.lfHeight = -height_px;  // negative: character height, as the form's Font.Height
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfStrikeOut = strike;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return Font(CreateFontIndirectA(&lf));
}

HFONT KitFont() {
  static Font font = MakeFont("Tahoma", 11);
  return font.get();
}

}  // namespace zs
