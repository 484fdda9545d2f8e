#include "logbook/LogTable.h"

#include <algorithm>

#include "common/FileLines.h"

namespace ondaris {

namespace {

bool IsFlagSource(LogField field) {
  return field == LogField::Sent || field == LogField::Rcvd || field == LogField::Attach;
}

LogField FlagFor(LogField field) {
  return field == LogField::Sent ? LogField::S : field == LogField::Rcvd ? LogField::R : LogField::Att;
}

}  // namespace

void LogTable::SetCell(int record, LogField field, std::string_view text) {
  std::string& cell = Col(field)[Index(record)];
  cell = CleanLogField(text);
  if (IsFlagSource(field)) Col(FlagFor(field))[Index(record)] = FlagOf(cell);
}

void LogTable::ClearMarks() {
  for (auto& mark : Marks) mark.clear();
}

LogRecord LogTable::Record(int record) const {
  const auto at = [&](LogField f) -> const std::string& { return Cell(record, f); };
  LogRecord r;
  r.Code = at(LogField::Code);
  r.Freq = at(LogField::Freq);
  r.Mode = at(LogField::Mode);
  r.Time = at(LogField::Time);
  r.Date = at(LogField::Date);
  r.ID = at(LogField::ID);
  r.Notes = at(LogField::Notes);
  r.Sent = at(LogField::Sent);
  r.Rcvd = at(LogField::Rcvd);
  r.Rpt1 = at(LogField::Rpt1);
  r.Rpt2 = at(LogField::Rpt2);
  r.Off = at(LogField::Off);
  r.Country = at(LogField::Country);
  r.Misc = at(LogField::Misc);
  r.Attach = at(LogField::Attach);
  return r;
}

void LogTable::SetRecord(int record, const LogRecord& v) {
  SetCell(record, LogField::Code, v.Code);
  SetCell(record, LogField::Freq, v.Freq);
  SetCell(record, LogField::Mode, v.Mode);
  SetCell(record, LogField::Time, v.Time);
  SetCell(record, LogField::Off, v.Off);
  SetCell(record, LogField::Date, v.Date);
  SetCell(record, LogField::ID, v.ID);
  SetCell(record, LogField::Rpt1, v.Rpt1);
  SetCell(record, LogField::Rpt2, v.Rpt2);
  SetCell(record, LogField::Country, v.Country);
  SetCell(record, LogField::Misc, v.Misc);
  SetCell(record, LogField::Sent, v.Sent);
  SetCell(record, LogField::Rcvd, v.Rcvd);
  SetCell(record, LogField::Attach, v.Attach);
  SetCell(record, LogField::Notes, v.Notes);
  SetMark(record, false);
}

int LogTable::AppendRecord(const LogRecord& value) {
  for (auto& column : Columns) column.emplace_back();
  Marks.emplace_back();
  SetRecord(RecordCount(), value);
  return RecordCount();
}

void LogTable::Clear() {
  for (auto& column : Columns) column.clear();
  Marks.clear();
}

void LogTable::Load(std::string_view fileBytes, char separator) {
  Clear();
  const auto lines = SplitFileLines(fileBytes);
  for (auto& column : Columns) column.reserve(lines.size());
  Marks.reserve(lines.size());
  for (std::string_view line : lines) {
    LogRecord r = ParseLogLine(line, separator);
    // The fields are read from the file's own lines, which hold no tab, CR
    // or LF, so they go into the columns as they are.
    Col(LogField::S).push_back(FlagOf(r.Sent));
    Col(LogField::R).push_back(FlagOf(r.Rcvd));
    Col(LogField::Att).push_back(FlagOf(r.Attach));
    Col(LogField::Code).push_back(std::move(r.Code));
    Col(LogField::Freq).push_back(std::move(r.Freq));
    Col(LogField::Mode).push_back(std::move(r.Mode));
    Col(LogField::Time).push_back(std::move(r.Time));
    Col(LogField::Off).push_back(std::move(r.Off));
    Col(LogField::Date).push_back(std::move(r.Date));
    Col(LogField::ID).push_back(std::move(r.ID));
    Col(LogField::Rpt1).push_back(std::move(r.Rpt1));
    Col(LogField::Rpt2).push_back(std::move(r.Rpt2));
    Col(LogField::Country).push_back(std::move(r.Country));
    Col(LogField::Misc).push_back(std::move(r.Misc));
    Col(LogField::Sent).push_back(std::move(r.Sent));
    Col(LogField::Rcvd).push_back(std::move(r.Rcvd));
    Col(LogField::Attach).push_back(std::move(r.Attach));
    Col(LogField::Notes).push_back(std::move(r.Notes));
    Marks.emplace_back();
  }
  Changed = false;
}

std::string LogTable::FileText(char separator) const {
  std::size_t size = 0;
  for (const auto& column : Columns)
    for (const auto& cell : column) size += cell.size() + 1;
  std::string text;
  text.reserve(size + 2 * Marks.size());
  static constexpr LogField FileOrder[] = {
      LogField::Code, LogField::Freq, LogField::Mode, LogField::Time,    LogField::Date,
      LogField::ID,   LogField::Notes, LogField::Sent, LogField::Rcvd,   LogField::Rpt1,
      LogField::Rpt2, LogField::Off,  LogField::Country, LogField::Misc, LogField::Attach};
  for (std::size_t k = 0; k < Marks.size(); ++k) {
    for (LogField field : FileOrder) {
      const std::string& cell = Column(field)[k];
      for (char c : cell) {
        if (field == LogField::Freq && c == separator) c = '.';
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
        text += c;
      }
      text += '\t';
    }
    text += "\r\n";
  }
  return text;
}

void LogTable::SwapRecords(int a, int b, bool keepMarks) {
  for (auto& column : Columns) std::swap(column[Index(a)], column[Index(b)]);
  std::swap(Marks[Index(a)], Marks[Index(b)]);
  if (!keepMarks) {
    SetMark(a, false);
    SetMark(b, false);
  }
}

void LogTable::Reorder(const std::vector<int>& order, const std::vector<char>& unmarkByOldRecord) {
  for (std::size_t k = 0; k < unmarkByOldRecord.size() && k < Marks.size(); ++k)
    if (unmarkByOldRecord[k]) Marks[k].clear();
  const auto apply = [&](std::vector<std::string>& column) {
    std::vector<std::string> moved;
    moved.reserve(column.size());
    for (int old : order) moved.push_back(std::move(column[Index(old)]));
    column = std::move(moved);
  };
  for (auto& column : Columns) apply(column);
  apply(Marks);
}

void LogTable::RemoveRecords(int first, int count) {
  first = std::max(first, 1);
  const int last = std::min(first + count - 1, RecordCount());
  if (last < first) return;
  const auto begin = static_cast<std::ptrdiff_t>(first - 1), end = static_cast<std::ptrdiff_t>(last);
  for (auto& column : Columns) column.erase(column.begin() + begin, column.begin() + end);
  Marks.erase(Marks.begin() + begin, Marks.begin() + end);
}

}  // namespace ondaris
