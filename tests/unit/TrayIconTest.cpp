// The notification-area icon over the simulated shell: what reaches the shell, the clicks,
// the right-click menu, a refusing or restarting shell, and what destruction cleans up.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "runtime/HotKey.h"
#include "runtime/TrayIcon.h"

namespace ombrix {
namespace {

using sim::SimShell;

// Icon handles with a record of the ones destroyed.
class RecordingIcons : public IIcons {
 public:
  HICON ExtractIconA(const std::string&, int) override { return nullptr; }
  HICON LoadStandardIcon(int) override { return Handle(32512); }
  int SmallIconSize() override { return 16; }
  HICON ExtractSmallIconA(const std::string&, int, int) override { return nullptr; }
  HICON LoadSmallStandardIcon(int) override { return nullptr; }
  BOOL DestroyIcon(HICON icon) override {
    destroyed.push_back(icon);
    return TRUE;
  }
  static HICON Handle(ULONG_PTR value) { return reinterpret_cast<HICON>(value); }

  std::vector<HICON> destroyed;
};

class TrayIconTest : public ::testing::Test {
 protected:
  TrayIconTest() : tray_(std::make_unique<TTrayIcon>(platform_, icons_)) {
    tray_->OnClick = [this](TTrayIcon& sender) { Note(sender, "click"); };
    tray_->OnDblClick = [this](TTrayIcon& sender) { Note(sender, "dblclick"); };
    tray_->OnRightClick = [this](TTrayIcon& sender, TTrayIcon::TMouseButton button, TTrayIcon::TShiftState shift, int x,
                                 int y) {
      Note(sender, "right " + std::to_string(button == TTrayIcon::TMouseButton::kRight) + " " + std::to_string(shift) +
                       " " + std::to_string(x) + "," + std::to_string(y));
    };
  }

  void Note(TTrayIcon& sender, const std::string& event) {
    EXPECT_EQ(tray_.get(), &sender);
    events_.push_back(event);
  }

  HWND Window() const { return tray_->WindowHandle(); }
  const sim::TrayIconState* Shown() { return platform_.SimTray().FindIcon(Window(), 0); }
  const std::vector<sim::NotifyIconCall>& Calls() { return platform_.SimTray().NotifyCalls(); }
  bool Click(SimShell::Click click) {
    const bool clicked = platform_.SimTray().ClickIcon(Window(), 0, click);
    platform_.Messages().ProcessMessages();
    return clicked;
  }

