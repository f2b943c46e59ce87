#include "kit/panel.h"

#include "kit/gdi.h"

namespace zs {

TPanel::TPanel(TComponent* owner, std::string name, std::string class_name)
    : TWinControl(owner, std::move(name), std::move(class_name)) {
  SetColor(kClBtnFace);
  DefineProperty("BevelInner", [this](int32_t v) { SetBevelInner(v); }, [this] { return bevel_inner_; });
  DefineProperty("BevelOuter", [this](int32_t v) { SetBevelOuter(v); }, [this] { return bevel_outer_; });
}

void TPanel::SetBevelInner(int bevel) {
  if (bevel < bvNone || bevel > bvSpace) return;
  bevel_inner_ = bevel;
  Invalidate();
}

void TPanel::SetBevelOuter(int bevel) {
  if (bevel < bvNone || bevel > bvSpace) return;
  bevel_outer_ = bevel;
  Invalidate();
}

void TPanel::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ex_style |= WS_EX_CONTROLPARENT;
}

namespace {

void DrawBevel(HDC dc, RECT& r, int bevel) {
  if (bevel == TPanel::bvNone) return;
  if (bevel == TPanel::bvLowered) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  if (bevel == TPanel::bvRaised) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  InflateRect(&r, -1, -1);
}

}  // namespace

LRESULT TPanel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PaintDC dc(Handle());
    RECT r;
    GetClientRect(Handle(), &r);
    DrawBevel(dc.get(), r, bevel_outer_);
    DrawBevel(dc.get(), r, bevel_inner_);
    if (!Caption().empty()) {
      SelectGuard sf(dc.get(), EffectiveFont());
      SetBkMode(dc.get(), TRANSPARENT);
      SetTextColor(dc.get(), GetSysColor(COLOR_BTNTEXT));
      DrawTextA(dc.get(), Caption().c_str(), -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    return 0;
  }
  if (msg == WM_SIZE) InvalidateRect(Handle(), nullptr, TRUE);  // bevels follow the size
  return TWinControl::WndProc(msg, wp, lp);
}

TImage::TImage(TComponent* owner, std::string name, std::string class_name)
    : TWinControl(owner, std::move(name), std::move(class_name)) {}

void TImage::SetPainter(Painter painter) {
  painter_ = std::move(painter);
  Invalidate();
}

LRESULT TImage::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(Handle(), &r);
    const int32_t back = Parent() ? Parent()->Color() : kClBtnFace;
    Brush b(CreateSolidBrush(ColorToRGB(back, GetSysColor(COLOR_BTNFACE))));
    FillRect(reinterpret_cast<HDC>(wp), &r, b.get());
    return 1;
  }
  if (msg == WM_PAINT) {
    PaintDC dc(Handle());
    RECT r;
    GetClientRect(Handle(), &r);
    if (painter_) painter_(dc.get(), r);
    return 0;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

}  // namespace zs
