#pragma once
// The simulated form host: a test plays the user of a form shown "modally". It queues what
// the user does each time a form opens; ShowModal runs that script against the form and
// returns the modal result. What is shown is what the models hold.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "controls/FormEngine.h"
#include "platform/sim/SimPlatform.h"

namespace ombrix::sim {

// A mistake in a test's script (no script for a form, a form left open, a name that does
// not exist). It is a logic error, so it passes the handlers' error boundary.
class SimFormError : public EProgramError {
 public:
  using EProgramError::EProgramError;
};

// The user in front of one open form.
class SimFormUser {
 public:
  explicit SimFormUser(FormEngine& engine) : engine_(engine) {}

  TForm& Form() const { return engine_.Form(); }
  bool IsOpen() const { return !engine_.Closed(); }

  // Each action returns false, and changes nothing, when the control cannot be used.
  bool Click(const std::string& name);
  // A double click: the click, then the double click.
  bool DoubleClick(const std::string& name);
  bool ClickItem(const std::string& radioGroup, int index);
  // Tabs into the edit (which selects its text) and types: every character goes through
  // the key-press event, then changes the text.
  bool Type(const std::string& edit, const std::string& text);
  bool Focus(const std::string& name);
  // Picks an item of a drop-down list or a list box.
  bool Select(const std::string& name, int index);
  // A click on a list box item; `ctrl` held down adds it to (or takes it from) the selection.
  bool ClickListItem(const std::string& listBox, int index, bool ctrl = false);
  bool ClickUpDown(const std::string& upDown, TUDBtnType button);
  // Presses `key` in a hot-key control with the HOTKEYF_ `modifiers` held.
  bool PressHotKey(const std::string& hotKey, BYTE key, BYTE modifiers);
  bool SwitchPage(const std::string& pageControl, int index);
  // A key typed into the focused control: Tab, Enter and Esc act on the form; any other key
  // goes through the key-press event, then to the control (an edit takes text and
  // backspace, a button, check box or radio button is clicked by the space bar).
  bool PressKey(char key);
  TControl* Tab() { return engine_.Tab(false); }
  TControl* ShiftTab() { return engine_.Tab(true); }
  bool Escape() { return engine_.Escape(); }
  bool Enter() { return engine_.Enter(); }
  bool PressAlt(char letter) { return engine_.Mnemonic(letter); }
  void CloseBox() { engine_.CloseBox(); }
  void PressF1() { engine_.Help(); }

  // What the user sees.
  std::string TextOf(const std::string& name) const;  // an edit's or list's text, else the caption
  bool IsShowing(const std::string& name) const { return Find(name).Showing(); }
  bool IsUsable(const std::string& name) const { return Find(name).Usable(); }
  bool IsChecked(const std::string& name) const;
  int ItemIndexOf(const std::string& name) const;
  std::string FocusedName() const;
  // The hint shown when the mouse rests on the control ("" while the form shows no hints).
  std::string HintOf(const std::string& name) const;

  TControl& Find(const std::string& name) const;

 private:
  bool TypeInto(TEdit& edit, char key);

  FormEngine& engine_;
  bool selectionCoversText_ = false;  // the focused edit's text is selected, as after tabbing in
};

class SimFormHost : public IFormHost {
 public:
  explicit SimFormHost(SimPlatform& platform, FormHostOptions options = {});

  // What the user does the next time a form opens (scripts run in the order the forms open).
  void OnNextShow(std::function<void(SimFormUser&)> script);
  TModalResult ShowModal(TForm& form, HWND owner) override;

  struct ShownForm {
    std::string className;
    std::string caption;
    HWND owner;
    TModalResult result;
  };
  const std::vector<ShownForm>& ShownForms() const { return shown_; }
  const FormHostOptions& Options() const { return options_; }

 private:
  SimPlatform& platform_;
  FormHostOptions options_;
  std::deque<std::function<void(SimFormUser&)>> scripts_;
  std::vector<ShownForm> shown_;
};

}  // namespace ombrix::sim
