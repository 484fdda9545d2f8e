#pragma once
// The loaded frequency file, held column by column.
//
// Entry i of every column belongs to record i (the record number). What the
// grid shows is a row order: RowOrder for the full view, OnAirRowOrder for the
// on-air view; grid row r (1-based) shows record order[r - 1]. Sorting
// rearranges a row order and never the columns, so the file is saved in the
// order of RowOrder.
//
// The list knows nothing about files on disk or the clock: it loads from the
// bytes of a whole file and produces the bytes to write.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/FileLines.h"
#include "freqfiles/FrequencyRecord.h"

namespace ondaris {

// The sixteen columns, in their fixed order. FilterIndex and StepIndex hold
// the two indices as decimal text.
enum class FreqColumn : int {
  Freq = 0,
  Name,
  Mode,
  Filter,
  AGC,
  Step,
  PBT,
  Location,
  Language,
  OnAir,
  OffAir,
  Notes,
  Spare,
  Lockout,
  FilterIndex,
  StepIndex,
};
constexpr int FreqColumnCount = 16;

// Receives the text "Error reading record n:  line" for each line that fails.
using LineErrorSink = std::function<void(const std::string& message)>;

struct FileReadResult {
  std::size_t lineCount = 0;  // lines in the file, failed ones included
  int recordsRead = 0;        // records added to the list
};

class FrequencyList {
 public:
  std::array<std::vector<std::string>, FreqColumnCount> Columns;
  std::vector<int> RowOrder;       // full view: record number of each grid row
  std::vector<int> OnAirRowOrder;  // on-air view
  bool OnAirView = false;          // which of the two the grid shows
  bool Changed = false;            // the list differs from its file
  FileLineList FileLines;          // the raw lines as last read from disk

  // FreqFileRecordCount.
  int RecordCount() const { return static_cast<int>(Columns[0].size()); }
  int OnAirCount() const { return static_cast<int>(OnAirRowOrder.size()); }

  // The row order and count of the view the grid shows.
  const std::vector<int>& ViewOrder() const { return OnAirView ? OnAirRowOrder : RowOrder; }
  std::vector<int>& ViewOrder() { return OnAirView ? OnAirRowOrder : RowOrder; }
  int ViewCount() const { return OnAirView ? OnAirCount() : RecordCount(); }
  // The record shown in 1-based grid `row` of the current view; -1 when the
  // row is not within the view.
  int RecordAtRow(int row) const;

  const std::vector<std::string>& Column(FreqColumn column) const { return Columns[static_cast<int>(column)]; }
  const std::string& Cell(int record, FreqColumn column) const { return Column(column)[record]; }
  // Direct write access; text stored this way should pass SanitizeTextField.
  std::string& Cell(int record, FreqColumn column) { return Columns[static_cast<int>(column)][record]; }

  // The record assembled from the columns (Freq is the kHz text; the indices
  // are read back from their decimal text).
  FrequencyRecord Record(int record) const;

  // ClearFrequencyList: empties the sixteen columns and both row orders.
  // OnAirView, Changed and FileLines are left as they are.
  void Clear();

  // Opening a file: FileLines becomes the file's lines, the list is cleared
  // and every line is read (ReadFrequencyLine); a line that fails is reported
  // through `onError` with its 1-based line number and skipped. Afterwards
  // the full view is selected, both row orders are the identity and Changed
  // is false.
  FileReadResult Load(std::string fileBytes, char separator, const LineErrorSink& onError = {});

  // Appending a file: its lines are read as by Load and added behind the
  // records already present; FileLines is left alone. When the file had at
  // least one line, the full view is selected, both row orders become the
  // identity and Changed is set; a file without lines changes nothing.
  FileReadResult AppendFile(std::string_view fileBytes, char separator, const LineErrorSink& onError = {});

  // Adds a record at the end of the columns only (sanitized); returns its
  // record number.
  int AppendRecord(const FrequencyRecord& record);
  // Adding an entry: appended to the columns and to the end of RowOrder, in
  // the on-air view also to the end of OnAirRowOrder; Changed is set.
  int AddRecord(const FrequencyRecord& record);
  // Editing an entry: every column of `record` is overwritten (sanitized),
  // Spare and Lockout only when `keepSpareAndLockout` is false; Changed is set.
  void SetRecord(int record, const FrequencyRecord& value, bool keepSpareAndLockout = true);

  // Cutting: removes the given record numbers (in any order, duplicates
  // ignored) from every column, highest first. RowOrder becomes the identity;
  // OnAirRowOrder keeps its remaining records, renumbered. Changed is set when
  // records remain.
  void RemoveRecords(std::vector<int> records);
  // Pasting: inserts `records` in their order in front of record `at`
  // (0..RecordCount(); clamped), renumbering the records after them. RowOrder
  // becomes the identity; OnAirRowOrder keeps its records, renumbered; Changed
  // is set when anything was inserted.
  void InsertRecords(int at, const std::vector<FrequencyRecord>& records);

  // Both row orders become 0..RecordCount()-1.
  void ResetRowOrders();

  // The whole file to write: the records in `order` (normally RowOrder), one
  // FormatFrequencyLine each, every line ended by CR LF. Throws
  // ConversionError when a record's Freq is not a number.
  std::string FileText(const std::vector<int>& order, char separator) const;
  std::string FileText(char separator) const { return FileText(RowOrder, separator); }

 private:
  void AppendColumns(FrequencyRecord&& record);
  void ReadLines(const std::vector<std::string_view>& lines, char separator, const LineErrorSink& onError,
                 FileReadResult& result);
};

}  // namespace ondaris
