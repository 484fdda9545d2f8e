// The user options dialog through the fakes: every refusal leaves the state
// and the wire alone; the port change closes the old port, opens the new one
// and sends it the whole state; calibration and meter scale reach the wire
// and the meter; the logbook's options go to their files at once.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "options/LogbookOptions.h"
#include "options/UserOptionsDialog.h"
#include "radio/Rx320Protocol.h"
#include "radio/StateFiles.h"
#include "support/PanelFixture.h"
#include "support/ScriptedFileDialogs.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

struct OptionsRig : PanelRig {
  OptionsRig() {
    std::filesystem::create_directories(folder.path() / "LogFiles");
    options.addSection(logbookOptions);
    options.Fill();
    flushLine();
    clearRecords();
  }
  // The whole receiver state as it goes out: volumes, then the tuning.
  std::string stateBytes() const {
    return SpeakerVolumeCommand(state.SpkrVolume, state.SpkrMute != 0) +
           LineVolumeCommand(state.LineVolume, state.LineMute != 0) + state.TuningBytes();
  }
  TempFolder folder{true};
  std::string dir = folder.dir();
  ScriptedFileDialogs dialogs;
  LogbookSettings logbook;
  LogbookOptions logbookOptions{logbook, dir, messages};
  UserOptionsDialog options{ctx, receiver, tuning, meter, dialogs, dir};
};

class UserOptions : public ::testing::Test, public OptionsRig {};
template <class Row>
struct OptionsTest : ::testing::TestWithParam<Row>, OptionsRig {};

// ---- Refusals: the message, and nothing changed --------------------------------

struct Refusal {
  const char* name;
  std::string UserOptionsDialog::*field;
  std::string text;
  std::string message;
};
void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

using OptionsRefusal = OptionsTest<Refusal>;

TEST_P(OptionsRefusal, ShowsItsMessageAndChangesNothing) {
  const Refusal& r = GetParam();
  const std::string before = EncodeOndarisDat(state, dir);
  // Other changes the listener made in the same visit are not taken either.
  options.ComPortBox = "COM7";
  options.CWToneEdit = "800";
  options.Chk9KHz = !options.Chk9KHz;
  options.*r.field = r.text;
  EXPECT_FALSE(options.OKBtnClick());
  EXPECT_EQ(messages.messages(), std::vector<std::string>{r.message});
  EXPECT_EQ(EncodeOndarisDat(state, dir), before);
  flushLine();
  EXPECT_EQ(port.writes().size(), 0u);
  EXPECT_EQ(port.closeCount(), 0);
  EXPECT_EQ(link.portName(), "COM1");
}

const std::string LongFolder = "/elsewhere/" + std::string(80, 'd') + "/";

