// The hot key of the target's entry: held for the tray icon's window from start-up on,
// toggling the target as a click on the icon does, reported when another program holds it,
// changed by Configure at once, and given up at the end.

#include "tests/unit/OmbrixMainTest.h"

namespace ombrix {
namespace testing_main {
namespace {

using sim::SimFormUser;
using Held = std::vector<std::pair<UINT, UINT>>;  // modifiers, key

constexpr std::int32_t CtrlAltN = 'N' | (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8;
constexpr UINT CtrlAlt = MOD_CONTROL | MOD_ALT;
constexpr BYTE F5 = VK_F1 + 4;

class OmbrixHotKeyTest : public OmbrixMainTest {
 protected:
  void StartWith(TAppSettings settings) {
    Store(settings);
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    StartApp();
  }
  // The hot keys Ombrix holds.
  Held HeldByOmbrix() {
    Held held;
    for (const sim::SimHotKey& key : sim.SimWindows().HotKeys()) {
      if (key.window == form->Tray().Icon().WindowHandle()) held.emplace_back(key.modifiers, key.virtualKey);
    }
    return held;
  }
  // The user presses a key anywhere on the desktop; true when a hot key of Ombrix's took it.
  bool Press(UINT modifiers, UINT key) {
    const bool taken = sim.SimUser().PressHotKey(modifiers, key);
    sim.Messages().ProcessMessages();
    return taken;
  }
  void ConfigureHotKey(BYTE key, BYTE held) {
    host.OnNextShow([=](SimFormUser& user) {
      EXPECT_FALSE(user.PressHotKey("hkHotKey", key, held)) << "on a page not shown";
      ASSERT_TRUE(user.SwitchPage("pcConfig", 1));
      EXPECT_NE("", user.HintOf("hkHotKey"));
      EXPECT_EQ(TfrmConfiguration::HelpContextId, user.Form().HelpContextOf(&user.Find("hkHotKey")));
      ASSERT_TRUE(user.PressHotKey("hkHotKey", key, held));
      ASSERT_TRUE(user.Click("btnOk"));
    });
    ChooseFromTray("&Configure");
  }
  std::string ShownHotKey() {
    std::string shown;
    host.OnNextShow([&](SimFormUser& user) {
      shown = user.TextOf("valueHotKey");
      user.Escape();
    });
    ChooseFromTray("Program &information");
    return shown;
  }
};

TEST_F(OmbrixHotKeyTest, TogglesTheTargetInEveryTrayModeAndIsGivenUpAtTheEnd) {
  for (bool noIcon : {false, true}) {
    SCOPED_TRACE(noIcon ? "no icon in the tray" : "icon in the tray");
    TAppSettings settings = Settings();
    settings.HotKey = CtrlAltN;
    settings.TrayTask = !noIcon;
    settings.NoTrayIcon = noIcon;
    StartWith(settings);
    EXPECT_EQ((Held{{CtrlAlt | MOD_NOREPEAT, 'N'}}), HeldByOmbrix());
    EXPECT_EQ(noIcon, Icon() == nullptr);

    EXPECT_FALSE(Press(MOD_CONTROL, 'N')) << "another combination";
    EXPECT_TRUE(Visible(Main()));
    ASSERT_TRUE(Press(CtrlAlt, 'N'));
    EXPECT_FALSE(Visible(Main()));
    sim.Windows().SetForegroundWindow(sim.SimWindows().CreateTopWindow(sim::SimWindow{}));
    ASSERT_TRUE(Press(CtrlAlt, 'N'));
    EXPECT_TRUE(Visible(Main()));
    EXPECT_EQ(Main(), sim.SimWindows().Foreground()) << "shown in front";
    EXPECT_TRUE(Boxes().empty());

    form->Close();
    EXPECT_TRUE(sim.SimWindows().HotKeys().empty());
  }
}

TEST_F(OmbrixHotKeyTest, AKeyAnotherProgramHoldsIsReportedOnceAndOmbrixGoesOnWithoutIt) {
  sim.SimWindows().HoldHotKey(CtrlAlt, 'N');
  TAppSettings settings = Settings();
  settings.HotKey = CtrlAltN;
  StartWith(settings);
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_EQ(
      "The hot key Ctrl+Alt+N of\r\nC:\\Tools\\app.exe\r\nis in use by another program. Ombrix goes on without "
      "it;\r\n\"Configure\" can give the program another one.",
      Boxes()[0].text);
  EXPECT_EQ("Vorel Ombrix", Boxes()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_SETFOREGROUND), Boxes()[0].type);
  EXPECT_TRUE(HeldByOmbrix().empty());
  EXPECT_FALSE(Press(CtrlAlt, 'N')) << "the other program's key";
  EXPECT_TRUE(form->Watch().Running());
  EXPECT_EQ("Ctrl+Alt+N (in use by another program)", ShownHotKey());

  // Saved again with the same key, still taken: not reported twice.
  ConfigureHotKey('N', 0);
  EXPECT_EQ(2u, Boxes().size()) << "the saved note alone";
  ClickIcon(sim::SimShell::Click::kDouble);
  EXPECT_FALSE(Visible(Main())) << "the icon still works";
}

TEST_F(OmbrixHotKeyTest, ConfigureChangesTheKeyAtOnce) {
  TAppSettings settings = Settings();
  settings.HotKey = CtrlAltN;
  StartWith(settings);
  ConfigureHotKey(F5, HOTKEYF_SHIFT);
  EXPECT_EQ((Held{{MOD_SHIFT | MOD_NOREPEAT, F5}}), HeldByOmbrix()) << "the old key given up";
  EXPECT_FALSE(Press(CtrlAlt, 'N'));
  ASSERT_TRUE(Press(MOD_SHIFT, F5));
  EXPECT_FALSE(Visible(Main()));
  EXPECT_EQ("Shift+F5", ShownHotKey());

  // A key another program has taken is reported when it is chosen.
  sim.SimWindows().HoldHotKey(CtrlAlt, 'K');
  const size_t boxes = Boxes().size();
  ConfigureHotKey('K', 0);
  ASSERT_EQ(boxes + 2, Boxes().size());
  EXPECT_EQ(0u, Boxes().back().text.find("The hot key Ctrl+Alt+K of")) << Boxes().back().text;
  EXPECT_TRUE(HeldByOmbrix().empty());

  ConfigureHotKey(VK_BACK, 0);
  EXPECT_EQ(boxes + 3, Boxes().size()) << "no key, nothing to report";
  EXPECT_EQ("none", ShownHotKey());
}

// A system-wide hot key takes its keys from every program: a character key needs Ctrl or
// Alt, in the control as it is pressed and in a stored value Ombrix is to take; F2 to F24
// type nothing and go with any modifier or none.
TEST_F(OmbrixHotKeyTest, KeysThatTypeNeedCtrlOrAlt) {
  constexpr BYTE S = HOTKEYF_SHIFT, C = HOTKEYF_CONTROL, A = HOTKEYF_ALT;
  struct Pressed {
    BYTE key, held;
    Held expected;
  };
  const Pressed pressed[] = {
      {'M', S, {{MOD_SHIFT | CtrlAlt | MOD_NOREPEAT, 'M'}}},
      {'7', 0, {{CtrlAlt | MOD_NOREPEAT, '7'}}},
      {VK_OEM_COMMA, S, {{MOD_SHIFT | CtrlAlt | MOD_NOREPEAT, VK_OEM_COMMA}}},
      {'M', C, {{MOD_CONTROL | MOD_NOREPEAT, 'M'}}},
      {F5, 0, {{MOD_NOREPEAT, F5}}},
      {VK_F24, C | S, {{MOD_CONTROL | MOD_SHIFT | MOD_NOREPEAT, VK_F24}}},
  };
  struct Stored {
    std::int32_t hotKey;
    bool taken;
    const char* shown;
  };
  const Stored stored[] = {
      {'M' | S << 8, false, "Shift+M (not used: without Ctrl or Alt it would take typing from every program)"},
      {'M', false, "M (not used: without Ctrl or Alt it would take typing from every program)"},
      {VK_F1 | C << 8, false, "Ctrl+F1 (not used: F1 asks for help)"},
      {VK_F2 | S << 8, true, "Shift+F2"},
      {'M' | A << 8, true, "Alt+M"},
  };
  for (const Stored& s : stored) {
    TAppSettings settings = Settings();
    settings.HotKey = s.hotKey;
    const size_t boxes = Boxes().size();
    StartWith(settings);
    EXPECT_EQ(s.taken, !HeldByOmbrix().empty()) << s.shown;
    EXPECT_EQ(boxes, Boxes().size()) << "nothing to report at start: " << s.shown;
    EXPECT_EQ(s.shown, ShownHotKey());
  }

  // Saved through the configuration (into the INI file, which the next starts would read).
  StartWith(Settings());
  for (const Pressed& p : pressed) {
    ConfigureHotKey(p.key, p.held);
    EXPECT_EQ(p.expected, HeldByOmbrix()) << "key " << int{p.key} << " held " << int{p.held};
  }
}

}  // namespace
}  // namespace testing_main
}  // namespace ombrix
