// The per-application entry in both stores, over both backends.

#include <iterator>
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
  void ClearStores() {
    DeleteTree(Reg(), HKEY_CURRENT_USER, key_);
    Files().DeleteFileA(iniPath_);
  }
  TAppSettings Loaded(const std::string& fileName) {
    TAppSettings settings = DefaultAppSettings(fileName);
    entries_->LoadSettings(settings);
    return settings;
  }
  TEntrySlot Find(const std::string& fileName, bool useIni) {
    if (!useIni) return entries_->FindEntrySlot(fileName);
    return entries_->FindEntrySlot(*entries_->OpenIni(), fileName);
  }
  std::string Ini(const std::string& ident) {
    std::string value;
    Profile().GetPrivateProfileStringA("AppSettings", ident, "<missing>", 1024, value, iniPath_);
    return value;
  }
  void SetIni(const std::string& ident, const std::optional<std::string>& value) {
    ASSERT_TRUE(Profile().WritePrivateProfileStringA("AppSettings", ident, value, iniPath_));
  }
  // The lines of the INI file as a set (wine rewrites a file it changes; the lines stay).
  std::set<std::string> IniLines() {
    std::string bytes, line;
    Files().ReadFileBytes(iniPath_, bytes);
    std::set<std::string> lines;
    for (char c : bytes + "\n") {
      if (c != '\r' && c != '\n') {
        line += c;
      } else if (!line.empty()) {
        lines.insert(line);
        line.clear();
      }
    }
    return lines;
  }
  // Differs from the defaults in every field, with texts the INI form has to wrap.
  static TAppSettings Unusual(const std::string& fileName) {
    TAppSettings s;
    s.MinimizeType = false;
    s.Filename = fileName;
    s.NbWindows = "12";
    s.MainHandle = "3";
    s.SecsToWait = "45";
    s.ShowState = 2;
    s.DebugMode = s.WarnQuickClose = s.DoPartialSearch = true;
    s.WindowCaption = "  \"Notes\" - line one\r\nline two\n";
    s.UsePID = false;
    s.Icon = "C:\\Icons\\Caf\xE9 \"set\".dll";
    s.IconNumber = -3;
    s.TrayTask = false;
    s.NoTrayTask = true;
    s.TrayDblClick = 0;
    s.HotKey = 0x064E;  // Ctrl+Alt+N
    return s;
  }

  std::string iniPath_;
  std::unique_ptr<TAppSettingsStore> entries_;
};

TEST_F(AppSettingsStore, NothingStoredLeavesTheDefaults) {
  const TAppSettings defaults = DefaultAppSettings("C:\\Prog\\App.exe");
  EXPECT_EQ(defaults, Loaded("C:\\Prog\\App.exe"));
  EXPECT_EQ("C:\\Prog\\App.exe", defaults.Icon);
  EXPECT_FALSE(KeyExists("")) << "looking creates nothing";
}

TEST_F(AppSettingsStore, EveryFieldSurvivesASaveAndALoadInEitherStore) {
  for (bool useIni : {false, true}) {
    const std::string name = std::string(useIni ? "C:\\Ini" : "C:\\Reg") + " \"Prog\"\\Caf\xE9.exe";
    entries_->SaveSettings(DefaultAppSettings("C:\\Other.exe"), useIni);
    TAppSettings saved = Unusual(name);
    entries_->SaveSettings(saved, useIni);
    EXPECT_EQ(saved, Loaded(name)) << (useIni ? "INI" : "registry");
    saved.NbWindows = "7";
    entries_->SaveSettings(saved, useIni);
    EXPECT_EQ(saved, Loaded(name)) << "saved again, in place";
    EXPECT_EQ(2, Find(name, useIni).Slot);
    EXPECT_EQ(3, Find("C:\\New.exe", useIni).Slot);
  }
}

