#pragma once
// The twenty remembered limit-scan ranges: every limit scan that is stopped
// or paused goes to the top of the list with its full tuning and scan speed;
// choosing one from the Limits menu (LimRange1..LimRange20) restores that
// tuning and starts scanning at once. Kept in SysFiles/Limits1.dat, the 20
// records of 128 bytes in slot order (2,560 bytes, no header):
//
//   offset  size  field
//   0       8     Low (double, kHz)
//   8       8     High (double, kHz)
//   16      81    Name: length byte (0..80) + 80 characters; empty = free slot
//   97      3     padding
//   100     4     Mode (0 AM, 1 USB, 2 LSB, 3 CW; only the low byte is read)
//   104     4     FilterIndex (0..23)
//   108     4     StepIndex (0..8)
//   112     4     AGC (1 slow, 2 medium, 3 fast)
//   116     4     PBT (Hz)
//   120     4     SpeedIndex (1..6, the scan speed button)
//   124     4     padding
//
// This file also holds the scan values that choosing limits shares with the
// scan engine (ScanSettings) and the speed tables of limit scanning.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"

namespace ondaris {

class ReceiverControls;
class TuningController;

inline constexpr int LimitRangeCount = 20;
inline constexpr std::size_t LimitRangeSize = 128;
inline constexpr std::size_t LimitsFileSize = 2560;
inline constexpr std::size_t LimitRangeNameCapacity = 80;

inline constexpr const char* MissingLimitsMessage =
    "Could not find SysFiles\\Limits1.dat - initializing with default data.";
// Shown when the file cannot be written; the system's reason follows on the
// next line.
inline constexpr const char* LimitsSaveFailedMessage = "Could not save the limits to disk.";

struct LimitRange {
  double Low = 0;   // kHz
  double High = 0;  // kHz
  std::string Name;  // at most 80 characters; empty = free slot
  std::int32_t Mode = 0;
  std::int32_t FilterIndex = 0;
  std::int32_t StepIndex = 0;
  std::int32_t AGC = 0;
  std::int32_t PBT = 0;
  std::int32_t SpeedIndex = 0;

