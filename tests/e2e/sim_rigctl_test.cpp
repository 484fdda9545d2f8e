// The rx320-sim tool driven from outside: hamlib's rigctl for the RX-320
// (model 16003) tunes it, and the tool's log must name the frequency set, to
// the hertz, in AM, USB, LSB and CW.
//
// What rigctl sends (found by watching its bytes on a pseudo-terminal):
//   - each rigctl process starts from 10 MHz, AM, 6000 Hz, PBT 0, CW pitch 1000;
//   - "M mode width" sends W, N (at its current frequency) and M together;
//     "L IF pbt" and "L CWPITCH hz" send an N; "F hz" sends an N with the
//     mode and width already set; "l RAWSTR" sends X and prints the reply;
//     "L AF x" sends C 0x7F level;
//   - its tuning words are integer arithmetic: adj = hz - 1250 + k(H + PBT),
//     coarse = adj / 2500 + 18000, fine = floor((adj mod 2500) x 5.46),
//     BFO = floor((H + PBT + pitch + 8000) x 2.73), H = width / 2 + 200 (0 in CW);
//   - it writes each command string up to its first zero byte, so a filter
//     code 0 (6000 Hz) or any zero tuning byte cuts the rest of that string.
// So each case runs "M mode width [L IF pbt | L CWPITCH 700] F hz l RAWSTR"
// in one rigctl process, and cases whose bytes would hold a zero are left out.

#include <QStandardPaths>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "E2eSupport.h"
#include "radio/Rx320Protocol.h"
#include "sim/StrengthModel.h"

