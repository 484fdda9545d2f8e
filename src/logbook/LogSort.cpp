#include "logbook/LogSort.h"

#include <algorithm>
#include <numeric>

#include "common/NumberText.h"
#include "common/ShellSort.h"
#include "logbook/LogDates.h"

namespace ondaris {

namespace {

// Each key read once per record before the sort, so that a comparison is a
// few loads rather than a parse.
struct KeyColumn {
  LogSortKey key;
  const std::vector<std::string>* texts = nullptr;
  std::vector<std::string> folded;  // CaseFolded
  std::vector<double> numbers;      // Number, Date, Time
};

KeyColumn ReadKey(const LogTable& table, const LogSortKey& key, char separator) {
  KeyColumn column{key, &table.Column(key.field), {}, {}};
  const auto& texts = *column.texts;
  switch (key.kind) {
    case LogKeyKind::CaseFolded:
      column.folded.reserve(texts.size());
      for (const auto& text : texts) column.folded.push_back(FoldAscii(text));
      break;
    case LogKeyKind::Number:
      column.numbers.reserve(texts.size());
      for (const auto& text : texts) column.numbers.push_back(TryReadDecimal(text, separator).value_or(0.0));
      break;
    case LogKeyKind::Date:
      column.numbers.reserve(texts.size());
      for (const auto& text : texts) column.numbers.push_back(static_cast<double>(DateKey(text)));
      break;
    case LogKeyKind::Time:
      column.numbers.reserve(texts.size());
      for (const auto& text : texts) column.numbers.push_back(static_cast<double>(TimeKey(text)));
      break;
    case LogKeyKind::Flag:
      break;
  }
  return column;
}

// <0, 0, >0 as record index a sorts before, with, after record index b.
int Compare(const KeyColumn& column, std::size_t a, std::size_t b) {
  switch (column.key.kind) {
    case LogKeyKind::CaseFolded: return column.folded[a].compare(column.folded[b]);
    case LogKeyKind::Flag: return (*column.texts)[b].compare((*column.texts)[a]);
    default: {
      const double x = column.numbers[a], y = column.numbers[b];
      return x < y ? -1 : x > y ? 1 : 0;
    }
  }
}

// The skeleton over records first..last: an order of the records is sorted
// and then applied to the table at once. Shell's sort exchanges two elements
// exactly when the comparison asks for it, so the records whose marks a
// record-by-record exchange would empty are known from the comparisons.
template <class MustComeAfter>
void SortRange(LogTable& table, int first, int last, bool keepMarks, MustComeAfter&& mustComeAfter) {
  const int count = table.RecordCount();
  first = std::max(first, 1);
  if (last < 0 || last > count) last = count;
  if (last - first < 1) return;
  std::vector<int> order(static_cast<std::size_t>(count));
  std::iota(order.begin(), order.end(), 1);
  std::vector<char> unmark(keepMarks ? 0 : static_cast<std::size_t>(count), 0);
  ShellSort(order.data() + (first - 1), static_cast<std::size_t>(last - first + 1), [&](int a, int b) {
    const bool after = mustComeAfter(static_cast<std::size_t>(a - 1), static_cast<std::size_t>(b - 1));
    if (after && !keepMarks) unmark[static_cast<std::size_t>(a - 1)] = unmark[static_cast<std::size_t>(b - 1)] = 1;
    return after;
  });
  table.Reorder(order, unmark);
}

constexpr unsigned Same(unsigned keyIndex) { return 1u << keyIndex; }

}  // namespace

void SortLogRecords(LogTable& table, const std::vector<LogSortKey>& keys, char separator, int first, int last,
                    bool keepMarks) {
  if (keys.empty()) return;
  std::vector<KeyColumn> columns;
  columns.reserve(keys.size());
  for (const auto& key : keys) columns.push_back(ReadKey(table, key, separator));
  SortRange(table, first, last, keepMarks, [&columns](std::size_t a, std::size_t b) {
    for (std::size_t k = 0; k < columns.size(); ++k) {
      const unsigned same = columns[k].key.sameAs;
      for (std::size_t i = 0; i < k; ++i)
        if ((same & Same(static_cast<unsigned>(i))) && (*columns[i].texts)[a] != (*columns[i].texts)[b]) return false;
      const int order = Compare(columns[k], a, b);
      if (order != 0) return order > 0;
    }
    return false;
  });
}

std::vector<LogSortKey> HeaderSortKeys(LogField field) {
  using F = LogField;
  using K = LogKeyKind;
  switch (field) {
    case F::Code: return {{F::Code, K::CaseFolded}, {F::Freq, K::Number}, {F::Time, K::Time, Same(0) | Same(1)}};
    case F::Freq: return {{F::Freq, K::Number}, {F::Time, K::Time, Same(0)}};
    case F::Mode: return {{F::Mode, K::CaseFolded}, {F::Freq, K::Number}, {F::Time, K::Time, Same(1)}};
    case F::Time: return {{F::Time, K::Time}};
    case F::Off: return {{F::Off, K::Time}};
    case F::Date: return {{F::Date, K::Date}, {F::Time, K::Time, Same(0)}};
    case F::Country:
      return {{F::Country, K::CaseFolded}, {F::Date, K::Date}, {F::Time, K::Time, Same(1)}};
    case F::S:
    case F::Att: return {{field, K::Flag}, {F::Date, K::Date}, {F::ID, K::CaseFolded, Same(1)}};
    case F::R:
      return {{F::R, K::Flag}, {F::S, K::Flag}, {F::Date, K::Date}, {F::ID, K::CaseFolded, Same(2)}};
    case F::ID:
    case F::Rpt1:
    case F::Rpt2:
    case F::Misc: return {{field, K::CaseFolded}};
    default: return {};
  }
}

void SortLogByHeader(LogTable& table, LogField field, char separator) {
  SortLogRecords(table, HeaderSortKeys(field), separator);
}

std::vector<LogSortKey> ButtonSortKeys(LogButtonSort sort) {
  using F = LogField;
  using K = LogKeyKind;
  const LogSortKey code{F::Code, K::CaseFolded}, date{F::Date, K::Date};
  switch (sort) {
    case LogButtonSort::DateFreq: return {code, date, {F::Freq, K::Number, Same(1)}};
    case LogButtonSort::FreqID: return {code, date, {F::Freq, K::Number}, {F::ID, K::CaseFolded, Same(2)}};
    case LogButtonSort::FreqCtry: return {code, date, {F::Freq, K::Number}, {F::Country, K::CaseFolded, Same(2)}};
    case LogButtonSort::CtryFreq: return {code, date, {F::Country, K::CaseFolded}, {F::Freq, K::Number}};
  }
  return {};
}

void SortLogByButton(LogTable& table, LogButtonSort sort, char separator) {
  SortLogRecords(table, ButtonSortKeys(sort), separator);
}

std::size_t FindInText(std::string_view needle, std::string_view text, bool matchCase) {
  if (needle.empty() || text.empty() || needle.size() > text.size()) return 0;
  std::size_t at;
  if (matchCase) {
    at = text.find(needle);
  } else {
    at = FoldAscii(text).find(FoldAscii(needle));
  }
  return at == std::string_view::npos ? 0 : at + 1;
}

bool LogRecordMatches(const LogTable& table, int record, std::string_view needle, bool matchCase) {
  for (int f = 0; f < LogFieldCount; ++f)
    if (FindInText(needle, table.Cell(record, static_cast<LogField>(f)), matchCase) != 0) return true;
  return false;
}

int FindLogRecord(const LogTable& table, int from, std::string_view needle, bool matchCase) {
  for (int r = std::max(from, 1); r <= table.RecordCount(); ++r)
    if (LogRecordMatches(table, r, needle, matchCase)) return r;
  return 0;
}

int GatherMatchingRecords(LogTable& table, std::string_view needle, bool matchCase, char separator) {
  table.ClearMarks();
  if (needle.empty()) return 0;
  std::vector<char> matches(static_cast<std::size_t>(table.RecordCount()));
  for (int r = 1; r <= table.RecordCount(); ++r)
    matches[static_cast<std::size_t>(r - 1)] = LogRecordMatches(table, r, needle, matchCase) ? 1 : 0;
  SortRange(table, 1, -1, false, [&matches](std::size_t a, std::size_t b) { return !matches[a] && matches[b]; });
  int gathered = 0;
  while (gathered < table.RecordCount() && LogRecordMatches(table, gathered + 1, needle, matchCase)) ++gathered;
  for (int r = 1; r <= gathered; ++r) table.Marks[static_cast<std::size_t>(r - 1)].assign(1, 'T');
  static const std::vector<LogSortKey> dateThenTime = {{LogField::Date, LogKeyKind::Date},
                                                       {LogField::Time, LogKeyKind::Time, Same(0)}};
  if (gathered > 1) SortLogRecords(table, dateThenTime, separator, 1, gathered, true);
  return gathered;
}

}  // namespace ondaris
