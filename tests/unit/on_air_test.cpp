// The on-air test of a broadcast's HHMM hours at a given UTC time.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "freqfiles/OnAir.h"

namespace ondaris {
namespace {

struct OnAirCase {
  const char* onAir;
  const char* offAir;
  int now;
  bool expected;
};

class OnAirTest : public ::testing::TestWithParam<OnAirCase> {};

TEST_P(OnAirTest, Decides) {
  const OnAirCase& c = GetParam();
  EXPECT_EQ(IsOnAirNow(c.onAir, c.offAir, c.now), c.expected)
      << c.onAir << "-" << c.offAir << " at " << c.now;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OnAirTest,
    ::testing::Values(
        // Across midnight.
        OnAirCase{"2330", "0030", 2345, true}, OnAirCase{"2330", "0030", 15, true},
        OnAirCase{"2330", "0030", 30, false}, OnAirCase{"2330", "0030", 2329, false},
        OnAirCase{"2330", "0030", 2330, true}, OnAirCase{"2330", "0030", 29, true},
        OnAirCase{"2330", "0030", 1200, false},
        // Equal start and end: never.
        OnAirCase{"1200", "1200", 1200, false}, OnAirCase{"1200", "1200", 0, false},
        OnAirCase{"1200", "1200", 1159, false}, OnAirCase{"1200", "1200", 1201, false},
        // Within one day: the start minute counts, the end minute does not.
        OnAirCase{"0800", "1200", 800, true}, OnAirCase{"0800", "1200", 1159, true},
        OnAirCase{"0800", "1200", 1200, false}, OnAirCase{"0800", "1200", 759, false},
        OnAirCase{"0800", "1200", 2359, false},
        // All day.
        OnAirCase{"0000", "2400", 0, true}, OnAirCase{"0000", "2400", 2359, true},
        OnAirCase{"0000", "2359", 2359, false},
        // Texts without leading zeros read the same.
        OnAirCase{"800", "1200", 900, true},
        // Empty or unreadable hours are never on the air.
        OnAirCase{"", "1200", 900, false}, OnAirCase{"0800", "", 900, false}, OnAirCase{"", "", 0, false},
        OnAirCase{"08:00", "1200", 900, false}, OnAirCase{"0800", "noon", 900, false},
        OnAirCase{"abcd", "efgh", 900, false}));

FrequencyList ListWithHours(const std::vector<std::pair<std::string, std::string>>& hours) {
  FrequencyList list;
  for (const auto& [on, off] : hours) {
    FrequencyRecord r;
    r.Name = on + "-" + off;
    r.Freq = "9580";
    r.OnAir = on;
    r.OffAir = off;
    list.AppendRecord(r);
  }
  list.ResetRowOrders();
  return list;
}

TEST(OnAirRowTest, UsesTheRecordOfTheGridRowInTheCurrentView) {
  FrequencyList list = ListWithHours({{"0800", "1200"}, {"2330", "0030"}, {"", "1200"}});
  list.RowOrder = {1, 2, 0};
  EXPECT_TRUE(IsRowOnAirNow(list, 1, 15));
  EXPECT_FALSE(IsRowOnAirNow(list, 2, 900));
  EXPECT_TRUE(IsRowOnAirNow(list, 3, 900));
  EXPECT_FALSE(IsRowOnAirNow(list, 3, 15));
  // Outside the view.
  EXPECT_FALSE(IsRowOnAirNow(list, 0, 900));
  EXPECT_FALSE(IsRowOnAirNow(list, 4, 900));

  list.OnAirView = true;
  list.OnAirRowOrder = {0};
  EXPECT_TRUE(IsRowOnAirNow(list, 1, 900));
  EXPECT_FALSE(IsRowOnAirNow(list, 2, 15));  // row 2 is past the on-air view
}

TEST(OnAirRowTest, NothingIsOnTheAirWithoutAFile) {
  FrequencyList list;
  EXPECT_FALSE(IsRowOnAirNow(list, 1, 900));
}

TEST(OnAirRowTest, OnAirRecordsFollowTheFullViewOrder) {
  FrequencyList list =
      ListWithHours({{"0800", "1200"}, {"2330", "0030"}, {"0000", "2400"}, {"", ""}, {"1000", "1000"}});
  list.RowOrder = {4, 3, 2, 1, 0};
  EXPECT_EQ(OnAirRecords(list, 900), (std::vector<int>{2, 0}));
  EXPECT_EQ(OnAirRecords(list, 15), (std::vector<int>{2, 1}));
  EXPECT_EQ(OnAirRecords(list, 1200), (std::vector<int>{2}));
  // Walks the full view even while the on-air view is shown.
  list.OnAirView = true;
  list.OnAirRowOrder = {};
  EXPECT_EQ(OnAirRecords(list, 2345), (std::vector<int>{2, 1}));
  EXPECT_TRUE(OnAirRecords(FrequencyList{}, 900).empty());
}

}  // namespace
}  // namespace ondaris
