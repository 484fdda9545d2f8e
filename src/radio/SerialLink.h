#pragma once
// The send queue between the panel and the receiver's 1200-baud line.
//
// The line carries about 120 bytes a second: one tuning (17 bytes) needs about
// 142 ms. Writes never block the user-interface thread, and the link never
// hands the operating system more than the line carries in about one unit's
// time, because a kernel buffer would otherwise hold seconds of stale tunings.
// Commands are queued as units (the four commands of a tuning, the two of a
// volume change) so nothing is sent between the commands of one unit:
//  - a new tuning replaces a queued tuning that has not started to leave;
//  - a new volume change replaces a queued volume change likewise;
//  - a signal-strength query is dropped while another one is still waiting.
// The receiver therefore always ends in the newest state.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "platform/Timer.h"

namespace ondaris {

enum class UnitKind { Tuning, Volume, MeterQuery, Other };

class SerialLink {
 public:
  // `pump` is a timer the link owns the handler of; it wakes the link when
  // the line has room for the next unit.
  SerialLink(SerialPort& port, Clock& clock, Timer& pump, int baudRate = 1200);
  ~SerialLink();
  SerialLink(const SerialLink&) = delete;
  SerialLink& operator=(const SerialLink&) = delete;

  // Remembers the port name (as the listener typed it) and opens it.
  // Throws SerialError with the listener's message when it cannot be opened.
  void open(const std::string& portName);
  // Opens the remembered port again if it is closed (every send does this);
  // onReopened follows when it opens.
  void ensureOpen();
  bool isOpen() const;
  const std::string& portName() const { return portName_; }
  // Hands everything still queued to the system, waits (bounded) for the
  // line to drain and closes the port. Used at exit and when switching ports.
  void close(int drainTimeoutMs = 1500);

  // Queues one unit. Throws SerialError when the port is closed and cannot be
  // opened again.
  void send(UnitKind kind, const std::string& bytes);

  // A tuning is queued and has not started to leave: a scan waits for it.
  bool tuningPending() const;
  bool meterQueryPending() const;
  std::size_t queuedUnits() const { return queue_.size(); }

  // Counters for tests and benchmarks.
  std::uint64_t unitsHandedOver() const { return unitsHandedOver_; }
  std::uint64_t tuningsHandedOver() const { return tuningsHandedOver_; }
  std::uint64_t tuningsReplaced() const { return tuningsReplaced_; }
  std::uint64_t queriesDropped() const { return queriesDropped_; }
  std::uint64_t volumesReplaced() const { return volumesReplaced_; }

  // Raw received bytes, in the order they arrive (fed to the frame assembler).
  std::function<void(const std::string&)> onReceived;
  // Write failures that happen after send() returned.
  std::function<void(const std::string&)> onError;
  // The port opened again by a send after it could not be opened or had
  // failed (not by open() itself). Runs before the send's own unit is queued;
  // sends made from here go out first.
  std::function<void()> onReopened;

  // Milliseconds the line needs for `byteCount` bytes (10 bits a byte).
  double lineTimeMs(std::size_t byteCount) const;
  // The next unit is handed over once the line has at most this much left to
  // send: the line never idles between units, and the system never holds
  // much more than one unit.
  static constexpr double HandOverBacklogMs = 10.0;

 private:
  struct Unit {
    UnitKind kind;
    std::string bytes;
  };
  // Hands queued units over while the line has room; false with `error`
  // filled when a write fails (the queue is then dropped and the port closed).
  bool pumpQueue(std::string& error);
  void onPumpTimer();
  void onPortError(const std::string& error);
  void failed();
  double backlogMs() const;
  void scheduleWake();
  void attachPort();
  void detachPort();
  // Opens the remembered port; throws SerialError when it cannot.
  void openPort();

  SerialPort& port_;
  Clock& clock_;
  Timer& pump_;
  int baudRate_;
  std::string portName_;
  std::deque<Unit> queue_;
  double lineFreeAtMs_ = 0;  // when the bytes already handed over will have left
  bool pumping_ = false;
  std::uint64_t unitsHandedOver_ = 0;
  std::uint64_t tuningsHandedOver_ = 0;
  std::uint64_t tuningsReplaced_ = 0;
  std::uint64_t queriesDropped_ = 0;
  std::uint64_t volumesReplaced_ = 0;
};

}  // namespace ondaris
