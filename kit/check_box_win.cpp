#include "kit/check_box.h"

#include "kit/gdi.h"

namespace zs {

TsCheckBox::TsCheckBox(TComponent* owner, std::string name) : TWinControl(owner, std::move(name), "TsCheckBox") {
  SetTabStop(true);
  DefineProperty("Checked", [this](int32_t v) { SetChecked(v != 0); }, [this] { return checked_ ? 1 : 0; });
}

void TsCheckBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
}

void TsCheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Invalidate();
}

void TsCheckBox::Click() {
  SetChecked(!checked_);
  if (OnClick) OnClick();
}

void TsCheckBox::SetAutoSize(bool on) {
  auto_size_ = on;
  FitToCaption();
}

void TsCheckBox::FitToCaption() {
  if (!auto_size_ || !Handle()) return;
  WindowDC dc(Handle());
  SelectGuard font(dc.get(), EffectiveFont());
  RECT t{0, 0, 0, 0};
  DrawTextA(dc.get(), Caption().c_str(), -1, &t, DT_SINGLELINE | DT_CALCRECT);
  const int width = 13 + 4 + (t.right - t.left) + 2;  // box, gap, text, focus frame
  if (width > Width()) SetBounds(Left(), Top(), width, Height());
}

COLORREF TsCheckBox::BackgroundRGB() const {
  if (Color() != kColorNone) return ColorToRGB(Color());
  for (TWinControl* p = Parent(); p; p = p->Parent())
    if (p->Color() != kColorNone) return ColorToRGB(p->Color());
  return GetSysColor(COLOR_BTNFACE);
}

void TsCheckBox::Paint(HDC dc) {
  RECT r;
  GetClientRect(Handle(), &r);
  Brush bg(CreateSolidBrush(BackgroundRGB()));
  FillRect(dc, &r, bg.get());

  // The box: 13 x 13, vertically centred, white inside, sunken like the system's.
  const int box = 13;
  RECT b{r.left, (r.bottom - box) / 2, r.left + box, (r.bottom - box) / 2 + box};
  UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
  if (checked_) state |= DFCS_CHECKED;
  if (pressed_) state |= DFCS_PUSHED;
  if (!Enabled()) state |= DFCS_INACTIVE;
  DrawFrameControl(dc, &b, DFC_BUTTON, state);

  SelectGuard font(dc, EffectiveFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  RECT t{b.right + 4, r.top, r.right, r.bottom};
  RECT measured = t;
  DrawTextA(dc, Caption().c_str(), -1, &measured, DT_SINGLELINE | DT_VCENTER | DT_CALCRECT);
  DrawTextA(dc, Caption().c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER);
  if (focused_) {
    const int h = measured.bottom - measured.top;
    RECT f{t.left - 1, (r.bottom - h) / 2 - 1, t.left + (measured.right - measured.left) + 1, (r.bottom - h) / 2 + h + 1};
    DrawFocusRect(dc, &f);
  }
}

LRESULT TsCheckBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT: {
      PaintDC dc(Handle());
      Paint(dc.get());
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_BUTTON;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      focused_ = msg == WM_SETFOCUS;
      Invalidate();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFocus();
      SetCapture(Handle());
      pressed_ = true;
      Invalidate();
      return 0;
    case WM_LBUTTONUP: {
      if (!pressed_) return 0;
      pressed_ = false;
      ReleaseCapture();
      RECT r;
      GetClientRect(Handle(), &r);
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      Invalidate();
      if (PtInRect(&r, pt)) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pressed_) {
        pressed_ = false;
        Invalidate();
      }
      return 0;
    case WM_KEYUP:
      if (wp == VK_SPACE) {
        Click();
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == ' ') return 0;
      break;
    case WM_ENABLE:
      Invalidate();
      break;
    case WM_SETTEXT:
    case WM_SETFONT: {
      LRESULT r = DefaultProc(msg, wp, lp);
      FitToCaption();
      Invalidate();
      return r;
    }
    case BM_GETCHECK:
      return checked_ ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
      SetChecked(wp == BST_CHECKED);
      return 0;
    case BM_CLICK:
      Click();
      return 0;
    default:
      break;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

}  // namespace zs