  sim::SimPlatform platform_;
  RecordingIcons icons_;
  std::vector<std::string> events_;
  std::unique_ptr<TTrayIcon> tray_;
};

TEST_F(TrayIconTest, EveryShellCallCarriesTheFullRecord) {
  tray_->SetId(0x4B);
  tray_->SetToolTip("Notes");
  HICON picture = RecordingIcons::Handle(0x700);
  struct Step {
    const char* what;
    std::function<void()> action;
    DWORD message;
    HICON icon;
    std::string tip;
  };
  const std::vector<Step> steps = {
      {"add", [&] { tray_->SetActive(true); }, NIM_ADD, nullptr, "Notes"},
      {"tip", [&] { tray_->SetToolTip("Editor"); }, NIM_MODIFY, nullptr, "Editor"},
      {"picture", [&] { tray_->SetIcon(picture); }, NIM_MODIFY, picture, "Editor"},
      {"delete", [&] { tray_->SetActive(false); }, NIM_DELETE, picture, "Editor"},
  };
  for (const Step& step : steps) {
    platform_.SimTray().ClearLog();
    step.action();
    // Every add asks for version 4 again: the shell forgets it with the icon.
    ASSERT_EQ(step.message == NIM_ADD ? 2u : 1u, Calls().size()) << step.what;
    if (step.message == NIM_ADD) {
      EXPECT_EQ(static_cast<DWORD>(NIM_SETVERSION), Calls()[1].message);
      EXPECT_EQ(static_cast<UINT>(NOTIFYICON_VERSION_4), Calls()[1].data.version);
      EXPECT_EQ(0x4Bu, Calls()[1].data.id) << "the icon's own id";
    }
    const sim::NotifyIconCall& call = Calls()[0];
    EXPECT_EQ(step.message, call.message) << step.what;
    EXPECT_EQ(NotifyIconDataSize, call.data.size) << step.what;
    EXPECT_EQ(Window(), call.data.window) << step.what;
    EXPECT_EQ(0x4Bu, call.data.id) << step.what;
    EXPECT_EQ(0x87u, call.data.flags) << step.what << ": message, icon, tip, and the tip shown under version 4";
    EXPECT_EQ(0u, call.data.version) << step.what;
    EXPECT_EQ(0x401u, call.data.callbackMessage) << step.what;
    EXPECT_EQ(step.icon, call.data.icon) << step.what;
    EXPECT_EQ(step.tip, call.data.tip) << step.what;
  }
  EXPECT_EQ(nullptr, Shown());
}

TEST_F(TrayIconTest, ChangesWhileInactiveOnlyRefreshTheRecord) {
  tray_->SetActive(false);  // already false: nothing to do
  tray_->SetToolTip("Hidden");
  tray_->SetIcon(RecordingIcons::Handle(0x700));
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ("Hidden", tray_->Record().tip);

  tray_->SetActive(true);
  tray_->SetActive(true);
  ASSERT_EQ(2u, Calls().size()) << "the add and its version; setting the same value again does nothing";
  ASSERT_NE(nullptr, Shown());
  EXPECT_EQ("Hidden", Shown()->tip);
  EXPECT_EQ(RecordingIcons::Handle(0x700), Shown()->icon);
}

// Cut to 62 bytes, on a whole character of UTF-8 (three bytes a Japanese one).
TEST_F(TrayIconTest, TipsAreCutTo62BytesOnAWholeCharacter) {
  tray_->SetActive(true);
  std::string japanese;
  for (int i = 0; i < 21; ++i) japanese += "\xE6\x97\xA5";
  const struct {
    std::string tip;
    size_t kept;
  } cases[] = {{"", 0},
               {std::string(61, 'x'), 61},
               {std::string(62, 'x'), 62},
               {std::string(63, 'x'), 62},
               {std::string(200, 'x'), 62},
               {japanese, 60},
               {"x" + japanese, 61}};
  for (const auto& c : cases) {
    tray_->SetToolTip(c.tip);
    EXPECT_EQ(c.tip.substr(0, c.kept), tray_->ToolTip()) << c.tip.size();
    EXPECT_EQ(c.tip.substr(0, c.kept), Shown()->tip) << c.tip.size();
  }
}

TEST_F(TrayIconTest, AnIconAddedWithoutTipAppliesItsTipAgainFromTheMessageLoop) {
  for (const std::string tip : {"", "Notes"}) {
    tray_->SetActive(false);
    tray_->SetToolTip(tip);
    platform_.SimTray().ClearLog();
    tray_->SetActive(true);
    tray_->SetToolTip("");  // before the loop runs: the re-applied tip is the current one
    platform_.SimTray().ClearLog();
    platform_.Messages().ProcessMessages();
    if (tip.empty()) {
      ASSERT_EQ(1u, Calls().size());
      EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), Calls()[0].message);
      EXPECT_EQ("", Calls()[0].data.tip);
    } else {
      EXPECT_TRUE(Calls().empty()) << "an icon added with a tip posts nothing";
    }
  }
}

// Under version 4 the shell sends each release twice (the mouse's event, then NIN_SELECT or
// WM_CONTEXTMENU): each user action must still act once. A shell that refuses version 4
// speaks the old form, which has no keyboard events.
TEST_F(TrayIconTest, EachClickAndKeyActsOnceInEitherProtocol) {
  tray_->OnKeySelect = [this](TTrayIcon& sender) { Note(sender, "key"); };
  tray_->SetId(0x4B);
  struct Case {
    SimShell::Click click;
    std::vector<std::string> events;
    bool oldForm;  // also delivered when the shell refused version 4
  };
  platform_.SimUser().SetCursorPos(900, 740);
  const ScreenPoint anchor = SimShell::IconAnchor();
  const std::string atIcon = std::to_string(anchor.x) + "," + std::to_string(anchor.y);
  const Case cases[] = {
      {SimShell::Click::kLeft, {"click"}, true},
      {SimShell::Click::kDouble, {"click", "dblclick", "click"}, true},
      {SimShell::Click::kRight, {"right 1 0 900,740"}, true},
      {SimShell::Click::kKeySelect, {"key"}, false},
      {SimShell::Click::kMenuKey, {"right 1 0 " + atIcon}, false},
  };
  for (const bool refuseVersion4 : {false, true}) {
    tray_->SetActive(false);
    platform_.SimTray().RefuseVersions(refuseVersion4);
    tray_->SetActive(true);
    EXPECT_EQ(refuseVersion4 ? 0u : static_cast<UINT>(NOTIFYICON_VERSION_4), tray_->Version());
    for (const Case& c : cases) {
      events_.clear();
      const bool delivered = platform_.SimTray().ClickIcon(Window(), 0x4B, c.click);
      platform_.Messages().ProcessMessages();
      if (refuseVersion4 && !c.oldForm) {
        EXPECT_FALSE(delivered);
        continue;
      }
      ASSERT_TRUE(delivered);
      EXPECT_EQ(c.events, events_) << "version 4 refused: " << refuseVersion4;
    }
  }
  EXPECT_TRUE(platform_.SimUser().Menus().empty()) << "no menu without PopupMenu";
}

