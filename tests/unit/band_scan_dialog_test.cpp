// The "Band Scan Setup" dialog through the fake panel: opening (missing,
// empty and damaged lists), the grid and its sorts, the edit fields, Add,
// Replace, Delete, Save, Cancel and OK with their checks and messages, and
// what OK leaves for the scan engine.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "radio/Rx320Protocol.h"
#include "scan/BandScanDialog.h"
#include "scan/BandScanList.h"
#include "scan/LimitRanges.h"
#include "support/PanelFixture.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;

class BandFolder {
 public:
  BandFolder() {
    std::string pattern = (fs::temp_directory_path() / "ondaris-bandscan-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    fs::create_directory(root_ / "SysFiles");
  }
  ~BandFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  std::string dir() const { return root_.string() + "/"; }
  std::string list() const { return (root_ / "SysFiles" / "BandScan.dat").string(); }
  std::string cols() const { return (root_ / "SysFiles" / "BandScanCols.dat").string(); }

 private:
  fs::path root_;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

const std::string Band49 = "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0";
const std::string Band31 = "\"31 m band\",9400,9900,\"AM\",6000,2,5000,0,4,\"Europe\",0,0";
const std::string Ham40 = "\"Ham 40\",7000,7200,\"LSB\",2550,3,100,-50,2,\"nets\",0,0";

std::string Band(const std::string& name, const std::string& low, const std::string& high,
                 const std::string& mode = "AM", char speed = '3', const std::string& comments = "",
                 const std::string& step = "5000", const std::string& filter = "8000", char agc = '1',
                 const std::string& pbt = "0") {
  return "\"" + name + "\"," + low + "," + high + ",\"" + mode + "\"," + filter + "," + agc + "," + step + "," + pbt +
         "," + speed + ",\"" + comments + "\",0,0";
}

class BandScanDialogTest : public PanelFixture {
 protected:
  BandFolder folder;
  ScanSettings settings;
  BandScanDialog dialog{ctx, controls, tuning, settings, folder.dir()};
  int showCalls = 0;
  int resetCalls = 0;

  BandScanDialogTest() {
    dialog.show = [this](BandScanDialog& d) {
      ++showCalls;
      EXPECT_TRUE(d.isOpen());
    };
    dialog.resetScanSelection = [this] { ++resetCalls; };
  }

  void WriteList(const std::vector<std::string>& lines) { Put(folder.list(), JoinBandScanLines(lines)); }
  void Open(const std::vector<std::string>& lines) {
    WriteList(lines);
    dialog.BandScanBtnClick();
  }
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> cells;
    for (int row = 1; row <= dialog.RecordCount(); ++row) cells.push_back(dialog.CellText(row, column));
    return cells;
  }
  void TypeBand(const std::string& name, const std::string& low, const std::string& high) {
    dialog.bsNameEdit = name;
    dialog.bsLoFreqEdit = low;
    dialog.bsHiFreqEdit = high;
  }
};

// ---- Opening -------------------------------------------------------------------

TEST_F(BandScanDialogTest, OpeningFillsTheGridAndShowsTheFirstRecord) {
  Open({Band49, Band31, Ham40});
  EXPECT_EQ(showCalls, 1);
  EXPECT_FALSE(dialog.isOpen());
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(dialog.RecordCount(), 3);
  EXPECT_EQ(dialog.GridRowCount(), 8);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"49 m band", "31 m band", "Ham 40"}));
  EXPECT_EQ(Column(1), (std::vector<std::string>{"5900", "9400", "7000"}));
  EXPECT_EQ(Column(2), (std::vector<std::string>{"6200", "9900", "7200"}));
  EXPECT_EQ(Column(3), (std::vector<std::string>{"AM", "AM", "LSB"}));
  EXPECT_EQ(Column(4), (std::vector<std::string>{".2S", ".5S", ".1S"}));
  EXPECT_EQ(Column(5), (std::vector<std::string>{"evening", "Europe", "nets"}));
  for (int row = 4; row < 8; ++row)
    for (int column = 0; column < 6; ++column) EXPECT_EQ(dialog.CellText(row, column), "");

  EXPECT_EQ(dialog.SelectedRow(), 1);
  EXPECT_TRUE(dialog.TakeScrollToTop());
  EXPECT_FALSE(dialog.TakeScrollToTop());
  EXPECT_EQ(dialog.bsNameEdit, "49 m band");
  EXPECT_EQ(dialog.bsLoFreqEdit, "5900");
  EXPECT_EQ(dialog.bsHiFreqEdit, "6200");
  EXPECT_EQ(dialog.bsPBTEdit, "0");
  EXPECT_EQ(dialog.bsCommentEdit, "evening");
  EXPECT_EQ(dialog.bsModeCombo.text, "AM");
  EXPECT_EQ(dialog.bsAGCCombo.text, "Fast");
  EXPECT_EQ(dialog.bsFiltCombo.text, "8000");
  EXPECT_EQ(dialog.bsFiltCombo.index, 0);
  EXPECT_EQ(dialog.bsStepCombo.text, "5000");
  EXPECT_EQ(dialog.bsStepCombo.index, 7);
  EXPECT_EQ(dialog.bsSpeedCombo.index, 2);
  EXPECT_EQ(dialog.bsSpeedCombo.text, ".2S");
  EXPECT_EQ(dialog.LimitPanel, "49 m band:  5900 to 6200 kHz AM");
  EXPECT_FALSE(dialog.BandScanChanged());
}

