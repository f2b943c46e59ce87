#include "kit/choice_edit.h"

#include <commctrl.h>

#include <vector>

#include "kit/flat_hint.h"
#include "kit/gdi.h"
#include "kit/label.h"

namespace zs {

// The edit box: a subclassed system EDIT that reports keys, and the pointer
// for the hint, to its choice edit.
class TDCChoiceEdit::EditBox : public TSystemControl {
 public:
  explicit EditBox(TDCChoiceEdit& host)
      : TSystemControl(nullptr, host.Name() + ".Edit", "TDCChoiceEditBox", "EDIT", ES_AUTOHSCROLL | ES_LEFT),
        host_(host) {
    SetTabStop(true);
  }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_KEYDOWN:
        if (host_.hint_style_) host_.hint_style_->Cancel();
        if (host_.OnKeyDown && host_.OnKeyDown(static_cast<WORD>(wp))) {
          swallow_char_ = true;
          return 0;
        }
        swallow_char_ = false;
        break;
      case WM_CHAR:
        // The character of a consumed key (Enter) must not reach the edit,
        // which would beep; Enter and Esc never insert anything anyway.
        if (swallow_char_ || wp == '\r' || wp == '\n' || wp == 27) {
          swallow_char_ = false;
          return 0;
        }
        break;
      case WM_MOUSEMOVE:
        if (host_.hint_style_ && host_.show_hint_) {
          if (!tracking_) {
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, Handle(), 0};
            tracking_ = TrackMouseEvent(&t) != FALSE;
          }
          host_.hint_style_->MouseOver(Handle(), host_.hint_);
        }
        break;
      case WM_MOUSELEAVE:
        tracking_ = false;
        if (host_.hint_style_) host_.hint_style_->Cancel();
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
        if (host_.hint_style_) host_.hint_style_->Cancel();
        break;
      default:
        break;
    }
    return TSystemControl::WndProc(msg, wp, lp);
  }

 private:
  TDCChoiceEdit& host_;
  bool swallow_char_ = false;
  bool tracking_ = false;
};

