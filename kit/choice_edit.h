// TDCChoiceEdit: an edit box with one button at its right edge (a
// magnifying glass), a grey cue text while it is empty, and a hint shown by
// a TFlatHint. Flat: a one-pixel frame instead of the sunken edge.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "kit/window.h"

namespace zs {

class TFlatHint;

class TDCChoiceEdit : public TWinControl {
 public:
  TDCChoiceEdit(TComponent* owner, std::string name);
  ~TDCChoiceEdit() override;

  std::string Text() const;
  void SetText(const std::string& text);
  // Grey text shown while the box is empty (Windows-1252).
  void SetEmptyText(const std::string& text);
  const std::string& EmptyText() const { return empty_text_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  const std::string& Hint() const { return hint_; }
  void SetShowHint(bool show) { show_hint_ = show; }
  // The hint style that shows the hint (not owned).
  void SetHintStyle(TFlatHint* hint) { hint_style_ = hint; }
  void SetButtonWidth(int px);
  int ButtonWidth() const { return button_width_; }
  // 0 normal (sunken), 1 flat, 2 none, 3 single.
  void SetDrawStyle(int style);
  int DrawStyle() const { return draw_style_; }

  // The edit box inside, which takes the focus.
  HWND EditHandle() const;
  void FocusEdit();

  // A key went down in the edit box; answer true to consume it.
  std::function<bool(WORD key)> OnKeyDown;
  std::function<void()> OnButtonClick;
  // Simulates a click of the button (raises OnButtonClick).
  void ClickButton();

  // Published: DrawStyle, Visible, Color (the edit box's background).

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  class EditBox;
  friend class EditBox;
  RECT ButtonRect() const;
  void LayoutEdit();
  void Paint(HDC dc);
  int FrameWidth() const;

  std::unique_ptr<EditBox> edit_;
  std::string empty_text_;
  std::string hint_;
  bool show_hint_ = false;
  TFlatHint* hint_style_ = nullptr;
  int button_width_ = 20;
  int draw_style_ = 1;
  bool button_down_ = false;
};

}  // namespace zs
