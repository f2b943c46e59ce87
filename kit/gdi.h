// Owners for GDI handles. Each wrapper is move-only and releases its handle
// exactly once; a default-constructed wrapper holds nothing. Non-owning code
// takes the raw handle from get().
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

namespace zs {

// A GDI object (HFONT, HBRUSH, HBITMAP, HPEN, HRGN) deleted with DeleteObject.
template <class H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  ~GdiObject() { reset(); }
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  H release() { return std::exchange(h_, nullptr); }

 private:
  H h_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;
using Pen = GdiObject<HPEN>;

// A DC from GetDC(hwnd), released against that same window (null: the screen).
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A DC from CreateCompatibleDC, deleted with DeleteDC.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatible_with) : dc_(CreateCompatibleDC(compatible_with)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintDC() { EndPaint(hwnd_, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return dc_; }
  const RECT& dirty() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  HDC dc_;
  PAINTSTRUCT ps_{};
};

// Selects an object into a DC for its lifetime and restores the previous one.
// The selected object must outlive this guard.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~SelectGuard() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Saves the DC state (SaveDC) and restores it (RestoreDC).
class SavedDC {
 public:
  explicit SavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  ~SavedDC() {
    if (id_) RestoreDC(dc_, id_);
  }
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;

 private:
  HDC dc_;
  int id_;
};

// The system's colour values: 0x00BBGGRR, a system colour as 0x80000000 plus
// the GetSysColor index, and kColorNone for no colour.
constexpr int32_t kColorNone = 0x1FFFFFFF;
constexpr int32_t SystemColor(int index) { return static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(index)); }
constexpr int32_t kClWhite = 0xFFFFFF;
constexpr int32_t kClBlack = 0x000000;
const int32_t kClBtnFace = SystemColor(COLOR_BTNFACE);
const int32_t kClWindowText = SystemColor(COLOR_WINDOWTEXT);
// The RGB of a colour value; kColorNone and unknown system indexes give `fallback`.
COLORREF ColorToRGB(int32_t color, COLORREF fallback = RGB(0, 0, 0));

// A font of `height_px` pixels (character height, not cell height), ANSI
// character set, unscaled.
Font MakeFont(const std::string& face, int height_px, bool bold = false, bool italic = false,
              bool underline = false, bool strike = false);
// Tahoma, 11 pixels: the font of the system's windows. Shared; never delete it.
HFONT KitFont();

}  // namespace zs
