#pragma once
// One logbook entry and its line in LogFiles/OndarisLog.txt.
//
// A line holds fifteen fields, each followed by one tab (the last tab
// trails), and ends with CR LF:
//
//   Code Freq Mode Time Date ID Notes Sent Rcvd Rpt1 Rpt2 Off Country Misc Attach
//
// Nothing quotes or escapes a field, so no field may hold a tab, CR or LF:
// every writer passes the fields through CleanLogField. Freq is the kHz text
// with "." in the file and the locale's separator in memory; Date is always
// month/day/year in the file (see LogDates.h). A line written by the log
// entry dialog carries the first fourteen fields only.

#include <cstddef>
#include <string>
#include <string_view>

namespace ondaris {

struct LogRecord {
  // What loading keeps of each field: longer text is cut to its first
  // characters (Notes is never cut on load).
  static constexpr std::size_t CodeCapacity = 10;
  static constexpr std::size_t FreqCapacity = 20;
  static constexpr std::size_t ModeCapacity = 10;
  static constexpr std::size_t TimeCapacity = 10;
  static constexpr std::size_t DateCapacity = 10;
  static constexpr std::size_t IDCapacity = 80;
  static constexpr std::size_t SentCapacity = 80;
  static constexpr std::size_t RcvdCapacity = 20;
  static constexpr std::size_t Rpt1Capacity = 20;
  static constexpr std::size_t Rpt2Capacity = 20;
  static constexpr std::size_t OffCapacity = 10;
  static constexpr std::size_t CountryCapacity = 80;
  static constexpr std::size_t MiscCapacity = 80;
  static constexpr std::size_t AttachCapacity = 255;
  // Typed notes are cut to this before they are stored.
  static constexpr std::size_t NotesTypedLimit = 2048;

  std::string Code;
  std::string Freq;  // kHz; locale separator in memory, "." in the file
  std::string Mode;
  std::string Time;  // HHMM, UTC; "*" marks a sign-on
  std::string Date;  // month/day/year, UTC
  std::string ID;
  std::string Notes;
  std::string Sent;
  std::string Rcvd;
  std::string Rpt1;
  std::string Rpt2;
  std::string Off;   // HHMM, UTC; "*" marks a sign-off
  std::string Country;
  std::string Misc;
  std::string Attach;

  bool operator==(const LogRecord&) const = default;
};

// Reads one line (its line end already removed): the fields in file order,
// those missing at the end of a short line empty, each cut to its capacity,
// Freq with "." turned into `separator`.
LogRecord ParseLogLine(std::string_view line, char separator);

// The record's line without its line end: all fifteen fields, each followed
// by a tab, Freq with `separator` turned into ".", every field through
// CleanLogField.
std::string FormatLogLine(const LogRecord& record, char separator);
// The line the log entry dialog appends: fields 1..14, Attach left off.
std::string FormatEntryLine(const LogRecord& record, char separator);

// The text with every tab, CR and LF turned into a blank, so that it can
// stand as one field of a line.
std::string CleanLogField(std::string_view text);
// Text typed for a field: double quotes become single quotes, a CR becomes a
// blank, an LF is dropped (a typed line break becomes one blank), and a tab
// becomes a blank; the result is cut to `capacity` characters.
std::string TidyTypedText(std::string_view text, std::size_t capacity);

// The derived flags shown in the grid: "Y" when the text is not empty.
inline std::string FlagOf(std::string_view text) { return text.empty() ? std::string() : std::string("Y"); }

}  // namespace ondaris
