#include "logbook/ReportSetup.h"

#include <algorithm>

#include "common/RecordBytes.h"
#include "common/TextHelpers.h"

namespace ondaris {

namespace {

namespace rb = record_bytes;

constexpr std::size_t HeadingAt = 0, SelectedAt = 81, OutputAt = 82, OrderAt = 163, BoundsAt = 235,
                      PositionsAt = 379, MarksAt = 451;

constexpr std::array<LogField, ReportFieldCount> Columns = {
    LogField::Code, LogField::Freq,    LogField::Mode, LogField::Time, LogField::Off,   LogField::Date,
    LogField::ID,   LogField::Rpt1,    LogField::Rpt2, LogField::Country, LogField::Misc, LogField::Sent,
    LogField::Rcvd, LogField::Attach,  LogField::Notes, LogField::S,   LogField::R,     LogField::Att};

bool IsPermutation(const std::array<std::int32_t, ReportFieldCount>& order) {
  std::array<bool, ReportFieldCount> seen{};
  for (std::int32_t f : order) {
    if (f < 0 || f >= ReportFieldCount || seen[f]) return false;
    seen[f] = true;
  }
  return true;
}

void IdentityOrder(ReportSetup& setup) {
  for (int p = 0; p < ReportFieldCount; ++p) setup.ColumnOrder[p] = p;
}

}  // namespace

const std::array<std::string, ReportFieldCount>& ReportHeadings() {
  static const std::array<std::string, ReportFieldCount> headings = {
      "Code", "Freq", "Mode", "Time", "Off",  "Date",  "ID",   "Rpt1", "Rpt2",
      "Cntry", "Misc", "Sent", "Rcvd", "Att", "Notes", "S(Y)", "R(Y)", "Att(Y)"};
  return headings;
}

LogField ReportFieldColumn(int reportField) { return Columns[reportField]; }

void ReportSetup::RecomputePositions() {
  for (int p = 0; p < ReportFieldCount; ++p)
    if (ColumnOrder[p] >= 0 && ColumnOrder[p] < ReportFieldCount) ColumnPositions[ColumnOrder[p]] = p;
}

void ReportSetup::RecordColumnBounds(int columnWidth) {
  std::int32_t x = 1;
  for (auto& bound : ColumnBounds) {
    bound = {x + 3, x + columnWidth - 3};
    x += columnWidth + 1;
  }
}

void ReportSetup::MoveColumn(int from, int to) {
  if (from < 0 || from >= ReportFieldCount || to < 0 || to >= ReportFieldCount || from == to) return;
  const auto move = [&](auto& array) {
    const auto value = array[from];
    if (from < to) {
      std::copy(array.begin() + from + 1, array.begin() + to + 1, array.begin() + from);
    } else {
      std::copy_backward(array.begin() + to, array.begin() + from, array.begin() + from + 1);
    }
    array[to] = value;
  };
  move(ColumnOrder);
  move(Marks);
  RecomputePositions();
}

ReportSetup FreshReportSetup() {
  ReportSetup setup;
  IdentityOrder(setup);
  setup.RecomputePositions();
  setup.Marks[0] = 'N';
  return setup;
}

std::string ReportSetupBytes(const ReportSetup& setup) {
  std::string image(ReportSetupFileSize, '\0');
  rb::PutText(image, HeadingAt, setup.Heading, ReportTextCapacity);
  rb::PutByte(image, SelectedAt, setup.SelectedOnly ? 1 : 0);
  rb::PutText(image, OutputAt, setup.OutputName, ReportTextCapacity);
  for (int i = 0; i < ReportFieldCount; ++i) {
    rb::PutInt32(image, OrderAt + 4 * i, setup.ColumnOrder[i]);
    rb::PutInt32(image, BoundsAt + 8 * i, setup.ColumnBounds[i].left);
    rb::PutInt32(image, BoundsAt + 8 * i + 4, setup.ColumnBounds[i].right);
    rb::PutInt32(image, PositionsAt + 4 * i, setup.ColumnPositions[i]);
    image[MarksAt + i] = setup.Marks[i];
  }
  return image;
}

ReportSetup ParseReportSetup(std::string_view bytes) {
  std::string image = ReportSetupBytes(FreshReportSetup());
  rb::Overlay(image, bytes);
  ReportSetup setup;
  setup.Heading = rb::GetText(image, HeadingAt, ReportTextCapacity);
  setup.SelectedOnly = rb::GetByte(image, SelectedAt) == 1;
  setup.OutputName = rb::GetText(image, OutputAt, ReportTextCapacity);
  for (int i = 0; i < ReportFieldCount; ++i) {
    setup.ColumnOrder[i] = rb::GetInt32(image, OrderAt + 4 * i);
    setup.ColumnBounds[i] = {rb::GetInt32(image, BoundsAt + 8 * i), rb::GetInt32(image, BoundsAt + 8 * i + 4)};
    setup.Marks[i] = image[MarksAt + i];
  }
  if (!IsPermutation(setup.ColumnOrder)) IdentityOrder(setup);
  setup.RecomputePositions();
  return setup;
}

std::vector<std::string> ReportLines(const LogTable& table, const ReportSetup& setup,
                                     const std::vector<int>& records, char separator) {
  std::vector<int> fields;
  for (int p = 0; p < ReportFieldCount; ++p)
    if (setup.IsMarked(p)) fields.push_back(setup.ColumnOrder[p]);

  std::vector<std::string> lines;
  lines.reserve(records.size() + 4);
  if (!setup.Heading.empty()) {
    lines.push_back(setup.Heading);
    lines.emplace_back();
  }
  std::string headingLine;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) headingLine += '\t';
    headingLine += ReportHeadings()[fields[i]];
  }
  lines.push_back(std::move(headingLine));
  lines.emplace_back();
  for (int r : records) {
    if (!table.IsRecord(r)) continue;
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i) line += '\t';
      const LogField column = ReportFieldColumn(fields[i]);
      const std::string& value = table.Cell(r, column);
      line += column == LogField::Freq ? LocaleToDotDecimal(DotToLocaleDecimal(value, separator), separator) : value;
    }
    if (!line.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

std::string ReportOutputFileName(const std::string& typed) {
  std::string name = typed;
  std::replace(name.begin(), name.end(), '\\', '/');
  name = ExtractFileNamePart(name);
  if (name == "." || name == "..") name.clear();
  return name.empty() ? std::string("Report.txt") : name;
}

std::string ReportSetupFolder(const std::string& programDir) { return programDir + "LogFiles/ReportSetups/"; }

}  // namespace ondaris
