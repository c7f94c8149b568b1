#pragma once
// Simulated programs: a test describes what a program does once started (its windows and
// when they appear, its threads, the programs it starts in turn, whether it fails to start
// or never becomes idle), and every start is recorded for assertions.
//
// Everything a program does happens on the virtual clock: a window due 500 ms after the
// start exists as soon as the clock has reached that time (after Sleep, RunFor,
// WaitForInputIdle, ...) and anyone looks at the desktop. Times count from the clock's
// Elapsed(), which SimClock::SetNow restarts: set the date before starting programs.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Processes.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimWindowOps.h"

namespace ombrix::sim {

// One top-level window a simulated program opens. Times are milliseconds after the start.
struct SimProgramWindow {
  std::string caption;
  std::string className = "SimWindow";
  unsigned long long appearAfter = 0;
  // 0 is the main thread (the one CreateProcessA reports); 1, 2, ... are further threads.
  int thread = 0;
  bool visible = true;
  LONG exStyle = WS_EX_WINDOWEDGE;  // WS_EX_TOOLWINDOW for a palette
  bool sized = true;                // false: no size, as a helper window made never to be seen
  DWORD cloaked = 0;                // DWMWA_CLOAKED
  bool refusesClose = false;        // WM_CLOSE leaves it open
  std::optional<unsigned long long> renameAfter;
  std::string renamedCaption;
  std::optional<unsigned long long> closeAfter;
};

struct SimProgram {
  std::vector<SimProgramWindow> windows;
  // Programs this one starts; each begins `startAfter` ms after this one, from the program
  // file `module` (a full path; empty: the same file as the one starting it).
  std::vector<SimProgram> children;
  // It starts them with its own start-up information (GetStartupInfo passed on to
  // CreateProcess, as launchers do), show command included; otherwise with none.
  bool passesStartupOn = false;
  unsigned long long startAfter = 0;
  std::string module;
  // CreateProcessA fails with this error code (for instance ERROR_BAD_EXE_FORMAT).
  DWORD failWith = 0;
  // The program's manifest asks for administrator rights: as on Windows with UAC,
  // CreateProcessA fails with ERROR_ELEVATION_REQUIRED unless the caller is elevated.
  bool requiresElevation = false;
  // The process runs with administrator rights (started elevated by other means, or by the
  // system): a program at normal rights may not change its windows.
  bool elevated = false;
  // WaitForInputIdle: idle this long after the start, never, or not at all (a console
  // program has no message queue).
  unsigned long long idleAfter = 0;
  bool neverIdle = false;
  bool console = false;
  // As on Windows, every thread that makes a window gets a hidden top-level window named
  // "Default IME" (class "IME") just before its first one.
  bool imeWindows = true;
  // The program shows its first window as it likes, whatever show command it was started
  // with (as some do: they restore the placement they saved).
  bool ignoresShowCommand = false;
  // The process ends (and its windows go) at this time.
  std::optional<unsigned long long> exitAfter;
};

// One CreateProcessA (or WinExec) call as it was made.
struct SimLaunch {
  std::string commandLine;
  DWORD creationFlags = 0;
  StartupInfo startup;
  std::string currentFolder;
  bool viaWinExec = false;
  bool succeeded = false;
  DWORD error = 0;
  DWORD processId = 0;
};

struct SimProcess {
  DWORD processId = 0;
  DWORD parentId = 0;  // 0 when started by the program under test
  std::string module;  // full path of the program file
  std::string commandLine;
  StartupInfo startup;
  HANDLE processHandle = nullptr;
  HANDLE threadHandle = nullptr;
  std::vector<DWORD> threadIds;  // [0] is the main thread
  unsigned long long startedAt = 0;
  SimProgram program;
  std::vector<HWND> windows;     // per program window; nullptr until it appears or after it went
  std::vector<HWND> imeWindows;  // per thread; nullptr until the thread makes its first window
  bool startShowApplied = false;
  bool exited = false;
};

class SimProcesses : public IProcesses {
 public:
  SimProcesses(SimFileSystem& files, SimClock& clock, SimWindowOps& windows);
  ~SimProcesses() override;
  SimProcesses(const SimProcesses&) = delete;
  SimProcesses& operator=(const SimProcesses&) = delete;

  BOOL CreateProcessA(const std::string& commandLine, DWORD creationFlags, const StartupInfo& startup,
                      ProcessInformation& info) override;
  StartupInfo GetStartupInfoA() override { return ownStartup_; }
  DWORD WaitForInputIdle(HANDLE process, DWORD milliseconds) override;
  UINT WinExec(const std::string& commandLine, UINT showCommand) override;
  std::string ExpandEnvironmentStringsA(const std::string& text) override;
  // A process ends on the virtual clock: waiting advances it by the time given, or to the
  // end when that comes sooner.
  DWORD WaitForSingleObject(HANDLE process, DWORD milliseconds) override;
  BOOL CloseHandle(HANDLE process) override;
  // Names are compared as written: Windows' object names are case-sensitive. Every Ombrix of
  // a test shares this one session.
  HANDLE CreateMutexA(const std::string& name) override;
  BOOL IsWow64Process() override { return wow64_; }
  std::vector<ProcessEntry> CreateToolhelp32Snapshot() override;
  std::string QueryFullProcessImageNameA(DWORD processId) override;
  // The English texts of the codes the tests meet; empty for others, as for a code the
  // system does not know.
  std::string SystemErrorText(DWORD code) override;
  BOOL IsElevated() override { return elevated_; }
  BOOL RunsAboveOwnRights(DWORD processId) override;
  BOOL RunsAsAnotherAccount() override { return anotherAccount_; }
  DWORD GetLastError() override { return lastError_; }
  DWORD GetCurrentProcessId() override { return ownProcessId_; }
  LONG GetProcessCreationTime(DWORD processId, std::uint64_t& creationTime) override;

