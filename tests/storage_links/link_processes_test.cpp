// Link table writers in separate processes: one killed at random moments,
// two adding at the same time, and one holding a record the other needs.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "storage/link_table.h"
#include "tests/storage_links/link_fixture.h"
#include "tests/support/recording_user.h"

namespace zs::test {
namespace {

// Runs `body` in a child process; its return value is the exit code. The
// child never returns into the test framework.
pid_t Spawn(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    int code = 99;
    try {
      code = body();
    } catch (...) {
    }
    _exit(code);
  }
  return pid;
}

int WaitExit(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void WriteAll(int fd, const std::string& s) {
  size_t done = 0;
  while (done < s.size()) {
    const ssize_t n = write(fd, s.data() + done, s.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

// Reads one line from `fd`, waiting at most `timeout_ms`; false on timeout or end.
bool ReadLine(int fd, std::string& line, int timeout_ms = 30000) {
  line.clear();
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return false;
    char c;
    if (read(fd, &c, 1) != 1) return false;
    if (c == '\n') return true;
    line += c;
  }
}

std::unique_ptr<TAdsConnection> Connect(const std::string& dir) {
  auto c = std::make_unique<TAdsConnection>(nullptr, "AdsConnection1");
  c->SetConnectPath(dir);
  c->SetAdsServerTypes(stADS_LOCAL);
  c->SetIsConnected(true);
  return c;
}

TLinkList StoredList(TLinkTableClass& links, int32_t self) {
  TAdsTable& t = links.PartnerTable();
  if (!t.Locate("SELFID", self)) return {};
  return ReadLinkList(t.FieldByName("ADRESSID").AsString());
}

bool ParseInt(const std::string& s, int32_t& v) {
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size() && !s.empty();
}

// Every record: a non-empty list of distinct IDs, none its own, and no owner
// twice. Returns SELFID -> list.
std::map<int32_t, TLinkList> CheckTableWhole(const std::string& dir) {
  std::map<int32_t, TLinkList> out;
  for (const LinkRecord& r : ReadLinkRecords(dir)) {
    const TLinkList list = ReadLinkList(r.list);
    EXPECT_FALSE(list.empty()) << "record of " << r.self << " has an empty list";
    std::set<std::string> seen;
    for (const std::string& item : list) {
      int32_t id = 0;
      EXPECT_TRUE(ParseInt(item, id)) << r.self << ": '" << item << "'";
      EXPECT_NE(id, r.self);
      EXPECT_TRUE(seen.insert(item).second) << r.self << " lists " << item << " twice";
    }
    EXPECT_TRUE(out.emplace(r.self, list).second) << "two records for " << r.self;
  }
  return out;
}

bool Holds(const std::map<int32_t, TLinkList>& table, int32_t self, int32_t item) {
  auto it = table.find(self);
  return it != table.end() && FindLink(it->second, std::to_string(item)) >= 0;
}

// ---- killed writer ----

constexpr int kCrashAddresses = 8;

// Adds or removes links between addresses 1..8 until killed: a pair that is
// linked (as the owner's list says) is unlinked, any other is linked. Each
// operation is announced ("S add 3 7") and its end reported ("D 1").
int CrashWriter(const std::string& dir, const std::string& log, uint32_t seed) {
  auto connection = Connect(dir);
  TLinkTableClass links(connection.get(), false);
  if (!links.GetTable().Active()) return 3;
  const int fd = open(log.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
  if (fd < 0) return 4;
  std::mt19937 rnd(seed);
  for (int n = 0; n < 100000; ++n) {
    const int32_t a = 1 + static_cast<int32_t>(rnd() % kCrashAddresses);
    int32_t b = 1 + static_cast<int32_t>(rnd() % kCrashAddresses);
    if (a == b) continue;
    links.LinkIDs() = StoredList(links, a);
    const bool linked = FindLink(links.LinkIDs(), std::to_string(b)) >= 0;
    WriteAll(fd, std::string("S ") + (linked ? "remove " : "add ") + std::to_string(a) + " " + std::to_string(b) + "\n");
    const bool ok = linked ? links.RemoveLink(std::to_string(a), std::to_string(b))
                           : links.AddLink({}, links.GetTable(), std::to_string(a), b);
    WriteAll(fd, ok ? "D 1\n" : "D 0\n");
  }
  return 0;
}

TEST(LinkTableCrash, AKilledWriterLeavesWholeListsAndEveryReportedOperationOnBothSides) {
  TempDir dir;
  {
    auto connection = Connect(dir.str());
    TLinkTableClass create(connection.get(), true);
    ASSERT_TRUE(create.GetTable().Active());
  }
  const uint32_t seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rnd(seed);
  // Pair (low, high) -> linked; pairs whose state is unknown are absent.
  std::map<std::pair<int32_t, int32_t>, bool> expected;
  int completed_total = 0;

  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::string log = dir.File("round" + std::to_string(round) + ".log");
    const pid_t child = Spawn([&] { return CrashWriter(dir.str(), log, seed + static_cast<uint32_t>(round)); });
    ASSERT_GT(child, 0);
    // Kill it at a random moment once it is under way.
    auto reported = [&] {
      std::ifstream in(log);
      std::string all((std::istreambuf_iterator<char>(in)), {});
      return all.find("D ") != std::string::npos;
    };
    for (int i = 0; i < 6000 && !reported(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(reported()) << "the writer never finished an operation";
    std::this_thread::sleep_for(std::chrono::milliseconds(rnd() % 250));
    kill(child, SIGKILL);
    EXPECT_EQ(WaitExit(child), 128 + SIGKILL);

    // Replay the log: complete lines only (a kill may cut the last one).
    std::ifstream in(log);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    std::istringstream lines(text.substr(0, text.rfind('\n') + 1));
    std::string line;
    std::pair<int32_t, int32_t> pending{0, 0};
    bool pending_add = false, in_flight = false;
    while (std::getline(lines, line)) {
      std::istringstream f(line);
      std::string tag, op;
      f >> tag;
      if (tag == "S") {
        int32_t a = 0, b = 0;
        f >> op >> a >> b;
        pending = {std::min(a, b), std::max(a, b)};
        pending_add = op == "add";
        in_flight = true;
      } else if (tag == "D") {
        int ok = 0;
        f >> ok;
        if (ok)
          expected[pending] = pending_add;
        else
          expected.erase(pending);
        in_flight = false;
        ++completed_total;
      }
    }
    if (in_flight) expected.erase(pending);  // may be half applied

    RecordingUser user;
    {
      auto connection = Connect(dir.str());
      TLinkTableClass reopened(connection.get(), false);
      EXPECT_TRUE(reopened.GetTable().Active());
    }
    EXPECT_TRUE(user.notes.empty());
    const auto table = CheckTableWhole(dir.str());
    for (const auto& [pair, linked] : expected) {
      EXPECT_EQ(Holds(table, pair.first, pair.second), linked) << pair.first << "-" << pair.second;
      EXPECT_EQ(Holds(table, pair.second, pair.first), linked) << pair.second << "-" << pair.first;
    }
  }
  EXPECT_GT(completed_total, 10);
  std::printf("[   info   ] %d operations reported complete over 10 kills\n", completed_total);
}

// ---- two writers at once ----

// Adds each pair as the owner's link; reports one line per pair ("1", or "0"
// and the note shown).
int PairWriter(const std::string& dir, int start_fd, int report_fd,
               const std::vector<std::pair<int32_t, int32_t>>& pairs) {
  auto connection = Connect(dir);
  TLinkTableClass links(connection.get(), false);
  std::string go;
  RecordingUser user;
  for (auto [owner, linked] : pairs) {
    if (!ReadLine(start_fd, go)) return 5;  // in step with the other writer
    user.notes.clear();
    links.LinkIDs().clear();  // each pair has its own owner; the cache is one owner's
    const bool ok = links.AddLink({}, links.GetTable(), std::to_string(owner), linked);
    WriteAll(report_fd, ok && user.notes.empty() ? "1\n" : "0 " + (user.notes.empty() ? "" : user.notes[0]) + "\n");
  }
  return 0;
}

TEST(LinkTableProcesses, ConcurrentAddsOfDifferentPairsAllArriveOnBothSides) {
  TempDir dir;
  {
    auto connection = Connect(dir.str());
    TLinkTableClass create(connection.get(), true);
    ASSERT_TRUE(create.GetTable().Active());
  }
  // In step with each other, both add first links of the same new owners,
  // then links among shared addresses 1..6.
  std::vector<std::pair<int32_t, int32_t>> first, second;
  for (int32_t k = 0; k < 12; ++k) {
    first.push_back({400 + k, 500 + k});
    second.push_back({400 + k, 600 + k});
  }
  for (int32_t i = 1; i <= 6; ++i)
    for (int32_t j = i + 1; j <= 6; ++j) ((i + j) % 2 ? first : second).push_back({i, j});
  for (int32_t k = 0; k < 10; ++k) {
    first.push_back({200 + k, 1 + k % 6});
    second.push_back({300 + k, 1 + (k + 3) % 6});
  }

  int start1[2], start2[2], report1[2], report2[2];
  ASSERT_EQ(pipe(start1), 0);
  ASSERT_EQ(pipe(start2), 0);
  ASSERT_EQ(pipe(report1), 0);
  ASSERT_EQ(pipe(report2), 0);
  const pid_t a = Spawn([&] { return PairWriter(dir.str(), start1[0], report1[1], first); });
  const pid_t b = Spawn([&] { return PairWriter(dir.str(), start2[0], report2[1], second); });
  close(report1[1]);
  close(report2[1]);
  std::string line;
  for (size_t i = 0; i < std::max(first.size(), second.size()); ++i) {
    if (i < first.size()) WriteAll(start1[1], "go\n");
    if (i < second.size()) WriteAll(start2[1], "go\n");
    if (i < first.size()) {
      ASSERT_TRUE(ReadLine(report1[0], line));
      EXPECT_EQ(line, "1") << first[i].first << "-" << first[i].second;
    }
    if (i < second.size()) {
      ASSERT_TRUE(ReadLine(report2[0], line));
      EXPECT_EQ(line, "1") << second[i].first << "-" << second[i].second;
    }
  }
  EXPECT_EQ(WaitExit(a), 0);
  EXPECT_EQ(WaitExit(b), 0);
  for (int fd : {start1[0], start1[1], start2[0], start2[1], report1[0], report2[0]}) close(fd);

  const auto table = CheckTableWhole(dir.str());  // also: one record per address
  size_t links = 0;
  for (const auto& pairs : {first, second})
    for (auto [x, y] : pairs) {
      EXPECT_TRUE(Holds(table, x, y)) << x << " lacks " << y;
      EXPECT_TRUE(Holds(table, y, x)) << y << " lacks " << x;
      ++links;
    }
  size_t stored = 0;
  for (const auto& [self, list] : table) stored += list.size();
  EXPECT_EQ(stored, 2 * links);  // nothing else crept in
}

TEST(LinkTableProcesses, ARecordLockedByOneProcessGivesTheOtherALockErrorAndNothingBreaks) {
  TempDir dir;
  WriteLinkRecords(dir.str(), {{12, "7"}, {7, "12"}});
  int locked[2], release[2], report[2];
  ASSERT_EQ(pipe(locked), 0);
  ASSERT_EQ(pipe(release), 0);
  ASSERT_EQ(pipe(report), 0);

  const pid_t holder = Spawn([&] {
    auto connection = Connect(dir.str());
    TAdsTable t(nullptr, "holder");
    t.SetAdsConnection(connection.get());
    t.SetTableName(kLinkTableFile);
    t.Open();
    if (!t.Locate("SELFID", 12)) return 6;
    t.Edit();
    WriteAll(locked[1], "L\n");
    std::string line;
    ReadLine(release[0], line, 60000);
    t.Cancel();
    return 0;
  });
  std::string line;
  ASSERT_TRUE(ReadLine(locked[0], line));

  const pid_t other = Spawn([&] {
    RecordingUser user;
    auto connection = Connect(dir.str());
    TLinkTableClass links(connection.get(), false);
    int32_t nine = 9;
    const bool added = links.AddLink({}, links.GetTable(), "12", nine);
    const bool removed = links.RemoveLink("7", "12");
    WriteAll(report[1], std::string(added ? "1" : "0") + (removed ? "1" : "0") + "\n");
    for (const std::string& note : user.notes) WriteAll(report[1], note + "\n");
    WriteAll(report[1], "end\n");
    return 0;
  });
  ASSERT_TRUE(ReadLine(report[0], line));
  EXPECT_EQ(line, "00");  // both refused
  std::vector<std::string> notes;
  while (ReadLine(report[0], line) && line != "end") notes.push_back(line);
  EXPECT_EQ(WaitExit(other), 0);
  ASSERT_EQ(notes.size(), 2u);
  for (const std::string& note : notes) EXPECT_EQ(note.rfind("<B>Fehler:</B><BR>", 0), 0u) << note;
  EXPECT_EQ(LinkMap(dir.str()), (std::map<int32_t, std::string>{{7, "12"}, {12, "7"}}));

  WriteAll(release[1], "go\n");
  EXPECT_EQ(WaitExit(holder), 0);
  for (int fd : {locked[0], locked[1], release[0], release[1], report[0], report[1]}) close(fd);

  // Once released, the same work goes through.
  auto connection = Connect(dir.str());
  RecordingUser user;
  TLinkTableClass links(connection.get(), false);
  int32_t nine = 9;
  EXPECT_TRUE(links.AddLink({}, links.GetTable(), "12", nine));
  EXPECT_TRUE(links.RemoveLink("7", "12"));
  EXPECT_TRUE(user.notes.empty());
  EXPECT_EQ(LinkMap(dir.str()), (std::map<int32_t, std::string>{{9, "12"}, {12, "9"}}));
}

}  // namespace
}  // namespace zs::test
