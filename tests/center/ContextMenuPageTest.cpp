// The Explorer command page over the simulated desktop: which file types it lists, what it
// writes and deletes under HKEY_CLASSES_ROOT, and what it tells the user when the registry
// refuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "center/ContextMenuPage.h"
#include "center/ControlCenter.h"
#include "controls/sim/SimFormHost.h"
#include "tests/RegistryTree.h"

namespace ombrix {
namespace {

using ombrix::testing::DeleteTree;
using ombrix::testing::KeysBelow;
using sim::SimFormUser;
using Op = sim::SimRegistry::Op;

constexpr char Title[] = "Vorel Ombrix - Control Center";
constexpr char HubFolder[] = "C:\\Program Files\\Vorel Ombrix\\";
constexpr char Command[] = "\"C:\\Program Files\\Vorel Ombrix\\Ombrix.exe\" \"%1\"";

// Time passes as the program looks at the clock, 5 ms each time, as it would while the
// registry is read.
class TickingPlatform : public sim::SimPlatform {
 public:
  class Ticking : public IClock {
   public:
    explicit Ticking(sim::SimClock& clock) : clock_(clock) {}
    TDateTime Now() override {
      clock_.Advance(5);
      return clock_.Now();
    }
    void Sleep(DWORD milliseconds) override { clock_.Sleep(milliseconds); }

   private:
    sim::SimClock& clock_;
  };
  IClock& Clock() override { return ticking_; }

 private:
  Ticking ticking_{SimTime()};
};

// The page as the control center holds it: on a page of the window's page control.
class TPageForm : public TForm {
 public:
  explicit TPageForm(THubContext& context)
      : TForm("TfrmMain", "Vorel Ombrix Control Center", 576, 468), page(*this, tsContextMenu, context) {}

  TPageControl pcControlCenter{*this, "pcControlCenter", nullptr, {8, 28, 560, 432}};
  TTabSheet tsContextMenu{*this, "tsContextMenu", pcControlCenter, " Explorer Context menu "};
  TContextMenuPage page;
};

using Tree = ombrix::testing::KeyTree;

// HKEY_CLASSES_ROOT's two parts.
constexpr char Classes[] = "Software\\Classes";

class ContextMenuPageTest : public ::testing::Test {
 protected:
  ContextMenuPageTest() : host(platform, FormHostOptions{Title, {}}) {
    registry.RootKey = TRootKey::hkClassesRoot;
    // The machine-wide file types, as Windows and installers register them.
    Set(".txt", "txtfile");
    Set("txtfile", "Text Document");
    Set("txtfile\\Shell\\Open\\Command", "notepad.exe %1");
    // A command of its own, whatever its type says; and a second verb with a default verb.
    Set(".direct", "nosuchtype");
    Set(".direct\\Shell", "edit");
    Set(".direct\\Shell\\Open\\Command", "direct.exe \"%1\"");
    Set(".direct\\Shell\\Edit\\Command", "edit.exe %1");
    // Not listed: a type without an open command, one whose command is empty, a key with no
    // type and no command (even with a Shell key at the root), a type key that is missing.
    Set(".orphan", "orphanfile");
    Set("orphanfile", "Orphan");
    Set(".emptycmd", "emptyfile");
    Set("emptyfile\\Shell\\Open\\Command", "");
    Key(".bare");
    Set("Shell\\Open\\Command", "root.exe");
    Set(".lost", "nowhere");
  }

  // Writes a key of the machine-wide part (elevated, as an installer does), or of the user's
  // own with `user`; with no value, the key alone.
  void Key(const std::string& path, const std::string* value = nullptr, bool user = false) {
    platform.SimReg().SetElevated(!user);
    HKEY key = nullptr;
    LONG result = platform.Registry().RegCreateKeyExA(user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                                                      std::string(Classes) + "\\" + path, KEY_ALL_ACCESS, key, nullptr);
    if (result == ERROR_SUCCESS && value) {
      std::vector<BYTE> data(value->begin(), value->end());
      data.push_back(0);
      result = platform.Registry().RegSetValueExA(key, "", REG_SZ, data);
    }
    platform.Registry().RegCloseKey(key);
    platform.SimReg().SetElevated(false);
    ASSERT_EQ(ERROR_SUCCESS, result) << path;
  }
  void Set(const std::string& path, const std::string& value) { Key(path, &value); }
  // A key of a Tree: "-" stands for no default value.
  void Put(const std::string& path, const std::string& value, bool user) {
    Key(path, value == "-" ? nullptr : &value, user);
  }

