// Plain timing of the settings store for the Windows build (run under Wine):
// one ReadUserBool on a typical 2 KB file, and loading a 1 MB file.
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "bench/settings/bench_files.h"
#include "settings/big_ini_file.h"
#include "settings/user_mode.h"

namespace {

template <class F>
double MicrosPerCall(int runs, F f) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < runs; ++i) f();
  const std::chrono::duration<double, std::micro> d = std::chrono::steady_clock::now() - start;
  return d.count() / runs;
}

}  // namespace

int main() {
  const std::string dir = zs::bench::ScratchDirectory();
  zs::bench::WriteFile(dir + "\\UserMode.INI", zs::bench::TypicalUserMode());
  zs::bench::WriteFile(dir + "\\big.ini", zs::bench::BigIni());
  int found = 0;
  double store_us = 0, load_us = 0;
  {
    zs::ScopedUserModeDirectory scoped(dir);
    store_us = MicrosPerCall(2000, [&] { found += zs::ReadUserBool("TFAdressExtremeLinks.Sound.On", false); });
  }
  load_us = MicrosPerCall(20, [&] {
    zs::TBigIniFile ini(dir + "\\big.ini");
    found += ini.Sections().empty() ? 0 : 1;
  });
  std::printf("ReadUserBool on 2 KB UserMode.INI: %.1f us per call (target < 50)\n", store_us);
  std::printf("load of 1 MB INI file:            %.2f ms (target < 20)\n", load_us / 1000);
  std::filesystem::remove_all(dir);
  return found == 2020 ? 0 : 1;
}
