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

TEST(FormatFrequencyTest, FormatsDigitByDigit) {
  const struct {
    int decimals;
    bool fixed;
    double value;
    char separator;
    const char* expected;
  } cases[] = {
      // Trailing zero decimals are dropped unless fixed; fixed wins over the count.
      {3, false, 9580.0, '.', "9580"}, {3, false, 9575.125, '.', "9575.125"}, {3, true, 9580.25, '.', "9580.250"},
      {6, false, 9.58, '.', "9.580000"}, {6, true, 9.5, '.', "9.500"}, {0, true, 12.0, '.', "12.000"},
      {3, false, 9580.5, ',', "9580,5"},
      // Zero, magnitude and sign.
      {0, false, 0.0, '.', "0"}, {3, true, 0.0, ',', "0,000"}, {3, false, 0.0, '.', "0.0"},
      {3, false, 1000001.0, '.', "xxx"}, {3, true, -1000001.0, '.', "xxx"}, {3, false, 1000000.0, '.', "1000000"},
      {3, true, 999999.999, '.', "999999.999"}, {3, false, -7.5, '.', "-7.5"}, {3, true, -0.025, ',', "-0,025"},
      // Below one: a fraction too small leaves the leading zero; rounding up to 1 drops it.
      {6, false, 0.000001, '.', "0.000001"}, {3, false, 0.0003, '.', "0"}, {0, false, 0.5, '.', "0"},
      {3, false, 0.9999999, '.', "1"},
      // A hair below the step rounds up.
      {3, false, 9580.4999999, '.', "9580.5"}, {3, true, 14999.9999999, '.', "15000.000"},
      {6, false, 9.5799999999, '.', "9.580000"},
      // Other counts: no decimals cut; 0.0005 or more keeps its places; past the third nothing stops.
      {0, false, 9580.75, '.', "9580"}, {1, false, 9580.25, '.', "9580.2"}, {2, false, 7.005, '.', "7.00"},
      {4, false, 14.12345, '.', "14.1234"}, {5, false, 9.5, '.', "9.5"}, {5, false, 3.0001, '.', "3"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatFrequency(c.decimals, c.fixed, c.value, c.separator), c.expected)
        << c.decimals << (c.fixed ? " fixed " : " ") << c.value << " '" << c.separator << "'";
}

TEST(DecimalConvertersTest, SwapPointAndLocaleSeparator) {
  EXPECT_EQ(LocaleToDotDecimal("1,2,3", ','), "1.2.3");
  EXPECT_EQ(DotToLocaleDecimal("a.b.c", ','), "a,b,c");
  EXPECT_EQ(DotToLocaleDecimal("9580.5", '.'), "9580.5");
}

TEST(ReadTabFieldTest, FieldsAndPositions) {
  const std::string line = "9580\tBBC\t\t0600";
  std::size_t position = 1;
  for (const auto& [field, after] : std::vector<std::pair<std::string, std::size_t>>{
           {"9580", 5}, {"BBC", 9}, {"", 10}, {"0600", 15}, {"", 15}}) {
    EXPECT_EQ(ReadTabField(line, position), field);
    EXPECT_EQ(position, after) << field;
  }
  // A tab under the position is stepped over first, so a leading tab is skipped.
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"\tx", {"x", ""}}, {"", {"", ""}}, {"a\tb\t", {"a", "b", ""}}, {"a b\tc,d", {"a b", "c,d"}}};
  for (const auto& [text, expected] : cases) {
    std::vector<std::string> fields;
    std::size_t at = 1;
    for (std::size_t i = 0; i < expected.size(); ++i) fields.push_back(ReadTabField(text, at));
    EXPECT_EQ(fields, expected) << text;
  }
}

TEST(PathSplittingTest, FileAndDirectoryParts) {
  const struct {
    const char *path, *file, *dir;
  } cases[] = {{"/home/dx/FreqFiles/Broadcast.320", "Broadcast.320", "/home/dx/FreqFiles/"},
               {"Broadcast.320", "Broadcast.320", ""},
               {"FreqFiles/", "", "FreqFiles/"},
               {"/a.320", "a.320", "/"},
               {"", "", ""}};
  for (const auto& c : cases)
    EXPECT_EQ(std::pair(ExtractFileNamePart(c.path), ExtractDirectoryPart(c.path)),
              (std::pair<std::string, std::string>(c.file, c.dir))) << c.path;
}

TEST(TextToNumberTest, AcceptsNumbersAndRefusesAnythingElse) {
  const std::pair<const char*, double> doubles[] = {{"9580.5", 9580.5}, {"-7.25", -7.25}, {" 12 ", 12.0},
                                                    {"+3", 3.0},        {".5", 0.5},      {"5.", 5.0}};
  for (const auto& [text, expected] : doubles) EXPECT_EQ(TextToDouble(text, '.'), expected) << text;
  EXPECT_EQ(TextToDouble("15000,000", ','), 15000.0);
  const std::pair<const char*, char> badDoubles[] = {{"9..5", '.'}, {"", '.'},    {"12a", '.'}, {"9.5", ','},
                                                     {"-", '.'},    {".", '.'},   {"1 2", '.'}, {"+-1", '.'}};
  for (const auto& [text, separator] : badDoubles)
    EXPECT_THROW(TextToDouble(text, separator), ConversionError) << "'" << text << "' with '" << separator << "'";

  const std::pair<const char*, long> integers[] = {
      {"42", 42}, {"-2000", -2000}, {" 7 ", 7}, {"+5", 5}, {"2147483647", 2147483647L}, {"-2147483648", -2147483648L}};
  for (const auto& [text, expected] : integers) EXPECT_EQ(TextToInteger(text), expected) << text;
  for (const char* text : {"", "12a", "-", "2147483648", "-2147483649", "99999999999", "1 2"})
    EXPECT_THROW(TextToInteger(text), ConversionError) << "'" << text << "'";
}

}  // namespace
}  // namespace ondaris
