#include "app/FrontPanel.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "common/ProgramDir.h"
#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "freqfiles/Backup.h"
#include "freqfiles/MasterList.h"
#include "logbook/LogGridLayout.h"
#include "platform/CompanionTransport.h"
#include "platform/FileDialogs.h"
#include "radio/CommandDispatcher.h"
#include "radio/RigctlServer.h"
#include "radio/StateFiles.h"
#include "scan/ScanSpeeds.h"
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
      meter(context, receiver, controls),
      dataModes(context, receiver, controls, tuning, programDir_),
      stations(context, receiver, controls, tuning, programDir_),
      files(context, stations, platform.fileDialogs, programDir_),
      eibiImport(context, files, platform.fileDialogs),
      scratch(context, receiver, controls, tuning, programDir_),
      limits(context, controls, tuning, scanSettings, programDir_),
      limitDialog(context, scanSettings),
      bandDialog(context, controls, tuning, scanSettings, programDir_),
      onAir(context, stations),
      editor(context, stations),
      clipboard(context, stations, onAir),
      lookup(context, stations, files, programDir_),
      recent(context, files, programDir_),
      options(context, receiver, tuning, meter, platform.fileDialogs, programDir_),
      scheduler(context, receiver, controls, programDir_),
      skedDialog(context, scheduler),
      logbookOptions(logbook, programDir_, platform.messages),
      rigctlOptions(context, rigctlSettings, programDir_) {
  controls.setTuning(&tuning);
  options.addSection(logbookOptions);
  options.addSection(rigctlOptions);
  dispatcher = std::make_unique<CommandDispatcher>(context, receiver, controls, tuning, meter, platform.companion);
  clock = std::make_unique<ClockController>(context);
  clock->meterPercent = [this] { return meter.MeterPercent(); };
  clock->sendMeterReport = [this](int percent) { dispatcher->SendMeterReport(percent); };
  context.reportError = [this](const std::string& text) { ReportError(text); };
  // The scan engine takes ScanTimer's tick before the ticks are guarded.
  scan = std::make_unique<ScanEngine>(context, receiver, tuning, scratch, stations, limits, scanSettings);
  if (platform.rigctlListener)
    rigctl = std::make_unique<RigctlServer>(context, receiver, controls, tuning, *platform.rigctlListener);
  rigctlOptions.setServer(rigctl.get());
  WireTimersAndLink();
  WireParts();
}

FrontPanel::~FrontPanel() {
  rigctlOptions.setServer(nullptr);
  rigctl.reset();
  scan.reset();
  bandDialog.resetScanSelection = nullptr;
  bandDialog.chooseBandScan = nullptr;
  platform.clockTimer.setEnabled(false);
  platform.clockTimer.onTimer = nullptr;
  link_->onError = nullptr;
  link_->onReopened = nullptr;
  lookup.sendToCompanion = nullptr;
  tuning.enterWithoutKeypad = nullptr;
  context.reportError = nullptr;
}

void FrontPanel::WireParts() {
  // The companion's words that concern the station list.
  dispatcher->locateInFrequencyList = [this](double freqKHz) { stations.LocateFrequency(freqKHz); };
  dispatcher->appendFrequencyEntry = [this](const RemoteEntry& entry) { stations.AppendRemoteEntry(entry); };
  dispatcher->sortFrequencyListByFrequency = [this] { stations.SortByFreq(); };
  lookup.sendToCompanion = [this](const std::string& text) { dispatcher->SendToCompanion(text); };

  // Enter with nothing typed tunes the grid's current row.
  tuning.enterWithoutKeypad = [this] { stations.TuneSelectedRow(); };

  // The grid tunes at most once per tick; the on-air colours follow the minute.
  clock->everyTick.push_back([this] { stations.ClockTick(); });
  clock->everyMinute.push_back([this](const DateTime&, const DateTime&) { onAir.MinuteTick(); });

  WireScheduler();

  // The scan engine: the limit and band dialogs' Cancel, the Band Scan
  // button and the companion's hello.
  scan->Attach(limitDialog);
  scan->Attach(*dispatcher);
  bandDialog.resetScanSelection = [this] { scan->ResetScanSelection(); };
  bandDialog.chooseBandScan = [this] { scan->ChooseBandScan(); };
  scan->bandScanButton = [this] { bandDialog.BandScanBtnClick(); };

  link_->onReopened = [this] { ResendReceiverState(); };
}

