// The band-scan list's files: reading and building BandScan.dat lines
// (widths, defaults, quotes, damaged lines), splitting and joining the file,
// and the column widths of BandScanCols.dat, short and damaged files included.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "scan/BandScanList.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

using Strings = std::vector<std::string>;
constexpr const char* ExampleLine = "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0";

BandScanRecord Parsed(const std::string& line) {
  const std::optional<BandScanRecord> record = ParseBandScanLine(line);
  EXPECT_TRUE(record.has_value()) << line;
  return record.value_or(BandScanRecord{});
}

TEST(BandScanLine, ReadsEveryFieldCutToItsWidth) {
  const struct {
    std::string line;
    BandScanRecord expected;
  } cases[] = {
      {ExampleLine, {"49 m band", "5900", "6200", "AM", "8000", '1', "5000", "0", '3', "evening", '0', '0'}},
      {"\"Tropical, 60 m\",4750.5,5060.25,\"USB\",2550,2,100,-150,6,\"late, weak\",7,9",
       {"Tropical, 60 m", "4750.5", "5060.25", "USB", "2550", '2', "100", "-150", '6', "late, weak", '7', '9'}},
      {"\"ABCDEFGHIJKLMNOPQRSTUVWXY\",5900.12345,6200.98765,\"USBX\",80000,1,100000,-20000,3,\"" +
           std::string(64, 'x') + "0123456789abcdef\",0,0",
       {"ABCDEFGHIJKLMNOPQRST", "5900.1234", "6200.9876", "USB", "8000", '1', "10000", "-2000", '3',
        std::string(64, 'x'), '0', '0'}},
      {"\"ABCDEFGHIJKLMNOPQRST\",1,2,\"CW\",300,3,1,0,1,\"\",0,0",
       {"ABCDEFGHIJKLMNOPQRST", "1", "2", "CW", "300", '3', "1", "0", '1', "", '0', '0'}},
      // Ending after the comments or after the first reserved field: reserved zeros.
      {"\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,\"evening\"",
       {"49 m band", "5900", "6200", "AM", "8000", '1', "5000", "0", '3', "evening", '0', '0'}},
      {"\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",5",
       {"49 m band", "5900", "6200", "AM", "8000", '1', "5000", "0", '3', "evening", '5', '0'}},
  };
  for (const auto& c : cases) EXPECT_EQ(Parsed(c.line), c.expected) << c.line;
  EXPECT_DOUBLE_EQ(Parsed(cases[1].line).LowKHz(), 4750.5);
  EXPECT_DOUBLE_EQ(Parsed(cases[1].line).HighKHz(), 5060.25);
}

TEST(BandScanLine, DamagedLinesAreRefused) {
  const char* lines[] = {
      "", "\"", "\"49 m band\"",
      "49 m band,5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0",     // no opening quote
      "\"49 m band,5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0",   // name not closed
      "\"49 m band\"x5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0",  // garbage after the name
      "\"49 m band\",5900", "\"49 m band\",5900,6200", "\"49 m band\",5900,6200,\"AM\",8000,1",
      "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0", "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3",
      "\"49 m band\",5900,6200,AM,8000,1,5000,0,3,\"evening\",0,0",     // mode not quoted
      "\"49 m band\",5900,6200,\"AM,8000,1,5000,0,3,evening,0,0",       // mode not closed
      "\"49 m band\",5900,6200,\"AM\",8000,F,5000,0,3,\"evening\",0,0",  // AGC not a digit
      "\"49 m band\",5900,6200,\"AM\",8000,12,5000,0,3,\"evening\",0,0",
      "\"49 m band\",5900,6200,\"AM\",8000,,5000,0,3,\"evening\",0,0",
      "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,x,\"evening\",0,0",  // speed not a digit
      "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,evening,0,0",      // comments not quoted
      "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,\"evening",        // comments not closed
      "\"49 m band\",59x0,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0",  // low not a number
      "\"49 m band\",,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0",
      "\"49 m band\",5900,6200,5,\"AM\",8000,1,5000,0,3,\"evening\",0,0",  // a comma as decimal point
      "\"49 m band\",5900,6200,\"AM\",8000,1,5000,3,\"evening\",0,0",      // a field missing
  };
  for (const char* line : lines) EXPECT_FALSE(ParseBandScanLine(line).has_value()) << line;
}

TEST(BandScanBuild, WritesTheFieldsWithTheirDefaults) {
  BandScanFields f{"49 m band", "5900", "6200", "AM", "8000", "Fast", "5000", "0", 2, "evening"};
  EXPECT_EQ(BuildBandScanLine(f, '.'), ExampleLine);
  BandScanFields range;
  range.Low = "100";
  range.High = "200";
  EXPECT_EQ(BuildBandScanLine(range, '.'), "\"\",100,200,\"AM\",8000,2,100,0,2,\"\",0,0");
  for (const auto& [text, digit] : {std::pair{"Medium", '2'}, {"Slow", '3'}, {"", '2'}, {"fast", '2'}, {"x", '2'}}) {
    f.AGC = text;
    EXPECT_EQ(Parsed(BuildBandScanLine(f, '.')).AGC, digit) << text;
  }
  for (int index : {-1, 6, 42}) {
    f.SpeedIndex = index;
    EXPECT_EQ(Parsed(BuildBandScanLine(f, '.')).Speed, '2') << index;
  }
  // The locale's separator becomes a point; double quotes become single quotes.
  f = BandScanFields{"The \"big\" band", "5900,5", "6200,25", "AM", "8000", "Fast", "5000", "0", 2, "say \"hi\""};
  EXPECT_EQ(BuildBandScanLine(f, ','), "\"The 'big' band\",5900.5,6200.25,\"AM\",8000,1,5000,0,3,\"say 'hi'\",0,0");
  // A comma typed into a number field makes a line that is refused.
  f.Step = "5,000";
  EXPECT_FALSE(ParseBandScanLine(BuildBandScanLine(f, '.')).has_value());

  const Strings speeds{"", ".033S", ".1S", ".2S", ".5S", "1S", "3S", ""};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(BandScanSpeedName(static_cast<char>('0' + k)), speeds[k]) << k;
}

