// The real serial code path (QSerialPort, the send queue, Qt timers) against
// the simulated receiver tool behind a pseudo-terminal, paced at 1200 baud
// like the real line.

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "E2eSupport.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTimer.h"
#include "radio/FrameAssembler.h"
#include "radio/RadioState.h"
#include "radio/Rx320Protocol.h"
#include "radio/SerialLink.h"

namespace ondaris {
namespace {

struct DecodedTuning {
  int coarse = 0, fine = 0, bfo = 0;
  bool operator==(const DecodedTuning&) const = default;
};

std::vector<DecodedTuning> Tunings(const SimulatorProcess& sim) {
  std::vector<DecodedTuning> result;
  for (const std::string& line : sim.logLines()) {
    DecodedTuning t;
    if (std::sscanf(line.c_str(), "N coarse=%d fine=%d bfo=%d", &t.coarse, &t.fine, &t.bfo) == 3) result.push_back(t);
  }
  return result;
}

std::vector<int> Strengths(const SimulatorProcess& sim) {
  std::vector<int> result;
  for (const std::string& line : sim.logLines()) {
    int s = 0;
    if (std::sscanf(line.c_str(), "X strength=%d", &s) == 1) result.push_back(s);
  }
  return result;
}

DecodedTuning WordsOf(const RadioState& state) {
  const TuningWords w = ComputeTuningWords(state.TuningInputs());
  return DecodedTuning{w.coarse, w.fine, w.bfo};
}

class SerialLinkE2E : public ::testing::Test {
 protected:
  void startSimulator(bool pacing) {
    std::string error;
    ASSERT_TRUE(sim.start(pacing, error)) << error;
    link = std::make_unique<SerialLink>(port, clock, pump);
    link->onError = [this](const std::string& e) { errors.push_back(e); };
    ASSERT_NO_THROW(link->open(sim.device()));
    ASSERT_TRUE(link->isOpen());
  }

  void TearDown() override {
    if (link) link->close(500);
    link.reset();
    EXPECT_TRUE(errors.empty()) << errors.front();
  }

  SimulatorProcess sim;
  QtSerialPort port;
  QtClock clock;
  QtTimer pump;
  std::unique_ptr<SerialLink> link;
  std::vector<std::string> errors;
};

TEST_F(SerialLinkE2E, TheReceiverDecodesTheTuningAnswersQueriesAndGetsTheLastCommandsAtClose) {
  startSimulator(true);
  RadioState state;  // 15000 kHz AM, 6000 Hz filter
  state.Freq = 10000.0;
  link->send(UnitKind::Tuning, state.TuningBytes());
  ASSERT_TRUE(RunUntil([&] { return sim.linesStartingWith("G ") >= 1; }, 3000));
  const std::vector<std::string> lines = sim.logLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].rfind("W code=0", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "N coarse=21999 fine=6824 bfo=30576 freq=10000.000 kHz");
  EXPECT_EQ(lines[2].rfind("M AM", 0), 0u) << lines[2];
  EXPECT_EQ(lines[3], "G 2");

  // Meter queries: the readings are exactly what the receiver answered, in order.
  FrameAssembler assembler;
  std::vector<int> readings;
  link->onReceived = [&](const std::string& chunk) {
    if (auto r = assembler.onChunk(chunk, 0, 65535)) readings.push_back(*r);
  };
  QtTimer meter;
  meter.onTimer = [&] { link->send(UnitKind::MeterQuery, SignalStrengthQuery()); };
  meter.setInterval(200);
  meter.setEnabled(true);
  RunFor(1500);
  meter.setEnabled(false);
  RunUntil([&] { return !readings.empty() && readings.size() >= Strengths(sim).size(); }, 1000);
  EXPECT_GE(readings.size(), 5u);
  EXPECT_EQ(readings, Strengths(sim));
  EXPECT_FALSE(assembler.frameOpen());

