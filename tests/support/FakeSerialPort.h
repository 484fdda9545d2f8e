#pragma once
// A SerialPort for tests. It records every write with its time, lets a test
// feed received bytes, fail opens and writes, and (given a timeline) models
// the 1200-baud line: written bytes leave one by one at the line's speed, and
// bytesQueuedForLine() reports what is still waiting, like a kernel tty.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/SerialPort.h"
#include "support/FakeTimeline.h"

namespace ondaris {

class FakeSerialPort : public SerialPort {
 public:
  struct Write {
    std::int64_t atMs = 0;         // timeline time of the write (0 without a timeline)
    std::string bytes;
    std::size_t lineBacklogBytes = 0;  // bytes still on the modelled line just before
  };

  // Without a timeline there is no line model: bytesQueuedForLine() reports
  // only what setExtraQueued() says.
  explicit FakeSerialPort(FakeTimeline* timeline = nullptr, int baudRate = 1200);

  // SerialPort
  bool open(const std::string& deviceName, std::string& error) override;
  bool isOpen() const override { return open_; }
  void close() override;
  bool write(const std::string& bytes, std::string& error) override;
  std::size_t bytesQueuedForLine() const override;
  void drain(int timeoutMs) override;
  std::string readAvailable() override;

  // --- Script ---
  // Every open fails with this message until allowOpen().
  void failOpenWith(std::string message) { openError_ = std::move(message); }
  void allowOpen() { openError_.reset(); }
  // Every write fails with this message until allowWrites().
  void failWritesWith(std::string message) { writeError_ = std::move(message); }
  void allowWrites() { writeError_.reset(); }
  // Bytes the system reports on top of the line model (a slow far end).
  void setExtraQueued(std::size_t bytes) { extraQueued_ = bytes; }
  // false: the system cannot tell (a USB adapter hiding its buffer); the
  // report is then only the extra amount.
  void setReportsLineQueue(bool reports) { reportsLineQueue_ = reports; }
  // Bytes arrive from the receiver: queued for readAvailable(), then
  // onBytesReceived is raised (when set).
  void receive(const std::string& bytes);
  // The port fails after a write returned: raises onError (when set).
  void failLater(const std::string& message);
  // Called after every successful write with its bytes (for example to
  // answer a meter query with receive()).
  std::function<void(const std::string&)> onWrite;

  // --- Records ---
  const std::vector<Write>& writes() const { return writes_; }
  std::string written() const;            // every written byte in order
  void clearWrites() { writes_.clear(); }
  const std::vector<std::string>& openedDevices() const { return openedDevices_; }
  int openCount() const { return openCount_; }  // successful opens
  int openAttempts() const { return openAttempts_; }
  int closeCount() const { return closeCount_; }
  int failedWrites() const { return failedWrites_; }
  const std::vector<int>& drainTimeouts() const { return drainTimeouts_; }
  // The line model (requires a timeline).
  std::size_t lineBacklogBytes() const;       // bytes written and not yet on the wire
  std::size_t maxLineBacklogAtWrite() const;  // the largest backlog a write met

 private:
  struct Burst {
    double startMs;
    std::size_t count;
  };
  double nowMs() const;

  FakeTimeline* timeline_;
  double byteTimeMs_;
  bool open_ = false;
  std::optional<std::string> openError_;
  std::optional<std::string> writeError_;
  std::size_t extraQueued_ = 0;
  bool reportsLineQueue_ = true;
  std::string received_;
  std::vector<Write> writes_;
  std::vector<std::string> openedDevices_;
  int openCount_ = 0;
  int openAttempts_ = 0;
  int closeCount_ = 0;
  int failedWrites_ = 0;
  std::vector<int> drainTimeouts_;
  mutable std::deque<Burst> line_;
  double lineBusyUntilMs_ = 0;
};

}  // namespace ondaris
