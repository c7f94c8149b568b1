// The configuration dialog over the simulated desktop and the simulated form host.

#include <gtest/gtest.h>

#include <functional>

#include "config/Configure.h"
#include "config/TargetSettings.h"
#include "controls/sim/SimFormHost.h"
#include "help/HelpContexts.h"
#include "settings/IniFiles.h"

namespace ombrix {
namespace {

using sim::SimFormHost;
using sim::SimFormUser;
using sim::SimPlatform;

constexpr char Target[] = "C:\\Tools\\Notes.exe";
constexpr char OmbrixIni[] = "C:\\Program Files\\Ombrix\\Ombrix.ini";

class Opener : public IConfigurationOpener {
 public:
  std::string TargetFile() const override { return target; }
  bool SaveSettingsToIniFile() const override { return useIni; }
  void SaveSettingsToRegistryFromNowOn() override { useIni = false; }
  std::string ApplicationTitle() const override { return "Vorel Ombrix"; }
  void ShowHelpContents() override { ++helpContents; }

  std::string target = Target;
  bool useIni = true;
  int helpContents = 0;
};

class ConfigureTest : public ::testing::Test {
 protected:
  ConfigureTest() : host(platform, FormHostOptions{"Vorel Ombrix", {}}) {
    platform.SimFiles().MakeDirectories("C:\\Tools");
    platform.Files().WriteFileBytes(Target, "MZ");
    platform.SimIconFiles().SetIconCount(Target, 5);
  }

  // Shows a new dialog, lets `script` act as the user, and returns the modal result.
  TModalResult Run(const std::function<void(SimFormUser&)>& script) {
    TfrmConfiguration dialog(platform, opener);
    host.OnNextShow(script);
    return host.ShowModal(dialog, nullptr);
  }

  TAppSettings Stored() {
    TRegistryEnhanced registry(platform);
    TAppSettingsStore store(platform, registry);
    TAppSettings settings = DefaultAppSettings("other");
    settings.Filename = Target;
    store.LoadSettings(settings);
    return settings;
  }

  std::string IniValue(const std::string& name) {
    std::string value;
    platform.Profile().GetPrivateProfileStringA("AppSettings", name, "<missing>", 1024, value, OmbrixIni);
    return value;
  }

  std::string RegistryText(const std::string& name) {
    TRegistryEnhanced registry(platform);
    registry.Key = SettingsKey;
    return registry.ReadValueDefault(name, TVariant()).ToText();
  }

