#include "config/Configure.h"

#include "settings/IniFiles.h"

namespace ombrix {

namespace {

constexpr char SavedNote[] = "Please exit, and launch this\r\napplication again for changes\r\nto take place.";
constexpr char DeleteQuestion[] =
    "This will permanently delete the settings\r\nfor this appliaction.\r\nAre you sure you want to delete ?";
constexpr char DeletedNote[] = "Settings deleted.";
// After the INI file's own "Unable to write to <file>".
constexpr char SavedInRegistryNote[] =
    "The settings were saved in the registry instead, and will be saved there from now on: \"Save settings to "
    "INI file instead of registry\" in the tray menu is now unchecked.";

}  // namespace

TfrmConfiguration::TfrmConfiguration(Platform& platform, IConfigurationOpener& opener)
    : TForm(ClassNameText, "Configure this program for Ombrix", 464, 390),
      Pages(*this, pcConfig, platform, [this] { return valueFilename.Text(); }),
      RegistryOp(platform),
      platform_(platform),
      opener_(opener),
      store_(platform, RegistryOp) {
  BorderStyle = TFormBorderStyle::kToolWindow;
  Position = TPosition::kScreenCenter;
  HelpContext = HelpContextId;
  ShowHint = true;
  RegistryOp.RootKey = TRootKey::hkCurrentUser;
  RegistryOp.Key = SettingsKey;

  lblProgramName.Font.Size = 16;
  lblProgramName.Font.Bold = true;
  lblProgramName.Font.Color = clNavy;
  lblProgramVersion.Alignment = TAlignment::kRightJustify;
  valueFilename.Color = clBtnFace;

  btnOk.Default = true;
  btnCancel.Cancel = true;
  btnOk.OnClick = Handler(&TfrmConfiguration::btnOkClick);
  btnDelete.OnClick = Handler(&TfrmConfiguration::btnDeleteClick);
  btnCancel.OnClick = Handler(&TfrmConfiguration::btnCancelClick);
  btnHelp.OnClick = Handler(&TfrmConfiguration::btnHelpClick);
  SetActiveControl(&btnOk);

  FormCreate();
}

void TfrmConfiguration::FormCreate() {
  TAppSettings settings = DefaultAppSettings(opener_.TargetFile());
  store_.LoadSettings(settings);
  valueFilename.SetText(settings.Filename);
  Pages.ShowSettings(settings);
  Pages.rbMinByProcessClick(Pages.rbMinByProcess);
}

TAppSettings TfrmConfiguration::CollectSettings() const {
  TAppSettings settings = Pages.CollectSettings();
  settings.Filename = valueFilename.Text();
  return settings;
}

void TfrmConfiguration::btnOkClick(TControl&) {
  // A failed save propagates (the registry's error): the host shows its message and the
  // dialog stays open, to be saved again or cancelled.
  const TAppSettings settings = CollectSettings();
  std::string note = SavedNote;
  if (!opener_.SaveSettingsToIniFile()) {
    store_.SaveSettings(settings, false);
  } else {
    try {
      store_.SaveSettings(settings, true);
    } catch (const EIniFileException& error) {
      // A folder Ombrix cannot write (the zip extracted into Program Files, a locked-down
      // share): the registry keeps the entry instead, and later saves go there too rather
      // than fail the same way.
      store_.SaveSettings(settings, false);
      opener_.SaveSettingsToRegistryFromNowOn();
      note = error.Message() + "\r\n\r\n" + SavedInRegistryNote + "\r\n\r\n" + SavedNote;
    }
  }
  platform_.Dialogs().MessageBoxA(Handle(), note, opener_.ApplicationTitle(), MB_OK);
  SetModalResult(mrOk);
}

namespace {

// What the user is told after a delete: done only when the entry is gone from both stores.
std::string DeleteOutcomeText(const TDeleteResult& result) {
  if (result.Deleted()) return DeletedNote;
  std::string where;
  if (result.LeftInRegistry) where = "the registry";
  if (result.LeftInIni) where += (where.empty() ? "" : " and from ") + std::string("the INI file ") + result.IniFile;
  return "The settings could not be deleted from " + where + ".";
}

}  // namespace

void TfrmConfiguration::btnDeleteClick(TControl&) {
  const int answer =
      platform_.Dialogs().MessageBoxA(Handle(), DeleteQuestion, "Confirmation", MB_YESNO | MB_ICONINFORMATION);
  if (answer == IDYES) {
    const TDeleteResult result = store_.DeleteSettings(valueFilename.Text());
    const UINT icon = result.Deleted() ? 0 : MB_ICONERROR;
    platform_.Dialogs().MessageBoxA(Handle(), DeleteOutcomeText(result), opener_.ApplicationTitle(), MB_OK | icon);
  }
  SetModalResult(mrCancel);
}

void TfrmConfiguration::btnCancelClick(TControl&) { SetModalResult(mrCancel); }

void TfrmConfiguration::btnHelpClick(TControl&) { opener_.ShowHelpContents(); }

}  // namespace ombrix
