// One AddLink plus RemoveLink between two owners of a 10,000-record link
// table (each cycle leaves the table as it found it), beside the same four
// list changes made with raw SQLite prepared statements on the same file:
// read the owner's list, append or take out the ID, write it back, one
// durable transaction per list change. The table is created by the link
// table class and filled in one raw transaction (10,000 durable commits
// would only measure the disk).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "storage/link_list.h"
#include "storage/link_table.h"

namespace {

constexpr int kRecords = 10000;

struct Fixture {
  std::filesystem::path dir;

  Fixture() {
    dir = std::filesystem::temp_directory_path() / ("zs_links_bench_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    {
      zs::TAdsConnection conn;
      conn.SetConnectPath(dir.string());
      zs::TLinkTableClass create(&conn, true);
    }
    // SELFID 1..10000, each with one to four links to addresses outside that
    // range, so the pairs the benchmark links are never linked already.
    std::mt19937 rng(11);
    sqlite3* db = nullptr;
    sqlite3_open((dir / zs::kLinkTableFile).string().c_str(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO records(f2, f3, f4) VALUES(?1, ?2, '')", -1, &st, nullptr);
    for (int i = 1; i <= kRecords; ++i) {
      zs::TLinkList list;
      for (unsigned n = 1 + rng() % 4; n > 0; --n) list.push_back(std::to_string(20001 + rng() % 50000));
      const std::string text = zs::WriteLinkList(list);
      sqlite3_bind_text(st, 1, text.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int(st, 2, i);
      if (sqlite3_step(st) != SQLITE_DONE) std::fprintf(stderr, "fill: %s\n", sqlite3_errmsg(db));
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  ~Fixture() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

// The k-th pair: two different owners spread over the table.
std::pair<int32_t, int32_t> Pair(size_t k) {
  const int32_t a = 1 + static_cast<int32_t>((k * 7919) % kRecords);
  int32_t b = 1 + static_cast<int32_t>((k * 104729 + 5000) % kRecords);
  if (b == a) b = 1 + b % kRecords;
  return {a, b};
}

void BM_AddRemoveLink_LinkTable(benchmark::State& state) {
  Fixture& f = Data();
  zs::TAdsConnection conn;
  conn.SetConnectPath(f.dir.string());
  zs::TLinkTableClass links(&conn, false);
  if (!links.GetTable().Active()) state.SkipWithError("table did not open");
  size_t k = 0;
  for (auto _ : state) {
    auto [a, b] = Pair(k++);
    int32_t linked = b;
    links.LinkIDs().clear();
    if (!links.AddLink({}, links.GetTable(), std::to_string(a), linked)) state.SkipWithError("add failed");
    if (!links.RemoveLink(std::to_string(a), std::to_string(b))) state.SkipWithError("remove failed");
  }
}
BENCHMARK(BM_AddRemoveLink_LinkTable)->Unit(benchmark::kMillisecond);

struct Raw {
  sqlite3* db = nullptr;
  sqlite3_stmt* select = nullptr;
  sqlite3_stmt* update = nullptr;

  explicit Raw(const std::filesystem::path& file) {
    sqlite3_open(file.string().c_str(), &db);
    sqlite3_busy_timeout(db, 5000);
    sqlite3_exec(db, "PRAGMA synchronous=FULL; PRAGMA journal_mode=DELETE;", nullptr, nullptr, nullptr);
    sqlite3_prepare_v2(db, "SELECT rec, f2 FROM records WHERE f3 = ?1 ORDER BY rec LIMIT 1", -1, &select, nullptr);
    sqlite3_prepare_v2(db, "UPDATE records SET f2 = ?1 WHERE rec = ?2", -1, &update, nullptr);
  }
  ~Raw() {
    sqlite3_finalize(select);
    sqlite3_finalize(update);
    sqlite3_close(db);
  }
  // One list change in one transaction: add or take out `item`.
  bool Change(int32_t self, const std::string& item, bool add) {
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_bind_int(select, 1, self);
    bool ok = sqlite3_step(select) == SQLITE_ROW;
    if (ok) {
      const int64_t rec = sqlite3_column_int64(select, 0);
      zs::TLinkList list = zs::ReadLinkList(reinterpret_cast<const char*>(sqlite3_column_text(select, 1)));
      sqlite3_reset(select);
      const int at = zs::FindLink(list, item);
      if (add && at < 0) list.push_back(item);
      if (!add && at >= 0) list.erase(list.begin() + at);
      const std::string text = zs::WriteLinkList(list);
      sqlite3_bind_text(update, 1, text.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int64(update, 2, rec);
      ok = sqlite3_step(update) == SQLITE_DONE;
      sqlite3_reset(update);
    } else {
      sqlite3_reset(select);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return ok;
  }
};

void BM_AddRemoveLink_RawSqlite(benchmark::State& state) {
  Fixture& f = Data();
  Raw raw(f.dir / zs::kLinkTableFile);
  size_t k = 0;
  for (auto _ : state) {
    auto [a, b] = Pair(k++);
    const std::string as = std::to_string(a), bs = std::to_string(b);
    bool ok = raw.Change(a, bs, true) && raw.Change(b, as, true);
    ok = ok && raw.Change(b, as, false) && raw.Change(a, bs, false);
    if (!ok) state.SkipWithError("raw change failed");
  }
}
BENCHMARK(BM_AddRemoveLink_RawSqlite)->Unit(benchmark::kMillisecond);

}  // namespace
