// Every caption of every form of both programs fits its control, at the resolution this
// test runs at: ctest runs it at 96 dpi and, in a copy of the wine prefix set to it, at 144.
// Each form is shown for real and every page of each of its page controls is saved as a
// screenshot, <form>-<page>-<dpi>.png.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "center/ControlCenter.h"
#include "config/About.h"
#include "config/Configure.h"
#include "controls/win32/Win32FormHost.h"
#include "platform/MiscUtils.h"
#include "platform/WinDefs.h"
#include "platform/win32/Win32Platform.h"
#include "runtime/ProgInfo.h"
#include "tests/forms/SampleForm.h"
#include "tests/win32/CaptionFit.h"
#include "tests/win32/FormDriver.h"
#include "tests/win32/Screenshot.h"
// After the Windows headers.
#include <commctrl.h>

namespace ombrix {
namespace {

using namespace ombrix::testing;

class NoOpener : public IConfigurationOpener {
 public:
  std::string TargetFile() const override { return "C:\\Program Files\\Wine Notes\\notes.exe"; }
  bool SaveSettingsToIniFile() const override { return false; }
  void SaveSettingsToRegistryFromNowOn() override {}
  std::string ApplicationTitle() const override { return Title; }
  void ShowHelpContents() override {}
};

// What the forms are made with: the programs' own services, and the version caption the
// programs read from their version resource at run time.
struct FormWorld {
  Platform& platform;
  IFormHost& host;
  IConfigurationOpener& opener;
  std::string versionCaption;
};

struct FormCase {
  std::string name;  // names the screenshots
  std::function<std::unique_ptr<TForm>(FormWorld&)> make;
};

// Every form of both programs, and the toolkit's sample form.
const std::vector<FormCase>& AllForms() {
  static const std::vector<FormCase> forms = {
      {"configure",
       [](FormWorld& world) {
         auto form = std::make_unique<TfrmConfiguration>(world.platform, world.opener);
         form->lblProgramVersion.SetCaption(world.versionCaption);
         return form;
       }},
      {"program-information",
       [](FormWorld& world) {
         auto form = std::make_unique<TfrmProgramInfo>();
         form->lblProgramVersion.SetCaption(world.versionCaption);
         return form;
       }},
      {"about",
       [](FormWorld& world) {
         auto form = std::make_unique<TAboutVorelOmbrix>(world.platform.Shell());
         form->lblProgramVersion.SetCaption(world.versionCaption);
         return form;
       }},
      {"control-center",
       [](FormWorld& world) {
         auto form = std::make_unique<TfrmMain>(world.platform, world.host);
         // The stored settings' pages show once an entry is chosen; shown here, so that the
         // tour reaches them whatever the test machine stores.
         form->StoredSettingsPage.pcConfig.SetVisible(true);
         return form;
       }},
      {"sample", [](FormWorld&) { return std::make_unique<TfrmSample>(); }},
  };
  return forms;
}

// The resolution the run is meant to have; the script that runs the test elsewhere says so.
int WantedDpi() {
  const char* wanted = std::getenv("OMBRIX_TEST_DPI");
  return wanted ? std::atoi(wanted) : 96;
}

std::string Slug(const std::string& caption) {
  std::string slug;
  for (char c : caption) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      slug += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    } else if (!slug.empty() && slug.back() != '-') {
      slug += '-';
    }
  }
  slug.resize(std::min<std::size_t>(slug.size(), 24));
  while (!slug.empty() && slug.back() == '-') slug.pop_back();
  return slug;
}

// A page with the pages of the outer page controls it lies on, outermost first.
std::vector<const TTabSheet*> PathTo(const TTabSheet& page) {
  std::vector<const TTabSheet*> path;
  for (const TControl* at = &page; at; at = at->Parent()) {
    if (at->Kind() == TControlKind::kTabSheet) path.insert(path.begin(), static_cast<const TTabSheet*>(at));
  }
  return path;
}

