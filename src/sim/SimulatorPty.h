#pragma once
// The simulated receiver behind a pseudo-terminal: a client opens
// devicePath() like a serial port; what it writes reaches the simulator at
// the receiver's line rate, the replies come back on the same device.
//
// The simulator keeps a descriptor of the device open itself, so the master
// side never sees a hang-up when a client closes and reopens the device.
// The device is raw (no echo, CR and 0x0A pass unchanged).
//
// Driving it: pump(nowMs) reads what has arrived and what the line rate
// allows by nowMs, feeds the simulator and writes its replies. The tool runs
// run(); an event loop instead watches masterFd() for input and calls
// pump(now); while inputWaiting() stays above zero it stops watching the
// descriptor (it stays readable) and calls pump again after
// millisecondsUntilNextByte(now).
//
// Line rate: 1200 baud with start and stop bits is 120 bytes per second.
// Bytes that wait are taken at that rate from the moment the first of them
// was seen; an idle line earns no credit.

#include <csignal>
#include <cstdint>
#include <string>

#include "sim/Rx320Simulator.h"

namespace ondaris {

class SimulatorPty {
 public:
  struct Options {
    bool pacing = true;
    int bytesPerSecond = 120;
  };

  SimulatorPty();
  explicit SimulatorPty(Options options, std::uint32_t seed = 1);
  ~SimulatorPty();
  SimulatorPty(const SimulatorPty&) = delete;
  SimulatorPty& operator=(const SimulatorPty&) = delete;

  // Creates the pseudo-terminal. Returns false with `error` filled (the
  // system's reason) when it cannot.
  bool open(std::string& error);
  void close();
  bool isOpen() const { return master_ >= 0; }

  const std::string& devicePath() const { return path_; }
  int masterFd() const { return master_; }
  Rx320Simulator& simulator() { return simulator_; }
  const Options& options() const { return options_; }

  // Reads, feeds and answers as the line allows by `nowMs` (any steady
  // millisecond clock). Returns the number of bytes taken, or -1 when the
  // device failed.
  int pump(std::int64_t nowMs);
  // Bytes written by the client and not yet taken.
  std::size_t inputWaiting() const;
  // -1 when nothing waits, 0 when pump() can take a byte now, else the
  // milliseconds until it can.
  int millisecondsUntilNextByte(std::int64_t nowMs) const;

  // Serves the device until `stop` becomes non-zero (set it from a signal
  // handler); returns false when the device failed.
  bool run(const volatile std::sig_atomic_t& stop);

  static std::int64_t MonotonicMs();

 private:
  Options options_;
  Rx320Simulator simulator_;
  int master_ = -1;
  int slave_ = -1;
  std::string path_;
  // Line time in units of 1/bytesPerSecond ms, so that one byte is exactly
  // 1000 units: when the next byte can be taken.
  std::int64_t nextByteAt_ = 0;
  bool drained_ = true;  // nothing waited after the last pump
};

}  // namespace ondaris
