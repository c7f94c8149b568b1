#pragma once
// Requests from outside to end the program that reach one of its hidden windows: a close
// request (taskkill without /f posts one to every top-level window of the process) and the
// end of the Windows session. The default procedure would only destroy the window that got
// it, and the program would live on without it.

#include "platform/WinDefs.h"

namespace ombrix {

// WM_CLOSE, WM_QUERYENDSESSION, and WM_ENDSESSION when the session does end.
inline bool IsEndRequest(UINT message, WPARAM wParam) {
  return message == WM_CLOSE || message == WM_QUERYENDSESSION || (message == WM_ENDSESSION && wParam != 0);
}

// The answer of a window that has handled the request: the session may end.
inline LRESULT EndRequestAnswer(UINT message) { return message == WM_QUERYENDSESSION ? TRUE : 0; }

}  // namespace ombrix