INSTANTIATE_TEST_SUITE_P(
    Fields, OptionsRefusal,
    ::testing::Values(
        Refusal{"PortName", &UserOptionsDialog::ComPortBox, "/dev/ttyUSB10",
                "The port name \"/dev/ttyUSB10\" is longer than 10 characters and cannot be stored."},
        Refusal{"CWTone", &UserOptionsDialog::CWToneEdit, "7OO", "'7OO' is not a valid integer value"},
        Refusal{"Meter", &UserOptionsDialog::MeterEdit, "lots", "'lots' is not a valid integer value"},
        Refusal{"LoFreq", &UserOptionsDialog::LoFreqEdit, "5.0.1", "'5.0.1' is not a valid floating point value"},
        Refusal{"LoErr", &UserOptionsDialog::LoErrEdit, "-8x7", "'-8x7' is not a valid floating point value"},
        Refusal{"HiFreq", &UserOptionsDialog::HiFreqEdit, "MHz", "'MHz' is not a valid floating point value"},
        Refusal{"HiErr", &UserOptionsDialog::HiErrEdit, "--126", "'--126' is not a valid floating point value"},
        Refusal{"Folder", &UserOptionsDialog::DirEdit, LongFolder,
                "The folder \"" + LongFolder +
                    "\" cannot be used for frequency files: it must lie below the program's folder or be at most 80 "
                    "characters long."}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The port ----------------------------------------------------------------------

TEST_F(UserOptions, PortChangeClosesTheOldPortAndSendsTheWholeStateToTheNewOne) {
  state.Freq = 9580;
  state.SpkrVolume = 40;
  options.ComPortBox = "COM7";
  EXPECT_TRUE(options.OKBtnClick());
  EXPECT_EQ(port.closeCount(), 1);
  EXPECT_EQ(port.openedDevices().back(), "/dev/ttyS6");  // COM7
  EXPECT_EQ(state.ComPortName, "COM7");
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(HexBytes(sentBytes()), HexBytes(stateBytes()));
  EXPECT_TRUE(messages.shown().empty()) << messages.shown().front().text;
}

TEST_F(UserOptions, PortThatCannotBeOpenedIsReportedAndTriedAgainAtTheNextSend) {
  port.failOpenWith("Unable to open com port COM7");
  options.ComPortBox = "COM7";
  EXPECT_TRUE(options.OKBtnClick());
  EXPECT_EQ(messages.lastMessage(), "Unable to open com port COM7");
  EXPECT_EQ(state.ComPortName, "COM7");
  EXPECT_EQ(link.portName(), "COM7");
  flushLine();
  EXPECT_TRUE(port.writes().empty());

  port.allowOpen();
  receiver.TuneRadio();
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(port.openedDevices().back(), "/dev/ttyS6");  // COM7
  EXPECT_EQ(HexBytes(sentBytes()), HexBytes(state.TuningBytes()));
}

// ---- Calibration and the meter's scale ---------------------------------------------

struct Calibration {
  const char* name;
  std::string lo, loErr, hi, hiErr, meter;
  double slope, offset;
  int meterMax;
};
void PrintTo(const Calibration& c, std::ostream* os) { *os << c.name; }

using OptionsCalibration = OptionsTest<Calibration>;

TEST_P(OptionsCalibration, ReachesTheWireAndTheMeter) {
  const Calibration& c = GetParam();
  state.Freq = 9580;
  options.LoFreqEdit = c.lo;
  options.LoErrEdit = c.loErr;
  options.HiFreqEdit = c.hi;
  options.HiErrEdit = c.hiErr;
  options.MeterEdit = c.meter;
  ASSERT_TRUE(options.OKBtnClick());
  EXPECT_NEAR(state.CalSlope, c.slope, 1e-9);
  EXPECT_NEAR(state.CalOffset, c.offset, 1e-9);
  EXPECT_EQ(state.MeterMax, c.meterMax);
  EXPECT_EQ(panel[Ctl::Meter].maximum, c.meterMax);

  RadioState plain;
  plain.Freq = 9580;
  TuningInput input = plain.TuningInputs();
  input.calSlope = c.slope;
  input.calOffset = c.offset;
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(HexBytes(sentBytes()), HexBytes(SpeakerVolumeCommand(plain.SpkrVolume, false) +
                                            LineVolumeCommand(plain.LineVolume, false) +
                                            TuningTransmission(input, plain.FilterCode, plain.AGC)));
}

INSTANTIATE_TEST_SUITE_P(
    Values, OptionsCalibration,
    ::testing::Values(Calibration{"TwoPoints", "5.0", "-87", "15.0", "-126", "50", -3.9, -67.5, 100},
                      Calibration{"SameFrequency", "10", "-50", "10", "-80", "20000", 0, 0, 10000},
                      Calibration{"Empty", "", "", "", "", "0", 0, 0, 10000},
                      Calibration{"MeterBelowZeroIgnored", "", "", "", "", "-5", 0, 0, 10000},
                      Calibration{"MeterInRange", "", "", "", "", "2500", 0, 0, 2500}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The logbook's options ----------------------------------------------------------

struct LogbookCase {
  const char* name;
  const char* dateFileBefore;  // nullptr: no file
  bool euroShown;
  bool usa, swl, mw, ute;
  const char* dateFile;
  const char* exportFile;
};
void PrintTo(const LogbookCase& c, std::ostream* os) { *os << c.name; }

using OptionsLogbook = OptionsTest<LogbookCase>;

TEST_P(OptionsLogbook, FilledFromTheFileAndWrittenAtOnce) {
  const LogbookCase& c = GetParam();
  if (c.dateFileBefore) WriteFileBytes(folder.file("LogFiles/DateFormat.dat"), c.dateFileBefore);
  options.Fill();
  EXPECT_EQ(logbookOptions.EuroDateChk, c.euroShown);
  EXPECT_EQ(logbookOptions.USADateChk, !c.euroShown);
  logbookOptions.USADateChk = c.usa;
  logbookOptions.SWLChk = c.swl;
  logbookOptions.MWChk = c.mw;
  logbookOptions.UteChk = c.ute;
  ASSERT_TRUE(options.OKBtnClick());
  EXPECT_EQ(ReadFileBytes(folder.file("LogFiles/DateFormat.dat")), c.dateFile);
  EXPECT_EQ(ReadFileBytes(folder.file("LogFiles/LogExpConsol.dat")), c.exportFile);
  EXPECT_EQ(logbook.UseEuroDate, !c.usa);
  EXPECT_EQ(logbook.Export, (LogExportSettings{c.swl, c.mw, c.ute}));
}

INSTANTIATE_TEST_SUITE_P(
    Files, OptionsLogbook,
    ::testing::Values(LogbookCase{"NoFileToDayFirst", nullptr, false, false, true, false, true, "DD/MM/YYYY\r\n",
                                  "SWL=Yes\r\nMW=No\r\nUte=Yes\r\n"},
                      LogbookCase{"DayFirstToMonthFirst", "DD/MM/YYYY\r\n", true, true, false, true, false,
                                  "MM/DD/YYYY\r\n", "SWL=No\r\nMW=Yes\r\nUte=No\r\n"},
                      LogbookCase{"DamagedReadsMonthFirst", "dd/mm/yyyy", false, true, false, false, false,
                                  "MM/DD/YYYY\r\n", "SWL=No\r\nMW=No\r\nUte=No\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UserOptions, LogbookFilesThatCannotBeWrittenAreReportedAndTheRunKeepsTheChoice) {
  std::filesystem::remove_all(folder.path() / "LogFiles");
  logbookOptions.USADateChk = false;
  logbookOptions.MWChk = true;
  EXPECT_TRUE(options.OKBtnClick());
  const std::vector<std::string> shown = messages.messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].rfind(LogExpConsolSaveFailedMessage, 0), 0u) << shown[0];
  EXPECT_EQ(shown[1].rfind(DateFormatSaveFailedMessage, 0), 0u) << shown[1];
  EXPECT_TRUE(logbook.UseEuroDate);
  EXPECT_TRUE(logbook.Export.MwBulkSort);
  // The receiver's part of OK went through all the same.
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(HexBytes(sentBytes()), HexBytes(stateBytes()));
}

}  // namespace
}  // namespace ondaris
