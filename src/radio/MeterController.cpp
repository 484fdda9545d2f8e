#include "radio/MeterController.h"

#include <algorithm>

#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"

namespace ondaris {

MeterController::MeterController(PanelContext& context, Receiver& receiver, ReceiverControls& controls)
    : ctx_(context), receiver_(receiver), controls_(controls) {
  ctx_.timers.MeterTimer.onTimer = [this] { MeterTimerTick(); };
  ctx_.link.onReceived = [this](const std::string& chunk) { ComPortRxChar(chunk); };
}

MeterController::~MeterController() {
  ctx_.timers.MeterTimer.onTimer = nullptr;
  ctx_.link.onReceived = nullptr;
}

void MeterController::MeterTimerTick() { receiver_.SendMeterQuery(); }

void MeterController::ComPortRxChar(const std::string& chunk) {
  const ControlState& bar = ctx_.panel[Ctl::Meter];
  if (const auto strength = assembler_.onChunk(chunk, bar.minimum, bar.maximum)) ShowMeterReading(*strength);
}

void MeterController::ShowMeterReading(int strength) {
  const ControlState& bar = ctx_.panel[Ctl::Meter];
  const int low = bar.minimum;
  const int high = std::max(bar.minimum, bar.maximum);
  recent_[recentNext_] = std::clamp(strength, low, high);
  recentNext_ = (recentNext_ + 1) % SmoothingWindow;
  recentCount_ = std::min(recentCount_ + 1, SmoothingWindow);

  long long sum = 0;
  for (int i = 0; i < recentCount_; ++i) sum += recent_[i];
  const int mean = static_cast<int>(sum / recentCount_);
  ctx_.panel.setValue(Ctl::Meter, std::clamp(mean, low, high));
}

void MeterController::SetMeterMaximum() {
  const int maximum = ctx_.flags.MeterHiSens ? ctx_.state.MeterMax / 4 : ctx_.state.MeterMax;
  ctx_.panel.setRange(Ctl::Meter, 0, maximum);
  const ControlState& bar = ctx_.panel[Ctl::Meter];
  // The bar never shows beyond its new full scale.
  if (bar.value > maximum) ctx_.panel.setValue(Ctl::Meter, std::max(0, maximum));
}

void MeterController::ToggleMeterSensitivity() {
  ctx_.flags.MeterHiSens = !ctx_.flags.MeterHiSens;
  SetMeterMaximum();
  controls_.DrawAGCButtons();
  ctx_.PublishStatus();
}

int MeterController::MeterPercent() const {
  const ControlState& bar = ctx_.panel[Ctl::Meter];
  if (bar.maximum <= 0) return 0;
  const int percent = static_cast<int>(99LL * bar.value / bar.maximum);
  return percent > 100 ? 99 : percent;
}

}  // namespace ondaris
