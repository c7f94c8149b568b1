// Each program's help over the simulated desktop. Every help context a program can ask the
// viewer for has a topic in that program's help project: the contexts are gathered from the
// program itself, as it runs (the forms it shows, F1 on each of their controls, the file
// dialogs they open, its tray menu), never from a list kept here. F1 and Help reach the
// viewer with the file beside the program, the right command and the context; a help file
// that is missing, or that the viewer cannot show, is reported with its name.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "center/ControlCenter.h"
#include "config/Configure.h"
#include "controls/sim/SimFormHost.h"
#include "platform/HelpFile.h"
#include "runtime/ProgInfo.h"
#include "tests/unit/OmbrixMainTest.h"

namespace ombrix {
namespace {

using sim::SimFormUser;

// The contexts a help project maps, each with its topic, as the help build reads the project:
// one "number name topic" a line.
std::map<int, std::string> HelpProjectMap(const std::string& program) {
  const std::string path = std::string(OMBRIX_HELP_CONTEXTS_DIR) + "/" + program + ".contexts";
  std::ifstream file(path);
  EXPECT_TRUE(file.good()) << path;
  std::map<int, std::string> map;
  int context = 0;
  std::string name;
  std::string topic;
  while (file >> context >> name >> topic) map[context] = topic;
  EXPECT_TRUE(file.eof()) << path << " ends in a line that is not \"number name topic\"";
  return map;
}

// The contexts among `used` that the project gives no topic (or a topic whose page is not
// in the project's folders).
std::set<int> WithoutTopic(const std::set<int>& used, const std::string& program) {
  const std::map<int, std::string> map = HelpProjectMap(program);
  std::set<int> missing;
  for (int context : used) {
    const auto found = map.find(context);
    const bool hasPage = found != map.end() && !found->second.empty() &&
                         (std::ifstream(std::string(OMBRIX_HELP_DIR) + "/" + program + "/" + found->second).good() ||
                          std::ifstream(std::string(OMBRIX_HELP_DIR) + "/shared/" + found->second).good());
    if (!hasPage) missing.insert(context);
  }
  return missing;
}

// What a program asks of the help viewer and declares, gathered while it runs.
struct HelpUse {
  std::set<int> contexts;

