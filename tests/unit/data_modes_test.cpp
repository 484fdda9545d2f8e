// Data modes: the 520-byte file, the data-mode button and its offset in the
// tuning words, and the programming dialog's checks.

#include <gtest/gtest.h>

#include "radio/DataModeController.h"
#include "radio/DataModes.h"
#include "support/PanelFixture.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

DataMode Programmed(std::uint8_t mode, int filter, int step, int agc, int pbt, int cwTone, std::string title = "RTTY") {
  return DataMode{1, std::move(title), mode, step, filter, agc, pbt, cwTone};
}

// ---- The file ------------------------------------------------------------------

TEST(DataModesFile, RoundTripIsExactly520BytesAtTheRecordOffsets) {
  DataModes modes{};
  modes[0] = Programmed(3, 21, 5, 2, -150, 2125, "PSK31");
  modes[4] = Programmed(1, 13, 8, 3, 2000, -3000, std::string(80, 'x'));
  const std::string bytes = EncodeDataModes(modes);
  ASSERT_EQ(bytes.size(), 520u);
  EXPECT_EQ(HexBytes(bytes.substr(0, 7)), "01 05 50 53 4B 33 31");
  EXPECT_EQ(HexBytes(bytes.substr(82, 22)),
            "03 00 05 00 00 00 15 00 00 00 02 00 00 00 6A FF FF FF 4D 08 00 00");
  EXPECT_EQ(bytes.substr(104, 104), std::string(104, '\0'));
  EXPECT_EQ(static_cast<unsigned char>(bytes[416 + 1]), 80u);
  DataModesReadReport report;
  EXPECT_EQ(DecodeDataModes(bytes, &report), modes);
  EXPECT_FALSE(report.damaged());

  TempFolder folder(true);
  SaveDataModes(folder.dir(), modes);
  EXPECT_EQ(ReadFileBytes(folder.sysFile("DataModes.dat")), bytes);
  DataModes read{};
  EXPECT_TRUE(ReadDataModes(folder.dir(), read));
  EXPECT_EQ(read, modes);
}

TEST(DataModesFile, MissingRecordsAreDefaultsAndSaidSo) {
  const std::string none = "SysFiles/DataModes.dat is incomplete: data modes D-1 to D-5 are not programmed.";
  const struct {
    std::size_t size;
    int recordsRead;
    std::string message;
  } cases[] = {{0, 0, none},
               {103, 0, none},
               {312, 3, "SysFiles/DataModes.dat is incomplete: data modes D-4 to D-5 are not programmed."},
               {519, 4, "SysFiles/DataModes.dat is incomplete: data mode D-5 is not programmed."},
               {520, 5, ""}};
  DataModes modes{};
  for (auto& m : modes) m = Programmed(2, 10, 3, 1, 50, 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    DataModesReadReport report;
    const DataModes read = DecodeDataModes(EncodeDataModes(modes).substr(0, c.size), &report);
    EXPECT_EQ(report.recordsRead, c.recordsRead);
    for (int i = 0; i < DataModeCount; ++i) EXPECT_EQ(read[i], i < c.recordsRead ? modes[i] : DataMode{}) << i;
    EXPECT_EQ(DataModesDamageMessage(report), c.message);
  }
}

TEST(DataModesFile, ValuesOutsideTheirTablesAreBroughtIntoRange) {
  DataModes modes{};
  modes[1] = Programmed(7, 24, -1, 0, 2050, 3001);
  modes[2] = Programmed(3, -5, 9, 4, -2001, -3500);
  modes[3] = DataMode{0, "", 9, 99, 99, 9, 9999, 9999};  // never applied: kept
  std::string bytes = EncodeDataModes(modes);
  bytes[0] = 5;                    // a programmed flag other than 1
  bytes[104 + 1] = char(200);      // a title length beyond the capacity
  DataModesReadReport report;
  const DataModes read = DecodeDataModes(bytes, &report);
  EXPECT_EQ(report.recordsRepaired, 3);
  EXPECT_EQ(read[0].Programmed, 1);
  EXPECT_EQ(read[1], (DataMode{1, "RTTY" + std::string(76, '\0'), 1, 0, 23, 2, 2000, 3000}));
  EXPECT_EQ(read[2], (DataMode{1, "RTTY", 3, 8, 0, 2, -2000, -3000}));
  EXPECT_EQ(read[3], modes[3]);
  EXPECT_EQ(DataModesDamageMessage(report),
            "SysFiles/DataModes.dat held settings outside their ranges: 3 data modes were set to the nearest valid "
            "values.");
}

