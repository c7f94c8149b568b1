#include "config/HiddenRecord.h"

#include <algorithm>

#include "settings/AppSettings.h"

namespace ombrix {

namespace {

constexpr char WindowValuePrefix[] = "Window";
std::string HiddenWindowsKey() { return std::string(SettingsKey) + "\\" + HiddenWindowsSubKey; }
constexpr DWORD NameCapacity = 256;

std::string NumberText(std::uint64_t number) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + number % 10));
    number /= 10;
  } while (number != 0);
  return digits;
}

// Reads the decimal number at `at` up to `end` (or the end of the text); false for anything
// else, an overflow included.
bool ReadNumber(const std::string& text, size_t& at, char end, std::uint64_t& number) {
  number = 0;
  const size_t start = at;
  while (at < text.size() && text[at] != end) {
    const char c = text[at];
    if (c < '0' || c > '9' || number > (UINT64_MAX - 9) / 10) return false;
    number = number * 10 + static_cast<std::uint64_t>(c - '0');
    ++at;
  }
  if (at == start) return false;
  if (at < text.size()) ++at;  // the separator
  return true;
}

// A running Ombrix's subkey: "<process id>.<creation time>".
std::string OmbrixName(DWORD processId, std::uint64_t created) {
  return NumberText(processId) + "." + NumberText(created);
}

bool ReadOmbrixName(const std::string& name, std::uint64_t& processId, std::uint64_t& created) {
  size_t at = 0;
  return ReadNumber(name, at, '.', processId) && at < name.size() && ReadNumber(name, at, '\0', created) &&
         processId <= 0xFFFFFFFFu;
}

// One hidden window: "<handle> <process id> <creation time> <file>".
struct RecordedWindow {
  HWND window = nullptr;
  DWORD processId = 0;
  std::uint64_t created = 0;
  std::string file;
};

std::string WindowText(const RecordedWindow& recorded) {
  return NumberText(reinterpret_cast<ULONG_PTR>(recorded.window)) + " " + NumberText(recorded.processId) + " " +
         NumberText(recorded.created) + " " + recorded.file;
}

bool ReadWindow(const std::string& text, RecordedWindow& recorded) {
  size_t at = 0;
  std::uint64_t handle = 0, processId = 0;
  if (!ReadNumber(text, at, ' ', handle) || !ReadNumber(text, at, ' ', processId) ||
      !ReadNumber(text, at, ' ', recorded.created) || at >= text.size() || handle == 0 || handle > UINTPTR_MAX ||
      processId > 0xFFFFFFFFu) {
    return false;
  }
  recorded.window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle));
  recorded.processId = static_cast<DWORD>(processId);
  recorded.file = text.substr(at);
  return true;
}

// The process that `processId` and `created` name still runs. A process that runs but
// cannot be asked may be that one: its record is left alone.
bool StillRuns(IProcesses& processes, DWORD processId, std::uint64_t created) {
  std::uint64_t actual = 0;
  const LONG result = processes.GetProcessCreationTime(processId, actual);
  if (result == ERROR_INVALID_PARAMETER) return false;
  return result != ERROR_SUCCESS || actual == created;
}

bool ReadString(IRegistry& registry, HKEY key, const std::string& name, std::string& text) {
  DWORD type = 0, size = 0;
  if (registry.RegQueryValueExA(key, name, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) return false;
  std::vector<BYTE> data(size + 1, 0);
  if (registry.RegQueryValueExA(key, name, &type, &data, &size) != ERROR_SUCCESS) return false;
  text.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(size, data.size())));
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return true;
}

void AddOnce(std::vector<std::string>& list, const std::string& file) {
  if (std::find(list.begin(), list.end(), file) == list.end()) list.push_back(file);
}

enum class Outcome { kShown, kNothingToDo, kRefused };

Outcome ShowAgain(Platform& platform, const RecordedWindow& recorded) {
  IWindowOps& windows = platform.Windows();
  if (!windows.IsWindow(recorded.window)) return Outcome::kNothingToDo;
  // A handle or a process id given again since belongs to another program: left alone.
  DWORD processId = 0;
  windows.GetWindowThreadProcessId(recorded.window, &processId);
  if (processId != recorded.processId) return Outcome::kNothingToDo;
  std::uint64_t created = 0;
  const LONG result = platform.Processes().GetProcessCreationTime(processId, created);
  if (result == ERROR_INVALID_PARAMETER || (result == ERROR_SUCCESS && created != recorded.created)) {
    return Outcome::kNothingToDo;
  }
  if (result != ERROR_SUCCESS) return Outcome::kRefused;
  if ((windows.GetWindowLongPtrA(recorded.window, GWL_STYLE) & WS_VISIBLE) != 0) return Outcome::kNothingToDo;
  // A hung program would hold a ShowWindow, and this start with it.
  return windows.ShowWindowAsync(recorded.window, ShowCommandToBringBack(windows, recorded.window)) ? Outcome::kShown
                                                                                                    : Outcome::kRefused;
}

// Shows the windows of one dead Ombrix's record; true when nothing of it needs keeping.
bool ShowRecord(Platform& platform, HKEY record, TLeftHidden& found) {
  IRegistry& registry = platform.Registry();
  std::vector<std::string> names;
  std::string name;
  for (DWORD index = 0; registry.RegEnumValueA(record, index, NameCapacity, name) == ERROR_SUCCESS; ++index) {
    names.push_back(name);
  }
  bool keep = false;
  for (const std::string& value : names) {
    std::string text;
    RecordedWindow recorded;
    const Outcome outcome = ReadString(registry, record, value, text) && ReadWindow(text, recorded)
                                ? ShowAgain(platform, recorded)
                                : Outcome::kNothingToDo;
    if (outcome == Outcome::kRefused) {
      AddOnce(found.refused, recorded.file);
      keep = true;
      continue;
    }
    if (outcome == Outcome::kShown) AddOnce(found.shown, recorded.file);
    registry.RegDeleteValueA(record, value);
  }
  return !keep;
}

