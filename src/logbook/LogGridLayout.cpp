#include "logbook/LogGridLayout.h"

#include <algorithm>

#include "common/AtomicFile.h"
#include "common/Errors.h"

namespace ondaris {

namespace {

std::int32_t ReadInt(std::string_view bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  return static_cast<std::int32_t>(value);
}

void PutInt(std::string& out, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out += static_cast<char>((u >> (8 * i)) & 0xFF);
}

}  // namespace

const std::array<std::string, LogGridColumns>& DefaultLogGridHeaders() {
  static const std::array<std::string, LogGridColumns> headers = {
      "Code", "Freq", "Mode", "Time", "Off", "Date", "ID", "Rpt1", "Rpt2", "Country", "Misc", "S", "R", "Att"};
  return headers;
}

std::int32_t LogGridLayout::WidthOfGridColumn(int p) const {
  for (int i = 0; i < LogGridColumns; ++i)
    if (ColumnOrder[i] == p) return ColumnWidths[i];
  return 0;
}

void LogGridLayout::SetWidthOfGridColumn(int p, std::int32_t width) {
  for (int i = 0; i < LogGridColumns; ++i)
    if (ColumnOrder[i] == p) ColumnWidths[i] = width;
}

void LogGridLayout::RecordColumnBounds() {
  std::int32_t x = 1;
  for (int p = 0; p < LogGridColumns; ++p) {
    const int f = ColumnOrder[p];
    const std::int32_t w = WidthOfGridColumn(p);
    if (f >= 0 && f < LogGridColumns) ColumnBounds[f] = {x + 5, x + w - 5};
    x += w + 1;
  }
}

void LogGridLayout::RecomputePositions() {
  for (int p = 0; p < LogGridColumns; ++p) {
    const int f = ColumnOrder[p];
    if (f >= 0 && f < LogGridColumns) ColumnPosition[f] = p;
  }
}

void LogGridLayout::MoveColumn(int from, int to) {
  if (from < 0 || from >= LogGridColumns || to < 0 || to >= LogGridColumns || from == to) return;
  // The widths belong to grid columns; they move with their field.
  std::array<std::int32_t, LogGridColumns> widths{};
  for (int p = 0; p < LogGridColumns; ++p) widths[p] = WidthOfGridColumn(p);
  const std::int32_t field = ColumnOrder[from], width = widths[from];
  if (from < to) {
    std::copy(ColumnOrder.begin() + from + 1, ColumnOrder.begin() + to + 1, ColumnOrder.begin() + from);
    std::copy(widths.begin() + from + 1, widths.begin() + to + 1, widths.begin() + from);
  } else {
    std::copy_backward(ColumnOrder.begin() + to, ColumnOrder.begin() + from, ColumnOrder.begin() + from + 1);
    std::copy_backward(widths.begin() + to, widths.begin() + from, widths.begin() + from + 1);
  }
  ColumnOrder[to] = field;
  widths[to] = width;
  for (int i = 0; i < LogGridColumns; ++i) ColumnWidths[i] = widths[ColumnOrder[i]];
  RecomputePositions();
  RecordColumnBounds();
  ColumnHeaders = DefaultLogGridHeaders();
}

int LogGridLayout::FieldAtX(int x) const {
  for (int f = 0; f < LogGridColumns; ++f)
    if (ColumnBounds[f].left < x && x < ColumnBounds[f].right) return f;
  return -1;
}

LogGridLayout DefaultLogGridLayout(int clientWidth) {
  LogGridLayout layout;
  for (int f = 0; f < LogGridColumns; ++f) {
    layout.ColumnOrder[f] = f;
    layout.ColumnPosition[f] = f;
    layout.ColumnWidths[f] = clientWidth / LogGridColumns;
  }
  layout.ColumnHeaders = DefaultLogGridHeaders();
  layout.RecordColumnBounds();
  return layout;
}

std::optional<LogGridLayout> ParseLogGridLayout(std::string_view bytes) {
  if (bytes.size() != LogGridLayoutFileSize) return std::nullopt;
  LogGridLayout layout;
  std::array<bool, LogGridColumns> seen{};
  for (int i = 0; i < LogGridColumns; ++i) {
    const std::int32_t f = ReadInt(bytes, 4 * i);
    if (f < 0 || f >= LogGridColumns || seen[f]) return std::nullopt;
    seen[f] = true;
    layout.ColumnOrder[i] = f;
    layout.ColumnWidths[i] = std::max<std::int32_t>(0, ReadInt(bytes, 210 + 4 * i));
    layout.ColumnBounds[i] = {ReadInt(bytes, 266 + 8 * i), ReadInt(bytes, 266 + 8 * i + 4)};
  }
  layout.ColumnHeaders = DefaultLogGridHeaders();
  layout.RecomputePositions();
  return layout;
}

std::string LogGridLayoutBytes(const LogGridLayout& layout) {
  std::string out;
  out.reserve(LogGridLayoutFileSize);
  for (auto v : layout.ColumnOrder) PutInt(out, v);
  for (const auto& header : DefaultLogGridHeaders()) {
    out += static_cast<char>(header.size());
    out += header;
    out.append(LogGridHeaderCapacity - header.size(), '\0');
  }
  for (auto v : layout.ColumnWidths) PutInt(out, v);
  for (const auto& b : layout.ColumnBounds) {
    PutInt(out, b.left);
    PutInt(out, b.right);
  }
  for (auto v : layout.ColumnPosition) PutInt(out, v);
  return out;
}

std::string LogGridLayoutFileName(int mainWindowWidth) {
  return mainWindowWidth <= 640 ? "SmallLogGrid.dat" : "LargeLogGrid.dat";
}

LogGridLayout LoadLogGridLayout(const std::string& programDir, const std::string& fileName, int clientWidth) {
  try {
    if (const auto bytes = ReadWholeFile(programDir + "LogFiles/" + fileName))
      if (auto layout = ParseLogGridLayout(*bytes)) return *layout;
  } catch (const FileError&) {
  }
  return DefaultLogGridLayout(clientWidth);
}

void SaveLogGridLayout(const std::string& programDir, const std::string& fileName, const LogGridLayout& layout) {
  WriteFileAtomically(programDir + "LogFiles/" + fileName, LogGridLayoutBytes(layout));
}

}  // namespace ondaris
