#include "storage/engine_sqlite_file.h"

#include "storage/engine_os.h"

namespace zs::engine {
namespace {

bool HasExtension(std::string_view name) {
  size_t slash = name.find_last_of("\\/");
  size_t dot = name.find_last_of('.');
  return dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
}

}  // namespace

bool ResolveTable(const std::string& connection_dir, std::string_view name, std::string* dir,
                  std::string* file_name) {
  std::string n(name);
  size_t slash = n.find_last_of("\\/");
  std::string dir_part, base = n;
  if (slash != std::string::npos) {
    dir_part = n.substr(0, slash + 1);
    base = n.substr(slash + 1);
  }
  const bool absolute = !dir_part.empty() && (dir_part[0] == '\\' || dir_part[0] == '/' ||
                                              (dir_part.size() > 1 && dir_part[1] == ':'));
  if (dir_part.empty()) {
    *dir = connection_dir;
  } else if (!os::ResolveDirectory(absolute ? dir_part : connection_dir + dir_part, dir)) {
    return false;
  }
  if (!HasExtension(base)) {
    bool lower = false;
    for (char ch : base) lower |= (ch >= 'a' && ch <= 'z');
    base += lower ? ".adt" : ".ADT";
  }
  *file_name = base;
  return true;
}

bool IsOurFile(const std::string& path) {
  std::string head;
  if (!os::ReadHead(path, 100, &head) || head.size() < 100) return false;
  if (head.compare(0, 16, std::string("SQLite format 3\0", 16)) != 0) return false;
  auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(head[i])); };
  const uint32_t app_id = (b(68) << 24) | (b(69) << 16) | (b(70) << 8) | b(71);
  return app_id == kApplicationId;
}

std::string SchemaSql(const std::vector<FieldDef>& fields) {
  std::string sql = "PRAGMA application_id=" + std::to_string(kApplicationId) + ";" +
                    "PRAGMA user_version=" + std::to_string(kFormatVersion) + ";" + "BEGIN;" +
                    "CREATE TABLE zs_meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);" +
                    "INSERT INTO zs_meta VALUES('format', '" + kFormatName + "');" +
                    "INSERT INTO zs_meta VALUES('version', '" + std::to_string(kFormatVersion) + "');" +
                    "INSERT INTO zs_meta VALUES('chartype', 'ANSI');" +
                    "CREATE TABLE zs_fields(pos INTEGER PRIMARY KEY, name TEXT NOT NULL, type INTEGER NOT NULL, "
                    "width INTEGER NOT NULL);" +
                    "CREATE TABLE zs_tags(pos INTEGER PRIMARY KEY, name TEXT NOT NULL, field INTEGER NOT NULL, "
                    "is_unique INTEGER NOT NULL);";
  std::string columns = "rec INTEGER PRIMARY KEY AUTOINCREMENT";
  for (size_t i = 0; i < fields.size(); ++i) {
    const FieldDef& f = fields[i];
    if (f.type == FieldType::Char) columns += ", f" + std::to_string(i + 1) + " TEXT NOT NULL DEFAULT ''";
    if (f.type == FieldType::Integer) columns += ", f" + std::to_string(i + 1) + " INTEGER NOT NULL DEFAULT 0";
  }
  sql += "CREATE TABLE records(" + columns + ");COMMIT;";
  return sql;
}

// Connection settings every table file gets: rollback journal (tables may sit
// on a network share, where WAL's shared memory does not work); synchronous
// EXTRA, which is FULL plus a sync of the directory after the journal is
// deleted, the commit point of a rollback journal, so a returned commit
// survives a power cut too; a bounded wait for the file lock; and no way for a
// file to run code.
int Configure(sqlite3* db) {
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
  return sqlite3_exec(db, "PRAGMA synchronous=EXTRA; PRAGMA journal_mode=DELETE; PRAGMA temp_store=MEMORY;",
                      nullptr, nullptr, nullptr);
}

}  // namespace zs::engine
