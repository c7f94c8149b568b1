// Real popup menus, driven from a helper thread with the keys a user would press: the menu
// built from entries returns the chosen command and nothing for a disabled item, and a
// window's system menu posts its command to the owner as WM_SYSCOMMAND, with its items
// enabled for the owner (what the simulated menus assume).

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/win32/Win32Platform.h"

namespace ombrix {
namespace {

// Waits (bounded) for a popup menu to be shown, then presses the keys on it (the letter of a
// mnemonic as WM_CHAR).
std::thread PressKeysOnMenu(std::vector<WPARAM> keys, std::atomic<bool>& pressed) {
  return std::thread([keys, &pressed] {
    for (int attempt = 0; attempt < 400; ++attempt) {
      HWND menu = ::FindWindowA("#32768", nullptr);
      if (menu && ::IsWindowVisible(menu)) {
        for (WPARAM key : keys) ::PostMessageA(menu, key >= 'a' && key <= 'z' ? WM_CHAR : WM_KEYDOWN, key, 0);
        pressed = true;
        return;
      }
      ::Sleep(25);
    }
  });
}

class RealMenus : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = Input().AllocateWindow([this](HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
      return Input().DefWindowProcA(w, message, wParam, lParam);
    });
    ASSERT_NE(nullptr, owner_);
  }
  void TearDown() override { Input().DeallocateWindow(owner_); }
  IInput& Input() { return platform_.Input(); }

  win32::Win32Platform platform_;
  HWND owner_ = nullptr;
};

TEST_F(RealMenus, BuiltMenusReturnTheChosenCommand) {
  const std::vector<MenuEntry> entries = {
      {11, "&First", true, false, false},
      {12, "&Disabled", false, false, false},
      {0, "", true, false, true},
      {13, "&Third", true, true, false},
  };
  struct Case {
    std::vector<WPARAM> keys;
    UINT expected;
  };
  const Case cases[] = {
      {{VK_DOWN, VK_RETURN}, 11},
      {{VK_UP, VK_RETURN}, 13},
      {{VK_DOWN, VK_DOWN, VK_RETURN}, 0},  // a disabled item is reached but gives nothing
      {{VK_ESCAPE}, 0},
  };
  for (const Case& c : cases) {
    std::atomic<bool> pressed{false};
    std::thread user = PressKeysOnMenu(c.keys, pressed);
    const UINT chosen = Input().ShowPopupMenu(entries, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, 200, 200, owner_);
    user.join();
    ASSERT_TRUE(pressed) << "the menu never appeared";
    EXPECT_EQ(c.expected, chosen);
  }
}

TEST_F(RealMenus, ASystemMenuPostsItsCommandToTheOwner) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ::DefWindowProcA;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "OmbrixMenuTarget";
  ::RegisterClassA(&windowClass);
  HWND target = ::CreateWindowExA(0, "OmbrixMenuTarget", "Menu target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300,
                                  200, nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(nullptr, target);
  HMENU menu = Input().GetSystemMenu(target, FALSE);
  ASSERT_NE(nullptr, menu);

  std::atomic<bool> pressed{false};
  std::thread user = PressKeysOnMenu({'c'}, pressed);  // the mnemonic of &Close
  EXPECT_TRUE(Input().TrackPopupMenu(menu, 0, 120, 90, owner_));
  user.join();
  ASSERT_TRUE(pressed) << "the menu never appeared";

  QueuedMessage posted;
  ASSERT_TRUE(Input().PeekMessageA(owner_, posted, false));
  EXPECT_EQ(owner_, posted.window);
  EXPECT_EQ(static_cast<UINT>(WM_SYSCOMMAND), posted.message);
  EXPECT_EQ(static_cast<WPARAM>(SC_CLOSE), posted.wParam & 0xFFF0);
  EXPECT_TRUE(::IsWindow(target)) << "the command went to the owner, not to the window";
  // The items were enabled for the owner, a hidden pop-up with no frame or boxes: only Move
  // and Close remain.
  for (UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE}) {
    EXPECT_TRUE(::GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED) << std::hex << command;
  }
  for (UINT command : {SC_MOVE, SC_CLOSE}) {
    EXPECT_FALSE(::GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED) << std::hex << command;
  }
  ::DestroyWindow(target);
}

}  // namespace
}  // namespace ombrix
