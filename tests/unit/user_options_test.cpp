// The user options dialog through the fakes: every refusal leaves the state
// and the wire alone; the port change closes the old port, opens the new one
// and sends it the whole state; calibration and meter scale reach the wire
// and the meter; the logbook's options go to their files at once.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
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

using Texts = std::vector<std::string>;

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

TEST(UserOptionsRefusal, ShowsItsMessageAndChangesNothing) {
  const std::string longFolder = "/elsewhere/" + std::string(80, 'd') + "/";
  const struct {
    std::string UserOptionsDialog::*field;
    std::string text;
    std::string message;
  } rows[] = {
      {&UserOptionsDialog::ComPortBox, "/dev/ttyUSB10",
       "The port name \"/dev/ttyUSB10\" is longer than 10 characters and cannot be stored."},
      {&UserOptionsDialog::CWToneEdit, "7OO", "'7OO' is not a valid integer value"},
      {&UserOptionsDialog::MeterEdit, "lots", "'lots' is not a valid integer value"},
      {&UserOptionsDialog::LoFreqEdit, "5.0.1", "'5.0.1' is not a valid floating point value"},
      {&UserOptionsDialog::LoErrEdit, "-8x7", "'-8x7' is not a valid floating point value"},
      {&UserOptionsDialog::HiFreqEdit, "MHz", "'MHz' is not a valid floating point value"},
      {&UserOptionsDialog::HiErrEdit, "--126", "'--126' is not a valid floating point value"},
      {&UserOptionsDialog::DirEdit, longFolder,
       "The folder \"" + longFolder +
           "\" cannot be used for frequency files: it must lie below the program's folder or be at most 80 "
           "characters long."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    OptionsRig rig;
    const std::string before = EncodeOndarisDat(rig.state, rig.dir);
    // Other changes the listener made in the same visit are not taken either.
    rig.options.ComPortBox = "COM7", rig.options.CWToneEdit = "800", rig.options.Chk9KHz = !rig.options.Chk9KHz;
    rig.options.*row.field = row.text;
    EXPECT_FALSE(rig.options.OKBtnClick());
    EXPECT_EQ(rig.messages.messages(), Texts{row.message});
    EXPECT_EQ(EncodeOndarisDat(rig.state, rig.dir), before);
    rig.flushLine();
    EXPECT_EQ(std::tuple(rig.port.writes().empty(), rig.port.closeCount(), rig.link.portName()),
              std::tuple(true, 0, "COM1"));
  }
}

// ---- The port ----------------------------------------------------------------------

TEST_F(UserOptions, PortChangeClosesTheOldPortAndSendsTheWholeStateToTheNewOne) {
  state.Freq = 9580;
  state.SpkrVolume = 40;
  options.ComPortBox = "COM7";
  EXPECT_TRUE(options.OKBtnClick());
  EXPECT_EQ(std::tuple(port.closeCount(), port.openedDevices().back(), state.ComPortName),
            std::tuple(1, "/dev/ttyS6", "COM7"));  // COM7 is ttyS6
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(HexBytes(sentBytes()), HexBytes(stateBytes()));
  EXPECT_TRUE(messages.shown().empty());
}

TEST_F(UserOptions, PortThatCannotBeOpenedIsReportedAndTriedAgainAtTheNextSend) {
  port.failOpenWith("Unable to open com port COM7");
  options.ComPortBox = "COM7";
  EXPECT_TRUE(options.OKBtnClick());
  EXPECT_EQ(messages.messages(), Texts{"Unable to open com port COM7"});
  EXPECT_EQ(std::tuple(state.ComPortName, link.portName()), std::tuple("COM7", "COM7"));
  flushLine();
  EXPECT_TRUE(port.writes().empty());

  port.allowOpen();
  receiver.TuneRadio();
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(port.openedDevices().back(), "/dev/ttyS6");
  EXPECT_EQ(HexBytes(sentBytes()), HexBytes(state.TuningBytes()));
}

// ---- Calibration and the meter's scale ---------------------------------------------

TEST(UserOptionsCalibration, ReachesTheWireAndTheMeter) {
  const struct {
    std::string lo, loErr, hi, hiErr, meter;
    double slope, offset;
    int meterMax;
  } rows[] = {
      {"5.0", "-87", "15.0", "-126", "50", -3.9, -67.5, 100},  // the meter's scale has a floor
      {"10", "-50", "10", "-80", "20000", 0, 0, 10000},        // one frequency twice: no calibration
      {"", "", "", "", "-5", 0, 0, 10000},                     // a scale below zero is ignored
      {"", "", "", "", "2500", 0, 0, 2500},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.meter);
    OptionsRig rig;
    rig.state.Freq = 9580;
    rig.options.LoFreqEdit = row.lo, rig.options.LoErrEdit = row.loErr;
    rig.options.HiFreqEdit = row.hi, rig.options.HiErrEdit = row.hiErr, rig.options.MeterEdit = row.meter;
    ASSERT_TRUE(rig.options.OKBtnClick());
    EXPECT_NEAR(rig.state.CalSlope, row.slope, 1e-9);
    EXPECT_NEAR(rig.state.CalOffset, row.offset, 1e-9);
    EXPECT_EQ(std::tuple(rig.state.MeterMax, rig.panel[Ctl::Meter].maximum), std::tuple(row.meterMax, row.meterMax));

    // The tuning goes out again with the new calibration.
    ASSERT_TRUE(rig.flushLine());
    EXPECT_EQ(HexBytes(rig.sentBytes()), HexBytes(rig.stateBytes()));
  }
}

