#pragma once
// The per-application settings entry: eighteen values keyed by the program's file name,
// stored in slot n (values "Filename3", "MinimizeType3", ...) directly in the settings key
// of the registry, or in section "AppSettings" of the settings INI file.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Exception.h"
#include "platform/Platform.h"
#include "settings/IniFiles.h"
#include "settings/RegistryEnhanced.h"

namespace ombrix {

// Where both programs keep their settings (below HKEY_CURRENT_USER).
constexpr char SettingsKey[] = "Software\\Vorel Software\\Ombrix";
// Global values in the settings key, beside the entries.
constexpr char ValueUseINIFile[] = "UseINIFile";  // REG_DWORD 1: save entries to the INI file
constexpr char ValueVersion[] = "Version";        // REG_SZ, Ombrix's FileVersion
constexpr char ValuePath[] = "Path";              // REG_SZ, Ombrix's folder ending with "\"
constexpr char ValueExeName[] = "ExeName";        // REG_SZ, Ombrix's file name
// The INI section of the entries.
constexpr char AppSettingsSection[] = "AppSettings";

// Slots 1 to 399 hold entries; a lookup that gets to this slot stops there, not found.
constexpr int SlotLimit = 400;

// The value names of an entry, in the order an entry is saved.
constexpr const char* EntryValueNames[] = {
    "MinimizeType", "Filename",       "NbWindows",     "MainHandle",      "SecsToWait", "ShowState",
    "DebugMode",    "WarnQuickClose", "WindowCaption", "DoPartialSearch", "UsePID",     "Icon",
    "IconNumber",   "TrayTask",       "TrayNoTask",    "NoTrayTask",      "NoTrayIcon", "TrayDblClick"};
// The order in which an entry's values are deleted.
constexpr const char* EntryDeleteOrder[] = {
    "MinimizeType", "Filename",      "NbWindows",       "MainHandle", "SecsToWait",   "ShowState",
    "DebugMode",    "WindowCaption", "DoPartialSearch", "UsePID",     "Icon",         "IconNumber",
    "TrayTask",     "TrayNoTask",    "NoTrayTask",      "NoTrayIcon", "TrayDblClick", "WarnQuickClose"};

// A save that found neither the entry nor a free slot among slots 1 to 399. Writing into
// slot 400 instead would look like success while no lookup could ever find the entry again.
class ESettingsStoreFull : public Exception {
 public:
  using Exception::Exception;
};
constexpr char MsgSettingsStoreFull[] =
    "Unable to save the settings for '%s':\r\nthe settings store already holds 399 applications.";

// The members start with the defaults of a new entry (DefaultAppSettings adds the file).
struct TAppSettings {
  bool MinimizeType = true;  // find the main window by process (true) or by window name
  std::string Filename;      // the program's file name, the entry's key
  std::string NbWindows = "1";
  std::string MainHandle = "1";
  std::string SecsToWait = "3";
  std::int32_t ShowState = 0;
  bool DebugMode = false;
  bool WarnQuickClose = false;
  std::string WindowCaption;
  bool DoPartialSearch = false;
  bool UsePID = true;
  std::string Icon;
  std::int16_t IconNumber = 0;
  bool TrayTask = true;
  bool TrayNoTask = false;
  bool NoTrayTask = false;
  bool NoTrayIcon = false;
  std::int32_t TrayDblClick = 1;

  bool operator==(const TAppSettings& other) const;
  bool operator!=(const TAppSettings& other) const { return !(*this == other); }
};

// The settings of a program with no stored entry.
TAppSettings DefaultAppSettings(const std::string& fileName);

struct TEntrySlot {
  int Slot = 0;
  bool Found = false;
};

// What a delete left behind. The entry counts as gone from a store only when none of its
// values is still there.
struct TDeleteResult {
  bool LeftInRegistry = false;
  bool LeftInIni = false;
  std::string IniFile;  // the INI file the entry was deleted from
  bool Deleted() const { return !LeftInRegistry && !LeftInIni; }
};

// Where a store keeps its entries. The defaults are the programs' own places; tests and
// tools point it elsewhere.
struct TSettingsLocation {
  std::string Key = SettingsKey;  // below HKEY_CURRENT_USER
  std::string IniFile;            // empty: the file OpenSettingsIni chooses
};

// Finds, loads, saves and deletes entries. Each operation points the given component at
// the settings key and puts back its root, key and access when done.
class TAppSettingsStore {
 public:
  // Points a component at the settings key for one operation and puts its root, key and
  // access back afterwards, so that a caller that retargeted it (file types under
  // HKEY_CLASSES_ROOT) cannot send the entries elsewhere.
  class Target {
   public:
    Target(TRegistryEnhanced& registry, const std::string& key)
        : registry_(registry), root_(registry.RootKey), key_(registry.Key), access_(registry.Access) {
      registry_.RootKey = TRootKey::hkCurrentUser;
      registry_.Key = key;
      registry_.Access = TAccess::kAllAccess;
    }
    ~Target() {
      registry_.RootKey = root_;
      registry_.Key = key_;
      registry_.Access = access_;
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

   private:
    TRegistryEnhanced& registry_;
    TRootKey root_;
    std::string key_;
    TAccess access_;
  };

