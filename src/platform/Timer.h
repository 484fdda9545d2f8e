#pragma once
// A periodic timer with the rules the panel relies on:
//  - ticks run on the user-interface thread and never overlap;
//  - enabling a disabled timer starts a full interval before the next tick;
//  - the next interval starts when the handler has returned, so a handler
//    that runs longer than the interval only delays the next tick;
//  - an interval of 0 never ticks;
//  - changing the interval disables the timer (the caller re-enables it);
//  - setting a value it already has does nothing.
// Implementations only arm and disarm a one-shot wake-up; the rules live here.

#include <functional>

namespace ondaris {

class Timer {
 public:
  virtual ~Timer() = default;

  bool enabled() const { return enabled_; }
  int interval() const { return interval_; }

  void setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (on && interval_ != 0)
      start(interval_);
    else
      stop();
  }

  void setInterval(int ms) {
    if (ms == interval_) return;
    setEnabled(false);
    interval_ = ms;
  }

  // True while the handler runs.
  bool ticking() const { return ticking_; }

  std::function<void()> onTimer;

 protected:
  // Called by implementations when an armed interval has elapsed. A wake-up
  // that arrives while the handler still runs (a nested event loop) is
  // ignored; the interval after the handler covers it.
  void tick() {
    if (ticking_ || !enabled_ || interval_ == 0) return;
    ticking_ = true;
    try {
      if (onTimer) onTimer();
    } catch (...) {
      ticking_ = false;
      rearm();
      throw;
    }
    ticking_ = false;
    rearm();
  }
  // Arms one wake-up `intervalMs` from now, replacing an armed one.
  virtual void start(int intervalMs) = 0;
  // Disarms the wake-up.
  virtual void stop() = 0;

 private:
  void rearm() {
    if (enabled_ && interval_ != 0) start(interval_);
  }

  bool enabled_ = false;
  bool ticking_ = false;
  int interval_ = 1000;
};

}  // namespace ondaris
