#pragma once
// A Timer on a FakeTimeline: each armed interval is one event on the
// timeline, so `timeline.advanceBy(ms)` delivers the ticks in time order.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Timer.h"
#include "support/FakeTimeline.h"

namespace ondaris {

class FakeTimer : public Timer {
 public:
  explicit FakeTimer(FakeTimeline& timeline, std::string name = {});
  ~FakeTimer() override;
  FakeTimer(const FakeTimer&) = delete;
  FakeTimer& operator=(const FakeTimer&) = delete;

  const std::string& name() const { return name_; }
  // An interval is running (the timer is enabled with an interval above 0).
  bool armed() const { return timeline_.isScheduled(event_); }
  // When the next tick is due, if one is.
  std::optional<std::int64_t> nextTickMs() const { return timeline_.dueMs(event_); }
  // Ticks delivered so far (whether or not a handler is set).
  int tickCount() const { return ticks_; }

 protected:
  void start(int intervalMs) override;
  void stop() override;

 private:
  void elapsed();

  FakeTimeline& timeline_;
  std::string name_;
  FakeTimeline::EventId event_ = 0;
  int ticks_ = 0;
};

}  // namespace ondaris
