// What the program's utility windows, posted and sent messages and registered messages must
// do, on both backends.

#include <stdexcept>
#include <vector>

#include "tests/contract/ContractFixture.h"

namespace ombrix::contract {
namespace {

class InputContract : public ContractTest {
 protected:
  void TearDown() override {
    for (HWND window : allocated_) Input().DeallocateWindow(window);
    ContractTest::TearDown();
  }

  // A utility window that records the messages of the test's own range and answers them
  // with 77; everything else goes to the default procedure.
  HWND RecordingWindow() {
    HWND window = Input().AllocateWindow([this](HWND w, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message >= WM_USER + 100 && message < WM_USER + 200) {
        seen_.push_back(QueuedMessage{w, message, wParam, lParam});
        return 77;
      }
      return Input().DefWindowProcA(w, message, wParam, lParam);
    });
    allocated_.push_back(window);
    return window;
  }

  std::vector<UINT> SeenMessages() const {
    std::vector<UINT> messages;
    for (const QueuedMessage& m : seen_) messages.push_back(m.message);
    return messages;
  }

  IInput& Input() { return platform_->Input(); }

  std::vector<HWND> allocated_;
  std::vector<QueuedMessage> seen_;
};

TEST_F(InputContract, SentMessagesRunAtOncePostedOnesFromTheMessageLoop) {
  HWND window = RecordingWindow();
  ASSERT_NE(nullptr, window);
  EXPECT_TRUE(platform_->Windows().IsWindow(window));

  EXPECT_EQ(77, Input().SendMessageA(window, WM_USER + 100, 1, 2));
  ASSERT_EQ(1u, seen_.size());
  EXPECT_EQ(1u, seen_[0].wParam);
  EXPECT_EQ(2, seen_[0].lParam);
  EXPECT_EQ(window, seen_[0].window);

  EXPECT_TRUE(Input().PostMessageA(window, WM_USER + 101, 3, 4));
  EXPECT_EQ(1u, seen_.size()) << "a posted message waits for the message loop";
  platform_->Messages().ProcessMessages();
  EXPECT_EQ((std::vector<UINT>{WM_USER + 100, WM_USER + 101}), SeenMessages());

  Input().DeallocateWindow(window);
  EXPECT_FALSE(platform_->Windows().IsWindow(window));
  EXPECT_FALSE(Input().PostMessageA(window, WM_USER + 102, 0, 0));
}

TEST_F(InputContract, PeekingTakesTheOldestMessageOfThatWindowOnly) {
  HWND window = RecordingWindow();
  HWND other = RecordingWindow();
  ASSERT_TRUE(Input().PostMessageA(window, WM_USER + 110, 0, 0));
  ASSERT_TRUE(Input().PostMessageA(other, WM_USER + 111, 0, 0));
  ASSERT_TRUE(Input().PostMessageA(window, WM_USER + 112, 5, 6));
  ASSERT_TRUE(Input().PostMessageA(window, WM_USER + 113, 0, 0));

  QueuedMessage taken;
  ASSERT_TRUE(Input().PeekMessageA(window, taken, false));
  EXPECT_EQ(WM_USER + 110, taken.message);
  EXPECT_TRUE(seen_.empty()) << "taken without dispatching";

  ASSERT_TRUE(Input().PeekMessageA(window, taken, true));
  EXPECT_EQ(window, taken.window);
  EXPECT_EQ(WM_USER + 112, taken.message);
  EXPECT_EQ(5u, taken.wParam);
  EXPECT_EQ(6, taken.lParam);
  EXPECT_EQ((std::vector<UINT>{WM_USER + 112}), SeenMessages()) << "dispatched when asked";

  platform_->Messages().ProcessMessages();
  EXPECT_EQ((std::vector<UINT>{WM_USER + 112, WM_USER + 111, WM_USER + 113}), SeenMessages())
      << "a message taken off the queue never arrives again";
  EXPECT_FALSE(Input().PeekMessageA(window, taken, false));
}

TEST_F(InputContract, RegisteredMessagesAreOneValuePerName) {
  const UINT first = Input().RegisterWindowMessageA("OmbrixContractMessage");
  EXPECT_GE(first, 0xC000u);
  EXPECT_LE(first, 0xFFFFu);
  EXPECT_EQ(first, Input().RegisterWindowMessageA("ombrixcontractmessage")) << "names ignore letter case";
  EXPECT_NE(first, Input().RegisterWindowMessageA("OmbrixContractOtherMessage"));
  const UINT taskbarCreated = Input().RegisterWindowMessageA("TaskbarCreated");
  EXPECT_GE(taskbarCreated, 0xC000u);
  EXPECT_EQ(taskbarCreated, Input().RegisterWindowMessageA("TaskbarCreated"));
}

TEST_F(InputContract, TheDefaultProcedureDestroysAWindowAskedToClose) {
  HWND window = RecordingWindow();
  Input().SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(platform_->Windows().IsWindow(window));
  Input().DeallocateWindow(window);  // what its owner still does later: harmless
  HWND next = RecordingWindow();
  EXPECT_EQ(77, Input().SendMessageA(next, WM_USER + 120, 0, 0));
}

TEST_F(InputContract, AnErrorInAProcedureGoesToTheHandler) {
  std::vector<std::string> errors;
  Input().SetProcedureErrorHandler([&](const std::exception& error) { errors.push_back(error.what()); });
  HWND window = Input().AllocateWindow([this](HWND w, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_USER + 130) throw std::runtime_error("handler failed");
    return Input().DefWindowProcA(w, message, wParam, lParam);
  });
  allocated_.push_back(window);
  EXPECT_EQ(0, Input().SendMessageA(window, WM_USER + 130, 0, 0));
  Input().PostMessageA(window, WM_USER + 130, 0, 0);
  platform_->Messages().ProcessMessages();
  EXPECT_EQ((std::vector<std::string>{"handler failed", "handler failed"}), errors);
  EXPECT_TRUE(platform_->Windows().IsWindow(window));
}

// A key with its modifiers has one holder at a time, whatever window or id asks; only
// giving it up, or the end of the window that holds it, frees it.
TEST_F(InputContract, AHotKeyHasOneHolderUntilGivenUpOrItsWindowEnds) {
  IWindowOps& windows = platform_->Windows();
  HWND first = RecordingWindow();
  HWND second = RecordingWindow();
  // A combination no program of the desktop is likely to hold.
  const UINT modifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
  const UINT key = VK_F24;
  ASSERT_TRUE(windows.RegisterHotKey(first, 1, modifiers | MOD_NOREPEAT, key));
  EXPECT_FALSE(windows.RegisterHotKey(second, 1, modifiers, key)) << "held for another window";
  EXPECT_FALSE(windows.RegisterHotKey(first, 2, modifiers, key)) << "held under another id";
  EXPECT_TRUE(windows.RegisterHotKey(second, 1, MOD_CONTROL | MOD_ALT, key)) << "other modifiers, another key";
  EXPECT_FALSE(windows.UnregisterHotKey(first, 2));
  EXPECT_TRUE(windows.UnregisterHotKey(first, 1));
  EXPECT_FALSE(windows.UnregisterHotKey(first, 1)) << "given up already";
  ASSERT_TRUE(windows.RegisterHotKey(first, 1, modifiers, key));
  Input().DeallocateWindow(first);
  EXPECT_TRUE(windows.RegisterHotKey(second, 2, modifiers, key)) << "a window's hot keys end with it";
  EXPECT_TRUE(windows.UnregisterHotKey(second, 1));
  EXPECT_TRUE(windows.UnregisterHotKey(second, 2));
}

}  // namespace
}  // namespace ombrix::contract
