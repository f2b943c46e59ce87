// The flat button (class "TFlatButton"): button-face colour and border,
// square corners, an optional glyph left of the caption, focus and pressed
// states. Clicked by the mouse, by Space (on release), by Enter, by BM_CLICK
// and by Alt with its accelerator letter ("&Neu lesen": Alt+N) in its form.
#pragma once

#include <functional>
#include <string>

#include "kit/window.h"

namespace zs {

class TFlatButton : public TWinControl {
 public:
  // Paints the glyph into `r` (its size as given to SetGlyph), greyed when disabled.
  using GlyphPainter = std::function<void(HDC dc, const RECT& r, bool enabled)>;

  TFlatButton(TComponent* owner, std::string name, std::string class_name = "TFlatButton");

  // Called for every click, whatever its source.
  std::function<void()> OnClick;
  // Enter pressed while the button has the focus. Null: Enter clicks.
  std::function<void()> OnEnterKey;

  void SetGlyph(GlyphPainter painter, int width, int height);
  // Fires OnClick (BM_CLICK does the same).
  void Click();
  // The accelerator letter of the caption, upper case, or 0.
  char Accelerator() const;
  bool Pressed() const { return pressed_; }
  bool DoAccelerator(char letter) override;

  // Published, set as integers: Visible, Color, ColorDown, ColorFocused,
  // ColorBorder, ColorHighLight, ColorShadow, Round (corner radius, 0 square),
  // Margin (glyph distance from the left, -1 centred), Spacing (glyph to caption).

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool EraseBackground(HDC) override { return true; }

 private:
  void Paint(HDC dc);
  void SetPressed(bool pressed);

  GlyphPainter glyph_;
  int glyph_w_ = 0;
  int glyph_h_ = 0;
  int32_t color_down_;
  int32_t color_focused_;
  int32_t color_border_;
  int32_t color_highlight_;
  int32_t color_shadow_;
  int round_ = 0;
  int margin_ = -1;
  int spacing_ = 4;
  bool pressed_ = false;
  bool mouse_down_ = false;
  bool space_down_ = false;
  bool hot_ = false;
};

}  // namespace zs
