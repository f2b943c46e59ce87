#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench/settings/bench_files.h"
#include "settings/big_ini_file.h"
#include "settings/user_mode.h"

namespace {

void BM_ReadUserBool(benchmark::State& state) {
  const std::string dir = zs::bench::ScratchDirectory();
  const std::string text = zs::bench::TypicalUserMode();
  zs::bench::WriteFile(dir + "/UserMode.INI", text);
  zs::ScopedUserModeDirectory scoped(dir);
  for (auto _ : state) benchmark::DoNotOptimize(zs::ReadUserBool("TFAdressExtremeLinks.Sound.On", false));
  if (!zs::ReadUserBool("TFAdressExtremeLinks.Sound.On", false)) state.SkipWithError("value not found");
  state.counters["file_bytes"] = static_cast<double>(text.size());
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ReadUserBool)->Unit(benchmark::kMicrosecond);

void BM_Load1MB(benchmark::State& state) {
  const std::string dir = zs::bench::ScratchDirectory();
  const std::string path = dir + "/big.ini";
  const std::string text = zs::bench::BigIni();
  zs::bench::WriteFile(path, text);
  for (auto _ : state) {
    zs::TBigIniFile ini(path);
    benchmark::DoNotOptimize(ini.Sections().size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Load1MB)->Unit(benchmark::kMillisecond);

}  // namespace
