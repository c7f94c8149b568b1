#include "platform/win32/Win32Shell.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace ombrix::win32 {

namespace {
const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }
}  // namespace

static_assert(sizeof(NOTIFYICONDATAA) == NotifyIconDataSize, "cbSize gives this build's whole NOTIFYICONDATAA");
static_assert(sizeof(NOTIFYICONDATAA::szTip) == NotifyIconTipCapacity + 1, "szTip holds the tip and its terminator");

INT_PTR Win32Shell::ShellExecuteA(HWND owner, const std::string& verb, const std::string& file,
                                  const std::string& parameters, const std::string& folder, int showCommand) {
  HINSTANCE result =
      ::ShellExecuteA(owner, OrNull(verb), file.c_str(), OrNull(parameters), OrNull(folder), showCommand);
  return reinterpret_cast<INT_PTR>(result);
}

INT_PTR Win32Shell::ShellExecuteExA(HWND owner, const std::string& verb, const std::string& file,
                                    const std::string& parameters, const std::string& folder, int showCommand,
                                    HANDLE& process) {
  SHELLEXECUTEINFOA info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = owner;
  info.lpVerb = OrNull(verb);
  info.lpFile = file.c_str();
  info.lpParameters = OrNull(parameters);
  info.lpDirectory = OrNull(folder);
  info.nShow = showCommand;
  const BOOL started = ::ShellExecuteExA(&info);
  lastError_ = started ? 0 : ::GetLastError();
  process = started ? info.hProcess : nullptr;
  const INT_PTR result = reinterpret_cast<INT_PTR>(info.hInstApp);
  // The call's own answer counts: the shell fills hInstApp for compatibility only.
  if (started) return result > 32 ? result : 33;
  return result <= 32 ? result : 0;
}

BOOL Win32Shell::Shell_NotifyIconA(DWORD message, const NotifyIconData& data) {
  // The whole current record, zeroed, so that the shell may read as far as cbSize says.
  NOTIFYICONDATAA record;
  std::memset(&record, 0, sizeof record);
  record.cbSize = std::min<DWORD>(data.size, sizeof record);
  record.hWnd = data.window;
  record.uID = data.id;
  record.uFlags = data.flags;
  record.uCallbackMessage = data.callbackMessage;
  record.hIcon = data.icon;
  const size_t length = std::min(data.tip.size(), NotifyIconTipCapacity);
  std::memcpy(record.szTip, data.tip.data(), length);
  record.szTip[length] = '\0';
  record.uVersion = data.version;
  const size_t titleLength = std::min(data.infoTitle.size(), NotifyIconInfoTitleCapacity);
  std::memcpy(record.szInfoTitle, data.infoTitle.data(), titleLength);
  record.szInfoTitle[titleLength] = '\0';
  const size_t infoLength = std::min(data.info.size(), NotifyIconInfoCapacity);
  std::memcpy(record.szInfo, data.info.data(), infoLength);
  record.szInfo[infoLength] = '\0';
  record.dwInfoFlags = data.infoFlags;
  return ::Shell_NotifyIconA(message, &record);
}

DWORD Win32Shell::RtlGetVersionBuild() {
  // Looked up at run time: the programs link no import library of ntdll.
  using Function = LONG(WINAPI*)(OSVERSIONINFOW*);
  const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  const auto function =
      ntdll ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(ntdll, "RtlGetVersion")))
            : nullptr;
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  return function && function(&version) == 0 ? version.dwBuildNumber : 0;
}

HWND Win32Shell::HtmlHelpA(HWND caller, const std::string& helpFile, UINT command, ULONG_PTR data) {
  // The viewer comes with every Windows as hhctrl.ocx, which has no import library to link
  // against. It stays loaded for the rest of the process: its windows run its code.
  static const auto htmlHelp = [] {
    HMODULE viewer = ::LoadLibraryA("hhctrl.ocx");
    return viewer ? reinterpret_cast<decltype(&::HtmlHelpA)>(
                        reinterpret_cast<void (*)()>(::GetProcAddress(viewer, "HtmlHelpA")))
                  : nullptr;
  }();
  if (!htmlHelp) return nullptr;
  return htmlHelp(caller, helpFile.c_str(), command, static_cast<DWORD_PTR>(data));
}

HRESULT Win32Shell::SHGetKnownFolderPath(TKnownFolder folder, std::string& path) {
  // FOLDERID_Startup.
  constexpr GUID Startup = {0xB97D20BB, 0xF46A, 0x4C97, {0xBA, 0x10, 0x5E, 0x36, 0x08, 0x43, 0x08, 0x54}};
  const GUID* id = nullptr;
  switch (folder) {
    case TKnownFolder::kStartup:
      id = &Startup;
      break;
  }
  // Looked up, not imported: shell32 has it from Windows Vista on, and the programs must
  // still start where it is missing.
  using Function = HRESULT(WINAPI*)(const GUID&, DWORD, HANDLE, PWSTR*);
  HMODULE shell = ::GetModuleHandleA("shell32.dll");
  if (!shell) shell = ::LoadLibraryA("shell32.dll");
  const auto function =
      shell ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(shell, "SHGetKnownFolderPath")))
            : nullptr;
  if (!function || !id) return E_NOTIMPL;
  PWSTR wide = nullptr;
  const HRESULT result = function(*id, 0, nullptr, &wide);
  if (SUCCEEDED(result) && wide) {
    // The programs' 8-bit texts are in the ANSI code page (UTF-8 where their manifest asks
    // for it), as the "Shell Folders" values they read otherwise.
    const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> text(size > 0 ? size : 1, '\0');
    if (size > 0) ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
    path = text.data();
  }
  ::CoTaskMemFree(wide);
  return result;
}

}  // namespace ombrix::win32