  TAppSettingsStore(Platform& platform, TRegistryEnhanced& registryOp, TSettingsLocation location = {});

  // The slot of `fileName` in the registry: the first slot whose Filename equals it exactly,
  // or, not found, the first slot without a file name (SlotLimit when 1 to 399 are taken).
  // Pending messages are processed before each slot is read.
  TEntrySlot FindEntrySlot(const std::string& fileName);
  // The same in an open INI file.
  TEntrySlot FindEntrySlot(TIniFile& ini, const std::string& fileName);

  // Changes `settings` by what is stored for its Filename: the registry entry, then the INI
  // entry, whose values therefore win. Errors end a step silently.
  void LoadSettings(TAppSettings& settings);
  // Writes the entry to the INI file (`useIniFile`) or to the registry, into its own slot or
  // the first free one. A write error raises, after the values before it were written:
  // ERegistryException (also when the settings key cannot be created, before anything is
  // written) or EIniFileException. A store with no room raises ESettingsStoreFull before
  // anything is written.
  void SaveSettings(const TAppSettings& settings, bool useIniFile);
  // Removes the entry's eighteen values from both stores, going on past values that cannot
  // be removed, and says where some are left.
  TDeleteResult DeleteSettings(const std::string& fileName);

  std::unique_ptr<TIniFile> OpenIni();

  // Entries reached by slot, for a caller that scans the slots its own way (the control
  // center looks at every slot from 1 to 399, gaps included).
  // The file name stored in a registry slot as text; "" when there is none.
  std::string StoredFileName(int slot);
  // The same in an INI file, as the INI read gives it (not decoded); "" when missing.
  std::string StoredFileName(TIniFile& ini, int slot);
  // StoredFileName(ini, slot) of every slot, index 0 for slot 1, from one read of the section
  // instead of one file read per slot.
  std::vector<std::string> StoredFileNames(TIniFile& ini);
  // Changes `settings` by the entry at `slot`, as LoadSettings does once it has found the
  // slot; Filename stays as it is, and stands in for an empty Icon. Errors end the load
  // silently, keeping what was read so far.
  void LoadEntryAt(TAppSettings& settings, int slot);
  void LoadEntryAt(TIniFile& ini, TAppSettings& settings, int slot);
  // Writes the eighteen values at `slot` of the INI file, in the order of a save; a failed
  // write raises EIniFileException after the values before it were written.
  void SaveEntryAt(TIniFile& ini, const TAppSettings& settings, int slot);
  // Removes the eighteen values at `slot` from the registry; failures are passed over.
  void DeleteEntryAt(int slot);
  // Removes them from the INI file; a value still there afterwards raises EIniFileException
  // ("Unable to write to <file>"), since the profile call does not say that it failed.
  void DeleteEntryAt(TIniFile& ini, int slot);

 private:
  TEntrySlot FindInRegistry(const std::string& fileName);
  // Whether a search for `name` below the settings key finds anything.
  bool Present(const std::string& name);
  void LoadFromRegistry(TAppSettings& settings);
  void LoadFromIni(TAppSettings& settings);
  // The reads of a load at a known slot; errors propagate.
  void ReadRegistryEntry(TAppSettings& settings, int slot);
  void ReadIniEntry(TIniFile& ini, TAppSettings& settings, int slot);

  Platform& platform_;
  TRegistryEnhanced& registry_;
  TSettingsLocation location_;
};

}  // namespace ombrix
