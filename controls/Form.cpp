#include "controls/Form.h"

#include <algorithm>

namespace ombrix {

TForm::TForm(const char* className, const char* caption, int clientWidth, int clientHeight)
    : ClientWidth(clientWidth), ClientHeight(clientHeight), className_(className), caption_(caption) {}

void TForm::Register(TControl& control) {
  if (FindControl(control.Name())) throw EProgramError(className_ + ": two controls named " + control.Name());
  const TControl* parent = control.Parent();
  if (parent) {
    // Compared before it is used: a container declared after the control is not made yet.
    if (std::find(controls_.begin(), controls_.end(), parent) == controls_.end()) {
      throw EProgramError(control.Name() + ": its container must be a control of this form declared before it");
    }
    if (&parent->Form() != this || !parent->IsContainer()) {
      throw EProgramError(control.Name() + ": the parent must be a container of the same form");
    }
    const bool isPage = control.Kind() == TControlKind::kTabSheet;
    if (isPage != (parent->Kind() == TControlKind::kPageControl)) {
      throw EProgramError(control.Name() + ": only pages go into a page control, and only there");
    }
  }
  control.TabOrder = static_cast<int>(ChildrenOf(parent).size());
  controls_.push_back(&control);
}

void TForm::Unregister(TControl& control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
  if (activeControl_ == &control) activeControl_ = nullptr;
}

TControl* TForm::FindControl(const std::string& name) const {
  for (TControl* control : controls_) {
    if (control->Name() == name) return control;
  }
  return nullptr;
}

std::vector<TControl*> TForm::ChildrenOf(const TControl* parent) const {
  // Each child goes in after every sibling whose tab order is not above its own, so that
  // siblings of equal order stay as declared. A container's few dozen children need no more
  // than this; the library's stable sort would bring its merging code into each program.
  std::vector<TControl*> children;
  for (TControl* control : controls_) {
    if (control->Parent() != parent) continue;
    auto place = children.end();
    while (place != children.begin() && (*(place - 1))->TabOrder > control->TabOrder) --place;
    children.insert(place, control);
  }
  return children;
}

void TForm::AddTabStops(const TControl* parent, std::vector<TControl*>& sequence) const {
  for (TControl* control : ChildrenOf(parent)) {
    if (!control->Usable()) continue;
    if (control->Focusable() && control->TabStop) sequence.push_back(control);
    if (control->Kind() == TControlKind::kPageControl) {
      if (TTabSheet* page = static_cast<TPageControl*>(control)->ActivePage()) {
        if (page->Usable()) AddTabStops(page, sequence);
      }
    } else if (control->IsContainer()) {
      AddTabStops(control, sequence);
    }
  }
}

std::vector<TControl*> TForm::TabSequence() const {
  std::vector<TControl*> sequence;
  AddTabStops(nullptr, sequence);
  return sequence;
}

TButton* TForm::FindButton(bool TButton::*flag) const {
  for (TControl* control : controls_) {
    if (control->Kind() != TControlKind::kButton) continue;
    auto* button = static_cast<TButton*>(control);
    if (button->*flag) return button;
  }
  return nullptr;
}

TButton* TForm::DefaultButton() const { return FindButton(&TButton::Default); }
TButton* TForm::CancelButton() const { return FindButton(&TButton::Cancel); }

int TForm::HelpContextOf(const TControl* control) const {
  for (; control; control = control->Parent()) {
    if (control->HelpContext != 0) return control->HelpContext;
  }
  return HelpContext;
}

}  // namespace ombrix
