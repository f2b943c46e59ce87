// The table engine on SQLite. One table = one SQLite file (NAME.ADT) holding
// its records, its field definitions and its index tags; record and table
// locks are byte locks on a side file (NAME.ADT-lock). docs/storage.md has the
// layout. A cursor keeps its position as (order key, record number) and holds
// no statement or transaction open between calls: every statement is reset
// before the call returns, so no read blocks a writer between calls.
#include <sqlite3.h>

#include <deque>
#include <map>
#include <optional>
#include <memory>
#include <unordered_map>

#include "kit/number_text.h"
#include "kit/win_text.h"
#include "storage/engine.h"
#include "storage/engine_filter.h"
#include "storage/engine_os.h"
#include "storage/engine_sqlite_file.h"

namespace zs::engine {
namespace {

constexpr int kTableLockWaitMs = 3000;
constexpr int kMaxReadAhead = 128;
constexpr int kMaxCharWidth = 65000;
// Byte offsets in the lock file: the table lock, then one byte per record.
constexpr uint64_t kTableLockByte = 0;

// Every write of this process bumps it; read-ahead taken before is dropped.
uint64_t g_write_generation = 1;

struct Field {
  std::string name;
  FieldType type;
  int width;
  std::string column;  // "rec" for the AutoInc field
};

struct Tag {
  std::string name;
  int field;
  bool unique;
};

struct Value {
  int64_t i = 0;
  std::string s;
};

struct Row {
  int64_t rec = 0;
  std::vector<Value> v;  // one per field
};

struct Connection {
  std::string dir;  // native, with trailing separator
  uint16_t mask = 0;
};

enum class Mode { Browse, Edit, Append };

struct Cursor {
  Handle connection = 0;
  std::string file;       // native path of NAME.ADT
  std::string display;    // file name as found, for messages
  sqlite3* db = nullptr;
  std::vector<Field> fields;
  std::vector<Tag> tags;
  std::unordered_map<std::string, sqlite3_stmt*> statements;

  int order = -1;  // tag index; -1: natural order
  bool filtered = false;
  int filter_field = -1;
  int32_t filter_value = 0;

  bool has_row = false;
  Row row;
  bool eof = true;
  bool bof = true;

  Mode mode = Mode::Browse;
  Row buffer;
  int64_t locked_record = 0;  // 0: none
  bool table_locked = false;
  os::LockFile locks;

  std::deque<Row> ahead;
  uint64_t ahead_generation = 0;
  int batch = 8;

  ~Cursor() {
    for (auto& [sql, st] : statements) sqlite3_finalize(st);
    if (db) sqlite3_close_v2(db);
  }
};

bool ParseInt32(std::string_view text, int32_t* out) {
  size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  while (n > i && text[n - 1] == ' ') --n;
  if (i == n) {
    *out = 0;
    return true;
  }
  const std::optional<int32_t> v = ParseDecimal32(text.substr(i, n - i));
  if (!v) return false;
  *out = *v;
  return true;
}

// Resets a statement when the call using it ends, so no read stays open.
struct StatementUse {
  sqlite3_stmt* st;
  ~StatementUse() {
    if (st) {
      sqlite3_reset(st);
      sqlite3_clear_bindings(st);
    }
  }
};

class SqliteEngine final : public TableEngine {
 public:
  SqliteEngine() { sqlite3_initialize(); }
  ~SqliteEngine() override {
    cursors_.clear();
    connections_.clear();
  }

  uint32_t LastError(std::string* text) const override {
    if (text) *text = code_ ? text_ : std::string();
    return code_;
  }

  uint32_t SetDateFormat(std::string_view format) override {
    if (format.empty() || format.size() > 16) return Fail(kErrSettingRefused, "Invalid date format");
    date_format_ = std::string(format);
    return Ok();
  }
  uint32_t SetDecimals(int decimals) override {
    if (decimals < 0 || decimals > 18) return Fail(kErrSettingRefused, "Invalid number of decimals");
    decimals_ = decimals;
    return Ok();
  }
  // Deleted records are removed from the file at once, so there is nothing to show.
  uint32_t ShowDeleted(bool show) override {
    show_deleted_ = show;
    return Ok();
  }
  uint32_t SetServerType(uint16_t mask) override {
    if (mask == 0 || (mask & ~(kServerLocal | kServerRemote | kServerAis)))
      return Fail(kErrSettingRefused, "Invalid server type");
    server_mask_ = mask;
    return Ok();
  }
  uint32_t CacheOpenTables(int count) override {
    if (count < 0) return Fail(kErrSettingRefused, "Invalid number of cached tables");
    return Ok();
  }
  uint32_t CacheOpenCursors(int count) override {
    if (count < 0) return Fail(kErrSettingRefused, "Invalid number of cached cursors");
    return Ok();
  }

  uint32_t Connect(std::string_view path, uint16_t server_mask, Handle* connection) override {
    if (!connection) return Fail(kErrBadValue, "No handle to receive the connection");
    *connection = 0;
    std::string upper(path);
    for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    if (upper.find(".ADD") != std::string::npos)
      return Fail(kErrNotSupported, "Data dictionaries are not supported by this engine: " + std::string(path));
    auto conn = std::make_unique<Connection>();
    if (!os::ResolveDirectory(path, &conn->dir))
      return Fail(kErrDirectoryNotFound, "The directory \"" + std::string(path) + "\" does not exist");
    conn->mask = server_mask;
    Handle h = next_handle_++;
    connections_[h] = std::move(conn);
    *connection = h;
    return Ok();
  }

  uint32_t Disconnect(Handle connection) override {
    auto it = connections_.find(connection);
    if (it == connections_.end()) return BadHandle();
    for (auto c = cursors_.begin(); c != cursors_.end();) {
      if (c->second->connection == connection)
        c = cursors_.erase(c);
      else
        ++c;
    }
    connections_.erase(it);
    return Ok();
  }

