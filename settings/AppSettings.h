#pragma once
// The per-application settings entry: values keyed by the program's file name,
// stored in slot n (values "Filename3", "MinimizeType3", ...) directly in the settings key
// of the registry, or in section "AppSettings" of the settings INI file.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "platform/Platform.h"
#include "settings/IniFiles.h"
#include "settings/RegistryEnhanced.h"
#include "settings/Variant.h"

namespace ombrix {

// Where both programs keep their settings (below HKEY_CURRENT_USER).
inline constexpr char SettingsKey[] = "Software\\Vorel Software\\Ombrix";
// Global values in the settings key, beside the entries.
inline constexpr char ValueUseINIFile[] = "UseINIFile";  // REG_DWORD 1: save entries to the INI file
inline constexpr char ValueVersion[] = "Version";        // REG_SZ, Ombrix's FileVersion
inline constexpr char ValuePath[] = "Path";              // REG_SZ, Ombrix's folder ending with "\"
inline constexpr char ValueExeName[] = "ExeName";        // REG_SZ, Ombrix's file name
// The INI section of the entries.
inline constexpr char AppSettingsSection[] = "AppSettings";

// Slots 1 to 399 hold entries; a lookup that gets to this slot stops there, not found.
constexpr int SlotLimit = 400;

// A save that found neither the entry nor a free slot among slots 1 to 399. Writing into
// slot 400 instead would look like success while no lookup could ever find the entry again.
class ESettingsStoreFull : public Exception {
 public:
  using Exception::Exception;
};
inline constexpr char MsgSettingsStoreFull[] =
    "Unable to save the settings for '%s':\r\nthe settings store already holds 399 applications.";

// The entry in memory: one field per value, named like the value. A record made plainly has
// every field at its type's zero; DefaultAppSettings gives a new entry's values.
struct TAppSettings {
  bool MinimizeType = false;  // find the main window by process (true) or by window name
  std::string Filename;       // the program's file name, the entry's key
  std::string NbWindows;
  std::string MainHandle;
  std::string SecsToWait;
  std::int32_t ShowState = 0;
  bool DebugMode = false;
  bool WarnQuickClose = false;
  std::string WindowCaption;
  bool DoPartialSearch = false;
  bool UsePID = false;
  std::string Icon;
  std::int16_t IconNumber = 0;
  bool TrayTask = false;
  bool TrayNoTask = false;
  bool NoTrayTask = false;
  bool NoTrayIcon = false;
  std::int32_t TrayDblClick = 0;
  // The key that shows and hides the program, as the hot-key control gives it: the virtual
  // key in the low byte, the HOTKEYF_ modifier flags in the next; 0 for none.
  std::int32_t HotKey = 0;

  // Every value of the entry equal.
  bool operator==(const TAppSettings& other) const;
  bool operator!=(const TAppSettings& other) const { return !(*this == other); }
};

// The settings of a program with no stored entry.
TAppSettings DefaultAppSettings(const std::string& fileName);

// How a value is stored.
enum class TEntryValueType {
  kFlag,    // REG_DWORD 1 or 0; "1" or "0" in the INI file
  kNumber,  // REG_DWORD; decimal in the INI file
  kText,    // REG_SZ as it is; EncodeQuoted text in the INI file
};

// One field of TAppSettings, whatever its type.
class TEntryField {
 public:
  constexpr TEntryField(bool TAppSettings::*flag) : kind_(Kind::kFlag), flag_(flag) {}                  // NOLINT
  constexpr TEntryField(std::int32_t TAppSettings::*number) : kind_(Kind::kNumber), number_(number) {}  // NOLINT
  constexpr TEntryField(std::int16_t TAppSettings::*number)                                             // NOLINT
      : kind_(Kind::kShortNumber), shortNumber_(number) {}
  constexpr TEntryField(std::string TAppSettings::*text) : kind_(Kind::kText), text_(text) {}  // NOLINT

