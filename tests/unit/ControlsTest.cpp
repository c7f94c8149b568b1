// The form toolkit over the simulated host: the models' rules, and what a user's actions
// do to a form (which handlers run, in which order, with which result).

#include <gtest/gtest.h>

#include "base/Exception.h"
#include "controls/sim/SimFormHost.h"
#include "tests/forms/SampleForm.h"

namespace ombrix {
namespace {

using sim::SimFormError;
using sim::SimFormHost;
using sim::SimFormUser;
using sim::SimPlatform;
using testing::TfrmSample;
using Log = std::vector<std::string>;

// ---- Models

TEST(UpDownStep, MovesLikeTheCommonControl) {
  struct Case {
    int min, max, position;
    TUDBtnType button;
    bool wrap;
    int expected;
  };
  const TUDBtnType up = TUDBtnType::kNext;
  const TUDBtnType down = TUDBtnType::kPrev;
  const Case cases[] = {
      {0, 4, 2, up, false, 3},
      {0, 4, 4, up, false, 4},
      {0, 4, 0, down, false, 0},
      {0, 0, 0, up, false, 0},
      {0, 0, 0, down, false, 0},
      // Reversed ranges count the other way.
      {0, -1, 0, up, false, -1},
      {0, -1, -1, up, false, -1},
      {5, 1, 3, up, false, 2},
      {5, 1, 5, down, false, 5},
      // Wrapping continues from the other end.
      {0, 4, 4, up, true, 0},
      {0, 4, 0, down, true, 4},
  };
  for (const Case& c : cases) {
    TForm form("TForm", "", 10, 10);
    TUpDown upDown(form, "ud", nullptr, {}, c.min, c.max, c.position);
    upDown.Wrap = c.wrap;
    upDown.Step(c.button);
    EXPECT_EQ(c.expected, upDown.Position()) << c.min << ".." << c.max << " from " << c.position
                                             << (c.button == up ? " up" : " down") << (c.wrap ? " wrapping" : "");
  }
}

// A control declared before its container would be made inside something that does not exist
// yet; a container of another form would put it in a window it does not belong to.
TEST(FormDeclaration, AControlNeedsAContainerOfItsFormMadeBeforeIt) {
  struct TMisordered : TForm {
    TMisordered() : TForm("TMisordered", "", 10, 10) {}
    TLabel early{*this, "early", &box, {}, "in a box not made yet"};
    TGroupBox box{*this, "box", nullptr, {}, "box"};
  };
  EXPECT_THROW(TMisordered(), EProgramError);
  TForm other("TOther", "", 10, 10);
  TGroupBox foreign(other, "foreign", nullptr, {}, "");
  TForm form("TForm", "", 10, 10);
  EXPECT_THROW(TLabel(form, "label", &foreign, {}, ""), EProgramError);
  TGroupBox box(form, "box", nullptr, {}, "");
  TLabel inside(form, "inside", &box, {}, "");
  EXPECT_EQ(std::vector<TControl*>{&inside}, form.ChildrenOf(&box));
}

// Children come in tab order; siblings of equal order keep the order they were declared in,
// and the children of other containers never mix in.
TEST(FormDeclaration, ChildrenComeInTabOrderThenInDeclarationOrder) {
  const struct {
    int orders[4];
    const char* expected;
  } cases[] = {
      {{0, 1, 2, 3}, "abcd"}, {{3, 2, 1, 0}, "dcba"}, {{3, 1, 2, 0}, "dbca"},  {{0, 0, 0, 0}, "abcd"},
      {{1, 1, 0, 1}, "cabd"}, {{2, 1, 2, 1}, "bdac"}, {{5, -1, 5, 0}, "bdac"},
  };
  for (const auto& row : cases) {
    TForm form("TForm", "", 10, 10);
    TGroupBox box(form, "box", nullptr, {}, "");
    TLabel a(form, "a", &box, {}, "");
    TLabel outside(form, "outside", nullptr, {}, "");
    TLabel b(form, "b", &box, {}, "");
    TLabel c(form, "c", &box, {}, "");
    TLabel d(form, "d", &box, {}, "");
    TControl* declared[] = {&a, &b, &c, &d};
    for (int i = 0; i < 4; ++i) declared[i]->TabOrder = row.orders[i];
    outside.TabOrder = 1;
    std::string order;
    for (TControl* child : form.ChildrenOf(&box)) order += child->Name();
    EXPECT_EQ(row.expected, order) << row.orders[0] << "," << row.orders[1] << "," << row.orders[2] << ","
                                   << row.orders[3];
  }
}

TEST(UpDownStep, IncrementStopsAtTheEnd) {
  TForm form("TForm", "", 10, 10);
  TUpDown upDown(form, "ud", nullptr, {}, 0, 10, 8);
  upDown.Increment = 5;
  EXPECT_TRUE(upDown.Step(TUDBtnType::kNext));
  EXPECT_EQ(10, upDown.Position());
  EXPECT_FALSE(upDown.Step(TUDBtnType::kNext));
  upDown.SetPosition(-3);
  EXPECT_EQ(0, upDown.Position()) << "a position from code is kept within the range";
}

// The common control adds the rules' modifiers to each combination they refuse; the model
// does the same and keeps a function key pressed alone as it is.
TEST(HotKeyRules, RefusedCombinationsGetTheRulesModifiers) {
  TForm form("TForm", "", 10, 10);
  THotKey hotKey(form, "hk", nullptr, {});
  hotKey.InvalidCombinations = HKCOMB_NONE | HKCOMB_C | HKCOMB_CA;
  hotKey.InvalidModifiers = HOTKEYF_SHIFT;
  constexpr BYTE S = HOTKEYF_SHIFT, C = HOTKEYF_CONTROL, A = HOTKEYF_ALT;
  struct Case {
    BYTE key, held;
    int expected;
  };
  const Case cases[] = {
      {'N', 0, 'N' | S << 8},
      {'N', C, 'N' | (C | S) << 8},
      {'N', C | A, 'N' | (C | A | S) << 8},
      {'N', A, 'N' | A << 8},
      {'N', S, 'N' | S << 8},
      {'N', C | S, 'N' | (C | S) << 8},
      {VK_F1 + 4, 0, VK_F1 + 4},
      {VK_F24, 0, VK_F24},
      {VK_F1 + 4, C, (VK_F1 + 4) | (C | S) << 8},
      {VK_BACK, C, 0},
      {VK_DELETE, 0, 0},
      {VK_SPACE, A, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, hotKey.Entered(c.key, c.held)) << "key " << int{c.key} << " held " << int{c.held};
  }

  // Function keys kept free of the rules: F2 to F24 with whatever is held, F1 refused.
  hotKey.FunctionKeysFree = true;
  const Case free[] = {
      {VK_F1 + 4, C, (VK_F1 + 4) | C << 8}, {VK_F24, S, VK_F24 | S << 8}, {VK_F1 + 1, 0, VK_F1 + 1}, {VK_F1, C, 0},
      {'N', C, 'N' | (C | S) << 8},
  };
  for (const Case& c : free) {
    EXPECT_EQ(c.expected, hotKey.Entered(c.key, c.held)) << "key " << int{c.key} << " held " << int{c.held};
  }
}

TEST(SortedLists, KeepTheWindowsOrderWhetherFilledOrAdded) {
  SimPlatform platform;
  TForm form("TForm", "", 10, 10);
  TListBox list(form, "lb", nullptr, {});
  TComboBox combo(form, "cb", nullptr, {});
  for (TTextCompare* compare : {&list.Compare, &combo.Compare}) *compare = WindowsSortOrder(platform.Windows());
  list.Sorted = combo.Sorted = true;
  const std::vector<std::string> shuffled = {"txtfile", ".TXT", "Zip", "*", "_x", "9", "apple", "co-op", "coop"};
  // Punctuation before digits before letters, letters without regard to case; a hyphen weighs
  // nothing until everything else is equal, and equal items keep the order they came in.
  const std::vector<std::string> expected = {"*", ".TXT", "_x", "9", "apple", "coop", "co-op", "txtfile", "Zip"};
  list.SetItems(shuffled);
  combo.SetItems(shuffled);
  EXPECT_EQ(expected, list.Items());
  EXPECT_EQ(expected, combo.Items());

  TListBox added(form, "lb2", nullptr, {});
  added.Compare = WindowsSortOrder(platform.Windows());
  added.Sorted = true;
  for (const std::string& item : shuffled) added.Add(item);
  EXPECT_EQ(expected, added.Items());
}

// Items the order counts as equal stay in the order they came, whether the list is filled
// at once or added to one by one, in a list box as in a combo box.
TEST(SortedLists, EqualItemsKeepTheOrderTheyCameIn) {
  TForm form("TForm", "", 10, 10);
  TListBox list(form, "lb", nullptr, {});
  TComboBox combo(form, "cb", nullptr, {});
  TListBox added(form, "lb2", nullptr, {});
  const TTextCompare firstLetter = [](const std::string& left, const std::string& right) { return left[0] - right[0]; };
  list.Compare = combo.Compare = added.Compare = firstLetter;
  list.Sorted = combo.Sorted = added.Sorted = true;
  const std::vector<std::string> items = {"b1", "c1", "a1", "b2", "a2", "c2", "b3", "a3"};
  const std::vector<std::string> expected = {"a1", "a2", "a3", "b1", "b2", "b3", "c1", "c2"};
  list.SetItems(items);
  combo.SetItems(items);
  for (const std::string& item : items) added.Add(item);
  EXPECT_EQ(expected, list.Items());
  EXPECT_EQ(expected, combo.Items());
  EXPECT_EQ(expected, added.Items());
}

// The file-type list's 10,000 and more items come from the registry in order: filling it must
// not cost a search per item (a search took 190 ms of its 2.5 s under wine).
TEST(SortedLists, ItemsThatComeInOrderCostOneComparisonEach) {
  TForm form("TForm", "", 10, 10);
  TListBox list(form, "lb", nullptr, {});
  std::size_t comparisons = 0;
  list.Compare = [&comparisons](const std::string& left, const std::string& right) {
    ++comparisons;
    return left.compare(right);
  };
  list.Sorted = true;
  std::vector<std::string> items;
  for (int i = 0; i < 1000; ++i) items.push_back(std::to_string(10000 + i));
  list.SetItems(items);
  EXPECT_EQ(items, list.Items());
  EXPECT_EQ(items.size() - 1, comparisons);
}

TEST(MultiSelectList, CurrentItemAndSelectionAreSeparate) {
  TForm form("TForm", "", 10, 10);
  TListBox list(form, "lb", nullptr, {}, {"a", "b", "c", "d"});
  list.MultiSelect = true;
  list.SetSelected(1, true);
  list.SetSelected(3, true);
  list.SetItemIndex(2);
  EXPECT_EQ((std::vector<int>{1, 3}), list.SelectedIndexes());
  EXPECT_EQ(2, list.ItemIndex()) << "the current item need not be selected";
  const unsigned items = list.ItemsRevision();
  list.Delete(0);  // everything after it moves up
  EXPECT_EQ((std::vector<int>{0, 2}), list.SelectedIndexes());
  EXPECT_EQ(1, list.ItemIndex());
  EXPECT_NE(items, list.ItemsRevision());
  list.Delete(1);
  EXPECT_EQ(-1, list.ItemIndex()) << "the current item was removed";

  TListBox single(form, "lb1", nullptr, {}, {"a", "b"});
  single.SetSelected(1, true);
  single.SetSelected(0, true);
  EXPECT_EQ((std::vector<int>{0}), single.SelectedIndexes()) << "one selected item without MultiSelect";
  EXPECT_EQ(0, single.ItemIndex());
}

TEST(ListIndexes, OutOfRangeSelections) {
  TForm form("TForm", "", 10, 10);
  TComboBox combo(form, "cb", nullptr, {}, {"a", "b"});
  TListBox list(form, "lb", nullptr, {}, {"a", "b"});
  TRadioGroup group(form, "rg", nullptr, {}, "", {"a", "b"});
  struct Case {
    int requested, combo, group;
  };
  for (const Case& c : {Case{1, 1, 1}, Case{2, -1, 1}, Case{-1, -1, -1}, Case{-7, -1, -1}}) {
    combo.SetItemIndex(c.requested);
    list.SetItemIndex(c.requested);
    group.SetItemIndex(c.requested);
    EXPECT_EQ(c.combo, combo.ItemIndex()) << c.requested;
    EXPECT_EQ(c.combo, list.ItemIndex()) << c.requested;
    EXPECT_EQ(c.group, group.ItemIndex()) << c.requested;
  }
  combo.SetItemIndex(1);
  EXPECT_EQ("b", combo.Text());
  combo.SetItems({"x"});
  EXPECT_EQ("", combo.Text()) << "new items select nothing";
  group.SetItemIndex(1);
  group.SetItems({"x"});
  EXPECT_EQ(0, group.ItemIndex()) << "a radio group keeps the last item that still exists";
}

TEST(RadioButtons, CheckingOneUnchecksItsGroupOnly) {
  TfrmSample form;
  struct Step {
    TRadioButton* radio;
    bool checked;
    std::vector<bool> expected;  // rbFast, rbSafe, rbLeft, rbRight
  };
  const std::vector<Step> steps = {
      {&form.rbSafe, true, {false, true, true, false}},
      {&form.rbRight, true, {false, true, false, true}},
      // Unchecking leaves the others alone, so a group can end up with none checked.
      {&form.rbSafe, false, {false, false, false, true}},
      {&form.rbFast, true, {true, false, false, true}},
  };
  for (const Step& step : steps) {
    step.radio->SetChecked(step.checked);
    const std::vector<bool> states = {form.rbFast.Checked(), form.rbSafe.Checked(), form.rbLeft.Checked(),
                                      form.rbRight.Checked()};
    EXPECT_EQ(step.expected, states) << step.radio->Name() << (step.checked ? " on" : " off");
  }
}

TEST(FormDeclarations, MistakesAreRefused) {
  TForm form("TForm", "", 10, 10);
  TPageControl pages(form, "pc", nullptr, {0, 0, 100, 100});
  TGroupBox group(form, "gb", nullptr, {}, "");
  TLabel label(form, "lbl", nullptr, {}, "");
  EXPECT_THROW(TLabel(form, "lbl", nullptr, {}, ""), EProgramError) << "names are unique";
  EXPECT_THROW(TLabel(form, "x", &pages, {}, ""), EProgramError) << "a page control holds pages only";
  EXPECT_THROW(TLabel(form, "y", &label, {}, ""), EProgramError) << "a label holds nothing";
  TForm other("TOther", "", 10, 10);
  EXPECT_THROW(TLabel(other, "z", &group, {}, ""), EProgramError) << "parents belong to the same form";
}

TEST(FormDeclarations, TabSequenceFollowsContainersAndTheActivePage) {
  TfrmSample form;
  auto names = [&form] {
    Log result;
    for (TControl* control : form.TabSequence()) result.push_back(control->Name());
    return result;
  };
  EXPECT_EQ((Log{"pcSample", "ebxName", "ebxCount", "cbxCount", "valueKey", "rbFast", "rbSafe", "rbLeft", "rbRight",
                 "btnOk", "btnCancel"}),
            names())
      << "btnApply is disabled";
  form.pcSample.SetActivePageIndex(1);
  form.btnOk.TabOrder = 6;  // behind the cancel button
  EXPECT_EQ((Log{"pcSample", "cbShowState", "lbItems", "rgClick", "btnCancel", "btnOk"}), names());
}

TEST(Pictures, AnImageDestroysTheIconItReplaces) {
  SimPlatform platform;
  platform.SimIconFiles().SetIconCount("C:\\Tools\\five.exe", 5);
  {
    TfrmSample form;
    form.ShowIcon(platform.Icons(), "C:\\Tools\\five.exe", 3);
    std::string file;
    int index = -1;
    ASSERT_TRUE(platform.SimIconFiles().Describe(form.imgPreview.Picture.Icon(), file, index));
    EXPECT_EQ(3, index);
    form.ShowIcon(platform.Icons(), "C:\\Tools\\five.exe", 4);
    EXPECT_EQ(1, platform.SimIconFiles().LiveIconCount());
    form.ShowIcon(platform.Icons(), "C:\\Tools\\five.exe", 9);
    EXPECT_TRUE(form.imgPreview.Picture.Empty()) << "no icon at that index";
    EXPECT_EQ(0, platform.SimIconFiles().LiveIconCount());
    form.ShowIcon(platform.Icons(), "C:\\Tools\\five.exe", 0);
  }
  EXPECT_EQ(0, platform.SimIconFiles().LiveIconCount()) << "the form's end destroys its icon";
}

// ---- The simulated host

class SimHostTest : public ::testing::Test {
 protected:
  SimHostTest() : host_(platform_, Options()) {}

