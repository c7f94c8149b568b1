#include "platform/sim/LnkFormat.h"

#include <array>
#include <cstdio>

namespace ombrix::sim {

namespace {

// CLSID_ShellLink {00021401-0000-0000-C000-000000000046} as stored (GUID byte order).
constexpr std::array<unsigned char, 16> ShellLinkClassId = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                            0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Windows-1252 bytes 0x80 to 0x9F; the five unassigned ones map to the same code point, as
// the system's conversion does.
constexpr std::array<char16_t, 32> Cp1252High = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr DWORD LinkInfoHeaderSize = 0x1C;
constexpr DWORD LinkInfoUnicodeHeaderSize = 0x24;
constexpr DWORD VolumeIdSize = 0x10;  // without the label
constexpr DWORD DriveFixed = 3;
constexpr DWORD ExtraBlockMinimum = 8;  // size and signature

std::string Hex(size_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%zX", value);
  return text;
}

// Texts go to the file as C strings would: up to the first NUL.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

void Put16(std::string& out, DWORD value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, DWORD value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void PutLinkInfo(std::string& out, std::string_view path) {
  const DWORD volumeSize = VolumeIdSize + 1;  // an empty label
  const DWORD volumeOffset = LinkInfoHeaderSize;
  const DWORD baseOffset = volumeOffset + volumeSize;
  const DWORD suffixOffset = baseOffset + static_cast<DWORD>(path.size()) + 1;
  const DWORD total = suffixOffset + 1;  // an empty suffix
  Put32(out, total);
  Put32(out, LinkInfoHeaderSize);
  Put32(out, lnk::VolumeIDAndLocalBasePath);
  Put32(out, volumeOffset);
  Put32(out, baseOffset);
  Put32(out, 0);  // no network part
  Put32(out, suffixOffset);
  Put32(out, volumeSize);
  Put32(out, DriveFixed);
  Put32(out, 0);  // serial number
  Put32(out, VolumeIdSize);
  out += '\0';
  out.append(path.data(), path.size());
  out += '\0';
  out += '\0';
}

void PutString(std::string& out, std::string_view text) {
  std::u16string wide = AnsiToUtf16(text);
  if (wide.size() > 0xFFFF) wide.resize(0xFFFF);
  Put16(out, static_cast<DWORD>(wide.size()));
  for (char16_t unit : wide) Put16(out, unit);
}

// Little-endian reads over a window of the input that never step outside it.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  size_t Pos() const { return pos_; }
  size_t Left() const { return bytes_.size() - pos_; }
  bool Has(size_t count) const { return count <= Left(); }

  bool U16(DWORD& value) {
    if (!Has(2)) return false;
    value = Byte(pos_) | (Byte(pos_ + 1) << 8);
    pos_ += 2;
    return true;
  }
  bool U32(DWORD& value) {
    DWORD low = 0, high = 0;
    if (!Has(4)) return false;
    U16(low);
    U16(high);
    value = low | (high << 16);
    return true;
  }
  bool Take(size_t count, std::string_view& out) {
    if (!Has(count)) return false;
    out = bytes_.substr(pos_, count);
    pos_ += count;
    return true;
  }

 private:
  DWORD Byte(size_t at) const { return static_cast<unsigned char>(bytes_[at]); }

  std::string_view bytes_;
  size_t pos_ = 0;
};

// A DWORD inside a block whose bounds were checked; 0 for one that would not fit.
DWORD At32(std::string_view block, size_t offset) {
  if (offset > block.size()) return 0;
  Reader reader(block.substr(offset));
  DWORD value = 0;
  reader.U32(value);
  return value;
}

// Decoding state: the first failure wins and stops everything after it.
class Decoder {
 public:
  Decoder(std::string_view bytes, std::string& error) : reader_(bytes), error_(error) {}

  std::optional<LnkRecord> Run();

 private:
  bool Fail(const std::string& message) {
    error_ = message;
    return false;
  }
  bool Header(DWORD& flags);
  bool SkipIdList();
  bool LinkInfo(std::string& target);
  bool CString(std::string_view block, DWORD offset, const char* what, std::string& text);
  bool WString(std::string_view block, DWORD offset, const char* what, std::string& text);
  bool StringData(bool unicode, const char* what, std::string& text);
  bool ExtraData();

