// The real ondaris executable, started as a listener would start it, talking
// to the simulated receiver (rx320-sim over a pseudo-terminal, or the one
// built in), to the companion tool (ondaris-remote) over its sockets and to
// Hamlib's rigctl over the rigctl-compatible server; a scheduled broadcast
// on a clock run ten times as fast through the program's test hooks.

#include <QStandardPaths>
#include <QTcpServer>

#include <cstdio>
#include <filesystem>

#include "E2eSupport.h"
#include "memories/Scratchpad.h"
#include "radio/RadioState.h"
#include "radio/Rx320Protocol.h"
#include "radio/StateFiles.h"
#include "scan/LimitRanges.h"
#include "support/TempFolder.h"
#include "timekeeping/ClockRadioFile.h"
#include "timekeeping/ScheduleFiles.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;

const QString kOndaris = kBinDir + "/ondaris";
const QString kRemote = kBinDir + "/ondaris-remote";

std::string EmptyLines(int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) lines += "\r\n";
  return lines;
}

// The last decoded command that starts with `prefix`.
std::string Last(const std::vector<std::string>& commands, const std::string& prefix) {
  for (auto line = commands.rbegin(); line != commands.rend(); ++line)
    if (StartsWith(*line, prefix)) return *line;
  return {};
}

class ProgramE2E : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(runtime.isValid()); }
  Environment env() const { return ProgramEnvironment(runtime.path()); }
  std::string data(const std::string& name) const { return folder.file(name); }
  std::string root() const { return folder.path().string(); }
  bool startSim() {
    std::string error;
    EXPECT_TRUE(sim.start(false, error)) << error;
    return !sim.device().empty();
  }
  bool start(const std::string& dataDir, const std::string& port, Environment extra = {}, QStringList args = {}) {
    Environment all = env();
    all.merge(extra);
    args << "--data-dir" << QString::fromStdString(dataDir) << "--port" << QString::fromStdString(port);
    return program.start(kOndaris, args, all, QString::fromStdString(data("out.txt")));
  }
  bool listening() const { return fs::exists(runtime.filePath("Ondaris").toStdString()); }
  void stopWith(int signal) {
    program.signal(signal);
    EXPECT_EQ(program.waitExit(15000).value_or(-2), 0) << program.output();
  }
  bool simHears(const std::string& line) {
    return RunUntil([&] { return sim.linesStartingWith(line) > 0; }, 5000);
  }

  TempFolder folder{true};  // with SysFiles
  QTemporaryDir runtime;
  SimulatorProcess sim;
  Child program;
};

// The three tools' command lines: help and version end at once, usage
// errors with code 2; ondaris-remote without an Ondaris to talk to.
TEST(ToolCommandLines, HelpAndVersionEndAtOnceUsageErrorsWithCode2) {
  QTemporaryDir runtime;
  const QString sim = kBinDir + "/rx320-sim";
  const struct {
    QString program;
    QStringList args;
    int exitCode;
    std::string says;
  } runs[] = {
      {kOndaris, {"--help"}, 0, "--data-dir DIR"},        {kOndaris, {"--version"}, 0, "ondaris "},
      {kOndaris, {"--bogus"}, 2, "Usage: ondaris"},       {kOndaris, {"extra"}, 2, "Usage: ondaris"},
      {kOndaris, {"--port"}, 2, "Usage: ondaris"},        {kOndaris, {"--data-dir"}, 2, "Usage: ondaris"},
      {kRemote, {"--runtime-dir", runtime.path(), "--wait", "0", "?"}, 1, "Ondaris is not running"},
      {kRemote, {"--runtime-dir", runtime.path()}, 2, "usage:"},
      {kRemote, {"--wait", "soon", "?"}, 2, "usage:"},    {kRemote, {"--bogus", "?"}, 2, "usage:"},
      {sim, {"--help"}, 0, "usage: rx320-sim [--no-pacing] [--log FILE] [--stations FILE] [--seed N]"},
      {sim, {"--bogus"}, 2, "usage:"},  {sim, {"--seed"}, 2, "usage:"},  {sim, {"--seed=x"}, 2, "usage:"},
      {sim, {"--log"}, 2, "usage:"},
      {sim, {"--stations", "/nonexistent/stations.csv"}, 1, "cannot open /nonexistent/stations.csv"},
  };
  for (const auto& expected : runs) {
    SCOPED_TRACE((expected.program + " " + expected.args.join(' ')).toStdString());
    const Finished run = RunToEnd(expected.program, expected.args);
    EXPECT_EQ(run.exitCode, expected.exitCode);
    EXPECT_NE(run.output.find(expected.says), std::string::npos) << run.output;
  }
}

