// The band-scan list's files: reading and building BandScan.dat lines
// (widths, defaults, quotes, damaged lines), splitting and joining the file,
// and the column widths of BandScanCols.dat, short and damaged files included.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "scan/BandScanList.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;

constexpr const char* ExampleLine = "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0";

BandScanRecord Parsed(const std::string& line) {
  const std::optional<BandScanRecord> record = ParseBandScanLine(line);
  EXPECT_TRUE(record.has_value()) << line;
  return record.value_or(BandScanRecord{});
}

TEST(BandScanLine, ReadsEveryFieldOfTheExampleLine) {
  const BandScanRecord r = Parsed(ExampleLine);
  EXPECT_EQ(r.Name, "49 m band");
  EXPECT_EQ(r.Low, "5900");
  EXPECT_EQ(r.High, "6200");
  EXPECT_EQ(r.Mode, "AM");
  EXPECT_EQ(r.Filter, "8000");
  EXPECT_EQ(r.AGC, '1');
  EXPECT_EQ(r.Step, "5000");
  EXPECT_EQ(r.PBT, "0");
  EXPECT_EQ(r.Speed, '3');
  EXPECT_EQ(r.Comments, "evening");
  EXPECT_EQ(r.Reserved1, '0');
  EXPECT_EQ(r.Reserved2, '0');
  EXPECT_DOUBLE_EQ(r.LowKHz(), 5900.0);
  EXPECT_DOUBLE_EQ(r.HighKHz(), 6200.0);
}

TEST(BandScanLine, QuotedFieldsMayHoldCommasAndDecimalsUseThePoint) {
  const BandScanRecord r = Parsed("\"Tropical, 60 m\",4750.5,5060.25,\"USB\",2550,2,100,-150,6,\"late, weak\",7,9");
  EXPECT_EQ(r.Name, "Tropical, 60 m");
  EXPECT_EQ(r.Low, "4750.5");
  EXPECT_DOUBLE_EQ(r.LowKHz(), 4750.5);
  EXPECT_DOUBLE_EQ(r.HighKHz(), 5060.25);
  EXPECT_EQ(r.Mode, "USB");
  EXPECT_EQ(r.AGC, '2');
  EXPECT_EQ(r.PBT, "-150");
  EXPECT_EQ(r.Speed, '6');
  EXPECT_EQ(r.Comments, "late, weak");
  EXPECT_EQ(r.Reserved1, '7');
  EXPECT_EQ(r.Reserved2, '9');
}

struct WidthCase {
  const char* what;
  std::string line;
  std::string BandScanRecord::*field;
  std::string expected;
};

class BandScanLineWidths : public ::testing::TestWithParam<WidthCase> {};

TEST_P(BandScanLineWidths, EachTextIsCutToItsWidth) {
  const WidthCase& c = GetParam();
  const BandScanRecord r = Parsed(c.line);
  EXPECT_EQ(r.*c.field, c.expected) << c.what;
}

std::string Line(const std::string& name, const std::string& low, const std::string& high, const std::string& mode,
                 const std::string& filter, const std::string& step, const std::string& pbt,
                 const std::string& comments) {
  return "\"" + name + "\"," + low + "," + high + ",\"" + mode + "\"," + filter + ",1," + step + "," + pbt + ",3,\"" +
         comments + "\",0,0";
}

