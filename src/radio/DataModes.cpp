#include "radio/DataModes.h"

#include <algorithm>

#include "common/AtomicFile.h"
#include "common/RecordBytes.h"
#include "radio/Rx320Protocol.h"
#include "radio/StepTable.h"

namespace ondaris {

namespace {

using namespace record_bytes;

constexpr std::size_t ProgrammedAt = 0;
constexpr std::size_t TitleAt = 1;
constexpr std::size_t ModeAt = 82;
constexpr std::size_t StepAt = 84;
constexpr std::size_t FilterAt = 88;
constexpr std::size_t AGCAt = 92;
constexpr std::size_t PBTAt = 96;
constexpr std::size_t CWToneAt = 100;

constexpr std::uint8_t NewModeDefault = 1;  // USB, as the dialog offers a new mode
constexpr std::int32_t NewAGCDefault = 2;   // medium

// True when something had to be changed.
bool BringIntoRange(DataMode& mode) {
  const DataMode before = mode;
  mode.Programmed = mode.Programmed ? 1 : 0;
  if (mode.Mode > 3) mode.Mode = NewModeDefault;
  if (mode.AGC < 1 || mode.AGC > 3) mode.AGC = NewAGCDefault;
  mode.FilterIndex = std::clamp(mode.FilterIndex, 0, FilterCount - 1);
  mode.StepIndex = std::clamp(mode.StepIndex, 0, StepCount - 1);
  mode.PBT = std::clamp(mode.PBT, -DataModePBTLimit, DataModePBTLimit);
  mode.CWTone = std::clamp(mode.CWTone, -DataModeCWToneLimit, DataModeCWToneLimit);
  return !(mode == before);
}

DataMode DecodeRecord(std::string_view record) {
  DataMode mode;
  mode.Programmed = GetByte(record, ProgrammedAt);
  mode.Title = GetText(record, TitleAt, DataModeTitleCapacity);
  mode.Mode = GetByte(record, ModeAt);
  mode.StepIndex = GetInt32(record, StepAt);
  mode.FilterIndex = GetInt32(record, FilterAt);
  mode.AGC = GetInt32(record, AGCAt);
  mode.PBT = GetInt32(record, PBTAt);
  mode.CWTone = GetInt32(record, CWToneAt);
  return mode;
}

}  // namespace

std::string DataModesPath(const std::string& programDir) {
  std::string path = programDir;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + "SysFiles/DataModes.dat";
}

std::string EncodeDataModes(const DataModes& modes) {
  std::string image(DataModesFileSize, '\0');
  for (int i = 0; i < DataModeCount; ++i) {
    const DataMode& m = modes[i];
    const std::size_t base = static_cast<std::size_t>(i) * DataModeSize;
    PutByte(image, base + ProgrammedAt, m.Programmed);
    PutText(image, base + TitleAt, m.Title, DataModeTitleCapacity);
    PutByte(image, base + ModeAt, m.Mode);
    PutInt32(image, base + StepAt, m.StepIndex);
    PutInt32(image, base + FilterAt, m.FilterIndex);
    PutInt32(image, base + AGCAt, m.AGC);
    PutInt32(image, base + PBTAt, m.PBT);
    PutInt32(image, base + CWToneAt, m.CWTone);
  }
  return image;
}

DataModes DecodeDataModes(std::string_view bytes, DataModesReadReport* report) {
  DataModesReadReport found;
  DataModes modes{};
  for (int i = 0; i < DataModeCount; ++i) {
    const std::size_t base = static_cast<std::size_t>(i) * DataModeSize;
    if (bytes.size() < base + DataModeSize) break;
    modes[i] = DecodeRecord(bytes.substr(base, DataModeSize));
    ++found.recordsRead;
    // Unprogrammed records are never applied; they are kept as they are.
    if (modes[i].Programmed && BringIntoRange(modes[i])) ++found.recordsRepaired;
  }
  if (report) *report = found;
  return modes;
}

std::string DataModesDamageMessage(const DataModesReadReport& report) {
  std::string text;
  if (report.recordsRead < DataModeCount) {
    const int first = report.recordsRead + 1;
    text = "SysFiles/DataModes.dat is incomplete: data mode" +
           (first == DataModeCount ? " D-5 is" : "s D-" + std::to_string(first) + " to D-5 are") +
           " not programmed.";
  }
  if (report.recordsRepaired > 0) {
    if (!text.empty()) text += "\n";
    text += "SysFiles/DataModes.dat held settings outside their ranges: " + std::to_string(report.recordsRepaired) +
            (report.recordsRepaired == 1 ? " data mode was" : " data modes were") +
            " set to the nearest valid values.";
  }
  return text;
}

bool ReadDataModes(const std::string& programDir, DataModes& modes, DataModesReadReport* report) {
  const auto bytes = ReadWholeFile(DataModesPath(programDir));
  if (!bytes) {
    modes = DataModes{};
    if (report) *report = DataModesReadReport{DataModeCount, 0};
    return false;
  }
  modes = DecodeDataModes(*bytes, report);
  return true;
}

void SaveDataModes(const std::string& programDir, const DataModes& modes) {
  WriteFileAtomically(DataModesPath(programDir), EncodeDataModes(modes));
}

}  // namespace ondaris
