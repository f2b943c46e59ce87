#include "kit/label.h"

#include "kit/gdi.h"

namespace zs {

COLORREF InheritedBackground(const TWinControl& control) {
  if (control.Color() != kColorNone) return ColorToRGB(control.Color());
  for (TWinControl* p = control.Parent(); p; p = p->Parent())
    if (p->Color() != kColorNone) return ColorToRGB(p->Color());
  return GetSysColor(COLOR_BTNFACE);
}

TLabel::TLabel(TComponent* owner, std::string name) : TWinControl(owner, std::move(name), "TLabel") {}

void TLabel::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
}

LRESULT TLabel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDC dc(Handle());
      RECT r;
      GetClientRect(Handle(), &r);
      Brush bg(CreateSolidBrush(InheritedBackground(*this)));
      FillRect(dc.get(), &r, bg.get());
      SelectGuard font(dc.get(), EffectiveFont());
      SetBkMode(dc.get(), TRANSPARENT);
      SetTextColor(dc.get(), GetSysColor(COLOR_BTNTEXT));
      DrawTextA(dc.get(), Caption().c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX);
      return 0;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_SETTEXT: {
      LRESULT res = DefaultProc(msg, wp, lp);
      Invalidate();
      return res;
    }
    default:
      break;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

}  // namespace zs
