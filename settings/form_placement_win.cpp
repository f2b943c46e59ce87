#include "settings/form_placement_win.h"

namespace zs {

WorkArea PrimaryWorkArea() {
  RECT r{};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0))
    r = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return WorkArea{r.left, r.top, r.right, r.bottom};
}

HwndPlacementForm::HwndPlacementForm(HWND hwnd, std::string component_name, SizeConstraints constraints)
    : hwnd_(hwnd), name_(std::move(component_name)), c_(constraints) {}

RECT HwndPlacementForm::Rect() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r;
}

int HwndPlacementForm::Left() const { return Rect().left; }
int HwndPlacementForm::Top() const { return Rect().top; }
int HwndPlacementForm::Width() const {
  RECT r = Rect();
  return r.right - r.left;
}
int HwndPlacementForm::Height() const {
  RECT r = Rect();
  return r.bottom - r.top;
}

void HwndPlacementForm::Move(int left, int top) {
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HwndPlacementForm::Resize(int width, int height) {
  SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HwndPlacementForm::SetLeft(int left) { Move(left, Top()); }
void HwndPlacementForm::SetTop(int top) { Move(Left(), top); }
void HwndPlacementForm::SetWidth(int width) { Resize(ConstrainWidth(width, c_), Height()); }
void HwndPlacementForm::SetHeight(int height) { Resize(Width(), ConstrainHeight(height, c_)); }

void ApplyConstraints(MINMAXINFO* info, const SizeConstraints& c) {
  if (c.min_width > 0) info->ptMinTrackSize.x = c.min_width;
  if (c.min_height > 0) info->ptMinTrackSize.y = c.min_height;
  if (c.max_width > 0) info->ptMaxTrackSize.x = c.max_width;
  if (c.max_height > 0) info->ptMaxTrackSize.y = c.max_height;
}

std::int32_t RestoreFormPlacement(HWND hwnd, std::string_view name, int mode, std::int32_t extra_default,
                                  const SizeConstraints& constraints, std::string component_name) {
  HwndPlacementForm form(hwnd, std::move(component_name), constraints);
  return RestoreFormPlacement(form, name, mode, extra_default, PrimaryWorkArea());
}

void SaveFormPlacement(HWND hwnd, std::string_view name, int mode, std::int32_t extra,
                       std::string component_name) {
  HwndPlacementForm form(hwnd, std::move(component_name));
  SaveFormPlacement(form, name, mode, extra);
}

void FitFormToWorkArea(HWND hwnd, const SizeConstraints& constraints) {
  HwndPlacementForm form(hwnd, {}, constraints);
  FitFormToWorkArea(form, PrimaryWorkArea());
}

}  // namespace zs
