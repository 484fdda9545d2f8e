#include "freqfiles/RecordClipboard.h"

#include "freqfiles/EntryEditor.h"
#include "freqfiles/OnAirView.h"

namespace ondaris {

RecordClipboard::RecordClipboard(PanelContext& context, StationGrid& stations, OnAirViewController& onAir)
    : ctx_(context), stations_(stations), onAir_(onAir) {
  stations_.pasteStatus = [this] { return Status(); };
}

RecordClipboard::~RecordClipboard() { stations_.pasteStatus = nullptr; }

void RecordClipboard::ClearAtStartup() {
  records_.clear();
  full_ = false;
  ctx_.panel.setCaption(Ctl::PasteItem, PasteItemCaption(0));
}

void RecordClipboard::ShowPasteItem() {
  ctx_.panel.setCaption(Ctl::PasteItem, PasteItemCaption(Count()));
  if (ctx_.scan.ScanState != 1) ctx_.panel.setEnabled(Ctl::PasteItem, true);
}

bool RecordClipboard::CopySelection(std::vector<int>& recordNumbers) {
  const FrequencyList& list = stations_.list;
  const auto [top, bottom] = stations_.SelectedRowRange();
  recordNumbers.clear();
  for (int row = top; row <= bottom; ++row) {
    const int record = list.RecordAtRow(row);
    if (record >= 0) recordNumbers.push_back(record);
  }
  if (recordNumbers.empty()) return false;
  records_.clear();
  records_.reserve(recordNumbers.size());
  for (int record : recordNumbers) records_.push_back(list.Record(record));
  full_ = true;
  ShowPasteItem();
  return true;
}

void RecordClipboard::CopyItemClick() {
  std::vector<int> recordNumbers;
  CopySelection(recordNumbers);
}

void RecordClipboard::DeleteEntryItemClick() {
  std::vector<int> recordNumbers;
  if (!CopySelection(recordNumbers)) return;
  const char* question = recordNumbers.size() == 1 ? DeleteRecordQuestion : DeleteRecordsQuestion;
  if (!ctx_.messages.askYesNo(question)) return;

  FrequencyList& list = stations_.list;
  list.RemoveRecords(recordNumbers);
  if (list.RecordCount() > 0) {
    onAir_.RebuildOnAirView();
    list.Changed = true;
    stations_.SetRow(1);
    stations_.RefreshFrequencyGrid();
    stations_.NotifyRecordsChanged();
    return;
  }

  // Nothing left: the file is forgotten without being saved.
  if (list.OnAirView) {
    list.OnAirView = false;
    ctx_.panel.setFont(Ctl::NowBtn, Colour::Black, false);
  }
  stations_.ClearGrid();
  stations_.DisableFileCommands();
  ctx_.state.LastFreqFile.clear();
  list.Clear();
  list.FileLines.clear();
  list.Changed = false;
  stations_.ShowSaveButtonLook();
  stations_.SetUpFrequencyGrid();
  ctx_.panel.setEnabled(Ctl::Grid, false);
  stations_.NotifyRecordsChanged();
}

void RecordClipboard::PasteItemClick() {
  if (records_.empty()) return;
  FrequencyList& list = stations_.list;
  const int row = stations_.grid.Row;
  if (row > list.RecordCount() + 1 || ctx_.scan.ScanKind == 1) return;

  int at = list.RecordCount() == 0 ? 0 : list.RecordAtRow(row);
  if (at < 0) at = list.RecordCount();
  list.InsertRecords(at, records_);
  onAir_.RebuildOnAirView();
  if (list.RecordCount() > 0) {
    stations_.EnableFileCommands();
    // A list that began with this paste (after New) needs its grid back.
    ctx_.panel.setEnabled(Ctl::Grid, true);
  }
  stations_.RefreshFrequencyGrid();
  stations_.NotifyRecordsChanged();
}

bool EditCommandClick(Ctl control, EntryEditor& editor, RecordClipboard& clipboard) {
  switch (control) {
    case Ctl::AddEntryItem:
    case Ctl::FileOpBtn2: editor.OpenAddDialog(); return true;
    case Ctl::EditEntryItem:
    case Ctl::FileOpBtn3: editor.EditEntryItemClick(); return true;
    case Ctl::CopyItem: clipboard.CopyItemClick(); return true;
    case Ctl::DeleteEntryItem:
    case Ctl::FileOpBtn5: clipboard.DeleteEntryItemClick(); return true;
    case Ctl::PasteItem: clipboard.PasteItemClick(); return true;
    default: return false;
  }
}

bool EditCommandCtrlKeyUp(char key, const PanelModel& panel, EntryEditor& editor, RecordClipboard& clipboard) {
  if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
  const auto when = [&panel](Ctl item, const auto& action) {
    if (panel[item].enabled) action();
    return true;
  };
  switch (key) {
    case '=':
    case '+': editor.OpenAddDialog(); return true;
    case 'E': return when(Ctl::EditEntryItem, [&] { editor.EditEntryItemClick(); });
    case 'C': return when(Ctl::CopyItem, [&] { clipboard.CopyItemClick(); });
    case 'X': return when(Ctl::DeleteEntryItem, [&] { clipboard.DeleteEntryItemClick(); });
    case 'V': return when(Ctl::PasteItem, [&] { clipboard.PasteItemClick(); });
    default: return false;
  }
}

}  // namespace ondaris
