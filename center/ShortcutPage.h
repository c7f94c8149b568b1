#pragma once
// The control center's first page: a shortcut file that starts a target through Ombrix,
// written into one of the user's special folders, or written to a temporary file and
// opened at once to try it.

#include <string>

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

  // The special folder each entry of cbLocation selects, by index.
  static TShellFolder LocationFolder(int index);

  TGroupBox gbShortcut;
  TLabel lblDescription;
  TEdit ebxDescription;
  TLabel lblFilename;
  TEdit ebxFilename;
  TButton btnBrowse;
  TLabel lblParameters;
  TEdit ebxParameters;
  TLabel lblLocation;
  TComboBox cbLocation;
  TButton btnCreateShortcut;
  TButton btnTestThisShortCut;

 private:
  // True when the fields may become a shortcut; otherwise shows why.
  bool ValidateShortcutFields();
  // Target, arguments and icon, the same for a shortcut created and one tested.
  void DescribeTarget();

  THubContext& context_;
  TShellLinkWrapper& shellLink_;
};

}  // namespace ombrix
