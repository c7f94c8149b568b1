// Ombrix.exe: starts the program named on the command line, keeps it in the notification
// area and ends when it does.

#include "controls/win32/Win32FormHost.h"
#include "platform/win32/Win32Platform.h"
#include "runtime/OmbrixMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace ombrix;
  win32::Win32Platform platform;
  win32::Win32FormHost host(platform, TVorel_Ombrix::HostOptions(platform));
  // An error escaping a window procedure must not unwind through the system: it is shown,
  // and the program goes on.
  platform.Input().SetProcedureErrorHandler([&platform](const std::exception& error) {
    platform.Dialogs().MessageBoxA(platform.Windows().GetDesktopWindow(), error.what(),
                                   TVorel_Ombrix::ApplicationTitleText, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  });

  TVorel_Ombrix form(platform, host);
  form.OnClosed = [] { ::PostQuitMessage(0); };
  if (!form.FormCreate(::GetCommandLineA())) return 0;

  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}
