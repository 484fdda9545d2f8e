#pragma once
// A Timer over a single-shot QTimer on the user-interface thread. The rules
// (full interval after enabling, next interval after the handler, no
// overlapping ticks) live in Timer; this only arms and disarms the wake-up.

#include <QObject>
#include <QTimer>

#include "platform/Timer.h"

namespace ondaris {

class QtTimer : public QObject, public Timer {
 public:
  // Precise timers keep the tuning, meter and line pacing within a
  // millisecond; coarse ones are enough for the clock.
  explicit QtTimer(QObject* parent = nullptr, Qt::TimerType type = Qt::PreciseTimer);
  ~QtTimer() override;

 protected:
  void start(int intervalMs) override;
  void stop() override;

 private:
  QTimer timer_;
};

}  // namespace ondaris
