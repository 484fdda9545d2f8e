#pragma once
// Signal strength of the simulated receiver, 0..9000 (the meter's full scale
// is 10000): a noise floor that grows with the filter bandwidth and is higher
// on the broadcast bands, plus the stations that fall into the passband.
//
// A station has a carrier and sidebands 4.5 kHz either side. Its
// contribution is its peak level times (0.6 x carrier response + 0.4 x the
// share of its sidebands inside the passband); the carrier response is 1
// inside the passband and falls off with the distance outside it. So a wide
// filter hears a station further away, a narrow filter hears less of it and
// less noise. Noise and fading come from a seeded generator, so a given seed
// gives the same sequence of readings.
//
// Stations are the built-in band plan (channels on the broadcast bands) or a
// list loaded from a schedule file (the kHz column of a ';'-separated file
// such as an EiBi schedule). The time of day is not looked at.

#include <cstdint>
#include <istream>
#include <random>
#include <string>
#include <vector>

namespace ondaris {

// Where the receiver listens: the passband follows the mode.
struct ListeningPassband {
  std::int64_t frequencyHz = 0;
  int mode = 0;               // 0 AM, 1 USB, 2 LSB, 3 CW
  int bandwidthHz = 6000;
  int passbandOffsetHz = 0;   // H + PBT from the BFO word (USB/LSB)
  double lowHz() const;
  double highHz() const;
};

class StrengthModel {
 public:
  explicit StrengthModel(std::uint32_t seed = 1);

  void setSeed(std::uint32_t seed) { rng_.seed(seed); }

  // Replaces the stations (kHz, any order, duplicates allowed).
  void setStations(std::vector<double> stationsKHz);
  const std::vector<double>& stations() const { return stations_; }

  // The expected reading, without noise or fading.
  double meanLevel(const ListeningPassband& where) const;
  // One reading: noise and fading from the generator.
  std::uint16_t sample(const ListeningPassband& where);

  // Peak level of a station on this frequency (fixed per frequency).
  static double StationPeak(double stationKHz);
  static bool InBroadcastBand(double kHz);
  static std::vector<double> BuiltInStations();

  // The first ';'-separated field of each line that reads as a number of
  // kHz; header and other lines are passed over.
  static std::vector<double> ParseStationList(std::istream& in);
  static bool LoadStationFile(const std::string& path, std::vector<double>& stationsKHz, std::string& error);

  static constexpr int MaxStrength = 9000;

 private:
  double noiseFloor(const ListeningPassband& where) const;
  double signalLevel(const ListeningPassband& where) const;
  double uniform();

  std::vector<double> stations_;  // sorted, unique
  std::mt19937 rng_;
};

}  // namespace ondaris
