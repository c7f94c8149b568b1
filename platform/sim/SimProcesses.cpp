#include "platform/sim/SimProcesses.h"

#include <algorithm>

#include "base/AsciiCase.h"
#include "base/Exception.h"

namespace ombrix::sim {

namespace {

// The file-name part's extension, upper-cased and with its dot; empty without one.
std::string UpperExtension(const std::string& path) {
  const size_t nameStart = path.find_last_of("\\/:");
  const std::string name = nameStart == std::string::npos ? path : path.substr(nameStart + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? "" : AsciiUpperCase(name.substr(dot));
}

bool HasFolder(const std::string& path) { return path.find_first_of("\\/:") != std::string::npos; }

}  // namespace

SimProcesses::SimProcesses(SimFileSystem& files, SimClock& clock, SimWindowOps& windows)
    : files_(files), clock_(clock), windows_(windows) {
  windows_.SetCatchUp([this] { CatchUp(); });
  windows_.SetIsolation([this](DWORD processId) { return RunsAboveOwnRights(processId) != FALSE; });
  SetEnvironmentVariable("SystemRoot", std::string("C:\\Windows"));
  SetEnvironmentVariable("windir", std::string("C:\\Windows"));
}

void SimProcesses::SetEnvironmentVariable(const std::string& name, const std::optional<std::string>& value) {
  if (value) {
    environment_[AsciiUpperCase(name)] = *value;
  } else {
    environment_.erase(AsciiUpperCase(name));
  }
}

std::string SimProcesses::ExpandEnvironmentStringsA(const std::string& text) {
  std::string result;
  size_t at = 0;
  while (at < text.size()) {
    const size_t open = text.find('%', at);
    if (open == std::string::npos) break;
    const size_t close = text.find('%', open + 1);
    if (close == std::string::npos) break;
    result += text.substr(at, open - at);
    auto it = environment_.find(AsciiUpperCase(text.substr(open + 1, close - open - 1)));
    // An undefined name is copied with both its signs, and the search goes on after them.
    result += it != environment_.end() ? it->second : text.substr(open, close - open + 1);
    at = close + 1;
  }
  return result + text.substr(at);
}

void SimProcesses::SetWow64(bool wow64) {
  wow64_ = wow64;
  // A 32-bit process's ProgramFiles and CommonProgramFiles are the (x86) folders; the 64-bit
  // ones are still named, by ProgramW6432 and CommonProgramW6432.
  SetEnvironmentVariable("ProgramFiles", std::string(wow64 ? "C:\\Program Files (x86)" : "C:\\Program Files"));
  SetEnvironmentVariable("CommonProgramFiles", std::string(wow64 ? "C:\\Program Files (x86)\\Common Files"
                                                                 : "C:\\Program Files\\Common Files"));
  SetEnvironmentVariable("ProgramW6432", std::string("C:\\Program Files"));
  SetEnvironmentVariable("CommonProgramW6432", std::string("C:\\Program Files\\Common Files"));
}

SimProcesses::~SimProcesses() { windows_.SetCatchUp({}); }

void SimProcesses::DefineProgram(const std::string& path, const SimProgram& program) {
  DefineProgram(path, [program](const std::string&) { return program; });
}

void SimProcesses::DefineProgram(const std::string& path, std::function<SimProgram(const std::string&)> program) {
  const std::string full = files_.FullPath(path);
  const size_t slash = full.find_last_of('\\');
  if (slash > 2) files_.MakeDirectories(full.substr(0, slash));
  if (!files_.FileExists(full)) files_.WriteFileBytes(full, "MZ");
  programs_[files_.FileKey(full)] = std::move(program);
}

// The program a command line names, searched as CreateProcessA does without an application
// name: a leading quoted run is the name; otherwise the line is tried up to each blank in
// turn ("C:\Program Files\App\app.exe" tries C:\Program.exe first), ".exe" being added to
// a name without extension. A name without folder is looked for in the current folder and
// then in the system folders.
std::optional<std::string> SimProcesses::FindModule(const std::string& commandLine) const {
  std::vector<std::string> candidates;
  if (!commandLine.empty() && commandLine[0] == '"') {
    const size_t close = commandLine.find('"', 1);
    candidates.push_back(commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  } else {
    for (size_t i = 0; i < commandLine.size(); ++i) {
      if (commandLine[i] == ' ' || commandLine[i] == '\t') candidates.push_back(commandLine.substr(0, i));
    }
    candidates.push_back(commandLine);
  }
  for (std::string name : candidates) {
    // Windows drops trailing blanks from a path's last part.
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name.empty()) continue;
    if (UpperExtension(name).empty()) name += ".exe";
    std::vector<std::string> places{files_.FullPath(name)};
    if (!HasFolder(name)) {
      places.push_back(files_.WindowsDirectory() + "\\system32\\" + name);
      places.push_back(files_.WindowsDirectory() + "\\" + name);
    }
    for (const std::string& place : places) {
      if (files_.FileExists(place)) return files_.FullPath(place);
    }
  }
  return std::nullopt;
}

BOOL SimProcesses::Fail(DWORD error) {
  lastError_ = error;
  return FALSE;
}

DWORD SimProcesses::NextId() {
  const DWORD id = nextId_;
  nextId_ += 4;  // process and thread ids share one numbering, in steps of four
  return id;
}

BOOL SimProcesses::CreateProcessA(const std::string& commandLine, DWORD creationFlags, const StartupInfo& startup,
                                  ProcessInformation& info) {
  CatchUp();
  SimLaunch launch;
  launch.commandLine = commandLine;
  launch.creationFlags = creationFlags;
  launch.startup = startup;
  launch.currentFolder = files_.GetCurrentDirectoryA();
  launches_.push_back(launch);
  SimLaunch& record = launches_.back();

  // Windows reports a program that cannot be found as a missing file, whether or not its
  // folder exists: the module is searched for, not opened.
  const std::optional<std::string> module = FindModule(commandLine);
  if (!module) {
    record.error = ERROR_FILE_NOT_FOUND;
    return Fail(ERROR_FILE_NOT_FOUND);
  }

  SimProgram program;
  auto defined = programs_.find(files_.FileKey(*module));
  if (defined != programs_.end()) {
    program = defined->second(commandLine);
  } else {
    const std::string extension = UpperExtension(*module);
    if (extension == ".BAT" || extension == ".CMD") {
      program.console = true;
    } else if (extension != ".EXE" && extension != ".COM") {
      program.failWith = ERROR_BAD_EXE_FORMAT;
    }
  }
  if (program.requiresElevation && !elevated_) program.failWith = ERROR_ELEVATION_REQUIRED;
  if (program.failWith != 0) {
    record.error = program.failWith;
    return Fail(program.failWith);
  }

  SimProcess& process = Start(*module, commandLine, program, startup, 0);
  info.process = process.processHandle;
  info.thread = process.threadHandle;
  info.processId = process.processId;
  info.threadId = process.threadIds[0];
  record.succeeded = true;
  record.processId = process.processId;
  CatchUp();
  return TRUE;
}

BOOL SimProcesses::RunsAboveOwnRights(DWORD processId) {
  // Two levels are enough here: normal (medium) and administrator (high).
  auto it = processes_.find(processId);
  return it != processes_.end() && it->second.program.elevated && !elevated_;
}

std::string SimProcesses::SystemErrorText(DWORD code) {
  struct Text {
    DWORD code;
    const char* text;
  };
  // As FormatMessageA gives them on an English Windows, line end included.
  static constexpr Text texts[] = {
      {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
      {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
      {ERROR_BAD_EXE_FORMAT, "%1 is not a valid Win32 application.\r\n"},
      {ERROR_VIRUS_INFECTED,
       "Operation did not complete successfully because the file contains a virus or potentially unwanted "
       "software.\r\n"},
      {ERROR_ELEVATION_REQUIRED, "The requested operation requires elevation.\r\n"},
      {ERROR_CANCELLED, "The operation was canceled by the user.\r\n"},
      {ERROR_ACCESS_DISABLED_BY_POLICY,
       "This program is blocked by group policy. For more information, contact your system administrator.\r\n"},
      {ERROR_SYSTEM_INTEGRITY_POLICY_VIOLATION, "An Application Control policy has blocked this file.\r\n"},
  };
  for (const Text& text : texts) {
    if (text.code == code) return text.text;
  }
  return "";
}

DWORD SimProcesses::WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  SimProcess* process = Known(handle);
  if (!process) return WAIT_FAILED;
  if (process->exited) return WAIT_OBJECT_0;
  if (milliseconds == 0) return WAIT_TIMEOUT;
  const std::optional<unsigned long long> exitAfter = process->program.exitAfter;
  if (!exitAfter && milliseconds == INFINITE) throw EProgramError("waiting forever for a program that never ends");
  const unsigned long long now = clock_.Elapsed();
  const unsigned long long endsAt = exitAfter ? process->startedAt + *exitAfter : now + milliseconds;
  const unsigned long long until = milliseconds == INFINITE ? endsAt : std::min(endsAt, now + milliseconds);
  if (until > now) clock_.Advance(until - now);
  CatchUp();
  return process->exited ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

HANDLE SimProcesses::CreateMutexA(const std::string& name) {
  bool exists = false;
  for (const auto& mutex : mutexes_) exists = exists || mutex.second == name;
  const HANDLE handle = reinterpret_cast<HANDLE>(nextHandle_);
  nextHandle_ += 4;
  mutexes_.emplace_back(handle, name);
  lastError_ = exists ? ERROR_ALREADY_EXISTS : 0;
  return handle;
}

BOOL SimProcesses::CloseHandle(HANDLE handle) {
  // The mutex lives while any handle to it is open.
  for (auto mutex = mutexes_.begin(); mutex != mutexes_.end(); ++mutex) {
    if (mutex->first == handle) {
      mutexes_.erase(mutex);
      return TRUE;
    }
  }
  const auto open = std::find(shellHandles_.begin(), shellHandles_.end(), handle);
  if (open == shellHandles_.end()) {
    lastError_ = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  shellHandles_.erase(open);
  return TRUE;
}

HANDLE SimProcesses::StartForShell(const std::string& commandLine, int showCommand) {
  StartupInfo startup;
  startup.flags = STARTF_USESHOWWINDOW;
  startup.showWindow = static_cast<WORD>(showCommand);
  ProcessInformation info;
  if (!CreateProcessA(commandLine, 0, startup, info)) return nullptr;
  shellHandles_.push_back(info.process);
  return info.process;
}

UINT SimProcesses::WinExec(const std::string& commandLine, UINT showCommand) {
  StartupInfo startup;
  startup.flags = STARTF_USESHOWWINDOW;
  startup.showWindow = static_cast<WORD>(showCommand);
  ProcessInformation info;
  const BOOL started = CreateProcessA(commandLine, 0, startup, info);
  launches_.back().viaWinExec = true;
  if (!started) {
    // The old interface knows only the small error numbers.
    return lastError_ >= 32 ? static_cast<UINT>(ERROR_BAD_FORMAT) : static_cast<UINT>(lastError_);
  }
  // WinExec returns once the program waits for input, or after its time-out.
  WaitForInputIdle(info.process, 30000);
  return 33;
}

SimProcess& SimProcesses::Start(const std::string& module, const std::string& commandLine, const SimProgram& program,
                                const StartupInfo& startup, DWORD parentId) {
  const DWORD processId = NextId();
  SimProcess& process = processes_[processId];
  startOrder_.push_back(processId);
  process.processId = processId;
  process.parentId = parentId;
  process.module = module;
  process.commandLine = commandLine;
  process.startup = startup;
  process.program = program;
  process.startedAt = clock_.Elapsed();
  process.processHandle = reinterpret_cast<HANDLE>(nextHandle_);
  process.threadHandle = reinterpret_cast<HANDLE>(nextHandle_ + 4);
  nextHandle_ += 8;

  int threads = 1;
  for (const SimProgramWindow& window : program.windows) threads = std::max(threads, window.thread + 1);
  for (int i = 0; i < threads; ++i) process.threadIds.push_back(NextId());
  process.windows.assign(program.windows.size(), nullptr);
  process.imeWindows.assign(process.threadIds.size(), nullptr);

  const unsigned long long start = process.startedAt;
  for (size_t i = 0; i < program.windows.size(); ++i) {
    const SimProgramWindow& window = program.windows[i];
    Schedule(start + window.appearAfter, processId, EventKind::kShowWindow, i);
    if (window.renameAfter) Schedule(start + *window.renameAfter, processId, EventKind::kRenameWindow, i);
    if (window.closeAfter) Schedule(start + *window.closeAfter, processId, EventKind::kCloseWindow, i);
  }
  for (size_t i = 0; i < program.children.size(); ++i) {
    Schedule(start + program.children[i].startAfter, processId, EventKind::kStartChild, i);
  }
  if (program.exitAfter) Schedule(start + *program.exitAfter, processId, EventKind::kExit, 0);
  return process;
}

void SimProcesses::Schedule(unsigned long long due, DWORD processId, EventKind kind, size_t index) {
  events_.push_back(Event{due, nextSequence_++, processId, kind, index});
}

void SimProcesses::CatchUp() {
  if (catchingUp_) return;
  struct Guard {
    bool& flag;
    explicit Guard(bool& f) : flag(f) { flag = true; }
    ~Guard() { flag = false; }
  } guard(catchingUp_);
  for (;;) {
    auto next = events_.end();
    for (auto it = events_.begin(); it != events_.end(); ++it) {
      if (it->due > clock_.Elapsed()) continue;
      if (next == events_.end() || it->due < next->due || (it->due == next->due && it->sequence < next->sequence)) {
        next = it;
      }
    }
    if (next == events_.end()) return;
    const Event event = *next;
    events_.erase(next);
    Run(event);
  }
}

void SimProcesses::Run(const Event& event) {
  auto found = processes_.find(event.processId);
  if (found == processes_.end() || found->second.exited) return;
  SimProcess& process = found->second;
  switch (event.kind) {
    case EventKind::kShowWindow:
      OpenWindow(process, event.index);
      break;
    case EventKind::kRenameWindow: {
      SimProgramWindow& description = process.program.windows[event.index];
      const HWND window = process.windows[event.index];
      if (window && windows_.IsWindow(window)) {
        windows_.SetWindowTextA(window, description.renamedCaption);
      } else {
        description.caption = description.renamedCaption;
      }
      break;
    }
    case EventKind::kCloseWindow:
      if (HWND window = process.windows[event.index]) {
        if (windows_.IsWindow(window)) windows_.DestroyWindow(window);
        process.windows[event.index] = nullptr;
      }
      break;
    case EventKind::kStartChild: {
      const SimProgram child = process.program.children[event.index];
      Start(child.module.empty() ? process.module : files_.FullPath(child.module), "", child,
            process.program.passesStartupOn ? process.startup : StartupInfo{}, process.processId);
      break;
    }
    case EventKind::kExit:
      EndProcess(process);
      break;
  }
}

void SimProcesses::OpenWindow(SimProcess& process, size_t index) {
  const SimProgramWindow& description = process.program.windows[index];
  const size_t thread = static_cast<size_t>(description.thread);
  if (process.program.imeWindows && !process.imeWindows[thread]) {
    SimWindow ime;
    ime.caption = "Default IME";
    ime.className = "IME";
    ime.processId = process.processId;
    ime.threadId = process.threadIds[thread];
    ime.visible = false;
    ime.instance = 0;
    ime.style = WS_POPUP | WS_DISABLED | WS_CLIPSIBLINGS;
    ime.exStyle = 0;
    process.imeWindows[thread] = windows_.CreateTopWindow(ime);
  }
  SimWindow window;
  window.caption = description.caption;
  window.className = description.className;
  window.processId = process.processId;
  window.threadId = process.threadIds[thread];
  window.visible = description.visible;
  window.exStyle = description.exStyle;
  if (!description.sized) window.width = window.height = 0;
  window.cloaked = description.cloaked;
  if (description.refusesClose) {
    window.onMessage = [](UINT, WPARAM, LPARAM) -> LRESULT { return 0; };
  }
  HWND handle = windows_.CreateTopWindow(window);
  process.windows[index] = handle;
  // The show state a program is started with goes to the first window it shows.
  if (description.visible && !process.startShowApplied) {
    process.startShowApplied = true;
    if ((process.startup.flags & STARTF_USESHOWWINDOW) && !process.program.ignoresShowCommand) {
      windows_.ShowOwnWindow(handle, process.startup.showWindow);
    }
  }
}

void SimProcesses::EndProcess(SimProcess& process) {
  for (std::vector<HWND>* list : {&process.windows, &process.imeWindows}) {
    for (HWND& window : *list) {
      if (window && windows_.IsWindow(window)) windows_.DestroyWindow(window);
      window = nullptr;
    }
  }
  process.exited = true;
  const DWORD processId = process.processId;
  events_.erase(std::remove_if(events_.begin(), events_.end(),
                               [processId](const Event& event) { return event.processId == processId; }),
                events_.end());
}

SimProcess* SimProcesses::Known(HANDLE handle) {
  CatchUp();
  SimProcess* process = ByHandle(handle);
  if (!process) lastError_ = ERROR_INVALID_HANDLE;
  return process;
}

SimProcess* SimProcesses::ByHandle(HANDLE handle) {
  for (auto& entry : processes_) {
    if (entry.second.processHandle == handle) return &entry.second;
  }
  return nullptr;
}

DWORD SimProcesses::WaitForInputIdle(HANDLE handle, DWORD milliseconds) {
  SimProcess* process = Known(handle);
  if (!process) return WAIT_FAILED;
  if (process->exited) return 0;
  if (process->program.console) return WAIT_FAILED;
  const unsigned long long now = clock_.Elapsed();
  const unsigned long long idleAt = process->startedAt + process->program.idleAfter;
  if (!process->program.neverIdle && idleAt <= now) return 0;
  if (process->program.neverIdle || (milliseconds != INFINITE && idleAt - now > milliseconds)) {
    if (milliseconds == INFINITE) throw EProgramError("waiting forever for a program that never becomes idle");
    clock_.Advance(milliseconds);
    CatchUp();
    return WAIT_TIMEOUT;
  }
  clock_.Advance(idleAt - now);
  CatchUp();
  return 0;
}

std::vector<const SimProcess*> SimProcesses::Processes() {
  CatchUp();
  std::vector<const SimProcess*> all;
  for (DWORD processId : startOrder_) all.push_back(&processes_.at(processId));
  return all;
}

const SimProcess* SimProcesses::FindProcess(DWORD processId) {
  CatchUp();
  auto found = processes_.find(processId);
  return found == processes_.end() ? nullptr : &found->second;
}

HWND SimProcesses::WindowOf(DWORD processId, size_t index) {
  const SimProcess* process = FindProcess(processId);
  if (!process || index >= process->windows.size()) return nullptr;
  HWND window = process->windows[index];
  return window && windows_.IsWindow(window) ? window : nullptr;
}

std::vector<ProcessEntry> SimProcesses::CreateToolhelp32Snapshot() {
  CatchUp();
  // Only running processes are listed; a child keeps the id of its parent after the parent
  // has ended.
  std::vector<ProcessEntry> entries;
  for (DWORD processId : startOrder_) {
    const SimProcess& process = processes_.at(processId);
    if (!process.exited) entries.push_back({process.processId, process.parentId});
  }
  return entries;
}

std::string SimProcesses::QueryFullProcessImageNameA(DWORD processId) {
  CatchUp();
  auto found = processes_.find(processId);
  // An ended process is not read: its program file is asked for while it runs.
  if (found == processes_.end() || found->second.exited) {
    lastError_ = static_cast<DWORD>(ERROR_INVALID_PARAMETER);
    return "";
  }
  return found->second.module;
}

namespace {
// FILETIME counts 100 ns from 1601; the simulated clock's milliseconds count from its start.
constexpr std::uint64_t CreationTimeOfClockStart = 0x01DB000000000000ull;
constexpr std::uint64_t FileTimeTicksPerMillisecond = 10000;
}  // namespace

LONG SimProcesses::GetProcessCreationTime(DWORD processId, std::uint64_t& creationTime) {
  CatchUp();
  if (processId == ownProcessId_ && processes_.count(processId) == 0) {
    creationTime = CreationTimeOfClockStart;
    return ERROR_SUCCESS;
  }
  const auto found = processes_.find(processId);
  // OpenProcess refuses an id no process has; an ended process whose handle is still open
  // can be opened, but its exit code tells it has ended.
  if (found == processes_.end() || found->second.exited) return ERROR_INVALID_PARAMETER;
  creationTime = CreationTimeOfClockStart + found->second.startedAt * FileTimeTicksPerMillisecond;
  return ERROR_SUCCESS;
}

DWORD SimProcesses::StartOwnProcess(const std::string& module) {
  SimProgram program;
  program.imeWindows = false;
  ownProcessId_ = Start(module, "\"" + module + "\"", program, ownStartup_, 0).processId;
  return ownProcessId_;
}

void SimProcesses::ReuseProcessId(DWORD processId) {
  CatchUp();
  const auto found = processes_.find(processId);
  if (found == processes_.end()) return;
  found->second.startedAt = clock_.Elapsed();
  found->second.exited = false;
}

void SimProcesses::Terminate(DWORD processId) {
  CatchUp();
  auto found = processes_.find(processId);
  if (found != processes_.end() && !found->second.exited) EndProcess(found->second);
}

}  // namespace ombrix::sim
