#include "timekeeping/ClockController.h"

#include "common/DateRoutines.h"
#include "common/Version.h"

namespace ondaris {

ClockController::ClockController(PanelContext& context) : ctx_(context) {}

std::string ClockController::VersionText() { return std::string("Ondaris Version ") + ProgramVersion; }

std::string ClockController::SchedulerStatusText(const SchedulerClockStatus& status) {
  if (status.broadcastOn) {
    const std::string times = FormatHHMM(status.startHHMM) + " - " + FormatHHMM(status.endHHMM);
    return (status.recording ? "Recording Broadcast  " : "Scheduled Broadcast  ") + times;
  }
  if (status.armed) return "Scheduler Armed";
  return {};
}

int ClockController::MeterPercentNow() const {
  if (meterPercent) return meterPercent();
  const ControlState& meter = ctx_.panel[Ctl::Meter];
  if (meter.maximum <= 0) return 0;
  int percent = static_cast<int>(99LL * meter.value / meter.maximum);
  if (percent > 100) percent = 99;
  return percent;
}

void ClockController::ClockTimerTimer() {
  ctx_.flags.ClockRunning = true;
  if (ctx_.panel[Ctl::StatusPanel].caption.empty()) ctx_.panel.setCaption(Ctl::StatusPanel, VersionText());

  if (ctx_.flags.RemoteControlOn && !ctx_.flags.ShuttingDown && sendMeterReport)
    sendMeterReport(MeterPercentNow());

  for (const auto& hook : everyTick)
    if (hook) hook();

  const DateTime utc = ctx_.clock.utcNow();
  const DateTime local = ctx_.clock.localNow();

  if (utc.minute != lastMinute_) {
    lastMinute_ = utc.minute;
    for (const auto& hook : everyMinute)
      if (hook) hook(utc, local);
  }
  if (utc.second != lastSecond_) {
    lastSecond_ = utc.second;
    for (const auto& hook : everySecond)
      if (hook) hook(utc, local);
  }
  for (const auto& hook : afterTimeChecks)
    if (hook) hook(utc, local);

  displayText_ = ClockDisplayText(utc);
  utcTimeText_ = UtcTimeText(utc);
  utcDateText_ = UtcDateText(utc);
  ctx_.panel.setCaption(Ctl::TimePanel, displayText_);

  if (ctx_.flags.ShuttingDown) return;
  for (const auto& panel : clockPanels)
    if (panel) panel(displayText_);
  if (schedulerStatus) {
    const std::string text = SchedulerStatusText(schedulerStatus());
    if (!text.empty()) ctx_.panel.setCaption(Ctl::StatusPanel, text);
  }
}

}  // namespace ondaris