  SimPlatform platform;
  SimFormHost host;
  Opener opener;
};

TEST_F(ConfigureTest, NewTargetShowsTheDefaults) {
  TfrmConfiguration dialog(platform, opener);
  // What the controls give back is what they show.
  EXPECT_EQ(DefaultAppSettings(Target), dialog.CollectSettings());
  EXPECT_EQ("Don't override", dialog.Pages.cbShowState.Text());
  EXPECT_EQ("Current Icon Number : 0", dialog.Pages.lblIconNumber.Caption());
  EXPECT_FALSE(dialog.Pages.imgIcon.Picture.Empty());
  EXPECT_FALSE(dialog.Pages.rbTrayNoTask.Visible());
  EXPECT_FALSE(dialog.Pages.ebxWindowName.Enabled()) << "the fields of the other method are off";
  EXPECT_EQ(0, dialog.pcConfig.ActivePageIndex());
  EXPECT_EQ(HelpContexts::ConfigurationDialog, dialog.HelpContext);
}

TEST_F(ConfigureTest, NumberBoxesKeepOnlyDigitsWhenLeft) {
  struct Case {
    const char* typed;
    const char* shown;
  };
  for (const Case& c : {Case{"12abc", "12"}, Case{"-5", "5"}, Case{"007", "7"}, Case{"", "0"}, Case{"0", "0"}}) {
    std::string seconds, handles;
    Run([&](SimFormUser& user) {
      ASSERT_TRUE(user.SwitchPage("pcConfig", 2));
      ASSERT_TRUE(user.Type("ebxSecsToWait", c.typed));
      ASSERT_TRUE(user.Focus("cbxDebugMode"));
      seconds = user.TextOf("ebxSecsToWait");
      user.Escape();
    });
    EXPECT_EQ(c.shown, seconds) << c.typed;
  }
  // Leaving one box rewrites all three.
  Run([&](SimFormUser& user) {
    user.Form().Get<TEdit>("ebxNbHandles").SetText("x2y");
    ASSERT_TRUE(user.Type("ebxMainHandle", "04"));
    ASSERT_TRUE(user.Focus("rbMinByName"));
    EXPECT_EQ("2", user.TextOf("ebxNbHandles"));
    EXPECT_EQ("4", user.TextOf("ebxMainHandle"));
    user.Escape();
  });
}

TEST_F(ConfigureTest, SaveGoesToTheStoreTheSwitchNames) {
  for (bool useIni : {true, false}) {
    SCOPED_TRACE(useIni ? "INI file" : "registry");
    platform.SimReg().ClearFailures();
    opener.useIni = useIni;
    EXPECT_EQ(mrOk, Run([&](SimFormUser& user) {
                ASSERT_TRUE(user.Click("rbMinByName"));
                ASSERT_TRUE(user.Type("ebxWindowName", "Untitled - Notes"));
                ASSERT_TRUE(user.Click("cbPartialSearch"));
                ASSERT_TRUE(user.SwitchPage("pcConfig", 1));
                ASSERT_TRUE(user.ClickUpDown("udIconNumber", TUDBtnType::kNext));
                ASSERT_TRUE(user.Click("rbNoTrayTask"));
                ASSERT_TRUE(user.SwitchPage("pcConfig", 2));
                ASSERT_TRUE(user.Select("cbShowState", 3));
                ASSERT_TRUE(user.ClickItem("rgTrayDblClick", 0));
                ASSERT_TRUE(user.Click("btnOk"));
              }));
    const auto& boxes = platform.SimBoxes().Boxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ("Please exit, and launch this\r\napplication again for changes\r\nto take place.", boxes.back().text);
    EXPECT_EQ("Vorel Ombrix", boxes.back().caption);

    if (useIni) {
      EXPECT_EQ(Target, IniValue("Filename1"));
      EXPECT_EQ("0", IniValue("MinimizeType1"));
      EXPECT_EQ("Untitled - Notes", IniValue("WindowCaption1"));
      EXPECT_EQ("", RegistryText("Filename1")) << "the registry stays as it was";
    } else {
      EXPECT_EQ(Target, RegistryText("Filename1"));
      EXPECT_EQ("3", RegistryText("ShowState1"));
    }
    const TAppSettings stored = Stored();
    EXPECT_FALSE(stored.MinimizeType);
    EXPECT_TRUE(stored.DoPartialSearch);
    EXPECT_EQ(1, stored.IconNumber);
    EXPECT_TRUE(stored.NoTrayTask);
    EXPECT_FALSE(stored.TrayTask);
    EXPECT_EQ(3, stored.ShowState);
    EXPECT_EQ(0, stored.TrayDblClick);

    TRegistryEnhanced registry(platform);
    TAppSettingsStore(platform, registry).DeleteSettings(Target);
  }
}

TEST_F(ConfigureTest, RegistryFailureShowsTheErrorAndKeepsTheDialogOpen) {
  opener.useIni = false;
  platform.SimReg().FailNth(sim::SimRegistry::Op::kSet, 3, ERROR_ACCESS_DENIED);
  EXPECT_EQ(mrCancel, Run([&](SimFormUser& user) {
              ASSERT_TRUE(user.Click("btnOk"));
              EXPECT_TRUE(user.IsOpen()) << "the dialog stays open after the error";
              ASSERT_TRUE(user.Click("btnCancel"));
            }));
  const auto& boxes = platform.SimBoxes().Boxes();
  ASSERT_EQ(1u, boxes.size()) << "no note after a failed save";
  EXPECT_EQ("Failed to set data for 'NbWindows1'", boxes[0].text);
  EXPECT_EQ(Target, RegistryText("Filename1")) << "the values before the failure stay written";
}

// An INI file Ombrix cannot write, or its read-only folder (the zip extracted into Program
// Files): the entry goes to the registry instead, the switch says so from then on, and one
// note tells why; the next save goes straight to the registry.
TEST_F(ConfigureTest, UnwritableIniFileSavesToTheRegistryFromThenOn) {
  struct Case {
    const char* name;
    const char* readOnly;
    bool fileThere;
  };
  const Case cases[] = {{"read-only file", OmbrixIni, true},
                        {"read-only folder without the file", "C:\\Program Files\\Ombrix", false}};
  platform.SimFiles().MakeDirectories("C:\\Program Files\\Ombrix");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform.SimBoxes().ClearLog();
    if (c.fileThere) platform.Files().WriteFileBytes(OmbrixIni, "");
    opener.useIni = true;
    platform.SimFiles().SetReadOnly(c.readOnly, true);
    for (const char* caption : {"Untitled - Notes", "Second save"}) {
      EXPECT_EQ(mrOk, Run([&](SimFormUser& user) {
                  ASSERT_TRUE(user.Click("rbMinByName"));
                  ASSERT_TRUE(user.Type("ebxWindowName", caption));
                  ASSERT_TRUE(user.Click("btnOk"));
                }));
      EXPECT_FALSE(opener.useIni) << "the switch shows the registry";
      EXPECT_EQ(caption, RegistryText("WindowCaption1"));
    }
    platform.SimFiles().SetReadOnly(c.readOnly, false);
    EXPECT_EQ("<missing>", IniValue("Filename1"));
    const auto& boxes = platform.SimBoxes().Boxes();
    ASSERT_EQ(2u, boxes.size()) << "one note per save";
    EXPECT_EQ(std::string("Unable to write to ") + OmbrixIni +
                  "\r\n\r\nThe settings were saved in the registry instead, and will be saved there from now on: "
                  "\"Save settings to INI file instead of registry\" in the tray menu is now unchecked.\r\n\r\n"
                  "Please exit, and launch this\r\napplication again for changes\r\nto take place.",
              boxes[0].text);
    EXPECT_EQ("Please exit, and launch this\r\napplication again for changes\r\nto take place.", boxes[1].text)
        << "the second save says nothing more";
    TRegistryEnhanced registry(platform);
    TAppSettingsStore(platform, registry).DeleteSettings(Target);
    platform.Files().DeleteFileA(OmbrixIni);
  }
}

TEST_F(ConfigureTest, DeleteSaysWhatCouldNotBeDeleted) {
  struct Case {
    bool registryRefuses;
    bool iniReadOnly;
    std::string note;
  };
  const Case cases[] = {
      {true, true,
       std::string("The settings could not be deleted from the registry and from the INI file ") + OmbrixIni + "."},
      {true, false, "The settings could not be deleted from the registry."},
      {false, true, std::string("The settings could not be deleted from the INI file ") + OmbrixIni + "."},
      {false, false, "Settings deleted."},
  };
  for (const Case& c : cases) {
    for (bool useIni : {false, true}) {
      opener.useIni = useIni;
      Run([](SimFormUser& user) { user.Click("btnOk"); });
    }
    if (c.registryRefuses) platform.SimReg().FailAlways(sim::SimRegistry::Op::kDeleteValue, ERROR_ACCESS_DENIED);
    platform.SimFiles().SetReadOnly(OmbrixIni, c.iniReadOnly);
    platform.SimBoxes().AnswerNextBox(IDYES);
    EXPECT_EQ(mrCancel, Run([](SimFormUser& user) { ASSERT_TRUE(user.Click("btnDelete")); }));
    platform.SimReg().ClearFailures();
    platform.SimFiles().SetReadOnly(OmbrixIni, false);
    const sim::ShownMessageBox note = platform.SimBoxes().Boxes().back();
    EXPECT_EQ(c.note, note.text);
    EXPECT_EQ(c.note == "Settings deleted." ? static_cast<UINT>(MB_OK) : static_cast<UINT>(MB_OK | MB_ICONERROR),
              note.type);
  }
  EXPECT_EQ("", RegistryText("Filename1"));
  EXPECT_EQ("<missing>", IniValue("Filename1"));
}

TEST_F(ConfigureTest, DeleteAsksFirst) {
  opener.useIni = false;
  Run([](SimFormUser& user) { user.Click("btnOk"); });
  platform.SimBoxes().ClearLog();

  platform.SimBoxes().AnswerNextBox(IDNO);
  EXPECT_EQ(mrCancel, Run([](SimFormUser& user) { ASSERT_TRUE(user.Click("btnDelete")); }));
  EXPECT_EQ(Target, RegistryText("Filename1")) << "No keeps the entry";
  ASSERT_EQ(1u, platform.SimBoxes().Boxes().size());
  const sim::ShownMessageBox question = platform.SimBoxes().Boxes()[0];
  EXPECT_EQ("Confirmation", question.caption);
  EXPECT_EQ("This will permanently delete the settings\r\nfor this appliaction.\r\nAre you sure you want to delete ?",
            question.text);
  EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION), question.type);

  platform.SimBoxes().AnswerNextBox(IDYES);
  EXPECT_EQ(mrCancel, Run([](SimFormUser& user) { ASSERT_TRUE(user.Click("btnDelete")); }));
  EXPECT_EQ("", RegistryText("Filename1"));
  EXPECT_EQ("Settings deleted.", platform.SimBoxes().Boxes().back().text);
}

