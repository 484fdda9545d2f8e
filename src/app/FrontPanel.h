#pragma once
// The main window's state and controllers, without the window: everything
// the front panel does can be driven from here by tests with fake platform
// pieces, and by the Qt window with real ones.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/PanelContext.h"
#include "radio/MeterController.h"
#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"
#include "radio/TuningController.h"

namespace ondaris {

class CommandDispatcher;
class ClockController;
class CompanionTransport;
class Shell;

// The platform pieces the panel runs on; owned by whoever builds the panel.
struct PanelPlatform {
  SerialPort& port;
  Clock& clock;
  MessageBoxes& messages;
  CompanionTransport& companion;
  Shell& shell;
  Timer& tuningTimer;
  Timer& meterTimer;
  Timer& scanTimer;
  Timer& clockTimer;
  Timer& debounceTimer;
  Timer& linkPumpTimer;
};

// The places where the other parts of the program join the start-up and
// exit sequences. Each step runs in list order; a step that throws has its
// message shown and the sequence goes on with the next step.
struct StartupSteps {
  std::vector<std::function<void()>> convertOldFiles;    // old master list, then old log file
  std::vector<std::function<void()>> buildTables;        // scratchpad buttons, menus, grid set-up
  std::vector<std::function<void()>> loadBeforeTuning;   // Limits1.dat, then Scratchpad.dat
  std::vector<std::function<void()>> loadAfterTuning;    // DataModes.dat, LogExpConsol.dat
  std::vector<std::function<void()>> loadAfterState;     // ClockRadio.dat, Reopen.dat, DateFormat.dat
  std::vector<std::function<void()>> beforeTuningParsed; // paste buffer, log grid layout, alarm armed
  // The frequency file of the last run. Empty list: no file is loaded, the
  // record count is 0 and the grid is disabled.
  std::vector<std::function<void()>> loadLastFrequencyFile;
  std::vector<std::function<void()>> beforeTimers;       // scan-resume state
  std::vector<std::function<void()>> afterStartup;       // dialogs created after the main window
};

struct ShutdownSteps {
  std::vector<std::function<void()>> beforeSaving;     // ask to save a changed frequency file
  std::vector<std::function<void()>> saveBeforeTuning; // Limits1.dat, Reopen.dat, Scratchpad.dat
  std::vector<std::function<void()>> saveAfterState;   // ClockRadio.dat, OndarisGrid.dat
};

class FrontPanel {
 public:
  FrontPanel(PanelPlatform platform, std::string programDir, char decimalSeparator);
  ~FrontPanel();

  // The port for this run instead of the stored ComPortName (--port); the
  // stored name is kept. Set before FormCreate.
  void setPortOverride(std::string portName) { portOverride_ = std::move(portName); }
  const std::string& portOverride() const { return portOverride_; }

  // The start-up sequence (directories, state files, first tuning, timers).
  // Errors are shown and start-up goes on with defaults.
  void FormCreate();
  // The exit sequence; runs once, later calls do nothing.
  void SaveStateAndShutdown();

  // An error nothing handled locally. During start-up it is shown in a
  // message box; afterwards it becomes lastError, goes to onError (the
  // window's status line) and to standard error.
  void ReportError(const std::string& text);
  std::function<void(const std::string&)> onError;

  const std::string& programDir() const { return programDir_; }
  SerialLink& link() { return *link_; }

  StartupSteps startupSteps;
  ShutdownSteps shutdownSteps;

  RadioState state;
  PanelModel panel;
  PanelPlatform platform;

 private:
  // Runs one step of a sequence; its error is reported and the sequence
  // goes on. Returns false when the step failed.
  bool Step(const std::function<void()>& step);
  void RunSteps(const std::vector<std::function<void()>>& steps);
  // A send of the start-up sequence: with the port already known to be
  // closed the failure is quiet (later sends retry the port).
  void StartupSend(const std::function<void()>& send);
  void WireTimersAndLink();
  void ApplyLoadedTuning();

  std::string programDir_;
  std::string portOverride_;
  bool portOpenFailed_ = false;
  bool inStartup_ = false;
  std::unique_ptr<SerialLink> link_;

 public:
  PanelContext context;
  Receiver receiver;
  ReceiverControls controls;
  TuningController tuning;
  MeterController meter;
  std::unique_ptr<CommandDispatcher> dispatcher;
  std::unique_ptr<ClockController> clock;

  // The last error reported since start-up completed (the window shows it
  // under the panel); empty when none.
  std::string lastError;
};

}  // namespace ondaris
