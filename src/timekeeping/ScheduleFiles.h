#pragma once
// The schedule's record and its files:
//   SysFiles/Scheduler.dat  the entries, 496 bytes each, one after the other
//                           in list order, no header;
//   SysFiles/SkedCols.dat   the scheduler grid's column widths and titles,
//                           1,632 bytes;
//   Export/SchedulerLog.txt one line per finished broadcast.
//
// ScheduleEntry layout (little-endian; a text is one length byte followed by
// its capacity in characters):
//
//   0  Started (written as 0)   34 Station (255)       308 Filter, Hz (int32)
//   1  StartDate (10)          290 padding (6)         312 PBT, Hz (int32)
//  12  EndDate (10)            296 Frequency, kHz      316 AGC (2): S, M, F
//  23  OnTime HHMM (4)             (IEEE double)       319 MuteSpeaker
//  28  OffTime HHMM (4)        304 Mode (3)            320 MuteLine
//  33  Record                                          321..495 reserved
//
// The padding and the reserved bytes are written back as they were read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondaris {

inline constexpr std::size_t ScheduleEntrySize = 496;
inline constexpr std::size_t ScheduleDateCapacity = 10;
inline constexpr std::size_t ScheduleTimeCapacity = 4;
inline constexpr std::size_t ScheduleStationCapacity = 255;
inline constexpr std::size_t ScheduleModeCapacity = 3;
inline constexpr std::size_t ScheduleAGCCapacity = 2;
// Where the reserved byte lies that a started broadcast marks on its entry.
inline constexpr std::size_t ScheduleStartedMarkOffset = 321;

inline constexpr double ScheduleLowestKHz = 10.0;
inline constexpr double ScheduleHighestKHz = 29999.999;
inline constexpr int SchedulePBTLimitHz = 2000;

struct ScheduleEntry {
  std::uint8_t Started = 0;
  std::string StartDate;  // in the day/month order chosen when it was entered
  std::string EndDate;    // for reference only
  std::string OnTime;     // UTC HHMM
  std::string OffTime;    // UTC HHMM
  std::uint8_t Record = 0;
  std::string Station;
  double Frequency = 0;  // kHz
  std::string Mode;      // "AM", "USB", "LSB", "CW"
  std::int32_t Filter = 6000;
  std::int32_t PBT = 0;
  std::string AGC = "M";  // "S" slow, "M" medium, "F" fast
  std::uint8_t MuteSpeaker = 0;
  std::uint8_t MuteLine = 0;  // never set together with Record
  // Bytes 290..295 and 321..495 as they were read; empty for a new entry
  // (zeros).
  std::string padding;
  std::string reserved;

  void MarkStarted();  // reserved byte 321 = 1
  bool operator==(const ScheduleEntry&) const = default;
};

// ---- One entry ---------------------------------------------------------------

// The 496-byte image; Started is written as 0.
std::string EncodeScheduleEntry(const ScheduleEntry& entry);

// Reads one image of at least 496 bytes. A value outside its table is
// brought into range: a mode that is none of the four becomes AM, a filter
// that is none of the 24 bandwidths the nearest one, a PBT beyond +-2000 Hz
// the limit, an AGC other than S, M or F medium, a flag other than 0 or 1
// becomes 1, and MuteLine is cleared when Record is set. An entry that cannot
// be placed or tuned is refused (nothing, with `problem` saying why): a start
// date that is no valid date from 2001 on, a time that is not four digits in
// 0000..2400, or a frequency outside 10 kHz..30 MHz.
std::optional<ScheduleEntry> DecodeScheduleEntry(std::string_view image, bool useEuroDate, std::string* problem);

// The checks of a typed date. `split`: three slash-separated numbers.
// `rewritten`: the date again from its numbers, day first under
// `useEuroDate`, a two-digit year as 20YY. `formatOk`: in that text day and
// month have 1 or 2 digits and the year 4. `valueOk`: day 1..31, month
// 1..12, year 2001 or later.
struct ScheduleDateCheck {
  bool split = false;
  std::string rewritten;
  bool formatOk = false;
  bool valueOk = false;
  bool ok() const { return split && formatOk && valueOk; }
};
ScheduleDateCheck CheckScheduleDate(const std::string& text, bool useEuroDate);

