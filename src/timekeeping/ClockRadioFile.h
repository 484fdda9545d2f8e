#pragma once
// SysFiles/ClockRadio.dat: the clock radio's settings kept from run to run,
// 49 bytes without a header:
//   0  int32   AlarmMode (0 off, 1 alarm only, 2 radio only, 3 radio then alarm)
//   4  int32   AlarmTime, HHMM
//   8  byte    AlarmUsesUTC (1 UTC, 0 local)
//   9  40      AlarmStation, the wake-up station:
//        +0 stored flag, +8 double kHz, +16 mode, +20 int32 step Hz,
//        +24 int32 filter index, +28 int32 AGC, +32 int32 PBT,
//        +36 speaker muted, +37 line muted (the rest is padding)
// The sleep timer is not stored.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "radio/RadioState.h"

namespace ondaris {

class MessageBoxes;

inline constexpr std::size_t ClockRadioDatSize = 49;
inline constexpr std::size_t AlarmStationSize = 40;
inline constexpr const char* MissingClockRadioDatMessage =
    "Could not find file SysFiles\\ClockRadio.dat.  Initializing alarm clock using default data";

struct ClockRadioSettings {
  std::int32_t AlarmMode = 0;
  std::int32_t AlarmTime = 0;
  std::uint8_t AlarmUsesUTC = 1;
  TuningRecord AlarmStation;  // valid = the stored flag

  bool operator==(const ClockRadioSettings& other) const;
};

bool SameTuning(const TuningRecord& a, const TuningRecord& b);

std::string ClockRadioDatPath(const std::string& programDir);

std::string EncodeClockRadio(const ClockRadioSettings& settings);
// A short file is read as far as it goes (the rest keeps the defaults);
// bytes past 49 are ignored. Values outside their tables never get in: an
// unknown mode or a time that is no HHMM switches the alarm off at 0000, and
// a wake-up station with any field outside its range is forgotten.
ClockRadioSettings DecodeClockRadio(std::string_view bytes);

// The settings from the file; without a file its message and the defaults.
// Throws FileError when the file exists but cannot be read.
ClockRadioSettings ReadClockRadioDat(const std::string& programDir, MessageBoxes& messages);
// Throws FileError when the file cannot be written (the old one stays).
void WriteClockRadioDat(const std::string& programDir, const ClockRadioSettings& settings);

}  // namespace ondaris
