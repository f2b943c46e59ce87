// AdressLinks.exe: process start-up in the order the suite's add-ons keep.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "app/cursors_win.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/wait_cursor_win.h"
#include "app/startup.h"
#include "editor/class_registry.h"
#include "ui/app_title.h"
#include "ui/user_seams_win.h"
#include "ui/wave_win.h"

namespace {

std::string ExePath() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n);
}

std::string DirectoryOf(const std::string& path) { return path.substr(0, path.find_last_of("\\/") + 1); }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace zs;
  // 1. Start-up code of the modules: the cursor table, the class registry.
  RegisterCursors();
  RegisterStartupClasses();

  // 2. The application object: common controls, sound, the ways to the user.
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  UsePlaySound();
  InstallWindowsUserSeams();
  SetWaitCursorHook([](bool on) { ShowWaitCursor(on); });

  const std::string exe_path = ExePath();
  const std::string exe_dir = DirectoryOf(exe_path);
  // 3. Branding, 4. the title.
  ReadBranding(exe_dir);
  SetApplicationTitle(kApplicationTitle);

  // 5. The main window, 6. the loop until it closes.
  LaunchContext ctx;
  ctx.args = LaunchArgsFromArgv(__argc, __argv);
  ctx.exe_path = exe_path;
  ctx.menu_path = exe_dir + kMenuFileName;
  ctx.product_name = ProductName;
  try {
    TFAdressExtremeLinks form(std::move(ctx));
    return RunMessageLoop();
  } catch (...) {
    ShowExceptionNote(std::current_exception());
    return 1;
  }
}
