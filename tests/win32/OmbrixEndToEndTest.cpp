// Ombrix.exe as a user runs it, under wine: it starts the project's target program, the
// test plays the shell (the tray icon's callback messages) and the user (answering Ombrix's
// message boxes), and watches the target's real windows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "base/Utf8.h"
#include "platform/ShellLnk.h"
#include "platform/win32/Win32Platform.h"
// After the Windows headers.
#include <commctrl.h>

#include "settings/AppSettings.h"
#include "tests/win32/ClassDefault.h"
#include "tests/win32/Waiting.h"
#include "tests/win32/XdoBridge.h"

namespace ombrix {
namespace {

using testing::ClassDefault;
using testing::WaitFor;
using testing::WindowsPath;

const std::string OmbrixExe = WindowsPath(OMBRIX_EXE);
const std::string TargetExe = WindowsPath(OMBRIX_TARGET_EXE);
constexpr char Title[] = "Vorel Ombrix";

std::string TextOf(HWND window) {
  std::vector<char> buffer(2048, '\0');
  const int length = ::GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), length > 0 ? static_cast<size_t>(length) : 0);
}

// A running Ombrix.exe, ended (if still running) when the test is done.
class OmbrixRun {
 public:
  explicit OmbrixRun(const std::string& arguments) {
    std::string commandLine = "\"" + OmbrixExe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ = ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                &info_) != FALSE;
  }
  ~OmbrixRun() {
    if (!started_) return;
    if (Running()) ::TerminateProcess(info_.hProcess, 1);
    ::WaitForSingleObject(info_.hProcess, 5000);
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
  }
  bool Started() const { return started_; }
  DWORD ProcessId() const { return info_.dwProcessId; }
  // Hides `window` with a double click and shows it again with another. Ombrix handles the
  // icon's messages only once start-up is over, so afterwards it is known to be watching.
  bool ToggleTwice(HWND window) const {
    DoubleClickIcon();
    if (!WaitFor([&] { return !::IsWindowVisible(window); })) return false;
    DoubleClickIcon();
    return WaitFor([&] { return ::IsWindowVisible(window) != FALSE; });
  }
  bool Running() const { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  bool Ended(DWORD milliseconds = 15000) const {
    return WaitFor([this] { return !Running(); }, milliseconds);
  }

  // The shell's side of a click on Ombrix's icon: the callback message to its utility
  // windows (the one that owns the icon acts on it).
  void ClickIcon(LPARAM mouseMessage) const {
    for (HWND window = ::FindWindowA(nullptr, nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
      DWORD process = 0;
      ::GetWindowThreadProcessId(window, &process);
      char className[64] = {};
      ::GetClassNameA(window, className, sizeof className);
      if (process == info_.dwProcessId && std::string(className) == "OmbrixUtilityWindow") {
        ::PostMessageA(window, WM_USER + 1, 0, mouseMessage);
      }
    }
  }
  void DoubleClickIcon() const {
    ClickIcon(WM_LBUTTONUP);
    ClickIcon(WM_LBUTTONDBLCLK);
    ClickIcon(WM_LBUTTONUP);
  }

  // Presses OK on every dialog box of Ombrix's process, whoever's words it shows.
  void CloseItsBoxes() const {
    for (HWND window = ::FindWindowA(nullptr, nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
      DWORD process = 0;
      ::GetWindowThreadProcessId(window, &process);
      char className[16] = {};
      ::GetClassNameA(window, className, sizeof className);
      if (process == info_.dwProcessId && std::string(className) == "#32770") {
        ::PostMessageA(window, WM_COMMAND, IDOK, 0);
      }
    }
  }

  // Ombrix's message box: its text once it shows, after which `button` is pressed.
  std::string AnswerBox(int button, const char* caption = Title) const {
    HWND box = nullptr;
    if (!WaitFor([&] {
          box = ::FindWindowA("#32770", caption);
          return box != nullptr;
        })) {
      return "<no box>";
    }
    const std::string text = TextOf(::GetDlgItem(box, 0xFFFF));
    ::PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    return text;
  }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

HWND FindVisible(const char* caption, const char* className = nullptr) {
  HWND window = ::FindWindowA(className, caption);
  return window && ::IsWindowVisible(window) ? window : nullptr;
}

// Runs a command line to its end (at most 15 s); its exit code, or -1.
long RunToEnd(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return -1;
  }
  DWORD code = static_cast<DWORD>(-1);
  if (::WaitForSingleObject(info.hProcess, 15000) == WAIT_OBJECT_0) ::GetExitCodeProcess(info.hProcess, &code);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return static_cast<long>(code);
}

class OmbrixEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetEntry();
    // Shown normally, so that the test sees the windows Ombrix starts with.
    settings_ = DefaultAppSettings(TargetExe);
    settings_.ShowState = 1;
  }
  void TearDown() override { ForgetEntry(); }

  void Store() {
    TRegistryEnhanced registry(platform_);
    TAppSettingsStore(platform_, registry).SaveSettings(settings_, false);
  }
  // The target's window `caption` once it shows, after a double click on the icon hid it;
  // nullptr when either did not happen.
  static HWND FoundThenHidden(const OmbrixRun& ombrix, const char* caption) {
    HWND window = nullptr;
    if (!WaitFor([&] { return (window = FindVisible(caption)) != nullptr; })) return nullptr;
    ombrix.DoubleClickIcon();
    return WaitFor([&] { return !::IsWindowVisible(window); }) ? window : nullptr;
  }
  void ForgetEntry() {
    TRegistryEnhanced registry(platform_);
    TAppSettingsStore(platform_, registry).DeleteSettings(TargetExe);
  }

  win32::Win32Platform platform_;
  TAppSettings settings_;
};

