#include "support/FakeTimer.h"

namespace ondaris {

FakeTimer::FakeTimer(FakeTimeline& timeline, std::string name)
    : timeline_(timeline), name_(std::move(name)) {}

FakeTimer::~FakeTimer() { timeline_.cancel(event_); }

void FakeTimer::start(int intervalMs) {
  timeline_.cancel(event_);
  event_ = timeline_.scheduleIn(intervalMs, [this] { elapsed(); });
}

void FakeTimer::stop() {
  timeline_.cancel(event_);
  event_ = 0;
}

void FakeTimer::elapsed() {
  event_ = 0;
  // The same test the base class makes before it runs the handler.
  if (enabled() && interval() != 0 && !ticking()) ++ticks_;
  tick();
}

}  // namespace ondaris
