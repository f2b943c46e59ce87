// Time from WM_STARTUP to the filled tree of the real main window, against
// the floor of a bare tree-view (floor_fill.h), for databases of R link
// records with 4 linked entries each and 5 R addresses. Prints one line per
// size: records, nodes, floor seconds, fill seconds, ratio, the working sets
// at the end of each, and the time of a reload (clearing included). Every
// measurement runs in a process of its own.
//
//   wine_fill_bench [--dir <cache dir>] [--runs N] [sizes...]   (default 1000 10000 50000)
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "bench/wine_fill/floor_fill.h"
#include "settings/user_mode.h"
#include "sqlite3.h"
#include "tests/link_tree/link_db.h"
#include "ui/user_seams.h"

namespace {

using namespace zs;

// Deterministic names: surnames and first names from syllables, so that the
// sort sees realistic, mostly distinct texts.
struct Lcg {
  uint64_t s;
  uint32_t Next() { return static_cast<uint32_t>((s = s * 6364136223846793005ULL + 1442695040888963407ULL) >> 33); }
};
std::string Word(Lcg& r, int syllables, bool capital) {
  static const char* kSyl[] = {"ber", "ma", "ko", "lin", "schu", "ster", "wa", "gner", "hof", "mann",
                               "sel", "ri", "ta", "no", "ke", "ller", "bach", "fi", "scher", "lo"};
  std::string w;
  for (int i = 0; i < syllables; ++i) w += kSyl[r.Next() % 20];
  if (capital) w[0] = static_cast<char>(w[0] - 'a' + 'A');
  return w;
}

void Generate(const std::string& dir, int records) {
  Lcg r{static_cast<uint64_t>(records)};
  std::vector<test::TTestAddress> addresses;
  const int n = records * 5;
  addresses.reserve(static_cast<size_t>(n));
  for (int i = 1; i <= n; ++i) {
    test::TTestAddress a;
    a.id = i;
    if (r.Next() % 5 == 0) a.abt = Word(r, 2, true) + " GmbH";
    a.nname = Word(r, 2 + static_cast<int>(r.Next() % 2), r.Next() % 10 != 0);
    a.vname = Word(r, 2, true);
    a.knr = std::to_string(10000 + i);
    a.gr = r.Next() % 3 ? "Kunde" : "Lieferant";
    addresses.push_back(std::move(a));
  }
  std::vector<test::TTestLinkRecord> links;
  links.reserve(static_cast<size_t>(records));
  for (int i = 0; i < records; ++i) {
    std::string list;
    for (int k = 0; k < 4; ++k) {
      if (k) list += ',';
      list += std::to_string(1 + r.Next() % static_cast<uint32_t>(n));
    }
    links.push_back({1 + static_cast<int32_t>(r.Next() % static_cast<uint32_t>(n)), list});
  }
  // The tables are made empty through the database objects, then filled in
  // one transaction each straight into the engine's store (docs/storage.md:
  // table "records", column f<n> for field n counting from 1, the AutoInc
  // field being the record number): posting a quarter of a million records one
  // by one, each a durable commit, would take most of an hour.
  std::filesystem::create_directories(dir);
  test::WriteLinkDatabase(dir, {}, {});
  auto bulk = [](const std::string& file, const char* insert, auto&& bind_all) {
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot open " + file);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, insert, -1, &st, nullptr) != SQLITE_OK)
      throw std::runtime_error(std::string("prepare: ") + sqlite3_errmsg(db));
    bind_all(st);
    sqlite3_finalize(st);
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
      throw std::runtime_error(std::string("commit: ") + sqlite3_errmsg(db));
    sqlite3_close(db);
  };
  auto text = [](sqlite3_stmt* st, int col, const std::string& v) {
    sqlite3_bind_text(st, col, v.c_str(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
  };
  bulk(dir + "\\Adressen.adt", "INSERT INTO records(f1, f2, f3, f4, f5, f6) VALUES(?, ?, ?, ?, ?, ?)",
       [&](sqlite3_stmt* st) {
         for (const test::TTestAddress& a : addresses) {
           sqlite3_bind_int(st, 1, a.id);
           text(st, 2, a.knr), text(st, 3, a.gr), text(st, 4, a.abt), text(st, 5, a.nname), text(st, 6, a.vname);
           sqlite3_step(st);
           sqlite3_reset(st);
         }
       });
  bulk(dir + "\\ADRESSLINK.ADT", "INSERT INTO records(f2, f3) VALUES(?, ?)", [&](sqlite3_stmt* st) {
    for (const test::TTestLinkRecord& l : links) {
      text(st, 1, l.list);
      sqlite3_bind_int(st, 2, l.self_id);
      sqlite3_step(st);
      sqlite3_reset(st);
    }
  });
}

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) / double(f.QuadPart);
}

double WorkingSetMB() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
  return double(pmc.WorkingSetSize) / (1024.0 * 1024.0);
}

struct RealResult {
  double seconds = 0;
  int nodes = 0;
  double ws_mb = 0;
  double reload_seconds = 0;
};

