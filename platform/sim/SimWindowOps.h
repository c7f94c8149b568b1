#pragma once
// Top-level windows of the simulated desktop, in Z order (topmost first).

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/WindowOps.h"
#include "platform/sim/SimCodePages.h"

namespace ombrix::sim {

// Where a program's image loads when nothing moves it: 0x400000 for a 32-bit program, above
// 4 GB for an x64 one, so a module handle read through 32 bits loses its top half there.
constexpr LONG_PTR DefaultImageBase =
    sizeof(void*) == 8 ? static_cast<LONG_PTR>(0x140000000ull) : static_cast<LONG_PTR>(0x00400000);

struct SimWindow {
  std::string caption;
  std::string className = "SimWindow";
  DWORD processId = 0;
  DWORD threadId = 0;
  bool visible = true;
  UINT showCmd = SW_SHOWNORMAL;  // 1 normal, 2 minimized, 3 maximized
  bool restoreToMaximized = false;
  // The window's program runs as administrator and this one does not: Windows lets a
  // program read such a window (text, placement, style, process) but not change it, so
  // ShowWindow and ShowWindowAsync fail with ERROR_ACCESS_DENIED and leave it as it is (as
  // for every window of a program started elevated, SimProgram::elevated).
  bool elevated = false;
  // What the window's procedure does with a message sent to it; when unset, WM_CLOSE
  // destroys the window and everything else returns 0.
  std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)> onMessage;
  // What GetWindowLongPtrA reports. WS_VISIBLE, WS_MINIMIZE and WS_MAXIMIZE are added to the
  // style from the window's state.
  LONG_PTR instance = DefaultImageBase;  // the module that made the window
  LONG_PTR owner = 0;                    // GWLP_HWNDPARENT of a top-level window is its owner
  LONG_PTR windowProc = 0;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  LONG style = WS_OVERLAPPEDWINDOW;
  LONG exStyle = WS_EX_WINDOWEDGE;
  // Its size in the normal state; the system's hidden helper windows have none.
  LONG width = 640;
  LONG height = 480;
  // DWMWA_CLOAKED: not 0 while the system keeps the window off the screen (a packaged app's
  // suspended frame, a window on another virtual desktop); it stays WS_VISIBLE meanwhile.
  DWORD cloaked = 0;
  // How often the window was asked to hide (ShowWindow with SW_HIDE), for the tests.
  int hideRequests = 0;
};

// A hot key held on the desktop: the window it reaches (nullptr: another program holds it),
// its id there, and the MOD_ flags and the key that press it.
struct SimHotKey {
  HWND window = nullptr;
  int id = 0;
  UINT modifiers = 0;
  UINT virtualKey = 0;
};

class SimWindowOps : public IWindowOps {
 public:
  explicit SimWindowOps(const SimCodePages& codePages = SimCodePages::Western()) : codePages_(codePages) {}

