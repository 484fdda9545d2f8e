// The loaded frequency file: reading whole files into the column store,
// writing them back, and adding, editing, cutting and pasting records.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "freqfiles/FrequencyList.h"

namespace ondaris {
namespace {

const std::vector<std::string> kLines = {
    R"("Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes",0,0)",
    R"("Voice of A, B",6.005000,USB,2400,3,100,-50,"Here, there","Eng, Fr","1300","1400","a, b",0,1)",
    R"("Beacon",0.153000,CW,300,1,9000,0,"Coast","","2330","0030","",0,0)",
    R"("Utility",14.230500,LSB,1800,2,10,100,"Sea","Fr","","","x",5,0)",
};

std::string Join(const std::vector<std::string>& lines, const std::string& end) {
  std::string text;
  for (const auto& line : lines) text += line + end;
  return text;
}

std::vector<std::string> ColumnTexts(const FrequencyList& list, FreqColumn column) {
  return list.Column(column);
}

FrequencyRecord NewRecord(const std::string& name, const std::string& khz) {
  FrequencyRecord r;
  r.Name = name;
  r.Freq = khz;
  r.Mode = "AM";
  r.Filter = "6000";
  r.FilterIndex = 1;
  r.AGC = "2";
  r.Step = "5000";
  r.StepIndex = 7;
  r.PBT = "0";
  r.OnAir = "0000";
  r.OffAir = "2400";
  r.Spare = "0";
  r.Lockout = "0";
  return r;
}

TEST(FrequencyListTest, LoadFillsTheSixteenColumns) {
  FrequencyList list;
  list.Changed = true;
  list.OnAirView = true;
  const FileReadResult result = list.Load(Join(kLines, "\r\n"), '.');
  EXPECT_EQ(result.lineCount, 4u);
  EXPECT_EQ(result.recordsRead, 4);
  ASSERT_EQ(list.RecordCount(), 4);
  for (const auto& column : list.Columns) EXPECT_EQ(column.size(), 4u);

  EXPECT_EQ(ColumnTexts(list, FreqColumn::Freq), (std::vector<std::string>{"9580", "6005", "153", "14230.5"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Name),
            (std::vector<std::string>{"Radio Alba", "Voice of A, B", "Beacon", "Utility"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Mode), (std::vector<std::string>{"AM", "USB", "CW", "LSB"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Filter), (std::vector<std::string>{"6000", "2400", "300", "1800"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::AGC), (std::vector<std::string>{"2", "3", "1", "2"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Step), (std::vector<std::string>{"5000", "100", "9000", "10"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::PBT), (std::vector<std::string>{"0", "-50", "0", "100"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Location),
            (std::vector<std::string>{"Mountains", "Here, there", "Coast", "Sea"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Language), (std::vector<std::string>{"English", "Eng, Fr", "", "Fr"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::OnAir), (std::vector<std::string>{"0800", "1300", "2330", ""}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::OffAir), (std::vector<std::string>{"1200", "1400", "0030", ""}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Notes), (std::vector<std::string>{"Notes", "a, b", "", "x"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Spare), (std::vector<std::string>{"0", "0", "0", "5"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Lockout), (std::vector<std::string>{"0", "1", "0", "0"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::FilterIndex), (std::vector<std::string>{"1", "14", "23", "17"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::StepIndex), (std::vector<std::string>{"7", "3", "8", "1"}));

  EXPECT_EQ(list.RowOrder, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(list.OnAirRowOrder, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_FALSE(list.OnAirView);
  EXPECT_FALSE(list.Changed);
  ASSERT_EQ(list.FileLines.size(), 4u);
  EXPECT_EQ(list.FileLines[1], kLines[1]);
}

TEST(FrequencyListTest, CrLfAndLfFilesLoadAlike) {
  FrequencyList crlf, lf, noFinalEnd;
  crlf.Load(Join(kLines, "\r\n"), '.');
  lf.Load(Join(kLines, "\n"), '.');
  std::string text = Join(kLines, "\r\n");
  text.resize(text.size() - 2);
  noFinalEnd.Load(text, '.');
  EXPECT_EQ(crlf.Columns, lf.Columns);
  EXPECT_EQ(crlf.Columns, noFinalEnd.Columns);
  EXPECT_EQ(noFinalEnd.RecordCount(), 4);
}

TEST(FrequencyListTest, FailedLinesAreReportedWithTheirLineNumberAndSkipped) {
  const std::vector<std::string> lines = {
      kLines[0],
      "Not a station entry",
      kLines[1],
      "",
      R"("Bad freq",abc,AM,6000,2,5000,0,"","","","","",0,0)",
      kLines[2],
      R"("Cut short",9.580000,AM)",
  };
  FrequencyList list;
  std::vector<std::string> messages;
  const FileReadResult result =
      list.Load(Join(lines, "\r\n"), '.', [&](const std::string& message) { messages.push_back(message); });
  EXPECT_EQ(result.lineCount, 7u);
  EXPECT_EQ(result.recordsRead, 3);
  EXPECT_EQ(messages, (std::vector<std::string>{
                          "Error reading record 2:  Not a station entry",
                          "Error reading record 4:  ",
                          R"(Error reading record 5:  "Bad freq",abc,AM,6000,2,5000,0,"","","","","",0,0)",
                          R"(Error reading record 7:  "Cut short",9.580000,AM)",
                      }));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Name),
            (std::vector<std::string>{"Radio Alba", "Voice of A, B", "Beacon"}));
  EXPECT_EQ(list.RowOrder, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(list.FileLines.size(), 7u);  // the raw lines, bad ones included
}

TEST(FrequencyListTest, WholeFileRoundTripIsByteForByte) {
  const std::string file = Join(kLines, "\r\n");
  for (char separator : {'.', ','}) {
    FrequencyList list;
    list.Load(file, separator);
    EXPECT_EQ(list.FileText(separator), file) << separator;
  }
}

TEST(FrequencyListTest, CommaLocaleKeepsKHzWithComma) {
  FrequencyList list;
  list.Load(Join(kLines, "\r\n"), ',');
  EXPECT_EQ(list.Cell(3, FreqColumn::Freq), "14230,5");
  EXPECT_EQ(list.Record(3).Freq, "14230,5");
}

TEST(FrequencyListTest, LfFileIsWrittenBackWithCrLf) {
  FrequencyList list;
  list.Load(Join(kLines, "\n"), '.');
  EXPECT_EQ(list.FileText('.'), Join(kLines, "\r\n"));
}

TEST(FrequencyListTest, FileIsWrittenInTheGivenRowOrder) {
  FrequencyList list;
  list.Load(Join(kLines, "\r\n"), '.');
  list.RowOrder = {2, 0, 3, 1};
  EXPECT_EQ(list.FileText('.'), Join({kLines[2], kLines[0], kLines[3], kLines[1]}, "\r\n"));
  EXPECT_EQ(list.FileText({1}, '.'), kLines[1] + "\r\n");
  EXPECT_EQ(list.FileText({}, '.'), "");
}

TEST(FrequencyListTest, EmptyFileLoadsNothing) {
  FrequencyList list;
  list.Load(Join(kLines, "\r\n"), '.');
  const FileReadResult result = list.Load("", '.');
  EXPECT_EQ(result.lineCount, 0u);
  EXPECT_EQ(list.RecordCount(), 0);
  EXPECT_TRUE(list.RowOrder.empty());
  EXPECT_TRUE(list.FileLines.empty());
}

TEST(FrequencyListTest, RecordAssemblesTheColumns) {
  FrequencyList list;
  list.Load(Join(kLines, "\r\n"), '.');
  const FrequencyRecord r = list.Record(1);
  EXPECT_EQ(r.Name, "Voice of A, B");
  EXPECT_EQ(r.Freq, "6005");
  EXPECT_EQ(r.FilterIndex, 14);
  EXPECT_EQ(r.StepIndex, 3);
  EXPECT_EQ(r.Lockout, "1");
}

TEST(FrequencyListTest, RecordAtRowFollowsTheCurrentView) {
  FrequencyList list;
  list.Load(Join(kLines, "\r\n"), '.');
  list.RowOrder = {3, 2, 1, 0};
  list.OnAirRowOrder = {2};
  EXPECT_EQ(list.RecordAtRow(1), 3);
  EXPECT_EQ(list.RecordAtRow(4), 0);
  EXPECT_EQ(list.RecordAtRow(0), -1);
  EXPECT_EQ(list.RecordAtRow(5), -1);
  EXPECT_EQ(list.ViewCount(), 4);
  list.OnAirView = true;
  EXPECT_EQ(list.RecordAtRow(1), 2);
  EXPECT_EQ(list.RecordAtRow(2), -1);
  EXPECT_EQ(list.ViewCount(), 1);
  EXPECT_EQ(&list.ViewOrder(), &list.OnAirRowOrder);
}

TEST(FrequencyListTest, AppendFileAddsBehindAndMarksTheListChanged) {
  FrequencyList list;
  list.Load(Join({kLines[0], kLines[1]}, "\r\n"), '.');
  list.RowOrder = {1, 0};
  list.OnAirView = true;
  std::vector<std::string> messages;
  const FileReadResult result = list.AppendFile(Join({kLines[2], "junk", kLines[3]}, "\n"), '.',
                                                [&](const std::string& m) { messages.push_back(m); });
  EXPECT_EQ(result.lineCount, 3u);
  EXPECT_EQ(result.recordsRead, 2);
  EXPECT_EQ(messages, (std::vector<std::string>{"Error reading record 2:  junk"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Name),
            (std::vector<std::string>{"Radio Alba", "Voice of A, B", "Beacon", "Utility"}));
  EXPECT_EQ(list.RowOrder, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(list.OnAirRowOrder, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_FALSE(list.OnAirView);
  EXPECT_TRUE(list.Changed);
  EXPECT_EQ(list.FileLines.size(), 2u);  // still the lines of the opened file
}

TEST(FrequencyListTest, AppendingAnEmptyFileChangesNothing) {
  FrequencyList list;
  list.Load(Join({kLines[0], kLines[1]}, "\r\n"), '.');
  list.RowOrder = {1, 0};
  const FileReadResult result = list.AppendFile("", '.');
  EXPECT_EQ(result.lineCount, 0u);
  EXPECT_EQ(list.RowOrder, (std::vector<int>{1, 0}));
  EXPECT_FALSE(list.Changed);
}

TEST(FrequencyListTest, AddRecordAppendsToTheViewsAndSanitizes) {
  FrequencyList list;
  list.Load(Join({kLines[0], kLines[1]}, "\r\n"), '.');
  list.OnAirView = true;
  list.OnAirRowOrder = {1};
  FrequencyRecord r = NewRecord("The \"Big\" Station of the North", "7200");
  r.Notes = "a\nb";
  EXPECT_EQ(list.AddRecord(r), 2);
  EXPECT_EQ(list.Cell(2, FreqColumn::Name), "The 'Big' Station of");
  EXPECT_EQ(list.Cell(2, FreqColumn::Notes), "a b");
  EXPECT_EQ(list.Cell(2, FreqColumn::FilterIndex), "1");
  EXPECT_EQ(list.Cell(2, FreqColumn::StepIndex), "7");
  EXPECT_EQ(list.RowOrder, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(list.OnAirRowOrder, (std::vector<int>{1, 2}));
  EXPECT_TRUE(list.Changed);
  EXPECT_EQ(list.FileText({2}, '.'),
            std::string(R"("The 'Big' Station of",7.200000,AM,6000,2,5000,0,"","","0000","2400","a b",0,0)") + "\r\n");

  list.OnAirView = false;
  list.AddRecord(NewRecord("Other", "7300"));
  EXPECT_EQ(list.OnAirRowOrder, (std::vector<int>{1, 2}));
}

TEST(FrequencyListTest, SetRecordOverwritesAndKeepsSpareAndLockout) {
  FrequencyList list;
  list.Load(Join(kLines, "\r\n"), '.');
  FrequencyRecord r = NewRecord("Edited \"name\"", "6010");
  r.Spare = "9";
  r.Lockout = "0";
  list.SetRecord(1, r);
  EXPECT_EQ(list.Cell(1, FreqColumn::Name), "Edited 'name'");
  EXPECT_EQ(list.Cell(1, FreqColumn::Freq), "6010");
  EXPECT_EQ(list.Cell(1, FreqColumn::Spare), "0");
  EXPECT_EQ(list.Cell(1, FreqColumn::Lockout), "1");
  EXPECT_EQ(list.Cell(1, FreqColumn::StepIndex), "7");
  EXPECT_TRUE(list.Changed);
  list.SetRecord(1, r, false);
  EXPECT_EQ(list.Cell(1, FreqColumn::Spare), "9");
  EXPECT_EQ(list.Cell(1, FreqColumn::Lockout), "0");
  EXPECT_EQ(list.Cell(0, FreqColumn::Name), "Radio Alba");
}

TEST(FrequencyListTest, RemoveRecordsRenumbersAndResetsTheOrder) {
  FrequencyList list;
  list.Load(Join(kLines, "\r\n"), '.');
  list.RowOrder = {3, 2, 1, 0};
  list.OnAirRowOrder = {3, 1, 0};
  list.RemoveRecords({2, 0, 2});
  EXPECT_EQ(list.RecordCount(), 2);
  for (const auto& column : list.Columns) EXPECT_EQ(column.size(), 2u);
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Name), (std::vector<std::string>{"Voice of A, B", "Utility"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::StepIndex), (std::vector<std::string>{"3", "1"}));
  EXPECT_EQ(list.RowOrder, (std::vector<int>{0, 1}));
  EXPECT_EQ(list.OnAirRowOrder, (std::vector<int>{1, 0}));
  EXPECT_TRUE(list.Changed);
}

TEST(FrequencyListTest, RemovingALaterRecordKeepsTheOnesBeforeIt) {
  // Records in front of the first removed one stay where they are and must
  // keep their text.
  FrequencyList list;
  list.Load(Join(kLines, "\r\n"), '.');
  list.RemoveRecords({3});
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Name),
            (std::vector<std::string>{"Radio Alba", "Voice of A, B", "Beacon"}));
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Freq)[0], "9580");
}

TEST(FrequencyListTest, RemovingEveryRecordLeavesChangedAlone) {
  FrequencyList list;
  list.Load(Join({kLines[0], kLines[1]}, "\r\n"), '.');
  list.RemoveRecords({0, 1, 7, -1});
  EXPECT_EQ(list.RecordCount(), 0);
  EXPECT_TRUE(list.RowOrder.empty());
  EXPECT_FALSE(list.Changed);
}

TEST(FrequencyListTest, InsertRecordsPutsThemInOrderInFrontOfTheRecord) {
  FrequencyList list;
  list.Load(Join(kLines, "\r\n"), '.');
  list.RowOrder = {3, 2, 1, 0};
  list.OnAirRowOrder = {0, 2, 3};
  list.InsertRecords(2, {NewRecord("P1", "100"), NewRecord("P2", "200")});
  EXPECT_EQ(ColumnTexts(list, FreqColumn::Name),
            (std::vector<std::string>{"Radio Alba", "Voice of A, B", "P1", "P2", "Beacon", "Utility"}));
  for (const auto& column : list.Columns) EXPECT_EQ(column.size(), 6u);
  EXPECT_EQ(list.RowOrder, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(list.OnAirRowOrder, (std::vector<int>{0, 4, 5}));
  EXPECT_TRUE(list.Changed);

  FrequencyList empty;
  empty.InsertRecords(0, {NewRecord("Only", "500")});
  EXPECT_EQ(empty.RecordCount(), 1);
  EXPECT_EQ(empty.RowOrder, (std::vector<int>{0}));

  list.InsertRecords(99, {NewRecord("End", "1")});
  EXPECT_EQ(list.Cell(6, FreqColumn::Name), "End");
}

TEST(FrequencyListTest, ClearEmptiesColumnsAndOrdersOnly) {
  FrequencyList list;
  list.Load(Join(kLines, "\r\n"), '.');
  list.Changed = true;
  list.Clear();
  EXPECT_EQ(list.RecordCount(), 0);
  for (const auto& column : list.Columns) EXPECT_TRUE(column.empty());
  EXPECT_TRUE(list.RowOrder.empty());
  EXPECT_TRUE(list.OnAirRowOrder.empty());
  EXPECT_TRUE(list.Changed);
  EXPECT_EQ(list.FileLines.size(), 4u);
}

TEST(FrequencyListTest, SaveOfAFreqThatIsNotANumberThrows) {
  FrequencyList list;
  list.AddRecord(NewRecord("Typed", "abc"));
  EXPECT_ANY_THROW(list.FileText('.'));
}

struct SplitCase {
  const char* bytes;
  std::vector<std::string> lines;
};

class SplitLinesTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLinesTest, SplitsLikeATextFile) {
  const SplitCase& c = GetParam();
  const auto views = SplitFileLines(c.bytes);
  EXPECT_EQ(std::vector<std::string>(views.begin(), views.end()), c.lines);
  FileLineList list(c.bytes);
  ASSERT_EQ(list.size(), c.lines.size());
  for (std::size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i], c.lines[i]);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitLinesTest,
                         ::testing::Values(SplitCase{"", {}}, SplitCase{"\r\n", {""}}, SplitCase{"a", {"a"}},
                                           SplitCase{"a\r\nb\r\n", {"a", "b"}}, SplitCase{"a\r\nb", {"a", "b"}},
                                           SplitCase{"a\nb\n", {"a", "b"}}, SplitCase{"a\n\nb\n", {"a", "", "b"}},
                                           SplitCase{"a\rb\r\n", {"a\rb"}}, SplitCase{"x\r\r\n", {"x\r"}}));

}  // namespace
}  // namespace ondaris
