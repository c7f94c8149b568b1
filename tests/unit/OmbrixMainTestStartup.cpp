// Start-up of the main form: the command line, the target's resolution and settings, the
// launch, the search for the target's windows with its retry question, and every way
// start-up ends early.

#include "center/ControlCenter.h"
#include "platform/ShellLnk.h"
#include "platform/sim/LnkFormat.h"
#include "tests/unit/OmbrixMainTest.h"

namespace ombrix {
namespace testing_main {
namespace {

using sim::SimFormUser;

constexpr char RetryQuestion[] =
    "Unable to get window handle\r\n\r\nChoose YES to retry getting handle\r\nChoose NO to configure this app\r\n"
    "Choose CANCEL to exit.\r\n\r\n(Wait delay is now 3 sec, you can increase it with \"Configure\".)";

TEST_F(OmbrixMainTest, CommandLineGivesTargetAndParams) {
  sim.SimProcs().DefineProgram("C:\\Program Files\\App Dir\\app.exe", Program({"App"}));
  struct Case {
    std::string arguments;  // after Ombrix's own name
    std::string targetFile;
    std::string targetParams;
    std::string launched;  // the target's command line
  };
  const Case cases[] = {
      {"C:\\Tools\\app.exe", App, "", "C:\\Tools\\app.exe "},
      {"C:\\Tools\\app.exe -x \"a b\"", App, "-x \"a b\" ", "C:\\Tools\\app.exe -x \"a b\" "},
      {"\"C:\\Program Files\\App Dir\\app.exe\" one", "C:\\Program Files\\App Dir\\app.exe", "one ",
       "C:\\Program Files\\App Dir\\app.exe one "},
      {"C:\\Tools\\app.exe  \t -y", App, "-y ", "C:\\Tools\\app.exe -y "},
      // Counting stops at the first empty argument.
      {"C:\\Tools\\app.exe -a \"\" -b", App, "-a ", "C:\\Tools\\app.exe -a "},
  };
  sim.SimProcs().DefineProgram(App, Program({"App"}));
  for (const Case& test : cases) {
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    ASSERT_TRUE(Start(test.arguments)) << test.arguments;
    EXPECT_EQ(test.targetFile, form->Target().File()) << test.arguments;
    EXPECT_EQ(test.targetParams, form->Target().Params()) << test.arguments;
    EXPECT_EQ(test.launched, sim.SimProcs().Launches().back().commandLine) << test.arguments;
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(OmbrixMainTest, NoArgumentAsksForTheFile) {
  sim.SimProcs().DefineProgram(App, Program({"App"}));
  sim.SimBoxes().AnswerNextOpenDialog(std::string(App));
  ASSERT_TRUE(Start(""));
  ASSERT_EQ(1u, sim.SimBoxes().OpenDialogs().size());
  const OpenFileRequest& request = sim.SimBoxes().OpenDialogs()[0];
  EXPECT_EQ("Choose executable to minimize...", request.title);
  EXPECT_EQ("All files|*.*", request.filter);
  EXPECT_EQ(".exe", request.defaultExtension);
  EXPECT_TRUE(request.pathMustExist && request.fileMustExist);
  EXPECT_EQ(App, form->Target().File());
  EXPECT_EQ("", form->Target().Params());
}

TEST_F(OmbrixMainTest, CancelledOpenDialogEndsSilentlyAfterTheGlobalValues) {
  sim.SimFiles().SetVersionString(OmbrixExe, "\\StringFileInfo\\040904E4\\FileVersion", "2.5.3.40");
  sim.SimBoxes().AnswerNextOpenDialog(std::nullopt);
  EXPECT_FALSE(Start(""));
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(sim.SimProcs().Launches().empty());
  EXPECT_EQ("2.5.3.40", SettingsValue(ValueVersion).ToText());
  EXPECT_EQ(OmbrixFolder, SettingsValue(ValuePath).ToText());
  EXPECT_EQ("Ombrix.exe", SettingsValue(ValueExeName).ToText());
  // Read, not written.
  EXPECT_TRUE(SettingsValue(ValueUseINIFile).IsEmpty());
  EXPECT_TRUE(form->Menu().itmSaveSettingsINIFile.Checked);
}

TEST_F(OmbrixMainTest, UseIniFileSetsTheCheckMark) {
  struct Case {
    TVariant stored;  // empty: no value
    bool checked;
  };
  const Case cases[] = {{TVariant(), true}, {TVariant(false), false}, {TVariant(true), true}};
  for (const Case& test : cases) {
    TRegistryEnhanced registry(sim);
    registry.Key = SettingsKey;
    if (test.stored.IsEmpty()) {
      if (registry.ValueExists(ValueUseINIFile)) registry.DeleteValue(ValueUseINIFile);
    } else {
      registry.WriteValue(ValueUseINIFile, test.stored);
    }
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    sim.SimBoxes().AnswerNextOpenDialog(std::nullopt);
    EXPECT_FALSE(Start(""));
    EXPECT_EQ(test.checked, form->Menu().itmSaveSettingsINIFile.Checked) << test.stored.ToText();
    EXPECT_EQ(test.checked, form->Menu().SaveSettingsToIniFile());
  }
}

TEST_F(OmbrixMainTest, FailuresBeforeTheLaunchShowOneMessageAndEnd) {
  sim.Files().WriteFileBytes("C:\\Docs\\plain.xyz", "x");
  sim.Files().WriteFileBytes("C:\\Docs\\noext", "x");
  sim.Files().WriteFileBytes("C:\\Docs\\self.run", "x");
  sim.Files().WriteFileBytes("C:\\Docs\\broken.lnk", "not a shortcut");
  SetClassDefault(".xyz", "xyzfile");
  SetClassDefault(".run", "runfile");
  SetClassDefault("runfile\\Shell\\Open\\Command", "\"%1\" /S");
  struct Case {
    std::string arguments;
    std::string message;
  };
  const Case cases[] = {
      {"C:\\Tools\\missing.exe", "C:\\Tools\\missing.exe\r\nnot found!\r\nPlease verify your program location."},
      // A folder is no file.
      {"C:\\Tools", "C:\\Tools\r\nnot found!\r\nPlease verify your program location."},
      {"C:\\Docs\\broken.lnk", "Invalid shortcut.\r\nCould not read file: \r\nC:\\Docs\\broken.lnk"},
      {"C:\\Docs\\plain.xyz", "Unsupported format \"xyzfile\".\r\n\r\nI don't know how to run this\r\nfile...\r\n"},
      {"C:\\Docs\\noext", "Unsupported format \"\".\r\n\r\nI don't know how to run this\r\nfile...\r\n"},
      {"C:\\Docs\\self.run",
       "Unable to launch \"C:\\Docs\\self.run\" /S.\r\n\r\nThere has been an internal command-line break down "
       "error."},
  };
  for (const Case& test : cases) {
    sim.SimBoxes().ClearLog();
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    EXPECT_FALSE(Start(test.arguments)) << test.arguments;
    ASSERT_EQ(1u, Boxes().size()) << test.arguments;
    EXPECT_EQ(test.message, Boxes()[0].text);
    EXPECT_EQ(TVorel_Ombrix::ApplicationTitleText, Boxes()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), Boxes()[0].type & MB_TYPEMASK);
    EXPECT_EQ(sim.Windows().GetDesktopWindow(), Boxes()[0].owner);
    EXPECT_EQ(nullptr, Icon()) << test.arguments;
  }
  EXPECT_TRUE(sim.SimProcs().Launches().empty());
}

TEST_F(OmbrixMainTest, ShortcutArgumentsReplaceTheCommandLines) {
  sim.SimProcs().DefineProgram(App, Program({"App"}));
  TShellLinkWrapper link(sim);
  link.SetShellFolder(TShellFolder::sfNone);
  link.SetFileName("C:\\Docs\\App.lnk");
  link.SetTarget(App);
  link.SetArguments("/from-link \"x y\"");
  link.WriteLink();

  ASSERT_TRUE(Start("C:\\Docs\\App.lnk ignored"));
  EXPECT_EQ(App, form->Target().File());
  EXPECT_EQ("/from-link \"x y\"", form->Target().Params());
  EXPECT_EQ("C:\\Tools\\app.exe /from-link \"x y\"", sim.SimProcs().Launches().back().commandLine);
}

TEST_F(OmbrixMainTest, DocumentStartsItsRegisteredProgram) {
  sim.SimProcs().DefineProgram("C:\\Program Files\\Ed\\ed.exe", Program({"Editor"}));
  sim.Files().WriteFileBytes("C:\\Docs\\a.txt", "text");
  SetClassDefault(".txt", "txtfile");
  // No Shell key: the verb is "Open".
  SetClassDefault("txtfile\\Shell\\Open\\Command", "\"C:\\Program Files\\Ed\\ed.exe\" \"%1\"");

  ASSERT_TRUE(Start("C:\\Docs\\a.txt dropped"));
  EXPECT_EQ("C:\\Program Files\\Ed\\ed.exe", form->Target().File());
  EXPECT_EQ("\"C:\\Docs\\a.txt\"", form->Target().Params());
  EXPECT_EQ("C:\\Program Files\\Ed\\ed.exe \"C:\\Docs\\a.txt\"", sim.SimProcs().Launches().back().commandLine);
  EXPECT_EQ("Editor", form->Target().Caption());
}

// A 32-bit Ombrix on 64-bit Windows, where the 64-bit system the user means is seen through
// WOW64: System32 is SysWOW64, %ProgramFiles% the (x86) folder, and a shortcut to a 64-bit
// program reads as one into the (x86) folder, which Ombrix cannot undo.
TEST_F(OmbrixMainTest, UnderWow64TargetsAreThoseOfThe64BitSystem) {
  sim.SimProcs().DefineProgram("C:\\Windows\\System32\\wsl.exe", Program({"Linux"}));
  sim.SimProcs().DefineProgram("C:\\Windows\\System32\\both.exe", Program({"Native"}));
  sim.SimProcs().DefineProgram("C:\\Windows\\SysWOW64\\both.exe", Program({"Both 32"}));
  sim.SimProcs().DefineProgram("C:\\Program Files\\Ed\\ed.exe", Program({"Editor"}));
  sim.SimProcs().DefineProgram("C:\\Program Files\\Common Files\\Viewer\\view.exe", Program({"Viewer"}));
  sim.Files().WriteFileBytes("C:\\Docs\\a.txt", "text");
  sim.Files().WriteFileBytes("C:\\Docs\\b.pic", "picture");
  SetClassDefault(".txt", "txtfile");
  SetClassDefault("txtfile\\Shell\\Open\\Command", "\"%programfiles%\\Ed\\ed.exe\" \"%1\"", REG_EXPAND_SZ);
  SetClassDefault(".pic", "picfile");
  SetClassDefault("picfile\\Shell\\Open\\Command", "\"%CommonProgramFiles%\\Viewer\\view.exe\" %1", REG_EXPAND_SZ);
  TShellLinkWrapper link(sim);
  link.SetShellFolder(TShellFolder::sfNone);
  link.SetFileName("C:\\Docs\\Ed.lnk");
  link.SetTarget("C:\\Program Files\\Ed\\ed.exe");
  link.WriteLink();
  link.SetFileName("C:\\Docs\\Linux.lnk");
  link.SetTarget("C:\\Windows\\System32\\wsl.exe");
  link.WriteLink();
  sim.Files().WriteFileBytes("C:\\Docs\\c.distro", "distribution");
  SetClassDefault(".distro", "distrofile");
  SetClassDefault("distrofile\\Shell\\Open\\Command", "%SystemRoot%\\System32\\wsl.exe --import %1", REG_EXPAND_SZ);
  sim.RunUnderWow64();

  struct Case {
    std::string arguments;
    std::string targetFile;  // empty: not started, with the not-found message
  };
  const Case cases[] = {
      // Only the 64-bit system has it: reached through Sysnative.
      {"C:\\WINDOWS\\system32\\wsl.exe", "C:\\Windows\\Sysnative\\wsl.exe"},
      // Found in the 32-bit view: that one is started, as it always was.
      {"C:\\Windows\\System32\\both.exe", "C:\\Windows\\System32\\both.exe"},
      {"C:\\Windows\\System32\\none.exe", ""},
      {"C:\\Docs\\a.txt", "C:\\Program Files\\Ed\\ed.exe"},
      {"C:\\Docs\\b.pic", "C:\\Program Files\\Common Files\\Viewer\\view.exe"},
      // Windows hands a 32-bit reader the (x86) folder; only the x64 build gets the program.
      {"C:\\Docs\\Ed.lnk", "C:\\Program Files (x86)\\Ed\\ed.exe"},
      // A shortcut's or a file type's program in System32 is reached the same way.
      {"C:\\Docs\\Linux.lnk", "C:\\Windows\\Sysnative\\wsl.exe"},
      {"C:\\Docs\\c.distro", "C:\\Windows\\Sysnative\\wsl.exe"},
  };
  for (const Case& test : cases) {
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    const size_t boxes = Boxes().size();
    const bool started = Start(test.arguments);
    if (test.targetFile.empty()) {
      EXPECT_FALSE(started) << test.arguments;
      ASSERT_EQ(boxes + 1, Boxes().size()) << test.arguments;
      EXPECT_EQ(test.arguments + "\r\nnot found!\r\nPlease verify your program location.", Boxes().back().text);
      continue;
    }
    EXPECT_EQ(test.targetFile, form->Target().File()) << test.arguments;
  }
}

// On Windows HKEY_CLASSES_ROOT shows the user's own file types over the machine-wide ones.
TEST_F(OmbrixMainTest, TheUsersOwnFileTypesStartTheirPrograms) {
  sim.SimProcs().DefineProgram(App, Program({"App"}));
  sim.SimProcs().DefineProgram("C:\\Program Files\\Ed\\ed.exe", Program({"Editor"}));
  // Known to the user alone, type and command.
  SetClassDefault(".mine", "minefile", REG_SZ, Classes::kUser);
  SetClassDefault("minefile\\Shell\\Open\\Command", "C:\\Tools\\app.exe /mine \"%1\"", REG_SZ, Classes::kUser);
  // A machine-wide type whose command the user has replaced for himself.
  SetClassDefault(".txt", "txtfile");
  SetClassDefault("txtfile", "Text Document");
  SetClassDefault("txtfile\\Shell\\Open\\Command", "\"C:\\Program Files\\Ed\\ed.exe\" \"%1\"");
  SetClassDefault("txtfile\\Shell\\Open\\Command", "C:\\Tools\\app.exe /own %1", REG_SZ, Classes::kUser);
  // A machine-wide type below which the user has a key of his own without a command.
  SetClassDefault(".ed", "edfile");
  SetClassDefault("edfile\\Shell\\Open\\Command", "\"C:\\Program Files\\Ed\\ed.exe\" \"%1\"");
  SetClassDefault("edfile\\Shell\\Tuckaway\\Command", "C:\\Tools\\app.exe", REG_SZ, Classes::kUser);
  struct Case {
    const char* document;
    const char* commandLine;
  };
  const Case cases[] = {
      {"C:\\Docs\\a.mine", "C:\\Tools\\app.exe /mine \"C:\\Docs\\a.mine\""},
      {"C:\\Docs\\a.txt", "C:\\Tools\\app.exe /own C:\\Docs\\a.txt"},
      {"C:\\Docs\\a.ed", "C:\\Program Files\\Ed\\ed.exe \"C:\\Docs\\a.ed\""},
  };
  for (const Case& test : cases) {
    ASSERT_TRUE(sim.Files().WriteFileBytes(test.document, "text"));
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    ASSERT_TRUE(Start(test.document)) << test.document;
    EXPECT_EQ(test.commandLine, sim.SimProcs().Launches().back().commandLine);
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(OmbrixMainTest, WindowsOwnTextFileTypeStartsItsEditor) {
  // As Windows registers .txt: an expandable string naming the editor through %SystemRoot%.
  sim.SimProcs().DefineProgram("C:\\Windows\\system32\\NOTEPAD.EXE", Program({"todo.txt - Notepad"}));
  sim.Files().WriteFileBytes("C:\\Docs\\todo.txt", "text");
  SetClassDefault(".txt", "txtfile");
  SetClassDefault("txtfile\\shell\\open\\command", "%SystemRoot%\\system32\\NOTEPAD.EXE %1", REG_EXPAND_SZ);

  ASSERT_TRUE(Start("C:\\Docs\\todo.txt"));
  EXPECT_EQ("C:\\Windows\\system32\\NOTEPAD.EXE", form->Target().File());
  EXPECT_EQ("C:\\Windows\\system32\\NOTEPAD.EXE C:\\Docs\\todo.txt", sim.SimProcs().Launches().back().commandLine);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(OmbrixMainTest, FailedLaunchShowsItsErrorText) {
  struct Case {
    DWORD error;
    std::string text;
  };
  // The old start interface's codes keep their words; for the others the system says why.
  const std::string failed = std::string(App) + "\r\ncould not be started:\r\n";
  const Case cases[] = {
      {ERROR_FILE_NOT_FOUND, "File was not found"},
      {ERROR_BAD_EXE_FORMAT, failed + "app.exe is not a valid Win32 application.\r\n(Windows error 193)"},
      {ERROR_VIRUS_INFECTED, failed + "Operation did not complete successfully because the file contains a virus or "
                                      "potentially unwanted software.\r\n(Windows error 225)"},
      {ERROR_ACCESS_DISABLED_BY_POLICY, failed +
                                            "This program is blocked by group policy. For more information, contact "
                                            "your system administrator.\r\n(Windows error 1260)"},
      {ERROR_SYSTEM_INTEGRITY_POLICY_VIOLATION,
       failed + "An Application Control policy has blocked this file.\r\n(Windows error 4551)"},
      {12345, failed + "Windows gives no description of this error.\r\n(Windows error 12345)"},
  };
  for (const Case& test : cases) {
    sim::SimProgram failing;
    failing.failWith = test.error;
    sim.SimProcs().DefineProgram(App, failing);
    sim.SimBoxes().ClearLog();
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    // The icon, added before the launch, is gone before the reason is shown.
    sim.SimBoxes().AnswerNextBox(IDOK, [&] { EXPECT_EQ(nullptr, Icon()); });
    EXPECT_FALSE(Start(App));
    ASSERT_EQ(1u, Boxes().size());
    EXPECT_EQ(test.text, Boxes()[0].text);
    EXPECT_EQ(static_cast<std::int32_t>(test.error), form->Target().LaunchError());
    EXPECT_EQ(nullptr, Icon());
  }
}

TEST_F(OmbrixMainTest, AProgramThatNeedsAdministratorRightsOffersToRestartOmbrixElevated) {
  const std::string question = std::string(App) +
                               "\r\nneeds administrator rights.\r\n\r\nTo keep it in the tray, Ombrix must run with "
                               "administrator rights too.\r\nStart Ombrix again as administrator for it?";
  struct Case {
    const char* name;
    int answer;
    bool consent;
    bool restarted;  // the elevated Ombrix was started (and this one ends all the same)
  };
  const Case cases[] = {
      {"yes", IDYES, true, true},
      {"no", IDNO, true, false},
      {"consent declined", IDYES, false, false},
  };
  sim::SimProgram elevated = Program({"App"});
  elevated.requiresElevation = true;
  sim.SimProcs().DefineProgram(App, elevated);
  sim.SimProcs().SetOwnStartupInfo(StartupInfo{StartupInfoSize, STARTF_USESHOWWINDOW, SW_SHOWMAXIMIZED});
  sim.Files().CreateDirectoryA("C:\\Work");
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    ASSERT_TRUE(sim.Files().SetCurrentDirectoryA("C:\\Work"));
    sim.SimBoxes().ClearLog();
    sim.SimTray().ClearLog();
    sim.SimTray().AnswerConsent(test.consent);
    sim.SimBoxes().AnswerNextBox(test.answer);
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    EXPECT_FALSE(Start(std::string(App) + " \"two words\"  /x"));
    ASSERT_EQ(1u, Boxes().size());
    EXPECT_EQ(question, Boxes()[0].text);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND), Boxes()[0].type);
    const auto& calls = sim.SimTray().ExecuteCalls();
    ASSERT_EQ(test.answer == IDYES ? 1u : 0u, calls.size());
    if (!calls.empty()) {
      // The same arguments as they stood, the folder Ombrix started in (the launch made the
      // target's current), and the show command it was given.
      EXPECT_EQ("runas", calls[0].verb);
      EXPECT_EQ(OmbrixExe, calls[0].file);
      EXPECT_EQ(std::string(App) + " \"two words\"  /x", calls[0].parameters);
      EXPECT_EQ("C:\\Work", calls[0].folder);
      EXPECT_EQ(SW_SHOWMAXIMIZED, calls[0].showCommand);
    }
    EXPECT_EQ(nullptr, Icon());
  }
  // Started again elevated, Ombrix starts the program and keeps it; elevated with another
  // account's password, it says once where its settings go.
  sim.RunElevated();
  for (const bool anotherAccount : {false, true}) {
    sim.SimProcs().SetAnotherAccount(anotherAccount);
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    sim.SimBoxes().ClearLog();
    ASSERT_TRUE(Start(App));
    ASSERT_EQ(anotherAccount ? 1u : 0u, Boxes().size());
    if (anotherAccount) {
      EXPECT_EQ(
          "Ombrix runs as administrator with another account than the one signed in to this desktop.\r\n"
          "The settings it saves go to that account, not to yours.",
          Boxes()[0].text);
    }
  }
}

TEST_F(OmbrixMainTest, AnElevatedOmbrixHearsTheShellAtNormalRights) {
  // Explorer runs at normal rights: an elevated program gets its clicks and its new-taskbar
  // broadcast only for the messages it let through.
  sim.RunElevated();
  form = std::make_unique<TVorel_Ombrix>(sim, host);
  StartApp();
  ClickIcon(sim::SimShell::Click::kDouble);
  EXPECT_FALSE(Visible(Main()));
  sim.SimTray().RestartShell();
  sim.Messages().ProcessMessages();
  EXPECT_NE(nullptr, Icon());
  // A message it did not let through is dropped.
  EXPECT_FALSE(sim.SimUser().PostFromNormalRights(form->Tray().Icon().WindowHandle(), WM_USER + 7, 0, 0));
}

TEST_F(OmbrixMainTest, UnexpectedStartupErrorIsShownAndEnds) {
  // A shortcut to a program in a folder that does not exist: the folder cannot be made
  // current, and nothing is started.
  TShellLinkWrapper link(sim);
  link.SetShellFolder(TShellFolder::sfNone);
  link.SetFileName("C:\\Docs\\Gone.lnk");
  link.SetTarget("D:\\Gone\\app.exe");
  link.WriteLink();

  EXPECT_FALSE(Start("C:\\Docs\\Gone.lnk"));
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_NE(std::string::npos, Boxes()[0].text.find("D:\\Gone\\")) << Boxes()[0].text;
  EXPECT_EQ(TVorel_Ombrix::ApplicationTitleText, Boxes()[0].caption);
  EXPECT_TRUE(sim.SimProcs().Launches().empty());
  EXPECT_EQ(nullptr, Icon());
}

TEST_F(OmbrixMainTest, StoredSettingsReachLaunchAndDiscovery) {
  TAppSettings settings = Settings();
  settings.ShowState = 3;
  settings.NbWindows = "2";
  settings.MainHandle = "2";
  settings.TrayDblClick = 0;
  Store(settings);
  StartApp({"One", "Two", "Three", "Four"});

  EXPECT_EQ(SW_SHOWMAXIMIZED, sim.SimProcs().Launches().back().startup.showWindow);
  // At most one more window than configured is taken.
  EXPECT_EQ(3, form->Target().WindowCount());
  EXPECT_EQ("Two", Window(Main()).caption);
  EXPECT_EQ("Two", form->Target().Caption());
  EXPECT_EQ("Two", Icon()->tip);
  EXPECT_TRUE(form->Tray().Icon().OnClick != nullptr);
  EXPECT_TRUE(form->Tray().Icon().OnDblClick == nullptr);
}

TEST_F(OmbrixMainTest, EndOfStartupEnablesTheMenuAndTheWatchTimer) {
  sim.SimProcs().DefineProgram(App, Program({"App"}));
  EXPECT_TRUE(form->Watch().Running());
  EXPECT_EQ(100u, form->Watch().Interval());
  ASSERT_TRUE(Start(App));
  EXPECT_TRUE(form->Watch().Running());
  EXPECT_EQ(500u, form->Watch().Interval());
  EXPECT_EQ(sim.Clock().Now(), form->Target().FoundAt());
  for (TMenuItem* item : {&form->Menu().itmShowForm, &form->Menu().itmHideForm, &form->Menu().itmProgramInformation,
                          &form->Menu().itmConfigProgram, &form->Menu().itmAppPopup, &form->Menu().itmAboutOmbrix}) {
    EXPECT_TRUE(item->Enabled) << item->Name;
  }
  EXPECT_FALSE(form->Menu().AnyDialogOpen());
}

TEST_F(OmbrixMainTest, RetryQuestionYesLooksAgain) {
  sim::SimProgram late = Program({"Late"});
  late.windows[0].appearAfter = 4000;  // beyond the three seconds of the first search
  sim.SimProcs().DefineProgram(App, late);
  sim.SimBoxes().AnswerNextBox(IDYES);

  ASSERT_TRUE(Start(App));
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_EQ(RetryQuestion, Boxes()[0].text);
  EXPECT_EQ("Confirmation", Boxes()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_YESNOCANCEL), Boxes()[0].type & MB_TYPEMASK);
  EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), Boxes()[0].type & MB_ICONMASK);
  EXPECT_EQ("Late", form->Target().Caption());
  EXPECT_EQ(1u, sim.SimProcs().Launches().size());
}

TEST_F(OmbrixMainTest, RetryQuestionNoConfiguresThenFindsTheWindowWithTheNewSettings) {
  TAppSettings settings = Settings();
  settings.MinimizeType = false;  // by name
  settings.WindowCaption = "Wrong name";
  Store(settings);
  sim.SimProcs().DefineProgram(App, Program({"Real Name"}));
  sim.SimBoxes().AnswerNextBox(IDNO);
  bool configOpenMeanwhile = false;
  host.OnNextShow([&](SimFormUser& user) {
    configOpenMeanwhile = form->Menu().ConfigurationOpen();
    EXPECT_EQ(App, user.TextOf("valueFilename"));
    ASSERT_TRUE(user.Type("ebxWindowName", "real name"));
    ASSERT_TRUE(user.Click("btnOk"));
  });

  ASSERT_TRUE(Start(App));
  EXPECT_TRUE(configOpenMeanwhile);
  EXPECT_FALSE(form->Menu().ConfigurationOpen());
  EXPECT_EQ(1u, host.ShownForms().size());
  EXPECT_EQ(1u, sim.SimProcs().Launches().size());
  EXPECT_EQ("real name", form->Target().Settings().WindowCaption);
  EXPECT_EQ("Real Name", form->Target().Caption());
  EXPECT_NE(nullptr, Main());
}

TEST_F(OmbrixMainTest, RetryQuestionCancelEndsAndLeavesTheTargetRunning) {
  sim.SimProcs().DefineProgram(App, Program({}));
  sim.SimBoxes().AnswerNextBox(IDCANCEL);
  EXPECT_FALSE(Start(App));
  EXPECT_EQ(1u, Boxes().size());
  EXPECT_TRUE(TargetRunning());
  // The icon shown meanwhile goes at once: nothing is left for it to bring back.
  EXPECT_EQ(0, sim.SimTray().IconCount());
}

TEST_F(OmbrixMainTest, MenuDuringTheSearchOffersOnlyWhatNeedsNoTarget) {
  sim.SimProcs().DefineProgram(App, Program({}));
  sim.SimBoxes().AnswerNextBox(IDCANCEL, [&] {
    sim.SimUser().DismissNextMenu();
    ClickIcon(sim::SimShell::Click::kRight);
  });
  EXPECT_FALSE(Start(App));
  ASSERT_EQ(1u, sim.SimUser().Menus().size());
  const std::vector<MenuEntry>& items = sim.SimUser().Menus()[0].items;
  ASSERT_EQ(12u, items.size());
  const bool enabled[] = {false, false, false, false, false, true, true, false, true, true, true, true};
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].separator) continue;
    EXPECT_EQ(enabled[i], items[i].enabled) << items[i].caption;
  }
}

