// The RX-320 wire protocol: every command byte for byte, and the tuning words against a table computed
// independently in exact arithmetic by tools/gen_tuning_cases.py (rounded to doubles where stored).

#include <gtest/gtest.h>

#include <iomanip>
#include <string>
#include <tuple>

#include "radio/Rx320Protocol.h"
#include "support/PanelFixture.h"

namespace ondaris {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

#define EXPECT_BYTES(actual, expected) EXPECT_EQ(HexBytes(actual), HexBytes(expected))

TEST(Rx320ProtocolTest, FilterModeAgcVolumeAndQueryCommands) {
  const int bandwidths[FilterCount] = {8000, 6000, 5400, 5100, 4800, 4500, 4200, 3900, 3600, 3300, 3000, 2850,
                                       2700, 2550, 2400, 2250, 2100, 1800, 1500, 1350, 1050, 750,  525,  300};
  const int codes[FilterCount] = {33, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 20, 21, 23, 25, 28, 32};
  for (int i = 0; i < FilterCount; ++i) {
    EXPECT_EQ(FilterTable[i].bandwidthHz, bandwidths[i]) << "row " << i;
    EXPECT_BYTES(FilterCommand(FilterTable[i].code), Bytes({0x57, codes[i], 0x0D})) << "row " << i;
  }
  const char* names[] = {"AM", "USB", "LSB", "CW", "AM"};
  const int factors[] = {0, 1, -1, -1, 0};
  for (int mode = 0; mode < 5; ++mode) {  // anything past CW is AM
    EXPECT_BYTES(ModeCommand(mode), Bytes({0x4D, '0' + mode % 4, 0x0D}));
    EXPECT_EQ(std::tuple(std::string(ModeTableEntry(mode).name), ModeTableEntry(mode).factor),
              std::tuple(names[mode], factors[mode]));
  }
  for (int agc = 0; agc <= 3; ++agc) EXPECT_BYTES(AgcCommand(agc), Bytes({0x47, '0' + (agc ? agc : 2), 0x0D}));
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
  TuningInput usb;
  usb.freqKHz = 15000.0;
  usb.mode = 1;
  usb.bandwidthHz = 300;
  usb.cwToneHz = 300;
  TuningInput withOffsets = usb;
  withOffsets.cwToneHz = 1000;
  withOffsets.dataBfoActive = true;
  withOffsets.dataBfoHz = 2125;
  EXPECT_EQ(ComputeTuningWords(withOffsets).bfo, ComputeTuningWords(usb).bfo);
}

struct TuningCase {
  TuningInput input;
  int coarse, fine, bfo;
};

const TuningCase GeneratedCases[] = {
#include "tuning_cases.inc"
};

TEST(Rx320ProtocolTest, TuningWordsMatchExactExtendedArithmetic) {
  ASSERT_GT(std::size(GeneratedCases), 60u);
  int failures = 0;
  for (const TuningCase& c : GeneratedCases) {
    const TuningInput& in = c.input;
    const TuningWords words = ComputeTuningWords(in);
    if (std::tie(words.coarse, words.fine, words.bfo) != std::tie(c.coarse, c.fine, c.bfo) && ++failures <= 20) {
      ADD_FAILURE() << std::setprecision(17) << in.freqKHz << " kHz mode " << in.mode << " bw " << in.bandwidthHz
                    << " pbt " << in.pbtHz << " cw " << in.cwToneHz << (in.dataBfoActive ? " data " : " ")
                    << in.dataBfoHz << " cal " << in.calSlope << "/" << in.calOffset << ": got " << words.coarse
                    << "/" << words.fine << "/" << words.bfo << ", expected " << c.coarse << "/" << c.fine << "/"
                    << c.bfo;
    }
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace ondaris
