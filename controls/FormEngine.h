#pragma once
// What a user's action does to a form, shared by the Win32 and the simulated host: which
// model changes, which handlers run and in which order, and the boundary that keeps an
// error from escaping a handler (it is shown in the general error box instead).
//
// Every action returns false and does nothing when the control cannot be used (hidden,
// disabled, on another page, or the form already closed).

#include <string>

#include "base/CallbackRef.h"
#include "controls/FormHost.h"
#include "platform/Dialogs.h"

namespace ombrix {

class FormEngine {
 public:
  FormEngine(TForm& form, IDialogs& dialogs, const FormHostOptions& options);

  TForm& Form() const { return form_; }
  bool Closed() const { return form_.ModalResult() != mrNone; }

  // Before the form appears: no result yet, the first focus chosen (the form's active
  // control, else the first tab stop), OnShow run.
  void Opening();

  // The focus moves to this control; the control that had it gets its exit event.
  bool Focus(TControl& control);
  // A click on a button, check box, radio button, label, image, or into an edit or list.
  // Focusable controls take the focus first (the previous one's exit event runs before
  // the click).
  bool Click(TControl& control);
  // The second click of a double click on a label, an image or a list box item (the first
  // one arrives through Click).
  bool DoubleClicked(TControl& control);
  bool ClickItem(TRadioGroup& group, int index);
  // The user changed an edit's text (typing, deleting, pasting).
  bool TextEdited(TEdit& edit, const std::string& text);
  // The user picked an item; the handler runs only when the selection changed.
  bool Select(TComboBox& comboBox, int index);
  bool Select(TListBox& listBox, int index);
  // A click on a list box item. It becomes the current item; in a multi-select list a plain
  // click selects it alone and a Ctrl+click (`toggle`) turns its selection over, leaving the
  // others alone. The click handler runs every time in a multi-select list.
  bool ClickListItem(TListBox& listBox, int index, bool toggle);
  // A real multi-select list changed its selection or current item by its own rules (Shift
  // ranges, the keyboard): once the list has the focus, `apply` brings the model up to date,
  // then the click handler runs, as for ClickListItem.
  bool ListSelectionChanged(TListBox& listBox, TCallbackRef apply);
  bool ClickUpDown(TUpDown& upDown, TUDBtnType button);
  // A click on a page's tab: the page control takes the focus, then the page changes.
  bool SwitchPage(TPageControl& pageControl, int index);
  // A character typed into the focused control. False when the handler swallowed it.
  bool KeyPress(char& key);

  // Esc: the cancel button's click; Enter: the click of the focused button, else of the
  // default button. Neither moves the focus, so no exit event runs.
  bool Escape();
  bool Enter();
  // Tab and Shift+Tab: the next or previous tab stop, wrapping around.
  TControl* Tab(bool backwards);
  // Alt+letter: clicks the button, check box or radio button whose caption marks the letter.
  bool Mnemonic(char letter);
  // The window's close box: the form closes as cancelled.
  void CloseBox();
  // F1: help for the focused control's context.
  void Help();

  // Runs a handler; an error it raises is shown in the general error box. Errors of the
  // program itself (EProgramError) are not the user's business and pass on.
  void Run(TCallbackRef handler);
  void ShowError(const std::string& message);

 private:
  void ClickButton(TButton& button);
  void RunClick(TControl& control);

  TForm& form_;
  IDialogs& dialogs_;
  const FormHostOptions& options_;
};

}  // namespace ombrix
