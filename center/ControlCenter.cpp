#include "center/ControlCenter.h"

#include "base/FilePaths.h"
#include "config/HiddenRecord.h"
#include "platform/MiscUtils.h"

namespace ombrix {

FormHostOptions TfrmMain::HostOptions(Platform& platform) {
  return ProgramHostOptions(ApplicationTitleText, THelpFile(platform, HelpFileName, ApplicationTitleText));
}

TfrmMain::TfrmMain(Platform& platform, IFormHost& formHost)
    : TForm("TfrmMain", "Vorel Ombrix Control Center", 576, 500),
      platform_(platform),
      formHost_(formHost),
      RegistryOp(platform),
      ShellLink(platform),
      Context{platform, RegistryOp, FolderOf(platform.Files().GetModuleFileNameA()), ApplicationTitleText},
      ShortcutPage(*this, tsShortcut, Context, ShellLink),
      ContextMenuPage(*this, tsContextMenu, Context),
      StoredSettingsPage(*this, tsStoredSettings, Context),
      AboutBox(platform.Shell()) {
  BorderStyle = TFormBorderStyle::kSingle;
  Position = TPosition::kScreenCenter;
  ShowHint = true;
  HelpContext = HelpContextId;
  // The stored-settings page holds the most controls, a settings editor of three pages of
  // its own: made when first opened, or once the file-type list is on the screen, the window
  // comes up sooner and the list starts filling sooner.
  tsStoredSettings.CreateWhenShown = true;
  ContextMenuPage.OnFileTypeListShown = [this] {
    tsStoredSettings.CreateWhenShown = false;
    ChangedBehind();
  };
  RegistryOp.RootKey = TRootKey::hkClassesRoot;

  // The shortcut component's starting values: the target's first icon, no hot key, shown
  // normally, on the desktop.
  TFileIcon icon;
  icon.SetIconIndex(0);
  ShellLink.SetFileIcon(icon);
  ShellLink.SetHotKey(0);
  ShellLink.SetWindowState(wsNormal);
  ShellLink.SetShellFolder(sfDesktop);

  btnAbout.Flat = true;
  btnAbout.Hint = "About Vorel Ombrix";
  btnExit.Flat = true;
  btnExit.Hint = "Exit the Control Center";
  btnAbout.OnClick = Handler(&TfrmMain::btnAboutClick);
  btnExit.OnClick = Handler(&TfrmMain::btnExitClick);

  FormCreate();
}

void TfrmMain::FormCreate() {
  ShortcutPage.cbLocation.SetItemIndex(0);
  // Behind the window: a well-used machine's file types take seconds to read, and only the
  // second page shows them.
  ContextMenuPage.StartFileTypeFill();
  StoredSettingsPage.FillSettingsList();
  pcControlCenter.SetActivePageIndex(tsShortcut.PageIndex());
  SetActiveControl(&ShortcutPage.ebxDescription);
  // Starting OmbrixHub is the way back for a program that a killed or crashed Ombrix left
  // hidden.
  const std::string leftHidden = LeftHiddenText(ShowWindowsLeftHidden(platform_));
  if (!leftHidden.empty()) {
    platform_.Dialogs().MessageBoxA(platform_.Windows().GetDesktopWindow(), leftHidden, ApplicationTitleText,
                                    MB_OK | MB_SETFOREGROUND);
  }
}

void TfrmMain::btnAboutClick(TControl&) {
  AboutBox.lblProgramVersion.SetCaption(VersionCaption(platform_, platform_.Files().GetModuleFileNameA()));
  formHost_.ShowModal(AboutBox, Handle());
}

void TfrmMain::btnExitClick(TControl&) { Close(); }

}  // namespace ombrix
