#include "controls/win32/FormWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "controls/win32/Look.h"

namespace ombrix::win32 {

namespace {

constexpr int FirstControlId = 100;

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void InitCommonControlsOnce() {
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX init{};
    init.dwSize = sizeof init;
    init.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES;
    return ::InitCommonControlsEx(&init) != FALSE;
  }();
  (void)initialised;
}

void RegisterClassOnce(const std::string& name) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExA(instance, name.c_str(), &existing)) return;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = FormProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = name.c_str();
  ::RegisterClassExA(&windowClass);
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* form = reinterpret_cast<FormWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!form) return ::DefWindowProcA(window, message, wParam, lParam);
  // No error leaves a window procedure: Windows could not unwind through its own frames.
  try {
    return form->Handle(window, message, wParam, lParam);
  } catch (const std::exception& error) {
    form->ReportError(error.what());
  } catch (...) {
    form->ReportError("Unexpected error.");
  }
  return 0;
}

}  // namespace

class FormWindow::PushGuard {
 public:
  explicit PushGuard(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~PushGuard() { flag_ = previous_; }
  PushGuard(const PushGuard&) = delete;
  PushGuard& operator=(const PushGuard&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

// The windows go first, while the peers their last messages reach still exist: the tooltip,
// then the form with its controls.
FormWindow::~FormWindow() {
  hints_ = Hints();
  window_ = OwnedWindow();
}

// ---- Creation

HWND FormWindow::MakeWindow(DWORD exStyle, const char* className, const std::string& text, DWORD style,
                            const TBounds& bounds, HWND parent, int id) {
  HWND window = ::CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD, Scale(bounds.Left),
                                  Scale(bounds.Top), Scale(bounds.Width), Scale(bounds.Height), parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), this);
  if (!window) throw Exception("Cannot create the window of a control (" + std::string(className) + ").");
  return window;
}

void FormWindow::Create() {
  InitCommonControlsOnce();
  RegisterClassOnce(form_.ClassName());
  RegisterClassOnce(ContainerClass);

  HDC screen = ::GetDC(nullptr);
  dpi_ = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  if (dpi_ <= 0) dpi_ = 96;

  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTA baseFont{};
  if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof baseFont, &baseFont);
  } else {
    baseFont = metrics.lfMessageFont;
  }
  gdi_.SetBase(baseFont, dpi_);

  CreateFrameWindow();
  hints_.Create(window_.Get());
  peers_.reserve(form_.Controls().size());
  CreateChildren(nullptr, window_.Get());
}

void FormWindow::CreateFrameWindow() {
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  DWORD exStyle = form_.BorderStyle == TFormBorderStyle::kToolWindow ? WS_EX_TOOLWINDOW : WS_EX_DLGMODALFRAME;
  HWND owner = owner_;
  if (form_.BorderStyle == TFormBorderStyle::kSingle) {
    // A program's main window: a taskbar button of its own, so no owner, and a border that
    // cannot be sized.
    style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    exStyle = WS_EX_APPWINDOW;
    owner = nullptr;
  }
  if (form_.FormStyle == TFormStyle::kStayOnTop) exStyle |= WS_EX_TOPMOST;
  RECT frame{0, 0, Scale(form_.ClientWidth), Scale(form_.ClientHeight)};
  ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  int left = Scale(form_.Left);
  int top = Scale(form_.Top);
  if (form_.Position == TPosition::kScreenCenter) {
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    left = work.left + std::max(0L, (work.right - work.left - width) / 2);
    top = work.top + std::max(0L, (work.bottom - work.top - height) / 2);
  }
  window_ = OwnedWindow(::CreateWindowExA(exStyle, form_.ClassName().c_str(), form_.Caption().c_str(), style, left, top,
                                          width, height, owner, nullptr, ::GetModuleHandleA(nullptr), this));
  if (!window_.Get()) throw Exception("Cannot create the window " + form_.Caption() + ".");
}

void FormWindow::CreateChildren(const TControl* parent, HWND parentWindow) {
  // Windows created in tab order, so that their Z order follows it too.
  for (TControl* child : form_.ChildrenOf(parent)) {
    // The id tells the control's place among the form's declarations, whenever its page is
    // made: tests find the window by it from outside.
    int id = FirstControlId;
    for (const TControl* control : form_.Controls()) {
      if (control == child) break;
      ++id;
    }
    peers_.push_back(MakePeer(*this, *child));
    ControlPeer& peer = *peers_.back();
    peerOf_.Set(child, &peer);
    peer.Create(parentWindow, id);
    // Such a page shown at once is made by the push before the form shows.
    if (child->Kind() == TControlKind::kTabSheet && static_cast<TTabSheet*>(child)->CreateWhenShown) {
      waitingPages_.push_back(child);
    } else if (child->IsContainer()) {
      CreateChildren(child, peer.Window());
    }
    peer.ChildrenCreated();
  }
}

void FormWindow::CreateWaitingPages(bool shownOnly) {
  // By index: pages waiting inside a page just made join the end, and are looked at too.
  for (std::size_t i = 0; i < waitingPages_.size(); ++i) {
    TControl* page = waitingPages_[i];
    if (!page || (shownOnly && static_cast<TTabSheet*>(page)->CreateWhenShown && !page->Showing())) continue;
    waitingPages_[i] = nullptr;
    CreateChildren(page, PeerOf(page)->Window());
  }
}

