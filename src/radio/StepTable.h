#pragma once
// The nine tuning steps and the continuous-tuning speed each one brings.

#include <array>

namespace ondaris {

struct StepInfo {
  const char* caption;  // row 8 shows "10K" or "9K"
  int stepHz;           // row 8 is 10000, or 9000 with the 9 kHz option
  int speedPosition;    // tuning-speed trackbar position (x 33 ms)
};
constexpr int StepCount = 9;
inline constexpr std::array<StepInfo, StepCount> StepTable{{
    {"1", 1, 1},       {"10", 10, 1},     {"50", 50, 2},     {"100", 100, 5},   {"500", 500, 10},
    {"1K", 1000, 15},  {"3K", 3000, 30},  {"5K", 5000, 30},  {"10K", 10000, 30},
}};

// Row of a step value (9000 goes to row 8); -1 for a value not in the table.
inline int StepRowOf(int stepHz) {
  if (stepHz == 9000) return 8;
  for (int row = 0; row < StepCount; ++row)
    if (StepTable[row].stepHz == stepHz) return row;
  return -1;
}

}  // namespace ondaris
