// Start-up pieces outside the main window.
#pragma once

#include <string>

namespace zs {

// Fills ProductName from "ZEMBA.INI" in `exe_dir` (with a trailing
// separator), section OTHER, key GLOBAL1; "Velto" when the file, the key or
// the value is missing or the file cannot be read.
void ReadBranding(const std::string& exe_dir);

}  // namespace zs
