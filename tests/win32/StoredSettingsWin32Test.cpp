// The stored-settings page as a real window over the real registry and INI file, and its
// export merged back by wine's own registry editor. The test program carries the programs'
// manifest, so that it runs in their code page, UTF-8. The page is held by a small stand-in
// for the control center's window. Screenshots go into the build folder.

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "center/SettingsExport.h"
#include "controls/win32/Win32FormHost.h"
#include "platform/win32/Win32Platform.h"
#include "tests/center/HubTestForm.h"
#include "tests/win32/FormDriver.h"
#include "tests/win32/Screenshot.h"

namespace ombrix {
namespace {

using namespace ombrix::testing;
using centertest::THubTestForm;

// Every value of the settings key: its type and bytes, straight from the registry.
using TKeySnapshot = std::map<std::string, std::pair<DWORD, std::string>>;

TKeySnapshot Snapshot() {
  TKeySnapshot values;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD nameLength = sizeof name;
    BYTE data[4096];
    DWORD size = sizeof data;
    DWORD type = 0;
    if (::RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    values[name] = {type, std::string(reinterpret_cast<char*>(data), size)};
  }
  ::RegCloseKey(key);
  return values;
}

void CleanSettingsKey() { ::RegDeleteTreeA(HKEY_CURRENT_USER, SettingsKey); }

std::string Folder(const std::string& name) {
  std::vector<char> temp(MAX_PATH + 1, '\0');
  ::GetTempPathA(MAX_PATH, temp.data());
  const std::string folder = std::string(temp.data()) + name + "\\";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

class StoredSettingsWin32Test : public ::testing::Test {
 protected:
  StoredSettingsWin32Test() : host_(platform_, FormHostOptions{centertest::HubTitle, {}}) { Clean(); }
  ~StoredSettingsWin32Test() override { Clean(); }
  void SetUp() override { ASSERT_EQ(CP_UTF8, ::GetACP()) << "the test program does not run in UTF-8"; }
  void Clean() {
    CleanSettingsKey();
    ::DeleteFileA(ini_.c_str());
  }
  std::string IniValue(const std::string& name) {
    std::vector<char> value(1024, '\0');
    ::GetPrivateProfileStringA("AppSettings", name.c_str(), "<missing>", value.data(), 1024, ini_.c_str());
    return value.data();
  }
  TAppSettingsStore Store() { return TAppSettingsStore(platform_, registry_, {SettingsKey, ini_}); }

  win32::Win32Platform platform_;
  win32::Win32FormHost host_;
  TRegistryEnhanced registry_{platform_};
  std::string hub_ = Folder("ombrix-hub-test");
  std::string ini_ = hub_ + "Ombrix.ini";
};

TEST_F(StoredSettingsWin32Test, SavedAndDeletedThroughTheRealControls) {
  // One entry in each store at slot 2 (slot 1 emptied), so that the page must pass the gap,
  // and the save must fill it (a new name goes to the first slot without a file name).
  const std::string kept = "C:\\Program Files\\Wine Notes\\kept.exe";
  // The edited entry's name in Greek, Japanese and an emoji: the hub runs in UTF-8.
  const std::string edited = "C:\\Program Files\\Notes \xCE\x95\xCE\xBB\\\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80.exe";
  Store().SaveSettings(DefaultAppSettings("C:\\gone.exe"), false);
  Store().SaveSettings(DefaultAppSettings(edited), false);
  Store().DeleteSettings("C:\\gone.exe");
  for (const std::string& name : {std::string("C:\\gone.exe"), kept})
    Store().SaveSettings(DefaultAppSettings(name), true);
  Store().DeleteSettings("C:\\gone.exe");

  THubTestForm form(platform_, hub_);
  form.page.FillSettingsList();
  TStoredSettingsPage& page = form.page;
  auto window = [&](const TControl& control) { return host_.WindowOf(control); };
  Driver driver(platform_, form);
  driver
      .Then("the list shown",
            [&] {
              EXPECT_EQ(2, ::SendMessageA(window(page.cbSettingsList), CB_GETCOUNT, 0, 0));
              EXPECT_TRUE(::IsWindowVisible(window(page.lblChooseItem)));
              EXPECT_TRUE(SaveWindowPng(form.Handle(), Shot("stored-settings-no-selection")));
              ::SetFocus(window(page.cbSettingsList));
              PostKey(window(page.cbSettingsList), VK_DOWN);  // the first name: the edited one
              return true;
            })
      .Then("the entry shown",
            [&] {
              if (page.cbSettingsList.Text() != edited || !::IsWindowVisible(window(page.pcConfig))) return false;
              ::SetFocus(window(page.Pages.ebxMainHandle));
              ::SendMessageA(window(page.Pages.ebxMainHandle), EM_SETSEL, 0, -1);
              PostChars(window(page.Pages.ebxMainHandle), "x5");
              return true;
            })
      .Then("Save clicked",
            [&] {
              if (TextOf(window(page.Pages.ebxMainHandle)) != "x5") return false;
              EXPECT_TRUE(SaveWindowPng(form.Handle(), Shot("stored-settings-selected")));
              ::PostMessageA(window(page.btnSaveSetting), BM_CLICK, 0, 0);
              return true;
            })
      .Then("saved into the INI file",
            [&] {
              if (IniValue("Filename1") != edited) return false;
              EXPECT_EQ("5", page.Pages.ebxMainHandle.Text()) << "digits only after leaving the box";
              EXPECT_EQ("5", IniValue("MainHandle1")) << "the first slot without a file name";
              EXPECT_EQ(kept, IniValue("Filename2"));
              ::PostMessageA(window(page.btnDeleteSetting), BM_CLICK, 0, 0);
              return true;
            })
      .Then("deleted from both stores", [&] {
        if (::SendMessageA(window(page.cbSettingsList), CB_GETCOUNT, 0, 0) != 1) return false;
        EXPECT_FALSE(::IsWindowVisible(window(page.pcConfig)));
        EXPECT_TRUE(::IsWindowVisible(window(page.lblChooseItem)));
        ::PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
        return true;
      });
  driver.Start();
  host_.ShowModal(form, nullptr);
  EXPECT_EQ("", driver.Failure());

  EXPECT_EQ("<missing>", IniValue("Filename1"));
  EXPECT_EQ("<missing>", IniValue("MainHandle1"));
  EXPECT_EQ(kept, IniValue("Filename2")) << "the other entry stays";
  const TKeySnapshot left = Snapshot();
  EXPECT_EQ(0u, left.count("Filename2"));
  EXPECT_EQ(0u, left.count("TrayDblClick2"));
}

// Merges a registry file as the registry editor does without asking.
void Merge(const std::string& file) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string command = "regedit.exe /s \"" + file + "\"";
  ASSERT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.hProcess, 60000));
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
}

