// The Explorer command page as a real window over the real registry: items clicked and
// Ctrl+clicked in the list, the buttons pressed, the command checked in the user's own
// classes and the machine's left alone, and the command run as the shell runs a verb, which
// starts Ombrix with the document; Ombrix starts the type's program. A screenshot of the page
// goes into the build folder.
//
// Wine's HKEY_CLASSES_ROOT is the machine-wide part alone: neither its shell nor Ombrix's
// document start sees the user's classes there, as they do on Windows. So the verb is not
// run through the real shell here (its command is started as the shell would start it), and
// the file type the document start looks up is a machine-wide one.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "center/ContextMenuPage.h"
#include "controls/win32/Win32FormHost.h"
#include "platform/win32/Win32Platform.h"
#include "settings/AppSettings.h"
#include "tests/RegistryTree.h"
#include "tests/win32/FormDriver.h"
#include "tests/win32/Screenshot.h"
#include "tests/win32/Waiting.h"

namespace ombrix {
namespace {

using namespace ombrix::testing;

const std::string AppsFolder = WindowsPath(OMBRIX_APPS_DIR) + "\\";
const std::string TargetExe = WindowsPath(OMBRIX_TARGET_EXE);
const std::string Document = WindowsPath(OMBRIX_DOCUMENT);
constexpr char Extension[] = ".ombrixverb";
constexpr char DocumentType[] = "OmbrixVerb.Document";
constexpr char DirectExtension[] = ".ombrixverbdirect";

// The user's own classes and the machine-wide ones.
constexpr char Classes[] = "Software\\Classes\\";

// The default value of a key, read with the plain API; "<none>" when the key is missing.
std::string DefaultValue(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<none>";
  std::vector<char> data(2048, '\0');
  DWORD size = static_cast<DWORD>(data.size() - 1);
  DWORD type = 0;
  const LONG result = ::RegQueryValueExA(key, "", nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  ::RegCloseKey(key);
  return result == ERROR_SUCCESS ? std::string(data.data()) : "";
}

// A key of the machine-wide file types, as an installer registers them.
void SetDefault(const std::string& path, const std::string& value) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, (Classes + path).c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
  ::RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  ::RegCloseKey(key);
}

class TPageForm : public TForm {
 public:
  explicit TPageForm(THubContext& context)
      : TForm("TfrmMain", "Vorel Ombrix Control Center", 576, 468), page(*this, tsContextMenu, context) {
    BorderStyle = TFormBorderStyle::kSingle;
    ShowHint = true;
  }

  TPageControl pcControlCenter{*this, "pcControlCenter", nullptr, {8, 28, 560, 432}};
  TTabSheet tsContextMenu{*this, "tsContextMenu", pcControlCenter, " Explorer Context menu "};
  TContextMenuPage page;
};

class ContextMenuWin32Test : public ::testing::Test {
 protected:
  ContextMenuWin32Test() : host_(platform_, FormHostOptions{"Vorel Ombrix - Control Center", {}}) {
    registry_.RootKey = TRootKey::hkClassesRoot;
    RemoveTypes();
    SetDefault(Extension, DocumentType);
    SetDefault(DocumentType, "Ombrix verb test document");
    // The target program shows the document's path as its window's caption.
    SetDefault(std::string(DocumentType) + "\\Shell\\Open\\Command", "\"" + TargetExe + "\" \"/window=%1\"");
    SetDefault(std::string(DirectExtension) + "\\Shell\\Open\\Command", "\"" + TargetExe + "\" \"/window=%1\"");
    ForgetEntry();
  }
  ~ContextMenuWin32Test() override {
    RemoveTypes();
    ForgetEntry();
    platform_.Files().DeleteFileA(Document);
  }
  // The test's file types, in both parts.
  void RemoveTypes() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      for (const char* type : {DocumentType, Extension, DirectExtension}) {
        DeleteTree(platform_.Registry(), root, Classes + std::string(type));
      }
    }
  }
  KeyTree Part(HKEY root) { return KeysBelow(platform_.Registry(), root, "Software\\Classes", true); }
  void ForgetEntry() {
    TRegistryEnhanced settings(platform_);
    TAppSettingsStore(platform_, settings).DeleteSettings(TargetExe);
  }

