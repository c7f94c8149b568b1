#include "platform/win32/Win32Processes.h"

#include <vector>

// After windows.h.
#include <tlhelp32.h>

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

std::vector<ProcessEntry> Win32Processes::CreateToolhelp32Snapshot() {
  std::vector<ProcessEntry> entries;
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return entries;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
    entries.push_back({entry.th32ProcessID, entry.th32ParentProcessID});
  }
  ::CloseHandle(snapshot);
  return entries;
}

std::string Win32Processes::QueryFullProcessImageNameA(DWORD processId) {
  const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return "";
  char path[MAX_PATH * 4] = {};
  DWORD length = sizeof path;
  const BOOL read = ::QueryFullProcessImageNameA(process, 0, path, &length);
  ::CloseHandle(process);
  return read ? std::string(path, length) : "";
}

std::string Win32Processes::SystemErrorText(DWORD code) {
  char text[1024];
  const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, sizeof text, nullptr);
  return std::string(text, length);
}

BOOL Win32Processes::IsElevated() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return FALSE;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  const BOOL known = ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
  ::CloseHandle(token);
  return known && elevation.TokenIsElevated;
}

namespace {

// The integrity level (the last part of the token's mandatory label), 0 when unknown.
DWORD IntegrityLevel(HANDLE token) {
  DWORD size = 0;
  ::GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
  if (size == 0) return 0;
  std::vector<BYTE> buffer(size);
  if (!::GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) return 0;
  const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
  const UCHAR parts = *::GetSidSubAuthorityCount(sid);
  return parts ? *::GetSidSubAuthority(sid, parts - 1) : 0;
}

DWORD ProcessIntegrityLevel(HANDLE process, DWORD& error) {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(process, TOKEN_QUERY, &token)) {
    error = ::GetLastError();
    return 0;
  }
  const DWORD level = IntegrityLevel(token);
  ::CloseHandle(token);
  return level;
}

// The account a process runs as (its token's user), empty when unknown.
std::vector<BYTE> ProcessUser(HANDLE process) {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(process, TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  const bool known = size && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
  ::CloseHandle(token);
  if (!known) return {};
  const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
  const BYTE* bytes = static_cast<const BYTE*>(sid);
  return std::vector<BYTE>(bytes, bytes + ::GetLengthSid(sid));
}

}  // namespace

BOOL Win32Processes::RunsAsAnotherAccount() {
  DWORD shellId = 0;
  ::GetWindowThreadProcessId(::GetShellWindow(), &shellId);
  HANDLE shell = shellId ? ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shellId) : nullptr;
  if (!shell) return FALSE;
  const std::vector<BYTE> desktopUser = ProcessUser(shell);
  ::CloseHandle(shell);
  const std::vector<BYTE> ownUser = ProcessUser(::GetCurrentProcess());
  return !desktopUser.empty() && !ownUser.empty() && desktopUser != ownUser;
}

BOOL Win32Processes::RunsAboveOwnRights(DWORD processId) {
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED;
  DWORD error = 0;
  const DWORD theirs = ProcessIntegrityLevel(process, error);
  ::CloseHandle(process);
  if (error) return error == ERROR_ACCESS_DENIED;
  DWORD ownError = 0;
  return theirs > ProcessIntegrityLevel(::GetCurrentProcess(), ownError);
}

DWORD Win32Processes::GetLastError() { return ::GetLastError(); }

DWORD Win32Processes::GetCurrentProcessId() { return ::GetCurrentProcessId(); }

LONG Win32Processes::GetProcessCreationTime(DWORD processId, std::uint64_t& creationTime) {
  const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return static_cast<LONG>(::GetLastError());
  FILETIME created{}, exited{}, kernel{}, user{};
  DWORD exitCode = 0;
  LONG result = ERROR_SUCCESS;
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user) || !::GetExitCodeProcess(process, &exitCode)) {
    result = static_cast<LONG>(::GetLastError());
  } else if (exitCode != STILL_ACTIVE) {
    result = ERROR_INVALID_PARAMETER;
  }
  ::CloseHandle(process);
  creationTime = (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
  return result;
}

}  // namespace ombrix::win32
