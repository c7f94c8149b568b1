#pragma once
// One form on screen: its window, the peers of its controls, and the GDI objects they use.
// It routes the windows' messages to the peers and keeps models and controls in step.

#include <memory>
#include <string>
#include <vector>

#include "base/SmallMap.h"
#include "controls/win32/ControlPeer.h"
#include "controls/win32/Hints.h"

namespace ombrix::win32 {

class FormWindow : public PeerContext {
 public:
  FormWindow(TForm& form, FormEngine& engine, HWND owner) : form_(form), engine_(engine), owner_(owner) {}
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  void Create();
  void Show();
  // Keyboard input the form handles itself (Tab, Enter, Esc, F1, Alt+letter, key presses);
  // true when the message is done with.
  bool PreTranslate(MSG& message);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void ReportError(const std::string& message);
  void Pull(const TControl* except);

  HWND Window() const { return window_.Get(); }
  // The window of a control; one on a page that waits to be shown has none yet, and the
  // controls of every waiting page get theirs then.
  HWND WindowOf(const TControl& control);
  HWND ItemWindowOf(const TRadioGroup& group, int index);

  // PeerContext
  TForm& Form() const override { return form_; }
  FormEngine& Engine() const override { return engine_; }
  GdiCache& Gdi() override { return gdi_; }
  Hints& Tooltip() override { return hints_; }
  int Scale(int value) const override { return ::MulDiv(value, dpi_, 96); }
  HWND MakeWindow(DWORD exStyle, const char* className, const std::string& text, DWORD style, const TBounds& bounds,
                  HWND parent, int id) override;
  void Route(HWND window, ControlPeer* peer, int item = -1) override;
  void Act(const TControl* except, TCallbackRef action) override;
  void SyncFocus(const TControl* except = nullptr) override;
  void Push() override;

 private:
  struct Target {
    ControlPeer* peer = nullptr;
    int item = -1;
  };
  class PushGuard;

  void CreateFrameWindow();
  void CreateChildren(const TControl* parent, HWND parentWindow);
  // The controls of the pages that wait to be shown: of those shown now or no longer
  // waiting, or of all.
  void CreateWaitingPages(bool shownOnly);
  ControlPeer* PeerOf(const TControl* control) const;
  Target TargetOf(HWND window) const;
  TControl* ControlOf(HWND window) const;
  TControl* ControlOwning(HWND window) const;
  void FocusActive();
  HWND FocusWindowOf(const TControl* control) const;
  void OnCommand(HWND child, UINT code);
  LRESULT OnNotify(const NMHDR& header);

  TForm& form_;
  FormEngine& engine_;
  HWND owner_;
  int dpi_ = 96;
  bool pushing_ = false;
  // Destroyed in reverse: the tooltip, then the window with its controls, then the fonts
  // and brushes they used.
  GdiCache gdi_;
  OwnedWindow window_;
  Hints hints_;
  std::vector<std::unique_ptr<ControlPeer>> peers_;  // creation order
  // Pages whose controls get their windows once the page shows (TTabSheet::CreateWhenShown);
  // nullptr for one made since.
  std::vector<TControl*> waitingPages_;
  TSmallMap<const TControl*, ControlPeer*> peerOf_;
  TSmallMap<HWND, Target> targets_;
};

}  // namespace ombrix::win32
