#include "config/SettingsPages.h"

#include <algorithm>
#include <initializer_list>

#include "platform/MiscUtils.h"

namespace ombrix {

namespace {

constexpr char IconNumberCaption[] = "Current Icon Number : ";

// The icon functions are given at most this many characters of a file name.
constexpr size_t MaxIconFileLength = 255;

}  // namespace

TSettingsPages::TSettingsPages(TForm& form, TPageControl& pages, Platform& platform,
                               std::function<std::string()> originalIconFile)
    : TFormPart(form), pages_(pages), platform_(platform), originalIconFile_(std::move(originalIconFile)) {
  lblWindowName.WordWrap = true;
  rbTrayNoTask.SetVisible(false);
  // The up-down moves the icon position itself; the pages only redraw the preview.
  udIconNumber.Wrap = false;

  for (TEdit* box : {&ebxNbHandles, &ebxMainHandle, &ebxSecsToWait}) {
    box->OnExit = Handler(&TSettingsPages::ebxEditBoxesExit);
  }
  for (TRadioButton* method : {&rbMinByProcess, &rbMinByName}) {
    method->OnClick = Handler(&TSettingsPages::rbMinByProcessClick);
    method->OnKeyPress = KeyHandler(&TSettingsPages::rbMinByProcessKeyPress);
  }
  btnOriginalIcon.OnClick = Handler(&TSettingsPages::btnOriginalIconClick);
  btnCustom.OnClick = Handler(&TSettingsPages::btnCustomClick);
  udIconNumber.OnClick = UpDownHandler(&TSettingsPages::udIconNumberClick);
}

void TSettingsPages::ShowSettings(const TAppSettings& settings) {
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

TAppSettings TSettingsPages::CollectSettings() const {
  TAppSettings settings;
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

void TSettingsPages::ebxEditBoxesExit(TControl&) {
  for (TEdit* box : {&ebxNbHandles, &ebxMainHandle, &ebxSecsToWait}) {
    box->SetText(IntToText(DigitsToInt(box->Text())));
  }
}

void TSettingsPages::rbMinByProcessClick(TControl&) {
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

void TSettingsPages::rbMinByProcessKeyPress(TControl& sender, char&) { rbMinByProcessClick(sender); }

int TSettingsPages::IconCount(const std::string& file) {
  // A longer name would reach the icon functions cut short and could name another file:
  // such a file offers no icons rather than someone else's.
  if (file.empty() || file.size() > MaxIconFileLength) return 0;
  const HICON count = platform_.Icons().ExtractIconA(file, -1);
  return static_cast<int>(reinterpret_cast<ULONG_PTR>(count));
}

void TSettingsPages::ShowIconPreview(const std::string& file, int index) {
  // Index -1 would ask for the count, which is no icon to show.
  if (index >= 0 && !file.empty() && file.size() <= MaxIconFileLength) {
    imgIcon.Picture.SetIcon(OwnedIcon(platform_.Icons(), platform_.Icons().ExtractIconA(file, index)));
  } else {
    imgIcon.Picture.Clear();
  }
  lblIconNumber.SetCaption(IconNumberCaption + IntToText(udIconNumber.Position()));
}

void TSettingsPages::ChooseIconFile(const std::string& file, int position) {
  IconFile_ = file;
  // A file without icons keeps the arrows at 0: a position of -1 would later ask the icon
  // functions for the count instead of an icon.
  const int maximum = std::max(IconCount(IconFile_) - 1, 0);
  udIconNumber.SetMin(0);
  udIconNumber.SetMax(maximum);
  udIconNumber.SetPosition(position < 0 || position > maximum ? 0 : position);
  ShowIconPreview(IconFile_, udIconNumber.Position());
}

void TSettingsPages::btnOriginalIconClick(TControl&) { ChooseIconFile(originalIconFile_(), 0); }

void TSettingsPages::btnCustomClick(TControl&) {
  OpenFileRequest request;
  request.owner = Form().Handle();
  request.title = "Choose the icon to be put in the tray";
  request.filter = "Icons, DLLs and EXEs|*.ico;*.dll;*.exe|Icons|*.ico|DLLs|*.dll|Executables|*.exe";
  request.filterIndex = 1;
  request.defaultExtension = "ico";
  request.pathMustExist = true;
  request.fileMustExist = true;
  request.helpContext = IconDialogHelpContext;
  std::string chosen;
  if (!platform_.Dialogs().GetOpenFileNameA(request, chosen)) return;
  ChooseIconFile(chosen, 0);
}

void TSettingsPages::udIconNumberClick(TControl&, TUDBtnType) {
  imgIcon.Picture.Clear();
  ShowIconPreview(IconFile_, udIconNumber.Position());
}

}  // namespace ombrix
