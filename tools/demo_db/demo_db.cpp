#include "tools/demo_db/demo_db.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

#include "storage/database.h"
#include "storage/link_list.h"
#include "storage/link_table.h"

namespace zs::demo {
namespace {

// splitmix64: the same sequence on every platform and library, unlike the
// standard distributions.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 .. n-1
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  bool Percent(int p) { return Below(100) < p; }
  template <size_t N>
  const char* Pick(const char* const (&items)[N]) {
    return items[Below(static_cast<int>(N))];
  }

 private:
  uint64_t state_;
};

const char* const kFamilyNames[] = {
    "Müller",   "Schmidt",   "Schneider", "Fischer",    "Weber",     "Meyer",   "Wagner",  "Becker",
    "Schulz",   "Hoffmann",  "Schäfer",   "Koch",       "Bauer",     "Richter", "Klein",   "Wolf",
    "Schröder", "Neumann",   "Schwarz",   "Zimmermann", "Braun",     "Krüger",  "Hofmann", "Hartmann",
    "Lange",    "Schmitt",   "Werner",    "Schmitz",    "Krause",    "Meier",   "Lehmann", "Schmid",
    "Köhler",   "Günther",   "Jäger",     "Groß",       "Weiß",      "Böhm",    "Kühn",    "Vogel",
    "Friedrich", "Keller",   "Günter",    "Straßer",    "Öztürk",    "Yilmaz",  "Sommer",  "Fuchs"};
const char* const kFirstNames[] = {
    "Anna",   "Hans",    "Jürgen", "Ursula", "Klaus",   "Monika",  "Peter",  "Sabine", "Thomas",
    "Petra",  "Michael", "Andrea", "Stefan", "Birgit",  "Frank",   "Jörg",   "Brigitte", "Uwe",
    "Renate", "Günther", "Käthe",  "Björn",  "Sören",   "Gisela",  "Dieter", "Helga",  "Ralf",
    "Claudia", "Matthias", "Susanne", "Lars", "Maximilian", "Lena", "Jonas", "Sophie", "Lukas"};
const char* const kTrades[] = {"Schreinerei",  "Elektro",     "Sanitär",     "Heizungsbau", "Dachdeckerei",
                               "Malerbetrieb", "Autohaus",    "Steuerbüro",  "Bäckerei",    "Metzgerei",
                               "Gärtnerei",    "Ingenieurbüro", "Druckerei", "Spedition",   "Fliesenlegerei"};
const char* const kForms[] = {"GmbH", "GmbH & Co. KG", "KG", "e.K.", "OHG", "AG", "GbR"};
const char* const kDepartments[] = {"Einkauf", "Buchhaltung", "Vertrieb", "Geschäftsleitung",
                                    "Lager",   "Personal",    "Technik",  "Kundendienst"};
const char* const kPublic[] = {"Stadtverwaltung", "Gemeinde", "Landratsamt", "Finanzamt", "Stadtwerke"};
const char* const kTowns[] = {"München", "Köln",      "Düsseldorf", "Nürnberg", "Würzburg", "Lübeck",
                              "Görlitz", "Osnabrück", "Fürth",      "Bad Tölz", "Saarbrücken"};
const char* const kGroups[] = {"Kunde", "Lieferant", "Interessent", "Partner", "Privat", "Behörde"};
const char* const kTerms[] = {"HEIZUNG", "SANITÄR", "WARTUNG", "ANGEBOT", "RAHMENVERTRAG", "STAMMKUNDE",
                              "MAHNUNG", "ÖLHEIZUNG", "SOLAR",  "GROSSKUNDE", "NEUKUNDE",  "SERVICE"};

struct Address {
  int32_t id = 0;
  std::string knr, gr, abt, nname, vname, match0;
};

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

Address MakeAddress(Random& rnd, int32_t id, int index) {
  Address a;
  a.id = id;
  const int kind = rnd.Below(100);
  if (kind < 45) {  // a firm, often with a contact person
    a.abt = std::string(rnd.Pick(kTrades)) + " " + rnd.Pick(kFamilyNames) + " " + rnd.Pick(kForms);
    if (rnd.Percent(60)) {
      a.nname = rnd.Pick(kFamilyNames);
      a.vname = rnd.Pick(kFirstNames);
    }
  } else if (kind < 60) {  // a department of a firm
    a.abt = std::string(rnd.Pick(kDepartments)) + " " + rnd.Pick(kFamilyNames) + " " + rnd.Pick(kForms);
    a.nname = rnd.Pick(kFamilyNames);
    if (rnd.Percent(70)) a.vname = rnd.Pick(kFirstNames);
  } else if (kind < 66) {
    a.abt = std::string(rnd.Pick(kPublic)) + " " + rnd.Pick(kTowns);
  } else {  // a private person
    a.nname = rnd.Pick(kFamilyNames);
    if (rnd.Percent(25)) a.nname += std::string("-") + rnd.Pick(kFamilyNames);
    if (rnd.Percent(90)) a.vname = rnd.Pick(kFirstNames);
  }
  // The suite's own separators turn up in imported names now and then.
  if (index % 97 == 13) a.nname = a.nname.empty() ? "Erben¬Nachlass" : a.nname + "¬" + rnd.Pick(kFamilyNames);
  if (index % 131 == 29) a.abt = a.abt.empty() ? "Hausverwaltung¶Objekt 3" : a.abt + "¶" + rnd.Pick(kTowns);

  if (rnd.Percent(92)) a.knr = std::to_string(10000 + index * 3 + rnd.Below(3));
  if (rnd.Percent(88)) a.gr = rnd.Pick(kGroups);
  const int terms = rnd.Below(3);
  for (int t = 0; t < terms; ++t) {
    if (!a.match0.empty()) a.match0 += ' ';
    a.match0 += rnd.Pick(kTerms);
  }
  if (a.match0.empty() && !a.nname.empty() && rnd.Percent(50)) a.match0 = Upper(a.nname);
  return a;
}

void CreateAddressTable(TAdsConnection& connection, const std::vector<Address>& addresses) {
  TAdsTable table(nullptr, "Adressen");
  table.SetAdsConnection(&connection);
  table.SetTableName("Adressen.adt");
  table.SetAdsCharType(TAdsCharType::ANSI);
  auto& defs = table.FieldDefs();
  defs = {{"ID", TFieldType::ftInteger, 0},   {"KNR", TFieldType::ftString, 20},
          {"GR", TFieldType::ftString, 30},   {"Abt", TFieldType::ftString, 80},
          {"NName", TFieldType::ftString, 60}, {"VName", TFieldType::ftString, 40},
          {"match0", TFieldType::ftString, 80}};
  table.CreateTable();
  table.Open();
  table.AddIndex("ID", "ID", true);
  for (const Address& a : addresses) {
    table.Append();
    table.FieldByName("ID").SetAsInteger(a.id);
    table.FieldByName("KNR").SetAsString(a.knr);
    table.FieldByName("GR").SetAsString(a.gr);
    table.FieldByName("Abt").SetAsString(a.abt);
    table.FieldByName("NName").SetAsString(a.nname);
    table.FieldByName("VName").SetAsString(a.vname);
    table.FieldByName("match0").SetAsString(a.match0);
    table.Post();
  }
  table.Close();
}

bool TableThere(TAdsConnection& connection, const char* name) {
  TAdsTable probe(nullptr, "probe");
  probe.SetAdsConnection(&connection);
  probe.SetTableName(name);
  return probe.Exists();
}

}  // namespace

