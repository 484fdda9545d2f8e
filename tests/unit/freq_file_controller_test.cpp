// The station list's File commands, its grid and tuning from a row, over the
// panel's fakes, scripted dialogs and a private program folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "freqfiles/FreqFileController.h"
#include "radio/CommandDispatcher.h"
#include "support/RecordingCompanion.h"
#include "support/StationListRig.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using Ints = std::vector<int>;

const std::string Alba = R"("Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0800","1200","Notes",0,0)";
const std::string Coast = R"("Coast Guard",14.230500,USB,2400,1,1000,-150,"Harbour","English","0000","2400","",0,1)";
const std::string Beacon = R"("Beacon",0.153000,CW,300,3,9000,50,"Hill","None","1200","1200","x",0,0)";
const std::string Extra = R"("Extra",9.575500,AM,6000,2,5000,0,"Plain","French","0000","0100","Notes",0,0)";

class FreqFileControllerTest : public StationListFixture {
 protected:
  void LoadThree() { Load({Alba, Coast, Beacon}, "Test.320"); }
  std::string Saved(const std::string& name) const { return ReadFileBytes(freqFile(name)); }
  void Click(int row) {
    stations.GridCursorMoved(row, row, row);
    stations.GridClick();
  }
  // The name of the list, its record count and the status line.
  std::string FileState() const {
    return state.LastFreqFile + "|" + std::to_string(state.FreqFileRecordCount) + "|" + panel[Ctl::StatusPanel].caption;
  }
};

// ---- SysFiles/OndarisGrid.dat and the header zones ------------------------------

TEST(GridWidthsTest, FileIsNineLittleEndianSignedIntegersAndReadsBack) {
  const GridColumnWidths widths{28, 77, 141, 63, 63, 92, 106, -1, 300};
  const std::string bytes = EncodeGridWidths(widths);
  ASSERT_EQ(bytes.size(), 36u);
  EXPECT_EQ(HexBytes(bytes.substr(0, 4)), "1C 00 00 00");
  EXPECT_EQ(HexBytes(bytes.substr(28, 8)), "FF FF FF FF 2C 01 00 00");
  EXPECT_EQ(DecodeGridWidths(bytes), widths);
  EXPECT_FALSE(DecodeGridWidths(bytes.substr(0, 35)).has_value());
  EXPECT_EQ(DecodeGridWidths(bytes + "tail"), widths);

  TempFolder dir(true);
  EXPECT_FALSE(ReadGridWidths(dir.dir()).has_value());
  WriteFileBytes(GridWidthsPath(dir.dir()), std::string(20, '\x10'));
  EXPECT_FALSE(ReadGridWidths(dir.dir()).has_value());
  WriteGridWidths(dir.dir(), widths);
  EXPECT_EQ(ReadFileBytes(GridWidthsPath(dir.dir())), bytes);
  EXPECT_EQ(ReadGridWidths(dir.dir()), widths);
  // Without the file: shares of the client width, truncated.
  EXPECT_EQ(DefaultGridWidths(709), (GridColumnWidths{28, 77, 141, 63, 63, 92, 106, 63, 63}));
  EXPECT_EQ(DefaultGridWidths(100), (GridColumnWidths{4, 11, 20, 9, 9, 13, 15, 9, 9}));
}

// Columns 30 and 80 wide: column 0 spans x 1..30, column 1 starts at 32.
TEST(GridWidthsTest, HeaderClicksOnlyCountInsideTheMargins) {
  const GridColumnWidths widths{30, 80, 50, 50, 50, 50, 50, 50, 50};
  EXPECT_EQ(GridColumnLeft(widths, 1), 32);
  EXPECT_EQ(GridColumnLeft(widths, 2), 113);
  const std::pair<int, int> zones[] = {{0, -1},  {6, -1},  {7, 0},    {25, 0},   {26, -1},  {31, -1},
                                       {37, -1}, {38, 1},  {106, 1},  {107, -1}, {119, 2},  {10000, -1}};
  for (const auto& [x, column] : zones) EXPECT_EQ(HeaderZoneColumn(widths, x), column) << "x = " << x;
}

