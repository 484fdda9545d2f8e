#pragma once
// The rx320-sim tool as a child process for end-to-end tests: started on a
// fresh pseudo-terminal, logging every decoded command into a private folder.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <signal.h>

#include <string>
#include <vector>

namespace ondaris {

class SimulatorProcess {
 public:
  // Starts the tool (paced at 1200 baud unless `pacing` is false) and reads
  // the device it prints on its first line.
  bool start(bool pacing, std::string& error) { return start(pacing, {}, error); }
  // The same with more arguments for the tool.
  bool start(bool pacing, const QStringList& extraArgs, std::string& error) {
    if (!dir_.isValid()) {
      error = "no temporary folder";
      return false;
    }
    const QString tool = QStringLiteral(ONDARIS_BIN_DIR "/rx320-sim");
    logPath_ = dir_.filePath(QStringLiteral("sim.log"));
    QStringList args{QStringLiteral("--log"), logPath_};
    if (!pacing) args << QStringLiteral("--no-pacing");
    args << extraArgs;
    process_.setProgram(tool);
    process_.setArguments(args);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start();
    if (!process_.waitForStarted(5000)) {
      error = "cannot start " + tool.toStdString() + ": " + process_.errorString().toStdString();
      return false;
    }
    QElapsedTimer waited;
    waited.start();
    while (!process_.canReadLine() && waited.elapsed() < 5000) process_.waitForReadyRead(100);
    if (!process_.canReadLine()) {
      error = "the simulator printed no device: " + process_.readAllStandardError().toStdString();
      return false;
    }
    device_ = QString::fromLocal8Bit(process_.readLine()).trimmed().toStdString();
    return !device_.empty();
  }

  ~SimulatorProcess() {
    if (process_.state() != QProcess::NotRunning) {
      process_.terminate();
      if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(1000);
      }
    }
  }

  const std::string& device() const { return device_; }
  // What the tool wrote on standard error so far.
  std::string errors() {
    QCoreApplication::processEvents();
    errors_ += process_.readAllStandardError().toStdString();
    return errors_;
  }
  // Ends the tool with `signal`; its exit code, or -1 when it did not end
  // by itself within three seconds or was ended by the signal.
  int stop(int signal) {
    if (process_.state() == QProcess::NotRunning) return -1;
    ::kill(static_cast<pid_t>(process_.processId()), signal);
    if (!process_.waitForFinished(3000)) {
      process_.kill();
      process_.waitForFinished(1000);
      return -1;
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
  QString folder() const { return dir_.path(); }

  // The simulator's log so far, one decoded command a line.
  std::vector<std::string> logLines() const {
    std::vector<std::string> lines;
    QFile file(logPath_);
    if (!file.open(QIODevice::ReadOnly)) return lines;
    for (const QByteArray& line : file.readAll().split('\n'))
      if (!line.isEmpty()) lines.push_back(line.toStdString());
    return lines;
  }

 private:
  QTemporaryDir dir_;
  QString logPath_;
  QProcess process_;
  std::string device_;
  std::string errors_;
};

}  // namespace ondaris
