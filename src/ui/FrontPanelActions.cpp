#include "ui/FrontPanelActions.h"

#include "app/FrontPanel.h"
#include "freqfiles/FreqFileController.h"
#include "radio/StepTable.h"

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

}  // namespace

void FrontPanelActions::Click(Ctl control) {
  ReceiverControls& controls = panel_.controls;
  TuningController& tuning = panel_.tuning;

  if (FrequencyFileClick(control)) return;
  if (const int row = IndexIn(control, Ctl::FiltBtn0, Ctl::FiltBtn23); row >= 0) {
    controls.FiltBtnClick(row);
    return;
  }
  if (const int row = StepRowOfButton(control); row >= 0) {
    tuning.StepBtnClick(row);
    return;
  }
  if (const int mode = ModeOfButton(control); mode >= 0) {
    controls.ModeBtnClick(mode);
    return;
  }

  switch (control) {
    case Ctl::DecrBWBtn: controls.DecrBWBtnClick(); break;
    case Ctl::IncrBWBtn: controls.IncrBWBtnClick(); break;
    case Ctl::AGCFastBtn: controls.AGCBtnClick(3); break;
    case Ctl::AGCMedBtn: controls.AGCBtnClick(2); break;
    case Ctl::AGCSlowBtn: controls.AGCBtnClick(1); break;
    case Ctl::Meter: panel_.meter.ToggleMeterSensitivity(); break;
    case Ctl::RoundBtn: tuning.RoundBtnClick(); break;
    case Ctl::VFOBtn: tuning.VFOBtnClick(); break;
    case Ctl::PBTBtnUp: controls.PBTBtnUpClick(); break;
    case Ctl::PBTBtnDown: controls.PBTBtnDownClick(); break;
    case Ctl::PBTDisplayPanel: controls.PBTDisplayPanelClick(); break;
    case Ctl::LastFreqBtn: tuning.LastFreqBtnClick(); break;
    case Ctl::FreqUpBtnFast: tuning.FreqUpBtnFastClick(); break;
    case Ctl::FreqDnBtnFast: tuning.FreqDnBtnFastClick(); break;
    case Ctl::FreqUpBtn: tuning.FreqUpBtnClick(); break;
    case Ctl::FreqDnBtn: tuning.FreqDnBtnClick(); break;
    case Ctl::LineMuteBtn: controls.LineMuteBtnClick(); break;
    case Ctl::SpkrMuteBtn: controls.SpkrMuteBtnClick(); break;
    case Ctl::WWV25Btn: tuning.WWVBtnClick(25); break;
    case Ctl::WWV5Btn: tuning.WWVBtnClick(5); break;
    case Ctl::WWV10Btn: tuning.WWVBtnClick(10); break;
    case Ctl::WWV15Btn: tuning.WWVBtnClick(15); break;
    case Ctl::WWV20Btn: tuning.WWVBtnClick(20); break;
    case Ctl::WWVRestoreBtn: tuning.WWVRestoreBtnClick(); break;
    case Ctl::MuteOnExitItem:
    case Ctl::DefaultStepItem:
    case Ctl::DefaultFiltItem: controls.OptionItemClick(control); break;
    default:
      // Scan, scratchpad, files, log, recorder, scheduler and data modes are
      // not wired to the panel yet.
      break;
  }
}

// ---- The station list ------------------------------------------------------

bool FrontPanelActions::FrequencyFileClick(Ctl control) {
  if (!files_) return false;
  switch (control) {
    case Ctl::NewFileItem: files_->NewFileItemClick(); return true;
    case Ctl::LoadFileItem: files_->LoadFileItemClick(); return true;
    case Ctl::AppendFileItem: files_->AppendFileItemClick(); return true;
    case Ctl::SaveFileItem:
    case Ctl::FileOpBtn1: files_->SaveOrSaveAs(); return true;
    case Ctl::SaveFileAsItem: files_->SaveFileAsItemClick(); return true;
    case Ctl::NowBtn: files_->ToggleOnAirView(); return true;
    default: return false;
  }
}

void FrontPanelActions::CtrlKeyUp(char key) {
  // Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+A: the station list.
  if (files_ && files_->CtrlKeyUp(key)) return;
}

void FrontPanelActions::MouseDown(Ctl control) {
  if (control == Ctl::FreqUpBtn) panel_.tuning.FreqUpBtnMouseDown();
  if (control == Ctl::FreqDnBtn) panel_.tuning.FreqDnBtnMouseDown();
}

void FrontPanelActions::MouseUp(Ctl control) {
  if (control == Ctl::FreqUpBtn) panel_.tuning.FreqUpBtnMouseUp();
  if (control == Ctl::FreqDnBtn) panel_.tuning.FreqDnBtnMouseUp();
}

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

bool FrontPanelActions::KeyPress(char key) { return panel_.tuning.KeyPress(key); }

void FrontPanelActions::Shutdown() { panel_.SaveStateAndShutdown(); }

void FrontPanelActions::ReportError(const std::string& text) { panel_.ReportError(text); }

std::string FrontPanelActions::ProgramDir() const { return panel_.programDir(); }

}  // namespace ondaris
