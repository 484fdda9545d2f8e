// The clock's tick through the panel's fakes: its texts in UTC, the work it
// runs each tick, second and minute, the meter report and the status line.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "common/Version.h"
#include "support/PanelFixture.h"
#include "timekeeping/ClockController.h"

namespace ondaris {
namespace {

class ClockControllerTest : public PanelFixture {
 protected:
  ClockControllerTest() {
    panel.setCaption(Ctl::StatusPanel, "");
    clockTimer.onTimer = [this] { controller.ClockTimerTimer(); };
    clockTimer.setInterval(100);
  }
  void startAt(const DateTime& utc) {
    clock.setUtc(utc);
    clockTimer.setEnabled(true);
  }
  void runMs(int ms) { timeline.advanceBy(ms); }

  ClockController controller{ctx};
};

TEST_F(ClockControllerTest, FirstTickSetsRunningFlagAndVersionInAnEmptyStatusLine) {
  startAt({2026, 3, 7, 12, 0, 0});
  runMs(99);
  EXPECT_FALSE(ctx.flags.ClockRunning);
  runMs(1);
  EXPECT_TRUE(ctx.flags.ClockRunning);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, std::string("Ondaris Version ") + ProgramVersion);
  panel.setCaption(Ctl::StatusPanel, "AM");  // a text is kept
  runMs(500);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "AM");
}

// The work of each tick, second and minute runs once per change, in tick
// order, and the clock's texts follow UTC, not local time.
TEST_F(ClockControllerTest, MinuteAndSecondWorkRunOncePerChangeInTickOrder) {
  std::vector<std::string> minutes, order;
  int seconds = 0, afterChecks = 0;
  DateTime seenLocal;
  controller.everyTick.push_back([&] { order.push_back("tick"); });
  controller.everyMinute.push_back([&](const DateTime& utc, const DateTime&) {
    minutes.push_back(std::to_string(utc.hour) + ":" + std::to_string(utc.minute) + "@" +
                      std::to_string(timeline.nowMs()));
    order.push_back("minute");
  });
  controller.everySecond.push_back([&](const DateTime&, const DateTime&) {
    ++seconds;
    order.push_back("second");
  });
  controller.afterTimeChecks.push_back([&](const DateTime&, const DateTime& local) {
    ++afterChecks;
    seenLocal = local;
    order.push_back("alarm");
  });
  controller.clockPanels.push_back([&](const std::string& text) { order.push_back("panel " + text); });
  clock.setLocalOffsetMinutes(-660);
  startAt({2026, 3, 7, 10, 58, 58});
  runMs(100);
  EXPECT_EQ(order, (std::vector<std::string>{"tick", "minute", "second", "alarm", "panel 10:58:58"}));
  EXPECT_EQ(std::tuple(seenLocal.day, seenLocal.hour), std::tuple(6, 23));
  EXPECT_EQ((std::vector<std::string>{panel[Ctl::TimePanel].caption, controller.displayText(),
                                      controller.utcTimeText(), controller.utcDateText()}),
            (std::vector<std::string>{"10:58:58", "10:58:58", "1058", "3/7/2026"}));
  // 30 ticks: 10:58:58.1 .. 10:59:01.0, then a whole further minute.
  runMs(2900);
  EXPECT_EQ(afterChecks, 30);
  EXPECT_EQ(seconds, 4);  // :58, :59, :00, :01
  runMs(60000);
  EXPECT_EQ(minutes, (std::vector<std::string>{"10:58@100", "10:59@2000", "11:0@62000"}));
  EXPECT_EQ(seconds, 64);
}

TEST_F(ClockControllerTest, MeterReportOnlyWhileRemoteControlOnAndNotShuttingDown) {
  std::vector<int> reports;
  controller.sendMeterReport = [&](int percent) { reports.push_back(percent); };
  panel.setValue(Ctl::Meter, 5000);  // without a hook the percentage comes from the meter
  startAt({2026, 3, 7, 1, 2, 3});
  runMs(300);
  EXPECT_TRUE(reports.empty());
  ctx.flags.RemoteControlOn = true;
  runMs(100);
  panel.setValue(Ctl::Meter, 10000);
  runMs(100);
  controller.meterPercent = [] { return 42; };
  runMs(100);
  EXPECT_EQ((std::vector<int>{49, 99, 42}), reports);
  ctx.flags.ShuttingDown = true;
  runMs(300);
  EXPECT_EQ(reports.size(), 3u);
}

TEST_F(ClockControllerTest, SchedulerArmedKeepsTheStatusLineUntilShuttingDown) {
  SchedulerClockStatus status;
  status.armed = true;
  controller.schedulerStatus = [&] { return status; };
  int panelWrites = 0;
  controller.clockPanels.push_back([&](const std::string&) { ++panelWrites; });
  startAt({2026, 3, 7, 1, 2, 3});
  runMs(100);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Scheduler Armed");
  panel.setCaption(Ctl::StatusPanel, "USB");  // another part writes to it
  runMs(100);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Scheduler Armed");
  status.armed = false;
  panel.setCaption(Ctl::StatusPanel, "LSB");
  runMs(100);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "LSB");
  status.armed = true;
  ctx.flags.ShuttingDown = true;
  panel.setCaption(Ctl::StatusPanel, "Shutting down...");
  const int writes = panelWrites;
  runMs(300);
  EXPECT_EQ(std::tuple(panelWrites, panel[Ctl::StatusPanel].caption), std::tuple(writes, "Shutting down..."));

  EXPECT_EQ(ClockController::SchedulerStatusText({}), "");
  EXPECT_EQ(ClockController::SchedulerStatusText({false, true, false, 930, 1000}), "Scheduled Broadcast  0930 - 1000");
  EXPECT_EQ(ClockController::SchedulerStatusText({false, true, true, 930, 1000}), "Recording Broadcast  0930 - 1000");
}

}  // namespace
}  // namespace ondaris