  // What HKEY_CLASSES_ROOT shows, and what the user's own part holds.
  Tree Snapshot() { return KeysBelow(platform.Registry(), HKEY_CLASSES_ROOT, ""); }
  Tree UserTree() { return KeysBelow(platform.Registry(), HKEY_CURRENT_USER, Classes); }
  // The machine-wide part, every value with its type and bytes.
  Tree MachineBytes() { return KeysBelow(platform.Registry(), HKEY_LOCAL_MACHINE, Classes, true); }
  void ClearUserClasses() {
    for (const auto& [path, value] : UserTree()) {
      if (path.find('\\') == std::string::npos) {
        DeleteTree(platform.Registry(), HKEY_CURRENT_USER, std::string(Classes) + "\\" + path);
      }
    }
  }

  // Fills the list as the window's creation does, then shows the form to `script`.
  void Run(const std::function<void(SimFormUser&)>& script) {
    form.page.FillFileTypeList();
    host.OnNextShow([&](SimFormUser& user) {
      script(user);
      user.CloseBox();
    });
    host.ShowModal(form, nullptr);
  }
  // The three detail boxes.
  std::vector<std::string> Details(SimFormUser& user) {
    return {user.TextOf("ebxExtension"), user.TextOf("ebxType"), user.TextOf("ebxOpenWith")};
  }
  int IndexOf(const std::string& item) {
    const auto& items = form.page.lbAssExt.Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] == item) return static_cast<int>(i);
    }
    ADD_FAILURE() << item << " is not listed";
    return -1;
  }
  void SelectItems(SimFormUser& user, const std::vector<std::string>& items) {
    bool first = true;
    for (const std::string& item : items) {
      EXPECT_TRUE(user.ClickListItem("lbAssExt", IndexOf(item), !first)) << item;
      first = false;
    }
  }

  TickingPlatform platform;
  TRegistryEnhanced registry{platform};
  THubContext context{platform, registry, HubFolder, Title};
  TPageForm form{context};
  sim::SimFormHost host;
};

TEST_F(ContextMenuPageTest, ListsTheKeysWithAnOpenCommandAndShowsWhatAClickedOneStandsFor) {
  // Keys listed nowhere, for a fill of some hundreds of milliseconds.
  for (int i = 0; i < 60; ++i) Set(".more" + std::to_string(i), "nosuchtype");
  const Tree before = Snapshot();
  // The user's input arrives every 5 ms while the list fills: each is handled, with the list
  // hidden, within 15 ms (and the time of the key being read). A timer, which the fill does
  // not ask about, still ticks every 100 ms at least, up to the list's completion.
  std::vector<unsigned long long> waited;
  for (unsigned long long after = 0; after < 100; after += 5) {
    const unsigned long long arrives = platform.SimTime().Elapsed() + after;
    platform.SimMessages().PostAfter(after, [&, arrives] {
      if (!form.page.lbAssExt.Visible()) waited.push_back(platform.SimTime().Elapsed() - arrives);
    });
  }
  std::vector<unsigned long long> ticks;  // while the list fills, then when it is complete
  const UINT_PTR timer = platform.SimMessages().SetTimer(1, [&] {
    if (!form.page.FileTypeListComplete()) ticks.push_back(platform.SimTime().Elapsed());
  });
  Run([&](SimFormUser& user) {
    ticks.push_back(platform.SimTime().Elapsed());
    EXPECT_EQ((std::vector<std::string>{".direct", ".txt", "txtfile"}), form.page.lbAssExt.Items());
    EXPECT_TRUE(user.IsShowing("lbAssExt"));
    EXPECT_EQ(0, user.ItemIndexOf("lbAssExt"));
    EXPECT_EQ(0, form.page.lbAssExt.SelCount());
    EXPECT_EQ((std::vector<std::string>{"", "", ""}), Details(user));
    EXPECT_FALSE(user.IsUsable("btnAddOX"));
    EXPECT_FALSE(user.IsUsable("btnRemoveOX"));

    const std::vector<std::vector<std::string>> shown = {
        {".direct", "nosuchtype", "direct.exe \"%1\""},
        {".txt", "txtfile", "notepad.exe %1"},
        {"txtfile", "Text Document", "notepad.exe %1"},
    };
    for (int i = 2; i >= 0; --i) {
      user.ClickListItem("lbAssExt", i);
      EXPECT_EQ(shown[static_cast<std::size_t>(i)], Details(user));
    }
    EXPECT_TRUE(user.IsUsable("btnAddOX") && user.IsUsable("btnRemoveOX"));
    // A key typed in the list shows the current item too, selected or not.
    user.ClickListItem("lbAssExt", 0, true);  // Ctrl+click: current, no longer selected
    form.page.ebxType.SetText("");
    EXPECT_TRUE(user.PressKey('x'));
    EXPECT_FALSE(form.page.lbAssExt.Selected(0));
    EXPECT_EQ(shown[0], Details(user));
  });
  platform.SimMessages().KillTimer(timer);
  ASSERT_GE(waited.size(), 2u);
  for (unsigned long long delay : waited) EXPECT_LE(delay, 20u);
  ASSERT_GE(ticks.size(), 3u);
  for (std::size_t i = 1; i < ticks.size(); ++i) EXPECT_LE(ticks[i] - ticks[i - 1], 110u);
  EXPECT_EQ(before, Snapshot()) << "reading creates no key";
  EXPECT_EQ(0, platform.SimReg().OpenHandleCount());
  EXPECT_EQ(TRootKey::hkClassesRoot, registry.RootKey);
}

