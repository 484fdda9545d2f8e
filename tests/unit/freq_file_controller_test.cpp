// The station list's file commands, grid and tuning from a row, over the
// panel's fakes, scripted dialogs and a private program folder.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/FrontPanel.h"
#include "common/Errors.h"
#include "freqfiles/FreqFileController.h"
#include "platform/CompanionTransport.h"
#include "platform/Shell.h"
#include "radio/CommandDispatcher.h"
#include "radio/StateFiles.h"
#include "support/PanelFixture.h"
#include "support/ScriptedFileDialogs.h"
#include "timekeeping/ClockController.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;

const std::string Alba = R"("Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes",0,0)";
const std::string Coast = R"("Coast Guard",14.230500,USB,2400,1,1000,-150,"Harbour","English","0000","2400","",0,1)";
const std::string Beacon = R"("Beacon",0.153000,CW,300,3,9000,50,"Hill","None","1200","1200","x",0,0)";
const std::string Extra = R"("Extra",9.575500,AM,6000,2,5000,0,"Plain","French","0000","0100","Notes",0,0)";

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A private program folder with SysFiles and FreqFiles.
class TempProgramDir {
 public:
  TempProgramDir() {
    std::string pattern = (fs::temp_directory_path() / "ondaris-grid-XXXXXX").string();
    path = std::string(::mkdtemp(pattern.data())) + "/";
    fs::create_directories(path + "SysFiles");
    fs::create_directories(path + "FreqFiles");
  }
  ~TempProgramDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  std::string freqFile(const std::string& name) const { return path + "FreqFiles/" + name; }
  std::string path;
};

// The four commands a tuning to these settings sends.
std::string TuningFor(double freq, int mode, int filterRow, int agc, int pbt, int stepHz) {
  RadioState s;
  s.Freq = freq;
  s.Mode = static_cast<std::uint8_t>(mode);
  s.SelectFilterRow(filterRow);
  s.AGC = agc;
  s.PBT = pbt;
  s.StepHz = stepHz;
  s.ComputeCalibration();
  return s.TuningBytes();
}

class FreqFileControllerTest : public PanelFixture {
 protected:
  FreqFileControllerTest()
      : stations(ctx, receiver, controls, tuning, dir.path), files(ctx, stations, dialogs, dir.path) {
    files.addToRecentFiles = [this](const std::string& path) { recent.push_back(path); };
    stations.recordsChanged.push_back([this] { ++recordsChangedCalls; });
    stations.StartupGridSetUp();
  }

  // Writes FreqFiles/<name> and loads it as start-up does.
  void Load(const std::string& name, const std::vector<std::string>& lines) {
    WriteFile(dir.freqFile(name), Lines(lines));
    state.FreqFileDir = "FreqFiles/";
    state.LastFreqFile = name;
    files.LoadLastFrequencyFile();
  }
  // Lets everything queued reach the port and forgets it.
  void Settle() {
    ASSERT_TRUE(flushLine());
    clearRecords();
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int row = 1; row <= stations.list.ViewCount(); ++row) names.push_back(stations.CellText(row, 2));
    return names;
  }

  TempProgramDir dir;
  ScriptedFileDialogs dialogs;
  StationGrid stations;
  FreqFileController files;
  std::vector<std::string> recent;
  int recordsChangedCalls = 0;
};

// ---- SysFiles/OndarisGrid.dat and the header zones ------------------------------

