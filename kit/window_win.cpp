#include "kit/window.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <unordered_map>

#include "kit/gdi.h"
#include "ui/user_seams.h"

namespace zs {
namespace {

// The object of each window of ours, by handle: one lookup for kit classes
// and subclassed system controls (whose GWLP_USERDATA belongs to the
// control). Not a window property: under Wine every property lookup is a
// server round trip, and this one runs for every message, each tree insert
// of a fill among them. All windows live on the one GUI thread.
std::unordered_map<HWND, TWinControl*>& BoundObjects() {
  static std::unordered_map<HWND, TWinControl*> objects;
  return objects;
}

// All windows live on the one GUI thread: one kept exception.
std::exception_ptr g_pending;

// Hands a keyboard message to the key preview of its form.
bool PreviewMessage(MSG& m) {
  if (m.message < WM_KEYFIRST || m.message > WM_KEYLAST || !m.hwnd) return false;
  TForm* form = dynamic_cast<TForm*>(TWinControl::FromHandle(GetAncestor(m.hwnd, GA_ROOT)));
  return form && form->PreviewKey(m);
}

void TranslateAndDispatch(MSG& m) {
  if (!PreviewMessage(m)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

}  // namespace

// ---- Kept exceptions --------------------------------------------------------

void KeepPendingException(std::exception_ptr e) noexcept {
  if (!g_pending) g_pending = std::move(e);
}

bool HasPendingException() noexcept { return static_cast<bool>(g_pending); }

void RethrowPendingException() {
  if (g_pending) std::rethrow_exception(std::exchange(g_pending, nullptr));
}

// ---- Message loops ------------------------------------------------------------

PumpResult PumpMessage(bool wait) {
  MSG m;
  if (wait) {
    const BOOL r = GetMessageA(&m, nullptr, 0, 0);
    if (r == -1) return PumpResult::kIdle;
    if (r == 0) {
      PostQuitMessage(static_cast<int>(m.wParam));
      return PumpResult::kQuit;
    }
  } else {
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) return PumpResult::kIdle;
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      return PumpResult::kQuit;
    }
  }
  TranslateAndDispatch(m);
  RethrowPendingException();
  return PumpResult::kDispatched;
}

bool ProcessMessages() {
  // Bounded by what is queued now: a handler that posts again is served next time.
  for (int i = 0; i < 10000; ++i) {
    const PumpResult r = PumpMessage(false);
    if (r == PumpResult::kQuit) return false;
    if (r == PumpResult::kIdle) break;
  }
  return true;
}

bool RunModalLoop(const std::function<bool()>& done) {
  while (!done())
    if (PumpMessage(true) == PumpResult::kQuit) return false;
  return true;
}

std::string ExceptionMessage(const std::exception_ptr& e) {
  try {
    if (e) std::rethrow_exception(e);
  } catch (const std::exception& ex) {
    return ex.what();
  } catch (...) {
  }
  return "Unbekannter Fehler";
}

void ShowExceptionNote(const std::exception_ptr& e) {
  try {
    ShowNoteBox("<B>Fehler:</B><BR>" + ExceptionMessage(e));
  } catch (...) {
    // The error display itself failed (no memory, no window): nothing more to show.
  }
}

int RunMessageLoop() {
  for (;;) {
    try {
      MSG m;
      const BOOL r = GetMessageA(&m, nullptr, 0, 0);
      if (r == 0) return static_cast<int>(m.wParam);
      if (r == -1) return -1;
      TranslateAndDispatch(m);
      RethrowPendingException();
    } catch (...) {
      ShowExceptionNote(std::current_exception());
    }
  }
}

bool KeyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// ---- TWinControl --------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner, std::string name, std::string class_name)
    : TComponent(owner, std::move(name), std::move(class_name)), color_(kColorNone) {
  DefineProperty("Visible", [this](int32_t v) { SetVisible(v != 0); }, [this] { return visible_ ? 1 : 0; });
  DefineProperty("Enabled", [this](int32_t v) { SetEnabled(v != 0); }, [this] { return enabled_ ? 1 : 0; });
  DefineProperty("Color", [this](int32_t v) { SetColor(v); }, [this] { return color_; });
  DefineProperty("Tag", [this](int32_t v) { tag_ = v; }, [this] { return tag_; });
  DefineProperty("Left", [this](int32_t v) { SetBounds(v, Top(), Width(), Height()); }, [this] { return Left(); });
  DefineProperty("Top", [this](int32_t v) { SetBounds(Left(), v, Width(), Height()); }, [this] { return Top(); });
  DefineProperty("Width", [this](int32_t v) { SetBounds(Left(), Top(), v, Height()); }, [this] { return Width(); });
  DefineProperty("Height", [this](int32_t v) { SetBounds(Left(), Top(), Width(), v); }, [this] { return Height(); });
}

TWinControl::~TWinControl() {
  if (parent_) std::erase(parent_->children_, this);
  for (TWinControl* c : children_) c->parent_ = nullptr;
  if (hwnd_) {
    // Unbind first: the derived parts are gone, so no handler may run now.
    HWND h = hwnd_;
    Unbind();
    DestroyWindow(h);
  }
  if (color_brush_) DeleteObject(color_brush_);
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  const auto& objects = BoundObjects();
  auto it = objects.find(hwnd);
  return it == objects.end() ? nullptr : it->second;
}

void TWinControl::Bind(HWND hwnd) {
  hwnd_ = hwnd;
  BoundObjects()[hwnd] = this;
}

void TWinControl::Unbind() {
  if (!hwnd_) return;
  BoundObjects().erase(hwnd_);
  if (original_proc_) {
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_proc_));
    original_proc_ = nullptr;
  }
  hwnd_ = nullptr;
}