TEST_F(OmbrixEndToEnd, ClicksHideAndShowMinimizingHidesAndTheTargetsEndEndsOmbrix) {
  settings_.WarnQuickClose = true;  // the run is quicker than the quick-close warning
  settings_.NbWindows = "2";
  Store();
  // The window opened last is the topmost, so it is the first found: the main window.
  OmbrixRun ombrix("\"" + TargetExe + "\" \"/window=E2E Second\" \"/window=E2E Main\"");
  ASSERT_TRUE(ombrix.Started());
  HWND main = nullptr;
  HWND second = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = FindVisible("E2E Main")) && (second = FindVisible("E2E Second")); }));

  // Double-click mode (the default): one double click hides every window, the next shows.
  // Clicks made while Ombrix still starts wait in its queue; one double click is one toggle.
  ombrix.DoubleClickIcon();
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(main); }));
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(second); }));
  ombrix.ClickIcon(WM_LBUTTONUP);
  ombrix.DoubleClickIcon();
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) && ::IsWindowVisible(second); }))
      << "a single click does nothing in double-click mode; the double click shows both windows";

  // Minimizing the target hides it at the next tick of Ombrix's timer.
  ::ShowWindow(main, SW_MINIMIZE);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(main) && !::IsWindowVisible(second); }, 3000));
  ombrix.DoubleClickIcon();
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(main); }));

  // The target's main window closing ends Ombrix.
  ::PostMessageA(second, WM_CLOSE, 0, 0);
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(ombrix.Ended());
}

// With the defaults (a minimized start) and no show command of Ombrix's own, the target goes
// to the tray once found; the first show brings it up normal.
TEST_F(OmbrixEndToEnd, AStartIntoTheTrayHidesTheTargetAndTheFirstShowIsNormal) {
  settings_.ShowState = 0;
  settings_.WarnQuickClose = true;
  Store();
  const char caption[] = "E2E Into The Tray";
  OmbrixRun ombrix("\"" + TargetExe + "\" \"/window=" + caption + "\"");
  ASSERT_TRUE(ombrix.Started());
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = ::FindWindowA(nullptr, caption)) != nullptr; }));
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(window); }));

  ombrix.DoubleClickIcon();
  // Visible comes before the restore has ended: the placement is read once it has.
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(window) && !::IsIconic(window); }));
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  ASSERT_TRUE(::GetWindowPlacement(window, &placement));
  EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), placement.showCmd);
  ombrix.DoubleClickIcon();
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(window); }));
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(ombrix.Ended());
}

// Started hidden, a program must not run unseen: a launcher that passes its hidden start on
// has its program's window taken all the same, and a window that comes only after the search
// was given up is shown minimized, as a minimized start would have shown it.
TEST_F(OmbrixEndToEnd, AHiddenStartLeavesNoProgramUnseen) {
  settings_.ShowState = 0;
  settings_.WarnQuickClose = true;
  Store();
  {
    const char caption[] = "E2E Passed On";
    OmbrixRun ombrix("\"" + TargetExe + "\" /passshow \"/child='/window=" + caption + "'\" /delay=60000 /exit=0");
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = ::FindWindowA(nullptr, caption)) != nullptr; }));
    EXPECT_FALSE(::IsWindowVisible(window)) << "the hidden start was not passed on";
    ombrix.DoubleClickIcon();
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(window) && !::IsIconic(window); }))
        << "not in Ombrix's tray; Ombrix says: " << ombrix.AnswerBox(IDCANCEL, "Confirmation");
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(ombrix.Ended());
  }
  settings_.SecsToWait = "1";
  Store();
  {
    const char caption[] = "E2E After The Search";
    OmbrixRun ombrix("\"" + TargetExe + "\" \"/window=" + caption + "\" /delay=4000");
    EXPECT_NE("<no box>", ombrix.AnswerBox(IDCANCEL, "Confirmation"));
    HWND window = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (window = FindVisible(caption)) != nullptr; }, 10000)) << "left unseen";
    EXPECT_TRUE(window && ::IsIconic(window));
    EXPECT_TRUE(ombrix.Ended());
    if (window) ::PostMessageA(window, WM_CLOSE, 0, 0);
  }
}

// Wine runs every program as an administrator: a program whose manifest requires the rights
// starts as any other there, and what Ombrix asks of the system about elevation fails soft.
TEST_F(OmbrixEndToEnd, AProgramThatRequiresAdministratorRightsStartsAsBefore) {
  const std::string admin = WindowsPath(OMBRIX_ADMIN_TARGET_EXE);
  settings_ = DefaultAppSettings(admin);
  settings_.ShowState = 1;
  settings_.WarnQuickClose = true;
  Store();
  {
    OmbrixRun ombrix("\"" + admin + "\" \"/window=E2E Admin\"");
    HWND window = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (window = FindVisible("E2E Admin")) != nullptr; }));
    if (window) {
      EXPECT_TRUE(ombrix.ToggleTwice(window));
      ::PostMessageA(window, WM_CLOSE, 0, 0);
    }
    EXPECT_TRUE(ombrix.Ended());
  }
  TRegistryEnhanced registry(platform_);
  TAppSettingsStore(platform_, registry).DeleteSettings(admin);
}

TEST_F(OmbrixEndToEnd, QuickCloseAsksFirst) {
  Store();
  OmbrixRun ombrix("\"" + TargetExe + "\" \"/window=E2E Quick\"");
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = FindVisible("E2E Quick")) != nullptr; }));
  ASSERT_TRUE(ombrix.ToggleTwice(main));
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(
      "Application was detected closed 5 seconds\r\nafter launch. This might mean that this application \r\n"
      "needs configuration.\r\nDo you wish to go to the configuration screen ?\r\n(answering no will close Ombrix)\r\n",
      ombrix.AnswerBox(IDNO));
  EXPECT_TRUE(ombrix.Ended());
}

