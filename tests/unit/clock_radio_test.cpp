// The clock radio: SysFiles/ClockRadio.dat byte for byte with short and
// damaged files, the alarm at its minute in UTC and local time, radio then
// alarm, the sleep timer, and the refusals of the dialog's OK.

#include <gtest/gtest.h>

#include <tuple>

#include "support/ClockRadioRig.h"

namespace ondaris {
namespace {

const auto ByName = [](const auto& info) { return std::string(info.param.name); };

ClockRadioSettings Sample() {
  return ClockRadioSettings{3, 2355, 0, TuningRecord{true, 9410.0, 1, 1000, 13, 3, -250, 1, 0}};
}

TEST(ClockRadioFile, ExactBytesAndRoundTrip) {
  const std::string bytes = EncodeClockRadio(Sample());
  ASSERT_EQ(bytes.size(), ClockRadioDatSize);
  EXPECT_EQ(HexBytes(bytes),
            "03 00 00 00 33 09 00 00 00 "                       // mode 3, 2355, local
            "01 00 00 00 00 00 00 00 00 00 00 00 00 61 C2 40 "  // stored, 9410.0
            "01 00 00 00 E8 03 00 00 0D 00 00 00 03 00 00 00 "  // USB, 1000 Hz, filter 13, AGC 3
            "06 FF FF FF 01 00 00 00");                         // PBT -250, speaker muted
  EXPECT_EQ(DecodeClockRadio(bytes), Sample());
}

TEST(ClockRadioFile, DamagedFilesAreRefusedOrBroughtIntoRange) {
  const struct {
    std::size_t offset;  // where the damage goes (npos: cut the file to `cut` bytes)
    std::string hex;
    std::size_t cut;
    int mode, time;
    bool stationKept;
  } cases[] = {
      {std::string::npos, "", 0, 0, 0, false},  {std::string::npos, "", 4, 3, 0, false},      // empty, mode only
      {std::string::npos, "", 9, 3, 2355, false}, {std::string::npos, "", 30, 3, 2355, false},  // no or cut station
      {std::string::npos, "", 49, 3, 2355, true},                                              // longer
      {0, "07 00 00 00", 0, 0, 2355, true},  {0, "FF FF FF FF", 0, 0, 2355, true},             // mode 7, -1
      {4, "4B 00 00 00", 0, 0, 0, true},     {4, "60 09 00 00", 0, 0, 0, true},                // minute 75, hour 24
      {9 + 24, "28 00 00 00", 0, 3, 2355, false}, {9 + 28, "00 00 00 00", 0, 3, 2355, false},  // filter 40, AGC 0
      {9 + 20, "07 00 00 00", 0, 3, 2355, false}, {9 + 16, "09", 0, 3, 2355, false},           // step, mode byte
      {9 + 8, "00 00 00 00 00 00 F8 7F", 0, 3, 2355, false},                                   // frequency NaN
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.offset << " " << c.hex << " cut " << c.cut);
    std::string bytes = EncodeClockRadio(Sample());
    if (c.offset == std::string::npos)
      bytes.resize(c.cut);
    else
      bytes.replace(c.offset, c.hex.size() / 3 + 1, BytesFromHex(c.hex));
    const ClockRadioSettings s = DecodeClockRadio(bytes);
    EXPECT_EQ(std::tuple(s.AlarmMode, s.AlarmTime, s.AlarmStation.valid), std::tuple(c.mode, c.time, c.stationKept));
    EXPECT_TRUE(!c.stationKept || SameTuning(s.AlarmStation, Sample().AlarmStation));
  }
}

class ClockRadioTest : public ::testing::Test, public ClockRadioRig {};

TEST_F(ClockRadioTest, MissingFileGivesDefaultsAndItsMessage) {
  alarm.LoadSettings();
  EXPECT_EQ(messages.messages(), std::vector<std::string>{MissingClockRadioDatMessage});
  EXPECT_EQ(alarm.settings, ClockRadioSettings{});
  alarm.settings = Sample();
  alarm.SaveSettings();
  EXPECT_EQ(ReadFileBytes(folder.sysFile("ClockRadio.dat")), EncodeClockRadio(Sample()));
  alarm.LoadSettings();
  EXPECT_EQ(alarm.settings, Sample());
}

struct FireCase {
  const char* name;
  bool utc;
  int fireHour;  // UTC, at minute 30, two hours behind local time
};

class AlarmFires : public ::testing::TestWithParam<FireCase>, public ClockRadioRig {};

TEST_P(AlarmFires, AtSecondZeroOfItsMinuteOnce) {
  const FireCase& c = GetParam();
  clock.setLocalOffsetMinutes(120);
  arm(1, 630, c.utc);
  EXPECT_EQ(panel[Ctl::FreqDispPanel].caption.back(), '*');
  int shown = 0;
  alarm.showDialog = [&] { ++shown; };

  checkAt(c.fireHour, 29, 59);
  // A local alarm ignores the UTC clock reading its time, and the other way round.
  if (c.utc) {
    clock.setUtc(DateTime{2026, 3, 15, 6, 30, 0});
    alarm.ClockCheck(clock.localNow(), clock.utcNow());
  } else {
    checkAt(6, 30, 0, 14);
  }
  EXPECT_EQ(std::tuple(player.plays.size(), shown), std::tuple(0u, 0));
  for (int tick = 0; tick < 3; ++tick) checkAt(c.fireHour, 30, 0);
  checkAt(c.fireHour, 30, 1);
  ASSERT_EQ(player.plays.size(), 1u);
  EXPECT_EQ(std::tuple(player.plays[0].loop, player.plays[0].path, shown, alarm.AlarmSounding()),
            std::tuple(true, folder.file("Alarm.wav"), 1, true));
}

INSTANTIATE_TEST_SUITE_P(Times, AlarmFires, ::testing::Values(FireCase{"Utc", true, 6}, FireCase{"Local", false, 4}),
                         ByName);

TEST_F(ClockRadioTest, RadioThenAlarmTunesTheStationThenSoundsTenMinutesLaterOnce) {
  alarm.settings.AlarmStation = Sample().AlarmStation;
  arm(3, 2355, true);
  state.SpkrMute = state.LineMute = 1;
  clearRecords();
  checkAt(23, 55, 0);
  EXPECT_TRUE(player.plays.empty());
  // The station's own tuning and mutes; the frequency left is remembered.
  EXPECT_EQ((std::vector<double>{state.Freq, double(state.Mode), double(state.FilterIndex), double(state.SpkrMute),
                                 double(state.LineMute), state.LastFreqRecord.freq}),
            (std::vector<double>{9410.0, 1, 13, 1, 0, 15000.0}));
  ASSERT_TRUE(flushLine());
  EXPECT_NE(sentBytes().find(state.TuningBytes()), std::string::npos);
  EXPECT_EQ(alarm.SecondAlarmTime(), 5);

  for (int tick = 0; tick < 3; ++tick) checkAt(0, 5, 0, 16);
  EXPECT_EQ(std::tuple(player.plays.size(), alarm.SecondAlarmArmed()), std::tuple(1u, false));
  checkAt(0, 5, 0, 17);  // neither alarm goes off again until the dialog is opened
  checkAt(23, 55, 0, 17);
  EXPECT_EQ(player.plays.size(), 1u);
}

TEST_F(ClockRadioTest, RadioOnlyWithoutStationUnmutes) {
  arm(2, 700, true);
  state.SpkrMute = state.LineMute = 1;
  checkAt(7, 0, 0);
  EXPECT_EQ(std::tuple(state.SpkrMute, state.LineMute, player.plays.size()), std::tuple(0, 0, 0u));
}

class SleepTimer : public ::testing::TestWithParam<int>, public ClockRadioRig {};

TEST_P(SleepTimer, ThirtyFromTenFifteenFortyMutesAtTenFortyFive) {
  withAlarmWav();
  clock.setUtc(DateTime{2026, 3, 15, 10, 15, 40});
  alarm.TimePanelClick();
  alarm.settings.AlarmMode = alarm.dlg.ModeButton = GetParam();
  alarm.SleepBtnClick(30);
  EXPECT_EQ(alarm.dlg.SleepPanel, "30");
  ASSERT_TRUE(alarm.OKBtnClick());
  EXPECT_EQ(panel[Ctl::FreqDispPanel].caption, "15000.000*");
  for (int m = 15; m <= 44; ++m)
    for (int s : {0, 40, 59}) checkAt(10, m, s);
  EXPECT_EQ(std::tuple(state.SpkrMute, alarm.SleepMinutesLeft()), std::tuple(0, 1));
  checkAt(10, 45, 0);
  EXPECT_EQ(std::tuple(state.SpkrMute, state.LineMute, alarm.SleepMinutes()), std::tuple(1, 1, 0));
  // The asterisk stays only while an alarm is set.
  EXPECT_EQ(panel[Ctl::FreqDispPanel].caption, GetParam() ? "15000.000*" : "15000.000");
}

INSTANTIATE_TEST_SUITE_P(AlarmModes, SleepTimer, ::testing::Values(0, 1));

struct OkCase {
  const char* name;
  bool alarmWav;
  int modeButton;
  const char* minute;
  const char* message;  // "" none
  int modeAfter;
  bool closes;
};

class AlarmOk : public ::testing::TestWithParam<OkCase>, public ClockRadioRig {};

TEST_P(AlarmOk, SetsTheModeOrRefusesIt) {
  const OkCase& c = GetParam();
  if (c.alarmWav) withAlarmWav();
  alarm.TimePanelClick();
  alarm.dlg.ModeButton = c.modeButton;
  alarm.dlg.HourText = "06";
  alarm.dlg.MinuteText = c.minute;
  EXPECT_EQ(alarm.OKBtnClick(), c.closes);
  EXPECT_EQ(messages.lastMessage(), c.message);
  EXPECT_EQ(alarm.settings.AlarmMode, c.modeAfter);
  EXPECT_EQ(state.AlarmArmed, c.modeAfter > 0 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Dialog, AlarmOk,
                         ::testing::Values(OkCase{"AlarmOnly", true, 1, "30", "", 1, true},
                                           OkCase{"NoMinute", true, 3, "", AlarmTimeNeededMessage, 0, true},
                                           OkCase{"NoAlarmWav", false, 1, "30", NoAlarmWavMessage, 0, false},
                                           OkCase{"RadioOnlyNeedsNoWav", false, 2, "30", "", 2, true},
                                           OkCase{"Off", true, 0, "30", "", 0, true}),
                         ByName);

}  // namespace
}  // namespace ondaris
