// The per-application entry in both stores, over both backends.

#include <set>

#include "settings/AppSettings.h"
#include "tests/settings/SettingsFixture.h"

namespace ombrix::settingstest {
namespace {

class AppSettingsStore : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    iniPath_ = InFolder("Ombrix.ini");
    entries_ = std::make_unique<TAppSettingsStore>(*platform_, Store(), TSettingsLocation{key_, iniPath_});
  }
  void TearDown() override {
    entries_.reset();
    SettingsTest::TearDown();
  }

  TAppSettings Loaded(const std::string& fileName) {
    TAppSettings settings = DefaultAppSettings(fileName);
    entries_->LoadSettings(settings);
    return settings;
  }
  std::string Ini(const std::string& ident) {
    std::string value;
    Profile().GetPrivateProfileStringA("AppSettings", ident, "<missing>", 1024, value, iniPath_);
    return value;
  }
  void SetIni(const std::string& ident, const std::string& value) {
    ASSERT_TRUE(Profile().WritePrivateProfileStringA("AppSettings", ident, value, iniPath_));
  }
  // The lines of the INI file, as a set (wine rewrites files it changes, so only the lines
  // themselves are compared).
  std::set<std::string> IniLines() {
    std::string bytes;
    Files().ReadFileBytes(iniPath_, bytes);
    std::set<std::string> lines;
    std::string line;
    for (char c : bytes) {
      if (c == '\r' || c == '\n') {
        if (!line.empty()) lines.insert(line);
        line.clear();
      } else {
        line += c;
      }
    }
    if (!line.empty()) lines.insert(line);
    return lines;
  }
  // An entry that differs from the defaults in every field, with texts the INI form has to
  // wrap.
  static TAppSettings Unusual(const std::string& fileName) {
    TAppSettings s;
    s.MinimizeType = false;
    s.Filename = fileName;
    s.NbWindows = "12";
    s.MainHandle = "3";
    s.SecsToWait = "45";
    s.ShowState = 2;
    s.DebugMode = true;
    s.WarnQuickClose = true;
    s.WindowCaption = "  \"Notes\" - line one\r\nline two\n";
    s.DoPartialSearch = true;
    s.UsePID = false;
    s.Icon = "C:\\Icons\\Caf\xE9 \"set\".dll";
    s.IconNumber = -3;
    s.TrayTask = false;
    s.TrayNoTask = false;
    s.NoTrayTask = true;
    s.NoTrayIcon = false;
    s.TrayDblClick = 0;
    return s;
  }

  std::string iniPath_;
  std::unique_ptr<TAppSettingsStore> entries_;
};

TEST_F(AppSettingsStore, NothingStoredLeavesTheDefaults) {
  const TAppSettings defaults = DefaultAppSettings("C:\\Prog\\App.exe");
  EXPECT_TRUE(defaults.MinimizeType);
  EXPECT_EQ("C:\\Prog\\App.exe", defaults.Filename);
  EXPECT_EQ("1", defaults.NbWindows);
  EXPECT_EQ("1", defaults.MainHandle);
  EXPECT_EQ("3", defaults.SecsToWait);
  EXPECT_EQ(0, defaults.ShowState);
  EXPECT_FALSE(defaults.DebugMode || defaults.WarnQuickClose || defaults.DoPartialSearch);
  EXPECT_EQ("", defaults.WindowCaption);
  EXPECT_TRUE(defaults.UsePID);
  EXPECT_EQ("C:\\Prog\\App.exe", defaults.Icon);
  EXPECT_EQ(0, defaults.IconNumber);
  EXPECT_TRUE(defaults.TrayTask);
  EXPECT_FALSE(defaults.TrayNoTask || defaults.NoTrayTask || defaults.NoTrayIcon);
  EXPECT_EQ(1, defaults.TrayDblClick);

  EXPECT_EQ(defaults, Loaded("C:\\Prog\\App.exe"));
  // The key does not even exist.
  EXPECT_FALSE(KeyExists(""));
}

