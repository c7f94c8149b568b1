#include "config/Configure.h"

#include <algorithm>
#include <initializer_list>

#include "platform/MiscUtils.h"

namespace ombrix {

namespace {

constexpr char SavedNote[] = "Please exit, and launch this\r\napplication again for changes\r\nto take place.";
constexpr char DeleteQuestion[] =
    "This will permanently delete the settings\r\nfor this appliaction.\r\nAre you sure you want to delete ?";
constexpr char DeletedNote[] = "Settings deleted.";
constexpr char IconNumberCaption[] = "Current Icon Number : ";

// The icon functions are given at most this many characters of a file name.
constexpr size_t MaxIconFileLength = 255;

}  // namespace

TfrmConfiguration::TfrmConfiguration(Platform& platform, IConfigurationOpener& opener)
    : TForm(ClassNameText, "Configure this program for Ombrix", 464, 390),
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
  lblWindowName.WordWrap = true;
  rbTrayNoTask.SetVisible(false);
  // The up-down moves the icon position itself; the dialog only redraws the preview.
  udIconNumber.Wrap = false;

  btnOk.Default = true;
  btnCancel.Cancel = true;
  btnOk.OnClick = Handler(&TfrmConfiguration::btnOkClick);
  btnDelete.OnClick = Handler(&TfrmConfiguration::btnDeleteClick);
  btnCancel.OnClick = Handler(&TfrmConfiguration::btnCancelClick);
  btnHelp.OnClick = Handler(&TfrmConfiguration::btnHelpClick);
  for (TEdit* box : {&ebxNbHandles, &ebxMainHandle, &ebxSecsToWait}) {
    box->OnExit = Handler(&TfrmConfiguration::ebxEditBoxesExit);
  }
  for (TRadioButton* method : {&rbMinByProcess, &rbMinByName}) {
    method->OnClick = Handler(&TfrmConfiguration::rbMinByProcessClick);
    method->OnKeyPress = KeyHandler(&TfrmConfiguration::rbMinByProcessKeyPress);
  }
  btnOriginalIcon.OnClick = Handler(&TfrmConfiguration::btnOriginalIconClick);
  btnCustom.OnClick = Handler(&TfrmConfiguration::btnCustomClick);
  udIconNumber.OnClick = UpDownHandler(&TfrmConfiguration::udIconNumberClick);
  SetActiveControl(&btnOk);

  FormCreate();
}

void TfrmConfiguration::FormCreate() {
  TAppSettings settings = DefaultAppSettings(opener_.TargetFile());
  store_.LoadSettings(settings);
  ShowSettings(settings);
  rbMinByProcessClick(rbMinByProcess);
}

void TfrmConfiguration::ShowSettings(const TAppSettings& settings) {
  valueFilename.SetText(settings.Filename);
  rbMinByProcess.SetChecked(settings.MinimizeType);
  rbMinByName.SetChecked(!settings.MinimizeType);
  ebxNbHandles.SetText(settings.NbWindows);
  ebxMainHandle.SetText(settings.MainHandle);
  ebxSecsToWait.SetText(settings.SecsToWait);
  ebxWindowName.SetText(settings.WindowCaption);
  cbShowState.SetItemIndex(settings.ShowState);
  rgTrayDblClick.SetItemIndex(settings.TrayDblClick);
  cbxDebugMode.SetChecked(settings.DebugMode);
  cbxWarnCloseQuick.SetChecked(settings.WarnQuickClose);
  cbPartialSearch.SetChecked(settings.DoPartialSearch);
  cbUsePID.SetChecked(settings.UsePID);
  // Turning one on turns the others off, turning one off leaves them alone: the last flag
  // that is on wins, and four flags off leave none on.
  rbTrayTask.SetChecked(settings.TrayTask);
  rbTrayNoTask.SetChecked(settings.TrayNoTask);
  rbNoTrayTask.SetChecked(settings.NoTrayTask);
  rbNoTrayNoTask.SetChecked(settings.NoTrayIcon);
  ChooseIconFile(settings.Icon, settings.IconNumber);
}

