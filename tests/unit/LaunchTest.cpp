// Starting the target: the command line, its folder, the show state it is started with,
// and the words for each result code.

#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "platform/sim/SimPlatform.h"
#include "runtime/Launch.h"

namespace ombrix {
namespace {

class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim_.SimFiles().MakeDirectories("C:\\Work");
    ASSERT_TRUE(sim_.Files().SetCurrentDirectoryA("C:\\Work"));
  }
  const sim::SimLaunch& LastLaunch() { return sim_.SimProcs().Launches().back(); }

  sim::SimPlatform sim_;
  TargetState state_;
};

TEST_F(LaunchTest, ShowStateDecidesHowTheTargetStarts) {
  sim_.SimProcs().DefineProgram("C:\\Tools\\app.exe", sim::SimProgram{});
  struct Case {
    std::int32_t showState;
    DWORD ownFlags;  // how Ombrix itself was started
    WORD ownShow;
    bool canHide;  // the icon is there, so a window going to the tray can start hidden
    WORD expected;
  };
  const Case cases[] = {
      {0, STARTF_USESHOWWINDOW, SW_SHOWMAXIMIZED, true, SW_SHOWMAXIMIZED},  // a shortcut set to run maximized
      {0, STARTF_USESHOWWINDOW, SW_SHOWNORMAL, true, SW_SHOWNORMAL},
      {0, STARTF_USESHOWWINDOW, SW_SHOWMINNOACTIVE, false, SW_SHOWMINNOACTIVE},
      {0, STARTF_USESHOWWINDOW, SW_SHOWMINNOACTIVE, true, SW_HIDE},  // a shortcut set to run minimized
      {0, 0, SW_SHOWMAXIMIZED, false, SW_SHOWMINIMIZED},             // no show state given: the field does not count
      {0, 0, SW_SHOWMAXIMIZED, true, SW_HIDE},
      {1, STARTF_USESHOWWINDOW, SW_SHOWMAXIMIZED, true, SW_SHOWNORMAL},
      // Minimized (hidden): a minimized window goes to the tray at once, so once the icon is
      // there the target starts hidden and is never seen on its way; the user should not see
      // it flash. Without the icon it starts minimized, not hidden, as it did before.
      {2, STARTF_USESHOWWINDOW, SW_SHOWMAXIMIZED, true, SW_HIDE},
      {2, STARTF_USESHOWWINDOW, SW_SHOWMAXIMIZED, false, SW_SHOWMINIMIZED},
      {3, 0, 0, true, SW_SHOWMAXIMIZED},
      {4, 0, 0, false, SW_SHOWMINIMIZED},
      {-1, STARTF_USESHOWWINDOW, SW_SHOWNORMAL, true, SW_HIDE},
  };
  for (const Case& test : cases) {
    state_.TargetFile = "C:\\Tools\\app.exe";
    state_.Settings.ShowState = test.showState;
    state_.OwnStartupInfo.flags = test.ownFlags;
    state_.OwnStartupInfo.showWindow = test.ownShow;
    ASSERT_TRUE(LaunchTarget(sim_, state_, test.canHide));
    const StartupInfo& given = LastLaunch().startup;
    EXPECT_EQ(StartupInfoSize, given.cb);
    EXPECT_EQ(STARTF_USESHOWWINDOW, given.flags);
    EXPECT_EQ(test.expected, given.showWindow) << "ShowState " << test.showState << ", own show " << test.ownShow;
    EXPECT_EQ(test.expected == SW_HIDE, state_.StartedHidden);
    EXPECT_EQ(CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, LastLaunch().creationFlags);
  }
}

TEST_F(LaunchTest, CommandLineIsTheFileAndArgumentsUnquotedRunFromTheFilesFolder) {
  sim_.SimProcs().DefineProgram("C:\\Program Files\\App\\app.exe", sim::SimProgram{});
  sim_.SimProcs().DefineProgram("C:\\Tools\\app.exe", sim::SimProgram{});
  sim_.SimProcs().DefineProgram("C:\\Work\\bare.exe", sim::SimProgram{});
  struct Case {
    std::string targetFile;
    std::string targetParams;
    std::string commandLine;
    std::string folder;  // current folder when the program starts
  };
  const Case cases[] = {
      {"C:\\Program Files\\App\\app.exe", "", "C:\\Program Files\\App\\app.exe ", "C:\\Program Files\\App"},
      {"C:\\Tools\\app.exe", "-x \"a b\" ", "C:\\Tools\\app.exe -x \"a b\" ", "C:\\Tools"},
      {"\"C:\\Tools\\app.exe", "", "\"C:\\Tools\\app.exe ", "C:\\Tools"},       // a stray leading quote
      {"bare.exe", "C:\\Docs\\a.txt", "bare.exe C:\\Docs\\a.txt", "C:\\Work"},  // no folder: left as it is
  };
  for (const Case& test : cases) {
    ASSERT_TRUE(sim_.Files().SetCurrentDirectoryA("C:\\Work"));
    state_.TargetFile = test.targetFile;
    state_.TargetParams = test.targetParams;
    state_.LaunchError = -2;
    ASSERT_TRUE(LaunchTarget(sim_, state_)) << test.targetFile;
    EXPECT_EQ(test.commandLine, LastLaunch().commandLine);
    EXPECT_EQ(test.folder, LastLaunch().currentFolder) << test.targetFile;
    EXPECT_EQ(0, state_.LaunchError);
    EXPECT_EQ(LastLaunch().processId, state_.ProcessInfo.processId);
    const sim::SimProcess* process = sim_.SimProcs().FindProcess(state_.ProcessInfo.processId);
    ASSERT_NE(nullptr, process);
    EXPECT_EQ(process->processHandle, state_.ProcessInfo.process);
    EXPECT_EQ(process->threadHandle, state_.ProcessInfo.thread);
    EXPECT_EQ(process->threadIds[0], state_.ProcessInfo.threadId);
  }
}

