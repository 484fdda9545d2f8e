// The signal-strength meter: polling, replies through the link, the bar's clamping and smoothing, the
// sensitivity toggle and the companion's percentage.

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/PanelFixture.h"

namespace ondaris {
namespace {

using MeterTest = PanelFixture;

std::string Report(int strength) {
  return std::string{'X', static_cast<char>((strength >> 8) & 0xFF), static_cast<char>(strength & 0xFF), '\r'};
}

TEST_F(MeterTest, TimerPollsFiveTimesASecondUntilShuttingDown) {
  meterTimer.setEnabled(true);
  timeline.advanceBy(1000);
  EXPECT_EQ(meterQueriesSent(), 5);
  EXPECT_TRUE(sentUnits().empty());
  ctx.flags.ShuttingDown = true;
  timeline.advanceBy(1000);
  meter.MeterTimerTick();
  EXPECT_EQ(meterQueriesSent(), 5);
}

TEST_F(MeterTest, ReplyThroughTheLinkMovesTheBarClampedToFullScale) {
  port.receive("X");
  port.receive(std::string("\x12\x34\r", 3));
  EXPECT_EQ(panel[Ctl::Meter].value, 4660);
  meter.ComPortRxChar(Report(0xFFFF));
  EXPECT_EQ(panel[Ctl::Meter].value, (4660 + 10000) / 2);
}

TEST_F(MeterTest, BarShowsTheMeanOfTheLastThreeClampedReadings) {
  const std::pair<int, int> readings[] = {{300, 300},    // no lag from an empty start
                                          {600, 450},    {901, 600},  // 1801 / 3 truncated
                                          {1200, 900},   // the first reading has left the window
                                          {50000, 4033}, {-20, 3733}, {0, 3333}};
  for (const auto& [reading, shown] : readings) {
    meter.ShowMeterReading(reading);
    EXPECT_EQ(panel[Ctl::Meter].value, shown) << reading;
  }
}

TEST_F(MeterTest, FourTimesSensitivityIsAQuarterOfFullScale) {
  for (const auto& [max, hiSens] : {std::pair{10000, 2500}, {10003, 2500}, {10004, 2501}, {3, 0}}) {
    state.MeterMax = max;
    meter.SetMeterMaximum();
    EXPECT_EQ(panel[Ctl::Meter].maximum, max);
    meter.ToggleMeterSensitivity();
    EXPECT_EQ(std::tuple(ctx.flags.MeterHiSens, panel[Ctl::Meter].maximum), std::tuple(true, hiSens)) << max;
    meter.ToggleMeterSensitivity();
    EXPECT_EQ(panel[Ctl::Meter].maximum, max);
  }
}

TEST_F(MeterTest, AtFourTimesSensitivity3000IsFullScaleAndTheAgcButtonIsMarked) {
  controls.ShowAGCMedium();
  meter.ShowMeterReading(8000);
  meter.ToggleMeterSensitivity();
  EXPECT_LE(panel[Ctl::Meter].value, 2500);  // never beyond the new smaller scale
  EXPECT_EQ(std::tuple(panel[Ctl::AGCMedBtn].colour, panel[Ctl::AGCMedBtn].bold), std::tuple(Colour::Maroon, true));
  for (int i = 0; i < 2; ++i) meter.ComPortRxChar(Report(3000));
  EXPECT_EQ(std::tuple(panel[Ctl::Meter].value, meter.MeterPercent()), std::tuple(2500, 99));
  meter.ToggleMeterSensitivity();
  EXPECT_EQ(std::tuple(panel[Ctl::AGCMedBtn].colour, statusReports, port.writes().size()),
            std::tuple(Colour::Black, 2, 0u));
}

TEST_F(MeterTest, PercentIsNinetyNineTimesTheFractionTruncated) {
  EXPECT_EQ(meter.MeterPercent(), 0);
  meter.ShowMeterReading(5000);
  const int half = meter.MeterPercent();  // 99 * 5000 / 10000 = 49.5
  for (int i = 0; i < 3; ++i) meter.ShowMeterReading(101);
  const int tiny = meter.MeterPercent();  // 0.99
  state.MeterMax = 0;
  meter.SetMeterMaximum();
  meter.ShowMeterReading(50);
  EXPECT_EQ(std::tuple(half, tiny, meter.MeterPercent()), std::tuple(49, 0, 0));
}

}  // namespace
}  // namespace ondaris
