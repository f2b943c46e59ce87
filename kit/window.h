// The kit's Win32 window base: every window and control of the system is a
// TWinControl, a named component (kit/component.h) that owns one HWND.
//
// Windows and objects:
//  - A control is constructed first (owner, component name, class name), then
//    given its parent and bounds, then created with CreateHandle(). Children
//    are created after their parent. Destroying the object destroys its window.
//  - Kit classes (forms, panels, flat buttons, labels) get a window class of
//    their own, registered on first use, whose one static procedure binds the
//    object at WM_NCCREATE and unbinds it at WM_NCDESTROY. System controls
//    (tree-view, edit, check box, progress bar...) are created by their system
//    class and subclassed by one static thunk, with the same binding rules.
//  - Handlers override WndProc() and pass what they do not handle to
//    DefaultProc(). WM_COMMAND and WM_NOTIFY coming from a child control are
//    handed to that child's OnParentCommand()/OnParentNotify() first.
//
// Exceptions never cross into Windows: the static procedures catch every C++
// exception, keep the first one (KeepPendingException) and answer 0 (for
// WM_NCCREATE/WM_CREATE: creation fails). The loops below throw the kept
// exception again right after DispatchMessage returns, so it reaches whoever
// runs the loop: the caller of a modal box, the code that called
// ProcessMessages() during long work, or RunMessageLoop(), which shows it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "kit/component.h"

namespace zs {

// ---- Kept exceptions --------------------------------------------------------

// Keeps `e` for the next loop of ours; a second exception while one is kept is
// dropped (the first one tells what went wrong).
void KeepPendingException(std::exception_ptr e) noexcept;
bool HasPendingException() noexcept;
// Throws the kept exception (and forgets it); does nothing when none is kept.
void RethrowPendingException();

// ---- Message loops ------------------------------------------------------------

enum class PumpResult { kDispatched, kIdle, kQuit };

// Only these loops give forms their key preview: a loop of someone else's
// (DialogBox, a test harness's plain pump) dispatches keys straight to the
// focused control.
//
// Takes one message (waiting for one when `wait`), lets the key preview of its
// form look at it, translates and dispatches it, then rethrows a kept
// exception. kIdle: nothing was pending (only without `wait`). kQuit: WM_QUIT
// was taken; it is posted again so that the outer loops end too.
PumpResult PumpMessage(bool wait);
// Dispatches every message pending now, once (long work calls this between
// steps). Rethrows; answers false when WM_QUIT was seen.
bool ProcessMessages();
// Dispatches messages until `done()` answers true (checked before each wait).
// Answers false when WM_QUIT ended the loop first. Rethrows.
bool RunModalLoop(const std::function<bool()>& done);
// The application's main loop, until WM_QUIT; answers its exit code. An
// exception that reaches it is shown with ShowExceptionNote and the loop goes on.
int RunMessageLoop();
// The general error display: ShowNoteBox("<B>Fehler:</B><BR>" + message).
void ShowExceptionNote(const std::exception_ptr& e);
// The message of `e` (what() of a std::exception), for notes.
std::string ExceptionMessage(const std::exception_ptr& e);

// ---- Controls -------------------------------------------------------------------

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// What CreateHandle passes to CreateWindowEx; classes adjust it in CreateParams.
struct TCreateParams {
  std::string window_class;  // kit class name, or a system class when `system_class`
  bool system_class = false;
  DWORD style = 0;
  DWORD ex_style = 0;
  HWND parent = nullptr;  // parent, or owner for a top-level window
  int id = 0;             // control id (child windows)
};

class TWinControl : public TComponent {
 public:
  // No window yet; `class_name` is the system's class name ("TPanel") and,
  // for kit classes, the name of the window class too.
  TWinControl(TComponent* owner, std::string name, std::string class_name);
  ~TWinControl() override;

  HWND Handle() const { return hwnd_; }
  bool HandleAllocated() const { return hwnd_ != nullptr; }
  // The object bound to `hwnd` (kit or subclassed window), or null.
  static TWinControl* FromHandle(HWND hwnd);

  // Creates the window (and nothing else: children create their own). Throws
  // std::runtime_error when Windows refuses, or the exception a creation
  // handler raised.
  void CreateHandle();
  // Destroys the window, if any; the object stays usable and can be created again.
  void DestroyHandle();

  // Parent control (null: a top-level window). Set before CreateHandle.
  void SetParent(TWinControl* parent);
  TWinControl* Parent() const { return parent_; }
  // Owner window of a top-level window (ignored for children).
  void SetOwnerWindow(HWND owner) { owner_hwnd_ = owner; }

  // Bounds in the parent's client coordinates (screen for top-level windows).
  void SetBounds(int left, int top, int width, int height);
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.right - bounds_.left; }
  int Height() const { return bounds_.bottom - bounds_.top; }
  // Client size; for a created window the real one.
  int ClientWidth() const;
  int ClientHeight() const;
  // Sets the window size so that the client area gets this size.
  void SetClientSize(int width, int height);

  // Alignment inside the parent, applied whenever the parent realigns (on its
  // WM_SIZE and after a child changes). Top children take the top edge in
  // their order, then bottom, left, right, and client takes what is left.
  void SetAlign(TAlign align);
  TAlign Align() const { return align_; }
  // Inner border kept free of aligned children.
  void SetBorderWidth(int px);
  int BorderWidth() const { return border_width_; }
  void Realign();

