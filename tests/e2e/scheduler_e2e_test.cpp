// A scheduled broadcast end to end: the real program on the simulated
// receiver (rx320-sim over a pseudo-terminal), its clock started just before
// the broadcast and run ten times as fast through the clock's test hook, the
// scheduler armed through the program's test hook. The receiver is tuned at
// the broadcast's minute, muted as the entry says, given its volumes back at
// the end, and the broadcast leaves its line in Export/SchedulerLog.txt.

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

#include "SimulatorProcess.h"
#include "radio/RadioState.h"
#include "radio/Rx320Protocol.h"
#include "timekeeping/ScheduleFiles.h"

namespace ondaris {
namespace {

int FilterRowOf(int bandwidthHz) {
  for (int row = 0; row < FilterCount; ++row)
    if (FilterTable[row].bandwidthHz == bandwidthHz) return row;
  return -1;
}

TEST(ScheduledBroadcast, TunesAtItsMinuteMutesEndsAndIsLogged) {
  QTemporaryDir data, runtime;
  ASSERT_TRUE(data.isValid() && runtime.isValid());
  const std::string dir = data.path().toStdString() + "/";
  QDir().mkpath(data.filePath("SysFiles"));

  ScheduleEntry entry;
  entry.StartDate = "5/20/2027";
  entry.EndDate = "5/20/2027";
  entry.OnTime = "1201";
  entry.OffTime = "1202";
  entry.Station = "Radio Alba";
  entry.Frequency = 9580;
  entry.Mode = "USB";
  entry.Filter = 2550;
  entry.PBT = 100;
  entry.AGC = "F";
  entry.MuteSpeaker = 1;
  WriteSchedule(dir, {entry});

  SimulatorProcess sim;
  std::string error;
  ASSERT_TRUE(sim.start(false, error)) << error;

  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("ONDARIS_NONINTERACTIVE", "1");
  env.insert("XDG_RUNTIME_DIR", runtime.path());
  env.insert("ONDARIS_CLOCK_START", "2027-05-20T12:00:20");  // 12:01 comes 4 s after start
  env.insert("ONDARIS_CLOCK_RATE", "10");
  env.insert("ONDARIS_ARM_SCHEDULER", "1");
  program.setProcessEnvironment(env);
  program.setProcessChannelMode(QProcess::MergedChannels);
  program.start(ONDARIS_BIN_DIR "/ondaris",
                {"--data-dir", data.path(), "--port", QString::fromStdString(sim.device())});
  ASSERT_TRUE(program.waitForStarted(5000));

  QFile log(data.filePath("Export/SchedulerLog.txt"));
  QElapsedTimer waited;
  waited.start();
  while (!log.exists() && waited.elapsed() < 20000) program.waitForFinished(100);
  program.terminate();
  ASSERT_TRUE(program.waitForFinished(15000));
  const std::string output = program.readAll().toStdString();
  ASSERT_TRUE(log.open(QIODevice::ReadOnly)) << output;
  // Date right-aligned in 10, actual start and end, whole kHz in 12, station in 22.
  EXPECT_EQ(log.readAll().toStdString(), " 5/20/2027   1201-1202   9580" + std::string(8, ' ') + "Radio Alba" +
                                             std::string(12 + 3, ' ') + "\r\n");

  // What the receiver decoded, without the meter's queries.
  std::vector<std::string> commands;
  for (const std::string& line : sim.logLines())
    if (line.rfind("X ", 0) != 0) commands.push_back(line);

  RadioState tuned;
  tuned.Freq = 9580;
  tuned.Mode = 1;
  tuned.SelectFilterRow(FilterRowOf(2550));
  tuned.PBT = 100;
  tuned.ComputeCalibration();
  const TuningWords words = ComputeTuningWords(tuned.TuningInputs());
  char tune[80];
  std::snprintf(tune, sizeof tune, "N coarse=%d fine=%d bfo=%d freq=", words.coarse, words.fine, words.bfo);
  const std::string filter = "W code=" + std::to_string(FilterTable[FilterRowOf(2550)].code) + " bw=2550";

  ASSERT_EQ(commands.size(), 15u) << output;
  // Start-up: volumes, then the first tuning.
  EXPECT_EQ(commands[0], "V level=33");
  EXPECT_EQ(commands[4], "M AM freq=15000.000 kHz");
  // The broadcast: its tuning, the speaker muted, the line left on.
  EXPECT_EQ(commands[6], filter);
  EXPECT_EQ(commands[7].rfind(tune, 0), 0u) << commands[7] << " against " << tune;
  EXPECT_EQ(commands[8], "M USB freq=9580.000 kHz");
  EXPECT_EQ(commands[9], "G 3");
  EXPECT_EQ(commands[10], "V level=63 mute");
  EXPECT_EQ(commands[11], "A level=33");
  // Its end gives the speaker back; the exit mutes.
  EXPECT_EQ(commands[12], "V level=33");
  EXPECT_EQ(commands[13], "A level=33");
  EXPECT_EQ(commands[14], "C mute");
}

}  // namespace
}  // namespace ondaris
