// The log display's sorts and searches, and its controller through the fakes:
// find, delete, replace, attach, save and the question at closing; the log
// entry dialog: its pre-fill from the tuning and the clock, the pick lists and
// their files, and the line it writes, also while the display is open.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "logbook/LogDisplay.h"
#include "logbook/LogEntryDialog.h"
#include "platform/Shell.h"
#include "support/PanelFixture.h"
#include "support/ScriptedFileDialogs.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

using F = LogField;

// One record a row, "label|text|text|..." for `columns`; the label goes into
// Notes, which no sort ever reads.
LogTable TableOf(const std::vector<F>& columns, const std::vector<std::string>& rows) {
  LogTable table;
  for (const std::string& row : rows) {
    const int k = table.AppendRecord(LogRecord{});
    std::istringstream fields(row);
    std::string text;
    std::getline(fields, text, '|');
    table.SetCell(k, F::Notes, text);
    for (F field : columns)
      if (std::getline(fields, text, '|')) table.SetCell(k, field, text);
  }
  return table;
}

std::string Labels(const LogTable& table) {
  std::string out;
  for (const auto& label : table.Column(F::Notes)) out += label;
  return out;
}

// ---- Sorts -------------------------------------------------------------------------

TEST(LogSorts, OrderByKeysAndTies) {
  using enum LogField;
  using enum LogButtonSort;
  const auto H = HeaderSortKeys;
  const auto B = ButtonSortKeys;
  const struct { const char* name; std::vector<LogSortKey> keys; std::vector<F> columns; std::vector<std::string> rows;
                 const char* expected; } cases[] = {
      {"freqThenTimeOfSameFreq", H(Freq), {Freq, Time}, {"a|9580|1200", "b|6000,5", "c|9580|0100"}, "bca"},
      {"equalFreqWrittenOtherwiseStays", H(Freq), {Freq, Time}, {"a|9580|1200", "e|9580,0|0000"}, "ae"},
      {"unreadableFreqSortsAsEmpty", H(Freq), {Freq}, {"a|9580", "x|abc", "b", "c|6000"}, "bxca"},
      {"unreadableDateFirst", H(Date), {Date}, {"a|1/5/2001", "x|1-5-2001", "b|3/1/2000"}, "xba"},
      {"timeDecidesSameDateOnly", H(Date), {Date, Time}, {"a|1/5/2001|1200", "c|1/5/2001|0100", "z|01/5/2001|0000"},
       "caz"},
      {"unreadableTimeAsEmpty", H(Time), {Time}, {"a|1200", "x|12:00", "s|*0100"}, "xsa"},
      {"offTime", H(Off), {Off}, {"a|2300", "b|5*"}, "ba"},
      {"codeTimeNeedsSameCode", H(Code), {Code, Freq, Time}, {"a|BC|9580|1200", "b|bc|9580|0100", "c|ab|6000"}, "cab"},
      {"codeThenFreqThenTime", H(Code), {Code, Freq, Time}, {"a|bc|9580|1200", "b|BC|6000", "c|bc|9580|0100"}, "bca"},
      {"modeEqualIgnoringCase", H(Mode), {Mode, Freq, Time}, {"a|am|9580|1200", "b|AM|9580|0100", "c|Usb"}, "bac"},
      {"countryKeepsCountriesTogether", H(Country), {Country, Date, Time},
       {"a|Peru|1/5/2001|1200", "b|Chile|1/5/2001|0100", "c|peru|1/5/2001|0000", "d|Chile|1/4/2001|2300"}, "dbca"},
      {"sentFirstByDateThenID", H(S), {Sent, Date, ID},
       {"a||1/1/2001|x", "b|card|1/9/2001|Z", "c|y|1/9/2001|m", "d|q|1/2/2001|k"}, "dcba"},
      {"rcvdThenSent", H(R), {Rcvd, Sent, Date}, {"a|||1/1/2001", "b||s|1/3/2001", "c|r||1/9/2001", "d|r|s|1/9/2001"},
       "dcba"},
      {"attached", H(Att), {Attach, Date}, {"a||1/1/2001", "b|/x.jpg|2/1/2001", "c|http://a|1/1/2001"}, "cba"},
      {"rpt1CaseFolded", H(Rpt1), {Rpt1}, {"a|s9", "b|S5", "c|\xe9"}, "bac"},
      {"codeDateFreq", B(DateFreq), {Code, Date, Freq}, {"a|b|1/5/2001|9580", "b|B|1/5/2001|6000", "c|a|1/9/2001"},
       "cba"},
      {"codeDateFreqIDSameFreq", B(FreqID), {Code, Freq, ID}, {"a|b|9580|z", "b|b|9580|a", "c|b|9580,0|0"}, "bac"},
      {"codeDateFreqCountry", B(FreqCtry), {Freq, Country}, {"a|9580|Peru", "b|6000|Zaire", "c|9580|chile"}, "bca"},
      {"codeDateCountryFreq", B(CtryFreq), {Freq, Country},
       {"a|9580|Peru", "b|6000|Zaire", "c|9580,5|peru", "d|5000|peru"}, "dacb"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LogTable table = TableOf(c.columns, c.rows);
    SortLogRecords(table, c.keys, ',');
    EXPECT_EQ(Labels(table), c.expected);
    EXPECT_FALSE(table.Changed);
  }
}

TEST(LogSortMarks, ExchangedRecordsLoseTheirMarksOthersKeepThem) {
  LogTable table = TableOf({F::Freq}, {"a|1", "c|3", "b|2"});
  table.SetMark(1, true);
  table.SetMark(2, true);
  SortLogByHeader(table, F::Freq, '.');
  EXPECT_EQ(Labels(table), "abc");
  EXPECT_EQ(table.Marks, (std::vector<std::string>{"T", "", ""}));
}

TEST(LogFindSort, GathersMatchesOnTopInDateOrderAllMarked) {
  LogTable table =
      TableOf({F::ID, F::Date, F::Country}, {"a|BBC|1/9/2001", "b|VOA", "c||1/2/2001|bbc x", "d|bbc|1/5/2001"});
  EXPECT_EQ(GatherMatchingRecords(table, "bbc", false, '.'), 3);
  EXPECT_EQ(Labels(table), "cdab");
  EXPECT_EQ(table.Marks, (std::vector<std::string>{"T", "T", "T", ""}));
  EXPECT_EQ(GatherMatchingRecords(table, "", false, '.'), 0);
  EXPECT_EQ(table.Marks, (std::vector<std::string>{"", "", "", ""}));
  EXPECT_EQ(std::tuple(FindInText("BB", "xbbc", false), FindInText("BB", "xbbc", true),
                       FindInText("xbbcd", "xbbc", false)), std::tuple(2u, 0u, 0u));
}

// ---- The controller ------------------------------------------------------------------

struct RecordingShell : Shell {
  bool open(const std::string& target, std::string&) override { return opened.push_back(target), true; }
  std::vector<std::string> opened;
};

const std::string ThreeLines =
    "SW\t9580\tAM\t0100\t1/5/2001\tBBC\t\t\t\t\t\t\t\t\t\t\r\n"
    "SW\t6000\tAM\t0200\t1/6/2001\tVOA\t\t\t\t\t\t\t\t\t\t\r\n"
    "UT\t9580.5\tUSB\t0300\t1/7/2001\tRAE\t\t\t\t\t\t\t\t\t\t\r\n";

// The display and the entry dialog as the program joins them, the receiver
// on 9580 kHz AM, the clock at 2001-01-05 00:05 UTC.
struct DisplayRig : PanelRig {
  TempFolder folder;
  ScriptedFileDialogs dialogs;
  RecordingShell shell;
  LogbookSettings settings;
  LogDisplay display{messages, dialogs, shell, folder.dir(), '.', settings};
  LogEntryDialog entry{ctx, folder.dir(), settings};
  int entryShown = 0;

  DisplayRig() {
    std::filesystem::create_directory(folder.path() / "LogFiles");
    display.tunedFrequency = [] { return 9580.0; };
    entry.display = &display;
    entry.show = [this](LogEntryDialog&) { ++entryShown; };
    state.Freq = 9580.0;
    state.Mode = 0;
    clock.setUtc(DateTime{2001, 1, 5, 0, 5, 0});
  }
  std::string file(const std::string& name) const { return folder.dir() + "LogFiles/" + name; }
  std::string logPath() const { return file("OndarisLog.txt"); }
  void open(const std::string& text = ThreeLines) {
    WriteFileBytes(logPath(), text);
    display.LogDispBtnClick();
  }
  void select(int top, int bottom) { display.GridCursorMoved(top, top, bottom); }
  void remove(int top, int bottom, bool yes) {
    select(top, bottom);
    messages.answerNext(yes);
    display.DeleteBtnClick();
  }
  // A mouse release on the header row `dx` pixels right of the second column's left edge.
  void headerUp(int dx) { display.GridMouseUp(display.layout.ColumnBounds[1].left + dx, 1, 20); }
};

class DisplayFixture : public ::testing::Test, public DisplayRig {};

TEST_F(DisplayFixture, OpensOnTheLastRecordWithTheTunedFrequencyToFind) {
  display.LogDispBtnClick();
  EXPECT_EQ(messages.lastMessage(), LogMissingMessage);
  EXPECT_FALSE(display.isOpen());
  open();
  EXPECT_EQ(std::tuple(display.FindEdit, display.CurrentRecord, display.boxes.IDEdit, display.GridRowCount()),
            std::tuple("9580", 3, "RAE", 3));
  EXPECT_EQ(display.CellText(2, 1), "6000");
  display.ExitBtnClick();
  open("");
  EXPECT_EQ(std::tuple(display.GridRowCount(), display.CurrentRecord), std::tuple(LogDisplay::EmptyGridRows, 0));
}

TEST_F(DisplayFixture, FindNextRunsToTheEndThenStops) {
  open();
  display.FindBtnClick();
  EXPECT_EQ(std::tuple(display.FindPosition, display.RowIsMarked(1)), std::tuple(1, true));
  display.FindNextBtnClick();
  EXPECT_EQ(std::tuple(display.FindPosition, display.RowIsMarked(1), display.grid.Row), std::tuple(3, false, 3));
  display.FindNextBtnClick();
  EXPECT_EQ(messages.lastMessage(), LogNoMoreOccurrencesMessage("9580"));
  EXPECT_EQ(std::tuple(display.FindPosition, display.FindNextEnabled), std::tuple(-1, false));
  messages.clear();
  display.FindNextBtnClick();  // nothing more until Find First again
  EXPECT_TRUE(messages.shown().empty());
  display.FindBtnClick();
  EXPECT_EQ(display.FindPosition, 1);

  // A hit at the last record, then the last record deleted.
  display.FindEdit = "rae";
  display.FindBtnClick();
  ASSERT_EQ(display.FindPosition, 3);
  remove(3, 3, true);
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
  remove(3, 3, true);
  EXPECT_EQ(std::tuple(display.table.RecordCount(), display.grid.Row, display.boxes.IDEdit), std::tuple(2, 2, "VOA"));
  remove(1, 2, true);
  EXPECT_EQ(messages.questions(), (std::vector<std::string>{LogDeleteOneQuestion, LogDeleteManyQuestion}));
  EXPECT_EQ(std::tuple(display.table.RecordCount(), display.boxes), std::tuple(0, LogEditBoxes{}));
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
  remove(2, 4, false);
  EXPECT_EQ(display.table.RecordCount(), 6);
  remove(2, 4, true);
  EXPECT_EQ(std::tuple(display.table.Column(F::ID), display.table.Marks),
            std::tuple(std::vector<std::string>{"BBC", "VOA", "RAE"}, std::vector<std::string>{"", "", "T"}));
}

TEST(ClosingDisplay, AsksOnlyAboutRealChanges) {
  using D = DisplayRig&;
  const struct { const char* name; void (*edit)(D); int answers; bool fileChanged; } cases[] = {
      // answers: -1 no question expected, 0 No, 1 Yes
      {"sortOnly", [](D f) { f.display.SortBtnClick(LogButtonSort::CtryFreq); }, -1, false},
      {"replacedYes", [](D f) { f.display.boxes.IDEdit = "R \"X\""; f.display.ReplBtnClick(); }, 1, true},
      {"replacedNo", [](D f) { f.display.ReplBtnClick(); }, 0, false},
      {"sortedAndSaved", [](D f) { f.headerUp(2); f.display.SaveBtnClick(); }, -1, true},
      {"headerBorderDoesNotSort", [](D f) { f.headerUp(-2); f.display.SaveBtnClick(); }, -1, false},
      {"dragEndDoesNotSort", [](D f) { f.display.GridColumnMoved(3, 3); f.headerUp(2); f.display.SaveBtnClick(); }, -1,
       false},
      {"attachedAsks", [](D f) { f.dialogs.chooseNext("/q.png"); f.display.AttachBtnClick(); }, 1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DisplayRig f;
    f.open();
    c.edit(f);
    if (c.answers >= 0) f.messages.answerNext(c.answers == 1);
    EXPECT_TRUE(f.display.ExitBtnClick());
    EXPECT_EQ(f.messages.questions().empty(), c.answers < 0);
    EXPECT_EQ(ReadFileBytes(f.logPath()) != ThreeLines, c.fileChanged);
    EXPECT_FALSE(f.display.isOpen());
    EXPECT_EQ(std::filesystem::file_size(f.folder.dir() + "LogFiles/LargeLogGrid.dat"), LogGridLayoutFileSize);
  }
}

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
  EXPECT_EQ(std::tuple(display.table.Record(2).Notes, display.table.Cell(2, F::Date), display.table.Cell(2, F::S),
                       display.table.Cell(2, F::Sent)), std::tuple("two lines 'q'", "1/7/2001", "Y", "card 1"));
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
  EXPECT_EQ(std::tuple(display.CellText(1, 0), display.CellText(1, 1), display.HeaderText(0)),
            std::tuple("5/1/2001", "SW", "Date"));
}

TEST_F(DisplayFixture, FailedSaveKeepsTheOldFileAndTheEdits) {
  open();
  display.boxes.NotesMemo = std::string(2000, 'n');
  display.ReplBtnClick();
  messages.answerNext(true);
  bool closed = true;
  WithFileSizeLimit(100, [&] { closed = display.ExitBtnClick(); });
  EXPECT_EQ(std::tuple(closed, display.isOpen(), display.table.Changed), std::tuple(false, true, true));
  EXPECT_EQ(ReadFileBytes(logPath()), ThreeLines);
  EXPECT_EQ(messages.messages().size(), 1u);
  messages.answerNext(true);
  EXPECT_TRUE(display.ExitBtnClick());
  EXPECT_NE(ReadFileBytes(logPath()).find(std::string(2000, 'n')), std::string::npos);
}

// ---- The log entry dialog -----------------------------------------------------------

TEST(EntryPrefill, FromTuningAndClock) {
  const struct { double freq; int mode; bool euro; const char *expectFreq, *expectMode, *expectDate; } cases[] = {
      {9580.0, 0, false, "9580", "AM", "1/5/2001"},
      {9580.5, 3, true, "9580.5", "CW", "5/1/2001"},
      {6000.25, 7, false, "6000.25", "", "1/5/2001"}};  // a mode with no name
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expectFreq);
    DisplayRig f;
    f.state.Freq = c.freq;
    f.state.Mode = static_cast<std::uint8_t>(c.mode);
    f.settings.UseEuroDate = c.euro;
    f.entry.IDEdit = f.entry.NotesMemo = f.entry.OffEdit = "old";
    f.entry.LogEntryBtnClick();
    EXPECT_EQ(f.entryShown, 1);
    EXPECT_EQ(f.entry.FreqText + "|" + f.entry.ModeCombo + "|" + f.entry.TimeText + "|" + f.entry.DateText,
              std::string(c.expectFreq) + "|" + c.expectMode + "|5|" + c.expectDate);
    EXPECT_EQ(f.entry.IDEdit + f.entry.NotesMemo + f.entry.OffEdit, "");
    f.entry.ClkPanelClick();
    EXPECT_EQ(f.entry.TimeText + "|" + f.entry.DateText, std::string("0005|") + c.expectDate);
  }
}