// The entry is stored behind a slot that a delete emptied, in either store: Ombrix's lookup
// passes the gap and finds it.
TEST_F(OmbrixEndToEnd, FindsTheMainWindowByNameAsStoredAfterAGap) {
  const std::string ombrixIni = OmbrixExe.substr(0, OmbrixExe.size() - 4) + ".ini";
  settings_.MinimizeType = false;
  settings_.WindowCaption = "e2e named";  // letter case plays no part
  settings_.WarnQuickClose = true;
  for (bool useIni : {false, true}) {
    SCOPED_TRACE(useIni ? "INI file" : "registry");
    TRegistryEnhanced registry(platform_);
    TAppSettingsStore store(platform_, registry, {SettingsKey, ombrixIni});
    const std::string gone = "C:\\Gone\\gone.exe";
    store.SaveSettings(DefaultAppSettings(gone), useIni);
    store.SaveSettings(settings_, useIni);
    store.DeleteSettings(gone);
    {
      OmbrixRun ombrix("\"" + TargetExe + "\" \"/window=E2E Other\" \"/window=E2E Named\"");
      HWND named = nullptr;
      ASSERT_TRUE(WaitFor([&] { return (named = FindVisible("E2E Named")) != nullptr; }));
      HWND other = ::FindWindowA(nullptr, "E2E Other");
      ombrix.DoubleClickIcon();
      ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(named); }));
      EXPECT_TRUE(::IsWindowVisible(other)) << "only the window found by its name is Ombrix's";
      ombrix.DoubleClickIcon();
      EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(named); }));
      ::PostMessageA(other, WM_CLOSE, 0, 0);
      ::PostMessageA(named, WM_CLOSE, 0, 0);
      EXPECT_TRUE(ombrix.Ended());
    }
    store.DeleteSettings(TargetExe);
    ::DeleteFileA(ombrixIni.c_str());
  }
}

TEST_F(OmbrixEndToEnd, DocumentStartsItsRegisteredProgram) {
  // A file type of the test's own, registered in the prefix: its command names the
  // target program and gives it the document as the caption of its window.
  const std::string document = WindowsPath(OMBRIX_DOCUMENT);
  ASSERT_TRUE(platform_.Files().WriteFileBytes(document, "document"));
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            ::RegCreateKeyExA(HKEY_CLASSES_ROOT, ".ombrixe2e", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  ::RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>("OmbrixE2E.Document"), 19);
  ::RegCloseKey(key);
  const std::string command = "\"" + TargetExe + "\" \"/window=%1\"";
  ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CLASSES_ROOT, "OmbrixE2E.Document\\Shell\\Open\\Command", 0, nullptr,
                                             0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  ::RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
  ::RegCloseKey(key);

  settings_.WarnQuickClose = true;
  Store();
  {
    OmbrixRun ombrix("\"" + document + "\" ignored-argument");
    HWND window = nullptr;
    HWND box = nullptr;
    WaitFor([&] { return (box = ::FindWindowA("#32770", Title)) || FindVisible(document.c_str()); });
    if (box) ADD_FAILURE() << "Ombrix said: " << ombrix.AnswerBox(IDOK);
    EXPECT_TRUE(WaitFor([&] { return (window = FindVisible(document.c_str())) != nullptr; }))
        << "the registered program shows the document's path";
    if (window) {
      ASSERT_TRUE(ombrix.ToggleTwice(window));
      ::PostMessageA(window, WM_CLOSE, 0, 0);
      EXPECT_TRUE(ombrix.Ended());
    }
  }
  ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "OmbrixE2E.Document\\Shell\\Open\\Command");
  ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "OmbrixE2E.Document\\Shell\\Open");
  ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "OmbrixE2E.Document\\Shell");
  ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "OmbrixE2E.Document");
  ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".ombrixe2e");
  platform_.Files().DeleteFileA(document);
}

TEST_F(OmbrixEndToEnd, TaskkillEndsOmbrixAndShowsTheHiddenTarget) {
  settings_.WarnQuickClose = true;
  Store();
  OmbrixRun ombrix("\"" + TargetExe + "\" \"/window=E2E Killed\"");
  const HWND main = FoundThenHidden(ombrix, "E2E Killed");
  ASSERT_NE(nullptr, main) << "the target was not found, or not hidden";

  // As a user would end it: taskkill without /f asks every window of the process to close.
  EXPECT_EQ(0, RunToEnd("taskkill.exe /pid " + std::to_string(ombrix.ProcessId())));
  EXPECT_TRUE(ombrix.Ended()) << "Ombrix is still running";
  EXPECT_TRUE(::IsWindowVisible(main)) << "the target is left hidden";
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(main); }));
}

// A crash of Ombrix shows what it hid before the process goes, whichever way it fails: an
// unhandled exception, an uncaught C++ exception (std::terminate) or abort. The switch makes
// Ombrix fail right after its first hide.
TEST_F(OmbrixEndToEnd, ACrashOfOmbrixShowsTheTargetItHid) {
  settings_.WarnQuickClose = true;
  Store();
  // The exception goes on to wine's debugger; without its dialog, it ends the process.
  HKEY debugger = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineDbg", 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &debugger, nullptr));
  const DWORD noDialog = 0;
  ::RegSetValueExA(debugger, "ShowCrashDialog", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&noDialog),
                   sizeof noDialog);
  ::RegCloseKey(debugger);
  for (const char* fault : {"exception", "terminate", "abort"}) {
    ::SetEnvironmentVariableA("OMBRIX_TEST_FAULT", fault);
    OmbrixRun ombrix("\"" + TargetExe + "\" \"/window=E2E Crash\"");
    ::SetEnvironmentVariableA("OMBRIX_TEST_FAULT", nullptr);
    HWND main = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (main = FindVisible("E2E Crash")) != nullptr; })) << fault;
    ombrix.DoubleClickIcon();
    // The run time's "abnormal program termination" box comes before abort's signal.
    EXPECT_TRUE(WaitFor([&] {
      ombrix.CloseItsBoxes();
      return !ombrix.Running();
    })) << fault
        << ": Ombrix did not fail";
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; })) << fault << ": the target is left hidden";
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(main); })) << fault;
  }
}

