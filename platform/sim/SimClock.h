#pragma once
// Virtual time and a message queue driven by it: Sleep advances the clock without
// dispatching; timers fire only when messages are processed, merged like WM_TIMER.

#include <deque>
#include <functional>
#include <map>

#include "platform/Clock.h"

namespace ombrix::sim {

class SimClock : public IClock {
 public:
  // 2026-12-07 09:00 local time, a Monday.
  static constexpr TDateTime DefaultStart = 46363.375;  // EncodeDateTime(2026, 12, 7, 9, 0, 0, 0)

  TDateTime Now() override { return start_ + static_cast<double>(elapsed_) / MillisecondsPerDay; }
  void Sleep(DWORD milliseconds) override { elapsed_ += milliseconds; }

  // Milliseconds since the simulation started.
  unsigned long long Elapsed() const { return elapsed_; }
  void Advance(unsigned long long milliseconds) { elapsed_ += milliseconds; }
  void SetNow(TDateTime now) {
    start_ = now;
    elapsed_ = 0;
  }

 private:
  TDateTime start_ = DefaultStart;
  unsigned long long elapsed_ = 0;
};

class SimMessagePump : public IMessagePump {
 public:
  explicit SimMessagePump(SimClock& clock) : clock_(clock) {}

  void ProcessMessages() override;
  void WaitForMessages(DWORD timeoutMilliseconds) override;
  // As Windows' GetQueueStatus asked for input, painting, posted and sent messages: what is
  // posted, or has arrived by now, counts; a timer that is due does not (QS_TIMER is its own).
  bool MessagesWaiting() override;
  UINT_PTR SetTimer(UINT milliseconds, std::function<void()> onTick) override;
  void KillTimer(UINT_PTR timer) override;

  // Queues work as a posted message would be.
  void Post(std::function<void()> message) { posted_.push_back(std::move(message)); }
  // Queues it `milliseconds` of virtual time from now, as the user's input arrives while the
  // thread is busy: it waits from then on, whatever the thread does meanwhile.
  void PostAfter(unsigned long long milliseconds, std::function<void()> message);
  // Runs the message loop for a stretch of virtual time, delivering every timer tick due.
  void RunFor(unsigned long long milliseconds);
  int ActiveTimerCount() const { return static_cast<int>(timers_.size()); }
  int ProcessMessagesCalls() const { return processCalls_; }

 private:
  struct Timer {
    UINT interval;
    unsigned long long due;
    std::function<void()> onTick;
  };
  bool DeliverOne();
  unsigned long long NextDue() const;
  // Moves what has arrived by now into the queue.
  void Arrive();

  SimClock& clock_;
  std::deque<std::function<void()>> posted_;
  std::deque<std::pair<unsigned long long, std::function<void()>>> arriving_;  // in time order
  std::map<UINT_PTR, Timer> timers_;
  UINT_PTR nextTimer_ = 1;
  int processCalls_ = 0;
};

}  // namespace ombrix::sim