void FormWindow::Route(HWND window, ControlPeer* peer, int item) {
  if (peer) {
    targets_.Set(window, Target{peer, item});
  } else {
    targets_.Erase(window);
  }
}

void FormWindow::Show() {
  Push();
  ::ShowWindow(Window(), SW_SHOW);
  ::UpdateWindow(Window());
  FocusActive();
}

// ---- Models to controls and back

void FormWindow::Push() {
  CreateWaitingPages(true);
  PushGuard guard(pushing_);
  SetWindowTextIfChanged(Window(), form_.Caption());
  for (auto& peer : peers_) peer->Push();
  hints_.Show(form_.ShowHint);
  // A handler that moved the focus from code moves the real one too (only while the form
  // is the active window: focusing it otherwise would steal the activation).
  if (::GetActiveWindow() == Window() && ControlOwning(::GetFocus()) != form_.ActiveControl()) FocusActive();
}

void FormWindow::Pull(const TControl* except) {
  for (auto& peer : peers_) {
    if (&peer->Control() != except) peer->Pull();
  }
}

void FormWindow::Act(const TControl* except, TCallbackRef action) {
  if (pushing_) return;
  Pull(except);
  action();
  if (!engine_.Closed()) Push();
}

// ---- Focus

ControlPeer* FormWindow::PeerOf(const TControl* control) const {
  ControlPeer* const* found = peerOf_.Find(control);
  return found ? *found : nullptr;
}

HWND FormWindow::FocusWindowOf(const TControl* control) const {
  const ControlPeer* peer = PeerOf(control);
  return peer ? peer->FocusWindow() : nullptr;
}

void FormWindow::FocusActive() {
  HWND target = FocusWindowOf(form_.ActiveControl());
  if (!target || !::IsWindowVisible(target) || !::IsWindowEnabled(target)) target = Window();
  if (::GetFocus() != target) ::SetFocus(target);
}

FormWindow::Target FormWindow::TargetOf(HWND window) const {
  const Target* found = targets_.Find(window);
  return found ? *found : Target{};
}

TControl* FormWindow::ControlOf(HWND window) const {
  const Target target = TargetOf(window);
  return target.peer ? &target.peer->Control() : nullptr;
}

TControl* FormWindow::ControlOwning(HWND window) const {
  for (HWND current = window; current && current != Window(); current = ::GetParent(current)) {
    if (TControl* control = ControlOf(current)) return control;
  }
  return nullptr;
}

// The focus moved by Windows' own doing (a click, the keyboard): the model follows and the
// control left behind gets its exit event. A focus outside the form (a message box, another
// program) is no move within it.
void FormWindow::SyncFocus(const TControl* except) {
  if (pushing_ || engine_.Closed()) return;
  TControl* focused = ControlOwning(::GetFocus());
  if (!focused || focused == form_.ActiveControl() || !focused->Focusable()) return;
  // The control whose notification is on its way keeps its model as it was, so that the
  // notification still finds the change.
  Act(except, [&] { engine_.Focus(*focused); });
}

// ---- Notifications

void FormWindow::OnCommand(HWND child, UINT code) {
  if (pushing_) return;
  const Target target = TargetOf(child);
  if (!target.peer) return;
  SyncFocus(&target.peer->Control());
  target.peer->Command(code, target.item);
}

LRESULT FormWindow::OnNotify(const NMHDR& header) {
  if (pushing_) return 0;
  const Target target = TargetOf(header.hwndFrom);
  return target.peer ? target.peer->Notify(header) : 0;
}

// ---- The window procedure's work

LRESULT FormWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam != 0) {
        OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
      }
      break;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (const TControl* control = ControlOf(reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(ControlColor(gdi_, form_, *control, message, reinterpret_cast<HDC>(wParam)));
      }
      break;
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (draw->CtlType == ODT_STATIC) {
        if (ControlPeer* peer = TargetOf(draw->hwndItem).peer) peer->Draw(draw->hDC, draw->rcItem);
        return TRUE;
      }
      break;
    }
    case WM_ERASEBKGND: {
      RECT area{};
      ::GetClientRect(window, &area);
      const TControl* container = window == Window() ? nullptr : ControlOf(window);
      ::FillRect(reinterpret_cast<HDC>(wParam), &area, gdi_.BrushFor(BackgroundOf(form_, container)));
      return 1;
    }
    case WM_SETCURSOR: {
      const TControl* control = ControlOf(reinterpret_cast<HWND>(wParam));
      if (control && control->Cursor == TCursor::kHandPoint && LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_CLOSE:
      if (window == Window()) {
        Act(nullptr, [&] { engine_.CloseBox(); });
        return 0;
      }
      break;
    case WM_ACTIVATE:
      if (window == Window()) {
        if (LOWORD(wParam) != WA_INACTIVE) FocusActive();
        return 0;
      }
      break;
    default:
      break;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

void FormWindow::ReportError(const std::string& message) {
  try {
    engine_.ShowError(message);
  } catch (...) {
    // Nothing is left to tell the user with.
  }
}

HWND FormWindow::WindowOf(const TControl& control) {
  if (!PeerOf(&control)) {
    CreateWaitingPages(false);
    Push();
  }
  const ControlPeer* peer = PeerOf(&control);
  return peer ? peer->Window() : nullptr;
}

HWND FormWindow::ItemWindowOf(const TRadioGroup& group, int index) {
  WindowOf(group);
  const ControlPeer* peer = PeerOf(&group);
  return peer ? peer->ItemWindow(index) : nullptr;
}

}  // namespace ombrix::win32