// ---- Start-up ------------------------------------------------------------------

TEST_F(FreqFileControllerTest, StartupDisablesTheFileCommandsButNotAddAndPaste) {
  for (Ctl c : {Ctl::SaveFileItem, Ctl::SaveFileAsItem, Ctl::AppendFileItem, Ctl::EditEntryItem,
                Ctl::DeleteEntryItem, Ctl::CopyItem, Ctl::FileOpBtn1, Ctl::FileOpBtn3, Ctl::FileOpBtn5, Ctl::NowBtn})
    EXPECT_FALSE(panel[c].enabled) << ControlName(c);
  EXPECT_TRUE(panel[Ctl::AddEntryItem].enabled);
  EXPECT_TRUE(panel[Ctl::FileOpBtn2].enabled);
  EXPECT_FALSE(panel[Ctl::PasteItem].enabled);
  EXPECT_EQ(stations.grid.ColWidths, DefaultGridWidths(stations.grid.ClientWidth));
  // A full clipboard keeps Paste.
  stations.pasteStatus = [] { return PasteStatus{3, true}; };
  stations.DisableFileCommands();
  EXPECT_TRUE(panel[Ctl::PasteItem].enabled);
  EXPECT_EQ(panel[Ctl::PasteItem].caption, "&Paste Records (3)          (Ctrl+V)");
}

TEST_F(FreqFileControllerTest, StartupTakesTheWidthsOfOndarisGridDatAndExitWritesThem) {
  const GridColumnWidths widths{20, 90, 150, 60, 60, 90, 100, 60, 60};
  WriteGridWidths(dir, widths);
  int notified = 0;
  stations.gridColumnsChanged = [&] { ++notified; };
  stations.StartupGridSetUp();
  EXPECT_EQ(stations.grid.ColWidths, widths);
  EXPECT_EQ(notified, 1);
  stations.GridColumnResized(2, 222);
  stations.GridColumnResized(9, 5);  // no such column
  stations.SaveGridWidths();
  EXPECT_EQ(ReadGridWidths(dir)->at(2), 222);
}

TEST_F(FreqFileControllerTest, StartupLoadsTheLastFileReportingBadLines) {
  Load({Alba, "no quotes here", Coast, Beacon}, "Test.320");
  EXPECT_EQ(messages.messages(), Names{"Error reading record 2:  no quotes here"});
  EXPECT_EQ(FileState(), "Test.320|3|Test.320:  3 records");
  EXPECT_EQ(recentPaths, Names{freqFile("Test.320")});
  EXPECT_TRUE(panel[Ctl::Grid].enabled && panel[Ctl::SaveFileItem].enabled);
  EXPECT_EQ((Ints{stations.grid.RowCount, stations.grid.Row}), (Ints{4, 1}));
  EXPECT_EQ(RowNames(), (Names{"Radio Alba", "Coast Guard", "Beacon"}));
  EXPECT_GE(recordsChangedCalls, 1);
}

TEST_F(FreqFileControllerTest, AMissingLastFileIsForgottenAndNoNameDisablesTheGrid) {
  state.LastFreqFile = "Gone.320";
  state.FreqFileRecordCount = 12;
  files.LoadLastFrequencyFile();
  EXPECT_EQ(messages.messages(), Names{MissingLastFreqFileMessage});
  EXPECT_EQ(state.LastFreqFile + std::to_string(state.FreqFileRecordCount), "0");
  EXPECT_TRUE(recentPaths.empty());
  messages.clear();
  state.FreqFileRecordCount = 5;
  panel.setEnabled(Ctl::Grid, true);
  files.LoadLastFrequencyFile();
  EXPECT_EQ(state.FreqFileRecordCount, 0);
  EXPECT_FALSE(panel[Ctl::Grid].enabled);
  EXPECT_TRUE(messages.shown().empty());
}

// ---- Open, New, Append, Reopen ---------------------------------------------------

