#include "radio/SerialLink.h"

#include <algorithm>
#include <cmath>

#include "common/Errors.h"

namespace ondaris {

SerialLink::SerialLink(SerialPort& port, Clock& clock, Timer& pump, int baudRate)
    : port_(port), clock_(clock), pump_(pump), baudRate_(baudRate > 0 ? baudRate : 1200) {
  pump_.setEnabled(false);
  pump_.onTimer = [this] { onPumpTimer(); };
  attachPort();
  lineFreeAtMs_ = static_cast<double>(clock_.monotonicMs());
}

SerialLink::~SerialLink() {
  pump_.setEnabled(false);
  pump_.onTimer = nullptr;
  detachPort();
}

void SerialLink::attachPort() {
  port_.onBytesReceived = [this] {
    const std::string chunk = port_.readAvailable();
    if (!chunk.empty() && onReceived) onReceived(chunk);
  };
  port_.onError = [this](const std::string& error) { onPortError(error); };
}

void SerialLink::detachPort() {
  port_.onBytesReceived = nullptr;
  port_.onError = nullptr;
}

double SerialLink::lineTimeMs(std::size_t byteCount) const {
  return static_cast<double>(byteCount) * 10.0 * 1000.0 / baudRate_;
}

void SerialLink::open(const std::string& portName) {
  if (port_.isOpen()) {
    if (portName == portName_) return;
    close();
  }
  portName_ = portName;
  openPort();
}

void SerialLink::ensureOpen() {
  if (port_.isOpen()) return;
  openPort();
  if (onReopened) onReopened();
}

void SerialLink::openPort() {
  std::string error;
  if (!port_.open(SerialDevicePath(portName_), error)) {
    if (error.empty()) error = "Unable to open com port";
    throw SerialError(error);
  }
  lineFreeAtMs_ = static_cast<double>(clock_.monotonicMs());
}

bool SerialLink::isOpen() const { return port_.isOpen(); }

void SerialLink::close(int drainTimeoutMs) {
  pump_.setEnabled(false);
  if (!port_.isOpen()) {
    queue_.clear();
    return;
  }
  // At exit the last commands (the exit mute) must still reach the receiver.
  while (!queue_.empty()) {
    Unit unit = std::move(queue_.front());
    queue_.pop_front();
    std::string error;
    if (!port_.write(unit.bytes, error)) {
      queue_.clear();
      break;
    }
    ++unitsHandedOver_;
    if (unit.kind == UnitKind::Tuning) ++tuningsHandedOver_;
  }
  port_.drain(drainTimeoutMs);
  port_.close();
  lineFreeAtMs_ = static_cast<double>(clock_.monotonicMs());
}

void SerialLink::send(UnitKind kind, const std::string& bytes) {
  ensureOpen();

  switch (kind) {
    case UnitKind::Tuning:
    case UnitKind::Volume: {
      // Only the newest state matters; it goes where the newest command
      // belongs, behind everything given before it.
      const auto stale = std::find_if(queue_.begin(), queue_.end(),
                                      [kind](const Unit& unit) { return unit.kind == kind; });
      if (stale != queue_.end()) {
        queue_.erase(stale);
        if (kind == UnitKind::Tuning)
          ++tuningsReplaced_;
        else
          ++volumesReplaced_;
      }
      break;
    }
    case UnitKind::MeterQuery:
      if (meterQueryPending()) {
        ++queriesDropped_;
        return;
      }
      break;
    case UnitKind::Other:
      break;
  }
  queue_.push_back(Unit{kind, bytes});

  std::string error;
  if (!pumpQueue(error)) throw SerialError(error);
}

bool SerialLink::tuningPending() const {
  return std::any_of(queue_.begin(), queue_.end(),
                     [](const Unit& unit) { return unit.kind == UnitKind::Tuning; });
}

bool SerialLink::meterQueryPending() const {
  return std::any_of(queue_.begin(), queue_.end(),
                     [](const Unit& unit) { return unit.kind == UnitKind::MeterQuery; });
}

double SerialLink::backlogMs() const {
  const double now = static_cast<double>(clock_.monotonicMs());
  const double modelled = std::max(0.0, lineFreeAtMs_ - now);
  const double reported = lineTimeMs(port_.bytesQueuedForLine());
  return std::max(modelled, reported);
}

bool SerialLink::pumpQueue(std::string& error) {
  if (pumping_) return true;
  pumping_ = true;
  bool ok = true;
  while (!queue_.empty() && port_.isOpen()) {
    const double backlog = backlogMs();
    if (backlog > HandOverBacklogMs) break;
    Unit unit = std::move(queue_.front());
    queue_.pop_front();
    if (!port_.write(unit.bytes, error)) {
      ok = false;
      break;
    }
    const double now = static_cast<double>(clock_.monotonicMs());
    lineFreeAtMs_ = now + backlog + lineTimeMs(unit.bytes.size());
    ++unitsHandedOver_;
    if (unit.kind == UnitKind::Tuning) ++tuningsHandedOver_;
  }
  pumping_ = false;
  if (!ok) {
    if (error.empty()) error = "WriteFile function failed";
    failed();
    return false;
  }
  scheduleWake();
  return true;
}

void SerialLink::scheduleWake() {
  if (queue_.empty() || !port_.isOpen()) {
    pump_.setEnabled(false);
    return;
  }
  const double wait = backlogMs() - HandOverBacklogMs;
  const int waitMs = std::max(1, static_cast<int>(std::ceil(wait)));
  // Always a fresh interval from now: the wake-up time moves with the line.
  pump_.setEnabled(false);
  pump_.setInterval(waitMs);
  pump_.setEnabled(true);
}

void SerialLink::onPumpTimer() {
  std::string error;
  if (!pumpQueue(error) && onError) onError(error);
}

void SerialLink::onPortError(const std::string& error) {
  failed();
  if (onError) onError(error);
}

void SerialLink::failed() {
  // The commands in the queue end with the action that failed; the next send
  // opens the port again.
  queue_.clear();
  pump_.setEnabled(false);
  if (port_.isOpen()) port_.close();
  lineFreeAtMs_ = static_cast<double>(clock_.monotonicMs());
}

}  // namespace ondaris