TEST_F(DisplayFixture, PickListsSortedAndRememberedIgnoringCase) {
  WriteFileBytes(file("LogCodes.dat"), "ute\r\nab\r\nBC\r\nAa\r\n\xe9t\r\n");
  entry.LogEntryBtnClick();
  EXPECT_EQ(entry.list(LogPickList::Code), (std::vector<std::string>{"Aa", "ab", "BC", "ute", "\xe9t"}));
  EXPECT_TRUE(entry.list(LogPickList::ID).empty());

  // No frequency: the message, no line, yet the new mode is remembered.
  entry.CodeCombo = "Ab";
  entry.ModeCombo = "Fax";
  entry.FreqText.clear();
  EXPECT_TRUE(entry.WriteBtnClick());
  EXPECT_EQ(messages.lastMessage(), LogEntryMissingMessage);
  EXPECT_FALSE(std::filesystem::exists(file("OndarisLog.txt")));
  EXPECT_EQ(std::tuple(ReadFileBytes(file("LogModes.dat")), ReadFileBytes(file("LogCodes.dat"))),
            std::tuple("Fax\r\n", "ute\r\nab\r\nBC\r\nAa\r\n\xe9t\r\n"));  // the codes file as it was

  entry.IDEdit = "";
  entry.AddBtnClick();
  EXPECT_FALSE(std::filesystem::exists(file("LogID.dat")));
  entry.IDEdit = "BBC";
  entry.AddBtnClick();
  EXPECT_EQ(ReadFileBytes(file("LogID.dat")), "BBC\r\n");
}

