#include "controls/FormEngine.h"

#include <algorithm>

#include "base/AsciiCase.h"
#include "base/Exception.h"

namespace ombrix {

namespace {

// The letter a caption marks with "&" ("&&" is a plain ampersand); 0 without one.
char MnemonicOf(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return AsciiUpperCase(caption[i + 1]);
  }
  return 0;
}

}  // namespace

FormEngine::FormEngine(TForm& form, IDialogs& dialogs, const FormHostOptions& options)
    : form_(form), dialogs_(dialogs), options_(options) {}

void FormEngine::Run(TCallbackRef handler) {
  try {
    handler();
  } catch (const EProgramError&) {
    throw;
  } catch (const std::exception& error) {
    ShowError(error.what());
  }
}

void FormEngine::ShowError(const std::string& message) {
  dialogs_.MessageBoxA(form_.Handle(), message, options_.ApplicationTitle, MB_OK | MB_ICONERROR);
}

void FormEngine::Opening() {
  form_.SetModalResult(mrNone);
  TControl* first = form_.ActiveControl();
  if (!first || !first->Focusable() || !first->Usable()) {
    const auto sequence = form_.TabSequence();
    first = sequence.empty() ? nullptr : sequence.front();
  }
  form_.SetActiveControl(first);
  if (form_.OnShow) Run(form_.OnShow);
}

bool FormEngine::Focus(TControl& control) {
  if (Closed() || !control.Focusable() || !control.Usable()) return false;
  TControl* previous = form_.ActiveControl();
  if (previous == &control) return true;
  form_.SetActiveControl(&control);
  if (previous && previous->OnExit) Run([previous] { previous->OnExit(*previous); });
  return true;
}

void FormEngine::ClickButton(TButton& button) {
  // The button's own result first, so that its handler can still take it back.
  if (button.ModalResult != mrNone) form_.SetModalResult(button.ModalResult);
  if (button.OnClick) Run([&button] { button.OnClick(button); });
}

void FormEngine::RunClick(TControl& control) {
  switch (control.Kind()) {
    case TControlKind::kButton:
      ClickButton(static_cast<TButton&>(control));
      break;
    case TControlKind::kCheckBox: {
      auto& box = static_cast<TCheckBox&>(control);
      box.SetChecked(!box.Checked());
      if (box.OnClick) Run([&box] { box.OnClick(box); });
      break;
    }
    case TControlKind::kRadioButton: {
      auto& radio = static_cast<TRadioButton&>(control);
      radio.SetChecked(true);
      if (radio.OnClick) Run([&radio] { radio.OnClick(radio); });
      break;
    }
    case TControlKind::kLabel:
    case TControlKind::kLabel3D: {
      auto& label = static_cast<TLabel&>(control);
      if (label.OnClick) Run([&label] { label.OnClick(label); });
      break;
    }
    case TControlKind::kImage: {
      auto& image = static_cast<TImage&>(control);
      if (image.OnClick) Run([&image] { image.OnClick(image); });
      break;
    }
    default:
      break;
  }
}

bool FormEngine::Click(TControl& control) {
  if (Closed() || !control.Usable()) return false;
  if (control.Focusable()) Focus(control);
  // The exit handler of the control left behind may have closed the form or disabled
  // this control; the button then no longer takes the click.
  if (Closed() || !control.Usable()) return true;
  RunClick(control);
  return true;
}

bool FormEngine::DoubleClicked(TControl& control) {
  if (Closed() || !control.Usable()) return false;
  TNotifyEvent* handler = nullptr;
  switch (control.Kind()) {
    case TControlKind::kLabel:
    case TControlKind::kLabel3D:
      handler = &static_cast<TLabel&>(control).OnDblClick;
      break;
    case TControlKind::kImage:
      handler = &static_cast<TImage&>(control).OnDblClick;
      break;
    case TControlKind::kListBox:
      handler = &static_cast<TListBox&>(control).OnDblClick;
      break;
    default:
      return false;
  }
  if (*handler) Run([handler, &control] { (*handler)(control); });
  return true;
}

bool FormEngine::ClickItem(TRadioGroup& group, int index) {
  if (Closed() || !group.Usable() || index < 0 || index >= static_cast<int>(group.Items().size())) return false;
  Focus(group);
  if (Closed()) return true;
  group.SetItemIndex(index);
  if (group.OnClick) Run([&group] { group.OnClick(group); });
  return true;
}

bool FormEngine::TextEdited(TEdit& edit, const std::string& text) {
  if (Closed() || !edit.Usable() || edit.ReadOnly()) return false;
  edit.SetText(text);
  if (edit.OnChange) Run([&edit] { edit.OnChange(edit); });
  return true;
}

