#include "radio/Rx320Protocol.h"

#include <cmath>

namespace ondaris {

namespace {
constexpr char CR = 0x0D;

const std::array<ModeInfo, 4> ModeTable{{
    {"AM", '0', 0},
    {"USB", '1', +1},
    {"LSB", '2', -1},
    {"CW", '3', -1},
}};

std::string WordBytes(int word) {
  std::string bytes(2, '\0');
  bytes[0] = static_cast<char>((word >> 8) & 0xFF);
  bytes[1] = static_cast<char>(word & 0xFF);
  return bytes;
}
}  // namespace

const std::array<FilterInfo, FilterCount> FilterTable{{
    {8000, 33}, {6000, 0},  {5400, 2},  {5100, 3},  {4800, 4},  {4500, 5},
    {4200, 6},  {3900, 7},  {3600, 8},  {3300, 9},  {3000, 10}, {2850, 11},
    {2700, 12}, {2550, 13}, {2400, 14}, {2250, 15}, {2100, 16}, {1800, 18},
    {1500, 20}, {1350, 21}, {1050, 23}, {750, 25},  {525, 28},  {300, 32},
}};

const ModeInfo& ModeTableEntry(int mode) {
  return ModeTable[(mode >= 0 && mode <= 3) ? mode : 0];
}

TuningWords ComputeTuningWords(const TuningInput& in) {
  // The receiver's own arithmetic was specified in 80-bit extended precision
  // with the intermediate results rounded to doubles where they are stored;
  // plain double arithmetic differs in the last fine step now and then.
  const int k = ModeTableEntry(in.mode).factor;
  long double halfBand = in.bandwidthHz / 2 + 200;
  long double bfoTerm = 0;
  if (in.mode == static_cast<int>(Mode::CW)) {
    bfoTerm = in.dataBfoActive ? in.dataBfoHz : in.cwToneHz;
    halfBand = 0;
  }
  const long double freq = in.freqKHz;
  const double calError = static_cast<double>(static_cast<long double>(in.calSlope) * freq / 1000.0L +
                                              static_cast<long double>(in.calOffset));
  const double tMHz = static_cast<double>(freq / 1000.0L + static_cast<long double>(calError) / 1000000.0L -
                                          0.00125L + k * (in.pbtHz + halfBand) / 1000000.0L);
  const double q = static_cast<double>(static_cast<long double>(tMHz) * 400.0L);
  const long double qx = q;
  const long double coarse = std::trunc(qx);
  const long double fine = std::trunc((qx - coarse) * 2500.0L * 5.46L);
  const long double bfo = std::trunc((halfBand + in.pbtHz + bfoTerm + 8000.0L) * 2.73L);

  TuningWords words;
  words.coarse = static_cast<int>(coarse) + 18000;
  words.fine = static_cast<int>(fine);
  words.bfo = static_cast<int>(bfo);
  return words;
}

std::string FilterCommand(std::uint8_t filterCode) {
  return std::string{'W', static_cast<char>(filterCode), CR};
}

std::string TuneCommand(const TuningWords& words) {
  return "N" + WordBytes(words.coarse) + WordBytes(words.fine) + WordBytes(words.bfo) + CR;
}

std::string ModeCommand(int mode) {
  return std::string{'M', ModeTableEntry(mode).character, CR};
}

std::string AgcCommand(int agc) {
  const char level = (agc >= 1 && agc <= 3) ? static_cast<char>('0' + agc) : '2';
  return std::string{'G', level, CR};
}

std::uint8_t VolumeLevel(int volume, bool muted) {
  if (muted) return 63;
  return static_cast<std::uint8_t>(63 - volume);
}

std::string SpeakerVolumeCommand(int volume, bool muted) {
  return std::string{'V', 0x7F, static_cast<char>(VolumeLevel(volume, muted)), CR};
}

std::string LineVolumeCommand(int volume, bool muted) {
  return std::string{'A', 0x7F, static_cast<char>(VolumeLevel(volume, muted)), CR};
}

std::string SignalStrengthQuery() { return std::string{'X', CR}; }

std::string ExitMuteCommand() { return std::string{'C', 0x7F, '6', '3', CR}; }

std::string TuningTransmission(const TuningInput& input, std::uint8_t filterCode, int agc) {
  return FilterCommand(filterCode) + TuneCommand(ComputeTuningWords(input)) + ModeCommand(input.mode) +
         AgcCommand(agc);
}

}  // namespace ondaris
