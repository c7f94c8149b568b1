#include "runtime/OmbrixMain.h"

#include <cmath>

#include "base/NumberText.h"
#include "base/Utf8.h"
#include "config/About.h"
#include "platform/MiscUtils.h"
#include "platform/ShellLinks.h"
#include "runtime/EndRequest.h"
#include "runtime/HotKey.h"
#include "runtime/Launch.h"
#include "runtime/ProgInfo.h"
#include "runtime/TargetResolution.h"
#include "settings/AppSettings.h"

namespace ombrix {

namespace {

constexpr UINT DesignTimerInterval = 100;
constexpr UINT WatchTimerInterval = 500;
constexpr DWORD IdleWaitMilliseconds = 30000;
constexpr int QuickCloseSeconds = 5;

constexpr char QuickCloseQuestion[] =
    "Application was detected closed 5 seconds\r\nafter launch. This might mean that this application \r\n"
    "needs configuration.\r\nDo you wish to go to the configuration screen ?\r\n(answering no will close Ombrix)\r\n";

// A re-entry flag, set while its dialog is open and cleared however the command ends: a flag
// left set would lock the command for good.
class OpenFlag {
 public:
  explicit OpenFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~OpenFlag() { flag_ = false; }
  OpenFlag(const OpenFlag&) = delete;
  OpenFlag& operator=(const OpenFlag&) = delete;

