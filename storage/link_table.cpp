#include "storage/link_table.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <stdexcept>
#include <vector>

#include "editor/class_registry.h"
#include "kit/win_text.h"
#include "storage/engine_os.h"
#include "ui/user_seams.h"

namespace zs {
namespace {

constexpr const char* kErrorHeading = "<B>Fehler:</B><BR>";

// An address ID in its decimal text form; false for anything else.
bool ParseId(std::string_view text, int32_t& id) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, id);
  return ec == std::errc() && p == end && !text.empty();
}

int32_t RequireId(const std::string& text) {
  int32_t id = 0;
  if (!ParseId(text, id)) throw std::runtime_error("\"" + text + "\" ist keine gültige Adressnummer.");
  return id;
}

// An edit of the cursor's current record: the record is locked from the
// constructor until Post, Delete or the end of the scope, which cancels, so
// no way out leaves the record locked.
class RecordEdit {
 public:
  enum Mode { kEdit, kAppend };
  explicit RecordEdit(TAdsTable& table, Mode mode = kEdit) : table_(table) {
    if (mode == kAppend)
      table_.Append();
    else
      table_.Edit();
  }
  ~RecordEdit() {
    if (!open_) return;
    try {
      table_.Cancel();
    } catch (...) {
    }
  }
  RecordEdit(const RecordEdit&) = delete;
  RecordEdit& operator=(const RecordEdit&) = delete;
  void Post() {
    open_ = false;
    table_.Post();
  }
  void Delete() {
    open_ = false;
    table_.Delete();
  }

 private:
  TAdsTable& table_;
  bool open_ = true;
};

class TableLock {
 public:
  explicit TableLock(TAdsTable& table) : table_(table) { table_.LockTable(); }
  ~TableLock() {
    try {
      table_.UnlockTable();
    } catch (...) {
    }
  }
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;

 private:
  TAdsTable& table_;
};

TLinkList ReadList(TAdsTable& table) { return ReadLinkList(table.FieldByName("ADRESSID").AsString()); }

// The list the table holds for `self_id` now (empty when it has no record).
TLinkList PeekList(TAdsTable& table, int32_t self_id) {
  if (!table.Locate("SELFID", self_id)) return {};
  return ReadList(table);
}

std::string TooLongMessage(const std::string& self, const std::string& item) {
  return "Die Liste der verbundenen Adressen von Adresse " + self + " würde länger als " +
         std::to_string(kLinkListMaxLength) + " Zeichen. Die Verbindung zwischen " + self + " und " + item +
         " wurde nicht gespeichert.";
}

// `list` with `item` appended unless it holds it already; throws when the
// result would not fit into ADRESSID.
bool WithItem(TLinkList& list, const std::string& self, const std::string& item) {
  if (FindLink(list, item) >= 0) return false;
  list.push_back(item);
  if (WriteLinkList(list).size() > kLinkListMaxLength) {
    list.pop_back();
    throw std::runtime_error(TooLongMessage(self, item));
  }
  return true;
}

// Deletes `name` in `directory` (a Windows path), whatever the letter case
// of the file's name; failures are ignored (absent, or in use).
void DeleteFileNoCase(const std::string& directory, const std::string& name) {
  std::string dir, file;
  if (engine::os::ResolveDirectory(directory, &dir) && engine::os::FindFile(dir, name, &file))
    engine::os::RemoveFile(file);
}

}  // namespace

TLinkTableClass::TLinkTableClass(TAdsConnection* connection, bool create_if_missing)
    : TSimpleAdsTable(connection, create_if_missing),
      FTable(nullptr, "FTable"),
      FPartnerTable(nullptr, "FPartnerTable") {
  OpenTable(connection, create_if_missing);
}

TLinkTableClass::~TLinkTableClass() = default;

void TLinkTableClass::OpenTable(TAdsConnection* connection, bool create_if_missing) {
  if (FTable.Active()) return;
  WaitCursorScope wait;
  try {
    if (!connection) throw std::runtime_error("Keine Datenbankverbindung.");
    std::string path = connection->ConnectPath();
    if (!path.empty() && path.back() != '\\') path += '\\';
    TAdsTable probe(nullptr, "probe");
    probe.SetAdsConnection(connection);
    probe.SetTableName(kLinkTableFile);
    if (probe.Exists()) {
      Bind(connection);
    } else if (create_if_missing) {
      if (!CreateTable(path, connection->AdsServerTypes()))
        throw std::runtime_error("Tabelle kann nicht eingerichtet werden.");
      Bind(connection);
    }
  } catch (const std::exception& e) {
    ShowNoteBox(std::string("<B>ADRESSLINK kann nicht geöffnet werden:<BR></B>") + e.what());
  }
}

