#pragma once
// Ombrix's main form: it is never shown. It owns the parts that serve the one target (start-
// up, the target, its tray icon, its visibility, the watch timer and the tray menu) and
// keeps the order of events between them. Everything runs on the one GUI thread.

#include <functional>
#include <string>

#include "controls/FormHost.h"
#include "platform/Platform.h"
#include "runtime/OmbrixSelf.h"
#include "runtime/Startup.h"
#include "runtime/Target.h"
#include "runtime/TargetVisibility.h"
#include "runtime/TrayIconOwner.h"
#include "runtime/TrayMenu.h"
#include "runtime/Watch.h"

namespace ombrix {

class TVorel_Ombrix {
 public:
  static constexpr const char* ApplicationTitleText = OmbrixTitle;

  // The form host's options for Ombrix's dialogs: F1 opens Ombrix's help.
  static FormHostOptions HostOptions(Platform& platform);

  // The dialogs are shown through `formHost`.
  TVorel_Ombrix(Platform& platform, IFormHost& formHost);
  ~TVorel_Ombrix();
  TVorel_Ombrix(const TVorel_Ombrix&) = delete;
  TVorel_Ombrix& operator=(const TVorel_Ombrix&) = delete;

  // The whole start-up, from the process command line. True: the target runs and is
  // watched. False: Ombrix ends now (a message has been shown where one is due).
  bool FormCreate(const std::string& commandLine);

  // The tray icon, its menu and the timer.
  void trayHideForm() { visibility_.Hide(); }
  void trayShowForm() { visibility_.Show(); }
  void TrayIconDblClick() { visibility_.Toggle(); }
  void tmrEventTimer() { watch_.Tick(); }
  void trayClose();

  // Closing the main form ends Ombrix: FormClose runs, then OnClosed.
  void Close();
  // A close request from outside, or the end of the session, reached one of Ombrix's
  // windows: the windows Ombrix hid are shown again, then the main form closes.
  void CloseFromOutside();
  void FormClose();
  bool Closed() const { return closed_; }
  std::function<void()> OnClosed;

  // The parts, as the tests and the program see them.
  const TTarget& Target() const { return target_; }
  TTrayIconOwner& Tray() { return tray_; }
  const TTargetVisibility& Visibility() const { return visibility_; }
  TTrayMenu& Menu() { return menu_; }
  const TWatch& Watch() const { return watch_; }
  HWND ApplicationWindow() const { return applicationWindow_; }
  // A saved configuration's settings, as Configure applies them to the running target.
  void ApplyTraySettings(const TAppSettings& settings);

 private:
  bool RunStartup(const std::string& commandLine);
  // Start-up ends without a target: the icon goes, and a program started hidden is shown.
  void GiveUpTarget();
  // The whole entry, as start-up or a configuration saved before the window was found
  // gives it.
  void ApplySettings(const TAppSettings& settings);
  // Configure from start-up's retry question or the watch's quick-close question: what is
  // saved becomes the whole entry.
  void ConfigureWhole();

  Platform& platform_;
  IFormHost& formHost_;
  bool closed_ = false;
  // The application's own window: hidden, never in the taskbar; it owns the target's system
  // menu when that is shown from the tray.
  HWND applicationWindow_ = nullptr;
  TTarget target_;
  TTrayIconOwner tray_;
  TTargetVisibility visibility_;
  TTrayMenu menu_;
  TWatch watch_;
  TStartup startup_;
};

}  // namespace ombrix