bool HiddenRecordExists() {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(SettingsKey) + "\\Hidden").c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  ::RegCloseKey(key);
  return true;
}

// taskkill /f runs nothing of Ombrix: the target stays hidden until OmbrixHub (or another
// Ombrix) starts and finds the record of what Ombrix hid. A second Ombrix still running
// keeps its own target hidden.
TEST_F(OmbrixEndToEnd, ForcedEndLeavesTheTargetHiddenUntilOmbrixHubStarts) {
  settings_.WarnQuickClose = true;
  Store();
  OmbrixRun killed("\"" + TargetExe + "\" \"/window=E2E Forced\"");
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = FindVisible("E2E Forced")) != nullptr; }));
  // A maximized program comes back maximized.
  ::ShowWindow(main, SW_MAXIMIZE);
  ASSERT_TRUE(killed.ToggleTwice(main));
  EXPECT_TRUE(::IsZoomed(main)) << "shown again at its normal size";
  killed.DoubleClickIcon();
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(main); }));
  EXPECT_TRUE(HiddenRecordExists()) << "no record once hidden";
  OmbrixRun other("\"" + TargetExe + "\" \"/window=E2E Other\"");
  const HWND otherMain = FoundThenHidden(other, "E2E Other");
  ASSERT_NE(nullptr, otherMain);

  EXPECT_EQ(0, RunToEnd("taskkill.exe /f /pid " + std::to_string(killed.ProcessId())));
  ASSERT_TRUE(killed.Ended());
  ASSERT_FALSE(::IsWindowVisible(main)) << "nothing of a forced end runs";
  ASSERT_TRUE(HiddenRecordExists()) << "Ombrix keeps no record of what it hid";

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION hub{};
  std::string commandLine = "\"" + WindowsPath(OMBRIX_HUB_EXE) + "\"";
  ASSERT_TRUE(
      ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &hub));
  const std::string told = other.AnswerBox(IDOK, "Vorel Ombrix - Control Center");
  EXPECT_NE(std::string::npos, told.find(TargetExe)) << told;
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; })) << "the target is left hidden";
  EXPECT_TRUE(::IsZoomed(main));
  EXPECT_FALSE(::IsWindowVisible(otherMain)) << "the running Ombrix's target was shown";
  ::TerminateProcess(hub.hProcess, 0);
  ::WaitForSingleObject(hub.hProcess, 5000);
  ::CloseHandle(hub.hThread);
  ::CloseHandle(hub.hProcess);

  // The other Ombrix ends normally with its target: no record is left behind.
  EXPECT_TRUE(HiddenRecordExists());
  other.DoubleClickIcon();
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(otherMain) != FALSE; }));
  ::PostMessageA(otherMain, WM_CLOSE, 0, 0);
  EXPECT_TRUE(other.Ended());
  EXPECT_FALSE(HiddenRecordExists());
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(main); }));
}

TEST_F(OmbrixEndToEnd, TrayMenuOpenedByARightClickAnswersTheKeyboard) {
  testing::XdoBridge user;
  ASSERT_TRUE(user.Available()) << "run through tests/win32/xdo-bridge.sh, which clicks and types";
  settings_.WarnQuickClose = true;
  Store();
  OmbrixRun ombrix("\"" + TargetExe + "\" \"/window=E2E Menu\"");
  const HWND main = FoundThenHidden(ombrix, "E2E Menu");
  ASSERT_NE(nullptr, main) << "the target was not found, or not hidden";

  const auto menuOpen = [] { return FindVisible(nullptr, "#32768") != nullptr; };
  ASSERT_TRUE(user.TrayRightClick());
  ASSERT_TRUE(WaitFor(menuOpen, 5000)) << "no menu opened";
  ASSERT_TRUE(user.Key("Escape"));
  EXPECT_TRUE(WaitFor([&] { return !menuOpen(); }, 5000)) << "Esc did not close the menu";
  EXPECT_FALSE(::IsWindowVisible(main));

  // Down from no item is the first one, "&Show program window".
  ASSERT_TRUE(user.TrayRightClick());
  ASSERT_TRUE(WaitFor(menuOpen, 5000)) << "no menu opened the second time";
  ASSERT_TRUE(user.Key("Down Return"));
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, 5000))
      << "Down and Enter did not choose \"&Show program window\"";
  EXPECT_TRUE(WaitFor([&] { return !menuOpen(); }, 5000));
  if (menuOpen()) user.Key("Escape");
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(ombrix.Ended());
}

// The hot key pressed on the keyboard (xdotool), while another program's window has it: it
// hides the target and shows it in front again. A second Ombrix given the same key says that
// another program holds it, and goes on without it.
TEST_F(OmbrixEndToEnd, HotKeyHidesAndShowsTheTargetAndASecondOmbrixFindsItTaken) {
  testing::XdoBridge user;
  ASSERT_TRUE(user.Available()) << "run through tests/win32/xdo-bridge.sh, which clicks and types";
  settings_.WarnQuickClose = true;
  settings_.HotKey = 'N' | (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8;
  Store();
  OmbrixRun ombrix("\"" + TargetExe + "\" \"/window=E2E Keyed\"");
  HWND keyed = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (keyed = FindVisible("E2E Keyed")) != nullptr; }));
  ASSERT_TRUE(ombrix.ToggleTwice(keyed));

  OmbrixRun second("\"" + TargetExe + "\" \"/window=E2E Second\"");
  EXPECT_EQ("The hot key Ctrl+Alt+N of\r\n" + TargetExe +
                "\r\nis in use by another program. Ombrix goes on without it;\r\n\"Configure\" can give the "
                "program another one.",
            second.AnswerBox(IDOK));
  HWND other = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (other = FindVisible("E2E Second")) != nullptr; }));
  EXPECT_TRUE(second.ToggleTwice(other)) << "the second Ombrix went on";

  // The keyboard with the second target.
  ASSERT_TRUE(user.Click(testing::XdoBridge::CenterOf(other)));
  ASSERT_TRUE(user.Key("ctrl+alt+n"));
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(keyed); }, 5000)) << "the hot key did not hide the target";
  EXPECT_TRUE(::IsWindowVisible(other)) << "the key is the first Ombrix's only";
  ASSERT_TRUE(user.Key("ctrl+alt+n"));
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(keyed) != FALSE; }, 5000)) << "the hot key did not show it";
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == keyed; }, 5000)) << "shown, but not in front";

  ::PostMessageA(other, WM_CLOSE, 0, 0);
  EXPECT_TRUE(second.Ended());
  ::PostMessageA(keyed, WM_CLOSE, 0, 0);
  EXPECT_TRUE(ombrix.Ended());
}

