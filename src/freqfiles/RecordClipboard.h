#pragma once
// The record clipboard of the Edit menu: Copy (Ctrl+C), Cut (FileOpBtn5,
// Ctrl+X) and Paste (Ctrl+V) of the selected rows of the grid. It is the
// program's own buffer of whole station entries, not the desktop clipboard,
// and it lives until the program ends.
//
// On construction it becomes the grid controller's pasteStatus hook, so
// that enabling the file commands shows its count in the Paste item; the
// destructor removes the hook again.

#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "freqfiles/StationGrid.h"
#include "freqfiles/FrequencyRecord.h"

namespace ondaris {

class EntryEditor;
class OnAirViewController;

inline constexpr const char* DeleteRecordQuestion = "Are you sure you want to delete this record?";
inline constexpr const char* DeleteRecordsQuestion = "Are you sure you want to delete these records?";

class RecordClipboard {
 public:
  RecordClipboard(PanelContext& context, StationGrid& stations, OnAirViewController& onAir);
  ~RecordClipboard();
  RecordClipboard(const RecordClipboard&) = delete;
  RecordClipboard& operator=(const RecordClipboard&) = delete;

  // ClipboardRecords in copied order, ClipboardCount, ClipboardFull (true
  // once anything was copied).
  const std::vector<FrequencyRecord>& Records() const { return records_; }
  int Count() const { return static_cast<int>(records_.size()); }
  bool Full() const { return full_; }
  PasteStatus Status() const { return PasteStatus{Count(), full_}; }

  // Start-up: the buffer is empty and the Paste item's caption shows 0.
  void ClearAtStartup();

  // CopyItemClick: the selected rows, clipped to the view, replace the
  // buffer in row order; the Paste item shows their number and is enabled
  // unless a file scan runs. No selected row: nothing changes.
  void CopyItemClick();

  // DeleteEntryItemClick (Cut): copies as above, then asks whether to delete
  // the record(s); Yes removes them from the list, which is then back in
  // record order (a shown on-air view is made afresh) with row 1 current.
  // Cutting the last record forgets the file: no name, no lines, grid
  // disabled, file commands disabled.
  void DeleteEntryItemClick();

  // PasteItemClick: inserts the buffer in front of the record of the current
  // row (at the end for the row after the last record; at the start of an
  // empty list), in copied order. Refused while the current row lies beyond
  // the record count + 1 or while the file scan is the chosen scan. The list
  // is then back in record order (a shown on-air view is made afresh).
  void PasteItemClick();

 private:
  // The selected rows' records, in row order; false when none is selected.
  bool CopySelection(std::vector<int>& recordNumbers);
  void ShowPasteItem();

  PanelContext& ctx_;
  StationGrid& stations_;
  OnAirViewController& onAir_;
  std::vector<FrequencyRecord> records_;
  bool full_ = false;
};

// The Edit menu and its buttons: AddEntryItem and FileOpBtn2 (add),
// EditEntryItem and FileOpBtn3 (edit), CopyItem, DeleteEntryItem and
// FileOpBtn5 (cut), PasteItem. Returns false for any other control.
bool EditCommandClick(Ctl control, EntryEditor& editor, RecordClipboard& clipboard);
// The Edit menu's keys, released with Ctrl held: '=' or '+' adds at any
// time; E, C, X and V act only while EditEntryItem, CopyItem,
// DeleteEntryItem and PasteItem are enabled. Returns false for any other
// key (letters in either case).
bool EditCommandCtrlKeyUp(char key, const PanelModel& panel, EntryEditor& editor, RecordClipboard& clipboard);

}  // namespace ondaris
