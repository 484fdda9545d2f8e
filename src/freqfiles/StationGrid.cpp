#include "freqfiles/StationGrid.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "common/NumberText.h"
#include "common/TextHelpers.h"
#include "freqfiles/OnAir.h"
#include "radio/CommandDispatcher.h"
#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"
#include "radio/StepTable.h"
#include "radio/TuningController.h"

namespace ondaris {

namespace {

constexpr int EmptyGridRowCount = 7;
constexpr double LocateMatchKHz = 0.5;
constexpr double LocateRowKHz = 4.5;

// The grid's columns as columns of the list (column 0, the lockout mark, is
// made from Lockout).
constexpr FreqColumn CellColumns[GridColumnCount] = {FreqColumn::Lockout,  FreqColumn::Freq,     FreqColumn::Name,
                                                    FreqColumn::OnAir,    FreqColumn::OffAir,   FreqColumn::Language,
                                                    FreqColumn::Location, FreqColumn::Mode,     FreqColumn::Filter};

int ModeOfText(const std::string& text) {
  if (text == "AM") return 0;
  if (text == "USB") return 1;
  if (text == "LSB") return 2;
  if (text == "CW") return 3;
  return -1;
}

int IndexCell(const FrequencyList& list, int record, FreqColumn column, int lowest, int highest, int fallback) {
  const std::optional<long> value = TryReadWhole(list.Cell(record, column));
  if (!value) return fallback;
  return static_cast<int>(std::clamp<long>(*value, lowest, highest));
}

}  // namespace

std::string PasteItemCaption(int clipboardCount) {
  return "&Paste Records (" + std::to_string(clipboardCount) + ")          (Ctrl+V)";
}

StationGrid::StationGrid(PanelContext& context, Receiver& receiver, ReceiverControls& controls,
                         TuningController& tuning, std::string programDir)
    : ctx_(context), receiver_(receiver), controls_(controls), tuning_(tuning), programDir_(std::move(programDir)) {}

void StationGrid::SetStatus(const std::string& text) { ctx_.panel.setCaption(Ctl::StatusPanel, text); }

int StationGrid::NowHHMM() const {
  const DateTime utc = ctx_.clock.utcNow();
  return utc.hour * 100 + utc.minute;
}

void StationGrid::SyncRecordCount() { ctx_.state.FreqFileRecordCount = list.RecordCount(); }

void StationGrid::NotifyContents() {
  if (gridContentsChanged) gridContentsChanged();
}

void StationGrid::NotifyPosition() {
  if (gridPositionChanged) gridPositionChanged();
}

void StationGrid::NotifyRecordsChanged() {
  SyncRecordCount();
  for (const auto& hook : recordsChanged)
    if (hook) hook();
}

// ---- Start-up and exit -------------------------------------------------------

void StationGrid::StartupGridSetUp() {
  SetUpFrequencyGrid();
  DisableFileCommands();
  list.OnAirView = false;
  SortInProgress = false;
  FreqSorted = false;
  LastGridKey = 0;
  RemoteLookupActive = false;
  GridTunePermit = true;
}

void StationGrid::SaveGridWidths() { WriteGridWidths(programDir_, grid.ColWidths); }

// ---- The list and the grid -----------------------------------------------------

void StationGrid::BuildFrequencyList(std::string fileBytes) {
  list.Load(std::move(fileBytes), ctx_.decimalSeparator,
            [this](const std::string& message) { ctx_.messages.showMessage(message); });
  SyncRecordCount();
  SetStatus(ctx_.state.LastFreqFile + ":  " + std::to_string(list.RecordCount()) + " records");
  SetUpFrequencyGrid();
  grid.RowCount = list.RecordCount() + 1;
  SetRow(1, 1);
  RefreshFrequencyGrid();
  NotifyRecordsChanged();
}

void StationGrid::SetUpFrequencyGrid() {
  grid.RowCount = EmptyGridRowCount;
  grid.TopRow = 1;
  const std::optional<GridColumnWidths> stored = ReadGridWidths(programDir_);
  grid.ColWidths = stored ? *stored : DefaultGridWidths(grid.ClientWidth);
  if (gridColumnsChanged) gridColumnsChanged();
  NotifyContents();
  NotifyPosition();
}

void StationGrid::ClearGrid() {
  grid.RowCount = EmptyGridRowCount;
  grid.TopRow = 1;
  grid.Row = 1;
  grid.SelectionTop = grid.SelectionBottom = 1;
  NotifyContents();
  NotifyPosition();
}

void StationGrid::RefreshFrequencyGrid() {
  ShowSaveButtonLook();
  SyncRecordCount();
  if (refreshing_) return;
  refreshing_ = true;
  if (gridShowing_) {
    const int count = list.ViewCount();
    grid.RowCount = count == 0 ? EmptyGridRowCount : count + 1;
    if (grid.TopRow < 1) grid.TopRow = 1;
    NotifyContents();
  }
  refreshing_ = false;
  if (focusGrid) focusGrid();
}

// ---- The commands' look and enabling ---------------------------------------------

void StationGrid::ShowSaveButtonLook() {
  if (list.Changed)
    ctx_.panel.setFont(Ctl::FileOpBtn1, Colour::Maroon, true);
  else
    ctx_.panel.setFont(Ctl::FileOpBtn1, Colour::Black, false);
}

void StationGrid::EnableFileCommands() {
  PanelModel& p = ctx_.panel;
  for (Ctl c : {Ctl::SaveFileItem, Ctl::SaveFileAsItem, Ctl::AppendFileItem, Ctl::AddEntryItem, Ctl::EditEntryItem,
                Ctl::DeleteEntryItem, Ctl::CopyItem, Ctl::FileOpBtn1, Ctl::FileOpBtn2, Ctl::FileOpBtn3,
                Ctl::FileOpBtn5, Ctl::NowBtn})
    p.setEnabled(c, true);
  p.setFont(Ctl::FileOpBtn1, Colour::Black, false);
  const PasteStatus paste = pasteStatus ? pasteStatus() : PasteStatus{};
  p.setCaption(Ctl::PasteItem, PasteItemCaption(paste.count));
  if (paste.full) p.setEnabled(Ctl::PasteItem, true);
}

void StationGrid::DisableFileCommands() {
  PanelModel& p = ctx_.panel;
  for (Ctl c : {Ctl::SaveFileItem, Ctl::SaveFileAsItem, Ctl::AppendFileItem, Ctl::EditEntryItem,
                Ctl::DeleteEntryItem, Ctl::CopyItem, Ctl::FileOpBtn1, Ctl::FileOpBtn3, Ctl::FileOpBtn5, Ctl::NowBtn})
    p.setEnabled(c, false);
  p.setEnabled(Ctl::AddEntryItem, true);
  p.setEnabled(Ctl::FileOpBtn2, true);
  const PasteStatus paste = pasteStatus ? pasteStatus() : PasteStatus{};
  p.setCaption(Ctl::PasteItem, PasteItemCaption(paste.count));
  p.setEnabled(Ctl::PasteItem, paste.full);
}

// ---- Sorting and the on-air view ---------------------------------------------

void StationGrid::SortByColumn(SortColumn column) {
  SortInProgress = true;
  gridShowing_ = false;
  try {
    SortView(list, column, ctx_.decimalSeparator);
  } catch (...) {
    SortInProgress = false;
    gridShowing_ = true;
    throw;
  }
  FreqSorted = FreqSortedAfterSort(column, list.OnAirView, FreqSorted);
  gridShowing_ = true;
  SortInProgress = false;
  grid.TopRow = 1;
  SetStatus(ctx_.state.LastFreqFile + " - " + std::to_string(list.RecordCount()) + " Lines");
  RefreshFrequencyGrid();
  NotifyPosition();
  NotifyRecordsChanged();
}

void StationGrid::LeaveOnAirView() {
  ClearGrid();
  SetUpFrequencyGrid();
  list.OnAirView = false;
  RefreshFrequencyGrid();
  ctx_.panel.setFont(Ctl::NowBtn, Colour::Black, false);
  SetStatus(ctx_.state.LastFreqFile + ": " + std::to_string(list.RecordCount()) + " Lines");
  NotifyRecordsChanged();
}

void StationGrid::ToggleOnAirView() {
  if (list.OnAirView) {
    LeaveOnAirView();
    return;
  }
  if (ctx_.state.LastFreqFile.empty() || list.RecordCount() < 1) {
    ctx_.messages.showMessage(NoFileLoadedMessage);
    return;
  }
  ClearGrid();
  SetUpFrequencyGrid();
  list.OnAirView = true;
  ctx_.panel.setFont(Ctl::NowBtn, Colour::Maroon, true);
  list.OnAirRowOrder = OnAirRecords(list, NowHHMM());
  if (list.OnAirRowOrder.empty()) LeaveOnAirView();
  SortByName();
  RefreshFrequencyGrid();
  SetStatus("On the air now: " + std::to_string(list.OnAirCount()) + " broadcasts");
}

// ---- The grid's cursor ---------------------------------------------------------

void StationGrid::SetRow(int row, int top) {
  grid.Row = std::max(row, 1);
  grid.SelectionTop = grid.SelectionBottom = grid.Row;
  if (top > 0) grid.TopRow = top;
  if (grid.Row < grid.TopRow) grid.TopRow = grid.Row;
  if (grid.Row >= grid.TopRow + grid.VisibleRows) grid.TopRow = grid.Row - grid.VisibleRows + 1;
  NotifyPosition();
}

std::pair<int, int> StationGrid::SelectedRowRange() const {
  const int count = list.ViewCount();
  int top = std::max(std::min(grid.SelectionTop, grid.SelectionBottom), 1);
  int bottom = std::min(std::max(grid.SelectionTop, grid.SelectionBottom), count);
  if (count < 1 || top > bottom) return {1, 0};
  return {top, bottom};
}

int StationGrid::FirstRowNear(double freqKHz, double toleranceKHz) const {
  const int count = list.ViewCount();
  for (int row = 1; row <= count; ++row) {
    const std::optional<double> value =
        TryReadDecimal(list.Cell(list.RecordAtRow(row), FreqColumn::Freq), ctx_.decimalSeparator);
    if (value && *value >= freqKHz - toleranceKHz && *value <= freqKHz + toleranceKHz) return row;
  }
  return 0;
}

// ---- Tuning from the grid ------------------------------------------------------

void StationGrid::TuneFromGridRow(int row) {
  if (!GridTunePermit || row < 1) return;
  const int record = list.RecordAtRow(row);
  if (record < 0) return;
  RadioState& s = ctx_.state;
  const char sep = ctx_.decimalSeparator;

  s.SaveLastFrequency();
  s.Freq = TextToDouble(list.Cell(record, FreqColumn::Freq), sep);
  const int mode = ModeOfText(list.Cell(record, FreqColumn::Mode));
  if (mode >= 0) {
    controls_.ShowMode(mode);
    s.Mode = static_cast<std::uint8_t>(mode);
  }
  const int stepIndex = IndexCell(list, record, FreqColumn::StepIndex, 0, StepCount - 1, StepCount - 1);
  const std::string& stepText = list.Cell(record, FreqColumn::Step);
  int stepHz = StepTable[static_cast<std::size_t>(stepIndex)].stepHz;
  if (stepIndex == StepCount - 1 && stepText == "9000") stepHz = 9000;
  if (stepIndex == StepCount - 1 && stepText == "10000") stepHz = 10000;
  tuning_.SetTuningStep(stepHz);
  controls_.SelectFilter(IndexCell(list, record, FreqColumn::FilterIndex, 0, FilterCount - 1, 0));
  const std::string& agc = list.Cell(record, FreqColumn::AGC);
  if (agc == "3") controls_.ShowAGCFast();
  if (agc == "2") controls_.ShowAGCMedium();
  if (agc == "1") controls_.ShowAGCSlow();
  s.PBT = static_cast<std::int32_t>(TextToInteger(list.Cell(record, FreqColumn::PBT)));
  controls_.ShowPBT();
  if (!SortInProgress) SetStatus(s.LastFreqFile + ":  Line " + std::to_string(grid.Row));
  receiver_.TuneRadio();
  GridTunePermit = false;
}

void StationGrid::TuneSelectedRow() {
  if (list.RecordCount() < 1) return;
  TuneFromGridRow(grid.Row);
}

// ---- The grid's events ----------------------------------------------------------

void StationGrid::GridClick() {
  if (LastGridKey != 0) {
    // The click the grid raises after a key press is not the listener's.
    LastGridKey = 0;
    return;
  }
  const int row = grid.Row;
  if (CellText(row, 0) == "L" && ctx_.scan.running()) return;
  if (tuning_.flags.TuningActive) {
    tuning_.EndScanOrTuning();
    return;
  }
  const int state = ctx_.scan.ScanState;
  if (row >= 1 && row <= list.ViewCount() && state != 2 && state != 3 && state != 4 && tuning_.flags.WWVMode == 0 &&
      !RemoteLookupActive)
    TuneFromGridRow(row);
}

bool StationGrid::GridKeyDown(int key) {
  if (key >= 'a' && key <= 'z') key = key - 'a' + 'A';
  if (key == 'K' || key == 'F') {
    SetRow(grid.Row > 1 ? grid.Row - 1 : grid.Row);
  } else if (key == 'M' || key == 'V') {
    SetRow(grid.Row < list.ViewCount() ? grid.Row + 1 : grid.Row);
  } else {
    LastGridKey = key;
    return false;
  }
  if (!ctx_.scan.running()) TuneFromGridRow(grid.Row);
  return true;
}

bool StationGrid::GridMouseDown(GridMouseButton button, int x, int y, int headerHeight) {
  if (ctx_.scan.ScanState == 1) {
    if (button == GridMouseButton::Left) {
      if (endFileScan)
        endFileScan();
      else
        tuning_.EndScanOrTuning();
    }
    return false;
  }
  if (button != GridMouseButton::Left || y >= headerHeight) return false;
  const int column = HeaderZoneColumn(grid.ColWidths, x);
  if (column < 0) return false;
  SortByColumn(static_cast<SortColumn>(column));
  return true;
}

void StationGrid::GridTopLeftChanged(int topRow) {
  grid.TopRow = std::max(topRow, 1);
  if (!refreshing_) RefreshFrequencyGrid();
}

void StationGrid::GridCursorMoved(int row, int selectionTop, int selectionBottom) {
  grid.Row = std::max(row, 1);
  grid.SelectionTop = std::min(selectionTop, selectionBottom);
  grid.SelectionBottom = std::max(selectionTop, selectionBottom);
}

void StationGrid::GridColumnResized(int column, int width) {
  if (column < 0 || column >= GridColumnCount) return;
  grid.ColWidths[static_cast<std::size_t>(column)] = width;
}

// ---- The companion ---------------------------------------------------------------

void StationGrid::LocateFrequency(double freqKHz) {
  if (list.RecordCount() < 1) return;
  bool listed = false;
  for (const std::string& text : list.Column(FreqColumn::Freq)) {
    const std::optional<double> value = TryReadDecimal(text, ctx_.decimalSeparator);
    if (value && *value >= freqKHz - LocateMatchKHz && *value <= freqKHz + LocateMatchKHz) {
      listed = true;
      break;
    }
  }
  if (!listed) return;
  RemoteLookupActive = true;
  try {
    if (list.OnAirView) LeaveOnAirView();
    if (!FreqSorted) SortByFreq();
    const int row = FirstRowNear(freqKHz, LocateRowKHz);
    if (row > 0) SetRow(row, row);
    RefreshFrequencyGrid();
  } catch (...) {
    RemoteLookupActive = false;
    throw;
  }
  RemoteLookupActive = false;
}

void StationGrid::AppendRemoteEntry(const RemoteEntry& entry) {
  FrequencyRecord record;
  record.Freq = entry.freq;
  record.Name = entry.name;
  record.Location = entry.location;
  record.Language = entry.language;
  record.OnAir = entry.onAir;
  record.OffAir = entry.offAir;
  record.Mode = entry.mode;
  record.Filter = std::to_string(entry.filter);
  record.AGC = entry.agc;
  record.PBT = std::to_string(entry.pbt);
  record.Step = std::to_string(entry.step);
  record.StepIndex = entry.stepIndex;
  record.FilterIndex = entry.filterIndex;
  record.Notes = entry.notes;
  record.Spare = entry.spare;
  record.Lockout = entry.lockout;
  list.AddRecord(record);
  FreqSorted = false;
  // A list that began with this entry needs its commands to be saved at all.
  if (list.RecordCount() == 1) {
    EnableFileCommands();
    ctx_.panel.setEnabled(Ctl::Grid, true);
  }
  RefreshFrequencyGrid();
  NotifyRecordsChanged();
}

// ---- What the window shows ------------------------------------------------------

std::string StationGrid::CellText(int row, int column) const {
  if (column < 0 || column >= GridColumnCount) return {};
  const int record = list.RecordAtRow(row);
  if (record < 0) return {};
  const std::string& text = list.Cell(record, CellColumns[column]);
  if (column == 0) return IsLockedOut(text) ? "L" : "";
  return text;
}

bool StationGrid::RowIsOnAir(int row) const { return IsRowOnAirNow(list, row, NowHHMM()); }

}  // namespace ondaris
