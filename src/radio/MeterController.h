#pragma once
// The signal-strength meter: polling five times a second, framing the
// receiver's replies, showing the reading, and the 4x sensitivity toggle.

#include <array>
#include <string>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "radio/FrameAssembler.h"

namespace ondaris {

class Receiver;
class ReceiverControls;

class MeterController {
 public:
  // Takes over the MeterTimer's ticks and the link's received bytes.
  MeterController(PanelContext& context, Receiver& receiver, ReceiverControls& controls);
  ~MeterController();
  MeterController(const MeterController&) = delete;
  MeterController& operator=(const MeterController&) = delete;

  // The bar shows the mean of the last few readings (each clamped to the
  // bar's range first): steady enough to read, yet only about half a second
  // behind the signal. Fewer readings so far: the mean of those there are.
  static constexpr int SmoothingWindow = 3;

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
  std::array<int, SmoothingWindow> recent_{};
  int recentCount_ = 0;
  int recentNext_ = 0;
};

}  // namespace ondaris
