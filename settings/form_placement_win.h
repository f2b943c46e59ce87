// Window placement for real top-level windows: an IPlacementForm over an
// HWND, and the placement functions with the work area of the primary
// display (SystemParametersInfoA(SPI_GETWORKAREA)).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/form_placement.h"

namespace zs {

// The primary display's work area; the whole primary screen when the system
// cannot tell.
WorkArea PrimaryWorkArea();

// Views a top-level window (not owned: the caller keeps the HWND alive).
// Position and size are the outer window rectangle in screen pixels, moved
// with SetWindowPos without activating it or changing its z-order. The size
// setters hold the size within `constraints` before asking Windows.
class HwndPlacementForm : public IPlacementForm {
 public:
  HwndPlacementForm(HWND hwnd, std::string component_name, SizeConstraints constraints = {});
  int Left() const override;
  int Top() const override;
  int Width() const override;
  int Height() const override;
  void SetLeft(int left) override;
  void SetTop(int top) override;
  void SetWidth(int width) override;
  void SetHeight(int height) override;
  SizeConstraints Constraints() const override { return c_; }
  std::string ComponentName() const override { return name_; }
  HWND Handle() const { return hwnd_; }

 private:
  RECT Rect() const;
  void Move(int left, int top);
  void Resize(int width, int height);

  HWND hwnd_;
  std::string name_;
  SizeConstraints c_;
};

// Fills a WM_GETMINMAXINFO answer from `c`, so that sizing with the mouse
// keeps the same limits as the placement.
void ApplyConstraints(MINMAXINFO* info, const SizeConstraints& c);

// The portable functions on `hwnd` and the primary work area. `name` is the
// key prefix; when empty, `component_name` is used.
std::int32_t RestoreFormPlacement(HWND hwnd, std::string_view name, int mode, std::int32_t extra_default,
                                  const SizeConstraints& constraints = {}, std::string component_name = {});
void SaveFormPlacement(HWND hwnd, std::string_view name, int mode, std::int32_t extra,
                       std::string component_name = {});
void FitFormToWorkArea(HWND hwnd, const SizeConstraints& constraints = {});

}  // namespace zs
