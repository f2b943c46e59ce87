// The engine interface itself: names as Windows spells them, files that are
// not ours, error numbers and texts, cursor moves, locks between cursors.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <vector>

#include "storage/engine.h"
#include "tests/storage_engine/link_fixture.h"
#include "tests/storage_engine/temp_dir.h"

namespace zs::engine {
namespace {

using testing_support::CreateLinkTable;
using testing_support::TempDir;

TableEngine& E() { return Engine(); }

std::string LastText() {
  std::string text;
  E().LastError(&text);
  return text;
}

// Expects `rc` to be the error `code`, with a text to show.
#define EXPECT_ENGINE_ERROR(call, code)                 \
  do {                                                  \
    uint32_t rc_ = (call);                              \
    EXPECT_EQ(rc_, static_cast<uint32_t>(code)) << #call; \
    std::string text_;                                  \
    EXPECT_EQ(E().LastError(&text_), rc_);              \
    EXPECT_FALSE(text_.empty()) << #call;               \
  } while (0)

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateLinkTable(dir.str());
    ASSERT_EQ(E().Connect(dir.str(), kServerLocal, &conn), 0u) << LastText();
  }
  void TearDown() override { E().Disconnect(conn); }

  Handle Open(const std::string& name = "ADRESSLINK") {
    Handle t = 0;
    EXPECT_EQ(E().OpenTable(conn, name, &t), 0u) << LastText();
    return t;
  }
  void Append(Handle t, int self, const std::string& list) {
    ASSERT_EQ(E().AppendRecord(t), 0u);
    ASSERT_EQ(E().SetLong(t, "SELFID", self), 0u);
    ASSERT_EQ(E().SetString(t, "ADRESSID", list), 0u);
    ASSERT_EQ(E().WriteRecord(t), 0u) << LastText();
    ASSERT_EQ(E().UnlockRecord(t), 0u);
  }
  int32_t Self(Handle t) {
    int32_t v = -1;
    EXPECT_EQ(E().GetLong(t, "selfid", &v), 0u) << LastText();
    return v;
  }
  bool Eof(Handle t) {
    bool b = false;
    E().AtEOF(t, &b);
    return b;
  }
  bool Bof(Handle t) {
    bool b = false;
    E().AtBOF(t, &b);
    return b;
  }

  TempDir dir;
  Handle conn = 0;
};

TEST_F(EngineTest, DirectoryAndTableNamesAsWindowsSpellsThem) {
  Handle t = Open();
  Append(t, 42, "1");
  E().CloseTable(t);

  std::string upper = dir.str(), backslashed = dir.str();
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
  const std::string dirs[] = {dir.str(), dir.str() + "\\", dir.str() + "/", upper, backslashed + "\\"};
  const char* names[] = {"ADRESSLINK", "ADRESSLINK.ADT", "adresslink.adt", "AdressLink"};
  for (const std::string& d : dirs) {
    Handle c = 0;
    ASSERT_EQ(E().Connect(d, kServerRemote, &c), 0u) << d << ": " << LastText();
    for (const char* n : names) {
      Handle tt = 0;
      ASSERT_EQ(E().OpenTable(c, n, &tt), 0u) << d << " " << n << ": " << LastText();
      EXPECT_EQ(Self(tt), 42) << d << " " << n;
      E().CloseTable(tt);
    }
    E().Disconnect(c);
  }
  // One file only: the names did not create others.
  int tables = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path()))
    if (e.path().extension() == ".ADT") ++tables;
  EXPECT_EQ(tables, 1);
}