TEST_F(ConfigureTest, CancelEscAndCloseBoxStoreNothing) {
  const std::function<void(SimFormUser&)> ways[] = {
      [](SimFormUser& user) { ASSERT_TRUE(user.Click("btnCancel")); },
      [](SimFormUser& user) { ASSERT_TRUE(user.Escape()); },
      [](SimFormUser& user) { user.CloseBox(); },
  };
  for (const auto& leave : ways) {
    EXPECT_EQ(mrCancel, Run([&](SimFormUser& user) {
                ASSERT_TRUE(user.Type("ebxMainHandle", "9"));
                leave(user);
              }));
  }
  EXPECT_FALSE(platform.Files().FileExists(OmbrixIni) && IniValue("Filename1") != "<missing>");
  EXPECT_EQ("", RegistryText("Filename1"));
  EXPECT_TRUE(platform.SimBoxes().Boxes().empty());
}

TEST_F(ConfigureTest, MethodButtonsEnableTheirFields) {
  Run([](SimFormUser& user) {
    const char* processFields[] = {"lblThisProgramOpens", "ebxNbHandles", "lblHandleToCareAbout", "ebxMainHandle"};
    const char* nameFields[] = {"lblWindowName", "ebxWindowName", "cbPartialSearch", "cbUsePID"};
    for (const char* field : processFields) EXPECT_TRUE(user.IsUsable(field)) << field;
    for (const char* field : nameFields) EXPECT_FALSE(user.IsUsable(field)) << field;
    ASSERT_TRUE(user.Click("rbMinByName"));
    for (const char* field : processFields) EXPECT_FALSE(user.IsUsable(field)) << field;
    for (const char* field : nameFields) EXPECT_TRUE(user.IsUsable(field)) << field;
    // A key pressed on a method button updates the fields too.
    user.Form().Get<TRadioButton>("rbMinByProcess").SetChecked(true);
    ASSERT_TRUE(user.Focus("rbMinByName"));
    ASSERT_TRUE(user.PressKey('x'));
    EXPECT_TRUE(user.IsUsable("ebxNbHandles"));
    EXPECT_EQ("1", user.TextOf("ebxNbHandles")) << "disabled fields keep their texts";
    user.Escape();
  });
}