TAppSettings TfrmConfiguration::CollectSettings() const {
  TAppSettings settings;
  settings.Filename = valueFilename.Text();
  settings.MinimizeType = rbMinByProcess.Checked();
  settings.NbWindows = ebxNbHandles.Text();
  settings.MainHandle = ebxMainHandle.Text();
  settings.SecsToWait = ebxSecsToWait.Text();
  settings.ShowState = cbShowState.ItemIndex();
  settings.DebugMode = cbxDebugMode.Checked();
  settings.WarnQuickClose = cbxWarnCloseQuick.Checked();
  settings.WindowCaption = ebxWindowName.Text();
  settings.DoPartialSearch = cbPartialSearch.Checked();
  settings.UsePID = cbUsePID.Checked();
  settings.Icon = IconFile_;
  settings.IconNumber = static_cast<std::int16_t>(udIconNumber.Position());
  settings.TrayTask = rbTrayTask.Checked();
  settings.TrayNoTask = rbTrayNoTask.Checked();
  settings.NoTrayTask = rbNoTrayTask.Checked();
  settings.NoTrayIcon = rbNoTrayNoTask.Checked();
  settings.TrayDblClick = rgTrayDblClick.ItemIndex();
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
  const int answer = platform_.Dialogs().MessageBoxA(Handle(), DeleteQuestion, "Confirmation",
                                                     MB_YESNO | MB_ICONINFORMATION);
  if (answer == IDYES) {
    const TDeleteResult result = store_.DeleteSettings(valueFilename.Text());
    const UINT icon = result.Deleted() ? 0 : MB_ICONERROR;
    platform_.Dialogs().MessageBoxA(Handle(), DeleteOutcomeText(result), opener_.ApplicationTitle(), MB_OK | icon);
  }
  SetModalResult(mrCancel);
}

void TfrmConfiguration::btnCancelClick(TControl&) { SetModalResult(mrCancel); }

void TfrmConfiguration::btnHelpClick(TControl&) { opener_.ShowHelpContents(); }

void TfrmConfiguration::ebxEditBoxesExit(TControl&) {
  for (TEdit* box : {&ebxNbHandles, &ebxMainHandle, &ebxSecsToWait}) {
    box->SetText(IntToText(DigitsToInt(box->Text())));
  }
}

void TfrmConfiguration::rbMinByProcessClick(TControl&) {
  const bool byProcess = rbMinByProcess.Checked();
  for (TControl* processField :
       std::initializer_list<TControl*>{&lblThisProgramOpens, &ebxNbHandles, &lblHandleToCareAbout, &ebxMainHandle}) {
    processField->SetEnabled(byProcess);
  }
  for (TControl* nameField :
       std::initializer_list<TControl*>{&lblWindowName, &ebxWindowName, &cbPartialSearch, &cbUsePID}) {
    nameField->SetEnabled(!byProcess);
  }
}

void TfrmConfiguration::rbMinByProcessKeyPress(TControl& sender, char&) { rbMinByProcessClick(sender); }

int TfrmConfiguration::IconCount(const std::string& file) {
  // A longer name would reach the icon functions cut short and could name another file:
  // such a file offers no icons rather than someone else's.
  if (file.empty() || file.size() > MaxIconFileLength) return 0;
  const HICON count = platform_.Icons().ExtractIconA(file, -1);
  return static_cast<int>(reinterpret_cast<ULONG_PTR>(count));
}

void TfrmConfiguration::ShowIconPreview(const std::string& file, int index) {
  // Index -1 would ask for the count, which is no icon to show.
  if (index >= 0 && !file.empty() && file.size() <= MaxIconFileLength) {
    imgIcon.Picture.SetIcon(OwnedIcon(platform_.Icons(), platform_.Icons().ExtractIconA(file, index)));
  } else {
    imgIcon.Picture.Clear();
  }
  lblIconNumber.SetCaption(IconNumberCaption + IntToText(udIconNumber.Position()));
}

void TfrmConfiguration::ChooseIconFile(const std::string& file, int position) {
  IconFile_ = file;
  // A file without icons keeps the arrows at 0: a position of -1 would later ask the icon
  // functions for the count instead of an icon.
  const int maximum = std::max(IconCount(IconFile_) - 1, 0);
  udIconNumber.SetMin(0);
  udIconNumber.SetMax(maximum);
  udIconNumber.SetPosition(position < 0 || position > maximum ? 0 : position);
  ShowIconPreview(IconFile_, udIconNumber.Position());
}

void TfrmConfiguration::btnOriginalIconClick(TControl&) { ChooseIconFile(valueFilename.Text(), 0); }

void TfrmConfiguration::btnCustomClick(TControl&) {
  OpenFileRequest request;
  request.owner = Handle();
  request.title = "Choose the icon to be put in the tray";
  request.filter = "Icons, DLLs and EXEs|*.ico;*.dll;*.exe|Icons|*.ico|DLLs|*.dll|Executables|*.exe";
  request.filterIndex = 1;
  request.defaultExtension = "ico";
  request.pathMustExist = true;
  request.fileMustExist = true;
  std::string chosen;
  if (!platform_.Dialogs().GetOpenFileNameA(request, chosen)) return;
  ChooseIconFile(chosen, 0);
}

void TfrmConfiguration::udIconNumberClick(TControl&, TUDBtnType) {
  imgIcon.Picture.Clear();
  ShowIconPreview(IconFile_, udIconNumber.Position());
}

}  // namespace ombrix