TEST_F(EngineTest, FilesOfAnotherFormatAreNeverTouched) {
  // The vendor's table header starts with binary fields, not with SQLite's.
  std::string vendor("\x03\x7A\x01\x00\x10\x00\x00\x00" "Advantage Table" "\x00", 24);
  vendor += std::string(2000, '\x20');
  for (int i = 0; i < 200; ++i) vendor += static_cast<char>(i * 37);
  dir.Write("Adressen.adt", vendor);
  dir.Write("Empty.adt", "");
  {  // A plain SQLite file that is not one of our tables.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir.File("Plain.adt").c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES(1);", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  const std::string plain = dir.Read("Plain.adt");

  for (const char* name : {"Adressen.adt", "ADRESSEN", "Empty.adt", "Plain"}) {
    Handle t = 99;
    EXPECT_ENGINE_ERROR(E().OpenTable(conn, name, &t), kErrForeignFile);
    EXPECT_EQ(t, 0u);
    EXPECT_ENGINE_ERROR(E().CreateTable(conn, name, {{"ID", FieldType::AutoInc, 0}}), kErrFileExists);
  }
  EXPECT_EQ(dir.Read("Adressen.adt"), vendor);
  EXPECT_EQ(dir.Read("Empty.adt"), "");
  EXPECT_EQ(dir.Read("Plain.adt"), plain);
  EXPECT_FALSE(std::filesystem::exists(dir.File("Adressen.adt-journal")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("Adressen.adt-lock")));
}

TEST_F(EngineTest, DamagedTablesGiveErrorsNotCrashes) {
  Handle t = Open();
  for (int i = 0; i < 300; ++i) Append(t, i, std::string(200, 'a' + i % 26));
  E().CloseTable(t);
  const std::string good = dir.Read("ADRESSLINK.ADT");
  ASSERT_GT(good.size(), 8192u);
  // Cut short; and our header in front of noise.
  std::string noise = good.substr(0, 100);
  for (size_t i = 100; i < good.size(); ++i) noise += static_cast<char>((i * 2654435761u) >> 13);
  int failures = 0;
  for (const std::string& bytes : {good.substr(0, good.size() / 2), noise}) {
    dir.Write("ADRESSLINK.ADT", bytes);
    Handle d = 0;
    uint32_t rc = E().OpenTable(conn, "ADRESSLINK", &d);
    for (int i = 0; rc == kOk && i < 400; ++i) {
      bool eof = false;
      E().AtEOF(d, &eof);
      if (eof) break;
      rc = E().Skip(d, 1);
    }
    if (rc != kOk) {
      ++failures;
      EXPECT_FALSE(LastText().empty());
    }
    if (d) E().CloseTable(d);
  }
  EXPECT_GE(failures, 1);  // the noise at least is reported
}

TEST_F(EngineTest, ErrorsCarryNumberAndText) {
  Handle t = Open();
  Handle none = 0;
  EXPECT_ENGINE_ERROR(E().Connect(dir.str() + "/missing", kServerLocal, &none), kErrDirectoryNotFound);
  EXPECT_ENGINE_ERROR(E().Connect(dir.str() + "/db.add", kServerLocal, &none), kErrNotSupported);
  EXPECT_ENGINE_ERROR(E().OpenTable(conn, "NOTHERE", &none), kErrTableNotFound);
  EXPECT_ENGINE_ERROR(E().OpenTable(12345, "ADRESSLINK", &none), kErrInvalidHandle);
  EXPECT_ENGINE_ERROR(E().Skip(777777, 1), kErrInvalidHandle);

  EXPECT_ENGINE_ERROR(E().SetString(t, "ADRESSID", "1"), kErrWrongState);  // not editing
  EXPECT_ENGINE_ERROR(E().LockRecord(t), kErrNoCurrentRecord);             // empty table
  EXPECT_ENGINE_ERROR(E().DeleteRecord(t), kErrNoCurrentRecord);
  EXPECT_ENGINE_ERROR(E().SetOrder(t, "NOTAG"), kErrTagNotFound);
  bool found = true;
  EXPECT_ENGINE_ERROR(E().Seek(t, "NOTAG", "1", &found), kErrTagNotFound);
  EXPECT_ENGINE_ERROR(E().CreateIndex(t, "X", "NOFIELD", false), kErrBadFieldDef);
  EXPECT_ENGINE_ERROR(E().CreateIndex(t, "selfid", "SELFID", false), kErrBadFieldDef);  // exists

  ASSERT_EQ(E().AppendRecord(t), 0u);
  EXPECT_ENGINE_ERROR(E().SetString(t, "NOFIELD", "1"), kErrFieldNotFound);
  EXPECT_ENGINE_ERROR(E().SetString(t, "SELFID", "12a"), kErrBadValue);
  EXPECT_ENGINE_ERROR(E().SetLong(t, "ID", 5), kErrBadValue);  // AutoInc is the engine's
  EXPECT_ENGINE_ERROR(E().SetString(t, "CAT", std::string(31, 'c')), kErrValueTooLong);
  EXPECT_ENGINE_ERROR(E().GotoTop(t), kErrWrongState);  // an append is pending
  ASSERT_EQ(E().UnlockRecord(t), 0u);

  const std::vector<std::vector<FieldDef>> bad_defs = {
      {},
      {{"A", FieldType::Char, 0}},
      {{"A", FieldType::Integer, 0}, {"a", FieldType::Integer, 0}},
      {{"A", FieldType::AutoInc, 0}, {"B", FieldType::AutoInc, 0}},
      {{"", FieldType::Integer, 0}},
  };
  for (const auto& defs : bad_defs) EXPECT_ENGINE_ERROR(E().CreateTable(conn, "Bad", defs), kErrBadFieldDef);
  EXPECT_FALSE(std::filesystem::exists(dir.File("Bad.adt")));
}

TEST_F(EngineTest, UniqueTagRefusesDuplicateKeys) {
  ASSERT_EQ(E().CreateTable(conn, "Nums", {{"ID", FieldType::AutoInc, 0}, {"N", FieldType::Integer, 0}}), 0u);
  Handle t = Open("nums");
  ASSERT_EQ(E().CreateIndex(t, "N", "N", true), 0u) << LastText();
  for (int n : {5, 5}) {
    ASSERT_EQ(E().AppendRecord(t), 0u);
    ASSERT_EQ(E().SetLong(t, "N", n), 0u);
    uint32_t rc = E().WriteRecord(t);
    E().UnlockRecord(t);
    if (rc != 0) {
      EXPECT_EQ(rc, kErrDuplicateKey);
    }
  }
  uint32_t count = 0;
  ASSERT_EQ(E().GetRecordCount(t, &count), 0u);
  EXPECT_EQ(count, 1u);
}

TEST_F(EngineTest, MovesFlagsSeekAndBookmarks) {
  Handle t = Open();
  for (int s : {5, 3, 9, 3, 1}) Append(t, s, std::to_string(s));
  ASSERT_EQ(E().SetOrder(t, "SELFID"), 0u);
  ASSERT_EQ(E().GotoTop(t), 0u);

  struct Step {
    int skip;
    int self;
    bool eof, bof;
  };
  // Order on SELFID: 1, 3, 3, 5, 9.
  const Step steps[] = {{1, 3, false, false}, {1, 3, false, false}, {1, 5, false, false}, {1, 9, false, false},
                        {1, 9, true, false},  {-1, 5, false, false}, {-1, 3, false, false}, {-1, 3, false, false},
                        {-1, 1, false, false}, {-1, 1, false, true}};
  for (const Step& s : steps) {
    ASSERT_EQ(E().Skip(t, s.skip), 0u);
    EXPECT_EQ(Self(t), s.self);
    EXPECT_EQ(Eof(t), s.eof);
    EXPECT_EQ(Bof(t), s.bof);
  }

  bool found = false;
  ASSERT_EQ(E().Seek(t, "SELFID", "5", &found), 0u);
  EXPECT_TRUE(found);
  Bookmark mark;
  ASSERT_EQ(E().GetBookmark(t, &mark), 0u);
  ASSERT_EQ(E().Seek(t, "SELFID", "4", &found), 0u);
  EXPECT_FALSE(found);
  EXPECT_EQ(Self(t), 5);  // stays put
  ASSERT_EQ(E().Seek(t, "SELFID", "x", &found), 0u);
  EXPECT_FALSE(found);
  ASSERT_EQ(E().Skip(t, 1), 0u);
  EXPECT_EQ(Self(t), 9);  // moves go on in the cursor's order
  ASSERT_EQ(E().GotoBookmark(t, mark), 0u);
  EXPECT_EQ(Self(t), 5);
  ASSERT_EQ(E().Seek(t, "SELFID", "3", &found), 0u);
  std::string list;
  E().GetString(t, "ID", &list);
  EXPECT_EQ(list, "2");  // the first of equal keys, in record order
  ASSERT_EQ(E().GotoBottom(t), 0u);
  EXPECT_EQ(Self(t), 9);

  // Deleting the last visible record: on the new last one, EOF set.
  ASSERT_EQ(E().DeleteRecord(t), 0u);
  EXPECT_EQ(Self(t), 5);
  EXPECT_TRUE(Eof(t));
}

TEST_F(EngineTest, NoReadStaysOpenBetweenCalls) {
  Handle t = Open();
  for (int i = 0; i < 40; ++i) Append(t, i, "x");
  ASSERT_EQ(E().GotoTop(t), 0u);
  ASSERT_EQ(E().Skip(t, 3), 0u);  // read-ahead taken, statements reset

  // Another writer gets the file's exclusive lock without waiting at all.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(dir.File("ADRESSLINK.ADT").c_str(), &db), SQLITE_OK);
  sqlite3_busy_timeout(db, 0);
  EXPECT_EQ(sqlite3_exec(db, "BEGIN EXCLUSIVE; UPDATE records SET f4 = 'y'; COMMIT;", nullptr, nullptr, nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(db);
  sqlite3_close(db);

  // A lock reads the record afresh.
  ASSERT_EQ(E().LockRecord(t), 0u);
  std::string cat;
  E().GetString(t, "CAT", &cat);
  EXPECT_EQ(cat, "y");
  E().UnlockRecord(t);
}

TEST_F(EngineTest, DisconnectClosesItsTablesAndMaskIsKept) {
  Handle c = 0;
  ASSERT_EQ(E().Connect(dir.str(), kServerRemote | kServerAis, &c), 0u);
  uint16_t mask = 0;
  ASSERT_EQ(E().GetConnectionType(c, &mask), 0u);
  EXPECT_EQ(mask, kServerRemote | kServerAis);
  Handle t = 0;
  ASSERT_EQ(E().OpenTable(c, "ADRESSLINK", &t), 0u);
  ASSERT_EQ(E().Disconnect(c), 0u);
  EXPECT_ENGINE_ERROR(E().GotoTop(t), kErrInvalidHandle);
}

TEST_F(EngineTest, TableLockIsExclusiveAndReleasedOnClose) {
  Handle a = Open(), b = Open();
  ASSERT_EQ(E().LockTable(a), 0u);
  EXPECT_ENGINE_ERROR(E().LockTable(b), kErrTableLocked);  // after the bounded wait
  Append(b, 1, "2");  // writers are not blocked by it
  E().CloseTable(a);
  EXPECT_EQ(E().LockTable(b), 0u);
  EXPECT_EQ(E().UnlockTable(b), 0u);
}

}  // namespace
}  // namespace zs::engine
