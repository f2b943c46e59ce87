// The launch protocol with the host: the registration run that enters the
// program into the host's add-on menu file, the check of the command line
// the host passes, and the texts the user sees when the start fails. All of
// it is portable; the window and the file system are reached through the
// small interfaces below and app/file_io.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zs {

inline constexpr int MinHostRelease = 12340;
// WM_USER + 1: the main window defers its start work to this posted message.
inline constexpr unsigned WM_STARTUP = 0x0400 + 1;

// Title of the process (task bar, box captions), without a final full stop.
extern const char kApplicationTitle[];
// Title under which the program registers in ZS.MNU, with a final full stop.
extern const char kMenuTitle[];
// Caption of the main window until its start work begins.
extern const char kDesignCaption[];
// Caption while connecting and filling.
extern const char kConnectingCaption[];
// The add-on menu file, next to the executable.
extern const char kMenuFileName[];

// Splits `line` at the first `delimiter`. None when the delimiter does not
// occur. `left` is everything before it, untouched; `right` is at most the
// 200 characters after it, with every leading and trailing byte of code 32
// or below removed.
struct SplitParts {
  std::string left;
  std::string right;
};
std::optional<SplitParts> SplitAtFirst(std::string_view line, char delimiter);

// The lines of a menu file: a line ends at CR, LF or CR LF; a final line
// without an end still counts; an empty text has no lines.
std::vector<std::string> SplitMenuLines(std::string_view content);
// The lines joined again, every one (the last included) ended by CR LF.
std::string JoinMenuLines(const std::vector<std::string>& lines);

// The new content of the menu file for `exe_path` registered under
// `menu_title`: `existing` is the file's current content, or none when the
// file does not exist. The first line whose title equals `menu_title` exactly
// (letter case included) is replaced in place; without one the new line is
// appended. Other lines keep their text and their order.
std::string RegisterInMenuText(const std::optional<std::string>& existing, std::string_view exe_path,
                               std::string_view menu_title);

// Registers in the menu file at `menu_path`: reads it, composes the new
// content and replaces the file atomically (a temporary file beside it is
// renamed over it), so a failure at any point leaves the old file whole.
// Answers false on any failure; nothing is written then.
bool RegisterInMenuFile(const std::string& menu_path, std::string_view exe_path, std::string_view menu_title);

// The three arguments the host passes (missing ones are empty).
struct LaunchArgs {
  std::string connect_path;  // 1: the database directory, or "INSTALL"
  std::string server_flag;   // 2: "1" selects the local server
  std::string release;       // 3: the host's release number
};
// argv[1..3] of a C main; argv[0] and arguments from the fourth on are ignored.
LaunchArgs LaunchArgsFromArgv(int argc, const char* const* argv);

// "INSTALL" exactly, letter case included.
bool IsRegistrationRun(const LaunchArgs& args);
// True for the text "1" alone: the local server; anything else is remote.
bool IsLocalServerFlag(std::string_view flag);
// The release as a decimal integer (optional sign, digits only); 0 for any
// text that is no number or does not fit into 32 bits. Never throws.
int32_t ParseRelease(std::string_view text);

enum class LaunchCheck {
  kStart,           // all checks passed
  kMissingArgument, // argument 1, 2 or 3 empty
  kReleaseTooLow,   // argument 3 below the minimum release
};
LaunchCheck CheckLaunchArguments(const LaunchArgs& args, int min_release);

// The texts of the launch messages (Windows-1252 at run time).
std::string StartFromMenuMessage(std::string_view menu_title);
std::string ReleaseTooLowMessage(std::string_view product_name, int min_release);
std::string NotConnectedMessage();
std::string StartOnlyFromHostMessage(std::string_view product_name);

// What CheckLaunch needs of the main window.
class LaunchWindow {
 public:
  virtual ~LaunchWindow() = default;
  // PostMessage(WM_CLOSE, 0, 0) to the window.
  virtual void PostClose() = 0;
  // Brings the window's pending paint up to date (UpdateWindow).
  virtual void UpdatePaint() = 0;
};

struct LaunchContext {
  LaunchArgs args;
  std::string exe_path;      // full path of the executable
  std::string menu_path;     // the executable's directory + "ZS.MNU"
  std::string product_name;  // ProductName
};

// The launch check. True means the start ends here: the program registered
// itself (argument 1 "INSTALL") and asked its window to close. A failed
// registration is silent and goes on as an ordinary start. A failed argument
// or release check shows its message (ShowNoteBox), asks the window to close
// and answers false; `failed_check` then tells the caller to skip the
// connection. The wait cursor is on during the checks and off on every way out.
bool CheckLaunch(std::string_view menu_title, LaunchWindow& window, int min_release, const LaunchContext& ctx,
                 bool* failed_check = nullptr);

}  // namespace zs
