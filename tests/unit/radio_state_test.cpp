// The receiver state record: calibration line, filter rows, the last-frequency
// record and what the tuning words are computed from.

#include <gtest/gtest.h>

#include "radio/RadioState.h"

namespace ondaris {
namespace {

struct CalibrationCase {
  double loFreq, loErr, hiFreq, hiErr;
  double slope, offset;
  double atKHz, correction;
};

TEST(RadioStateTest, CalibrationLine) {
  const CalibrationCase cases[] = {
      {5.0, -87.0, 15.0, -126.0, -3.9, -67.5, 10000.0, -106.5},
      {5.0, -87.0, 15.0, -126.0, -3.9, -67.5, 5000.0, -87.0},
      {5.0, -87.0, 15.0, -126.0, -3.9, -67.5, 15000.0, -126.0},
      {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 25000.0, 0.0},  // nothing set: no correction anywhere
      {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 10.0, 0.0},
      {10.0, -50.0, 10.0, -50.0, 0.0, -50.0, 20000.0, -50.0},  // equal points: flat line
      {2.0, 10.0, 22.0, 50.0, 2.0, 6.0, 12000.0, 30.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.loFreq << "/" << c.loErr << " " << c.hiFreq << "/" << c.hiErr);
    RadioState state;
    state.CalSlope = 99;
    state.CalOffset = 99;
    state.CalLoFreq = c.loFreq;
    state.CalLoErr = c.loErr;
    state.CalHiFreq = c.hiFreq;
    state.CalHiErr = c.hiErr;
    state.ComputeCalibration();
    EXPECT_DOUBLE_EQ(state.CalSlope, c.slope);
    EXPECT_DOUBLE_EQ(state.CalOffset, c.offset);
    EXPECT_DOUBLE_EQ(state.CalibrationErrorHz(c.atKHz), c.correction);
    EXPECT_DOUBLE_EQ(state.TuningInputs().calSlope, c.slope);
    EXPECT_DOUBLE_EQ(state.TuningInputs().calOffset, c.offset);
  }
}

TEST(RadioStateTest, SelectFilterRowSetsAllThreeFields) {
  const struct {
    int index, bandwidth, code;
  } rows[] = {{0, 8000, 0x21}, {1, 6000, 0}, {13, 2550, 13}, {17, 1800, 18}, {22, 525, 28}, {23, 300, 0x20}};
  for (const auto& row : rows) {
    RadioState state;
    state.SelectFilterRow(row.index);
    EXPECT_EQ(state.FilterIndex, row.index);
    EXPECT_EQ(state.Bandwidth, row.bandwidth) << row.index;
    EXPECT_EQ(state.FilterCode, row.code) << row.index;
  }
}

TEST(RadioStateTest, SelectFilterRowOutsideTheTableTakesRowOne) {
  for (int index : {-1, 24, 100}) {
    RadioState state;
    state.SelectFilterRow(23);
    state.SelectFilterRow(index);
    EXPECT_EQ(state.FilterIndex, 1) << index;
    EXPECT_EQ(state.Bandwidth, 6000) << index;
    EXPECT_EQ(state.FilterCode, 0) << index;
  }
}

TEST(RadioStateTest, SaveLastFrequencyCopiesTheCurrentTuning) {
  RadioState state;
  EXPECT_FALSE(state.LastFreqRecord.valid);
  state.Freq = 9575.25;
  state.Mode = 2;
  state.StepIndex = 8;
  state.StepHz = 9000;
  state.SelectFilterRow(14);
  state.AGC = 3;
  state.PBT = -350;
  state.SpkrMute = 1;
  state.LineMute = 0;
  state.SaveLastFrequency();

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

  // A later change of the tuning does not reach the saved record.
  state.Freq = 100.0;
  state.LineMute = 1;
  EXPECT_EQ(state.LastFreqRecord.freq, 9575.25);
  EXPECT_EQ(state.LastFreqRecord.lineMute, 0);
  state.SaveLastFrequency();
  EXPECT_EQ(state.LastFreqRecord.freq, 100.0);
  EXPECT_EQ(state.LastFreqRecord.lineMute, 1);
}

TEST(RadioStateTest, TuningInputsAndBytesFollowTheState) {
  RadioState state;
  state.Freq = 10000.0;
  state.Mode = 0;
  state.SelectFilterRow(1);
  state.AGC = 2;
  state.PBT = 0;
  const std::string expected("\x57\x00\x0D\x4E\x55\xEF\x1A\xA8\x77\x70\x0D\x4D\x30\x0D\x47\x32\x0D", 17);
  EXPECT_EQ(state.TuningBytes(), expected);

  state.Mode = 3;
  state.CWTone = 600;
  state.DataBFO = 2125;
  state.DataBFOActive = 1;
  state.PBT = 150;
  const TuningInput in = state.TuningInputs();
  EXPECT_EQ(in.freqKHz, 10000.0);
  EXPECT_EQ(in.mode, 3);
  EXPECT_EQ(in.bandwidthHz, 6000);
  EXPECT_EQ(in.pbtHz, 150);
  EXPECT_EQ(in.cwToneHz, 600);
  EXPECT_TRUE(in.dataBfoActive);
  EXPECT_EQ(in.dataBfoHz, 2125);
}

}  // namespace
}  // namespace ondaris
