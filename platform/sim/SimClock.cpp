#include "platform/sim/SimClock.h"

#include <algorithm>
#include <limits>

namespace ombrix::sim {

bool SimMessagePump::DeliverOne() {
  if (!posted_.empty()) {
    auto message = std::move(posted_.front());
    posted_.pop_front();
    message();
    return true;
  }
  for (auto& entry : timers_) {
    Timer& timer = entry.second;
    if (timer.due <= clock_.Elapsed()) {
      // Rescheduled before the handler runs: a nested loop inside the handler may see the
      // next tick, as on Windows.
      timer.due = clock_.Elapsed() + std::max<UINT>(timer.interval, 1);
      auto onTick = timer.onTick;
      onTick();
      return true;
    }
  }
  return false;
}

void SimMessagePump::ProcessMessages() {
  ++processCalls_;
  while (DeliverOne()) {
  }
}

unsigned long long SimMessagePump::NextDue() const {
  unsigned long long next = std::numeric_limits<unsigned long long>::max();
  for (const auto& entry : timers_) next = std::min(next, entry.second.due);
  return next;
}

void SimMessagePump::WaitForMessages(DWORD timeoutMilliseconds) {
  if (!posted_.empty()) return;
  const unsigned long long limit = clock_.Elapsed() + timeoutMilliseconds;
  const unsigned long long next = NextDue();
  const unsigned long long until = std::min(limit, next);
  if (until > clock_.Elapsed()) clock_.Advance(until - clock_.Elapsed());
}

UINT_PTR SimMessagePump::SetTimer(UINT milliseconds, std::function<void()> onTick) {
  const UINT_PTR id = nextTimer_++;
  timers_[id] = Timer{milliseconds, clock_.Elapsed() + std::max<UINT>(milliseconds, 1), std::move(onTick)};
  return id;
}

void SimMessagePump::KillTimer(UINT_PTR timer) { timers_.erase(timer); }

void SimMessagePump::RunFor(unsigned long long milliseconds) {
  const unsigned long long end = clock_.Elapsed() + milliseconds;
  ProcessMessages();
  while (clock_.Elapsed() < end) {
    WaitForMessages(static_cast<DWORD>(end - clock_.Elapsed()));
    ProcessMessages();
  }
}

}  // namespace ombrix::sim
