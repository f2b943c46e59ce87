#include "kit/image_list.h"

namespace zs {

TImageList::TImageList(TComponent* owner, std::string name, int width, int height)
    : TComponent(owner, std::move(name), "TImageList"),
      width_(width),
      height_(height),
      list_(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 2, 2)) {}

TImageList::~TImageList() {
  if (list_) ImageList_Destroy(list_);
}

int TImageList::Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

int TImageList::AddMasked(HBITMAP bitmap, COLORREF mask_color) {
  if (!list_ || !bitmap) return -1;
  return ImageList_AddMasked(list_, bitmap, mask_color);
}

}  // namespace zs