TEST_F(BandScanDialogTest, OpeningChoosesBandScanWithItsSpeedTable) {
  ctx.scan.ScanKind = 3;
  ctx.scan.ScanDirection = 1;
  settings.MemScanStarted = true;
  panel.press(Ctl::ScanBtn);
  panel.setEnabled(Ctl::NowBtn, false);
  Open({Band49});
  EXPECT_EQ(ctx.scan.ScanKind, 4);
  EXPECT_EQ(ctx.scan.ScanDirection, 0);
  EXPECT_FALSE(settings.MemScanStarted);
  EXPECT_EQ(settings.ScanSpeedIndex, 3);
  EXPECT_EQ(settings.ScanInterval, 200);
  EXPECT_EQ(settings.SpeedIntervals, (std::array<int, 6>{10, 50, 200, 500, 1000, 3000}));
  const std::vector<std::string> captions{"33 mS", "0.1S", "0.2S", "0.5S", "1S", "3S"};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(panel[ScanSpeedButton(k)].caption, captions[static_cast<std::size_t>(k)]);
  EXPECT_TRUE(panel[Ctl::ScanSpd2Btn].pressed);
  EXPECT_TRUE(panel[Ctl::BandScanBtn].pressed);
  EXPECT_FALSE(panel[Ctl::ScanBtn].pressed);
  EXPECT_TRUE(panel[Ctl::NowBtn].enabled);
}

TEST_F(BandScanDialogTest, TheEngineChoosesBandScanWhenItIsAttached) {
  int chosen = 0;
  dialog.chooseBandScan = [&] {
    ++chosen;
    ctx.scan.ScanKind = 4;
  };
  Open({Band49});
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(ctx.scan.ScanKind, 4);
  // The dialog's own choice did not run: the speed buttons were not touched.
  EXPECT_EQ(settings.ScanSpeedIndex, 0);
}

TEST_F(BandScanDialogTest, FrequenciesAndSpeedCaptionsShowTheLocaleSeparator) {
  ctx.decimalSeparator = ',';
  Open({Band("Half", "5900.5", "6200.25")});
  EXPECT_EQ(dialog.CellText(1, 1), "5900,5");
  EXPECT_EQ(dialog.CellText(1, 2), "6200,25");
  EXPECT_EQ(dialog.bsLoFreqEdit, "5900,5");
  EXPECT_EQ(dialog.LimitPanel, "Half:  5900,5 to 6200,25 kHz AM");
  EXPECT_EQ(panel[Ctl::ScanSpd1Btn].caption, "0,1S");
  EXPECT_EQ(panel[Ctl::ScanSpd3Btn].caption, "0,5S");
  EXPECT_EQ(panel[Ctl::ScanSpd0Btn].caption, "33 mS");
}

TEST_F(BandScanDialogTest, AMissingFileIsAnnouncedAndAnEmptyListOpens) {
  dialog.BandScanBtnClick();
  EXPECT_EQ(messages.messages(),
            (std::vector<std::string>{"Could not find SysFiles\\BandScan.datin the working directory."}));
  EXPECT_EQ(showCalls, 1);
  EXPECT_EQ(dialog.RecordCount(), 0);
  EXPECT_EQ(dialog.GridRowCount(), 8);
  EXPECT_EQ(ctx.scan.ScanKind, 4);

  // The first band added and saved creates the file.
  TypeBand("49 m band", "5900", "6200");
  dialog.BandScanAddBtnClick();
  dialog.BandScanSaveBtnClick();
  ASSERT_TRUE(fs::exists(folder.list()));
  EXPECT_EQ(SplitBandScanLines(Slurp(folder.list())).size(), 1u);
}

TEST_F(BandScanDialogTest, AnEmptyFileIsAnnounced) {
  Put(folder.list(), "");
  dialog.BandScanBtnClick();
  EXPECT_EQ(messages.messages(), (std::vector<std::string>{"The SysFiles\\BandScan.dat is empty."}));
  EXPECT_EQ(dialog.RecordCount(), 0);
  EXPECT_EQ(showCalls, 1);
}

TEST_F(BandScanDialogTest, AnUnreadableFileIsReportedAndNothingOpens) {
  fs::create_directory(folder.list());
  dialog.BandScanBtnClick();
  EXPECT_EQ(showCalls, 0);
  ASSERT_EQ(reportedErrors.size(), 1u);
  EXPECT_NE(reportedErrors[0].find("BandScan.dat"), std::string::npos);
  EXPECT_EQ(ctx.scan.ScanKind, 0);
  EXPECT_FALSE(panel[Ctl::BandScanBtn].pressed);
}

TEST_F(BandScanDialogTest, BadLinesAreReportedOneByOneAndDropped) {
  const std::string noQuote = "\"Broken,5900,6200,\"AM\",8000,1,5000,0,3,\"x\",0,0";
  WriteList({Band49, noQuote, Band31, "", Ham40});
  const std::string before = Slurp(folder.list());
  dialog.BandScanBtnClick();
  EXPECT_EQ(messages.messages(), (std::vector<std::string>{"Error reading SysFiles\\BandScan.dat record 2:  " + noQuote,
                                                           "Error reading SysFiles\\BandScan.dat record 4:  "}));
  EXPECT_EQ(dialog.lines(), (std::vector<std::string>{Band49, Band31, Ham40}));
  EXPECT_EQ(Column(0), (std::vector<std::string>{"49 m band", "31 m band", "Ham 40"}));
  EXPECT_FALSE(dialog.BandScanChanged());
  EXPECT_EQ(Slurp(folder.list()), before);  // the file keeps them until it is saved
}

