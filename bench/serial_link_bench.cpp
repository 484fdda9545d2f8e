// How much of the 1200-baud line a fast scan gets through the send queue:
// tunings offered every 10 ms, far more than the line carries. The counter
// `line_use` is the share of the line's capacity in tunings that reached the
// receiver (1.0 = the line never idled).
//
//   SimulatedLine: the link on virtual time against a modelled line (CPU cost
//                  of the queue logic; ten virtual seconds per iteration).
//   SimulatorPty:  QSerialPort, Qt timers and the link against the simulated
//                  receiver behind a pseudo-terminal, paced at 1200 baud in
//                  real time (two seconds per iteration).

// The simulator's header comes before Qt's, whose `emit` keyword is a macro.
#include "sim/SimulatorPty.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <string>
#include <thread>

#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "platform/Timer.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTimer.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"

namespace {

using namespace ondaris;

// --- Virtual time: one clock, one timer, a line that sends 120 bytes/s ---

class VirtualClock : public Clock {
 public:
  std::int64_t now = 0;
  std::int64_t monotonicMs() const override { return now; }
  DateTime utcNow() const override { return {}; }
  DateTime localNow() const override { return {}; }
};

class VirtualTimer : public Timer {
 public:
  explicit VirtualTimer(VirtualClock& clock) : clock_(clock) {}
  void fireIfDue() {
    if (due_ >= 0 && clock_.now >= due_) {
      due_ = -1;
      tick();
    }
  }

 protected:
  void start(int ms) override { due_ = clock_.now + ms; }
  void stop() override { due_ = -1; }

 private:
  VirtualClock& clock_;
  std::int64_t due_ = -1;
};

class VirtualPort : public SerialPort {
 public:
  explicit VirtualPort(VirtualClock& clock) : clock_(clock) {}
  bool open(const std::string&, std::string&) override { return open_ = true; }
  bool isOpen() const override { return open_; }
  void close() override { open_ = false; }
  bool write(const std::string& bytes, std::string&) override {
    const double start = std::max(static_cast<double>(clock_.now), busyUntil_);
    busyUntil_ = start + bytes.size() * 1000.0 / 120.0;
    if (bytes.size() == 17 && clock_.now < countUntil) ++tunings;
    return true;
  }
  std::size_t bytesQueuedForLine() const override {
    const double left = busyUntil_ - static_cast<double>(clock_.now);
    return left > 0 ? static_cast<std::size_t>(left * 120.0 / 1000.0) : 0;
  }
  void drain(int) override {}
  std::string readAvailable() override { return {}; }
  std::int64_t tunings = 0;     // handed over before countUntil
  std::int64_t countUntil = 0;

 private:
  VirtualClock& clock_;
  bool open_ = false;
  double busyUntil_ = 0;
};

void SimulatedLine(benchmark::State& state) {
  const int durationMs = 10000;
  std::int64_t delivered = 0;
  std::int64_t offered = 0;
  double capacity = 0;
  for (auto _ : state) {
    VirtualClock clock;
    VirtualTimer pump(clock);
    VirtualPort port(clock);
    port.countUntil = durationMs;
    SerialLink link(port, clock, pump);
    link.open("SIM");
    RadioState radio;
    radio.Freq = 5000;
    for (clock.now = 0; clock.now < durationMs + 500; ++clock.now) {
      pump.fireIfDue();
      if (clock.now < durationMs && clock.now % 10 == 0) {
        radio.Freq += 1;
        link.send(UnitKind::Tuning, radio.TuningBytes());
        ++offered;
      }
    }
    delivered += port.tunings;
    capacity += durationMs / link.lineTimeMs(17);
  }
  state.counters["line_use"] = static_cast<double>(delivered) / capacity;
  state.counters["tunings_per_s"] =
      benchmark::Counter(static_cast<double>(delivered) / state.iterations() / (durationMs / 1000.0));
  state.counters["offered_per_s"] =
      benchmark::Counter(static_cast<double>(offered) / state.iterations() / (durationMs / 1000.0));
}
BENCHMARK(SimulatedLine)->Unit(benchmark::kMillisecond);

// --- The real code path against the simulated receiver ---

volatile std::sig_atomic_t stopSimulator = 0;

void SimulatorPtyLine(benchmark::State& state) {
  const int durationMs = 2000;
  std::int64_t decoded = 0;
  double capacity = 0;
  for (auto _ : state) {
    SimulatorPty pty;  // paced at 1200 baud
    std::atomic<std::int64_t> tunings{0};
    pty.simulator().setLogSink([&](const std::string& line) {
      if (line.rfind("N ", 0) == 0) ++tunings;
    });
    std::string error;
    if (!pty.open(error)) {
      state.SkipWithError(("no pseudo-terminal: " + error).c_str());
      return;
    }
    stopSimulator = 0;
    std::thread serve([&] { pty.run(stopSimulator); });

    {
      QtSerialPort port;
      QtClock clock;
      QtTimer pump;
      SerialLink link(port, clock, pump);
      link.open(pty.devicePath());
      RadioState radio;
      radio.Freq = 5000;
      QElapsedTimer elapsed;
      QEventLoop loop;
      QTimer sender;
      sender.setTimerType(Qt::PreciseTimer);
      sender.setInterval(10);
      QObject::connect(&sender, &QTimer::timeout, [&] {
        if (elapsed.elapsed() >= durationMs) {
          loop.quit();
          return;
        }
        radio.Freq += 1;
        link.send(UnitKind::Tuning, radio.TuningBytes());
      });
      elapsed.start();
      sender.start();
      loop.exec();
      sender.stop();
      capacity += elapsed.elapsed() / link.lineTimeMs(17);
      // What is on the line now finishes after the measured span.
      decoded += tunings.load();
      link.close(300);
    }
    stopSimulator = 1;
    serve.join();
  }
  state.counters["line_use"] = static_cast<double>(decoded) / capacity;
  state.counters["tunings_per_s"] =
      benchmark::Counter(static_cast<double>(decoded) / state.iterations() / (durationMs / 1000.0));
}
BENCHMARK(SimulatorPtyLine)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
