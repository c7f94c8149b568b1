#pragma once
// Ombrix's main form over the simulated desktop and form host: a test describes the target
// program and its stored settings, runs start-up from a command line, then plays the user of
// the tray icon, its menu and the dialogs, and watches what reaches the target.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/sim/SimFormHost.h"
#include "runtime/OmbrixMain.h"
#include "settings/AppSettings.h"

namespace ombrix {
namespace testing_main {

constexpr char OmbrixExe[] = "C:\\Program Files\\Ombrix\\Ombrix.exe";
constexpr char OmbrixFolder[] = "C:\\Program Files\\Ombrix\\";
constexpr char App[] = "C:\\Tools\\app.exe";
constexpr char HelpFile[] = "C:\\Program Files\\Ombrix\\Ombrix.chm";

class OmbrixMainTest : public ::testing::Test {
 protected:
  OmbrixMainTest() : host(sim, TVorel_Ombrix::HostOptions(sim)) {
    sim.SimFiles().MakeDirectories("C:\\Program Files\\Ombrix");
    sim.SimFiles().MakeDirectories("C:\\Tools");
    sim.SimFiles().MakeDirectories("C:\\Docs");
    sim.SimFiles().SetModuleFileName(OmbrixExe);
    sim.Files().WriteFileBytes(OmbrixExe, "MZ");
    // As from a shortcut set to "Normal": the target starts shown unless its settings say
    // otherwise, so that the watch timer has nothing to hide by itself.
    StartupInfo own;
    own.flags = STARTF_USESHOWWINDOW;
    own.showWindow = SW_SHOWNORMAL;
    sim.SimProcs().SetOwnStartupInfo(own);
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    form->OnClosed = [this] { ++closedCount; };
  }

  // A program with the given window captions, topmost first once they are all open.
  static sim::SimProgram Program(const std::vector<std::string>& captions) {
    sim::SimProgram program;
    program.imeWindows = false;
    // Later windows open later and so lie above the earlier ones.
    for (auto it = captions.rbegin(); it != captions.rend(); ++it) {
      sim::SimProgramWindow window;
      window.caption = *it;
      program.windows.push_back(window);
    }
    return program;
  }

  // Stores an entry for `file` in the registry, starting from the defaults.
  void Store(const TAppSettings& settings) {
    TRegistryEnhanced registry(sim);
    TAppSettingsStore store(sim, registry);
    store.SaveSettings(settings, false);
  }
  static TAppSettings Settings(const std::string& file = App) { return DefaultAppSettings(file); }

  // The default (unnamed) value of a key of a file type, as HKEY_CLASSES_ROOT shows it: in
  // the machine-wide part, written as an installer does (elevated), or in the user's own.
  enum class Classes { kMachine, kUser };
  void SetClassDefault(const std::string& key, const std::string& value, DWORD type = REG_SZ,
                       Classes half = Classes::kMachine) {
    const HKEY root = half == Classes::kMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    sim.SimReg().SetElevated(half == Classes::kMachine);
    HKEY handle = nullptr;
    const LONG created =
        sim.Registry().RegCreateKeyExA(root, "Software\\Classes\\" + key, KEY_ALL_ACCESS, handle, nullptr);
    std::vector<BYTE> data(value.begin(), value.end());
    data.push_back(0);
    const LONG set = created == ERROR_SUCCESS ? sim.Registry().RegSetValueExA(handle, "", type, data) : created;
    sim.Registry().RegCloseKey(handle);
    sim.SimReg().SetElevated(false);
    ASSERT_EQ(ERROR_SUCCESS, set) << key;
  }

  TVariant SettingsValue(const std::string& name) {
    TRegistryEnhanced registry(sim);
    registry.Key = SettingsKey;
    return registry.ReadValueDefault(name, TVariant());
  }

  bool Start(const std::string& arguments) {
    return form->FormCreate(std::string("\"") + OmbrixExe + "\"" + (arguments.empty() ? "" : " " + arguments));
  }
  // Starts App showing `captions` and expects start-up to succeed.
  void StartApp(const std::vector<std::string>& captions = {"App"}) {
    sim.SimProcs().DefineProgram(App, Program(captions));
    ASSERT_TRUE(Start(App));
  }

  const sim::TrayIconState* Icon() {
    return sim.SimTray().FindIcon(form->Tray().Icon().WindowHandle(), form->Tray().Icon().Id());
  }
  void ClickIcon(sim::SimShell::Click click) {
    ASSERT_TRUE(sim.SimTray().ClickIcon(form->Tray().Icon().WindowHandle(), form->Tray().Icon().Id(), click));
    sim.Messages().ProcessMessages();
  }
  // A right click on the icon choosing the menu item with this caption.
  void ChooseFromTray(const std::string& caption) {
    sim.SimUser().PickNextMenuItem(caption);
    ClickIcon(sim::SimShell::Click::kRight);
  }

  HWND Slot(int slot) const { return form->Target().Window(slot); }
  HWND Main() const { return form->Target().Window(form->Target().MainWindowIndex()); }
  sim::SimWindow& Window(HWND window) {
    sim::SimWindow* found = sim.SimWindows().Find(window);
    EXPECT_NE(nullptr, found);
    return *found;
  }
  bool Visible(HWND window) { return Window(window).visible; }
  DWORD TargetProcess() const { return form->Target().Process().processId; }
  bool TargetRunning() {
    const sim::SimProcess* process = sim.SimProcs().FindProcess(TargetProcess());
    return process && !process->exited;
  }

  // Records the messages sent to `window`, then lets it handle them as before.
  void Record(HWND window, std::vector<std::pair<HWND, UINT>>& log) {
    sim::SimWindow& target = Window(window);
    auto previous = target.onMessage;
    sim::SimWindowOps& windows = sim.SimWindows();
    target.onMessage = [&log, &windows, window, previous](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      log.emplace_back(window, message);
      if (previous) return previous(message, wParam, lParam);
      if (message == WM_CLOSE) windows.DestroyWindow(window);
      return 0;
    };
  }

  const std::vector<sim::ShownMessageBox>& Boxes() { return sim.SimBoxes().Boxes(); }

  sim::SimPlatform sim;
  sim::SimFormHost host;
  std::unique_ptr<TVorel_Ombrix> form;
  int closedCount = 0;
};

}  // namespace testing_main
}  // namespace ombrix
