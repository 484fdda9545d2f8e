#include "freqfiles/OnAirView.h"

#include "freqfiles/StationGrid.h"
#include "freqfiles/FrequencyRecord.h"

namespace ondaris {

OnAirViewController::OnAirViewController(PanelContext& context, StationGrid& stations)
    : ctx_(context), stations_(stations) {}

void OnAirViewController::NowBtnClick() { stations_.ToggleOnAirView(); }

void OnAirViewController::MinuteTick() {
  if (stations_.list.RecordCount() < 1) return;
  // A repaint only: RefreshFrequencyGrid would also pull the keyboard focus
  // to the grid once a minute, away from whatever the listener is typing in.
  if (stations_.gridContentsChanged) stations_.gridContentsChanged();
}

void OnAirViewController::LkBtnClick() {
  FrequencyList& list = stations_.list;
  const auto [top, bottom] = stations_.SelectedRowRange();
  bool changed = false;
  for (int row = top; row <= bottom; ++row) {
    const int record = list.RecordAtRow(row);
    if (record < 0) continue;
    std::string& lockout = list.Cell(record, FreqColumn::Lockout);
    // The mark as the grid shows it flips, also for a Lockout text that is
    // not a number (shown as not locked out).
    lockout.assign(1, IsLockedOut(lockout) ? '0' : '1');
    changed = true;
  }
  if (changed) list.Changed = true;
  stations_.RefreshFrequencyGrid();
  if (changed) stations_.NotifyRecordsChanged();
}

void OnAirViewController::RebuildOnAirView() {
  FrequencyList& list = stations_.list;
  if (!list.OnAirView) return;
  if (ctx_.state.LastFreqFile.empty() || list.RecordCount() < 1) {
    stations_.LeaveOnAirView();
    return;
  }
  // ToggleOnAirView leaves a view that is shown; with the mark cleared it
  // builds the view again from the present records and the present time.
  list.OnAirView = false;
  stations_.ToggleOnAirView();
}

}  // namespace ondaris
