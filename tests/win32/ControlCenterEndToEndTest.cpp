// OmbrixHub.exe as a user runs it, under wine: real clicks and typing (made outside wine by
// xdo-bridge.sh) on its pages; the shortcut it writes is read back by the real shell-link
// object, and its test run starts Ombrix through the real shell.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "center/ControlCenter.h"
#include "controls/sim/SimFormHost.h"
#include "platform/ShellLnk.h"
#include "platform/win32/Win32Platform.h"
#include "settings/AppSettings.h"
#include "tests/win32/ClassDefault.h"
#include "tests/win32/Waiting.h"
#include "tests/win32/XdoBridge.h"

namespace ombrix {
namespace {

using testing::ClassDefault;
using testing::WaitFor;
using testing::WindowsPath;

using testing::XdoBridge;

const std::string HubExe = WindowsPath(OMBRIX_HUB_EXE);
const std::string TargetExe = WindowsPath(OMBRIX_TARGET_EXE);
const std::string ScreenshotDir = WindowsPath(OMBRIX_SCREENSHOT_DIR);
const char* const ShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const MainCaption = "Vorel Ombrix Control Center";
// How the Win32 form host numbers the windows of a form's controls: from 100, in the order
// the form declares them.
constexpr int FirstControlId = 100;

std::string TextOf(HWND window) {
  std::vector<char> buffer(1024, '\0');
  const LRESULT length = ::SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

// Wine draws the frames of these programs itself under Xvfb (see FormDriver.h).
void DrawOwnFrames(const std::string& program) {
  const std::string key = "Software\\Wine\\AppDefaults\\" + program + "\\X11 Driver";
  HKEY options = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &options, nullptr) ==
      ERROR_SUCCESS) {
    for (const char* name : {"Decorated", "Managed"})
      ::RegSetValueExA(options, name, 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    ::RegCloseKey(options);
  }
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK FindControlWindow(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<ControlSearch*>(data);
  if (::GetDlgCtrlID(child) != search->id) return TRUE;
  search->found = child;
  return FALSE;
}

// The window of one of TfrmMain's controls in the running OmbrixHub: the model of the same
// window, made over the simulated desktop, says which number the host gave it.
class HubWindow {
 public:
  HubWindow() : host_(simPlatform_), model_(simPlatform_, host_) {}

  bool Find() {
    return WaitFor([this] {
      main_ = ::FindWindowA(nullptr, MainCaption);
      return main_ && ::IsWindowVisible(main_);
    });
  }
  HWND Main() const { return main_; }

  HWND Control(const std::string& name) const {
    const auto& all = model_.Controls();
    const auto place = std::find(all.begin(), all.end(), model_.FindControl(name));
    ControlSearch search{FirstControlId + static_cast<int>(place - all.begin()), nullptr};
    ::EnumChildWindows(main_, FindControlWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

 private:
  sim::SimPlatform simPlatform_;
  sim::SimFormHost host_;
  TfrmMain model_;
  HWND main_ = nullptr;
};

class ControlCenterEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xdo_.Available()) << "run through tests/win32/xdo-bridge.sh, which clicks and types";
    DrawOwnFrames("OmbrixHub.exe");
    DrawOwnFrames("Ombrix.exe");
    desktop_ = platform_.Files().GetTempPathA() + "ombrix hub desktop";
    ::CreateDirectoryA(desktop_.c_str(), nullptr);
    savedDesktop_ = ReadShellFolder();
    WriteShellFolder(desktop_);
    ::CreateDirectoryA(ScreenshotDir.c_str(), nullptr);
    // Shown normally, so that the windows Ombrix starts with can be seen.
    TAppSettings settings = DefaultAppSettings(TargetExe);
    settings.ShowState = 1;
    settings.WarnQuickClose = true;  // the run is quicker than the quick-close warning
    TRegistryEnhanced registry(platform_);
    TAppSettingsStore(platform_, registry).SaveSettings(settings, false);
  }
  void TearDown() override {
    WriteShellFolder(savedDesktop_);
    ::DeleteFileA(Shortcut().c_str());
    ::RemoveDirectoryA(desktop_.c_str());
    TRegistryEnhanced registry(platform_);
    TAppSettingsStore(platform_, registry).DeleteSettings(TargetExe);
    // Whatever a failed check left running would keep the test's output open.
    if (ombrix_) {
      if (::WaitForSingleObject(ombrix_, 0) == WAIT_TIMEOUT) ::TerminateProcess(ombrix_, 1);
      ::CloseHandle(ombrix_);
    }
    if (HANDLE target = targetId_ ? ::OpenProcess(PROCESS_TERMINATE, FALSE, targetId_) : nullptr) {
      ::TerminateProcess(target, 1);
      ::CloseHandle(target);
    }
    if (hub_.hProcess) {
      if (::WaitForSingleObject(hub_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(hub_.hProcess, 1);
      ::CloseHandle(hub_.hThread);
      ::CloseHandle(hub_.hProcess);
    }
  }

  // The shell's side of a double click on the icon: the callback messages to Ombrix's
  // utility windows (the one that owns the icon acts on them).
  static void DoubleClickIcon(DWORD ombrixId) {
    for (LPARAM mouse : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
      for (HWND w = ::FindWindowA("OmbrixUtilityWindow", nullptr); w;
           w = ::FindWindowExA(nullptr, w, "OmbrixUtilityWindow", nullptr)) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(w, &process);
        if (process == ombrixId) ::PostMessageA(w, WM_USER + 1, 0, mouse);
      }
    }
  }

  std::string Shortcut() const { return desktop_ + "\\Hub Test.lnk"; }

  std::string ReadShellFolder() {
    TRegistryEnhanced registry(platform_);
    registry.RootKey = TRootKey::hkCurrentUser;
    registry.Key = ShellFolders;
    return registry.ReadValue("Desktop").AsString();
  }
  void WriteShellFolder(const std::string& path) {
    TRegistryEnhanced registry(platform_);
    registry.RootKey = TRootKey::hkCurrentUser;
    registry.Key = ShellFolders;
    registry.WriteValue("Desktop", path);
  }

  bool StartHub() {
    std::string commandLine = "\"" + HubExe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &hub_) != FALSE;
  }

  // Page `page` of the running OmbrixHub, reached with a real click on the first tab and the
  // arrow keys.
  bool ShowPage(const HubWindow& hub, int page) {
    HWND tabs = hub.Control("pcControlCenter");
    RECT area{};
    ::GetWindowRect(tabs, &area);
    if (!tabs || !xdo_.Click(POINT{area.left + 24, area.top + 10})) return false;
    for (int right = 0; right < page; ++right) {
      if (!xdo_.Key("Right")) return false;
    }
    return WaitFor([&] { return ::SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == page; }, 5000);
  }

  // Clicks into an edit box and types over what it holds.
  void TypeInto(HWND box, const std::string& text) {
    ASSERT_TRUE(box);
    ASSERT_TRUE(xdo_.Click(XdoBridge::CenterOf(box)));
    ASSERT_TRUE(xdo_.Key("ctrl+a BackSpace"));
    ASSERT_TRUE(xdo_.Type(text));
    EXPECT_TRUE(WaitFor([&] { return TextOf(box) == text; }, 5000)) << TextOf(box);
  }

  win32::Win32Platform platform_;
  XdoBridge xdo_;
  std::string desktop_;
  std::string savedDesktop_;
  PROCESS_INFORMATION hub_{};
  HANDLE ombrix_ = nullptr;
  DWORD targetId_ = 0;
};

TEST_F(ControlCenterEndToEnd, ThreePagesAShortcutWrittenAndOneTried) {
  ASSERT_TRUE(StartHub());
  HubWindow hub;
  ASSERT_TRUE(hub.Find()) << "the control center's window";

  // Each page, reached with real clicks on its tab and the arrow keys, into a screenshot.
  HWND tabs = hub.Control("pcControlCenter");
  ASSERT_TRUE(tabs);
  RECT area{};
  ::GetWindowRect(tabs, &area);
  ASSERT_TRUE(xdo_.Click(POINT{area.left + 24, area.top + 10}));
  const char* const pages[] = {"shortcut", "context-menu", "stored-settings"};
  for (int page = 0; page < 3; ++page) {
    if (page > 0) {
      ASSERT_TRUE(xdo_.Key("Right"));
    }
    EXPECT_TRUE(WaitFor([&] { return ::SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == page; }, 5000)) << pages[page];
    ::Sleep(300);  // the page's controls repaint
    EXPECT_TRUE(xdo_.Screenshot(ScreenshotDir + "\\hub-" + pages[page] + "-96.png"));
  }
  ASSERT_TRUE(xdo_.Key("Left Left"));
  ASSERT_TRUE(WaitFor([&] { return ::SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 0; }, 5000));

  // A shortcut to the target program on the desktop folder the user's Shell Folders name.
  TypeInto(hub.Control("ebxDescription"), "Hub Test");
  TypeInto(hub.Control("ebxFilename"), TargetExe);
  TypeInto(hub.Control("ebxParameters"), "\"/window=Hub Test\"");
  ASSERT_TRUE(xdo_.Click(XdoBridge::CenterOf(hub.Control("btnCreateShortcut"))));
  ASSERT_TRUE(WaitFor([&] { return ::GetFileAttributesA(Shortcut().c_str()) != INVALID_FILE_ATTRIBUTES; }))
      << Shortcut();
  TShellLinkWrapper link(platform_);
  link.SetFileName(Shortcut());
  link.ReadLink();
  const std::string hubFolder = HubExe.substr(0, HubExe.find_last_of('\\') + 1);
  EXPECT_EQ(WindowsPath(hubFolder + "Ombrix.Exe"), link.Target());
  EXPECT_EQ(TargetExe + " \"/window=Hub Test\"", link.Arguments());
  EXPECT_EQ(TargetExe, link.FileIcon().FileName());

  // Tried at once: the real shell opens a temporary copy, which starts Ombrix with the target.
  ASSERT_TRUE(xdo_.Click(XdoBridge::CenterOf(hub.Control("btnTestThisShortCut"))));
  HWND target = nullptr;
  ASSERT_TRUE(
      WaitFor([&] { return (target = ::FindWindowA(nullptr, "Hub Test")) && ::IsWindowVisible(target); }, 30000))
      << "the target started through Ombrix";
  // Ombrix keeps it in the tray: the icon's double click (the shell's callback to Ombrix's
  // window) hides the target, the next shows it, and the target's end ends Ombrix.
  HWND ombrix = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (ombrix = ::FindWindowA("OmbrixUtilityWindow", nullptr)) != nullptr; }));
  DWORD ombrixId = 0;
  ::GetWindowThreadProcessId(ombrix, &ombrixId);
  ombrix_ = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, ombrixId);
  ::GetWindowThreadProcessId(target, &targetId_);
  // Clicks made while Ombrix still starts wait in its queue: one double click, one toggle.
  DoubleClickIcon(ombrixId);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(target); })) << "Ombrix hides the target from its icon";
  DoubleClickIcon(ombrixId);
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(target) != FALSE; })) << "and shows it again";
  ::PostMessageA(target, WM_CLOSE, 0, 0);
  EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(ombrix_, 15000)) << "Ombrix ends with the target";

  // Nothing of the test is left in the temporary folder.
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA((platform_.Files().GetTempPathA() + "OBX*").c_str(), &found);
  EXPECT_EQ(INVALID_HANDLE_VALUE, search) << found.cFileName;
  if (search != INVALID_HANDLE_VALUE) ::FindClose(search);

  ASSERT_TRUE(xdo_.Click(XdoBridge::CenterOf(hub.Control("btnExit"))));
  EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(hub_.hProcess, 10000)) << "Exit ends OmbrixHub";
}

