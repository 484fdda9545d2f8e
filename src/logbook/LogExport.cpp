#include "logbook/LogExport.h"

#include <algorithm>

#include "common/NumberText.h"
#include "common/ShellSort.h"
#include "common/TextHelpers.h"

namespace ondaris {

namespace {

struct DateParts {
  std::string_view month, day, year;
};

// Split at the first two slashes; missing parts are empty, so a date without
// two slashes gives an incomplete text rather than nothing.
DateParts SplitStoredDate(std::string_view date) {
  DateParts parts;
  const auto first = date.find('/');
  parts.month = date.substr(0, first);
  if (first == std::string_view::npos) return parts;
  const auto second = date.find('/', first + 1);
  parts.day = date.substr(first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1);
  if (second != std::string_view::npos) parts.year = date.substr(second + 1);
  return parts;
}

std::string MonthName(std::string_view monthText) {
  const auto month = TryReadWhole(monthText);
  return month ? MonthAbbrev(static_cast<int>(*month)) : std::string();
}

const std::string& Cell(const LogTable& table, int record, LogField field) { return table.Cell(record, field); }

std::string Trimmed(const LogTable& table, int record, LogField field) {
  return TrimTrailingSpaces(Cell(table, record, field));
}

// "." at the end takes one space, anything else a full stop and a space; then
// the signature in parentheses.
void EndSentence(std::string& line, const std::string& signature) {
  line += (!line.empty() && line.back() == '.') ? " " : ". ";
  if (!signature.empty()) line.append("(").append(signature).append(")");
}

// The sort keys of one selected record, read once so that the Shell sort
// compares prepared values.
struct ExportKey {
  int record = 0;
  double freq = 0;
  const std::string* freqText = nullptr;
  std::string first, second;  // folded text keys
};

// Empty text and text that is not a number both count 0, so an odd Freq
// sorts with the empty ones instead of stopping the sort.
double FreqNumber(const std::string& text, char separator) {
  return TryReadDecimal(text, separator).value_or(0.0);
}

}  // namespace

std::string MonthAbbrev(int month) {
  static constexpr const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  return month >= 1 && month <= 12 ? names[month - 1] : "";
}

std::string MonthDayText(std::string_view date) {
  const DateParts parts = SplitStoredDate(date);
  return MonthName(parts.month) + " " + std::string(parts.day);
}

std::string DayMonthYearText(std::string_view date) {
  const DateParts parts = SplitStoredDate(date);
  return std::string(parts.day) + "/" + MonthName(parts.month) + "/" + std::string(parts.year);
}

std::string TrimTrailingSpaces(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return std::string(end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1));
}

std::string ToCapitals(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') {
      ch = static_cast<char>(c - 32);
    } else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {  // à..þ except ÷
      ch = static_cast<char>(c - 32);
    } else if (c == 0x9A || c == 0x9C || c == 0x9E) {  // š œ ž
      ch = static_cast<char>(c - 16);
    } else if (c == 0xFF) {  // ÿ
      ch = static_cast<char>(0x9F);
    }
  }
  return out;
}

std::string ExportFreq(const LogTable& table, int record, char separator) {
  return LocaleToDotDecimal(DotToLocaleDecimal(Cell(table, record, LogField::Freq), separator), separator);
}

std::string SwlExportLine(const LogTable& table, int record, const std::string& signature, char separator) {
  const std::string country = Trimmed(table, record, LogField::Country);
  std::string line = country.empty() ? std::string("[COUNTRY]") : ToCapitals(country);
  line += ' ';
  line.append(ExportFreq(table, record, separator)).append(", ");
  line.append(Trimmed(table, record, LogField::Time)).append("-");
  line.append(Trimmed(table, record, LogField::Off)).append(", ");
  line.append(Trimmed(table, record, LogField::ID)).append(" ");
  line.append(MonthDayText(Cell(table, record, LogField::Date))).append(" ");
  line.append(Trimmed(table, record, LogField::Notes));
  EndSentence(line, signature);
  return line;
}

std::string MwExportLine(const LogTable& table, int record, const std::string& signature, char separator) {
  std::string line = ExportFreq(table, record, separator) + " ";
  if (!Cell(table, record, LogField::Country).empty())
    line.append(ToCapitals(Trimmed(table, record, LogField::Country))).append(" ");
  if (!Cell(table, record, LogField::Misc).empty()) line.append(Trimmed(table, record, LogField::Misc)).append(" ");
  line.append(Trimmed(table, record, LogField::ID)).append(", ");
  line.append(MonthDayText(Cell(table, record, LogField::Date))).append(" ");
  line.append(Trimmed(table, record, LogField::Time)).append(" - ");
  line.append(Trimmed(table, record, LogField::Notes));
  EndSentence(line, signature);
  return line;
}

std::string UteExportLine(const LogTable& table, int record, const std::string& signature, char separator) {
  const std::string freq = TrimTrailingSpaces(ExportFreq(table, record, separator));
  std::string line(freq.size() < 5 ? 5 - freq.size() : 0, ' ');
  line.append(freq).append("   ");
  line.append(Cell(table, record, LogField::ID)).append("  ");
  line.append(Cell(table, record, LogField::Time)).append("  ");
  line.append(ToCapitals(Cell(table, record, LogField::Mode))).append("  ");
  line.append(Cell(table, record, LogField::Notes)).append("  ");
  line.append(DayMonthYearText(Cell(table, record, LogField::Date)));
  if (!signature.empty()) line.append("  (").append(signature).append(")");
  return line;
}

