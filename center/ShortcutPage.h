#pragma once
// The control center's first page: a shortcut file that starts a target through Ombrix,
// written into one of the user's special folders, or written to a temporary file and
// opened at once to try it.

#include <string>
#include <vector>

#include "center/HubContext.h"
#include "controls/FormPart.h"
#include "platform/ShellLnk.h"

namespace ombrix {

// The text shown for a ShellExecuteA result of 32 or less: the reason, then its number.
std::string ShellExecuteErrorText(INT_PTR result);

class TShortcutPage : public TFormPart {
 public:
  // `shellLink` is the window's shortcut component, which keeps its values between clicks.
  TShortcutPage(TForm& form, TTabSheet& page, THubContext& context, TShellLinkWrapper& shellLink);

  // Event handlers.
  void btnCreateShortcutClick(TControl& sender);
  void btnTestThisShortCutClick(TControl& sender);
  void btnBrowseClick(TControl& sender);

  // The entries of cbLocation, and the special folder each one selects, by index.
  static std::vector<std::string> LocationEntries();
  static TShellFolder LocationFolder(int index);

 private:
  TTabSheet& page_;

 public:
  TGroupBox gbShortcut{Form(), "gbShortcut", &page_, {8, 8, 536, 214}, " Description of shortcut to be created "};
  TLabel lblDescription{Form(), "lblDescription", &gbShortcut, {16, 30, 84, 16}, "Name:"};
  TEdit ebxDescription{Form(), "ebxDescription", &gbShortcut, {104, 28, 408, 21}};
  TLabel lblFilename{Form(), "lblFilename", &gbShortcut, {16, 62, 84, 16}, "Filename:"};
  TEdit ebxFilename{Form(), "ebxFilename", &gbShortcut, {104, 60, 324, 21}};
  TButton btnBrowse{Form(), "btnBrowse", &gbShortcut, {436, 59, 76, 23}, "Browse"};
  TLabel lblParameters{Form(), "lblParameters", &gbShortcut, {16, 94, 84, 16}, "Arguments:"};
  TEdit ebxParameters{Form(), "ebxParameters", &gbShortcut, {104, 92, 408, 21}};
  TLabel lblLocation{Form(), "lblLocation", &gbShortcut, {16, 126, 84, 16}, "Location:"};
  TComboBox cbLocation{Form(), "cbLocation", &gbShortcut, {104, 124, 200, 21}, LocationEntries()};
  TButton btnCreateShortcut{Form(), "btnCreateShortcut", &gbShortcut, {104, 168, 196, 27}, "Create this shortcut"};
  TButton btnTestThisShortCut{Form(), "btnTestThisShortCut", &gbShortcut, {316, 168, 196, 27}, "Test this shortcut"};

 private:
  // True when the fields may become a shortcut; otherwise shows why.
  bool ValidateShortcutFields();
  // Target, arguments and icon, the same for a shortcut created and one tested.
  void DescribeTarget();

  THubContext& context_;
  TShellLinkWrapper& shellLink_;
};

}  // namespace ombrix
