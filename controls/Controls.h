#pragma once
// The control models of the form toolkit. A form owns its controls as members; each one
// holds what the user sees and changes (text, check mark, selection, position, enabled,
// visible, bounds) plus, declared once with it, its kind, name, caption, parent and
// bounds. A form host turns the declarations into real controls, or simulates them.
//
// Changes made from code never raise events: a handler that sets a check mark or a text
// does not run another handler. Events come from the user only, through a host.

#include <functional>
#include <string>
#include <vector>

#include "controls/Graphics.h"
#include "platform/WinDefs.h"

namespace ombrix {

class IWindowOps;
class TForm;
class TControl;
class TPageControl;

enum class TControlKind {
  kEdit,
  kReadOnlyEdit,
  kLabel,
  kLabel3D,
  kCheckBox,
  kRadioButton,
  kRadioGroup,
  kComboBox,  // a drop-down list without free text
  kListBox,
  kUpDown,
  kHotKey,
  kImage,
  kButton,
  kGroupBox,
  kPageControl,
  kTabSheet,
  kCaptionStrip,
};

// Position and size in pixels at 96 dpi, relative to the parent's client area (the form,
// a group box, or a page).
struct TBounds {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;

  bool operator==(const TBounds& other) const {
    return Left == other.Left && Top == other.Top && Width == other.Width && Height == other.Height;
  }
  bool operator!=(const TBounds& other) const { return !(*this == other); }
};

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

enum class TUDBtnType { kNext, kPrev };  // the up arrow, the down arrow
enum class TCursor { kDefault, kHandPoint };

using TNotifyEvent = std::function<void(TControl& sender)>;
// The handler may change the key, or set it to 0 to swallow it.
using TKeyPressEvent = std::function<void(TControl& sender, char& key)>;
using TUDClickEvent = std::function<void(TControl& sender, TUDBtnType button)>;
// Orders two texts: below 0, 0 or above 0. Sorted lists use it; see WindowsSortOrder.
using TTextCompare = std::function<int(const std::string& left, const std::string& right)>;
// The order in which Windows sorts the items of a list box or combo box: CompareStringA in
// the user's locale, without regard to case.
TTextCompare WindowsSortOrder(IWindowOps& windows);

class TControl {
 public:
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  TControlKind Kind() const { return kind_; }
  // Whether a control of `kind` is one of this class (each class answers for its own kinds;
  // the Windows programs are built without run-time type information).
  static bool OfKind(TControlKind) { return true; }
  const std::string& Name() const { return name_; }
  TForm& Form() const { return form_; }
  // The container: a group box, a page, or a page control for its pages; nullptr is the form.
  TControl* Parent() const { return parent_; }

  const TBounds& Bounds() const { return bounds_; }
  void SetBounds(const TBounds& bounds) { bounds_ = bounds; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }

  // On screen: the control and every container up to the form visible, and any page on the
  // way the active one of its page control.
  bool Showing() const;
  // Showing and enabled, together with every container: what a user can click or type into.
  bool Usable() const;
  // Kinds that take the keyboard focus.
  bool Focusable() const;
  bool IsContainer() const;

  // Design properties.
  int TabOrder = 0;  // among the siblings; the declaration order unless set
  bool TabStop = false;
  int HelpContext = 0;  // 0: the parent's (finally the form's)
  TFont Font;
  TColor Color = clDefault;
  TCursor Cursor = TCursor::kDefault;
  // The tooltip shown over the control while the form's ShowHint is on; empty: none.
  std::string Hint;

  TNotifyEvent OnExit;  // the focus moved from this control to another one of the form
  TKeyPressEvent OnKeyPress;

 protected:
  // Names and captions are taken as plain character pointers, as every control is declared
  // with literals: a std::string parameter would be built and destroyed at each of the
  // hundreds of declarations, about 9 KB of code in each program.
  TControl(TForm& form, TControlKind kind, const char* name, TControl* parent, TBounds bounds, const char* caption);

 private:
  TForm& form_;
  TControlKind kind_;
  std::string name_;
  TControl* parent_;
  TBounds bounds_;
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
};

class TLabel : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kLabel || kind == TControlKind::kLabel3D; }
  TLabel(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption);

  TAlignment Alignment = TAlignment::kLeftJustify;
  bool WordWrap = false;      // otherwise one line, cut at the label's width
  bool ShowAccelChar = true;  // "&x" underlines x; values showing data set it off
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;  // a double click runs OnClick first, as Windows reports it

 protected:
  TLabel(TForm& form, TControlKind kind, const char* name, TControl* parent, TBounds bounds, const char* caption);
};

