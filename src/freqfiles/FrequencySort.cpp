#include "freqfiles/FrequencySort.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <numeric>
#include <string_view>
#include <unordered_map>

#include "common/ShellSort.h"

namespace ondaris {

namespace {

// How one key of a sort is compared.
enum class KeyKind { Text, Decimal, Whole, LockedFirst };

struct KeyRule {
  FreqColumn column;
  KeyKind kind;
};

struct SortRule {
  std::array<KeyRule, 3> keys;
};

const SortRule& RuleOf(SortColumn column) {
  using C = FreqColumn;
  using K = KeyKind;
  static const std::array<SortRule, SortColumnCount> rules{{
      {{{{C::Lockout, K::LockedFirst}, {C::Freq, K::Decimal}, {C::Name, K::Text}}}},
      {{{{C::Freq, K::Decimal}, {C::Name, K::Text}, {C::OnAir, K::Whole}}}},
      {{{{C::Name, K::Text}, {C::Freq, K::Decimal}, {C::OnAir, K::Whole}}}},
      {{{{C::OnAir, K::Whole}, {C::Name, K::Text}, {C::Freq, K::Decimal}}}},
      {{{{C::OffAir, K::Whole}, {C::Name, K::Text}, {C::Freq, K::Decimal}}}},
      {{{{C::Language, K::Text}, {C::Name, K::Text}, {C::Freq, K::Decimal}}}},
      {{{{C::Location, K::Text}, {C::Name, K::Text}, {C::Freq, K::Decimal}}}},
      {{{{C::Mode, K::Text}, {C::Name, K::Text}, {C::Freq, K::Decimal}}}},
      {{{{C::Filter, K::Whole}, {C::Name, K::Text}, {C::Freq, K::Decimal}}}},
  }};
  return rules[static_cast<std::size_t>(column)];
}

// Every key is reduced, before sorting, to a value and an equality id with
// one rule for all kinds: the earlier record must come after the later one
// when its value is greater; otherwise the next key is consulted only when
// the ids are equal. For text keys both are the rank of the folded text among
// the texts present, which orders and equates exactly as comparing the folded
// texts does; for number keys the value is the number and the id names the
// unconverted text. The sort then compares small numbers instead of reading
// texts again and again, with the very same outcomes.
struct Item {
  std::array<double, 3> value;
  std::array<std::uint32_t, 3> id;
  int record;
};

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

bool HasUpper(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

void RankTexts(const std::vector<std::string>& column, std::vector<Item>& items, std::size_t k) {
  const std::size_t n = items.size();
  std::vector<std::string> foldedStore;
  std::vector<std::string_view> folded(n);
  std::size_t upper = 0;
  for (std::size_t i = 0; i < n; ++i)
    if (HasUpper(column[static_cast<std::size_t>(items[i].record)])) ++upper;
  foldedStore.reserve(upper);  // views into it must stay put
  for (std::size_t i = 0; i < n; ++i) {
    const std::string& text = column[static_cast<std::size_t>(items[i].record)];
    if (HasUpper(text)) {
      foldedStore.push_back(FoldCase(text));
      folded[i] = foldedStore.back();
    } else {
      folded[i] = text;
    }
  }
  std::vector<std::uint32_t> byText(n);
  std::iota(byText.begin(), byText.end(), 0u);
  // string_view compares as unsigned 8-bit codes.
  std::sort(byText.begin(), byText.end(), [&](std::uint32_t a, std::uint32_t b) { return folded[a] < folded[b]; });
  std::uint32_t rank = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && folded[byText[i]] != folded[byText[i - 1]]) ++rank;
    items[byText[i]].value[k] = rank;
    items[byText[i]].id[k] = rank;
  }
}

void ReadNumbers(const std::vector<std::string>& column, KeyKind kind, char separator, std::vector<Item>& items,
                 std::size_t k) {
  constexpr double notANumber = -std::numeric_limits<double>::infinity();
  std::unordered_map<std::string_view, std::uint32_t> ids;
  ids.reserve(items.size() / 4 + 16);
  for (auto& item : items) {
    const std::string& text = column[static_cast<std::size_t>(item.record)];
    double value = notANumber;
    if (kind == KeyKind::LockedFirst) {
      value = text == "0" ? 1.0 : 0.0;  // locked-out records first
    } else if (kind == KeyKind::Decimal) {
      if (const auto number = TryReadDecimal(text, separator)) value = *number;
    } else {
      if (const auto number = TryReadWhole(text)) value = static_cast<double>(*number);
    }
    item.value[k] = value;
    item.id[k] = ids.try_emplace(text, static_cast<std::uint32_t>(ids.size())).first->second;
  }
}

}  // namespace

void SortRowOrder(const FrequencyList& list, std::vector<int>& order, SortColumn column, char separator) {
  if (order.size() < 2) return;
  std::vector<Item> items(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) items[i].record = order[i];

  const SortRule& rule = RuleOf(column);
  for (std::size_t k = 0; k < rule.keys.size(); ++k) {
    const auto& key = rule.keys[k];
    if (key.kind == KeyKind::Text)
      RankTexts(list.Column(key.column), items, k);
    else
      ReadNumbers(list.Column(key.column), key.kind, separator, items, k);
  }

  ShellSort(items, [](const Item& earlier, const Item& later) {
    for (std::size_t k = 0; k < 3; ++k) {
      if (earlier.value[k] > later.value[k]) return true;
      if (earlier.id[k] != later.id[k]) return false;
    }
    return false;
  });

  for (std::size_t i = 0; i < order.size(); ++i) order[i] = items[i].record;
}

void SortView(FrequencyList& list, SortColumn column, char separator) {
  SortRowOrder(list, list.ViewOrder(), column, separator);
}

void SortByLockout(FrequencyList& list, char separator) { SortView(list, SortColumn::Lockout, separator); }
void SortByFreq(FrequencyList& list, char separator) { SortView(list, SortColumn::Freq, separator); }
void SortByName(FrequencyList& list, char separator) { SortView(list, SortColumn::Name, separator); }
void SortByStartTime(FrequencyList& list, char separator) { SortView(list, SortColumn::StartTime, separator); }
void SortByEndTime(FrequencyList& list, char separator) { SortView(list, SortColumn::EndTime, separator); }
void SortByLanguage(FrequencyList& list, char separator) { SortView(list, SortColumn::Language, separator); }
void SortByLocation(FrequencyList& list, char separator) { SortView(list, SortColumn::Location, separator); }
void SortByMode(FrequencyList& list, char separator) { SortView(list, SortColumn::Mode, separator); }
void SortByFilter(FrequencyList& list, char separator) { SortView(list, SortColumn::Filter, separator); }

bool FreqSortedAfterSort(SortColumn column, bool onAirView, bool freqSortedBefore) {
  if (onAirView) return freqSortedBefore;
  if (column == SortColumn::Freq) return true;
  if (column == SortColumn::StartTime) return freqSortedBefore;
  return false;
}

}  // namespace ondaris
