// Find-next over the overview's node texts: the search box walks from match
// to match in node index order and signals the end with one of two sounds.
// Portable: the window hands in the texts of its nodes in display order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zs {

// Upper-cases the letters a to z only; every other byte (ä, ü, ß, accented
// letters, digits, markup) is left as it is.
std::string UpperAZ(std::string_view text);

// Process-wide search state: the upper-cased text of the last match and the
// node index of that match (-1 after a search that found nothing further).
struct TFindState {
  std::string LastFindText;
  int LastFindIndex = 0;
};

enum class TFindSound { None, Wave1, Wave2 };

struct TFindResult {
  int select = -1;                      // node index to select, -1: leave the selection
  TFindSound sound = TFindSound::None;  // which clip the search asks for (caller checks SoundOn)
};

// Node texts by index; count() nodes, text(i) for 0 <= i < count().
class TNodeTexts {
 public:
  virtual ~TNodeTexts() = default;
  virtual int count() const = 0;
  virtual std::string text(int index) const = 0;
};

// One press of Enter (or of the search box's button) with `search_text` as
// typed. Updates `state`. An empty text matches no node.
TFindResult FindNext(const TNodeTexts& nodes, std::string_view search_text, TFindState& state);

// Convenience for callers that already hold every text.
class TTextVector final : public TNodeTexts {
 public:
  explicit TTextVector(std::vector<std::string> texts) : texts_(std::move(texts)) {}
  int count() const override { return static_cast<int>(texts_.size()); }
  std::string text(int index) const override { return texts_[static_cast<size_t>(index)]; }

 private:
  std::vector<std::string> texts_;
};

}  // namespace zs
