// The "Band Scan Setup" dialog through the fake panel: opening (missing, empty and damaged lists),
// the grid and its sorts, the edit fields, Add, Replace, Delete, Save, Cancel and OK.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "radio/Rx320Protocol.h"
#include "scan/BandScanDialog.h"
#include "scan/BandScanList.h"
#include "support/PanelFixture.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

const std::string Band49 = "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0";
const std::string Band31 = "\"31 m band\",9400,9900,\"AM\",6000,2,5000,0,4,\"Europe\",0,0";
const std::string Ham40 = "\"Ham 40\",7000,7200,\"LSB\",2550,3,100,-50,2,\"nets\",0,0";

std::string Band(const std::string& name, const std::string& low, const std::string& high,
                 const std::string& mode = "AM", char speed = '3', const std::string& comments = "",
                 const std::string& step = "5000", const std::string& filter = "8000", char agc = '1') {
  return "\"" + name + "\"," + low + "," + high + ",\"" + mode + "\"," + filter + "," + agc + "," + step + ",0," +
         speed + ",\"" + comments + "\",0,0";
}

class BandScanDialogTest : public PanelFixture {
 protected:
  BandScanDialogTest() {
    dialog.show = [this](BandScanDialog& d) {
      ++showCalls;
      EXPECT_TRUE(d.isOpen());
    };
    dialog.resetScanSelection = [this] { ++resetCalls; };
  }

  void WriteList(const Strings& lines) { WriteFileBytes(listPath, JoinBandScanLines(lines)); }
  void Open(const Strings& lines) {
    WriteList(lines);
    dialog.BandScanBtnClick();
  }
  // The six cells of a grid row.
  Strings Row(int row) const {
    Strings cells;
    for (int column = 0; column < 6; ++column) cells.push_back(dialog.CellText(row, column));
    return cells;
  }
  void TypeBand(const std::string& name, const std::string& low, const std::string& high) {
    dialog.bsNameEdit = name;
    dialog.bsLoFreqEdit = low;
    dialog.bsHiFreqEdit = high;
  }
  // The selected grid row, the record the edits show and its name.
  std::string Selection() const {
    return std::to_string(dialog.SelectedRow()) + " " + std::to_string(dialog.BandScanSelected()) + " " +
           dialog.bsNameEdit;
  }
  // The edit fields and combo texts as the window shows them.
  Strings Edits() const {
    return {dialog.bsNameEdit,       dialog.bsLoFreqEdit,     dialog.bsHiFreqEdit,    dialog.bsPBTEdit,
            dialog.bsCommentEdit,    dialog.bsModeCombo.text, dialog.bsAGCCombo.text, dialog.bsFiltCombo.text,
            dialog.bsStepCombo.text, dialog.bsSpeedCombo.text};
  }

  TempFolder folder{true};
  const std::string listPath = folder.sysFile("BandScan.dat");
  const std::string colsPath = folder.sysFile("BandScanCols.dat");
  ScanSettings settings;
  BandScanDialog dialog{ctx, controls, tuning, settings, folder.dir()};
  int showCalls = 0;
  int resetCalls = 0;
};

// ---- Opening -------------------------------------------------------------------

