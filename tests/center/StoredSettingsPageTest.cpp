// The stored-settings page over the simulated desktop and form host: the list of both
// stores, loading, saving, deleting and reverting an entry, and the export and import.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>

#include "center/SettingsExport.h"
#include "controls/sim/SimFormHost.h"
#include "settings/SettingsText.h"
#include "tests/center/HubTestForm.h"

namespace ombrix::centertest {
namespace {

using sim::SimFormHost;
using sim::SimFormUser;
using sim::SimPlatform;

constexpr char HubFolder[] = "C:\\Program Files\\Ombrix\\";
constexpr char OmbrixIni[] = "C:\\Program Files\\Ombrix\\Ombrix.ini";
constexpr char Notes[] = "C:\\Tools\\Notes.exe";
constexpr char Line[] = "C:\\Apps\\Line.exe";

class StoredSettingsPageTest : public ::testing::Test {
 protected:
  StoredSettingsPageTest() : host(platform, FormHostOptions{HubTitle, {}}), form(platform, HubFolder) {
    platform.SimFiles().MakeDirectories("C:\\Program Files\\Ombrix");
    platform.SimFiles().SetModuleFileName(std::string(HubFolder) + "OmbrixHub.exe");
  }

  // The entries of the export file: slots 1 and 3, slot 2 emptied.
  static TAppSettings NotesEntry() {
    TAppSettings s = DefaultAppSettings(Notes);
    s.Icon = "C:\\Icons\\app.ico";
    s.ShowState = 3;
    s.IconNumber = 10;
    s.WindowCaption = "Say \"hi\" to C:\\";
    s.HotKey = 0x0374;  // Ctrl+Shift+F5
    return s;
  }
  static TAppSettings LineEntry() {
    TAppSettings s = DefaultAppSettings(Line);
    s.MainHandle = "2";
    s.SecsToWait = "10";
    s.ShowState = 2;
    s.DebugMode = s.DoPartialSearch = s.WarnQuickClose = true;
    s.WindowCaption = "two\r\nlines";
    s.IconNumber = -1;
    s.TrayTask = false;
    s.NoTrayIcon = true;
    s.MinimizeType = s.UsePID = false;
    s.TrayDblClick = 0;
    return s;
  }
  void StoreRegistryWithGap() {
    TAppSettings gone = DefaultAppSettings("C:\\Tmp\\Gone.exe");
    for (const TAppSettings& s : {NotesEntry(), gone, LineEntry()}) Store().SaveSettings(s, false);
    Store().DeleteSettings(gone.Filename);
    // A number where text belongs is exported as its digits.
    Registry().WriteValue("NbWindows3", 7);
    // Stored before the hot key existed: exported as none.
    Registry().DeleteValue("HotKey3");
  }

  TAppSettingsStore Store() { return TAppSettingsStore(platform, scratch, {SettingsKey, OmbrixIni}); }
  TRegistryEnhanced& Registry() {
    scratch.RootKey = TRootKey::hkCurrentUser;
    scratch.Key = SettingsKey;
    return scratch;
  }
  void PutIni(int slot, const TAppSettings& s) {
    std::unique_ptr<TIniFile> ini = OpenIniFile(platform, OmbrixIni);
    Store().SaveEntryAt(*ini, s, slot);
  }
  std::string IniValue(const std::string& name) {
    std::string value;
    platform.Profile().GetPrivateProfileStringA("AppSettings", name, "<missing>", 1024, value, OmbrixIni);
    return value;
  }
  // Shows the form with the list filled, as the window's creation fills it.
  void Run(const std::function<void(SimFormUser&)>& script) {
    form.page.FillSettingsList();
    host.OnNextShow([&](SimFormUser& user) {
      script(user);
      if (user.IsOpen()) user.CloseBox();
    });
    host.ShowModal(form, nullptr);
  }
  TAppSettings Shown() {
    TAppSettings s = form.page.Pages.CollectSettings();
    s.Filename = form.page.cbSettingsList.Text();
    return s;
  }
  std::vector<std::string> Errors() {
    std::vector<std::string> texts;
    for (const auto& box : platform.SimBoxes().Boxes()) texts.push_back(box.text);
    return texts;
  }

