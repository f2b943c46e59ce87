// Dragging tree entries with real input (SendInput): Wine's DragDetect only
// tracks a button that is really down, so posted messages cannot start a drag.
#include <gtest/gtest.h>

#include <cstring>

#include <thread>

#include "tests/link_tree/overview_fixture.h"
#include "tests/overview_commands/test_host.h"

namespace zs::test {
namespace {

void MoveTo(POINT p) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((p.x * 65535LL + (w - 1) / 2) / (w - 1));
  in.mi.dy = static_cast<LONG>((p.y * 65535LL + (h - 1) / 2) / (h - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}
void Button(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
}
POINT Center(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
bool DragImageShown() { return ImageList_GetDragImage(nullptr, nullptr) != nullptr; }
bool CursorIs(LPCSTR id) { return GetCursor() == LoadCursor(nullptr, id); }

class Drag : public OverviewTest {
 protected:
  void OpenFour() {
    Open({Addr(1, "Anna", "11"), Addr(2, "Bert", "12"), Addr(3, "Carl", "13"), Addr(4, "Dora", "14")},
         {{1, "2,3"}, {2, "1"}, {3, "1,4"}, {4, "3"}});
    HostRecord::calls = 0;
    HostRecord::hang = false;
    host_ = MakeHost();
    Track(host_);
    SetForegroundWindow(form_->Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form_->Handle(); }));
  }
  // A point on the text of the node at `index`, `dx` pixels into it, in screen coordinates.
  POINT OnNode(int index, int dx = 4) {
    HTREEITEM item = NodeAtIndex(TTreeItems(tree()), index);
    TreeView_EnsureVisible(tree(), item);
    Pump(10);
    RECT r{};
    std::memcpy(&r, &item, sizeof item);  // TVM_GETITEMRECT takes the item in the rectangle
    SendMessageA(tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    // Right of the 20 pixels that never drag, also when the tree scrolled sideways.
    POINT p{std::max<LONG>(r.left + dx, 30), (r.top + r.bottom) / 2};
    ClientToScreen(tree(), &p);
    return p;
  }
  bool CursorAt(POINT p) {
    POINT c;
    GetCursorPos(&c);
    return std::abs(c.x - p.x) <= 1 && std::abs(c.y - p.y) <= 1;
  }
  // Presses at `from` and moves 30 pixels down while DragDetect tracks the
  // button (a second thread feeds the move: the press's handler is waiting
  // in DragDetect's loop); without `move` the feeder releases the button
  // instead (a click). Answers whether a drag began.
  bool Press(POINT from, bool move = true) {
    MoveTo(from);
    PumpUntil([&] { return CursorAt(from); }, 2000);
    Pump(30);
    std::thread feeder([from, move] {
      Sleep(250);  // input pacing: the press must be taken before the move comes
      if (move)
        MoveTo({from.x, from.y + 30});
      else
        Button(false);
    });
    Button(true);
    const bool began = PumpUntil(DragImageShown, 1500);
    feeder.join();
    return began;
  }
  void MoveDuringDrag(POINT to) {
    MoveTo(to);
    PumpUntil([&] { return CursorAt(to); }, 2000);
    Pump(60);  // the move message reaches the tree
  }
  void Release() {
    Button(false);
    PumpUntil([] { return !DragImageShown() && !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); }, 2000);
    Pump(30);
  }

  HWND host_ = nullptr;
};

TEST_F(Drag, OntoRemoveRemovesLikeTheButtonWithTheHandOverIt) {
  OpenFour();
  ASSERT_TRUE(Press(OnNode(1))) << "no drag began";  // Bert under Anna
  EXPECT_EQ(SelectedIndex(), 1);                      // the pressed entry is the one dragged
  MoveDuringDrag(Center(form_->FlatButton3.Handle()));
  EXPECT_TRUE(CursorIs(IDC_HAND));
  Release();
  EXPECT_TRUE(CursorIs(IDC_ARROW));
  EXPECT_EQ(LastRemovedIndex, 1);
  EXPECT_EQ(ReadLinkRecords(dir_).size(), 3u);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Anna [11]", "  Carl [13]", "Carl [13]", "  Anna [11]",
                                               "  Dora [14]", "Dora [14]", "  Carl [13]"}));
  EXPECT_EQ(HostRecord::calls, 0);
}

