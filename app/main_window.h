// TFAdressExtremeLinks: the program's main window. A small, by default
// always-on-top window with the command bar (Panel3) on top, the link tree in
// the middle and the bottom bar (Panel1: "Vordergrund", the search box, the
// close button). The window owns its twenty components in declaration order,
// its database connection, its address table cursor and its link table.
//
// Where the handlers live:
//   app/main_window_win.cpp      construction, layout, FormCreate, FormShow,
//                                FormCloseQuery, FormDestroy, FormKeyDown (key
//                                preview; Alt letters and Tab come from TForm),
//                                FlatButton1Click,
//                                ftopbtnClick, TreeCustomDrawItem, TreeChange,
//                                the tree hook's install/restore, busy scope
//   app/startup_win.cpp          OnStartup (WM_STARTUP), ConnectDatabase,
//                                IsConnected, the LaunchWindow half
//   overview/link_tree_win.cpp   FillLinkTree
//   overview/commands_win.cpp    FlatButton4Click, FlatButton3Click,
//                                FlatButton2Click, dfindKeyDown,
//                                dfindButtonClick, RemoveLinkedNode,
//                                FindHostWindow
//   overview/tree_drag_win.cpp   TreeWndProc, BeginTreeDrag, MakeDragImage,
//                                MoveTreeDrag, TreeMouseUp, EndTreeDrag
//
// Node payloads: every tree item's lParam is a TID* made with new; the window
// deletes it when the item leaves the tree (TVN_DELETEITEM), so removing
// items (TreeView_DeleteItem, TreeView_DeleteAllItems) is all it takes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "app/launch.h"
#include "kit/check_box.h"
#include "kit/choice_edit.h"
#include "kit/flat_button.h"
#include "kit/flat_hint.h"
#include "kit/flat_panel.h"
#include "kit/image_list.h"
#include "kit/label.h"
#include "kit/panel.h"
#include "kit/tree_view.h"
#include "kit/window.h"
#include "overview/tid.h"
#include "storage/database.h"
#include "ui/wave.h"

namespace zs {

class TLinkTableClass;

class TFAdressExtremeLinks : public TForm, public LaunchWindow {
 public:
  // Design values of the window.
  static constexpr int kDesignLeft = 486;
  static constexpr int kDesignTop = 204;
  static constexpr int kDesignClientWidth = 322;
  static constexpr int kDesignClientHeight = 208;
  static constexpr int kMinWidth = 330;
  static constexpr int kMaxWidth = 500;
  static constexpr int kMinHeight = 200;

  // Builds the components, creates the window (FormCreate runs, in its
  // order) and shows it (FormShow posts WM_STARTUP). `ctx` is the command
  // line and the paths the launch uses. With `main_form` the window ends the
  // message loop (PostQuitMessage) when it is destroyed, as the
  // application's main form; tests pass false. Throws when the window cannot
  // be created.
  explicit TFAdressExtremeLinks(LaunchContext ctx, bool main_form = true);
  ~TFAdressExtremeLinks() override;

  // ---- Components, in the order the form declares and owns them --------------
  TPanel Panel1;                 // bottom bar
  TPanel Panel2;                 // in Panel1, right: search box and close button
  TAdsConnection AdsConnection;
  TAdsSettings AdsSettings1;
  TFlatButton FlatButton1;       // close
  TPanel Panel3;                 // command bar
  TFlatButton FlatButton4;       // "&Details zeigen"
  TAdsTable AdsTableAdr;         // "Adressen.adt"
  TLabel lb;                     // status label, always cleared
  TTreeView Tree;
  TImageList ImageList1;         // 0 address card, 1 small blue square
  TFlatButton FlatButton2;       // "&Neu lesen"
  TFlatButton FlatButton3;       // "&Entfernen"
  TsCheckBox ftopbtn;            // "Vordergrund"
  TFlatPanel PShow;              // progress panel
  TFlatProgressBar PG;
  TDCChoiceEdit dfind;           // search box
  TFlatHint FlatHint1;
  TWave Wave1;                   // short click
  TWave Wave2xxxx;               // longer signal