  bool defined() const { return !Name.empty(); }
  friend bool operator==(const LimitRange&, const LimitRange&) = default;
};

// The record of a first start: no limits, USB, 2550 Hz filter (row 13),
// 100 Hz step (row 3), AGC medium, PBT 0, speed button 2.
LimitRange DefaultLimitRange();

using LimitRangeList = std::array<LimitRange, LimitRangeCount>;  // [0] is slot 1, the most recent

// ---- The scan values shared with the scan engine ---------------------------

// What the scan engine keeps besides ctx.scan (state, kind, direction) and
// what choosing limits reads and sets. All zero at start-up.
struct ScanSettings {
  double LimitLow = 0;       // kHz
  double LimitHigh = 0;      // kHz
  double ScanFrequency = 0;  // kHz, where a limit or band scan stands
  int ScanSpeedIndex = 0;    // 1..6, the pressed speed button (ScanSpd0Btn is 1)
  int ScanInterval = 0;      // ms, the ScanTimer interval of ScanSpeedIndex
  std::array<int, 6> SpeedIntervals{250, 500, 1000, 2000, 5000, 10000};  // ms, index 1..6 at [0..5]
  bool MemScanStarted = false;
};

// Captions of ScanSpd0Btn..ScanSpd5Btn and their intervals.
struct ScanSpeedTable {
  std::array<const char*, 6> captions;
  std::array<int, 6> intervalsMs;
};
// Chosen with the Limit Scan button ("0.1S" is 50 ms here).
inline constexpr ScanSpeedTable LimitScanSpeeds{{"33 mS", "0.1S", "0.2S", "0.5S", "1S", "3S"},
                                                {10, 50, 200, 500, 1000, 3000}};
// Chosen with a stored range ("0.1S" is 100 ms here).
inline constexpr ScanSpeedTable StoredRangeSpeeds{{"33 mS", "0.1S", "0.2S", "0.5S", "1S", "3S"},
                                                  {10, 100, 200, 500, 1000, 3000}};

// Gives the six speed buttons the table's captions and intervals, presses the
// button of `speedIndex` (1..6; clamped) and sets ScanSpeedIndex and
// ScanInterval.
void SelectScanSpeedTable(PanelModel& panel, ScanSettings& settings, const ScanSpeedTable& table, int speedIndex);

// ---- The file ----------------------------------------------------------------

std::string LimitsDatPath(const std::string& programDir);
// The 2,560 bytes of the file. Names longer than 80 characters are cut.
std::string EncodeLimitRanges(const LimitRangeList& list);
// Reads file bytes into `list`. A short file is read as far as it goes: the
// fields beyond its end keep the values they had. Every slot's values are
// brought into range so that a damaged file cannot send the program outside
// its tables:
//   Low, High        NaN or infinite becomes 0
//   name length      above 80 reads as 80
//   Mode             outside 0..3 becomes 0 (AM)
//   FilterIndex      clamped to 0..23
//   StepIndex        clamped to 0..8
//   AGC              outside 1..3 becomes 2 (medium)
//   PBT              clamped to -2000..+2000
//   SpeedIndex       clamped to 1..6
void DecodeLimitRanges(std::string_view bytes, LimitRangeList& list);
// Writes the file at `path` atomically. Throws FileError when it cannot be
// written; an old file is then left as it was. (Also used by the backup.)
void WriteLimitRangesFile(const std::string& path, const LimitRangeList& list);

// The name of a range: each limit as its shortest decimal text with the
// locale's separator, joined by "-": "5900-6200", "9250.5-9900".
std::string LimitRangeName(double low, double high, char separator);

// Puts a range at the top of the list: an entry of the same name moves up
// from where it was, otherwise every entry moves down one and the oldest
// (slot 20) is lost. Slot 1 then holds `range` (its name cut to 80).
void PutRangeOnTop(LimitRangeList& list, LimitRange range);

// ---- The controller ----------------------------------------------------------

class LimitRanges {
 public:
  // Tells `tuning` which LimRange items have a name (for leaving WWV mode).
  LimitRanges(PanelContext& context, ReceiverControls& controls, TuningController& tuning, ScanSettings& settings,
              std::string programDir);
  ~LimitRanges();
  LimitRanges(const LimitRanges&) = delete;
  LimitRanges& operator=(const LimitRanges&) = delete;

  LimitRangeList ranges;  // zero until loaded

  // The scan engine's StartRangeScan(low, high): validates the limits and
  // starts the limit scan.
  std::function<void(double, double)> startRangeScan;

  // Start-up (before the scratchpad): reads the file, or announces the
  // missing file and gives every slot the default record; then the menu
  // items. Throws FileError when the file exists but cannot be read.
  void LoadLimitRanges();
  // Every exit. On failure shows LimitsSaveFailedMessage with the reason and
  // returns false; the old file then stays as it was.
  bool SaveLimitRanges();

  // Caption and enabled state of LimRange1..LimRange20 from the ranges: the
  // name, enabled; or "Limit Range k", disabled.
  void ShowMenuItems();
  // Whether slot index 0..19 has a name.
  bool IsDefined(int index) const;

  // From the scan engine whenever a limit scan ends or pauses: the range goes
  // to the top with the present mode, filter, step, AGC, PBT and speed.
  void RememberLimitRange(double low, double high);

  // LimRange1Click..LimRange20Click, slot 1..20: only while no scan runs, WWV
  // mode is off and the slot has a name. Restores the slot's tuning and
  // speed and starts the scan through startRangeScan.
  void StartStoredLimitRange(int slot);
  void LimRangeClick(int slot) { StartStoredLimitRange(slot); }

 private:
  PanelContext& ctx_;
  ReceiverControls& controls_;
  TuningController& tuning_;
  ScanSettings& settings_;
  std::string programDir_;
};

}  // namespace ondaris
