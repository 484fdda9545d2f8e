#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "common/Version.h"
#include "support/FakeClock.h"
#include "support/FakeSerialPort.h"
#include "support/FakeTimeline.h"
#include "support/FakeTimer.h"
#include "support/ScriptedMessageBoxes.h"
#include "timekeeping/ClockController.h"

namespace ondaris {
namespace {

class ClockControllerTest : public ::testing::Test {
 protected:
  ClockControllerTest()
      : clock(timeline),
        port(&timeline),
        tuningTimer(timeline, "TuningTimer"),
        meterTimer(timeline, "MeterTimer"),
        scanTimer(timeline, "ScanTimer"),
        clockTimer(timeline, "ClockTimer"),
        debounceTimer(timeline, "DebounceTimer"),
        pumpTimer(timeline, "pump"),
        link(port, clock, pumpTimer),
        ctx{state, panel, link, PanelTimers{tuningTimer, meterTimer, scanTimer, clockTimer, debounceTimer},
            clock, messages, '.', {}, {}, {}, {}, {}, {}},
        controller(ctx) {
    panel.setCaption(Ctl::StatusPanel, "");
    clockTimer.onTimer = [this] { controller.ClockTimerTimer(); };
    clockTimer.setInterval(100);
  }

  void startAt(const DateTime& utc) {
    clock.setUtc(utc);
    clockTimer.setEnabled(true);
  }
  void runMs(int ms) { timeline.advanceBy(ms); }

  FakeTimeline timeline;
  FakeClock clock;
  FakeSerialPort port;
  FakeTimer tuningTimer, meterTimer, scanTimer, clockTimer, debounceTimer, pumpTimer;
  SerialLink link;
  ScriptedMessageBoxes messages;
  RadioState state;
  PanelModel panel;
  PanelContext ctx;
  ClockController controller;
};

TEST_F(ClockControllerTest, FirstTickSetsRunningFlagAndVersionInEmptyStatus) {
  EXPECT_FALSE(ctx.flags.ClockRunning);
  startAt({2026, 3, 7, 12, 0, 0});
  runMs(99);
  EXPECT_FALSE(ctx.flags.ClockRunning);
  runMs(1);
  EXPECT_TRUE(ctx.flags.ClockRunning);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, std::string("Ondaris Version ") + ProgramVersion);
  EXPECT_EQ(ClockController::VersionText(), std::string("Ondaris Version ") + ProgramVersion);
}

TEST_F(ClockControllerTest, StatusTextIsKeptWhenNotEmpty) {
  panel.setCaption(Ctl::StatusPanel, "AM");
  startAt({2026, 3, 7, 12, 0, 0});
  runMs(500);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "AM");
}

TEST_F(ClockControllerTest, TimePanelAndTextsFollowUtc) {
  startAt({2026, 3, 7, 7, 5, 9});
  runMs(100);
  EXPECT_EQ(panel[Ctl::TimePanel].caption, "07:05:09");
  EXPECT_EQ(controller.displayText(), "07:05:09");
  EXPECT_EQ(controller.utcTimeText(), "0705");
  EXPECT_EQ(controller.utcDateText(), "3/7/2026");
  runMs(1000);
  EXPECT_EQ(panel[Ctl::TimePanel].caption, "07:05:10");
}

TEST_F(ClockControllerTest, UsesUtcNotLocalTime) {
  clock.setLocalOffsetMinutes(120);
  startAt({2026, 3, 7, 22, 30, 0});
  runMs(100);
  EXPECT_EQ(panel[Ctl::TimePanel].caption, "22:30:00");
  EXPECT_EQ(controller.utcDateText(), "3/7/2026");
}

TEST_F(ClockControllerTest, MidnightRollsTextsToTheNewDate) {
  startAt({2026, 12, 31, 23, 59, 59});
  runMs(100);
  EXPECT_EQ(panel[Ctl::TimePanel].caption, "23:59:59");
  EXPECT_EQ(controller.utcTimeText(), "2359");
  EXPECT_EQ(controller.utcDateText(), "12/31/2026");
  runMs(1000);
  EXPECT_EQ(panel[Ctl::TimePanel].caption, "00:00:00");
  EXPECT_EQ(controller.utcTimeText(), "0000");
  EXPECT_EQ(controller.utcDateText(), "1/1/2027");
}

TEST_F(ClockControllerTest, MinuteAndSecondWorkRunOncePerChange) {
  std::vector<std::string> minutes;
  int seconds = 0;
  int afterChecks = 0;
  controller.everyMinute.push_back([&](const DateTime& utc, const DateTime&) {
    minutes.push_back(std::to_string(utc.hour) + ":" + std::to_string(utc.minute));
  });
  controller.everySecond.push_back([&](const DateTime&, const DateTime&) { ++seconds; });
  controller.afterTimeChecks.push_back([&](const DateTime&, const DateTime&) { ++afterChecks; });
  startAt({2026, 3, 7, 10, 58, 58});
  // 30 ticks: 10:58:58.1 .. 10:59:01.0
  runMs(3000);
  EXPECT_EQ(afterChecks, 30);
  EXPECT_EQ((std::vector<std::string>{"10:58", "10:59"}), minutes);
  EXPECT_EQ(seconds, 4);  // :58, :59, :00, :01
  // A whole further minute of ticks.
  runMs(60000);
  EXPECT_EQ((std::vector<std::string>{"10:58", "10:59", "11:0"}), minutes);
  EXPECT_EQ(seconds, 64);
}

