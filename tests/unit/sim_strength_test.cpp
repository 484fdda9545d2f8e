// The simulated receiver's signal strength: louder on the broadcast bands and
// near stations, a wide filter hearing further and more noise than a narrow
// one, repeatable for a given seed; the station list it reads.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "sim/StrengthModel.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

ListeningPassband Tuned(double kHz, int mode, int bandwidthHz, int passbandOffsetHz = 0) {
  ListeningPassband where;
  where.frequencyHz = std::llround(kHz * 1000.0);
  where.mode = mode;
  where.bandwidthHz = bandwidthHz;
  where.passbandOffsetHz = passbandOffsetHz;
  return where;
}

TEST(SimStrength, BroadcastBandsAreLouderThanTheGapsBetweenThem) {
  const StrengthModel model;
  auto average = [&](double from, double to) {
    double sum = 0;
    int count = 0;
    for (double kHz = from; kHz <= to; kHz += 5.0, ++count) sum += model.meanLevel(Tuned(kHz, 0, 6000));
    return sum / count;
  };
  for (const auto& [from, to, gapFrom, gapTo] : {std::array{5900, 6200, 6300, 6600}, {9400, 9900, 10100, 10600},
                                                {15100, 15800, 16000, 16700}})
    EXPECT_GT(average(from, to), 2.0 * average(gapFrom, gapTo)) << from << " kHz band";
  for (double kHz : {9580.0, 2300.0, 26100.0}) EXPECT_TRUE(StrengthModel::InBroadcastBand(kHz)) << kHz;
  for (double kHz : {10000.0, 8500.0}) EXPECT_FALSE(StrengthModel::InBroadcastBand(kHz)) << kHz;
  const std::vector<double> stations = StrengthModel::BuiltInStations();
  EXPECT_GT(stations.size(), 300u);
  for (double kHz : stations) EXPECT_TRUE(StrengthModel::InBroadcastBand(kHz)) << kHz;
}

TEST(SimStrength, AStationIsHeardThroughThePassband) {
  StrengthModel model, empty;
  model.setStations({9500.0});
  empty.setStations({});
  const double peak = StrengthModel::StationPeak(9500.0);
  const double on = model.meanLevel(Tuned(9500, 0, 6000));
  const double near = model.meanLevel(Tuned(9504, 0, 6000));
  const double far = model.meanLevel(Tuned(9520, 0, 6000));
  EXPECT_GT(on, near);
  EXPECT_GT(near, far);
  EXPECT_GT(on, empty.meanLevel(Tuned(9500, 0, 6000)) + 0.6 * peak);
  EXPECT_NEAR(far, empty.meanLevel(Tuned(9520, 0, 6000)), 1.0);  // out of reach: noise only
  // A wide filter hears the station further away.
  EXPECT_GT(model.meanLevel(Tuned(9503.5, 0, 8000)), model.meanLevel(Tuned(9503.5, 0, 300)) + 0.5 * peak);
  // USB 2550 Hz: H + PBT = 1475, the passband runs 200..2750 Hz above the
  // dial; tuned 1 kHz below the carrier it holds the carrier. LSB the other way.
  EXPECT_GT(model.meanLevel(Tuned(9499, 1, 2550, 1475)), model.meanLevel(Tuned(9501, 1, 2550, 1475)));
  EXPECT_GT(model.meanLevel(Tuned(9501, 2, 2550, 1475)), model.meanLevel(Tuned(9499, 2, 2550, 1475)));
  EXPECT_DOUBLE_EQ(Tuned(9499, 1, 2550, 1475).lowHz(), 9499200.0);
  EXPECT_DOUBLE_EQ(Tuned(9499, 1, 2550, 1475).highHz(), 9501750.0);

  // A narrow filter gives less noise, in the mean and over many readings.
  double last = 0;
  for (int bandwidth : {300, 1050, 2400, 4200, 6000, 8000}) {
    const double level = empty.meanLevel(Tuned(8000, 0, bandwidth));
    EXPECT_GT(level, last) << bandwidth;
    last = level;
  }
  double narrowSum = 0, wideSum = 0;
  for (int i = 0; i < 500; ++i) {
    narrowSum += empty.sample(Tuned(8000, 0, 300));
    wideSum += empty.sample(Tuned(8000, 0, 8000));
  }
  EXPECT_LT(narrowSum, 0.6 * wideSum);
}

TEST(SimStrength, ReadingsRepeatForASeedStayOnTheScaleAndVary) {
  StrengthModel a(7), b(7), c(8);
  bool differs = false;
  for (int i = 0; i < 200; ++i) {
    const ListeningPassband where = Tuned(9400 + i * 2.5, i % 4, 2400 + 25 * i);
    const std::uint16_t sa = a.sample(where);
    ASSERT_EQ(sa, b.sample(where)) << i;
    differs = differs || sa != c.sample(where);
  }
  EXPECT_TRUE(differs);
  a.setSeed(8);
  StrengthModel d(8);
  EXPECT_EQ(a.sample(Tuned(6000, 0, 6000)), d.sample(Tuned(6000, 0, 6000)));

  std::mt19937 rng(11);
  int highest = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::uint16_t s = a.sample(Tuned(100 + (rng() % 29900000) / 1000.0, static_cast<int>(rng() % 4),
                                           300 + static_cast<int>(rng() % 7700), 1000));
    ASSERT_LE(s, StrengthModel::MaxStrength);
    highest = std::max<int>(highest, s);
  }
  EXPECT_GT(highest, 6000);  // strong stations do reach the upper part of the meter
  std::vector<int> readings;  // sitting on one frequency, the reading moves
  for (int i = 0; i < 20; ++i) readings.push_back(a.sample(Tuned(9580, 0, 6000)));
  EXPECT_NE(*std::min_element(readings.begin(), readings.end()), *std::max_element(readings.begin(), readings.end()));
}

TEST(SimStrength, StationListsTakeTheKHzColumn) {
  std::istringstream in(
      "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201\r\n"
      "16.3;0000-2400;;IND;VTX1 Indian Navy;;SAs;v;1;;\r\n"
      "9580;0000-0100;;AUS;Radio Australia\r\n"
      "9580;0100-0200;;AUS;Radio Australia\r\n"
      "\r\njunk line\r\n6070.5;1200-1300\n12x;bad number\r\n40000;out of range\r\n");
  std::vector<double> stations = StrengthModel::ParseStationList(in);
  EXPECT_EQ(stations, (std::vector<double>{16.3, 9580, 9580, 6070.5}));
  StrengthModel model;
  model.setStations(stations);
  EXPECT_EQ(model.stations(), (std::vector<double>{16.3, 6070.5, 9580}));

  TempFolder folder;
  const std::string path = folder.file("stations.csv");
  std::string error;
  WriteFileBytes(path, "kHz;Time(UTC)\r\n7325;0000-2400\r\n");
  EXPECT_TRUE(StrengthModel::LoadStationFile(path, stations, error)) << error;
  EXPECT_EQ(stations, std::vector<double>{7325});
  WriteFileBytes(path, "no numbers here\r\n");
  EXPECT_FALSE(StrengthModel::LoadStationFile(path, stations, error));
  EXPECT_NE(error.find("no station frequencies"), std::string::npos) << error;
  EXPECT_FALSE(StrengthModel::LoadStationFile(folder.file("missing.csv"), stations, error));
  EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

}  // namespace
}  // namespace ondaris