TEST_F(BandScanDialogTest, TheGridGrowsWithTheList) {
  std::vector<std::string> lines;
  for (int i = 0; i < 12; ++i) lines.push_back(Band("B" + std::to_string(i), std::to_string(1000 + i), "2000"));
  Open(lines);
  EXPECT_EQ(dialog.GridRowCount(), 13);
  EXPECT_EQ(dialog.CellText(12, 0), "B11");
}

TEST_F(BandScanDialogTest, SelectingARowShowsItsRecord) {
  Open({Band49, Band31, Ham40});
  dialog.BandScanGridClick(2);
  EXPECT_EQ(dialog.BandScanSelected(), 2);
  EXPECT_EQ(dialog.bsNameEdit, "31 m band");
  EXPECT_EQ(dialog.bsAGCCombo.text, "Medium");  // digit 2
  EXPECT_EQ(dialog.bsFiltCombo.text, "6000");
  EXPECT_EQ(dialog.bsSpeedCombo.text, ".5S");
  dialog.BandScanGridClick(3);
  EXPECT_EQ(dialog.bsModeCombo.text, "LSB");
  EXPECT_EQ(dialog.bsModeCombo.index, 2);
  EXPECT_EQ(dialog.bsAGCCombo.text, "Slow");
  EXPECT_EQ(dialog.bsPBTEdit, "-50");
  EXPECT_EQ(dialog.bsStepCombo.text, "100");
  EXPECT_EQ(dialog.bsFiltCombo.index, 13);
  // An empty row is selected, but the edits keep the last record.
  dialog.BandScanGridClick(5);
  EXPECT_EQ(dialog.SelectedRow(), 5);
  EXPECT_EQ(dialog.BandScanSelected(), 3);
  EXPECT_EQ(dialog.bsNameEdit, "Ham 40");
}

TEST_F(BandScanDialogTest, TheStepComboShowsStepsOutsideItsFirstEightAsText) {
  Open({Band("Ten", "100", "200", "AM", '3', "", "10000"), Band("Nine", "100", "200", "AM", '3', "", "9000"),
        Band("Odd", "100", "200", "XX", '9', "", "2500", "1234", '7')});
  EXPECT_EQ(dialog.bsStepCombo.text, "10000");
  EXPECT_EQ(dialog.bsStepCombo.items.back(), "10000");
  dialog.BandScanGridClick(2);
  EXPECT_EQ(dialog.bsStepCombo.text, "9000");
  EXPECT_EQ(dialog.bsStepCombo.index, -1);
  dialog.BandScanGridClick(3);
  EXPECT_EQ(dialog.bsStepCombo.text, "2500");
  EXPECT_EQ(dialog.bsModeCombo.index, -1);
  EXPECT_EQ(dialog.bsFiltCombo.index, -1);
  EXPECT_EQ(dialog.bsAGCCombo.index, -1);
  EXPECT_EQ(dialog.bsSpeedCombo.index, -1);
  EXPECT_EQ(dialog.CellText(3, 4), "");
}

TEST_F(BandScanDialogTest, TheNineKilohertzOptionEndsTheStepComboWith9000) {
  state.NineKHzSteps = 1;
  Open({Band("Nine", "100", "200", "AM", '3', "", "9000")});
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
  EXPECT_EQ(dialog.bsNameEdit, "");
  EXPECT_EQ(dialog.bsLoFreqEdit, "");
  EXPECT_EQ(dialog.bsHiFreqEdit, "");
  EXPECT_EQ(dialog.bsCommentEdit, "");
  EXPECT_EQ(dialog.bsModeCombo.text, "CW");
  EXPECT_EQ(dialog.bsAGCCombo.text, "Fast");
  EXPECT_EQ(dialog.bsFiltCombo.text, "300");
  EXPECT_EQ(dialog.bsStepCombo.text, "1000");
  EXPECT_EQ(dialog.bsPBTEdit, "150");
  EXPECT_EQ(dialog.bsSpeedCombo.text, "1S");
  EXPECT_EQ(dialog.LimitPanel, "");

  state.AGC = 1;
  dialog.BandScanClearBtnClick();
  EXPECT_EQ(dialog.bsAGCCombo.text, "Slow");
  state.AGC = 2;
  dialog.BandScanClearBtnClick();
  EXPECT_EQ(dialog.bsAGCCombo.text, "Medium");
}

// ---- Sorting -------------------------------------------------------------------

struct HeaderCase {
  int x;
  int column;
};

class BandScanHeaderBands : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(BandScanHeaderBands, OnlyTheMiddleOfAColumnSorts) {
  EXPECT_EQ(BandScanDialog::HeaderColumnAt(GetParam().x, DefaultBandScanColumnWidths), GetParam().column)
      << "x = " << GetParam().x;
}

