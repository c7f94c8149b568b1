// Programs that hand their window over: a launcher that starts the real program and ends, a
// single-instance program that passes its command to the copy already running. By process,
// with the default settings, Ombrix takes the window the user sees, and says where it came
// from in test mode and in Program information.

#include "tests/unit/OmbrixMainTest.h"

namespace ombrix {
namespace testing_main {
namespace {

using sim::SimFormUser;
using sim::SimProgram;
using sim::SimProgramWindow;

SimProgramWindow WindowAt(const std::string& caption, unsigned long long appearAfter) {
  SimProgramWindow window;
  window.caption = caption;
  window.appearAfter = appearAfter;
  return window;
}

// A program that opens no window and ends after 100 ms, having started `children`.
SimProgram Stub(std::vector<SimProgram> children = {}) {
  SimProgram stub;
  stub.exitAfter = 100;
  stub.children = std::move(children);
  return stub;
}

SimProgram Child(const std::string& module, std::vector<SimProgramWindow> windows, unsigned long long startAfter = 50) {
  SimProgram child;
  child.module = module;
  child.windows = std::move(windows);
  child.startAfter = startAfter;
  return child;
}

class HandOverTest : public OmbrixMainTest {
 protected:
  // Starts a copy of `path` now, as the user did before Ombrix.
  DWORD Running(const std::string& path, const std::string& arguments) {
    ProcessInformation info;
    EXPECT_TRUE(sim.Processes().CreateProcessA(path + " " + arguments, 0, StartupInfo{}, info));
    return info.processId;
  }
  // The window of a running process with this caption, or nullptr.
  HWND WindowNamed(const std::string& caption) { return sim.Windows().FindWindowA("", caption); }
};

TEST_F(HandOverTest, TheWindowOfTheProgramTheStartedOneHandsOverToIsTaken) {
  struct Case {
    const char* name;
    std::string started;  // the program Ombrix starts
    SimProgram program;
    std::function<void()> before;  // what runs before Ombrix starts
    std::string taken;             // the caption of the main window taken; empty: none
    TWindowOrigin origin;
    std::string fromFile;  // the program file of the window taken
  };
  const std::string stub = "C:\\Tools\\stub.exe";
  const std::string real = "C:\\Tools\\Real\\real.exe";
  SimProgram own = Program({"Own"});
  own.children.push_back(Child(real, {WindowAt("Child of own", 0)}, 0));
  SimProgram middle = Child("C:\\Tools\\middle.exe", {});
  middle.exitAfter = 100;
  middle.children.push_back(Child(real, {WindowAt("Grandchild", 300)}));
  SimProgramWindow palette = WindowAt("Palette", 200);
  palette.exStyle = WS_EX_TOOLWINDOW;
  SimProgramWindow hidden = WindowAt("Helper", 200);
  hidden.visible = false;
  hidden.sized = false;  // made never to be seen
  const auto single = [](const std::string& commandLine) {
    // Started with -instance it is the copy the user runs; otherwise it passes its command
    // on (the running copy opens "Single new" 1.5 s after its own start) and ends.
    if (commandLine.find("-instance") == std::string::npos) return Stub();
    SimProgram instance;
    instance.imeWindows = false;
    instance.windows = {WindowAt("Single old", 0), WindowAt("Single new", 1500)};
    return instance;
  };
  const Case cases[] = {
      {"launcher", stub, Stub({Child(real, {WindowAt("Real", 200)})}), {}, "Real", TWindowOrigin::kDescendant, real},
      {"grandchild", stub, Stub({middle}), {}, "Grandchild", TWindowOrigin::kDescendant, real},
      {"own window first", "C:\\Tools\\own.exe", own, {}, "Own", TWindowOrigin::kStarted, "C:\\Tools\\own.exe"},
      {"no main-looking window", stub, Stub({Child(real, {palette, hidden})}), {}, "", TWindowOrigin::kStarted, ""},
      {"running copy",
       "C:\\Tools\\single.exe",
       {},
       [&] {
         sim.SimProcs().DefineProgram("C:\\Tools\\single.exe", single);
         Running("C:\\Tools\\single.exe", "-instance");
       },
       "Single new",
       TWindowOrigin::kHandedOver,
       "C:\\Tools\\single.exe"},
      // Same name, another folder: another program, never the target.
      {"same name elsewhere", "C:\\Tools\\same.exe", Stub(),
       [&] {
         sim.SimProcs().DefineProgram("C:\\Tools\\same.exe", Stub());
         SimProgram other;
         other.windows = {WindowAt("Elsewhere", 1000)};
         sim.SimProcs().DefineProgram("C:\\Other\\same.exe", other);
         Running("C:\\Other\\same.exe", "");
       },
       "", TWindowOrigin::kStarted, ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    if (test.before) {
      test.before();
    } else {
      sim.SimProcs().DefineProgram(test.started, test.program);
    }
    sim.SimBoxes().ClearLog();
    if (test.taken.empty()) sim.SimBoxes().AnswerNextBox(IDCANCEL);
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    closedCount = 0;
    form->OnClosed = [this] { ++closedCount; };
    const bool started = Start(test.started);
    if (test.taken.empty()) {
      EXPECT_FALSE(started);
      ASSERT_EQ(1u, Boxes().size());
      EXPECT_EQ("Confirmation", Boxes()[0].caption);
      EXPECT_EQ(0, form->Target().WindowCount());
      continue;
    }
    ASSERT_TRUE(started);
    EXPECT_EQ(test.taken, form->Target().Caption());
    EXPECT_EQ(1, form->Target().WindowCount()) << "the other windows are no part of the target";
    EXPECT_EQ(WindowNamed(test.taken), Main());
    EXPECT_EQ(test.origin, form->Target().WindowOrigin());
    DWORD owner = 0;
    sim.Windows().GetWindowThreadProcessId(Main(), &owner);
    EXPECT_EQ(owner, form->Target().WindowProcessId());
    EXPECT_EQ(test.fromFile, sim.Processes().QueryFullProcessImageNameA(owner));

    // Hidden by a double click and on minimize, though the started program may be gone.
    ClickIcon(sim::SimShell::Click::kDouble);
    EXPECT_FALSE(Visible(Main()));
    ClickIcon(sim::SimShell::Click::kDouble);
    EXPECT_TRUE(Visible(Main()));
    sim.Windows().ShowWindow(Main(), SW_SHOWMINIMIZED);
    sim.SimMessages().RunFor(600);
    EXPECT_FALSE(Visible(Main()));
    EXPECT_EQ(0, closedCount) << "the end of the started program is not the target's";
    ClickIcon(sim::SimShell::Click::kDouble);
  }
}

// Started hidden, a program whose window Ombrix does not find at once must not run unseen:
// a launcher that passes its hidden start on has its program's window taken all the same,
// and a window that comes only after the search was given up is shown minimized, as a
// minimized start would have shown it.
TEST_F(HandOverTest, AHiddenStartLeavesNoProgramUnseen) {
  const std::string real = "C:\\Tools\\Real\\real.exe";
  struct Case {
    const char* name;
    SimProgram program;
    bool taken;  // the window is found and goes to the tray; otherwise the search is given up
  };
  SimProgram passing = Stub({Child(real, {WindowAt("Real", 200)})});
  passing.passesStartupOn = true;
  SimProgram passingLate = Stub({Child(real, {WindowAt("Real", 8000)})});
  passingLate.passesStartupOn = true;
  passingLate.exitAfter.reset();
  const Case cases[] = {
      {"a launcher that passes it on", passing, true},
      {"a window after the search", Program({}), false},
      {"a launcher passing it on, its program's window after the search", passingLate, false},
  };
  sim.SimProcs().SetOwnStartupInfo(StartupInfo{StartupInfoSize, 0, 0});  // no show command: minimized
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    SimProgram program = test.program;
    if (program.windows.empty() && program.children.empty()) program.windows = {WindowAt("Real", 8000)};
    sim.SimProcs().DefineProgram(App, program);
    sim.SimBoxes().ClearLog();
    if (!test.taken) sim.SimBoxes().AnswerNextBox(IDCANCEL);
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    const size_t launch = sim.SimProcs().Launches().size();
    ASSERT_EQ(test.taken, Start(App));
    ASSERT_EQ(static_cast<WORD>(SW_HIDE), sim.SimProcs().Launches().at(launch).startup.showWindow);
    const HWND window = WindowNamed("Real");
    ASSERT_NE(nullptr, window);
    if (test.taken) {
      EXPECT_EQ(window, Main());
      EXPECT_FALSE(Visible(window));
      EXPECT_TRUE(form->Visibility().Hidden(1));
      ClickIcon(sim::SimShell::Click::kDouble);
      EXPECT_TRUE(Visible(window));
      EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), Window(window).showCmd);
    } else {
      EXPECT_EQ(1u, Boxes().size());
      EXPECT_TRUE(Visible(window)) << "left unseen with no icon";
      EXPECT_EQ(static_cast<UINT>(SW_SHOWMINIMIZED), Window(window).showCmd);
      EXPECT_EQ(nullptr, Icon());
    }
    DWORD owner = 0;
    sim.Windows().GetWindowThreadProcessId(window, &owner);
    sim.SimProcs().Terminate(owner);
    sim.SimProcs().Terminate(TargetProcess());
  }
}

// A launcher may pass its hidden start on to a program it starts as administrator. Windows
// lets the program take its start command but lets Ombrix neither show nor hide its window:
// Ombrix says so at once, and a click on the icon asks for the window and says why it
// cannot come, rather than doing nothing.
TEST_F(HandOverTest, AHiddenStartPassedOnToAProgramAboveOmbrixsRightsIsSaidPlainly) {
  const std::string real = "C:\\Tools\\Real\\real.exe";
  SimProgram child = Child(real, {WindowAt("Real", 200)});
  child.elevated = true;
  SimProgram launcher = Stub({child});
  launcher.passesStartupOn = true;
  sim.SimProcs().SetOwnStartupInfo(StartupInfo{StartupInfoSize, 0, 0});  // no show command: minimized
  sim.SimProcs().DefineProgram(App, launcher);
  form = std::make_unique<TVorel_Ombrix>(sim, host);
  ASSERT_TRUE(Start(App));
  const HWND window = WindowNamed("Real");
  ASSERT_EQ(window, Main());
  EXPECT_FALSE(Visible(window));
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_NE(std::string::npos, Boxes()[0].text.find("Started hidden, it stays hidden until it ends."))
      << Boxes()[0].text;
  EXPECT_TRUE(form->Visibility().Hidden(1));
  ClickIcon(sim::SimShell::Click::kDouble);
  ASSERT_EQ(2u, Boxes().size());
  EXPECT_EQ(0u, Boxes()[1].text.find("Windows did not let Ombrix show")) << Boxes()[1].text;
}

TEST_F(HandOverTest, TestModeAndProgramInformationSayWhereTheWindowCameFrom) {
  const std::string real = "C:\\Tools\\Real\\real.exe";
  sim.SimProcs().DefineProgram(App, Stub({Child(real, {WindowAt("Real", 200)})}));
  TAppSettings settings = Settings();
  settings.DebugMode = true;
  Store(settings);
  ASSERT_TRUE(Start(App));
  DWORD owner = 0;
  const DWORD thread = sim.Windows().GetWindowThreadProcessId(Main(), &owner);
  ASSERT_EQ(3u, Boxes().size());
  EXPECT_EQ("WINDOW #1\r\n\r\n< Real >\r\nPID = " + std::to_string(owner) + "\r\nTID = " + std::to_string(thread) +
                "\r\nHnd = " + std::to_string(reinterpret_cast<ULONG_PTR>(Main())) + "\r\n\r\nApp PID = " +
                std::to_string(TargetProcess()) + "\r\nApp TID = " + std::to_string(form->Target().Process().threadId) +
                "\r\n\r\nTaken from a program the started one started:\r\n" + real,
            Boxes()[0].text);

  std::vector<std::string> shown;
  host.OnNextShow([&](SimFormUser& user) {
    for (const char* name : {"valuePID", "valueWindowPID", "valueWindowFile"}) shown.push_back(user.TextOf(name));
    user.Escape();
  });
  ChooseFromTray("Program &information");
  const std::vector<std::string> expected = {std::to_string(TargetProcess()), std::to_string(owner), real};
  EXPECT_EQ(expected, shown);
}

}  // namespace
}  // namespace testing_main
}  // namespace ombrix
