// The log file, its column store, the date keys, the logbook's settings and
// layout files, and the older log's conversion.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "logbook/LogDates.h"
#include "logbook/LogFile.h"
#include "logbook/LogGridLayout.h"
#include "logbook/LogTable.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

using Texts = std::vector<std::string>;

struct LogFolder : TempFolder {
  LogFolder() { std::filesystem::create_directory(path() / "LogFiles"); }
  std::string log(const std::string& name) const { return dir() + "LogFiles/" + name; }
};

// ---- Lines and the column store ----------------------------------------------

LogRecord Rec(std::vector<std::string> f) {
  f.resize(15);
  return {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[11], f[12], f[13], f[14]};
}

TEST(LogLine, ReadsFieldsInPlace) {
  const struct { std::string line; char separator; LogRecord expected; } cases[] = {
      {"SW\t9580.5\tAM\t1405*\t1/5/2001\tRadio\tgood\t2/1/2001\tcard\t45444\tS9\t1500*\tLand\tx\t/a/b.jpg\t", '.',
       Rec({"SW", "9580.5", "AM", "1405*", "1/5/2001", "Radio", "good", "2/1/2001", "card", "45444", "S9", "1500*",
            "Land", "x", "/a/b.jpg"})},
      {"\t6000\tUSB\t", '.', Rec({"", "6000", "USB"})},
      {"ABCDEFGHIJKL\t9580.5\t", ',', Rec({"ABCDEFGHIJ", "9580,5"})},  // cut to capacity, comma locale
      {"", '.', Rec({})},
      {"\xE9t\xE9\t1\tAM\t\t\t\xC0 Bient\xF4t\t", '.', Rec({"\xE9t\xE9", "1", "AM", "", "", "\xC0 Bient\xF4t"})}};
  for (const auto& c : cases) EXPECT_EQ(ParseLogLine(c.line, c.separator), c.expected) << c.line;
}

TEST(LogTableFile, RoundTripsBytesAndKeepsFlagsInStep) {
  const std::string note(255, 'n');
  const std::string file =
      "SW\t9580.5\tAM\t1405*\t1/5/2001\tBBC\t" + note + "\tsent\t\t\t\t\t\t\t\t\r\n" +
      "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n" +  // every field empty
      "\xC4rger\t6000\tUSB\t0000\t12/24/2000\tD\xFC\t\t\tcard\t\t\t\t\t\t/x.jpg\t\r\n";
  for (char separator : {'.', ','}) {
    LogTable table;
    table.Load(file + "A\t153\tAM\t0100\t1/1/2001\tLast\t", separator);  // no line end
    ASSERT_EQ(table.RecordCount(), 4);
    EXPECT_EQ(table.Cell(1, LogField::Freq), separator == ',' ? "9580,5" : "9580.5");
    EXPECT_EQ(table.Column(LogField::S), (Texts{"Y", "", "", ""}));
    EXPECT_EQ(table.Column(LogField::R), (Texts{"", "", "Y", ""}));
    EXPECT_EQ(table.Column(LogField::Att), (Texts{"", "", "Y", ""}));
    EXPECT_EQ(table.FileText(separator),
              file + "A\t153\tAM\t0100\t1/1/2001\tLast\t\t\t\t\t\t\t\t\t\t\r\n");
  }
}

TEST(LogTableFile, TabsAndLineBreaksInAFieldCannotSplitTheLine) {
  LogTable table;
  LogRecord record = Rec({"A\tB", "1"});
  record.Notes = "one\r\ntwo\tthree";
  table.AppendRecord(record);
  EXPECT_EQ(table.FileText('.'), "A B\t1\t\t\t\t\tone  two three\t\t\t\t\t\t\t\t\t\r\n");
  EXPECT_EQ(FormatEntryLine(Rec({"x\n", "9,5"}), ','), "x \t9.5\t\t\t\t\t\t\t\t\t\t\t\t\t");
}

// ---- Dates -----------------------------------------------------------------

TEST(LogDates, SwapAndKeys) {
  EXPECT_EQ(SwapDayMonth("12/24/2000"), "24/12/2000");
  EXPECT_EQ(SwapDayMonth("2000"), "");
  EXPECT_EQ(SwapDayMonth("12/24/"), "");
  struct { const char* text; long long key; } dates[] = {
      {"1/5/2001", 730401}, {"12/31/2000", 730403}, {"1/1/2001", 730397}, {"2001", -1}, {"1//2001", -1},
      {"1/x/2001", -1}, {"", -1}};
  for (const auto& d : dates) EXPECT_EQ(DateKey(d.text), d.key) << d.text;
  struct { const char* text; long long key; } times[] = {
      {"1405*", 1405}, {"*0600", 600}, {"", 0}, {"12:30", 0}, {"0000", 0}, {"2359", 2359}, {"-5", 0}};
  for (const auto& t : times) EXPECT_EQ(TimeKey(t.text), t.key) << t.text;
}

// ---- Settings files ----------------------------------------------------------