// Default widths 140, 64, 64, 40, 42, 313: edges at 0, 140, 204, 268, 308, 350, 663.
INSTANTIATE_TEST_SUITE_P(Bands, BandScanHeaderBands,
                         ::testing::Values(HeaderCase{0, -1}, HeaderCase{2, -1}, HeaderCase{3, 0}, HeaderCase{135, 0},
                                           HeaderCase{136, -1}, HeaderCase{142, -1}, HeaderCase{143, 1},
                                           HeaderCase{199, 1}, HeaderCase{200, -1}, HeaderCase{207, 2},
                                           HeaderCase{271, 3}, HeaderCase{303, 3}, HeaderCase{311, 4},
                                           HeaderCase{345, 4}, HeaderCase{353, 5}, HeaderCase{658, 5},
                                           HeaderCase{659, -1}, HeaderCase{5000, -1}, HeaderCase{-10, -1}));

TEST_F(BandScanDialogTest, SortingByNameIsOrdinalWithEqualNamesByLow) {
  const std::string apple = Band("apple", "3000", "3100");
  const std::string zulu = Band("Zulu", "2000", "2100");
  const std::string same7 = Band("Same", "7000", "7100");
  const std::string same6 = Band("Same", "600", "700");
  const std::string mike = Band("Mike", "1000", "1100");
  Open({apple, zulu, same7, same6, mike});
  dialog.BandScanGridClick(4);
  dialog.SortByColumn(0);
  EXPECT_EQ(dialog.lines(), (std::vector<std::string>{mike, same6, same7, zulu, apple}));
  EXPECT_EQ(Column(0), (std::vector<std::string>{"Mike", "Same", "Same", "Zulu", "apple"}));
  EXPECT_EQ(Column(1), (std::vector<std::string>{"1000", "600", "7000", "2000", "3000"}));
  EXPECT_TRUE(dialog.BandScanChanged());
  EXPECT_EQ(dialog.SelectedRow(), 1);
  EXPECT_EQ(dialog.BandScanSelected(), 1);
  EXPECT_EQ(dialog.bsNameEdit, "Mike");
}

TEST_F(BandScanDialogTest, FrequencyColumnsSortAsNumbers) {
  const std::string a = Band("a", "15000", "15100");
  const std::string b = Band("b", "900", "29000");
  const std::string c = Band("c", "5900", "6200");
  Open({a, b, c});
  dialog.SortByColumn(1);
  EXPECT_EQ(dialog.lines(), (std::vector<std::string>{b, c, a}));
  dialog.SortByColumn(2);
  EXPECT_EQ(dialog.lines(), (std::vector<std::string>{c, a, b}));
}

TEST_F(BandScanDialogTest, ModeSpeedAndCommentsSortAsTextThenByLow) {
  const std::string usb = Band("u", "5000", "6000", "USB", '6', "bravo");
  const std::string am2 = Band("a2", "4000", "6000", "AM", '1', "Charlie");
  const std::string cw = Band("c", "3000", "6000", "CW", '5', "alpha");
  const std::string am1 = Band("a1", "2000", "6000", "AM", '2', "Alpha");
  Open({usb, am2, cw, am1});

  dialog.SortByColumn(3);
  EXPECT_EQ(Column(3), (std::vector<std::string>{"AM", "AM", "CW", "USB"}));
  EXPECT_EQ(dialog.lines(), (std::vector<std::string>{am1, am2, cw, usb}));

  dialog.SortByColumn(4);
  EXPECT_EQ(Column(4), (std::vector<std::string>{".033S", ".1S", "1S", "3S"}));

  // Folded: "Alpha" and "alpha" tie and go by Low; "bravo" before "Charlie".
  dialog.SortByColumn(5);
  EXPECT_EQ(dialog.lines(), (std::vector<std::string>{am1, cw, usb, am2}));
}

TEST_F(BandScanDialogTest, SortingASortedListChangesNothing) {
  Open({Band("a", "100", "200"), Band("b", "300", "400")});
  dialog.SortByColumn(0);
  EXPECT_FALSE(dialog.BandScanChanged());
  dialog.SortByColumn(1);
  EXPECT_FALSE(dialog.BandScanChanged());
  dialog.SortByColumn(2);
  EXPECT_FALSE(dialog.BandScanChanged());
}

TEST_F(BandScanDialogTest, AHeaderPressSortsOnlyInsideAColumnsBand) {
  const std::string a = Band("z", "100", "200");
  const std::string b = Band("a", "300", "150");
  Open({a, b});
  dialog.BandScanGridMouseDown(137);  // between Name and Low Freq
  EXPECT_EQ(dialog.lines(), (std::vector<std::string>{a, b}));
  EXPECT_FALSE(dialog.BandScanChanged());
  dialog.BandScanGridMouseDown(150);  // Low Freq: already in order
  EXPECT_EQ(dialog.lines(), (std::vector<std::string>{a, b}));
  dialog.BandScanGridMouseDown(220);  // High Freq
  EXPECT_EQ(dialog.lines(), (std::vector<std::string>{b, a}));
  EXPECT_TRUE(dialog.BandScanChanged());

  // Widths the listener has changed move the bands.
  dialog.columnWidths = {50, 64, 64, 40, 42, 313};
  dialog.BandScanGridMouseDown(60);  // now Low Freq
  EXPECT_EQ(dialog.lines(), (std::vector<std::string>{a, b}));
}

TEST_F(BandScanDialogTest, SortingAnEmptyListDoesNothing) {
  dialog.BandScanBtnClick();
  messages.clear();
  dialog.SortByColumn(0);
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_FALSE(dialog.BandScanChanged());
}

