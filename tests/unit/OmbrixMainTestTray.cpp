// The tray icon of the main form (its modes, clicks, tip and right click) and the watch timer
// that follows the target's main window.

#include "base/Utf8.h"
#include "runtime/TrayHint.h"
#include "tests/unit/OmbrixMainTest.h"

namespace ombrix {
namespace testing_main {
namespace {

using sim::SimShell;

constexpr char QuickCloseQuestion[] =
    "Application was detected closed 5 seconds\r\nafter launch. This might mean that this application \r\n"
    "needs configuration.\r\nDo you wish to go to the configuration screen ?\r\n(answering no will close Ombrix)\r\n";

TEST_F(OmbrixMainTest, IconFollowsTheModeThroughHideAndShow) {
  struct Case {
    const char* name;
    bool trayTask, trayNoTask, noTrayTask, noTrayIcon;
    bool afterSetup, afterHide, afterShow;
  };
  const Case cases[] = {
      {"TrayTask", true, false, false, false, true, true, true},
      {"TrayNoTask", false, true, false, false, true, true, true},
      {"NoTrayTask", false, false, true, false, true, true, false},
      {"NoTrayIcon", false, false, false, true, false, false, false},
      // Stored values that leave every mode off: set-up shows the icon, hide and show leave it.
      {"none", false, false, false, false, true, true, true},
  };
  for (const Case& test : cases) {
    TAppSettings settings = Settings();
    settings.TrayTask = test.trayTask;
    settings.TrayNoTask = test.trayNoTask;
    settings.NoTrayTask = test.noTrayTask;
    settings.NoTrayIcon = test.noTrayIcon;
    Store(settings);
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    StartApp();
    EXPECT_EQ(test.afterSetup, Icon() != nullptr) << test.name;
    form->trayHideForm();
    EXPECT_FALSE(Visible(Main())) << test.name;
    EXPECT_EQ(test.afterHide, Icon() != nullptr) << test.name;
    form->trayShowForm();
    EXPECT_TRUE(Visible(Main())) << test.name;
    EXPECT_EQ(test.afterShow, Icon() != nullptr) << test.name;
    EXPECT_EQ(Main(), sim.SimWindows().Foreground()) << test.name;
  }
  // With no mode, an icon that is gone stays gone.
  form->Tray().Icon().SetActive(false);
  form->trayHideForm();
  form->trayShowForm();
  EXPECT_EQ(nullptr, Icon());
}

TEST_F(OmbrixMainTest, ShowBringsEachWindowBackAsItWasWhenHidden) {
  struct Case {
    const char* name;
    std::vector<int> commands;  // what the user did to the window before it was hidden
    UINT shownAs;
  };
  const Case cases[] = {
      {"normal", {}, SW_SHOWNORMAL},
      {"maximized", {SW_SHOWMAXIMIZED}, SW_SHOWMAXIMIZED},
      {"minimized", {SW_SHOWMINIMIZED}, SW_SHOWNORMAL},
      {"minimized from maximized", {SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED}, SW_SHOWMAXIMIZED},
  };
  for (const Case& test : cases) {
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    StartApp({"Main", "Tool"});
    ASSERT_EQ(2, form->Target().WindowCount());
    for (int command : test.commands) sim.Windows().ShowWindow(Slot(2), command);
    form->trayHideForm();
    for (int slot : {1, 2}) {
      EXPECT_FALSE(Visible(Slot(slot))) << test.name;
      EXPECT_TRUE(form->Visibility().Hidden(slot)) << test.name;
    }
    form->trayShowForm();
    for (int slot : {1, 2}) {
      EXPECT_TRUE(Visible(Slot(slot))) << test.name;
      EXPECT_FALSE(form->Visibility().Hidden(slot)) << test.name;
    }
    EXPECT_EQ(test.shownAs, Window(Slot(2)).showCmd) << test.name;
    EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), Window(Slot(1)).showCmd) << test.name;
    EXPECT_TRUE(Boxes().empty()) << test.name;
  }
}

TEST_F(OmbrixMainTest, WindowsRefuseToChangeAreNotRecordedSoAndTheUserIsToldOnce) {
  StartApp();
  // The program runs as administrator: Windows keeps Ombrix from hiding its window.
  Window(Main()).elevated = true;
  ClickIcon(SimShell::Click::kDouble);
  EXPECT_TRUE(Visible(Main()));
  EXPECT_FALSE(form->Visibility().Hidden(1));
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_NE(std::string::npos, Boxes()[0].text.find("Ombrix hide")) << Boxes()[0].text;
  EXPECT_NE(std::string::npos, Boxes()[0].text.find(App)) << Boxes()[0].text;
  // The next click tries to hide again, and minimizing tries at every tick: no second box.
  ClickIcon(SimShell::Click::kDouble);
  Window(Main()).showCmd = SW_SHOWMINIMIZED;  // the program's own doing
  sim.SimMessages().RunFor(1500);
  EXPECT_TRUE(Visible(Main()));
  EXPECT_EQ(1u, Boxes().size());

  // A window hidden before it became out of reach stays recorded hidden when a show fails.
  Window(Main()).elevated = false;
  sim.Windows().ShowWindow(Main(), SW_RESTORE);
  ClickIcon(SimShell::Click::kDouble);
  ASSERT_FALSE(Visible(Main()));
  Window(Main()).elevated = true;
  ClickIcon(SimShell::Click::kDouble);
  EXPECT_FALSE(Visible(Main()));
  EXPECT_TRUE(form->Visibility().Hidden(1));
  ASSERT_EQ(2u, Boxes().size());
  EXPECT_NE(std::string::npos, Boxes()[1].text.find("Ombrix show")) << Boxes()[1].text;
  ClickIcon(SimShell::Click::kDouble);
  EXPECT_EQ(2u, Boxes().size());
}

TEST_F(OmbrixMainTest, AProgramRunningAsAdministratorIsNotHiddenAndTheUserLearnsHowToKeepIt) {
  // Started elevated by other means: Ombrix at normal rights may read its window, not change it.
  sim::SimProgram elevated = Program({"App"});
  elevated.elevated = true;
  sim.SimProcs().DefineProgram(App, elevated);
  ASSERT_TRUE(Start(App));
  ClickIcon(SimShell::Click::kDouble);
  Window(Main()).showCmd = SW_SHOWMINIMIZED;  // the program's own doing: hidden on minimize neither
  sim.SimMessages().RunFor(1500);
  ClickIcon(SimShell::Click::kDouble);
  EXPECT_TRUE(Visible(Main()));
  EXPECT_FALSE(form->Visibility().Hidden(1));
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_EQ(std::string("Windows does not let a program running with normal rights hide a program running as "
                        "administrator:\r\n") +
                App +
                "\r\n\r\nTo keep it in the tray, close it and start it through Ombrix: when it needs "
                "administrator rights, Ombrix offers to run with them too.",
            Boxes()[0].text);
  // Nor may it close it: the close request is dropped on the way up.
  sim.Input().SendMessageA(Main(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(sim.Windows().IsWindow(Main()));
}

TEST_F(OmbrixMainTest, SingleClickModeTogglesTwiceOnADoubleClick) {
  TAppSettings settings = Settings();
  settings.TrayDblClick = 0;
  settings.TrayTask = false;
  settings.NoTrayTask = true;  // Show takes the icon away, so it tells whether Show ran
  Store(settings);
  StartApp();
  ClickIcon(SimShell::Click::kLeft);
  EXPECT_FALSE(Visible(Main()));
  ClickIcon(SimShell::Click::kLeft);
  EXPECT_TRUE(Visible(Main()));
  EXPECT_EQ(nullptr, Icon());

  form->ApplyTraySettings(form->Target().Settings());  // the icon back, as a saved configuration brings it
  ClickIcon(SimShell::Click::kDouble);
  EXPECT_TRUE(Visible(Main()));  // hidden and shown again
  EXPECT_EQ(nullptr, Icon());    // the second click was a Show
}

TEST_F(OmbrixMainTest, DoubleClickModeIgnoresASingleClick) {
  StartApp();  // double click is the default
  ClickIcon(SimShell::Click::kLeft);
  EXPECT_TRUE(Visible(Main()));
  EXPECT_FALSE(form->Visibility().Hidden(1));
  ClickIcon(SimShell::Click::kDouble);
  EXPECT_FALSE(Visible(Main()));
  ClickIcon(SimShell::Click::kDouble);
  EXPECT_TRUE(Visible(Main()));
}

TEST_F(OmbrixMainTest, TargetShowingItselfAgainIsShownNotHiddenByTheNextClick) {
  StartApp();
  ClickIcon(SimShell::Click::kDouble);
  ASSERT_FALSE(Visible(Main()));
  sim.Windows().ShowWindow(Main(), SW_SHOW);  // the target's own doing
  const HWND other = sim.SimWindows().CreateTopWindow(sim::SimWindow{});
  sim.Windows().SetForegroundWindow(other);
  ClickIcon(SimShell::Click::kDouble);
  EXPECT_TRUE(Visible(Main()));
  EXPECT_FALSE(form->Visibility().Hidden(1));
  EXPECT_EQ(Main(), sim.SimWindows().Foreground());
}

TEST_F(OmbrixMainTest, HideAndShowWithoutWindowsChangeOnlyTheIcon) {
  TAppSettings settings = Settings();
  settings.TrayTask = false;
  settings.NoTrayTask = true;
  form->ApplyTraySettings(settings);
  form->Tray().Present(false);
  form->trayHideForm();
  EXPECT_NE(nullptr, Icon());
  form->trayShowForm();
  EXPECT_EQ(nullptr, Icon());
  EXPECT_FALSE(form->Visibility().Hidden(1));
}

TEST_F(OmbrixMainTest, TipIsTheCaptionCutTo62Characters) {
  const std::string caption(70, 'c');
  StartApp({caption});
  EXPECT_EQ(caption, form->Target().Caption());
  EXPECT_EQ(caption.substr(0, 62), Icon()->tip);
}

// Windows remembers per program file and id whether the user keeps an icon on the taskbar;
// every Ombrix runs from one program file, so the id must be the target's own.
TEST_F(OmbrixMainTest, EachTargetHasAnIconIdentityOfItsOwnKeptFromRunToRun) {
  constexpr char Other[] = "C:\\Tools\\other.exe";
  sim.SimProcs().DefineProgram(App, Program({"App"}));
  sim.SimProcs().DefineProgram(Other, Program({"Other"}));
  auto run = [this](const char* file) {
    auto ombrix = std::make_unique<TVorel_Ombrix>(sim, host);
    EXPECT_TRUE(ombrix->FormCreate(std::string("\"") + OmbrixExe + "\" " + file)) << file;
    return ombrix;
  };
  auto shown = [this](const std::unique_ptr<TVorel_Ombrix>& ombrix) {
    return sim.SimTray().FindIcon(ombrix->Tray().Icon().WindowHandle(), ombrix->Tray().Icon().Id());
  };
  sim.SimTray().ClearLog();
  auto app = run(App);
  const UINT appId = app->Tray().Icon().Id();
  ASSERT_NE(nullptr, shown(app));
  EXPECT_FALSE(shown(app)->promoted) << "a new identity goes behind the overflow's ^";
  const sim::NotifyIconCall& add = sim.SimTray().NotifyCalls().at(0);
  EXPECT_EQ(static_cast<DWORD>(NIM_ADD), add.message);
  EXPECT_EQ("app.exe", add.data.tip) << "the program's name from the first add on";
  ASSERT_NE(nullptr, sim.SimTray().Remembered(OmbrixExe, appId));
  EXPECT_EQ("app.exe", sim.SimTray().Remembered(OmbrixExe, appId)->initialTip);
  EXPECT_EQ("App", shown(app)->tip) << "then the caption, once known";

  // The user keeps this one on the taskbar; another program's icon is not touched.
  ASSERT_TRUE(sim.SimTray().PromoteIcon(app->Tray().Icon().WindowHandle(), appId, true));
  auto other = run(Other);
  EXPECT_NE(appId, other->Tray().Icon().Id());
  EXPECT_FALSE(shown(other)->promoted);

  // The next run of the same program is the same identity, still promoted.
  app.reset();
  app = run(App);
  EXPECT_EQ(appId, app->Tray().Icon().Id());
  EXPECT_TRUE(shown(app)->promoted);

  // A second Ombrix of the same program takes the next id, saying nothing; the first one's
  // id is free again once it has ended.
  auto second = run(App);
  EXPECT_EQ(NextTrayIconId(appId), second->Tray().Icon().Id());
  EXPECT_NE(nullptr, shown(second));
  EXPECT_TRUE(Boxes().empty());
  app.reset();
  EXPECT_EQ(appId, run(App)->Tray().Icon().Id());
}

TEST_F(OmbrixMainTest, EachProgramsFirstIconSaysOnceWhereItIsUnlessHintsAreOff) {
  constexpr char Other[] = "C:\\Tools\\other.exe";
  constexpr char Third[] = "C:\\Tools\\third.exe";
  sim.SimProcs().DefineProgram(App, Program({"App"}));
  sim.SimProcs().DefineProgram(Other, Program({"Other"}));
  sim.SimProcs().DefineProgram(Third, Program({"Third"}));
  constexpr char Windows10[] =
      " is in the tray. If you do not see its icon, click ^ on the taskbar; to keep it in view, drag it onto the "
      "taskbar, or turn it on in Settings > Personalization > Taskbar > Select which icons appear on the taskbar.";
  constexpr char Windows11[] =
      " is in the tray. If you do not see its icon, click ^ on the taskbar; to keep it in view, drag it onto the "
      "taskbar, or turn it on in Settings > Personalization > Taskbar > Other system tray icons.";
  struct Case {
    const char* name;
    const char* file;
    DWORD build;
    std::string hint;  // empty: none
    bool thenTurnOff;
  };
  const Case cases[] = {
      {"first run, Windows 10", App, 19045, std::string("app.exe") + Windows10, false},
      {"the same program again", App, 19045, "", false},
      {"another program, Windows 11", Other, 22000, std::string("other.exe") + Windows11, true},
      {"hints turned off", Third, 22631, "", false},
  };
  for (const Case& test : cases) {
    sim.SimTray().SetSystemBuild(test.build);
    sim.SimTray().ClearLog();
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    ASSERT_TRUE(Start(test.file)) << test.name;
    std::vector<NotifyIconData> balloons;
    for (const sim::NotifyIconCall& call : sim.SimTray().NotifyCalls()) {
      if (call.result && (call.data.flags & NIF_INFO)) balloons.push_back(call.data);
    }
    if (test.hint.empty()) {
      EXPECT_TRUE(balloons.empty()) << test.name;
    } else {
      ASSERT_EQ(1u, balloons.size()) << test.name;
      EXPECT_EQ(test.hint, balloons[0].info) << test.name;
      EXPECT_EQ("Vorel Ombrix", balloons[0].infoTitle);
      EXPECT_EQ(NIIF_INFO | NIIF_NOSOUND, balloons[0].infoFlags) << "a hint makes no sound";
      EXPECT_EQ(form->Tray().Icon().Id(), balloons[0].id);
    }
    if (test.thenTurnOff) ChooseFromTray("Show &tray icon hints");
  }
  // The name gives way to the balloon's limit, on a whole character.
  std::string longName;
  for (int i = 0; i < 100; ++i) longName += "\xC3\xA9";
  const std::string cut = TrayHintText(longName, true);
  EXPECT_LE(cut.size(), 255u);
  EXPECT_TRUE(IsUtf8(cut));
  EXPECT_NE(std::string::npos, cut.find(Windows11)) << cut;
}

// With the keyboard (Win+B, the arrows, then Enter, the space bar or the menu key) the icon
// does what the mouse does, whatever click the settings ask of the mouse.
TEST_F(OmbrixMainTest, TheKeyboardTogglesAndOpensTheMenuAtTheIcon) {
  for (const std::int32_t trayDblClick : {0, 1}) {
    TAppSettings settings = Settings();
    settings.TrayDblClick = trayDblClick;
    Store(settings);
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    StartApp();
    ClickIcon(SimShell::Click::kKeySelect);
    EXPECT_FALSE(Visible(Main())) << trayDblClick;
    ClickIcon(SimShell::Click::kKeySelect);
    EXPECT_TRUE(Visible(Main())) << trayDblClick;
  }
  sim.SimUser().SetCursorPos(10, 10);
  sim.SimUser().DismissNextMenu();
  ClickIcon(SimShell::Click::kMenuKey);
  ASSERT_EQ(1u, sim.SimUser().Menus().size());
  EXPECT_EQ(SimShell::IconAnchor().x, sim.SimUser().Menus()[0].x);
  EXPECT_EQ(SimShell::IconAnchor().y, sim.SimUser().Menus()[0].y);
}

// The notification area shows a small icon: the one made at the system's small-icon size,
// made again when a change of the display's scaling brings the taskbar again.
TEST_F(OmbrixMainTest, TheIconIsTheSmallOneAtTheScalingsSize) {
  sim::SimIcons& icons = sim.SimIconFiles();
  icons.SetIconCount(App, 2);
  TAppSettings settings = Settings();
  settings.Icon = App;
  settings.IconNumber = 1;
  Store(settings);
  StartApp();
  const struct {
    int percent;
    int size;
  } scalings[] = {{100, 16}, {125, 20}, {150, 24}, {200, 32}};
  for (const auto& scaling : scalings) {
    sim.SimTray().ChangeScaling(icons, scaling.percent);
    sim.Messages().ProcessMessages();
    ASSERT_NE(nullptr, Icon());
    EXPECT_EQ(scaling.size, icons.SizeOf(Icon()->icon)) << scaling.percent << "%";
    std::string file;
    int index = -1;
    ASSERT_TRUE(icons.Describe(Icon()->icon, file, index));
    EXPECT_EQ(App, file);
    EXPECT_EQ(1, index);
    EXPECT_EQ(1, icons.LiveIconCount()) << "the picture replaced is destroyed";
  }
  // A position the file lacks: the standard icon, made at the small size too.
  settings.IconNumber = 5;
  form->ApplyTraySettings(settings);
  std::string file;
  int index = -1;
  ASSERT_TRUE(icons.Describe(Icon()->icon, file, index));
  EXPECT_EQ(IdiApplication, index);
  EXPECT_EQ(32, icons.SizeOf(Icon()->icon));
}

TEST_F(OmbrixMainTest, ShiftRightClickHandsTheSystemMenuCommandToTheTarget) {
  StartApp();
  std::vector<std::pair<HWND, UINT>> sent;
  Record(Main(), sent);
  const HWND other = sim.SimWindows().CreateTopWindow(sim::SimWindow{});
  sim.SimUser().SetKeyDown(VK_SHIFT, true);
  sim.SimUser().SetCursorPos(300, 400);

  // Dismissed: nothing reaches the target, which still comes to the front.
  sim.Windows().SetForegroundWindow(other);
  sim.SimUser().DismissNextMenu();
  ClickIcon(SimShell::Click::kRight);
  ASSERT_EQ(1u, sim.SimUser().Menus().size());
  const sim::ShownMenu& shown = sim.SimUser().Menus()[0];
  EXPECT_EQ(sim.Input().GetSystemMenu(Main(), FALSE), shown.menu);
  EXPECT_EQ(0u, shown.flags);
  EXPECT_EQ(form->ApplicationWindow(), shown.owner);
  EXPECT_EQ(form->ApplicationWindow(), shown.foreground) << "the menu's owner is in front while it is open";
  EXPECT_EQ(300, shown.x);
  EXPECT_EQ(400, shown.y);
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(Main(), sim.SimWindows().Foreground());

  // Chosen: the command is sent on to the target.
  sim.Windows().SetForegroundWindow(other);
  sim.SimUser().PickNextMenuCommand(SC_CLOSE);
  ClickIcon(SimShell::Click::kRight);
  ASSERT_EQ(1u, sent.size());
  EXPECT_EQ(static_cast<UINT>(WM_SYSCOMMAND), sent[0].second);
  EXPECT_TRUE(sim.SimUser().Pending(form->ApplicationWindow()).empty());
  EXPECT_EQ(2u, sim.SimUser().Menus().size());  // the tray menu never showed

  // Once the menu has closed, its owner gets a null message; the command chosen still
  // reaches the target.
  sim.SimUser().PickNextMenuCommand(SC_MOVE);
  form->Menu().itmAppPopupClick();
  ASSERT_EQ(2u, sent.size());
  EXPECT_EQ(static_cast<UINT>(WM_SYSCOMMAND), sent[1].second);
  const std::vector<QueuedMessage> pending = sim.SimUser().Pending(form->ApplicationWindow());
  ASSERT_EQ(1u, pending.size());
  EXPECT_EQ(static_cast<UINT>(WM_NULL), pending[0].message);
}

TEST_F(OmbrixMainTest, RightClickPopsUpTheTrayMenuAtTheCursor) {
  StartApp();
  sim.SimUser().SetCursorPos(1000, 740);
  sim.SimUser().DismissNextMenu();
  ClickIcon(SimShell::Click::kRight);
  ASSERT_EQ(1u, sim.SimUser().Menus().size());
  const sim::ShownMenu& shown = sim.SimUser().Menus()[0];
  EXPECT_EQ(nullptr, shown.menu);
  EXPECT_EQ(form->Menu().mnuTray.WindowHandle(), shown.owner);
  EXPECT_EQ(shown.owner, shown.foreground) << "the menu takes the keyboard only with its owner in front";
  EXPECT_EQ(static_cast<UINT>(TPM_RIGHTALIGN | TPM_RIGHTBUTTON), shown.flags);
  EXPECT_EQ(1000, shown.x);
  EXPECT_EQ(740, shown.y);
  struct Item {
    const char* caption;
    bool checked;
  };
  const Item expected[] = {{"&Show program window", false},
                           {"&Hide program window", false},
                           {"Program &information", false},
                           {"&Configure", false},
                           {"Application's system menu (Shft+RightClick)", false},
                           {"&Save settings to INI file instead of registry", true},
                           {"Show &tray icon hints", true},
                           {"A&bout Ombrix...", false},
                           {"&Update Ombrix", false},
                           {"&Help", false},
                           {"", false},
                           {"&Close", false}};
  ASSERT_EQ(std::size(expected), shown.items.size());
  for (size_t i = 0; i < shown.items.size(); ++i) {
    const MenuEntry& item = shown.items[i];
    EXPECT_EQ(i == 10, item.separator) << i;
    if (item.separator) continue;
    EXPECT_EQ(expected[i].caption, item.caption);
    EXPECT_EQ(expected[i].checked, item.checked) << item.caption;
    EXPECT_TRUE(item.enabled) << item.caption;
  }

  // Once the menu has closed, its owner gets a null message.
  sim.SimUser().DismissNextMenu();
  form->Menu().Popup(1000, 740);
  const std::vector<QueuedMessage> pending = sim.SimUser().Pending(form->Menu().mnuTray.WindowHandle());
  ASSERT_EQ(1u, pending.size());
  EXPECT_EQ(static_cast<UINT>(WM_NULL), pending[0].message);
}

TEST_F(OmbrixMainTest, TimerHidesAMinimizedTarget) {
  StartApp({"Main", "Tool"});
  sim.Windows().ShowWindow(Main(), SW_SHOWMINIMIZED);  // the user minimizes it
  sim.SimMessages().RunFor(500);
  EXPECT_FALSE(Visible(Slot(1)));
  EXPECT_FALSE(Visible(Slot(2)));
  EXPECT_TRUE(form->Visibility().Hidden(1));
  EXPECT_NE(nullptr, Icon());
  // A restore from the tray ends the minimized state: later ticks leave it shown.
  ClickIcon(SimShell::Click::kDouble);
  sim.SimMessages().RunFor(1500);
  EXPECT_TRUE(Visible(Main()));
}

// Where the system tells of the main window's minimize, caption change and end, Ombrix acts
// at once; where it does not (wine), the timer does the same a tick later. One minimize, heard
// and then seen by the tick, is one hide.
TEST_F(OmbrixMainTest, WindowEventsActAtOnceAndTheTimerWithoutThem) {
  for (const bool raised : {true, false}) {
    SCOPED_TRACE(raised ? "events raised" : "no events");
    sim.SimWindows().SetWinEventsRaised(raised);
    closedCount = 0;
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    form->OnClosed = [this] { ++closedCount; };
    StartApp({"Main", "Tool"});
    const HWND main = Main();
    const HWND tool = Slot(2);

    sim.Windows().ShowWindow(main, SW_SHOWMINIMIZED);  // the user minimizes it
    sim.Messages().ProcessMessages();
    EXPECT_EQ(raised, !Visible(main));
    sim.SimMessages().RunFor(1500);
    EXPECT_FALSE(Visible(main));
    EXPECT_FALSE(Visible(tool));
    EXPECT_TRUE(form->Visibility().Hidden(1));
    EXPECT_EQ(1, Window(main).hideRequests);
    EXPECT_EQ(1, Window(tool).hideRequests);

    sim.SimWindows().SetWindowTextA(main, "Renamed");
    sim.Messages().ProcessMessages();
    EXPECT_EQ(raised ? "Renamed" : "Main", Icon()->tip);
    sim.SimMessages().RunFor(500);
    EXPECT_EQ("Renamed", Icon()->tip);

    sim.SimMessages().RunFor(5000);  // no quick close
    sim.SimWindows().DestroyWindow(main);
    sim.Messages().ProcessMessages();
    EXPECT_EQ(raised ? 1 : 0, closedCount);
    sim.SimMessages().RunFor(500);
    EXPECT_EQ(1, closedCount);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(nullptr, Icon());
  }
}

// At logon Ombrix may start before the taskbar: the icon is tried again, and nothing is
// hidden while there is no icon to bring it back.
TEST_F(OmbrixMainTest, NoWindowIsHiddenBeforeTheTaskbarTakesTheIcon) {
  sim.SimTray().RefuseNotifyIcons(true);
  StartApp();
  EXPECT_EQ(nullptr, Icon());
  sim.Windows().ShowWindow(Main(), SW_SHOWMINIMIZED);
  form->Tray().OnToggle();  // the hot key
  sim.SimMessages().RunFor(4000);
  EXPECT_TRUE(Visible(Main())) << "hidden with no icon";
  EXPECT_FALSE(form->Visibility().Hidden(1));
  EXPECT_TRUE(Boxes().empty());

  sim.SimTray().RefuseNotifyIcons(false);  // the taskbar is ready: a later try adds the icon
  sim.SimMessages().RunFor(3500);
  EXPECT_NE(nullptr, Icon());
  EXPECT_FALSE(Visible(Main())) << "the minimized program goes to the tray once its icon is there";
  EXPECT_TRUE(Boxes().empty());

  // The icon that never comes: said once, and the program stays shown.
  form = std::make_unique<TVorel_Ombrix>(sim, host);
  sim.SimTray().RefuseNotifyIcons(true);
  StartApp();
  sim.Windows().ShowWindow(Main(), SW_SHOWMINIMIZED);
  sim.SimMessages().RunFor(120000);
  EXPECT_TRUE(Visible(Main()));
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_NE(std::string::npos, Boxes()[0].text.find("notification area")) << Boxes()[0].text;
  // The shell's word that its taskbar exists brings the icon, and the hide, at once.
  sim.SimTray().RefuseNotifyIcons(false);
  sim.SimTray().RestartShell();
  sim.Messages().ProcessMessages();
  EXPECT_NE(nullptr, Icon());
  sim.SimMessages().RunFor(500);
  EXPECT_FALSE(Visible(Main()));
  EXPECT_EQ(1u, Boxes().size());
}

TEST_F(OmbrixMainTest, TimerKeepsTheTipEqualToTheCaption) {
  StartApp({"First"});
  Window(Main()).caption = "Second";
  sim.SimMessages().RunFor(500);
  EXPECT_EQ("Second", form->Target().Caption());
  EXPECT_EQ("Second", Icon()->tip);
  Window(Main()).caption = "";
  sim.SimMessages().RunFor(500);
  EXPECT_EQ("", form->Target().Caption());
  EXPECT_EQ("Second", Icon()->tip);
}

TEST_F(OmbrixMainTest, TimerDoesNothingWhileTheMainSlotIsEmpty) {
  TAppSettings settings = Settings();
  settings.MainHandle = "3";  // more than the program opens
  Store(settings);
  StartApp({"Only"});
  ASSERT_EQ(nullptr, Main());
  sim.Windows().ShowWindow(Slot(1), SW_SHOWMINIMIZED);
  sim.SimProcs().Terminate(TargetProcess());
  sim.SimMessages().RunFor(10000);
  EXPECT_EQ(0, closedCount);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_NE(nullptr, Icon());
  EXPECT_EQ("app.exe", Icon()->tip) << "no caption known: the file name";
}

TEST_F(OmbrixMainTest, EndOfTheTargetAsksOnlyAfterAQuickClose) {
  struct Case {
    const char* name;
    double ranFor;  // seconds from the window found to the tick that finds it gone
    bool warnQuickClose;
    bool asked;
  };
  const Case cases[] = {
      {"4.9 s", 4.9, false, true},
      {"0 s", 0, false, true},
      {"5.0 s", 5.0, false, false},
      {"a minute and 2 s", 62, false, false},
      {"a day and 3 s", 86403, false, false},
      {"warning off", 0.5, true, false},
  };
  for (const Case& test : cases) {
    TAppSettings settings = Settings();
    settings.WarnQuickClose = test.warnQuickClose;
    Store(settings);
    sim.SimBoxes().ClearLog();
    closedCount = 0;
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    form->OnClosed = [this] { ++closedCount; };
    StartApp();
    sim.SimTime().Advance(static_cast<unsigned long long>(test.ranFor * 1000));
    sim.SimProcs().Terminate(TargetProcess());
    if (test.asked) sim.SimBoxes().AnswerNextBox(IDNO, [&] { EXPECT_FALSE(form->Watch().Running()) << test.name; });
    form->tmrEventTimer();
    EXPECT_EQ(1, closedCount) << test.name;
    ASSERT_EQ(test.asked ? 1u : 0u, Boxes().size()) << test.name;
    EXPECT_EQ(nullptr, Icon()) << test.name;
    EXPECT_FALSE(form->Watch().Running()) << test.name;
    if (!test.asked) continue;
    EXPECT_EQ(QuickCloseQuestion, Boxes()[0].text);
    EXPECT_EQ("Vorel Ombrix", Boxes()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_SETFOREGROUND), Boxes()[0].type);
    EXPECT_EQ(sim.Windows().GetDesktopWindow(), Boxes()[0].owner);
  }
}

TEST_F(OmbrixMainTest, QuickCloseYesOpensTheConfigurationThenEnds) {
  StartApp();
  sim.SimMessages().RunFor(2000);
  sim.SimProcs().Terminate(TargetProcess());
  sim.SimBoxes().AnswerNextBox(IDYES);
  bool timerDuringDialog = true;
  host.OnNextShow([&](sim::SimFormUser& user) {
    timerDuringDialog = form->Watch().Running();
    EXPECT_EQ(App, user.TextOf("valueFilename"));
    user.Escape();
  });
  sim.SimMessages().RunFor(500);
  EXPECT_EQ(1u, Boxes().size());
  EXPECT_EQ(1u, host.ShownForms().size());
  EXPECT_FALSE(timerDuringDialog);
  EXPECT_EQ(1, closedCount);
  EXPECT_FALSE(form->Menu().ConfigurationOpen());
  EXPECT_EQ(nullptr, Icon());
}

TEST_F(OmbrixMainTest, QuickCloseWhileConfiguringFromTheTrayOpensNoSecondDialog) {
  StartApp();
  sim.SimBoxes().AnswerNextBox(IDYES);
  host.OnNextShow([&](sim::SimFormUser& user) {
    sim.SimProcs().Terminate(TargetProcess());
    sim.SimMessages().RunFor(500);  // the tick finds the target gone and asks
    EXPECT_EQ(1, closedCount);
    ASSERT_TRUE(user.Click("btnOk"));
  });
  ChooseFromTray("&Configure");
  EXPECT_EQ(1u, host.ShownForms().size());
  EXPECT_EQ(QuickCloseQuestion, Boxes()[0].text);
  EXPECT_EQ(1, closedCount);
  // Saving in the dialog left open brings no icon back to an Ombrix that has ended.
  EXPECT_EQ(nullptr, Icon());
  EXPECT_EQ(0, sim.SimMessages().ActiveTimerCount());
}

TEST_F(OmbrixMainTest, TargetEndingAfterFiveSecondsEndsQuietlyAtTheNextTick) {
  StartApp();
  sim.SimMessages().RunFor(5200);
  sim.SimProcs().Terminate(TargetProcess());
  EXPECT_EQ(0, closedCount);
  sim.SimMessages().RunFor(500);
  EXPECT_EQ(1, closedCount);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(0, sim.SimMessages().ActiveTimerCount());
}

TEST_F(OmbrixMainTest, ReplacedMainWindowEndsOmbrixAndHiddenWindowsStayHidden) {
  StartApp({"Main", "Tool"});
  ClickIcon(SimShell::Click::kDouble);
  sim.SimMessages().RunFor(6000);
  sim.SimWindows().DestroyWindow(Main());
  sim.SimMessages().RunFor(500);
  EXPECT_EQ(1, closedCount);
  EXPECT_FALSE(Visible(Slot(2)));
  EXPECT_TRUE(TargetRunning());
  EXPECT_EQ(nullptr, Icon());
}

}  // namespace
}  // namespace testing_main
}  // namespace ombrix