TEST_F(FreqFileControllerTest, OpenAsksAboutChangesThenLoadsTheChosenFile) {
  Load({Alba}, "Test.320");
  stations.list.Changed = true;
  stations.ShowSaveButtonLook();
  WriteFileBytes(dir + "Other.320", CrLfLines({Coast, Beacon}));
  messages.answerNext(false);
  dialogs.chooseNext(dir + "Other.320");
  files.LoadFileItemClick();
  EXPECT_EQ(messages.questions(), Names{SaveChangesQuestion});
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].kind, ScriptedFileDialogs::Kind::Open);
  EXPECT_EQ(dialogs.shown()[0].request.folder + "|" + dialogs.shown()[0].request.filter,
            freqFile("") + "|RX320 files (*.320)");
  // The folder is the program folder itself, stored relative to it.
  EXPECT_EQ(state.LastFreqFile + "|" + state.FreqFileDir, "Other.320|");
  EXPECT_EQ(recentPaths.back(), dir + "Other.320");
  EXPECT_EQ(RowNames(), (Names{"Coast Guard", "Beacon"}));
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Black);
  EXPECT_EQ(Saved("Test.320"), CrLfLines({Alba}));  // the old file was not written
  // Cancelled: nothing changes.
  dialogs.cancelNext();
  files.LoadFileItemClick();
  EXPECT_EQ(state.LastFreqFile, "Other.320");
  EXPECT_EQ(stations.list.RecordCount(), 2);
}

TEST_F(FreqFileControllerTest, TheFileCommandsAreRefusedDuringAFileScanAndEmptyFilesAreNotTaken) {
  LoadThree();
  ctx.scan.ScanState = 1;
  files.LoadFileItemClick();
  files.NewFileItemClick();
  files.AppendFileItemClick();
  files.SaveFileAsItemClick();
  files.ReopenFile(freqFile("Test.320"));
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_EQ(stations.list.RecordCount(), 3);

  ctx.scan.ScanState = 0;
  dialogs.chooseNext(WriteList("Nothing.320", {}));
  files.AppendFileItemClick();
  EXPECT_EQ(messages.lastMessage(), "Aborting:  Empty file - Nothing.320");
  EXPECT_EQ(state.LastFreqFile, "Test.320");
  EXPECT_FALSE(stations.list.Changed);
  dialogs.chooseNext(WriteList("Empty.320", {}));
  files.LoadFileItemClick();
  EXPECT_EQ(messages.lastMessage(), "Aborting:  Empty file - Empty.320");
  EXPECT_EQ(stations.list.RecordCount(), 0);
}

TEST_F(FreqFileControllerTest, NewAsksToSaveAndEmptiesEverything) {
  Load({Alba, Coast}, "Test.320");
  files.NewFileItemClick();  // unchanged: no question
  EXPECT_TRUE(messages.questions().empty());
  Load({Alba, Coast}, "Test.320");
  stations.list.Cell(0, FreqColumn::Name) = "Radio Alba 2";
  stations.list.Changed = true;
  messages.answerNext(true);
  files.NewFileItemClick();
  EXPECT_NE(Saved("Test.320").find("Radio Alba 2"), std::string::npos);
  EXPECT_EQ((Ints{stations.list.RecordCount(), stations.grid.RowCount}), (Ints{0, 7}));
  EXPECT_EQ(FileState(), "|0|");
  EXPECT_FALSE(panel[Ctl::Grid].enabled || panel[Ctl::SaveFileItem].enabled);
}

TEST_F(FreqFileControllerTest, AppendLeavesTheMergedListUnnamedAndChanged) {
  Load({Alba, Coast}, "Test.320");
  dialogs.chooseNext(WriteList("More.320", {Beacon, Extra}));
  files.AppendFileItemClick();
  EXPECT_EQ(FileState(), "|4|:  4 records");
  EXPECT_TRUE(stations.list.Changed && panel[Ctl::FileOpBtn1].bold);
  EXPECT_EQ(RowNames(), (Names{"Radio Alba", "Coast Guard", "Beacon", "Extra"}));
  // Save now asks for a name first.
  dialogs.chooseNext(freqFile("Merged.320"));
  files.SaveOrSaveAs();
  EXPECT_EQ(dialogs.count(ScriptedFileDialogs::Kind::Save), 1u);
  EXPECT_EQ(Saved("Merged.320"), CrLfLines({Alba, Coast, Beacon, Extra}));
  EXPECT_EQ(state.LastFreqFile + "|" + recentPaths.back(), "Merged.320|" + freqFile("Merged.320"));
}

