#include "center/SettingsExport.h"

#include "platform/NumberText.h"
#include "settings/AppSettings.h"
#include "settings/SettingsText.h"

namespace ombrix {

namespace {

constexpr char LineEnd[] = "\r\n";

// Line ends inside a quoted string would end the line; the registry editors read no
// escape for them (or for other control characters) in this format.
bool QuotedFormCarries(const std::string& value) {
  for (char c : value) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  return true;
}

void WriteExportFile(Platform& platform, const std::string& fileName, const std::string& text) {
  if (!platform.Files().WriteFileBytes(fileName, text)) throw Exception(FormatText(MsgCannotCreateFile, fileName));
}

}  // namespace

std::string RegFileString(const std::string& value) {
  if (QuotedFormCarries(value)) {
    std::string quoted = "\"";
    for (char c : value) {
      if (c == '\\' || c == '"') quoted += '\\';
      quoted += c;
    }
    return quoted + "\"";
  }
  // The bytes as stored: the text and its terminating NUL.
  std::string hex = "hex(1):";
  for (char c : value) hex += HexText(static_cast<unsigned char>(c), 2, false) + ",";
  return hex + "00";
}

std::string RegFileDword(std::int32_t value) { return "dword:" + HexText(static_cast<std::uint32_t>(value), 8, true); }

void ExportSettings(Platform& platform, TRegistryEnhanced& registry, const std::string& fileName) {
  const TAppSettingsStore::Target target(registry, SettingsKey);
  std::string text = std::string("REGEDIT4") + LineEnd + LineEnd + "[HKEY_CURRENT_USER\\" + SettingsKey + "]" + LineEnd;
  try {
    // One key for the whole file instead of one per value: each opening costs the system calls.
    TOpenKeyReader reader(registry);
    const std::vector<const TEntryValue*> lines = EntryValuesInOrder(TEntryOrder::kExport);
    for (int slot = 1; slot < SlotLimit; ++slot) {
      const std::string number = std::to_string(slot);
      if (reader.ReadValue(EntryKeyName + number).ToText().empty()) continue;
      for (const TEntryValue* line : lines) {
        // Read right before its line: the file shows each value as it was when written.
        const TVariant value = reader.ReadValue(line->Name + number);
        const std::string data =
            line->Type() == TEntryValueType::kText ? RegFileString(value.ToText()) : RegFileDword(value.ToInteger());
        text += std::string("\"") + line->Name + number + "\"=" + data;
        text += LineEnd;
      }
      text += LineEnd;
    }
  } catch (const Exception&) {
    // The lines before the failing value stay in the file, as a file written line by line
    // would keep them.
    WriteExportFile(platform, fileName, text);
    throw;
  }
  text += LineEnd;
  WriteExportFile(platform, fileName, text);
}

}  // namespace ombrix
