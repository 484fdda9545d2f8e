// NowBtn's on-air view at the boundary minutes of a broadcast (the UTC time
// comes from a fake clock), the minute repaint driven by the clock's minute
// hook, and LkBtn's lockout toggling.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "freqfiles/OnAirView.h"
#include "support/StationListRig.h"
#include "timekeeping/ClockController.h"

namespace ondaris {
namespace {

using ::testing::ElementsAre;

DateTime Utc(int hour, int minute, int second = 0) { return DateTime{2024, 6, 30, hour, minute, second}; }

struct OnAirRig : StationListRig {
  OnAirRig() {
    stations.gridContentsChanged = [this] { ++repaints; };
    stations.focusGrid = [this] { ++focusCalls; };
  }
  OnAirViewController onAir{ctx, stations};
  int repaints = 0;
  int focusCalls = 0;
};

class OnAirViewTest : public ::testing::Test, public OnAirRig {};

// A broadcast across midnight and one within the day, looked at with NowBtn
// at the minutes where they start and end.
TEST(OnAirBoundary, NowListsExactlyTheStationsOnTheAirThatMinute) {
  const struct {
    int hour, minute;
    std::vector<std::string> onAir;
  } cases[] = {{23, 29, {}}, {0, 29, {"Late Show"}}, {8, 0, {"Day Show"}}, {12, 0, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hour * 100 + c.minute);
    OnAirRig rig;
    rig.clock.setUtc(Utc(c.hour, c.minute, 59));
    rig.Load({StationLine("Late Show", "9.580000", "2330", "0030"), StationLine("Day Show", "7.100000", "0800", "1200"),
              StationLine("No Hours", "6.000000", "", "1200"), StationLine("Equal", "5.000000", "1200", "1200")});
    rig.onAir.NowBtnClick();
    EXPECT_EQ(rig.panel[Ctl::StatusPanel].caption, "On the air now: " + std::to_string(c.onAir.size()) + " broadcasts");
    EXPECT_EQ(rig.stations.list.OnAirView, !c.onAir.empty());
    // Nothing on the air: the whole list, sorted by name.
    const std::vector<std::string> all = {"Day Show", "Equal", "Late Show", "No Hours"};
    EXPECT_EQ(rig.RowNames(), c.onAir.empty() ? all : c.onAir);
    EXPECT_EQ(rig.panel[Ctl::NowBtn].colour, c.onAir.empty() ? Colour::Black : Colour::Maroon);
    EXPECT_EQ(rig.panel[Ctl::NowBtn].bold, !c.onAir.empty());
  }
}

TEST_F(OnAirViewTest, TheViewIsASnapshotWhileTheColouringFollowsTheMinuteHook) {
  clock.setUtc(Utc(0, 29, 0));
  Load({StationLine("Late Show", "9.580000", "2330", "0030"), StationLine("All Day", "6.000000", "0000", "2400")});
  onAir.NowBtnClick();
  ASSERT_THAT(RowNames(), ElementsAre("All Day", "Late Show"));
  EXPECT_TRUE(stations.RowIsOnAir(2));

  ClockController clockController(ctx);
  clockController.everyMinute.push_back([this](const DateTime&, const DateTime&) { onAir.MinuteTick(); });
  clockController.ClockTimerTimer();  // the first tick sees a new minute
  const int repaintsBefore = repaints, focusBefore = focusCalls;
  clock.setUtc(Utc(0, 29, 30));
  clockController.ClockTimerTimer();  // same minute: no repaint
  EXPECT_EQ(repaints, repaintsBefore);
  clock.setUtc(Utc(0, 30, 0));
  clockController.ClockTimerTimer();
  // One repaint, and it does not take the focus.
  EXPECT_EQ(std::make_pair(repaints, focusCalls), std::make_pair(repaintsBefore + 1, focusBefore));
  // Still listed, no longer maroon.
  EXPECT_THAT(RowNames(), ElementsAre("All Day", "Late Show"));
  EXPECT_FALSE(stations.RowIsOnAir(2));
}

// Now a second time returns the full list in its earlier order.
TEST_F(OnAirViewTest, LockoutSwapsTheMarksOfTheSelectedRowsOfTheShownViewAndNowTwiceReturnsTheFullList) {
  clock.setUtc(Utc(9, 0));
  Load({StationLine("A", "6.010000", "0000", "2400", "1"), StationLine("B", "6.020000", "0000", "2400", "0"),
        StationLine("C", "6.030000", "0000", "2400", "7"), StationLine("Off", "6.040000", "1000", "1100")});
  stations.list.RowOrder = {0, 1, 3, 2};
  stations.GridCursorMoved(1, 1, 2);
  onAir.LkBtnClick();
  EXPECT_EQ(stations.list.Column(FreqColumn::Lockout), (std::vector<std::string>{"0", "1", "7", "0"}));
  EXPECT_EQ(stations.CellText(1, 0) + "|" + stations.CellText(2, 0), "|L");
  EXPECT_TRUE(stations.list.Changed);
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Maroon);
  // A mark other than "1" unlocks; in the on-air view the on-air rows count.
  onAir.NowBtnClick();
  ASSERT_THAT(RowNames(), ElementsAre("A", "B", "C"));
  stations.GridCursorMoved(3, 3, 3);
  onAir.LkBtnClick();
  onAir.LkBtnClick();
  EXPECT_EQ(stations.list.Column(FreqColumn::Lockout), (std::vector<std::string>{"0", "1", "1", "0"}));
  onAir.NowBtnClick();
  EXPECT_FALSE(stations.list.OnAirView);
  EXPECT_THAT(RowNames(), ElementsAre("A", "B", "Off", "C"));
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "list.320: 4 Lines");
}

TEST_F(OnAirViewTest, WithoutAListTheMinuteDrawsNothingAndLockoutOnlyRefreshes) {
  onAir.MinuteTick();
  EXPECT_EQ(repaints, 0);
  const int before = focusCalls;
  onAir.LkBtnClick();
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_GT(focusCalls, before);  // the grid was refreshed
  onAir.NowBtnClick();
  EXPECT_THAT(messages.messages(), ElementsAre("No file is loaded."));
}

}  // namespace
}  // namespace ondaris