TEST_F(BandScanDialogTest, OpeningFillsTheGridChoosesBandScanAndShowsTheFirstRecord) {
  ctx.scan.ScanKind = 3;
  ctx.scan.ScanDirection = 1;
  settings.MemScanStarted = true;
  panel.press(Ctl::ScanBtn);
  panel.setEnabled(Ctl::NowBtn, false);
  Open({Band49, Band31, Ham40});
  EXPECT_FALSE(dialog.isOpen());
  EXPECT_EQ(Row(1), (Strings{"49 m band", "5900", "6200", "AM", ".2S", "evening"}));
  EXPECT_EQ(Row(3), (Strings{"Ham 40", "7000", "7200", "LSB", ".1S", "nets"}));
  EXPECT_EQ(Selection(), "1 1 49 m band");
  EXPECT_EQ(Edits(), (Strings{"49 m band", "5900", "6200", "0", "evening", "AM", "Fast", "8000", "5000", ".2S"}));
  // Band scan is chosen with its own speed table; the Scan button is up and Now enabled.
  EXPECT_EQ((std::vector<int>{ctx.scan.ScanKind, ctx.scan.ScanDirection, settings.MemScanStarted,
                              settings.ScanSpeedIndex, settings.ScanInterval, panel[Ctl::ScanSpd2Btn].pressed,
                              panel[Ctl::BandScanBtn].pressed, panel[Ctl::ScanBtn].pressed,
                              panel[Ctl::NowBtn].enabled}),
            (std::vector<int>{4, 0, false, 3, 200, true, true, false, true}));
  EXPECT_EQ(settings.SpeedIntervals, (std::array<int, 6>{10, 50, 200, 500, 1000, 3000}));
  // The engine chooses band scan itself when it is attached.
  dialog.chooseBandScan = [&] { ctx.scan.ScanKind = 5; };
  settings.ScanSpeedIndex = 0;
  dialog.BandScanBtnClick();
  EXPECT_EQ((std::vector<int>{ctx.scan.ScanKind, settings.ScanSpeedIndex}), (std::vector<int>{5, 0}));
}

TEST_F(BandScanDialogTest, FrequenciesAndSpeedCaptionsShowTheLocaleSeparatorAndAddStoresAPoint) {
  ctx.decimalSeparator = ',';
  Open({Band("Half", "5900.5", "6200.25")});
  EXPECT_EQ(dialog.CellText(1, 2), "6200,25");
  EXPECT_EQ(dialog.LimitPanel, "Half:  5900,5 to 6200,25 kHz AM");
  EXPECT_EQ(panel[Ctl::ScanSpd0Btn].caption + "|" + panel[Ctl::ScanSpd1Btn].caption, "33 mS|0,1S");
  TypeBand("Quarter", "5900,25", "6200");
  dialog.BandScanAddBtnClick();
  ASSERT_EQ(dialog.RecordCount(), 2);
  EXPECT_EQ(dialog.records()[1].Low, "5900.25");
}

TEST_F(BandScanDialogTest, AnEmptyOrMissingFileIsAnnouncedAndTheFirstSaveCreatesItButAnUnreadableOneOpensNothing) {
  WriteFileBytes(listPath, "");
  dialog.BandScanBtnClick();
  fs::remove(listPath);
  dialog.BandScanBtnClick();
  EXPECT_EQ(messages.messages(), (Strings{"The SysFiles\\BandScan.dat is empty.",
                                          "Could not find SysFiles\\BandScan.datin the working directory."}));
  EXPECT_EQ(showCalls, 2);
  EXPECT_EQ(dialog.GridRowCount(), 8);
  dialog.SortByColumn(0);  // nothing to sort
  EXPECT_FALSE(dialog.BandScanChanged());
  TypeBand("Edge", "10", "10");  // equal limits at the edges of the range
  dialog.BandScanAddBtnClick();
  TypeBand("Top", "30000", "30000");
  dialog.BandScanAddBtnClick();
  dialog.BandScanSaveBtnClick();
  EXPECT_EQ(SplitBandScanLines(ReadFileBytes(listPath)).size(), 2u);
  // Unreadable: reported, nothing opens, band scan is not chosen.
  fs::remove(listPath);
  fs::create_directory(listPath);
  ctx.scan.ScanKind = 0;
  dialog.BandScanBtnClick();
  EXPECT_EQ((std::vector<int>{showCalls, ctx.scan.ScanKind, panel[Ctl::BandScanBtn].pressed}),
            (std::vector<int>{2, 0, false}));
  ASSERT_EQ(reportedErrors.size(), 1u);
  EXPECT_NE(reportedErrors[0].find("BandScan.dat"), std::string::npos);
}

