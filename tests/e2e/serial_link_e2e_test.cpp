// The real serial code path (QSerialPort, the send queue, Qt timers) against
// the simulated receiver tool behind a pseudo-terminal, paced at 1200 baud
// like the real line.

#include <algorithm>
#include <cstdio>
#include <memory>

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

// The tuning words of every N line the simulator logged so far, and the
// reading of every X line.
std::vector<std::string> Tunings(const SimulatorProcess& sim) {
  std::vector<std::string> result;
  for (const std::string& line : sim.logLines())
    if (StartsWith(line, "N ")) result.push_back(line.substr(0, line.find(" freq=")));
  return result;
}

std::vector<int> Strengths(const SimulatorProcess& sim) {
  std::vector<int> result;
  for (const std::string& line : sim.logLines())
    if (StartsWith(line, "X strength=")) result.push_back(std::stoi(line.substr(11)));
  return result;
}

// Whether the last tuning the simulator decoded is the state's.
bool EndsOn(const SimulatorProcess& sim, const RadioState& state) {
  const TuningWords w = ComputeTuningWords(state.TuningInputs());
  const std::vector<std::string> tunings = Tunings(sim);
  return !tunings.empty() && tunings.back() == "N coarse=" + std::to_string(w.coarse) +
                                                   " fine=" + std::to_string(w.fine) + " bfo=" + std::to_string(w.bfo);
}

class SerialLinkE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(sim.start(true, error)) << error;
    // "SIM" is the device the port is given for the simulated receiver.
    port.simulatedDevice = [this](std::string&) { return sim.device(); };
    link = std::make_unique<SerialLink>(port, clock, pump);
    link->onError = [this](const std::string& e) { errors.push_back(e); };
    ASSERT_NO_THROW(link->open("SIM"));
    ASSERT_TRUE(link->isOpen());
    EXPECT_EQ(port.devicePath(), sim.device());
  }
  void TearDown() override {
    if (link) link->close(500);
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
  RadioState state;  // 15000 kHz AM, 6000 Hz filter
  state.Freq = 10000.0;
  link->send(UnitKind::Tuning, state.TuningBytes());
  ASSERT_TRUE(RunUntil([&] { return sim.linesStartingWith("G ") >= 1; }, 3000));
  EXPECT_EQ(sim.logLines(), (std::vector<std::string>{"W code=0 bw=6000",
                                                      "N coarse=21999 fine=6824 bfo=30576 freq=10000.000 kHz",
                                                      "M AM freq=10000.000 kHz", "G 2"}));

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
  EXPECT_TRUE(EndsOn(sim, state));
  state.Freq = 7000.0;
  link->send(UnitKind::Tuning, state.TuningBytes());
  EXPECT_TRUE(link->isOpen());
  EXPECT_TRUE(RunUntil([&] { return EndsOn(sim, state); }, 3000));
}

TEST_F(SerialLinkE2E, FastTuningEndsOnTheNewestWithoutStaleTunings) {
  RadioState state;
  state.Freq = 5000.0;
  const int kSendMs = 4000;
  int sent = 0;
  std::size_t mostQueued = 0;
  QElapsedTimer elapsed;
  qint64 lastSendMs = 0;
  QTimer sender;
  sender.setTimerType(Qt::PreciseTimer);
  sender.setInterval(10);
  QObject::connect(&sender, &QTimer::timeout, [&] {
    if (elapsed.elapsed() >= kSendMs) return sender.stop();
    state.Freq += 1.0;
    link->send(UnitKind::Tuning, state.TuningBytes());
    lastSendMs = elapsed.elapsed();
    ++sent;
    mostQueued = std::max(mostQueued, link->queuedUnits());
  });
  elapsed.start();
  sender.start();
  ASSERT_TRUE(RunUntil([&] { return !sender.isActive(); }, kSendMs + 2000));

  // The receiver ends on the newest tuning within about two tunings' line
  // time, plus the scheduling of a busy test machine.
  ASSERT_TRUE(RunUntil([&] { return EndsOn(sim, state); }, 3000)) << "the newest tuning never arrived";
  const qint64 arrivedAfter = elapsed.elapsed() - lastSendMs;
  RecordProperty("newest_tuning_arrived_after_ms", static_cast<int>(arrivedAfter));
  EXPECT_LE(arrivedAfter, static_cast<qint64>(2 * link->lineTimeMs(17)) + 150);

  RunFor(300);  // nothing else may follow
  EXPECT_TRUE(EndsOn(sim, state));
  EXPECT_LE(mostQueued, 1u) << "more than one tuning waited";
  EXPECT_EQ(link->tuningsHandedOver() + link->tuningsReplaced(), static_cast<std::uint64_t>(sent));
  // Every tuning handed over arrived whole, none was corrupted or held back.
  const std::size_t decoded = Tunings(sim).size();
  EXPECT_EQ(decoded, link->tuningsHandedOver());
  EXPECT_EQ(sim.linesStartingWith("?"), 0);
  // The line was kept busy: close to its capacity of tunings.
  const double capacity = kSendMs / link->lineTimeMs(17);
  EXPECT_GE(static_cast<double>(decoded), 0.85 * capacity) << decoded << " tunings for a capacity of " << capacity;
  EXPECT_GT(sent, 200);
  std::printf("[ stats    ] %d tunings sent, %zu decoded (capacity %.1f), newest arrived %lld ms after it was sent\n",
              sent, decoded, capacity, static_cast<long long>(arrivedAfter));
}

TEST(QtSerialPortE2E, OpenErrorsGiveTheReason) {
  QtSerialPort port;
  std::string error;
  EXPECT_FALSE(port.open("/dev/ondaris-no-such-port", error));
  EXPECT_FALSE(port.isOpen());
  EXPECT_TRUE(StartsWith(error, "Unable to open com port (")) << error;
  EXPECT_EQ(error.back(), ')') << error;
  EXPECT_EQ(error.find("dialout"), std::string::npos) << error;
  // SIM without a simulator is refused, with the reason it gives.
  EXPECT_FALSE(port.open("SIM", error));
  EXPECT_EQ(error, "Unable to open com port (no simulated receiver)");
  port.simulatedDevice = [](std::string& why) {
    why = "no pseudo-terminals";
    return std::string();
  };
  EXPECT_FALSE(port.open("SIM", error));
  EXPECT_EQ(error, "Unable to open com port (no pseudo-terminals)");

  const std::string denied = QtSerialPort::OpenErrorText(QStringLiteral("Permission denied"), true, "/dev/ttyS0");
  EXPECT_TRUE(StartsWith(denied, "Unable to open com port (Permission denied)")) << denied;
  EXPECT_NE(denied.find("your user must be a member of the group 'dialout'"), std::string::npos) << denied;
  EXPECT_NE(denied.find("/dev/ttyS0"), std::string::npos) << denied;
  EXPECT_EQ(QtSerialPort::OpenErrorText(QString(), false, ""), "Unable to open com port");
  EXPECT_EQ(QtSerialPort::TransferErrorText(true, QStringLiteral("Input/output error")),
            "WriteFile function failed (Input/output error)");
  EXPECT_EQ(QtSerialPort::TransferErrorText(false, QString()), "ReadFile function failed");

}

}  // namespace
}  // namespace ondaris