TEST_F(AppSettingsStore, EveryFieldSurvivesASaveAndALoadInEitherStore) {
  for (bool useIni : {false, true}) {
    const std::string name = useIni ? "C:\\Ini \"Prog\"\\Caf\xE9.exe" : "C:\\Reg \"Prog\"\\Caf\xE9.exe";
    entries_->SaveSettings(DefaultAppSettings("C:\\Other.exe"), useIni);
    const TAppSettings saved = Unusual(name);
    entries_->SaveSettings(saved, useIni);
    EXPECT_EQ(saved, Loaded(name)) << (useIni ? "INI" : "registry");
    // Saving again overwrites in place.
    TAppSettings changed = saved;
    changed.NbWindows = "7";
    changed.TrayTask = true;
    changed.NoTrayTask = false;
    entries_->SaveSettings(changed, useIni);
    EXPECT_EQ(changed, Loaded(name)) << (useIni ? "INI" : "registry");
  }
  EXPECT_EQ(TVariant("C:\\Reg \"Prog\"\\Caf\xE9.exe"), Store().ReadValue("Filename2"));
  EXPECT_EQ(TVariant(), Store().ReadValue("Filename3"));
  EXPECT_EQ("C:\\Ini \x02Prog\x02\\Caf\xE9.exe", Ini("Filename2"));
  EXPECT_EQ("<missing>", Ini("Filename3"));
}

TEST_F(AppSettingsStore, TheStoredFormsOfEachStore) {
  entries_->SaveSettings(Unusual("C:\\A.exe"), false);
  entries_->SaveSettings(Unusual("C:\\A.exe"), true);
  struct Case {
    const char* name;
    DWORD type;
    TVariant registry;
    const char* ini;  // as the profile call returns it (outer quotes dropped)
  };
  const Case cases[] = {
      {"MinimizeType1", REG_DWORD, TVariant(0), "0"},
      {"Filename1", REG_SZ, TVariant("C:\\A.exe"), "C:\\A.exe"},
      {"NbWindows1", REG_SZ, TVariant("12"), "12"},
      {"MainHandle1", REG_SZ, TVariant("3"), "3"},
      {"SecsToWait1", REG_SZ, TVariant("45"), "45"},
      {"ShowState1", REG_DWORD, TVariant(2), "2"},
      {"DebugMode1", REG_DWORD, TVariant(1), "1"},
      {"WarnQuickClose1", REG_DWORD, TVariant(1), "1"},
      {"WindowCaption1", REG_SZ, TVariant("  \"Notes\" - line one\r\nline two\n"),
       "  \x02Notes\x02 - line one\x03\x04line two\x04"},
      {"DoPartialSearch1", REG_DWORD, TVariant(1), "1"},
      {"UsePID1", REG_DWORD, TVariant(0), "0"},
      {"Icon1", REG_SZ, TVariant("C:\\Icons\\Caf\xE9 \"set\".dll"), "C:\\Icons\\Caf\xE9 \x02set\x02.dll"},
      {"IconNumber1", REG_DWORD, TVariant(-3), "-3"},
      {"TrayTask1", REG_DWORD, TVariant(0), "0"},
      {"TrayNoTask1", REG_DWORD, TVariant(0), "0"},
      {"NoTrayTask1", REG_DWORD, TVariant(1), "1"},
      {"NoTrayIcon1", REG_DWORD, TVariant(0), "0"},
      {"TrayDblClick1", REG_DWORD, TVariant(0), "0"},
  };
  for (const Case& c : cases) {
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(GetRaw(c.name, type, data)) << c.name;
    EXPECT_EQ(c.type, type) << c.name;
    EXPECT_EQ(c.registry, Store().ReadValue(c.name)) << c.name;
    EXPECT_EQ(c.ini, Ini(c.name)) << c.name;
  }
  EXPECT_EQ(18u, RawValueNames().size()) << "nothing else is written";
}

TEST_F(AppSettingsStore, AnEntryInBothStoresLoadsWithTheIniValues) {
  TAppSettings inRegistry = Unusual("C:\\Both.exe");
  entries_->SaveSettings(inRegistry, false);
  TAppSettings inIni = DefaultAppSettings("C:\\Both.exe");
  inIni.SecsToWait = "9";
  inIni.NoTrayIcon = true;
  inIni.TrayTask = false;
  entries_->SaveSettings(inIni, true);
  EXPECT_EQ(inIni, Loaded("C:\\Both.exe"));

  // Where the INI entry lacks a value, its default applies; for five of them the default is
  // what the registry entry gave.
  for (const char* name : {"ShowState1", "DebugMode1", "WarnQuickClose1", "DoPartialSearch1", "UsePID1", "NbWindows1",
                           "IconNumber1", "TrayDblClick1", "MinimizeType1"}) {
    ASSERT_TRUE(Profile().WritePrivateProfileStringA("AppSettings", std::string(name), std::nullopt, iniPath_));
  }
  const TAppSettings loaded = Loaded("C:\\Both.exe");
  EXPECT_EQ(inRegistry.ShowState, loaded.ShowState);
  EXPECT_EQ(inRegistry.DebugMode, loaded.DebugMode);
  EXPECT_EQ(inRegistry.WarnQuickClose, loaded.WarnQuickClose);
  EXPECT_EQ(inRegistry.DoPartialSearch, loaded.DoPartialSearch);
  EXPECT_EQ(inRegistry.UsePID, loaded.UsePID);
  EXPECT_EQ("", loaded.NbWindows);
  EXPECT_EQ(0, loaded.IconNumber);
  EXPECT_EQ(1, loaded.TrayDblClick);
  EXPECT_TRUE(loaded.MinimizeType);
  EXPECT_EQ("9", loaded.SecsToWait);
}

