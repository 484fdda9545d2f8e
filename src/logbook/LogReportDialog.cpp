#include "logbook/LogReportDialog.h"

#include <filesystem>
#include <system_error>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/TextHelpers.h"
#include "logbook/LogExport.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"

namespace ondaris {

namespace {

std::string Cut(const std::string& text) { return text.substr(0, std::min(text.size(), ReportTextCapacity)); }

}  // namespace

std::string ReportGeneratedMessage(const std::string& outputName) {
  return "Your report has been generated as " + outputName + " in the Export\\ subdirectory.";
}

LogReportDialog::LogReportDialog(MessageBoxes& messages, FileDialogs& dialogs, std::string programDir,
                                 char separator)
    : messages_(messages), dialogs_(dialogs), programDir_(std::move(programDir)), separator_(separator) {}

void LogReportDialog::FormCreate(int gridClientWidth) {
  ColumnWidth = gridClientWidth / ReportFieldCount - 1;
  setup = FreshReportSetup();
  setup.RecordColumnBounds(ColumnWidth);
  CurrentSetupName.clear();
  ShowSetup();
  const std::string defaultSetup = ReportSetupFolder(programDir_) + "Default.rpt";
  if (FileExists(defaultSetup)) LoadReportSetup(defaultSetup);
}

void LogReportDialog::ReportBtnClick(const LogTable& table, std::vector<int> selection) {
  table_ = &table;
  selection_ = std::move(selection);
  if (show) show(*this);
  table_ = nullptr;
}

std::string LogReportDialog::HeadingText(int gridColumn) const {
  return ReportHeadings()[setup.ColumnOrder[gridColumn]];
}

std::string LogReportDialog::MarkText(int gridColumn) const { return setup.IsMarked(gridColumn) ? "  Y" : "  N"; }

void LogReportDialog::MarkCellClick(int gridColumn) {
  if (gridColumn < 0 || gridColumn >= ReportFieldCount) return;
  setup.Marks[gridColumn] = setup.IsMarked(gridColumn) ? 'N' : 'Y';
}

void LogReportDialog::GridColumnMoved(int from, int to) {
  setup.MoveColumn(from, to);
  setup.RecordColumnBounds(ColumnWidth);
}

void LogReportDialog::NewBtnClick() {
  setup = FreshReportSetup();
  setup.RecordColumnBounds(ColumnWidth);
  ShowSetup();
}

void LogReportDialog::ShowSetup() {
  SelCheckbox = setup.SelectedOnly;
  HeaderEdit = setup.Heading;
  OutfileEdit = setup.OutputName;
}

bool LogReportDialog::LoadReportSetup(const std::string& path) {
  std::optional<std::string> bytes;
  try {
    bytes = ReadWholeFile(path);
  } catch (const FileError& error) {
    messages_.showMessage(error.what());
    return false;
  }
  if (!bytes) return false;
  setup = ParseReportSetup(*bytes);
  ShowSetup();
  return true;
}

void LogReportDialog::OpenBtnClick() {
  FileDialogRequest request;
  request.title = "Open Setup";
  request.folder = ReportSetupFolder(programDir_);
  request.filter = ReportSetupFilter;
  request.defaultExtension = "rpt";
  const auto chosen = dialogs_.openFile(request);
  if (!chosen) return;
  // The chosen file itself, wherever it is: another folder's setup must not
  // quietly load a same-named one from ReportSetups.
  if (LoadReportSetup(*chosen)) CurrentSetupName = ExtractFileNamePart(*chosen);
}

void LogReportDialog::SaveBtnClick() {
  FileDialogRequest request;
  request.title = "Save Setup";
  request.folder = ReportSetupFolder(programDir_);
  request.fileName = CurrentSetupName;
  request.filter = ReportSetupFilter;
  request.defaultExtension = "rpt";
  const auto chosen = dialogs_.saveFile(request);
  if (!chosen) return;
  const std::string name = ExtractFileNamePart(*chosen);
  if (name.empty()) return;
  CurrentSetupName = name;
  setup.Heading = Cut(HeaderEdit);
  setup.OutputName = Cut(OutfileEdit);
  setup.SelectedOnly = SelCheckbox;
  for (char& mark : setup.Marks) mark = mark == 'Y' ? 'Y' : 'N';
  setup.RecordColumnBounds(ColumnWidth);
  try {
    std::error_code ignored;  // a missing folder is made; a failure shows on the write
    std::filesystem::create_directories(ReportSetupFolder(programDir_), ignored);
    WriteFileAtomically(ReportSetupFolder(programDir_) + CurrentSetupName, ReportSetupBytes(setup));
  } catch (const FileError& error) {
    messages_.showMessage(error.what());
  }
}

bool LogReportDialog::OKBtnClick() {
  const std::string name = ReportOutputFileName(OutfileEdit);
  std::vector<int> records;
  if (table_) {
    if (SelCheckbox) {
      records = selection_;
    } else {
      for (int r = 1; r <= table_->RecordCount(); ++r) records.push_back(r);
    }
  }
  ReportSetup run = setup;
  run.Heading = HeaderEdit;
  static const LogTable noLog;
  const std::string text = JoinCrLf(ReportLines(table_ ? *table_ : noLog, run, records, separator_));
  try {
    WriteFileAtomically(programDir_ + "Export/" + name, text);
  } catch (const FileError& error) {
    messages_.showMessage(error.what());
    return false;
  }
  if (showPreview) showPreview(text);
  messages_.showMessage(ReportGeneratedMessage(name));
  if (close) close();
  return true;
}

}  // namespace ondaris