TEST_F(ConfigureTest, IconArrowsStayWithinTheFilesIcons) {
  Run([&](SimFormUser& user) {
    ASSERT_TRUE(user.SwitchPage("pcConfig", 1));
    for (int i = 0; i < 7; ++i) user.ClickUpDown("udIconNumber", TUDBtnType::kNext);
    EXPECT_EQ("Current Icon Number : 4", user.TextOf("lblIconNumber"));
    for (int i = 0; i < 7; ++i) user.ClickUpDown("udIconNumber", TUDBtnType::kPrev);
    EXPECT_EQ("Current Icon Number : 0", user.TextOf("lblIconNumber"));

    // A single-icon file: the arrows do not move.
    platform.Files().WriteFileBytes("C:\\Tools\\one.ico", "ico");
    platform.SimIconFiles().SetIconCount("C:\\Tools\\one.ico", 1);
    platform.SimBoxes().AnswerNextOpenDialog(std::string("C:\\Tools\\one.ico"));
    ASSERT_TRUE(user.Click("btnCustom"));
    user.ClickUpDown("udIconNumber", TUDBtnType::kNext);
    EXPECT_EQ("Current Icon Number : 0", user.TextOf("lblIconNumber"));
    const OpenFileRequest& request = platform.SimBoxes().OpenDialogs().back();
    EXPECT_EQ("Choose the icon to be put in the tray", request.title);
    EXPECT_EQ("Icons, DLLs and EXEs|*.ico;*.dll;*.exe|Icons|*.ico|DLLs|*.dll|Executables|*.exe", request.filter);
    EXPECT_EQ("ico", request.defaultExtension);
    EXPECT_TRUE(request.pathMustExist && request.fileMustExist);
    EXPECT_EQ(HelpContexts::SettingsPagesIconDialog, request.helpContext);

    // A file without icons (for which ExtractIcon answers "not an icon file"): no preview,
    // and the position never goes below 0.
    platform.SimIconFiles().SetNotAnIconFile("C:\\Tools\\readme.txt");
    platform.SimBoxes().AnswerNextOpenDialog(std::string("C:\\Tools\\readme.txt"));
    ASSERT_TRUE(user.Click("btnCustom"));
    user.ClickUpDown("udIconNumber", TUDBtnType::kNext);
    user.ClickUpDown("udIconNumber", TUDBtnType::kPrev);
    EXPECT_EQ("Current Icon Number : 0", user.TextOf("lblIconNumber"));
    EXPECT_TRUE(user.Form().Get<TImage>("imgIcon").Picture.Empty());

    // Cancelling the open dialog keeps the file; Original Icon returns to the target.
    platform.SimBoxes().AnswerNextOpenDialog(std::nullopt);
    ASSERT_TRUE(user.Click("btnCustom"));
    EXPECT_EQ("C:\\Tools\\readme.txt", static_cast<TfrmConfiguration&>(user.Form()).IconFile());
    ASSERT_TRUE(user.Click("btnOriginalIcon"));
    EXPECT_EQ(Target, static_cast<TfrmConfiguration&>(user.Form()).IconFile());
    EXPECT_EQ("Current Icon Number : 0", user.TextOf("lblIconNumber"));
    user.Escape();
  });
  EXPECT_EQ(0, platform.SimIconFiles().LiveIconCount()) << "every preview icon was destroyed";
}

