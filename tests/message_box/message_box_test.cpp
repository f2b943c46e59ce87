// The real message box under Wine, driven by a timer while its modal loop runs.
#include "ui/message_box_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "tests/message_box/box_driver.h"
#include "tests/support/recording_user.h"
#include "tests/support/win_fixture.h"
#include "ui/app_title.h"
#include "ui/message_box.h"
#include "ui/user_seams_win.h"

namespace zs::test {
namespace {

constexpr UINT kRunInner = WM_APP + 1;
constexpr UINT kThrow = WM_APP + 2;

struct CallerLog {
  bool inner_answer = false;
  bool inner_done = false;
  bool outer_open_after_inner = false;
};
CallerLog g_log;

LRESULT CALLBACK CallerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kRunInner) {
    g_log.inner_answer = AskYesNoBox("Innen?");
    g_log.inner_done = true;
    g_log.outer_open_after_inner = BoxWindow() != nullptr;
    return 0;
  }
  if (msg == kThrow) throw std::runtime_error("kaputt");
  return DefWindowProcA(hwnd, msg, wp, lp);
}

class MessageBoxTest : public WindowTest {
 protected:
  void SetUp() override {
    InstallWindowsUserSeams();
    SetApplicationTitle("\xDC" "bersicht verbundene Adressen");
    g_log = CallerLog{};
    caller_ = CreateTopWindow("Aufrufer", 40, 40, 300, 200, WS_OVERLAPPEDWINDOW, 0, CallerProc);
    ASSERT_NE(caller_, nullptr);
    ShowWindow(caller_, SW_SHOW);
    SetForegroundWindow(caller_);
    Pump(30);
  }
  void TearDown() override {
    EXPECT_EQ(FindWindowA("TFSB_BOX", nullptr), nullptr) << "a box outlived its call";
    WindowTest::TearDown();
  }

  // Asks `text`, running `steps` while the box is up.
  bool Ask(const std::string& text, std::vector<BoxScript::Step> steps) {
    BoxScript script(std::move(steps));
    const bool answer = AskYesNoBox(text);
    EXPECT_TRUE(script.Finished()) << "script stopped at step " << script.StepReached();
    EXPECT_FALSE(script.TimedOut());
    return answer;
  }
  void Note(const std::string& text, std::vector<BoxScript::Step> steps) {
    BoxScript script(std::move(steps));
    ShowNoteBox(text);
    EXPECT_TRUE(script.Finished()) << "script stopped at step " << script.StepReached();
    EXPECT_FALSE(script.TimedOut());
  }
  static BoxScript::Step Do(std::function<void()> f) {
    return [f] {
      f();
      return true;
    };
  }
  static BoxScript::Step FocusOn(TFlatButton TFSB_BOX::*button) {
    return [button] {
      TFSB_BOX* b = Box();
      return b && GetFocus() == (b->*button).Handle();
    };
  }
  // Waits `ticks` timer ticks, then checks the box is still open.
  static BoxScript::Step StillOpenAfter(int ticks, bool* open) {
    auto left = std::make_shared<int>(ticks);
    return [left, open] {
      if (--*left > 0) return false;
      *open = BoxWindow() != nullptr;
      return true;
    };
  }

  HWND caller_ = nullptr;
};