TEST_F(AppSettingsStore, TheStoredFormsOfEachStore) {
  entries_->SaveSettings(Unusual("C:\\A.exe"), false);
  entries_->SaveSettings(Unusual("C:\\A.exe"), true);
  struct Case {
    const char* name;
    TVariant registry;
    const char* ini;  // as the profile call returns it (outer quotes dropped)
  };
  const Case cases[] = {
      {"MinimizeType1", TVariant(0), "0"},
      {"Filename1", TVariant("C:\\A.exe"), "C:\\A.exe"},
      {"NbWindows1", TVariant("12"), "12"},
      {"MainHandle1", TVariant("3"), "3"},
      {"SecsToWait1", TVariant("45"), "45"},
      {"ShowState1", TVariant(2), "2"},
      {"DebugMode1", TVariant(1), "1"},
      {"WarnQuickClose1", TVariant(1), "1"},
      {"WindowCaption1", TVariant("  \"Notes\" - line one\r\nline two\n"),
       "  \x02Notes\x02 - line one\x03\x04line two\x04"},
      {"DoPartialSearch1", TVariant(1), "1"},
      {"UsePID1", TVariant(0), "0"},
      {"Icon1", TVariant("C:\\Icons\\Caf\xE9 \"set\".dll"), "C:\\Icons\\Caf\xE9 \x02set\x02.dll"},
      {"IconNumber1", TVariant(-3), "-3"},
      {"TrayTask1", TVariant(0), "0"},
      {"TrayNoTask1", TVariant(0), "0"},
      {"NoTrayTask1", TVariant(1), "1"},
      {"NoTrayIcon1", TVariant(0), "0"},
      {"TrayDblClick1", TVariant(0), "0"},
      {"HotKey1", TVariant(0x064E), "1614"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.registry, Store().ReadValue(c.name)) << c.name;
    EXPECT_EQ(c.ini, Ini(c.name)) << c.name;
  }
  EXPECT_EQ(std::size(cases), RawValueNames().size()) << "nothing else is written";
}

TEST_F(AppSettingsStore, AnEntryInBothStoresLoadsWithTheIniValues) {
  const TAppSettings inRegistry = Unusual("C:\\Both.exe");
  entries_->SaveSettings(inRegistry, false);
  TAppSettings inIni = DefaultAppSettings("C:\\Both.exe");
  inIni.SecsToWait = "9";
  entries_->SaveSettings(inIni, true);
  EXPECT_EQ(inIni, Loaded("C:\\Both.exe"));

  // Where the INI entry lacks a value its default applies, which for five of them is what
  // the registry entry gave.
  for (const char* name : {"ShowState1", "DebugMode1", "WarnQuickClose1", "DoPartialSearch1", "UsePID1", "NbWindows1",
                           "IconNumber1", "TrayDblClick1", "HotKey1"}) {
    SetIni(name, std::nullopt);
  }
  TAppSettings expected = inIni;
  expected.ShowState = inRegistry.ShowState;
  expected.DebugMode = inRegistry.DebugMode;
  expected.WarnQuickClose = inRegistry.WarnQuickClose;
  expected.DoPartialSearch = inRegistry.DoPartialSearch;
  expected.UsePID = inRegistry.UsePID;
  expected.NbWindows = "";
  EXPECT_EQ(expected, Loaded("C:\\Both.exe"));
}

// A delete empties one slot and leaves the entries after it where they are, in stores made
// by every version: the lookups pass the gap, and a new name fills it.
TEST_F(AppSettingsStore, NamesMatchExactlyAndAGapHidesNoEntry) {
  for (bool useIni : {false, true}) {
    ClearStores();
    for (const char* name : {"C:\\App.exe", "c:\\app.exe", "C:\\Three.exe"}) {
      entries_->SaveSettings(DefaultAppSettings(name), useIni);
    }
    EXPECT_EQ(2, Find("c:\\app.exe", useIni).Slot) << "letter case makes another entry";
    entries_->DeleteSettings("c:\\app.exe");
    TAppSettings three = DefaultAppSettings("C:\\Three.exe");
    three.SecsToWait = "8";
    entries_->SaveSettings(three, useIni);
    EXPECT_EQ(3, Find("C:\\Three.exe", useIni).Slot) << "saved in place, after the gap";
    EXPECT_EQ("8", Loaded("C:\\Three.exe").SecsToWait);
    const TEntrySlot absent = Find("C:\\New.exe", useIni);
    EXPECT_FALSE(absent.Found);
    EXPECT_EQ(2, absent.Slot) << "a new name fills the gap";
  }
}

