#include "controls/win32/Win32FormHost.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace ombrix::win32 {

namespace {

const char* const ContainerClass = "OmbrixContainer";
constexpr int FirstControlId = 100;
constexpr int FirstItemId = 20000;
constexpr int FrameId = 0xFFFF;

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

std::string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  std::vector<char> buffer(static_cast<std::size_t>(length) + 2, '\0');
  const int copied = ::GetWindowTextA(window, buffer.data(), length + 1);
  return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

bool HasStyle(HWND window, DWORD style) {
  return (static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE)) & style) != 0;
}

COLORREF Resolve(TColor color) {
  if ((color & 0xFF000000) == clSystemColor) return ::GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

COLORREF Blend(COLORREF from, COLORREF to, int step, int steps) {
  auto channel = [&](int shift) {
    const int a = (from >> shift) & 0xFF;
    const int b = (to >> shift) & 0xFF;
    return static_cast<COLORREF>(a + (b - a) * step / std::max(steps, 1)) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

bool IsEdit(TControlKind kind) { return kind == TControlKind::Edit || kind == TControlKind::ReadOnlyEdit; }

UINT TextAlignment(TAlignment alignment) {
  switch (alignment) {
    case TAlignment::taRightJustify:
      return DT_RIGHT;
    case TAlignment::taCenter:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

// Selects a GDI object into a device context for a scope, and deletes it afterwards
// when it was made for the occasion.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object, bool owned) : dc_(dc), object_(object), owned_(owned) {
    previous_ = ::SelectObject(dc, object);
  }
  ~Selected() {
    ::SelectObject(dc_, previous_);
    if (owned_) ::DeleteObject(object_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ object_;
  HGDIOBJ previous_;
  bool owned_;
};

}  // namespace

// One form on screen: its window, the windows of its controls, and the GDI objects they use.
class FormWindow {
 public:
  FormWindow(TForm& form, FormEngine& engine, HWND owner) : form_(form), engine_(engine), owner_(owner) {}
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  void Create();
  void Show();
  void Push();
  void Pull(const TControl* except);
  void SyncFocus(const TControl* except = nullptr);
  bool PreTranslate(MSG& message);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void ReportError(const std::string& message);

  HWND Window() const { return window_; }
  const TForm& Form() const { return form_; }
  HWND WindowOf(const TControl& control) const;
  HWND ItemWindowOf(const TRadioGroup& group, int index) const;

 private:
  struct Item {
    TControl* control = nullptr;
    HWND window = nullptr;           // the control, or the container of a group or a page
    HWND frame = nullptr;            // the frame of a group box or radio group
    std::vector<HWND> buttons;       // the items of a radio group
    std::vector<std::string> items;  // the list last written to a radio group or tabs
    bool filled = false;             // a combo box or list box holds the items of itemsRevision
    unsigned itemsRevision = 0;
    unsigned selectionRevision = 0;  // of a list box: the selection it shows
    int caret = -1;                  // of a multi-select list box: its current item when last seen
    std::string hint;                // the tooltip text registered for the control's windows
    std::vector<int> tabPages;       // of a page control: the page behind each tab
    TBounds bounds;                  // the bounds last written
    std::string look;                // colours last painted with
    HFONT font = nullptr;
    unsigned pictureVersion = 0;
  };
  struct Target {
    TControl* control = nullptr;
    int item = -1;
  };
  class PushGuard;

  int Scale(int value) const { return ::MulDiv(value, dpi_, 96); }
  HWND MakeWindow(DWORD exStyle, const char* className, const std::string& text, DWORD style, const TBounds& bounds,
                  HWND parent, int id);
  void CreateChildren(const TControl* parent, HWND parentWindow);
  Item& CreateControl(TControl& control, HWND parentWindow, int id);
  void CreateFrame(Item& item);
  void CreateRadioItems(Item& item);
  void PlaceChild(Item& item);
  RECT PageArea(HWND tabs) const;

  void PushControl(Item& item);
  void PushComboBox(Item& item);
  void PushListBox(Item& item);
  void PushListSelection(Item& item);
  void PullListBox(Item& item, bool touched);
  void PushHint(Item& item);
  std::vector<HWND> WindowsOf(const Item& item) const;
  void PushRadioGroup(Item& item);
  void PushTabs(Item& item);
  static int PageOfTab(const Item& item, int tab);
  void FocusActive();
  HWND FocusWindowOf(const TControl* control) const;

  Target TargetOf(HWND window) const;
  TControl* ControlOwning(HWND window) const;
  void Act(const TControl* except, const std::function<void()>& action);
  void OnCommand(HWND child, UINT code);
  LRESULT OnNotify(const NMHDR& header);
  HBRUSH OnControlColor(UINT message, HDC dc, HWND child);
  void OnDrawItem(const DRAWITEMSTRUCT& draw);
  void DrawLabel3D(const TLabel3D& label, HDC dc, RECT area);
  void DrawImage(const TImage& image, HDC dc, RECT area);
  void DrawCaptionStrip(const TCaptionStrip& strip, HDC dc, RECT area);
  void DrawPicture(const TDrawing& drawing, HDC dc, RECT area);

  TColor BackgroundOf(const TControl* container) const;
  TColor TextColorOf(const TControl& control) const;
  const TFont& FontOf(const TControl& control) const;
  HFONT FontFor(const TFont& font);
  HFONT MakeFont(const TFont& font, int pixelHeight);
  HBRUSH BrushFor(TColor color);
  std::string LookOf(const TControl& control) const;

  TForm& form_;
  FormEngine& engine_;
  HWND owner_;
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  bool hintsShown_ = false;
  int dpi_ = 96;
  LOGFONTA baseFont_{};
  bool pushing_ = false;
  std::vector<Item> items_;  // declaration order
  std::map<const TControl*, std::size_t> itemOf_;
  std::map<HWND, Target> targets_;
  std::map<std::string, HFONT> fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
};

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

namespace {

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

// ---- Creation

FormWindow::~FormWindow() {
  if (window_) ::DestroyWindow(window_);
  for (auto& entry : fonts_) ::DeleteObject(entry.second);
  for (auto& entry : brushes_) ::DeleteObject(entry.second);
}

HWND FormWindow::MakeWindow(DWORD exStyle, const char* className, const std::string& text, DWORD style,
                            const TBounds& bounds, HWND parent, int id) {
  HWND window = ::CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD, Scale(bounds.Left),
                                  Scale(bounds.Top), Scale(bounds.Width), Scale(bounds.Height), parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), this);
  if (!window) throw std::runtime_error("Cannot create the window of a control (" + std::string(className) + ").");
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
  if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof baseFont_, &baseFont_);
  } else {
    baseFont_ = metrics.lfMessageFont;
  }

  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  DWORD exStyle = form_.BorderStyle == TFormBorderStyle::bsToolWindow ? WS_EX_TOOLWINDOW : WS_EX_DLGMODALFRAME;
  HWND owner = owner_;
  if (form_.BorderStyle == TFormBorderStyle::bsSingle) {
    // A program's main window: a taskbar button of its own, so no owner, and a border that
    // cannot be sized.
    style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    exStyle = WS_EX_APPWINDOW;
    owner = nullptr;
  }
  if (form_.FormStyle == TFormStyle::fsStayOnTop) exStyle |= WS_EX_TOPMOST;
  RECT frame{0, 0, Scale(form_.ClientWidth), Scale(form_.ClientHeight)};
  ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  int left = Scale(form_.Left);
  int top = Scale(form_.Top);
  if (form_.Position == TPosition::poScreenCenter) {
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    left = work.left + std::max(0L, (work.right - work.left - width) / 2);
    top = work.top + std::max(0L, (work.bottom - work.top - height) / 2);
  }
  window_ = ::CreateWindowExA(exStyle, form_.ClassName().c_str(), form_.Caption().c_str(), style, left, top, width,
                              height, owner, nullptr, ::GetModuleHandleA(nullptr), this);
  if (!window_) throw std::runtime_error("Cannot create the window " + form_.Caption() + ".");
  // Owned by the form, so it goes with it; it shows hints also while the form is inactive.
  tooltip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
  if (tooltip_) ::SendMessageA(tooltip_, TTM_ACTIVATE, FALSE, 0);

  items_.reserve(form_.Controls().size());
  CreateChildren(nullptr, window_);
}

void FormWindow::CreateChildren(const TControl* parent, HWND parentWindow) {
  // Windows created in tab order, so that their Z order follows it too.
  for (TControl* child : form_.ChildrenOf(parent)) {
    const auto& all = form_.Controls();
    const int id = FirstControlId + static_cast<int>(std::find(all.begin(), all.end(), child) - all.begin());
    Item& item = CreateControl(*child, parentWindow, id);
    const std::size_t index = itemOf_.at(child);
    if (child->IsContainer()) CreateChildren(child, item.window);
    // The frame goes below the controls it surrounds, clipped by them.
    if (child->Kind() == TControlKind::GroupBox || child->Kind() == TControlKind::RadioGroup) {
      CreateFrame(items_[index]);
    }
  }
}

FormWindow::Item& FormWindow::CreateControl(TControl& control, HWND parentWindow, int id) {
  Item item;
  item.control = &control;
  item.bounds = control.Bounds();
  DWORD style = (control.Enabled() ? 0 : WS_DISABLED) | (control.Focusable() && control.TabStop ? WS_TABSTOP : 0);
  const TBounds& bounds = control.Bounds();
  switch (control.Kind()) {
    case TControlKind::Edit:
    case TControlKind::ReadOnlyEdit: {
      const auto& edit = static_cast<TEdit&>(control);
      // A flat box: a plain border instead of the sunken edge.
      item.window =
          MakeWindow(0, "EDIT", edit.Text(), style | WS_BORDER | ES_AUTOHSCROLL | (edit.ReadOnly() ? ES_READONLY : 0),
                     bounds, parentWindow, id);
      if (edit.MaxLength > 0) ::SendMessageA(item.window, EM_LIMITTEXT, static_cast<WPARAM>(edit.MaxLength), 0);
      break;
    }
    case TControlKind::Label: {
      const auto& label = static_cast<TLabel&>(control);
      DWORD align = SS_LEFT;
      if (label.Alignment == TAlignment::taRightJustify) align = SS_RIGHT;
      if (label.Alignment == TAlignment::taCenter) align = SS_CENTER;
      if (!label.WordWrap && label.Alignment == TAlignment::taLeftJustify) align = SS_LEFTNOWORDWRAP;
      item.window =
          MakeWindow(0, "STATIC", label.Caption(), style | align | SS_NOTIFY | (label.ShowAccelChar ? 0 : SS_NOPREFIX),
                     bounds, parentWindow, id);
      break;
    }
    case TControlKind::Label3D:
    case TControlKind::Image:
    case TControlKind::CaptionStrip:
      item.window =
          MakeWindow(0, "STATIC", control.Caption(), style | SS_OWNERDRAW | SS_NOTIFY, bounds, parentWindow, id);
      break;
    case TControlKind::CheckBox:
      item.window = MakeWindow(0, "BUTTON", control.Caption(), style | BS_CHECKBOX, bounds, parentWindow, id);
      break;
    case TControlKind::RadioButton:
      item.window = MakeWindow(0, "BUTTON", control.Caption(), style | BS_RADIOBUTTON, bounds, parentWindow, id);
      break;
    case TControlKind::Button: {
      const auto& button = static_cast<TButton&>(control);
      item.window =
          MakeWindow(0, "BUTTON", control.Caption(),
                     style | (button.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | (button.Flat ? BS_FLAT : 0), bounds,
                     parentWindow, id);
      break;
    }
    case TControlKind::ComboBox: {
      const auto& combo = static_cast<TComboBox&>(control);
      TBounds dropped = bounds;
      dropped.Height += 16 * std::max(combo.DropDownCount, 1);
      item.window = MakeWindow(0, "COMBOBOX", "", style | CBS_DROPDOWNLIST | WS_VSCROLL, dropped, parentWindow, id);
      break;
    }
    case TControlKind::ListBox:
      // Never LBS_SORT: the model keeps its items in order, so that the indexes agree.
      item.window = MakeWindow(0, "LISTBOX", "",
                               style | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER |
                                   (static_cast<TListBox&>(control).MultiSelect ? LBS_EXTENDEDSEL : 0),
                               bounds, parentWindow, id);
      break;
    case TControlKind::UpDown:
      item.window = MakeWindow(0, UPDOWN_CLASSA, "", style, bounds, parentWindow, id);
      break;
    case TControlKind::PageControl: {
      item.window =
          MakeWindow(0, WC_TABCONTROLA, "", style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, bounds, parentWindow, id);
      break;
    }
    case TControlKind::GroupBox:
    case TControlKind::RadioGroup:
    case TControlKind::TabSheet:
      // A group's frame covers the whole group and paints no background: the group must
      // paint its own beneath the frame, so it does not clip its children away.
      item.window = MakeWindow(WS_EX_CONTROLPARENT, ContainerClass, "",
                               style | (control.Kind() == TControlKind::TabSheet ? WS_CLIPCHILDREN : 0), bounds,
                               parentWindow, id);
      ::SetWindowLongPtrA(item.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      break;
  }
  item.font = FontFor(FontOf(control));
  ::SendMessageA(item.window, WM_SETFONT, reinterpret_cast<WPARAM>(item.font), FALSE);
  // The tabs first: their height decides where the pages go.
  if (control.Kind() == TControlKind::PageControl) PushTabs(item);
  if (control.Kind() == TControlKind::TabSheet) {
    const RECT area = PageArea(parentWindow);
    ::MoveWindow(item.window, area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
  }
  targets_[item.window] = Target{&control, -1};
  itemOf_[&control] = items_.size();
  items_.push_back(std::move(item));
  if (control.Kind() == TControlKind::RadioGroup) CreateRadioItems(items_.back());
  return items_.back();
}

RECT FormWindow::PageArea(HWND tabs) const {
  RECT area{};
  ::GetClientRect(tabs, &area);
  ::SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  return area;
}

void FormWindow::CreateFrame(Item& item) {
  const TBounds& bounds = item.control->Bounds();
  item.frame = MakeWindow(0, "BUTTON", item.control->Caption(), BS_GROUPBOX | WS_CLIPSIBLINGS | WS_VISIBLE,
                          TBounds{0, 0, bounds.Width, bounds.Height}, item.window, FrameId);
  ::SendMessageA(item.frame, WM_SETFONT, reinterpret_cast<WPARAM>(item.font), FALSE);
  ::SetWindowPos(item.frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  targets_[item.frame] = Target{item.control, -1};
}

void FormWindow::CreateRadioItems(Item& item) {
  for (HWND button : item.buttons) {
    targets_.erase(button);
    ::DestroyWindow(button);
  }
  item.buttons.clear();
  auto& group = static_cast<TRadioGroup&>(*item.control);
  item.items = group.Items();
  const TBounds& bounds = group.Bounds();
  const int count = static_cast<int>(item.items.size());
  const int top = 18;
  const int rowHeight = count > 0 ? std::max(17, (bounds.Height - top - 4) / count) : 0;
  for (int i = 0; i < count; ++i) {
    const TBounds row{8, top + i * rowHeight + (rowHeight - 17) / 2, bounds.Width - 16, 17};
    HWND button =
        MakeWindow(0, "BUTTON", item.items[static_cast<std::size_t>(i)],
                   BS_RADIOBUTTON | WS_VISIBLE | (i == 0 ? WS_TABSTOP : 0), row, item.window, FirstItemId + i);
    ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(item.font), FALSE);
    targets_[button] = Target{&group, i};
    item.buttons.push_back(button);
  }
  if (item.frame) ::SetWindowPos(item.frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FormWindow::Show() {
  Push();
  ::ShowWindow(window_, SW_SHOW);
  ::UpdateWindow(window_);
  FocusActive();
}

// ---- Models to controls and back

void FormWindow::Push() {
  PushGuard guard(pushing_);
  if (WindowText(window_) != form_.Caption()) ::SetWindowTextA(window_, form_.Caption().c_str());
  for (Item& item : items_) PushControl(item);
  if (tooltip_ && hintsShown_ != form_.ShowHint) {
    hintsShown_ = form_.ShowHint;
    ::SendMessageA(tooltip_, TTM_ACTIVATE, hintsShown_ ? TRUE : FALSE, 0);
  }
  // A handler that moved the focus from code moves the real one too (only while the form
  // is the active window: focusing it otherwise would steal the activation).
  if (::GetActiveWindow() == window_ && ControlOwning(::GetFocus()) != form_.ActiveControl()) FocusActive();
}

void FormWindow::PlaceChild(Item& item) {
  const TControl& control = *item.control;
  if (control.Kind() == TControlKind::TabSheet || control.Bounds() == item.bounds) return;
  item.bounds = control.Bounds();
  TBounds bounds = item.bounds;
  if (control.Kind() == TControlKind::ComboBox) {
    bounds.Height += 16 * std::max(static_cast<const TComboBox&>(control).DropDownCount, 1);
  }
  ::MoveWindow(item.window, Scale(bounds.Left), Scale(bounds.Top), Scale(bounds.Width), Scale(bounds.Height), TRUE);
  if (item.frame) ::MoveWindow(item.frame, 0, 0, Scale(bounds.Width), Scale(bounds.Height), TRUE);
}

void FormWindow::PushControl(Item& item) {
  TControl& control = *item.control;
  PlaceChild(item);

  bool shown = control.Visible();
  if (control.Kind() == TControlKind::TabSheet) {
    shown = shown && static_cast<TTabSheet&>(control).PageControl().ActivePage() == &control;
  }
  if (HasStyle(item.window, WS_VISIBLE) != shown) ::ShowWindow(item.window, shown ? SW_SHOWNA : SW_HIDE);
  if ((::IsWindowEnabled(item.window) != FALSE) != control.Enabled()) {
    ::EnableWindow(item.window, control.Enabled());
    for (HWND button : item.buttons) ::EnableWindow(button, control.Enabled());
  }

  HFONT font = FontFor(FontOf(control));
  if (font != item.font) {
    item.font = font;
    for (HWND window : {item.window, item.frame}) {
      if (window) ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    for (HWND button : item.buttons) ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  PushHint(item);

  switch (control.Kind()) {
    case TControlKind::Edit:
    case TControlKind::ReadOnlyEdit: {
      const auto& edit = static_cast<TEdit&>(control);
      if (WindowText(item.window) != edit.Text()) ::SetWindowTextA(item.window, edit.Text().c_str());
      break;
    }
    case TControlKind::Label:
    case TControlKind::Label3D:
    case TControlKind::Image:
    case TControlKind::CaptionStrip:
    case TControlKind::CheckBox:
    case TControlKind::RadioButton:
    case TControlKind::Button: {
      if (WindowText(item.window) != control.Caption()) ::SetWindowTextA(item.window, control.Caption().c_str());
      std::string look = LookOf(control);
      if (control.Kind() == TControlKind::Image) {
        look += "/" + std::to_string(static_cast<TImage&>(control).Picture.Version());
      }
      if (look != item.look) {
        item.look = look;
        ::InvalidateRect(item.window, nullptr, TRUE);
      }
      if (control.Kind() == TControlKind::CheckBox || control.Kind() == TControlKind::RadioButton) {
        const bool checked = control.Kind() == TControlKind::CheckBox ? static_cast<TCheckBox&>(control).Checked()
                                                                      : static_cast<TRadioButton&>(control).Checked();
        const LRESULT state = ::SendMessageA(item.window, BM_GETCHECK, 0, 0);
        if ((state == BST_CHECKED) != checked) {
          ::SendMessageA(item.window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        }
      }
      break;
    }
    case TControlKind::ComboBox:
      PushComboBox(item);
      break;
    case TControlKind::ListBox:
      PushListBox(item);
      break;
    case TControlKind::UpDown: {
      const auto& upDown = static_cast<TUpDown&>(control);
      int min = 0;
      int max = 0;
      ::SendMessageA(item.window, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&min), reinterpret_cast<LPARAM>(&max));
      if (min != upDown.Min() || max != upDown.Max()) {
        ::SendMessageA(item.window, UDM_SETRANGE32, static_cast<WPARAM>(upDown.Min()), upDown.Max());
      }
      if (static_cast<int>(::SendMessageA(item.window, UDM_GETPOS32, 0, 0)) != upDown.Position()) {
        ::SendMessageA(item.window, UDM_SETPOS32, 0, upDown.Position());
      }
      break;
    }
    case TControlKind::GroupBox:
      if (item.frame && WindowText(item.frame) != control.Caption()) {
        ::SetWindowTextA(item.frame, control.Caption().c_str());
      }
      break;
    case TControlKind::RadioGroup:
      PushRadioGroup(item);
      break;
    case TControlKind::PageControl:
      PushTabs(item);
      break;
    case TControlKind::TabSheet:
      break;
  }
}

// Visible pages have a tab; hidden ones have none.
void FormWindow::PushTabs(Item& item) {
  const auto& pageControl = static_cast<const TPageControl&>(*item.control);
  std::vector<std::string> captions;
  std::vector<int> tabPages;
  const auto pages = pageControl.Pages();
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (!pages[i]->Visible()) continue;
    captions.push_back(pages[i]->Caption());
    tabPages.push_back(static_cast<int>(i));
  }
  if (captions != item.items || tabPages != item.tabPages) {
    item.items = captions;
    item.tabPages = tabPages;
    ::SendMessageA(item.window, TCM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < captions.size(); ++i) {
      std::string caption = captions[i];
      TCITEMA tab{};
      tab.mask = TCIF_TEXT;
      tab.pszText = &caption[0];
      ::SendMessageA(item.window, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&tab));
    }
  }
  const auto found = std::find(tabPages.begin(), tabPages.end(), pageControl.ActivePageIndex());
  const int tab = found == tabPages.end() ? -1 : static_cast<int>(found - tabPages.begin());
  if (static_cast<int>(::SendMessageA(item.window, TCM_GETCURSEL, 0, 0)) != tab) {
    ::SendMessageA(item.window, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
  }
}

int FormWindow::PageOfTab(const Item& item, int tab) {
  return tab >= 0 && tab < static_cast<int>(item.tabPages.size()) ? item.tabPages[static_cast<std::size_t>(tab)] : -1;
}

namespace {

// Refills a list without one repaint per item, with the memory for all of them taken at once.
void FillList(HWND window, bool combo, const std::vector<std::string>& items) {
  std::size_t bytes = 0;
  for (const std::string& text : items) bytes += text.size() + 1;
  ::SendMessageA(window, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  ::SendMessageA(window, combo ? CB_INITSTORAGE : LB_INITSTORAGE, items.size(), static_cast<LPARAM>(bytes));
  for (const std::string& text : items) {
    ::SendMessageA(window, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

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

}  // namespace

void FormWindow::PushComboBox(Item& item) {
  const auto& combo = static_cast<const TComboBox&>(*item.control);
  if (!item.filled || item.itemsRevision != combo.ItemsRevision()) {
    RedrawOff redraw(item.window);
    FillList(item.window, true, combo.Items());
    item.filled = true;
    item.itemsRevision = combo.ItemsRevision();
  }
  if (static_cast<int>(::SendMessageA(item.window, CB_GETCURSEL, 0, 0)) != combo.ItemIndex()) {
    ::SendMessageA(item.window, CB_SETCURSEL, static_cast<WPARAM>(combo.ItemIndex()), 0);
  }
}

// The items only when they changed since the last push, and the selection only when it
// changed since the list was last pushed or read: a handler that leaves a list of thousands
// alone costs nothing.
void FormWindow::PushListBox(Item& item) {
  const auto& list = static_cast<const TListBox&>(*item.control);
  const bool refill = !item.filled || item.itemsRevision != list.ItemsRevision();
  if (!refill && item.selectionRevision == list.SelectionRevision()) return;
  RedrawOff redraw(item.window);
  if (refill) {
    FillList(item.window, false, list.Items());
    item.filled = true;
    item.itemsRevision = list.ItemsRevision();
  }
  PushListSelection(item);
}

void FormWindow::PushListSelection(Item& item) {
  const auto& list = static_cast<const TListBox&>(*item.control);
  item.selectionRevision = list.SelectionRevision();
  if (!list.MultiSelect) {
    ::SendMessageA(item.window, LB_SETCURSEL, static_cast<WPARAM>(list.ItemIndex()), 0);
    return;
  }
  ::SendMessageA(item.window, LB_SETSEL, FALSE, -1);
  for (int index : list.SelectedIndexes()) ::SendMessageA(item.window, LB_SETSEL, TRUE, index);
  if (list.ItemIndex() >= 0)
    ::SendMessageA(item.window, LB_SETCARETINDEX, static_cast<WPARAM>(list.ItemIndex()), FALSE);
  item.caret = static_cast<int>(::SendMessageA(item.window, LB_GETCARETINDEX, 0, 0));
}

// The model changes only where the list differs from it, so that its revision says what the
// list shows. The caret of a list that was not `touched` is no current item of the model's
// until it moves.
void FormWindow::PullListBox(Item& item, bool touched) {
  auto& list = static_cast<TListBox&>(*item.control);
  if (!list.MultiSelect) {
    const int index = static_cast<int>(::SendMessageA(item.window, LB_GETCURSEL, 0, 0));
    if (index != list.ItemIndex()) list.SetItemIndex(index);
  } else {
    const int count = static_cast<int>(::SendMessageA(item.window, LB_GETSELCOUNT, 0, 0));
    std::vector<int> selected(static_cast<std::size_t>(std::max(count, 0)));
    if (count > 0) {
      ::SendMessageA(item.window, LB_GETSELITEMS, static_cast<WPARAM>(count),
                     reinterpret_cast<LPARAM>(selected.data()));
    }
    if (selected != list.SelectedIndexes()) {
      list.ClearSelection();
      for (int index : selected) list.SetSelected(index, true);
    }
    const int caret = static_cast<int>(::SendMessageA(item.window, LB_GETCARETINDEX, 0, 0));
    if ((touched || caret != item.caret) && caret != list.ItemIndex()) list.SetItemIndex(caret);
    item.caret = caret;
  }
  item.selectionRevision = list.SelectionRevision();
}

std::vector<HWND> FormWindow::WindowsOf(const Item& item) const {
  std::vector<HWND> windows{item.window};
  windows.insert(windows.end(), item.buttons.begin(), item.buttons.end());
  return windows;
}

// Each window of a control with a hint is a tool of the form's tooltip; the tooltip watches
// the mouse over it by itself.
void FormWindow::PushHint(Item& item) {
  const std::string& hint = item.control->Hint;
  if (!tooltip_ || hint == item.hint) return;
  for (HWND window : WindowsOf(item)) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(window);
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    std::string text = hint;
    tool.lpszText = &text[0];
    if (hint.empty()) {
      ::SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    } else if (item.hint.empty()) {
      ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
      ::SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  item.hint = hint;
}

void FormWindow::PushRadioGroup(Item& item) {
  auto& group = static_cast<TRadioGroup&>(*item.control);
  if (item.frame && WindowText(item.frame) != group.Caption()) ::SetWindowTextA(item.frame, group.Caption().c_str());
  if (group.Items() != item.items) {
    CreateRadioItems(item);
    for (HWND button : item.buttons) ::EnableWindow(button, group.Enabled());
  }
  for (std::size_t i = 0; i < item.buttons.size(); ++i) {
    const bool checked = static_cast<int>(i) == group.ItemIndex();
    if ((::SendMessageA(item.buttons[i], BM_GETCHECK, 0, 0) == BST_CHECKED) != checked) {
      ::SendMessageA(item.buttons[i], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
}

void FormWindow::Pull(const TControl* except) {
  for (Item& item : items_) {
    TControl& control = *item.control;
    if (&control == except) continue;
    switch (control.Kind()) {
      case TControlKind::Edit:
      case TControlKind::ReadOnlyEdit:
        static_cast<TEdit&>(control).SetText(WindowText(item.window));
        break;
      case TControlKind::CheckBox:
        static_cast<TCheckBox&>(control).SetChecked(::SendMessageA(item.window, BM_GETCHECK, 0, 0) == BST_CHECKED);
        break;
      case TControlKind::ComboBox:
        static_cast<TComboBox&>(control).SetItemIndex(
            static_cast<int>(::SendMessageA(item.window, CB_GETCURSEL, 0, 0)));
        break;
      case TControlKind::ListBox:
        PullListBox(item, false);
        break;
      case TControlKind::UpDown:
        static_cast<TUpDown&>(control).SetPosition(static_cast<int>(::SendMessageA(item.window, UDM_GETPOS32, 0, 0)));
        break;
      case TControlKind::PageControl:
        static_cast<TPageControl&>(control).SetActivePageIndex(
            PageOfTab(item, static_cast<int>(::SendMessageA(item.window, TCM_GETCURSEL, 0, 0))));
        break;
      default:
        // Radio buttons and radio groups are checked by the host itself, never by Windows.
        break;
    }
  }
}

// ---- Focus

HWND FormWindow::FocusWindowOf(const TControl* control) const {
  if (!control) return nullptr;
  auto found = itemOf_.find(control);
  if (found == itemOf_.end()) return nullptr;
  const Item& item = items_[found->second];
  if (control->Kind() == TControlKind::RadioGroup) {
    if (item.buttons.empty()) return nullptr;
    const int index = static_cast<const TRadioGroup*>(control)->ItemIndex();
    return item.buttons[index >= 0 ? static_cast<std::size_t>(index) : 0];
  }
  return item.window;
}

void FormWindow::FocusActive() {
  HWND target = FocusWindowOf(form_.ActiveControl());
  if (!target || !::IsWindowVisible(target) || !::IsWindowEnabled(target)) target = window_;
  if (::GetFocus() != target) ::SetFocus(target);
}

FormWindow::Target FormWindow::TargetOf(HWND window) const {
  auto found = targets_.find(window);
  return found == targets_.end() ? Target{} : found->second;
}

TControl* FormWindow::ControlOwning(HWND window) const {
  for (HWND current = window; current && current != window_; current = ::GetParent(current)) {
    if (TControl* control = TargetOf(current).control) return control;
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

void FormWindow::Act(const TControl* except, const std::function<void()>& action) {
  if (pushing_) return;
  Pull(except);
  action();
  if (!engine_.Closed()) Push();
}

// ---- Keyboard

bool FormWindow::PreTranslate(MSG& message) {
  if (message.hwnd != window_ && !::IsChild(window_, message.hwnd)) return false;
  switch (message.message) {
    case WM_KEYDOWN: {
      const WPARAM key = message.wParam;
      if (key == VK_RETURN || key == VK_ESCAPE) {
        // An open drop-down list takes Enter and Esc itself.
        HWND combo = message.hwnd;
        if (TargetOf(combo).control == nullptr) combo = ::GetParent(combo);
        const TControl* control = TargetOf(combo).control;
        if (control && control->Kind() == TControlKind::ComboBox && ::SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) {
          return false;
        }
        SyncFocus();
        Act(nullptr, [&] { key == VK_RETURN ? engine_.Enter() : engine_.Escape(); });
        return true;
      }
      if (key == VK_TAB) {
        SyncFocus();
        const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
        TControl* next = nullptr;
        Act(nullptr, [&] { next = engine_.Tab(backwards); });
        if (next && IsEdit(next->Kind()) && !engine_.Closed()) {
          ::SendMessageA(FocusWindowOf(next), EM_SETSEL, 0, -1);
        }
        return true;
      }
      if (key == VK_F1) {
        SyncFocus();
        Act(nullptr, [&] { engine_.Help(); });
        return true;
      }
      return false;
    }
    case WM_SYSCHAR: {
      const char letter = static_cast<char>(message.wParam);
      bool clicked = false;
      SyncFocus();
      Act(nullptr, [&] { clicked = engine_.Mnemonic(letter); });
      return clicked;
    }
    case WM_CHAR: {
      SyncFocus();
      if (ControlOwning(message.hwnd) != form_.ActiveControl() || !form_.ActiveControl()) return false;
      char key = static_cast<char>(message.wParam);
      bool passed = true;
      Act(nullptr, [&] { passed = engine_.KeyPress(key); });
      if (!passed || engine_.Closed()) return true;
      message.wParam = static_cast<unsigned char>(key);
      return false;
    }
    default:
      return false;
  }
}

// ---- Notifications

void FormWindow::OnCommand(HWND child, UINT code) {
  if (pushing_) return;
  const Target target = TargetOf(child);
  if (!target.control) return;
  TControl& control = *target.control;
  SyncFocus(&control);
  switch (control.Kind()) {
    case TControlKind::Button:
    case TControlKind::CheckBox:
    case TControlKind::RadioButton:
      if (code == BN_CLICKED) Act(&control, [&] { engine_.Click(control); });
      break;
    case TControlKind::RadioGroup:
      if (code == BN_CLICKED && target.item >= 0) {
        Act(&control, [&] { engine_.ClickItem(static_cast<TRadioGroup&>(control), target.item); });
      }
      break;
    case TControlKind::Edit: {
      if (code != EN_CHANGE) break;
      const std::string text = WindowText(child);
      Act(&control, [&] { engine_.TextEdited(static_cast<TEdit&>(control), text); });
      break;
    }
    case TControlKind::Label:
    case TControlKind::Label3D:
    case TControlKind::Image:
      if (code == STN_CLICKED) Act(&control, [&] { engine_.Click(control); });
      if (code == STN_DBLCLK) Act(&control, [&] { engine_.DoubleClicked(control); });
      break;
    case TControlKind::ComboBox:
      if (code == CBN_SELCHANGE) {
        const int index = static_cast<int>(::SendMessageA(child, CB_GETCURSEL, 0, 0));
        Act(&control, [&] { engine_.Select(static_cast<TComboBox&>(control), index); });
      }
      break;
    case TControlKind::ListBox:
      if (code == LBN_SELCHANGE) {
        auto& list = static_cast<TListBox&>(control);
        if (list.MultiSelect) {
          Item& item = items_[itemOf_.at(&control)];
          Act(&control, [&] { engine_.ListSelectionChanged(list, [&] { PullListBox(item, true); }); });
        } else {
          const int index = static_cast<int>(::SendMessageA(child, LB_GETCURSEL, 0, 0));
          Act(&control, [&] { engine_.Select(list, index); });
        }
      }
      if (code == LBN_DBLCLK) Act(&control, [&] { engine_.DoubleClicked(control); });
      break;
    default:
      break;
  }
}

LRESULT FormWindow::OnNotify(const NMHDR& header) {
  if (pushing_) return 0;
  const Target target = TargetOf(header.hwndFrom);
  if (!target.control) return 0;
  TControl& control = *target.control;
  if (control.Kind() == TControlKind::PageControl && header.code == static_cast<UINT>(TCN_SELCHANGE)) {
    const int index =
        PageOfTab(items_[itemOf_.at(&control)], static_cast<int>(::SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
    SyncFocus(&control);
    Act(&control, [&] { engine_.SwitchPage(static_cast<TPageControl&>(control), index); });
    // A page that may not be shown leaves the tabs where the model is.
    if (!engine_.Closed()) Push();
    return 0;
  }
  if (control.Kind() == TControlKind::UpDown && header.code == static_cast<UINT>(UDN_DELTAPOS)) {
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    auto& upDown = static_cast<TUpDown&>(control);
    if (change.iDelta != 0) {
      // The control counts down for "up" when its range is reversed.
      const bool up = (change.iDelta > 0) != (upDown.Max() < upDown.Min());
      SyncFocus(&control);
      Act(&control, [&] { engine_.ClickUpDown(upDown, up ? TUDBtnType::btNext : TUDBtnType::btPrev); });
    }
    // The model moved the position; the control only shows it.
    return TRUE;
  }
  return 0;
}

// ---- Painting

const TFont& FormWindow::FontOf(const TControl& control) const {
  return control.Font != TFont{} ? control.Font : form_.Font;
}

HFONT FormWindow::MakeFont(const TFont& font, int pixelHeight) {
  LOGFONTA logFont = baseFont_;
  if (!font.Name.empty()) ::lstrcpynA(logFont.lfFaceName, font.Name.c_str(), LF_FACESIZE);
  if (pixelHeight != 0) logFont.lfHeight = pixelHeight;
  if (font.Bold) logFont.lfWeight = FW_BOLD;
  logFont.lfItalic = font.Italic ? TRUE : FALSE;
  logFont.lfUnderline = font.Underline ? TRUE : FALSE;
  return ::CreateFontIndirectA(&logFont);
}

HFONT FormWindow::FontFor(const TFont& font) {
  const std::string key = font.Name + "/" + std::to_string(font.Size) + (font.Bold ? "b" : "") +
                          (font.Italic ? "i" : "") + (font.Underline ? "u" : "");
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  HFONT made = MakeFont(font, font.Size > 0 ? -::MulDiv(font.Size, dpi_, 72) : 0);
  fonts_[key] = made;
  return made;
}

HBRUSH FormWindow::BrushFor(TColor color) {
  const COLORREF value = Resolve(color);
  auto found = brushes_.find(value);
  if (found != brushes_.end()) return found->second;
  HBRUSH brush = ::CreateSolidBrush(value);
  brushes_[value] = brush;
  return brush;
}

TColor FormWindow::BackgroundOf(const TControl* container) const {
  for (; container; container = container->Parent()) {
    if (container->Color != clDefault) return container->Color;
    if (container->Kind() == TControlKind::TabSheet) return clBtnFace;
  }
  return form_.Color;
}

TColor FormWindow::TextColorOf(const TControl& control) const {
  if (control.Font.Color != clDefault) return control.Font.Color;
  if (form_.Font.Color != clDefault) return form_.Font.Color;
  const TControlKind kind = control.Kind();
  return IsEdit(kind) || kind == TControlKind::ComboBox || kind == TControlKind::ListBox ? clWindowText : clBtnText;
}

std::string FormWindow::LookOf(const TControl& control) const {
  return std::to_string(TextColorOf(control)) + "/" + std::to_string(control.Color) + "/" +
         std::to_string(BackgroundOf(control.Parent()));
}

HBRUSH FormWindow::OnControlColor(UINT message, HDC dc, HWND child) {
  const TControl* control = TargetOf(child).control;
  if (!control) return nullptr;
  TColor background;
  const bool group = control->Kind() == TControlKind::GroupBox || control->Kind() == TControlKind::RadioGroup;
  if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
    background = control->Color != clDefault ? control->Color : clWindow;
  } else if (control->Kind() == TControlKind::ReadOnlyEdit) {
    background = control->Color != clDefault ? control->Color : clBtnFace;
  } else if (group) {
    background = BackgroundOf(control);
  } else {
    background = control->Color != clDefault ? control->Color : BackgroundOf(control->Parent());
  }
  ::SetTextColor(dc, Resolve(TextColorOf(*control)));
  ::SetBkColor(dc, Resolve(background));
  return BrushFor(background);
}

void FormWindow::OnDrawItem(const DRAWITEMSTRUCT& draw) {
  const TControl* control = TargetOf(draw.hwndItem).control;
  if (!control) return;
  switch (control->Kind()) {
    case TControlKind::Label3D:
      DrawLabel3D(static_cast<const TLabel3D&>(*control), draw.hDC, draw.rcItem);
      break;
    case TControlKind::Image:
      DrawImage(static_cast<const TImage&>(*control), draw.hDC, draw.rcItem);
      break;
    case TControlKind::CaptionStrip:
      DrawCaptionStrip(static_cast<const TCaptionStrip&>(*control), draw.hDC, draw.rcItem);
      break;
    default:
      break;
  }
}

void FormWindow::DrawLabel3D(const TLabel3D& label, HDC dc, RECT area) {
  const TColor background = label.Color != clDefault ? label.Color : BackgroundOf(label.Parent());
  ::FillRect(dc, &area, BrushFor(background));
  Selected font(dc, FontFor(FontOf(label)), false);
  ::SetBkMode(dc, TRANSPARENT);
  UINT format = TextAlignment(label.Alignment) | (label.WordWrap ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER) |
                (label.ShowAccelChar ? 0 : DT_NOPREFIX);
  const int depth = std::max(1, Scale(2));
  RECT shadow = area;
  ::OffsetRect(&shadow, depth, depth);
  ::SetTextColor(dc, Resolve(label.ShadowColor));
  ::DrawTextA(dc, label.Caption().c_str(), -1, &shadow, format);
  RECT text = area;
  text.right -= depth;
  text.bottom -= depth;
  ::SetTextColor(dc, Resolve(TextColorOf(label)));
  ::DrawTextA(dc, label.Caption().c_str(), -1, &text, format);
}

void FormWindow::DrawImage(const TImage& image, HDC dc, RECT area) {
  const TColor background = image.Color != clDefault ? image.Color : BackgroundOf(image.Parent());
  ::FillRect(dc, &area, BrushFor(background));
  if (HICON icon = image.Picture.Icon()) {
    const int size = Scale(32);
    const int left = area.left + (area.right - area.left - size) / 2;
    const int top = area.top + (area.bottom - area.top - size) / 2;
    ::DrawIconEx(dc, left, top, icon, size, size, 0, nullptr, DI_NORMAL);
  } else if (const TDrawing* drawing = image.Picture.Drawing()) {
    DrawPicture(*drawing, dc, area);
  }
}

void FormWindow::DrawPicture(const TDrawing& drawing, HDC dc, RECT area) {
  if (drawing.Width <= 0 || drawing.Height <= 0) return;
  const double scale = std::min(static_cast<double>(area.right - area.left) / drawing.Width,
                                static_cast<double>(area.bottom - area.top) / drawing.Height);
  const int originX = area.left + static_cast<int>((area.right - area.left - drawing.Width * scale) / 2);
  const int originY = area.top + static_cast<int>((area.bottom - area.top - drawing.Height * scale) / 2);
  auto at = [&](const TPoint& point) {
    return POINT{originX + static_cast<LONG>(std::lround(point.X * scale)),
                 originY + static_cast<LONG>(std::lround(point.Y * scale))};
  };
  for (const TShape& shape : drawing.Shapes) {
    if (shape.Points.size() < 2) continue;
    if (shape.ShapeKind == TShape::Kind::Text) {
      const POINT topLeft = at(shape.Points[0]);
      const POINT bottomRight = at(shape.Points[1]);
      RECT box{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
      const int height = -static_cast<int>(std::lround(shape.Font.Size * 96.0 / 72.0 * scale));
      Selected font(dc, MakeFont(shape.Font, height), true);
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, Resolve(shape.Font.Color == clDefault ? clBtnText : shape.Font.Color));
      ::DrawTextA(dc, shape.Text.c_str(), -1, &box,
                  TextAlignment(shape.Alignment) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      continue;
    }
    const bool ownPen = shape.Pen != clNone;
    const bool ownBrush = shape.Fill != clNone;
    Selected pen(dc,
                 ownPen ? ::CreatePen(PS_SOLID, std::max(1, static_cast<int>(std::lround(shape.PenWidth * scale))),
                                      Resolve(shape.Pen))
                        : ::GetStockObject(NULL_PEN),
                 ownPen);
    Selected brush(dc, ownBrush ? ::CreateSolidBrush(Resolve(shape.Fill)) : ::GetStockObject(NULL_BRUSH), ownBrush);
    if (shape.ShapeKind == TShape::Kind::Polygon) {
      std::vector<POINT> points;
      for (const TPoint& point : shape.Points) points.push_back(at(point));
      ::Polygon(dc, points.data(), static_cast<int>(points.size()));
    } else {
      const POINT topLeft = at(shape.Points[0]);
      const POINT bottomRight = at(shape.Points[1]);
      if (shape.ShapeKind == TShape::Kind::Ellipse) {
        ::Ellipse(dc, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
      } else {
        ::Rectangle(dc, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
      }
    }
  }
}

void FormWindow::DrawCaptionStrip(const TCaptionStrip& strip, HDC dc, RECT area) {
  const COLORREF start = Resolve(strip.StartColor);
  const COLORREF end = Resolve(strip.EndColor);
  const int width = area.right - area.left;
  const int band = std::max(1, Scale(2));
  for (int x = 0; x < width; x += band) {
    RECT slice{area.left + x, area.top, std::min<LONG>(area.left + x + band, area.right), area.bottom};
    HBRUSH brush = ::CreateSolidBrush(Blend(start, end, x, width));
    ::FillRect(dc, &slice, brush);
    ::DeleteObject(brush);
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, Resolve(strip.Font.Color != clDefault ? strip.Font.Color : clWhite));
  RECT text = area;
  text.left += Scale(6);
  TFont bold = FontOf(strip);
  bold.Bold = true;
  {
    Selected font(dc, FontFor(bold), false);
    ::DrawTextA(dc, strip.CompanyText.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, strip.CompanyText.c_str(), static_cast<int>(strip.CompanyText.size()), &extent);
    text.left += extent.cx + Scale(6);
  }
  Selected font(dc, FontFor(FontOf(strip)), false);
  const std::string rest = strip.AppNameText + strip.Caption();
  ::DrawTextA(dc, rest.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
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
      if (HBRUSH brush = OnControlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (draw->CtlType == ODT_STATIC) {
        OnDrawItem(*draw);
        return TRUE;
      }
      break;
    }
    case WM_ERASEBKGND: {
      RECT area{};
      ::GetClientRect(window, &area);
      const TControl* container = window == window_ ? nullptr : TargetOf(window).control;
      ::FillRect(reinterpret_cast<HDC>(wParam), &area, BrushFor(BackgroundOf(container)));
      return 1;
    }
    case WM_SETCURSOR: {
      const TControl* control = TargetOf(reinterpret_cast<HWND>(wParam)).control;
      if (control && control->Cursor == TCursor::crHandPoint && LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_CLOSE:
      if (window == window_) {
        Act(nullptr, [&] { engine_.CloseBox(); });
        return 0;
      }
      break;
    case WM_ACTIVATE:
      if (window == window_) {
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

HWND FormWindow::WindowOf(const TControl& control) const {
  auto found = itemOf_.find(&control);
  return found == itemOf_.end() ? nullptr : items_[found->second].window;
}

HWND FormWindow::ItemWindowOf(const TRadioGroup& group, int index) const {
  auto found = itemOf_.find(&group);
  if (found == itemOf_.end()) return nullptr;
  const auto& buttons = items_[found->second].buttons;
  return index >= 0 && index < static_cast<int>(buttons.size()) ? buttons[static_cast<std::size_t>(index)] : nullptr;
}

// ---- The host

Win32FormHost::Win32FormHost(Platform& platform, FormHostOptions options)
    : platform_(platform), options_(std::move(options)) {}

Win32FormHost::~Win32FormHost() = default;

TModalResult Win32FormHost::ShowModal(TForm& form, HWND owner) {
  FormEngine engine(form, platform_.Dialogs(), options_);
  FormWindow window(form, engine, owner);
  window.Create();
  form.SetHandle(window.Window());
  struct Open {
    std::vector<FormWindow*>& open;
    TForm& form;
    HWND owner;
    bool disabled;
    ~Open() {
      // The owner is enabled again before the form goes, so that it gets the activation back.
      if (disabled) ::EnableWindow(owner, TRUE);
      open.pop_back();
      form.SetHandle(nullptr);
    }
  } opened{open_, form, owner, owner != nullptr && ::IsWindowEnabled(owner)};
  open_.push_back(&window);

  engine.Opening();
  if (opened.disabled) ::EnableWindow(owner, FALSE);
  window.Show();

  while (!engine.Closed()) {
    MSG message{};
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      // The application is ending: leave the quit request for the outer loop.
      if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
      form.SetModalResult(mrCancel);
      break;
    }
    try {
      if (!window.PreTranslate(message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
      }
      window.SyncFocus();
    } catch (const std::exception& error) {
      window.ReportError(error.what());
    } catch (...) {
      window.ReportError("Unexpected error.");
    }
  }
  return form.ModalResult();
}

const FormWindow* Win32FormHost::Showing(const TForm& form) const {
  for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
    if (&(*it)->Form() == &form) return *it;
  }
  return nullptr;
}

HWND Win32FormHost::WindowOf(const TControl& control) const {
  const FormWindow* window = Showing(control.Form());
  return window ? window->WindowOf(control) : nullptr;
}

HWND Win32FormHost::ItemWindowOf(const TRadioGroup& group, int index) const {
  const FormWindow* window = Showing(group.Form());
  return window ? window->ItemWindowOf(group, index) : nullptr;
}

}  // namespace ombrix::win32
