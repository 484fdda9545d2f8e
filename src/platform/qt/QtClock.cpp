#include "platform/qt/QtClock.h"

#include <QDateTime>

namespace ondaris {

namespace {
DateTime FromQt(const QDateTime& qt) {
  const QDate d = qt.date();
  const QTime t = qt.time();
  return DateTime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}
}  // namespace

QtClock::QtClock() { elapsed_.start(); }

std::int64_t QtClock::monotonicMs() const { return elapsed_.elapsed(); }

DateTime QtClock::utcNow() const { return FromQt(QDateTime::currentDateTimeUtc()); }

DateTime QtClock::localNow() const { return FromQt(QDateTime::currentDateTime()); }

}  // namespace ondaris
