#pragma once
// Mode, filter, AGC, passband tuning, volume and mute controls, and the three
// option menu items that shape them.

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"

namespace ondaris {

class Receiver;
class TuningController;

class ReceiverControls {
 public:
  ReceiverControls(PanelContext& context, Receiver& receiver) : ctx_(context), receiver_(receiver) {}
  void setTuning(TuningController* tuning) { tuning_ = tuning; }

  // Mode buttons: clears the data-mode offset, shows the mode name, applies
  // the default filter and step when those options are on, and tunes.
  void ModeBtnClick(int mode);
  // The same without clearing the data-mode offset and without the status
  // text: used while another stored tuning is being loaded.
  void SelectModeQuietly(int mode);
  // Presses the mode's button without any action (start-up).
  void ShowMode(int mode);

  void SelectFilter(int row);  // sets the filter fields and presses its button; no tuning
  void FiltBtnClick(int row);  // SelectFilter + TuneRadio
  void IncrBWBtnClick();       // wider
  void DecrBWBtnClick();       // narrower

  void ShowAGCFast();
  void ShowAGCMedium();
  void ShowAGCSlow();
  void ShowAGC(int agc);       // 1..3, no transmission; other values change nothing
  void AGCBtnClick(int agc);   // 1 slow, 2 medium, 3 fast; tunes
  void DrawAGCButtons();       // maroon bold current button while the meter is at 4x

  void PBTBtnUpClick();
  void PBTBtnDownClick();
  void PBTDisplayPanelClick();  // centre
  void ShowPBT();

  void SpkrTrackbarChange(int position);  // 0..50
  void LineTrackbarChange(int position);
  void SpkrMuteBtnClick();
  void LineMuteBtnClick();

  // MuteOnExitItem, DefaultFiltItem, DefaultStepItem: toggle check and flag.
  void OptionItemClick(Ctl item);
  // Check marks and flags from their stored start values (start-up).
  void ApplyOptionDefaults();

 private:
  // Default filter and step of the mode, when those options are on.
  void ApplyModeDefaults(int mode);

  PanelContext& ctx_;
  Receiver& receiver_;
  TuningController* tuning_ = nullptr;
};

}  // namespace ondaris
