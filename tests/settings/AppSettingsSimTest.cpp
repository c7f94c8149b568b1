// The per-application entry where the stores misbehave (simulated desktop only).

#include "settings/AppSettings.h"
#include "tests/settings/SimFixture.h"

namespace ombrix::settingstest {
namespace {

class AppSettingsFailures : public SimSettingsTest {
 protected:
  void SetUp() override {
    SimSettingsTest::SetUp();
    iniPath_ = InFolder("Ombrix.ini");
    entries_ = std::make_unique<TAppSettingsStore>(*platform_, Store(), TSettingsLocation{key_, iniPath_});
  }
  void TearDown() override {
    entries_.reset();
    SimSettingsTest::TearDown();
  }
  std::string iniPath_;
  std::unique_ptr<TAppSettingsStore> entries_;
};

TEST_F(AppSettingsFailures, ARegistrySaveStopsAtTheFailingValueAndSaysWhich) {
  for (int failing : {1, 9, static_cast<int>(std::size(EntryValues))}) {
    DeleteTree(Reg(), HKEY_CURRENT_USER, key_);
    entries_->SaveSettings(DefaultAppSettings("C:\\First.exe"), false);
    Sim().SimReg().FailNth(sim::SimRegistry::Op::kSet, failing, ERROR_ACCESS_DENIED);
    try {
      entries_->SaveSettings(DefaultAppSettings("C:\\Second.exe"), false);
      ADD_FAILURE() << "the failed save was not reported";
    } catch (const ERegistryException& error) {
      EXPECT_EQ("Failed to set data for '" + std::string(EntryValues[failing - 1].Name) + "2'", error.Message());
    }
    // The values before the failing one are written, none after it; slot 1 is untouched.
    std::vector<std::string> expected;
    for (const TEntryValue& value : EntryValues) expected.push_back(value.Name + std::string("1"));
    for (int i = 0; i < failing - 1; ++i) expected.push_back(EntryValues[i].Name + std::string("2"));
    EXPECT_EQ(Sorted(expected), RawValueNames()) << "failing at " << failing;
  }
}

TEST_F(AppSettingsFailures, AnIniFileThatCannotBeWrittenFailsTheSaveAndStaysReadable) {
  entries_->SaveSettings(DefaultAppSettings("C:\\First.exe"), true);
  std::string before, after;
  Files().ReadFileBytes(iniPath_, before);
  Sim().SimFiles().SetReadOnly(iniPath_, true);
  TAppSettings changed = DefaultAppSettings("C:\\First.exe");
  changed.SecsToWait = "60";
  for (const TAppSettings& settings : {DefaultAppSettings("C:\\Second.exe"), changed}) {
    try {
      entries_->SaveSettings(settings, true);
      ADD_FAILURE() << "the failed save of " << settings.Filename << " was not reported";
    } catch (const EIniFileException& error) {
      EXPECT_EQ("Unable to write to " + iniPath_, error.Message());
    }
  }
  Files().ReadFileBytes(iniPath_, after);
  EXPECT_EQ(before, after);
  TAppSettings loaded = DefaultAppSettings("C:\\First.exe");
  loaded.SecsToWait = "x";
  entries_->LoadSettings(loaded);
  EXPECT_EQ(DefaultAppSettings("C:\\First.exe"), loaded);
  Sim().SimFiles().SetReadOnly(iniPath_, false);
}

// A standard user may not write a settings file beside a program installed for every user:
// an earlier version's file there, in the legacy code page, stays as it is, and its entries
// of ASCII names still load.
TEST_F(AppSettingsFailures, ASettingsFileOfAnEarlierVersionThatCannotBeWrittenIsLeftAsItIs) {
  Sim().SimCodes().SetActiveCodePage(CP_UTF8);
  const std::string legacy =
      "[AppSettings]\r\nFilename1=C:\\Caf\xE9.exe\r\nFilename2=C:\\Plain.exe\r\nSecsToWait2=9\r\n";
  ASSERT_TRUE(Files().WriteFileBytes(iniPath_, legacy));
  Sim().SimFiles().SetReadOnly(iniPath_, true);
  TAppSettings loaded = DefaultAppSettings("C:\\Plain.exe");
  entries_->LoadSettings(loaded);
  std::string after;
  Files().ReadFileBytes(iniPath_, after);
  Sim().SimFiles().SetReadOnly(iniPath_, false);
  EXPECT_EQ("9", loaded.SecsToWait);
  EXPECT_EQ(legacy, after);
}

TEST_F(AppSettingsFailures, ASettingsKeyThatCannotBeCreatedFailsTheSaveBeforeAnyWrite) {
  DeleteTree(Reg(), HKEY_CURRENT_USER, key_);
  Sim().SimReg().FailAlways(sim::SimRegistry::Op::kCreate, ERROR_ACCESS_DENIED);
  try {
    entries_->SaveSettings(DefaultAppSettings("C:\\First.exe"), false);
    ADD_FAILURE() << "a save that stored nothing was not reported";
  } catch (const ERegistryException& error) {
    EXPECT_EQ("Failed to set data for 'MinimizeType1'", error.Message());
  }
  Sim().SimReg().ClearFailures();
  EXPECT_TRUE(RawValueNames().empty());
}

TEST_F(AppSettingsFailures, DeleteGoesOnPastValuesThatCannotBeDeletedAndSaysWhereTheyAre) {
  entries_->SaveSettings(DefaultAppSettings("C:\\A.exe"), false);
  Sim().SimReg().FailNth(sim::SimRegistry::Op::kDeleteValue, 3, ERROR_ACCESS_DENIED);
  TDeleteResult result = entries_->DeleteSettings("C:\\A.exe");
  EXPECT_EQ((std::vector<std::string>{std::string(EntryValuesInOrder(TEntryOrder::kDelete)[2]->Name) + "1"}),
            RawValueNames());
  EXPECT_TRUE(result.LeftInRegistry);
  EXPECT_FALSE(result.LeftInIni);
  EXPECT_FALSE(result.Deleted());

  // An entry in both stores, the INI file read-only.
  DeleteTree(Reg(), HKEY_CURRENT_USER, key_);
  entries_->SaveSettings(DefaultAppSettings("C:\\A.exe"), false);
  entries_->SaveSettings(DefaultAppSettings("C:\\A.exe"), true);
  Sim().SimFiles().SetReadOnly(iniPath_, true);
  result = entries_->DeleteSettings("C:\\A.exe");
  Sim().SimFiles().SetReadOnly(iniPath_, false);
  EXPECT_TRUE(RawValueNames().empty());
  EXPECT_FALSE(result.LeftInRegistry);
  EXPECT_TRUE(result.LeftInIni);
  EXPECT_EQ(iniPath_, result.IniFile);

  result = entries_->DeleteSettings("C:\\A.exe");
  EXPECT_TRUE(result.Deleted()) << "gone from both stores";
  result = entries_->DeleteSettings("C:\\A.exe");
  EXPECT_TRUE(result.Deleted()) << "an entry that is nowhere is not left anywhere";
}

TEST_F(AppSettingsFailures, LookupsKeepTheInterfaceAlive) {
  for (const char* name : {"C:\\One.exe", "C:\\Two.exe", "C:\\Three.exe"}) {
    entries_->SaveSettings(DefaultAppSettings(name), false);
  }
  auto& pump = Sim().SimMessages();
  int delivered = 0;
  pump.Post([&] { ++delivered; });
  EXPECT_TRUE(entries_->FindEntrySlot("C:\\Three.exe").Found);
  EXPECT_EQ(1, delivered) << "what waited was handled";
}

TEST_F(AppSettingsFailures, TheStoreComponentIsPutBackAfterEachOperation) {
  Store().RootKey = TRootKey::hkClassesRoot;
  Store().Key = ".txt";
  entries_->SaveSettings(DefaultAppSettings("C:\\A.exe"), false);
  EXPECT_EQ(std::size(EntryValues), RawValueNames().size()) << "saved under the settings key, not the file type";
  Sim().SimReg().FailNth(sim::SimRegistry::Op::kSet, 1, ERROR_ACCESS_DENIED);
  EXPECT_THROW(entries_->SaveSettings(DefaultAppSettings("C:\\B.exe"), false), ERegistryException);
  EXPECT_EQ(TRootKey::hkClassesRoot, Store().RootKey);
  EXPECT_EQ(".txt", Store().Key);
}

}  // namespace
}  // namespace ombrix::settingstest
