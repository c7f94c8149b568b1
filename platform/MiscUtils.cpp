#include "platform/MiscUtils.h"

#include <cmath>
#include <limits>
#include <vector>

namespace ombrix {

namespace {

constexpr const char* FileVersionBlock = "\\StringFileInfo\\040904E4\\FileVersion";

std::vector<std::string> SplitFields(const std::string& text) {
  std::vector<std::string> fields(1);
  for (char c : text) {
    if (c == '.') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A whole field of decimal digits, limited to what a release number can sensibly be.
bool ReadSmallNumber(const std::string& text, int& number) {
  if (text.empty() || text.size() > 6) return false;
  number = 0;
  for (char c : text) {
    if (!IsDigit(c)) return false;
    number = number * 10 + (c - '0');
  }
  return true;
}

}  // namespace

std::string FileVersionText(Platform& platform, const std::string& file) {
  return platform.Files().QueryVersionString(file, FileVersionBlock);
}

std::string ShortVersionOf(const std::string& versionText) {
  if (versionText.find('.') == std::string::npos) return versionText;
  const std::vector<std::string> fields = SplitFields(versionText);
  std::string minor = fields[1];
  if (minor.size() == 1) minor = "0" + minor;
  std::string result = fields[0] + "." + minor;
  int release = 0;
  if (fields.size() >= 3 && ReadSmallNumber(fields[2], release) && release != 0) {
    // Releases 1 to 26 are the letters a to z; anything larger would not be a letter any
    // more, so it is shown as a number.
    if (release <= 26) {
      result += static_cast<char>(96 + release);
    } else {
      result += "." + std::to_string(release);
    }
  }
  return result;
}

std::string BuildNumberOf(const std::string& versionText) {
  size_t dot = std::string::npos;
  int dots = 0;
  for (size_t i = 0; i < versionText.size() && dots < 3; ++i) {
    if (versionText[i] == '.') {
      dot = i;
      ++dots;
    }
  }
  return dot == std::string::npos ? "" : versionText.substr(dot + 1);
}

std::string ShortVersion(Platform& platform, const std::string& file) {
  return ShortVersionOf(FileVersionText(platform, file));
}

std::string BuildNumber(Platform& platform, const std::string& file) {
  return BuildNumberOf(FileVersionText(platform, file));
}

std::string VersionCaption(Platform& platform, const std::string& file) {
  const std::string version = FileVersionText(platform, file);
  return "Version " + ShortVersionOf(version) + " build " + BuildNumberOf(version);
}

std::string DigitsOnly(const std::string& text) {
  if (text.empty()) return "0";
  std::string digits;
  for (char c : text) {
    if (IsDigit(c)) digits += c;
  }
  return digits;
}

std::int32_t DigitsToInt(const std::string& text) {
  constexpr std::int64_t Max = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (char c : DigitsOnly(text)) {
    value = value * 10 + (c - '0');
    if (value > Max) return static_cast<std::int32_t>(Max);
  }
  return static_cast<std::int32_t>(value);
}

std::string IntToText(std::int32_t number) { return std::to_string(number); }

std::int32_t TimeToMilliseconds(TDateTime time) {
  const double fraction = std::fabs(time - std::trunc(time));
  const long long milliseconds = std::llround(fraction * MillisecondsPerDay);
  return static_cast<std::int32_t>(milliseconds % static_cast<long long>(MillisecondsPerDay));
}

void PauseWithMessages(Platform& platform, DWORD milliseconds) {
  const TDateTime start = platform.Clock().Now();
  for (;;) {
    platform.Messages().ProcessMessages();
    const TDateTime now = platform.Clock().Now();
    // A clock set back during the pause would otherwise hold it for as long as it moved.
    if (now < start) return;
    const std::int64_t elapsed = TimeToMilliseconds(now - start);
    if (elapsed > static_cast<std::int64_t>(milliseconds)) return;
    platform.Messages().WaitForMessages(static_cast<DWORD>(milliseconds - elapsed + 1));
  }
}

int AskYesNo(Platform& platform, const std::string& caption, const std::string& text) {
  return platform.Dialogs().MessageBoxA(platform.Windows().GetDesktopWindow(), text, caption,
                                        MB_YESNO | MB_SETFOREGROUND);
}

std::string FolderOf(const std::string& path) {
  const std::string::size_type slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
  const std::string::size_type dot = path.rfind('.');
  const std::string::size_type folder = path.find_last_of("\\/:");
  if (dot == std::string::npos || (folder != std::string::npos && dot < folder)) return path + extension;
  return path.substr(0, dot) + extension;
}

std::size_t Utf8CharacterLength(const std::string& text, std::size_t at) {
  if (at >= text.size()) return 0;
  const auto byte = [&](std::size_t index) { return index < text.size() ? static_cast<unsigned char>(text[index]) : 0u; };
  const unsigned lead = byte(at);
  if (lead < 0x80) return 1;
  // The lead byte gives the length and the first bits; 0x80 to 0xC1 and 0xF5 up start no
  // character (a continuation byte, or a form that is overlong or too large from the start).
  if (lead < 0xC2 || lead > 0xF4) return 0;
  const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  char32_t code = lead & (0x7F >> length);
  for (std::size_t index = at + 1; index < at + length; ++index) {
    if ((byte(index) & 0xC0) != 0x80) return 0;
    code = code << 6 | (byte(index) & 0x3F);
  }
  // Overlong forms, UTF-16's surrogates and code points beyond U+10FFFF are no characters.
  if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
  return length;
}

bool IsUtf8(const std::string& text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8CharacterLength(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

std::size_t CharacterCount(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8CharacterLength(text, at);
    count += length == 4 ? 2 : 1;
    at += length == 0 ? 1 : length;
  }
  return count;
}

std::string CutText(const std::string& text, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t length = Utf8CharacterLength(text, end);
    const std::size_t next = end + (length == 0 ? 1 : length);
    if (next > maxBytes) break;
    end = next;
  }
  return text.substr(0, end);
}

}  // namespace ombrix