  HWND Window(const TControl& control) { return host_.WindowOf(control); }
  int IndexOf(TPageForm& form, const std::string& item) {
    const auto& items = form.page.lbAssExt.Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] == item) return static_cast<int>(i);
    }
    return -1;
  }
  // A click on an item as the user makes it, scrolled into view first; `ctrl` held down.
  bool ClickItem(TPageForm& form, const std::string& item, bool ctrl) {
    const int index = IndexOf(form, item);
    if (index < 0) return false;
    HWND list = Window(form.page.lbAssExt);
    ::SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    RECT area{};
    if (::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&area)) == LB_ERR)
      return false;
    const LPARAM at = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    const WPARAM keys = ctrl ? MK_CONTROL : 0;
    ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    ::PostMessageA(list, WM_LBUTTONUP, keys, at);
    return true;
  }
  bool Selected(TPageForm& form, const std::vector<std::string>& items) {
    std::vector<std::string> selected;
    for (int index : form.page.lbAssExt.SelectedIndexes()) {
      selected.push_back(form.page.lbAssExt.Items()[static_cast<std::size_t>(index)]);
    }
    return selected == items;
  }

  // Shows the page, selects the two test items as a user does, and presses `button`. The
  // items are the extension (its type holds the open command) and a key with its own.
  std::string SelectBothAndPress(const char* button, const std::string& shot) {
    TPageForm form(context_);
    form.page.FillFileTypeList();
    TButton& pressed = form.Get<TButton>(button);
    Driver driver(platform_, form);
    driver.Then("the first item clicked", [&] { return ClickItem(form, Extension, false); })
        .Then("the second item Ctrl+clicked",
              [&] {
                if (form.page.ebxExtension.Text() != Extension) return false;
                return ClickItem(form, DirectExtension, true);
              })
        .Then("both selected, the button pressed",
              [&] {
                if (!Selected(form, {Extension, DirectExtension}) || !::IsWindowEnabled(Window(pressed))) return false;
                if (!shot.empty()) {
                  EXPECT_TRUE(SaveWindowPng(form.Handle(), Shot(shot)));
                }
                ::PostMessageA(Window(pressed), BM_CLICK, 0, 0);
                return true;
              })
        .Then("the details of the current item shown, the form closed", [&] {
          if (TextOf(Window(form.page.ebxExtension)) != DirectExtension) return false;
          EXPECT_EQ("\"" + TargetExe + "\" \"/window=%1\"", TextOf(Window(form.page.ebxOpenWith)));
          EXPECT_EQ(nullptr, ::FindWindowA("#32770", "Vorel Ombrix - Control Center")) << "nothing to report";
          ::PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
          return true;
        });
    driver.Start();
    host_.ShowModal(form, nullptr);
    if (driver.Failure().empty()) return "";
    // Where the page stood, for a failure seen only in a log.
    std::string state = driver.Failure() + "; current item \"" + form.page.ebxExtension.Text() + "\", selected:";
    for (int index : form.page.lbAssExt.SelectedIndexes()) {
      state += " " + form.page.lbAssExt.Items()[static_cast<std::size_t>(index)];
    }
    return state + (IndexOf(form, Extension) < 0 ? "; the test's extension not listed" : "");
  }

  win32::Win32Platform platform_;
  win32::Win32FormHost host_;
  TRegistryEnhanced registry_{platform_};
  THubContext context_{platform_, registry_, AppsFolder, "Vorel Ombrix - Control Center"};
};