void FrontPanel::WireScheduler() {
  // After the on-air view, the scheduler's minute check; the status line
  // follows the scheduler on every tick.
  clock->everyMinute.push_back([this](const DateTime& utc, const DateTime&) { scheduler.MinuteCheck(utc); });
  clock->schedulerStatus = [this] { return scheduler.ClockStatus(); };
  scheduler.stopScan = [this] { scan->StopScan(); };
  scheduler.sendToCompanion = [this](const std::string& text) { dispatcher->SendToCompanion(text); };
  // Read when needed, so that a change in the options is followed at once.
  scheduler.useEuroDate = [this] { return logbook.UseEuroDate; };
  skedDialog.cursorRecord = [this]() -> std::optional<FrequencyRecord> {
    const int record = stations.list.RecordAtRow(stations.grid.Row);
    if (record < 0) return std::nullopt;
    return stations.list.Record(record);
  };
}

void FrontPanel::ResendReceiverState() {
  // Start-up sends the state itself, and at exit only the mute matters.
  if (!context.flags.StartupComplete || context.flags.ShuttingDown) return;
  Step([this] {
    receiver.SendVolumes();
    receiver.TuneRadio();
  });
}

void FrontPanel::MasterFreqClick() {
  GenerateMasterList(programDir_, files.FreqFileFolder(), context.decimalSeparator, platform.messages);
}

void FrontPanel::BackupItemClick() { BackUpData(programDir_, scratch.pad, limits.ranges, platform.messages); }

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
  guard(platform.scanTimer);
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

  // Working folders, then the old-format conversions.
  for (const std::string& problem : BuildWorkingDirectories(programDir_)) platform.messages.showMessage(problem);
  Step([this] { ConvertMasterListToTabs(programDir_, platform.messages); });
  Step([this] { ConvertOldLogFile(programDir_, platform.messages); });
  RunSteps(startupSteps.convertOldFiles);

  // The control tables, then the grid with its column widths; the file and
  // edit commands wait for a list.
  // The ten Reopen items are all in the menu; an empty one is disabled.
  for (int i = 0; i < RecentFileCount; ++i) panel.setVisible(ReopenItem(i), true);
  Step([this] { recent.BuildMenuItems(); });
  Step([this] { limits.ShowMenuItems(); });
  // The speed buttons as the form has them until a scan kind is chosen.
  for (int i = 0; i < 6; ++i) panel.setCaption(ScanSpeedButton(i), StartupScanSpeeds.captions[i]);
  scanSettings.SpeedIntervals = StartupScanSpeeds.intervalsMs;
  RunSteps(startupSteps.buildTables);
  Step([this] { stations.StartupGridSetUp(); });

  context.flags.ShuttingDown = false;
  state.DataBFOActive = 0;

  Step([this] { limits.LoadLimitRanges(); });
  Step([this] { scratch.LoadScratchpad(); });
  RunSteps(startupSteps.loadBeforeTuning);

  // Tuning.dat is read now and parsed once every other file is in.
  TuningLines tuningLines = DefaultTuningLines(context.decimalSeparator);
  Step([&] { tuningLines = ReadTuningLines(programDir_, platform.messages, context.decimalSeparator); });

  Step([this] { dataModes.Load(); });
  RunSteps(startupSteps.loadAfterTuning);
  logbook.Export = LoadLogExportSettings(programDir_);

  Step([&] {
    try {
      ReadOndarisDat(programDir_, state, platform.messages);
    } catch (...) {
      ApplyOndarisDefaults(state);
      throw;
    }
  });

  RunSteps(startupSteps.loadAfterState);
  Step([this] { recent.ReadReopenDat(); });
  RunSteps(startupSteps.loadAfterRecentFiles);
  logbook.UseEuroDate = LoadLogDateFormat(programDir_);

  context.flags.RemoteControlOn = false;
  context.flags.BroadcastActive = false;
  Step([this] { clipboard.ClearAtStartup(); });
  tuning.flags.UpBtnHeld = false;
  tuning.flags.DnBtnHeld = false;
  tuning.flags.HoldTuned = false;
  state.AlarmArmed = 0;
  logbook.LayoutFileName = LogGridLayoutFileName(logbook.MainWindowWidth);
  RunSteps(startupSteps.beforeTuningParsed);

  // A line that is no number is reported and its field keeps its
  // first-start value; every line that reads is taken.
  Step([&] { ApplyTuningLines(tuningLines, state, context.decimalSeparator); });
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

  // The station list of the last run; without one the grid is disabled.
  Step([this] { files.LoadLastFrequencyFile(); });
  RunSteps(startupSteps.loadLastFrequencyFile);

  controls.ApplyOptionDefaults();
  Step([this] { scan->ResetScanResumeState(); });
  RunSteps(startupSteps.beforeTimers);

  panel.setValue(Ctl::SpkrTrackbar, std::clamp(static_cast<int>(state.SpkrVolume) - VolumeOffset, 0, TrackbarTop));
  panel.setValue(Ctl::LineTrackbar, std::clamp(static_cast<int>(state.LineVolume) - VolumeOffset, 0, TrackbarTop));
  Step([&] { tuning.SetTuningSpeed(storedSpeedMs / SpeedStepMs); });

  tuning.flags.KeypadActive = false;
  tuning.flags.KeypadText.clear();
  context.scan = ScanStatus{};
  scanSettings.LimitLow = 0;
  scanSettings.LimitHigh = 0;
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

  // The dialogs that follow the main window, the limit-scan setup first.
  Step([this] { limitDialog.FormCreate(); });
  Step([this] { bandDialog.FormCreate(); });
  RunSteps(startupSteps.afterStartup);

  inStartup_ = false;
  context.flags.StartupComplete = true;

  // Words from the companion are taken once the panel is ready for them.
  std::string listenError;
  if (!platform.companion.listen(listenError))
    ReportError("The companion link is not available" + (listenError.empty() ? "" : ": " + listenError));
  StartRigctlServer();
}

