#include "support/FakeClock.h"

#include <chrono>

namespace ondaris {

namespace {
namespace ch = std::chrono;

ch::sys_seconds ToTime(const DateTime& dt) {
  const ch::sys_days day = ch::year{dt.year} / dt.month / dt.day;
  return day + ch::hours{dt.hour} + ch::minutes{dt.minute} + ch::seconds{dt.second};
}

DateTime FromTime(ch::sys_seconds time) {
  const ch::sys_days day = ch::floor<ch::days>(time);
  const ch::year_month_day date{day};
  const ch::hh_mm_ss clock{time - day};
  return {int(date.year()),           int(unsigned(date.month())),  int(unsigned(date.day())),
          int(clock.hours().count()), int(clock.minutes().count()), int(clock.seconds().count())};
}
}  // namespace

FakeClock::FakeClock(FakeTimeline& timeline) : timeline_(timeline) { setUtc(DateTime{}); }

void FakeClock::setUtc(const DateTime& utc) {
  epochMsAtZero_ = ch::milliseconds{ToTime(utc).time_since_epoch()}.count() - timeline_.nowMs();
}

ch::sys_seconds FakeClock::utcSeconds() const {
  return ch::floor<ch::seconds>(ch::sys_time<ch::milliseconds>{ch::milliseconds{epochMsAtZero_ + timeline_.nowMs()}});
}

DateTime FakeClock::utcNow() const { return FromTime(utcSeconds()); }

DateTime FakeClock::localNow() const { return FromTime(utcSeconds() + ch::minutes{localOffsetMinutes_}); }

}  // namespace ondaris
