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
const std::string kVoice =
    R"("Voice of A, B",6.005000,USB,2400,3,100,-50,"Here, there","Eng, Fr","1300","1400","a, b, c",0,1)";

// A line with the given frequency, filter and step, everything else fixed.
std::string LineWith(const std::string& freq, const std::string& filter, const std::string& step) {
  return R"("Station",)" + freq + ",AM," + filter + ",2," + step + R"(,0,"Loc","Lang","0000","2400","",0,0)";
}

FrequencyRecord Parsed(const std::string& line) {
  FrequencyRecord record;
  EXPECT_TRUE(ParseFrequencyLine(line, record)) << line;
  return record;
}

TEST(FrequencyRecordTest, ReadsEveryFieldQuotedCommasIncluded) {
  // Still MHz straight after parsing.
  EXPECT_EQ(Parsed(kAlba), (FrequencyRecord{"Radio Alba", "9.580000", "AM", "6000", "2", "5000", "0", "Mountains",
                                            "English", "0800", "1200", "Notes", "0", "0", 1, 7}));
  EXPECT_EQ(Parsed(kVoice), (FrequencyRecord{"Voice of A, B", "6.005000", "USB", "2400", "3", "100", "-50",
                                             "Here, there", "Eng, Fr", "1300", "1400", "a, b, c", "0", "1", 14, 3}));
  // Bare fields drop stray quotes.
  const FrequencyRecord bare = Parsed(R"("A",9.580000,"AM",6000,2,5000,0,"","","","","",0,"1")");
  EXPECT_EQ(bare.Mode + "|" + bare.Lockout, "AM|1");
  FrequencyRecord r;
  ASSERT_TRUE(ReadFrequencyLine(kAlba, '.', r));
  EXPECT_EQ(r.Freq, "9580");
}

TEST(FrequencyRecordTest, QuoteInsideATextFieldEndsItAndShiftsTheRest) {
  // The quote closes Notes early; the reader of Spare starts on the character
  // after it as if that were the comma, so "h" is lost and the rest of the
  // note lands in Spare, the real Spare in Lockout.
  const FrequencyRecord r =
      Parsed(R"("Station",9.580000,AM,6000,2,5000,0,"Loc","Lang","0800","1200","Say "hi" now",0,1)");
  EXPECT_EQ(r.Notes + "|" + r.Spare + "|" + r.Lockout, "Say |i now|0");
  // In the name it shifts every field until a quoted field is not where it should be.
  FrequencyRecord shifted;
  EXPECT_FALSE(ParseFrequencyLine(
      R"("Radio "Alba",9.580000,AM,6000,2,5000,0,"Loc","Lang","0800","1200","",0,0)", shifted));
}

TEST(FrequencyRecordTest, WrittenLinesReadBackIdentically) {
  const std::pair<std::string, char> lines[] = {
      {kAlba, '.'},
      {kVoice, '.'},
      {R"("",0.153000,AM,8000,1,9000,0,"","","","","",0,0)", '.'},
      {R"("Utility",14.230500,CW,300,3,10,2000,"Sea","","2330","0030","long note",7,0)", '.'},
      {R"("Tiny",0.100000,LSB,1800,2,10000,-2000,"x","y","0000","2400","",0,1)", '.'},
      {R"("Utility",14.230500,CW,300,3,10,0,"Sea","","2330","0030","",0,0)", ','},
  };
  for (const auto& [line, separator] : lines) {
    FrequencyRecord r;
    ASSERT_TRUE(ReadFrequencyLine(line, separator, r)) << line;
    EXPECT_EQ(FormatFrequencyLine(r, separator), line);
  }
}

TEST(FrequencyRecordTest, MHzToKHzAndBack) {
  const struct {
    const char* fileText;
    char separator;
    const char* kHzText;
    const char* writtenBack;
  } cases[] = {{"9.580000", '.', "9580", "9.580000"},       {"0.153000", '.', "153", "0.153000"},
               {"9.58025", '.', "9580.25", "9.580250"},     {"29.999999", '.', "29999.999", "29.999999"},
               {"14.2305", ',', "14230,5", "14.230500"},    {"9", '.', "9000", "9.000000"}};
  for (const auto& c : cases) {
    const auto khz = FileFreqToKHzText(c.fileText, c.separator);
    ASSERT_TRUE(khz.has_value()) << c.fileText;
    EXPECT_EQ(*khz, c.kHzText);
    EXPECT_EQ(KHzTextToFileFreq(*khz, c.separator), c.writtenBack);
  }
  EXPECT_FALSE(FileFreqToKHzText("1000.000001", '.').has_value());  // beyond the formatter: "xxx"
  EXPECT_THROW(KHzTextToFileFreq("xxx", '.'), ConversionError);
  EXPECT_THROW(KHzTextToFileFreq("9580,5", '.'), ConversionError);
}

// Filter/FilterIndex and Step/StepIndex as read. Off the table: Filter becomes
// the widest entry whose text is smaller, compared as text; Step the largest
// step below it.
TEST(FrequencyRecordTest, FilterAndStepFollowTheTables) {
  const char* const cases[][3] = {
      {"6000", "9000", "6000/1 9000/8"}, {"2000", "2000", "1800/17 1000/5"}, {"8000", "0", "8000/0 0/8"},
      {"300", "10000", "300/23 10000/8"}, {"525", "1", "525/22 1/0"}, {"2400", "10", "2400/14 10/1"},
      {"9999", "7", "8000/0 1/0"}, {"250", "20000", "2400/14 10000/8"}, {"100", "4999", "100/0 3000/6"},
      {"", "50", "/0 50/2"}, {"abc", "-5", "8000/0 -5/8"}, {"1000", "010", "1000/0 1/0"}};
  for (const auto& [filter, step, read] : cases) {
    const FrequencyRecord r = Parsed(LineWith("9.58", filter, step));
    EXPECT_EQ(r.Filter + "/" + std::to_string(r.FilterIndex) + " " + r.Step + "/" + std::to_string(r.StepIndex), read)
        << filter << " " << step;
  }
}

TEST(FrequencyRecordTest, LongTextsAreCutToTheirCapacity) {
  const FrequencyRecord r =
      Parsed("\"" + std::string(30, 'N') + R"(",9.580000,AM,6000,2,5000,123456,")" + std::string(20, 'L') + "\",\"" +
             std::string(12, 'G') + R"(","08000","12000",")" + std::string(80, 'z') + R"(",12345678901,123456789012)");
  EXPECT_EQ(r, (FrequencyRecord{std::string(20, 'N'), "9.580000", "AM", "6000", "2", "5000", "12345",
                                std::string(15, 'L'), std::string(10, 'G'), "0800", "1200", std::string(64, 'z'),
                                "1234567890", "1234567890", 1, 7}));
}

TEST(FrequencyRecordTest, BrokenLinesFail) {
  std::vector<std::string> broken = {
      "",
      // Not starting with the quoted name.
      R"(Radio Alba,9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes",0,0)",
      R"( "Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes",0,0)",
      R"("Radio Alba,9.580000,AM)",  // name never closed
      // Cut short at various places.
      R"("Radio Alba")",
      R"("Radio Alba",9.580000,AM,6000)",
      R"("Radio Alba",9.580000,AM,6000,2,5000,0)",
      R"("Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes")",
      R"("Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes)",
      // A text field without its quotes.
      R"("Radio Alba",9.580000,AM,6000,2,5000,0,Mountains,"English","0800","1200","Notes",0,0)",
      // Spare present, Lockout missing: the appended comma closes Spare, Lockout has nothing left.
      R"("A",9.580000,AM,6000,2,5000,0,"","","","","",0)",
  };
  // A frequency or a step that is no number.
  for (const char* freq : {"abc", "", "9.58.1", "9,58", "1000.1", "0x10"}) broken.push_back(LineWith(freq, "6000", "5000"));
  for (const char* step : {"abc", "", "5k"}) broken.push_back(LineWith("9.58", "6000", step));
  FrequencyRecord r;
  for (const std::string& line : broken) EXPECT_FALSE(ReadFrequencyLine(line, '.', r)) << line;
  // A trailing comma gives an empty Lockout, which is still a line.
  ASSERT_TRUE(ParseFrequencyLine(R"("A",9.580000,AM,6000,2,5000,0,"","","","","",0,)", r));
  EXPECT_EQ(r.Lockout, "");
  ClearFrequencyRecord(r = Parsed(kAlba));
  EXPECT_EQ(r, FrequencyRecord{});
}

