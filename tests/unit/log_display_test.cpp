// The log display's sorts and searches, and its controller through the fakes:
// find, delete, replace, save, the question at closing, and an entry written
// while the display holds unsaved edits.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "logbook/LogDisplay.h"
#include "platform/Shell.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

using F = LogField;

// Notes carries each record's label: no sort ever reads it.
struct R {
  std::string label;
  std::map<F, std::string> fields;
};

LogTable TableOf(const std::vector<R>& records) {
  LogTable table;
  for (const auto& r : records) {
    const int k = table.AppendRecord(LogRecord{});
    table.SetCell(k, F::Notes, r.label);
    for (const auto& [field, text] : r.fields) table.SetCell(k, field, text);
  }
  return table;
}

std::string Labels(const LogTable& table) {
  std::string out;
  for (const auto& label : table.Column(F::Notes)) out += label;
  return out;
}

// ---- Sorts -------------------------------------------------------------------------

struct SortCase {
  const char* name;
  std::vector<LogSortKey> keys;
  std::vector<R> records;
  const char* expected;
};

class LogSorts : public ::testing::TestWithParam<SortCase> {};

TEST_P(LogSorts, OrdersByKeysAndTies) {
  LogTable table = TableOf(GetParam().records);
  table.SetMark(1, true);
  SortLogRecords(table, GetParam().keys, ',');
  EXPECT_EQ(Labels(table), GetParam().expected);
  EXPECT_FALSE(table.Changed);
}

const auto H = HeaderSortKeys;
const auto B = ButtonSortKeys;

