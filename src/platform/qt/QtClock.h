#pragma once
// The system's clocks: a steady millisecond count for intervals and the
// UTC and local date and time for the clock display and the schedules.
//
// Test hook (for end-to-end tests of the time-driven parts, so that they
// need not wait for a time of day): with
//   ONDARIS_CLOCK_START=2027-05-20T12:00:30   (UTC, ISO 8601)
// the date and time start at that moment when the clock is made and run on
// from there; ONDARIS_CLOCK_RATE=N (1..100) makes them run N times as fast.
// The steady count is never changed. Nothing else reads these variables.

#include <QDateTime>
#include <QElapsedTimer>

#include "platform/Clock.h"

namespace ondaris {

class QtClock : public Clock {
 public:
  QtClock();
  std::int64_t monotonicMs() const override;
  DateTime utcNow() const override;
  DateTime localNow() const override;

 private:
  QDateTime nowUtc() const;

  QElapsedTimer elapsed_;
  QDateTime testStart_;  // invalid: the system's time
  int testRate_ = 1;
};

}  // namespace ondaris