TEST(FrequencyRecordTest, TextFieldsAreStoredAsTheFileCanHoldThem) {
  const struct {
    const char* typed;
    std::size_t capacity;
    const char* stored;
  } cases[] = {{"Say \"hi\"", 20, "Say 'hi'"},
               {"two\r\nlines", 64, "two  lines"},
               {"A, B", 20, "A, B"},
               {"\"quoted name that is too long\"", 20, "'quoted name that is"},
               {"", 20, ""}};
  for (const auto& c : cases) EXPECT_EQ(SanitizeTextField(c.typed, c.capacity), c.stored) << c.typed;

  // The writer never produces a line that does not read back; the reader cuts to the capacities.
  FrequencyRecord r{"The \"Big\" Station of the North", "9580", "AM", "6000", "2", "5000", "0", "a\"b", "\"",
                    "0800", "1200", "x\r\ny \"z\"", "0", "0", 1, 7};
  const std::string line = FormatFrequencyLine(r, '.');
  EXPECT_EQ(line, R"("The 'Big' Station of the North",9.580000,AM,6000,2,5000,0,"a'b","'","0800","1200","x  y 'z'",0,0)");
  FrequencyRecord back;
  ASSERT_TRUE(ReadFrequencyLine(line, '.', back));
  SanitizeFrequencyRecord(r);
  EXPECT_EQ(back, r);
}

// The non-throwing readers must agree with the program's converters.
TEST(FrequencyRecordTest, NumberReadersAgreeWithTheConverters) {
  const std::vector<std::string> texts = {
      "0",    "12",     "-12",    "+7",  " 42 ", "0800", "2400",  "", " ",   "-",         "+",          "1.5",
      ".5",   "5.",     "-.25",   "1.2.3", "12a", "a12",  "1 2",  "9580", "14230.5", "2147483647", "2147483648",
      "-2147483648", "-2147483649", "00000000001", "1e3", "0x10", "\t9\t", "9580,5", ",5", "--1", "1-"};
  for (const std::string& text : texts) {
    std::optional<long> whole;
    try {
      whole = TextToInteger(text);
    } catch (const ConversionError&) {
    }
    EXPECT_EQ(TryReadWhole(text), whole) << "'" << text << "'";
    for (char separator : {'.', ','}) {
      std::optional<double> decimal;
      try {
        decimal = TextToDouble(text, separator);
      } catch (const ConversionError&) {
      }
      EXPECT_EQ(TryReadDecimal(text, separator), decimal) << "'" << text << "' with " << separator;
    }
  }
  for (const char* mark : {"0", "1", "2", "", "x", "00"})
    EXPECT_EQ(IsLockedOut(mark), std::string(mark) == "1" || std::string(mark) == "2") << mark;
}

}  // namespace
}  // namespace ondaris
