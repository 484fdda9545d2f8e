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

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "radio/Rx320Protocol.h"
#include "sim/StrengthModel.h"

extern char** environ;

namespace ondaris {
namespace {

using Clock = std::chrono::steady_clock;

const std::string kSimTool = std::string(ONDARIS_BIN_DIR) + "/rx320-sim";

std::optional<std::string> FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

std::vector<char*> Argv(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return argv;
}

struct RunResult {
  int exitCode = -1;
  std::string output;  // standard output and error together
};

// Runs a program to its end (killed after `timeoutMs`).
RunResult RunProgram(std::vector<std::string> args, int timeoutMs = 10000) {
  RunResult result;
  int out[2];
  if (pipe(out) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, out[1], 2);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);
  std::vector<char*> argv = Argv(args);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    close(out[0]);
    return result;
  }
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Clock::now() < deadline) {
    pollfd p{out[0], POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    result.output.append(buffer, static_cast<std::size_t>(n));
  }
  close(out[0]);
  int status = 0;
  if (waitpid(pid, &status, WNOHANG) == 0) {
    while (Clock::now() < deadline && waitpid(pid, &status, WNOHANG) == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (Clock::now() >= deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return result;
    }
  }
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}

// rx320-sim as a child process, logging to a file in its own folder.
class SimProcess {
 public:
  explicit SimProcess(std::vector<std::string> extraArgs = {}) {
    char dir[] = "/tmp/ondaris_sim_e2eXXXXXX";
    if (!mkdtemp(dir)) return;
    dir_ = dir;
    logPath_ = dir_ + "/sim.log";
    errPath_ = dir_ + "/sim.err";
    int out[2];
    if (pipe(out) != 0) return;
    std::vector<std::string> args{kSimTool, "--no-pacing", "--log", logPath_};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv = Argv(args);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    out_ = out[0];
    if (spawned != 0) {
      pid_ = -1;
      return;
    }
    // The first line is the device.
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    std::string text;
    while (text.find('\n') == std::string::npos && Clock::now() < deadline) {
      pollfd p{out_, POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      char c[256];
      const ssize_t n = read(out_, c, sizeof c);
      if (n <= 0) break;
      text.append(c, static_cast<std::size_t>(n));
    }
    if (text.find('\n') != std::string::npos) device_ = text.substr(0, text.find('\n'));
  }

  ~SimProcess() {
    stop(SIGTERM);
    if (out_ >= 0) close(out_);
    for (const std::string& path : {logPath_, errPath_}) std::remove(path.c_str());
    if (!dir_.empty()) rmdir(dir_.c_str());
  }

  const std::string& device() const { return device_; }
  std::string errors() const { return ReadFile(errPath_); }

  // Ends the process with `signal`; returns its exit code (-1 if it did not
  // end by itself within three seconds).
  int stop(int signal) {
    if (pid_ <= 0) return exitCode_;
    kill(pid_, signal);
    int status = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (Clock::now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return exitCode_ = -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
    return exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::vector<std::string> logLines() const {
    std::vector<std::string> lines;
    std::stringstream text(ReadFile(logPath_));
    std::string line;
    while (std::getline(text, line)) lines.push_back(line);
    return lines;
  }

  // Waits until the log holds at least `count` lines.
  std::vector<std::string> waitForLines(std::size_t count) const {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    std::vector<std::string> lines = logLines();
    while (lines.size() < count && Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      lines = logLines();
    }
    return lines;
  }

 private:
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::string dir_;
  std::string logPath_;
  std::string errPath_;
  std::string device_;
  pid_t pid_ = -1;
  int out_ = -1;
  int exitCode_ = -1;
};

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
  const RunResult help = RunProgram({kSimTool, "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.output.find("usage: rx320-sim [--no-pacing] [--log FILE] [--stations FILE] [--seed N]"),
            std::string::npos)
      << help.output;
  for (const char* bad : {"--bogus", "--seed", "--seed=x", "--log"}) {
    const RunResult run = RunProgram({kSimTool, bad});
    EXPECT_EQ(run.exitCode, 2) << bad;
    EXPECT_NE(run.output.find("usage:"), std::string::npos) << bad;
  }
  const RunResult missing = RunProgram({kSimTool, "--stations", "/nonexistent/stations.csv"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.output.find("cannot open /nonexistent/stations.csv"), std::string::npos) << missing.output;
}

TEST(SimTool, PrintsTheDeviceAndEndsOnSignals) {
  for (int signal : {SIGTERM, SIGINT}) {
    SimProcess sim;
    ASSERT_EQ(sim.device().rfind("/dev/pts/", 0), 0u) << "device line '" << sim.device() << "' " << sim.errors();
    struct stat info {};
    EXPECT_EQ(stat(sim.device().c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    EXPECT_EQ(sim.stop(signal), 0) << strsignal(signal);
  }
}

TEST(SimTool, ExampleByteStringsWrittenToTheDevice) {
  SimProcess sim;
  ASSERT_FALSE(sim.device().empty()) << sim.errors();
  struct Example {
    std::vector<int> bytes;
    std::string modeLine;
  };
  const Example examples[] = {
      {{0x57, 0x00, 0x0D, 0x4E, 0x55, 0xEF, 0x1A, 0xA8, 0x77, 0x70, 0x0D, 0x4D, 0x30, 0x0D},
       "M AM freq=10000.000 kHz"},
      {{0x57, 0x0D, 0x0D, 0x4E, 0x55, 0xF0, 0x04, 0xCC, 0x65, 0x0A, 0x0D, 0x4D, 0x31, 0x0D},
       "M USB freq=10000.000 kHz"},
      {{0x57, 0x0E, 0x0D, 0x4E, 0x51, 0x3F, 0x05, 0x54, 0x65, 0x4F, 0x0D, 0x4D, 0x32, 0x0D},
       "M LSB freq=7000.500 kHz"},
  };
  std::size_t expectedLines = 0;
  for (const Example& e : examples) {
    std::string bytes;
    for (int b : e.bytes) bytes.push_back(static_cast<char>(b));
    const int fd = open(sim.device().c_str(), O_WRONLY | O_NOCTTY);
    ASSERT_GE(fd, 0) << std::strerror(errno);
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(fd);
    expectedLines += 3;
    const std::vector<std::string> lines = sim.waitForLines(expectedLines);
    ASSERT_EQ(lines.size(), expectedLines);
    EXPECT_EQ(lines.back(), e.modeLine);
  }
}

class SimRigctl : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::optional<std::string> found = FindProgram("rigctl");
    if (!found) GTEST_SKIP() << "rigctl (hamlib) is not installed";
    rigctl_ = *found;
  }

  // Runs one case; false when it had to be left out for a zero byte.
  bool runCase(SimProcess& sim, const RigCase& c) {
    std::vector<std::string> commands;
    const std::optional<std::vector<std::string>> expected = ExpectedLines(c, commands);
    if (!expected) return false;
    const std::size_t before = sim.logLines().size();
    std::vector<std::string> args{rigctl_, "-m", "16003", "-r", sim.device()};
    args.insert(args.end(), commands.begin(), commands.end());
    const RunResult run = RunProgram(args);
    EXPECT_EQ(run.exitCode, 0) << c << "\n" << run.output;
    const std::vector<std::string> lines = sim.waitForLines(before + expected->size() + 1);
    EXPECT_EQ(lines.size(), before + expected->size() + 1) << c;
    if (lines.size() != before + expected->size() + 1) return true;
    const std::vector<std::string> got(lines.begin() + static_cast<long>(before), lines.end() - 1);
    // The mode line carries the frequency; the N lines before the last are
    // compared by their words (their frequency reads them in the mode then).
    for (std::size_t i = 0; i < expected->size(); ++i) {
      const std::string& want = (*expected)[i];
      const bool wordsOnly = want.rfind("N ", 0) == 0 && want.find(" freq=") == std::string::npos;
      EXPECT_EQ(wordsOnly ? got[i].substr(0, got[i].find(" freq=")) : got[i], want) << c << " line " << i;
    }
    // The strength rigctl printed is the one the simulator sent.
    const std::string& query = lines.back();
    EXPECT_EQ(query.rfind("X strength=", 0), 0u) << query;
    const std::string strength = query.substr(std::strlen("X strength="));
    EXPECT_NE(run.output.find(strength + "\n"), std::string::npos) << c << " rigctl said: " << run.output;
    return true;
  }

  std::string rigctl_;
};

TEST_F(SimRigctl, SetsTheFrequencyToTheHertzInEveryMode) {
  SimProcess sim;
  ASSERT_FALSE(sim.device().empty()) << sim.errors();
  const RigCase cases[] = {
      {"AM", 5100, 0, 9580000},     {"AM", 8000, 0, 15400000},  {"AM", 4200, 150, 11735000},
      {"USB", 2400, 100, 14230000}, {"USB", 3000, 250, 21310000}, {"USB", 2550, -500, 5000123},
      {"LSB", 2400, 100, 7000500},  {"LSB", 1800, -200, 3755000}, {"LSB", 1500, 1000, 25999999},
      {"CW", 300, 0, 9575000},      {"CW", 300, 0, 14060001},
  };
  int ran = 0;
  for (const RigCase& c : cases) ran += runCase(sim, c) ? 1 : 0;
  EXPECT_GE(ran, 9) << "too many cases left out for zero bytes";

  // More frequencies, widths and shifts from a fixed seed.
  const int widths[] = {8000, 5100, 4200, 3000, 2550, 2400, 1800, 1500};
  const char* modes[] = {"AM", "USB", "LSB"};
  std::mt19937 rng(16003);
  int randomRan = 0;
  for (int i = 0; i < 40 && randomRan < 15; ++i) {
    RigCase c{modes[rng() % 3], widths[rng() % 8], static_cast<int>(rng() % 401) * 10 - 2000,
              100000 + static_cast<long long>(rng() % 29900000)};
    randomRan += runCase(sim, c) ? 1 : 0;
    if (HasFailure()) break;
  }
  EXPECT_EQ(randomRan, 15);
  EXPECT_EQ(sim.stop(SIGTERM), 0) << sim.errors();
}

TEST_F(SimRigctl, AudioLevelArrivesAsTheCombinedVolume) {
  SimProcess sim;
  ASSERT_FALSE(sim.device().empty()) << sim.errors();
  const RunResult run = RunProgram({rigctl_, "-m", "16003", "-r", sim.device(), "L", "AF", "0.5", "L", "AF", "0"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  const std::vector<std::string> lines = sim.waitForLines(2);
  EXPECT_EQ(lines, (std::vector<std::string>{"C level=31", "C level=63 mute"}));
}

TEST(SimTool, TakesItsStationsFromTheSchedule) {
  const std::string schedule = std::string(__FILE__).substr(0, std::string(__FILE__).rfind("/tests/")) +
                               "/../shared/data/eibi-sked-b25.csv";
  std::ifstream in(schedule, std::ios::binary);
  if (!in) GTEST_SKIP() << "no schedule at " << schedule;
  StrengthModel model;
  model.setStations(StrengthModel::ParseStationList(in));
  ASSERT_GT(model.stations().size(), 1000u);
  SimProcess sim({"--stations", schedule});
  ASSERT_FALSE(sim.device().empty()) << sim.errors();
  // The tool reports its stations on standard error just after the device.
  const std::string report = "rx320-sim: " + std::to_string(model.stations().size()) + " stations";
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (sim.errors().find(report) == std::string::npos && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_NE(sim.errors().find(report), std::string::npos) << sim.errors();
}

}  // namespace
}  // namespace ondaris
