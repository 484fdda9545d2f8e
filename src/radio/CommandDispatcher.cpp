#include "radio/CommandDispatcher.h"

#include <exception>
#include <string_view>

#include "common/TextHelpers.h"
#include "platform/CompanionFrame.h"
#include "platform/CompanionTransport.h"
#include "radio/MeterController.h"
#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"
#include "radio/Rx320Protocol.h"
#include "radio/StepTable.h"
#include "radio/TuningController.h"

namespace ondaris {

namespace {

constexpr int TrackbarTop = 50;
constexpr int PbtLimit = 2000;
constexpr int PbtStep = 50;
constexpr double LowestRemoteKHz = 9.999;
constexpr double HighestRemoteKHz = 29999.999;

bool StartsWith(const std::string& word, char c) { return !word.empty() && word[0] == c; }

}  // namespace

std::optional<RemoteEntryFields> ParseRemoteEntryWord(const std::string& word) {
  if (word.size() < 10) return std::nullopt;
  RemoteEntryFields fields;
  std::size_t p = 1;  // the leading '*' is skipped
  for (int f = 0; f < 5; ++f) {
    if (p >= word.size()) return std::nullopt;
    // A field's first character is taken as it is, even a '*'.
    std::size_t end = p + 1;
    while (end < word.size() && word[end] != '*') ++end;
    if (end >= word.size()) return std::nullopt;  // no '*' before the end: too few fields
    fields[f] = word.substr(p, end - p);
    p = end + 1;
  }
  if (p >= word.size()) return std::nullopt;
  // The sixth field runs to the end and stops short of the last character.
  const std::size_t last = word.size() - 1;
  std::string sixth = (p < last) ? word.substr(p, last - p) : std::string();
  if (sixth.find('*') != std::string::npos) return std::nullopt;
  fields[5] = std::move(sixth);
  return fields;
}

CommandDispatcher::CommandDispatcher(PanelContext& context, Receiver& receiver, ReceiverControls& controls,
                                     TuningController& tuning, MeterController& meter,
                                     CompanionTransport& transport)
    : ctx_(context),
      receiver_(receiver),
      controls_(controls),
      tuning_(tuning),
      meter_(meter),
      transport_(transport) {
  ctx_.publishStatus = [this] { PublishStatus(); };
  transport_.onWord = [this](const std::string& word) { HandleIncomingWord(word); };
}

CommandDispatcher::~CommandDispatcher() {
  ctx_.publishStatus = nullptr;
  transport_.onWord = nullptr;
}

void CommandDispatcher::HandleIncomingWord(const std::string& word) {
  try {
    ExecuteRemoteCommand(word);
  } catch (const std::exception& error) {
    ctx_.ReportError(error.what());
  }
}

std::string CommandDispatcher::StatusReport() const {
  const RadioState& s = ctx_.state;
  int step = s.StepHz;
  if (s.StepIndex >= 0 && s.StepIndex < StepCount) {
    step = (s.StepIndex == 8 && s.NineKHzSteps) ? 9000 : StepTable[s.StepIndex].stepHz;
  }
  const char* agc = s.AGC == 3 ? "F" : s.AGC == 2 ? "M" : s.AGC == 1 ? "S" : "";

  std::string report = "*";
  auto field = [&report](std::string_view text) {
    report += text;
    report += '*';
  };
  field(FormatFrequency(3, true, s.Freq, ctx_.decimalSeparator));
  field(ModeTableEntry(s.Mode).name);
  field(std::to_string(s.Bandwidth));
  field(std::to_string(step));
  field(std::to_string(s.PBT));
  field(std::to_string(ctx_.panel[Ctl::SpkrTrackbar].value));
  field(std::to_string(ctx_.panel[Ctl::LineTrackbar].value));
  field(s.SpkrMute ? "True" : "False");
  field(s.LineMute ? "True" : "False");
  field(ctx_.flags.MeterHiSens ? "Hi" : "Lo");
  field(agc);
  return report;
}

void CommandDispatcher::PublishStatus() {
  if (!ctx_.flags.RemoteControlOn) return;
  SendToCompanion(StatusReport());
}

void CommandDispatcher::SendToCompanion(const std::string& text) {
  if (!ctx_.flags.RemoteControlOn || ctx_.flags.BroadcastActive) return;
  transport_.send(text.substr(0, CompanionTextMax));
}

void CommandDispatcher::SendMeterReport(int percent) {
  if (ctx_.flags.ShuttingDown) return;
  SendToCompanion(std::to_string(percent) + "xxxxxxxxxxxxxxx");
}

void CommandDispatcher::MoveTrackbar(Ctl trackbar, int delta) {
  const int position = ctx_.panel[trackbar].value + delta;
  // The companion's volume steps stop short of both ends: 50 and 0 are never
  // reached from here.
  if (delta > 0 ? !(position < TrackbarTop) : !(position > 0)) return;
  ctx_.panel.setValue(trackbar, position);
  if (trackbar == Ctl::SpkrTrackbar)
    ctx_.state.SpkrVolume = static_cast<std::uint8_t>(position + 13);
  else
    ctx_.state.LineVolume = static_cast<std::uint8_t>(position + 13);
  receiver_.SendVolumes();
}

void CommandDispatcher::StepRow(int row) {
  ctx_.state.StepIndex = row;
  const int value = (row == 8 && ctx_.state.NineKHzSteps) ? 9000 : StepTable[row].stepHz;
  tuning_.SetTuningStep(value);
}

void CommandDispatcher::ExecuteRemoteCommand(const std::string& word) {
  if (ctx_.flags.BroadcastActive) return;
  RadioState& s = ctx_.state;

  if (word == "Rcl") {
    tuning_.LastFreqBtnClick();
  } else if (word == "G1") {
    controls_.AGCBtnClick(1);
    ctx_.panel.press(Ctl::AGCSlowBtn);
  } else if (word == "G2") {
    controls_.AGCBtnClick(2);
    ctx_.panel.press(Ctl::AGCMedBtn);
  } else if (word == "G3") {
    controls_.AGCBtnClick(3);
    ctx_.panel.press(Ctl::AGCFastBtn);
  } else if (word == "S+") {
    MoveTrackbar(Ctl::SpkrTrackbar, +2);
  } else if (word == "S-") {
    MoveTrackbar(Ctl::SpkrTrackbar, -2);
  } else if (word == "L+") {
    MoveTrackbar(Ctl::LineTrackbar, +2);
  } else if (word == "L-") {
    MoveTrackbar(Ctl::LineTrackbar, -2);
  } else if (word == "B+") {
    MoveTrackbar(Ctl::SpkrTrackbar, +2);
    MoveTrackbar(Ctl::LineTrackbar, +2);
  } else if (word == "B-") {
    MoveTrackbar(Ctl::SpkrTrackbar, -2);
    MoveTrackbar(Ctl::LineTrackbar, -2);
  } else if (word == "U+") {
    tuning_.StartRemoteTuning(false);
  } else if (word == "U-") {
    tuning_.StopRemoteTuning(false);
  } else if (word == "D+") {
    tuning_.StartRemoteTuning(true);
  } else if (word == "D-") {
    tuning_.StopRemoteTuning(true);
  } else if (word == "MS") {
    s.SpkrMute = s.SpkrMute ? 0 : 1;
    receiver_.SendVolumes();
  } else if (word == "ML") {
    s.LineMute = s.LineMute ? 0 : 1;
    receiver_.SendVolumes();
  } else if (word == "MB") {
    s.SpkrMute = s.SpkrMute ? 0 : 1;
    s.LineMute = s.LineMute ? 0 : 1;
    receiver_.SendVolumes();
  } else if (word == "USB" || word == "LSB" || word == "AM" || word == "CW") {
    const int mode = word == "AM" ? 0 : word == "USB" ? 1 : word == "LSB" ? 2 : 3;
    controls_.ModeBtnClick(mode);
    receiver_.TuneRadio();
  } else if (word == "F-") {
    if (s.FilterIndex + 1 <= FilterCount - 1) {
      controls_.SelectFilter(s.FilterIndex + 1);
      receiver_.TuneRadio();
    }
  } else if (word == "F+") {
    if (s.FilterIndex - 1 >= 0) {
      controls_.SelectFilter(s.FilterIndex - 1);
      receiver_.TuneRadio();
    }
  } else if (StartsWith(word, '+')) {
    TuneAndLocate(word);
  } else if (word == "P+") {
    if (s.PBT + PbtStep <= PbtLimit) {
      s.PBT += PbtStep;
      controls_.ShowPBT();
      receiver_.TuneRadio();
    }
  } else if (word == "P-") {
    if (s.PBT - PbtStep >= -PbtLimit) {
      s.PBT -= PbtStep;
      controls_.ShowPBT();
      receiver_.TuneRadio();
    }
  } else if (word == "Px") {
    s.PBT = 0;
    controls_.ShowPBT();
    receiver_.TuneRadio();
  } else if (word == "T+") {
    tuning_.StepFrequencyUp();
  } else if (word == "T-") {
    tuning_.StepFrequencyDown();
  } else if (word == "I+") {
    if (s.StepIndex + 1 <= StepCount - 1) StepRow(s.StepIndex + 1);
  } else if (word == "I-") {
    if (s.StepIndex - 1 >= 0) StepRow(s.StepIndex - 1);
  } else if (word == "R") {
    tuning_.RoundBtnClick();
  } else if (StartsWith(word, '*')) {
    AddRemoteEntry(word);
  } else if (word == "Mt") {
    meter_.ToggleMeterSensitivity();
  } else if (word == "?") {
    Hello();
  } else if (word == "Bye") {
    ctx_.flags.RemoteControlOn = false;
  }
  // Anything else is not a command and is ignored.
}

void CommandDispatcher::Hello() {
  ctx_.flags.RemoteControlOn = true;
  ctx_.panel.setEnabled(Ctl::LookupBtn, true);
  ctx_.panel.release(Ctl::FileScanBtn);
  ctx_.panel.release(Ctl::MemScanBtn);
  ctx_.panel.release(Ctl::LimitScanBtn);
  ctx_.panel.release(Ctl::BandScanBtn);
  if (resetScanForCompanion) {
    resetScanForCompanion();
  } else {
    const int kind = ctx_.scan.ScanKind;
    tuning_.EndScanOrTuning();
    ctx_.panel.release(Ctl::ScanBtn);
    ctx_.panel.setEnabled(Ctl::NowBtn, true);
    if (kind == 3 || kind == 4) ctx_.panel.setCaption(Ctl::StatusPanel, "");
    ctx_.scan.ScanKind = 0;
  }
  tuning_.SetTuningStep(5000);
  PublishStatus();
  if (minimizeApplication) minimizeApplication();
}

void CommandDispatcher::TuneAndLocate(const std::string& text) {
  const double freq = TextToDouble(text, ctx_.decimalSeparator);
  if (freq < LowestRemoteKHz || freq > HighestRemoteKHz) return;
  ctx_.state.SaveLastFrequency();
  ctx_.state.Freq = freq;
  receiver_.TuneRadio();
  if (locateInFrequencyList) locateInFrequencyList(freq);
}

RemoteEntry CommandDispatcher::MakeRemoteEntry(const RemoteEntryFields& fields) const {
  const RadioState& s = ctx_.state;
  RemoteEntry entry;
  entry.freq = fields[0];
  entry.name = fields[1];
  entry.location = fields[2];
  entry.language = fields[3];
  entry.onAir = fields[4];
  entry.offAir = fields[5];
  entry.mode = ModeTableEntry(s.Mode).name;
  entry.filter = s.Bandwidth;
  entry.agc = s.AGC == 3 ? "3" : s.AGC == 1 ? "1" : "2";
  entry.pbt = s.PBT;
  entry.step = (s.StepIndex >= 0 && s.StepIndex < StepCount) ? StepTable[s.StepIndex].stepHz : s.StepHz;
  entry.stepIndex = s.StepIndex;
  entry.filterIndex = s.FilterIndex;
  return entry;
}

void CommandDispatcher::AddRemoteEntry(const std::string& word) {
  const std::optional<RemoteEntryFields> fields = ParseRemoteEntryWord(word);
  // Without a frequency list there is nothing to add the station to.
  if (!fields || !appendFrequencyEntry) {
    SendToCompanion("NO");
    return;
  }
  appendFrequencyEntry(MakeRemoteEntry(*fields));
  SendToCompanion("OK");
  if (sortFrequencyListByFrequency) sortFrequencyListByFrequency();
  TuneAndLocate((*fields)[0]);
}

}  // namespace ondaris
