#include "kit/html_label.h"

#include <shellapi.h>

#include <map>
#include <tuple>

#include "kit/gdi.h"
#include "ui/user_seams.h"

namespace zs {

// One GDI font per style, made on first use and kept for the label's life.
class THtmlLabel::Fonts final : public html::TextMeasurer {
 public:
  explicit Fonts(HDC dc) : dc_(dc) {}
  void SetDC(HDC dc) { dc_ = dc; }

  HFONT Get(const html::FontStyle& f) {
    const Key key{f.face, f.height_px, f.bold, f.italic, f.underline, f.strike};
    auto it = fonts_.find(key);
    if (it == fonts_.end())
      it = fonts_.emplace(key, MakeFont(f.face, f.height_px, f.bold, f.italic, f.underline, f.strike)).first;
    return it->second.get();
  }

  int TextWidth(const html::FontStyle& f, std::string_view text) override {
    SelectGuard sel(dc_, Get(f));
    SIZE s{};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &s);
    return s.cx;
  }

  html::FontMetrics Metrics(const html::FontStyle& f) override {
    SelectGuard sel(dc_, Get(f));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    return {tm.tmHeight, tm.tmAscent};
  }

 private:
  using Key = std::tuple<std::string, int, bool, bool, bool, bool>;
  HDC dc_;
  std::map<Key, Font> fonts_;
};

THtmlLabel::THtmlLabel(TComponent* owner, std::string name, std::string class_name)
    : TWinControl(owner, std::move(name), std::move(class_name)) {
  SetColor(kClWhite);
}

THtmlLabel::~THtmlLabel() = default;

void THtmlLabel::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.style &= ~static_cast<DWORD>(WS_TABSTOP);
}

void THtmlLabel::SetText(const std::string& text) {
  lines_ = html::SplitLabelLines(text);
  layout_width_ = -1;
  if (auto_size_) UpdateLayout();
  Invalidate();
}

void THtmlLabel::SetAutoSize(bool on) {
  auto_size_ = on;
  if (on && HandleAllocated()) UpdateLayout();
}

int THtmlLabel::UpdateLayout() {
  WindowDC dc(Handle());
  if (!fonts_) fonts_ = std::make_unique<Fonts>(dc.get());
  fonts_->SetDC(dc.get());
  html::LayoutOptions o;
  o.width = std::max(1, ClientWidth() - 2 * kMarginX);
  LOGFONTA lf{};
  GetObjectA(EffectiveFont(), sizeof lf, &lf);
  o.font.face = lf.lfFaceName;
  o.font.height_px = lf.lfHeight < 0 ? -lf.lfHeight : (lf.lfHeight ? lf.lfHeight : 11);
  o.font.bold = lf.lfWeight >= FW_BOLD;
  o.color = kClWindowText;
  layout_ = html::LayoutMarkup(Text(), o, *fonts_);
  layout_width_ = ClientWidth();
  fonts_->SetDC(nullptr);
  if (auto_size_) {
    const int h = layout_.height + 2 * kMarginY;
    if (h != Height()) SetBounds(Left(), Top(), Width(), h);
  }
  Invalidate();
  return Height();
}

void THtmlLabel::Paint(HDC dc) {
  if (layout_width_ != ClientWidth()) UpdateLayout();
  RECT client;
  GetClientRect(Handle(), &client);
  {
    Brush bg(CreateSolidBrush(ColorToRGB(Color(), RGB(255, 255, 255))));
    FillRect(dc, &client, bg.get());
  }
  if (!fonts_) return;
  SetBkMode(dc, TRANSPARENT);
  for (const html::Line& line : layout_.lines) {
    const int top = kMarginY + line.top;
    if (line.background != html::kNoColor) {
      RECT r{0, top, client.right, top + line.height};
      Brush b(CreateSolidBrush(ColorToRGB(line.background)));
      FillRect(dc, &r, b.get());
    }
    for (const html::Piece& p : line.pieces) {
      const int x = kMarginX + p.x, y = kMarginY + p.y;
      RECT r{x, y, x + p.width, y + p.height};
      COLORREF fg = ColorToRGB(p.color);
      if (p.highlight) {
        FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        fg = GetSysColor(COLOR_HIGHLIGHTTEXT);
      } else if (p.background != html::kNoColor) {
        Brush b(CreateSolidBrush(ColorToRGB(p.background)));
        FillRect(dc, &r, b.get());
      }
      SelectGuard sel(dc, fonts_->Get(p.font));
      if (p.shadow) {
        SetTextColor(dc, RGB(128, 128, 128));
        TextOutA(dc, x + 1, y + 1, p.text.data(), static_cast<int>(p.text.size()));
      }
      SetTextColor(dc, fg);
      TextOutA(dc, x, y, p.text.data(), static_cast<int>(p.text.size()));
      if (p.error) {
        Pen red(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
        SelectGuard pen(dc, red.get());
        const int base = y + p.height - 1;
        MoveToEx(dc, x, base, nullptr);
        for (int i = x + 2; i <= x + p.width; i += 2) LineTo(dc, i, ((i - x) / 2) % 2 ? base - 2 : base);
      }
    }
    if (line.rule_below) {
      Pen black(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
      SelectGuard pen(dc, black.get());
      const int y = top + line.height - 1;
      MoveToEx(dc, kMarginX, y, nullptr);
      LineTo(dc, client.right - kMarginX, y);
    }
  }
}

int THtmlLabel::LinkAt(int x, int y) const {
  for (const html::Line& line : layout_.lines)
    for (const html::Piece& p : line.pieces) {
      const int px = kMarginX + p.x, py = kMarginY + p.y;
      if (p.link >= 0 && x >= px && x < px + p.width && y >= py && y < py + p.height) return p.link;
    }
  return -1;
}

bool THtmlLabel::OpenLink(const std::string& target) {
  if (target.find("://") == std::string::npos && target.find("mailto:") == std::string::npos) return false;
  std::string t = target;
  for (size_t at; (at = t.find("file://")) != std::string::npos;) t.erase(at, 7);
  const auto r = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", t.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (r > 32) return true;
  ExclamationBeep();
  return false;
}

LRESULT THtmlLabel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PaintDC dc(Handle());
      Paint(dc.get());
      return 0;
    }
    case WM_PRINTCLIENT:  // PrintWindow and friends
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // Paint fills the background
    case WM_SIZE:
      if (layout_width_ != LOWORD(lp)) {
        layout_width_ = -1;
        Invalidate();
      }
      break;
    case WM_SETCURSOR: {
      POINT pt;
      GetCursorPos(&pt);
      ScreenToClient(Handle(), &pt);
      if (LinkAt(pt.x, pt.y) >= 0) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONUP: {
      const int link = LinkAt(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      if (link >= 0) OpenLink(layout_.links[static_cast<size_t>(link)]);
      return 0;
    }
    default:
      break;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

}  // namespace zs