INSTANTIATE_TEST_SUITE_P(
    Widths, BandScanLineWidths,
    ::testing::Values(
        WidthCase{"name of 25", Line("ABCDEFGHIJKLMNOPQRSTUVWXY", "1", "2", "AM", "8000", "100", "0", "c"),
                  &BandScanRecord::Name, "ABCDEFGHIJKLMNOPQRST"},
        WidthCase{"name of 20", Line("ABCDEFGHIJKLMNOPQRST", "1", "2", "AM", "8000", "100", "0", "c"),
                  &BandScanRecord::Name, "ABCDEFGHIJKLMNOPQRST"},
        WidthCase{"comment of 80",
                  Line("n", "1", "2", "AM", "8000", "100", "0", std::string(64, 'x') + "0123456789abcdef"),
                  &BandScanRecord::Comments, std::string(64, 'x')},
        WidthCase{"low of 10", Line("n", "5900.12345", "6200", "AM", "8000", "100", "0", "c"), &BandScanRecord::Low,
                  "5900.1234"},
        WidthCase{"high of 10", Line("n", "5900", "6200.98765", "AM", "8000", "100", "0", "c"), &BandScanRecord::High,
                  "6200.9876"},
        WidthCase{"mode of 4", Line("n", "1", "2", "USBX", "8000", "100", "0", "c"), &BandScanRecord::Mode, "USB"},
        WidthCase{"filter of 5", Line("n", "1", "2", "AM", "80000", "100", "0", "c"), &BandScanRecord::Filter, "8000"},
        WidthCase{"step of 6", Line("n", "1", "2", "AM", "8000", "100000", "0", "c"), &BandScanRecord::Step, "10000"},
        WidthCase{"pbt of 6", Line("n", "1", "2", "AM", "8000", "100", "-20000", "c"), &BandScanRecord::PBT, "-2000"}));

struct DamagedCase {
  const char* what;
  std::string line;
};

class BandScanDamagedLines : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(BandScanDamagedLines, AreRefused) {
  EXPECT_FALSE(ParseBandScanLine(GetParam().line).has_value()) << GetParam().what << ": " << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Damaged, BandScanDamagedLines,
    ::testing::Values(
        DamagedCase{"empty", ""},
        DamagedCase{"no opening quote", "49 m band,5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0"},
        DamagedCase{"name without closing quote", "\"49 m band,5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0"},
        DamagedCase{"only a quote", "\""}, DamagedCase{"name only", "\"49 m band\""},
        DamagedCase{"name then garbage", "\"49 m band\"x5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0"},
        DamagedCase{"ends after low", "\"49 m band\",5900"}, DamagedCase{"ends after high", "\"49 m band\",5900,6200"},
        DamagedCase{"mode not quoted", "\"49 m band\",5900,6200,AM,8000,1,5000,0,3,\"evening\",0,0"},
        DamagedCase{"mode without closing quote", "\"49 m band\",5900,6200,\"AM,8000,1,5000,0,3,evening,0,0"},
        DamagedCase{"agc not a digit", "\"49 m band\",5900,6200,\"AM\",8000,F,5000,0,3,\"evening\",0,0"},
        DamagedCase{"agc of two characters", "\"49 m band\",5900,6200,\"AM\",8000,12,5000,0,3,\"evening\",0,0"},
        DamagedCase{"agc missing", "\"49 m band\",5900,6200,\"AM\",8000,,5000,0,3,\"evening\",0,0"},
        DamagedCase{"ends after agc", "\"49 m band\",5900,6200,\"AM\",8000,1"},
        DamagedCase{"ends after pbt", "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0"},
        DamagedCase{"ends after speed", "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3"},
        DamagedCase{"speed not a digit", "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,x,\"evening\",0,0"},
        DamagedCase{"comments not quoted", "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,evening,0,0"},
        DamagedCase{"comments without closing quote", "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,\"evening"},
        DamagedCase{"low not a number", "\"49 m band\",59x0,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0"},
        DamagedCase{"low empty", "\"49 m band\",,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0"},
        DamagedCase{"high with a comma as decimal point",
                    "\"49 m band\",5900,6200,5,\"AM\",8000,1,5000,0,3,\"evening\",0,0"},
        DamagedCase{"a field missing", "\"49 m band\",5900,6200,\"AM\",8000,1,5000,3,\"evening\",0,0"}));

