#pragma once
// Time as the program sees it. Passed in everywhere, so that tests never
// depend on the time of day.

#include <cstdint>

namespace ondaris {

struct DateTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds from an arbitrary start, never going backwards.
  virtual std::int64_t monotonicMs() const = 0;
  virtual DateTime utcNow() const = 0;
  virtual DateTime localNow() const = 0;
};

}  // namespace ondaris
