#pragma once
// The data-mode button and the programming dialog "Program and Review Data
// Modes" (TDataPgmDlg) without its window. DataModeBtn shows "D-1".."D-5": a
// left click applies the mode shown (or, while a data mode is in effect,
// steps to the next one and applies that), a right click opens the dialog
// for the mode shown. While a data mode is in effect DataBFOActive is set and
// CW tuning uses the mode's own offset; every mode button ends that.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "radio/DataModes.h"
#include "radio/RadioState.h"

namespace ondaris {

class Receiver;
class ReceiverControls;
class TuningController;
class DataModeController;

inline constexpr const char* NoDataModesMessage =
    "No data modes have been programmed.\nRight-click to program this data mode.  Once the first mode has been "
    "programmed, you can scroll through the data modes, right-clicking to program the selected mode.";
inline constexpr const char* EnterPBTMessage = "Enter a PBT offset value.";
inline constexpr const char* PBTRangeMessage = "The PBT offset value must be between -2000 and 2000 Hz.";
inline constexpr const char* NoBandwidthMessage = "You must enter or choose a filter bandwidth.";
inline constexpr const char* BadBandwidthMessage = "You entered an invalid filter bandwidth.";
inline constexpr const char* BadStepMessage = "You entered an invalid tuning step size.";
inline constexpr const char* NoModeMessage = "You must select a mode.";
inline constexpr const char* NoAGCMessage = "Please select an AGC mode.";
inline constexpr const char* CWToneRangeMessage = "The CW Tone must be between -3000 and 3000 Hz";

// One row of the review table; all empty for a mode not programmed.
struct DataModeReviewRow {
  std::string title, mode, bandwidth, step, pbt, cwTone, agc;
};

// The dialog's fields. The window shows them, writes the edited ones back
// and forwards the buttons; OKBtnClick says whether the dialog closes.
class DataProgramDialog {
 public:
  static constexpr const char* Caption = "Program and Review Data Modes";

  explicit DataProgramDialog(DataModeController& owner) : owner_(owner) {}

  std::string Heading;  // "Now Programming Mode D-n"
  std::array<DataModeReviewRow, DataModeCount> Review;
  std::vector<std::string> FiltComboItems;  // the 24 bandwidths
  std::vector<std::string> StepComboItems;  // the 9 steps, 1 .. 10000
  std::string TitleEdit, PBTEdit, CWTEdit, FiltCombo, StepCombo;
  int ModeChoice = -1;  // AMChk 0, USBChk 1, LSBChk 2, CWChk 3; -1 none
  int AGCChoice = 0;    // SlowChk 1, MedChk 2, FastChk 3; 0 none
  int DataModeNumber = 1;

  // "Get Tuning": the present tuning into the fields.
  void GetBtnClick();
  // Checks the fields in order and stops at the first refusal with its
  // message; the record changes only when every field is accepted (then the
  // file is written and, with DataModeBtn down, the mode is applied). A
  // number field that is no number goes to ctx.ReportError. True: closes.
  bool OKBtnClick();
  void CancelBtnClick() {}

 private:
  DataModeController& owner_;
};

class DataModeController {
 public:
  DataModeController(PanelContext& context, Receiver& receiver, ReceiverControls& controls, TuningController& tuning,
                     const std::string& programDir);

  DataModes modes{};
  DataProgramDialog dialog{*this};
  // Shows the programming dialog modally (set by the window).
  std::function<void(DataProgramDialog&)> show;

  // Start-up: reads SysFiles/DataModes.dat; a missing file gives the
  // defaults silently, a short or damaged one says what was put right.
  void Load();

  enum class MouseButton { Left, Right, Middle };
  void DataModeBtnMouseUp(MouseButton button);
  // The number 1..5 the button shows.
  int ShownNumber() const;

  void SelectDataMode(int n);
  void ApplyDataMode(int n);
  void ProgramDataMode(int n);
  void Save();

  // "AM", "USB", "LSB", "CW", or "?".
  static std::string ModeName(int mode);

 private:
  friend class DataProgramDialog;
  void FillReview();

  PanelContext& ctx_;
  Receiver& receiver_;
  ReceiverControls& controls_;
  TuningController& tuning_;
  const std::string& programDir_;
};

}  // namespace ondaris
