#include "controls/Controls.h"

#include <algorithm>

#include "controls/Form.h"
#include "platform/WindowOps.h"

namespace ombrix {

TTextCompare WindowsSortOrder(IWindowOps& windows) {
  return [&windows](const std::string& left, const std::string& right) {
    return windows.CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, left, right) - CSTR_EQUAL;
  };
}

// ---- TControl

TControl::TControl(TForm& form, TControlKind kind, const char* name, TControl* parent, TBounds bounds,
                   const char* caption)
    : form_(form), kind_(kind), name_(name), parent_(parent), bounds_(bounds), caption_(caption) {
  TabStop = Focusable();
  form_.Register(*this);
}

TControl::~TControl() { form_.Unregister(*this); }

bool TControl::Showing() const {
  if (!visible_) return false;
  if (kind_ == TControlKind::kTabSheet) {
    const auto& sheet = static_cast<const TTabSheet&>(*this);
    if (sheet.PageControl().ActivePage() != this) return false;
  }
  return parent_ ? parent_->Showing() : true;
}

bool TControl::Usable() const {
  for (const TControl* control = this; control; control = control->parent_) {
    if (!control->enabled_) return false;
  }
  return Showing();
}

bool TControl::Focusable() const {
  switch (kind_) {
    case TControlKind::kEdit:
    case TControlKind::kReadOnlyEdit:
    case TControlKind::kCheckBox:
    case TControlKind::kRadioButton:
    case TControlKind::kRadioGroup:
    case TControlKind::kComboBox:
    case TControlKind::kListBox:
    case TControlKind::kButton:
    case TControlKind::kPageControl:
    case TControlKind::kHotKey:
      return true;
    default:
      return false;
  }
}

bool TControl::IsContainer() const {
  return kind_ == TControlKind::kGroupBox || kind_ == TControlKind::kTabSheet || kind_ == TControlKind::kPageControl;
}

// ---- Labels

TLabel::TLabel(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption)
    : TControl(form, TControlKind::kLabel, name, parent, bounds, caption) {}

TLabel::TLabel(TForm& form, TControlKind kind, const char* name, TControl* parent, TBounds bounds, const char* caption)
    : TControl(form, kind, name, parent, bounds, caption) {}

TLabel3D::TLabel3D(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption)
    : TLabel(form, TControlKind::kLabel3D, name, parent, bounds, caption) {}

// ---- Edits and buttons

TEdit::TEdit(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* text, bool readOnly)
    : TControl(form, readOnly ? TControlKind::kReadOnlyEdit : TControlKind::kEdit, name, parent, bounds, ""),
      text_(text) {}

TCheckBox::TCheckBox(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption)
    : TControl(form, TControlKind::kCheckBox, name, parent, bounds, caption) {}

TRadioButton::TRadioButton(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption)
    : TControl(form, TControlKind::kRadioButton, name, parent, bounds, caption) {}

bool TRadioButton::SameGroup(const TRadioButton& other) const {
  return &other.Form() == &Form() && other.Parent() == Parent() && other.GroupIndex == GroupIndex;
}

void TRadioButton::SetChecked(bool checked) {
  checked_ = checked;
  if (!checked) return;
  for (TControl* control : Form().Controls()) {
    if (control == this || control->Kind() != TControlKind::kRadioButton) continue;
    auto& sibling = static_cast<TRadioButton&>(*control);
    if (SameGroup(sibling)) sibling.checked_ = false;
  }
}

TButton::TButton(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption)
    : TControl(form, TControlKind::kButton, name, parent, bounds, caption) {}

TGroupBox::TGroupBox(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption)
    : TControl(form, TControlKind::kGroupBox, name, parent, bounds, caption) {}

TImage::TImage(TForm& form, const char* name, TControl* parent, TBounds bounds)
    : TControl(form, TControlKind::kImage, name, parent, bounds, "") {}

TCaptionStrip::TCaptionStrip(TForm& form, const char* name, TBounds bounds, const char* caption,
                             const char* appNameText, const char* companyText)
    : TControl(form, TControlKind::kCaptionStrip, name, nullptr, bounds, caption),
      AppNameText(appNameText),
      CompanyText(companyText) {}

// ---- Lists

TRadioGroup::TRadioGroup(TForm& form, const char* name, TControl* parent, TBounds bounds, const char* caption,
                         std::vector<std::string> items)
    : TControl(form, TControlKind::kRadioGroup, name, parent, bounds, caption), items_(std::move(items)) {}

void TRadioGroup::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = static_cast<int>(items_.size()) - 1;
}

void TRadioGroup::SetItemIndex(int index) {
  itemIndex_ = std::min(std::max(index, -1), static_cast<int>(items_.size()) - 1);
}

