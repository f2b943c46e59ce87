// The database objects: a connection to a directory of tables, table
// cursors on it, and the engine-wide settings. Everything the system reads or
// writes goes through these; behind them stands the table engine
// (storage/engine.h). Errors are exceptions: EADSDatabaseError carries the
// engine's error number and text.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "kit/component.h"

namespace zs {

class EADSDatabaseError : public std::runtime_error {
 public:
  EADSDatabaseError(uint32_t error_code, const std::string& message)
      : std::runtime_error(message), error_code_(error_code) {}
  uint32_t ErrorCode() const { return error_code_; }

 private:
  uint32_t error_code_;
};

// Raised by the settings object when the engine refuses a setting.
class AdsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The set of servers as a byte: remote bit 0, local bit 1, AIS bit 2.
using TAdsServerTypes = uint8_t;
constexpr TAdsServerTypes stADS_REMOTE = 1u << 0;
constexpr TAdsServerTypes stADS_LOCAL = 1u << 1;
constexpr TAdsServerTypes stADS_AIS = 1u << 2;
// The engine's mask for a set: remote 2, local 1, AIS 4.
uint16_t ServerTypeMask(TAdsServerTypes types);

using AdsHandle = uint64_t;  // 0: none

class TAdsTable;

class TAdsConnection : public TComponent {
 public:
  explicit TAdsConnection(TComponent* owner = nullptr, std::string name = "AdsConnection");
  ~TAdsConnection() override;  // disconnects; errors are swallowed

  const std::string& ConnectPath() const { return connect_path_; }
  // Throws EADSDatabaseError "The TAdsConnection.ConnectPath may not be
  // changed when IsConnected is TRUE" while connected.
  void SetConnectPath(const std::string& path);
  TAdsServerTypes AdsServerTypes() const { return server_types_; }
  void SetAdsServerTypes(TAdsServerTypes types) { server_types_ = types; }
  bool LoginPrompt() const { return login_prompt_; }
  void SetLoginPrompt(bool on) { login_prompt_ = on; }

  bool IsConnected() const { return handle_ != 0; }
  // true connects (EADSDatabaseError on failure), false disconnects.
  void SetIsConnected(bool connected);
  AdsHandle Handle() const { return handle_; }

 private:
  friend class TAdsTable;
  std::vector<TAdsTable*> tables_;  // cursors bound to this connection
  std::string connect_path_;
  TAdsServerTypes server_types_ = stADS_REMOTE;
  bool login_prompt_ = false;
  AdsHandle handle_ = 0;
};

// One per process; constructing a second one throws AdsError "Only one
// AdsSettings component is allowed per application".
class TAdsSettings : public TComponent {
 public:
  explicit TAdsSettings(TComponent* owner = nullptr, std::string name = "AdsSettings1");
  ~TAdsSettings() override;

  std::string DateFormat = "DD.MM.yyyy";
  bool SetDelphiDate = true;
  int NumDecimals = 2;
  bool ShowDeleted = true;
  TAdsServerTypes AdsServerTypes = stADS_REMOTE | stADS_AIS;
  int NumCachedTables = 0;
  int NumCachedCursors = 25;

  // Hands the settings to the engine; AdsError when one is refused.
  void Apply();
};

enum class TAdsTableType { ttAdsADT, ttAdsCDX, ttAdsNTX };
enum class TAdsCharType { ANSI, OEM };
enum class TFieldType { ftAutoInc, ftString, ftInteger };
// dsInactive: closed; dsEdit: the current record is locked and being changed;
// dsInsert: a new record is being prepared.
enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

struct TFieldDef {
  std::string Name;
  TFieldType DataType;
  int Size = 0;  // characters, for ftString
};

// A view of one field of a cursor's current record, by name (case-insensitive).
class TField {
 public:
  std::string AsString() const;
  int32_t AsInteger() const;
  void SetAsString(std::string_view value);
  void SetAsInteger(int32_t value);

