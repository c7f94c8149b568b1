// What the clock, the message pump and timers must do, on both backends.

#include "base/DateTime.h"
#include "platform/MiscUtils.h"
#include "tests/contract/ContractFixture.h"

namespace ombrix::contract {
namespace {

class ClockContract : public ContractTest {};

TEST_F(ClockContract, SleepMovesTheClock) {
  IClock& clock = platform_->Clock();
  const TDateTime before = clock.Now();
  clock.Sleep(60);
  const double elapsed = (clock.Now() - before) * MillisecondsPerDay;
  // The local clock ticks in steps of up to about 16 ms on Windows.
  EXPECT_GE(elapsed, 40.0);
  EXPECT_LT(elapsed, 60000.0);
}

TEST_F(ClockContract, TimersTickOnlyWhileMessagesAreProcessed) {
  IMessagePump& pump = platform_->Messages();
  int ticks = 0;
  const UINT_PTR timer = pump.SetTimer(20, [&] { ++ticks; });
  ASSERT_NE(0u, timer);

  platform_->Clock().Sleep(100);
  EXPECT_EQ(0, ticks) << "a blocked thread gets no timer calls";
  pump.ProcessMessages();
  EXPECT_EQ(1, ticks) << "ticks that fell due meanwhile arrive as one";

  PauseWithMessages(*platform_, 300);
  EXPECT_GE(ticks, 3);

  pump.KillTimer(timer);
  const int stopped = ticks;
  PauseWithMessages(*platform_, 100);
  EXPECT_EQ(stopped, ticks);
}

TEST_F(ClockContract, PauseLastsAtLeastItsTime) {
  const TDateTime before = platform_->Clock().Now();
  PauseWithMessages(*platform_, 150);
  EXPECT_GT(TimeToMilliseconds(platform_->Clock().Now() - before), 150);
}

}  // namespace
}  // namespace ombrix::contract
