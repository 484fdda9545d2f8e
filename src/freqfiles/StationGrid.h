#pragma once
// The loaded station list and its grid, without the window: the grid's
// rows, cursor and column widths, the keys and clicks on it, tuning from a
// row, sorting by header click, the on-air view, the Save button's look and
// the enabling of the file and edit commands as the list fills and empties.
// The File commands that fill it from files and save it are in
// FreqFileController.
//
// The window shows `list` through the rows of `grid` and reports the
// listener's clicks, keys and scrolling to the Grid... handlers; it follows
// the grid through the window hooks. Everything here runs on the
// user-interface thread.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "freqfiles/FrequencyList.h"
#include "freqfiles/FrequencySort.h"
#include "freqfiles/GridColumns.h"

namespace ondaris {

class Receiver;
class ReceiverControls;
class TuningController;
struct RemoteEntry;

inline constexpr const char* NoFileLoadedMessage = "No file is loaded.";
// "&Paste Records (" + count + ")          (Ctrl+V)".
std::string PasteItemCaption(int clipboardCount);

// Rows are 1-based and row 0 is the header, as the listener counts them.
struct FrequencyGridState {
  int RowCount = 7;         // header row included; view count + 1, or 7 for an empty view
  int Row = 1;              // the current row
  int TopRow = 1;           // first row scrolled into view
  int SelectionTop = 1;     // selected rows, Row among them
  int SelectionBottom = 1;
  int VisibleRows = 7;      // data rows that fit (the window keeps it up to date)
  int ClientWidth = 709;    // what the default column widths are made from
  GridColumnWidths ColWidths = DefaultGridWidths(709);
};

enum class GridMouseButton { Left, Right, Middle };

// What Paste shows: the record clipboard belongs to the entry editing.
struct PasteStatus {
  int count = 0;
  bool full = false;
};

class StationGrid {
 public:
  StationGrid(PanelContext& context, Receiver& receiver, ReceiverControls& controls, TuningController& tuning,
              std::string programDir);
  StationGrid(const StationGrid&) = delete;
  StationGrid& operator=(const StationGrid&) = delete;

  FrequencyList list;
  FrequencyGridState grid;

  // Set on every clock tick and at start-up, cleared by each tune from the
  // grid: the grid tunes at most once per tick.
  bool GridTunePermit = true;
  bool SortInProgress = false;
  // The full view is in frequency order (set by the Freq sort, cleared by
  // most others, by an added or edited entry and by the companion's add).
  bool FreqSorted = false;
  // The last key pressed in the grid that is not one of K, F, M, V; the next
  // click on the grid is swallowed.
  int LastGridKey = 0;
  // While the companion's "+" word positions the grid.
  bool RemoteLookupActive = false;

  // ---- Hooks of the other parts ----
  // The record clipboard's state for the Paste item (unset: empty).
  std::function<PasteStatus()> pasteStatus;
  // Ends the running file scan (a left press on the grid during one). Unset:
  // EndScanOrTuning of the tuning controls.
  std::function<void()> endFileScan;
  // Called after the records or their order changed through the commands
  // here and the File commands (load, append, new, sort, the on-air view,
  // the companion's add); the entry editing calls NotifyRecordsChanged
  // after its own changes.
  std::vector<std::function<void()>> recordsChanged;

  // ---- Hooks of the window ----
  std::function<void()> gridContentsChanged;  // RowCount or cells to redraw
  std::function<void()> gridPositionChanged;  // Row, TopRow or the selection set here
  std::function<void()> gridColumnsChanged;   // ColWidths set here
  std::function<void()> focusGrid;            // give the grid the keyboard focus

  // ---- Start-up and exit ----
  // Start-up, after the control tables: the grid is set up with the widths
  // of SysFiles/OndarisGrid.dat (or the defaults), the file and edit
  // commands are disabled, the on-air view and the sort flags are cleared
  // and GridTunePermit is set.
  void StartupGridSetUp();
  // Exit: writes the present column widths to SysFiles/OndarisGrid.dat.
  void SaveGridWidths();
  // Every tick of the clock timer.
  void ClockTick() { GridTunePermit = true; }

