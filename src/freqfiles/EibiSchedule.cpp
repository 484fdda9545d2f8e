#include "freqfiles/EibiSchedule.h"

#include <array>
#include <cctype>

#include "common/FileLines.h"
#include "common/NumberText.h"
#include "common/TextHelpers.h"
#include "freqfiles/OnAir.h"
#include "radio/RadioState.h"
#include "radio/StepTable.h"

namespace ondaris {

namespace {

constexpr std::size_t RequiredFields = 8;  // kHz .. Remarks

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// "HHMM" at `text`, or -1.
int ReadHHMM(std::string_view text) {
  for (char c : text)
    if (!IsDigit(c)) return -1;
  const int hours = (text[0] - '0') * 10 + (text[1] - '0');
  const int minutes = (text[2] - '0') * 10 + (text[3] - '0');
  if (minutes > 59 || hours > 24 || (hours == 24 && minutes != 0)) return -1;
  return hours * 100 + minutes;
}

bool EqualsFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAsciiByte(a[i]) != FoldAsciiByte(b[i])) return false;
  return true;
}

// Whether `word` stands in `text` as a word of its own.
bool HasWord(std::string_view text, std::string_view word) {
  for (std::size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
    const bool startOk = at == 0 || !IsWordChar(text[at - 1]);
    const std::size_t end = at + word.size();
    const bool endOk = end == text.size() || !IsWordChar(text[end]);
    if (startOk && endOk) return true;
  }
  return false;
}

// A sideband written in the Days column.
bool DaysIsMode(std::string_view days) { return EqualsFolded(days, "USB") || EqualsFolded(days, "LSB"); }

std::string HHMMText(int hhmm) {
  std::string text = std::to_string(hhmm);
  return std::string(4 - text.size(), '0') + text;
}

}  // namespace

bool IsEibiHeaderLine(std::string_view line) {
  if (line.size() >= 3 && static_cast<unsigned char>(line[0]) == 0xEF) line.remove_prefix(3);  // a UTF-8 mark
  const std::string_view first = line.substr(0, line.find_first_of(":;"));
  return EqualsFolded(first, "kHz");
}