TEST_F(BandScanDialogTest, BadLinesAreReportedDroppedAndKeptInTheFileUntilASaveWhichMayFail) {
  const std::string noQuote = "\"Broken,5900,6200,\"AM\",8000,1,5000,0,3,\"x\",0,0";
  WriteList({Band31, noQuote, Band49, "", Ham40});
  const std::string before = ReadFileBytes(listPath);
  dialog.BandScanBtnClick();
  EXPECT_EQ(messages.messages(), (Strings{"Error reading SysFiles\\BandScan.dat record 2:  " + noQuote,
                                          "Error reading SysFiles\\BandScan.dat record 4:  "}));
  EXPECT_EQ(dialog.lines(), (Strings{Band31, Band49, Ham40}));
  EXPECT_FALSE(dialog.BandScanChanged());
  EXPECT_EQ(ReadFileBytes(listPath), before);
  dialog.SortByColumn(1);
  dialog.BandScanSaveBtnClick();
  EXPECT_FALSE(dialog.BandScanChanged());
  EXPECT_EQ(ReadFileBytes(listPath), JoinBandScanLines({Band49, Ham40, Band31}));
  // A save that fails says so and keeps the change.
  dialog.SortByColumn(0);
  fs::remove(listPath);
  fs::create_directory(listPath);
  messages.clear();
  dialog.BandScanSaveBtnClick();
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].rfind("Could not save SysFiles\\BandScan.dat.\n", 0), 0u);
  EXPECT_TRUE(dialog.BandScanChanged());
}

TEST_F(BandScanDialogTest, TheGridGrowsWithTheList) {
  Strings lines;
  for (int i = 0; i < 12; ++i) lines.push_back(Band("B" + std::to_string(i), std::to_string(1000 + i), "2000"));
  Open(lines);
  EXPECT_EQ(dialog.GridRowCount(), 13);
  EXPECT_EQ(dialog.CellText(12, 0), "B11");
}

TEST_F(BandScanDialogTest, SelectingARowShowsItsRecord) {
  Open({Band49, Band31, Ham40});
  dialog.BandScanGridClick(3);
  EXPECT_EQ(Edits(), (Strings{"Ham 40", "7000", "7200", "-50", "nets", "LSB", "Slow", "2550", "100", ".1S"}));
  EXPECT_EQ(dialog.bsFiltCombo.index, 13);
  // An empty row is selected, but the edits keep the last record, and
  // Replace and Delete have nothing to act on; a row past the grid is ignored.
  for (int row : {5, 8}) dialog.BandScanGridClick(row);
  EXPECT_EQ(Selection(), "5 3 Ham 40");
  dialog.BandScanEditBtnClick();
  dialog.BandScanDeleteBtnClick();
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(dialog.RecordCount(), 3);
}

TEST_F(BandScanDialogTest, TheStepComboShowsStepsOutsideItsFirstEightAsText) {
  Open({Band("Ten", "100", "200", "AM", '3', "", "10000"), Band("Nine", "100", "200", "AM", '3', "", "9000"),
        Band("Odd", "100", "200", "XX", '9', "", "2500", "1234", '7')});
  EXPECT_EQ(dialog.bsStepCombo.text, "10000");
  EXPECT_EQ(dialog.bsStepCombo.index, 8);
  dialog.BandScanGridClick(2);
  EXPECT_EQ(dialog.bsStepCombo.index, -1);
  dialog.BandScanGridClick(3);
  EXPECT_EQ(dialog.bsStepCombo.text, "2500");
  EXPECT_EQ((std::vector<int>{dialog.bsModeCombo.index, dialog.bsFiltCombo.index, dialog.bsAGCCombo.index,
                              dialog.bsSpeedCombo.index}),
            (std::vector<int>(4, -1)));
  EXPECT_EQ(dialog.CellText(3, 4), "");
  // With the 9 kHz option the combo ends with 9000.
  state.NineKHzSteps = 1;
  dialog.BandScanBtnClick();
  dialog.BandScanGridClick(2);
  EXPECT_EQ(dialog.bsStepCombo.items.back(), "9000");
  EXPECT_EQ(dialog.bsStepCombo.index, 8);
}

