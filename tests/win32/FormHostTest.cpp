// The Win32 form host under wine: real windows made from the sample form and from the
// information dialogs, driven through posted input messages from a timer of the form's own
// modal loop, the way a user's input arrives. Each form and page is saved as a screenshot
// into the build folder for looking at the layout.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/win32/Win32FormHost.h"
#include "platform/WinDefs.h"
// After the Windows headers.
#include <commctrl.h>

#include "platform/win32/Win32Platform.h"
#include "config/About.h"
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
    model.Step(c.up ? TUDBtnType::btNext : TUDBtnType::btPrev);
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
  BOOL Shell_NotifyIconA(DWORD, const NotifyIconData&) override { return FALSE; }
  BOOL WinHelpA(HWND, const std::string&, UINT, ULONG_PTR) override { return FALSE; }
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