 private:
  friend class TAdsTable;
  TField(TAdsTable& table, std::string name) : table_(table), name_(std::move(name)) {}
  TAdsTable& table_;
  std::string name_;
};

class TAdsTable : public TComponent {
 public:
  explicit TAdsTable(TComponent* owner = nullptr, std::string name = "AdsTable");
  ~TAdsTable() override;  // closes; errors are swallowed

  const std::string& TableName() const { return table_name_; }
  void SetTableName(const std::string& name);
  TAdsConnection* AdsConnection() const { return connection_; }
  void SetAdsConnection(TAdsConnection* connection);
  TAdsTableType TableType() const { return table_type_; }
  void SetTableType(TAdsTableType type) { table_type_ = type; }
  TAdsCharType AdsCharType() const { return char_type_; }
  void SetAdsCharType(TAdsCharType type) { char_type_ = type; }
  std::vector<TFieldDef>& FieldDefs() { return field_defs_; }

  bool Active() const { return handle_ != 0; }
  TDataSetState State() const { return handle_ == 0 ? TDataSetState::dsInactive : state_; }
  // Opening connects a closed connection, opens shared and read-write with the
  // index tags, and stands on the first visible record.
  void SetActive(bool active);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }

  const std::string& IndexName() const { return index_name_; }
  void SetIndexName(const std::string& tag);  // empty: natural order
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& expression);
  bool Filtered() const { return filtered_; }
  // Changing it on an open cursor moves to the first visible record.
  void SetFiltered(bool filtered);

  void First();
  void Next();
  // Both true on a closed cursor.
  bool Eof() const;
  bool Bof() const;
  // Both flags set: the cursor shows no records.
  bool IsEmpty() const { return Eof() && Bof(); }
  int RecordCount();
  // Reads the current record again, so changes by others become visible.
  void Refresh();
  // Moves to the first visible record, in the current order, whose field
  // equals the value exactly; answers false and stays put when there is none.
  bool Locate(const std::string& field, int32_t value);
  bool Locate(const std::string& field, std::string_view value);

  TField FieldByName(const std::string& field) { return TField(*this, field); }

  // Moving, refreshing and locating first post a pending edit or append.
  // Locks the current record (EADSDatabaseError at once when another user
  // holds it) and reads it again; on an empty cursor it appends instead.
  void Edit();
  void Append();  // prepares a new, empty record
  void Insert() { Append(); }
  // Writes in one durable transaction and unlocks. When the write fails the
  // edit is cancelled (the lock released) before the error is raised.
  void Post();
  void Cancel();  // drops an edit or append, unlocks
  void Delete();  // removes the current record, moves to the next visible one

  // Closed, and a file of the table's name exists in the connection's directory.
  bool Exists() const;
  void CreateTable();  // from FieldDefs
  void AddIndex(const std::string& tag, const std::string& key_expression, bool unique);

  // Exclusive lock of the whole table across processes (for a write that
  // must not race with another writer's append of the same key). It
  // serialises holders of the table lock only; record locks and writes of
  // others go on. Waits up to 3 s for another holder, then EADSDatabaseError;
  // released by UnlockTable, Close and the death of the process.
  void LockTable();
  void UnlockTable();

  AdsHandle Handle() const { return handle_; }

 private:
  friend class TField;
  friend class TAdsConnection;
  void Check(uint32_t rc) const;  // throws EADSDatabaseError for rc != 0
  void CheckActive() const;
  void CheckBrowseMode();  // posts a pending edit or append
  void ApplyOrderAndFilter();
  std::string GetString(const std::string& field);
  int32_t GetInteger(const std::string& field);
  void SetString(const std::string& field, std::string_view value);
  void SetInteger(const std::string& field, int32_t value);

  std::string table_name_;
  TAdsConnection* connection_ = nullptr;
  TAdsTableType table_type_ = TAdsTableType::ttAdsADT;
  TAdsCharType char_type_ = TAdsCharType::ANSI;
  std::vector<TFieldDef> field_defs_;
  std::string index_name_;
  std::string filter_;
  bool filtered_ = false;
  TDataSetState state_ = TDataSetState::dsBrowse;
  AdsHandle handle_ = 0;
};

}  // namespace zs
