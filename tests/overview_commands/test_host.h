// A stand-in for the host's main window ("T_VELTO_Mainform") in the test
// process, on the calling thread: it records the last WM_COPYDATA and can
// be told to stop answering.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "overview/show_address.h"

namespace zs::test {

struct HostRecord {
  static inline std::atomic<int> calls{0};
  static inline std::atomic<bool> hang{false};
  static inline DWORD data{};
  static inline DWORD cb{};
  static inline std::string bytes{};
  static inline WPARAM from{};
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
      const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
      data = static_cast<DWORD>(cds->dwData);
      cb = cds->cbData;
      bytes.assign(static_cast<const char*>(cds->lpData), cds->cbData);
      from = wp;
      ++calls;
      while (hang) Sleep(20);  // a host that stops answering
      return 1;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
};

// Not visible: no drop target of its own, nothing under the pointer.
inline HWND MakeHost() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = HostRecord::Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kHostWindowClass;
  RegisterClassA(&wc);
  return CreateWindowExA(0, kHostWindowClass, "Velto", WS_OVERLAPPED, 900, 700, 50, 50, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

}  // namespace zs::test
