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
using ::testing::IsEmpty;

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
struct BoundaryCase {
  int hour, minute;
  bool lateShowOn;   // 2330 - 0030
  bool dayShowOn;    // 0800 - 1200
};

class OnAirBoundary : public ::testing::TestWithParam<BoundaryCase>, public OnAirRig {};

TEST_P(OnAirBoundary, NowListsExactlyTheStationsOnTheAirThatMinute) {
  const BoundaryCase& c = GetParam();
  OnAirRig& rig = *this;
  rig.clock.setUtc(Utc(c.hour, c.minute, 59));
  rig.Load({StationLine("Late Show", "9.580000", "2330", "0030"), StationLine("Day Show", "7.100000", "0800", "1200"),
            StationLine("No Hours", "6.000000", "", "1200"), StationLine("Equal", "5.000000", "1200", "1200")});
  rig.onAir.NowBtnClick();
  std::vector<std::string> expected;
  if (c.dayShowOn) expected.push_back("Day Show");
  if (c.lateShowOn) expected.push_back("Late Show");
  if (expected.empty()) {
    // Nothing on the air: the whole list, sorted by name, and a count of 0.
    EXPECT_FALSE(rig.stations.list.OnAirView);
    EXPECT_THAT(rig.RowNames(), ElementsAre("Day Show", "Equal", "Late Show", "No Hours"));
    EXPECT_EQ(rig.panel[Ctl::StatusPanel].caption, "On the air now: 0 broadcasts");
  } else {
    EXPECT_TRUE(rig.stations.list.OnAirView);
    EXPECT_EQ(rig.RowNames(), expected);
    EXPECT_EQ(rig.panel[Ctl::StatusPanel].caption,
              "On the air now: " + std::to_string(expected.size()) + " broadcasts");
    EXPECT_EQ(rig.panel[Ctl::NowBtn].colour, Colour::Maroon);
    EXPECT_TRUE(rig.panel[Ctl::NowBtn].bold);
  }
}

INSTANTIATE_TEST_SUITE_P(Minutes, OnAirBoundary,
                         ::testing::Values(BoundaryCase{23, 29, false, false}, BoundaryCase{0, 29, true, false},
                                           BoundaryCase{8, 0, false, true}, BoundaryCase{12, 0, false, false}));

TEST_F(OnAirViewTest, NowTwiceReturnsTheFullListInItsEarlierOrder) {
  clock.setUtc(Utc(9, 0));
  Load({StationLine("Zulu", "6.010000", "0000", "2400"), StationLine("Alpha", "6.020000", "0800", "1000"),
        StationLine("Mike", "6.030000", "1000", "1100")});
  stations.SortByFreq();
  stations.list.RowOrder = {2, 0, 1};
  onAir.NowBtnClick();
  EXPECT_THAT(RowNames(), ElementsAre("Alpha", "Zulu"));
  onAir.NowBtnClick();
  EXPECT_FALSE(stations.list.OnAirView);
  EXPECT_EQ(stations.list.RowOrder, (std::vector<int>{2, 0, 1}));
  EXPECT_THAT(RowNames(), ElementsAre("Mike", "Zulu", "Alpha"));
  EXPECT_EQ(panel[Ctl::NowBtn].colour, Colour::Black);
  EXPECT_FALSE(panel[Ctl::NowBtn].bold);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "list.320: 3 Lines");
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
  const int repaintsBefore = repaints;
  const int focusBefore = focusCalls;

  clock.setUtc(Utc(0, 29, 30));
  clockController.ClockTimerTimer();  // same minute: no repaint
  EXPECT_EQ(repaints, repaintsBefore);

  clock.setUtc(Utc(0, 30, 0));
  clockController.ClockTimerTimer();
  EXPECT_EQ(repaints, repaintsBefore + 1);
  EXPECT_EQ(focusCalls, focusBefore);  // the repaint does not take the focus
  // Still listed, no longer maroon.
  EXPECT_THAT(RowNames(), ElementsAre("All Day", "Late Show"));
  EXPECT_FALSE(stations.RowIsOnAir(2));
  EXPECT_TRUE(stations.RowIsOnAir(1));
}

TEST_F(OnAirViewTest, LockoutSwapsTheMarksOfTheSelectedRowsOfTheShownView) {
  clock.setUtc(Utc(9, 0));
  Load({StationLine("A", "6.010000", "0000", "2400", "1"), StationLine("B", "6.020000", "0000", "2400", "0"),
        StationLine("C", "6.030000", "0000", "2400", "7"), StationLine("Off", "6.040000", "1000", "1100")});
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
  EXPECT_EQ(stations.list.Cell(2, FreqColumn::Lockout), "0");
  onAir.LkBtnClick();
  EXPECT_EQ(stations.list.Column(FreqColumn::Lockout), (std::vector<std::string>{"0", "1", "1", "0"}));
}

TEST_F(OnAirViewTest, WithoutAListTheMinuteDrawsNothingAndLockoutOnlyRefreshes) {
  onAir.MinuteTick();
  EXPECT_EQ(repaints, 0);
  const int before = focusCalls;
  onAir.LkBtnClick();
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_GT(focusCalls, before);  // the grid was refreshed
  EXPECT_THAT(messages.messages(), IsEmpty());
  onAir.NowBtnClick();
  EXPECT_THAT(messages.messages(), ElementsAre("No file is loaded."));
  EXPECT_FALSE(stations.list.OnAirView);
}

}  // namespace
}  // namespace ondaris
