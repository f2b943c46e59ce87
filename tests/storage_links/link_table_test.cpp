#include "storage/link_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "editor/class_registry.h"
#include "storage/engine.h"
#include "tests/storage_links/link_fixture.h"
#include "tests/support/recording_user.h"

namespace zs::test {
namespace {

using LinkMapT = std::map<int32_t, std::string>;
const std::string kOpenError = "<B>ADRESSLINK kann nicht ge\xF6" "ffnet werden:<BR></B>";
const std::string kError = "<B>Fehler:</B><BR>";

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// ---- opening and creating ----

using LinkTableOpen = LinkTableTest;

TEST_F(LinkTableOpen, CreatesTheMissingTableWithItsFourFieldsAndTwoTags) {
  RecordingUser user;
  auto links = Open();
  ASSERT_TRUE(links->GetTable().Active());
  ASSERT_TRUE(links->PartnerTable().Active());
  EXPECT_TRUE(user.notes.empty());
  EXPECT_EQ(links->GetTable().IndexName(), "SELFID");
  EXPECT_EQ(links->PartnerTable().IndexName(), "");
  EXPECT_TRUE(links->GetTable().IsEmpty());
  EXPECT_EQ(user.events, (std::vector<std::string>{"wait:on", "wait:on", "wait:off", "wait:off"}));

  engine::TableEngine& e = engine::Engine();
  const engine::Handle h = links->GetTable().Handle();
  int fields = 0;
  ASSERT_EQ(e.GetNumFields(h, &fields), 0u);
  ASSERT_EQ(fields, 4);
  const std::pair<const char*, engine::FieldType> expected[] = {{"ID", engine::FieldType::AutoInc},
                                                               {"ADRESSID", engine::FieldType::Char},
                                                               {"SELFID", engine::FieldType::Integer},
                                                               {"CAT", engine::FieldType::Char}};
  for (int i = 0; i < 4; ++i) {
    engine::FieldDef def;
    ASSERT_EQ(e.GetFieldDef(h, i, &def), 0u);
    EXPECT_EQ(def.name, expected[i].first);
    EXPECT_EQ(def.type, expected[i].second);
  }
  engine::FieldDef def;
  e.GetFieldDef(h, 1, &def);
  EXPECT_EQ(def.width, 4000);
  e.GetFieldDef(h, 3, &def);
  EXPECT_EQ(def.width, 30);

  int tags = 0;
  ASSERT_EQ(e.GetNumIndexes(h, &tags), 0u);
  ASSERT_EQ(tags, 2);
  engine::TagInfo id_tag, self_tag;
  e.GetIndexInfo(h, 0, &id_tag);
  e.GetIndexInfo(h, 1, &self_tag);
  EXPECT_EQ(id_tag.name, "ID");
  EXPECT_EQ(id_tag.expression, "ID");
  EXPECT_TRUE(id_tag.unique);
  EXPECT_EQ(self_tag.name, "SELFID");
  EXPECT_EQ(self_tag.expression, "SELFID");
  EXPECT_FALSE(self_tag.unique);
}

TEST_F(LinkTableOpen, PathsWithAndWithoutTheTrailingSeparatorFindTheSameTable) {
  {
    auto links = Open();
    int32_t linked = 7;
    ASSERT_TRUE(links->AddLink({}, links->GetTable(), "12", linked));
  }
  for (const std::string& path : {dir.str() + "\\", dir.str() + "/"}) {
    TAdsConnection other(nullptr, "other");
    other.SetConnectPath(path);
    other.SetIsConnected(true);
    RecordingUser user;
    TLinkTableClass links(&other, true);
    ASSERT_TRUE(links.GetTable().Active()) << path;
    EXPECT_EQ(links.GetTable().RecordCount(), 2) << path;
    EXPECT_TRUE(user.notes.empty());
  }
}

TEST_F(LinkTableOpen, AnEmptyConnectPathMeansTheCurrentDirectory) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.str());
  {
    TAdsConnection here(nullptr, "here");
    here.SetIsConnected(true);
    RecordingUser user;
    TLinkTableClass links(&here, true);
    EXPECT_TRUE(links.GetTable().Active());
    EXPECT_TRUE(user.notes.empty());
  }
  std::filesystem::current_path(previous);
  TAdsTable probe(nullptr, "probe");
  probe.SetAdsConnection(&connection);
  probe.SetTableName("adresslink");
  EXPECT_TRUE(probe.Exists());
}