TEST_F(BandScanDialogTest, ClearTakesTheReceiversSettings) {
  Open({Band49});
  state.Mode = 3;
  state.AGC = 3;
  state.SelectFilterRow(23);
  state.StepIndex = 5;
  state.PBT = 150;
  settings.ScanSpeedIndex = 5;
  dialog.BandScanClearBtnClick();
  EXPECT_EQ(Edits(), (Strings{"", "", "", "150", "", "CW", "Fast", "300", "1000", "1S"}));
  EXPECT_EQ(dialog.LimitPanel, "");
  const std::pair<int, const char*> agcs[] = {{1, "Slow"}, {2, "Medium"}, {0, ""}};
  for (const auto& [agc, text] : agcs) {
    state.AGC = agc;
    dialog.BandScanClearBtnClick();
    EXPECT_EQ(dialog.bsAGCCombo.text, text) << agc;
  }
}

// ---- Sorting -------------------------------------------------------------------

TEST(BandScanHeaderTest, OnlyTheMiddleOfAColumnSorts) {
  // Default widths 140, 64, 64, 40, 42, 313: edges at 0, 140, 204, 268, 308, 350, 663.
  const std::pair<int, int> cases[] = {{2, -1},   {3, 0},  {135, 0},  {136, -1}, {142, -1}, {143, 1},   {207, 2},
                                       {271, 3},  {311, 4}, {658, 5},  {659, -1}, {-10, -1}};
  for (const auto& [x, column] : cases)
    EXPECT_EQ(BandScanDialog::HeaderColumnAt(x, DefaultBandScanColumnWidths), column) << "x = " << x;
}

TEST_F(BandScanDialogTest, SortingByNameIsOrdinalWithEqualNamesByLow) {
  const std::string apple = Band("apple", "3000", "3100"), zulu = Band("Zulu", "2000", "2100");
  const std::string same7 = Band("Same", "7000", "7100"), same6 = Band("Same", "600", "700");
  const std::string mike = Band("Mike", "1000", "1100");
  Open({apple, zulu, same7, same6, mike});
  dialog.BandScanGridClick(4);
  dialog.SortByColumn(0);
  EXPECT_EQ(dialog.lines(), (Strings{mike, same6, same7, zulu, apple}));
  EXPECT_TRUE(dialog.BandScanChanged());
  EXPECT_EQ(Selection(), "1 1 Mike");
}

TEST_F(BandScanDialogTest, OtherColumnsSortAsNumbersOrFoldedTextThenByLow) {
  const std::string usb = Band("u", "5000", "29000", "USB", '6', "bravo");
  const std::string am2 = Band("a2", "4000", "6000", "AM", '1', "Charlie");
  const std::string cw = Band("c", "3000", "6100", "CW", '5', "alpha");
  const std::string am1 = Band("a1", "12000", "16000", "AM", '2', "Alpha");
  Open({usb, am2, cw, am1});
  // Each sort starts from an order it changes. Comments are folded: "Alpha" and "alpha" tie and go by Low,
  // "bravo" comes before "Charlie".
  const std::pair<int, Strings> sorts[] = {{1, {cw, am2, usb, am1}}, {3, {am2, am1, cw, usb}},
                                           {2, {am2, cw, am1, usb}}, {4, {am2, am1, cw, usb}},
                                           {5, {cw, am1, usb, am2}}};
  for (const auto& [column, order] : sorts) {
    dialog.SortByColumn(column);
    EXPECT_EQ(dialog.lines(), order) << "column " << column;
  }
}

