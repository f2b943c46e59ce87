// Saving and restoring a window's size and position in the user settings
// store, under the keys prefix + ".Width", ".Height", ".Left", ".Top" and the
// optional extra integer prefix + ".Add0" (-1 means none and is never stored).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zs {

// Primary display area not covered by desktop bars, in screen pixels; right
// and bottom lie just outside the area.
struct WorkArea {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Size limits of a form; 0 means no limit.
struct SizeConstraints {
  int min_width = 0;
  int min_height = 0;
  int max_width = 0;
  int max_height = 0;
};

// `size` held within [min, max] of the constraints (the minimum wins when
// they cross, as the windowing layer does).
int ConstrainWidth(int width, const SizeConstraints& c);
int ConstrainHeight(int height, const SizeConstraints& c);

// What placement needs of a form: its outer rectangle in screen pixels. The
// size setters apply the form's constraints, as the window itself does.
class IPlacementForm {
 public:
  virtual ~IPlacementForm() = default;
  virtual int Left() const = 0;
  virtual int Top() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetLeft(int left) = 0;
  virtual void SetTop(int top) = 0;
  virtual void SetWidth(int width) = 0;
  virtual void SetHeight(int height) = 0;
  // The limits the size setters apply.
  virtual SizeConstraints Constraints() const = 0;
  // The prefix used when the caller's name is empty.
  virtual std::string ComponentName() const = 0;
};

// A form that is only numbers; for code that places before a window exists.
class PlacementRect : public IPlacementForm {
 public:
  PlacementRect(std::string component_name, int left, int top, int width, int height, SizeConstraints c = {});
  int Left() const override { return left_; }
  int Top() const override { return top_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetLeft(int left) override { left_ = left; }
  void SetTop(int top) override { top_ = top; }
  void SetWidth(int width) override { width_ = ConstrainWidth(width, c_); }
  void SetHeight(int height) override { height_ = ConstrainHeight(height, c_); }
  SizeConstraints Constraints() const override { return c_; }
  std::string ComponentName() const override { return name_; }

 private:
  std::string name_;
  int left_, top_, width_, height_;
  SizeConstraints c_;
};

// Position used when none is stored, from the form's current size. Mode 0:
// centred on half the work area's right and bottom edges; 1: top left;
// 2: top right; 3: bottom right. Any other mode is treated as 0.
void DefaultFormPosition(const IPlacementForm& form, int mode, const WorkArea& wa, int* left, int* top);

// Reads the stored width, height, left and top (each defaulting to the
// form's own size and the mode's default position, computed before any size
// is applied), reads prefix + ".Add0" with `extra_default`, fits the form into
// `wa` and returns the extra value. The prefix is `name`, or the form's
// component name when `name` is empty.
std::int32_t RestoreFormPlacement(IPlacementForm& form, std::string_view name, int mode,
                                  std::int32_t extra_default, const WorkArea& wa);

// Stores width, height, left and top; with mode 1 left and top are stored
// 50 larger. `extra` is stored under ".Add0" unless it is -1.
void SaveFormPlacement(const IPlacementForm& form, std::string_view name, int mode, std::int32_t extra);

// Moves the form into `wa`: bottom edge up, right edge left, then left and
// top edges in; only then shrinks width and height that still overhang, not
// below the form's minimum width and height.
void FitFormToWorkArea(IPlacementForm& form, const WorkArea& wa);

}  // namespace zs
