// The nine sorts of the frequency grid: their keys, their ties, and the exact
// outcome of the one Shell sort.

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "common/ShellSort.h"
#include "freqfiles/FrequencySort.h"

namespace ondaris {
namespace {

// A list built straight into the columns, so that tests can hold any text.
struct Row {
  std::string freq = "", name = "", onAir = "0000", offAir = "2400", language = "", location = "", mode = "AM",
              filter = "6000", lockout = "0";
};

FrequencyList ListOf(const std::vector<Row>& rows) {
  FrequencyList list;
  for (const Row& r : rows)
    list.AppendRecord(FrequencyRecord{r.name, r.freq, r.mode, r.filter, "0", "", "", r.location, r.language, r.onAir,
                                      r.offAir, "", "0", r.lockout});
  list.ResetRowOrders();
  return list;
}

std::vector<int> Sorted(const std::vector<Row>& rows, SortColumn column, char separator = '.') {
  FrequencyList list = ListOf(rows);
  SortView(list, column, separator);
  return list.RowOrder;
}

// ---- A literal second implementation: compares the texts themselves at
// every step, with the positions counted from 1, to check the fast sort
// against.

std::string Folded(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
  return out;
}

double AsNumber(const std::string& text, bool decimal, char separator) {
  constexpr double none = -std::numeric_limits<double>::infinity();
  if (decimal) {
    const auto value = TryReadDecimal(text, separator);
    return value ? *value : none;
  }
  const auto value = TryReadWhole(text);
  return value ? static_cast<double>(*value) : none;
}

enum class Kind { Text, Decimal, Whole, LockedFirst };

// +1: the earlier record must come after; 0: equal keys, look further; -1: stop.
int CompareKey(Kind kind, const std::string& a, const std::string& b, char separator) {
  switch (kind) {
    case Kind::Text: {
      const std::string fa = Folded(a), fb = Folded(b);
      if (fa > fb) return 1;
      return fa == fb ? 0 : -1;
    }
    case Kind::LockedFirst:
      if (a == "0" && b != "0") return 1;
      return a == b ? 0 : -1;
    default:
      if (AsNumber(a, kind == Kind::Decimal, separator) > AsNumber(b, kind == Kind::Decimal, separator)) return 1;
      return a == b ? 0 : -1;
  }
}

struct RefKey {
  FreqColumn column;
  Kind kind;
};

std::array<RefKey, 3> RefKeys(SortColumn column) {
  using C = FreqColumn;
  switch (column) {
    case SortColumn::Lockout: return {{{C::Lockout, Kind::LockedFirst}, {C::Freq, Kind::Decimal}, {C::Name, Kind::Text}}};
    case SortColumn::Freq: return {{{C::Freq, Kind::Decimal}, {C::Name, Kind::Text}, {C::OnAir, Kind::Whole}}};
    case SortColumn::Name: return {{{C::Name, Kind::Text}, {C::Freq, Kind::Decimal}, {C::OnAir, Kind::Whole}}};
    case SortColumn::StartTime: return {{{C::OnAir, Kind::Whole}, {C::Name, Kind::Text}, {C::Freq, Kind::Decimal}}};
    case SortColumn::EndTime: return {{{C::OffAir, Kind::Whole}, {C::Name, Kind::Text}, {C::Freq, Kind::Decimal}}};
    case SortColumn::Language: return {{{C::Language, Kind::Text}, {C::Name, Kind::Text}, {C::Freq, Kind::Decimal}}};
    case SortColumn::Location: return {{{C::Location, Kind::Text}, {C::Name, Kind::Text}, {C::Freq, Kind::Decimal}}};
    case SortColumn::Mode: return {{{C::Mode, Kind::Text}, {C::Name, Kind::Text}, {C::Freq, Kind::Decimal}}};
    case SortColumn::Filter: return {{{C::Filter, Kind::Whole}, {C::Name, Kind::Text}, {C::Freq, Kind::Decimal}}};
  }
  return {};
}

std::vector<int> ReferenceSort(const FrequencyList& list, std::vector<int> order, SortColumn column, char separator) {
  const auto keys = RefKeys(column);
  const auto mustComeAfter = [&](int a, int b) {
    for (const RefKey& key : keys) {
      const int c = CompareKey(key.kind, list.Cell(a, key.column), list.Cell(b, key.column), separator);
      if (c != 0) return c > 0;
    }
    return false;
  };
  const int count = static_cast<int>(order.size());
  const auto at = [&](int position) -> int& { return order[static_cast<std::size_t>(position - 1)]; };
  for (int gap = count / 2; gap >= 1; gap /= 2)
    for (int i = gap + 1; i <= count; ++i)
      for (int j = i - gap; j > 0 && mustComeAfter(at(j), at(j + gap)); j -= gap) std::swap(at(j), at(j + gap));
  return order;
}

constexpr std::array<SortColumn, SortColumnCount> kAllColumns = {
    SortColumn::Lockout,  SortColumn::Freq,     SortColumn::Name, SortColumn::StartTime, SortColumn::EndTime,
    SortColumn::Language, SortColumn::Location, SortColumn::Mode, SortColumn::Filter};

// Small pools so that ties at every key are frequent.
std::vector<Row> RandomRows(std::mt19937& random, int count, char separator) {
  const std::string point(1, separator);
  const std::vector<std::string> freqs = {"9580", "9580" + point + "5", "153", "9580" + point + "0", "14230" + point + "5",
                                          "6005", "abc", "", "-5", "100"};
  const std::vector<std::string> names = {"abc", "ABC", "Abd", "_x", "\xE9" "a", "\xC9" "b", "", "zz", "a", "B", "b"};
  const std::vector<std::string> times = {"0800", "800", "", "2330", "0000", "0030", "x", "1200", "2400"};
  const std::vector<std::string> texts = {"", "English", "english", "ENGLISH", "Fr", "fr ", "\xE4", "Z", "[", "a"};
  const std::vector<std::string> modes = {"AM", "am", "USB", "LSB", "CW", "cw", "", "X"};
  const std::vector<std::string> filters = {"6000", "300", "525", "1800", "2400", "", "600", "06000", "q"};
  const std::vector<std::string> lockouts = {"0", "1", "0", "1", "2", "", "00"};
  const auto pick = [&](const std::vector<std::string>& pool) {
    return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)];
  };
  std::vector<Row> rows(static_cast<std::size_t>(count));
  // Braced initialisers run left to right: the same rows on every platform.
  for (Row& row : rows)
    row = Row{pick(freqs), pick(names), pick(times), pick(times), pick(texts), pick(texts), pick(modes), pick(filters),
              pick(lockouts)};
  return rows;
}

