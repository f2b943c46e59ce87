// Proves the window-test harness: real comctl32 controls in a real top-level
// window, driven by messages, on Wine's desktop.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/win_fixture.h"

namespace zs::test {
namespace {

int g_clicks = 0;
int g_keys = 0;

LRESULT CALLBACK HarnessProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) ++g_clicks;
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == TVN_KEYDOWN) ++g_keys;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

class HarnessTest : public WindowTest {
 protected:
  void SetUp() override {
    g_clicks = g_keys = 0;
    main_ = CreateTopWindow("Harness", 50, 60, 340, 360, WS_OVERLAPPEDWINDOW, 0, HarnessProc);
    ASSERT_NE(main_, nullptr);
    // No tooltips: Wine ignores topmost changes while the window owns a topmost popup.
    tree_ = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_NOTOOLTIPS, 0, 0, 320,
                            280, main_, reinterpret_cast<HMENU>(1), nullptr, nullptr);
    button_ = CreateWindowExA(0, "BUTTON", "&Neu lesen", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 290, 100, 24,
                              main_, reinterpret_cast<HMENU>(2), nullptr, nullptr);
    ASSERT_NE(tree_, nullptr);
    ASSERT_NE(button_, nullptr);
    ShowWindow(main_, SW_SHOW);
    Pump(20);
  }

  HTREEITEM Insert(HTREEITEM parent, const char* text) {
    TVINSERTSTRUCTA is{};
    is.hParent = parent;
    is.hInsertAfter = TVI_LAST;
    is.item.mask = TVIF_TEXT;
    is.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
  }
  std::string Text(HTREEITEM item) {
    char buf[128] = {};
    TVITEMA it{};
    it.mask = TVIF_TEXT;
    it.hItem = item;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    return buf;
  }
  HTREEITEM Next(HTREEITEM item, UINT how) { return TreeView_GetNextItem(tree_, item, how); }

  HWND main_ = nullptr;
  HWND tree_ = nullptr;
  HWND button_ = nullptr;
};

TEST_F(HarnessTest, TreeInsertsSortsExpandsAndSelects) {
  HTREEITEM root = Insert(TVI_ROOT, "root");
  for (const char* s : {"zeta", "Alpha", "mike", "bravo"}) Insert(root, s);
  SendMessageA(tree_, TVM_SORTCHILDREN, FALSE, reinterpret_cast<LPARAM>(root));
  std::vector<std::string> order;
  for (HTREEITEM c = Next(root, TVGN_CHILD); c; c = Next(c, TVGN_NEXT)) order.push_back(Text(c));
  EXPECT_EQ(order, (std::vector<std::string>{"Alpha", "bravo", "mike", "zeta"}));

  SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
  EXPECT_TRUE(TreeView_GetItemState(tree_, root, TVIS_EXPANDED) & TVIS_EXPANDED);

  HTREEITEM mike = Next(Next(Next(root, TVGN_CHILD), TVGN_NEXT), TVGN_NEXT);
  ASSERT_TRUE(TreeView_SelectItem(tree_, mike));
  EXPECT_EQ(Next(nullptr, TVGN_CARET), mike);
  EXPECT_EQ(Next(mike, TVGN_PARENT), root);
}

TEST_F(HarnessTest, ButtonClickAndKeyReachTheParent) {
  SendMessageA(button_, BM_CLICK, 0, 0);
  EXPECT_EQ(g_clicks, 1);

  HTREEITEM root = Insert(TVI_ROOT, "root");
  HTREEITEM a = Insert(root, "a");
  HTREEITEM b = Insert(root, "b");
  TreeView_Expand(tree_, root, TVE_EXPAND);
  TreeView_SelectItem(tree_, a);
  PostMessageA(tree_, WM_KEYDOWN, VK_DOWN, 0x00500001);
  PostMessageA(tree_, WM_KEYUP, VK_DOWN, 0xC0500001);
  ASSERT_TRUE(PumpUntil([&] { return TreeView_GetSelection(tree_) == b; }, 2000));
  EXPECT_GE(g_keys, 1);
}

TEST_F(HarnessTest, TopmostFollowsSetWindowPos) {
  auto topmost = [&] { return (GetWindowLongA(main_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  EXPECT_FALSE(topmost());
  ASSERT_TRUE(SetWindowPos(main_, HWND_TOPMOST, 0, 0, 0, 0, flags));
  EXPECT_TRUE(topmost());
  ASSERT_TRUE(SetWindowPos(main_, HWND_NOTOPMOST, 0, 0, 0, 0, flags));
  EXPECT_FALSE(topmost());
  ASSERT_TRUE(SetWindowPos(main_, HWND_TOPMOST, 0, 0, 0, 0, flags));
  EXPECT_TRUE(topmost());
}

TEST_F(HarnessTest, WorkAreaIsTheVirtualScreen) {
  RECT wa{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &wa, 0));
  EXPECT_GT(wa.right - wa.left, 0);
  EXPECT_GT(wa.bottom - wa.top, 0);
  EXPECT_LE(wa.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_LE(wa.bottom, GetSystemMetrics(SM_CYSCREEN));
}

}  // namespace
}  // namespace zs::test
