// Shared by the link table tests: a private database directory per test, a
// connection to it, and a plain reader of every ADRESSLINK record.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "storage/database.h"
#include "storage/link_list.h"
#include "storage/link_table.h"
#include "tests/support/temp_dir.h"

namespace zs::test {

// A fresh directory, removed with its contents at the end.
class TempDir : public ScratchDirectory {
 public:
  TempDir() : ScratchDirectory("links") {}
};

struct LinkRecord {
  int32_t id = 0;
  int32_t self = 0;
  std::string list;
};

// Every record of ADRESSLINK in `directory`, in record order, read through a
// cursor of its own.
inline std::vector<LinkRecord> ReadLinkRecords(const std::string& directory) {
  TAdsConnection connection(nullptr, "reader");
  connection.SetConnectPath(directory);
  connection.SetIsConnected(true);
  TAdsTable table(nullptr, "reader");
  table.SetAdsConnection(&connection);
  table.SetTableName(kLinkTableFile);
  table.Open();
  std::vector<LinkRecord> out;
  for (table.First(); !table.Eof(); table.Next())
    out.push_back({table.FieldByName("ID").AsInteger(), table.FieldByName("SELFID").AsInteger(),
                   table.FieldByName("ADRESSID").AsString()});
  return out;
}

// SELFID -> list text; an owner with two records appears as "<first>|<second>".
inline std::map<int32_t, std::string> LinkMap(const std::string& directory) {
  std::map<int32_t, std::string> out;
  for (const LinkRecord& r : ReadLinkRecords(directory)) {
    auto [it, fresh] = out.emplace(r.self, r.list);
    if (!fresh) it->second += "|" + r.list;
  }
  return out;
}

// Appends records as another program would, creating the table first when
// it is missing.
inline void WriteLinkRecords(const std::string& directory, const std::vector<std::pair<int32_t, std::string>>& rows) {
  TAdsConnection connection(nullptr, "writer");
  connection.SetConnectPath(directory);
  connection.SetIsConnected(true);
  { TLinkTableClass creator(&connection, true); }
  TAdsTable table(nullptr, "writer");
  table.SetAdsConnection(&connection);
  table.SetTableName(kLinkTableFile);
  table.Open();
  for (const auto& [self, list] : rows) {
    table.Append();
    table.FieldByName("SELFID").SetAsInteger(self);
    table.FieldByName("ADRESSID").SetAsString(list);
    table.Post();
  }
}

// A connection to a private directory; the link table is created on demand.
class LinkTableTest : public ::testing::Test {
 protected:
  LinkTableTest() {
    connection.SetConnectPath(dir.str());
    connection.SetAdsServerTypes(stADS_LOCAL);
    connection.SetIsConnected(true);
  }
  std::unique_ptr<TLinkTableClass> Open() { return std::make_unique<TLinkTableClass>(&connection, true); }
  std::map<int32_t, std::string> Links() { return LinkMap(dir.str()); }
  // Holds the record of `self_id` locked through `other`, as another user
  // editing it does, until `other` cancels or closes.
  void LockElsewhere(TAdsTable& other, int32_t self_id) {
    other.SetAdsConnection(&connection);
    other.SetTableName(kLinkTableFile);
    other.Open();
    ASSERT_TRUE(other.Locate("SELFID", self_id));
    other.Edit();
  }

  TempDir dir;
  TAdsConnection connection{nullptr, "AdsConnection1"};
};

}  // namespace zs::test