// A target that goes to the tray starts hidden once its icon is there, where it used to
// start minimized and flash on the screen until the timer hid it; a program that shows
// itself anyway is hidden as soon as it is found. Without the icon it starts minimized and
// stays in view. The first show brings a window up normal.
TEST_F(OmbrixMainTest, AStartIntoTheTrayHidesTheTargetAsSoonAsItIsFound) {
  const StartupInfo noShowCommand{StartupInfoSize, 0, 0};
  const StartupInfo runMinimized{StartupInfoSize, STARTF_USESHOWWINDOW, SW_SHOWMINNOACTIVE};
  struct Case {
    const char* name;
    StartupInfo own;  // how Ombrix itself was started
    std::int32_t showState;
    bool noTrayIcon;
    bool iconRefused;  // no taskbar yet
    bool showsItself;  // the program ignores its start command
    WORD launchedWith;
    bool hiddenWhenFound;
  };
  const Case cases[] = {
      {"no show command of its own", noShowCommand, 0, false, false, false, SW_HIDE, true},
      {"a shortcut set to run minimized", runMinimized, 0, false, false, false, SW_HIDE, true},
      {"Minimized (hidden)", StartupInfo{StartupInfoSize, STARTF_USESHOWWINDOW, SW_SHOWNORMAL}, 2, false, false, false,
       SW_HIDE, true},
      {"a program that shows itself", noShowCommand, 0, false, false, true, SW_HIDE, true},
      {"no icon at all", noShowCommand, 0, true, false, false, SW_HIDE, true},
      {"the taskbar refuses the icon", noShowCommand, 0, false, true, false, SW_SHOWMINIMIZED, false},
      {"Normal (shown)", noShowCommand, 1, false, false, false, SW_SHOWNORMAL, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    TAppSettings settings = Settings();
    settings.ShowState = test.showState;
    settings.TrayNoTask = !test.noTrayIcon;
    settings.NoTrayIcon = test.noTrayIcon;
    Store(settings);
    sim.SimProcs().SetOwnStartupInfo(test.own);
    sim.SimTray().RefuseNotifyIcons(test.iconRefused);
    sim::SimProgram program = Program({"App"});
    program.ignoresShowCommand = test.showsItself;
    sim.SimProcs().DefineProgram(App, program);
    form = std::make_unique<TVorel_Ombrix>(sim, host);
    ASSERT_TRUE(Start(App));
    EXPECT_EQ(test.launchedWith, sim.SimProcs().Launches().back().startup.showWindow);
    // Right after start-up, before any tick of the timer.
    EXPECT_EQ(test.hiddenWhenFound, !Visible(Main()));
    EXPECT_EQ(test.hiddenWhenFound, form->Visibility().Hidden(1));
    EXPECT_EQ(!test.noTrayIcon && !test.iconRefused, Icon() != nullptr);
    if (!test.hiddenWhenFound) continue;
    form->TrayIconDblClick();
    EXPECT_TRUE(Visible(Main()));
    EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), Window(Main()).showCmd);
    // From then on, as it was: maximized stays maximized.
    sim.Windows().ShowWindow(Main(), SW_SHOWMAXIMIZED);
    form->TrayIconDblClick();
    form->TrayIconDblClick();
    EXPECT_EQ(static_cast<UINT>(SW_SHOWMAXIMIZED), Window(Main()).showCmd);
  }
}

