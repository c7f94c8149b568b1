#pragma once
// The test program's side of xdo-bridge.sh: real mouse clicks, key strokes and screenshots,
// made outside wine at the X display, asked for through files in the folder OMBRIX_XDO
// names. Every wait is bounded.

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace ombrix::testing {

class XdoBridge {
 public:
  // False when the program was not started through xdo-bridge.sh.
  bool Available() const { return std::getenv("OMBRIX_XDO") != nullptr; }

  bool Click(POINT at) { return Request("click " + Coordinates(at)); }
  bool CtrlClick(POINT at) { return Request("ctrlclick " + Coordinates(at)); }
  bool DoubleClick(POINT at) { return Request("doubleclick " + Coordinates(at)); }
  bool RightClick(POINT at) { return Request("rightclick " + Coordinates(at)); }
  // A right click on the first icon of wine's notification area.
  bool TrayRightClick() { return Request("trayrightclick"); }
  // The mouse rests on the first icon of wine's notification area, which shows its tip.
  bool TrayHover() { return Request("trayhover"); }
  // Types the text into the window that has the keyboard focus.
  bool Type(const std::string& text) { return Request("type " + text); }
  // xdotool key names, e.g. "Tab", "ctrl+a", "Down Return".
  bool Key(const std::string& keys) { return Request("key " + keys); }
  // The whole screen into a PNG file (a path wine sees, under Z:).
  bool Screenshot(const std::string& path) { return Request("shot " + path); }

  // The middle of a window on the screen.
  static POINT CenterOf(HWND window) {
    RECT area{};
    ::GetWindowRect(window, &area);
    return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
  }

 private:
  static std::string Coordinates(POINT at) { return std::to_string(at.x) + " " + std::to_string(at.y); }

  bool Request(const std::string& line) {
    const char* folder = std::getenv("OMBRIX_XDO");
    if (!folder) return false;
    const std::string request = std::string(folder) + "request";
    const std::string reply = std::string(folder) + "reply";
    {
      std::ofstream file(request + ".tmp", std::ios::binary);
      file << line;
    }
    if (!::MoveFileExA((request + ".tmp").c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
    for (int waited = 0; waited < 30000; waited += 20) {
      std::ifstream answer(reply);
      if (answer) {
        int status = -1;
        answer >> status;
        answer.close();
        ::DeleteFileA(reply.c_str());
        // Let the window that received the input act on it before the caller looks.
        ::Sleep(0);
        return status == 0;
      }
      ::Sleep(20);
    }
    return false;
  }
};

}  // namespace ombrix::testing
