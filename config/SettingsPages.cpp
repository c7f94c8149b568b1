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
    : TFormPart(form),
      pages_(pages),
      platform_(platform),
      originalIconFile_(std::move(originalIconFile)),
      bindings_{
          {rbMinByProcess, &TAppSettings::MinimizeType},
          {rbMinByName, &TAppSettings::MinimizeType, true},
          {ebxNbHandles, &TAppSettings::NbWindows},
          {ebxMainHandle, &TAppSettings::MainHandle},
          {ebxSecsToWait, &TAppSettings::SecsToWait},
          {ebxWindowName, &TAppSettings::WindowCaption},
          {cbShowState, &TAppSettings::ShowState},
          {rgTrayDblClick, &TAppSettings::TrayDblClick},
          {cbxDebugMode, &TAppSettings::DebugMode},
          {cbxWarnCloseQuick, &TAppSettings::WarnQuickClose},
          {cbPartialSearch, &TAppSettings::DoPartialSearch},
          {cbUsePID, &TAppSettings::UsePID},
          {rbTrayTask, &TAppSettings::TrayTask},
          {rbTrayNoTask, &TAppSettings::TrayNoTask},
          {rbNoTrayTask, &TAppSettings::NoTrayTask},
          {rbNoTrayNoTask, &TAppSettings::NoTrayIcon},
      } {
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
  // In table order: of the tray mode's radio buttons, the last one whose flag is on stays on
  // (checking one unchecks the others, unchecking one leaves them alone), and four flags off
  // leave none on.
  for (const TBinding& binding : bindings_) {
    const TVariant value = binding.Field.Get(settings);
    TControl& control = binding.Control;
    switch (control.Kind()) {
      case TControlKind::Edit:
        static_cast<TEdit&>(control).SetText(value.ToText());
        break;
      case TControlKind::CheckBox:
        static_cast<TCheckBox&>(control).SetChecked(value.ToBool());
        break;
      case TControlKind::RadioButton:
        static_cast<TRadioButton&>(control).SetChecked(value.ToBool() != binding.ShownInverted);
        break;
      case TControlKind::ComboBox:
        static_cast<TComboBox&>(control).SetItemIndex(value.ToInteger());
        break;
      case TControlKind::RadioGroup:
        static_cast<TRadioGroup&>(control).SetItemIndex(value.ToInteger());
        break;
      default:
        throw EProgramError(control.Name() + " cannot show a setting");
    }
  }
  ChooseIconFile(settings.Icon, settings.IconNumber);
}

TAppSettings TSettingsPages::CollectSettings() const {
  TAppSettings settings;
  for (const TBinding& binding : bindings_) {
    if (binding.ShownInverted) continue;
    const TControl& control = binding.Control;
    TVariant value;
    switch (control.Kind()) {
      case TControlKind::Edit:
        value = static_cast<const TEdit&>(control).Text();
        break;
      case TControlKind::CheckBox:
        value = static_cast<const TCheckBox&>(control).Checked();
        break;
      case TControlKind::RadioButton:
        value = static_cast<const TRadioButton&>(control).Checked();
        break;
      case TControlKind::ComboBox:
        value = static_cast<std::int32_t>(static_cast<const TComboBox&>(control).ItemIndex());
        break;
      case TControlKind::RadioGroup:
        value = static_cast<std::int32_t>(static_cast<const TRadioGroup&>(control).ItemIndex());
        break;
      default:
        throw EProgramError(control.Name() + " cannot give a setting");
    }
    binding.Field.Set(settings, value);
  }
  settings.Icon = IconFile_;
  settings.IconNumber = static_cast<std::int16_t>(udIconNumber.Position());
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