TEST_F(LinkTableOpen, LeftoverIndexAndMemoFilesAreDeletedBeforeCreating) {
  {
    std::ofstream(dir.File("adresslink.adi")) << "stale index";
    std::ofstream(dir.File("ADRESSLINK.ADM")) << "stale memo";
  }
  RecordingUser user;
  auto links = Open();
  ASSERT_TRUE(links->GetTable().Active());
  for (const char* name : {"adresslink.adi", "ADRESSLINK.ADM"}) {
    const std::string path = dir.File(name);
    EXPECT_TRUE(!std::filesystem::exists(path) || ReadFile(path).find("stale") == std::string::npos) << name;
  }
}

TEST_F(LinkTableOpen, WithoutCreationAMissingTableLeavesBothCursorsClosedAndSaysNothing) {
  RecordingUser user;
  TLinkTableClass links(&connection, false);
  EXPECT_FALSE(links.GetTable().Active());
  EXPECT_FALSE(links.PartnerTable().Active());
  EXPECT_TRUE(user.notes.empty());
  EXPECT_FALSE(user.wait_cursor_on);
  EXPECT_FALSE(std::filesystem::exists(dir.File("ADRESSLINK.ADT")));
}

TEST_F(LinkTableOpen, FailuresAreShownOnceAndNeverThrown) {
  TAdsConnection nowhere(nullptr, "nowhere");
  nowhere.SetConnectPath(dir.File("missing"));
  RecordingUser user;
  TLinkTableClass links(&nowhere, true);
  EXPECT_FALSE(links.GetTable().Active());
  ASSERT_EQ(user.notes.size(), 1u);
  EXPECT_TRUE(StartsWith(user.notes[0], kOpenError)) << user.notes[0];
  EXPECT_GT(user.notes[0].size(), kOpenError.size());  // the engine's text follows
  EXPECT_FALSE(user.wait_cursor_on);
}

TEST_F(LinkTableOpen, AForeignTableFileIsReportedAndLeftAlone) {
  const std::string foreign = std::string("\x03\x7E\x01\x02not a table of ours", 22) + std::string(600, 'x');
  { std::ofstream(dir.File("ADRESSLINK.ADT"), std::ios::binary) << foreign; }
  RecordingUser user;
  auto links = Open();
  EXPECT_FALSE(links->GetTable().Active());
  ASSERT_EQ(user.notes.size(), 1u);
  EXPECT_TRUE(StartsWith(user.notes[0], kOpenError));
  EXPECT_EQ(ReadFile(dir.File("ADRESSLINK.ADT")), foreign);
}

class RefusingLinkTable : public TLinkTableClass {
 public:
  using TLinkTableClass::TLinkTableClass;
  bool CreateTable(const std::string&, TAdsServerTypes) override { return false; }
};

TEST_F(LinkTableOpen, ACreationWithoutSuccessIsReportedInItsOwnWords) {
  RecordingUser user;
  RefusingLinkTable links(&connection, false);  // finds nothing, creates nothing
  links.OpenTable(&connection, true);
  EXPECT_FALSE(links.GetTable().Active());
  ASSERT_EQ(user.notes.size(), 1u);
  EXPECT_EQ(user.notes[0], kOpenError + "Tabelle kann nicht eingerichtet werden.");
}

// ---- adding ----

using LinkTableAdd = LinkTableTest;

TEST_F(LinkTableAdd, TheFirstLinkCreatesARecordOnEachSideAndRepeatsOnlyBeep) {
  RecordingUser user;
  auto links = Open();
  int32_t linked = 7;
  EXPECT_TRUE(links->AddLink({}, links->GetTable(), "12", linked));
  EXPECT_EQ(Links(), (LinkMapT{{7, "12"}, {12, "7"}}));
  EXPECT_EQ(links->LinkIDs(), (TLinkList{"7"}));
  EXPECT_TRUE(user.beeps.empty());

  EXPECT_FALSE(links->AddLink({}, links->GetTable(), "12", linked));  // again
  int32_t self = 12;
  EXPECT_FALSE(links->AddLink({}, links->GetTable(), "12", self));  // to itself
  EXPECT_EQ(user.beeps, (std::vector<unsigned>{kBeepExclamation, kBeepExclamation}));
  EXPECT_TRUE(user.notes.empty());
  EXPECT_EQ(Links(), (LinkMapT{{7, "12"}, {12, "7"}}));
}