// ---- Add -------------------------------------------------------------------------

struct RefusedAdd {
  std::string low;
  std::string high;
  std::string message;
};

class BandScanRefusedAdd : public BandScanDialogTest, public ::testing::WithParamInterface<RefusedAdd> {};

TEST_P(BandScanRefusedAdd, LeavesTheListAsItWas) {
  Open({Band49});
  messages.clear();
  TypeBand("New", GetParam().low, GetParam().high);
  dialog.BandScanAddBtnClick();
  EXPECT_EQ(messages.messages(), std::vector<std::string>{GetParam().message});
  EXPECT_EQ(dialog.lines(), std::vector<std::string>{Band49});
  EXPECT_FALSE(dialog.BandScanChanged());
}

INSTANTIATE_TEST_SUITE_P(
    Refused, BandScanRefusedAdd,
    ::testing::Values(RefusedAdd{"", "6200", "You must enter values for both the low and high frequencies."},
                      RefusedAdd{"5900", "", "You must enter values for both the low and high frequencies."},
                      RefusedAdd{"9.9", "6200", "The frequencies are configured incorrectly."},
                      RefusedAdd{"5900", "30000.5", "The frequencies are configured incorrectly."},
                      RefusedAdd{"6300", "6200", "The frequencies are configured incorrectly."},
                      RefusedAdd{"5", "8", "The frequencies are configured incorrectly."}));

TEST_F(BandScanDialogTest, AddAppendsTheBuiltLineAndSelectsIt) {
  Open({Band49, Band31});
  messages.clear();
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
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"The data has been added to the end of the file."});
  ASSERT_EQ(dialog.RecordCount(), 3);
  EXPECT_EQ(dialog.lines().back(), "\"Ham 20\",14000,14350,\"USB\",2550,3,100,100,1,\"DX\",0,0");
  EXPECT_EQ(dialog.SelectedRow(), 3);
  EXPECT_EQ(dialog.BandScanSelected(), 3);
  EXPECT_EQ(dialog.CellText(3, 0), "Ham 20");
  EXPECT_EQ(dialog.LimitPanel, "Ham 20:  14000 to 14350 kHz USB");
  EXPECT_TRUE(dialog.BandScanChanged());
  // Nothing is written before Save.
  EXPECT_EQ(SplitBandScanLines(Slurp(folder.list())).size(), 2u);
}

TEST_F(BandScanDialogTest, AddAcceptsEqualLimitsAndTheEdgesOfTheRange) {
  Open({});
  messages.clear();
  TypeBand("Edge", "10", "10");
  dialog.BandScanAddBtnClick();
  TypeBand("Top", "30000", "30000");
  dialog.BandScanAddBtnClick();
  EXPECT_EQ(dialog.RecordCount(), 2);
}

TEST_F(BandScanDialogTest, AddWithTheLocaleSeparatorStoresAPoint) {
  ctx.decimalSeparator = ',';
  Open({});
  TypeBand("Half", "5900,5", "6200");
  dialog.BandScanAddBtnClick();
  ASSERT_EQ(dialog.RecordCount(), 1);
  EXPECT_EQ(dialog.records()[0].Low, "5900.5");
  EXPECT_EQ(dialog.CellText(1, 1), "5900,5");
}

TEST_F(BandScanDialogTest, AFrequencyThatIsNoNumberGoesToTheErrorHandler) {
  Open({Band49});
  messages.clear();
  TypeBand("New", "59x0", "6200");
  dialog.BandScanAddBtnClick();
  EXPECT_EQ(reportedErrors.size(), 1u);
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(dialog.RecordCount(), 1);
}

TEST_F(BandScanDialogTest, AddStoresADoubleQuoteAsASingleQuote) {
  Open({Band49});
  TypeBand("The \"big\" one", "5900", "6200");
  dialog.bsCommentEdit = "a \"b\"";
  dialog.BandScanAddBtnClick();
  ASSERT_EQ(dialog.RecordCount(), 2);
  EXPECT_EQ(dialog.CellText(2, 0), "The 'big' one");
  EXPECT_EQ(dialog.CellText(2, 5), "a 'b'");
  dialog.BandScanSaveBtnClick();
  // The saved file reads back whole.
  messages.clear();
  dialog.BandScanBtnClick();
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(dialog.RecordCount(), 2);
}

TEST_F(BandScanDialogTest, ALineThatWouldNotReadBackIsRefused) {
  Open({Band49});
  messages.clear();
  TypeBand("New", "5900", "6200");
  dialog.bsStepCombo.SetText("5,000");
  dialog.BandScanAddBtnClick();
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Error converting data to band scan string."});
  EXPECT_EQ(dialog.RecordCount(), 1);
}

TEST_F(BandScanDialogTest, LongNamesAndCommentsAreReadBackCut) {
  Open({});
  TypeBand(std::string(25, 'N'), "100", "200");
  dialog.bsCommentEdit = std::string(80, 'c');
  dialog.BandScanAddBtnClick();
  EXPECT_EQ(dialog.CellText(1, 0), std::string(20, 'N'));
  EXPECT_EQ(dialog.CellText(1, 5), std::string(64, 'c'));
  EXPECT_EQ(dialog.bsNameEdit, std::string(20, 'N'));
}

// ---- Replace -------------------------------------------------------------------

