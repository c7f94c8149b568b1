#pragma once
// Driving real forms under wine: input posted to the real controls from a timer of the
// form's own modal loop, the way a user's input arrives, and screenshots of what is shown.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/Form.h"
#include "platform/Platform.h"
#include "platform/WinDefs.h"

namespace ombrix::testing {

inline const char* const Title = "Ombrix forms test";

// Under Xvfb there is no window manager to draw frames, and wine waits for one each time a
// window is hidden. Wine draws the frames itself for programs it does not hand to a window
// manager: this test program asks for that (for itself only, in the project's own prefix)
// before its first window exists, so that the screenshots show title bars.
inline const bool DrawsItsOwnFrames = [] {
  if (!::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version")) return false;
  std::vector<char> path(MAX_PATH + 1, '\0');
  const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), MAX_PATH);
  std::string program(path.data(), length);
  program = program.substr(program.find_last_of("\\/") + 1);
  const std::string key = "Software\\Wine\\AppDefaults\\" + program + "\\X11 Driver";
  HKEY options = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &options, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  for (const char* name : {"Decorated", "Managed"})
    ::RegSetValueExA(options, name, 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
  ::RegCloseKey(options);
  return true;
}();

inline std::string Shot(const std::string& name) {
  ::CreateDirectoryA(OMBRIX_SCREENSHOT_DIR, nullptr);
  return std::string(OMBRIX_SCREENSHOT_DIR) + "/" + name + ".png";
}

inline std::string TextOf(HWND window) {
  std::vector<char> buffer(1024, '\0');
  const int length = ::GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

inline void PostKey(HWND target, WPARAM key) {
  ::PostMessageA(target, WM_KEYDOWN, key, 1);
  ::PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

inline void PostChars(HWND target, const std::string& text) {
  for (char c : text) ::PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
}

// `keys` are the keys held down meanwhile (MK_CONTROL, MK_SHIFT).
inline void PostClick(HWND target, const RECT& area, WPARAM keys = 0) {
  const LPARAM at = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
  ::PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
  ::PostMessageA(target, WM_LBUTTONUP, keys, at);
}

// Runs steps from a thread timer while the form is shown: a step that is not done yet
// returns false and is asked again at the next tick. After a bounded number of ticks the
// driver gives up, closes the form and reports where it stood.
class Driver {
 public:
  Driver(Platform& platform, TForm& form) : platform_(platform), form_(form) {}
  ~Driver() { Stop(); }

  Driver& Then(std::string what, std::function<bool()> step) {
    steps_.emplace_back(std::move(what), std::move(step));
    return *this;
  }
  void Start() {
    timer_ = platform_.Messages().SetTimer(20, [this] { Tick(); });
  }
  // Empty when every step was done.
  std::string Failure() const {
    if (!failure_.empty()) return failure_;
    return next_ < steps_.size() ? "the form closed before: " + steps_[next_].first : "";
  }

 private:
  void Stop() {
    if (timer_) platform_.Messages().KillTimer(timer_);
    timer_ = 0;
  }
  void Tick() {
    if (next_ >= steps_.size() || !form_.Handle() || !::IsWindowVisible(form_.Handle())) return;
    if (++ticks_ > 600) {
      failure_ = "gave up waiting for: " + steps_[next_].first;
      Stop();
      ::PostMessageA(form_.Handle(), WM_CLOSE, 0, 0);
      return;
    }
    // The step may open a nested loop (a message box): it must not run twice meanwhile.
    if (busy_) return;
    busy_ = true;
    const bool done = steps_[next_].second();
    busy_ = false;
    if (done && ++next_ == steps_.size()) Stop();
  }

  Platform& platform_;
  TForm& form_;
  std::vector<std::pair<std::string, std::function<bool()>>> steps_;
  std::size_t next_ = 0;
  int ticks_ = 0;
  bool busy_ = false;
  std::string failure_;
  UINT_PTR timer_ = 0;
};

}  // namespace ombrix::testing
