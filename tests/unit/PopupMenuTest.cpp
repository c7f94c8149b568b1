// The popup-menu model shown through the simulated user: what the menu shows and which
// handler the user's choice runs.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "runtime/PopupMenu.h"

namespace ombrix {
namespace {

class PopupMenuTest : public ::testing::Test {
 protected:
  PopupMenuTest() : menu_(std::make_unique<TPopupMenu>(platform_)) {
    for (const char* name : {"itmShow", "itmHide", "itmIni"}) {
      menu_->Add(name, (std::string("&") + name).c_str(), [this](TMenuItem& sender) { ran_.push_back(sender.Name); });
    }
    menu_->Find("itmHide")->Enabled = false;
    menu_->Find("itmIni")->Checked = true;
    menu_->AddSeparator("itmSep1");
    menu_->Add("itmClose", "&Close", [this](TMenuItem& sender) { ran_.push_back(sender.Name); });
  }

  sim::SimPlatform platform_;
  std::unique_ptr<TPopupMenu> menu_;
  std::vector<std::string> ran_;
};

TEST_F(PopupMenuTest, ShowsItsItemsWhereAndHowAsked) {
  struct Case {
    TPopupAlignment alignment;
    TTrackButton button;
    UINT flags;
  };
  const Case cases[] = {
      {TPopupAlignment::kLeft, TTrackButton::kRightButton, TPM_LEFTALIGN | TPM_RIGHTBUTTON},
      {TPopupAlignment::kRight, TTrackButton::kRightButton, TPM_RIGHTALIGN | TPM_RIGHTBUTTON},
      {TPopupAlignment::kCenter, TTrackButton::kLeftButton, TPM_CENTERALIGN | TPM_LEFTBUTTON},
  };
  for (const Case& c : cases) {
    menu_->Alignment = c.alignment;
    menu_->TrackButton = c.button;
    platform_.SimUser().ClearLog();
    platform_.SimUser().DismissNextMenu();
    EXPECT_FALSE(menu_->Popup(640, 480));

    ASSERT_EQ(1u, platform_.SimUser().Menus().size());
    const sim::ShownMenu& shown = platform_.SimUser().Menus()[0];
    EXPECT_EQ(c.flags, shown.flags);
    EXPECT_EQ(640, shown.x);
    EXPECT_EQ(480, shown.y);
    EXPECT_TRUE(platform_.Windows().IsWindow(shown.owner));
    ASSERT_EQ(5u, shown.items.size());
    std::string seen;
    for (const MenuEntry& entry : shown.items) {
      seen +=
          entry.separator ? "|" : entry.caption + (entry.enabled ? "" : "(off)") + (entry.checked ? "(v)" : "") + ";";
    }
    EXPECT_EQ("&itmShow;&itmHide(off);&itmIni(v);|&Close;", seen);
  }
  EXPECT_TRUE(ran_.empty());
}

TEST_F(PopupMenuTest, TheChosenItemAloneRunsItsHandler) {
  struct Case {
    std::string pick;  // empty: dismiss
    bool chosen;
    std::vector<std::string> ran;
  };
  const Case cases[] = {
      {"&Close", true, {"itmClose"}},
      {"&itmIni", true, {"itmIni"}},
      {"&itmHide", false, {}},  // disabled: nothing happens
      {"", false, {}},
  };
  for (const Case& c : cases) {
    ran_.clear();
    if (c.pick.empty()) {
      platform_.SimUser().DismissNextMenu();
    } else {
      platform_.SimUser().PickNextMenuItem(c.pick);
    }
    EXPECT_EQ(c.chosen, menu_->Popup(1, 1)) << c.pick;
    EXPECT_EQ(c.ran, ran_) << c.pick;
  }
}

TEST_F(PopupMenuTest, AHandlerMayDestroyTheMenu) {
  HWND owner = menu_->WindowHandle();
  menu_->Find("itmClose")->OnClick = [this](TMenuItem&) { menu_.reset(); };
  platform_.SimUser().PickNextMenuItem("&Close");
  EXPECT_TRUE(menu_->Popup(1, 1));
  EXPECT_EQ(nullptr, menu_);
  EXPECT_FALSE(platform_.Windows().IsWindow(owner));
}

TEST_F(PopupMenuTest, ItemsKeepTheirAddressAsTheMenuGrows) {
  TMenuItem* show = menu_->Find("itmShow");
  for (int i = 0; i < 100; ++i) menu_->Add(("itmExtra" + std::to_string(i)).c_str(), "Extra");
  EXPECT_EQ(show, menu_->Find("itmShow"));
  EXPECT_EQ(105, menu_->Count());
  EXPECT_EQ(nullptr, menu_->Find("itmMissing"));
}

}  // namespace
}  // namespace ombrix
