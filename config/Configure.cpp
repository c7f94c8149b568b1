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
  BorderStyle = TFormBorderStyle::bsToolWindow;
  Position = TPosition::poScreenCenter;
  HelpContext = HelpContextId;
  RegistryOp.RootKey = TRootKey::hkCurrentUser;
  RegistryOp.Key = SettingsKey;

  lblProgramName.Font.Size = 16;
  lblProgramName.Font.Bold = true;
  lblProgramName.Font.Color = clNavy;
  lblProgramVersion.Alignment = TAlignment::taRightJustify;
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
  // A registry error propagates: the host shows its message and the dialog stays open.
  store_.SaveSettings(CollectSettings(), opener_.SaveSettingsToIniFile());
  platform_.Dialogs().MessageBoxA(Handle(), SavedNote, opener_.ApplicationTitle(), MB_OK);
  SetModalResult(mrOk);
}

void TfrmConfiguration::btnDeleteClick(TControl&) {
  const int answer =
      platform_.Dialogs().MessageBoxA(Handle(), DeleteQuestion, "Confirmation", MB_YESNO | MB_ICONINFORMATION);
  if (answer == IDYES) {
    store_.DeleteSettings(valueFilename.Text());
    platform_.Dialogs().MessageBoxA(Handle(), DeletedNote, opener_.ApplicationTitle(), MB_OK);
  }
  SetModalResult(mrCancel);
}

void TfrmConfiguration::btnCancelClick(TControl&) { SetModalResult(mrCancel); }

void TfrmConfiguration::btnHelpClick(TControl&) { opener_.ShowHelpContents(); }

}  // namespace ombrix
