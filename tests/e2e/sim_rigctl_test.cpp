// The rx320-sim tool driven from outside: its command line, its station list
// and its exit on a signal; and hamlib's rigctl for the RX-320 (model 16003)
// tuning it, the tool's log naming the frequency set, to the hertz, in AM,
// USB, LSB and CW.
//
// Each rigctl process starts from 10 MHz AM; "M mode width" sends W, N and
// M, "L IF pbt" and "L CWPITCH hz" an N, "F hz" the N of the frequency,
// "l RAWSTR" an X whose reply it prints, "L AF x" a C. It writes each command
// up to its first zero byte, so the cases below are ones whose bytes hold
// none (no 6000 Hz filter, whose code is 0).

#include <QStandardPaths>
#include <gmock/gmock.h>

#include <cstdio>
#include <fstream>

#include "E2eSupport.h"
#include "radio/Rx320Protocol.h"
#include "sim/StrengthModel.h"

namespace ondaris {
namespace {

const QString kSimTool = kBinDir + "/rx320-sim";

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

TEST(SimTool, HelpAndBadArguments) {
  ExpectCommandLines(kSimTool,
                     {{{"--help"}, 0, "usage: rx320-sim [--no-pacing] [--log FILE] [--stations FILE] [--seed N]"},
                      {{"--bogus"}, 2, "usage:"},
                      {{"--seed"}, 2, "usage:"},
                      {{"--seed=x"}, 2, "usage:"},
                      {{"--log"}, 2, "usage:"},
                      {{"--stations", "/nonexistent/stations.csv"}, 1, "cannot open /nonexistent/stations.csv"}});
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