TEST_F(OmbrixMainTest, CloseChosenDuringTheSearchEndsStartup) {
  sim.SimProcs().DefineProgram(App, Program({}));
  // The user closes Ombrix from the tray while the question is open, then answers Yes.
  sim.SimBoxes().AnswerNextBox(IDYES, [&] { ChooseFromTray("&Close"); });
  EXPECT_FALSE(Start(App));
  EXPECT_EQ(1, closedCount);
  EXPECT_EQ(1u, Boxes().size());  // no second search, no second question
  EXPECT_EQ(nullptr, Icon());
  EXPECT_FALSE(form->Watch().Running());
  EXPECT_FALSE(form->Menu().itmShowForm.Enabled);
  EXPECT_TRUE(TargetRunning());
}

// The shortcut OmbrixHub puts into the Startup folder runs at logon, when the taskbar may not
// be there yet: the program, started minimized, waits in view until its icon can be added.
TEST_F(OmbrixMainTest, AStartupShortcutBeforeTheTaskbarHidesItsProgramOnlyOnceTheIconIsThere) {
  constexpr char Startup[] = "C:\\Users\\Ann\\Startup";
  sim.SimFiles().MakeDirectories(Startup);
  sim.SimTray().SetStartupFolder(Startup);
  {
    TfrmMain hub(sim, host);
    host.OnNextShow([&](SimFormUser& user) {
      user.Type("ebxDescription", "Anything");
      user.Type("ebxFilename", App);
      user.Select("cbLocation", 7);
      EXPECT_TRUE(user.Click("btnCreateShortcut"));
      user.Click("btnExit");
    });
    host.ShowModal(hub, nullptr);
  }
  std::string bytes, error;
  ASSERT_TRUE(sim.Files().ReadFileBytes(std::string(Startup) + "\\app.lnk", bytes));
  const auto link = sim::DecodeLnk(bytes, error);
  ASSERT_TRUE(link) << error;

  TAppSettings settings = Settings();
  settings.ShowState = 2;  // minimized
  Store(settings);
  sim.SimProcs().DefineProgram(App, Program({"App"}));
  sim.SimTray().RefuseNotifyIcons(true);
  ASSERT_TRUE(form->FormCreate("\"" + link->targetPath + "\" " + link->arguments));
  sim.SimMessages().RunFor(4000);
  EXPECT_EQ(nullptr, Icon());
  EXPECT_TRUE(Visible(Main())) << "hidden before its icon exists";
  sim.SimTray().RefuseNotifyIcons(false);
  sim.SimMessages().RunFor(3500);
  EXPECT_NE(nullptr, Icon());
  EXPECT_FALSE(Visible(Main())) << "still in view once the icon is there";
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace testing_main
}  // namespace ombrix
