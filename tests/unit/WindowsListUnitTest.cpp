// The window list and the search for the target's windows, by process and by name, over a
// simulated desktop where programs open their windows on the virtual clock.

#include <gtest/gtest.h>

#include <climits>

#include "platform/sim/SimPlatform.h"
#include "runtime/Launch.h"
#include "runtime/WindowsListUnit.h"

namespace ombrix {
namespace {

using sim::SimProgram;
using sim::SimProgramWindow;

std::string Decimal(unsigned long long value) { return std::to_string(value); }
std::string Decimal(HWND window) { return Decimal(reinterpret_cast<ULONG_PTR>(window)); }

class WindowsListTest : public ::testing::Test {
 protected:
  // Launches a program that behaves as described, as the target.
  void StartTarget(const SimProgram& program) {
    sim_.SimProcs().DefineProgram("C:\\Apps\\target.exe", program);
    state_.TargetFile = "C:\\Apps\\target.exe";
    state_.Settings.ShowState = 1;
    ASSERT_TRUE(LaunchTarget(sim_, state_));
  }
  static SimProgramWindow Window(const std::string& caption, unsigned long long appearAfter = 0, int thread = 0) {
    SimProgramWindow window;
    window.caption = caption;
    window.appearAfter = appearAfter;
    window.thread = thread;
    return window;
  }
  static SimProgram Program(const std::vector<SimProgramWindow>& windows) {
    SimProgram program;
    program.windows = windows;
    return program;
  }
  // A window of some other program, on top of the others.
  HWND Foreign(const std::string& caption) {
    sim::SimWindow window;
    window.caption = caption;
    window.processId = 7000;
    window.threadId = 7004;
    return sim_.SimWindows().CreateTopWindow(window);
  }
  HWND TargetWindow(size_t index) { return sim_.SimProcs().WindowOf(state_.ProcessInfo.processId, index); }
  std::vector<std::string> SlotCaptions() {
    std::vector<std::string> captions;
    for (int slot = 1; slot <= state_.WindowCount; ++slot) {
      captions.push_back(sim_.Windows().GetWindowTextA(state_.WindowHandles.Get(slot), 512));
    }
    return captions;
  }
  bool Find() { return FindTargetWindows(sim_, state_, list_); }
  std::vector<std::string> BoxTexts() {
    std::vector<std::string> texts;
    for (const sim::ShownMessageBox& box : sim_.SimBoxes().Boxes()) texts.push_back(box.text);
    return texts;
  }