TEST_F(StoredSettingsWin32Test, ExportMergedBackByRegeditGivesEveryValue) {
  TAppSettings tricky = DefaultAppSettings("C:\\Program Files\\Quote\"d\\app.exe");
  tricky.WindowCaption = "Menu \"quoted\"\r\n\ttab \\end\\";
  tricky.Icon = "\\\\server\\share\\icons.dll";
  tricky.IconNumber = -2;
  tricky.ShowState = 3;
  TAppSettings plain = DefaultAppSettings("C:\\Windows\\notepad.exe");
  plain.SecsToWait = "30";
  plain.HotKey = 0x0641;
  for (const TAppSettings& s : {DefaultAppSettings("C:\\gone.exe"), tricky, plain}) Store().SaveSettings(s, false);
  Store().DeleteSettings("C:\\gone.exe");
  ::RegDeleteKeyValueA(HKEY_CURRENT_USER, SettingsKey, "TrayTask2");
  ::RegDeleteKeyValueA(HKEY_CURRENT_USER, SettingsKey, "TrayNoTask2");
  ::RegDeleteKeyValueA(HKEY_CURRENT_USER, SettingsKey, "TrayTask3");
  ::RegDeleteKeyValueA(HKEY_CURRENT_USER, SettingsKey, "TrayNoTask3");
  const TKeySnapshot before = Snapshot();
  ASSERT_EQ(34u, before.size()) << "two entries of seventeen exported values";

  const std::string file = Folder("ombrix-export-test") + "settings.reg";
  registry_.RootKey = TRootKey::hkClassesRoot;
  ExportSettings(platform_, registry_, file);
  EXPECT_EQ(TRootKey::hkClassesRoot, registry_.RootKey);
  std::string text;
  ASSERT_TRUE(platform_.Files().ReadFileBytes(file, text));
  ASSERT_EQ("REGEDIT4\r\n", text.substr(0, 10)) << "every value is ASCII";
  CleanSettingsKey();
  ASSERT_TRUE(Snapshot().empty());
  Merge(file);
  EXPECT_EQ(before, Snapshot()) << "every value back, type and bytes";

  // A file exported before the hot key existed merges as it did, and its entries have none.
  std::string older;
  for (std::size_t start = 0, end; start < text.size(); start = end) {
    end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    if (text.compare(start, 8, "\"HotKey2") != 0 && text.compare(start, 8, "\"HotKey3") != 0) {
      older += text.substr(start, end - start);
    }
  }
  ASSERT_EQ(text.size() - 2 * std::string("\"HotKey2\"=dword:00000000\r\n").size(), older.size());
  ASSERT_TRUE(platform_.Files().WriteFileBytes(file, older));
  CleanSettingsKey();
  Merge(file);
  TKeySnapshot withoutHotKeys = before;
  withoutHotKeys.erase("HotKey2");
  withoutHotKeys.erase("HotKey3");
  EXPECT_EQ(withoutHotKeys, Snapshot());
  TAppSettings loaded = DefaultAppSettings(plain.Filename);
  Store().LoadSettings(loaded);
  plain.HotKey = 0;
  EXPECT_EQ(plain, loaded);
}

