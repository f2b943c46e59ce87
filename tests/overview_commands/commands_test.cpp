// The overview's commands on the real window: remove, reload, search, the
// keys of the search box and the show-address request.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "overview/show_address.h"
#include "tests/link_tree/overview_fixture.h"
#include "tests/overview_commands/test_host.h"

namespace zs::test {
namespace {

class Commands : public OverviewTest {
 protected:
  // Owners A(1): B, C; B(2): A; C(3): A, D; D(4): C.
  void OpenFour() {
    Open({Addr(1, "Anna", "11"), Addr(2, "Bert", "12"), Addr(3, "Carl", "13"), Addr(4, "Dora", "14")},
         {{1, "2,3"}, {2, "1"}, {3, "1,4"}, {4, "3"}});
  }
  std::vector<TTestLinkRecord> Records() { return ReadLinkRecords(dir_); }
};


TEST_F(Commands, RemoveOnALinkedNodeTakesBothSidesAndTheOwnerLeftEmpty) {
  OpenFour();
  ASSERT_EQ(Texts(), (std::vector<std::string>{"Anna [11]", "  Bert [12]", "  Carl [13]", "Bert [12]", "  Anna [11]",
                                               "Carl [13]", "  Anna [11]", "  Dora [14]", "Dora [14]", "  Carl [13]"}));
  SelectIndex(1);  // Bert under Anna
  EXPECT_TRUE(form_->FlatButton3.Enabled());
  form_->FlatButton3Click();
  EXPECT_EQ(LastRemovedIndex, 1);
  EXPECT_EQ(Records(), (std::vector<TTestLinkRecord>{{1, "3"}, {3, "1,4"}, {4, "3"}}));
  // Bert's node under Anna and Anna's under Bert went, and Bert with it
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Anna [11]", "  Carl [13]", "Carl [13]", "  Anna [11]",
                                               "  Dora [14]", "Dora [14]", "  Carl [13]"}));
  // the remove button follows the selection the tree made by itself
  HTREEITEM sel = TreeView_GetSelection(tree());
  EXPECT_EQ(form_->FlatButton3.Enabled(), sel && TreeView_GetParent(tree(), sel));

  // the last link of Anna: Anna's owner node goes too
  SelectIndex(1);
  form_->FlatButton3Click();
  EXPECT_EQ(Records(), (std::vector<TTestLinkRecord>{{3, "4"}, {4, "3"}}));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Carl [13]", "  Dora [14]", "Dora [14]", "  Carl [13]"}));
  sel = TreeView_GetSelection(tree());
  EXPECT_EQ(form_->FlatButton3.Enabled(), sel && TreeView_GetParent(tree(), sel));
}

TEST_F(Commands, RemoveOnAnOwnerOrWithoutSelectionOrWithoutTheOwnersRecordDoesNothing) {
  OpenFour();
  const auto texts = Texts();
  const auto records = Records();
  SelectIndex(0);  // an owner
  form_->FlatButton3Click();
  TreeView_SelectItem(tree(), nullptr);
  form_->FlatButton3Click();
  EXPECT_EQ(Texts(), texts);
  EXPECT_EQ(Records(), records);
  EXPECT_EQ(LastRemovedIndex, -1);

  // Anna's record disappears behind the window's back
  {
    TAdsConnection c(nullptr, "Other");
    c.SetConnectPath(dir_);
    c.SetIsConnected(true);
    TLinkTableClass other(&c, false);
    ASSERT_TRUE(other.GetTable().Locate("SelfID", 1));
    other.GetTable().Delete();
  }
  SelectIndex(1);
  form_->FlatButton3Click();
  EXPECT_EQ(Texts(), texts);
  EXPECT_EQ(LastRemovedIndex, -1);
  EXPECT_EQ(Records(), (std::vector<TTestLinkRecord>{{2, "1"}, {3, "1,4"}, {4, "3"}}));
}

