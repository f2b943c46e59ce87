// TImageList: a component that owns one image list (ImageList_Create), for
// the controls that show its images.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "kit/component.h"

namespace zs {

class TImageList : public TComponent {
 public:
  TImageList(TComponent* owner, std::string name, int width = 16, int height = 16);
  ~TImageList() override;

  HIMAGELIST Handle() const { return list_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const;
  // Adds a copy of `bitmap` (width × height); pixels of `mask_color` stay
  // transparent. Answers the new index, -1 on failure.
  int AddMasked(HBITMAP bitmap, COLORREF mask_color);

 private:
  int width_;
  int height_;
  HIMAGELIST list_;
};

}  // namespace zs
