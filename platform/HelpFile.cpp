#include "platform/HelpFile.h"

#include "base/FilePaths.h"

namespace ombrix {

namespace {

// Windows marks a file that came from the Internet, downloaded or extracted from a
// downloaded zip, with the stream Zone.Identifier; from the Internet zone (3) or a restricted
// site (4) the help viewer then shows every page blank, and says nothing.
bool CarriesDownloadMark(IFiles& files, const std::string& fileName) {
  std::string mark;
  if (!files.ReadFileBytes(fileName + ":Zone.Identifier", mark)) return false;
  return mark.find("ZoneId=3") != std::string::npos || mark.find("ZoneId=4") != std::string::npos;
}

}  // namespace

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
  std::string note;
  if (!platform_.Files().FileExists(fileName)) {
    note = MsgHelpFileMissing + fileName;
  } else if (CarriesDownloadMark(platform_.Files(), fileName)) {
    note = MsgHelpFileBlocked + fileName + MsgHelpFileBlockedAdvice;
  } else if (!platform_.Shell().HtmlHelpA(caller, fileName, command, data)) {
    note = MsgHelpFileNotShown + fileName;
  }
  if (!note.empty()) {
    platform_.Dialogs().MessageBoxA(caller, note, title_, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
  }
}

}  // namespace ombrix
