// The link table ADRESSLINK: one record per address that has links, SELFID
// its address ID and ADRESSID the comma list (storage/link_list.h) of the
// addresses linked to it. Every link is stored on both sides. TLinkTableClass
// is the table's only writer; readers use the cursor of GetTable.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "storage/database.h"
#include "storage/link_list.h"
#include "storage/simple_ads_table.h"

namespace zs {

constexpr const char* kLinkTableName = "ADRESSLINK";
constexpr const char* kLinkTableFile = "ADRESSLINK.ADT";

// Where the window that adds a link stands, for placing the address finder
// beside it, and the width of the screen it is on.
struct TControllerPlace {
  int Left = 0;
  int Top = 0;
  int ScreenWidth = 0;
};

// Called once for every list an ID was taken from: (owner of the list, ID).
using TOnRemoved = std::function<void(const std::string& owner_id, const std::string& removed_id)>;

class TLinkTableClass : public TSimpleAdsTable {
 public:
  // Opens the table on `connection` (not owned; it must outlive this object),
  // creating it when missing and `create_if_missing` is set. Never throws on
  // database errors: OpenTable reports them and leaves the cursors closed.
  TLinkTableClass(TAdsConnection* connection, bool create_if_missing);
  ~TLinkTableClass() override;

  // Creates ADRESSLINK with its fields ID (AutoInc), ADRESSID (Char 4000),
  // SELFID (Integer), CAT (Char 30) and the index tags ID (unique) and SELFID
  // in `directory`, first deleting leftover ADRESSLINK files there. true when
  // the table exists afterwards; engine errors are thrown to the caller.
  bool CreateTable(const std::string& directory, TAdsServerTypes server_types) override;
  // The owner-side cursor, ordered by SELFID.
  TAdsTable& GetTable() override { return FTable; }
  // Does nothing while the table is open. Otherwise looks for ADRESSLINK.ADT
  // in the connection's directory, creates it when missing (if asked to) and
  // opens both cursors. Failures are shown as a note, never thrown.
  void OpenTable(TAdsConnection* connection, bool create_if_missing) override;

  // Links `owner_id` and `linked_id` on both sides. A `linked_id` of 0 lets
  // the user choose in the suite's address finder (registered by another
  // module as "TFExAdressFinderClass"; without it the choice is 0) and passes
  // the chosen ID back. Linking an owner to itself or to an ID of LinkIDs
  // beeps and answers false. A link that would make either list longer than
  // ADRESSID holds is refused with a note and nothing is written. Engine
  // errors are shown as a note. true once the owner's list holds the link;
  // LinkIDs then holds the owner's list as stored.
  bool AddLink(const TControllerPlace& controller, TAdsTable& address_table, const std::string& owner_id,
               int32_t& linked_id);
  // Takes each ID out of the other's list, deleting records whose list
  // becomes empty, and calls `on_removed` (may be empty) for each list it
  // takes an ID from: the partner's first, then the owner's. LinkIDs then
  // holds the owner's remaining list. true unless an error was shown; true
  // without work when GetTable shows no record.
  bool RemoveLink(const std::string& owner_id, const std::string& linked_id, const TOnRemoved& on_removed = {});

  // The cached list of one owner's links, filled by the link editor from the
  // owner's record; AddLink refuses IDs it holds.
  TLinkList& LinkIDs() { return FLinkIDs; }
  // The second cursor, natural order: finds and changes the other side.
  TAdsTable& PartnerTable() { return FPartnerTable; }

 private:
  void Bind(TAdsConnection* connection);
  int32_t ChooseInFinder(const TControllerPlace& controller, TAdsTable& address_table);
  void AddToList(int32_t self_id, const std::string& self_text, const std::string& item, TLinkList* stored);

  TAdsTable FTable;
  TAdsTable FPartnerTable;
  TLinkList FLinkIDs;
};

}  // namespace zs
