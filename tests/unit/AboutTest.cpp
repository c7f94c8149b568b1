// The about box over the simulated host.

#include <gtest/gtest.h>

#include "config/About.h"
#include "controls/sim/SimFormHost.h"

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

// What a reader of the box relies on, rather than its design property by property: texts
// that stand out from its background, logos that are drawn, and Enter and Esc both closing it.
TEST(AboutBox, ItCanBeReadAndClosedFromTheKeyboard) {
  SimPlatform platform;
  SimFormHost host(platform);
  RecordingShell shell;
  TAboutVorelOmbrix about(shell);
  for (const TLabel* text : {&about.lblProgramVersion, &about.lblWebAddress}) {
    EXPECT_NE(about.Color, text->Font.Color) << text->Name();
  }
  EXPECT_TRUE(about.lblWebAddress.Font.Underline) << "the address looks like a link";
  for (const TImage* logo : {&about.imgCompanyLogo, &about.imgProgramLogo}) {
    ASSERT_NE(nullptr, logo->Picture.Drawing()) << logo->Name();
    EXPECT_FALSE(logo->Picture.Drawing()->Shapes.empty()) << logo->Name();
  }
  for (bool enter : {true, false}) {
    host.OnNextShow([&](SimFormUser& user) { enter ? user.Enter() : user.Escape(); });
    EXPECT_EQ(mrOk, host.ShowModal(about, nullptr)) << (enter ? "Enter" : "Esc");
  }
}

}  // namespace
}  // namespace ombrix
