#pragma once
// The three publishable listing styles of selected log records: utility
// ("Ute"), shortwave broadcast ("SWL") and medium wave ("MW"). Everything
// here works on the column store and returns text; LogExportRun.h writes the
// files and shows the result.
//
// Records are numbered 1..RecordCount() as in LogTable. Freq is held with the
// locale's separator and always exported with ".".

#include <string>
#include <string_view>
#include <vector>

#include "logbook/LogFile.h"
#include "logbook/LogTable.h"

namespace ondaris {

enum class LogExportKind { Ute, Swl, Mw };

// "Jan".."Dec" for 1..12, empty otherwise.
std::string MonthAbbrev(int month);
// A stored month/day/year date as "Jan 5" (month name, a space, the day as
// written).
std::string MonthDayText(std::string_view date);
// A stored date as "5/Jan/2001".
std::string DayMonthYearText(std::string_view date);
std::string TrimTrailingSpaces(std::string_view text);
// Letters in capitals: A..Z and the accented letters of the single-byte
// code page the log is kept in.
std::string ToCapitals(std::string_view text);

// The record's Freq with "." as decimal point.
std::string ExportFreq(const LogTable& table, int record, char separator);

// One record as an SWL or MW listing line, or as the long Ute line before
// wrapping. An empty signature leaves the parentheses out.
std::string SwlExportLine(const LogTable& table, int record, const std::string& signature, char separator);
std::string MwExportLine(const LogTable& table, int record, const std::string& signature, char separator);
std::string UteExportLine(const LogTable& table, int record, const std::string& signature, char separator);

// The Ute line cut into lines of at most 72 characters at spaces, every
// continuation line starting its text in column 9. A stretch without a space
// where a cut is due is cut there hard, so no text is lost or repeated.
std::vector<std::string> WrapUteLine(std::string_view line);

// The selected records in log order: those of `selection` that are records,
// each once. With the export's bulk sort on and two or more records, the
// list (not the log) is then sorted by the export's keys.
std::vector<int> ExportSelection(const LogTable& table, const std::vector<int>& selection, LogExportKind kind,
                                 const LogExportSettings& settings, char separator);

// The whole listing of `records` (already selected and sorted): each
// record's lines, one empty line between records, and the closing text after
// one empty line when it has any lines. Empty when there are no records.
std::vector<std::string> LogExportLines(const LogTable& table, const std::vector<int>& records, LogExportKind kind,
                                        const std::string& signature, const std::vector<std::string>& closingText,
                                        char separator);

// Lines joined, each followed by CR LF (the file's bytes and the preview).
std::string JoinCrLf(const std::vector<std::string>& lines);

// Below the program folder.
std::string LogExportFileName(LogExportKind kind);  // "UteExport.txt", ...
inline constexpr const char* NothingExportedMessage = "No records have been exported.  Exiting...";
std::string LogExportDoneMessage(LogExportKind kind);

}  // namespace ondaris
