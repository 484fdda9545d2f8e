#pragma once
// Choosing limit scan: the Limit Scan button and what the "Limit Scan Setup"
// dialog (TLimitScanDlg) does, without its window. The window shows the two
// edits with LoLimitEdit and HiLimitEdit, writes the edited texts back and
// forwards OK and Cancel; OKBtnClick says whether the dialog closes.

#include <functional>
#include <string>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "scan/LimitRanges.h"

namespace ondaris {

inline constexpr const char* EmptyLimitFieldMessage = "You must enter values in both fields.";
inline constexpr const char* BadLimitsMessage = "Limit frequencies are not configured properly.";

inline constexpr double LimitScanLowestKHz = 10.0;
inline constexpr double LimitScanHighestKHz = 30000.0;

class LimitScanDialog {
 public:
  static constexpr const char* Caption = "Limit Scan Setup";
  static constexpr const char* LowLabel = "Enter Low Limit (kHz):";
  static constexpr const char* HighLabel = "Enter High Limit (kHz):";
  static constexpr const char* LowHint = "Enter the low limit scan frequency in kHz (100 to 30000)";
  static constexpr const char* HighHint = "Enter the high limit scan frequency in kHz (100 to 30000)";
  static constexpr const char* OKCaption = "OK";  // the default button
  static constexpr const char* OKHint = "Exit and keep the limits";
  static constexpr const char* CancelCaption = "Cancel";
  static constexpr const char* CancelHint = "Exit without changing the limits";

  LimitScanDialog(PanelContext& context, ScanSettings& settings) : ctx_(context), settings_(settings) {}
  LimitScanDialog(const LimitScanDialog&) = delete;
  LimitScanDialog& operator=(const LimitScanDialog&) = delete;

  // The texts of the two edits.
  std::string LoLimitEdit;
  std::string HiLimitEdit;

  // Shows the dialog modally; returns once OK or Cancel has been forwarded
  // (or the window was closed otherwise, which changes nothing).
  std::function<void(LimitScanDialog&)> show;
  // The scan engine's ResetScanSelection (forgets the chosen scan kind).
  std::function<void()> resetScanSelection;

  // Once, when the dialog is created at start-up: each edit shows its limit
  // with three decimals when it is above 0, else nothing.
  void FormCreate();

  // The Limit Scan button: chooses limit scan with its speed table (speed
  // 3, 200 ms), fills the edits from valid limits and shows the dialog.
  // Scanning starts later, with the Scan button.
  void LimitScanBtnClick();

  // Returns true when the dialog closes. Accepted limits become LimitLow,
  // LimitHigh and ScanFrequency and are shown in StatusPanel; empty fields
  // and limits out of order or outside 10..30000 kHz are refused with their
  // messages. A text that is no number goes to ctx.ReportError, changes
  // nothing and leaves the dialog open.
  bool OKBtnClick();
  void CancelBtnClick();

  bool isOpen() const { return open_; }

 private:
  void Close() { open_ = false; }

  PanelContext& ctx_;
  ScanSettings& settings_;
  bool open_ = false;
};

}  // namespace ondaris