void TLinkTableClass::Bind(TAdsConnection* connection) {
  FTable.SetTableName(kLinkTableFile);
  FTable.SetAdsConnection(connection);
  FTable.Open();
  FTable.SetIndexName("SELFID");
  FPartnerTable.SetTableName(kLinkTableFile);
  FPartnerTable.SetAdsConnection(connection);
  FPartnerTable.Open();
}

bool TLinkTableClass::CreateTable(const std::string& directory, TAdsServerTypes server_types) {
  WaitCursorScope wait;
  // Declared in this order so the table closes before its connection goes.
  TAdsConnection connection(nullptr, "CreateConnection");
  connection.SetConnectPath(directory);
  connection.SetAdsServerTypes(server_types);
  connection.SetIsConnected(true);
  TAdsTable table(nullptr, "CreateTable");
  table.SetAdsConnection(&connection);
  table.SetTableName(kLinkTableName);
  table.SetTableType(TAdsTableType::ttAdsADT);
  if (table.Exists()) return true;

  // A half-created table, or an index or memo file left without its table.
  for (const char* ext : {".ADT", ".ADM", ".ADI"}) DeleteFileNoCase(directory, std::string(kLinkTableName) + ext);

  table.SetAdsCharType(TAdsCharType::ANSI);
  table.FieldDefs().clear();
  table.FieldDefs().push_back({"ID", TFieldType::ftAutoInc, 0});
  table.FieldDefs().push_back({"ADRESSID", TFieldType::ftString, static_cast<int>(kLinkListMaxLength)});
  table.FieldDefs().push_back({"SELFID", TFieldType::ftInteger, 0});
  table.FieldDefs().push_back({"CAT", TFieldType::ftString, 30});
  table.CreateTable();
  table.Open();
  table.AddIndex("ID", "ID", true);
  table.AddIndex("SELFID", "SELFID", false);
  table.Close();
  return true;
}

int32_t TLinkTableClass::ChooseInFinder(const TControllerPlace& controller, TAdsTable& address_table) {
  const TClassInfo* cls = nullptr;
  if (!LookupChannelClass("TFExAdressFinderClass", cls) || !cls->Factory()) return 0;
  TComponent* created = cls->Factory()(nullptr);
  if (!created) return 0;
  auto* finder = dynamic_cast<IVeltoChannel*>(created);
  if (!finder) {
    delete created;
    return 0;
  }
  // Released in every case, also when the window throws.
  struct Releaser {
    IVeltoChannel* w;
    ~Releaser() { w->Release(); }
  } releaser{finder};
  finder->SetLeft(std::min(controller.ScreenWidth - finder->Width(), controller.Left + 100));
  finder->SetTop(std::max(0, controller.Top - 100));
  finder->SetContext(address_table.AdsConnection());
  finder->SetPrompt("Auswählen einer Adresse:");
  finder->SetGroupCaption("Gruppe: Alle");
  finder->SetColumnName("Abt");
  return finder->ShowModal() == 1 ? finder->ResultID() : 0;
}

// Adds `item` to the list of the record of `self_id` on the partner cursor:
// the record is locked, its list read as stored, extended and written before
// the lock goes; a missing record is appended. The caller holds the table
// lock, so no other writer appends a record for `self_id` meanwhile.
void TLinkTableClass::AddToList(int32_t self_id, const std::string& self_text, const std::string& item,
                                TLinkList* stored) {
  TLinkList list;
  if (FPartnerTable.Locate("SELFID", self_id)) {
    RecordEdit edit(FPartnerTable);
    list = ReadList(FPartnerTable);
    if (WithItem(list, self_text, item)) {
      FPartnerTable.FieldByName("ADRESSID").SetAsString(WriteLinkList(list));
      edit.Post();
    }
  } else {
    list = {item};
    RecordEdit append(FPartnerTable, RecordEdit::kAppend);
    FPartnerTable.FieldByName("ADRESSID").SetAsString(WriteLinkList(list));
    FPartnerTable.FieldByName("SELFID").SetAsInteger(self_id);
    append.Post();
  }
  if (stored) *stored = std::move(list);
}

