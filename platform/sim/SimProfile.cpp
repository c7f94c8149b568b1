#include "platform/sim/SimProfile.h"

#include <vector>

#include "platform/sim/SimText.h"

namespace ombrix::sim {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

std::string TrimBlanks(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::string TrimSpaces(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && text[first] == ' ') ++first;
  while (last > first && text[last - 1] == ' ') --last;
  return text.substr(first, last - first);
}

// One physical line of the file, with the line break that ended it.
struct Line {
  std::string text;
  std::string ending;
};

std::vector<Line> SplitLines(const std::string& bytes) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back({bytes.substr(start), ""});
      break;
    }
    size_t next = end + 1;
    if (bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
    lines.push_back({bytes.substr(start, end - start), bytes.substr(end, next - end)});
    start = next;
  }
  return lines;
}

std::string JoinLines(const std::vector<Line>& lines) {
  std::string bytes;
  for (const Line& line : lines) bytes += line.text + line.ending;
  return bytes;
}

// A section header: on Windows the name ends at the first ']' and a header without one is
// still a section.
bool ParseHeader(const std::string& line, std::string& name) {
  std::string trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed[0] != '[') return false;
  size_t close = trimmed.find(']');
  name = TrimBlanks(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  return true;
}

// A key line: "name=value". Lines without '=' and comment lines never match a key.
bool ParseEntry(const std::string& line, std::string& name, std::string& value) {
  size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  name = TrimBlanks(line.substr(0, equals));
  if (!name.empty() && name[0] == ';') return false;
  value = TrimBlanks(line.substr(equals + 1));
  return true;
}

std::string StripOneQuotePair(const std::string& value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

struct Location {
  int header = -1;     // line of the section header
  int end = -1;        // one past the section's last line
  int lastEntry = -1;  // last key line of the section
  int entry = -1;      // line of the key looked for
};

Location Find(const std::vector<Line>& lines, const std::string& section, const std::string* key) {
  Location where;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    std::string name, value;
    if (ParseHeader(lines[i].text, name)) {
      if (where.header >= 0) {
        where.end = i;
        return where;
      }
      if (SameTextNoCase(name, section)) where.header = i;
      continue;
    }
    if (where.header < 0 || !ParseEntry(lines[i].text, name, value)) continue;
    where.lastEntry = i;
    if (key && where.entry < 0 && SameTextNoCase(name, *key)) where.entry = i;
  }
  if (where.header >= 0) where.end = static_cast<int>(lines.size());
  return where;
}

}  // namespace

std::string SimProfile::ResolveName(const std::string& fileName) const {
  if (fileName.find_first_of("\\/") == std::string::npos) return files_.WindowsDirectory() + "\\" + fileName;
  return fileName;
}

DWORD SimProfile::GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                           const std::string& defaultValue, DWORD size, std::string& out,
                                           const std::string& fileName) {
  if (size == 0) return 0;
  std::string result = defaultValue;
  while (!result.empty() && result.back() == ' ') result.pop_back();
  const std::string wantedSection = TrimSpaces(section);
  const std::string wantedKey = TrimSpaces(key);
  std::string bytes;
  if (!fileName.empty() && !wantedSection.empty() && !wantedKey.empty() &&
      files_.ReadFileBytes(ResolveName(fileName), bytes)) {
    std::vector<Line> lines = SplitLines(bytes);
    Location where = Find(lines, wantedSection, &wantedKey);
    std::string name, value;
    if (where.entry >= 0 && ParseEntry(lines[where.entry].text, name, value)) result = StripOneQuotePair(value);
  }
  out = codePages_.Cut(codePages_.Reencoded(result), size - 1);
  return static_cast<DWORD>(out.size());
}

std::vector<std::string> SimProfile::GetPrivateProfileSectionA(const std::string& section,
                                                               const std::string& fileName) {
  std::vector<std::string> result;
  const std::string wantedSection = TrimSpaces(section);
  std::string bytes;
  if (fileName.empty() || wantedSection.empty() || !files_.ReadFileBytes(ResolveName(fileName), bytes)) return result;
  const std::vector<Line> lines = SplitLines(bytes);
  const Location where = Find(lines, wantedSection, nullptr);
  if (where.header < 0) return result;
  for (int i = where.header + 1; i < where.end; ++i) {
    std::string name, value;
    if (ParseEntry(lines[i].text, name, value)) {
      result.push_back(codePages_.Reencoded(name + "=" + value));
      continue;
    }
    const std::string text = TrimBlanks(lines[i].text);
    if (!text.empty() && text[0] != ';') result.push_back(codePages_.Reencoded(text));
  }
  return result;
}

BOOL SimProfile::WritePrivateProfileStringA(const std::string& section, const std::optional<std::string>& key,
                                            const std::optional<std::string>& value, const std::string& fileName) {
  if (fileName.empty()) return FALSE;
  const std::string path = ResolveName(fileName);
  const std::string wantedSection = TrimSpaces(section);
  std::string bytes;
  const bool existed = files_.ReadFileBytes(path, bytes);
  std::vector<Line> lines = existed ? SplitLines(bytes) : std::vector<Line>{};
  const std::string wantedKey = key ? TrimSpaces(*key) : std::string();
  Location where = Find(lines, wantedSection, key ? &wantedKey : nullptr);

  if (!key) {
    if (where.header >= 0) lines.erase(lines.begin() + where.header, lines.begin() + where.end);
  } else if (!value) {
    if (where.entry >= 0) lines.erase(lines.begin() + where.entry);
  } else if (where.entry >= 0) {
    std::string name, old;
    ParseEntry(lines[where.entry].text, name, old);
    lines[where.entry].text = name + "=" + *value;
  } else {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = "\r\n";
    Line entry{wantedKey + "=" + *value, "\r\n"};
    if (where.header < 0) {
      lines.push_back({"[" + wantedSection + "]", "\r\n"});
      lines.push_back(entry);
    } else {
      int after = where.lastEntry >= 0 ? where.lastEntry : where.header;
      if (lines[after].ending.empty()) lines[after].ending = "\r\n";
      lines.insert(lines.begin() + after + 1, entry);
    }
  }
  return files_.WriteFileBytes(path, JoinLines(lines)) ? TRUE : FALSE;
}

}  // namespace ombrix::sim
