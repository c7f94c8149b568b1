#pragma once
// The binary shortcut (.lnk) format: a link record to bytes and back. Pure: no file system,
// so it serves the simulated shell-link object and tests over real files alike.
//
// Writing produces what the published format asks for: the 0x4C-byte header with the
// shell-link class id, the target as LinkInfo LocalBasePath, the string data in UTF-16
// without terminators, no extra data but the 4-byte terminator. Reading also accepts what
// real shells write: an item-ID list (skipped), string counts that include a NUL, Unicode
// LinkInfo paths, extra data blocks. Anything that does not hold together is refused with a
// message saying what and where; the reader never looks outside the bytes it is given.

#include <optional>
#include <string>
#include <string_view>

#include "platform/WinDefs.h"

namespace ombrix::sim {

// LinkFlags of the header.
namespace lnk {
constexpr DWORD HasLinkTargetIDList = 0x1;
constexpr DWORD HasLinkInfo = 0x2;
constexpr DWORD HasName = 0x4;
constexpr DWORD HasRelativePath = 0x8;
constexpr DWORD HasWorkingDir = 0x10;
constexpr DWORD HasArguments = 0x20;
constexpr DWORD HasIconLocation = 0x40;
constexpr DWORD IsUnicode = 0x80;
constexpr DWORD ForceNoLinkInfo = 0x100;

constexpr DWORD HeaderSize = 0x4C;
// LinkInfo flags.
constexpr DWORD VolumeIDAndLocalBasePath = 0x1;
constexpr DWORD CommonNetworkRelativeLinkAndPathSuffix = 0x2;
}  // namespace lnk

// What one shortcut file says. Texts are 8-bit text in the system code page (Windows-1252);
// characters the code page lacks read as '?'.
struct LnkRecord {
  std::string description;
  // The target: LinkInfo's local base path followed by its common path suffix.
  std::string targetPath;
  // The target relative to the shortcut's own folder, when the file carries one.
  std::string relativePath;
  std::string workingDir;
  std::string arguments;
  std::string iconLocation;
  INT iconIndex = 0;
  // Kept as stored; the format defines 1, 3 and 7 and readers treat others as 1.
  INT showCommand = SW_SHOWNORMAL;
  WORD hotKey = 0;
  DWORD fileAttributes = 0;

  bool operator==(const LnkRecord& other) const;
  bool operator!=(const LnkRecord& other) const { return !(*this == other); }
};

// Each text goes into a string whose count is 16 bits; longer texts are cut to 65535.
std::string EncodeLnk(const LnkRecord& record);

// The record, or nothing with `error` saying why the bytes are not a shortcut.
std::optional<LnkRecord> DecodeLnk(std::string_view bytes, std::string& error);

// Windows-1252 text to UTF-16 code units and back (unmappable characters become '?').
std::u16string AnsiToUtf16(std::string_view text);
std::string Utf16ToAnsi(std::u16string_view text);

}  // namespace ombrix::sim
