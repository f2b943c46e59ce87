// The stand-in host as a separate process: requests sent to it across
// processes are logged, a hung host is given up by a timed send, and its
// extras menu starts a registered add-on as the suite does.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/win_fixture.h"
#include "tools/host/host_request.h"

namespace zs {
namespace {

std::string WinPath(const char* built) {
  std::string p = built;
  if (!p.empty() && p[0] == '/') p = "Z:" + p;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

struct FindData {
  DWORD pid;
  HWND found;
};
BOOL CALLBACK FindHostOf(HWND hwnd, LPARAM lp) {
  auto* d = reinterpret_cast<FindData*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == d->pid && std::string(cls) == "T_VELTO_Mainform") {
    d->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

class HostProcess {
 public:
  bool Start(const std::string& exe, const std::string& args) {
    std::string cmd = "\"" + exe + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_)) return false;
    // Its window, not one of an earlier run that may still be closing.
    return test::PumpUntil(
        [&] {
          FindData d{pi_.dwProcessId, nullptr};
          EnumWindows(FindHostOf, reinterpret_cast<LPARAM>(&d));
          hwnd_ = d.found;
          return hwnd_ != nullptr;
        },
        10000);
  }
  ~HostProcess() {
    if (!pi_.hProcess) return;
    if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 9);
    WaitForSingleObject(pi_.hProcess, 5000);
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
  HWND hwnd() const { return hwnd_; }
  // The exit code after a clean end, or -1 when it did not end in time.
  long WaitExit(DWORD ms) {
    if (WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<long>(code);
  }

 private:
  PROCESS_INFORMATION pi_{};
  HWND hwnd_ = nullptr;
};

LRESULT SendCopyData(HWND to, HWND from, ULONG_PTR id, const void* data, DWORD cb, DWORD timeout_ms,
                     bool* answered) {
  COPYDATASTRUCT cds{id, cb, const_cast<void*>(data)};
  DWORD_PTR result = 0;
  const LRESULT ok = SendMessageTimeoutA(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                                         reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, timeout_ms, &result);
  if (answered) *answered = ok != 0;
  return static_cast<LRESULT>(result);
}

std::string Hex(HWND h) {
  char buf[32];
  snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)));
  return buf;
}

class Host : public test::WindowTest {};

TEST_F(Host, LogsEachRequestItIsSentAndClosesCleanly) {
  const test::ScratchDirectory scratch("host");  // outlives the host process below
  const std::string dir = scratch.Prefix();
  const std::string log = dir + "host.log";
  HostProcess host;
  ASSERT_TRUE(host.Start(WinPath(ZS_HOST_EXE), "--log \"" + log + "\" --quit-after-ms 60000"));
  HWND me = CreateTopWindow("sender", 10, 10, 100, 60);
  bool answered = false;
  EXPECT_EQ(SendCopyData(host.hwnd(), me, 4711, host::kShowAddressGuid, 39, 5000, &answered), TRUE);
  EXPECT_TRUE(answered);
  // The zero byte left outside cbData: refused, not read past the block.
  EXPECT_EQ(SendCopyData(host.hwnd(), me, 5, host::kShowAddressGuid, 38, 5000, &answered), FALSE);
  EXPECT_EQ(SendCopyData(host.hwnd(), me, 6, nullptr, 0, 5000, &answered), FALSE);
  char title[100] = {};
  GetWindowTextA(host.hwnd(), title, sizeof title);
  EXPECT_STREQ(title, "Velto - Adresse 4711");
  PostMessageA(host.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(host.WaitExit(10000), 0);
  EXPECT_EQ(ReadAll(log), "started\r\n"
                          "request dwData=4711 cbData=39 wParam=" + Hex(me) +
                              " text=\"{439D41D6-2304-4EE9-B1C7-18119CBD63B7}\" ok\r\n"
                              "request dwData=5 cbData=38 wParam=" + Hex(me) +
                              " rejected: text not terminated within cbData\r\n"
                              "request dwData=6 cbData=0 wParam=" + Hex(me) + " rejected: empty payload\r\n"
                              "closed\r\n");
}

TEST_F(Host, AHungHostIsGivenUpByATimedSend) {
  const test::ScratchDirectory scratch("hung");  // outlives the host process below
  const std::string dir = scratch.Prefix();
  const std::string log = dir + "host.log";
  HostProcess host;
  ASSERT_TRUE(host.Start(WinPath(ZS_HOST_EXE), "--log \"" + log + "\" --hang --hang-ms 60000"));
  bool answered = true;
  const DWORD t0 = GetTickCount();
  SendCopyData(host.hwnd(), nullptr, 1, host::kShowAddressGuid, 39, 1500, &answered);
  const DWORD took = GetTickCount() - t0;
  EXPECT_FALSE(answered);
  EXPECT_LT(took, 10000u);
  // It did receive the request before it stopped answering.
  EXPECT_NE(ReadAll(log).find("request dwData=1 cbData=39"), std::string::npos);
  EXPECT_NE(ReadAll(log).find("hang 60000"), std::string::npos);
}

TEST_F(Host, ExtrasMenuStartsARegisteredAddOnWithTheDatabaseOneAndTheRelease) {
  const test::ScratchDirectory scratch("extras");  // outlives the host process below
  const std::string dir = scratch.Prefix();
  ASSERT_TRUE(CopyFileA(WinPath(ZS_HOST_EXE).c_str(), (dir + "Velto.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(WinPath(ZS_ADDON_PROBE_EXE).c_str(), (dir + "probe.exe").c_str(), FALSE));
  {
    std::ofstream mnu(dir + "ZS.MNU", std::ios::binary);
    mnu << "C:\\fehlt\\Kasse.exe;Kassenbuch\r\n"
        << "kein Eintrag\r\n"
        << dir << "probe.exe;\xDC" "bersicht verbundene Adressen.\r\n";
  }
  HostProcess host;
  ASSERT_TRUE(host.Start(dir + "Velto.exe", "--db \"C:\\Daten mit Blank\" --release 12400 --quit-after-ms 60000"));
  // The second item with a title; a line without ";" makes none.
  PostMessageA(host.hwnd(), WM_COMMAND, 1001, 0);
  const std::string out = dir + "probe_args.txt";
  ASSERT_TRUE(test::PumpUntil([&] { return GetFileAttributesA(out.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));
  EXPECT_EQ(ReadAll(out), "C:\\Daten mit Blank\n1\n12400\n");
  PostMessageA(host.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(host.WaitExit(10000), 0);
}

}  // namespace
}  // namespace zs
