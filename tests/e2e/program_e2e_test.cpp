// The real ondaris executable, started as a listener would start it, talking
// to the simulated receiver (rx320-sim) over a pseudo-terminal and to the
// companion tool (ondaris-remote) over its sockets. Each test has its own
// data folder and its own runtime folder, so it never meets a running
// program of the listener's.

#include <QProcess>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "memories/Scratchpad.h"
#include "radio/RadioState.h"
#include "radio/StateFiles.h"
#include "timekeeping/ClockRadioFile.h"
#include "scan/LimitRanges.h"
#include "SimulatorProcess.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const std::string kBinDir = ONDARIS_BIN_DIR;
const std::string kOndaris = kBinDir + "/ondaris";
const std::string kRemote = kBinDir + "/ondaris-remote";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return done();
}

class TempFolder {
 public:
  explicit TempFolder(const char* what) {
    std::string pattern = (fs::temp_directory_path() / (std::string("ondaris-e2e-") + what + "-XXXXXX")).string();
    path_ = ::mkdtemp(pattern.data());
    ::chmod(path_.c_str(), 0700);
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A child process with its own environment additions, its output (standard
// output and errors) going to a file.
class Child {
 public:
  ~Child() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(2000);
    }
  }
  bool start(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
             const std::string& outputFile) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : env) environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(QString::fromStdString(outputFile));
    QStringList arguments;
    for (std::size_t i = 1; i < args.size(); ++i) arguments << QString::fromStdString(args[i]);
    process_.start(QString::fromStdString(args[0]), arguments);
    return process_.waitForStarted(5000);
  }
  void signal(int number) {
    if (process_.processId() > 0) ::kill(static_cast<pid_t>(process_.processId()), number);
  }
  bool running() { return !process_.waitForFinished(0) && process_.state() != QProcess::NotRunning; }
  // The exit code once the child has ended within `timeoutMs`; -1 if it was
  // killed by a signal, nothing if it is still running.
  std::optional<int> waitExit(int timeoutMs) {
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(timeoutMs)) return std::nullopt;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }

 private:
  QProcess process_;
};

// rx320-sim at full speed, logging every decoded command.
class SimulatedReceiver : public SimulatorProcess {
 public:
  explicit SimulatedReceiver(const TempFolder&) {
    std::string error;
    if (!start(false, error)) ADD_FAILURE() << error;
  }
  // The decoded commands without the signal-strength queries.
  std::vector<std::string> commands() const {
    std::vector<std::string> out;
    for (const auto& line : logLines())
      if (line.rfind("X ", 0) != 0) out.push_back(line);
    return out;
  }
  int queries() const { return static_cast<int>(logLines().size() - commands().size()); }
  bool hasCommand(const std::string& prefix) const {
    for (const auto& line : logLines())
      if (line.rfind(prefix, 0) == 0) return true;
    return false;
  }
  std::vector<std::string> log() const { return logLines(); }
};

// What a test runs the program with.
struct ProgramEnvironment {
  TempFolder runtime{"run"};
  std::map<std::string, std::string> env() const {
    return {{"QT_QPA_PLATFORM", "offscreen"},
            {"ONDARIS_NONINTERACTIVE", "1"},
            {"XDG_RUNTIME_DIR", runtime.path()}};
  }
};

class Ondaris {
 public:
  Ondaris(const ProgramEnvironment& environment, const std::string& dataDir, const std::string& port,
          const std::string& outputFile)
      : output_(outputFile) {
    std::vector<std::string> args{kOndaris, "--data-dir", dataDir};
    if (!port.empty()) {
      args.push_back("--port");
      args.push_back(port);
    }
    started_ = child_.start(args, environment.env(), outputFile);
  }
  bool started() const { return started_; }
  Child& process() { return child_; }
  std::string output() const { return ReadFile(output_); }

 private:
  std::string output_;
  Child child_;
  bool started_ = false;
};

struct Finished {
  int exitCode = -1;
  std::string output;
};

Finished RunAndCapture(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                  const TempFolder& folder, int timeoutMs = 15000) {
  Finished run;
  const std::string out = folder / "capture.txt";
  Child child;
  if (!child.start(args, env, out)) return run;
  run.exitCode = child.waitExit(timeoutMs).value_or(-2);
  run.output = ReadFile(out);
  return run;
}

void WriteStateFiles(const std::string& dataDir, const std::vector<std::string>& tuningLines,
                     const RadioState& state) {
  fs::create_directories(dataDir + "/SysFiles");
  std::string bytes;
  for (const auto& line : tuningLines) bytes += line + "\r\n";
  std::ofstream(dataDir + "/SysFiles/Tuning.dat", std::ios::binary) << bytes;
  WriteOndarisDat(dataDir + "/", state);
  WriteClockRadioDat(dataDir + "/", ClockRadioSettings{});
}

