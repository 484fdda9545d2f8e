#pragma once
// "Log Report Setup" (TLogReport) without its window: the setup being
// edited (column order and marks of its 18-column grid), the heading and
// file name boxes, the record choice, and the buttons. The window shows the
// state, writes the boxes back before each button and shows the state again
// after it. The dialog keeps its setup for the whole run.

#include <functional>
#include <string>
#include <vector>

#include "logbook/ReportSetup.h"

namespace ondaris {

class FileDialogs;
class MessageBoxes;

inline constexpr const char* ReportSetupFilter = "Report Setup Files (*.rpt)";
std::string ReportGeneratedMessage(const std::string& outputName);

class LogReportDialog {
 public:
  static constexpr const char* Caption = "Log Report Setup";

  LogReportDialog(MessageBoxes& messages, FileDialogs& dialogs, std::string programDir, char separator);
  LogReportDialog(const LogReportDialog&) = delete;
  LogReportDialog& operator=(const LogReportDialog&) = delete;

  // ---- State ----
  ReportSetup setup;  // order, bounds, positions and marks by grid column
  std::string HeaderEdit, OutfileEdit;
  bool SelCheckbox = true;  // "Selected Records"; otherwise "All Records"
  std::string CurrentSetupName;
  int ColumnWidth = 32;

  // ---- Hooks ----
  // Shows the window modally; returns once it has closed.
  std::function<void(LogReportDialog&)> show;
  // Closes the window (after Generate).
  std::function<void()> close;
  // Shows the generated report (each line ended by CR LF) modally.
  std::function<void(const std::string& text)> showPreview;

  // Once at start-up: a fresh setup, then LogFiles/ReportSetups/Default.rpt
  // when it is there.
  void FormCreate(int gridClientWidth = 600);
  // The log display's Report button: the log and its selected block.
  void ReportBtnClick(const LogTable& table, std::vector<int> selection);

  // What grid column p shows.
  std::string HeadingText(int gridColumn) const;
  std::string MarkText(int gridColumn) const;  // "  Y" or "  N"

  void MarkCellClick(int gridColumn);  // toggles the column's mark
  void GridColumnMoved(int from, int to);
  void NewBtnClick();
  void OpenBtnClick();
  void SaveBtnClick();
  // Generate: the report written to Export/ and shown in the preview, the
  // message, the window closed. A file that cannot be written is reported and the window stays.
  bool OKBtnClick();

  // Reads a setup from its file; false (nothing changed) when it cannot be
  // read.
  bool LoadReportSetup(const std::string& path);

 private:
  void ShowSetup();

  MessageBoxes& messages_;
  FileDialogs& dialogs_;
  std::string programDir_;
  char separator_;
  const LogTable* table_ = nullptr;
  std::vector<int> selection_;
};

}  // namespace ondaris
