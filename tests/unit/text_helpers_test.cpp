// The shared number and text helpers: the frequency formatter's digit rules,
// the decimal-separator converters, tab fields, path splitting and the
// strict text-to-number conversions.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Errors.h"
#include "common/TextHelpers.h"

namespace ondaris {
namespace {

struct FormatCase {
  int decimals;
  bool fixedThree;
  double value;
  char separator;
  const char* expected;
};

std::ostream& operator<<(std::ostream& out, const FormatCase& c) {
  return out << "FormatFrequency(" << c.decimals << ", " << (c.fixedThree ? "fixed" : "not fixed") << ", "
             << c.value << ", '" << c.separator << "')";
}

class FormatFrequencyTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatFrequencyTest, FormatsDigitByDigit) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatFrequency(c.decimals, c.fixedThree, c.value, c.separator), c.expected) << c;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FormatFrequencyTest,
    ::testing::Values(
        // Trailing zero decimals are dropped unless fixed.
        FormatCase{3, false, 1000.0, '.', "1000"}, FormatCase{3, false, 9580.0, '.', "9580"},
        FormatCase{3, false, 9580.5, '.', "9580.5"}, FormatCase{3, false, 9580.25, '.', "9580.25"},
        FormatCase{3, false, 9575.125, '.', "9575.125"}, FormatCase{3, true, 9580.0, '.', "9580.000"},
        FormatCase{3, true, 9580.25, '.', "9580.250"}, FormatCase{3, true, 7.5, '.', "7.500"},
        FormatCase{3, true, 10000.0, '.', "10000.000"}, FormatCase{6, false, 9.58, '.', "9.580000"},
        FormatCase{6, false, 9.5, '.', "9.500000"},
        // The fixed flag wins over the count of decimals.
        FormatCase{6, true, 9.5, '.', "9.500"}, FormatCase{0, true, 12.0, '.', "12.000"}));

INSTANTIATE_TEST_SUITE_P(
    Separators, FormatFrequencyTest,
    ::testing::Values(FormatCase{3, false, 9580.5, ',', "9580,5"}, FormatCase{3, true, 10000.0, ',', "10000,000"},
                      FormatCase{3, true, 7.5, ',', "7,500"}, FormatCase{6, false, 9.58, ',', "9,580000"},
                      FormatCase{3, false, 0.25, ',', "0,25"}));

INSTANTIATE_TEST_SUITE_P(
    Zero, FormatFrequencyTest,
    ::testing::Values(FormatCase{0, false, 0.0, '.', "0"}, FormatCase{3, true, 0.0, '.', "0.000"},
                      FormatCase{3, true, 0.0, ',', "0,000"}, FormatCase{3, false, 0.0, '.', "0.0"},
                      FormatCase{6, false, 0.0, ',', "0,0"}, FormatCase{0, true, 0.0, '.', "0.000"}));

INSTANTIATE_TEST_SUITE_P(
    Magnitude, FormatFrequencyTest,
    ::testing::Values(FormatCase{3, false, 1000001.0, '.', "xxx"}, FormatCase{3, true, -1000001.0, '.', "xxx"},
                      FormatCase{0, false, 1000000.5, '.', "xxx"}, FormatCase{3, false, 1000000.0, '.', "1000000"},
                      FormatCase{3, true, 1000000.0, '.', "1000000.000"},
                      FormatCase{0, false, 1000000.0, '.', "1000000"},
                      FormatCase{3, true, 999999.999, '.', "999999.999"}));

INSTANTIATE_TEST_SUITE_P(
    Negative, FormatFrequencyTest,
    ::testing::Values(FormatCase{3, false, -7.5, '.', "-7.5"}, FormatCase{3, true, -9580.25, '.', "-9580.250"},
                      FormatCase{3, false, -0.5, '.', "-0.5"}, FormatCase{0, false, -2000.0, '.', "-2000"},
                      FormatCase{3, true, -0.025, ',', "-0,025"}));

