// Launching the project's target program and finding its windows through the real API, as
// Ombrix does with any program.

#include <gtest/gtest.h>

#include "platform/win32/Win32Platform.h"
#include "runtime/Launch.h"
#include "runtime/WindowsListUnit.h"
#include "tests/contract/TargetProgram.h"

namespace ombrix {
namespace {

using contract::Captions;
using contract::WaitUntil;
using contract::WindowsOfProcess;

class RealTarget : public ::testing::Test {
 protected:
  void SetUp() override { startFolder_ = platform_.Files().GetCurrentDirectoryA(); }

  void TearDown() override {
    // Programs the target started in turn end when their windows are closed.
    for (const std::string& caption : childCaptions_) {
      if (HWND child = ::FindWindowA("OmbrixTargetWindow", caption.c_str())) ::PostMessageA(child, WM_CLOSE, 0, 0);
    }
    contract::EndProgram(platform_, state_.ProcessInfo);
    platform_.Files().SetCurrentDirectoryA(startFolder_);
  }

  // Starts the target as Ombrix would and waits until it shows `count` windows.
  void Launch(const std::string& params, size_t count) {
    state_.TargetFile = contract::TargetProgram(platform_);
    state_.TargetParams = params;
    state_.Settings.ShowState = 1;
    ASSERT_TRUE(LaunchTarget(platform_, state_)) << LaunchErrorText(state_.LaunchError);
    WaitForTargetIdle(platform_, state_);
    ASSERT_TRUE(WaitUntil(platform_, [&] { return OwnWindows().size() == count; }));
  }

  std::vector<HWND> OwnWindows() { return WindowsOfProcess(platform_.Windows(), state_.ProcessInfo.processId); }

  std::vector<HWND> Slots() const {
    std::vector<HWND> slots;
    for (int slot = 1; slot <= state_.WindowCount; ++slot) slots.push_back(state_.WindowHandles.Get(slot));
    return slots;
  }

  win32::Win32Platform platform_;
  TargetState state_;
  TWindowsList list_{platform_.Windows()};
  std::vector<std::string> childCaptions_;
  std::string startFolder_;
};

TEST_F(RealTarget, FoundByProcessWithAllItsThreadsButNotItsChildren) {
  childCaptions_ = {"Kid"};
  Launch("/window=Main /window=Tool /thread=Helper \"/child=/window=Kid\"", 3);
  ASSERT_TRUE(WaitUntil(platform_, [] { return ::FindWindowA("OmbrixTargetWindow", "Kid") != nullptr; }));

  state_.Settings.MinimizeType = true;
  state_.Settings.NbWindows = "5";
  state_.MainWindowIndex = 2;
  state_.Settings.SecsToWait = "5";
  ASSERT_TRUE(FindTargetWindows(platform_, state_, list_));
  EXPECT_EQ(OwnWindows(), Slots()) << "the hidden input-method windows of both threads are left out";
  EXPECT_EQ(5u, WindowsOfProcess(platform_.Windows(), state_.ProcessInfo.processId, false).size());
  EXPECT_EQ((std::vector<std::string>{"Helper", "Tool", "Main"}), Captions(platform_.Windows(), Slots()));
  EXPECT_EQ("Tool", state_.CurrentCaption);
  EXPECT_EQ(-2, state_.LaunchError);
}

TEST_F(RealTarget, FoundByNameWithAndWithoutTheProcessCheck) {
  childCaptions_ = {"Old notes"};
  Launch("\"/window=Notes - Editor\" \"/child='/window=Old notes'\"", 1);
  ASSERT_TRUE(WaitUntil(platform_, [] { return ::FindWindowA("OmbrixTargetWindow", "Old notes") != nullptr; }));

  state_.Settings.MinimizeType = false;
  state_.Settings.NbWindows = "5";
  state_.Settings.SecsToWait = "5";
  state_.Settings.WindowCaption = "notes";
  state_.Settings.DoPartialSearch = true;
  state_.Settings.UsePID = true;
  ASSERT_TRUE(FindTargetWindows(platform_, state_, list_));
  EXPECT_EQ(1, state_.WindowCount);
  EXPECT_EQ(1, state_.MainWindowIndex);
  EXPECT_EQ("Notes - Editor", state_.CurrentCaption);

  state_.Settings.UsePID = false;
  ASSERT_TRUE(FindTargetWindows(platform_, state_, list_));
  EXPECT_EQ(2, state_.WindowCount) << "the other program's window matches too";
  EXPECT_EQ(2, state_.MainWindowIndex);

  state_.Settings.WindowCaption = "NOTES - EDITOR";
  state_.Settings.DoPartialSearch = false;
  ASSERT_TRUE(FindTargetWindows(platform_, state_, list_));
  EXPECT_EQ(OwnWindows(), Slots());
}

TEST_F(RealTarget, WindowsOpeningLaterAreFoundByALaterAttempt) {
  state_.TargetFile = contract::TargetProgram(platform_);
  state_.TargetParams = "/window=Late /delay=800";
  ASSERT_TRUE(LaunchTarget(platform_, state_));
  state_.Settings.MinimizeType = true;
  state_.Settings.NbWindows = "1";
  state_.MainWindowIndex = 1;
  state_.Settings.SecsToWait = "10";
  ASSERT_TRUE(FindTargetWindows(platform_, state_, list_));
  EXPECT_EQ("Late", state_.CurrentCaption);
}

TEST_F(RealTarget, CloseRequestsAreAcceptedOrRefusedAsTheProgramDecides) {
  Launch("/window=Stubborn /refuseclose", 1);
  HWND stubborn = OwnWindows()[0];
  ::SendMessageA(stubborn, WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindow(stubborn));
  contract::EndProgram(platform_, state_.ProcessInfo);
  state_.ProcessInfo = ProcessInformation{};

  Launch("/window=Willing", 1);
  HWND willing = OwnWindows()[0];
  ::PostMessageA(willing, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil(platform_, [&] { return !platform_.Windows().IsWindow(willing); }));
  EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(state_.ProcessInfo.process, 10000))
      << "the program ends with its last window";
}

TEST_F(RealTarget, CaptionChangesAreSeen) {
  Launch("/window=Before /rename=200:After", 1);
  HWND window = OwnWindows()[0];
  EXPECT_TRUE(WaitUntil(platform_, [&] { return platform_.Windows().GetWindowTextA(window, 256) == "After"; }));
}

// The simulated desktop upper-cases as code page 1252 does.
TEST(RealUpperCase, AccentedLettersOfTheWesternCodePage) {
  if (::GetACP() != 1252) GTEST_SKIP() << "the system code page is " << ::GetACP();
  win32::Win32Platform platform;
  EXPECT_EQ("CAF\xC9 \xC0\xDE \x9F\x8A\x8C\x8E \xDF\xB5\xF7",
            platform.Windows().CharUpperBuffA("caf\xE9 \xE0\xFE \xFF\x9A\x9C\x9E \xDF\xB5\xF7"));
}

}  // namespace
}  // namespace ombrix
