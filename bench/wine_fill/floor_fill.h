// The floor of the overview's fill: a bare tree-view filled from the same
// tables the fastest correct way (one exact lookup per owner and per linked
// entry, one insert per node, one pump per record, children sorted in memory
// with lstrcmpA, owners inserted expanded, one sort of the top level).
#pragma once

#include <string>

namespace zs::bench {

struct TFloorResult {
  double seconds = 0;
  int nodes = 0;
};

// Connects to `dir`, fills a fresh tree-view in a fresh top-level window,
// destroys both and answers the time of the fill (connection included).
TFloorResult RunFloorFill(const std::string& dir);

}  // namespace zs::bench
