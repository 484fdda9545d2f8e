#pragma once
// The signal-strength meter: polling five times a second, framing the
// receiver's replies, showing the reading, and the 4x sensitivity toggle.

#include <string>

#include "app/PanelContext.h"
#include "radio/FrameAssembler.h"

namespace ondaris {

class Receiver;
class ReceiverControls;

class MeterController {
 public:
  MeterController(PanelContext& context, Receiver& receiver, ReceiverControls& controls)
      : ctx_(context), receiver_(receiver), controls_(controls) {}

  void MeterTimerTick();                       // sends the query unless shutting down
  void ComPortRxChar(const std::string& chunk);  // receive path: frames, then ShowMeterReading
  void ShowMeterReading(int strength);
  void ToggleMeterSensitivity();               // click on the meter; remote "Mt"
  void SetMeterMaximum();                      // from MeterMax and the sensitivity (start-up, options)

  // Reading as percent of full scale, for the companion's meter report.
  int MeterPercent() const;

 private:
  PanelContext& ctx_;
  Receiver& receiver_;
  ReceiverControls& controls_;
  FrameAssembler assembler_;
  int smoothed_ = 0;
};

}  // namespace ondaris
