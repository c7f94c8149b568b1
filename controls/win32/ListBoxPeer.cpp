// List boxes, with one selected item or several (an extended-selection list whose current
// item need not be selected). The model keeps the items in order, sorted or not, so the
// list never sorts (no LBS_SORT) and the indexes agree.

#include <algorithm>

#include "controls/win32/ControlPeer.h"

namespace ombrix::win32 {

namespace {

class ListBoxPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

  void Pull() override { PullSelection(false); }

  void Command(UINT code, int) override {
    if (code == LBN_SELCHANGE) {
      if (List().MultiSelect) {
        // The list applied its own rules (Shift ranges, Ctrl toggles, the keyboard).
        context_.Act(&control_, [&] { context_.Engine().ListSelectionChanged(List(), [&] { PullSelection(true); }); });
      } else {
        const int index = static_cast<int>(::SendMessageA(window_, LB_GETCURSEL, 0, 0));
        context_.Act(&control_, [&] { context_.Engine().Select(List(), index); });
      }
    }
    if (code == LBN_DBLCLK) context_.Act(&control_, [&] { context_.Engine().DoubleClicked(control_); });
  }

 protected:
  HWND MakeWindows(HWND parent, int id, DWORD style) override {
    return context_.MakeWindow(
        0, "LISTBOX", "",
        style | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | (List().MultiSelect ? LBS_EXTENDEDSEL : 0),
        control_.Bounds(), parent, id);
  }

  // The items only when they changed since the last push, and the selection only when it
  // changed since the list was last pushed or read: a handler that leaves a list of
  // thousands alone costs nothing.
  void PushState() override {
    const bool refill = !filled_ || itemsRevision_ != List().ItemsRevision();
    if (!refill && selectionRevision_ == List().SelectionRevision()) return;
    RedrawOff redraw(window_);
    if (refill) {
      FillList(window_, false, List().Items());
      filled_ = true;
      itemsRevision_ = List().ItemsRevision();
    }
    PushSelection();
  }

 private:
  TListBox& List() const { return static_cast<TListBox&>(control_); }

  void PushSelection() {
    const TListBox& list = List();
    selectionRevision_ = list.SelectionRevision();
    if (!list.MultiSelect) {
      ::SendMessageA(window_, LB_SETCURSEL, static_cast<WPARAM>(list.ItemIndex()), 0);
      return;
    }
    ::SendMessageA(window_, LB_SETSEL, FALSE, -1);
    for (int index : list.SelectedIndexes()) ::SendMessageA(window_, LB_SETSEL, TRUE, index);
    if (list.ItemIndex() >= 0) {
      ::SendMessageA(window_, LB_SETCARETINDEX, static_cast<WPARAM>(list.ItemIndex()), FALSE);
    }
    caret_ = static_cast<int>(::SendMessageA(window_, LB_GETCARETINDEX, 0, 0));
  }

  // The model changes only where the list differs from it, so that its revision says what
  // the list shows. The caret of a list that was not `touched` is no current item of the
  // model's until it moves.
  void PullSelection(bool touched) {
    TListBox& list = List();
    if (!list.MultiSelect) {
      const int index = static_cast<int>(::SendMessageA(window_, LB_GETCURSEL, 0, 0));
      if (index != list.ItemIndex()) list.SetItemIndex(index);
    } else {
      const int count = static_cast<int>(::SendMessageA(window_, LB_GETSELCOUNT, 0, 0));
      std::vector<int> selected(static_cast<std::size_t>(std::max(count, 0)));
      if (count > 0) {
        ::SendMessageA(window_, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(selected.data()));
      }
      if (selected != list.SelectedIndexes()) {
        list.ClearSelection();
        for (int index : selected) list.SetSelected(index, true);
      }
      const int caret = static_cast<int>(::SendMessageA(window_, LB_GETCARETINDEX, 0, 0));
      if ((touched || caret != caret_) && caret != list.ItemIndex()) list.SetItemIndex(caret);
      caret_ = caret;
    }
    selectionRevision_ = list.SelectionRevision();
  }

  bool filled_ = false;
  unsigned itemsRevision_ = 0;
  unsigned selectionRevision_ = 0;
  int caret_ = -1;  // of a multi-select list: its current item when last seen
};

}  // namespace

std::unique_ptr<ControlPeer> MakeListBoxPeer(PeerContext& context, TControl& control) {
  return std::make_unique<ListBoxPeer>(context, control);
}

}  // namespace ombrix::win32
