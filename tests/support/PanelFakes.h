#pragma once
// The fakes every panel runs on: the serial port and the clock on one fake
// timeline, the panel's timers and the line's pump timer on it, and scripted
// message boxes.

#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "support/FakeClock.h"
#include "support/FakeSerialPort.h"
#include "support/FakeTimeline.h"
#include "support/FakeTimer.h"
#include "support/ScriptedMessageBoxes.h"

namespace ondaris {

struct PanelFakes {
  PanelTimers timers() { return {tuningTimer, meterTimer, scanTimer, clockTimer, debounceTimer}; }
  // Every unit handed to the port so far, signal-strength queries left out.
  std::vector<std::string> sentUnits() const;
  // The same, joined.
  std::string sentBytes() const;
  // Signal-strength queries handed to the port so far.
  int meterQueriesSent() const;

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
};

}  // namespace ondaris