 private:
  bool& flag_;
};

bool IsProgramExtension(const std::string& extension) {
  return extension == ".EXE" || extension == ".COM" || extension == ".BAT";
}

}  // namespace

FormHostOptions TVorel_Ombrix::HostOptions(Platform& platform) {
  return ProgramHostOptions(ApplicationTitleText, THelpFile(platform, HelpFileName, ApplicationTitleText));
}

TVorel_Ombrix::TVorel_Ombrix(Platform& platform, IFormHost& formHost)
    : Help(platform, HelpFileName, ApplicationTitleText),
      RegistryEnhanced(platform),
      ShellLink(platform),
      WindowsList(platform.Windows()),
      TrayIcon(platform, platform.Icons()),
      mnuTray(platform),
      itmShowForm(mnuTray.Add("itmShowForm", "&Show program window", [this](TMenuItem&) { trayShowForm(); })),
      itmHideForm(mnuTray.Add("itmHideForm", "&Hide program window", [this](TMenuItem&) { trayHideForm(); })),
      itmProgramInformation(mnuTray.Add("itmProgramInformation", "Program &information",
                                        [this](TMenuItem&) { trayProgramInformation(); })),
      itmConfigProgram(mnuTray.Add("itmConfigProgram", "&Configure", [this](TMenuItem&) { trayConfigure(); })),
      itmAppPopup(mnuTray.Add("itmAppPopup", "Application's system menu (Shft+RightClick)",
                              [this](TMenuItem&) { itmAppPopupClick(); })),
      itmSaveSettingsINIFile(mnuTray.Add("itmSaveSettingsINIFile", "&Save settings to INI file instead of registry",
                                         [this](TMenuItem&) { itmSaveSettingsINIFileClick(); })),
      itmAboutOmbrix(mnuTray.Add("itmAboutOmbrix", "A&bout Ombrix...", [this](TMenuItem&) { trayAboutOmbrix(); })),
      itmUpdateOX(mnuTray.Add("itmUpdateOX", "&Update Ombrix", [this](TMenuItem&) { itmUpdateOXClick(); })),
      itmHelp(mnuTray.Add("itmHelp", "&Help", [this](TMenuItem&) { itmHelpClick(); })),
      itmSep1(mnuTray.AddSeparator("itmSep1")),
      itmClose(mnuTray.Add("itmClose", "&Close", [this](TMenuItem&) { trayClose(); })),
      platform_(platform),
      formHost_(formHost) {
  RegistryEnhanced.RootKey = TRootKey::hkCurrentUser;
  RegistryEnhanced.Key = SettingsKey;
  WindowsList.AcceptEmptyNames = false;

  // Until start-up has found the target, only the INI switch, update, help and close work.
  for (TMenuItem* item :
       {&itmShowForm, &itmHideForm, &itmProgramInformation, &itmConfigProgram, &itmAppPopup, &itmAboutOmbrix}) {
    item->Enabled = false;
  }
  itmSaveSettingsINIFile.Checked = true;
  mnuTray.HelpContext = 21;
  for (int i = 0; i < mnuTray.Count(); ++i) mnuTray.Item(i).HelpContext = 21;
  for (TMenuItem* item : {&itmSaveSettingsINIFile, &itmUpdateOX, &itmHelp}) item->HelpContext = 0;
  mnuTray.Alignment = TPopupAlignment::kRight;
  mnuTray.TrackButton = TTrackButton::kRightButton;

  // The application's own window: hidden, never in the taskbar; it owns the target's
  // system menu when that is shown from the tray.
  applicationWindow_ =
      platform_.Input().AllocateWindow([this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (IsEndRequest(message, wParam)) {
          CloseFromOutside();
          return EndRequestAnswer(message);
        }
        return platform_.Input().DefWindowProcA(window, message, wParam, lParam);
      });
  // Every window of Ombrix's own ends Ombrix when asked to close: destroying just the one
  // asked would leave Ombrix running without it.
  TrayIcon.OnEndRequest = [this](TTrayIcon&) { CloseFromOutside(); };
  mnuTray.OnEndRequest = [this] { CloseFromOutside(); };
  mnuTray.OnHelp = [this](int context) { Help.ShowTopic(platform_.Windows().GetDesktopWindow(), context); };
  TrayIcon.SetApplicationWindow(applicationWindow_);
  TrayIcon.SetToolTip(ApplicationTitleText);
  TrayIcon.OnRightClick = [this](TTrayIcon&, TTrayIcon::TMouseButton, TTrayIcon::TShiftState, int x, int y) {
    TrayIconRightClick(x, y);
  };
  // The hot key does what a click on the icon does, in every tray mode.
  TrayIcon.OnHotKey = [this](TTrayIcon&) { TrayIconDblClick(); };

  // The timer runs from the moment the form exists; it does nothing until a main window
  // has been found.
  SetTimer(DesignTimerInterval);
}

TVorel_Ombrix::~TVorel_Ombrix() {
  StopTimer();
  if (applicationWindow_) platform_.Input().DeallocateWindow(applicationWindow_);
}

int TVorel_Ombrix::ShowMessage(const std::string& text, UINT type) {
  return platform_.Dialogs().MessageBoxA(platform_.Windows().GetDesktopWindow(), text, ApplicationTitleText,
                                         type | MB_SETFOREGROUND);
}

std::string TVorel_Ombrix::OwnFile() const { return platform_.Files().GetModuleFileNameA(); }

std::string TVorel_Ombrix::OwnFolder() const {
  const std::string file = OwnFile();
  const size_t slash = file.find_last_of("\\:");
  return slash == std::string::npos ? "" : file.substr(0, slash + 1);
}

bool TVorel_Ombrix::SaveSettingsToIniFile() const { return itmSaveSettingsINIFile.Checked; }

void TVorel_Ombrix::SetTimer(UINT interval) {
  StopTimer();
  timerInterval_ = interval;
  timer_ = platform_.Messages().SetTimer(interval, [this] { tmrEventTimer(); });
}

void TVorel_Ombrix::StopTimer() {
  if (timer_) platform_.Messages().KillTimer(timer_);
  timer_ = 0;
}

// ---------------------------------------------------------------------------------------
// Start-up

bool TVorel_Ombrix::FormCreate(const std::string& commandLine) {
  try {
    return RunStartup(commandLine);
  } catch (const std::exception& error) {
    // Whatever went wrong, Ombrix must not stay without icon and target: say so and end.
    // A program already started keeps running.
    ShowMessage(error.what());
    return false;
  }
}

bool TVorel_Ombrix::RunStartup(const std::string& commandLine) {
  itmSaveSettingsINIFile.Checked =
      RegistryEnhanced.ReadValueDefault(ValueUseINIFile, TVariant(itmSaveSettingsINIFile.Checked)).ToBool();
  // Nothing reads these back; a registry that refuses them must not stop the program.
  try {
    RegistryEnhanced.WriteValue(ValueVersion, TVariant(FileVersionText(platform_, OwnFile())));
    RegistryEnhanced.WriteValue(ValuePath, TVariant(OwnFolder()));
    RegistryEnhanced.WriteValue(ValueExeName, TVariant(OwnFile().substr(OwnFolder().size())));
  } catch (const ERegistryException&) {
  }

  if (!TakeTarget(commandLine)) return false;
  if (!Checkfilename()) return false;
  LoadSettings();
  State.OwnStartupInfo = platform_.Processes().GetStartupInfoA();

  try {
    if (!LaunchTarget(platform_, State)) {
      ShowMessage(LaunchErrorText(State.LaunchError));
      return false;
    }
  } catch (const ELaunchFolder& error) {
    ShowMessage(error.Message());
    return false;
  }
  SetupTrayIcon();
  WaitForTargetIdle(platform_, State);
  if (!DiscoverWindows()) return false;

  State.StartTime = platform_.Clock().Now();
  SetTimer(WatchTimerInterval);
  if (!State.CurrentCaption.empty()) TrayIcon.SetToolTip(State.CurrentCaption);
  for (TMenuItem* item :
       {&itmShowForm, &itmHideForm, &itmProgramInformation, &itmConfigProgram, &itmAboutOmbrix, &itmAppPopup}) {
    item->Enabled = true;
  }
  State.AboutOpen = false;
  State.InfoOpen = false;
  return true;
}

bool TVorel_Ombrix::TakeTarget(const std::string& commandLine) {
  const std::vector<std::string> arguments = SplitCommandLineArguments(commandLine);
  std::string target;
  if (arguments.empty()) {
    OpenFileRequest request;
    request.title = "Choose executable to minimize...";
    request.filter = "All files|*.*";
    request.defaultExtension = ".exe";
    request.pathMustExist = true;
    request.fileMustExist = true;
    if (!platform_.Dialogs().GetOpenFileNameA(request, target)) return false;
  } else {
    target = arguments[0];
    State.TargetParams = BuildTargetParams(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
  }
  if (!platform_.Files().FileExists(target)) {
    ShowMessage(target + "\r\nnot found!\r\nPlease verify your program location.");
    return false;
  }
  State.TargetFile = target;
  return true;
}

bool TVorel_Ombrix::Checkfilename() {
  const std::string extension = UpperExtension(platform_.Windows(), State.TargetFile);
  if (IsProgramExtension(extension)) return true;

  if (extension == ".LNK") {
    try {
      ShellLink.SetShellFolder(TShellFolder::sfNone);
      ShellLink.SetFileName(State.TargetFile);
      ShellLink.ReadLink();
    } catch (const std::exception&) {
      ShowMessage("Invalid shortcut.\r\nCould not read file: \r\n" + State.TargetFile);
      return false;
    }
    State.TargetFile = ShellLink.Target();
    State.TargetParams = ShellLink.Arguments();
    return true;
  }

  // A document: the program registered for its file type, under HKEY_CLASSES_ROOT.
  TRegistryEnhanced classes(platform_);
  classes.RootKey = TRootKey::hkClassesRoot;
  classes.Access = TAccess::kRead;
  const ReadClassDefault readDefault = [&classes](const std::string& keyPath) {
    classes.Key = keyPath;
    return classes.ReadValueDefault("", TVariant(std::string())).ToText();
  };
  const ExpandEnvironment expand = [this](const std::string& text) {
    return platform_.Processes().ExpandEnvironmentStringsA(text);
  };
  const DocumentCommand command =
      ResolveDocumentCommand(platform_.Windows(), State.TargetFile, extension, readDefault, expand);
  if (!command.resolved) {
    ShowMessage(command.errorText);
    return false;
  }
  State.TargetFile = command.targetFile;
  State.TargetParams = command.targetParams;
  return true;
}

void TVorel_Ombrix::LoadSettings() {
  TfrmConfiguration dialog(platform_, *this);
  CopySettingsFromDialog(dialog);
}

void TVorel_Ombrix::CopySettingsFromDialog(TfrmConfiguration& dialog) {
  State.Settings = dialog.CollectSettings();
  State.MainWindowIndex = DigitsToInt(State.Settings.MainHandle);
  WireClicks();
}

// What the dialog collects is what it shows: the icon position bounded by the file's icons,
// and the tray flags as its radio buttons hold them (the last flag on won). The rest stays
// as start-up read it, to be used at the next start.
void TVorel_Ombrix::CopyTraySettings(const TAppSettings& settings) {
  State.Settings.Icon = settings.Icon;
  State.Settings.IconNumber = settings.IconNumber;
  State.Settings.TrayTask = settings.TrayTask;
  State.Settings.TrayNoTask = settings.TrayNoTask;
  State.Settings.NoTrayTask = settings.NoTrayTask;
  State.Settings.NoTrayIcon = settings.NoTrayIcon;
  State.Settings.TrayDblClick = settings.TrayDblClick;
  State.Settings.HotKey = settings.HotKey;
  WireClicks();
}

bool TVorel_Ombrix::DiscoverWindows() {
  // The tray menu's "&Close" and the watch timer stay live in every box and dialog opened
  // here (test-mode reports, the question, the configuration); once either has closed
  // Ombrix, start-up must not go on to look again or arm the timer again.
  for (;;) {
    const bool found = FindTargetWindows(platform_, State, WindowsList);
    if (closed_) return false;
    if (found) return true;
    const std::string question = LaunchErrorText(State.LaunchError) +
                                 "\r\n\r\nChoose YES to retry getting handle\r\nChoose NO to configure this "
                                 "app\r\nChoose CANCEL to exit.\r\n\r\n"
                                 "(Wait delay is now " +
                                 IntToText(State.SecsToWait()) + " sec, you can increase it with \"Configure\".)";
    const int answer = platform_.Dialogs().MessageBoxA(platform_.Windows().GetDesktopWindow(), question, "Confirmation",
                                                       MB_YESNOCANCEL | MB_ICONINFORMATION | MB_SETFOREGROUND);
    if (closed_) return false;
    if (answer == IDYES) continue;
    if (answer != IDNO) return false;  // Cancel or the box closed: the target keeps running
    // Configure, then look again with what was saved; the target is not started again.
    OpenConfiguration([this](TfrmConfiguration& dialog) {
      CopySettingsFromDialog(dialog);
      SetupTrayIcon();
    });
    if (closed_) return false;
  }
}

// ---------------------------------------------------------------------------------------
// The tray icon and the target's visibility

void TVorel_Ombrix::WireClicks() {
  if (State.Settings.TrayDblClick == 1) {
    TrayIcon.OnClick = nullptr;
    TrayIcon.OnDblClick = [this](TTrayIcon&) { TrayIconDblClick(); };
  } else {
    TrayIcon.OnClick = [this](TTrayIcon&) { trayOnTrayIconClick(); };
    TrayIcon.OnDblClick = nullptr;
  }
}

void TVorel_Ombrix::SetupTrayIcon() {
  IIcons& icons = platform_.Icons();
  HICON picture = nullptr;
  // A longer name would reach the icon functions cut short and could name another file;
  // a negative index would ask for the count instead of an icon.
  if (!State.Settings.Icon.empty() && CharacterCount(State.Settings.Icon) <= MaxIconFileLength &&
      State.Settings.IconNumber >= 0) {
    try {
      picture = icons.ExtractIconA(State.Settings.Icon, State.Settings.IconNumber);
    } catch (const std::exception&) {
      picture = nullptr;
    }
  }
  if (IsNotAnIconFile(picture)) picture = nullptr;
  if (picture) {
    TrayIcon.SetIcon(picture);
  } else {
    TrayIcon.SetIcon(icons.LoadStandardIcon(IdiApplication), true);
  }
  TrayIcon.SetActive(false);
  if (!State.Settings.NoTrayIcon) PresentIcon(true);
  SetupHotKey();
}

void TVorel_Ombrix::SetupHotKey() {
  // As the icon, the key must not come back to a program that has ended.
  if (closed_) return;
  const std::int32_t hotKey = State.Settings.HotKey;
  if (TrayIcon.SetHotKey(hotKey) || hotKey == refusedHotKey_) return;
  refusedHotKey_ = hotKey;
  ShowMessage("The hot key " + HotKeyText(hotKey) + " of\r\n" + State.TargetFile +
              "\r\nis in use by another program. Ombrix goes on without it;\r\n"
              "\"Configure\" can give the program another one.");
}

std::string TVorel_Ombrix::HotKeyInfo() const {
  const std::int32_t hotKey = State.Settings.HotKey;
  if (!HotKeyKey(hotKey)) return "none";
  return HotKeyText(hotKey) + (TrayIcon.HotKey() == hotKey ? "" : " (in use by another program)");
}

void TVorel_Ombrix::PresentIcon(bool present) {
  // A dialog left open by the tray menu can still be saved after Ombrix has closed (the
  // watch timer ends Ombrix while the configuration is open); the icon must not come back
  // to a program that has ended.
  TrayIcon.SetActive(present && !closed_);
}

void TVorel_Ombrix::trayHideForm() {
  IWindowOps& windows = platform_.Windows();
  for (std::int32_t slot = State.WindowCount; slot >= 1; --slot) {
    const HWND window = State.WindowHandles.Get(slot);
    if (!window || !windows.IsWindow(window)) continue;
    State.WindowHidden.Set(slot, true);
    windows.ShowWindow(window, SW_HIDE);
  }
  if (State.Settings.TrayTask || State.Settings.TrayNoTask || State.Settings.NoTrayTask) {
    PresentIcon(true);
  } else if (State.Settings.NoTrayIcon) {
    PresentIcon(false);
  }
}

void TVorel_Ombrix::trayShowForm() {
  IWindowOps& windows = platform_.Windows();
  for (std::int32_t slot = State.WindowCount; slot >= 1; --slot) {
    const HWND window = State.WindowHandles.Get(slot);
    if (!window || !windows.IsWindow(window)) continue;
    State.WindowHidden.Set(slot, false);
    windows.ShowWindow(window, SW_RESTORE);
  }
  if (State.Settings.TrayTask || State.Settings.TrayNoTask) {
    PresentIcon(true);
  } else if (State.Settings.NoTrayTask || State.Settings.NoTrayIcon) {
    PresentIcon(false);
  }
  windows.SetForegroundWindow(MainWindow());
}

void TVorel_Ombrix::TrayIconDblClick() {
  // The recorded flag decides, not the window's real visibility.
  if (State.WindowHidden.Get(State.MainWindowIndex)) {
    trayShowForm();
  } else {
    trayHideForm();
  }
}

void TVorel_Ombrix::trayOnTrayIconClick() { TrayIconDblClick(); }

void TVorel_Ombrix::TrayIconRightClick(int, int) {
  IInput& input = platform_.Input();
  if (input.GetAsyncKeyState(VK_SHIFT) & 0x8000) {
    itmAppPopupClick();
    return;
  }
  ScreenPoint cursor;
  input.GetCursorPos(cursor);
  mnuTray.Popup(cursor.x, cursor.y);
}

void TVorel_Ombrix::itmAppPopupClick() {
  IInput& input = platform_.Input();
  const HWND main = MainWindow();
  const HMENU menu = input.GetSystemMenu(main, FALSE);
  ScreenPoint cursor;
  input.GetCursorPos(cursor);
  QueuedMessage message;
  while (input.PeekMessageA(applicationWindow_, message, true)) {
  }
  // Like the tray menu, this one takes the keyboard and closes on a click elsewhere only
  // with its owner in the foreground.
  platform_.Windows().SetForegroundWindow(applicationWindow_);
  input.TrackPopupMenu(menu, 0, cursor.x, cursor.y, applicationWindow_);
  // The chosen command arrives as a message to the menu's owner: hand the last one over to
  // the target, which carries it out.
  bool chosen = false;
  QueuedMessage last;
  while (input.PeekMessageA(applicationWindow_, message, false)) {
    last = message;
    chosen = true;
  }
  // Posted only now, so that it cannot be taken for the command.
  input.PostMessageA(applicationWindow_, WM_NULL, 0, 0);
  platform_.Windows().SetForegroundWindow(main);
  if (chosen) input.SendMessageA(main, last.message, last.wParam, last.lParam);
}

void TVorel_Ombrix::ApplyTraySettings(TfrmConfiguration& dialog) {
  CopyTraySettings(dialog.CollectSettings());
  SetupTrayIcon();
}

// ---------------------------------------------------------------------------------------
// The watch timer

void TVorel_Ombrix::tmrEventTimer() {
  const HWND main = MainWindow();
  if (!main || closed_) return;
  IWindowOps& windows = platform_.Windows();
  WindowPlacementInfo placement;
  if (!windows.GetWindowPlacement(main, placement)) {
    EndHandling();
    if (closed_) return;
  } else if (placement.showCmd == static_cast<UINT>(SW_SHOWMINIMIZED)) {
    trayHideForm();
  }
  State.CurrentCaption = windows.GetWindowTextA(main, 512);
  if (!State.CurrentCaption.empty()) TrayIcon.SetToolTip(State.CurrentCaption);
}

void TVorel_Ombrix::EndHandling() {
  // Whole seconds since the main window was found, days included.
  const long long elapsedMilliseconds = std::llround((platform_.Clock().Now() - State.StartTime) * MillisecondsPerDay);
  if (elapsedMilliseconds / 1000 >= QuickCloseSeconds || State.Settings.WarnQuickClose) {
    Close();
    return;
  }
  StopTimer();
  if (AskYesNo(platform_, ApplicationTitleText, QuickCloseQuestion) == IDYES) {
    OpenConfiguration([this](TfrmConfiguration& dialog) {
      CopySettingsFromDialog(dialog);
      SetupTrayIcon();
    });
  }
  Close();
}

// ---------------------------------------------------------------------------------------
// The tray menu

void TVorel_Ombrix::trayProgramInformation() {
  if (State.InfoOpen) return;
  const OpenFlag open(State.InfoOpen);
  TfrmProgramInfo dialog;
  ProgramInfoValues values;
  values.versionCaption = VersionCaption(platform_, OwnFile());
  values.fileName = State.TargetFile;
  values.parameters = State.TargetParams;
  values.windowCaption = State.CurrentCaption;
  values.processId = State.ProcessInfo.processId;
  values.threadId = State.ProcessInfo.threadId;
  values.mainWindow = MainWindow();
  values.hotKey = HotKeyInfo();
  dialog.ShowValues(values);
  formHost_.ShowModal(dialog, nullptr);
}

void TVorel_Ombrix::trayAboutOmbrix() {
  if (State.AboutOpen) return;
  const OpenFlag open(State.AboutOpen);
  TAboutVorelOmbrix dialog(platform_.Shell());
  dialog.lblProgramVersion.SetCaption(VersionCaption(platform_, OwnFile()));
  formHost_.ShowModal(dialog, nullptr);
}

void TVorel_Ombrix::trayConfigure() {
  OpenConfiguration([this](TfrmConfiguration& dialog) { ApplyTraySettings(dialog); });
}

bool TVorel_Ombrix::OpenConfiguration(const std::function<void(TfrmConfiguration&)>& onSaved) {
  if (State.ConfigOpen) return false;
  const OpenFlag open(State.ConfigOpen);
  TfrmConfiguration dialog(platform_, *this);
  dialog.lblProgramVersion.SetCaption(VersionCaption(platform_, OwnFile()));
  dialog.valueFilename.SetText(State.TargetFile);
  if (formHost_.ShowModal(dialog, nullptr) != mrOk) return false;
  if (onSaved) onSaved(dialog);
  return true;
}

void TVorel_Ombrix::itmSaveSettingsINIFileClick() {
  itmSaveSettingsINIFile.Checked = !itmSaveSettingsINIFile.Checked;
  try {
    RegistryEnhanced.WriteValue(ValueUseINIFile, TVariant(itmSaveSettingsINIFile.Checked));
  } catch (const ERegistryException& error) {
    // The switch still holds for this run; the user learns it will not be remembered.
    ShowMessage(error.Message(), MB_OK | MB_ICONERROR);
  }
}

void TVorel_Ombrix::itmUpdateOXClick() {
  const std::string folder = OwnFolder();
  platform_.Processes().WinExec("\"" + folder + "RenovoLauncher.exe\" \"" + folder + "Ombrix.duf\"", SW_SHOW);
}

// Ombrix has no window of its own to own the viewer and its notes.
void TVorel_Ombrix::itmHelpClick() { Help.ShowContents(platform_.Windows().GetDesktopWindow()); }

void TVorel_Ombrix::trayClose() {
  CloseTargetWindows();
  Close();
}

bool TVorel_Ombrix::CloseTargetWindows() {
  trayShowForm();
  for (std::int32_t slot = State.WindowCount; slot >= 1; --slot) {
    const HWND window = State.WindowHandles.Get(slot);
    if (window && platform_.Windows().IsWindow(window)) platform_.Input().SendMessageA(window, WM_CLOSE, 0, 0);
  }
  return true;
}

void TVorel_Ombrix::Close() {
  if (closed_) return;
  closed_ = true;
  FormClose();
  if (OnClosed) OnClosed();
}

void TVorel_Ombrix::CloseFromOutside() {
  if (closed_) return;
  // Ending with the target's windows hidden would leave a program running with no window
  // and no icon to bring it back.
  IWindowOps& windows = platform_.Windows();
  for (std::int32_t slot = State.WindowCount; slot >= 1; --slot) {
    if (!State.WindowHidden.Get(slot)) continue;
    const HWND window = State.WindowHandles.Get(slot);
    if (window && windows.IsWindow(window)) windows.ShowWindow(window, SW_RESTORE);
    State.WindowHidden.Set(slot, false);
  }
  Close();
}

void TVorel_Ombrix::FormClose() {
  if (TrayIcon.Active()) TrayIcon.SetActive(false);
  TrayIcon.SetHotKey(0);
  StopTimer();
}

}  // namespace ombrix