INSTANTIATE_TEST_SUITE_P(
    BelowOne, FormatFrequencyTest,
    ::testing::Values(FormatCase{3, false, 0.5, '.', "0.5"}, FormatCase{3, true, 0.025, '.', "0.025"},
                      FormatCase{6, false, 0.000001, '.', "0.000001"},
                      // A fraction too small for three decimals leaves only the leading zero.
                      FormatCase{3, false, 0.0003, '.', "0"}, FormatCase{0, false, 0.5, '.', "0"},
                      // A value lifted to 1 by the rounding step gets no leading zero.
                      FormatCase{3, false, 0.9999999, '.', "1"}));

INSTANTIATE_TEST_SUITE_P(
    HairBelowStep, FormatFrequencyTest,
    ::testing::Values(FormatCase{3, false, 9580.4999999, '.', "9580.5"}, FormatCase{3, true, 7.4999999, '.', "7.500"},
                      FormatCase{3, false, 14999.9999999, '.', "15000"},
                      FormatCase{3, true, 14999.9999999, '.', "15000.000"},
                      FormatCase{3, false, 9575.2499999, ',', "9575,25"},
                      FormatCase{6, false, 9.5799999999, '.', "9.580000"}));

INSTANTIATE_TEST_SUITE_P(
    OtherDecimalCounts, FormatFrequencyTest,
    ::testing::Values(
        // No decimals: the fraction is cut, not rounded.
        FormatCase{0, false, 9580.75, '.', "9580"}, FormatCase{0, false, 1.0, '.', "1"},
        FormatCase{0, false, 10.0, '.', "10"}, FormatCase{0, false, 100.0, '.', "100"},
        FormatCase{1, false, 9580.25, '.', "9580.2"},
        // A fraction of 0.0005 or more keeps its places, zeros included.
        FormatCase{2, false, 7.005, '.', "7.00"},
        // Past the third place nothing stops the digits.
        FormatCase{4, false, 14.12345, '.', "14.1234"}, FormatCase{5, false, 9.5, '.', "9.5"},
        // With more than three decimals a small fraction still ends the text.
        FormatCase{5, false, 3.0001, '.', "3"}));

TEST(DecimalConvertersTest, SwapPointAndLocaleSeparator) {
  EXPECT_EQ(LocaleToDotDecimal("9580,5", ','), "9580.5");
  EXPECT_EQ(DotToLocaleDecimal("9580.5", ','), "9580,5");
  EXPECT_EQ(DotToLocaleDecimal(LocaleToDotDecimal("1,2,3", ','), ','), "1,2,3");
  EXPECT_EQ(LocaleToDotDecimal("1,2,3", ','), "1.2.3");
  EXPECT_EQ(DotToLocaleDecimal("a.b.c", ','), "a,b,c");
  EXPECT_EQ(LocaleToDotDecimal("9580.5", '.'), "9580.5");
  EXPECT_EQ(DotToLocaleDecimal("9580.5", '.'), "9580.5");
  EXPECT_EQ(LocaleToDotDecimal("", ','), "");
  EXPECT_EQ(DotToLocaleDecimal("", ','), "");
}

// Reads fields one after another with one shared position.
std::vector<std::string> ReadFields(const std::string& line, int count) {
  std::vector<std::string> fields;
  std::size_t position = 1;
  for (int i = 0; i < count; ++i) fields.push_back(ReadTabField(line, position));
  return fields;
}

TEST(ReadTabFieldTest, AdjacentTabsGiveAnEmptyField) {
  EXPECT_EQ(ReadFields("a\t\tb", 3), (std::vector<std::string>{"a", "", "b"}));
}

