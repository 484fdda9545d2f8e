#pragma once
// A Clock that reads a FakeTimeline: monotonic time is the timeline's time,
// and the wall clock moves on with it from a date the test sets.

#include <chrono>
#include <cstdint>

#include "platform/Clock.h"
#include "support/FakeTimeline.h"

namespace ondaris {

class FakeClock : public Clock {
 public:
  // The wall clock starts at 2000-01-01 00:00:00 UTC at the timeline's
  // present time; local time equals UTC until an offset is set.
  explicit FakeClock(FakeTimeline& timeline);

  std::int64_t monotonicMs() const override { return timeline_.nowMs(); }
  DateTime utcNow() const override;
  DateTime localNow() const override;

  // The UTC time at the present moment (seconds; the milliseconds restart
  // at 0). Moving the wall clock does not move the timeline.
  void setUtc(const DateTime& utc);
  // Local time = UTC + offset (minutes, may be negative).
  void setLocalOffsetMinutes(int minutes) { localOffsetMinutes_ = minutes; }

 private:
  std::chrono::sys_seconds utcSeconds() const;

  FakeTimeline& timeline_;
  std::int64_t epochMsAtZero_ = 0;  // wall-clock ms when the timeline read 0
  int localOffsetMinutes_ = 0;
};

}  // namespace ondaris
