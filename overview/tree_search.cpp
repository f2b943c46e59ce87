#include "overview/tree_search.h"

namespace zs {

std::string UpperAZ(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

TFindResult FindNext(const TNodeTexts& nodes, std::string_view search_text, TFindState& state) {
  const std::string s = UpperAZ(search_text);
  int start = 0;
  if (state.LastFindIndex != -1 && state.LastFindText == s) start = state.LastFindIndex + 1;
  const int n = nodes.count();
  if (start >= n) {
    // Also reached when the last match was the last node: the end is signalled
    // with the short click, and the next press starts again at 0.
    state.LastFindIndex = -1;
    return {-1, TFindSound::Wave1};
  }
  if (!s.empty()) {
    for (int i = start; i < n; ++i) {
      if (UpperAZ(nodes.text(i)).find(s) != std::string::npos) {
        state.LastFindText = s;
        state.LastFindIndex = i;
        return {i, TFindSound::Wave1};
      }
    }
  }
  state.LastFindIndex = -1;
  return {-1, TFindSound::Wave2};
}

}  // namespace zs