// F1 pressed in the configuration dialog opens the system's help viewer on Ombrix.chm beside
// Ombrix.exe: a window of Ombrix's own process (the viewer runs in the process that asks)
// captioned with the help file's title. Wine's viewer shows the contents and the topic's
// place; the topic's page stays blank, since the prefix has no browser engine to draw it.
TEST_F(OmbrixEndToEnd, F1InTheConfigurationDialogOpensTheHelpViewer) {
  testing::XdoBridge user;
  ASSERT_TRUE(user.Available()) << "run through tests/win32/xdo-bridge.sh, which clicks and types";
  settings_.WarnQuickClose = true;
  Store();
  OmbrixRun ombrix("\"" + TargetExe + "\" \"/window=E2E Help\"");
  const HWND main = FoundThenHidden(ombrix, "E2E Help");
  ASSERT_NE(nullptr, main) << "the target was not found, or not hidden";

  // "&Configure" is the fourth item of the tray menu.
  ASSERT_TRUE(user.TrayRightClick());
  ASSERT_TRUE(WaitFor([] { return FindVisible(nullptr, "#32768") != nullptr; }, 5000)) << "no menu opened";
  ASSERT_TRUE(user.Key("Down Down Down Down Return"));
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindVisible("Configure this program for Ombrix")) != nullptr; }))
      << "the configuration dialog did not open";
  const auto viewer = [&]() -> HWND {
    for (HWND window = ::FindWindowA(nullptr, nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
      DWORD process = 0;
      ::GetWindowThreadProcessId(window, &process);
      if (process == ombrix.ProcessId() && ::IsWindowVisible(window) && TextOf(window) == "Vorel Ombrix Help") {
        return window;
      }
    }
    return nullptr;
  };
  EXPECT_EQ(nullptr, viewer());
  // The keyboard goes where the user clicked last: into the file name box.
  POINT inFileName{100, 76};
  ::ClientToScreen(dialog, &inFileName);
  ASSERT_TRUE(user.Click(inFileName));
  ASSERT_TRUE(user.Key("F1"));
  EXPECT_TRUE(WaitFor([&] { return viewer() != nullptr; }, 10000)) << "F1 opened no help viewer";
  EXPECT_EQ(nullptr, ::FindWindowA("#32770", Title)) << "Ombrix reported a problem with its help file";
  ::CreateDirectoryA(WindowsPath(OMBRIX_SCREENSHOT_DIR).c_str(), nullptr);
  EXPECT_TRUE(user.Screenshot(WindowsPath(OMBRIX_SCREENSHOT_DIR) + "\\help-viewer.png"));

  if (HWND shown = viewer()) ::PostMessageA(shown, WM_CLOSE, 0, 0);
  ::PostMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); })) << "the configuration dialog stayed open";
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(ombrix.Ended());
}

TEST_F(OmbrixEndToEnd, TextDocumentOfTheTypeAsWindowsRegistersItStartsNotepadIntoTheTray) {
  // Windows keeps the .txt command as an expandable string; wine's own prefix does not.
  const ClassDefault extension(".txt", REG_SZ, "txtfile");
  const ClassDefault command("txtfile\\shell\\open\\command", REG_EXPAND_SZ, "%SystemRoot%\\system32\\NOTEPAD.EXE %1");
  ASSERT_TRUE(extension.Set() && command.Set());
  std::vector<char> expanded(MAX_PATH * 2, '\0');
  ::ExpandEnvironmentStringsA("%SystemRoot%\\system32\\NOTEPAD.EXE", expanded.data(),
                              static_cast<DWORD>(expanded.size()));
  TAppSettings notepad = DefaultAppSettings(expanded.data());
  notepad.WarnQuickClose = true;
  notepad.ShowState = 1;
  TRegistryEnhanced registry(platform_);
  TAppSettingsStore store(platform_, registry);
  store.SaveSettings(notepad, false);

  // Beside the other document, in a folder without blanks.
  std::string document = WindowsPath(OMBRIX_DOCUMENT);
  document = document.substr(0, document.rfind('\\') + 1) + "e2e-notes.txt";
  ASSERT_TRUE(platform_.Files().WriteFileBytes(document, "notes"));
  {
    OmbrixRun ombrix("\"" + document + "\"");
    HWND window = nullptr;
    HWND box = nullptr;
    WaitFor([&] { return (box = ::FindWindowA("#32770", Title)) || FindVisible(nullptr, "Notepad"); });
    if (box) ADD_FAILURE() << "Ombrix said: " << ombrix.AnswerBox(IDOK);
    EXPECT_TRUE(WaitFor([&] { return (window = FindVisible(nullptr, "Notepad")) != nullptr; }))
        << "wine's Notepad did not start";
    if (window) {
      EXPECT_TRUE(ombrix.ToggleTwice(window)) << "Notepad is not in Ombrix's tray";
      ::PostMessageA(window, WM_CLOSE, 0, 0);
      EXPECT_TRUE(ombrix.Ended());
    }
  }
  store.DeleteSettings(notepad.Filename);
  platform_.Files().DeleteFileA(document);
}

