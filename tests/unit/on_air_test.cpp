// The on-air test of a broadcast's HHMM hours at a given UTC time.

#include <gtest/gtest.h>

#include <string>
#include <utility>
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
      {"800", "1200", {900}, {}},  // without leading zeros
      // Empty or unreadable hours are never on the air.
      {"", "1200", {}, {900}},
      {"0800", "", {}, {900}},
      {"08:00", "1200", {}, {900}},
      {"0800", "noon", {}, {900}},
  };
  for (const auto& c : cases) {
    for (int now : c.on) EXPECT_TRUE(IsOnAirNow(c.onAir, c.offAir, now)) << c.onAir << "-" << c.offAir << " at " << now;
    for (int now : c.off) EXPECT_FALSE(IsOnAirNow(c.onAir, c.offAir, now)) << c.onAir << "-" << c.offAir << " at " << now;
  }
}

TEST(OnAirRowTest, RowsUseTheRecordOfTheCurrentViewAndOnAirRecordsTheFullViewOrder) {
  FrequencyList list;
  const std::pair<std::string, std::string> hours[] = {{"0800", "1200"}, {"2330", "0030"}, {"", "1200"}, {"0000", "2400"}};
  for (const auto& [on, off] : hours) {
    FrequencyRecord record;
    record.Freq = "9580";
    record.OnAir = on;
    record.OffAir = off;
    list.AppendRecord(record);
  }
  list.ResetRowOrders();
  EXPECT_TRUE(!IsRowOnAirNow(FrequencyList{}, 1, 900) && OnAirRecords(FrequencyList{}, 900).empty());
  list.RowOrder = {1, 2, 0, 3};
  // Row 5 is outside the view.
  EXPECT_EQ((std::vector<bool>{IsRowOnAirNow(list, 1, 15), IsRowOnAirNow(list, 2, 900), IsRowOnAirNow(list, 3, 900),
                               IsRowOnAirNow(list, 5, 900)}),
            (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ(OnAirRecords(list, 900), (std::vector<int>{0, 3}));
  EXPECT_EQ(OnAirRecords(list, 15), (std::vector<int>{1, 3}));
  // In the on-air view rows count in it; OnAirRecords still walks the full view.
  list.OnAirView = true;
  list.OnAirRowOrder = {0};
  EXPECT_TRUE(IsRowOnAirNow(list, 1, 900) && !IsRowOnAirNow(list, 2, 15));  // row 2 is past the on-air view
  EXPECT_EQ(OnAirRecords(list, 2345), (std::vector<int>{1, 3}));
}

}  // namespace
}  // namespace ondaris
