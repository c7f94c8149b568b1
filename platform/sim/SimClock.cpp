#include "platform/sim/SimClock.h"

#include <algorithm>
#include <limits>

namespace ombrix::sim {

void SimMessagePump::PostAfter(unsigned long long milliseconds, std::function<void()> message) {
  const unsigned long long at = clock_.Elapsed() + milliseconds;
  auto place = std::find_if(arriving_.begin(), arriving_.end(), [at](const auto& entry) { return entry.first > at; });
  arriving_.insert(place, {at, std::move(message)});
}

void SimMessagePump::Arrive() {
  while (!arriving_.empty() && arriving_.front().first <= clock_.Elapsed()) {
    posted_.push_back(std::move(arriving_.front().second));
    arriving_.pop_front();
  }
}

bool SimMessagePump::MessagesWaiting() {
  Arrive();
  return !posted_.empty();
}

bool SimMessagePump::DeliverOne() {
  Arrive();
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
  unsigned long long next =
      arriving_.empty() ? std::numeric_limits<unsigned long long>::max() : arriving_.front().first;
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
