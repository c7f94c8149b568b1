#pragma once
// A form: a plain class that owns its controls (as members declared after this base) and
// binds their events to its own methods when it is constructed. A form host shows it.
//
// Every form and every part of one (FormPart.h) declares its controls the same way: each is
// a member initialised where it is declared, with its name, container, bounds and caption,
// so that the declarations read like the form laid out. Members are made in the order they
// are declared, hence the one rule: declare a container before what it holds (the form
// refuses a control whose container does not exist yet), and declare whatever an
// initialiser uses (the page a part goes on, a component the pages share) before it. The
// constructor sets the rest: events, hints, help contexts, tab order.

#include <string>
#include <vector>

#include "base/Exception.h"
#include "controls/Controls.h"

namespace ombrix {

// bsSingle is a program's main window: a fixed single border, the system menu and the
// minimise box (no maximise box), and a taskbar button of its own.
enum class TFormBorderStyle { kDialog, kToolWindow, kSingle };
enum class TPosition { kDesigned, kScreenCenter };
enum class TFormStyle { kNormal, kStayOnTop };

// Binds events to methods of the class that derives from it: a form, or a part of one.
class THandlerBinder {
 protected:
  template <class F>
  TNotifyEvent Handler(void (F::*method)(TControl&)) {
    F* self = static_cast<F*>(this);
    return [self, method](TControl& sender) { (self->*method)(sender); };
  }
  template <class F>
  TKeyPressEvent KeyHandler(void (F::*method)(TControl&, char&)) {
    F* self = static_cast<F*>(this);
    return [self, method](TControl& sender, char& key) { (self->*method)(sender, key); };
  }
  template <class F>
  TUDClickEvent UpDownHandler(void (F::*method)(TControl&, TUDBtnType)) {
    F* self = static_cast<F*>(this);
    return [self, method](TControl& sender, TUDBtnType button) { (self->*method)(sender, button); };
  }
};

class TForm : public THandlerBinder {
 public:
  // The class name names the form's window class too, so that others can find the window.
  TForm(const char* className, const char* caption, int clientWidth, int clientHeight);
  virtual ~TForm() = default;
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  const std::string& ClassName() const { return className_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }

  // Client size in pixels at 96 dpi; Left and Top count only with poDesigned.
  int ClientWidth;
  int ClientHeight;
  int Left = 0;
  int Top = 0;
  TFormBorderStyle BorderStyle = TFormBorderStyle::kDialog;
  TPosition Position = TPosition::kScreenCenter;
  TFormStyle FormStyle = TFormStyle::kNormal;
  TColor Color = clBtnFace;
  TFont Font;
  int HelpContext = 0;
  bool ShowHint = false;         // the controls' hints appear as tooltips
  std::function<void()> OnShow;  // before the form appears, once its controls exist

  // A modal form closes as soon as its result is set to anything but mrNone.
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }
  // What the close box does: the form closes as cancelled.
  void Close() { modalResult_ = mrCancel; }

  // Code that changes controls outside the user's actions (work a timer does bit by bit)
  // says so here; the host then shows the change once the message at hand is handled.
  void ChangedBehind() { changedBehind_ = true; }
  bool TakeChangedBehind() {
    const bool changed = changedBehind_;
    changedBehind_ = false;
    return changed;
  }

  // The control with the keyboard focus. Setting it from code moves the focus without
  // running the exit event of the control that had it.
  TControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TControl* control) { activeControl_ = control; }

  // The window showing the form (nullptr while it is not shown). Set by the host.
  HWND Handle() const { return handle_; }
  void SetHandle(HWND handle) { handle_ = handle; }

  // Every control, in declaration order.
  const std::vector<TControl*>& Controls() const { return controls_; }
  TControl* FindControl(const std::string& name) const;
  template <class T>
  T& Get(const std::string& name) const {
    TControl* found = FindControl(name);
    if (!found || !T::OfKind(found->Kind()))
      throw EProgramError(className_ + " has no control " + name + " of that kind");
    return static_cast<T&>(*found);
  }
  // The direct children of a container (nullptr: the form) in tab order.
  std::vector<TControl*> ChildrenOf(const TControl* parent) const;
  // The controls the Tab key visits, in order: usable tab stops on the form and inside its
  // visible containers (of a page control, only the active page).
  std::vector<TControl*> TabSequence() const;
  // The enabled default or cancel button, when there is one.
  TButton* DefaultButton() const;
  TButton* CancelButton() const;
  // The help context F1 opens with this control focused: its own, else its containers',
  // else the form's.
  int HelpContextOf(const TControl* control) const;

 private:
  friend class TControl;
  void Register(TControl& control);
  void Unregister(TControl& control);
  void AddTabStops(const TControl* parent, std::vector<TControl*>& sequence) const;
  TButton* FindButton(bool TButton::*flag) const;

  std::string className_;
  std::string caption_;
  TModalResult modalResult_ = mrNone;
  TControl* activeControl_ = nullptr;
  HWND handle_ = nullptr;
  bool changedBehind_ = false;
  std::vector<TControl*> controls_;
};

}  // namespace ombrix
