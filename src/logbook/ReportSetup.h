#pragma once
// A report setup: which log fields a tab-separated report shows and in which
// order, its heading, all or only the selected records, and the output file;
// its file (*.rpt in LogFiles/ReportSetups), 469 bytes, integers
// little-endian signed 32-bit:
//
//   0    81  heading: a length byte (0..80) and 80 characters
//   81   1   1 = selected records only, 0 = all records
//   82   81  output file name: a length byte (0..80) and 80 characters
//   163  72  column order: the report field shown in grid column 0..17
//   235  144 column bounds: left and right pixel edge of grid column p
//   379  72  column positions: the grid column of each report field
//   451  18  marks by grid column: "Y" puts the column in the report

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "logbook/LogGridLayout.h"
#include "logbook/LogTable.h"

namespace ondaris {

constexpr int ReportFieldCount = 18;
constexpr std::size_t ReportSetupFileSize = 469;
constexpr std::size_t ReportTextCapacity = 80;

// "Code", "Freq", ..., "Att(Y)" for report fields 0..17.
const std::array<std::string, ReportFieldCount>& ReportHeadings();
// The column of the log each report field reads.
LogField ReportFieldColumn(int reportField);

struct ReportSetup {
  std::string Heading;
  bool SelectedOnly = true;
  std::string OutputName;
  std::array<std::int32_t, ReportFieldCount> ColumnOrder{};
  std::array<ColumnBound, ReportFieldCount> ColumnBounds{};
  std::array<std::int32_t, ReportFieldCount> ColumnPositions{};
  std::array<char, ReportFieldCount> Marks{};
  bool operator==(const ReportSetup&) const = default;

  bool IsMarked(int gridColumn) const { return Marks[gridColumn] == 'Y'; }
  // Positions as the inverse of the order.
  void RecomputePositions();
  // From x = 1, grid column p of width w gets (x + 3, x + w - 3); x moves on
  // by w + 1.
  void RecordColumnBounds(int columnWidth);
  // The field at grid column `from` is taken out and put back at `to`; its
  // mark moves with it.
  void MoveColumn(int from, int to);
};

// Identity order, no column marked ("N" and zero bytes), selected records.
ReportSetup FreshReportSetup();

std::string ReportSetupBytes(const ReportSetup& setup);
// The setup of a file's bytes. A short file is read as far as it goes, the
// rest as in a fresh setup; bytes beyond 469 are ignored; a length byte
// beyond 80 reads as 80. An order that is not a permutation of the 18 fields
// (a damaged file must not point a column at no field) becomes the identity;
// the positions are always made its inverse.
ReportSetup ParseReportSetup(std::string_view bytes);

// The report's lines: the heading and an empty line when there is a
// heading, the line of the marked columns' headings and an empty line, then
// one line per record (values of the marked columns, tab-separated, Freq
// with "."), left out when empty.
std::vector<std::string> ReportLines(const LogTable& table, const ReportSetup& setup,
                                     const std::vector<int>& records, char separator);

// The file name a typed output name stands for in Export/: its last path
// part, so a report never lands outside that folder; "Report.txt" when that
// is empty.
std::string ReportOutputFileName(const std::string& typed);

std::string ReportSetupFolder(const std::string& programDir);  // LogFiles/ReportSetups/

}  // namespace ondaris