TEST_F(BandScanDialogTest, ReplaceAnsweredNoShowsTheRecordAgain) {
  Open({Band49, Band31});
  dialog.BandScanGridClick(2);
  TypeBand("Other", "1000", "2000");
  messages.answerNext(false);
  dialog.BandScanEditBtnClick();
  EXPECT_EQ(messages.questions(),
            std::vector<std::string>{"Do you want to replace the selected record with this data?"});
  EXPECT_EQ(dialog.bsNameEdit, "31 m band");
  EXPECT_EQ(dialog.bsLoFreqEdit, "9400");
  EXPECT_EQ(dialog.lines(), (std::vector<std::string>{Band49, Band31}));
  EXPECT_FALSE(dialog.BandScanChanged());
}

TEST_F(BandScanDialogTest, ReplaceWritesTheSelectedLine) {
  Open({Band49, Band31, Ham40});
  dialog.BandScanGridClick(2);
  dialog.bsNameEdit = "25 m band";
  dialog.bsLoFreqEdit = "11600";
  dialog.bsHiFreqEdit = "12100";
  messages.answerNext(true);
  dialog.BandScanEditBtnClick();
  EXPECT_EQ(dialog.lines()[1], "\"25 m band\",11600,12100,\"AM\",6000,2,5000,0,4,\"Europe\",0,0");
  EXPECT_EQ(dialog.lines()[0], Band49);
  EXPECT_EQ(dialog.lines()[2], Ham40);
  EXPECT_EQ(dialog.CellText(2, 0), "25 m band");
  EXPECT_EQ(dialog.CellText(2, 1), "11600");
  EXPECT_TRUE(dialog.BandScanChanged());
  EXPECT_EQ(dialog.LimitPanel, "25 m band:  11600 to 12100 kHz AM");
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(BandScanDialogTest, ReplaceChecksTheFrequencies) {
  Open({Band49});
  dialog.bsLoFreqEdit = "";
  messages.answerNext(true);
  dialog.BandScanEditBtnClick();
  EXPECT_EQ(messages.lastMessage(), "You must enter values for both the low and high frequencies.");
  EXPECT_EQ(dialog.bsLoFreqEdit, "5900");  // shown again

  dialog.bsLoFreqEdit = "7000";
  messages.answerNext(true);
  dialog.BandScanEditBtnClick();
  EXPECT_EQ(messages.lastMessage(), "The frequencies are configured incorrectly.");
  EXPECT_EQ(dialog.lines(), std::vector<std::string>{Band49});
  EXPECT_FALSE(dialog.BandScanChanged());
}

TEST_F(BandScanDialogTest, ReplaceNeedsASelectedRecord) {
  Open({Band49});
  dialog.BandScanGridClick(4);
  dialog.BandScanEditBtnClick();  // no question is asked
  dialog.BandScanDeleteBtnClick();
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(dialog.RecordCount(), 1);
}

// ---- Delete --------------------------------------------------------------------

TEST_F(BandScanDialogTest, DeleteMovesTheFollowingRecordsUp) {
  Open({Band49, Band31, Ham40});
  dialog.BandScanGridClick(2);
  messages.answerNext(false);
  dialog.BandScanDeleteBtnClick();
  EXPECT_EQ(dialog.RecordCount(), 3);

  messages.answerNext(true);
  dialog.BandScanDeleteBtnClick();
  EXPECT_EQ(messages.questions(), (std::vector<std::string>(2, "Are you sure you want to delete this entry?")));
  EXPECT_EQ(dialog.lines(), (std::vector<std::string>{Band49, Ham40}));
  EXPECT_EQ(Column(0), (std::vector<std::string>{"49 m band", "Ham 40"}));
  EXPECT_EQ(dialog.CellText(3, 0), "");
  EXPECT_EQ(dialog.GridRowCount(), 8);
  EXPECT_TRUE(dialog.BandScanChanged());
  EXPECT_EQ(dialog.BandScanSelected(), 2);
  EXPECT_EQ(dialog.bsNameEdit, "Ham 40");

  // Deleting the last row moves the selection to the new last record.
  messages.answerNext(true);
  dialog.BandScanDeleteBtnClick();
  EXPECT_EQ(dialog.BandScanSelected(), 1);
  EXPECT_EQ(dialog.bsNameEdit, "49 m band");
}

TEST_F(BandScanDialogTest, DeletingTheOnlyRecordIsNoChangeToSave) {
  Open({Band49});
  const std::string before = Slurp(folder.list());
  messages.answerNext(true);
  dialog.BandScanDeleteBtnClick();
  EXPECT_EQ(dialog.RecordCount(), 0);
  EXPECT_FALSE(dialog.BandScanChanged());
  EXPECT_TRUE(dialog.CanBtnClick());  // no question about saving
  EXPECT_EQ(Slurp(folder.list()), before);
}

// ---- Save, Cancel ----------------------------------------------------------------

TEST_F(BandScanDialogTest, SaveWritesTheListAsItIsNow) {
  const std::string bad = "not a band";
  Open({Band31, bad, Band49});
  dialog.SortByColumn(1);
  ASSERT_TRUE(dialog.BandScanChanged());
  dialog.BandScanSaveBtnClick();
  EXPECT_FALSE(dialog.BandScanChanged());
  EXPECT_EQ(Slurp(folder.list()), Band49 + "\r\n" + Band31 + "\r\n");
  EXPECT_EQ(dialog.bsNameEdit, "49 m band");
}

TEST_F(BandScanDialogTest, ASaveThatFailsSaysSoAndKeepsTheChange) {
  Open({Band31, Band49});
  dialog.SortByColumn(1);
  fs::remove(folder.list());
  fs::create_directory(folder.list());
  messages.clear();
  dialog.BandScanSaveBtnClick();
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].rfind("Could not save SysFiles\\BandScan.dat.\n", 0), 0u);
  EXPECT_TRUE(dialog.BandScanChanged());
}

