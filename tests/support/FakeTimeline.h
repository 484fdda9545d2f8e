#pragma once
// Simulated time for tests. Fake timers, the fake clock and a fake serial port
// that models the line all share one timeline; advancing it runs every due
// event in time order and moves the clock to each event's time.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace ondaris {

class FakeTimeline {
 public:
  using EventId = std::uint64_t;

  explicit FakeTimeline(std::int64_t startMs = 0) : now_(startMs) {}
  FakeTimeline(const FakeTimeline&) = delete;
  FakeTimeline& operator=(const FakeTimeline&) = delete;

  std::int64_t nowMs() const { return now_; }

  // Runs `action` when the timeline reaches `atMs` (an earlier time runs at
  // the next advance, at the present time). Events due at the same time run
  // in the order they were scheduled.
  EventId scheduleAt(std::int64_t atMs, std::function<void()> action);
  EventId scheduleIn(std::int64_t delayMs, std::function<void()> action) {
    return scheduleAt(now_ + delayMs, std::move(action));
  }
  void cancel(EventId id);  // unknown or finished ids are ignored
  bool isScheduled(EventId id) const;
  std::optional<std::int64_t> dueMs(EventId id) const;
  std::optional<std::int64_t> nextDueMs() const;

  // Moves time forward, running every event due on the way (and those the
  // events schedule inside the range). An action may advance the timeline
  // itself; time never goes back.
  void advanceBy(std::int64_t ms) { advanceTo(now_ + ms); }
  void advanceTo(std::int64_t atMs);
  // Advances event by event until `done()` holds (checked before each event
  // and at the end) or `limitMs` has passed. Returns whether `done()` held.
  bool advanceUntil(const std::function<bool()>& done, std::int64_t limitMs);

 private:
  using Key = std::pair<std::int64_t, EventId>;
  std::map<Key, std::function<void()>> events_;
  std::map<EventId, std::int64_t> dueById_;
  std::int64_t now_;
  EventId nextId_ = 1;
};

}  // namespace ondaris
