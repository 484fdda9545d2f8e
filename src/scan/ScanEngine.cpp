#include "scan/ScanEngine.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <initializer_list>
#include <string>

#include "common/TextHelpers.h"
#include "freqfiles/StationGrid.h"
#include "memories/ScratchpadController.h"
#include "radio/CommandDispatcher.h"
#include "radio/Receiver.h"
#include "radio/TuningController.h"
#include "scan/LimitScanDialog.h"
#include "scan/ScanSpeeds.h"

namespace ondaris {

namespace {

// Whole-kilohertz arithmetic on doubles drifts after many small steps; the
// scan keeps its frequency on a grid of a millihertz and compares limits
// with a margin far below any tuning step, so the step that reaches a limit
// exactly is never taken for one that passes it.
constexpr double FrequencyGridPerKHz = 1e6;
constexpr double LimitMarginKHz = 1e-7;

double OnFrequencyGrid(double kHz) { return std::round(kHz * FrequencyGridPerKHz) / FrequencyGridPerKHz; }

constexpr int FallbackIntervalMs = 500;

// What a running memory scan disables (the LimRange items besides).
constexpr Ctl MemoryScanLocked[] = {Ctl::LimitScanBtn, Ctl::MemScanBtn,    Ctl::FileScanBtn,   Ctl::BandScanBtn,
                                    Ctl::TagBtn,       Ctl::WWV25Btn,      Ctl::WWV5Btn,       Ctl::WWV10Btn,
                                    Ctl::WWV15Btn,     Ctl::WWV20Btn,      Ctl::WWVRestoreBtn, Ctl::LastFreqBtn,
                                    Ctl::FreqUpBtnFast, Ctl::FreqDnBtnFast, Ctl::VFOBtn};

// The file items and buttons a running file scan disables (PasteItem besides).
constexpr Ctl FileScanFileControls[] = {Ctl::NewFileItem,     Ctl::LoadFileItem,   Ctl::AppendFileItem,
                                        Ctl::ImportEibiItem,  Ctl::SaveFileItem,   Ctl::FileOpBtn1,
                                        Ctl::SaveFileAsItem,  Ctl::AddEntryItem,   Ctl::FileOpBtn2,
                                        Ctl::EditEntryItem,   Ctl::CopyItem,       Ctl::FileOpBtn3,
                                        Ctl::ReopenMainItem,  Ctl::DeleteEntryItem, Ctl::FileOpBtn5};

// The other controls a running file scan disables (the LimRange items besides).
constexpr Ctl FileScanOtherControls[] = {Ctl::FileScanBtn, Ctl::MemScanBtn,    Ctl::LimitScanBtn,  Ctl::BandScanBtn,
                                         Ctl::WWV25Btn,    Ctl::WWV5Btn,       Ctl::WWV10Btn,      Ctl::WWV15Btn,
                                         Ctl::WWV20Btn,    Ctl::WWVRestoreBtn, Ctl::LastFreqBtn,   Ctl::FreqUpBtnFast,
                                         Ctl::FreqDnBtnFast, Ctl::VFOBtn};

constexpr Ctl WWVAndRecallControls[] = {Ctl::WWV25Btn,      Ctl::WWV5Btn,     Ctl::WWV10Btn,      Ctl::WWV15Btn,
                                        Ctl::WWV20Btn,      Ctl::WWVRestoreBtn, Ctl::LastFreqBtn, Ctl::FreqUpBtnFast,
                                        Ctl::FreqDnBtnFast};

template <std::size_t N>
void SetEnabled(PanelModel& panel, const Ctl (&controls)[N], bool enabled) {
  for (Ctl control : controls) panel.setEnabled(control, enabled);
}

void DisableLimitRangeItems(PanelModel& panel) {
  for (int index = 0; index < LimitRangeCount; ++index) panel.setEnabled(LimitRangeItem(index), false);
}

}  // namespace

ScanEngine::ScanEngine(PanelContext& context, Receiver& receiver, TuningController& tuning,
                       ScratchpadController& scratchpad, StationGrid& stations, LimitRanges& limits,
                       ScanSettings& settings)
    : ctx_(context),
      receiver_(receiver),
      tuning_(tuning),
      scratchpad_(scratchpad),
      stations_(stations),
      limits_(limits),
      settings_(settings) {
  // A failing tick (the port cannot be opened, a station line whose
  // frequency is no number) is reported; the scan goes on with the next tick.
  ctx_.timers.ScanTimer.onTimer = [this] {
    try {
      ScanTimerTick();
    } catch (const std::exception& error) {
      ctx_.ReportError(error.what());
    }
  };
  ctx_.endScan = [this] { EndScan(); };
  ctx_.startScanFromKey = [this] { ScanBtnClick(); };
  stations_.endFileScan = [this] { PauseFileScanFromGrid(); };
  limits_.startRangeScan = [this](double low, double high) { StartRangeScan(low, high); };
}

ScanEngine::~ScanEngine() {
  ctx_.timers.ScanTimer.setEnabled(false);
  ctx_.timers.ScanTimer.onTimer = nullptr;
  ctx_.endScan = nullptr;
  ctx_.startScanFromKey = nullptr;
  stations_.endFileScan = nullptr;
  limits_.startRangeScan = nullptr;
  if (dialog_) dialog_->resetScanSelection = nullptr;
  if (dispatcher_) dispatcher_->resetScanForCompanion = nullptr;
}

void ScanEngine::Attach(LimitScanDialog& dialog) {
  dialog_ = &dialog;
  dialog.resetScanSelection = [this] { ResetScanSelection(); };
}

void ScanEngine::Attach(CommandDispatcher& dispatcher) {
  dispatcher_ = &dispatcher;
  dispatcher.resetScanForCompanion = [this] { ResetForCompanion(); };
}

// ---- Helpers -------------------------------------------------------------------

void ScanEngine::ShowLimitRangeItems() {
  // In WWV mode the ranges stay disabled until the tuning is restored.
  const bool allowed = tuning_.flags.WWVMode == 0;
  for (int index = 0; index < LimitRangeCount; ++index)
    ctx_.panel.setEnabled(LimitRangeItem(index), allowed && limits_.IsDefined(index));
}

void ScanEngine::SetFileControlsEnabled(bool enabled) {
  PanelModel& panel = ctx_.panel;
  SetEnabled(panel, FileScanFileControls, enabled);
  const bool clipboardFull = enabled && stations_.pasteStatus && stations_.pasteStatus().full;
  panel.setEnabled(Ctl::PasteItem, clipboardFull);
}

bool ScanEngine::RowLockedOut(int row) const { return stations_.CellText(row, 0) == "L"; }

void ScanEngine::RestartTimer() {
  Timer& timer = ctx_.timers.ScanTimer;
  const int interval = settings_.ScanInterval > 0 ? settings_.ScanInterval : FallbackIntervalMs;
  timer.setEnabled(false);
  timer.setInterval(interval);
  timer.setEnabled(true);
}

// ---- Choosing the kind -----------------------------------------------------------

void ScanEngine::MemScanBtnClick() {
  PanelModel& panel = ctx_.panel;
  ctx_.scan.ScanKind = ScanKindNone;
  panel.release(Ctl::ScanBtn);
  panel.setEnabled(Ctl::NowBtn, true);
  SelectScanSpeedTable(panel, settings_, MemoryScanSpeeds, MemoryScanDefaultSpeed);
  ctx_.scan.ScanKind = ScanKindMemory;
  panel.press(Ctl::MemScanBtn);  // also when the click let it up
  panel.setCaption(Ctl::StatusPanel, "Scratchpad Memory Scan");
  // The direction and a memory scan's position are kept, so Scan resumes.
}

void ScanEngine::FileScanBtnClick() {
  PanelModel& panel = ctx_.panel;
  ctx_.scan.ScanKind = ScanKindNone;
  panel.release(Ctl::ScanBtn);
  const int lines = stations_.list.RecordCount();
  if (lines < 1) {
    ctx_.messages.showMessage(NoFileToScanMessage);
    panel.release(Ctl::FileScanBtn);
    return;
  }
  SelectScanSpeedTable(panel, settings_, FileScanSpeeds, FileScanDefaultSpeed);
  ctx_.scan.ScanDirection = 0;
  int row = 1;
  while (row <= lines && RowLockedOut(row)) ++row;
  if (row > lines) {
    ctx_.messages.showMessage(NoScannableLinesMessage);
    ResetScanSelection();
    panel.release(Ctl::FileScanBtn);
    return;
  }
  FileScanRow = row;
  ctx_.scan.ScanKind = ScanKindFile;
  panel.press(Ctl::FileScanBtn);
  settings_.MemScanStarted = false;
  panel.setCaption(Ctl::StatusPanel, "File Scan");
}

void ScanEngine::ChooseBandScan() {
  PanelModel& panel = ctx_.panel;
  panel.setEnabled(Ctl::NowBtn, true);
  panel.release(Ctl::ScanBtn);
  SelectBandScanSpeedTable(panel, settings_, BandScanDefaultSpeed, ctx_.decimalSeparator);
  ctx_.scan.ScanKind = ScanKindBand;
  settings_.MemScanStarted = false;
  ctx_.scan.ScanDirection = 0;
}

void ScanEngine::BandScanBtnClick() {
  if (bandScanButton)
    bandScanButton();
  else
    ChooseBandScan();
}

// ---- Starting ----------------------------------------------------------------------

void ScanEngine::ScanBtnClick() {
  PanelModel& panel = ctx_.panel;
  const int kind = ctx_.scan.ScanKind;
  if (kind == ScanKindNone) {
    ctx_.messages.showMessage(SelectScanModeMessage);
    panel.release(Ctl::ScanBtn);
    return;
  }

  // The up/down buttons show the direction: in a file scan "up" runs up the
  // list, towards row 1.
  const bool reverse = ctx_.scan.ScanDirection == 1;
  if (kind == ScanKindFile)
    panel.press(reverse ? Ctl::FreqUpBtn : Ctl::FreqDnBtn);
  else
    panel.press(reverse ? Ctl::FreqDnBtn : Ctl::FreqUpBtn);

  switch (kind) {
    case ScanKindLimit:
    case ScanKindBand:
      panel.press(Ctl::ScanBtn);
      StartRangeScan(settings_.LimitLow, settings_.LimitHigh);
      break;
    case ScanKindMemory:
      StartMemoryScan();
      break;
    case ScanKindFile:
      StartFileScan();
      break;
    default:
      break;
  }
}

void ScanEngine::StartMemoryScan() {
  PanelModel& panel = ctx_.panel;
  Scratchpad& pad = scratchpad_.pad;
  if (!pad.hasScannableChannel()) {
    panel.release(Ctl::ScanBtn);
    ctx_.messages.showMessage(NoMemoryChannelsMessage);
    return;
  }
  SetEnabled(panel, MemoryScanLocked, false);
  DisableLimitRangeItems(panel);

  if (!settings_.MemScanStarted) {
    pad.CurrentBank = pad.lowestEnabledBank();
    scratchpad_.ClearScratchpadButtons();
    scratchpad_.ShowScratchpadBank();
    pad.CurrentChannel = 0;
    settings_.MemScanStarted = true;
  }

  ctx_.scan.ScanState = ScanKindMemory;
  panel.press(Ctl::ScanBtn);
  Timer& timer = ctx_.timers.ScanTimer;
  timer.setEnabled(false);
  timer.setInterval(settings_.ScanInterval > 0 ? settings_.ScanInterval : FallbackIntervalMs);
  panel.press(ScratchpadButton(pad.CurrentChannel));
  // Nothing is tuned until the first tick.
  timer.setEnabled(true);
}

void ScanEngine::StartFileScan() {
  PanelModel& panel = ctx_.panel;
  if (stations_.list.RecordCount() < 1) {
    ctx_.messages.showMessage(FileScanWithoutFileMessage);
    panel.release(Ctl::ScanBtn);
    return;
  }
  SetFileControlsEnabled(false);
  SetEnabled(panel, FileScanOtherControls, false);
  DisableLimitRangeItems(panel);
  panel.press(Ctl::ScanBtn);
  settings_.MemScanStarted = false;
  ctx_.scan.ScanState = ScanKindFile;
  // Nothing is tuned until the first tick.
  RestartTimer();
}

void ScanEngine::StartRangeScan(double low, double high) {
  PanelModel& panel = ctx_.panel;
  const bool valid = low >= LimitScanLowestKHz && low <= LimitScanHighestKHz && high >= LimitScanLowestKHz &&
                     high <= LimitScanHighestKHz && low <= high;
  if (!valid) {
    panel.release(Ctl::ScanBtn);
    ctx_.messages.showMessage(BadLimitsMessage);
    ctx_.scan.ScanKind = ScanKindNone;
    panel.release(Ctl::LimitScanBtn);
    return;
  }

  const bool band = ctx_.scan.ScanKind == ScanKindBand;
  const char separator = ctx_.decimalSeparator;
  panel.setCaption(Ctl::StatusPanel, std::string(band ? "Band Scan: " : "Limit Scan: ") +
                                         FormatFrequency(3, false, low, separator) + " to " +
                                         FormatFrequency(3, false, high, separator) + " kHz");

  panel.setEnabled(Ctl::LimitScanBtn, false);
  panel.setEnabled(Ctl::MemScanBtn, false);
  panel.setEnabled(Ctl::FileScanBtn, false);
  if (band) panel.press(Ctl::BandScanBtn);
  panel.setEnabled(Ctl::BandScanBtn, false);
  SetEnabled(panel, WWVAndRecallControls, false);
  panel.press(Ctl::ScanBtn);
  panel.setEnabled(Ctl::VFOBtn, false);
  DisableLimitRangeItems(panel);

  // A resumed scan goes on from where it paused; a position outside the
  // limits (limits changed since) starts at the low limit.
  if (settings_.ScanFrequency < settings_.LimitLow || settings_.ScanFrequency > settings_.LimitHigh)
    settings_.ScanFrequency = settings_.LimitLow;
  ctx_.state.SaveLastFrequency();
  ctx_.state.Freq = settings_.ScanFrequency;
  ctx_.scan.ScanState = band ? ScanKindBand : ScanKindLimit;
  receiver_.TuneRadio();
  Timer& timer = ctx_.timers.ScanTimer;
  timer.setInterval(settings_.ScanInterval > 0 ? settings_.ScanInterval : FallbackIntervalMs);
  timer.setEnabled(true);
}

// ---- Speed ---------------------------------------------------------------------------

void ScanEngine::ScanSpdBtnClick(int button) {
  if (button < 0 || button >= static_cast<int>(settings_.SpeedIntervals.size())) return;
  settings_.ScanSpeedIndex = button + 1;
  settings_.ScanInterval = settings_.SpeedIntervals[static_cast<std::size_t>(button)];
  ctx_.panel.press(ScanSpeedButton(button));
  // Restarting the timer makes the new interval count from now.
  if (ctx_.scan.ScanState > 0) RestartTimer();
}

// ---- Ticks -----------------------------------------------------------------------------

void ScanEngine::ScanTimerTick() {
  const int state = ctx_.scan.ScanState;
  if (state == ScanKindNone) return;
  // The previous step has not left yet: replacing it would skip a step.
  if (ctx_.link.tuningPending() || (state == ScanKindFile && !stations_.GridTunePermit)) {
    ++waitedTicks_;
    return;
  }
  bool moved = false;
  switch (state) {
    case ScanKindLimit:
    case ScanKindBand:
      moved = LimitTick();
      break;
    case ScanKindMemory:
      moved = MemoryTick();
      break;
    case ScanKindFile:
      moved = FileTick();
      break;
    default:
      break;
  }
  if (moved) ++stepsTaken_;
}

bool ScanEngine::LimitTick() {
  RadioState& s = ctx_.state;
  const double step = s.StepHz / 1000.0;
  double freq = s.Freq;
  s.SaveLastFrequency();
  if (ctx_.scan.ScanDirection == 1) {
    ctx_.panel.press(Ctl::FreqDnBtn);
    freq = freq - step >= settings_.LimitLow - LimitMarginKHz ? freq - step : settings_.LimitHigh;
  } else {
    ctx_.panel.press(Ctl::FreqUpBtn);
    freq = freq + step <= settings_.LimitHigh + LimitMarginKHz ? freq + step : settings_.LimitLow;
  }
  s.Freq = OnFrequencyGrid(freq);
  settings_.ScanFrequency = s.Freq;
  receiver_.TuneRadio();
  return true;
}

bool ScanEngine::MemoryTick() {
  PanelModel& panel = ctx_.panel;
  Scratchpad& pad = scratchpad_.pad;
  if (!pad.hasScannableChannel()) {
    panel.release(Ctl::ScanBtn);
    ctx_.messages.showMessage(NoMemoryChannelsMessage);
    ctx_.timers.ScanTimer.setEnabled(false);
    tuning_.EndScanOrTuning();
    return false;
  }

  // The bank shown is scanned even when it is disabled (it may have been
  // chosen with the bank buttons); enabled is asked only when moving on.
  // At least one enabled bank holds a usable channel, so the walk ends.
  const int startBank = pad.CurrentBank;
  int bank = std::clamp(pad.CurrentBank, 1, ScratchpadBankCount);
  int channel = std::clamp(pad.CurrentChannel, 0, ScratchpadChannelCount - 1);
  const bool upward = ctx_.scan.ScanDirection == 0;
  do {
    if (upward) {
      if (++channel >= ScratchpadChannelCount) {
        channel = 0;
        do bank = bank % ScratchpadBankCount + 1;
        while (!pad.bankEnabled(bank));
      }
    } else {
      if (--channel < 0) {
        channel = ScratchpadChannelCount - 1;
        do bank = bank == 1 ? ScratchpadBankCount : bank - 1;
        while (!pad.bankEnabled(bank));
      }
    }
  } while (!pad.channel(bank, channel).scannable());

  pad.CurrentBank = bank;
  pad.CurrentChannel = channel;
  if (bank != startBank) {
    scratchpad_.ClearScratchpadButtons();
    scratchpad_.ShowScratchpadBank();
  }
  panel.press(ScratchpadButton(channel));
  scratchpad_.RecallScratchpadChannel();
  return true;
}

bool ScanEngine::FileTick() {
  // The rows shown: the on-air view's while it is on.
  const int shown = stations_.list.ViewCount();
  bool anyOpen = false;
  for (int row = 1; row <= shown && !anyOpen; ++row) anyOpen = !RowLockedOut(row);
  if (!anyOpen) {
    ctx_.timers.ScanTimer.setEnabled(false);
    tuning_.EndScanOrTuning();
    ResetScanSelection();
    ctx_.messages.showMessage(AllLinesLockedMessage);
    return false;
  }

  // A row kept from a longer view restarts at the matching end.
  int row = std::clamp(FileScanRow, 0, shown + 1);
  const bool downList = ctx_.scan.ScanDirection == 0;
  do {
    if (downList) {
      if (++row > shown) row = 1;
    } else {
      if (--row < 1) row = shown;
    }
  } while (RowLockedOut(row));

  FileScanRow = row;
  stations_.SetRow(row);
  stations_.TuneFromGridRow(row);
  return true;
}

// ---- Ending --------------------------------------------------------------------------

void ScanEngine::StopScan() {
  tuning_.EndScanOrTuning();
  if (ctx_.scan.ScanKind > ScanKindNone) ctx_.panel.release(Ctl::ScanBtn);
}

void ScanEngine::EndScan() {
  PanelModel& panel = ctx_.panel;
  // EndScanOrTuning also ends continuous tuning with no scan running; what
  // only a scan did is undone only when one ran.
  const bool wasRunning = ctx_.scan.ScanState != ScanKindNone;
  const int kind = ctx_.scan.ScanKind;

  panel.release(Ctl::FreqUpBtn);
  panel.release(Ctl::FreqDnBtn);
  if (kind == ScanKindFile && wasRunning) SetFileControlsEnabled(true);
  panel.release(Ctl::ScanBtn);
  if (kind == ScanKindLimit && wasRunning)
    limits_.RememberLimitRange(settings_.LimitLow, settings_.LimitHigh);
  else
    ShowLimitRangeItems();
  if (kind == ScanKindBand) panel.press(Ctl::BandScanBtn);
  ctx_.timers.ScanTimer.setEnabled(false);
  ctx_.scan.ScanState = ScanKindNone;
}

void ScanEngine::ResetScanSelection() {
  ctx_.panel.release(Ctl::FreqUpBtn);
  ctx_.panel.release(Ctl::FreqDnBtn);
  ForgetSelection();
}

void ScanEngine::ForgetSelection() {
  PanelModel& panel = ctx_.panel;
  panel.setEnabled(Ctl::NowBtn, true);
  ShowLimitRangeItems();
  settings_.MemScanStarted = false;
  panel.release(Ctl::ScanBtn);
  const int kind = ctx_.scan.ScanKind;
  if (kind == ScanKindLimit || kind == ScanKindBand) panel.setCaption(Ctl::StatusPanel, "");
  ctx_.scan.ScanKind = ScanKindNone;
}

void ScanEngine::PauseFileScanFromGrid() {
  if (ctx_.scan.ScanState != ScanKindFile) return;
  PanelModel& panel = ctx_.panel;
  ctx_.scan.ScanState = ScanKindNone;
  ctx_.timers.ScanTimer.setEnabled(false);
  panel.release(Ctl::ScanBtn);
  SetFileControlsEnabled(true);
  SetEnabled(panel, FileScanOtherControls, true);
  ShowLimitRangeItems();
  // FileScanRow stays: Scan resumes from the row the scan had reached.
}

void ScanEngine::ResetForCompanion() {
  StopScan();
  ForgetSelection();
  // Ending a band scan pressed its button again; with the kind forgotten
  // every kind button is up.
  for (Ctl control : {Ctl::FileScanBtn, Ctl::MemScanBtn, Ctl::LimitScanBtn, Ctl::BandScanBtn})
    ctx_.panel.release(control);
}

void ScanEngine::ResetScanResumeState() {
  settings_.MemScanStarted = false;
  FileScanRow = 0;
}

}  // namespace ondaris
