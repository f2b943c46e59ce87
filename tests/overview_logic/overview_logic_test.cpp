// The overview's rules that need no window: search, display order, drop
// targets, drag image size and the show-address payload.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "overview/drag_rules.h"
#include "overview/show_address.h"
#include "overview/tree_order.h"
#include "overview/tree_search.h"

namespace zs {
namespace {

// --- search ---------------------------------------------------------------

TEST(UpperAZ, OnlyAsciiLettersChange) {
  EXPECT_EQ(UpperAZ("meier, eva [12 b]"), "MEIER, EVA [12 B]");
  // ä ü ß and accented letters stay as they are (Windows-1252 bytes).
  EXPECT_EQ(UpperAZ("m\xFCller \xE4\xDF\xE9"), "M\xFCLLER \xE4\xDF\xE9");
  EXPECT_EQ(UpperAZ("{z}`@[a]"), "{Z}`@[A]");
}

struct Press {
  int select;
  TFindSound sound;
};

std::vector<Press> PressEnter(const TNodeTexts& nodes, const std::string& text, TFindState& st, int times) {
  std::vector<Press> out;
  for (int i = 0; i < times; ++i) {
    TFindResult r = FindNext(nodes, text, st);
    out.push_back({r.select, r.sound});
  }
  return out;
}

TEST(FindNext, LowerCaseFindsUpperCaseButUmlautsStayApart) {
  TTextVector nodes({"MEIER Eva [1]", "M\xDCLLER [2]"});  // "MÜLLER"
  TFindState st;
  EXPECT_EQ(FindNext(nodes, "meier", st).select, 0);
  TFindState st2;
  TFindResult r = FindNext(nodes, "m\xFCller", st2);  // "müller" does not find "MÜLLER"
  EXPECT_EQ(r.select, -1);
  EXPECT_EQ(r.sound, TFindSound::Wave2);
  EXPECT_EQ(st2.LastFindIndex, -1);
}

TEST(FindNext, RepeatedEnterVisitsMatchesThenSignalsEndThenStartsAgain) {
  TTextVector nodes({"Anna [1]", "Bert [2]", "Hanna [3]", "Otto [4]", "Johanna [5]", "Zoe [6]"});
  TFindState st;
  std::vector<Press> p = PressEnter(nodes, "anna", st, 6);
  ASSERT_EQ(p.size(), 6u);
  EXPECT_EQ(p[0].select, 0);
  EXPECT_EQ(p[1].select, 2);
  EXPECT_EQ(p[2].select, 4);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p[i].sound, TFindSound::Wave1) << i;
  // after the last match (not the tree's last node): the long signal, nothing selected
  EXPECT_EQ(p[3].select, -1);
  EXPECT_EQ(p[3].sound, TFindSound::Wave2);
  EXPECT_EQ(p[4].select, 0);  // and round again
  EXPECT_EQ(p[5].select, 2);
  EXPECT_EQ(st.LastFindText, "ANNA");
  EXPECT_EQ(st.LastFindIndex, 2);
}

TEST(FindNext, EndAfterAMatchOnTheLastNodeIsTheShortClick) {
  TTextVector nodes({"Anna", "Otto", "Hanna"});
  TFindState st;
  EXPECT_EQ(FindNext(nodes, "ANNA", st).select, 0);
  EXPECT_EQ(FindNext(nodes, "ANNA", st).select, 2);
  TFindResult end = FindNext(nodes, "ANNA", st);
  EXPECT_EQ(end.select, -1);
  EXPECT_EQ(end.sound, TFindSound::Wave1);
  EXPECT_EQ(st.LastFindIndex, -1);
  EXPECT_EQ(FindNext(nodes, "ANNA", st).select, 0);
}

TEST(FindNext, ChangedTextStartsAtZeroAndEmptyTextMatchesNothing) {
  TTextVector nodes({"Otto A", "Otto B", "Anna"});
  TFindState st;
  EXPECT_EQ(FindNext(nodes, "otto", st).select, 0);
  EXPECT_EQ(FindNext(nodes, "otto", st).select, 1);
  EXPECT_EQ(FindNext(nodes, "o", st).select, 0);  // different text: from 0 again

  TFindState empty;
  TFindResult r = FindNext(nodes, "", empty);
  EXPECT_EQ(r.select, -1);
  EXPECT_EQ(r.sound, TFindSound::Wave2);

  TFindState none;
  TTextVector no_nodes({});
  EXPECT_EQ(FindNext(no_nodes, "x", none).sound, TFindSound::Wave1);  // start 0 is not below 0 nodes
}

TEST(FindNext, StaleIndexAfterTheTreeShrankJustContinues) {
  TTextVector nodes({"Anna", "Anna"});
  TFindState st{"ANNA", 7};
  TFindResult r = FindNext(nodes, "anna", st);
  EXPECT_EQ(r.select, -1);
  EXPECT_EQ(r.sound, TFindSound::Wave1);
  EXPECT_EQ(st.LastFindIndex, -1);
}

// --- display order --------------------------------------------------------

// A tree of ints; 0 is none, the map gives each node's parent in insertion order.
class IntTree final : public TTreeShape<int> {
 public:
  void Add(int node, int parent) { kids_[parent].push_back(node), parent_[node] = parent; }
  int Parent(int n) const override { return n ? parent_.at(n) : 0; }
  int FirstChild(int n) const override {
    auto it = kids_.find(n);
    return it == kids_.end() || it->second.empty() ? 0 : it->second.front();
  }
  int NextSibling(int n) const override { return Sibling(n, +1); }
  int PrevSibling(int n) const override { return Sibling(n, -1); }