TEST_F(LinkTableAdd, ASecondLinkExtendsTheOwnerAndLeavesAPartnerThatListsItAlone) {
  WriteLinkRecords(dir.str(), {{12, "7"}, {7, "12"}, {9, "30, 12"}});
  auto links = Open();
  links->LinkIDs() = {"7"};
  int32_t linked = 9;
  EXPECT_TRUE(links->AddLink({}, links->GetTable(), "12", linked));
  EXPECT_EQ(Links(), (LinkMapT{{7, "12"}, {9, "30, 12"}, {12, "7,9"}}));

  int32_t other = 40;
  EXPECT_TRUE(links->AddLink({}, links->GetTable(), "12", other));
  EXPECT_EQ(Links(), (LinkMapT{{7, "12"}, {9, "30, 12"}, {12, "7,9,40"}, {40, "12"}}));
  EXPECT_EQ(links->LinkIDs(), (TLinkList{"7", "9", "40"}));
}

TEST_F(LinkTableAdd, NoChoiceAndIdsBelowOneWriteNothing) {
  RecordingUser user;
  auto links = Open();
  int32_t none = 0, negative = -3;
  EXPECT_FALSE(links->AddLink({}, links->GetTable(), "12", none));  // no finder registered
  EXPECT_EQ(none, 0);
  EXPECT_FALSE(links->AddLink({}, links->GetTable(), "12", negative));
  EXPECT_TRUE(Links().empty());
  EXPECT_TRUE(user.beeps.empty());
  EXPECT_TRUE(user.notes.empty());
}

TEST_F(LinkTableAdd, TheOwnerRecordIsFoundByItsIdWhereverTheReaderCursorStands) {
  WriteLinkRecords(dir.str(), {{3, "4"}, {4, "3"}, {12, "7"}, {7, "12"}});
  auto links = Open();
  links->GetTable().First();  // stands on 3's record
  int32_t linked = 9;
  EXPECT_TRUE(links->AddLink({}, links->GetTable(), "12", linked));
  EXPECT_EQ(Links(), (LinkMapT{{3, "4"}, {4, "3"}, {7, "12"}, {9, "12"}, {12, "7,9"}}));
}

TEST_F(LinkTableAdd, TheEditorsFilteredCursorShowsTheNewRecordAfterTheFirstLink) {
  auto links = Open();
  TAdsTable& t = links->GetTable();
  t.SetFilter("SELFID=12");
  t.SetFiltered(true);
  ASSERT_TRUE(t.IsEmpty());
  int32_t linked = 7;
  ASSERT_TRUE(links->AddLink({}, t, "12", linked));
  ASSERT_FALSE(t.IsEmpty());
  EXPECT_EQ(t.FieldByName("ADRESSID").AsString(), "7");
}

// Another user's link, added after this object cached the owner's list,
// survives; the cache then shows what is stored.
TEST_F(LinkTableAdd, ListsAreReadAsStoredNotFromTheCache) {
  auto mine = Open();
  int32_t seven = 7;
  ASSERT_TRUE(mine->AddLink({}, mine->GetTable(), "12", seven));
  auto theirs = Open();
  theirs->LinkIDs() = {"7"};
  int32_t nine = 9;
  ASSERT_TRUE(theirs->AddLink({}, theirs->GetTable(), "12", nine));

  int32_t five = 5;
  EXPECT_TRUE(mine->AddLink({}, mine->GetTable(), "12", five));
  EXPECT_EQ(Links(), (LinkMapT{{5, "12"}, {7, "12"}, {9, "12"}, {12, "7,9,5"}}));
  EXPECT_EQ(mine->LinkIDs(), (TLinkList{"7", "9", "5"}));

  // An ID that is stored but not cached is not stored twice; its missing
  // other side is completed.
  WriteLinkRecords(dir.str(), {{20, "21"}});
  auto third = Open();
  int32_t twenty_one = 21;
  EXPECT_TRUE(third->AddLink({}, third->GetTable(), "20", twenty_one));
  EXPECT_EQ(Links()[20], "21");
  EXPECT_EQ(Links()[21], "20");
  EXPECT_EQ(third->LinkIDs(), (TLinkList{"21"}));
}

