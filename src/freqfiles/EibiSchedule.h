#pragma once
// Reading the EiBi shortwave schedule (a semicolon-separated CSV file) into
// station entries of the list.
//
// A schedule line holds, in this order,
//
//   kHz;Time(UTC);Days;ITU;Station;Lng;Target;Remarks;P;Start;Stop
//   9580;0800-1200;Mo-Fr;AUS;Radio Alba;E;Pac;/NZL;1;;
//
// The first line may be the header (its names may carry column widths,
// "kHz:75;Time(UTC):93;..."); it is recognised and skipped. The text is
// single-byte (ISO-8859-1), like the rest of the program's files, so it is
// taken as it stands. Lines end in CR LF or LF.
//
// Mode and filter: an entry is AM unless the schedule marks it otherwise.
// The schedule writes a sideband in the Days column ("USB", "LSB") or as a
// word of the station name ("Warsan Radio USB", "FUE French Navy USB/FSK"),
// and Morse stations with the language code "-CW". Each mode takes the
// listener's default filter and step for that mode.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "freqfiles/FrequencyRecord.h"
#include "radio/Rx320Protocol.h"

namespace ondaris {

struct RadioState;

// One schedule line split into its fields (views into the line).
struct EibiEntry {
  double kHz = 0;
  int startHHMM = 0;  // 0000..2400
  int endHHMM = 0;
  std::string_view days, itu, station, language, target, remarks;
};

// The top of the receiver's range: a schedule line above it is not read.
inline constexpr double EibiHighestKHz = 30000;

// Reads one line (line end removed). False when it has fewer than the eight
// fields up to Remarks, when kHz is not a number with "." as decimal point
// above 0 and up to EibiHighestKHz, or when Time(UTC) is not HHMM-HHMM with hours 00..24 and
// minutes 00..59 (24 only as 2400).
bool ParseEibiLine(std::string_view line, EibiEntry& entry);

// Whether a line is the schedule's header (its first field names kHz).
bool IsEibiHeaderLine(std::string_view line);

// The mode the schedule marks for an entry (see above).
Mode EibiMode(const EibiEntry& entry);

// The filter and step a new entry of each mode gets: the listener's defaults.
struct EibiModeDefaults {
  struct Pick {
    int filterIndex = 1;  // row of FilterTable
    int stepIndex = 4;    // row of StepTable
  };
  Pick am{1, 4};
  Pick ssb{13, 5};
  Pick cw{23, 5};
  bool nineKHzSteps = false;  // step row 8 is 9000 Hz instead of 10000
};
EibiModeDefaults EibiDefaultsOf(const RadioState& state);

// The station entry of a schedule line: Freq the kHz text with `separator`,
// OnAir and OffAir the two halves of Time(UTC), Name the station, Language
// the language code, Location "ITU to Target", Notes "Days: ...; Remarks:
// ..." (each part only when present; a sideband written in Days is not a
// day), mode and filter by the rule above, PBT 0, AGC left alone, Spare and
// Lockout 0. Every text is cut to its field's capacity.
FrequencyRecord EibiRecord(const EibiEntry& entry, const EibiModeDefaults& defaults, char separator);

// Which entries an import takes.
struct EibiImportOptions {
  bool onAirOnly = false;  // only those on the air at hhmmNow (UTC)
  int hhmmNow = 0;
  bool rangeOnly = false;  // only fromKHz <= kHz <= toKHz
  double fromKHz = 0;
  double toKHz = 0;
};

struct EibiImportResult {
  std::vector<FrequencyRecord> records;
  std::size_t entryLines = 0;  // lines read, the header and empty lines not counted
  int badLines = 0;            // lines that could not be read, skipped
  std::size_t firstBadLine = 0;  // 1-based line number of the first one; 0 when none
  int leftOut = 0;             // read but not taken by the options
};

// The whole schedule file.
EibiImportResult ImportEibiSchedule(std::string_view fileBytes, const EibiImportOptions& options,
                                    const EibiModeDefaults& defaults, char separator);

// "1 line of the schedule could not be read and was skipped (line 12)." /
// "N lines of the schedule could not be read and were skipped (the first is line 12)."
std::string EibiBadLinesMessage(int badLines, std::size_t firstBadLine);

}  // namespace ondaris
