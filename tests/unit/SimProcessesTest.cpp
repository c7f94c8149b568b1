// The simulated programs: what a test describes happens on the virtual clock, and every
// start is recorded. (What they share with real programs is pinned by the contract tests.)

#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"

namespace ombrix::sim {
namespace {

const char* const App = "C:\\Apps\\app.exe";

class SimProcessesTest : public ::testing::Test {
 protected:
  ProcessInformation Start(const std::string& commandLine, const StartupInfo& startup = StartupInfo{}) {
    ProcessInformation info;
    EXPECT_TRUE(platform_.Processes().CreateProcessA(commandLine, 0x30, startup, info)) << commandLine;
    return info;
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> captions;
    for (HWND window : platform_.SimWindows().ZOrder())
      captions.push_back(platform_.SimWindows().Find(window)->caption);
    return captions;
  }
  static SimProgramWindow Window(const std::string& caption, unsigned long long appearAfter = 0, int thread = 0) {
    SimProgramWindow window;
    window.caption = caption;
    window.appearAfter = appearAfter;
    window.thread = thread;
    return window;
  }

  SimPlatform platform_;
  SimProcesses& processes_ = platform_.SimProcs();
};

TEST_F(SimProcessesTest, WindowsAppearWhenTheClockReachesTheirTime) {
  SimProgram program;
  program.imeWindows = false;
  program.windows = {Window("Main"), Window("Palette", 500, 1), Window("Late", 1200)};
  processes_.DefineProgram(App, program);
  const ProcessInformation info = Start(App);

  EXPECT_EQ((std::vector<std::string>{"Main"}), Captions());
  platform_.Clock().Sleep(499);
  EXPECT_EQ((std::vector<std::string>{"Main"}), Captions());
  platform_.Clock().Sleep(1);
  EXPECT_EQ((std::vector<std::string>{"Palette", "Main"}), Captions());
  platform_.SimMessages().RunFor(700);
  EXPECT_EQ((std::vector<std::string>{"Late", "Palette", "Main"}), Captions());

  DWORD processId = 0;
  IWindowOps& windows = platform_.Windows();
  EXPECT_EQ(info.threadId, windows.GetWindowThreadProcessId(processes_.WindowOf(info.processId, 0), &processId));
  EXPECT_EQ(info.processId, processId);
  const DWORD paletteThread = windows.GetWindowThreadProcessId(processes_.WindowOf(info.processId, 1), &processId);
  EXPECT_EQ(info.processId, processId);
  EXPECT_NE(info.threadId, paletteThread);
  EXPECT_NE(info.processId, paletteThread);
  EXPECT_EQ(info.threadId, windows.GetWindowThreadProcessId(processes_.WindowOf(info.processId, 2), nullptr));
}

TEST_F(SimProcessesTest, EachWindowMakingThreadGetsAHiddenImeWindowBelowItsFirstWindow) {
  SimProgram program;
  program.windows = {Window("Main"), Window("Second"), Window("Helper", 0, 1)};
  processes_.DefineProgram(App, program);
  const ProcessInformation info = Start(App);
  EXPECT_EQ((std::vector<std::string>{"Helper", "Default IME", "Second", "Main", "Default IME"}), Captions());
  HWND mainIme = platform_.SimWindows().ZOrder()[4];
  EXPECT_EQ(info.threadId, platform_.Windows().GetWindowThreadProcessId(mainIme, nullptr));
  EXPECT_EQ(0, platform_.Windows().GetWindowLongPtrA(mainIme, GWL_STYLE) & WS_VISIBLE);
  processes_.Terminate(info.processId);
  EXPECT_TRUE(Captions().empty()) << "they go with the process";
}

TEST_F(SimProcessesTest, ChildProcessesHaveTheirOwnIdsAndWindows) {
  SimProgram child;
  child.imeWindows = false;
  child.startAfter = 100;
  child.windows = {Window("Child")};
  SimProgram program;
  program.imeWindows = false;
  program.windows = {Window("Parent")};
  program.children = {child};
  processes_.DefineProgram(App, program);
  const ProcessInformation info = Start(App);

  ASSERT_EQ(1u, processes_.Processes().size());
  platform_.Clock().Sleep(100);
  const std::vector<const SimProcess*> all = processes_.Processes();
  ASSERT_EQ(2u, all.size());
  EXPECT_EQ(info.processId, all[1]->parentId);
  EXPECT_NE(info.processId, all[1]->processId);
  EXPECT_NE(info.threadId, all[1]->threadIds[0]);
  DWORD processId = 0;
  platform_.Windows().GetWindowThreadProcessId(platform_.Windows().FindWindowA("", "Child"), &processId);
  EXPECT_EQ(all[1]->processId, processId);
  EXPECT_EQ(1u, processes_.Launches().size()) << "only the test's own starts are recorded";
}

TEST_F(SimProcessesTest, EveryStartIsRecordedWithTheFolderItRanIn) {
  SimProgram refused;
  refused.failWith = 1392;
  processes_.DefineProgram(App, SimProgram{});
  processes_.DefineProgram("C:\\Apps\\broken.exe", refused);
  ASSERT_TRUE(platform_.Files().SetCurrentDirectoryA("C:\\Apps"));

  StartupInfo startup;
  startup.flags = STARTF_USESHOWWINDOW;
  startup.showWindow = SW_SHOWMAXIMIZED;
  const ProcessInformation info = Start("C:\\Apps\\app.exe -x ", startup);
  ProcessInformation failed;
  EXPECT_FALSE(platform_.Processes().CreateProcessA("C:\\Apps\\broken.exe", 0, StartupInfo{}, failed));
  EXPECT_EQ(1392u, platform_.Processes().GetLastError());
  EXPECT_EQ(nullptr, failed.process);
  EXPECT_GT(platform_.Processes().WinExec("app", SW_SHOWMINIMIZED), 31u);

  const std::vector<SimLaunch>& launches = processes_.Launches();
  ASSERT_EQ(3u, launches.size());
  EXPECT_EQ("C:\\Apps\\app.exe -x ", launches[0].commandLine);
  EXPECT_EQ(0x30u, launches[0].creationFlags);
  EXPECT_EQ(StartupInfoSize, launches[0].startup.cb);
  EXPECT_EQ(STARTF_USESHOWWINDOW, launches[0].startup.flags);
  EXPECT_EQ(SW_SHOWMAXIMIZED, launches[0].startup.showWindow);
  EXPECT_EQ("C:\\Apps", launches[0].currentFolder);
  EXPECT_TRUE(launches[0].succeeded);
  EXPECT_EQ(info.processId, launches[0].processId);
  EXPECT_FALSE(launches[1].succeeded);
  EXPECT_EQ(1392u, launches[1].error);
  EXPECT_TRUE(launches[2].viaWinExec);
  EXPECT_EQ(SW_SHOWMINIMIZED, launches[2].startup.showWindow);
}

// The program is searched for as Windows does without an application name.
TEST_F(SimProcessesTest, TheProgramIsFoundAsWindowsSearchesForIt) {
  processes_.DefineProgram("C:\\Program Files\\Tool Box\\tool.exe", SimProgram{});
  processes_.DefineProgram("C:\\WINDOWS\\system32\\sys.exe", SimProgram{});
  platform_.SimFiles().MakeDirectories("C:\\Work");
  ASSERT_TRUE(platform_.Files().WriteFileBytes("C:\\Work\\local.exe", "MZ"));
  ASSERT_TRUE(platform_.Files().WriteFileBytes("C:\\Work\\run.bat", "@echo off"));
  ASSERT_TRUE(platform_.Files().WriteFileBytes("C:\\Work\\readme.txt", "text"));
  ASSERT_TRUE(platform_.Files().SetCurrentDirectoryA("C:\\Work"));

  struct Case {
    std::string commandLine;
    std::string module;  // empty: the start fails
    DWORD error;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Tool Box\\tool.exe /a", "C:\\Program Files\\Tool Box\\tool.exe", 0},
      {"\"C:\\Program Files\\Tool Box\\tool.exe\"/a", "C:\\Program Files\\Tool Box\\tool.exe", 0},
      {"C:\\Program Files\\Tool Box\\tool", "C:\\Program Files\\Tool Box\\tool.exe", 0},
      {"local arg", "C:\\Work\\local.exe", 0},
      {"sys.exe", "C:\\WINDOWS\\system32\\sys.exe", 0},
      {"run.bat", "C:\\Work\\run.bat", 0},
      {"readme.txt", "", static_cast<DWORD>(ERROR_BAD_EXE_FORMAT)},
      {"\"C:\\Program Files\\Tool Box\" tool.exe", "", ERROR_FILE_NOT_FOUND},
  };
  for (const Case& test : cases) {
    ProcessInformation info;
    const BOOL started = platform_.Processes().CreateProcessA(test.commandLine, 0, StartupInfo{}, info);
    EXPECT_EQ(!test.module.empty(), started != FALSE) << test.commandLine;
    if (started) {
      EXPECT_EQ(test.module, processes_.FindProcess(info.processId)->module) << test.commandLine;
    } else {
      EXPECT_EQ(test.error, platform_.Processes().GetLastError()) << test.commandLine;
    }
  }

  // "C:\Program.exe" comes first when it exists: the unquoted line is tried blank by blank.
  ASSERT_TRUE(platform_.Files().WriteFileBytes("C:\\Program.exe", "MZ"));
  const ProcessInformation info = Start("C:\\Program Files\\Tool Box\\tool.exe");
  EXPECT_EQ("C:\\Program.exe", processes_.FindProcess(info.processId)->module);
}

TEST_F(SimProcessesTest, WaitingForInputIdleTakesVirtualTime) {
  SimProgram slow;
  slow.idleAfter = 2000;
  SimProgram stuck;
  stuck.neverIdle = true;
  processes_.DefineProgram("C:\\Apps\\slow.exe", slow);
  processes_.DefineProgram("C:\\Apps\\stuck.exe", stuck);
  platform_.SimFiles().MakeDirectories("C:\\Apps");
  ASSERT_TRUE(platform_.Files().WriteFileBytes("C:\\Apps\\job.bat", "@echo off"));
  IProcesses& processes = platform_.Processes();
  SimClock& clock = platform_.SimTime();

  struct Case {
    const char* program;
    DWORD timeout;
    DWORD result;
    unsigned long long waited;
  };
  const Case cases[] = {
      {"C:\\Apps\\slow.exe", 30000, 0, 2000},
      {"C:\\Apps\\slow.exe", 500, WAIT_TIMEOUT, 500},
      {"C:\\Apps\\stuck.exe", 30000, WAIT_TIMEOUT, 30000},
      {"C:\\Apps\\job.bat", 30000, WAIT_FAILED, 0},  // a console program has no message queue
  };
  for (const Case& test : cases) {
    const ProcessInformation info = Start(test.program);
    const unsigned long long before = clock.Elapsed();
    EXPECT_EQ(test.result, processes.WaitForInputIdle(info.process, test.timeout)) << test.program;
    EXPECT_EQ(test.waited, clock.Elapsed() - before) << test.program;
  }
  EXPECT_EQ(WAIT_FAILED, processes.WaitForInputIdle(reinterpret_cast<HANDLE>(0x7777), 100));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), processes.GetLastError());
}

