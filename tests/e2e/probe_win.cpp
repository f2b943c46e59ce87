// e2e_probe: looks at and drives the windows of another process, for the
// end-to-end scripts. Every command waits at most its timeout (ms) and
// answers through its exit code: 0 done, 1 timed out or not found, 2 usage.
//   e2e_probe wait CLASS TIMEOUT            a visible top-level window of CLASS exists
//   e2e_probe gone CLASS TIMEOUT            no window of CLASS exists (any more)
//   e2e_probe caption CLASS TEXT TIMEOUT    the window's caption is TEXT (Windows-1252 bytes)
//   e2e_probe print-caption CLASS           prints the caption
//   e2e_probe tree-count CLASS MIN TIMEOUT  its tree-view child holds at least MIN items; prints the count
//   e2e_probe topmost CLASS                 the window is topmost
//   e2e_probe answer CLASS TIMEOUT          presses Enter in the window (a message box: its default answer)
//   e2e_probe close CLASS                   posts WM_CLOSE
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND Find(const char* cls, bool visible_only) {
  HWND h = FindWindowA(cls, nullptr);
  while (h && visible_only && !IsWindowVisible(h)) h = FindWindowExA(nullptr, h, cls, nullptr);
  return h;
}

template <class F>
bool WaitFor(F done, DWORD timeout) {
  const DWORD end = GetTickCount() + timeout;
  for (;;) {
    if (done()) return true;
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
    Sleep(50);
  }
}

std::string Caption(HWND h) {
  char buf[1024] = {};
  // SendMessageTimeout: a window whose thread is busy must not hang the probe.
  DWORD_PTR n = 0;
  if (!SendMessageTimeoutA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &n))
    return {};
  return std::string(buf, n);
}

HWND TreeOf(HWND top) { return FindWindowExA(top, nullptr, WC_TREEVIEWA, nullptr); }

DWORD Timeout(const char* s) { return static_cast<DWORD>(std::strtoul(s, nullptr, 10)); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string cmd = argv[1];
  const char* cls = argv[2];
  if (cmd == "wait" && argc == 4) {
    return WaitFor([&] { return Find(cls, true) != nullptr; }, Timeout(argv[3])) ? 0 : 1;
  }
  if (cmd == "gone" && argc == 4) {
    return WaitFor([&] { return Find(cls, false) == nullptr; }, Timeout(argv[3])) ? 0 : 1;
  }
  if (cmd == "caption" && argc == 5) {
    const std::string want = argv[3];
    std::string last;
    const bool ok = WaitFor(
        [&] {
          HWND h = Find(cls, true);
          last = h ? Caption(h) : std::string();
          return h && last == want;
        },
        Timeout(argv[4]));
    if (!ok) std::printf("caption is \"%s\"\n", last.c_str());
    return ok ? 0 : 1;
  }
  if (cmd == "print-caption") {
    HWND h = Find(cls, true);
    if (!h) return 1;
    std::printf("%s\n", Caption(h).c_str());
    return 0;
  }
  if (cmd == "tree-count" && argc == 5) {
    const long min = std::strtol(argv[3], nullptr, 10);
    long count = -1;
    const bool ok = WaitFor(
        [&] {
          HWND h = Find(cls, true);
          HWND t = h ? TreeOf(h) : nullptr;
          DWORD_PTR n = 0;
          if (!t || !SendMessageTimeoutA(t, TVM_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &n)) return false;
          count = static_cast<long>(n);
          return count >= min;
        },
        Timeout(argv[4]));
    std::printf("%ld\n", count);
    return ok ? 0 : 1;
  }
  if (cmd == "topmost") {
    HWND h = Find(cls, true);
    return h && (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 0 : 1;
  }
  if (cmd == "answer" && argc == 4) {
    HWND h = nullptr;
    if (!WaitFor([&] { return (h = Find(cls, true)) != nullptr; }, Timeout(argv[3]))) return 1;
    // The key goes to the control with the focus in the window's thread.
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    HWND target = h;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &gti) && gti.hwndFocus &&
        (gti.hwndFocus == h || IsChild(h, gti.hwndFocus)))
      target = gti.hwndFocus;
    PostMessageA(target, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(target, WM_KEYUP, VK_RETURN, 0xC0000001);
    return 0;
  }
  if (cmd == "close") {
    HWND h = Find(cls, true);
    if (!h) return 1;
    PostMessageA(h, WM_CLOSE, 0, 0);
    return 0;
  }
  return 2;
}
