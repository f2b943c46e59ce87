// Builds small databases for the overview's tests and benchmark: an address
// table with exactly the given records and a link table with exactly the
// given link records, written through the database objects.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "storage/database.h"
#include "storage/link_table.h"

namespace zs::test {

struct TTestAddress {
  int32_t id = 0;
  std::string nname, vname, abt, knr, gr;
};

struct TTestLinkRecord {
  int32_t self_id = 0;
  std::string list;  // the ADRESSID text as stored
  bool operator==(const TTestLinkRecord&) const = default;
};
inline void PrintTo(const TTestLinkRecord& r, std::ostream* os) { *os << r.self_id << ":" << r.list; }

// Writes Adressen.adt (index tag "ID") and ADRESSLINK into `dir`, which must
// hold neither yet.
inline void WriteLinkDatabase(const std::string& dir, const std::vector<TTestAddress>& addresses,
                              const std::vector<TTestLinkRecord>& records) {
  TAdsConnection connection(nullptr, "TestConnection");
  connection.SetConnectPath(dir);
  connection.SetAdsServerTypes(stADS_LOCAL);
  connection.SetIsConnected(true);
  {
    TAdsTable adr(nullptr, "Adressen");
    adr.SetAdsConnection(&connection);
    adr.SetTableName("Adressen.adt");
    adr.FieldDefs() = {{"ID", TFieldType::ftInteger, 0},    {"KNR", TFieldType::ftString, 20},
                       {"GR", TFieldType::ftString, 30},    {"Abt", TFieldType::ftString, 80},
                       {"NName", TFieldType::ftString, 60}, {"VName", TFieldType::ftString, 40}};
    adr.CreateTable();
    adr.Open();
    adr.AddIndex("ID", "ID", true);
    for (const TTestAddress& a : addresses) {
      adr.Append();
      adr.FieldByName("ID").SetAsInteger(a.id);
      adr.FieldByName("KNR").SetAsString(a.knr);
      adr.FieldByName("GR").SetAsString(a.gr);
      adr.FieldByName("Abt").SetAsString(a.abt);
      adr.FieldByName("NName").SetAsString(a.nname);
      adr.FieldByName("VName").SetAsString(a.vname);
      adr.Post();
    }
    adr.Close();
  }
  TLinkTableClass links(&connection, true);
  TAdsTable& t = links.GetTable();
  for (const TTestLinkRecord& r : records) {
    t.Append();
    t.FieldByName("SelfID").SetAsInteger(r.self_id);
    t.FieldByName("AdressID").SetAsString(r.list);
    t.Post();
  }
}

// The link records of a database, SELFID -> list, in SELFID order.
inline std::vector<TTestLinkRecord> ReadLinkRecords(const std::string& dir) {
  TAdsConnection connection(nullptr, "ReadConnection");
  connection.SetConnectPath(dir);
  connection.SetAdsServerTypes(stADS_LOCAL);
  connection.SetIsConnected(true);
  TAdsTable t(nullptr, "ReadLinks");
  t.SetAdsConnection(&connection);
  t.SetTableName("ADRESSLINK.ADT");
  t.Open();
  t.SetIndexName("SELFID");
  std::vector<TTestLinkRecord> out;
  for (t.First(); !t.Eof(); t.Next())
    out.push_back({t.FieldByName("SelfID").AsInteger(), t.FieldByName("AdressID").AsString()});
  return out;
}

}  // namespace zs::test
