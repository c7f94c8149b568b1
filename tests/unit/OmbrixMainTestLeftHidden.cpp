// What a stopped Ombrix left hidden: the record a running Ombrix keeps of the windows it hid,
// and how a later start of Ombrix or OmbrixHub shows them again.

#include "center/ControlCenter.h"
#include "config/HiddenRecord.h"
#include "tests/RegistryTree.h"
#include "tests/unit/OmbrixMainTest.h"

namespace ombrix {
namespace testing_main {
namespace {

using sim::SimShell;

constexpr char Editor[] = "C:\\Tools\\editor.exe";

class LeftHiddenTest : public OmbrixMainTest {
 public:
  // Ombrix runs as a process of its own from now on, its form made anew.
  DWORD NewOmbrix() {
    const DWORD processId = sim.SimProcs().StartOwnProcess(OmbrixExe);
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    return processId;
  }
  // Ombrix is ended from outside, as Task Manager does: nothing of it runs any more.
  void Kill(DWORD ombrix) {
    sim.SimProcs().Terminate(ombrix);
    form.reset();
  }
  // The records below the settings key: how many running Ombrix processes have one.
  int Records() {
    HKEY hidden = nullptr;
    if (sim.Registry().RegOpenKeyExA(HKEY_CURRENT_USER, std::string(SettingsKey) + "\\" + HiddenWindowsSubKey, KEY_READ,
                                     hidden) != ERROR_SUCCESS) {
      return 0;
    }
    DWORD subKeys = 0;
    sim.Registry().RegQueryInfoKeyA(hidden, &subKeys, nullptr, nullptr, nullptr, nullptr);
    sim.Registry().RegCloseKey(hidden);
    return static_cast<int>(subKeys);
  }
  // A later Ombrix on another program: the start shows what the killed one left hidden.
  void StartOmbrixOnEditor() {
    NewOmbrix();
    sim.SimProcs().DefineProgram(Editor, Program({"Editor"}));
    ASSERT_TRUE(Start(Editor));
  }
  void StartHub() {
    sim.SimProcs().StartOwnProcess("C:\\Program Files\\Ombrix\\OmbrixHub.exe");
    TfrmMain hub(sim, host);
  }
};

TEST_F(LeftHiddenTest, ALaterStartOfEitherProgramShowsWhatAKilledOmbrixLeftHidden) {
  struct Case {
    const char* name;
    void (LeftHiddenTest::*start)();
  };
  const Case cases[] = {{"Ombrix", &LeftHiddenTest::StartOmbrixOnEditor}, {"OmbrixHub", &LeftHiddenTest::StartHub}};
  for (const Case& test : cases) {
    sim.SimBoxes().ClearLog();
    const DWORD killed = NewOmbrix();
    StartApp({"Main", "Tool"});
    const HWND main = Slot(1), tool = Slot(2);
    sim.Windows().ShowWindow(tool, SW_SHOWMAXIMIZED);
    ClickIcon(SimShell::Click::kDouble);
    ASSERT_FALSE(Visible(main)) << test.name;
    ASSERT_EQ(1, Records()) << test.name;
    Kill(killed);
    ASSERT_FALSE(Visible(main)) << test.name;

    (this->*test.start)();
    EXPECT_TRUE(Visible(main)) << test.name;
    EXPECT_TRUE(Visible(tool)) << test.name;
    EXPECT_EQ(static_cast<UINT>(SW_SHOWMAXIMIZED), Window(tool).showCmd) << test.name;
    // One message naming the program once, though two of its windows came back.
    ASSERT_EQ(1u, Boxes().size()) << test.name;
    const std::string& text = Boxes()[0].text;
    EXPECT_NE(std::string::npos, text.find(App)) << text;
    EXPECT_EQ(text.find(App), text.rfind(App)) << text;
    EXPECT_EQ(0, Records()) << test.name;
    Kill(sim.Processes().GetCurrentProcessId());
  }
}

TEST_F(LeftHiddenTest, ARecordIsWrittenWhenTheHiddenSetChangesAndGoesAtANormalEnd) {
  NewOmbrix();
  StartApp();
  EXPECT_EQ(0, Records());
  sim.Windows().ShowWindow(Main(), SW_SHOWMINIMIZED);  // the user minimizes it: the timer hides it
  sim.SimMessages().RunFor(500);
  ASSERT_FALSE(Visible(Main()));
  EXPECT_EQ(1, Records());
  // The timer hides it again at every tick while it stays minimized: nothing is written
  // for a window already recorded.
  ombrix::testing::DeleteTree(sim.Registry(), HKEY_CURRENT_USER, std::string(SettingsKey) + "\\" + HiddenWindowsSubKey);
  sim.SimMessages().RunFor(1500);
  EXPECT_EQ(0, Records());
  ClickIcon(SimShell::Click::kDouble);  // shown: the set changes, the record follows
  ClickIcon(SimShell::Click::kDouble);
  EXPECT_EQ(1, Records());
  form->trayClose();
  EXPECT_EQ(0, Records());
  HKEY hidden = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            sim.Registry().RegOpenKeyExA(HKEY_CURRENT_USER, std::string(SettingsKey) + "\\" + HiddenWindowsSubKey,
                                         KEY_READ, hidden));
}

TEST_F(LeftHiddenTest, AnEndWhileAHideIsUnderWayLeavesTheProgramShownAndNoRecord) {
  // Hiding another program's window waits for that program; an installer's end request
  // answered meanwhile must leave the window shown, and a kill meanwhile must find it
  // recorded.
  NewOmbrix();
  bool closed = false;
  form->OnClosed = [&closed] { closed = true; };
  StartApp();
  sim.Windows().ShowWindow(Main(), SW_SHOWMINIMIZED);  // the user minimizes it: the timer hides it
  int recordsDuringHide = -1;
  sim.SimWindows().DuringNextShowWindow([&] {
    recordsDuringHide = Records();
    sim.Input().SendMessageA(form->ApplicationWindow(), WM_QUERYENDSESSION, 0, 0);
    sim.Input().SendMessageA(form->ApplicationWindow(), WM_ENDSESSION, TRUE, 0);
  });
  sim.SimMessages().RunFor(500);
  EXPECT_EQ(1, recordsDuringHide);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(Visible(Main()));
  EXPECT_EQ(0, Records());
  sim.SimMessages().RunFor(1500);
  EXPECT_TRUE(Visible(Main()));
  EXPECT_EQ(0, Records());
}

TEST_F(LeftHiddenTest, ACrashOfOmbrixShowsWhatItHidAsItWas) {
  NewOmbrix();
  StartApp({"Main", "Tool"});
  const HWND main = Slot(1), tool = Slot(2);
  ClickIcon(SimShell::Click::kDouble);
  ClickIcon(SimShell::Click::kDouble);
  ASSERT_TRUE(Visible(tool));
  // Shown again by Ombrix, the tool is no longer Ombrix's to show: the program's own hide stays.
  sim.Windows().ShowWindow(tool, SW_HIDE);
  sim.SimWindows().Crash();
  EXPECT_FALSE(Visible(tool));

  sim.Windows().ShowWindow(tool, SW_SHOWMAXIMIZED);
  sim.Windows().ShowWindow(main, SW_SHOWMINIMIZED);  // the timer hides the target
  sim.SimMessages().RunFor(500);
  ASSERT_FALSE(Visible(main));
  ASSERT_FALSE(Visible(tool));
  sim.SimWindows().Crash();
  EXPECT_TRUE(Visible(main));
  EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), Window(main).showCmd) << "a minimized window is restored";
  EXPECT_TRUE(Visible(tool));
  EXPECT_EQ(static_cast<UINT>(SW_SHOWMAXIMIZED), Window(tool).showCmd) << "a maximized one comes back maximized";
}

