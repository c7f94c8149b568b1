#include "center/SettingsExport.h"

#include "platform/NumberText.h"
#include "settings/AppSettings.h"
#include "settings/SettingsText.h"

namespace ombrix {

namespace {

constexpr char LineEnd[] = "\r\n";

enum class TLineKind { String, Dword };

struct TExportLine {
  const char* name;
  TLineKind kind;
};

// The values of a block, in the order of the file; TrayTask and TrayNoTask stay out (a
// registry load infers them from NoTrayIcon when TrayNoTask is missing).
constexpr TExportLine BlockLines[] = {
    {"Filename", TLineKind::String},      {"NbWindows", TLineKind::String},      {"MainHandle", TLineKind::String},
    {"SecsToWait", TLineKind::String},    {"ShowState", TLineKind::Dword},       {"DebugMode", TLineKind::Dword},
    {"WindowCaption", TLineKind::String}, {"DoPartialSearch", TLineKind::Dword}, {"Icon", TLineKind::String},
    {"IconNumber", TLineKind::Dword},     {"NoTrayTask", TLineKind::Dword},      {"NoTrayIcon", TLineKind::Dword},
    {"MinimizeType", TLineKind::Dword},   {"WarnQuickClose", TLineKind::Dword},  {"TrayDblClick", TLineKind::Dword},
    {"UsePID", TLineKind::Dword},
};

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

std::string RegFileDword(std::int32_t value) {
  return "dword:" + HexText(static_cast<std::uint32_t>(value), 8, true);
}

void ExportSettings(Platform& platform, TRegistryEnhanced& registry, const std::string& fileName) {
  const TAppSettingsStore::Target target(registry, SettingsKey);
  std::string text = std::string("REGEDIT4") + LineEnd + LineEnd + "[HKEY_CURRENT_USER\\" + SettingsKey + "]" + LineEnd;
  try {
    // One key for the whole file instead of one per value: each opening costs the system calls.
    TOpenKeyReader reader(registry);
    for (int slot = 1; slot < SlotLimit; ++slot) {
      const std::string number = std::to_string(slot);
      if (reader.ReadValue("Filename" + number).ToText().empty()) continue;
      for (const TExportLine& line : BlockLines) {
        // Read right before its line: the file shows each value as it was when written.
        const TVariant value = reader.ReadValue(line.name + number);
        const std::string data =
            line.kind == TLineKind::String ? RegFileString(value.ToText()) : RegFileDword(value.ToInteger());
        text += std::string("\"") + line.name + number + "\"=" + data;
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
