// The fake clock follows the simulated timeline, so that clock-driven jobs
// can be tested across minutes, midnight and month ends without waiting.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/FakeClock.h"
#include "support/FakeTimeline.h"

namespace ondaris {
namespace {

bool Same(const DateTime& a, const DateTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second;
}

std::string Text(const DateTime& d) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour,
                d.minute, d.second);
  return buffer;
}

TEST(FakeClock, MonotonicTimeIsTheTimeline) {
  FakeTimeline timeline(250);
  FakeClock clock(timeline);
  EXPECT_EQ(clock.monotonicMs(), 250);
  timeline.advanceBy(1234);
  EXPECT_EQ(clock.monotonicMs(), 1484);
}

TEST(FakeClock, StartsAtTheTurnOfTheCentury) {
  FakeTimeline timeline;
  FakeClock clock(timeline);
  EXPECT_EQ(Text(clock.utcNow()), "2000-01-01 00:00:00");
  EXPECT_EQ(Text(clock.localNow()), "2000-01-01 00:00:00");
}

TEST(FakeClock, WallClockMovesWithTheTimeline) {
  FakeTimeline timeline;
  FakeClock clock(timeline);
  clock.setUtc({1999, 12, 31, 23, 59, 58});
  timeline.advanceBy(999);
  EXPECT_EQ(Text(clock.utcNow()), "1999-12-31 23:59:58");
  timeline.advanceBy(1);
  EXPECT_EQ(Text(clock.utcNow()), "1999-12-31 23:59:59");
  timeline.advanceBy(1000);
  EXPECT_EQ(Text(clock.utcNow()), "2000-01-01 00:00:00");
}

struct CalendarCase {
  DateTime start;
  std::int64_t advanceSeconds;
  const char* expected;
};

class FakeClockCalendar : public ::testing::TestWithParam<CalendarCase> {};

TEST_P(FakeClockCalendar, CountsDaysLikeTheCalendar) {
  const CalendarCase& c = GetParam();
  FakeTimeline timeline;
  FakeClock clock(timeline);
  clock.setUtc(c.start);
  timeline.advanceBy(c.advanceSeconds * 1000);
  EXPECT_EQ(Text(clock.utcNow()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, FakeClockCalendar,
    ::testing::Values(CalendarCase{{2000, 2, 28, 12, 0, 0}, 86400, "2000-02-29 12:00:00"},
                      CalendarCase{{1900, 2, 28, 12, 0, 0}, 86400, "1900-03-01 12:00:00"},
                      CalendarCase{{2023, 2, 28, 23, 59, 59}, 1, "2023-03-01 00:00:00"},
                      CalendarCase{{2024, 2, 28, 23, 59, 59}, 1, "2024-02-29 00:00:00"},
                      CalendarCase{{2024, 12, 31, 0, 0, 0}, 86400, "2025-01-01 00:00:00"},
                      CalendarCase{{2024, 4, 30, 6, 30, 0}, 3600 * 18, "2024-05-01 00:30:00"},
                      CalendarCase{{2024, 1, 1, 0, 0, 0}, 366LL * 86400, "2025-01-01 00:00:00"}));

TEST(FakeClock, LocalTimeFollowsTheOffset) {
  FakeTimeline timeline;
  FakeClock clock(timeline);
  clock.setUtc({2024, 3, 1, 2, 15, 0});
  clock.setLocalOffsetMinutes(-5 * 60);
  EXPECT_EQ(Text(clock.localNow()), "2024-02-29 21:15:00");
  clock.setLocalOffsetMinutes(5 * 60 + 30);
  EXPECT_EQ(Text(clock.localNow()), "2024-03-01 07:45:00");
  EXPECT_EQ(Text(clock.utcNow()), "2024-03-01 02:15:00");
}

TEST(FakeClock, EpochConversionRoundTrips) {
  for (std::int64_t s : {0LL, 1LL, 86399LL, 951782400LL, -1LL, -86401LL, 4102444799LL}) {
    const DateTime d = FakeClock::FromEpochSeconds(s);
    EXPECT_EQ(FakeClock::ToEpochSeconds(d), s) << Text(d);
  }
  EXPECT_TRUE(Same(FakeClock::FromEpochSeconds(0), DateTime{1970, 1, 1, 0, 0, 0}));
}

}  // namespace
}  // namespace ondaris
