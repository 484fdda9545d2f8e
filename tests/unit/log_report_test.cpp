// Log reports: the report's exact bytes from the setup dialog, and the
// report setup file at its exact size, short, long and damaged.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "logbook/LogReportDialog.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

const char* const SmallLog =
    "BC\t9580.5\tAM\t1400\t1/5/2001\tRadio Example \tEnglish news\t\t\t45444\t\t1457\tUtopia\tCapital\t\t\r\n"
    "UT\t153\tusb\t0230\t12/24/2000\tDCF49\tTime signal.\t\t\t\t\t\t\t\t\t\r\n"
    "BC\t15345\tAM\t2100*\t3/1/2002\tRAE\t\t3/2/2002\tcard\t\t\t2200*\targentina\t\t\t\r\n";

struct ReportFolder : TempFolder {
  ReportFolder() {
    std::filesystem::create_directories(path() / "LogFiles" / "ReportSetups");
    std::filesystem::create_directory(path() / "Export");
    table.Load(SmallLog, ',');
  }
  std::string setupPath(const std::string& name) const { return dir() + "LogFiles/ReportSetups/" + name; }
  LogTable table;
  ScriptedMessageBoxes messages;
  ScriptedFileDialogs dialogs;
  LogReportDialog dialog{messages, dialogs, dir(), ','};
};

struct ReportCase {
  const char* name;
  std::function<void(LogReportDialog&)> edit;
  std::string outputFile, expected;
};

class ReportBytes : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReportBytes, GenerateWritesTheMarkedColumns) {
  ReportFolder f;
  f.dialog.FormCreate();
  bool closed = false;
  f.dialog.close = [&] { closed = true; };
  f.dialog.show = [&](LogReportDialog& d) {
    GetParam().edit(d);
    EXPECT_TRUE(d.OKBtnClick());
  };
  f.dialog.ReportBtnClick(f.table, {2, 3});
  EXPECT_TRUE(closed);
  EXPECT_EQ(ReadFileBytes(f.dir() + "Export/" + GetParam().outputFile), GetParam().expected);
  EXPECT_EQ(f.messages.messages(), std::vector<std::string>{ReportGeneratedMessage(GetParam().outputFile)});
}

