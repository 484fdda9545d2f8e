#include "support/FakeClock.h"

namespace ondaris {

namespace {
// Days since 1970-01-01 of a civil date, and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}
}  // namespace

std::int64_t FakeClock::ToEpochSeconds(const DateTime& dt) {
  return DaysFromCivil(dt.year, static_cast<unsigned>(dt.month), static_cast<unsigned>(dt.day)) * 86400 +
         dt.hour * 3600 + dt.minute * 60 + dt.second;
}

DateTime FakeClock::FromEpochSeconds(std::int64_t seconds) {
  DateTime dt;
  const std::int64_t days = FloorDiv(seconds, 86400);
  std::int64_t rest = seconds - days * 86400;
  CivilFromDays(days, dt.year, dt.month, dt.day);
  dt.hour = static_cast<int>(rest / 3600);
  rest %= 3600;
  dt.minute = static_cast<int>(rest / 60);
  dt.second = static_cast<int>(rest % 60);
  return dt;
}

FakeClock::FakeClock(FakeTimeline& timeline) : timeline_(timeline) { setUtc(DateTime{}); }

void FakeClock::setUtc(const DateTime& utc) {
  epochMsAtZero_ = ToEpochSeconds(utc) * 1000 - timeline_.nowMs();
}

DateTime FakeClock::utcNow() const {
  return FromEpochSeconds(FloorDiv(epochMsAtZero_ + timeline_.nowMs(), 1000));
}

DateTime FakeClock::localNow() const {
  return FromEpochSeconds(FloorDiv(epochMsAtZero_ + timeline_.nowMs(), 1000) + localOffsetMinutes_ * 60);
}

}  // namespace ondaris