  constexpr TEntryValueType Type() const {
    return kind_ == Kind::kFlag   ? TEntryValueType::kFlag
           : kind_ == Kind::kText ? TEntryValueType::kText
                                  : TEntryValueType::kNumber;
  }
  // Whether the field keeps `number` as it is: a flag holds 1 or 0, a 16-bit field what fits
  // in 16 bits; a text holds no number.
  constexpr bool Holds(std::int32_t number) const {
    switch (kind_) {
      case Kind::kFlag:
        return number == 0 || number == 1;
      case Kind::kNumber:
        return true;
      case Kind::kShortNumber:
        return number >= INT16_MIN && number <= INT16_MAX;
      case Kind::kText:
        break;
    }
    return false;
  }
  // Whether both name the same field of the entry.
  constexpr bool operator==(const TEntryField& other) const {
    if (kind_ != other.kind_) return false;
    switch (kind_) {
      case Kind::kFlag:
        return flag_ == other.flag_;
      case Kind::kNumber:
        return number_ == other.number_;
      case Kind::kShortNumber:
        return shortNumber_ == other.shortNumber_;
      case Kind::kText:
        return text_ == other.text_;
    }
    return false;
  }
  // The field as a Boolean, a 32-bit integer or a string, by its type.
  TVariant Get(const TAppSettings& settings) const;
  // Sets the field from a value of any kind, converted as TVariant converts it.
  void Set(TAppSettings& settings, const TVariant& value) const;
  bool Equal(const TAppSettings& left, const TAppSettings& right) const;

  // The field of the matching type, for a caller that knows it.
  bool Flag(const TAppSettings& settings) const { return settings.*flag_; }
  std::int32_t Number(const TAppSettings& settings) const {
    return kind_ == Kind::kShortNumber ? settings.*shortNumber_ : settings.*number_;
  }
  const std::string& Text(const TAppSettings& settings) const { return settings.*text_; }
  void SetFlag(TAppSettings& settings, bool value) const { settings.*flag_ = value; }
  // A 16-bit field keeps the low 16 bits of the number.
  void SetNumber(TAppSettings& settings, std::int32_t value) const {
    if (kind_ == Kind::kShortNumber) {
      settings.*shortNumber_ = static_cast<std::int16_t>(value);
    } else {
      settings.*number_ = value;
    }
  }
  void SetText(TAppSettings& settings, std::string value) const { settings.*text_ = std::move(value); }

 private:
  enum class Kind : unsigned char { kFlag, kNumber, kShortNumber, kText };
  Kind kind_;
  union {
    bool TAppSettings::*flag_;
    std::int32_t TAppSettings::*number_;
    std::int16_t TAppSettings::*shortNumber_;
    std::string TAppSettings::*text_;
  };
};

// A new entry's value: a number (flags 1 or 0), a text, or the entry's file name.
struct TEntryDefault {
  constexpr TEntryDefault(std::int32_t number) : Number(number) {}         // NOLINT
  constexpr TEntryDefault(const char* text) : IsText(true), Text(text) {}  // NOLINT
  static constexpr TEntryDefault FileName() { return TEntryDefault(nullptr); }

  std::int32_t Number = 0;
  bool IsText = false;    // given as a text (or as the file name) rather than a number
  const char* Text = "";  // nullptr: the file name
};

// How a load reads a value.
enum class TEntryLoad {
  // The entry's key: neither store reads it back, since the slot was found by it.
  kKey,
  // As stored; a flag is on when not 0. A text whose default is the file name reads as the
  // file name when it is empty.
  kStored,
  // A flag that the registry load turns on exactly when the stored number is 1 (a missing
  // value cannot be compared, and ends the load); the INI load reads it as any flag.
  kExactlyOne,
  // One of the four tray flags. Entries made before some of them existed lack them, so the
  // registry load reads the four together (see the tray mode in AppSettings.cpp).
  kTrayMode,
  // Entries made before the value existed lack it: the registry load gives the default when
  // no name or data under the settings key contains the value's name.
  kDefaultWhenUnnamed,
};

// What an INI load gives for a value the entry lacks.
enum class TIniMissing {
  kEmpty,    // an empty text
  kDefault,  // the new entry's value
  kKept,     // the value the record already holds (from the registry, or the defaults)
};

// One value of the entry: its name (the slot number follows it in the stores), the field
// that holds it, its default, how it is loaded, and its places in the two orders other than
// the saving order (the table's own): the order of a delete and the order of the lines of an
// export (0: not exported).
struct TEntryValue {
  const char* Name;
  TEntryField Field;
  TEntryDefault Default;
  TEntryLoad Load;
  TIniMissing IniMissing;
  int DeletePlace;
  int ExportPlace;