  void SetVisible(bool visible);
  bool Visible() const { return visible_; }
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  void SetTabStop(bool tab_stop);
  bool TabStop() const { return tab_stop_; }
  void SetCaption(const std::string& caption);
  const std::string& Caption() const { return caption_; }
  // Colour value (kit/gdi.h); paints the background of kit classes and is
  // answered to WM_CTLCOLOR* for system controls. kColorNone: the class default.
  void SetColor(int32_t color);
  int32_t Color() const { return color_; }
  // Font (not owned; must outlive the window). Null: the parent's, or KitFont().
  void SetFont(HFONT font);
  HFONT EffectiveFont() const;

  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  void SetFocus();
  bool Focused() const;
  void Invalidate();

  // Published: Visible, Color, Tag, Left, Top, Width, Height, Enabled.

 protected:
  // Adjust style and class before creation. Defaults: WS_CHILD | WS_CLIPSIBLINGS
  // (+ WS_VISIBLE, WS_TABSTOP, WS_DISABLED from the state) with a parent,
  // WS_POPUP without one; the window class is ClassName().
  virtual void CreateParams(TCreateParams& params);
  // Called once the window exists and is bound (after WM_CREATE).
  virtual void HandleCreated() {}
  // Called from WM_NCDESTROY, just before the object is unbound.
  virtual void HandleDestroyed() {}

  // The object's window procedure. The default handles background, colour
  // and reflection of child notifications, alignment on WM_SIZE; everything
  // else goes to DefaultProc.
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  // DefWindowProc for kit classes, the original procedure for system controls.
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);

  // A child control's WM_COMMAND (notification `code`) or WM_NOTIFY, sent to
  // its parent; answer true when handled (then *result is returned).
  virtual bool OnParentCommand(WORD code) {
    (void)code;
    return false;
  }
  virtual bool OnParentNotify(NMHDR* header, LRESULT* result) {
    (void)header;
    (void)result;
    return false;
  }
  // Paints the background with Color() (kit classes); answer true when painted.
  virtual bool EraseBackground(HDC dc);

 public:
  // Alt + `letter` (upper case) was pressed in this control's form: answer
  // true when this control took it as its accelerator.
  virtual bool DoAccelerator(char letter) {
    (void)letter;
    return false;
  }

 protected:

 private:
  static LRESULT CALLBACK ClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static void RegisterKitClass(const std::string& name);
  LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Bind(HWND hwnd);
  void Unbind();
  void ApplyBounds();

  HWND hwnd_ = nullptr;
  WNDPROC original_proc_ = nullptr;  // system controls only
  TWinControl* parent_ = nullptr;
  std::vector<TWinControl*> children_;  // in SetParent order, for alignment
  HWND owner_hwnd_ = nullptr;
  RECT bounds_{0, 0, 0, 0};
  TAlign align_ = TAlign::alNone;
  int border_width_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  bool tab_stop_ = false;
  std::string caption_;
  int32_t color_;
  HFONT font_ = nullptr;
  mutable HBRUSH color_brush_ = nullptr;  // for WM_CTLCOLOR*
  mutable COLORREF color_brush_rgb_ = 0;
  int tag_ = 0;
};

// A control of a system window class ("BUTTON", "EDIT", WC_TREEVIEWA,
// PROGRESS_CLASSA...), subclassed so that its messages reach WndProc.
class TSystemControl : public TWinControl {
 public:
  TSystemControl(TComponent* owner, std::string name, std::string class_name, std::string system_class,
                 DWORD style = 0, DWORD ex_style = 0);

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  std::string system_class_;
  DWORD style_;
  DWORD ex_style_;
};

// A top-level window. Its window class is its class name ("TFSB_BOX").
class TForm : public TWinControl {
 public:
  TForm(TComponent* owner, std::string name, std::string class_name);

  // Shows the form modally: every other enabled top-level window of this
  // thread is disabled until the loop ends (also when it ends by an
  // exception), the loop runs until ModalResult() is set, the window is gone
  // or WM_QUIT arrives, then the form is hidden. Answers ModalResult() (0 when
  // the loop ended otherwise). Rethrows exceptions from handlers.
  int ShowModal();
  int ModalResult() const { return modal_result_; }
  // Ends a running modal loop with `result` (non-zero).
  void SetModalResult(int result);

  // Key preview: every keyboard message for this form or one of its controls
  // comes here before it is translated and dispatched; answer true to swallow
  // it. The default moves the focus with Tab and Shift+Tab (tab stops, in
  // creation order) and hands Alt+letter to the controls' DoAccelerator
  // (the first visible, enabled one that takes it wins), swallowing those keys.
  virtual bool PreviewKey(MSG& msg);

  // The control with the focus, when it is one of this form's windows.
  TWinControl* ActiveControl() const;

 protected:
  void CreateParams(TCreateParams& params) override;
  // WM_CLOSE: the default ends a modal loop (result 2, cancel) or destroys the window.
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  // Called on the form's WM_ACTIVATE: active or not, and the other window.
  // The form itself keeps the focused control across deactivation.
  virtual void Activated(bool active, HWND other) {
    (void)active;
    (void)other;
  }
  // Called by ShowModal once the window is visible, before the loop runs.
  virtual void Shown() {}

 private:
  int modal_result_ = 0;
  bool in_modal_ = false;
  HWND saved_focus_ = nullptr;
};

// True when the key is held now (GetKeyState).
bool KeyDown(int vk);

}  // namespace zs
