#pragma once
// Running an export from the log display: the signature and closing-text
// files, the export file in Export/, the preview and the closing message.
//
//   LogFiles/LogSig.dat    one line: the signature of the exports
//   LogFiles/Bragfile.dat  the listener's closing text, put after a listing
//   Export/UteExport.txt, SwlExport.txt, MwExport.txt, AdifExport.adi

#include <functional>
#include <string>
#include <vector>

#include "logbook/LogExport.h"

namespace ondaris {

class Clock;
class LogDisplay;
class LogReportDialog;
class MessageBoxes;
struct DateTime;
struct LogbookSettings;

// Stores the signature as the file's one line (line breaks made blanks).
void SaveLogSignature(const std::string& programDir, const std::string& signature);  // throws FileError
// The lines of Bragfile.dat; none when it is missing or cannot be read.
std::vector<std::string> LoadClosingText(const std::string& programDir);

std::string ExportFilePath(const std::string& programDir, const std::string& fileName);  // Export/<name>

class LogExporter {
 public:
  LogExporter(std::string programDir, char separator, MessageBoxes& messages);

  // Shows the exported text (each line ended by CR LF) modally.
  std::function<void(const std::string& text)> showPreview;

  // One export button: the signature stored when there is one, the selected
  // records (record numbers; those that are not records are left out)
  // exported, the file replaced, the preview shown, then the message. A file
  // that cannot be written is reported and nothing is shown. True when the
  // file was written.
  bool Export(LogExportKind kind, const LogTable& table, const std::vector<int>& selection,
              const std::string& signature, const LogExportSettings& settings);

  // The ADIF file of the selected records in log order, the same way.
  bool ExportAdif(const LogTable& table, const std::vector<int>& selection, const DateTime& utcNow);

 private:
  bool Publish(const std::string& fileName, const std::string& text, const std::string& doneMessage);

  std::string programDir_;
  char separator_;
  MessageBoxes& messages_;
};

// The log display's selected block as record numbers, top to bottom.
std::vector<int> SelectedRecordList(const LogDisplay& display);
// Sets the display's four export buttons to export its selection through
// `exporter`, showing the text in the display's preview: Ute, SWL and MW with
// its signature box and the bulk sorts read from `settings` at each click,
// ADIF stamped with the UTC time of `clock`.
void ConnectLogExports(LogDisplay& display, LogExporter& exporter, const LogbookSettings& settings,
                       const Clock& clock);
// Sets the display's Report button to open the report dialog over its log
// and selected block; a generated report is shown in the display's preview.
void ConnectLogReport(LogDisplay& display, LogReportDialog& dialog);

}  // namespace ondaris
