#include "timekeeping/Recorder.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "common/AtomicFile.h"
#include "common/DateRoutines.h"
#include "common/TextHelpers.h"
#include "platform/Audio.h"
#include "platform/FileDialogs.h"
#include "platform/Timer.h"
#include "radio/Receiver.h"
#include "radio/TuningController.h"

namespace ondaris {

namespace fs = std::filesystem;

namespace {

constexpr int TimedStepSeconds = 300;
constexpr int PBTimerMs = 1000;

std::string StemOf(const std::string& name) {
  const std::string ext = ".wav";
  if (name.size() > ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0)
    return name.substr(0, name.size() - ext.size());
  return name;
}

// Renames, or copies and removes when the folders are on different disks.
bool MoveFile(const std::string& from, const std::string& to, std::string& error) {
  std::error_code ec;
  fs::rename(from, to, ec);
  if (!ec) return true;
  if (ec != std::errc::cross_device_link) {
    error = ec.message();
    return false;
  }
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    error = ec.message();
    fs::remove(to, ec);
    return false;
  }
  fs::remove(from, ec);
  return true;
}

}  // namespace

Recorder::Recorder(PanelContext& context, Receiver& receiver, TuningController& tuning, WaveRecorder& device,
                   SoundPlayer& player, FileDialogs& dialogs, Timer& pbTimer, std::string programDir)
    : ctx_(context),
      receiver_(receiver),
      tuning_(tuning),
      device_(device),
      player_(player),
      dialogs_(dialogs),
      pbTimer_(pbTimer),
      programDir_(std::move(programDir)) {
  pbTimer_.onTimer = [this] { PBTimerTimer(); };
  device_.onFailure = [this](const std::string& reason) { DeviceFailed(reason); };
}

Recorder::~Recorder() {
  pbTimer_.setEnabled(false);
  pbTimer_.onTimer = nullptr;
  device_.onFailure = nullptr;
}

std::string Recorder::MakeWaveFileName() const {
  const DateTime utc = ctx_.clock.utcNow();
  char text[64];
  std::snprintf(text, sizeof text, "%ld_%02d%02d%02d_%02d%02d.wav", std::lround(ctx_.state.Freq), utc.month, utc.day,
                utc.year % 100, utc.hour, utc.minute);
  return text;
}

std::string Recorder::WorkingPath() const { return waveDirectory_ + StemOf(waveFileName_) + ".recording.wav"; }

// ---- Controls ----------------------------------------------------------------

void Recorder::ShowTimedControls() {
  dlg.TimedControlsVisible = true;
  dlg.ByeBtnX = 64;
}

void Recorder::HideTimedControls() {
  timed_ = false;
  timedRemaining_ = 0;
  dlg.TimedRecDisp.clear();
  dlg.TimedControlsVisible = false;
  dlg.ByeBtnX = 144;
}

void Recorder::IdleButtons() { dlg.PlayBtnEnabled = dlg.RecordBtnEnabled = dlg.PauseBtnEnabled = dlg.StopBtnEnabled = true; }

void Recorder::RecordingButtons() {
  IdleButtons();
  dlg.PlayBtnEnabled = false;
}

void Recorder::PausedButtons() {
  IdleButtons();
  dlg.PlayBtnEnabled = dlg.PauseBtnEnabled = false;
}

void Recorder::PlayingButtons() {
  IdleButtons();
  dlg.RecordBtnEnabled = dlg.PauseBtnEnabled = false;
}

void Recorder::ResetDialog() {
  dlg.StatusDisp = "Stopped";
  HideTimedControls();
  IdleButtons();
  dlg.PBBarVisible = false;
  timed_ = false;
  timedRemaining_ = 0;
  unsaved_ = paused_ = active_ = false;
}

// ---- The device --------------------------------------------------------------

bool Recorder::OpenRecording(std::string& error) {
  if (waveDirectory_.empty()) FormCreate();
  workingPath_ = WorkingPath();
  if (!device_.startRecording(workingPath_, error)) {
    workingPath_.clear();
    return false;
  }
  unsaved_ = true;
  return true;
}

void Recorder::StopDevice() {
  if (device_.recordingOpen()) device_.finishRecording();
}

void Recorder::StopPlaying() {
  if (playing_) player_.stopAll();
  playing_ = false;
  pbTimer_.setEnabled(false);
}