// An HHMM time of exactly four digits, as a number; nothing otherwise.
std::optional<int> ScheduleTimeValue(const std::string& text);

// Start and end in minutes (the comparison key of the date routines). The
// end is a day later when the start time of day is not before the end time
// of day. Both are -1 when a time is not four characters or the date is no
// date.
std::int64_t EntryStartMinutes(const ScheduleEntry& entry, bool useEuroDate);
std::int64_t EntryEndMinutes(const ScheduleEntry& entry, bool useEuroDate);

// Ascending by start, with the program's Shell sort (ties keep no order).
void SortSchedule(std::vector<ScheduleEntry>& schedule, bool useEuroDate);

// ---- Scheduler.dat -----------------------------------------------------------

std::string SchedulePath(const std::string& programDir);

struct ScheduleReadResult {
  std::vector<ScheduleEntry> entries;
  std::vector<std::string> problems;  // one text for each refused or cut-off entry
};
// The entries of a file image. A partial entry at the end is left out and
// reported.
ScheduleReadResult DecodeSchedule(std::string_view bytes, bool useEuroDate);
std::string EncodeSchedule(const std::vector<ScheduleEntry>& entries);
// Nothing read (and no problem) when the file is missing. Throws FileError
// when it exists but cannot be read.
ScheduleReadResult ReadSchedule(const std::string& programDir, bool useEuroDate);
// Replaces the file atomically; throws FileError when it cannot be written.
void WriteSchedule(const std::string& programDir, const std::vector<ScheduleEntry>& entries);
// Deletes the file (a missing file is no error).
void DeleteSchedule(const std::string& programDir);

// ---- SkedCols.dat ------------------------------------------------------------

inline constexpr std::size_t SkedColsFileSize = 1632;
inline constexpr int SkedColumnCount = 12;
inline constexpr std::size_t SkedWidthsOffset = 256;
inline constexpr std::size_t SkedTitlesOffset = 304;
inline constexpr std::size_t SkedTitleSlot = 21;
inline constexpr std::size_t SkedTitleCapacity = 20;
// A stored width outside this range is damage and is not taken.
inline constexpr int SkedColumnMinWidth = 1;
inline constexpr int SkedColumnMaxWidth = 5000;

struct SkedColumns {
  std::array<int, SkedColumnCount> widths{};
  std::array<std::string, SkedColumnCount> titles;
  std::string image;  // the whole file as read (the unused bytes go back as they were)
};

// "Date", "Time", "Off", "Rec", "Station", "Freq", "Mode", "Filt", "AGC",
// "PBT", "S-mut", "L-mut"; each width (client width / 12) - 1.
SkedColumns DefaultSkedColumns(int gridClientWidth);
std::string SkedColsPath(const std::string& programDir);
std::string EncodeSkedColumns(const SkedColumns& columns);
// A short file gives only its whole widths and titles; a width outside
// SkedColumnMinWidth..Max or an empty title keeps its default.
SkedColumns DecodeSkedColumns(std::string_view bytes, int gridClientWidth);
// The defaults when the file is missing; throws FileError when unreadable.
SkedColumns ReadSkedColumns(const std::string& programDir, int gridClientWidth);
void WriteSkedColumns(const std::string& programDir, const SkedColumns& columns);

// ---- SchedulerLog.txt --------------------------------------------------------

struct BroadcastLogLine {
  std::string startDate;
  int actualStartHHMM = 0;
  int endedHHMM = 0;
  double freqKHz = 0;
  std::string station;
  std::string waveFile;         // when the broadcast was recorded
  std::string recordingProblem;  // when it should have been but was not
};

// StartDate right-aligned in 10, 3 blanks, start "-" end as HHMM, 3 blanks,
// whole kHz left-aligned in 12, the station left-aligned and cut to 22, 3
// blanks, then the wave file name, or "Not recorded: " and the reason.
std::string SchedulerLogText(const BroadcastLogLine& line);
std::string SchedulerLogPath(const std::string& programDir);
// Reads the log (if any), adds the line and writes it back with CR LF line
// ends. Throws FileError when it cannot.
void AppendSchedulerLog(const std::string& programDir, const std::string& line);

}  // namespace ondaris
