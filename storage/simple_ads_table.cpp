#include "storage/simple_ads_table.h"

#include "editor/class_registry.h"

namespace zs {

TSimpleAdsTable::TSimpleAdsTable(TAdsConnection*, bool) {}
TSimpleAdsTable::~TSimpleAdsTable() = default;

const TClassInfo& TSimpleAdsTable::ClassType() { return TSimpleAdsTableClass; }

}  // namespace zs
