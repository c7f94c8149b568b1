#include "settings/AppSettings.h"

#include <map>
#include <tuple>

#include "settings/SettingsText.h"

namespace ombrix {

namespace {

std::string Slotted(const char* name, int slot) { return name + std::to_string(slot); }

// The one-character default that tells a missing INI key from an empty one.
const std::string MissingMark(1, '\x01');

// INI key names match whatever the letter case of A to Z.
std::string FoldedKey(std::string name) {
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name;
}

}  // namespace

bool TAppSettings::operator==(const TAppSettings& o) const {
  auto fields = [](const TAppSettings& s) {
    return std::tie(s.MinimizeType, s.Filename, s.NbWindows, s.MainHandle, s.SecsToWait, s.ShowState, s.DebugMode,
                    s.WarnQuickClose, s.WindowCaption, s.DoPartialSearch, s.UsePID, s.Icon, s.IconNumber, s.TrayTask,
                    s.TrayNoTask, s.NoTrayTask, s.NoTrayIcon, s.TrayDblClick);
  };
  return fields(*this) == fields(o);
}

TAppSettings DefaultAppSettings(const std::string& fileName) {
  TAppSettings settings;
  settings.Filename = fileName;
  settings.Icon = fileName;
  return settings;
}

TAppSettingsStore::TAppSettingsStore(Platform& platform, TRegistryEnhanced& registryOp, TSettingsLocation location)
    : platform_(platform), registry_(registryOp), location_(std::move(location)) {}

std::unique_ptr<TIniFile> TAppSettingsStore::OpenIni() {
  return location_.IniFile.empty() ? OpenSettingsIni(platform_) : OpenIniFile(platform_, location_.IniFile);
}

TEntrySlot TAppSettingsStore::FindEntrySlot(const std::string& fileName) {
  Target target(registry_, location_.Key);
  return FindInRegistry(fileName);
}

TEntrySlot TAppSettingsStore::FindInRegistry(const std::string& fileName) {
  for (int slot = 1;; ++slot) {
    platform_.Messages().ProcessMessages();
    const std::string stored = registry_.ReadValueDefault(Slotted("Filename", slot), std::string()).ToText();
    if (stored.empty() || slot >= SlotLimit) return {slot, false};
    if (stored == fileName) return {slot, true};
  }
}

TEntrySlot TAppSettingsStore::FindEntrySlot(TIniFile& ini, const std::string& fileName) {
  for (int slot = 1;; ++slot) {
    platform_.Messages().ProcessMessages();
    std::string stored = ini.ReadString(AppSettingsSection, Slotted("Filename", slot), MissingMark);
    if (stored == MissingMark) return {slot, false};
    stored = DecodeQuoted(stored);
    if (stored.empty() || slot >= SlotLimit) return {slot, false};
    if (stored == fileName) return {slot, true};
  }
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
    Target target(registry_, location_.Key);
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

  // Filename is not read back: a slot is found by it, so it holds the same text.
  s.MinimizeType = read("MinimizeType").EqualsInteger(1);
  s.NbWindows = read("NbWindows").ToText();
  s.MainHandle = read("MainHandle").ToText();
  s.SecsToWait = read("SecsToWait").ToText();
  s.ShowState = read("ShowState").ToInteger();
  s.DebugMode = read("DebugMode").ToBool();
  s.WarnQuickClose = read("WarnQuickClose").ToBool();
  s.WindowCaption = read("WindowCaption").ToText();
  s.DoPartialSearch = read("DoPartialSearch").EqualsInteger(1);
  s.UsePID = read("UsePID").EqualsInteger(1);
  const std::string icon = read("Icon").ToText();
  s.Icon = icon.empty() ? s.Filename : icon;
  // The field is 16 bits wide; the dialog bounds it by the icons of the file anyway.
  s.IconNumber = static_cast<std::int16_t>(read("IconNumber").ToInteger());

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
  s.TrayDblClick = Present(Slotted("TrayDblClick", n)) ? read("TrayDblClick").ToInteger() : 1;
}

void TAppSettingsStore::LoadFromIni(TAppSettings& s) {
  std::unique_ptr<TIniFile> ini = OpenIni();
  const TEntrySlot found = FindEntrySlot(*ini, s.Filename);
  if (found.Found) ReadIniEntry(*ini, s, found.Slot);
}

void TAppSettingsStore::ReadIniEntry(TIniFile& ini, TAppSettings& s, int n) {
  const std::string section = AppSettingsSection;
  auto text = [&](const char* name) { return DecodeQuoted(ini.ReadString(section, Slotted(name, n), "")); };
  auto flag = [&](const char* name, bool fallback) { return ini.ReadBool(section, Slotted(name, n), fallback); };
  auto number = [&](const char* name, std::int32_t fallback) {
    return ini.ReadInteger(section, Slotted(name, n), fallback);
  };

  // Filename is not read back: a slot is found by it, so it holds the same text.
  s.MinimizeType = flag("MinimizeType", true);
  s.NbWindows = text("NbWindows");
  s.MainHandle = text("MainHandle");
  s.SecsToWait = text("SecsToWait");
  s.ShowState = number("ShowState", s.ShowState);
  s.DebugMode = flag("DebugMode", s.DebugMode);
  s.WarnQuickClose = flag("WarnQuickClose", s.WarnQuickClose);
  s.WindowCaption = text("WindowCaption");
  s.DoPartialSearch = flag("DoPartialSearch", s.DoPartialSearch);
  s.UsePID = flag("UsePID", s.UsePID);
  const std::string icon = text("Icon");
  s.Icon = icon.empty() ? s.Filename : icon;
  s.IconNumber = static_cast<std::int16_t>(number("IconNumber", 0));
  s.TrayTask = flag("TrayTask", true);
  s.TrayNoTask = flag("TrayNoTask", false);
  s.NoTrayTask = flag("NoTrayTask", false);
  s.NoTrayIcon = flag("NoTrayIcon", false);
  s.TrayDblClick = number("TrayDblClick", 1);
}

void TAppSettingsStore::SaveSettings(const TAppSettings& s, bool useIniFile) {
  auto refuseWhenFull = [&](const TEntrySlot& slot) {
    if (!slot.Found && slot.Slot >= SlotLimit) throw ESettingsStoreFull(FormatText(MsgSettingsStoreFull, s.Filename));
  };
  if (useIniFile) {
    std::unique_ptr<TIniFile> ini = OpenIni();
    const TEntrySlot slot = FindEntrySlot(*ini, s.Filename);
    refuseWhenFull(slot);
    // A failed write raises "Unable to write to <file>": a save that did not store the entry
    // must not pass for one that did.
    SaveEntryAt(*ini, s, slot.Slot);
    return;
  }

  Target target(registry_, location_.Key);
  const TEntrySlot slot = FindInRegistry(s.Filename);
  refuseWhenFull(slot);
  const int n = slot.Slot;
  {
    // The store's writes do nothing at all when the key cannot be created; the save would
    // pass for done with nothing stored.
    TRegistry accessor(platform_.Registry());
    accessor.SetRootKey(HKEY_CURRENT_USER);
    if (!accessor.OpenKey("\\" + TRegistryEnhanced::NormalizeKey(location_.Key), true)) {
      throw ERegistryException(FormatText(MsgFailedToSetData, Slotted(EntryValueNames[0], n)));
    }
  }
  auto write = [&](const char* name, const TVariant& value) { registry_.WriteValue(Slotted(name, n), value); };
  write("MinimizeType", s.MinimizeType);
  write("Filename", s.Filename);
  write("NbWindows", s.NbWindows);
  write("MainHandle", s.MainHandle);
  write("SecsToWait", s.SecsToWait);
  write("ShowState", s.ShowState);
  write("DebugMode", s.DebugMode);
  write("WarnQuickClose", s.WarnQuickClose);
  write("WindowCaption", s.WindowCaption);
  write("DoPartialSearch", s.DoPartialSearch);
  write("UsePID", s.UsePID);
  write("Icon", s.Icon);
  write("IconNumber", static_cast<std::int32_t>(s.IconNumber));
  write("TrayTask", s.TrayTask);
  write("TrayNoTask", s.TrayNoTask);
  write("NoTrayTask", s.NoTrayTask);
  write("NoTrayIcon", s.NoTrayIcon);
  write("TrayDblClick", s.TrayDblClick);
}

void TAppSettingsStore::SaveEntryAt(TIniFile& ini, const TAppSettings& s, int n) {
  const std::string section = AppSettingsSection;
  auto flag = [&](const char* name, bool value) { ini.WriteBool(section, Slotted(name, n), value); };
  auto number = [&](const char* name, std::int32_t value) { ini.WriteInteger(section, Slotted(name, n), value); };
  auto text = [&](const char* name, const std::string& value) {
    ini.WriteString(section, Slotted(name, n), EncodeQuoted(value));
  };
  flag("MinimizeType", s.MinimizeType);
  text("Filename", s.Filename);
  text("NbWindows", s.NbWindows);
  text("MainHandle", s.MainHandle);
  text("SecsToWait", s.SecsToWait);
  number("ShowState", s.ShowState);
  flag("DebugMode", s.DebugMode);
  flag("WarnQuickClose", s.WarnQuickClose);
  text("WindowCaption", s.WindowCaption);
  flag("DoPartialSearch", s.DoPartialSearch);
  flag("UsePID", s.UsePID);
  text("Icon", s.Icon);
  number("IconNumber", s.IconNumber);
  flag("TrayTask", s.TrayTask);
  flag("TrayNoTask", s.TrayNoTask);
  flag("NoTrayTask", s.NoTrayTask);
  flag("NoTrayIcon", s.NoTrayIcon);
  number("TrayDblClick", s.TrayDblClick);
}

TDeleteResult TAppSettingsStore::DeleteSettings(const std::string& fileName) {
  TDeleteResult result;
  {
    Target target(registry_, location_.Key);
    const TEntrySlot slot = FindInRegistry(fileName);
    if (slot.Found) {
      for (const char* name : EntryDeleteOrder) registry_.DeleteValue(Slotted(name, slot.Slot));
      for (const char* name : EntryDeleteOrder) {
        if (registry_.ValueExists(Slotted(name, slot.Slot))) result.LeftInRegistry = true;
      }
    }
  }
  try {
    std::unique_ptr<TIniFile> ini = OpenIni();
    result.IniFile = ini->FileName();
    const TEntrySlot slot = FindEntrySlot(*ini, fileName);
    if (slot.Found) {
      for (const char* name : EntryDeleteOrder) ini->DeleteKey(AppSettingsSection, Slotted(name, slot.Slot));
      for (const char* name : EntryDeleteOrder) {
        if (ini->ReadString(AppSettingsSection, Slotted(name, slot.Slot), MissingMark) != MissingMark) {
          result.LeftInIni = true;
        }
      }
    }
  } catch (const Exception&) {
    // An INI file that cannot be opened holds nothing that could be read back either.
  }
  return result;
}

std::string TAppSettingsStore::StoredFileName(int slot) {
  Target target(registry_, location_.Key);
  return registry_.ReadValueDefault(Slotted("Filename", slot), std::string()).ToText();
}

std::string TAppSettingsStore::StoredFileName(TIniFile& ini, int slot) {
  const std::string stored = ini.ReadString(AppSettingsSection, Slotted("Filename", slot), MissingMark);
  return stored == MissingMark ? std::string() : stored;
}

std::vector<std::string> TAppSettingsStore::StoredFileNames(TIniFile& ini) {
  // The section lines come trimmed; what the key read does beyond that is done here: the first
  // line of a name counts, one pair of quotes around the value goes, and the rest is cut to
  // the read buffer. A line without '=' is no key.
  std::map<std::string, std::string> values;
  for (const std::string& line : platform_.Profile().GetPrivateProfileSectionA(AppSettingsSection, ini.FileName())) {
    const std::string::size_type equals = line.find('=');
    if (equals == std::string::npos) continue;
    std::string value = line.substr(equals + 1);
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
      value = value.substr(1, value.size() - 2);
    }
    if (value.size() > IniReadBufferSize - 1) value.resize(IniReadBufferSize - 1);
    values.emplace(FoldedKey(line.substr(0, equals)), std::move(value));
  }
  std::vector<std::string> names;
  for (int slot = 1; slot < SlotLimit; ++slot) {
    const auto found = values.find(FoldedKey(Slotted("Filename", slot)));
    names.push_back(found == values.end() || found->second == MissingMark ? std::string() : found->second);
  }
  return names;
}

void TAppSettingsStore::LoadEntryAt(TAppSettings& settings, int slot) {
  Target target(registry_, location_.Key);
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
  Target target(registry_, location_.Key);
  for (const char* name : EntryDeleteOrder) registry_.DeleteValue(Slotted(name, slot));
}

void TAppSettingsStore::DeleteEntryAt(TIniFile& ini, int slot) {
  for (const char* name : EntryDeleteOrder) ini.DeleteKey(AppSettingsSection, Slotted(name, slot));
  for (const char* name : EntryDeleteOrder) {
    if (ini.ReadString(AppSettingsSection, Slotted(name, slot), MissingMark) != MissingMark) {
      throw EIniFileException(FormatText(MsgUnableToWrite, ini.FileName()));
    }
  }
}

}  // namespace ombrix