  static FormHostOptions Options() {
    FormHostOptions options;
    options.ApplicationTitle = "Ombrix";
    return options;
  }

  // Shows the sample form, lets the script act, and returns the modal result.
  TModalResult Run(const std::function<void(SimFormUser&)>& script) {
    host_.OnNextShow(script);
    return host_.ShowModal(form_, nullptr);
  }

  SimPlatform platform_;
  SimFormHost host_;
  TfrmSample form_;
};

TEST_F(SimHostTest, TypingRunsKeyPressThenChangePerCharacter) {
  Run([&](SimFormUser& user) {
    EXPECT_TRUE(user.Type("ebxName", "ab!c"));
    EXPECT_EQ("abc", user.TextOf("ebxName")) << "the handler swallowed '!'";
    user.Escape();
  });
  EXPECT_EQ((Log{"key a", "change a", "key b", "change ab", "key !", "key c", "change abc", "cancel"}), form_.log);
}

TEST_F(SimHostTest, LeavingABoxRunsItsExitEventOnce) {
  Run([&](SimFormUser& user) {
    user.Type("ebxCount", "12abc");
    EXPECT_EQ("12abc", user.TextOf("ebxCount"));
    EXPECT_EQ("cbxCount", user.Tab()->Name());
    EXPECT_EQ("12", user.TextOf("ebxCount"));
    user.Tab();  // leaving the check box runs nothing
    user.Type("ebxCount", "");
    user.Click("rbSafe");
    EXPECT_EQ("0", user.TextOf("ebxCount"));
    user.Escape();
  });
  EXPECT_EQ((Log{"exit count 12", "exit count 0", "mode rbSafe", "cancel"}), form_.log);
}

TEST_F(SimHostTest, RadioClicksCheckWithinTheirGroup) {
  Run([&](SimFormUser& user) {
    user.Click("rbSafe");
    user.Click("rbRight");
    user.Click("rbRight");
    EXPECT_FALSE(user.IsChecked("rbFast"));
    EXPECT_TRUE(user.IsChecked("rbSafe"));
    EXPECT_FALSE(user.IsChecked("rbLeft"));
    EXPECT_TRUE(user.IsChecked("rbRight"));
    user.SwitchPage("pcSample", 1);
    user.ClickItem("rgClick", 0);
    EXPECT_EQ(0, user.ItemIndexOf("rgClick"));
    EXPECT_FALSE(user.ClickItem("rgClick", 2)) << "no such item";
    user.Escape();
  });
  EXPECT_EQ((Log{"mode rbSafe", "dock rbRight", "dock rbRight", "page 1", "click mode 0", "cancel"}), form_.log);
}

TEST_F(SimHostTest, ListsReportOnlyChangedSelections) {
  Run([&](SimFormUser& user) {
    user.SwitchPage("pcSample", 1);
    EXPECT_TRUE(user.Select("cbShowState", 2));
    EXPECT_TRUE(user.Select("cbShowState", 2));
    EXPECT_FALSE(user.Select("cbShowState", 3)) << "no such item";
    EXPECT_EQ("Minimized (hidden)", user.TextOf("cbShowState"));
    user.Select("lbItems", 1);
    user.DoubleClick("lbItems");
    user.Escape();
  });
  EXPECT_EQ((Log{"page 1", "state Minimized (hidden)", "item 1", "open 1", "cancel"}), form_.log);
}

TEST_F(SimHostTest, CtrlClicksBuildAMultipleSelection) {
  form_.lbItems.MultiSelect = true;
  form_.lbItems.Hint = "Pick items";
  Run([&](SimFormUser& user) {
    user.SwitchPage("pcSample", 1);
    EXPECT_EQ("", user.HintOf("lbItems")) << "hints are off";
    user.Form().ShowHint = true;
    EXPECT_EQ("Pick items", user.HintOf("lbItems"));
    user.ClickListItem("lbItems", 0);
    user.ClickListItem("lbItems", 2, true);
    user.ClickListItem("lbItems", 0, true);  // taken out again, but current
    EXPECT_EQ((std::vector<int>{2}), form_.lbItems.SelectedIndexes());
    EXPECT_EQ(0, user.ItemIndexOf("lbItems"));
    user.ClickListItem("lbItems", 1);  // a plain click selects one item alone
    EXPECT_EQ((std::vector<int>{1}), form_.lbItems.SelectedIndexes());
    user.Escape();
  });
  EXPECT_EQ((Log{"page 1", "item 0", "item 2", "item 0", "item 1", "cancel"}), form_.log);
}

// The lists page holds a page control of its own: its pages show only while the outer page
// does, and the Tab key walks its active page between its tabs and the controls after it.
TEST_F(SimHostTest, APageControlInsideAPageSwitchesItsOwnPages) {
  auto tabOrder = [this] {
    Log names;
    for (TControl* control : form_.TabSequence()) names.push_back(control->Name());
    return names;
  };
  Run([&](SimFormUser& user) {
    EXPECT_FALSE(user.SwitchPage("pcInner", 1)) << "its page is not shown";
    EXPECT_TRUE(user.SwitchPage("pcSample", 3));
    EXPECT_TRUE(user.IsShowing("lbFiles"));
    EXPECT_FALSE(user.IsShowing("cbFruit"));
    EXPECT_TRUE(user.SwitchPage("pcInner", 1));
    EXPECT_EQ("pcInner", user.FocusedName());
    EXPECT_FALSE(user.IsShowing("lbFiles"));
    EXPECT_EQ((Log{"pcSample", "pcInner", "cbFruit", "cbxRipe", "btnAdd", "btnBold", "btnOk", "btnCancel"}),
              tabOrder());
    EXPECT_EQ("cbFruit", user.Tab()->Name());
    // Sorted lists take the new item at its place; the drop-down list keeps its selected item.
    EXPECT_TRUE(user.Click("btnAdd"));
    EXPECT_EQ("pear", user.TextOf("cbFruit"));
    EXPECT_EQ((std::vector<std::string>{"Apple", "Mango", "kiwi", "pear"}), form_.cbFruit.Items()) << "byte order";
    user.SwitchPage("pcSample", 0);
    EXPECT_FALSE(user.IsShowing("cbFruit")) << "the inner page went with the outer one";
    user.Escape();
  });
  EXPECT_EQ((Log{"page 3", "inner 1", "mango at 2 and 1", "page 0", "cancel"}), form_.log);
}

TEST_F(SimHostTest, UpDownStopsAtItsEndsButReportsEveryClick) {
  Run([&](SimFormUser& user) {
    user.SwitchPage("pcSample", 1);
    for (int i = 0; i < 6; ++i) user.ClickUpDown("udNumber", TUDBtnType::kNext);
    EXPECT_EQ("Current number : 4", user.TextOf("lblNumber"));
    user.ClickUpDown("udNumber", TUDBtnType::kPrev);
    user.Escape();
  });
  EXPECT_EQ((Log{"page 1", "up 1", "up 2", "up 3", "up 4", "up 4", "up 4", "down 3", "cancel"}), form_.log);
}

TEST_F(SimHostTest, SwitchingPagesLeavesTheBoxFirstAndHidesTheOtherPage) {
  Run([&](SimFormUser& user) {
    user.Type("ebxCount", "7x");
    EXPECT_TRUE(user.SwitchPage("pcSample", 1));
    EXPECT_EQ("pcSample", user.FocusedName());
    EXPECT_FALSE(user.IsShowing("ebxName"));
    EXPECT_FALSE(user.Click("rbSafe")) << "a control of another page cannot be clicked";
    EXPECT_FALSE(user.Type("ebxName", "x"));
    EXPECT_TRUE(user.IsShowing("lbItems"));
    EXPECT_FALSE(user.SwitchPage("pcSample", 2)) << "a hidden page has no tab";
    EXPECT_FALSE(user.IsShowing("lblHidden"));
    user.SwitchPage("pcSample", 1);  // the page already shown: nothing to report
    user.Escape();
  });
  EXPECT_EQ((Log{"exit count 7", "page 1", "cancel"}), form_.log);
}

TEST_F(SimHostTest, DisabledControlsIgnoreTheUser) {
  Run([&](SimFormUser& user) {
    EXPECT_FALSE(user.Click("btnApply"));
    EXPECT_FALSE(user.PressAlt('a'));
    user.Click("cbxCount");
    EXPECT_FALSE(user.IsUsable("ebxCount"));
    EXPECT_FALSE(user.Type("ebxCount", "9"));
    EXPECT_EQ("3", user.TextOf("ebxCount"));
    form_.gbMode.SetEnabled(false);
    EXPECT_FALSE(user.Click("rbSafe")) << "a disabled group box disables what it holds";
    user.Escape();
  });
  EXPECT_EQ((Log{"count off", "cancel"}), form_.log);
}

TEST_F(SimHostTest, EscAndTheCloseBoxCancel) {
  EXPECT_EQ(mrCancel, Run([](SimFormUser& user) { EXPECT_TRUE(user.Escape()); }));
  EXPECT_EQ(Log{"cancel"}, form_.log);
  form_.log.clear();
  EXPECT_EQ(mrCancel, Run([](SimFormUser& user) { user.CloseBox(); }));
  EXPECT_TRUE(form_.log.empty()) << "the close box does not press the cancel button";
}

TEST_F(SimHostTest, EnterPressesTheFocusedButtonElseTheDefaultOne) {
  EXPECT_EQ(mrCancel, Run([](SimFormUser& user) {
              user.Focus("btnCancel");
              user.Enter();
            }));
  EXPECT_EQ(mrOk, Run([](SimFormUser& user) {
              user.Type("ebxCount", "5a");
              user.Enter();
            }));
  EXPECT_EQ("5a", form_.ebxCount.Text()) << "Enter does not leave the box, so no exit event ran";
  EXPECT_EQ(mrOk, Run([](SimFormUser& user) { EXPECT_TRUE(user.PressAlt('s')); }));
}

TEST_F(SimHostTest, AnErrorInAHandlerIsShownAndTheFormStaysOpen) {
  EXPECT_EQ(mrOk, Run([&](SimFormUser& user) {
              user.Type("ebxName", "");
              user.Click("btnOk");
              EXPECT_TRUE(user.IsOpen());
              user.Type("ebxName", "x");
              user.Click("btnOk");
            }));
  const auto& boxes = platform_.SimBoxes().Boxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("A name is needed.", boxes[0].text);
  EXPECT_EQ("Ombrix", boxes[0].caption);
  EXPECT_EQ(MB_OK | MB_ICONERROR, boxes[0].type);
}

TEST_F(SimHostTest, ProgramErrorsPassTheBoundary) {
  form_.btnApply.SetEnabled(true);
  form_.btnApply.OnClick = [](TControl&) { throw EProgramError("broken"); };
  EXPECT_THROW(Run([](SimFormUser& user) { user.Click("btnApply"); }), EProgramError);
  EXPECT_TRUE(platform_.SimBoxes().Boxes().empty());
}

TEST_F(SimHostTest, F1OpensTheHelpOfTheFocusedControl) {
  std::vector<int> contexts;
  FormHostOptions options = Options();
  options.ShowHelp = [&](HWND, int context) { contexts.push_back(context); };
  SimFormHost host(platform_, options);
  host.OnNextShow([](SimFormUser& user) {
    user.Focus("ebxName");
    user.PressF1();
    user.Focus("ebxCount");
    user.PressF1();
    user.Escape();
  });
  host.ShowModal(form_, nullptr);
  EXPECT_EQ((std::vector<int>{TfrmSample::NameHelp, TfrmSample::FormHelp}), contexts);
}

TEST_F(SimHostTest, TheFormIsADesktopWindowWhileShown) {
  HWND owner = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x4242));
  host_.OnNextShow([&](SimFormUser& user) {
    HWND shown = platform_.Windows().FindWindowA("TfrmSample", "");
    EXPECT_NE(nullptr, shown);
    EXPECT_EQ(shown, user.Form().Handle());
    EXPECT_EQ("Sample form", platform_.Windows().GetWindowTextA(shown, 256));
    user.Escape();
  });
  host_.ShowModal(form_, owner);
  EXPECT_EQ(nullptr, platform_.Windows().FindWindowA("TfrmSample", ""));
  EXPECT_EQ(nullptr, form_.Handle());
  ASSERT_EQ(1u, host_.ShownForms().size());
  EXPECT_EQ(owner, host_.ShownForms()[0].owner);
  EXPECT_EQ(mrCancel, host_.ShownForms()[0].result);
}

TEST_F(SimHostTest, NestedFormsTakeTheScriptsInTurn) {
  TfrmSample inner;
  form_.btnApply.SetEnabled(true);
  form_.btnApply.OnClick = [&](TControl&) {
    form_.log.push_back("inner " + std::to_string(host_.ShowModal(inner, form_.Handle())));
  };
  Run([&](SimFormUser& user) {
    host_.OnNextShow([](SimFormUser& nested) { nested.CloseBox(); });
    user.Click("btnApply");
    user.Escape();
  });
  EXPECT_EQ((Log{"inner 2", "cancel"}), form_.log);
}

TEST_F(SimHostTest, ScriptMistakesAreReported) {
  EXPECT_THROW(host_.ShowModal(form_, nullptr), SimFormError) << "no script for the form";
  EXPECT_THROW(Run([](SimFormUser&) {}), SimFormError) << "the script left the form open";
  EXPECT_THROW(Run([](SimFormUser& user) { user.Click("btnNothing"); }), SimFormError);
  EXPECT_EQ(nullptr, platform_.Windows().FindWindowA("TfrmSample", "")) << "the window went all the same";
}

}  // namespace
}  // namespace ombrix