  // Test controls.
  // Defines (or, with nullopt, removes) a variable of the environment. The environment
  // starts with SystemRoot and windir, both C:\Windows.
  void SetEnvironmentVariable(const std::string& name, const std::optional<std::string>& value);
  // The program file at `path` (created in the simulated file system) behaves as described.
  // An existing .exe or .com file that was never described starts and opens no window.
  void DefineProgram(const std::string& path, const SimProgram& program);
  // The behaviour depends on the command line the program is started with.
  void DefineProgram(const std::string& path, std::function<SimProgram(const std::string& commandLine)> program);
  void SetOwnStartupInfo(const StartupInfo& startup) { ownStartup_ = startup; }
  // The program runs as a 32-bit one on 64-bit Windows: IsWow64Process says so, and its
  // environment names the program folders as WOW64 gives them.
  void SetWow64(bool wow64);
  // The program runs with administrator rights granted.
  void SetElevated(bool elevated) { elevated_ = elevated; }
  // Elevated with another account's password than the desktop user's.
  void SetAnotherAccount(bool another) { anotherAccount_ = another; }

  const std::vector<SimLaunch>& Launches() const { return launches_; }
  // Every process started so far, in order, children included.
  std::vector<const SimProcess*> Processes();
  const SimProcess* FindProcess(DWORD processId);
  // The window of the program's window description `index`, or nullptr.
  HWND WindowOf(DWORD processId, size_t index);
  // Process handles given out by the shell's execution and not closed yet.
  int OpenShellHandles() const { return static_cast<int>(shellHandles_.size()); }
  // A start on the shell's behalf (ShellExecuteEx): as CreateProcessA, the handle counted as
  // open until closed.
  HANDLE StartForShell(const std::string& commandLine, int showCommand);
  // Ends a process at once, as TerminateProcess would.
  void Terminate(DWORD processId);
  // The program under test becomes a new process of `module` (started now, without
  // windows): a later start of it, or of the other program. Its id until then names a
  // process that runs for good, created at the start of the clock.
  DWORD StartOwnProcess(const std::string& module);
  // Windows gives the id of a process that ended to a new one: the process counts as
  // started now, and its windows stand for the new process's, made with the same handles.
  void ReuseProcessId(DWORD processId);

  // Brings about everything due by the virtual clock's time.
  void CatchUp();

 private:
  enum class EventKind { kShowWindow, kRenameWindow, kCloseWindow, kStartChild, kExit };
  struct Event {
    unsigned long long due;
    unsigned long long sequence;
    DWORD processId;
    EventKind kind;
    size_t index;
  };
  using ProgramFactory = std::function<SimProgram(const std::string& commandLine)>;

  std::optional<std::string> FindModule(const std::string& commandLine) const;
  SimProcess& Start(const std::string& module, const std::string& commandLine, const SimProgram& program,
                    const StartupInfo& startup, DWORD parentId);
  void Schedule(unsigned long long due, DWORD processId, EventKind kind, size_t index);
  void Run(const Event& event);
  void OpenWindow(SimProcess& process, size_t index);
  void EndProcess(SimProcess& process);
  SimProcess* ByHandle(HANDLE process);
  // The process of a handle, everything due brought about first; nullptr (and the error
  // ERROR_INVALID_HANDLE) for a handle that is none.
  SimProcess* Known(HANDLE process);
  DWORD NextId();
  BOOL Fail(DWORD error);

  SimFileSystem& files_;
  SimClock& clock_;
  SimWindowOps& windows_;
  std::map<std::string, ProgramFactory> programs_;  // by upper-cased full path
  std::map<std::string, std::string> environment_;  // by upper-cased name
  std::map<DWORD, SimProcess> processes_;
  std::vector<DWORD> startOrder_;
  std::vector<Event> events_;
  std::vector<SimLaunch> launches_;
  std::vector<HANDLE> shellHandles_;
  std::vector<std::pair<HANDLE, std::string>> mutexes_;  // open handles and their names
  StartupInfo ownStartup_;
  DWORD lastError_ = 0;
  DWORD ownProcessId_ = 0x3F0;
  DWORD nextId_ = 0x400;
  ULONG_PTR nextHandle_ = 0x100;
  unsigned long long nextSequence_ = 0;
  bool catchingUp_ = false;
  bool wow64_ = false;
  bool elevated_ = false;
  bool anotherAccount_ = false;
};

}  // namespace ombrix::sim
