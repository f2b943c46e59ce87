// TLabel: a line of text on its parent's background (no box of its own).
#pragma once

#include <string>

#include "kit/window.h"

namespace zs {

class TLabel : public TWinControl {
 public:
  TLabel(TComponent* owner, std::string name);

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

// The RGB a control without a colour of its own shows: the first colour up
// its parents, else the button face.
COLORREF InheritedBackground(const TWinControl& control);

}  // namespace zs
