#include "overview/tree_items_win.h"

namespace zs {

TID* ItemPayload(HWND tree, HTREEITEM item) {
  if (!item) return nullptr;
  TVITEMA it{};
  it.mask = TVIF_PARAM | TVIF_HANDLE;
  it.hItem = item;
  if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return nullptr;
  return reinterpret_cast<TID*>(it.lParam);
}

std::string ItemText(HWND tree, HTREEITEM item) {
  // Node texts are a name and two short fields; the field widths keep them
  // far below this, and a longer text would only be cut for the search.
  char buf[1024] = {};
  TVITEMA it{};
  it.mask = TVIF_TEXT | TVIF_HANDLE;
  it.hItem = item;
  it.pszText = buf;
  it.cchTextMax = sizeof buf;
  if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return {};
  return buf;
}

std::vector<HTREEITEM> ItemsInDisplayOrder(HWND tree) {
  std::vector<HTREEITEM> out;
  TTreeItems shape(tree);
  for (HTREEITEM n = shape.FirstChild(nullptr); n; n = DisplayNext(shape, n)) out.push_back(n);
  return out;
}

}  // namespace zs
