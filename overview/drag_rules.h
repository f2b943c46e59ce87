// The geometry rules of dragging a tree entry: which drop target lies under
// the pointer, and how large the drag image is. Portable; the window supplies
// rectangles in screen coordinates and the control found under the pointer.
#pragma once

#include <string>
#include <string_view>

namespace zs {

struct TDragPoint {
  int x = 0, y = 0;
};
// Left and top edges belong to the rectangle, right and bottom do not.
struct TDragRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Contains(TDragPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
};

inline constexpr int kDragStartMinX = 20;  // a press at x <= 20 in the tree never drags
inline constexpr int kDragImageMaxWidth = 200;
inline constexpr int kDragHotSpotX = 2;
inline constexpr int kDragHotSpotY = 16;

// The drop target at `p`: "Screen" outside `window_rect` (the main window's
// outer rectangle); inside it, `control_under` when that is the name of one
// of this program's controls that is a target ("FlatButton4", "FlatButton3")
// and `control_enabled`; empty otherwise (other controls, disabled buttons,
// other programs' windows over ours: pass an empty name for those).
std::string DropTargetAt(TDragPoint p, const TDragRect& window_rect, std::string_view control_under,
                         bool control_enabled);

// Whether a press at tree client x may start a drag.
inline bool MayStartDrag(int x) { return x > kDragStartMinX; }

struct TDragImageSize {
  int width = 0, height = 0;
};
// From the text measured as one line: height 2 * text height + 5, width the
// text width + 27, at most 200.
TDragImageSize DragImageSize(int text_width, int text_height);

// The drag image's text in the kit's formatted-text markup: "/b" bold on,
// "/b0" off, CR LF a line break. `node_text` null: nothing is selected.
std::string DragImageText(const std::string* node_text);

}  // namespace zs
