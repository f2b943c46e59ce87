// The markup label in a real window: what it draws for rules, error marks,
// highlights and shadows, and what a click on a link does.
#include "kit/html_label.h"

#include <gtest/gtest.h>

#include <functional>

#include "kit/window.h"
#include "tests/support/recording_user.h"
#include "tests/support/win_fixture.h"

namespace zs::test {
namespace {

class HtmlLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.SetBounds(120, 120, 340, 160);
    label_.SetParent(&form_);
    label_.SetBounds(0, 0, 320, 120);
    form_.CreateHandle();
    label_.CreateHandle();
    ASSERT_TRUE(label_.Handle());
    ShowWindow(form_.Handle(), SW_SHOWNOACTIVATE);
    Pump(50);
  }

  void Show(const std::string& markup) {
    label_.SetText(markup);
    label_.UpdateLayout();
    Render();
  }

  // The label's client area as drawn into a bitmap of our own.
  void Render() {
    RECT rc;
    GetClientRect(label_.Handle(), &rc);
    width_ = rc.right;
    height_ = rc.bottom;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width_;
    bi.bmiHeader.biHeight = -height_;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    SendMessageA(label_.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    const auto* px = static_cast<const DWORD*>(bits);
    pixels_.assign(px, px + width_ * height_);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
  }

  COLORREF At(int x, int y) const {
    const DWORD v = pixels_[static_cast<size_t>(y * width_ + x)];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }

  int CountIn(const RECT& r, const std::function<bool(COLORREF)>& match) const {
    int n = 0;
    for (int y = std::max<LONG>(0, r.top); y < std::min<LONG>(height_, r.bottom); ++y)
      for (int x = std::max<LONG>(0, r.left); x < std::min<LONG>(width_, r.right); ++x) n += match(At(x, y));
    return n;
  }

  // The first piece of text `text`, in client coordinates.
  RECT PieceRect(const std::string& text) const {
    for (const html::Line& line : label_.CurrentLayout().lines)
      for (const html::Piece& p : line.pieces)
        if (p.text == text) {
          const int x = THtmlLabel::kMarginX + p.x, y = THtmlLabel::kMarginY + p.y;
          return RECT{x, y, x + p.width, y + p.height};
        }
    ADD_FAILURE() << "no piece \"" << text << "\"";
    return RECT{};
  }

  TForm form_{nullptr, "FLabelTest", "TFLabelTest"};
  THtmlLabel label_{&form_, "MsgLabel"};
  int width_ = 0, height_ = 0;
  std::vector<DWORD> pixels_;
};

TEST_F(HtmlLabelTest, RuleIsOneBlackRowBelowItsLineInsideTheMargins) {
  Show("Oben<HR>Unten");
  const html::Line& first = label_.CurrentLayout().lines.at(0);
  ASSERT_TRUE(first.rule_below);
  const int y = THtmlLabel::kMarginY + first.top + first.height - 1;
  const auto black = [](COLORREF c) { return c == RGB(0, 0, 0); };
  EXPECT_EQ(CountIn(RECT{THtmlLabel::kMarginX, y, width_ - THtmlLabel::kMarginX, y + 1}, black),
            width_ - 2 * THtmlLabel::kMarginX);
  EXPECT_EQ(CountIn(RECT{0, y, THtmlLabel::kMarginX, y + 1}, black), 0);
  // The text line below has no rule.
  const html::Line& second = label_.CurrentLayout().lines.at(1);
  const int y2 = THtmlLabel::kMarginY + second.top + second.height - 1;
  EXPECT_LT(CountIn(RECT{0, y2, width_, y2 + 1}, black), width_ / 2);
}

TEST_F(HtmlLabelTest, ErrorMarkIsARedZigZagOnlyUnderItsText) {
  Show("gut <E>Fehler</E>");
  const auto red = [](COLORREF c) { return c == RGB(255, 0, 0); };
  const RECT err = PieceRect("Fehler");
  EXPECT_GT(CountIn(RECT{err.left, err.bottom - 3, err.right + 1, err.bottom}, red), (err.right - err.left) / 2);
  const RECT good = PieceRect("gut ");
  EXPECT_EQ(CountIn(good, red), 0);
}

TEST_F(HtmlLabelTest, HighlightFillsItsPieceWithTheSelectionColours) {
  Show("normal <HI>markiert</HI>");
  const COLORREF hi = GetSysColor(COLOR_HIGHLIGHT);
  const RECT r = PieceRect("markiert");
  const int area = (r.right - r.left) * (r.bottom - r.top);
  EXPECT_GT(CountIn(r, [&](COLORREF c) { return c == hi; }), area / 2);
  EXPECT_GT(CountIn(r, [](COLORREF c) { return c == GetSysColor(COLOR_HIGHLIGHTTEXT); }), 0);
  EXPECT_EQ(CountIn(PieceRect("normal "), [&](COLORREF c) { return c == hi; }), 0);
}

TEST_F(HtmlLabelTest, ShadowIsGreyTextOnePixelBehind) {
  const auto grey = [](COLORREF c) { return c == RGB(128, 128, 128); };
  Show("<SH>Schatten</SH>");
  RECT r = PieceRect("Schatten");
  r.right += 1;
  r.bottom += 1;
  EXPECT_GT(CountIn(r, grey), 5);
  Show("Schatten");
  EXPECT_EQ(CountIn(r, grey), 0);
}

TEST_F(HtmlLabelTest, ClickOnALinkTheShellCannotOpenBeepsAClickBesideItDoesNot) {
  RecordingUser user;
  Show("Siehe <A HREF=\"zsnix://nirgends\">hier</A> unten");
  const RECT link = PieceRect("hier");
  const auto click = [&](int x, int y) {
    SendMessageA(label_.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  };
  click(link.left - 3, (link.top + link.bottom) / 2);
  EXPECT_TRUE(user.beeps.empty());
  click((link.left + link.right) / 2, (link.top + link.bottom) / 2);
  EXPECT_EQ(user.beeps.size(), 1u);
}

TEST_F(HtmlLabelTest, OnlyUrlAndMailTargetsReachTheShell) {
  RecordingUser user;
  EXPECT_FALSE(THtmlLabel::OpenLink("kein Ziel"));
  EXPECT_TRUE(user.beeps.empty());
  EXPECT_FALSE(THtmlLabel::OpenLink("zsnix://nirgends"));
  EXPECT_EQ(user.beeps.size(), 1u);
}

TEST_F(HtmlLabelTest, PointerOverALinkIsTheHand) {
  Show("Siehe <A HREF=\"zsnix://nirgends\">hier</A> unten");
  const RECT link = PieceRect("hier");
  POINT over{(link.left + link.right) / 2, (link.top + link.bottom) / 2};
  ClientToScreen(label_.Handle(), &over);
  SetCursorPos(over.x, over.y);
  SendMessageA(label_.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label_.Handle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
  POINT beside{link.left - 3, (link.top + link.bottom) / 2};
  ClientToScreen(label_.Handle(), &beside);
  SetCursorPos(beside.x, beside.y);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  SendMessageA(label_.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label_.Handle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), LoadCursor(nullptr, IDC_HAND));
}

}  // namespace
}  // namespace zs::test
