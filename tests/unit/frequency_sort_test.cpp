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

using Order = std::vector<int>;

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

// ---- A literal second implementation: compares the texts themselves at
// every step, with the positions counted from 1, to check the fast sort
// against.

std::string Folded(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
  return text;
}

double AsNumber(const std::string& text, bool decimal, char separator) {
  constexpr double none = -std::numeric_limits<double>::infinity();
  if (decimal) return TryReadDecimal(text, separator).value_or(none);
  const auto value = TryReadWhole(text);
  return value ? static_cast<double>(*value) : none;
}

enum class Kind { Text, Decimal, Whole, LockedFirst };

// +1: the earlier record must come after; 0: equal keys, look further; -1: stop.
int CompareKey(Kind kind, const std::string& a, const std::string& b, char separator) {
  bool after = false, same = a == b;
  switch (kind) {
    case Kind::Text: after = Folded(a) > Folded(b), same = Folded(a) == Folded(b); break;
    case Kind::LockedFirst: after = a == "0" && b != "0"; break;
    default:
      after = AsNumber(a, kind == Kind::Decimal, separator) > AsNumber(b, kind == Kind::Decimal, separator);
  }
  return after ? 1 : same ? 0 : -1;
}

struct RefKey {
  FreqColumn column;
  Kind kind;
};
using C = FreqColumn;
using K = Kind;

// Each sort with its named entry point and its three keys.
const struct {
  SortColumn column;
  void (*named)(FrequencyList&, char);
  std::array<RefKey, 3> keys;
} kSorts[] = {
    {SortColumn::Lockout, SortByLockout, {{{C::Lockout, K::LockedFirst}, {C::Freq, K::Decimal}, {C::Name, K::Text}}}},
    {SortColumn::Freq, SortByFreq, {{{C::Freq, K::Decimal}, {C::Name, K::Text}, {C::OnAir, K::Whole}}}},
    {SortColumn::Name, SortByName, {{{C::Name, K::Text}, {C::Freq, K::Decimal}, {C::OnAir, K::Whole}}}},
    {SortColumn::StartTime, SortByStartTime, {{{C::OnAir, K::Whole}, {C::Name, K::Text}, {C::Freq, K::Decimal}}}},
    {SortColumn::EndTime, SortByEndTime, {{{C::OffAir, K::Whole}, {C::Name, K::Text}, {C::Freq, K::Decimal}}}},
    {SortColumn::Language, SortByLanguage, {{{C::Language, K::Text}, {C::Name, K::Text}, {C::Freq, K::Decimal}}}},
    {SortColumn::Location, SortByLocation, {{{C::Location, K::Text}, {C::Name, K::Text}, {C::Freq, K::Decimal}}}},
    {SortColumn::Mode, SortByMode, {{{C::Mode, K::Text}, {C::Name, K::Text}, {C::Freq, K::Decimal}}}},
    {SortColumn::Filter, SortByFilter, {{{C::Filter, K::Whole}, {C::Name, K::Text}, {C::Freq, K::Decimal}}}},
};

Order ReferenceSort(const FrequencyList& list, Order order, const std::array<RefKey, 3>& keys, char separator) {
  const auto mustComeAfter = [&](int a, int b) {
    for (const RefKey& key : keys)
      if (const int c = CompareKey(key.kind, list.Cell(a, key.column), list.Cell(b, key.column), separator))
        return c > 0;
    return false;
  };
  const int count = static_cast<int>(order.size());
  const auto at = [&](int position) -> int& { return order[static_cast<std::size_t>(position - 1)]; };
  for (int gap = count / 2; gap >= 1; gap /= 2)
    for (int i = gap + 1; i <= count; ++i)
      for (int j = i - gap; j > 0 && mustComeAfter(at(j), at(j + gap)); j -= gap) std::swap(at(j), at(j + gap));
  return order;
}

