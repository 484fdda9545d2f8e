#include "scan/BandScanDialog.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/ShellSort.h"
#include "common/TextHelpers.h"
#include "radio/ReceiverControls.h"
#include "radio/Rx320Protocol.h"
#include "radio/StepTable.h"
#include "radio/TuningController.h"
#include "scan/ScanSpeeds.h"

namespace ondaris {

namespace {

constexpr int MinimumGridRows = 8;  // the header row included
constexpr int SortBandLeft = 3;     // a header click this far right of a column's left edge sorts
constexpr int SortBandRight = 5;    // ... and up to this far left of its right edge
constexpr int PBTLimitHz = 2000;
constexpr int BandScanKind = 4;
// The step combo's first eight items; the ninth is 9000 or 10000.
constexpr int PlainStepCount = 8;

// Text keys are compared after folding A..Z to lower case, nothing else.
std::string Folded(const std::string& text) {
  std::string folded = text;
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

int ModeOfText(const std::string& text) {
  if (text == "AM") return 0;
  if (text == "USB") return 1;
  if (text == "LSB") return 2;
  if (text == "CW") return 3;
  return 1;  // anything else scans in USB
}

int IndexOf(const std::vector<std::string>& items, const std::string& text, std::size_t limit) {
  const std::size_t end = std::min(limit, items.size());
  for (std::size_t i = 0; i < end; ++i)
    if (items[i] == text) return static_cast<int>(i);
  return -1;
}

}  // namespace

// ---- BandScanCombo -----------------------------------------------------------

void BandScanCombo::Fill(std::vector<std::string> newItems) {
  items = std::move(newItems);
  index = -1;
  text.clear();
}

void BandScanCombo::Select(int i) {
  if (i >= 0 && i < static_cast<int>(items.size())) {
    index = i;
    text = items[static_cast<std::size_t>(i)];
  } else {
    index = -1;
    text.clear();
  }
}

void BandScanCombo::SetText(const std::string& newText) {
  text = newText;
  index = IndexOf(items, newText, items.size());
}

// ---- BandScanDialog ----------------------------------------------------------

BandScanDialog::BandScanDialog(PanelContext& context, ReceiverControls& controls, TuningController& tuning,
                               ScanSettings& settings, std::string programDir)
    : ctx_(context), controls_(controls), tuning_(tuning), settings_(settings), programDir_(std::move(programDir)) {
  FormCreate();
}

void BandScanDialog::FormCreate() {
  columnWidths = DefaultBandScanColumnWidths;
  shownBefore_ = false;
  FillCombos();
}

void BandScanDialog::BandScanBtnClick() {
  std::optional<std::vector<std::string>> loaded;
  try {
    loaded = ReadBandScanFile(BandScanDatPath(programDir_));
  } catch (const FileError& error) {
    // A file that is there but cannot be read: nothing is chosen or shown.
    ctx_.ReportError(error.what());
    ctx_.panel.release(Ctl::BandScanBtn);
    return;
  }
  PanelModel& panel = ctx_.panel;
  panel.press(Ctl::BandScanBtn);
  // Without a file the list starts empty, so that a first list can be built
  // here and saved.
  if (!loaded) ctx_.messages.showMessage(BandScanMissingMessage);

  ctx_.scan.ScanKind = 0;
  lines_.clear();
  records_.clear();
  if (loaded) {
    lines_ = std::move(*loaded);
    if (lines_.empty()) ctx_.messages.showMessage(BandScanEmptyMessage);
  }

  try {
    if (const std::optional<std::string> bytes = ReadWholeFile(BandScanColsPath(programDir_)))
      DecodeBandScanColumns(*bytes, columnWidths);
  } catch (const FileError& error) {
    ctx_.ReportError(error.what());  // the widths stay as they were
  }
  panel.setEnabled(Ctl::NowBtn, true);
  panel.release(Ctl::ScanBtn);

  ChooseBandScanHere();
  ClearEditFields();
  FillBandScanGrid();

  open_ = true;
  if (show) show(*this);
  open_ = false;
}

void BandScanDialog::ChooseBandScanHere() {
  if (chooseBandScan) {
    chooseBandScan();
    return;
  }
  SelectBandScanSpeedTable(ctx_.panel, settings_, BandScanDefaultSpeed, ctx_.decimalSeparator);
  ctx_.scan.ScanKind = BandScanKind;
  settings_.MemScanStarted = false;
  ctx_.scan.ScanDirection = 0;
}

// ---- The grid ----------------------------------------------------------------

std::string BandScanDialog::CellText(int row, int column) const {
  if (!HoldsRecord(row)) return "";
  const BandScanRecord& r = records_[static_cast<std::size_t>(row - 1)];
  const char separator = ctx_.decimalSeparator;
  switch (column) {
    case 0:
      return r.Name;
    case 1:
      return DotToLocaleDecimal(r.Low, separator);
    case 2:
      return DotToLocaleDecimal(r.High, separator);
    case 3:
      return r.Mode;
    case 4:
      return BandScanSpeedName(r.Speed);
    case 5:
      return r.Comments;
    default:
      return "";
  }
}

bool BandScanDialog::TakeScrollToTop() { return std::exchange(scrollToTop_, false); }

void BandScanDialog::FillBandScanGrid() {
  std::vector<std::string> kept;
  records_.clear();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (std::optional<BandScanRecord> record = ParseBandScanLine(lines_[i])) {
      kept.push_back(std::move(lines_[i]));
      records_.push_back(std::move(*record));
    } else {
      // Dropped from the list in memory; the file keeps it until it is saved.
      ctx_.messages.showMessage(BandScanBadLinePrefix + std::to_string(i + 1) + ":  " + lines_[i]);
    }
  }
  lines_ = std::move(kept);
  gridRows_ = std::max(MinimumGridRows, RecordCount() + 1);
  changed_ = false;

