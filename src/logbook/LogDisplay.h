#pragma once
// "Log Display and Edit" (TLogDisplayDlg) without its window: the log in its
// column store, the grid's rows, selection and column layout, the edit boxes
// of the shown record, and every button. The window shows the state, writes
// what the listener typed into `boxes` (and FindEdit, SigEdit) before each
// button and shows the state again after it.
//
// Grid rows count from 1 below the header row; grid row r shows record r;
// grid column p shows the field layout.ColumnOrder[p]. The window asks for
// the rows it shows only (CellText), so a long log costs what is on screen.
//
// Nothing is written to the log file until Save File, or Yes to the question
// at closing. An entry written by the log entry dialog while the display is
// open goes to the file at once and into the open table as well (AppendEntry),
// so neither the entry nor the unsaved edits can replace the other.

#include <functional>
#include <string>
#include <utility>

#include "logbook/LogFile.h"
#include "logbook/LogGridLayout.h"
#include "logbook/LogPreview.h"
#include "logbook/LogSort.h"
#include "logbook/LogTable.h"

namespace ondaris {

class FileDialogs;
class MessageBoxes;
class Shell;

inline constexpr const char* LogMissingMessage = "Could not find LogFiles\\OndarisLog.txt in the working directory.";
inline constexpr const char* LogEndOfFileMessage = "End of log file";
inline constexpr const char* LogReplaceEmptyMessage =
    "You need to fill in the time, date, and frequency before replacing the record.";
inline constexpr const char* LogDeleteOneQuestion = "Are you sure you want to delete this record?";
inline constexpr const char* LogDeleteManyQuestion = "Are you sure you want to delete these records?";
inline constexpr const char* LogChangedQuestion = "Your log file has been changed.  Do you want to save it?";
inline constexpr const char* LogSaveFailedMessage =
    "Could not save LogFiles\\OndarisLog.txt.  The file on disk is unchanged and your edits are kept.";
inline constexpr const char* LogLayoutSaveFailedMessage = "Could not save the log grid layout.";
std::string LogNotFoundMessage(const std::string& text);        // "'text' was not found."
std::string LogNoMoreOccurrencesMessage(const std::string& text);  // "No more occurrences of 'text'"

// The edit boxes below the grid, named as the window's controls.
struct LogEditBoxes {
  std::string CodeEdit, FreqEdit, ModeEdit, DateEdit, TimeEdit, OffEdit;
  std::string Rpt1Edit, Rpt2Edit, User1Edit, User2Edit;  // Country, Misc
  std::string IDEdit, NotesMemo, AttachEdit, SentEdit, RcvdEdit;
  bool operator==(const LogEditBoxes&) const = default;
};

// The grid's cursor: the current row, the selected block of whole rows and
// the top visible row (all grid rows, 1-based).
struct LogGridCursor {
  int Row = 1;
  int Top = 1;
  int Bottom = 1;
  int TopRow = 1;
  int VisibleRows = 16;
};

class LogDisplay {
 public:
  static constexpr const char* Caption = "Log Display and Edit";
  static constexpr int EmptyGridRows = 5;  // below the header, for an empty log

  LogDisplay(MessageBoxes& messages, FileDialogs& dialogs, Shell& shell, std::string programDir, char separator,
             LogbookSettings& settings);
  LogDisplay(const LogDisplay&) = delete;
  LogDisplay& operator=(const LogDisplay&) = delete;

  // ---- State ----
  LogTable table;
  LogGridLayout layout;
  LogEditBoxes boxes;
  std::string FindEdit, SigEdit;
  bool MatchCase = false;
  bool FindNextEnabled = false;
  int FindPosition = -1;
  int CurrentRecord = 0;
  bool ColumnDragged = false;
  std::string AttachFolder;  // where Attach's file selector opens
  LogGridCursor grid;
  // The export preview the exports and reports show their text in.
  LogPreview preview;

  bool isOpen() const { return open_; }
  // Drawn maroon and bold while the table differs from the file.
  bool SaveBtnChanged() const { return table.Changed; }

