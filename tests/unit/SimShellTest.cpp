// The simulated shell's test controls: clicks as the shell delivers them and a restarting
// taskbar.

#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/SimPlatform.h"
#include "platform/sim/SimShell.h"

namespace ombrix::sim {
namespace {

struct Delivered {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Delivered& o) const {
    return window == o.window && message == o.message && wParam == o.wParam && lParam == o.lParam;
  }
};

class SimShellTest : public ::testing::Test {
 protected:
  HWND RecordingWindow() {
    return platform_.Input().AllocateWindow([this](HWND w, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      delivered_.push_back(Delivered{w, message, wParam, lParam});
      return 0;
    });
  }
  NotifyIconData Icon(HWND window, UINT id, UINT flags) {
    NotifyIconData data;
    data.window = window;
    data.id = id;
    data.flags = flags;
    data.callbackMessage = WM_USER + 7;
    data.tip = std::string(130, 't');
    return data;
  }

  SimPlatform platform_;
  std::vector<Delivered> delivered_;
};

TEST_F(SimShellTest, ClicksArriveAsTheIconsCallbackMessages) {
  HWND window = RecordingWindow();
  ASSERT_TRUE(platform_.Shell().Shell_NotifyIconA(NIM_ADD, Icon(window, 3, NIF_MESSAGE | NIF_TIP)));
  EXPECT_EQ(127u, platform_.SimTray().FindIcon(window, 3)->tip.size()) << "szTip holds 127 characters";
  struct Case {
    SimShell::Click click;
    std::vector<LPARAM> events;
  };
  const Case cases[] = {
      {SimShell::Click::kLeft, {WM_LBUTTONDOWN, WM_LBUTTONUP}},
      {SimShell::Click::kDouble, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}},
      {SimShell::Click::kRight, {WM_RBUTTONDOWN, WM_RBUTTONUP}},
  };
  for (const Case& c : cases) {
    delivered_.clear();
    ASSERT_TRUE(platform_.SimTray().ClickIcon(window, 3, c.click));
    EXPECT_TRUE(delivered_.empty()) << "posted, not sent";
    platform_.Messages().ProcessMessages();
    std::vector<Delivered> expected;
    for (LPARAM event : c.events) expected.push_back(Delivered{window, WM_USER + 7, 3, event});
    EXPECT_EQ(expected, delivered_);
  }

  EXPECT_FALSE(platform_.SimTray().ClickIcon(window, 4, SimShell::Click::kLeft)) << "no such icon";
  ASSERT_TRUE(platform_.Shell().Shell_NotifyIconA(NIM_ADD, Icon(window, 5, NIF_TIP)));
  EXPECT_FALSE(platform_.SimTray().ClickIcon(window, 5, SimShell::Click::kLeft)) << "an icon without callback";
}

TEST_F(SimShellTest, ARestartEmptiesTheAreaAndTellsEveryTopLevelWindow) {
  HWND utility = RecordingWindow();
  std::vector<UINT> targetMessages;
  SimWindow target;
  target.onMessage = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
    targetMessages.push_back(message);
    return 0;
  };
  platform_.SimWindows().CreateTopWindow(target);
  ASSERT_TRUE(platform_.Shell().Shell_NotifyIconA(NIM_ADD, Icon(utility, 0, NIF_MESSAGE)));

  platform_.SimTray().RestartShell();
  EXPECT_EQ(0, platform_.SimTray().IconCount());
  platform_.Messages().ProcessMessages();
  const UINT taskbarCreated = platform_.Input().RegisterWindowMessageA("TaskbarCreated");
  EXPECT_EQ((std::vector<Delivered>{{utility, taskbarCreated, 0, 0}}), delivered_);
  EXPECT_EQ((std::vector<UINT>{taskbarCreated}), targetMessages);
}

}  // namespace
}  // namespace ombrix::sim
