#pragma once
// The logbook's date and time texts. A stored Date is always month/day/year;
// with the day-first option the program shows and takes dates day first and
// exchanges the first two parts on the way in and out (SwapDayMonth works in
// both directions).

#include <string>
#include <string_view>

namespace ondaris {

// "a/b/c" -> "b/a/c", split at the first two slashes. Empty when the text has
// fewer than two slashes or ends with its second one.
std::string SwapDayMonth(std::string_view text);

// A sort key of a stored date: month x 31 + day + year x 365 (not a day
// count). -1 when the text has fewer than two slashes or a part is not a
// whole number, so such dates sort with the empty ones.
long long DateKey(std::string_view date);

// A sort key of a Time or Off text: the digits with every "*" removed, read
// as a whole number; empty text is 0, and so is text that is not a number.
long long TimeKey(std::string_view time);

}  // namespace ondaris
