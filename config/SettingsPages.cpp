#include "config/SettingsPages.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>

#include "base/NumberText.h"
#include "base/Utf8.h"
#include "config/TargetSettings.h"

namespace ombrix {

namespace {

constexpr char IconNumberCaption[] = "Current Icon Number : ";

// How a radio button shows its flag.
enum class TShown : unsigned char { kAsIs, kInverted };

// Which control of the pages shows which value of the entry: an edit box shows a text, a
// check box or radio button a flag, a combo box or radio group a number as the chosen item,
// the hot-key control its key. The other method's radio button shows the flag inverted and
// leaves collecting it to its partner. The icon file and the icon's position are the icon
// choice's; the file name is the holder's to show.
class TBinding {
 public:
  constexpr TBinding(TEdit TSettingsPages::*edit, TEntryField field) : kind_(Kind::kEdit), edit_(edit), field_(field) {}
  constexpr TBinding(TCheckBox TSettingsPages::*checkBox, TEntryField field)
      : kind_(Kind::kCheckBox), checkBox_(checkBox), field_(field) {}
  constexpr TBinding(TRadioButton TSettingsPages::*radioButton, TEntryField field, TShown shown = TShown::kAsIs)
      : kind_(Kind::kRadioButton), shown_(shown), radioButton_(radioButton), field_(field) {}
  constexpr TBinding(TComboBox TSettingsPages::*comboBox, TEntryField field)
      : kind_(Kind::kComboBox), comboBox_(comboBox), field_(field) {}
  constexpr TBinding(TRadioGroup TSettingsPages::*radioGroup, TEntryField field)
      : kind_(Kind::kRadioGroup), radioGroup_(radioGroup), field_(field) {}
  constexpr TBinding(THotKey TSettingsPages::*hotKey, TEntryField field)
      : kind_(Kind::kHotKey), hotKey_(hotKey), field_(field) {}

  // Whether the control shows a value of the field's type.
  constexpr bool ShowsItsField() const {
    switch (kind_) {
      case Kind::kEdit:
        return field_.Type() == TEntryValueType::kText;
      case Kind::kCheckBox:
      case Kind::kRadioButton:
        return field_.Type() == TEntryValueType::kFlag;
      case Kind::kComboBox:
      case Kind::kRadioGroup:
      case Kind::kHotKey:
        return field_.Type() == TEntryValueType::kNumber;
    }
    return false;
  }
  // Whether Collect sets `field`.
  constexpr bool Collects(const TEntryField& field) const { return shown_ == TShown::kAsIs && field_ == field; }
  constexpr const TEntryField& Field() const { return field_; }

  void Show(TSettingsPages& pages, const TAppSettings& settings) const {
    switch (kind_) {
      case Kind::kEdit:
        (pages.*edit_).SetText(field_.Text(settings));
        return;
      case Kind::kCheckBox:
        (pages.*checkBox_).SetChecked(field_.Flag(settings));
        return;
      case Kind::kRadioButton:
        (pages.*radioButton_).SetChecked(field_.Flag(settings) != (shown_ == TShown::kInverted));
        return;
      case Kind::kComboBox:
        (pages.*comboBox_).SetItemIndex(field_.Number(settings));
        return;
      case Kind::kRadioGroup:
        (pages.*radioGroup_).SetItemIndex(field_.Number(settings));
        return;
      case Kind::kHotKey:
        (pages.*hotKey_).SetHotKey(field_.Number(settings));
        return;
    }
    throw EProgramError("A setting is bound to a control of a kind the settings pages do not show");
  }

  void Collect(const TSettingsPages& pages, TAppSettings& settings) const {
    if (shown_ == TShown::kInverted) return;
    switch (kind_) {
      case Kind::kEdit:
        field_.SetText(settings, (pages.*edit_).Text());
        return;
      case Kind::kCheckBox:
        field_.SetFlag(settings, (pages.*checkBox_).Checked());
        return;
      case Kind::kRadioButton:
        field_.SetFlag(settings, (pages.*radioButton_).Checked());
        return;
      case Kind::kComboBox:
        field_.SetNumber(settings, (pages.*comboBox_).ItemIndex());
        return;
      case Kind::kRadioGroup:
        field_.SetNumber(settings, (pages.*radioGroup_).ItemIndex());
        return;
      case Kind::kHotKey:
        field_.SetNumber(settings, (pages.*hotKey_).HotKey());
        return;
    }
    throw EProgramError("A setting is bound to a control of a kind the settings pages do not collect");
  }

