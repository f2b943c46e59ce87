// The table engine: the calls the database objects (storage/database.h) make
// to reach their tables. The interface follows the vendor's client engine one
// call to one call (AdsConnect60, AdsOpenTable, AdsSkip, AdsLockRecord, ...), so
// a binding to that library can stand behind it as well as our own engine,
// which keeps each table in an SQLite file (docs/storage.md).
//
// Every call answers an error number, 0 on success; after a failure
// LastError() gives that number and a text. Handles are never reused within a
// process; 0 is no handle. All calls come from one thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zs::engine {

using Handle = uint64_t;

// Error numbers of this engine.
enum : uint32_t {
  kOk = 0,
  kErrInvalidHandle = 9001,
  kErrDirectoryNotFound = 9002,
  kErrTableNotFound = 9003,
  kErrForeignFile = 9004,      // a file that is not a table of this engine: left alone
  kErrFileExists = 9005,
  kErrStore = 9006,            // the SQLite store failed (text carries its message)
  kErrFieldNotFound = 9007,
  kErrValueTooLong = 9008,
  kErrBadValue = 9009,
  kErrBadFilter = 9010,
  kErrRecordLocked = 9011,     // another cursor or process holds the record lock
  kErrNoCurrentRecord = 9012,
  kErrTableLocked = 9013,      // the table lock stayed taken for the whole wait
  kErrTagNotFound = 9014,
  kErrDuplicateKey = 9015,
  kErrWrongState = 9016,
  kErrBadFieldDef = 9017,
  kErrBusy = 9018,             // the table file stayed locked for the whole busy timeout
  kErrSettingRefused = 9019,
  kErrNotSupported = 9020,
  kErrRecordDeleted = 9021,
};

// Server-type mask, as the vendor's engine takes it.
enum : uint16_t { kServerLocal = 1, kServerRemote = 2, kServerAis = 4 };

enum class FieldType : uint8_t { AutoInc = 1, Char = 2, Integer = 3 };

struct FieldDef {
  std::string name;
  FieldType type = FieldType::Char;
  int width = 0;  // characters (bytes) for Char; ignored otherwise
};

struct TagInfo {
  std::string name;
  std::string expression;  // the one field it orders by
  bool unique = false;
};

// A position to come back to: the record and the EOF/BOF flags.
struct Bookmark {
  int64_t record = 0;  // 0: no current record
  bool eof = true;
  bool bof = true;
};

class TableEngine {
 public:
  virtual ~TableEngine() = default;

  // The number and text of the last failure (AdsGetLastError).
  virtual uint32_t LastError(std::string* text) const = 0;

  // Process-wide settings (AdsSetDateFormat, AdsSetDecimals, AdsShowDeleted,
  // AdsSetServerType, AdsCacheOpenTables, AdsCacheOpenCursors).
  virtual uint32_t SetDateFormat(std::string_view format) = 0;
  virtual uint32_t SetDecimals(int decimals) = 0;
  virtual uint32_t ShowDeleted(bool show) = 0;
  virtual uint32_t SetServerType(uint16_t mask) = 0;
  virtual uint32_t CacheOpenTables(int count) = 0;
  virtual uint32_t CacheOpenCursors(int count) = 0;

  // A directory of free tables ("\" and "/" both separate; empty: the current
  // directory). The mask is kept, whatever it says (AdsConnect60).
  virtual uint32_t Connect(std::string_view path, uint16_t server_mask, Handle* connection) = 0;
  // Closes the connection's tables too (AdsDisconnect).
  virtual uint32_t Disconnect(Handle connection) = 0;
  virtual uint32_t GetConnectionType(Handle connection, uint16_t* server_mask) = 0;

  // Opens shared and read-write with all its index tags, in natural order, on
  // the first record (AdsOpenTable + AdsOpenIndex). A name without extension
  // gets ".ADT"; names match without regard to case.
  virtual uint32_t OpenTable(Handle connection, std::string_view name, Handle* table) = 0;
  // Releases the table's record lock and table lock (AdsCloseTable).
  virtual uint32_t CloseTable(Handle table) = 0;
  // Creates an empty table; never replaces an existing file (AdsCreateTable71).
  virtual uint32_t CreateTable(Handle connection, std::string_view name,
                               const std::vector<FieldDef>& fields) = 0;
  // Adds a tag over one field (AdsCreateIndex61).
  virtual uint32_t CreateIndex(Handle table, std::string_view tag, std::string_view expression,
                               bool unique) = 0;