// A launcher that starts the real program and ends at once: the real program's window is
// taken, and test mode says where it came from.
TEST_F(OmbrixEndToEnd, TheProgramALauncherStartsIsTakenAndTestModeSaysSo) {
  settings_.DebugMode = true;
  settings_.WarnQuickClose = true;  // the run is quicker than the quick-close warning
  Store();
  OmbrixRun ombrix("\"" + TargetExe + "\" \"/child='/window=E2E Launched'\" /delay=60000 /exit=0");
  // Each test-mode box in turn: the next once the one answered has gone.
  const auto answer = [&ombrix] {
    const std::string text = ombrix.AnswerBox(IDOK);
    WaitFor([&] {
      HWND box = ::FindWindowA("#32770", Title);
      return !box || TextOf(::GetDlgItem(box, 0xFFFF)) != text;
    });
    return text;
  };
  const std::string report = answer();
  EXPECT_NE(std::string::npos, report.find("< E2E Launched >")) << report;
  const std::string origin = "Taken from a program the started one started:\r\n";
  const size_t at = report.find(origin);
  ASSERT_NE(std::string::npos, at) << report;
  const std::string file = report.substr(at + origin.size());
  EXPECT_EQ(0, ::lstrcmpiA(file.c_str(), TargetExe.c_str())) << file;
  EXPECT_NE(std::string::npos, answer().find("This is the main window you configured."));
  EXPECT_EQ("End of detected windows.", answer());

  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = FindVisible("E2E Launched")) != nullptr; }));
  ASSERT_TRUE(ombrix.ToggleTwice(window)) << "the launched program is not in Ombrix's tray";
  ::ShowWindow(window, SW_MINIMIZE);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(window); }, 3000)) << "minimizing does not hide it";
  EXPECT_TRUE(ombrix.Running()) << "the launcher's end ended Ombrix";
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(ombrix.Ended());
}

// A single-instance program passes its command to the copy already running and ends: the
// window that copy opens is taken, the one it had before is not.
TEST_F(OmbrixEndToEnd, TheWindowARunningCopyOpensForTheStartedOneIsTaken) {
  settings_.WarnQuickClose = true;
  Store();
  std::string commandLine = "\"" + TargetExe + "\" \"/window=E2E Running copy\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION copy{};
  ASSERT_TRUE(
      ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &copy));
  HWND before = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (before = FindVisible("E2E Running copy")) != nullptr; }));
  {
    OmbrixRun ombrix("\"" + TargetExe + "\" \"/handover=E2E Handed over\"");
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindVisible("E2E Handed over")) != nullptr; }));
    ASSERT_TRUE(ombrix.ToggleTwice(window)) << "the handed-over window is not in Ombrix's tray";
    ombrix.DoubleClickIcon();
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(window); }));
    EXPECT_TRUE(::IsWindowVisible(before)) << "a window that was there before was taken";
    ombrix.DoubleClickIcon();
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(window) != FALSE; }));
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(ombrix.Ended());
  }
  ::PostMessageA(before, WM_CLOSE, 0, 0);
  ::WaitForSingleObject(copy.hProcess, 5000);
  ::CloseHandle(copy.hThread);
  ::CloseHandle(copy.hProcess);
}

// Wine's write.exe starts WordPad and ends; with no stored settings, WordPad is what Ombrix
// keeps in the tray.
TEST_F(OmbrixEndToEnd, WriteStartsWordPadWhichIsKeptInTheTray) {
  const char WordPadClass[] = "WORDPADTOP";  // wine's WordPad's main window
  std::vector<char> system(MAX_PATH, '\0');
  ::GetSystemDirectoryA(system.data(), MAX_PATH);
  const std::string write = std::string(system.data()) + "\\write.exe";
  TRegistryEnhanced registry(platform_);
  TAppSettingsStore(platform_, registry).DeleteSettings(write);
  OmbrixRun ombrix("\"" + write + "\"");
  HWND wordPad = nullptr;
  // On a slow machine WordPad may come after the default three seconds: then Ombrix asks,
  // and the answer is to look again.
  ASSERT_TRUE(WaitFor(
      [&] {
        if (HWND box = ::FindWindowA("#32770", "Confirmation")) ::PostMessageA(box, WM_COMMAND, IDYES, 0);
        wordPad = ::FindWindowA(WordPadClass, nullptr);
        return wordPad != nullptr;
      },
      30000))
      << "wine's WordPad did not start";
  // Minimized (as the default show state starts it, if write.exe passes that on), it is
  // hidden once Ombrix has it; a double click then shows it.
  ::ShowWindow(wordPad, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor(
      [&] {
        if (HWND box = ::FindWindowA("#32770", "Confirmation")) ::PostMessageA(box, WM_COMMAND, IDYES, 0);
        return !::IsWindowVisible(wordPad);
      },
      30000))
      << "WordPad was not hidden";
  ombrix.DoubleClickIcon();
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(wordPad) != FALSE; })) << "WordPad is not in Ombrix's tray";
  ::ShowWindow(wordPad, SW_MINIMIZE);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(wordPad); }, 3000)) << "minimizing does not hide it";
  ombrix.DoubleClickIcon();
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(wordPad) != FALSE; }));
  ::PostMessageA(wordPad, WM_CLOSE, 0, 0);
  // Closed within five seconds of being found, Ombrix asks first; "No" ends it.
  EXPECT_TRUE(WaitFor([&] {
    if (HWND box = ::FindWindowA("#32770", Title)) ::PostMessageA(box, WM_COMMAND, IDNO, 0);
    return !ombrix.Running();
  }));
  TAppSettingsStore(platform_, registry).DeleteSettings(write);
}

