#pragma once
// Processes service: starting programs and what the system needs to know about them.

#include <string>

#include "WinDefs.h"

namespace ombrix {

// The fields of STARTUPINFOA the system sets or reads.
struct StartupInfo {
  DWORD cb = 68;
  DWORD flags = 0;  // STARTF_USESHOWWINDOW is 1
  WORD showWindow = 0;
};

// PROCESS_INFORMATION.
struct ProcessInformation {
  HANDLE process = nullptr;
  HANDLE thread = nullptr;
  DWORD processId = 0;
  DWORD threadId = 0;
};

class IProcesses {
 public:
  virtual ~IProcesses() = default;

  // CreateProcessA with no application name, no security attributes, handles not
  // inherited, the caller's environment and current folder. FALSE on failure; the error code
  // is then GetLastError().
  virtual BOOL CreateProcessA(const std::string& commandLine, DWORD creationFlags, const StartupInfo& startup,
                              ProcessInformation& info) = 0;
  virtual StartupInfo GetStartupInfoA() = 0;
  virtual DWORD WaitForInputIdle(HANDLE process, DWORD milliseconds) = 0;
  virtual UINT WinExec(const std::string& commandLine, UINT showCommand) = 0;
  virtual DWORD GetLastError() = 0;
};

}  // namespace ombrix
