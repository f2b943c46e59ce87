// Several processes on one table: a writer killed at random moments leaves
// the table readable with every reported write in it; concurrent writers of
// different records all arrive; a record lock holds across processes and ends
// with its holder.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <thread>
#include <string>

#include "storage/database.h"
#include "storage/engine.h"
#include "tests/storage_engine/link_fixture.h"
#include "tests/storage_engine/temp_dir.h"

namespace zs {
namespace {

using testing_support::AddRecord;
using testing_support::CreateLinkTable;
using testing_support::OpenedTable;
using testing_support::TempDir;

// A forked child running `body`; its exit status is 0 when body returned
// true. Nothing of the parent's open tables may be used in the child.
class Child {
 public:
  explicit Child(const std::function<bool()>& body) {
    pid_ = ::fork();
    if (pid_ == 0) {
      bool ok = false;
      try {
        ok = body();
      } catch (const std::exception& e) {
        std::fprintf(stderr, "child: %s\n", e.what());
      }
      ::_exit(ok ? 0 : 1);
    }
  }
  ~Child() {
    if (pid_ > 0 && !reaped_) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
  }
  void Kill() { ::kill(pid_, SIGKILL); }
  // The exit status, or -signal.
  int Wait() {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    reaped_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
};

struct Pipe {
  int fd[2] = {-1, -1};
  Pipe() { EXPECT_EQ(::pipe(fd), 0); }
  ~Pipe() {
    ::close(fd[0]);
    ::close(fd[1]);
  }
  void Send(char c) const { (void)!::write(fd[1], &c, 1); }
  char Receive() const {
    char c = 0;
    return ::read(fd[0], &c, 1) == 1 ? c : 0;
  }
};

// A value that proves itself: "key:version:" and a body derived from both.
std::string Payload(int key, int version) {
  std::string s = std::to_string(key) + ":" + std::to_string(version) + ":";
  const std::string unit = std::to_string(int64_t{key} * 7919 + int64_t{version} * 31);
  const size_t length = 200 + static_cast<size_t>((int64_t{key} * 131 + int64_t{version} * 977) % 3500);
  while (s.size() < length) s += unit;
  s.resize(length);
  return s;
}

bool ParsePayload(const std::string& s, int* key, int* version) {
  if (std::sscanf(s.c_str(), "%d:%d:", key, version) != 2) return false;
  return s == Payload(*key, *version);
}

std::string IntegrityCheck(const std::string& file) {
  sqlite3* db = nullptr;
  // Read-write: a hot journal left by a killed writer is rolled back first.
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) return "cannot open";
  std::string result;
  sqlite3_exec(
      db, "PRAGMA integrity_check",
      [](void* out, int, char** values, char**) {
        *static_cast<std::string*>(out) += values[0] ? values[0] : "";
        return 0;
      },
      &result, nullptr);
  sqlite3_close(db);
  return result;
}

struct Report {
  int32_t key;
  int32_t version;
};

TEST(CrashTest, WriterKilledAtRandomMomentsLeavesEveryReportedWrite) {
  TempDir dir;
  CreateLinkTable(dir.str());
  std::map<int, int> reported;  // key -> last version the child saw posted
  std::mt19937 rng(20260609);
  constexpr int kKeys = 6;

  for (int round = 0; round < 10; ++round) {
    Pipe reports;
    const unsigned seed = rng();
    Child child([&] {
      OpenedTable opened(dir.str());
      TAdsTable& t = opened.table;
      std::mt19937 r(seed);
      for (int i = 0;; ++i) {
        const int key = (r() % 4 == 0) ? 1000 + round * 100000 + i : static_cast<int>(r() % kKeys);
        int version = 1;
        if (t.Locate("SELFID", key)) {
          int k = 0, v = 0;
          if (!ParsePayload(t.FieldByName("ADRESSID").AsString(), &k, &v) || k != key) return false;
          version = v + 1;
          t.Edit();
        } else {
          t.Append();
          t.FieldByName("SELFID").SetAsInteger(key);
        }
        t.FieldByName("ADRESSID").SetAsString(Payload(key, version));
        t.Post();
        Report rep{key, version};
        if (::write(reports.fd[1], &rep, sizeof rep) != sizeof rep) return false;
      }
    });
    ::close(reports.fd[1]);
    reports.fd[1] = -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(40 + rng() % 600));
    child.Kill();
    EXPECT_EQ(child.Wait(), -SIGKILL);
    Report rep;
    int in_round = 0;
    while (::read(reports.fd[0], &rep, sizeof rep) == sizeof rep) {
      reported[rep.key] = rep.version;
      ++in_round;
    }

    const bool hot = std::filesystem::exists(dir.File("ADRESSLINK.ADT-journal"));
    ASSERT_EQ(IntegrityCheck(dir.File("ADRESSLINK.ADT")), "ok") << "round " << round;
    OpenedTable opened(dir.str());
    TAdsTable& t = opened.table;
    std::map<int, int> stored;
    int unreported = 0;
    for (t.First(); !t.Eof(); t.Next()) {
      int key = 0, version = 0;
      ASSERT_TRUE(ParsePayload(t.FieldByName("ADRESSID").AsString(), &key, &version)) << "round " << round;
      ASSERT_EQ(key, t.FieldByName("SELFID").AsInteger());
      ASSERT_EQ(stored.count(key), 0u) << "two records for " << key;
      stored[key] = version;
      const int last = reported.count(key) ? reported[key] : 0;
      // As before or after its last post: only the write in flight may be missing from the reports.
      ASSERT_TRUE(version == last || version == last + 1) << key << ": " << version << " vs " << last;
      if (version != last) ++unreported;
    }
    EXPECT_LE(unreported, 1) << "round " << round;
    for (auto [key, version] : reported) EXPECT_EQ(stored.count(key), 1u) << "lost record " << key;
    for (auto& [key, version] : stored) reported[key] = version;  // the in-flight write became durable
    std::printf("round %d: %d posts reported before the kill%s\n", round, in_round,
                hot ? ", killed inside a transaction" : "");
  }
}

TEST(TwoProcessTest, WritersOfDifferentRecordsAllArrive) {
  TempDir dir;
  CreateLinkTable(dir.str());
  auto writer = [&](int base) {
    return [&dir, base] {
      OpenedTable opened(dir.str(), "ADRESSLINK.ADT");
      TAdsTable& t = opened.table;
      t.SetIndexName("SELFID");
      for (int j = 0; j < 25; ++j) AddRecord(t, base + j, Payload(base + j, 1));
      for (int j = 0; j < 25; ++j) {
        if (!t.Locate("SELFID", base + j)) return false;
        t.Edit();
        t.FieldByName("ADRESSID").SetAsString(Payload(base + j, 2));
        t.Post();
      }
      return true;
    };
  };
  Child a(writer(1000)), b(writer(2000));
  // Meanwhile this process reads: its scans neither fail nor block the writers.
  OpenedTable opened(dir.str());
  TAdsTable& t = opened.table;
  for (int scan = 0; scan < 20; ++scan)
    for (t.First(); !t.Eof(); t.Next()) {
      int k, v;
      EXPECT_TRUE(ParsePayload(t.FieldByName("ADRESSID").AsString(), &k, &v));
    }
  EXPECT_EQ(a.Wait(), 0);
  EXPECT_EQ(b.Wait(), 0);
  t.Close();
  t.Open();
  EXPECT_EQ(t.RecordCount(), 50);
  for (int base : {1000, 2000})
    for (int j = 0; j < 25; ++j) {
      ASSERT_TRUE(t.Locate("SELFID", base + j));
      EXPECT_EQ(t.FieldByName("ADRESSID").AsString(), Payload(base + j, 2));
    }
  EXPECT_EQ(IntegrityCheck(dir.File("ADRESSLINK.ADT")), "ok");
}

TEST(TwoProcessTest, LockedRecordFailsAtOnceInTheOtherProcess) {
  TempDir dir;
  CreateLinkTable(dir.str());
  {
    OpenedTable opened(dir.str());
    TAdsTable& t = opened.table;
    AddRecord(t, 1, "10");
    AddRecord(t, 2, "20");
  }
  Pipe to_parent, to_child;
  Child child([&] {
    OpenedTable opened(dir.str());
    TAdsTable& t = opened.table;
    if (!t.Locate("SELFID", 1)) return false;
    t.Edit();
    to_parent.Send('L');
    if (to_child.Receive() != 'G') return false;
    t.FieldByName("ADRESSID").SetAsString("10,11");
    t.Post();
    to_parent.Send('P');
    return true;
  });
  ASSERT_EQ(to_parent.Receive(), 'L');

  OpenedTable opened(dir.str());
  TAdsTable& t = opened.table;
  ASSERT_TRUE(t.Locate("SELFID", 1));
  const auto start = std::chrono::steady_clock::now();
  try {
    t.Edit();
    FAIL() << "the lock held by the other process was granted";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ErrorCode(), engine::kErrRecordLocked);
    EXPECT_NE(std::string(e.what()).find("locked"), std::string::npos);
  }
  // "At once": not after the file's busy timeout.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_THROW(t.Delete(), EADSDatabaseError);
  EXPECT_EQ(t.State(), TDataSetState::dsBrowse);

