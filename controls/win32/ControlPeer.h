#pragma once
// The real control behind one control model. A peer creates the control's windows, writes
// the model to them (push), reads what the user changed back into the model (pull), and
// turns the control's notifications into the form engine's actions. Each kind of control
// has its own peer; what every kind shares (place, visibility, enabled state, font, hint)
// is done here once.

#include <memory>
#include <string>
#include <vector>

#include "controls/FormEngine.h"
#include "controls/win32/GdiOwners.h"

namespace ombrix::win32 {

class ControlPeer;
class Hints;

// What the peers need of the form window that holds them.
class PeerContext {
 public:
  virtual TForm& Form() const = 0;
  virtual FormEngine& Engine() const = 0;
  virtual GdiCache& Gdi() = 0;
  virtual Hints& Tooltip() = 0;
  // Pixels at the screen's resolution for pixels at 96 dpi.
  virtual int Scale(int value) const = 0;
  // A child window at the control's bounds (scaled); throws when Windows refuses it.
  virtual HWND MakeWindow(DWORD exStyle, const char* className, const std::string& text, DWORD style,
                          const TBounds& bounds, HWND parent, int id) = 0;
  // Clicks and notifications of `window` go to `peer` (`item`: of a radio group); nullptr
  // forgets the window.
  virtual void Route(HWND window, ControlPeer* peer, int item = -1) = 0;
  // The user's action on a control: the models are pulled (but `except`'s, which still
  // holds what the notification reports), the action runs, the models are pushed.
  virtual void Act(const TControl* except, TCallbackRef action) = 0;
  // The focus moved by Windows' own doing: the model follows.
  virtual void SyncFocus(const TControl* except) = 0;
  virtual void Push() = 0;

 protected:
  ~PeerContext() = default;
};

class ControlPeer {
 public:
  ControlPeer(PeerContext& context, TControl& control) : context_(context), control_(control) {}
  virtual ~ControlPeer() = default;
  ControlPeer(const ControlPeer&) = delete;
  ControlPeer& operator=(const ControlPeer&) = delete;

  TControl& Control() const { return control_; }
  HWND Window() const { return window_; }

  // Makes the control's windows inside `parent`, with the control's font.
  void Create(HWND parent, int id);
  // Once the controls inside this one exist.
  virtual void ChildrenCreated() {}
  void Push();
  virtual void Pull() {}
  // WM_COMMAND from one of the peer's windows (`item`: the radio group's item).
  virtual void Command(UINT /*code*/, int /*item*/) {}
  virtual LRESULT Notify(const NMHDR& /*header*/) { return 0; }
  // An owner-drawn control's painting.
  virtual void Draw(HDC /*dc*/, RECT /*area*/) {}
  // The window that takes the focus for the control.
  virtual HWND FocusWindow() const { return window_; }
  // The window of one item (a radio group's button), else nullptr.
  virtual HWND ItemWindow(int /*index*/) const { return nullptr; }

 protected:
  // The control's own window, with `style` (visibility, enabled state, tab stop) added.
  virtual HWND MakeWindows(HWND parent, int id, DWORD style) = 0;
  // Once the window exists and has its font.
  virtual void Created(HWND /*parent*/) {}
  // The kind's own part of the push.
  virtual void PushState() {}
  virtual TBounds WindowBounds() const { return control_.Bounds(); }
  // A page fills its page control's display area, whatever its bounds say.
  virtual bool PlacedByParent() const { return false; }
  virtual bool Shown() const { return control_.Visible(); }
  // The frame of a group, drawn beneath its controls.
  virtual HWND Frame() const { return nullptr; }
  // The windows of the control's items, beside its own window.
  virtual std::vector<HWND> ItemWindows() const { return {}; }

  // The caption, and a repaint when the colours changed since the last one (`extra` is
  // more of what the look depends on).
  void PushCaption(const std::string& extra = "");
  HFONT Font() const { return font_; }

  PeerContext& context_;
  TControl& control_;
  HWND window_ = nullptr;

 private:
  void Place();
  void PushFont();
  void PushHint();

  HFONT font_ = nullptr;
  TBounds bounds_;    // the bounds last written
  std::string hint_;  // the hint the tooltip holds for the control
  std::string look_;  // what the control was last painted with
};

// One peer per kind of control.
std::unique_ptr<ControlPeer> MakePeer(PeerContext& context, TControl& control);
std::unique_ptr<ControlPeer> MakeEditPeer(PeerContext& context, TControl& control);
std::unique_ptr<ControlPeer> MakeLabelPeer(PeerContext& context, TControl& control);
std::unique_ptr<ControlPeer> MakeCosmeticPeer(PeerContext& context, TControl& control);
std::unique_ptr<ControlPeer> MakeButtonPeer(PeerContext& context, TControl& control);
std::unique_ptr<ControlPeer> MakeCheckPeer(PeerContext& context, TControl& control);
std::unique_ptr<ControlPeer> MakeComboBoxPeer(PeerContext& context, TControl& control);
std::unique_ptr<ControlPeer> MakeListBoxPeer(PeerContext& context, TControl& control);
std::unique_ptr<ControlPeer> MakeUpDownPeer(PeerContext& context, TControl& control);
std::unique_ptr<ControlPeer> MakeHotKeyPeer(PeerContext& context, TControl& control);
std::unique_ptr<ControlPeer> MakePageControlPeer(PeerContext& context, TControl& control);
std::unique_ptr<ControlPeer> MakeTabSheetPeer(PeerContext& context, TControl& control);
std::unique_ptr<ControlPeer> MakeGroupBoxPeer(PeerContext& context, TControl& control);
std::unique_ptr<ControlPeer> MakeRadioGroupPeer(PeerContext& context, TControl& control);

// The window class of groups and pages: a plain window of the form's own that paints the
// container's background.
extern const char* const ContainerClass;

// Helpers the peers share.
std::string WindowText(HWND window);
bool HasStyle(HWND window, DWORD style);
void SetWindowTextIfChanged(HWND window, const std::string& text);
// Refills a list box or combo box without one repaint per item, with the memory for all the
// items taken at once.
void FillList(HWND window, bool combo, const std::vector<std::string>& items);

// Switches a control's repainting off for a scope, and repaints it whole afterwards.
class RedrawOff {
 public:
  explicit RedrawOff(HWND window) : window_(window) { ::SendMessageA(window_, WM_SETREDRAW, FALSE, 0); }
  ~RedrawOff() {
    ::SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(window_, nullptr, TRUE);
  }
  RedrawOff(const RedrawOff&) = delete;
  RedrawOff& operator=(const RedrawOff&) = delete;

 private:
  HWND window_;
};

}  // namespace ombrix::win32