TEST_F(DisplayFixture, WritesOneLineTidiedAndDayFirstStoredMonthFirst) {
  settings.UseEuroDate = true;
  entry.LogEntryBtnClick();
  entry.CodeCombo = "Code\"Longer\tthan ten";
  entry.NotesMemo = "two\r\nlines\tand \"quotes\"";
  entry.IDEdit = std::string(90, 'i');
  entry.UserCombo = "Peru";
  EXPECT_TRUE(entry.WriteBtnClick());
  const std::string first = "Code'Longe\t9580\tAM\t5\t1/5/2001\t" + std::string(78, 'i') +
                            "\ttwo lines and 'quotes'\t\t\t\t\t\tPeru\t\t\r\n";
  EXPECT_EQ(ReadFileBytes(file("OndarisLog.txt")), first);
  // A date typed without two slashes is stored empty under the day-first option.
  entry.LogEntryBtnClick();
  entry.DateText = "5-1-2001";
  EXPECT_TRUE(entry.WriteBtnClick());
  EXPECT_EQ(ReadFileBytes(file("OndarisLog.txt")), first + "\t9580\tAM\t5\t\t\t\t\t\t\t\t\t\t\t\r\n");
}

// With the display open and holding an edit, the entry reaches the file and
// the display's table, and the edit stays unsaved in the table: whatever the
// answer at closing, the entry is in the file; with Yes, the edit too.
TEST_F(DisplayFixture, EntryWhileTheDisplayHoldsEditsLosesNeither) {
  const std::string old = "A\t6000\tAM\t1\t1/1/2001\tX\t\t\t\t\t\t\t\t\t\t\r\n";
  for (bool save : {true, false}) {
    WriteFileBytes(file("OndarisLog.txt"), old);
    display.LogDispBtnClick();
    display.boxes.IDEdit = "EDITED";
    display.ReplBtnClick();
    entry.LogEntryBtnClick();
    EXPECT_TRUE(entry.WriteBtnClick());
    EXPECT_EQ(ReadFileBytes(file("OndarisLog.txt")), old + "\t9580\tAM\t5\t1/5/2001\t\t\t\t\t\t\t\t\t\t\r\n");
    ASSERT_EQ(display.table.RecordCount(), 2);
    EXPECT_EQ(std::tuple(display.table.Cell(2, LogField::Freq), display.table.Changed), std::tuple("9580", true));
    messages.answerNext(save);
    display.ExitBtnClick();
    const std::string saved = ReadFileBytes(file("OndarisLog.txt"));
    EXPECT_NE(saved.find("9580"), std::string::npos);
    EXPECT_EQ(saved.find("EDITED") != std::string::npos, save);
  }
}

}  // namespace
}  // namespace ondaris
