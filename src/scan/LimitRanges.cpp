#include "scan/LimitRanges.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/RecordBytes.h"
#include "radio/ReceiverControls.h"
#include "radio/Rx320Protocol.h"
#include "radio/StepTable.h"
#include "radio/TuningController.h"

namespace ondaris {

namespace {

using namespace record_bytes;

constexpr std::size_t LowAt = 0;
constexpr std::size_t HighAt = 8;
constexpr std::size_t NameAt = 16;
constexpr std::size_t ModeAt = 100;
constexpr std::size_t FilterIndexAt = 104;
constexpr std::size_t StepIndexAt = 108;
constexpr std::size_t AgcAt = 112;
constexpr std::size_t PbtAt = 116;
constexpr std::size_t SpeedIndexAt = 120;
static_assert(LimitRangeCount * LimitRangeSize == LimitsFileSize);

constexpr int PbtLimitHz = 2000;
constexpr int SpeedButtonCount = 6;

void BringIntoRange(LimitRange& r) {
  if (!std::isfinite(r.Low)) r.Low = 0;
  if (!std::isfinite(r.High)) r.High = 0;
  if (r.Mode < 0 || r.Mode > 3) r.Mode = 0;
  r.FilterIndex = std::clamp<std::int32_t>(r.FilterIndex, 0, FilterCount - 1);
  r.StepIndex = std::clamp<std::int32_t>(r.StepIndex, 0, StepCount - 1);
  if (r.AGC < 1 || r.AGC > 3) r.AGC = 2;
  r.PBT = std::clamp<std::int32_t>(r.PBT, -PbtLimitHz, PbtLimitHz);
  r.SpeedIndex = std::clamp<std::int32_t>(r.SpeedIndex, 1, SpeedButtonCount);
}

// Up to 15 significant digits, no trailing zeros, no exponent for any
// frequency the receiver can take.
std::string ShortestText(double value, char separator) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string text(buffer, result.ptr);
  std::replace(text.begin(), text.end(), '.', separator);
  return text;
}

}  // namespace

LimitRange DefaultLimitRange() {
  LimitRange r;
  r.Mode = 1;
  r.FilterIndex = 13;
  r.StepIndex = 3;
  r.AGC = 2;
  r.PBT = 0;
  r.SpeedIndex = 2;
  return r;
}

void SelectScanSpeedTable(PanelModel& panel, ScanSettings& settings, const ScanSpeedTable& table, int speedIndex) {
  for (int k = 0; k < SpeedButtonCount; ++k) {
    panel.setCaption(ScanSpeedButton(k), table.captions[k]);
    settings.SpeedIntervals[k] = table.intervalsMs[k];
  }
  speedIndex = std::clamp(speedIndex, 1, SpeedButtonCount);
  settings.ScanSpeedIndex = speedIndex;
  panel.press(ScanSpeedButton(speedIndex - 1));
  settings.ScanInterval = settings.SpeedIntervals[speedIndex - 1];
}

// ---- The file ----------------------------------------------------------------

std::string LimitsDatPath(const std::string& programDir) {
  std::string dir = programDir;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir + "SysFiles/Limits1.dat";
}

std::string EncodeLimitRanges(const LimitRangeList& list) {
  std::string image(LimitsFileSize, '\0');
  for (int slot = 0; slot < LimitRangeCount; ++slot) {
    const LimitRange& r = list[slot];
    const std::size_t at = static_cast<std::size_t>(slot) * LimitRangeSize;
    PutDouble(image, at + LowAt, r.Low);
    PutDouble(image, at + HighAt, r.High);
    PutText(image, at + NameAt, r.Name, LimitRangeNameCapacity);
    PutInt32(image, at + ModeAt, r.Mode);
    PutInt32(image, at + FilterIndexAt, r.FilterIndex);
    PutInt32(image, at + StepIndexAt, r.StepIndex);
    PutInt32(image, at + AgcAt, r.AGC);
    PutInt32(image, at + PbtAt, r.PBT);
    PutInt32(image, at + SpeedIndexAt, r.SpeedIndex);
  }
  return image;
}

void DecodeLimitRanges(std::string_view bytes, LimitRangeList& list) {
  std::string image = EncodeLimitRanges(list);
  Overlay(image, bytes);
  for (int slot = 0; slot < LimitRangeCount; ++slot) {
    LimitRange& r = list[slot];
    const std::size_t at = static_cast<std::size_t>(slot) * LimitRangeSize;
    r.Low = GetDouble(image, at + LowAt);
    r.High = GetDouble(image, at + HighAt);
    r.Name = GetText(image, at + NameAt, LimitRangeNameCapacity);
    r.Mode = GetByte(image, at + ModeAt);
    r.FilterIndex = GetInt32(image, at + FilterIndexAt);
    r.StepIndex = GetInt32(image, at + StepIndexAt);
    r.AGC = GetInt32(image, at + AgcAt);
    r.PBT = GetInt32(image, at + PbtAt);
    r.SpeedIndex = GetInt32(image, at + SpeedIndexAt);
    BringIntoRange(r);
  }
}

