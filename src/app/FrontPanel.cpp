#include "app/FrontPanel.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "app/ProgramDir.h"
#include "common/Errors.h"
#include "platform/CompanionTransport.h"
#include "radio/CommandDispatcher.h"
#include "radio/StateFiles.h"
#include "timekeeping/ClockController.h"

namespace ondaris {

namespace {
constexpr int MeterIntervalMs = 200;
constexpr int ClockIntervalMs = 100;
constexpr int VolumeOffset = 13;
constexpr int TrackbarTop = 50;
constexpr int SpeedStepMs = 33;
}  // namespace

FrontPanel::FrontPanel(PanelPlatform platformPieces, std::string programDir, char decimalSeparator)
    : platform(platformPieces),
      programDir_(std::move(programDir)),
      link_(std::make_unique<SerialLink>(platform.port, platform.clock, platform.linkPumpTimer)),
      context{state,
              panel,
              *link_,
              PanelTimers{platform.tuningTimer, platform.meterTimer, platform.scanTimer, platform.clockTimer,
                          platform.debounceTimer},
              platform.clock,
              platform.messages,
              decimalSeparator,
              {},
              {},
              {},
              {},
              {},
              {}},
      receiver(context),
      controls(context, receiver),
      tuning(context, receiver, controls),
      meter(context, receiver, controls) {
  controls.setTuning(&tuning);
  dispatcher = std::make_unique<CommandDispatcher>(context, receiver, controls, tuning, meter, platform.companion);
  clock = std::make_unique<ClockController>(context);
  clock->meterPercent = [this] { return meter.MeterPercent(); };
  clock->sendMeterReport = [this](int percent) { dispatcher->SendMeterReport(percent); };
  context.reportError = [this](const std::string& text) { ReportError(text); };
  WireTimersAndLink();
}

FrontPanel::~FrontPanel() {
  platform.clockTimer.setEnabled(false);
  platform.clockTimer.onTimer = nullptr;
  link_->onError = nullptr;
  context.reportError = nullptr;
}

void FrontPanel::WireTimersAndLink() {
  // Every tick and every received chunk runs through Step, so that an error
  // ends that one tick and never the program.
  auto guard = [this](Timer& timer) {
    std::function<void()> inner = std::move(timer.onTimer);
    timer.onTimer = [this, inner] {
      if (inner) Step(inner);
    };
  };
  platform.clockTimer.onTimer = [this] { clock->ClockTimerTimer(); };
  guard(platform.meterTimer);
  guard(platform.tuningTimer);
  guard(platform.debounceTimer);
  guard(platform.clockTimer);
  guard(platform.linkPumpTimer);

  std::function<void(const std::string&)> received = std::move(link_->onReceived);
  if (!received) received = [this](const std::string& chunk) { meter.ComPortRxChar(chunk); };
  link_->onReceived = [this, received](const std::string& chunk) { Step([&] { received(chunk); }); };
  link_->onError = [this](const std::string& text) { ReportError(text); };
}

void FrontPanel::ReportError(const std::string& text) {
  if (inStartup_) {
    platform.messages.showMessage(text);
    return;
  }
  // A failing port repeats its error at every poll: say it once.
  const bool repeated = text == lastError;
  lastError = text;
  if (!repeated) std::fprintf(stderr, "ondaris: %s\n", text.c_str());
  if (onError) onError(text);
}

bool FrontPanel::Step(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const std::exception& error) {
    ReportError(error.what());
  } catch (...) {
    ReportError("Unexpected error.");
  }
  return false;
}

void FrontPanel::RunSteps(const std::vector<std::function<void()>>& steps) {
  for (const auto& step : steps)
    if (step) Step(step);
}

void FrontPanel::StartupSend(const std::function<void()>& send) {
  try {
    send();
  } catch (const SerialError& error) {
    if (!portOpenFailed_) ReportError(error.what());
    portOpenFailed_ = !link_->isOpen();
  } catch (const std::exception& error) {
    ReportError(error.what());
  }
}

