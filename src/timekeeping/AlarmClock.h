#pragma once
// The clock radio: the sleep timer that mutes the receiver after 30..120
// minutes, the alarm (alarm sound, radio only, or radio then the alarm ten
// minutes later) at a UTC or local time with an optional wake-up station,
// and what the "Clock Radio Controls" dialog (TAlarmDlg) does, without its
// window. While a sleep time or an alarm mode is set, AlarmArmed puts an
// asterisk after the frequency display.
//
// The window shows the fields of `dlg`, writes the combo texts and the
// pressed buttons back before forwarding a button, and shows them again
// after it.

#include <functional>
#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "platform/Clock.h"
#include "timekeeping/ClockRadioFile.h"

namespace ondaris {

class Receiver;
class SoundPlayer;
class TuningController;

inline constexpr const char* NoAlarmWavMessage = "Could not find Alarm.wav in the working directory.";
inline constexpr const char* AlarmTimeNeededMessage =
    "You must set the alarm time in order to use one of the alarm modes.";

// The dialog's controls as the window shows them.
struct AlarmDialogFields {
  std::vector<std::string> HourItems, MinuteItems, UTCItems;
  std::string HourText, MinuteText, UTCText;  // HourCombo, MinuteCombo, UTCCombo
  std::string TimePanel, StationEdit, SleepPanel, ClkPanel;
  // The pressed mode button: 0 AlmOffBtn, 1 AlmOnlyBtn, 2 RadioOnlyBtn, 3 RadioAlmBtn.
  int ModeButton = 0;
  // The pressed sleep button by its minutes: 0 (Sleep0Btn), 30, 60, 90, 120.
  int SleepButton = 0;
  bool TestBtnRed = false;
  bool SilenceBtnRed = false;
};

class AlarmClock {
 public:
  static constexpr const char* Caption = "Clock Radio Controls";

  AlarmClock(PanelContext& context, Receiver& receiver, TuningController& tuning, SoundPlayer& player,
             std::string programDir);
  AlarmClock(const AlarmClock&) = delete;
  AlarmClock& operator=(const AlarmClock&) = delete;

  ClockRadioSettings settings;
  AlarmDialogFields dlg;

  // ---- Hooks (the window) ----
  // Shows the dialog modally without holding up the clock; the window sets
  // dialogOpen while it shows.
  std::function<void()> showDialog;
  std::function<void()> closeDialog;
  // Brings the main window back when it is minimised.
  std::function<void()> restoreWindow;
  bool dialogOpen = false;

  // ---- Start-up and exit ----
  void LoadSettings();        // ClockRadio.dat (or its defaults); run state zeroed
  void ArmAfterLoading();     // AlarmArmed (and the asterisk) when an alarm mode is set
  void SaveSettings() const;  // ClockRadio.dat
  std::string AlarmWavPath() const { return programDir_ + "Alarm.wav"; }

  // ---- The dialog ----
  void TimePanelClick();
  void ComboChange();  // HourComboChange, MinuteComboChange, UTCComboChange
  void SleepBtnClick(int minutes);
  void StoreBtnClick();
  void TestBtnClick();
  void SilenceBtnClick();
  // Returns whether the dialog closes.
  bool OKBtnClick();
  void CancelBtnClick();

  // ---- The clock (every tick) ----
  void ClockCheck(const DateTime& utc, const DateTime& local);

  void TuneAlarmStation();
  void PlayAlarmSound();

  // ---- Run state ----
  int SleepMinutes() const { return sleepMinutes_; }
  int SleepMinutesLeft() const { return sleepDuration_ - sleepElapsed_; }
  bool AlarmFired() const { return alarmFired_; }
  bool AlarmSounding() const { return alarmSounding_; }
  bool SecondAlarmArmed() const { return secondAlarmArmed_; }
  int SecondAlarmTime() const { return secondAlarmTime_; }

 private:
  void SetArmed(bool armed);
  void DisarmUnlessSleeping();
  void FillDialog();
  void ShowDialogUnlessOpen();
  void StartRadio();
  void SleepCheck(const DateTime& utc);
  bool AlarmWavExists() const;
  std::string SleepText(int minutes) const;

  PanelContext& ctx_;
  Receiver& receiver_;
  TuningController& tuning_;
  SoundPlayer& player_;
  std::string programDir_;

  int sleepMinutes_ = 0;  // the choice that runs (also the previous choice)
  int sleepDuration_ = 0;
  int sleepElapsed_ = 0;
  int sleepLastMinute_ = -1;
  bool alarmFired_ = false;
  bool alarmSounding_ = false;
  bool testPlaying_ = false;
  int secondAlarmTime_ = 0;
  bool secondAlarmArmed_ = false;
};

}  // namespace ondaris
