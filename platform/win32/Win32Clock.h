#pragma once
// The clock, and the message pump with its timers, over the real API.

#include "platform/Clock.h"

namespace ombrix::win32 {

class Win32Clock : public IClock {
 public:
  TDateTime Now() override;
  void Sleep(DWORD milliseconds) override;
};

class Win32MessagePump : public IMessagePump {
 public:
  void ProcessMessages() override;
  void WaitForMessages(DWORD timeoutMilliseconds) override;
  bool MessagesWaiting() override;
  UINT_PTR SetTimer(UINT milliseconds, std::function<void()> onTick) override;
  void KillTimer(UINT_PTR timer) override;
};

}  // namespace ombrix::win32