  // ---- Handlers (app/) ------------------------------------------------------------
  void FormCreate();
  void FormShow();
  // Saves placement and options (not after a registration run); always true.
  bool FormCloseQuery();
  void FormDestroy();
  // Esc closes, F3 focuses the search box; the key goes on either way.
  void FormKeyDown(WORD key);
  void FlatButton1Click();
  void ftopbtnClick();
  // NM_CUSTOMDRAW of the tree: fonts and colours per node level.
  LRESULT TreeCustomDrawItem(NMTVCUSTOMDRAW* draw);
  // FlatButton3 enabled exactly when the selected node has a parent.
  void TreeChange();

  // WM_STARTUP: launch check, connect, fill (app/startup_win.cpp).
  void OnStartup();
  void ConnectDatabase();
  bool IsConnected() const;

  // ---- Handlers (overview/) ----------------------------------------------------
  // Rebuilds the tree. Holds a TBusyScope for its whole run and pumps with
  // ProcessMessages() once per link record.
  void FillLinkTree();
  void FlatButton4Click();
  void FlatButton3Click();
  void FlatButton2Click();
  // A key in the search box; answers true when the key is consumed (Enter).
  bool dfindKeyDown(WORD key);
  void dfindButtonClick();
  // OnRemoved callback of TLinkTableClass::RemoveLink.
  void RemoveLinkedNode(const std::string& owner_id, const std::string& linked_id);
  HWND FindHostWindow();
  // The hook on the tree's window procedure; pass unhandled messages to
  // CallWindowProcA(OldTreeWndProc, ...).
  LRESULT TreeWndProc(UINT msg, WPARAM wp, LPARAM lp);
  void BeginTreeDrag();
  void MakeDragImage();
  void MoveTreeDrag(int x, int y);
  void TreeMouseUp();
  void EndTreeDrag();

  // ---- Long work and closing ------------------------------------------------------
  // While at least one scope lives the window is busy: a close request (Esc,
  // FlatButton1, a posted or sent WM_CLOSE) is not carried out but remembered,
  // and honoured by a posted WM_CLOSE when the last scope ends. So long work
  // that pumps messages never sees its window or tree destroyed under it.
  class TBusyScope {
   public:
    explicit TBusyScope(TFAdressExtremeLinks& form);
    ~TBusyScope();
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

   private:
    TFAdressExtremeLinks& form_;
  };
  bool Busy() const { return busy_ > 0; }
  bool ClosePending() const { return close_pending_; }
  // Lets every pending message run once (the fill calls it per record).
  // Rethrows an exception a handler raised meanwhile.
  void ProcessMessages();
  // Asks the window to close: now, or when the window is no longer busy.
  void Close();

  // ---- State, read by tests and the overview ---------------------------------------
  bool SoundOn() const { return SoundOn_; }
  TLinkTableClass* LinkTable() const { return LinkTable_.get(); }
  const LaunchContext& Launch() const { return ctx_; }
  bool TreeHooked() const { return OldTreeWndProc != nullptr; }

  // LaunchWindow
  void PostClose() override;
  void UpdatePaint() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool PreviewKey(MSG& msg) override;

 private:
  friend class TBusyScope;
  static LRESULT CALLBACK TreeHookProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void BuildComponents();
  void HookTree();
  void UnhookTree();
  void EndBusy();

  // Private state of the window.
  bool SoundOn_ = true;
  HIMAGELIST DragImages = nullptr;
  bool DropAllowed = false;
  bool Dragging = false;
  bool DragStarted = false;
  WNDPROC OldTreeWndProc = nullptr;
  std::string DropTargetName;
  std::unique_ptr<TLinkTableClass> LinkTable_;

  LaunchContext ctx_;
  bool main_form_;
  int busy_ = 0;
  bool close_pending_ = false;
  Font font_main_;      // MS Sans Serif 8 pt
  Font font_tahoma8_;   // panels, check box, hint
  Font font_tahoma9_;   // tree, search box
  Font font_tree_bold_; // owner nodes
};

}  // namespace zs
