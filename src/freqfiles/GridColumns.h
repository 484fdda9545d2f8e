#pragma once
// The station grid's nine columns: their headers, their widths and where a
// header click lands, and SysFiles/OndarisGrid.dat, the file that keeps the
// widths from one run to the next.

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace ondaris {

constexpr int GridColumnCount = 9;
using GridColumnWidths = std::array<int, GridColumnCount>;

// "Lk", "Freq", "Name", "On Air", "Off Air", "Language", "Location", "Mode", "Filt".
const char* GridHeader(int column);

inline constexpr std::size_t GridWidthsFileSize = 36;
// programDir + "SysFiles/OndarisGrid.dat".
std::string GridWidthsPath(const std::string& programDir);
// The widths of a file image: nine little-endian signed 32-bit integers.
// Nothing when the image is shorter than 36 bytes (bytes beyond are ignored).
std::optional<GridColumnWidths> DecodeGridWidths(const std::string& bytes);
std::string EncodeGridWidths(const GridColumnWidths& widths);
// Nothing when the file is missing or too short; throws FileError when it
// exists but cannot be read.
std::optional<GridColumnWidths> ReadGridWidths(const std::string& programDir);
// Replaces the file; throws FileError when it cannot be written.
void WriteGridWidths(const std::string& programDir, const GridColumnWidths& widths);
// The widths without the file: the client width times 0.04, 0.11, 0.20,
// 0.09, 0.09, 0.13, 0.15, 0.09, 0.09, each truncated to whole pixels.
GridColumnWidths DefaultGridWidths(int clientWidth);

// The header hot zones: running from x = 1, column c occupies x + 5 ..
// x + width(c) - 5 (both ends excluded) and x then moves on by width(c) + 1.
// The column whose zone holds `x`, or -1 (the 5-pixel margins are left to
// resizing the columns by dragging).
int HeaderZoneColumn(const GridColumnWidths& widths, int x);
// Where column c starts in those grid coordinates (1 for column 0).
int GridColumnLeft(const GridColumnWidths& widths, int column);

}  // namespace ondaris
