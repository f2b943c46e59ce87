// The main window, in-process under Wine, on a generated database: its
// components, stay-on-top, keys, custom drawing, options and placement in
// UserMode.INI, the start-up paths and closes that arrive while it is busy.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/cursors_win.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "app/wait_cursor_win.h"
#include "settings/user_mode.h"
#include "tests/link_tree/link_db.h"
#include "tests/support/recording_user.h"
#include "tests/support/win_fixture.h"

namespace zs {
namespace {

// Pumps through the kit's loop (as the program does), so the window's key
// preview sees the keys; true when `done` came true within `timeout_ms`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  const DWORD end = GetTickCount() + timeout_ms;
  while (!done()) {
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return done();
    while (PumpMessage(false) == PumpResult::kDispatched) {
    }
    if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f << bytes;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = scratch_.Prefix();
    db_ = dir_ + "db";
    CreateDirectoryA(db_.c_str(), nullptr);
    settings_ = std::make_unique<ScopedUserModeDirectory>(dir_);
  }

  // Owners 5 (linked 7, 9) and 7 (linked 5), plus `extra` owners with one
  // linked address each.
  void MakeDatabase(int extra = 0) {
    std::vector<test::TTestAddress> adr = {{5, "Meier", "Eva", "", "K5", "Kunde"},
                                           {7, "Albers", "Udo", "", "K7", ""},
                                           {9, "Zander", "Ina", "", "", "Partner"}};
    std::vector<test::TTestLinkRecord> links = {{5, "7,9"}, {7, "5"}};
    for (int i = 0; i < extra; ++i) {
      const int32_t id = 100 + i;
      adr.push_back({id, "Name" + std::to_string(id), "", "", "", ""});
      links.push_back({id, "5"});
    }
    test::WriteLinkDatabase(db_, adr, links);
    nodes_ = 5 + 2 * extra;
  }

  LaunchContext Context(std::string a1, std::string a2 = "1", std::string a3 = "12340") {
    LaunchContext ctx;
    ctx.args = {std::move(a1), std::move(a2), std::move(a3)};
    ctx.exe_path = dir_ + "AdressLinks.exe";
    ctx.menu_path = dir_ + "ZS.MNU";
    ctx.product_name = "Velto";
    return ctx;
  }

  // Opens the window and waits until its start work has run.
  std::unique_ptr<TFAdressExtremeLinks> Open(LaunchContext ctx) {
    auto w = std::make_unique<TFAdressExtremeLinks>(std::move(ctx), false);
    HWND h = w->Handle();
    const std::string path = w->Launch().args.connect_path;
    PumpUntil([&] { return !IsWindow(h) || w->Caption() == path; }, 20000);
    return w;
  }

  std::string Ini() { return ReadFile(dir_ + "UserMode.INI"); }

  test::ScratchDirectory scratch_{"mainwin"};  // first: removed after everything else
  test::RecordingUser user_;
  std::string dir_, db_;
  int nodes_ = 0;
  std::unique_ptr<ScopedUserModeDirectory> settings_;
};

TEST_F(MainWindowTest, OwnsTheTwentyComponentsInDeclarationOrder) {
  MakeDatabase();
  auto w = Open(Context(db_));
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Panel1", "TPanel"},        {"Panel2", "TPanel"},          {"AdsConnection", "TAdsConnection"},
      {"AdsSettings1", "TAdsSettings"}, {"FlatButton1", "TFlatButton"}, {"Panel3", "TPanel"},
      {"FlatButton4", "TFlatButton"}, {"AdsTableAdr", "TAdsTable"}, {"lb", "TLabel"},
      {"Tree", "TTreeView"},       {"ImageList1", "TImageList"},  {"FlatButton2", "TFlatButton"},
      {"FlatButton3", "TFlatButton"}, {"ftopbtn", "TsCheckBox"},  {"PShow", "TFlatPanel"},
      {"PG", "TFlatProgressBar"},  {"dfind", "TDCChoiceEdit"},    {"FlatHint1", "TFlatHint"},
      {"Wave1", "TWave"},          {"Wave2xxxx", "TWave"}};
  ASSERT_EQ(w->ComponentCount(), static_cast<int>(expected.size()));
  for (int i = 0; i < w->ComponentCount(); ++i) {
    EXPECT_EQ(w->Components(i)->Name(), expected[i].first) << i;
    EXPECT_EQ(w->Components(i)->ClassName(), expected[i].second) << i;
  }
  EXPECT_EQ(w->Name(), "FAdressExtremeLinks");
}

