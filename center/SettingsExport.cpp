#include "center/SettingsExport.h"

#include <string_view>

#include "base/NumberText.h"
#include "settings/AppSettings.h"
#include "settings/SettingsText.h"

namespace ombrix {

namespace {

constexpr char LineEnd[] = "\r\n";
constexpr std::string_view RegEdit4 = "REGEDIT4";

// Line ends inside a quoted string would end the line; the registry editors read no
// escape for them (or for other control characters) in this format.
bool QuotedFormCarries(const std::string& value) {
  for (char c : value) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  return true;
}

bool IsAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// What follows the equals sign for a string value: the quoted text with backslashes and
// double quotes escaped. Text a quoted string cannot carry (control characters) is written
// as its bytes, "hex(1):", which depend on the file's form, known only once every value has
// been read: until then the text is held between two NULs, which no registry string holds.
std::string RegFileString(const std::string& value) {
  if (!QuotedFormCarries(value)) return "hex(1):" + std::string(1, '\0') + value + '\0';
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// The file's bytes from its text in the REGEDIT4 form: in that form while all of it is ASCII,
// otherwise in the 5.00 form. The values held for "hex(1):" become the bytes the form stores
// for them, the text and its terminator: as they are, or in UTF-16.
std::string FileBytes(ICodePages& codePages, std::string text) {
  const bool unicode = !IsAscii(text);
  if (unicode) text.replace(0, RegEdit4.size(), "Windows Registry Editor Version 5.00");
  std::string bytes;
  for (std::string::size_type at = 0;;) {
    const std::string::size_type open = text.find('\0', at);
    bytes.append(text, at, open - at);
    if (open == std::string::npos) break;
    const std::string::size_type close = text.find('\0', open + 1);
    std::string stored = text.substr(open + 1, close - open);
    if (unicode) stored = codePages.ConvertText(stored, CP_ACP, CodePageUtf16Le);
    for (char c : stored) bytes += HexText(static_cast<unsigned char>(c), 2, false) + ",";
    bytes.pop_back();
    at = close + 1;
  }
  return unicode ? "\xFF\xFE" + codePages.ConvertText(bytes, CP_ACP, CodePageUtf16Le) : bytes;
}

void WriteExportFile(Platform& platform, const std::string& fileName, const std::string& text) {
  if (!platform.Files().WriteFileBytes(fileName, FileBytes(platform.CodePages(), text))) {
    throw Exception(FormatText(MsgCannotCreateFile, fileName));
  }
}

}  // namespace

std::string RegFileDword(std::int32_t value) { return "dword:" + HexText(static_cast<std::uint32_t>(value), 8, true); }

void ExportSettings(Platform& platform, TRegistryEnhanced& registry, const std::string& fileName) {
  const TRegistryScope scope = SettingsKeyScope(registry);
  std::string text = std::string(RegEdit4) + LineEnd + LineEnd + "[HKEY_CURRENT_USER\\" + SettingsKey + "]" + LineEnd;
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
