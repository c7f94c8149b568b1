// What the notification area must do with icons added, changed and removed, and what the help
// viewer answers for a help file that is not there, on both backends (under wine with its
// taskbar running).

#include "base/AsciiCase.h"
#include "tests/contract/ContractFixture.h"

namespace ombrix::contract {
namespace {

class ShellContract : public ContractTest {
 protected:
  void TearDown() override {
    if (window_) {
      for (UINT id : {0u, 1u}) Shell().Shell_NotifyIconA(NIM_DELETE, Data(id, ""));
      platform_->Input().DeallocateWindow(window_);
    }
    ContractTest::TearDown();
  }

  NotifyIconData Data(UINT id, const std::string& tip) {
    NotifyIconData data;
    data.window = window_;
    data.id = id;
    data.flags = NIF_MESSAGE | NIF_TIP;
    data.callbackMessage = WM_USER + 1;
    data.tip = tip;
    return data;
  }

  IShell& Shell() { return platform_->Shell(); }

  HWND window_ = nullptr;
};

// The user's Startup folder, whose shortcuts start at logon: an absolute path without a
// trailing backslash, named Startup.
TEST_F(ShellContract, StartupKnownFolderIsTheUsersStartupFolder) {
  std::string path;
  ASSERT_EQ(S_OK, Shell().SHGetKnownFolderPath(TKnownFolder::kStartup, path));
  ASSERT_GT(path.size(), 3u);
  EXPECT_EQ(':', path[1]) << path;
  EXPECT_NE('\\', path.back()) << path;
  // Windows spells it Startup, wine StartUp.
  EXPECT_EQ("\\STARTUP", AsciiUpperCase(path.substr(path.size() - 8))) << path;
}

TEST_F(ShellContract, OneIconPerWindowAndId) {
  IInput& input = platform_->Input();
  window_ = input.AllocateWindow([&input](HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    return input.DefWindowProcA(w, message, wParam, lParam);
  });
  ASSERT_NE(nullptr, window_);

  struct Step {
    DWORD message;
    UINT id;
    BOOL expected;
  };
  const Step steps[] = {
      {NIM_MODIFY, 0, FALSE},                           // nothing to change yet
      {NIM_SETVERSION, 0, FALSE},                       // no icon to give a version
      {NIM_ADD, 0, TRUE},         {NIM_ADD, 0, FALSE},  // one icon per window and id
      {NIM_ADD, 1, TRUE},         {NIM_SETVERSION, 1, TRUE}, {NIM_MODIFY, 0, TRUE}, {NIM_DELETE, 0, TRUE},
      {NIM_DELETE, 0, FALSE},  // already gone
      {NIM_MODIFY, 0, FALSE},     {NIM_MODIFY, 1, TRUE},     {NIM_DELETE, 1, TRUE}, {NIM_SETVERSION, 1, FALSE},
  };
  int index = 0;
  for (const Step& step : steps) {
    NotifyIconData data = Data(step.id, "Ombrix contract");
    if (step.message == NIM_SETVERSION) data.version = NOTIFYICON_VERSION_4;
    EXPECT_EQ(step.expected, Shell().Shell_NotifyIconA(step.message, data))
        << "step " << index << ": message " << step.message << ", id " << step.id;
    ++index;
  }
}

// The viewer says nothing about a missing file, whatever it was asked: no window, no message.
TEST_F(ShellContract, HelpViewerOpensNothingForAMissingFile) {
  const std::string missing = InFolder("Missing.chm");
  for (UINT command : {HH_DISPLAY_TOC, HH_HELP_CONTEXT}) {
    EXPECT_EQ(nullptr, Shell().HtmlHelpA(nullptr, missing, command, command == HH_HELP_CONTEXT ? 13 : 0))
        << "command " << command;
  }
}

}  // namespace
}  // namespace ombrix::contract
