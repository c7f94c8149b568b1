#include "settings/AppSettings.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "base/AsciiCase.h"
#include "base/Utf8.h"
#include "settings/SettingsText.h"

namespace ombrix {

namespace {

std::string Slotted(const char* name, int slot) { return name + std::to_string(slot); }

// The one-character default that tells a missing INI key from an empty one.
const std::string MissingMark(1, '\x01');

}  // namespace

TVariant TEntryField::Get(const TAppSettings& s) const {
  switch (Type()) {
    case TEntryValueType::kFlag:
      return Flag(s);
    case TEntryValueType::kNumber:
      return Number(s);
    case TEntryValueType::kText:
      return Text(s);
  }
  return TVariant();
}

void TEntryField::Set(TAppSettings& s, const TVariant& value) const {
  switch (Type()) {
    case TEntryValueType::kFlag:
      SetFlag(s, value.ToBool());
      break;
    case TEntryValueType::kNumber:
      SetNumber(s, value.ToInteger());
      break;
    case TEntryValueType::kText:
      SetText(s, value.ToText());
      break;
  }
}

bool TEntryField::Equal(const TAppSettings& left, const TAppSettings& right) const {
  switch (Type()) {
    case TEntryValueType::kFlag:
      return Flag(left) == Flag(right);
    case TEntryValueType::kNumber:
      return Number(left) == Number(right);
    case TEntryValueType::kText:
      return Text(left) == Text(right);
  }
  return false;
}

bool TAppSettings::operator==(const TAppSettings& other) const {
  for (const TEntryValue& value : EntryValues) {
    if (!value.Field.Equal(*this, other)) return false;
  }
  return true;
}

namespace {

// A value's default for the entry of `fileName`.
TVariant DefaultOf(const TEntryValue& value, const std::string& fileName) {
  switch (value.Type()) {
    case TEntryValueType::kFlag:
      return value.Default.Number != 0;
    case TEntryValueType::kNumber:
      return value.Default.Number;
    case TEntryValueType::kText:
      return value.Default.Text ? std::string(value.Default.Text) : fileName;
  }
  return TVariant();
}

// Sets a loaded value; a text that stands for the file name by default does so when empty too.
void SetLoaded(const TEntryValue& value, TAppSettings& s, const TVariant& loaded) {
  if (value.Type() == TEntryValueType::kText && !value.Default.Text && loaded.ToText().empty()) {
    value.Field.Set(s, s.Filename);
  } else {
    value.Field.Set(s, loaded);
  }
}

}  // namespace

TAppSettings DefaultAppSettings(const std::string& fileName) {
  TAppSettings settings;
  for (const TEntryValue& value : EntryValues) value.Field.Set(settings, DefaultOf(value, fileName));
  return settings;
}

namespace {

// What the compiler checks in the table of the entry's values, so that a row added or
// changed wrongly does not build rather than storing, loading or deleting entries wrongly.

constexpr std::size_t EntryValueCount = std::size(EntryValues);

constexpr bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

constexpr bool SameName(const char* left, const char* right) {
  for (; *left != '\0' && *right != '\0'; ++left, ++right) {
    if (AsciiUpperCase(*left) != AsciiUpperCase(*right)) return false;
  }
  return *left == *right;
}

// A name is letters only, and no other name ignoring letter case: the slot number follows it
// in both stores, where a backslash would make it a key path and an '=' would end it.
constexpr bool NamesDistinct() {
  for (std::size_t row = 0; row < EntryValueCount; ++row) {
    const char* name = EntryValues[row].Name;
    if (*name == '\0') return false;
    for (const char* c = name; *c != '\0'; ++c) {
      if (!IsLetter(*c)) return false;
    }
    for (std::size_t other = row + 1; other < EntryValueCount; ++other) {
      if (SameName(name, EntryValues[other].Name)) return false;
    }
  }
  return true;
}
static_assert(NamesDistinct(), "every value needs a name of its own, of letters only");

// A field in two rows would be stored twice under two names, and loaded from whichever
// comes last.
constexpr bool FieldsDistinct() {
  for (std::size_t row = 0; row < EntryValueCount; ++row) {
    for (std::size_t other = row + 1; other < EntryValueCount; ++other) {
      if (EntryValues[row].Field == EntryValues[other].Field) return false;
    }
  }
  return true;
}
static_assert(FieldsDistinct(), "every value needs a field of its own");

// DefaultOf reads a text's default as a text and a number's or a flag's as a number, which the
// field then holds as it is.
constexpr bool DefaultsFitFields() {
  for (const TEntryValue& value : EntryValues) {
    if (value.Default.IsText != (value.Type() == TEntryValueType::kText)) return false;
    if (!value.Default.IsText && !value.Field.Holds(value.Default.Number)) return false;
  }
  return true;
}
static_assert(DefaultsFitFields(), "a value's default must be of its field's type and fit it");

// The slots are found by the file name under EntryKeyName, which the loads do not read back,
// and a new entry's file name is the one it is made for.
constexpr bool KeyedByFileName() {
  std::size_t keys = 0;
  for (const TEntryValue& value : EntryValues) {
    if (value.Load != TEntryLoad::kKey) continue;
    ++keys;
    if (!SameName(value.Name, EntryKeyName) || !(value.Field == TEntryField(&TAppSettings::Filename)) ||
        !value.Default.IsText || value.Default.Text != nullptr) {
      return false;
    }
  }
  return keys == 1;
}
static_assert(KeyedByFileName(), "the entry is keyed by its Filename value alone");

// A load that compares with 1 gives a flag; an empty text missing from the INI file would
// end the INI load at any other type, which an empty text does not convert to.
constexpr bool LoadsFitFields() {
  for (const TEntryValue& value : EntryValues) {
    if (value.Load == TEntryLoad::kExactlyOne && value.Type() != TEntryValueType::kFlag) return false;
    if (value.IniMissing == TIniMissing::kEmpty && value.Type() != TEntryValueType::kText) return false;
  }
  return true;
}
static_assert(LoadsFitFields(), "kExactlyOne loads a flag, TIniMissing::kEmpty a text");

// The values ReadTrayMode reads and sets, under the names it reads them by: the registry
// load leaves any other value marked as the tray mode unread.
struct TTrayModeValue {
  const char* Name;
  bool TAppSettings::*Flag;
};
constexpr TTrayModeValue TrayModeValues[] = {
    {"TrayTask", &TAppSettings::TrayTask},
    {"TrayNoTask", &TAppSettings::TrayNoTask},
    {"NoTrayTask", &TAppSettings::NoTrayTask},
    {"NoTrayIcon", &TAppSettings::NoTrayIcon},
};
constexpr bool TrayModeAsRead() {
  std::size_t rows = 0;
  for (const TEntryValue& value : EntryValues) {
    if (value.Load != TEntryLoad::kTrayMode) continue;
    ++rows;
    bool read = false;
    for (const TTrayModeValue& tray : TrayModeValues) {
      read = read || (SameName(value.Name, tray.Name) && value.Field == TEntryField(tray.Flag));
    }
    if (!read) return false;
  }
  return rows == std::size(TrayModeValues);
}
static_assert(TrayModeAsRead(), "the tray mode is the four values ReadTrayMode reads");

// An order other than the saving order, as rows of EntryValues, worked out as the program
// compiles: the values whose place is not 0, by place.
struct TEntryValueOrder {
  std::size_t Count = 0;
  std::uint8_t Rows[EntryValueCount] = {};
  // Each place from 1 to Count taken by exactly one value, and no value at another place.
  bool Proper = true;
};
static_assert(EntryValueCount <= 256, "a row of EntryValues fits in a byte");

constexpr TEntryValueOrder OrderBy(int TEntryValue::*place) {
  TEntryValueOrder order;
  for (const TEntryValue& value : EntryValues) {
    if (value.*place < 0) order.Proper = false;
    if (value.*place > 0) ++order.Count;
  }
  for (std::size_t wanted = 1; wanted <= order.Count; ++wanted) {
    std::size_t holders = 0;
    for (std::size_t row = 0; row < EntryValueCount; ++row) {
      if (EntryValues[row].*place != static_cast<int>(wanted)) continue;
      order.Rows[wanted - 1] = static_cast<std::uint8_t>(row);
      ++holders;
    }
    if (holders != 1) order.Proper = false;
  }
  return order;
}

constexpr TEntryValueOrder DeleteOrder = OrderBy(&TEntryValue::DeletePlace);
constexpr TEntryValueOrder ExportOrder = OrderBy(&TEntryValue::ExportPlace);
// A delete that skipped a value would leave it behind in the slot.
static_assert(DeleteOrder.Proper && DeleteOrder.Count == EntryValueCount,
              "every value has a delete place of its own, from 1 to the number of values");
static_assert(ExportOrder.Proper, "the exported values have export places of their own, from 1 on without a gap");

}  // namespace

std::vector<const TEntryValue*> EntryValuesInOrder(TEntryOrder order) {
  const TEntryValueOrder& places = order == TEntryOrder::kDelete ? DeleteOrder : ExportOrder;
  std::vector<const TEntryValue*> values;
  values.reserve(places.Count);
  for (std::size_t place = 0; place < places.Count; ++place) values.push_back(&EntryValues[places.Rows[place]]);
  return values;
}

TAppSettingsStore::TAppSettingsStore(Platform& platform, TRegistryEnhanced& registryOp, TSettingsLocation location)
    : platform_(platform), registry_(registryOp), location_(std::move(location)) {}

TRegistryScope SettingsKeyScope(TRegistryEnhanced& registry, const std::string& key) {
  return TRegistryScope(registry, TRootKey::hkCurrentUser, key, TAccess::kAllAccess);
}

std::unique_ptr<TIniFile> TAppSettingsStore::OpenIni() {
  return location_.IniFile.empty() ? OpenSettingsIni(platform_) : OpenIniFile(platform_, location_.IniFile);
}

TEntrySlot TAppSettingsStore::FindEntrySlot(const std::string& fileName) {
  const TRegistryScope scope = SettingsKeyScope(registry_, location_.Key);
  return FindInRegistry(fileName);
}

TEntrySlot TAppSettingsStore::SlotAmong(const std::vector<std::string>& names, const std::string& fileName) {
  TEntrySlot free{SlotLimit, false};
  for (std::size_t index = 0; index < names.size() && index + 1 < SlotLimit; ++index) {
    const int slot = static_cast<int>(index) + 1;
    if (names[index] == fileName) return {slot, true};
    if (names[index].empty() && free.Slot == SlotLimit) free.Slot = slot;
  }
  return free;
}

TEntrySlot TAppSettingsStore::FindInRegistry(const std::string& fileName) {
  platform_.Messages().ProcessMessages();
  return SlotAmong(StoredFileNames(), fileName);
}

TEntrySlot TAppSettingsStore::FindEntrySlot(TIniFile& ini, const std::string& fileName) {
  platform_.Messages().ProcessMessages();
  std::vector<std::string> names = StoredFileNames(ini);
  for (std::string& name : names) name = DecodeQuoted(name);
  return SlotAmong(names, fileName);
}

bool TAppSettingsStore::Present(const std::string& name) {
  // The value itself is the usual hit, and asking for it costs one read; only when it is
  // missing does the search have to look further (a longer name or some data containing
  // the text also counts), and then the first hit settles it.
  if (registry_.ValueExists(name)) return true;
  registry_.SearchTree(name, TSearchMode::kNamesThenData, TSearchExtent::kFirstHit);
  return !registry_.SearchResults.empty();
}

void TAppSettingsStore::LoadSettings(TAppSettings& settings) {
  {
    const TRegistryScope scope = SettingsKeyScope(registry_, location_.Key);
    try {
      LoadFromRegistry(settings);
    } catch (const Exception&) {
      // A value that is missing where it must be compared, or cannot be read: what was read
      // so far stays.
    }
  }
  try {
    LoadFromIni(settings);
  } catch (const Exception&) {
  }
}

void TAppSettingsStore::LoadFromRegistry(TAppSettings& s) {
  const TEntrySlot found = FindInRegistry(s.Filename);
  if (found.Found) ReadRegistryEntry(s, found.Slot);
}

void TAppSettingsStore::ReadRegistryEntry(TAppSettings& s, int n) {
  auto read = [&](const char* name) { return registry_.ReadValue(Slotted(name, n)); };
  bool trayModeRead = false;
  for (const TEntryValue& value : EntryValues) {
    switch (value.Load) {
      case TEntryLoad::kKey:
        break;
      case TEntryLoad::kStored:
        SetLoaded(value, s, read(value.Name));
        break;
      case TEntryLoad::kExactlyOne:
        value.Field.Set(s, read(value.Name).EqualsInteger(1));
        break;
      case TEntryLoad::kTrayMode:
        if (!trayModeRead) ReadTrayMode(s, n);
        trayModeRead = true;
        break;
      case TEntryLoad::kDefaultWhenUnnamed:
        value.Field.Set(s, Present(Slotted(value.Name, n)) ? read(value.Name) : DefaultOf(value, s.Filename));
        break;
    }
  }
}

// TrayModeValues names what this reads, for the check of the table.
void TAppSettingsStore::ReadTrayMode(TAppSettings& s, int n) {
  auto read = [&](const char* name) { return registry_.ReadValue(Slotted(name, n)); };
  // Entries written before the four tray modes existed lack some of their values.
  if (!Present(Slotted("NoTrayIcon", n))) {
    s.TrayTask = true;
    s.TrayNoTask = false;
    s.NoTrayTask = false;
    s.NoTrayIcon = false;
  } else if (!Present(Slotted("TrayNoTask", n))) {
    s.NoTrayIcon = read("NoTrayIcon").ToBool();
    s.NoTrayTask = false;
    s.TrayNoTask = false;
    s.TrayTask = !s.NoTrayIcon;
  } else {
    s.TrayTask = read("TrayTask").ToBool();
    s.TrayNoTask = read("TrayNoTask").ToBool();
    s.NoTrayTask = read("NoTrayTask").ToBool();
    s.NoTrayIcon = read("NoTrayIcon").ToBool();
  }
}

void TAppSettingsStore::LoadFromIni(TAppSettings& s) {
  std::unique_ptr<TIniFile> ini = OpenIni();
  const TEntrySlot found = FindEntrySlot(*ini, s.Filename);
  if (found.Found) ReadIniEntry(*ini, s, found.Slot);
}

void TAppSettingsStore::ReadIniEntry(TIniFile& ini, TAppSettings& s, int n) {
  const std::string section = AppSettingsSection;
  for (const TEntryValue& value : EntryValues) {
    if (value.Load == TEntryLoad::kKey) continue;
    const std::string name = Slotted(value.Name, n);
    const TVariant missing = value.IniMissing == TIniMissing::kKept      ? value.Field.Get(s)
                             : value.IniMissing == TIniMissing::kDefault ? DefaultOf(value, s.Filename)
                                                                         : TVariant(std::string());
    switch (value.Type()) {
      case TEntryValueType::kFlag:
        value.Field.Set(s, ini.ReadBool(section, name, missing.ToBool()));
        break;
      case TEntryValueType::kNumber:
        value.Field.Set(s, ini.ReadInteger(section, name, missing.ToInteger()));
        break;
      case TEntryValueType::kText:
        SetLoaded(value, s, DecodeQuoted(ini.ReadString(section, name, missing.ToText())));
        break;
    }
  }
}

namespace {

void RefuseWhenFull(const TEntrySlot& slot, const std::string& fileName) {
  if (!slot.Found && slot.Slot >= SlotLimit) throw ESettingsStoreFull(FormatText(MsgSettingsStoreFull, fileName));
}

}  // namespace

void TAppSettingsStore::SaveSettings(TIniFile& ini, const TAppSettings& s) {
  const TEntrySlot slot = FindEntrySlot(ini, s.Filename);
  RefuseWhenFull(slot, s.Filename);
  // A failed write raises "Unable to write to <file>": a save that did not store the entry
  // must not pass for one that did.
  SaveEntryAt(ini, s, slot.Slot);
}

void TAppSettingsStore::SaveSettings(const TAppSettings& s, bool useIniFile) {
  if (useIniFile) {
    SaveSettings(*OpenIni(), s);
    return;
  }

  const TRegistryScope scope = SettingsKeyScope(registry_, location_.Key);
  const TEntrySlot slot = FindInRegistry(s.Filename);
  RefuseWhenFull(slot, s.Filename);
  const int n = slot.Slot;
  {
    // The store's writes do nothing at all when the key cannot be created; the save would
    // pass for done with nothing stored.
    TRegistry accessor(platform_.Registry());
    accessor.SetRootKey(HKEY_CURRENT_USER);
    if (!accessor.OpenKey("\\" + TRegistryEnhanced::NormalizeKey(location_.Key), true)) {
      throw ERegistryException(FormatText(MsgFailedToSetData, Slotted(EntryValues[0].Name, n)));
    }
  }
  for (const TEntryValue& value : EntryValues) registry_.WriteValue(Slotted(value.Name, n), value.Field.Get(s));
}

void TAppSettingsStore::SaveEntryAt(TIniFile& ini, const TAppSettings& s, int n) {
  const std::string section = AppSettingsSection;
  for (const TEntryValue& value : EntryValues) {
    const std::string name = Slotted(value.Name, n);
    const TVariant data = value.Field.Get(s);
    switch (value.Type()) {
      case TEntryValueType::kFlag:
        ini.WriteBool(section, name, data.AsBoolean());
        break;
      case TEntryValueType::kNumber:
        ini.WriteInteger(section, name, data.AsInteger());
        break;
      case TEntryValueType::kText:
        ini.WriteString(section, name, EncodeQuoted(data.AsString()));
        break;
    }
  }
}

TDeleteResult TAppSettingsStore::DeleteSettings(const std::string& fileName) {
  TDeleteResult result;
  {
    const TRegistryScope scope = SettingsKeyScope(registry_, location_.Key);
    const TEntrySlot slot = FindInRegistry(fileName);
    if (slot.Found) result.LeftInRegistry = !DeleteRegistryEntry(slot.Slot);
  }
  try {
    std::unique_ptr<TIniFile> ini = OpenIni();
    result.IniFile = ini->FileName();
    const TEntrySlot slot = FindEntrySlot(*ini, fileName);
    if (slot.Found) result.LeftInIni = !DeleteIniEntry(*ini, slot.Slot);
  } catch (const Exception&) {
    // An INI file that cannot be opened holds nothing that could be read back either.
  }
  return result;
}

bool TAppSettingsStore::DeleteRegistryEntry(int slot) {
  const std::vector<const TEntryValue*> values = EntryValuesInOrder(TEntryOrder::kDelete);
  for (const TEntryValue* value : values) registry_.DeleteValue(Slotted(value->Name, slot));
  for (const TEntryValue* value : values) {
    if (registry_.ValueExists(Slotted(value->Name, slot))) return false;
  }
  return true;
}

bool TAppSettingsStore::DeleteIniEntry(TIniFile& ini, int slot) {
  const std::vector<const TEntryValue*> values = EntryValuesInOrder(TEntryOrder::kDelete);
  for (const TEntryValue* value : values) ini.DeleteKey(AppSettingsSection, Slotted(value->Name, slot));
  // The profile call does not say whether it removed the key: only a read can tell.
  for (const TEntryValue* value : values) {
    if (ini.ReadString(AppSettingsSection, Slotted(value->Name, slot), MissingMark) != MissingMark) return false;
  }
  return true;
}

std::vector<std::string> TAppSettingsStore::StoredFileNames() {
  const TRegistryScope scope = SettingsKeyScope(registry_, location_.Key);
  // One key opened for all the slots instead of one per slot.
  TOpenKeyReader reader(registry_);
  std::vector<std::string> names;
  for (int slot = 1; slot < SlotLimit; ++slot) {
    std::string name;
    try {
      name = reader.ReadValue(Slotted(EntryKeyName, slot)).ToText();
    } catch (const Exception&) {
      // A value that cannot be read names no program.
    }
    names.push_back(std::move(name));
  }
  return names;
}

std::vector<std::string> TAppSettingsStore::StoredFileNames(TIniFile& ini) {
  // The section lines come trimmed; what the key read does beyond that is done here: names
  // match whatever their letter case, the first line of a name counts, one pair of quotes
  // around the value goes, and the rest is cut to the read buffer. A line without '=' is no
  // key.
  const std::string prefix = AsciiUpperCase(EntryKeyName);
  std::vector<std::string> names(SlotLimit - 1);
  std::vector<bool> seen(SlotLimit - 1, false);
  for (const std::string& line : platform_.Profile().GetPrivateProfileSectionA(AppSettingsSection, ini.FileName())) {
    const std::string::size_type equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = AsciiUpperCase(line.substr(0, equals));
    // "Filename" and a slot number as the store writes it: no sign, no leading zero.
    if (key.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = key.substr(prefix.size());
    std::int32_t slot = 0;
    if (digits.empty() || digits[0] == '0' || digits[0] == '+' || digits[0] == '-' ||
        !ParseDecimalInt32(digits, slot) || slot < 1 || slot >= SlotLimit || seen[slot - 1]) {
      continue;
    }
    seen[slot - 1] = true;
    std::string value = line.substr(equals + 1);
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
      value = value.substr(1, value.size() - 2);
    }
    // As the key read cuts it: to the buffer, on a whole character.
    value = CutText(value, IniReadBufferSize - 1);
    if (value != MissingMark) names[slot - 1] = std::move(value);
  }
  return names;
}

void TAppSettingsStore::LoadEntryAt(TAppSettings& settings, int slot) {
  const TRegistryScope scope = SettingsKeyScope(registry_, location_.Key);
  try {
    ReadRegistryEntry(settings, slot);
  } catch (const Exception&) {
  }
}

void TAppSettingsStore::LoadEntryAt(TIniFile& ini, TAppSettings& settings, int slot) {
  try {
    ReadIniEntry(ini, settings, slot);
  } catch (const Exception&) {
  }
}

void TAppSettingsStore::DeleteEntryAt(int slot) {
  const TRegistryScope scope = SettingsKeyScope(registry_, location_.Key);
  if (DeleteRegistryEntry(slot)) return;
  for (const TEntryValue* value : EntryValuesInOrder(TEntryOrder::kDelete)) {
    const std::string name = Slotted(value->Name, slot);
    if (registry_.ValueExists(name)) throw ERegistryException(FormatText(MsgFailedToDeleteData, name));
  }
}

bool TAppSettingsStore::SavesToIniFile() {
  const TRegistryScope scope = SettingsKeyScope(registry_, location_.Key);
  try {
    return registry_.ReadValueDefault(ValueUseINIFile, TVariant(true)).ToBool();
  } catch (const Exception&) {
    // A value that is no number says nothing: the default holds.
    return true;
  }
}

void TAppSettingsStore::DeleteEntryAt(TIniFile& ini, int slot) {
  if (!DeleteIniEntry(ini, slot)) throw EIniFileException(FormatText(MsgUnableToWrite, ini.FileName()));
}

}  // namespace ombrix
