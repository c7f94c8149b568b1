// The Explorer command page over the simulated desktop: which file types it lists, what it
// writes and deletes under HKEY_CLASSES_ROOT, and what it tells the user when the registry
// refuses.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "center/ContextMenuPage.h"
#include "controls/sim/SimFormHost.h"

namespace ombrix {
namespace {

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

// Every key below HKEY_CLASSES_ROOT with its default value ("-" when it has none).
using Tree = std::map<std::string, std::string>;

class ContextMenuPageTest : public ::testing::Test {
 protected:
  ContextMenuPageTest() : host(platform, FormHostOptions{Title, {}}) {
    // The page writes through HKEY_CLASSES_ROOT, into the machine-wide part: only an
    // administrator with his full rights may.
    platform.SimReg().SetElevated(true);
    registry.RootKey = TRootKey::hkClassesRoot;
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

  void Key(const std::string& path) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              platform.Registry().RegCreateKeyExA(HKEY_CLASSES_ROOT, path, KEY_ALL_ACCESS, key, nullptr));
    platform.Registry().RegCloseKey(key);
  }
  void Set(const std::string& path, const std::string& value) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              platform.Registry().RegCreateKeyExA(HKEY_CLASSES_ROOT, path, KEY_ALL_ACCESS, key, nullptr));
    std::vector<BYTE> data(value.begin(), value.end());
    data.push_back(0);
    platform.Registry().RegSetValueExA(key, "", REG_SZ, data);
    platform.Registry().RegCloseKey(key);
  }
  Tree Snapshot() {
    Tree tree;
    AddBelow(HKEY_CLASSES_ROOT, "", tree);
    return tree;
  }
  void AddBelow(HKEY key, const std::string& path, Tree& tree) {
    std::string name;
    for (DWORD index = 0; platform.Registry().RegEnumKeyExA(key, index, 256, name) == ERROR_SUCCESS; ++index) {
      HKEY sub = nullptr;
      ASSERT_EQ(ERROR_SUCCESS, platform.Registry().RegOpenKeyExA(key, name, KEY_READ, sub));
      const std::string subPath = path.empty() ? name : path + "\\" + name;
      DWORD type = 0, size = 0;
      std::string value = "-";
      if (platform.Registry().RegQueryValueExA(sub, "", &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> data(size, 0);
        platform.Registry().RegQueryValueExA(sub, "", &type, &data, &size);
        value.assign(data.begin(), data.end());
        if (!value.empty() && value.back() == '\0') value.pop_back();
      }
      tree[subPath] = value;
      AddBelow(sub, subPath, tree);
      platform.Registry().RegCloseKey(sub);
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
  const Tree before = Snapshot();
  // A timer ticks while the list fills: its messages are handled, with the list hidden, at
  // least every 15 ms.
  std::vector<unsigned long long> handledAt;
  const UINT_PTR timer = platform.SimMessages().SetTimer(1, [&] {
    if (!form.page.lbAssExt.Visible()) handledAt.push_back(platform.SimTime().Elapsed());
  });
  Run([&](SimFormUser& user) {
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
  ASSERT_GE(handledAt.size(), 2u);
  for (std::size_t i = 1; i < handledAt.size(); ++i) EXPECT_LE(handledAt[i] - handledAt[i - 1], 15u);
  EXPECT_EQ(before, Snapshot()) << "reading creates no key";
  EXPECT_EQ(0, platform.SimReg().OpenHandleCount());
  EXPECT_EQ(TRootKey::hkClassesRoot, registry.RootKey);
}

TEST_F(ContextMenuPageTest, AddAndRemoveWorkUnderTheKeyThatHoldsTheOpenCommand) {
  const std::string txtVerb = "txtfile\\Shell\\Tuckaway";
  const std::string directVerb = ".direct\\Shell\\Tuckaway";
  struct Case {
    const char* what;
    std::vector<std::string> selected;
    std::vector<const char*> buttons;
    Tree added;  // keys added to the registry, with their default values
  };
  const Case cases[] = {
      {"Add on an extension writes under its type",
       {".txt"},
       {"btnAddOX"},
       {{"txtfile\\Shell\\Tuckaway", "-"}, {"txtfile\\Shell\\Tuckaway\\Command", Command}}},
      {"Add twice rewrites the same command, beside the other verbs",
       {".direct"},
       {"btnAddOX", "btnAddOX"},
       {{".direct\\Shell\\Tuckaway", "-"}, {".direct\\Shell\\Tuckaway\\Command", Command}}},
      {"Remove where there is no verb changes nothing", {".txt", ".direct"}, {"btnRemoveOX"}, {}},
      {"three items, two of one type: two verbs",
       {".direct", ".txt", "txtfile"},
       {"btnAddOX"},
       {{".direct\\Shell\\Tuckaway", "-"},
        {".direct\\Shell\\Tuckaway\\Command", Command},
        {"txtfile\\Shell\\Tuckaway", "-"},
        {"txtfile\\Shell\\Tuckaway\\Command", Command}}},
      {"Add then Remove takes the verb away and leaves Shell", {".txt", ".direct"}, {"btnAddOX", "btnRemoveOX"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Tree before = Snapshot();
    Run([&](SimFormUser& user) {
      SelectItems(user, c.selected);
      for (const char* button : c.buttons) EXPECT_TRUE(user.Click(button)) << button;
      // The boxes show the current item: the last one clicked.
      EXPECT_EQ(c.selected.back(), user.TextOf("ebxExtension"));
    });
    Tree expected = before;
    expected.insert(c.added.begin(), c.added.end());
    EXPECT_EQ(expected, Snapshot());
    EXPECT_TRUE(platform.SimBoxes().Boxes().empty());
    // Back to the arrangement for the next case.
    for (const std::string& verb : {txtVerb, directVerb}) {
      registry.Key = verb.substr(0, verb.rfind('\\'));
      registry.DeleteKey("Tuckaway");
    }
  }
}

TEST_F(ContextMenuPageTest, RefusedChangesAreReportedOncePerClickWithTheSystemsWords) {
  struct Case {
    const char* what;
    bool verbsThere;  // the verbs were added before the click
    Op refused;
    const char* button;
    const char* message;  // "" for none
    Tree left;            // keys the refused change leaves behind
  };
  const Case cases[] = {
      {"a refused key creation",
       false,
       Op::Create,
       "btnAddOX",
       "\"Tuckaway\" could not be added to:\r\n\r\n.direct: Access is denied.\r\n.txt (txtfile): Access is denied.",
       {}},
      // The keys could be made, only the value not: they stay, empty.
      {"a refused value",
       false,
       Op::Set,
       "btnAddOX",
       "\"Tuckaway\" could not be added to:\r\n\r\n.direct: Access is denied.\r\n.txt (txtfile): Access is denied.",
       {{".direct\\Shell\\Tuckaway", "-"},
        {".direct\\Shell\\Tuckaway\\Command", "-"},
        {"txtfile\\Shell\\Tuckaway", "-"},
        {"txtfile\\Shell\\Tuckaway\\Command", "-"}}},
      {"a refused delete",
       true,
       Op::DeleteKey,
       "btnRemoveOX",
       "\"Tuckaway\" could not be removed from:\r\n\r\n.direct: Access is denied.\r\n.txt (txtfile): Access is "
       "denied.",
       {}},
      {"nothing to remove is no refusal", false, Op::DeleteKey, "btnRemoveOX", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform.SimBoxes().ClearLog();
    if (c.verbsThere) {
      Set(".direct\\Shell\\Tuckaway\\Command", Command);
      Set("txtfile\\Shell\\Tuckaway\\Command", Command);
    }
    const Tree before = Snapshot();
    Run([&](SimFormUser& user) {
      SelectItems(user, {".direct", ".txt"});
      platform.SimReg().FailAlways(c.refused, ERROR_ACCESS_DENIED);
      EXPECT_TRUE(user.Click(c.button));
      platform.SimReg().ClearFailures();
      EXPECT_EQ(".txt", user.TextOf("ebxExtension"));
    });
    Tree expected = before;
    expected.insert(c.left.begin(), c.left.end());
    EXPECT_EQ(expected, Snapshot()) << "nothing else changed";
    const auto& boxes = platform.SimBoxes().Boxes();
    if (*c.message) {
      ASSERT_EQ(1u, boxes.size());
      EXPECT_EQ(c.message, boxes[0].text);
      EXPECT_EQ(Title, boxes[0].caption);
      EXPECT_EQ(static_cast<UINT>(MB_OK), boxes[0].type);
    } else {
      EXPECT_TRUE(boxes.empty());
    }
    registry.Key = ".direct\\Shell";
    registry.DeleteKey("Tuckaway");
    registry.Key = "txtfile\\Shell";
    registry.DeleteKey("Tuckaway");
  }
}

}  // namespace
}  // namespace ombrix
