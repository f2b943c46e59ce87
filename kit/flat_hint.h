// TFlatHint: the look of a window's tooltips, and the tooltip itself. The
// hint window exists only while a hint shows: it is created when the pointer
// has rested on a control with a hint and destroyed as soon as the hint
// hides (pointer gone, a click, a key, or after a while). It has no owner
// window. Both keep the form free of topmost popups, on which Wine ignores
// the form's own SetWindowPos(HWND_TOPMOST/NOTOPMOST).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "kit/gdi.h"
#include "kit/window.h"

namespace zs {

class TFlatHint : public TComponent {
 public:
  TFlatHint(TComponent* owner, std::string name);
  ~TFlatHint() override;

  // Style. Colours are colour values (kit/gdi.h).
  int32_t ColorBorder = 0x00FF8080;          // RGB(128, 128, 255)
  int32_t ArrowBackgroundColor = 0x00FF8080;  // RGB(128, 128, 255)
  int32_t ArrowColor = 0x00FFFFFF;
  int32_t Color = SystemColor(COLOR_INFOBK);
  int MaxHintWidth = 600;
  // Tahoma 8 pt.
  HFONT HintFont() const { return font_.get(); }

  // Delays in milliseconds: before showing, and how long a hint stays.
  int HidePause = 4000;
  int ShowPause = 500;

  // The pointer moved over `control`, which has the hint `text`: starts the
  // show delay unless that hint already shows or waits.
  void MouseOver(HWND control, const std::string& text);
  // The pointer left `control`, or it was clicked or got a key: hides.
  void Cancel();
  // Shows `text` at once below the pointer position `at` (screen).
  void ShowAt(HWND control, const std::string& text, POINT at);

  bool Showing() const;
  // The hint window while a hint shows, else null.
  HWND Window() const;

 private:
  class HintWindow;
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
  void StopTimer();

  zs::Font font_;
  std::unique_ptr<HintWindow> window_;
  HWND control_ = nullptr;
  std::string text_;
  UINT_PTR timer_ = 0;
  bool waiting_to_show_ = false;
};

}  // namespace zs