std::vector<std::string> WrapUteLine(std::string_view line) {
  constexpr std::size_t FirstWidth = 72, Reach = 63, Rest = 64;
  std::vector<std::string> out;
  const std::size_t n = line.size();
  if (n <= FirstWidth) {
    out.emplace_back(line);
    return out;
  }
  // Positions count from 1, as in the layout's description: at(p) is
  // character p.
  const auto at = [&](std::size_t p) { return line[p - 1]; };
  const auto from = [&](std::size_t p, std::size_t count) { return std::string(line.substr(p - 1, count)); };
  // Continuation text starts in column 9 whether it begins with one space,
  // two spaces or none.
  const auto indent = [&](std::size_t p) {
    if (at(p) != ' ') return std::string(8, ' ');
    return std::string(p + 1 <= n && at(p + 1) == ' ' ? 6 : 7, ' ');
  };

  std::size_t p = FirstWidth;
  while (p >= 1 && at(p) != ' ') --p;
  if (p >= 1) {
    out.push_back(from(1, p - 1));
  } else {  // no space to cut at: cut after character 72
    out.push_back(from(1, FirstWidth));
    p = FirstWidth + 1;
  }
  while (n - p > Rest) {
    std::size_t q = p + Reach;
    while (q > p && at(q) != ' ') --q;
    if (q > p) {
      // The cut space ends this line and begins the next.
      out.push_back(indent(p) + from(p, q - p + 1));
      p = q;
    } else {
      // Searching on would stop at p and never move; cut hard instead.
      out.push_back(indent(p) + from(p, Reach));
      p += Reach;
    }
  }
  out.push_back(indent(p) + from(p, n - p + 1));
  return out;
}

std::vector<int> ExportSelection(const LogTable& table, const std::vector<int>& selection, LogExportKind kind,
                                 const LogExportSettings& settings, char separator) {
  std::vector<int> records;
  records.reserve(selection.size());
  for (int r : selection)
    if (table.IsRecord(r)) records.push_back(r);
  std::sort(records.begin(), records.end());
  records.erase(std::unique(records.begin(), records.end()), records.end());

  const bool bulk = kind == LogExportKind::Swl ? settings.SwlBulkSort
                    : kind == LogExportKind::Mw ? settings.MwBulkSort
                                                : settings.UteBulkSort;
  if (!bulk || records.size() < 2) return records;

  const LogField firstField = kind == LogExportKind::Ute ? LogField::ID : LogField::Country;
  std::vector<ExportKey> keys(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    ExportKey& key = keys[i];
    key.record = records[i];
    key.freqText = &table.Cell(key.record, LogField::Freq);
    key.freq = FreqNumber(*key.freqText, separator);
    key.first = FoldAscii(table.Cell(key.record, firstField));
    if (kind == LogExportKind::Mw) key.second = FoldAscii(table.Cell(key.record, LogField::Misc));
  }
  switch (kind) {
    case LogExportKind::Swl:  // Country, then Freq
      ShellSort(keys, [](const ExportKey& a, const ExportKey& b) {
        if (a.first != b.first) return a.first > b.first;
        return a.freq > b.freq;
      });
      break;
    case LogExportKind::Mw:  // Freq, then Country and Misc under the same Freq text
      ShellSort(keys, [](const ExportKey& a, const ExportKey& b) {
        if (a.freq != b.freq) return a.freq > b.freq;
        if (*a.freqText != *b.freqText) return false;
        if (a.first != b.first) return a.first > b.first;
        return a.second > b.second;
      });
      break;
    case LogExportKind::Ute:  // Freq, then ID under the same Freq text
      ShellSort(keys, [](const ExportKey& a, const ExportKey& b) {
        if (a.freq != b.freq) return a.freq > b.freq;
        if (*a.freqText != *b.freqText) return false;
        return a.first > b.first;
      });
      break;
  }
  for (std::size_t i = 0; i < keys.size(); ++i) records[i] = keys[i].record;
  return records;
}

std::vector<std::string> LogExportLines(const LogTable& table, const std::vector<int>& records, LogExportKind kind,
                                        const std::string& signature, const std::vector<std::string>& closingText,
                                        char separator) {
  std::vector<std::string> lines;
  if (records.empty()) return lines;  // a closing text alone is no export
  lines.reserve(records.size() * 2 + closingText.size() + 1);
  for (int r : records) {
    switch (kind) {
      case LogExportKind::Swl: lines.push_back(SwlExportLine(table, r, signature, separator)); break;
      case LogExportKind::Mw: lines.push_back(MwExportLine(table, r, signature, separator)); break;
      case LogExportKind::Ute:
        for (auto& part : WrapUteLine(UteExportLine(table, r, signature, separator))) lines.push_back(std::move(part));
        break;
    }
    lines.emplace_back();
  }
  lines.pop_back();
  if (!closingText.empty()) {
    lines.emplace_back();
    lines.insert(lines.end(), closingText.begin(), closingText.end());
  }
  return lines;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& line : lines) text.append(line).append("\r\n");
  return text;
}

std::string LogExportFileName(LogExportKind kind) {
  switch (kind) {
    case LogExportKind::Ute: return "UteExport.txt";
    case LogExportKind::Swl: return "SwlExport.txt";
    case LogExportKind::Mw: return "MwExport.txt";
  }
  return {};
}

std::string LogExportDoneMessage(LogExportKind kind) {
  return "Your selected records have been exported to Export\\" + LogExportFileName(kind) +
         " in the working directory.";
}

}  // namespace ondaris