bool Recorder::SaveRecording(bool replace, std::string* error) {
  StopDevice();
  if (workingPath_.empty() || !FileExists(workingPath_)) return true;
  std::string target = waveDirectory_ + waveFileName_;
  if (!replace) {
    const std::string stem = StemOf(waveFileName_);
    for (int n = 2; FileExists(target); ++n) {
      waveFileName_ = stem + "_" + std::to_string(n) + ".wav";
      target = waveDirectory_ + waveFileName_;
    }
  }
  std::string reason;
  if (!MoveFile(workingPath_, target, reason)) {
    const std::string text = "Could not save " + target + " (" + reason + ")";
    dlg.StatusDisp = text;
    if (error) *error = text;
    return false;
  }
  workingPath_.clear();
  unsaved_ = false;
  dlg.StatusDisp = "Saved";
  return true;
}

void Recorder::CloseDevice() {
  StopDevice();
  if (unsaved_ && !workingPath_.empty()) {
    std::error_code ec;
    fs::remove(workingPath_, ec);
  }
  workingPath_.clear();
  unsaved_ = false;
}

void Recorder::KeepRecording() {
  StopDevice();
  recording_ = paused_ = active_ = broadcast_ = false;
  if (unsaved_) SaveRecording(false);
}

void Recorder::DeviceFailed(const std::string& reason) {
  KeepRecording();
  dlg.StatusDisp = "Recording stopped: " + reason;
  IdleButtons();
  std::fprintf(stderr, "ondaris: the recording stopped: %s (kept as %s)\n", reason.c_str(), WaveFilePath().c_str());
}

// ---- Start-up, exit, errors ----------------------------------------------------

void Recorder::FormCreate() { waveDirectory_ = programDir_ + "WaveFiles/"; }

void Recorder::ErrorRoutine() {
  dlg.StatusDisp = SessionClosedText;
  active_ = paused_ = false;
  if (!broadcast_ && (recording_ || unsaved_)) {
    KeepRecording();
    dlg.StatusDisp = SessionClosedText;
    IdleButtons();
  }
}

void Recorder::CloseAtExit() {
  StopPlaying();
  if (recording_ || paused_ || unsaved_) KeepRecording();
}

// ---- The main window -----------------------------------------------------------

void Recorder::RecordItemClick() {
  // A recording or a playback in progress is shown as it is, never forgotten.
  if (!Busy()) ResetDialog();
  if (showDialog) showDialog();
}

void Recorder::ExpressRecBtnClick() {
  if (active_ || Busy()) return;
  tuning_.EndScanOrTuning();
  ctx_.panel.release(Ctl::ScanBtn);
  ctx_.state.LineMute = 0;
  receiver_.SendVolumes();
  ResetDialog();
  RecordBtnClick();
  if (showDialog) showDialog();
}

// ---- The dialog ----------------------------------------------------------------

void Recorder::RecordBtnClick() {
  if (broadcast_ || playing_) return;
  if (recording_ && !paused_) {  // already recording: only the timed controls come back
    ShowTimedControls();
    return;
  }
  std::string error;
  if (!paused_) {
    ShowTimedControls();
    waveFileName_ = MakeWaveFileName();
    if (!OpenRecording(error)) {
      HideTimedControls();
      dlg.StatusDisp = "Cannot record: " + error;
      std::fprintf(stderr, "ondaris: cannot record: %s\n", error.c_str());
      return;
    }
  } else if (!device_.resumeRecording(error)) {
    dlg.StatusDisp = "Cannot record: " + error;
    return;
  }
  paused_ = false;
  recording_ = active_ = true;
  dlg.StatusDisp = "Recording";
  RecordingButtons();
}

void Recorder::PauseBtnClick() {
  if (!recording_ || paused_ || broadcast_) return;
  PausedButtons();
  device_.pauseRecording();
  paused_ = true;
  active_ = false;
  dlg.StatusDisp = "Paused";
}

void Recorder::MoreTimeBtnClick() {
  timed_ = true;
  timedRemaining_ += TimedStepSeconds;
  dlg.TimedRecDisp = FormatSeconds(timedRemaining_);
}

void Recorder::LessTimeBtnClick() {
  if (timedRemaining_ - TimedStepSeconds <= 0) return;
  timedRemaining_ -= TimedStepSeconds;
  dlg.TimedRecDisp = FormatSeconds(timedRemaining_);
}

void Recorder::ManualBtnClick() { HideTimedControls(); }

std::optional<std::string> Recorder::ChooseWaveFile(bool save) {
  FileDialogRequest request;
  request.title = save ? "Save" : "Open";
  request.folder = waveDirectory_;
  request.fileName = waveFileName_;
  request.filter = WaveFileFilter;
  request.defaultExtension = "wav";
  std::optional<std::string> chosen = save ? dialogs_.saveFile(request) : dialogs_.openFile(request);
  if (chosen) {
    waveDirectory_ = ExtractDirectoryPart(*chosen);
    waveFileName_ = ExtractFileNamePart(*chosen);
  }
  return chosen;
}

