// The table file of the SQLite engine: how a name becomes a file, how our
// files are told from all others, what a new file contains, and the settings
// every connection to one gets. docs/storage.md describes the layout.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "storage/engine.h"

namespace zs::engine {

// "ZSDT" in the SQLite header's application id: the mark of our files.
constexpr uint32_t kApplicationId = 0x5A534454;
constexpr const char* kFormatName = "zs-adt";  // zs_meta 'format'
constexpr int kFormatVersion = 1;
constexpr int kBusyTimeoutMs = 8000;

// A table name against a connection's native directory: "\" and "/"
// separate, letter case does not matter, a missing extension is ".ADT"
// (".adt" when the name has lower-case letters). False when a directory part
// does not exist; `file_name` is the name to look for or create in `dir`.
bool ResolveTable(const std::string& connection_dir, std::string_view name, std::string* dir,
                  std::string* file_name);

// Reads only the first 100 bytes: true for an SQLite file with our application id.
bool IsOurFile(const std::string& native_path);

// The statements that make an empty table with these (already checked) fields.
std::string SchemaSql(const std::vector<FieldDef>& fields);

// Journal, syncs, busy timeout and defensive flags for a fresh connection;
// an SQLite result code.
int Configure(sqlite3* db);

}  // namespace zs::engine
