#pragma once
// The tray menu and the dialogs it opens: show and hide, program information, the
// configuration, the target's system menu, where settings are saved, the about box, the
// updater, help and close. Each dialog opens once at a time: the menu stays live while one
// is open, and so do the tray icon and the timer.

#include <functional>
#include <string>

#include "config/Configure.h"
#include "controls/FormHost.h"
#include "platform/HelpFile.h"
#include "platform/Platform.h"
#include "runtime/PopupMenu.h"
#include "runtime/Target.h"
#include "runtime/TrayIconOwner.h"
#include "settings/RegistryEnhanced.h"

namespace ombrix {

class TTrayMenu : public IConfigurationOpener {
 public:
  static constexpr const char* HelpFileName = "Ombrix.chm";

  // `applicationWindow` owns the target's system menu when it is shown from the tray.
  TTrayMenu(Platform& platform, IFormHost& formHost, const TTarget& target, const TTrayIconOwner& tray,
            HWND applicationWindow);

  // Reads where settings are saved and whether icons give their hint, as the user last chose.
  void ReadSaveSwitch();
  // The target's icon is in the notification area: the first time for its identity, and
  // unless the user turned hints off, a balloon says where to find it. Looks once a run.
  void IconAdded(TTrayIcon& icon);
  // The target runs and its window is known: the commands about it work from now on.
  void EnableTargetCommands();

  // At (x, y), where the shell puts the icon's menu; with Shift held, the target's system
  // menu instead.
  void Popup(int x, int y);
  // Opens the configuration dialog for the target unless one is open; `onSaved` gets what
  // the user saved. True when the user saved.
  bool OpenConfiguration(const std::function<void(const TAppSettings&)>& onSaved);

  // The commands.
  void trayProgramInformation();
  void trayAboutOmbrix();
  void trayConfigure();
  void itmAppPopupClick();
  void itmSaveSettingsINIFileClick();
  void itmTrayHintsClick();
  void itmUpdateOXClick();
  void itmHelpClick();

  TPopupMenu& Menu() { return mnuTray; }
  bool AnyDialogOpen() const { return aboutOpen_ || infoOpen_ || configOpen_; }
  bool ConfigurationOpen() const { return configOpen_; }

  // IConfigurationOpener.
  std::string TargetFile() const override { return target_.File(); }
  bool SaveSettingsToIniFile() const override { return itmSaveSettingsINIFile.Checked; }
  void SaveSettingsToRegistryFromNowOn() override { SwitchStore(false); }
  std::string ApplicationTitle() const override;
  void ShowHelpContents() override { itmHelpClick(); }

  // The menu's commands that the other parts carry out.
  std::function<void()> OnShow;
  std::function<void()> OnHide;
  std::function<void(const TAppSettings&)> OnConfigured;
  std::function<void()> OnClose;

 private:
  // Checks or unchecks the INI switch and remembers it as "UseINIFile".
  void SwitchStore(bool useIniFile);
  // Writes a value below the settings key; a refusal is told when `tellFailure`.
  void WriteSwitch(const char* name, const TVariant& value, bool tellFailure);

  Platform& platform_;
  IFormHost& formHost_;
  const TTarget& target_;
  const TTrayIconOwner& tray_;
  HWND applicationWindow_;
  // In Ombrix's own folder (the current folder is the target's).
  THelpFile help_;
  TRegistryEnhanced registry_;
  bool aboutOpen_ = false;
  bool infoOpen_ = false;
  bool configOpen_ = false;
  bool hintLooked_ = false;

 public:
  TPopupMenu mnuTray;
  // The menu's items, in their order.
  TMenuItem& itmShowForm;
  TMenuItem& itmHideForm;
  TMenuItem& itmProgramInformation;
  TMenuItem& itmConfigProgram;
  TMenuItem& itmAppPopup;
  TMenuItem& itmSaveSettingsINIFile;
  TMenuItem& itmTrayHints;
  TMenuItem& itmAboutOmbrix;
  TMenuItem& itmUpdateOX;
  TMenuItem& itmHelp;
  TMenuItem& itmSep1;
  TMenuItem& itmClose;
};

}  // namespace ombrix