TEST_F(SimProcessesTest, FirstShownWindowTakesTheStartShowCommand) {
  SimProgram program;
  program.imeWindows = false;
  SimProgramWindow hidden = Window("Hidden helper");
  hidden.visible = false;
  program.windows = {hidden, Window("Main", 10), Window("Tool", 20)};
  processes_.DefineProgram(App, program);

  struct Case {
    DWORD flags;
    WORD show;
    UINT mainShowCmd;
    bool mainVisible;
  };
  const Case cases[] = {{STARTF_USESHOWWINDOW, SW_SHOWMINIMIZED, SW_SHOWMINIMIZED, true},
                        {STARTF_USESHOWWINDOW, SW_SHOWMAXIMIZED, SW_SHOWMAXIMIZED, true},
                        {STARTF_USESHOWWINDOW, SW_HIDE, SW_SHOWNORMAL, false},
                        {0, SW_SHOWMINIMIZED, SW_SHOWNORMAL, true}};
  for (const Case& test : cases) {
    StartupInfo startup;
    startup.flags = test.flags;
    startup.showWindow = test.show;
    const ProcessInformation info = Start(App, startup);
    platform_.Clock().Sleep(20);
    WindowPlacementInfo placement;
    HWND main = processes_.WindowOf(info.processId, 1);
    ASSERT_TRUE(platform_.Windows().GetWindowPlacement(main, placement));
    EXPECT_EQ(test.mainShowCmd, placement.showCmd) << "show " << test.show;
    EXPECT_EQ(test.mainVisible, platform_.SimWindows().Find(main)->visible) << "show " << test.show;
    ASSERT_TRUE(platform_.Windows().GetWindowPlacement(processes_.WindowOf(info.processId, 2), placement));
    EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), placement.showCmd) << "only the first shown window";
    EXPECT_FALSE(platform_.SimWindows().Find(processes_.WindowOf(info.processId, 0))->visible);
    processes_.Terminate(info.processId);
  }
}

