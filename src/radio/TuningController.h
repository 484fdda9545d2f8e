#pragma once
// The controls that move the frequency: steps and speed, single steps,
// hold-to-repeat, latched tuning, digit clicks, typed frequencies, the two
// VFOs, the WWV presets, the last-frequency and round buttons.

#include <functional>
#include <string>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"

namespace ondaris {

class Receiver;
class ReceiverControls;

struct TuningFlags {
  bool TuningActive = false;
  bool TuningDown = false;
  bool UpBtnHeld = false;
  bool DnBtnHeld = false;
  bool HoldTuned = false;
  bool RemoteTuningStarted = false;
  int WWVMode = 0;  // 0, or 25, 5, 10, 15, 20
  bool KeypadActive = false;
  std::string KeypadText;
  int TopStepHz = 10000;  // fixed at start-up from the 9 kHz option
};

class TuningController {
 public:
  // Takes over the ticks of TuningTimer and DebounceTimer.
  TuningController(PanelContext& context, Receiver& receiver, ReceiverControls& controls);
  ~TuningController();
  TuningController(const TuningController&) = delete;
  TuningController& operator=(const TuningController&) = delete;

  TuningFlags flags;

  // Whether limit range 0..19 has a name (filled in by the limit ranges);
  // leaving WWV mode enables only those menu items. Unset: none is defined.
  std::function<bool(int)> limitRangeDefined;

  // The step of a StepTable row as the step buttons use it: the top row is
  // TopStepHz. 0 for a row outside the table.
  int StepValueOfRow(int row) const;

  // Steps and speed.
  void SetTuningStep(int stepHz);  // unknown value: message and 10 kHz
  void SetTuningSpeed(int position);  // 1..40
  void StepBtnClick(int row);         // StepTable row 0..8
  void TuningSpeedTrackbarChange(int position);
  void ApplyNineKHzOption();          // TopStepHz and the top step's caption (start-up)

  // Single steps (also remote words and scan direction while scanning).
  void StepFrequencyUp();
  void StepFrequencyDown();

  // Hold to repeat on the up/down buttons.
  void FreqUpBtnMouseDown();
  void FreqUpBtnMouseUp();
  void FreqUpBtnClick();
  void FreqDnBtnMouseDown();
  void FreqDnBtnMouseUp();
  void FreqDnBtnClick();
  void DebounceTimerTick();
  void TuningTimerTick();

  // Latched continuous tuning.
  void FreqUpBtnFastClick();
  void FreqDnBtnFastClick();
  // Remote continuous tuning ("U+", "U-", "D+", "D-").
  // Stopping after a remote start makes one step against the direction
  // stopped: StopRemoteTuning(false) ("U-") steps down once, (true) ("D-") up.
  void StartRemoteTuning(bool down);
  void StopRemoteTuning(bool down);

  // A click on the frequency display at (x, y) of a display width x height.
  void FreqDispPanelClick(int x, int y, int width, int height);
  void TuneByOffset(double offsetKHz);

  // A key press seen before any control: digits, the decimal separator,
  // Enter ('\r') and Space. Returns true when the key was used. A typed text
  // that is no number tunes nothing: the display shows the tuned frequency
  // again and the conversion error goes to ctx.ReportError.
  bool KeyPress(char key);
  // Enter with no frequency being typed: the frequency list's row (set later).
  std::function<void()> enterWithoutKeypad;

  void VFOBtnClick();
  void WWVBtnClick(int code);  // 25, 5, 10, 15, 20
  void WWVRestoreBtnClick();
  void LastFreqBtnClick();
  void RoundBtnClick();

  // Loads a stored tuning: frequency, mode (with its default options), filter,
  // step, PBT, AGC, then tunes. Mutes are not applied.
  void ApplyTuningRecord(const TuningRecord& record);

  // Ends continuous tuning (and the running scan, through the scan hook).
  void EndScanOrTuning();

 private:
  void SaveTuningForWWV();
  void RestoreTuningAfterWWV();
  void SetWWVControlsEnabled(bool enabled);
  // Continuous tuning off: flag cleared, timer stopped, fast buttons normal.
  void StopContinuousTuning();
  void ShowFastButtonsNormal();
  void StartContinuousTuning(bool down);

  Colour restoreBtnColour_ = Colour::Default;  // WWVRestoreBtn's own font
  bool restoreBtnBold_ = false;

  PanelContext& ctx_;
  Receiver& receiver_;
  ReceiverControls& controls_;
};

}  // namespace ondaris