  // ---- The list and the grid ----
  // The list from the bytes of a whole file (bad lines reported and skipped),
  // the status line, the grid set up and filled from row 1.
  void BuildFrequencyList(std::string fileBytes);
  void ClearFrequencyList() { list.Clear(); }
  // RowCount 7, top row 1, widths from the file or the defaults.
  void SetUpFrequencyGrid();
  // Every cell empty: RowCount 7, Row and TopRow 1.
  void ClearGrid();
  // The Save button's look, RowCount for the view, the window redraws the
  // rows in view; the grid gets the focus.
  void RefreshFrequencyGrid();
  void EnableFileCommands();
  void DisableFileCommands();
  // FileOpBtn1 bold maroon while the list is changed, else regular black.
  void ShowSaveButtonLook();
  // Tunes the receiver to the record of the 1-based row of the view: at most
  // once per clock tick, nothing for a row without a record.
  void TuneFromGridRow(int row);
  // Enter with no frequency being typed: the current row, when a list is loaded.
  void TuneSelectedRow();
  // The nine sorts of the header: sort the view, show row 1 at the top and
  // the line count, refresh.
  void SortByColumn(SortColumn column);
  void SortByFreq() { SortByColumn(SortColumn::Freq); }
  void SortByName() { SortByColumn(SortColumn::Name); }
  // The on-air view (NowBtn) and back.
  void ToggleOnAirView();
  void LeaveOnAirView();
  // After the records changed (the entry editing, the File commands).
  void NotifyRecordsChanged();

  // Moves the current row (the selection becomes that row) and keeps it in
  // view; `top` > 0 also puts that row at the top.
  void SetRow(int row, int top = 0);
  // The selected rows clipped to the view (a top of 0 counts as row 1); an
  // empty range when the view is empty.
  std::pair<int, int> SelectedRowRange() const;
  // The first row of the view whose frequency lies within freq +- tolerance
  // kHz; 0 when none.
  int FirstRowNear(double freqKHz, double toleranceKHz) const;

  // ---- The grid's events (from the window) ----
  void GridClick();
  // K, F: up one row; M, V: down one row; each then tunes when no scan runs.
  // Any other key is remembered in LastGridKey. True when the key was used.
  bool GridKeyDown(int key);
  // (x, y) in grid coordinates: row 0 is the header, columns start at x = 1
  // with one pixel between them. Returns true when a header click sorted.
  bool GridMouseDown(GridMouseButton button, int x, int y, int headerHeight);
  // The listener scrolled the grid.
  void GridTopLeftChanged(int topRow);
  // The listener moved the cursor or the selection (arrows, clicks): no tuning.
  void GridCursorMoved(int row, int selectionTop, int selectionBottom);
  void GridColumnResized(int column, int width);
  void SetGridClientWidth(int width) { grid.ClientWidth = width; }
  void SetGridVisibleRows(int rows) { grid.VisibleRows = rows < 1 ? 1 : rows; }

  // ---- The companion ----
  // After a "+" word tuned: finds the station and shows its row.
  void LocateFrequency(double freqKHz);
  // A "*" word's entry appended to the list.
  void AppendRemoteEntry(const RemoteEntry& entry);

  // ---- What the window shows ----
  // The text of a cell of 1-based `row`; empty past the view.
  std::string CellText(int row, int column) const;
  // Maroon text: the record of the row is on the air now (UTC).
  bool RowIsOnAir(int row) const;
  int ViewRowCount() const { return grid.RowCount - 1; }

 private:
  void SetStatus(const std::string& text);
  void NotifyContents();
  void NotifyPosition();
  void SyncRecordCount();
  int NowHHMM() const;

  PanelContext& ctx_;
  Receiver& receiver_;
  ReceiverControls& controls_;
  TuningController& tuning_;
  std::string programDir_;
  bool refreshing_ = false;
  bool gridShowing_ = true;
};

}  // namespace ondaris