// A list that would outgrow ADRESSID is never cut: the link is refused on
// both sides.
TEST_F(LinkTableAdd, AListThatWouldNotFitIsRefusedAndNothingIsWritten) {
  const TLinkList full(799, "1234");  // 3994 characters
  const std::string text = WriteLinkList(full);
  ASSERT_EQ(text.size(), 3994u);
  WriteLinkRecords(dir.str(), {{12, text}, {55, "1"}, {1, "55"}});
  const LinkMapT before = Links();

  RecordingUser user;
  auto links = Open();
  links->LinkIDs() = {"1234"};  // a stale cache must not matter
  int32_t linked = 123456;      // ",123456" makes 4001
  EXPECT_FALSE(links->AddLink({}, links->GetTable(), "12", linked));
  ASSERT_EQ(user.notes.size(), 1u);
  EXPECT_TRUE(StartsWith(user.notes[0], kError + "Die Liste")) << user.notes[0];
  EXPECT_NE(user.notes[0].find("4000"), std::string::npos);
  EXPECT_EQ(Links(), before);
  EXPECT_EQ(links->LinkIDs(), (TLinkList{"1234"}));

  // The same when it is the partner's list that is full.
  int32_t owner_full = 12;
  EXPECT_FALSE(links->AddLink({}, links->GetTable(), "123456", owner_full));
  EXPECT_EQ(user.notes.size(), 2u);
  EXPECT_EQ(Links(), before);

  // Exactly 4000 characters fit.
  int32_t fits = 12345;
  EXPECT_TRUE(links->AddLink({}, links->GetTable(), "12", fits));
  EXPECT_EQ(Links()[12].size(), 4000u);
  EXPECT_EQ(Links()[12345], "12");
}

TEST_F(LinkTableAdd, ALockedOwnerRecordGivesAnErrorAndChangesNothing) {
  WriteLinkRecords(dir.str(), {{12, "7"}, {7, "12"}});
  TAdsTable other(nullptr, "other");
  LockElsewhere(other, 12);
  ASSERT_EQ(other.State(), TDataSetState::dsEdit);

  RecordingUser user;
  auto links = Open();
  int32_t linked = 9;
  EXPECT_FALSE(links->AddLink({}, links->GetTable(), "12", linked));
  ASSERT_EQ(user.notes.size(), 1u);
  EXPECT_TRUE(StartsWith(user.notes[0], kError));
  EXPECT_EQ(Links(), (LinkMapT{{7, "12"}, {12, "7"}}));
  other.Cancel();

  // Our own lock did not stay behind.
  EXPECT_TRUE(links->AddLink({}, links->GetTable(), "12", linked));
  EXPECT_EQ(Links(), (LinkMapT{{7, "12"}, {9, "12"}, {12, "7,9"}}));
}

TEST_F(LinkTableAdd, ALockedPartnerRecordStillCountsAsAddedForTheOwner) {
  WriteLinkRecords(dir.str(), {{9, "30"}});
  TAdsTable other(nullptr, "other");
  LockElsewhere(other, 9);
  ASSERT_EQ(other.State(), TDataSetState::dsEdit);
  RecordingUser user;
  auto links = Open();
  int32_t linked = 9;
  EXPECT_TRUE(links->AddLink({}, links->GetTable(), "12", linked));
  EXPECT_EQ(user.notes.size(), 1u);
  other.Cancel();
  EXPECT_EQ(Links(), (LinkMapT{{9, "30"}, {12, "9"}}));
}

TEST_F(LinkTableAdd, AnOwnerIdThatIsNoNumberIsReported) {
  RecordingUser user;
  auto links = Open();
  int32_t linked = 9;
  EXPECT_FALSE(links->AddLink({}, links->GetTable(), "12x", linked));
  ASSERT_EQ(user.notes.size(), 1u);
  EXPECT_TRUE(StartsWith(user.notes[0], kError));
  EXPECT_TRUE(Links().empty());
}

// ---- the address finder ----

struct FinderLog {
  int left = 0, top = 0;
  TComponent* context = nullptr;
  std::string prompt, group, column;
  bool released = false;
  int modal_result = 1;
  int32_t chosen = 0;
};
FinderLog g_finder;

