#include "kit/flat_panel.h"

#include <algorithm>

#include "kit/gdi.h"
#include "kit/label.h"

namespace zs {

TFlatPanel::TFlatPanel(TComponent* owner, std::string name)
    : TWinControl(owner, std::move(name), "TFlatPanel"),
      color_highlight_(SystemColor(COLOR_BTNHIGHLIGHT)),
      color_shadow_(SystemColor(COLOR_BTNSHADOW)) {
  DefineProperty("ColorHighLight", [this](int32_t v) { SetColorHighLight(v); }, [this] { return color_highlight_; });
  DefineProperty("ColorShadow", [this](int32_t v) { SetColorShadow(v); }, [this] { return color_shadow_; });
}

void TFlatPanel::SetColorHighLight(int32_t color) {
  color_highlight_ = color;
  Invalidate();
}

void TFlatPanel::SetColorShadow(int32_t color) {
  color_shadow_ = color;
  Invalidate();
}

LRESULT TFlatPanel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wp);
      RECT r;
      GetClientRect(Handle(), &r);
      Brush bg(CreateSolidBrush(InheritedBackground(*this)));
      FillRect(dc, &r, bg.get());
      Pen hi(CreatePen(PS_SOLID, 1, ColorToRGB(color_highlight_, GetSysColor(COLOR_BTNHIGHLIGHT))));
      Pen sh(CreatePen(PS_SOLID, 1, ColorToRGB(color_shadow_, GetSysColor(COLOR_BTNSHADOW))));
      {
        SelectGuard p(dc, hi.get());
        MoveToEx(dc, r.left, r.bottom - 1, nullptr);
        LineTo(dc, r.left, r.top);
        LineTo(dc, r.right - 1, r.top);
      }
      {
        SelectGuard p(dc, sh.get());
        MoveToEx(dc, r.right - 1, r.top, nullptr);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left - 1, r.bottom - 1);
      }
      return 1;
    }
    default:
      break;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

TFlatProgressBar::TFlatProgressBar(TComponent* owner, std::string name)
    : TWinControl(owner, std::move(name), "TFlatProgressBar"),
      color_border_(SystemColor(COLOR_BTNSHADOW)),
      color_fill_(SystemColor(COLOR_HIGHLIGHT)) {
  DefineProperty("Min", [this](int32_t v) { SetMin(v); }, [this] { return min_; });
  DefineProperty("Max", [this](int32_t v) { SetMax(v); }, [this] { return max_; });
  DefineProperty("Position", [this](int32_t v) { SetPosition(v); }, [this] { return position_; });
}

void TFlatProgressBar::SetMin(int v) {
  min_ = v;
  if (max_ < min_) max_ = min_;
  SetPosition(position_);
  Invalidate();
}

void TFlatProgressBar::SetMax(int v) {
  max_ = std::max(v, min_);
  SetPosition(position_);
  Invalidate();
}

void TFlatProgressBar::SetPosition(int v) {
  position_ = std::clamp(v, min_, max_);
  if (!Handle()) return;
  RECT r;
  GetClientRect(Handle(), &r);
  if (FilledWidth(r.right - 2) != painted_fill_) InvalidateRect(Handle(), nullptr, FALSE);
}

void TFlatProgressBar::SetColorBorder(int32_t color) {
  color_border_ = color;
  Invalidate();
}

void TFlatProgressBar::SetColorFill(int32_t color) {
  color_fill_ = color;
  Invalidate();
}

int TFlatProgressBar::FilledWidth(int inner_width) const {
  if (max_ <= min_ || inner_width <= 0) return 0;
  return static_cast<int>(static_cast<long long>(inner_width) * (position_ - min_) / (max_ - min_));
}

LRESULT TFlatProgressBar::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDC dc(Handle());
      RECT r;
      GetClientRect(Handle(), &r);
      Brush border(CreateSolidBrush(ColorToRGB(color_border_, GetSysColor(COLOR_BTNSHADOW))));
      FrameRect(dc.get(), &r, border.get());
      RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
      const int filled = FilledWidth(inner.right - inner.left);
      painted_fill_ = filled;
      RECT done{inner.left, inner.top, inner.left + filled, inner.bottom};
      RECT rest{inner.left + filled, inner.top, inner.right, inner.bottom};
      Brush fill(CreateSolidBrush(ColorToRGB(color_fill_, GetSysColor(COLOR_HIGHLIGHT))));
      Brush back(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
      FillRect(dc.get(), &done, fill.get());
      FillRect(dc.get(), &rest, back.get());
      return 0;
    }
    default:
      break;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

}  // namespace zs