TEST_F(FreqFileControllerTest, ReopenLoadsOrSaysTheFileIsGoneAndOpeningLeavesTheOnAirView) {
  Load({Alba}, "Test.320");
  for (const char* name : {"Two.320", "Gone.320"}) {
    if (name[0] == 'T') WriteList(name, {Coast, Beacon});
    files.ReopenFile(freqFile(name));
    EXPECT_EQ(state.LastFreqFile + "|" + recentPaths.back(), "Two.320|" + freqFile("Two.320"));
    EXPECT_EQ(stations.list.RecordCount(), 2);
  }
  EXPECT_EQ(messages.lastMessage(), ReopenMissingMessage);

  clock.setUtc({2026, 3, 7, 9, 0, 0});
  stations.ToggleOnAirView();
  dialogs.chooseNext(WriteList("Three.320", {Beacon, Extra}));
  files.LoadFileItemClick();
  EXPECT_FALSE(stations.list.OnAirView);
  EXPECT_EQ(panel[Ctl::NowBtn].colour, Colour::Black);
  EXPECT_EQ(RowNames(), (Names{"Beacon", "Extra"}));
}

// ---- Save, Save As and exit ------------------------------------------------------

TEST_F(FreqFileControllerTest, SaveWritesTheViewsOrderAndAnEmptyListSaysSo) {
  LoadThree();
  stations.SortByColumn(SortColumn::Name);
  stations.list.Changed = true;
  stations.ShowSaveButtonLook();
  files.SaveOrSaveAs();
  EXPECT_EQ(Saved("Test.320"), CrLfLines({Beacon, Coast, Alba}));
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_EQ(FileState(), "Test.320|3|Test.320 - Saved");
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Black);

  files.NewFileItemClick();
  stations.list.Changed = true;
  state.LastFreqFile = "Empty.320";
  EXPECT_FALSE(files.SaveFrequencyFile());
  EXPECT_EQ(messages.messages(), Names{EmptySaveMessage});
  EXPECT_FALSE(stations.list.Changed || fs::exists(freqFile("Empty.320")));
}

TEST_F(FreqFileControllerTest, SaveAsNamesTheListAndAsksBeforeOverwriting) {
  files.SaveFileAsItemClick();  // no records: no dialog
  EXPECT_TRUE(dialogs.shown().empty());
  Load({Alba, Coast}, "Test.320");
  dialogs.cancelNext();
  files.SaveFileAsItemClick();
  EXPECT_EQ(state.LastFreqFile, "Test.320");
  dialogs.chooseNext(freqFile("Copy.320"));
  files.SaveFileAsItemClick();
  EXPECT_EQ(dialogs.shown()[1].request.fileName + "|" + dialogs.shown()[1].request.defaultExtension, "Test.320|320");
  EXPECT_TRUE(messages.questions().empty());
  EXPECT_EQ(Saved("Copy.320"), CrLfLines({Alba, Coast}));
  EXPECT_EQ(state.LastFreqFile + "|" + recentPaths.back(), "Copy.320|" + freqFile("Copy.320"));

  dialogs.chooseNext(WriteList("Keep.320", {Beacon}));
  messages.answerNext(true);
  files.SaveFileAsItemClick();
  EXPECT_EQ(messages.questions(),
            Names{"There is a file named Keep.320 in the directory.  Do you want to overwrite it?"});
  EXPECT_EQ(Saved("Keep.320"), CrLfLines({Alba, Coast}));
  EXPECT_EQ(state.LastFreqFile, "Keep.320");
}