namespace {

int IndexWithin(int index, std::size_t count) { return index >= 0 && index < static_cast<int>(count) ? index : -1; }

// Sorted lists keep equal items in the order they came, as a list box inserting one by one.
int Ordered(const TTextCompare& compare, const std::string& left, const std::string& right) {
  return compare ? compare(left, right) : left.compare(right);
}

// Where a sorted list puts a new item: after every item that does not sort after it.
std::size_t SortedPlace(const std::vector<std::string>& items, const std::string& item, const TTextCompare& compare) {
  const auto place =
      std::upper_bound(items.begin(), items.end(), item,
                       [&compare](const std::string& a, const std::string& b) { return Ordered(compare, a, b) < 0; });
  return static_cast<std::size_t>(place - items.begin());
}

// The items as the list holds them once added one by one. Items that come nearly in order,
// as the file-type list's 10,000 and more do (Windows and wine enumerate a key's subkeys
// sorted, though no document promises it), cost one comparison each and few moves; a search
// for every item made 14 comparisons each, and each comparison asks the system. The
// library's stable sort would bring its merging code into each program.
void SortItems(std::vector<std::string>& items, const TTextCompare& compare) {
  std::vector<std::string> sorted;
  sorted.reserve(items.size());
  for (std::string& item : items) {
    const bool last = sorted.empty() || Ordered(compare, item, sorted.back()) >= 0;
    const std::size_t place = last ? sorted.size() : SortedPlace(sorted, item, compare);
    sorted.insert(sorted.begin() + static_cast<std::ptrdiff_t>(place), std::move(item));
  }
  items = std::move(sorted);
}

}  // namespace

TComboBox::TComboBox(TForm& form, const char* name, TControl* parent, TBounds bounds, std::vector<std::string> items)
    : TControl(form, TControlKind::kComboBox, name, parent, bounds, ""), items_(std::move(items)) {}

void TComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  if (Sorted) SortItems(items_, Compare);
  itemIndex_ = -1;
  ++itemsRevision_;
}

int TComboBox::Add(const std::string& item) {
  const std::size_t place = Sorted ? SortedPlace(items_, item, Compare) : items_.size();
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(place), item);
  if (itemIndex_ >= static_cast<int>(place)) ++itemIndex_;
  ++itemsRevision_;
  return static_cast<int>(place);
}

void TComboBox::SetItemIndex(int index) { itemIndex_ = IndexWithin(index, items_.size()); }

std::string TComboBox::Text() const { return itemIndex_ >= 0 ? items_[static_cast<std::size_t>(itemIndex_)] : ""; }

TListBox::TListBox(TForm& form, const char* name, TControl* parent, TBounds bounds, std::vector<std::string> items)
    : TControl(form, TControlKind::kListBox, name, parent, bounds, ""),
      items_(std::move(items)),
      selected_(items_.size(), false) {}

void TListBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  if (Sorted) SortItems(items_, Compare);
  selected_.assign(items_.size(), false);
  itemIndex_ = -1;
  ++itemsRevision_;
  SelectionChanged();
}

int TListBox::Add(const std::string& item) {
  const std::size_t place = Sorted ? SortedPlace(items_, item, Compare) : items_.size();
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(place), item);
  selected_.insert(selected_.begin() + static_cast<std::ptrdiff_t>(place), false);
  if (itemIndex_ >= static_cast<int>(place)) ++itemIndex_;
  ++itemsRevision_;
  SelectionChanged();
  return static_cast<int>(place);
}

void TListBox::Delete(int index) {
  if (IndexWithin(index, items_.size()) < 0) return;
  items_.erase(items_.begin() + index);
  selected_.erase(selected_.begin() + index);
  if (itemIndex_ == index) {
    itemIndex_ = -1;
  } else if (itemIndex_ > index) {
    --itemIndex_;
  }
  ++itemsRevision_;
  SelectionChanged();
}

void TListBox::SetItemIndex(int index) {
  itemIndex_ = IndexWithin(index, items_.size());
  if (!MultiSelect) {
    selected_.assign(items_.size(), false);
    if (itemIndex_ >= 0) selected_[static_cast<std::size_t>(itemIndex_)] = true;
  }
  SelectionChanged();
}

bool TListBox::Selected(int index) const {
  return IndexWithin(index, items_.size()) >= 0 && selected_[static_cast<std::size_t>(index)];
}

void TListBox::SetSelected(int index, bool selected) {
  if (IndexWithin(index, items_.size()) < 0) return;
  if (!MultiSelect) {
    if (selected) {
      SetItemIndex(index);
    } else if (index == itemIndex_) {
      SetItemIndex(-1);
    }
    return;
  }
  selected_[static_cast<std::size_t>(index)] = selected;
  SelectionChanged();
}