// The visible top-level window of a process with a control that shows `text`; nullptr if none.
struct ShowingSearch {
  DWORD processId;
  const std::string& text;
  HWND found;
};

BOOL CALLBACK SearchChild(HWND child, LPARAM data) {
  auto& search = *reinterpret_cast<ShowingSearch*>(data);
  if (TextOf(child) == search.text) search.found = ::GetAncestor(child, GA_ROOT);
  return search.found == nullptr;
}

BOOL CALLBACK SearchTopLevel(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<ShowingSearch*>(data);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process == search.processId && ::IsWindowVisible(window)) ::EnumChildWindows(window, SearchChild, data);
  return search.found == nullptr;
}

HWND WindowShowing(DWORD processId, const std::string& text) {
  ShowingSearch search{processId, text, nullptr};
  ::EnumWindows(SearchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The text of the shown tooltip windows (the tray's tip among them), in UTF-8. The text is
// asked for in UTF-16, which the system carries between processes whatever their code pages.
std::vector<std::string> ShownTips() {
  std::vector<std::string> tips;
  for (HWND tip = nullptr; (tip = ::FindWindowExA(nullptr, tip, "tooltips_class32", nullptr)) != nullptr;) {
    if (!::IsWindowVisible(tip)) continue;
    wchar_t wide[256] = {};
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(tip, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, 2000, &length)) {
      continue;
    }
    char text[1024] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), text, sizeof text - 1, nullptr, nullptr);
    tips.push_back(text);
  }
  return tips;
}

// A program in a folder named in Japanese, Greek and an emoji, started through a shortcut
// named in Japanese whose arguments give its window a caption in Japanese and Greek: found by
// process with its entry in the registry, by name with its entry in the INI file; the tray tip
// (cut on a whole character) and Program information show the caption. This test program runs
// in UTF-8, as Ombrix does, so its texts are UTF-8 too.
TEST_F(OmbrixEndToEnd, ProgramNamedInAnyScriptIsFoundStoredAndShown) {
  ASSERT_EQ(CP_UTF8, ::GetACP()) << "the test program does not run in UTF-8";
  testing::XdoBridge user;
  ASSERT_TRUE(user.Available()) << "run through tests/win32/xdo-bridge.sh, which clicks and types";
  const std::string folder =
      platform_.Files().GetTempPathA() +
      "Ombrix \xE6\x97\xA5\xE6\x9C\xAC \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 \xF0\x9F\x98\x80\\";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const std::string program = folder + "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.exe";
  ASSERT_TRUE(::CopyFileA(TargetExe.c_str(), program.c_str(), FALSE)) << program;
  // 61 bytes of Japanese and Greek, then an emoji whose four bytes the 62 of the tip cannot take.
  const std::string tip =
      "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x82\xA6\xE3\x82\xA3\xE3\x83\xB3\xE3\x83\x89\xE3\x82\xA6 "
      "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCF\x8C "
      "\xCF\x80\xCE\xB1\xCF\x81\xCE\xAC\xCE\xB8\xCF\x85\xCF\x81\xCE\xBF";
  ASSERT_EQ(61u, tip.size());
  const std::string caption = tip + "\xF0\x9F\x98\x80";
  const std::string shortcut = folder + "\xE3\x82\xB7\xE3\x83\xA7\xE3\x83\xBC\xE3\x83\x88.lnk";
  TShellLinkWrapper link(platform_);
  link.SetFileName(shortcut);
  link.SetTarget(program);
  link.SetArguments("\"/window=" + caption + "\"");
  link.WriteLink();

  const std::string ombrixIni = OmbrixExe.substr(0, OmbrixExe.size() - 4) + ".ini";
  settings_ = DefaultAppSettings(program);
  settings_.ShowState = 1;
  settings_.WarnQuickClose = true;
  for (bool useIni : {false, true}) {
    SCOPED_TRACE(useIni ? "by name, in the INI file" : "by process, in the registry");
    settings_.MinimizeType = !useIni;
    settings_.WindowCaption = useIni ? caption : "";
    TRegistryEnhanced registry(platform_);
    TAppSettingsStore store(platform_, registry, {SettingsKey, ombrixIni});
    store.SaveSettings(settings_, useIni);
    if (useIni) {
      std::string bytes;
      ASSERT_TRUE(platform_.Files().ReadFileBytes(ombrixIni, bytes));
      EXPECT_TRUE(IsUtf8(bytes) && bytes.find(caption) != std::string::npos) << "the INI file holds UTF-8";
    }
    {
      OmbrixRun ombrix("\"" + shortcut + "\"");
      HWND window = nullptr;
      HWND box = nullptr;
      WaitFor([&] { return (box = ::FindWindowA("#32770", Title)) || FindVisible(caption.c_str()); });
      if (box) ADD_FAILURE() << "Ombrix said: " << ombrix.AnswerBox(IDOK);
      ASSERT_TRUE(WaitFor([&] { return (window = FindVisible(caption.c_str())) != nullptr; }));
      ASSERT_TRUE(ombrix.ToggleTwice(window)) << "the program is not in Ombrix's tray";
      // Hidden, so that its window does not cover the notification area.
      ombrix.DoubleClickIcon();
      ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(window); }));

      ASSERT_TRUE(user.TrayHover());
      EXPECT_TRUE(WaitFor(
          [&] {
            const std::vector<std::string> tips = ShownTips();
            return std::find(tips.begin(), tips.end(), tip) != tips.end();
          },
          5000))
          << "the tray tip is not the caption cut on a whole character";

      // "Program &information" is the third item of the tray menu.
      ASSERT_TRUE(user.TrayRightClick());
      ASSERT_TRUE(WaitFor([] { return FindVisible(nullptr, "#32768") != nullptr; }, 5000)) << "no menu opened";
      ASSERT_TRUE(user.Key("Down Down Down Return"));
      HWND information = nullptr;
      EXPECT_TRUE(WaitFor([&] { return (information = WindowShowing(ombrix.ProcessId(), caption)) != nullptr; }))
          << "Program information does not show the caption";
      EXPECT_NE(nullptr, WindowShowing(ombrix.ProcessId(), program)) << "nor the program's name";
      if (information) {
        EXPECT_TRUE(
            user.Screenshot(WindowsPath(OMBRIX_SCREENSHOT_DIR) + (useIni ? "\\info-by-name.png" : "\\info.png")));
        ::PostMessageA(information, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(information); }));
      }
      ::PostMessageA(window, WM_CLOSE, 0, 0);
      EXPECT_TRUE(ombrix.Ended());
    }
    store.DeleteSettings(program);
    ::DeleteFileA(ombrixIni.c_str());
  }
  ::DeleteFileA(shortcut.c_str());
  ::DeleteFileA(program.c_str());
  ::RemoveDirectoryA(folder.c_str());
}

