#pragma once
// The five data modes D-1..D-5: stored receiver setups (mode, filter, step,
// AGC, passband tuning and a CW beat offset of their own), kept in
// SysFiles/DataModes.dat as five 104-byte records, D-1 first, no header:
//
//   0  Programmed (1 once stored through the programming dialog)
//   1  Title: length byte + 80 characters
//  82  Mode (0 AM, 1 USB, 2 LSB, 3 CW), 83 padding
//  84  StepIndex, 88 FilterIndex, 92 AGC, 96 PBT, 100 CWTone (32-bit LE)

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ondaris {

inline constexpr std::size_t DataModeSize = 104;
inline constexpr int DataModeCount = 5;
inline constexpr std::size_t DataModesFileSize = DataModeSize * DataModeCount;
inline constexpr std::size_t DataModeTitleCapacity = 80;
inline constexpr int DataModePBTLimit = 2000;
inline constexpr int DataModeCWToneLimit = 3000;

struct DataMode {
  std::uint8_t Programmed = 0;
  std::string Title;
  std::uint8_t Mode = 0;
  std::int32_t StepIndex = 0;
  std::int32_t FilterIndex = 0;
  std::int32_t AGC = 0;
  std::int32_t PBT = 0;
  std::int32_t CWTone = 0;  // becomes DataBFO when the mode is applied

  bool operator==(const DataMode&) const = default;
};

using DataModes = std::array<DataMode, DataModeCount>;

std::string DataModesPath(const std::string& programDir);

// The 520 bytes of the file. A title longer than 80 characters is cut.
std::string EncodeDataModes(const DataModes& modes);

// What reading found beyond a clean file.
struct DataModesReadReport {
  int recordsRead = 0;      // whole records in the file (0..5)
  int recordsRepaired = 0;  // programmed records with values outside their tables
  bool damaged() const { return recordsRead < DataModeCount || recordsRepaired > 0; }
};

// Decodes file bytes. Records the file does not hold completely are the
// defaults (not programmed, every field 0). In a programmed record a value
// outside its table is brought into range: filter 0..23, step 0..8, PBT and
// CW tone clamped, an unknown mode becomes USB and an unknown AGC medium,
// the dialog's own choices for a new mode. Bytes beyond 520 are ignored.
DataModes DecodeDataModes(std::string_view bytes, DataModesReadReport* report = nullptr);

// The listener's message for a file that was short or held values outside
// their tables; empty for a clean file.
std::string DataModesDamageMessage(const DataModesReadReport& report);

// Reads SysFiles/DataModes.dat. A missing file gives the defaults silently
// (returns false); a file that exists but cannot be read throws FileError.
bool ReadDataModes(const std::string& programDir, DataModes& modes, DataModesReadReport* report = nullptr);
// Replaces SysFiles/DataModes.dat atomically; throws FileError on failure.
void SaveDataModes(const std::string& programDir, const DataModes& modes);

}  // namespace ondaris