// A label whose text is drawn raised, with a shadow.
class TLabel3D : public TLabel {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kLabel3D; }
  TLabel3D(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption);
  TColor ShadowColor = clGray;
};

class TEdit : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kEdit || kind == TControlKind::kReadOnlyEdit; }
  TEdit(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* text = "", bool readOnly = false);

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text) { text_ = text; }
  bool ReadOnly() const { return Kind() == TControlKind::kReadOnlyEdit; }

  int MaxLength = 0;  // 0: no limit
  TNotifyEvent OnChange;

 private:
  std::string text_;
};

class TCheckBox : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kCheckBox; }
  TCheckBox(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption);

  bool Checked() const { return checked_; }
  void SetChecked(bool checked) { checked_ = checked; }

  TNotifyEvent OnClick;  // after the click has toggled the check mark

 private:
  bool checked_ = false;
};

// Radio buttons with the same parent and the same GroupIndex form one group: checking one
// unchecks the others; unchecking one leaves the others alone.
class TRadioButton : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kRadioButton; }
  TRadioButton(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption);

  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  bool SameGroup(const TRadioButton& other) const;

  int GroupIndex = 0;
  TNotifyEvent OnClick;  // every click, after the click has checked the button

 private:
  bool checked_ = false;
};

// A framed group of radio buttons made from a list of items; the selection is an index.
class TRadioGroup : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kRadioGroup; }
  TRadioGroup(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption,
              std::vector<std::string> items = {});

  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  int ItemIndex() const { return itemIndex_; }
  // Below -1 gives -1, beyond the last item gives the last item.
  void SetItemIndex(int index);

  TNotifyEvent OnClick;  // after a click on an item has selected it

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

// A drop-down list: the user picks one of the items and cannot type a text of his own.
class TComboBox : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kComboBox; }
  TComboBox(TForm& form, const char* name, TControl* parent, TBounds bounds, std::vector<std::string> items = {});

  const std::vector<std::string>& Items() const { return items_; }
  // Sorted when Sorted is on; the selection is cleared.
  void SetItems(std::vector<std::string> items);
  // Adds an item at its sorted place (at the end when not sorted); returns its index. The
  // selected item stays selected.
  int Add(const std::string& item);
  void Clear() { SetItems({}); }
  int ItemIndex() const { return itemIndex_; }
  // An index outside the items selects nothing (-1).
  void SetItemIndex(int index);
  // The selected item, or "" with none.
  std::string Text() const;
  // Grows whenever the items change, so that a host refills its control only then.
  unsigned ItemsRevision() const { return itemsRevision_; }

  bool Sorted = false;
  TTextCompare Compare;  // the order of a sorted list; empty: byte order
  int DropDownCount = 8;
  TNotifyEvent OnChange;  // the user picked another item

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  unsigned itemsRevision_ = 0;
};

// A list of items. With MultiSelect the user selects several items at once (Ctrl+click,
// Shift+click, as an extended-selection list box), and the current item (the one with the
// focus rectangle) need not be selected; without it the current item is the selected one.
// A list of thousands of items is filled with SetItems (one sort, one refill of the control)
// rather than item by item.
class TListBox : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kListBox; }
  TListBox(TForm& form, const char* name, TControl* parent, TBounds bounds, std::vector<std::string> items = {});

  const std::vector<std::string>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Sorted when Sorted is on; no item is selected or current afterwards.
  void SetItems(std::vector<std::string> items);
  // Adds an item at its sorted place (at the end when not sorted); returns its index.
  int Add(const std::string& item);
  // Removes one item; the items after it move up, and so do the selection and the current
  // item (the current item is none when it was the one removed).
  void Delete(int index);
  void Clear() { SetItems({}); }

  // The current item, or -1.
  int ItemIndex() const { return itemIndex_; }
  // Outside the items: none (-1). Without MultiSelect the current item is also the only
  // selected one.
  void SetItemIndex(int index);
  bool Selected(int index) const;
  // Without MultiSelect, selecting an item makes it the current one and unselects the rest.
  void SetSelected(int index, bool selected);
  void ClearSelection();
  int SelCount() const;
  // The selected items' indexes, in increasing order.
  std::vector<int> SelectedIndexes() const;

  // Grow whenever the items, or the selection and current item, change: a host refills or
  // reselects its control only then.
  unsigned ItemsRevision() const { return itemsRevision_; }
  unsigned SelectionRevision() const { return selectionRevision_; }

  bool MultiSelect = false;
  bool Sorted = false;
  TTextCompare Compare;     // the order of a sorted list; empty: byte order
  TNotifyEvent OnClick;     // the user selected an item or moved the current item
  TNotifyEvent OnDblClick;  // the user double-clicked an item

 private:
  void SelectionChanged() { ++selectionRevision_; }

  std::vector<std::string> items_;
  std::vector<bool> selected_;
  int itemIndex_ = -1;
  unsigned itemsRevision_ = 0;
  unsigned selectionRevision_ = 0;
};