TEST_F(BandScanDialogTest, CancelAsksToSaveAChangedListAndForgetsTheChoice) {
  Open({Band31, Band49});
  dialog.SortByColumn(1);
  dialog.columnWidths = {150, 70, 71, 41, 43, 300};
  messages.answerNext(true);
  EXPECT_TRUE(dialog.CanBtnClick());
  EXPECT_EQ(messages.questions(),
            std::vector<std::string>{"Your Band Scan file has been changed.  Do you want to save it?"});
  EXPECT_EQ(Slurp(folder.list()), Band49 + "\r\n" + Band31 + "\r\n");
  EXPECT_EQ(resetCalls, 1);
  EXPECT_FALSE(panel[Ctl::BandScanBtn].pressed);
  EXPECT_EQ(Slurp(folder.cols()), EncodeBandScanColumns({150, 70, 71, 41, 43, 300}));
}

TEST_F(BandScanDialogTest, CancelAnsweredNoLosesTheChangesAtTheNextOpening) {
  Open({Band31, Band49});
  dialog.SortByColumn(1);
  messages.answerNext(false);
  dialog.CanBtnClick();
  EXPECT_EQ(Slurp(folder.list()), Band31 + "\r\n" + Band49 + "\r\n");
  dialog.BandScanBtnClick();
  EXPECT_EQ(dialog.lines(), (std::vector<std::string>{Band31, Band49}));
}

TEST_F(BandScanDialogTest, ColumnWidthsComeFromTheFileWhenItExists) {
  Put(folder.cols(), EncodeBandScanColumns({100, 60, 60, 30, 30, 200}));
  Open({Band49});
  EXPECT_EQ(dialog.columnWidths, (BandScanColumnWidths{100, 60, 60, 30, 30, 200}));
  // A short file changes only the widths it holds.
  Put(folder.cols(), EncodeBandScanColumns({111, 61, 60, 30, 30, 200}).substr(0, 8));
  dialog.columnWidths = DefaultBandScanColumnWidths;
  dialog.BandScanBtnClick();
  EXPECT_EQ(dialog.columnWidths, (BandScanColumnWidths{111, 61, 64, 40, 42, 313}));
}

// ---- OK --------------------------------------------------------------------------

TEST_F(BandScanDialogTest, OKTunesToTheBandAndSetsTheScanLimits) {
  Open({Band49, Band31, Ham40});
  dialog.columnWidths = {141, 65, 65, 41, 43, 314};
  dialog.BandScanGridClick(3);
  const double before = state.Freq;
  clearRecords();
  EXPECT_TRUE(dialog.ScanBtnClick());
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_DOUBLE_EQ(state.LastFreqRecord.freq, before);
  EXPECT_DOUBLE_EQ(state.Freq, 7000.0);
  EXPECT_EQ(state.Mode, 2);
  EXPECT_TRUE(panel[Ctl::ModeBtnLSB].pressed);
  EXPECT_EQ(state.AGC, 1);
  EXPECT_TRUE(panel[Ctl::AGCSlowBtn].pressed);
  EXPECT_EQ(state.FilterIndex, 13);
  EXPECT_EQ(state.Bandwidth, 2550);
  EXPECT_TRUE(panel[Ctl::FiltBtn13].pressed);
  EXPECT_EQ(state.StepHz, 100);
  EXPECT_EQ(state.PBT, -50);
  EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, "-50");
  EXPECT_EQ(settings.ScanSpeedIndex, 2);
  EXPECT_EQ(settings.ScanInterval, 50);
  EXPECT_TRUE(panel[Ctl::ScanSpd1Btn].pressed);
  EXPECT_DOUBLE_EQ(settings.LimitLow, 7000.0);
  EXPECT_DOUBLE_EQ(settings.LimitHigh, 7200.0);
  EXPECT_DOUBLE_EQ(settings.ScanFrequency, 7000.0);
  EXPECT_EQ(ctx.scan.ScanKind, 4);
  EXPECT_EQ(ctx.scan.ScanDirection, 0);
  EXPECT_EQ(ctx.scan.ScanState, 0);  // scanning starts with the Scan button
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Band Scan: 7000 to 7200 kHz");
  EXPECT_EQ(dialog.BandScanSelected(), 3);
  ASSERT_NE(dialog.ChosenBand(), nullptr);
  EXPECT_EQ(dialog.ChosenBand()->Name, "Ham 40");
  EXPECT_EQ(resetCalls, 0);
  EXPECT_EQ(Slurp(folder.cols()), EncodeBandScanColumns({141, 65, 65, 41, 43, 314}));
  // The mode button's tuning went to the receiver at the band's low edge.
  ASSERT_TRUE(flushLine());
  EXPECT_FALSE(sentUnits().empty());
  EXPECT_NE(sentBytes().find(ModeCommand(2)), std::string::npos);
}