void TWinControl::RegisterKitClass(const std::string& name) {
  static std::set<std::string> registered;
  if (registered.count(name)) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = ClassProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name.c_str();
  if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw std::runtime_error("RegisterClassEx " + name + " failed");
  registered.insert(name);
}

LRESULT CALLBACK TWinControl::ClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWinControl* self = FromHandle(hwnd);
  if (!self && msg == WM_NCCREATE) {
    self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    if (self) self->Bind(hwnd);
  }
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  return self->Dispatch(hwnd, msg, wp, lp);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWinControl* self = FromHandle(hwnd);
  if (!self) {
    // Unbound between the lookup of the class and now: nothing of ours left.
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  return self->Dispatch(hwnd, msg, wp, lp);
}

LRESULT TWinControl::Dispatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  try {
    result = WndProc(msg, wp, lp);
  } catch (...) {
    KeepPendingException(std::current_exception());
    if (msg == WM_NCCREATE) result = FALSE;
    else if (msg == WM_CREATE) result = -1;
    else if (msg == WM_NCDESTROY) result = 0;
    else result = 0;
  }
  if (msg == WM_NCDESTROY && hwnd_ == hwnd) {
    try {
      HandleDestroyed();
    } catch (...) {
      KeepPendingException(std::current_exception());
    }
    Unbind();
  }
  return result;
}

LRESULT TWinControl::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (original_proc_) return CallWindowProcA(original_proc_, hwnd_, msg, wp, lp);
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

