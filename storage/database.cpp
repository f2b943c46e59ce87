#include "storage/database.h"

#include <algorithm>

#include "kit/win_text.h"
#include "storage/engine.h"
#include "storage/engine_os.h"

namespace zs {
namespace {

engine::TableEngine& E() { return engine::Engine(); }

[[noreturn]] void Raise(uint32_t rc) {
  std::string text;
  E().LastError(&text);
  if (text.empty()) text = "Database engine error " + std::to_string(rc);
  throw EADSDatabaseError(rc, text);
}

bool HasExtension(std::string_view name) {
  size_t slash = name.find_last_of("\\/");
  size_t dot = name.find_last_of('.');
  return dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
}

bool ParseInt(std::string_view text, int32_t* out) {
  if (text.empty() || text.size() > 11) return false;
  size_t i = 0;
  bool neg = false;
  if (text[0] == '-' || text[0] == '+') {
    neg = text[0] == '-';
    i = 1;
  }
  if (i == text.size()) return false;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
  }
  if (neg) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  *out = static_cast<int32_t>(v);
  return true;
}

int instances_of_settings = 0;

}  // namespace

uint16_t ServerTypeMask(TAdsServerTypes types) {
  uint16_t mask = 0;
  if (types & stADS_REMOTE) mask |= engine::kServerRemote;
  if (types & stADS_LOCAL) mask |= engine::kServerLocal;
  if (types & stADS_AIS) mask |= engine::kServerAis;
  return mask;
}

// ---- connection -------------------------------------------------------------

TAdsConnection::TAdsConnection(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name), "TAdsConnection") {}

TAdsConnection::~TAdsConnection() {
  for (TAdsTable* t : std::vector<TAdsTable*>(tables_)) {
    try {
      t->Close();
    } catch (...) {
    }
    t->connection_ = nullptr;
  }
  tables_.clear();
  if (handle_) E().Disconnect(handle_);
  handle_ = 0;
}

void TAdsConnection::SetConnectPath(const std::string& path) {
  if (IsConnected())
    throw EADSDatabaseError(engine::kErrWrongState,
                            "The TAdsConnection.ConnectPath may not be changed when IsConnected is TRUE");
  connect_path_ = path;
}

void TAdsConnection::SetIsConnected(bool connected) {
  if (connected == IsConnected()) return;
  if (connected) {
    // A data dictionary would ask for a login here (LoginPrompt); a directory
    // of free tables sends no user name or password.
    engine::Handle h = 0;
    if (uint32_t rc = E().Connect(connect_path_, ServerTypeMask(server_types_), &h)) Raise(rc);
    handle_ = h;
    return;
  }
  for (TAdsTable* t : std::vector<TAdsTable*>(tables_)) t->Close();
  uint32_t rc = E().Disconnect(handle_);
  handle_ = 0;
  if (rc) Raise(rc);
}

// ---- settings ---------------------------------------------------------------

TAdsSettings::TAdsSettings(TComponent* owner, std::string name) : TComponent(owner, std::move(name), "TAdsSettings") {
  if (instances_of_settings > 0) throw AdsError("Only one AdsSettings component is allowed per application");
  ++instances_of_settings;
  try {
    Apply();
  } catch (...) {
    --instances_of_settings;
    throw;
  }
}

TAdsSettings::~TAdsSettings() { --instances_of_settings; }

void TAdsSettings::Apply() {
  auto check = [](uint32_t rc) {
    if (rc == 0) return;
    std::string text;
    E().LastError(&text);
    throw AdsError(text);
  };
  check(E().SetDateFormat(DateFormat));
  check(E().SetDecimals(NumDecimals));
  check(E().ShowDeleted(ShowDeleted));
  check(E().SetServerType(ServerTypeMask(AdsServerTypes)));
  check(E().CacheOpenTables(NumCachedTables));
  check(E().CacheOpenCursors(NumCachedCursors));
}

// ---- fields -----------------------------------------------------------------

std::string TField::AsString() const { return table_.GetString(name_); }
int32_t TField::AsInteger() const { return table_.GetInteger(name_); }
void TField::SetAsString(std::string_view value) { table_.SetString(name_, value); }
void TField::SetAsInteger(int32_t value) { table_.SetInteger(name_, value); }

// ---- table ------------------------------------------------------------------

TAdsTable::TAdsTable(TComponent* owner, std::string name) : TComponent(owner, std::move(name), "TAdsTable") {}

TAdsTable::~TAdsTable() {
  try {
    Close();
  } catch (...) {
  }
  if (connection_) std::erase(connection_->tables_, this);
}

void TAdsTable::Check(uint32_t rc) const {
  if (rc) Raise(rc);
}

void TAdsTable::CheckActive() const {
  if (!handle_) throw EADSDatabaseError(engine::kErrInvalidHandle, "Cannot perform this operation on a closed dataset");
}

void TAdsTable::CheckBrowseMode() {
  CheckActive();
  if (state_ != TDataSetState::dsBrowse) Post();
}

void TAdsTable::SetTableName(const std::string& name) {
  if (handle_) throw EADSDatabaseError(engine::kErrWrongState, "Cannot perform this operation on an open dataset");
  table_name_ = name;
}