TEST_F(AppSettingsStore, FileNamesAreComparedExactly) {
  TAppSettings upper = DefaultAppSettings("C:\\App.exe");
  upper.SecsToWait = "1";
  TAppSettings lower = DefaultAppSettings("c:\\app.exe");
  lower.SecsToWait = "2";
  for (bool useIni : {false, true}) {
    entries_->SaveSettings(upper, useIni);
    entries_->SaveSettings(lower, useIni);
    EXPECT_EQ("1", Loaded("C:\\App.exe").SecsToWait);
    EXPECT_EQ("2", Loaded("c:\\app.exe").SecsToWait);
    std::unique_ptr<TIniFile> ini = entries_->OpenIni();
    const TEntrySlot slot = useIni ? entries_->FindEntrySlot(*ini, "c:\\app.exe") : entries_->FindEntrySlot("c:\\app.exe");
    EXPECT_TRUE(slot.Found);
    EXPECT_EQ(2, slot.Slot);
  }
}

TEST_F(AppSettingsStore, AGapHidesTheEntriesAfterItUntilASaveFillsIt) {
  for (bool useIni : {false, true}) {
    DeleteTree(Reg(), HKEY_CURRENT_USER, key_);
    Files().DeleteFileA(iniPath_);
    for (const char* name : {"C:\\One.exe", "C:\\Two.exe", "C:\\Three.exe"}) {
      entries_->SaveSettings(DefaultAppSettings(name), useIni);
    }
    entries_->DeleteSettings("C:\\Two.exe");
    std::unique_ptr<TIniFile> ini = entries_->OpenIni();
    const TEntrySlot hidden = useIni ? entries_->FindEntrySlot(*ini, "C:\\Three.exe")
                                     : entries_->FindEntrySlot("C:\\Three.exe");
    EXPECT_FALSE(hidden.Found);
    EXPECT_EQ(2, hidden.Slot);
    TAppSettings three = DefaultAppSettings("C:\\Three.exe");
    three.SecsToWait = "8";
    entries_->SaveSettings(three, useIni);
    const TEntrySlot now = useIni ? entries_->FindEntrySlot(*ini, "C:\\Three.exe")
                                  : entries_->FindEntrySlot("C:\\Three.exe");
    EXPECT_TRUE(now.Found);
    EXPECT_EQ(2, now.Slot);
    EXPECT_EQ("8", Loaded("C:\\Three.exe").SecsToWait);
  }
}

TEST_F(AppSettingsStore, DeleteRemovesExactlyTheEighteenValuesOfTheSlot) {
  Store().WriteValue(ValueUseINIFile, TVariant(true));
  Store().WriteValue(ValueVersion, TVariant("1.0.0.1"));
  for (bool useIni : {false, true}) {
    for (const char* name : {"C:\\One.exe", "C:\\Two.exe", "C:\\Three.exe"}) {
      entries_->SaveSettings(Unusual(name), useIni);
    }
  }
  const std::vector<std::string> registryBefore = RawValueNames();
  const std::set<std::string> iniBefore = IniLines();
  ASSERT_EQ(2u + 3 * 18, registryBefore.size());

  entries_->DeleteSettings("C:\\Two.exe");

  std::vector<std::string> expected;
  for (const std::string& name : registryBefore) {
    if (name.empty() || name.back() != '2') expected.push_back(name);
  }
  EXPECT_EQ(expected, RawValueNames());
  const std::set<std::string> iniAfter = IniLines();
  std::set<std::string> deletedLines;
  for (const std::string& line : iniBefore) {
    if (iniAfter.count(line) == 0) deletedLines.insert(line.substr(0, line.find('=')));
  }
  std::set<std::string> slotTwo;
  for (const char* name : EntryValueNames) slotTwo.insert(std::string(name) + "2");
  EXPECT_EQ(slotTwo, deletedLines);
  EXPECT_EQ(iniBefore.size() - 18, iniAfter.size());

  // The delete order names all eighteen values.
  std::set<std::string> deleteOrder(std::begin(EntryDeleteOrder), std::end(EntryDeleteOrder));
  std::set<std::string> saveOrder(std::begin(EntryValueNames), std::end(EntryValueNames));
  EXPECT_EQ(saveOrder, deleteOrder);
  EXPECT_EQ(18u, deleteOrder.size());

  // Deleting a name with no entry changes nothing.
  entries_->DeleteSettings("C:\\Two.exe");
  entries_->DeleteSettings("C:\\Never.exe");
  EXPECT_EQ(expected, RawValueNames());
}