  Reader reader_;
  std::string& error_;
  LnkRecord record_;
};

std::optional<LnkRecord> Decoder::Run() {
  DWORD flags = 0;
  if (!Header(flags)) return std::nullopt;
  if ((flags & lnk::HasLinkTargetIDList) && !SkipIdList()) return std::nullopt;
  std::string target;
  if ((flags & lnk::HasLinkInfo) && !LinkInfo(target)) return std::nullopt;
  if (!(flags & lnk::ForceNoLinkInfo)) record_.targetPath = target;

  const bool unicode = (flags & lnk::IsUnicode) != 0;
  const struct {
    DWORD flag;
    const char* what;
    std::string* text;
  } strings[] = {{lnk::HasName, "description", &record_.description},
                 {lnk::HasRelativePath, "relative path", &record_.relativePath},
                 {lnk::HasWorkingDir, "working folder", &record_.workingDir},
                 {lnk::HasArguments, "arguments", &record_.arguments},
                 {lnk::HasIconLocation, "icon location", &record_.iconLocation}};
  for (const auto& entry : strings) {
    if ((flags & entry.flag) && !StringData(unicode, entry.what, *entry.text)) return std::nullopt;
  }
  if (!ExtraData()) return std::nullopt;
  return record_;
}

bool Decoder::Header(DWORD& flags) {
  std::string_view header;
  if (!reader_.Take(lnk::HeaderSize, header)) {
    return Fail("the file has " + std::to_string(reader_.Left()) + " bytes, fewer than a shortcut header");
  }
  const DWORD size = At32(header, 0);
  if (size != lnk::HeaderSize) return Fail("the header size is " + Hex(size) + ", not 0x4C");
  if (header.substr(4, 16) != std::string_view(reinterpret_cast<const char*>(ShellLinkClassId.data()), 16)) {
    return Fail("the header does not carry the shell-link class id");
  }
  flags = At32(header, 0x14);
  record_.fileAttributes = At32(header, 0x18);
  record_.iconIndex = static_cast<INT>(At32(header, 0x38));
  record_.showCommand = static_cast<INT>(At32(header, 0x3C));
  record_.hotKey = static_cast<WORD>(At32(header, 0x40) & 0xFFFF);
  return true;
}

bool Decoder::SkipIdList() {
  const size_t at = reader_.Pos();
  DWORD size = 0;
  std::string_view ignored;
  if (!reader_.U16(size)) return Fail("the item-ID list size at offset " + Hex(at) + " is cut off");
  if (!reader_.Take(size, ignored)) {
    return Fail("the item-ID list of " + std::to_string(size) + " bytes at offset " + Hex(at) +
                " runs past the end of the file");
  }
  return true;
}

bool Decoder::CString(std::string_view block, DWORD offset, const char* what, std::string& text) {
  if (offset >= block.size())
    return Fail(std::string("the LinkInfo ") + what + " offset " + Hex(offset) + " is outside it");
  std::string_view rest = block.substr(offset);
  const size_t end = rest.find('\0');
  if (end == std::string_view::npos) return Fail(std::string("the LinkInfo ") + what + " is not terminated");
  text = std::string(rest.substr(0, end));
  return true;
}

bool Decoder::WString(std::string_view block, DWORD offset, const char* what, std::string& text) {
  if (offset >= block.size())
    return Fail(std::string("the LinkInfo ") + what + " offset " + Hex(offset) + " is outside it");
  Reader reader(block.substr(offset));
  std::u16string wide;
  DWORD unit = 0;
  while (reader.U16(unit)) {
    if (unit == 0) {
      text = Utf16ToAnsi(wide);
      return true;
    }
    wide += static_cast<char16_t>(unit);
  }
  return Fail(std::string("the LinkInfo ") + what + " is not terminated");
}

bool Decoder::LinkInfo(std::string& target) {
  const size_t at = reader_.Pos();
  DWORD size = 0;
  {
    Reader peek = reader_;
    if (!peek.U32(size)) return Fail("the LinkInfo size at offset " + Hex(at) + " is cut off");
  }
  if (size < LinkInfoHeaderSize) return Fail("the LinkInfo size " + Hex(size) + " is smaller than its header");
  std::string_view block;
  if (!reader_.Take(size, block)) {
    return Fail("the LinkInfo of " + std::to_string(size) + " bytes at offset " + Hex(at) +
                " runs past the end of the file");
  }
  const DWORD headerSize = At32(block, 4);
  if (headerSize != LinkInfoHeaderSize && (headerSize < LinkInfoUnicodeHeaderSize || headerSize > size)) {
    return Fail("the LinkInfo header size " + Hex(headerSize) + " is invalid");
  }
  const DWORD flags = At32(block, 8);
  const bool unicodeOffsets = headerSize >= LinkInfoUnicodeHeaderSize;

  if (flags & lnk::CommonNetworkRelativeLinkAndPathSuffix) {
    // The network part is not used, but it must lie inside the block.
    const DWORD networkOffset = At32(block, 0x14);
    if (networkOffset >= size || size - networkOffset < 4 || At32(block, networkOffset) > size - networkOffset) {
      return Fail("the LinkInfo network part at " + Hex(networkOffset) + " does not fit in it");
    }
  }
  if (!(flags & lnk::VolumeIDAndLocalBasePath)) return true;

  const DWORD volumeOffset = At32(block, 0x0C);
  if (volumeOffset >= size || size - volumeOffset < 4) {
    return Fail("the LinkInfo volume id offset " + Hex(volumeOffset) + " is outside it");
  }
  const DWORD volumeSize = At32(block, volumeOffset);
  if (volumeSize < VolumeIdSize || volumeSize > size - volumeOffset) {
    return Fail("the LinkInfo volume id size " + Hex(volumeSize) + " does not fit in it");
  }

  std::string base, suffix;
  if (!CString(block, At32(block, 0x10), "local base path", base)) return false;
  if (!CString(block, At32(block, 0x18), "common path suffix", suffix)) return false;
  if (unicodeOffsets) {
    // Present when the path did not fit the code page; the Unicode form is the better one.
    const DWORD wideBase = At32(block, 0x1C);
    const DWORD wideSuffix = At32(block, 0x20);
    if (wideBase != 0 && !WString(block, wideBase, "Unicode local base path", base)) return false;
    if (wideSuffix != 0 && !WString(block, wideSuffix, "Unicode common path suffix", suffix)) return false;
  }
  target = base + suffix;
  return true;
}

bool Decoder::StringData(bool unicode, const char* what, std::string& text) {
  const size_t at = reader_.Pos();
  DWORD count = 0;
  if (!reader_.U16(count)) return Fail(std::string("the ") + what + " length at offset " + Hex(at) + " is cut off");
  std::string_view raw;
  if (!reader_.Take(static_cast<size_t>(count) * (unicode ? 2 : 1), raw)) {
    return Fail(std::string("the ") + what + " of " + std::to_string(count) + " characters at offset " + Hex(at) +
                " runs past the end of the file");
  }
  if (!unicode) {
    text = std::string(UpToNul(raw));
    return true;
  }
  std::u16string wide;
  for (size_t i = 0; i + 1 < raw.size(); i += 2) {
    const char16_t unit =
        static_cast<char16_t>(static_cast<unsigned char>(raw[i]) | (static_cast<unsigned char>(raw[i + 1]) << 8));
    if (unit == 0) break;  // some writers count a terminator
    wide += unit;
  }
  text = Utf16ToAnsi(wide);
  return true;
}

bool Decoder::ExtraData() {
  for (;;) {
    const size_t at = reader_.Pos();
    DWORD size = 0;
    {
      Reader peek = reader_;
      if (!peek.U32(size)) return Fail("the extra data ends at offset " + Hex(at) + " without its terminator");
    }
    if (size == 0) return true;  // the terminator; anything after it is not ours
    if (size < ExtraBlockMinimum) {
      return Fail("the extra data block at offset " + Hex(at) + " has size " + Hex(size) + ", too small");
    }
    std::string_view ignored;
    if (!reader_.Take(size, ignored)) {
      return Fail("the extra data block of " + std::to_string(size) + " bytes at offset " + Hex(at) +
                  " runs past the end of the file");
    }
  }
}

}  // namespace

bool LnkRecord::operator==(const LnkRecord& other) const {
  return description == other.description && targetPath == other.targetPath && relativePath == other.relativePath &&
         workingDir == other.workingDir && arguments == other.arguments && iconLocation == other.iconLocation &&
         iconIndex == other.iconIndex && showCommand == other.showCommand && hotKey == other.hotKey &&
         fileAttributes == other.fileAttributes;
}

std::u16string AnsiToUtf16(std::string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    wide += (byte >= 0x80 && byte <= 0x9F) ? Cp1252High[byte - 0x80] : static_cast<char16_t>(byte);
  }
  return wide;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  std::string ansi;
  ansi.reserve(text.size());
  for (char16_t unit : text) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
      ansi += static_cast<char>(unit);
      continue;
    }
    char mapped = '?';
    for (size_t i = 0; i < Cp1252High.size(); ++i) {
      if (Cp1252High[i] == unit) mapped = static_cast<char>(0x80 + i);
    }
    ansi += mapped;
  }
  return ansi;
}

