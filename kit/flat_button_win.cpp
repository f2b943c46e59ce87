#include "kit/flat_button.h"

#include <algorithm>

#include "kit/gdi.h"
#include "kit/html_layout.h"

namespace zs {

TFlatButton::TFlatButton(TComponent* owner, std::string name, std::string class_name)
    : TWinControl(owner, std::move(name), std::move(class_name)),
      color_down_(kClBtnFace),
      color_focused_(kClBtnFace),
      color_border_(kClBtnFace),
      color_highlight_(SystemColor(COLOR_BTNHIGHLIGHT)),
      color_shadow_(SystemColor(COLOR_BTNSHADOW)) {
  SetColor(kClBtnFace);
  SetTabStop(true);
  auto color_prop = [this](const char* name, int32_t* field) {
    DefineProperty(
        name,
        [this, field](int32_t v) {
          *field = v;
          Invalidate();
        },
        [field] { return *field; });
  };
  color_prop("ColorDown", &color_down_);
  color_prop("ColorFocused", &color_focused_);
  color_prop("ColorBorder", &color_border_);
  color_prop("ColorHighLight", &color_highlight_);
  color_prop("ColorShadow", &color_shadow_);
  color_prop("Round", &round_);
  color_prop("Margin", &margin_);
  color_prop("Spacing", &spacing_);
}

void TFlatButton::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }

void TFlatButton::SetGlyph(GlyphPainter painter, int width, int height) {
  glyph_ = std::move(painter);
  glyph_w_ = width;
  glyph_h_ = height;
  Invalidate();
}

void TFlatButton::Click() {
  if (OnClick) OnClick();
}

char TFlatButton::Accelerator() const { return html::AcceleratorChar(Caption()); }

bool TFlatButton::DoAccelerator(char letter) {
  if (!letter || Accelerator() != letter) return false;
  SetFocus();
  Click();
  return true;
}

void TFlatButton::SetPressed(bool pressed) {
  if (pressed_ == pressed) return;
  pressed_ = pressed;
  Invalidate();
}