namespace ondaris {
namespace {

const QString kSimTool = kBinDir + "/rx320-sim";

// The simulator's log once it holds at least `count` lines (or after five seconds).
std::vector<std::string> WaitForLines(const SimulatorProcess& sim, std::size_t count) {
  RunUntil([&] { return sim.logLines().size() >= count; }, 5000);
  return sim.logLines();
}

std::string KHz(long long hz) {
  char text[40];
  std::snprintf(text, sizeof text, "%lld.%03lld", hz / 1000, hz % 1000);
  return text;
}

int ModeIndex(const std::string& name) {
  for (int m = 0; m < 4; ++m) {
    if (name == ModeTableEntry(m).name) return m;
  }
  return -1;
}

// ---- rigctl's side --------------------------------------------------------

struct Words {
  int coarse, fine, bfo;
};

Words RigctlWords(long long hz, int mode, int width, int pbt, int pitch) {
  int h = width / 2 + 200;
  int bfoTerm = 0;
  const int k = ModeTableEntry(mode).factor;
  if (mode == 3) {
    h = 0;
    bfoTerm = pitch;
  }
  const long long adjusted = hz - 1250 + k * (h + pbt);
  return {static_cast<int>(adjusted / 2500 + 18000),
          static_cast<int>(std::floor(static_cast<double>(adjusted % 2500) * 5.46)),
          static_cast<int>(std::floor(static_cast<double>(h + pbt + bfoTerm + 8000) * 2.73))};
}

bool WordsHoldZero(const Words& w) {
  for (int word : {w.coarse, w.fine, w.bfo}) {
    if ((word & 0xFF) == 0 || ((word >> 8) & 0xFF) == 0) return true;
  }
  return false;
}

std::string NLine(const Words& w) {
  return "N coarse=" + std::to_string(w.coarse) + " fine=" + std::to_string(w.fine) + " bfo=" + std::to_string(w.bfo);
}

struct RigCase {
  std::string mode;  // rigctl's mode name
  int width;
  int pbt;
  long long hz;
};

std::ostream& operator<<(std::ostream& os, const RigCase& c) {
  return os << c.mode << " " << c.width << " Hz PBT " << c.pbt << " at " << c.hz << " Hz";
}

int FilterCodeFor(int width) {
  for (const FilterInfo& f : FilterTable) {
    if (f.bandwidthHz == width) return f.code;
  }
  return -1;
}

// The log lines one rigctl run must produce, or nothing when one of its
// command strings would hold a zero byte.
std::optional<std::vector<std::string>> ExpectedLines(const RigCase& c, std::vector<std::string>& args) {
  const int mode = ModeIndex(c.mode);
  const int code = FilterCodeFor(c.width);
  if (mode < 0 || code <= 0) return std::nullopt;
  constexpr long long startHz = 10000000;
  const int pitch = 700;
  std::vector<Words> tunes;
  tunes.push_back(RigctlWords(startHz, mode, c.width, 0, 1000));  // sent with the mode
  args = {"M", c.mode, std::to_string(c.width)};
  if (mode == 3) {
    tunes.push_back(RigctlWords(startHz, mode, c.width, c.pbt, pitch));
    args.insert(args.end(), {"L", "CWPITCH", std::to_string(pitch)});
  } else if (c.pbt != 0) {
    tunes.push_back(RigctlWords(startHz, mode, c.width, c.pbt, 1000));
    args.insert(args.end(), {"L", "IF", std::to_string(c.pbt)});
  }
  tunes.push_back(RigctlWords(c.hz, mode, c.width, c.pbt, pitch));
  args.insert(args.end(), {"F", std::to_string(c.hz), "l", "RAWSTR"});
  for (const Words& w : tunes) {
    if (WordsHoldZero(w)) return std::nullopt;
  }

  std::vector<std::string> lines;
  lines.push_back("W code=" + std::to_string(code) + " bw=" + std::to_string(c.width));
  lines.push_back(NLine(tunes[0]));
  // After the mode the words of 10 MHz are read in the new mode; in CW with
  // rigctl's own pitch of 1000 Hz, 300 Hz off the simulator's 700.
  lines.push_back("M " + c.mode + " freq=" + KHz(mode == 3 ? startHz + 300 : startHz) + " kHz");
  for (std::size_t i = 1; i + 1 < tunes.size(); ++i) lines.push_back(NLine(tunes[i]));
  lines.push_back(NLine(tunes.back()) + " freq=" + KHz(c.hz) + " kHz");
  return lines;
}

// ---- Tests ------------------------------------------------------------------

TEST(SimTool, HelpAndBadArguments) {
  const Finished help = RunToEnd(kSimTool, {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.output.find("usage: rx320-sim [--no-pacing] [--log FILE] [--stations FILE] [--seed N]"),
            std::string::npos)
      << help.output;
  for (const char* bad : {"--bogus", "--seed", "--seed=x", "--log"}) {
    const Finished run = RunToEnd(kSimTool, {bad});
    EXPECT_EQ(run.exitCode, 2) << bad;
    EXPECT_NE(run.output.find("usage:"), std::string::npos) << bad;
  }
  const Finished missing = RunToEnd(kSimTool, {"--stations", "/nonexistent/stations.csv"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.output.find("cannot open /nonexistent/stations.csv"), std::string::npos) << missing.output;
}

TEST(SimTool, DecodesTheBytesWrittenToItsDeviceAndEndsOnSigterm) {
  SimulatorProcess sim;
  std::string error;
  ASSERT_TRUE(sim.start(false, error)) << error;
  ASSERT_TRUE(StartsWith(sim.device(), "/dev/pts/")) << sim.device();
  struct stat info {};
  EXPECT_EQ(stat(sim.device().c_str(), &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  // Filter 2550 Hz (its code is a CR), 10 MHz in USB, then the mode.
  const std::string bytes("\x57\x0D\x0D\x4E\x55\xF0\x04\xCC\x65\x0A\x0D\x4D\x31\x0D");
  const int fd = open(sim.device().c_str(), O_WRONLY | O_NOCTTY);
  ASSERT_GE(fd, 0) << std::strerror(errno);
  ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  close(fd);
  EXPECT_EQ(WaitForLines(sim, 3), (std::vector<std::string>{"W code=13 bw=2550",
                                                            "N coarse=22000 fine=1228 bfo=25866 freq=10001.475 kHz",
                                                            "M USB freq=10000.000 kHz"}));
  EXPECT_EQ(sim.stop(SIGTERM), 0);
}

TEST(SimTool, TakesItsStationsFromTheScheduleAndEndsOnSigint) {
  const std::string schedule = std::string(ONDARIS_DATA_DIR) + "/eibi-sked-b25.csv";
  std::ifstream in(schedule, std::ios::binary);
  if (!in) GTEST_SKIP() << "no schedule at " << schedule;
  StrengthModel model;
  model.setStations(StrengthModel::ParseStationList(in));
  ASSERT_GT(model.stations().size(), 1000u);
  SimulatorProcess sim;
  std::string error;
  ASSERT_TRUE(sim.start(false, error, {"--stations", QString::fromStdString(schedule)})) << error;
  // The tool reports its stations on standard error just after the device.
  const std::string report = "rx320-sim: " + std::to_string(model.stations().size()) + " stations";
  EXPECT_TRUE(RunUntil([&] { return sim.errors().find(report) != std::string::npos; }, 5000)) << sim.errors();
  EXPECT_EQ(sim.stop(SIGINT), 0);
}

class SimRigctl : public ::testing::Test {
 protected:
  void SetUp() override {
    rigctl_ = QStandardPaths::findExecutable("rigctl");
    if (rigctl_.isEmpty()) GTEST_SKIP() << "rigctl (hamlib) is not installed";
    std::string error;
    ASSERT_TRUE(sim.start(false, error)) << error;
  }
  Finished run(const QStringList& commands) {
    return RunToEnd(rigctl_, QStringList{"-m", "16003", "-r", sim.qdevice()} + commands, {}, 10000);
  }

  // Runs one case; false when it had to be left out for a zero byte.
  bool runCase(const RigCase& c) {
    std::vector<std::string> commands;
    const std::optional<std::vector<std::string>> expected = ExpectedLines(c, commands);
    if (!expected) return false;
    const std::size_t before = sim.logLines().size();
    QStringList args;
    for (const std::string& command : commands) args << QString::fromStdString(command);
    const Finished result = run(args);
    EXPECT_EQ(result.exitCode, 0) << c << "\n" << result.output;
    const std::vector<std::string> lines = WaitForLines(sim, before + expected->size() + 1);
    EXPECT_EQ(lines.size(), before + expected->size() + 1) << c;
    if (lines.size() != before + expected->size() + 1) return true;
    const std::vector<std::string> got(lines.begin() + static_cast<long>(before), lines.end() - 1);
    // The mode line carries the frequency; the N lines before the last are
    // compared by their words (their frequency reads them in the mode then).
    for (std::size_t i = 0; i < expected->size(); ++i) {
      const std::string& want = (*expected)[i];
      const bool wordsOnly = StartsWith(want, "N ") && want.find(" freq=") == std::string::npos;
      EXPECT_EQ(wordsOnly ? got[i].substr(0, got[i].find(" freq=")) : got[i], want) << c << " line " << i;
    }
    // The strength rigctl printed is the one the simulator sent.
    const std::string& query = lines.back();
    EXPECT_TRUE(StartsWith(query, "X strength=")) << query;
    const std::string strength = query.substr(std::strlen("X strength="));
    EXPECT_NE(result.output.find(strength + "\n"), std::string::npos) << c << " rigctl said: " << result.output;
    return true;
  }

  QString rigctl_;
  SimulatorProcess sim;
};

TEST_F(SimRigctl, SetsTheFrequencyToTheHertzInEveryModeAndTheAudioLevel) {
  const RigCase cases[] = {
      {"AM", 5100, 0, 9580000},     {"AM", 8000, 0, 15400000},  {"AM", 4200, 150, 11735000},
      {"USB", 2400, 100, 14230000}, {"USB", 3000, 250, 21310000}, {"USB", 2550, -500, 5000123},
      {"LSB", 2400, 100, 7000500},  {"LSB", 1800, -200, 3755000}, {"LSB", 1500, 1000, 25999999},
      {"CW", 300, 0, 9575000},      {"CW", 300, 0, 14060001},
  };
  int ran = 0;
  for (const RigCase& c : cases) ran += runCase(c) ? 1 : 0;
  EXPECT_GE(ran, 9) << "too many cases left out for zero bytes";

  // More frequencies, widths and shifts from a fixed seed.
  const int widths[] = {8000, 5100, 4200, 3000, 2550, 2400, 1800, 1500};
  const char* modes[] = {"AM", "USB", "LSB"};
  std::mt19937 rng(16003);
  int randomRan = 0;
  for (int i = 0; i < 40 && randomRan < 15; ++i) {
    RigCase c{modes[rng() % 3], widths[rng() % 8], static_cast<int>(rng() % 401) * 10 - 2000,
              100000 + static_cast<long long>(rng() % 29900000)};
    randomRan += runCase(c) ? 1 : 0;
    if (HasFailure()) break;
  }
  EXPECT_EQ(randomRan, 15);

  // The audio level arrives as the combined volume.
  const std::size_t before = sim.logLines().size();
  EXPECT_EQ(run({"L", "AF", "0.5", "L", "AF", "0"}).exitCode, 0);
  const std::vector<std::string> lines = WaitForLines(sim, before + 2);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(before), lines.end()),
            (std::vector<std::string>{"C level=31", "C level=63 mute"}));
  EXPECT_EQ(sim.stop(SIGTERM), 0) << sim.errors();
}

}  // namespace
}  // namespace ondaris
