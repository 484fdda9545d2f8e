#pragma once
// The clock tick (every 100 ms): the UTC display, the status line's version
// and scheduler texts, the meter report to the companion, and the moments the
// time-based parts of the program hang their work on (each UTC minute, each
// UTC second, every tick). Time comes only from the panel's Clock.

#include <functional>
#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"

namespace ondaris {

// What the scheduler reports to the clock for the status line.
struct SchedulerClockStatus {
  bool armed = false;        // waiting for its next entry
  bool broadcastOn = false;  // a scheduled broadcast holds the receiver
  bool recording = false;    // ... and is being recorded
  int startHHMM = 0;         // the broadcast's start and end, UTC
  int endHHMM = 0;
};

class ClockController {
 public:
  using TimeHook = std::function<void(const DateTime& utc, const DateTime& local)>;

  explicit ClockController(PanelContext& context);

  // The tick handler of ClockTimer.
  void ClockTimerTimer();

  // Refreshed on every tick; read by the log entry.
  const std::string& utcTimeText() const { return utcTimeText_; }  // HHMM
  const std::string& utcDateText() const { return utcDateText_; }  // m/d/yyyy
  const std::string& displayText() const { return displayText_; }  // HH:MM:SS

  // The text an empty status line gets.
  static std::string VersionText();

  // --- Hooks, filled by the parts that need the clock ---
  // The meter reading in percent for the companion (0..99); without it the
  // meter control's position is used.
  std::function<int()> meterPercent;
  // Sends the meter report to the companion.
  std::function<void(int percent)> sendMeterReport;
  // Every tick, before the time is read: a running manual recording shows
  // its time.
  std::vector<std::function<void()>> everyTick;
  // Once per UTC minute (the first tick of the minute): the on-air view, the
  // scheduler's minute check.
  std::vector<TimeHook> everyMinute;
  // Once per UTC second: timed recording, the highlight of the file buttons.
  std::vector<TimeHook> everySecond;
  // Every tick after the minute and second work: alarm clock and sleep timer.
  std::vector<TimeHook> afterTimeChecks;
  // Every tick unless shutting down: the clock panels of other windows.
  std::vector<std::function<void(const std::string& displayText)>> clockPanels;
  // The scheduler's state for the status line (absent: nothing scheduled).
  std::function<SchedulerClockStatus()> schedulerStatus;

  // The status-line text for a scheduler state; empty when the status line
  // is left alone.
  static std::string SchedulerStatusText(const SchedulerClockStatus& status);

 private:
  int MeterPercentNow() const;

  PanelContext& ctx_;
  int lastMinute_ = -1;
  int lastSecond_ = -1;
  std::string utcTimeText_;
  std::string utcDateText_;
  std::string displayText_;
};

}  // namespace ondaris
