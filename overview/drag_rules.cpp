#include "overview/drag_rules.h"

#include <algorithm>

namespace zs {

std::string DropTargetAt(TDragPoint p, const TDragRect& window_rect, std::string_view control_under,
                         bool control_enabled) {
  if (!window_rect.Contains(p)) return "Screen";
  if (control_enabled && (control_under == "FlatButton4" || control_under == "FlatButton3"))
    return std::string(control_under);
  return {};
}

TDragImageSize DragImageSize(int text_width, int text_height) {
  return {std::min(text_width + 27, kDragImageMaxWidth), 2 * text_height + 5};
}

std::string DragImageText(const std::string* node_text) {
  if (!node_text) return "Markieren Sie einen Eintrag";
  return "/bAdresse:/b0\r\n" + *node_text;
}

}  // namespace zs
