#include "app/launch.h"


#include "app/file_io.h"
#include "kit/number_text.h"
#include "ui/user_seams.h"

namespace zs {

const char kApplicationTitle[] = "Übersicht verbundene Adressen";
const char kMenuTitle[] = "Übersicht verbundene Adressen.";
const char kDesignCaption[] = "Vebundene Adressen zeigen";
const char kConnectingCaption[] = "Verbindung zur Datenbank aufbauen....";
const char kMenuFileName[] = "ZS.MNU";

namespace {

constexpr size_t kMaxTitleLength = 200;

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::optional<SplitParts> SplitAtFirst(std::string_view line, char delimiter) {
  const size_t at = line.find(delimiter);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view right = line.substr(at + 1, kMaxTitleLength);
  while (!right.empty() && IsBlankOrControl(right.front())) right.remove_prefix(1);
  while (!right.empty() && IsBlankOrControl(right.back())) right.remove_suffix(1);
  return SplitParts{std::string(line.substr(0, at)), std::string(right)};
}

std::vector<std::string> SplitMenuLines(std::string_view content) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < content.size(); ++i) {
    const char c = content[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(content.substr(start, i - start));
    if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < content.size()) lines.emplace_back(content.substr(start));
  return lines;
}

std::string JoinMenuLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

std::string RegisterInMenuText(const std::optional<std::string>& existing, std::string_view exe_path,
                               std::string_view menu_title) {
  std::string new_line(exe_path);
  new_line += ';';
  new_line += menu_title;
  std::vector<std::string> lines;
  if (existing) lines = SplitMenuLines(*existing);
  bool replaced = false;
  for (std::string& line : lines) {
    const auto parts = SplitAtFirst(line, ';');
    if (parts && parts->right == menu_title) {
      line = new_line;
      replaced = true;
      break;
    }
  }
  if (!replaced) lines.push_back(new_line);
  return JoinMenuLines(lines);
}

bool RegisterInMenuFile(const std::string& menu_path, std::string_view exe_path, std::string_view menu_title) {
  try {
    std::string bytes;
    std::optional<std::string> existing;
    switch (ReadWholeFile(menu_path, bytes)) {
      case FileRead::kOk: existing = std::move(bytes); break;
      case FileRead::kMissing: break;
      // Writing now would drop every other add-on's entry.
      case FileRead::kError: return false;
    }
    return ReplaceFileAtomically(menu_path, RegisterInMenuText(existing, exe_path, menu_title));
  } catch (...) {
    return false;
  }
}

LaunchArgs LaunchArgsFromArgv(int argc, const char* const* argv) {
  LaunchArgs a;
  auto arg = [&](int i) { return i < argc && argv && argv[i] ? std::string(argv[i]) : std::string(); };
  a.connect_path = arg(1);
  a.server_flag = arg(2);
  a.release = arg(3);
  return a;
}

bool IsRegistrationRun(const LaunchArgs& args) { return args.connect_path == "INSTALL"; }

bool IsLocalServerFlag(std::string_view flag) { return flag == "1"; }

int32_t ParseRelease(std::string_view text) { return ParseDecimal32(text).value_or(0); }

LaunchCheck CheckLaunchArguments(const LaunchArgs& args, int min_release) {
  if (args.connect_path.empty() || args.server_flag.empty() || args.release.empty())
    return LaunchCheck::kMissingArgument;
  if (ParseRelease(args.release) < min_release) return LaunchCheck::kReleaseTooLow;
  return LaunchCheck::kStart;
}

std::string StartFromMenuMessage(std::string_view menu_title) {
  return "Starten Sie das Programm über zusätzlich > " + std::string(menu_title);
}

std::string ReleaseTooLowMessage(std::string_view product_name, int min_release) {
  return "Das Programm benötigt mindestens " + std::string(product_name) + " , Release " +
         std::to_string(min_release);
}

std::string NotConnectedMessage() { return "Verbindung zur Datenbank konnte nicht aufgebaut werden."; }

std::string StartOnlyFromHostMessage(std::string_view product_name) {
  return "Das Programm kann nur von " + std::string(product_name) + " aus gestartet werden";
}

bool CheckLaunch(std::string_view menu_title, LaunchWindow& window, int min_release, const LaunchContext& ctx,
                 bool* failed_check) {
  if (failed_check) *failed_check = false;
  if (IsRegistrationRun(ctx.args) && RegisterInMenuFile(ctx.menu_path, ctx.exe_path, menu_title)) {
    window.PostClose();
    return true;
  }
  WaitCursorScope wait;
  window.UpdatePaint();
  switch (CheckLaunchArguments(ctx.args, min_release)) {
    case LaunchCheck::kMissingArgument:
      ShowNoteBox(StartFromMenuMessage(menu_title));
      break;
    case LaunchCheck::kReleaseTooLow:
      ShowNoteBox(ReleaseTooLowMessage(ctx.product_name, min_release));
      break;
    case LaunchCheck::kStart:
      return false;
  }
  window.PostClose();
  if (failed_check) *failed_check = true;
  return false;
}

}  // namespace zs