  virtual uint32_t GetNumFields(Handle table, int* count) = 0;
  virtual uint32_t GetFieldDef(Handle table, int index, FieldDef* def) = 0;
  virtual uint32_t GetNumIndexes(Handle table, int* count) = 0;
  virtual uint32_t GetIndexInfo(Handle table, int index, TagInfo* info) = 0;

  // Order by a tag; empty: natural order. Keeps the current record (AdsGetIndexHandle).
  virtual uint32_t SetOrder(Handle table, std::string_view tag) = 0;
  // Only "<field>=<integer>" on an Integer or AutoInc field; anything else is
  // refused with kErrBadFilter (AdsSetAOF, AdsClearAOF). Neither moves the cursor.
  virtual uint32_t SetFilter(Handle table, std::string_view expression) = 0;
  virtual uint32_t ClearFilter(Handle table) = 0;

  virtual uint32_t GotoTop(Handle table) = 0;
  virtual uint32_t GotoBottom(Handle table) = 0;
  // Moves by `count` visible records in the current order (AdsSkip).
  virtual uint32_t Skip(Handle table, int count) = 0;
  virtual uint32_t AtEOF(Handle table, bool* eof) = 0;
  virtual uint32_t AtBOF(Handle table, bool* bof) = 0;
  // Exact seek on a tag: the first visible record whose key equals the key,
  // in tag order; stays put when there is none (AdsSeek).
  virtual uint32_t Seek(Handle table, std::string_view tag, std::string_view key, bool* found) = 0;
  virtual uint32_t GetBookmark(Handle table, Bookmark* mark) = 0;
  virtual uint32_t GotoBookmark(Handle table, const Bookmark& mark) = 0;
  // Visible records (AdsGetRecordCount, filters respected).
  virtual uint32_t GetRecordCount(Handle table, uint32_t* count) = 0;
  // Reads the current record again from the file (AdsRefreshRecord).
  virtual uint32_t RefreshRecord(Handle table) = 0;

  // Reads a field of the current record, or of the record being edited.
  virtual uint32_t GetString(Handle table, std::string_view field, std::string* value) = 0;
  virtual uint32_t GetLong(Handle table, std::string_view field, int32_t* value) = 0;

  // Exclusive across cursors, connections and processes; fails at once with
  // kErrRecordLocked when held elsewhere; re-reads the record (AdsLockRecord).
  virtual uint32_t LockRecord(Handle table) = 0;
  // Drops unwritten changes and releases the lock (AdsUnlockRecord).
  virtual uint32_t UnlockRecord(Handle table) = 0;
  // Starts a new, empty record (AdsAppendRecord / AdsClearRecordBuffer).
  virtual uint32_t AppendRecord(Handle table) = 0;
  // Into the record being edited or appended (AdsSetString, AdsSetLong). A
  // Char value longer than the field's width is refused with kErrValueTooLong.
  virtual uint32_t SetString(Handle table, std::string_view field, std::string_view value) = 0;
  virtual uint32_t SetLong(Handle table, std::string_view field, int32_t value) = 0;
  // Writes the edited or appended record in one durable transaction; the
  // record lock stays until UnlockRecord (AdsWriteRecord). An appended record
  // receives its AutoInc value and becomes the current record.
  virtual uint32_t WriteRecord(Handle table) = 0;
  // Deletes the current record (taking its lock for the moment if this cursor
  // does not hold it) and moves to the next visible one (AdsDeleteRecord).
  virtual uint32_t DeleteRecord(Handle table) = 0;

  // Serialises holders of the table lock across cursors and processes; waits
  // a bounded time for it, then fails with kErrTableLocked. Record locks and
  // writes of others are not blocked by it (AdsLockTable, AdsUnlockTable).
  virtual uint32_t LockTable(Handle table) = 0;
  virtual uint32_t UnlockTable(Handle table) = 0;
};

// The process's engine (our SQLite engine).
TableEngine& Engine();

}  // namespace zs::engine