// Small pools so that ties at every key are frequent.
std::vector<Row> RandomRows(std::mt19937& random, int count, char separator) {
  const std::string point(1, separator);
  const std::vector<std::string> freqs = {"9580", "9580" + point + "5", "153", "9580" + point + "0",
                                          "14230" + point + "5", "6005", "abc", "", "-5", "100"};
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

// The row order given to SortRowOrder, and to each named sort as the full view.
TEST(FrequencySortTest, MatchesTheLiteralSortOnRandomListsWithManyTies) {
  std::mt19937 random(20250101);
  for (char separator : {'.', ','}) {
    for (int count : {0, 1, 2, 3, 5, 8, 17, 64, 333, 1000}) {
      for (int round = 0; round < 3; ++round) {
        FrequencyList list = ListOf(RandomRows(random, count, separator));
        Order start(static_cast<std::size_t>(count));
        std::iota(start.begin(), start.end(), 0);
        std::shuffle(start.begin(), start.end(), random);
        // Sometimes a part of the list only, as in the on-air view.
        if (round == 2) start.resize(start.size() / 2);
        for (const auto& sort : kSorts) {
          SCOPED_TRACE(testing::Message() << "column " << static_cast<int>(sort.column) << ", " << count
                                          << " records, separator " << separator << ", round " << round);
          const Order expected = ReferenceSort(list, start, sort.keys, separator);
          Order fast = start;
          SortRowOrder(list, fast, sort.column, separator);
          ASSERT_EQ(fast, expected);
          if (round == 2) continue;
          list.RowOrder = start;
          sort.named(list, separator);
          ASSERT_EQ(list.RowOrder, expected);
        }
      }
    }
  }
}

// Each key, its ties and what is no number, on small lists with known outcomes.
TEST(FrequencySortTest, KeysAndTiesOnKnownLists) {
  std::vector<Row> textKeys = {{"9", "b"}, {"8", "a"}, {"7", "a"}, {"6", "c"}, {"5", "d"}};
  const char* const keys[] = {"English", "german", "ENGLISH", "", "english"};
  for (std::size_t i = 0; i < textKeys.size(); ++i)
    textKeys[i].language = textKeys[i].location = textKeys[i].mode = keys[i];
  const struct {
    const char* what;
    SortColumn column;
    char separator;
    Order expected;
    std::vector<Row> rows;
  } cases[] = {
      {"freq, then name, then on air", SortColumn::Freq, '.', {1, 4, 2, 0, 3},
       {{"9580", "b", "0900"}, {"153", "z", ""}, {"9580", "B", "0800"}, {"14230.5", "a", ""}, {"9580", "a", "1000"}}},
      {"freq with the locale separator", SortColumn::Freq, ',', {1, 0}, {{"14230,5", "x"}, {"9580", "y"}}},
      // With "." as separator the comma text is no number and sorts first.
      {"comma text under a point", SortColumn::Freq, '.', {0, 1}, {{"14230,5", "x"}, {"9580", "y"}}},
      // Equal numbers written differently are not equal keys: they stay in place.
      {"9580.0 and 9580", SortColumn::Freq, '.', {0, 1}, {{"9580.0", "b"}, {"9580", "a"}}},
      // "_" (0x5F) is below "a" only once "A" has become "a"; the Latin-1
      // capitals are not folded and compare as the bytes they are, above "z".
      {"name folds only A to Z, then freq, then on air", SortColumn::Name, '.', {4, 2, 1, 3, 0, 6, 5, 7},
       {{"7000", "b", "1200"}, {"9580", "A"}, {"6005", "a"}, {"7000", "B", "0100"}, {"1", "_x"}, {"1", "\xC9" "b"},
        {"1", "zz"}, {"1", "\xE9" "a"}}},
      // The empty time is no number and comes first.
      {"start time, then name, then freq", SortColumn::StartTime, '.', {2, 3, 1, 0, 5, 4},
       {{"1", "x", "1200"}, {"1", "b", "0800"}, {"1", "n", ""}, {"1", "a", "0800"}, {"9", "c", "2330"},
        {"3", "c", "2330"}}},
      {"end time, then name, then freq", SortColumn::EndTime, '.', {2, 1, 0, 3},
       {{"9580", "Same", "0000", "1200"}, {"153", "same", "0000", "1200"}, {"1", "a", "0000", "0030"},
        {"1", "z", "0000", "1200"}}},
      // "" first, then the three spellings of "english" by name, then "german".
      {"language", SortColumn::Language, '.', {3, 2, 0, 4, 1}, textKeys},
      {"location", SortColumn::Location, '.', {3, 2, 0, 4, 1}, textKeys},
      {"mode", SortColumn::Mode, '.', {3, 2, 0, 4, 1}, textKeys},
      {"filter as a number, then name, then freq", SortColumn::Filter, '.', {0, 3, 5, 4, 2, 1},
       {{.freq = "1", .name = "a", .filter = "300"}, {.freq = "1", .name = "a", .filter = "6000"},
        {.freq = "1", .name = "a", .filter = "1800"}, {.freq = "1", .name = "a", .filter = "525"},
        {.freq = "1", .name = "B", .filter = "525"}, {.freq = "0", .name = "b", .filter = "525"}}},
      {"locked first, then freq, then name", SortColumn::Lockout, '.', {3, 1, 2, 4, 0},
       {{.freq = "100", .name = "b"}, {.freq = "200", .name = "x", .lockout = "1"}, {.freq = "50", .name = "z"},
        {.freq = "30", .name = "y", .lockout = "1"}, {.freq = "100", .name = "a"}}},
      // "2" and "1" are both locked out, but not the same key: Freq is not consulted.
      {"marks 2 and 1", SortColumn::Lockout, '.', {0, 1},
       {{.freq = "900", .lockout = "2"}, {.freq = "100", .lockout = "1"}}},
      {"an empty mark is locked out", SortColumn::Lockout, '.', {1, 0}, {{.freq = "1"}, {.freq = "2", .lockout = ""}}},
  };
  for (const auto& c : cases) {
    FrequencyList list = ListOf(c.rows);
    SortView(list, c.column, c.separator);
    EXPECT_EQ(list.RowOrder, c.expected) << c.what;
  }
}

// Shell's sort is not stable: the two equal "a" at 2 and 3 change places.
TEST(FrequencySortTest, GenericShellSortFollowsTheHalvingGaps) {
  std::vector<char> keys = {'a', 'b', 'a', 'a'};
  Order order = {0, 1, 2, 3};
  ShellSort(order, [&](int a, int b) { return keys[a] > keys[b]; });
  EXPECT_EQ(order, (Order{0, 3, 2, 1}));
}

// The shown view is sorted. The full view's frequency-order mark is set by
// the Freq sort, kept by the On Air sort, cleared by the others; a sort of
// the on-air view keeps it.
TEST(FrequencySortTest, SortsTheViewTheGridShowsAndTheFreqSortedMarkFollows) {
  FrequencyList list = ListOf({{.freq = "3", .name = "c"}, {.freq = "1", .name = "a"}, {.freq = "2", .name = "b"}});
  list.OnAirView = true;
  list.OnAirRowOrder = {0, 2};
  SortView(list, SortColumn::Name, '.');
  EXPECT_EQ(list.OnAirRowOrder, (Order{2, 0}));
  EXPECT_EQ(list.RowOrder, (Order{0, 1, 2}));  // the full view is untouched
  EXPECT_TRUE(FreqSortedAfterSort(SortColumn::Freq, false, false));
  EXPECT_TRUE(FreqSortedAfterSort(SortColumn::StartTime, false, true));
  EXPECT_FALSE(FreqSortedAfterSort(SortColumn::StartTime, false, false));
  EXPECT_FALSE(FreqSortedAfterSort(SortColumn::Lockout, false, true) ||
               FreqSortedAfterSort(SortColumn::Filter, false, true));
  EXPECT_FALSE(FreqSortedAfterSort(SortColumn::Freq, true, false));
  EXPECT_TRUE(FreqSortedAfterSort(SortColumn::Name, true, true));
}

}  // namespace
}  // namespace ondaris