bool ParseEibiLine(std::string_view line, EibiEntry& entry) {
  std::array<std::string_view, RequiredFields> fields;
  std::size_t count = 0;
  std::size_t start = 0;
  while (count < RequiredFields) {
    const std::size_t end = line.find(';', start);
    fields[count++] = line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  if (count < RequiredFields) return false;

  const auto kHz = TryReadDecimal(fields[0], '.');
  if (!kHz || !(*kHz > 0) || *kHz > EibiHighestKHz) return false;
  const std::string_view time = fields[1];
  if (time.size() != 9 || time[4] != '-') return false;
  const int startHHMM = ReadHHMM(time.substr(0, 4));
  const int endHHMM = ReadHHMM(time.substr(5, 4));
  if (startHHMM < 0 || endHHMM < 0) return false;

  entry.kHz = *kHz;
  entry.startHHMM = startHHMM;
  entry.endHHMM = endHHMM;
  entry.days = fields[2];
  entry.itu = fields[3];
  entry.station = fields[4];
  entry.language = fields[5];
  entry.target = fields[6];
  entry.remarks = fields[7];
  return true;
}

Mode EibiMode(const EibiEntry& entry) {
  if (EqualsFolded(entry.days, "USB")) return Mode::USB;
  if (EqualsFolded(entry.days, "LSB")) return Mode::LSB;
  if (entry.language.substr(0, 3) == "-CW") return Mode::CW;
  if (HasWord(entry.station, "USB")) return Mode::USB;
  if (HasWord(entry.station, "LSB")) return Mode::LSB;
  return Mode::AM;
}

EibiModeDefaults EibiDefaultsOf(const RadioState& s) {
  EibiModeDefaults d;
  d.am = {s.AMFilterIndex, s.AMStepIndex};
  d.ssb = {s.SSBFilterIndex, s.SSBStepIndex};
  d.cw = {s.CWFilterIndex, s.CWStepIndex};
  d.nineKHzSteps = s.NineKHzSteps != 0;
  return d;
}

FrequencyRecord EibiRecord(const EibiEntry& e, const EibiModeDefaults& defaults, char separator) {
  FrequencyRecord r;
  const Mode mode = EibiMode(e);
  const EibiModeDefaults::Pick pick =
      mode == Mode::AM ? defaults.am : mode == Mode::CW ? defaults.cw : defaults.ssb;
  const int filterIndex = pick.filterIndex < 0 || pick.filterIndex >= FilterCount ? 0 : pick.filterIndex;
  const int stepIndex = pick.stepIndex < 0 || pick.stepIndex >= StepCount ? 0 : pick.stepIndex;
  int stepHz = StepTable[static_cast<std::size_t>(stepIndex)].stepHz;
  if (stepIndex == StepCount - 1 && defaults.nineKHzSteps) stepHz = 9000;

  r.Name = SanitizeTextField(e.station, FrequencyRecord::NameCapacity);
  r.Freq = FormatFrequency(3, false, e.kHz, separator);
  r.Mode = ModeTableEntry(static_cast<int>(mode)).name;
  r.Filter = std::to_string(FilterTable[static_cast<std::size_t>(filterIndex)].bandwidthHz);
  r.FilterIndex = filterIndex;
  r.Step = std::to_string(stepHz);
  r.StepIndex = stepIndex;
  r.PBT = "0";

  std::string location(e.itu);
  if (!e.target.empty()) location += location.empty() ? "to " + std::string(e.target) : " to " + std::string(e.target);
  r.Location = SanitizeTextField(location, FrequencyRecord::LocationCapacity);
  r.Language = SanitizeTextField(e.language, FrequencyRecord::LanguageCapacity);
  r.OnAir = HHMMText(e.startHHMM);
  r.OffAir = HHMMText(e.endHHMM);

  std::string notes;
  if (!e.days.empty() && !DaysIsMode(e.days)) notes = "Days: " + std::string(e.days);
  if (!e.remarks.empty()) notes += (notes.empty() ? "Remarks: " : "; Remarks: ") + std::string(e.remarks);
  r.Notes = SanitizeTextField(notes, FrequencyRecord::NotesCapacity);
  r.Spare = "0";
  r.Lockout = "0";
  return r;
}

EibiImportResult ImportEibiSchedule(std::string_view fileBytes, const EibiImportOptions& options,
                                    const EibiModeDefaults& defaults, char separator) {
  EibiImportResult result;
  const std::vector<std::string_view> lines = SplitFileLines(fileBytes);
  result.records.reserve(lines.size());
  EibiEntry entry;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || (i == 0 && IsEibiHeaderLine(line))) continue;
    ++result.entryLines;
    if (!ParseEibiLine(line, entry)) {
      if (result.badLines++ == 0) result.firstBadLine = i + 1;
      continue;
    }
    if (options.rangeOnly && !(entry.kHz >= options.fromKHz && entry.kHz <= options.toKHz)) {
      ++result.leftOut;
      continue;
    }
    FrequencyRecord record = EibiRecord(entry, defaults, separator);
    if (options.onAirOnly && !IsOnAirNow(record.OnAir, record.OffAir, options.hhmmNow)) {
      ++result.leftOut;
      continue;
    }
    result.records.push_back(std::move(record));
  }
  return result;
}

std::string EibiBadLinesMessage(int badLines, std::size_t firstBadLine) {
  if (badLines == 1)
    return "1 line of the schedule could not be read and was skipped (line " + std::to_string(firstBadLine) + ").";
  return std::to_string(badLines) + " lines of the schedule could not be read and were skipped (the first is line " +
         std::to_string(firstBadLine) + ").";
}

}  // namespace ondaris
