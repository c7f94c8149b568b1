#include "controls/sim/SimFormHost.h"

namespace ombrix::sim {

namespace {
constexpr char KeyBackspace = 8;
constexpr char KeyTab = 9;
constexpr char KeyEnter = 13;
constexpr char KeyEscape = 27;
}  // namespace

TControl& SimFormUser::Find(const std::string& name) const {
  TControl* control = Form().FindControl(name);
  if (!control) throw SimFormError(Form().ClassName() + " has no control " + name);
  return *control;
}

bool SimFormUser::Click(const std::string& name) {
  TControl& control = Find(name);
  if (control.Kind() == TControlKind::kPageControl || control.Kind() == TControlKind::kTabSheet) {
    throw SimFormError(name + ": switch pages with SwitchPage");
  }
  const bool clicked = engine_.Click(control);
  if (clicked && (control.Kind() == TControlKind::kEdit || control.Kind() == TControlKind::kReadOnlyEdit)) {
    selectionCoversText_ = false;  // a click puts the caret at the end instead
  }
  return clicked;
}

bool SimFormUser::DoubleClick(const std::string& name) {
  TControl& control = Find(name);
  if (!engine_.Click(control)) return false;
  return engine_.DoubleClicked(control);
}

bool SimFormUser::ClickItem(const std::string& radioGroup, int index) {
  return engine_.ClickItem(Form().Get<TRadioGroup>(radioGroup), index);
}

bool SimFormUser::Focus(const std::string& name) {
  if (!engine_.Focus(Find(name))) return false;
  selectionCoversText_ = true;
  return true;
}

bool SimFormUser::Type(const std::string& edit, const std::string& text) {
  auto& box = Form().Get<TEdit>(edit);
  if (!Focus(edit)) return false;
  if (text.empty()) {
    // Select all and delete.
    if (!box.Text().empty()) engine_.TextEdited(box, "");
    return true;
  }
  for (char key : text) {
    if (!PressKey(key)) break;
  }
  return true;
}

bool SimFormUser::TypeInto(TEdit& edit, char key) {
  if (edit.ReadOnly()) return true;
  std::string text = selectionCoversText_ ? "" : edit.Text();
  if (key == KeyBackspace) {
    if (!selectionCoversText_ && !text.empty()) text.pop_back();
  } else if (static_cast<unsigned char>(key) >= 32) {
    if (edit.MaxLength > 0 && static_cast<int>(text.size()) >= edit.MaxLength) return true;
    text += key;
  } else {
    return true;
  }
  const bool changed = selectionCoversText_ ? !edit.Text().empty() || !text.empty() : text != edit.Text();
  selectionCoversText_ = false;
  if (changed) engine_.TextEdited(edit, text);
  return true;
}

bool SimFormUser::PressKey(char key) {
  if (!IsOpen()) return false;
  switch (key) {
    case KeyTab:
      selectionCoversText_ = true;
      return engine_.Tab(false) != nullptr;
    case KeyEnter:
      return engine_.Enter();
    case KeyEscape:
      return engine_.Escape();
    default:
      break;
  }
  TControl* focused = Form().ActiveControl();
  if (!focused) return false;
  const bool passed = engine_.KeyPress(key);
  // The space bar presses a button on its own key strokes, whatever became of the character.
  const TControlKind kind = focused->Kind();
  if (key == ' ' &&
      (kind == TControlKind::kButton || kind == TControlKind::kCheckBox || kind == TControlKind::kRadioButton)) {
    engine_.Click(*focused);
    return true;
  }
  if (!passed || engine_.Closed()) return true;
  if (kind == TControlKind::kEdit || kind == TControlKind::kReadOnlyEdit) TypeInto(static_cast<TEdit&>(*focused), key);
  return true;
}

bool SimFormUser::Select(const std::string& name, int index) {
  TControl& control = Find(name);
  if (control.Kind() == TControlKind::kComboBox) return engine_.Select(static_cast<TComboBox&>(control), index);
  if (control.Kind() == TControlKind::kListBox) return engine_.Select(static_cast<TListBox&>(control), index);
  throw SimFormError(name + " is not a list");
}

bool SimFormUser::ClickListItem(const std::string& listBox, int index, bool ctrl) {
  return engine_.ClickListItem(Form().Get<TListBox>(listBox), index, ctrl);
}

bool SimFormUser::ClickUpDown(const std::string& upDown, TUDBtnType button) {
  return engine_.ClickUpDown(Form().Get<TUpDown>(upDown), button);
}

bool SimFormUser::PressHotKey(const std::string& hotKey, BYTE key, BYTE modifiers) {
  auto& control = Form().Get<THotKey>(hotKey);
  if (!engine_.Focus(control)) return false;
  control.SetHotKey(control.Entered(key, modifiers));
  return true;
}

bool SimFormUser::SwitchPage(const std::string& pageControl, int index) {
  return engine_.SwitchPage(Form().Get<TPageControl>(pageControl), index);
}

std::string SimFormUser::TextOf(const std::string& name) const {
  const TControl& control = Find(name);
  switch (control.Kind()) {
    case TControlKind::kEdit:
    case TControlKind::kReadOnlyEdit:
      return static_cast<const TEdit&>(control).Text();
    case TControlKind::kComboBox:
      return static_cast<const TComboBox&>(control).Text();
    default:
      return control.Caption();
  }
}

bool SimFormUser::IsChecked(const std::string& name) const {
  const TControl& control = Find(name);
  if (control.Kind() == TControlKind::kCheckBox) return static_cast<const TCheckBox&>(control).Checked();
  if (control.Kind() == TControlKind::kRadioButton) return static_cast<const TRadioButton&>(control).Checked();
  throw SimFormError(name + " has no check mark");
}

int SimFormUser::ItemIndexOf(const std::string& name) const {
  const TControl& control = Find(name);
  switch (control.Kind()) {
    case TControlKind::kComboBox:
      return static_cast<const TComboBox&>(control).ItemIndex();
    case TControlKind::kListBox:
      return static_cast<const TListBox&>(control).ItemIndex();
    case TControlKind::kRadioGroup:
      return static_cast<const TRadioGroup&>(control).ItemIndex();
    case TControlKind::kPageControl:
      return static_cast<const TPageControl&>(control).ActivePageIndex();
    default:
      throw SimFormError(name + " has no items");
  }
}

std::string SimFormUser::FocusedName() const {
  const TControl* focused = Form().ActiveControl();
  return focused ? focused->Name() : "";
}

std::string SimFormUser::HintOf(const std::string& name) const {
  const TControl& control = Find(name);
  return Form().ShowHint && control.Showing() ? control.Hint : "";
}

SimFormHost::SimFormHost(SimPlatform& platform, FormHostOptions options)
    : platform_(platform), options_(std::move(options)) {}

void SimFormHost::OnNextShow(std::function<void(SimFormUser&)> script) { scripts_.push_back(std::move(script)); }

TModalResult SimFormHost::ShowModal(TForm& form, HWND owner) {
  if (scripts_.empty()) throw SimFormError("unexpected form: " + form.Caption());
  auto script = std::move(scripts_.front());
  scripts_.pop_front();

  // The form is a window of the desktop while it is shown, so that others can find it.
  SimWindow window;
  window.caption = form.Caption();
  window.className = form.ClassName();
  SimWindowOps& windows = platform_.SimWindows();
  const HWND handle = windows.CreateTopWindow(window);
  struct Shown {
    SimWindowOps& windows;
    TForm& form;
    HWND handle;
    ~Shown() {
      windows.DestroyWindow(handle);
      form.SetHandle(nullptr);
    }
  } shown{windows, form, handle};
  form.SetHandle(handle);

  FormEngine engine(form, platform_.Dialogs(), options_);
  engine.Opening();
  SimFormUser user(engine);
  script(user);
  if (!engine.Closed()) throw SimFormError(form.ClassName() + " was left open");
  shown_.push_back({form.ClassName(), form.Caption(), owner, form.ModalResult()});
  return form.ModalResult();
}

}  // namespace ombrix::sim
