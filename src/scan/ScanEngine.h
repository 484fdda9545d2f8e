#pragma once
// The scan engine: memory scan over the enabled scratchpad banks, file scan
// over the rows of the loaded station list, limit scan between two
// frequencies and band scan over a band of the band list. A scan is a
// fixed-rate stepper driven by ScanTimer; signal strength plays no part.
// Pausing keeps the position (CurrentChannel, FileScanRow, ScanFrequency),
// so the next Scan resumes where the scan left off.
//
// Pacing on the line. At 1200 baud one tuning needs about 142 ms, longer
// than the fastest scan intervals. A tick that finds the previous tuning
// still waiting to leave (SerialLink::tuningPending) waits for the next
// tick instead of replacing it, and a file-scan tick waits likewise while
// the grid may not tune yet (GridTunePermit). No channel, row or step is
// ever skipped: at the fastest speeds a scan steps as fast as the line
// carries tunings, every step reaches the receiver in order, and the window
// stays responsive because nothing blocks.
//
// Everything runs on the user-interface thread.

#include <functional>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "scan/LimitRanges.h"

namespace ondaris {

class CommandDispatcher;
class StationGrid;
class LimitScanDialog;
class Receiver;
class ScratchpadController;
class TuningController;

inline constexpr const char* SelectScanModeMessage = "Please select a scan mode.";
inline constexpr const char* NoMemoryChannelsMessage =
    "There are no channels in the enabled bank(s) which are not locked out.";
inline constexpr const char* NoFileToScanMessage = "There is no file to scan.  Please load a frequency file.";
inline constexpr const char* NoScannableLinesMessage = "There are no scannable channels in the file.";
inline constexpr const char* FileScanWithoutFileMessage = "Can't File Scan unless a file is loaded!";
inline constexpr const char* AllLinesLockedMessage = "You have locked out all the channels in the file!";

// ScanKind / ScanState values.
inline constexpr int ScanKindNone = 0;
inline constexpr int ScanKindFile = 1;
inline constexpr int ScanKindMemory = 2;
inline constexpr int ScanKindLimit = 3;
inline constexpr int ScanKindBand = 4;

class ScanEngine {
 public:
  // Takes over ScanTimer's tick, the scan side of EndScanOrTuning
  // (ctx.endScan), the space bar's start (ctx.startScanFromKey), the file
  // list's endFileScan (a left press on the grid during a file scan) and the
  // limit ranges' startRangeScan. The destructor hands them back empty.
  ScanEngine(PanelContext& context, Receiver& receiver, TuningController& tuning, ScratchpadController& scratchpad,
             StationGrid& stations, LimitRanges& limits, ScanSettings& settings);
  ~ScanEngine();
  ScanEngine(const ScanEngine&) = delete;
  ScanEngine& operator=(const ScanEngine&) = delete;

  // The Cancel of the limit dialog forgets the chosen kind here. The engine
  // must go before the dialog and the dispatcher it is attached to (its
  // destructor empties their hooks).
  void Attach(LimitScanDialog& dialog);
  // The companion's hello ends the scan and forgets the chosen kind here.
  void Attach(CommandDispatcher& dispatcher);

  // 1-based grid row of the station list that file scan has reached
  // (0: none yet).
  int FileScanRow = 0;

  // ---- Choosing the kind ----
  void MemScanBtnClick();
  void FileScanBtnClick();
  // The band side of opening the band dialog (BandScanBtn): the band speed
  // table with the locale's separator, speed 3, band scan chosen, memory
  // scan forgotten, direction up. The band dialog runs this and then lets
  // the listener pick the band; its OK sets the limits and the speed.
  void ChooseBandScan();
  // BandScanBtn: runs bandScanButton (the band dialog's opening, which
  // calls ChooseBandScan), or ChooseBandScan alone when it is unset.
  void BandScanBtnClick();
  std::function<void()> bandScanButton;

  // ---- Running ----
  void ScanBtnClick();
  void StopBtnClick() { StopScan(); }
  // ScanSpd0Btn..ScanSpd5Btn, button 0..5: the new interval applies at once.
  void ScanSpdBtnClick(int button);
  void ScanTimerTick();
  // Validates the limits (10..30000 kHz, low <= high) and starts the limit
  // scan (band scan when band scan is chosen) at ScanFrequency.
  void StartRangeScan(double low, double high);

  // ---- Ending ----
  // EndScanOrTuning and, with a kind chosen, the Scan button released. Also
  // the companion's and the scheduler's stop.
  void StopScan();
  // The scan side of EndScanOrTuning (ctx.endScan): controls the scan had
  // disabled come back, a paused limit scan's range goes to the top of the
  // Limits menu, the position and the chosen kind stay.
  void EndScan();
  // Forgets the chosen kind (the limit and band dialogs' Cancel, no
  // scannable row).
  void ResetScanSelection();
  // A left press on the grid during a file scan: the scan pauses where it
  // stands; the pressed row does not become the resume point.
  void PauseFileScanFromGrid();
  // The companion's hello: StopScan, then the selection forgotten as by
  // ResetScanSelection but with the up/down buttons left as they are; the
  // four kind buttons end up released.
  void ResetForCompanion();
  // Start-up: a memory scan starts afresh and file scan from the top.
  void ResetScanResumeState();

  // Ticks that found the line or the grid busy and waited.
  int waitedTicks() const { return waitedTicks_; }
  // Ticks that moved the scan on to its next channel, row or step.
  int stepsTaken() const { return stepsTaken_; }

 private:
  void StartMemoryScan();
  void StartFileScan();
  // Each returns whether it moved on (false: the scan ended instead).
  bool LimitTick();
  bool MemoryTick();
  bool FileTick();
  // ResetScanSelection without touching the up/down buttons.
  void ForgetSelection();
  // The LimRange items enabled exactly when their slot has a name (none in
  // WWV mode).
  void ShowLimitRangeItems();
  // The file items and buttons a file scan disables (PasteItem only while
  // the record clipboard holds records).
  void SetFileControlsEnabled(bool enabled);
  bool RowLockedOut(int row) const;
  void RestartTimer();

  PanelContext& ctx_;
  Receiver& receiver_;
  TuningController& tuning_;
  ScratchpadController& scratchpad_;
  StationGrid& stations_;
  LimitRanges& limits_;
  ScanSettings& settings_;
  LimitScanDialog* dialog_ = nullptr;
  CommandDispatcher* dispatcher_ = nullptr;
  int waitedTicks_ = 0;
  int stepsTaken_ = 0;
};

}  // namespace ondaris
