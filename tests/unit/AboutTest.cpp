// The about box over the simulated host.

#include <gtest/gtest.h>

#include "controls/sim/SimFormHost.h"
#include "config/About.h"

namespace ombrix {
namespace {

using sim::SimFormHost;
using sim::SimFormUser;
using sim::SimPlatform;

// Records the shell calls; the result says "not started", which the box must not report.
class RecordingShell : public IShell {
 public:
  struct Call {
    HWND owner;
    std::string verb, file, parameters, folder;
    int show;
  };
  INT_PTR ShellExecuteA(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& folder, int showCommand) override {
    calls.push_back({owner, verb, file, parameters, folder, showCommand});
    return 2;  // ERROR_FILE_NOT_FOUND
  }
  BOOL Shell_NotifyIconA(DWORD, const NotifyIconData&) override { return FALSE; }
  HWND HtmlHelpA(HWND, const std::string&, UINT, ULONG_PTR) override { return nullptr; }

  std::vector<Call> calls;
};

TEST(AboutBox, DoubleClickOnTheAddressOpensItWithoutReportingTheResult) {
  SimPlatform platform;
  SimFormHost host(platform);
  RecordingShell shell;
  TAboutVorelOmbrix about(shell);
  about.lblProgramVersion.SetCaption("Version 1.00 build 1");
  HWND shown = nullptr;
  host.OnNextShow([&](SimFormUser& user) {
    shown = user.Form().Handle();
    EXPECT_EQ("Version 1.00 build 1", user.TextOf("lblProgramVersion"));
    user.Click("lblWebAddress");
    EXPECT_TRUE(shell.calls.empty()) << "a single click opens nothing";
    user.DoubleClick("lblWebAddress");
    user.Escape();
  });
  EXPECT_EQ(mrOk, host.ShowModal(about, nullptr));

  ASSERT_EQ(1u, shell.calls.size());
  const RecordingShell::Call& call = shell.calls[0];
  EXPECT_EQ(shown, call.owner);
  EXPECT_EQ("open", call.verb);
  EXPECT_EQ(TAboutVorelOmbrix::WebAddress, call.file);
  EXPECT_EQ("", call.parameters);
  EXPECT_EQ("", call.folder);
  EXPECT_EQ(SW_SHOWNORMAL, call.show);
  EXPECT_TRUE(platform.SimBoxes().Boxes().empty());
}

TEST(AboutBox, Design) {
  RecordingShell shell;
  TAboutVorelOmbrix about(shell);
  EXPECT_EQ(" About Vorel Ombrix...", about.Caption());
  EXPECT_EQ(TFormStyle::fsStayOnTop, about.FormStyle);
  EXPECT_EQ(TFormBorderStyle::bsToolWindow, about.BorderStyle);
  EXPECT_EQ(80, about.HelpContext);
  EXPECT_EQ(clBlack, about.Color);
  EXPECT_EQ("Version x.xx", about.lblProgramVersion.Caption());
  EXPECT_EQ(clWhite, about.lblProgramVersion.Font.Color);
  const TFont& address = about.lblWebAddress.Font;
  EXPECT_TRUE(address.Color == clRed && address.Bold && address.Underline);
  EXPECT_EQ(TCursor::crHandPoint, about.lblWebAddress.Cursor);
  EXPECT_EQ("- ", about.capAbout.AppNameText);
  EXPECT_EQ("Vorel Software", about.capAbout.CompanyText);
  EXPECT_TRUE(about.btnOk.Default && about.btnOk.Cancel);
  for (const TImage* logo : {&about.imgCompanyLogo, &about.imgProgramLogo}) {
    ASSERT_NE(nullptr, logo->Picture.Drawing()) << logo->Name();
    EXPECT_FALSE(logo->Picture.Drawing()->Shapes.empty()) << logo->Name();
  }
}

}  // namespace
}  // namespace ombrix
