// The Win32 form host under wine: real windows made from the sample form and from the
// information dialogs, driven through posted input messages from a timer of the form's own
// modal loop, the way a user's input arrives. Each form and page is saved as a screenshot
// into the build folder for looking at the layout.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/win32/Win32FormHost.h"
#include "platform/WinDefs.h"
// After the Windows headers.
#include <commctrl.h>

#include "config/About.h"
#include "platform/win32/Win32Platform.h"
#include "runtime/ProgInfo.h"
#include "tests/forms/SampleForm.h"
#include "tests/win32/FormDriver.h"
#include "tests/win32/Screenshot.h"

namespace ombrix {
namespace {

using testing::TfrmSample;
using namespace ombrix::testing;
using Log = std::vector<std::string>;

class FormHostTest : public ::testing::Test {
 protected:
  FormHostTest() : host_(platform_, Options()) {}

  FormHostOptions Options() {
    FormHostOptions options;
    options.ApplicationTitle = Title;
    options.ShowHelp = [this](HWND, int context) { help_.push_back(context); };
    return options;
  }
  HWND Window(const TControl& control) { return host_.WindowOf(control); }

  win32::Win32Platform platform_;
  win32::Win32FormHost host_;
  std::vector<int> help_;
};

TEST_F(FormHostTest, SampleFormDrivenThroughTheRealControls) {
  TfrmSample form;
  form.ShowIcon(platform_.Icons(), OMBRIX_ICON_FILE, 0);
  ASSERT_FALSE(form.imgPreview.Picture.Empty());
  HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  bool ownerDisabled = false;
  int upClicks = 0;
  Driver driver(platform_, form);
  driver
      .Then("the form shown",
            [&] {
              ownerDisabled = !::IsWindowEnabled(owner);
              EXPECT_EQ("Sample", TextOf(Window(form.ebxName))) << "the models are shown";
              EXPECT_EQ("Sample form", TextOf(form.Handle()));
              EXPECT_TRUE(testing::SaveWindowPng(form.Handle(), Shot("sample-general")));
              return true;
            })
      .Then("typing a name",
            [&] {
              ::SetFocus(Window(form.ebxName));
              ::SendMessageA(Window(form.ebxName), EM_SETSEL, 0, -1);
              PostChars(Window(form.ebxName), "Wi!ne");
              return true;
            })
      .Then("typing a count",
            [&] {
              if (form.ebxName.Text() != "Wine") return false;
              ::SetFocus(Window(form.ebxCount));
              ::SendMessageA(Window(form.ebxCount), EM_SETSEL, 0, -1);
              PostChars(Window(form.ebxCount), "42abc");
              return true;
            })
      .Then("leaving the count with Tab",
            [&] {
              if (form.ebxCount.Text() != "42abc") return false;
              PostKey(::GetFocus(), VK_TAB);
              return true;
            })
      .Then("a radio button clicked",
            [&] {
              if (form.ActiveControl() != &form.cbxCount) return false;
              ::PostMessageA(Window(form.rbSafe), BM_CLICK, 0, 0);
              ::PostMessageA(Window(form.btnApply), BM_CLICK, 0, 0);
              return true;
            })
      .Then("the second page's tab clicked",
            [&] {
              if (!form.rbSafe.Checked()) return false;
              RECT tab{};
              ::SendMessageA(Window(form.pcSample), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
              PostClick(Window(form.pcSample), tab);
              return true;
            })
      .Then("the second page shown",
            [&] {
              if (form.pcSample.ActivePageIndex() != 1 || !::IsWindowVisible(Window(form.lbItems))) return false;
              EXPECT_FALSE(::IsWindowVisible(Window(form.ebxName)));
              EXPECT_TRUE(testing::SaveWindowPng(form.Handle(), Shot("sample-choices")));
              ::SetFocus(Window(form.cbShowState));
              PostKey(Window(form.cbShowState), VK_DOWN);
              return true;
            })
      .Then("the up arrow clicked beyond the end",
            [&] {
              if (form.cbShowState.ItemIndex() != 1) return false;
              RECT arrows{};
              ::GetClientRect(Window(form.udNumber), &arrows);
              arrows.bottom = (arrows.top + arrows.bottom) / 2;
              PostClick(Window(form.udNumber), arrows);
              ++upClicks;
              return upClicks == 6;
            })
      .Then("an item of the radio group and of the list",
            [&] {
              if (form.udNumber.Position() != 4 || form.log.back() != "up 4") return false;
              ::PostMessageA(host_.ItemWindowOf(form.rgClick, 0), BM_CLICK, 0, 0);
              RECT item{};
              ::SendMessageA(Window(form.lbItems), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
              PostClick(Window(form.lbItems), item);
              return true;
            })
      .Then("Enter", [&] {
        if (form.rgClick.ItemIndex() != 0 || form.lbItems.ItemIndex() != 2) return false;
        PostKey(::GetFocus(), VK_RETURN);
        return true;
      });
  driver.Start();
  const TModalResult result = host_.ShowModal(form, owner);

  EXPECT_EQ("", driver.Failure());
  EXPECT_EQ(mrOk, result);
  EXPECT_TRUE(ownerDisabled) << "the owner cannot be used while the form is shown";
  EXPECT_TRUE(::IsWindowEnabled(owner));
  EXPECT_EQ(nullptr, form.Handle());
  EXPECT_EQ("42", form.ebxCount.Text());
  EXPECT_EQ("Current number : 4", form.lblNumber.Caption());
  EXPECT_TRUE(form.rbSafe.Checked() && !form.rbFast.Checked() && form.rbLeft.Checked());
  const Log expected = {"key W",
                        "change W",
                        "key i",
                        "change Wi",
                        "key !",
                        "key n",
                        "change Win",
                        "key e",
                        "change Wine",
                        "exit count 42",
                        "mode rbSafe",
                        "page 1",
                        "state Normal (shown)",
                        "up 1",
                        "up 2",
                        "up 3",
                        "up 4",
                        "up 4",
                        "up 4",
                        "click mode 0",
                        "item 2",
                        "save"};
  EXPECT_EQ(expected, form.log) << "the disabled Apply button never ran";
  ::DestroyWindow(owner);
}

// A page that waits to be shown has a window but no controls in it until the user opens it,
// the program stops it waiting (a page inside it then waits on until it is made), or a test
// asks the host for the window of a control on it. Either way they come up holding their
// models.
TEST_F(FormHostTest, PagesThatWaitToBeShownAreMadeWhenFirstNeeded) {
  TfrmSample form;
  form.tsChoices.CreateWhenShown = true;
  form.tsLists.CreateWhenShown = true;
  form.tsMore.CreateWhenShown = true;
  form.tsHidden.CreateWhenShown = true;
  form.lbItems.SetItemIndex(1);
  form.lbFiles.SetItems({"one.txt", "two.txt"});
  const auto firstChild = [&](const TControl& page) { return ::GetWindow(Window(page), GW_CHILD); };
  Driver driver(platform_, form);
  driver
      .Then("the form shown",
            [&] {
              EXPECT_EQ(nullptr, firstChild(form.tsChoices));
              EXPECT_EQ(nullptr, firstChild(form.tsLists));
              EXPECT_NE(nullptr, firstChild(form.tsGeneral));
              RECT tab{};
              ::SendMessageA(Window(form.pcSample), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
              PostClick(Window(form.pcSample), tab);
              return true;
            })
      .Then("the second page opened",
            [&] {
              if (form.pcSample.ActivePageIndex() != 1) return false;
              // Looked up among the page's windows: WindowOf would make it.
              HWND list = ::FindWindowExA(Window(form.tsChoices), nullptr, "ListBox", nullptr);
              EXPECT_TRUE(list && ::IsWindowVisible(list));
              EXPECT_EQ(3, ::SendMessageA(list, LB_GETCOUNT, 0, 0));
              EXPECT_EQ(1, ::SendMessageA(list, LB_GETCURSEL, 0, 0));
              EXPECT_EQ(nullptr, firstChild(form.tsLists)) << "the other waiting page still waits";
              form.tsMore.CreateWhenShown = false;
              form.ChangedBehind();
              return true;
            })
      .Then("a page inside a waiting one no longer waits",
            [&] {
              EXPECT_EQ(nullptr, firstChild(form.tsLists));
              form.tsLists.CreateWhenShown = false;
              form.ChangedBehind();
              return true;
            })
      .Then("both made",
            [&] {
              if (!firstChild(form.tsLists) || !firstChild(form.tsMore)) return false;
              HWND files = Window(form.lbFiles);
              EXPECT_EQ(2, ::SendMessageA(files, LB_GETCOUNT, 0, 0));
              EXPECT_FALSE(::IsWindowVisible(files));
              return true;
            })
      .Then("a control of a page never shown asked for", [&] {
        EXPECT_EQ(nullptr, firstChild(form.tsHidden));
        HWND label = Window(form.lblHidden);
        EXPECT_TRUE(label && ::IsChild(Window(form.tsHidden), label));
        EXPECT_EQ("Never seen", TextOf(label));
        PostKey(::GetFocus(), VK_ESCAPE);
        return true;
      });
  driver.Start();
  EXPECT_EQ(mrCancel, host_.ShowModal(form, nullptr));
  EXPECT_EQ("", driver.Failure());
}

TEST_F(FormHostTest, EscAndTheCloseBoxCancel) {
  TfrmSample form;
  {
    Driver driver(platform_, form);
    driver.Then("Esc", [&] {
      PostKey(::GetFocus(), VK_ESCAPE);
      return true;
    });
    driver.Start();
    EXPECT_EQ(mrCancel, host_.ShowModal(form, nullptr));
    EXPECT_EQ("", driver.Failure());
    EXPECT_EQ(Log{"cancel"}, form.log);
  }
  form.log.clear();
  Driver driver(platform_, form);
  driver.Then("the close box", [&] {
    ::PostMessageA(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  });
  driver.Start();
  EXPECT_EQ(mrCancel, host_.ShowModal(form, nullptr));
  EXPECT_EQ("", driver.Failure());
  EXPECT_TRUE(form.log.empty()) << "the close box does not press the cancel button";
}

TEST_F(FormHostTest, HandlerErrorsAreShownInTheGeneralErrorBox) {
  TfrmSample form;
  form.ebxName.SetText("");
  std::string boxText;
  Driver driver(platform_, form);
  driver
      .Then("Save clicked",
            [&] {
              ::PostMessageA(Window(form.btnOk), BM_CLICK, 0, 0);
              return true;
            })
      .Then("the error box answered",
            [&] {
              HWND box = ::FindWindowA("#32770", Title);
              if (!box) return false;
              boxText = TextOf(::GetDlgItem(box, 0xFFFF));
              ::PostMessageA(box, WM_COMMAND, IDOK, 0);
              return true;
            })
      .Then("F1 in the name box",
            [&] {
              if (::FindWindowA("#32770", Title) || !::IsWindowEnabled(form.Handle())) return false;
              ::SetFocus(Window(form.ebxName));
              PostKey(Window(form.ebxName), VK_F1);
              return true;
            })
      .Then("Esc", [&] {
        if (help_.empty()) return false;
        PostKey(::GetFocus(), VK_ESCAPE);
        return true;
      });
  driver.Start();
  EXPECT_EQ(mrCancel, host_.ShowModal(form, nullptr));
  EXPECT_EQ("", driver.Failure());
  EXPECT_EQ("A name is needed.", boxText);
  EXPECT_EQ(std::vector<int>{TfrmSample::NameHelp}, help_);
}

// What the real controls show.
std::vector<std::string> ListTexts(HWND list, bool combo = false) {
  std::vector<std::string> texts;
  const int count = static_cast<int>(::SendMessageA(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::vector<char> text(
        static_cast<std::size_t>(::SendMessageA(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0)) + 1);
    ::SendMessageA(list, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    texts.emplace_back(text.data());
  }
  return texts;
}

std::vector<int> SelectedItems(HWND list) {
  std::vector<int> selected(static_cast<std::size_t>(::SendMessageA(list, LB_GETSELCOUNT, 0, 0)));
  if (!selected.empty()) {
    ::SendMessageA(list, LB_GETSELITEMS, selected.size(), reinterpret_cast<LPARAM>(selected.data()));
  }
  return selected;
}

// The tooltip window of a form: owned by it.
HWND TooltipOf(HWND form) {
  for (HWND window = nullptr; (window = ::FindWindowExA(nullptr, window, TOOLTIPS_CLASSA, nullptr)) != nullptr;) {
    if (::GetWindow(window, GW_OWNER) == form) return window;
  }
  return nullptr;
}

std::string ToolText(HWND tooltip, HWND tool) {
  std::vector<char> text(256, '\0');
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.hwnd = ::GetParent(tool);
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = text.data();
  ::SendMessageA(tooltip, TTM_GETTEXTA, text.size(), reinterpret_cast<LPARAM>(&info));
  return text.data();
}

bool IsBold(HWND window) {
  LOGFONTA font{};
  ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfWeight >= FW_BOLD;
}

RECT ItemRect(HWND list, int index) {
  RECT item{};
  ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return item;
}

RECT TabRect(HWND tabs, int index) {
  RECT tab{};
  ::SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));
  return tab;
}

// A page control inside a page, a sorted multi-select list clicked and Ctrl+clicked, a
// sorted drop-down list, a flat and a bold button, and a hint that follows its model.
TEST_F(FormHostTest, ListsButtonsHintsAndAPageControlInsideAPage) {
  TfrmSample form;
  form.ShowHint = true;
  for (TTextCompare* compare : {&form.lbFiles.Compare, &form.cbFruit.Compare}) {
    *compare = WindowsSortOrder(platform_.Windows());
  }
  form.lbFiles.SetItems(form.lbFiles.Items());
  form.cbFruit.SetItems({"pear", "Apple", "kiwi"});
  form.cbFruit.SetItemIndex(2);
  HWND tooltip = nullptr;
  Driver driver(platform_, form);
  driver
      .Then("the lists page's tab clicked",
            [&] {
              EXPECT_FALSE(::IsWindowVisible(Window(form.lbFiles)));
              PostClick(Window(form.pcSample), TabRect(Window(form.pcSample), 2));  // the hidden page has no tab
              return true;
            })
      .Then("the lists page shown",
            [&] {
              if (form.pcSample.ActivePageIndex() != 3 || !::IsWindowVisible(Window(form.lbFiles))) return false;
              EXPECT_FALSE(::IsWindowVisible(Window(form.cbFruit))) << "the inner page control's other page";
              EXPECT_EQ(form.lbFiles.Items(), ListTexts(Window(form.lbFiles)));
              const LONG style = ::GetWindowLongA(Window(form.lbFiles), GWL_STYLE);
              EXPECT_EQ(LBS_EXTENDEDSEL, style & (LBS_EXTENDEDSEL | LBS_SORT)) << "the model keeps the order";
              EXPECT_EQ(BS_FLAT, ::GetWindowLongA(Window(form.btnAdd), GWL_STYLE) & BS_FLAT);
              EXPECT_EQ(0, ::GetWindowLongA(Window(form.btnBold), GWL_STYLE) & BS_FLAT);
              EXPECT_TRUE(IsBold(Window(form.btnBold)));
              EXPECT_FALSE(IsBold(Window(form.btnAdd)));
              tooltip = TooltipOf(form.Handle());
              EXPECT_NE(nullptr, tooltip);
              EXPECT_EQ(1, ::SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0)) << "only controls with a hint";
              EXPECT_EQ(form.btnAdd.Hint, ToolText(tooltip, Window(form.btnAdd)));
              EXPECT_TRUE(testing::SaveWindowPng(form.Handle(), Shot("sample-lists")));
              PostClick(Window(form.lbFiles), ItemRect(Window(form.lbFiles), 1));
              return true;
            })
      .Then("a second item Ctrl+clicked",
            [&] {
              if (form.lbFiles.ItemIndex() != 1) return false;
              PostClick(Window(form.lbFiles), ItemRect(Window(form.lbFiles), 4), MK_CONTROL);
              return true;
            })
      .Then("a letter typed into the list",
            [&] {
              if (form.lbFiles.SelCount() != 2) return false;
              PostChars(Window(form.lbFiles), "z");
              return true;
            })
      .Then("the flat button clicked",
            [&] {
              if (form.log.back() != "files key z") return false;
              ::PostMessageA(Window(form.btnAdd), BM_CLICK, 0, 0);
              return true;
            })
      .Then("the inner page's tab clicked",
            [&] {
              if (form.lbFiles.Count() != 9) return false;
              EXPECT_EQ(form.lbFiles.Items(), ListTexts(Window(form.lbFiles)));
              EXPECT_EQ(form.lbFiles.SelectedIndexes(), SelectedItems(Window(form.lbFiles)));
              EXPECT_EQ(form.lbFiles.ItemIndex(), ::SendMessageA(Window(form.lbFiles), LB_GETCARETINDEX, 0, 0));
              EXPECT_EQ("Mango added", ToolText(tooltip, Window(form.btnAdd))) << "the hint follows its model";
              PostClick(Window(form.pcInner), TabRect(Window(form.pcInner), 1));
              return true;
            })
      .Then("the inner page shown",
            [&] {
              if (form.pcInner.ActivePageIndex() != 1 || !::IsWindowVisible(Window(form.cbFruit))) return false;
              EXPECT_FALSE(::IsWindowVisible(Window(form.lbFiles)));
              EXPECT_EQ(form.cbFruit.Items(), ListTexts(Window(form.cbFruit), true));
              EXPECT_EQ("pear", TextOf(Window(form.cbFruit))) << "adding kept the selected item";
              EXPECT_TRUE(testing::SaveWindowPng(form.Handle(), Shot("sample-lists-more")));
              PostKey(::GetFocus(), VK_TAB);
              return true;
            })
      .Then("the mouse resting on the flat button",
            [&] {
              if (form.ActiveControl() != &form.cbFruit) return false;
              RECT area{};
              ::GetWindowRect(Window(form.btnAdd), &area);
              ::SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
              ::PostMessageA(Window(form.btnAdd), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
              return true;
            })
      .Then("the hint shown", [&] {
        if (!::IsWindowVisible(tooltip)) return false;
        PostKey(::GetFocus(), VK_ESCAPE);
        return true;
      });
  driver.Start();
  EXPECT_EQ(mrCancel, host_.ShowModal(form, nullptr));
  EXPECT_EQ("", driver.Failure());
  // The model's order is Windows': ".txt", "_x", "9", "apple", "coop", "co-op", "txtfile", "Zip".
  const Log expected = {"page 3",      "files _x, current 1", "files _x coop, current 4",
                        "files key z", "mango at 6 and 2",    "inner 1",
                        "cancel"};
  EXPECT_EQ(expected, form.log);
}

// A program's main window: a frame of its own on the taskbar, centred, minimised and back.
TEST_F(FormHostTest, MainWindowFrame) {
  TfrmSample form;
  form.BorderStyle = TFormBorderStyle::kSingle;
  HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  Driver driver(platform_, form);
  driver
      .Then("shown",
            [&] {
              const LONG style = ::GetWindowLongA(form.Handle(), GWL_STYLE);
              const LONG exStyle = ::GetWindowLongA(form.Handle(), GWL_EXSTYLE);
              EXPECT_EQ(WS_SYSMENU | WS_MINIMIZEBOX,
                        style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
              EXPECT_EQ(WS_EX_APPWINDOW, exStyle & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME));
              EXPECT_EQ(nullptr, ::GetWindow(form.Handle(), GW_OWNER)) << "a taskbar button of its own";
              RECT work{};
              ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
              RECT frame{};
              ::GetWindowRect(form.Handle(), &frame);
              EXPECT_LE(std::abs((frame.left + frame.right) - (work.left + work.right)), 1);
              EXPECT_LE(std::abs((frame.top + frame.bottom) - (work.top + work.bottom)), 1);
              ::PostMessageA(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
              return true;
            })
      .Then("minimised",
            [&] {
              if (!::IsIconic(form.Handle())) return false;
              ::PostMessageA(form.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
              return true;
            })
      .Then("restored and closed", [&] {
        if (::IsIconic(form.Handle())) return false;
        ::PostMessageA(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
      });
  driver.Start();
  EXPECT_EQ(mrCancel, host_.ShowModal(form, owner));
  EXPECT_EQ("", driver.Failure());
  ::DestroyWindow(owner);
}

// Thousands of items reach the list in one push, and a handler that leaves the list alone
// does not refill it.
TEST_F(FormHostTest, TenThousandItemsFillOnceAndFast) {
  TfrmSample form;
  form.pcSample.SetActivePageIndex(3);
  form.lbFiles.Compare = WindowsSortOrder(platform_.Windows());
  std::vector<std::string> names;
  for (int i = 0; i < 10000; ++i) names.push_back((i % 2 ? "." : "") + std::to_string((i * 7919) % 10000) + "file");
  LARGE_INTEGER frequency{}, start{}, sorted{}, pushed{};
  ::QueryPerformanceFrequency(&frequency);
  form.btnBold.OnClick = [&](TControl&) {
    form.lbFiles.SetItems(names);
    ::QueryPerformanceCounter(&sorted);
  };
  form.btnAdd.OnClick = [&](TControl&) { form.log.push_back("list left alone"); };
  auto ms = [&](const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
  };
  Driver driver(platform_, form);
  driver.Then("filled by a handler", [&] {
    ::QueryPerformanceCounter(&start);
    ::SendMessageA(Window(form.btnBold), BM_CLICK, 0, 0);
    ::QueryPerformanceCounter(&pushed);
    HWND list = Window(form.lbFiles);
    EXPECT_EQ(form.lbFiles.Items(), ListTexts(list));
    // A refill would drop the item's data.
    ::SendMessageA(list, LB_SETITEMDATA, 0, 4242);
    ::SendMessageA(Window(form.btnAdd), BM_CLICK, 0, 0);
    EXPECT_EQ(Log{"list left alone"}, form.log);
    EXPECT_EQ(4242, ::SendMessageA(list, LB_GETITEMDATA, 0, 0)) << "the list was refilled";
    std::printf("10000 items: sorted in %.1f ms, pushed in %.1f ms\n", ms(start, sorted), ms(sorted, pushed));
    PostKey(::GetFocus(), VK_ESCAPE);
    return true;
  });
  driver.Start();
  EXPECT_EQ(mrCancel, host_.ShowModal(form, nullptr));
  EXPECT_EQ("", driver.Failure());
}

// The model's sorted order against a real sorted list box filled with the same texts.
TEST(SortedListAgainstTheListBox, SameOrder) {
  const std::vector<std::string> texts = {"txtfile", ".txt",         "Zip",  "*",     "_x",      "9",     "apple",
                                          "co-op",   "coop",         "~tmp", "$data", "{clsid}", "+plus", "10",
                                          "AppID",   "Applications", "it's", "its",   "x-y",     "xy",    "#32770",
                                          "a b",     "ab",           "Ab1",  "aB2"};
  HWND list =
      ::CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_SORT, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  for (const std::string& text : texts) ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  const std::vector<std::string> real = ListTexts(list);
  ::DestroyWindow(list);

  win32::Win32Platform platform;
  TForm form("TForm", "", 10, 10);
  TListBox model(form, "lb", nullptr, {});
  model.Compare = WindowsSortOrder(platform.Windows());
  model.Sorted = true;
  model.SetItems(texts);
  EXPECT_EQ(real, model.Items());
}

// The model's arrows against the common control's own, on a bare up-down control.
TEST(UpDownAgainstTheCommonControl, SameSteps) {
  INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_UPDOWN_CLASS};
  ::InitCommonControlsEx(&init);
  HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  struct Case {
    int min, max, position;
    bool up, wrap;
  };
  const Case cases[] = {{0, 4, 2, true, false}, {0, 4, 4, true, false},  {0, 4, 0, false, false},
                        {0, 0, 0, true, false}, {0, -1, 0, true, false}, {0, -1, -1, false, false},
                        {5, 1, 3, true, false}, {5, 1, 1, true, false},  {0, 4, 4, true, true},
                        {0, 4, 0, false, true}};
  for (const Case& c : cases) {
    HWND arrows =
        ::CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | (c.wrap ? UDS_WRAP : 0), 0, 0,
                          16, 30, parent, nullptr, nullptr, nullptr);
    ::SendMessageA(arrows, UDM_SETRANGE32, static_cast<WPARAM>(c.min), c.max);
    ::SendMessageA(arrows, UDM_SETPOS32, 0, c.position);
    ::SendMessageA(arrows, WM_KEYDOWN, c.up ? VK_UP : VK_DOWN, 1);
    ::SendMessageA(arrows, WM_KEYUP, c.up ? VK_UP : VK_DOWN, static_cast<LPARAM>(0xC0000001u));
    const int real = static_cast<int>(::SendMessageA(arrows, UDM_GETPOS32, 0, 0));
    ::DestroyWindow(arrows);

    TForm form("TForm", "", 10, 10);
    TUpDown model(form, "ud", nullptr, {}, c.min, c.max, c.position);
    model.Wrap = c.wrap;
    model.Step(c.up ? TUDBtnType::kNext : TUDBtnType::kPrev);
    EXPECT_EQ(real, model.Position()) << c.min << ".." << c.max << " from " << c.position << (c.up ? " up" : " down")
                                      << (c.wrap ? " wrapping" : "");
  }
  ::DestroyWindow(parent);
}

class RecordingShell : public IShell {
 public:
  INT_PTR ShellExecuteA(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& folder, int showCommand) override {
    calls.push_back(verb + "|" + file + "|" + parameters + "|" + folder + "|" + std::to_string(showCommand));
    owners.push_back(owner);
    return 42;
  }
  INT_PTR ShellExecuteExA(HWND, const std::string&, const std::string&, const std::string&, const std::string&, int,
                          HANDLE& process) override {
    process = nullptr;
    return 2;
  }
  DWORD GetLastError() override { return ERROR_FILE_NOT_FOUND; }
  BOOL Shell_NotifyIconA(DWORD, const NotifyIconData&) override { return FALSE; }
  HWND HtmlHelpA(HWND, const std::string&, UINT, ULONG_PTR) override { return nullptr; }
  HRESULT SHGetKnownFolderPath(TKnownFolder, std::string&) override { return E_NOTIMPL; }
  DWORD RtlGetVersionBuild() override { return 0; }
  std::vector<std::string> calls;
  std::vector<HWND> owners;
};

TEST_F(FormHostTest, ProgramInformationShowsItsValues) {
  TfrmProgramInfo form;
  ProgramInfoValues values;
  values.versionCaption = "Version 1.00 build 1";
  values.fileName = "C:\\Program Files\\Vorel Tools\\A rather long folder name\\notes & more.exe";
  values.parameters = "\"C:\\Documents and Settings\\User\\My Documents\\todo list.txt\" /readonly /wrap";
  values.windowCaption = "todo list.txt - Notes & More - a window caption that needs two lines";
  values.processId = 1234;
  values.threadId = 5678;
  values.mainWindow = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x0001002C));
  values.hotKey = "Ctrl+Shift+Alt+Page Down (in use by another program)";
  form.ShowValues(values);
  Driver driver(platform_, form);
  driver.Then("shown", [&] {
    EXPECT_EQ("1234", TextOf(Window(form.valuePID)));
    EXPECT_EQ("65580", TextOf(Window(form.valueHWND)));
    EXPECT_EQ(values.fileName, TextOf(Window(form.valueFilename)));
    for (const TLabel* label : {&form.lblFilename, &form.valueFilename}) {
      LOGFONTA font{};
      ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(Window(*label), WM_GETFONT, 0, 0)), sizeof font, &font);
      EXPECT_EQ(label->Font.Bold ? FW_BOLD : FW_NORMAL, font.lfWeight) << label->Name();
    }
    EXPECT_TRUE(testing::SaveWindowPng(form.Handle(), Shot("program-information")));
    PostKey(::GetFocus(), VK_RETURN);
    return true;
  });
  driver.Start();
  EXPECT_EQ(mrOk, host_.ShowModal(form, nullptr));
  EXPECT_EQ("", driver.Failure());
}

TEST_F(FormHostTest, AboutBoxOpensTheAddressOnADoubleClick) {
  RecordingShell shell;
  TAboutVorelOmbrix about(shell);
  about.lblProgramVersion.SetCaption("Version 1.00 build 1");
  HWND shown = nullptr;
  Driver driver(platform_, about);
  driver
      .Then("shown",
            [&] {
              shown = about.Handle();
              EXPECT_NE(0, ::GetWindowLongA(shown, GWL_EXSTYLE) & WS_EX_TOPMOST) << "always on top";
              EXPECT_EQ(" About Vorel Ombrix...", TextOf(shown));
              EXPECT_TRUE(testing::SaveWindowPng(shown, Shot("about")));
              ::PostMessageA(Window(about.lblWebAddress), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
              ::PostMessageA(Window(about.lblWebAddress), WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
              ::PostMessageA(Window(about.lblWebAddress), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 5));
              ::PostMessageA(Window(about.lblWebAddress), WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
              return true;
            })
      .Then("Esc", [&] {
        if (shell.calls.empty()) return false;
        PostKey(::GetFocus(), VK_ESCAPE);
        return true;
      });
  driver.Start();
  EXPECT_EQ(mrOk, host_.ShowModal(about, nullptr));
  EXPECT_EQ("", driver.Failure());
  EXPECT_EQ(std::vector<std::string>{std::string("open|") + TAboutVorelOmbrix::WebAddress + "|||1"}, shell.calls);
  EXPECT_EQ(std::vector<HWND>{shown}, shell.owners);
}

}  // namespace
}  // namespace ombrix