TEST(BandScanLine, ALineEndingAfterTheCommentsIsGoodWithReservedZeros) {
  const BandScanRecord r = Parsed("\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,\"evening\"");
  EXPECT_EQ(r.Comments, "evening");
  EXPECT_EQ(r.Reserved1, '0');
  EXPECT_EQ(r.Reserved2, '0');
  const BandScanRecord one = Parsed("\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",5");
  EXPECT_EQ(one.Reserved1, '5');
  EXPECT_EQ(one.Reserved2, '0');
}

BandScanFields ExampleFields() {
  BandScanFields f;
  f.Name = "49 m band";
  f.Low = "5900";
  f.High = "6200";
  f.Mode = "AM";
  f.Filter = "8000";
  f.AGC = "Fast";
  f.Step = "5000";
  f.PBT = "0";
  f.SpeedIndex = 2;
  f.Comments = "evening";
  return f;
}

TEST(BandScanBuild, WritesTheExampleLine) { EXPECT_EQ(BuildBandScanLine(ExampleFields(), '.'), ExampleLine); }

TEST(BandScanBuild, EmptyFieldsGetTheirDefaults) {
  BandScanFields f;
  f.Low = "100";
  f.High = "200";
  EXPECT_EQ(BuildBandScanLine(f, '.'), "\"\",100,200,\"AM\",8000,2,100,0,2,\"\",0,0");
}

struct AgcCase {
  std::string text;
  char digit;
};

class BandScanBuildAgc : public ::testing::TestWithParam<AgcCase> {};

TEST_P(BandScanBuildAgc, WritesTheDigitOfTheText) {
  BandScanFields f = ExampleFields();
  f.AGC = GetParam().text;
  const BandScanRecord r = Parsed(BuildBandScanLine(f, '.'));
  EXPECT_EQ(r.AGC, GetParam().digit) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Agc, BandScanBuildAgc,
                         ::testing::Values(AgcCase{"Fast", '1'}, AgcCase{"Medium", '2'}, AgcCase{"Slow", '3'},
                                           AgcCase{"", '2'}, AgcCase{"fast", '2'}, AgcCase{"Other", '2'}));

TEST(BandScanBuild, SpeedIsTheComboIndexPlusOneAndTwoWithoutOne) {
  for (int index = 0; index < 6; ++index) {
    BandScanFields f = ExampleFields();
    f.SpeedIndex = index;
    EXPECT_EQ(Parsed(BuildBandScanLine(f, '.')).Speed, static_cast<char>('1' + index));
  }
  for (int index : {-1, 6, 42}) {
    BandScanFields f = ExampleFields();
    f.SpeedIndex = index;
    EXPECT_EQ(Parsed(BuildBandScanLine(f, '.')).Speed, '2') << index;
  }
}

TEST(BandScanBuild, TheLocaleSeparatorBecomesAPoint) {
  BandScanFields f = ExampleFields();
  f.Low = "5900,5";
  f.High = "6200,25";
  const std::string line = BuildBandScanLine(f, ',');
  EXPECT_EQ(line, "\"49 m band\",5900.5,6200.25,\"AM\",8000,1,5000,0,3,\"evening\",0,0");
  EXPECT_DOUBLE_EQ(Parsed(line).LowKHz(), 5900.5);
}

TEST(BandScanBuild, ADoubleQuoteInNameOrCommentIsStoredAsASingleQuote) {
  BandScanFields f = ExampleFields();
  f.Name = "The \"big\" band";
  f.Comments = "say \"hi\"";
  const std::string line = BuildBandScanLine(f, '.');
  EXPECT_EQ(line, "\"The 'big' band\",5900,6200,\"AM\",8000,1,5000,0,3,\"say 'hi'\",0,0");
  const BandScanRecord r = Parsed(line);
  EXPECT_EQ(r.Name, "The 'big' band");
  EXPECT_EQ(r.Comments, "say 'hi'");
  EXPECT_EQ(r.Low, "5900");
}

TEST(BandScanBuild, ACommaTypedIntoANumberFieldMakesALineThatIsRefused) {
  BandScanFields f = ExampleFields();
  f.Step = "5,000";
  EXPECT_FALSE(ParseBandScanLine(BuildBandScanLine(f, '.')).has_value());
}

// Every combination the dialog can produce reads back as it was written.
TEST(BandScanBuild, RoundTripsThroughTheParser) {
  const std::vector<std::string> modes{"AM", "USB", "LSB", "CW"};
  const std::vector<std::string> agcs{"Fast", "Medium", "Slow"};
  const std::vector<std::string> steps{"1", "10", "50", "100", "500", "1000", "3000", "5000", "9000", "10000"};
  int n = 0;
  for (const std::string& mode : modes)
    for (std::size_t a = 0; a < agcs.size(); ++a)
      for (const std::string& step : steps) {
        BandScanFields f;
        f.Name = "Band " + std::to_string(n);
        f.Low = std::to_string(100 + n) + ".5";
        f.High = std::to_string(20000 + n);
        f.Mode = mode;
        f.Filter = n % 2 ? "300" : "2550";
        f.AGC = agcs[a];
        f.Step = step;
        f.PBT = std::to_string(-2000 + 50 * (n % 81));
        f.SpeedIndex = n % 6;
        f.Comments = "note, " + std::to_string(n);
        const BandScanRecord r = Parsed(BuildBandScanLine(f, '.'));
        EXPECT_EQ(r.Name, f.Name);
        EXPECT_EQ(r.Low, f.Low);
        EXPECT_EQ(r.High, f.High);
        EXPECT_EQ(r.Mode, f.Mode);
        EXPECT_EQ(r.Filter, f.Filter);
        EXPECT_EQ(r.AGC, static_cast<char>('1' + a));
        EXPECT_EQ(r.Step, f.Step);
        EXPECT_EQ(r.PBT, f.PBT);
        EXPECT_EQ(r.Speed, static_cast<char>('1' + n % 6));
        EXPECT_EQ(r.Comments, f.Comments);
        ++n;
      }
}

TEST(BandScanSpeed, NamesOfTheSixDigits) {
  EXPECT_EQ(BandScanSpeedName('1'), ".033S");
  EXPECT_EQ(BandScanSpeedName('2'), ".1S");
  EXPECT_EQ(BandScanSpeedName('3'), ".2S");
  EXPECT_EQ(BandScanSpeedName('4'), ".5S");
  EXPECT_EQ(BandScanSpeedName('5'), "1S");
  EXPECT_EQ(BandScanSpeedName('6'), "3S");
  EXPECT_EQ(BandScanSpeedName('0'), "");
  EXPECT_EQ(BandScanSpeedName('7'), "");
}

// ---- The file ----------------------------------------------------------------

struct SplitCase {
  const char* what;
  std::string bytes;
  std::vector<std::string> lines;
};

class BandScanSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(BandScanSplit, GivesTheLines) {
  EXPECT_EQ(SplitBandScanLines(GetParam().bytes), GetParam().lines) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Split, BandScanSplit,
                         ::testing::Values(SplitCase{"empty", "", {}}, SplitCase{"CR LF", "a\r\nb\r\n", {"a", "b"}},
                                           SplitCase{"LF", "a\nb\n", {"a", "b"}},
                                           SplitCase{"no final line end", "a\r\nb", {"a", "b"}},
                                           SplitCase{"lone CR", "a\rb\r", {"a", "b"}},
                                           SplitCase{"empty line inside", "a\r\n\r\nb\r\n", {"a", "", "b"}},
                                           SplitCase{"only a line end", "\r\n", {""}},
                                           SplitCase{"mixed", "a\nb\r\nc\rd", {"a", "b", "c", "d"}}));

TEST(BandScanFile, JoinEndsEveryLineWithCRLF) {
  EXPECT_EQ(JoinBandScanLines({"a", "b"}), "a\r\nb\r\n");
  EXPECT_EQ(JoinBandScanLines({}), "");
  const std::vector<std::string> lines{ExampleLine, "", "x"};
  EXPECT_EQ(SplitBandScanLines(JoinBandScanLines(lines)), lines);
}

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "ondaris-bandlist-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  std::string path(const std::string& name) const { return (root_ / name).string(); }

 private:
  fs::path root_;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(BandScanFile, WritesAndReadsBack) {
  TempFolder folder;
  const std::string path = folder.path("BandScan.dat");
  EXPECT_FALSE(ReadBandScanFile(path).has_value());
  const std::vector<std::string> lines{ExampleLine, "\"25 m\",11600,12100,\"AM\",6000,2,5000,0,4,\"\",0,0"};
  WriteBandScanFile(path, lines);
  EXPECT_EQ(Slurp(path), std::string(ExampleLine) + "\r\n\"25 m\",11600,12100,\"AM\",6000,2,5000,0,4,\"\",0,0\r\n");
  const std::optional<std::vector<std::string>> read = ReadBandScanFile(path);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(*read, lines);
  WriteBandScanFile(path, {});
  EXPECT_EQ(Slurp(path), "");
  EXPECT_EQ(ReadBandScanFile(path), std::optional<std::vector<std::string>>(std::vector<std::string>{}));
}

TEST(BandScanFile, AFolderInThePlaceOfTheFileIsAnError) {
  TempFolder folder;
  fs::create_directory(folder.path("BandScan.dat"));
  EXPECT_THROW(ReadBandScanFile(folder.path("BandScan.dat")), FileError);
  EXPECT_THROW(WriteBandScanFile(folder.path("BandScan.dat"), {"x"}), FileError);
}

TEST(BandScanFile, PathsAreBelowSysFiles) {
  EXPECT_EQ(BandScanDatPath("/opt/ondaris/"), "/opt/ondaris/SysFiles/BandScan.dat");
  EXPECT_EQ(BandScanDatPath("/opt/ondaris"), "/opt/ondaris/SysFiles/BandScan.dat");
  EXPECT_EQ(BandScanColsPath("/opt/ondaris/"), "/opt/ondaris/SysFiles/BandScanCols.dat");
}

// ---- BandScanCols.dat ----------------------------------------------------------

TEST(BandScanColumns, EncodesSixLittleEndianIntegers) {
  const BandScanColumnWidths widths{140, 64, 64, 40, 42, 313};
  const std::string bytes = EncodeBandScanColumns(widths);
  ASSERT_EQ(bytes.size(), BandScanColsFileSize);
  const std::string expected("\x8c\0\0\0\x40\0\0\0\x40\0\0\0\x28\0\0\0\x2a\0\0\0\x39\x01\0\0", 24);
  EXPECT_EQ(bytes, expected);
  BandScanColumnWidths read{1, 1, 1, 1, 1, 1};
  DecodeBandScanColumns(bytes, read);
  EXPECT_EQ(read, widths);
}

TEST(BandScanColumns, RoundTripsThroughAFile) {
  TempFolder folder;
  const BandScanColumnWidths widths{200, 70, 71, 45, 50, 1000};
  std::ofstream(folder.path("cols"), std::ios::binary) << EncodeBandScanColumns(widths);
  BandScanColumnWidths read = DefaultBandScanColumnWidths;
  DecodeBandScanColumns(Slurp(folder.path("cols")), read);
  EXPECT_EQ(read, widths);
}

struct ColsCase {
  const char* what;
  std::string bytes;
  BandScanColumnWidths expected;
};

class BandScanColumnsDamaged : public ::testing::TestWithParam<ColsCase> {};

TEST_P(BandScanColumnsDamaged, TakeOnlyWhatIsWhole) {
  BandScanColumnWidths widths = DefaultBandScanColumnWidths;
  DecodeBandScanColumns(GetParam().bytes, widths);
  EXPECT_EQ(widths, GetParam().expected) << GetParam().what;
}

std::string Ints(std::initializer_list<std::int32_t> values) {
  std::string bytes;
  for (std::int32_t v : values)
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Damaged, BandScanColumnsDamaged,
    ::testing::Values(
        ColsCase{"empty", "", {140, 64, 64, 40, 42, 313}},
        ColsCase{"two and a half integers", Ints({100, 90, 80}).substr(0, 10), {100, 90, 64, 40, 42, 313}},
        ColsCase{"23 bytes", Ints({1, 2, 3, 4, 5, 6}).substr(0, 23), {1, 2, 3, 4, 5, 313}},
        ColsCase{"negative and zero widths", Ints({-5, 0, 70, 0, 50, 400}), {140, 64, 70, 40, 50, 400}},
        ColsCase{"huge widths", Ints({5001, 5000, 2147483647, -2147483647 - 1, 1, 2}), {140, 5000, 64, 40, 1, 2}},
        ColsCase{"longer file", Ints({10, 20, 30, 40, 50, 60, 70, 80}), {10, 20, 30, 40, 50, 60}}));

}  // namespace
}  // namespace ondaris
