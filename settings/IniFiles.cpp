#include "settings/IniFiles.h"

#include "base/FilePaths.h"
#include "base/Utf8.h"
#include "settings/SettingsText.h"

namespace ombrix {

namespace {

constexpr char FlushSection[] = "FlushCache";
constexpr char FlushIdent[] = "Flush";

// Earlier versions wrote the file in the system's legacy code page, as every version still
// does where the system ignores the manifest's UTF-8 entry. Read in UTF-8, its accented
// letters would come back as U+FFFD, and the first write would keep them so (wine rewrites
// the whole file at each write). A file that is not UTF-8 is therefore turned into UTF-8
// once, before anything is written to it, every line kept where it is; a file with a UTF-16
// byte-order mark the profile calls read as it is.
void ConvertFromLegacyCodePage(Platform& platform, const std::string& fileName) {
  ICodePages& codePages = platform.CodePages();
  if (codePages.GetACP() != CP_UTF8) return;
  const UINT legacy = codePages.LegacyCodePage();
  std::string bytes;
  if (legacy == CP_UTF8 || !platform.Files().ReadFileBytes(fileName, bytes) || IsUtf8(bytes) ||
      bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
    return;
  }
  // A file that cannot be written stays as it is; only its accented letters read wrong.
  platform.Files().WriteFileBytes(fileName, codePages.ConvertText(bytes, legacy, CP_UTF8));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool ParseIniInteger(const std::string& text, std::int32_t& value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    // Up to eight hexadecimal digits; 0xFFFFFFFF is -1 as a 32-bit number.
    std::uint64_t number = 0;
    for (std::string::size_type at = 2; at < text.size(); ++at) {
      const int digit = HexDigit(text[at]);
      if (digit < 0) return false;
      number = number * 16 + static_cast<std::uint64_t>(digit);
      if (number > 0xFFFFFFFFull) return false;
    }
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
    return true;
  }
  return ParseDecimalInt32(text, value);
}

TIniFile::TIniFile(Platform& platform, std::string fileName) : platform_(platform), fileName_(std::move(fileName)) {}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue) {
  std::string value;
  platform_.Profile().GetPrivateProfileStringA(section, ident, defaultValue, IniReadBufferSize, value, fileName_);
  return value;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  if (!platform_.Profile().WritePrivateProfileStringA(section, ident, value, fileName_)) {
    throw EIniFileException(FormatText(MsgUnableToWrite, fileName_));
  }
}

std::int32_t TIniFile::ReadInteger(const std::string& section, const std::string& ident, std::int32_t defaultValue) {
  std::int32_t value = 0;
  return ParseIniInteger(ReadString(section, ident, ""), value) ? value : defaultValue;
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, std::int32_t value) {
  WriteString(section, ident, std::to_string(value));
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident, bool defaultValue) {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  platform_.Profile().WritePrivateProfileStringA(section, ident, std::nullopt, fileName_);
}

std::unique_ptr<TIniFile> OpenIniFile(Platform& platform, const std::string& fileName) {
  ConvertFromLegacyCodePage(platform, fileName);
  auto ini = std::make_unique<TIniFile>(platform, fileName);
  try {
    ini->WriteString(FlushSection, FlushIdent, FlushIdent);
  } catch (const EIniFileException&) {
    // A file that cannot be written can still be read.
  }
  return ini;
}

std::unique_ptr<TIniFile> OpenSettingsIni(Platform& platform) {
  return OpenSettingsIni(platform, ChangeFileExt(platform.Files().GetModuleFileNameA(), ".ini"));
}

std::unique_ptr<TIniFile> OpenSettingsIni(Platform& platform, const std::string& besideProgram) {
  IFiles& files = platform.Files();
  std::string chosen = besideProgram;
  if (!files.FileExists(besideProgram)) {
    const std::string bareName = besideProgram.substr(FolderOf(besideProgram).size());
    if (files.FileExists(bareName)) {
      // Found in the current folder. The profile calls would look a bare name up in the
      // Windows folder instead, and read or write some other file; so the file found is
      // named by its full path.
      std::string folder = files.GetCurrentDirectoryA();
      if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
      chosen = folder + bareName;
    }
  }
  return OpenIniFile(platform, chosen);
}

std::string EncodeQuoted(const std::string& text) {
  std::string result = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        result += '\x02';
        break;
      case '\r':
        result += '\x03';
        break;
      case '\n':
        result += '\x04';
        break;
      default:
        result += c;
    }
  }
  return result + "\"";
}

std::string DecodeQuoted(const std::string& text) {
  std::string inner = text;
  if (!inner.empty() && inner.front() == '"') inner.erase(0, 1);
  if (!inner.empty() && inner.back() == '"') inner.pop_back();
  for (char& c : inner) {
    switch (c) {
      case '\x02':
        c = '"';
        break;
      case '\x03':
        c = '\r';
        break;
      case '\x04':
        c = '\n';
        break;
      default:
        break;
    }
  }
  return inner;
}

}  // namespace ombrix