TEST_F(BandScanDialogTest, OKTakesTheEditsAsTheyStand) {
  ctx.decimalSeparator = ',';
  Open({Band49});
  dialog.bsLoFreqEdit = "5950,5";
  dialog.bsHiFreqEdit = "6100";
  dialog.bsModeCombo.Select(-1);
  dialog.bsAGCCombo.Select(-1);
  dialog.bsFiltCombo.Select(-1);
  dialog.bsStepCombo.SetText("10000");
  dialog.bsPBTEdit = "2500";
  dialog.bsSpeedCombo.Select(-1);
  EXPECT_TRUE(dialog.ScanBtnClick());
  EXPECT_DOUBLE_EQ(state.Freq, 5950.5);
  EXPECT_EQ(state.Mode, 1);               // no mode text: USB
  EXPECT_EQ(state.AGC, 2);                // no AGC text: medium
  EXPECT_EQ(state.FilterIndex, 13);       // no filter: 2550 Hz
  EXPECT_EQ(state.StepHz, 10000);         // a 10 kHz step
  EXPECT_EQ(state.PBT, 2000);             // clamped
  EXPECT_EQ(settings.ScanSpeedIndex, 2);  // no speed: the second
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Band Scan: 5950,5 to 6100 kHz");
}

struct StepCase {
  std::string text;
  int stepHz;
};

class BandScanOKStep : public BandScanDialogTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(BandScanOKStep, SetsTheStepOfTheText) {
  Open({Band49});
  dialog.bsStepCombo.SetText(GetParam().text);
  ASSERT_TRUE(dialog.ScanBtnClick());
  EXPECT_EQ(state.StepHz, GetParam().stepHz) << GetParam().text;
  EXPECT_TRUE(messages.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(Steps, BandScanOKStep,
                         ::testing::Values(StepCase{"1", 1}, StepCase{"50", 50}, StepCase{"5000", 5000},
                                           StepCase{"9000", 9000}, StepCase{"10000", 10000}, StepCase{"", 100},
                                           StepCase{"2500", 100}));

TEST_F(BandScanDialogTest, OKNeedsASelectedRecord) {
  Open({Band49});
  dialog.BandScanGridClick(5);
  EXPECT_FALSE(dialog.ScanBtnClick());
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Please select a valid record, then try again."});
  EXPECT_EQ(ctx.scan.ScanKind, 4);
  EXPECT_FALSE(fs::exists(folder.cols()));
}

TEST_F(BandScanDialogTest, OKRefusesMissingAndBadFrequencies) {
  Open({Band49});
  dialog.bsHiFreqEdit = "";
  EXPECT_FALSE(dialog.ScanBtnClick());
  EXPECT_EQ(messages.lastMessage(), "You must enter values in both the high and low frequency fields.");
  EXPECT_EQ(dialog.bsHiFreqEdit, "6200");  // shown again

  dialog.bsHiFreqEdit = "5000";
  EXPECT_FALSE(dialog.ScanBtnClick());
  EXPECT_EQ(messages.lastMessage(), "The Band Scan frequencies are configured incorrectly.");
  EXPECT_DOUBLE_EQ(settings.LimitLow, 0.0);
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
}

TEST_F(BandScanDialogTest, OKWithAPBTThatIsNoNumberTunesNothing) {
  Open({Band49});
  dialog.bsPBTEdit = "abc";
  clearRecords();
  EXPECT_FALSE(dialog.ScanBtnClick());
  EXPECT_EQ(reportedErrors.size(), 1u);
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  EXPECT_TRUE(sentUnits().empty());
}

TEST_F(BandScanDialogTest, OKAsksToSaveAChangedListFirst) {
  Open({Band31, Band49});
  dialog.SortByColumn(1);
  dialog.bsLoFreqEdit = "6000";  // typed, not replaced
  messages.answerNext(false);
  EXPECT_TRUE(dialog.ScanBtnClick());
  // No: the record is shown again, so its own limits are used.
  EXPECT_DOUBLE_EQ(settings.LimitLow, 5900.0);
  EXPECT_EQ(Slurp(folder.list()), Band31 + "\r\n" + Band49 + "\r\n");

  dialog.BandScanBtnClick();
  dialog.SortByColumn(1);
  messages.answerNext(true);
  EXPECT_TRUE(dialog.ScanBtnClick());
  EXPECT_EQ(Slurp(folder.list()), Band49 + "\r\n" + Band31 + "\r\n");
}

TEST_F(BandScanDialogTest, TheChosenRowIsSelectedAgainAtTheNextOpening) {
  Open({Band49, Band31, Ham40});
  EXPECT_TRUE(dialog.TakeScrollToTop());
  dialog.BandScanGridClick(2);
  ASSERT_TRUE(dialog.ScanBtnClick());
  dialog.BandScanBtnClick();
  EXPECT_EQ(dialog.SelectedRow(), 2);
  EXPECT_FALSE(dialog.TakeScrollToTop());
  EXPECT_EQ(dialog.bsNameEdit, "31 m band");

  // A list that has become shorter selects its last record.
  WriteList({Band49});
  dialog.BandScanBtnClick();
  EXPECT_EQ(dialog.SelectedRow(), 1);
  EXPECT_EQ(dialog.bsNameEdit, "49 m band");
}

}  // namespace
}  // namespace ondaris