TEST_F(MessageBoxTest, NoteGeometryFocusCaptionAndDisabledCaller) {
  RECT client{}, window{};
  int label_height = 0, layout_height = 0;
  bool caller_enabled_during = true, strip_ok = false, topmost = false, tool = false, sysmenu = true;
  std::string caption;
  HWND focus = nullptr, expected_focus = nullptr;
  Note("<B>Hinweis</B><BR>Kurzer Text.", {BoxReady, Do([&] {
                                             TFSB_BOX* b = Box();
                                             GetClientRect(b->Handle(), &client);
                                             GetWindowRect(b->Handle(), &window);
                                             label_height = b->MsgLabel.Height();
                                             layout_height = b->MsgLabel.CurrentLayout().height;
                                             caller_enabled_during = IsWindowEnabled(caller_) != FALSE;
                                             strip_ok = IsWindowVisible(b->Pmsg.Handle()) &&
                                                        !IsWindowVisible(b->Pquestion.Handle()) &&
                                                        b->Pmsg.Height() == 35 &&
                                                        b->Pmsg.Top() + 35 + 2 == static_cast<int>(client.bottom);
                                             const LONG_PTR ex = GetWindowLongPtrA(b->Handle(), GWL_EXSTYLE);
                                             topmost = ex & WS_EX_TOPMOST;
                                             tool = ex & WS_EX_TOOLWINDOW;
                                             sysmenu = GetWindowLongPtrA(b->Handle(), GWL_STYLE) & WS_SYSMENU;
                                             char buf[128] = {};
                                             GetWindowTextA(b->Handle(), buf, sizeof buf);
                                             caption = buf;
                                             focus = GetFocus();
                                             expected_focus = b->FB_BREAK2.Handle();
                                             SendMessageA(b->FB_BREAK2.Handle(), BM_CLICK, 0, 0);
                                           })});
  EXPECT_EQ(client.right, 406);
  EXPECT_EQ(label_height, layout_height + 6);
  EXPECT_EQ(client.bottom, label_height + 37);
  EXPECT_GE(layout_height, 2 * 13) << "two lines of an 11-pixel font";
  const int w = window.right - window.left, h = window.bottom - window.top;
  EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
  EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
  EXPECT_FALSE(caller_enabled_during);
  EXPECT_TRUE(IsWindowEnabled(caller_));
  EXPECT_TRUE(strip_ok);
  EXPECT_TRUE(topmost);
  EXPECT_TRUE(tool);
  EXPECT_FALSE(sysmenu);
  EXPECT_EQ(caption, "\xDC" "bersicht verbundene Adressen");
  EXPECT_EQ(focus, expected_focus);
}

TEST_F(MessageBoxTest, EmptyTextIsOneLineHigh) {
  int label = 0, client_h = 0, one_line = 0;
  Note("", {BoxReady, Do([&] {
              TFSB_BOX* b = Box();
              label = b->MsgLabel.Height();
              client_h = b->ClientHeight();
              one_line = b->MsgLabel.CurrentLayout().lines.at(0).height;
              Press(VK_ESCAPE);
            })});
  EXPECT_GT(one_line, 10);
  EXPECT_EQ(label, one_line + 6);
  EXPECT_EQ(client_h, label + 37);
}