TEST_F(AppSettingsStore, DeleteRemovesExactlyTheValuesOfTheSlot) {
  Store().WriteValue(ValueUseINIFile, TVariant(true));
  for (bool useIni : {false, true}) {
    for (const char* name : {"C:\\One.exe", "C:\\Two.exe", "C:\\Three.exe"}) {
      entries_->SaveSettings(Unusual(name), useIni);
    }
  }
  const std::vector<std::string> registryBefore = RawValueNames();
  const std::set<std::string> iniBefore = IniLines();
  const std::size_t values = std::size(EntryValues);
  ASSERT_EQ(1u + 3 * values, registryBefore.size());
  entries_->DeleteSettings("C:\\Two.exe");

  std::set<std::string> slotTwo;
  for (const TEntryValue& value : EntryValues) slotTwo.insert(std::string(value.Name) + "2");
  std::set<std::string> goneFromRegistry, goneFromIni;
  const std::vector<std::string> registryAfter = RawValueNames();
  for (const std::string& name : registryBefore) {
    if (std::find(registryAfter.begin(), registryAfter.end(), name) == registryAfter.end())
      goneFromRegistry.insert(name);
  }
  const std::set<std::string> iniAfter = IniLines();
  for (const std::string& line : iniBefore) {
    if (!iniAfter.count(line)) goneFromIni.insert(line.substr(0, line.find('=')));
  }
  EXPECT_EQ(slotTwo, goneFromRegistry);
  EXPECT_EQ(slotTwo, goneFromIni);
  EXPECT_EQ(registryBefore.size() - values, registryAfter.size());
  EXPECT_EQ(iniBefore.size() - values, iniAfter.size());
}

TEST_F(AppSettingsStore, TrayModeOfRegistryEntriesWithoutEveryTrayValue) {
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
      {"all four",
       {{"TrayTask1", 0}, {"TrayNoTask1", 1}, {"NoTrayTask1", 0}, {"NoTrayIcon1", 0}, {"TrayDblClick1", 0}},
       false,
       true,
       false,
       false,
       0},
      // Another slot's longer names count as present; this slot's missing values read as off.
      {"slot 10's NoTrayIcon", {{"NoTrayIcon10", 1}}, true, false, false, false, 1},
      {"slot 10's names",
       {{"NoTrayIcon10", 1}, {"TrayNoTask10", 1}, {"TrayDblClick10", 0}},
       false,
       false,
       false,
       false,
       0},
      // A damaged value elsewhere holds no text and does not stop the tests.
      {"damaged value", {{"Junk", 0}}, true, false, false, false, 1},
  };
  for (const Case& c : cases) {
    DeleteTree(Reg(), HKEY_CURRENT_USER, key_);
    SetDword("MinimizeType1", 1);
    SetText("Filename1", "C:\\Old.exe");
    SetDword("DoPartialSearch1", 0);
    SetDword("UsePID1", 1);
    for (const auto& value : c.stored) SetDword(value.first, value.second);
    if (std::string(c.what) == "damaged value") SetRaw("Junk", REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8});
    TAppSettings settings = DefaultAppSettings("C:\\Old.exe");
    settings.TrayTask = false;
    settings.NoTrayTask = true;
    settings.TrayDblClick = 5;
    settings.HotKey = 0x0641;
    entries_->LoadSettings(settings);
    EXPECT_EQ(c.trayTask, settings.TrayTask) << c.what;
    EXPECT_EQ(c.trayNoTask, settings.TrayNoTask) << c.what;
    EXPECT_EQ(c.noTrayTask, settings.NoTrayTask) << c.what;
    EXPECT_EQ(c.noTrayIcon, settings.NoTrayIcon) << c.what;
    EXPECT_EQ(c.dblClick, settings.TrayDblClick) << c.what;
    EXPECT_EQ("", settings.NbWindows) << c.what << ": missing values read as empty";
    EXPECT_EQ(0, settings.HotKey) << c.what << ": an entry stored before the hot key existed has none";
  }
}

