// The simulated user's test controls: system menus and their commands, and messages to
// windows of other programs.

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "base/Exception.h"
#include "platform/sim/SimInput.h"
#include "platform/sim/SimPlatform.h"

namespace ombrix::sim {
namespace {

class SimInputTest : public ::testing::Test {
 protected:
  SimInputTest() {
    SimWindow window;
    window.onMessage = [this](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
      targetMessages_.push_back({message, wParam});
      return 0;
    };
    target_ = platform_.SimWindows().CreateTopWindow(window);
    owner_ = platform_.Input().AllocateWindow(
        [this](HWND w, UINT m, WPARAM wp, LPARAM lp) { return platform_.Input().DefWindowProcA(w, m, wp, lp); });
  }

  SimPlatform platform_;
  HWND target_ = nullptr;
  HWND owner_ = nullptr;
  std::vector<std::pair<UINT, WPARAM>> targetMessages_;
};

TEST_F(SimInputTest, ASystemMenuPostsItsCommandToTheOwnerUnlessAskedToReturnIt) {
  IInput& input = platform_.Input();
  HMENU menu = input.GetSystemMenu(target_, FALSE);
  ASSERT_NE(nullptr, menu);
  EXPECT_EQ(menu, input.GetSystemMenu(target_, FALSE));

  platform_.SimUser().PickNextMenuItem("&Move");
  EXPECT_TRUE(input.TrackPopupMenu(menu, 0, 10, 20, owner_));
  QueuedMessage posted;
  ASSERT_TRUE(input.PeekMessageA(owner_, posted, false));
  EXPECT_EQ(WM_SYSCOMMAND, posted.message);
  EXPECT_EQ(SC_MOVE, posted.wParam);
  EXPECT_EQ((20 << 16) | 10, posted.lParam);

  platform_.SimUser().PickNextMenuCommand(SC_CLOSE);
  EXPECT_EQ(static_cast<BOOL>(SC_CLOSE), input.TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, owner_));
  platform_.SimUser().DismissNextMenu();
  EXPECT_TRUE(input.TrackPopupMenu(menu, 0, 0, 0, owner_));
  EXPECT_FALSE(input.PeekMessageA(owner_, posted, false)) << "nothing posted for a returned or dismissed menu";

  EXPECT_FALSE(input.TrackPopupMenu(menu, 0, 0, 0, nullptr)) << "a menu needs an owner window";
  EXPECT_EQ(3u, platform_.SimUser().Menus().size());
}

TEST_F(SimInputTest, SystemMenuItemsAreEnabledForTheOwner) {
  HWND normal = platform_.SimWindows().CreateTopWindow(SimWindow{});
  HWND maximized = platform_.SimWindows().CreateTopWindow(SimWindow{});
  platform_.Windows().ShowWindow(maximized, SW_SHOWMAXIMIZED);
  platform_.Windows().ShowWindow(target_, SW_SHOWMINIMIZED);  // the menu's own window does not count
  struct Case {
    HWND owner;
    std::string enabled;
  };
  const Case cases[] = {
      {owner_, "&Move;&Close\tAlt+F4;"},
      {normal, "&Move;&Size;Mi&nimize;Ma&ximize;&Close\tAlt+F4;"},
      {maximized, "&Restore;Mi&nimize;&Close\tAlt+F4;"},
  };
  HMENU menu = platform_.Input().GetSystemMenu(target_, FALSE);
  for (const Case& c : cases) {
    platform_.SimUser().ClearLog();
    platform_.SimUser().DismissNextMenu();
    platform_.Input().TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, c.owner);
    ASSERT_EQ(1u, platform_.SimUser().Menus().size());
    std::string enabled;
    for (const MenuEntry& item : platform_.SimUser().Menus()[0].items) {
      if (item.enabled && !item.separator) enabled += item.caption + ";";
    }
    EXPECT_EQ(c.enabled, enabled);
  }
}

TEST_F(SimInputTest, UnplannedMenusAndUnknownItemsAreTestMistakes) {
  HMENU menu = platform_.Input().GetSystemMenu(target_, FALSE);
  EXPECT_THROW(platform_.Input().TrackPopupMenu(menu, 0, 0, 0, owner_), EProgramError);
  platform_.SimUser().PickNextMenuItem("&Nowhere");
  EXPECT_THROW(platform_.Input().ShowPopupMenu({MenuEntry{1, "&Here"}}, 0, 0, 0, owner_), EProgramError);
}

TEST_F(SimInputTest, MessagesToAnotherProgramsWindowArriveButCannotBePeeked) {
  IInput& input = platform_.Input();
  EXPECT_TRUE(input.PostMessageA(target_, WM_SYSCOMMAND, SC_RESTORE, 0));
  QueuedMessage taken;
  EXPECT_FALSE(input.PeekMessageA(target_, taken, false)) << "another thread's queue";
  EXPECT_TRUE(targetMessages_.empty());
  platform_.Messages().ProcessMessages();
  input.SendMessageA(target_, WM_CLOSE, 0, 0);
  EXPECT_EQ((std::vector<std::pair<UINT, WPARAM>>{{WM_SYSCOMMAND, SC_RESTORE}, {WM_CLOSE, 0}}), targetMessages_);
}

}  // namespace
}  // namespace ombrix::sim