TEST_F(FreqFileControllerTest, DecliningTheOverwriteKeepsTheOldName) {
  Load({Alba, Coast}, "Test.320");
  stations.list.Cell(1, FreqColumn::Name) = "Coast Guard 2";
  stations.list.Changed = true;
  dialogs.chooseNext(WriteList("Keep.320", {Beacon}));
  messages.answerNext(false);
  files.SaveFileAsItemClick();
  EXPECT_EQ(state.LastFreqFile, "Test.320");
  EXPECT_TRUE(stations.list.Changed);
  EXPECT_EQ(recentPaths.size(), 1u);  // only the load entered a name
  // The next Save goes to the list's own file, not to the one kept.
  files.SaveOrSaveAs();
  EXPECT_NE(Saved("Test.320").find("Coast Guard 2"), std::string::npos);
  // An unnamed list stays unnamed.
  dialogs.chooseNext(WriteList("More.320", {Extra}));
  files.AppendFileItemClick();
  dialogs.chooseNext(freqFile("Keep.320"));
  messages.answerNext(false);
  EXPECT_FALSE(files.SaveFrequencyFile());
  EXPECT_EQ(state.LastFreqFile, "");
  EXPECT_EQ(Saved("Keep.320"), CrLfLines({Beacon}));
}

TEST_F(FreqFileControllerTest, CtrlKeysFollowTheirItemsAndWaitForARunningSort) {
  Load({Alba}, "Test.320");
  stations.list.Changed = true;
  stations.SortInProgress = true;
  EXPECT_TRUE(files.CtrlKeyUp('S') && files.CtrlKeyUp('A') && stations.list.Changed);
  stations.SortInProgress = false;
  EXPECT_TRUE(files.CtrlKeyUp('S') && !stations.list.Changed);
  EXPECT_FALSE(files.CtrlKeyUp('E'));

  // N and O only while their items are enabled.
  for (bool enabled : {false, true}) {
    panel.setEnabled(Ctl::NewFileItem, enabled);
    panel.setEnabled(Ctl::LoadFileItem, enabled);
    if (enabled) dialogs.cancelNext();
    files.CtrlKeyUp('O');
    files.CtrlKeyUp('N');
    EXPECT_EQ(dialogs.count(ScriptedFileDialogs::Kind::Open), enabled ? 1u : 0u);
    EXPECT_EQ(stations.list.RecordCount(), enabled ? 0 : 1);
  }
}

TEST_F(FreqFileControllerTest, ExitAsksOnlyForAChangedListWithRecords) {
  LoadThree();
  files.AskToSaveAtExit();
  EXPECT_TRUE(messages.questions().empty());
  stations.SortByColumn(SortColumn::StartTime);
  stations.list.Changed = true;
  messages.answerNext(true);
  files.AskToSaveAtExit();
  EXPECT_EQ(messages.questions(), Names{SaveChangesQuestion});
  EXPECT_EQ(Saved("Test.320"), CrLfLines({Coast, Alba, Beacon}));  // On Air order: 0000, 0800, 1200
}

// ---- Sorting from the header -----------------------------------------------------

TEST_F(FreqFileControllerTest, AHeaderClickSortsThatColumnOnlyInsideItsZoneAndEndsAFileScan) {
  LoadThree();
  stations.grid.ColWidths = {30, 80, 100, 50, 50, 50, 50, 50, 50};
  const int nameX = GridColumnLeft(stations.grid.ColWidths, 2) + 50;
  EXPECT_FALSE(stations.GridMouseDown(GridMouseButton::Left, nameX - 45, 5, 20));  // in the margin
  EXPECT_FALSE(stations.GridMouseDown(GridMouseButton::Left, nameX, 20, 20));      // below the header
  EXPECT_FALSE(stations.GridMouseDown(GridMouseButton::Right, nameX, 5, 20));
  EXPECT_EQ(RowNames(), (Names{"Radio Alba", "Coast Guard", "Beacon"}));
  // During a file scan a left press ends the scan instead.
  int ended = 0;
  stations.endFileScan = [&] { ++ended; };
  ctx.scan.ScanState = 1;
  for (GridMouseButton button : {GridMouseButton::Right, GridMouseButton::Left})
    EXPECT_FALSE(stations.GridMouseDown(button, nameX, 5, 20));
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(RowNames(), (Names{"Radio Alba", "Coast Guard", "Beacon"}));

  ctx.scan.ScanState = 0;
  stations.grid.TopRow = 2;
  EXPECT_TRUE(stations.GridMouseDown(GridMouseButton::Left, nameX, 5, 20));
  EXPECT_EQ(RowNames(), (Names{"Beacon", "Coast Guard", "Radio Alba"}));
  EXPECT_EQ(stations.grid.TopRow, 1);
  EXPECT_EQ(FileState(), "Test.320|3|Test.320 - 3 Lines");
  EXPECT_TRUE(stations.GridMouseDown(GridMouseButton::Left, GridColumnLeft(stations.grid.ColWidths, 1) + 40, 5, 20));
  EXPECT_EQ(RowNames(), (Names{"Beacon", "Radio Alba", "Coast Guard"}));
  EXPECT_TRUE(stations.FreqSorted && !stations.list.Changed);  // a sort alone changes no record
}

