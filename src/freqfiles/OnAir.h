#pragma once
// The on-air test: whether a broadcast with HHMM start and end texts (UTC) is
// on the air at a given UTC time of day. The time is always passed in, so
// the test is the same in the grid, the on-air view and the tests.

#include <string_view>
#include <vector>

#include "freqfiles/FrequencyList.h"

namespace ondaris {

// `hhmmNow` is hour x 100 + minute. On the air from the OnAir minute up to but
// not including the OffAir minute; an end before the start passes midnight
// (2330 to 0030 is on the air at 2345 and at 0015); equal start and end is
// never on the air. Empty texts, and texts that are not whole numbers, are
// not on the air.
bool IsOnAirNow(std::string_view onAir, std::string_view offAir, int hhmmNow);

// The test for the record shown in 1-based grid `row` of the current view;
// false when the list is empty or the row is not within the view.
bool IsRowOnAirNow(const FrequencyList& list, int row, int hhmmNow);

// The records on the air, walking the full view in its current order
// (RowOrder): what the on-air view lists. The list itself is not changed.
std::vector<int> OnAirRecords(const FrequencyList& list, int hhmmNow);

}  // namespace ondaris
