#include "app/main_window.h"

#include <memory>
#include <vector>

#include "app/cursors_win.h"
#include "app/wait_cursor_win.h"
#include "settings/form_placement_win.h"
#include "settings/user_mode.h"
#include "storage/link_table.h"
#include "ui/skin.h"
#include "ui/wave_clips.h"

namespace zs {
namespace {

const char kPlacementName[] = "TFAdressExtremeLinks";
const char kKeyTopmost[] = "TFAdressExtremeLinks.ftopbtn.Checked";
const char kKeySound[] = "TFAdressExtremeLinks.Sound.On";
const char kSearchHint[] = "Suchen u. Enter/F3";

// Point sizes at the 96 dpi the window is designed for: 8 pt = 11 px, 9 pt = 12 px.
constexpr int kPx8pt = 11;
constexpr int kPx9pt = 12;

// The bitmaps of the executable carry magenta where they are transparent.
constexpr COLORREF kGlyphMask = RGB(255, 0, 255);

// A glyph of the executable's resources for a flat button: drawn with its
// magenta pixels left out, and as a pale grey copy while the button is disabled.
struct BitmapGlyph {
  Bitmap normal;
  Bitmap disabled;
  int width = 0;
  int height = 0;
};

std::shared_ptr<BitmapGlyph> LoadGlyph(const char* name) {
  auto g = std::make_shared<BitmapGlyph>();
  g->normal.reset(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!g->normal) return g;
  DIBSECTION dib{};
  if (GetObjectA(g->normal.get(), sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 24) {
    BITMAP bm{};
    GetObjectA(g->normal.get(), sizeof bm, &bm);
    g->width = bm.bmWidth;
    g->height = bm.bmHeight;
    return g;
  }
  g->width = dib.dsBm.bmWidth;
  g->height = dib.dsBm.bmHeight;
  g->disabled.reset(static_cast<HBITMAP>(CopyImage(g->normal.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  DIBSECTION grey{};
  if (g->disabled && GetObjectA(g->disabled.get(), sizeof grey, &grey) == sizeof grey && grey.dsBm.bmBits) {
    GdiFlush();
    auto* rows = static_cast<unsigned char*>(grey.dsBm.bmBits);
    for (int y = 0; y < grey.dsBm.bmHeight; ++y) {
      unsigned char* px = rows + static_cast<ptrdiff_t>(y) * grey.dsBm.bmWidthBytes;
      for (int x = 0; x < grey.dsBm.bmWidth; ++x, px += 3) {
        if (px[0] == 255 && px[1] == 0 && px[2] == 255) continue;  // transparent
        const int lum = (px[0] * 11 + px[1] * 59 + px[2] * 30) / 100;
        const auto v = static_cast<unsigned char>(128 + lum / 2);
        px[0] = px[1] = px[2] = v;
      }
    }
  }
  return g;
}

void SetButtonGlyph(TFlatButton& button, const char* name) {
  std::shared_ptr<BitmapGlyph> g = LoadGlyph(name);
  if (!g->normal) return;
  button.SetGlyph(
      [g](HDC dc, const RECT& r, bool enabled) {
        HBITMAP bmp = (!enabled && g->disabled) ? g->disabled.get() : g->normal.get();
        MemoryDC mem(dc);
        SelectGuard sel(mem.get(), bmp);
        TransparentBlt(dc, r.left, r.top, g->width, g->height, mem.get(), 0, 0, g->width, g->height, kGlyphMask);
      },
      g->width, g->height);
}

SizeConstraints MainConstraints() {
  SizeConstraints c;
  c.min_width = TFAdressExtremeLinks::kMinWidth;
  c.max_width = TFAdressExtremeLinks::kMaxWidth;
  c.min_height = TFAdressExtremeLinks::kMinHeight;
  return c;
}

}  // namespace

// ---- Construction -------------------------------------------------------------------

TFAdressExtremeLinks::TFAdressExtremeLinks(LaunchContext ctx, bool main_form)
    : TForm(nullptr, "FAdressExtremeLinks", "TFAdressExtremeLinks"),
      Panel1(this, "Panel1"),
      Panel2(this, "Panel2"),
      AdsConnection(this, "AdsConnection"),
      AdsSettings1(this, "AdsSettings1"),
      FlatButton1(this, "FlatButton1"),
      Panel3(this, "Panel3"),
      FlatButton4(this, "FlatButton4"),
      AdsTableAdr(this, "AdsTableAdr"),
      lb(this, "lb"),
      Tree(this, "Tree"),
      ImageList1(this, "ImageList1"),
      FlatButton2(this, "FlatButton2"),
      FlatButton3(this, "FlatButton3"),
      ftopbtn(this, "ftopbtn"),
      PShow(this, "PShow"),
      PG(this, "PG"),
      dfind(this, "dfind"),
      FlatHint1(this, "FlatHint1"),
      Wave1(this, "Wave1"),
      Wave2xxxx(this, "Wave2xxxx"),
      ctx_(std::move(ctx)),
      main_form_(main_form),
      font_main_(MakeFont("MS Sans Serif", kPx8pt)),
      font_tahoma8_(MakeFont("Tahoma", kPx8pt)),
      font_tahoma9_(MakeFont("Tahoma", kPx9pt)),
      font_tree_bold_(MakeFont("Tahoma", kPx9pt, true)) {
  BuildComponents();
  CreateHandle();  // HandleCreated creates the controls and runs FormCreate
  SetVisible(true);
  dfind.FocusEdit();
}

TFAdressExtremeLinks::~TFAdressExtremeLinks() {
  // Destroyed while every part is alive, so FormDestroy runs on a whole window.
  if (Handle()) DestroyWindow(Handle());
  UnhookTree();
}

void TFAdressExtremeLinks::BuildComponents() {
  SetCaption(kDesignCaption);
  SetFont(font_main_.get());
  SetBounds(kDesignLeft, kDesignTop, kDesignClientWidth, kDesignClientHeight);  // outer size fixed after creation

  // Non-visual parts with their design settings.
  AdsConnection.SetAdsServerTypes(stADS_LOCAL);
  AdsConnection.SetLoginPrompt(true);
  AdsSettings1.DateFormat = "DD.MM.yyyy";
  AdsSettings1.NumDecimals = 2;
  AdsSettings1.ShowDeleted = true;
  AdsSettings1.AdsServerTypes = stADS_REMOTE | stADS_AIS;
  AdsSettings1.NumCachedTables = 0;
  AdsSettings1.NumCachedCursors = 25;
  AdsTableAdr.SetTableName("Adressen.adt");
  AdsTableAdr.SetAdsConnection(&AdsConnection);
  Wave1.WaveData().SetData(static_cast<int32_t>(sizeof kWave1Clip), kWave1Clip);
  Wave2xxxx.WaveData().SetData(static_cast<int32_t>(sizeof kWave2Clip), kWave2Clip);

  // The command bar on top, the bottom bar, the tree between them. Windows are
  // created in Tab order: the three commands, the tree, the bottom bar.
  Panel3.SetParent(this);
  Panel3.SetAlign(TAlign::alTop);
  Panel3.SetBounds(0, 0, kDesignClientWidth, 57);
  Panel3.SetBevelOuter(TPanel::bvNone);
  Panel3.SetFont(font_tahoma8_.get());
  struct Command {
    TFlatButton& button;
    int left;
    const char* caption;
    const char* glyph;
  };
  for (const Command& c : {Command{FlatButton4, 8, "&Details zeigen", "GLYPH_DETAILS"},
                           Command{FlatButton3, 112, "&Entfernen", "GLYPH_REMOVE"},
                           Command{FlatButton2, 216, "&Neu lesen", "GLYPH_RELOAD"}}) {
    c.button.SetParent(&Panel3);
    c.button.SetBounds(c.left, 12, 100, 37);
    c.button.SetCaption(c.caption);
    SetButtonGlyph(c.button, c.glyph);
    c.button.SetTabStop(true);
  }
  FlatButton4.OnClick = [this] { FlatButton4Click(); };
  FlatButton3.OnClick = [this] { FlatButton3Click(); };
  FlatButton2.OnClick = [this] { FlatButton2Click(); };

  Tree.SetParent(this);
  Tree.SetAlign(TAlign::alClient);
  Tree.SetFont(font_tahoma9_.get());
  Tree.SetIndent(19);
  Tree.SetImages(ImageList1.Handle());
  Tree.OnCustomDraw = [this](NMTVCUSTOMDRAW* d) { return TreeCustomDrawItem(d); };
  Tree.OnChange = [this] { TreeChange(); };
  // The node owns its payload: it goes with the node, however the node leaves.
  Tree.OnDeletion = [](LPARAM payload) { delete reinterpret_cast<TID*>(payload); };
  {
    Bitmap nodes(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), "NODE_IMAGES", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ImageList1.AddMasked(nodes.get(), kGlyphMask);
  }

  Panel1.SetParent(this);
  Panel1.SetAlign(TAlign::alBottom);
  Panel1.SetBounds(0, kDesignClientHeight - 32, kDesignClientWidth, 32);
  Panel1.SetBevelOuter(TPanel::bvNone);

  ftopbtn.SetParent(&Panel1);
  ftopbtn.SetBounds(9, 9, 85, 20);
  ftopbtn.SetCaption("Vordergrund");
  ftopbtn.SetFont(font_tahoma8_.get());
  ftopbtn.OnClick = [this] { ftopbtnClick(); };

  Panel2.SetParent(&Panel1);
  Panel2.SetAlign(TAlign::alRight);
  Panel2.SetBounds(kDesignClientWidth - 226, 0, 226, 32);
  Panel2.SetBevelOuter(TPanel::bvNone);
  Panel2.SetFont(font_tahoma8_.get());

  dfind.SetParent(&Panel2);
  dfind.SetBounds(5, 6, 148, 22);
  dfind.SetFont(font_tahoma9_.get());
  dfind.SetDrawStyle(1);
  dfind.SetButtonWidth(20);
  dfind.SetEmptyText(kSearchHint);
  dfind.SetHint(kSearchHint);
  dfind.SetShowHint(true);
  dfind.SetHintStyle(&FlatHint1);
  dfind.OnKeyDown = [this](WORD key) { return dfindKeyDown(key); };
  dfind.OnButtonClick = [this] { dfindButtonClick(); };

  FlatButton1.SetParent(&Panel2);
  FlatButton1.SetBounds(200, 6, 22, 22);
  SetButtonGlyph(FlatButton1, "GLYPH_CLOSE");
  FlatButton1.SetTabStop(true);
  FlatButton1.OnClick = [this] { FlatButton1Click(); };

  lb.SetParent(&Panel1);
  lb.SetBounds(252, 14, 60, 13);

  PShow.SetParent(this);
  PShow.SetBounds(8, 64, 109, 33);
  PG.SetParent(&PShow);
  PG.SetBounds(7, 8, 93, 17);
  PG.SetMin(0);
  PG.SetMax(100);

  FlatHint1.ColorBorder = 0x00FF8080;
  FlatHint1.ArrowBackgroundColor = 0x00FF8080;
  FlatHint1.ArrowColor = 0x00FFFFFF;
  FlatHint1.MaxHintWidth = 600;
}

void TFAdressExtremeLinks::CreateParams(TCreateParams& p) {
  TForm::CreateParams(p);
  p.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  // Topmost from the first moment; a tool window that still has its task bar button.
  p.ex_style |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_APPWINDOW;
}

void TFAdressExtremeLinks::HandleCreated() {
  // The design size is the client area's.
  SetClientSize(kDesignClientWidth, kDesignClientHeight);
  for (TWinControl* c : std::initializer_list<TWinControl*>{&Panel3, &FlatButton4, &FlatButton3, &FlatButton2, &Tree,
                                                            &Panel1, &ftopbtn, &Panel2, &dfind, &FlatButton1, &lb,
                                                            &PShow, &PG})
    c->CreateHandle();
  Realign();
  // "Vordergrund" may reach into the empty left margin of Panel2.
  SetWindowPos(ftopbtn.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // The progress panel lies over the tree.
  SetWindowPos(PShow.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  AdsSettings1.Apply();
  FormCreate();
}

// ---- Form events --------------------------------------------------------------------

void TFAdressExtremeLinks::FormCreate() {
  if (!IsRegistrationRun(ctx_.args))
    RestoreFormPlacement(Handle(), kPlacementName, 1, -1, MainConstraints(), Name());
  ftopbtn.SetChecked(ReadUserBool(kKeyTopmost, true));
  ftopbtnClick();
  SoundOn_ = ReadUserBool(kKeySound, true);
  ApplySkin(*this);
  HookTree();
  Tree.SetHideSelection(false);
}

void TFAdressExtremeLinks::FormShow() { PostMessageA(Handle(), WM_STARTUP, 0, 0); }

bool TFAdressExtremeLinks::FormCloseQuery() {
  // A registration run shows the design geometry only; storing it would
  // overwrite the placement and options the user left.
  if (IsRegistrationRun(ctx_.args)) return true;
  SaveFormPlacement(Handle(), kPlacementName, 0, -1, Name());
  WriteUserBool(kKeyTopmost, ftopbtn.Checked());
  WriteUserBool(kKeySound, SoundOn_);
  return true;
}

void TFAdressExtremeLinks::FormDestroy() {
  FlatHint1.Cancel();
  UnhookTree();
  // Every node's payload goes with its node (TVN_DELETEITEM).
  if (Tree.Handle()) TreeView_DeleteAllItems(Tree.Handle());
}

void TFAdressExtremeLinks::FormKeyDown(WORD key) {
  if (key == VK_ESCAPE) Close();
  else if (key == VK_F3) dfind.FocusEdit();
}

void TFAdressExtremeLinks::FlatButton1Click() { Close(); }

void TFAdressExtremeLinks::ftopbtnClick() {
  SetWindowPos(Handle(), ftopbtn.Checked() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT TFAdressExtremeLinks::TreeCustomDrawItem(NMTVCUSTOMDRAW* d) {
  switch (d->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      HTREEITEM item = reinterpret_cast<HTREEITEM>(d->nmcd.dwItemSpec);
      HTREEITEM parent = TreeView_GetParent(Tree.Handle(), item);
      int level = 0;
      if (parent) level = TreeView_GetParent(Tree.Handle(), parent) ? 2 : 1;
      if (level > 1) return CDRF_DODEFAULT;
      SelectObject(d->nmcd.hdc, level == 0 ? font_tree_bold_.get() : font_tahoma9_.get());
      const bool selected = (d->nmcd.uItemState & CDIS_SELECTED) != 0;
      d->clrText = selected ? RGB(255, 255, 255) : RGB(0, 0, 0);
      // White text needs the highlight behind it also while another control
      // has the focus (the tree keeps its selection shown).
      if (selected) d->clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void TFAdressExtremeLinks::TreeChange() {
  HTREEITEM sel = Tree.Selected();
  FlatButton3.SetEnabled(sel && TreeView_GetParent(Tree.Handle(), sel));
}

// ---- Tree hook ---------------------------------------------------------------------------

namespace {
// The forms whose tree is hooked. A plain list, not a window property: the
// hook sees every message of the tree (each insert of a fill), and a
// property lookup is a round trip to the window server under Wine.
std::vector<TFAdressExtremeLinks*>& HookedForms() {
  static std::vector<TFAdressExtremeLinks*> forms;
  return forms;
}
}  // namespace

LRESULT CALLBACK TFAdressExtremeLinks::TreeHookProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TFAdressExtremeLinks* self = nullptr;
  for (TFAdressExtremeLinks* f : HookedForms())
    if (f->Tree.Handle() == hwnd) self = f;
  if (!self || !self->OldTreeWndProc) return DefWindowProcA(hwnd, msg, wp, lp);
  try {
    return self->TreeWndProc(msg, wp, lp);
  } catch (...) {
    KeepPendingException(std::current_exception());
    return 0;
  }
}

void TFAdressExtremeLinks::HookTree() {
  if (OldTreeWndProc || !Tree.Handle()) return;
  HookedForms().push_back(this);
  OldTreeWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(Tree.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TreeHookProc)));
}

void TFAdressExtremeLinks::UnhookTree() {
  std::erase(HookedForms(), this);
  if (!OldTreeWndProc) return;
  if (Tree.Handle()) SetWindowLongPtrA(Tree.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldTreeWndProc));
  OldTreeWndProc = nullptr;
}

// ---- Busy and closing -----------------------------------------------------------------

TFAdressExtremeLinks::TBusyScope::TBusyScope(TFAdressExtremeLinks& form) : form_(form) { ++form_.busy_; }

TFAdressExtremeLinks::TBusyScope::~TBusyScope() { form_.EndBusy(); }

void TFAdressExtremeLinks::EndBusy() {
  if (--busy_ > 0 || !close_pending_) return;
  close_pending_ = false;
  // Honoured from the loop, after the code that was busy has returned.
  if (Handle()) PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TFAdressExtremeLinks::ProcessMessages() {
  TBusyScope busy(*this);
  zs::ProcessMessages();
}

void TFAdressExtremeLinks::Close() {
  if (!Handle()) return;
  if (Busy()) {
    close_pending_ = true;
    return;
  }
  SendMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TFAdressExtremeLinks::PostClose() { PostMessageA(Handle(), WM_CLOSE, 0, 0); }

void TFAdressExtremeLinks::UpdatePaint() { UpdateWindow(Handle()); }

// ---- Keys ---------------------------------------------------------------------------------

bool TFAdressExtremeLinks::PreviewKey(MSG& m) {
  if (m.message == WM_KEYDOWN) FormKeyDown(static_cast<WORD>(m.wParam));  // the key goes on as well
  if (!Handle() || !IsWindow(Handle())) return true;  // closed by the key
  return TForm::PreviewKey(m);
}

// ---- Window procedure -------------------------------------------------------------

LRESULT TFAdressExtremeLinks::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_STARTUP:
      OnStartup();
      return 0;
    case WM_SHOWWINDOW:
      if (wp && lp == 0) FormShow();
      break;
    case WM_CLOSE:
      if (Busy()) {
        close_pending_ = true;
        return 0;
      }
      if (FormCloseQuery()) DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      FormDestroy();
      if (main_form_) PostQuitMessage(0);
      break;
    case WM_GETMINMAXINFO:
      ApplyConstraints(reinterpret_cast<MINMAXINFO*>(lp), MainConstraints());
      return 0;
    case WM_SETCURSOR:
      if (ApplyWaitCursor(lp)) return TRUE;
      break;
    default:
      break;
  }
  return TForm::WndProc(msg, wp, lp);
}

}  // namespace zs
