#include "support/FakeSerialPort.h"

#include <algorithm>
#include <cmath>

namespace ondaris {

FakeSerialPort::FakeSerialPort(FakeTimeline* timeline, int baudRate)
    : timeline_(timeline), byteTimeMs_(10.0 * 1000.0 / (baudRate > 0 ? baudRate : 1200)) {
  lineBusyUntilMs_ = nowMs();
}

double FakeSerialPort::nowMs() const {
  return timeline_ ? static_cast<double>(timeline_->nowMs()) : 0.0;
}

bool FakeSerialPort::open(const std::string& deviceName, std::string& error) {
  ++openAttempts_;
  if (openError_) {
    error = *openError_;
    return false;
  }
  open_ = true;
  ++openCount_;
  openedDevices_.push_back(deviceName);
  return true;
}

void FakeSerialPort::close() {
  if (!open_) return;
  open_ = false;
  ++closeCount_;
}

bool FakeSerialPort::write(const std::string& bytes, std::string& error) {
  if (!open_) {
    ++failedWrites_;
    error = "WriteFile function failed (port not open)";
    return false;
  }
  if (writeError_) {
    ++failedWrites_;
    error = *writeError_;
    return false;
  }
  const double now = nowMs();
  Write record;
  record.atMs = static_cast<std::int64_t>(now);
  record.bytes = bytes;
  record.lineBacklogBytes = timeline_ ? lineBacklogBytes() : 0;
  writes_.push_back(record);
  if (timeline_ && !bytes.empty()) {
    const double start = std::max(now, lineBusyUntilMs_);
    line_.push_back(Burst{start, bytes.size()});
    lineBusyUntilMs_ = start + bytes.size() * byteTimeMs_;
  }
  if (onWrite) onWrite(bytes);
  return true;
}

std::size_t FakeSerialPort::lineBacklogBytes() const {
  if (!timeline_) return 0;
  const double now = nowMs();
  std::size_t waiting = 0;
  while (!line_.empty()) {
    const Burst& first = line_.front();
    const double gone = std::floor((now - first.startMs) / byteTimeMs_ + 1e-9);
    if (gone >= static_cast<double>(first.count)) {
      line_.pop_front();
      continue;
    }
    break;
  }
  for (const Burst& burst : line_) {
    const double gone = std::max(0.0, std::floor((now - burst.startMs) / byteTimeMs_ + 1e-9));
    waiting += burst.count - std::min(burst.count, static_cast<std::size_t>(gone));
  }
  return waiting;
}

std::size_t FakeSerialPort::bytesQueuedForLine() const {
  return (reportsLineQueue_ ? lineBacklogBytes() : 0) + extraQueued_;
}

void FakeSerialPort::drain(int timeoutMs) { drainTimeouts_.push_back(timeoutMs); }

std::string FakeSerialPort::readAvailable() {
  std::string chunk;
  chunk.swap(received_);
  return chunk;
}

void FakeSerialPort::receive(const std::string& bytes) {
  received_ += bytes;
  if (onBytesReceived) onBytesReceived();
}

void FakeSerialPort::failLater(const std::string& message) {
  if (onError) onError(message);
}

std::string FakeSerialPort::written() const {
  std::string all;
  for (const Write& w : writes_) all += w.bytes;
  return all;
}

std::size_t FakeSerialPort::maxLineBacklogAtWrite() const {
  std::size_t most = 0;
  for (const Write& w : writes_) most = std::max(most, w.lineBacklogBytes);
  return most;
}

}  // namespace ondaris
