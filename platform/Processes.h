#pragma once
// Processes service: starting programs and what the system needs to know about them.

#include <cstdint>
#include <string>
#include <vector>

#include "WinDefs.h"

namespace ombrix {

// The size of STARTUPINFOA, which cb must give: its pointers and handles make it 68 bytes
// in a 32-bit program and 104 in an x64 one.
constexpr DWORD StartupInfoSize = sizeof(void*) == 8 ? 104 : 68;

// The fields of STARTUPINFOA the system sets or reads; every other field is zero when a
// program is started.
struct StartupInfo {
  DWORD cb = StartupInfoSize;
  DWORD flags = 0;  // STARTF_USESHOWWINDOW makes showWindow count
  WORD showWindow = 0;
};

// PROCESS_INFORMATION.
struct ProcessInformation {
  HANDLE process = nullptr;
  HANDLE thread = nullptr;
  DWORD processId = 0;
  DWORD threadId = 0;
};

// One process of a snapshot: PROCESSENTRY32's th32ProcessID and th32ParentProcessID.
struct ProcessEntry {
  DWORD processId = 0;
  DWORD parentProcessId = 0;
};

class IProcesses {
 public:
  virtual ~IProcesses() = default;

  // CreateProcessA with no application name, no security attributes, handles not
  // inherited, the caller's environment and current folder. The program is the first
  // blank-separated token of the command line (or the quoted run it starts with), searched
  // the way Windows does. FALSE on failure; the error code is then GetLastError().
  virtual BOOL CreateProcessA(const std::string& commandLine, DWORD creationFlags, const StartupInfo& startup,
                              ProcessInformation& info) = 0;
  // GetStartupInfoA: how this process itself was started.
  virtual StartupInfo GetStartupInfoA() = 0;
  // WaitForInputIdle: 0 once the program waits for input, WAIT_TIMEOUT, or WAIT_FAILED
  // (for instance for a console program, which has no message queue).
  virtual DWORD WaitForInputIdle(HANDLE process, DWORD milliseconds) = 0;
  // WinExec: above 31 when started, otherwise 0, ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND
  // or ERROR_BAD_FORMAT.
  virtual UINT WinExec(const std::string& commandLine, UINT showCommand) = 0;
  // ExpandEnvironmentStringsA over this process's environment: each %NAME% of a defined
  // variable (letter case ignored) becomes its value; a reference to an undefined variable,
  // and a % without a closing one, stay as they are.
  virtual std::string ExpandEnvironmentStringsA(const std::string& text) = 0;
  // WaitForSingleObject on a process handle: WAIT_OBJECT_0 once the process has ended,
  // WAIT_TIMEOUT while it runs after `milliseconds`, WAIT_FAILED for a handle that is none.
  virtual DWORD WaitForSingleObject(HANDLE process, DWORD milliseconds) = 0;
  // CloseHandle of a process handle this program was given or of a mutex it made; FALSE for
  // one that is not open.
  virtual BOOL CloseHandle(HANDLE process) = 0;
  // CreateMutexA, not owned, of a named mutex: its handle (closed with CloseHandle), or
  // nullptr on failure. GetLastError() is ERROR_ALREADY_EXISTS when a mutex of that name was
  // already open in some process, 0 when this call made it. A "Local\\" name is the
  // session's own.
  virtual HANDLE CreateMutexA(const std::string& name) = 0;
  // IsWow64Process of this process: TRUE for a 32-bit program on 64-bit Windows, which sees
  // System32 and the program folders through WOW64's 32-bit view.
  virtual BOOL IsWow64Process() = 0;
  // CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS) walked with Process32First/Process32Next:
  // every running process and the id of the process that started it. A parent id may name a
  // process that has ended, whose id Windows may since have given to another process.
  virtual std::vector<ProcessEntry> CreateToolhelp32Snapshot() = 0;
  // QueryFullProcessImageNameA of the process opened with PROCESS_QUERY_LIMITED_INFORMATION:
  // the full path of its program file (also of a 64-bit process read from a 32-bit one);
  // empty when the process cannot be opened or read.
  virtual std::string QueryFullProcessImageNameA(DWORD processId) = 0;
  // The system's own description of an error code (FormatMessageA from the system, in the
  // user's language), its inserts ("%1") left as they are; empty when the system has none.
  virtual std::string SystemErrorText(DWORD code) = 0;
  // Whether this process runs with administrator rights granted (an elevated token).
  virtual BOOL IsElevated() = 0;
  // Whether the process runs at a higher integrity level than this one (an elevated program
  // seen from one at normal rights), or will not say (access denied asking for it): Windows
  // then lets this process neither show nor hide its windows.
  virtual BOOL RunsAboveOwnRights(DWORD processId) = 0;
  // Whether this process runs as another account than the one signed in to the desktop (the
  // shell's): a standard user who gave an administrator's password for elevation. FALSE when
  // it cannot tell.
  virtual BOOL RunsAsAnotherAccount() = 0;
  // GetCurrentProcessId.
  virtual DWORD GetCurrentProcessId() = 0;
  // OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION), GetProcessTimes, GetExitCodeProcess and
  // CloseHandle: the creation time (FILETIME's count of 100 ns) of process `processId`,
  // which with the id names one process for good, as ids are given again once free.
  // ERROR_SUCCESS; ERROR_INVALID_PARAMETER when no process with that id runs (an ended one
  // whose handles are still open included); another code, ERROR_ACCESS_DENIED for
  // instance, when it runs but cannot be asked.
  virtual LONG GetProcessCreationTime(DWORD processId, std::uint64_t& creationTime) = 0;
  // The error code of the last failed call of this service.
  virtual DWORD GetLastError() = 0;
};

}  // namespace ombrix