TEST_F(BandScanDialogTest, AHeaderPressSortsOnlyInsideAColumnsBandAndASortedListIsNoChange) {
  const std::string a = Band("z", "100", "200"), b = Band("a", "300", "150");
  Open({a, b});
  dialog.BandScanGridMouseDown(137);  // between Name and Low Freq
  dialog.BandScanGridMouseDown(150);  // Low Freq: already in order
  EXPECT_EQ(dialog.lines(), (Strings{a, b}));
  EXPECT_FALSE(dialog.BandScanChanged());
  dialog.BandScanGridMouseDown(220);  // High Freq
  EXPECT_EQ(dialog.lines(), (Strings{b, a}));
  EXPECT_TRUE(dialog.BandScanChanged());
  dialog.columnWidths = {50, 64, 64, 40, 42, 313};  // widths the listener changed move the bands
  dialog.BandScanGridMouseDown(60);                // now Low Freq
  EXPECT_EQ(dialog.lines(), (Strings{a, b}));
}

// ---- Add -------------------------------------------------------------------------

TEST_F(BandScanDialogTest, RefusedAddsLeaveTheListAsItWas) {
  const std::string noFreq = "You must enter values for both the low and high frequencies.";
  const std::string bad = "The frequencies are configured incorrectly.";
  const Strings cases[] = {{"", "6200", noFreq},     {"5900", "", noFreq},  {"9.9", "6200", bad},
                           {"5900", "30000.5", bad}, {"6300", "6200", bad}, {"5", "8", bad},
                           {"5900", "6200", "Error converting data to band scan string."}};
  Open({Band49});
  for (const Strings& c : cases) {
    SCOPED_TRACE(c[0] + " to " + c[1]);
    messages.clear();
    TypeBand("New", c[0], c[1]);
    if (c[2] == cases[6][2]) dialog.bsStepCombo.SetText("5,000");  // a line that would not read back
    dialog.BandScanAddBtnClick();
    EXPECT_EQ(messages.messages(), Strings{c[2]});
    EXPECT_EQ(dialog.lines(), Strings{Band49});
    EXPECT_FALSE(dialog.BandScanChanged());
  }
  // A frequency that is no number goes to the error handler.
  messages.clear();
  TypeBand("New", "59x0", "6200");
  dialog.BandScanAddBtnClick();
  EXPECT_EQ(reportedErrors.size(), 1u);
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(dialog.RecordCount(), 1);
}

TEST_F(BandScanDialogTest, AddAppendsTheBuiltLineAndSelectsIt) {
  Open({Band49, Band31});
  dialog.BandScanClearBtnClick();
  TypeBand("Ham 20", "14000", "14350");
  dialog.bsModeCombo.Select(1);
  dialog.bsAGCCombo.Select(2);
  dialog.bsFiltCombo.Select(13);
  dialog.bsStepCombo.Select(3);
  dialog.bsPBTEdit = "100";
  dialog.bsSpeedCombo.Select(0);
  dialog.bsCommentEdit = "DX";
  dialog.BandScanAddBtnClick();
  EXPECT_EQ(messages.messages(), Strings{"The data has been added to the end of the file."});
  EXPECT_EQ(dialog.lines().back(), "\"Ham 20\",14000,14350,\"USB\",2550,3,100,100,1,\"DX\",0,0");
  EXPECT_EQ(dialog.BandScanSelected(), 3);
  EXPECT_EQ(dialog.LimitPanel, "Ham 20:  14000 to 14350 kHz USB");
  EXPECT_TRUE(dialog.BandScanChanged());
  EXPECT_EQ(ReadFileBytes(listPath), JoinBandScanLines({Band49, Band31}));  // nothing written before Save
}

TEST_F(BandScanDialogTest, TheGridShowsAnAddedRecordAsStoredWithSingleQuotesAndCutTexts) {
  Open({Band49});
  TypeBand("The \"big\" one", "5900", "6200");
  dialog.bsCommentEdit = "a \"b\"";
  dialog.BandScanAddBtnClick();
  TypeBand(std::string(25, 'N'), "100", "200");
  dialog.bsCommentEdit = std::string(80, 'c');
  dialog.BandScanAddBtnClick();
  EXPECT_EQ(Row(2), (Strings{"The 'big' one", "5900", "6200", "AM", ".2S", "a 'b'"}));
  EXPECT_EQ(Row(3), (Strings{std::string(20, 'N'), "100", "200", "AM", ".2S", std::string(64, 'c')}));
}