void WriteLimitRangesFile(const std::string& path, const LimitRangeList& list) {
  WriteFileAtomically(path, EncodeLimitRanges(list));
}

std::string LimitRangeName(double low, double high, char separator) {
  return ShortestText(low, separator) + "-" + ShortestText(high, separator);
}

void PutRangeOnTop(LimitRangeList& list, LimitRange range) {
  range.Name = range.Name.substr(0, LimitRangeNameCapacity);
  int last = LimitRangeCount - 1;  // not found: the oldest is lost
  for (int slot = 0; slot < LimitRangeCount; ++slot) {
    if (list[slot].Name == range.Name) {
      last = slot;
      break;
    }
  }
  for (int slot = last; slot >= 1; --slot) list[slot] = list[slot - 1];
  list[0] = std::move(range);
}

// ---- The controller ----------------------------------------------------------

LimitRanges::LimitRanges(PanelContext& context, ReceiverControls& controls, TuningController& tuning,
                         ScanSettings& settings, std::string programDir)
    : ctx_(context), controls_(controls), tuning_(tuning), settings_(settings), programDir_(std::move(programDir)) {
  tuning_.limitRangeDefined = [this](int index) { return IsDefined(index); };
}

LimitRanges::~LimitRanges() { tuning_.limitRangeDefined = nullptr; }

void LimitRanges::LoadLimitRanges() {
  const std::optional<std::string> bytes = ReadWholeFile(LimitsDatPath(programDir_));
  if (bytes) {
    DecodeLimitRanges(*bytes, ranges);
  } else {
    ctx_.messages.showMessage(MissingLimitsMessage);
    ranges.fill(DefaultLimitRange());
  }
  ShowMenuItems();
}

bool LimitRanges::SaveLimitRanges() {
  try {
    WriteLimitRangesFile(LimitsDatPath(programDir_), ranges);
    return true;
  } catch (const FileError& error) {
    ctx_.messages.showMessage(std::string(LimitsSaveFailedMessage) + "\n" + error.what());
    return false;
  }
}

void LimitRanges::ShowMenuItems() {
  for (int index = 0; index < LimitRangeCount; ++index) {
    const Ctl item = LimitRangeItem(index);
    const LimitRange& r = ranges[index];
    ctx_.panel.setCaption(item, r.defined() ? r.Name : "Limit Range " + std::to_string(index + 1));
    ctx_.panel.setEnabled(item, r.defined());
  }
}

bool LimitRanges::IsDefined(int index) const {
  return index >= 0 && index < LimitRangeCount && ranges[index].defined();
}

void LimitRanges::RememberLimitRange(double low, double high) {
  const RadioState& s = ctx_.state;
  LimitRange range;
  range.Low = low;
  range.High = high;
  range.Name = LimitRangeName(low, high, ctx_.decimalSeparator);
  range.Mode = s.Mode;
  range.FilterIndex = s.FilterIndex;
  range.StepIndex = s.StepIndex;
  range.AGC = s.AGC;
  range.PBT = s.PBT;
  range.SpeedIndex = settings_.ScanSpeedIndex;
  PutRangeOnTop(ranges, std::move(range));
  ShowMenuItems();
}

void LimitRanges::StartStoredLimitRange(int slot) {
  if (slot < 1 || slot > LimitRangeCount) return;
  if (ctx_.scan.ScanState != 0 || tuning_.flags.WWVMode != 0) return;
  const LimitRange range = ranges[slot - 1];
  if (!range.defined()) return;  // its menu item is disabled
  PanelModel& panel = ctx_.panel;
  RadioState& s = ctx_.state;

  ctx_.scan.ScanKind = 0;
  panel.release(Ctl::ScanBtn);
  settings_.LimitLow = range.Low;
  settings_.LimitHigh = range.High;
  settings_.ScanFrequency = range.Low;

  // The mode button's own action (status text, mode defaults, tuning), then
  // the stored settings over the defaults.
  controls_.ModeBtnClick(range.Mode);
  tuning_.SetTuningStep(tuning_.StepValueOfRow(range.StepIndex));
  controls_.SelectFilter(range.FilterIndex);
  controls_.ShowAGC(range.AGC);
  s.PBT = range.PBT;
  controls_.ShowPBT();

  ctx_.scan.ScanDirection = 0;
  panel.press(Ctl::FreqUpBtn);
  ctx_.scan.ScanKind = 3;
  panel.press(Ctl::LimitScanBtn);

  SelectScanSpeedTable(panel, settings_, StoredRangeSpeeds, range.SpeedIndex);
  settings_.MemScanStarted = false;
  if (startRangeScan) startRangeScan(settings_.LimitLow, settings_.LimitHigh);
}

}  // namespace ondaris
