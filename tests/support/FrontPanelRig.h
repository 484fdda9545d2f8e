// Everything a whole FrontPanel runs on, as fakes: the serial port, the clock
// and timers on one timeline, scripted message boxes and file dialogs, and a
// companion link and shell that record what they were given.

#pragma once

#include <string>
#include <vector>

#include "app/FrontPanel.h"
#include "platform/CompanionTransport.h"
#include "platform/Shell.h"
#include "support/FakeClock.h"
#include "support/FakeSerialPort.h"
#include "support/FakeTimeline.h"
#include "support/FakeTimer.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"

namespace ondaris {

class RecordingCompanion : public CompanionTransport {
 public:
  bool listen(std::string& error) override {
    ++listenCalls;
    if (!listenError.empty()) {
      error = listenError;
      return false;
    }
    listening = true;
    return true;
  }
  void close() override { listening = false; }
  void send(const std::string& text) override { sent.push_back(text); }

  bool listening = false;
  int listenCalls = 0;
  std::string listenError;
  std::vector<std::string> sent;
};

class RecordingShell : public Shell {
 public:
  bool open(const std::string& target, std::string&) override {
    opened.push_back(target);
    return true;
  }
  std::vector<std::string> opened;
};

struct FrontPanelRig {
  PanelPlatform platform() {
    return PanelPlatform{port,       clock,      messages,   companion,     shell,     tuningTimer,
                         meterTimer, scanTimer, clockTimer, debounceTimer, pumpTimer, fileDialogs};
  }

  FakeTimeline timeline;
  FakeClock clock{timeline};
  FakeSerialPort port{&timeline};
  FakeTimer tuningTimer{timeline, "TuningTimer"};
  FakeTimer meterTimer{timeline, "MeterTimer"};
  FakeTimer scanTimer{timeline, "ScanTimer"};
  FakeTimer clockTimer{timeline, "ClockTimer"};
  FakeTimer debounceTimer{timeline, "DebounceTimer"};
  FakeTimer pumpTimer{timeline, "LinkPump"};
  ScriptedMessageBoxes messages;
  RecordingCompanion companion;
  RecordingShell shell;
  ScriptedFileDialogs fileDialogs;
};

}  // namespace ondaris
