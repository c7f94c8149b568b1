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
  std::string Contents() {
    std::string bytes;
    Files().ReadFileBytes(iniPath_, bytes);
    return bytes;
  }
  std::string iniPath_;
  std::unique_ptr<TAppSettingsStore> entries_;
};

TEST_F(AppSettingsFailures, ARegistrySaveStopsAtTheFailingValueAndSaysWhich) {
  for (int failing : {1, 2, 9, 18}) {
    DeleteTree(Reg(), HKEY_CURRENT_USER, key_);
    entries_->SaveSettings(DefaultAppSettings("C:\\First.exe"), false);
    Sim().SimReg().FailNth(sim::SimRegistry::Op::Set, failing, ERROR_ACCESS_DENIED);
    const std::string failedName = EntryValueNames[failing - 1] + std::string("2");
    try {
      entries_->SaveSettings(DefaultAppSettings("C:\\Second.exe"), false);
      ADD_FAILURE() << "the failed save was not reported";
    } catch (const ERegistryException& error) {
      EXPECT_EQ("Failed to set data for '" + failedName + "'", error.Message());
    }
    Sim().SimReg().ClearFailures();
    // The values before the failing one are written, none after it, and slot 1 is untouched.
    std::vector<std::string> expected;
    for (const char* name : EntryValueNames) expected.push_back(name + std::string("1"));
    for (int i = 0; i < failing - 1; ++i) expected.push_back(EntryValueNames[i] + std::string("2"));
    EXPECT_EQ(Sorted(expected), RawValueNames()) << "failing at " << failing;
    EXPECT_EQ(0, Sim().SimReg().OpenHandleCount());
  }
}

TEST_F(AppSettingsFailures, AnIniFileThatCannotBeWrittenEndsTheSaveSilently) {
  entries_->SaveSettings(DefaultAppSettings("C:\\First.exe"), true);
  const std::string before = Contents();
  Sim().SimFiles().SetReadOnly(iniPath_, true);
  entries_->SaveSettings(DefaultAppSettings("C:\\Second.exe"), true);
  TAppSettings changed = DefaultAppSettings("C:\\First.exe");
  changed.SecsToWait = "60";
  entries_->SaveSettings(changed, true);
  EXPECT_EQ(before, Contents());
  // Still readable: the entry that was there loads.
  EXPECT_EQ(DefaultAppSettings("C:\\First.exe"), [&] {
    TAppSettings settings = DefaultAppSettings("C:\\First.exe");
    settings.SecsToWait = "x";
    entries_->LoadSettings(settings);
    return settings;
  }());
  Sim().SimFiles().SetReadOnly(iniPath_, false);
}

TEST_F(AppSettingsFailures, AReadOnlyFolderStillGivesAReadableSettingsFile) {
  auto& files = Sim().SimFiles();
  files.MakeDirectories("C:\\Locked");
  files.SetModuleFileName("C:\\Locked\\Ombrix.exe");
  ASSERT_TRUE(files.WriteFileBytes("C:\\Locked\\Ombrix.ini", "[AppSettings]\r\nFilename1=\"C:\\A.exe\"\r\n"));
  files.SetReadOnly("C:\\Locked\\Ombrix.ini", true);
  std::unique_ptr<TIniFile> ini = OpenSettingsIni(*platform_);
  EXPECT_EQ("C:\\Locked\\Ombrix.ini", ini->FileName());
  EXPECT_EQ("C:\\A.exe", ini->ReadString("AppSettings", "Filename1", ""));

  // No file and a folder that refuses new files: nothing is created, nothing is raised.
  files.SetModuleFileName("C:\\Locked\\Sub\\Ombrix.exe");
  files.MakeDirectories("C:\\Locked\\Sub");
  files.SetReadOnly("C:\\Locked\\Sub", true);
  ini = OpenSettingsIni(*platform_);
  EXPECT_FALSE(files.FileExists("C:\\Locked\\Sub\\Ombrix.ini"));
  TRegistryEnhanced registry(*platform_);
  TAppSettingsStore programStore(*platform_, registry, TSettingsLocation{key_, ""});
  programStore.SaveSettings(DefaultAppSettings("C:\\A.exe"), true);
  EXPECT_FALSE(files.FileExists("C:\\Locked\\Sub\\Ombrix.ini"));
}

TEST_F(AppSettingsFailures, DeleteGoesOnPastValuesThatCannotBeDeleted) {
  entries_->SaveSettings(DefaultAppSettings("C:\\A.exe"), false);
  Sim().SimReg().FailNth(sim::SimRegistry::Op::DeleteValue, 3, ERROR_ACCESS_DENIED);
  entries_->DeleteSettings("C:\\A.exe");
  EXPECT_EQ((std::vector<std::string>{std::string(EntryDeleteOrder[2]) + "1"}), RawValueNames());
}

TEST_F(AppSettingsFailures, LookupsKeepTheInterfaceAliveAtEverySlot) {
  for (const char* name : {"C:\\One.exe", "C:\\Two.exe", "C:\\Three.exe"}) {
    entries_->SaveSettings(DefaultAppSettings(name), false);
    entries_->SaveSettings(DefaultAppSettings(name), true);
  }
  auto& pump = Sim().SimMessages();
  int delivered = 0;
  pump.Post([&] { ++delivered; });
  const int before = pump.ProcessMessagesCalls();
  const TEntrySlot slot = entries_->FindEntrySlot("C:\\Three.exe");
  EXPECT_EQ(3, slot.Slot);
  EXPECT_EQ(3, pump.ProcessMessagesCalls() - before) << "one pass per slot read";
  EXPECT_EQ(1, delivered);

  std::unique_ptr<TIniFile> ini = entries_->OpenIni();
  const int beforeIni = pump.ProcessMessagesCalls();
  const TEntrySlot missing = entries_->FindEntrySlot(*ini, "C:\\Four.exe");
  EXPECT_FALSE(missing.Found);
  EXPECT_EQ(4, missing.Slot);
  EXPECT_EQ(4, pump.ProcessMessagesCalls() - beforeIni);
}

TEST_F(AppSettingsFailures, TheStoreComponentIsPutBackAfterEachOperation) {
  Store().RootKey = TRootKey::hkClassesRoot;
  Store().Key = ".txt";
  Store().Access = TAccess::kRead;
  entries_->SaveSettings(DefaultAppSettings("C:\\A.exe"), false);
  EXPECT_EQ(TRootKey::hkClassesRoot, Store().RootKey);
  EXPECT_EQ(".txt", Store().Key);
  EXPECT_EQ(TAccess::kRead, Store().Access);
  EXPECT_EQ(18u, RawValueNames().size()) << "saved under the settings key, not the file type";
  Sim().SimReg().FailNth(sim::SimRegistry::Op::Set, 1, ERROR_ACCESS_DENIED);
  EXPECT_THROW(entries_->SaveSettings(DefaultAppSettings("C:\\B.exe"), false), ERegistryException);
  EXPECT_EQ(".txt", Store().Key) << "put back on the error path too";
}

}  // namespace
}  // namespace ombrix::settingstest