// Tuning.dat, Ondaris.dat, ClockRadio.dat, Limits1.dat, Scratchpad.dat and
// the last station list as a previous run leaves them.
TEST_F(ProgramE2E, StoredStateTunesAndPollsTheCompanionTunesAndAddsStationsSigtermSaves) {
  ASSERT_TRUE(startSim());
  fs::create_directories(folder.path() / "FreqFiles");
  WriteFileBytes(folder.sysFile("Tuning.dat"),
                 "A\r\n10000.000\r\nAM\r\n4\r\n1\r\nMedium\r\n0\r\n9575.000\r\nUSB\r\n5\r\n13\r\nFast\r\n0\r\n");
  RadioState stored;
  stored.SpkrVolume = 40;
  stored.LineVolume = 20;
  stored.FreqFileDir = "FreqFiles/";
  stored.LastFreqFile = "Evening.320";
  WriteOndarisDat(folder.dir(), stored);
  WriteClockRadioDat(folder.dir(), ClockRadioSettings{});
  LimitRangeList ranges;
  ranges.fill(DefaultLimitRange());
  WriteLimitRangesFile(folder.sysFile("Limits1.dat"), ranges);
  WriteScratchpadFile(folder.sysFile("Scratchpad.dat"), Scratchpad{});
  const std::string list =
      "\"Radio Alba\",9.580000,AM,6000,2,5000,0,\"Mountains\",\"English\",\"0000\",\"2400\",\"Notes\",0,0\r\n"
      "\"Coast\",14.230500,USB,2550,2,100,0,\"Seaside\",\"English\",\"0800\",\"1200\",\"Notes\",0,0\r\n";
  WriteFileBytes(data("FreqFiles/Evening.320"), list);
  ASSERT_TRUE(start(root(), sim.device()));
  ASSERT_TRUE(RunUntil([&] { return sim.linesStartingWith("X ") >= 3; }, 15000)) << program.output();
  // Volumes (63 minus the level), then the tuning; the first query after it.
  EXPECT_EQ(Outline(sim.logLines(), 7), (std::vector<std::string>{"V level=23", "A level=43", "W code=13 bw=2550", "N",
                                                                   "M USB freq=9575.000 kHz", "G 3", "X"}))
      << program.output();
  // About five queries a second.
  const int before = sim.linesStartingWith("X ");
  RunFor(2000);
  const int polled = sim.linesStartingWith("X ") - before;
  EXPECT_GE(polled, 6);
  EXPECT_LE(polled, 12);

  // The program listens once start-up is complete. "+" tunes and finds the
  // station in the list; "*" adds one and is answered OK, a malformed "*"
  // word NO; a mode word changes the mode.
  ASSERT_TRUE(RunUntil([&] { return listening(); }, 15000)) << program.output();
  const Finished locate = RunToEnd(kRemote, {"--wait", "300", "?", "+14230.5"}, env());
  EXPECT_EQ(locate.exitCode, 0) << locate.output;
  EXPECT_TRUE(simHears("M USB freq=14230.500 kHz")) << locate.output;
  const Finished remote = RunToEnd(
      kRemote, {"--wait", "800", "?", "*7250*Evening Radio*Lakeside*French*1800*2000*", "*7250*broken*", "LSB"}, env());
  EXPECT_EQ(remote.exitCode, 0) << remote.output;
  std::vector<std::string> okOrNo;
  for (const std::string& line : SplitLines(remote.output))
    if (line == "OK" || line == "NO") okOrNo.push_back(line);
  EXPECT_EQ(okOrNo, (std::vector<std::string>{"OK", "NO"})) << remote.output;
  // The AM tuning of the added station may be replaced on the line by the LSB one.
  EXPECT_TRUE(simHears("M LSB freq=7250.000 kHz")) << remote.output;
  EXPECT_NE(remote.output.find("*7250.000*LSB*"), std::string::npos) << remote.output;
  EXPECT_FALSE(fs::exists(runtime.filePath("OndarisDB").toStdString()));  // the tool's, gone with it

  // SIGTERM runs the exit sequence: the mute goes out; the question whether
  // to save the changed list is answered No by a run nobody watches, so the
  // list stays as it was; the state, the grid widths and the Reopen list,
  // with the list reloaded at start-up on top, are written.
  stopWith(SIGTERM);
  EXPECT_TRUE(simHears("C mute"));
  const std::string output = program.output();
  EXPECT_NE(output.find("question (answered No): Your frequency file has been changed.  Do you want to save it?"),
            std::string::npos)
      << output;
  EXPECT_EQ(output.find("ondaris: message: "), std::string::npos) << output;  // every file was there
  EXPECT_EQ(ReadFileBytes(data("FreqFiles/Evening.320")), list);
  EXPECT_NE(ReadFileBytes(folder.sysFile("Tuning.dat")).find("\r\n7250.000\r\nLSB\r\n"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(folder.sysFile("Ondaris.dat")).size(), OndarisDatSize);
  EXPECT_EQ(ReadFileBytes(folder.sysFile("OndarisGrid.dat")).size(), 36u);
  EXPECT_EQ(ReadFileBytes(folder.sysFile("Reopen.dat")), root() + "/FreqFiles/Evening.320\r\n" + EmptyLines(9));
}

// The built-in receiver, and a rigctl port another program holds.
TEST_F(ProgramE2E, FirstStartInAnEmptyFolderTunesTheBuiltInReceiverASecondStartOnlyWakesIt) {
  const std::string dataDir = data("new-data");  // does not exist yet
  const std::string simLog = data("builtin.log");
  QTcpServer squatter;
  ASSERT_TRUE(squatter.listen(QHostAddress::LocalHost, 0));
  const QString taken = QString::number(squatter.serverPort());
  ASSERT_TRUE(start(dataDir, "SIM", {{"ONDARIS_SIM_LOG", QString::fromStdString(simLog)}}, {"--rigctl-port", taken}));
  ASSERT_TRUE(RunUntil([&] { return ReadFileBytes(simLog).find("\nX ") != std::string::npos; }, 15000))
      << program.output();
  const std::vector<std::string> commands = WithoutQueries(SplitLines(ReadFileBytes(simLog)));
  EXPECT_EQ(Outline(commands, 6), StartupCommands());
  EXPECT_NE(commands.at(3).find("freq=15000.000 kHz"), std::string::npos) << commands[3];
  const std::string refusal = "The rigctl server cannot listen on 127.0.0.1 port " + taken.toStdString();
  EXPECT_TRUE(RunUntil([&] { return program.output().find(refusal) != std::string::npos; }, 15000));
  const std::string output = program.output();
  for (const char* missing : {"Could not find SysFiles\\Limits1.dat", "Could not find file SysFiles\\Scratchpad.dat",
                              "Could not find file SysFiles\\Tuning.dat", "Could not find file SysFiles\\Ondaris.dat"})
    EXPECT_NE(output.find(missing), std::string::npos) << missing << "\n" << output;
  for (const char* dir : {"SysFiles", "WaveFiles", "LogFiles", "LogFiles/ReportSetups", "LogHelp", "Help", "DBHelp",
                          "FreqFiles", "Backup", "Export"})
    EXPECT_TRUE(fs::is_directory(dataDir + "/" + dir)) << dir;

  // A second start wakes the first and ends without creating anything.
  const std::string otherDir = data("second-data");
  const Finished second = RunToEnd(kOndaris, {"--data-dir", QString::fromStdString(otherDir), "--port", "SIM"}, env());
  EXPECT_EQ(second.exitCode, 0) << second.output;
  EXPECT_FALSE(fs::exists(otherDir));
  EXPECT_TRUE(program.running());

  stopWith(SIGHUP);
  EXPECT_EQ(SplitLines(ReadFileBytes(simLog)).back(), "C mute");
  const std::string sys = dataDir + "/SysFiles/";
  EXPECT_TRUE(fs::exists(sys + "Tuning.dat"));
  EXPECT_EQ(ReadFileBytes(sys + "Ondaris.dat").size(), OndarisDatSize);
  EXPECT_EQ(ReadFileBytes(sys + "Limits1.dat").size(), LimitsFileSize);
  EXPECT_EQ(ReadFileBytes(sys + "Scratchpad.dat").size(), ScratchpadFileSize);
  EXPECT_EQ(ReadFileBytes(sys + "OndarisGrid.dat").size(), 36u);
  EXPECT_EQ(ReadFileBytes(sys + "Reopen.dat"), EmptyLines(10));
}

// Hamlib's own client (rigctl -m 2) tunes the program; the files keep it.
TEST_F(ProgramE2E, HamlibsClientTunesTheProgramAndTheFilesKeepIt) {
  if (QStandardPaths::findExecutable("rigctl").isEmpty()) GTEST_SKIP() << "rigctl (hamlib) is not installed";
  ASSERT_TRUE(startSim());
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  const QString port = QString::number(probe.serverPort());
  probe.close();
  ASSERT_TRUE(start(data("data"), sim.device(), {}, {"--rigctl-port", port}));
  auto rigctl = [&](const QStringList& commands) {
    return RunToEnd(QStringLiteral("rigctl"), QStringList{"-m", "2", "-r", "127.0.0.1:" + port} + commands, {}, 20000);
  };
  // Start-up ends with the first tuning's AGC command.
  ASSERT_TRUE(RunUntil([&] { return sim.commands().size() >= 6; }, 20000)) << program.output();
  Finished first;
  ASSERT_TRUE(RunUntil([&] { return (first = rigctl({"f"})).exitCode == 0; }, 20000)) << program.output();
  EXPECT_EQ(SplitLines(first.output), std::vector<std::string>{"15000000"});

  const Finished run =
      rigctl({"F", "9580000", "M", "USB", "2400", "f", "m", "l", "STRENGTH", "\\dump_state", "\\chk_vfo"});
  EXPECT_EQ(run.exitCode, 0);
  const std::vector<std::string> out = SplitLines(run.output);
  ASSERT_GE(out.size(), 4u) << program.output();
  EXPECT_EQ(std::vector<std::string>(out.begin(), out.begin() + 3),
            (std::vector<std::string>{"9580000", "USB", "2400"}));
  const int strength = std::stoi(out[3]);
  EXPECT_GE(strength, -54);
  EXPECT_LE(strength, 60);
  // The receiver ends on the 2400 Hz filter and USB at 9580 kHz (that these
  // are the front panel's own bytes is checked on a fake line).
  EXPECT_TRUE(RunUntil([&] { return Last(sim.commands(), "M ") == "M USB freq=9580.000 kHz"; }, 10000))
      << Last(sim.commands(), "M ");
  EXPECT_EQ(Last(sim.commands(), "W "), "W code=14 bw=2400");
  stopWith(SIGTERM);
  const std::string saved = ReadFileBytes(data("data/SysFiles/Tuning.dat"));
  EXPECT_NE(saved.find("\r\n9580.000\r\nUSB\r\n"), std::string::npos) << saved;
}

// The receiver is tuned at the broadcast's minute, muted as the entry says,
// given its volumes back at the end, and the broadcast leaves its line in
// Export/SchedulerLog.txt.
TEST_F(ProgramE2E, ScheduledBroadcastTunesAtItsMinuteMutesEndsAndIsLogged) {
  ScheduleEntry entry;
  entry.StartDate = entry.EndDate = "5/20/2027";
  entry.OnTime = "1201";
  entry.OffTime = "1202";
  entry.Station = "Radio Alba";
  entry.Frequency = 9580;
  entry.Mode = "USB";
  entry.Filter = 2550;
  entry.PBT = 100;
  entry.AGC = "F";
  entry.MuteSpeaker = 1;
  WriteSchedule(folder.dir(), {entry});
  ASSERT_TRUE(startSim());
  ASSERT_TRUE(start(root(), sim.device(),
                    {{"ONDARIS_CLOCK_START", "2027-05-20T12:00:20"},  // 12:01 comes 4 s after start
                     {"ONDARIS_CLOCK_RATE", "10"},
                     {"ONDARIS_ARM_SCHEDULER", "1"}}));
  const std::string logPath = data("Export/SchedulerLog.txt");
  RunUntil([&] { return fs::exists(logPath); }, 20000);
  stopWith(SIGTERM);
  // Date right-aligned in 10, actual start and end, whole kHz in 12, station in 22.
  EXPECT_EQ(ReadFileBytes(logPath), " 5/20/2027   1201-1202   9580" + std::string(8, ' ') + "Radio Alba" +
                                        std::string(12 + 3, ' ') + "\r\n")
      << program.output();

  RadioState tuned;
  tuned.Freq = 9580;
  tuned.Mode = 1;
  tuned.SelectFilterRow(13);  // 2550 Hz
  tuned.PBT = 100;
  tuned.ComputeCalibration();
  const TuningWords words = ComputeTuningWords(tuned.TuningInputs());
  char tune[80];
  std::snprintf(tune, sizeof tune, "N coarse=%d fine=%d bfo=%d freq=", words.coarse, words.fine, words.bfo);

  // Start-up; the broadcast: its tuning, the speaker muted, the line left
  // on; its end gives the speaker back; the exit mutes.
  const std::vector<std::string> commands = sim.commands();
  std::vector<std::string> expected = StartupCommands();
  expected.insert(expected.end(), {"W code=13 bw=2550", "N", "M USB freq=9580.000 kHz", "G 3", "V level=63 mute",
                                   "A level=33", "V level=33", "A level=33", "C mute"});
  EXPECT_EQ(Outline(commands), expected) << program.output();
  EXPECT_TRUE(StartsWith(commands.at(7), tune)) << commands[7] << " against " << tune;
}

}  // namespace
}  // namespace ondaris
