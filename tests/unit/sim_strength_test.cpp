// The simulated receiver's signal strength: louder on the broadcast bands and
// near stations, a wide filter hearing further and more noise than a narrow
// one, repeatable for a given seed.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "sim/StrengthModel.h"

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

double AverageOver(const StrengthModel& model, double fromKHz, double toKHz, int bandwidthHz) {
  double sum = 0;
  int count = 0;
  for (double kHz = fromKHz; kHz <= toKHz; kHz += 5.0) {
    sum += model.meanLevel(Tuned(kHz, 0, bandwidthHz));
    ++count;
  }
  return sum / count;
}

TEST(SimStrength, BroadcastBandsAreLouderThanTheGapsBetweenThem) {
  const StrengthModel model;
  const struct {
    double bandFrom, bandTo, gapFrom, gapTo;
  } pairs[] = {
      {5900, 6200, 6300, 6600},
      {9400, 9900, 10100, 10600},
      {15100, 15800, 16000, 16700},
  };
  for (const auto& p : pairs) {
    const double band = AverageOver(model, p.bandFrom, p.bandTo, 6000);
    const double gap = AverageOver(model, p.gapFrom, p.gapTo, 6000);
    EXPECT_GT(band, 2.0 * gap) << p.bandFrom << " kHz band " << band << ", gap " << gap;
  }
  EXPECT_TRUE(StrengthModel::InBroadcastBand(9580));
  EXPECT_TRUE(StrengthModel::InBroadcastBand(2300));
  EXPECT_TRUE(StrengthModel::InBroadcastBand(26100));
  EXPECT_FALSE(StrengthModel::InBroadcastBand(10000));
  EXPECT_FALSE(StrengthModel::InBroadcastBand(8500));
}

TEST(SimStrength, BuiltInStationsSitOnTheBroadcastBands) {
  const std::vector<double> stations = StrengthModel::BuiltInStations();
  EXPECT_GT(stations.size(), 300u);
  for (double kHz : stations) EXPECT_TRUE(StrengthModel::InBroadcastBand(kHz)) << kHz;
}

TEST(SimStrength, AStationIsLoudOnItsFrequencyAndFadesWithTheOffset) {
  StrengthModel model;
  model.setStations({9500.0});
  const double on = model.meanLevel(Tuned(9500, 0, 6000));
  const double near = model.meanLevel(Tuned(9504, 0, 6000));
  const double far = model.meanLevel(Tuned(9520, 0, 6000));
  StrengthModel empty;
  empty.setStations({});
  const double noise = empty.meanLevel(Tuned(9500, 0, 6000));
  EXPECT_GT(on, near);
  EXPECT_GT(near, far);
  EXPECT_GT(on, noise + 0.6 * StrengthModel::StationPeak(9500.0));
  EXPECT_NEAR(far, empty.meanLevel(Tuned(9520, 0, 6000)), 1.0);  // out of reach: noise only
}

TEST(SimStrength, AWideFilterHearsAStationFurtherAway) {
  StrengthModel model;
  model.setStations({9500.0});
  const double wide = model.meanLevel(Tuned(9503.5, 0, 8000));
  const double narrow = model.meanLevel(Tuned(9503.5, 0, 300));
  EXPECT_GT(wide, narrow + 0.5 * StrengthModel::StationPeak(9500.0)) << wide << " vs " << narrow;
}

TEST(SimStrength, ANarrowFilterGivesLessNoise) {
  StrengthModel model;
  model.setStations({});
  double last = 0;
  for (int bandwidth : {300, 1050, 2400, 4200, 6000, 8000}) {
    const double level = model.meanLevel(Tuned(8000, 0, bandwidth));
    EXPECT_GT(level, last) << bandwidth;
    last = level;
  }
  // And on average over many readings, not just in the mean.
  double narrowSum = 0;
  double wideSum = 0;
  for (int i = 0; i < 500; ++i) {
    narrowSum += model.sample(Tuned(8000, 0, 300));
    wideSum += model.sample(Tuned(8000, 0, 8000));
  }
  EXPECT_LT(narrowSum, 0.6 * wideSum);
}