  constexpr TEntryValueType Type() const { return Field.Type(); }
};

// The name of the value that keys the entry.
inline constexpr char EntryKeyName[] = "Filename";

// The values of an entry, in the order an entry is saved and loaded. A new value is one row
// here, its field in TAppSettings, and its control on the settings pages; entries stored
// before it existed lack it, so it loads with its default when missing (kStored reads a
// missing number as 0 and a missing text as empty; kDefaultWhenUnnamed gives the default).
// AppSettings.cpp checks the rows against each other and against the loads as it compiles.
// clang-format off
inline constexpr TEntryValue EntryValues[] = {
    // name            field                            default                     load                          INI value missing     delete export
    {"MinimizeType",    &TAppSettings::MinimizeType,    1,                          TEntryLoad::kExactlyOne,      TIniMissing::kDefault, 1,  13},
    {EntryKeyName,      &TAppSettings::Filename,        TEntryDefault::FileName(),  TEntryLoad::kKey,             TIniMissing::kEmpty,   2,  1},
    {"NbWindows",       &TAppSettings::NbWindows,       "1",                        TEntryLoad::kStored,          TIniMissing::kEmpty,   3,  2},
    {"MainHandle",      &TAppSettings::MainHandle,      "1",                        TEntryLoad::kStored,          TIniMissing::kEmpty,   4,  3},
    {"SecsToWait",      &TAppSettings::SecsToWait,      "3",                        TEntryLoad::kStored,          TIniMissing::kEmpty,   5,  4},
    {"ShowState",       &TAppSettings::ShowState,       0,                          TEntryLoad::kStored,          TIniMissing::kKept,    6,  5},
    {"DebugMode",       &TAppSettings::DebugMode,       0,                          TEntryLoad::kStored,          TIniMissing::kKept,    7,  6},
    {"WarnQuickClose",  &TAppSettings::WarnQuickClose,  0,                          TEntryLoad::kStored,          TIniMissing::kKept,    18, 14},
    {"WindowCaption",   &TAppSettings::WindowCaption,   "",                         TEntryLoad::kStored,          TIniMissing::kEmpty,   8,  7},
    {"DoPartialSearch", &TAppSettings::DoPartialSearch, 0,                          TEntryLoad::kExactlyOne,      TIniMissing::kKept,    9,  8},
    {"UsePID",          &TAppSettings::UsePID,          1,                          TEntryLoad::kExactlyOne,      TIniMissing::kKept,    10, 16},
    {"Icon",            &TAppSettings::Icon,            TEntryDefault::FileName(),  TEntryLoad::kStored,          TIniMissing::kEmpty,   11, 9},
    {"IconNumber",      &TAppSettings::IconNumber,      0,                          TEntryLoad::kStored,          TIniMissing::kDefault, 12, 10},
    // The tray mode: one choice, each button's state stored. An export leaves out the two
    // that a registry load infers from NoTrayIcon when TrayNoTask is missing.
    {"TrayTask",        &TAppSettings::TrayTask,        1,                          TEntryLoad::kTrayMode,        TIniMissing::kDefault, 13, 0},
    {"TrayNoTask",      &TAppSettings::TrayNoTask,      0,                          TEntryLoad::kTrayMode,        TIniMissing::kDefault, 14, 0},
    {"NoTrayTask",      &TAppSettings::NoTrayTask,      0,                          TEntryLoad::kTrayMode,        TIniMissing::kDefault, 15, 11},
    {"NoTrayIcon",      &TAppSettings::NoTrayIcon,      0,                          TEntryLoad::kTrayMode,        TIniMissing::kDefault, 16, 12},
    {"TrayDblClick",    &TAppSettings::TrayDblClick,    1,                          TEntryLoad::kDefaultWhenUnnamed, TIniMissing::kDefault, 17, 15},
    {"HotKey",          &TAppSettings::HotKey,          0,                          TEntryLoad::kStored,          TIniMissing::kDefault, 19, 17},
};
// clang-format on
// The values in the order of a delete, or of an export's lines (the exported ones only).
enum class TEntryOrder { kDelete, kExport };
std::vector<const TEntryValue*> EntryValuesInOrder(TEntryOrder order);

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

// Aims `registry` at the settings key `key` (below HKEY_CURRENT_USER) with full access for
// one operation, so that a caller that aimed it elsewhere (file types under
// HKEY_CLASSES_ROOT) cannot send the entries there; its root, key and access come back when
// the scope ends.
TRegistryScope SettingsKeyScope(TRegistryEnhanced& registry, const std::string& key = SettingsKey);

// Finds, loads, saves and deletes entries. Each operation points the given component at
// the settings key and puts back its root, key and access when done.
class TAppSettingsStore {
 public:
  TAppSettingsStore(Platform& platform, TRegistryEnhanced& registryOp, TSettingsLocation location = {});

