#pragma once
// The scheduler: the schedule of broadcasts, whether it is armed, and what
// the clock's minute check does with it. While armed, the first tick of each
// UTC minute removes the entries whose time has passed and starts the entry
// whose time has come: the scan stops, the companion is told goodbye, the
// receiver is tuned to the entry's frequency, mode, filter, AGC and PBT, the
// outputs are muted as the entry says and the broadcast is recorded when it
// should be. At the end time the recording is saved, the mutes are put back
// and the broadcast leaves its line in Export/SchedulerLog.txt. The
// receiver stays where the broadcast left it.
//
// The scheduler never comes up armed; the schedule is read at the first
// minute check and whenever the dialog opens. Everything runs on the
// user-interface thread.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "platform/Clock.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "timekeeping/ClockController.h"
#include "timekeeping/ScheduleFiles.h"

namespace ondaris {

class Receiver;
class ReceiverControls;

inline constexpr const char* SchedulerOffCaption = "Scheduler Off";
inline constexpr const char* SchedulerOnCaption = "Scheduler On";
// The caption the schedule's loading gives the button while armed, as the
// listener has always seen it.
inline constexpr const char* SchedulerOnLoadedCaption = "Sceduler On";
inline constexpr const char* SchedulerArmedStatus = "Scheduler Armed";
inline constexpr const char* SchedulerEmptyStatus = "Scheduler Empty";
inline constexpr const char* ScheduleSaveFailedMessage = "Could not save SysFiles\\Scheduler.dat.";
inline constexpr const char* SkedColsSaveFailedMessage = "Could not save SysFiles\\SkedCols.dat.";

// What the recorder offers a scheduled broadcast.
struct BroadcastRecorder {
  // Starts recording into a new wave file; true with the file's name, or
  // false with the reason it could not start.
  std::function<bool(std::string& fileName, std::string& error)> start;
  // Stops and saves the recording; false with the reason when it could not
  // be saved.
  std::function<bool(std::string& error)> stop;
};

// The broadcast that holds the receiver now.
struct ActiveBroadcast {
  double freqKHz = 0;
  std::string station;
  std::string onTime, offTime, startDate, endDate;
  int onHHMM = 0;
  int offHHMM = 0;
  std::int64_t endMinutes = 0;  // comparison key of its end
  int actualStartHHMM = 0;      // when it really started (UTC)
  std::uint8_t savedSpkrMute = 0;
  std::uint8_t savedLineMute = 0;
  std::string waveFile;          // while recording
  std::string recordingProblem;  // why it is not recorded although it should be
};

class Scheduler {
 public:
  Scheduler(PanelContext& context, Receiver& receiver, ReceiverControls& controls, std::string programDir);
  Scheduler(const Scheduler&) = delete;
  Scheduler& operator=(const Scheduler&) = delete;

  // ---- Hooks ----
  std::function<void()> stopScan;                           // the scan engine's StopScan
  std::function<void(const std::string&)> sendToCompanion;  // "Bye" when a broadcast takes over
  std::function<bool()> useEuroDate;                        // the day-first date option
  BroadcastRecorder recorder;
  std::function<void()> scheduleChanged;  // the dialog's grid shows the schedule again
  std::function<void()> scheduleLoaded;   // after LoadSchedule (the dialog selects row 1)

  // ---- State ----
  std::vector<ScheduleEntry> schedule;  // kept sorted by start
  bool SchedulerOff = true;
  bool ScheduleLoaded = false;
  bool RecordingBroadcast = false;
  std::optional<ActiveBroadcast> active;
  std::string OnOffCaption = SchedulerOffCaption;
  SkedColumns columns = DefaultSkedColumns(DefaultGridClientWidth);
  static constexpr int DefaultGridClientWidth = 720;
  int gridClientWidth = DefaultGridClientWidth;

  bool BroadcastActive() const { return ctx_.flags.BroadcastActive; }
  bool UseEuroDate() const { return useEuroDate && useEuroDate(); }
  const std::string& programDir() const { return programDir_; }

  // The button caption, the column layout (SkedCols.dat or the defaults)
  // and the schedule from Scheduler.dat; refused entries are reported.
  void LoadSchedule();
  // Every entry to Scheduler.dat and the columns to SkedCols.dat; a file
  // that cannot be written is reported with its message. True when both were
  // written.
  bool SaveSchedule();
  // Sorts by start and tells the dialog.
  void SortAndShow();

  // The clock's check on the first tick of each UTC minute.
  void MinuteCheck(const DateTime& utc);
  // Takes out the entries that are over and returns the one due now, if any.
  std::optional<std::size_t> FindDueEntry(const DateTime& utc);
  void StartScheduledBroadcast(std::size_t index, const DateTime& utc);
  void EndScheduledBroadcast();
  // OnOffBtn: armed -> off (a running broadcast ends); off -> armed when
  // the schedule has entries.
  void OnOffBtnClick();
  // Exit: a running broadcast's recording is saved and its line written;
  // the mutes it changed are put back in the state without sending (the
  // exit mute has gone out already).
  void EndBroadcastAtExit();

  // For the clock's status line.
  SchedulerClockStatus ClockStatus() const;

 private:
  void RemoveEntry(std::size_t index);
  void StartDueEntry(const DateTime& utc);
  bool BroadcastIsOver(const DateTime& utc) const;
  void FinishBroadcast(bool sendMutes);
  std::int64_t NowMinutes(const DateTime& utc) const;
  // Runs a send; an error is reported and the broadcast goes on.
  void Send(const std::function<void()>& send);
  void Changed() const;

  PanelContext& ctx_;
  Receiver& receiver_;
  ReceiverControls& controls_;
  std::string programDir_;
};

}  // namespace ondaris
