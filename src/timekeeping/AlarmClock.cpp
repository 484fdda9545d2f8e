#include "timekeeping/AlarmClock.h"

#include <algorithm>
#include <cstdio>

#include "common/AtomicFile.h"
#include "common/DateRoutines.h"
#include "common/TextHelpers.h"
#include "platform/Audio.h"
#include "radio/Receiver.h"
#include "radio/TuningController.h"

namespace ondaris {

namespace {

std::string TwoDigits(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

// The combo boxes only offer their items, so anything else reads as absent.
int ComboNumber(const std::string& text) {
  if (text.empty() || text.size() > 4) return -1;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

AlarmClock::AlarmClock(PanelContext& context, Receiver& receiver, TuningController& tuning, SoundPlayer& player,
                       std::string programDir)
    : ctx_(context), receiver_(receiver), tuning_(tuning), player_(player), programDir_(std::move(programDir)) {
  for (int h = 0; h < 24; ++h) dlg.HourItems.push_back(TwoDigits(h));
  for (int m = 0; m < 60; m += 5) dlg.MinuteItems.push_back(TwoDigits(m));
  dlg.UTCItems = {"UTC", "Local"};
}

// ---- Start-up and exit -------------------------------------------------------

void AlarmClock::LoadSettings() {
  sleepMinutes_ = sleepDuration_ = sleepElapsed_ = 0;
  sleepLastMinute_ = -1;
  alarmFired_ = alarmSounding_ = testPlaying_ = secondAlarmArmed_ = false;
  secondAlarmTime_ = 0;
  settings = ClockRadioSettings{};
  settings = ReadClockRadioDat(programDir_, ctx_.messages);
}

void AlarmClock::ArmAfterLoading() {
  if (settings.AlarmMode > 0) SetArmed(true);
}

void AlarmClock::SaveSettings() const { WriteClockRadioDat(programDir_, settings); }

bool AlarmClock::AlarmWavExists() const { return FileExists(AlarmWavPath()); }

void AlarmClock::SetArmed(bool armed) {
  const std::uint8_t value = armed ? 1 : 0;
  if (ctx_.state.AlarmArmed == value) return;
  ctx_.state.AlarmArmed = value;
  receiver_.ShowFrequency();
}

void AlarmClock::DisarmUnlessSleeping() {
  if (sleepMinutes_ == 0) SetArmed(false);
}

// ---- The dialog ---------------------------------------------------------------

std::string AlarmClock::SleepText(int minutes) const {
  if (minutes == 0) return "Off";
  if (sleepMinutes_ == minutes && sleepDuration_ > 0) return std::to_string(SleepMinutesLeft());
  return std::to_string(minutes);
}

void AlarmClock::FillDialog() {
  dlg.HourText = dlg.MinuteText = dlg.UTCText = dlg.TimePanel = "";
  dlg.SleepButton = sleepMinutes_;
  dlg.SleepPanel = sleepDuration_ > 0 ? std::to_string(SleepMinutesLeft()) : "Off";
  dlg.ModeButton = std::clamp(settings.AlarmMode, 0, 3);
  const int t = settings.AlarmTime;
  dlg.HourText = TwoDigits(t / 100);
  dlg.MinuteText = TwoDigits(t % 100);
  dlg.UTCText = settings.AlarmUsesUTC ? "UTC" : "Local";
  dlg.TimePanel = dlg.HourText + dlg.MinuteText + " " + (settings.AlarmUsesUTC ? "UTC" : " Local");
  dlg.StationEdit =
      settings.AlarmStation.valid ? FormatFrequency(3, true, settings.AlarmStation.freq, ctx_.decimalSeparator)
                                  : "<none>";
}

void AlarmClock::TimePanelClick() {
  FillDialog();
  alarmFired_ = false;
  if (showDialog) showDialog();
}

void AlarmClock::ShowDialogUnlessOpen() {
  if (dialogOpen) return;
  // Opened by the alarm: the fields show the settings, and the alarm stays fired.
  FillDialog();
  if (showDialog) showDialog();
}

void AlarmClock::ComboChange() { dlg.TimePanel = dlg.HourText + dlg.MinuteText + " " + dlg.UTCText; }

void AlarmClock::SleepBtnClick(int minutes) {
  dlg.SleepButton = minutes;
  dlg.SleepPanel = SleepText(minutes);
}

void AlarmClock::StoreBtnClick() {
  settings.AlarmStation = ctx_.state.CurrentTuningRecord();
  settings.AlarmStation.valid = true;
  settings.AlarmStation.spkrMute = ctx_.state.SpkrMute;
  settings.AlarmStation.lineMute = ctx_.state.LineMute;
  dlg.StationEdit = FormatFrequency(3, true, settings.AlarmStation.freq, ctx_.decimalSeparator);
}

void AlarmClock::TestBtnClick() {
  if (!AlarmWavExists()) {
    ctx_.messages.showMessage(NoAlarmWavMessage);
    return;
  }
  dlg.TestBtnRed = true;
  testPlaying_ = true;
  PlayAlarmSound();
}

void AlarmClock::PlayAlarmSound() {
  std::string error;
  if (!player_.play(AlarmWavPath(), true, error)) ctx_.ReportError(error);
  alarmSounding_ = true;
  dlg.SilenceBtnRed = true;
}

void AlarmClock::SilenceBtnClick() {
  player_.stopAll();
  testPlaying_ = alarmSounding_ = alarmFired_ = secondAlarmArmed_ = false;
  dlg.TestBtnRed = dlg.SilenceBtnRed = false;
}

void AlarmClock::CancelBtnClick() {}

bool AlarmClock::OKBtnClick() {
  const int hour = ComboNumber(dlg.HourText);
  const int minute = ComboNumber(dlg.MinuteText);
  if (hour >= 0) {
    settings.AlarmTime = std::min(hour, 23) * 100;
    if (minute >= 0) settings.AlarmTime += std::min(minute, 59);
  }
  settings.AlarmUsesUTC = dlg.UTCText == "UTC" ? 1 : 0;
  dlg.TimePanel = FormatHHMM(settings.AlarmTime) + (settings.AlarmUsesUTC ? " UTC" : " Local");

  const int choice = dlg.SleepButton;
  if (choice != sleepMinutes_) {
    sleepMinutes_ = choice;
    sleepElapsed_ = 0;
    if (choice == 0) {
      sleepDuration_ = 0;
      sleepLastMinute_ = -1;
      if (settings.AlarmMode == 0) SetArmed(false);
    } else {
      SetArmed(true);
      sleepDuration_ = choice;
      // Counting starts with the next change of the minute.
      sleepLastMinute_ = ctx_.clock.utcNow().minute;
    }
  }

  if (dlg.ModeButton != 0) {
    SetArmed(true);
    const int mode = dlg.ModeButton;
    if (mode != 2 && !AlarmWavExists()) {
      ctx_.messages.showMessage(NoAlarmWavMessage);
      settings.AlarmMode = 0;
      dlg.ModeButton = 0;
      DisarmUnlessSleeping();
      return false;
    }
    settings.AlarmMode = mode;
    if (dlg.HourText.empty() || dlg.MinuteText.empty() || dlg.UTCText.empty()) {
      dlg.ModeButton = 0;
      settings.AlarmMode = 0;
      DisarmUnlessSleeping();
      ctx_.messages.showMessage(AlarmTimeNeededMessage);
    }
  } else {
    settings.AlarmMode = 0;
    DisarmUnlessSleeping();
  }
  if (alarmSounding_) SilenceBtnClick();
  return true;
}

// ---- The clock ------------------------------------------------------------------

void AlarmClock::SleepCheck(const DateTime& utc) {
  if (utc.minute == sleepLastMinute_) return;
  sleepLastMinute_ = utc.minute;
  ++sleepElapsed_;
  dlg.SleepPanel = std::to_string(SleepMinutesLeft());
  if (sleepElapsed_ < sleepDuration_) return;

  sleepMinutes_ = sleepDuration_ = sleepElapsed_ = 0;
  sleepLastMinute_ = -1;
  dlg.SleepButton = 0;
  dlg.SleepPanel = "Off";
  if (settings.AlarmMode == 0) SetArmed(false);
  tuning_.EndScanOrTuning();
  ctx_.state.SpkrMute = 1;
  ctx_.state.LineMute = 1;
  receiver_.SendVolumes();
  receiver_.ShowFrequency();
  if (dialogOpen && closeDialog) closeDialog();
}

void AlarmClock::StartRadio() {
  tuning_.EndScanOrTuning();
  if (settings.AlarmStation.valid) {
    TuneAlarmStation();
  } else {
    ctx_.state.SpkrMute = 0;
    ctx_.state.LineMute = 0;
    receiver_.SendVolumes();
  }
}

void AlarmClock::ClockCheck(const DateTime& utc, const DateTime& local) {
  if (!ctx_.state.AlarmArmed) return;
  if (sleepMinutes_ > 0) SleepCheck(utc);
  if (settings.AlarmMode <= 0) return;

  const DateTime& t = settings.AlarmUsesUTC ? utc : local;
  const int now = t.hour * 100 + t.minute;
  if (now == settings.AlarmTime && t.second == 0 && !alarmFired_) {
    alarmFired_ = true;
    if (restoreWindow) restoreWindow();
    switch (settings.AlarmMode) {
      case 1:
        PlayAlarmSound();
        ShowDialogUnlessOpen();
        break;
      case 2:
        StartRadio();
        ShowDialogUnlessOpen();
        break;
      case 3: {
        StartRadio();
        int h = settings.AlarmTime / 100;
        int m = settings.AlarmTime % 100 + 10;
        if (m > 59) {
          m -= 60;
          h = (h + 1) % 24;
        }
        secondAlarmTime_ = h * 100 + m;
        secondAlarmArmed_ = true;
        break;
      }
      default: break;
    }
  }
  // The second alarm goes off once, not at every tick of its second.
  if (secondAlarmArmed_ && now == secondAlarmTime_ && t.second == 0) {
    secondAlarmArmed_ = false;
    alarmFired_ = true;
    if (restoreWindow) restoreWindow();
    PlayAlarmSound();
    ShowDialogUnlessOpen();
  }
}

void AlarmClock::TuneAlarmStation() {
  RadioState& s = ctx_.state;
  s.SaveLastFrequency();
  tuning_.ApplyTuningRecord(settings.AlarmStation);
  s.SpkrMute = settings.AlarmStation.spkrMute;
  s.LineMute = settings.AlarmStation.lineMute;
  receiver_.SendVolumes();
}

}  // namespace ondaris