// The real window on `dir`: the constructor shows it and WM_STARTUP is then
// pending; the clock runs from there until the fill has ended.
RealResult RunRealFill(const std::string& dir, const std::string& exe) {
  LaunchContext ctx;
  ctx.args.connect_path = dir;
  ctx.args.server_flag = "1";
  ctx.args.release = "12340";
  ctx.exe_path = exe;
  ctx.menu_path = std::filesystem::path(exe).parent_path().string() + "\\ZS.MNU";
  ctx.product_name = "Velto";
  RealResult out;
  auto form = std::make_unique<TFAdressExtremeLinks>(ctx, false);
  const double t0 = Now();
  MSG m;
  // The fill has ended when the link table exists, nothing is busy and the
  // progress panel (visible from creation to the end of the first fill) is gone.
  while (!(form->LinkTable() && !form->Busy() && !form->PShow.Visible())) {
    if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }
  out.seconds = Now() - t0;
  out.nodes = form->Tree.Count();
  out.ws_mb = WorkingSetMB();
  const double r0 = Now();
  form->FlatButton2Click();  // the reload: the fill alone, without the start
  out.reload_seconds = Now() - r0;
  const double d0 = Now();
  TreeView_DeleteAllItems(form->Tree.Handle());
  std::fprintf(stderr, "  clearing %d nodes: %.3f s\n", out.nodes, Now() - d0);
  form.reset();
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  return out;
}

}  // namespace

// Runs one measurement in a fresh process, so that neither fill inherits the
// other's heap (a quarter of a million freed nodes slow the next fill down).
bool RunChild(const std::string& exe, const std::string& mode, const std::string& dir, RealResult* out) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE rd = nullptr, wr = nullptr;
  if (!CreatePipe(&rd, &wr, &sa, 0)) return false;
  SetHandleInformation(rd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = wr;
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi{};
  std::string cmd = "\"" + exe + "\" --one " + mode + " \"" + dir + "\"";
  const BOOL ok = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(wr);
  if (!ok) {
    CloseHandle(rd);
    return false;
  }
  std::string text;
  char buf[256];
  DWORD n = 0;
  while (ReadFile(rd, buf, sizeof buf, &n, nullptr) && n > 0) text.append(buf, n);
  CloseHandle(rd);
  WaitForSingleObject(pi.hProcess, INFINITE);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return std::sscanf(text.c_str(), "%lf %d %lf %lf", &out->seconds, &out->nodes, &out->ws_mb,
                     &out->reload_seconds) == 4;
}

int main(int argc, char** argv) {
  std::string cache = std::filesystem::temp_directory_path().string() + "\\zs_wine_fill";
  int runs = 1;
  std::vector<int> sizes;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  if (argc == 4 && std::string(argv[1]) == "--one") {
    const std::string mode = argv[2], dir = argv[3];
    ScopedUserModeDirectory settings(dir);
    RealResult r;
    if (mode == "floor") {
      bench::TFloorResult f = bench::RunFloorFill(dir);
      r.seconds = f.seconds;
      r.nodes = f.nodes;
      r.ws_mb = WorkingSetMB();
    } else {
      r = RunRealFill(dir, exe);
    }
    std::printf("%.4f %d %.1f %.4f\n", r.seconds, r.nodes, r.ws_mb, r.reload_seconds);
    return 0;
  }
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--dir" && i + 1 < argc) cache = argv[++i];
    else if (a == "--runs" && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
    else if (std::atoi(a.c_str()) > 0) sizes.push_back(std::atoi(a.c_str()));
  }
  if (sizes.empty()) sizes = {1000, 10000, 50000};
  std::printf("%-8s %-8s %-10s %-10s %-7s %-10s %-10s %-10s\n", "records", "nodes", "floor_s", "fill_s", "ratio",
              "floor_MB", "fill_MB", "reload_s");
  for (int r : sizes) {
    const std::string dir = cache + "\\db_" + std::to_string(r);
    if (!std::filesystem::exists(dir + "\\ADRESSLINK.ADT")) {
      std::filesystem::remove_all(dir);
      const double g0 = Now();
      Generate(dir, r);
      std::fprintf(stderr, "generated %d records in %.1f s\n", r, Now() - g0);
    }
    RealResult best_floor{1e9, 0, 0, 0}, best_fill{1e9, 0, 0, 1e9};
    for (int k = 0; k < runs; ++k) {  // fresh processes, alternating which goes first
      RealResult f, real;
      const bool floor_first = k % 2 == 0;
      bool ok = true;
      if (floor_first) ok = RunChild(exe, "floor", dir, &f);
      ok = ok && RunChild(exe, "fill", dir, &real);
      if (!floor_first) ok = ok && RunChild(exe, "floor", dir, &f);
      if (!ok) {
        std::fprintf(stderr, "a measurement failed\n");
        return 1;
      }
      if (f.seconds < best_floor.seconds) best_floor = f;
      if (real.seconds < best_fill.seconds) best_fill = real;
      best_fill.reload_seconds = std::min(best_fill.reload_seconds, real.reload_seconds);
    }
    std::printf("%-8d %-8d %-10.3f %-10.3f %-7.2f %-10.1f %-10.1f %-10.3f%s\n", r, best_fill.nodes,
                best_floor.seconds, best_fill.seconds, best_fill.seconds / best_floor.seconds, best_floor.ws_mb,
                best_fill.ws_mb, best_fill.reload_seconds,
                best_floor.nodes == best_fill.nodes ? "" : "  (node counts differ!)");
    std::fflush(stdout);
  }
  return 0;
}