class FakeFinder : public TComponent, public IVeltoChannel {
 public:
  FakeFinder() : TComponent(nullptr, "FExAdressFinder", "TFExAdressFinderClass") {}
  int Left() const override { return g_finder.left; }
  int Top() const override { return g_finder.top; }
  int Width() const override { return 300; }
  void SetLeft(int left) override { g_finder.left = left; }
  void SetTop(int top) override { g_finder.top = top; }
  void SetContext(TComponent* c) override { g_finder.context = c; }
  void SetPrompt(const std::string& p) override { g_finder.prompt = p; }
  void SetGroupCaption(const std::string& g) override { g_finder.group = g; }
  void SetColumnName(const std::string& c) override { g_finder.column = c; }
  int ShowModal() override { return g_finder.modal_result; }
  int32_t ResultID() const override { return g_finder.chosen; }
  void Release() override {
    g_finder.released = true;
    delete this;
  }
};
TClassInfo FakeFinderClass("TFExAdressFinderClass", &TFVeltoChannelClass,
                           [](TComponent*) -> TComponent* { return new FakeFinder; });
TClassInfo NotAChannel("TFExAdressFinderClass", &TPersistentClass,
                       [](TComponent*) -> TComponent* { return new TComponent(nullptr, "x", "TFExAdressFinderClass"); });

class LinkTableFinder : public LinkTableTest {
 protected:
  void SetUp() override {
    RegisterStartupClasses();
    g_finder = {};
  }
  void TearDown() override {
    UnRegisterClass(FakeFinderClass);
    UnRegisterClass(NotAChannel);
  }
};

TEST_F(LinkTableFinder, TheChosenAddressIsLinkedAndPassedBack) {
  RegisterClass(FakeFinderClass);
  TAdsTable addresses(nullptr, "Adressen");
  addresses.SetAdsConnection(&connection);
  auto links = Open();
  g_finder.chosen = 9;
  int32_t linked = 0;
  EXPECT_TRUE(links->AddLink({500, 50, 1024}, addresses, "12", linked));
  EXPECT_EQ(linked, 9);
  EXPECT_EQ(Links(), (LinkMapT{{9, "12"}, {12, "9"}}));
  EXPECT_EQ(g_finder.left, 600);  // Left + 100, still on the screen
  EXPECT_EQ(g_finder.top, 0);     // never above the screen
  EXPECT_EQ(g_finder.context, &connection);
  EXPECT_EQ(g_finder.prompt, "Ausw\xE4hlen einer Adresse:");
  EXPECT_EQ(g_finder.group, "Gruppe: Alle");
  EXPECT_EQ(g_finder.column, "Abt");
  EXPECT_TRUE(g_finder.released);

  g_finder = {};
  g_finder.chosen = 4;
  linked = 0;
  EXPECT_TRUE(links->AddLink({900, 300, 1024}, addresses, "12", linked));
  EXPECT_EQ(g_finder.left, 1024 - 300);  // kept on the screen
  EXPECT_EQ(g_finder.top, 200);
}

TEST_F(LinkTableFinder, ACancelledFinderOrAClassOutsideTheFamilyChoosesNothing) {
  RegisterClass(FakeFinderClass);
  auto links = Open();
  g_finder.modal_result = 2;
  g_finder.chosen = 9;
  int32_t linked = 0;
  EXPECT_FALSE(links->AddLink({}, links->GetTable(), "12", linked));
  EXPECT_EQ(linked, 0);
  EXPECT_TRUE(g_finder.released);
  UnRegisterClass(FakeFinderClass);

  RegisterClass(NotAChannel);
  EXPECT_FALSE(links->AddLink({}, links->GetTable(), "12", linked));
  EXPECT_EQ(linked, 0);
  EXPECT_TRUE(Links().empty());
}

// ---- removing ----

using LinkTableRemove = LinkTableTest;
using Calls = std::vector<std::pair<std::string, std::string>>;

