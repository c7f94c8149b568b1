// OmbrixTarget.exe: a small GUI program that opens the top-level windows its command line
// asks for, so that the tests can start a real program and find, hide, show and close its
// windows the way Ombrix does with any other program.
//
//   OmbrixTarget.exe [option ...]
//
// Options are separated by blanks. A double quote opens or closes a run in which blanks do
// not separate, and is dropped: "/window=Two words" is one option.
//
//   /window=CAPTION     a top-level window on the main thread; repeatable, opened in order
//   /thread=CAPTION     a top-level window on a second thread; repeatable, all on that thread
//   /count=N            every /window and /thread window is opened N times over (default 1):
//                       /window=A /window=B /count=2 opens A, B, A, B
//   /delay=MS           the windows open MS milliseconds after the start
//   /refuseclose        the windows ignore WM_CLOSE
//   /rename=MS:CAPTION  MS milliseconds after the start the first main-thread window is
//                       captioned CAPTION
//   /exit=MS            the program ends MS milliseconds after the start
//   /child=OPTIONS      starts another OmbrixTarget.exe with OPTIONS; quote the whole option
//                       when OPTIONS has blanks, and write the child's own double quotes
//                       as single quotes: "/child=/window=Kid '/thread=Two words'"
//   /passshow           each /child starts with the start-up information this program got,
//                       its show command included, as launchers pass theirs on
//   /handover=CAPTION   when another OmbrixTarget.exe runs, asks it to open a window
//                       captioned CAPTION and ends at once, as a single-instance program
//                       passes its command on; otherwise opens its windows as asked
//
// Without /window and /thread one window captioned "OmbrixTarget" opens. Main-thread windows
// open before those of the second thread; each new window goes on top of the others. The
// first window shown takes the show state the program was started with. The program ends
// when its last window has been closed. An unknown option ends it at once with exit code 2.

#include <windows.h>

#include <string>

#include "tests/target/TargetOptions.h"

namespace {

using ombrix::target::TargetOptions;

const char WindowClass[] = "OmbrixTargetWindow";

TargetOptions options;
DWORD mainThreadId = 0;
volatile LONG liveWindows = 0;
HWND firstMainWindow = nullptr;
int startShow = SW_SHOWDEFAULT;
bool shownOnce = false;
// Thread timers get their ids from the system.
UINT_PTR openTimer = 0;
UINT_PTR renameTimer = 0;
UINT_PTR exitTimer = 0;
bool renameDue = false;

HWND OpenWindow(const std::string& caption);

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (!options.refuseClose) ::DestroyWindow(window);
      return 0;
    case WM_COPYDATA: {
      // A copy started later hands its command over: the window it asks for opens here.
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      OpenWindow(std::string(static_cast<const char*>(data->lpData), data->cbData));
      return TRUE;
    }
    case WM_DESTROY:
      if (::InterlockedDecrement(&liveWindows) == 0) ::PostThreadMessageA(mainThreadId, WM_QUIT, 0, 0);
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND OpenWindow(const std::string& caption) {
  HWND window = ::CreateWindowExA(0, WindowClass, caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  360, 200, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  ::InterlockedIncrement(&liveWindows);
  // The first call passes on how the program was started (a shortcut's "run minimized").
  ::ShowWindow(window, shownOnce ? SW_SHOW : startShow);
  shownOnce = true;
  ::UpdateWindow(window);
  return window;
}

DWORD WINAPI SecondThread(LPVOID) {
  for (unsigned round = 0; round < options.count; ++round) {
    for (const std::string& caption : options.threadWindows) OpenWindow(caption);
  }
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}

void Rename() {
  if (firstMainWindow) {
    ::SetWindowTextA(firstMainWindow, options.renamedCaption.c_str());
  } else {
    renameDue = true;  // the windows are not open yet
  }
}

void OpenAllWindows() {
  for (unsigned round = 0; round < options.count; ++round) {
    for (const std::string& caption : options.MainWindows()) {
      HWND window = OpenWindow(caption);
      if (!firstMainWindow) firstMainWindow = window;
    }
  }
  if (renameDue) Rename();
  if (!options.threadWindows.empty()) {
    // The second thread's windows come after the main thread's.
    HANDLE thread = ::CreateThread(nullptr, 0, SecondThread, nullptr, 0, nullptr);
    if (thread) ::CloseHandle(thread);
  }
}

void StartChild(const std::string& childOptions) {
  std::string self(MAX_PATH, '\0');
  self.resize(::GetModuleFileNameA(nullptr, &self[0], MAX_PATH));
  std::string commandLine = "\"" + self + "\" " + childOptions;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (options.passShow) ::GetStartupInfoA(&startup);
  PROCESS_INFORMATION created{};
  if (::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &created)) {
    ::CloseHandle(created.hThread);
    ::CloseHandle(created.hProcess);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  options = ombrix::target::ParseTargetCommandLine(::GetCommandLineA());
  if (!options.error.empty()) return 2;
  mainThreadId = ::GetCurrentThreadId();
  startShow = showCommand;

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = WindowClass;
  if (!::RegisterClassA(&windowClass)) return 1;

  if (!options.handOver.empty()) {
    HWND running = ::FindWindowA(WindowClass, nullptr);
    if (running) {
      COPYDATASTRUCT data{};
      data.cbData = static_cast<DWORD>(options.handOver.size());
      data.lpData = const_cast<char*>(options.handOver.data());
      ::SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
      return 0;
    }
  }

  for (const std::string& child : options.children) StartChild(child);
  if (options.renameAfter) renameTimer = ::SetTimer(nullptr, 0, *options.renameAfter, nullptr);
  if (options.exitAfter) exitTimer = ::SetTimer(nullptr, 0, *options.exitAfter, nullptr);
  if (options.delay > 0) {
    // Opened from the message loop, so that the program is idle while it waits.
    openTimer = ::SetTimer(nullptr, 0, options.delay, nullptr);
  } else {
    OpenAllWindows();
  }

  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!message.hwnd && message.message == WM_TIMER) {
      const UINT_PTR timer = message.wParam;
      ::KillTimer(nullptr, timer);
      if (timer == openTimer) OpenAllWindows();
      if (timer == renameTimer) Rename();
      if (timer == exitTimer) break;
      continue;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}
