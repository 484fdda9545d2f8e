#include "logbook/LogDates.h"

#include <optional>

#include "common/NumberText.h"

namespace ondaris {

namespace {

struct DateParts {
  std::string_view a, b, c;
};

std::optional<DateParts> SplitAtTwoSlashes(std::string_view text) {
  const auto first = text.find('/');
  if (first == std::string_view::npos) return std::nullopt;
  const auto second = text.find('/', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  return DateParts{text.substr(0, first), text.substr(first + 1, second - first - 1), text.substr(second + 1)};
}

}  // namespace

std::string SwapDayMonth(std::string_view text) {
  const auto parts = SplitAtTwoSlashes(text);
  if (!parts || parts->c.empty()) return {};
  std::string out;
  out.reserve(text.size());
  out.append(parts->b).append("/").append(parts->a).append("/").append(parts->c);
  return out;
}

long long DateKey(std::string_view date) {
  const auto parts = SplitAtTwoSlashes(date);
  if (!parts) return -1;
  const auto month = TryReadWhole(parts->a), day = TryReadWhole(parts->b), year = TryReadWhole(parts->c);
  if (!month || !day || !year) return -1;
  return static_cast<long long>(*month) * 31 + *day + static_cast<long long>(*year) * 365;
}

long long TimeKey(std::string_view time) {
  long long value = 0;
  int digits = 0;
  for (char c : time) {
    if (c == '*') continue;
    if (c < '0' || c > '9') return 0;
    if (digits == 0 && c == '0') continue;  // leading zeros do not count toward the length
    if (++digits > 9) return 0;             // no time has that many digits
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace ondaris