TEST_F(SimProcessesTest, ProgramsRenameCloseAndEndOnTheirOwn) {
  SimProgram program;
  program.imeWindows = false;
  SimProgramWindow main = Window("Loading...");
  main.renameAfter = 300;
  main.renamedCaption = "Document - Editor";
  SimProgramWindow splash = Window("Splash");
  splash.closeAfter = 200;
  SimProgramWindow stubborn = Window("Stubborn");
  stubborn.refusesClose = true;
  program.windows = {main, splash, stubborn};
  program.exitAfter = 1000;
  processes_.DefineProgram(App, program);
  const ProcessInformation info = Start(App);
  IWindowOps& windows = platform_.Windows();
  HWND mainWindow = processes_.WindowOf(info.processId, 0);
  HWND stubbornWindow = processes_.WindowOf(info.processId, 2);

  platform_.SimWindows().DeliverMessage(stubbornWindow, WM_CLOSE, 0, 0);
  EXPECT_TRUE(windows.IsWindow(stubbornWindow));
  platform_.Clock().Sleep(200);
  EXPECT_EQ((std::vector<std::string>{"Stubborn", "Loading..."}), Captions());
  platform_.Clock().Sleep(100);
  EXPECT_EQ("Document - Editor", windows.GetWindowTextA(mainWindow, 512));
  platform_.Clock().Sleep(700);
  EXPECT_FALSE(windows.IsWindow(mainWindow));
  EXPECT_FALSE(windows.IsWindow(stubbornWindow));
  EXPECT_TRUE(processes_.FindProcess(info.processId)->exited);
  EXPECT_EQ(0u, processes_.WaitForInputIdle(info.process, 100)) << "a program that has ended waits for nothing";
}