// ---- The logbook's options ----------------------------------------------------------

TEST(UserOptionsLogbook, FilledFromTheFileAndWrittenAtOnce) {
  const struct {
    const char* dateFileBefore;  // nullptr: no file
    bool euroShown;
    bool usa, swl, mw, ute;
    const char* dateFile;
    const char* exportFile;
  } rows[] = {
      {nullptr, false, false, true, false, true, "DD/MM/YYYY\r\n", "SWL=Yes\r\nMW=No\r\nUte=Yes\r\n"},
      {"DD/MM/YYYY\r\n", true, true, false, true, false, "MM/DD/YYYY\r\n", "SWL=No\r\nMW=Yes\r\nUte=No\r\n"},
      {"dd/mm/yyyy", false, true, false, false, false, "MM/DD/YYYY\r\n", "SWL=No\r\nMW=No\r\nUte=No\r\n"},  // damaged
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.dateFile);
    OptionsRig rig;
    if (row.dateFileBefore) WriteFileBytes(rig.folder.file("LogFiles/DateFormat.dat"), row.dateFileBefore);
    rig.options.Fill();
    LogbookOptions& shown = rig.logbookOptions;
    EXPECT_EQ(std::tuple(shown.EuroDateChk, shown.USADateChk), std::tuple(row.euroShown, !row.euroShown));
    shown.USADateChk = row.usa, shown.SWLChk = row.swl, shown.MWChk = row.mw, shown.UteChk = row.ute;
    ASSERT_TRUE(rig.options.OKBtnClick());
    EXPECT_EQ(ReadFileBytes(rig.folder.file("LogFiles/DateFormat.dat")) + "|" +
                  ReadFileBytes(rig.folder.file("LogFiles/LogExpConsol.dat")),
              std::string(row.dateFile) + "|" + row.exportFile);
    EXPECT_EQ(std::tuple(rig.logbook.UseEuroDate, rig.logbook.Export),
              std::tuple(!row.usa, LogExportSettings{row.swl, row.mw, row.ute}));
  }
}

TEST_F(UserOptions, LogbookFilesThatCannotBeWrittenAreReportedAndTheRunKeepsTheChoice) {
  std::filesystem::remove_all(folder.path() / "LogFiles");
  logbookOptions.USADateChk = false;
  logbookOptions.MWChk = true;
  EXPECT_TRUE(options.OKBtnClick());
  EXPECT_THAT(messages.messages(),
              ::testing::ElementsAre(::testing::StartsWith(std::string(LogExpConsolSaveFailedMessage) + "\n"),
                                     ::testing::StartsWith(std::string(DateFormatSaveFailedMessage) + "\n")));
  EXPECT_EQ(std::tuple(logbook.UseEuroDate, logbook.Export.MwBulkSort), std::tuple(true, true));
  // The receiver's part of OK went through all the same.
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(HexBytes(sentBytes()), HexBytes(stateBytes()));
}

}  // namespace
}  // namespace ondaris
