// Small helpers over the link tree's items for the overview's Win32 code:
// payload and text of an item, the display-order shape of the tree, and
// selection by display index.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "overview/tid.h"
#include "overview/tree_order.h"

namespace zs {

// The TID an item carries (owned by the item), or null.
TID* ItemPayload(HWND tree, HTREEITEM item);
std::string ItemText(HWND tree, HTREEITEM item);

class TTreeItems final : public TTreeShape<HTREEITEM> {
 public:
  explicit TTreeItems(HWND tree) : tree_(tree) {}
  HTREEITEM Parent(HTREEITEM n) const override { return TreeView_GetParent(tree_, n); }
  HTREEITEM FirstChild(HTREEITEM n) const override {
    return n ? TreeView_GetChild(tree_, n) : TreeView_GetRoot(tree_);
  }
  HTREEITEM NextSibling(HTREEITEM n) const override { return TreeView_GetNextSibling(tree_, n); }
  HTREEITEM PrevSibling(HTREEITEM n) const override { return TreeView_GetPrevSibling(tree_, n); }

 private:
  HWND tree_;
};

// Every item in display order.
std::vector<HTREEITEM> ItemsInDisplayOrder(HWND tree);

}  // namespace zs