  // The contexts the form's declarations give F1: each control's own, else its containers',
  // else the form's.
  void Declared(const TForm& form) {
    contexts.insert(form.HelpContext);
    for (const TControl* control : form.Controls()) contexts.insert(form.HelpContextOf(control));
  }
  void Requested(const sim::SimDialogs& dialogs) {
    for (const OpenFileRequest& request : dialogs.OpenDialogs()) contexts.insert(request.helpContext);
    for (const OpenFileRequest& request : dialogs.SaveDialogs()) contexts.insert(request.helpContext);
  }
  std::set<int> Used() const {
    std::set<int> used = contexts;
    used.erase(0);
    return used;
  }
};

// F1 on every control the user can reach, on every page of every page control, and on the
// form with no control focused. Each call must open `helpFile` at a context, owned by the
// form; the contexts asked for are added to `use`.
void PressF1Everywhere(SimFormUser& user, sim::SimPlatform& sim, const std::string& helpFile, HelpUse& use) {
  const size_t before = sim.SimTray().HelpCalls().size();
  TForm& form = user.Form();
  use.Declared(form);
  form.SetActiveControl(nullptr);
  user.PressF1();
  std::vector<std::pair<std::string, int>> pages;
  for (const TControl* control : form.Controls()) {
    if (control->Kind() != TControlKind::kPageControl) continue;
    const int count = static_cast<int>(form.ChildrenOf(control).size());
    for (int index = 0; index < count; ++index) pages.emplace_back(control->Name(), index);
  }
  pages.emplace_back("", 0);  // the form as it is, for forms without pages
  // Every page together with every other, so that pages inside pages are reached too.
  for (const auto& outer : pages) {
    for (const auto& inner : pages) {
      if (!outer.first.empty()) user.SwitchPage(outer.first, outer.second);
      if (!inner.first.empty()) user.SwitchPage(inner.first, inner.second);
      for (const TControl* control : form.Controls()) {
        if (!control->Focusable() || !control->Usable() || !user.Focus(control->Name())) continue;
        user.PressF1();
      }
    }
  }
  const auto& calls = sim.SimTray().HelpCalls();
  EXPECT_LT(before, calls.size()) << form.ClassName() << ": F1 asked the viewer for nothing";
  for (size_t i = before; i < calls.size(); ++i) {
    EXPECT_EQ(helpFile, calls[i].helpFile);
    EXPECT_EQ(HH_HELP_CONTEXT, calls[i].command);
    EXPECT_EQ(form.Handle(), calls[i].caller) << "the viewer is owned by the form F1 was pressed in";
    use.contexts.insert(static_cast<int>(calls[i].data));
  }
}

using testing_main::OmbrixMainTest;

TEST_F(OmbrixMainTest, EveryHelpContextOfOmbrixHasATopicInItsHelpFile) {
  sim.Files().WriteFileBytes(testing_main::HelpFile, "ITSF");
  StartApp();
  HelpUse use;
  use.contexts.insert(form->Menu().mnuTray.HelpContext);
  for (int i = 0; i < form->Menu().mnuTray.Count(); ++i) use.contexts.insert(form->Menu().mnuTray.Item(i).HelpContext);

  const auto explore = [&](SimFormUser& user) {
    PressF1Everywhere(user, sim, testing_main::HelpFile, use);
    user.Escape();
  };
  host.OnNextShow([&](SimFormUser& user) {
    ASSERT_TRUE(user.SwitchPage("pcConfig", 1));
    sim.SimBoxes().AnswerNextOpenDialog(std::nullopt);
    ASSERT_TRUE(user.Click("btnCustom"));
    explore(user);
  });
  ChooseFromTray("&Configure");
  host.OnNextShow(explore);
  ChooseFromTray("Program &information");
  host.OnNextShow(explore);
  ChooseFromTray("A&bout Ombrix...");
  use.Requested(sim.SimBoxes());

  const std::set<int> used = use.Used();
  for (int shown :
       {TfrmConfiguration::HelpContextId, TfrmProgramInfo::HelpContextId, TAboutVorelOmbrix::HelpContextId}) {
    EXPECT_EQ(1u, used.count(shown)) << "context " << shown << " was never asked for";
  }
  EXPECT_EQ(std::set<int>{}, WithoutTopic(used, "Ombrix")) << "contexts of Ombrix without a topic in Ombrix.hhp";
  EXPECT_TRUE(Boxes().empty());
}

TEST(ControlCenterHelp, EveryHelpContextOfOmbrixHubHasATopicInItsHelpFile) {
  sim::SimPlatform sim;
  const std::string folder = "C:\\Program Files\\Ombrix\\";
  const std::string helpFile = folder + "OmbrixHub.chm";
  sim.SimFiles().MakeDirectories("C:\\Program Files\\Ombrix");
  sim.SimFiles().SetModuleFileName(folder + "OmbrixHub.exe");
  sim.Files().WriteFileBytes(helpFile, "ITSF");
  // A stored entry and a file type with a command, so that every page shows all it has. The
  // type is machine-wide, registered as Windows registers it: by an administrator.
  sim.Files().WriteFileBytes(folder + "Ombrix.ini", "[AppSettings]\r\nFilename1=C:\\Tools\\app.exe\r\n");
  sim.SimReg().SetElevated(true);
  for (const auto& [key, value] :
       std::map<std::string, std::string>{{".txt", "txtfile"}, {"txtfile\\Shell\\Open\\Command", "notepad.exe %1"}}) {
    HKEY handle = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, sim.Registry().RegCreateKeyExA(HKEY_CLASSES_ROOT, key, KEY_ALL_ACCESS, handle, nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              sim.Registry().RegSetValueExA(handle, "", REG_SZ,
                                            std::vector<BYTE>(value.c_str(), value.c_str() + value.size() + 1)));
    sim.Registry().RegCloseKey(handle);
  }
  sim.SimReg().SetElevated(false);

  sim::SimFormHost host(sim, TfrmMain::HostOptions(sim));
  TfrmMain form(sim, host);
  HelpUse use;
  host.OnNextShow([&](SimFormUser& user) {
    ASSERT_TRUE(user.SwitchPage("pcControlCenter", 0));
    sim.SimBoxes().AnswerNextOpenDialog(std::nullopt);
    ASSERT_TRUE(user.Click("btnBrowse"));
    ASSERT_TRUE(user.SwitchPage("pcControlCenter", 2));
    ASSERT_TRUE(user.Select("cbSettingsList", 0));
    ASSERT_TRUE(user.SwitchPage("pcConfig", 1));
    sim.SimBoxes().AnswerNextOpenDialog(std::nullopt);
    ASSERT_TRUE(user.Click("btnCustom"));
    sim.SimBoxes().AnswerNextSaveDialog(std::nullopt);
    ASSERT_TRUE(user.Click("btnExport"));
    sim.SimBoxes().AnswerNextOpenDialog(std::nullopt);
    ASSERT_TRUE(user.Click("btnImport"));
    // The file-type list fills behind the window: its page is looked at once it is whole.
    sim.SimMessages().RunFor(2000);
    ASSERT_TRUE(form.ContextMenuPage.FileTypeListComplete());
    ASSERT_TRUE(user.SwitchPage("pcControlCenter", 1));
    ASSERT_TRUE(user.ClickListItem("lbAssExt", 0));
    PressF1Everywhere(user, sim, helpFile, use);
    host.OnNextShow([&](SimFormUser& about) {
      PressF1Everywhere(about, sim, helpFile, use);
      about.Escape();
    });
    ASSERT_TRUE(user.Click("btnAbout"));
    user.Click("btnExit");
  });
  host.ShowModal(form, nullptr);
  use.Requested(sim.SimBoxes());

  const std::set<int> used = use.Used();
  for (int shown : {TfrmMain::HelpContextId, TStoredSettingsPage::HelpContextId, TAboutVorelOmbrix::HelpContextId,
                    TSettingsPages::IconDialogHelpContext}) {
    EXPECT_EQ(1u, used.count(shown)) << "context " << shown << " was never asked for";
  }
  EXPECT_EQ(std::set<int>{}, WithoutTopic(used, "OmbrixHub"))
      << "contexts of OmbrixHub without a topic in OmbrixHub.hhp";
}

// Help from the tray menu and from the configuration dialog's button opens the contents;
// a missing file, a file marked as downloaded from the Internet (which the viewer would show
// blank) and a viewer that shows nothing are reported, naming the file.
TEST_F(OmbrixMainTest, HelpOpensTheContentsOrSaysWhyNot) {
  struct Case {
    const char* name;
    bool fileThere;
    const char* zoneIdentifier;  // the file's Zone.Identifier stream; nullptr: none
    bool viewerShows;
    std::string note;  // empty: none
  };
  const std::string file = testing_main::HelpFile;
  const std::string blocked = MsgHelpFileBlocked + file + MsgHelpFileBlockedAdvice;
  const Case cases[] = {
      {"opened", true, nullptr, true, ""},
      {"file missing", false, nullptr, true, MsgHelpFileMissing + file},
      {"viewer shows nothing", true, nullptr, false, MsgHelpFileNotShown + file},
      {"downloaded from the Internet", true, "[ZoneTransfer]\r\nZoneId=3\r\n", true, blocked},
      {"from a restricted site", true, "[ZoneTransfer]\r\nZoneId=4\r\n", true, blocked},
      {"from the local intranet", true, "[ZoneTransfer]\r\nZoneId=1\r\n", true, ""},
  };
  StartApp();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim.SimTray().ClearLog();
    sim.SimBoxes().ClearLog();
    const std::string stream = file + ":Zone.Identifier";
    if (c.fileThere) {
      sim.Files().WriteFileBytes(file, "ITSF");
    } else {
      sim.Files().DeleteFileA(file);
    }
    if (c.zoneIdentifier) {
      sim.Files().WriteFileBytes(stream, c.zoneIdentifier);
    } else {
      sim.Files().DeleteFileA(stream);
    }
    const bool handedOn = c.fileThere && (c.note.empty() || !c.viewerShows);
    for (int from = 0; from < 2; ++from) {
      if (!c.viewerShows) sim.SimTray().AnswerNextHtmlHelp(nullptr);
      if (from == 0) {
        ChooseFromTray("&Help");
      } else {
        host.OnNextShow([](SimFormUser& user) {
          user.Click("btnHelp");
          user.Escape();
        });
        ChooseFromTray("&Configure");
      }
    }
    const auto& calls = sim.SimTray().HelpCalls();
    ASSERT_EQ(handedOn ? 2u : 0u, calls.size()) << "a missing or marked file is not handed to the viewer";
    for (const sim::HtmlHelpCall& call : calls) {
      EXPECT_EQ(testing_main::HelpFile, call.helpFile);
      EXPECT_EQ(HH_DISPLAY_TOC, call.command);
      EXPECT_EQ(0u, call.data);
    }
    const auto& boxes = Boxes();
    ASSERT_EQ(c.note.empty() ? 0u : 2u, boxes.size());
    for (const sim::ShownMessageBox& box : boxes) {
      EXPECT_EQ(c.note, box.text);
      EXPECT_EQ(TVorel_Ombrix::ApplicationTitleText, box.caption);
      // Ombrix has no window of its own: the note comes to the front, owned by the desktop.
      EXPECT_EQ(sim.Windows().GetDesktopWindow(), box.owner);
      EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING | MB_SETFOREGROUND), box.type);
    }
  }
}

}  // namespace
}  // namespace ombrix