  ASSERT_TRUE(t.Locate("SELFID", 2));  // another record is free
  t.Edit();
  t.FieldByName("ADRESSID").SetAsString("20,21");
  t.Post();

  to_child.Send('G');
  ASSERT_EQ(to_parent.Receive(), 'P');
  EXPECT_EQ(child.Wait(), 0);
  ASSERT_TRUE(t.Locate("SELFID", 1));
  t.Refresh();
  EXPECT_EQ(t.FieldByName("ADRESSID").AsString(), "10,11");
  ASSERT_TRUE(t.Locate("SELFID", 2));
  EXPECT_EQ(t.FieldByName("ADRESSID").AsString(), "20,21");
  EXPECT_EQ(t.RecordCount(), 2);
}

TEST(TwoProcessTest, LocksEndWithTheirHolder) {
  TempDir dir;
  CreateLinkTable(dir.str());
  {
    OpenedTable opened(dir.str());
    TAdsTable& t = opened.table;
    AddRecord(t, 1, "10");
  }
  Pipe to_parent;
  Child child([&] {
    OpenedTable opened(dir.str());
    TAdsTable& t = opened.table;
    t.Edit();
    t.LockTable();
    t.FieldByName("ADRESSID").SetAsString("never written");
    to_parent.Send('L');
    for (;;) ::pause();
    return true;
  });
  ASSERT_EQ(to_parent.Receive(), 'L');
  OpenedTable opened(dir.str());
  TAdsTable& t = opened.table;
  EXPECT_THROW(t.Edit(), EADSDatabaseError);
  child.Kill();
  EXPECT_EQ(child.Wait(), -SIGKILL);
  t.Edit();  // the dead holder's lock is gone
  EXPECT_EQ(t.FieldByName("ADRESSID").AsString(), "10");
  t.Cancel();
  t.LockTable();
  t.UnlockTable();
}

