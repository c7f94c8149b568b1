#pragma once
// Shell service: shell execution, the notification area and the help viewer.

#include <string>

#include "WinDefs.h"

namespace ombrix {

// The fields of the 88-byte NOTIFYICONDATAA the system fills.
struct NotifyIconData {
  HWND window = nullptr;
  UINT id = 0;
  UINT flags = 0;
  UINT callbackMessage = 0;
  HICON icon = nullptr;
  std::string tip;  // at most 63 characters reach the shell
};

class IShell {
 public:
  virtual ~IShell() = default;

  // ShellExecuteA; a result above 32 means started.
  virtual INT_PTR ShellExecuteA(HWND owner, const std::string& verb, const std::string& file,
                                const std::string& parameters, const std::string& folder, int showCommand) = 0;
  virtual BOOL Shell_NotifyIconA(DWORD message, const NotifyIconData& data) = 0;
  virtual BOOL WinHelpA(HWND owner, const std::string& helpFile, UINT command, ULONG_PTR data) = 0;
};

}  // namespace ombrix
