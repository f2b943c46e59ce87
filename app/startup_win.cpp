// The deferred start of the main window: launch check, connection, fill.
#include "app/startup.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "settings/big_ini_file.h"
#include "storage/link_table.h"
#include "ui/user_seams.h"

namespace zs {

void ReadBranding(const std::string& exe_dir) {
  std::string name;
  try {
    TBigIniFile ini(exe_dir + "ZEMBA.INI");
    name = ini.ReadString("OTHER", "GLOBAL1", "");
  } catch (...) {
    // An unreadable branding file reads as empty.
  }
  ProductName = name.empty() ? "Velto" : name;
}

void TFAdressExtremeLinks::OnStartup() {
  bool failed_check = false;
  if (CheckLaunch(kMenuTitle, *this, MinHostRelease, ctx_, &failed_check)) return;
  // The check showed its message and asked for the close: connecting now
  // would only add a second, misleading message before the window goes.
  if (failed_check) return;

  WaitCursorOn();
  try {
    SetCaption(kConnectingCaption);
    ConnectDatabase();
    if (!IsConnected()) {
      AdsConnection.SetIsConnected(false);
      WaitCursorOff();
      ShowNoteBox(NotConnectedMessage());
      Close();
      return;
    }
  } catch (...) {
    WaitCursorOff();
    ShowNoteBox(StartOnlyFromHostMessage(ProductName));
    Close();
    return;
  }
  SetCaption(AdsConnection.ConnectPath());
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  lb.SetCaption("");
  WaitCursorOff();
}

void TFAdressExtremeLinks::ConnectDatabase() {
  AdsConnection.SetIsConnected(false);
  AdsConnection.SetAdsServerTypes(IsLocalServerFlag(ctx_.args.server_flag) ? stADS_LOCAL : stADS_REMOTE);
  AdsConnection.SetConnectPath(ctx_.args.connect_path);
  AdsConnection.SetIsConnected(true);
  if (!AdsConnection.IsConnected()) return;
  AdsTableAdr.Open();
  AdsTableAdr.SetIndexName("ID");
  LinkTable_ = std::make_unique<TLinkTableClass>(AdsTableAdr.AdsConnection(), true);
  FillLinkTree();
}

bool TFAdressExtremeLinks::IsConnected() const { return AdsConnection.IsConnected(); }

}  // namespace zs