// The control center is on the screen before its Explorer command page has read a single
// file type; the list fills from the message loop in slices, between which the window
// answers its user, and Add and Remove wait for the whole list.
TEST_F(ContextMenuPageTest, TheControlCenterComesUpAtOnceAndItsListFillsBehind) {
  for (int i = 0; i < 20; ++i) Set(".many" + std::to_string(i), "txtfile");
  // The user acts every 10 ms, as input arrives: the fill makes way for it between slices.
  SimFormUser* user = nullptr;
  int looksWhileFilling = 0;
  std::function<void()> look = [&] {
    if (!user || static_cast<TfrmMain&>(user->Form()).ContextMenuPage.FileTypeListComplete()) return;
    ++looksWhileFilling;
    platform.SimMessages().PostAfter(10, look);
    // The other pages are there to be used meanwhile.
    EXPECT_TRUE(user->SwitchPage("pcControlCenter", 2));
    EXPECT_TRUE(user->SwitchPage("pcControlCenter", 1));
    EXPECT_TRUE(user->IsShowing("lblFillingList"));
    EXPECT_FALSE(user->IsShowing("lbAssExt"));
    EXPECT_FALSE(user->Click("btnAddOX"));
    EXPECT_FALSE(user->Click("btnRemoveOX"));
  };
  TfrmMain hub(platform, host);
  TContextMenuPage& page = hub.ContextMenuPage;
  EXPECT_FALSE(page.FileTypeListComplete());
  host.OnNextShow([&](SimFormUser& shownUser) {
    EXPECT_FALSE(page.FileTypeListComplete()) << "shown before the fill";
    EXPECT_TRUE(page.lbAssExt.Items().empty());
    EXPECT_TRUE(shownUser.Type("ebxDescription", "Notes")) << "the first page is usable at once";
    user = &shownUser;
    platform.SimMessages().PostAfter(1, look);
    platform.SimMessages().RunFor(2000);
    user = nullptr;

    EXPECT_TRUE(page.FileTypeListComplete());
    EXPECT_FALSE(hub.tsStoredSettings.CreateWhenShown) << "its windows are made once the list is shown";
    std::vector<std::string> listed = {".direct"};
    for (int i = 0; i < 20; ++i) listed.push_back(".many" + std::to_string(i));
    listed.insert(listed.end(), {".txt", "txtfile"});
    std::vector<std::string> items = page.lbAssExt.Items();
    std::sort(listed.begin(), listed.end());
    std::sort(items.begin(), items.end());
    EXPECT_EQ(listed, items);
    EXPECT_TRUE(shownUser.SwitchPage("pcControlCenter", 1));
    EXPECT_FALSE(shownUser.IsShowing("lblFillingList"));
    const auto many7 = std::find(page.lbAssExt.Items().begin(), page.lbAssExt.Items().end(), ".many7");
    EXPECT_TRUE(shownUser.ClickListItem("lbAssExt", static_cast<int>(many7 - page.lbAssExt.Items().begin())));
    EXPECT_TRUE(shownUser.Click("btnAddOX")) << "Add acts on the complete list";
    EXPECT_EQ(page.VerbCommand(), UserTree()["txtfile\\Shell\\Tuckaway\\Command"]);
    shownUser.CloseBox();
  });
  host.ShowModal(hub, nullptr);
  EXPECT_GE(looksWhileFilling, 3) << "filled in slices, the window handled between them";
  EXPECT_EQ(0, platform.SimMessages().ActiveTimerCount()) << "the fill's timer ends with the fill";
  EXPECT_EQ(0, platform.SimReg().OpenHandleCount());
}

