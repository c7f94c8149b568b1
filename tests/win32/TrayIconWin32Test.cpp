// The tray icon in wine's real notification area. A user's clicks cannot be made from inside
// wine, so tray-click.sh makes them: this program adds its icon and leaves a "ready" file in
// the folder named by OMBRIX_TRAY_HANDSHAKE; the script then double-clicks, right-clicks and
// clicks the icon with xdotool and leaves "clicked" (or "failed" with the reason). Every wait
// is bounded.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/Win32Icons.h"
#include "platform/win32/Win32Platform.h"
#include "runtime/TrayIcon.h"

namespace ombrix {
namespace {

// The program's own icons service.
using RealIcons = win32::Win32Icons;

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadText(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The callback messages that reach the icon's window, seen before its own procedure runs.
struct Recorder {
  static std::vector<QueuedMessage>* seen;
  static WNDPROC original;
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TTrayIcon::CallbackMessage && seen) seen->push_back(QueuedMessage{window, message, wParam, lParam});
    return ::CallWindowProcA(original, window, message, wParam, lParam);
  }
};
std::vector<QueuedMessage>* Recorder::seen = nullptr;
WNDPROC Recorder::original = nullptr;

// The events of version 4's callbacks: the low word of lParam.
std::vector<UINT> ButtonEvents(const std::vector<QueuedMessage>& seen) {
  std::vector<UINT> events;
  for (const QueuedMessage& m : seen) {
    if (LOWORD(m.lParam) != WM_MOUSEMOVE) events.push_back(LOWORD(m.lParam));
  }
  return events;
}

TEST(RealTray, ClicksOnTheIconArriveAsItsCallbacks) {
  const char* folderVariable = std::getenv("OMBRIX_TRAY_HANDSHAKE");
  ASSERT_NE(nullptr, folderVariable) << "run through tests/win32/tray-click.sh, which clicks the icon";
  const std::string folder = folderVariable;

  std::vector<QueuedMessage> seen;
  std::vector<std::string> events;
  ScreenPoint rightClickAt;
  win32::Win32Platform platform;
  RealIcons icons;
  TTrayIcon tray(platform, icons);
  tray.SetIcon(icons.LoadStandardIcon(32512), true);
  tray.SetToolTip("Ombrix tray test");
  tray.SetId(0xB00C);  // above 0x7FFF: the high word carries it unsigned
  tray.OnClick = [&](TTrayIcon&) { events.push_back("click"); };
  tray.OnDblClick = [&](TTrayIcon&) { events.push_back("dblclick"); };
  tray.OnRightClick = [&](TTrayIcon&, TTrayIcon::TMouseButton button, TTrayIcon::TShiftState shift, int x, int y) {
    events.push_back(button == TTrayIcon::TMouseButton::kRight && shift == 0 ? "right" : "wrong right");
    rightClickAt = ScreenPoint{x, y};
  };
  Recorder::seen = &seen;
  Recorder::original = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(tray.WindowHandle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Recorder::Procedure)));

  tray.SetActive(true);
  ASSERT_TRUE(platform.Shell().Shell_NotifyIconA(NIM_MODIFY, tray.Record())) << "the shell has no such icon";
  ASSERT_EQ(static_cast<UINT>(NOTIFYICON_VERSION_4), tray.Version()) << "wine's tray speaks version 4";
  std::ofstream(folder + "ready").close();

  // Each release comes twice: the mouse's own event, then its version-4 twin.
  const std::vector<UINT> expected = {WM_LBUTTONDOWN, WM_LBUTTONUP,   NIN_SELECT,     WM_LBUTTONDBLCLK,
                                      WM_LBUTTONUP,   NIN_SELECT,     WM_RBUTTONDOWN, WM_RBUTTONUP,
                                      WM_CONTEXTMENU, WM_LBUTTONDOWN, WM_LBUTTONUP,   NIN_SELECT};
  const DWORD deadline = ::GetTickCount() + 60000;
  while (ButtonEvents(seen).size() < expected.size() && !Exists(folder + "failed") &&
         static_cast<LONG>(deadline - ::GetTickCount()) > 0) {
    platform.Messages().WaitForMessages(100);
    platform.Messages().ProcessMessages();
  }
  ASSERT_FALSE(Exists(folder + "failed")) << ReadText(folder + "failed");
  EXPECT_EQ(expected, ButtonEvents(seen))
      << (Exists(folder + "clicked") ? "clicked, " : "never clicked, ") << "messages seen: " << seen.size();
  for (const QueuedMessage& m : seen) EXPECT_EQ(0xB00Cu, HIWORD(m.lParam)) << "the high word is the icon's id";
  // One toggle per click, one menu per right click, although each release came twice.
  EXPECT_EQ((std::vector<std::string>{"click", "dblclick", "click", "right", "click"}), events);

  RECT area{};
  HWND trayWindow = ::FindWindowA(nullptr, "Wine System Tray");
  ASSERT_TRUE(trayWindow && ::GetWindowRect(trayWindow, &area));
  const POINT at{rightClickAt.x, rightClickAt.y};
  EXPECT_TRUE(::PtInRect(&area, at)) << "right click reported at " << at.x << "," << at.y;

  tray.SetToolTip("Ombrix tray test: changed");
  EXPECT_TRUE(platform.Shell().Shell_NotifyIconA(NIM_MODIFY, tray.Record()));
  tray.SetActive(false);
  EXPECT_FALSE(platform.Shell().Shell_NotifyIconA(NIM_MODIFY, tray.Record())) << "the icon should be gone";
  Recorder::seen = nullptr;
}

// A window station of its own has no taskbar, as wine without a display has none: the shell
// refuses every call, and the icon must take that without harm.
TEST(RealTray, WithoutATaskbarTheShellRefusesAndNothingBreaks) {
  std::thread([] {
    HWINSTA original = ::GetProcessWindowStation();
    HWINSTA station = ::CreateWindowStationA("OmbrixNoTaskbar", 0, GENERIC_ALL, nullptr);
    ASSERT_NE(nullptr, station);
    ::SetProcessWindowStation(station);
    HDESK desktop = ::CreateDesktopA("OmbrixNoTaskbar", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    const bool onDesktop = desktop && ::SetThreadDesktop(desktop);
    if (onDesktop) {
      win32::Win32Platform platform;
      RealIcons icons;
      auto tray = std::make_unique<TTrayIcon>(platform, icons);
      EXPECT_NE(nullptr, tray->WindowHandle());
      tray->SetIcon(icons.LoadStandardIcon(32512), true);
      tray->SetActive(true);  // with an empty tip: the tip is posted again, to a refusing shell
      platform.Messages().ProcessMessages();
      tray->SetToolTip("No taskbar");
      EXPECT_TRUE(tray->Active()) << "the icon stays meant to be present";
      EXPECT_FALSE(platform.Shell().Shell_NotifyIconA(NIM_ADD, tray->Record())) << "no taskbar to add to";
      tray.reset();
    }
    ::SetProcessWindowStation(original);
    if (desktop) ::CloseDesktop(desktop);
    ::CloseWindowStation(station);
    EXPECT_TRUE(onDesktop) << "no desktop of its own";
  }).join();
}

}  // namespace
}  // namespace ombrix
