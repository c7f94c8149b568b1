// The test target's command line, and its stand-in on the simulated desktop: the same
// options must describe the same program in both places.

#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"
#include "tests/target/SimTarget.h"

namespace ombrix::target {
namespace {

TEST(TargetOptions, QuotedRunsKeepTheirBlanks) {
  const TargetOptions options = ParseTargetCommandLine(
      "\"C:\\Test Dir\\OmbrixTarget.exe\" \"/window=Two words\" /window= /thread=T \"/rename=250:New name\" /exit=9 "
      "/count=2 /delay=40 /refuseclose \"/child=/window=Kid '/thread=Kid helper'\"");
  ASSERT_EQ("", options.error);
  EXPECT_EQ((std::vector<std::string>{"Two words", ""}), options.windows);
  EXPECT_EQ((std::vector<std::string>{"T"}), options.threadWindows);
  EXPECT_EQ(250u, options.renameAfter.value_or(0));
  EXPECT_EQ("New name", options.renamedCaption);
  EXPECT_EQ(9u, options.exitAfter.value_or(0));
  EXPECT_EQ(2u, options.count);
  EXPECT_EQ(40u, options.delay);
  EXPECT_TRUE(options.refuseClose);
  ASSERT_EQ(1u, options.children.size());
  EXPECT_EQ((std::vector<std::string>{"/window=Kid", "/thread=Kid helper"}), SplitTargetArguments(options.children[0]));
}

TEST(TargetOptions, WrongOptionsAreRefused) {
  for (const char* line : {"x.exe /window", "x.exe /count=0", "x.exe /delay=abc", "x.exe /rename=100",
                           "x.exe /Window=A", "x.exe window=A"}) {
    EXPECT_NE("", ParseTargetCommandLine(line).error) << line;
  }
  EXPECT_EQ((std::vector<std::string>{"OmbrixTarget"}), ParseTargetCommandLine("x.exe").MainWindows());
}

TEST(SimTarget, OptionsBecomeTheSameWindowsThreadsAndTimes) {
  sim::SimPlatform platform;
  DefineSimTarget(platform.SimProcs(), "C:\\T\\OmbrixTarget.exe");
  ProcessInformation info;
  ASSERT_TRUE(platform.Processes().CreateProcessA(
      "C:\\T\\OmbrixTarget.exe /window=A /window=B /count=2 /thread=H /delay=100 /refuseclose /child=/window=Kid", 0,
      StartupInfo{}, info));
  const sim::SimProcess* process = platform.SimProcs().FindProcess(info.processId);
  ASSERT_NE(nullptr, process);
  std::vector<std::string> captions;
  std::vector<int> threads;
  for (const sim::SimProgramWindow& window : process->program.windows) {
    captions.push_back(window.caption);
    threads.push_back(window.thread);
    EXPECT_EQ(100u, window.appearAfter);
    EXPECT_TRUE(window.refusesClose);
  }
  EXPECT_EQ((std::vector<std::string>{"A", "B", "A", "B", "H", "H"}), captions);
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 1, 1}), threads);
  EXPECT_EQ(2u, platform.SimProcs().Processes().size()) << "the child starts at once";

  ASSERT_TRUE(platform.Processes().CreateProcessA("C:\\T\\OmbrixTarget.exe /bogus /window=A", 0, StartupInfo{}, info));
  EXPECT_TRUE(platform.SimProcs().FindProcess(info.processId)->exited) << "ends at once, as the real one does";
}

}  // namespace
}  // namespace ombrix::target
