// The simulated desktop's own controls: what tests use to arrange failures and inspect
// what was shown. (Its Windows behaviour is pinned by the contract tests.)

#include <gtest/gtest.h>

#include "base/Exception.h"
#include "platform/sim/SimPlatform.h"

namespace ombrix::sim {
namespace {

TEST(SimRegistryControls, FailsTheChosenCallOnly) {
  SimPlatform platform;
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            platform.Registry().RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\T", KEY_ALL_ACCESS, key, nullptr));
  platform.SimReg().FailNth(SimRegistry::Op::kSet, 3, ERROR_ACCESS_DENIED);
  std::vector<LONG> results;
  for (int i = 0; i < 4; ++i)
    results.push_back(platform.Registry().RegSetValueExA(key, "v" + std::to_string(i), REG_DWORD, {0, 0, 0, 0}));
  EXPECT_EQ((std::vector<LONG>{ERROR_SUCCESS, ERROR_SUCCESS, ERROR_ACCESS_DENIED, ERROR_SUCCESS}), results);
  DWORD values = 0;
  platform.Registry().RegQueryInfoKeyA(key, nullptr, nullptr, &values, nullptr, nullptr);
  EXPECT_EQ(3u, values);

  EXPECT_EQ(1, platform.SimReg().OpenHandleCount());
  platform.Registry().RegCloseKey(key);
  EXPECT_EQ(0, platform.SimReg().OpenHandleCount());
  EXPECT_EQ(ERROR_INVALID_HANDLE, platform.Registry().RegCloseKey(key)) << "a second close is refused";
}

TEST(SimFilesControls, ReadOnlyFilesAndFoldersRefuseProfileWrites) {
  SimPlatform platform;
  platform.SimFiles().MakeDirectories("C:\\Locked\\Inner");
  platform.SimFiles().SetReadOnly("C:\\Locked", true);
  EXPECT_FALSE(
      platform.Profile().WritePrivateProfileStringA("s", std::string("k"), std::string("v"), "C:\\Locked\\a.ini"));
  EXPECT_EQ(ERROR_ACCESS_DENIED, platform.SimFiles().LastError());

  ASSERT_TRUE(platform.Files().WriteFileBytes("C:\\Locked\\Inner\\b.ini", "[s]\r\nk=old\r\n"));
  platform.SimFiles().SetReadOnly("C:\\Locked\\Inner\\b.ini", true);
  EXPECT_FALSE(platform.Profile().WritePrivateProfileStringA("s", std::string("k"), std::string("new"),
                                                             "C:\\Locked\\Inner\\b.ini"));
  std::string out;
  platform.Profile().GetPrivateProfileStringA("s", "k", "", 1024, out, "c:\\locked\\inner\\B.INI");
  EXPECT_EQ("old", out);
}

// Windows never matches a key written as a comment; wine does, so this stays out of the
// shared contract.
TEST(SimProfileRules, CommentKeysAreNeverFound) {
  SimPlatform platform;
  ASSERT_TRUE(platform.Files().WriteFileBytes("C:\\c.ini", "[s]\r\n;k=hidden\r\n  ;j=also\r\n"));
  std::string out;
  for (const char* key : {";k", ";j"}) {
    platform.Profile().GetPrivateProfileStringA("s", key, "default", 64, out, "C:\\c.ini");
    EXPECT_EQ("default", out) << key;
  }
}

TEST(SimFilesControls, BareProfileNamesLiveInTheWindowsFolder) {
  SimPlatform platform;
  ASSERT_TRUE(platform.Profile().WritePrivateProfileStringA("s", std::string("k"), std::string("v"), "bare.ini"));
  EXPECT_TRUE(platform.Files().FileExists("C:\\WINDOWS\\bare.ini"));
  EXPECT_FALSE(platform.Files().FileExists("C:\\bare.ini"));
}

TEST(SimDialogsControls, ScriptedAnswersRunTheirWhileOpenStep) {
  SimPlatform platform;
  bool ranWhileOpen = false;
  platform.SimBoxes().AnswerNextBox(IDYES, [&] { ranWhileOpen = true; });
  EXPECT_EQ(IDYES, platform.Dialogs().MessageBoxA(nullptr, "Sure?", "Confirmation", MB_YESNO));
  EXPECT_TRUE(ranWhileOpen);
  EXPECT_EQ(IDOK, platform.Dialogs().MessageBoxA(nullptr, "Note", "Vorel Ombrix", MB_OK)) << "OK boxes need no script";
  EXPECT_THROW(platform.Dialogs().MessageBoxA(nullptr, "Unplanned?", "Confirmation", MB_YESNOCANCEL), EProgramError);
  EXPECT_EQ(3u, platform.SimBoxes().Boxes().size());

  platform.SimBoxes().AnswerNextOpenDialog(std::nullopt);
  std::string chosen = "unchanged";
  EXPECT_FALSE(platform.Dialogs().GetOpenFileNameA(OpenFileRequest{}, chosen));
  EXPECT_EQ("unchanged", chosen);
}

TEST(SimWindowsControls, NewWindowsGoOnTopAndPlacementFollowsShowCommands) {
  SimPlatform platform;
  SimWindowOps& windows = platform.SimWindows();
  auto window = [](const char* caption, DWORD threadId) {
    SimWindow described;
    described.caption = caption;
    described.processId = 10;
    described.threadId = threadId;
    return described;
  };
  HWND first = windows.CreateTopWindow(window("First", 11));
  HWND second = windows.CreateTopWindow(window("Second", 12));
  EXPECT_EQ(second, windows.FindTopWindow());
  EXPECT_EQ(first, windows.GetWindow(second, GW_HWNDNEXT));
  EXPECT_EQ(nullptr, windows.GetWindow(first, GW_HWNDNEXT));

  WindowPlacementInfo placement;
  struct Step {
    int command;
    UINT showCmd;
    UINT flags;
  };
  const Step steps[] = {{SW_MAXIMIZE, 3, 0}, {SW_MINIMIZE, 2, 2},      {SW_RESTORE, 3, 0},
                        {SW_RESTORE, 1, 0},  {SW_SHOWMINIMIZED, 2, 0}, {SW_HIDE, 2, 0}};
  for (const Step& step : steps) {
    windows.ShowWindow(first, step.command);
    ASSERT_TRUE(windows.GetWindowPlacement(first, placement));
    EXPECT_EQ(step.showCmd, placement.showCmd) << "after command " << step.command;
    EXPECT_EQ(step.flags, placement.flags) << "after command " << step.command;
  }
  EXPECT_FALSE(windows.Find(first)->visible);

  // A window that refuses WM_CLOSE survives it; one without a procedure goes.
  windows.Find(second)->onMessage = [](UINT, WPARAM, LPARAM) -> LRESULT { return 0; };
  windows.DeliverMessage(second, WM_CLOSE, 0, 0);
  EXPECT_TRUE(windows.IsWindow(second));
  windows.DeliverMessage(first, WM_CLOSE, 0, 0);
  EXPECT_FALSE(windows.IsWindow(first));
  EXPECT_FALSE(windows.GetWindowPlacement(first, placement));
}

}  // namespace
}  // namespace ombrix::sim
