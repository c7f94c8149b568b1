#pragma once
// Ombrix's main form: it is never shown. It starts the target, finds its windows, keeps an
// icon for it in the notification area, hides and shows it, watches it with a timer, and
// offers the tray menu. Everything runs on the one GUI thread.

#include <functional>
#include <memory>
#include <string>

#include "config/Configure.h"
#include "controls/FormHost.h"
#include "platform/Platform.h"
#include "platform/ShellLnk.h"
#include "runtime/PopupMenu.h"
#include "runtime/TargetState.h"
#include "runtime/TrayIcon.h"
#include "runtime/WindowsListUnit.h"
#include "settings/RegistryEnhanced.h"

namespace ombrix {

class TVorel_Ombrix : public IConfigurationOpener {
 public:
  static constexpr const char* ApplicationTitleText = "Vorel Ombrix";
  static constexpr const char* HelpFileName = "Ombrix.chm";

  // The form host's options for Ombrix's dialogs: F1 opens Ombrix's help.
  static FormHostOptions HostOptions(Platform& platform);

  // The dialogs are shown through `formHost`.
  TVorel_Ombrix(Platform& platform, IFormHost& formHost);
  ~TVorel_Ombrix() override;
  TVorel_Ombrix(const TVorel_Ombrix&) = delete;
  TVorel_Ombrix& operator=(const TVorel_Ombrix&) = delete;

  // The whole start-up, from the process command line. True: the target runs and is
  // watched. False: Ombrix ends now (a message has been shown where one is due).
  bool FormCreate(const std::string& commandLine);

  // Start-up.
  bool Checkfilename();
  void CopySettingsFromDialog(TfrmConfiguration& dialog);

  // The tray icon and the target's visibility.
  void SetupTrayIcon();
  // Takes the target's hot key for the tray icon's window, or says once that another
  // program holds it.
  void SetupHotKey();
  void trayHideForm();
  void trayShowForm();
  void TrayIconDblClick();
  void trayOnTrayIconClick();
  void TrayIconRightClick(int x, int y);
  void itmAppPopupClick();
  void ApplyTraySettings(TfrmConfiguration& dialog);

  // The watch timer.
  void tmrEventTimer();

  // The tray menu.
  void trayProgramInformation();
  void trayAboutOmbrix();
  void trayConfigure();
  // Opens the configuration dialog for the target unless one is open; `onSaved` runs while
  // the saved dialog still exists. True when the user saved.
  bool OpenConfiguration(const std::function<void(TfrmConfiguration&)>& onSaved);
  void itmSaveSettingsINIFileClick();
  void itmUpdateOXClick();
  void itmHelpClick();
  void trayClose();
  bool CloseTargetWindows();

  // Closing the main form ends Ombrix: FormClose runs, then OnClosed.
  void Close();
  // A close request from outside, or the end of the session, reached one of Ombrix's
  // windows: the windows Ombrix hid are shown again, then the main form closes.
  void CloseFromOutside();
  void FormClose();
  bool Closed() const { return closed_; }
  std::function<void()> OnClosed;

  // IConfigurationOpener.
  std::string TargetFile() const override { return State.TargetFile; }
  bool SaveSettingsToIniFile() const override;
  std::string ApplicationTitle() const override { return ApplicationTitleText; }
  void ShowHelpContents() override { itmHelpClick(); }

  // Ombrix's own program file and folder (with its trailing backslash).
  std::string OwnFile() const;
  std::string OwnFolder() const;

  // Whether the watch timer runs, and at which interval.
  bool TimerEnabled() const { return timer_ != 0; }
  UINT TimerInterval() const { return timerInterval_; }
  HWND ApplicationWindow() const { return applicationWindow_; }

  TargetState State;
  // In Ombrix's own folder (the current folder is the target's).
  THelpFile Help;
  TRegistryEnhanced RegistryEnhanced;
  TShellLinkWrapper ShellLink;
  TWindowsList WindowsList;
  TTrayIcon TrayIcon;
  TPopupMenu mnuTray;

  // The menu's items, in their order.
  TMenuItem& itmShowForm;
  TMenuItem& itmHideForm;
  TMenuItem& itmProgramInformation;
  TMenuItem& itmConfigProgram;
  TMenuItem& itmAppPopup;
  TMenuItem& itmSaveSettingsINIFile;
  TMenuItem& itmAboutOmbrix;
  TMenuItem& itmUpdateOX;
  TMenuItem& itmHelp;
  TMenuItem& itmSep1;
  TMenuItem& itmClose;

 private:
  // A message of Ombrix's own: with no window of its own, owned by the desktop and brought
  // to the foreground.
  int ShowMessage(const std::string& text, UINT type = MB_OK);
  bool RunStartup(const std::string& commandLine);
  bool TakeTarget(const std::string& commandLine);
  void LoadSettings();
  bool DiscoverWindows();
  // The icon, the tray mode, the click mode and the hot key, as the dialog shows them.
  void CopyTraySettings(const TAppSettings& settings);
  void WireClicks();
  // Adds (true) or removes the tray icon; never adds it once Ombrix has closed.
  void PresentIcon(bool present);
  void EndHandling();
  void SetTimer(UINT interval);
  void StopTimer();
  HWND MainWindow() const { return State.WindowHandles.Get(State.MainWindowIndex); }
  // The hot key as Program Information shows it.
  std::string HotKeyInfo() const;

  Platform& platform_;
  IFormHost& formHost_;
  HWND applicationWindow_ = nullptr;
  UINT_PTR timer_ = 0;
  UINT timerInterval_ = 0;
  bool closed_ = false;
  // The last hot key another program was found to hold: reported once.
  std::int32_t refusedHotKey_ = 0;
};

}  // namespace ombrix
