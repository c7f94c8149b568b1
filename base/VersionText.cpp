#include "base/VersionText.h"

#include <vector>

namespace ombrix {

namespace {

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

// A whole field of decimal digits, limited to what a release number can sensibly be.
bool ReadSmallNumber(const std::string& text, int& number) {
  if (text.empty() || text.size() > 6) return false;
  number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  return true;
}

}  // namespace

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

}  // namespace ombrix
