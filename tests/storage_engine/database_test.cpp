// Cursor semantics of the database objects over the SQLite engine.
#include <gtest/gtest.h>

#include <vector>

#include "storage/database.h"
#include "storage/engine.h"
#include "tests/storage_engine/link_fixture.h"
#include "tests/storage_engine/temp_dir.h"

namespace zs {
namespace {

using testing_support::AddRecord;
using testing_support::CreateLinkTable;
using testing_support::TempDir;

class LinkTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateLinkTable(dir.str());
    conn.SetConnectPath(dir.str());
    conn.SetAdsServerTypes(stADS_LOCAL);
    table.SetAdsConnection(&conn);
    table.SetTableName("ADRESSLINK.ADT");
  }

  // SELFID values in visiting order from First to EOF.
  std::vector<int> Visit() {
    std::vector<int> seen;
    for (table.First(); !table.Eof(); table.Next()) seen.push_back(table.FieldByName("SelfID").AsInteger());
    return seen;
  }

  TempDir dir;
  TAdsConnection conn;
  TAdsTable table;
};

TEST_F(LinkTableTest, EmptyTableHasEofAndBof) {
  table.Open();  // connects the closed connection
  EXPECT_TRUE(conn.IsConnected());
  EXPECT_TRUE(table.Eof());
  EXPECT_TRUE(table.Bof());
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_EQ(table.RecordCount(), 0);
  EXPECT_EQ(table.FieldByName("ADRESSID").AsString(), "");
}

TEST_F(LinkTableTest, NaturalOrderTagOrderAndFlags) {
  table.Open();
  AddRecord(table, 30, "1");
  AddRecord(table, 10, "2");
  AddRecord(table, 20, "3");
  AddRecord(table, 10, "4");
  EXPECT_EQ(Visit(), (std::vector<int>{30, 10, 20, 10}));
  table.First();
  EXPECT_TRUE(table.Bof());
  EXPECT_FALSE(table.Eof());
  table.Next();
  EXPECT_FALSE(table.Bof());

  table.SetIndexName("selfid");
  std::vector<std::string> lists;
  for (table.First(); !table.Eof(); table.Next()) lists.push_back(table.FieldByName("adressid").AsString());
  EXPECT_EQ(lists, (std::vector<std::string>{"2", "4", "3", "1"}));  // equal keys in record order
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.FieldByName("SELFID").AsInteger(), 30);  // past the end: still the last record
  EXPECT_EQ(table.RecordCount(), 4);
}

TEST_F(LinkTableTest, AutoIncAssignedOnAppendAndNeverReused) {
  table.Open();
  AddRecord(table, 1, "a");
  AddRecord(table, 2, "b");
  EXPECT_EQ(table.FieldByName("ID").AsInteger(), 2);
  table.Delete();
  AddRecord(table, 3, "c");
  EXPECT_EQ(table.FieldByName("ID").AsInteger(), 3);
  table.Close();
  table.Open();
  AddRecord(table, 4, "d");
  EXPECT_EQ(table.FieldByName("ID").AsInteger(), 4);
}

TEST_F(LinkTableTest, FilterLocateAndDelete) {
  table.Open();
  for (int i = 0; i < 6; ++i) AddRecord(table, i % 2 ? 7 : 8, std::to_string(i));
  table.SetFilter("SelfID=7");
  table.Next();  // somewhere in the middle
  table.SetFiltered(true);
  EXPECT_TRUE(table.Bof());  // switching the filter on moves to the first visible record
  EXPECT_EQ(table.FieldByName("ADRESSID").AsString(), "1");
  EXPECT_EQ(table.RecordCount(), 3);
  EXPECT_EQ(Visit(), (std::vector<int>{7, 7, 7}));

  // Locate sees only visible records and stays put when there is none.
  table.First();
  table.Next();
  EXPECT_FALSE(table.Locate("SELFID", 8));
  EXPECT_EQ(table.FieldByName("ADRESSID").AsString(), "3");
  EXPECT_TRUE(table.Locate("adressid", std::string_view("5")));
  EXPECT_EQ(table.FieldByName("ADRESSID").AsString(), "5");
  EXPECT_FALSE(table.Locate("ADRESSID", std::string_view("5 ")));  // exact, no padding

  // Delete moves to the next visible record.
  table.First();
  table.Delete();
  EXPECT_EQ(table.FieldByName("ADRESSID").AsString(), "3");
  table.SetFiltered(false);
  EXPECT_EQ(table.FieldByName("ADRESSID").AsString(), "0");
  EXPECT_EQ(table.RecordCount(), 5);
  EXPECT_TRUE(table.Locate("ID", 4));
  EXPECT_EQ(table.FieldByName("ADRESSID").AsString(), "3");
}

