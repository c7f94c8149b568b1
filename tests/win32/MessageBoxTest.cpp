// The real message box: a helper thread finds the box by its caption, checks its text and
// presses a button, the way a user would.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/MiscUtils.h"
#include "platform/win32/Win32Platform.h"

namespace ombrix {
namespace {

// Waits (bounded) for a dialog with this caption, then clicks the button with this id.
std::thread PressWhenShown(const char* caption, int button, std::atomic<bool>& pressed, std::string& seenText) {
  return std::thread([caption, button, &pressed, &seenText] {
    for (int attempt = 0; attempt < 400 && !pressed; ++attempt) {
      HWND box = ::FindWindowA("#32770", caption);
      if (box) {
        HWND text = ::GetDlgItem(box, 0xFFFF);
        char buffer[256] = {};
        if (text) ::GetWindowTextA(text, buffer, sizeof buffer);
        seenText = buffer;
        ::PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        pressed = true;
        return;
      }
      ::Sleep(25);
    }
  });
}

TEST(RealMessageBox, AskYesNoReturnsTheButtonPressed) {
  win32::Win32Platform platform;
  for (int button : {IDYES, IDNO}) {
    std::atomic<bool> pressed{false};
    std::string seen;
    std::thread driver = PressWhenShown("Ombrix test question", button, pressed, seen);
    const int answer = AskYesNo(platform, "Ombrix test question", "Answer me");
    driver.join();
    ASSERT_TRUE(pressed) << "the box never appeared";
    EXPECT_EQ(button, answer);
    EXPECT_EQ("Answer me", seen);
  }
}

}  // namespace
}  // namespace ombrix