INSTANTIATE_TEST_SUITE_P(
    Reports, ReportBytes,
    ::testing::Values(
        ReportCase{"freqDraggedBeforeCodeAllRecords",
                   [](LogReportDialog& d) {
                     d.MarkCellClick(0);
                     d.MarkCellClick(1);
                     d.GridColumnMoved(1, 0);
                     d.HeaderEdit = "My log";
                     d.SelCheckbox = false;
                   },
                   "Report.txt", "My log\r\n\r\nFreq\tCode\r\n\r\n9580.5\tBC\r\n153\tUT\r\n15345\tBC\r\n"},
        ReportCase{"selectedWithFlag",
                   [](LogReportDialog& d) {
                     d.MarkCellClick(6);
                     d.MarkCellClick(15);
                     d.OutfileEdit = "Weekly.txt";
                   },
                   "Weekly.txt", "ID\tS(Y)\r\n\r\nDCF49\t\r\nRAE\tY\r\n"},
        ReportCase{"toggledTwiceIsOff", [](LogReportDialog& d) {
                     d.MarkCellClick(3);
                     d.MarkCellClick(3);
                   }, "Report.txt", "\r\n\r\n"},
        ReportCase{"emptyLinesLeftOut",
                   [](LogReportDialog& d) {
                     d.MarkCellClick(10);
                     d.SelCheckbox = false;
                   },
                   "Report.txt", "Misc\r\n\r\nCapital\r\n"},
        ReportCase{"nameStaysInExport",
                   [](LogReportDialog& d) {
                     d.MarkCellClick(2);
                     d.OutfileEdit = "..\\SysFiles/x.txt";
                   },
                   "x.txt", "Mode\r\n\r\nusb\r\nAM\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The setup file ---------------------------------------------------------------

void PutInt(std::string& image, std::size_t at, int value) {
  for (int i = 0; i < 4; ++i) image[at + i] = static_cast<char>((static_cast<unsigned>(value) >> (8 * i)) & 0xFF);
}

TEST(ReportSetupFile, SavedAtItsExactSizeAndReopened) {
  ReportFolder f;
  f.dialog.FormCreate(600);  // columns 600 / 18 - 1 = 32 pixels
  f.dialog.MarkCellClick(5);
  f.dialog.GridColumnMoved(5, 0);  // Date first, its mark with it
  f.dialog.HeaderEdit = "Heard";
  f.dialog.OutfileEdit = "w.txt";
  f.dialog.SelCheckbox = false;
  f.dialogs.chooseNext(f.setupPath("Weekly.rpt"));
  f.dialog.SaveBtnClick();

  std::string expected(469, '\0');
  expected.replace(0, 6, "\x05Heard");
  expected.replace(82, 6, "\x05w.txt");
  const int order[18] = {5, 0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
  for (int p = 0; p < 18; ++p) {
    PutInt(expected, 163 + 4 * p, order[p]);
    PutInt(expected, 235 + 8 * p, 1 + 33 * p + 3);
    PutInt(expected, 239 + 8 * p, 1 + 33 * p + 29);
    PutInt(expected, 379 + 4 * order[p], p);
    expected[451 + p] = p == 0 ? 'Y' : 'N';
  }
  EXPECT_EQ(ReadFileBytes(f.setupPath("Weekly.rpt")), expected);
  EXPECT_EQ(f.dialog.CurrentSetupName, "Weekly.rpt");

  LogReportDialog again{f.messages, f.dialogs, f.dir(), ','};
  again.FormCreate(600);
  f.dialogs.chooseNext(f.setupPath("Weekly.rpt"));
  again.OpenBtnClick();
  EXPECT_EQ(again.setup, f.dialog.setup);
  EXPECT_EQ(again.HeadingText(0), "Date");
  EXPECT_EQ(again.MarkText(0), "  Y");
  EXPECT_EQ(again.MarkText(1), "  N");
  EXPECT_EQ(again.HeaderEdit, "Heard");
  EXPECT_EQ(again.OutfileEdit, "w.txt");
  EXPECT_FALSE(again.SelCheckbox);
  EXPECT_EQ(ReportSetupBytes(again.setup), expected);
}

TEST(ReportSetupFile, DefaultSetupLoadsAtCreation) {
  ReportFolder f;
  ReportSetup saved = FreshReportSetup();
  saved.Heading = "Default";
  WriteFileBytes(f.setupPath("Default.rpt"), ReportSetupBytes(saved));
  f.dialog.FormCreate();
  EXPECT_EQ(f.dialog.HeaderEdit, "Default");
}

struct ParseCase {
  const char* name;
  std::function<std::string(std::string)> damage;  // from the bytes of `Sample`
  std::function<void(ReportSetup&)> expect;         // the sample's setup made what must be read
};

ReportSetup Sample() {
  ReportSetup s = FreshReportSetup();
  s.Heading = "Heard";
  s.SelectedOnly = false;
  s.OutputName = "w.txt";
  s.MoveColumn(5, 0);
  s.Marks.fill('N');
  s.Marks[0] = 'Y';
  s.RecordColumnBounds(32);
  return s;
}

class ReportSetupParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ReportSetupParse, ReadsWhatIsThere) {
  ReportSetup expected = Sample();
  GetParam().expect(expected);
  EXPECT_EQ(ParseReportSetup(GetParam().damage(ReportSetupBytes(Sample()))), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReportSetupParse,
    ::testing::Values(
        ParseCase{"exact", [](std::string b) { return b; }, [](ReportSetup&) {}},
        ParseCase{"longerIgnoresTheRest", [](std::string b) { return b + "extra"; }, [](ReportSetup&) {}},
        ParseCase{"empty", [](std::string) { return std::string(); }, [](ReportSetup& s) { s = FreshReportSetup(); }},
        ParseCase{"shortKeepsHeadingAndFlag", [](std::string b) { return b.substr(0, 85); },
                  [](ReportSetup& s) {
                    const std::string heading = s.Heading;
                    s = FreshReportSetup();
                    s.Heading = heading;
                    s.SelectedOnly = false;
                    s.OutputName = std::string("w.") + std::string(3, '\0');  // its length byte and two characters were there
                  }},
        ParseCase{"lengthByteBeyondCapacity",
                  [](std::string b) {
                    b[0] = static_cast<char>(200);
                    return b;
                  },
                  [](ReportSetup& s) { s.Heading = std::string("Heard") + std::string(75, '\0'); }},
        ParseCase{"orderNotAPermutation",
                  [](std::string b) {
                    PutInt(b, 163 + 4, 5);  // field 5 twice
                    return b;
                  },
                  [](ReportSetup& s) {
                    for (int p = 0; p < 18; ++p) s.ColumnOrder[p] = s.ColumnPositions[p] = p;
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ondaris
