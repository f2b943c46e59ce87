#include "ui/user_seams.h"

namespace zs {
namespace {

class SilentSeams final : public UserSeams {
 public:
  void ShowNote(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return false; }
  void WaitCursor(bool) override {}
  void Beep(unsigned) override {}
};

SilentSeams g_silent;
UserSeams* g_seams = &g_silent;

}  // namespace

UserSeams* SetUserSeams(UserSeams* seams) {
  UserSeams* previous = g_seams == &g_silent ? nullptr : g_seams;
  g_seams = seams ? seams : &g_silent;
  return previous;
}

UserSeams* CurrentUserSeams() { return g_seams == &g_silent ? nullptr : g_seams; }

void ShowNoteBox(const std::string& text) { g_seams->ShowNote(text); }
bool AskYesNoBox(const std::string& text) { return g_seams->AskYesNo(text); }
void WaitCursorOn() { g_seams->WaitCursor(true); }
void WaitCursorOff() { g_seams->WaitCursor(false); }
void ExclamationBeep() { g_seams->Beep(kBeepExclamation); }

}  // namespace zs
