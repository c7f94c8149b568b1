#pragma once
// Shell service: shell execution, the notification area and the help viewer.

#include <string>

#include "WinDefs.h"

#ifdef _WIN32
// The lean Windows headers leave the shell's declarations out; the help viewer's commands
// have a header of their own.
#include <htmlhelp.h>
#include <shellapi.h>
#endif

namespace ombrix {

// cbSize of this build's whole NOTIFYICONDATAA, as from Windows Vista on (up to the
// balloon's own icon): its handles make it 508 bytes in a 32-bit program and 528 in an x64
// one. The shell reads the record as far as cbSize says, so the later fields (the protocol's
// version, the balloon) count only in the whole record.
constexpr DWORD NotifyIconDataSize = sizeof(void*) == 8 ? 528 : 508;
// szTip of that record holds 128 bytes: at most 127 characters reach the shell.
constexpr size_t NotifyIconTipCapacity = 127;

// szInfoTitle and szInfo of that record hold 64 and 256 bytes.
constexpr size_t NotifyIconInfoTitleCapacity = 63;
constexpr size_t NotifyIconInfoCapacity = 255;
// The first build of Windows 11, whose notification-area settings differ from Windows 10's.
constexpr DWORD Windows11Build = 22000;

// The fields of NOTIFYICONDATAA the program fills.
struct NotifyIconData {
  DWORD size = NotifyIconDataSize;  // cbSize
  HWND window = nullptr;
  UINT id = 0;
  UINT flags = 0;  // NIF_MESSAGE, NIF_ICON, NIF_TIP, NIF_SHOWTIP: which of the fields below apply
  UINT callbackMessage = 0;
  HICON icon = nullptr;
  std::string tip;   // at most NotifyIconTipCapacity characters reach the shell
  UINT version = 0;  // uVersion, read by NIM_SETVERSION only
  // A balloon (NIF_INFO): at most NotifyIconInfoTitleCapacity and NotifyIconInfoCapacity
  // characters reach the shell; NIIF_ flags.
  std::string infoTitle;
  std::string info;
  DWORD infoFlags = 0;
};

// The known folders the programs ask the shell for.
enum class TKnownFolder {
  kStartup,  // FOLDERID_Startup: the user's Startup folder, whose shortcuts start at logon
};

class IShell {
 public:
  virtual ~IShell() = default;

  // ShellExecuteA; empty verb, parameters or folder are passed as NULL. A result above 32
  // means started.
  virtual INT_PTR ShellExecuteA(HWND owner, const std::string& verb, const std::string& file,
                                const std::string& parameters, const std::string& folder, int showCommand) = 0;
  // ShellExecuteExA with SEE_MASK_NOCLOSEPROCESS, for a caller that waits for the program the
  // shell starts: the result as ShellExecuteA's (above 32 when started), and that program's
  // process handle in `process`, or nullptr when the shell started none (it handed the file
  // to a program already running, or failed). The caller closes the handle
  // (IProcesses::CloseHandle).
  virtual INT_PTR ShellExecuteExA(HWND owner, const std::string& verb, const std::string& file,
                                  const std::string& parameters, const std::string& folder, int showCommand,
                                  HANDLE& process) = 0;
  // The error code of the last failed ShellExecuteExA: ERROR_CANCELLED when the user
  // declined the system's consent prompt of the verb "runas".
  virtual DWORD GetLastError() = 0;
  // Shell_NotifyIconA with NIM_ADD, NIM_MODIFY, NIM_DELETE or NIM_SETVERSION. FALSE when the
  // shell refused (a second add of the same window and id, a change, removal or version of
  // an absent icon, a version it does not know, no taskbar at all).
  virtual BOOL Shell_NotifyIconA(DWORD message, const NotifyIconData& data) = 0;
  // RtlGetVersion's build number: the system's own, which a compatibility mode does not
  // change as it changes GetVersionExA's.
  virtual DWORD RtlGetVersionBuild() = 0;
  // HtmlHelpA of the system's help viewer: HH_DISPLAY_TOC (data 0) or HH_HELP_CONTEXT (data the
  // help context) on a compiled help file. The viewer's window, owned by `caller`, or nullptr
  // when nothing opened (no such file, no topic for the context, no viewer).
  virtual HWND HtmlHelpA(HWND caller, const std::string& helpFile, UINT command, ULONG_PTR data) = 0;
  // SHGetKnownFolderPath (flags 0, the current user): S_OK and the folder's path without a
  // trailing backslash, or a failure HRESULT and `path` untouched. E_NOTIMPL where the shell
  // has no such call (before Windows Vista); callers then read the "Shell Folders" entries.
  virtual HRESULT SHGetKnownFolderPath(TKnownFolder folder, std::string& path) = 0;
};

}  // namespace ombrix