TEST_F(MessageBoxTest, TextFarTooLongStopsAtSeventyPercentWithButtonsVisible) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "Zeile " + std::to_string(i) + "<BR>";
  int window_h = 0, max_h = 0;
  bool buttons_visible = false;
  const bool yes = Ask(text, {BoxReady, Do([&] {
                                TFSB_BOX* b = Box();
                                RECT w, ok, client;
                                GetWindowRect(b->Handle(), &w);
                                window_h = w.bottom - w.top;
                                max_h = b->MaxWindowHeight();
                                GetWindowRect(b->FB_OK.Handle(), &ok);
                                GetClientRect(b->Handle(), &client);
                                MapWindowPoints(b->Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
                                buttons_visible = IsWindowVisible(b->FB_OK.Handle()) && ok.top >= client.top &&
                                                  ok.bottom <= client.bottom && ok.bottom > client.bottom - 35;
                                SendMessageA(b->FB_OK.Handle(), BM_CLICK, 0, 0);
                              })});
  EXPECT_TRUE(yes);
  EXPECT_EQ(max_h, MaxBoxWindowHeight(GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_EQ(window_h, max_h);
  EXPECT_TRUE(buttons_visible);
}

TEST_F(MessageBoxTest, QuestionStartsOnJaAndEnterAnswersYes) {
  bool focus_on_ja = false;
  EXPECT_TRUE(Ask("<B>L\xF6schen?", {BoxReady, Do([&] {
                                       focus_on_ja = GetFocus() == Box()->FB_OK.Handle();
                                       Press(VK_RETURN);
                                     })}));
  EXPECT_TRUE(focus_on_ja);
}

TEST_F(MessageBoxTest, QuestionKeyTable) {
  EXPECT_FALSE(Ask("Esc?", {BoxReady, Do([] { Press(VK_ESCAPE); })}));
  EXPECT_FALSE(Ask("Shift+Esc?", {BoxReady, Do([] {
                                    Keys({{VK_SHIFT, false}, {VK_ESCAPE, false}, {VK_ESCAPE, true}, {VK_SHIFT, true}});
                                  })}));
  EXPECT_FALSE(Ask("Links, Enter?", {BoxReady, Do([] { Press(VK_LEFT); }), FocusOn(&TFSB_BOX::FB_BREAK1),
                                     Do([] { Press(VK_RETURN); })}));
  EXPECT_TRUE(Ask("Rechts, rechts, Enter?", {BoxReady, Do([] { Press(VK_RIGHT); }), FocusOn(&TFSB_BOX::FB_BREAK1),
                                             Do([] { Press(VK_RIGHT); }), FocusOn(&TFSB_BOX::FB_OK),
                                             Do([] { Press(VK_RETURN); })}));
  // Enter with Alt goes to the form's key handler: the tag 50 of "Nein" answers No...
  EXPECT_FALSE(Ask("Alt+Enter auf Nein?",
                   {BoxReady, Do([] { Press(VK_LEFT); }), FocusOn(&TFSB_BOX::FB_BREAK1), Do([] {
                      Keys({{VK_MENU, false}, {VK_RETURN, false}, {VK_RETURN, true}, {VK_MENU, true}});
                    })}));
  // ...and any other focus answers Yes.
  EXPECT_TRUE(Ask("Alt+Enter auf Ja?", {BoxReady, Do([] {
                                          Keys({{VK_MENU, false}, {VK_RETURN, false}, {VK_RETURN, true},
                                                {VK_MENU, true}});
                                        })}));
  EXPECT_FALSE(Ask("Tab, Leertaste?", {BoxReady, Do([] { Press(VK_TAB); }), FocusOn(&TFSB_BOX::FB_BREAK1),
                                       Do([] { Press(VK_SPACE); })}));
  EXPECT_TRUE(Ask("Tab, R\xFC" "cktaste, Enter?",
                  {BoxReady, Do([] { Press(VK_TAB); }), FocusOn(&TFSB_BOX::FB_BREAK1), Do([] { Press(VK_BACK); }),
                   FocusOn(&TFSB_BOX::FB_OK), Do([] { Press(VK_RETURN); })}));
  bool open_after_keys = false;
  EXPECT_FALSE(Ask("F1 und Buchstaben?", {BoxReady, Do([] {
                                            Press(VK_F1);
                                            Press('J');
                                            Press('N');
                                          }),
                                          StillOpenAfter(10, &open_after_keys), Do([] { Press(VK_ESCAPE); })}));
  EXPECT_TRUE(open_after_keys);
}

TEST_F(MessageBoxTest, NoteKeyTable) {
  Note("Buchstabe schlie\xDF" "t", {BoxReady, Do([] { Press('A'); })});
  Note("Enter schlie\xDF" "t", {BoxReady, Do([] { Press(VK_RETURN); })});
  bool open_after_shift = false, open_after_f1 = false, open_after_ctrl_letter = false;
  Note("Shift, F1, Strg+A nicht", {BoxReady, Do([] { Press(VK_SHIFT); }), StillOpenAfter(8, &open_after_shift),
                                   Do([] { Press(VK_F1); }), StillOpenAfter(8, &open_after_f1), Do([] {
                                     Keys({{VK_CONTROL, false}, {'A', false}, {'A', true}, {VK_CONTROL, true}});
                                   }),
                                   StillOpenAfter(8, &open_after_ctrl_letter), Do([] { Press(VK_ESCAPE); })});
  EXPECT_TRUE(open_after_shift);
  EXPECT_TRUE(open_after_f1);
  EXPECT_TRUE(open_after_ctrl_letter);
  bool open_after_tab = false;
  Note("Tab bleibt", {BoxReady, Do([] { Press(VK_TAB); }), StillOpenAfter(8, &open_after_tab),
                      Do([] { Press('X'); })});
  EXPECT_TRUE(open_after_tab);
}

TEST_F(MessageBoxTest, ClicksOnEachButton) {
  EXPECT_TRUE(Ask("Ja klicken", {BoxReady, Do([] { ClickAt(Box()->FB_OK.Handle()); })}));
  EXPECT_FALSE(Ask("Nein klicken", {BoxReady, Do([] { ClickAt(Box()->FB_BREAK1.Handle()); })}));
  Note("schlie\xDF" "en klicken", {BoxReady, Do([] { ClickAt(Box()->FB_BREAK2.Handle()); })});
  // BM_CLICK answers like a click.
  EXPECT_FALSE(Ask("BM_CLICK Nein", {BoxReady, Do([] { SendMessageA(Box()->FB_BREAK1.Handle(), BM_CLICK, 0, 0); })}));
}

TEST_F(MessageBoxTest, NestedBoxFromAMessageDispatchedByTheOuterLoop) {
  HWND outer = nullptr;
  const bool outer_answer =
      Ask("Au\xDF" "en?", {BoxReady, Do([&] {
                            outer = BoxWindow();
                            PostMessageA(caller_, kRunInner, 0, 0);
                          }),
                           [&] { return BoxReady() && BoxWindow() != outer; },
                           Do([&] { EXPECT_FALSE(IsWindowEnabled(outer)) << "the outer box is disabled meanwhile"; }),
                           Do([] { Press(VK_RETURN); }),  // inner: Yes
                           [&] { return g_log.inner_done && BoxReady() && BoxWindow() == outer; },
                           Do([] { Press(VK_ESCAPE); })});  // outer: No
  EXPECT_TRUE(g_log.inner_done);
  EXPECT_TRUE(g_log.inner_answer);
  EXPECT_TRUE(g_log.outer_open_after_inner);
  EXPECT_FALSE(outer_answer);
  EXPECT_TRUE(IsWindowEnabled(caller_));
}

TEST_F(MessageBoxTest, ExceptionFromAHandlerLeavesTheModalLoopAndDestroysTheBox) {
  BoxScript script({BoxReady, Do([&] { PostMessageA(caller_, kThrow, 0, 0); })});
  try {
    AskYesNoBox("Gleich knallt es");
    ADD_FAILURE() << "the exception did not reach the caller";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "kaputt");
  }
  EXPECT_EQ(FindWindowA("TFSB_BOX", nullptr), nullptr);
  EXPECT_TRUE(IsWindowEnabled(caller_));
  // The next box works as usual.
  EXPECT_TRUE(Ask("Wieder da?", {BoxReady, Do([] { Press(VK_RETURN); })}));
}

TEST_F(MessageBoxTest, ComponentsAreNamedAsTheFormNamesThem) {
  TFSB_BOX box;
  std::vector<std::string> names, classes;
  for (TComponent* c : box.OwnedComponents()) {
    names.push_back(c->Name());
    classes.push_back(c->ClassName());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Pmsg", "Image1", "Panel2", "FB_BREAK2", "Pquestion", "Image2", "Panel1",
                                             "FB_OK", "FB_BREAK1", "MsgLabel"}));
  EXPECT_EQ(classes[0], "TPanel");
  EXPECT_EQ(classes[1], "TImage");
  EXPECT_EQ(classes[3], "TFlatButton");
  EXPECT_EQ(classes[9], "TSBHTM");
  EXPECT_EQ(box.Name(), "FSB_BOX");
  EXPECT_EQ(box.ClassName(), "TFSB_BOX");
  EXPECT_EQ(box.FB_BREAK1.Tag(), TFSB_BOX::kNoTag);
  // Properties by name, as the skin sets them; unknown names are ignored.
  EXPECT_TRUE(box.FB_OK.SetProperty("ColorDown", 0x00FFFF));
  EXPECT_EQ(box.FB_OK.GetProperty("colordown"), 0x00FFFF);
  EXPECT_TRUE(box.Pmsg.SetProperty("BevelOuter", 1));
  EXPECT_EQ(box.Pmsg.BevelOuter(), 1);
  EXPECT_FALSE(box.FB_OK.SetProperty("Gibtsnicht", 1));
  for (const char* p : {"Visible", "Color", "ColorDown", "ColorFocused", "ColorBorder", "ColorHighLight",
                        "ColorShadow", "Round", "Margin", "Spacing"})
    EXPECT_TRUE(box.FB_OK.HasProperty(p)) << p;
  for (const char* p : {"BevelInner", "BevelOuter", "Visible", "Color"}) EXPECT_TRUE(box.Panel1.HasProperty(p)) << p;
}

