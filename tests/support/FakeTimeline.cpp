#include "support/FakeTimeline.h"

#include <algorithm>

namespace ondaris {

FakeTimeline::EventId FakeTimeline::scheduleAt(std::int64_t atMs, std::function<void()> action) {
  const EventId id = nextId_++;
  const std::int64_t due = std::max(atMs, now_);
  events_.emplace(Key{due, id}, std::move(action));
  dueById_.emplace(id, due);
  return id;
}

void FakeTimeline::cancel(EventId id) {
  const auto found = dueById_.find(id);
  if (found == dueById_.end()) return;
  events_.erase(Key{found->second, id});
  dueById_.erase(found);
}

bool FakeTimeline::isScheduled(EventId id) const { return dueById_.count(id) != 0; }

std::optional<std::int64_t> FakeTimeline::dueMs(EventId id) const {
  const auto found = dueById_.find(id);
  if (found == dueById_.end()) return std::nullopt;
  return found->second;
}

std::optional<std::int64_t> FakeTimeline::nextDueMs() const {
  if (events_.empty()) return std::nullopt;
  return events_.begin()->first.first;
}

void FakeTimeline::advanceTo(std::int64_t atMs) {
  for (;;) {
    const auto first = events_.begin();
    if (first == events_.end() || first->first.first > atMs) break;
    const Key key = first->first;
    std::function<void()> action = std::move(first->second);
    events_.erase(first);
    dueById_.erase(key.second);
    now_ = std::max(now_, key.first);
    if (action) action();
  }
  now_ = std::max(now_, atMs);
}

bool FakeTimeline::advanceUntil(const std::function<bool()>& done, std::int64_t limitMs) {
  const std::int64_t end = now_ + limitMs;
  for (;;) {
    if (done()) return true;
    const auto next = nextDueMs();
    if (!next || *next > end) break;
    advanceTo(*next);
  }
  advanceTo(end);
  return done();
}

}  // namespace ondaris
