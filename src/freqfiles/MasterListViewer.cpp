#include "freqfiles/MasterListViewer.h"

#include <filesystem>
#include <numeric>
#include <system_error>
#include <utility>

#include "common/ShellSort.h"
#include "common/TextHelpers.h"
#include "platform/MessageBoxes.h"

namespace ondaris {

const char* const MasterViewerCaption = "Master Frequency List Viewer";
const char* const MasterViewerHeaders[MasterColumnCount] = {
    "          Frequency",
    "          Station",
    "          Frequency File",
};
const char* const MasterListMissingMessage =
    "The Master Frequency List file appears to be missing.  Regenerate it by clicking the 'Master Frequency List "
    "Generator' from the Tools menu.";
const char* const MasterListEmptyMessage = "The Master Frequency List file is empty.  Exiting...";
const char* const InvalidFrequencyFileNameMessage = "Invalid frequency file name.  Exiting...";
const char* const FindSortHint = "Records matching your search are colored red";

std::string FrequencyFileMissingMessage(const std::string& name) {
  return name + " does not exist in the default " + "frequency file directory.  Exiting...";
}

namespace {

using Line = MasterListViewer::Line;

// Byte-wise three-way comparison, case counting.
int Compare(const std::string& a, const std::string& b) {
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Frequency as a number, then the file, then the station.
bool AfterByFrequency(const Line& a, const Line& b) {
  if (a.freqValue != b.freqValue) return a.freqValue > b.freqValue;
  if (a.freq != b.freq) return false;
  if (const int c = Compare(a.file, b.file)) return c > 0;
  return Compare(a.station, b.station) > 0;
}

// Station, then the frequency as a number, then the file.
bool AfterByStation(const Line& a, const Line& b) {
  if (const int c = Compare(a.station, b.station)) return c > 0;
  if (a.freqValue != b.freqValue) return a.freqValue > b.freqValue;
  if (a.freq != b.freq) return false;
  return Compare(a.file, b.file) > 0;
}

// File, then the frequency as a number, then the station.
bool AfterByFile(const Line& a, const Line& b) {
  if (const int c = Compare(a.file, b.file)) return c > 0;
  if (a.freqValue != b.freqValue) return a.freqValue > b.freqValue;
  if (a.freq != b.freq) return false;
  return Compare(a.station, b.station) > 0;
}

// The block of matches after Find-Sort: station, then frequency as a number.
bool AfterByStationThenNumber(const Line& a, const Line& b) {
  if (const int c = Compare(a.station, b.station)) return c > 0;
  return a.freqValue > b.freqValue;
}

void FoldInto(std::string& out, const std::string& text) {
  out.assign(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

}  // namespace

bool MasterListViewer::Open(const std::string& programDir, MessageBoxes& messages) {
  Close();
  const auto entries = ReadMasterList(programDir);
  if (!entries) {
    messages.showMessage(MasterListMissingMessage);
    return false;
  }
  if (entries->empty()) {
    messages.showMessage(MasterListEmptyMessage);
    return false;
  }
  Load(*entries);
  return true;
}

void MasterListViewer::Load(const std::vector<MasterListEntry>& entries) {
  lines_.clear();
  lines_.reserve(entries.size());
  for (const auto& e : entries) {
    Line line{e.freq, e.station, e.file, false, 0};
    line.freqValue = MasterListFreqValue(e.freq, separator_).value_or(0.0);
    lines_.push_back(std::move(line));
  }
  ShowFromTop();
}

void MasterListViewer::Close() {
  lines_.clear();
  lines_.shrink_to_fit();
  ShowFromTop();
}

std::size_t MasterListViewer::MatchCount() const {
  std::size_t count = 0;
  for (const auto& line : lines_)
    if (line.matched) ++count;
  return count;
}

std::string MasterListViewer::CellText(std::size_t index, MasterColumn column) const {
  if (index >= lines_.size()) return {};
  const Line& line = lines_[index];
  switch (column) {
    case MasterColumn::Frequency: return DotToLocaleDecimal(line.freq, separator_);
    case MasterColumn::Station: return line.station;
    case MasterColumn::File: return line.file;
  }
  return {};
}

void MasterListViewer::ShowFromTop() {
  topLine = 0;
  currentLine = 0;
}

void MasterListViewer::Reorder(const std::vector<std::size_t>& order) {
  std::vector<Line> sorted;
  sorted.reserve(lines_.size());
  for (std::size_t index : order) sorted.push_back(std::move(lines_[index]));
  lines_ = std::move(sorted);
}

void MasterListViewer::SortByColumn(MasterColumn column) {
  bool (*after)(const Line&, const Line&) = AfterByFrequency;
  if (column == MasterColumn::Station) after = AfterByStation;
  if (column == MasterColumn::File) after = AfterByFile;

  // The lines stay put while a permutation is sorted; the permutation is
  // applied once at the end.
  std::vector<std::size_t> order(lines_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  ShellSort(order, [&](std::size_t a, std::size_t b) { return after(lines_[a], lines_[b]); });
  Reorder(order);
  topLine = 0;
}

void MasterListViewer::ClearMatchMarks() {
  for (auto& line : lines_) line.matched = false;
}

std::optional<MasterColumn> MasterListViewer::HeaderZoneAt(int x, const std::array<int, MasterColumnCount>& widths) {
  int left = 1;
  for (int c = 0; c < MasterColumnCount; ++c) {
    const int width = widths[static_cast<std::size_t>(c)];
    if (x > left + 5 && x < left + width - 5) return static_cast<MasterColumn>(c);
    left += width + 1;
  }
  return std::nullopt;
}

bool MasterListViewer::GridMouseUp(int x, int y, const std::array<int, MasterColumnCount>& widths,
                                   int headerHeight) {
  ClearMatchMarks();
  if (y >= headerHeight) return false;
  const auto column = HeaderZoneAt(x, widths);
  if (!column) return false;
  SortByColumn(*column);
  return true;
}

std::size_t MasterListViewer::FindSort(const std::string& text, bool matchCase) {
  ClearMatchMarks();
  if (text.empty()) return 0;

  std::string needle;
  if (matchCase)
    needle = text;
  else
    FoldInto(needle, text);

  std::string folded;
  const auto contains = [&](const std::string& field) {
    if (field.size() < needle.size()) return false;
    if (matchCase) return field.find(needle) != std::string::npos;
    FoldInto(folded, field);
    return folded.find(needle) != std::string::npos;
  };
  std::vector<char> matches(lines_.size());
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    matches[i] = contains(line.freq) || contains(line.station) || contains(line.file);
  }

  // Matching lines in front of the others.
  std::vector<std::size_t> order(lines_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  ShellSort(order, [&](std::size_t a, std::size_t b) { return !matches[a] && matches[b]; });
  Reorder(order);

  std::size_t count = 0;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (!matches[order[i]]) break;
    lines_[i].matched = true;
    ++count;
  }

  if (count > 1) {
    std::vector<std::size_t> block(count);
    std::iota(block.begin(), block.end(), std::size_t{0});
    ShellSort(block, [&](std::size_t a, std::size_t b) { return AfterByStationThenNumber(lines_[a], lines_[b]); });
    std::vector<Line> sorted;
    sorted.reserve(count);
    for (std::size_t index : block) sorted.push_back(std::move(lines_[index]));
    std::move(sorted.begin(), sorted.end(), lines_.begin());
  }
  ShowFromTop();
  return count;
}

MasterListViewer::OpenResult MasterListViewer::OpenCurrentFile(const std::string& freqFileDir,
                                                               const MasterListOpenHost& host,
                                                               MessageBoxes& messages) {
  if (host.fileScanRunning && host.fileScanRunning()) return OpenResult::Refused;

  const std::string name = currentLine < lines_.size() ? lines_[currentLine].file : std::string();
  // The field names a file of the frequency-file folder; anything with a
  // folder in it cannot have come from the generator.
  if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") {
    messages.showMessage(InvalidFrequencyFileNameMessage);
    return OpenResult::Failed;
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(FileInFolder(freqFileDir, name), error)) {
    messages.showMessage(FrequencyFileMissingMessage(name));
    return OpenResult::Failed;
  }
  if (host.openFrequencyFile) host.openFrequencyFile(name);
  return OpenResult::Opened;
}

}  // namespace ondaris