TEST_F(ContextMenuWin32Test, AddWritesForTheUserAloneItsCommandStartsOmbrixAndRemoveTakesItAway) {
  const KeyTree machine = Part(HKEY_LOCAL_MACHINE);
  const KeyTree user = Part(HKEY_CURRENT_USER);
  const std::string command = "\"" + AppsFolder + "Ombrix.exe\" \"%1\"";
  ASSERT_EQ("", SelectBothAndPress("btnAddOX", "control-center-context-menu"));
  // Under the key that holds each item's open command (the extension's type, and the key
  // with a command of its own), in the user's part only.
  KeyTree added = user;
  for (const std::string verbKey : {DocumentType, DirectExtension}) {
    for (const char* below : {"", "\\Shell", "\\Shell\\Tuckaway"}) added[verbKey + below] = "";
    added[verbKey + "\\Shell\\Tuckaway\\Command"] = "[] " + std::to_string(REG_SZ) + ":" + command + '\0' + "\n";
  }
  EXPECT_EQ("", TreeChanges(added, Part(HKEY_CURRENT_USER))) << "the user's part";
  EXPECT_EQ("", TreeChanges(machine, Part(HKEY_LOCAL_MACHINE))) << "nothing machine-wide";

  // The shell runs the verb on a document of the type by starting its command with the
  // document for %1: Ombrix starts, and starts the type's program with the document.
  ASSERT_TRUE(platform_.Files().WriteFileBytes(Document, "document"));
  TAppSettings settings = DefaultAppSettings(TargetExe);
  settings.ShowState = 1;
  settings.WarnQuickClose = true;
  {
    TRegistryEnhanced store(platform_);
    TAppSettingsStore(platform_, store).SaveSettings(settings, false);
  }
  std::string commandLine =
      DefaultValue(HKEY_CURRENT_USER, Classes + std::string(DocumentType) + "\\Shell\\Tuckaway\\Command");
  ASSERT_NE(std::string::npos, commandLine.find("%1")) << commandLine;
  commandLine.replace(commandLine.find("%1"), 2, Document);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(
      ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
      << commandLine << ": " << ::GetLastError();
  ::CloseHandle(started.hThread);
  const DWORD ombrix = started.dwProcessId;
  // A box Ombrix shows (a message, or start-up's question when it finds no window), if any.
  auto ombrixBox = [ombrix]() -> HWND {
    for (HWND box = ::FindWindowA("#32770", nullptr); box; box = ::FindWindowExA(nullptr, box, "#32770", nullptr)) {
      DWORD process = 0;
      ::GetWindowThreadProcessId(box, &process);
      if (process == ombrix) return box;
    }
    return nullptr;
  };
  auto ombrixSays = [&] {
    HWND box = ombrixBox();
    return box ? "Ombrix says: " + TextOf(::GetDlgItem(box, 0xFFFF)) : std::string("no box from Ombrix");
  };
  // The program creates its window before it shows it: only a shown window is one that a
  // hide can be seen on.
  HWND window = nullptr;
  EXPECT_TRUE(WaitFor([&] {
    window = ::FindWindowA(nullptr, Document.c_str());
    return window && ::IsWindowVisible(window);
  })) << "the type's program shows the document; "
      << ombrixSays();
  // A double click on Ombrix's icon hides the program, the next one shows it again: the
  // shell's callback messages to Ombrix's utility windows. Ombrix handles none while it
  // starts, so clicks made meanwhile wait in its queue: one double click, one toggle.
  auto doubleClickIcon = [&] {
    for (HWND utility = ::FindWindowA(nullptr, nullptr); utility; utility = ::GetWindow(utility, GW_HWNDNEXT)) {
      DWORD process = 0;
      ::GetWindowThreadProcessId(utility, &process);
      std::vector<char> className(64, '\0');
      ::GetClassNameA(utility, className.data(), static_cast<int>(className.size()));
      if (process != ombrix || std::string(className.data()) != "OmbrixUtilityWindow") continue;
      for (LPARAM mouse : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        ::PostMessageA(utility, WM_USER + 1, 0, mouse);
    }
  };
  if (window && ::IsWindowVisible(window)) {
    doubleClickIcon();
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(window); })) << "Ombrix hides its program; " << ombrixSays();
    doubleClickIcon();
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(window) != FALSE; })) << ombrixSays();
    ::PostMessageA(window, WM_CLOSE, 0, 0);
  }
  EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(started.hProcess, 15000))
      << "Ombrix ends with its program; " << ombrixSays();
  if (HWND box = ombrixBox()) ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  if (::WaitForSingleObject(started.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(started.hProcess, 1);
  ::CloseHandle(started.hProcess);

  // Remove leaves both parts as they were before Add.
  ASSERT_EQ("", SelectBothAndPress("btnRemoveOX", ""));
  EXPECT_EQ("", TreeChanges(user, Part(HKEY_CURRENT_USER))) << "the user's part";
  EXPECT_EQ("", TreeChanges(machine, Part(HKEY_LOCAL_MACHINE))) << "the machine's part";
}

}  // namespace
}  // namespace ombrix