TEST(LogSettingsFiles, DateFormatAndExportSettings) {
  EXPECT_EQ(std::tuple(ParseLogDateFormat("DD/MM/YYYY"), ParseLogDateFormat(""), ParseLogDateFormat("dd/mm/yyyy\r\n")),
            std::tuple(true, false, false));

  EXPECT_EQ(ParseLogExportSettings("SWL=Yes\r\nMW=Yes\r\nUte=Yes\r\nx\r\n"), LogExportSettings{});
  EXPECT_EQ(ParseLogExportSettings("SWL=yes\nMW=Yes\nUte=No"), (LogExportSettings{false, true, false}));
  for (int bits = 0; bits < 8; ++bits) {
    const LogExportSettings s{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
    EXPECT_EQ(ParseLogExportSettings(LogExportSettingsText(s)), s);
  }

  LogFolder folder;
  EXPECT_EQ(LoadLogExportSettings(folder.dir()), LogExportSettings{});
  SaveLogExportSettings(folder.dir(), {false, true, true});
  EXPECT_EQ(ReadFileBytes(folder.log("LogExpConsol.dat")), "SWL=No\r\nMW=Yes\r\nUte=Yes\r\n");
  EXPECT_EQ(LoadLogExportSettings(folder.dir()), (LogExportSettings{false, true, true}));
}

TEST(LogGridLayoutFile, ExactBytesRoundTripAndDamage) {
  LogGridLayout layout = DefaultLogGridLayout(740);
  EXPECT_EQ(std::tuple(layout.ColumnWidths[0], layout.ColumnBounds[0], layout.ColumnBounds[1]),
            std::tuple(52, ColumnBound{6, 48}, ColumnBound{59, 101}));
  layout.MoveColumn(5, 0);  // Date first
  EXPECT_EQ(layout.ColumnOrder, (decltype(layout.ColumnOrder){5, 0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13}));
  EXPECT_EQ(layout.ColumnPosition, (decltype(layout.ColumnPosition){1, 2, 3, 4, 5, 0, 6, 7, 8, 9, 10, 11, 12, 13}));
  layout.SetWidthOfGridColumn(0, 80);
  layout.RecordColumnBounds();
  EXPECT_EQ(layout.ColumnBounds[5], (ColumnBound{6, 76}));
  EXPECT_EQ(std::tuple(layout.FieldAtX(50), layout.FieldAtX(78)), std::tuple(5, -1));  // 78: within 5 of the border

  const std::string bytes = LogGridLayoutBytes(layout);
  ASSERT_EQ(bytes.size(), 434u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x05\0\0\0\0\0\0\0", 8));
  EXPECT_EQ(bytes.substr(56, 11), std::string("\x04" "Code\0\0\0\0\0\0", 11));
  EXPECT_EQ(bytes.substr(56 + 9 * 11, 11), std::string("\x07" "Country\0\0\0", 11));
  EXPECT_EQ(bytes.substr(378 + 20, 4), std::string("\0\0\0\0", 4));  // field 5 in column 0
  EXPECT_EQ(ParseLogGridLayout(bytes), layout);

  EXPECT_FALSE(ParseLogGridLayout(bytes.substr(0, 433)));
  EXPECT_FALSE(ParseLogGridLayout(std::string(bytes).replace(0, 1, "\x14")));  // a field that does not exist

  LogFolder folder;
  EXPECT_EQ(LoadLogGridLayout(folder.dir(), LogGridLayoutFileName(640), 700), DefaultLogGridLayout(700));
  SaveLogGridLayout(folder.dir(), LogGridLayoutFileName(641), layout);
  EXPECT_EQ(ReadFileBytes(folder.log("LargeLogGrid.dat")), bytes);
  EXPECT_EQ(LoadLogGridLayout(folder.dir(), "LargeLogGrid.dat", 700), layout);
  EXPECT_EQ(LogGridLayoutFileName(640), "SmallLogGrid.dat");
}

// ---- The older log ---------------------------------------------------------

TEST(OldLogConversion, ConvertsOnceWithBackupAndPickLists) {
  EXPECT_EQ(OldLogLineToTabs("A,\"9,580\",AM"), "A\t9,580\tAM\t\t\t\t\t\t");

  LogFolder folder;
  ScriptedMessageBoxes messages;
  EXPECT_FALSE(ConvertOldLogFile(folder.dir(), messages));
  const std::string csv = "\"SW\",9580,AM,0100,1/5/2001,\"BBC, London\",\"a \"\"b\",,\r\nX,1\n";
  WriteFileBytes(folder.log("OndarisLog.csv"), csv);
  WriteFileBytes(folder.log("LogModes.dat"), "head\r\nAM\r\nUSB\r\n");
  WriteFileBytes(folder.log("LogCodes.dat"), "only\r\n");
  ASSERT_TRUE(ConvertOldLogFile(folder.dir(), messages));

  EXPECT_EQ(messages.messages(), (Texts{ConvertingLogMessage, LogConvertedMessage}));
  EXPECT_EQ(ReadFileBytes(folder.log("OndarisLog.bak")),
            "\"SW\",9580,AM,0100,1/5/2001,\"BBC, London\",\"a \"\"b\",,\r\nX,1\r\n");
  const std::string txt = ReadFileBytes(folder.log("OndarisLog.txt"));
  EXPECT_EQ(txt, "SW\t9580\tAM\t0100\t1/5/2001\tBBC, London\ta b\t\t\t\t\t\t\t\t\r\nX\t1\t\t\t\t\t\t\r\n");
  EXPECT_EQ(ReadFileBytes(folder.log("LogModes.dat")), "AM\r\nUSB\r\n");
  EXPECT_EQ(ReadFileBytes(folder.log("LogCodes.dat")), "only\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder.log("OndarisLog.csv")));

  WriteFileBytes(folder.log("OndarisLog.csv"), csv);  // the .txt is there now: nothing happens
  EXPECT_FALSE(ConvertOldLogFile(folder.dir(), messages));
  EXPECT_EQ(ReadFileBytes(folder.log("OndarisLog.txt")), txt);
}

}  // namespace
}  // namespace ondaris
