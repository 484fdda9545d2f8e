#include "platform/qt/QtTimer.h"

namespace ondaris {

QtTimer::QtTimer(QObject* parent, Qt::TimerType type) : QObject(parent) {
  timer_.setSingleShot(true);
  timer_.setTimerType(type);
  connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
}

QtTimer::~QtTimer() {
  timer_.stop();
  QObject::disconnect(&timer_, nullptr, this, nullptr);
}

void QtTimer::start(int intervalMs) { timer_.start(intervalMs); }

void QtTimer::stop() { timer_.stop(); }

}  // namespace ondaris
