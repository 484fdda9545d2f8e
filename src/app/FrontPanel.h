#pragma once
// The main window's state and controllers, without the window: everything
// the front panel does can be driven from here by tests with fake platform
// pieces, and by the Qt window with real ones. This is where the parts of
// the program meet: the receiver controls, the scratchpad, the limit ranges,
// the station list and its tools, the companion link and the clock.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "freqfiles/EibiImport.h"
#include "freqfiles/EntryEditor.h"
#include "freqfiles/FreqFileController.h"
#include "freqfiles/Lookup.h"
#include "freqfiles/OnAirView.h"
#include "freqfiles/RecentFiles.h"
#include "freqfiles/RecordClipboard.h"
#include "freqfiles/StationGrid.h"
#include "logbook/LogFile.h"
#include "memories/ScratchpadController.h"
#include "options/LogbookOptions.h"
#include "options/RigctlOptions.h"
#include "options/UserOptionsDialog.h"
#include "platform/SerialPortList.h"
#include "radio/DataModeController.h"
#include "radio/MeterController.h"
#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"
#include "radio/RigctlSettings.h"
#include "radio/TuningController.h"
#include "scan/BandScanDialog.h"
#include "scan/LimitRanges.h"
#include "scan/LimitScanDialog.h"
#include "scan/ScanEngine.h"
#include "timekeeping/Scheduler.h"
#include "timekeeping/SkedDialog.h"

namespace ondaris {

class CommandDispatcher;
class ClockController;
class CompanionTransport;
class FileDialogs;
class RigctlServer;
class Shell;
class TcpListener;

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
  FileDialogs& fileDialogs;
  // The rigctl-compatible server's listener; none: no server in this program.
  TcpListener* rigctlListener = nullptr;
};

// The places where parts of the program that are not built into the panel
// join the start-up and exit sequences. Each step runs in list order at its
// place in the sequence, after the panel's own steps of that place unless
// said otherwise; a step that throws has its message shown and the sequence
// goes on with the next step.
struct StartupSteps {
  // After the master list's conversion: the old log file.
  std::vector<std::function<void()>> convertOldFiles;
  // After the Reopen and limit-range menu items and the scan-speed buttons,
  // before the grid is set up.
  std::vector<std::function<void()>> buildTables;
  // After Limits1.dat and Scratchpad.dat.
  std::vector<std::function<void()>> loadBeforeTuning;
  std::vector<std::function<void()>> loadAfterTuning;       // after DataModes.dat: LogExpConsol.dat
  std::vector<std::function<void()>> loadAfterState;        // ClockRadio.dat (before Reopen.dat)
  std::vector<std::function<void()>> loadAfterRecentFiles;  // DateFormat.dat
  // After the paste buffer is cleared: log grid layout, alarm armed.
  std::vector<std::function<void()>> beforeTuningParsed;
  // After the last frequency file is reloaded.
  std::vector<std::function<void()>> loadLastFrequencyFile;
  std::vector<std::function<void()>> beforeTimers;  // after the scan-resume state
  // The dialogs created after the main window, after the limit-scan and
  // band-scan dialogs.
  std::vector<std::function<void()>> afterStartup;
};

struct ShutdownSteps {
  // After the question about a changed frequency file.
  std::vector<std::function<void()>> beforeSaving;
  // After Limits1.dat, Reopen.dat and Scratchpad.dat.
  std::vector<std::function<void()>> saveBeforeTuning;
  // After Ondaris.dat and before OndarisGrid.dat: ClockRadio.dat.
  std::vector<std::function<void()>> saveAfterState;
};

class FrontPanel {
 public:
  FrontPanel(PanelPlatform platform, std::string programDir, char decimalSeparator);
  ~FrontPanel();
  FrontPanel(const FrontPanel&) = delete;
  FrontPanel& operator=(const FrontPanel&) = delete;

  // The port for this run instead of the stored ComPortName (--port); the
  // stored name is kept. Set before FormCreate.
  void setPortOverride(std::string portName) { portOverride_ = std::move(portName); }
  const std::string& portOverride() const { return portOverride_; }
  // The rigctl server on this TCP port for this run (--rigctl-port), whatever
  // the stored settings say; they are kept. Set before FormCreate.
  void setRigctlPortOverride(int port) { rigctlPortOverride_ = port; }

  // The stored rigctl server settings (read at start-up; the options
  // dialog's rigctl page changes them).
  RigctlSettings rigctlSettings;
  // The serial ports the options dialog offers (none until set).
  void setPortList(SerialPortList& ports) { options.setPortList(&ports); }

  // The start-up sequence (directories, data files, first tuning, timers).
  // Errors are shown and start-up goes on with defaults.
  void FormCreate();
  // The exit sequence; runs once, later calls do nothing.
  void SaveStateAndShutdown();

  // An error nothing handled locally. During start-up it is shown in a
  // message box; afterwards it becomes lastError, goes to onError (the
  // window's status line) and to standard error.
  void ReportError(const std::string& text);
  std::function<void(const std::string&)> onError;

  // Tools menu, "Master Freq List Generator": every entry of the frequency
  // files of the list's folder into Export/Master320FrequencyList.txt.
  void MasterFreqClick();
  // File menu, "Back Up Data": the scratchpad, the limit ranges, the band
  // list and the log into the Backup folder.
  void BackupItemClick();

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
  void WireParts();
  void WireScheduler();
  void ApplyLoadedTuning();
  // The port came back after it could not be opened or had failed: the
  // receiver may have missed anything, so it gets the whole state again.
  void ResendReceiverState();
  // Start-up, once the panel is ready: the server when the settings or the
  // command line turn it on. A port that is taken is reported.
  void StartRigctlServer();

  std::string programDir_;
  std::string portOverride_;
  int rigctlPortOverride_ = 0;
  bool portOpenFailed_ = false;
  bool inStartup_ = false;
  std::unique_ptr<SerialLink> link_;

 public:
  PanelContext context;
  Receiver receiver;
  ReceiverControls controls;
  TuningController tuning;
  MeterController meter;
  DataModeController dataModes;

  // The scan values limit ranges and the scan engine share.
  ScanSettings scanSettings;
  // The loaded station list and its grid, and the File commands that fill
  // and save it.
  StationGrid stations;
  FreqFileController files;
  // File menu, "Import EiBi Schedule...".
  EibiImport eibiImport;
  ScratchpadController scratch;
  LimitRanges limits;
  LimitScanDialog limitDialog;
  BandScanDialog bandDialog;
  OnAirViewController onAir;
  EntryEditor editor;
  RecordClipboard clipboard;
  LookupController lookup;
  RecentFiles recent;
  UserOptionsDialog options;
  // Scheduled broadcasts and their dialog (Tools, Scheduler).
  Scheduler scheduler;
  SkedDialog skedDialog;
  // The log's date format, export sorts and grid layout file.
  LogbookSettings logbook;
  // Their page of the options dialog.
  LogbookOptions logbookOptions;
  // The rigctl server's page of the options dialog.
  RigctlOptions rigctlOptions;

  std::unique_ptr<CommandDispatcher> dispatcher;
  std::unique_ptr<ClockController> clock;
  // Memory, file, limit and band scans; it goes first at the end, before
  // the dialogs and the dispatcher whose hooks it holds.
  std::unique_ptr<ScanEngine> scan;
  // The rigctl-compatible server, when the platform gives it a listener.
  std::unique_ptr<RigctlServer> rigctl;

  // The last error reported since start-up completed (the window shows it
  // under the panel); empty when none.
  std::string lastError;
};

}  // namespace ondaris
