#include "platform/win32/Win32Clock.h"

#include "base/DateTime.h"
#include "base/SmallMap.h"

namespace ombrix::win32 {

namespace {

// Thread timers carry no context, so their handlers are found by timer id.
TSmallMap<UINT_PTR, std::function<void()>>& TimerHandlers() {
  static TSmallMap<UINT_PTR, std::function<void()>> handlers;
  return handlers;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  const std::function<void()>* found = TimerHandlers().Find(timer);
  if (!found) return;
  // A copy: the handler may kill its own timer.
  auto handler = *found;
  handler();
}

}  // namespace

TDateTime Win32Clock::Now() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return EncodeDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
}

void Win32Clock::Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }

void Win32MessagePump::ProcessMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave the quit request for the outer loop that owns it.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

void Win32MessagePump::WaitForMessages(DWORD timeoutMilliseconds) {
  ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMilliseconds, QS_ALLINPUT);
}

bool Win32MessagePump::MessagesWaiting() {
  // The high word: what is in the queue now, whether seen before or not.
  return HIWORD(::GetQueueStatus(QS_INPUT | QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE)) != 0;
}

UINT_PTR Win32MessagePump::SetTimer(UINT milliseconds, std::function<void()> onTick) {
  UINT_PTR timer = ::SetTimer(nullptr, 0, milliseconds, OnTimer);
  if (timer != 0) TimerHandlers().Set(timer, std::move(onTick));
  return timer;
}

void Win32MessagePump::KillTimer(UINT_PTR timer) {
  ::KillTimer(nullptr, timer);
  TimerHandlers().Erase(timer);
}

}  // namespace ombrix::win32