// Where a control's window differs from its declared bounds at this resolution, or its font
// from the declared size.
std::vector<std::string> ScalingFaults(win32::Win32FormHost& host, const TForm& form, int dpi) {
  std::vector<std::string> faults;
  RECT client{};
  ::GetClientRect(form.Handle(), &client);
  if (client.right != ::MulDiv(form.ClientWidth, dpi, 96) || client.bottom != ::MulDiv(form.ClientHeight, dpi, 96)) {
    faults.push_back(form.ClassName() + " client " + std::to_string(client.right) + "x" +
                     std::to_string(client.bottom));
  }
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  for (const TControl* control : form.Controls()) {
    HWND window = host.WindowOf(*control);
    // A page takes its page control's display area; the arrows keep the width the common
    // control gives itself.
    const TControlKind kind = control->Kind();
    if (!window || kind == TControlKind::kTabSheet || kind == TControlKind::kUpDown) continue;
    RECT area{};
    ::GetWindowRect(window, &area);
    const TBounds& bounds = control->Bounds();
    // A drop-down list's window reaches down over its list.
    const bool heightCounts = kind != TControlKind::kComboBox;
    if (area.right - area.left != ::MulDiv(bounds.Width, dpi, 96) ||
        (heightCounts && area.bottom - area.top != ::MulDiv(bounds.Height, dpi, 96))) {
      faults.push_back(control->Name() + " size " + std::to_string(area.right - area.left) + "x" +
                       std::to_string(area.bottom - area.top));
    }
    // A group's window holds only its children; the frame inside shows the caption.
    if (kind == TControlKind::kGroupBox || kind == TControlKind::kRadioGroup) continue;
    // The declared size is in points; without one the system's message font, which the
    // system gives at the screen's resolution.
    const TFont& font = control->Font != TFont{} ? control->Font : form.Font;
    LOGFONTA shown{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)), sizeof shown, &shown);
    const LONG expected = font.Size > 0 ? -::MulDiv(font.Size, dpi, 72) : metrics.lfMessageFont.lfHeight;
    if (shown.lfHeight != expected) {
      faults.push_back(control->Name() + " font height " + std::to_string(shown.lfHeight) + ", not " +
                       std::to_string(expected));
    }
  }
  return faults;
}

struct Tour {
  std::vector<CaptionMisfit> misfits;
  std::vector<std::string> scalingFaults;
  std::vector<std::string> shots;
  std::string failure;
};

class CaptionFitTest : public ::testing::Test {
 protected:
  CaptionFitTest()
      : host_(platform_, FormHostOptions{Title, {}}),
        world_{platform_, host_, opener_, VersionCaption(platform_, OMBRIX_EXE)},
        dpi_(WantedDpi()) {}

