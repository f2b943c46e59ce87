// The HTML label (class "TSBHTM"): draws markup (kit/html_layout.h) with real
// fonts and opens <A> targets with the shell.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kit/html_layout.h"
#include "kit/window.h"

namespace zs {

class THtmlLabel : public TWinControl {
 public:
  THtmlLabel(TComponent* owner, std::string name, std::string class_name = "TSBHTM");
  ~THtmlLabel() override;

  // Stores `text` as lines split at CR, LF or CR LF; Text() joins them with
  // nothing, so line-break characters never break a line, only <BR> does.
  void SetText(const std::string& text);
  std::string Text() const { return html::JoinLabelLines(lines_); }
  const std::vector<std::string>& Lines() const { return lines_; }

  // Vertical auto-size: the height follows the text, text height plus 6.
  void SetAutoSize(bool on);
  // Lays the text out at the current width (needs the window) and, with
  // auto-size, sets the height. Answers the label height.
  int UpdateLayout();
  const html::Layout& CurrentLayout() const { return layout_; }

  // Inner margins of the text.
  static constexpr int kMarginX = 4;
  static constexpr int kMarginY = 3;

  // Opens a link target as a click on it does: only targets containing
  // "://" or "mailto:" ("file://" taken out first); a failed open beeps.
  // Answers whether the shell opened it.
  static bool OpenLink(const std::string& target);

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  class Fonts;
  void Paint(HDC dc);
  int LinkAt(int x, int y) const;

  std::vector<std::string> lines_;
  bool auto_size_ = false;
  html::Layout layout_;
  int layout_width_ = -1;
  std::unique_ptr<Fonts> fonts_;
};

}  // namespace zs
