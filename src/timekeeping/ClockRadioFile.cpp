#include "timekeeping/ClockRadioFile.h"

#include <cmath>

#include "common/AtomicFile.h"
#include "common/RecordBytes.h"
#include "platform/MessageBoxes.h"
#include "radio/Rx320Protocol.h"
#include "radio/StepTable.h"

namespace ondaris {

namespace rb = record_bytes;

namespace {

constexpr std::size_t StationAt = 9;

bool ValidHHMM(std::int32_t t) { return t >= 0 && t / 100 <= 23 && t % 100 <= 59; }

bool ValidStation(const TuningRecord& r) {
  return std::isfinite(r.freq) && r.freq >= 10.0 && r.freq <= 30000.0 && r.mode <= 3 && StepRowOf(r.stepHz) >= 0 &&
         r.filterIndex >= 0 && r.filterIndex < FilterCount && r.agc >= 1 && r.agc <= 3 && r.pbt >= -2000 &&
         r.pbt <= 2000;
}

}  // namespace

bool SameTuning(const TuningRecord& a, const TuningRecord& b) {
  return a.valid == b.valid && a.freq == b.freq && a.mode == b.mode && a.stepHz == b.stepHz &&
         a.filterIndex == b.filterIndex && a.agc == b.agc && a.pbt == b.pbt && a.spkrMute == b.spkrMute &&
         a.lineMute == b.lineMute;
}

bool ClockRadioSettings::operator==(const ClockRadioSettings& o) const {
  return AlarmMode == o.AlarmMode && AlarmTime == o.AlarmTime && AlarmUsesUTC == o.AlarmUsesUTC &&
         SameTuning(AlarmStation, o.AlarmStation);
}

std::string ClockRadioDatPath(const std::string& programDir) { return programDir + "SysFiles/ClockRadio.dat"; }

std::string EncodeClockRadio(const ClockRadioSettings& s) {
  std::string image(ClockRadioDatSize, '\0');
  rb::PutInt32(image, 0, s.AlarmMode);
  rb::PutInt32(image, 4, s.AlarmTime);
  rb::PutByte(image, 8, s.AlarmUsesUTC ? 1 : 0);
  const TuningRecord& r = s.AlarmStation;
  rb::PutByte(image, StationAt + 0, r.valid ? 1 : 0);
  rb::PutDouble(image, StationAt + 8, r.freq);
  rb::PutByte(image, StationAt + 16, r.mode);
  rb::PutInt32(image, StationAt + 20, r.stepHz);
  rb::PutInt32(image, StationAt + 24, r.filterIndex);
  rb::PutInt32(image, StationAt + 28, r.agc);
  rb::PutInt32(image, StationAt + 32, r.pbt);
  rb::PutByte(image, StationAt + 36, r.spkrMute ? 1 : 0);
  rb::PutByte(image, StationAt + 37, r.lineMute ? 1 : 0);
  return image;
}

ClockRadioSettings DecodeClockRadio(std::string_view bytes) {
  std::string image = EncodeClockRadio(ClockRadioSettings{});
  rb::Overlay(image, bytes);
  ClockRadioSettings s;
  s.AlarmMode = rb::GetInt32(image, 0);
  s.AlarmTime = rb::GetInt32(image, 4);
  s.AlarmUsesUTC = rb::GetByte(image, 8) ? 1 : 0;
  if (s.AlarmMode < 0 || s.AlarmMode > 3 || !ValidHHMM(s.AlarmTime)) {
    s.AlarmMode = 0;
    if (!ValidHHMM(s.AlarmTime)) s.AlarmTime = 0;
  }
  TuningRecord& r = s.AlarmStation;
  r.valid = rb::GetByte(image, StationAt) != 0;
  r.freq = rb::GetDouble(image, StationAt + 8);
  r.mode = rb::GetByte(image, StationAt + 16);
  r.stepHz = rb::GetInt32(image, StationAt + 20);
  r.filterIndex = rb::GetInt32(image, StationAt + 24);
  r.agc = rb::GetInt32(image, StationAt + 28);
  r.pbt = rb::GetInt32(image, StationAt + 32);
  r.spkrMute = rb::GetByte(image, StationAt + 36) ? 1 : 0;
  r.lineMute = rb::GetByte(image, StationAt + 37) ? 1 : 0;
  if (!r.valid || !ValidStation(r)) r = TuningRecord{};
  return s;
}

ClockRadioSettings ReadClockRadioDat(const std::string& programDir, MessageBoxes& messages) {
  const std::optional<std::string> bytes = ReadWholeFile(ClockRadioDatPath(programDir));
  if (!bytes) {
    messages.showMessage(MissingClockRadioDatMessage);
    return ClockRadioSettings{};
  }
  return DecodeClockRadio(*bytes);
}

void WriteClockRadioDat(const std::string& programDir, const ClockRadioSettings& settings) {
  WriteFileAtomically(ClockRadioDatPath(programDir), EncodeClockRadio(settings));
}

}  // namespace ondaris
