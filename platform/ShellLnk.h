#pragma once
// TShellLinkWrapper: the fields of one shortcut (.lnk) file as properties, the file placed in
// one of the user's special folders on request, read and written through the platform's
// shell-link object.

#include <string>

#include "base/Exception.h"
#include "platform/Platform.h"

namespace ombrix {

// The error the component raises; its message is one of the component's French texts.
class EShellLinkWrapper : public Exception {
 public:
  using Exception::Exception;
};

enum TShellFolder {
  sfNone,
  sfDesktop,
  sfFavorites,
  sfFonts,
  sfPersonal,
  sfPrograms,
  sfRecent,
  sfSendTo,
  sfStartMenu,
  sfStartup,
  sfTemplates
};

enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// Keyboard-shortcut modifier bits of TShellLinkWrapper::HotKey.
constexpr WORD scShift = 0x2000;
constexpr WORD scCtrl = 0x4000;
constexpr WORD scAlt = 0x8000;

// Where a shortcut takes its icon from.
class TFileIcon {
 public:
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& fileName) { fileName_ = fileName; }
  int IconIndex() const { return iconIndex_; }
  void SetIconIndex(int iconIndex) { iconIndex_ = iconIndex; }
  // Copies both values.
  void Assign(const TFileIcon& source) { *this = source; }

 private:
  std::string fileName_;
  int iconIndex_ = 0;
};

class TShellLinkWrapper {
 public:
  explicit TShellLinkWrapper(Platform& platform);
  TShellLinkWrapper(const TShellLinkWrapper&) = delete;
  TShellLinkWrapper& operator=(const TShellLinkWrapper&) = delete;

  // Published properties, in their published order.
  const std::string& Arguments() const { return arguments_; }
  void SetArguments(const std::string& value) { arguments_ = value; }
  const std::string& Description() const { return description_; }
  void SetDescription(const std::string& value) { description_ = value; }
  // Owned by the component; assigning copies into it.
  TFileIcon& FileIcon() { return fileIcon_; }
  const TFileIcon& FileIcon() const { return fileIcon_; }
  void SetFileIcon(const TFileIcon& value) { fileIcon_.Assign(value); }
  // Virtual key code plus scShift, scCtrl, scAlt.
  WORD HotKey() const { return hotKey_; }
  void SetHotKey(WORD value) { hotKey_ = value; }
  // The shortcut file itself. Placed in ShellFolder when one is set; ".lnk" is added when
  // the name does not end with it; a name that is only ".lnk" becomes empty.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& value);
  const std::string& Target() const { return target_; }
  void SetTarget(const std::string& value) { target_ = value; }
  // Held as a show command: 3 reads as maximized, 7 as minimized, anything else as normal.
  TWindowState WindowState() const;
  void SetWindowState(TWindowState value);
  const std::string& WorkingDir() const { return workingDir_; }
  void SetWorkingDir(const std::string& value) { workingDir_ = value; }
  // Changing it to a folder moves FileName's name part into that folder.
  TShellFolder ShellFolder() const { return shellFolder_; }
  void SetShellFolder(TShellFolder value);

  // Loads FileName into the properties.
  void ReadLink();
  // Writes the properties to FileName, creating or overwriting it. Texts longer than the
  // 255 characters a shortcut field carries are refused, and nothing is written.
  void WriteLink();

  // The folder's path from the user's "Shell Folders" entries (the Startup folder from the
  // shell's known folder when it has one); empty when unknown.
  std::string ShellFolderPath(TShellFolder folder) const;

 private:
  Platform& platform_;
  std::string arguments_;
  std::string description_;
  TFileIcon fileIcon_;
  WORD hotKey_ = 0;
  std::string fileName_;
  std::string target_;
  int showCommand_ = 0;
  std::string workingDir_;
  TShellFolder shellFolder_ = sfNone;
};

}  // namespace ombrix