TEST_F(ConfigureTest, StoredEntryIsShownWithItsBounds) {
  struct Case {
    std::int16_t iconNumber;
    int shown;
  };
  for (const Case& c : {Case{3, 3}, Case{7, 0}, Case{-2, 0}}) {
    TAppSettings settings = DefaultAppSettings(Target);
    settings.IconNumber = c.iconNumber;
    settings.TrayTask = settings.TrayNoTask = settings.NoTrayTask = settings.NoTrayIcon = false;
    settings.TrayDblClick = 0;
    TRegistryEnhanced registry(platform);
    TAppSettingsStore(platform, registry).SaveSettings(settings, true);

    TfrmConfiguration dialog(platform, opener);
    EXPECT_EQ(c.shown, dialog.Pages.udIconNumber.Position()) << c.iconNumber;
    EXPECT_FALSE(dialog.Pages.rbTrayTask.Checked() || dialog.Pages.rbTrayNoTask.Checked() ||
                 dialog.Pages.rbNoTrayTask.Checked() || dialog.Pages.rbNoTrayNoTask.Checked())
        << "four false flags leave no radio button on";
    EXPECT_EQ(0, dialog.Pages.rgTrayDblClick.ItemIndex());
    EXPECT_EQ(c.shown, dialog.CollectSettings().IconNumber) << "saved again as shown";
  }
}