  // The slot of `fileName` in the registry: the first of slots 1 to 399 whose Filename
  // equals it exactly, empty slots passed over (a delete empties a slot and leaves the
  // entries after it where they are); not found, the first slot without a file name
  // (SlotLimit when 1 to 399 are taken). Pending messages are processed first; the slots are
  // then read in one go.
  TEntrySlot FindEntrySlot(const std::string& fileName);
  // The same in an open INI file, the file names decoded.
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
  // The INI form of the save, into a file the caller opened.
  void SaveSettings(TIniFile& ini, const TAppSettings& settings);
  // Where Ombrix saves: the INI file unless "UseINIFile" says 0 (missing, or not a number:
  // the INI file).
  bool SavesToIniFile();
  // Removes the entry's values from both stores, going on past values that cannot
  // be removed, and says where some are left.
  TDeleteResult DeleteSettings(const std::string& fileName);

  std::unique_ptr<TIniFile> OpenIni();

  // Entries reached by slot, for a caller that scans the slots its own way.
  // The file name of every registry slot as text, index 0 for slot 1; "" where there is
  // none or it cannot be read.
  std::vector<std::string> StoredFileNames();
  // The same in an INI file, as the INI read gives it (not decoded), from one read of the
  // section instead of one file read per slot.
  std::vector<std::string> StoredFileNames(TIniFile& ini);
  // The slot among `names` (index 0 for slot 1) that holds `fileName` exactly; not found,
  // the first empty one, or SlotLimit when there is none.
  static TEntrySlot SlotAmong(const std::vector<std::string>& names, const std::string& fileName);
  // Changes `settings` by the entry at `slot`, as LoadSettings does once it has found the
  // slot; Filename stays as it is, and stands in for an empty Icon. Errors end the load
  // silently, keeping what was read so far.
  void LoadEntryAt(TAppSettings& settings, int slot);
  void LoadEntryAt(TIniFile& ini, TAppSettings& settings, int slot);
  // Writes the entry's values at `slot` of the INI file, in the order of a save; a failed
  // write raises EIniFileException after the values before it were written.
  void SaveEntryAt(TIniFile& ini, const TAppSettings& settings, int slot);
  // Removes the entry's values at `slot` from the registry, going on past failures; a value
  // still there afterwards raises ERegistryException ("Failed to delete data for '<name>'").
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
  // The four tray flags of a registry entry, read together.
  void ReadTrayMode(TAppSettings& settings, int slot);
  // Remove the entry's values at `slot`, going on past failures; false when some are left.
  bool DeleteRegistryEntry(int slot);
  bool DeleteIniEntry(TIniFile& ini, int slot);

  Platform& platform_;
  TRegistryEnhanced& registry_;
  TSettingsLocation location_;
};

}  // namespace ombrix