void Recorder::SaveLoop() {
  for (;;) {
    const std::optional<std::string> chosen = ChooseWaveFile(true);
    if (!chosen) {
      CloseDevice();
      IdleButtons();
      active_ = paused_ = recording_ = false;
      return;
    }
    if (waveFileName_.empty()) {
      ctx_.messages.showMessage(NoWaveNameMessage);
      CloseDevice();
      return;
    }
    if (!FileExists(*chosen) || ctx_.messages.askYesNo(WaveExistsQuestion)) {
      SaveRecording(true);
      return;
    }
  }
}

void Recorder::StopBtnClick() {
  if (broadcast_) return;
  HideTimedControls();
  StopPlaying();
  IdleButtons();
  StopDevice();
  paused_ = active_ = recording_ = false;
  dlg.StatusDisp = "Stopped";
  dlg.PBBarVisible = false;
  if (unsaved_) SaveLoop();
  CloseDevice();
}

void Recorder::PlayBtnClick() {
  if (recording_ || paused_ || broadcast_) return;
  if (waveDirectory_.empty()) FormCreate();
  const std::optional<std::string> chosen = ChooseWaveFile(false);
  if (!chosen) return;
  CloseDevice();  // an unsaved recording is dropped, as the listener chose another file

  PlayingButtons();
  active_ = true;
  dlg.StatusDisp = "Playing";
  if (!FileExists(*chosen)) {
    ctx_.messages.showMessage(WaveMissingMessage);
    StopBtnClick();
    return;
  }
  const std::int64_t lengthMs = device_.waveLengthMs(*chosen);
  std::string error;
  if (lengthMs < 0 || !player_.play(*chosen, false, error)) {
    StopBtnClick();
    dlg.StatusDisp = "Cannot play: " + (error.empty() ? std::string("not a wave file") : error);
    return;
  }
  playing_ = true;
  playLength_ = static_cast<int>(lengthMs / 1000) + 1;
  playElapsed_ = 0;
  dlg.PBBarMax = playLength_;
  dlg.PBBarPosition = 0;
  dlg.PBBarVisible = true;
  pbTimer_.setInterval(PBTimerMs);
  pbTimer_.setEnabled(true);
}

void Recorder::PBTimerTimer() {
  if (!active_ || !playing_) {
    pbTimer_.setEnabled(false);
    return;
  }
  ++playElapsed_;
  if (playElapsed_ < playLength_) {
    dlg.PBBarPosition = playElapsed_;
    dlg.StatusDisp = "Playing - " + FormatSeconds(playElapsed_);
    return;
  }
  StopPlaying();
  dlg.StatusDisp = "Stopped";
  active_ = paused_ = recording_ = false;
  dlg.PBBarVisible = false;
  IdleButtons();
}

void Recorder::ByeBtnClick() {
  if (!broadcast_) {
    HideTimedControls();
    StopDevice();
    StopPlaying();
    active_ = paused_ = recording_ = false;
    if (unsaved_ && ctx_.messages.askYesNo(SaveWaveQuestion)) SaveLoop();
    CloseDevice();
    IdleButtons();
  }
  if (hideDialog) hideDialog();
}

// ---- The clock -------------------------------------------------------------------

void Recorder::ClockTick() {
  if (recording_ && !paused_ && !broadcast_ && !ctx_.flags.BroadcastActive)
    dlg.StatusDisp = "Recording - " + FormatSeconds(device_.recordedMs() / 1000);
}

void Recorder::SecondTick() {
  if (!timed_ || !recording_ || paused_) return;
  --timedRemaining_;
  if (timedRemaining_ >= 1)
    dlg.TimedRecDisp = FormatSeconds(timedRemaining_);
  else
    EndTimedRecording();
}

void Recorder::EndTimedRecording() {
  StopDevice();
  SaveRecording(true);
  CloseDevice();
  recording_ = active_ = paused_ = false;
  HideTimedControls();
  IdleButtons();
  if (hideDialog) hideDialog();
}

// ---- The scheduler ------------------------------------------------------------------

bool Recorder::StartBroadcastRecording(const std::string& fileName, std::string& error) {
  if (Busy()) {
    error = "The recorder is in use";
    return false;
  }
  waveFileName_ = fileName.empty() ? MakeWaveFileName() : fileName;
  if (!OpenRecording(error)) return false;
  paused_ = false;
  recording_ = active_ = true;
  broadcast_ = true;
  return true;
}

bool Recorder::StopBroadcastRecording(std::string* error) {
  if (!broadcast_) return true;
  StopDevice();
  paused_ = active_ = recording_ = false;
  const bool saved = !unsaved_ || SaveRecording(true, error);
  // One that could not be saved stays in its working file for the listener's Stop.
  broadcast_ = false;
  if (saved) CloseDevice();
  return saved;
}

}  // namespace ondaris