// ---- Tuning from the grid --------------------------------------------------------

struct TuneCase {
  int row;
  double freq;
  int mode, filterIndex, stepHz, stepIndex, agc, pbt;
  Ctl modeButton, agcButton;
};

class GridTuneTest : public StationListParamFixture<TuneCase> {};

TEST_P(GridTuneTest, AClickTunesToTheRowsStation) {
  const TuneCase& c = GetParam();
  Load({Alba, Coast, Beacon}, "Test.320");
  ASSERT_TRUE(flushLine());
  clearRecords();
  stations.GridCursorMoved(c.row, c.row, c.row);
  stations.GridClick();
  EXPECT_DOUBLE_EQ(state.Freq, c.freq);
  EXPECT_EQ((std::vector<int>{state.Mode, state.FilterIndex, state.StepHz, state.StepIndex, state.AGC, state.PBT}),
            (std::vector<int>{c.mode, c.filterIndex, c.stepHz, c.stepIndex, c.agc, c.pbt}));
  EXPECT_TRUE(panel[c.modeButton].pressed);
  EXPECT_TRUE(panel[c.agcButton].pressed);
  EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, std::to_string(c.pbt));
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Test.320:  Line " + std::to_string(c.row));
  EXPECT_DOUBLE_EQ(state.LastFreqRecord.freq, 15000.0);
  RadioState expected;
  expected.Freq = c.freq;
  expected.Mode = static_cast<std::uint8_t>(c.mode);
  expected.SelectFilterRow(c.filterIndex);
  expected.AGC = c.agc;
  expected.PBT = c.pbt;
  expected.StepHz = c.stepHz;
  expected.ComputeCalibration();
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(sentBytes(), expected.TuningBytes());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GridTuneTest,
    ::testing::Values(TuneCase{1, 9580.0, 0, 1, 5000, 7, 2, 0, Ctl::ModeBtnAM, Ctl::AGCMedBtn},
                      TuneCase{2, 14230.5, 1, 14, 1000, 5, 1, -150, Ctl::ModeBtnUSB, Ctl::AGCSlowBtn},
                      // the 9 kHz step is kept although the table's last row is 10 kHz
                      TuneCase{3, 153.0, 3, 23, 9000, 8, 3, 50, Ctl::ModeBtnCW, Ctl::AGCFastBtn}));

TEST_F(FreqFileControllerTest, OneTunePerClockTickAndNoneForTheClickAfterAKeyOrDuringTuning) {
  LoadThree();
  Click(1);
  EXPECT_DOUBLE_EQ(state.Freq, 9580.0);
  Click(2);
  EXPECT_DOUBLE_EQ(state.Freq, 9580.0);
  stations.ClockTick();
  EXPECT_FALSE(stations.GridKeyDown(0x01000015));  // an arrow key: remembered, not used
  stations.GridClick();
  EXPECT_DOUBLE_EQ(state.Freq, 9580.0);
  EXPECT_EQ(stations.LastGridKey, 0);
  stations.GridClick();
  EXPECT_DOUBLE_EQ(state.Freq, 14230.5);
  // A click during continuous tuning only ends it.
  stations.ClockTick();
  tuning.FreqUpBtnFastClick();
  ASSERT_TRUE(tuning.flags.TuningActive);
  Click(1);
  EXPECT_FALSE(tuning.flags.TuningActive);
  EXPECT_NE(state.Freq, 9580.0);
}

