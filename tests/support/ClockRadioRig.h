#pragma once
// The clock radio and the recorder over the panel's fakes, in a scratch
// program folder with its WaveFiles folder.

#include <filesystem>
#include <string>

#include "support/FakeAudio.h"
#include "support/PanelFixture.h"
#include "support/ScriptedFileDialogs.h"
#include "support/TempFolder.h"
#include "timekeeping/AlarmClock.h"
#include "timekeeping/Recorder.h"

namespace ondaris {

struct ClockRadioRig : PanelRig {
  ClockRadioRig() { std::filesystem::create_directories(folder.path() / "WaveFiles"); }
  TempFolder folder{true};
  FakeSoundPlayer player;
  FakeWaveRecorder device;
  ScriptedFileDialogs dialogs;
  FakeTimer pbTimer{timeline, "PBTimer"};
  AlarmClock alarm{ctx, receiver, tuning, player, folder.dir()};
  Recorder recorder{ctx, receiver, tuning, device, player, dialogs, pbTimer, folder.dir()};

  std::string waveDir() const { return folder.dir() + "WaveFiles/"; }
  void withAlarmWav() { WriteFileBytes(folder.file("Alarm.wav"), "RIFF"); }
  // The alarm set, then armed as at start-up.
  void arm(int mode, int time, bool utc) {
    alarm.settings.AlarmMode = mode;
    alarm.settings.AlarmTime = time;
    alarm.settings.AlarmUsesUTC = utc ? 1 : 0;
    alarm.ArmAfterLoading();
  }
  // One clock check of the alarm at this UTC time.
  void checkAt(int hour, int minute, int second, int day = 15) {
    clock.setUtc(DateTime{2026, 3, day, hour, minute, second});
    alarm.ClockCheck(clock.utcNow(), clock.localNow());
  }
};

}  // namespace ondaris
