// Any markup lays out without a crash, in bounded time, and keeps the
// layout's invariants: lines stacked without gaps, a height that is their sum.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "kit/html_layout.h"

namespace {

class Measurer final : public zs::html::TextMeasurer {
 public:
  int TextWidth(const zs::html::FontStyle& f, std::string_view text) override {
    return static_cast<int>(text.size()) * (f.height_px / 2 + (f.bold ? 1 : 0));
  }
  zs::html::FontMetrics Metrics(const zs::html::FontStyle& f) override { return {f.height_px + 2, f.height_px}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  Measurer m;
  zs::html::LayoutOptions o;
  o.width = 1 + data[0] * 3;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const zs::html::Layout l = zs::html::LayoutMarkup(text, o, m);
  if (l.lines.empty()) abort();
  int top = 0;
  size_t chars = 0;
  for (const zs::html::Line& line : l.lines) {
    if (line.top != top || line.height <= 0) abort();
    top += line.height;
    for (const zs::html::Piece& p : line.pieces) chars += p.text.size();
  }
  if (top != l.height) abort();
  // Every drawn character comes from the input (entities only shrink it).
  if (chars > text.size() + l.lines.size()) abort();
  return 0;
}
