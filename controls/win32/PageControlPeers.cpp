// Page controls and their pages. Visible pages have a tab, hidden ones none, so a tab's
// index need not be its page's. A page is a container window in the tabs' display area; a
// page control may sit on a page of another one.

#include <algorithm>

#include "controls/win32/ControlPeer.h"
// After the Windows headers.
#include <commctrl.h>

namespace ombrix::win32 {

namespace {

class PageControlPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

  void Pull() override {
    Pages().SetActivePageIndex(PageOfTab(static_cast<int>(::SendMessageA(window_, TCM_GETCURSEL, 0, 0))));
  }

  LRESULT Notify(const NMHDR& header) override {
    if (header.code != static_cast<UINT>(TCN_SELCHANGE)) return 0;
    const int index = PageOfTab(static_cast<int>(::SendMessageA(window_, TCM_GETCURSEL, 0, 0)));
    context_.SyncFocus(&control_);
    context_.Act(&control_, [&] { context_.Engine().SwitchPage(Pages(), index); });
    // A page that may not be shown leaves the tabs where the model is.
    if (!context_.Engine().Closed()) context_.Push();
    return 0;
  }

 protected:
  HWND MakeWindows(HWND parent, int id, DWORD style) override {
    return context_.MakeWindow(0, WC_TABCONTROLA, "", style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, control_.Bounds(),
                               parent, id);
  }
  // The tabs first: their height decides where the pages go.
  void Created(HWND) override { PushState(); }

  void PushState() override {
    std::vector<std::string> captions;
    std::vector<int> tabPages;
    const auto pages = Pages().Pages();
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (!pages[i]->Visible()) continue;
      captions.push_back(pages[i]->Caption());
      tabPages.push_back(static_cast<int>(i));
    }
    if (captions != captions_ || tabPages != tabPages_) {
      captions_ = captions;
      tabPages_ = tabPages;
      ::SendMessageA(window_, TCM_DELETEALLITEMS, 0, 0);
      for (std::size_t i = 0; i < captions.size(); ++i) {
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = &captions[i][0];
        ::SendMessageA(window_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&tab));
      }
    }
    const auto found = std::find(tabPages.begin(), tabPages.end(), Pages().ActivePageIndex());
    const int tab = found == tabPages.end() ? -1 : static_cast<int>(found - tabPages.begin());
    if (static_cast<int>(::SendMessageA(window_, TCM_GETCURSEL, 0, 0)) != tab) {
      ::SendMessageA(window_, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    }
  }

 private:
  TPageControl& Pages() const { return static_cast<TPageControl&>(control_); }
  int PageOfTab(int tab) const {
    return tab >= 0 && tab < static_cast<int>(tabPages_.size()) ? tabPages_[static_cast<std::size_t>(tab)] : -1;
  }

  std::vector<std::string> captions_;  // the tabs last written
  std::vector<int> tabPages_;          // the page behind each tab
};

class TabSheetPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

 protected:
  HWND MakeWindows(HWND parent, int id, DWORD style) override {
    return context_.MakeWindow(WS_EX_CONTROLPARENT, ContainerClass, "", style | WS_CLIPCHILDREN, control_.Bounds(),
                               parent, id);
  }
  void Created(HWND tabs) override {
    RECT area{};
    ::GetClientRect(tabs, &area);
    ::SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    ::MoveWindow(window_, area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
  }
  bool PlacedByParent() const override { return true; }
  bool Shown() const override {
    const auto& page = static_cast<const TTabSheet&>(control_);
    return page.Visible() && page.PageControl().ActivePage() == &page;
  }
};

}  // namespace

std::unique_ptr<ControlPeer> MakePageControlPeer(PeerContext& context, TControl& control) {
  return std::make_unique<PageControlPeer>(context, control);
}

std::unique_ptr<ControlPeer> MakeTabSheetPeer(PeerContext& context, TControl& control) {
  return std::make_unique<TabSheetPeer>(context, control);
}

}  // namespace ombrix::win32
