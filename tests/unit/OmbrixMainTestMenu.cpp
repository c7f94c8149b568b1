// The tray menu of the main form: its dialogs and their re-entry guards, closing the target
// and Ombrix, the store switch, the updater and help.

#include "config/About.h"
#include "help/HelpContexts.h"
#include "runtime/ProgInfo.h"
#include "tests/unit/OmbrixMainTest.h"

namespace ombrix {
namespace testing_main {
namespace {

using sim::SimFormUser;
using sim::SimShell;

// Choosing a dialog's item again while that dialog is open, through the tray, opens no
// second copy; once it has closed, the item opens it again.
TEST_F(OmbrixMainTest, EachDialogOpensOnceAtATime) {
  struct Case {
    const char* item;
    const char* className;
    const char* closeButton;
  };
  const Case cases[] = {{"Program &information", "TfrmProgramInfo", "btnOk"},
                        {"A&bout Ombrix...", "TAboutVorelOmbrix", "btnOk"},
                        {"&Configure", "TfrmConfiguration", "btnCancel"}};
  StartApp();
  for (const Case& test : cases) {
    const size_t shownBefore = host.ShownForms().size();
    bool secondShown = false;
    host.OnNextShow([&](SimFormUser& user) {
      ChooseFromTray(test.item);
      EXPECT_TRUE(user.IsOpen());
      ASSERT_TRUE(user.Click(test.closeButton));
    });
    // Would play the second copy, if one opened.
    host.OnNextShow([&](SimFormUser& user) {
      secondShown = true;
      user.Escape();
    });
    ChooseFromTray(test.item);
    ASSERT_EQ(shownBefore + 1, host.ShownForms().size()) << test.item;
    EXPECT_EQ(test.className, host.ShownForms().back().className);
    EXPECT_FALSE(secondShown) << test.item;
    // Closed: the item works again (and plays the script left over).
    ChooseFromTray(test.item);
    EXPECT_TRUE(secondShown) << test.item;
  }
  EXPECT_FALSE(form->Menu().AnyDialogOpen());
}

TEST_F(OmbrixMainTest, ProgramInformationShowsTheStartedProcess) {
  sim.SimFiles().SetVersionString(OmbrixExe, "\\StringFileInfo\\040904E4\\FileVersion", "2.5.3.40");
  sim.SimProcs().DefineProgram(App, Program({"App window"}));
  ASSERT_TRUE(Start(App + std::string(" -p")));
  std::vector<std::pair<std::string, std::string>> shown;
  host.OnNextShow([&](SimFormUser& user) {
    for (const char* name : {"lblProgramVersion", "valueFilename", "valueParameters", "valueWindowCaption", "valuePID",
                             "valueTID", "valueHWND", "valueHotKey"}) {
      shown.emplace_back(name, user.TextOf(name));
    }
    user.Escape();
  });
  ChooseFromTray("Program &information");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"lblProgramVersion", "Version 2.05c build 40"},
      {"valueFilename", App},
      {"valueParameters", "-p "},
      {"valueWindowCaption", "App window"},
      {"valuePID", std::to_string(form->Target().Process().processId)},
      {"valueTID", std::to_string(form->Target().Process().threadId)},
      {"valueHWND", std::to_string(reinterpret_cast<ULONG_PTR>(Main()))},
      {"valueHotKey", "none"}};
  EXPECT_EQ(expected, shown);
}

TEST_F(OmbrixMainTest, ConfigureSavedChangesTheIconAtOnce) {
  StartApp();
  ASSERT_NE(nullptr, Icon());
  host.OnNextShow([&](SimFormUser& user) {
    ASSERT_TRUE(user.SwitchPage("pcConfig", 1));
    ASSERT_TRUE(user.Click("rbNoTrayNoTask"));
    ASSERT_TRUE(user.SwitchPage("pcConfig", 2));
    ASSERT_TRUE(user.ClickItem("rgTrayDblClick", 0));
    ASSERT_TRUE(user.Click("btnOk"));
  });
  ChooseFromTray("&Configure");
  EXPECT_EQ(nullptr, Icon());
  EXPECT_TRUE(form->Target().Settings().NoTrayIcon);
  EXPECT_FALSE(form->Target().Settings().TrayTask);
  EXPECT_TRUE(form->Tray().Icon().OnClick != nullptr);
  EXPECT_TRUE(form->Tray().Icon().OnDblClick == nullptr);
  // The note about restarting.
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_EQ("Please exit, and launch this\r\napplication again for changes\r\nto take place.", Boxes()[0].text);
}

TEST_F(OmbrixMainTest, CloseClosesTheWindowsFromTheLastFoundAndEndsEvenIfRefused) {
  TAppSettings settings = Settings();
  settings.NbWindows = "3";
  Store(settings);
  sim::SimProgram program = Program({"One", "Two", "Three"});
  program.windows[2].refusesClose = true;  // "One", the topmost, asks its user and stays
  sim.SimProcs().DefineProgram(App, program);
  ASSERT_TRUE(Start(App));
  ASSERT_EQ(3, form->Target().WindowCount());
  std::vector<std::pair<HWND, UINT>> sent;
  for (int slot : {1, 2, 3}) Record(Slot(slot), sent);
  const std::vector<HWND> found = {Slot(1), Slot(2), Slot(3)};
  ClickIcon(SimShell::Click::kDouble);  // hidden first
  ASSERT_FALSE(Visible(found[0]));

  ChooseFromTray("&Close");
  const std::vector<std::pair<HWND, UINT>> expected = {
      {found[2], WM_CLOSE}, {found[1], WM_CLOSE}, {found[0], WM_CLOSE}};
  EXPECT_EQ(expected, sent);
  EXPECT_EQ(1, closedCount);
  EXPECT_TRUE(form->Closed());
  EXPECT_EQ(nullptr, Icon());
  EXPECT_FALSE(form->Watch().Running());
  // The one that refused is left running, shown.
  EXPECT_TRUE(sim.Windows().IsWindow(found[0]));
  EXPECT_TRUE(Visible(found[0]));
  EXPECT_FALSE(sim.Windows().IsWindow(found[1]));
  EXPECT_TRUE(TargetRunning());
}

TEST_F(OmbrixMainTest, EndRequestsToAnyOfItsWindowsShowWhatItHidThenEndOmbrix) {
  struct Case {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool ends;
  };
  const Case cases[] = {
      {"close request", WM_CLOSE, 0, true},
      {"session ending", WM_QUERYENDSESSION, 0, true},
      {"session ended", WM_ENDSESSION, TRUE, true},
      {"session end cancelled", WM_ENDSESSION, FALSE, false},
  };
  for (const Case& c : cases) {
    for (int which = 0; which < 3; ++which) {
      SCOPED_TRACE(std::string(c.name) + " to window " + std::to_string(which));
      closedCount = 0;
      form = std::make_unique<TVorel_Ombrix>(sim, host);
      form->OnClosed = [this] { ++closedCount; };
      StartApp();
      ClickIcon(SimShell::Click::kDouble);
      ASSERT_FALSE(Visible(Main()));
      const HWND own[] = {form->ApplicationWindow(), form->Tray().Icon().WindowHandle(),
                          form->Menu().mnuTray.WindowHandle()};
      std::vector<std::pair<HWND, UINT>> sent;
      Record(Main(), sent);

      const LRESULT answer = sim.Input().SendMessageA(own[which], c.message, c.wParam, 0);
      EXPECT_EQ(c.message == WM_QUERYENDSESSION ? TRUE : 0, answer) << "the session may end";
      EXPECT_TRUE(sim.Windows().IsWindow(own[which])) << "the window lives until Ombrix ends";
      EXPECT_EQ(c.ends ? 1 : 0, closedCount);
      EXPECT_EQ(c.ends, Icon() == nullptr);
      EXPECT_EQ(!c.ends, form->Watch().Running());
      EXPECT_EQ(c.ends, Visible(Main())) << "what Ombrix hid is shown again before it ends";
      EXPECT_TRUE(sent.empty()) << "the target is not asked to close";
      EXPECT_TRUE(TargetRunning());
      // A second request, and ticks after the end, change nothing more.
      sim.Input().SendMessageA(own[(which + 1) % 3], c.message, c.wParam, 0);
      sim.SimMessages().RunFor(2000);
      EXPECT_EQ(c.ends ? 1 : 0, closedCount);
    }
  }
}

TEST_F(OmbrixMainTest, F1InTheOpenTrayMenuOpensTheMenusHelpTopic) {
  sim.Files().WriteFileBytes(HelpFile, "ITSF");
  StartApp();
  const HWND owner = form->Menu().mnuTray.WindowHandle();
  IInput& input = sim.Input();
  constexpr WPARAM Highlighted = 0x80 << 16;  // MF_HILITE
  sim.SimUser().DismissNextMenu([&] {
    input.SendMessageA(owner, WM_HELP, 0, 0);  // on no item yet
    // "&Help", which has no topic of its own, and "&Close".
    for (WPARAM command : {9u, 11u}) {
      input.SendMessageA(owner, WM_MENUSELECT, command | Highlighted, 1);
      input.SendMessageA(owner, WM_HELP, 0, 0);
    }
  });
  ClickIcon(SimShell::Click::kRight);
  const auto& calls = sim.SimTray().HelpCalls();
  ASSERT_EQ(3u, calls.size());
  for (const sim::HtmlHelpCall& call : calls) {
    EXPECT_EQ(HelpFile, call.helpFile);
    EXPECT_EQ(HH_HELP_CONTEXT, call.command);
    EXPECT_EQ(static_cast<ULONG_PTR>(HelpContexts::TrayMenu), call.data);
  }
}

TEST_F(OmbrixMainTest, IniSwitchWritesEachToggle) {
  StartApp();
  ASSERT_TRUE(form->Menu().itmSaveSettingsINIFile.Checked);
  ChooseFromTray("&Save settings to INI file instead of registry");
  EXPECT_FALSE(form->Menu().itmSaveSettingsINIFile.Checked);
  EXPECT_EQ(TVariant(false), TVariant(SettingsValue(ValueUseINIFile).ToBool()));
  EXPECT_FALSE(SettingsValue(ValueUseINIFile).IsEmpty());
  ChooseFromTray("&Save settings to INI file instead of registry");
  EXPECT_TRUE(form->Menu().itmSaveSettingsINIFile.Checked);
  EXPECT_TRUE(SettingsValue(ValueUseINIFile).ToBool());

  // The switch decides where the next save goes.
  ChooseFromTray("&Save settings to INI file instead of registry");
  host.OnNextShow([](SimFormUser& user) { ASSERT_TRUE(user.Click("btnOk")); });
  ChooseFromTray("&Configure");
  TRegistryEnhanced registry(sim);
  registry.Key = SettingsKey;
  EXPECT_EQ(App, registry.ReadValueDefault("Filename1", TVariant()).ToText());
  std::string inIni;
  sim.Profile().GetPrivateProfileStringA("AppSettings", "Filename1", "<missing>", 1024, inIni,
                                         std::string(OmbrixFolder) + "Ombrix.ini");
  EXPECT_EQ("<missing>", inIni);
}

TEST_F(OmbrixMainTest, UpdateStartsTheUpdaterWithItsFileBothQuoted) {
  StartApp();
  const size_t before = sim.SimProcs().Launches().size();
  ChooseFromTray("&Update Ombrix");
  ASSERT_EQ(before + 1, sim.SimProcs().Launches().size());
  const sim::SimLaunch& launch = sim.SimProcs().Launches().back();
  EXPECT_TRUE(launch.viaWinExec);
  EXPECT_EQ("\"C:\\Program Files\\Ombrix\\RenovoLauncher.exe\" \"C:\\Program Files\\Ombrix\\Ombrix.duf\"",
            launch.commandLine);
  EXPECT_EQ(SW_SHOW, launch.startup.showWindow);
  EXPECT_FALSE(launch.succeeded);  // not installed: nothing is said
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(OmbrixMainTest, HelpOpensTheContentsOfOmbrixHelpFile) {
  sim.Files().WriteFileBytes(HelpFile, "ITSF");
  StartApp();
  ChooseFromTray("&Help");
  ASSERT_EQ(1u, sim.SimTray().HelpCalls().size());
  const sim::HtmlHelpCall& call = sim.SimTray().HelpCalls()[0];
  // Beside Ombrix, not in the target's folder, which is the current one.
  EXPECT_EQ(HelpFile, call.helpFile);
  EXPECT_EQ(HH_DISPLAY_TOC, call.command);
  EXPECT_EQ(0u, call.data);
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace testing_main
}  // namespace ombrix
