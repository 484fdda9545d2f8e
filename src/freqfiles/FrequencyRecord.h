#pragma once
// One station entry of a frequency file (.320) and the reading and writing of
// its line.
//
// A line holds fourteen comma-separated fields; the six text fields are in
// double quotes, the others are bare:
//
//   "Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes",0,0
//
// Nothing is escaped, so no double quote may reach a text field: every path
// that stores typed or received text into a record goes through
// SanitizeTextField, which turns a double quote into a single one, and the
// writer does the same to whatever it is given.
//
// The file stores the frequency in MHz with six decimals and "." as decimal
// point; inside the program Freq is the kHz text the listener sees (9580,
// 9580.5, 153), written with the locale's decimal separator. The separator is
// always passed in; nothing here asks the system for it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/NumberText.h"

namespace ondaris {

struct FrequencyRecord {
  // Capacities: text longer than these is cut to its first characters when
  // it is stored in a record.
  static constexpr std::size_t NameCapacity = 20;
  static constexpr std::size_t FreqCapacity = 9;
  static constexpr std::size_t ModeCapacity = 3;
  static constexpr std::size_t FilterCapacity = 4;
  static constexpr std::size_t AGCCapacity = 1;
  static constexpr std::size_t StepCapacity = 5;
  static constexpr std::size_t PBTCapacity = 5;
  static constexpr std::size_t LocationCapacity = 15;
  static constexpr std::size_t LanguageCapacity = 10;
  static constexpr std::size_t OnAirCapacity = 4;
  static constexpr std::size_t OffAirCapacity = 4;
  static constexpr std::size_t NotesCapacity = 64;
  static constexpr std::size_t SpareCapacity = 10;
  static constexpr std::size_t LockoutCapacity = 10;

  std::string Name;
  std::string Freq;      // kHz text in memory; MHz text only straight after ParseFrequencyLine
  std::string Mode;      // "AM", "USB", "LSB", "CW"
  std::string Filter;    // bandwidth in Hz
  std::string AGC = "0"; // "3" fast, "2" medium, "1" slow; "0" when cleared
  std::string Step;      // Hz
  std::string PBT;       // Hz, -2000..2000
  std::string Location;
  std::string Language;
  std::string OnAir;     // HHMM, UTC
  std::string OffAir;    // HHMM, UTC
  std::string Notes;
  std::string Spare;     // "0" for records the program creates; carried through
  std::string Lockout;   // "0" or "1"
  std::int32_t FilterIndex = 0;  // row of Filter in FilterTable
  std::int32_t StepIndex = 0;    // row of Step in StepTable (8 also for "9000")

  bool operator==(const FrequencyRecord&) const = default;
};

// Every text empty except AGC "0"; both indices 0. A default-constructed
// record is already in this state.
void ClearFrequencyRecord(FrequencyRecord& record);

// The text a record stores for `text` typed or received for one of its
// fields: double quotes become single quotes (a double quote would end the
// quoted field early and wreck the line), CR and LF become blanks (they would
// split the line), and the text is cut to `capacity`. Dialogs, the companion
// link and the list's setters all store user text through this.
std::string SanitizeTextField(std::string_view text, std::size_t capacity);
// Applies SanitizeTextField to every text field with its own capacity.
void SanitizeFrequencyRecord(FrequencyRecord& record);

// Reads one file line into `record` (cleared first). Returns false when the
// line fails; `record` is then meaningless. The record's Freq is still the
// MHz text of the file (cut to 9 characters like every field is cut to its
// capacity); FilterIndex and StepIndex are set from the tables, a Filter or
// Step off the tables being replaced by the nearest table value below it.
// A line fails when it is empty, when it does not begin with a double quote
// (a station entry always starts with its quoted name), when a quoted field
// is not opened by a quote or not closed before the line ends, when a bare
// field is not closed by a comma, and when a Step that is not a table text
// cannot be read as a whole number. Line ends must already be removed.
bool ParseFrequencyLine(std::string_view line, FrequencyRecord& record);

// MHz text of a file ("9.580000", "." as decimal point) to the kHz text of
// the program (FormatFrequency, three decimals, not fixed): "9580",
// "14230.5" (with `separator` as decimal point). No value when the text is
// not a number or the frequency is beyond what the formatter shows ("xxx").
std::optional<std::string> FileFreqToKHzText(std::string_view mhzText, char separator);
// kHz text of the program (with `separator`) to the MHz text of a file: six
// decimals, "." as decimal point. Throws ConversionError when the text is not
// a number.
std::string KHzTextToFileFreq(std::string_view kHzText, char separator);

// ParseFrequencyLine followed by the frequency conversion: what loading a
// file does with each line. Returns false when the line fails, including a
// Freq that is not a number.
bool ReadFrequencyLine(std::string_view line, char separator, FrequencyRecord& record);

// The file line of a record (without line end). Freq is the record's kHz text
// written as MHz (throws ConversionError when it is not a number). A double
// quote in any field is written as a single quote and a CR or LF as a blank,
// so the line always reads back. FilterIndex and StepIndex are not written.
std::string FormatFrequencyLine(const FrequencyRecord& record, char separator);

// "Error reading record " + lineNumber (1-based) + ":  " + line.
std::string ErrorReadingRecordMessage(std::size_t lineNumber, std::string_view line);

// Whether a record's Lockout marks it locked out: read as a whole number it
// is not 0. Text that is not a number counts as not locked out.
bool IsLockedOut(std::string_view lockout);

}  // namespace ondaris