// OmbrixHub runs with a standard user's rights, which may not change the machine-wide file
// types: the verb goes into the user's own part, for an administrator too, and hides nothing
// of the machine's type from HKEY_CLASSES_ROOT.
TEST_F(ContextMenuPageTest, AddAndRemoveWorkPerUserUnderTheKeyThatHoldsTheOpenCommand) {
  const Tree txtVerb = {{"txtfile", "-"},
                        {"txtfile\\Shell", "-"},
                        {"txtfile\\Shell\\Tuckaway", "-"},
                        {"txtfile\\Shell\\Tuckaway\\Command", Command}};
  const Tree directVerb = {{".direct", "-"},
                           {".direct\\Shell", "-"},
                           {".direct\\Shell\\Tuckaway", "-"},
                           {".direct\\Shell\\Tuckaway\\Command", Command}};
  Tree bothVerbs = txtVerb;
  bothVerbs.insert(directVerb.begin(), directVerb.end());
  // A file type of the user's own: its keys are no keys Add made, and stay after Remove.
  const Tree mine = {{".mine", "minefile"},
                     {"minefile", "-"},
                     {"minefile\\Shell", "-"},
                     {"minefile\\Shell\\Open", "-"},
                     {"minefile\\Shell\\Open\\Command", "mine.exe %1"}};
  struct Case {
    const char* what;
    std::vector<std::string> selected;
    std::vector<const char*> buttons;
    Tree added;  // keys added to the user's part, with their default values
  };
  const Case cases[] = {
      {"Add on an extension writes under its type", {".txt"}, {"btnAddOX"}, txtVerb},
      {"Add twice rewrites the same command, beside the other verbs",
       {".direct"},
       {"btnAddOX", "btnAddOX"},
       directVerb},
      {"Remove where there is no verb changes nothing", {".txt", ".direct"}, {"btnRemoveOX"}, {}},
      {"three items, two of one type: two verbs", {".direct", ".txt", "txtfile"}, {"btnAddOX"}, bothVerbs},
      {"Add then Remove leaves the user's part as it was", {".txt", ".direct"}, {"btnAddOX", "btnRemoveOX"}, {}},
      {"a type of the user's own gets the verb among its keys",
       {".mine"},
       {"btnAddOX"},
       {{"minefile\\Shell\\Tuckaway", "-"}, {"minefile\\Shell\\Tuckaway\\Command", Command}}},
      {"and keeps its keys when it goes", {".mine"}, {"btnAddOX", "btnRemoveOX"}, {}},
  };
  const Tree machine = MachineBytes();
  for (bool elevated : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (elevated ? ", elevated" : ", standard user"));
      ClearUserClasses();
      for (const auto& [path, value] : mine) Put(path, value, true);
      const Tree before = Snapshot();
      const Tree userBefore = UserTree();
      platform.SimReg().SetElevated(elevated);
      Run([&](SimFormUser& user) {
        SelectItems(user, c.selected);
        for (const char* button : c.buttons) EXPECT_TRUE(user.Click(button)) << button;
        // The boxes show the current item, as HKEY_CLASSES_ROOT shows it: the last one clicked.
        EXPECT_EQ(c.selected.back(), user.TextOf("ebxExtension"));
        if (c.selected.back() == ".txt") {
          EXPECT_EQ((std::vector<std::string>{".txt", "txtfile", "notepad.exe %1"}), Details(user));
        }
      });
      platform.SimReg().SetElevated(false);
      Tree user = userBefore;
      user.insert(c.added.begin(), c.added.end());
      EXPECT_EQ(user, UserTree());
      EXPECT_EQ(machine, MachineBytes()) << "the machine-wide part is left as it was";
      // Nothing the user's keys hold hides a value of the machine's type.
      Tree shown = before;
      shown.insert(c.added.begin(), c.added.end());
      EXPECT_EQ(shown, Snapshot());
      EXPECT_TRUE(platform.SimBoxes().Boxes().empty());
    }
  }
}

