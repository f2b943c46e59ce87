// A demo database directory: an address table Adressen.adt with German
// addresses as the suite keeps them, and the link table ADRESSLINK with
// links as real data has them: symmetric links, a few one-sided ones and a
// few to addresses that no longer exist. The same options give the same
// files, byte for byte in content, on every platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zs::demo {

struct TDemoDbOptions {
  int Addresses = 400;  // records of Adressen.adt
  int Links = 300;      // symmetric links (each stored on both sides)
  int PerOwner = 6;     // at most this many symmetric links per address
  uint64_t Seed = 1;
  // Extras, each stored on one side only.
  int OneSided = -1;  // links missing their other side; -1: about 2 % of Links, at least 1
  int Dangling = -1;  // links to IDs without an address; -1: about 2 % of Links, at least 1
};

struct TDemoLink {
  int32_t Owner = 0;
  int32_t Linked = 0;
};

// What was written, for tests that check against it.
struct TDemoDb {
  std::vector<int32_t> AddressIds;  // in record order, ascending, with gaps
  std::vector<TDemoLink> Symmetric;
  std::vector<TDemoLink> OneSided;  // stored only in Owner's list
  std::vector<TDemoLink> Dangling;  // Linked has no address; stored only in Owner's list
  int LinkRecords = 0;              // records of ADRESSLINK
};

// Creates `directory` if needed and writes both tables into it through the
// database objects. Refuses (std::runtime_error) when either table is there
// already: a directory with data is never changed. Throws
// std::invalid_argument for options out of range and std::runtime_error (or
// the engine's EADSDatabaseError) when the files cannot be written. Fewer
// symmetric links than asked are made when PerOwner does not leave room.
TDemoDb GenerateDemoDatabase(const std::string& directory, const TDemoDbOptions& options);

}  // namespace zs::demo