void TListBox::ClearSelection() {
  selected_.assign(items_.size(), false);
  if (!MultiSelect) itemIndex_ = -1;
  SelectionChanged();
}

int TListBox::SelCount() const { return static_cast<int>(std::count(selected_.begin(), selected_.end(), true)); }

std::vector<int> TListBox::SelectedIndexes() const {
  std::vector<int> indexes;
  for (std::size_t i = 0; i < selected_.size(); ++i) {
    if (selected_[i]) indexes.push_back(static_cast<int>(i));
  }
  return indexes;
}

// ---- Up-down

TUpDown::TUpDown(TForm& form, const char* name, TControl* parent, TBounds bounds, int min, int max, int position)
    : TControl(form, TControlKind::kUpDown, name, parent, bounds, ""), min_(min), max_(max), position_(0) {
  SetPosition(position);
}

void TUpDown::SetPosition(int position) {
  const int low = std::min(min_, max_);
  const int high = std::max(min_, max_);
  position_ = std::min(std::max(position, low), high);
}

bool TUpDown::Step(TUDBtnType button) {
  const bool reversed = max_ < min_;
  const int low = std::min(min_, max_);
  const int high = std::max(min_, max_);
  // The up arrow moves towards the maximum, so with the range reversed it counts down.
  long long delta = static_cast<long long>(Increment) * (button == TUDBtnType::kNext ? 1 : -1) * (reversed ? -1 : 1);
  const long long target = position_ + delta;
  if (target < low || target > high) {
    if (Wrap) {
      // Past one end continues from the other.
      delta +=
          (delta < 0 ? -1 : 1) * (reversed ? -1 : 1) * (static_cast<long long>(min_) - max_) + (delta < 0 ? 1 : -1);
    } else if ((!reversed && target > max_) || (reversed && target < max_)) {
      delta = static_cast<long long>(max_) - position_;
    } else {
      delta = static_cast<long long>(min_) - position_;
    }
  }
  position_ = static_cast<int>(position_ + delta);
  return delta != 0;
}

// ---- Hot key

THotKey::THotKey(TForm& form, const char* name, TControl* parent, TBounds bounds)
    : TControl(form, TControlKind::kHotKey, name, parent, bounds, "") {}

int THotKey::Entered(BYTE key, BYTE modifiers) const {
  if (key == VK_BACK || key == VK_DELETE || key == VK_SPACE) return 0;
  // The rule of each combination of Shift (1), Ctrl (2) and Alt (4).
  constexpr WORD Rule[] = {HKCOMB_NONE, HKCOMB_S, HKCOMB_C, HKCOMB_SC, HKCOMB_A, HKCOMB_SA, HKCOMB_CA, HKCOMB_SCA};
  const bool functionKey = key >= VK_F1 && key <= VK_F24;
  if (FunctionKeysFree && functionKey) return key == VK_F1 ? 0 : key | modifiers << 8;
  const BYTE held = modifiers & (HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT);
  const bool functionKeyAlone = functionKey && held == 0;
  if ((InvalidCombinations & Rule[held]) && !functionKeyAlone) modifiers |= InvalidModifiers;
  return key | modifiers << 8;
}

// ---- Pages

TTabSheet::TTabSheet(TForm& form, const char* name, TPageControl& pageControl, const char* caption)
    : TControl(form, TControlKind::kTabSheet, name, &pageControl,
               TBounds{4, 24, pageControl.Bounds().Width - 8, pageControl.Bounds().Height - 28}, caption) {}

TPageControl& TTabSheet::PageControl() const { return static_cast<TPageControl&>(*Parent()); }

int TTabSheet::PageIndex() const {
  const auto pages = PageControl().Pages();
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

TPageControl::TPageControl(TForm& form, const char* name, TControl* parent, TBounds bounds)
    : TControl(form, TControlKind::kPageControl, name, parent, bounds, "") {}

std::vector<TTabSheet*> TPageControl::Pages() const {
  std::vector<TTabSheet*> pages;
  for (TControl* control : Form().Controls()) {
    if (control->Kind() == TControlKind::kTabSheet && control->Parent() == this) {
      pages.push_back(static_cast<TTabSheet*>(control));
    }
  }
  return pages;
}

TTabSheet* TPageControl::ActivePage() const {
  const auto pages = Pages();
  return activePage_ >= 0 && activePage_ < static_cast<int>(pages.size()) ? pages[static_cast<std::size_t>(activePage_)]
                                                                          : nullptr;
}

void TPageControl::SetActivePageIndex(int index) {
  if (index >= 0 && index < PageCount()) activePage_ = index;
}

}  // namespace ombrix