  HWND FindTopWindow() override;
  HWND FindWindowA(const std::string& className, const std::string& windowName) override;
  HWND GetWindow(HWND window, UINT command) override;
  std::string GetWindowTextA(HWND window, int capacity) override;
  LONG_PTR GetWindowLongPtrA(HWND window, int index) override;
  DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) override;
  BOOL IsWindow(HWND window) override;
  BOOL ShowWindow(HWND window, int command) override;
  BOOL ShowWindowAsync(HWND window, int command) override;
  // ShowWindow as the window's own program calls it: Windows isolates a window only from
  // programs running below its rights, never from its own (a program started as
  // administrator takes its start command as any other does).
  BOOL ShowOwnWindow(HWND window, int command);
  BOOL SetForegroundWindow(HWND window) override;
  void ShowOnCrash(std::size_t index, HWND window, int command) override {
    shownOnCrash_.resize(std::min(index, ShownOnCrashCapacity));
    if (window && index < ShownOnCrashCapacity) shownOnCrash_.push_back({window, command});
  }
  BOOL GetWindowPlacement(HWND window, WindowPlacementInfo& placement) override;
  HWND GetDesktopWindow() override;
  std::string GetClassNameA(HWND window) override;
  HRESULT DwmGetWindowAttribute(HWND window, DWORD attribute, DWORD& value) override;
  HWINEVENTHOOK SetWinEventHook(DWORD eventMin, DWORD eventMax, DWORD processId, WinEventProcedure procedure) override;
  BOOL UnhookWinEvent(HWINEVENTHOOK hook) override;
  // In the program's code page, on a Western European system.
  std::string CharUpperBuffA(const std::string& text) override;
  int CompareStringA(LCID locale, DWORD flags, const std::string& left, const std::string& right) override;
  BOOL RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtualKey) override;
  BOOL UnregisterHotKey(HWND window, int id) override;

  // Runs before every call, so that whatever is due on the virtual clock (the windows of
  // simulated programs) has happened before anyone looks at the desktop.
  void SetCatchUp(std::function<void()> catchUp) { catchUp_ = std::move(catchUp); }

  // Where the events of the hooks go: a message queue, since an out-of-context hook hears
  // of an event from its own message loop, after the event. Unset: at once.
  void SetEventQueue(std::function<void(std::function<void()>)> post) { post_ = std::move(post); }
  // Whether window events of other programs reach the hooks: Windows raises them; wine 8
  // raises almost none across processes, which false stands for (the hooks are still made).
  void SetWinEventsRaised(bool raised) { winEventsRaised_ = raised; }

  // Test controls. A new window goes on top of the Z order.
  HWND CreateTopWindow(const SimWindow& window);
  void DestroyWindow(HWND window);
  // The window's program changes its caption.
  void SetWindowTextA(HWND window, const std::string& caption);
  // Runs the window's procedure for a sent message (SendMessageA lands here).
  LRESULT DeliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  SimWindow* Find(HWND window);
  HWND Foreground() {
    CatchUp();
    return foreground_;
  }
  const std::vector<HWND>& ZOrder() {
    CatchUp();
    return zOrder_;
  }
  // Another program takes a hot key, as a program that starts before this one does.
  void HoldHotKey(UINT modifiers, UINT virtualKey) { hotKeys_.push_back({nullptr, 0, modifiers, virtualKey}); }
  // Every hot key held, in the order they were registered.
  const std::vector<SimHotKey>& HotKeys() const { return hotKeys_; }
  // The hot key that `virtualKey` presses with these modifiers held, or nullptr.
  const SimHotKey* HotKeyPressedBy(UINT modifiers, UINT virtualKey) const;
  // The program under test crashes: its crash handlers show what it asked for, each window
  // through ShowWindowAsync, which a crash cannot wait on.
  void Crash() {
    for (const auto& [window, command] : shownOnCrash_) ShowWindowAsync(window, command);
  }
  // Says whether a process runs at higher rights (integrity) than the program under test.
  // Windows isolates such a process's windows from it: ShowWindow changes nothing and fails
  // with ERROR_ACCESS_DENIED, and its messages from WM_USER up and WM_CLOSE are dropped.
  void SetIsolation(std::function<bool(DWORD processId)> isolated) { isolated_ = std::move(isolated); }
  // Whether `window` belongs to such a process.
  bool Isolated(HWND window);
  // Runs `meanwhile` once, inside the next ShowWindow, after the window has changed and
  // before the call returns. ShowWindow on another thread's window is a message sent to
  // that thread; while the caller waits for it, Windows has it answer the messages sent to
  // it (an end request from a log-off or an installer), and the call returns only after.
  void DuringNextShowWindow(std::function<void()> meanwhile) { duringShowWindow_ = std::move(meanwhile); }

 private:
  void CatchUp() {
    if (catchUp_) catchUp_();
  }
  SimWindow* Lookup(HWND window);
  // Tells the hooks that ask for `event` of the window's process; they hear of it from the
  // message queue.
  void RaiseWinEvent(DWORD event, HWND window, DWORD processId);

  struct WinEventHook {
    HWINEVENTHOOK handle;
    DWORD eventMin;
    DWORD eventMax;
    DWORD processId;  // 0: every process
    WinEventProcedure procedure;
  };

  const SimCodePages& codePages_;
  std::function<void()> catchUp_;
  std::function<bool(DWORD processId)> isolated_;
  std::function<void()> duringShowWindow_;
  std::map<ULONG_PTR, SimWindow> windows_;
  std::vector<HWND> zOrder_;
  ULONG_PTR nextHandle_ = 0x20000;
  HWND foreground_ = nullptr;
  std::vector<SimHotKey> hotKeys_;
  std::vector<std::pair<HWND, int>> shownOnCrash_;
  std::function<void(std::function<void()>)> post_;
  bool winEventsRaised_ = true;
  std::vector<WinEventHook> hooks_;
  ULONG_PTR nextHook_ = 0x1;
};

}  // namespace ombrix::sim
