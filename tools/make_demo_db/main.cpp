// make_demo_db <dir> [--addresses M] [--links N] [--per-owner K] [--seed S]
//              [--one-sided A] [--dangling B]
// Writes a demo database (Adressen.adt and ADRESSLINK) into <dir>.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

#include "tools/demo_db/demo_db.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: make_demo_db <dir> [--addresses M] [--links N] [--per-owner K] [--seed S]\n"
               "                    [--one-sided A] [--dangling B]\n");
  return 2;
}

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && p == end && !text.empty();
}

}  // namespace

int main(int argc, char** argv) {
  zs::demo::TDemoDbOptions options;
  std::string dir;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.rfind("--", 0) != 0) {
      if (!dir.empty()) return Usage();
      dir = arg;
      continue;
    }
    if (i + 1 >= argc) return Usage();
    const std::string_view value = argv[++i];
    bool ok = false;
    if (arg == "--addresses") ok = ParseNumber(value, options.Addresses);
    else if (arg == "--links") ok = ParseNumber(value, options.Links);
    else if (arg == "--per-owner") ok = ParseNumber(value, options.PerOwner);
    else if (arg == "--seed") ok = ParseNumber(value, options.Seed);
    else if (arg == "--one-sided") ok = ParseNumber(value, options.OneSided);
    else if (arg == "--dangling") ok = ParseNumber(value, options.Dangling);
    if (!ok) {
      std::fprintf(stderr, "make_demo_db: bad option %s %s\n", argv[i - 1], argv[i]);
      return Usage();
    }
  }
  if (dir.empty()) return Usage();
  try {
    const zs::demo::TDemoDb db = zs::demo::GenerateDemoDatabase(dir, options);
    std::printf("%s: %zu addresses, %d link records (%zu symmetric, %zu one-sided, %zu to missing addresses)\n",
                dir.c_str(), db.AddressIds.size(), db.LinkRecords, db.Symmetric.size(), db.OneSided.size(),
                db.Dangling.size());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_demo_db: %s\n", e.what());
    return 1;
  }
}
