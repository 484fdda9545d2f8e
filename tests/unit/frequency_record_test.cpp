// Reading and writing one line of a frequency file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Errors.h"
#include "common/TextHelpers.h"
#include "freqfiles/FrequencyRecord.h"

namespace ondaris {
namespace {

const std::string kAlba =
    R"("Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes",0,0)";

// A line with the given filter and step, everything else fixed.
std::string LineWith(const std::string& filter, const std::string& step) {
  return R"("Station",9.580000,AM,)" + filter + ",2," + step + R"(,0,"Loc","Lang","0000","2400","",0,0)";
}

FrequencyRecord Parsed(const std::string& line) {
  FrequencyRecord record;
  EXPECT_TRUE(ParseFrequencyLine(line, record)) << line;
  return record;
}

TEST(FrequencyRecordTest, ReadsEveryFieldOfALine) {
  const FrequencyRecord r = Parsed(kAlba);
  EXPECT_EQ(r.Name, "Radio Alba");
  EXPECT_EQ(r.Freq, "9.580000");  // still MHz straight after parsing
  EXPECT_EQ(r.Mode, "AM");
  EXPECT_EQ(r.Filter, "6000");
  EXPECT_EQ(r.AGC, "2");
  EXPECT_EQ(r.Step, "5000");
  EXPECT_EQ(r.PBT, "0");
  EXPECT_EQ(r.Location, "Mountains");
  EXPECT_EQ(r.Language, "English");
  EXPECT_EQ(r.OnAir, "0800");
  EXPECT_EQ(r.OffAir, "1200");
  EXPECT_EQ(r.Notes, "Notes");
  EXPECT_EQ(r.Spare, "0");
  EXPECT_EQ(r.Lockout, "0");
  EXPECT_EQ(r.FilterIndex, 1);
  EXPECT_EQ(r.StepIndex, 7);
}

TEST(FrequencyRecordTest, ReadingConvertsTheFrequencyToKHz) {
  FrequencyRecord r;
  ASSERT_TRUE(ReadFrequencyLine(kAlba, '.', r));
  EXPECT_EQ(r.Freq, "9580");
}

TEST(FrequencyRecordTest, QuotedCommaBelongsToTheField) {
  const FrequencyRecord r = Parsed(
      R"("Voice of A, B",6.005000,USB,2400,3,100,-50,"Here, there","Eng, Fr","1300","1400","a, b, c",0,1)");
  EXPECT_EQ(r.Name, "Voice of A, B");
  EXPECT_EQ(r.Location, "Here, there");
  EXPECT_EQ(r.Language, "Eng, Fr");
  EXPECT_EQ(r.Notes, "a, b, c");
  EXPECT_EQ(r.PBT, "-50");
  EXPECT_EQ(r.Lockout, "1");
  EXPECT_EQ(r.FilterIndex, 14);
}

TEST(FrequencyRecordTest, QuoteInsideATextFieldEndsItAndShiftsTheRest) {
  // The quote closes Notes early; the reader of Spare starts on the character
  // after it as if that were the comma, so "h" is lost and the rest of the
  // note lands in Spare, the real Spare in Lockout.
  const FrequencyRecord r =
      Parsed(R"("Station",9.580000,AM,6000,2,5000,0,"Loc","Lang","0800","1200","Say "hi" now",0,1)");
  EXPECT_EQ(r.Notes, "Say ");
  EXPECT_EQ(r.Spare, "i now");
  EXPECT_EQ(r.Lockout, "0");

  // In the name it shifts every field after it until a quoted field is not
  // where it should be.
  FrequencyRecord shifted;
  EXPECT_FALSE(ParseFrequencyLine(
      R"("Radio "Alba",9.580000,AM,6000,2,5000,0,"Loc","Lang","0800","1200","",0,0)", shifted));
}

TEST(FrequencyRecordTest, WrittenLinesReadBackIdentically) {
  const std::vector<std::string> lines = {
      kAlba,
      R"("Voice of A, B",6.005000,USB,2400,3,100,-50,"Here, there","Eng, Fr","1300","1400","a, b, c",0,1)",
      R"("",0.153000,AM,8000,1,9000,0,"","","","","",0,0)",
      R"("Utility",14.230500,CW,300,3,10,2000,"Sea","","2330","0030","long note",7,0)",
      R"("Tiny",0.100000,LSB,1800,2,10000,-2000,"x","y","0000","2400","",0,1)",
  };
  for (const std::string& line : lines) {
    FrequencyRecord r;
    ASSERT_TRUE(ReadFrequencyLine(line, '.', r)) << line;
    EXPECT_EQ(FormatFrequencyLine(r, '.'), line);
  }
}

struct FreqCase {
  const char* fileText;
  char separator;
  const char* kHzText;
  const char* writtenBack;
};

class FrequencyConversionTest : public ::testing::TestWithParam<FreqCase> {};

TEST_P(FrequencyConversionTest, MHzToKHzAndBack) {
  const FreqCase& c = GetParam();
  const auto khz = FileFreqToKHzText(c.fileText, c.separator);
  ASSERT_TRUE(khz.has_value());
  EXPECT_EQ(*khz, c.kHzText);
  EXPECT_EQ(KHzTextToFileFreq(*khz, c.separator), c.writtenBack);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrequencyConversionTest,
    ::testing::Values(FreqCase{"9.580000", '.', "9580", "9.580000"}, FreqCase{"0.153000", '.', "153", "0.153000"},
                      FreqCase{"14.2305", '.', "14230.5", "14.230500"},
                      FreqCase{"14.230500", '.', "14230.5", "14.230500"},
                      FreqCase{"9.58025", '.', "9580.25", "9.580250"}, FreqCase{"29.999999", '.', "29999.999", "29.999999"},
                      FreqCase{"9.580000", ',', "9580", "9.580000"}, FreqCase{"14.2305", ',', "14230,5", "14.230500"},
                      FreqCase{"0.153000", ',', "153", "0.153000"}, FreqCase{"9", '.', "9000", "9.000000"}));

TEST(FrequencyRecordTest, CommaLocaleReadsAndWritesTheWholeLine) {
  const std::string line =
      R"("Utility",14.230500,CW,300,3,10,0,"Sea","","2330","0030","",0,0)";
  FrequencyRecord r;
  ASSERT_TRUE(ReadFrequencyLine(line, ',', r));
  EXPECT_EQ(r.Freq, "14230,5");
  EXPECT_EQ(FormatFrequencyLine(r, ','), line);
}

TEST(FrequencyRecordTest, FrequencyThatIsNotANumberFailsTheLine) {
  for (const char* freq : {"abc", "", "9.58.1", "9,58", "1000.1", "0x10"}) {
    const std::string line = std::string(R"("S",)") + freq + R"(,AM,6000,2,5000,0,"","","","","",0,0)";
    FrequencyRecord r;
    EXPECT_FALSE(ReadFrequencyLine(line, '.', r)) << line;
  }
  EXPECT_FALSE(FileFreqToKHzText("1000.000001", '.').has_value());  // beyond the formatter: "xxx"
  EXPECT_THROW(KHzTextToFileFreq("xxx", '.'), ConversionError);
  EXPECT_THROW(KHzTextToFileFreq("9580,5", '.'), ConversionError);
}

struct TableCase {
  const char* filter;
  const char* step;
  const char* filterAfter;
  int filterIndex;
  const char* stepAfter;
  int stepIndex;
};

class FilterStepTableTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(FilterStepTableTest, MatchesTheTables) {
  const TableCase& c = GetParam();
  const FrequencyRecord r = Parsed(LineWith(c.filter, c.step));
  EXPECT_EQ(r.Filter, c.filterAfter);
  EXPECT_EQ(r.FilterIndex, c.filterIndex);
  EXPECT_EQ(r.Step, c.stepAfter);
  EXPECT_EQ(r.StepIndex, c.stepIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FilterStepTableTest,
    ::testing::Values(TableCase{"6000", "9000", "6000", 1, "9000", 8},
                      TableCase{"2000", "2000", "1800", 17, "1000", 5},
                      TableCase{"8000", "0", "8000", 0, "0", 8},
                      TableCase{"300", "10000", "300", 23, "10000", 8},
                      TableCase{"525", "1", "525", 22, "1", 0},
                      TableCase{"2400", "10", "2400", 14, "10", 1},
                      // Off the table: widest entry whose text is smaller, compared as text.
                      TableCase{"9999", "7", "8000", 0, "1", 0},
                      TableCase{"250", "20000", "2400", 14, "10000", 8},
                      TableCase{"100", "4999", "100", 0, "3000", 6},
                      TableCase{"", "50", "", 0, "50", 2},
                      TableCase{"abc", "-5", "8000", 0, "-5", 8},
                      TableCase{"1000", "010", "1000", 0, "1", 0}));

TEST(FrequencyRecordTest, StepThatMustBeReadAsANumberAndIsNotFailsTheLine) {
  FrequencyRecord r;
  EXPECT_FALSE(ParseFrequencyLine(LineWith("6000", "abc"), r));
  EXPECT_FALSE(ParseFrequencyLine(LineWith("6000", ""), r));
  EXPECT_FALSE(ParseFrequencyLine(LineWith("6000", "5k"), r));
}

TEST(FrequencyRecordTest, LongTextsAreCutToTheirCapacity) {
  const std::string name(30, 'N');
  const std::string notes(80, 'z');
  const std::string location(20, 'L');
  const std::string language(12, 'G');
  const FrequencyRecord r = Parsed("\"" + name + R"(",9.580000,AM,6000,2,5000,123456,")" + location + "\",\"" +
                                   language + R"(","08000","12000",")" + notes + R"(",12345678901,123456789012)");
  EXPECT_EQ(r.Name, std::string(20, 'N'));
  EXPECT_EQ(r.Notes, std::string(64, 'z'));
  EXPECT_EQ(r.Location, std::string(15, 'L'));
  EXPECT_EQ(r.Language, std::string(10, 'G'));
  EXPECT_EQ(r.OnAir, "0800");
  EXPECT_EQ(r.OffAir, "1200");
  EXPECT_EQ(r.PBT, "12345");
  EXPECT_EQ(r.Spare, "1234567890");
  EXPECT_EQ(r.Lockout, "1234567890");
}

TEST(FrequencyRecordTest, BrokenLinesFail) {
  const std::vector<std::string> broken = {
      "",
      // Not starting with the quoted name.
      R"(Radio Alba,9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes",0,0)",
      R"( "Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes",0,0)",
      // Name never closed.
      R"("Radio Alba,9.580000,AM)",
      // Cut short at various places.
      R"("Radio Alba")",
      R"("Radio Alba",9.580000,AM,6000)",
      R"("Radio Alba",9.580000,AM,6000,2,5000,0)",
      R"("Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes")",
      R"("Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes)",
      // A text field without its quotes.
      R"("Radio Alba",9.580000,AM,6000,2,5000,0,Mountains,"English","0800","1200","Notes",0,0)",
  };
  for (const std::string& line : broken) {
    FrequencyRecord r;
    EXPECT_FALSE(ParseFrequencyLine(line, r)) << line;
  }
  // Spare present, Lockout missing: the appended comma closes Spare, Lockout has nothing left.
  FrequencyRecord r;
  EXPECT_FALSE(ParseFrequencyLine(R"("A",9.580000,AM,6000,2,5000,0,"","","","","",0)", r));
  // A trailing comma gives an empty Lockout, which is still a line.
  ASSERT_TRUE(ParseFrequencyLine(R"("A",9.580000,AM,6000,2,5000,0,"","","","","",0,)", r));
  EXPECT_EQ(r.Lockout, "");
}

TEST(FrequencyRecordTest, BareFieldsDropStrayQuotes) {
  const FrequencyRecord r = Parsed(R"("A",9.580000,"AM",6000,2,5000,0,"","","","","",0,"1")");
  EXPECT_EQ(r.Mode, "AM");
  EXPECT_EQ(r.Lockout, "1");
}

TEST(FrequencyRecordTest, ClearedRecord) {
  FrequencyRecord r = Parsed(kAlba);
  ClearFrequencyRecord(r);
  EXPECT_EQ(r.AGC, "0");
  EXPECT_EQ(r.Name, "");
  EXPECT_EQ(r.Freq, "");
  EXPECT_EQ(r.Lockout, "");
  EXPECT_EQ(r.FilterIndex, 0);
  EXPECT_EQ(r.StepIndex, 0);
  EXPECT_EQ(r, FrequencyRecord{});
}

struct SanitizeCase {
  const char* typed;
  std::size_t capacity;
  const char* stored;
};

class SanitizeTest : public ::testing::TestWithParam<SanitizeCase> {};

TEST_P(SanitizeTest, StoresWhatTheFileCanHold) {
  EXPECT_EQ(SanitizeTextField(GetParam().typed, GetParam().capacity), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Cases, SanitizeTest,
                         ::testing::Values(SanitizeCase{"Say \"hi\"", 20, "Say 'hi'"},
                                           SanitizeCase{"\"\"\"", 64, "'''"},
                                           SanitizeCase{"two\r\nlines", 64, "two  lines"},
                                           SanitizeCase{"A, B", 20, "A, B"},
                                           SanitizeCase{"123456789012345678901234", 20, "12345678901234567890"},
                                           SanitizeCase{"\"quoted name that is too long\"", 20, "'quoted name that is"},
                                           SanitizeCase{"", 20, ""}));

TEST(FrequencyRecordTest, SanitizedRecordHasNoQuoteAndFitsItsCapacities) {
  FrequencyRecord r;
  r.Name = "The \"Big\" Station of the North";
  r.Notes = "line\nbreak";
  r.Location = "\"Q\"";
  SanitizeFrequencyRecord(r);
  EXPECT_EQ(r.Name, "The 'Big' Station of");
  EXPECT_EQ(r.Notes, "line break");
  EXPECT_EQ(r.Location, "'Q'");
}

TEST(FrequencyRecordTest, WriterNeverProducesAnUnreadableLine) {
  FrequencyRecord r;
  r.Name = "Radio \"X\"";
  r.Freq = "9580";
  r.Mode = "AM";
  r.Filter = "6000";
  r.AGC = "2";
  r.Step = "5000";
  r.PBT = "0";
  r.Location = "a\"b";
  r.Language = "\"";
  r.OnAir = "0800";
  r.OffAir = "1200";
  r.Notes = "x\r\ny \"z\"";
  r.Spare = "0";
  r.Lockout = "0";
  const std::string line = FormatFrequencyLine(r, '.');
  EXPECT_EQ(line, R"("Radio 'X'",9.580000,AM,6000,2,5000,0,"a'b","'","0800","1200","x  y 'z'",0,0)");
  FrequencyRecord back;
  ASSERT_TRUE(ReadFrequencyLine(line, '.', back));
  EXPECT_EQ(back.Name, "Radio 'X'");
  EXPECT_EQ(back.Notes, "x  y 'z'");
  EXPECT_EQ(back.OnAir, "0800");
}

TEST(FrequencyRecordTest, ErrorMessageText) {
  EXPECT_EQ(ErrorReadingRecordMessage(7, "bad line"), "Error reading record 7:  bad line");
  EXPECT_EQ(ErrorReadingRecordMessage(1, ""), "Error reading record 1:  ");
}

// The non-throwing readers must agree with the program's converters.
TEST(FrequencyRecordTest, NumberReadersAgreeWithTheConverters) {
  const std::vector<std::string> texts = {
      "0",    "12",     "-12",    "+7",  " 42 ", "0800", "2400",  "", " ",   "-",         "+",          "1.5",
      ".5",   "5.",     "-.25",   "1.2.3", "12a", "a12",  "1 2",  "9580", "14230.5", "2147483647", "2147483648",
      "-2147483648", "-2147483649", "00000000001", "1e3", "0x10", "\t9\t", "9580,5", ",5", "--1", "1-"};
  for (const std::string& text : texts) {
    bool wholeThrows = false;
    long whole = 0;
    try {
      whole = TextToInteger(text);
    } catch (const ConversionError&) {
      wholeThrows = true;
    }
    const auto tryWhole = TryReadWhole(text);
    EXPECT_EQ(tryWhole.has_value(), !wholeThrows) << "'" << text << "'";
    if (tryWhole && !wholeThrows) {
      EXPECT_EQ(*tryWhole, whole) << text;
    }

    for (char separator : {'.', ','}) {
      bool decimalThrows = false;
      double decimal = 0;
      try {
        decimal = TextToDouble(text, separator);
      } catch (const ConversionError&) {
        decimalThrows = true;
      }
      const auto tryDecimal = TryReadDecimal(text, separator);
      EXPECT_EQ(tryDecimal.has_value(), !decimalThrows) << "'" << text << "' with " << separator;
      if (tryDecimal && !decimalThrows) {
        EXPECT_DOUBLE_EQ(*tryDecimal, decimal) << text;
      }
    }
  }
}

TEST(FrequencyRecordTest, LockoutMark) {
  EXPECT_FALSE(IsLockedOut("0"));
  EXPECT_TRUE(IsLockedOut("1"));
  EXPECT_TRUE(IsLockedOut("2"));
  EXPECT_FALSE(IsLockedOut(""));
  EXPECT_FALSE(IsLockedOut("x"));
  EXPECT_FALSE(IsLockedOut("00"));
}

}  // namespace
}  // namespace ondaris