bool FormEngine::Select(TComboBox& comboBox, int index) {
  if (Closed() || !comboBox.Usable() || index < 0 || index >= static_cast<int>(comboBox.Items().size())) return false;
  Focus(comboBox);
  if (Closed() || index == comboBox.ItemIndex()) return true;
  comboBox.SetItemIndex(index);
  if (comboBox.OnChange) Run([&comboBox] { comboBox.OnChange(comboBox); });
  return true;
}

bool FormEngine::Select(TListBox& listBox, int index) {
  if (Closed() || !listBox.Usable() || index < 0 || index >= static_cast<int>(listBox.Items().size())) return false;
  Focus(listBox);
  if (Closed() || index == listBox.ItemIndex()) return true;
  listBox.SetItemIndex(index);
  if (listBox.OnClick) Run([&listBox] { listBox.OnClick(listBox); });
  return true;
}

bool FormEngine::ClickListItem(TListBox& listBox, int index, bool toggle) {
  if (!listBox.MultiSelect) return Select(listBox, index);
  if (Closed() || !listBox.Usable() || index < 0 || index >= listBox.Count()) return false;
  Focus(listBox);
  if (Closed()) return true;
  if (toggle) {
    listBox.SetSelected(index, !listBox.Selected(index));
  } else {
    listBox.ClearSelection();
    listBox.SetSelected(index, true);
  }
  listBox.SetItemIndex(index);
  if (listBox.OnClick) Run([&listBox] { listBox.OnClick(listBox); });
  return true;
}

bool FormEngine::ListSelectionChanged(TListBox& listBox, TCallbackRef apply) {
  if (!Focus(listBox) || Closed()) return false;
  apply();
  if (listBox.OnClick) Run([&listBox] { listBox.OnClick(listBox); });
  return true;
}

bool FormEngine::ClickUpDown(TUpDown& upDown, TUDBtnType button) {
  if (Closed() || !upDown.Usable()) return false;
  upDown.Step(button);
  if (upDown.OnClick) Run([&upDown, button] { upDown.OnClick(upDown, button); });
  return true;
}

bool FormEngine::SwitchPage(TPageControl& pageControl, int index) {
  if (Closed() || !pageControl.Usable()) return false;
  const auto pages = pageControl.Pages();
  if (index < 0 || index >= static_cast<int>(pages.size()) || !pages[static_cast<std::size_t>(index)]->Visible()) {
    return false;
  }
  Focus(pageControl);
  if (Closed() || index == pageControl.ActivePageIndex()) return true;
  pageControl.SetActivePageIndex(index);
  if (pageControl.OnChange) Run([&pageControl] { pageControl.OnChange(pageControl); });
  return true;
}

bool FormEngine::KeyPress(char& key) {
  TControl* target = form_.ActiveControl();
  if (Closed() || !target) return false;
  if (target->OnKeyPress) Run([target, &key] { target->OnKeyPress(*target, key); });
  return key != 0;
}

bool FormEngine::Escape() {
  TButton* cancel = form_.CancelButton();
  if (Closed() || !cancel || !cancel->Usable()) return false;
  ClickButton(*cancel);
  return true;
}

bool FormEngine::Enter() {
  if (Closed()) return false;
  TControl* focused = form_.ActiveControl();
  TButton* target = nullptr;
  if (focused && focused->Kind() == TControlKind::kButton && focused->Usable()) {
    target = static_cast<TButton*>(focused);
  } else {
    target = form_.DefaultButton();
  }
  if (!target || !target->Usable()) return false;
  ClickButton(*target);
  return true;
}

TControl* FormEngine::Tab(bool backwards) {
  if (Closed()) return nullptr;
  const auto sequence = form_.TabSequence();
  if (sequence.empty()) return nullptr;
  const auto count = static_cast<long>(sequence.size());
  const auto found = std::find(sequence.begin(), sequence.end(), form_.ActiveControl());
  long index = 0;
  if (found == sequence.end()) {
    index = backwards ? count - 1 : 0;
  } else {
    index = ((found - sequence.begin()) + (backwards ? count - 1 : 1)) % count;
  }
  TControl* next = sequence[static_cast<std::size_t>(index)];
  Focus(*next);
  return next;
}

bool FormEngine::Mnemonic(char letter) {
  if (Closed()) return false;
  letter = AsciiUpperCase(letter);
  for (TControl* control : form_.Controls()) {
    const TControlKind kind = control->Kind();
    if (kind != TControlKind::kButton && kind != TControlKind::kCheckBox && kind != TControlKind::kRadioButton)
      continue;
    if (!control->Usable() || MnemonicOf(control->Caption()) != letter) continue;
    return Click(*control);
  }
  return false;
}

void FormEngine::CloseBox() {
  if (!Closed()) form_.Close();
}

void FormEngine::Help() {
  if (Closed() || !options_.ShowHelp) return;
  const int context = form_.HelpContextOf(form_.ActiveControl());
  if (context == 0) return;
  Run([this, context] { options_.ShowHelp(form_.Handle(), context); });
}

}  // namespace ombrix
