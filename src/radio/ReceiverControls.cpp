#include "radio/ReceiverControls.h"

#include <algorithm>
#include <string>

#include "radio/Receiver.h"
#include "radio/Rx320Protocol.h"
#include "radio/TuningController.h"

namespace ondaris {

namespace {
constexpr int PBTStepHz = 50;
constexpr int PBTLimitHz = 2000;
constexpr int VolumeOffset = 13;  // trackbar position 0 is receiver volume 13
constexpr int TrackbarMaximum = 50;

int ValidMode(int mode) { return (mode >= 0 && mode <= 3) ? mode : 0; }

Ctl AGCButton(int agc) {
  switch (agc) {
    case 1: return Ctl::AGCSlowBtn;
    case 2: return Ctl::AGCMedBtn;
    case 3: return Ctl::AGCFastBtn;
    default: return Ctl::Count;
  }
}
}  // namespace

// ---- Mode ----------------------------------------------------------------

void ReceiverControls::ModeBtnClick(int mode) {
  mode = ValidMode(mode);
  ctx_.state.DataBFOActive = 0;
  ctx_.state.Mode = static_cast<std::uint8_t>(mode);
  ctx_.panel.press(ModeButton(mode));
  ctx_.panel.setCaption(Ctl::StatusPanel, ModeTableEntry(mode).name);
  ApplyModeDefaults(mode);
  receiver_.TuneRadio();
}

void ReceiverControls::SelectModeQuietly(int mode) {
  mode = ValidMode(mode);
  ctx_.state.Mode = static_cast<std::uint8_t>(mode);
  ctx_.panel.press(ModeButton(mode));
  ApplyModeDefaults(mode);
  receiver_.TuneRadio();
}

void ReceiverControls::ShowMode(int mode) { ctx_.panel.press(ModeButton(ValidMode(mode))); }

void ReceiverControls::ApplyModeDefaults(int mode) {
  RadioState& s = ctx_.state;
  int filterRow = s.AMFilterIndex;
  int stepRow = s.AMStepIndex;
  if (mode == static_cast<int>(Mode::USB) || mode == static_cast<int>(Mode::LSB)) {
    filterRow = s.SSBFilterIndex;
    stepRow = s.SSBStepIndex;
  } else if (mode == static_cast<int>(Mode::CW)) {
    filterRow = s.CWFilterIndex;
    stepRow = s.CWStepIndex;
  }
  if (s.UseDefaultFilters) SelectFilter(filterRow);
  if (s.UseDefaultSteps && tuning_) {
    s.StepIndex = stepRow;
    tuning_->SetTuningStep(tuning_->StepValueOfRow(stepRow));
  }
}

// ---- Filter --------------------------------------------------------------

void ReceiverControls::SelectFilter(int row) {
  ctx_.state.SelectFilterRow(row);
  ctx_.panel.press(FilterButton(ctx_.state.FilterIndex));
}

void ReceiverControls::FiltBtnClick(int row) {
  SelectFilter(row);
  receiver_.TuneRadio();
}

void ReceiverControls::IncrBWBtnClick() {
  const int row = ctx_.state.FilterIndex - 1;
  if (row < 0) return;
  FiltBtnClick(row);
}

void ReceiverControls::DecrBWBtnClick() {
  const int row = ctx_.state.FilterIndex + 1;
  if (row >= FilterCount) return;
  FiltBtnClick(row);
}

// ---- AGC -----------------------------------------------------------------

void ReceiverControls::ShowAGCFast() { ShowAGC(3); }
void ReceiverControls::ShowAGCMedium() { ShowAGC(2); }
void ReceiverControls::ShowAGCSlow() { ShowAGC(1); }

void ReceiverControls::ShowAGC(int agc) {
  const Ctl button = AGCButton(agc);
  if (button == Ctl::Count) return;  // not an AGC setting: leave everything as it is
  ctx_.state.AGC = agc;
  ctx_.panel.press(button);
  DrawAGCButtons();
}

void ReceiverControls::AGCBtnClick(int agc) {
  if (AGCButton(agc) == Ctl::Count) return;
  ShowAGC(agc);
  receiver_.TuneRadio();
}

void ReceiverControls::DrawAGCButtons() {
  for (int agc = 1; agc <= 3; ++agc) {
    const bool marked = ctx_.flags.MeterHiSens && ctx_.state.AGC == agc;
    ctx_.panel.setFont(AGCButton(agc), marked ? Colour::Maroon : Colour::Black, marked);
  }
}

// ---- Passband tuning -----------------------------------------------------

void ReceiverControls::PBTBtnUpClick() {
  if (ctx_.state.PBT + PBTStepHz > PBTLimitHz) return;
  ctx_.state.PBT += PBTStepHz;
  ShowPBT();
  receiver_.TuneRadio();
}

void ReceiverControls::PBTBtnDownClick() {
  if (ctx_.state.PBT - PBTStepHz < -PBTLimitHz) return;
  ctx_.state.PBT -= PBTStepHz;
  ShowPBT();
  receiver_.TuneRadio();
}

void ReceiverControls::PBTDisplayPanelClick() {
  ctx_.state.PBT = 0;
  ShowPBT();
  receiver_.TuneRadio();
}

void ReceiverControls::ShowPBT() { ctx_.panel.setCaption(Ctl::PBTDisplayPanel, std::to_string(ctx_.state.PBT)); }

// ---- Volume and mutes ----------------------------------------------------

void ReceiverControls::SpkrTrackbarChange(int position) {
  position = std::clamp(position, 0, TrackbarMaximum);
  ctx_.panel.setValue(Ctl::SpkrTrackbar, position);
  ctx_.state.SpkrVolume = static_cast<std::uint8_t>(position + VolumeOffset);
  receiver_.SendVolumes();
}

void ReceiverControls::LineTrackbarChange(int position) {
  position = std::clamp(position, 0, TrackbarMaximum);
  ctx_.panel.setValue(Ctl::LineTrackbar, position);
  ctx_.state.LineVolume = static_cast<std::uint8_t>(position + VolumeOffset);
  receiver_.SendVolumes();
}

void ReceiverControls::SpkrMuteBtnClick() {
  RadioState& s = ctx_.state;
  s.SpkrMute = s.SpkrMute ? 0 : 1;
  if (s.MuteTogether) s.LineMute = s.SpkrMute;
  receiver_.SendVolumes();
}

void ReceiverControls::LineMuteBtnClick() {
  RadioState& s = ctx_.state;
  s.LineMute = s.LineMute ? 0 : 1;
  if (s.MuteTogether) s.SpkrMute = s.LineMute;
  receiver_.SendVolumes();
}

// ---- Option menu items ---------------------------------------------------

void ReceiverControls::OptionItemClick(Ctl item) {
  std::uint8_t* flag = nullptr;
  switch (item) {
    case Ctl::MuteOnExitItem: flag = &ctx_.state.MuteOnExit; break;
    case Ctl::DefaultFiltItem: flag = &ctx_.state.UseDefaultFilters; break;
    case Ctl::DefaultStepItem: flag = &ctx_.state.UseDefaultSteps; break;
    default: return;
  }
  *flag = *flag ? 0 : 1;
  ctx_.panel.setChecked(item, *flag != 0);
}

void ReceiverControls::ApplyOptionDefaults() {
  RadioState& s = ctx_.state;
  s.UseDefaultFilters = s.UseDefaultFiltersAsDefault ? 1 : 0;
  s.UseDefaultSteps = s.UseDefaultStepsAsDefault ? 1 : 0;
  s.MuteOnExit = s.MuteOnExitAsDefault ? 1 : 0;
  ctx_.panel.setChecked(Ctl::DefaultFiltItem, s.UseDefaultFilters != 0);
  ctx_.panel.setChecked(Ctl::DefaultStepItem, s.UseDefaultSteps != 0);
  ctx_.panel.setChecked(Ctl::MuteOnExitItem, s.MuteOnExit != 0);
}

}  // namespace ondaris
