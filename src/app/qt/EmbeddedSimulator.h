#pragma once
// The simulated RX-320 inside the program (port name "SIM"): the simulator
// behind a pseudo-terminal, served by a thread of its own like a device
// with its own clock. The serial port opens the pseudo-terminal like any
// other device, so the real serial code is what talks to it; and when the
// program waits for its last bytes to leave at exit, the simulator is still
// there to take them.

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace ondaris {

class SimulatorPty;

class EmbeddedSimulator {
 public:
  EmbeddedSimulator();
  ~EmbeddedSimulator();
  EmbeddedSimulator(const EmbeddedSimulator&) = delete;
  EmbeddedSimulator& operator=(const EmbeddedSimulator&) = delete;

  // Writes one line per decoded command to this file (empty: no log). Set
  // before the first devicePath().
  void setLogFile(const std::string& path) { logPath_ = path; }

  // The device to open; the simulator starts at the first call. "" with
  // `error` filled when the pseudo-terminal cannot be made.
  std::string devicePath(std::string& error);

  bool running() const { return thread_.joinable(); }

  // Takes what is still waiting on the line, then stops the simulator.
  void finish();

 private:
  void serve();

  std::unique_ptr<SimulatorPty> pty_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::string logPath_;
};

}  // namespace ondaris
