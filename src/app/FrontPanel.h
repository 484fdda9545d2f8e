#pragma once
// The main window's state and controllers, without the window: everything
// the front panel does can be driven from here by tests with fake platform
// pieces, and by the Qt window with real ones.

#include <memory>
#include <string>

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

class FrontPanel {
 public:
  FrontPanel(PanelPlatform platform, std::string programDir, char decimalSeparator);
  ~FrontPanel();

  // The start-up sequence (directories, state files, first tuning, timers).
  // Errors are shown and start-up goes on with defaults.
  void FormCreate();
  // The exit sequence; runs once, later calls do nothing.
  void SaveStateAndShutdown();

  const std::string& programDir() const { return programDir_; }

  RadioState state;
  PanelModel panel;
  PanelPlatform platform;

 private:
  std::string programDir_;
  std::unique_ptr<SerialLink> link_;

 public:
  PanelContext context;
  Receiver receiver;
  ReceiverControls controls;
  TuningController tuning;
  MeterController meter;
  std::unique_ptr<CommandDispatcher> dispatcher;
  std::unique_ptr<ClockController> clock;

  // Error texts shown since start-up completed, newest last (the window shows
  // the last one under the panel).
  std::string lastError;
};

}  // namespace ondaris