  uint32_t GetConnectionType(Handle connection, uint16_t* server_mask) override {
    auto it = connections_.find(connection);
    if (it == connections_.end()) return BadHandle();
    if (server_mask) *server_mask = it->second->mask;
    return Ok();
  }

  uint32_t OpenTable(Handle connection, std::string_view name, Handle* table) override;
  uint32_t CloseTable(Handle table) override {
    auto it = cursors_.find(table);
    if (it == cursors_.end()) return BadHandle();
    cursors_.erase(it);
    return Ok();
  }
  uint32_t CreateTable(Handle connection, std::string_view name, const std::vector<FieldDef>& fields) override;
  uint32_t CreateIndex(Handle table, std::string_view tag, std::string_view expression, bool unique) override;

  uint32_t GetNumFields(Handle table, int* count) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    *count = static_cast<int>(c->fields.size());
    return Ok();
  }
  uint32_t GetFieldDef(Handle table, int index, FieldDef* def) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    if (index < 0 || index >= static_cast<int>(c->fields.size())) return Fail(kErrFieldNotFound, "No such field");
    const Field& f = c->fields[static_cast<size_t>(index)];
    *def = FieldDef{f.name, f.type, f.width};
    return Ok();
  }
  uint32_t GetNumIndexes(Handle table, int* count) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    *count = static_cast<int>(c->tags.size());
    return Ok();
  }
  uint32_t GetIndexInfo(Handle table, int index, TagInfo* info) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    if (index < 0 || index >= static_cast<int>(c->tags.size())) return Fail(kErrTagNotFound, "No such index tag");
    const Tag& t = c->tags[static_cast<size_t>(index)];
    *info = TagInfo{t.name, c->fields[static_cast<size_t>(t.field)].name, t.unique};
    return Ok();
  }

  uint32_t SetOrder(Handle table, std::string_view tag) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    int order = -1;
    if (!tag.empty()) {
      order = FindTag(*c, tag);
      if (order < 0) return Fail(kErrTagNotFound, "Index tag \"" + std::string(tag) + "\" not found in " + c->display);
    }
    c->order = order;
    c->ahead.clear();
    return Ok();
  }

  uint32_t SetFilter(Handle table, std::string_view expression) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    FilterExpr f;
    std::string why;
    if (!ParseFilter(expression, &f, &why))
      return Fail(kErrBadFilter, "Filter expression \"" + std::string(expression) + "\" not supported: " + why);
    int field = FindField(*c, f.field);
    if (field < 0)
      return Fail(kErrBadFilter, "Filter expression \"" + std::string(expression) + "\": field " + f.field +
                                     " not found");
    if (c->fields[static_cast<size_t>(field)].type == FieldType::Char)
      return Fail(kErrBadFilter, "Filter expression \"" + std::string(expression) +
                                     "\": only integer fields can be filtered");
    c->filtered = true;
    c->filter_field = field;
    c->filter_value = f.value;
    c->ahead.clear();
    return Ok();
  }

  uint32_t ClearFilter(Handle table) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    c->filtered = false;
    c->filter_field = -1;
    c->ahead.clear();
    return Ok();
  }

  uint32_t GotoTop(Handle table) override {
    Cursor* c = Browsing(table);
    if (!c) return code_;
    return Top(*c);
  }

  uint32_t GotoBottom(Handle table) override {
    Cursor* c = Browsing(table);
    if (!c) return code_;
    std::vector<Row> rows;
    if (uint32_t rc = Fetch(*c, Direction::Last, nullptr, 1, &rows)) return rc;
    c->ahead.clear();
    if (rows.empty()) return SetEmpty(*c);
    c->row = std::move(rows[0]);
    c->has_row = true;
    c->eof = c->bof = false;
    return Ok();
  }

  uint32_t Skip(Handle table, int count) override {
    Cursor* c = Browsing(table);
    if (!c) return code_;
    if (count == 0) return RefreshRecord(table);
    for (; count > 0; --count) {
      if (!c->has_row || c->eof) {
        c->eof = true;
        return Ok();
      }
      if (c->ahead.empty() || c->ahead_generation != g_write_generation) {
        c->ahead.clear();
        std::vector<Row> rows;
        if (uint32_t rc = Fetch(*c, Direction::After, &c->row, c->batch, &rows)) return rc;
        c->batch = std::min(c->batch * 2, kMaxReadAhead);
        for (Row& r : rows) c->ahead.push_back(std::move(r));
        c->ahead_generation = g_write_generation;
      }
      if (c->ahead.empty()) {
        c->eof = true;
        return Ok();
      }
      c->row = std::move(c->ahead.front());
      c->ahead.pop_front();
      c->eof = c->bof = false;
    }
    for (; count < 0; ++count) {
      c->ahead.clear();
      if (!c->has_row || c->bof) {
        c->bof = true;
        return Ok();
      }
      std::vector<Row> rows;
      if (uint32_t rc = Fetch(*c, Direction::Before, &c->row, 1, &rows)) return rc;
      if (rows.empty()) {
        c->bof = true;
        return Ok();
      }
      c->row = std::move(rows[0]);
      c->eof = c->bof = false;
    }
    return Ok();
  }

  uint32_t AtEOF(Handle table, bool* eof) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    *eof = c->eof;
    return Ok();
  }
  uint32_t AtBOF(Handle table, bool* bof) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    *bof = c->bof;
    return Ok();
  }

  uint32_t Seek(Handle table, std::string_view tag, std::string_view key, bool* found) override;

  uint32_t GetBookmark(Handle table, Bookmark* mark) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    mark->record = c->has_row ? c->row.rec : 0;
    mark->eof = c->eof;
    mark->bof = c->bof;
    return Ok();
  }

  uint32_t GotoBookmark(Handle table, const Bookmark& mark) override {
    Cursor* c = Browsing(table);
    if (!c) return code_;
    c->ahead.clear();
    if (mark.record == 0) return SetEmpty(*c);
    Row r;
    bool exists = false;
    if (uint32_t rc = ReadRecord(*c, mark.record, &r, &exists)) return rc;
    if (!exists) return Fail(kErrRecordDeleted, "The record was deleted by another user");
    c->row = std::move(r);
    c->has_row = true;
    c->eof = mark.eof;
    c->bof = mark.bof;
    return Ok();
  }

  uint32_t GetRecordCount(Handle table, uint32_t* count) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    std::string sql = "SELECT count(*) FROM records" + FilterClause(*c, " WHERE ");
    sqlite3_stmt* st = Prepare(*c, sql);
    if (!st) return code_;
    StatementUse use{st};
    int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) return StoreError(*c, rc);
    *count = static_cast<uint32_t>(sqlite3_column_int64(st, 0));
    return Ok();
  }

  uint32_t RefreshRecord(Handle table) override {
    Cursor* c = Browsing(table);
    if (!c) return code_;
    c->ahead.clear();
    if (!c->has_row) return Top(*c);
    Row r;
    bool exists = false;
    if (uint32_t rc = ReadRecord(*c, c->row.rec, &r, &exists)) return rc;
    if (exists && Visible(*c, r)) {
      c->row = std::move(r);
      return Ok();
    }
    // Gone or no longer visible: the next visible record, else the last one.
    std::vector<Row> rows;
    if (uint32_t rc = Fetch(*c, Direction::After, &c->row, 1, &rows)) return rc;
    if (!rows.empty()) {
      c->row = std::move(rows[0]);
      c->eof = false;
      return Ok();
    }
    if (uint32_t rc = Fetch(*c, Direction::Last, nullptr, 1, &rows)) return rc;
    if (rows.empty()) return SetEmpty(*c);
    c->row = std::move(rows[0]);
    c->eof = true;
    return Ok();
  }

  uint32_t GetString(Handle table, std::string_view field, std::string* value) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    const Row* r = Current(*c);
    int f = FindField(*c, field);
    if (f < 0) return NoField(*c, field);
    if (!r) return Fail(kErrNoCurrentRecord, "There is no current record in " + c->display);
    const Field& fd = c->fields[static_cast<size_t>(f)];
    switch (fd.type) {
      case FieldType::AutoInc: *value = std::to_string(r->rec); break;
      case FieldType::Integer: *value = std::to_string(r->v[static_cast<size_t>(f)].i); break;
      case FieldType::Char: *value = r->v[static_cast<size_t>(f)].s; break;
    }
    return Ok();
  }

  uint32_t GetLong(Handle table, std::string_view field, int32_t* value) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    const Row* r = Current(*c);
    int f = FindField(*c, field);
    if (f < 0) return NoField(*c, field);
    if (!r) return Fail(kErrNoCurrentRecord, "There is no current record in " + c->display);
    const Field& fd = c->fields[static_cast<size_t>(f)];
    switch (fd.type) {
      case FieldType::AutoInc: *value = static_cast<int32_t>(r->rec); break;
      case FieldType::Integer: *value = static_cast<int32_t>(r->v[static_cast<size_t>(f)].i); break;
      case FieldType::Char:
        if (!ParseInt32(r->v[static_cast<size_t>(f)].s, value))
          return Fail(kErrBadValue, "The value of field " + fd.name + " is not an integer");
        break;
    }
    return Ok();
  }

  uint32_t LockRecord(Handle table) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    if (c->mode == Mode::Append) return Fail(kErrWrongState, "A new record is being appended");
    if (!c->has_row) return Fail(kErrNoCurrentRecord, "There is no current record in " + c->display);
    const int64_t rec = c->row.rec;
    if (c->locked_record != rec) {
      if (c->locked_record != 0) return Fail(kErrWrongState, "Another record of this cursor is locked");
      if (uint32_t rc = TakeRecordLock(*c, rec)) return rc;
    }
    Row fresh;
    bool exists = false;
    uint32_t rc = ReadRecord(*c, rec, &fresh, &exists);
    if (rc == kOk && !exists) rc = Fail(kErrRecordDeleted, "The record was deleted by another user");
    if (rc != kOk) {
      ReleaseRecordLock(*c);
      return rc;
    }
    c->row = fresh;
    c->buffer = std::move(fresh);
    c->mode = Mode::Edit;
    return Ok();
  }

  uint32_t UnlockRecord(Handle table) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    ReleaseRecordLock(*c);
    c->mode = Mode::Browse;
    return Ok();
  }

  uint32_t AppendRecord(Handle table) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    if (c->mode == Mode::Edit) return Fail(kErrWrongState, "A record is being edited");
    c->buffer = Row{};
    c->buffer.v.resize(c->fields.size());
    c->mode = Mode::Append;
    return Ok();
  }

  uint32_t SetString(Handle table, std::string_view field, std::string_view value) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    int f = FindField(*c, field);
    if (f < 0) return NoField(*c, field);
    if (c->mode == Mode::Browse) return Fail(kErrWrongState, "The record is not being edited");
    const Field& fd = c->fields[static_cast<size_t>(f)];
    Value& v = c->buffer.v[static_cast<size_t>(f)];
    switch (fd.type) {
      case FieldType::AutoInc: return Fail(kErrBadValue, "The AutoInc field " + fd.name + " cannot be written");
      case FieldType::Integer: {
        int32_t n = 0;
        if (!ParseInt32(value, &n))
          return Fail(kErrBadValue, "\"" + std::string(value) + "\" is not an integer for field " + fd.name);
        v.i = n;
        break;
      }
      case FieldType::Char:
        if (value.size() > static_cast<size_t>(fd.width))
          return Fail(kErrValueTooLong, "The value for field " + fd.name + " has " + std::to_string(value.size()) +
                                            " characters; the field holds " + std::to_string(fd.width));
        v.s = std::string(value);
        break;
    }
    return Ok();
  }

  uint32_t SetLong(Handle table, std::string_view field, int32_t value) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    int f = FindField(*c, field);
    if (f < 0) return NoField(*c, field);
    if (c->fields[static_cast<size_t>(f)].type == FieldType::Char)
      return SetString(table, field, std::to_string(value));
    if (c->mode == Mode::Browse) return Fail(kErrWrongState, "The record is not being edited");
    if (c->fields[static_cast<size_t>(f)].type == FieldType::AutoInc)
      return Fail(kErrBadValue, "The AutoInc field " + c->fields[static_cast<size_t>(f)].name + " cannot be written");
    c->buffer.v[static_cast<size_t>(f)].i = value;
    return Ok();
  }

  uint32_t WriteRecord(Handle table) override;
  uint32_t DeleteRecord(Handle table) override;

  uint32_t LockTable(Handle table) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    if (c->table_locked) return Ok();
    if (uint32_t rc = OpenLocks(*c)) return rc;
    for (int waited = 0;; waited += 5) {
      if (c->locks.TryLock(kTableLockByte)) break;
      if (waited >= kTableLockWaitMs)
        return Fail(kErrTableLocked, "The table " + c->display + " is locked by another user");
      os::SleepMs(5);
    }
    c->table_locked = true;
    return Ok();
  }

  uint32_t UnlockTable(Handle table) override {
    Cursor* c = Get(table);
    if (!c) return BadHandle();
    if (c->table_locked) c->locks.Unlock(kTableLockByte);
    c->table_locked = false;
    return Ok();
  }

 private:
  enum class Direction { First, Last, After, Before };

  uint32_t Ok() {
    code_ = kOk;
    return kOk;
  }
  uint32_t Fail(uint32_t code, std::string text) {
    code_ = code;
    text_ = std::move(text);
    return code;
  }
  uint32_t BadHandle() { return Fail(kErrInvalidHandle, "Invalid handle: the table or connection is not open"); }
  uint32_t NoField(const Cursor& c, std::string_view field) {
    return Fail(kErrFieldNotFound, "Field " + std::string(field) + " not found in " + c.display);
  }
  uint32_t StoreError(Cursor& c, int rc) {
    int primary = rc & 0xFF;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
      return Fail(kErrBusy, "The table " + c.display + " stayed locked by another user; try again");
    if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
      return Fail(kErrDuplicateKey, "Duplicate key in a unique index tag of " + c.display);
    return Fail(kErrStore, "Table " + c.display + ": " + sqlite3_errstr(rc) + " (" +
                               (c.db ? sqlite3_errmsg(c.db) : "") + ")");
  }

  Cursor* Get(Handle h) {
    auto it = cursors_.find(h);
    return it == cursors_.end() ? nullptr : it->second.get();
  }
  // A cursor that may move: not in the middle of an edit or append.
  Cursor* Browsing(Handle h) {
    Cursor* c = Get(h);
    if (!c) {
      BadHandle();
      return nullptr;
    }
    if (c->mode != Mode::Browse) {
      Fail(kErrWrongState, "The record being edited must be written or cancelled first");
      return nullptr;
    }
    return c;
  }
  const Row* Current(const Cursor& c) const {
    if (c.mode != Mode::Browse) return &c.buffer;
    return c.has_row ? &c.row : nullptr;
  }

  static int FindField(const Cursor& c, std::string_view name) {
    for (size_t i = 0; i < c.fields.size(); ++i)
      if (SameText(c.fields[i].name, name)) return static_cast<int>(i);
    return -1;
  }
  static int FindTag(const Cursor& c, std::string_view name) {
    for (size_t i = 0; i < c.tags.size(); ++i)
      if (SameText(c.tags[i].name, name)) return static_cast<int>(i);
    return -1;
  }

  sqlite3_stmt* Prepare(Cursor& c, const std::string& sql) {
    auto it = c.statements.find(sql);
    if (it != c.statements.end()) return it->second;
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v3(c.db, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &st,
                                nullptr);
    if (rc != SQLITE_OK) {
      StoreError(c, rc);
      return nullptr;
    }
    c.statements.emplace(sql, st);
    return st;
  }

  // Runs a statement that changes nothing and returns no rows (pragmas, BEGIN, COMMIT).
  uint32_t Exec(Cursor& c, const std::string& sql) {
    sqlite3_stmt* st = Prepare(c, sql);
    if (!st) return code_;
    StatementUse use{st};
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) return StoreError(c, rc);
    return Ok();
  }

  std::string SelectList(const Cursor& c) const {
    std::string s = "rec";
    for (const Field& f : c.fields)
      if (f.type != FieldType::AutoInc) s += ", " + f.column;
    return s;
  }
  std::string FilterClause(const Cursor& c, const char* lead) const {
    if (!c.filtered) return "";
    return lead + c.fields[static_cast<size_t>(c.filter_field)].column + " = " + std::to_string(c.filter_value);
  }
  // Column of the order key; "rec" in natural order.
  std::string OrderColumn(const Cursor& c) const {
    if (c.order < 0) return "rec";
    return c.fields[static_cast<size_t>(c.tags[static_cast<size_t>(c.order)].field)].column;
  }

  void ReadRow(const Cursor& c, sqlite3_stmt* st, Row* r) const {
    r->rec = sqlite3_column_int64(st, 0);
    r->v.assign(c.fields.size(), Value{});
    int col = 1;
    for (size_t i = 0; i < c.fields.size(); ++i) {
      const Field& f = c.fields[i];
      if (f.type == FieldType::AutoInc) {
        r->v[i].i = r->rec;
        continue;
      }
      if (f.type == FieldType::Integer) {
        r->v[i].i = sqlite3_column_int64(st, col);
      } else {
        const unsigned char* t = sqlite3_column_text(st, col);
        int n = sqlite3_column_bytes(st, col);
        r->v[i].s.assign(t ? reinterpret_cast<const char*>(t) : "", static_cast<size_t>(n));
      }
      ++col;
    }
  }

  void BindKey(const Cursor& c, sqlite3_stmt* st, int index, const Row& r) const {
    if (c.order < 0) return;
    const Tag& t = c.tags[static_cast<size_t>(c.order)];
    const Field& f = c.fields[static_cast<size_t>(t.field)];
    const Value& v = r.v[static_cast<size_t>(t.field)];
    if (f.type == FieldType::Char)
      sqlite3_bind_text(st, index, v.s.data(), static_cast<int>(v.s.size()), SQLITE_TRANSIENT);
    else if (f.type == FieldType::AutoInc)
      sqlite3_bind_int64(st, index, r.rec);
    else
      sqlite3_bind_int64(st, index, v.i);
  }

  // Up to `limit` visible rows in the current order: from the top, from the
  // bottom, or after / before `from`.
  uint32_t Fetch(Cursor& c, Direction dir, const Row* from, int limit, std::vector<Row>* rows) {
    rows->clear();
    const std::string key = OrderColumn(c);
    const bool natural = key == "rec";
    std::string sql = "SELECT " + SelectList(c) + " FROM records";
    std::string where;
    if (dir == Direction::After) where = natural ? "rec > ?2" : "(" + key + ", rec) > (?1, ?2)";
    if (dir == Direction::Before) where = natural ? "rec < ?2" : "(" + key + ", rec) < (?1, ?2)";
    std::string filter = FilterClause(c, "");
    if (!filter.empty()) where = where.empty() ? filter : where + " AND " + filter;
    if (!where.empty()) sql += " WHERE " + where;
    const bool desc = dir == Direction::Last || dir == Direction::Before;
    if (natural)
      sql += desc ? " ORDER BY rec DESC" : " ORDER BY rec";
    else
      sql += desc ? " ORDER BY " + key + " DESC, rec DESC" : " ORDER BY " + key + ", rec";
    sql += " LIMIT ?3";
    sqlite3_stmt* st = Prepare(c, sql);
    if (!st) return code_;
    StatementUse use{st};
    if (from) {
      if (!natural) BindKey(c, st, 1, *from);
      sqlite3_bind_int64(st, 2, from->rec);
    }
    sqlite3_bind_int(st, 3, limit);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      rows->emplace_back();
      ReadRow(c, st, &rows->back());
    }
    if (rc != SQLITE_DONE) return StoreError(c, rc);
    return Ok();
  }

  uint32_t ReadRecord(Cursor& c, int64_t rec, Row* r, bool* exists) {
    sqlite3_stmt* st = Prepare(c, "SELECT " + SelectList(c) + " FROM records WHERE rec = ?1");
    if (!st) return code_;
    StatementUse use{st};
    sqlite3_bind_int64(st, 1, rec);
    int rc = sqlite3_step(st);
    *exists = rc == SQLITE_ROW;
    if (rc == SQLITE_ROW) {
      ReadRow(c, st, r);
      return Ok();
    }
    if (rc != SQLITE_DONE) return StoreError(c, rc);
    return Ok();
  }

  bool Visible(const Cursor& c, const Row& r) const {
    if (!c.filtered) return true;
    return r.v[static_cast<size_t>(c.filter_field)].i == c.filter_value;
  }

  uint32_t SetEmpty(Cursor& c) {
    c.has_row = false;
    c.row = Row{};
    c.eof = c.bof = true;
    c.ahead.clear();
    return Ok();
  }

  uint32_t Top(Cursor& c) {
    c.ahead.clear();
    c.batch = 8;
    std::vector<Row> rows;
    if (uint32_t rc = Fetch(c, Direction::First, nullptr, c.batch, &rows)) return rc;
    if (rows.empty()) return SetEmpty(c);
    c.row = std::move(rows[0]);
    c.has_row = true;
    c.eof = false;
    c.bof = true;
    for (size_t i = 1; i < rows.size(); ++i) c.ahead.push_back(std::move(rows[i]));
    c.ahead_generation = g_write_generation;
    c.batch = std::min(c.batch * 2, kMaxReadAhead);
    return Ok();
  }

  uint32_t OpenLocks(Cursor& c) {
    if (c.locks.IsOpen()) return Ok();
    if (!c.locks.Open(c.file + "-lock"))
      return Fail(kErrStore, "The lock file of " + c.display + " cannot be opened");
    return Ok();
  }

  uint32_t TakeRecordLock(Cursor& c, int64_t rec) {
    if (uint32_t rc = OpenLocks(c)) return rc;
    if (!c.locks.TryLock(static_cast<uint64_t>(rec)))
      return Fail(kErrRecordLocked,
                  "The record " + std::to_string(rec) + " of " + c.display + " is locked by another user");
    c.locked_record = rec;
    return Ok();
  }

  void ReleaseRecordLock(Cursor& c) {
    if (c.locked_record != 0) c.locks.Unlock(static_cast<uint64_t>(c.locked_record));
    c.locked_record = 0;
  }

  // Rolls back an open transaction after a failed step.
  void Abandon(Cursor& c) {
    if (!sqlite3_get_autocommit(c.db)) sqlite3_exec(c.db, "ROLLBACK", nullptr, nullptr, nullptr);
  }

  uint32_t Commit(Cursor& c) {
    uint32_t rc = Exec(c, "COMMIT");
    if (rc != kOk) Abandon(c);
    return rc;
  }

  uint32_t LoadSchema(Cursor& c);

  uint16_t server_mask_ = kServerRemote | kServerAis;
  std::string date_format_ = "DD.MM.yyyy";
  int decimals_ = 2;
  bool show_deleted_ = true;

  uint32_t code_ = kOk;
  std::string text_;
  Handle next_handle_ = 1;
  std::map<Handle, std::unique_ptr<Connection>> connections_;
  std::map<Handle, std::unique_ptr<Cursor>> cursors_;
};