void TAdsTable::SetAdsConnection(TAdsConnection* connection) {
  if (connection == connection_) return;
  if (handle_) throw EADSDatabaseError(engine::kErrWrongState, "Cannot perform this operation on an open dataset");
  if (connection_) std::erase(connection_->tables_, this);
  connection_ = connection;
  if (connection_) connection_->tables_.push_back(this);
}

void TAdsTable::ApplyOrderAndFilter() {
  Check(E().SetOrder(handle_, index_name_));
  if (filtered_ && !filter_.empty())
    Check(E().SetFilter(handle_, filter_));
  else
    Check(E().ClearFilter(handle_));
  Check(E().GotoTop(handle_));
}

void TAdsTable::SetActive(bool active) {
  if (active == Active()) return;
  if (!active) {
    engine::Handle h = handle_;
    handle_ = 0;
    state_ = TDataSetState::dsBrowse;
    Check(E().CloseTable(h));
    return;
  }
  if (!connection_) throw EADSDatabaseError(engine::kErrInvalidHandle, "The table " + table_name_ + " has no connection");
  if (!connection_->IsConnected()) connection_->SetIsConnected(true);
  engine::Handle h = 0;
  Check(E().OpenTable(connection_->Handle(), table_name_, &h));
  handle_ = h;
  state_ = TDataSetState::dsBrowse;
  try {
    ApplyOrderAndFilter();
  } catch (...) {
    handle_ = 0;
    E().CloseTable(h);
    throw;
  }
}

void TAdsTable::SetIndexName(const std::string& tag) {
  if (!handle_) {
    index_name_ = tag;
    return;
  }
  CheckBrowseMode();
  Check(E().SetOrder(handle_, tag));
  index_name_ = tag;
  Check(E().GotoTop(handle_));
}

void TAdsTable::SetFilter(const std::string& expression) {
  if (handle_ && filtered_) {
    CheckBrowseMode();
    Check(expression.empty() ? E().ClearFilter(handle_) : E().SetFilter(handle_, expression));
    filter_ = expression;
    Check(E().GotoTop(handle_));
    return;
  }
  filter_ = expression;
}

void TAdsTable::SetFiltered(bool filtered) {
  if (!handle_) {
    filtered_ = filtered;
    return;
  }
  CheckBrowseMode();
  Check(filtered && !filter_.empty() ? E().SetFilter(handle_, filter_) : E().ClearFilter(handle_));
  filtered_ = filtered;
  Check(E().GotoTop(handle_));
}

void TAdsTable::First() {
  CheckBrowseMode();
  Check(E().GotoTop(handle_));
}

void TAdsTable::Next() {
  CheckBrowseMode();
  Check(E().Skip(handle_, 1));
}

bool TAdsTable::Eof() const {
  bool eof = true;
  if (handle_) E().AtEOF(handle_, &eof);
  return eof;
}

bool TAdsTable::Bof() const {
  bool bof = true;
  if (handle_) E().AtBOF(handle_, &bof);
  return bof;
}

int TAdsTable::RecordCount() {
  CheckActive();
  uint32_t n = 0;
  Check(E().GetRecordCount(handle_, &n));
  return static_cast<int>(n);
}

void TAdsTable::Refresh() {
  CheckBrowseMode();
  Check(E().RefreshRecord(handle_));
}

bool TAdsTable::Locate(const std::string& field, int32_t value) { return Locate(field, std::to_string(value)); }

bool TAdsTable::Locate(const std::string& field, std::string_view value) {
  CheckBrowseMode();
  int count = 0;
  Check(E().GetNumFields(handle_, &count));
  engine::FieldDef def;
  bool known = false;
  for (int i = 0; i < count && !known; ++i) {
    Check(E().GetFieldDef(handle_, i, &def));
    known = SameText(def.name, field);
  }
  if (!known) throw EADSDatabaseError(engine::kErrFieldNotFound, "Field " + field + " not found in " + table_name_);

  // A seek on a tag over the field finds the same record as a scan when the
  // tag is unique, or when the cursor runs in natural order or on that tag
  // (equal keys stand in record order).
  Check(E().GetNumIndexes(handle_, &count));
  for (int i = 0; i < count; ++i) {
    engine::TagInfo tag;
    Check(E().GetIndexInfo(handle_, i, &tag));
    if (!SameText(tag.expression, field)) continue;
    if (tag.unique || index_name_.empty() || SameText(index_name_, tag.name)) {
      bool found = false;
      Check(E().Seek(handle_, tag.name, value, &found));
      return found;
    }
  }

  const bool numeric = def.type != engine::FieldType::Char;
  int32_t wanted = 0;
  if (numeric && !ParseInt(value, &wanted)) return false;
  engine::Bookmark mark;
  Check(E().GetBookmark(handle_, &mark));
  Check(E().GotoTop(handle_));
  for (;;) {
    bool eof = true;
    Check(E().AtEOF(handle_, &eof));
    if (eof) break;
    if (numeric) {
      int32_t v = 0;
      Check(E().GetLong(handle_, def.name, &v));
      if (v == wanted) return true;
    } else {
      std::string v;
      Check(E().GetString(handle_, def.name, &v));
      if (v == value) return true;
    }
    Check(E().Skip(handle_, 1));
  }
  // Not found: back where it stood (or at the top, if that record is gone).
  if (E().GotoBookmark(handle_, mark) != 0) Check(E().GotoTop(handle_));
  return false;
}

