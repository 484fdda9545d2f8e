#pragma once
// What every front-panel controller works on: the receiver state, the
// control model, the line to the receiver, the five panel timers, the clock
// and the message boxes. The main window owns all of it; the controllers
// share it through this one object.

#include <functional>
#include <string>

#include "panel/PanelModel.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/Timer.h"

namespace ondaris {

// Owned by the receiver side; the panel only holds references to them.
struct RadioState;
class SerialLink;

struct PanelTimers {
  Timer& TuningTimer;
  Timer& MeterTimer;
  Timer& ScanTimer;
  Timer& ClockTimer;
  Timer& DebounceTimer;
};

// What is scanning now and which scan the Scan button starts. The scan
// engine owns the behaviour; tuning and the companion only read and reset it.
struct ScanStatus {
  int ScanState = 0;      // 0 none running, 1 file, 2 memory, 3 limit, 4 band
  int ScanKind = 0;       // the kind the Scan button starts
  int ScanDirection = 0;  // see the scan engine
  bool running() const { return ScanState != 0; }
};

// Flags several controllers read.
struct PanelFlags {
  bool MeterHiSens = false;
  bool ShuttingDown = false;
  bool RemoteControlOn = false;
  bool BroadcastActive = false;
  bool ClockRunning = false;
  bool StartupComplete = false;
};

struct PanelContext {
  RadioState& state;
  PanelModel& panel;
  SerialLink& link;
  PanelTimers timers;
  Clock& clock;
  MessageBoxes& messages;
  char decimalSeparator = '.';
  ScanStatus scan;
  PanelFlags flags;

  // Reports the receiver's state to the companion (set by the companion link).
  std::function<void()> publishStatus;
  // Errors that nothing handles locally: shown to the listener without
  // stopping the program (set by the application).
  std::function<void(const std::string&)> reportError;
  // Hooks the scan engine fills in when it exists.
  std::function<void()> endScan;           // scan side of EndScanOrTuning
  std::function<void()> startScanFromKey;  // the space bar starting the chosen scan

  void PublishStatus() const {
    if (publishStatus) publishStatus();
  }
  void ReportError(const std::string& text) const {
    if (reportError) reportError(text);
  }
};

}  // namespace ondaris