TEST_F(LinkTableTest, CharValuesReadBackExactlyAndTooLongIsRefused) {
  table.Open();
  const std::string values[] = {"", " lead", "trail  ", "12,405,9", std::string(4000, 'x'), "\xE4\xF6\xFC\xDF"};
  for (const std::string& v : values) AddRecord(table, 1, v);
  int i = 0;
  for (table.First(); !table.Eof(); table.Next()) EXPECT_EQ(table.FieldByName("ADRESSID").AsString(), values[i++]);
  EXPECT_EQ(i, 6);

  table.Append();
  try {
    table.FieldByName("ADRESSID").SetAsString(std::string(4001, '1'));
    FAIL() << "a value longer than the field was taken";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ErrorCode(), engine::kErrValueTooLong);
    EXPECT_NE(std::string(e.what()).find("4000"), std::string::npos);
  }
  table.Cancel();
  EXPECT_EQ(table.RecordCount(), 6);
}

TEST_F(LinkTableTest, BadFiltersAreRefused) {
  table.Open();
  for (const char* f : {"SELFID>7", "SELFID=abc", "CAT=1", "NOFIELD=1", "SELFID=1 AND ID=2", "SELFID=99999999999"}) {
    table.SetFilter(f);
    EXPECT_THROW(table.SetFiltered(true), EADSDatabaseError) << f;
    EXPECT_FALSE(table.Filtered()) << f;
  }
}

TEST_F(LinkTableTest, RecordLockConflictsBetweenCursorsAndConnections) {
  table.Open();
  AddRecord(table, 12, "7");
  TAdsConnection other_conn;
  other_conn.SetConnectPath(dir.str());
  TAdsTable other;
  other.SetAdsConnection(&other_conn);
  other.SetTableName("adresslink");
  other.Open();

  table.Edit();
  try {
    other.Edit();
    FAIL() << "second lock granted";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ErrorCode(), engine::kErrRecordLocked);
    EXPECT_FALSE(std::string(e.what()).empty());
  }
  EXPECT_THROW(other.Delete(), EADSDatabaseError);
  table.FieldByName("ADRESSID").SetAsString("7,9");
  table.Post();  // releases the lock
  other.Edit();  // and reads the record again
  EXPECT_EQ(other.FieldByName("ADRESSID").AsString(), "7,9");
  other.Cancel();
  table.Edit();
  table.Close();  // closing releases it too
  other.Edit();
  other.Cancel();
}

TEST_F(LinkTableTest, ChangesOfAnotherCursorShowOnRefresh) {
  table.Open();
  TAdsTable other;
  other.SetAdsConnection(&conn);
  other.SetTableName("ADRESSLINK");
  other.Open();
  EXPECT_TRUE(other.IsEmpty());
  AddRecord(table, 5, "6");
  other.Refresh();
  ASSERT_FALSE(other.IsEmpty());
  table.Edit();
  table.FieldByName("ADRESSID").SetAsString("6,8");
  table.Post();
  other.Refresh();
  EXPECT_EQ(other.FieldByName("ADRESSID").AsString(), "6,8");
}

