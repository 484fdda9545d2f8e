#pragma once
// The log held column by column while the log display is open.
//
// Records are numbered 1..RecordCount(); entry k of every column belongs to
// record k + 1. Eighteen text columns by LogField (the first fourteen are the
// ones the grid can show) and the Marks column ("T" for a record found by the
// last find). S, R and Att are derived from Sent, Rcvd and Attach and kept in
// step by every setter.
//
// The table knows nothing of the disk: it loads from the bytes of the whole
// file and gives the bytes to write (see LogFile.h for the file itself).

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "logbook/LogRecord.h"

namespace ondaris {

enum class LogField : int {
  Code = 0,
  Freq,
  Mode,
  Time,
  Off,
  Date,
  ID,
  Rpt1,
  Rpt2,
  Country,
  Misc,
  S,
  R,
  Att,
  Sent,
  Rcvd,
  Attach,
  Notes,
};
constexpr int LogFieldCount = 18;
constexpr int LogGridFieldCount = 14;  // Code..Att

class LogTable {
 public:
  std::array<std::vector<std::string>, LogFieldCount> Columns;
  std::vector<std::string> Marks;
  bool Changed = false;  // the table differs from the file

  int RecordCount() const { return static_cast<int>(Marks.size()); }
  bool IsRecord(int record) const { return record >= 1 && record <= RecordCount(); }

  const std::vector<std::string>& Column(LogField field) const { return Columns[static_cast<int>(field)]; }
  const std::string& Cell(int record, LogField field) const { return Column(field)[Index(record)]; }
  // Stores `text` with tabs, CR and LF made blanks; Sent, Rcvd and Attach
  // also set their flag. Changed is not touched.
  void SetCell(int record, LogField field, std::string_view text);
  bool IsMarked(int record) const { return Marks[Index(record)] == "T"; }
  void SetMark(int record, bool marked) { Marks[Index(record)] = marked ? "T" : ""; }
  void ClearMarks();

  LogRecord Record(int record) const;
  // Every field of the record from `value` (cleaned as SetCell does), the
  // flags derived, the mark emptied. Changed is not touched.
  void SetRecord(int record, const LogRecord& value);
  // Adds a record at the end (unmarked); returns its number.
  int AppendRecord(const LogRecord& value);

  void Clear();
  // Every line of the file bytes, empty lines included, becomes one record
  // (ParseLogLine); marks empty, Changed cleared.
  void Load(std::string_view fileBytes, char separator);
  // The whole file: one FormatLogLine per record in table order, each ended
  // by CR LF.
  std::string FileText(char separator) const;

  // Exchanges two records in every column, marks included; both marks are
  // then emptied unless `keepMarks`.
  void SwapRecords(int a, int b, bool keepMarks = false);
  // Puts the records into a new order: record k + 1 becomes the one that was
  // record order[k] (a permutation of 1..RecordCount()). Records named in
  // `unmarkByOldRecord` (indexed by old record - 1, non-zero) lose their mark.
  void Reorder(const std::vector<int>& order, const std::vector<char>& unmarkByOldRecord);
  // Removes records first..first+count-1 from every column (clamped).
  void RemoveRecords(int first, int count);

 private:
  static std::size_t Index(int record) { return static_cast<std::size_t>(record - 1); }
  std::vector<std::string>& Col(LogField field) { return Columns[static_cast<int>(field)]; }
};

}  // namespace ondaris