  // ---- Hooks ----
  // The tuned frequency in kHz (Find's starting text).
  std::function<double()> tunedFrequency;
  // Shows the window; it may return at once (the window stays open until
  // `hide`) or when the window has closed.
  std::function<void(LogDisplay&)> show;
  std::function<void()> hide;
  // The rows, the cursor, the columns or the Save button's look changed.
  std::function<void()> gridChanged;
  // The export and report buttons (LogHookButtons below): their parts set
  // these; the selection is SelectedRecords().
  std::function<void(LogDisplay&)> uteExport, swlExport, mwExport, adifExport, report;

  // ---- The listener's actions ----
  // Once at start-up: the grid layout from its file (or its defaults).
  void FormCreate(int gridClientWidth = 728);
  // The main window's LogDispBtn: loads the log and shows the display. While
  // it is already open the window is only shown again.
  void LogDispBtnClick();

  void GridClick();
  void GridCursorMoved(int row, int top, int bottom);
  void GridScrolled(int topRow);
  void GridColumnMoved(int from, int to);
  void GridColumnResized(int column, int width);
  // A mouse release on the grid at x (grid coordinates, from 1) and y, the
  // header row ending at headerBottom.
  void GridMouseUp(int x, int y, int headerBottom);

  void FindBtnClick();
  void FindNextBtnClick();
  void ExtractBtnClick();
  void MatchBoxClick(bool checked) { MatchCase = checked; }
  void ReplBtnClick();
  void DeleteBtnClick();
  // False when the file could not be written (said so; edits kept).
  bool SaveBtnClick();
  void AttachBtnClick();
  void ExecBtnClick();
  void SortBtnClick(LogButtonSort sort);
  // One of LogHookButtons: its hook, when a part has set it.
  void HookBtnClick(std::function<void(LogDisplay&)> LogDisplay::*hook) { Hand(this->*hook); }
  // Close (and any other way of closing): the question about a changed log,
  // the layout saved, the window hidden. False when the display stays open
  // because the log could not be saved.
  bool ExitBtnClick();

  // The log entry dialog's line while the display is open: appended to the
  // file (throws FileError when it cannot be written, nothing changed) and
  // to the table, which keeps its Changed state.
  void AppendEntry(const std::string& line);

  // ---- What the window and the exports read ----
  int GridRowCount() const;  // rows below the header
  std::string CellText(int row, int column) const;
  bool RowIsMarked(int row) const { return table.IsRecord(row) && table.IsMarked(row); }
  std::string HeaderText(int column) const;
  // The selected block of records, clamped to the log: (first, last), or
  // (0, -1) when no record is selected.
  std::pair<int, int> SelectedRecords() const;

  void ShowRecord(int record);
  void RefreshGridRows();

 private:
  void Hand(const std::function<void(LogDisplay&)>& action) {
    if (action) action(*this);
  }
  void SelectRow(int row);
  void AfterSort();
  void FindFrom(int record, bool first);
  void ClearBoxes();

  MessageBoxes& messages_;
  FileDialogs& dialogs_;
  Shell& shell_;
  std::string programDir_;
  char separator_;
  LogbookSettings& settings_;
  bool open_ = false;
  bool created_ = false;
};

// The row of buttons whose work other parts do, in the window's order; each
// is enabled once its hook is set.
struct LogHookButton {
  const char* name;
  const char* caption;
  const char* hint;  // may be none
  std::function<void(LogDisplay&)> LogDisplay::*hook;
};
inline constexpr LogHookButton LogHookButtons[] = {
    {"ReportBtn", "Report", nullptr, &LogDisplay::report},
    {"ExportPopBtn", "Ute Export", "Export selected records in publishable utility format", &LogDisplay::uteExport},
    {"SWLExportBtn", "SWL Export", "Export selected records in publishable SWL format", &LogDisplay::swlExport},
    {"MWExportBtn", "MW Export", "Export selected records in publishable MW format", &LogDisplay::mwExport},
    {"ADIFExportBtn", "ADIF Export", "Export selected records as an ADIF file for amateur loggers",
     &LogDisplay::adifExport},
};

}  // namespace ondaris