TEST(GridWidthsTest, FileIsNineLittleEndianSignedIntegers) {
  const GridColumnWidths widths{28, 77, 141, 63, 63, 92, 106, -1, 300};
  const std::string bytes = EncodeGridWidths(widths);
  ASSERT_EQ(bytes.size(), 36u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x1C\x00\x00\x00", 4));
  EXPECT_EQ(bytes.substr(28, 4), std::string("\xFF\xFF\xFF\xFF", 4));
  EXPECT_EQ(bytes.substr(32, 4), std::string("\x2C\x01\x00\x00", 4));
  EXPECT_EQ(DecodeGridWidths(bytes), widths);
  EXPECT_FALSE(DecodeGridWidths(bytes.substr(0, 35)).has_value());
  EXPECT_EQ(DecodeGridWidths(bytes + "tail"), widths);
}

TEST(GridWidthsTest, DefaultsAreSharesOfTheClientWidthTruncated) {
  EXPECT_EQ(DefaultGridWidths(709), (GridColumnWidths{28, 77, 141, 63, 63, 92, 106, 63, 63}));
  EXPECT_EQ(DefaultGridWidths(100), (GridColumnWidths{4, 11, 20, 9, 9, 13, 15, 9, 9}));
}

TEST(GridWidthsTest, MissingOrShortFileGivesNothingAndAWrittenFileReadsBack) {
  TempProgramDir dir;
  EXPECT_FALSE(ReadGridWidths(dir.path).has_value());
  WriteFile(GridWidthsPath(dir.path), std::string(20, '\x10'));
  EXPECT_FALSE(ReadGridWidths(dir.path).has_value());
  const GridColumnWidths widths{1, 2, 3, 4, 5, 6, 7, 8, 9};
  WriteGridWidths(dir.path, widths);
  EXPECT_EQ(fs::file_size(GridWidthsPath(dir.path)), 36u);
  EXPECT_EQ(ReadGridWidths(dir.path), widths);
}

struct ZoneCase {
  int x;
  int column;
};

class HeaderZoneTest : public ::testing::TestWithParam<ZoneCase> {};

// Columns 30 and 80 wide: column 0 spans x 1..30, column 1 starts at 32.
TEST_P(HeaderZoneTest, ClicksOnlyCountInsideTheMargins) {
  const GridColumnWidths widths{30, 80, 50, 50, 50, 50, 50, 50, 50};
  EXPECT_EQ(HeaderZoneColumn(widths, GetParam().x), GetParam().column) << "x = " << GetParam().x;
}

INSTANTIATE_TEST_SUITE_P(Zones, HeaderZoneTest,
                         ::testing::Values(ZoneCase{0, -1}, ZoneCase{6, -1}, ZoneCase{7, 0}, ZoneCase{25, 0},
                                           ZoneCase{26, -1}, ZoneCase{31, -1}, ZoneCase{37, -1}, ZoneCase{38, 1},
                                           ZoneCase{106, 1}, ZoneCase{107, -1}, ZoneCase{119, 2},
                                           ZoneCase{10000, -1}));

TEST(GridColumnLeftTest, ColumnsStartOnePixelApart) {
  const GridColumnWidths widths{30, 80, 50, 50, 50, 50, 50, 50, 50};
  EXPECT_EQ(GridColumnLeft(widths, 0), 1);
  EXPECT_EQ(GridColumnLeft(widths, 1), 32);
  EXPECT_EQ(GridColumnLeft(widths, 2), 113);
}

// ---- Start-up ------------------------------------------------------------------

TEST_F(FreqFileControllerTest, StartupDisablesTheFileCommandsButNotAddAndPaste) {
  for (Ctl c : {Ctl::SaveFileItem, Ctl::SaveFileAsItem, Ctl::AppendFileItem, Ctl::EditEntryItem,
                Ctl::DeleteEntryItem, Ctl::CopyItem, Ctl::FileOpBtn1, Ctl::FileOpBtn3, Ctl::FileOpBtn5, Ctl::NowBtn})
    EXPECT_FALSE(panel[c].enabled) << ControlName(c);
  EXPECT_TRUE(panel[Ctl::AddEntryItem].enabled);
  EXPECT_TRUE(panel[Ctl::FileOpBtn2].enabled);
  EXPECT_FALSE(panel[Ctl::PasteItem].enabled);
  EXPECT_EQ(panel[Ctl::PasteItem].caption, "&Paste Records (0)          (Ctrl+V)");
  EXPECT_EQ(stations.grid.RowCount, 7);
  EXPECT_EQ(stations.grid.ColWidths, DefaultGridWidths(stations.grid.ClientWidth));
}

TEST_F(FreqFileControllerTest, StartupTakesTheWidthsOfOndarisGridDat) {
  const GridColumnWidths widths{20, 90, 150, 60, 60, 90, 100, 60, 60};
  WriteGridWidths(dir.path, widths);
  int notified = 0;
  stations.gridColumnsChanged = [&] { ++notified; };
  stations.StartupGridSetUp();
  EXPECT_EQ(stations.grid.ColWidths, widths);
  EXPECT_EQ(notified, 1);
}

TEST_F(FreqFileControllerTest, PasteShowsTheClipboardWhenFull) {
  stations.pasteStatus = [] { return PasteStatus{3, true}; };
  stations.DisableFileCommands();
  EXPECT_TRUE(panel[Ctl::PasteItem].enabled);
  EXPECT_EQ(panel[Ctl::PasteItem].caption, "&Paste Records (3)          (Ctrl+V)");
}

TEST_F(FreqFileControllerTest, StartupLoadsTheLastFile) {
  Load("Test.320", {Alba, Coast, Beacon});
  EXPECT_EQ(stations.list.RecordCount(), 3);
  EXPECT_EQ(state.FreqFileRecordCount, 3);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Test.320:  3 records");
  EXPECT_EQ(recent, std::vector<std::string>{dir.freqFile("Test.320")});
  EXPECT_TRUE(panel[Ctl::Grid].enabled);
  EXPECT_TRUE(panel[Ctl::SaveFileItem].enabled);
  EXPECT_TRUE(panel[Ctl::NowBtn].enabled);
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_EQ(stations.grid.RowCount, 4);
  EXPECT_EQ(stations.grid.Row, 1);
  EXPECT_EQ(stations.grid.TopRow, 1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Radio Alba", "Coast Guard", "Beacon"}));
  EXPECT_GE(recordsChangedCalls, 1);
  EXPECT_TRUE(messages.shown().empty());
}

TEST_F(FreqFileControllerTest, AMissingLastFileIsAnnouncedAndForgotten) {
  state.LastFreqFile = "Gone.320";
  state.FreqFileRecordCount = 12;
  files.LoadLastFrequencyFile();
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"The previously-loaded frequency file is missing."});
  EXPECT_EQ(state.LastFreqFile, "");
  EXPECT_EQ(state.FreqFileRecordCount, 0);
  EXPECT_TRUE(recent.empty());
}

TEST_F(FreqFileControllerTest, NoLastFileDisablesTheGrid) {
  state.LastFreqFile.clear();
  state.FreqFileRecordCount = 5;
  files.LoadLastFrequencyFile();
  EXPECT_EQ(state.FreqFileRecordCount, 0);
  EXPECT_FALSE(panel[Ctl::Grid].enabled);
  EXPECT_TRUE(messages.shown().empty());
}

TEST_F(FreqFileControllerTest, BadLinesAreReportedAndSkipped) {
  Load("Test.320", {Alba, "no quotes here", Beacon});
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Error reading record 2:  no quotes here"});
  EXPECT_EQ(stations.list.RecordCount(), 2);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Test.320:  2 records");
}

// ---- Open, New, Append -----------------------------------------------------------

