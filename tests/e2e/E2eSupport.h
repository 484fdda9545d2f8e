#pragma once
// What the end-to-end tests share: the event loop run until a condition
// holds, child programs (run to their end, or kept running with their
// output in a file), and the rx320-sim tool on a fresh pseudo-terminal,
// logging every decoded command into a private folder; the front panel
// on the real serial port and Qt timers.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/FrontPanel.h"
#include "platform/CompanionTransport.h"
#include "platform/Shell.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTimer.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempFolder.h"

namespace ondaris {

const QString kBinDir = QStringLiteral(ONDARIS_BIN_DIR);

// Runs the event loop until `done()` holds or `timeoutMs` passes.
inline bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
  if (done()) return true;
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(2);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  poll.start();
  loop.exec();
  return done();
}

inline void RunFor(int ms) { RunUntil([] { return false; }, ms); }

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// The decoded commands without the meter's queries.
inline std::vector<std::string> WithoutQueries(const std::vector<std::string>& log) {
  std::vector<std::string> out;
  for (const std::string& line : log)
    if (!StartsWith(line, "X ")) out.push_back(line);
  return out;
}

// The lines with the tuning words and the readings cut to their letter
// ("N", "X"), at most `count` of them.
inline std::vector<std::string> Outline(std::vector<std::string> lines, std::size_t count = SIZE_MAX) {
  if (lines.size() > count) lines.resize(count);
  for (std::string& line : lines)
    if (StartsWith(line, "N ") || StartsWith(line, "X ")) line.resize(1);
  return lines;
}

// What start-up sends with no stored state: volumes, then the tuning.
inline std::vector<std::string> StartupCommands() {
  return {"V level=33", "A level=33", "W code=0 bw=6000", "N", "M AM freq=15000.000 kHz", "G 2"};
}

using Environment = std::map<QString, QString>;