  sim::SimPlatform sim_;
  TargetState state_;
  TWindowsList list_{sim_.Windows()};
};

TEST_F(WindowsListTest, ListsNamedWindowsTopmostFirstWithWhatIsReadOfThem) {
  sim::SimWindow bottom;
  bottom.caption = "Bottom";
  bottom.instance = 0x10000000;
  bottom.owner = 0x5000;
  bottom.windowProc = 0x401000;
  bottom.id = 3;
  bottom.userData = 9;
  HWND bottomWindow = sim_.SimWindows().CreateTopWindow(bottom);
  HWND unnamed = sim_.SimWindows().CreateTopWindow(sim::SimWindow{});
  HWND duplicate1 = Foreign("Same");
  HWND duplicate2 = Foreign("Same");

  list_.RefreshWindowList();
  ASSERT_EQ(3, list_.Count());
  EXPECT_EQ("Same", list_.TheWindowsList[0].Name);
  EXPECT_EQ(duplicate2, list_.HandleAt(0));
  EXPECT_EQ(duplicate1, list_.HandleAt(1));
  EXPECT_EQ(bottomWindow, list_.HandleAt(2));
  const TWindowInfo& info = list_.TheWindowsList[2].Info;
  EXPECT_EQ(0x10000000, info.Instance);
  EXPECT_EQ(0x5000, info.Parent);
  EXPECT_EQ(0x401000, info.WindowProc);
  EXPECT_EQ(3, info.Id);
  EXPECT_EQ(9, info.UserData);
  EXPECT_EQ(nullptr, list_.HandleAt(-1));
  EXPECT_EQ(nullptr, list_.HandleAt(3));

  list_.AcceptEmptyNames = true;
  list_.RefreshWindowList();
  ASSERT_EQ(4, list_.Count()) << "each refresh starts from an empty list";
  EXPECT_EQ(unnamed, list_.HandleAt(2));
  EXPECT_EQ("", list_.TheWindowsList[2].Name);
}

TEST_F(WindowsListTest, WindowNamesAreReadUpTo254Characters) {
  Foreign(std::string(300, 'n'));
  list_.RefreshWindowList();
  ASSERT_EQ(1, list_.Count());
  EXPECT_EQ(std::string(254, 'n'), list_.TheWindowsList[0].Name);
}

TEST_F(WindowsListTest, ByProcessTakesOneMoreWindowThanConfiguredTopmostFirst) {
  StartTarget(Program({Window("Main"), Window("Tool")}));
  Foreign("Other program");
  state_.Settings.MinimizeType = true;
  state_.Settings.NbWindows = "1";
  state_.MainWindowIndex = 1;
  EXPECT_TRUE(Find());
  EXPECT_EQ((std::vector<std::string>{"Tool", "Main"}), SlotCaptions());
  EXPECT_EQ(TargetWindow(1), state_.WindowHandles.Get(1));
  EXPECT_EQ("Tool", state_.CurrentCaption);
  EXPECT_EQ(-2, state_.LaunchError);
}

TEST_F(WindowsListTest, ByProcessHelperWindowsNeverTakeASlot) {
  const char* const helpers[] = {"OleMainThreadWndName", "olemainthreadwndname", "DDE Server Window",
                                 "dde server WINDOW",    "DDE Client Window",    "OleRpcNotify0x00000a4c",
                                 "x oLErPCnOTIFY y",     "Default IME",          "MSCTFIME UI"};
  state_.Settings.MinimizeType = true;
  state_.Settings.NbWindows = "0";  // room for one window only
  state_.MainWindowIndex = 1;
  for (const char* helper : helpers) {
    StartTarget(Program({Window("Real"), Window(helper)}));
    EXPECT_TRUE(Find()) << helper;
    EXPECT_EQ((std::vector<std::string>{"Real"}), SlotCaptions()) << helper;
    sim_.SimProcs().Terminate(state_.ProcessInfo.processId);
  }
  // Only these names: one that merely starts like them is the program's own.
  StartTarget(Program({Window("Real"), Window("DDE Server Window 2")}));
  EXPECT_TRUE(Find());
  EXPECT_EQ((std::vector<std::string>{"DDE Server Window 2"}), SlotCaptions());
}

TEST_F(WindowsListTest, ByProcessTakesEveryThreadButNotProgramsStartedInTurn) {
  SimProgram child = Program({Window("Child")});
  SimProgram program = Program({Window("Main"), Window("Palette", 0, 1)});
  program.children = {child};
  StartTarget(program);
  ASSERT_NE(nullptr, sim_.Windows().FindWindowA("", "Child"));
  state_.Settings.MinimizeType = true;
  state_.Settings.NbWindows = "10";
  state_.MainWindowIndex = 2;
  EXPECT_TRUE(Find());
  EXPECT_EQ((std::vector<std::string>{"Palette", "Main"}), SlotCaptions());
  EXPECT_EQ("Main", state_.CurrentCaption);
}

TEST_F(WindowsListTest, ByProcessStopsAtTheConfiguredCountAndAtOneHundred) {
  std::vector<SimProgramWindow> windows;
  for (int i = 1; i <= 120; ++i) windows.push_back(Window("W" + std::to_string(i)));
  SimProgram program = Program(windows);
  program.imeWindows = false;
  StartTarget(program);
  state_.Settings.MinimizeType = true;
  state_.MainWindowIndex = 1;
  struct Case {
    const char* nbWindows;  // as stored: only its digits count
    std::int32_t taken;
  };
  const Case cases[] = {{"0", 1},     {"3", 4},      {"98", 99},          {"99", 100},
                        {"100", 100}, {"5000", 100}, {"2147483647", 100}, {"99999999999", 100},
                        {"-1", 2},    {"none", 1}};
  for (const Case& test : cases) {
    state_.Settings.NbWindows = test.nbWindows;
    EXPECT_EQ(test.taken > 0, Find()) << test.nbWindows;
    EXPECT_EQ(test.taken, state_.WindowCount) << test.nbWindows;
  }
  state_.Settings.NbWindows = "500";
  Find();
  EXPECT_EQ("W120", sim_.Windows().GetWindowTextA(state_.WindowHandles.Get(1), 512));
  EXPECT_EQ("W21", sim_.Windows().GetWindowTextA(state_.WindowHandles.Get(100), 512));
}

// A stored main-window number that no window reaches, or that names no slot, leaves the
// caption empty and never touches memory outside the slots.
TEST_F(WindowsListTest, ByProcessMainWindowIndexOutsideTheWindowsFound) {
  StartTarget(Program({Window("Main"), Window("Tool")}));
  state_.Settings.MinimizeType = true;
  state_.Settings.NbWindows = "5";
  HWND stale = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0xDEAD0));
  struct Case {
    std::int32_t mainWindowIndex;
    const char* caption;
  };
  const Case cases[] = {{1, "Tool"}, {2, "Main"},   {3, ""},  {100, ""},    {0, ""},
                        {101, ""},   {INT_MAX, ""}, {-5, ""}, {INT_MIN, ""}};
  for (const Case& test : cases) {
    state_.CurrentCaption = "old caption";
    state_.WindowHandles.Set(test.mainWindowIndex, stale);
    state_.MainWindowIndex = test.mainWindowIndex;
    EXPECT_TRUE(Find());
    EXPECT_EQ(test.caption, state_.CurrentCaption) << test.mainWindowIndex;
    EXPECT_EQ(2, state_.WindowCount);
    EXPECT_EQ(test.mainWindowIndex, state_.MainWindowIndex) << "by process the setting stays";
    if (test.mainWindowIndex > 2) {
      EXPECT_EQ(nullptr, state_.WindowHandles.Get(test.mainWindowIndex)) << "the main slot starts empty";
    }
  }
}

