#include "platform/win32/Win32Dialogs.h"

#include <commdlg.h>

#include <vector>

namespace ombrix::win32 {

namespace {

bool RunFileDialog(const OpenFileRequest& request, std::string& fileName, BOOL(WINAPI* run)(LPOPENFILENAMEA)) {
  // "Name|pattern|Name|pattern" becomes NUL-separated pairs ending with two NULs.
  std::string filter = request.filter;
  for (char& c : filter) {
    if (c == '|') c = '\0';
  }
  filter.append(2, '\0');
  std::vector<char> buffer(MAX_PATH * 4, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = request.owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
  dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
  std::string extension = request.defaultExtension;
  if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | (request.pathMustExist ? OFN_PATHMUSTEXIST : 0) |
                 (request.fileMustExist ? OFN_FILEMUSTEXIST : 0) | (request.overwritePrompt ? OFN_OVERWRITEPROMPT : 0);
  if (!run(&dialog)) return false;
  fileName = buffer.data();
  return true;
}

}  // namespace

int Win32Dialogs::MessageBoxA(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

bool Win32Dialogs::GetOpenFileNameA(const OpenFileRequest& request, std::string& fileName) {
  return RunFileDialog(request, fileName, ::GetOpenFileNameA);
}

bool Win32Dialogs::GetSaveFileNameA(const OpenFileRequest& request, std::string& fileName) {
  return RunFileDialog(request, fileName, ::GetSaveFileNameA);
}

}  // namespace ombrix::win32