 private:
  int Sibling(int n, int step) const {
    const auto& v = kids_.at(parent_.at(n));
    for (size_t i = 0; i < v.size(); ++i)
      if (v[i] == n) {
        const long j = static_cast<long>(i) + step;
        return j >= 0 && j < static_cast<long>(v.size()) ? v[static_cast<size_t>(j)] : 0;
      }
    return 0;
  }
  std::map<int, std::vector<int>> kids_;
  std::map<int, int> parent_;
};

TEST(DisplayOrder, NextAndPrevWalkEveryNodeBothWays) {
  IntTree t;  // 1(11,12) 2 3(31(311)) 4
  t.Add(1, 0), t.Add(11, 1), t.Add(12, 1), t.Add(2, 0), t.Add(3, 0), t.Add(31, 3), t.Add(311, 31), t.Add(4, 0);
  const std::vector<int> order{1, 11, 12, 2, 3, 31, 311, 4};
  std::vector<int> forward;
  for (int n = t.FirstChild(0); n; n = DisplayNext(t, n)) forward.push_back(n);
  EXPECT_EQ(forward, order);
  std::vector<int> backward;
  for (int n = 4; n; n = DisplayPrev(t, n)) backward.push_back(n);
  EXPECT_EQ(backward, (std::vector<int>{4, 311, 31, 3, 2, 12, 11, 1}));
  EXPECT_EQ(DisplayPrev(t, 1), 0);  // Up on the first node: none
  EXPECT_EQ(DisplayNext(t, 4), 0);  // Down on the last node: none
  for (int i = 0; i < static_cast<int>(order.size()); ++i) {
    EXPECT_EQ(NodeAtIndex(t, i), order[static_cast<size_t>(i)]);
    EXPECT_EQ(IndexOfNode(t, order[static_cast<size_t>(i)]), i);
  }
  EXPECT_EQ(NodeAtIndex(t, 8), 0);
  EXPECT_EQ(NodeAtIndex(t, -1), 0);
  EXPECT_EQ(IndexOfNode(t, 99), -1);
}

TEST(DisplayOrder, FillSelectsZeroOrTheLastRemovedIndex) {
  EXPECT_EQ(FillSelectionIndex(0, -1), -1);
  EXPECT_EQ(FillSelectionIndex(0, 3), -1);
  EXPECT_EQ(FillSelectionIndex(5, -1), 0);
  EXPECT_EQ(FillSelectionIndex(5, 3), 3);
  EXPECT_EQ(FillSelectionIndex(4, 3), 3);
  EXPECT_EQ(FillSelectionIndex(3, 3), 0);  // not less than the count: stays on 0
}

// --- drag -----------------------------------------------------------------

TEST(DropTarget, ScreenOutsideTheWindowAndOnlyEnabledCommandButtonsInside) {
  const TDragRect w{100, 50, 430, 300};
  // the left and top edges are inside, the right and bottom edges outside
  EXPECT_EQ(DropTargetAt({100, 50}, w, "", false), "");
  EXPECT_EQ(DropTargetAt({429, 299}, w, "Tree", true), "");
  EXPECT_EQ(DropTargetAt({430, 100}, w, "", false), "Screen");
  EXPECT_EQ(DropTargetAt({200, 300}, w, "", false), "Screen");
  EXPECT_EQ(DropTargetAt({99, 100}, w, "FlatButton4", true), "Screen");
  EXPECT_EQ(DropTargetAt({200, 49}, w, "", false), "Screen");

  EXPECT_EQ(DropTargetAt({120, 70}, w, "FlatButton4", true), "FlatButton4");
  EXPECT_EQ(DropTargetAt({220, 70}, w, "FlatButton3", true), "FlatButton3");
  EXPECT_EQ(DropTargetAt({220, 70}, w, "FlatButton3", false), "");  // disabled remove button
  EXPECT_EQ(DropTargetAt({320, 70}, w, "FlatButton2", true), "");   // reload is no target
  EXPECT_EQ(DropTargetAt({320, 280}, w, "dfind", true), "");
}

TEST(DragImage, SizeIsCappedAt200AndTheTextCarriesTheMarkup) {
  EXPECT_EQ(DragImageSize(100, 13).width, 127);
  EXPECT_EQ(DragImageSize(100, 13).height, 31);
  EXPECT_EQ(DragImageSize(173, 13).width, 200);
  EXPECT_EQ(DragImageSize(900, 16).width, 200);
  EXPECT_EQ(DragImageSize(900, 16).height, 37);
  const std::string node = "Meier Eva [12 B]";
  EXPECT_EQ(DragImageText(&node), "/bAdresse:/b0\r\nMeier Eva [12 B]");
  EXPECT_EQ(DragImageText(nullptr), "Markieren Sie einen Eintrag");
  EXPECT_FALSE(MayStartDrag(20));
  EXPECT_TRUE(MayStartDrag(21));
}

// --- show-address request -------------------------------------------------

TEST(ShowAddress, PayloadIsTheGuidTextWithItsZeroByte) {
  TShowAddressRequest r = MakeShowAddressRequest("4711");
  EXPECT_EQ(r.dwData, 4711u);
  ASSERT_EQ(r.cbData(), 39u);
  EXPECT_EQ(std::string(r.payload.data(), 38), "{439D41D6-2304-4EE9-B1C7-18119CBD63B7}");
  EXPECT_EQ(r.payload[38], '\0');
}

TEST(ShowAddress, IdTextThatIsNoNumberGivesZero) {
  struct Case {
    const char* text;
    int32_t id;
  } cases[] = {{"0", 0},          {"17", 17},       {"+17", 17},         {"-5", -5},
               {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"2147483648", 0},
               {"99999999999999999999", 0}, {"", 0}, {"-", 0}, {"12a", 0}, {" 12", 0}, {"1 2", 0}};
  for (const Case& c : cases) EXPECT_EQ(IdTextToInt(c.text), c.id) << c.text;
  EXPECT_EQ(MakeShowAddressRequest("-1").dwData, 0xFFFFFFFFu);
  EXPECT_EQ(MakeShowAddressRequest("x").dwData, 0u);
}

}  // namespace
}  // namespace zs
