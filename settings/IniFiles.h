#pragma once
// TIniFile: reads and writes one INI (profile) file through the platform's profile calls;
// OpenSettingsIni chooses the program's settings file; EncodeQuoted and DecodeQuoted wrap
// free text so that it survives as an INI value.

#include <cstdint>
#include <memory>
#include <string>

#include "base/Exception.h"
#include "platform/Platform.h"

namespace ombrix {

class EIniFileException : public Exception {
 public:
  using Exception::Exception;
};

// The message of a failed write; "%s" is the file name.
inline constexpr char MsgUnableToWrite[] = "Unable to write to %s";
// Values are read through a buffer of this many characters, terminator included.
constexpr DWORD IniReadBufferSize = 1024;

class TIniFile {
 public:
  // Remembers the name; the file is not touched.
  TIniFile(Platform& platform, std::string fileName);

  const std::string& FileName() const { return fileName_; }

  // The value (at most 1023 bytes, ending on a whole character), or `defaultValue` when the
  // key is missing.
  std::string ReadString(const std::string& section, const std::string& ident, const std::string& defaultValue);
  // Raises EIniFileException ("Unable to write to <file>") when the write fails.
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  // Decimal, or hexadecimal after "0x"/"0X"; anything that is not a 32-bit number gives
  // `defaultValue`.
  std::int32_t ReadInteger(const std::string& section, const std::string& ident, std::int32_t defaultValue);
  void WriteInteger(const std::string& section, const std::string& ident, std::int32_t value);
  // ReadInteger with the default as 1 or 0; true when not 0.
  bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue);
  // "1" or "0".
  void WriteBool(const std::string& section, const std::string& ident, bool value);
  // Removes the key; the result is not reported.
  void DeleteKey(const std::string& section, const std::string& ident);

 private:
  Platform& platform_;
  std::string fileName_;
};

// The text an INI value holds for a 32-bit number, as ReadInteger reads it: false when the
// text is not one.
bool ParseIniInteger(const std::string& text, std::int32_t& value);

// The program's settings file: its own path with the extension ".ini" when that file exists;
// otherwise such a file in the current folder when one exists there; otherwise the file
// beside the program. Opening writes Flush=Flush in section "FlushCache" (creating the file
// when needed), and a failure of that write is ignored: a read-only folder still gives a
// usable accessor for reading. Before that, a program running in UTF-8 turns a file that is
// not UTF-8 (one written in the system's legacy code page, by an earlier version or under
// Windows 7 or 8) into UTF-8, every line in place; a file in UTF-8 (ASCII included) keeps its
// bytes.
std::unique_ptr<TIniFile> OpenSettingsIni(Platform& platform);
// The same choice for another program's settings file, `besideProgram` being its full path
// beside that program (the control center opens Ombrix's file this way).
std::unique_ptr<TIniFile> OpenSettingsIni(Platform& platform, const std::string& besideProgram);
// The same opening write for a file chosen by the caller.
std::unique_ptr<TIniFile> OpenIniFile(Platform& platform, const std::string& fileName);

// Double quotes, carriage returns and line feeds become the codes 2, 3 and 4, and the result
// is wrapped in double quotes: the profile calls would drop blanks and one pair of quotes
// around a value, and a value cannot span lines.
std::string EncodeQuoted(const std::string& text);
// Drops one leading and one trailing double quote, then turns codes 2, 3 and 4 back.
std::string DecodeQuoted(const std::string& text);

}  // namespace ombrix
