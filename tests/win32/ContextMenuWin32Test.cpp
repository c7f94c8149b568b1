// The Explorer command page as a real window over the real registry: items clicked and
// Ctrl+clicked in the list, the buttons pressed, the command checked in HKEY_CLASSES_ROOT and
// run by the real shell, which starts Ombrix with the document; Ombrix starts the type's
// program. A screenshot of the page goes into the build folder.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "center/ContextMenuPage.h"
#include "controls/win32/Win32FormHost.h"
#include "platform/WinDefs.h"
// After the Windows headers.
#include <shellapi.h>

#include "platform/win32/Win32Platform.h"
#include "settings/AppSettings.h"
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

// The default value of a key of HKEY_CLASSES_ROOT, read with the plain API; "<none>" when
// the key is missing.
std::string DefaultValue(const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<none>";
  std::vector<char> data(2048, '\0');
  DWORD size = static_cast<DWORD>(data.size() - 1);
  DWORD type = 0;
  const LONG result = ::RegQueryValueExA(key, "", nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  ::RegCloseKey(key);
  return result == ERROR_SUCCESS ? std::string(data.data()) : "";
}

void SetDefault(const std::string& path, const std::string& value) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            ::RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  ::RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  ::RegCloseKey(key);
}

void RemoveTypes() {
  for (const std::string& path :
       {std::string(DocumentType) + "\\Shell\\Tuckaway\\Command", std::string(DocumentType) + "\\Shell\\Tuckaway",
        std::string(DocumentType) + "\\Shell\\Open\\Command", std::string(DocumentType) + "\\Shell\\Open",
        std::string(DocumentType) + "\\Shell", std::string(DocumentType), std::string(Extension),
        std::string(DirectExtension) + "\\Shell\\Tuckaway\\Command", std::string(DirectExtension) + "\\Shell\\Tuckaway",
        std::string(DirectExtension) + "\\Shell\\Open\\Command", std::string(DirectExtension) + "\\Shell\\Open",
        std::string(DirectExtension) + "\\Shell", std::string(DirectExtension)}) {
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, path.c_str());
  }
}

class TPageForm : public TForm {
 public:
  explicit TPageForm(THubContext& context)
      : TForm("TfrmMain", "Vorel Ombrix Control Center", 576, 468), page(*this, tsContextMenu, context) {
    BorderStyle = TFormBorderStyle::bsSingle;
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

TEST_F(ContextMenuWin32Test, AddedVerbRunsOmbrixThroughTheShellAndRemoveTakesItAway) {
  const std::string command = "\"" + AppsFolder + "Ombrix.exe\" \"%1\"";
  ASSERT_EQ("", SelectBothAndPress("btnAddOX", "control-center-context-menu"));
  EXPECT_EQ(command, DefaultValue(std::string(DocumentType) + "\\Shell\\Tuckaway\\Command"));
  EXPECT_EQ(command, DefaultValue(std::string(DirectExtension) + "\\Shell\\Tuckaway\\Command"));
  EXPECT_EQ("<none>", DefaultValue(std::string(Extension) + "\\Shell")) << "the extension's type holds the verb";

  // The shell runs the verb on a document of the type: Ombrix starts, and starts the type's
  // program with the document.
  ASSERT_TRUE(platform_.Files().WriteFileBytes(Document, "document"));
  TAppSettings settings = DefaultAppSettings(TargetExe);
  settings.ShowState = 1;
  settings.WarnQuickClose = true;
  {
    TRegistryEnhanced store(platform_);
    TAppSettingsStore(platform_, store).SaveSettings(settings, false);
  }
  SHELLEXECUTEINFOA run{};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_NOCLOSEPROCESS;
  run.lpVerb = "Tuckaway";
  run.lpFile = Document.c_str();
  run.nShow = SW_SHOWNORMAL;
  ASSERT_TRUE(::ShellExecuteExA(&run)) << ::GetLastError();
  ASSERT_NE(nullptr, run.hProcess);
  std::vector<char> name(MAX_PATH * 2, '\0');
  DWORD length = static_cast<DWORD>(name.size());
  ::QueryFullProcessImageNameA(run.hProcess, 0, name.data(), &length);
  EXPECT_NE(std::string::npos, std::string(name.data(), length).find("Ombrix.exe")) << name.data();
  const DWORD ombrix = ::GetProcessId(run.hProcess);
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
  EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(run.hProcess, 15000)) << "Ombrix ends with its program; " << ombrixSays();
  if (HWND box = ombrixBox()) ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  if (::WaitForSingleObject(run.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(run.hProcess, 1);
  ::CloseHandle(run.hProcess);

  ASSERT_EQ("", SelectBothAndPress("btnRemoveOX", ""));
  EXPECT_EQ("<none>", DefaultValue(std::string(DocumentType) + "\\Shell\\Tuckaway"));
  EXPECT_EQ("<none>", DefaultValue(std::string(DirectExtension) + "\\Shell\\Tuckaway"));
  EXPECT_EQ("", DefaultValue(std::string(DirectExtension) + "\\Shell")) << "Shell stays";
  EXPECT_EQ("\"" + TargetExe + "\" \"/window=%1\"", DefaultValue(std::string(DocumentType) + "\\Shell\\Open\\Command"));
}

}  // namespace
}  // namespace ombrix
