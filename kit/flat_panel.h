// TFlatPanel: a flat panel with a one-pixel border (highlight on the top and
// left edge, shadow on the bottom and right), and TFlatProgressBar: a flat
// bar that fills from the left as its position goes from Min to Max.
#pragma once

#include <cstdint>
#include <string>

#include "kit/window.h"

namespace zs {

class TFlatPanel : public TWinControl {
 public:
  TFlatPanel(TComponent* owner, std::string name);

  void SetColorHighLight(int32_t color);
  int32_t ColorHighLight() const { return color_highlight_; }
  void SetColorShadow(int32_t color);
  int32_t ColorShadow() const { return color_shadow_; }

  // Published: Visible, Color, ColorHighLight, ColorShadow.

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  int32_t color_highlight_;
  int32_t color_shadow_;
};

class TFlatProgressBar : public TWinControl {
 public:
  TFlatProgressBar(TComponent* owner, std::string name);

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetMin(int v);
  void SetMax(int v);
  // Held within [Min, Max].
  void SetPosition(int v);
  void StepBy(int delta) { SetPosition(position_ + delta); }

  void SetColorBorder(int32_t color);
  void SetColorFill(int32_t color);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // Width in pixels of the filled part for the current values.
  int FilledWidth(int inner_width) const;

  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int32_t color_border_;
  int32_t color_fill_;
  int painted_fill_ = -1;  // repaint only when the filled width changes
};

}  // namespace zs
