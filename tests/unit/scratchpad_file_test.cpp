// SysFiles/Scratchpad.dat: the byte layout of the 11,864-byte image, round
// trips, short files read as far as they go, and damaged values brought back
// into their tables.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string>

#include "common/AtomicFile.h"
#include "memories/Scratchpad.h"
#include "support/PanelFixture.h"

namespace ondaris {
namespace {

constexpr std::size_t ChannelsStart = 344;

std::size_t ChannelAt(int bank, int channel) {
  return ChannelsStart + (static_cast<std::size_t>(bank - 1) * 16 + channel) * 72;
}

std::string Slice(const std::string& bytes, std::size_t offset, std::size_t count) {
  return HexBytes(bytes.substr(offset, count));
}

void Put(std::string& bytes, std::size_t offset, const std::string& hex) {
  const std::string values = BytesFromHex(hex);
  bytes.replace(offset, values.size(), values);
}

// npos when equal, else the first offset where they differ.
std::size_t FirstDifference(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return std::min(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return i;
  return std::string::npos;
}

void SetInt32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void SetDouble(std::string& bytes, std::size_t offset, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 8; ++i) bytes[offset + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

// A scratchpad with something different in every field.
Scratchpad VariedPad() {
  Scratchpad pad;
  pad.CurrentBank = 7;
  for (int bank = 1; bank <= 10; ++bank) {
    pad.bankTag(bank) = "Bank tag " + std::to_string(bank);
    pad.setBankEnabled(bank, bank % 3 == 0);
    for (int ch = 0; ch < 16; ++ch) {
      ScratchpadChannel& c = pad.channel(bank, ch);
      if ((bank + ch) % 5 == 0) continue;  // some empty channels
      c.Lockout = (ch % 4 == 1) ? 1 : 0;
      c.Frequency = 100.0 + bank * 1000.0 + ch * 12.345;
      c.Tag = "Station " + std::to_string(bank) + "/" + std::to_string(ch);
      c.Mode = static_cast<std::uint8_t>(ch % 4);
      c.StepIndex = ch % 9;
      c.FilterIndex = (bank * ch) % 24;
      c.AGC = 1 + ch % 3;
      c.PBT = -2000 + 50 * ((bank * 7 + ch) % 81);
    }
  }
  pad.bankTag(10) = std::string(32, 'T');  // full capacity
  pad.channel(10, 15).Tag = std::string(32, 'z');
  return pad;
}

// ---- Layout ----------------------------------------------------------------

TEST(ScratchpadFileTest, ImageHasTheFixedSizeAndLayout) {
  Scratchpad pad;
  pad.CurrentBank = 3;
  pad.bankTag(1) = "Utility";
  pad.bankTag(3) = "SW";
  pad.setBankEnabled(2, true);
  pad.setBankEnabled(10, true);
  ScratchpadChannel& c = pad.channel(2, 5);
  c.Lockout = 1;
  c.Frequency = 5000.0;
  c.Tag = "WWV";
  c.Mode = 3;
  c.StepIndex = 8;
  c.FilterIndex = 23;
  c.AGC = 3;
  c.PBT = -150;

  const std::string bytes = EncodeScratchpad(pad);
  ASSERT_EQ(bytes.size(), 11864u);

  // The expected image, built byte by byte; everything not named is zero.
  std::string expected(11864, '\0');
  Put(expected, 0, "03 00 00 00");                  // CurrentBank
  Put(expected, 4, "07 55 74 69 6C 69 74 79");      // bank 1 tag: length 7, "Utility"
  Put(expected, 4 + 2 * 33, "02 53 57");            // bank 3 tag: "SW"
  Put(expected, 334 + 1, "01");                     // bank 2 enabled
  Put(expected, 334 + 9, "01");                     // bank 10 enabled
  const std::size_t at = ChannelAt(2, 5);
  ASSERT_EQ(at, 344u + 21u * 72u);
  Put(expected, at, "01");                          // lockout
  Put(expected, at + 8, "00 00 00 00 00 88 B3 40"); // 5000.0
  Put(expected, at + 16, "03 57 57 56");            // tag "WWV"
  Put(expected, at + 49, "03");                     // CW
  Put(expected, at + 52, "08 00 00 00");            // step index
  Put(expected, at + 56, "17 00 00 00");            // filter index 23
  Put(expected, at + 60, "03 00 00 00");            // AGC fast
  Put(expected, at + 64, "6A FF FF FF");            // PBT -150
  EXPECT_EQ(FirstDifference(bytes, expected), std::string::npos);
}

TEST(ScratchpadFileTest, FirstChannelOfBankOneFollowsTheEnableBytes) {
  Scratchpad pad;
  pad.channel(1, 0).Frequency = 5000.0;
  pad.channel(10, 15).Frequency = 5000.0;
  const std::string bytes = EncodeScratchpad(pad);
  EXPECT_EQ(Slice(bytes, 344 + 8, 8), "00 00 00 00 00 88 B3 40");
  EXPECT_EQ(Slice(bytes, 11864 - 72 + 8, 8), "00 00 00 00 00 88 B3 40");
}

TEST(ScratchpadFileTest, TagsLongerThanTheFieldAreCut) {
  Scratchpad pad;
  pad.bankTag(4) = std::string(40, 'b');
  pad.channel(1, 1).Tag = std::string(40, 'c');
  const std::string bytes = EncodeScratchpad(pad);
  EXPECT_EQ(static_cast<unsigned char>(bytes[4 + 3 * 33]), 32);
  EXPECT_EQ(static_cast<unsigned char>(bytes[ChannelAt(1, 1) + 16]), 32);
  EXPECT_EQ(bytes[ChannelAt(1, 1) + 49], '\0');  // the mode byte is not overwritten

  Scratchpad back;
  DecodeScratchpad(bytes, back);
  EXPECT_EQ(back.bankTag(4), std::string(32, 'b'));
  EXPECT_EQ(back.channel(1, 1).Tag, std::string(32, 'c'));
}

// ---- Round trips -------------------------------------------------------------

TEST(ScratchpadFileTest, RoundTripKeepsEveryField) {
  const Scratchpad pad = VariedPad();
  const std::string bytes = EncodeScratchpad(pad);
  ASSERT_EQ(bytes.size(), ScratchpadFileSize);

  Scratchpad back;
  DecodeScratchpad(bytes, back);
  EXPECT_EQ(back.CurrentBank, 7);
  EXPECT_EQ(back.BankTags, pad.BankTags);
  EXPECT_EQ(back.BankEnabled, pad.BankEnabled);
  for (int bank = 1; bank <= 10; ++bank)
    for (int ch = 0; ch < 16; ++ch) EXPECT_EQ(back.channel(bank, ch), pad.channel(bank, ch)) << bank << "/" << ch;
  EXPECT_EQ(EncodeScratchpad(back), bytes);
}

TEST(ScratchpadFileTest, AClearedScratchpadRoundTripsUnchanged) {
  // Empty channels are all zero (AGC 0 included) and stay so.
  Scratchpad pad;
  pad.channel(4, 4).Frequency = 7000.0;
  pad.channel(4, 4).AGC = 2;
  const std::string bytes = EncodeScratchpad(pad);
  Scratchpad back;
  DecodeScratchpad(bytes, back);
  EXPECT_EQ(EncodeScratchpad(back), bytes);
  EXPECT_EQ(back.channel(1, 0).AGC, 0);
}

TEST(ScratchpadFileTest, FileWrittenAndReadBackIsTheSameImage) {
  const Scratchpad pad = VariedPad();
  const std::string dir = ::testing::TempDir() + "ondaris-scratchpad-file-" + std::to_string(::getpid());
  const std::string path = dir + "/Scratchpad.dat";
  std::filesystem::create_directories(dir);
  WriteScratchpadFile(path, pad);
  const auto bytes = ReadWholeFile(path);
  std::filesystem::remove_all(dir);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(*bytes, EncodeScratchpad(pad));
}

// ---- Short files -------------------------------------------------------------

TEST(ScratchpadFileTest, EmptyFileChangesNothing) {
  Scratchpad pad = VariedPad();
  const std::string before = EncodeScratchpad(pad);
  DecodeScratchpad("", pad);
  EXPECT_EQ(EncodeScratchpad(pad), before);
}

TEST(ScratchpadFileTest, ShortFileIsReadAsFarAsItGoes) {
  // The file: bank 2 current, tags "A".."J", every bank enabled, and the first
  // three channels of bank 1 at 6000 kHz; it ends in the fourth record, just
  // after that record's frequency.
  Scratchpad fromFile;
  fromFile.CurrentBank = 2;
  for (int bank = 1; bank <= 10; ++bank) {
    fromFile.bankTag(bank) = std::string(1, static_cast<char>('A' + bank - 1));
    fromFile.setBankEnabled(bank, true);
  }
  for (int ch = 0; ch < 4; ++ch) {
    ScratchpadChannel& c = fromFile.channel(1, ch);
    c.Frequency = 6000.0;
    c.Tag = "file";
    c.Mode = 1;
    c.StepIndex = 1;
    c.FilterIndex = 1;
    c.AGC = 1;
  }
  const std::string file = EncodeScratchpad(fromFile).substr(0, ChannelAt(1, 3) + 16);

  Scratchpad pad = VariedPad();  // what memory held before
  const Scratchpad old = pad;
  DecodeScratchpad(file, pad);

  EXPECT_EQ(pad.CurrentBank, 2);
  EXPECT_EQ(pad.bankTag(5), "E");
  EXPECT_EQ(pad.enabledBankCount(), 10);
  for (int ch = 0; ch < 3; ++ch) EXPECT_EQ(pad.channel(1, ch), fromFile.channel(1, ch)) << ch;
  // The fourth record: lockout and frequency from the file, the rest as it was.
  const ScratchpadChannel& fourth = pad.channel(1, 3);
  EXPECT_EQ(fourth.Lockout, 0);
  EXPECT_EQ(fourth.Frequency, 6000.0);
  EXPECT_EQ(fourth.Tag, old.channel(1, 3).Tag);
  EXPECT_EQ(fourth.FilterIndex, old.channel(1, 3).FilterIndex);
  EXPECT_EQ(fourth.PBT, old.channel(1, 3).PBT);
  // Everything after it keeps its value.
  for (int bank = 1; bank <= 10; ++bank)
    for (int ch = (bank == 1 ? 4 : 0); ch < 16; ++ch)
      EXPECT_EQ(pad.channel(bank, ch), old.channel(bank, ch)) << bank << "/" << ch;
}

TEST(ScratchpadFileTest, FileEndingAfterTheEnableBytesKeepsEveryChannel) {
  Scratchpad fromFile;
  fromFile.CurrentBank = 9;
  fromFile.bankTag(9) = "Nine";
  const std::string file = EncodeScratchpad(fromFile).substr(0, 344);
  Scratchpad pad = VariedPad();
  const Scratchpad old = pad;
  DecodeScratchpad(file, pad);
  EXPECT_EQ(pad.CurrentBank, 9);
  EXPECT_EQ(pad.bankTag(9), "Nine");
  EXPECT_EQ(pad.bankTag(10), "");
  EXPECT_EQ(pad.enabledBankCount(), 0);
  EXPECT_EQ(pad.Banks, old.Banks);
}

TEST(ScratchpadFileTest, BytesBeyondTheImageAreIgnored) {
  const Scratchpad pad = VariedPad();
  Scratchpad back;
  DecodeScratchpad(EncodeScratchpad(pad) + std::string(100, '\x7F'), back);
  EXPECT_EQ(EncodeScratchpad(back), EncodeScratchpad(pad));
}

// ---- Damaged values ----------------------------------------------------------

struct BankCase {
  std::uint32_t stored;
  int expected;
};

class ScratchpadBankNumberTest : public ::testing::TestWithParam<BankCase> {};

TEST_P(ScratchpadBankNumberTest, CurrentBankIsBroughtIntoOneToTen) {
  std::string bytes = EncodeScratchpad(Scratchpad{});
  SetInt32(bytes, 0, GetParam().stored);
  Scratchpad pad;
  DecodeScratchpad(bytes, pad);
  EXPECT_EQ(pad.CurrentBank, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ScratchpadBankNumberTest,
                         ::testing::Values(BankCase{1, 1}, BankCase{10, 10}, BankCase{5, 5}, BankCase{0, 1},
                                           BankCase{11, 10}, BankCase{0xFFFFFFFBu /* -5 */, 1},
                                           BankCase{0x7FFFFFFFu, 10}, BankCase{0x80000000u, 1}));

struct DamageCase {
  const char* name;
  void (*damage)(std::string& record);  // writes into a 72-byte record that holds 9000 kHz
  void (*check)(const ScratchpadChannel& c);
};

const DamageCase kDamage[] = {
    {"ModeAboveCw", [](std::string& r) { r[49] = 4; }, [](const ScratchpadChannel& c) { EXPECT_EQ(c.Mode, 0); }},
    {"Mode255", [](std::string& r) { r[49] = static_cast<char>(0xFF); },
     [](const ScratchpadChannel& c) { EXPECT_EQ(c.Mode, 0); }},
    {"ModeLsbKept", [](std::string& r) { r[49] = 2; }, [](const ScratchpadChannel& c) { EXPECT_EQ(c.Mode, 2); }},
    {"StepNegative", [](std::string& r) { SetInt32(r, 52, 0xFFFFFFFFu); },
     [](const ScratchpadChannel& c) { EXPECT_EQ(c.StepIndex, 0); }},
    {"StepTooHigh", [](std::string& r) { SetInt32(r, 52, 9); },
     [](const ScratchpadChannel& c) { EXPECT_EQ(c.StepIndex, 8); }},
    {"StepHuge", [](std::string& r) { SetInt32(r, 52, 0x7FFFFFFFu); },
     [](const ScratchpadChannel& c) { EXPECT_EQ(c.StepIndex, 8); }},
    {"FilterNegative", [](std::string& r) { SetInt32(r, 56, 0xFFFFFFFDu); },
     [](const ScratchpadChannel& c) { EXPECT_EQ(c.FilterIndex, 0); }},
    {"FilterTooHigh", [](std::string& r) { SetInt32(r, 56, 24); },
     [](const ScratchpadChannel& c) { EXPECT_EQ(c.FilterIndex, 23); }},
    {"AgcZero", [](std::string& r) { SetInt32(r, 60, 0); }, [](const ScratchpadChannel& c) { EXPECT_EQ(c.AGC, 2); }},
    {"AgcFour", [](std::string& r) { SetInt32(r, 60, 4); }, [](const ScratchpadChannel& c) { EXPECT_EQ(c.AGC, 2); }},
    {"AgcSlowKept", [](std::string& r) { SetInt32(r, 60, 1); },
     [](const ScratchpadChannel& c) { EXPECT_EQ(c.AGC, 1); }},
    {"PbtTooHigh", [](std::string& r) { SetInt32(r, 64, 5000); },
     [](const ScratchpadChannel& c) { EXPECT_EQ(c.PBT, 2000); }},
    {"PbtTooLow", [](std::string& r) { SetInt32(r, 64, static_cast<std::uint32_t>(-99999)); },
     [](const ScratchpadChannel& c) { EXPECT_EQ(c.PBT, -2000); }},
    {"LockoutSeven", [](std::string& r) { r[0] = 7; }, [](const ScratchpadChannel& c) { EXPECT_EQ(c.Lockout, 1); }},
    {"TagLengthTooLong", [](std::string& r) { r[16] = static_cast<char>(200); },
     [](const ScratchpadChannel& c) {
       EXPECT_EQ(c.Tag.size(), 32u);
       EXPECT_EQ(c.Tag.substr(0, 4), "Good");
     }},
    {"FrequencyNaN", [](std::string& r) { SetDouble(r, 8, std::numeric_limits<double>::quiet_NaN()); },
     [](const ScratchpadChannel& c) { EXPECT_EQ(c.Frequency, 0.0); }},
    {"FrequencyInfinite", [](std::string& r) { SetDouble(r, 8, std::numeric_limits<double>::infinity()); },
     [](const ScratchpadChannel& c) { EXPECT_EQ(c.Frequency, 0.0); }},
};

void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.name; }

class ScratchpadDamageTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(ScratchpadDamageTest, ValueOutsideItsTableIsBroughtIntoRange) {
  Scratchpad good;
  ScratchpadChannel& c = good.channel(6, 9);
  c.Frequency = 9000.0;
  c.Tag = "Good tag";
  c.Mode = 1;
  c.StepIndex = 4;
  c.FilterIndex = 13;
  c.AGC = 3;
  c.PBT = 100;
  std::string bytes = EncodeScratchpad(good);
  std::string record = bytes.substr(ChannelAt(6, 9), 72);
  GetParam().damage(record);
  bytes.replace(ChannelAt(6, 9), 72, record);

  Scratchpad pad;
  DecodeScratchpad(bytes, pad);
  GetParam().check(pad.channel(6, 9));
  // The neighbours are untouched.
  EXPECT_TRUE(pad.channel(6, 8).empty());
  EXPECT_TRUE(pad.channel(6, 10).empty());
}

INSTANTIATE_TEST_SUITE_P(Fields, ScratchpadDamageTest, ::testing::ValuesIn(kDamage),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScratchpadFileTest, DamagedBankFieldsAreBroughtIntoRange) {
  std::string bytes = EncodeScratchpad(Scratchpad{});
  bytes[4 + 33 * 2] = static_cast<char>(0xFF);  // bank 3 tag length 255
  bytes[334] = 2;                                // bank 1 enable byte 2
  bytes[335] = 1;                                // bank 2 enabled
  bytes[343] = static_cast<char>(0xFF);          // bank 10 enable byte 255
  Scratchpad pad;
  DecodeScratchpad(bytes, pad);
  EXPECT_EQ(pad.bankTag(3).size(), 32u);
  EXPECT_EQ(pad.BankEnabled[0], 0);
  EXPECT_EQ(pad.BankEnabled[1], 1);
  EXPECT_EQ(pad.BankEnabled[9], 0);
  EXPECT_EQ(pad.lowestEnabledBank(), 2);
}

TEST(ScratchpadFileTest, EmptyChannelsKeepTheirOtherFieldsAsRead) {
  // Clearing a memory leaves its settings in the record; they are never used.
  std::string bytes = EncodeScratchpad(Scratchpad{});
  const std::size_t at = ChannelAt(2, 2);
  bytes[at + 49] = 9;
  SetInt32(bytes, at + 60, 0);
  Scratchpad pad;
  DecodeScratchpad(bytes, pad);
  EXPECT_EQ(pad.channel(2, 2).Mode, 9);
  EXPECT_EQ(pad.channel(2, 2).AGC, 0);
  EXPECT_EQ(EncodeScratchpad(pad), bytes);
}

// ---- Helpers for the scan engine ---------------------------------------------

TEST(ScratchpadTest, ScannableChannelsNeedAnEnabledBankAFrequencyAndNoLockout) {
  Scratchpad pad;
  EXPECT_FALSE(pad.hasScannableChannel());
  EXPECT_EQ(pad.lowestEnabledBank(), 0);

  pad.channel(3, 7).Frequency = 6000.0;
  EXPECT_FALSE(pad.hasScannableChannel());  // bank 3 not enabled
  pad.setBankEnabled(3, true);
  EXPECT_TRUE(pad.hasScannableChannel());
  EXPECT_EQ(pad.lowestEnabledBank(), 3);
  pad.channel(3, 7).Lockout = 1;
  EXPECT_FALSE(pad.hasScannableChannel());
  pad.channel(3, 8).Frequency = 50.0;  // cannot be tuned, but scan may stop on it
  EXPECT_TRUE(pad.hasScannableChannel());
  pad.setBankEnabled(1, true);
  EXPECT_EQ(pad.lowestEnabledBank(), 1);
  EXPECT_EQ(pad.enabledBankCount(), 2);
}

TEST(ScratchpadTest, TunableRangeIsOneHundredToThirtyThousand) {
  ScratchpadChannel c;
  for (double f : {100.0, 5000.0, 30000.0}) {
    c.Frequency = f;
    EXPECT_TRUE(c.tunable()) << f;
  }
  for (double f : {0.0, 50.0, 99.999, 30000.001, -5000.0}) {
    c.Frequency = f;
    EXPECT_FALSE(c.tunable()) << f;
  }
}

TEST(ScratchpadTest, BankAndChannelNumbersOutsideTheirRangeAreRefused) {
  Scratchpad pad;
  EXPECT_THROW(pad.channel(0, 0), std::out_of_range);
  EXPECT_THROW(pad.channel(11, 0), std::out_of_range);
  EXPECT_THROW(pad.channel(1, 16), std::out_of_range);
  EXPECT_THROW(pad.channel(1, -1), std::out_of_range);
  EXPECT_THROW(pad.bankTag(0), std::out_of_range);
  EXPECT_NO_THROW(pad.channel(10, 15));
}

TEST(ScratchpadTest, ResetEmptiesTagsAndRecordsButNotTheBankChoice) {
  Scratchpad pad = VariedPad();
  pad.Reset();
  EXPECT_EQ(pad.CurrentBank, 7);
  EXPECT_EQ(pad.enabledBankCount(), 3);
  for (int bank = 1; bank <= 10; ++bank) {
    EXPECT_EQ(pad.bankTag(bank), "");
    for (int ch = 0; ch < 16; ++ch) EXPECT_EQ(pad.channel(bank, ch), ScratchpadChannel{});
  }
}

}  // namespace
}  // namespace ondaris
