// Velto.exe, the stand-in host. Command line:
//   --log <file>      append one line per request (and start/stop) to <file>
//   --db <dir>        database directory handed to add-ons started from "zusätzlich"
//   --release <n>     host release handed to add-ons (default 12400)
//   --hang            stop answering: after logging a request, the GUI thread sleeps
//   --hang-ms <ms>    how long a hang lasts (default 600000)
//   --quit-after-ms <ms>  close by itself after that time (a guard for scripts)
// The menu "Test" > "Nicht mehr antworten" hangs the same way on demand.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/launch.h"
#include "tools/host/host_request.h"

namespace {

constexpr char kClassName[] = "T_VELTO_Mainform";
constexpr UINT kExtrasFirstId = 1000;
constexpr UINT kHangId = 900;
constexpr UINT kQuitId = 901;
constexpr UINT_PTR kQuitTimer = 1;

struct Options {
  std::string log;
  std::string db;
  int release = 12400;
  bool hang = false;
  DWORD hang_ms = 600000;
  DWORD quit_after_ms = 0;
};

Options g_opt;
HWND g_label = nullptr;
HMENU g_extras = nullptr;
std::vector<std::string> g_addons;  // executable paths of the extras items

std::string ExeDir() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of("\\/") + 1);
}

void Log(const std::string& line) {
  if (g_opt.log.empty()) return;
  // Open per line, so a reader sees each request as soon as it is handled.
  if (FILE* f = std::fopen(g_opt.log.c_str(), "ab")) {
    std::fprintf(f, "%s\r\n", line.c_str());
    std::fclose(f);
  }
}

DWORD ToMs(const char* text, DWORD fallback) {
  const int32_t v = zs::ParseRelease(text ? text : "");
  return v > 0 ? static_cast<DWORD>(v) : fallback;
}

void ParseOptions() {
  for (int i = 1; i < __argc; ++i) {
    const std::string a = __argv[i];
    const char* next = i + 1 < __argc ? __argv[i + 1] : nullptr;
    if (a == "--log" && next) g_opt.log = __argv[++i];
    else if (a == "--db" && next) g_opt.db = __argv[++i];
    else if (a == "--release" && next) g_opt.release = zs::ParseRelease(__argv[++i]);
    else if (a == "--hang") g_opt.hang = true;
    else if (a == "--hang-ms" && next) g_opt.hang_ms = ToMs(__argv[++i], g_opt.hang_ms);
    else if (a == "--quit-after-ms" && next) g_opt.quit_after_ms = ToMs(__argv[++i], 0);
  }
}

void Hang() {
  Log("hang " + std::to_string(g_opt.hang_ms));
  Sleep(g_opt.hang_ms);
}

// Rebuilt every time the menu opens, so an add-on registered meanwhile shows.
void FillExtras() {
  while (GetMenuItemCount(g_extras) > 0) DeleteMenu(g_extras, 0, MF_BYPOSITION);
  g_addons.clear();
  std::string bytes;
  FILE* f = std::fopen((ExeDir() + zs::kMenuFileName).c_str(), "rb");
  if (f) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    std::fclose(f);
  }
  for (const std::string& line : zs::SplitMenuLines(bytes)) {
    const auto parts = zs::SplitAtFirst(line, ';');
    if (!parts || parts->right.empty()) continue;
    AppendMenuA(g_extras, MF_STRING, kExtrasFirstId + g_addons.size(), parts->right.c_str());
    g_addons.push_back(parts->left);
  }
  if (g_addons.empty()) AppendMenuA(g_extras, MF_STRING | MF_GRAYED, 0, "(keine Zusatzprogramme)");
}

void StartAddon(size_t index) {
  if (index >= g_addons.size()) return;
  const std::string& exe = g_addons[index];
  // As the suite does: database directory, "1" (local server), the release.
  std::string cmd = "\"" + exe + "\" \"" + g_opt.db + "\" 1 " + std::to_string(g_opt.release);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const std::string dir = exe.substr(0, exe.find_last_of("\\/") + 1);
  const BOOL ok = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 dir.empty() ? nullptr : dir.c_str(), &si, &pi);
  Log(std::string(ok ? "started " : "start failed ") + zs::host::Escaped(cmd));
  if (ok) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

LRESULT OnCopyData(HWND hwnd, WPARAM wparam, const COPYDATASTRUCT* cds) {
  char head[160];
  if (!cds) {
    Log("rejected: no COPYDATASTRUCT");
    return FALSE;
  }
  // Copy the three fields out first; the sender's block is ours only during the call.
  const ULONG_PTR dw = cds->dwData;
  const DWORD cb = cds->cbData;
  const zs::host::Request r = zs::host::ParseRequest(cds->lpData, cb);
  std::snprintf(head, sizeof head, "request dwData=%llu cbData=%lu wParam=0x%llX",
                static_cast<unsigned long long>(dw), static_cast<unsigned long>(cb),
                static_cast<unsigned long long>(wparam));
  std::string line = head;
  if (r.valid) line += " text=\"" + zs::host::Escaped(r.text) + "\"";
  line += r.show_address ? " ok" : " rejected: " + r.reason;
  Log(line);
  if (r.show_address) {
    char shown[200];
    std::snprintf(shown, sizeof shown, "Adresse %llu anzeigen (Anfrage von Fenster 0x%llX)",
                  static_cast<unsigned long long>(dw), static_cast<unsigned long long>(wparam));
    SetWindowTextA(g_label, shown);
    SetWindowTextA(hwnd, (std::string("Velto - Adresse ") + std::to_string(dw)).c_str());
  }
  if (g_opt.hang) Hang();
  return r.show_address ? TRUE : FALSE;
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_CREATE:
      g_label = CreateWindowExA(0, "STATIC", "Keine Adresse angefordert", WS_CHILD | WS_VISIBLE, 12, 12, 460, 20,
                                hwnd, nullptr, nullptr, nullptr);
      if (g_opt.quit_after_ms) SetTimer(hwnd, kQuitTimer, g_opt.quit_after_ms, nullptr);
      return 0;
    case WM_COPYDATA:
      return OnCopyData(hwnd, wparam, reinterpret_cast<const COPYDATASTRUCT*>(lparam));
    case WM_INITMENUPOPUP:
      if (reinterpret_cast<HMENU>(wparam) == g_extras) FillExtras();
      return 0;
    case WM_COMMAND: {
      const UINT id = LOWORD(wparam);
      if (id == kHangId) Hang();
      else if (id == kQuitId) PostMessageA(hwnd, WM_CLOSE, 0, 0);
      else if (id >= kExtrasFirstId) {
        // A posted command may arrive without the menu having opened.
        if (g_addons.empty()) FillExtras();
        StartAddon(id - kExtrasFirstId);
      }
      return 0;
    }
    case WM_TIMER:
      if (wparam == kQuitTimer) PostMessageA(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      Log("closed");
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  ParseOptions();
  WNDCLASSA wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassA(&wc)) return 1;

  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, kQuitId, "&Beenden");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&Datei");
  g_extras = CreatePopupMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(g_extras), "zusätzlich");
  HMENU test = CreatePopupMenu();
  AppendMenuA(test, MF_STRING, kHangId, "Nicht mehr antworten");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(test), "&Test");
  FillExtras();

  HWND hwnd = CreateWindowExA(0, kClassName, "Velto", WS_OVERLAPPEDWINDOW, 40, 40, 520, 160, nullptr, bar,
                              instance, nullptr);
  if (!hwnd) return 1;
  Log("started");
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return 0;
}
