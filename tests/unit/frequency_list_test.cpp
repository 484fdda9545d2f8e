// The loaded frequency file: reading whole files into the column store,
// writing them back, and adding, editing, cutting and pasting records.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "freqfiles/FrequencyList.h"

namespace ondaris {
namespace {

using Strings = std::vector<std::string>;
using Order = std::vector<int>;

const Strings kLines = {
    R"("Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes",0,0)",
    R"("Voice of A, B",6.005000,USB,2400,3,100,-50,"Here, there","Eng, Fr","1300","1400","a, b",0,1)",
    R"("Beacon",0.153000,CW,300,1,9000,0,"Coast","","2330","0030","",0,0)",
    R"("Utility",14.230500,LSB,1800,2,10,100,"Sea","Fr","","","x",5,0)",
};

std::string Join(const Strings& lines, const std::string& end = "\r\n") {
  std::string text;
  for (const auto& line : lines) text += line + end;
  return text;
}

FrequencyRecord NewRecord(const std::string& name, const std::string& khz) {
  return FrequencyRecord{name, khz, "AM", "6000", "2", "5000", "0", "", "", "0000", "2400", "", "0", "0", 1, 7};
}

class FrequencyListTest : public ::testing::Test {
 protected:
  void SetUp() override { list.Load(Join(kLines), '.'); }
  Strings Names() const { return list.Column(FreqColumn::Name); }
  FrequencyList list;
};

TEST_F(FrequencyListTest, LoadFillsTheSixteenColumnsFromTheLinesAndRowsFollowTheView) {
  list.Changed = list.OnAirView = true;
  const FileReadResult result = list.Load(Join(kLines), '.');
  EXPECT_EQ(std::make_pair(result.lineCount, result.recordsRead), std::make_pair(std::size_t{4}, 4));
  for (const auto& column : list.Columns) EXPECT_EQ(column.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    FrequencyRecord r;
    ASSERT_TRUE(ReadFrequencyLine(kLines[i], '.', r));
    EXPECT_EQ(list.Record(i), r) << i;
  }
  EXPECT_EQ(list.Column(FreqColumn::FilterIndex), (Strings{"1", "14", "23", "17"}));
  EXPECT_EQ(list.RowOrder, (Order{0, 1, 2, 3}));
  EXPECT_EQ(list.OnAirRowOrder, (Order{0, 1, 2, 3}));
  EXPECT_FALSE(list.OnAirView || list.Changed);
  ASSERT_EQ(list.FileLines.size(), 4u);
  EXPECT_EQ(list.FileLines[1], kLines[1]);
  // The record of a grid row follows the current view.
  list.RowOrder = {3, 2, 1, 0};
  list.OnAirRowOrder = {2};
  EXPECT_EQ((Order{list.RecordAtRow(1), list.RecordAtRow(4), list.RecordAtRow(0), list.RecordAtRow(5)}),
            (Order{3, 0, -1, -1}));
  EXPECT_EQ(list.ViewCount(), 4);
  list.OnAirView = true;
  EXPECT_EQ((Order{list.RecordAtRow(1), list.RecordAtRow(2), list.ViewCount()}), (Order{2, -1, 1}));
  EXPECT_EQ(&list.ViewOrder(), &list.OnAirRowOrder);
  // An empty file empties the list.
  EXPECT_EQ(list.Load("", '.').lineCount, 0u);
  EXPECT_TRUE(list.RecordCount() == 0 && list.RowOrder.empty() && list.FileLines.empty());
}

TEST_F(FrequencyListTest, FailedLinesAreReportedWithTheirLineNumberAndSkipped) {
  const Strings lines = {kLines[0], "Not a station entry", kLines[1], "",
                         R"("Bad freq",abc,AM,6000,2,5000,0,"","","","","",0,0)", kLines[2],
                         R"("Cut short",9.580000,AM)"};
  Strings messages;
  const FileReadResult result =
      list.Load(Join(lines), '.', [&](const std::string& message) { messages.push_back(message); });
  EXPECT_EQ(std::make_pair(result.lineCount, result.recordsRead), std::make_pair(std::size_t{7}, 3));
  EXPECT_EQ(messages, (Strings{"Error reading record 2:  Not a station entry", "Error reading record 4:  ",
                               "Error reading record 5:  " + lines[4], "Error reading record 7:  " + lines[6]}));
  EXPECT_EQ(Names(), (Strings{"Radio Alba", "Voice of A, B", "Beacon"}));
  EXPECT_EQ(list.RowOrder, (Order{0, 1, 2}));
  EXPECT_EQ(list.FileLines.size(), 7u);  // the raw lines, bad ones included
}

TEST_F(FrequencyListTest, TheFileIsWrittenBackByteForByteWithCrLfInRowOrder) {
  std::string noFinalEnd = Join(kLines);
  noFinalEnd.resize(noFinalEnd.size() - 2);
  for (const std::string& file : {Join(kLines), Join(kLines, "\n"), noFinalEnd})
    for (char separator : {'.', ','}) {
      FrequencyList read;
      read.Load(file, separator);
      EXPECT_EQ(read.FileText(separator), Join(kLines)) << separator << file.size();
    }
  list.RowOrder = {2, 0, 3, 1};
  EXPECT_EQ(list.FileText('.'), Join({kLines[2], kLines[0], kLines[3], kLines[1]}));
  EXPECT_EQ(list.FileText({1}, '.'), kLines[1] + "\r\n");
  EXPECT_EQ(list.FileText({}, '.'), "");
  list.AddRecord(NewRecord("Typed", "abc"));
  EXPECT_ANY_THROW(list.FileText('.'));
}

TEST_F(FrequencyListTest, AppendFileAddsBehindAndMarksTheListChanged) {
  list.Load(Join({kLines[0], kLines[1]}), '.');
  list.RowOrder = {1, 0};
  EXPECT_EQ(list.AppendFile("", '.').lineCount, 0u);
  EXPECT_EQ(list.RowOrder, (Order{1, 0}));
  EXPECT_FALSE(list.Changed);

  list.OnAirView = true;
  Strings messages;
  const FileReadResult result = list.AppendFile(Join({kLines[2], "junk", kLines[3]}, "\n"), '.',
                                                [&](const std::string& m) { messages.push_back(m); });
  EXPECT_EQ(std::make_pair(result.lineCount, result.recordsRead), std::make_pair(std::size_t{3}, 2));
  EXPECT_EQ(messages, (Strings{"Error reading record 2:  junk"}));
  EXPECT_EQ(Names(), (Strings{"Radio Alba", "Voice of A, B", "Beacon", "Utility"}));
  EXPECT_EQ(list.RowOrder, (Order{0, 1, 2, 3}));
  EXPECT_TRUE(!list.OnAirView && list.Changed);
  EXPECT_EQ(list.FileLines.size(), 2u);  // still the lines of the opened file
}

TEST_F(FrequencyListTest, AddRecordAppendsToTheViewsAndSetRecordOverwritesBothSanitized) {
  list.Load(Join({kLines[0], kLines[1]}), '.');
  list.OnAirView = true;
  list.OnAirRowOrder = {1};
  FrequencyRecord r = NewRecord("The \"Big\" Station of the North", "7200");
  r.Notes = "a\nb";
  EXPECT_EQ(list.AddRecord(r), 2);
  EXPECT_EQ(list.Cell(2, FreqColumn::FilterIndex) + list.Cell(2, FreqColumn::StepIndex), "17");
  EXPECT_EQ(list.RowOrder, (Order{0, 1, 2}));
  EXPECT_EQ(list.OnAirRowOrder, (Order{1, 2}));
  EXPECT_TRUE(list.Changed);
  EXPECT_EQ(list.FileText({2}, '.'),
            R"("The 'Big' Station of",7.200000,AM,6000,2,5000,0,"","","0000","2400","a b",0,0)" "\r\n");
  list.OnAirView = false;
  list.AddRecord(NewRecord("Other", "7300"));
  EXPECT_EQ(list.OnAirRowOrder, (Order{1, 2}));
  // SetRecord overwrites, sanitized, and keeps Spare and Lockout when asked to.
  r = NewRecord("Edited \"name\"", "6010");
  r.Spare = "9";
  list.Changed = false;
  list.SetRecord(1, r);
  FrequencyRecord expected = r;
  expected.Name = "Edited 'name'";
  expected.Spare = "0";
  expected.Lockout = "1";
  EXPECT_EQ(list.Record(1), expected);
  EXPECT_TRUE(list.Changed);
  list.SetRecord(1, r, false);
  EXPECT_EQ(list.Cell(1, FreqColumn::Spare) + list.Cell(1, FreqColumn::Lockout), "90");
  EXPECT_EQ(list.Cell(0, FreqColumn::Name), "Radio Alba");
}

TEST_F(FrequencyListTest, RemoveRecordsRenumbersAndResetsTheOrder) {
  list.RowOrder = {3, 2, 1, 0};
  list.OnAirRowOrder = {3, 1, 0};
  list.RemoveRecords({2, 0, 2});
  EXPECT_EQ(list.RecordCount(), 2);
  for (const auto& column : list.Columns) EXPECT_EQ(column.size(), 2u);
  EXPECT_EQ(Names(), (Strings{"Voice of A, B", "Utility"}));
  EXPECT_EQ(list.RowOrder, (Order{0, 1}));
  EXPECT_EQ(list.OnAirRowOrder, (Order{1, 0}));
  EXPECT_TRUE(list.Changed);
  // Records in front of the first removed one keep their text.
  list.Load(Join(kLines), '.');
  list.RemoveRecords({3});
  EXPECT_EQ(Names(), (Strings{"Radio Alba", "Voice of A, B", "Beacon"}));
  EXPECT_EQ(list.Cell(0, FreqColumn::Freq), "9580");
  // Removing every record leaves Changed alone.
  list.Load(Join({kLines[0], kLines[1]}), '.');
  list.RemoveRecords({0, 1, 7, -1});
  EXPECT_TRUE(list.RecordCount() == 0 && list.RowOrder.empty() && !list.Changed);
}

TEST_F(FrequencyListTest, InsertRecordsPutsThemInOrderInFrontOfTheRecord) {
  list.RowOrder = {3, 2, 1, 0};
  list.OnAirRowOrder = {0, 2, 3};
  list.InsertRecords(2, {NewRecord("P1", "100"), NewRecord("P2", "200")});
  EXPECT_EQ(Names(), (Strings{"Radio Alba", "Voice of A, B", "P1", "P2", "Beacon", "Utility"}));
  EXPECT_EQ(list.RowOrder, (Order{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(list.OnAirRowOrder, (Order{0, 4, 5}));
  EXPECT_TRUE(list.Changed);
  list.InsertRecords(99, {NewRecord("End", "1")});
  EXPECT_EQ(list.Cell(6, FreqColumn::Name), "End");

  FrequencyList empty;
  empty.InsertRecords(0, {NewRecord("Only", "500")});
  EXPECT_EQ(empty.RowOrder, (Order{0}));
  // Clear empties the columns and orders only.
  list.Clear();
  for (const auto& column : list.Columns) EXPECT_TRUE(column.empty());
  EXPECT_TRUE(list.RowOrder.empty() && list.OnAirRowOrder.empty() && list.Changed);
  EXPECT_EQ(list.FileLines.size(), 4u);
}

TEST(FileLinesTest, SplitsLikeATextFile) {
  const struct {
    const char* bytes;
    Strings lines;
  } cases[] = {{"", {}},           {"\r\n", {""}},           {"a", {"a"}},
               {"a\r\nb", {"a", "b"}}, {"a\nb\n", {"a", "b"}},    {"a\n\nb\n", {"a", "", "b"}},
               {"a\rb\r\n", {"a\rb"}}, {"x\r\r\n", {"x\r"}}};
  for (const auto& c : cases) {
    const auto views = SplitFileLines(c.bytes);
    EXPECT_EQ(Strings(views.begin(), views.end()), c.lines) << c.bytes;
    FileLineList list(c.bytes);
    ASSERT_EQ(list.size(), c.lines.size());
    for (std::size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i], c.lines[i]);
  }
}

}  // namespace
}  // namespace ondaris
