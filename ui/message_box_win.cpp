#include "ui/message_box_win.h"

#include <algorithm>

#include "kit/gdi.h"
#include "ui/app_title.h"
#include "ui/message_box.h"
#include "ui/skin.h"

namespace zs {
namespace {

// Posted by FormDeactivate: take the front again once the activation change is over.
constexpr UINT kPullToFront = WM_APP + 0x51;

constexpr int kGlyphSize = 16;

}  // namespace

// ---- Pictures ----------------------------------------------------------------

void PaintSpeechBubble(HDC dc, const RECT& r) {
  SavedDC saved(dc);
  const int x = r.left, y = r.top;
  Brush fill(CreateSolidBrush(RGB(200, 225, 250)));
  Pen line(CreatePen(PS_SOLID, 1, RGB(70, 120, 190)));
  SelectGuard sb(dc, fill.get());
  SelectGuard sp(dc, line.get());
  const POINT tail[] = {{x + 6, y + 14}, {x + 3, y + 22}, {x + 13, y + 16}};
  Polygon(dc, tail, 3);
  Ellipse(dc, x + 1, y + 1, x + 23, y + 18);
  // Cover the tail's seam inside the bubble.
  Pen seam(CreatePen(PS_SOLID, 1, RGB(200, 225, 250)));
  SelectGuard ss(dc, seam.get());
  MoveToEx(dc, x + 7, y + 15, nullptr);
  LineTo(dc, x + 12, y + 15);
  Brush dots(CreateSolidBrush(RGB(70, 120, 190)));
  for (int i = 0; i < 3; ++i) {
    RECT d{x + 7 + i * 4, y + 8, x + 9 + i * 4, y + 10};
    FillRect(dc, &d, dots.get());
  }
}

void PaintGoArrow(HDC dc, const RECT& r, bool enabled) {
  SavedDC saved(dc);
  const int x = r.left, y = r.top;
  const COLORREF green = enabled ? RGB(40, 160, 60) : RGB(160, 160, 160);
  Brush fill(CreateSolidBrush(green));
  Pen edge(CreatePen(PS_SOLID, 1, enabled ? RGB(20, 110, 40) : RGB(128, 128, 128)));
  SelectGuard sb(dc, fill.get());
  SelectGuard sp(dc, edge.get());
  Ellipse(dc, x, y, x + 16, y + 16);
  Brush white(CreateSolidBrush(RGB(255, 255, 255)));
  Pen white_pen(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
  SelectGuard wb(dc, white.get());
  SelectGuard wp(dc, white_pen.get());
  const POINT arrow[] = {{x + 4, y + 6}, {x + 8, y + 6}, {x + 8, y + 3}, {x + 12, y + 8},
                         {x + 8, y + 12}, {x + 8, y + 10}, {x + 4, y + 10}};
  Polygon(dc, arrow, 7);
}

void PaintRedCross(HDC dc, const RECT& r, bool enabled) {
  SavedDC saved(dc);
  const int x = r.left, y = r.top;
  Pen red(CreatePen(PS_SOLID, 3, enabled ? RGB(210, 30, 30) : RGB(160, 160, 160)));
  SelectGuard sp(dc, red.get());
  MoveToEx(dc, x + 3, y + 3, nullptr);
  LineTo(dc, x + 12, y + 12);
  MoveToEx(dc, x + 12, y + 3, nullptr);
  LineTo(dc, x + 3, y + 12);
}

// ---- The box -----------------------------------------------------------------

TFSB_BOX::TFSB_BOX()
    : TForm(nullptr, "FSB_BOX", "TFSB_BOX"),
      Pmsg(this, "Pmsg"),
      Image1(this, "Image1"),
      Panel2(this, "Panel2"),
      FB_BREAK2(this, "FB_BREAK2"),
      Pquestion(this, "Pquestion"),
      Image2(this, "Image2"),
      Panel1(this, "Panel1"),
      FB_OK(this, "FB_OK"),
      FB_BREAK1(this, "FB_BREAK1"),
      MsgLabel(this, "MsgLabel") {
  SetBorderWidth(kBoxBorder);
  SetBounds(0, 0, kBoxClientWidth, kBoxExtraHeight + 20);

  for (TPanel* strip : {&Pmsg, &Pquestion}) {
    strip->SetParent(this);
    strip->SetBounds(0, 0, kBoxClientWidth - 2 * kBoxBorder, kBoxStripHeight);
    strip->SetAlign(TAlign::alBottom);
    strip->SetBevelOuter(TPanel::bvNone);
    strip->SetVisible(false);
  }
  for (TImage* image : {&Image1, &Image2}) {
    image->SetParent(image == &Image1 ? &Pmsg : &Pquestion);
    image->SetBounds(5, 5, 24, 24);
    image->SetPainter(PaintSpeechBubble);
  }
  Panel2.SetParent(&Pmsg);
  Panel2.SetBounds(0, 0, 89, kBoxStripHeight);
  Panel2.SetAlign(TAlign::alRight);
  Panel2.SetBevelOuter(TPanel::bvNone);
  Panel1.SetParent(&Pquestion);
  Panel1.SetBounds(0, 0, 173, kBoxStripHeight);
  Panel1.SetAlign(TAlign::alRight);
  Panel1.SetBevelOuter(TPanel::bvNone);

  FB_BREAK2.SetParent(&Panel2);
  FB_BREAK2.SetBounds(7, 4, 77, 25);
  FB_BREAK2.SetCaption("schließen");
  FB_BREAK2.SetGlyph(PaintGoArrow, kGlyphSize, kGlyphSize);
  FB_BREAK2.OnClick = [this] { FB_BREAK1Click(); };
  FB_BREAK2.OnEnterKey = [this] { FB_BREAK2SelectNext(); };

  FB_OK.SetParent(&Panel1);
  FB_OK.SetBounds(8, 4, 77, 25);
  FB_OK.SetCaption("Ja");
  FB_OK.SetGlyph(PaintGoArrow, kGlyphSize, kGlyphSize);
  FB_OK.OnClick = [this] { FB_OKClick(); };
  FB_OK.OnEnterKey = [this] { FB_OKSelectNext(); };

  FB_BREAK1.SetParent(&Panel1);
  FB_BREAK1.SetBounds(91, 4, 77, 25);
  FB_BREAK1.SetCaption("Nein");
  FB_BREAK1.SetGlyph(PaintRedCross, kGlyphSize, kGlyphSize);
  FB_BREAK1.SetTag(kNoTag);
  FB_BREAK1.OnClick = [this] { FB_BREAK1Click(); };
  FB_BREAK1.OnEnterKey = [this] { FB_BREAK1SelectNext(); };
}

TFSB_BOX::~TFSB_BOX() = default;

void TFSB_BOX::CreateParams(TCreateParams& p) {
  TForm::CreateParams(p);
  // Tool window, caption without buttons or system menu, fixed size.
  p.style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
  p.ex_style |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  HWND active = GetActiveWindow();
  p.parent = active;
}

void TFSB_BOX::HandleCreated() {
  SetClientSize(kBoxClientWidth, ClientHeight());
  CreateComponents();
  FormCreate();
}

void TFSB_BOX::CreateComponents() {
  // Creation order is tab order: "Nein" (0) before "Ja" (1).
  for (TWinControl* c : std::initializer_list<TWinControl*>{&Pmsg, &Image1, &Panel2, &FB_BREAK2, &Pquestion,
                                                           &Image2, &Panel1, &FB_BREAK1, &FB_OK})
    c->CreateHandle();
}

void TFSB_BOX::FormCreate() {
  ApplySkin(*this);
  MsgLabel.SetParent(this);
  MsgLabel.SetBounds(0, 0, kBoxClientWidth - 2 * kBoxBorder, 20);
  MsgLabel.SetAlign(TAlign::alTop);
  MsgLabel.SetColor(kClWhite);
  MsgLabel.CreateHandle();
  MsgLabel.SetAutoSize(true);
  Pmsg.SetColor(kClBtnFace);
  Pquestion.SetColor(kClBtnFace);
  max_height_ = MaxBoxWindowHeight(GetSystemMetrics(SM_CYSCREEN));
}

bool TFSB_BOX::Execute(Kind kind, const std::string& text) {
  kind_ = kind;
  CreateHandle();
  SetColor(kClWhite);
  MsgLabel.SetText(ConvertBreakCodes(text));
  (IsNote() ? Pmsg : Pquestion).SetVisible(true);
  SetCaption(ApplicationTitle());
  ShowModal();
  return ModalResult() == mrYes;
}

void TFSB_BOX::FormShow() {
  SetColor(kClWhite);
  const int label_height = MsgLabel.UpdateLayout();
  TPanel& strip = IsNote() ? Pmsg : Pquestion;
  strip.SetBounds(strip.Left(), label_height + 2, strip.Width(), strip.Height());
  const int frame = Height() - ClientHeight();
  const int client_height = std::min(label_height + kBoxExtraHeight, max_height_ - frame);
  SetClientSize(kBoxClientWidth, client_height);
  // Centred at the final size.
  SetBounds((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2, (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2, Width(),
            Height());
}

void TFSB_BOX::Shown() {
  ForceForeground();
  (IsNote() ? FB_BREAK2 : FB_OK).SetFocus();
}

void TFSB_BOX::ForceForeground() {
  HWND foreground = GetForegroundWindow();
  const DWORD their_thread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  const DWORD our_thread = GetCurrentThreadId();
  const bool attach = their_thread && their_thread != our_thread;
  if (attach) AttachThreadInput(their_thread, our_thread, TRUE);
  SetForegroundWindow(Handle());
  if (attach) AttachThreadInput(their_thread, our_thread, FALSE);
}

void TFSB_BOX::FB_OKClick() { SetModalResult(mrYes); }
void TFSB_BOX::FB_BREAK1Click() { SetModalResult(mrNo); }
void TFSB_BOX::FB_OKSelectNext() { SetModalResult(mrYes); }
void TFSB_BOX::FB_BREAK1SelectNext() { SetModalResult(mrNo); }
void TFSB_BOX::FB_BREAK2SelectNext() { SetModalResult(mrNo); }

void TFSB_BOX::FormKeyDown(WORD& key, bool shift, bool ctrl, bool alt) {
  if (IsNote()) {
    if (key == VK_RETURN || key == VK_ESCAPE || (!shift && !ctrl && !alt)) {
      SetModalResult(mrNo);
      key = 0;
    }
    return;
  }
  if (key == VK_ESCAPE) {
    SetModalResult(mrNo);
    key = 0;
  } else if (key == VK_RETURN) {
    TWinControl* active = ActiveControl();
    SetModalResult(active && active->Tag() == kNoTag ? mrNo : mrYes);
    key = 0;
  }
}

void TFSB_BOX::FormKeyPress(char& key) {
  if (key == '\x1B') key = 0;
}

void TFSB_BOX::MoveFocus(bool forward) {
  if (HWND next = GetNextDlgTabItem(Handle(), GetFocus(), !forward)) ::SetFocus(next);
}

bool TFSB_BOX::PreviewKey(MSG& m) {
  if (m.message == WM_CHAR) {
    char c = static_cast<char>(m.wParam);
    FormKeyPress(c);
    return c == 0;
  }
  if (m.message != WM_KEYDOWN && m.message != WM_SYSKEYDOWN) return false;
  WORD key = static_cast<WORD>(m.wParam);
  const bool shift = KeyDown(VK_SHIFT), ctrl = KeyDown(VK_CONTROL);
  const bool alt = m.message == WM_SYSKEYDOWN ? (m.lParam & (1 << 29)) != 0 : KeyDown(VK_MENU);
  if (key == VK_F1) return true;  // no help
  // Enter without Alt on a button is the button's own business.
  if (key == VK_RETURN && !alt && dynamic_cast<TFlatButton*>(ActiveControl())) return false;
  if (!ctrl && !alt) {
    if (key == VK_TAB || key == VK_DOWN || key == VK_UP) {
      MoveFocus(key == VK_TAB ? !shift : key == VK_DOWN);
      return true;
    }
    if (!IsNote()) {
      if (key == VK_LEFT || key == VK_RIGHT) {
        (ActiveControl() == &FB_OK ? FB_BREAK1 : FB_OK).SetFocus();
        return true;
      }
      if (key == VK_BACK) {
        MoveFocus(false);
        return true;
      }
      if (key == VK_SPACE) return false;  // the button presses and answers on release
    }
  }
  FormKeyDown(key, shift, ctrl, alt);
  return key == 0;
}

void TFSB_BOX::Activated(bool active, HWND other) {
  if (!active) FormDeactivate(other);
}

void TFSB_BOX::FormDeactivate(HWND activated) {
  if (!IsWindowVisible(Handle()) || ModalResult() != 0) return;
  // A box of ours shown from this one takes the front by right; only another
  // program's window is pushed back (or the two boxes would fight).
  DWORD pid = 0;
  if (activated) GetWindowThreadProcessId(activated, &pid);
  if (activated && pid == GetCurrentProcessId()) return;
  PostMessageA(Handle(), kPullToFront, 0, 0);
}

LRESULT TFSB_BOX::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wp) FormShow();
      break;
    case kPullToFront:
      if (IsWindowVisible(Handle()) && ModalResult() == 0 && IsWindowEnabled(Handle())) ForceForeground();
      return 0;
    case WM_HELP:
      return TRUE;
    default:
      break;
  }
  return TForm::WndProc(msg, wp, lp);
}

void ShowNoteBoxWindow(const std::string& text) {
  TFSB_BOX box;
  box.Execute(TFSB_BOX::Kind::kNote, text);
}

bool AskYesNoBoxWindow(const std::string& text) {
  TFSB_BOX box;
  return box.Execute(TFSB_BOX::Kind::kQuestion, text);
}

}  // namespace zs