// Limits1.dat and Scratchpad.dat as a previous run leaves them.
void WriteMemoryFiles(const std::string& dataDir) {
  fs::create_directories(dataDir + "/SysFiles");
  LimitRangeList ranges;
  ranges.fill(DefaultLimitRange());
  WriteLimitRangesFile(dataDir + "/SysFiles/Limits1.dat", ranges);
  WriteScratchpadFile(dataDir + "/SysFiles/Scratchpad.dat", Scratchpad{});
}

int CountMessages(const std::string& output) {
  int count = 0;
  for (const auto& line : Lines(output)) count += line.rfind("ondaris: message: ", 0) == 0;
  return count;
}

// ---------------------------------------------------------------------------

TEST(ProgramCommandLine, HelpAndVersionEndAtOnceAnythingElsePrintsUsageWithCode2) {
  TempFolder folder("cmd");
  const Finished help = RunAndCapture({kOndaris, "--help"}, {}, folder);
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.output.find("--data-dir DIR"), std::string::npos) << help.output;
  const Finished version = RunAndCapture({kOndaris, "--version"}, {}, folder);
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.output.rfind("ondaris ", 0), 0u) << version.output;
  for (const char* arg : {"--bogus", "extra", "--port", "--data-dir"}) {
    const Finished run = RunAndCapture({kOndaris, arg}, {}, folder);
    EXPECT_EQ(run.exitCode, 2) << arg;
    EXPECT_NE(run.output.find("Usage: ondaris"), std::string::npos) << arg << ": " << run.output;
  }
}

TEST(ProgramStartup, StateFilesPresentSendVolumesTuningThenPollsAndSigtermSaves) {
  TempFolder data("data");
  ProgramEnvironment environment;
  SimulatedReceiver sim(data);
  ASSERT_FALSE(sim.device().empty());
  RadioState stored;
  stored.SpkrVolume = 40;
  stored.LineVolume = 20;
  stored.ComPortName = "COM9";  // --port wins for this run
  WriteStateFiles(data.path(), {"A", "10000.000", "AM", "4", "1", "Medium", "0", "9575.000", "USB", "5", "13", "Fast", "0"},
                  stored);
  WriteMemoryFiles(data.path());

  Ondaris program(environment, data.path(), sim.device(), data / "out.txt");
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitUntil([&] { return sim.queries() >= 3; }, 15000)) << program.output();
  // Volumes (63 minus the level), then the tuning; the first query after it.
  const std::vector<std::string> log = sim.log();
  ASSERT_GE(log.size(), 7u) << program.output();
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 3),
            (std::vector<std::string>{"V level=23", "A level=43", "W code=13 bw=2550"}));
  EXPECT_EQ(log[3].rfind("N ", 0), 0u) << log[3];
  EXPECT_EQ(log[4], "M USB freq=9575.000 kHz");
  EXPECT_EQ(log[5], "G 3");
  EXPECT_EQ(log[6].rfind("X ", 0), 0u) << log[6];

  // About five queries a second.
  const int before = sim.queries();
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const int polled = sim.queries() - before;
  EXPECT_GE(polled, 6);
  EXPECT_LE(polled, 12);
  EXPECT_EQ(CountMessages(program.output()), 0) << program.output();

  // SIGTERM runs the exit sequence: the mute goes out, the files are saved.
  fs::remove(data / "SysFiles/Tuning.dat");
  program.process().signal(SIGTERM);
  EXPECT_EQ(program.process().waitExit(15000).value_or(-2), 0);
  EXPECT_TRUE(WaitUntil([&] { return sim.hasCommand("C mute"); }, 3000));
  const std::string tuning = ReadFile(data / "SysFiles/Tuning.dat");
  EXPECT_NE(tuning.find("\r\n9575.000\r\nUSB\r\n"), std::string::npos) << tuning;
  RadioState reread;
  ASSERT_EQ(ReadFile(data / "SysFiles/Ondaris.dat").size(), OndarisDatSize);
  DecodeOndarisDat(ReadFile(data / "SysFiles/Ondaris.dat"), reread);
  EXPECT_EQ(reread.ComPortName, "COM9");
  EXPECT_EQ(reread.SpkrVolume, 40);
}