bool TLinkTableClass::AddLink(const TControllerPlace& controller, TAdsTable& address_table,
                              const std::string& owner_id, int32_t& linked_id) {
  bool result = false;
  if (linked_id == 0) linked_id = ChooseInFinder(controller, address_table);
  if (linked_id <= 0) return false;
  const std::string linked = std::to_string(linked_id);
  try {
    if (SameText(linked, owner_id) || FindLink(FLinkIDs, linked) >= 0) {
      ExclamationBeep();
      return false;
    }
    const int32_t owner = RequireId(owner_id);
    FTable.Refresh();
    // Looking for a record and appending it when missing must not interleave
    // with another writer doing the same for the same address.
    TableLock lock(FPartnerTable);
    // Both lists must fit before either is written.
    TLinkList owner_list = PeekList(FPartnerTable, owner);
    TLinkList partner_list = PeekList(FPartnerTable, linked_id);
    WithItem(owner_list, owner_id, linked);
    WithItem(partner_list, linked, owner_id);

    AddToList(owner, owner_id, linked, &FLinkIDs);
    result = true;
    AddToList(linked_id, linked, owner_id, nullptr);
  } catch (const std::exception& e) {
    ShowNoteBox(std::string(kErrorHeading) + e.what());
  }
  try {
    // Readers of GetTable see the new state; a cursor that showed nothing
    // (the owner had no record) moves onto what its filter shows now.
    if (FTable.Active()) {
      FTable.Refresh();
      if (FTable.IsEmpty()) FTable.First();
    }
  } catch (const std::exception&) {
    // The write is done; a stale reader view is repaired by its next reload.
  }
  return result;
}

bool TLinkTableClass::RemoveLink(const std::string& owner_id, const std::string& linked_id,
                                 const TOnRemoved& on_removed) {
  bool result = true;
  try {
    FTable.Refresh();
    if (FTable.IsEmpty()) return true;
    const int32_t owner = RequireId(owner_id);

    // Partner side: every record of the partner. A list that becomes empty
    // is deleted after the scan, so the scan's cursor is not disturbed.
    TLinkList scratch;
    std::vector<int32_t> doomed;
    int32_t partner = 0;
    // A list item that is no number has no record of its own.
    if (ParseId(linked_id, partner)) {
      FPartnerTable.SetFilter("SelfID=" + std::to_string(partner));
      FPartnerTable.SetFiltered(true);
      FPartnerTable.First();
      while (!FPartnerTable.Eof()) {
        if (FindLink(ReadList(FPartnerTable), owner_id) >= 0) {
          RecordEdit edit(FPartnerTable);
          scratch = ReadList(FPartnerTable);  // as stored, now that it is locked
          const int at = FindLink(scratch, owner_id);
          if (at >= 0) {
            scratch.erase(scratch.begin() + at);
            if (on_removed) on_removed(linked_id, owner_id);
            if (scratch.empty()) {
              doomed.push_back(FPartnerTable.FieldByName("ID").AsInteger());
            } else {
              FPartnerTable.FieldByName("ADRESSID").SetAsString(WriteLinkList(scratch));
              edit.Post();
            }
          }
        }
        FPartnerTable.Next();
      }
      FPartnerTable.SetFiltered(false);
      for (int32_t id : doomed) {
        if (!FPartnerTable.Locate("ID", id)) continue;
        // Another user may have linked this address since the scan.
        RecordEdit edit(FPartnerTable);
        TLinkList list = ReadList(FPartnerTable);
        const int at = FindLink(list, owner_id);
        if (at >= 0) list.erase(list.begin() + at);
        if (list.empty()) {
          edit.Delete();
        } else if (at >= 0) {
          FPartnerTable.FieldByName("ADRESSID").SetAsString(WriteLinkList(list));
          edit.Post();
        }
      }
    }

    // Owner side.
    scratch.clear();
    if (FPartnerTable.Locate("SELFID", owner)) {
      RecordEdit edit(FPartnerTable);
      scratch = ReadList(FPartnerTable);
      const int at = FindLink(scratch, linked_id);
      if (at >= 0) {
        if (on_removed) on_removed(owner_id, linked_id);
        scratch.erase(scratch.begin() + at);
        if (scratch.empty()) {
          edit.Delete();
        } else {
          FPartnerTable.FieldByName("ADRESSID").SetAsString(WriteLinkList(scratch));
          edit.Post();
        }
      }
    }
    FLinkIDs = scratch;
  } catch (const std::exception& e) {
    result = false;
    ShowNoteBox(std::string(kErrorHeading) + e.what());
  }
  if (FPartnerTable.Active() && FPartnerTable.Filtered()) {
    try {
      FPartnerTable.SetFiltered(false);
    } catch (const std::exception&) {
    }
  }
  return result;
}

}  // namespace zs
