// The rx320-sim tool behind a pseudo-terminal: the real serial code path
// (QSerialPort, the send queue, Qt timers) against it, paced at 1200 baud
// like the real line; its station list and its exit on a signal; and
// hamlib's rigctl for the RX-320 (model 16003) tuning it, the tool's log
// naming the frequency set, to the hertz, in AM, USB, LSB and CW.
//
// Each rigctl process starts from 10 MHz AM; "M mode width" sends W, N and
// M, "L IF pbt" and "L CWPITCH hz" an N, "F hz" the N of the frequency,
// "l RAWSTR" an X whose reply it prints, "L AF x" a C. It writes each command
// up to its first zero byte, so the cases below are ones whose bytes hold
// none (no 6000 Hz filter, whose code is 0).

#include <QStandardPaths>
#include <gmock/gmock.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>

#include "E2eSupport.h"
#include "radio/FrameAssembler.h"
#include "radio/RadioState.h"
#include "radio/Rx320Protocol.h"
#include "radio/SerialLink.h"
#include "sim/StrengthModel.h"

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

  EXPECT_EQ(QtSerialPort::OpenErrorText(QStringLiteral("Permission denied"), true, "/dev/ttyS0"),
            "Unable to open com port (Permission denied).\nTo use /dev/ttyS0 your user must be a member of the group "
            "'dialout' (sudo usermod -aG dialout $USER, then log in again).");
  EXPECT_EQ(QtSerialPort::OpenErrorText(QString(), false, ""), "Unable to open com port");
  EXPECT_EQ(QtSerialPort::TransferErrorText(true, QStringLiteral("Input/output error")),
            "WriteFile function failed (Input/output error)");
  EXPECT_EQ(QtSerialPort::TransferErrorText(false, QString()), "ReadFile function failed");
}

// ---- The tool from outside -------------------------------------------------


// The log lines from `first` on once there are `count` of them (or after five seconds).
std::vector<std::string> NewLines(const SimulatorProcess& sim, std::size_t first, std::size_t count) {
  RunUntil([&] { return sim.logLines().size() >= first + count; }, 5000);
  const std::vector<std::string> lines = sim.logLines();
  return std::vector<std::string>(lines.begin() + static_cast<long>(std::min(first, lines.size())), lines.end());
}

std::string KHz(long long hz) {
  char text[40];
  std::snprintf(text, sizeof text, "%lld.%03lld", hz / 1000, hz % 1000);
  return text;
}

int FilterCodeFor(int width) {
  for (const FilterInfo& f : FilterTable)
    if (f.bandwidthHz == width) return f.code;
  return -1;
}

TEST(SimTool, TakesItsStationsFromTheScheduleAndEndsOnSigterm) {
  const std::string schedule = std::string(ONDARIS_DATA_DIR) + "/eibi-sked-b25.csv";
  std::ifstream in(schedule, std::ios::binary);
  ASSERT_TRUE(in) << "no schedule at " << schedule;
  StrengthModel model;
  model.setStations(StrengthModel::ParseStationList(in));
  ASSERT_GT(model.stations().size(), 1000u);
  SimulatorProcess sim;
  std::string error;
  ASSERT_TRUE(sim.start(false, error, {"--stations", QString::fromStdString(schedule)})) << error;
  // The tool reports its stations on standard error just after the device.
  const std::string report = "rx320-sim: " + std::to_string(model.stations().size()) + " stations";
  EXPECT_TRUE(RunUntil([&] { return sim.errors().find(report) != std::string::npos; }, 5000)) << sim.errors();
  EXPECT_EQ(sim.stop(SIGTERM), 0);
}

TEST(SimRigctl, SetsTheFrequencyToTheHertzInEveryModeAndTheAudioLevel) {
  const QString rigctl = QStandardPaths::findExecutable("rigctl");
  if (rigctl.isEmpty()) GTEST_SKIP() << "rigctl (hamlib) is not installed";
  SimulatorProcess sim;
  std::string error;
  ASSERT_TRUE(sim.start(false, error)) << error;
  auto run = [&](const QStringList& commands) {
    return RunToEnd(rigctl, QStringList{"-m", "16003", "-r", sim.qdevice()} + commands, {}, 10000);
  };
  const struct {
    std::string mode;
    int width, pbt;
    long long hz;
  } cases[] = {
      {"AM", 5100, 0, 9580000},     {"AM", 8000, 0, 15400000},    {"AM", 4200, 150, 11735000},
      {"USB", 2400, 100, 14230000}, {"USB", 3000, 250, 21310000}, {"USB", 2550, -500, 5000123},
      {"LSB", 2400, 100, 7000500},  {"LSB", 1800, -200, 3755000}, {"LSB", 1500, 1000, 25999999},
      {"CW", 300, 0, 9575000},      {"CW", 300, 0, 14060001},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode + " " + std::to_string(c.width) + " Hz PBT " + std::to_string(c.pbt) + " at " +
                 std::to_string(c.hz) + " Hz");
    QStringList args{"M", QString::fromStdString(c.mode), QString::number(c.width)};
    const bool shifted = c.mode == "CW" || c.pbt != 0;
    if (c.mode == "CW") args << "L" << "CWPITCH" << "700";
    else if (c.pbt != 0) args << "L" << "IF" << QString::number(c.pbt);
    args << "F" << QString::number(c.hz) << "l" << "RAWSTR";
    const std::size_t before = sim.logLines().size();
    const Finished result = run(args);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    // W, N and M of the mode, the N of the shift, the N of the frequency, the query.
    const std::size_t count = shifted ? 6 : 5;
    const std::vector<std::string> lines = NewLines(sim, before, count);
    ASSERT_EQ(lines.size(), count);
    EXPECT_EQ(lines[0], "W code=" + std::to_string(FilterCodeFor(c.width)) + " bw=" + std::to_string(c.width));
    EXPECT_TRUE(StartsWith(lines[1], "N ")) << lines[1];
    EXPECT_TRUE(StartsWith(lines[2], "M " + c.mode + " freq=")) << lines[2];
    EXPECT_THAT(lines[count - 2], ::testing::StartsWith("N "));
    EXPECT_THAT(lines[count - 2], ::testing::EndsWith(" freq=" + KHz(c.hz) + " kHz"));
    // The strength rigctl printed is the one the simulator sent.
    ASSERT_TRUE(StartsWith(lines.back(), "X strength=")) << lines.back();
    EXPECT_NE(result.output.find(lines.back().substr(11) + "\n"), std::string::npos) << result.output;
  }

  // The audio level arrives as the combined volume.
  const std::size_t before = sim.logLines().size();
  EXPECT_EQ(run({"L", "AF", "0.5", "L", "AF", "0"}).exitCode, 0);
  EXPECT_EQ(NewLines(sim, before, 2), (std::vector<std::string>{"C level=31", "C level=63 mute"}));
  EXPECT_EQ(sim.stop(SIGINT), 0) << sim.errors();
}

}  // namespace
}  // namespace ondaris
