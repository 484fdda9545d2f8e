// The signal-strength meter: polling on the meter timer, replies through the
// link's receive path, the bar's clamping and smoothing, the sensitivity
// toggle and the companion's percentage.

#include <gtest/gtest.h>

#include <string>

#include "support/PanelFixture.h"

namespace ondaris {
namespace {

using MeterTest = PanelFixture;

std::string Report(int strength) {
  return std::string{'X', static_cast<char>((strength >> 8) & 0xFF), static_cast<char>(strength & 0xFF), '\r'};
}

// ---- Polling -------------------------------------------------------------

TEST_F(MeterTest, TimerPollsFiveTimesASecond) {
  meterTimer.setEnabled(true);
  timeline.advanceBy(1000);
  EXPECT_EQ(meterTimer.tickCount(), 5);
  EXPECT_EQ(meterQueriesSent(), 5);
  EXPECT_TRUE(sentUnits().empty());
}

TEST_F(MeterTest, NoQueryOnceShuttingDown) {
  meterTimer.setEnabled(true);
  timeline.advanceBy(400);
  ASSERT_EQ(meterQueriesSent(), 2);
  ctx.flags.ShuttingDown = true;
  timeline.advanceBy(1000);
  EXPECT_EQ(meterQueriesSent(), 2);
  meter.MeterTimerTick();
  EXPECT_EQ(meterQueriesSent(), 2);
}

TEST_F(MeterTest, TuningRestartsThePollingInterval) {
  meterTimer.setEnabled(true);
  timeline.advanceBy(150);
  receiver.TuneRadio();
  timeline.advanceBy(199);
  EXPECT_EQ(meterQueriesSent(), 0);
  timeline.advanceBy(1);
  EXPECT_EQ(meterQueriesSent(), 1);
}

// ---- Readings ------------------------------------------------------------

TEST_F(MeterTest, ReplyThroughTheLinkMovesTheBar) {
  port.receive(Report(0x1234));
  EXPECT_EQ(panel[Ctl::Meter].value, 0x1234);
}

TEST_F(MeterTest, ReplySplitOverSeveralChunksGivesOneReading) {
  port.receive("X");
  port.receive(std::string(1, '\x12'));
  EXPECT_EQ(panel[Ctl::Meter].value, 0);
  port.receive(std::string("\x34\r", 2));
  EXPECT_EQ(panel[Ctl::Meter].value, 4660);
}

TEST_F(MeterTest, ReplyAfterNoiseInTheSameChunk) {
  meter.ComPortRxChar(std::string("\rX\x00\x10\r", 5));
  EXPECT_EQ(panel[Ctl::Meter].value, 16);
}

TEST_F(MeterTest, ReadingsAboveFullScaleShowFullScale) {
  meter.ComPortRxChar(Report(0xFFFF));
  EXPECT_EQ(panel[Ctl::Meter].value, 10000);
}

TEST_F(MeterTest, BarShowsTheMeanOfTheLastThreeReadings) {
  meter.ShowMeterReading(300);
  EXPECT_EQ(panel[Ctl::Meter].value, 300);  // no lag from an empty start
  meter.ShowMeterReading(600);
  EXPECT_EQ(panel[Ctl::Meter].value, 450);
  meter.ShowMeterReading(901);
  EXPECT_EQ(panel[Ctl::Meter].value, 600);  // 1801 / 3 truncated
  meter.ShowMeterReading(1200);
  EXPECT_EQ(panel[Ctl::Meter].value, 900);  // the first reading has left the window
  meter.ShowMeterReading(0);
  meter.ShowMeterReading(0);
  meter.ShowMeterReading(0);
  EXPECT_EQ(panel[Ctl::Meter].value, 0);
}

TEST_F(MeterTest, EachReadingIsClampedBeforeSmoothing) {
  meter.ShowMeterReading(50000);
  meter.ShowMeterReading(-20);
  EXPECT_EQ(panel[Ctl::Meter].value, 5000);  // (10000 + 0) / 2
}

// ---- Sensitivity ---------------------------------------------------------

struct MaximumCase {
  int meterMax;
  int hiSensMaximum;
};

class MeterMaximumTest : public PanelParamFixture<MaximumCase> {};

TEST_P(MeterMaximumTest, FourTimesSensitivityIsAQuarterOfFullScale) {
  const MaximumCase& c = GetParam();
  state.MeterMax = c.meterMax;
  meter.SetMeterMaximum();
  EXPECT_EQ(panel[Ctl::Meter].maximum, c.meterMax);
  EXPECT_EQ(panel[Ctl::Meter].minimum, 0);
  meter.ToggleMeterSensitivity();
  EXPECT_TRUE(ctx.flags.MeterHiSens);
  EXPECT_EQ(panel[Ctl::Meter].maximum, c.hiSensMaximum);
  meter.ToggleMeterSensitivity();
  EXPECT_FALSE(ctx.flags.MeterHiSens);
  EXPECT_EQ(panel[Ctl::Meter].maximum, c.meterMax);
}

INSTANTIATE_TEST_SUITE_P(Maxima, MeterMaximumTest,
                         ::testing::Values(MaximumCase{10000, 2500}, MaximumCase{10001, 2500},
                                           MaximumCase{10003, 2500}, MaximumCase{10004, 2501},
                                           MaximumCase{3, 0}));

TEST_F(MeterTest, AtFourTimesSensitivity3000IsFullScale) {
  meter.ToggleMeterSensitivity();
  meter.ComPortRxChar(Report(3000));
  EXPECT_EQ(panel[Ctl::Meter].maximum, 2500);
  EXPECT_EQ(panel[Ctl::Meter].value, 2500);
  EXPECT_EQ(meter.MeterPercent(), 99);
}

TEST_F(MeterTest, BarNeverShowsBeyondANewSmallerScale) {
  meter.ShowMeterReading(8000);
  meter.ToggleMeterSensitivity();
  EXPECT_LE(panel[Ctl::Meter].value, 2500);
}

TEST_F(MeterTest, ToggleRedrawsTheAgcButtonsAndReports) {
  controls.ShowAGCMedium();
  meter.ToggleMeterSensitivity();
  EXPECT_EQ(panel[Ctl::AGCMedBtn].colour, Colour::Maroon);
  EXPECT_TRUE(panel[Ctl::AGCMedBtn].bold);
  EXPECT_FALSE(panel[Ctl::AGCFastBtn].bold);
  EXPECT_EQ(statusReports, 1);

  meter.ToggleMeterSensitivity();
  EXPECT_EQ(panel[Ctl::AGCMedBtn].colour, Colour::Black);
  EXPECT_FALSE(panel[Ctl::AGCMedBtn].bold);
  EXPECT_EQ(statusReports, 2);
  EXPECT_TRUE(port.writes().empty());
}

// ---- Percentage for the companion ----------------------------------------

TEST_F(MeterTest, PercentIsNinetyNineTimesTheFractionTruncated) {
  EXPECT_EQ(meter.MeterPercent(), 0);
  meter.ShowMeterReading(5000);
  EXPECT_EQ(meter.MeterPercent(), 49);  // 99 * 5000 / 10000 = 49.5
  meter.ShowMeterReading(10000);
  meter.ShowMeterReading(10000);
  meter.ShowMeterReading(10000);
  EXPECT_EQ(meter.MeterPercent(), 99);
  meter.ShowMeterReading(101);
  meter.ShowMeterReading(101);
  meter.ShowMeterReading(101);
  EXPECT_EQ(meter.MeterPercent(), 0);  // 99 * 101 / 10000 = 0.99
}

TEST_F(MeterTest, PercentOfAZeroScaleIsZero) {
  state.MeterMax = 0;
  meter.SetMeterMaximum();
  meter.ShowMeterReading(50);
  EXPECT_EQ(meter.MeterPercent(), 0);
}

}  // namespace
}  // namespace ondaris
