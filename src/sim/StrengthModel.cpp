#include "sim/StrengthModel.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>

namespace ondaris {

namespace {

struct Band {
  int lowKHz;
  int highKHz;
};

// Medium wave and the shortwave broadcast bands.
constexpr Band BroadcastBands[] = {
    {520, 1710},     {2300, 2495},   {3200, 3400},   {3900, 4000},   {4750, 5060},
    {5900, 6200},    {7200, 7450},   {9400, 9900},   {11600, 12100}, {13570, 13870},
    {15100, 15800},  {17480, 17900}, {18900, 19020}, {21450, 21850}, {25670, 26100},
};

constexpr double SidebandHz = 4500.0;    // an AM broadcast station's width either side
constexpr double CarrierSkirtHz = 250.0; // fall-off of the carrier outside the passband
constexpr double SearchHz = 20000.0;     // stations further out are not heard at all

std::uint64_t SplitMix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

double HashUnit(std::uint64_t x) { return static_cast<double>(SplitMix(x) >> 11) / 9007199254740992.0; }

// Levels above 7000 bend towards the top of the scale instead of clipping,
// so strong signals still move the meter.
double SoftLimit(double level) {
  if (level <= 0) return 0;
  constexpr double knee = 7000.0;
  constexpr double room = StrengthModel::MaxStrength - knee;
  if (level <= knee) return level;
  return knee + room * (1.0 - std::exp(-(level - knee) / room));
}

}  // namespace

double ListeningPassband::lowHz() const {
  const double half = std::max(bandwidthHz, 100) / 2.0;
  double centre = static_cast<double>(frequencyHz);
  if (mode == 1) centre += passbandOffsetHz;
  if (mode == 2) centre -= passbandOffsetHz;
  return centre - half;
}

double ListeningPassband::highHz() const { return lowHz() + std::max(bandwidthHz, 100); }

StrengthModel::StrengthModel(std::uint32_t seed) : stations_(BuiltInStations()), rng_(seed) {}

void StrengthModel::setStations(std::vector<double> stationsKHz) {
  std::sort(stationsKHz.begin(), stationsKHz.end());
  stationsKHz.erase(std::unique(stationsKHz.begin(), stationsKHz.end()), stationsKHz.end());
  stations_ = std::move(stationsKHz);
}

bool StrengthModel::InBroadcastBand(double kHz) {
  for (const Band& band : BroadcastBands) {
    if (kHz >= band.lowKHz && kHz <= band.highKHz) return true;
  }
  return false;
}

double StrengthModel::StationPeak(double stationKHz) {
  const auto hz = static_cast<std::uint64_t>(std::llround(stationKHz * 1000.0));
  return 1500.0 + 6500.0 * HashUnit(hz);
}

std::vector<double> StrengthModel::BuiltInStations() {
  std::vector<double> stations;
  for (const Band& band : BroadcastBands) {
    const bool mediumWave = band.highKHz < 2000;
    const int raster = mediumWave ? 9 : 5;
    const int first = mediumWave ? 531 : (band.lowKHz + 4) / 5 * 5;
    for (int kHz = first; kHz <= band.highKHz; kHz += raster) {
      // About every other channel is on the air.
      if (HashUnit(static_cast<std::uint64_t>(kHz) ^ 0x5A17C0DEull) < 0.55) stations.push_back(kHz);
    }
  }
  return stations;
}

std::vector<double> StrengthModel::ParseStationList(std::istream& in) {
  std::vector<double> stations;
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t end = std::min(line.find(';'), line.find('\r'));
    const std::string_view field(line.data(), std::min(end, line.size()));
    double kHz = 0;
    const auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), kHz);
    if (ec != std::errc() || ptr != field.data() + field.size() || field.empty()) continue;
    if (kHz > 0 && kHz <= 30000.0) stations.push_back(kHz);
  }
  return stations;
}

bool StrengthModel::LoadStationFile(const std::string& path, std::vector<double>& stationsKHz, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path + " (" + std::strerror(errno) + ")";
    return false;
  }
  stationsKHz = ParseStationList(in);
  if (stationsKHz.empty()) {
    error = "no station frequencies in " + path;
    return false;
  }
  return true;
}

double StrengthModel::noiseFloor(const ListeningPassband& where) const {
  const double kHz = static_cast<double>(where.frequencyHz) / 1000.0;
  const double widthShare = std::sqrt(std::max(where.bandwidthHz, 100) / 8000.0);
  double floor = 150.0 + 850.0 * widthShare;
  // Lower frequencies carry more atmospheric noise; the broadcast bands the
  // hum and splatter of many stations.
  floor *= 1.3 - 0.5 * std::clamp(kHz, 0.0, 30000.0) / 30000.0;
  if (InBroadcastBand(kHz)) floor *= 1.8;
  return floor;
}

double StrengthModel::signalLevel(const ListeningPassband& where) const {
  const double low = where.lowHz();
  const double high = where.highHz();
  const auto first = std::lower_bound(stations_.begin(), stations_.end(), (low - SearchHz) / 1000.0);
  double level = 0;
  for (auto it = first; it != stations_.end() && *it * 1000.0 <= high + SearchHz; ++it) {
    const double carrier = *it * 1000.0;
    const double distance = carrier < low ? low - carrier : (carrier > high ? carrier - high : 0.0);
    const double carrierResponse = std::exp(-distance / CarrierSkirtHz);
    const double overlap =
        std::max(0.0, std::min(high, carrier + SidebandHz) - std::max(low, carrier - SidebandHz));
    level += StationPeak(*it) * (0.6 * carrierResponse + 0.4 * overlap / (2 * SidebandHz));
  }
  return level;
}

double StrengthModel::meanLevel(const ListeningPassband& where) const {
  return SoftLimit(noiseFloor(where) + signalLevel(where));
}

double StrengthModel::uniform() { return static_cast<double>(rng_()) / 4294967296.0; }

std::uint16_t StrengthModel::sample(const ListeningPassband& where) {
  const double noise = noiseFloor(where) * (0.5 + uniform());
  const double fading = 0.8 + 0.4 * uniform();
  const double level = SoftLimit(noise + signalLevel(where) * fading);
  return static_cast<std::uint16_t>(std::clamp(std::lround(level), 0L, static_cast<long>(MaxStrength)));
}

}  // namespace ondaris