TEST_F(SimProcessesTest, WindowLongsReportTheWindowAndItsState) {
  SimWindow described;
  described.caption = "Dialog";
  described.owner = 0x30040;
  described.id = 7;
  described.userData = 0x1234;
  described.windowProc = 0x401500;
  HWND window = platform_.SimWindows().CreateTopWindow(described);
  IWindowOps& windows = platform_.Windows();
  struct Case {
    int index;
    LONG_PTR value;
  };
  const Case cases[] = {{GWLP_HINSTANCE, DefaultImageBase},
                        {GWLP_HWNDPARENT, 0x30040},
                        {GWLP_WNDPROC, 0x401500},
                        {GWLP_ID, 7},
                        {GWLP_USERDATA, 0x1234},
                        {GWL_EXSTYLE, WS_EX_WINDOWEDGE},
                        {GWL_STYLE, WS_OVERLAPPEDWINDOW | WS_VISIBLE}};
  for (const Case& test : cases) EXPECT_EQ(test.value, windows.GetWindowLongPtrA(window, test.index)) << test.index;

  windows.ShowWindow(window, SW_MAXIMIZE);
  EXPECT_EQ(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MAXIMIZE, windows.GetWindowLongPtrA(window, GWL_STYLE));
  windows.ShowWindow(window, SW_MINIMIZE);
  windows.ShowWindow(window, SW_HIDE);
  EXPECT_EQ(WS_OVERLAPPEDWINDOW | WS_MINIMIZE, windows.GetWindowLongPtrA(window, GWL_STYLE));
  platform_.SimWindows().DestroyWindow(window);
  EXPECT_EQ(0, windows.GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

TEST_F(SimProcessesTest, UpperCaseFollowsCodePage1252) {
  EXPECT_EQ("CAF\xC9 \xC0\xDE \x9F\x8A\x8C\x8E \xDF\xB5\xF7 [Z]",
            platform_.Windows().CharUpperBuffA("caf\xE9 \xE0\xFE \xFF\x9A\x9C\x9E \xDF\xB5\xF7 [z]"));
}

}  // namespace
}  // namespace ombrix::sim