TEST_F(AppSettingsStore, TrayModeOfEntriesWithoutEveryTrayValue) {
  struct Case {
    const char* what;
    std::vector<std::pair<const char*, std::uint32_t>> stored;  // besides the basic values of slot 1
    bool trayTask, trayNoTask, noTrayTask, noTrayIcon;
    std::int32_t dblClick;
  };
  const Case cases[] = {
      {"no tray values", {}, true, false, false, false, 1},
      {"NoTrayIcon only, on", {{"NoTrayIcon1", 1}}, false, false, false, true, 1},
      {"NoTrayIcon only, off", {{"NoTrayIcon1", 0}}, true, false, false, false, 1},
      {"all four", {{"TrayTask1", 0}, {"TrayNoTask1", 1}, {"NoTrayTask1", 0}, {"NoTrayIcon1", 0}, {"TrayDblClick1", 0}},
       false, true, false, false, 0},
      // Another slot's longer names count as present: the missing values of this slot read
      // as off.
      {"slot 10's names", {{"NoTrayIcon10", 1}}, true, false, false, false, 1},
      {"slot 10's four names", {{"NoTrayIcon10", 1}, {"TrayNoTask10", 1}, {"TrayDblClick10", 0}},
       false, false, false, false, 0},
  };
  for (const Case& c : cases) {
    DeleteTree(Reg(), HKEY_CURRENT_USER, key_);
    SetDword("MinimizeType1", 1);
    SetText("Filename1", "C:\\Old.exe");
    SetDword("DoPartialSearch1", 0);
    SetDword("UsePID1", 1);
    for (const auto& value : c.stored) SetDword(value.first, value.second);
    TAppSettings settings = DefaultAppSettings("C:\\Old.exe");
    settings.TrayTask = false;
    settings.NoTrayTask = true;
    settings.TrayDblClick = 5;
    entries_->LoadSettings(settings);
    EXPECT_EQ(c.trayTask, settings.TrayTask) << c.what;
    EXPECT_EQ(c.trayNoTask, settings.TrayNoTask) << c.what;
    EXPECT_EQ(c.noTrayTask, settings.NoTrayTask) << c.what;
    EXPECT_EQ(c.noTrayIcon, settings.NoTrayIcon) << c.what;
    EXPECT_EQ(c.dblClick, settings.TrayDblClick) << c.what;
    // Missing basic values read as empty, 0 or false.
    EXPECT_EQ("", settings.NbWindows) << c.what;
    EXPECT_EQ("C:\\Old.exe", settings.Icon) << c.what;
  }
}

TEST_F(AppSettingsStore, ADamagedValueElsewhereDoesNotStopTheTrayModeTest) {
  SetRaw("Junk", REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8});
  SetDword("MinimizeType1", 1);
  SetText("Filename1", "C:\\Old.exe");
  SetDword("DoPartialSearch1", 0);
  SetDword("UsePID1", 1);
  TAppSettings settings = DefaultAppSettings("C:\\Old.exe");
  settings.TrayTask = false;
  settings.NoTrayTask = true;
  settings.TrayDblClick = 0;
  entries_->LoadSettings(settings);
  EXPECT_TRUE(settings.TrayTask);
  EXPECT_FALSE(settings.NoTrayTask);
  EXPECT_EQ(1, settings.TrayDblClick);
}

