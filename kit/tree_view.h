// TTreeView: the system tree-view control as a kit component. Created with
// TVS_NOTOOLTIPS: a tree-view's own tooltip is a topmost popup owned by the
// window, and Wine ignores SetWindowPos(HWND_TOPMOST/NOTOPMOST) on a window
// that owns one. No label editing, no border; lines and buttons at the root.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "kit/window.h"

namespace zs {

class TTreeView : public TSystemControl {
 public:
  TTreeView(TComponent* owner, std::string name);

  // Keeps the selection highlighted while the tree has no focus when false
  // (TVS_SHOWSELALWAYS). Default true, as the system's.
  void SetHideSelection(bool hide);
  bool HideSelection() const { return hide_selection_; }
  void SetIndent(int px);
  int Indent() const { return indent_; }
  // Normal image list (not owned).
  void SetImages(HIMAGELIST images);

  // Items, read from the control.
  HTREEITEM Selected() const;
  HTREEITEM Root() const;  // the first top-level item
  int Count() const;
  std::string ItemText(HTREEITEM item) const;
  LPARAM ItemData(HTREEITEM item) const;

  // NM_CUSTOMDRAW; the answer goes back to the control.
  std::function<LRESULT(NMTVCUSTOMDRAW*)> OnCustomDraw;
  // TVN_SELCHANGED.
  std::function<void()> OnChange;
  // TVN_DELETEITEM, with the leaving item's lParam.
  std::function<void(LPARAM)> OnDeletion;

 protected:
  void HandleCreated() override;
  bool OnParentNotify(NMHDR* header, LRESULT* result) override;

 private:
  bool hide_selection_ = true;
  int indent_ = 19;
  HIMAGELIST images_ = nullptr;
};

}  // namespace zs
