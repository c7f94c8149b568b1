#include "config/Configure.h"

namespace ombrix {

namespace {

constexpr char SavedNote[] = "Please exit, and launch this\r\napplication again for changes\r\nto take place.";
constexpr char DeleteQuestion[] =
    "This will permanently delete the settings\r\nfor this appliaction.\r\nAre you sure you want to delete ?";
constexpr char DeletedNote[] = "Settings deleted.";

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
  // A failed save propagates (the registry's error, or the INI file's "Unable to write to"):
  // the host shows its message and the dialog stays open, to be saved again or cancelled.
  store_.SaveSettings(CollectSettings(), opener_.SaveSettingsToIniFile());
  platform_.Dialogs().MessageBoxA(Handle(), SavedNote, opener_.ApplicationTitle(), MB_OK);
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