BOOL CALLBACK ListVisible(HWND window, LPARAM data) {
  if (!::IsWindowVisible(window)) return TRUE;
  char caption[128] = {}, type[64] = {};
  ::GetWindowTextA(window, caption, sizeof caption);
  ::GetClassNameA(window, type, sizeof type);
  *reinterpret_cast<std::string*>(data) += std::string(" [") + type + ": " + caption + "]";
  return TRUE;
}

// The visible top-level windows, for a failure to name what was there instead.
std::string VisibleWindows() {
  std::string list;
  ::EnumWindows(ListVisible, reinterpret_cast<LPARAM>(&list));
  return list;
}

// Windows' registry editor asks before it merges a file opened from the shell; wine's merges at
// once. So the file type's command here is a batch file that asks first, with a window of the
// project's target program that the test closes as a person would, and then runs the real
// editor: the shell starts one program, which ends once the file is merged.
TEST_F(ControlCenterEndToEnd, ImportedEntriesAreListedOnceTheRegistryEditorHasMergedThem) {
  // A name in Japanese, Greek and an emoji, in the registry editor's Unicode form (UTF-16).
  const std::string folder =
      "\xE6\x97\xA5\xE6\x9C\xAC \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 \xF0\x9F\x98\x80";
  const std::string imported = "C:\\" + folder + "\\app.exe";
  const std::string temp = platform_.Files().GetTempPathA();
  const std::string file = temp + "ombrix-import.reg";
  const std::string asking = temp + "ombrix-import-question.bat";
  std::string text = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" +
                     std::string(SettingsKey) + "]\r\n";
  text += "\"Filename7\"=\"C:\\\\" + folder + "\\\\app.exe\"\r\n\"SecsToWait7\"=\"9\"\r\n\r\n";
  ASSERT_TRUE(
      platform_.Files().WriteFileBytes(file, platform_.CodePages().ConvertText(text, CP_UTF8, CodePageUtf16Le)));
  ASSERT_TRUE(platform_.Files().WriteFileBytes(
      asking, "@\"" + TargetExe + "\" \"/window=Import question\"\r\n@regedit.exe /s %1\r\n"));
  const ClassDefault extension(".reg", REG_SZ, "regfile");
  const ClassDefault command("regfile\\shell\\open\\command", REG_SZ, "\"" + asking + "\" \"%1\"");
  ASSERT_TRUE(extension.Set() && command.Set());
  DrawOwnFrames("OmbrixTarget.exe");
  struct Cleanup {
    win32::Win32Platform& platform;
    std::vector<std::string> files;
    std::string name;
    ~Cleanup() {
      // A question left open would keep the batch, and the test's output, alive.
      if (HWND question = ::FindWindowA(nullptr, "Import question")) ::PostMessageA(question, WM_CLOSE, 0, 0);
      for (const std::string& file : files) platform.Files().DeleteFileA(file);
      TRegistryEnhanced registry(platform);
      TAppSettingsStore(platform, registry).DeleteSettings(name);
    }
  } cleanup{platform_, {file, asking}, imported};

  ASSERT_TRUE(StartHub());
  HubWindow hub;
  ASSERT_TRUE(hub.Find());
  ASSERT_TRUE(ShowPage(hub, 2));
  HWND list = hub.Control("cbSettingsList");
  ASSERT_EQ(1, ::SendMessageA(list, CB_GETCOUNT, 0, 0)) << "the target's entry of the set-up";

  // Import Reg., the file typed into the open dialog.
  ASSERT_TRUE(xdo_.Click(XdoBridge::CenterOf(hub.Control("btnImport"))));
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = ::FindWindowA(nullptr, "Choose file to import from")) != nullptr; }));
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == dialog; }, 5000));
  ASSERT_TRUE(xdo_.Type(file));
  ASSERT_TRUE(xdo_.Key("Return"));
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 5000)) << "the open dialog took the file";

  // A person reads the question before answering it, longer than the second the page used
  // to wait; OmbrixHub answers meanwhile and lists nothing new yet.
  HWND question = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (question = ::FindWindowA(nullptr, "Import question")) != nullptr; }))
      << "the question before the merge; shown:" << VisibleWindows();
  ::Sleep(2000);
  EXPECT_TRUE(xdo_.Screenshot(ScreenshotDir + "\\hub-import-question.png"));
  DWORD_PTR answered = 0;
  EXPECT_NE(0, ::SendMessageTimeoutA(hub.Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answered))
      << "OmbrixHub answers while the editor runs";
  EXPECT_EQ(1, ::SendMessageA(list, CB_GETCOUNT, 0, 0)) << "nothing merged yet";
  // Its close box, at the right end of the caption wine draws.
  RECT frame{};
  ::GetWindowRect(question, &frame);
  ASSERT_TRUE(xdo_.Click(POINT{frame.right - 12, frame.top + 12}));
  EXPECT_TRUE(WaitFor([&] { return ::SendMessageA(list, CB_GETCOUNT, 0, 0) == 2; }))
      << "the imported entry listed without a restart";
  TRegistryEnhanced registry(platform_);
  registry.Key = SettingsKey;
  EXPECT_EQ(imported, registry.ReadValue("Filename7").ToText());

  ASSERT_TRUE(xdo_.Click(XdoBridge::CenterOf(hub.Control("btnExit"))));
  EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(hub_.hProcess, 10000));
}

