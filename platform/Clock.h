#pragma once
// Clock and message pump: local time, sleeping, pending-message processing and timers.
// Kept behind one seam so that a test can run "a timer tick arrives while a question is
// open" deterministically over virtual time.

#include <functional>

#include "WinDefs.h"
#include "base/DateTime.h"

namespace ombrix {

class IClock {
 public:
  virtual ~IClock() = default;

  virtual TDateTime Now() = 0;
  // Blocks the thread; messages are not processed meanwhile.
  virtual void Sleep(DWORD milliseconds) = 0;
};

class IMessagePump {
 public:
  virtual ~IMessagePump() = default;

  // Dispatches every message pending for this thread, then returns.
  virtual void ProcessMessages() = 0;
  // Waits until a message is pending or the time has run out, without dispatching.
  virtual void WaitForMessages(DWORD timeoutMilliseconds) = 0;
  // Whether the user or another program waits on this thread: input, painting, a posted or
  // a sent message (timers do not count).
  virtual bool MessagesWaiting() = 0;

  // A thread timer: `onTick` runs from the message loop every `milliseconds`. Ticks that
  // fall due while the loop is busy are merged into one, as WM_TIMER is.
  virtual UINT_PTR SetTimer(UINT milliseconds, std::function<void()> onTick) = 0;
  virtual void KillTimer(UINT_PTR timer) = 0;
};

}  // namespace ombrix
