// OmbrixHub.exe: the control center. One window whose pages write shortcuts that start a
// target through Ombrix, add or remove the Explorer verb, and edit the stored settings.

#include "center/ControlCenter.h"
#include "controls/win32/Win32FormHost.h"
#include "platform/win32/Win32Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace ombrix;
  win32::Win32Platform platform;
  win32::Win32FormHost host(platform, TfrmMain::HostOptions(platform));
  platform.Input().SetProcedureErrorHandler([&platform](const std::exception& error) {
    platform.Dialogs().MessageBoxA(platform.Windows().GetDesktopWindow(), error.what(), TfrmMain::ApplicationTitleText,
                                   MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  });

  TfrmMain form(platform, host);
  // The main window's own modal loop is the program's message loop: closing it ends the
  // program.
  host.ShowModal(form, nullptr);
  return 0;
}