uint32_t SqliteEngine::LoadSchema(Cursor& c) {
  // Our marker, then the field definitions and tags.
  {
    sqlite3_stmt* st = Prepare(c, "SELECT value FROM zs_meta WHERE key = 'format'");
    if (!st) return Fail(kErrForeignFile, c.display + " is not a table of this engine; it was left unchanged");
    StatementUse use{st};
    int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? Fail(kErrForeignFile, c.display + " is not a table of this engine")
                                                   : StoreError(c, rc);
    const unsigned char* t = sqlite3_column_text(st, 0);
    if (!t || std::string(reinterpret_cast<const char*>(t)) != kFormatName)
      return Fail(kErrForeignFile, c.display + " is not a table of this engine; it was left unchanged");
  }
  {
    sqlite3_stmt* st = Prepare(c, "SELECT value FROM zs_meta WHERE key = 'version'");
    if (!st) return code_;
    StatementUse use{st};
    if (sqlite3_step(st) != SQLITE_ROW || sqlite3_column_int(st, 0) > kFormatVersion)
      return Fail(kErrNotSupported, c.display + " was written by a newer version of this engine");
  }
  {
    sqlite3_stmt* st = Prepare(c, "SELECT pos, name, type, width FROM zs_fields ORDER BY pos");
    if (!st) return code_;
    StatementUse use{st};
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      Field f;
      const int pos = sqlite3_column_int(st, 0);
      const unsigned char* t = sqlite3_column_text(st, 1);
      f.name = t ? reinterpret_cast<const char*>(t) : "";
      const int type = sqlite3_column_int(st, 2);
      if (type < 1 || type > 3) return Fail(kErrStore, c.display + ": unknown field type");
      f.type = static_cast<FieldType>(type);
      f.width = sqlite3_column_int(st, 3);
      f.column = f.type == FieldType::AutoInc ? "rec" : "f" + std::to_string(pos);
      c.fields.push_back(std::move(f));
    }
    if (rc != SQLITE_DONE) return StoreError(c, rc);
  }
  {
    sqlite3_stmt* st = Prepare(c, "SELECT name, field, is_unique FROM zs_tags ORDER BY pos");
    if (!st) return code_;
    StatementUse use{st};
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      Tag t;
      const unsigned char* n = sqlite3_column_text(st, 0);
      t.name = n ? reinterpret_cast<const char*>(n) : "";
      t.field = sqlite3_column_int(st, 1);
      t.unique = sqlite3_column_int(st, 2) != 0;
      if (t.field < 0 || t.field >= static_cast<int>(c.fields.size()))
        return Fail(kErrStore, c.display + ": index tag on an unknown field");
      c.tags.push_back(std::move(t));
    }
    if (rc != SQLITE_DONE) return StoreError(c, rc);
  }
  return Ok();
}

