// The base of the system's table wrappers: a class that binds one table of a
// connection and creates it when it is missing. Entered in the class registry
// as "TSimpleAdsTable" at start-up (editor/class_registry.h).
#pragma once

#include <string>

#include "storage/database.h"

namespace zs {

class TClassInfo;

class TSimpleAdsTable {
 public:
  // The base only constructs; a descendant's constructor finishes by calling
  // its OpenTable with the same two arguments.
  TSimpleAdsTable(TAdsConnection* connection, bool create_if_missing);
  virtual ~TSimpleAdsTable();
  TSimpleAdsTable(const TSimpleAdsTable&) = delete;
  TSimpleAdsTable& operator=(const TSimpleAdsTable&) = delete;

  // Creates the wrapped table in `directory` (a path as the connection holds
  // it); true on success.
  virtual bool CreateTable(const std::string& directory, TAdsServerTypes server_types) = 0;
  // The cursor that readers use; lives as long as the wrapper.
  virtual TAdsTable& GetTable() = 0;
  // Binds and opens the table on `connection` (not owned), creating it first
  // when it is missing and `create_if_missing` is set.
  virtual void OpenTable(TAdsConnection* connection, bool create_if_missing) = 0;

  static const TClassInfo& ClassType();
};

}  // namespace zs
