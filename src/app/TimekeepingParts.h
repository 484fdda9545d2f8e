#pragma once
// The clock radio and the wave recorder joined to the front panel: their
// files in the start-up and exit sequences, their work on the clock's tick,
// the recorder's error routine from the end of start-up on, and the main
// window's controls that open them (TimePanel, ExpressRecBtn, the Tools
// menu's "Record and Play").

#include "app/FrontPanel.h"
#include "timekeeping/AlarmClock.h"
#include "timekeeping/Recorder.h"

namespace ondaris {

class SoundPlayer;
class WaveRecorder;

struct TimekeepingPlatform {
  SoundPlayer& player;     // the alarm sound and playback
  WaveRecorder& recorder;  // capture into wave files
  Timer& pbTimer;          // the recorder's PBTimer
};

class TimekeepingParts {
 public:
  // Attaches itself to `panel`; build it before panel.FormCreate().
  TimekeepingParts(FrontPanel& panel, TimekeepingPlatform platform);
  ~TimekeepingParts();
  TimekeepingParts(const TimekeepingParts&) = delete;
  TimekeepingParts& operator=(const TimekeepingParts&) = delete;

  // A main-window control that belongs here; false for any other.
  bool Click(Ctl control);

  AlarmClock alarm;
  Recorder recorder;

 private:
  FrontPanel& panel_;
  SoundPlayer& player_;
};

}  // namespace ondaris