// ---- Replace and Delete ----------------------------------------------------------

TEST_F(BandScanDialogTest, ReplaceAsksChecksAndWritesTheSelectedLine) {
  Open({Band49, Band31, Ham40});
  dialog.BandScanGridClick(2);
  TypeBand("25 m band", "11600", "12100");
  messages.answerNext(false);
  dialog.BandScanEditBtnClick();
  EXPECT_EQ(messages.questions(), Strings{"Do you want to replace the selected record with this data?"});
  EXPECT_EQ(dialog.bsLoFreqEdit, "9400");  // No shows the record again

  const Strings refusals[] = {{"", "You must enter values for both the low and high frequencies."},
                              {"9950", "The frequencies are configured incorrectly."},
                              {"9x50", ""},
                              {"9400", "Error converting data to band scan string."}};
  for (const Strings& r : refusals) {
    SCOPED_TRACE(r[0]);
    messages.clear();
    dialog.bsLoFreqEdit = r[0];
    dialog.bsStepCombo.SetText(r[0] == "9400" ? "5,000" : "5000");
    messages.answerNext(true);
    dialog.BandScanEditBtnClick();
    EXPECT_EQ(messages.messages(), r[1].empty() ? Strings{} : Strings{r[1]});
    EXPECT_EQ(dialog.bsLoFreqEdit, r[0].empty() ? "9400" : r[0]);  // an empty field is shown again
    EXPECT_EQ(dialog.lines(), (Strings{Band49, Band31, Ham40}));
    EXPECT_FALSE(dialog.BandScanChanged());
  }
  EXPECT_EQ(reportedErrors.size(), 1u);

  TypeBand("25 m band", "11600", "12100");
  dialog.bsStepCombo.SetText("5000");
  messages.answerNext(true);
  dialog.BandScanEditBtnClick();
  EXPECT_EQ(dialog.lines(),
            (Strings{Band49, "\"25 m band\",11600,12100,\"AM\",6000,2,5000,0,4,\"Europe\",0,0", Ham40}));
  EXPECT_TRUE(dialog.BandScanChanged());
  EXPECT_EQ(dialog.LimitPanel, "25 m band:  11600 to 12100 kHz AM");
}

TEST_F(BandScanDialogTest, DeleteMovesTheFollowingRecordsUpAndTheOnlyRecordIsNoChangeToSave) {
  Open({Band49, Band31, Ham40});
  dialog.BandScanGridClick(2);
  messages.answerNext({false, true});
  dialog.BandScanDeleteBtnClick();
  EXPECT_EQ(dialog.RecordCount(), 3);
  dialog.BandScanDeleteBtnClick();
  EXPECT_EQ(messages.questions(), (Strings(2, "Are you sure you want to delete this entry?")));
  EXPECT_EQ(dialog.lines(), (Strings{Band49, Ham40}));
  EXPECT_EQ(dialog.CellText(3, 0), "");
  EXPECT_TRUE(dialog.BandScanChanged());
  EXPECT_EQ(Selection(), "2 2 Ham 40");
  // Deleting the last row moves the selection to the new last record.
  messages.answerNext({true, true});
  dialog.BandScanDeleteBtnClick();
  EXPECT_EQ(Selection(), "1 1 49 m band");
  dialog.BandScanDeleteBtnClick();
  EXPECT_EQ(dialog.RecordCount(), 0);
  EXPECT_FALSE(dialog.BandScanChanged());
  EXPECT_TRUE(dialog.CanBtnClick());  // no question about saving
  EXPECT_EQ(messages.questions().size(), 4u);
  EXPECT_EQ(ReadFileBytes(listPath), JoinBandScanLines({Band49, Band31, Ham40}));
}

// ---- Save, Cancel ----------------------------------------------------------------