TEST_F(TrayIconTest, RightClickShowsThePopupMenuBeforeOnRightClick) {
  TPopupMenu menu(platform_);
  menu.Add("itmOne", "One", [this](TMenuItem& item) { events_.push_back("menu " + item.Name); });
  tray_->SetPopupMenu(&menu);
  HWND application = platform_.SimWindows().CreateTopWindow(sim::SimWindow{});
  tray_->SetApplicationWindow(application);
  tray_->SetActive(true);
  platform_.SimUser().SetCursorPos(300, 200);
  platform_.SimUser().PickNextMenuItem("One");

  ASSERT_TRUE(Click(SimShell::Click::kRight));
  EXPECT_EQ((std::vector<std::string>{"menu itmOne", "right 1 0 300,200"}), events_);
  ASSERT_EQ(1u, platform_.SimUser().Menus().size());
  EXPECT_EQ(menu.WindowHandle(), platform_.SimUser().Menus()[0].foreground)
      << "a menu takes the keyboard and closes properly only with its owner in front";
  EXPECT_EQ(300, platform_.SimUser().Menus()[0].x);
  EXPECT_EQ(200, platform_.SimUser().Menus()[0].y);
}

TEST_F(TrayIconTest, ARefusingShellLeavesTheIconActiveAndIsNotRetried) {
  platform_.SimTray().RefuseNotifyIcons(true);
  tray_->SetActive(true);
  platform_.Messages().ProcessMessages();
  EXPECT_TRUE(tray_->Active());
  EXPECT_EQ(nullptr, Shown());
  const size_t calls = Calls().size();
  EXPECT_EQ(2u, calls) << "the add and the posted tip";
  for (const sim::NotifyIconCall& call : Calls()) EXPECT_FALSE(call.result);

  platform_.SimTray().RefuseNotifyIcons(false);
  platform_.Messages().ProcessMessages();
  EXPECT_EQ(calls, Calls().size());
  tray_->SetToolTip("Later");
  EXPECT_EQ(nullptr, Shown()) << "a change does not add the missing icon";
}

// The deliberate difference from a component that ignores the shell's restart: an icon
// meant to be present comes back, or a program hidden to the tray could not be reached.
TEST_F(TrayIconTest, AShellRestartBringsBackAnIconMeantToBePresent) {
  tray_->SetIcon(RecordingIcons::Handle(0x700));
  tray_->SetToolTip("Notes");
  for (bool active : {true, false}) {
    tray_->SetActive(active);
    platform_.SimTray().RestartShell();
    EXPECT_EQ(nullptr, Shown()) << "the restart empties the notification area";
    platform_.Messages().ProcessMessages();
    if (active) {
      ASSERT_NE(nullptr, Shown());
      EXPECT_EQ("Notes", Shown()->tip);
      EXPECT_EQ(RecordingIcons::Handle(0x700), Shown()->icon);
      EXPECT_EQ(0x401u, Shown()->callbackMessage);
    } else {
      EXPECT_EQ(nullptr, Shown());
      EXPECT_EQ(0, platform_.SimTray().IconCount());
    }
  }
}

TEST_F(TrayIconTest, DestructionRemovesTheIconItsWindowAndItsOwnPicture) {
  struct Case {
    bool active;
    bool shared;
  };
  for (const Case c : {Case{true, false}, Case{false, false}, Case{true, true}}) {
    tray_ = std::make_unique<TTrayIcon>(platform_, icons_);
    HWND window = Window();
    tray_->SetIcon(RecordingIcons::Handle(0x900), c.shared);
    tray_->SetActive(c.active);
    platform_.SimTray().ClearLog();
    icons_.destroyed.clear();
    tray_.reset();

    EXPECT_EQ(0, platform_.SimTray().IconCount());
    EXPECT_EQ(c.active ? 1u : 0u, Calls().size()) << "only a present icon is deleted";
    if (c.active) {
      EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), Calls()[0].message);
      EXPECT_EQ(window, Calls()[0].data.window);
    }
    EXPECT_FALSE(platform_.Windows().IsWindow(window));
    EXPECT_EQ(c.shared ? std::vector<HICON>{} : std::vector<HICON>{RecordingIcons::Handle(0x900)}, icons_.destroyed);
  }
}

