// What starting a program must do, on both backends, with the project's own target program.

#include "tests/contract/ContractFixture.h"
#include "tests/contract/TargetProgram.h"

namespace ombrix::contract {
namespace {

class ProcessesContract : public ContractTest {
 protected:
  void TearDown() override {
    EndProgram(*platform_, started_);
    ContractTest::TearDown();
  }
  IProcesses& Processes() { return platform_->Processes(); }
  ProcessInformation started_;
};

TEST_F(ProcessesContract, StartedProgramReportsItsIdsAndTakesTheShowCommand) {
  ASSERT_TRUE(StartTarget(*platform_, "/window=Alpha", started_, SW_SHOWMAXIMIZED));
  EXPECT_NE(nullptr, started_.process);
  EXPECT_NE(nullptr, started_.thread);
  EXPECT_NE(0u, started_.processId);
  EXPECT_NE(0u, started_.threadId);
  EXPECT_NE(started_.processId, started_.threadId);
  EXPECT_EQ(0u, Processes().WaitForInputIdle(started_.process, 15000));

  IWindowOps& windows = platform_->Windows();
  ASSERT_TRUE(WaitUntil(*platform_, [&] { return WindowsOfProcess(windows, started_.processId).size() == 1; }));
  HWND window = WindowsOfProcess(windows, started_.processId)[0];
  EXPECT_EQ("Alpha", windows.GetWindowTextA(window, 256));
  DWORD processId = 0;
  EXPECT_EQ(started_.threadId, windows.GetWindowThreadProcessId(window, &processId));
  EXPECT_EQ(started_.processId, processId);
  WindowPlacementInfo placement;
  ASSERT_TRUE(
      WaitUntil(*platform_,
                [&] { return windows.GetWindowPlacement(window, placement) && placement.showCmd == SW_SHOWMAXIMIZED; }))
      << "the first window takes the show command given at the start, got " << placement.showCmd;
}

// A launcher's child is found by its parent id, and both read as the program file they run,
// by full path, also after the launcher has ended.
TEST_F(ProcessesContract, SnapshotsNameParentsAndProgramFiles) {
  ASSERT_TRUE(StartTarget(*platform_, "/child=/window=Kid /delay=60000 /exit=0", started_));
  DWORD child = 0;
  ASSERT_TRUE(WaitUntil(*platform_, [&] {
    for (const ProcessEntry& entry : Processes().CreateToolhelp32Snapshot()) {
      if (entry.parentProcessId == started_.processId) child = entry.processId;
    }
    return child != 0;
  }));
  // Wine names a process's program file only once the process has started running.
  std::string file;
  EXPECT_TRUE(WaitUntil(*platform_, [&] { return !(file = Processes().QueryFullProcessImageNameA(child)).empty(); }));
  const std::string program = platform_->Windows().CharUpperBuffA(TargetProgram(*platform_));
  EXPECT_EQ(program, platform_->Windows().CharUpperBuffA(file));
  ASSERT_EQ(WAIT_OBJECT_0, Processes().WaitForSingleObject(started_.process, 15000));
  bool childListed = false;
  for (const ProcessEntry& entry : Processes().CreateToolhelp32Snapshot()) {
    EXPECT_NE(started_.processId, entry.processId) << "an ended process is not listed";
    if (entry.processId == child) childListed = entry.parentProcessId == started_.processId;
  }
  EXPECT_TRUE(childListed) << "the child keeps its parent's id";
  EXPECT_EQ("", Processes().QueryFullProcessImageNameA(0)) << "the idle process has no program file";
  ASSERT_TRUE(WaitUntil(*platform_, [&] { return !WindowsOfProcess(platform_->Windows(), child).empty(); }));
  for (HWND window : WindowsOfProcess(platform_->Windows(), child)) {
    platform_->Input().SendMessageA(window, WM_CLOSE, 0, 0);
  }
}

// An id with its creation time names one process for good; one that ended is no longer found.
TEST_F(ProcessesContract, CreationTimeIsFoundOnlyWhileTheProcessRuns) {
  std::uint64_t own = 0, started = 0, again = 0;
  ASSERT_EQ(ERROR_SUCCESS, Processes().GetProcessCreationTime(Processes().GetCurrentProcessId(), own));
  ASSERT_TRUE(StartTarget(*platform_, "/window=Alpha", started_, SW_SHOWNORMAL));
  ASSERT_EQ(ERROR_SUCCESS, Processes().GetProcessCreationTime(started_.processId, started));
  EXPECT_GE(started, own);
  ASSERT_EQ(ERROR_SUCCESS, Processes().GetProcessCreationTime(started_.processId, again));
  EXPECT_EQ(started, again);
  EndProgram(*platform_, started_);
  started_ = ProcessInformation();
  EXPECT_EQ(ERROR_INVALID_PARAMETER, Processes().GetProcessCreationTime(started_.processId, again));
}

// Without an application name the program is searched for, so a missing folder reads as a
// missing file too.
TEST_F(ProcessesContract, FailedStartsLeaveTheErrorCode) {
  ASSERT_TRUE(Files().WriteFileBytes(InFolder("notes.txt"), "not a program"));
  struct Case {
    std::string commandLine;
    DWORD error;
  };
  const Case cases[] = {
      {folder_ + "NoSuchProgram.exe", ERROR_FILE_NOT_FOUND},
      {folder_ + "NoSuchProgram.exe -x", ERROR_FILE_NOT_FOUND},
      {folder_ + "NoSuchFolder\\app.exe ", ERROR_FILE_NOT_FOUND},
      {"\"" + folder_ + "NoSuchFolder\\app.exe\" arg", ERROR_FILE_NOT_FOUND},
      {folder_ + "notes.txt", static_cast<DWORD>(ERROR_BAD_EXE_FORMAT)},
  };
  for (const Case& test : cases) {
    ProcessInformation info;
    EXPECT_FALSE(
        Processes().CreateProcessA(test.commandLine, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, StartupInfo{}, info))
        << test.commandLine;
    EXPECT_EQ(test.error, Processes().GetLastError()) << test.commandLine;
    EXPECT_EQ(0u, info.processId) << test.commandLine;
  }
}

TEST_F(ProcessesContract, WinExecStartsAProgramOrGivesTheOldErrorNumber) {
  EXPECT_GT(Processes().WinExec("\"" + TargetProgram(*platform_) + "\" /window=Brief /exit=0", SW_SHOWNORMAL), 31u);
  EXPECT_EQ(static_cast<UINT>(ERROR_FILE_NOT_FOUND), Processes().WinExec(folder_ + "NoSuchProgram.exe", SW_SHOWNORMAL));
}

TEST_F(ProcessesContract, OwnStartupInfoHasTheRecordSize) {
  EXPECT_EQ(StartupInfoSize, Processes().GetStartupInfoA().cb);
}

TEST_F(ProcessesContract, EnvironmentReferencesOfDefinedVariablesAreExpanded) {
  // The folder of Windows itself is defined everywhere; its letter case is not asked.
  const std::string root = Processes().ExpandEnvironmentStringsA("%SystemRoot%");
  ASSERT_FALSE(root.empty());
  EXPECT_EQ(std::string::npos, root.find('%')) << root;
  EXPECT_EQ(root, Processes().ExpandEnvironmentStringsA("%systemroot%"));
  struct Case {
    std::string text;
    std::string expanded;
  };
  const Case cases[] = {
      {"%SystemRoot%\\system32\\NOTEPAD.EXE %1", root + "\\system32\\NOTEPAD.EXE %1"},
      {"x %OMBRIX_NOT_DEFINED% y", "x %OMBRIX_NOT_DEFINED% y"},
      {"100% sure", "100% sure"},
      {"\"%1\" %2", "\"%1\" %2"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expanded, Processes().ExpandEnvironmentStringsA(c.text)) << c.text;
}

// A second Ombrix for the same program learns from a named mutex that the first holds its
// icon's id; the name is free again once every handle to it is closed.
TEST_F(ProcessesContract, ANamedMutexIsFoundOpenUntilItsLastHandleCloses) {
  const std::string name = "Local\\Ombrix contract mutex";
  const HANDLE first = Processes().CreateMutexA(name);
  ASSERT_NE(nullptr, first);
  EXPECT_NE(static_cast<DWORD>(ERROR_ALREADY_EXISTS), Processes().GetLastError());
  const HANDLE second = Processes().CreateMutexA(name);
  ASSERT_NE(nullptr, second);
  EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), Processes().GetLastError());
  const HANDLE other = Processes().CreateMutexA(name + " 2");
  EXPECT_NE(static_cast<DWORD>(ERROR_ALREADY_EXISTS), Processes().GetLastError()) << "another name";
  EXPECT_TRUE(Processes().CloseHandle(other));
  EXPECT_TRUE(Processes().CloseHandle(second));
  EXPECT_TRUE(Processes().CloseHandle(first));
  const HANDLE again = Processes().CreateMutexA(name);
  EXPECT_NE(static_cast<DWORD>(ERROR_ALREADY_EXISTS), Processes().GetLastError()) << "every handle was closed";
  EXPECT_TRUE(Processes().CloseHandle(again));
}

}  // namespace
}  // namespace ombrix::contract