TEST_F(FreqFileControllerTest, KFMoveUpMVMoveDownAndTuneButNotWhileAScanRuns) {
  const struct {
    int startRow;
    int key;
    int row;
  } cases[] = {{2, 'K', 1}, {3, 'M', 3}, {2, 'F', 1}, {2, 'V', 3}, {1, 'K', 1}, {1, 'v', 2}};
  const double freqs[] = {0, 9580.0, 14230.5, 153.0};
  LoadThree();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(1, static_cast<char>(c.key)) + " from row " + std::to_string(c.startRow));
    stations.ClockTick();
    state.Freq = 15000.0;
    stations.GridCursorMoved(c.startRow, c.startRow, c.startRow);
    EXPECT_TRUE(stations.GridKeyDown(c.key));
    EXPECT_EQ((Ints{stations.grid.Row, stations.grid.SelectionTop}), (Ints{c.row, c.row}));
    EXPECT_DOUBLE_EQ(state.Freq, freqs[c.row]);
    EXPECT_EQ(stations.LastGridKey, 0);
  }
  stations.ClockTick();
  state.Freq = 15000.0;
  ctx.scan.ScanState = 2;
  stations.GridKeyDown('K');
  EXPECT_EQ(stations.grid.Row, 1);
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
}

TEST_F(FreqFileControllerTest, ClicksDoNotTuneDuringOtherScansOrWWVOrOnLockedRowsInAFileScan) {
  const struct {
    int scanState;
    int wwvMode;
    int row;  // row 2 is locked out
  } cases[] = {{2, 0, 1}, {3, 0, 1}, {4, 0, 1}, {0, 10, 1}, {1, 0, 2}};
  LoadThree();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.scanState) + "/" + std::to_string(c.wwvMode));
    stations.ClockTick();
    state.Freq = 15000.0;
    ctx.scan.ScanState = c.scanState;
    tuning.flags.WWVMode = c.wwvMode;
    Click(c.row);
    EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
    // Once nothing stands in the way, the same click tunes.
    ctx.scan.ScanState = 0;
    tuning.flags.WWVMode = 0;
    stations.GridClick();
    EXPECT_NE(state.Freq, 15000.0);
  }
}

TEST_F(FreqFileControllerTest, EnterTunesTheCurrentRowOfALoadedList) {
  tuning.enterWithoutKeypad = [this] { stations.TuneSelectedRow(); };
  tuning.KeyPress('\r');
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  LoadThree();
  stations.GridCursorMoved(3, 3, 3);
  tuning.KeyPress('\r');
  EXPECT_DOUBLE_EQ(state.Freq, 153.0);
}

// ---- What the window shows -------------------------------------------------------

TEST_F(FreqFileControllerTest, CellsShowTheNineColumnsAndRowsOnTheAirFollowTheClock) {
  LoadThree();
  const Names row2 = {"L", "14230.5", "Coast Guard", "0000", "2400", "English", "Harbour", "USB", "2400"};
  Names cells;
  for (int c = 0; c < GridColumnCount; ++c) cells.push_back(stations.CellText(2, c));
  EXPECT_EQ(cells, row2);
  EXPECT_EQ(stations.CellText(1, 0) + stations.CellText(4, 1) + stations.CellText(1, GridColumnCount), "");
  clock.setUtc({2026, 3, 7, 9, 15, 0});
  // 0800-1200, 0000-2400, and 1200-1200 never.
  EXPECT_EQ((std::vector<bool>{stations.RowIsOnAir(1), stations.RowIsOnAir(2), stations.RowIsOnAir(3)}),
            (std::vector<bool>{true, true, false}));
  clock.setUtc({2026, 3, 7, 12, 0, 0});
  EXPECT_FALSE(stations.RowIsOnAir(1));
}