// Arguments are never cut: the program gets exactly what the user gave.
TEST_F(LaunchTest, LongCommandLinesArePassedWhole) {
  sim_.SimProcs().DefineProgram("C:\\Tools\\app.exe", sim::SimProgram{});
  state_.TargetFile = "C:\\Tools\\app.exe";
  state_.TargetParams = std::string(600, 'x') + " end";
  ASSERT_TRUE(LaunchTarget(sim_, state_));
  EXPECT_EQ("C:\\Tools\\app.exe " + state_.TargetParams, LastLaunch().commandLine);
}

TEST_F(LaunchTest, FailedStartKeepsTheErrorCodeAndNoProcess) {
  sim::SimProgram refused;
  refused.failWith = ERROR_BAD_EXE_FORMAT;
  sim_.SimProcs().DefineProgram("C:\\Tools\\old.exe", refused);
  struct Case {
    const char* targetFile;
    std::int32_t error;
    const char* text;
  };
  const Case cases[] = {{"C:\\Tools\\missing.exe", 2, "File was not found"},
                        {"C:\\Tools\\old.exe", 193, "No error / Unknown error"}};
  for (const Case& test : cases) {
    state_.TargetFile = test.targetFile;
    state_.ProcessInfo.process = reinterpret_cast<HANDLE>(0x99);
    state_.ProcessInfo.processId = 99;
    state_.ProcessInfo.threadId = 98;
    EXPECT_FALSE(LaunchTarget(sim_, state_));
    EXPECT_EQ(test.error, state_.LaunchError);
    EXPECT_EQ(test.text, LaunchErrorText(state_.LaunchError));
    EXPECT_EQ(nullptr, state_.ProcessInfo.process) << "a failed launch leaves no stale process behind";
    EXPECT_EQ(0u, state_.ProcessInfo.processId);
    EXPECT_EQ(0u, state_.ProcessInfo.threadId);
  }
}

TEST_F(LaunchTest, AFolderThatCannotBeEnteredStopsTheLaunch) {
  state_.TargetFile = "C:\\Gone\\app.exe";
  state_.ProcessInfo.processId = 99;
  try {
    LaunchTarget(sim_, state_);
    FAIL() << "the launch went on";
  } catch (const ELaunchFolder& error) {
    EXPECT_EQ("C:\\Gone\\", error.Folder());
    EXPECT_EQ("Unable to change to the program's folder:\r\nC:\\Gone\\\r\n\r\nThe program was not started.",
              error.Message());
  }
  EXPECT_TRUE(sim_.SimProcs().Launches().empty());
  EXPECT_EQ(0u, state_.ProcessInfo.processId);
  EXPECT_EQ("C:\\Work", sim_.Files().GetCurrentDirectoryA());
}

TEST_F(LaunchTest, WaitsAtMostThirtySecondsForTheTargetToBecomeIdle) {
  sim::SimProgram slow;
  slow.idleAfter = 1500;
  sim::SimProgram stuck;
  stuck.neverIdle = true;
  sim_.SimProcs().DefineProgram("C:\\Tools\\slow.exe", slow);
  sim_.SimProcs().DefineProgram("C:\\Tools\\stuck.exe", stuck);
  struct Case {
    const char* targetFile;
    DWORD result;
    unsigned long long waited;
  };
  const Case cases[] = {{"C:\\Tools\\slow.exe", 0, 1500}, {"C:\\Tools\\stuck.exe", WAIT_TIMEOUT, 30000}};
  for (const Case& test : cases) {
    state_.TargetFile = test.targetFile;
    ASSERT_TRUE(LaunchTarget(sim_, state_));
    const unsigned long long before = sim_.SimTime().Elapsed();
    EXPECT_EQ(test.result, WaitForTargetIdle(sim_, state_)) << test.targetFile;
    EXPECT_EQ(test.waited, sim_.SimTime().Elapsed() - before) << test.targetFile;
  }
}

// The words of a failed start: every code has some, the codes of the old interface each have
// their own, and the codes without words of their own tell the two families apart.
TEST(LaunchErrorText, EveryCodeSaysSomethingOfItsOwn) {
  std::set<std::string> texts;
  int described = 0;
  for (std::int32_t code = -2; code < 32; ++code) {
    const std::string text = LaunchErrorText(code);
    EXPECT_FALSE(text.empty()) << code;
    if (text == "Unknown error") continue;
    ++described;
    texts.insert(text);
  }
  EXPECT_EQ(18, described);
  EXPECT_EQ(18u, texts.size()) << "no two codes share their words";
  EXPECT_EQ("Path was not found", LaunchErrorText(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ("Unknown error", LaunchErrorText(INT_MIN));
  EXPECT_EQ("No error / Unknown error", LaunchErrorText(INT_MAX));
}

}  // namespace
}  // namespace ombrix