TEST(TwoProcessTest, TwoCreatorsOfOneTableLeaveOneGoodTable) {
  for (int round = 0; round < 5; ++round) {
    TempDir dir;
    Pipe go;
    auto creator = [&] {
      if (go.Receive() != 'G') return false;
      TAdsConnection conn;
      conn.SetConnectPath(dir.str());
      TAdsTable t;
      t.SetAdsConnection(&conn);
      t.SetTableName("ADRESSLINK");
      t.FieldDefs() = {{"ID", TFieldType::ftAutoInc, 0}, {"SELFID", TFieldType::ftInteger, 0}};
      try {
        t.CreateTable();
      } catch (const EADSDatabaseError& e) {
        return e.ErrorCode() == engine::kErrFileExists;  // the other one won
      }
      return true;
    };
    Child a(creator), b(creator);
    go.Send('G');
    go.Send('G');
    EXPECT_EQ(a.Wait(), 0);
    EXPECT_EQ(b.Wait(), 0);
    OpenedTable opened(dir.str(), "ADRESSLINK.ADT");
    TAdsTable& t = opened.table;
    EXPECT_TRUE(t.IsEmpty());
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) {
      ++files;
      EXPECT_EQ(e.path().filename(), "ADRESSLINK.ADT");  // no temporary left behind
    }
    EXPECT_EQ(files, 1);
  }
}

}  // namespace
}  // namespace zs
