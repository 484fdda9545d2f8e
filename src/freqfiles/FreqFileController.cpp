#include "freqfiles/FreqFileController.h"

#include <algorithm>
#include <cstdint>
#include <exception>

#include "common/ProgramDir.h"
#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/TextHelpers.h"
#include "freqfiles/OnAir.h"
#include "platform/FileDialogs.h"
#include "radio/CommandDispatcher.h"
#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"
#include "radio/StateFiles.h"
#include "radio/StepTable.h"
#include "radio/TuningController.h"

namespace ondaris {

namespace {

constexpr const char* Headers[GridColumnCount] = {"Lk",       "Freq",     "Name", "On Air", "Off Air",
                                                  "Language", "Location", "Mode", "Filt"};
constexpr double DefaultWidthShares[GridColumnCount] = {0.04, 0.11, 0.20, 0.09, 0.09, 0.13, 0.15, 0.09, 0.09};
constexpr int HeaderMargin = 5;
constexpr int ColumnGap = 1;
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

// ---- Texts -----------------------------------------------------------------

std::string EmptyFileMessage(const std::string& name) { return "Aborting:  Empty file - " + name; }

std::string OverwriteQuestion(const std::string& name) {
  return "There is a file named " + name + " in the directory.  Do you want to overwrite it?";
}

std::string PasteItemCaption(int clipboardCount) {
  return "&Paste Records (" + std::to_string(clipboardCount) + ")          (Ctrl+V)";
}

// ---- Columns and SysFiles/OndarisGrid.dat ---------------------------------

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

// ---- The controller --------------------------------------------------------

FreqFileController::FreqFileController(PanelContext& context, Receiver& receiver, ReceiverControls& controls,
                                       TuningController& tuning, FileDialogs& dialogs, std::string programDir)
    : ctx_(context),
      receiver_(receiver),
      controls_(controls),
      tuning_(tuning),
      dialogs_(dialogs),
      programDir_(std::move(programDir)) {}

std::string FreqFileController::FreqFileFolder() const {
  return ResolveFreqFileDir(ctx_.state.FreqFileDir, programDir_);
}

std::string FreqFileController::FreqFilePath() const { return FreqFileFolder() + ctx_.state.LastFreqFile; }

void FreqFileController::SetStatus(const std::string& text) { ctx_.panel.setCaption(Ctl::StatusPanel, text); }

int FreqFileController::NowHHMM() const {
  const DateTime utc = ctx_.clock.utcNow();
  return utc.hour * 100 + utc.minute;
}

void FreqFileController::SyncRecordCount() { ctx_.state.FreqFileRecordCount = list.RecordCount(); }

void FreqFileController::NotifyContents() {
  if (gridContentsChanged) gridContentsChanged();
}

void FreqFileController::NotifyPosition() {
  if (gridPositionChanged) gridPositionChanged();
}

void FreqFileController::NotifyRecordsChanged() {
  SyncRecordCount();
  for (const auto& hook : recordsChanged)
    if (hook) hook();
}

// ---- Start-up and exit -------------------------------------------------------

void FreqFileController::StartupGridSetUp() {
  SetUpFrequencyGrid();
  DisableFileCommands();
  list.OnAirView = false;
  SortInProgress = false;
  FreqSorted = false;
  LastGridKey = 0;
  RemoteLookupActive = false;
  GridTunePermit = true;
}

void FreqFileController::LoadLastFrequencyFile() {
  RadioState& s = ctx_.state;
  if (s.LastFreqFile.empty()) {
    s.FreqFileRecordCount = 0;
    ctx_.panel.setEnabled(Ctl::Grid, false);
    return;
  }
  const std::string path = FreqFilePath();
  if (!FileExists(path)) {
    ctx_.messages.showMessage(MissingLastFreqFileMessage);
    s.LastFreqFile.clear();
    s.FreqFileRecordCount = 0;
    return;
  }
  if (addToRecentFiles) addToRecentFiles(path);
  list.FileLines.clear();
  ClearFrequencyList();
  OpenFrequencyFile();
}

void FreqFileController::AskToSaveAtExit() {
  if (!list.Changed || list.RecordCount() < 1) return;
  if (ctx_.messages.askYesNo(SaveChangesQuestion)) SaveFrequencyFile();
}

void FreqFileController::SaveGridWidths() { WriteGridWidths(programDir_, grid.ColWidths); }

// ---- Loading -----------------------------------------------------------------

void FreqFileController::OpenFrequencyFile() {
  const std::optional<std::string> bytes = ReadWholeFile(FreqFilePath());
  std::string content = bytes ? *bytes : std::string();
  if (SplitFileLines(content).empty()) {
    ctx_.messages.showMessage(EmptyFileMessage(ctx_.state.LastFreqFile));
    list.FileLines.clear();
    return;
  }
  BuildFrequencyList(std::move(content));
  EnableFileCommands();
  ctx_.panel.setEnabled(Ctl::Grid, true);
  RefreshFrequencyGrid();
}

void FreqFileController::BuildFrequencyList(std::string fileBytes) {
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

void FreqFileController::SetUpFrequencyGrid() {
  grid.RowCount = EmptyGridRowCount;
  grid.TopRow = 1;
  const std::optional<GridColumnWidths> stored = ReadGridWidths(programDir_);
  grid.ColWidths = stored ? *stored : DefaultGridWidths(grid.ClientWidth);
  if (gridColumnsChanged) gridColumnsChanged();
  NotifyContents();
  NotifyPosition();
}

void FreqFileController::ClearGrid() {
  grid.RowCount = EmptyGridRowCount;
  grid.TopRow = 1;
  grid.Row = 1;
  grid.SelectionTop = grid.SelectionBottom = 1;
  NotifyContents();
  NotifyPosition();
}

void FreqFileController::RefreshFrequencyGrid() {
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

// ---- Commands ------------------------------------------------------------------

void FreqFileController::ShowSaveButtonLook() {
  if (list.Changed)
    ctx_.panel.setFont(Ctl::FileOpBtn1, Colour::Maroon, true);
  else
    ctx_.panel.setFont(Ctl::FileOpBtn1, Colour::Black, false);
}

void FreqFileController::EnableFileCommands() {
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

void FreqFileController::DisableFileCommands() {
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

void FreqFileController::AskToSaveChanges() {
  if (ctx_.messages.askYesNo(SaveChangesQuestion))
    SaveFrequencyFile();
  else
    ctx_.panel.setFont(Ctl::FileOpBtn1, Colour::Black, false);
}

void FreqFileController::TakeFileName(const std::string& path) {
  ctx_.state.FreqFileDir = StoredFreqFileDir(ExtractDirectoryPart(path), programDir_);
  ctx_.state.LastFreqFile = ExtractFileNamePart(path);
}

void FreqFileController::NewFileItemClick() {
  if (ctx_.scan.ScanState == 1) return;
  try {
    if (list.Changed && list.RecordCount() > 0) AskToSaveChanges();
    if (list.OnAirView) LeaveOnAirView();
    list.FileLines.clear();
    ctx_.state.LastFreqFile.clear();
    ctx_.state.FreqFileRecordCount = 0;
    SetStatus("");
    list.Changed = false;
    list.Clear();
    ClearGrid();
    ctx_.panel.setEnabled(Ctl::Grid, false);
    DisableFileCommands();
    ShowSaveButtonLook();
    NotifyRecordsChanged();
  } catch (...) {
    ctx_.messages.showMessage(NewFileFailedMessage);
  }
}

void FreqFileController::LoadFileItemClick() {
  if (ctx_.scan.ScanState == 1) return;
  if (list.Changed) AskToSaveChanges();
  const std::optional<std::string> chosen =
      dialogs_.openFile(FileDialogRequest{"Open Frequency File", FreqFileFolder(), "", FrequencyFileFilter,
                                          FrequencyFileExtension});
  if (!chosen) return;
  if (list.OnAirView) LeaveOnAirView();
  list.FileLines.clear();
  TakeFileName(*chosen);
  if (addToRecentFiles) addToRecentFiles(FreqFilePath());
  ClearFrequencyList();
  OpenFrequencyFile();
}

void FreqFileController::ReopenFile(const std::string& path) {
  if (ctx_.scan.ScanState == 1) return;
  if (list.Changed) AskToSaveChanges();
  if (list.OnAirView) LeaveOnAirView();
  if (!FileExists(path)) {
    ctx_.messages.showMessage(ReopenMissingMessage);
    return;
  }
  TakeFileName(path);
  if (addToRecentFiles) addToRecentFiles(FreqFilePath());
  list.FileLines.clear();
  ClearFrequencyList();
  OpenFrequencyFile();
}

void FreqFileController::AppendFileItemClick() {
  if (ctx_.scan.ScanState == 1) return;
  const std::optional<std::string> chosen =
      dialogs_.openFile(FileDialogRequest{"Append Frequency File", FreqFileFolder(), "", FrequencyFileFilter,
                                          FrequencyFileExtension});
  if (!chosen) return;
  const std::optional<std::string> bytes = ReadWholeFile(*chosen);
  const std::string content = bytes ? *bytes : std::string();
  if (list.OnAirView) LeaveOnAirView();
  if (SplitFileLines(content).empty()) {
    ctx_.messages.showMessage(EmptyFileMessage(ExtractFileNamePart(*chosen)));
    return;
  }
  list.AppendFile(content, ctx_.decimalSeparator,
                  [this](const std::string& message) { ctx_.messages.showMessage(message); });
  list.OnAirView = false;
  list.ResetRowOrders();
  list.Changed = true;
  // The merged list is no longer any one file: it must be saved under a new name.
  ctx_.state.LastFreqFile.clear();
  RefreshFrequencyGrid();
  SetStatus(ctx_.state.LastFreqFile + ":  " + std::to_string(list.RecordCount()) + " records");
  NotifyRecordsChanged();
}

void FreqFileController::WriteList() {
  WriteFileAtomically(FreqFilePath(), list.FileText(list.RowOrder, ctx_.decimalSeparator));
  list.Changed = false;
  ShowSaveButtonLook();
  SetStatus(ctx_.state.LastFreqFile + " - Saved");
}

bool FreqFileController::SaveFrequencyFile() {
  RadioState& s = ctx_.state;
  if (list.RecordCount() == 0) {
    ctx_.messages.showMessage(EmptySaveMessage);
    list.Changed = false;
    ShowSaveButtonLook();
    return false;
  }
  if (!s.LastFreqFile.empty()) {
    WriteList();
    return true;
  }
  const std::optional<std::string> chosen =
      dialogs_.saveFile(FileDialogRequest{"Save Frequency File", FreqFileFolder(), "", FrequencyFileFilter,
                                          FrequencyFileExtension});
  if (!chosen) return false;
  const std::string oldDir = s.FreqFileDir;
  const std::string oldName = s.LastFreqFile;
  TakeFileName(*chosen);
  if (FileExists(FreqFilePath()) && !ctx_.messages.askYesNo(OverwriteQuestion(s.LastFreqFile))) {
    // The listener kept that file: the list keeps the name it had, so that
    // no later Save writes over it.
    s.FreqFileDir = oldDir;
    s.LastFreqFile = oldName;
    return false;
  }
  WriteList();
  return true;
}

void FreqFileController::SaveOrSaveAs() {
  if (list.RecordCount() < 1) return;
  if (!ctx_.state.LastFreqFile.empty())
    SaveFrequencyFile();
  else
    SaveFileAsItemClick();
}

void FreqFileController::SaveFileAsItemClick() {
  RadioState& s = ctx_.state;
  if (list.RecordCount() < 1 || ctx_.scan.ScanState == 1) return;
  const std::optional<std::string> chosen =
      dialogs_.saveFile(FileDialogRequest{"Save Frequency File As", FreqFileFolder(), s.LastFreqFile,
                                          FrequencyFileFilter, FrequencyFileExtension});
  if (!chosen) return;
  const std::string oldDir = s.FreqFileDir;
  const std::string oldName = s.LastFreqFile;
  TakeFileName(*chosen);
  if (FileExists(FreqFilePath()) && !ctx_.messages.askYesNo(OverwriteQuestion(s.LastFreqFile))) {
    // Declined: the list keeps its old name, so the next Save does not
    // overwrite the file the listener chose to keep.
    s.FreqFileDir = oldDir;
    s.LastFreqFile = oldName;
    return;
  }
  if (addToRecentFiles) addToRecentFiles(FreqFilePath());
  SaveFrequencyFile();
}

bool FreqFileController::CtrlKeyUp(char key) {
  switch (key) {
    case 'N':
      if (ctx_.panel[Ctl::NewFileItem].enabled) NewFileItemClick();
      return true;
    case 'O':
      if (ctx_.panel[Ctl::LoadFileItem].enabled) LoadFileItemClick();
      return true;
    case 'S':
      if (!SortInProgress) SaveOrSaveAs();
      return true;
    case 'A':
      if (!SortInProgress) SaveFileAsItemClick();
      return true;
    default:
      return false;
  }
}

// ---- Sorting and the on-air view ---------------------------------------------

void FreqFileController::SortByColumn(SortColumn column) {
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

void FreqFileController::LeaveOnAirView() {
  ClearGrid();
  SetUpFrequencyGrid();
  list.OnAirView = false;
  RefreshFrequencyGrid();
  ctx_.panel.setFont(Ctl::NowBtn, Colour::Black, false);
  SetStatus(ctx_.state.LastFreqFile + ": " + std::to_string(list.RecordCount()) + " Lines");
  NotifyRecordsChanged();
}

void FreqFileController::ToggleOnAirView() {
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

void FreqFileController::SetRow(int row, int top) {
  grid.Row = std::max(row, 1);
  grid.SelectionTop = grid.SelectionBottom = grid.Row;
  if (top > 0) grid.TopRow = top;
  if (grid.Row < grid.TopRow) grid.TopRow = grid.Row;
  if (grid.Row >= grid.TopRow + grid.VisibleRows) grid.TopRow = grid.Row - grid.VisibleRows + 1;
  NotifyPosition();
}

std::pair<int, int> FreqFileController::SelectedRowRange() const {
  const int count = list.ViewCount();
  int top = std::max(std::min(grid.SelectionTop, grid.SelectionBottom), 1);
  int bottom = std::min(std::max(grid.SelectionTop, grid.SelectionBottom), count);
  if (count < 1 || top > bottom) return {1, 0};
  return {top, bottom};
}

int FreqFileController::FirstRowNear(double freqKHz, double toleranceKHz) const {
  const int count = list.ViewCount();
  for (int row = 1; row <= count; ++row) {
    const std::optional<double> value =
        TryReadDecimal(list.Cell(list.RecordAtRow(row), FreqColumn::Freq), ctx_.decimalSeparator);
    if (value && *value >= freqKHz - toleranceKHz && *value <= freqKHz + toleranceKHz) return row;
  }
  return 0;
}

// ---- Tuning from the grid ------------------------------------------------------

void FreqFileController::TuneFromGridRow(int row) {
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

void FreqFileController::TuneSelectedRow() {
  if (list.RecordCount() < 1) return;
  TuneFromGridRow(grid.Row);
}

// ---- The grid's events ----------------------------------------------------------

void FreqFileController::GridClick() {
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

bool FreqFileController::GridKeyDown(int key) {
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

bool FreqFileController::GridMouseDown(GridMouseButton button, int x, int y, int headerHeight) {
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

void FreqFileController::GridTopLeftChanged(int topRow) {
  grid.TopRow = std::max(topRow, 1);
  if (!refreshing_) RefreshFrequencyGrid();
}

void FreqFileController::GridCursorMoved(int row, int selectionTop, int selectionBottom) {
  grid.Row = std::max(row, 1);
  grid.SelectionTop = std::min(selectionTop, selectionBottom);
  grid.SelectionBottom = std::max(selectionTop, selectionBottom);
}

void FreqFileController::GridColumnResized(int column, int width) {
  if (column < 0 || column >= GridColumnCount) return;
  grid.ColWidths[static_cast<std::size_t>(column)] = width;
}

// ---- The companion ---------------------------------------------------------------

void FreqFileController::LocateFrequency(double freqKHz) {
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

void FreqFileController::AppendRemoteEntry(const RemoteEntry& entry) {
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

std::string FreqFileController::CellText(int row, int column) const {
  if (column < 0 || column >= GridColumnCount) return {};
  const int record = list.RecordAtRow(row);
  if (record < 0) return {};
  const std::string& text = list.Cell(record, CellColumns[column]);
  if (column == 0) return IsLockedOut(text) ? "L" : "";
  return text;
}

bool FreqFileController::RowIsOnAir(int row) const { return IsRowOnAirNow(list, row, NowHHMM()); }

}  // namespace ondaris