TEST_F(LinkTableRemove, TakesBothSidesOutPartnerFirstAndDeletesEmptiedRecords) {
  WriteLinkRecords(dir.str(), {{12, "7,9"}, {7, "12"}, {9, "12"}});
  auto links = Open();
  Calls calls;
  EXPECT_TRUE(links->RemoveLink("12", "7", [&](const std::string& o, const std::string& r) { calls.emplace_back(o, r); }));
  EXPECT_EQ(calls, (Calls{{"7", "12"}, {"12", "7"}}));
  EXPECT_EQ(Links(), (LinkMapT{{9, "12"}, {12, "9"}}));
  EXPECT_EQ(links->LinkIDs(), (TLinkList{"9"}));

  EXPECT_TRUE(links->RemoveLink("12", "9"));
  EXPECT_TRUE(Links().empty());
  EXPECT_TRUE(links->LinkIDs().empty());
}

TEST_F(LinkTableRemove, AnEmptyReaderCursorMeansNothingToDo) {
  auto links = Open();
  Calls calls;
  EXPECT_TRUE(links->RemoveLink("12", "7", [&](const std::string& o, const std::string& r) { calls.emplace_back(o, r); }));
  EXPECT_TRUE(calls.empty());
}

TEST_F(LinkTableRemove, EveryRecordOfThePartnerIsVisitedAndBlanksAreRead) {
  WriteLinkRecords(dir.str(), {{7, "12, 3"}, {12, "9, 7"}, {7, "5,12"}, {3, "7"}, {5, "7"}, {9, "12"}});
  auto links = Open();
  Calls calls;
  EXPECT_TRUE(links->RemoveLink("12", "7", [&](const std::string& o, const std::string& r) { calls.emplace_back(o, r); }));
  EXPECT_EQ(calls, (Calls{{"7", "12"}, {"7", "12"}, {"12", "7"}}));
  EXPECT_EQ(Links(), (LinkMapT{{3, "7"}, {5, "7"}, {7, "3|5"}, {9, "12"}, {12, "9"}}));
}

TEST_F(LinkTableRemove, AOneSidedLinkIsRemovedAndTheCacheShowsWhatIsStored) {
  WriteLinkRecords(dir.str(), {{7, "12"}, {30, "31"}, {31, "30"}});
  auto links = Open();
  links->LinkIDs() = {"7", "8"};
  Calls calls;
  EXPECT_TRUE(links->RemoveLink("12", "7", [&](const std::string& o, const std::string& r) { calls.emplace_back(o, r); }));
  EXPECT_EQ(calls, (Calls{{"7", "12"}}));
  EXPECT_EQ(Links(), (LinkMapT{{30, "31"}, {31, "30"}}));
  EXPECT_TRUE(links->LinkIDs().empty());

  // A list item that is no number has no record of its own; it still goes.
  WriteLinkRecords(dir.str(), {{40, "x7,41"}, {41, "40"}});
  EXPECT_TRUE(links->RemoveLink("40", "X7"));
  EXPECT_EQ(Links()[40], "41");
}

TEST_F(LinkTableRemove, ALockedRecordGivesAnErrorAndLeavesEveryListReadable) {
  WriteLinkRecords(dir.str(), {{12, "7,9"}, {7, "12"}, {9, "12"}});
  TAdsTable other(nullptr, "other");
  LockElsewhere(other, 12);
  ASSERT_EQ(other.State(), TDataSetState::dsEdit);
  RecordingUser user;
  auto links = Open();
  EXPECT_FALSE(links->RemoveLink("12", "7"));
  ASSERT_EQ(user.notes.size(), 1u);
  EXPECT_TRUE(StartsWith(user.notes[0], kError));
  other.Cancel();
  // The partner side was done before the owner's record refused its lock.
  EXPECT_EQ(Links(), (LinkMapT{{9, "12"}, {12, "7,9"}}));
  EXPECT_FALSE(links->PartnerTable().Filtered());
  EXPECT_TRUE(links->RemoveLink("12", "7"));
  EXPECT_EQ(Links(), (LinkMapT{{9, "12"}, {12, "9"}}));
}

TEST_F(LinkTableRemove, AnOwnerIdThatIsNoNumberIsReported) {
  WriteLinkRecords(dir.str(), {{12, "7"}, {7, "12"}});
  RecordingUser user;
  auto links = Open();
  EXPECT_FALSE(links->RemoveLink("twelve", "7"));
  EXPECT_EQ(user.notes.size(), 1u);
  EXPECT_EQ(Links(), (LinkMapT{{7, "12"}, {12, "7"}}));
}

}  // namespace
}  // namespace zs::test
