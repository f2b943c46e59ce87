#include "kit/tree_view.h"

namespace zs {

TTreeView::TTreeView(TComponent* owner, std::string name)
    : TSystemControl(owner, std::move(name), "TTreeView", WC_TREEVIEWA,
                     // No tooltips: Wine ignores topmost changes while the window owns a
                     // topmost popup. No built-in drag: its tracking swallows the press's
                     // first moves and leaves the pressed entry unselected; owners drag
                     // by themselves.
                     TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_NOTOOLTIPS | TVS_DISABLEDRAGDROP) {
  SetTabStop(true);
  DefineProperty("Indent", [this](int32_t v) { SetIndent(v); }, [this] { return indent_; });
  DefineProperty("HideSelection", [this](int32_t v) { SetHideSelection(v != 0); },
                 [this] { return hide_selection_ ? 1 : 0; });
}

void TTreeView::HandleCreated() {
  SetHideSelection(hide_selection_);
  TreeView_SetIndent(Handle(), indent_);
  if (images_) TreeView_SetImageList(Handle(), images_, TVSIL_NORMAL);
}

void TTreeView::SetHideSelection(bool hide) {
  hide_selection_ = hide;
  if (!Handle()) return;
  LONG_PTR s = GetWindowLongPtrA(Handle(), GWL_STYLE);
  s = hide ? (s & ~static_cast<LONG_PTR>(TVS_SHOWSELALWAYS)) : (s | TVS_SHOWSELALWAYS);
  SetWindowLongPtrA(Handle(), GWL_STYLE, s);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TTreeView::SetIndent(int px) {
  indent_ = px;
  if (Handle()) TreeView_SetIndent(Handle(), px);
}

void TTreeView::SetImages(HIMAGELIST images) {
  images_ = images;
  if (Handle()) TreeView_SetImageList(Handle(), images, TVSIL_NORMAL);
}

HTREEITEM TTreeView::Selected() const { return Handle() ? TreeView_GetSelection(Handle()) : nullptr; }
HTREEITEM TTreeView::Root() const { return Handle() ? TreeView_GetRoot(Handle()) : nullptr; }
int TTreeView::Count() const { return Handle() ? static_cast<int>(TreeView_GetCount(Handle())) : 0; }

std::string TTreeView::ItemText(HTREEITEM item) const {
  char buf[1024];
  TVITEMA it{};
  it.mask = TVIF_TEXT | TVIF_HANDLE;
  it.hItem = item;
  it.pszText = buf;
  it.cchTextMax = sizeof buf;
  buf[0] = 0;
  if (!item || !SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return {};
  return buf;
}

LPARAM TTreeView::ItemData(HTREEITEM item) const {
  TVITEMA it{};
  it.mask = TVIF_PARAM | TVIF_HANDLE;
  it.hItem = item;
  if (!item || !SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return 0;
  return it.lParam;
}

bool TTreeView::OnParentNotify(NMHDR* h, LRESULT* result) {
  switch (h->code) {
    case NM_CUSTOMDRAW:
      if (!OnCustomDraw) return false;
      *result = OnCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW*>(h));
      return true;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      if (OnChange) OnChange();
      *result = 0;
      return true;
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
      // The old item sits at the same place in both structures.
      if (OnDeletion) OnDeletion(reinterpret_cast<NMTREEVIEWA*>(h)->itemOld.lParam);
      *result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace zs