  SimPlatform platform;
  SimFormHost host;
  THubTestForm form;
  TRegistryEnhanced scratch{platform};
};

TEST_F(StoredSettingsPageTest, ListHoldsEveryNameOfBothStoresOnce) {
  StoreRegistryWithGap();
  Registry().WriteValue("Filename5", std::string("\x01"));
  Registry().WriteValue("Filename6", std::string("c:\\tools\\NOTES.EXE"));
  PutIni(2, DefaultAppSettings("C:\\Tools\\notes.exe"));
  PutIni(4, DefaultAppSettings("C:\\Ini\\Only.exe"));
  Run([&](SimFormUser& user) {
    EXPECT_EQ((std::vector<std::string>{Line, "C:\\Ini\\Only.exe", Notes}), form.page.cbSettingsList.Items())
        << "sorted, gaps passed over, code 1 skipped, the registry's spelling first";
    EXPECT_EQ(-1, user.ItemIndexOf("cbSettingsList"));
    EXPECT_TRUE(user.IsShowing("lblChooseItem"));
    EXPECT_FALSE(user.IsShowing("lblNoItems") || user.IsShowing("pcConfig") || user.IsShowing("btnSaveSetting"));
    EXPECT_TRUE(user.IsShowing("btnExport") && user.IsShowing("btnImport"));
    EXPECT_EQ("Export all registry-saved settings into a file (backup, machine transfer, ...)",
              user.HintOf("btnExport"));
  });
  EXPECT_EQ(TRootKey::hkClassesRoot, form.RegistryOp.RootKey) << "the component is set back";
  EXPECT_EQ("", form.RegistryOp.Key);
}

TEST_F(StoredSettingsPageTest, IniNamesReadAtOnceAreThoseOfTheKeyReads) {
  platform.SimCodes().SetActiveCodePage(CP_UTF8);
  // The buffer's end falls inside the first Japanese character.
  const std::string longName = std::string(1022, 'x') + "\xE6\x97\xA5\xE6\x9C\xAC";
  const std::string body =
      "[FlushCache]\r\nFlush=Flush\r\n[AppSettings]\r\n"
      "  filename1 =  \"C:\\A\\One.exe\"  \r\n"
      "FILENAME2='C:\\B\\Two.exe'\r\n"
      "Filename3=C:\\C\\Three.exe\r\nFilename3=C:\\C\\Later.exe\r\n"
      "Filename4=\"unbalanced\r\n"
      "; Filename5=C:\\Commented.exe\r\n"
      "Filename6\r\n"
      "Filename7=" +
      longName +
      "\r\n"
      "Filename8=\r\nFilename9=\x01\r\n"
      "Filename10=\"\"two\"\"\r\n"
      "Filename399=C:\\Last.exe\r\n"
      "[Other]\r\nFilename11=C:\\Other.exe\r\n"
      "[AppSettings]\r\nFilename12=C:\\Second\\Section.exe\r\n";
  ASSERT_TRUE(platform.Files().WriteFileBytes(OmbrixIni, body));
  std::unique_ptr<TIniFile> ini = OpenIniFile(platform, OmbrixIni);
  TAppSettingsStore store = Store();
  std::vector<std::string> oneByOne;
  for (int slot = 1; slot < SlotLimit; ++slot) {
    const std::string stored = ini->ReadString(AppSettingsSection, "Filename" + std::to_string(slot), "\x01");
    oneByOne.push_back(stored == "\x01" ? "" : stored);
  }
  const std::vector<std::string> atOnce = store.StoredFileNames(*ini);
  EXPECT_EQ(oneByOne, atOnce);
  ASSERT_EQ(std::size_t(SlotLimit - 1), atOnce.size());
  const std::vector<std::string> expectedStart = {
      "C:\\A\\One.exe", "C:\\B\\Two.exe", "C:\\C\\Three.exe", "\"unbalanced", "", "", longName.substr(0, 1022), "", "",
      "\"two\""};
  EXPECT_EQ(expectedStart, std::vector<std::string>(atOnce.begin(), atOnce.begin() + 10));
  EXPECT_EQ("", atOnce[10] + atOnce[11]) << "other sections and a second one of the name do not count";
  EXPECT_EQ("C:\\Last.exe", atOnce.back());
}

TEST_F(StoredSettingsPageTest, EmptyStoresShowTheEmptyState) {
  Run([&](SimFormUser& user) {
    EXPECT_TRUE(user.IsShowing("lblNoItems"));
    EXPECT_FALSE(user.IsShowing("lblChooseItem") || user.IsShowing("btnExport") || user.IsShowing("pcConfig"));
    EXPECT_TRUE(user.IsShowing("btnImport"));
  });
  for (TButton* button : {&form.page.btnSaveSetting, &form.page.btnImport, &form.page.btnRevertSetting}) {
    EXPECT_TRUE(button->Flat && button->Font.Bold) << button->Name();
  }
}

TEST_F(StoredSettingsPageTest, SelectingLoadsRegistryThenIniWithThePagesDefaults) {
  StoreRegistryWithGap();
  // Notes in both stores: the INI entry's values win.
  TAppSettings notesIni = DefaultAppSettings(Notes);
  notesIni.SecsToWait = "42";
  PutIni(1, notesIni);
  // An INI entry that lacks the five values which keep what the pages show.
  PutIni(2, DefaultAppSettings("C:\\Ini\\Sparse.exe"));
  for (const char* name : {"DebugMode2", "WarnQuickClose2", "DoPartialSearch2", "UsePID2", "ShowState2"}) {
    platform.Profile().WritePrivateProfileStringA("AppSettings", name, std::nullopt, OmbrixIni);
  }
  Run([&](SimFormUser& user) {
    const std::vector<std::string>& items = form.page.cbSettingsList.Items();
    auto select = [&](const std::string& name) {
      const int index = static_cast<int>(std::find(items.begin(), items.end(), name) - items.begin());
      ASSERT_TRUE(user.Select("cbSettingsList", index)) << name;
    };
    select(Notes);
    TAppSettings expected = notesIni;
    EXPECT_EQ(expected, Shown());
    EXPECT_TRUE(user.IsShowing("pcConfig") && user.IsShowing("btnRevertSetting"));
    EXPECT_FALSE(user.IsShowing("lblChooseItem"));

    select(Line);  // after the gap, registry only
    TAppSettings line = LineEntry();
    line.NbWindows = "7";
    line.IconNumber = 0;  // beyond the file's icons: shown as 0
    EXPECT_EQ(line, Shown());
    EXPECT_TRUE(user.IsUsable("ebxWindowName")) << "the fields of the loaded method";

    select("C:\\Ini\\Sparse.exe");
    expected = DefaultAppSettings("C:\\Ini\\Sparse.exe");
    expected.DebugMode = expected.WarnQuickClose = expected.DoPartialSearch = true;
    expected.UsePID = false;
    expected.ShowState = 2;
    EXPECT_EQ(expected, Shown()) << "the previous entry's five values stay";
  });
}

TEST_F(StoredSettingsPageTest, SaveWritesTheIniSlotOmbrixFinds) {
  struct Case {
    const char* what;
    std::vector<int> iniSlotsTaken;  // by other names
    int iniSlotOfName;               // 0: the name is in the registry only
    int savedSlot;                   // 0: nothing written
  };
  const Case cases[] = {
      {"its own INI slot, after a gap", {1, 2}, 5, 5},
      {"registry only: the first slot without a file name", {1, 2, 4}, 0, 3},
      {"registry only, every slot taken", {}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform.SimBoxes().ClearLog();
    Store().SaveSettings(DefaultAppSettings(Line), false);
    std::vector<int> taken = c.iniSlotsTaken;
    if (c.savedSlot == 0) {
      for (int slot = 1; slot < SlotLimit; ++slot) taken.push_back(slot);
    }
    // Other names take slots by their file names alone, written in one go.
    std::string ini = "[AppSettings]\r\n";
    for (int slot : taken)
      ini += "Filename" + std::to_string(slot) + "=C:\\Other\\" + std::to_string(slot) + ".exe\r\n";
    ASSERT_TRUE(platform.Files().WriteFileBytes(OmbrixIni, ini));
    if (c.iniSlotOfName) PutIni(c.iniSlotOfName, DefaultAppSettings(Line));

    Run([&](SimFormUser& user) {
      const auto& items = form.page.cbSettingsList.Items();
      ASSERT_TRUE(
          user.Select("cbSettingsList", static_cast<int>(std::find(items.begin(), items.end(), Line) - items.begin())));
      ASSERT_TRUE(user.SwitchPage("pcConfig", 2));
      ASSERT_TRUE(user.Type("ebxSecsToWait", "1x2"));
      ASSERT_TRUE(user.Focus("cbxDebugMode"));
      EXPECT_EQ("12", user.TextOf("ebxSecsToWait"));
      ASSERT_TRUE(user.Click("btnSaveSetting"));
      EXPECT_TRUE(user.IsShowing("pcConfig")) << "still selected";
    });
    if (c.savedSlot) {
      const std::string n = std::to_string(c.savedSlot);
      EXPECT_EQ(Line, IniValue("Filename" + n));
      EXPECT_EQ("12", IniValue("SecsToWait" + n));
      EXPECT_TRUE(Errors().empty());
      TAppSettings loaded = DefaultAppSettings(Line);
      Store().LoadSettings(loaded);
      EXPECT_EQ("12", loaded.SecsToWait) << "Ombrix's own lookup finds it, after a gap too";
    } else {
      EXPECT_EQ("<missing>", IniValue("SecsToWait400"));
      EXPECT_EQ(std::vector<std::string>{FormatText(MsgSettingsStoreFull, Line)}, Errors());
    }
    Store().DeleteSettings(Line);
  }
}

TEST_F(StoredSettingsPageTest, DeleteEmptiesOneSlotOfBothStores) {
  StoreRegistryWithGap();
  PutIni(1, DefaultAppSettings("C:\\Ini\\Only.exe"));
  PutIni(2, DefaultAppSettings(Notes));
  Run([&](SimFormUser& user) {
    ASSERT_TRUE(user.Select("cbSettingsList", 2));  // Notes
    ASSERT_TRUE(user.Click("btnDeleteSetting"));
    EXPECT_EQ((std::vector<std::string>{Line, "C:\\Ini\\Only.exe"}), form.page.cbSettingsList.Items());
    EXPECT_TRUE(user.IsShowing("lblChooseItem"));
    EXPECT_FALSE(user.IsShowing("pcConfig"));
  });
  EXPECT_FALSE(Registry().ValueExists("Filename1") || Registry().ValueExists("WarnQuickClose1"));
  EXPECT_EQ(Line, Registry().ReadValue("Filename3").ToText()) << "the other slots keep their numbers";
  EXPECT_EQ("<missing>", IniValue("Filename2"));
  EXPECT_EQ("C:\\Ini\\Only.exe", IniValue("Filename1"));
  EXPECT_TRUE(Errors().empty());
}

// A save or a delete that a store refuses says so, and the entry stays listed and as edited:
// it is still stored, and what the user typed is not lost.
TEST_F(StoredSettingsPageTest, WriteFailuresAreShownAndLeaveThePage) {
  struct Case {
    bool inRegistry;  // the entry, and the store the save goes to (UseINIFile 0)
    const char* button;
    std::string error;
  };
  const Case cases[] = {
      {false, "btnSaveSetting", FormatText(MsgUnableToWrite, OmbrixIni)},
      {false, "btnDeleteSetting", FormatText(MsgUnableToWrite, OmbrixIni)},
      {true, "btnSaveSetting", FormatText(MsgFailedToSetData, "MinimizeType1")},
      {true, "btnDeleteSetting", FormatText(MsgFailedToDeleteData, "MinimizeType1")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.button) + (c.inRegistry ? " in the registry" : " in the INI file"));
    platform.SimBoxes().ClearLog();
    platform.Files().DeleteFileA(OmbrixIni);
    Registry().DeleteKey("");
    TRegistryEnhanced(platform).DeleteKey(SettingsKey);
    if (c.inRegistry) {
      Store().SaveSettings(DefaultAppSettings(Notes), false);
      Registry().WriteValue(ValueUseINIFile, false);
      platform.SimReg().FailAlways(sim::SimRegistry::Op::kSet, ERROR_ACCESS_DENIED);
      platform.SimReg().FailAlways(sim::SimRegistry::Op::kDeleteValue, ERROR_ACCESS_DENIED);
    } else {
      PutIni(1, DefaultAppSettings(Notes));
      platform.SimFiles().SetReadOnly(OmbrixIni, true);
    }
    Run([&](SimFormUser& user) {
      ASSERT_TRUE(user.Select("cbSettingsList", 0));
      ASSERT_TRUE(user.Type("ebxMainHandle", "9"));
      ASSERT_TRUE(user.Click(c.button));
      EXPECT_EQ(0, user.ItemIndexOf("cbSettingsList")) << "still listed and selected";
      EXPECT_EQ("9", user.TextOf("ebxMainHandle"));
    });
    platform.SimReg().ClearFailures();
    platform.SimFiles().SetReadOnly(OmbrixIni, false);
    EXPECT_EQ(std::vector<std::string>{c.error}, Errors());
    TAppSettings stored = DefaultAppSettings(Notes);
    Store().LoadSettings(stored);
    EXPECT_EQ("1", stored.MainHandle) << "stored as before";
  }
}

// Ombrix loads the registry first and the INI file over it: a save into the store Ombrix does
// not use would hide, or be hidden by, every later change made in Ombrix's own dialog.
TEST_F(StoredSettingsPageTest, SaveGoesWhereOmbrixSaves) {
  struct Case {
    std::optional<bool> useIniFile;  // nullopt: the value is missing
    bool inIni;
  };
  for (const Case& c : {Case{std::nullopt, true}, Case{true, true}, Case{false, false}}) {
    SCOPED_TRACE(c.useIniFile ? (*c.useIniFile ? "UseINIFile 1" : "UseINIFile 0") : "UseINIFile missing");
    platform.Files().DeleteFileA(OmbrixIni);
    TRegistryEnhanced(platform).DeleteKey(SettingsKey);
    Store().SaveSettings(DefaultAppSettings(Notes), c.inIni);
    if (c.useIniFile) Registry().WriteValue(ValueUseINIFile, *c.useIniFile);
    Run([&](SimFormUser& user) {
      ASSERT_TRUE(user.Select("cbSettingsList", 0));
      ASSERT_TRUE(user.Type("ebxMainHandle", "7"));
      ASSERT_TRUE(user.Click("btnSaveSetting"));
    });
    EXPECT_EQ(c.inIni ? "7" : "<missing>", IniValue("MainHandle1"));
    EXPECT_EQ(c.inIni ? "<missing>" : "7", Registry().ReadValueDefault("MainHandle1", TVariant("<missing>")).ToText());
    // Ombrix's own dialog saves the next change to the same store, and its load shows it.
    TAppSettings changed = DefaultAppSettings(Notes);
    changed.MainHandle = "5";
    Store().SaveSettings(changed, c.inIni);
    TAppSettings loaded = DefaultAppSettings(Notes);
    Store().LoadSettings(loaded);
    EXPECT_EQ("5", loaded.MainHandle);
    EXPECT_TRUE(Errors().empty());
  }
}

TEST_F(StoredSettingsPageTest, RevertLoadsTheStoredEntryAgain) {
  StoreRegistryWithGap();
  Run([&](SimFormUser& user) {
    ASSERT_TRUE(user.Select("cbSettingsList", 1));  // Notes
    ASSERT_TRUE(user.Click("rbMinByName"));
    ASSERT_TRUE(user.SwitchPage("pcConfig", 1));
    ASSERT_TRUE(user.Click("rbNoTrayNoTask"));
    ASSERT_TRUE(user.Click("btnRevertSetting"));
    EXPECT_EQ(NotesEntry().MinimizeType, user.IsChecked("rbMinByProcess"));
    EXPECT_TRUE(user.IsChecked("rbTrayTask"));
    EXPECT_EQ(1, user.ItemIndexOf("cbSettingsList")) << "still selected";
  });
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST_F(StoredSettingsPageTest, ExportWritesTheRegistryEntriesAsRegedit4) {
  constexpr char Exported[] = "C:\\Backup\\settings.reg";
  platform.SimFiles().MakeDirectories("C:\\Backup");
  // No entry: the key line and one empty line.
  ExportSettings(platform, form.RegistryOp, Exported);
  std::string bytes;
  ASSERT_TRUE(platform.Files().ReadFileBytes(Exported, bytes));
  EXPECT_EQ("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vorel Software\\Ombrix]\r\n\r\n", bytes);

  StoreRegistryWithGap();
  PutIni(2, DefaultAppSettings("C:\\Ini\\Only.exe"));
  platform.SimBoxes().AnswerNextSaveDialog(std::string(Exported));
  Run([&](SimFormUser& user) { ASSERT_TRUE(user.Click("btnExport")); });
  ASSERT_TRUE(platform.Files().ReadFileBytes(Exported, bytes));
  EXPECT_EQ(ReadAll(OMBRIX_EXPORT_EXPECTED), bytes);
  EXPECT_TRUE(Errors().empty());
  const OpenFileRequest& dialog = platform.SimBoxes().SaveDialogs().back();
  EXPECT_EQ("Choose file to export to", dialog.title);
  EXPECT_EQ("Registry Files|*.reg", dialog.filter);
  EXPECT_EQ("reg", dialog.defaultExtension);
  EXPECT_TRUE(dialog.overwritePrompt && dialog.pathMustExist && !dialog.fileMustExist);
  EXPECT_EQ(TRootKey::hkClassesRoot, form.RegistryOp.RootKey);

  // A dword that is no number ends the export with its error; the lines before it stay.
  Registry().WriteValue("ShowState3", std::string("three"));
  platform.SimBoxes().AnswerNextSaveDialog(std::string(Exported));
  Run([&](SimFormUser& user) { ASSERT_TRUE(user.Click("btnExport")); });
  EXPECT_EQ(std::vector<std::string>{"'three' is not a valid integer"}, Errors());
  ASSERT_TRUE(platform.Files().ReadFileBytes(Exported, bytes));
  const std::string expected = ReadAll(OMBRIX_EXPORT_EXPECTED);
  EXPECT_EQ(expected.substr(0, expected.find("\"ShowState3\"")), bytes);
  EXPECT_EQ(TRootKey::hkClassesRoot, form.RegistryOp.RootKey);
}

// The little-endian bytes of a UTF-16 text, as a Unicode registry file holds them.
std::string Utf16Le(const std::u16string& text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// The registry editor reads a REGEDIT4 file in the system's legacy code page, where UTF-8 names
// would arrive as other characters: a name beyond ASCII makes the file Unicode, control
// characters included (their "hex(1):" bytes are UTF-16 then).
TEST_F(StoredSettingsPageTest, ExportOfNamesBeyondAsciiIsTheEditorsUnicodeForm) {
  platform.SimCodes().SetActiveCodePage(CP_UTF8);
  TAppSettings entry = DefaultAppSettings("C:\\\xE6\x97\xA5\xE6\x9C\xAC\\\xCE\x95\xCE\xBB \xF0\x9F\x98\x80.exe");
  entry.WindowCaption = "\xCE\xB1\r\n\xCE\xB2";
  Store().SaveSettings(entry, false);
  platform.SimFiles().MakeDirectories("C:\\Backup");
  ExportSettings(platform, form.RegistryOp, "C:\\Backup\\unicode.reg");
  std::string bytes;
  ASSERT_TRUE(platform.Files().ReadFileBytes("C:\\Backup\\unicode.reg", bytes));
  const std::u16string name = u"\"C:\\\\\u65E5\u672C\\\\\u0395\u03BB \U0001F600.exe\"";
  EXPECT_EQ(Utf16Le(u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n"
                    u"[HKEY_CURRENT_USER\\Software\\Vorel Software\\Ombrix]\r\n"
                    u"\"Filename1\"=" +
                    name +
                    u"\r\n"
                    u"\"NbWindows1\"=\"1\"\r\n\"MainHandle1\"=\"1\"\r\n\"SecsToWait1\"=\"3\"\r\n"
                    u"\"ShowState1\"=dword:00000000\r\n\"DebugMode1\"=dword:00000000\r\n"
                    u"\"WindowCaption1\"=hex(1):b1,03,0d,00,0a,00,b2,03,00,00\r\n"
                    u"\"DoPartialSearch1\"=dword:00000000\r\n\"Icon1\"=" +
                    name +
                    u"\r\n"
                    u"\"IconNumber1\"=dword:00000000\r\n\"NoTrayTask1\"=dword:00000000\r\n"
                    u"\"NoTrayIcon1\"=dword:00000000\r\n\"MinimizeType1\"=dword:00000001\r\n"
                    u"\"WarnQuickClose1\"=dword:00000000\r\n\"TrayDblClick1\"=dword:00000001\r\n"
                    u"\"UsePID1\"=dword:00000001\r\n\"HotKey1\"=dword:00000000\r\n\r\n\r\n"),
            bytes);
}

// Names in other scripts sort after the Latin ones, Greek before Japanese, as Windows sorts
// them; a name an earlier version wrote into the INI file in the legacy code page is listed
// right, and the file is UTF-8 afterwards.
TEST_F(StoredSettingsPageTest, NamesOfAnyScriptAreListedInTheSystemsOrder) {
  platform.SimCodes().SetActiveCodePage(CP_UTF8);
  const std::string greek = "C:\\\xCE\xA9mega.exe";
  const std::string japanese = "C:\\\xE6\x97\xA5\xE6\x9C\xAC.exe";
  for (const std::string& name : {std::string("C:\\Zed.exe"), japanese, greek})
    Store().SaveSettings(DefaultAppSettings(name), false);
  ASSERT_TRUE(platform.Files().WriteFileBytes(
      OmbrixIni, "[AppSettings]\r\nFilename1=\"C:\\Caf\xE9.exe\"\r\nFilename2=\"C:\\alpha.exe\"\r\n"));
  Run([&](SimFormUser&) {
    EXPECT_EQ((std::vector<std::string>{"C:\\alpha.exe", "C:\\Caf\xC3\xA9.exe", "C:\\Zed.exe", greek, japanese}),
              form.page.cbSettingsList.Items());
  });
  EXPECT_EQ("C:\\Caf\xC3\xA9.exe", IniValue("Filename1"));
}

// The registry editor asks before it merges a file: the list is read again when it has ended,
// however long the user takes, and the page answers meanwhile without running a second
// handler inside the first.
TEST_F(StoredSettingsPageTest, ImportListsWhatTheEditorMergedOnceItEnds) {
  constexpr char Editor[] = "C:\\Windows\\regedit.exe";
  sim::SimProgram editor;
  editor.exitAfter = 5000;
  platform.SimProcs().DefineProgram(Editor, editor);
  platform.SimTray().OpenFilesWith(".reg", Editor);
  platform.SimBoxes().AnswerNextOpenDialog(std::string("C:\\Backup\\settings.reg"));
  Store().SaveSettings(DefaultAppSettings(Line), false);
  auto& pump = platform.SimMessages();
  Run([&](SimFormUser& user) {
    ASSERT_TRUE(user.Select("cbSettingsList", 0));
    // While the editor's question is open: the user clicks the page's buttons again, and
    // later confirms, and the editor writes the file's entry.
    const UINT_PTR clicks = pump.SetTimer(2000, [&] {
      for (const char* button : {"btnImport", "btnExport", "btnSaveSetting", "btnDeleteSetting", "btnRevertSetting"}) {
        EXPECT_TRUE(user.Click(button)) << button;
      }
    });
    const UINT_PTR merge = pump.SetTimer(3000, [&] { Store().SaveSettings(DefaultAppSettings(Notes), false); });
    const unsigned long long before = platform.SimTime().Elapsed();
    ASSERT_TRUE(user.Click("btnImport"));
    pump.KillTimer(clicks);
    pump.KillTimer(merge);
    EXPECT_GE(platform.SimTime().Elapsed() - before, 5000u) << "until the editor ended";
    EXPECT_EQ((std::vector<std::string>{Line, Notes}), form.page.cbSettingsList.Items());
    EXPECT_TRUE(user.IsShowing("lblChooseItem"));
  });
  EXPECT_EQ(1u, platform.SimBoxes().OpenDialogs().size()) << "no second import";
  EXPECT_TRUE(platform.SimBoxes().SaveDialogs().empty()) << "no export meanwhile";
  EXPECT_EQ(std::vector<std::string>{Line}, std::vector<std::string>{Registry().ReadValue("Filename1").ToText()})
      << "no delete meanwhile";
  EXPECT_EQ(0, platform.SimProcs().OpenShellHandles()) << "the editor's handle is closed";
  EXPECT_TRUE(Errors().empty());
}

TEST_F(StoredSettingsPageTest, ImportOpensTheFileAndListsAgain) {
  constexpr char Imported[] = "C:\\Backup\\settings.reg";
  platform.SimBoxes().AnswerNextOpenDialog(std::string(Imported));
  platform.SimBoxes().AnswerNextOpenDialog(std::string(Imported));
  platform.SimTray().AnswerNextShellExecute(42);
  platform.SimTray().AnswerNextShellExecute(31);  // SE_ERR_NOASSOC: nothing opens .reg files
  Run([&](SimFormUser& user) {
    // The shell merges the file while the page waits: the entry shows up a second later.
    Store().SaveSettings(DefaultAppSettings(Notes), false);
    const unsigned long long before = platform.SimTime().Elapsed();
    ASSERT_TRUE(user.Click("btnImport"));
    EXPECT_GE(platform.SimTime().Elapsed() - before, 1000u);
    EXPECT_EQ(std::vector<std::string>{Notes}, form.page.cbSettingsList.Items());
    EXPECT_TRUE(user.IsShowing("lblChooseItem"));
    ASSERT_TRUE(user.Click("btnImport"));
  });
  ASSERT_EQ(2u, platform.SimTray().ExecuteCalls().size());
  const sim::ShellExecuteCall& call = platform.SimTray().ExecuteCalls()[0];
  EXPECT_EQ("open", call.verb);
  EXPECT_EQ(Imported, call.file);
  EXPECT_EQ(SW_SHOW, call.showCommand);
  const OpenFileRequest& dialog = platform.SimBoxes().OpenDialogs().back();
  EXPECT_EQ("Choose file to import from", dialog.title);
  EXPECT_TRUE(dialog.pathMustExist && dialog.fileMustExist);
  ASSERT_EQ(1u, platform.SimBoxes().Boxes().size());
  EXPECT_EQ("Unable to import settings from: \r\nC:\\Backup\\settings.reg\r\nThe file data might be invalid.",
            platform.SimBoxes().Boxes()[0].text);
  EXPECT_EQ(HubTitle, platform.SimBoxes().Boxes()[0].caption);
}

}  // namespace
}  // namespace ombrix::centertest