void FrontPanel::StartRigctlServer() {
  Step([this] { rigctlSettings = ReadRigctlSettings(programDir_); });
  if (!rigctl) return;
  const bool on = rigctlSettings.enabled || rigctlPortOverride_ > 0;
  const int port = rigctlPortOverride_ > 0 ? rigctlPortOverride_ : rigctlSettings.port;
  std::string problem;
  if (on && !rigctl->Start(rigctlSettings.address, port, problem)) ReportError(problem);
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
  // No client changes anything while the state is being saved.
  if (rigctl) rigctl->Stop();
  if (context.flags.RemoteControlOn) {
    Step([&] { dispatcher->SendToCompanion("Bye"); });
    context.flags.RemoteControlOn = false;
  }
  context.flags.ShuttingDown = true;
  for (Timer* timer : {&platform.meterTimer, &platform.tuningTimer, &platform.clockTimer, &platform.scanTimer})
    timer->setEnabled(false);
  if (state.MuteOnExit) Step([&] { receiver.SendExitMute(); });
  if (context.scan.running()) Step([&] { tuning.EndScanOrTuning(); });

  // A changed station list is offered for saving before anything is written.
  Step([this] { files.AskToSaveAtExit(); });
  // A scheduled broadcast on the air ends with its recording saved and its
  // log line written; a schedule being edited is kept.
  Step([this] { scheduler.EndBroadcastAtExit(); });
  if (skedDialog.isOpen()) Step([this] { skedDialog.ExitBtnClick(); });
  RunSteps(shutdownSteps.beforeSaving);

  Step([this] { limits.SaveLimitRanges(); });
  Step([this] { recent.WriteReopenDat(); });
  Step([this] { scratch.SaveScratchpad(); });
  RunSteps(shutdownSteps.saveBeforeTuning);

  // A file that cannot be written is reported; the others are still saved.
  Step([&] { WriteTuningDat(programDir_, state, context.decimalSeparator); });
  try {
    // A text too long for its field is left out and said so; it never costs
    // the rest of the state.
    std::vector<std::string> dropped;
    const RadioState storable = StorableState(state, programDir_, dropped);
    for (const std::string& text : dropped) platform.messages.showMessage(text);
    WriteOndarisDat(programDir_, storable);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "ondaris: %s\n", error.what());
    platform.messages.showMessage(OndarisDatSaveFailedMessage);
  }

  RunSteps(shutdownSteps.saveAfterState);
  Step([this] { stations.SaveGridWidths(); });

  // Closing hands the queued exit mute to the line before the port goes.
  Step([&] { link_->close(); });
  platform.companion.close();
}

}  // namespace ondaris
