#include "settings/form_placement.h"

#include <algorithm>

#include "settings/user_mode.h"

namespace zs {

namespace {

int Constrain(int v, int lo, int hi) {
  if (hi > 0 && v > hi) v = hi;
  if (lo > 0 && v < lo) v = lo;
  return v;
}

std::string Prefix(const IPlacementForm& form, std::string_view name) {
  return name.empty() ? form.ComponentName() : std::string(name);
}

}  // namespace

int ConstrainWidth(int width, const SizeConstraints& c) { return Constrain(width, c.min_width, c.max_width); }
int ConstrainHeight(int height, const SizeConstraints& c) { return Constrain(height, c.min_height, c.max_height); }

PlacementRect::PlacementRect(std::string component_name, int left, int top, int width, int height,
                             SizeConstraints c)
    : name_(std::move(component_name)),
      left_(left),
      top_(top),
      width_(ConstrainWidth(width, c)),
      height_(ConstrainHeight(height, c)),
      c_(c) {}

void DefaultFormPosition(const IPlacementForm& form, int mode, const WorkArea& wa, int* left, int* top) {
  switch (mode) {
    case 1:
      *left = wa.left;
      *top = wa.top;
      break;
    case 2:
      *left = wa.right - form.Width();
      *top = wa.top;
      break;
    case 3:
      *left = wa.right - form.Width();
      *top = wa.bottom - form.Height();
      break;
    default:
      // Halves of the edges themselves, truncated toward zero.
      *left = wa.right / 2 - form.Width() / 2;
      *top = wa.bottom / 2 - form.Height() / 2;
      break;
  }
}

std::int32_t RestoreFormPlacement(IPlacementForm& form, std::string_view name, int mode,
                                  std::int32_t extra_default, const WorkArea& wa) {
  const std::string prefix = Prefix(form, name);
  int left = 0, top = 0;
  DefaultFormPosition(form, mode, wa, &left, &top);
  form.SetWidth(ReadUserInteger(prefix + ".Width", form.Width()));
  form.SetHeight(ReadUserInteger(prefix + ".Height", form.Height()));
  form.SetLeft(ReadUserInteger(prefix + ".Left", left));
  form.SetTop(ReadUserInteger(prefix + ".Top", top));
  const std::int32_t extra = ReadUserInteger(prefix + ".Add0", extra_default);
  FitFormToWorkArea(form, wa);
  return extra;
}

void SaveFormPlacement(const IPlacementForm& form, std::string_view name, int mode, std::int32_t extra) {
  const std::string prefix = Prefix(form, name);
  WriteUserInteger(prefix + ".Width", form.Width());
  WriteUserInteger(prefix + ".Height", form.Height());
  const int shift = mode == 1 ? 50 : 0;
  WriteUserInteger(prefix + ".Left", form.Left() + shift);
  WriteUserInteger(prefix + ".Top", form.Top() + shift);
  if (extra != -1) WriteUserInteger(prefix + ".Add0", extra);
}

void FitFormToWorkArea(IPlacementForm& form, const WorkArea& wa) {
  if (form.Top() + form.Height() > wa.bottom) form.SetTop(wa.bottom - form.Height());
  if (form.Left() + form.Width() > wa.right) form.SetLeft(wa.right - form.Width());
  if (form.Left() < wa.left) form.SetLeft(wa.left);
  if (form.Top() < wa.top) form.SetTop(wa.top);
  const SizeConstraints c = form.Constraints();
  if (form.Left() + form.Width() > wa.right) form.SetWidth(std::max(wa.right - form.Left(), c.min_width));
  if (form.Top() + form.Height() > wa.bottom) form.SetHeight(std::max(wa.bottom - form.Top(), c.min_height));
}

}  // namespace zs