TEST(ProgramStartup, FirstStartInAnEmptyFolderTunes15000AmASecondStartOnlyWakesIt) {
  TempFolder folder("first");
  const std::string dataDir = folder / "new-data";  // does not exist yet
  ProgramEnvironment environment;
  SimulatedReceiver sim(folder);
  ASSERT_FALSE(sim.device().empty());

  Ondaris program(environment, dataDir, sim.device(), folder / "out.txt");
  ASSERT_TRUE(WaitUntil([&] { return sim.queries() >= 1; }, 15000)) << program.output();
  const std::vector<std::string> commands = sim.commands();
  ASSERT_GE(commands.size(), 6u);
  EXPECT_EQ(commands[0], "V level=33");
  EXPECT_EQ(commands[1], "A level=33");
  EXPECT_EQ(commands[2], "W code=0 bw=6000");
  EXPECT_NE(commands[3].find("freq=15000.000 kHz"), std::string::npos) << commands[3];
  EXPECT_EQ(commands[4], "M AM freq=15000.000 kHz");
  EXPECT_EQ(commands[5], "G 2");
  const std::string output = program.output();
  for (const char* missing : {"Could not find SysFiles\\Limits1.dat", "Could not find file SysFiles\\Scratchpad.dat",
                              "Could not find file SysFiles\\Tuning.dat", "Could not find file SysFiles\\Ondaris.dat"})
    EXPECT_NE(output.find(missing), std::string::npos) << missing << "\n" << output;
  for (const char* dir : {"SysFiles", "WaveFiles", "LogFiles", "LogFiles/ReportSetups", "LogHelp", "Help", "DBHelp",
                          "FreqFiles", "Backup", "Export"})
    EXPECT_TRUE(fs::is_directory(dataDir + "/" + dir)) << dir;

  // A second start wakes the first and ends without creating anything.
  const std::string otherDir = folder / "second-data";
  const Finished second =
      RunAndCapture({kOndaris, "--data-dir", otherDir, "--port", sim.device()}, environment.env(), folder);
  EXPECT_EQ(second.exitCode, 0) << second.output;
  EXPECT_FALSE(fs::exists(otherDir));
  EXPECT_TRUE(program.process().running());

  program.process().signal(SIGTERM);
  EXPECT_EQ(program.process().waitExit(15000).value_or(-2), 0);
  EXPECT_TRUE(fs::exists(dataDir + "/SysFiles/Tuning.dat"));
  EXPECT_EQ(ReadFile(dataDir + "/SysFiles/Ondaris.dat").size(), OndarisDatSize);
  EXPECT_EQ(ReadFile(dataDir + "/SysFiles/Limits1.dat").size(), LimitsFileSize);
  EXPECT_EQ(ReadFile(dataDir + "/SysFiles/Scratchpad.dat").size(), ScratchpadFileSize);
  EXPECT_EQ(ReadFile(dataDir + "/SysFiles/OndarisGrid.dat").size(), 36u);
  EXPECT_EQ(ReadFile(dataDir + "/SysFiles/Reopen.dat"), "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  EXPECT_TRUE(WaitUntil([&] { return sim.hasCommand("C mute"); }, 3000));
}

TEST(ProgramStartup, TheLastStationListIsLoadedAndTheCompanionTunesLocatesAndAddsStations) {
  TempFolder data("list");
  ProgramEnvironment environment;
  SimulatedReceiver sim(data);
  ASSERT_FALSE(sim.device().empty());
  RadioState stored;
  stored.FreqFileDir = "FreqFiles/";
  stored.LastFreqFile = "Evening.320";
  WriteStateFiles(data.path(), {"A", "10000.000", "AM", "4", "1", "Medium", "0", "15000.000", "AM", "4", "1", "Medium", "0"},
                  stored);
  WriteMemoryFiles(data.path());
  fs::create_directories(data / "FreqFiles");
  const std::string list =
      "\"Radio Alba\",9.580000,AM,6000,2,5000,0,\"Mountains\",\"English\",\"0000\",\"2400\",\"Notes\",0,0\r\n"
      "\"Coast\",14.230500,USB,2550,2,100,0,\"Seaside\",\"English\",\"0800\",\"1200\",\"Notes\",0,0\r\n";
  std::ofstream(data / "FreqFiles/Evening.320", std::ios::binary) << list;

  Ondaris program(environment, data.path(), sim.device(), data / "out.txt");
  // The program listens once start-up is complete.
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(environment.runtime / "Ondaris"); }, 15000)) << program.output();

  // "+" tunes and finds the station in the list; "*" adds one and is
  // answered OK, a malformed "*" word NO; a mode word changes the mode.
  const Finished locate = RunAndCapture({kRemote, "--wait", "300", "?", "+14230.5"}, environment.env(), data);
  EXPECT_EQ(locate.exitCode, 0) << locate.output;
  EXPECT_TRUE(WaitUntil([&] { return sim.hasCommand("M AM freq=14230.500 kHz"); }, 5000)) << locate.output;
  const Finished remote = RunAndCapture(
      {kRemote, "--wait", "800", "?", "*7250*Evening Radio*Lakeside*French*1800*2000*", "*7250*broken*", "LSB"},
      environment.env(), data);
  EXPECT_EQ(remote.exitCode, 0) << remote.output;
  std::vector<std::string> okOrNo;
  for (const std::string& line : Lines(remote.output))
    if (line == "OK" || line == "NO") okOrNo.push_back(line);
  EXPECT_EQ(okOrNo, (std::vector<std::string>{"OK", "NO"})) << remote.output;
  EXPECT_TRUE(WaitUntil([&] { return sim.hasCommand("M AM freq=7250.000 kHz"); }, 5000)) << remote.output;
  EXPECT_TRUE(WaitUntil([&] { return sim.hasCommand("M LSB freq=7250.000 kHz"); }, 5000)) << remote.output;
  EXPECT_NE(remote.output.find("*7250.000*LSB*"), std::string::npos) << remote.output;

  // Exit asks whether to save the changed list; a run nobody watches answers
  // No, so the file stays as it was. The tuning, the grid widths and the
  // Reopen list, with the list reloaded at start-up on top, are written.
  program.process().signal(SIGTERM);
  EXPECT_EQ(program.process().waitExit(15000).value_or(-2), 0);
  const std::string output = program.output();
  EXPECT_NE(output.find("question (answered No): Your frequency file has been changed.  Do you want to save it?"),
            std::string::npos)
      << output;
  EXPECT_EQ(CountMessages(output), 0) << output;  // every file was there
  EXPECT_EQ(ReadFile(data / "FreqFiles/Evening.320"), list);
  EXPECT_NE(ReadFile(data / "SysFiles/Tuning.dat").find("\r\n7250.000\r\nLSB\r\n"), std::string::npos);
  EXPECT_EQ(ReadFile(data / "SysFiles/OndarisGrid.dat").size(), 36u);
  const std::vector<std::string> reopen = Lines(ReadFile(data / "SysFiles/Reopen.dat"));
  ASSERT_EQ(reopen.size(), 10u);
  EXPECT_EQ(reopen[0], data / "FreqFiles/Evening.320\r");
  for (std::size_t i = 1; i < reopen.size(); ++i) EXPECT_EQ(reopen[i], "\r") << i;
}