// A child program; its standard output and errors (unless `separateErrors`)
// go together to `outputFile` when one is given, else they are kept in the
// process.
class Child {
 public:
  // Ended as a listener ends it, so that it saves and leaves its counters.
  ~Child() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(15000)) process_.kill();
    process_.waitForFinished(2000);
  }
  bool start(const QString& program, const QStringList& args, const Environment& env = {},
             const QString& outputFile = {}, bool separateErrors = false) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : env) environment.insert(name, value);
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(separateErrors ? QProcess::SeparateChannels : QProcess::MergedChannels);
    if (!outputFile.isEmpty()) process_.setStandardOutputFile(outputFile);
    outputFile_ = outputFile;
    process_.start(program, args);
    return process_.waitForStarted(5000);
  }
  void signal(int number) {
    if (process_.processId() > 0) ::kill(static_cast<pid_t>(process_.processId()), number);
  }
  bool running() { return !process_.waitForFinished(0) && process_.state() != QProcess::NotRunning; }
  // The exit code once the child has ended within `timeoutMs` (the event
  // loop runs meanwhile); -1 if a signal ended it, nothing if it still runs.
  std::optional<int> waitExit(int timeoutMs) {
    if (!RunUntil([this] { return process_.state() == QProcess::NotRunning; }, timeoutMs)) return std::nullopt;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
  std::string output() {
    if (!outputFile_.isEmpty()) {
      QFile file(outputFile_);
      return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
    output_ += process_.readAllStandardOutput().toStdString();
    return output_;
  }
  QProcess& process() { return process_; }

 private:
  QProcess process_;
  QString outputFile_;
  std::string output_;
};

struct Finished {
  int exitCode = -2;  // -2: did not end in time, -1: ended by a signal
  std::string output;
};

// Runs a program to its end, the event loop turning meanwhile.
inline Finished RunToEnd(const QString& program, const QStringList& args, const Environment& env = {},
                         int timeoutMs = 15000) {
  Child child;
  Finished run;
  if (!child.start(program, args, env)) return run;
  run.exitCode = child.waitExit(timeoutMs).value_or(-2);
  run.output = child.output();
  return run;
}

// The environment the program runs in under test: no display, nobody to
// answer questions, and its own runtime folder so that it never meets a
// running program of the listener's.
inline Environment ProgramEnvironment(const QString& runtimeDir) {
  return {{"QT_QPA_PLATFORM", "offscreen"}, {"ONDARIS_NONINTERACTIVE", "1"}, {"XDG_RUNTIME_DIR", runtimeDir}};
}

class SimulatorProcess {
 public:
  // Starts the tool (paced at 1200 baud unless `pacing` is false) with
  // `extraArgs` and reads the device it prints on its first line.
  bool start(bool pacing, std::string& error, const QStringList& extraArgs = {}) {
    const QString tool = kBinDir + "/rx320-sim";
    QStringList args{QStringLiteral("--log"), logPath_};
    if (!pacing) args << QStringLiteral("--no-pacing");
    QProcess& process = child_.process();
    if (!dir_.isValid() || !child_.start(tool, args + extraArgs, {}, {}, true)) {
      error = "cannot start " + tool.toStdString() + ": " + process.errorString().toStdString();
      return false;
    }
    QElapsedTimer waited;
    waited.start();
    while (!process.canReadLine() && waited.elapsed() < 5000) process.waitForReadyRead(100);
    device_ = QString::fromLocal8Bit(process.readLine()).trimmed().toStdString();
    if (device_.empty()) error = "the simulator printed no device: " + process.readAllStandardError().toStdString();
    return !device_.empty();
  }
  ~SimulatorProcess() { stop(SIGTERM); }

  const std::string& device() const { return device_; }
  QString qdevice() const { return QString::fromStdString(device_); }
  // What the tool wrote on standard error so far.
  std::string errors() {
    QCoreApplication::processEvents();
    errors_ += child_.process().readAllStandardError().toStdString();
    return errors_;
  }
  // Sends the tool `signal`; its exit code, or -1 when it did not end by
  // itself within three seconds or was ended by the signal.
  int stop(int signal) {
    child_.signal(signal);
    return child_.waitExit(3000).value_or(-1);
  }

  // The simulator's log so far, one decoded command a line.
  std::vector<std::string> logLines() const {
    std::vector<std::string> lines = SplitLines(ReadFileBytes(logPath_.toStdString()));
    std::erase(lines, std::string());
    return lines;
  }
  std::vector<std::string> commands() const { return WithoutQueries(logLines()); }
  int linesStartingWith(const std::string& prefix) const {
    int count = 0;
    for (const std::string& line : logLines()) count += StartsWith(line, prefix) ? 1 : 0;
    return count;
  }

 private:
  QTemporaryDir dir_;
  const QString logPath_ = dir_.filePath(QStringLiteral("sim.log"));
  Child child_;
  std::string device_;
  std::string errors_;
};

// The front panel on the real serial port and Qt timers, its files in a
// folder of its own; no companion, no desktop, and nobody answers its
// questions (No).
struct QtPanel {
  struct NoCompanion : CompanionTransport {
    bool listen(std::string&) override { return true; }
    void close() override {}
    void send(const std::string&) override {}
  };
  struct NoShell : Shell {
    bool open(const std::string&, std::string&) override { return true; }
  };

  // Runs the start-up sequence on the receiver at `device`.
  explicit QtPanel(const std::string& device) {
    messages.setDefaultAnswer(false);
    panel.setPortOverride(device);
    panel.FormCreate();
  }
  ~QtPanel() { panel.SaveStateAndShutdown(); }

  QTemporaryDir data;
  QtSerialPort port;
  QtClock clock;
  QtTimer tuningTimer, meterTimer, scanTimer, clockTimer, debounceTimer, pump;
  ScriptedMessageBoxes messages;
  NoCompanion companion;
  NoShell shell;
  ScriptedFileDialogs dialogs;
  FrontPanel panel{PanelPlatform{port, clock, messages, companion, shell, tuningTimer, meterTimer, scanTimer,
                                 clockTimer, debounceTimer, pump, dialogs, nullptr},
                   data.path().toStdString() + "/", '.'};
};

}  // namespace ondaris
