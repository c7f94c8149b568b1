#include "runtime/TrayMenu.h"

#include "base/NumberText.h"
#include "config/About.h"
#include "help/HelpContexts.h"
#include "platform/MiscUtils.h"
#include "runtime/OmbrixSelf.h"
#include "runtime/ProgInfo.h"
#include "runtime/TrayHint.h"
#include "settings/AppSettings.h"

namespace ombrix {

namespace {

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

void Raise(const std::function<void()>& event) {
  if (event) event();
}

}  // namespace

TTrayMenu::TTrayMenu(Platform& platform, IFormHost& formHost, const TTarget& target, const TTrayIconOwner& tray,
                     HWND applicationWindow)
    : platform_(platform),
      formHost_(formHost),
      target_(target),
      tray_(tray),
      applicationWindow_(applicationWindow),
      help_(platform, HelpFileName, OmbrixTitle),
      registry_(platform),
      mnuTray(platform),
      itmShowForm(mnuTray.Add("itmShowForm", "&Show program window", [this](TMenuItem&) { Raise(OnShow); })),
      itmHideForm(mnuTray.Add("itmHideForm", "&Hide program window", [this](TMenuItem&) { Raise(OnHide); })),
      itmProgramInformation(mnuTray.Add("itmProgramInformation", "Program &information",
                                        [this](TMenuItem&) { trayProgramInformation(); })),
      itmConfigProgram(mnuTray.Add("itmConfigProgram", "&Configure", [this](TMenuItem&) { trayConfigure(); })),
      itmAppPopup(mnuTray.Add("itmAppPopup", "Application's system menu (Shft+RightClick)",
                              [this](TMenuItem&) { itmAppPopupClick(); })),
      itmSaveSettingsINIFile(mnuTray.Add("itmSaveSettingsINIFile", "&Save settings to INI file instead of registry",
                                         [this](TMenuItem&) { itmSaveSettingsINIFileClick(); })),
      itmTrayHints(mnuTray.Add("itmTrayHints", "Show &tray icon hints", [this](TMenuItem&) { itmTrayHintsClick(); })),
      itmAboutOmbrix(mnuTray.Add("itmAboutOmbrix", "A&bout Ombrix...", [this](TMenuItem&) { trayAboutOmbrix(); })),
      itmUpdateOX(mnuTray.Add("itmUpdateOX", "&Update Ombrix", [this](TMenuItem&) { itmUpdateOXClick(); })),
      itmHelp(mnuTray.Add("itmHelp", "&Help", [this](TMenuItem&) { itmHelpClick(); })),
      itmSep1(mnuTray.AddSeparator("itmSep1")),
      itmClose(mnuTray.Add("itmClose", "&Close", [this](TMenuItem&) { Raise(OnClose); })) {
  registry_.RootKey = TRootKey::hkCurrentUser;
  registry_.Key = SettingsKey;

  // Until start-up has found the target, only the INI switch, update, help and close work.
  for (TMenuItem* item :
       {&itmShowForm, &itmHideForm, &itmProgramInformation, &itmConfigProgram, &itmAppPopup, &itmAboutOmbrix}) {
    item->Enabled = false;
  }
  itmSaveSettingsINIFile.Checked = true;
  itmTrayHints.Checked = true;
  mnuTray.HelpContext = HelpContexts::TrayMenu;
  for (int i = 0; i < mnuTray.Count(); ++i) mnuTray.Item(i).HelpContext = HelpContexts::TrayMenu;
  for (TMenuItem* item : {&itmSaveSettingsINIFile, &itmUpdateOX, &itmHelp}) item->HelpContext = 0;
  mnuTray.Alignment = TPopupAlignment::kRight;
  mnuTray.TrackButton = TTrackButton::kRightButton;
  mnuTray.OnHelp = [this](int context) { help_.ShowTopic(platform_.Windows().GetDesktopWindow(), context); };
}

std::string TTrayMenu::ApplicationTitle() const { return OmbrixTitle; }

void TTrayMenu::ReadSaveSwitch() {
  itmSaveSettingsINIFile.Checked =
      registry_.ReadValueDefault(ValueUseINIFile, TVariant(itmSaveSettingsINIFile.Checked)).ToBool();
  itmTrayHints.Checked = registry_.ReadValueDefault(ValueTrayHints, TVariant(true)).ToBool();
}

void TTrayMenu::IconAdded(TTrayIcon& icon) {
  if (hintLooked_ || !itmTrayHints.Checked || icon.Id() == 0) return;
  hintLooked_ = true;
  // Read as the other switches are: a value of another type counts as no hint given yet.
  std::string hinted = " " + registry_.ReadValueDefault(ValueTrayHintsShown, TVariant()).ToText();
  const std::string id = IntToText(static_cast<std::int32_t>(icon.Id())) + " ";
  if (hinted.find(" " + id) != std::string::npos) return;
  const bool windows11 = platform_.Shell().RtlGetVersionBuild() >= Windows11Build;
  if (!icon.ShowBalloon(OmbrixTitle, TrayHintText(icon.ToolTip(), windows11))) return;
  // Not remembered, the hint comes again at the next run: better than an error box now.
  hinted += id;
  WriteSwitch(ValueTrayHintsShown, TVariant(hinted.substr(1)), false);
}

void TTrayMenu::EnableTargetCommands() {
  for (TMenuItem* item :
       {&itmShowForm, &itmHideForm, &itmProgramInformation, &itmConfigProgram, &itmAboutOmbrix, &itmAppPopup}) {
    item->Enabled = true;
  }
  aboutOpen_ = false;
  infoOpen_ = false;
}

void TTrayMenu::Popup(int x, int y) {
  if (platform_.Input().GetAsyncKeyState(VK_SHIFT) & 0x8000) {
    itmAppPopupClick();
    return;
  }
  mnuTray.Popup(x, y);
}

void TTrayMenu::trayProgramInformation() {
  if (infoOpen_) return;
  const OpenFlag open(infoOpen_);
  TfrmProgramInfo dialog;
  ProgramInfoValues values;
  values.versionCaption = VersionCaption(platform_, OwnFile(platform_));
  values.fileName = target_.File();
  values.parameters = target_.Params();
  values.windowCaption = target_.Caption();
  values.processId = target_.Process().processId;
  values.threadId = target_.Process().threadId;
  values.mainWindow = target_.MainWindow();
  if (values.mainWindow) {
    platform_.Windows().GetWindowThreadProcessId(values.mainWindow, &values.windowProcessId);
    values.windowProgramFile = platform_.Processes().QueryFullProcessImageNameA(values.windowProcessId);
  }
  values.hotKey = tray_.HotKeyInfo(target_.Settings().HotKey);
  dialog.ShowValues(values);
  formHost_.ShowModal(dialog, nullptr);
}

void TTrayMenu::trayAboutOmbrix() {
  if (aboutOpen_) return;
  const OpenFlag open(aboutOpen_);
  TAboutVorelOmbrix dialog(platform_.Shell());
  dialog.lblProgramVersion.SetCaption(VersionCaption(platform_, OwnFile(platform_)));
  formHost_.ShowModal(dialog, nullptr);
}

void TTrayMenu::trayConfigure() {
  OpenConfiguration([this](const TAppSettings& saved) {
    if (OnConfigured) OnConfigured(saved);
  });
}

bool TTrayMenu::OpenConfiguration(const std::function<void(const TAppSettings&)>& onSaved) {
  if (configOpen_) return false;
  const OpenFlag open(configOpen_);
  TfrmConfiguration dialog(platform_, *this);
  dialog.lblProgramVersion.SetCaption(VersionCaption(platform_, OwnFile(platform_)));
  dialog.valueFilename.SetText(target_.File());
  if (formHost_.ShowModal(dialog, nullptr) != mrOk) return false;
  if (onSaved) onSaved(dialog.CollectSettings());
  return true;
}

void TTrayMenu::itmAppPopupClick() {
  IInput& input = platform_.Input();
  const HWND main = target_.MainWindow();
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

void TTrayMenu::itmSaveSettingsINIFileClick() { SwitchStore(!itmSaveSettingsINIFile.Checked); }

void TTrayMenu::SwitchStore(bool useIniFile) {
  itmSaveSettingsINIFile.Checked = useIniFile;
  // The switch still holds for this run; the user learns it will not be remembered.
  WriteSwitch(ValueUseINIFile, TVariant(useIniFile), true);
}

void TTrayMenu::itmTrayHintsClick() {
  itmTrayHints.Checked = !itmTrayHints.Checked;
  WriteSwitch(ValueTrayHints, TVariant(itmTrayHints.Checked), true);
}

void TTrayMenu::WriteSwitch(const char* name, const TVariant& value, bool tellFailure) {
  try {
    registry_.WriteValue(name, value);
  } catch (const ERegistryException& error) {
    if (tellFailure) ShowOwnMessage(platform_, error.Message(), MB_OK | MB_ICONERROR);
  }
}

void TTrayMenu::itmUpdateOXClick() {
  const std::string folder = OwnFolder(platform_);
  platform_.Processes().WinExec("\"" + folder + "RenovoLauncher.exe\" \"" + folder + "Ombrix.duf\"", SW_SHOW);
}

// Ombrix has no window of its own to own the viewer and its notes.
void TTrayMenu::itmHelpClick() { help_.ShowContents(platform_.Windows().GetDesktopWindow()); }

}  // namespace ombrix