void TFlatButton::Paint(HDC dc) {
  RECT r;
  GetClientRect(Handle(), &r);
  const bool enabled = IsWindowEnabled(Handle()) != FALSE;
  const bool focused = Focused();
  const int32_t face = pressed_ ? color_down_ : focused ? color_focused_ : Color();

  // Draw into a bitmap first: no flicker when the state changes.
  MemoryDC mem(dc);
  Bitmap bmp(CreateCompatibleBitmap(dc, r.right, r.bottom));
  SelectGuard sel_bmp(mem.get(), bmp.get());
  HDC d = mem.get();
  {
    Brush b(CreateSolidBrush(ColorToRGB(face)));
    Pen border(CreatePen(PS_SOLID, 1, ColorToRGB(color_border_)));
    SelectGuard sb(d, b.get());
    SelectGuard sp(d, border.get());
    if (round_ > 0) {
      // Corners outside the rounded frame show the parent's colour.
      TWinControl* parent = Parent();
      Brush back(CreateSolidBrush(ColorToRGB(parent ? parent->Color() : kClBtnFace, GetSysColor(COLOR_BTNFACE))));
      FillRect(d, &r, back.get());
      RoundRect(d, 0, 0, r.right, r.bottom, round_, round_);
    } else {
      Rectangle(d, 0, 0, r.right, r.bottom);
    }
  }
  // Raised while hot or focused, sunken while pressed.
  if (pressed_ || hot_ || focused) {
    Pen light(CreatePen(PS_SOLID, 1, ColorToRGB(color_highlight_)));
    Pen dark(CreatePen(PS_SOLID, 1, ColorToRGB(color_shadow_)));
    SelectGuard s1(d, (pressed_ ? dark : light).get());
    MoveToEx(d, 0, r.bottom - 1, nullptr);
    LineTo(d, 0, 0);
    LineTo(d, r.right - 1, 0);
    SelectGuard s2(d, (pressed_ ? light : dark).get());
    LineTo(d, r.right - 1, r.bottom - 1);
    LineTo(d, -1, r.bottom - 1);
  }

  const int shift = pressed_ ? 1 : 0;
  SelectGuard sf(d, EffectiveFont());
  RECT text_size{0, 0, 0, 0};
  DrawTextA(d, Caption().c_str(), -1, &text_size, DT_CALCRECT | DT_SINGLELINE);
  const int text_w = text_size.right;
  int gap = (glyph_ && !Caption().empty()) ? spacing_ : 0;
  // Keep clear of the focus rectangle: a tight caption takes the glyph closer.
  const int room = r.right - 8;
  const int glyph_w = glyph_ ? glyph_w_ : 0;
  if (glyph_w + gap + text_w > room) gap = std::max(1, room - glyph_w - text_w);
  const int content = glyph_w + gap + text_w;
  int x = margin_ >= 0 ? margin_ : (r.right - content) / 2;
  if (x < 2) x = 2;
  if (glyph_) {
    RECT g{x + shift, (r.bottom - glyph_h_) / 2 + shift, 0, 0};
    g.right = g.left + glyph_w_;
    g.bottom = g.top + glyph_h_;
    glyph_(d, g, enabled);
    x += glyph_w_ + gap;
  }
  RECT t{x + shift, shift, r.right - 2 + shift, r.bottom + shift};
  SetBkMode(d, TRANSPARENT);
  if (enabled) {
    SetTextColor(d, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(d, Caption().c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  } else {
    // The engraved look of disabled text.
    OffsetRect(&t, 1, 1);
    SetTextColor(d, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(d, Caption().c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    OffsetRect(&t, -1, -1);
    SetTextColor(d, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(d, Caption().c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  }
  if (focused) {
    RECT f = r;
    InflateRect(&f, -3, -3);
    SetTextColor(d, RGB(0, 0, 0));
    SetBkColor(d, RGB(255, 255, 255));
    DrawFocusRect(d, &f);
  }
  BitBlt(dc, 0, 0, r.right, r.bottom, d, 0, 0, SRCCOPY);
}

LRESULT TFlatButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PaintDC dc(Handle());
      Paint(dc.get());
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (msg == WM_KILLFOCUS) {
        space_down_ = false;
        if (!mouse_down_) SetPressed(false);
      }
      Invalidate();
      return 0;
    case WM_ENABLE:
    case WM_SETTEXT: {
      const LRESULT r = DefaultProc(msg, wp, lp);
      Invalidate();
      return r;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFocus();
      SetCapture(Handle());
      mouse_down_ = true;
      SetPressed(true);
      return 0;
    case WM_MOUSEMOVE: {
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT r;
      GetClientRect(Handle(), &r);
      const bool inside = PtInRect(&r, pt) != FALSE;
      if (mouse_down_) SetPressed(inside);
      if (inside != hot_) {
        hot_ = inside;
        Invalidate();
        if (inside) {
          TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, Handle(), 0};
          TrackMouseEvent(&t);
        }
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      hot_ = false;
      Invalidate();
      return 0;
    case WM_LBUTTONUP: {
      const bool click = mouse_down_ && pressed_;
      mouse_down_ = false;
      if (GetCapture() == Handle()) ReleaseCapture();
      SetPressed(false);
      if (click) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      mouse_down_ = false;
      if (!space_down_) SetPressed(false);
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_SPACE) {
        if (!(lp & 0x40000000)) {  // not a repeat
          space_down_ = true;
          SetPressed(true);
        }
        return 0;
      }
      if (wp == VK_RETURN) {
        if (OnEnterKey) OnEnterKey();
        else Click();
        return 0;
      }
      break;
    case WM_KEYUP:
      if (wp == VK_SPACE && space_down_) {
        space_down_ = false;
        SetPressed(false);
        Click();
        return 0;
      }
      break;
    case BM_CLICK:
      Click();
      return 0;
    default:
      break;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

}  // namespace zs