std::string Lines(const std::vector<std::string>& files) {
  std::string lines;
  for (const std::string& file : files) lines += "\r\n" + file;
  return lines;
}

}  // namespace

int ShowCommandToBringBack(IWindowOps& windows, HWND window) {
  // A hidden window keeps its placement: restoring every window would bring a maximized
  // one back at its normal size.
  WindowPlacementInfo placement;
  const bool minimized =
      windows.GetWindowPlacement(window, placement) && placement.showCmd == static_cast<UINT>(SW_SHOWMINIMIZED);
  return minimized ? SW_RESTORE : SW_SHOW;
}

THiddenRecord::THiddenRecord(Platform& platform) : platform_(platform) {
  IProcesses& processes = platform.Processes();
  const DWORD own = processes.GetCurrentProcessId();
  std::uint64_t created = 0;
  processes.GetProcessCreationTime(own, created);
  name_ = OmbrixName(own, created);
}

void THiddenRecord::Write(const std::vector<HWND>& windows, const std::string& file) {
  if (windows == written_) return;
  if (windows.empty()) {
    Remove();
    return;
  }
  IRegistry& registry = platform_.Registry();
  // The settings key is made lasting first: made by the volatile key's creation, it would
  // go at log-off, with the settings in it.
  HKEY settings = nullptr;
  if (registry.RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKey, KEY_CREATE_SUB_KEY, settings, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  HKEY record = nullptr;
  const LONG created = registry.RegCreateKeyExA(settings, std::string(HiddenWindowsSubKey) + "\\" + name_,
                                                KEY_ALL_ACCESS, record, nullptr, REG_OPTION_VOLATILE);
  registry.RegCloseKey(settings);
  if (created != ERROR_SUCCESS) return;
  IProcesses& processes = platform_.Processes();
  for (size_t index = 0; index < std::max(windows.size(), written_.size()); ++index) {
    const std::string name = WindowValuePrefix + NumberText(index + 1);
    if (index >= windows.size()) {
      registry.RegDeleteValueA(record, name);
      continue;
    }
    RecordedWindow recorded;
    recorded.window = windows[index];
    platform_.Windows().GetWindowThreadProcessId(recorded.window, &recorded.processId);
    processes.GetProcessCreationTime(recorded.processId, recorded.created);
    recorded.file = file;
    const std::string text = WindowText(recorded);
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    registry.RegSetValueExA(record, name, REG_SZ, data);
  }
  registry.RegCloseKey(record);
  written_ = windows;
}

void THiddenRecord::Remove() {
  written_.clear();
  IRegistry& registry = platform_.Registry();
  HKEY hidden = nullptr;
  if (registry.RegOpenKeyExA(HKEY_CURRENT_USER, HiddenWindowsKey(), KEY_ALL_ACCESS, hidden) != ERROR_SUCCESS) return;
  registry.RegDeleteKeyA(hidden, name_);
  registry.RegCloseKey(hidden);
  // The last Ombrix to end takes the key along; one with others below it stays.
  registry.RegDeleteKeyA(HKEY_CURRENT_USER, HiddenWindowsKey());
}

TLeftHidden ShowWindowsLeftHidden(Platform& platform) {
  TLeftHidden found;
  IRegistry& registry = platform.Registry();
  HKEY hidden = nullptr;
  if (registry.RegOpenKeyExA(HKEY_CURRENT_USER, HiddenWindowsKey(), KEY_ALL_ACCESS, hidden) != ERROR_SUCCESS) {
    return found;
  }
  std::vector<std::string> names;
  std::string name;
  for (DWORD index = 0; registry.RegEnumKeyExA(hidden, index, NameCapacity, name) == ERROR_SUCCESS; ++index) {
    names.push_back(name);
  }
  for (const std::string& ombrix : names) {
    std::uint64_t processId = 0, created = 0;
    const bool readable = ReadOmbrixName(ombrix, processId, created);
    if (readable && StillRuns(platform.Processes(), static_cast<DWORD>(processId), created)) continue;
    HKEY record = nullptr;
    bool done = true;
    if (readable && registry.RegOpenKeyExA(hidden, ombrix, KEY_ALL_ACCESS, record) == ERROR_SUCCESS) {
      done = ShowRecord(platform, record, found);
      registry.RegCloseKey(record);
    }
    if (done) registry.RegDeleteKeyA(hidden, ombrix);
  }
  registry.RegCloseKey(hidden);
  registry.RegDeleteKeyA(HKEY_CURRENT_USER, HiddenWindowsKey());
  return found;
}

std::string LeftHiddenText(const TLeftHidden& found) {
  std::string text;
  if (!found.shown.empty()) {
    text =
        "Ombrix ended without showing again the programs it had hidden.\r\nThey are shown again:" + Lines(found.shown);
  }
  if (!found.refused.empty()) {
    text += std::string(text.empty() ? "" : "\r\n\r\n") +
            "An Ombrix that ran as administrator left these programs hidden.\r\n"
            "Start OmbrixHub as administrator to bring them back:" +
            Lines(found.refused);
  }
  return text;
}

}  // namespace ombrix
