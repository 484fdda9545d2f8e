#include "logbook/LogFile.h"

#include <filesystem>
#include <system_error>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/FileLines.h"
#include "platform/MessageBoxes.h"

namespace ondaris {

namespace {

// Settings files are small and optional: one that cannot be read counts as
// missing, the way a missing one does.
std::optional<std::string> ReadOptional(const std::string& path) {
  try {
    return ReadWholeFile(path);
  } catch (const FileError&) {
    return std::nullopt;
  }
}

std::string JoinLines(const std::vector<std::string_view>& lines) {
  std::string text;
  for (std::string_view line : lines) {
    text.append(line);
    text += "\r\n";
  }
  return text;
}

}  // namespace

std::string LogFilesPath(const std::string& programDir, const std::string& name) {
  return programDir + "LogFiles/" + name;
}

std::string LogFilePath(const std::string& programDir) { return LogFilesPath(programDir, "OndarisLog.txt"); }

std::optional<std::string> ReadLogFile(const std::string& programDir) { return ReadWholeFile(LogFilePath(programDir)); }

void SaveLogTable(const std::string& programDir, LogTable& table, char separator) {
  WriteFileAtomically(LogFilePath(programDir), table.FileText(separator));
  table.Changed = false;
}

void AppendLogLine(const std::string& programDir, std::string_view line) {
  const std::string path = LogFilePath(programDir);
  const std::string old = ReadWholeFile(path).value_or(std::string());
  std::string text = JoinLines(SplitFileLines(old));
  // The line's tabs separate its fields; only a line break inside it could
  // split the record.
  for (char c : line) text += (c == '\r' || c == '\n') ? ' ' : c;
  text += "\r\n";
  WriteFileAtomically(path, text);
}

bool ParseLogDateFormat(std::string_view fileBytes) {
  const auto lines = SplitFileLines(fileBytes);
  return !lines.empty() && lines[0] == DayFirstDateFormat;
}

std::string LogDateFormatText(bool useEuroDate) {
  return std::string(useEuroDate ? DayFirstDateFormat : MonthFirstDateFormat) + "\r\n";
}

bool LoadLogDateFormat(const std::string& programDir) {
  const auto bytes = ReadOptional(LogFilesPath(programDir, "DateFormat.dat"));
  return bytes && ParseLogDateFormat(*bytes);
}

void SaveLogDateFormat(const std::string& programDir, bool useEuroDate) {
  WriteFileAtomically(LogFilesPath(programDir, "DateFormat.dat"), LogDateFormatText(useEuroDate));
}

LogExportSettings ParseLogExportSettings(std::string_view fileBytes) {
  LogExportSettings settings;
  const auto lines = SplitFileLines(fileBytes);
  if (lines.size() != 3) return settings;
  settings.SwlBulkSort = lines[0] == "SWL=Yes";
  settings.MwBulkSort = lines[1] == "MW=Yes";
  settings.UteBulkSort = lines[2] == "Ute=Yes";
  return settings;
}

std::string LogExportSettingsText(const LogExportSettings& s) {
  return std::string(s.SwlBulkSort ? "SWL=Yes" : "SWL=No") + "\r\n" + (s.MwBulkSort ? "MW=Yes" : "MW=No") + "\r\n" +
         (s.UteBulkSort ? "Ute=Yes" : "Ute=No") + "\r\n";
}

LogExportSettings LoadLogExportSettings(const std::string& programDir) {
  const auto bytes = ReadOptional(LogFilesPath(programDir, "LogExpConsol.dat"));
  return bytes ? ParseLogExportSettings(*bytes) : LogExportSettings{};
}

void SaveLogExportSettings(const std::string& programDir, const LogExportSettings& settings) {
  WriteFileAtomically(LogFilesPath(programDir, "LogExpConsol.dat"), LogExportSettingsText(settings));
}

std::vector<std::string> ReadPickList(const std::string& programDir, const std::string& fileName) {
  std::vector<std::string> entries;
  const auto bytes = ReadOptional(LogFilesPath(programDir, fileName));
  if (!bytes) return entries;
  for (std::string_view line : SplitFileLines(*bytes)) entries.emplace_back(line);
  return entries;
}

void WritePickList(const std::string& programDir, const std::string& fileName,
                   const std::vector<std::string>& entries) {
  std::string text;
  for (const auto& entry : entries) {
    text += CleanLogField(entry);
    text += "\r\n";
  }
  WriteFileAtomically(LogFilesPath(programDir, fileName), text);
}

std::string OldLogLineToTabs(std::string_view line) {
  std::string out;
  out.reserve(line.size() + 6);
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      out += '\t';
    } else {
      out += c;
    }
  }
  out.append(6, '\t');
  return out;
}

bool ConvertOldLogFile(const std::string& programDir, MessageBoxes& messages) {
  const std::string older = LogFilesPath(programDir, "OndarisLog.csv");
  const std::string current = LogFilePath(programDir);
  if (!FileExists(older) || FileExists(current)) return false;

  messages.showMessage(ConvertingLogMessage);
  const std::string original = ReadWholeFile(older).value_or(std::string());
  const auto lines = SplitFileLines(original);
  WriteFileAtomically(LogFilesPath(programDir, "OndarisLog.bak"), JoinLines(lines));

  std::string converted;
  converted.reserve(original.size() + lines.size() * 8);
  for (std::string_view line : lines) {
    converted += OldLogLineToTabs(line);
    converted += "\r\n";
  }
  WriteFileAtomically(current, converted);
  messages.showMessage(LogConvertedMessage);

  // The older pick lists began with a line the new version no longer keeps.
  for (const char* name : {"LogModes.dat", "LogCodes.dat", "LogUser.dat"}) {
    const std::string path = LogFilesPath(programDir, name);
    const auto bytes = ReadWholeFile(path);
    if (!bytes) continue;
    auto pickLines = SplitFileLines(*bytes);
    if (pickLines.size() <= 1) continue;
    pickLines.erase(pickLines.begin());
    WriteFileAtomically(path, JoinLines(pickLines));
  }

  // The new log and its backup are on disk; a .csv that cannot be removed
  // is harmless, since the conversion only runs while no .txt exists.
  std::error_code ignored;
  std::filesystem::remove(older, ignored);
  return true;
}

}  // namespace ondaris