TEST(ReadTabFieldTest, PositionStopsOnTheEndingTab) {
  const std::string line = "9580\tBBC\t\t0600";
  std::size_t position = 1;
  EXPECT_EQ(ReadTabField(line, position), "9580");
  EXPECT_EQ(position, 5u);
  EXPECT_EQ(ReadTabField(line, position), "BBC");
  EXPECT_EQ(position, 9u);
  EXPECT_EQ(ReadTabField(line, position), "");
  EXPECT_EQ(position, 10u);
  EXPECT_EQ(ReadTabField(line, position), "0600");
  EXPECT_EQ(position, 15u);
  EXPECT_EQ(ReadTabField(line, position), "");
  EXPECT_EQ(position, 15u);
}

TEST(ReadTabFieldTest, Cases) {
  // A tab under the position is stepped over first, so a leading tab is skipped.
  EXPECT_EQ(ReadFields("\tx", 2), (std::vector<std::string>{"x", ""}));
  EXPECT_EQ(ReadFields("", 2), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(ReadFields("one", 2), (std::vector<std::string>{"one", ""}));
  EXPECT_EQ(ReadFields("a\tb\t", 3), (std::vector<std::string>{"a", "b", ""}));
  EXPECT_EQ(ReadFields("a b\tc,d", 2), (std::vector<std::string>{"a b", "c,d"}));
}

TEST(PathSplittingTest, FileNamePart) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/home/dx/FreqFiles/Broadcast.320", "Broadcast.320"},
      {"Broadcast.320", "Broadcast.320"},
      {"FreqFiles/", ""},
      {"/a.320", "a.320"},
      {"", ""},
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(ExtractFileNamePart(path), expected) << path;
}

TEST(PathSplittingTest, DirectoryPart) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/home/dx/FreqFiles/Broadcast.320", "/home/dx/FreqFiles/"},
      {"Broadcast.320", ""},
      {"/home/dx/FreqFiles/", "/home/dx/FreqFiles/"},
      {"FreqFiles/a.320", "FreqFiles/"},
      {"/a.320", "/"},
      {"", ""},
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(ExtractDirectoryPart(path), expected) << path;
}

struct DoubleCase {
  const char* text;
  char separator;
  double expected;
};

TEST(TextToDoubleTest, AcceptsNumbersWithTheGivenSeparator) {
  const DoubleCase cases[] = {
      {"9580.5", '.', 9580.5}, {"9580,5", ',', 9580.5}, {"-7.25", '.', -7.25}, {" 12 ", '.', 12.0},
      {"+3", '.', 3.0},        {".5", '.', 0.5},        {"5.", '.', 5.0},      {"15000,000", ',', 15000.0},
      {"0", '.', 0.0},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToDouble(c.text, c.separator), c.expected) << c.text;
}

TEST(TextToDoubleTest, RefusesAnythingElse) {
  const std::pair<const char*, char> cases[] = {
      {"9..5", '.'}, {"", '.'},  {"12a", '.'}, {"9.5", ','}, {"9,5", '.'}, {"-", '.'},
      {".", '.'},    {" ", '.'}, {"1 2", '.'}, {"+-1", '.'}, {"1-", '.'},  {"9.5.1", '.'},
  };
  for (const auto& [text, separator] : cases)
    EXPECT_THROW(TextToDouble(text, separator), ConversionError) << "'" << text << "' with '" << separator << "'";
}

TEST(TextToIntegerTest, AcceptsWholeNumbers) {
  const std::pair<const char*, long> cases[] = {
      {"42", 42}, {"-2000", -2000}, {" 7 ", 7}, {"+5", 5}, {"0", 0}, {"2147483647", 2147483647L},
      {"-2147483648", -2147483648L},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(TextToInteger(text), expected) << text;
}

TEST(TextToIntegerTest, RefusesAnythingElse) {
  for (const char* text : {"", "12a", "1.5", "-", "+", "2147483648", "-2147483649", "99999999999", "1 2", "0x10"})
    EXPECT_THROW(TextToInteger(text), ConversionError) << "'" << text << "'";
}

}  // namespace
}  // namespace ondaris
