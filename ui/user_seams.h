// The ways portable code reaches the user: notes, yes/no questions, the wait
// cursor and the exclamation beep. The program installs the real ones (the
// system's message box, the animated cursor, MessageBeep); tests install a
// recorder. With nothing installed, notes vanish, questions answer No and the
// cursor and beep do nothing.
#pragma once

#include <string>

namespace zs {

class UserSeams {
 public:
  virtual ~UserSeams() = default;
  virtual void ShowNote(const std::string& text) = 0;
  virtual bool AskYesNo(const std::string& text) = 0;
  virtual void WaitCursor(bool on) = 0;
  virtual void Beep(unsigned type) = 0;
};

// Installs `seams` (not owned; null restores the silent default) and returns
// the one installed before.
UserSeams* SetUserSeams(UserSeams* seams);
UserSeams* CurrentUserSeams();

// Shows `text` (message-box markup) with a single close button.
void ShowNoteBox(const std::string& text);
// Asks `text`; true only when the user chose "Ja".
bool AskYesNoBox(const std::string& text);
// The application-wide wait cursor. The two calls do not nest.
void WaitCursorOn();
void WaitCursorOff();
// MessageBeep(MB_ICONEXCLAMATION).
constexpr unsigned kBeepExclamation = 0x30;
void ExclamationBeep();

// Switches the wait cursor on for its lifetime, and off on every way out.
class WaitCursorScope {
 public:
  WaitCursorScope() { WaitCursorOn(); }
  ~WaitCursorScope() { WaitCursorOff(); }
  WaitCursorScope(const WaitCursorScope&) = delete;
  WaitCursorScope& operator=(const WaitCursorScope&) = delete;
};

}  // namespace zs
