#include "tools/demo_db/demo_db.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/storage_links/link_fixture.h"

namespace zs::test {
namespace {

struct AddressRow {
  int32_t id;
  std::string knr, gr, abt, nname, vname, match0;
  bool operator==(const AddressRow&) const = default;
};

std::vector<AddressRow> ReadAddresses(const std::string& dir) {
  TAdsConnection c(nullptr, "c");
  c.SetConnectPath(dir);
  c.SetIsConnected(true);
  TAdsTable t(nullptr, "t");
  t.SetAdsConnection(&c);
  t.SetTableName("Adressen.adt");
  t.Open();
  t.SetIndexName("ID");
  std::vector<AddressRow> rows;
  for (t.First(); !t.Eof(); t.Next())
    rows.push_back({t.FieldByName("ID").AsInteger(), t.FieldByName("KNR").AsString(), t.FieldByName("GR").AsString(),
                    t.FieldByName("Abt").AsString(), t.FieldByName("NName").AsString(),
                    t.FieldByName("VName").AsString(), t.FieldByName("match0").AsString()});
  return rows;
}

TEST(DemoDatabase, IsTheSameForTheSameSeedAndHoldsWhatRealDataHolds) {
  TempDir one, two, other;
  demo::TDemoDbOptions options;
  options.Addresses = 150;
  options.Links = 100;
  options.PerOwner = 4;
  options.Seed = 7;
  const demo::TDemoDb db = demo::GenerateDemoDatabase(one.str(), options);
  demo::GenerateDemoDatabase(two.str(), options);
  EXPECT_EQ(ReadAddresses(one.str()), ReadAddresses(two.str()));
  EXPECT_EQ(LinkMap(one.str()), LinkMap(two.str()));
  options.Seed = 8;
  demo::GenerateDemoDatabase(other.str(), options);
  EXPECT_NE(LinkMap(one.str()), LinkMap(other.str()));

  const auto addresses = ReadAddresses(one.str());
  ASSERT_EQ(addresses.size(), 150u);
  std::set<int32_t> ids;
  bool special = false, empty_first = false, empty_group = false, firm = false;
  for (const AddressRow& a : addresses) {
    ids.insert(a.id);
    special |= (a.abt + a.nname).find_first_of("\xAC\xB6") != std::string::npos;  // ¬ ¶
    empty_first |= a.vname.empty();
    empty_group |= a.gr.empty();
    firm |= a.abt.find("GmbH") != std::string::npos;
  }
  EXPECT_TRUE(special && empty_first && empty_group && firm);

  const auto links = LinkMap(one.str());
  EXPECT_EQ(static_cast<int>(links.size()), db.LinkRecords);
  EXPECT_EQ(db.Symmetric.size(), 100u);
  auto holds = [&](int32_t self, int32_t item) {
    auto it = links.find(self);
    return it != links.end() && FindLink(ReadLinkList(it->second), std::to_string(item)) >= 0;
  };
  for (const demo::TDemoLink& l : db.Symmetric) EXPECT_TRUE(holds(l.Owner, l.Linked) && holds(l.Linked, l.Owner));
  ASSERT_FALSE(db.OneSided.empty());
  for (const demo::TDemoLink& l : db.OneSided) EXPECT_TRUE(holds(l.Owner, l.Linked) && !holds(l.Linked, l.Owner));
  ASSERT_FALSE(db.Dangling.empty());
  for (const demo::TDemoLink& l : db.Dangling) {
    EXPECT_TRUE(holds(l.Owner, l.Linked));
    EXPECT_EQ(ids.count(l.Linked), 0u);
  }
  for (const auto& [self, list] : links) EXPECT_LE(ReadLinkList(list).size(), 4u + 4u) << self;
}

TEST(DemoDatabase, NeverWritesOverExistingTables) {
  TempDir dir;
  demo::TDemoDbOptions options;
  options.Addresses = 5;
  options.Links = 2;
  demo::GenerateDemoDatabase(dir.str(), options);
  const auto before = LinkMap(dir.str());
  EXPECT_THROW(demo::GenerateDemoDatabase(dir.str(), options), std::runtime_error);
  EXPECT_EQ(LinkMap(dir.str()), before);
  options.Addresses = -1;
  EXPECT_THROW(demo::GenerateDemoDatabase(dir.str(), options), std::invalid_argument);
}

}  // namespace
}  // namespace zs::test
