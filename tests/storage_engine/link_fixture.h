// A directory with an ADRESSLINK-shaped table, made through the database objects.
#pragma once

#include <string>

#include "storage/database.h"
#include "tests/storage_engine/temp_dir.h"

namespace zs::testing_support {

inline void CreateLinkTable(const std::string& dir, const std::string& name = "ADRESSLINK") {
  TAdsConnection conn;
  conn.SetConnectPath(dir);
  conn.SetIsConnected(true);
  TAdsTable t;
  t.SetAdsConnection(&conn);
  t.SetTableName(name);
  t.FieldDefs() = {{"ID", TFieldType::ftAutoInc, 0},
                   {"ADRESSID", TFieldType::ftString, 4000},
                   {"SELFID", TFieldType::ftInteger, 0},
                   {"CAT", TFieldType::ftString, 30}};
  t.CreateTable();
  t.Open();
  t.AddIndex("ID", "ID", true);
  t.AddIndex("SELFID", "SELFID", false);
  t.Close();
}

// A connection to `dir` and the table `name` on it, opened shared.
struct OpenedTable {
  explicit OpenedTable(const std::string& dir, const std::string& name = "ADRESSLINK") {
    conn.SetConnectPath(dir);
    table.SetAdsConnection(&conn);
    table.SetTableName(name);
    table.Open();
  }
  TAdsConnection conn;  // declared first: the table closes before its connection goes
  TAdsTable table;
};

// Appends one record (SELFID, ADRESSID) through `t`.
inline void AddRecord(TAdsTable& t, int self, const std::string& list) {
  t.Append();
  t.FieldByName("SELFID").SetAsInteger(self);
  t.FieldByName("ADRESSID").SetAsString(list);
  t.Post();
}

}  // namespace zs::testing_support
