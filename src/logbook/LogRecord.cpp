#include "logbook/LogRecord.h"

#include <array>

namespace ondaris {

namespace {

constexpr std::size_t NoCapacity = std::string::npos;

// Field capacities in file order.
constexpr std::array<std::size_t, 15> FileCapacities = {
    LogRecord::CodeCapacity, LogRecord::FreqCapacity,    LogRecord::ModeCapacity,  LogRecord::TimeCapacity,
    LogRecord::DateCapacity, LogRecord::IDCapacity,      NoCapacity,               LogRecord::SentCapacity,
    LogRecord::RcvdCapacity, LogRecord::Rpt1Capacity,    LogRecord::Rpt2Capacity,  LogRecord::OffCapacity,
    LogRecord::CountryCapacity, LogRecord::MiscCapacity, LogRecord::AttachCapacity};

template <class Record>
auto FileOrder(Record& r) {
  return std::array{&r.Code, &r.Freq, &r.Mode, &r.Time,  &r.Date,    &r.ID,   &r.Notes, &r.Sent,
                    &r.Rcvd, &r.Rpt1, &r.Rpt2, &r.Off,   &r.Country, &r.Misc, &r.Attach};
}

void AppendCleaned(std::string& out, std::string_view text) {
  for (char c : text) out += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
}

std::string FormatFields(const LogRecord& record, char separator, std::size_t count) {
  const auto fields = FileOrder(record);
  std::string line;
  line.reserve(128 + record.Notes.size());
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& text = *fields[i];
    if (i == 1) {
      for (char c : text) line += (c == separator) ? '.' : (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    } else {
      AppendCleaned(line, text);
    }
    line += '\t';
  }
  return line;
}

}  // namespace

LogRecord ParseLogLine(std::string_view line, char separator) {
  // Splitting at every tab reads each field exactly where the shared-position
  // field reader finds it, a leading tab giving an empty Code.
  LogRecord record;
  auto fields = FileOrder(record);
  std::size_t start = 0;
  for (std::size_t i = 0; i < fields.size() && start <= line.size(); ++i) {
    std::size_t end = line.find('\t', start);
    if (end == std::string_view::npos) end = line.size();
    std::string_view text = line.substr(start, end - start);
    if (text.size() > FileCapacities[i]) text = text.substr(0, FileCapacities[i]);
    fields[i]->assign(text);
    start = end + 1;
  }
  if (separator != '.')
    for (char& c : record.Freq)
      if (c == '.') c = separator;
  return record;
}

std::string FormatLogLine(const LogRecord& record, char separator) { return FormatFields(record, separator, 15); }

std::string FormatEntryLine(const LogRecord& record, char separator) { return FormatFields(record, separator, 14); }

std::string CleanLogField(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendCleaned(out, text);
  return out;
}

std::string TidyTypedText(std::string_view text, std::size_t capacity) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\n') continue;
    out += c == '"' ? '\'' : (c == '\r' || c == '\t') ? ' ' : c;
  }
  if (out.size() > capacity) out.resize(capacity);
  return out;
}

}  // namespace ondaris
