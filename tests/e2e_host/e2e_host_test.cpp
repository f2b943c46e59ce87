// The road of the show-address request across processes: the stand-in host
// (Velto.exe) and AdressLinks.exe, each from a private directory with its own
// settings, on a generated database.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "overview/show_address.h"
#include "tests/link_tree/link_db.h"
#include "tests/support/win_fixture.h"

namespace zs::test {
namespace {

struct Process {
  PROCESS_INFORMATION pi{};
  bool Start(std::string cmd) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    return CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  }
  bool Running() const { return pi.hProcess && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; }
  void Stop() {
    if (!pi.hProcess) return;
    if (Running()) TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    pi = {};
  }
  ~Process() { Stop(); }
};

// The first top-level window of `cls` that belongs to process `pid`.
struct WindowSearch {
  DWORD pid;
  const char* cls;
  HWND found;
};

// A named WINAPI function: a lambda converts only to a cdecl pointer, which
// the i686 build refuses for WNDENUMPROC.
BOOL CALLBACK MatchProcessWindow(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<WindowSearch*>(lp);
  DWORD p = 0;
  GetWindowThreadProcessId(h, &p);
  char name[64] = {};
  GetClassNameA(h, name, sizeof name);
  if (p == f->pid && lstrcmpiA(name, f->cls) == 0 && IsWindowVisible(h)) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

HWND WindowOf(DWORD pid, const char* cls) {
  WindowSearch f{pid, cls, nullptr};
  EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

struct ChildSearch {
  const char* cls;
  const char* text;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<ChildSearch*>(lp);
  char name[64] = {}, caption[64] = {};
  GetClassNameA(h, name, sizeof name);
  GetWindowTextA(h, caption, sizeof caption);
  if (lstrcmpiA(name, f->cls) == 0 && (!f->text || lstrcmpA(caption, f->text) == 0)) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

HWND ChildOfClass(HWND parent, const char* cls, const char* text = nullptr) {
  ChildSearch f{cls, text, nullptr};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

std::string Hex(HWND h) {
  char buf[32];
  snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)));
  return buf;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = scratch_.Prefix();
    db_ = dir_ + "db\\";
    ASSERT_TRUE(CreateDirectoryA(db_.c_str(), nullptr));
    TTestAddress linked{4711, "Linked", "", "", "", ""};
    TTestAddress owner{12, "Owner", "", "", "", ""};
    WriteLinkDatabase(db_, {linked, owner}, {{12, "4711"}, {4711, "12"}});
    ASSERT_TRUE(CopyFileA(ZS_ADRESSLINKS_EXE, (dir_ + "AdressLinks.exe").c_str(), FALSE)) << ZS_ADRESSLINKS_EXE;
    ASSERT_TRUE(CopyFileA(ZS_HOST_EXE, (dir_ + "Velto.exe").c_str(), FALSE)) << ZS_HOST_EXE;
    log_ = dir_ + "host.log";
  }
  void TearDown() override {
    app_.Stop();
    host_.Stop();
    Pump(50);
  }

  void StartHost(const std::string& extra = "") {
    ASSERT_TRUE(host_.Start("\"" + dir_ + "Velto.exe\" --log \"" + log_ + "\" --quit-after-ms 120000 " + extra));
    ASSERT_TRUE(PumpUntil([&] { return WindowOf(host_.pi.dwProcessId, kHostWindowClass) != nullptr; }, 20000));
  }
  // Starts the overview and waits for its filled tree.
  void StartApp() {
    // no trailing backslash: before the closing quote it would escape it
    const std::string db = db_.substr(0, db_.size() - 1);
    ASSERT_TRUE(app_.Start("\"" + dir_ + "AdressLinks.exe\" \"" + db + "\" 1 12340"));
    ASSERT_TRUE(PumpUntil([&] { return (main_ = WindowOf(app_.pi.dwProcessId, "TFAdressExtremeLinks")) != nullptr; },
                          20000));
    ASSERT_TRUE(PumpUntil([&] { return (tree_ = ChildOfClass(main_, WC_TREEVIEWA)) != nullptr; }));
    ASSERT_TRUE(PumpUntil([&] { return TreeView_GetCount(tree_) == 4; }, 20000));
    details_ = ChildOfClass(main_, "TFlatButton", "&Details zeigen");
    ASSERT_NE(details_, nullptr);
  }
  // Selects the node at `index` (display order) in the other process.
  void Select(int index) {
    HTREEITEM item = TreeView_GetRoot(tree_);
    for (int i = 0; i < index && item; ++i) {
      HTREEITEM next = TreeView_GetChild(tree_, item);
      if (!next) next = TreeView_GetNextSibling(tree_, item);
      if (!next && TreeView_GetParent(tree_, item)) next = TreeView_GetNextSibling(tree_, TreeView_GetParent(tree_, item));
      item = next;
    }
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(TreeView_SelectItem(tree_, item));
  }
  bool Responds(HWND w, UINT ms) {
    DWORD_PTR r = 0;
    return SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ms, &r) != 0;
  }
  int Requests() {
    const std::string log = ReadFile(log_);
    int n = 0;
    for (size_t p = log.find("request "); p != std::string::npos; p = log.find("request ", p + 1)) ++n;
    return n;
  }

