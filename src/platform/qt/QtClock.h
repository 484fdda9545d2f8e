#pragma once
// The system's clocks: a steady millisecond count for intervals and the
// UTC and local date and time for the clock display and the schedules.

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
  QElapsedTimer elapsed_;
};

}  // namespace ondaris