TEST_F(AppSettingsStore, BadRegistryValuesEndTheRegistryLoadWhereTheyAre) {
  struct Case {
    const char* what;
    const char* badName;
    int badType;  // 0: leave it out; otherwise REG_SZ "abc"
    const char* lastLoaded;  // the last field that takes the stored value
  };
  const Case cases[] = {
      {"MinimizeType missing", "MinimizeType1", 0, ""},
      {"ShowState not a number", "ShowState1", REG_SZ, "SecsToWait"},
      {"UsePID missing", "UsePID1", 0, "DoPartialSearch"},
      {"IconNumber not a number", "IconNumber1", REG_SZ, "Icon"},
  };
  const TAppSettings stored = Unusual("C:\\Bad.exe");
  for (const Case& c : cases) {
    DeleteTree(Reg(), HKEY_CURRENT_USER, key_);
    entries_->SaveSettings(stored, false);
    if (c.badType == 0) {
      Store().DeleteValue(c.badName);
    } else {
      SetText(c.badName, "abc");
    }
    const TAppSettings loaded = Loaded("C:\\Bad.exe");
    // Fields in load order; those up to lastLoaded come from the store, the rest keep the
    // defaults.
    const std::vector<std::pair<std::string, bool>> fields = {
        {"MinimizeType", loaded.MinimizeType == stored.MinimizeType},
        {"NbWindows", loaded.NbWindows == stored.NbWindows},
        {"MainHandle", loaded.MainHandle == stored.MainHandle},
        {"SecsToWait", loaded.SecsToWait == stored.SecsToWait},
        {"ShowState", loaded.ShowState == stored.ShowState},
        {"DebugMode", loaded.DebugMode == stored.DebugMode},
        {"WindowCaption", loaded.WindowCaption == stored.WindowCaption},
        {"DoPartialSearch", loaded.DoPartialSearch == stored.DoPartialSearch},
        {"UsePID", loaded.UsePID == stored.UsePID},
        {"Icon", loaded.Icon == stored.Icon},
        {"IconNumber", loaded.IconNumber == stored.IconNumber},
        {"TrayDblClick", loaded.TrayDblClick == stored.TrayDblClick},
    };
    bool fromStore = std::string(c.lastLoaded) != "";
    for (const auto& field : fields) {
      EXPECT_EQ(fromStore, field.second) << c.what << ": " << field.first;
      if (field.first == c.lastLoaded) fromStore = false;
    }
  }
}

TEST_F(AppSettingsStore, IniValuesThatAreNotNumbersGiveTheirDefaults) {
  entries_->SaveSettings(Unusual("C:\\Bad.exe"), true);
  for (const char* name : {"MinimizeType1", "ShowState1", "DebugMode1", "IconNumber1", "TrayTask1", "NoTrayIcon1",
                           "TrayDblClick1"}) {
    SetIni(name, "not a number");
  }
  TAppSettings settings = DefaultAppSettings("C:\\Bad.exe");
  settings.ShowState = 3;
  settings.DebugMode = true;
  entries_->LoadSettings(settings);
  EXPECT_TRUE(settings.MinimizeType);
  EXPECT_EQ(3, settings.ShowState) << "the value the record had";
  EXPECT_TRUE(settings.DebugMode) << "the value the record had";
  EXPECT_EQ(0, settings.IconNumber);
  EXPECT_TRUE(settings.TrayTask);
  EXPECT_FALSE(settings.NoTrayIcon);
  EXPECT_EQ(1, settings.TrayDblClick);
  EXPECT_EQ("45", settings.SecsToWait) << "the readable values still load";
}

TEST_F(AppSettingsStore, AFullStoreRefusesANewEntryAndWritesNothing) {
  for (bool useIni : {false, true}) {
    DeleteTree(Reg(), HKEY_CURRENT_USER, key_);
    Files().DeleteFileA(iniPath_);
    for (int slot = 1; slot < SlotLimit; ++slot) {
      const std::string name = "Filename" + std::to_string(slot);
      const std::string file = "C:\\App" + std::to_string(slot) + ".exe";
      if (useIni) {
        SetIni(name, EncodeQuoted(file));
      } else {
        SetText(name, file);
      }
    }
    // Left by an older save into slot 400: never matched, never overwritten.
    if (useIni) {
      SetIni("Filename400", "C:\\New.exe");
    } else {
      SetText("Filename400", "C:\\New.exe");
    }
    entries_->OpenIni();  // its own write of the FlushCache section is not part of the save
    const std::vector<std::string> valuesBefore = RawValueNames();
    const std::set<std::string> linesBefore = IniLines();
    try {
      entries_->SaveSettings(DefaultAppSettings("C:\\New.exe"), useIni);
      ADD_FAILURE() << "a save into a full store was accepted";
    } catch (const ESettingsStoreFull& error) {
      EXPECT_EQ("Unable to save the settings for 'C:\\New.exe':\r\nthe settings store already holds 399 applications.",
                error.Message());
    }
    EXPECT_EQ(valuesBefore, RawValueNames());
    EXPECT_EQ(linesBefore, IniLines());

    // The entries already there are still saved in place.
    TAppSettings last = DefaultAppSettings("C:\\App399.exe");
    last.SecsToWait = "99";
    entries_->SaveSettings(last, useIni);
    EXPECT_EQ(last, Loaded("C:\\App399.exe")) << (useIni ? "INI" : "registry");
  }
}

}  // namespace
}  // namespace ombrix::settingstest