TEST_F(ContextMenuPageTest, RefusedChangesAreReportedOncePerClickWithTheSystemsWords) {
  const Tree verbs = {{".direct\\Shell\\Tuckaway", "-"},
                      {".direct\\Shell\\Tuckaway\\Command", Command},
                      {"txtfile\\Shell\\Tuckaway", "-"},
                      {"txtfile\\Shell\\Tuckaway\\Command", Command}};
  // As Add leaves them in the user's part, with the keys above them.
  Tree userVerbs = verbs;
  userVerbs.insert({{".direct", "-"}, {".direct\\Shell", "-"}, {"txtfile", "-"}, {"txtfile\\Shell", "-"}});
  enum class Verbs { kNone, kUser, kMachine };
  struct Case {
    const char* what;
    Verbs verbs;    // where the verbs are before the click
    bool elevated;  // the user is an administrator with his full rights
    bool injected;  // the registry refuses every call of `refused`
    Op refused;
    const char* button;
    const char* message;  // "" for none
    Tree user;            // the user's part afterwards
    Tree machine;         // the machine's verbs afterwards
  };
  const char* const notAdded =
      "\"Tuckaway\" could not be added to:\r\n\r\n.direct: Access is denied.\r\n.txt (txtfile): Access is denied.";
  const char* const notRemoved =
      "\"Tuckaway\" could not be removed from:\r\n\r\n.direct: Access is denied.\r\n.txt (txtfile): Access is "
      "denied.";
  const Case cases[] = {
      {"a refused key creation", Verbs::kNone, false, true, Op::kCreate, "btnAddOX", notAdded, {}, {}},
      // The keys could be made, only the value not: a verb without a command does nothing,
      // so the keys made for it go again.
      {"a refused value", Verbs::kNone, false, true, Op::kSet, "btnAddOX", notAdded, {}, {}},
      {"a refused value, an elevated user", Verbs::kNone, true, true, Op::kSet, "btnAddOX", notAdded, {}, {}},
      {"a refused delete", Verbs::kUser, false, true, Op::kDeleteKey, "btnRemoveOX", notRemoved, userVerbs, {}},
      {"nothing to remove is no refusal", Verbs::kNone, false, true, Op::kDeleteKey, "btnRemoveOX", "", {}, {}},
      // Written machine-wide by an elevated run or another tool: what HKEY_CLASSES_ROOT shows
      // is deleted through it, which Windows refuses a standard user.
      {"a machine-wide verb, a standard user",
       Verbs::kMachine,
       false,
       false,
       Op::kDeleteKey,
       "btnRemoveOX",
       notRemoved,
       {},
       verbs},
      {"a machine-wide verb, an elevated user",
       Verbs::kMachine,
       true,
       false,
       Op::kDeleteKey,
       "btnRemoveOX",
       "",
       {},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform.SimBoxes().ClearLog();
    ClearUserClasses();
    if (c.verbs == Verbs::kUser) {
      for (const auto& [path, value] : userVerbs) Put(path, value, true);
    } else if (c.verbs == Verbs::kMachine) {
      for (const auto& [path, value] : verbs) Put(path, value, false);
    }
    Tree machine = MachineBytes();
    Run([&](SimFormUser& user) {
      SelectItems(user, {".direct", ".txt"});
      platform.SimReg().SetElevated(c.elevated);
      if (c.injected) platform.SimReg().FailAlways(c.refused, ERROR_ACCESS_DENIED);
      EXPECT_TRUE(user.Click(c.button));
      platform.SimReg().ClearFailures();
      platform.SimReg().SetElevated(false);
      EXPECT_EQ(".txt", user.TextOf("ebxExtension"));
    });
    EXPECT_EQ(c.user, UserTree());
    Tree machineVerbs;
    for (const auto& [path, value] : KeysBelow(platform.Registry(), HKEY_LOCAL_MACHINE, Classes)) {
      if (path.find("Tuckaway") != std::string::npos) machineVerbs[path] = value;
    }
    EXPECT_EQ(c.machine, machineVerbs);
    if (!c.elevated) {
      EXPECT_EQ(machine, MachineBytes()) << "a standard user changes nothing machine-wide";
    }
    const auto& boxes = platform.SimBoxes().Boxes();
    if (*c.message) {
      ASSERT_EQ(1u, boxes.size());
      EXPECT_EQ(c.message, boxes[0].text);
      EXPECT_EQ(Title, boxes[0].caption);
      EXPECT_EQ(static_cast<UINT>(MB_OK), boxes[0].type);
    } else {
      EXPECT_TRUE(boxes.empty());
    }
    // Back to the arrangement for the next case.
    platform.SimReg().SetElevated(true);
    for (const char* shell : {".direct\\Shell", "txtfile\\Shell"}) {
      registry.Key = shell;
      registry.DeleteKey("Tuckaway");
    }
    platform.SimReg().SetElevated(false);
  }
}

}  // namespace
}  // namespace ombrix