// Another program: this test executable started again, showing a window of
// its own and taking the foreground; it fails when it never got it.
TEST(ForeignProgram, TakesTheForeground) {
  if (!std::getenv("ZS_FOREIGN_WINDOW")) GTEST_SKIP() << "run by BoxReturnsToTheFront";
  HWND w = CreateWindowExA(0, "STATIC", "Fremd", WS_POPUP | WS_VISIBLE | WS_BORDER, 10, 10, 200, 100, nullptr,
                           nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  SetForegroundWindow(w);
  EXPECT_EQ(GetForegroundWindow(), w);
  Pump(1500);
  DestroyWindow(w);
}

TEST_F(MessageBoxTest, BoxReturnsToTheFrontWhenAnotherProgramTakesIt) {
  PROCESS_INFORMATION pi{};
  bool back = false;
  auto child_ended = [&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; };
  Note("Bleibt vorn", {BoxReady, Do([&] {
                         SetEnvironmentVariableA("ZS_FOREIGN_WINDOW", "1");
                         std::string cmd = "\"" + ExeDir() +
                                           "message_box_tests.exe\" --gtest_filter=ForeignProgram.TakesTheForeground";
                         STARTUPINFOA si{};
                         si.cb = sizeof si;
                         ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                                    nullptr, &si, &pi));
                         SetEnvironmentVariableA("ZS_FOREIGN_WINDOW", nullptr);
                       }),
                       [&] { return FindWindowA(nullptr, "Fremd") || child_ended(); },
                       [&] {
                         // The box is in front again while the other window still stands.
                         back = FindWindowA(nullptr, "Fremd") && GetForegroundWindow() == BoxWindow() &&
                                GetForegroundWindow() != nullptr;
                         return back || child_ended();
                       },
                       Do([] { Press(VK_ESCAPE); })});
  DWORD child_exit = 99;
  if (pi.hProcess) {
    WaitForSingleObject(pi.hProcess, 10000);
    GetExitCodeProcess(pi.hProcess, &child_exit);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  EXPECT_EQ(child_exit, 0u) << "the other program never got the foreground";
  EXPECT_TRUE(back) << "the box did not come back to the front";
}

// Holds a note and a question open for a screenshot when ZS_BOX_HOLD_MS is set.
TEST_F(MessageBoxTest, HoldForScreenshot) {
  const char* hold = std::getenv("ZS_BOX_HOLD_MS");
  if (!hold) GTEST_SKIP() << "set ZS_BOX_HOLD_MS to look at the boxes";
  const int ticks = std::atoi(hold) / 15;
  bool open = false;
  Note("<B>Fehler:</B><BR>Die Datenbank \"C:\\Velto\\Daten\" konnte nicht ge\xF6" "ffnet werden.#13#10"
       "Bitte pr\xFC" "fen Sie den Pfad & die Rechte.",
       {BoxReady, StillOpenAfter(ticks, &open), Do([] { Press(VK_RETURN); })});
  Ask("<BR><B>L\xF6schen nicht m\xF6glich:<BR>Fehler:<BR></B>Der Datensatz ist gesperrt.<BR><BR>"
      "<B>Verbindung trotzdem entfernen?</B>",
      {BoxReady, StillOpenAfter(ticks, &open), Do([] { Press(VK_ESCAPE); })});
}

}  // namespace
}  // namespace zs::test