TEST(FrequencySortTest, MatchesTheLiteralSortOnRandomListsWithManyTies) {
  std::mt19937 random(20250101);
  for (char separator : {'.', ','}) {
    for (int count : {0, 1, 2, 3, 5, 8, 17, 64, 333, 1000}) {
      for (int round = 0; round < 3; ++round) {
        const FrequencyList list = ListOf(RandomRows(random, count, separator));
        std::vector<int> start(static_cast<std::size_t>(count));
        std::iota(start.begin(), start.end(), 0);
        std::shuffle(start.begin(), start.end(), random);
        // Sometimes a part of the list only, as in the on-air view.
        if (round == 2) start.resize(start.size() / 2);
        for (SortColumn column : kAllColumns) {
          std::vector<int> fast = start;
          SortRowOrder(list, fast, column, separator);
          ASSERT_EQ(fast, ReferenceSort(list, start, column, separator))
              << "column " << static_cast<int>(column) << ", " << count << " records, separator " << separator;
        }
      }
    }
  }
}

// Each key, its ties and what is no number, on small lists with known outcomes.
TEST(FrequencySortTest, KeysAndTiesOnKnownLists) {
  const std::vector<Row> textKeys = [] {
    std::vector<Row> rows = {{.freq = "9", .name = "b"}, {.freq = "8", .name = "a"}, {.freq = "7", .name = "a"},
                             {.freq = "6", .name = "c"}, {.freq = "5", .name = "d"}};
    const std::vector<std::string> keys = {"English", "german", "ENGLISH", "", "english"};
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i].language = rows[i].location = rows[i].mode = keys[i];
    return rows;
  }();
  const struct {
    const char* what;
    std::vector<Row> rows;
    SortColumn column;
    char separator;
    std::vector<int> expected;
  } cases[] = {
      {"freq, then name, then on air",
       {{.freq = "9580", .name = "b", .onAir = "0900"}, {.freq = "153", .name = "z", .onAir = ""},
        {.freq = "9580", .name = "B", .onAir = "0800"}, {.freq = "14230.5", .name = "a", .onAir = ""},
        {.freq = "9580", .name = "a", .onAir = "1000"}},
       SortColumn::Freq, '.', {1, 4, 2, 0, 3}},
      {"freq with the locale separator", {{.freq = "14230,5", .name = "x"}, {.freq = "9580", .name = "y"}},
       SortColumn::Freq, ',', {1, 0}},
      // With "." as separator the comma text is no number and sorts first.
      {"comma text under a point", {{.freq = "14230,5", .name = "x"}, {.freq = "9580", .name = "y"}},
       SortColumn::Freq, '.', {0, 1}},
      // Equal numbers written differently are not equal keys: they stay in place.
      {"9580.0 and 9580", {{.freq = "9580.0", .name = "b"}, {.freq = "9580", .name = "a"}}, SortColumn::Freq, '.',
       {0, 1}},
      {"0800 and 800", {{.freq = "2", .name = "b", .onAir = "0800"}, {.freq = "1", .name = "a", .onAir = "800"}},
       SortColumn::StartTime, '.', {0, 1}},
      {"equal names, freq texts differ",
       {{.freq = "9580.0", .name = "n", .onAir = "2000"}, {.freq = "9580", .name = "N", .onAir = "0100"}},
       SortColumn::Name, '.', {0, 1}},
      // "_" (0x5F) is below "a" only once "A" has become "a"; the Latin-1
      // capitals are not folded and compare as the bytes they are, above "z".
      {"name folds only A to Z",
       {{.freq = "7000", .name = "b", .onAir = "1200"}, {.freq = "9580", .name = "A"}, {.freq = "6005", .name = "a"},
        {.freq = "7000", .name = "B", .onAir = "0100"}, {.freq = "1", .name = "_x"}, {.freq = "1", .name = "\xC9" "b"},
        {.freq = "1", .name = "zz"}, {.freq = "1", .name = "\xE9" "a"}},
       SortColumn::Name, '.', {4, 2, 1, 3, 0, 6, 5, 7}},
      // The empty time is no number and comes first.
      {"start time, then name, then freq",
       {{.freq = "1", .name = "x", .onAir = "1200"}, {.freq = "1", .name = "b", .onAir = "0800"},
        {.freq = "1", .name = "n", .onAir = ""}, {.freq = "1", .name = "a", .onAir = "0800"},
        {.freq = "9", .name = "c", .onAir = "2330"}, {.freq = "3", .name = "c", .onAir = "2330"}},
       SortColumn::StartTime, '.', {2, 3, 1, 0, 5, 4}},
      {"end time, then name, then freq",
       {{.freq = "9580", .name = "Same", .offAir = "1200"}, {.freq = "153", .name = "same", .offAir = "1200"},
        {.freq = "1", .name = "a", .offAir = "0030"}, {.freq = "1", .name = "z", .offAir = "1200"},
        {.freq = "1", .name = "a", .offAir = "2400"}},
       SortColumn::EndTime, '.', {2, 1, 0, 3, 4}},
      // "" first, then the three spellings of "english" by name, then "german".
      {"language", textKeys, SortColumn::Language, '.', {3, 2, 0, 4, 1}},
      {"location", textKeys, SortColumn::Location, '.', {3, 2, 0, 4, 1}},
      {"mode", textKeys, SortColumn::Mode, '.', {3, 2, 0, 4, 1}},
      {"filter as a number",
       {{.freq = "1", .name = "a", .filter = "300"}, {.freq = "1", .name = "a", .filter = "6000"},
        {.freq = "1", .name = "a", .filter = "2400"}, {.freq = "1", .name = "a", .filter = "1800"},
        {.freq = "1", .name = "a", .filter = "525"}, {.freq = "1", .name = "B", .filter = "525"},
        {.freq = "0", .name = "b", .filter = "525"}},
       SortColumn::Filter, '.', {0, 4, 6, 5, 3, 2, 1}},
      {"locked first, then freq, then name",
       {{.freq = "100", .name = "b", .lockout = "0"}, {.freq = "200", .name = "x", .lockout = "1"},
        {.freq = "50", .name = "z", .lockout = "0"}, {.freq = "30", .name = "y", .lockout = "1"},
        {.freq = "100", .name = "a", .lockout = "0"}},
       SortColumn::Lockout, '.', {3, 1, 2, 4, 0}},
      // "2" and "1" are both locked out, but not the same key: Freq is not consulted.
      {"marks 2 and 1", {{.freq = "900", .lockout = "2"}, {.freq = "100", .lockout = "1"}}, SortColumn::Lockout, '.',
       {0, 1}},
      {"an empty mark is locked out", {{.freq = "1", .lockout = "0"}, {.freq = "2", .lockout = ""}},
       SortColumn::Lockout, '.', {1, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(Sorted(c.rows, c.column, c.separator), c.expected) << c.what;
}

// Shell's sort is not stable: the two equal "a" at 2 and 3 change places.
TEST(FrequencySortTest, GenericShellSortFollowsTheHalvingGaps) {
  std::vector<char> keys = {'a', 'b', 'a', 'a'};
  std::vector<int> order = {0, 1, 2, 3};
  ShellSort(order, [&](int a, int b) { return keys[a] > keys[b]; });
  EXPECT_EQ(order, (std::vector<int>{0, 3, 2, 1}));
  std::vector<int> numbers = {5, -1, 9, 3, 3, 0, 12, 7, 1};
  ShellSort(numbers, [](int a, int b) { return a > b; });
  EXPECT_EQ(numbers, (std::vector<int>{-1, 0, 1, 3, 3, 5, 7, 9, 12}));
}

TEST(FrequencySortTest, SortsTheViewTheGridShows) {
  FrequencyList list = ListOf({{.freq = "3", .name = "c"}, {.freq = "1", .name = "a"}, {.freq = "2", .name = "b"}});
  list.OnAirView = true;
  list.OnAirRowOrder = {2, 0};
  SortView(list, SortColumn::Name, '.');
  EXPECT_EQ(list.OnAirRowOrder, (std::vector<int>{2, 0}));
  SortView(list, SortColumn::Freq, '.');
  EXPECT_EQ(list.OnAirRowOrder, (std::vector<int>{2, 0}));
  list.OnAirRowOrder = {0, 2};
  SortByName(list, '.');
  EXPECT_EQ(list.OnAirRowOrder, (std::vector<int>{2, 0}));
  EXPECT_EQ(list.RowOrder, (std::vector<int>{0, 1, 2}));  // the full view is untouched
  list.OnAirView = false;
  SortByFreq(list, '.');
  EXPECT_EQ(list.RowOrder, (std::vector<int>{1, 2, 0}));
}

TEST(FrequencySortTest, NamedSortsUseTheirColumns) {
  std::mt19937 random(7);
  const FrequencyList base = ListOf(RandomRows(random, 200, '.'));
  using Named = void (*)(FrequencyList&, char);
  const std::array<std::pair<Named, SortColumn>, SortColumnCount> named = {{
      {SortByLockout, SortColumn::Lockout},
      {SortByFreq, SortColumn::Freq},
      {SortByName, SortColumn::Name},
      {SortByStartTime, SortColumn::StartTime},
      {SortByEndTime, SortColumn::EndTime},
      {SortByLanguage, SortColumn::Language},
      {SortByLocation, SortColumn::Location},
      {SortByMode, SortColumn::Mode},
      {SortByFilter, SortColumn::Filter},
  }};
  for (const auto& [sort, column] : named) {
    FrequencyList list = base;
    sort(list, '.');
    EXPECT_EQ(list.RowOrder, ReferenceSort(base, base.RowOrder, column, '.')) << static_cast<int>(column);
  }
}

TEST(FrequencySortTest, TheFreqSortedMarkFollowsTheSort) {
  const struct {
    SortColumn column;
    bool onAirView, before, after;
  } cases[] = {{SortColumn::Freq, false, false, true},      {SortColumn::Freq, false, true, true},
               {SortColumn::StartTime, false, true, true},  {SortColumn::StartTime, false, false, false},
               {SortColumn::Lockout, false, true, false},   {SortColumn::Name, false, true, false},
               {SortColumn::EndTime, false, true, false},   {SortColumn::Language, false, true, false},
               {SortColumn::Location, false, true, false},  {SortColumn::Mode, false, true, false},
               {SortColumn::Filter, false, true, false},    {SortColumn::Freq, true, false, false},
               {SortColumn::Name, true, true, true}};
  for (const auto& c : cases)
    EXPECT_EQ(FreqSortedAfterSort(c.column, c.onAirView, c.before), c.after)
        << static_cast<int>(c.column) << " " << c.onAirView << c.before;
}

}  // namespace
}  // namespace ondaris