TEST(ConnectionTest, ConnectPathFixedWhileConnectedAndServerMask) {
  TempDir dir;
  TAdsConnection conn;
  conn.SetConnectPath(dir.str());
  conn.SetAdsServerTypes(stADS_REMOTE);
  conn.SetIsConnected(true);
  try {
    conn.SetConnectPath("elsewhere");
    FAIL();
  } catch (const EADSDatabaseError& e) {
    EXPECT_STREQ(e.what(), "The TAdsConnection.ConnectPath may not be changed when IsConnected is TRUE");
  }
  uint16_t mask = 0;
  ASSERT_EQ(engine::Engine().GetConnectionType(conn.Handle(), &mask), 0u);
  EXPECT_EQ(mask, 2);
  conn.SetIsConnected(false);
  conn.SetConnectPath(dir.str() + "/");
  conn.SetIsConnected(true);
  EXPECT_TRUE(conn.IsConnected());

  EXPECT_EQ(ServerTypeMask(stADS_REMOTE), 2);
  EXPECT_EQ(ServerTypeMask(stADS_LOCAL), 1);
  EXPECT_EQ(ServerTypeMask(stADS_AIS), 4);
  EXPECT_EQ(ServerTypeMask(stADS_REMOTE | stADS_AIS), 6);
}

TEST_F(LinkTableTest, ExistsFollowsTheNameRule) {
  struct Case {
    const char* name;
    bool exists;
  };
  const Case cases[] = {{"ADRESSLINK", true},      {"adresslink", true}, {"ADRESSLINK.ADT", true},
                        {"ADRESSLINK.ADI", false}, {"ADRESS", false},    {"", false}};
  for (const Case& c : cases) {
    TAdsTable t;
    t.SetAdsConnection(&conn);
    t.SetTableName(c.name);
    EXPECT_EQ(t.Exists(), c.exists) << c.name;
  }
  table.Open();
  EXPECT_FALSE(table.Exists());  // only a closed cursor asks
  TAdsTable unbound;
  unbound.SetTableName("ADRESSLINK");
  EXPECT_FALSE(unbound.Exists());
}

TEST_F(LinkTableTest, LocateTakesOnlyExactIntegers) {
  table.Open();
  AddRecord(table, 0, "zero");
  AddRecord(table, 12, "twelve");
  for (const char* text : {"", " 12", "12 ", "12x", "+", "99999999999"})
    EXPECT_FALSE(table.Locate("SELFID", std::string_view(text))) << text;
  EXPECT_TRUE(table.Locate("selfid", std::string_view("12")));
  EXPECT_EQ(table.FieldByName("ADRESSID").AsString(), "twelve");
  EXPECT_THROW(table.Locate("NOFIELD", 1), EADSDatabaseError);
}

TEST_F(LinkTableTest, FailedPostCancelsTheEditAndReleasesTheLock) {
  TAdsTable nums;
  nums.SetAdsConnection(&conn);
  nums.SetTableName("Nums");
  nums.FieldDefs() = {{"ID", TFieldType::ftAutoInc, 0}, {"N", TFieldType::ftInteger, 0}};
  nums.CreateTable();
  nums.Open();
  nums.AddIndex("N", "N", true);
  for (int n : {1, 2}) {
    nums.Append();
    nums.FieldByName("N").SetAsInteger(n);
    nums.Post();
  }
  nums.Edit();  // on N = 2
  nums.FieldByName("N").SetAsInteger(1);
  try {
    nums.Post();
    FAIL() << "a duplicate key was written";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ErrorCode(), engine::kErrDuplicateKey);
  }
  EXPECT_EQ(nums.State(), TDataSetState::dsBrowse);
  TAdsTable other;
  other.SetAdsConnection(&conn);
  other.SetTableName("nums.adt");
  other.Open();
  ASSERT_TRUE(other.Locate("N", 2));
  other.Edit();  // the failed post left no lock behind
  other.Cancel();
}

TEST(SettingsTest, OnlyOnePerProcessAndRefusedSettingsRaise) {
  {
    TAdsSettings settings;
    EXPECT_EQ(settings.ClassName(), "TAdsSettings");
    try {
      TAdsSettings second;
      FAIL() << "a second settings object was made";
    } catch (const AdsError& e) {
      EXPECT_STREQ(e.what(), "Only one AdsSettings component is allowed per application");
    }
    settings.NumDecimals = -1;
    EXPECT_THROW(settings.Apply(), AdsError);
    settings.NumDecimals = 2;
    settings.AdsServerTypes = 0;
    EXPECT_THROW(settings.Apply(), AdsError);
    settings.AdsServerTypes = stADS_REMOTE | stADS_AIS;
    settings.Apply();
  }
  TAdsSettings again;  // the first one is gone
}

}  // namespace
}  // namespace zs
