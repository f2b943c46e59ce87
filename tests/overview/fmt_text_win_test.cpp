// DrawFmtText on a real memory DC: bold where the markup says, nothing
// outside the rectangle.
#include <windows.h>

#include <gtest/gtest.h>

#include "kit/fmt_text.h"

namespace zs {
namespace {

struct Canvas {
  static constexpr int kW = 200, kH = 40;
  HDC dc = nullptr;
  HBITMAP bmp = nullptr;
  HGDIOBJ old = nullptr;
  Canvas() {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bmp = CreateCompatibleBitmap(screen, kW, kH);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bmp);
    RECT all{0, 0, kW, kH};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  int Ink(int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += GetPixel(dc, x, y) != RGB(255, 255, 255);
    return n;
  }
};

HFONT Tahoma(int height) {
  return CreateFontA(-height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
}

TEST(DrawFmtText, BoldLineIsDarkerAndNothingLeavesTheRectangle) {
  HFONT font = Tahoma(11);
  ASSERT_NE(font, nullptr);
  Canvas bold, plain;
  const RECT r{5, 0, 60, 40};
  DrawFmtText(bold.dc, r, "/bWWWWWWWWWW/b0\r\nWWWWWWWWWWWWWWWWWWWW", font);
  DrawFmtText(plain.dc, r, "WWWWWWWWWW\r\nWWWWWWWWWWWWWWWWWWWW", font);
  EXPECT_GT(bold.Ink(5, 0, 60, 14), plain.Ink(5, 0, 60, 14)) << "first line must be bold";
  EXPECT_GT(plain.Ink(5, 14, 60, 40), 0) << "second line drawn";
  EXPECT_EQ(bold.Ink(60, 0, Canvas::kW, Canvas::kH), 0) << "text cut at the right edge";
  EXPECT_EQ(bold.Ink(0, 0, 5, Canvas::kH), 0);
  // The DC keeps its font.
  EXPECT_NE(GetCurrentObject(bold.dc, OBJ_FONT), font);
  DeleteObject(font);
}

}  // namespace
}  // namespace zs