// ---- The button and the tuning words ----------------------------------------------

class DataModeRig : public PanelRig {
 public:
  TempFolder folder{true};
  std::string dir = folder.dir();
  DataModeController dataModes{ctx, receiver, controls, tuning, dir};

  DataModeRig() {
    controls.setTuning(&tuning);
    state.UseDefaultFilters = 0;
    state.UseDefaultSteps = 0;
  }
  void store(int n, const DataMode& mode) {
    dataModes.modes[n - 1] = mode;
    dataModes.Save();
  }
  void leftClick() {
    panel.press(Ctl::DataModeBtn);
    dataModes.DataModeBtnMouseUp(DataModeController::MouseButton::Left);
  }
  std::string lastTuning() {
    flushLine();
    const auto units = sentUnits();
    return units.empty() ? "" : HexBytes(units.back());
  }
};

struct TuningCase {
  double freq;
  DataMode mode;
  const char* withDataOffset;  // the whole tuning unit while the data mode is in effect
  const char* withCWTone;      // after the mode button ended it
};

class DataModeTuning : public ::testing::TestWithParam<TuningCase>, public DataModeRig {};

TEST_P(DataModeTuning, ExactTuningWithTheDataOffsetThenWithTheCWToneAfterAModeButton) {
  const TuningCase& c = GetParam();
  state.Freq = c.freq;
  state.CWTone = 700;
  store(1, c.mode);
  leftClick();
  EXPECT_EQ(state.DataBFOActive, 1);
  EXPECT_EQ(lastTuning(), c.withDataOffset);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "RTTY (" + DataModeController::ModeName(c.mode.Mode) + ")");

  clearRecords();
  controls.ModeBtnClick(c.mode.Mode);
  EXPECT_EQ(state.DataBFOActive, 0);
  EXPECT_FALSE(panel[Ctl::DataModeBtn].pressed);
  EXPECT_EQ(lastTuning(), c.withCWTone);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, DataModeTuning,
    ::testing::Values(
        TuningCase{14070.0, Programmed(3, 21, 5, 2, 0, 2125), "57 19 0D 4E 5C 4B 1A A9 6B F9 0D 4D 33 0D 47 32 0D",
                   "57 19 0D 4E 5C 4B 1A A9 5C C7 0D 4D 33 0D 47 32 0D"},
        TuningCase{10100.5, Programmed(3, 23, 2, 3, -150, -800), "57 20 0D 4E 56 17 28 85 4B 2E 0D 4D 33 0D 47 33 0D",
                   "57 20 0D 4E 56 17 28 85 5B 2D 0D 4D 33 0D 47 33 0D"},
        TuningCase{14070.0, Programmed(1, 14, 5, 1, 100, 0), "57 0E 0D 4E 5C 4C 05 54 65 4F 0D 4D 31 0D 47 31 0D",
                   "57 0E 0D 4E 5C 4C 05 54 65 4F 0D 4D 31 0D 47 31 0D"},
        TuningCase{7040.0, Programmed(2, 13, 5, 2, -200, 0), "57 0D 0D 4E 51 4E 34 C9 62 E8 0D 4D 32 0D 47 32 0D",
                   "57 0D 0D 4E 51 4E 34 C9 62 E8 0D 4D 32 0D 47 32 0D"}));

class DataModeButton : public ::testing::Test, public DataModeRig {};

TEST_F(DataModeButton, FreshInstallationSaysNothingIsProgrammedAndStaysAtD1) {
  leftClick();
  EXPECT_EQ(messages.lastMessage(), NoDataModesMessage);
  EXPECT_EQ(panel[Ctl::DataModeBtn].caption, "D-1");
  EXPECT_TRUE(sentUnits().empty());
}

