// The real main window on a generated database, in this process: settings in
// a private directory, notes recorded, the start (WM_STARTUP: check, connect,
// fill) pumped to its end. Shared by the overview's window tests.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/main_window.h"
#include "overview/tree_items_win.h"
#include "settings/user_mode.h"
#include "tests/link_tree/link_db.h"
#include "tests/support/recording_user.h"
#include "tests/support/win_fixture.h"

namespace zs::test {

// One node as a test sees it.
struct TNodeView {
  int level = 0;
  std::string text;
  std::string id;  // the payload's IDText
  int image = -1;
  int selected_image = -1;
  bool expanded = false;
  bool operator==(const TNodeView&) const = default;
};

class OverviewTest : public WindowTest {
 protected:
  void SetUp() override {
    dir_ = scratch_.Prefix();
    settings_ = std::make_unique<ScopedUserModeDirectory>(dir_);
    LastRemovedIndex = -1;
    LastFindText.clear();
    LastFindIndex = 0;
  }
  void TearDown() override {
    form_.reset();
    Pump(20);
    settings_.reset();
    LastRemovedIndex = -1;
    LastFindText.clear();
    LastFindIndex = 0;
    WindowTest::TearDown();
  }

  // Writes the tables and opens the window on them; answers when the first fill has ended.
  void Open(const std::vector<TTestAddress>& addresses, const std::vector<TTestLinkRecord>& records) {
    WriteLinkDatabase(dir_, addresses, records);
    OpenOnExisting();
  }
  void OpenOnExisting() {
    LaunchContext ctx;
    ctx.args.connect_path = dir_;
    ctx.args.server_flag = "1";
    ctx.args.release = "12340";
    ctx.exe_path = ExeDir() + "AdressLinks.exe";
    ctx.menu_path = dir_ + "ZS.MNU";
    ctx.product_name = "Velto";
    form_ = std::make_unique<TFAdressExtremeLinks>(ctx, false);
    ASSERT_TRUE(PumpUntil([&] { return form_->LinkTable() && !form_->Busy() && !form_->PShow.Visible(); }, 20000))
        << "the first fill did not end";
  }

  HWND tree() const { return form_->Tree.Handle(); }

  std::vector<TNodeView> Nodes() const {
    std::vector<TNodeView> out;
    for (HTREEITEM item : ItemsInDisplayOrder(tree())) {
      char buf[512] = {};
      TVITEMA it{};
      it.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_HANDLE;
      it.hItem = item;
      it.pszText = buf;
      it.cchTextMax = sizeof buf;
      it.stateMask = TVIS_EXPANDED;
      SendMessageA(tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
      const TID* id = reinterpret_cast<const TID*>(it.lParam);
      out.push_back({TreeView_GetParent(tree(), item) ? 1 : 0, buf, id ? id->IDText : "<none>", it.iImage,
                     it.iSelectedImage, (it.state & TVIS_EXPANDED) != 0});
    }
    return out;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const TNodeView& n : Nodes()) out.push_back((n.level ? "  " : "") + n.text);
    return out;
  }
  int SelectedIndex() const {
    HTREEITEM sel = TreeView_GetSelection(tree());
    return sel ? IndexOfNode(TTreeItems(tree()), sel) : -1;
  }
  void SelectIndex(int index) {
    HTREEITEM item = NodeAtIndex(TTreeItems(tree()), index);
    ASSERT_NE(item, nullptr) << index;
    TreeView_SelectItem(tree(), item);
    Pump(10);
  }

  ScratchDirectory scratch_{"overview"};  // first: removed after everything else
  std::string dir_;
  std::unique_ptr<ScopedUserModeDirectory> settings_;
  RecordingUser user_;
  std::unique_ptr<TFAdressExtremeLinks> form_;
};

// Address records with only a surname and a customer number, for short texts.
inline TTestAddress Addr(int32_t id, std::string nname, std::string knr = "", std::string gr = "") {
  TTestAddress a;
  a.id = id;
  a.nname = std::move(nname);
  a.knr = std::move(knr);
  a.gr = std::move(gr);
  return a;
}

}  // namespace zs::test