  // Close delivers what is queued; the next send opens the port again.
  for (int i = 0; i < 3; ++i) {
    state.Freq = 6000.0 + i;
    link->send(UnitKind::Tuning, state.TuningBytes());
  }
  link->send(UnitKind::Other, ExitMuteCommand());
  link->close(1500);
  EXPECT_FALSE(link->isOpen());
  ASSERT_TRUE(RunUntil([&] { return sim.linesStartingWith("C mute") == 1; }, 3000));
  ASSERT_FALSE(Tunings(sim).empty());
  EXPECT_EQ(Tunings(sim).back(), WordsOf(state));
  state.Freq = 7000.0;
  link->send(UnitKind::Tuning, state.TuningBytes());
  EXPECT_TRUE(link->isOpen());
  ASSERT_TRUE(RunUntil([&] { return !Tunings(sim).empty() && Tunings(sim).back() == WordsOf(state); }, 3000));
}

TEST_F(SerialLinkE2E, FastTuningEndsOnTheNewestWithoutStaleTunings) {
  startSimulator(true);
  RadioState state;
  state.Freq = 5000.0;

  const int kSendMs = 4000;
  int sent = 0;
  std::size_t mostQueued = 0;
  DecodedTuning newest;
  QElapsedTimer elapsed;
  qint64 lastSendMs = 0;
  QTimer sender;
  sender.setTimerType(Qt::PreciseTimer);
  sender.setInterval(10);
  QObject::connect(&sender, &QTimer::timeout, [&] {
    if (elapsed.elapsed() >= kSendMs) {
      sender.stop();
      return;
    }
    state.Freq += 1.0;
    newest = WordsOf(state);
    link->send(UnitKind::Tuning, state.TuningBytes());
    lastSendMs = elapsed.elapsed();
    ++sent;
    mostQueued = std::max(mostQueued, link->queuedUnits());
  });
  elapsed.start();
  sender.start();
  RunUntil([&] { return !sender.isActive(); }, kSendMs + 2000);
  ASSERT_FALSE(sender.isActive());

  // The receiver ends on the newest tuning within about two tunings' line time.
  const double twoUnits = 2 * link->lineTimeMs(17);
  const bool arrived = RunUntil(
      [&] {
        const auto decoded = Tunings(sim);
        return !decoded.empty() && decoded.back() == newest;
      },
      3000);
  const qint64 arrivedAfter = elapsed.elapsed() - lastSendMs;
  ASSERT_TRUE(arrived) << "the newest tuning never arrived";
  RecordProperty("newest_tuning_arrived_after_ms", static_cast<int>(arrivedAfter));
  // Two units of line time, plus the scheduling of a busy test machine.
  EXPECT_LE(arrivedAfter, static_cast<qint64>(twoUnits) + 150) << "newest tuning took " << arrivedAfter << " ms";

  RunFor(300);  // nothing else may follow
  const auto decoded = Tunings(sim);
  EXPECT_EQ(decoded.back(), newest);
  EXPECT_LE(mostQueued, 1u) << "more than one tuning waited";
  EXPECT_EQ(link->tuningsHandedOver() + link->tuningsReplaced(), static_cast<std::uint64_t>(sent));
  // Every tuning handed over arrived whole, none was corrupted or held back.
  EXPECT_EQ(decoded.size(), link->tuningsHandedOver());
  EXPECT_EQ(sim.linesStartingWith("?"), 0);
  // The line was kept busy: close to its capacity of tunings.
  const double capacity = kSendMs / link->lineTimeMs(17);
  EXPECT_GE(static_cast<double>(decoded.size()), 0.85 * capacity)
      << decoded.size() << " tunings for a capacity of " << capacity;
  EXPECT_GT(sent, 200);
  std::printf("[ stats    ] %d tunings sent, %zu decoded (capacity %.1f), newest arrived %lld ms after it was sent\n",
              sent, decoded.size(), capacity, static_cast<long long>(arrivedAfter));
}

TEST(QtSerialPortE2E, OpenErrorsGiveTheReasonAndSimOpensTheSimulatorsDevice) {
  QtSerialPort port;
  std::string error;
  EXPECT_FALSE(port.open("/dev/ondaris-no-such-port", error));
  EXPECT_FALSE(port.isOpen());
  EXPECT_TRUE(StartsWith(error, "Unable to open com port (")) << error;
  EXPECT_EQ(error.back(), ')') << error;
  EXPECT_EQ(error.find("dialout"), std::string::npos) << error;
  // SIM without a simulator is refused.
  EXPECT_FALSE(port.open("SIM", error));
  EXPECT_TRUE(StartsWith(error, "Unable to open com port (")) << error;
  port.simulatedDevice = [](std::string& why) {
    why = "no pseudo-terminals";
    return std::string();
  };
  EXPECT_FALSE(port.open("SIM", error));
  EXPECT_EQ(error, "Unable to open com port (no pseudo-terminals)");

  EXPECT_EQ(QtSerialPort::OpenErrorText(QStringLiteral("No such file or directory"), false, "/dev/ttyS0"),
            "Unable to open com port (No such file or directory)");
  const std::string denied = QtSerialPort::OpenErrorText(QStringLiteral("Permission denied"), true, "/dev/ttyS0");
  EXPECT_TRUE(StartsWith(denied, "Unable to open com port (Permission denied)")) << denied;
  EXPECT_NE(denied.find("dialout"), std::string::npos) << denied;
  EXPECT_NE(denied.find("/dev/ttyS0"), std::string::npos) << denied;
  EXPECT_EQ(QtSerialPort::OpenErrorText(QString(), false, ""), "Unable to open com port");
  EXPECT_EQ(QtSerialPort::TransferErrorText(true, QStringLiteral("Input/output error")),
            "WriteFile function failed (Input/output error)");
  EXPECT_EQ(QtSerialPort::TransferErrorText(false, QStringLiteral("Input/output error")),
            "ReadFile function failed (Input/output error)");

  SimulatorProcess sim;
  ASSERT_TRUE(sim.start(false, error)) << error;
  port.simulatedDevice = [&](std::string&) { return sim.device(); };
  ASSERT_TRUE(port.open("SIM", error)) << error;
  EXPECT_EQ(port.devicePath(), sim.device());
  ASSERT_TRUE(port.write(SignalStrengthQuery(), error)) << error;
  std::string reply;
  RunUntil([&] { return (reply += port.readAvailable()).size() >= 4; }, 3000);
  ASSERT_EQ(reply.size(), 4u);
  EXPECT_EQ(reply[0], 'X');
  EXPECT_EQ(reply[3], '\r');
  port.close();
  EXPECT_FALSE(port.isOpen());
}

TEST(QtTimerE2E, TicksOnTheEventLoopWithTheTimerRulesNeverOverlapping) {
  QtTimer timer;
  QtClock clock;
  const auto startMs = clock.monotonicMs();
  std::vector<std::int64_t> ticks;
  timer.onTimer = [&] { ticks.push_back(clock.monotonicMs() - startMs); };
  timer.setInterval(50);
  timer.setEnabled(true);
  RunFor(275);
  timer.setEnabled(false);
  const std::size_t count = ticks.size();
  ASSERT_GE(count, 3u);
  ASSERT_LE(count, 5u);
  EXPECT_GE(ticks.front(), 49);
  for (std::size_t i = 1; i < ticks.size(); ++i) EXPECT_GE(ticks[i] - ticks[i - 1], 49);
  RunFor(150);
  EXPECT_EQ(ticks.size(), count) << "a disabled timer ticked";
  timer.setEnabled(true);
  timer.setInterval(20);  // disables
  RunFor(100);
  EXPECT_EQ(ticks.size(), count) << "changing the interval did not stop the timer";
  const DateTime utc = clock.utcNow();
  EXPECT_GE(utc.year, 2020);
  EXPECT_TRUE(utc.month >= 1 && utc.month <= 12 && utc.hour <= 23 && utc.second <= 60);

  int depth = 0, deepest = 0, runs = 0;
  timer.onTimer = [&] {
    ++depth;
    ++runs;
    deepest = std::max(deepest, depth);
    if (runs == 1) {
      // A modal box would run a loop like this one; restarting the timer
      // inside must not run the handler again inside.
      timer.setEnabled(false);
      timer.setEnabled(true);
      RunFor(120);
    }
    --depth;
  };
  timer.setEnabled(true);
  RunFor(300);
  timer.setEnabled(false);
  EXPECT_EQ(deepest, 1);
  EXPECT_GE(runs, 3);
}

}  // namespace
}  // namespace ondaris
