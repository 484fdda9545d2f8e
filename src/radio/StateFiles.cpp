#include "radio/StateFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/TextHelpers.h"
#include "platform/MessageBoxes.h"
#include "radio/StepTable.h"

namespace ondaris {

namespace {

std::string WithSlash(const std::string& folder) {
  if (folder.empty() || folder.back() == '/') return folder;
  return folder + "/";
}

// ---- Little-endian record fields ------------------------------------------

class RecordWriter {
 public:
  void byte(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
  void int32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) byte(static_cast<std::uint8_t>(bits >> shift));
  }
  void float64(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 0; shift < 64; shift += 8) byte(static_cast<std::uint8_t>(bits >> shift));
  }
  // Length byte, the text, zeros up to the capacity.
  void text(const std::string& value, std::size_t capacity, const char* what) {
    if (value.size() > capacity)
      throw FileError(std::string(what) + " \"" + value + "\" is longer than " + std::to_string(capacity) +
                      " characters and cannot be stored.");
    byte(static_cast<std::uint8_t>(value.size()));
    bytes_ += value;
    bytes_.append(capacity - value.size(), '\0');
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

class RecordReader {
 public:
  // A short record reads as if padded with zeros.
  explicit RecordReader(std::string_view bytes) : bytes_(OndarisDatSize, '\0') {
    bytes_.replace(0, std::min(bytes.size(), OndarisDatSize), bytes.substr(0, OndarisDatSize));
  }
  std::uint8_t byte() { return static_cast<std::uint8_t>(bytes_[offset_++]); }
  std::int32_t int32() {
    std::uint32_t bits = 0;
    for (int shift = 0; shift < 32; shift += 8) bits |= static_cast<std::uint32_t>(byte()) << shift;
    return static_cast<std::int32_t>(bits);
  }
  double float64() {
    std::uint64_t bits = 0;
    for (int shift = 0; shift < 64; shift += 8) bits |= static_cast<std::uint64_t>(byte()) << shift;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  // A length byte beyond the capacity never reads past the field.
  std::string text(std::size_t capacity) {
    const std::size_t length = std::min<std::size_t>(byte(), capacity);
    std::string value = bytes_.substr(offset_, length);
    offset_ += capacity;
    return value;
  }

 private:
  std::string bytes_;
  std::size_t offset_ = 0;
};

// ---- Tuning.dat lines ------------------------------------------------------

const char* const ModeNames[] = {"AM", "USB", "LSB", "CW"};

const char* AgcName(std::int32_t agc) {
  switch (agc) {
    case 3: return "Fast";
    case 1: return "Slow";
    default: return "Medium";  // what the receiver is sent for any other value
  }
}

std::string FrequencyLine(double freq, char separator) {
  return LocaleToDotDecimal(FormatFrequency(3, true, freq, separator), separator);
}

// The six lines of one tuning, starting at `first`.
void PutTuning(TuningLines& lines, std::size_t first, double freq, std::uint8_t mode, std::int32_t stepIndex,
               std::int32_t filterIndex, std::int32_t agc, std::int32_t pbt, char separator) {
  lines[first] = FrequencyLine(freq, separator);
  lines[first + 1] = ModeTableEntry(mode).name;
  lines[first + 2] = std::to_string(stepIndex);
  lines[first + 3] = std::to_string(filterIndex);
  lines[first + 4] = AgcName(agc);
  lines[first + 5] = std::to_string(pbt);
}

// A line that matches no name leaves the value as it was.
void ParseMode(const std::string& line, std::uint8_t& mode) {
  for (std::uint8_t m = 0; m < 4; ++m)
    if (line == ModeNames[m]) mode = m;
}

void ParseAgc(const std::string& line, std::int32_t& agc) {
  if (line == "Fast") agc = 3;
  else if (line == "Medium") agc = 2;
  else if (line == "Slow") agc = 1;
}

double ParseFrequency(const std::string& line, char separator) {
  return TextToDouble(DotToLocaleDecimal(line, separator), separator);
}

std::int32_t ParseInteger(const std::string& line) { return static_cast<std::int32_t>(TextToInteger(line)); }

}  // namespace

std::string TuningDatPath(const std::string& programDir) { return WithSlash(programDir) + "SysFiles/Tuning.dat"; }

std::string OndarisDatPath(const std::string& programDir) {
  return WithSlash(programDir) + "SysFiles/Ondaris.dat";
}

std::string StoredFreqFileDir(const std::string& folder, const std::string& programDir) {
  const std::string base = WithSlash(programDir);
  if (base.empty()) return folder;
  if (folder.size() >= base.size() && folder.compare(0, base.size(), base) == 0) return folder.substr(base.size());
  if (folder + "/" == base) return std::string();
  return folder;
}

bool FreqFileDirFits(const std::string& folder, const std::string& programDir) {
  return StoredFreqFileDir(folder, programDir).size() <= FreqFileDirCapacity;
}

std::string ResolveFreqFileDir(const std::string& stored, const std::string& programDir) {
  if (!stored.empty() && stored.front() == '/') return stored;
  return WithSlash(programDir) + stored;
}

std::string EncodeOndarisDat(const RadioState& s, const std::string& programDir) {
  RecordWriter w;
  w.text(StoredFreqFileDir(s.FreqFileDir, programDir), FreqFileDirCapacity, "The frequency file folder");
  w.text(s.LastFreqFile, LastFreqFileCapacity, "The frequency file name");
  w.int32(s.FreqFileRecordCount);
  w.text(s.ComPortName, ComPortNameCapacity, "The port name");
  w.int32(s.CWTone);
  w.int32(s.MeterMax);
  w.float64(s.CalLoFreq);
  w.float64(s.CalLoErr);
  w.float64(s.CalHiFreq);
  w.float64(s.CalHiErr);
  w.int32(s.AMFilterIndex);
  w.int32(s.AMStepIndex);
  w.int32(s.SSBFilterIndex);
  w.int32(s.SSBStepIndex);
  w.int32(s.CWFilterIndex);
  w.int32(s.CWStepIndex);
  w.byte(s.UseDefaultFiltersAsDefault);
  w.byte(s.UseDefaultStepsAsDefault);
  w.byte(s.MuteOnExitAsDefault);
  w.byte(s.MuteTogether);
  w.byte(s.NineKHzSteps);
  w.byte(s.ShowHints);
  w.int32(s.TuningSpeedMs);
  w.byte(s.SpkrVolume);
  w.byte(s.LineVolume);
  w.byte(s.SpkrMute);
  w.byte(s.LineMute);
  return w.bytes();
}

void DecodeOndarisDat(std::string_view bytes, RadioState& s) {
  RecordReader r(bytes);
  s.FreqFileDir = r.text(FreqFileDirCapacity);
  s.LastFreqFile = r.text(LastFreqFileCapacity);
  s.FreqFileRecordCount = r.int32();
  s.ComPortName = r.text(ComPortNameCapacity);
  s.CWTone = r.int32();
  s.MeterMax = r.int32();
  s.CalLoFreq = r.float64();
  s.CalLoErr = r.float64();
  s.CalHiFreq = r.float64();
  s.CalHiErr = r.float64();
  s.AMFilterIndex = r.int32();
  s.AMStepIndex = r.int32();
  s.SSBFilterIndex = r.int32();
  s.SSBStepIndex = r.int32();
  s.CWFilterIndex = r.int32();
  s.CWStepIndex = r.int32();
  s.UseDefaultFiltersAsDefault = r.byte();
  s.UseDefaultStepsAsDefault = r.byte();
  s.MuteOnExitAsDefault = r.byte();
  s.MuteTogether = r.byte();
  s.NineKHzSteps = r.byte();
  s.ShowHints = r.byte();
  s.TuningSpeedMs = r.int32();
  s.SpkrVolume = r.byte();
  s.LineVolume = r.byte();
  s.SpkrMute = r.byte();
  s.LineMute = r.byte();
}

namespace {

// The ranges the controls keep the settings in; a damaged or foreign file is
// brought back into them so that it cannot send the program outside its
// tables (a volume of 70 would go out as the wrapped level byte 0xF9).
constexpr double LowestFreqKHz = 10.0;
constexpr double HighestFreqKHz = 30000.0;
constexpr std::int32_t PbtLimitHz = 2000;
constexpr std::int32_t CWToneLimitHz = 3000;
constexpr std::int32_t MeterMaxLowest = 100;
constexpr std::int32_t MeterMaxHighest = 10000;
constexpr std::int32_t VolumeLowest = 13;
constexpr std::int32_t VolumeHighest = 63;
constexpr std::int32_t TuningSpeedLowestMs = 33;     // trackbar position 1
constexpr std::int32_t TuningSpeedHighestMs = 1320;  // position 40

std::int32_t Within(std::int32_t value, std::int32_t low, std::int32_t high) { return std::clamp(value, low, high); }

double FiniteOrZero(double value) { return std::isfinite(value) ? value : 0.0; }

void TuningIntoRange(double& freq, std::int32_t& stepIndex, std::int32_t& filterIndex, std::int32_t& agc,
                     std::int32_t& pbt) {
  freq = std::clamp(freq, LowestFreqKHz, HighestFreqKHz);
  stepIndex = Within(stepIndex, 0, StepCount - 1);
  filterIndex = Within(filterIndex, 0, FilterCount - 1);
  if (agc < 1 || agc > 3) agc = 2;  // what the receiver is sent for any other value
  pbt = Within(pbt, -PbtLimitHz, PbtLimitHz);
}

}  // namespace

void BringSettingsIntoRange(RadioState& s) {
  s.FreqFileRecordCount = std::max<std::int32_t>(s.FreqFileRecordCount, 0);
  if (s.ComPortName.empty()) s.ComPortName = "COM1";
  s.CWTone = Within(s.CWTone, -CWToneLimitHz, CWToneLimitHz);
  s.MeterMax = s.MeterMax <= 0 ? MeterMaxHighest : Within(s.MeterMax, MeterMaxLowest, MeterMaxHighest);
  for (double* cal : {&s.CalLoFreq, &s.CalLoErr, &s.CalHiFreq, &s.CalHiErr}) *cal = FiniteOrZero(*cal);
  for (std::int32_t* filter : {&s.AMFilterIndex, &s.SSBFilterIndex, &s.CWFilterIndex})
    *filter = Within(*filter, 0, FilterCount - 1);
  for (std::int32_t* step : {&s.AMStepIndex, &s.SSBStepIndex, &s.CWStepIndex}) *step = Within(*step, 0, StepCount - 1);
  for (std::uint8_t* flag : {&s.UseDefaultFiltersAsDefault, &s.UseDefaultStepsAsDefault, &s.MuteOnExitAsDefault,
                             &s.MuteTogether, &s.NineKHzSteps, &s.ShowHints, &s.SpkrMute, &s.LineMute})
    *flag = *flag != 0 ? 1 : 0;
  s.TuningSpeedMs = Within(s.TuningSpeedMs, TuningSpeedLowestMs, TuningSpeedHighestMs);
  s.SpkrVolume = static_cast<std::uint8_t>(Within(s.SpkrVolume, VolumeLowest, VolumeHighest));
  s.LineVolume = static_cast<std::uint8_t>(Within(s.LineVolume, VolumeLowest, VolumeHighest));
}

void BringTuningIntoRange(RadioState& s) {
  if (s.ActiveVFO != 'A' && s.ActiveVFO != 'B') s.ActiveVFO = 'A';
  VfoTuning& o = s.OtherVFO;
  TuningIntoRange(o.freq, o.stepIndex, o.filterIndex, o.agc, o.pbt);
  TuningIntoRange(s.Freq, s.StepIndex, s.FilterIndex, s.AGC, s.PBT);
}

std::string FreqFileDirTooLongMessage(const std::string& folder) {
  return "The folder \"" + folder + "\" cannot be used for frequency files: it must lie below the program's folder "
         "or be at most " + std::to_string(FreqFileDirCapacity) + " characters long.";
}

std::string FreqFileNameTooLongMessage(const std::string& name) {
  return "The file name \"" + name + "\" is longer than " + std::to_string(LastFreqFileCapacity) +
         " characters and cannot be remembered.  Choose a shorter name.";
}

std::string ComPortNameTooLongMessage(const std::string& name) {
  return "The port name \"" + name + "\" is longer than " + std::to_string(ComPortNameCapacity) +
         " characters and cannot be stored.";
}

RadioState StorableState(const RadioState& state, const std::string& programDir, std::vector<std::string>& dropped) {
  RadioState s = state;
  const RadioState firstStart;
  if (!FreqFileDirFits(s.FreqFileDir, programDir)) {
    dropped.push_back(FreqFileDirTooLongMessage(s.FreqFileDir));
    s.FreqFileDir = firstStart.FreqFileDir;
  }
  if (s.LastFreqFile.size() > LastFreqFileCapacity) {
    dropped.push_back(FreqFileNameTooLongMessage(s.LastFreqFile));
    s.LastFreqFile.clear();
    s.FreqFileRecordCount = 0;
  }
  if (s.ComPortName.size() > ComPortNameCapacity) {
    dropped.push_back(ComPortNameTooLongMessage(s.ComPortName));
    s.ComPortName = firstStart.ComPortName;
  }
  return s;
}

void ApplyOndarisDefaults(RadioState& s) {
  s.FreqFileDir = "FreqFiles/";
  s.LastFreqFile.clear();
  s.FreqFileRecordCount = 0;
  s.ComPortName = "COM1";
  s.CWTone = 700;
  s.MeterMax = 10000;
  s.CalLoFreq = s.CalLoErr = s.CalHiFreq = s.CalHiErr = 0;
  s.AMFilterIndex = 1;
  s.AMStepIndex = 4;
  s.SSBFilterIndex = 13;
  s.SSBStepIndex = 5;
  s.CWFilterIndex = 23;
  s.CWStepIndex = 5;
  s.UseDefaultFiltersAsDefault = 1;
  s.UseDefaultStepsAsDefault = 1;
  s.MuteOnExitAsDefault = 1;
  s.MuteTogether = 0;
  s.NineKHzSteps = 0;
  s.ShowHints = 1;
  s.TuningSpeedMs = 200;
  s.SpkrVolume = 30;
  s.LineVolume = 30;
  s.SpkrMute = 0;
  s.LineMute = 0;
}

bool ReadOndarisDat(const std::string& programDir, RadioState& state, MessageBoxes& messages) {
  const auto bytes = ReadWholeFile(OndarisDatPath(programDir));
  if (!bytes) {
    messages.showMessage(MissingOndarisDatMessage);
    ApplyOndarisDefaults(state);
    return false;
  }
  DecodeOndarisDat(*bytes, state);
  BringSettingsIntoRange(state);
  return true;
}

void WriteOndarisDat(const std::string& programDir, const RadioState& state) {
  WriteFileAtomically(OndarisDatPath(programDir), EncodeOndarisDat(state, programDir));
}

TuningLines DefaultTuningLines(char separator) {
  const std::string frac = std::string(1, separator) + "000";
  return {"A", "10000" + frac, "AM", "4", "1", "Medium", "0", "15000" + frac, "AM", "4", "1", "Medium", "0"};
}

TuningLines TuningLinesOf(const RadioState& s, char separator) {
  TuningLines lines;
  lines[0] = std::string(1, s.ActiveVFO);
  const VfoTuning& o = s.OtherVFO;
  PutTuning(lines, 1, o.freq, o.mode, o.stepIndex, o.filterIndex, o.agc, o.pbt, separator);
  PutTuning(lines, 7, s.Freq, s.Mode, s.StepIndex, s.FilterIndex, s.AGC, s.PBT, separator);
  return lines;
}

std::string EncodeTuningDat(const TuningLines& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

TuningLines DecodeTuningDat(std::string_view bytes) {
  TuningLines lines;
  std::size_t start = 0;
  for (std::size_t index = 0; index < TuningLineCount && start < bytes.size(); ++index) {
    std::size_t end = bytes.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines[index] = std::string(line.substr(0, TuningLineLimit));
    start = next;
  }
  return lines;
}

TuningLines ReadTuningLines(const std::string& programDir, MessageBoxes& messages, char separator) {
  const auto bytes = ReadWholeFile(TuningDatPath(programDir));
  if (!bytes) {
    messages.showMessage(MissingTuningDatMessage);
    return DefaultTuningLines(separator);
  }
  return DecodeTuningDat(*bytes);
}

void ApplyTuningLines(const TuningLines& lines, RadioState& s, char separator) {
  // Every line is taken on its own: a line that does not read leaves its
  // field as it was, and the first such error is raised once all are in.
  std::optional<ConversionError> firstError;
  auto take = [&](auto&& parse) {
    try {
      parse();
    } catch (const ConversionError& error) {
      if (!firstError) firstError = error;
    }
  };
  if (!lines[0].empty()) s.ActiveVFO = lines[0][0];
  VfoTuning& o = s.OtherVFO;
  take([&] { o.freq = ParseFrequency(lines[1], separator); });
  ParseMode(lines[2], o.mode);
  take([&] { o.stepIndex = ParseInteger(lines[3]); });
  take([&] { o.filterIndex = ParseInteger(lines[4]); });
  ParseAgc(lines[5], o.agc);
  take([&] { o.pbt = ParseInteger(lines[6]); });
  o.statusText.clear();
  take([&] { s.Freq = ParseFrequency(lines[7], separator); });
  ParseMode(lines[8], s.Mode);
  take([&] { s.StepIndex = ParseInteger(lines[9]); });
  take([&] { s.FilterIndex = ParseInteger(lines[10]); });
  ParseAgc(lines[11], s.AGC);
  take([&] { s.PBT = ParseInteger(lines[12]); });
  BringTuningIntoRange(s);
  if (firstError) throw *firstError;
}

void WriteTuningDat(const std::string& programDir, const RadioState& state, char separator) {
  WriteFileAtomically(TuningDatPath(programDir), EncodeTuningDat(TuningLinesOf(state, separator)));
}

}  // namespace ondaris