void FrontPanel::FormCreate() {
  inStartup_ = true;
  context.flags.StartupComplete = false;
  panel.setTitle("Ondaris");

  // Working folders, then the old-format conversions and the control tables.
  for (const std::string& problem : BuildWorkingDirectories(programDir_)) platform.messages.showMessage(problem);
  RunSteps(startupSteps.convertOldFiles);
  RunSteps(startupSteps.buildTables);

  context.flags.ShuttingDown = false;
  state.DataBFOActive = 0;

  RunSteps(startupSteps.loadBeforeTuning);

  // Tuning.dat is read now and parsed once every other file is in.
  TuningLines tuningLines = DefaultTuningLines(context.decimalSeparator);
  Step([&] { tuningLines = ReadTuningLines(programDir_, platform.messages, context.decimalSeparator); });

  RunSteps(startupSteps.loadAfterTuning);

  Step([&] {
    try {
      ReadOndarisDat(programDir_, state, platform.messages);
    } catch (...) {
      ApplyOndarisDefaults(state);
      throw;
    }
  });

  RunSteps(startupSteps.loadAfterState);

  context.flags.RemoteControlOn = false;
  context.flags.BroadcastActive = false;
  tuning.flags.UpBtnHeld = false;
  tuning.flags.DnBtnHeld = false;
  tuning.flags.HoldTuned = false;
  state.AlarmArmed = 0;
  RunSteps(startupSteps.beforeTuningParsed);

  // A line that is no number: its message, then the first-start tuning.
  if (!Step([&] { ApplyTuningLines(tuningLines, state, context.decimalSeparator); }))
    Step([&] { ApplyTuningLines(DefaultTuningLines(context.decimalSeparator), state, context.decimalSeparator); });
  state.OtherVFO.statusText.clear();

  const std::string portName = portOverride_.empty() ? state.ComPortName : portOverride_;
  portOpenFailed_ = false;
  try {
    link_->open(portName);
  } catch (const std::exception& error) {
    portOpenFailed_ = true;
    ReportError(error.what());
  }

  panel.setCaption(Ctl::VFOBtn, state.ActiveVFO == 'A' ? "VFO A" : "VFO B");
  state.ComputeCalibration();
  tuning.ApplyNineKHzOption();
  StartupSend([&] { receiver.SendVolumes(); });
  state.DataBFO = state.CWTone;

  // Selecting the loaded step also moves the speed trackbar; the listener's
  // stored speed is put back further down instead of being lost at each start.
  const int storedSpeedMs = state.TuningSpeedMs;
  Step([&] { ApplyLoadedTuning(); });
  state.SaveLastFrequency();
  StartupSend([&] { receiver.TuneRadio(); });
  // The display shows the tuning also when it could not be sent.
  receiver.ShowFrequency();
  panel.setTitle(receiver.TitleText());

  if (startupSteps.loadLastFrequencyFile.empty()) {
    state.FreqFileRecordCount = 0;
    panel.setEnabled(Ctl::Grid, false);
  } else {
    RunSteps(startupSteps.loadLastFrequencyFile);
  }

  controls.ApplyOptionDefaults();
  RunSteps(startupSteps.beforeTimers);

  panel.setValue(Ctl::SpkrTrackbar, std::clamp(static_cast<int>(state.SpkrVolume) - VolumeOffset, 0, TrackbarTop));
  panel.setValue(Ctl::LineTrackbar, std::clamp(static_cast<int>(state.LineVolume) - VolumeOffset, 0, TrackbarTop));
  Step([&] { tuning.SetTuningSpeed(storedSpeedMs / SpeedStepMs); });

  tuning.flags.KeypadActive = false;
  tuning.flags.KeypadText.clear();
  context.scan = ScanStatus{};
  panel.press(Ctl::StopBtn);
  platform.tuningTimer.setEnabled(false);
  tuning.flags.TuningActive = false;
  context.flags.MeterHiSens = false;

  meter.SetMeterMaximum();
  platform.meterTimer.setInterval(MeterIntervalMs);
  platform.meterTimer.setEnabled(true);
  platform.clockTimer.setEnabled(false);
  platform.clockTimer.setInterval(ClockIntervalMs);
  platform.clockTimer.setEnabled(true);
  panel.setChecked(Ctl::HintItem, state.ShowHints != 0);

  RunSteps(startupSteps.afterStartup);

  inStartup_ = false;
  context.flags.StartupComplete = true;

  // Words from the companion are taken once the panel is ready for them.
  std::string listenError;
  if (!platform.companion.listen(listenError))
    ReportError("The companion link is not available" + (listenError.empty() ? "" : ": " + listenError));
}

void FrontPanel::ApplyLoadedTuning() {
  controls.ShowMode(state.Mode);
  tuning.SetTuningStep(tuning.StepValueOfRow(state.StepIndex));
  controls.SelectFilter(state.FilterIndex);
  controls.ShowAGC(state.AGC);
  controls.ShowPBT();
}

void FrontPanel::SaveStateAndShutdown() {
  if (context.flags.ShuttingDown) return;
  inStartup_ = false;

  panel.setCaption(Ctl::StatusPanel, "Shutting down...");
  if (context.flags.RemoteControlOn) {
    Step([&] { dispatcher->SendToCompanion("Bye"); });
    context.flags.RemoteControlOn = false;
  }
  context.flags.ShuttingDown = true;
  for (Timer* timer : {&platform.meterTimer, &platform.tuningTimer, &platform.clockTimer, &platform.scanTimer})
    timer->setEnabled(false);
  if (state.MuteOnExit) Step([&] { receiver.SendExitMute(); });
  if (context.scan.running()) Step([&] { tuning.EndScanOrTuning(); });

  RunSteps(shutdownSteps.beforeSaving);
  RunSteps(shutdownSteps.saveBeforeTuning);

  // A file that cannot be written is reported; the others are still saved.
  Step([&] { WriteTuningDat(programDir_, state, context.decimalSeparator); });
  try {
    WriteOndarisDat(programDir_, state);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "ondaris: %s\n", error.what());
    platform.messages.showMessage(OndarisDatSaveFailedMessage);
  }

  RunSteps(shutdownSteps.saveAfterState);

  // Closing hands the queued exit mute to the line before the port goes.
  Step([&] { link_->close(); });
  platform.companion.close();
}

}  // namespace ondaris
