// The timer rules of the Timer base class every periodic job relies on, through the fake timer.

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "support/FakeTimeline.h"
#include "support/FakeTimer.h"

namespace ondaris {
namespace {

using Ticks = std::vector<std::int64_t>;

class TimerRules : public ::testing::Test {
 protected:
  TimerRules() {
    timer.onTimer = [this] { ticks.push_back(timeline.nowMs()); };
    timer.setInterval(100);
  }
  FakeTimeline timeline;
  FakeTimer timer{timeline, "test"};
  Ticks ticks;
};

TEST_F(TimerRules, EnablingStartsAFullIntervalDisablingStopsAndANewIntervalDisables) {
  FakeTimer fresh(timeline);  // created disabled, one second
  EXPECT_FALSE(fresh.enabled());
  EXPECT_EQ(fresh.interval(), 1000);
  timeline.advanceBy(50);
  timer.setEnabled(true);
  timeline.advanceBy(260);
  EXPECT_EQ(ticks, (Ticks{150, 250}));
  timer.setEnabled(true);  // already enabled: no restart
  timer.setInterval(100);  // the same interval changes nothing
  timeline.advanceBy(40);
  EXPECT_EQ(ticks, (Ticks{150, 250, 350}));
  timer.setEnabled(false);
  timer.setEnabled(true);  // restarts the interval
  timeline.advanceBy(150);
  EXPECT_EQ(ticks, (Ticks{150, 250, 350, 450}));
  timer.setInterval(300);
  EXPECT_FALSE(timer.enabled());
  timeline.advanceBy(1000);
  EXPECT_EQ(ticks.size(), 4u);
  timer.setEnabled(true);  // at 1500
  timeline.advanceBy(600);
  EXPECT_EQ(ticks, (Ticks{150, 250, 350, 450, 1800, 2100}));
  timer.setInterval(0);  // never ticks
  timer.setEnabled(true);
  EXPECT_TRUE(timer.enabled());
  EXPECT_FALSE(timer.armed());
  timeline.advanceBy(60000);
  EXPECT_EQ(ticks.size(), 6u);
}

TEST_F(TimerRules, TicksNeverOverlapAndTheNextIntervalStartsAfterTheHandler) {
  // The first handler restarts its own timer and runs a nested event loop (as
  // a modal message box would) longer than the interval.
  int depth = 0, deepest = 0;
  timer.onTimer = [&] {
    deepest = std::max(deepest, ++depth);
    ticks.push_back(timeline.nowMs());
    if (ticks.size() == 1) {
      timer.setEnabled(false);
      timer.setEnabled(true);
      timeline.advanceBy(450);
    }
    --depth;
  };
  timer.setEnabled(true);
  timeline.advanceBy(1000);
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(ticks, (Ticks{100, 650, 750, 850, 950}));
}

TEST_F(TimerRules, HandlerCanStopItsTimerOrChangeTheInterval) {
  timer.onTimer = [&] {
    ticks.push_back(timeline.nowMs());
    timer.setInterval(300);
    timer.setEnabled(ticks.size() < 3);
  };
  timer.setEnabled(true);
  timeline.advanceBy(2000);
  EXPECT_EQ(ticks, (Ticks{100, 400, 700}));
  EXPECT_FALSE(timer.armed());
}

TEST_F(TimerRules, ThrowingHandlerLeavesTheTimerRunning) {
  int calls = 0;
  timer.onTimer = [&] {
    if (++calls == 1) throw std::runtime_error("handler failed");
  };
  timer.setEnabled(true);
  EXPECT_THROW(timeline.advanceBy(100), std::runtime_error);
  EXPECT_FALSE(timer.ticking());
  EXPECT_TRUE(timer.armed());
  timeline.advanceBy(100);
  EXPECT_EQ(calls, 2);
  timer.onTimer = nullptr;  // a timer without a handler still runs
  timeline.advanceBy(100);
  EXPECT_EQ(timer.tickCount(), 3);
}

}  // namespace
}  // namespace ondaris
