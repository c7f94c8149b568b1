#pragma once
// Screenshots of windows for looking at the layout: what the screen shows of a window (its
// frame included), written as a PNG file.

#include <string>

#include "platform/WinDefs.h"

namespace ombrix::testing {

// Repaints the window and saves what the screen shows of it. False when nothing could be
// captured or written.
bool SaveWindowPng(HWND window, const std::string& path);

}  // namespace ombrix::testing
