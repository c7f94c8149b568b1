// The configuration dialog as a real window over the real registry: driven through its
// controls, saved, and read back from the store. A screenshot of each page goes into the
// build folder.

#include <gtest/gtest.h>

#include "config/Configure.h"
#include "controls/win32/Win32FormHost.h"
#include "platform/WinDefs.h"
// After the Windows headers.
#include <commctrl.h>

#include "platform/MiscUtils.h"
#include "platform/win32/Win32Platform.h"
#include "tests/win32/FormDriver.h"
#include "tests/win32/Screenshot.h"

namespace ombrix {
namespace {

using namespace ombrix::testing;

class WineOpener : public IConfigurationOpener {
 public:
  std::string TargetFile() const override { return target; }
  bool SaveSettingsToIniFile() const override { return false; }
  void SaveSettingsToRegistryFromNowOn() override {}
  std::string ApplicationTitle() const override { return Title; }
  void ShowHelpContents() override {}

  std::string target = "C:\\Program Files\\Wine Notes\\notes.exe";
};

class ConfigureWin32Test : public ::testing::Test {
 protected:
  ConfigureWin32Test() : host_(platform_, FormHostOptions{Title, {}}) { Forget(); }
  ~ConfigureWin32Test() override { Forget(); }

  void Forget() {
    TRegistryEnhanced registry(platform_);
    TAppSettingsStore(platform_, registry).DeleteSettings(opener_.target);
  }
  HWND Window(const TControl& control) { return host_.WindowOf(control); }
  bool ShowPage(TfrmConfiguration& form, int page) {
    if (form.pcConfig.ActivePageIndex() == page) return true;
    RECT tab{};
    ::SendMessageA(Window(form.pcConfig), TCM_GETITEMRECT, page, reinterpret_cast<LPARAM>(&tab));
    PostClick(Window(form.pcConfig), tab);
    return false;
  }

  win32::Win32Platform platform_;
  win32::Win32FormHost host_;
  WineOpener opener_;
};

TEST_F(ConfigureWin32Test, EditedAndSavedIntoTheRealRegistry) {
  TfrmConfiguration form(platform_, opener_);
  form.lblProgramVersion.SetCaption(VersionCaption(platform_, platform_.Files().GetModuleFileNameA()));
  std::string note;
  const auto HotKeyShown = [&] {
    return static_cast<int>(LOWORD(::SendMessageA(Window(form.Pages.hkHotKey), HKM_GETHOTKEY, 0, 0)));
  };
  Driver driver(platform_, form);
  driver
      .Then("the first page shown",
            [&] {
              EXPECT_EQ("1", TextOf(Window(form.Pages.ebxNbHandles)));
              EXPECT_EQ(opener_.target, TextOf(Window(form.valueFilename)));
              EXPECT_TRUE(SaveWindowPng(form.Handle(), Shot("configure-minimize-method")));
              ::PostMessageA(Window(form.Pages.rbMinByName), BM_CLICK, 0, 0);
              return true;
            })
      .Then("a window name typed",
            [&] {
              if (!form.Pages.rbMinByName.Checked() || !::IsWindowEnabled(Window(form.Pages.ebxWindowName)))
                return false;
              ::SetFocus(Window(form.Pages.ebxWindowName));
              PostChars(Window(form.Pages.ebxWindowName), "Untitled - Notes");
              return true;
            })
      .Then("the tray page", [&] { return form.Pages.ebxWindowName.Text() == "Untitled - Notes" && ShowPage(form, 1); })
      .Then("a key pressed alone for the hot key",
            [&] {
              if (!::IsWindowVisible(Window(form.Pages.hkHotKey))) return false;
              // With the scan code, from which the control tells the key of the character that follows.
              const LPARAM scanCode = static_cast<LPARAM>(::MapVirtualKeyA('N', MAPVK_VK_TO_VSC)) << 16;
              ::SetFocus(Window(form.Pages.hkHotKey));
              ::PostMessageA(Window(form.Pages.hkHotKey), WM_KEYDOWN, 'N', scanCode | 1);
              ::PostMessageA(Window(form.Pages.hkHotKey), WM_KEYUP, 'N', scanCode | static_cast<LPARAM>(0xC0000001u));
              return true;
            })
      .Then("a tray mode chosen",
            [&] {
              // The control's rules add Ctrl and Alt.
              if (HotKeyShown() != ('N' | (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8)) return false;
              EXPECT_TRUE(SaveWindowPng(form.Handle(), Shot("configure-tray-icon")));
              ::PostMessageA(Window(form.Pages.rbNoTrayTask), BM_CLICK, 0, 0);
              return true;
            })
      .Then("a function key pressed alone",
            [&] {
              if (!form.Pages.rbNoTrayTask.Checked()) return false;
              ::SetFocus(Window(form.Pages.hkHotKey));
              PostKey(Window(form.Pages.hkHotKey), VK_F5);
              return true;
            })
      .Then("the last page", [&] { return HotKeyShown() == VK_F5 && ShowPage(form, 2); })
      .Then("a show state picked",
            [&] {
              EXPECT_TRUE(SaveWindowPng(form.Handle(), Shot("configure-miscellaneous")));
              ::SetFocus(Window(form.Pages.cbShowState));
              PostKey(Window(form.Pages.cbShowState), VK_DOWN);
              PostKey(Window(form.Pages.cbShowState), VK_DOWN);
              return true;
            })
      .Then("Save pressed",
            [&] {
              if (form.Pages.cbShowState.ItemIndex() != 2) return false;
              ::PostMessageA(Window(form.btnOk), BM_CLICK, 0, 0);
              return true;
            })
      .Then("the note answered", [&] {
        HWND box = ::FindWindowA("#32770", Title);
        if (!box) return false;
        note = TextOf(::GetDlgItem(box, 0xFFFF));
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
      });
  driver.Start();
  EXPECT_EQ(mrOk, host_.ShowModal(form, nullptr));
  EXPECT_EQ("", driver.Failure());
  EXPECT_EQ("Please exit, and launch this\r\napplication again for changes\r\nto take place.", note);

  TRegistryEnhanced registry(platform_);
  TAppSettingsStore store(platform_, registry);
  const TEntrySlot slot = store.FindEntrySlot(opener_.target);
  ASSERT_TRUE(slot.Found) << "the entry is in the registry";
  TAppSettings loaded = DefaultAppSettings(opener_.target);
  store.LoadSettings(loaded);
  EXPECT_FALSE(loaded.MinimizeType);
  EXPECT_EQ("Untitled - Notes", loaded.WindowCaption);
  EXPECT_TRUE(loaded.NoTrayTask);
  EXPECT_FALSE(loaded.TrayTask);
  EXPECT_EQ(2, loaded.ShowState);
  EXPECT_EQ(VK_F5, loaded.HotKey) << "a function key stands alone";
}

}  // namespace
}  // namespace ombrix
