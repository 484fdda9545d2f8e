#include "logbook/LogDisplay.h"

#include <algorithm>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/FileLines.h"
#include "common/TextHelpers.h"
#include "logbook/LogDates.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/Shell.h"

namespace ondaris {

namespace {

std::string Cut(const std::string& text, std::size_t length) { return text.substr(0, std::min(text.size(), length)); }

// Typed notes: cut first, then made one line.
std::string TidyNotes(const std::string& text) {
  return TidyTypedText(Cut(text, LogRecord::NotesTypedLimit), LogRecord::NotesTypedLimit);
}

}  // namespace

std::string LogNotFoundMessage(const std::string& text) { return "'" + text + "' was not found."; }
std::string LogNoMoreOccurrencesMessage(const std::string& text) { return "No more occurrences of '" + text + "'"; }

LogDisplay::LogDisplay(MessageBoxes& messages, FileDialogs& dialogs, Shell& shell, std::string programDir,
                       char separator, LogbookSettings& settings)
    : messages_(messages),
      dialogs_(dialogs),
      shell_(shell),
      programDir_(std::move(programDir)),
      separator_(separator),
      settings_(settings) {
  AttachFolder = programDir_;
}

void LogDisplay::FormCreate(int gridClientWidth) {
  table.Changed = false;
  MatchCase = false;
  ColumnDragged = false;
  layout = LoadLogGridLayout(programDir_, settings_.LayoutFileName, gridClientWidth);
  created_ = true;
}

// ---- Opening -------------------------------------------------------------------

void LogDisplay::LogDispBtnClick() {
  if (open_) {
    if (show) show(*this);
    return;
  }
  if (!created_) FormCreate();
  const auto bytes = ReadLogFile(programDir_);
  if (!bytes) {
    messages_.showMessage(LogMissingMessage);
    return;
  }
  settings_.UseEuroDate = LoadLogDateFormat(programDir_);
  SigEdit.clear();
  try {
    if (const auto sig = ReadWholeFile(LogFilesPath(programDir_, "LogSig.dat"))) {
      const auto lines = SplitFileLines(*sig);
      if (!lines.empty()) SigEdit = std::string(lines.front());
    }
  } catch (const FileError&) {
    // An unreadable signature file reads as none.
  }
  FindPosition = -1;
  FindEdit = FormatFrequency(3, false, tunedFrequency ? tunedFrequency() : 0.0, separator_);
  FindNextEnabled = false;
  ClearBoxes();
  table.Load(*bytes, separator_);
  CurrentRecord = 0;
  grid = LogGridCursor{1, 1, 1, 1, grid.VisibleRows};
  ShowRecord(table.RecordCount());
  SelectRow(std::max(table.RecordCount(), 1));
  open_ = true;
  RefreshGridRows();
  if (show) show(*this);
}

// ---- The grid ----------------------------------------------------------------

int LogDisplay::GridRowCount() const { return table.RecordCount() > 0 ? table.RecordCount() : EmptyGridRows; }

std::string LogDisplay::CellText(int row, int column) const {
  if (!table.IsRecord(row) || column < 0 || column >= LogGridColumns) return {};
  const auto field = static_cast<LogField>(layout.ColumnOrder[static_cast<std::size_t>(column)]);
  const std::string& text = table.Cell(row, field);
  return field == LogField::Date && settings_.UseEuroDate ? SwapDayMonth(text) : text;
}

std::string LogDisplay::HeaderText(int column) const {
  if (column < 0 || column >= LogGridColumns) return {};
  return DefaultLogGridHeaders()[static_cast<std::size_t>(layout.ColumnOrder[static_cast<std::size_t>(column)])];
}

std::pair<int, int> LogDisplay::SelectedRecords() const {
  const int first = std::max(std::min(grid.Top, grid.Bottom), 1);
  const int last = std::min(std::max(grid.Top, grid.Bottom), table.RecordCount());
  if (first > last) return {0, -1};
  return {first, last};
}

void LogDisplay::RefreshGridRows() {
  if (gridChanged) gridChanged();
}

void LogDisplay::SelectRow(int row) {
  grid.Row = grid.Top = grid.Bottom = row;
  if (row < grid.TopRow) grid.TopRow = row;
  if (row >= grid.TopRow + grid.VisibleRows) grid.TopRow = row - std::max(grid.VisibleRows, 1) + 1;
  grid.TopRow = std::max(grid.TopRow, 1);
}

void LogDisplay::GridClick() { ShowRecord(grid.Row); }

void LogDisplay::GridCursorMoved(int row, int top, int bottom) {
  grid.Row = row;
  grid.Top = std::min(top, bottom);
  grid.Bottom = std::max(top, bottom);
}

void LogDisplay::GridScrolled(int topRow) { grid.TopRow = std::max(topRow, 1); }

void LogDisplay::GridColumnMoved(int from, int to) {
  ColumnDragged = true;
  layout.MoveColumn(from, to);
  RefreshGridRows();
}

void LogDisplay::GridColumnResized(int column, int width) {
  if (column < 0 || column >= LogGridColumns) return;
  layout.SetWidthOfGridColumn(column, width);
  layout.RecordColumnBounds();
}

void LogDisplay::GridMouseUp(int x, int y, int headerBottom) {
  layout.RecordColumnBounds();
  if (ColumnDragged) {
    ColumnDragged = false;
    return;
  }
  if (y >= headerBottom) return;
  const int field = layout.FieldAtX(x);
  if (field < 0 || field >= LogGridFieldCount) return;
  SortLogByHeader(table, static_cast<LogField>(field), separator_);
  AfterSort();
}

void LogDisplay::SortBtnClick(LogButtonSort sort) {
  SortLogByButton(table, sort, separator_);
  AfterSort();
}

void LogDisplay::AfterSort() {
  grid.TopRow = 1;
  SelectRow(1);
  ShowRecord(1);
  RefreshGridRows();
}

// ---- The shown record ----------------------------------------------------------

void LogDisplay::ClearBoxes() { boxes = LogEditBoxes{}; }

void LogDisplay::ShowRecord(int record) {
  if (!table.IsRecord(record)) return;
  CurrentRecord = record;
  const auto at = [&](LogField f) -> const std::string& { return table.Cell(record, f); };
  boxes.CodeEdit = at(LogField::Code);
  boxes.FreqEdit = DotToLocaleDecimal(at(LogField::Freq), separator_);
  boxes.ModeEdit = at(LogField::Mode);
  boxes.TimeEdit = at(LogField::Time);
  boxes.DateEdit = settings_.UseEuroDate ? SwapDayMonth(at(LogField::Date)) : at(LogField::Date);
  boxes.IDEdit = at(LogField::ID);
  boxes.NotesMemo = at(LogField::Notes);
  boxes.SentEdit = at(LogField::Sent);
  boxes.RcvdEdit = at(LogField::Rcvd);
  boxes.Rpt1Edit = at(LogField::Rpt1);
  boxes.Rpt2Edit = at(LogField::Rpt2);
  boxes.OffEdit = at(LogField::Off);
  boxes.User1Edit = at(LogField::Country);
  boxes.User2Edit = at(LogField::Misc);
  boxes.AttachEdit = at(LogField::Attach);
}

// ---- Find ----------------------------------------------------------------------

void LogDisplay::FindFrom(int record, bool first) {
  const int hit = FindLogRecord(table, record, FindEdit, MatchCase);
  if (hit == 0) {
    FindPosition = -1;
    FindNextEnabled = false;
    RefreshGridRows();
    messages_.showMessage(first ? LogNotFoundMessage(FindEdit) : LogNoMoreOccurrencesMessage(FindEdit));
    return;
  }
  FindPosition = hit;
  ShowRecord(hit);
  SelectRow(hit);
  FindNextEnabled = true;
  table.SetMark(hit, true);
  RefreshGridRows();
}

void LogDisplay::FindBtnClick() {
  table.ClearMarks();
  if (FindEdit.empty() || table.RecordCount() == 0) {
    RefreshGridRows();
    return;
  }
  FindFrom(1, true);
}

void LogDisplay::FindNextBtnClick() {
  table.ClearMarks();
  if (FindPosition < 1 || FindEdit.empty() || table.RecordCount() == 0) {
    RefreshGridRows();
    return;
  }
  if (FindPosition > table.RecordCount()) {
    FindPosition = -1;
    FindNextEnabled = false;
    RefreshGridRows();
    messages_.showMessage(LogEndOfFileMessage);
    return;
  }
  FindFrom(FindPosition + 1, false);
}

void LogDisplay::ExtractBtnClick() {
  table.ClearMarks();
  if (FindEdit.empty()) {
    RefreshGridRows();
    return;
  }
  GatherMatchingRecords(table, FindEdit, MatchCase, separator_);
  AfterSort();
}

// ---- Editing ---------------------------------------------------------------------

void LogDisplay::ReplBtnClick() {
  LogEditBoxes& b = boxes;
  if (b.TimeEdit.empty() || b.DateEdit.empty() || b.FreqEdit.empty()) {
    messages_.showMessage(LogReplaceEmptyMessage);
    return;
  }
  // Without a record under the cursor (an empty log) there is nothing to
  // replace.
  const int record = grid.Row;
  if (!table.IsRecord(record)) return;
  b.CodeEdit = TidyTypedText(b.CodeEdit, LogRecord::CodeCapacity);
  b.IDEdit = TidyTypedText(b.IDEdit, 78);
  b.SentEdit = TidyTypedText(b.SentEdit, 58);
  b.RcvdEdit = TidyTypedText(b.RcvdEdit, 18);
  b.NotesMemo = TidyNotes(b.NotesMemo);
  b.FreqEdit = DotToLocaleDecimal(Cut(b.FreqEdit, LogRecord::FreqCapacity), separator_);
  b.ModeEdit = Cut(b.ModeEdit, LogRecord::ModeCapacity);
  b.TimeEdit = Cut(b.TimeEdit, LogRecord::TimeCapacity);
  b.OffEdit = Cut(b.OffEdit, LogRecord::OffCapacity);
  b.DateEdit = Cut(b.DateEdit, LogRecord::DateCapacity);

  LogRecord r;
  r.Code = b.CodeEdit;
  r.Freq = b.FreqEdit;
  r.Mode = b.ModeEdit;
  r.Time = b.TimeEdit;
  r.Off = b.OffEdit;
  r.Date = settings_.UseEuroDate ? SwapDayMonth(b.DateEdit) : b.DateEdit;
  r.ID = b.IDEdit;
  r.Rpt1 = b.Rpt1Edit;
  r.Rpt2 = b.Rpt2Edit;
  r.Country = b.User1Edit;
  r.Misc = b.User2Edit;
  r.Sent = b.SentEdit;
  r.Rcvd = b.RcvdEdit;
  r.Notes = b.NotesMemo;
  r.Attach = b.AttachEdit;
  table.SetRecord(record, r);
  table.Changed = true;
  ShowRecord(record);
  RefreshGridRows();
}

void LogDisplay::DeleteBtnClick() {
  if (!table.IsRecord(grid.Row)) return;
  const int top = std::max(std::min(grid.Top, grid.Bottom), 1);
  const int count = std::max(grid.Top, grid.Bottom) - top + 1;
  if (!messages_.askYesNo(count == 1 ? LogDeleteOneQuestion : LogDeleteManyQuestion)) return;
  if (top + count - 1 > table.RecordCount()) return;
  table.RemoveRecords(top, count);
  table.Changed = true;
  grid.TopRow = grid.TopRow > count + 1 ? grid.TopRow - count : 1;
  // The cursor goes to the record that followed the block, or to the new
  // last record; with the last record gone no record is shown.
  if (table.RecordCount() == 0) {
    CurrentRecord = 0;
    ClearBoxes();
    SelectRow(1);
  } else {
    SelectRow(std::min(top, table.RecordCount()));
    ShowRecord(grid.Row);
  }
  RefreshGridRows();
}

bool LogDisplay::SaveBtnClick() {
  try {
    SaveLogTable(programDir_, table, separator_);
  } catch (const FileError& error) {
    RefreshGridRows();
    messages_.showMessage(std::string(LogSaveFailedMessage) + "\n" + error.what());
    return false;
  }
  RefreshGridRows();
  return true;
}

void LogDisplay::AttachBtnClick() {
  FileDialogRequest request;
  request.title = "Attach";
  request.folder = AttachFolder;
  request.filter = "All files (*)";
  request.defaultExtension.clear();
  const auto path = dialogs_.openFile(request);
  if (!path) return;
  boxes.AttachEdit = *path;
  if (table.IsRecord(grid.Row)) {
    table.SetCell(grid.Row, LogField::Attach, *path);
    // The grid shows Att "Y" at once; the change must not vanish at Close.
    table.Changed = true;
  }
  AttachFolder = ExtractDirectoryPart(*path);
  RefreshGridRows();
}

void LogDisplay::ExecBtnClick() {
  if (boxes.AttachEdit.empty()) return;
  std::string ignored;
  shell_.open(boxes.AttachEdit, ignored);
}

// ---- Closing -----------------------------------------------------------------------

bool LogDisplay::ExitBtnClick() {
  if (!open_) return true;
  // Also a log whose every record was deleted is offered for saving: the
  // deletions are changes like any other.
  if (table.Changed) {
    if (messages_.askYesNo(LogChangedQuestion)) {
      if (!SaveBtnClick()) return false;
    } else {
      table.Changed = false;
    }
  }
  table.Clear();
  table.Changed = false;
  CurrentRecord = 0;
  open_ = false;
  layout.RecordColumnBounds();
  try {
    SaveLogGridLayout(programDir_, settings_.LayoutFileName, layout);
  } catch (const FileError&) {
    messages_.showMessage(LogLayoutSaveFailedMessage);
  }
  if (hide) hide();
  return true;
}

// ---- An entry from the log entry dialog ---------------------------------------------

void LogDisplay::AppendEntry(const std::string& line) {
  AppendLogLine(programDir_, line);
  table.AppendRecord(ParseLogLine(line, separator_));
  RefreshGridRows();
}

}  // namespace ondaris
