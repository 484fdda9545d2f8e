#pragma once
// The RX-320's wire protocol: every byte string the program sends, and the
// tuning-word arithmetic. Nothing else in the program builds receiver bytes.
//
// Commands are std::string values used as byte strings of explicit length:
// a zero byte (filter code 0, a zero tuning byte) is data, never an end.

#include <array>
#include <cstdint>
#include <string>

namespace ondaris {

enum class Mode : std::uint8_t { AM = 0, USB = 1, LSB = 2, CW = 3 };

struct ModeInfo {
  const char* name;     // "AM", "USB", "LSB", "CW"
  char character;       // argument of the M command
  int factor;           // sign of the sideband offset in the tuning words
};
const ModeInfo& ModeTableEntry(int mode);  // mode 0..3; anything else is AM

struct FilterInfo {
  int bandwidthHz;
  std::uint8_t code;  // the byte the receiver expects, not the index
};
constexpr int FilterCount = 24;
extern const std::array<FilterInfo, FilterCount> FilterTable;  // 0 = 8000 Hz .. 23 = 300 Hz

// What the tuning words are computed from.
struct TuningInput {
  double freqKHz = 0;
  int mode = 0;
  int bandwidthHz = 0;
  int pbtHz = 0;
  int cwToneHz = 700;
  bool dataBfoActive = false;
  int dataBfoHz = 0;
  double calSlope = 0;   // Hz per MHz
  double calOffset = 0;  // Hz
};

struct TuningWords {
  int coarse = 0;  // as sent, i.e. already + 18000
  int fine = 0;
  int bfo = 0;
};

TuningWords ComputeTuningWords(const TuningInput& input);

// Single commands, each with its own CR.
std::string FilterCommand(std::uint8_t filterCode);
std::string TuneCommand(const TuningWords& words);
std::string ModeCommand(int mode);
std::string AgcCommand(int agc);  // 1 slow, 2 medium, 3 fast
std::string SpeakerVolumeCommand(int volume, bool muted);  // volume 13..63
std::string LineVolumeCommand(int volume, bool muted);
std::string SignalStrengthQuery();
std::string ExitMuteCommand();

// Level byte of the volume commands: 63 - volume, or 63 when muted.
std::uint8_t VolumeLevel(int volume, bool muted);

// The four commands of one tuning, in the order they go out: filter, tune, mode, AGC.
std::string TuningTransmission(const TuningInput& input, std::uint8_t filterCode, int agc);

}  // namespace ondaris