INSTANTIATE_TEST_SUITE_P(
    SortKeys, LogSorts,
    ::testing::Values(
        SortCase{"freqThenTimeOfSameFreq", H(F::Freq),
                 {{"a", {{F::Freq, "9580"}, {F::Time, "1200"}}}, {"b", {{F::Freq, "6000,5"}}},
                  {"c", {{F::Freq, "9580"}, {F::Time, "0100"}}}},
                 "bca"},
        SortCase{"equalFreqWrittenOtherwiseStays", H(F::Freq),
                 {{"a", {{F::Freq, "9580"}, {F::Time, "1200"}}}, {"e", {{F::Freq, "9580,0"}, {F::Time, "0000"}}}},
                 "ae"},
        SortCase{"unreadableFreqSortsAsEmpty", H(F::Freq),
                 {{"a", {{F::Freq, "9580"}}}, {"x", {{F::Freq, "abc"}}}, {"b", {}}, {"c", {{F::Freq, "6000"}}}},
                 "bxca"},
        SortCase{"unreadableDateFirst", H(F::Date),
                 {{"a", {{F::Date, "1/5/2001"}}}, {"x", {{F::Date, "1-5-2001"}}}, {"b", {{F::Date, "3/1/2000"}}}},
                 "xba"},
        SortCase{"timeDecidesSameDateOnly", H(F::Date),
                 {{"a", {{F::Date, "1/5/2001"}, {F::Time, "1200"}}},
                  {"c", {{F::Date, "1/5/2001"}, {F::Time, "0100"}}},
                  {"z", {{F::Date, "01/5/2001"}, {F::Time, "0000"}}}},
                 "caz"},
        SortCase{"unreadableTimeAsEmpty", H(F::Time),
                 {{"a", {{F::Time, "1200"}}}, {"x", {{F::Time, "12:00"}}}, {"s", {{F::Time, "*0100"}}}}, "xsa"},
        SortCase{"offTime", H(F::Off), {{"a", {{F::Off, "2300"}}}, {"b", {{F::Off, "5*"}}}}, "ba"},
        SortCase{"codeTimeNeedsSameCode", H(F::Code),
                 {{"a", {{F::Code, "BC"}, {F::Freq, "9580"}, {F::Time, "1200"}}},
                  {"b", {{F::Code, "bc"}, {F::Freq, "9580"}, {F::Time, "0100"}}},
                  {"c", {{F::Code, "ab"}, {F::Freq, "6000"}}}},
                 "cab"},
        SortCase{"codeThenFreqThenTime", H(F::Code),
                 {{"a", {{F::Code, "bc"}, {F::Freq, "9580"}, {F::Time, "1200"}}},
                  {"b", {{F::Code, "BC"}, {F::Freq, "6000"}}},
                  {"c", {{F::Code, "bc"}, {F::Freq, "9580"}, {F::Time, "0100"}}}},
                 "bca"},
        SortCase{"modeEqualIgnoringCase", H(F::Mode),
                 {{"a", {{F::Mode, "am"}, {F::Freq, "9580"}, {F::Time, "1200"}}},
                  {"b", {{F::Mode, "AM"}, {F::Freq, "9580"}, {F::Time, "0100"}}}, {"c", {{F::Mode, "Usb"}}}},
                 "bac"},
        SortCase{"countryKeepsCountriesTogether", H(F::Country),
                 {{"a", {{F::Country, "Peru"}, {F::Date, "1/5/2001"}, {F::Time, "1200"}}},
                  {"b", {{F::Country, "Chile"}, {F::Date, "1/5/2001"}, {F::Time, "0100"}}},
                  {"c", {{F::Country, "peru"}, {F::Date, "1/5/2001"}, {F::Time, "0000"}}},
                  {"d", {{F::Country, "Chile"}, {F::Date, "1/4/2001"}, {F::Time, "2300"}}}},
                 "dbca"},
        SortCase{"sentFirstByDateThenID", H(F::S),
                 {{"a", {{F::Date, "1/1/2001"}, {F::ID, "x"}}},
                  {"b", {{F::Sent, "card"}, {F::Date, "1/9/2001"}, {F::ID, "Z"}}},
                  {"c", {{F::Sent, "y"}, {F::Date, "1/9/2001"}, {F::ID, "m"}}},
                  {"d", {{F::Sent, "q"}, {F::Date, "1/2/2001"}, {F::ID, "k"}}}},
                 "dcba"},
        SortCase{"rcvdThenSent", H(F::R),
                 {{"a", {{F::Date, "1/1/2001"}}}, {"b", {{F::Sent, "s"}, {F::Date, "1/3/2001"}}},
                  {"c", {{F::Rcvd, "r"}, {F::Date, "1/9/2001"}}},
                  {"d", {{F::Rcvd, "r"}, {F::Sent, "s"}, {F::Date, "1/9/2001"}}}},
                 "dcba"},
        SortCase{"attached", H(F::Att),
                 {{"a", {{F::Date, "1/1/2001"}}}, {"b", {{F::Attach, "/x.jpg"}, {F::Date, "2/1/2001"}}},
                  {"c", {{F::Attach, "http://a"}, {F::Date, "1/1/2001"}}}},
                 "cba"},
        SortCase{"rpt1CaseFolded", H(F::Rpt1),
                 {{"a", {{F::Rpt1, "s9"}}}, {"b", {{F::Rpt1, "S5"}}}, {"c", {{F::Rpt1, "\xe9"}}}}, "bac"},
        SortCase{"codeDateFreq", B(LogButtonSort::DateFreq),
                 {{"a", {{F::Code, "b"}, {F::Date, "1/5/2001"}, {F::Freq, "9580"}}},
                  {"b", {{F::Code, "B"}, {F::Date, "1/5/2001"}, {F::Freq, "6000"}}},
                  {"c", {{F::Code, "a"}, {F::Date, "1/9/2001"}}}},
                 "cba"},
        SortCase{"codeDateFreqIDSameFreq", B(LogButtonSort::FreqID),
                 {{"a", {{F::Code, "b"}, {F::Freq, "9580"}, {F::ID, "z"}}},
                  {"b", {{F::Code, "b"}, {F::Freq, "9580"}, {F::ID, "a"}}},
                  {"c", {{F::Code, "b"}, {F::Freq, "9580,0"}, {F::ID, "0"}}}},
                 "bac"},
        SortCase{"codeDateFreqCountry", B(LogButtonSort::FreqCtry),
                 {{"a", {{F::Freq, "9580"}, {F::Country, "Peru"}}}, {"b", {{F::Freq, "6000"}, {F::Country, "Zaire"}}},
                  {"c", {{F::Freq, "9580"}, {F::Country, "chile"}}}},
                 "bca"},
        SortCase{"codeDateCountryFreq", B(LogButtonSort::CtryFreq),
                 {{"a", {{F::Freq, "9580"}, {F::Country, "Peru"}}}, {"b", {{F::Freq, "6000"}, {F::Country, "Zaire"}}},
                  {"c", {{F::Freq, "9580,5"}, {F::Country, "peru"}}}, {"d", {{F::Freq, "5000"}, {F::Country, "peru"}}}},
                 "dacb"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LogSortMarks, ExchangedRecordsLoseTheirMarksOthersKeepThem) {
  LogTable table = TableOf({{"a", {{F::Freq, "1"}}}, {"c", {{F::Freq, "3"}}}, {"b", {{F::Freq, "2"}}}});
  table.SetMark(1, true);
  table.SetMark(2, true);
  SortLogByHeader(table, F::Freq, '.');
  EXPECT_EQ(Labels(table), "abc");
  EXPECT_TRUE(table.IsMarked(1));
  EXPECT_FALSE(table.IsMarked(3));
}

TEST(LogFindSort, GathersMatchesOnTopInDateOrderAllMarked) {
  LogTable table = TableOf({{"a", {{F::ID, "BBC"}, {F::Date, "1/9/2001"}}},
                            {"b", {{F::ID, "VOA"}}},
                            {"c", {{F::Country, "bbc x"}, {F::Date, "1/2/2001"}}},
                            {"d", {{F::ID, "bbc"}, {F::Date, "1/5/2001"}}}});
  EXPECT_EQ(GatherMatchingRecords(table, "bbc", false, '.'), 3);
  EXPECT_EQ(Labels(table), "cdab");
  EXPECT_EQ(table.Marks, (std::vector<std::string>{"T", "T", "T", ""}));
  EXPECT_EQ(GatherMatchingRecords(table, "", false, '.'), 0);
  EXPECT_EQ(table.Marks, (std::vector<std::string>{"", "", "", ""}));
  EXPECT_EQ(FindInText("BB", "xbbc", false), 2u);
  EXPECT_EQ(FindInText("BB", "xbbc", true), 0u);
  EXPECT_EQ(FindInText("xbbcd", "xbbc", false), 0u);
}

// ---- The controller ------------------------------------------------------------------

class RecordingShell : public Shell {
 public:
  bool open(const std::string& target, std::string&) override {
    opened.push_back(target);
    return true;
  }
  std::vector<std::string> opened;
};

const std::string ThreeLines =
    "SW\t9580\tAM\t0100\t1/5/2001\tBBC\t\t\t\t\t\t\t\t\t\t\r\n"
    "SW\t6000\tAM\t0200\t1/6/2001\tVOA\t\t\t\t\t\t\t\t\t\t\r\n"
    "UT\t9580.5\tUSB\t0300\t1/7/2001\tRAE\t\t\t\t\t\t\t\t\t\t\r\n";

struct DisplayFixture : ::testing::Test {
  TempFolder folder;
  ScriptedMessageBoxes messages;
  ScriptedFileDialogs dialogs;
  RecordingShell shell;
  LogbookSettings settings;
  LogDisplay display{messages, dialogs, shell, folder.dir(), '.', settings};

  DisplayFixture() {
    std::filesystem::create_directory(folder.path() / "LogFiles");
    display.tunedFrequency = [] { return 9580.0; };
  }
  std::string logPath() const { return folder.dir() + "LogFiles/OndarisLog.txt"; }
  void open(const std::string& text = ThreeLines) {
    WriteFileBytes(logPath(), text);
    display.LogDispBtnClick();
  }
  void select(int top, int bottom) { display.GridCursorMoved(top, top, bottom); }
};

TEST_F(DisplayFixture, OpensOnTheLastRecordWithTheTunedFrequencyToFind) {
  display.LogDispBtnClick();
  EXPECT_EQ(messages.lastMessage(), LogMissingMessage);
  EXPECT_FALSE(display.isOpen());
  open();
  EXPECT_EQ(display.FindEdit, "9580");
  EXPECT_EQ(display.CurrentRecord, 3);
  EXPECT_EQ(display.boxes.IDEdit, "RAE");
  EXPECT_EQ(display.GridRowCount(), 3);
  EXPECT_EQ(display.CellText(2, 1), "6000");
  display.ExitBtnClick();
  open("");
  EXPECT_EQ(display.GridRowCount(), LogDisplay::EmptyGridRows);
  EXPECT_EQ(display.CurrentRecord, 0);
}

TEST_F(DisplayFixture, FindNextRunsToTheEndThenStops) {
  open();
  display.FindBtnClick();
  EXPECT_EQ(display.FindPosition, 1);
  EXPECT_TRUE(display.RowIsMarked(1));
  display.FindNextBtnClick();
  EXPECT_EQ(display.FindPosition, 3);
  EXPECT_FALSE(display.RowIsMarked(1));
  EXPECT_EQ(display.grid.Row, 3);
  display.FindNextBtnClick();
  EXPECT_EQ(messages.lastMessage(), LogNoMoreOccurrencesMessage("9580"));
  EXPECT_EQ(display.FindPosition, -1);
  EXPECT_FALSE(display.FindNextEnabled);
  messages.clear();
  display.FindNextBtnClick();  // nothing more until Find First again
  EXPECT_TRUE(messages.shown().empty());
  display.FindBtnClick();
  EXPECT_EQ(display.FindPosition, 1);

  // A hit at the last record, then the last record deleted.
  display.FindEdit = "rae";
  display.FindBtnClick();
  ASSERT_EQ(display.FindPosition, 3);
  select(3, 3);
  messages.answerNext(true);
  display.DeleteBtnClick();
  display.FindNextBtnClick();
  EXPECT_EQ(messages.lastMessage(), LogEndOfFileMessage);
  display.FindEdit = "nothing";
  display.FindBtnClick();
  EXPECT_EQ(messages.lastMessage(), LogNotFoundMessage("nothing"));
  display.MatchBoxClick(true);
  display.FindEdit = "bbc";
  display.FindBtnClick();
  EXPECT_EQ(display.FindPosition, -1);
}

TEST_F(DisplayFixture, DeletingTheLastRecordsLeavesNothingToReplace) {
  open();
  select(3, 3);
  messages.answerNext(true);
  display.DeleteBtnClick();
  EXPECT_EQ(display.table.RecordCount(), 2);
  EXPECT_EQ(display.grid.Row, 2);
  EXPECT_EQ(display.boxes.IDEdit, "VOA");
  select(1, 2);
  messages.answerNext(true);
  display.DeleteBtnClick();
  EXPECT_EQ(messages.questions().back(), LogDeleteManyQuestion);
  EXPECT_EQ(display.table.RecordCount(), 0);
  EXPECT_EQ(display.boxes, LogEditBoxes{});
  display.boxes.FreqEdit = display.boxes.TimeEdit = display.boxes.DateEdit = "1";
  display.ReplBtnClick();
  EXPECT_EQ(display.table.RecordCount(), 0);
  // Deleting every record is a change to offer for saving like any other.
  messages.answerNext(true);
  EXPECT_TRUE(display.ExitBtnClick());
  EXPECT_EQ(ReadFileBytes(logPath()), "");
}

TEST_F(DisplayFixture, DeletingABlockKeepsTheOtherMarks) {
  open(ThreeLines + ThreeLines);
  display.FindEdit = "rae";
  display.FindBtnClick();
  display.FindNextBtnClick();
  ASSERT_TRUE(display.RowIsMarked(6));
  select(2, 4);
  messages.answerNext(false);
  display.DeleteBtnClick();
  EXPECT_EQ(display.table.RecordCount(), 6);
  messages.answerNext(true);
  display.DeleteBtnClick();
  EXPECT_EQ(messages.questions().back(), LogDeleteManyQuestion);
  EXPECT_EQ(display.table.Column(F::ID), (std::vector<std::string>{"BBC", "VOA", "RAE"}));
  EXPECT_TRUE(display.RowIsMarked(3));
}

struct CloseCase {
  const char* name;
  void (*edit)(DisplayFixture&);
  int answers;  // -1 no question expected, 0 No, 1 Yes
  bool fileChanged;
};

class ClosingDisplay : public DisplayFixture, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingDisplay, AsksOnlyAboutRealChanges) {
  open();
  GetParam().edit(*this);
  if (GetParam().answers >= 0) messages.answerNext(GetParam().answers == 1);
  EXPECT_TRUE(display.ExitBtnClick());
  EXPECT_EQ(messages.questions().empty(), GetParam().answers < 0);
  EXPECT_EQ(ReadFileBytes(logPath()) != ThreeLines, GetParam().fileChanged);
  EXPECT_FALSE(display.isOpen());
  EXPECT_EQ(std::filesystem::file_size(folder.dir() + "LogFiles/LargeLogGrid.dat"), LogGridLayoutFileSize);
}

INSTANTIATE_TEST_SUITE_P(
    CloseEdits, ClosingDisplay,
    ::testing::Values(
        CloseCase{"sortOnly", [](DisplayFixture& f) { f.display.SortBtnClick(LogButtonSort::CtryFreq); }, -1, false},
        CloseCase{"replacedYes",
                  [](DisplayFixture& f) {
                    f.display.boxes.IDEdit = "Radio \"X\"";
                    f.display.ReplBtnClick();
                  },
                  1, true},
        CloseCase{"replacedNo", [](DisplayFixture& f) { f.display.ReplBtnClick(); }, 0, false},
        CloseCase{"sortedAndSaved",
                  [](DisplayFixture& f) {
                    f.display.GridMouseUp(f.display.layout.ColumnBounds[1].left + 2, 1, 20);
                    f.display.SaveBtnClick();
                  },
                  -1, true},
        CloseCase{"headerBorderDoesNotSort",
                  [](DisplayFixture& f) {
                    f.display.GridMouseUp(f.display.layout.ColumnBounds[1].left - 2, 1, 20);
                    f.display.SaveBtnClick();
                  },
                  -1, false},
        CloseCase{"dragEndDoesNotSort",
                  [](DisplayFixture& f) {
                    f.display.GridColumnMoved(3, 3);
                    f.display.GridMouseUp(f.display.layout.ColumnBounds[1].left + 2, 1, 20);
                    f.display.SaveBtnClick();
                  },
                  -1, false},
        CloseCase{"attachedAsks",
                  [](DisplayFixture& f) {
                    f.dialogs.chooseNext("/srv/qsl.png");
                    f.display.AttachBtnClick();
                  },
                  1, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DisplayFixture, ReplaceTidiesTheBoxesAndNeedsTimeDateFreq) {
  open();
  dialogs.chooseNext("/tmp/pics/card.jpg");
  settings.UseEuroDate = true;
  select(2, 2);
  display.GridClick();
  EXPECT_EQ(display.boxes.DateEdit, "6/1/2001");
  display.boxes.NotesMemo = "two\r\nlines \"q\"";
  display.boxes.SentEdit = "card\t1";
  display.boxes.DateEdit = "7/1/2001";
  display.ReplBtnClick();
  EXPECT_EQ(display.table.Record(2).Notes, "two lines 'q'");
  EXPECT_EQ(display.table.Cell(2, F::Date), "1/7/2001");
  EXPECT_EQ(display.table.Cell(2, F::S), "Y");
  EXPECT_EQ(display.table.Cell(2, F::Sent), "card 1");
  display.boxes.FreqEdit.clear();
  display.ReplBtnClick();
  EXPECT_EQ(messages.lastMessage(), LogReplaceEmptyMessage);
  display.AttachBtnClick();
  EXPECT_EQ(display.table.Cell(2, F::Att), "Y");
  EXPECT_EQ(display.AttachFolder, "/tmp/pics/");
  display.ExecBtnClick();
  EXPECT_EQ(shell.opened, (std::vector<std::string>{"/tmp/pics/card.jpg"}));
  // The Date column moved to the front still shows day first.
  display.GridColumnMoved(5, 0);
  EXPECT_EQ(display.CellText(1, 0), "5/1/2001");
  EXPECT_EQ(display.CellText(1, 1), "SW");
  EXPECT_EQ(display.HeaderText(0), "Date");
}

TEST_F(DisplayFixture, FailedSaveKeepsTheOldFileAndTheEdits) {
  open();
  display.boxes.NotesMemo = std::string(2000, 'n');
  display.ReplBtnClick();
  messages.answerNext(true);
  bool closed = true;
  WithFileSizeLimit(100, [&] { closed = display.ExitBtnClick(); });
  EXPECT_FALSE(closed);
  EXPECT_TRUE(display.isOpen());
  EXPECT_TRUE(display.table.Changed);
  EXPECT_EQ(ReadFileBytes(logPath()), ThreeLines);
  EXPECT_EQ(messages.messages().size(), 1u);
  messages.answerNext(true);
  EXPECT_TRUE(display.ExitBtnClick());
  EXPECT_NE(ReadFileBytes(logPath()).find(std::string(2000, 'n')), std::string::npos);
}

// An entry written while the display holds unsaved edits: whatever the
// answer at closing, the entry is in the file; with Yes, the edits too.
TEST_F(DisplayFixture, EntryDuringEditsLosesNeither) {
  const std::string entry = "NEW\t7325\tAM\t5\t1/8/2001\tRFE\t\t\t\t\t\t\t\t\t";
  for (bool save : {true, false}) {
    open();
    display.boxes.IDEdit = "EDITED";
    display.ReplBtnClick();
    display.AppendEntry(entry);
    EXPECT_EQ(ReadFileBytes(logPath()), ThreeLines + entry + "\r\n");
    EXPECT_EQ(display.table.RecordCount(), 4);
    EXPECT_EQ(display.table.Cell(4, F::ID), "RFE");
    EXPECT_TRUE(display.table.Changed);
    messages.answerNext(save);
    display.ExitBtnClick();
    const std::string file = ReadFileBytes(logPath());
    EXPECT_NE(file.find("RFE"), std::string::npos);
    EXPECT_EQ(file.find("EDITED") != std::string::npos, save);
  }
}

}  // namespace
}  // namespace ondaris