// Names in Japanese, Greek and an emoji (this program, as the hub, runs in UTF-8): the export
// takes the registry editor's Unicode form, which it merges back unchanged, control
// characters ("hex(1):" bytes in UTF-16) included.
TEST_F(StoredSettingsWin32Test, UnicodeExportMergedBackByRegeditGivesEveryValue) {
  const std::string folder =
      "C:\\\xE6\x97\xA5\xE6\x9C\xAC \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 \xF0\x9F\x98\x80";
  TAppSettings entry = DefaultAppSettings(folder + "\\app.exe");
  entry.WindowCaption = "Caf\xC3\xA9 \"\xCE\xBC\xCE\xB5\xCE\xBD\xCE\xBF\xCF\x8D\"\r\n\ttab \\end\\";
  entry.Icon = folder + "\\icons.dll";
  entry.HotKey = 0x0641;
  Store().SaveSettings(entry, false);
  // Two values the export leaves out (a load infers them).
  ::RegDeleteKeyValueA(HKEY_CURRENT_USER, SettingsKey, "TrayTask1");
  ::RegDeleteKeyValueA(HKEY_CURRENT_USER, SettingsKey, "TrayNoTask1");
  const TKeySnapshot before = Snapshot();
  ASSERT_EQ(17u, before.size()) << "one entry of seventeen exported values";

  const std::string file = Folder("ombrix-export-test") + "unicode.reg";
  ExportSettings(platform_, registry_, file);
  std::string bytes;
  ASSERT_TRUE(platform_.Files().ReadFileBytes(file, bytes));
  EXPECT_EQ(std::string("\xFF\xFEW\0", 4), bytes.substr(0, 4)) << "UTF-16 with its byte-order mark";
  CleanSettingsKey();
  Merge(file);
  EXPECT_EQ(before, Snapshot()) << "every value back, type and bytes";
}

}  // namespace
}  // namespace ombrix
