#include "platform/qt/QtClock.h"

namespace ondaris {

namespace {
DateTime FromQt(const QDateTime& qt) {
  const QDate d = qt.date();
  const QTime t = qt.time();
  return DateTime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}
}  // namespace

QtClock::QtClock() {
  elapsed_.start();
  const QString start = qEnvironmentVariable("ONDARIS_CLOCK_START");
  if (start.isEmpty()) return;
  testStart_ = QDateTime::fromString(start.endsWith(QLatin1Char('Z')) ? start : start + QLatin1Char('Z'), Qt::ISODate);
  bool ok = false;
  const int rate = qEnvironmentVariableIntValue("ONDARIS_CLOCK_RATE", &ok);
  if (ok && rate >= 1 && rate <= 100) testRate_ = rate;
}

std::int64_t QtClock::monotonicMs() const { return elapsed_.elapsed(); }

QDateTime QtClock::nowUtc() const {
  if (!testStart_.isValid()) return QDateTime::currentDateTimeUtc();
  return testStart_.addMSecs(elapsed_.elapsed() * testRate_);
}

DateTime QtClock::utcNow() const { return FromQt(nowUtc()); }

DateTime QtClock::localNow() const { return FromQt(nowUtc().toLocalTime()); }

}  // namespace ondaris
