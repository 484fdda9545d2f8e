#pragma once
// The wave recorder: manual, paused, timed and express recording of the
// receiver's line output, playback with its progress bar, and recordings of
// scheduled broadcasts, with what the "Manual Record and Playback" dialog
// (TRecordDlg) does, without its window.
//
// A recording is captured into a working file next to where it will be
// saved ("<name>.recording.wav" in WaveDirectory), so that what has been
// recorded is on disk as it comes in; saving moves it to its name, dropping
// it removes it. A recording that ends by itself (the device failed, an
// error closed the session, the program exits) is saved under its own name
// and never replaces another file.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "panel/PanelContext.h"
#include "platform/Clock.h"

namespace ondaris {

class FileDialogs;
class Receiver;
class SoundPlayer;
class Timer;
class TuningController;
class WaveRecorder;

inline constexpr const char* NoWaveNameMessage = "No wave file name has been entered - cannot save the file.";
inline constexpr const char* WaveExistsQuestion = "That file already exists.  Do you want to replace it?";
inline constexpr const char* WaveMissingMessage = "That file does not exist.";
inline constexpr const char* SaveWaveQuestion = "Do you want to save your wave file?";
inline constexpr const char* SessionClosedText = "Error !!  Session is closed.";
inline constexpr const char* WaveFileFilter = "Wave files (*.wav)";

// The dialog's controls as the window shows them.
struct RecordDialogFields {
  std::string StatusDisp;
  std::string TimedRecDisp;
  bool PlayBtnEnabled = true, RecordBtnEnabled = true, PauseBtnEnabled = true, StopBtnEnabled = true;
  // ManualBtn, MoreTimeBtn, LessTimeBtn, TimedRecDisp and TimedRecPanel.
  bool TimedControlsVisible = false;
  int ByeBtnX = 144;
  bool PBBarVisible = false;
  int PBBarMax = 0, PBBarPosition = 0;
};

class Recorder {
 public:
  static constexpr const char* Caption = "Manual Record and Playback";

  // Takes over the ticks of `pbTimer` (PBTimer, 1000 ms).
  Recorder(PanelContext& context, Receiver& receiver, TuningController& tuning, WaveRecorder& device,
           SoundPlayer& player, FileDialogs& dialogs, Timer& pbTimer, std::string programDir);
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  RecordDialogFields dlg;
  // Shows the dialog without blocking (it is not modal) and hides it.
  std::function<void()> showDialog;
  std::function<void()> hideDialog;

  // ---- For the scheduler ----
  // Starts recording a broadcast into WaveDirectory + fileName (the default
  // name of MakeWaveFileName when empty), without the dialog. Returns false
  // with the reason in `error` when it cannot start (the recorder is in use,
  // no input device, the folder cannot be written); nothing is recorded then.
  bool StartBroadcastRecording(const std::string& fileName, std::string& error);
  // Stops the broadcast's recording and saves it under its name (replacing
  // a file of that name). False with the reason when it could not be saved;
  // the recording then stays in its working file. Does nothing (true) when
  // no broadcast is being recorded.
  bool StopBroadcastRecording(std::string* error = nullptr);
  bool IsRecording() const { return recording_; }
  bool IsRecordingBroadcast() const { return broadcast_; }
  // The folder and name the present (or last) recording is saved as.
  std::string WaveFilePath() const { return waveDirectory_ + waveFileName_; }

  // ---- Start-up, exit, errors ----
  // When the dialog is created: WaveDirectory is the program's WaveFiles folder.
  void FormCreate();
  // The error routine that handles, from the end of start-up on, errors
  // nothing else caught: the status display reads "Error !!  Session is
  // closed." and a manual recording that runs is ended and kept.
  void ErrorRoutine();
  // At exit: playing stops, a recording (running, paused or unsaved) is
  // closed and kept.
  void CloseAtExit();

  // ---- The main window ----
  void RecordItemClick();
  void ExpressRecBtnClick();

  // ---- The dialog ----
  void RecordBtnClick();
  void StopBtnClick();
  void PlayBtnClick();
  void PauseBtnClick();
  void ByeBtnClick();  // also closing the window
  void LessTimeBtnClick();
  void MoreTimeBtnClick();
  void ManualBtnClick();
  void PBTimerTimer();

  // ---- The clock ----
  void ClockTick();  // every tick: the running time of a manual recording
  void SecondTick(); // every second: the timed recording's countdown
  void EndTimedRecording();

  // "<kHz>_<MMDDYY>_<HHMM>.wav" from the tuned frequency and the UTC clock.
  std::string MakeWaveFileName() const;

  // ---- State ----
  const std::string& WaveDirectory() const { return waveDirectory_; }
  const std::string& WaveFileName() const { return waveFileName_; }
  bool RecorderActive() const { return active_; }
  bool RecorderPaused() const { return paused_; }
  bool RecordingUnsaved() const { return unsaved_; }
  bool TimedRecording() const { return timed_; }
  int TimedRemaining() const { return timedRemaining_; }
  bool Playing() const { return playing_; }

 private:
  std::string WorkingPath() const;
  void ShowTimedControls();
  void HideTimedControls();
  void IdleButtons();
  void RecordingButtons();
  void PausedButtons();
  void PlayingButtons();
  void ResetDialog();
  bool Busy() const { return recording_ || paused_ || unsaved_ || playing_; }
  // Starts a new recording into the working file; false (status shown) when it cannot.
  bool OpenRecording(std::string& error);
  void StopDevice();
  void StopPlaying();
  // Moves the working file to WaveDirectory + WaveFileName.
  bool SaveRecording(bool replace, std::string* error = nullptr);
  // Asks for a wave file in the save or the open dialog, starting from the
  // last one; the chosen file becomes the last one.
  std::optional<std::string> ChooseWaveFile(bool save);
  void SaveLoop();
  // Drops a recording that was not saved.
  void CloseDevice();
  // Ends a recording and saves it under a name of its own.
  void KeepRecording();
  void DeviceFailed(const std::string& reason);

  PanelContext& ctx_;
  Receiver& receiver_;
  TuningController& tuning_;
  WaveRecorder& device_;
  SoundPlayer& player_;
  FileDialogs& dialogs_;
  Timer& pbTimer_;
  std::string programDir_;

  std::string waveDirectory_;
  std::string waveFileName_;
  std::string workingPath_;  // the open recording's working file; empty when none
  bool active_ = false;
  bool recording_ = false;
  bool paused_ = false;
  bool unsaved_ = false;
  bool timed_ = false;
  bool broadcast_ = false;
  bool playing_ = false;
  int timedRemaining_ = 0;
  int playLength_ = 0;
  int playElapsed_ = 0;
};

}  // namespace ondaris