TEST_F(ClockControllerTest, MinuteWorkFallsWithinATickOfTheMinute) {
  std::vector<std::int64_t> at;
  controller.everyMinute.push_back([&](const DateTime&, const DateTime&) { at.push_back(timeline.nowMs()); });
  startAt({2026, 3, 7, 10, 59, 59});  // timeline at 0 ms
  runMs(1200);
  ASSERT_EQ(at.size(), 2u);
  EXPECT_EQ(at[0], 100);   // the first tick
  EXPECT_EQ(at[1], 1000);  // the first tick of 11:00
}

TEST_F(ClockControllerTest, HooksRunInTickOrder) {
  std::vector<std::string> order;
  controller.everyTick.push_back([&] { order.push_back("tick"); });
  controller.everyMinute.push_back([&](const DateTime&, const DateTime&) { order.push_back("minute"); });
  controller.everySecond.push_back([&](const DateTime&, const DateTime&) { order.push_back("second"); });
  controller.afterTimeChecks.push_back([&](const DateTime&, const DateTime&) { order.push_back("alarm"); });
  controller.clockPanels.push_back([&](const std::string& text) { order.push_back("panel " + text); });
  controller.sendMeterReport = [&](int) { order.push_back("report"); };
  ctx.flags.RemoteControlOn = true;
  startAt({2026, 3, 7, 1, 2, 3});
  runMs(100);
  EXPECT_EQ((std::vector<std::string>{"report", "tick", "minute", "second", "alarm", "panel 01:02:03"}), order);
}

TEST_F(ClockControllerTest, LocalTimeIsHandedToTimeHooks) {
  DateTime seenLocal;
  controller.afterTimeChecks.push_back([&](const DateTime&, const DateTime& local) { seenLocal = local; });
  clock.setLocalOffsetMinutes(-300);
  startAt({2026, 3, 7, 3, 0, 0});
  runMs(100);
  EXPECT_EQ(seenLocal.day, 6);
  EXPECT_EQ(seenLocal.hour, 22);
}

TEST_F(ClockControllerTest, MeterReportOnlyWhileRemoteControlOnAndNotShuttingDown) {
  std::vector<int> reports;
  controller.sendMeterReport = [&](int percent) { reports.push_back(percent); };
  controller.meterPercent = [] { return 42; };
  startAt({2026, 3, 7, 1, 2, 3});
  runMs(300);
  EXPECT_TRUE(reports.empty());
  ctx.flags.RemoteControlOn = true;
  runMs(300);
  EXPECT_EQ((std::vector<int>{42, 42, 42}), reports);
  ctx.flags.ShuttingDown = true;
  runMs(300);
  EXPECT_EQ(reports.size(), 3u);
}

TEST_F(ClockControllerTest, MeterPercentFromTheMeterWithoutAHook) {
  std::vector<int> reports;
  controller.sendMeterReport = [&](int percent) { reports.push_back(percent); };
  ctx.flags.RemoteControlOn = true;
  panel.setRange(Ctl::Meter, 0, 10000);
  panel.setValue(Ctl::Meter, 5000);
  startAt({2026, 3, 7, 1, 2, 3});
  runMs(100);
  panel.setValue(Ctl::Meter, 10000);
  runMs(100);
  panel.setValue(Ctl::Meter, 0);
  runMs(100);
  EXPECT_EQ((std::vector<int>{49, 99, 0}), reports);
}

TEST(SchedulerStatusText, TextsForEachState) {
  SchedulerClockStatus s;
  EXPECT_EQ(ClockController::SchedulerStatusText(s), "");
  s.armed = true;
  EXPECT_EQ(ClockController::SchedulerStatusText(s), "Scheduler Armed");
  s.broadcastOn = true;
  s.startHHMM = 930;
  s.endHHMM = 1000;
  EXPECT_EQ(ClockController::SchedulerStatusText(s), "Scheduled Broadcast  0930 - 1000");
  s.recording = true;
  EXPECT_EQ(ClockController::SchedulerStatusText(s), "Recording Broadcast  0930 - 1000");
  s.armed = false;
  EXPECT_EQ(ClockController::SchedulerStatusText(s), "Recording Broadcast  0930 - 1000");
}

TEST_F(ClockControllerTest, SchedulerArmedKeepsTheStatusLine) {
  SchedulerClockStatus status;
  status.armed = true;
  controller.schedulerStatus = [&] { return status; };
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
}

TEST_F(ClockControllerTest, ShuttingDownStopsPanelsAndSchedulerTexts) {
  SchedulerClockStatus status;
  status.armed = true;
  controller.schedulerStatus = [&] { return status; };
  int panelWrites = 0;
  controller.clockPanels.push_back([&](const std::string&) { ++panelWrites; });
  ctx.flags.ShuttingDown = true;
  panel.setCaption(Ctl::StatusPanel, "Shutting down...");
  startAt({2026, 3, 7, 1, 2, 3});
  runMs(300);
  EXPECT_EQ(panelWrites, 0);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Shutting down...");
}

}  // namespace
}  // namespace ondaris
