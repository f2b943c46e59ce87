// Dragging a tree entry onto "&Details zeigen", "&Entfernen" or out of the
// window, on the hook the main window installs on the tree's procedure.
//
// The drag image is built here: Wine's TVM_CREATEDRAGIMAGE answers an image
// list without images. The tree holds the mouse capture for the whole drag,
// so the cursor is set directly (no WM_SETCURSOR reaches other windows).
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "app/main_window.h"
#include "kit/fmt_text.h"
#include "kit/gdi.h"
#include "overview/drag_rules.h"
#include "overview/tree_items_win.h"

namespace zs {
namespace {

HCURSOR HandCursor() { return LoadCursor(nullptr, IDC_HAND); }  // crHandPoint
HCURSOR DefaultCursor() { return LoadCursor(nullptr, IDC_ARROW); }

}  // namespace

LRESULT TFAdressExtremeLinks::TreeWndProc(UINT msg, WPARAM wp, LPARAM lp) {
  HWND tree = Tree.Handle();
  auto pass_on = [&](UINT m) { return CallWindowProcA(OldTreeWndProc, tree, m, wp, lp); };
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!Dragging) {
        if (wp != MK_LBUTTON) ReleaseCapture();
        return pass_on(msg);
      }
      MoveTreeDrag(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return pass_on(0);  // the tree itself sees no mouse move while dragging
    case WM_LBUTTONDOWN: {
      if (DragStarted) return pass_on(msg);
      const LRESULT r = pass_on(msg);  // the tree selects the entry under the pointer
      const int x = GET_X_LPARAM(lp);
      if (MayStartDrag(x) && !DragStarted) {
        POINT pt{x, GET_Y_LPARAM(lp)};
        ClientToScreen(tree, &pt);
        if (DragDetect(tree, pt)) {
          ReleaseCapture();
          SetCapture(tree);
          BeginTreeDrag();
        }
      }
      return r;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const LRESULT r = pass_on(msg);
      TreeMouseUp();
      return r;
    }
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a menu, a dialog, another program):
      // no button-up will reach the tree, so the drag ends here, without a command.
      if (Dragging && reinterpret_cast<HWND>(lp) != tree) {
        DragStarted = false;
        EndTreeDrag();
        DropAllowed = false;
        DropTargetName.clear();
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
      }
      return pass_on(msg);
    default:
      return pass_on(msg);
  }
}

void TFAdressExtremeLinks::BeginTreeDrag() {
  if (DragStarted) return;
  DragStarted = true;
  POINT pt{};
  GetCursorPos(&pt);
  FlatHint1.Cancel();
  if (DragImages) {
    ImageList_EndDrag();
    ImageList_Destroy(DragImages);
    DragImages = nullptr;
  }
  MakeDragImage();
  if (DragImages && ImageList_BeginDrag(DragImages, 0, kDragHotSpotX, kDragHotSpotY) &&
      ImageList_DragEnter(GetDesktopWindow(), pt.x, pt.y)) {
    Dragging = true;
    return;
  }
  if (DragImages) {
    ImageList_EndDrag();
    ImageList_Destroy(DragImages);
    DragImages = nullptr;
  }
  DragStarted = false;
  ReleaseCapture();
}

void TFAdressExtremeLinks::MakeDragImage() {
  FlatHint1.Cancel();
  HWND tree = Tree.Handle();
  HTREEITEM selected = TreeView_GetSelection(tree);
  std::string node_text;
  if (selected) node_text = ItemText(tree, selected);
  const std::string text = DragImageText(selected ? &node_text : nullptr);

  WindowDC screen(nullptr);
  MemoryDC dc(screen.get());
  if (!dc.get()) return;
  HFONT font = EffectiveFont();
  HGDIOBJ old_font = SelectObject(dc.get(), font);
  SIZE extent{};
  GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  const TDragImageSize size = DragImageSize(extent.cx, extent.cy);

  Bitmap bitmap(CreateCompatibleBitmap(screen.get(), size.width, size.height));
  if (!bitmap) {
    SelectObject(dc.get(), old_font);
    return;
  }
  HGDIOBJ old_bitmap = SelectObject(dc.get(), bitmap.get());
  RECT rect{0, 0, size.width, size.height};
  FillRect(dc.get(), &rect, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc.get(), &rect, BDR_RAISEDINNER, BF_RECT);
  RECT text_rect{5, 0, size.width - 5, size.height};
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), GetSysColor(COLOR_BTNTEXT));
  DrawFmtText(dc.get(), text_rect, text, font);
  SelectObject(dc.get(), old_bitmap);
  SelectObject(dc.get(), old_font);

  Invalidate();
  HIMAGELIST list = ImageList_Create(size.width, size.height, ILC_COLOR24, 1, 0);
  if (!list) return;
  if (ImageList_Add(list, bitmap.get(), nullptr) < 0) {
    ImageList_Destroy(list);
    return;
  }
  DragImages = list;
}

void TFAdressExtremeLinks::MoveTreeDrag(int x, int y) {
  FlatHint1.Cancel();
  POINT p{x, y};
  ClientToScreen(Tree.Handle(), &p);
  ImageList_DragMove(p.x, p.y);
  DropTargetName.clear();

  RECT wr{};
  GetWindowRect(Handle(), &wr);
  // Only this window's own enabled command buttons count; a window of
  // another program over ours hides them.
  std::string under_name;
  bool under_enabled = false;
  HWND under = WindowFromPoint(p);
  for (TFlatButton* b : {&FlatButton4, &FlatButton3}) {
    if (under && (under == b->Handle() || IsChild(b->Handle(), under))) {
      under_name = b->Name();
      under_enabled = b->Enabled() && IsWindowEnabled(b->Handle());
    }
  }
  DropTargetName = DropTargetAt({p.x, p.y}, {wr.left, wr.top, wr.right, wr.bottom}, under_name, under_enabled);
  DropAllowed = !DropTargetName.empty();
  SetCursor(DropAllowed ? HandCursor() : DefaultCursor());
}

void TFAdressExtremeLinks::TreeMouseUp() {
  if (!Dragging) return;
  DragStarted = false;
  EndTreeDrag();
  ReleaseCapture();
  if (DropAllowed) {
    if (DropTargetName == FlatButton3.Name())
      FlatButton3Click();
    else
      FlatButton4Click();
  }
  DropAllowed = false;
  DropTargetName.clear();
  SetCursor(DefaultCursor());
}

void TFAdressExtremeLinks::EndTreeDrag() {
  Dragging = false;
  if (DragImages) {
    ImageList_DragLeave(GetDesktopWindow());
    ImageList_EndDrag();
    ImageList_Destroy(DragImages);
    DragImages = nullptr;
  }
}

}  // namespace zs
