#pragma once
// The front panel on the real serial port and Qt timers, its files in a
// folder of its own; no companion, no desktop, and nobody answers its
// questions (No).

#include <QTemporaryDir>

#include <string>

#include "app/FrontPanel.h"
#include "platform/CompanionTransport.h"
#include "platform/Shell.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTimer.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"

namespace ondaris {

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