TEST_F(FreqFileControllerTest, OpenAsksAboutChangesThenLoadsTheChosenFile) {
  Load("Test.320", {Alba});
  stations.list.Changed = true;
  stations.ShowSaveButtonLook();
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Maroon);
  WriteFile(dir.path + "Other.320", Lines({Coast, Beacon}));
  messages.answerNext(false);
  dialogs.chooseNext(dir.path + "Other.320");
  files.LoadFileItemClick();

  EXPECT_EQ(messages.questions(), std::vector<std::string>{SaveChangesQuestion});
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].kind, ScriptedFileDialogs::Kind::Open);
  EXPECT_EQ(dialogs.shown()[0].request.folder, dir.path + "FreqFiles/");
  EXPECT_EQ(dialogs.shown()[0].request.filter, "RX320 files (*.320)");
  EXPECT_EQ(state.LastFreqFile, "Other.320");
  EXPECT_EQ(state.FreqFileDir, "");  // the program folder itself, stored relative to it
  EXPECT_EQ(files.FreqFilePath(), dir.path + "Other.320");
  EXPECT_EQ(recent.back(), dir.path + "Other.320");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Coast Guard", "Beacon"}));
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Black);
  EXPECT_FALSE(panel[Ctl::FileOpBtn1].bold);
  // The old file was not written.
  EXPECT_EQ(ReadFile(dir.freqFile("Test.320")), Lines({Alba}));
}

TEST_F(FreqFileControllerTest, OpenCancelledChangesNothing) {
  Load("Test.320", {Alba, Coast});
  dialogs.cancelNext();
  files.LoadFileItemClick();
  EXPECT_EQ(state.LastFreqFile, "Test.320");
  EXPECT_EQ(stations.list.RecordCount(), 2);
}

TEST_F(FreqFileControllerTest, OpenIsRefusedDuringAFileScan) {
  ctx.scan.ScanState = 1;
  files.LoadFileItemClick();
  files.NewFileItemClick();
  files.AppendFileItemClick();
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(FreqFileControllerTest, OpeningAnEmptyFileSaysSo) {
  WriteFile(dir.freqFile("Empty.320"), "");
  dialogs.chooseNext(dir.freqFile("Empty.320"));
  files.LoadFileItemClick();
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Aborting:  Empty file - Empty.320"});
  EXPECT_EQ(stations.list.RecordCount(), 0);
}

TEST_F(FreqFileControllerTest, NewAsksToSaveAndEmptiesEverything) {
  Load("Test.320", {Alba, Coast});
  stations.list.Cell(0, FreqColumn::Name) = "Radio Alba 2";
  stations.list.Changed = true;
  messages.answerNext(true);
  files.NewFileItemClick();

  EXPECT_EQ(ReadFile(dir.freqFile("Test.320")),
            Lines({R"("Radio Alba 2",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes",0,0)",
                   Coast}));
  EXPECT_EQ(stations.list.RecordCount(), 0);
  EXPECT_EQ(state.LastFreqFile, "");
  EXPECT_EQ(state.FreqFileRecordCount, 0);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "");
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_FALSE(panel[Ctl::Grid].enabled);
  EXPECT_FALSE(panel[Ctl::SaveFileItem].enabled);
  EXPECT_TRUE(panel[Ctl::AddEntryItem].enabled);
  EXPECT_EQ(stations.grid.RowCount, 7);
  EXPECT_EQ(stations.grid.TopRow, 1);
}

TEST_F(FreqFileControllerTest, NewWithoutChangesAsksNothing) {
  Load("Test.320", {Alba});
  files.NewFileItemClick();
  EXPECT_TRUE(messages.questions().empty());
  EXPECT_EQ(stations.list.RecordCount(), 0);
}

TEST_F(FreqFileControllerTest, AppendLeavesTheMergedListUnnamedAndChanged) {
  Load("Test.320", {Alba, Coast});
  WriteFile(dir.freqFile("More.320"), Lines({Beacon, Extra}));
  dialogs.chooseNext(dir.freqFile("More.320"));
  files.AppendFileItemClick();

  EXPECT_EQ(stations.list.RecordCount(), 4);
  EXPECT_EQ(state.LastFreqFile, "");
  EXPECT_TRUE(stations.list.Changed);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, ":  4 records");
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Maroon);
  EXPECT_TRUE(panel[Ctl::FileOpBtn1].bold);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Radio Alba", "Coast Guard", "Beacon", "Extra"}));

  // Save now asks for a name first.
  dialogs.chooseNext(dir.freqFile("Merged.320"));
  files.SaveOrSaveAs();
  EXPECT_EQ(dialogs.count(ScriptedFileDialogs::Kind::Save), 1u);
  EXPECT_EQ(ReadFile(dir.freqFile("Merged.320")), Lines({Alba, Coast, Beacon, Extra}));
  EXPECT_EQ(state.LastFreqFile, "Merged.320");
  EXPECT_EQ(recent.back(), dir.freqFile("Merged.320"));
}

TEST_F(FreqFileControllerTest, AppendingAnEmptyFileNamesIt) {
  Load("Test.320", {Alba});
  WriteFile(dir.freqFile("Nothing.320"), "");
  dialogs.chooseNext(dir.freqFile("Nothing.320"));
  files.AppendFileItemClick();
  EXPECT_EQ(messages.lastMessage(), "Aborting:  Empty file - Nothing.320");
  EXPECT_EQ(state.LastFreqFile, "Test.320");
  EXPECT_FALSE(stations.list.Changed);
}

// ---- Save and Save as ------------------------------------------------------------

TEST_F(FreqFileControllerTest, SavingAfterANameSortWritesNameOrder) {
  Load("Test.320", {Alba, Coast, Beacon});
  stations.SortByColumn(SortColumn::Name);
  stations.list.Changed = true;
  files.SaveOrSaveAs();
  EXPECT_EQ(ReadFile(dir.freqFile("Test.320")), Lines({Beacon, Coast, Alba}));
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Test.320 - Saved");
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Black);
}

