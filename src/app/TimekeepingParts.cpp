#include "app/TimekeepingParts.h"

#include "platform/Audio.h"
#include "timekeeping/ClockController.h"

namespace ondaris {

TimekeepingParts::TimekeepingParts(FrontPanel& panel, TimekeepingPlatform platform)
    : alarm(panel.context, panel.receiver, panel.tuning, platform.player, panel.programDir()),
      recorder(panel.context, panel.receiver, panel.tuning, platform.recorder, platform.player,
               panel.platform.fileDialogs, platform.pbTimer, panel.programDir()),
      panel_(panel),
      player_(platform.player) {
  StartupSteps& start = panel.startupSteps;
  start.loadAfterState.push_back([this] { alarm.LoadSettings(); });
  start.beforeTuningParsed.push_back([this] { alarm.ArmAfterLoading(); });
  start.afterStartup.push_back([this] {
    recorder.FormCreate();
    // From now on errors nothing else caught close the recorder's session.
    auto previous = panel_.onError;
    panel_.onError = [this, previous](const std::string& text) {
      recorder.ErrorRoutine();
      if (previous) previous(text);
    };
  });

  ShutdownSteps& stop = panel.shutdownSteps;
  // A recording that runs is closed and kept before anything else is saved.
  stop.beforeSaving.insert(stop.beforeSaving.begin(), [this] {
    recorder.CloseAtExit();
    player_.stopAll();
  });
  stop.saveAfterState.push_back([this] { alarm.SaveSettings(); });

  // Scheduled broadcasts record through the recorder.
  panel.scheduler.recorder.start = [this](std::string& fileName, std::string& error) {
    if (!recorder.StartBroadcastRecording("", error)) return false;
    fileName = recorder.WaveFileName();
    return true;
  };
  panel.scheduler.recorder.stop = [this](std::string& error) { return recorder.StopBroadcastRecording(&error); };

  ClockController& clock = *panel.clock;
  clock.everyTick.push_back([this] { recorder.ClockTick(); });
  clock.everySecond.push_back([this](const DateTime&, const DateTime&) { recorder.SecondTick(); });
  clock.afterTimeChecks.push_back([this](const DateTime& utc, const DateTime& local) { alarm.ClockCheck(utc, local); });
  clock.clockPanels.push_back([this](const std::string& text) { alarm.dlg.ClkPanel = text; });
}

TimekeepingParts::~TimekeepingParts() {
  panel_.platform.clockTimer.setEnabled(false);
  panel_.scheduler.recorder = BroadcastRecorder{};
}

bool TimekeepingParts::Click(Ctl control) {
  switch (control) {
    case Ctl::TimePanel: alarm.TimePanelClick(); return true;
    case Ctl::ExpressRecBtn: recorder.ExpressRecBtnClick(); return true;
    case Ctl::RecordItem: recorder.RecordItemClick(); return true;
    default: return false;
  }
}

}  // namespace ondaris
