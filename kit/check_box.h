// TsCheckBox: a transparent check box with its caption to the right. It
// paints its own face on the background of its parent (or on its Color when
// one is set), so it sits on a coloured panel without a grey box around it.
// Answers BM_GETCHECK, BM_SETCHECK and BM_CLICK like a system check box.
#pragma once

#include <functional>
#include <string>

#include "kit/window.h"

namespace zs {

class TsCheckBox : public TWinControl {
 public:
  TsCheckBox(TComponent* owner, std::string name);

  bool Checked() const { return checked_; }
  // Sets the tick without raising OnClick.
  void SetChecked(bool checked);
  // Toggles the tick and raises OnClick, as a click of the user does.
  void Click();

  // Widens the box to its caption whenever the caption or font changes
  // (default on), so the caption is never cut.
  void SetAutoSize(bool on);

  // Raised after the user (mouse, Space, BM_CLICK) changed the tick.
  std::function<void()> OnClick;

  // Published: Color (kColorNone: the parent's background), Checked.

 protected:
  void HandleCreated() override { FitToCaption(); }
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc);
  void FitToCaption();
  COLORREF BackgroundRGB() const;

  bool checked_ = false;
  bool pressed_ = false;
  bool focused_ = false;
  bool auto_size_ = true;
};

}  // namespace zs