TEST_F(FreqFileControllerTest, SavingAnEmptyListSaysSo) {
  stations.list.Changed = true;
  state.LastFreqFile = "Test.320";
  EXPECT_FALSE(files.SaveFrequencyFile());
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Empty file - aborting Save operation"});
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_FALSE(fs::exists(dir.freqFile("Test.320")));
}

TEST_F(FreqFileControllerTest, SaveAsToANewFileNamesTheListAndSaves) {
  Load("Test.320", {Alba, Coast});
  dialogs.chooseNext(dir.freqFile("Copy.320"));
  files.SaveFileAsItemClick();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].request.fileName, "Test.320");
  EXPECT_EQ(dialogs.shown()[0].request.defaultExtension, "320");
  EXPECT_TRUE(messages.questions().empty());
  EXPECT_EQ(ReadFile(dir.freqFile("Copy.320")), Lines({Alba, Coast}));
  EXPECT_EQ(state.LastFreqFile, "Copy.320");
  EXPECT_EQ(recent.back(), dir.freqFile("Copy.320"));
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Copy.320 - Saved");
}

TEST_F(FreqFileControllerTest, SaveAsOverAFileAsksFirst) {
  Load("Test.320", {Alba, Coast});
  WriteFile(dir.freqFile("Keep.320"), Lines({Beacon}));
  dialogs.chooseNext(dir.freqFile("Keep.320"));
  messages.answerNext(true);
  files.SaveFileAsItemClick();
  EXPECT_EQ(messages.questions(),
            std::vector<std::string>{"There is a file named Keep.320 in the directory.  Do you want to overwrite it?"});
  EXPECT_EQ(ReadFile(dir.freqFile("Keep.320")), Lines({Alba, Coast}));
  EXPECT_EQ(state.LastFreqFile, "Keep.320");
}

TEST_F(FreqFileControllerTest, DecliningTheOverwriteKeepsTheOldName) {
  Load("Test.320", {Alba, Coast});
  stations.list.Cell(1, FreqColumn::Name) = "Coast Guard 2";
  stations.list.Changed = true;
  WriteFile(dir.freqFile("Keep.320"), Lines({Beacon}));
  dialogs.chooseNext(dir.freqFile("Keep.320"));
  messages.answerNext(false);
  files.SaveFileAsItemClick();

  EXPECT_EQ(ReadFile(dir.freqFile("Keep.320")), Lines({Beacon}));
  EXPECT_EQ(state.LastFreqFile, "Test.320");
  EXPECT_TRUE(stations.list.Changed);
  EXPECT_TRUE(recent.size() == 1u);  // only the load entered a name

  // The next Save goes to the list's own file, not to the one kept.
  files.SaveOrSaveAs();
  EXPECT_EQ(ReadFile(dir.freqFile("Keep.320")), Lines({Beacon}));
  EXPECT_NE(ReadFile(dir.freqFile("Test.320")).find("Coast Guard 2"), std::string::npos);
}

TEST_F(FreqFileControllerTest, DecliningTheOverwriteOfAnUnnamedListLeavesItUnnamed) {
  Load("Test.320", {Alba});
  WriteFile(dir.freqFile("More.320"), Lines({Coast}));
  dialogs.chooseNext(dir.freqFile("More.320"));
  files.AppendFileItemClick();
  dialogs.chooseNext(dir.freqFile("Test.320"));
  messages.answerNext(false);
  EXPECT_FALSE(files.SaveFrequencyFile());
  EXPECT_EQ(state.LastFreqFile, "");
  EXPECT_EQ(ReadFile(dir.freqFile("Test.320")), Lines({Alba}));
}

TEST_F(FreqFileControllerTest, SaveAsCancelledOrEmptyDoesNothing) {
  files.SaveFileAsItemClick();  // no records: no dialog
  EXPECT_TRUE(dialogs.shown().empty());
  Load("Test.320", {Alba});
  dialogs.cancelNext();
  files.SaveFileAsItemClick();
  EXPECT_EQ(state.LastFreqFile, "Test.320");
  EXPECT_TRUE(messages.shown().empty());
}

TEST_F(FreqFileControllerTest, CtrlSAndCtrlAWaitForARunningSort) {
  Load("Test.320", {Alba});
  stations.list.Changed = true;
  stations.SortInProgress = true;
  EXPECT_TRUE(files.CtrlKeyUp('S'));
  EXPECT_TRUE(files.CtrlKeyUp('A'));
  EXPECT_TRUE(stations.list.Changed);
  EXPECT_TRUE(dialogs.shown().empty());
  stations.SortInProgress = false;
  EXPECT_TRUE(files.CtrlKeyUp('S'));
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_FALSE(files.CtrlKeyUp('E'));
}

TEST_F(FreqFileControllerTest, CtrlNAndCtrlOFollowTheirMenuItems) {
  Load("Test.320", {Alba});
  panel.setEnabled(Ctl::NewFileItem, false);
  panel.setEnabled(Ctl::LoadFileItem, false);
  files.CtrlKeyUp('N');
  files.CtrlKeyUp('O');
  EXPECT_EQ(stations.list.RecordCount(), 1);
  EXPECT_TRUE(dialogs.shown().empty());
  panel.setEnabled(Ctl::LoadFileItem, true);
  dialogs.cancelNext();
  files.CtrlKeyUp('O');
  EXPECT_EQ(dialogs.count(ScriptedFileDialogs::Kind::Open), 1u);
}

