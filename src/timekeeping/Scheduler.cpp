#include "timekeeping/Scheduler.h"

#include <exception>

#include "common/DateRoutines.h"
#include "common/Errors.h"
#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"
#include "radio/Rx320Protocol.h"

namespace ondaris {

namespace {

// The filter row of a bandwidth; the narrowest filter when none matches.
int FilterRowOf(std::int32_t bandwidthHz) {
  for (int row = 0; row < FilterCount; ++row)
    if (FilterTable[row].bandwidthHz == bandwidthHz) return row;
  return FilterCount - 1;
}

int ModeOf(const std::string& text) {
  for (int mode = 0; mode < 4; ++mode)
    if (text == ModeTableEntry(mode).name) return mode;
  return -1;
}

}  // namespace

Scheduler::Scheduler(PanelContext& context, Receiver& receiver, ReceiverControls& controls, std::string programDir)
    : ctx_(context), receiver_(receiver), controls_(controls), programDir_(std::move(programDir)) {}

void Scheduler::Changed() const {
  if (scheduleChanged) scheduleChanged();
}

void Scheduler::Send(const std::function<void()>& send) {
  try {
    send();
  } catch (const std::exception& error) {
    ctx_.ReportError(error.what());
  }
}

// ---- Files -------------------------------------------------------------------

void Scheduler::LoadSchedule() {
  OnOffCaption = SchedulerOff ? SchedulerOffCaption : SchedulerOnLoadedCaption;
  try {
    columns = ReadSkedColumns(programDir_, gridClientWidth);
  } catch (const std::exception& error) {
    columns = DefaultSkedColumns(gridClientWidth);
    ctx_.ReportError(error.what());
  }
  schedule.clear();
  // Loaded from here on even when the file cannot be read, so that the
  // minute check does not retry it every minute.
  ScheduleLoaded = true;
  try {
    ScheduleReadResult read = ReadSchedule(programDir_, UseEuroDate());
    schedule = std::move(read.entries);
    for (const std::string& problem : read.problems) ctx_.ReportError(problem);
  } catch (const std::exception& error) {
    ctx_.ReportError(error.what());
  }
  if (scheduleLoaded) scheduleLoaded();
  Changed();
}

bool Scheduler::SaveSchedule() {
  bool saved = true;
  try {
    WriteSchedule(programDir_, schedule);
  } catch (const std::exception& error) {
    ctx_.messages.showMessage(std::string(ScheduleSaveFailedMessage) + "\n" + error.what());
    saved = false;
  }
  try {
    WriteSkedColumns(programDir_, columns);
  } catch (const std::exception& error) {
    ctx_.messages.showMessage(std::string(SkedColsSaveFailedMessage) + "\n" + error.what());
    saved = false;
  }
  return saved;
}

void Scheduler::SortAndShow() {
  SortSchedule(schedule, UseEuroDate());
  Changed();
}

// ---- The minute check ----------------------------------------------------------

std::int64_t Scheduler::NowMinutes(const DateTime& utc) const {
  return DateToMinutes(UtcDateText(utc)) + utc.hour * 60 + utc.minute;
}

void Scheduler::MinuteCheck(const DateTime& utc) {
  if (!ScheduleLoaded) {
    LoadSchedule();
    return;
  }
  if (BroadcastActive()) {
    if (!BroadcastIsOver(utc)) return;
    EndScheduledBroadcast();
    // An entry that begins where this one ended starts in the same minute,
    // not a minute late.
    if (!SchedulerOff) StartDueEntry(utc);
    return;
  }
  if (!SchedulerOff) StartDueEntry(utc);
}

bool Scheduler::BroadcastIsOver(const DateTime& utc) const {
  if (!active) return true;
  if (utc.hour * 100 + utc.minute == active->offHHMM) return true;
  // End times the clock never shows (2400, minutes of 60 or more) and
  // minutes the clock skipped end the broadcast once its end has passed.
  return NowMinutes(utc) >= active->endMinutes;
}

void Scheduler::StartDueEntry(const DateTime& utc) {
  if (const std::optional<std::size_t> due = FindDueEntry(utc)) StartScheduledBroadcast(*due, utc);
}

std::optional<std::size_t> Scheduler::FindDueEntry(const DateTime& utc) {
  const bool euro = UseEuroDate();
  const std::int64_t now = NowMinutes(utc);
  std::size_t i = 0;
  while (i < schedule.size()) {
    const std::int64_t start = EntryStartMinutes(schedule[i], euro);
    const std::int64_t end = EntryEndMinutes(schedule[i], euro);
    if (now >= end) {
      // Over: it goes, and the entry that moves up is looked at next.
      RemoveEntry(i);
      continue;
    }
    if (now >= start) {
      schedule[i].Started = 1;
      return i;
    }
    ++i;
  }
  return std::nullopt;
}

void Scheduler::RemoveEntry(std::size_t index) {
  if (index >= schedule.size()) return;
  if (schedule.size() == 1) {
    schedule.clear();
    DeleteSchedule(programDir_);
    SchedulerOff = true;
    ctx_.panel.setCaption(Ctl::StatusPanel, SchedulerEmptyStatus);
    OnOffCaption = SchedulerOffCaption;
    Changed();
    return;
  }
  schedule.erase(schedule.begin() + static_cast<std::ptrdiff_t>(index));
  Changed();
  try {
    WriteSchedule(programDir_, schedule);
  } catch (const std::exception& error) {
    ctx_.ReportError(error.what());
  }
}

// ---- Starting and ending a broadcast -------------------------------------------

void Scheduler::StartScheduledBroadcast(std::size_t index, const DateTime& utc) {
  if (index >= schedule.size()) return;
  const ScheduleEntry& entry = schedule[index];
  RadioState& s = ctx_.state;

  if (stopScan) stopScan();
  if (ctx_.flags.RemoteControlOn) {
    if (sendToCompanion) Send([&] { sendToCompanion("Bye"); });
    ctx_.flags.RemoteControlOn = false;
  }

  ActiveBroadcast b;
  b.freqKHz = entry.Frequency;
  b.station = entry.Station;
  b.onTime = entry.OnTime;
  b.offTime = entry.OffTime;
  b.startDate = entry.StartDate;
  b.endDate = entry.EndDate;
  b.onHHMM = ScheduleTimeValue(entry.OnTime).value_or(0);
  b.offHHMM = ScheduleTimeValue(entry.OffTime).value_or(0);
  b.endMinutes = EntryEndMinutes(entry, UseEuroDate());
  b.actualStartHHMM = utc.hour * 100 + utc.minute;
  ctx_.flags.BroadcastActive = true;

  s.SaveLastFrequency();
  s.Freq = entry.Frequency;
  if (const int mode = ModeOf(entry.Mode); mode >= 0) {
    s.DataBFOActive = 0;
    s.Mode = static_cast<std::uint8_t>(mode);
    controls_.ShowMode(mode);
  }
  if (entry.AGC == "M") controls_.ShowAGCMedium();
  if (entry.AGC == "F") controls_.ShowAGCFast();
  if (entry.AGC == "S") controls_.ShowAGCSlow();
  controls_.SelectFilter(FilterRowOf(entry.Filter));
  s.PBT = entry.PBT;
  controls_.ShowPBT();
  Send([&] { receiver_.TuneRadio(); });

  b.savedSpkrMute = s.SpkrMute;
  b.savedLineMute = s.LineMute;
  s.SpkrMute = entry.MuteSpeaker;
  // The line output feeds the recording.
  s.LineMute = entry.Record ? 0 : entry.MuteLine;
  Send([&] { receiver_.SendVolumes(); });

  RecordingBroadcast = false;
  if (entry.Record) {
    std::string fileName, error;
    bool started = false;
    if (!recorder.start) {
      error = "no recorder is available";
    } else {
      try {
        started = recorder.start(fileName, error);
      } catch (const std::exception& failure) {
        error = failure.what();
      }
    }
    if (started) {
      RecordingBroadcast = true;
      b.waveFile = fileName;
    } else {
      if (error.empty()) error = "the recording could not start";
      b.recordingProblem = error;
      ctx_.ReportError("The scheduled broadcast is not being recorded: " + error);
    }
  }
  active = std::move(b);
  schedule[index].MarkStarted();
  Changed();
}

void Scheduler::EndScheduledBroadcast() { FinishBroadcast(true); }

void Scheduler::EndBroadcastAtExit() {
  if (BroadcastActive()) FinishBroadcast(false);
}

void Scheduler::FinishBroadcast(bool sendMutes) {
  RadioState& s = ctx_.state;
  ActiveBroadcast b = active.value_or(ActiveBroadcast{});
  if (RecordingBroadcast) {
    std::string error;
    bool saved = false;
    try {
      saved = recorder.stop && recorder.stop(error);
    } catch (const std::exception& failure) {
      error = failure.what();
    }
    if (!saved) {
      b.recordingProblem = "the recording could not be saved" + (error.empty() ? "" : ": " + error);
      b.waveFile.clear();
      ctx_.ReportError("The scheduled broadcast's " + b.recordingProblem);
    }
  }
  RecordingBroadcast = false;

  s.SpkrMute = b.savedSpkrMute;
  s.LineMute = b.savedLineMute;
  if (sendMutes) Send([&] { receiver_.SendVolumes(); });

  const DateTime utc = ctx_.clock.utcNow();
  BroadcastLogLine line;
  line.startDate = b.startDate;
  line.actualStartHHMM = b.actualStartHHMM;
  line.endedHHMM = utc.hour * 100 + utc.minute;
  line.freqKHz = b.freqKHz;
  line.station = b.station;
  line.waveFile = b.waveFile;
  line.recordingProblem = b.recordingProblem;
  try {
    AppendSchedulerLog(programDir_, SchedulerLogText(line));
  } catch (const std::exception& error) {
    ctx_.ReportError(error.what());
  }

  active.reset();
  Changed();
  ctx_.flags.BroadcastActive = false;
}

void Scheduler::OnOffBtnClick() {
  if (!SchedulerOff) {
    OnOffCaption = SchedulerOffCaption;
    SchedulerOff = true;
    if (BroadcastActive()) EndScheduledBroadcast();
    ctx_.panel.setCaption(Ctl::StatusPanel, SchedulerOffCaption);
    return;
  }
  if (schedule.empty()) return;
  OnOffCaption = SchedulerOnCaption;
  SchedulerOff = false;
  ctx_.panel.setCaption(Ctl::StatusPanel, SchedulerArmedStatus);
}

SchedulerClockStatus Scheduler::ClockStatus() const {
  SchedulerClockStatus status;
  status.armed = !SchedulerOff;
  status.broadcastOn = BroadcastActive();
  status.recording = RecordingBroadcast;
  if (active) {
    status.startHHMM = active->onHHMM;
    status.endHHMM = active->offHHMM;
  }
  return status;
}

}  // namespace ondaris
