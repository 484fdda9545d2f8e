#pragma once
// A periodic timer with the rules the panel relies on:
//  - ticks run on the user-interface thread and never overlap;
//  - enabling a disabled timer starts a full interval before the next tick;
//  - an interval of 0 never ticks;
//  - changing the interval disables the timer (the caller re-enables it);
//  - setting a value it already has does nothing.
// Implementations only start and stop the underlying clock; the rules live here.

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

  std::function<void()> onTimer;

 protected:
  // Called by implementations when an interval has elapsed.
  void tick() {
    if (enabled_ && interval_ != 0 && onTimer) onTimer();
  }
  virtual void start(int intervalMs) = 0;  // (re)start a full interval
  virtual void stop() = 0;

 private:
  bool enabled_ = false;
  int interval_ = 1000;
};

}  // namespace ondaris