TEST_F(FreqFileControllerTest, ReopenLoadsOrSaysTheFileIsGone) {
  Load("Test.320", {Alba});
  WriteFile(dir.freqFile("Two.320"), Lines({Coast, Beacon}));
  files.ReopenFile(dir.freqFile("Two.320"));
  EXPECT_EQ(state.LastFreqFile, "Two.320");
  EXPECT_EQ(stations.list.RecordCount(), 2);
  EXPECT_EQ(recent.back(), dir.freqFile("Two.320"));
  files.ReopenFile(dir.freqFile("Gone.320"));
  EXPECT_EQ(messages.lastMessage(), "Could not find the requested frequency file");
  EXPECT_EQ(state.LastFreqFile, "Two.320");
  EXPECT_EQ(stations.list.RecordCount(), 2);
}

// ---- Exit ------------------------------------------------------------------------

TEST_F(FreqFileControllerTest, ExitAsksOnlyForAChangedListWithRecords) {
  Load("Test.320", {Alba, Coast, Beacon});
  files.AskToSaveAtExit();
  EXPECT_TRUE(messages.questions().empty());
  stations.SortByColumn(SortColumn::StartTime);
  stations.list.Changed = true;
  messages.answerNext(true);
  files.AskToSaveAtExit();
  EXPECT_EQ(messages.questions(), std::vector<std::string>{SaveChangesQuestion});
  // On Air order: 0000, 0800, 1200.
  EXPECT_EQ(ReadFile(dir.freqFile("Test.320")), Lines({Coast, Alba, Beacon}));
}

TEST_F(FreqFileControllerTest, ExitWritesTheGridWidths) {
  stations.GridColumnResized(2, 222);
  stations.SaveGridWidths();
  const std::string bytes = ReadFile(GridWidthsPath(dir.path));
  ASSERT_EQ(bytes.size(), 36u);
  EXPECT_EQ(DecodeGridWidths(bytes)->at(2), 222);
}

// ---- Sorting from the header -----------------------------------------------------

TEST_F(FreqFileControllerTest, AHeaderClickSortsThatColumn) {
  Load("Test.320", {Alba, Coast, Beacon});
  stations.grid.ColWidths = {30, 80, 100, 50, 50, 50, 50, 50, 50};
  stations.grid.TopRow = 2;
  const int nameX = GridColumnLeft(stations.grid.ColWidths, 2) + 50;
  EXPECT_TRUE(stations.GridMouseDown(GridMouseButton::Left, nameX, 5, 20));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Beacon", "Coast Guard", "Radio Alba"}));
  EXPECT_EQ(stations.grid.TopRow, 1);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Test.320 - 3 Lines");
  EXPECT_FALSE(stations.FreqSorted);

  const int freqX = GridColumnLeft(stations.grid.ColWidths, 1) + 40;
  EXPECT_TRUE(stations.GridMouseDown(GridMouseButton::Left, freqX, 5, 20));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Beacon", "Radio Alba", "Coast Guard"}));
  EXPECT_TRUE(stations.FreqSorted);
  EXPECT_FALSE(stations.list.Changed);  // a sort alone changes no record
}

TEST_F(FreqFileControllerTest, ClicksNearBordersBelowTheHeaderOrOtherButtonsDoNotSort) {
  Load("Test.320", {Alba, Coast, Beacon});
  stations.grid.ColWidths = {30, 80, 100, 50, 50, 50, 50, 50, 50};
  const int nameLeft = GridColumnLeft(stations.grid.ColWidths, 2);
  EXPECT_FALSE(stations.GridMouseDown(GridMouseButton::Left, nameLeft + 5, 5, 20));
  EXPECT_FALSE(stations.GridMouseDown(GridMouseButton::Left, nameLeft + 95, 5, 20));
  EXPECT_FALSE(stations.GridMouseDown(GridMouseButton::Left, nameLeft + 50, 20, 20));
  EXPECT_FALSE(stations.GridMouseDown(GridMouseButton::Right, nameLeft + 50, 5, 20));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Radio Alba", "Coast Guard", "Beacon"}));
}

TEST_F(FreqFileControllerTest, APressDuringAFileScanEndsItInsteadOfSorting) {
  Load("Test.320", {Alba, Coast, Beacon});
  int ended = 0;
  stations.endFileScan = [&] { ++ended; };
  ctx.scan.ScanState = 1;
  const int nameX = GridColumnLeft(stations.grid.ColWidths, 2) + 40;
  EXPECT_FALSE(stations.GridMouseDown(GridMouseButton::Right, nameX, 5, 20));
  EXPECT_EQ(ended, 0);
  EXPECT_FALSE(stations.GridMouseDown(GridMouseButton::Left, nameX, 5, 20));
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Radio Alba", "Coast Guard", "Beacon"}));
}

// ---- Tuning from the grid --------------------------------------------------------

TEST_F(FreqFileControllerTest, AClickTunesToTheRowsStation) {
  Load("Test.320", {Alba, Coast, Beacon});
  Settle();
  stations.GridCursorMoved(2, 2, 2);
  stations.GridClick();
  EXPECT_DOUBLE_EQ(state.Freq, 14230.5);
  EXPECT_EQ(state.Mode, 1);
  EXPECT_EQ(state.FilterIndex, 14);  // 2400 Hz
  EXPECT_EQ(state.Bandwidth, 2400);
  EXPECT_EQ(state.StepHz, 1000);
  EXPECT_EQ(state.StepIndex, 5);
  EXPECT_EQ(state.AGC, 1);
  EXPECT_EQ(state.PBT, -150);
  EXPECT_TRUE(panel[Ctl::ModeBtnUSB].pressed);
  EXPECT_TRUE(panel[Ctl::FiltBtn14].pressed);
  EXPECT_TRUE(panel[Ctl::AGCSlowBtn].pressed);
  EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, "-150");
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Test.320:  Line 2");
  EXPECT_DOUBLE_EQ(state.LastFreqRecord.freq, 15000.0);
  EXPECT_FALSE(stations.GridTunePermit);
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(sentBytes(), TuningFor(14230.5, 1, 14, 1, -150, 1000));
}

