#include "common/DateRoutines.h"

#include <array>
#include <cctype>
#include <vector>

namespace ondaris {

namespace {

std::string TwoDigits(int value) {
  if (value < 0) value = -value;
  value %= 100;
  std::string text(2, '0');
  text[0] = static_cast<char>('0' + value / 10);
  text[1] = static_cast<char>('0' + value % 10);
  return text;
}

std::vector<std::string> SplitAtSlashes(const std::string& text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == '/')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

// The number a date part starts with (blanks skipped); 0 when there is none.
int PartValue(const std::string& part) {
  std::size_t i = 0;
  while (i < part.size() && std::isspace(static_cast<unsigned char>(part[i]))) ++i;
  long value = 0;
  bool any = false;
  while (i < part.size() && std::isdigit(static_cast<unsigned char>(part[i]))) {
    if (value < 100000000) value = value * 10 + (part[i] - '0');
    any = true;
    ++i;
  }
  return any ? static_cast<int>(value) : 0;
}

constexpr std::array<int, 12> DaysBeforeMonth{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr std::array<int, 12> MonthLength{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

}  // namespace

std::string FormatHHMM(int t) { return TwoDigits(t / 100) + TwoDigits(t % 100); }

int HHMMToMinutes(int t) {
  if (t < 0) return t;
  return t % 100 + (t / 100) * 60;
}

bool SplitDate(const std::string& text, int& month, int& day, int& year, bool useEuroDate) {
  month = day = year = 0;
  if (text.empty()) return false;
  const std::vector<std::string> parts = SplitAtSlashes(text);
  int first = PartValue(parts[0]);
  int second = parts.size() > 1 ? PartValue(parts[1]) : 0;
  year = parts.size() > 2 ? PartValue(parts[2]) : 0;
  if (useEuroDate) std::swap(first, second);
  month = first;
  day = second;
  if (year < 100) year += 2000;
  return true;
}

bool IsValidDayMonth(int day, int month) {
  if (month < 1 || month > 12) return false;
  return day >= 1 && day <= MonthLength[month - 1];
}

std::optional<std::string> NextDay(const std::string& text, bool useEuroDate) {
  int month = 0, day = 0, year = 0;
  if (!SplitDate(text, month, day, year, useEuroDate)) return std::nullopt;
  ++day;
  if (!IsValidDayMonth(day, month)) {
    day = 1;
    ++month;
    if (month > 12) {
      month = 1;
      ++year;
    }
  }
  const std::string yearText = std::to_string(year);
  if (useEuroDate) return std::to_string(day) + "/" + std::to_string(month) + "/" + yearText;
  return std::to_string(month) + "/" + std::to_string(day) + "/" + yearText;
}

int DateToDayOfYear(const std::string& text, bool useEuroDate) {
  int month = 0, day = 0, year = 0;
  if (!SplitDate(text, month, day, year, useEuroDate)) return -1;
  const std::vector<std::string> parts = SplitAtSlashes(text);
  if (parts.size() < 3) return -1;
  for (int i = 0; i < 2; ++i)
    if (parts[i].empty() || parts[i].size() > 2) return -1;
  if (year < 2001) return -1;
  if (month < 1 || month > 12) return -1;
  int result = DaysBeforeMonth[month - 1] + day;
  if (month >= 3 && year % 4 == 0) ++result;
  return result;
}

std::string DateYearText(const std::string& text) {
  const std::vector<std::string> parts = SplitAtSlashes(text);
  return parts.size() > 2 ? parts[2] : std::string();
}

std::int64_t DateToMinutes(const std::string& text, bool useEuroDate) {
  const int dayOfYear = DateToDayOfYear(text, useEuroDate);
  if (dayOfYear == -1) return -1;
  int month = 0, day = 0, year = 0;
  SplitDate(text, month, day, year, useEuroDate);
  const std::int64_t y = year - 2000;
  // Integer division truncates toward zero, as the key has always been built.
  return (dayOfYear + y * 365 + (y - 1) / 4) * 1440;
}

std::string FormatSeconds(long long seconds) {
  if (seconds < 0) return {};
  const long long hours = seconds / 3600;
  const int minutes = static_cast<int>((seconds % 3600) / 60);
  const int secs = static_cast<int>(seconds % 60);
  if (seconds >= 3600) return std::to_string(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(secs);
  return std::to_string(minutes) + ":" + TwoDigits(secs);
}

std::string UtcTimeText(const DateTime& utc) { return FormatHHMM(utc.hour * 100 + utc.minute); }

std::string UtcDateText(const DateTime& utc) {
  return std::to_string(utc.month) + "/" + std::to_string(utc.day) + "/" + std::to_string(utc.year);
}

std::string ClockDisplayText(const DateTime& utc) {
  return TwoDigits(utc.hour) + ":" + TwoDigits(utc.minute) + ":" + TwoDigits(utc.second);
}

}  // namespace ondaris
