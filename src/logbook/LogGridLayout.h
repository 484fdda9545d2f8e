#pragma once
// The arrangement of the log display's fourteen grid columns, and its file
// (LogFiles/LargeLogGrid.dat or LogFiles/SmallLogGrid.dat): 434 bytes of
// little-endian 32-bit integers and fixed-capacity strings.
//
//   0   56  ColumnOrder: the field shown in grid column 0..13
//   56  154 ColumnHeaders by field: a length byte (0..10) and 10 characters
//   210 56  ColumnWidths: entry i is the width of grid column ColumnOrder[i]
//   266 112 ColumnBounds by field: left and right pixel edge
//   378 56  ColumnPosition by field: the grid column showing it

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondaris {

constexpr int LogGridColumns = 14;
constexpr std::size_t LogGridLayoutFileSize = 434;
constexpr std::size_t LogGridHeaderCapacity = 10;

struct ColumnBound {
  std::int32_t left = 0, right = 0;
  bool operator==(const ColumnBound&) const = default;
};

struct LogGridLayout {
  std::array<std::int32_t, LogGridColumns> ColumnOrder{};
  std::array<std::string, LogGridColumns> ColumnHeaders;
  std::array<std::int32_t, LogGridColumns> ColumnWidths{};
  std::array<ColumnBound, LogGridColumns> ColumnBounds{};
  std::array<std::int32_t, LogGridColumns> ColumnPosition{};
  bool operator==(const LogGridLayout&) const = default;

  // The width of grid column p.
  std::int32_t WidthOfGridColumn(int p) const;
  void SetWidthOfGridColumn(int p, std::int32_t width);
  // RecordColumnBounds: from x = 1, for grid columns p in order, the field
  // shown there gets (x + 5, x + w - 5) and x moves on by w + 1.
  void RecordColumnBounds();
  // ColumnPosition as the inverse of ColumnOrder.
  void RecomputePositions();
  // LogGridColumnMoved: the field at grid column `from` is taken out and
  // put back at `to`; positions, bounds and headers follow.
  void MoveColumn(int from, int to);
  // The field whose bounds strictly contain x (left < x < right); -1 when x
  // lies within 5 pixels of a border.
  int FieldAtX(int x) const;
};

// "Code", "Freq", ..., "Att" for fields 0..13.
const std::array<std::string, LogGridColumns>& DefaultLogGridHeaders();
// The layout when no file is there: identity order, every width
// clientWidth / 14, default headers, bounds from those widths.
LogGridLayout DefaultLogGridLayout(int clientWidth);

// The layout of the file's bytes. Nothing unless the bytes are exactly 434
// and the order is a permutation of the fourteen fields (a damaged file
// must not point the grid at a field that does not exist); positions are
// then made the inverse of the order and the headers the defaults.
std::optional<LogGridLayout> ParseLogGridLayout(std::string_view bytes);
// The 434 bytes; the headers are always written as the defaults.
std::string LogGridLayoutBytes(const LogGridLayout& layout);

// LayoutFileName: "SmallLogGrid.dat" for a main window 640 pixels wide or
// narrower at start-up, else "LargeLogGrid.dat"; below LogFiles/.
std::string LogGridLayoutFileName(int mainWindowWidth);
// Read from the program folder: the file's layout, or the defaults.
LogGridLayout LoadLogGridLayout(const std::string& programDir, const std::string& fileName, int clientWidth);
void SaveLogGridLayout(const std::string& programDir, const std::string& fileName,
                       const LogGridLayout& layout);  // throws FileError

}  // namespace ondaris
