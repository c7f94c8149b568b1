// What the windows service must report about another program's windows, on both backends,
// with the project's own target program.

#include <algorithm>

#include "tests/contract/ContractFixture.h"
#include "tests/contract/TargetProgram.h"

namespace ombrix::contract {
namespace {

class WindowOpsContract : public ContractTest {
 protected:
  void TearDown() override {
    EndProgram(*platform_, started_);
    ContractTest::TearDown();
  }
  IWindowOps& Windows() { return platform_->Windows(); }
  // Starts the target and waits until it shows `count` windows.
  std::vector<HWND> Start(const std::string& options, size_t count) {
    EXPECT_TRUE(StartTarget(*platform_, options, started_));
    EXPECT_TRUE(WaitUntil(*platform_, [&] { return WindowsOfProcess(Windows(), started_.processId).size() == count; }));
    return WindowsOfProcess(Windows(), started_.processId);
  }
  ProcessInformation started_;
};

TEST_F(WindowOpsContract, NewWindowsGoOnTopAndBelongToTheThreadThatMadeThem) {
  const std::vector<HWND> found = Start("/window=First /window=Second /thread=Helper", 3);
  ASSERT_EQ((std::vector<std::string>{"Helper", "Second", "First"}), Captions(Windows(), found));
  EXPECT_EQ(found[0], Windows().FindWindowA("", "Helper"));
  EXPECT_EQ(found[0], Windows().FindWindowA("OMBRIXTARGETWINDOW", "HELPER"));
  EXPECT_EQ(nullptr, Windows().FindWindowA("", "Help"));

  DWORD processId = 0;
  const DWORD helperThread = Windows().GetWindowThreadProcessId(found[0], &processId);
  EXPECT_EQ(started_.processId, processId);
  EXPECT_NE(started_.threadId, helperThread);
  EXPECT_EQ(started_.threadId, Windows().GetWindowThreadProcessId(found[1], nullptr));
  EXPECT_EQ(started_.threadId, Windows().GetWindowThreadProcessId(found[2], nullptr));

  // Each thread that makes a window also has a hidden input-method window, made just before
  // its first one and so just below it.
  const std::vector<HWND> all = WindowsOfProcess(Windows(), started_.processId, false);
  ASSERT_EQ((std::vector<std::string>{"Helper", "Default IME", "Second", "First", "Default IME"}),
            Captions(Windows(), all));
  EXPECT_EQ(helperThread, Windows().GetWindowThreadProcessId(all[1], nullptr));
  EXPECT_EQ(started_.threadId, Windows().GetWindowThreadProcessId(all[4], nullptr));
  EXPECT_EQ(0, Windows().GetWindowLongPtrA(all[4], GWL_STYLE) & WS_VISIBLE);
}

TEST_F(WindowOpsContract, TextIsCutToTheBufferAndWindowLongsDescribeTheWindow) {
  const std::vector<HWND> found = Start("\"/window=Long caption text\"", 1);
  ASSERT_EQ(1u, found.size());
  HWND window = found[0];
  EXPECT_EQ("Long caption text", Windows().GetWindowTextA(window, 256));
  EXPECT_EQ("Long", Windows().GetWindowTextA(window, 5)) << "the capacity counts the terminator";
  EXPECT_EQ("", Windows().GetWindowTextA(window, 1));

  // A program is loaded at its image base, above 4 GB for an x64 one (so a read through 32
  // bits loses it), and a top-level window has no owner.
  const LONG_PTR imageBase = sizeof(void*) == 8 ? static_cast<LONG_PTR>(0x140000000ull) : 0x00400000;
  EXPECT_EQ(imageBase, Windows().GetWindowLongPtrA(window, GWLP_HINSTANCE));
  EXPECT_EQ(0, Windows().GetWindowLongPtrA(window, GWLP_HWNDPARENT));
  EXPECT_NE(0, Windows().GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(0, Windows().GetWindowLongPtrA(window, GWL_STYLE) & WS_MINIMIZE);
}

TEST_F(WindowOpsContract, MinimizedWindowIsPlacedMinimized) {
  const std::vector<HWND> found = Start("/window=Shrink", 1);
  ASSERT_EQ(1u, found.size());
  HWND window = found[0];
  WindowPlacementInfo placement;
  ASSERT_TRUE(Windows().GetWindowPlacement(window, placement));
  EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), placement.showCmd);