TEST_F(BandScanDialogTest, CancelAndOKAskToSaveAChangedListAndCancelForgetsTheChoice) {
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    const auto close = [&] { return ok ? dialog.ScanBtnClick() : dialog.CanBtnClick(); };
    Open({Band31, Band49});
    dialog.SortByColumn(1);
    dialog.bsLoFreqEdit = "6000";  // typed, not replaced
    messages.answerNext(false);
    EXPECT_TRUE(close());
    EXPECT_EQ(ReadFileBytes(listPath), JoinBandScanLines({Band31, Band49}));
    EXPECT_EQ(settings.LimitLow, ok ? 5900.0 : 0.0);  // OK with No shows the record again: its own limits
    dialog.BandScanBtnClick();  // No lost the change
    EXPECT_EQ(dialog.lines(), (Strings{Band31, Band49}));

    dialog.SortByColumn(1);
    dialog.columnWidths = {150, 70, 71, 41, 43, 300};
    messages.answerNext(true);
    EXPECT_TRUE(close());
    EXPECT_EQ(messages.questions().back(), "Your Band Scan file has been changed.  Do you want to save it?");
    EXPECT_EQ(ReadFileBytes(listPath), JoinBandScanLines({Band49, Band31}));
    EXPECT_EQ(ReadFileBytes(colsPath), EncodeBandScanColumns({150, 70, 71, 41, 43, 300}));
    EXPECT_EQ(panel[Ctl::BandScanBtn].pressed, ok);
    EXPECT_EQ(resetCalls, 2);
  }
}

TEST_F(BandScanDialogTest, ColumnWidthsComeFromTheFileWhenItExists) {
  WriteFileBytes(colsPath, EncodeBandScanColumns({100, 60, 60, 30, 30, 200}));
  Open({Band49});
  EXPECT_EQ(dialog.columnWidths, (BandScanColumnWidths{100, 60, 60, 30, 30, 200}));
  // A short file changes only the widths it holds.
  WriteFileBytes(colsPath, EncodeBandScanColumns({111, 61, 60, 30, 30, 200}).substr(0, 8));
  dialog.columnWidths = DefaultBandScanColumnWidths;
  dialog.BandScanBtnClick();
  EXPECT_EQ(dialog.columnWidths, (BandScanColumnWidths{111, 61, 64, 40, 42, 313}));
}

// ---- OK --------------------------------------------------------------------------

TEST_F(BandScanDialogTest, OKTunesToTheBandAndSetsTheScanLimits) {
  Open({Band49, Band31, Ham40});
  dialog.columnWidths = {141, 65, 65, 41, 43, 314};
  dialog.BandScanGridClick(3);
  clearRecords();
  EXPECT_TRUE(dialog.ScanBtnClick());
  EXPECT_EQ(state.LastFreqRecord.freq, 15000.0);
  EXPECT_EQ(state.Freq, 7000.0);
  EXPECT_EQ((std::vector<int>{state.Mode, state.AGC, state.FilterIndex, state.Bandwidth, state.StepHz, state.PBT}),
            (std::vector<int>{2, 1, 13, 2550, 100, -50}));
  for (Ctl c : {Ctl::ModeBtnLSB, Ctl::AGCSlowBtn, Ctl::FiltBtn13, Ctl::ScanSpd1Btn})
    EXPECT_TRUE(panel[c].pressed) << ControlName(c);
  EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, "-50");
  // Scanning starts with the Scan button.
  EXPECT_EQ((std::vector<double>{settings.LimitLow, settings.LimitHigh, settings.ScanFrequency,
                                 double(settings.ScanInterval), double(ctx.scan.ScanKind), double(ctx.scan.ScanState)}),
            (std::vector<double>{7000, 7200, 7000, 50, 4, 0}));
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Band Scan: 7000 to 7200 kHz");
  ASSERT_NE(dialog.ChosenBand(), nullptr);
  EXPECT_EQ(dialog.ChosenBand()->Name, "Ham 40");
  EXPECT_EQ(ReadFileBytes(colsPath), EncodeBandScanColumns({141, 65, 65, 41, 43, 314}));
  ASSERT_TRUE(flushLine());
  EXPECT_NE(sentBytes().find(ModeCommand(2)), std::string::npos);
}