TEST(ProgramStartup, PortSimRunsTheBuiltInReceiver) {
  TempFolder data("sim");
  ProgramEnvironment environment;
  auto env = environment.env();
  env["ONDARIS_SIM_LOG"] = data / "builtin.log";
  Child program;
  ASSERT_TRUE(program.start({kOndaris, "--data-dir", data.path(), "--port", "SIM"}, env, data / "out.txt"));
  auto log = [&] { return Lines(ReadFile(data / "builtin.log")); };
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (const auto& line : log())
          if (line.rfind("X ", 0) == 0) return true;
        return false;
      },
      15000))
      << ReadFile(data / "out.txt");
  const std::vector<std::string> lines = log();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[2], "W code=0 bw=6000");
  EXPECT_EQ(lines[4], "M AM freq=15000.000 kHz");
  program.signal(SIGINT);
  EXPECT_EQ(program.waitExit(15000).value_or(-2), 0);
  EXPECT_EQ(Lines(ReadFile(data / "builtin.log")).back(), "C mute");
}

TEST(ProgramStartup, PortThatCannotBeOpenedIsReportedAndTheProgramRuns) {
  TempFolder data("noport");
  ProgramEnvironment environment;
  Ondaris program(environment, data.path(), data / "no-such-device", data / "out.txt");
  ASSERT_TRUE(WaitUntil([&] { return program.output().find("Unable to open com port") != std::string::npos; },
                        15000))
      << program.output();
  // Start-up went on: the companion link is served and the exit saves.
  EXPECT_TRUE(WaitUntil([&] { return fs::exists(environment.runtime / "Ondaris"); }, 5000));
  program.process().signal(SIGHUP);
  EXPECT_EQ(program.process().waitExit(15000).value_or(-2), 0);
  EXPECT_TRUE(fs::exists(data / "SysFiles/Tuning.dat"));
  EXPECT_TRUE(fs::exists(data / "SysFiles/Ondaris.dat"));
}

}  // namespace
}  // namespace ondaris
