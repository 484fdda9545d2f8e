// SysFiles/Scratchpad.dat: the byte layout of the 11,864-byte image, round
// trips, short files read as far as they go, and damaged values brought back
// into their tables; the scratchpad's own checks.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <tuple>

#include "memories/Scratchpad.h"
#include "support/ByteEdit.h"

namespace ondaris {
namespace {

std::size_t ChannelAt(int bank, int channel) { return 344 + (static_cast<std::size_t>(bank - 1) * 16 + channel) * 72; }

// Everything the file holds, to compare scratchpads whole.
auto Held(const Scratchpad& pad) { return std::make_tuple(pad.CurrentBank, pad.BankTags, pad.BankEnabled, pad.Banks); }

// A scratchpad with something different in every field.
Scratchpad VariedPad() {
  Scratchpad pad;
  pad.CurrentBank = 7;
  for (int bank = 1; bank <= 10; ++bank) {
    pad.bankTag(bank) = "Bank tag " + std::to_string(bank);
    pad.setBankEnabled(bank, bank % 3 == 0);
    for (int ch = 0; ch < 16; ++ch) {
      if ((bank + ch) % 5 == 0) continue;  // some empty channels
      pad.channel(bank, ch) = ScratchpadChannel{static_cast<std::uint8_t>(ch % 4 == 1 ? 1 : 0),
                                                100.0 + bank * 1000.0 + ch * 12.345,
                                                "Station " + std::to_string(bank) + "/" + std::to_string(ch),
                                                static_cast<std::uint8_t>(ch % 4), ch % 9, (bank * ch) % 24,
                                                1 + ch % 3, -2000 + 50 * ((bank * 7 + ch) % 81)};
    }
  }
  pad.bankTag(10) = std::string(32, 'T');  // full capacity
  pad.channel(10, 15).Tag = std::string(32, 'z');
  return pad;
}

TEST(ScratchpadFileTest, ImageHasTheFixedSizeAndLayout) {
  Scratchpad pad;
  pad.CurrentBank = 3;
  pad.bankTag(1) = "Utility";
  pad.bankTag(3) = "SW";
  pad.bankTag(4) = std::string(40, 'b');  // cut to the field
  pad.setBankEnabled(2, true);
  pad.setBankEnabled(10, true);
  pad.channel(2, 5) = ScratchpadChannel{1, 5000.0, "WWV", 3, 8, 23, 3, -150};
  pad.channel(1, 0).Frequency = 5000.0;
  pad.channel(1, 1).Tag = std::string(40, 'c');
  pad.channel(10, 15).Frequency = 5000.0;
  const std::string bytes = EncodeScratchpad(pad);
  ASSERT_EQ(bytes.size(), 11864u);

  // Everything not named is zero.
  std::string expected(11864, '\0');
  PutHex(expected, 0, "03 00 00 00 07 55 74 69 6C 69 74 79");  // CurrentBank; bank 1 tag "Utility"
  PutHex(expected, 4 + 2 * 33, "02 53 57");                    // bank 3 tag "SW"
  expected[4 + 3 * 33] = 32;
  expected.replace(4 + 3 * 33 + 1, 32, std::string(32, 'b'));
  PutHex(expected, 334 + 1, "01");  // bank 2 enabled
  PutHex(expected, 334 + 9, "01");  // bank 10 enabled
  const std::size_t at = ChannelAt(2, 5);
  ASSERT_EQ(at, 344u + 21u * 72u);
  PutHex(expected, at, "01");                                        // lockout
  PutHex(expected, at + 8, "00 00 00 00 00 88 B3 40 03 57 57 56");   // 5000.0, tag "WWV"
  PutHex(expected, at + 49, "03 00 00 08 00 00 00 17 00 00 00 03 00 00 00 6A FF FF FF");  // CW, 8, 23, fast, -150
  PutHex(expected, 344 + 8, "00 00 00 00 00 88 B3 40");
  PutHex(expected, 11864 - 72 + 8, "00 00 00 00 00 88 B3 40");
  expected[ChannelAt(1, 1) + 16] = 32;  // the mode byte after the tag is not overwritten
  expected.replace(ChannelAt(1, 1) + 17, 32, std::string(32, 'c'));
  EXPECT_EQ(HexBytes(bytes), HexBytes(expected));
}

TEST(ScratchpadFileTest, RoundTripsKeepEveryField) {
  // Empty channels are all zero (AGC 0 included) and stay so.
  Scratchpad cleared;
  cleared.channel(4, 4) = ScratchpadChannel{0, 7000.0, "", 0, 0, 0, 2, 0};
  for (const Scratchpad& pad : {VariedPad(), cleared}) {
    const std::string bytes = EncodeScratchpad(pad);
    ASSERT_EQ(bytes.size(), ScratchpadFileSize);
    Scratchpad back;
    back.CurrentBank = 4;
    DecodeScratchpad(bytes + std::string(100, '\x7F'), back);  // bytes beyond the image are ignored
    EXPECT_EQ(Held(back), Held(pad));
    EXPECT_EQ(EncodeScratchpad(back), bytes);
  }
}

TEST(ScratchpadFileTest, ShortFilesAreReadAsFarAsTheyGo) {
  // The file: bank 2 current, tags "A".."J", every bank enabled, and the first
  // four channels of bank 1 at 6000 kHz.
  Scratchpad fromFile;
  fromFile.CurrentBank = 2;
  for (int bank = 1; bank <= 10; ++bank) {
    fromFile.bankTag(bank) = std::string(1, static_cast<char>('A' + bank - 1));
    fromFile.setBankEnabled(bank, true);
  }
  for (int ch = 0; ch < 4; ++ch) fromFile.channel(1, ch) = ScratchpadChannel{0, 6000.0, "file", 1, 1, 1, 1, 0};
  const std::string image = EncodeScratchpad(fromFile);
  const Scratchpad old = VariedPad();  // what memory held before

  Scratchpad pad = old;
  DecodeScratchpad("", pad);
  EXPECT_EQ(Held(pad), Held(old));

  // Ending in the fourth record, just after its frequency: lockout and frequency from the file, the rest as it was.
  DecodeScratchpad(image.substr(0, ChannelAt(1, 3) + 16), pad);
  Scratchpad expected = old;
  expected.CurrentBank = 2;
  expected.BankTags = fromFile.BankTags;
  expected.BankEnabled = fromFile.BankEnabled;
  for (int ch = 0; ch < 3; ++ch) expected.channel(1, ch) = fromFile.channel(1, ch);
  expected.channel(1, 3).Lockout = 0;
  expected.channel(1, 3).Frequency = 6000.0;
  EXPECT_EQ(Held(pad), Held(expected));

  // Ending after the enable bytes, which an empty tag and cleared flags overwrite: every channel kept.
  pad = old;
  fromFile.bankTag(10) = "";
  fromFile.BankEnabled.fill(0);
  DecodeScratchpad(EncodeScratchpad(fromFile).substr(0, 344), pad);
  expected = old;
  expected.CurrentBank = 2;
  expected.BankTags = fromFile.BankTags;
  expected.BankEnabled = fromFile.BankEnabled;
  EXPECT_EQ(Held(pad), Held(expected));
}

TEST(ScratchpadFileTest, DamagedValuesAreBroughtIntoTheirTables) {
  const std::pair<std::uint32_t, int> banks[] = {{1, 1},  {10, 10},          {5, 5},           {0, 1},
                                                 {11, 10}, {0xFFFFFFFBu, 1}, {0x7FFFFFFFu, 10}, {0x80000000u, 1}};
  for (const auto& [stored, expected] : banks) {
    std::string bytes = EncodeScratchpad(Scratchpad{});
    PutInt32(bytes, 0, stored);
    Scratchpad pad;
    DecodeScratchpad(bytes, pad);
    EXPECT_EQ(pad.CurrentBank, expected) << stored;
  }

  // Each damages a record that holds 9000 kHz, "Good tag", USB, step 4,
  // filter 13, AGC fast, PBT 100; the field read back is compared.
  using Damage = void (*)(std::string&);
  const struct {
    const char* name;
    Damage damage;
    ScratchpadChannel expected;
  } cases[] = {
      {"mode above CW", [](std::string& r) { r[49] = 4; }, {0, 9000, "Good tag", 0, 4, 13, 3, 100}},
      {"mode 255", [](std::string& r) { r[49] = '\xFF'; }, {0, 9000, "Good tag", 0, 4, 13, 3, 100}},
      {"LSB kept", [](std::string& r) { r[49] = 2; }, {0, 9000, "Good tag", 2, 4, 13, 3, 100}},
      {"step -1", [](std::string& r) { PutInt32(r, 52, 0xFFFFFFFFu); }, {0, 9000, "Good tag", 1, 0, 13, 3, 100}},
      {"step 9", [](std::string& r) { PutInt32(r, 52, 9); }, {0, 9000, "Good tag", 1, 8, 13, 3, 100}},
      {"step huge", [](std::string& r) { PutInt32(r, 52, 0x7FFFFFFFu); }, {0, 9000, "Good tag", 1, 8, 13, 3, 100}},
      {"filter -3", [](std::string& r) { PutInt32(r, 56, 0xFFFFFFFDu); }, {0, 9000, "Good tag", 1, 4, 0, 3, 100}},
      {"filter 24", [](std::string& r) { PutInt32(r, 56, 24); }, {0, 9000, "Good tag", 1, 4, 23, 3, 100}},
      {"AGC 0", [](std::string& r) { PutInt32(r, 60, 0); }, {0, 9000, "Good tag", 1, 4, 13, 2, 100}},
      {"AGC 4", [](std::string& r) { PutInt32(r, 60, 4); }, {0, 9000, "Good tag", 1, 4, 13, 2, 100}},
      {"AGC slow kept", [](std::string& r) { PutInt32(r, 60, 1); }, {0, 9000, "Good tag", 1, 4, 13, 1, 100}},
      {"PBT 5000", [](std::string& r) { PutInt32(r, 64, 5000); }, {0, 9000, "Good tag", 1, 4, 13, 3, 2000}},
      {"PBT -99999", [](std::string& r) { PutInt32(r, 64, static_cast<std::uint32_t>(-99999)); },
       {0, 9000, "Good tag", 1, 4, 13, 3, -2000}},
      {"lockout 7", [](std::string& r) { r[0] = 7; }, {1, 9000, "Good tag", 1, 4, 13, 3, 100}},
      {"tag length 200", [](std::string& r) { r[16] = '\xC8'; },
       {0, 9000, "Good tag" + std::string(24, '\0'), 1, 4, 13, 3, 100}},
      {"NaN", [](std::string& r) { PutDouble(r, 8, std::numeric_limits<double>::quiet_NaN()); },
       {0, 0, "Good tag", 1, 4, 13, 3, 100}},
      {"infinite", [](std::string& r) { PutDouble(r, 8, std::numeric_limits<double>::infinity()); },
       {0, 0, "Good tag", 1, 4, 13, 3, 100}},
  };
  Scratchpad good;
  good.channel(6, 9) = ScratchpadChannel{0, 9000.0, "Good tag", 1, 4, 13, 3, 100};
  for (const auto& c : cases) {
    std::string bytes = EncodeScratchpad(good);
    std::string record = bytes.substr(ChannelAt(6, 9), 72);
    c.damage(record);
    bytes.replace(ChannelAt(6, 9), 72, record);
    Scratchpad pad;
    DecodeScratchpad(bytes, pad);
    EXPECT_EQ(pad.channel(6, 9), c.expected) << c.name;
    EXPECT_TRUE(pad.channel(6, 8).empty() && pad.channel(6, 10).empty()) << c.name;
  }

  std::string bytes = EncodeScratchpad(Scratchpad{});
  bytes[4 + 33 * 2] = '\xFF';  // bank 3 tag length 255
  bytes[334] = 2;              // bank 1 enable byte 2
  bytes[335] = 1;              // bank 2 enabled
  bytes[343] = '\xFF';         // bank 10 enable byte 255
  // Clearing a memory leaves its settings in the record; an empty channel keeps them as read.
  bytes[ChannelAt(2, 2) + 49] = 9;
  Scratchpad pad;
  DecodeScratchpad(bytes, pad);
  EXPECT_EQ(pad.bankTag(3).size(), 32u);
  EXPECT_EQ(pad.BankEnabled, (std::array<std::uint8_t, 10>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(pad.lowestEnabledBank(), 2);
  EXPECT_EQ(pad.channel(2, 2), (ScratchpadChannel{0, 0, "", 9, 0, 0, 0, 0}));
}

TEST(ScratchpadTest, ScannableTunableAndCheckedNumbers) {
  Scratchpad pad;
  EXPECT_FALSE(pad.hasScannableChannel());
  EXPECT_EQ(pad.lowestEnabledBank(), 0);
  pad.channel(3, 7).Frequency = 6000.0;
  EXPECT_FALSE(pad.hasScannableChannel());  // bank 3 not enabled
  pad.setBankEnabled(3, true);
  EXPECT_TRUE(pad.hasScannableChannel());
  pad.channel(3, 7).Lockout = 1;
  EXPECT_FALSE(pad.hasScannableChannel());
  pad.channel(3, 8).Frequency = 50.0;  // cannot be tuned, but scan may stop on it
  EXPECT_TRUE(pad.hasScannableChannel());
  pad.setBankEnabled(1, true);
  EXPECT_EQ(pad.lowestEnabledBank(), 1);
  EXPECT_EQ(pad.enabledBankCount(), 2);

  ScratchpadChannel c;
  for (double f : {100.0, 5000.0, 30000.0, 0.0, 50.0, 99.999, 30000.001, -5000.0}) {
    c.Frequency = f;
    EXPECT_EQ(c.tunable(), f >= 100.0 && f <= 30000.0) << f;
  }
  const Scratchpad& seen = pad;  // both overloads reach the same record and check
  EXPECT_EQ(&seen.channel(10, 15), &pad.Banks[9][15]);
  for (const auto& [bank, ch] : {std::pair{0, 0}, {11, 0}, {1, 16}, {1, -1}}) {
    EXPECT_THROW(pad.channel(bank, ch), std::out_of_range) << bank << "/" << ch;
    EXPECT_THROW(seen.channel(bank, ch), std::out_of_range) << bank << "/" << ch;
  }
  EXPECT_THROW(pad.bankTag(0), std::out_of_range);
  EXPECT_THROW(seen.bankTag(11), std::out_of_range);

  // Reset empties tags and records but keeps the bank choice.
  pad = VariedPad();
  pad.Reset();
  Scratchpad expected;
  expected.CurrentBank = 7;
  expected.BankEnabled = VariedPad().BankEnabled;
  EXPECT_EQ(Held(pad), Held(expected));
}

}  // namespace
}  // namespace ondaris
