#include "scan/LimitScanDialog.h"

#include "common/Errors.h"
#include "common/TextHelpers.h"

namespace ondaris {

void LimitScanDialog::FormCreate() {
  const char separator = ctx_.decimalSeparator;
  LoLimitEdit = settings_.LimitLow > 0 ? FormatFrequency(3, true, settings_.LimitLow, separator) : "";
  HiLimitEdit = settings_.LimitHigh > 0 ? FormatFrequency(3, true, settings_.LimitHigh, separator) : "";
}

void LimitScanDialog::LimitScanBtnClick() {
  PanelModel& panel = ctx_.panel;
  panel.setEnabled(Ctl::NowBtn, true);
  ctx_.scan.ScanKind = 0;
  panel.release(Ctl::ScanBtn);
  panel.press(Ctl::LimitScanBtn);

  SelectScanSpeedTable(panel, settings_, LimitScanSpeeds, 3);
  ctx_.scan.ScanKind = 3;
  settings_.MemScanStarted = false;
  ctx_.scan.ScanDirection = 0;

  // Limits that make no range leave the edits as the listener left them.
  const double low = settings_.LimitLow;
  const double high = settings_.LimitHigh;
  const char separator = ctx_.decimalSeparator;
  if (low >= LimitScanLowestKHz && low <= LimitScanHighestKHz && high > low)
    LoLimitEdit = FormatFrequency(3, false, low, separator);
  if (high >= LimitScanLowestKHz && high <= LimitScanHighestKHz && high > low)
    HiLimitEdit = FormatFrequency(3, false, high, separator);

  open_ = true;
  if (show) show(*this);
  Close();
}

bool LimitScanDialog::OKBtnClick() {
  PanelModel& panel = ctx_.panel;
  if (LoLimitEdit.empty() || HiLimitEdit.empty()) {
    ctx_.messages.showMessage(EmptyLimitFieldMessage);
    panel.release(Ctl::LimitScanBtn);
    Close();
    return true;
  }

  double low = 0;
  double high = 0;
  try {
    low = TextToDouble(LoLimitEdit, ctx_.decimalSeparator);
    high = TextToDouble(HiLimitEdit, ctx_.decimalSeparator);
  } catch (const ConversionError& error) {
    ctx_.ReportError(error.what());
    return false;
  }

  if (high >= low && high <= LimitScanHighestKHz && low >= LimitScanLowestKHz) {
    settings_.LimitLow = low;
    settings_.LimitHigh = high;
    settings_.ScanFrequency = low;
    ctx_.scan.ScanDirection = 0;
    ctx_.scan.ScanKind = 3;
    Close();
    const char separator = ctx_.decimalSeparator;
    panel.setCaption(Ctl::StatusPanel, "Limit Scan: " + FormatFrequency(3, false, low, separator) + " to " +
                                           FormatFrequency(3, false, high, separator) + " kHz");
    return true;
  }

  // The kind stays limit scan and the old limits stay.
  LoLimitEdit.clear();
  HiLimitEdit.clear();
  ctx_.messages.showMessage(BadLimitsMessage);
  panel.release(Ctl::LimitScanBtn);
  Close();
  return true;
}

void LimitScanDialog::CancelBtnClick() {
  if (resetScanSelection) resetScanSelection();
  ctx_.panel.release(Ctl::LimitScanBtn);
  Close();
}

}  // namespace ondaris
