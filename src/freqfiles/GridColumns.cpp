#include "freqfiles/GridColumns.h"

#include <cstdint>

#include "common/AtomicFile.h"
#include "common/ProgramDir.h"

namespace ondaris {

namespace {

constexpr const char* Headers[GridColumnCount] = {"Lk",       "Freq",     "Name", "On Air", "Off Air",
                                                  "Language", "Location", "Mode", "Filt"};
constexpr double DefaultWidthShares[GridColumnCount] = {0.04, 0.11, 0.20, 0.09, 0.09, 0.13, 0.15, 0.09, 0.09};
constexpr int HeaderMargin = 5;
constexpr int ColumnGap = 1;

}  // namespace

const char* GridHeader(int column) {
  return column >= 0 && column < GridColumnCount ? Headers[column] : "";
}

std::string GridWidthsPath(const std::string& programDir) {
  return WithTrailingSlash(programDir) + "SysFiles/OndarisGrid.dat";
}

std::optional<GridColumnWidths> DecodeGridWidths(const std::string& bytes) {
  if (bytes.size() < GridWidthsFileSize) return std::nullopt;
  GridColumnWidths widths{};
  for (int c = 0; c < GridColumnCount; ++c) {
    std::uint32_t value = 0;
    for (int b = 3; b >= 0; --b)
      value = (value << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(c * 4 + b)]);
    widths[static_cast<std::size_t>(c)] = static_cast<std::int32_t>(value);
  }
  return widths;
}

std::string EncodeGridWidths(const GridColumnWidths& widths) {
  std::string bytes;
  bytes.reserve(GridWidthsFileSize);
  for (int width : widths) {
    const auto value = static_cast<std::uint32_t>(static_cast<std::int32_t>(width));
    for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<char>((value >> (8 * b)) & 0xFF));
  }
  return bytes;
}

std::optional<GridColumnWidths> ReadGridWidths(const std::string& programDir) {
  const std::optional<std::string> bytes = ReadWholeFile(GridWidthsPath(programDir));
  if (!bytes) return std::nullopt;
  return DecodeGridWidths(*bytes);
}

void WriteGridWidths(const std::string& programDir, const GridColumnWidths& widths) {
  WriteFileAtomically(GridWidthsPath(programDir), EncodeGridWidths(widths));
}

GridColumnWidths DefaultGridWidths(int clientWidth) {
  GridColumnWidths widths{};
  for (int c = 0; c < GridColumnCount; ++c)
    widths[static_cast<std::size_t>(c)] = static_cast<int>(clientWidth * DefaultWidthShares[c]);
  return widths;
}

int GridColumnLeft(const GridColumnWidths& widths, int column) {
  int x = 1;
  for (int c = 0; c < column && c < GridColumnCount; ++c) x += widths[static_cast<std::size_t>(c)] + ColumnGap;
  return x;
}

int HeaderZoneColumn(const GridColumnWidths& widths, int x) {
  int left = 1;
  for (int c = 0; c < GridColumnCount; ++c) {
    const int width = widths[static_cast<std::size_t>(c)];
    if (x > left + HeaderMargin && x < left + width - HeaderMargin) return c;
    left += width + ColumnGap;
  }
  return -1;
}

}  // namespace ondaris
