#include "logbook/LogExportRun.h"

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/FileLines.h"
#include "logbook/AdifExport.h"
#include "logbook/LogDisplay.h"
#include "logbook/LogReportDialog.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

namespace ondaris {

namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  try {
    if (const auto bytes = ReadWholeFile(path))
      for (std::string_view line : SplitFileLines(*bytes)) lines.emplace_back(line);
  } catch (const FileError&) {
    lines.clear();  // unreadable counts as missing
  }
  return lines;
}

}  // namespace

void SaveLogSignature(const std::string& programDir, const std::string& signature) {
  WriteFileAtomically(LogFilesPath(programDir, "LogSig.dat"), CleanLogField(signature) + "\r\n");
}

std::vector<std::string> LoadClosingText(const std::string& programDir) {
  return ReadLines(LogFilesPath(programDir, "Bragfile.dat"));
}

std::string ExportFilePath(const std::string& programDir, const std::string& fileName) {
  return programDir + "Export/" + fileName;
}

LogExporter::LogExporter(std::string programDir, char separator, MessageBoxes& messages)
    : programDir_(std::move(programDir)), separator_(separator), messages_(messages) {}

bool LogExporter::Export(LogExportKind kind, const LogTable& table, const std::vector<int>& selection,
                         const std::string& signature, const LogExportSettings& settings) {
  if (table.RecordCount() == 0) return false;
  try {
    if (!signature.empty()) SaveLogSignature(programDir_, signature);
  } catch (const FileError& error) {
    // The listing does not need the file; say so and export all the same.
    messages_.showMessage(error.what());
  }
  const auto records = ExportSelection(table, selection, kind, settings, separator_);
  const auto lines = LogExportLines(table, records, kind, signature, LoadClosingText(programDir_), separator_);
  if (lines.empty()) {
    messages_.showMessage(NothingExportedMessage);
    return false;
  }
  return Publish(LogExportFileName(kind), JoinCrLf(lines), LogExportDoneMessage(kind));
}

bool LogExporter::ExportAdif(const LogTable& table, const std::vector<int>& selection, const DateTime& utcNow) {
  const auto records = ExportSelection(table, selection, LogExportKind::Swl, LogExportSettings{}, separator_);
  if (records.empty()) {
    messages_.showMessage(NothingExportedMessage);
    return false;
  }
  return Publish(AdifExportFileName, AdifFileText(table, records, separator_, utcNow),
                 std::string("Your selected records have been exported to Export\\") + AdifExportFileName +
                     " in the working directory.");
}

bool LogExporter::Publish(const std::string& fileName, const std::string& text, const std::string& doneMessage) {
  try {
    WriteFileAtomically(ExportFilePath(programDir_, fileName), text);
  } catch (const FileError& error) {
    messages_.showMessage(error.what());
    return false;
  }
  if (showPreview) showPreview(text);
  messages_.showMessage(doneMessage);
  return true;
}

std::vector<int> SelectedRecordList(const LogDisplay& display) {
  const auto [first, last] = display.SelectedRecords();
  std::vector<int> records;
  if (last >= first) records.reserve(static_cast<std::size_t>(last - first + 1));
  for (int r = first; r <= last; ++r) records.push_back(r);
  return records;
}

void ConnectLogExports(LogDisplay& display, LogExporter& exporter, const LogbookSettings& settings,
                       const Clock& clock) {
  exporter.showPreview = [&display](const std::string& text) { display.preview.Show(LogPreview::Caption, text); };
  const auto button = [&exporter, &settings](LogExportKind kind) {
    return [&exporter, &settings, kind](LogDisplay& d) {
      exporter.Export(kind, d.table, SelectedRecordList(d), d.SigEdit, settings.Export);
    };
  };
  display.uteExport = button(LogExportKind::Ute);
  display.swlExport = button(LogExportKind::Swl);
  display.mwExport = button(LogExportKind::Mw);
  display.adifExport = [&exporter, &clock](LogDisplay& d) {
    exporter.ExportAdif(d.table, SelectedRecordList(d), clock.utcNow());
  };
}

void ConnectLogReport(LogDisplay& display, LogReportDialog& dialog) {
  dialog.showPreview = [&display](const std::string& text) { display.preview.Show(LogPreview::Caption, text); };
  display.report = [&dialog](LogDisplay& d) { dialog.ReportBtnClick(d.table, SelectedRecordList(d)); };
}

}  // namespace ondaris
