// demo_driver: points at and drives the overview and the stand-in host from
// outside, for scripts/demo.sh. Exit code 0 done, 1 not found, 2 usage.
//   demo_driver node-point CLASS INDEX     screen point on the text of tree node INDEX (display order)
//   demo_driver button-point CLASS CAPTION screen point in the middle of the child with that caption
//   demo_driver window-rect CLASS          x y width height of the top-level window
//   demo_driver select CLASS INDEX         selects tree node INDEX
//   demo_driver click CLASS CAPTION        posts BM_CLICK to the child with that caption
//   demo_driver command CLASS ID           posts WM_COMMAND ID (a menu entry) to the window
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HWND Top(const char* cls) {
  HWND h = FindWindowA(cls, nullptr);
  while (h && !IsWindowVisible(h)) h = FindWindowExA(nullptr, h, cls, nullptr);
  return h;
}

struct CaptionSearch {
  const char* caption;
  HWND found;
};

// A named WINAPI function: a lambda converts only to a cdecl pointer, which
// the i686 build refuses for WNDENUMPROC.
BOOL CALLBACK MatchCaption(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<CaptionSearch*>(lp);
  char text[128] = {};
  GetWindowTextA(h, text, sizeof text);
  if (std::string(text) == f->caption) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

HWND ChildByCaption(HWND top, const char* caption) {
  CaptionSearch f{caption, nullptr};
  EnumChildWindows(top, MatchCaption, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// The node at display index `index` and its level (0 or 1).
HTREEITEM NodeAt(HWND tree, int index, int* level) {
  HTREEITEM item = TreeView_GetRoot(tree);
  *level = 0;
  for (int i = 0; i < index && item; ++i) {
    if (HTREEITEM c = TreeView_GetChild(tree, item)) {
      item = c;
      ++*level;
      continue;
    }
    HTREEITEM next = nullptr;
    for (HTREEITEM a = item; a && !next; a = TreeView_GetParent(tree, a)) {
      next = TreeView_GetNextSibling(tree, a);
      if (!next) --*level;
    }
    item = next;
  }
  return item;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string cmd = argv[1];
  HWND top = Top(argv[2]);
  if (!top) return 1;
  HWND tree = FindWindowExA(top, nullptr, WC_TREEVIEWA, nullptr);
  if (cmd == "window-rect") {
    RECT r;
    GetWindowRect(top, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  if (argc < 4) return 2;
  if (cmd == "node-point" || cmd == "select") {
    if (!tree) return 1;
    int level = 0;
    HTREEITEM item = NodeAt(tree, std::atoi(argv[3]), &level);
    if (!item) return 1;
    if (cmd == "select") return TreeView_SelectItem(tree, item) ? 0 : 1;
    // The row of a visible node from the first visible one; the text starts
    // after the indent of its level and the 16-pixel image.
    int row = 0;
    for (HTREEITEM v = TreeView_GetFirstVisible(tree); v && v != item; v = TreeView_GetNextVisible(tree, v)) ++row;
    const int height = TreeView_GetItemHeight(tree);
    const int indent = TreeView_GetIndent(tree);
    POINT p{(level + 1) * indent + 16 + 12, row * height + height / 2};
    ClientToScreen(tree, &p);
    std::printf("%ld %ld\n", p.x, p.y);
    return 0;
  }
  if (cmd == "button-point" || cmd == "click") {
    HWND b = ChildByCaption(top, argv[3]);
    if (!b) return 1;
    if (cmd == "click") return PostMessageA(b, BM_CLICK, 0, 0) ? 0 : 1;
    RECT r;
    GetWindowRect(b, &r);
    std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return 0;
  }
  if (cmd == "command") return PostMessageA(top, WM_COMMAND, std::strtoul(argv[3], nullptr, 10), 0) ? 0 : 1;
  return 2;
}
