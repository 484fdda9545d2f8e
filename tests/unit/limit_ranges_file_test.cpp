// SysFiles/Limits1.dat and the list of twenty ranges: the byte layout,
// round trips, short and damaged files, range names and the move to the top.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "scan/LimitRanges.h"
#include "support/ByteEdit.h"

namespace ondaris {
namespace {

LimitRangeList VariedList() {
  LimitRangeList list;
  for (int i = 0; i < LimitRangeCount; ++i) {
    const double low = 1000.0 + 500.0 * i;
    list[i] = LimitRange{low, low + 125.5, LimitRangeName(low, low + 125.5, '.'), i % 4, (i * 5) % 24, i % 9,
                         1 + i % 3, -2000 + 200 * i, 1 + i % 6};
  }
  list[19].Name = std::string(80, 'n');  // full capacity
  return list;
}

LimitRangeList Defaults() {
  LimitRangeList list;
  list.fill(DefaultLimitRange());
  return list;
}

TEST(LimitRangesFileTest, ImageHasTheFixedSizeAndLayout) {
  EXPECT_EQ(DefaultLimitRange(), (LimitRange{0, 0, "", 1, 13, 3, 2, 0, 2}));
  LimitRangeList list;
  list[1] = LimitRange{5900.0, 6200.0, "5900-6200", 2, 14, 3, 1, -100, 4};
  list[2].Name = std::string(90, 'a');  // cut to the field
  const std::string bytes = EncodeLimitRanges(list);
  ASSERT_EQ(bytes.size(), 2560u);
  std::string expected(2560, '\0');
  PutHex(expected, 128, "00 00 00 00 00 0C B7 40 00 00 00 00 00 38 B8 40");  // 5900.0, 6200.0
  PutHex(expected, 128 + 16, "09 35 39 30 30 2D 36 32 30 30");                 // "5900-6200"
  PutHex(expected, 128 + 100,                                                  // LSB, filter 14, step 3,
         "02 00 00 00 0E 00 00 00 03 00 00 00 01 00 00 00 9C FF FF FF 04 00 00 00");  // slow, -100, speed 4
  expected[256 + 16] = 80;
  expected.replace(256 + 17, 80, std::string(80, 'a'));
  EXPECT_EQ(HexBytes(bytes), HexBytes(expected));
}

TEST(LimitRangesFileTest, RoundTripsKeepEveryField) {
  for (const LimitRangeList& list : {VariedList(), Defaults()}) {
    const std::string bytes = EncodeLimitRanges(list);
    ASSERT_EQ(bytes.size(), LimitsFileSize);
    LimitRangeList back;
    DecodeLimitRanges(bytes, back);
    EXPECT_EQ(back, list);
    EXPECT_EQ(EncodeLimitRanges(back), bytes);
  }
}

TEST(LimitRangesFileTest, ShortFilesAreReadAsFarAsTheyGo) {
  LimitRangeList fromFile;
  fromFile.fill(LimitRange{7000.0, 7300.0, "7000-7300", 2, 14, 4, 1, 0, 5});
  LimitRangeList list = VariedList();
  const LimitRangeList old = list;
  DecodeLimitRanges(EncodeLimitRanges(fromFile).substr(0, 2 * 128 + 16), list);  // two slots and a bit
  LimitRangeList expected = old;  // beyond the end: as before
  expected[0] = fromFile[0];
  expected[1] = fromFile[1];
  expected[2].Low = 7000.0;
  expected[2].High = 7300.0;
  EXPECT_EQ(list, expected);
  // An empty file over zero slots (start-up) leaves free slots brought into their tables.
  LimitRangeList zero;
  DecodeLimitRanges("", zero);
  for (const LimitRange& r : zero) EXPECT_EQ(r, (LimitRange{0, 0, "", 0, 0, 0, 2, 0, 1}));
}

TEST(LimitRangesFileTest, DamagedValuesAreBroughtIntoRange) {
  const struct {
    std::size_t offset;  // in the third record
    std::uint32_t stored;
    int expected;
  } cases[] = {{100, 4, 0},   {100, 0xFFFFFF01u, 1},  {100, 0xFFu, 0},   {104, 0xFFFFFFFFu, 0},
               {104, 99, 23}, {108, 0x80000000u, 0},  {108, 9, 8},       {112, 0, 2},
               {112, 7, 2},   {116, 4000, 2000},      {116, static_cast<std::uint32_t>(-2050), -2000},
               {120, 0, 1},   {120, 7, 6},            {120, 0xFFFFFFF0u, 1}};
  std::int32_t LimitRange::*const fields[] = {&LimitRange::Mode, &LimitRange::FilterIndex, &LimitRange::StepIndex,
                                              &LimitRange::AGC,  &LimitRange::PBT,         &LimitRange::SpeedIndex};
  LimitRangeList good = Defaults();
  good[2] = LimitRange{9400.0, 9900.0, "9400-9900", 1, 13, 3, 2, 0, 3};
  for (const auto& c : cases) {
    std::string bytes = EncodeLimitRanges(good);
    PutInt32(bytes, 256 + c.offset, c.stored);
    LimitRangeList list, expected = good;
    DecodeLimitRanges(bytes, list);
    expected[2].*fields[(c.offset - 100) / 4] = c.expected;
    EXPECT_EQ(list, expected) << c.offset << " holding " << c.stored;
  }
  std::string bytes = EncodeLimitRanges(Defaults());
  PutDouble(bytes, 0, std::numeric_limits<double>::quiet_NaN());
  PutDouble(bytes, 8, -std::numeric_limits<double>::infinity());
  bytes[16] = static_cast<char>(0xC8);  // name length 200
  bytes[17] = 'x';
  LimitRangeList list;
  DecodeLimitRanges(bytes, list);
  EXPECT_EQ(list[0], (LimitRange{0, 0, "x" + std::string(79, '\0'), 1, 13, 3, 2, 0, 2}));
}

TEST(LimitRangesListTest, NamesAreTheShortestDecimalTextJoinedByADash) {
  const struct {
    double low, high;
    char separator;
    const char* expected;
  } cases[] = {{5900.0, 6200.0, '.', "5900-6200"},       {9250.5, 9900.0, '.', "9250.5-9900"},
               {9250.5, 9900.0, ',', "9250,5-9900"},     {10.0, 30000.0, '.', "10-30000"},
               {7000.125, 7000.125, '.', "7000.125-7000.125"}, {0.1 + 0.2, 15000.001, '.', "0.3-15000.001"}};
  for (const auto& c : cases) EXPECT_EQ(LimitRangeName(c.low, c.high, c.separator), c.expected);
}

TEST(LimitRangesListTest, ARangeGoesToTheTopOnceAndTheTwentyFirstDropsTheOldest) {
  LimitRangeList list = Defaults();
  for (int i = 1; i <= 4; ++i) PutRangeOnTop(list, LimitRange{i * 1000.0, i * 1000.0 + 100, std::to_string(i)});
  PutRangeOnTop(list, LimitRange{2000, 2100, "2", 3, 23, 5, 3, 0, 6});  // slot 3, newer settings
  EXPECT_EQ(list[0], (LimitRange{2000, 2100, "2", 3, 23, 5, 3, 0, 6}));
  EXPECT_EQ(list[1].Name + " " + list[2].Name + " " + list[3].Name, "4 3 1");
  EXPECT_FALSE(list[4].defined());
  for (int i = 5; i <= 21; ++i) PutRangeOnTop(list, LimitRange{i * 1000.0, i * 1000.0 + 100, std::to_string(i)});
  EXPECT_EQ(list[0].Name + " " + list[19].Name, "21 3");  // "1", the oldest, is gone
}

}  // namespace
}  // namespace ondaris