  if (!shownBefore_) {
    shownBefore_ = true;
    scrollToTop_ = true;
    selectedRow_ = 1;
  } else {
    selectedRow_ = bandScanSelected_;
    // A list that has become shorter keeps the selection on its last record.
    if (selectedRow_ > RecordCount()) selectedRow_ = std::max(1, RecordCount());
    if (selectedRow_ < 1) selectedRow_ = 1;
  }
  if (HoldsRecord(selectedRow_)) ShowBandScanRecord();
}

void BandScanDialog::ShowBandScanRecord() {
  if (!HoldsRecord(selectedRow_)) return;
  const std::optional<BandScanRecord> parsed = ParseBandScanLine(lines_[static_cast<std::size_t>(selectedRow_ - 1)]);
  if (!parsed) {
    ctx_.messages.showMessage(BandScanBadSelectionMessage);
    return;
  }
  const BandScanRecord& r = *parsed;
  const char separator = ctx_.decimalSeparator;
  bandScanSelected_ = selectedRow_;
  bsNameEdit = r.Name;
  bsLoFreqEdit = DotToLocaleDecimal(r.Low, separator);
  bsHiFreqEdit = DotToLocaleDecimal(r.High, separator);
  bsPBTEdit = r.PBT;
  bsCommentEdit = r.Comments;

  bsModeCombo.Select(IndexOf(bsModeCombo.items, r.Mode, bsModeCombo.items.size()));
  bsAGCCombo.Select(r.AGC >= '1' && r.AGC <= '3' ? r.AGC - '1' : -1);
  bsFiltCombo.Select(IndexOf(bsFiltCombo.items, r.Filter, bsFiltCombo.items.size()));
  const int step = IndexOf(bsStepCombo.items, r.Step, PlainStepCount);
  if (step >= 0)
    bsStepCombo.Select(step);
  else
    bsStepCombo.SetText(r.Step);  // 9000 or 10000
  bsSpeedCombo.Select(r.Speed >= '1' && r.Speed <= '6' ? r.Speed - '1' : -1);

  LimitPanel = r.Name + ":  " + bsLoFreqEdit + " to " + bsHiFreqEdit + " kHz" + " " + r.Mode;
}

void BandScanDialog::BandScanGridClick(int row) {
  if (row < 1 || row >= gridRows_) return;
  selectedRow_ = row;
  if (HoldsRecord(row)) ShowBandScanRecord();
}

int BandScanDialog::HeaderColumnAt(int x, const BandScanColumnWidths& widths) {
  int left = 0;
  for (int column = 0; column < BandScanColumnCount; ++column) {
    const int right = left + widths[static_cast<std::size_t>(column)];
    if (x >= left + SortBandLeft && x <= right - SortBandRight) return column;
    left = right;
  }
  return -1;
}

void BandScanDialog::BandScanGridMouseDown(int x) {
  const int column = HeaderColumnAt(x, columnWidths);
  if (column >= 0) SortByColumn(column);
}

// Keys of the six columns, all ascending:
//   Name       text as it is (ordinal, so "Z..." comes before "a..."), then Low
//   Low Freq   number
//   High Freq  number
//   Mode       folded text, then Low
//   Speed      speed name (".033S" < ".1S" < ... < "1S" < "3S": speed order), then Low
//   Comments   folded text, then Low
void BandScanDialog::SortByColumn(int column) {
  if (column < 0 || column >= BandScanColumnCount || records_.empty()) return;
  struct Row {
    std::string line;
    BandScanRecord record;
    std::string key;
    double low;
    double high;
  };
  std::vector<Row> rows;
  rows.reserve(records_.size());
  for (std::size_t i = 0; i < records_.size(); ++i) {
    const BandScanRecord& r = records_[i];
    std::string key;
    switch (column) {
      case 0:
        key = r.Name;
        break;
      case 3:
        key = Folded(r.Mode);
        break;
      case 4:
        key = Folded(BandScanSpeedName(r.Speed));
        break;
      case 5:
        key = Folded(r.Comments);
        break;
      default:
        break;
    }
    rows.push_back(Row{lines_[i], r, std::move(key), r.LowKHz(), r.HighKHz()});
  }

  bool exchanged = false;
  ShellSort(rows, [&](const Row& earlier, const Row& later) {
    bool after;
    if (column == 1)
      after = earlier.low > later.low;
    else if (column == 2)
      after = earlier.high > later.high;
    else
      after = earlier.key > later.key || (earlier.key == later.key && earlier.low > later.low);
    exchanged = exchanged || after;  // the sort swaps exactly when this is true
    return after;
  });

  for (std::size_t i = 0; i < rows.size(); ++i) {
    lines_[i] = std::move(rows[i].line);
    records_[i] = std::move(rows[i].record);
  }
  if (exchanged) changed_ = true;
  selectedRow_ = 1;
  ShowBandScanRecord();
  bandScanSelected_ = 1;
}

// ---- The edit fields ---------------------------------------------------------

void BandScanDialog::FillCombos() {
  bsModeCombo.Fill({ModeItems.begin(), ModeItems.end()});
  std::vector<std::string> filters;
  for (const FilterInfo& filter : FilterTable) filters.push_back(std::to_string(filter.bandwidthHz));
  bsFiltCombo.Fill(std::move(filters));
  std::vector<std::string> steps;
  for (int row = 0; row < PlainStepCount; ++row) steps.push_back(std::to_string(StepTable[row].stepHz));
  steps.push_back(ctx_.state.NineKHzSteps ? "9000" : "10000");
  bsStepCombo.Fill(std::move(steps));
  bsAGCCombo.Fill({AGCItems.begin(), AGCItems.end()});
  bsSpeedCombo.Fill({BandScanSpeedNames.begin(), BandScanSpeedNames.end()});
}

void BandScanDialog::ClearEditFields() {
  bsNameEdit.clear();
  bsLoFreqEdit.clear();
  bsHiFreqEdit.clear();
  bsCommentEdit.clear();
  bsPBTEdit = "0";
  FillCombos();

  const RadioState& s = ctx_.state;
  bsModeCombo.Select(s.Mode);
  bsAGCCombo.Select(s.AGC == 3 ? 0 : s.AGC == 2 ? 1 : s.AGC == 1 ? 2 : -1);
  bsFiltCombo.Select(s.FilterIndex);
  bsStepCombo.Select(s.StepIndex);
  bsPBTEdit = std::to_string(s.PBT);
  bsSpeedCombo.Select(settings_.ScanSpeedIndex - 1);
  LimitPanel.clear();
}

void BandScanDialog::BandScanClearBtnClick() { ClearEditFields(); }

BandScanFields BandScanDialog::EditFields() const {
  BandScanFields f;
  f.Name = bsNameEdit;
  f.Low = bsLoFreqEdit;
  f.High = bsHiFreqEdit;
  f.Mode = bsModeCombo.text;
  f.Filter = bsFiltCombo.text;
  f.AGC = bsAGCCombo.text;
  f.Step = bsStepCombo.text;
  f.PBT = bsPBTEdit;
  f.SpeedIndex = bsSpeedCombo.text.empty() ? -1 : bsSpeedCombo.index;
  f.Comments = bsCommentEdit;
  return f;
}

bool BandScanDialog::ConvertLimits(double& low, double& high) const {
  try {
    low = TextToDouble(bsLoFreqEdit, ctx_.decimalSeparator);
    high = TextToDouble(bsHiFreqEdit, ctx_.decimalSeparator);
    return true;
  } catch (const ConversionError& error) {
    ctx_.ReportError(error.what());
    return false;
  }
}

bool BandScanDialog::LimitsValid(double low, double high) {
  return low >= BandScanLowestKHz && low <= BandScanHighestKHz && high >= BandScanLowestKHz &&
         high <= BandScanHighestKHz && low <= high;
}

std::optional<BandScanRecord> BandScanDialog::LineFromEdits(std::string& line) {
  double low = 0, high = 0;
  if (!ConvertLimits(low, high)) return std::nullopt;
  if (!LimitsValid(low, high)) {
    ctx_.messages.showMessage(BandScanAddBadFreqMessage);
    return std::nullopt;
  }
  line = BuildBandScanLine(EditFields(), ctx_.decimalSeparator);
  std::optional<BandScanRecord> parsed = ParseBandScanLine(line);
  if (!parsed) ctx_.messages.showMessage(BandScanConvertMessage);
  return parsed;
}

// ---- The buttons -------------------------------------------------------------

void BandScanDialog::BandScanAddBtnClick() {
  if (bsLoFreqEdit.empty() || bsHiFreqEdit.empty()) {
    ctx_.messages.showMessage(BandScanAddNoFreqMessage);
    return;
  }
  std::string line;
  if (!LineFromEdits(line)) return;
  lines_.push_back(std::move(line));
  FillBandScanGrid();
  selectedRow_ = RecordCount();
  ShowBandScanRecord();
  changed_ = true;
  ctx_.messages.showMessage(BandScanAddedMessage);
}

void BandScanDialog::BandScanEditBtnClick() {
  if (records_.empty() || !HoldsRecord(selectedRow_)) return;
  if (!ctx_.messages.askYesNo(BandScanReplaceQuestion)) {
    ShowBandScanRecord();
    return;
  }
  if (bsLoFreqEdit.empty() || bsHiFreqEdit.empty()) {
    ctx_.messages.showMessage(BandScanAddNoFreqMessage);
    ShowBandScanRecord();
    return;
  }
  std::string line;
  std::optional<BandScanRecord> parsed = LineFromEdits(line);
  if (!parsed) return;
  const auto at = static_cast<std::size_t>(selectedRow_ - 1);
  lines_[at] = std::move(line);
  records_[at] = std::move(*parsed);
  changed_ = true;
  ShowBandScanRecord();
}

void BandScanDialog::BandScanDeleteBtnClick() {
  if (!HoldsRecord(selectedRow_)) return;
  if (!ctx_.messages.askYesNo(BandScanDeleteQuestion)) return;
  const auto at = static_cast<std::ptrdiff_t>(selectedRow_ - 1);
  lines_.erase(lines_.begin() + at);
  records_.erase(records_.begin() + at);
  // The grid keeps its rows; the last one is simply empty now. An emptied
  // list is not a change worth saving.
  changed_ = !records_.empty();
  if (records_.empty()) {
    selectedRow_ = 1;
    bandScanSelected_ = 1;
    return;
  }
  bandScanSelected_ = std::min(bandScanSelected_, RecordCount());
  selectedRow_ = std::min(selectedRow_, RecordCount());
  ShowBandScanRecord();
}

bool BandScanDialog::SaveList() {
  try {
    WriteBandScanFile(BandScanDatPath(programDir_), lines_);
  } catch (const FileError& error) {
    ctx_.messages.showMessage(std::string(BandScanSaveFailedMessage) + "\n" + error.what());
    return false;
  }
  changed_ = false;
  return true;
}

void BandScanDialog::BandScanSaveBtnClick() {
  if (!SaveList()) return;
  if (HoldsRecord(selectedRow_)) ShowBandScanRecord();
}

void BandScanDialog::WriteColumnWidths() {
  try {
    WriteFileAtomically(BandScanColsPath(programDir_), EncodeBandScanColumns(columnWidths));
  } catch (const FileError& error) {
    ctx_.messages.showMessage(std::string(BandScanColsSaveFailedMessage) + "\n" + error.what());
  }
}

bool BandScanDialog::CanBtnClick() {
  if (changed_ && ctx_.messages.askYesNo(BandScanChangedQuestion)) SaveList();
  if (resetScanSelection) resetScanSelection();
  ctx_.panel.release(Ctl::BandScanBtn);
  WriteColumnWidths();
  open_ = false;
  return true;
}

bool BandScanDialog::ScanBtnClick() {
  if (changed_) {
    if (ctx_.messages.askYesNo(BandScanChangedQuestion))
      SaveList();
    else
      ShowBandScanRecord();
  }
  if (!HoldsRecord(selectedRow_)) {
    ctx_.messages.showMessage(BandScanSelectMessage);
    return false;
  }
  if (bsLoFreqEdit.empty() || bsHiFreqEdit.empty()) {
    ctx_.messages.showMessage(BandScanOKNoFreqMessage);
    ShowBandScanRecord();
    return false;
  }
  double low = 0, high = 0;
  if (!ConvertLimits(low, high)) return false;
  if (!LimitsValid(low, high)) {
    ctx_.messages.showMessage(BandScanOKBadFreqMessage);
    return false;
  }
  // The PBT text is converted before anything is tuned, so that a text that
  // is no number leaves the receiver as it was.
  long pbt = 0;
  if (!bsPBTEdit.empty()) {
    try {
      pbt = TextToInteger(bsPBTEdit);
    } catch (const ConversionError& error) {
      ctx_.ReportError(error.what());
      return false;
    }
  }

  RadioState& s = ctx_.state;
  s.SaveLastFrequency();
  s.Freq = low;
  settings_.ScanFrequency = low;

  // The mode button's own action (status text, mode defaults, tuning), then
  // the band's settings over the defaults.
  controls_.ModeBtnClick(ModeOfText(bsModeCombo.text));

  if (bsAGCCombo.text == "Fast")
    controls_.ShowAGCFast();
  else if (bsAGCCombo.text == "Slow")
    controls_.ShowAGCSlow();
  else
    controls_.ShowAGCMedium();

  int filterRow = BandScanFallbackFilterRow;
  for (int row = 0; row < FilterCount; ++row)
    if (std::to_string(FilterTable[static_cast<std::size_t>(row)].bandwidthHz) == bsFiltCombo.text) filterRow = row;
  controls_.SelectFilter(filterRow);

  int stepHz = 100;
  for (int row = 0; row < PlainStepCount; ++row)
    if (std::to_string(StepTable[static_cast<std::size_t>(row)].stepHz) == bsStepCombo.text)
      stepHz = StepTable[static_cast<std::size_t>(row)].stepHz;
  if (bsStepCombo.text == "9000") stepHz = 9000;
  if (bsStepCombo.text == "10000") stepHz = 10000;
  tuning_.SetTuningStep(stepHz);

  s.PBT = static_cast<std::int32_t>(std::clamp<long>(pbt, -PBTLimitHz, PBTLimitHz));
  controls_.ShowPBT();

  const int speed = bsSpeedCombo.index >= 0 && bsSpeedCombo.index < 6 ? bsSpeedCombo.index + 1 : 2;
  SelectBandScanSpeedTable(ctx_.panel, settings_, speed, ctx_.decimalSeparator);

  bandScanSelected_ = selectedRow_;
  settings_.LimitLow = low;
  settings_.LimitHigh = high;
  ctx_.scan.ScanKind = BandScanKind;
  ctx_.scan.ScanDirection = 0;
  ctx_.panel.setCaption(Ctl::StatusPanel, "Band Scan: " + bsLoFreqEdit + " to " + bsHiFreqEdit + " kHz");

  WriteColumnWidths();
  open_ = false;
  return true;
}

const BandScanRecord* BandScanDialog::ChosenBand() const {
  return HoldsRecord(bandScanSelected_) ? &records_[static_cast<std::size_t>(bandScanSelected_ - 1)] : nullptr;
}

}  // namespace ondaris
