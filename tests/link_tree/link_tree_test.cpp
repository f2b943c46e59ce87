// The tree fill on the real window with generated databases.
#include <gtest/gtest.h>

#include "tests/link_tree/overview_fixture.h"

namespace zs::test {
namespace {

using TreeFill = OverviewTest;

TEST_F(TreeFill, TwoOwnersLinkedBothWaysAreSortedExpandedAndTheFirstIsSelected) {
  Open({Addr(5, "Meier", "105", "A"), Addr(7, "Albers", "107"), Addr(9, "Zander", "", "B")},
       {{5, "9,7"}, {7, "5"}});
  const std::vector<TNodeView> expected{
      {0, "Albers [107]", "7", 0, 0, true},
      {1, "Meier [105 A]", "5", 1, 1, false},
      {0, "Meier [105 A]", "5", 0, 0, true},
      {1, "Albers [107]", "7", 1, 1, false},  // the list said 9,7: children are sorted too
      {1, "Zander [B]", "9", 1, 1, false},
  };
  EXPECT_EQ(Nodes(), expected);
  EXPECT_EQ(SelectedIndex(), 0);
  EXPECT_FALSE(form_->FlatButton3.Enabled());  // an owner is selected
  EXPECT_TRUE(form_->FlatButton1.Enabled());
  EXPECT_TRUE(form_->FlatButton2.Enabled());
  EXPECT_TRUE(form_->FlatButton4.Enabled());
  EXPECT_FALSE(form_->PShow.Visible());
  EXPECT_EQ(form_->lb.Caption(), "");
}

TEST_F(TreeFill, MissingAddressesAreLeftOutAndAnEmptyListShowsTheOwnerAlone) {
  Open({Addr(5, "Meier"), Addr(7, "Albers"), Addr(9, "Zander")},
       {{100, "5,7"}, {5, "7,999,9"}, {9, ""}, {7, "x7,,-"}});
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Albers []", "Meier []", "  Albers []", "  Zander []", "Zander []"}));
  // an owner without children is not marked expanded (nothing to expand)
  EXPECT_FALSE(Nodes()[4].expanded);
}

TEST_F(TreeFill, EmptyTableLeavesTheTreeEmptyWithTheRemoveButtonOff) {
  Open({Addr(5, "Meier")}, {});
  EXPECT_TRUE(Nodes().empty());
  EXPECT_EQ(SelectedIndex(), -1);
  EXPECT_TRUE(form_->FlatButton1.Enabled());
  EXPECT_TRUE(form_->FlatButton4.Enabled());
  EXPECT_TRUE(form_->FlatButton2.Enabled());
  EXPECT_FALSE(form_->FlatButton3.Enabled());
  EXPECT_FALSE(form_->PShow.Visible());
}

TEST_F(TreeFill, SortIsLstrcmpAOnEveryLevelNotTheTreesCaseBlindSort) {
  // Inserted upper case first: a case-blind sort keeps that order for the
  // ties, lstrcmpA puts the lower-case text first.
  TTestAddress eva = Addr(3, "Meier");
  eva.vname = "Eva";
  TTestAddress dept = Addr(4, "");
  dept.abt = "Einkauf";
  dept.vname = "Eva";
  TTestAddress pilcrow = Addr(6, "M\xB6ller");  // "M¶ller"
  Open({Addr(1, "Bauer"), Addr(2, "bauer"), eva, dept, pilcrow, Addr(8, "Zorn"), Addr(10, "adler")},
       {{1, "8,10,2"}, {2, "1"}, {8, "3,4,6"}, {10, "1"}});
  EXPECT_EQ(Texts(), (std::vector<std::string>{"adler []", "  Bauer []", "bauer []", "  Bauer []", "Bauer []",
                                               "  adler []", "  bauer []", "  Zorn []", "Zorn []",
                                               "  Einkauf  Eva []", "  M ller []", "  Meier Eva []"}));
}

TEST_F(TreeFill, LastRemovedIndexSteersEveryLaterFill) {
  Open({Addr(1, "A"), Addr(2, "B"), Addr(3, "C")}, {{1, "2"}, {2, "1,3"}, {3, "2"}});
  ASSERT_EQ(Nodes().size(), 7u);
  LastRemovedIndex = 3;
  form_->FlatButton2Click();
  EXPECT_EQ(SelectedIndex(), 3);
  EXPECT_TRUE(form_->FlatButton3.Enabled());  // index 3 is "  A" under B: a linked node
  form_->FlatButton2Click();
  EXPECT_EQ(SelectedIndex(), 3);
  LastRemovedIndex = 7;  // not less than the 7 nodes: the first node
  form_->FlatButton2Click();
  EXPECT_EQ(SelectedIndex(), 0);
  EXPECT_FALSE(form_->FlatButton3.Enabled());
}

// Samples the window once per dispatched round while a fill pumps.
struct FillSampler {
  static constexpr UINT kSample = WM_APP + 77;
  struct Sample {
    int position, max;
    bool panel, reload_enabled, remove_enabled;
  };
  static TFAdressExtremeLinks* form;
  static std::vector<Sample>* samples;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kSample) {
      if (!form) return 0;
      samples->push_back({form->PG.Position(), form->PG.Max(), form->PShow.Visible(), form->FlatButton2.Enabled(),
                          form->FlatButton3.Enabled()});
      if (form->Busy()) PostMessageA(hwnd, kSample, 0, 0);
      return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
};
TFAdressExtremeLinks* FillSampler::form = nullptr;
std::vector<FillSampler::Sample>* FillSampler::samples = nullptr;

TEST_F(TreeFill, ReloadShowsTheProgressRunningFromEmptyToFullAgainWithButtonsOff) {
  std::vector<TTestAddress> addresses;
  std::vector<TTestLinkRecord> records;
  for (int i = 1; i <= 40; ++i) addresses.push_back(Addr(i, std::string("N").append(std::to_string(i))));
  for (int i = 1; i <= 20; ++i) records.push_back({i, std::to_string(i + 20)});
  Open(addresses, records);
  ASSERT_EQ(form_->PG.Position(), 20);

  std::vector<FillSampler::Sample> samples;
  FillSampler::form = form_.get();
  FillSampler::samples = &samples;
  HWND sampler = CreateTopWindow("sampler", 0, 0, 10, 10, WS_POPUP, 0, FillSampler::Proc);
  ASSERT_NE(sampler, nullptr);
  // the first sample lands at the first pump of the fill
  PostMessageA(sampler, FillSampler::kSample, 0, 0);
  form_->FlatButton2Click();
  ASSERT_GE(samples.size(), 10u);
  EXPECT_LE(samples.front().position, 1);
  for (size_t i = 0; i < samples.size(); ++i) {
    EXPECT_EQ(samples[i].max, 20) << i;
    EXPECT_TRUE(samples[i].panel) << i;
    EXPECT_FALSE(samples[i].reload_enabled) << i;
    EXPECT_FALSE(samples[i].remove_enabled) << i;
    if (i) {
      EXPECT_GE(samples[i].position, samples[i - 1].position) << i;
    }
  }
  FillSampler::form = nullptr;
  EXPECT_GE(samples.back().position, 19);
  EXPECT_EQ(form_->PG.Position(), 20);
  EXPECT_FALSE(form_->PShow.Visible());
  EXPECT_TRUE(form_->FlatButton2.Enabled());
}

TEST_F(TreeFill, AnErrorEndsTheFillAfterTheClosingStepsAndGoesOn) {
  Open({Addr(5, "Meier"), Addr(7, "Albers")}, {{5, "7"}, {7, "5"}});
  form_->AdsTableAdr.Close();  // the next lookup fails
  EXPECT_ANY_THROW(form_->FillLinkTree());
  EXPECT_TRUE(Nodes().empty());
  EXPECT_FALSE(form_->PShow.Visible());
  EXPECT_TRUE(form_->FlatButton1.Enabled());
  EXPECT_TRUE(form_->FlatButton2.Enabled());
  EXPECT_TRUE(form_->FlatButton4.Enabled());
  EXPECT_FALSE(form_->FlatButton3.Enabled());
  EXPECT_FALSE(form_->Busy());
  // and the window fills again once the table is back
  form_->AdsTableAdr.Open();
  form_->AdsTableAdr.SetIndexName("ID");
  form_->FillLinkTree();
  EXPECT_EQ(Nodes().size(), 4u);
}

}  // namespace
}  // namespace zs::test
