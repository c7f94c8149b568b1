#pragma once
// Full stores for the benchmarks, written in one go rather than through the store's own
// lookups: an entry's values through one open registry key, or its lines into the text of an
// INI file, in the forms a save writes.

#include <cstdint>
#include <string>
#include <vector>

#include "settings/AppSettings.h"

namespace ombrix {

inline void WriteRegistryEntry(IRegistry& registry, HKEY key, const TAppSettings& settings, int slot) {
  for (const TEntryValue& value : EntryValues) {
    const std::string name = value.Name + std::to_string(slot);
    const TVariant data = value.Field.Get(settings);
    if (value.Type() == TEntryValueType::kText) {
      std::vector<BYTE> bytes(data.AsString().begin(), data.AsString().end());
      bytes.push_back(0);
      registry.RegSetValueExA(key, name, REG_SZ, bytes);
    } else {
      const auto bits = static_cast<std::uint32_t>(data.ToInteger());
      registry.RegSetValueExA(key, name, REG_DWORD, {BYTE(bits), BYTE(bits >> 8), BYTE(bits >> 16), BYTE(bits >> 24)});
    }
  }
}

inline void AppendIniEntry(const TAppSettings& settings, int slot, std::string& ini) {
  for (const TEntryValue& value : EntryValues) {
    const TVariant data = value.Field.Get(settings);
    const bool text = value.Type() == TEntryValueType::kText;
    ini += value.Name + std::to_string(slot) + "=" +
           (text ? EncodeQuoted(data.AsString()) : std::to_string(data.ToInteger())) + "\r\n";
  }
}

}  // namespace ombrix
