// Programs Ombrix cannot keep in the tray as they run today, and documents whose program the
// user chose: packaged apps (a document type they handle, a frame or cloaked window found),
// console programs that Windows shows in Windows Terminal.

#include "tests/unit/OmbrixMainTest.h"

namespace ombrix {
namespace testing_main {
namespace {

constexpr char PackagedReason[] =
    "I can't keep packaged apps in the tray: Windows\r\nwould leave a dead button on the taskbar.\r\n";

class PackagedTest : public OmbrixMainTest {
 protected:
  void SetValue(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
    sim.SimReg().SetElevated(root == HKEY_LOCAL_MACHINE);
    HKEY handle = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, sim.Registry().RegCreateKeyExA(root, key, KEY_ALL_ACCESS, handle, nullptr)) << key;
    std::vector<BYTE> data(value.begin(), value.end());
    data.push_back(0);
    EXPECT_EQ(ERROR_SUCCESS, sim.Registry().RegSetValueExA(handle, name, REG_SZ, data));
    sim.Registry().RegCloseKey(handle);
    sim.SimReg().SetElevated(false);
  }
  void DeleteValue(HKEY root, const std::string& key, const std::string& name) {
    HKEY handle = nullptr;
    if (sim.Registry().RegOpenKeyExA(root, key, KEY_ALL_ACCESS, handle) != ERROR_SUCCESS) return;
    sim.Registry().RegDeleteValueA(handle, name);
    sim.Registry().RegCloseKey(handle);
  }
  // A fresh Ombrix for each case, its message log empty.
  void Restart() {
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    sim.SimBoxes().ClearLog();
  }
};

TEST_F(PackagedTest, DocumentsOpenWithTheUsersChoiceAndPackagedHandlersAreNamed) {
  sim.SimProcs().DefineProgram("C:\\Tools\\viewer.exe", Program({"Viewer"}));
  sim.SimProcs().DefineProgram("C:\\Tools\\chosen.exe", Program({"Chosen"}));
  SetClassDefault(".pic", "picfile");
  SetClassDefault("picfile\\shell\\open\\command", "C:\\Tools\\viewer.exe \"%1\"");
  SetClassDefault("Chosen.pic\\shell\\open\\command", "C:\\Tools\\chosen.exe \"%1\"");
  // A packaged app's type: a verb with DelegateExecute and no command.
  SetValue(HKEY_LOCAL_MACHINE, "Software\\Classes\\AppX1234\\Shell\\open", "DelegateExecute",
           "{4ED3A719-CEA8-4BD9-910D-E252F997AFC2}");
  sim.Files().WriteFileBytes("C:\\Docs\\a.pic", "x");
  const std::string choice = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.pic\\UserChoice";
  struct Case {
    const char* userChoice;  // nullptr: none
    const char* program;     // started; nullptr: nothing
    const char* message;     // shown; nullptr: none
  };
  const Case cases[] = {
      {nullptr, "C:\\Tools\\viewer.exe", nullptr},
      {"Chosen.pic", "C:\\Tools\\chosen.exe", nullptr},
      {"AppX1234", nullptr, "\"C:\\Docs\\a.pic\" opens in a packaged app.\r\n\r\n"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.userChoice ? test.userChoice : "no choice");
    if (test.userChoice) {
      SetValue(HKEY_CURRENT_USER, choice, "ProgId", test.userChoice);
    } else {
      DeleteValue(HKEY_CURRENT_USER, choice, "ProgId");
    }
    Restart();
    const size_t launches = sim.SimProcs().Launches().size();
    EXPECT_EQ(test.program != nullptr, Start("C:\\Docs\\a.pic"));
    if (test.program) {
      ASSERT_EQ(launches + 1, sim.SimProcs().Launches().size());
      EXPECT_EQ(test.program, form->Target().File());
      EXPECT_TRUE(Boxes().empty());
    } else {
      EXPECT_EQ(launches, sim.SimProcs().Launches().size()) << "nothing is started";
      ASSERT_EQ(1u, Boxes().size());
      EXPECT_EQ(test.message + std::string(PackagedReason), Boxes()[0].text);
    }
  }
}

TEST_F(PackagedTest, FrameAndCloakedWindowsAreLeftAsTheyAre) {
  struct Case {
    const char* className;
    DWORD cloaked;
    bool kept;
  };
  const Case cases[] = {{"ApplicationFrameWindow", 0, false}, {"SimWindow", 2, false}, {"SimWindow", 0, true}};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.className + std::string(test.cloaked ? " cloaked" : ""));
    sim::SimProgram program = Program({"Calculator"});
    program.windows[0].className = test.className;
    program.windows[0].cloaked = test.cloaked;
    sim.SimProcs().DefineProgram(App, program);
    Restart();
    TAppSettings settings = Settings();
    settings.ShowState = 2;  // started minimized: kept, it would be hidden at once
    Store(settings);
    EXPECT_EQ(test.kept, Start(App));
    sim.SimMessages().RunFor(1000);
    const HWND window = sim.SimProcs().WindowOf(TargetProcess(), 0);
    ASSERT_NE(nullptr, window);
    if (test.kept) {
      EXPECT_FALSE(Visible(window));
      continue;
    }
    ASSERT_EQ(1u, Boxes().size());
    EXPECT_EQ("\"Calculator\" is a packaged app's window.\r\n\r\n" + std::string(PackagedReason), Boxes()[0].text);
    EXPECT_TRUE(Visible(window)) << "the window is left as it was";
    EXPECT_TRUE(TargetRunning());
  }
}