TEST_F(LeftHiddenTest, RecordsGoAtLogOffAndTheSettingsStay) {
  Store(Settings());
  NewOmbrix();
  StartApp();
  ClickIcon(SimShell::Click::kDouble);
  ASSERT_EQ(1, Records());
  sim.SimReg().LogOff();
  EXPECT_EQ(0, Records());
  EXPECT_FALSE(SettingsValue("Version").IsEmpty());
  // A program started after the log-off finds nothing to show.
  StartHub();
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(LeftHiddenTest, WindowsNoLongerTheRecordedProgramsAreLeftAlone) {
  struct Case {
    const char* name;
    std::function<void(HWND window)> meanwhile;
  };
  const Case cases[] = {
      {"handle given to another program's window", [this](HWND window) { Window(window).processId = 0x7770; }},
      {"process id given to another program",
       [this](HWND) {
         sim.SimTime().Advance(1000);
         sim.SimProcs().ReuseProcessId(TargetProcess());
       }},
      {"window gone", [this](HWND window) { sim.SimWindows().DestroyWindow(window); }},
  };
  for (const Case& test : cases) {
    sim.SimBoxes().ClearLog();
    const DWORD killed = NewOmbrix();
    StartApp();
    const HWND main = Main();
    ClickIcon(SimShell::Click::kDouble);
    test.meanwhile(main);
    Kill(killed);
    StartHub();
    if (sim.SimWindows().Find(main)) {
      EXPECT_FALSE(Visible(main)) << test.name;
    }
    EXPECT_TRUE(Boxes().empty()) << test.name;
    EXPECT_EQ(0, Records()) << test.name;
  }
}

TEST_F(LeftHiddenTest, AWindowThisStartMayNotChangeKeepsItsRecordAndTheUserIsToldHow) {
  const DWORD killed = NewOmbrix();
  StartApp();
  const HWND main = Main();
  ClickIcon(SimShell::Click::kDouble);
  // The Ombrix that hid it ran as administrator, as the program does; this start does not.
  Window(main).elevated = true;
  Kill(killed);
  StartHub();
  EXPECT_FALSE(Visible(main));
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_NE(std::string::npos, Boxes()[0].text.find("OmbrixHub as administrator")) << Boxes()[0].text;
  EXPECT_NE(std::string::npos, Boxes()[0].text.find(App)) << Boxes()[0].text;
  EXPECT_EQ(1, Records());
  // Started as administrator, it may.
  Window(main).elevated = false;
  StartHub();
  EXPECT_TRUE(Visible(main));
  EXPECT_EQ(0, Records());
}

TEST_F(LeftHiddenTest, AnUnreadableRecordIsRemovedNotTrusted) {
  const DWORD killed = NewOmbrix();
  StartApp();
  const HWND main = Main();
  ClickIcon(SimShell::Click::kDouble);
  Kill(killed);
  HKEY hidden = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            sim.Registry().RegOpenKeyExA(HKEY_CURRENT_USER, std::string(SettingsKey) + "\\" + HiddenWindowsSubKey,
                                         KEY_ALL_ACCESS, hidden));
  for (const char* name : {"not an Ombrix", "12.x"}) {
    HKEY junk = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              sim.Registry().RegCreateKeyExA(hidden, name, KEY_ALL_ACCESS, junk, nullptr, REG_OPTION_VOLATILE));
    sim.Registry().RegCloseKey(junk);
  }
  std::string record, name;
  for (DWORD index = 0; sim.Registry().RegEnumKeyExA(hidden, index, 256, name) == ERROR_SUCCESS; ++index) {
    if (name != "not an Ombrix" && name != "12.x") record = name;  // the killed Ombrix's
  }
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, sim.Registry().RegOpenKeyExA(hidden, record, KEY_ALL_ACCESS, key));
  const std::string garbled = "0x20000 1 2";
  sim.Registry().RegSetValueExA(key, "Window2", REG_SZ, std::vector<BYTE>(garbled.begin(), garbled.end()));
  sim.Registry().RegSetValueExA(key, "Window3", REG_DWORD, {1, 0, 0, 0});
  sim.Registry().RegCloseKey(key);
  sim.Registry().RegCloseKey(hidden);
  ASSERT_EQ(3, Records());

  StartHub();
  EXPECT_TRUE(Visible(main));  // the readable line of the record
  EXPECT_EQ(0, Records());
  ASSERT_EQ(1u, Boxes().size());
}

}  // namespace
}  // namespace testing_main
}  // namespace ombrix