TEST_F(FreqFileControllerTest, RefreshDrawsTheSaveButtonAndCountsRows) {
  LoadThree();
  int contents = 0, focus = 0;
  stations.gridContentsChanged = [&] { ++contents; };
  stations.focusGrid = [&] { ++focus; };
  stations.list.Changed = true;
  stations.RefreshFrequencyGrid();
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Maroon);
  EXPECT_EQ((Ints{stations.grid.RowCount, contents, focus}), (Ints{4, 1, 1}));
  stations.GridTopLeftChanged(2);
  EXPECT_EQ((Ints{stations.grid.TopRow, contents}), (Ints{2, 2}));
}

// ---- The companion's words -------------------------------------------------------

class CompanionListTest : public FreqFileControllerTest {
 protected:
  CompanionListTest() {
    dispatcher.locateInFrequencyList = [this](double freq) { stations.LocateFrequency(freq); };
    dispatcher.appendFrequencyEntry = [this](const RemoteEntry& entry) { stations.AppendRemoteEntry(entry); };
    dispatcher.sortFrequencyListByFrequency = [this] { stations.SortByFreq(); };
    dispatcher.ExecuteRemoteCommand("?");
    companion.sent.clear();
  }
  RecordingCompanion companion;
  CommandDispatcher dispatcher{ctx, receiver, controls, tuning, meter, companion};
};

TEST_F(CompanionListTest, APlusWordSelectsTheFirstRowWithinFourAndAHalfKilohertz) {
  Load({Alba, Coast, Beacon, Extra}, "Test.320");
  dispatcher.ExecuteRemoteCommand("+9581");  // not listed: nothing moves
  EXPECT_DOUBLE_EQ(state.Freq, 9581.0);
  EXPECT_FALSE(stations.FreqSorted);
  EXPECT_EQ(stations.grid.Row, 1);

  clock.setUtc({2026, 3, 7, 9, 0, 0});
  stations.ToggleOnAirView();
  stations.grid.VisibleRows = 2;
  dispatcher.ExecuteRemoteCommand("+9580");
  EXPECT_TRUE(!stations.list.OnAirView && stations.FreqSorted);
  EXPECT_EQ(RowNames(), (Names{"Beacon", "Extra", "Radio Alba", "Coast Guard"}));
  EXPECT_EQ((Ints{stations.grid.Row, stations.grid.TopRow}), (Ints{2, 2}));  // 9575.5, the first within 4.5 kHz
  EXPECT_FALSE(stations.RemoteLookupActive);
}

TEST_F(CompanionListTest, AStarWordAppendsSortsAndLocatesTheEntry) {
  LoadThree();
  stations.SortByColumn(SortColumn::Name);
  dispatcher.ExecuteRemoteCommand("*7205*Station*Place*English*0000*2400*");
  EXPECT_EQ(companion.sent.front(), "OK");
  ASSERT_EQ(stations.list.RecordCount(), 4);
  // The present tuning: AM, 6 kHz, the 5 kHz step the hello word set.
  EXPECT_EQ(FormatFrequencyLine(stations.list.Record(3), '.'),
            R"("Station",7.205000,AM,6000,2,5000,0,"Place","English","0000","2400","Notes",0,0)");
  EXPECT_TRUE(stations.list.Changed);
  EXPECT_EQ(RowNames(), (Names{"Beacon", "Station", "Radio Alba", "Coast Guard"}));
  EXPECT_EQ(stations.grid.Row, 2);
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Maroon);
}

TEST_F(CompanionListTest, AStarWordWithoutAListStartsAnUnnamedOne) {
  files.LoadLastFrequencyFile();
  dispatcher.ExecuteRemoteCommand("*9575*Station*Place*English*0000*2400*");
  EXPECT_EQ(stations.list.RecordCount(), 1);
  EXPECT_TRUE(panel[Ctl::SaveFileItem].enabled && panel[Ctl::Grid].enabled);
}

}  // namespace
}  // namespace ondaris
