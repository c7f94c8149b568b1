#pragma once
// Dialogs service: message boxes and the common file dialogs.

#include <string>

#include "WinDefs.h"

namespace ombrix {

struct OpenFileRequest {
  HWND owner = nullptr;
  std::string title;
  std::string filter;  // "Text|*.txt|All files|*.*" form; the backend turns it into pairs
  int filterIndex = 1;
  std::string defaultExtension;
  std::string initialFolder;
  bool pathMustExist = false;
  bool fileMustExist = false;
  bool overwritePrompt = false;  // a save dialog asks before an existing file is replaced
  int helpContext = 0;           // the help topic of the dialog; 0: none
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;

  // MessageBoxA: returns the button pressed (IDOK, IDYES, ...).
  virtual int MessageBoxA(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;

  // GetOpenFileNameA: true and the chosen path, or false when the user cancelled.
  virtual bool GetOpenFileNameA(const OpenFileRequest& request, std::string& fileName) = 0;
  // GetSaveFileNameA: the same for a file to write.
  virtual bool GetSaveFileNameA(const OpenFileRequest& request, std::string& fileName) = 0;
};

}  // namespace ombrix
