// The clock radio: SysFiles/ClockRadio.dat byte for byte with short and
// damaged files, the alarm at its minute in UTC and local time, radio then
// alarm, the sleep timer, and the refusals of the dialog's OK.

#include <gtest/gtest.h>

#include "support/ClockRadioRig.h"

namespace ondaris {
namespace {

ClockRadioSettings Sample() {
  ClockRadioSettings s;
  s.AlarmMode = 3;
  s.AlarmTime = 2355;
  s.AlarmUsesUTC = 0;
  s.AlarmStation = TuningRecord{true, 9410.0, 1, 1000, 13, 3, -250, 1, 0};
  return s;
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

struct DamagedCase {
  const char* name;
  std::size_t offset;  // where the damage goes (npos: cut the file to `cut` bytes)
  std::string hex;
  std::size_t cut;
  int mode, time;
  bool stationKept;
};

class ClockRadioDamaged : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(ClockRadioDamaged, RefusedOrBroughtIntoRange) {
  const DamagedCase& c = GetParam();
  std::string bytes = EncodeClockRadio(Sample());
  if (c.offset == std::string::npos)
    bytes.resize(c.cut);
  else
    bytes.replace(c.offset, c.hex.size() / 3 + 1, BytesFromHex(c.hex));
  const ClockRadioSettings s = DecodeClockRadio(bytes);
  EXPECT_EQ(s.AlarmMode, c.mode);
  EXPECT_EQ(s.AlarmTime, c.time);
  EXPECT_EQ(s.AlarmStation.valid, c.stationKept);
  EXPECT_TRUE(!c.stationKept || SameTuning(s.AlarmStation, Sample().AlarmStation));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ClockRadioDamaged,
    ::testing::Values(DamagedCase{"Empty", std::string::npos, "", 0, 0, 0, false},
                      DamagedCase{"ModeOnly", std::string::npos, "", 4, 3, 0, false},
                      DamagedCase{"NoStation", std::string::npos, "", 9, 3, 2355, false},
                      DamagedCase{"CutStation", std::string::npos, "", 30, 3, 2355, false},
                      DamagedCase{"Longer", std::string::npos, "", 49, 3, 2355, true},
                      DamagedCase{"ModeSeven", 0, "07 00 00 00", 0, 0, 2355, true},
                      DamagedCase{"ModeNegative", 0, "FF FF FF FF", 0, 0, 2355, true},
                      DamagedCase{"Minute75", 4, "4B 00 00 00", 0, 0, 0, true},
                      DamagedCase{"Hour24", 4, "60 09 00 00", 0, 0, 0, true},
                      DamagedCase{"FilterIndex40", 9 + 24, "28 00 00 00", 0, 3, 2355, false},
                      DamagedCase{"AgcZero", 9 + 28, "00 00 00 00", 0, 3, 2355, false},
                      DamagedCase{"StepUnknown", 9 + 20, "07 00 00 00", 0, 3, 2355, false},
                      DamagedCase{"ModeByte9", 9 + 16, "09", 0, 3, 2355, false},
                      DamagedCase{"FreqNaN", 9 + 8, "00 00 00 00 00 00 F8 7F", 0, 3, 2355, false}),
    [](const auto& info) { return std::string(info.param.name); });

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
  int localOffsetMinutes;
  int fireHour, fireMinute;  // UTC
};

class AlarmFires : public ::testing::TestWithParam<FireCase>, public ClockRadioRig {};

TEST_P(AlarmFires, AtSecondZeroOfItsMinuteOnce) {
  const FireCase& c = GetParam();
  clock.setLocalOffsetMinutes(c.localOffsetMinutes);
  arm(1, 630, c.utc);
  EXPECT_EQ(panel[Ctl::FreqDispPanel].caption.back(), '*');
  int shown = 0;
  alarm.showDialog = [&] { ++shown; };

  checkAt(c.fireHour, c.fireMinute - 1, 59);
  // A local alarm ignores the UTC clock reading its time, and the other way round.
  if (c.utc) {
    clock.setUtc(DateTime{2026, 3, 15, 6, 30, 0});
    alarm.ClockCheck(clock.localNow(), clock.utcNow());
  } else {
    checkAt(6, 30, 0, 14);
  }
  EXPECT_TRUE(player.plays.empty());
  EXPECT_EQ(shown, 0);
  for (int tick = 0; tick < 3; ++tick) checkAt(c.fireHour, c.fireMinute, 0);
  checkAt(c.fireHour, c.fireMinute, 1);
  ASSERT_EQ(player.plays.size(), 1u);
  EXPECT_TRUE(player.plays[0].loop);
  EXPECT_EQ(player.plays[0].path, folder.file("Alarm.wav"));
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(alarm.AlarmSounding());
}

INSTANTIATE_TEST_SUITE_P(Times, AlarmFires,
                         ::testing::Values(FireCase{"Utc", true, 120, 6, 30}, FireCase{"Local", false, 120, 4, 30}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClockRadioTest, RadioThenAlarmTunesTheStationThenSoundsTenMinutesLaterOnce) {
  alarm.settings.AlarmStation = Sample().AlarmStation;
  arm(3, 2355, true);
  state.SpkrMute = state.LineMute = 1;
  clearRecords();
  checkAt(23, 55, 0);
  EXPECT_TRUE(player.plays.empty());
  EXPECT_DOUBLE_EQ(state.Freq, 9410.0);
  EXPECT_EQ(state.Mode, 1);
  EXPECT_EQ(state.FilterIndex, 13);
  EXPECT_EQ(state.SpkrMute, 1);  // the station's own mutes
  EXPECT_EQ(state.LineMute, 0);
  EXPECT_DOUBLE_EQ(state.LastFreqRecord.freq, 15000.0);
  ASSERT_TRUE(flushLine());
  EXPECT_NE(sentBytes().find(state.TuningBytes()), std::string::npos);
  EXPECT_EQ(alarm.SecondAlarmTime(), 5);

  for (int tick = 0; tick < 3; ++tick) checkAt(0, 5, 0, 16);
  EXPECT_EQ(player.plays.size(), 1u);
  EXPECT_FALSE(alarm.SecondAlarmArmed());
  checkAt(0, 5, 0, 17);  // neither alarm goes off again until the dialog is opened
  checkAt(23, 55, 0, 17);
  EXPECT_EQ(player.plays.size(), 1u);
}

TEST_F(ClockRadioTest, RadioOnlyWithoutStationUnmutes) {
  arm(2, 700, true);
  state.SpkrMute = state.LineMute = 1;
  checkAt(7, 0, 0);
  EXPECT_EQ(state.SpkrMute, 0);
  EXPECT_EQ(state.LineMute, 0);
  EXPECT_TRUE(player.plays.empty());
}

struct SleepCase {
  const char* name;
  int alarmMode;
  bool asteriskAfter;
};

class SleepTimer : public ::testing::TestWithParam<SleepCase>, public ClockRadioRig {};

TEST_P(SleepTimer, ThirtyFromTenFifteenFortyMutesAtTenFortyFive) {
  withAlarmWav();
  clock.setUtc(DateTime{2026, 3, 15, 10, 15, 40});
  alarm.TimePanelClick();
  alarm.settings.AlarmMode = GetParam().alarmMode;
  alarm.dlg.ModeButton = GetParam().alarmMode;
  alarm.SleepBtnClick(30);
  EXPECT_EQ(alarm.dlg.SleepPanel, "30");
  ASSERT_TRUE(alarm.OKBtnClick());
  EXPECT_EQ(panel[Ctl::FreqDispPanel].caption, "15000.000*");
  for (int m = 15; m <= 44; ++m)
    for (int s : {0, 40, 59}) checkAt(10, m, s);
  EXPECT_EQ(state.SpkrMute, 0);
  EXPECT_EQ(alarm.SleepMinutesLeft(), 1);
  checkAt(10, 45, 0);
  EXPECT_EQ(state.SpkrMute, 1);
  EXPECT_EQ(state.LineMute, 1);
  EXPECT_EQ(alarm.SleepMinutes(), 0);
  EXPECT_EQ(panel[Ctl::FreqDispPanel].caption, GetParam().asteriskAfter ? "15000.000*" : "15000.000");
}

INSTANTIATE_TEST_SUITE_P(Modes, SleepTimer,
                         ::testing::Values(SleepCase{"AlarmOff", 0, false}, SleepCase{"AlarmOn", 1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct OkCase {
  const char* name;
  bool alarmWav;
  int modeButton;
  const char* hour;
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
  alarm.dlg.HourText = c.hour;
  alarm.dlg.MinuteText = c.minute;
  EXPECT_EQ(alarm.OKBtnClick(), c.closes);
  EXPECT_EQ(messages.lastMessage(), c.message);
  EXPECT_EQ(alarm.settings.AlarmMode, c.modeAfter);
  EXPECT_EQ(state.AlarmArmed, c.modeAfter > 0 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, AlarmOk,
    ::testing::Values(OkCase{"AlarmOnly", true, 1, "06", "30", "", 1, true},
                      OkCase{"NoMinute", true, 3, "06", "", AlarmTimeNeededMessage, 0, true},
                      OkCase{"NoAlarmWav", false, 1, "06", "30", NoAlarmWavMessage, 0, false},
                      OkCase{"RadioOnlyNeedsNoWav", false, 2, "06", "30", "", 2, true},
                      OkCase{"Off", true, 0, "06", "30", "", 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ondaris
