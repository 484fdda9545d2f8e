// The on-air test of a broadcast's HHMM hours at a given UTC time.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "freqfiles/OnAir.h"

namespace ondaris {
namespace {

TEST(OnAirTest, DecidesFromTheHours) {
  const struct {
    const char* onAir;
    const char* offAir;
    std::vector<int> on, off;  // HHMM times
  } cases[] = {
      {"2330", "0030", {2330, 2345, 15, 29}, {30, 2329, 1200}},  // across midnight
      {"1200", "1200", {}, {1200, 0, 1159, 1201}},                 // equal start and end: never
      {"0800", "1200", {800, 1159}, {1200, 759, 2359}},            // the start minute counts, the end one not
      {"0000", "2400", {0, 2359}, {}},
      {"0000", "2359", {}, {2359}},
      {"800", "1200", {900}, {}},  // without leading zeros
      // Empty or unreadable hours are never on the air.
      {"", "1200", {}, {900}},
      {"0800", "", {}, {900}},
      {"", "", {}, {0}},
      {"08:00", "1200", {}, {900}},
      {"0800", "noon", {}, {900}},
      {"abcd", "efgh", {}, {900}},
  };
  for (const auto& c : cases) {
    for (int now : c.on) EXPECT_TRUE(IsOnAirNow(c.onAir, c.offAir, now)) << c.onAir << "-" << c.offAir << " at " << now;
    for (int now : c.off) EXPECT_FALSE(IsOnAirNow(c.onAir, c.offAir, now)) << c.onAir << "-" << c.offAir << " at " << now;
  }
}

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
  EXPECT_FALSE(IsRowOnAirNow(FrequencyList{}, 1, 900));
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
