#include "app/launch.h"

#include <gtest/gtest.h>

#include "tests/support/recording_user.h"

namespace zs {
namespace {

TEST(SplitAtFirst, SplitsAtTheFirstDelimiterAndTrimsOnlyTheRight) {
  auto p = SplitAtFirst(" C:\\a b\\x.exe ; Titel;mit ; ", ';');
  ASSERT_TRUE(p);
  EXPECT_EQ(p->left, " C:\\a b\\x.exe ");
  EXPECT_EQ(p->right, "Titel;mit ;");
  EXPECT_FALSE(SplitAtFirst("kein Trenner", ';'));
  EXPECT_FALSE(SplitAtFirst("", ';'));
  p = SplitAtFirst(";", ';');
  ASSERT_TRUE(p);
  EXPECT_EQ(p->left, "");
  EXPECT_EQ(p->right, "");
  // Control characters and blanks go, a byte above 127 stays.
  p = SplitAtFirst("x;\t\x01 \xDC" "ber \x1f\r", ';');
  ASSERT_TRUE(p);
  EXPECT_EQ(p->right, "\xDC" "ber");
}

TEST(SplitAtFirst, RightPartIsCutTo200BeforeTheTrim) {
  const std::string title(199, 'a');
  auto p = SplitAtFirst("x;" + title + "b" + "c", ';');
  ASSERT_TRUE(p);
  EXPECT_EQ(p->right, title + "b");
  // A blank at position 200 is trimmed after the cut, text behind it is gone.
  p = SplitAtFirst("x;" + std::string(199, 'a') + " zzz", ';');
  ASSERT_TRUE(p);
  EXPECT_EQ(p->right, std::string(199, 'a'));
}

TEST(LaunchArgs, TakesArgumentsOneToThree) {
  const char* argv[] = {"prog.exe", "C:\\Daten mit Blank", "1", "12340", "extra"};
  const LaunchArgs a = LaunchArgsFromArgv(5, argv);
  EXPECT_EQ(a.connect_path, "C:\\Daten mit Blank");
  EXPECT_EQ(a.server_flag, "1");
  EXPECT_EQ(a.release, "12340");
  const LaunchArgs b = LaunchArgsFromArgv(2, argv);
  EXPECT_EQ(b.server_flag, "");
  EXPECT_EQ(b.release, "");
  EXPECT_EQ(LaunchArgsFromArgv(0, nullptr).connect_path, "");
}

TEST(LaunchArgs, RegistrationRunIsInstallInCapitalsOnly) {
  for (const char* s : {"install", "Install", "INSTALl", " INSTALL", "INSTALL "})
    EXPECT_FALSE(IsRegistrationRun({s, "", ""})) << s;
  EXPECT_TRUE(IsRegistrationRun({"INSTALL", "", ""}));
  EXPECT_TRUE(IsRegistrationRun({"INSTALL", "1", "99999"}));
}

TEST(LaunchArgs, OnlyTheTextOneSelectsTheLocalServer) {
  EXPECT_TRUE(IsLocalServerFlag("1"));
  for (const char* s : {"01", "", "0", "2", " 1", "1 ", "l"}) EXPECT_FALSE(IsLocalServerFlag(s)) << s;
}

TEST(LaunchArgs, ReleaseParsesDecimalOrZero) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {{"12340", 12340}, {"012400", 12400}, {"+5", 5}, {"-7", -7},    {"abc", 0},
               {"", 0},          {"12a", 0},        {" 12", 0}, {"1e5", 0},    {"-", 0},
               {"2147483647", 2147483647}, {"2147483648", 0}, {"99999999999999999999", 0},
               {"-2147483648", -2147483647 - 1}};
  for (const Case& c : cases) EXPECT_EQ(ParseRelease(c.text), c.value) << c.text;
}

TEST(LaunchArgs, ReleaseRuleAndMissingArguments) {
  EXPECT_EQ(CheckLaunchArguments({"C:\\db", "1", "12340"}, MinHostRelease), LaunchCheck::kStart);
  EXPECT_EQ(CheckLaunchArguments({"C:\\db", "01", "12400"}, MinHostRelease), LaunchCheck::kStart);
  EXPECT_EQ(CheckLaunchArguments({"C:\\db", "1", "12339"}, MinHostRelease), LaunchCheck::kReleaseTooLow);
  EXPECT_EQ(CheckLaunchArguments({"C:\\db", "1", "abc"}, MinHostRelease), LaunchCheck::kReleaseTooLow);
  EXPECT_EQ(CheckLaunchArguments({"", "1", "12340"}, MinHostRelease), LaunchCheck::kMissingArgument);
  EXPECT_EQ(CheckLaunchArguments({"C:\\db", "", "12340"}, MinHostRelease), LaunchCheck::kMissingArgument);
  EXPECT_EQ(CheckLaunchArguments({"C:\\db", "1", ""}, MinHostRelease), LaunchCheck::kMissingArgument);
  EXPECT_EQ(CheckLaunchArguments({"install", "", ""}, MinHostRelease), LaunchCheck::kMissingArgument);
}

TEST(LaunchMessages, ExactTexts) {
  // Windows-1252 bytes, as the user sees them.
  EXPECT_EQ(StartFromMenuMessage(kMenuTitle),
            "Starten Sie das Programm \xFC" "ber zus\xE4tzlich > \xDC" "bersicht verbundene Adressen.");
  EXPECT_EQ(ReleaseTooLowMessage("Velto", MinHostRelease),
            "Das Programm ben\xF6tigt mindestens Velto , Release 12340");
  EXPECT_EQ(NotConnectedMessage(), "Verbindung zur Datenbank konnte nicht aufgebaut werden.");
  EXPECT_EQ(StartOnlyFromHostMessage("Zemba"), "Das Programm kann nur von Zemba aus gestartet werden");
  EXPECT_STREQ(kApplicationTitle, "\xDC" "bersicht verbundene Adressen");
  EXPECT_EQ(WM_STARTUP, 1025u);
}

class FakeWindow final : public LaunchWindow {
 public:
  void PostClose() override { events.push_back("close"); }
  void UpdatePaint() override { events.push_back("paint"); }
  std::vector<std::string> events;
};

TEST(CheckLaunch, FailedChecksShowTheirMessageCloseAndAskToSkipTheConnection) {
  struct Case {
    LaunchArgs args;
    std::string note;
  } cases[] = {
      {{"", "", ""}, StartFromMenuMessage(kMenuTitle)},
      {{"install", "", ""}, StartFromMenuMessage(kMenuTitle)},
      {{"C:\\db", "1", "12339"}, ReleaseTooLowMessage("Zemba", 12340)},
      {{"C:\\db", "1", "abc"}, ReleaseTooLowMessage("Zemba", 12340)},
  };
  for (const Case& c : cases) {
    test::RecordingUser user;
    FakeWindow w;
    bool failed = false;
    LaunchContext ctx{c.args, "C:\\x\\AdressLinks.exe", "/nonexistent-dir/ZS.MNU", "Zemba"};
    EXPECT_FALSE(CheckLaunch(kMenuTitle, w, MinHostRelease, ctx, &failed));
    EXPECT_TRUE(failed);
    EXPECT_EQ(user.events, (std::vector<std::string>{"wait:on", "note:" + c.note, "wait:off"}));
    EXPECT_EQ(w.events, (std::vector<std::string>{"paint", "close"}));
  }
}

TEST(CheckLaunch, PassingChecksGoOn) {
  test::RecordingUser user;
  FakeWindow w;
  bool failed = true;
  LaunchContext ctx{{"C:\\db", "01", "12400"}, "C:\\x\\AdressLinks.exe", "/nonexistent-dir/ZS.MNU", "Velto"};
  EXPECT_FALSE(CheckLaunch(kMenuTitle, w, MinHostRelease, ctx, &failed));
  EXPECT_FALSE(failed);
  EXPECT_TRUE(user.notes.empty());
  EXPECT_FALSE(user.wait_cursor_on);
  EXPECT_EQ(w.events, (std::vector<std::string>{"paint"}));
}

TEST(CheckLaunch, FailedRegistrationIsSilentAndBecomesAnOrdinaryStart) {
  test::RecordingUser user;
  FakeWindow w;
  bool failed = false;
  LaunchContext ctx{{"INSTALL", "", ""}, "C:\\x\\AdressLinks.exe", "/nonexistent-dir/ZS.MNU", "Velto"};
  EXPECT_FALSE(CheckLaunch(kMenuTitle, w, MinHostRelease, ctx, &failed));
  EXPECT_TRUE(failed);
  EXPECT_EQ(user.notes, std::vector<std::string>{StartFromMenuMessage(kMenuTitle)});
}

}  // namespace
}  // namespace zs
