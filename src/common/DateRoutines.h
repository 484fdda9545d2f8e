#pragma once
// Small date and time routines shared by the clock, the scheduler, the
// recorder and the logbook. Dates are slash-separated texts: month/day/year,
// or day/month/year when the listener prefers the day first (`useEuroDate`).
// A two-digit year means 20YY.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Clock.h"

namespace ondaris {

// t = hours x 100 + minutes as four digits, each half zero-padded (930 -> "0930").
std::string FormatHHMM(int t);
// HHMM as minutes since midnight; a negative t comes back unchanged.
int HHMMToMinutes(int t);

// Splits a date text at its slashes into month, day and year (day-first under
// `useEuroDate`); a year below 100 gets 2000 added. Missing or non-numeric
// parts come out as 0. False only for an empty text.
bool SplitDate(const std::string& text, int& month, int& day, int& year, bool useEuroDate = false);

// Month 1..12 and day 1..the month's length; February always has 28 days.
bool IsValidDayMonth(int day, int month);

// The day after the date, in the same day/month order, year in four digits.
// Nothing when the text cannot be split.
std::optional<std::string> NextDay(const std::string& text, bool useEuroDate = false);

// Day of the year (1 January = 1, one more from March on when the year is
// divisible by 4). -1 unless month and day are written with 1 or 2 characters
// each and the year is 2001 or later.
int DateToDayOfYear(const std::string& text, bool useEuroDate = false);

// The third slash-separated part of a date text, as written.
std::string DateYearText(const std::string& text);

// A comparison key in minutes for dates from 2001 on (not a true calendar
// count); -1 where DateToDayOfYear gives -1.
std::int64_t DateToMinutes(const std::string& text, bool useEuroDate = false);

// Running time: "h:mm:ss" from an hour on, else "m:ss"; empty for negative s.
std::string FormatSeconds(long long seconds);

// The clock's texts for a moment in UTC.
std::string UtcTimeText(const DateTime& utc);      // "HHMM"
std::string UtcDateText(const DateTime& utc);      // "m/d/yyyy", no leading zeros
std::string ClockDisplayText(const DateTime& utc); // "HH:MM:SS"

}  // namespace ondaris
