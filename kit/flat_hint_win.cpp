#include "kit/flat_hint.h"

#include <algorithm>
#include <map>

namespace zs {
namespace {

// Thread timers have no window; this maps their ids back to the hint.
std::map<UINT_PTR, TFlatHint*>& Timers() {
  static std::map<UINT_PTR, TFlatHint*> timers;
  return timers;
}

constexpr int kArrowWidth = 12;
constexpr int kPadding = 3;

}  // namespace

class TFlatHint::HintWindow : public TWinControl {
 public:
  HintWindow(TFlatHint& style, std::string text)
      : TWinControl(nullptr, "FlatHintWindow", "TFlatHintWindow"), style_(style), text_(std::move(text)) {
    SetVisible(false);
  }

  // Size for the text, at most MaxHintWidth wide.
  SIZE Measure() {
    WindowDC dc(nullptr);
    SelectGuard f(dc.get(), style_.HintFont());
    RECT r{0, 0, std::max(50, style_.MaxHintWidth - kArrowWidth - 2 * kPadding - 2), 0};
    DrawTextA(dc.get(), text_.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return SIZE{r.right + kArrowWidth + 2 * kPadding + 2, std::max<LONG>(r.bottom + 2 * kPadding + 2, 16)};
  }

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.style = WS_POPUP;
    p.ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    p.parent = nullptr;
  }

  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_ERASEBKGND:
        return 1;
      case WM_NCHITTEST:
        return HTTRANSPARENT;
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
      case WM_PAINT: {
        PaintDC dc(Handle());
        Paint(dc.get());
        return 0;
      }
      default:
        break;
    }
    return TWinControl::WndProc(msg, wp, lp);
  }

 private:
  void Paint(HDC dc) {
    RECT r;
    GetClientRect(Handle(), &r);
    Brush back(CreateSolidBrush(ColorToRGB(style_.Color, GetSysColor(COLOR_INFOBK))));
    FillRect(dc, &r, back.get());
    // The arrow strip on the left: a white triangle pointing right.
    RECT strip{r.left, r.top, r.left + kArrowWidth, r.bottom};
    Brush arrow_bg(CreateSolidBrush(ColorToRGB(style_.ArrowBackgroundColor)));
    FillRect(dc, &strip, arrow_bg.get());
    Brush arrow(CreateSolidBrush(ColorToRGB(style_.ArrowColor)));
    Pen arrow_pen(CreatePen(PS_SOLID, 1, ColorToRGB(style_.ArrowColor)));
    {
      SelectGuard b(dc, arrow.get());
      SelectGuard p(dc, arrow_pen.get());
      const int cy = 4 + kPadding + 4;
      POINT tri[3] = {{strip.left + 3, cy - 4}, {strip.left + 7, cy}, {strip.left + 3, cy + 4}};
      Polygon(dc, tri, 3);
    }
    Brush border(CreateSolidBrush(ColorToRGB(style_.ColorBorder)));
    FrameRect(dc, &r, border.get());
    SelectGuard f(dc, style_.HintFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    RECT t{strip.right + kPadding, r.top + kPadding + 1, r.right - kPadding - 1, r.bottom - kPadding};
    DrawTextA(dc, text_.c_str(), -1, &t, DT_WORDBREAK | DT_NOPREFIX);
  }

  TFlatHint& style_;
  std::string text_;
};

TFlatHint::TFlatHint(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name), "TFlatHint"), font_(MakeFont("Tahoma", 11)) {}

TFlatHint::~TFlatHint() {
  StopTimer();
  window_.reset();
}

void TFlatHint::StopTimer() {
  if (timer_) {
    KillTimer(nullptr, timer_);
    Timers().erase(timer_);
    timer_ = 0;
  }
}

void CALLBACK TFlatHint::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Timers().find(id);
  if (it == Timers().end()) {
    KillTimer(nullptr, id);
    return;
  }
  TFlatHint* self = it->second;
  try {
    if (self->waiting_to_show_) {
      self->StopTimer();
      POINT at;
      GetCursorPos(&at);
      HWND under = WindowFromPoint(at);
      if (under == self->control_ || IsChild(self->control_, under)) self->ShowAt(self->control_, self->text_, at);
      else self->Cancel();
    } else {
      self->Cancel();
    }
  } catch (...) {
    KeepPendingException(std::current_exception());
  }
}

void TFlatHint::MouseOver(HWND control, const std::string& text) {
  if (control == control_ && text == text_ && (Showing() || waiting_to_show_)) return;
  Cancel();
  if (text.empty()) return;
  control_ = control;
  text_ = text;
  waiting_to_show_ = true;
  timer_ = SetTimer(nullptr, 0, static_cast<UINT>(ShowPause), &TFlatHint::TimerProc);
  if (timer_) Timers()[timer_] = this;
}

void TFlatHint::ShowAt(HWND control, const std::string& text, POINT at) {
  Cancel();
  control_ = control;
  text_ = text;
  window_ = std::make_unique<HintWindow>(*this, text);
  const SIZE size = window_->Measure();
  // Below the pointer, kept on the screen.
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  int x = std::clamp<int>(at.x, 0, std::max<int>(0, sw - size.cx));
  int y = at.y + 20;
  if (y + size.cy > sh) y = std::max<int>(0, at.y - size.cy - 2);
  window_->SetBounds(x, y, size.cx, size.cy);
  window_->CreateHandle();
  SetWindowPos(window_->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  timer_ = SetTimer(nullptr, 0, static_cast<UINT>(HidePause), &TFlatHint::TimerProc);
  if (timer_) Timers()[timer_] = this;
}

void TFlatHint::Cancel() {
  StopTimer();
  waiting_to_show_ = false;
  window_.reset();  // destroys the window
  control_ = nullptr;
  text_.clear();
}

bool TFlatHint::Showing() const { return window_ && window_->Handle(); }
HWND TFlatHint::Window() const { return window_ ? window_->Handle() : nullptr; }

}  // namespace zs
