#pragma once
// The log file on disk and the logbook's small settings files, each with one
// reader and one writer. Paths are below the program folder (`programDir`
// ends with "/").

#include <optional>
#include <string>
#include <string_view>

#include "logbook/LogTable.h"

namespace ondaris {

class MessageBoxes;

std::string LogFilePath(const std::string& programDir);        // LogFiles/OndarisLog.txt
std::string LogFilesPath(const std::string& programDir, const std::string& name);  // LogFiles/<name>

// The log file's bytes; nothing when it does not exist. Throws FileError when
// it exists but cannot be read.
std::optional<std::string> ReadLogFile(const std::string& programDir);
// SaveLogTable: writes the table to the log file, replacing it atomically,
// and clears Changed. When the file cannot be written, FileError is thrown,
// the old file stays as it was and the table keeps Changed.
void SaveLogTable(const std::string& programDir, LogTable& table, char separator);
// Appends one line to the log file (created when missing): the file's lines
// are rewritten with CR LF and the line added after them, atomically.
void AppendLogLine(const std::string& programDir, std::string_view line);

// ---- DateFormat.dat: one line, "DD/MM/YYYY" (day first) or "MM/DD/YYYY".
inline constexpr const char* DayFirstDateFormat = "DD/MM/YYYY";
inline constexpr const char* MonthFirstDateFormat = "MM/DD/YYYY";
// True only when the first line is "DD/MM/YYYY" exactly.
bool ParseLogDateFormat(std::string_view fileBytes);
std::string LogDateFormatText(bool useEuroDate);
// LoadLogDateFormat: false (month first) when the file is missing or
// cannot be read.
bool LoadLogDateFormat(const std::string& programDir);
void SaveLogDateFormat(const std::string& programDir, bool useEuroDate);  // throws FileError

// ---- LogExpConsol.dat: "SWL=Yes|No", "MW=Yes|No", "Ute=Yes|No".
struct LogExportSettings {
  bool SwlBulkSort = false;
  bool MwBulkSort = false;
  bool UteBulkSort = false;
  bool operator==(const LogExportSettings&) const = default;
};
// All flags off unless the file has exactly three lines; then each flag is
// set when its line is the "=Yes" text exactly.
LogExportSettings ParseLogExportSettings(std::string_view fileBytes);
std::string LogExportSettingsText(const LogExportSettings& settings);
LogExportSettings LoadLogExportSettings(const std::string& programDir);  // missing or unreadable: all off
void SaveLogExportSettings(const std::string& programDir, const LogExportSettings& settings);  // throws FileError

// ---- Pick lists of the log entry dialog: one remembered entry per line.
// Missing file: empty list.
std::vector<std::string> ReadPickList(const std::string& programDir, const std::string& fileName);
void WritePickList(const std::string& programDir, const std::string& fileName,
                   const std::vector<std::string>& entries);  // throws FileError

// ConvertOldLogFile: the one-time conversion of the comma-separated log of
// the older version (LogFiles/OndarisLog.csv) into the tab-separated
// OndarisLog.txt, with a backup OndarisLog.bak and the two messages. Runs
// only when the .csv exists and the .txt does not; returns whether it ran.
bool ConvertOldLogFile(const std::string& programDir, MessageBoxes& messages);
// One line of the older log as a line of the tab-separated log.
std::string OldLogLineToTabs(std::string_view line);

inline constexpr const char* ConvertingLogMessage =
    "Your log file is being converted to a tab-delimited text file.\n"
    "Storing a backup copy as 'OndarisLog.bak' in the LogFiles directory.";
inline constexpr const char* LogConvertedMessage =
    "Your log file, LogFiles\\OndarisLog.csv, has been converted to \n"
    "the V1.1 log format, saved as LogFiles\\OndarisLog.txt\n\n"
    "You can now delete LogFiles\\OndarisLog.csv";

}  // namespace ondaris

namespace ondaris {

// The logbook's settings for the run: read at start-up, changed by the
// options dialog (which writes their files through the savers above).
struct LogbookSettings {
  bool UseEuroDate = false;  // dates shown and typed day first
  LogExportSettings Export;  // the bulk sorts of the three exports
  // Below LogFiles/; fixed at start-up from the main window's width.
  std::string LayoutFileName = "LargeLogGrid.dat";
  // The main window's width when start-up chooses the layout file.
  int MainWindowWidth = 800;
};

}  // namespace ondaris
