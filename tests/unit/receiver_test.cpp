// The four senders to the receiver: the bytes they put on the line, the
// display and title after a tuning, the meter timer around each send, the
// status reports, and what a port that cannot be opened does.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Errors.h"
#include "support/PanelFixture.h"

namespace ondaris {
namespace {

using ReceiverTest = PanelFixture;

// ---- Tuning bytes --------------------------------------------------------

struct TuningCase {
  const char* name;
  double freq;
  int mode;
  int filterRow;
  int pbt;
  int agc;
  const char* expectedHex;
};

class TuningTransmissionTest : public PanelParamFixture<TuningCase> {};

TEST_P(TuningTransmissionTest, SendsFilterTuneModeAndAgcAsOneUnit) {
  const TuningCase& c = GetParam();
  state.Freq = c.freq;
  state.Mode = static_cast<std::uint8_t>(c.mode);
  state.SelectFilterRow(c.filterRow);
  state.PBT = c.pbt;
  state.AGC = c.agc;

  receiver.TuneRadio();

  const std::vector<std::string> units = sentUnits();
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(HexBytes(units[0]), c.expectedHex);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, TuningTransmissionTest,
    ::testing::Values(
        TuningCase{"Am10000", 10000.0, 0, 1, 0, 2,
                   "57 00 0D 4E 55 EF 1A A8 77 70 0D 4D 30 0D 47 32 0D"},
        TuningCase{"Usb10000", 10000.0, 1, 13, 0, 3,
                   "57 0D 0D 4E 55 F0 04 CC 65 0A 0D 4D 31 0D 47 33 0D"},
        TuningCase{"Lsb7000_5", 7000.5, 2, 14, 100, 1,
                   "57 0E 0D 4E 51 3F 05 54 65 4F 0D 4D 32 0D 47 31 0D"},
        TuningCase{"Cw9575", 9575.0, 3, 23, 0, 2,
                   "57 20 0D 4E 55 45 1A A9 5C C7 0D 4D 33 0D 47 32 0D"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReceiverTest, FilterCommandCarriesTheCodeNotTheRow) {
  state.SelectFilterRow(0);
  receiver.TuneRadio();
  state.SelectFilterRow(23);
  receiver.TuneRadio();
  ASSERT_TRUE(flushLine());
  const auto units = sentUnits();
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0].substr(0, 3), BytesFromHex("57 21 0D"));
  EXPECT_EQ(units[1].substr(0, 3), BytesFromHex("57 20 0D"));
}

TEST_F(ReceiverTest, ANewerTuningReplacesOneStillWaitingForTheLine) {
  state.Freq = 10000.0;
  receiver.TuneRadio();  // leaves at once
  state.Freq = 10001.0;
  receiver.TuneRadio();  // waits for the line
  state.Freq = 10002.0;
  receiver.TuneRadio();  // replaces the waiting one
  ASSERT_TRUE(flushLine());
  const auto units = sentUnits();
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[1], state.TuningBytes());
}

// ---- Display, title, report ----------------------------------------------

struct DisplayCase {
  const char* name;
  double freq;
  char separator;
  bool alarmArmed;
  const char* display;
  const char* title;
};

class TuneRadioDisplayTest : public PanelParamFixture<DisplayCase> {};

TEST_P(TuneRadioDisplayTest, ShowsFixedFrequencyAndShortTitle) {
  const DisplayCase& c = GetParam();
  ctx.decimalSeparator = c.separator;
  state.Freq = c.freq;
  state.AlarmArmed = c.alarmArmed ? 1 : 0;

  receiver.TuneRadio();

  EXPECT_EQ(panel[Ctl::FreqDispPanel].caption, c.display);
  EXPECT_EQ(panel.title(), c.title);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, TuneRadioDisplayTest,
    ::testing::Values(DisplayCase{"Whole", 10000.0, '.', false, "10000.000", "10000"},
                      DisplayCase{"AlarmArmed", 10000.0, '.', true, "10000.000*", "10000"},
                      DisplayCase{"Quarter", 9575.25, '.', false, "9575.250", "9575.25"},
                      DisplayCase{"Comma", 9575.25, ',', false, "9575,250", "9575,25"},
                      DisplayCase{"Low", 10.0, '.', false, "10.000", "10"},
                      DisplayCase{"Kilohertz", 7000.5, '.', true, "7000.500*", "7000.5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReceiverTest, ReportsTheStateOnceAfterTheDisplayIsUpdated) {
  state.Freq = 12345.0;
  std::string captionAtReport;
  std::string titleAtReport;
  ctx.publishStatus = [&] {
    ++statusReports;
    captionAtReport = panel[Ctl::FreqDispPanel].caption;
    titleAtReport = panel.title();
  };
  receiver.TuneRadio();
  EXPECT_EQ(statusReports, 1);
  EXPECT_EQ(captionAtReport, "12345.000");
  EXPECT_EQ(titleAtReport, "12345");
}

TEST_F(ReceiverTest, ShowFrequencyRestoresTheDisplayWithoutSending) {
  state.Freq = 9575.0;
  state.AlarmArmed = 1;
  panel.setCaption(Ctl::FreqDispPanel, "123");
  receiver.ShowFrequency();
  EXPECT_EQ(panel[Ctl::FreqDispPanel].caption, "9575.000*");
  EXPECT_TRUE(port.writes().empty());
}

// ---- Meter timer around the sends ----------------------------------------

TEST_F(ReceiverTest, MeterTimerIsOffWhileTheTuningIsHandedOverAndRestartsAfter) {
  meterTimer.setEnabled(true);
  timeline.advanceBy(150);  // part of an interval gone
  std::vector<bool> enabledAtWrite;
  port.onWrite = [&](const std::string&) { enabledAtWrite.push_back(meterTimer.enabled()); };
  const int startsBefore = meterTimer.startCount();

  receiver.TuneRadio();

  ASSERT_EQ(enabledAtWrite.size(), 1u);
  EXPECT_FALSE(enabledAtWrite[0]);
  EXPECT_TRUE(meterTimer.enabled());
  EXPECT_EQ(meterTimer.startCount(), startsBefore + 1);
  ASSERT_TRUE(meterTimer.nextTickMs().has_value());
  EXPECT_EQ(*meterTimer.nextTickMs(), timeline.nowMs() + 200);
}

TEST_F(ReceiverTest, TuningEnablesAMeterTimerThatWasOff) {
  ASSERT_FALSE(meterTimer.enabled());
  receiver.TuneRadio();
  EXPECT_TRUE(meterTimer.enabled());
}

TEST_F(ReceiverTest, VolumesTooSwitchTheMeterTimerOffAroundTheirSend) {
  meterTimer.setEnabled(true);
  std::vector<bool> enabledAtWrite;
  port.onWrite = [&](const std::string&) { enabledAtWrite.push_back(meterTimer.enabled()); };
  receiver.SendVolumes();
  ASSERT_EQ(enabledAtWrite.size(), 1u);
  EXPECT_FALSE(enabledAtWrite[0]);
  EXPECT_TRUE(meterTimer.enabled());
}

// ---- A port that cannot be opened ----------------------------------------

TEST_F(ReceiverTest, ClosedPortThatCannotOpenThrowsAfterTheStateChange) {
  link.close();
  port.failOpenWith("Unable to open com port (No such file or directory)");
  state.Freq = 9575.0;

  EXPECT_THROW(receiver.TuneRadio(), SerialError);

  EXPECT_EQ(state.Freq, 9575.0);  // the caller's change stays
  // The display and the title follow the state even with the port down.
  EXPECT_EQ(panel[Ctl::FreqDispPanel].caption, "9575.000");
  EXPECT_NE(panel.title().find("9575"), std::string::npos);
  EXPECT_EQ(statusReports, 0);
  EXPECT_FALSE(meterTimer.enabled());  // no polling of a dead port
  EXPECT_TRUE(port.writes().empty());

  port.allowOpen();
  receiver.TuneRadio();  // every send tries to open the port again
  EXPECT_TRUE(link.isOpen());
  ASSERT_EQ(sentUnits().size(), 1u);
  EXPECT_EQ(panel[Ctl::FreqDispPanel].caption, "9575.000");
  EXPECT_TRUE(meterTimer.enabled());
}

TEST_F(ReceiverTest, VolumesOnAPortThatCannotOpenThrowAfterTheButtonsAreDrawn) {
  link.close();
  port.failOpenWith("Unable to open com port");
  state.SpkrMute = 1;
  EXPECT_THROW(receiver.SendVolumes(), SerialError);
  EXPECT_EQ(panel[Ctl::SpkrMuteBtn].caption, "Spkr Mute");
  EXPECT_EQ(statusReports, 2);
}

// ---- Volumes -------------------------------------------------------------

struct VolumeCase {
  const char* name;
  int spkrVolume;
  bool spkrMute;
  int lineVolume;
  bool lineMute;
  const char* expectedHex;
};

class SendVolumesTest : public PanelParamFixture<VolumeCase> {};

TEST_P(SendVolumesTest, SendsSpeakerThenLineAsOneUnit) {
  const VolumeCase& c = GetParam();
  state.SpkrVolume = static_cast<std::uint8_t>(c.spkrVolume);
  state.SpkrMute = c.spkrMute;
  state.LineVolume = static_cast<std::uint8_t>(c.lineVolume);
  state.LineMute = c.lineMute;

  receiver.SendVolumes();

  const auto units = sentUnits();
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(HexBytes(units[0]), c.expectedHex);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, SendVolumesTest,
    ::testing::Values(VolumeCase{"Loudest", 63, false, 63, false, "56 7F 00 0D 41 7F 00 0D"},
                      VolumeCase{"Softest", 13, false, 13, false, "56 7F 32 0D 41 7F 32 0D"},
                      VolumeCase{"SpeakerMuted", 50, true, 30, false, "56 7F 3F 0D 41 7F 21 0D"},
                      VolumeCase{"LineMuted", 30, false, 63, true, "56 7F 21 0D 41 7F 3F 0D"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReceiverTest, MuteButtonsShowTheirState) {
  state.SpkrMute = 1;
  state.LineMute = 0;
  receiver.SendVolumes();
  EXPECT_EQ(panel[Ctl::SpkrMuteBtn].caption, "Spkr Mute");
  EXPECT_EQ(panel[Ctl::SpkrMuteBtn].colour, Colour::Maroon);
  EXPECT_TRUE(panel[Ctl::SpkrMuteBtn].bold);
  EXPECT_EQ(panel[Ctl::LineMuteBtn].caption, "Line");
  EXPECT_EQ(panel[Ctl::LineMuteBtn].colour, Colour::Navy);
  EXPECT_FALSE(panel[Ctl::LineMuteBtn].bold);

  state.SpkrMute = 0;
  state.LineMute = 1;
  receiver.SendVolumes();
  EXPECT_EQ(panel[Ctl::SpkrMuteBtn].caption, "Speaker");
  EXPECT_EQ(panel[Ctl::SpkrMuteBtn].colour, Colour::Navy);
  EXPECT_FALSE(panel[Ctl::SpkrMuteBtn].bold);
  EXPECT_EQ(panel[Ctl::LineMuteBtn].caption, "Line Mute");
  EXPECT_EQ(panel[Ctl::LineMuteBtn].colour, Colour::Maroon);
  EXPECT_TRUE(panel[Ctl::LineMuteBtn].bold);
}

TEST_F(ReceiverTest, VolumesReportAfterEachButtonIsRedrawn) {
  state.SpkrMute = 1;
  state.LineMute = 1;
  std::vector<std::pair<std::string, std::string>> captionsAtReport;
  ctx.publishStatus = [&] {
    captionsAtReport.emplace_back(panel[Ctl::SpkrMuteBtn].caption, panel[Ctl::LineMuteBtn].caption);
  };
  receiver.SendVolumes();
  ASSERT_EQ(captionsAtReport.size(), 2u);
  EXPECT_EQ(captionsAtReport[0], std::make_pair(std::string("Spkr Mute"), std::string("Line")));
  EXPECT_EQ(captionsAtReport[1], std::make_pair(std::string("Spkr Mute"), std::string("Line Mute")));
}

// ---- Meter query and exit mute -------------------------------------------

TEST_F(ReceiverTest, MeterQueryIsXAndCarriageReturn) {
  receiver.SendMeterQuery();
  ASSERT_EQ(port.writes().size(), 1u);
  EXPECT_EQ(HexBytes(port.writes()[0].bytes), "58 0D");
}

TEST_F(ReceiverTest, NoMeterQueryOnceShuttingDown) {
  ctx.flags.ShuttingDown = true;
  receiver.SendMeterQuery();
  EXPECT_TRUE(port.writes().empty());
}

TEST_F(ReceiverTest, ExitMuteCommand) {
  receiver.SendExitMute();
  ASSERT_EQ(port.writes().size(), 1u);
  EXPECT_EQ(HexBytes(port.writes()[0].bytes), "43 7F 36 33 0D");
}

TEST_F(ReceiverTest, ExitMuteGoesOutBehindAWaitingTuning) {
  receiver.TuneRadio();
  state.Freq = 9000.0;
  receiver.TuneRadio();  // waits for the line
  receiver.SendExitMute();
  ASSERT_TRUE(flushLine());
  const auto units = sentUnits();
  ASSERT_EQ(units.size(), 3u);
  EXPECT_EQ(units[1], state.TuningBytes());
  EXPECT_EQ(HexBytes(units[2]), "43 7F 36 33 0D");
}

}  // namespace
}  // namespace ondaris