TEST_F(FreqFileControllerTest, TheNineKilohertzStepIsKept) {
  Load("Test.320", {Alba, Coast, Beacon});
  stations.TuneFromGridRow(3);
  EXPECT_EQ(state.StepHz, 9000);
  EXPECT_EQ(state.StepIndex, 8);
  EXPECT_EQ(state.Mode, 3);
  EXPECT_EQ(state.Bandwidth, 300);
  EXPECT_EQ(state.AGC, 3);
  EXPECT_DOUBLE_EQ(state.Freq, 153.0);
}

TEST_F(FreqFileControllerTest, OnlyOneTunePerClockTick) {
  Load("Test.320", {Alba, Coast, Beacon});
  stations.GridCursorMoved(1, 1, 1);
  stations.GridClick();
  EXPECT_DOUBLE_EQ(state.Freq, 9580.0);
  stations.GridCursorMoved(2, 2, 2);
  stations.GridClick();
  EXPECT_DOUBLE_EQ(state.Freq, 9580.0);
  stations.ClockTick();
  stations.GridClick();
  EXPECT_DOUBLE_EQ(state.Freq, 14230.5);
}

TEST_F(FreqFileControllerTest, AKeyPressSwallowsTheNextClick) {
  Load("Test.320", {Alba, Coast, Beacon});
  EXPECT_FALSE(stations.GridKeyDown(0x01000015));  // an arrow key: remembered, not used
  stations.GridCursorMoved(2, 2, 2);
  stations.GridClick();
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  EXPECT_EQ(stations.LastGridKey, 0);
  stations.GridClick();
  EXPECT_DOUBLE_EQ(state.Freq, 14230.5);
}

struct KeyCase {
  int startRow;
  int key;
  int row;
};

class GridKeyTest : public FreqFileControllerTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(GridKeyTest, KFMoveUpMVMoveDownAndTune) {
  Load("Test.320", {Alba, Coast, Beacon});
  stations.GridCursorMoved(GetParam().startRow, GetParam().startRow, GetParam().startRow);
  EXPECT_TRUE(stations.GridKeyDown(GetParam().key));
  EXPECT_EQ(stations.grid.Row, GetParam().row);
  EXPECT_EQ(stations.grid.SelectionTop, GetParam().row);
  const double expected[] = {0, 9580.0, 14230.5, 153.0};
  EXPECT_DOUBLE_EQ(state.Freq, expected[GetParam().row]);
  EXPECT_EQ(stations.LastGridKey, 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, GridKeyTest,
                         ::testing::Values(KeyCase{2, 'K', 1}, KeyCase{2, 'F', 1}, KeyCase{1, 'K', 1},
                                           KeyCase{2, 'M', 3}, KeyCase{2, 'V', 3}, KeyCase{3, 'M', 3},
                                           KeyCase{1, 'v', 2}));

TEST_F(FreqFileControllerTest, KeysMoveWithoutTuningWhileAScanRuns) {
  Load("Test.320", {Alba, Coast, Beacon});
  ctx.scan.ScanState = 2;
  stations.GridKeyDown('M');
  EXPECT_EQ(stations.grid.Row, 2);
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
}

TEST_F(FreqFileControllerTest, ClicksDoNotTuneDuringOtherScansOrWWVOrLockedRowsInAScan) {
  Load("Test.320", {Alba, Coast, Beacon});
  for (int scan : {2, 3, 4}) {
    ctx.scan.ScanState = scan;
    stations.GridCursorMoved(1, 1, 1);
    stations.GridClick();
    EXPECT_DOUBLE_EQ(state.Freq, 15000.0) << "scan " << scan;
  }
  ctx.scan.ScanState = 0;
  tuning.flags.WWVMode = 10;
  stations.GridClick();
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  tuning.flags.WWVMode = 0;

  // Row 2 is locked out: ignored while the file scan runs, tuned otherwise.
  ctx.scan.ScanState = 1;
  stations.GridCursorMoved(2, 2, 2);
  stations.GridClick();
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  ctx.scan.ScanState = 0;
  stations.GridClick();
  EXPECT_DOUBLE_EQ(state.Freq, 14230.5);
}

TEST_F(FreqFileControllerTest, AClickDuringContinuousTuningOnlyEndsIt) {
  Load("Test.320", {Alba, Coast, Beacon});
  tuning.FreqUpBtnFastClick();
  ASSERT_TRUE(tuning.flags.TuningActive);
  stations.GridCursorMoved(1, 1, 1);
  stations.GridClick();
  EXPECT_FALSE(tuning.flags.TuningActive);
  EXPECT_NE(state.Freq, 9580.0);
}

TEST_F(FreqFileControllerTest, EnterTunesTheCurrentRowOfALoadedList) {
  tuning.enterWithoutKeypad = [this] { stations.TuneSelectedRow(); };
  tuning.KeyPress('\r');
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  Load("Test.320", {Alba, Coast, Beacon});
  stations.GridCursorMoved(3, 3, 3);
  tuning.KeyPress('\r');
  EXPECT_DOUBLE_EQ(state.Freq, 153.0);
}

// ---- Cells and colours -----------------------------------------------------------

TEST_F(FreqFileControllerTest, CellsShowTheNineColumnsAndTheLockoutMark) {
  Load("Test.320", {Alba, Coast, Beacon});
  const std::vector<std::string> row2 = {"L", "14230.5", "Coast Guard", "0000", "2400",
                                         "English", "Harbour", "USB", "2400"};
  for (int c = 0; c < GridColumnCount; ++c) EXPECT_EQ(stations.CellText(2, c), row2[static_cast<std::size_t>(c)]);
  EXPECT_EQ(stations.CellText(1, 0), "");
  EXPECT_EQ(stations.CellText(4, 1), "");
  EXPECT_EQ(stations.CellText(0, 1), "");
}

TEST_F(FreqFileControllerTest, RowsOnTheAirFollowTheClock) {
  Load("Test.320", {Alba, Coast, Beacon});
  clock.setUtc({2026, 3, 7, 9, 15, 0});
  EXPECT_TRUE(stations.RowIsOnAir(1));   // 0800-1200
  EXPECT_TRUE(stations.RowIsOnAir(2));   // 0000-2400
  EXPECT_FALSE(stations.RowIsOnAir(3));  // 1200-1200 never
  clock.setUtc({2026, 3, 7, 12, 0, 0});
  EXPECT_FALSE(stations.RowIsOnAir(1));
}

TEST_F(FreqFileControllerTest, RefreshDrawsTheSaveButtonAndCountsRows) {
  Load("Test.320", {Alba, Coast, Beacon});
  int contents = 0, focus = 0;
  stations.gridContentsChanged = [&] { ++contents; };
  stations.focusGrid = [&] { ++focus; };
  stations.list.Changed = true;
  stations.RefreshFrequencyGrid();
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Maroon);
  EXPECT_EQ(stations.grid.RowCount, 4);
  EXPECT_EQ(contents, 1);
  EXPECT_EQ(focus, 1);
  stations.GridTopLeftChanged(2);
  EXPECT_EQ(stations.grid.TopRow, 2);
  EXPECT_EQ(contents, 2);
}

