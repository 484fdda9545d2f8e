// SysFiles/Limits1.dat and the list of twenty ranges: the byte layout,
// round trips, short and damaged files, range names and the move to the top.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>

#include "scan/LimitRanges.h"
#include "support/PanelFixture.h"

namespace ondaris {
namespace {

void Put(std::string& bytes, std::size_t offset, const std::string& hex) {
  const std::string values = BytesFromHex(hex);
  bytes.replace(offset, values.size(), values);
}

void SetInt32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void SetDouble(std::string& bytes, std::size_t offset, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 8; ++i) bytes[offset + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

LimitRange Range(double low, double high, const std::string& name, int mode = 1, int filter = 13, int step = 3,
                 int agc = 2, int pbt = 0, int speed = 2) {
  LimitRange r;
  r.Low = low;
  r.High = high;
  r.Name = name;
  r.Mode = mode;
  r.FilterIndex = filter;
  r.StepIndex = step;
  r.AGC = agc;
  r.PBT = pbt;
  r.SpeedIndex = speed;
  return r;
}

LimitRangeList VariedList() {
  LimitRangeList list;
  for (int i = 0; i < LimitRangeCount; ++i) {
    const double low = 1000.0 + 500.0 * i;
    list[i] = Range(low, low + 125.5, LimitRangeName(low, low + 125.5, '.'), i % 4, (i * 5) % 24, i % 9,
                    1 + i % 3, -2000 + 200 * i, 1 + i % 6);
  }
  list[19].Name = std::string(80, 'n');  // full capacity
  return list;
}

// ---- Layout ------------------------------------------------------------------

TEST(LimitRangesFileTest, ImageHasTheFixedSizeAndLayout) {
  LimitRangeList list;
  list[1] = Range(5900.0, 6200.0, "5900-6200", 2, 14, 3, 1, -100, 4);
  const std::string bytes = EncodeLimitRanges(list);
  ASSERT_EQ(bytes.size(), 2560u);

  std::string expected(2560, '\0');
  const std::size_t at = 128;
  Put(expected, at + 0, "00 00 00 00 00 0C B7 40");            // 5900.0
  Put(expected, at + 8, "00 00 00 00 00 38 B8 40");            // 6200.0
  Put(expected, at + 16, "09 35 39 30 30 2D 36 32 30 30");     // "5900-6200"
  Put(expected, at + 100, "02 00 00 00");                      // LSB
  Put(expected, at + 104, "0E 00 00 00");                      // filter row 14
  Put(expected, at + 108, "03 00 00 00");                      // step row 3
  Put(expected, at + 112, "01 00 00 00");                      // AGC slow
  Put(expected, at + 116, "9C FF FF FF");                      // PBT -100
  Put(expected, at + 120, "04 00 00 00");                      // speed button 4
  EXPECT_EQ(HexBytes(bytes.substr(0, 256)), HexBytes(expected.substr(0, 256)));
  EXPECT_EQ(bytes, expected);
}

TEST(LimitRangesFileTest, DefaultRecordIsUsbWithTheFirstStartSettings) {
  const LimitRange r = DefaultLimitRange();
  EXPECT_EQ(r, Range(0.0, 0.0, "", 1, 13, 3, 2, 0, 2));
  LimitRangeList list;
  list.fill(r);
  const std::string bytes = EncodeLimitRanges(list);
  EXPECT_EQ(HexBytes(bytes.substr(2432 + 100, 24)),
            "01 00 00 00 0D 00 00 00 03 00 00 00 02 00 00 00 00 00 00 00 02 00 00 00");
}

TEST(LimitRangesFileTest, NamesLongerThanTheFieldAreCut) {
  LimitRangeList list;
  list[0].Name = std::string(90, 'a');
  list[0].SpeedIndex = 3;
  const std::string bytes = EncodeLimitRanges(list);
  EXPECT_EQ(static_cast<unsigned char>(bytes[16]), 80);
  EXPECT_EQ(bytes[97], '\0');  // padding untouched
  LimitRangeList back;
  DecodeLimitRanges(bytes, back);
  EXPECT_EQ(back[0].Name, std::string(80, 'a'));
}

// ---- Round trips -------------------------------------------------------------

TEST(LimitRangesFileTest, RoundTripKeepsEveryField) {
  const LimitRangeList list = VariedList();
  const std::string bytes = EncodeLimitRanges(list);
  ASSERT_EQ(bytes.size(), LimitsFileSize);
  LimitRangeList back;
  DecodeLimitRanges(bytes, back);
  for (int i = 0; i < LimitRangeCount; ++i) EXPECT_EQ(back[i], list[i]) << i;
  EXPECT_EQ(EncodeLimitRanges(back), bytes);
}

TEST(LimitRangesFileTest, DefaultListRoundTripsUnchanged) {
  LimitRangeList list;
  list.fill(DefaultLimitRange());
  const std::string bytes = EncodeLimitRanges(list);
  LimitRangeList back;
  DecodeLimitRanges(bytes, back);
  EXPECT_EQ(back, list);
  EXPECT_EQ(EncodeLimitRanges(back), bytes);
}

// ---- Short files -------------------------------------------------------------

TEST(LimitRangesFileTest, ShortFileIsReadAsFarAsItGoes) {
  LimitRangeList fromFile;
  fromFile.fill(Range(7000.0, 7300.0, "7000-7300", 2, 14, 4, 1, 0, 5));
  const std::string file = EncodeLimitRanges(fromFile).substr(0, 2 * 128 + 16);  // two slots and a bit

  LimitRangeList list = VariedList();
  const LimitRangeList old = list;
  DecodeLimitRanges(file, list);

  EXPECT_EQ(list[0], fromFile[0]);
  EXPECT_EQ(list[1], fromFile[1]);
  EXPECT_EQ(list[2].Low, 7000.0);  // from the file
  EXPECT_EQ(list[2].High, 7300.0);
  EXPECT_EQ(list[2].Name, old[2].Name);  // beyond the end: as before
  EXPECT_EQ(list[2].SpeedIndex, old[2].SpeedIndex);
  for (int i = 3; i < LimitRangeCount; ++i) EXPECT_EQ(list[i], old[i]) << i;
}

TEST(LimitRangesFileTest, EmptyFileOverZeroSlotsLeavesFreeSlots) {
  LimitRangeList list;  // as at start-up
  DecodeLimitRanges("", list);
  for (const LimitRange& r : list) {
    EXPECT_FALSE(r.defined());
    EXPECT_EQ(r.SpeedIndex, 1);  // brought into its table
    EXPECT_EQ(r.AGC, 2);
  }
}

// ---- Damaged values ----------------------------------------------------------

struct DamageCase {
  const char* name;
  std::size_t offset;
  std::uint32_t stored;
  int expected;
};

// Offsets in the third record.
constexpr std::size_t R = 2 * 128;

const DamageCase kDamage[] = {
    {"ModeFour", R + 100, 4, 0},
    {"ModeLowByteOnly", R + 100, 0xFFFFFF01u, 1},
    {"ModeLowByte255", R + 100, 0x000000FFu, 0},
    {"FilterNegative", R + 104, 0xFFFFFFFFu, 0},
    {"FilterTooHigh", R + 104, 99, 23},
    {"StepNegative", R + 108, 0x80000000u, 0},
    {"StepTooHigh", R + 108, 9, 8},
    {"AgcZero", R + 112, 0, 2},
    {"AgcSeven", R + 112, 7, 2},
    {"PbtHigh", R + 116, 4000, 2000},
    {"PbtLow", R + 116, static_cast<std::uint32_t>(-2050), -2000},
    {"SpeedZero", R + 120, 0, 1},
    {"SpeedSeven", R + 120, 7, 6},
    {"SpeedNegative", R + 120, 0xFFFFFFF0u, 1},
};

int FieldAt(const LimitRange& r, std::size_t offset) {
  switch (offset - R) {
    case 100: return r.Mode;
    case 104: return r.FilterIndex;
    case 108: return r.StepIndex;
    case 112: return r.AGC;
    case 116: return r.PBT;
    default: return r.SpeedIndex;
  }
}

void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.name; }

class LimitRangesDamageTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(LimitRangesDamageTest, ValueOutsideItsTableIsBroughtIntoRange) {
  LimitRangeList good;
  good.fill(DefaultLimitRange());
  good[2] = Range(9400.0, 9900.0, "9400-9900", 1, 13, 3, 2, 0, 3);
  std::string bytes = EncodeLimitRanges(good);
  SetInt32(bytes, GetParam().offset, GetParam().stored);
  LimitRangeList list;
  DecodeLimitRanges(bytes, list);
  EXPECT_EQ(FieldAt(list[2], GetParam().offset), GetParam().expected);
  EXPECT_EQ(list[2].Name, "9400-9900");
  EXPECT_EQ(list[1], good[1]);
  EXPECT_EQ(list[3], good[3]);
}

INSTANTIATE_TEST_SUITE_P(Fields, LimitRangesDamageTest, ::testing::ValuesIn(kDamage),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LimitRangesFileTest, DamagedLimitsAndNameLengthAreBroughtIntoRange) {
  LimitRangeList good;
  good.fill(DefaultLimitRange());
  std::string bytes = EncodeLimitRanges(good);
  SetDouble(bytes, 0, std::numeric_limits<double>::quiet_NaN());
  SetDouble(bytes, 8, -std::numeric_limits<double>::infinity());
  bytes[16] = static_cast<char>(0xC8);  // name length 200
  bytes[17] = 'x';
  LimitRangeList list;
  DecodeLimitRanges(bytes, list);
  EXPECT_EQ(list[0].Low, 0.0);
  EXPECT_EQ(list[0].High, 0.0);
  EXPECT_EQ(list[0].Name.size(), 80u);
  EXPECT_EQ(list[0].Name[0], 'x');
}

// ---- Names and the move to the top ------------------------------------------

struct NameCase {
  double low;
  double high;
  char separator;
  const char* expected;
};

class LimitRangeNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(LimitRangeNameTest, ShortestDecimalTextJoinedByADash) {
  const NameCase& c = GetParam();
  EXPECT_EQ(LimitRangeName(c.low, c.high, c.separator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, LimitRangeNameTest,
                         ::testing::Values(NameCase{5900.0, 6200.0, '.', "5900-6200"},
                                           NameCase{9250.5, 9900.0, '.', "9250.5-9900"},
                                           NameCase{9250.5, 9900.0, ',', "9250,5-9900"},
                                           NameCase{10.0, 30000.0, '.', "10-30000"},
                                           NameCase{7000.125, 7000.125, '.', "7000.125-7000.125"},
                                           NameCase{0.1 + 0.2, 15000.001, '.', "0.3-15000.001"}));

TEST(LimitRangesListTest, SameRangeTwiceLeavesOneEntryAtTheTop) {
  LimitRangeList list;
  list.fill(DefaultLimitRange());
  PutRangeOnTop(list, Range(5900, 6200, "5900-6200", 1));
  PutRangeOnTop(list, Range(5900, 6200, "5900-6200", 3));
  EXPECT_EQ(list[0].Name, "5900-6200");
  EXPECT_EQ(list[0].Mode, 3);  // the newer settings
  for (int i = 1; i < LimitRangeCount; ++i) EXPECT_FALSE(list[i].defined()) << i;
}

TEST(LimitRangesListTest, TwentyFirstDistinctRangeDropsTheOldest) {
  LimitRangeList list;
  list.fill(DefaultLimitRange());
  for (int i = 1; i <= 21; ++i) {
    const std::string name = std::to_string(i * 100) + "-" + std::to_string(i * 100 + 50);
    PutRangeOnTop(list, Range(i * 100, i * 100 + 50, name));
  }
  EXPECT_EQ(list[0].Name, "2100-2150");
  EXPECT_EQ(list[19].Name, "200-250");
  for (const LimitRange& r : list) EXPECT_NE(r.Name, "100-150");
}

TEST(LimitRangesListTest, ARangeFromSlotThreeMovesToTheTop) {
  LimitRangeList list;
  list.fill(DefaultLimitRange());
  list[0] = Range(1000, 1100, "1000-1100");
  list[1] = Range(2000, 2100, "2000-2100");
  list[2] = Range(3000, 3100, "3000-3100");
  list[3] = Range(4000, 4100, "4000-4100");
  PutRangeOnTop(list, Range(3000, 3100, "3000-3100", 3, 23, 5, 3, 0, 6));
  EXPECT_EQ(list[0], Range(3000, 3100, "3000-3100", 3, 23, 5, 3, 0, 6));
  EXPECT_EQ(list[1].Name, "1000-1100");
  EXPECT_EQ(list[2].Name, "2000-2100");
  EXPECT_EQ(list[3].Name, "4000-4100");
  EXPECT_FALSE(list[4].defined());
}

}  // namespace
}  // namespace ondaris