TEST_F(BandScanDialogTest, OKTakesTheEditsAsTheyStand) {
  ctx.decimalSeparator = ',';
  Open({Band49});
  dialog.bsLoFreqEdit = "5950,5";
  dialog.bsHiFreqEdit = "6100";
  for (BandScanCombo* combo : {&dialog.bsModeCombo, &dialog.bsAGCCombo, &dialog.bsFiltCombo, &dialog.bsSpeedCombo})
    combo->Select(-1);
  dialog.bsStepCombo.SetText("10000");
  dialog.bsPBTEdit = "2500";
  EXPECT_TRUE(dialog.ScanBtnClick());
  EXPECT_DOUBLE_EQ(state.Freq, 5950.5);
  // No mode: USB; no AGC: medium; no filter: 2550 Hz; PBT clamped; no speed: the second.
  EXPECT_EQ((std::vector<int>{state.Mode, state.AGC, state.FilterIndex, state.StepHz, state.PBT,
                              settings.ScanSpeedIndex}),
            (std::vector<int>{1, 2, 13, 10000, 2000, 2}));
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Band Scan: 5950,5 to 6100 kHz");
  // The step follows the text; one not in the table is 100 Hz.
  const std::pair<std::string, int> steps[] = {{"1", 1}, {"9000", 9000}, {"", 100}, {"2500", 100}};
  for (const auto& [text, stepHz] : steps) {
    dialog.bsStepCombo.SetText(text);
    ASSERT_TRUE(dialog.ScanBtnClick());
    EXPECT_EQ(state.StepHz, stepHz) << text;
  }
}

TEST_F(BandScanDialogTest, OKRefusesNoRecordMissingOrBadFrequenciesAndABadPBT) {
  Open({Band49});
  dialog.BandScanGridClick(5);
  EXPECT_FALSE(dialog.ScanBtnClick());
  EXPECT_EQ(messages.messages(), Strings{"Please select a valid record, then try again."});
  EXPECT_FALSE(fs::exists(colsPath));
  dialog.BandScanGridClick(1);
  dialog.bsHiFreqEdit = "";
  EXPECT_FALSE(dialog.ScanBtnClick());
  EXPECT_EQ(messages.lastMessage(), "You must enter values in both the high and low frequency fields.");
  EXPECT_EQ(dialog.bsHiFreqEdit, "6200");  // shown again
  dialog.bsHiFreqEdit = "5000";
  EXPECT_FALSE(dialog.ScanBtnClick());
  EXPECT_EQ(messages.lastMessage(), "The Band Scan frequencies are configured incorrectly.");
  clearRecords();
  for (const char* low : {"59x0", "5900"}) {
    dialog.bsLoFreqEdit = low;
    dialog.bsHiFreqEdit = "6200";
    dialog.bsPBTEdit = "abc";
    EXPECT_FALSE(dialog.ScanBtnClick()) << low;
  }
  EXPECT_EQ(reportedErrors.size(), 2u);
  EXPECT_DOUBLE_EQ(settings.LimitLow, 0.0);
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  ASSERT_TRUE(flushLine());
  EXPECT_TRUE(sentUnits().empty());
}

TEST_F(BandScanDialogTest, TheChosenRowIsSelectedAgainAtTheNextOpening) {
  Open({Band49, Band31, Ham40});
  EXPECT_TRUE(dialog.TakeScrollToTop());
  EXPECT_FALSE(dialog.TakeScrollToTop());
  dialog.BandScanGridClick(2);
  ASSERT_TRUE(dialog.ScanBtnClick());
  dialog.BandScanBtnClick();
  EXPECT_EQ(Selection(), "2 2 31 m band");
  EXPECT_FALSE(dialog.TakeScrollToTop());
  WriteList({Band49});  // a shorter list selects its last record
  dialog.BandScanBtnClick();
  EXPECT_EQ(Selection(), "1 1 49 m band");
}

}  // namespace
}  // namespace ondaris