TEST_F(WindowsListTest, ByNameExactOrContainedWithOrWithoutTheProcess) {
  StartTarget(Program({Window("Untitled - Notepad"), Window("CAF\xC9"), Window("OLEMAINTHREADWNDNAME"),
                       Window("Second Notepad", 0, 1)}));
  Foreign("NOTEPAD");
  Foreign("Notepad Help");
  state_.Settings.MinimizeType = false;
  state_.Settings.NbWindows = "10";
  struct Case {
    const char* caption;
    bool partial;
    bool usePid;
    std::vector<std::string> taken;
  };
  const Case cases[] = {
      {"notepad", true, false, {"Notepad Help", "NOTEPAD", "Second Notepad", "Untitled - Notepad"}},
      {"notepad", true, true, {"Second Notepad", "Untitled - Notepad"}},
      {"notepad", false, false, {"NOTEPAD"}},
      {"notepad", false, true, {}},
      {"", true, false, {}},
      {"", false, false, {}},
      {"caf\xE9", false, true, {"CAF\xC9"}},
      {"OleMainThreadWndName", false, true, {"OLEMAINTHREADWNDNAME"}},  // no helper names by name
  };
  for (const Case& test : cases) {
    state_.Settings.WindowCaption = test.caption;
    state_.Settings.DoPartialSearch = test.partial;
    state_.Settings.UsePID = test.usePid;
    state_.MainWindowIndex = 1;
    state_.CurrentCaption.clear();
    EXPECT_EQ(!test.taken.empty(), Find()) << test.caption;
    EXPECT_EQ(test.taken, SlotCaptions()) << test.caption << (test.partial ? " contained" : " exact");
    if (test.taken.empty()) continue;
    // Every match becomes the main window in turn; the last keeps the role.
    EXPECT_EQ(static_cast<std::int32_t>(test.taken.size()), state_.MainWindowIndex) << test.caption;
    EXPECT_EQ(test.taken.back(), state_.CurrentCaption) << test.caption;
  }

  state_.Settings.WindowCaption = "notepad";
  state_.Settings.DoPartialSearch = true;
  state_.Settings.UsePID = false;
  state_.Settings.NbWindows = "1";
  EXPECT_TRUE(Find());
  EXPECT_EQ((std::vector<std::string>{"Notepad Help", "NOTEPAD"}), SlotCaptions());
  EXPECT_EQ(2, state_.MainWindowIndex);
}

TEST_F(WindowsListTest, AttemptsLastSecsToWaitWithPausesOf300Milliseconds) {
  StartTarget(Program({}));
  state_.Settings.MinimizeType = true;
  state_.Settings.NbWindows = "1";
  struct Case {
    const char* secsToWait;
    unsigned long long waited;  // pauses between the attempts
  };
  const Case cases[] = {{"0", 0}, {"none", 0}, {"1", 600}, {"3", 2700}};
  for (const Case& test : cases) {
    const unsigned long long before = sim_.SimTime().Elapsed();
    state_.Settings.SecsToWait = test.secsToWait;
    EXPECT_FALSE(Find());
    EXPECT_EQ(test.waited, sim_.SimTime().Elapsed() - before) << test.secsToWait;
    EXPECT_EQ(-2, state_.LaunchError);
  }
  EXPECT_EQ(0, sim_.SimMessages().ProcessMessagesCalls()) << "the pauses process no messages";
}