// ---- The on-air view -------------------------------------------------------------

TEST_F(FreqFileControllerTest, OnAirViewListsTheStationsOnTheAirAndReturns) {
  Load("Test.320", {Alba, Coast, Beacon, Extra});
  clock.setUtc({2026, 3, 7, 9, 0, 0});
  stations.ToggleOnAirView();
  EXPECT_TRUE(stations.list.OnAirView);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Coast Guard", "Radio Alba"}));
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "On the air now: 2 broadcasts");
  EXPECT_EQ(panel[Ctl::NowBtn].colour, Colour::Maroon);
  stations.ToggleOnAirView();
  EXPECT_FALSE(stations.list.OnAirView);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Radio Alba", "Coast Guard", "Beacon", "Extra"}));
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Test.320: 4 Lines");
}

TEST_F(FreqFileControllerTest, OpeningAFileLeavesTheOnAirView) {
  Load("Test.320", {Alba, Coast, Beacon});
  clock.setUtc({2026, 3, 7, 9, 0, 0});
  stations.ToggleOnAirView();
  WriteFile(dir.freqFile("Two.320"), Lines({Beacon, Extra}));
  dialogs.chooseNext(dir.freqFile("Two.320"));
  files.LoadFileItemClick();
  EXPECT_FALSE(stations.list.OnAirView);
  EXPECT_EQ(panel[Ctl::NowBtn].colour, Colour::Black);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Beacon", "Extra"}));
}

// ---- The companion's words -------------------------------------------------------

class FakeCompanion : public CompanionTransport {
 public:
  bool listen(std::string&) override { return true; }
  void close() override {}
  void send(const std::string& text) override { sent.push_back(text); }
  std::vector<std::string> sent;
};

class CompanionListTest : public FreqFileControllerTest {
 protected:
  CompanionListTest() {
    dispatcher.locateInFrequencyList = [this](double freq) { stations.LocateFrequency(freq); };
    dispatcher.appendFrequencyEntry = [this](const RemoteEntry& entry) { stations.AppendRemoteEntry(entry); };
    dispatcher.sortFrequencyListByFrequency = [this] { stations.SortByFreq(); };
    dispatcher.ExecuteRemoteCommand("?");
    companion.sent.clear();
  }
  FakeCompanion companion;
  CommandDispatcher dispatcher{ctx, receiver, controls, tuning, meter, companion};
};

TEST_F(CompanionListTest, APlusWordSelectsTheFirstRowWithinFourAndAHalfKilohertz) {
  Load("Test.320", {Alba, Coast, Beacon, Extra});
  stations.grid.VisibleRows = 2;
  dispatcher.ExecuteRemoteCommand("+9580");
  EXPECT_DOUBLE_EQ(state.Freq, 9580.0);
  EXPECT_TRUE(stations.FreqSorted);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Beacon", "Extra", "Radio Alba", "Coast Guard"}));
  EXPECT_EQ(stations.grid.Row, 2);  // 9575.5, the first within 4.5 kHz
  EXPECT_EQ(stations.grid.TopRow, 2);
  EXPECT_FALSE(stations.RemoteLookupActive);
}

TEST_F(CompanionListTest, AFrequencyNotInTheListMovesNothing) {
  Load("Test.320", {Alba, Coast, Beacon, Extra});
  dispatcher.ExecuteRemoteCommand("+9581");
  EXPECT_DOUBLE_EQ(state.Freq, 9581.0);
  EXPECT_FALSE(stations.FreqSorted);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Radio Alba", "Coast Guard", "Beacon", "Extra"}));
  EXPECT_EQ(stations.grid.Row, 1);
}

