#include "ui/user_seams_win.h"

#include <windows.h>

#include "ui/message_box_win.h"
#include "ui/user_seams.h"

namespace zs {
namespace {

std::function<void(bool)>& WaitHook() {
  static std::function<void(bool)> hook;
  return hook;
}

class WindowsUserSeams final : public UserSeams {
 public:
  void ShowNote(const std::string& text) override { ShowNoteBoxWindow(text); }
  bool AskYesNo(const std::string& text) override { return AskYesNoBoxWindow(text); }
  void WaitCursor(bool on) override {
    if (WaitHook()) {
      WaitHook()(on);
      return;
    }
    SetCursor(LoadCursor(nullptr, on ? IDC_WAIT : IDC_ARROW));
  }
  void Beep(unsigned type) override { MessageBeep(type); }
};

}  // namespace

void InstallWindowsUserSeams() {
  static WindowsUserSeams seams;
  SetUserSeams(&seams);
}

void SetWaitCursorHook(std::function<void(bool on)> hook) { WaitHook() = std::move(hook); }

}  // namespace zs