  Windows().ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(Windows().GetWindowPlacement(window, placement));
  EXPECT_EQ(static_cast<UINT>(SW_SHOWMINIMIZED), placement.showCmd);
  EXPECT_NE(0, Windows().GetWindowLongPtrA(window, GWL_STYLE) & WS_MINIMIZE);

  Windows().ShowWindow(window, SW_HIDE);
  EXPECT_EQ(0, Windows().GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(Windows().IsWindow(window));
}

// A program started with SW_HIDE keeps its window off the screen, placed normal, until it
// is shown; a hook on its events is made and given up once.
TEST_F(WindowOpsContract, AHiddenStartShowsNothingAndHooksAreGivenUpOnce) {
  ASSERT_TRUE(StartTarget(*platform_, "/window=Unseen", started_, SW_HIDE));
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil(*platform_, [&] { return (window = Windows().FindWindowA("", "Unseen")) != nullptr; }));
  EXPECT_TRUE(WindowsOfProcess(Windows(), started_.processId).empty());
  WindowPlacementInfo placement;
  ASSERT_TRUE(Windows().GetWindowPlacement(window, placement));
  EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), placement.showCmd);
  Windows().ShowWindow(window, SW_SHOWNORMAL);
  EXPECT_NE(0, Windows().GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE);

  const HWINEVENTHOOK hook = Windows().SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE,
                                                       started_.processId, [](DWORD, HWND, LONG, LONG) {});
  ASSERT_NE(nullptr, hook);
  EXPECT_TRUE(Windows().UnhookWinEvent(hook));
  EXPECT_FALSE(Windows().UnhookWinEvent(hook));
}

TEST_F(WindowOpsContract, GoneWindowsAreNoLongerWindows) {
  const std::vector<HWND> found = Start("/window=Brief", 1);
  ASSERT_EQ(1u, found.size());
  EndProgram(*platform_, started_);
  started_ = ProcessInformation{};
  EXPECT_TRUE(WaitUntil(*platform_, [&] { return !Windows().IsWindow(found[0]); }));
  WindowPlacementInfo placement;
  EXPECT_FALSE(Windows().GetWindowPlacement(found[0], placement));
  EXPECT_EQ("", Windows().GetWindowTextA(found[0], 256));
}

TEST_F(WindowOpsContract, UpperCaseFollowsTheLocale) {
  EXPECT_EQ("UNTITLED - NOTEPAD [2]", Windows().CharUpperBuffA("Untitled - Notepad [2]"));
  EXPECT_EQ("OLEMAINTHREADWNDNAME", Windows().CharUpperBuffA("OleMainThreadWndName"));
  EXPECT_EQ("", Windows().CharUpperBuffA(""));
}

// Names as HKEY_CLASSES_ROOT holds them, in the order a sorted list shows them: symbols
// before digits before letters, letters without regard to case, and hyphens and
// apostrophes weighing nothing until all else is equal.
TEST_F(WindowOpsContract, CompareStringOrdersKeyNamesAsASortedList) {
  const std::vector<std::string> sorted = {"$data", "*",    ".txt",    "_x",    "{clsid}",      "~tmp", "+plus",
                                           "10",    "9",    "AppID",   "apple", "Applications", "coop", "co-op",
                                           "its",   "it's", "txtfile", "xy",    "x-y",          "Zip"};
  std::vector<std::string> shuffled = sorted;
  std::reverse(shuffled.begin(), shuffled.end());
  std::rotate(shuffled.begin(), shuffled.begin() + 7, shuffled.end());
  std::stable_sort(shuffled.begin(), shuffled.end(), [this](const std::string& a, const std::string& b) {
    return Windows().CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, b) == CSTR_LESS_THAN;
  });
  EXPECT_EQ(sorted, shuffled);

  struct Case {
    std::string left, right;
    DWORD flags;
    int expected;
  };
  const Case cases[] = {{"TXTFILE", "txtfile", NORM_IGNORECASE, CSTR_EQUAL},
                        {"apple", "Apple", 0, CSTR_LESS_THAN},  // with case, lower case first
                        {"Apple", "apple", 0, CSTR_GREATER_THAN},
                        {"", "a", NORM_IGNORECASE, CSTR_LESS_THAN},
                        {"co-op", "coop", NORM_IGNORECASE, CSTR_GREATER_THAN}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, Windows().CompareStringA(LOCALE_USER_DEFAULT, c.flags, c.left, c.right))
        << c.left << " / " << c.right;
  }
}

}  // namespace
}  // namespace ombrix::contract
