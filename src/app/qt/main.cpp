// The program entry: command line, one instance per user, the platform
// pieces, the front panel and its window, then the event loop.
//
// Environment:
//   ONDARIS_NONINTERACTIVE=1  messages go to standard error, questions are
//                             answered No and file dialogs are cancelled (no
//                             modal boxes), for scripts and tests; a changed
//                             station list is therefore not saved at exit
//   ONDARIS_SIM_LOG=FILE      with port SIM: one line per command the
//                             simulated receiver decodes, appended to FILE
//   ONDARIS_EXPRESS_RECORD=1  presses Express Recording once start-up is
//                             done (unattended recordings, tests)
//   ONDARIS_ARM_SCHEDULER=1   test hook: once start-up is done the schedule
//                             is read and armed, as the scheduler window's
//                             on/off button would
//   ONDARIS_CLOCK_START, ONDARIS_CLOCK_RATE  test hook of the clock, see
//                             platform/qt/QtClock.h
//   XDG_RUNTIME_DIR           where the instance lock and the companion
//                             sockets live

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QString>

#include "app/FrontPanel.h"
#include "app/LogbookParts.h"
#include "app/TimekeepingParts.h"
#include "common/ProgramDir.h"
#include "app/qt/EmbeddedSimulator.h"
#include "app/qt/ExitSignals.h"
#include "app/qt/NonInteractiveMessages.h"
#include "app/qt/QtShell.h"
#include "common/Version.h"
#include "platform/qt/QtAudio.h"
#include "platform/qt/QtClock.h"
#include "platform/FileDialogs.h"
#include "platform/qt/QtCompanionTransport.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtSerialPortList.h"
#include "platform/qt/QtSingleInstance.h"
#include "platform/qt/QtTcpListener.h"
#include "platform/qt/QtTimer.h"
#include "radio/CommandDispatcher.h"
#include "ui/FrontPanelActions.h"
#include "ui/LogbookWindows.h"
#include "ui/AlarmDialogView.h"
#include "ui/MainWindow.h"
#include "ui/RecordDialogView.h"
#include "ui/PanelDialogs.h"

using namespace ondaris;

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

char LocaleDecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  if (point.size() == 1 && point.at(0).unicode() < 0x80) return point.at(0).toLatin1();
  return '.';
}

}  // namespace

