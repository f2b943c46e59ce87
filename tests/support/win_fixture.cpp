#include "tests/support/win_fixture.h"


namespace zs::test {

void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  MSG m;
  do {
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (static_cast<LONG>(end - GetTickCount()) <= 0) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  const DWORD end = GetTickCount() + timeout_ms;
  MSG m;
  while (!done()) {
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return done();
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

std::string ExeDir() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of("\\/") + 1);
}

bool IsWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

HWND WindowTest::CreateTopWindow(const char* title, int x, int y, int w, int h, DWORD style, DWORD ex_style,
                                 WNDPROC proc) {
  const char* cls = proc ? "ZsTestWindowCustom" : "ZsTestWindow";
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc ? proc : DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = cls;
  if (proc) UnregisterClassA(cls, wc.hInstance);  // a different procedure per test
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(ex_style, cls, title, style, x, y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
  if (hwnd) windows_.push_back(hwnd);
  return hwnd;
}

void WindowTest::TearDown() {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
    if (IsWindow(*it)) DestroyWindow(*it);
  windows_.clear();
  Pump(20);
}

}  // namespace zs::test
