// Where a lookup's time goes on this platform: one exact seek by ID through
// the database objects, the same read with raw SQLite in autocommit mode (a
// read transaction per statement, as every engine call is), the same reads
// inside one transaction, and the system calls SQLite makes to begin and end
// a read transaction (under Wine each is a round trip to the Wine server).
// Prints microseconds per operation.
//
//   wine_lookup_bench [--dir <cache dir>] [--lookups N]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "sqlite3.h"
#include "storage/database.h"
#include "tools/demo_db/demo_db.h"

namespace {

using namespace zs;

constexpr int kAddresses = 20000;

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// Spreads the lookups over the whole table (IDs have gaps, as real data has).
int NthId(int i) { return 1 + static_cast<int>((static_cast<long long>(i) * 7919) % kAddresses); }

template <class F>
void Report(const char* what, int n, F&& body) {
  const double t0 = Now();
  int hits = 0;
  for (int i = 0; i < n; ++i) hits += body(i) ? 1 : 0;
  const double us = (Now() - t0) / n * 1e6;
  std::printf("%-48s %9.1f us  (%d of %d found)\n", what, us, hits, n);
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir = std::filesystem::temp_directory_path().string() + "\\zs_wine_lookup";
  int n = 5000;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--dir" && i + 1 < argc) dir = argv[++i];
    else if (a == "--lookups" && i + 1 < argc) n = std::max(1, std::atoi(argv[++i]));
  }
  const std::string table = dir + "\\Adressen.adt";
  if (!std::filesystem::exists(table)) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    demo::TDemoDbOptions o;
    o.Addresses = kAddresses;
    o.Links = 2000;
    demo::GenerateDemoDatabase(dir, o);
  }

  {
    TAdsConnection conn;
    conn.SetConnectPath(dir);
    TAdsTable adr;
    adr.SetAdsConnection(&conn);
    adr.SetTableName("Adressen.adt");
    adr.Open();
    adr.SetIndexName("ID");
    size_t read = 0;
    Report("engine: Locate by ID, read KNR", n, [&](int i) {
      if (!adr.Locate("ID", NthId(i))) return false;
      read += adr.FieldByName("KNR").AsString().size();
      return true;
    });
    if (read == 0) std::fprintf(stderr, "no KNR read\n");
  }

  sqlite3* db = nullptr;
  if (sqlite3_open_v2(table.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "cannot open %s\n", table.c_str());
    return 1;
  }
  // The same indexed read the engine makes: the ID field's column.
  sqlite3_stmt* st = nullptr;
  std::string column;
  sqlite3_prepare_v2(db, "SELECT pos FROM zs_fields WHERE name = 'ID'", -1, &st, nullptr);
  if (sqlite3_step(st) == SQLITE_ROW) column = std::string("f").append(std::to_string(sqlite3_column_int(st, 0)));
  sqlite3_finalize(st);
  if (column.empty()) {
    std::fprintf(stderr, "no ID field in %s\n", table.c_str());
    return 1;
  }
  sqlite3_prepare_v2(db, ("SELECT * FROM records WHERE " + column + " = ?1").c_str(), -1, &st, nullptr);
  const auto raw = [&](int i) {
    sqlite3_bind_int(st, 1, NthId(i));
    const bool row = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_reset(st);
    return row;
  };
  Report("raw SQLite, autocommit", n, raw);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  Report("raw SQLite, all inside one read transaction", n, raw);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_finalize(st);
  sqlite3_close(db);

  HANDLE h = CreateFileA(table.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 1;
  Report("LockFileEx + UnlockFileEx, one byte", n, [&](int) {
    OVERLAPPED ov{};
    ov.Offset = 0x40000000;  // where SQLite's lock bytes lie
    const bool ok = LockFileEx(h, LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov);
    UnlockFileEx(h, 0, 1, 0, &ov);
    return ok;
  });
  const std::string journal = table + "-journal";
  Report("GetFileAttributesEx of the absent journal", n, [&](int) {
    WIN32_FILE_ATTRIBUTE_DATA ad;
    return !GetFileAttributesExA(journal.c_str(), GetFileExInfoStandard, &ad);
  });
  Report("ReadFile, 16 header bytes", n, [&](int) {
    char buf[16];
    DWORD got = 0;
    OVERLAPPED ov{};
    ov.Offset = 24;  // the file change counter and what follows it
    return ReadFile(h, buf, sizeof buf, &got, &ov) && got == sizeof buf;
  });
  CloseHandle(h);
  return 0;
}
