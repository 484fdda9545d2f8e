#pragma once
// The only senders to the receiver: the tuning, the volumes, the meter query
// and the exit mute. Every control that changes a setting updates RadioState
// and calls one of these.

#include <string>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"

namespace ondaris {

class Receiver {
 public:
  explicit Receiver(PanelContext& context) : ctx_(context) {}

  // Sends filter, tune, mode and AGC for the present state, then refreshes
  // the frequency display, the window title and the companion's report.
  // Throws SerialError when the port cannot be opened.
  void TuneRadio();
  // Redraws the two mute buttons and sends both volume commands.
  void SendVolumes();
  // The signal-strength query (not while shutting down).
  void SendMeterQuery();
  // Mutes the receiver at exit.
  void SendExitMute();

  // The text of the frequency display for the present state ("10000.000",
  // with an asterisk while the clock radio is armed).
  std::string FrequencyDisplayText() const;
  // The window title: the frequency with trailing zero decimals dropped.
  std::string TitleText() const;
  // Shows the present frequency in the display again (e.g. after typing).
  void ShowFrequency();

 private:
  PanelContext& ctx_;
};

}  // namespace ondaris
