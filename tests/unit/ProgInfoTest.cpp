// The Program Information dialog over the simulated host.

#include <gtest/gtest.h>

#include "controls/sim/SimFormHost.h"
#include "help/HelpContexts.h"
#include "runtime/ProgInfo.h"

namespace ombrix {
namespace {

using sim::SimFormHost;
using sim::SimFormUser;
using sim::SimPlatform;

TEST(ProgramInfo, ShowsTheValuesItIsGiven) {
  TfrmProgramInfo form;
  ProgramInfoValues values;
  values.versionCaption = "Version 2.05c build 40";
  values.fileName = "C:\\Tools & More\\notes.exe";
  values.parameters = "\"C:\\Docs\\todo.txt\" /readonly";
  values.windowCaption = "todo.txt - Notes";
  values.processId = 1234;
  values.threadId = 4294967280u;  // beyond the signed range
  values.mainWindow = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x000A0B2C));
  values.hotKey = "Ctrl+Alt+N";
  form.ShowValues(values);

  struct Shown {
    const TLabel& label;
    const char* text;
  };
  for (const Shown& shown :
       {Shown{form.lblProgramVersion, "Version 2.05c build 40"},
        Shown{form.valueFilename, "C:\\Tools & More\\notes.exe"},
        Shown{form.valueParameters, "\"C:\\Docs\\todo.txt\" /readonly"},
        Shown{form.valueWindowCaption, "todo.txt - Notes"}, Shown{form.valuePID, "1234"},
        Shown{form.valueTID, "4294967280"}, Shown{form.valueHWND, "658220"}, Shown{form.valueHotKey, "Ctrl+Alt+N"}}) {
    EXPECT_EQ(shown.text, shown.label.Caption()) << shown.label.Name();
    EXPECT_FALSE(shown.label.ShowAccelChar && shown.label.Name().rfind("value", 0) == 0)
        << shown.label.Name() << ": an ampersand in a value is a character";
  }
  EXPECT_FALSE(form.valueFilename.WordWrap) << "one line, cut at the dialog's width";
  EXPECT_TRUE(form.valueParameters.WordWrap);
  EXPECT_TRUE(form.valueWindowCaption.WordWrap);
}

TEST(ProgramInfo, OkEnterAndEscCloseIt) {
  SimPlatform platform;
  std::vector<int> help;
  FormHostOptions options;
  options.ShowHelp = [&](HWND, int context) { help.push_back(context); };
  SimFormHost host(platform, options);
  TfrmProgramInfo form;
  const std::vector<std::function<void(SimFormUser&)>> closers = {
      [](SimFormUser& user) { user.Click("btnOk"); },
      [](SimFormUser& user) { user.Enter(); },
      [](SimFormUser& user) { user.Escape(); },
  };
  for (const auto& closer : closers) {
    host.OnNextShow([&](SimFormUser& user) {
      EXPECT_EQ("btnOk", user.FocusedName());
      user.PressF1();
      closer(user);
    });
    EXPECT_EQ(mrOk, host.ShowModal(form, nullptr));
  }
  host.OnNextShow([](SimFormUser& user) { user.CloseBox(); });
  EXPECT_EQ(mrCancel, host.ShowModal(form, nullptr));
  EXPECT_EQ(std::vector<int>(3, HelpContexts::ProgramInformationDialog), help);
}

}  // namespace
}  // namespace ombrix
