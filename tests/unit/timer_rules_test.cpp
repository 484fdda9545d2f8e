// The timer rules every periodic job of the panel relies on, checked through
// the fake timer on simulated time.

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "support/FakeTimeline.h"
#include "support/FakeTimer.h"

namespace ondaris {
namespace {

class TimerRules : public ::testing::Test {
 protected:
  TimerRules() : timer(timeline, "test") {
    timer.onTimer = [this] { ticks.push_back(timeline.nowMs()); };
  }
  FakeTimeline timeline;
  FakeTimer timer;
  std::vector<std::int64_t> ticks;
};

TEST_F(TimerRules, CreatedDisabledWithOneSecondInterval) {
  EXPECT_FALSE(timer.enabled());
  EXPECT_EQ(timer.interval(), 1000);
  timeline.advanceBy(5000);
  EXPECT_TRUE(ticks.empty());
  EXPECT_FALSE(timer.armed());
}

TEST_F(TimerRules, EnabledTimerTicksEveryInterval) {
  timer.setInterval(200);
  timer.setEnabled(true);
  timeline.advanceBy(1000);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{200, 400, 600, 800, 1000}));
  EXPECT_EQ(timer.tickCount(), 5);
}

TEST_F(TimerRules, EnablingStartsAFullInterval) {
  timer.setInterval(200);
  timeline.advanceBy(350);
  timer.setEnabled(true);
  timeline.advanceBy(200);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{550}));
}

TEST_F(TimerRules, DisableAndEnableAgainRestartsTheInterval) {
  timer.setInterval(100);
  timer.setEnabled(true);
  timeline.advanceBy(60);
  timer.setEnabled(false);
  timer.setEnabled(true);
  timeline.advanceBy(150);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{160}));
}

TEST_F(TimerRules, DisabledTimerDeliversNothing) {
  timer.setInterval(100);
  timer.setEnabled(true);
  timeline.advanceBy(250);
  timer.setEnabled(false);
  timeline.advanceBy(1000);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{100, 200}));
  EXPECT_FALSE(timer.fireNow());
}

TEST_F(TimerRules, EnablingAnEnabledTimerDoesNotRestartIt) {
  timer.setInterval(100);
  timer.setEnabled(true);
  timeline.advanceBy(70);
  const int starts = timer.startCount();
  timer.setEnabled(true);
  EXPECT_EQ(timer.startCount(), starts);
  timeline.advanceBy(30);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{100}));
}

TEST_F(TimerRules, ChangingTheIntervalDisablesTheTimer) {
  timer.setInterval(100);
  timer.setEnabled(true);
  timeline.advanceBy(50);
  timer.setInterval(300);
  EXPECT_FALSE(timer.enabled());
  EXPECT_EQ(timer.interval(), 300);
  timeline.advanceBy(1000);
  EXPECT_TRUE(ticks.empty());
  timer.setEnabled(true);  // at 1050
  timeline.advanceBy(600);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1350, 1650}));
}

TEST_F(TimerRules, SettingTheSameIntervalChangesNothing) {
  timer.setInterval(100);
  timer.setEnabled(true);
  timeline.advanceBy(40);
  const int starts = timer.startCount();
  timer.setInterval(100);
  EXPECT_TRUE(timer.enabled());
  EXPECT_EQ(timer.startCount(), starts);
  timeline.advanceBy(60);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{100}));
}

TEST_F(TimerRules, IntervalZeroNeverTicks) {
  timer.setInterval(0);
  timer.setEnabled(true);
  EXPECT_TRUE(timer.enabled());
  EXPECT_FALSE(timer.armed());
  timeline.advanceBy(60000);
  EXPECT_TRUE(ticks.empty());
  EXPECT_FALSE(timer.fireNow());

  timer.setInterval(100);
  EXPECT_FALSE(timer.enabled());
  timer.setEnabled(true);
  timeline.advanceBy(100);
  EXPECT_EQ(ticks.size(), 1u);
}

TEST_F(TimerRules, TicksNeverOverlap) {
  // The handler runs a nested event loop (as a modal message box would) that
  // lasts longer than the interval.
  int depth = 0;
  int deepest = 0;
  timer.setInterval(100);
  timer.onTimer = [&] {
    ++depth;
    deepest = std::max(deepest, depth);
    ticks.push_back(timeline.nowMs());
    if (ticks.size() == 1) timeline.advanceBy(450);
    --depth;
  };
  timer.setEnabled(true);
  timeline.advanceBy(1000);
  EXPECT_EQ(deepest, 1);
  // Tick at 100 ran until 550; the next interval started there.
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{100, 650, 750, 850, 950}));
}

TEST_F(TimerRules, WakeUpDuringTheHandlerIsIgnored) {
  // A handler that restarts its own timer and then runs a nested loop: the
  // wake-up that falls inside the handler must not run the handler again.
  int depth = 0;
  int deepest = 0;
  timer.setInterval(100);
  timer.onTimer = [&] {
    ++depth;
    deepest = std::max(deepest, depth);
    ticks.push_back(timeline.nowMs());
    if (ticks.size() == 1) {
      timer.setEnabled(false);
      timer.setEnabled(true);
      timeline.advanceBy(250);
    }
    --depth;
  };
  timer.setEnabled(true);
  timeline.advanceBy(600);
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{100, 450, 550}));
}