std::string EncodeLnk(const LnkRecord& record) {
  const std::string_view target = UpToNul(record.targetPath);
  const struct {
    DWORD flag;
    std::string_view text;
  } strings[] = {{lnk::HasName, UpToNul(record.description)},
                 {lnk::HasRelativePath, UpToNul(record.relativePath)},
                 {lnk::HasWorkingDir, UpToNul(record.workingDir)},
                 {lnk::HasArguments, UpToNul(record.arguments)},
                 {lnk::HasIconLocation, UpToNul(record.iconLocation)}};

  DWORD flags = lnk::IsUnicode;
  if (!target.empty()) flags |= lnk::HasLinkInfo;
  for (const auto& entry : strings) {
    if (!entry.text.empty()) flags |= entry.flag;
  }

  std::string out;
  Put32(out, lnk::HeaderSize);
  out.append(reinterpret_cast<const char*>(ShellLinkClassId.data()), ShellLinkClassId.size());
  Put32(out, flags);
  Put32(out, record.fileAttributes);
  out.append(3 * 8, '\0');  // creation, access and write times: unset
  Put32(out, 0);            // target size
  Put32(out, static_cast<DWORD>(record.iconIndex));
  Put32(out, static_cast<DWORD>(record.showCommand));
  Put16(out, record.hotKey);
  out.append(10, '\0');

  if (!target.empty()) PutLinkInfo(out, target);
  for (const auto& entry : strings) {
    if (!entry.text.empty()) PutString(out, entry.text);
  }
  Put32(out, 0);  // no extra data blocks
  return out;
}

std::optional<LnkRecord> DecodeLnk(std::string_view bytes, std::string& error) {
  error.clear();
  return Decoder(bytes, error).Run();
}

}  // namespace ombrix::sim
