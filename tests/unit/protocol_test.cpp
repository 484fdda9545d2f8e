// The RX-320 wire protocol: every command byte for byte, and the tuning words
// against a table computed independently in exact arithmetic by
// tools/gen_tuning_cases.py (extended precision with rounding to doubles where
// the values are stored).

#include <gtest/gtest.h>

#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "radio/Rx320Protocol.h"

namespace ondaris {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

std::string Hex(const std::string& bytes) {
  std::ostringstream out;
  for (unsigned char c : bytes) out << std::hex << std::uppercase << std::setw(2) << std::setfill('0') << int(c) << ' ';
  return out.str();
}

#define EXPECT_BYTES(actual, expected) EXPECT_EQ(Hex(actual), Hex(expected))

TuningInput Input(double freq, int mode, int filterIndex, int pbt, int cwTone = 700) {
  TuningInput in;
  in.freqKHz = freq;
  in.mode = mode;
  in.bandwidthHz = FilterTable[filterIndex].bandwidthHz;
  in.pbtHz = pbt;
  in.cwToneHz = cwTone;
  return in;
}

struct TuneExample {
  const char* name;
  TuningInput input;
  int coarse, fine, bfo;
  std::string bytes;
};

TEST(Rx320ProtocolTest, TuneCommandExamples) {
  const TuneExample examples[] = {
      {"10000 kHz AM 6000 Hz", Input(10000.0, 0, 1, 0), 21999, 6824, 30576,
       Bytes({0x4E, 0x55, 0xEF, 0x1A, 0xA8, 0x77, 0x70, 0x0D})},
      {"10000 kHz USB 2550 Hz", Input(10000.0, 1, 13, 0), 22000, 1228, 25866,
       Bytes({0x4E, 0x55, 0xF0, 0x04, 0xCC, 0x65, 0x0A, 0x0D})},
      {"7000.5 kHz LSB 2400 Hz PBT +100", Input(7000.5, 2, 14, 100), 20799, 1364, 25935,
       Bytes({0x4E, 0x51, 0x3F, 0x05, 0x54, 0x65, 0x4F, 0x0D})},
      {"9575 kHz CW 300 Hz tone 700", Input(9575.0, 3, 23, 0, 700), 21829, 6825, 23751,
       Bytes({0x4E, 0x55, 0x45, 0x1A, 0xA9, 0x5C, 0xC7, 0x0D})},
  };
  for (const auto& e : examples) {
    SCOPED_TRACE(e.name);
    const TuningWords words = ComputeTuningWords(e.input);
    EXPECT_EQ(words.coarse, e.coarse);
    EXPECT_EQ(words.fine, e.fine);
    EXPECT_EQ(words.bfo, e.bfo);
    EXPECT_BYTES(TuneCommand(words), e.bytes);
  }
}

TEST(Rx320ProtocolTest, FilterModeAgcVolumeAndQueryCommands) {
  const int bandwidths[FilterCount] = {8000, 6000, 5400, 5100, 4800, 4500, 4200, 3900, 3600, 3300, 3000, 2850,
                                       2700, 2550, 2400, 2250, 2100, 1800, 1500, 1350, 1050, 750,  525,  300};
  const int codes[FilterCount] = {33, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 20, 21, 23, 25, 28, 32};
  for (int i = 0; i < FilterCount; ++i) {
    EXPECT_EQ(FilterTable[i].bandwidthHz, bandwidths[i]) << "row " << i;
    EXPECT_BYTES(FilterCommand(FilterTable[i].code), Bytes({0x57, codes[i], 0x0D})) << "row " << i;
  }
  const char* names[] = {"AM", "USB", "LSB", "CW"};
  const int factors[] = {0, 1, -1, -1};
  for (int mode = 0; mode < 4; ++mode) {
    EXPECT_BYTES(ModeCommand(mode), Bytes({0x4D, '0' + mode, 0x0D}));
    EXPECT_STREQ(ModeTableEntry(mode).name, names[mode]);
    EXPECT_EQ(ModeTableEntry(mode).factor, factors[mode]);
  }
  for (int agc = 1; agc <= 3; ++agc) EXPECT_BYTES(AgcCommand(agc), Bytes({0x47, '0' + agc, 0x0D}));
  const struct {
    int volume;
    bool muted;
    int level;
  } volumes[] = {{63, false, 0}, {13, false, 50}, {30, false, 33}, {40, true, 63}, {63, true, 63}};
  for (const auto& c : volumes) {
    SCOPED_TRACE(::testing::Message() << "volume " << c.volume << (c.muted ? " muted" : ""));
    EXPECT_EQ(VolumeLevel(c.volume, c.muted), c.level);
    EXPECT_BYTES(SpeakerVolumeCommand(c.volume, c.muted), Bytes({0x56, 0x7F, c.level, 0x0D}));
    EXPECT_BYTES(LineVolumeCommand(c.volume, c.muted), Bytes({0x41, 0x7F, c.level, 0x0D}));
  }
  EXPECT_BYTES(SignalStrengthQuery(), Bytes({0x58, 0x0D}));
  EXPECT_BYTES(ExitMuteCommand(), Bytes({0x43, 0x7F, 0x36, 0x33, 0x0D}));
}

// The table covers the data offset in CW; outside CW neither offset counts.
TEST(Rx320ProtocolTest, OnlyCwUsesTheToneAndTheDataOffset) {
  TuningInput in = Input(15000.0, 1, 23, 0, 1000);
  in.dataBfoHz = 2125;
  in.dataBfoActive = true;
  EXPECT_EQ(ComputeTuningWords(in).bfo, ComputeTuningWords(Input(15000.0, 1, 23, 0, 300)).bfo);
}

struct TuningCase {
  double freqKHz;
  int mode;
  int bandwidthHz;
  int pbtHz;
  int cwToneHz;
  bool dataBfoActive;
  int dataBfoHz;
  double calSlope;
  double calOffset;
  int coarse;
  int fine;
  int bfo;
};

const TuningCase GeneratedCases[] = {
#include "tuning_cases.inc"
};

TEST(Rx320ProtocolTest, TuningWordsMatchExactExtendedArithmetic) {
  ASSERT_GT(std::size(GeneratedCases), 60u);
  int failures = 0;
  for (const TuningCase& c : GeneratedCases) {
    TuningInput in;
    in.freqKHz = c.freqKHz;
    in.mode = c.mode;
    in.bandwidthHz = c.bandwidthHz;
    in.pbtHz = c.pbtHz;
    in.cwToneHz = c.cwToneHz;
    in.dataBfoActive = c.dataBfoActive;
    in.dataBfoHz = c.dataBfoHz;
    in.calSlope = c.calSlope;
    in.calOffset = c.calOffset;
    const TuningWords words = ComputeTuningWords(in);
    const bool same = words.coarse == c.coarse && words.fine == c.fine && words.bfo == c.bfo;
    if (!same && ++failures <= 20) {
      ADD_FAILURE() << std::setprecision(17) << c.freqKHz << " kHz mode " << c.mode << " bw " << c.bandwidthHz
                    << " pbt " << c.pbtHz << " cw " << c.cwToneHz << (c.dataBfoActive ? " data " : " ")
                    << c.dataBfoHz << " cal " << c.calSlope << "/" << c.calOffset << ": got " << words.coarse << "/"
                    << words.fine << "/" << words.bfo << ", expected " << c.coarse << "/" << c.fine << "/" << c.bfo;
    }
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace ondaris