TEST_F(Commands, ReloadAfterARemoveSelectsTheRemovedPosition) {
  OpenFour();
  SelectIndex(7);  // Dora under Carl
  form_->FlatButton3Click();
  EXPECT_EQ(LastRemovedIndex, 7);
  ASSERT_EQ(Texts().size(), 7u);  // Anna(Bert,Carl) Bert(Anna) Carl(Anna)
  form_->FlatButton2Click();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Anna [11]", "  Bert [12]", "  Carl [13]", "Bert [12]", "  Anna [11]",
                                               "Carl [13]", "  Anna [11]"}));
  EXPECT_EQ(SelectedIndex(), 0);  // 7 is not less than the 7 nodes
  SelectIndex(1);
  form_->FlatButton3Click();  // LastRemovedIndex 1
  form_->FlatButton2Click();
  EXPECT_EQ(SelectedIndex(), 1);
}

class Search : public Commands {
 protected:
  void Hook() {
    form_->Wave1.OnPlay = [this](TComponent*) { sounds_.push_back(1); };
    form_->Wave2xxxx.OnPlay = [this](TComponent*) { sounds_.push_back(2); };
  }
  // Enter in the search box with `text`: the index selected afterwards.
  int Enter(const std::string& text) {
    form_->dfind.SetText(text);
    EXPECT_TRUE(form_->dfindKeyDown(VK_RETURN));  // consumed
    Pump(5);
    return SelectedIndex();
  }
  std::vector<int> sounds_;
};

TEST_F(Search, RepeatedEnterVisitsEveryMatchThenSignalsTheEndThenStartsAgain) {
  OpenFour();
  Hook();
  // "anna" matches indices 0, 4, 6
  EXPECT_EQ(Enter("anna"), 0);
  EXPECT_EQ(Enter("anna"), 4);
  EXPECT_EQ(Enter("anna"), 6);
  EXPECT_EQ(Enter("anna"), 6);  // the end: selection stays, the long signal
  EXPECT_EQ(LastFindIndex, -1);
  EXPECT_EQ(Enter("anna"), 0);
  EXPECT_EQ(sounds_, (std::vector<int>{1, 1, 1, 2, 1}));
  EXPECT_EQ(LastFindText, "ANNA");

  // "carl" matches 2, 5, 9 (the last node): the end is the short click
  sounds_.clear();
  EXPECT_EQ(Enter("Carl"), 2);
  EXPECT_EQ(Enter("Carl"), 5);
  EXPECT_EQ(Enter("Carl"), 9);
  EXPECT_EQ(Enter("Carl"), 9);
  EXPECT_EQ(sounds_, (std::vector<int>{1, 1, 1, 1}));
  // a changed text starts at 0 again
  EXPECT_EQ(Enter("dora [14"), 7);
}

TEST_F(Search, UmlautsAreNotUpperCasedAndAnEmptyTextMatchesNothing) {
  Open({Addr(1, "M\xDCLLER"), Addr(2, "Meier")}, {{1, "2"}, {2, "1"}});  // "MÜLLER"
  Hook();
  ASSERT_EQ(Texts(), (std::vector<std::string>{"Meier []", "  M\xDCLLER []", "M\xDCLLER []", "  Meier []"}));
  SelectIndex(3);
  EXPECT_EQ(Enter("m\xFC"), 3);  // "mü" finds nothing: selection unchanged
  EXPECT_EQ(LastFindIndex, -1);
  EXPECT_EQ(Enter("m\xDC"), 1);  // "mÜ" finds "MÜLLER"
  EXPECT_EQ(Enter(""), 1);
  EXPECT_EQ(LastFindIndex, -1);
  EXPECT_EQ(sounds_, (std::vector<int>{2, 1, 2}));
}

TEST_F(Search, NoSoundWithTheOptionOff) {
  WriteUserBool("TFAdressExtremeLinks.Sound.On", false);
  OpenFour();
  Hook();
  EXPECT_FALSE(form_->SoundOn());
  EXPECT_EQ(Enter("bert"), 1);
  Enter("nobody");
  EXPECT_TRUE(sounds_.empty());
}