// Two file types of the test's own that sort before every other key (punctuation first), so
// that they are the list's first two items. They are machine-wide, as installers register
// them; the verb goes into the user's own classes.
const char* const VerbTypes[] = {"!OmbrixHubA", "!OmbrixHubB"};
const char* const Classes = "Software\\Classes\\";

void RemoveVerbTypes() {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    for (const char* type : VerbTypes) {
      for (const char* below : {"\\Shell\\Tuckaway\\Command", "\\Shell\\Tuckaway", "\\Shell\\Open\\Command",
                                "\\Shell\\Open", "\\Shell", ""}) {
        ::RegDeleteKeyA(root, (Classes + std::string(type) + below).c_str());
      }
    }
  }
}

std::string DefaultValue(HKEY root, const std::string& key) {
  std::vector<char> data(1024, '\0');
  LONG size = static_cast<LONG>(data.size());
  if (::RegQueryValueA(root, key.c_str(), data.data(), &size) != ERROR_SUCCESS) return "<none>";
  return data.data();
}

bool KeyExists(HKEY root, const std::string& key) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  ::RegCloseKey(opened);
  return true;
}

TEST_F(ControlCenterEndToEnd, ExplorerVerbAddedAndRemovedByHand) {
  RemoveVerbTypes();
  for (const char* type : VerbTypes) {
    const std::string command = "\"" + TargetExe + "\" \"%1\"";
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegSetValueA(HKEY_LOCAL_MACHINE, (Classes + std::string(type) + "\\Shell\\Open\\Command").c_str(),
                             REG_SZ, command.c_str(), static_cast<DWORD>(command.size())));
  }
  struct Cleanup {
    ~Cleanup() { RemoveVerbTypes(); }
  } cleanup;
  ASSERT_TRUE(StartHub());
  HubWindow hub;
  ASSERT_TRUE(hub.Find());
  ASSERT_TRUE(ShowPage(hub, 1));

  // A click on the first item, a Ctrl+click on the second: both selected.
  HWND list = hub.Control("lbAssExt");
  ASSERT_TRUE(list && WaitFor([&] { return ::IsWindowVisible(list) != FALSE; }));
  ::SendMessageA(list, LB_SETTOPINDEX, 0, 0);
  const int height = static_cast<int>(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  POINT origin{0, 0};
  ::ClientToScreen(list, &origin);
  ASSERT_TRUE(xdo_.Click(POINT{origin.x + 30, origin.y + height / 2}));
  ASSERT_TRUE(xdo_.CtrlClick(POINT{origin.x + 30, origin.y + height + height / 2}));
  EXPECT_TRUE(WaitFor([&] { return ::SendMessageA(list, LB_GETSELCOUNT, 0, 0) == 2; }, 5000));
  HWND extension = hub.Control("ebxExtension");
  EXPECT_TRUE(WaitFor([&] { return TextOf(extension) == VerbTypes[1]; }, 5000))
      << "the detail boxes show the current item: " << TextOf(extension);

  const std::string hubFolder = HubExe.substr(0, HubExe.find_last_of('\\') + 1);
  const std::string verb = "\"" + hubFolder + "Ombrix.exe\" \"%1\"";
  ASSERT_TRUE(xdo_.Click(XdoBridge::CenterOf(hub.Control("btnAddOX"))));
  for (const char* type : VerbTypes) {
    const std::string verbPath = Classes + std::string(type) + "\\Shell\\Tuckaway";
    EXPECT_TRUE(WaitFor([&] { return DefaultValue(HKEY_CURRENT_USER, verbPath + "\\Command") == verb; }, 5000))
        << type << ": " << DefaultValue(HKEY_CURRENT_USER, verbPath + "\\Command");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, verbPath)) << "nothing machine-wide";
  }
  ASSERT_TRUE(xdo_.Click(XdoBridge::CenterOf(hub.Control("btnRemoveOX"))));
  for (const char* type : VerbTypes) {
    // The verb goes, and with it the user's keys Add made.
    EXPECT_TRUE(WaitFor([&] { return !KeyExists(HKEY_CURRENT_USER, Classes + std::string(type)); }, 5000)) << type;
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Classes + std::string(type) + "\\Shell")) << "the Shell key stays";
  }
  ASSERT_TRUE(xdo_.Click(XdoBridge::CenterOf(hub.Control("btnExit"))));
  EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(hub_.hProcess, 10000));
}

}  // namespace
}  // namespace ombrix