TEST_F(TimerRules, HandlerCanStopItsTimer) {
  timer.setInterval(100);
  timer.onTimer = [&] {
    ticks.push_back(timeline.nowMs());
    timer.setEnabled(false);
  };
  timer.setEnabled(true);
  timeline.advanceBy(1000);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{100}));
  EXPECT_FALSE(timer.armed());
}

TEST_F(TimerRules, HandlerCanChangeTheIntervalAndGoOn) {
  timer.setInterval(100);
  timer.onTimer = [&] {
    ticks.push_back(timeline.nowMs());
    timer.setInterval(300);
    timer.setEnabled(true);
  };
  timer.setEnabled(true);
  timeline.advanceBy(1000);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{100, 400, 700, 1000}));
}

TEST_F(TimerRules, OtherTimersTickDuringALongHandler) {
  FakeTimer other(timeline, "other");
  std::vector<std::int64_t> otherTicks;
  other.onTimer = [&] { otherTicks.push_back(timeline.nowMs()); };
  other.setInterval(100);
  timer.setInterval(50);
  timer.onTimer = [&] {
    ticks.push_back(timeline.nowMs());
    if (ticks.size() == 1) timeline.advanceBy(300);
  };
  timer.setEnabled(true);
  other.setEnabled(true);
  timeline.advanceBy(400);
  EXPECT_EQ(otherTicks, (std::vector<std::int64_t>{100, 200, 300, 400}));
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{50, 400}));
}

TEST_F(TimerRules, ThrowingHandlerLeavesTheTimerRunning) {
  timer.setInterval(100);
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
}

TEST_F(TimerRules, FireNowDeliversTheArmedTick) {
  timer.setInterval(500);
  timer.setEnabled(true);
  timeline.advanceBy(10);
  EXPECT_TRUE(timer.fireNow());
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{10}));
  // A fresh interval follows the tick.
  EXPECT_EQ(timer.nextTickMs(), std::optional<std::int64_t>(510));
}

TEST_F(TimerRules, TimerWithoutHandlerStillRuns) {
  timer.onTimer = nullptr;
  timer.setInterval(100);
  timer.setEnabled(true);
  timeline.advanceBy(300);
  EXPECT_EQ(timer.tickCount(), 3);
}

TEST(FakeTimeline, RunsEventsInTimeOrderAndMovesTheClock) {
  FakeTimeline timeline(1000);
  std::vector<std::pair<int, std::int64_t>> runs;
  timeline.scheduleAt(1300, [&] { runs.push_back({3, timeline.nowMs()}); });
  timeline.scheduleAt(1100, [&] { runs.push_back({1, timeline.nowMs()}); });
  timeline.scheduleAt(1200, [&] { runs.push_back({2, timeline.nowMs()}); });
  timeline.scheduleAt(1200, [&] { runs.push_back({22, timeline.nowMs()}); });
  timeline.advanceBy(250);
  EXPECT_EQ(runs, (std::vector<std::pair<int, std::int64_t>>{{1, 1100}, {2, 1200}, {22, 1200}}));
  EXPECT_EQ(timeline.nowMs(), 1250);
  EXPECT_EQ(timeline.nextDueMs(), std::optional<std::int64_t>(1300));
}

TEST(FakeTimeline, CancelledEventsDoNotRun) {
  FakeTimeline timeline;
  int runs = 0;
  const auto id = timeline.scheduleIn(10, [&] { ++runs; });
  EXPECT_TRUE(timeline.isScheduled(id));
  timeline.cancel(id);
  EXPECT_FALSE(timeline.isScheduled(id));
  timeline.cancel(id);
  timeline.advanceBy(100);
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(timeline.scheduledCount(), 0u);
}

TEST(FakeTimeline, EventsScheduledByEventsRunInTheSameAdvance) {
  FakeTimeline timeline;
  std::vector<std::int64_t> runs;
  std::function<void()> again = [&] {
    runs.push_back(timeline.nowMs());
    timeline.scheduleIn(30, again);
  };
  timeline.scheduleIn(30, again);
  timeline.advanceBy(100);
  EXPECT_EQ(runs, (std::vector<std::int64_t>{30, 60, 90}));
}

TEST(FakeTimeline, PastEventsRunAtThePresentTime) {
  FakeTimeline timeline(500);
  std::int64_t ranAt = -1;
  timeline.scheduleAt(100, [&] { ranAt = timeline.nowMs(); });
  timeline.runDue();
  EXPECT_EQ(ranAt, 500);
}

TEST(FakeTimeline, AdvanceUntilStopsWhenTheConditionHolds) {
  FakeTimeline timeline;
  int runs = 0;
  std::function<void()> again = [&] {
    ++runs;
    timeline.scheduleIn(10, again);
  };
  timeline.scheduleIn(10, again);
  EXPECT_TRUE(timeline.advanceUntil([&] { return runs == 5; }, 1000));
  EXPECT_EQ(timeline.nowMs(), 50);
  EXPECT_FALSE(timeline.advanceUntil([&] { return runs == 1000; }, 100));
  EXPECT_EQ(timeline.nowMs(), 150);
}

}  // namespace
}  // namespace ondaris
