// Exact seek by ID in 100,000 addresses and an ordered scan of 10,000 link
// records on SELFID, each through the database objects and with raw SQLite
// prepared statements on the same file in the same run. The tables are made
// through the engine and then filled in one raw transaction (filling them
// record by record would be 110,000 durable commits).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "storage/database.h"

namespace {

constexpr int kAddresses = 100000;
constexpr int kLinks = 10000;

struct Fixture {
  std::filesystem::path dir;
  std::vector<int> probe_ids;

  Fixture() {
    dir = std::filesystem::temp_directory_path() / ("zs_storage_bench_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    zs::TAdsConnection conn;
    conn.SetConnectPath(dir.string());
    Create(conn, "Adressen.adt",
           {{"ID", zs::TFieldType::ftAutoInc, 0},
            {"KNR", zs::TFieldType::ftString, 20},
            {"GR", zs::TFieldType::ftString, 10},
            {"Abt", zs::TFieldType::ftString, 60},
            {"NName", zs::TFieldType::ftString, 60},
            {"VName", zs::TFieldType::ftString, 40},
            {"match0", zs::TFieldType::ftString, 80}},
           {{"ID", "ID", true}});
    Create(conn, "ADRESSLINK",
           {{"ID", zs::TFieldType::ftAutoInc, 0},
            {"ADRESSID", zs::TFieldType::ftString, 4000},
            {"SELFID", zs::TFieldType::ftInteger, 0},
            {"CAT", zs::TFieldType::ftString, 30}},
           {{"ID", "ID", true}, {"SELFID", "SELFID", false}});

    std::mt19937 rng(7);
    Fill("Adressen.adt", "INSERT INTO records(f2, f3, f4, f5, f6, f7) VALUES(?1, ?2, ?3, ?4, ?5, ?6)", kAddresses,
         [&](sqlite3_stmt* st, int i) {
           auto text = [&](int col, const std::string& s) {
             sqlite3_bind_text(st, col, s.c_str(), -1, SQLITE_TRANSIENT);
           };
           text(1, "K" + std::to_string(10000 + i));
           text(2, "G" + std::to_string(i % 12));
           text(3, i % 5 ? "" : "Einkauf");
           text(4, "Nachname" + std::to_string(rng() % 5000));
           text(5, "Vorname" + std::to_string(rng() % 800));
           text(6, "SUCHBEGRIFF " + std::to_string(i));
         });
    Fill("ADRESSLINK.ADT", "INSERT INTO records(f2, f3, f4) VALUES(?1, ?2, '')", kLinks, [&](sqlite3_stmt* st, int) {
      std::string list = std::to_string(rng() % kAddresses + 1);
      for (unsigned n = rng() % 4; n > 0; --n) list += "," + std::to_string(rng() % kAddresses + 1);
      sqlite3_bind_text(st, 1, list.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int(st, 2, static_cast<int>(rng() % kAddresses + 1));
    });
    for (int i = 0; i < 4096; ++i) probe_ids.push_back(static_cast<int>(rng() % kAddresses + 1));
  }
  ~Fixture() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  struct Tag {
    const char* name;
    const char* field;
    bool unique;
  };
  static void Create(zs::TAdsConnection& conn, const char* name, std::vector<zs::TFieldDef> defs,
                     std::vector<Tag> tags) {
    zs::TAdsTable t;
    t.SetAdsConnection(&conn);
    t.SetTableName(name);
    t.FieldDefs() = std::move(defs);
    t.CreateTable();
    t.Open();
    for (const Tag& tag : tags) t.AddIndex(tag.name, tag.field, tag.unique);
    t.Close();
  }
  template <class Bind>
  void Fill(const char* file, const char* sql, int count, Bind bind) {
    sqlite3* db = nullptr;
    sqlite3_open((dir / file).string().c_str(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    for (int i = 0; i < count; ++i) {
      bind(st, i);
      if (sqlite3_step(st) != SQLITE_DONE) std::fprintf(stderr, "fill: %s\n", sqlite3_errmsg(db));
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

void BM_SeekById_Engine(benchmark::State& state) {
  Fixture& f = Data();
  zs::TAdsConnection conn;
  conn.SetConnectPath(f.dir.string());
  zs::TAdsTable t;
  t.SetAdsConnection(&conn);
  t.SetTableName("Adressen.adt");
  t.Open();
  t.SetIndexName("ID");
  size_t i = 0;
  for (auto _ : state) {
    const int id = f.probe_ids[i++ % f.probe_ids.size()];
    if (!t.Locate("ID", id)) state.SkipWithError("not found");
    benchmark::DoNotOptimize(t.FieldByName("NName").AsString());
  }
}
BENCHMARK(BM_SeekById_Engine);

void BM_SeekById_RawSqlite(benchmark::State& state) {
  Fixture& f = Data();
  sqlite3* db = nullptr;
  sqlite3_open((f.dir / "Adressen.adt").string().c_str(), &db);
  sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT rec, f2, f3, f4, f5, f6, f7 FROM records WHERE rec = ?1", -1, &st, nullptr);
  size_t i = 0;
  for (auto _ : state) {
    sqlite3_bind_int(st, 1, f.probe_ids[i++ % f.probe_ids.size()]);
    if (sqlite3_step(st) != SQLITE_ROW) state.SkipWithError("not found");
    std::string name(reinterpret_cast<const char*>(sqlite3_column_text(st, 4)));
    benchmark::DoNotOptimize(name);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
}
BENCHMARK(BM_SeekById_RawSqlite);

void BM_ScanLinksOnSelfId_Engine(benchmark::State& state) {
  Fixture& f = Data();
  zs::TAdsConnection conn;
  conn.SetConnectPath(f.dir.string());
  zs::TAdsTable t;
  t.SetAdsConnection(&conn);
  t.SetTableName("ADRESSLINK.ADT");
  t.Open();
  t.SetIndexName("SELFID");
  for (auto _ : state) {
    int n = 0;
    for (t.First(); !t.Eof(); t.Next()) {
      benchmark::DoNotOptimize(t.FieldByName("SELFID").AsInteger());
      benchmark::DoNotOptimize(t.FieldByName("ADRESSID").AsString());
      ++n;
    }
    if (n != kLinks) state.SkipWithError("wrong count");
  }
  state.SetItemsProcessed(state.iterations() * kLinks);
}
BENCHMARK(BM_ScanLinksOnSelfId_Engine)->Unit(benchmark::kMillisecond);

void BM_ScanLinksOnSelfId_RawSqlite(benchmark::State& state) {
  Fixture& f = Data();
  sqlite3* db = nullptr;
  sqlite3_open((f.dir / "ADRESSLINK.ADT").string().c_str(), &db);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT rec, f2, f3 FROM records ORDER BY f3, rec", -1, &st, nullptr);
  for (auto _ : state) {
    int n = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
      benchmark::DoNotOptimize(sqlite3_column_int(st, 2));
      std::string list(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
      benchmark::DoNotOptimize(list);
      ++n;
    }
    sqlite3_reset(st);
    if (n != kLinks) state.SkipWithError("wrong count");
  }
  state.SetItemsProcessed(state.iterations() * kLinks);
  sqlite3_finalize(st);
  sqlite3_close(db);
}
BENCHMARK(BM_ScanLinksOnSelfId_RawSqlite)->Unit(benchmark::kMillisecond);

}  // namespace
