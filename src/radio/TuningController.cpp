#include "radio/TuningController.h"

#include <array>
#include <cmath>

#include "common/Errors.h"
#include "common/TextHelpers.h"
#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"
#include "radio/StepTable.h"

namespace ondaris {

namespace {
// Frequency limits in kHz.
constexpr double SingleStepUpBelow = 30000.0;   // a single step up must stay below
constexpr double ContinuousUpMax = 30000.0;     // latched start and ticks, upward
constexpr double SingleStepDownMin = 10.0;      // single steps and ticks, downward
constexpr double LatchedDownStartMin = 100.0;   // latched start downward
constexpr double DigitClickMin = 9.999;
constexpr double DigitClickMax = 29999.999;
constexpr double TypedMin = 10.0;
constexpr double TypedMax = 30000.0;

constexpr int DebounceMs = 500;
constexpr int SpeedPositionMs = 33;
constexpr int SpeedPositionMin = 1;
constexpr int SpeedPositionMax = 40;

struct WWVPreset {
  int code;
  double freqKHz;
  Ctl button;
};
constexpr std::array<WWVPreset, 5> WWVPresets{{
    {25, 2500.0, Ctl::WWV25Btn},
    {5, 5000.0, Ctl::WWV5Btn},
    {10, 10000.0, Ctl::WWV10Btn},
    {15, 15000.0, Ctl::WWV15Btn},
    {20, 20000.0, Ctl::WWV20Btn},
}};

// The digit bands of the frequency display, drawn for its 303-pixel design
// width. Bounds are numerator / denominator of the width, left to right;
// place value 0 marks the band over the decimal point.
struct DigitLayout {
  int denominator;
  int boundCount;
  std::array<int, 10> bounds;
  std::array<double, 9> places;  // boundCount - 1 of them
};
constexpr DigitLayout FiveDigitLayout{
    10000, 10, {714, 1678, 2678, 3678, 4678, 5750, 6071, 7107, 8107, 9071},
    {10000, 1000, 100, 10, 1, 0, 0.1, 0.01, 0.001}};
constexpr DigitLayout FourDigitLayout{
    10000, 9, {1285, 2214, 3214, 4214, 5214, 5642, 6607, 7607, 8571, 0},
    {1000, 100, 10, 1, 0, 0.1, 0.01, 0.001, 0}};
constexpr DigitLayout ThreeDigitLayout{
    10000, 8, {1642, 2714, 3714, 4714, 5071, 6071, 7071, 8071, 0, 0},
    {100, 10, 1, 0, 0.1, 0.01, 0.001, 0, 0}};
constexpr DigitLayout TwoDigitLayout{
    303, 7, {68, 98, 128, 140, 170, 200, 240, 0, 0, 0},
    {10, 1, 0, 0.1, 0.01, 0.001, 0, 0, 0}};

const DigitLayout& LayoutFor(double freq) {
  if (freq >= 10000.0) return FiveDigitLayout;
  if (freq >= 1000.0) return FourDigitLayout;
  if (freq >= 100.0) return ThreeDigitLayout;
  return TwoDigitLayout;
}

bool IsDigit(char key) { return key >= '0' && key <= '9'; }
}  // namespace

TuningController::TuningController(PanelContext& context, Receiver& receiver, ReceiverControls& controls)
    : ctx_(context), receiver_(receiver), controls_(controls) {
  ctx_.timers.TuningTimer.onTimer = [this] { TuningTimerTick(); };
  ctx_.timers.DebounceTimer.onTimer = [this] { DebounceTimerTick(); };
  const ControlState& restore = ctx_.panel[Ctl::WWVRestoreBtn];
  restoreBtnColour_ = restore.colour;
  restoreBtnBold_ = restore.bold;
}

TuningController::~TuningController() {
  ctx_.timers.TuningTimer.onTimer = nullptr;
  ctx_.timers.DebounceTimer.onTimer = nullptr;
}

int TuningController::StepValueOfRow(int row) const {
  if (row < 0 || row >= StepCount) return 0;
  return row == StepCount - 1 ? flags.TopStepHz : StepTable[row].stepHz;
}

// ---- Steps and speed -----------------------------------------------------

void TuningController::SetTuningStep(int stepHz) {
  int row = StepRowOf(stepHz);
  if (row < 0) {
    ctx_.messages.showMessage("Tuning step processing error.");
    stepHz = 10000;
    row = StepRowOf(stepHz);
  }
  ctx_.state.StepIndex = row;
  ctx_.state.StepHz = stepHz;
  ctx_.panel.press(StepButton(row));
  ctx_.panel.setCaption(Ctl::StepBtn10000, ctx_.state.NineKHzSteps ? "9K" : "10K");
  SetTuningSpeed(StepTable[row].speedPosition);
  ctx_.PublishStatus();
}

void TuningController::SetTuningSpeed(int position) {
  // A stored speed of 0 would give a timer that never ticks.
  if (position < SpeedPositionMin) position = SpeedPositionMin;
  if (position > SpeedPositionMax) position = SpeedPositionMax;
  ctx_.state.TuningSpeedMs = position * SpeedPositionMs;
  ctx_.panel.setValue(Ctl::TuningSpeedTrackbar, position);
  Timer& timer = ctx_.timers.TuningTimer;
  timer.setEnabled(false);
  timer.setInterval(ctx_.state.TuningSpeedMs);
  if (flags.TuningActive) timer.setEnabled(true);
}

void TuningController::StepBtnClick(int row) {
  if (row < 0 || row >= StepCount) return;
  SetTuningStep(StepValueOfRow(row));
  ctx_.PublishStatus();
}

void TuningController::TuningSpeedTrackbarChange(int position) { SetTuningSpeed(position); }

void TuningController::ApplyNineKHzOption() {
  flags.TopStepHz = ctx_.state.NineKHzSteps ? 9000 : 10000;
  ctx_.panel.setCaption(Ctl::StepBtn10000, ctx_.state.NineKHzSteps ? "9K" : "10K");
}

// ---- Single steps --------------------------------------------------------

void TuningController::ShowFastButtonsNormal() {
  ctx_.panel.setFont(Ctl::FreqUpBtnFast, Colour::Black, false);
  ctx_.panel.setFont(Ctl::FreqDnBtnFast, Colour::Black, false);
}

void TuningController::StopContinuousTuning() {
  flags.TuningActive = false;
  ctx_.timers.TuningTimer.setEnabled(false);
  ShowFastButtonsNormal();
}

void TuningController::StepFrequencyUp() {
  if (!ctx_.scan.running()) ctx_.panel.release(Ctl::FreqUpBtn);
  flags.TuningActive = false;
  ShowFastButtonsNormal();
  if (ctx_.scan.running()) {
    // While scanning the button only points the scan upward.
    ctx_.scan.ScanDirection = ctx_.scan.ScanState == 1 ? 1 : 0;
    ctx_.panel.press(Ctl::FreqUpBtn);
    ctx_.panel.release(Ctl::FreqDnBtn);
    return;
  }
  const double next = ctx_.state.Freq + ctx_.state.StepHz / 1000.0;
  if (next < SingleStepUpBelow) {
    ctx_.state.SaveLastFrequency();
    ctx_.state.Freq = next;
    receiver_.TuneRadio();
  }
}

void TuningController::StepFrequencyDown() {
  if (!ctx_.scan.running()) ctx_.panel.release(Ctl::FreqDnBtn);
  flags.TuningActive = false;
  ShowFastButtonsNormal();
  if (ctx_.scan.running()) {
    ctx_.scan.ScanDirection = ctx_.scan.ScanState == 1 ? 0 : 1;
    ctx_.panel.press(Ctl::FreqDnBtn);
    ctx_.panel.release(Ctl::FreqUpBtn);
    return;
  }
  const double next = ctx_.state.Freq - ctx_.state.StepHz / 1000.0;
  if (next >= SingleStepDownMin) {
    ctx_.state.SaveLastFrequency();
    ctx_.state.Freq = next;
    receiver_.TuneRadio();
  }
}

// ---- Hold to repeat ------------------------------------------------------

void TuningController::FreqUpBtnMouseDown() {
  flags.UpBtnHeld = true;
  ctx_.timers.DebounceTimer.setInterval(DebounceMs);
  ctx_.timers.DebounceTimer.setEnabled(true);
}

void TuningController::FreqDnBtnMouseDown() {
  flags.DnBtnHeld = true;
  ctx_.timers.DebounceTimer.setInterval(DebounceMs);
  ctx_.timers.DebounceTimer.setEnabled(true);
}

void TuningController::FreqUpBtnMouseUp() {
  flags.UpBtnHeld = false;
  flags.TuningActive = false;
  ctx_.timers.TuningTimer.setEnabled(false);
  // A debounce left running would start the next hold early, or turn a quick
  // second click into a hold that adds no step.
  if (!flags.DnBtnHeld) ctx_.timers.DebounceTimer.setEnabled(false);
}

void TuningController::FreqDnBtnMouseUp() {
  flags.DnBtnHeld = false;
  flags.TuningActive = false;
  ctx_.timers.TuningTimer.setEnabled(false);
  if (!flags.UpBtnHeld) ctx_.timers.DebounceTimer.setEnabled(false);
}

void TuningController::FreqUpBtnClick() {
  if (flags.HoldTuned) {
    flags.HoldTuned = false;
    ctx_.panel.release(Ctl::FreqUpBtn);
    return;
  }
  StepFrequencyUp();
}

void TuningController::FreqDnBtnClick() {
  if (flags.HoldTuned) {
    flags.HoldTuned = false;
    ctx_.panel.release(Ctl::FreqDnBtn);
    return;
  }
  StepFrequencyDown();
}

void TuningController::StartContinuousTuning(bool down) {
  flags.TuningDown = down;
  flags.TuningActive = true;
  ctx_.timers.TuningTimer.setInterval(ctx_.state.TuningSpeedMs);
  ctx_.timers.TuningTimer.setEnabled(true);
}

void TuningController::DebounceTimerTick() {
  if (ctx_.scan.running()) return;
  if (!flags.UpBtnHeld && !flags.DnBtnHeld) return;
  flags.HoldTuned = true;
  StartContinuousTuning(!flags.UpBtnHeld);
  ctx_.timers.DebounceTimer.setEnabled(false);
  flags.RemoteTuningStarted = true;
}

void TuningController::TuningTimerTick() {
  if (ctx_.scan.running()) return;
  if (!flags.TuningActive) {
    ctx_.timers.TuningTimer.setEnabled(false);
    return;
  }
  const double step = ctx_.state.StepHz / 1000.0;
  const double next = flags.TuningDown ? ctx_.state.Freq - step : ctx_.state.Freq + step;
  const bool within = flags.TuningDown ? next >= SingleStepDownMin : next <= ContinuousUpMax;
  if (!within) {
    // The latched button must not stay lit once the limit has ended tuning.
    StopContinuousTuning();
    return;
  }
  ctx_.state.SaveLastFrequency();
  ctx_.state.Freq = next;
  receiver_.TuneRadio();
}

// ---- Latched tuning ------------------------------------------------------

void TuningController::FreqUpBtnFastClick() {
  ctx_.panel.release(Ctl::FreqUpBtn);
  ctx_.panel.release(Ctl::FreqDnBtn);
  ctx_.panel.release(Ctl::FreqUpBtnFast);
  ctx_.panel.release(Ctl::FreqDnBtnFast);
  ctx_.panel.setFont(Ctl::FreqDnBtnFast, Colour::Black, false);
  if (ctx_.scan.running()) return;

  if (flags.TuningActive && flags.TuningDown) {
    flags.TuningDown = false;
    ctx_.panel.setFont(Ctl::FreqDnBtnFast, Colour::Black, false);
    ctx_.panel.setFont(Ctl::FreqUpBtnFast, Colour::Maroon, true);
    return;
  }
  if (flags.TuningActive) {
    StopContinuousTuning();
    return;
  }
  const double next = ctx_.state.Freq + ctx_.state.StepHz / 1000.0;
  if (next > ContinuousUpMax) return;
  ctx_.panel.setFont(Ctl::FreqUpBtnFast, Colour::Maroon, true);
  ctx_.state.SaveLastFrequency();
  ctx_.state.Freq = next;
  receiver_.TuneRadio();
  StartContinuousTuning(false);
}

void TuningController::FreqDnBtnFastClick() {
  ctx_.panel.release(Ctl::FreqUpBtn);
  ctx_.panel.release(Ctl::FreqDnBtn);
  ctx_.panel.release(Ctl::FreqUpBtnFast);
  ctx_.panel.release(Ctl::FreqDnBtnFast);
  ctx_.panel.setFont(Ctl::FreqUpBtnFast, Colour::Black, false);
  if (ctx_.scan.running()) return;

  if (flags.TuningActive && !flags.TuningDown) {
    flags.TuningDown = true;
    ctx_.panel.setFont(Ctl::FreqUpBtnFast, Colour::Black, false);
    ctx_.panel.setFont(Ctl::FreqDnBtnFast, Colour::Maroon, true);
    return;
  }
  if (flags.TuningActive) {
    StopContinuousTuning();
    return;
  }
  const double next = ctx_.state.Freq - ctx_.state.StepHz / 1000.0;
  if (next < LatchedDownStartMin) return;
  ctx_.panel.setFont(Ctl::FreqDnBtnFast, Colour::Maroon, true);
  ctx_.state.SaveLastFrequency();
  ctx_.state.Freq = next;
  receiver_.TuneRadio();
  StartContinuousTuning(true);
}

void TuningController::StartRemoteTuning(bool down) {
  StartContinuousTuning(down);
  flags.RemoteTuningStarted = true;
}

void TuningController::StopRemoteTuning(bool down) {
  flags.TuningActive = false;
  ctx_.timers.TuningTimer.setEnabled(false);
  if (!flags.RemoteTuningStarted) return;
  flags.RemoteTuningStarted = false;
  if (down)
    StepFrequencyUp();
  else
    StepFrequencyDown();
}

// ---- Frequency display ---------------------------------------------------

void TuningController::FreqDispPanelClick(int x, int y, int width, int height) {
  const int sign = (y >= height / 2) ? -1 : 1;
  const DigitLayout& layout = LayoutFor(ctx_.state.Freq);
  auto bound = [&](int i) {
    return static_cast<int>(static_cast<long long>(width) * layout.bounds[i] / layout.denominator);
  };
  if (x > bound(layout.boundCount - 1) || x <= bound(0)) return;
  for (int band = 0; band + 1 < layout.boundCount; ++band) {
    if (x > bound(band) && x <= bound(band + 1)) {
      const double place = layout.places[band];
      if (place == 0) return;  // the decimal point
      TuneByOffset(sign * place);
      return;
    }
  }
}

void TuningController::TuneByOffset(double offsetKHz) {
  ctx_.state.SaveLastFrequency();
  const double next = ctx_.state.Freq + offsetKHz;
  if (next < DigitClickMin || next > DigitClickMax) return;
  ctx_.state.Freq = next;
  receiver_.TuneRadio();
}

// ---- Keyboard ------------------------------------------------------------

bool TuningController::KeyPress(char key) {
  if (key == ' ') {
    if (!ctx_.scan.running() && ctx_.scan.ScanKind != 0 && !flags.TuningActive && flags.WWVMode == 0) {
      if (ctx_.startScanFromKey) {
        ctx_.startScanFromKey();
        // A start the scan refused (no usable channel, no file) leaves the
        // Scan button up.
        if (ctx_.scan.running()) ctx_.panel.press(Ctl::ScanBtn);
      }
    } else if (flags.TuningActive) {
      EndScanOrTuning();
    } else if (ctx_.scan.running()) {
      EndScanOrTuning();
      ctx_.panel.release(Ctl::ScanBtn);
    }
    return true;
  }

  if (ctx_.scan.running()) return false;

  const char separator = ctx_.decimalSeparator;
  if (IsDigit(key) || key == separator) {
    if (flags.KeypadActive) {
      flags.KeypadText += key;
    } else if (IsDigit(key)) {
      flags.KeypadActive = true;
      flags.KeypadText = std::string(1, key);
    } else {
      return true;  // a separator cannot start a frequency
    }
    ctx_.panel.setCaption(Ctl::FreqDispPanel, flags.KeypadText);
    return true;
  }

  if (key == '\r') {
    if (!flags.KeypadActive) {
      if (enterWithoutKeypad) enterWithoutKeypad();
      return true;
    }
    flags.KeypadActive = false;
    double value = 0;
    try {
      value = TextToDouble(flags.KeypadText, separator);
    } catch (const ConversionError& error) {
      receiver_.ShowFrequency();
      ctx_.ReportError(error.what());
      return true;
    }
    if (value >= TypedMin && value <= TypedMax) {
      ctx_.panel.setCaption(Ctl::FreqDispPanel, FormatFrequency(3, false, value, separator));
      ctx_.panel.setCaption(Ctl::StatusPanel, "");
      ctx_.state.SaveLastFrequency();
      ctx_.state.Freq = value;
      receiver_.TuneRadio();
    } else {
      receiver_.ShowFrequency();
    }
    return true;
  }
  return false;
}

// ---- VFOs ----------------------------------------------------------------

void TuningController::VFOBtnClick() {
  if (ctx_.scan.running() || flags.WWVMode != 0) return;
  RadioState& s = ctx_.state;
  s.DataBFOActive = 0;
  s.ActiveVFO = s.ActiveVFO == 'A' ? 'B' : 'A';
  ctx_.panel.setCaption(Ctl::VFOBtn, s.ActiveVFO == 'A' ? "VFO A" : "VFO B");

  VfoTuning kept;
  kept.freq = s.Freq;
  kept.mode = s.Mode;
  kept.stepIndex = s.StepIndex;
  kept.filterIndex = s.FilterIndex;
  kept.agc = s.AGC;
  kept.pbt = s.PBT;
  kept.statusText = ctx_.panel[Ctl::StatusPanel].caption;

  s.SaveLastFrequency();

  const VfoTuning other = s.OtherVFO;
  s.Freq = other.freq;
  controls_.SelectModeQuietly(other.mode);
  SetTuningStep(StepValueOfRow(other.stepIndex));
  controls_.SelectFilter(other.filterIndex);
  controls_.ShowAGC(other.agc);
  s.PBT = other.pbt;
  controls_.ShowPBT();
  ctx_.panel.setCaption(Ctl::StatusPanel, other.statusText);

  s.OtherVFO = kept;
  receiver_.TuneRadio();
}

// ---- WWV presets ---------------------------------------------------------

void TuningController::SaveTuningForWWV() {
  const RadioState& s = ctx_.state;
  VfoTuning& saved = ctx_.state.WWVReturnRecord;
  saved.freq = s.Freq;
  saved.mode = s.Mode;
  saved.stepIndex = s.StepIndex;
  saved.filterIndex = s.FilterIndex;
  saved.agc = s.AGC;
  saved.pbt = s.PBT;
}

void TuningController::RestoreTuningAfterWWV() {
  RadioState& s = ctx_.state;
  const VfoTuning saved = s.WWVReturnRecord;
  s.SaveLastFrequency();
  s.Freq = saved.freq;
  controls_.ModeBtnClick(saved.mode);
  SetTuningStep(StepValueOfRow(saved.stepIndex));
  controls_.SelectFilter(saved.filterIndex);
  controls_.ShowAGC(saved.agc);
  s.PBT = saved.pbt;
  controls_.ShowPBT();
  receiver_.TuneRadio();
}

void TuningController::SetWWVControlsEnabled(bool enabled) {
  for (Ctl control : {Ctl::ScanBtn, Ctl::StopBtn, Ctl::FileScanBtn, Ctl::MemScanBtn, Ctl::LimitScanBtn,
                      Ctl::BandScanBtn, Ctl::VFOBtn})
    ctx_.panel.setEnabled(control, enabled);
  for (int index = 0; index < 20; ++index) {
    const bool defined = limitRangeDefined && limitRangeDefined(index);
    ctx_.panel.setEnabled(LimitRangeItem(index), enabled && defined);
  }
}

void TuningController::WWVBtnClick(int code) {
  if (code == flags.WWVMode) return;
  const WWVPreset* preset = nullptr;
  for (const WWVPreset& candidate : WWVPresets)
    if (candidate.code == code) preset = &candidate;
  if (!preset) return;

  if (flags.WWVMode == 0) SaveTuningForWWV();
  ctx_.panel.press(preset->button);
  ctx_.panel.setFont(Ctl::WWVRestoreBtn, Colour::Maroon, true);
  SetWWVControlsEnabled(false);
  StopContinuousTuning();

  ctx_.panel.setColour(Ctl::FreqDispPanel, Colour::Red);
  ctx_.state.Freq = preset->freqKHz;
  flags.WWVMode = code;
  receiver_.TuneRadio();
}

void TuningController::WWVRestoreBtnClick() {
  if (flags.WWVMode == 0) return;
  ctx_.panel.setFont(Ctl::WWVRestoreBtn, restoreBtnColour_, restoreBtnBold_);
  for (const WWVPreset& preset : WWVPresets) ctx_.panel.release(preset.button);
  SetWWVControlsEnabled(true);
  ctx_.panel.setColour(Ctl::FreqDispPanel, Colour::Aqua);
  flags.WWVMode = 0;
  RestoreTuningAfterWWV();
}

// ---- Recall and round ----------------------------------------------------

void TuningController::LastFreqBtnClick() {
  RadioState& s = ctx_.state;
  if (!s.LastFreqRecord.valid) return;
  s.DataBFOActive = 0;
  const TuningRecord kept = s.CurrentTuningRecord();
  const TuningRecord target = s.LastFreqRecord;
  ApplyTuningRecord(target);
  s.LastFreqRecord = kept;
}

void TuningController::RoundBtnClick() {
  RadioState& s = ctx_.state;
  const int step = s.StepHz;
  if (step == 1) return;
  if (step <= 0) return;  // no step to round to
  s.SaveLastFrequency();
  if (step == 3000 || step == 9000) {
    s.Freq = std::trunc(s.Freq);
  } else {
    const double perKHz = 1000.0 / step;
    s.Freq = std::trunc((s.Freq + step / 2000.0) * perKHz) / perKHz;
    s.SaveLastFrequency();
  }
  receiver_.TuneRadio();
}

void TuningController::ApplyTuningRecord(const TuningRecord& record) {
  RadioState& s = ctx_.state;
  s.Freq = record.freq;
  controls_.SelectModeQuietly(record.mode);
  controls_.SelectFilter(record.filterIndex);
  SetTuningStep(record.stepHz);
  s.PBT = record.pbt;
  controls_.ShowPBT();
  controls_.ShowAGC(record.agc);
  receiver_.TuneRadio();
}

// ---- Ending --------------------------------------------------------------

void TuningController::EndScanOrTuning() {
  flags.TuningActive = false;
  for (Ctl control : {Ctl::FreqUpBtn, Ctl::FreqDnBtn, Ctl::FreqUpBtnFast, Ctl::FreqDnBtnFast})
    ctx_.panel.release(control);
  ShowFastButtonsNormal();
  for (Ctl control : {Ctl::TagBtn, Ctl::FileScanBtn, Ctl::MemScanBtn, Ctl::LimitScanBtn, Ctl::BandScanBtn,
                      Ctl::WWV25Btn, Ctl::WWV5Btn, Ctl::WWV10Btn, Ctl::WWV15Btn, Ctl::WWV20Btn,
                      Ctl::WWVRestoreBtn, Ctl::LastFreqBtn, Ctl::NowBtn, Ctl::FreqUpBtn, Ctl::FreqDnBtn,
                      Ctl::FreqUpBtnFast, Ctl::FreqDnBtnFast, Ctl::VFOBtn})
    ctx_.panel.setEnabled(control, true);
  ctx_.timers.TuningTimer.setEnabled(false);
  ctx_.timers.ScanTimer.setEnabled(false);
  if (ctx_.endScan) ctx_.endScan();
  ctx_.scan.ScanState = 0;
}

}  // namespace ondaris
