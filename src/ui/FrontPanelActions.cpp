#include "ui/FrontPanelActions.h"

#include "app/FrontPanel.h"
#include "platform/Shell.h"
#include "radio/StepTable.h"
#include "ui/MasterListDialog.h"

namespace ondaris {

namespace {

int IndexIn(Ctl control, Ctl first, Ctl last) {
  const int i = static_cast<int>(control);
  if (i < static_cast<int>(first) || i > static_cast<int>(last)) return -1;
  return i - static_cast<int>(first);
}

int StepRowOfButton(Ctl control) {
  for (int row = 0; row < StepCount; ++row)
    if (StepButton(row) == control) return row;
  return -1;
}

int ModeOfButton(Ctl control) {
  for (int mode = 0; mode < 4; ++mode)
    if (ModeButton(mode) == control) return mode;
  return -1;
}

int ScratchpadChannelOf(Ctl control) { return IndexIn(control, Ctl::ScpdBtn0, Ctl::ScpdBtn15); }

}  // namespace

void FrontPanelActions::Click(Ctl control) {
  if (ReceiverClick(control)) return;
  if (FrequencyFileClick(control)) return;
  if (ScratchpadClick(control)) return;
  if (const int slot = IndexIn(control, Ctl::LimRange1, Ctl::LimRange20); slot >= 0) {
    panel_.limits.LimRangeClick(slot + 1);
    return;
  }
  if (ScanClick(control)) return;
  switch (control) {
    case Ctl::MFLGenItem: panel_.MasterFreqClick(); break;
    case Ctl::MFLViewItem: ShowMasterListViewer(); break;
    case Ctl::BackupItem: panel_.BackupItemClick(); break;
    case Ctl::UserOptionsItem: panel_.options.UsrOptions1Click(); break;
    case Ctl::DataModeBtn: panel_.dataModes.DataModeBtnMouseUp(DataModeController::MouseButton::Left); break;
    case Ctl::SkedItem: panel_.skedDialog.SkedItemClick(); break;
    default:
      for (const auto& click : moreClicks)
        if (click && click(control)) return;
      break;
  }
}

bool FrontPanelActions::ScanClick(Ctl control) {
  ScanEngine& scan = *panel_.scan;
  if (const int button = IndexIn(control, Ctl::ScanSpd0Btn, Ctl::ScanSpd5Btn); button >= 0) {
    scan.ScanSpdBtnClick(button);
    return true;
  }
  switch (control) {
    case Ctl::ScanBtn: scan.ScanBtnClick(); return true;
    case Ctl::StopBtn: scan.StopBtnClick(); return true;
    case Ctl::MemScanBtn: scan.MemScanBtnClick(); return true;
    case Ctl::FileScanBtn: scan.FileScanBtnClick(); return true;
    case Ctl::LimitScanBtn: panel_.limitDialog.LimitScanBtnClick(); return true;
    case Ctl::BandScanBtn: scan.BandScanBtnClick(); return true;
    default: return false;
  }
}

bool FrontPanelActions::ReceiverClick(Ctl control) {
  ReceiverControls& controls = panel_.controls;
  TuningController& tuning = panel_.tuning;

  if (const int row = IndexIn(control, Ctl::FiltBtn0, Ctl::FiltBtn23); row >= 0) {
    controls.FiltBtnClick(row);
    return true;
  }
  if (const int row = StepRowOfButton(control); row >= 0) {
    tuning.StepBtnClick(row);
    return true;
  }
  if (const int mode = ModeOfButton(control); mode >= 0) {
    controls.ModeBtnClick(mode);
    return true;
  }
  switch (control) {
    case Ctl::DecrBWBtn: controls.DecrBWBtnClick(); return true;
    case Ctl::IncrBWBtn: controls.IncrBWBtnClick(); return true;
    case Ctl::AGCFastBtn: controls.AGCBtnClick(3); return true;
    case Ctl::AGCMedBtn: controls.AGCBtnClick(2); return true;
    case Ctl::AGCSlowBtn: controls.AGCBtnClick(1); return true;
    case Ctl::Meter: panel_.meter.ToggleMeterSensitivity(); return true;
    case Ctl::RoundBtn: tuning.RoundBtnClick(); return true;
    case Ctl::VFOBtn: tuning.VFOBtnClick(); return true;
    case Ctl::PBTBtnUp: controls.PBTBtnUpClick(); return true;
    case Ctl::PBTBtnDown: controls.PBTBtnDownClick(); return true;
    case Ctl::PBTDisplayPanel: controls.PBTDisplayPanelClick(); return true;
    case Ctl::LastFreqBtn: tuning.LastFreqBtnClick(); return true;
    case Ctl::FreqUpBtnFast: tuning.FreqUpBtnFastClick(); return true;
    case Ctl::FreqDnBtnFast: tuning.FreqDnBtnFastClick(); return true;
    case Ctl::FreqUpBtn: tuning.FreqUpBtnClick(); return true;
    case Ctl::FreqDnBtn: tuning.FreqDnBtnClick(); return true;
    case Ctl::LineMuteBtn: controls.LineMuteBtnClick(); return true;
    case Ctl::SpkrMuteBtn: controls.SpkrMuteBtnClick(); return true;
    case Ctl::WWV25Btn: tuning.WWVBtnClick(25); return true;
    case Ctl::WWV5Btn: tuning.WWVBtnClick(5); return true;
    case Ctl::WWV10Btn: tuning.WWVBtnClick(10); return true;
    case Ctl::WWV15Btn: tuning.WWVBtnClick(15); return true;
    case Ctl::WWV20Btn: tuning.WWVBtnClick(20); return true;
    case Ctl::WWVRestoreBtn: tuning.WWVRestoreBtnClick(); return true;
    case Ctl::MuteOnExitItem:
    case Ctl::DefaultStepItem:
    case Ctl::DefaultFiltItem: controls.OptionItemClick(control); return true;
    default: return false;
  }
}

// ---- The station list ------------------------------------------------------

bool FrontPanelActions::FrequencyFileClick(Ctl control) {
  FreqFileController& files = panel_.files;
  if (EditCommandClick(control, panel_.editor, panel_.clipboard)) return true;
  if (panel_.recent.ReopenItemClick(control)) return true;
  switch (control) {
    case Ctl::NewFileItem: files.NewFileItemClick(); return true;
    case Ctl::LoadFileItem: files.LoadFileItemClick(); return true;
    case Ctl::AppendFileItem: files.AppendFileItemClick(); return true;
    case Ctl::ImportEibiItem: panel_.eibiImport.ImportEibiItemClick(); return true;
    case Ctl::SaveFileItem:
    case Ctl::FileOpBtn1: files.SaveOrSaveAs(); return true;
    case Ctl::SaveFileAsItem: files.SaveFileAsItemClick(); return true;
    case Ctl::NowBtn: panel_.onAir.NowBtnClick(); return true;
    case Ctl::LkBtn: panel_.onAir.LkBtnClick(); return true;
    case Ctl::LookupBtn: panel_.lookup.LookupBtnClick(); return true;
    default: return false;
  }
}

void FrontPanelActions::ShowMasterListViewer() {
  if (showMasterListViewer) {
    showMasterListViewer();
    return;
  }
  MasterListDialog::ShowViewer(dialogParent_, panel_.files, panel_.context,
                               [this](const std::string& text) { panel_.ReportError(text); });
}

// ---- The scratchpad ----------------------------------------------------------

bool FrontPanelActions::ScratchpadClick(Ctl control) {
  ScratchpadController& scratch = panel_.scratch;
  if (const int bank = IndexIn(control, Ctl::Bank1, Ctl::Bank10); bank >= 0) {
    scratch.SelectOrToggleBank(bank + 1);
    return true;
  }
  // The memory buttons act on mouse down; their click has nothing left to do.
  if (ScratchpadChannelOf(control) >= 0) return true;
  switch (control) {
    case Ctl::SaveScpdItem: scratch.SaveScpdItemClick(); return true;
    case Ctl::TagBtn: scratch.TagBtnClick(); return true;
    case Ctl::LockoutBtn: scratch.LockoutBtnClick(); return true;
    case Ctl::BankUpBtn: scratch.BankUpBtnClick(); return true;
    case Ctl::BankDnBtn: scratch.BankDnBtnClick(); return true;
    case Ctl::BankDispPanel: scratch.BankDispPanelClick(); return true;
    case Ctl::BankTagItem: scratch.BankTagItemClick(); return true;
    case Ctl::ClrMemItem: scratch.ClrMemItemClick(); return true;
    case Ctl::ClearBankItem: scratch.ClearBankItemClick(); return true;
    default: return false;
  }
}

// ---- Mouse buttons -----------------------------------------------------------

void FrontPanelActions::MouseDown(Ctl control) {
  if (const int channel = ScratchpadChannelOf(control); channel >= 0) {
    panel_.scratch.ScpdBtnMouseDown(channel, ScratchpadController::MouseButton::Left);
    return;
  }
  if (control == Ctl::FreqUpBtn) panel_.tuning.FreqUpBtnMouseDown();
  if (control == Ctl::FreqDnBtn) panel_.tuning.FreqDnBtnMouseDown();
}

void FrontPanelActions::MouseUp(Ctl control) {
  if (control == Ctl::FreqUpBtn) panel_.tuning.FreqUpBtnMouseUp();
  if (control == Ctl::FreqDnBtn) panel_.tuning.FreqDnBtnMouseUp();
}

void FrontPanelActions::RightClick(Ctl control) {
  if (control == Ctl::DataModeBtn) {
    panel_.dataModes.DataModeBtnMouseUp(DataModeController::MouseButton::Right);
    return;
  }
  if (const int channel = ScratchpadChannelOf(control); channel >= 0)
    panel_.scratch.ScpdBtnMouseDown(channel, ScratchpadController::MouseButton::Right);
}

void FrontPanelActions::MiddleClick(Ctl control) {
  if (const int channel = ScratchpadChannelOf(control); channel >= 0)
    panel_.scratch.ScpdBtnMouseDown(channel, ScratchpadController::MouseButton::Middle);
}

// ---- Keys ----------------------------------------------------------------------

void FrontPanelActions::CtrlKeyUp(char key) {
  // Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+A: the station list's file commands.
  if (panel_.files.CtrlKeyUp(key)) return;
  // Ctrl+E, Ctrl+C, Ctrl+X, Ctrl+V and Ctrl with =/+: the Edit menu.
  if (EditCommandCtrlKeyUp(key, panel_.panel, panel_.editor, panel_.clipboard)) return;
  // Ctrl+P saves the scratchpad; Ctrl+1..Ctrl+9 and Ctrl+0 choose bank 1..10.
  if (key == 'P') {
    panel_.scratch.SaveScpdItemClick();
    return;
  }
  if (key >= '1' && key <= '9') {
    panel_.scratch.SelectOrToggleBank(key - '0');
    return;
  }
  if (key == '0') panel_.scratch.SelectOrToggleBank(10);
}

bool FrontPanelActions::KeyPress(char key) { return panel_.tuning.KeyPress(key); }

// ---- The rest --------------------------------------------------------------------

void FrontPanelActions::ValueChanged(Ctl control, int value) {
  switch (control) {
    case Ctl::TuningSpeedTrackbar: panel_.tuning.TuningSpeedTrackbarChange(value); break;
    case Ctl::SpkrTrackbar: panel_.controls.SpkrTrackbarChange(value); break;
    case Ctl::LineTrackbar: panel_.controls.LineTrackbarChange(value); break;
    default: break;
  }
}

void FrontPanelActions::DisplayClick(int x, int y, int width, int height) {
  panel_.tuning.FreqDispPanelClick(x, y, width, height);
}

void FrontPanelActions::Shutdown() { panel_.SaveStateAndShutdown(); }

void FrontPanelActions::ReportError(const std::string& text) { panel_.ReportError(text); }

std::string FrontPanelActions::ProgramDir() const { return panel_.programDir(); }

bool FrontPanelActions::OpenWithShell(const std::string& target, std::string& error) {
  return panel_.platform.shell.open(target, error);
}

}  // namespace ondaris