  // Shows the form, measures its captions, saves a screenshot of every page of every page
  // control (a form without pages: of the form), and closes it.
  Tour Visit(TForm& form, const std::string& name) {
    Tour tour;
    const std::string suffix = "-" + std::to_string(dpi_);
    Driver driver(platform_, form);
    driver.Then("the form shown", [&] {
      tour.misfits = CaptionMisfits(host_, form);
      tour.scalingFaults = ScalingFaults(host_, form, dpi_);
      return true;
    });
    std::vector<const TTabSheet*> pages;
    for (const TControl* control : form.Controls()) {
      if (control->Kind() == TControlKind::kTabSheet && control->Visible()) {
        pages.push_back(static_cast<const TTabSheet*>(control));
      }
    }
    auto shoot = [&](const std::string& shot) {
      if (SaveWindowPng(form.Handle(), Shot(shot))) tour.shots.push_back(shot);
    };
    if (pages.empty()) {
      driver.Then("the screenshot", [&, shot = name + suffix] {
        shoot(shot);
        return true;
      });
    }
    for (const TTabSheet* page : pages) {
      std::string shot = name;
      for (const TTabSheet* on : PathTo(*page)) shot += "-" + Slug(on->Caption());
      driver.Then("the page " + page->Name(), [&, page, shot = shot + suffix] {
        // Each page control on the way to the page shows the page that leads there.
        for (const TTabSheet* on : PathTo(*page)) {
          const TPageControl& tabs = on->PageControl();
          if (tabs.ActivePage() == on) continue;
          // Hidden pages have no tab.
          int tab = 0;
          for (const TTabSheet* before : tabs.Pages()) {
            if (before == on) break;
            if (before->Visible()) ++tab;
          }
          ::PostMessageA(host_.WindowOf(tabs), TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
          return false;
        }
        if (!::IsWindowVisible(host_.WindowOf(*page))) return false;
        shoot(shot);
        return true;
      });
    }
    driver.Then("closed", [&] {
      ::PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
      return true;
    });
    driver.Start();
    host_.ShowModal(form, nullptr);
    tour.failure = driver.Failure();
    return tour;
  }

  win32::Win32Platform platform_;
  win32::Win32FormHost host_;
  NoOpener opener_;
  FormWorld world_;
  int dpi_;
};

TEST_F(CaptionFitTest, RunsAtTheWantedResolution) {
  HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(dpi_, ::GetDeviceCaps(screen, LOGPIXELSY));
  ::ReleaseDC(nullptr, screen);
  EXPECT_TRUE(::IsProcessDPIAware()) << "aware through the programs' own manifest";
}

TEST_F(CaptionFitTest, EveryCaptionOfEveryFormFits) {
  for (const FormCase& entry : AllForms()) {
    std::unique_ptr<TForm> form = entry.make(world_);
    const Tour tour = Visit(*form, entry.name);
    EXPECT_EQ("", tour.failure) << entry.name;
    for (const CaptionMisfit& misfit : tour.misfits)
      ADD_FAILURE() << entry.name << " at " << dpi_ << " dpi: " << misfit;
    EXPECT_EQ(std::vector<std::string>{}, tour.scalingFaults) << entry.name << " at " << dpi_ << " dpi";
    EXPECT_FALSE(tour.shots.empty()) << entry.name;
  }
}

// The check itself: a sample form with one caption too long for each kind of control.
TEST_F(CaptionFitTest, CaptionsTooLongAreReported) {
  TfrmSample form;
  const std::string tooLong = "A caption far too long for the room this control has";
  form.lblCount.SetCaption(tooLong);
  form.cbxCount.SetCaption(tooLong);
  form.gbMode.SetCaption(tooLong);
  form.rbSafe.SetCaption("Sa&fe, " + tooLong);
  form.rgClick.SetItems({"Single click", tooLong});
  form.btnApply.SetCaption(tooLong);
  // A tab grows with its caption, until the tab row is wider than the page control.
  form.tsChoices.SetCaption(tooLong + ", " + tooLong);
  // Wrapped, the caption is as wide as its label but needs more lines than the label has.
  form.lblNumber.WordWrap = true;
  form.lblNumber.SetCaption(tooLong);
  // The ampersand is no character: the caption just fits, as on the unbroken form.
  form.lblName.SetCaption("&Na&me:");

  const Tour tour = Visit(form, "sample-misfits");
  EXPECT_EQ("", tour.failure);
  std::vector<std::string> reported;
  for (const CaptionMisfit& misfit : tour.misfits) reported.push_back(misfit.Control + " " + misfit.Direction);
  // The tab after the one grown beyond the row is pushed out of it too.
  const std::vector<std::string> expected = {"tsChoices wide",  "tsLists wide",   "lblCount wide",
                                             "cbxCount wide",   "gbMode wide",    "rbSafe wide",
                                             "rgClick[1] wide", "lblNumber high", "btnApply wide"};
  EXPECT_EQ(expected, reported);
}

// A page control on a page of another: the visit reaches every inner page through the outer
// one, and the captions of a page not shown are measured too.
class TfrmNestedPages : public TForm {
 public:
  TfrmNestedPages() : TForm("TfrmNestedPages", "Nested pages", 300, 200) {}

  TPageControl pcOuter{*this, "pcOuter", nullptr, {8, 8, 284, 184}};
  TTabSheet tsFirst{*this, "tsFirst", pcOuter, "First"};
  TTabSheet tsSecond{*this, "tsSecond", pcOuter, "Second"};
  TPageControl pcInner{*this, "pcInner", &tsSecond, {8, 8, 260, 130}};
  TTabSheet tsLeft{*this, "tsLeft", pcInner, "Left"};
  TTabSheet tsRight{*this, "tsRight", pcInner, "Right"};
  TLabel lblRight{*this, "lblRight", &tsRight, {8, 8, 40, 16}, "Far too long for forty pixels"};
};

TEST_F(CaptionFitTest, PagesWithinPagesAreVisited) {
  TfrmNestedPages form;
  const Tour tour = Visit(form, "nested");
  EXPECT_EQ("", tour.failure);
  const std::string dpi = std::to_string(dpi_);
  const std::vector<std::string> shots = {"nested-first-" + dpi, "nested-second-" + dpi, "nested-second-left-" + dpi,
                                          "nested-second-right-" + dpi};
  EXPECT_EQ(shots, tour.shots);
  ASSERT_EQ(1u, tour.misfits.size());
  EXPECT_EQ("lblRight", tour.misfits[0].Control);
}

}  // namespace
}  // namespace ombrix