TEST(SimStrength, SidebandPassbandSitsOnItsSide) {
  StrengthModel model;
  model.setStations({9500.0});
  // USB 2550 Hz: H + PBT = 1475, the passband runs 200..2750 Hz above the
  // dial; tuned 1 kHz below the carrier it holds the carrier.
  const double usbBelow = model.meanLevel(Tuned(9499, 1, 2550, 1475));
  const double usbAbove = model.meanLevel(Tuned(9501, 1, 2550, 1475));
  EXPECT_GT(usbBelow, usbAbove);
  const double lsbAbove = model.meanLevel(Tuned(9501, 2, 2550, 1475));
  const double lsbBelow = model.meanLevel(Tuned(9499, 2, 2550, 1475));
  EXPECT_GT(lsbAbove, lsbBelow);
  const ListeningPassband usb = Tuned(9499, 1, 2550, 1475);
  EXPECT_DOUBLE_EQ(usb.lowHz(), 9499200.0);
  EXPECT_DOUBLE_EQ(usb.highHz(), 9501750.0);
}

TEST(SimStrength, TheSameSeedGivesTheSameReadings) {
  StrengthModel a(7);
  StrengthModel b(7);
  StrengthModel c(8);
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
}

TEST(SimStrength, ReadingsStayOnTheScaleAndVary) {
  StrengthModel model(3);
  std::mt19937 rng(11);
  int highest = 0;
  for (int i = 0; i < 20000; ++i) {
    const double kHz = 100 + (rng() % 29900000) / 1000.0;
    const int bandwidth = 300 + static_cast<int>(rng() % 7700);
    const std::uint16_t s = model.sample(Tuned(kHz, static_cast<int>(rng() % 4), bandwidth, 1000));
    ASSERT_LE(s, StrengthModel::MaxStrength);
    highest = std::max<int>(highest, s);
  }
  EXPECT_GT(highest, 6000);  // strong stations do reach the upper part of the meter
  // Sitting on one frequency, the reading moves.
  std::vector<int> readings;
  for (int i = 0; i < 20; ++i) readings.push_back(model.sample(Tuned(9580, 0, 6000)));
  EXPECT_NE(*std::min_element(readings.begin(), readings.end()), *std::max_element(readings.begin(), readings.end()));
}

TEST(SimStrength, StationListTakesTheKHzColumn) {
  std::istringstream in(
      "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201\r\n"
      "16.3;0000-2400;;IND;VTX1 Indian Navy;;SAs;v;1;;\r\n"
      "9580;0000-0100;;AUS;Radio Australia\r\n"
      "9580;0100-0200;;AUS;Radio Australia\r\n"
      "\r\n"
      "junk line\r\n"
      "6070.5;1200-1300\n"
      "12x;bad number\r\n"
      "40000;out of range\r\n");
  const std::vector<double> stations = StrengthModel::ParseStationList(in);
  EXPECT_EQ(stations, (std::vector<double>{16.3, 9580, 9580, 6070.5}));
  StrengthModel model;
  model.setStations(stations);
  EXPECT_EQ(model.stations(), (std::vector<double>{16.3, 6070.5, 9580}));
}

TEST(SimStrength, LoadsAStationFileAndReportsProblems) {
  char path[] = "/tmp/ondaris_sim_stationsXXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  {
    std::ofstream out(path, std::ios::binary);
    out << "kHz;Time(UTC)\r\n7325;0000-2400\r\n";
  }
  std::vector<double> stations;
  std::string error;
  EXPECT_TRUE(StrengthModel::LoadStationFile(path, stations, error)) << error;
  EXPECT_EQ(stations, std::vector<double>{7325});
  {
    std::ofstream out(path, std::ios::binary);
    out << "no numbers here\r\n";
  }
  EXPECT_FALSE(StrengthModel::LoadStationFile(path, stations, error));
  EXPECT_NE(error.find("no station frequencies"), std::string::npos) << error;
  std::remove(path);
  EXPECT_FALSE(StrengthModel::LoadStationFile(path, stations, error));
  EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

}  // namespace
}  // namespace ondaris
