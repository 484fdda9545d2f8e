// The receiver state record: calibration line, filter rows, the last-frequency
// record and what the tuning words are computed from.

#include <gtest/gtest.h>

#include "radio/RadioState.h"

namespace ondaris {
namespace {

TEST(RadioStateTest, CalibrationLine) {
  const struct {
    double loFreq, loErr, hiFreq, hiErr, slope, offset, atKHz, correction;
  } cases[] = {
      {5.0, -87.0, 15.0, -126.0, -3.9, -67.5, 10000.0, -106.5},
      {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 25000.0, 0.0},            // nothing set: no correction anywhere
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
    EXPECT_EQ(state.FilterIndex, r.row) << r.index;
    EXPECT_EQ(state.Bandwidth, r.bandwidth) << r.index;
    EXPECT_EQ(state.FilterCode, r.code) << r.index;
  }
}

TEST(RadioStateTest, SaveLastFrequencyCopiesTheCurrentTuning) {
  RadioState state;
  EXPECT_FALSE(state.LastFreqRecord.valid);
  state.Freq = 9575.25;
  state.Mode = 2;
  state.StepHz = 9000;
  state.SelectFilterRow(14);
  state.AGC = 3;
  state.PBT = -350;
  state.SpkrMute = 1;
  state.SaveLastFrequency();
  state.Freq = 100.0;  // a later change does not reach the saved record
  const TuningRecord& r = state.LastFreqRecord;
  EXPECT_TRUE(r.valid);
  EXPECT_EQ(r.freq, 9575.25);
  EXPECT_EQ(r.mode, 2);
  EXPECT_EQ(r.stepHz, 9000);
  EXPECT_EQ(r.filterIndex, 14);
  EXPECT_EQ(r.agc, 3);
  EXPECT_EQ(r.pbt, -350);
  EXPECT_EQ(r.spkrMute, 1);
  EXPECT_EQ(r.lineMute, 0);
}

TEST(RadioStateTest, TuningInputsAndBytesFollowTheState) {
  RadioState state;
  state.Freq = 10000.0;
  state.SelectFilterRow(1);
  const std::string expected("\x57\x00\x0D\x4E\x55\xEF\x1A\xA8\x77\x70\x0D\x4D\x30\x0D\x47\x32\x0D", 17);
  EXPECT_EQ(state.TuningBytes(), expected);
  state.Mode = 3;
  state.CWTone = 600;
  state.DataBFO = 2125;
  state.DataBFOActive = 1;
  state.PBT = 150;
  const TuningInput in = state.TuningInputs();
  EXPECT_EQ(in.mode, 3);
  EXPECT_EQ(in.bandwidthHz, 6000);
  EXPECT_EQ(in.pbtHz, 150);
  EXPECT_EQ(in.cwToneHz, 600);
  EXPECT_TRUE(in.dataBfoActive);
  EXPECT_EQ(in.dataBfoHz, 2125);
}

}  // namespace
}  // namespace ondaris