TEST_F(AppSettingsStore, BadValuesEndTheRegistryLoadAndGiveDefaultsInTheIniFile) {
  struct Case {
    const char* badName;
    bool remove;       // else stored as the text "abc"
    int fieldsLoaded;  // of the load order below
  };
  const Case cases[] = {
      {"MinimizeType1", true, 0}, {"ShowState1", false, 4}, {"UsePID1", true, 8}, {"IconNumber1", false, 10}};
  const TAppSettings stored = Unusual("C:\\Bad.exe");
  for (const Case& c : cases) {
    ClearStores();
    entries_->SaveSettings(stored, false);
    if (c.remove) {
      Store().DeleteValue(c.badName);
    } else {
      SetText(c.badName, "abc");
    }
    const TAppSettings l = Loaded("C:\\Bad.exe");
    const bool fromStore[] = {l.MinimizeType == stored.MinimizeType,
                              l.NbWindows == stored.NbWindows,
                              l.MainHandle == stored.MainHandle,
                              l.SecsToWait == stored.SecsToWait,
                              l.ShowState == stored.ShowState,
                              l.DebugMode == stored.DebugMode,
                              l.WindowCaption == stored.WindowCaption,
                              l.DoPartialSearch == stored.DoPartialSearch,
                              l.UsePID == stored.UsePID,
                              l.Icon == stored.Icon,
                              l.IconNumber == stored.IconNumber,
                              l.TrayDblClick == stored.TrayDblClick,
                              l.HotKey == stored.HotKey};
    for (int field = 0; field < static_cast<int>(std::size(fromStore)); ++field) {
      EXPECT_EQ(field < c.fieldsLoaded, fromStore[field]) << c.badName << ", field " << field;
    }
  }

  ClearStores();
  entries_->SaveSettings(stored, true);
  for (const char* name :
       {"MinimizeType1", "ShowState1", "DebugMode1", "IconNumber1", "NoTrayTask1", "TrayDblClick1"}) {
    SetIni(name, std::string("not a number"));
  }
  TAppSettings settings = DefaultAppSettings("C:\\Bad.exe");
  settings.ShowState = 3;
  entries_->LoadSettings(settings);
  TAppSettings expected = stored;
  expected.MinimizeType = true;
  expected.ShowState = 3;  // the value the record had
  expected.DebugMode = false;
  expected.IconNumber = 0;
  expected.NoTrayTask = false;
  expected.TrayDblClick = 1;
  EXPECT_EQ(expected, settings);
}

TEST_F(AppSettingsStore, AFullStoreRefusesANewEntryAndWritesNothing) {
  for (bool useIni : {false, true}) {
    ClearStores();
    entries_->OpenIni();  // its write of the FlushCache section is not part of the save
    // Slot 400 holds what an older save put there: never matched, never overwritten.
    for (int slot = 1; slot <= SlotLimit; ++slot) {
      const std::string file = slot < SlotLimit ? "C:\\App" + std::to_string(slot) + ".exe" : "C:\\New.exe";
      if (useIni) {
        SetIni("Filename" + std::to_string(slot), EncodeQuoted(file));
      } else {
        SetText("Filename" + std::to_string(slot), file);
      }
    }
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