TEST_F(TrayIconTest, ANewPictureDestroysTheOwnedOneItReplaces) {
  tray_->SetIcon(RecordingIcons::Handle(0x10));
  tray_->SetIcon(RecordingIcons::Handle(0x10));  // the same picture again: kept
  tray_->SetIcon(RecordingIcons::Handle(32512), true);
  tray_->SetIcon(RecordingIcons::Handle(0x20));
  EXPECT_EQ((std::vector<HICON>{RecordingIcons::Handle(0x10)}), icons_.destroyed);
}

TEST_F(TrayIconTest, HandlersMayRewireEventsAndDestroyTheIcon) {
  tray_->SetActive(true);
  tray_->OnClick = [this](TTrayIcon&) {
    events_.push_back("first");
    tray_->OnClick = [this](TTrayIcon&) { events_.push_back("second"); };
  };
  ASSERT_TRUE(Click(SimShell::Click::kDouble));
  EXPECT_EQ((std::vector<std::string>{"first", "dblclick", "second"}), events_);

  // A menu command that ends the program destroys the icon before its right click is done.
  TPopupMenu menu(platform_);
  menu.Add("itmClose", "&Close", [this](TMenuItem&) { tray_.reset(); });
  tray_->SetPopupMenu(&menu);
  HWND window = Window();
  platform_.SimUser().PickNextMenuItem("&Close");
  events_.clear();
  platform_.SimTray().ClickIcon(window, 0, SimShell::Click::kRight);
  platform_.Messages().ProcessMessages();
  EXPECT_EQ(nullptr, tray_);
  EXPECT_TRUE(events_.empty()) << "no OnRightClick from a destroyed icon";
  EXPECT_EQ(0, platform_.SimTray().IconCount());
}

// The system's hot keys carry MOD_ flags, whose bits for Shift and Alt are the other way
// round from the hot-key control's.
TEST(HotKeyText, NamesTheKeyAsAPersonReadsIt) {
  constexpr BYTE S = HOTKEYF_SHIFT, C = HOTKEYF_CONTROL, A = HOTKEYF_ALT;
  struct Case {
    std::int32_t hotKey;
    const char* text;
    UINT modifiers;
  };
  const Case cases[] = {
      {0, "", 0},
      {(C | A) << 8, "", MOD_CONTROL | MOD_ALT},  // modifiers without a key are no hot key
      {'N' | (C | A) << 8, "Ctrl+Alt+N", MOD_CONTROL | MOD_ALT},
      {'7' | S << 8, "Shift+7", MOD_SHIFT},
      {VK_F24 | (A | S | C) << 8, "Ctrl+Shift+Alt+F24", MOD_CONTROL | MOD_SHIFT | MOD_ALT},
      {VK_F1 + 4, "F5", 0},
      {VK_NEXT | (A | HOTKEYF_EXT) << 8, "Alt+Page Down", MOD_ALT},
      {(VK_NUMPAD0 + 5) | C << 8, "Ctrl+Num 5", MOD_CONTROL},
      {VK_OEM_5 | C << 8, "Ctrl+\\", MOD_CONTROL},
      {0xFF | C << 8, "Ctrl+Key 255", MOD_CONTROL},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.text, HotKeyText(c.hotKey)) << c.hotKey;
    EXPECT_EQ(c.modifiers, HotKeyModifiers(c.hotKey)) << c.hotKey;
  }
}

// Set again unchanged, the key stays held once; only its own id is a press of it; the icon
// gives it up when it ends.
TEST_F(TrayIconTest, TheHotKeyIsKeptWhenSetAgainAndGivenUpWithTheIcon) {
  tray_->OnHotKey = [this](TTrayIcon& sender) { Note(sender, "hotkey"); };
  const std::int32_t ctrlAltN = 'N' | (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8;
  ASSERT_TRUE(tray_->SetHotKey(ctrlAltN));
  ASSERT_TRUE(tray_->SetHotKey(ctrlAltN));
  ASSERT_EQ(1u, platform_.SimWindows().HotKeys().size());
  for (int id : {TTrayIcon::HotKeyId + 1, TTrayIcon::HotKeyId}) {
    platform_.Input().PostMessageA(Window(), WM_HOTKEY, static_cast<WPARAM>(id), 0);
  }
  platform_.Messages().ProcessMessages();
  EXPECT_EQ(std::vector<std::string>{"hotkey"}, events_);
  tray_.reset();
  EXPECT_TRUE(platform_.SimWindows().HotKeys().empty());
}

}  // namespace
}  // namespace ombrix