TEST_F(WindowsListTest, WindowsOpeningLaterAreFoundByALaterAttempt) {
  struct Case {
    std::int32_t secsToWait;
    unsigned long long appearAfter;
    bool found;
    unsigned long long waited;
  };
  const Case cases[] = {
      {3, 1000, true, 1200},
      {3, 2700, true, 2700},
      {3, 2701, false, 2700},     // after the last attempt
      {3000000, 600, true, 600},  // a long wait whose milliseconds pass the 32-bit range
  };
  state_.Settings.MinimizeType = true;
  state_.Settings.NbWindows = "1";
  state_.MainWindowIndex = 1;
  for (const Case& test : cases) {
    StartTarget(Program({Window("Late", test.appearAfter)}));
    const unsigned long long before = sim_.SimTime().Elapsed();
    state_.Settings.SecsToWait = std::to_string(test.secsToWait);
    EXPECT_EQ(test.found, Find()) << test.appearAfter;
    EXPECT_EQ(test.waited, sim_.SimTime().Elapsed() - before) << test.appearAfter;
    EXPECT_EQ(test.found ? "Late" : "", state_.CurrentCaption);
    sim_.SimProcs().Terminate(state_.ProcessInfo.processId);
  }
}

TEST_F(WindowsListTest, TestModeReportsEveryWindowTakenByProcess) {
  StartTarget(Program({Window("Main"), Window("Tool", 0, 1)}));
  Foreign("Other program");
  state_.Settings.MinimizeType = true;
  state_.Settings.NbWindows = "5";
  state_.MainWindowIndex = 1;
  state_.Settings.DebugMode = true;
  ASSERT_TRUE(Find());

  const std::string app = "\r\n\r\nApp PID = " + Decimal(state_.ProcessInfo.processId) +
                          "\r\nApp TID = " + Decimal(state_.ProcessInfo.threadId);
  HWND tool = TargetWindow(1);
  HWND main = TargetWindow(0);
  const std::string pid = Decimal(state_.ProcessInfo.processId);
  const std::string toolThread = Decimal(sim_.Windows().GetWindowThreadProcessId(tool, nullptr));
  const std::vector<std::string> expected = {
      "WINDOW #1\r\n\r\n< Tool >\r\nPID = " + pid + "\r\nTID = " + toolThread + "\r\nHnd = " + Decimal(tool) + app,
      "WINDOW #1\r\n\r\nThis is the main window you configured.\r\n\r\nHandle = " + Decimal(tool) + "\r\nApp PID = " +
          pid + "\r\nApp TID = " + Decimal(state_.ProcessInfo.threadId) + "\r\nWindow Name = Tool\r\n",
      "WINDOW #2\r\n\r\n< Main >\r\nPID = " + pid + "\r\nTID = " + Decimal(state_.ProcessInfo.threadId) +
          "\r\nHnd = " + Decimal(main) + app,
      "End of detected windows."};
  EXPECT_EQ(expected, BoxTexts());
  for (const sim::ShownMessageBox& box : sim_.SimBoxes().Boxes()) {
    EXPECT_EQ("Vorel Ombrix", box.caption);
    EXPECT_EQ(MB_OK | MB_SETFOREGROUND, box.type);
    EXPECT_EQ(sim_.Windows().GetDesktopWindow(), box.owner);
  }
}

TEST_F(WindowsListTest, TestModeReportsEveryMatchByNameAsTheMainWindow) {
  StartTarget(Program({Window("Editor - a.txt"), Window("Editor - b.txt")}));
  state_.Settings.MinimizeType = false;
  state_.Settings.NbWindows = "5";
  state_.Settings.WindowCaption = "EDITOR";
  state_.Settings.DoPartialSearch = true;
  state_.Settings.DebugMode = true;
  ASSERT_TRUE(Find());
  const std::vector<std::string> texts = BoxTexts();
  ASSERT_EQ(5u, texts.size());
  EXPECT_EQ(0u, texts[0].find("WINDOW #1\r\n\r\n< Editor - b.txt >\r\n"));
  EXPECT_EQ(0u, texts[1].find("WINDOW #1\r\n\r\nThis is the main window you configured."));
  EXPECT_NE(std::string::npos, texts[1].find("\r\nWindow Name = Editor - b.txt\r\n"));
  EXPECT_EQ(0u, texts[2].find("WINDOW #2\r\n\r\n< Editor - a.txt >\r\n"));
  EXPECT_EQ(0u, texts[3].find("WINDOW #2\r\n\r\nThis is the main window you configured."));
  EXPECT_EQ("End of detected windows.", texts[4]);
}

TEST_F(WindowsListTest, NothingFoundInTestModeStillEndsWithTheClosingReport) {
  StartTarget(Program({}));
  state_.Settings.MinimizeType = true;
  state_.Settings.DebugMode = true;
  EXPECT_FALSE(Find());
  EXPECT_EQ((std::vector<std::string>{"End of detected windows."}), BoxTexts());
}

}  // namespace
}  // namespace ombrix