TEST_F(DataModeButton, LeftClicksApplyThenStepRightClickProgramsTheShownMode) {
  store(1, Programmed(1, 14, 6, 2, 0, 0));
  leftClick();
  EXPECT_EQ((std::vector<int>{state.StepHz, state.FilterIndex}), (std::vector<int>{3000, 14}));
  leftClick();
  EXPECT_EQ(panel[Ctl::DataModeBtn].caption + " " + panel[Ctl::StatusPanel].caption, "D-2 Data mode 2 not programmed.");
  for (int i = 0; i < 4; ++i) leftClick();
  EXPECT_EQ(panel[Ctl::DataModeBtn].caption, "D-1");  // D-5 steps round to D-1

  int shown = 0;
  dataModes.show = [&](DataProgramDialog& d) {
    ++shown;
    EXPECT_EQ((std::vector<std::string>{d.Heading, d.Review[0].bandwidth, d.Review[0].agc, d.Review[1].title}),
              (std::vector<std::string>{"Now Programming Mode D-1", "2400", "M", ""}));
  };
  dataModes.DataModeBtnMouseUp(DataModeController::MouseButton::Right);
  dataModes.DataModeBtnMouseUp(DataModeController::MouseButton::Middle);
  EXPECT_EQ(shown, 1);
}

// ---- The programming dialog --------------------------------------------------------

TEST_F(DataModeButton, EachRefusalOfTheProgrammingDialogHasItsMessageAndLeavesTheRecordAndFile) {
  const struct {
    const char *pbt, *filter, *step;
    int mode, agc;
    const char *cwTone, *message;  // message "" when accepted
  } cases[] = {{"", "2400", "100", 1, 2, "", EnterPBTMessage},  {"2050", "2400", "100", 1, 2, "", PBTRangeMessage},
               {"0", "", "100", 1, 2, "", NoBandwidthMessage},  {"0", "2401", "100", 1, 2, "", BadBandwidthMessage},
               {"0", "2400", "9000", 1, 2, "", BadStepMessage}, {"0", "2400", "100", -1, 2, "", NoModeMessage},
               {"0", "2400", "100", 3, 0, "", NoAGCMessage},
               {"0", "2400", "100", 3, 2, "3001", CWToneRangeMessage},
               {"-2000", "300", "10000", 3, 3, "-3000", ""}};
  const DataMode before = Programmed(2, 3, 4, 1, 50, 0, "old");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    store(2, before);
    const std::string fileBefore = ReadFileBytes(folder.sysFile("DataModes.dat"));
    messages.clear();
    dataModes.ProgramDataMode(2);
    DataProgramDialog& d = dataModes.dialog;
    d.TitleEdit = "new";
    d.PBTEdit = c.pbt;
    d.FiltCombo = c.filter;
    d.StepCombo = c.step;
    d.ModeChoice = c.mode;
    d.AGCChoice = c.agc;
    d.CWTEdit = c.cwTone;
    const bool accepted = std::string(c.message).empty();
    EXPECT_EQ(d.OKBtnClick(), accepted);
    EXPECT_EQ(messages.lastMessage(), c.message);
    EXPECT_EQ(messages.shown().empty(), accepted);
    EXPECT_EQ(dataModes.modes[1].Title, accepted ? "new" : "old");
    EXPECT_EQ(dataModes.modes[1] == before, !accepted);
    EXPECT_EQ(ReadFileBytes(folder.sysFile("DataModes.dat")) == fileBefore, !accepted);
  }
}

TEST_F(DataModeButton, AUsbModeStoresNoCWToneAndANumberThatIsNoneIsReported) {
  std::vector<std::string> errors;
  ctx.reportError = [&](const std::string& text) { errors.push_back(text); };
  dataModes.ProgramDataMode(1);
  DataProgramDialog& d = dataModes.dialog;
  EXPECT_EQ((std::vector<int>{d.ModeChoice, d.AGCChoice}), (std::vector<int>{1, 2}));
  d.PBTEdit = "1x";
  EXPECT_FALSE(d.OKBtnClick());
  EXPECT_EQ(errors, std::vector<std::string>{"'1x' is not a valid integer value"});
  EXPECT_EQ(dataModes.modes[0], DataMode{});

  state.PBT = 150;
  state.FilterIndex = 20;
  state.StepIndex = 2;
  state.AGC = 3;
  state.Mode = 1;
  d.GetBtnClick();
  EXPECT_EQ(d.FiltCombo + " " + d.StepCombo, "1050 50");
  d.CWTEdit = "1200";
  EXPECT_TRUE(d.OKBtnClick());
  EXPECT_EQ(dataModes.modes[0], (DataMode{1, "", 1, 2, 20, 3, 150, 0}));
}

}  // namespace
}  // namespace ondaris