// A value the pages cannot show, or show but not give back, would be lost at the next save.
TEST_F(ConfigureTest, EveryStoredValueIsShownAndCollectedUnchanged) {
  TAppSettings stored = DefaultAppSettings(Target);
  stored.MinimizeType = false;
  stored.NbWindows = "12";
  stored.MainHandle = "3";
  stored.SecsToWait = "45";
  stored.ShowState = 2;
  stored.DebugMode = true;
  stored.WindowCaption = "Notes - \"todo\"";
  stored.DoPartialSearch = true;
  stored.UsePID = false;
  stored.IconNumber = 4;
  stored.TrayTask = false;
  stored.NoTrayTask = true;
  stored.TrayDblClick = 0;
  stored.HotKey = 0x0641;
  TRegistryEnhanced registry(platform);
  TAppSettingsStore(platform, registry).SaveSettings(stored, true);
  TfrmConfiguration dialog(platform, opener);
  EXPECT_EQ(stored, dialog.CollectSettings());
  EXPECT_TRUE(dialog.Pages.rbMinByName.Checked());
  EXPECT_EQ("3", dialog.Pages.ebxMainHandle.Text());
}

// Ombrix starts with what the dialog would show for the entry: a value the pages cannot show
// must not run differently from what the user sees and saves.
TEST_F(ConfigureTest, StartUpLoadsEachStoredFormAsTheDialogShowsIt) {
  struct Case {
    const char* name;
    std::function<void(TAppSettings&)> change;  // nullptr: nothing stored
    bool inIni;
  };
  const Case cases[] = {
      {"nothing stored", nullptr, false},
      {"every value changed",
       [](TAppSettings& s) {
         s.MinimizeType = false, s.NbWindows = "12", s.SecsToWait = "x9", s.WindowCaption = "a \"b\"";
         s.DebugMode = s.WarnQuickClose = s.DoPartialSearch = true, s.UsePID = false, s.HotKey = 0x0641;
       },
       true},
      {"show state beyond the list", [](TAppSettings& s) { s.ShowState = 7; }, false},
      {"show state below the list", [](TAppSettings& s) { s.ShowState = -3; }, true},
      {"click mode beyond the group", [](TAppSettings& s) { s.TrayDblClick = 5; }, false},
      {"click mode below the group", [](TAppSettings& s) { s.TrayDblClick = -4; }, true},
      {"two tray modes on", [](TAppSettings& s) { s.TrayTask = s.NoTrayTask = true; }, false},
      {"every tray mode on", [](TAppSettings& s) { s.TrayTask = s.TrayNoTask = s.NoTrayTask = s.NoTrayIcon = true; },
       true},
      {"no tray mode on", [](TAppSettings& s) { s.TrayTask = false; }, false},
      {"icon beyond the file's", [](TAppSettings& s) { s.IconNumber = 9; }, true},
      {"icon below zero", [](TAppSettings& s) { s.IconNumber = -1; }, false},
      {"icon file without icons", [](TAppSettings& s) { s.Icon = "C:\\Tools\\none.dat", s.IconNumber = 2; }, true},
  };
  for (const Case& c : cases) {
    TRegistryEnhanced registry(platform);
    TAppSettingsStore store(platform, registry);
    store.DeleteSettings(Target);
    if (c.change) {
      TAppSettings settings = DefaultAppSettings(Target);
      c.change(settings);
      store.SaveSettings(settings, c.inIni);
    }
    TfrmConfiguration dialog(platform, opener);
    EXPECT_EQ(dialog.CollectSettings(), LoadTargetSettings(platform, Target)) << c.name;
  }
}

TEST_F(ConfigureTest, HelpButtonOpensTheContents) {
  Run([](SimFormUser& user) {
    ASSERT_TRUE(user.Click("btnHelp"));
    EXPECT_TRUE(user.IsOpen());
    user.Escape();
  });
  EXPECT_EQ(1, opener.helpContents);
}

}  // namespace
}  // namespace ombrix
