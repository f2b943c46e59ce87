// Drives a message box from a thread timer while its modal loop runs: each
// tick runs the current step until it answers true, then the next one. A
// script that does not finish in time closes the box and reports it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/message_box_win.h"

namespace zs::test {

class BoxScript {
 public:
  using Step = std::function<bool()>;
  explicit BoxScript(std::vector<Step> steps, int max_ticks = 300) : steps_(std::move(steps)), max_ticks_(max_ticks) {
    previous_ = current_;
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 15, &Tick);
  }
  ~BoxScript() {
    KillTimer(nullptr, timer_);
    current_ = previous_;
  }
  BoxScript(const BoxScript&) = delete;
  BoxScript& operator=(const BoxScript&) = delete;

  bool Finished() const { return next_ == steps_.size(); }
  bool TimedOut() const { return timed_out_; }
  size_t StepReached() const { return next_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    BoxScript* s = current_;
    if (!s || id != s->timer_ || s->busy_) return;
    if (s->next_ >= s->steps_.size()) return;
    if (++s->ticks_ > s->max_ticks_) {
      s->timed_out_ = true;
      s->next_ = s->steps_.size();
      if (HWND b = FindWindowA("TFSB_BOX", nullptr)) PostMessageA(b, WM_CLOSE, 0, 0);
      return;
    }
    s->busy_ = true;  // a step may run a nested box; its ticks must not re-enter
    const size_t at = s->next_;
    const bool done = s->steps_[at]();
    s->busy_ = false;
    if (done && s->next_ == at) ++s->next_;
  }

  static inline BoxScript* current_ = nullptr;
  BoxScript* previous_ = nullptr;
  std::vector<Step> steps_;
  size_t next_ = 0;
  int ticks_ = 0;
  int max_ticks_;
  bool timed_out_ = false;
  bool busy_ = false;
  UINT_PTR timer_ = 0;
};

// The box on top (the last one shown), or null.
inline HWND BoxWindow() {
  HWND h = FindWindowA("TFSB_BOX", nullptr);
  return h && IsWindowVisible(h) ? h : nullptr;
}
inline TFSB_BOX* Box() { return dynamic_cast<TFSB_BOX*>(TWinControl::FromHandle(BoxWindow())); }

// The box is up, in front and has its initial focus: ready for input.
inline bool BoxReady() {
  TFSB_BOX* b = Box();
  return b && GetForegroundWindow() == b->Handle() && GetFocus() && IsChild(b->Handle(), GetFocus());
}

// Real keyboard input: (virtual key, key up) pairs.
inline void Keys(std::initializer_list<std::pair<WORD, bool>> keys) {
  std::vector<INPUT> in;
  for (auto [vk, up] : keys) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}
inline void Press(WORD vk) { Keys({{vk, false}, {vk, true}}); }

// A real left click in the middle of `hwnd`.
inline void ClickAt(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
}

}  // namespace zs::test
