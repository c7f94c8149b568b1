#include "platform/win32/Win32Processes.h"

#include <vector>

namespace ombrix::win32 {

static_assert(sizeof(STARTUPINFOA) == StartupInfoSize, "cb gives the size of this build's STARTUPINFOA");

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

std::string Win32Processes::ExpandEnvironmentStringsA(const std::string& text) {
  // The first call asks for the size; the environment may grow in between, so the second
  // one is checked too. A text that cannot be expanded is used as it is.
  const DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (needed == 0) return text;
  std::vector<char> buffer(needed + 1, '\0');
  const DWORD written = ::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (written == 0 || written > buffer.size()) return text;
  return std::string(buffer.data());
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

DWORD Win32Processes::WaitForSingleObject(HANDLE process, DWORD milliseconds) {
  return ::WaitForSingleObject(process, milliseconds);
}

BOOL Win32Processes::CloseHandle(HANDLE process) { return ::CloseHandle(process); }

UINT Win32Processes::WinExec(const std::string& commandLine, UINT showCommand) {
  return ::WinExec(commandLine.c_str(), showCommand);
}

HANDLE Win32Processes::CreateMutexA(const std::string& name) { return ::CreateMutexA(nullptr, FALSE, name.c_str()); }

BOOL Win32Processes::IsWow64Process() {
  BOOL wow64 = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

DWORD Win32Processes::GetLastError() { return ::GetLastError(); }

}  // namespace ombrix::win32
