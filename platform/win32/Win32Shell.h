#pragma once
// Shell execution, the notification area and the help viewer over the real API.

#include "platform/Shell.h"

namespace ombrix::win32 {

class Win32Shell : public IShell {
 public:
  INT_PTR ShellExecuteA(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& folder, int showCommand) override;
  INT_PTR ShellExecuteExA(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                          const std::string& folder, int showCommand, HANDLE& process) override;
  DWORD GetLastError() override { return lastError_; }
  BOOL Shell_NotifyIconA(DWORD message, const NotifyIconData& data) override;
  DWORD RtlGetVersionBuild() override;
  HWND HtmlHelpA(HWND caller, const std::string& helpFile, UINT command, ULONG_PTR data) override;
  HRESULT SHGetKnownFolderPath(TKnownFolder folder, std::string& path) override;

 private:
  DWORD lastError_ = 0;
};

}  // namespace ombrix::win32