// Every combination the dialog can produce reads back as it was written.
TEST(BandScanBuild, RoundTripsThroughTheParser) {
  const Strings modes{"AM", "USB", "LSB", "CW"}, agcs{"Fast", "Medium", "Slow"};
  const Strings steps{"1", "10", "50", "100", "500", "1000", "3000", "5000", "9000", "10000"};
  int n = 0;
  for (const std::string& mode : modes)
    for (std::size_t a = 0; a < agcs.size(); ++a)
      for (const std::string& step : steps) {
        const BandScanFields f{"Band " + std::to_string(n), std::to_string(100 + n) + ".5", std::to_string(20000 + n),
                               mode, n % 2 ? "300" : "2550", agcs[a], step, std::to_string(-2000 + 50 * (n % 81)),
                               n % 6, "note, " + std::to_string(n)};
        EXPECT_EQ(Parsed(BuildBandScanLine(f, '.')),
                  (BandScanRecord{f.Name, f.Low, f.High, f.Mode, f.Filter, static_cast<char>('1' + a), f.Step, f.PBT,
                                  static_cast<char>('1' + n % 6), f.Comments, '0', '0'}));
        ++n;
      }
}

TEST(BandScanFile, SplitJoinWriteAndRead) {
  const struct {
    std::string bytes;
    Strings lines;
  } cases[] = {{"", {}},           {"a\r\nb\r\n", {"a", "b"}},           {"a\nb\n", {"a", "b"}},
               {"a\r\nb", {"a", "b"}}, {"a\rb\r", {"a", "b"}},               {"a\r\n\r\nb\r\n", {"a", "", "b"}},
               {"\r\n", {""}},         {"a\nb\r\nc\rd", {"a", "b", "c", "d"}}};
  for (const auto& c : cases) EXPECT_EQ(SplitBandScanLines(c.bytes), c.lines) << c.bytes;
  EXPECT_EQ(JoinBandScanLines({"a", "b"}), "a\r\nb\r\n");
  EXPECT_EQ(JoinBandScanLines({}), "");

  TempFolder folder;
  const std::string path = folder.file("BandScan.dat");
  EXPECT_FALSE(ReadBandScanFile(path).has_value());
  const Strings lines{ExampleLine, "", "\"25 m\",11600,12100,\"AM\",6000,2,5000,0,4,\"\",0,0"};
  WriteBandScanFile(path, lines);
  EXPECT_EQ(ReadFileBytes(path), JoinBandScanLines(lines));
  EXPECT_EQ(ReadBandScanFile(path), lines);
  WriteBandScanFile(path, {});
  EXPECT_EQ(ReadFileBytes(path), "");
  EXPECT_EQ(ReadBandScanFile(path), Strings{});
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  EXPECT_THROW(ReadBandScanFile(path), FileError);
  EXPECT_THROW(WriteBandScanFile(path, {"x"}), FileError);

  for (const char* dir : {"/opt/ondaris/", "/opt/ondaris"})
    EXPECT_EQ(BandScanDatPath(dir), "/opt/ondaris/SysFiles/BandScan.dat") << dir;
  EXPECT_EQ(BandScanColsPath("/opt/ondaris/"), "/opt/ondaris/SysFiles/BandScanCols.dat");
}

std::string Ints(std::initializer_list<std::int32_t> values) {
  std::string bytes;
  for (std::int32_t v : values)
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
  return bytes;
}

TEST(BandScanColumns, SixLittleEndianIntegersTakingOnlyWhatIsWholeAndSound) {
  const std::string bytes = EncodeBandScanColumns({140, 64, 64, 40, 42, 313});
  EXPECT_EQ(bytes, std::string("\x8c\0\0\0\x40\0\0\0\x40\0\0\0\x28\0\0\0\x2a\0\0\0\x39\x01\0\0", 24));
  const struct {
    std::string bytes;
    BandScanColumnWidths expected;
  } cases[] = {
      {Ints({200, 70, 71, 45, 50, 1000}), {200, 70, 71, 45, 50, 1000}},
      {"", {140, 64, 64, 40, 42, 313}},
      {Ints({100, 90, 80}).substr(0, 10), {100, 90, 64, 40, 42, 313}},
      {Ints({1, 2, 3, 4, 5, 6}).substr(0, 23), {1, 2, 3, 4, 5, 313}},
      {Ints({-5, 0, 70, 0, 50, 400}), {140, 64, 70, 40, 50, 400}},
      {Ints({5001, 5000, 2147483647, -2147483647 - 1, 1, 2}), {140, 5000, 64, 40, 1, 2}},
      {Ints({10, 20, 30, 40, 50, 60, 70, 80}), {10, 20, 30, 40, 50, 60}},
  };
  for (const auto& c : cases) {
    BandScanColumnWidths widths = DefaultBandScanColumnWidths;
    DecodeBandScanColumns(c.bytes, widths);
    EXPECT_EQ(widths, c.expected) << c.bytes.size() << " bytes";
  }
}

}  // namespace
}  // namespace ondaris