 private:
  enum class Kind : unsigned char { kEdit, kCheckBox, kRadioButton, kComboBox, kRadioGroup, kHotKey };
  Kind kind_;
  TShown shown_ = TShown::kAsIs;
  union {
    TEdit TSettingsPages::*edit_;
    TCheckBox TSettingsPages::*checkBox_;
    TRadioButton TSettingsPages::*radioButton_;
    TComboBox TSettingsPages::*comboBox_;
    TRadioGroup TSettingsPages::*radioGroup_;
    THotKey TSettingsPages::*hotKey_;
  };
  TEntryField field_;
};

// In this order the tray mode's radio buttons show the last flag that is on (checking one
// unchecks the others, unchecking one leaves them alone), and four flags off leave none on.
constexpr TBinding Bindings[] = {
    {&TSettingsPages::rbMinByProcess, &TAppSettings::MinimizeType},
    {&TSettingsPages::rbMinByName, &TAppSettings::MinimizeType, TShown::kInverted},
    {&TSettingsPages::ebxNbHandles, &TAppSettings::NbWindows},
    {&TSettingsPages::ebxMainHandle, &TAppSettings::MainHandle},
    {&TSettingsPages::ebxSecsToWait, &TAppSettings::SecsToWait},
    {&TSettingsPages::ebxWindowName, &TAppSettings::WindowCaption},
    {&TSettingsPages::cbShowState, &TAppSettings::ShowState},
    {&TSettingsPages::rgTrayDblClick, &TAppSettings::TrayDblClick},
    {&TSettingsPages::cbxDebugMode, &TAppSettings::DebugMode},
    {&TSettingsPages::cbxWarnCloseQuick, &TAppSettings::WarnQuickClose},
    {&TSettingsPages::cbPartialSearch, &TAppSettings::DoPartialSearch},
    {&TSettingsPages::cbUsePID, &TAppSettings::UsePID},
    {&TSettingsPages::rbTrayTask, &TAppSettings::TrayTask},
    {&TSettingsPages::rbTrayNoTask, &TAppSettings::TrayNoTask},
    {&TSettingsPages::rbNoTrayTask, &TAppSettings::NoTrayTask},
    {&TSettingsPages::rbNoTrayNoTask, &TAppSettings::NoTrayIcon},
    {&TSettingsPages::hkHotKey, &TAppSettings::HotKey},
};

constexpr bool ControlsShowTheirFields() {
  for (const TBinding& binding : Bindings) {
    if (!binding.ShowsItsField()) return false;
  }
  return true;
}
static_assert(ControlsShowTheirFields(), "a control is bound to a value of a type it does not show");

// The values the pages do not collect: the holder fills in the file name, and the icon
// choice gives the icon.
constexpr TEntryField CollectedElsewhere[] = {&TAppSettings::Filename, &TAppSettings::Icon, &TAppSettings::IconNumber};

constexpr std::size_t Collectors(const TEntryField& field) {
  std::size_t collectors = 0;
  for (const TBinding& binding : Bindings) {
    if (binding.Collects(field)) ++collectors;
  }
  return collectors;
}

constexpr bool CollectedElsewhereField(const TEntryField& field) {
  for (const TEntryField& elsewhere : CollectedElsewhere) {
    if (elsewhere == field) return true;
  }
  return false;
}

// Every value of the entry comes from exactly one control, or from elsewhere; a value shown
// inverted comes from its partner. A value that no control collected would be saved as 0.
constexpr bool EveryValueCollectedOnce() {
  for (const TEntryValue& value : EntryValues) {
    if (Collectors(value.Field) != (CollectedElsewhereField(value.Field) ? 0u : 1u)) return false;
  }
  for (const TBinding& binding : Bindings) {
    if (Collectors(binding.Field()) != 1) return false;
  }
  return true;
}
static_assert(EveryValueCollectedOnce(), "every value of the entry needs exactly one control that collects it");

}  // namespace

bool HotKeyLeavesTypingAlone(std::int32_t hotKey) {
  const UINT key = static_cast<UINT>(hotKey) & 0xFF;
  if (key >= VK_F2 && key <= VK_F24) return true;
  return key != 0 && key != VK_F1 && ((static_cast<UINT>(hotKey) >> 8) & (HOTKEYF_CONTROL | HOTKEYF_ALT)) != 0;
}

TSettingsPages::TSettingsPages(TForm& form, TPageControl& pages, Platform& platform,
                               std::function<std::string()> originalIconFile)
    : TFormPart(form), pages_(pages), platform_(platform), originalIconFile_(std::move(originalIconFile)) {
  lblWindowName.WordWrap = true;
  rbTrayNoTask.SetVisible(false);
  // A key pressed alone or with Shift alone would be taken from typing in every other
  // program: Ctrl and Alt join it (HotKeyLeavesTypingAlone).
  hkHotKey.InvalidCombinations = HKCOMB_NONE | HKCOMB_S;
  hkHotKey.InvalidModifiers = HOTKEYF_CONTROL | HOTKEYF_ALT;
  hkHotKey.FunctionKeysFree = true;
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
  for (const TBinding& binding : Bindings) binding.Show(*this, settings);
  ChooseIconFile(settings.Icon, settings.IconNumber);
}

TAppSettings TSettingsPages::CollectSettings() const {
  TAppSettings settings;
  for (const TBinding& binding : Bindings) binding.Collect(*this, settings);
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

int TSettingsPages::IconCount(const std::string& file) { return IconCountOf(platform_.Icons(), file); }

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
  const int count = IconCount(IconFile_);
  udIconNumber.SetMin(0);
  udIconNumber.SetMax(std::max(count - 1, 0));
  udIconNumber.SetPosition(IconPositionWithin(position, count));
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