TEST_F(OmbrixEndToEnd, MissingFileIsReportedAndEndsOmbrix) {
  const std::string missing = "C:\\no such folder\\nothing.exe";
  OmbrixRun ombrix("\"" + missing + "\"");
  EXPECT_EQ(missing + "\r\nnot found!\r\nPlease verify your program location.", ombrix.AnswerBox(IDOK));
  EXPECT_TRUE(ombrix.Ended());
}

// What only 64-bit Windows shows, for both builds in the 64-bit prefix: the 32-bit one runs
// under WOW64 there, where System32 is SysWOW64 and %ProgramFiles% the (x86) folder, and must
// still start the programs of the 64-bit system the user means.
class On64BitWindows : public OmbrixEndToEnd {};

TEST_F(On64BitWindows, TargetsOfThe64BitSystemStart) {
  BOOL wow64 = FALSE;
  ::IsWow64Process(::GetCurrentProcess(), &wow64);
  ASSERT_TRUE(sizeof(void*) == 8 || wow64) << "run in the 64-bit prefix";
  char programFiles[MAX_PATH] = {};
  ASSERT_NE(0u, ::GetEnvironmentVariableA("ProgramW6432", programFiles, MAX_PATH));
  // Placed in the 64-bit system's folders only; this test, when 32-bit, reaches System32
  // through Sysnative.
  const std::string system32Only = "C:\\windows\\system32\\ombrixe2e64.exe";
  const std::string placed = wow64 ? "C:\\windows\\Sysnative\\ombrixe2e64.exe" : system32Only;
  const std::string folder = std::string(programFiles) + "\\OmbrixE2E";
  const std::string program = folder + "\\OmbrixTarget.exe";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(::CopyFileA(TargetExe.c_str(), placed.c_str(), FALSE)) << placed;
  ASSERT_TRUE(::CopyFileA(TargetExe.c_str(), program.c_str(), FALSE)) << program;
  const std::string document = WindowsPath(OMBRIX_DOCUMENT) + "64";
  ASSERT_TRUE(platform_.Files().WriteFileBytes(document, "document"));
  const testing::ClassDefault type(".ombrixe2e64", REG_SZ, "OmbrixE2E.Document64");
  const testing::ClassDefault command("OmbrixE2E.Document64\\Shell\\Open\\Command", REG_EXPAND_SZ,
                                      "\"%ProgramFiles%\\OmbrixE2E\\OmbrixTarget.exe\" \"/window=%1\"");
  ASSERT_TRUE(type.Set() && command.Set());
  // Wine reads the link as it is; Windows would hand a 32-bit reader the (x86) folder.
  const std::string shortcut = folder + "\\E2E Program Files.lnk";
  TShellLinkWrapper link(platform_);
  link.SetFileName(shortcut);
  link.SetTarget(program);
  link.SetArguments("\"/window=E2E Program Files\"");
  link.WriteLink();

  struct Case {
    std::string arguments;
    std::string caption;  // of the window the right program shows
  };
  const Case cases[] = {
      {system32Only + " \"/window=E2E System32\"", "E2E System32"},
      {"\"" + document + "\"", document},
      {"\"" + shortcut + "\"", "E2E Program Files"},
  };
  // Shown normally, under each name Ombrix may know the program by.
  const std::string known[] = {system32Only, "C:\\windows\\Sysnative\\ombrixe2e64.exe", program};
  for (const std::string& file : known) {
    settings_ = DefaultAppSettings(file);
    settings_.ShowState = 1;
    settings_.WarnQuickClose = true;
    Store();
  }
  for (const Case& test : cases) {
    OmbrixRun ombrix(test.arguments);
    HWND window = nullptr;
    HWND box = nullptr;
    WaitFor([&] { return (box = ::FindWindowA("#32770", Title)) || FindVisible(test.caption.c_str()); });
    if (box) ADD_FAILURE() << test.arguments << ": Ombrix said: " << ombrix.AnswerBox(IDOK);
    EXPECT_TRUE(WaitFor([&] { return (window = FindVisible(test.caption.c_str())) != nullptr; })) << test.arguments;
    if (!window) continue;
    // Ombrix keeps the program it started in the tray, and ends with it.
    EXPECT_TRUE(ombrix.ToggleTwice(window)) << test.arguments;
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(ombrix.Ended()) << test.arguments;
  }
  for (const std::string& file : known) {
    TRegistryEnhanced registry(platform_);
    TAppSettingsStore(platform_, registry).DeleteSettings(file);
  }
  ::DeleteFileA(shortcut.c_str());
  ::DeleteFileA(program.c_str());
  ::RemoveDirectoryA(folder.c_str());
  ::DeleteFileA(placed.c_str());
  platform_.Files().DeleteFileA(document);
}

}  // namespace
}  // namespace ombrix