int main(int argc, char** argv) {
  const CommandLine commandLine = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!commandLine.valid) {
    std::fprintf(stderr, "ondaris: %s\n%s", commandLine.problem.c_str(), UsageText().c_str());
    return UsageExitCode;
  }
  if (commandLine.showHelp) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (commandLine.showVersion) {
    std::printf("ondaris %s\n", ProgramVersion);
    return 0;
  }

  QApplication app(argc, argv);
  // Numbers in files and on the line are written with a point whatever the
  // listener's locale; the locale's separator is handled by the program.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("Ondaris"));
  QApplication::setApplicationVersion(QString::fromLatin1(ProgramVersion));

  // A second start only wakes the first one, before any file is made.
  QtSingleInstance instance;
  if (!instance.acquire()) {
    instance.wakeRunningInstance();
    return 0;
  }

  std::string dirError;
  const std::string programDir = ResolveProgramDir(
      {commandLine.dataDir, QApplication::applicationDirPath().toStdString(), Environment("XDG_DATA_HOME"),
       Environment("HOME")},
      dirError);

  const bool nonInteractive = Environment("ONDARIS_NONINTERACTIVE") == "1";
  QtMessageBoxes boxes;
  NonInteractiveMessages quietMessages;
  MessageBoxes& messages = nonInteractive ? static_cast<MessageBoxes&>(quietMessages) : boxes;
  if (!dirError.empty() && dirError != NoProgramDirMessage) messages.showMessage(dirError);

  EmbeddedSimulator simulator;
  simulator.setLogFile(Environment("ONDARIS_SIM_LOG"));
  QtSerialPort port;
  port.simulatedDevice = [&simulator](std::string& error) { return simulator.devicePath(error); };
  QtClock clock;
  QtCompanionTransport companion;
  QtShell shell;
  QtTcpListener rigctlListener;
  QtTimer tuningTimer, meterTimer, scanTimer, debounceTimer, linkPumpTimer;
  QtTimer clockTimer(nullptr, Qt::CoarseTimer);
  QtFileDialogs desktopDialogs;
  CancelledFileDialogs cancelledDialogs;
  FileDialogs& fileDialogs = nonInteractive ? static_cast<FileDialogs&>(cancelledDialogs) : desktopDialogs;

  QtSerialPortList portList;
  FrontPanel panel(PanelPlatform{port, clock, messages, companion, shell, tuningTimer, meterTimer, scanTimer,
                                 clockTimer, debounceTimer, linkPumpTimer, fileDialogs, &rigctlListener},
                   programDir, LocaleDecimalSeparator());
  panel.setPortOverride(commandLine.port);
  panel.setRigctlPortOverride(commandLine.rigctlPort);
  panel.setPortList(portList);

  // The clock radio and the recorder, with their sound.
  QtSoundPlayer soundPlayer;
  QtWaveRecorder waveRecorder;
  QtTimer pbTimer;
  TimekeepingParts timekeeping(panel, TimekeepingPlatform{soundPlayer, waveRecorder, pbTimer});
  // The log entry dialog and the log display.
  LogbookParts logbook(panel);

  FrontPanelActions actions(panel);
  MainWindow window(panel.panel, actions);
  // The grid follows the station list from the first step of start-up on.
  window.setStationGrid(panel.stations);
  actions.setDialogParent(&window);
  desktopDialogs.setParentWidget(&window);
  PanelDialogs dialogs(panel, &window);
  actions.moreClicks.push_back([&timekeeping](Ctl control) { return timekeeping.Click(control); });
  actions.moreClicks.push_back([&logbook](Ctl control) { return logbook.Click(control); });
  LogbookWindows logbookWindows(logbook, &window, [&panel](const std::string& text) { panel.ReportError(text); });
  AlarmDialogView alarmView(timekeeping.alarm, &window);
  RecordDialogView recordView(timekeeping.recorder, &window);
  timekeeping.alarm.restoreWindow = [&window] {
    if (window.isMinimized()) window.showNormal();
  };
  panel.onError = [&window](const std::string& text) { window.showError(text); };
  // The log display needs a desktop at least 800 pixels wide.
  if (const QScreen* screen = QGuiApplication::primaryScreen(); screen && screen->geometry().width() < 800)
    panel.panel.setEnabled(Ctl::LogDispBtn, false);
  panel.dispatcher->minimizeApplication = [&window] { window.showMinimized(); };

  instance.onWakeRequest = [&window] {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
  };

  bool exitRequested = false;
  ExitSignals exitSignals;
  exitSignals.onExitRequest = [&](int) {
    exitRequested = true;
    panel.SaveStateAndShutdown();
    QApplication::quit();
  };
  if (!exitSignals.install()) std::fprintf(stderr, "ondaris: the exit signals cannot be caught\n");

  panel.logbook.MainWindowWidth = window.width();
  panel.FormCreate();
  if (exitRequested) {  // a signal arrived while a start-up message was shown
    simulator.finish();
    return 0;
  }

  boxes.setParentWidget(&window);
  window.show();
  if (Environment("ONDARIS_EXPRESS_RECORD") == "1") actions.Click(Ctl::ExpressRecBtn);
  if (Environment("ONDARIS_ARM_SCHEDULER") == "1") {
    panel.scheduler.LoadSchedule();
    panel.scheduler.OnOffBtnClick();
  }
  app.exec();

  // Whatever ended the event loop, the exit sequence has run once.
  panel.SaveStateAndShutdown();
  simulator.finish();
  return 0;
}