TDemoDb GenerateDemoDatabase(const std::string& directory, const TDemoDbOptions& options) {
  if (options.Addresses < 0 || options.Links < 0 || options.PerOwner < 0 || options.Addresses > 10'000'000)
    throw std::invalid_argument("Ungültige Größe der Demo-Datenbank.");
  {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
  }

  Random rnd(options.Seed);
  TDemoDb out;
  std::vector<Address> addresses;
  addresses.reserve(static_cast<size_t>(options.Addresses));
  int32_t id = 0;
  for (int i = 0; i < options.Addresses; ++i) {
    id += 1 + (rnd.Percent(8) ? 1 + rnd.Below(6) : 0);  // deleted addresses leave gaps
    addresses.push_back(MakeAddress(rnd, id, i));
    out.AddressIds.push_back(id);
  }

  // Lists in the order the links were added.
  std::map<int32_t, TLinkList> lists;
  std::map<int32_t, int> symmetric_count;
  std::set<std::pair<int32_t, int32_t>> linked;
  const int n = static_cast<int>(out.AddressIds.size());
  auto add_item = [&](int32_t owner, int32_t item) { lists[owner].push_back(std::to_string(item)); };
  if (n >= 2 && options.PerOwner > 0) {
    // Links cluster: most involve a smaller set of busy addresses.
    const int busy = std::max(2, n / 3);
    int attempts = 0;
    while (static_cast<int>(out.Symmetric.size()) < options.Links && attempts < options.Links * 20 + 100) {
      ++attempts;
      const int a = rnd.Percent(70) ? rnd.Below(busy) : rnd.Below(n);
      const int b = rnd.Percent(50) ? rnd.Below(busy) : rnd.Below(n);
      const int32_t x = out.AddressIds[static_cast<size_t>(a)], y = out.AddressIds[static_cast<size_t>(b)];
      if (x == y || linked.count({std::min(x, y), std::max(x, y)})) continue;
      if (symmetric_count[x] >= options.PerOwner || symmetric_count[y] >= options.PerOwner) continue;
      linked.insert({std::min(x, y), std::max(x, y)});
      ++symmetric_count[x];
      ++symmetric_count[y];
      add_item(x, y);
      add_item(y, x);
      out.Symmetric.push_back({x, y});
    }
  }
  const int few = std::max(1, options.Links / 50);
  const int one_sided = options.OneSided >= 0 ? options.OneSided : (n >= 2 ? few : 0);
  for (int k = 0, tries = 0; k < one_sided && n >= 2 && tries < one_sided * 50; ++tries) {
    const int32_t x = out.AddressIds[static_cast<size_t>(rnd.Below(n))];
    const int32_t y = out.AddressIds[static_cast<size_t>(rnd.Below(n))];
    if (x == y || linked.count({std::min(x, y), std::max(x, y)})) continue;
    linked.insert({std::min(x, y), std::max(x, y)});
    add_item(x, y);
    out.OneSided.push_back({x, y});
    ++k;
  }
  const int dangling = options.Dangling >= 0 ? options.Dangling : (n >= 1 ? few : 0);
  const int32_t beyond = id;
  for (int k = 0; k < dangling && n >= 1; ++k) {
    const int32_t x = out.AddressIds[static_cast<size_t>(rnd.Below(n))];
    const int32_t gone = beyond + 1000 + k * 7;
    add_item(x, gone);
    out.Dangling.push_back({x, gone});
  }

  TAdsConnection connection(nullptr, "DemoConnection");
  connection.SetConnectPath(directory);
  connection.SetAdsServerTypes(stADS_LOCAL);
  connection.SetIsConnected(true);
  if (TableThere(connection, "Adressen.adt") || TableThere(connection, kLinkTableFile))
    throw std::runtime_error("In " + directory + " liegen schon Tabellen; sie werden nicht überschrieben.");
  CreateAddressTable(connection, addresses);

  // The link table as the program creates it when it is missing.
  TLinkTableClass link_table(&connection, true);
  TAdsTable& links = link_table.PartnerTable();
  if (!links.Active()) throw std::runtime_error("ADRESSLINK kann nicht angelegt werden.");
  for (const auto& [owner, list] : lists) {  // in owner order
    links.Append();
    links.FieldByName("ADRESSID").SetAsString(WriteLinkList(list));
    links.FieldByName("SELFID").SetAsInteger(owner);
    links.Post();
    ++out.LinkRecords;
  }
  return out;
}

}  // namespace zs::demo