// A program of the console subsystem: the PE header's Subsystem is 3.
std::string ConsoleProgramBytes() {
  std::string bytes(0x40 + 4 + 20 + 70, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  bytes[0x3C] = 0x40;
  bytes.replace(0x40, 4, std::string("PE\0\0", 4));
  bytes[0x40 + 24 + 68] = 3;
  return bytes;
}

TEST_F(PackagedTest, ConsoleProgramsThatWindowsShowsInTerminalAreNotStarted) {
  const std::string console = "C:\\Tools\\tool.exe";
  sim::SimProgram tool = Program({"C:\\Tools\\tool.exe"});
  tool.console = true;
  sim.SimProcs().DefineProgram(console, tool);
  ASSERT_TRUE(sim.Files().WriteFileBytes(console, ConsoleProgramBytes()));
  sim.SimProcs().DefineProgram(App, Program({"App"}));
  sim.Files().WriteFileBytes("C:\\Tools\\run.bat", "@echo off");
  const std::string startup = "Console\\%%Startup";
  const std::string version = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  struct Case {
    const char* delegation;  // DelegationConsole; nullptr: missing
    const char* build;
    std::string program;
    bool refused;
  };
  const Case cases[] = {
      {nullptr, "22621", console, true},
      {nullptr, "22000", console, false},
      {"{00000000-0000-0000-0000-000000000000}", "22631", console, true},
      {"{b23d10c0-e52e-411e-9d5b-c09fdf709c7d}", "22631", console, false},
      {"{2EACA947-7F5F-4CFA-BA87-8F7FBEEFBE69}", "19045", console, true},
      {"{2EACA947-7F5F-4CFA-BA87-8F7FBEEFBE69}", "19045", "C:\\Tools\\run.bat", true},
      {"{2EACA947-7F5F-4CFA-BA87-8F7FBEEFBE69}", "19045", App, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string(test.delegation ? test.delegation : "missing") + " " + test.build + " " + test.program);
    if (test.delegation) {
      SetValue(HKEY_CURRENT_USER, startup, "DelegationConsole", test.delegation);
    } else {
      DeleteValue(HKEY_CURRENT_USER, startup, "DelegationConsole");
    }
    SetValue(HKEY_LOCAL_MACHINE, version, "CurrentBuildNumber", test.build);
    Restart();
    const size_t launches = sim.SimProcs().Launches().size();
    Start(test.program);
    EXPECT_EQ(test.refused ? launches : launches + 1, sim.SimProcs().Launches().size());
    if (!test.refused) continue;
    ASSERT_EQ(1u, Boxes().size());
    EXPECT_EQ("\"" + test.program +
                  "\" is a console program, and Windows\r\nshows console programs in Windows Terminal,\r\n"
                  "which I can't keep in the tray.\r\n\r\nTo keep it in the tray, choose \"Windows Console Host\"\r\n"
                  "in Settings > System > For developers > Terminal.\r\n",
              Boxes()[0].text);
  }
}

}  // namespace
}  // namespace testing_main
}  // namespace ombrix
