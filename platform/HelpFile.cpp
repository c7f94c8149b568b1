#include "platform/HelpFile.h"

#include "base/FilePaths.h"

namespace ombrix {

THelpFile::THelpFile(Platform& platform, std::string name, std::string title)
    : platform_(platform), name_(std::move(name)), title_(std::move(title)) {}

std::string THelpFile::FileName() const { return FolderOf(platform_.Files().GetModuleFileNameA()) + name_; }

void THelpFile::ShowContents(HWND caller) const { Show(caller, HH_DISPLAY_TOC, 0); }

void THelpFile::ShowTopic(HWND caller, int context) const {
  Show(caller, HH_HELP_CONTEXT, static_cast<ULONG_PTR>(context));
}

void THelpFile::Show(HWND caller, UINT command, ULONG_PTR data) const {
  const std::string fileName = FileName();
  // Told apart before asking the viewer, which answers both cases with no window.
  const char* failure = nullptr;
  if (!platform_.Files().FileExists(fileName)) {
    failure = MsgHelpFileMissing;
  } else if (!platform_.Shell().HtmlHelpA(caller, fileName, command, data)) {
    failure = MsgHelpFileNotShown;
  }
  if (failure) {
    platform_.Dialogs().MessageBoxA(caller, failure + fileName, title_, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
  }
}

}  // namespace ombrix
