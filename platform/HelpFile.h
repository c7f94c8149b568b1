#pragma once
// A program's help: the compiled help file beside the program, shown by the system's help
// viewer at its contents or at the topic of a help context. A file that is missing, or that
// the viewer cannot show, is reported: the viewer itself says nothing.

#include <string>

#include "platform/Platform.h"

namespace ombrix {

inline constexpr char MsgHelpFileMissing[] = "The help file was not found:\r\n";
inline constexpr char MsgHelpFileNotShown[] = "The help viewer could not show the help file:\r\n";
// Before the file's name; the advice follows it.
inline constexpr char MsgHelpFileBlocked[] =
    "Windows shows this help file with blank pages, because it is marked as downloaded from the Internet:\r\n";
inline constexpr char MsgHelpFileBlockedAdvice[] =
    "\r\n\r\nUnblock it: right-click the file, choose Properties, tick \"Unblock\" and click OK. "
    "(Or unblock the downloaded zip the same way and extract it again.)";

class THelpFile {
 public:
  // `name` ("Ombrix.chm") is looked for in the folder of the running program, whatever the
  // current folder; `title` is the caption of the notes about it.
  THelpFile(Platform& platform, std::string name, std::string title);

  std::string FileName() const;
  // The viewer's window, and any note, are owned by `caller`.
  void ShowContents(HWND caller) const;
  void ShowTopic(HWND caller, int context) const;

 private:
  void Show(HWND caller, UINT command, ULONG_PTR data) const;

  Platform& platform_;
  std::string name_;
  std::string title_;
};

}  // namespace ombrix
