#pragma once
// Processes over the real API.

#include "platform/Processes.h"

namespace ombrix::win32 {

class Win32Processes : public IProcesses {
 public:
  BOOL CreateProcessA(const std::string& commandLine, DWORD creationFlags, const StartupInfo& startup,
                      ProcessInformation& info) override;
  StartupInfo GetStartupInfoA() override;
  DWORD WaitForInputIdle(HANDLE process, DWORD milliseconds) override;
  UINT WinExec(const std::string& commandLine, UINT showCommand) override;
  std::string ExpandEnvironmentStringsA(const std::string& text) override;
  DWORD WaitForSingleObject(HANDLE process, DWORD milliseconds) override;
  BOOL CloseHandle(HANDLE process) override;
  HANDLE CreateMutexA(const std::string& name) override;
  BOOL IsWow64Process() override;
  std::vector<ProcessEntry> CreateToolhelp32Snapshot() override;
  std::string QueryFullProcessImageNameA(DWORD processId) override;
  std::string SystemErrorText(DWORD code) override;
  BOOL IsElevated() override;
  BOOL RunsAboveOwnRights(DWORD processId) override;
  BOOL RunsAsAnotherAccount() override;
  DWORD GetCurrentProcessId() override;
  LONG GetProcessCreationTime(DWORD processId, std::uint64_t& creationTime) override;
  DWORD GetLastError() override;
};

}  // namespace ombrix::win32