TEST_F(Search, UpAndDownMoveInDisplayOrderAndStopAtTheEnds) {
  OpenFour();
  SelectIndex(0);
  EXPECT_FALSE(form_->dfindKeyDown(VK_UP));  // not consumed
  EXPECT_EQ(SelectedIndex(), 0);
  EXPECT_FALSE(form_->dfindKeyDown(VK_DOWN));
  EXPECT_EQ(SelectedIndex(), 1);
  form_->dfindKeyDown(VK_DOWN);
  form_->dfindKeyDown(VK_DOWN);
  EXPECT_EQ(SelectedIndex(), 3);  // from the last child to the next owner
  form_->dfindKeyDown(VK_UP);
  EXPECT_EQ(SelectedIndex(), 2);  // back to the previous owner's last child
  SelectIndex(9);
  form_->dfindKeyDown(VK_DOWN);
  EXPECT_EQ(SelectedIndex(), 9);
  TreeView_SelectItem(tree(), nullptr);
  form_->dfindKeyDown(VK_DOWN);
  EXPECT_EQ(SelectedIndex(), -1);
}

TEST_F(Commands, DetailsSendsTheIdAndTheGuidTextToTheHost) {
  Open({Addr(4711, "Linked"), Addr(12, "Owner")}, {{12, "4711"}, {4711, "12"}});
  HostRecord::calls = 0;
  HWND host = MakeHost();
  ASSERT_NE(host, nullptr);
  Track(host);
  ASSERT_EQ(Texts(), (std::vector<std::string>{"Linked []", "  Owner []", "Owner []", "  Linked []"}));
  SelectIndex(3);
  form_->FlatButton4Click();
  ASSERT_EQ(HostRecord::calls, 1);
  EXPECT_EQ(HostRecord::data, 4711u);
  EXPECT_EQ(HostRecord::cb, 39u);
  EXPECT_EQ(HostRecord::bytes, std::string("{439D41D6-2304-4EE9-B1C7-18119CBD63B7}", 39));
  EXPECT_EQ(HostRecord::from, reinterpret_cast<WPARAM>(form_->Handle()));
  SelectIndex(2);  // an owner node sends the owner's ID
  form_->FlatButton4Click();
  EXPECT_EQ(HostRecord::calls, 2);
  EXPECT_EQ(HostRecord::data, 12u);
  EXPECT_TRUE(user_.notes.empty());
}

TEST_F(Commands, DetailsWithoutHostOrSelectionShowsTheNote) {
  OpenFour();
  ASSERT_EQ(FindWindowA(kHostWindowClass, nullptr), nullptr);
  form_->FlatButton4Click();
  HWND host = MakeHost();
  Track(host);
  TreeView_SelectItem(tree(), nullptr);
  form_->FlatButton4Click();
  EXPECT_EQ(user_.notes, (std::vector<std::string>{"Markieren Sie einen Eintrag und starten Sie Velto.",
                                                   "Markieren Sie einen Eintrag und starten Sie Velto."}));
}

TEST_F(Commands, AHungHostIsGivenUpAndTheOverviewStaysUsable) {
  OpenFour();
  HostRecord::calls = 0;
  HostRecord::hang = true;
  std::atomic<HWND> host{nullptr};
  std::atomic<bool> stop{false};
  std::thread host_thread([&] {
    host = MakeHost();
    MSG m;
    while (!stop) {
      while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
      Sleep(5);
    }
    DestroyWindow(host);
  });
  ASSERT_TRUE(PumpUntil([&] { return host.load() != nullptr; }));
  SelectIndex(1);
  const DWORD t0 = GetTickCount();
  form_->FlatButton4Click();
  const DWORD waited = GetTickCount() - t0;
  EXPECT_EQ(HostRecord::calls, 1);      // the host got the request ...
  EXPECT_LT(waited, kShowAddressTimeoutMs + 3000);  // ... and did not keep us
  EXPECT_FALSE(form_->Busy());
  // still usable: the search works
  form_->dfind.SetText("dora");
  form_->dfindButtonClick();
  EXPECT_EQ(SelectedIndex(), 7);
  HostRecord::hang = false;
  stop = true;
  host_thread.join();
}

}  // namespace
}  // namespace zs::test