  ScratchDirectory scratch_{"e2e"};  // first: removed after the processes ended
  std::string dir_, db_, log_;
  Process host_, app_;
  HWND main_ = nullptr, tree_ = nullptr, details_ = nullptr;
};

TEST_F(EndToEnd, DetailsReachTheHostWithTheIdTheGuidAndOurWindow) {
  ASSERT_NO_FATAL_FAILURE(StartHost());
  ASSERT_NO_FATAL_FAILURE(StartApp());
  // sorted: "Linked []" (4711) with "  Owner []", then "Owner []" (12) with "  Linked []"
  Select(3);
  PostMessageA(details_, BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return Requests() == 1; }, 10000)) << ReadFile(log_);
  Select(2);
  PostMessageA(details_, BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return Requests() == 2; }, 10000)) << ReadFile(log_);
  const std::string guid = "text=\"{439D41D6-2304-4EE9-B1C7-18119CBD63B7}\" ok";
  const std::string log = ReadFile(log_);
  EXPECT_NE(log.find("request dwData=4711 cbData=39 wParam=" + Hex(main_) + " " + guid), std::string::npos) << log;
  EXPECT_NE(log.find("request dwData=12 cbData=39 wParam=" + Hex(main_) + " " + guid), std::string::npos) << log;
}

TEST_F(EndToEnd, WithoutAHostTheNoteAppears) {
  ASSERT_EQ(FindWindowA(kHostWindowClass, nullptr), nullptr);
  ASSERT_NO_FATAL_FAILURE(StartApp());
  Select(1);
  PostMessageA(details_, BM_CLICK, 0, 0);
  HWND box = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (box = WindowOf(app_.pi.dwProcessId, "TFSB_BOX")) != nullptr; }, 10000));
  PostMessageA(box, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(box); }, 5000));
}

TEST_F(EndToEnd, AHungHostIsGivenUpAfterTheTimeoutAndTheOverviewStaysUsable) {
  ASSERT_NO_FATAL_FAILURE(StartHost("--hang --hang-ms 60000"));
  ASSERT_NO_FATAL_FAILURE(StartApp());
  Select(3);
  const DWORD t0 = GetTickCount();
  PostMessageA(details_, BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return Requests() == 1; }, 10000)) << ReadFile(log_);
  // The request is stuck in the host. A posted selection runs only once the
  // overview's loop runs again, that is once it has given the host up (the
  // host would hang for a minute).
  HTREEITEM first_child = TreeView_GetChild(tree_, TreeView_GetRoot(tree_));
  PostMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first_child));
  ASSERT_TRUE(PumpUntil([&] { return TreeView_GetSelection(tree_) == first_child; }, kShowAddressTimeoutMs + 8000));
  const DWORD waited = GetTickCount() - t0;
  printf("the overview was held %lu ms by the hung host\n", waited);
  EXPECT_LT(waited, kShowAddressTimeoutMs + 5000);
  EXPECT_TRUE(Responds(main_, 1000));
  EXPECT_TRUE(host_.Running());
}

}  // namespace
}  // namespace zs::test
