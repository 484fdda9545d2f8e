#include "freqfiles/FrequencyRecord.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "common/Errors.h"
#include "common/TextHelpers.h"
#include "radio/Rx320Protocol.h"
#include "radio/StepTable.h"

namespace ondaris {

namespace {

// The decimal texts of the table entries, built on first use (FilterTable is
// set up by another translation unit).
const std::array<std::string, FilterCount>& FilterTexts() {
  static const std::array<std::string, FilterCount> texts = [] {
    std::array<std::string, FilterCount> out;
    for (int row = 0; row < FilterCount; ++row) out[row] = std::to_string(FilterTable[row].bandwidthHz);
    return out;
  }();
  return texts;
}

const std::array<std::string, StepCount>& StepTexts() {
  static const std::array<std::string, StepCount> texts = [] {
    std::array<std::string, StepCount> out;
    for (int row = 0; row < StepCount; ++row) out[row] = std::to_string(StepTable[row].stepHz);
    return out;
  }();
  return texts;
}

void AssignCut(std::string& field, std::string_view text, std::size_t capacity) {
  field.assign(text.data(), std::min(text.size(), capacity));
}

// The line is read as if a comma had been appended to it, so that the last
// field is closed like the others; `At` supplies that comma without copying.
inline char At(std::string_view line, std::size_t position) {
  return position < line.size() ? line[position] : ',';
}

// Starts on a double quote, takes everything up to the next one and leaves
// the position just past it. Commas inside the quotes belong to the field.
bool ReadQuoted(std::string_view line, std::size_t& position, std::string& field, std::size_t capacity) {
  if (position > line.size() || At(line, position) != '"') return false;
  const std::size_t start = position + 1;
  const std::size_t close = start <= line.size() ? line.find('"', start) : std::string_view::npos;
  if (close == std::string_view::npos) return false;
  AssignCut(field, line.substr(start, close - start), capacity);
  position = close + 1;
  return true;
}

// Starts on the character before its field (a comma, or the closing quote of
// the field before), takes everything but double quotes up to the next comma
// and leaves the position on that comma.
bool ReadToComma(std::string_view line, std::size_t& position, std::string& field, std::size_t capacity) {
  const std::size_t start = position + 1;
  if (start > line.size()) return false;  // past the appended comma
  std::size_t comma = line.find(',', start);
  if (comma == std::string_view::npos) comma = line.size();  // the appended comma
  const std::string_view raw = line.substr(start, comma - start);
  if (raw.find('"') == std::string_view::npos) {
    AssignCut(field, raw, capacity);
  } else {
    field.clear();
    for (char c : raw)
      if (c != '"' && field.size() < capacity) field += c;
  }
  position = comma;
  return true;
}

// A Filter off the table becomes the first entry, widest first, whose text is
// smaller in a character comparison; the comparison is on text, as the file
// always stored it.
void MatchFilter(FrequencyRecord& record) {
  const auto& texts = FilterTexts();
  record.FilterIndex = 0;
  for (int row = 0; row < FilterCount; ++row) {
    if (record.Filter == texts[row]) {
      record.FilterIndex = row;
      return;
    }
  }
  for (int row = 0; row < FilterCount; ++row) {
    if (texts[row] < record.Filter) {
      record.Filter = texts[row];
      record.FilterIndex = row;
      return;
    }
  }
}

// A Step off the table becomes the largest table step below it. Returns
// false when the Step has to be read as a number and is not one.
bool MatchStep(FrequencyRecord& record) {
  if (record.Step == "10000" || record.Step == "9000") {
    record.StepIndex = 8;
    return true;
  }
  record.StepIndex = 8;
  const auto& texts = StepTexts();
  for (int row = 0; row < StepCount; ++row) {
    if (record.Step == texts[row]) {
      record.StepIndex = row;
      return true;
    }
  }
  const auto value = TryReadWhole(record.Step);
  if (!value) return false;
  for (int row = StepCount - 1; row >= 0; --row) {
    if (StepTable[row].stepHz < *value) {
      record.Step = texts[row];
      record.StepIndex = row;
      return true;
    }
  }
  return true;
}

inline bool NeedsSanitizing(char c) { return c == '"' || c == '\r' || c == '\n'; }
inline char Sanitized(char c) { return c == '"' ? '\'' : (c == '\r' || c == '\n') ? ' ' : c; }

void AppendSanitized(std::string& out, std::string_view text) {
  for (char c : text) out += Sanitized(c);
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  AppendSanitized(out, text);
  out += '"';
}

}  // namespace

void ClearFrequencyRecord(FrequencyRecord& record) {
  record = FrequencyRecord{};
}

std::string SanitizeTextField(std::string_view text, std::size_t capacity) {
  std::string out;
  out.reserve(std::min(text.size(), capacity));
  AppendSanitized(out, text.substr(0, std::min(text.size(), capacity)));
  return out;
}

void SanitizeFrequencyRecord(FrequencyRecord& r) {
  const auto fix = [](std::string& field, std::size_t capacity) {
    if (field.size() > capacity || std::any_of(field.begin(), field.end(), NeedsSanitizing))
      field = SanitizeTextField(field, capacity);
  };
  fix(r.Name, FrequencyRecord::NameCapacity);
  fix(r.Freq, FrequencyRecord::FreqCapacity);
  fix(r.Mode, FrequencyRecord::ModeCapacity);
  fix(r.Filter, FrequencyRecord::FilterCapacity);
  fix(r.AGC, FrequencyRecord::AGCCapacity);
  fix(r.Step, FrequencyRecord::StepCapacity);
  fix(r.PBT, FrequencyRecord::PBTCapacity);
  fix(r.Location, FrequencyRecord::LocationCapacity);
  fix(r.Language, FrequencyRecord::LanguageCapacity);
  fix(r.OnAir, FrequencyRecord::OnAirCapacity);
  fix(r.OffAir, FrequencyRecord::OffAirCapacity);
  fix(r.Notes, FrequencyRecord::NotesCapacity);
  fix(r.Spare, FrequencyRecord::SpareCapacity);
  fix(r.Lockout, FrequencyRecord::LockoutCapacity);
}

bool ParseFrequencyLine(std::string_view line, FrequencyRecord& r) {
  ClearFrequencyRecord(r);
  if (line.empty()) return false;
  // Every entry starts with its quoted name; a line that does not is not a
  // station entry and is refused rather than read with a made-up name.
  if (line[0] != '"') return false;

  std::size_t pos = 0;
  if (!ReadQuoted(line, pos, r.Name, FrequencyRecord::NameCapacity)) return false;
  if (!ReadToComma(line, pos, r.Freq, FrequencyRecord::FreqCapacity)) return false;
  if (!ReadToComma(line, pos, r.Mode, FrequencyRecord::ModeCapacity)) return false;
  if (!ReadToComma(line, pos, r.Filter, FrequencyRecord::FilterCapacity)) return false;

  // AGC is the one character after the comma; the position then rests on the
  // comma that follows it.
  pos += 1;
  if (pos > line.size()) return false;
  r.AGC.assign(1, At(line, pos));
  pos += 1;

  if (!ReadToComma(line, pos, r.Step, FrequencyRecord::StepCapacity)) return false;
  if (!ReadToComma(line, pos, r.PBT, FrequencyRecord::PBTCapacity)) return false;

  const std::pair<std::string*, std::size_t> quoted[] = {
      {&r.Location, FrequencyRecord::LocationCapacity}, {&r.Language, FrequencyRecord::LanguageCapacity},
      {&r.OnAir, FrequencyRecord::OnAirCapacity},       {&r.OffAir, FrequencyRecord::OffAirCapacity},
      {&r.Notes, FrequencyRecord::NotesCapacity},
  };
  for (const auto& [field, capacity] : quoted) {
    pos += 1;  // from the comma onto the opening quote
    if (!ReadQuoted(line, pos, *field, capacity)) return false;
  }

  if (!ReadToComma(line, pos, r.Spare, FrequencyRecord::SpareCapacity)) return false;
  if (!ReadToComma(line, pos, r.Lockout, FrequencyRecord::LockoutCapacity)) return false;

  MatchFilter(r);
  return MatchStep(r);
}

std::optional<std::string> FileFreqToKHzText(std::string_view mhzText, char separator) {
  // The file's "." is the decimal point whatever the locale; reading it with
  // both "." and the locale separator accepted is what converting "." to the
  // separator first and then reading does.
  std::string localised(mhzText);
  for (char& c : localised)
    if (c == '.') c = separator;
  const auto mhz = TryReadDecimal(localised, separator);
  if (!mhz) return std::nullopt;
  std::string khz = FormatFrequency(3, false, *mhz * 1000.0, separator);
  if (khz == "xxx") return std::nullopt;
  return khz;
}

std::string KHzTextToFileFreq(std::string_view kHzText, char separator) {
  const auto khz = TryReadDecimal(kHzText, separator);
  if (!khz) throw ConversionError("'" + std::string(kHzText) + "' is not a valid floating point value");
  return LocaleToDotDecimal(FormatFrequency(6, false, *khz / 1000.0, separator), separator);
}

bool ReadFrequencyLine(std::string_view line, char separator, FrequencyRecord& record) {
  if (!ParseFrequencyLine(line, record)) return false;
  auto khz = FileFreqToKHzText(record.Freq, separator);
  if (!khz) return false;
  record.Freq = std::move(*khz);
  return true;
}

std::string FormatFrequencyLine(const FrequencyRecord& r, char separator) {
  const std::string mhz = KHzTextToFileFreq(r.Freq, separator);
  std::string out;
  out.reserve(40 + r.Name.size() + r.Mode.size() + r.Filter.size() + r.Step.size() + r.PBT.size() +
              r.Location.size() + r.Language.size() + r.OnAir.size() + r.OffAir.size() + r.Notes.size() +
              r.Spare.size() + r.Lockout.size());
  AppendQuoted(out, r.Name);
  out += ',';
  out += mhz;
  for (const std::string* bare : {&r.Mode, &r.Filter, &r.AGC, &r.Step, &r.PBT}) {
    out += ',';
    AppendSanitized(out, *bare);
  }
  for (const std::string* text : {&r.Location, &r.Language, &r.OnAir, &r.OffAir, &r.Notes}) {
    out += ',';
    AppendQuoted(out, *text);
  }
  out += ',';
  AppendSanitized(out, r.Spare);
  out += ',';
  AppendSanitized(out, r.Lockout);
  return out;
}

std::string ErrorReadingRecordMessage(std::size_t lineNumber, std::string_view line) {
  std::string message = "Error reading record " + std::to_string(lineNumber) + ":  ";
  message.append(line.data(), line.size());
  return message;
}

bool IsLockedOut(std::string_view lockout) {
  const auto value = TryReadWhole(lockout);
  return value && *value != 0;
}

}  // namespace ondaris