bool TWinControl::EraseBackground(HDC dc) {
  if (original_proc_ || color_ == kColorNone) return false;
  RECT r;
  GetClientRect(hwnd_, &r);
  Brush b(CreateSolidBrush(ColorToRGB(color_)));
  FillRect(dc, &r, b.get());
  return true;
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      if (EraseBackground(reinterpret_cast<HDC>(wp))) return 1;
      break;
    case WM_COMMAND:
      if (lp) {
        if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lp)))
          if (child->OnParentCommand(HIWORD(wp))) return 0;
      }
      break;
    case WM_NOTIFY: {
      NMHDR* h = reinterpret_cast<NMHDR*>(lp);
      if (h) {
        if (TWinControl* child = FromHandle(h->hwndFrom)) {
          LRESULT r = 0;
          if (child->OnParentNotify(h, &r)) return r;
        }
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      TWinControl* child = FromHandle(reinterpret_cast<HWND>(lp));
      if (child && child->color_ != kColorNone) {
        const COLORREF rgb = ColorToRGB(child->color_);
        if (!child->color_brush_ || child->color_brush_rgb_ != rgb) {
          if (child->color_brush_) DeleteObject(child->color_brush_);
          child->color_brush_ = CreateSolidBrush(rgb);
          child->color_brush_rgb_ = rgb;
        }
        SetBkColor(reinterpret_cast<HDC>(wp), rgb);
        return reinterpret_cast<LRESULT>(child->color_brush_);
      }
      break;
    }
    case WM_SIZE:
      if (!children_.empty()) Realign();
      break;
    default:
      break;
  }
  return DefaultProc(msg, wp, lp);
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.window_class = ClassName();
  p.system_class = false;
  if (parent_) {
    p.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    p.parent = parent_->Handle();
  } else {
    p.style = WS_POPUP | WS_CLIPCHILDREN;
    p.parent = owner_hwnd_;
  }
  if (visible_) p.style |= WS_VISIBLE;
  if (!enabled_) p.style |= WS_DISABLED;
  if (tab_stop_) p.style |= WS_TABSTOP;
}

void TWinControl::CreateHandle() {
  if (hwnd_) return;
  if (parent_ && !parent_->Handle()) throw std::logic_error(Name() + ": parent has no window yet");
  TCreateParams p;
  CreateParams(p);
  if (!p.system_class) RegisterKitClass(p.window_class);
  HWND h = CreateWindowExA(p.ex_style, p.window_class.c_str(), caption_.c_str(), p.style, bounds_.left, bounds_.top,
                           Width(), Height(), p.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.id)),
                           GetModuleHandleA(nullptr), p.system_class ? nullptr : this);
  if (!h) {
    RethrowPendingException();
    throw std::runtime_error("CreateWindowEx " + p.window_class + " failed (" + std::to_string(GetLastError()) + ")");
  }
  if (p.system_class) {
    Bind(h);
    original_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::SubclassProc)));
  }
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(EffectiveFont()), FALSE);
  HandleCreated();
  RethrowPendingException();
  if (!children_.empty()) Realign();
}

void TWinControl::DestroyHandle() {
  if (hwnd_) DestroyWindow(hwnd_);  // WM_NCDESTROY unbinds
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent_) std::erase(parent_->children_, this);
  parent_ = parent;
  if (parent_) parent_->children_.push_back(this);
  if (hwnd_) ::SetParent(hwnd_, parent_ ? parent_->Handle() : nullptr);
}