uint32_t SqliteEngine::OpenTable(Handle connection, std::string_view name, Handle* table) {
  if (!table) return Fail(kErrBadValue, "No handle to receive the table");
  *table = 0;
  auto it = connections_.find(connection);
  if (it == connections_.end()) return BadHandle();
  std::string dir, file_name, path;
  if (!ResolveTable(it->second->dir, name, &dir, &file_name))
    return Fail(kErrTableNotFound, "The directory of table " + std::string(name) + " does not exist");
  if (!os::FindFile(dir, file_name, &path) || !os::IsRegularFile(path))
    return Fail(kErrTableNotFound, "Table " + file_name + " not found in " + dir);
  auto c = std::make_unique<Cursor>();
  c->connection = connection;
  c->file = path;
  c->display = path.substr(dir.size());
  if (!IsOurFile(path))
    return Fail(kErrForeignFile, c->display + " is not a table of this engine (unknown file format); it was not "
                                              "opened and is left unchanged");
  // One thread uses each connection: no per-call mutex.
  int rc = sqlite3_open_v2(os::SqlitePath(path).c_str(), &c->db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOMUTEX,
                           nullptr);
  if (rc != SQLITE_OK) return StoreError(*c, rc);
  rc = Configure(c->db);
  if (rc != SQLITE_OK) return StoreError(*c, rc);
  if (uint32_t e = LoadSchema(*c)) return e;
  if (uint32_t e = Top(*c)) return e;
  Handle h = next_handle_++;
  cursors_[h] = std::move(c);
  *table = h;
  return Ok();
}