// Arrows that move a number between a minimum and a maximum. The up arrow moves towards
// the maximum, also when the maximum is below the minimum (it then counts down), and
// without Wrap the position stops at the ends, as the common control does.
class TUpDown : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kUpDown; }
  TUpDown(TForm& form, const char* name, TControl* parent, TBounds bounds, int min = 0, int max = 100,
          int position = 0);

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetMin(int min) { min_ = min; }
  void SetMax(int max) { max_ = max; }
  // Kept within the range (whichever way round it is).
  void SetPosition(int position);
  // What one click of an arrow does to the position; true when it moved.
  bool Step(TUDBtnType button);

  int Increment = 1;
  bool Wrap = false;
  TUDClickEvent OnClick;  // every click of an arrow, also when the position stayed at its end

 private:
  int min_;
  int max_;
  int position_;
};

// The system's hot-key control: the user presses a key with Ctrl, Shift or Alt held and the
// control holds the combination as a hot-key word, the virtual key in the low byte and the
// HOTKEYF_ flags in the next (0: none). Its rules, as HKM_SETRULES gives them, name the
// combinations of modifiers it does not take and the modifiers it adds to them.
class THotKey : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kHotKey; }
  THotKey(TForm& form, const char* name, TControl* parent, TBounds bounds);

  int HotKey() const { return hotKey_; }
  void SetHotKey(int hotKey) { hotKey_ = hotKey; }
  // What the control holds once the user pressed `key` with the HOTKEYF_ `modifiers` held:
  // Backspace, Delete and Space clear it; a combination the rules refuse gets their
  // modifiers added, but a function key pressed alone stays alone (the rules would make F5
  // into a combination nobody typed).
  int Entered(BYTE key, BYTE modifiers) const;

  WORD InvalidCombinations = 0;  // HKCOMB_ flags
  BYTE InvalidModifiers = 0;     // HOTKEYF_ flags added to a combination the rules refuse
  // F2 to F24 are kept with whatever modifiers are held, outside the rules (which work per
  // combination, whatever the key); F1, which asks for help, is refused.
  bool FunctionKeysFree = false;

 private:
  int hotKey_ = 0;
};

class TImage : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kImage; }
  TImage(TForm& form, const char* name, TControl* parent, TBounds bounds);

  TPicture Picture;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
};

class TButton : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kButton; }
  TButton(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption);

  bool Default = false;               // Enter presses it (unless the focus is on another button)
  bool Cancel = false;                // Esc presses it
  TModalResult ModalResult = mrNone;  // a click sets the form's result before OnClick runs
  bool Flat = false;                  // drawn without a raised frame until the mouse is over it
  TNotifyEvent OnClick;
};

class TGroupBox : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kGroupBox; }
  TGroupBox(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption);
};

class TTabSheet : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kTabSheet; }
  // The bounds of a page are those of its page control's display area.
  TTabSheet(TForm& form, const char* name, TPageControl& pageControl, const char* caption);
  TPageControl& PageControl() const;
  int PageIndex() const;

  // The page's controls get their windows when the page first shows, not with the form's:
  // a page that is not shown at first then costs the window's start nothing. Set back to
  // false, the page gets them with the form's next update.
  bool CreateWhenShown = false;
};

class TPageControl : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kPageControl; }
  TPageControl(TForm& form, const char* name, TControl* parent, TBounds bounds);

  std::vector<TTabSheet*> Pages() const;
  int PageCount() const { return static_cast<int>(Pages().size()); }
  int ActivePageIndex() const { return activePage_; }
  TTabSheet* ActivePage() const;
  // An index outside the pages is ignored.
  void SetActivePageIndex(int index);

  TNotifyEvent OnChange;  // the user switched to another page

 private:
  int activePage_ = 0;
};

// The strip at the top of a form that names the company, the program and the window, on a
// colour gradient.
class TCaptionStrip : public TControl {
 public:
  static bool OfKind(TControlKind kind) { return kind == TControlKind::kCaptionStrip; }
  TCaptionStrip(TForm& form, const char* name, TBounds bounds, const char* caption, const char* appNameText,
                const char* companyText);

  std::string AppNameText;
  std::string CompanyText;
  // Fixed colours rather than the system's caption colours, which many schemes make equal.
  TColor StartColor = RgbColor(0, 36, 104);
  TColor EndColor = RgbColor(112, 164, 224);
};

}  // namespace ombrix
