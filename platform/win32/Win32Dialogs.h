#pragma once
// Message boxes and the file dialogs over the real API.

#include "platform/Dialogs.h"

namespace ombrix::win32 {

class Win32Dialogs : public IDialogs {
 public:
  int MessageBoxA(HWND owner, const std::string& text, const std::string& caption, UINT type) override;

  bool GetOpenFileNameA(const OpenFileRequest& request, std::string& fileName) override;
  bool GetSaveFileNameA(const OpenFileRequest& request, std::string& fileName) override;
};

}  // namespace ombrix::win32