TEST_F(MainWindowTest, StartsTopmostAndTheCheckBoxTogglesIt) {
  MakeDatabase();
  auto w = Open(Context(db_));
  HWND h = w->Handle();
  auto topmost = [&] { return (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  EXPECT_TRUE(w->ftopbtn.Checked());
  EXPECT_TRUE(topmost());
  SendMessageA(w->ftopbtn.Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(w->ftopbtn.Checked());
  EXPECT_FALSE(topmost());
  SendMessageA(w->ftopbtn.Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(topmost());
  // A hint shown and gone leaves no popup behind that would pin the state.
  POINT at{100, 100};
  w->FlatHint1.ShowAt(w->dfind.EditHandle(), "Suchen u. Enter/F3", at);
  ASSERT_NE(w->FlatHint1.Window(), nullptr);
  EXPECT_TRUE(GetWindowLongA(w->FlatHint1.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  w->FlatHint1.Cancel();
  EXPECT_EQ(FindWindowA("TFlatHintWindow", nullptr), nullptr);
  SendMessageA(w->ftopbtn.Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(topmost());
}

TEST_F(MainWindowTest, StoredOptionsApplyAtCreationAndAreWrittenOnClose) {
  MakeDatabase();
  WriteFile(dir_ + "UserMode.INI",
            "[MODE]\r\nTFAdressExtremeLinks.ftopbtn.Checked=0\r\nTFAdressExtremeLinks.Sound.On=0\r\n"
            "TFAdressExtremeLinks.Width=420\r\nTFAdressExtremeLinks.Height=300\r\n"
            "TFAdressExtremeLinks.Left=40\r\nTFAdressExtremeLinks.Top=30\r\n");
  auto w = Open(Context(db_));
  HWND h = w->Handle();
  EXPECT_FALSE(w->ftopbtn.Checked());
  EXPECT_FALSE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(w->SoundOn());
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.right - r.left, 420);
  EXPECT_EQ(r.bottom - r.top, 300);
  // Sizing keeps to 330 ... 500 wide and at least 200 high.
  SetWindowPos(h, nullptr, 0, 0, 900, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(h, &r);
  EXPECT_EQ(r.right - r.left, 500);
  EXPECT_EQ(r.bottom - r.top, 200);
  SendMessageA(w->ftopbtn.Handle(), BM_CLICK, 0, 0);
  w->FlatButton1.Click();
  EXPECT_FALSE(IsWindow(h));
  const std::string ini = Ini();
  EXPECT_NE(ini.find("TFAdressExtremeLinks.ftopbtn.Checked=1\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("TFAdressExtremeLinks.Sound.On=0\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("TFAdressExtremeLinks.Width=500\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("TFAdressExtremeLinks.Height=200\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("TFAdressExtremeLinks.Left=40\r\n"), std::string::npos) << ini;
  EXPECT_EQ(ini.find(".Add0"), std::string::npos) << ini;
}

TEST_F(MainWindowTest, EscFromAnywhereClosesAndSavesF3FocusesTheSearchBox) {
  MakeDatabase();
  auto w = Open(Context(db_));
  HWND h = w->Handle();
  ASSERT_TRUE(IsWindow(h));
  EXPECT_EQ(GetFocus(), w->dfind.EditHandle());  // the search box has the focus at start
  EXPECT_EQ(w->Caption(), db_);
  EXPECT_EQ(w->lb.Caption(), "");
  EXPECT_FALSE(user_.wait_cursor_on);

  SetFocus(w->Tree.Handle());
  HTREEITEM before = w->Tree.Selected();
  PostMessageA(w->Tree.Handle(), WM_KEYDOWN, VK_F3, 0);
  PumpUntil([&] { return GetFocus() == w->dfind.EditHandle(); }, 2000);
  EXPECT_EQ(GetFocus(), w->dfind.EditHandle());
  EXPECT_EQ(w->Tree.Selected(), before);  // F3 only moves the focus

  ASSERT_FALSE(ReadFile(dir_ + "UserMode.INI").size());
  PostMessageA(w->FlatButton2.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpUntil([&] { return !IsWindow(h); }, 3000);
  EXPECT_FALSE(IsWindow(h));
  const std::string ini = Ini();
  EXPECT_NE(ini.find("[MODE]"), std::string::npos);
  EXPECT_NE(ini.find("TFAdressExtremeLinks.ftopbtn.Checked=1\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("TFAdressExtremeLinks.Sound.On=1\r\n"), std::string::npos) << ini;
  for (const char* key : {".Width=", ".Height=", ".Left=", ".Top="})
    EXPECT_NE(ini.find(std::string("TFAdressExtremeLinks") + key), std::string::npos) << key;
}

TEST_F(MainWindowTest, CustomDrawGivesOwnersBoldAndSelectedWhite) {
  MakeDatabase();
  auto w = Open(Context(db_));
  HWND tree = w->Tree.Handle();
  HTREEITEM owner = TreeView_GetRoot(tree);
  ASSERT_NE(owner, nullptr);
  HTREEITEM linked = TreeView_GetChild(tree, owner);
  ASSERT_NE(linked, nullptr);

  HDC dc = CreateCompatibleDC(nullptr);
  auto draw = [&](HTREEITEM item, bool selected, LRESULT* result) {
    NMTVCUSTOMDRAW cd{};
    cd.nmcd.hdr.hwndFrom = tree;
    cd.nmcd.hdr.code = NM_CUSTOMDRAW;
    cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    cd.nmcd.hdc = dc;
    cd.nmcd.dwItemSpec = reinterpret_cast<DWORD_PTR>(item);
    cd.nmcd.uItemState = selected ? CDIS_SELECTED : 0;
    cd.clrText = RGB(1, 2, 3);
    *result = w->TreeCustomDrawItem(&cd);
    LOGFONTA lf{};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
    return std::make_pair(lf, cd.clrText);
  };
  LRESULT r = 0;
  auto [owner_font, owner_colour] = draw(owner, true, &r);
  EXPECT_EQ(r, CDRF_NEWFONT);
  EXPECT_STREQ(owner_font.lfFaceName, "Tahoma");
  EXPECT_GE(owner_font.lfWeight, FW_BOLD);
  EXPECT_EQ(std::abs(owner_font.lfHeight), 12);
  EXPECT_EQ(owner_colour, RGB(255, 255, 255));
  auto [linked_font, linked_colour] = draw(linked, false, &r);
  EXPECT_STREQ(linked_font.lfFaceName, "Tahoma");
  EXPECT_LT(linked_font.lfWeight, FW_BOLD);
  EXPECT_EQ(linked_colour, RGB(0, 0, 0));
  DeleteDC(dc);

  // The selection stays shown while the search box has the focus.
  EXPECT_TRUE(GetWindowLongA(tree, GWL_STYLE) & TVS_SHOWSELALWAYS);
  EXPECT_TRUE(GetWindowLongA(tree, GWL_STYLE) & TVS_NOTOOLTIPS);
  EXPECT_TRUE(w->TreeHooked());
}

// A close that arrives while the fill pumps (a posted WM_CLOSE, or Esc) waits
// until the fill has returned: the tree is whole when the window goes.
TEST_F(MainWindowTest, CloseDuringTheFillIsHonouredAfterIt) {
  MakeDatabase(150);
  for (UINT how : {WM_CLOSE, WM_KEYDOWN}) {
    int deleted = 0;
    auto w = std::make_unique<TFAdressExtremeLinks>(Context(db_), false);
    HWND h = w->Handle();
    auto release = w->Tree.OnDeletion;
    w->Tree.OnDeletion = [&](LPARAM p) {
      ++deleted;
      release(p);
    };
    // Queued behind WM_STARTUP: handled by the fill's first pump.
    if (how == WM_CLOSE) PostMessageA(h, WM_CLOSE, 0, 0);
    else PostMessageA(w->dfind.EditHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    PumpUntil([&] { return !IsWindow(h); }, 20000);
    EXPECT_FALSE(IsWindow(h)) << how;
    EXPECT_EQ(deleted, nodes_) << "the window went before the fill ended, message " << how;
    EXPECT_TRUE(user_.notes.empty());
    w.reset();
  }
}

// After a failed argument or release check only its message shows: no
// connection is made, and the window closes.
TEST_F(MainWindowTest, FailedChecksShowOneMessageAndClose) {
  MakeDatabase();
  struct Case {
    LaunchContext ctx;
    std::string note;
  };
  const std::vector<Case> cases = {
      {Context("", "", ""), StartFromMenuMessage(kMenuTitle)},
      {Context(db_, "1", "12339"), ReleaseTooLowMessage("Velto", MinHostRelease)},
      {Context(db_, "1", "abc"), ReleaseTooLowMessage("Velto", MinHostRelease)},
      {Context("install", "", ""), StartFromMenuMessage(kMenuTitle)},
  };
  for (const Case& c : cases) {
    user_.notes.clear();
    auto w = std::make_unique<TFAdressExtremeLinks>(c.ctx, false);
    HWND h = w->Handle();
    bool connected = false;
    PumpUntil([&] {
      connected = connected || w->IsConnected();
      return !IsWindow(h);
    }, 10000);
    EXPECT_FALSE(IsWindow(h)) << c.ctx.args.connect_path;
    EXPECT_FALSE(connected);
    EXPECT_EQ(w->LinkTable(), nullptr);
    ASSERT_EQ(user_.notes.size(), 1u) << c.ctx.args.release;
    EXPECT_EQ(user_.notes[0], c.note);
    EXPECT_FALSE(user_.wait_cursor_on);
  }
}

TEST_F(MainWindowTest, ConnectFailureClosesWithTheStartMessage) {
  // No tables in the directory: opening Adressen.adt fails.
  auto w = std::make_unique<TFAdressExtremeLinks>(Context(db_), false);
  HWND h = w->Handle();
  PumpUntil([&] { return !IsWindow(h); }, 10000);
  EXPECT_FALSE(IsWindow(h));
  ASSERT_EQ(user_.notes.size(), 1u);
  EXPECT_EQ(user_.notes[0], StartOnlyFromHostMessage("Velto"));
  EXPECT_FALSE(user_.wait_cursor_on);
}

// A registration run leaves the stored placement and options as they were.
TEST_F(MainWindowTest, RegistrationRunSavesNeitherPlacementNorOptions) {
  const std::string stored =
      "[MODE]\r\nTFAdressExtremeLinks.Width=444\r\nTFAdressExtremeLinks.Height=333\r\n"
      "TFAdressExtremeLinks.Left=12\r\nTFAdressExtremeLinks.Top=34\r\n"
      "TFAdressExtremeLinks.ftopbtn.Checked=0\r\nTFAdressExtremeLinks.Sound.On=0\r\n";
  WriteFile(dir_ + "UserMode.INI", stored);
  auto w = std::make_unique<TFAdressExtremeLinks>(Context("INSTALL", "", ""), false);
  HWND h = w->Handle();
  PumpUntil([&] { return !IsWindow(h); }, 10000);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(Ini(), stored);
  EXPECT_EQ(ReadFile(dir_ + "ZS.MNU"), dir_ + "AdressLinks.exe;" + kMenuTitle + "\r\n");
  EXPECT_TRUE(user_.notes.empty());
}


RECT ChildRect(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Design layout, and the window at the work area's top left corner with its
// design client size when nothing is stored.
TEST_F(MainWindowTest, OpensWithTheDesignLayout) {
  MakeDatabase();
  auto w = Open(Context(db_));
  HWND h = w->Handle();
  RECT wr, cr;
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(wr.left, work.left);
  EXPECT_EQ(wr.top, work.top);
  EXPECT_EQ(cr.right, 322);
  EXPECT_EQ(cr.bottom, 208);
  struct Expect {
    TWinControl& c;
    int l, t, w, hgt;
  };
  for (const Expect& e : {Expect{w->FlatButton4, 8, 12, 100, 37}, Expect{w->FlatButton3, 112, 12, 100, 37},
                          Expect{w->FlatButton2, 216, 12, 100, 37}, Expect{w->FlatButton1, 200, 6, 22, 22},
                          Expect{w->dfind, 5, 6, 148, 22}, Expect{w->PShow, 8, 64, 109, 33},
                          Expect{w->PG, 7, 8, 93, 17}, Expect{w->Panel3, 0, 0, 322, 57},
                          Expect{w->Panel1, 0, 176, 322, 32}, Expect{w->Panel2, 96, 0, 226, 32},
                          Expect{w->Tree, 0, 57, 322, 119}}) {
    const RECT r = ChildRect(e.c.Handle());
    EXPECT_EQ(r.left, e.l) << e.c.Name();
    EXPECT_EQ(r.top, e.t) << e.c.Name();
    EXPECT_EQ(r.right - r.left, e.w) << e.c.Name();
    EXPECT_EQ(r.bottom - r.top, e.hgt) << e.c.Name();
  }
  EXPECT_EQ(w->FlatButton4.Caption(), "&Details zeigen");
  EXPECT_EQ(w->FlatButton3.Caption(), "&Entfernen");
  EXPECT_EQ(w->FlatButton2.Caption(), "&Neu lesen");
  EXPECT_EQ(w->ftopbtn.Caption(), "Vordergrund");
  EXPECT_EQ(w->dfind.ButtonWidth(), 20);
  WCHAR cue[64] = {};
  SendMessageW(w->dfind.EditHandle(), EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64);
  EXPECT_STREQ(cue, L"Suchen u. Enter/F3");
  EXPECT_EQ(TreeView_GetIndent(w->Tree.Handle()), 19u);
  EXPECT_EQ(w->ImageList1.Count(), 2);
  EXPECT_FALSE(IsWindowVisible(w->PShow.Handle()));  // hidden once the first fill is done
  EXPECT_EQ(w->Wave1.WaveData().Size(), 682);
  EXPECT_EQ(w->Wave2xxxx.WaveData().Size(), 53864);
}

TEST_F(MainWindowTest, TabWalksTheTabOrderAndAltLettersRunTheCommands) {
  MakeDatabase();
  auto w = Open(Context(db_));
  HWND h = w->Handle();
  SetForegroundWindow(h);
  const std::vector<HWND> order = {w->FlatButton4.Handle(), w->FlatButton3.Handle(), w->FlatButton2.Handle(),
                                   w->Tree.Handle(),        w->ftopbtn.Handle(),     w->dfind.EditHandle(),
                                   w->FlatButton1.Handle()};
  // An owner entry is selected after the fill: "&Entfernen" is disabled and skipped.
  ASSERT_FALSE(IsWindowEnabled(w->FlatButton3.Handle()));
  SetFocus(order[0]);
  std::vector<HWND> seen;
  for (int i = 0; i < 6; ++i) {
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    PumpUntil([] { return false; }, 30);
    seen.push_back(GetFocus());
  }
  const std::vector<HWND> expected = {order[2], order[3], order[4], order[5], order[6], order[0]};
  EXPECT_EQ(seen, expected);

  // Alt+N reloads (the fill shows the progress panel again), Alt+D asks for
  // details (no host runs: the note), Alt+E does nothing on an owner entry.
  int clicks = 0;
  w->FlatButton4.OnClick = [&] { ++clicks; };
  PostMessageA(w->dfind.EditHandle(), WM_SYSKEYDOWN, 'D', 1 << 29);
  PumpUntil([&] { return clicks > 0; }, 2000);
  EXPECT_EQ(clicks, 1);
  int deleted = 0;
  auto release = w->Tree.OnDeletion;
  w->Tree.OnDeletion = [&](LPARAM p) {
    ++deleted;
    release(p);
  };
  PostMessageA(w->dfind.EditHandle(), WM_SYSKEYDOWN, 'N', 1 << 29);
  PumpUntil([&] { return deleted == nodes_ && w->Tree.Count() == nodes_; }, 5000);
  EXPECT_EQ(deleted, nodes_) << "Alt+N did not reload";
  PostMessageA(w->dfind.EditHandle(), WM_SYSKEYDOWN, 'E', 1 << 29);
  PumpUntil([] { return false; }, 50);
  EXPECT_EQ(w->Tree.Count(), nodes_);  // disabled: nothing removed
  EXPECT_EQ(w->Tree.Count(), nodes_);
}

TEST_F(MainWindowTest, TheHintShowsOnRestingPointerAndGoesAway) {
  MakeDatabase();
  auto w = Open(Context(db_));
  w->FlatHint1.ShowPause = 50;
  HWND edit = w->dfind.EditHandle();
  RECT r;
  GetWindowRect(edit, &r);
  SetCursorPos(r.left + 10, r.top + 5);
  PostMessageA(edit, WM_MOUSEMOVE, 0, MAKELPARAM(10, 5));
  ASSERT_TRUE(PumpUntil([&] { return w->FlatHint1.Showing(); }, 3000));
  HWND hint = w->FlatHint1.Window();
  RECT hr;
  GetWindowRect(hint, &hr);
  EXPECT_LE(hr.right - hr.left, 600);
  EXPECT_EQ(GetWindow(hint, GW_OWNER), nullptr);
  PostMessageA(edit, WM_MOUSELEAVE, 0, 0);
  PumpUntil([&] { return !IsWindow(hint); }, 2000);
  EXPECT_FALSE(IsWindow(hint));
  EXPECT_EQ(FindWindowA("TFlatHintWindow", nullptr), nullptr);
}

TEST_F(MainWindowTest, TheWaitCursorSticksWhileOn) {
  RegisterCursors();
  MakeDatabase();
  auto w = Open(Context(db_));
  HWND h = w->Handle();
  const LPARAM client = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  ShowWaitCursor(true);
  EXPECT_EQ(GetCursor(), ScreenCursor(kCursorWait));
  SetCursor(LoadCursor(nullptr, IDC_IBEAM));
  // The edit box asks its parents first; the form keeps the wait cursor.
  EXPECT_TRUE(SendMessageA(w->dfind.EditHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(w->dfind.EditHandle()), client));
  EXPECT_EQ(GetCursor(), ScreenCursor(kCursorWait));
  ShowWaitCursor(false);
  EXPECT_FALSE(SendMessageA(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), client));
  EXPECT_NE(GetCursor(), ScreenCursor(kCursorWait));
}

TEST(Branding, ProductNameFromZembaIniOrVelto) {
  const test::ScratchDirectory scratch("brand");
  const std::string dir = scratch.Prefix();
  ReadBranding(dir);
  EXPECT_EQ(ProductName, "Velto");
  WriteFile(dir + "ZEMBA.INI", "[OTHER]\r\nGLOBAL1=Zemba Office\r\n");
  ReadBranding(dir);
  EXPECT_EQ(ProductName, "Zemba Office");
  WriteFile(dir + "ZEMBA.INI", "[OTHER]\r\nGLOBAL1=\r\n");
  ReadBranding(dir);
  EXPECT_EQ(ProductName, "Velto");
}

}  // namespace
}  // namespace zs