namespace {

// The hint text widened for EM_SETCUEBANNER, which takes UTF-16 only.
std::wstring Widen1252(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(1252, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(1252, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

}  // namespace

TDCChoiceEdit::TDCChoiceEdit(TComponent* owner, std::string name)
    : TWinControl(owner, std::move(name), "TDCChoiceEdit") {
  edit_ = std::make_unique<EditBox>(*this);
  edit_->SetParent(this);
  DefineProperty("DrawStyle", [this](int32_t v) { SetDrawStyle(v); }, [this] { return draw_style_; });
}

TDCChoiceEdit::~TDCChoiceEdit() { edit_.reset(); }

HWND TDCChoiceEdit::EditHandle() const { return edit_->Handle(); }

void TDCChoiceEdit::FocusEdit() { edit_->SetFocus(); }

std::string TDCChoiceEdit::Text() const {
  HWND h = edit_->Handle();
  if (!h) return {};
  const int n = GetWindowTextLengthA(h);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  GetWindowTextA(h, s.data(), n + 1);
  s.resize(static_cast<size_t>(n));
  return s;
}

void TDCChoiceEdit::SetText(const std::string& text) { edit_->SetCaption(text); }

void TDCChoiceEdit::SetEmptyText(const std::string& text) {
  empty_text_ = text;
  if (edit_->Handle()) {
    const std::wstring w = Widen1252(text);
    SendMessageW(edit_->Handle(), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(w.c_str()));
  }
}

void TDCChoiceEdit::SetButtonWidth(int px) {
  button_width_ = px;
  LayoutEdit();
  Invalidate();
}

void TDCChoiceEdit::SetDrawStyle(int style) {
  draw_style_ = style;
  LayoutEdit();
  Invalidate();
}

int TDCChoiceEdit::FrameWidth() const {
  switch (draw_style_) {
    case 0: return 2;
    case 2: return 0;
    default: return 1;
  }
}

RECT TDCChoiceEdit::ButtonRect() const {
  RECT r;
  GetClientRect(Handle(), &r);
  const int f = FrameWidth();
  return RECT{r.right - f - button_width_, r.top + f, r.right - f, r.bottom - f};
}

void TDCChoiceEdit::LayoutEdit() {
  if (!Handle() || !edit_->Handle()) return;
  RECT r;
  GetClientRect(Handle(), &r);
  const int f = FrameWidth();
  // The edit's text sits vertically centred: its height is the font's.
  TEXTMETRICA tm{};
  {
    WindowDC dc(edit_->Handle());
    SelectGuard g(dc.get(), edit_->EffectiveFont());
    GetTextMetricsA(dc.get(), &tm);
  }
  const int inner = r.bottom - 2 * f;
  const int h = std::min<int>(inner, tm.tmHeight + 2);
  edit_->SetBounds(f + 2, f + (inner - h) / 2, r.right - 2 * f - button_width_ - 3, h);
}

void TDCChoiceEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ex_style |= WS_EX_CONTROLPARENT;
}

void TDCChoiceEdit::HandleCreated() {
  edit_->CreateHandle();
  SetEmptyText(empty_text_);
  LayoutEdit();
}

void TDCChoiceEdit::ClickButton() {
  if (OnButtonClick) OnButtonClick();
}

void TDCChoiceEdit::Paint(HDC dc) {
  RECT r;
  GetClientRect(Handle(), &r);
  const COLORREF face = Color() != kColorNone ? ColorToRGB(Color()) : GetSysColor(COLOR_WINDOW);
  Brush back(CreateSolidBrush(face));
  FillRect(dc, &r, back.get());
  switch (draw_style_) {
    case 0: {
      RECT e = r;
      DrawEdge(dc, &e, EDGE_SUNKEN, BF_RECT);
      break;
    }
    case 2:
      break;
    default: {
      Brush frame(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
      FrameRect(dc, &r, frame.get());
      break;
    }
  }
  // The button: a flat face with a magnifying glass.
  RECT b = ButtonRect();
  Brush bface(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  FillRect(dc, &b, bface.get());
  Pen sep(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
  {
    SelectGuard p(dc, sep.get());
    MoveToEx(dc, b.left, b.top, nullptr);
    LineTo(dc, b.left, b.bottom);
  }
  const int off = button_down_ ? 1 : 0;
  const int cx = (b.left + b.right) / 2 - 1 + off, cy = (b.top + b.bottom) / 2 - 1 + off;
  Pen glass(CreatePen(PS_SOLID, 2, RGB(40, 40, 40)));
  Pen handle(CreatePen(PS_SOLID, 3, RGB(40, 40, 40)));
  SelectGuard nb(dc, GetStockObject(NULL_BRUSH));
  {
    SelectGuard p(dc, glass.get());
    Ellipse(dc, cx - 5, cy - 5, cx + 3, cy + 3);
  }
  {
    SelectGuard p(dc, handle.get());
    MoveToEx(dc, cx + 2, cy + 2, nullptr);
    LineTo(dc, cx + 6, cy + 6);
  }
}

LRESULT TDCChoiceEdit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDC dc(Handle());
      Paint(dc.get());
      return 0;
    }
    case WM_SIZE:
      LayoutEdit();
      break;
    case WM_SETFOCUS:
      FocusEdit();
      return 0;
    case WM_SETFONT:
      if (edit_->Handle()) SendMessageA(edit_->Handle(), WM_SETFONT, wp, lp);
      LayoutEdit();
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (Color() != kColorNone) {
        // The box's colour is the edit's background.
        static Brush brush;
        static COLORREF brush_rgb = 0;
        const COLORREF rgb = ColorToRGB(Color());
        if (!brush || brush_rgb != rgb) {
          brush.reset(CreateSolidBrush(rgb));
          brush_rgb = rgb;
        }
        SetBkColor(reinterpret_cast<HDC>(wp), rgb);
        return reinterpret_cast<LRESULT>(brush.get());
      }
      break;
    case WM_LBUTTONDOWN: {
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT b = ButtonRect();
      if (hint_style_) hint_style_->Cancel();
      if (PtInRect(&b, pt)) {
        button_down_ = true;
        SetCapture(Handle());
        InvalidateRect(Handle(), &b, FALSE);
      } else {
        FocusEdit();
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      if (!button_down_) return 0;
      button_down_ = false;
      ReleaseCapture();
      RECT b = ButtonRect();
      InvalidateRect(Handle(), &b, FALSE);
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (PtInRect(&b, pt)) ClickButton();
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (button_down_) {
        button_down_ = false;
        Invalidate();
      }
      break;
    default:
      break;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

}  // namespace zs