void TWinControl::ApplyBounds() {
  if (hwnd_)
    SetWindowPos(hwnd_, nullptr, bounds_.left, bounds_.top, Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  bounds_ = RECT{left, top, left + std::max(0, width), top + std::max(0, height)};
  ApplyBounds();
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

int TWinControl::ClientWidth() const {
  if (!hwnd_) return Width();
  RECT r;
  GetClientRect(hwnd_, &r);
  return r.right;
}

int TWinControl::ClientHeight() const {
  if (!hwnd_) return Height();
  RECT r;
  GetClientRect(hwnd_, &r);
  return r.bottom;
}

void TWinControl::SetClientSize(int width, int height) {
  int extra_w = 0, extra_h = 0;
  if (hwnd_) {
    RECT w, c;
    GetWindowRect(hwnd_, &w);
    GetClientRect(hwnd_, &c);
    extra_w = (w.right - w.left) - c.right;
    extra_h = (w.bottom - w.top) - c.bottom;
  }
  SetBounds(Left(), Top(), width + extra_w, height + extra_h);
}

void TWinControl::SetAlign(TAlign align) {
  align_ = align;
  if (parent_) parent_->Realign();
}

void TWinControl::SetBorderWidth(int px) {
  border_width_ = std::max(0, px);
  Realign();
}

void TWinControl::Realign() {
  RECT r{0, 0, ClientWidth(), ClientHeight()};
  InflateRect(&r, -border_width_, -border_width_);
  auto place = [](TWinControl* c, int l, int t, int w, int h) {
    c->bounds_ = RECT{l, t, l + std::max(0, w), t + std::max(0, h)};
    c->ApplyBounds();
  };
  for (TAlign pass : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
    for (TWinControl* c : children_) {
      if (c->align_ != pass || !c->visible_) continue;
      const int w = r.right - r.left, h = r.bottom - r.top;
      switch (pass) {
        case TAlign::alTop:
          place(c, r.left, r.top, w, c->Height());
          r.top += c->Height();
          break;
        case TAlign::alBottom:
          place(c, r.left, r.bottom - c->Height(), w, c->Height());
          r.bottom -= c->Height();
          break;
        case TAlign::alLeft:
          place(c, r.left, r.top, c->Width(), h);
          r.left += c->Width();
          break;
        case TAlign::alRight:
          place(c, r.right - c->Width(), r.top, c->Width(), h);
          r.right -= c->Width();
          break;
        default:
          place(c, r.left, r.top, w, h);
          break;
      }
    }
  }
}

void TWinControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (hwnd_) ShowWindow(hwnd_, visible ? (parent_ ? SW_SHOW : SW_SHOWNORMAL) : SW_HIDE);
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TWinControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (hwnd_) EnableWindow(hwnd_, enabled);
}

void TWinControl::SetTabStop(bool tab_stop) {
  tab_stop_ = tab_stop;
  if (hwnd_) {
    LONG_PTR s = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    SetWindowLongPtrA(hwnd_, GWL_STYLE, tab_stop ? (s | WS_TABSTOP) : (s & ~static_cast<LONG_PTR>(WS_TABSTOP)));
  }
}

void TWinControl::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (hwnd_) SetWindowTextA(hwnd_, caption_.c_str());
}

void TWinControl::SetColor(int32_t color) {
  color_ = color;
  Invalidate();
}

void TWinControl::SetFont(HFONT font) {
  font_ = font;
  if (hwnd_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(EffectiveFont()), TRUE);
}

HFONT TWinControl::EffectiveFont() const {
  if (font_) return font_;
  if (parent_) return parent_->EffectiveFont();
  return KitFont();
}

void TWinControl::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

bool TWinControl::Focused() const { return hwnd_ && GetFocus() == hwnd_; }

void TWinControl::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

// ---- TSystemControl -----------------------------------------------------------

TSystemControl::TSystemControl(TComponent* owner, std::string name, std::string class_name,
                               std::string system_class, DWORD style, DWORD ex_style)
    : TWinControl(owner, std::move(name), std::move(class_name)),
      system_class_(std::move(system_class)),
      style_(style),
      ex_style_(ex_style) {}

void TSystemControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.window_class = system_class_;
  p.system_class = true;
  p.style |= style_;
  p.ex_style |= ex_style_;
}

// ---- TForm ----------------------------------------------------------------------

TForm::TForm(TComponent* owner, std::string name, std::string class_name)
    : TWinControl(owner, std::move(name), std::move(class_name)) {
  SetVisible(false);
}

void TForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ex_style |= WS_EX_CONTROLPARENT;
}

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      if (in_modal_) {
        SetModalResult(2);
        return 0;
      }
      break;
    case WM_ACTIVATE: {
      const bool active = LOWORD(wp) != WA_INACTIVE;
      if (!active) {
        HWND f = GetFocus();
        if (f && IsChild(Handle(), f)) saved_focus_ = f;
      }
      Activated(active, reinterpret_cast<HWND>(lp));
      if (active && !HIWORD(wp) && saved_focus_ && IsWindow(saved_focus_) && IsChild(Handle(), saved_focus_)) {
        ::SetFocus(saved_focus_);
        return 0;
      }
      break;
    }
    default:
      break;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

void TForm::SetModalResult(int result) {
  modal_result_ = result;
  // Wakes the loop when the result was set from a message sent by another thread.
  if (Handle()) PostMessageA(Handle(), WM_NULL, 0, 0);
}

TWinControl* TForm::ActiveControl() const {
  HWND f = GetFocus();
  if (!f || !Handle() || !(f == Handle() || IsChild(Handle(), f))) return nullptr;
  return FromHandle(f);
}

namespace {

struct AcceleratorSearch {
  char letter;
  bool done;
};

BOOL CALLBACK FindAccelerator(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<AcceleratorSearch*>(lp);
  TWinControl* c = TWinControl::FromHandle(h);
  if (c && IsWindowVisible(h) && IsWindowEnabled(h) && c->DoAccelerator(s->letter)) {
    s->done = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

bool TForm::PreviewKey(MSG& m) {
  if (m.message == WM_KEYDOWN && m.wParam == VK_TAB && !KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) {
    if (HWND next = GetNextDlgTabItem(Handle(), GetFocus(), KeyDown(VK_SHIFT))) ::SetFocus(next);
    return true;
  }
  if (m.message == WM_SYSKEYDOWN && ((m.wParam >= 'A' && m.wParam <= 'Z') || (m.wParam >= '0' && m.wParam <= '9'))) {
    AcceleratorSearch search{static_cast<char>(m.wParam), false};
    EnumChildWindows(Handle(), &FindAccelerator, reinterpret_cast<LPARAM>(&search));
    return search.done;
  }
  return false;
}

namespace {

// Disables the thread's other enabled top-level windows for its lifetime.
class DisabledTaskWindows {
 public:
  explicit DisabledTaskWindows(HWND except) : except_(except) {
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
    for (HWND h : windows_) EnableWindow(h, FALSE);
  }
  ~DisabledTaskWindows() {
    for (HWND h : windows_)
      if (IsWindow(h)) EnableWindow(h, TRUE);
  }
  DisabledTaskWindows(const DisabledTaskWindows&) = delete;
  DisabledTaskWindows& operator=(const DisabledTaskWindows&) = delete;

 private:
  static BOOL CALLBACK Collect(HWND h, LPARAM lp) {
    auto* self = reinterpret_cast<DisabledTaskWindows*>(lp);
    if (h != self->except_ && IsWindowVisible(h) && IsWindowEnabled(h)) self->windows_.push_back(h);
    return TRUE;
  }
  HWND except_;
  std::vector<HWND> windows_;
};

}  // namespace

int TForm::ShowModal() {
  if (!Handle()) CreateHandle();
  HWND self = Handle();
  HWND previous_active = GetActiveWindow();
  modal_result_ = 0;
  {
    DisabledTaskWindows disabled(self);
    struct ModalScope {
      TForm& form;
      explicit ModalScope(TForm& f) : form(f) { form.in_modal_ = true; }
      ~ModalScope() { form.in_modal_ = false; }
    } scope(*this);
    try {
      SetVisible(true);
      Shown();
      RunModalLoop([&] { return modal_result_ != 0 || !IsWindow(self); });
    } catch (...) {
      if (IsWindow(self)) SetVisible(false);
      throw;
    }
  }
  // Windows re-enabled first, so activation can go back to the caller's window.
  if (IsWindow(self)) SetVisible(false);
  if (previous_active && IsWindow(previous_active) && previous_active != self) SetActiveWindow(previous_active);
  return modal_result_;
}

}  // namespace zs
