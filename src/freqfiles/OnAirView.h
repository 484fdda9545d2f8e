#pragma once
// The small tools beside the grid that work on the loaded list as it stands:
// NowBtn (the stations on the air now, and back), LkBtn (the lockout marks
// of the selected rows) and the minute repaint that keeps the maroon
// on-air colouring in step with the clock.
//
// The on-air view is a snapshot: the rows it lists are chosen when NowBtn is
// pressed (or when a cut or paste changes the list) and do not change as the
// clock moves on; only the colouring of the rows follows the time.

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"

namespace ondaris {

class StationGrid;

class OnAirViewController {
 public:
  OnAirViewController(PanelContext& context, StationGrid& stations);

  // NowBtnClick: toggles the on-air view ("No file is loaded." without a
  // named, non-empty list).
  void NowBtnClick();

  // The clock's once-a-minute hook: with a list loaded, the grid's rows are
  // drawn again so that a broadcast that started or ended this minute
  // changes colour. Nothing is re-listed and the keyboard focus stays where
  // it is.
  void MinuteTick();

  // LkBtnClick: every selected row (clipped to the view) has its record's
  // lockout mark flipped, "1" for a record that is not locked out and "0"
  // for one that is; the list is then changed. The grid is refreshed in any
  // case, also when nothing is selected.
  void LkBtnClick();

  // After a cut or paste changed the records: the on-air view, when shown,
  // is made afresh from the changed list (the rows on the air now, sorted by
  // name). A list that has lost its name or its last record leaves the view
  // instead.
  void RebuildOnAirView();

 private:
  PanelContext& ctx_;
  StationGrid& stations_;
};

}  // namespace ondaris