TEST_F(Drag, OntoDetailsAndOutsideTheWindowSendsTheRequest) {
  OpenFour();
  ASSERT_TRUE(Press(OnNode(7)));  // Dora under Carl
  MoveDuringDrag(Center(form_->FlatButton4.Handle()));
  EXPECT_TRUE(CursorIs(IDC_HAND));
  Release();
  EXPECT_EQ(HostRecord::calls, 1);
  EXPECT_EQ(HostRecord::data, 4u);

  RECT wr;
  GetWindowRect(form_->Handle(), &wr);
  ASSERT_TRUE(Press(OnNode(0)));  // Anna, an owner
  MoveDuringDrag({wr.right + 60, wr.top + 40});
  EXPECT_TRUE(CursorIs(IDC_HAND));
  Release();
  EXPECT_EQ(HostRecord::calls, 2);
  EXPECT_EQ(HostRecord::data, 1u);
  EXPECT_TRUE(CursorIs(IDC_ARROW));
  EXPECT_EQ(ReadLinkRecords(dir_).size(), 4u);
}

TEST_F(Drag, OntoTheTreeReloadSearchBoxOrADisabledRemoveDoesNothing) {
  OpenFour();
  const auto texts = Texts();
  HTREEITEM root = TreeView_GetRoot(tree());
  struct Target {
    const char* name;
    POINT at;
  } targets[] = {{"tree", OnNode(9)},
                 {"reload", Center(form_->FlatButton2.Handle())},
                 {"search box", Center(form_->dfind.Handle())},
                 {"disabled remove", Center(form_->FlatButton3.Handle())}};
  int dx = 4;
  for (const Target& t : targets) {
    SCOPED_TRACE(t.name);
    // a press where the last one was would be a double click
    ASSERT_TRUE(Press(OnNode(5, dx += 8)));  // Carl, an owner: the remove button is off
    EXPECT_FALSE(form_->FlatButton3.Enabled());
    MoveDuringDrag(t.at);
    EXPECT_TRUE(CursorIs(IDC_ARROW));
    Release();
  }
  EXPECT_EQ(HostRecord::calls, 0);
  EXPECT_EQ(Texts(), texts);
  EXPECT_EQ(TreeView_GetRoot(tree()), root);  // no reload either
  EXPECT_EQ(ReadLinkRecords(dir_).size(), 4u);
  EXPECT_EQ(LastRemovedIndex, -1);
}

TEST_F(Drag, APressNearTheLeftEdgeOrAClickWithoutMoveStartsNoDrag) {
  OpenFour();
  POINT edge = OnNode(1);
  POINT tree_origin{0, 0};
  ClientToScreen(tree(), &tree_origin);
  edge.x = tree_origin.x + 15;  // within 20 pixels of the tree's left edge
  EXPECT_FALSE(Press(edge));
  MoveDuringDrag(Center(form_->FlatButton4.Handle()));
  Release();
  EXPECT_FALSE(Press(OnNode(2), false));  // a click: selects, no drag
  Pump(50);
  EXPECT_EQ(SelectedIndex(), 2);
  EXPECT_EQ(HostRecord::calls, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Drag, LosingTheMouseEndsTheDragWithoutACommand) {
  OpenFour();
  ASSERT_TRUE(Press(OnNode(1, 14)));
  MoveDuringDrag(Center(form_->FlatButton3.Handle()));
  ASSERT_TRUE(CursorIs(IDC_HAND));
  SetCapture(form_->Handle());  // as a menu or a dialog would
  EXPECT_FALSE(DragImageShown());
  EXPECT_TRUE(CursorIs(IDC_ARROW));
  ReleaseCapture();
  Release();
  EXPECT_EQ(ReadLinkRecords(dir_).size(), 4u);  // the drop over the remove button did not count
  EXPECT_EQ(LastRemovedIndex, -1);
}

TEST_F(Drag, TheImageOfALongEntryIs200PixelsWideWithItsHotSpot) {
  TTestAddress a = Addr(1, "Hochwohlgeboren-Freifrau-von-und-zu-Langenstein-Wiesenthal", "100001");
  a.abt = "Generalvertretung Nord";
  Open({a, Addr(2, "Bo")}, {{1, "2"}, {2, "1"}});
  SetForegroundWindow(form_->Handle());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form_->Handle(); }));
  ASSERT_TRUE(Press(OnNode(2, 40)));  // the long owner's own node ("Bo" sorts first)
  POINT pos{}, hot{};
  HIMAGELIST drag = ImageList_GetDragImage(&pos, &hot);
  int w = 0, h = 0;
  ImageList_GetIconSize(drag, &w, &h);
  Release();
  EXPECT_EQ(w, 200);
  EXPECT_GT(h, 20);
  EXPECT_EQ(hot.x, 2);
  EXPECT_EQ(hot.y, 16);

  ASSERT_TRUE(Press(OnNode(0)));  // "Bo []": a short entry, narrower
  drag = ImageList_GetDragImage(nullptr, nullptr);
  ImageList_GetIconSize(drag, &w, &h);
  Release();
  EXPECT_LT(w, 200);
  EXPECT_GT(w, 27);
}

}  // namespace
}  // namespace zs::test
