#include "platform/win32/Win32Processes.h"

#include <vector>

namespace ombrix::win32 {

BOOL Win32Processes::CreateProcessA(const std::string& commandLine, DWORD creationFlags, const StartupInfo& startup,
                                    ProcessInformation& info) {
  STARTUPINFOA startupInfo{};
  startupInfo.cb = startup.cb;
  startupInfo.dwFlags = startup.flags;
  startupInfo.wShowWindow = startup.showWindow;
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  PROCESS_INFORMATION created{};
  const BOOL result = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, creationFlags, nullptr, nullptr,
                                       &startupInfo, &created);
  if (result) {
    info.process = created.hProcess;
    info.thread = created.hThread;
    info.processId = created.dwProcessId;
    info.threadId = created.dwThreadId;
  }
  return result;
}

StartupInfo Win32Processes::GetStartupInfoA() {
  STARTUPINFOA own{};
  ::GetStartupInfoA(&own);
  StartupInfo startup;
  startup.cb = own.cb;
  startup.flags = own.dwFlags;
  startup.showWindow = own.wShowWindow;
  return startup;
}

DWORD Win32Processes::WaitForInputIdle(HANDLE process, DWORD milliseconds) {
  return ::WaitForInputIdle(process, milliseconds);
}

UINT Win32Processes::WinExec(const std::string& commandLine, UINT showCommand) {
  return ::WinExec(commandLine.c_str(), showCommand);
}

DWORD Win32Processes::GetLastError() { return ::GetLastError(); }

}  // namespace ombrix::win32
