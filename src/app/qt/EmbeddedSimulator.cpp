#include "app/qt/EmbeddedSimulator.h"

#include <poll.h>

#include <algorithm>
#include <cstdio>

#include "sim/SimulatorPty.h"

namespace ondaris {

namespace {
// How often a quiet simulator looks whether it should stop.
constexpr int IdleWaitMs = 50;
}  // namespace

EmbeddedSimulator::EmbeddedSimulator() = default;

EmbeddedSimulator::~EmbeddedSimulator() { finish(); }

std::string EmbeddedSimulator::devicePath(std::string& error) {
  if (running()) return pty_->devicePath();
  auto pty = std::make_unique<SimulatorPty>();
  if (!pty->open(error)) {
    if (error.empty()) error = "The simulated receiver could not be started";
    return {};
  }
  if (!logPath_.empty()) {
    std::FILE* log = std::fopen(logPath_.c_str(), "a");
    if (log) {
      // The sink runs on the simulator's thread only; the file is closed by
      // the sink's last copy.
      std::shared_ptr<std::FILE> file(log, [](std::FILE* f) { std::fclose(f); });
      pty->simulator().setLogSink([file](const std::string& line) {
        std::fprintf(file.get(), "%s\n", line.c_str());
        std::fflush(file.get());
      });
    } else {
      std::fprintf(stderr, "ondaris: cannot write the simulator log %s\n", logPath_.c_str());
    }
  }
  pty_ = std::move(pty);
  stop_ = false;
  thread_ = std::thread([this] { serve(); });
  return pty_->devicePath();
}

void EmbeddedSimulator::serve() {
  SimulatorPty& pty = *pty_;
  for (;;) {
    const bool stopping = stop_.load();
    const std::int64_t now = SimulatorPty::MonotonicMs();
    // When stopping, the line is given credit for everything still waiting.
    const int wait = stopping ? (pty.inputWaiting() > 0 ? 0 : -1) : pty.millisecondsUntilNextByte(now);
    if (wait == 0) {
      if (pty.pump(stopping ? now + 600000 : now) < 0) return;
      continue;
    }
    if (stopping) return;
    if (wait > 0) {
      ::poll(nullptr, 0, std::min(wait, IdleWaitMs));
      continue;
    }
    pollfd watch{pty.masterFd(), POLLIN, 0};
    const int ready = ::poll(&watch, 1, IdleWaitMs);
    if (ready > 0 && (watch.revents & (POLLERR | POLLNVAL))) return;
    if (ready > 0 && (watch.revents & POLLHUP) && !(watch.revents & POLLIN)) ::poll(nullptr, 0, IdleWaitMs);
  }
}

void EmbeddedSimulator::finish() {
  if (!running()) return;
  stop_ = true;
  thread_.join();
  pty_->close();
}

}  // namespace ondaris