uint32_t SqliteEngine::CreateTable(Handle connection, std::string_view name, const std::vector<FieldDef>& fields) {
  auto it = connections_.find(connection);
  if (it == connections_.end()) return BadHandle();
  if (fields.empty()) return Fail(kErrBadFieldDef, "A table needs at least one field");
  int autoincs = 0;
  for (size_t i = 0; i < fields.size(); ++i) {
    const FieldDef& f = fields[i];
    if (f.name.empty() || f.name.size() > 128)
      return Fail(kErrBadFieldDef, "Field " + std::to_string(i + 1) + " has no valid name");
    for (size_t j = 0; j < i; ++j)
      if (SameText(fields[j].name, f.name)) return Fail(kErrBadFieldDef, "Field " + f.name + " is defined twice");
    if (f.type == FieldType::Char && (f.width < 1 || f.width > kMaxCharWidth))
      return Fail(kErrBadFieldDef, "Field " + f.name + " has an invalid width");
    if (f.type != FieldType::Char && f.type != FieldType::Integer && f.type != FieldType::AutoInc)
      return Fail(kErrBadFieldDef, "Field " + f.name + " has an unknown type");
    if (f.type == FieldType::AutoInc && ++autoincs > 1)
      return Fail(kErrBadFieldDef, "A table has at most one AutoInc field");
  }
  std::string dir, file_name, existing;
  if (!ResolveTable(it->second->dir, name, &dir, &file_name))
    return Fail(kErrDirectoryNotFound, "The directory of table " + std::string(name) + " does not exist");
  if (os::FindFile(dir, file_name, &existing))
    return Fail(kErrFileExists, "The file " + existing.substr(dir.size()) + " already exists");

  // Built under a private name and moved into place without replacing, so a
  // reader never sees half a table and two creators cannot both win.
  static int serial = 0;
  const std::string temp = dir + "~" + file_name + "." + std::to_string(os::ProcessId()) + "." +
                           std::to_string(++serial) + ".tmp";
  Cursor c;
  c.display = file_name;
  int rc = sqlite3_open_v2(os::SqlitePath(temp).c_str(), &c.db,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXRESCODE, nullptr);
  uint32_t result = kOk;
  if (rc == SQLITE_OK) rc = Configure(c.db);
  if (rc != SQLITE_OK) {
    result = StoreError(c, rc);
  } else {
    const std::string sql = SchemaSql(fields);
    rc = sqlite3_exec(c.db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    if (rc == SQLITE_OK)
      rc = sqlite3_prepare_v2(c.db, "INSERT INTO zs_fields VALUES(?1, ?2, ?3, ?4)", -1, &st, nullptr);
    for (size_t i = 0; rc == SQLITE_OK && i < fields.size(); ++i) {
      sqlite3_bind_int(st, 1, static_cast<int>(i + 1));
      sqlite3_bind_text(st, 2, fields[i].name.data(), static_cast<int>(fields[i].name.size()), SQLITE_TRANSIENT);
      sqlite3_bind_int(st, 3, static_cast<int>(fields[i].type));
      sqlite3_bind_int(st, 4, fields[i].type == FieldType::Char ? fields[i].width : 4);
      rc = sqlite3_step(st);
      rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_OK) result = StoreError(c, rc);
  }
  sqlite3_close_v2(c.db);
  c.db = nullptr;
  // A journal whose table is gone would be played back into the new file.
  std::string orphan;
  if (result == kOk && os::FindFile(dir, file_name + "-journal", &orphan)) os::RemoveFile(orphan);
  if (result == kOk && !os::RenameNoReplace(temp, dir + file_name))
    result = Fail(kErrFileExists, "The table " + file_name + " could not be put in place (it exists already)");
  if (result != kOk) {
    os::RemoveFile(temp);
    os::RemoveFile(temp + "-journal");
    return result;
  }
  g_write_generation++;
  return Ok();
}

uint32_t SqliteEngine::CreateIndex(Handle table, std::string_view tag, std::string_view expression, bool unique) {
  Cursor* c = Browsing(table);
  if (!c) return code_;
  if (tag.empty() || tag.size() > 128) return Fail(kErrBadFieldDef, "Invalid index tag name");
  if (FindTag(*c, tag) >= 0) return Fail(kErrBadFieldDef, "The index tag " + std::string(tag) + " exists already");
  size_t a = 0, b = expression.size();
  while (a < b && expression[a] == ' ') ++a;
  while (b > a && expression[b - 1] == ' ') --b;
  int field = FindField(*c, expression.substr(a, b - a));
  if (field < 0)
    return Fail(kErrBadFieldDef, "Index key \"" + std::string(expression) + "\" is not a field of " + c->display);
  const Field& f = c->fields[static_cast<size_t>(field)];
  if (uint32_t rc = Exec(*c, "BEGIN IMMEDIATE")) return rc;
  sqlite3_stmt* st = Prepare(*c, "INSERT INTO zs_tags(name, field, is_unique) VALUES(?1, ?2, ?3)");
  if (!st) {
    Abandon(*c);
    return code_;
  }
  int rc;
  int64_t pos = 0;
  {
    StatementUse use{st};
    sqlite3_bind_text(st, 1, tag.data(), static_cast<int>(tag.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int(st, 2, field);
    sqlite3_bind_int(st, 3, unique ? 1 : 0);
    rc = sqlite3_step(st);
    pos = sqlite3_last_insert_rowid(c->db);
  }
  if (rc != SQLITE_DONE) {
    uint32_t e = StoreError(*c, rc);
    Abandon(*c);
    return e;
  }
  // The AutoInc field is the record number itself, already unique and ordered.
  if (f.type != FieldType::AutoInc) {
    std::string sql = std::string(unique ? "CREATE UNIQUE INDEX" : "CREATE INDEX") + " tag" + std::to_string(pos) +
                      " ON records(" + f.column + ")";
    rc = sqlite3_exec(c->db, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
      uint32_t e = StoreError(*c, rc);
      Abandon(*c);
      return e;
    }
  }
  if (uint32_t e = Commit(*c)) return e;
  c->tags.push_back(Tag{std::string(tag), field, unique});
  g_write_generation++;
  return Ok();
}

uint32_t SqliteEngine::Seek(Handle table, std::string_view tag, std::string_view key, bool* found) {
  Cursor* c = Browsing(table);
  if (!c) return code_;
  *found = false;
  int t = FindTag(*c, tag);
  if (t < 0) return Fail(kErrTagNotFound, "Index tag \"" + std::string(tag) + "\" not found in " + c->display);
  const Field& f = c->fields[static_cast<size_t>(c->tags[static_cast<size_t>(t)].field)];
  int32_t number = 0;
  // An integer key is the plain decimal text; anything else matches no record.
  if (f.type != FieldType::Char && (key.empty() || key.front() == ' ' || key.back() == ' ' || !ParseInt32(key, &number)))
    return Ok();
  std::string sql = "SELECT " + SelectList(*c) + " FROM records WHERE " + f.column + " = ?1" +
                    FilterClause(*c, " AND ") + " ORDER BY " + f.column + (f.column == "rec" ? "" : ", rec") +
                    " LIMIT 1";
  sqlite3_stmt* st = Prepare(*c, sql);
  if (!st) return code_;
  StatementUse use{st};
  if (f.type == FieldType::Char)
    sqlite3_bind_text(st, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
  else
    sqlite3_bind_int64(st, 1, number);
  int rc = sqlite3_step(st);
  if (rc == SQLITE_ROW) {
    ReadRow(*c, st, &c->row);
    c->has_row = true;
    c->eof = c->bof = false;
    c->ahead.clear();
    *found = true;
    return Ok();
  }
  if (rc != SQLITE_DONE) return StoreError(*c, rc);
  return Ok();
}

uint32_t SqliteEngine::WriteRecord(Handle table) {
  Cursor* c = Get(table);
  if (!c) return BadHandle();
  if (c->mode == Mode::Browse) return Fail(kErrWrongState, "The record is not being edited");
  if (c->mode == Mode::Edit && c->locked_record != c->buffer.rec)
    return Fail(kErrWrongState, "The record being edited is not locked");
  const bool append = c->mode == Mode::Append;
  std::string sql;
  std::vector<size_t> bound;
  for (size_t i = 0; i < c->fields.size(); ++i)
    if (c->fields[i].type != FieldType::AutoInc) bound.push_back(i);
  if (append) {
    if (bound.empty()) {
      sql = "INSERT INTO records DEFAULT VALUES";
    } else {
      std::string cols, params;
      for (size_t k = 0; k < bound.size(); ++k) {
        cols += (k ? ", " : "") + c->fields[bound[k]].column;
        params += (k ? ", ?" : "?") + std::to_string(k + 1);
      }
      sql = "INSERT INTO records(" + cols + ") VALUES(" + params + ")";
    }
  } else {
    if (bound.empty()) sql = "UPDATE records SET rec = rec WHERE rec = ?" + std::to_string(bound.size() + 1);
    for (size_t k = 0; k < bound.size(); ++k)
      sql += (k ? ", " : "UPDATE records SET ") + c->fields[bound[k]].column + " = ?" + std::to_string(k + 1);
    if (!bound.empty()) sql += " WHERE rec = ?" + std::to_string(bound.size() + 1);
  }
  sqlite3_stmt* st = Prepare(*c, sql);
  if (!st) return code_;
  // One durable transaction per write; IMMEDIATE takes the write lock first,
  // so two writers queue on the busy timeout instead of deadlocking.
  if (uint32_t rc = Exec(*c, "BEGIN IMMEDIATE")) return rc;
  int rc;
  int64_t rec = c->buffer.rec;
  {
    StatementUse use{st};
    for (size_t k = 0; k < bound.size(); ++k) {
      const Field& f = c->fields[bound[k]];
      const Value& v = c->buffer.v[bound[k]];
      if (f.type == FieldType::Char)
        sqlite3_bind_text(st, static_cast<int>(k + 1), v.s.data(), static_cast<int>(v.s.size()), SQLITE_TRANSIENT);
      else
        sqlite3_bind_int64(st, static_cast<int>(k + 1), v.i);
    }
    if (!append) sqlite3_bind_int64(st, static_cast<int>(bound.size() + 1), rec);
    rc = sqlite3_step(st);
    if (append) rec = sqlite3_last_insert_rowid(c->db);
  }
  if (rc != SQLITE_DONE) {
    uint32_t e = StoreError(*c, rc);
    Abandon(*c);
    return e;
  }
  if (!append && sqlite3_changes(c->db) != 1) {
    Abandon(*c);
    return Fail(kErrRecordDeleted, "The record was deleted by another user");
  }
  if (uint32_t e = Commit(*c)) return e;
  g_write_generation++;
  c->buffer.rec = rec;
  for (size_t i = 0; i < c->fields.size(); ++i)
    if (c->fields[i].type == FieldType::AutoInc) c->buffer.v[i].i = rec;
  c->row = c->buffer;
  c->has_row = true;
  c->eof = c->bof = false;
  c->mode = Mode::Browse;
  c->ahead.clear();
  return Ok();
}

uint32_t SqliteEngine::DeleteRecord(Handle table) {
  Cursor* c = Get(table);
  if (!c) return BadHandle();
  if (c->mode == Mode::Append) return Fail(kErrWrongState, "A new record is being appended");
  if (!c->has_row) return Fail(kErrNoCurrentRecord, "There is no current record in " + c->display);
  const int64_t rec = c->row.rec;
  if (c->locked_record != rec) {
    if (c->locked_record != 0) return Fail(kErrWrongState, "Another record of this cursor is locked");
    if (uint32_t e = TakeRecordLock(*c, rec)) return e;
  }
  c->mode = Mode::Browse;
  uint32_t result = Exec(*c, "BEGIN IMMEDIATE");
  if (result == kOk) {
    sqlite3_stmt* st = Prepare(*c, "DELETE FROM records WHERE rec = ?1");
    if (!st) {
      result = code_;
      Abandon(*c);
    } else {
      int rc;
      {
        StatementUse use{st};
        sqlite3_bind_int64(st, 1, rec);
        rc = sqlite3_step(st);
      }
      if (rc != SQLITE_DONE) {
        result = StoreError(*c, rc);
        Abandon(*c);
      } else {
        result = Commit(*c);
      }
    }
  }
  ReleaseRecordLock(*c);
  if (result != kOk) return result;
  g_write_generation++;
  // On to the next visible record; past the end, the last one with EOF set.
  c->ahead.clear();
  std::vector<Row> rows;
  const Row gone = c->row;
  if (uint32_t e = Fetch(*c, Direction::After, &gone, 1, &rows)) return e;
  if (!rows.empty()) {
    c->row = std::move(rows[0]);
    c->eof = c->bof = false;
    return Ok();
  }
  if (uint32_t e = Fetch(*c, Direction::Before, &gone, 1, &rows)) return e;
  if (rows.empty()) return SetEmpty(*c);
  c->row = std::move(rows[0]);
  c->eof = true;
  c->bof = false;
  return Ok();
}

}  // namespace

TableEngine& Engine() {
  static SqliteEngine engine;
  return engine;
}

}  // namespace zs::engine
