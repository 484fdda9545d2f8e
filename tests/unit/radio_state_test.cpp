// The receiver state record: calibration line, filter rows and what the tuning words are computed from.

#include <gtest/gtest.h>

#include <tuple>

#include "radio/RadioState.h"

namespace ondaris {
namespace {

TEST(RadioStateTest, CalibrationLine) {
  const struct {
    double loFreq, loErr, hiFreq, hiErr, slope, offset, atKHz, correction;
  } cases[] = {
      {5.0, -87.0, 15.0, -126.0, -3.9, -67.5, 10000.0, -106.5},
      {10.0, -50.0, 10.0, -50.0, 0.0, -50.0, 20000.0, -50.0},  // equal points: flat line
      {2.0, 10.0, 22.0, 50.0, 2.0, 6.0, 12000.0, 30.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.loFreq << "/" << c.loErr << " " << c.hiFreq << "/" << c.hiErr);
    RadioState state;
    state.CalSlope = state.CalOffset = 99;
    state.CalLoFreq = c.loFreq;
    state.CalLoErr = c.loErr;
    state.CalHiFreq = c.hiFreq;
    state.CalHiErr = c.hiErr;
    state.ComputeCalibration();
    EXPECT_DOUBLE_EQ(state.CalibrationErrorHz(c.atKHz), c.correction);
    EXPECT_DOUBLE_EQ(state.TuningInputs().calSlope, c.slope);
    EXPECT_DOUBLE_EQ(state.TuningInputs().calOffset, c.offset);
  }
}

TEST(RadioStateTest, SelectFilterRowSetsAllThreeFieldsAndTakesRowOneOutsideTheTable) {
  const struct {
    int index, row, bandwidth, code;
  } rows[] = {{0, 0, 8000, 0x21}, {13, 13, 2550, 13}, {23, 23, 300, 0x20}, {-1, 1, 6000, 0}, {24, 1, 6000, 0}};
  for (const auto& r : rows) {
    RadioState state;
    state.SelectFilterRow(22);
    state.SelectFilterRow(r.index);
    EXPECT_EQ(std::tuple(state.FilterIndex, state.Bandwidth, int(state.FilterCode)),
              std::tuple(r.row, r.bandwidth, r.code))
        << r.index;
  }
}

// The bytes themselves are checked through the receiver; here what they are
// computed from.
TEST(RadioStateTest, TuningInputsFollowTheState) {
  RadioState state;
  state.Mode = 3;
  state.CWTone = 600;
  state.DataBFO = 2125;
  state.DataBFOActive = 1;
  state.PBT = 150;
  const TuningInput in = state.TuningInputs();
  EXPECT_EQ(std::tuple(in.mode, in.bandwidthHz, in.pbtHz, in.cwToneHz, in.dataBfoActive, in.dataBfoHz),
            std::tuple(3, 6000, 150, 600, true, 2125));
}

}  // namespace
}  // namespace ondaris