TEST_F(CompanionListTest, AStarWordAppendsSortsAndLocatesTheEntry) {
  Load("Test.320", {Alba, Coast, Beacon});
  stations.SortByColumn(SortColumn::Name);
  dispatcher.ExecuteRemoteCommand("*7205*Station*Place*English*0000*2400*");
  EXPECT_EQ(companion.sent.front(), "OK");
  ASSERT_EQ(stations.list.RecordCount(), 4);
  const FrequencyRecord added = stations.list.Record(3);
  EXPECT_EQ(added.Freq, "7205");
  EXPECT_EQ(added.Name, "Station");
  EXPECT_EQ(added.Location, "Place");
  EXPECT_EQ(added.Language, "English");
  EXPECT_EQ(added.OnAir, "0000");
  EXPECT_EQ(added.OffAir, "2400");
  EXPECT_EQ(added.Mode, "AM");
  EXPECT_EQ(added.Filter, "6000");
  EXPECT_EQ(added.Step, "5000");  // the hello word set the 5 kHz step
  EXPECT_EQ(added.Notes, "Notes");
  EXPECT_EQ(added.Lockout, "0");
  EXPECT_TRUE(stations.list.Changed);
  EXPECT_TRUE(stations.FreqSorted);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Beacon", "Station", "Radio Alba", "Coast Guard"}));
  EXPECT_EQ(stations.grid.Row, 2);
  EXPECT_DOUBLE_EQ(state.Freq, 7205.0);
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Maroon);
}

TEST_F(CompanionListTest, AStarWordWithoutAListStartsAnUnnamedOne) {
  files.LoadLastFrequencyFile();
  dispatcher.ExecuteRemoteCommand("*9575*Station*Place*English*0000*2400*");
  EXPECT_EQ(stations.list.RecordCount(), 1);
  EXPECT_TRUE(panel[Ctl::SaveFileItem].enabled);
  EXPECT_TRUE(panel[Ctl::Grid].enabled);
  EXPECT_EQ(stations.grid.Row, 1);
}

// ---- Start-up and exit of the whole panel ----------------------------------------

class NoCompanion : public CompanionTransport {
 public:
  bool listen(std::string&) override { return true; }
  void close() override {}
  void send(const std::string&) override {}
};

class NoShell : public Shell {
 public:
  bool open(const std::string&, std::string&) override { return true; }
};

TEST(FreqFileStartupTest, TheLastFileLoadsAtStartAndIsSavedAtExitInListOrder) {
  TempProgramDir dir;
  FakeTimeline timeline;
  FakeClock clock{timeline};
  FakeSerialPort port{&timeline};
  FakeTimer tuningTimer{timeline, "TuningTimer"}, meterTimer{timeline, "MeterTimer"},
      scanTimer{timeline, "ScanTimer"}, clockTimer{timeline, "ClockTimer"}, debounceTimer{timeline, "Debounce"},
      pumpTimer{timeline, "LinkPump"};
  ScriptedMessageBoxes messages;
  messages.setDefaultAnswer(false);
  NoCompanion companion;
  NoShell shell;
  ScriptedFileDialogs dialogs;

  RadioState stored;
  stored.FreqFileDir = "FreqFiles/";
  stored.LastFreqFile = "Test.320";
  stored.FreqFileRecordCount = 3;
  WriteOndarisDat(dir.path, stored);
  WriteFile(dir.freqFile("Test.320"), Lines({Alba, Coast, Beacon}));
  const GridColumnWidths widths{25, 80, 140, 60, 60, 90, 100, 60, 60};
  WriteGridWidths(dir.path, widths);

  FrontPanel panel(PanelPlatform{port, clock, messages, companion, shell, tuningTimer, meterTimer, scanTimer,
                                 clockTimer, debounceTimer, pumpTimer, dialogs},
                   dir.path, '.');
  // The panel owns the station list and joins it to start-up, exit and the clock.
  StationGrid& stations = panel.stations;

  panel.FormCreate();
  EXPECT_EQ(stations.list.RecordCount(), 3);
  EXPECT_EQ(stations.grid.ColWidths, widths);
  EXPECT_EQ(panel.panel[Ctl::StatusPanel].caption, "Test.320:  3 records");
  EXPECT_TRUE(panel.panel[Ctl::SaveFileItem].enabled);

  // The grid tunes once per clock tick.
  stations.GridCursorMoved(2, 2, 2);
  stations.GridClick();
  EXPECT_DOUBLE_EQ(panel.state.Freq, 14230.5);
  stations.GridCursorMoved(1, 1, 1);
  stations.GridClick();
  EXPECT_DOUBLE_EQ(panel.state.Freq, 14230.5);
  timeline.advanceBy(150);
  stations.GridClick();
  EXPECT_DOUBLE_EQ(panel.state.Freq, 9580.0);

  // A change, then the name order; exit asks and Yes writes that order.
  stations.list.Cell(0, FreqColumn::Lockout) = "1";
  stations.list.Changed = true;
  stations.SortByName();
  stations.GridColumnResized(2, 155);
  messages.clear();
  messages.answerNext(true);
  panel.SaveStateAndShutdown();
  EXPECT_EQ(messages.questions(), std::vector<std::string>{SaveChangesQuestion});
  EXPECT_EQ(ReadFile(dir.freqFile("Test.320")),
            Lines({Beacon, Coast,
                   R"("Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes",0,1)"}));
  const std::string grid = ReadFile(GridWidthsPath(dir.path));
  ASSERT_EQ(grid.size(), 36u);
  EXPECT_EQ(DecodeGridWidths(grid)->at(2), 155);
}

}  // namespace
}  // namespace ondaris
