#include "config/SettingsPages.h"

#include <algorithm>
#include <initializer_list>

#include "base/NumberText.h"
#include "base/Utf8.h"

namespace ombrix {

namespace {

constexpr char IconNumberCaption[] = "Current Icon Number : ";

// Which control shows which value of the entry, by the control's name (as a dialog's controls
// are bound by their identifiers): an edit box shows a text, a check box or radio button a
// flag, a combo box or radio group a number as the chosen item, the hot-key control its key.
// The other method's radio button shows the flag inverted and leaves collecting it to its
// partner. The icon file and the icon's position are the icon choice's; the file name is the
// holder's to show.
struct TBinding {
  const char* Control;
  TEntryField Field;
  bool ShownInverted;
};
// In this order the tray mode's radio buttons show the last flag that is on (checking one
// unchecks the others, unchecking one leaves them alone), and four flags off leave none on.
constexpr TBinding Bindings[] = {
    {"rbMinByProcess", &TAppSettings::MinimizeType, false},
    {"rbMinByName", &TAppSettings::MinimizeType, true},
    {"ebxNbHandles", &TAppSettings::NbWindows, false},
    {"ebxMainHandle", &TAppSettings::MainHandle, false},
    {"ebxSecsToWait", &TAppSettings::SecsToWait, false},
    {"ebxWindowName", &TAppSettings::WindowCaption, false},
    {"cbShowState", &TAppSettings::ShowState, false},
    {"rgTrayDblClick", &TAppSettings::TrayDblClick, false},
    {"cbxDebugMode", &TAppSettings::DebugMode, false},
    {"cbxWarnCloseQuick", &TAppSettings::WarnQuickClose, false},
    {"cbPartialSearch", &TAppSettings::DoPartialSearch, false},
    {"cbUsePID", &TAppSettings::UsePID, false},
    {"rbTrayTask", &TAppSettings::TrayTask, false},
    {"rbTrayNoTask", &TAppSettings::TrayNoTask, false},
    {"rbNoTrayTask", &TAppSettings::NoTrayTask, false},
    {"rbNoTrayNoTask", &TAppSettings::NoTrayIcon, false},
    {"hkHotKey", &TAppSettings::HotKey, false},
};

TControl& BoundControl(const TForm& form, const TBinding& binding) {
  TControl* control = form.FindControl(binding.Control);
  if (!control) throw EProgramError("A setting is bound to a control that does not exist");
  return *control;
}

}  // namespace

TSettingsPages::TSettingsPages(TForm& form, TPageControl& pages, Platform& platform,
                               std::function<std::string()> originalIconFile)
    : TFormPart(form), pages_(pages), platform_(platform), originalIconFile_(std::move(originalIconFile)) {
  lblWindowName.WordWrap = true;
  rbTrayNoTask.SetVisible(false);
  // A key pressed alone would be taken from every other program: Ctrl and Alt join it.
  hkHotKey.InvalidCombinations = HKCOMB_NONE;
  hkHotKey.InvalidModifiers = HOTKEYF_CONTROL | HOTKEYF_ALT;
  hkHotKey.Hint = "Press the keys that hide and show this program from anywhere (Backspace: none)";
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
  for (const TBinding& binding : Bindings) {
    TControl& control = BoundControl(Form(), binding);
    const TEntryField& field = binding.Field;
    switch (control.Kind()) {
      case TControlKind::kEdit:
        static_cast<TEdit&>(control).SetText(field.Text(settings));
        break;
      case TControlKind::kCheckBox:
        static_cast<TCheckBox&>(control).SetChecked(field.Flag(settings));
        break;
      case TControlKind::kRadioButton:
        static_cast<TRadioButton&>(control).SetChecked(field.Flag(settings) != binding.ShownInverted);
        break;
      case TControlKind::kComboBox:
        static_cast<TComboBox&>(control).SetItemIndex(field.Number(settings));
        break;
      case TControlKind::kHotKey:
        static_cast<THotKey&>(control).SetHotKey(field.Number(settings));
        break;
      default:
        static_cast<TRadioGroup&>(control).SetItemIndex(field.Number(settings));
        break;
    }
  }
  ChooseIconFile(settings.Icon, settings.IconNumber);
}

TAppSettings TSettingsPages::CollectSettings() const {
  TAppSettings settings;
  for (const TBinding& binding : Bindings) {
    if (binding.ShownInverted) continue;
    const TControl& control = BoundControl(Form(), binding);
    const TEntryField& field = binding.Field;
    switch (control.Kind()) {
      case TControlKind::kEdit:
        field.SetText(settings, static_cast<const TEdit&>(control).Text());
        break;
      case TControlKind::kCheckBox:
        field.SetFlag(settings, static_cast<const TCheckBox&>(control).Checked());
        break;
      case TControlKind::kRadioButton:
        field.SetFlag(settings, static_cast<const TRadioButton&>(control).Checked());
        break;
      case TControlKind::kComboBox:
        field.SetNumber(settings, static_cast<const TComboBox&>(control).ItemIndex());
        break;
      case TControlKind::kHotKey:
        field.SetNumber(settings, static_cast<const THotKey&>(control).HotKey());
        break;
      default:
        field.SetNumber(settings, static_cast<const TRadioGroup&>(control).ItemIndex());
        break;
    }
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
  if (file.empty() || CharacterCount(file) > MaxIconFileLength) return 0;
  const HICON count = platform_.Icons().ExtractIconA(file, -1);
  return static_cast<int>(reinterpret_cast<ULONG_PTR>(count));
}

void TSettingsPages::ShowIconPreview(const std::string& file, int index) {
  // Index -1 would ask for the count, which is no icon to show.
  if (index >= 0 && !file.empty() && CharacterCount(file) <= MaxIconFileLength) {
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