std::string TAdsTable::GetString(const std::string& field) {
  CheckActive();
  std::string value;
  uint32_t rc = E().GetString(handle_, field, &value);
  if (rc == engine::kErrNoCurrentRecord) return std::string();
  Check(rc);
  return value;
}

int32_t TAdsTable::GetInteger(const std::string& field) {
  CheckActive();
  int32_t value = 0;
  uint32_t rc = E().GetLong(handle_, field, &value);
  if (rc == engine::kErrNoCurrentRecord) return 0;
  Check(rc);
  return value;
}

void TAdsTable::SetString(const std::string& field, std::string_view value) {
  CheckActive();
  Check(E().SetString(handle_, field, value));
}

void TAdsTable::SetInteger(const std::string& field, int32_t value) {
  CheckActive();
  Check(E().SetLong(handle_, field, value));
}

void TAdsTable::Edit() {
  CheckActive();
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) return;
  if (IsEmpty()) {
    Append();
    return;
  }
  Check(E().LockRecord(handle_));
  state_ = TDataSetState::dsEdit;
}

void TAdsTable::Append() {
  CheckBrowseMode();
  Check(E().AppendRecord(handle_));
  state_ = TDataSetState::dsInsert;
}

void TAdsTable::Post() {
  CheckActive();
  if (state_ == TDataSetState::dsBrowse)
    throw EADSDatabaseError(engine::kErrWrongState, "Dataset not in edit or insert mode");
  uint32_t rc = E().WriteRecord(handle_);
  if (rc) {
    std::string text;
    E().LastError(&text);
    E().UnlockRecord(handle_);
    state_ = TDataSetState::dsBrowse;
    throw EADSDatabaseError(rc, text);
  }
  state_ = TDataSetState::dsBrowse;
  Check(E().UnlockRecord(handle_));
}

void TAdsTable::Cancel() {
  CheckActive();
  state_ = TDataSetState::dsBrowse;
  Check(E().UnlockRecord(handle_));
}

void TAdsTable::Delete() {
  CheckActive();
  if (state_ == TDataSetState::dsInsert) {
    Cancel();
    return;
  }
  if (IsEmpty()) throw EADSDatabaseError(engine::kErrNoCurrentRecord, "Cannot perform this operation on an empty dataset");
  state_ = TDataSetState::dsBrowse;
  Check(E().DeleteRecord(handle_));
}

bool TAdsTable::Exists() const {
  if (handle_ || !connection_ || table_name_.empty()) return false;
  std::string name = table_name_;
  if (!HasExtension(name)) name += ".adt";
  std::string dir_part, base = name;
  size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) {
    dir_part = name.substr(0, slash + 1);
    base = name.substr(slash + 1);
  }
  std::string dir, path;
  const std::string& cp = connection_->ConnectPath();
  const bool absolute = !dir_part.empty() && (dir_part[0] == '\\' || dir_part[0] == '/' ||
                                              (dir_part.size() > 1 && dir_part[1] == ':'));
  std::string where = absolute ? dir_part : (dir_part.empty() ? cp : cp + "\\" + dir_part);
  if (!engine::os::ResolveDirectory(where, &dir)) return false;
  return engine::os::FindFile(dir, base, &path) && engine::os::IsRegularFile(path);
}

void TAdsTable::CreateTable() {
  if (handle_) throw EADSDatabaseError(engine::kErrWrongState, "Cannot perform this operation on an open dataset");
  if (!connection_) throw EADSDatabaseError(engine::kErrInvalidHandle, "The table " + table_name_ + " has no connection");
  if (!connection_->IsConnected()) connection_->SetIsConnected(true);
  std::vector<engine::FieldDef> defs;
  for (const TFieldDef& f : field_defs_) {
    engine::FieldDef d;
    d.name = f.Name;
    d.width = f.Size;
    switch (f.DataType) {
      case TFieldType::ftAutoInc: d.type = engine::FieldType::AutoInc; break;
      case TFieldType::ftString: d.type = engine::FieldType::Char; break;
      case TFieldType::ftInteger: d.type = engine::FieldType::Integer; break;
    }
    defs.push_back(std::move(d));
  }
  Check(E().CreateTable(connection_->Handle(), table_name_, defs));
}

void TAdsTable::AddIndex(const std::string& tag, const std::string& key_expression, bool unique) {
  CheckBrowseMode();
  Check(E().CreateIndex(handle_, tag, key_expression, unique));
}

void TAdsTable::LockTable() {
  CheckActive();
  Check(E().LockTable(handle_));
}

void TAdsTable::UnlockTable() {
  CheckActive();
  Check(E().UnlockTable(handle_));
}

}  // namespace zs
