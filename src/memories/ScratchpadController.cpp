#include "memories/ScratchpadController.h"

#include <initializer_list>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/TextHelpers.h"
#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"
#include "radio/TuningController.h"

namespace ondaris {

namespace {
constexpr double RestoreToleranceKHz = 0.5;  // a re-store this close keeps the tag

std::string CutTag(const std::string& text) { return text.substr(0, ScratchpadTagCapacity); }
}  // namespace

ScratchpadController::ScratchpadController(PanelContext& context, Receiver& receiver, ReceiverControls& controls,
                                           TuningController& tuning, std::string programDir)
    : ctx_(context), receiver_(receiver), controls_(controls), tuning_(tuning), programDir_(std::move(programDir)) {
  tagEntryDialog.onOK = [this](const std::string& text) { ApplyTag(text); };
  bankTagDialog.onOK = [this](const std::string& text) { ApplyBankTag(text); };
}

// ---- Files ---------------------------------------------------------------

void ScratchpadController::LoadScratchpad() {
  const std::optional<std::string> bytes = ReadWholeFile(ScratchpadDatPath(programDir_));
  if (bytes) {
    DecodeScratchpad(*bytes, pad);
  } else {
    ctx_.messages.showMessage(MissingScratchpadMessage);
    pad.CurrentBank = 1;
    pad.BankEnabled.fill(0);
    pad.Reset();
  }
  ShowBankChecks();
  ShowScratchpadBank();
  BuildBankMenuCaptions();
  ShowBankStatus();
}

bool ScratchpadController::SaveScratchpad() {
  try {
    WriteScratchpadFile(ScratchpadDatPath(programDir_), pad);
    return true;
  } catch (const FileError& error) {
    ctx_.messages.showMessage(std::string(ScratchpadSaveFailedMessage) + "\n" + error.what());
    return false;
  }
}

// ---- Drawing -------------------------------------------------------------

void ScratchpadController::ShowScratchpadBank() {
  PanelModel& panel = ctx_.panel;
  panel.setCaption(Ctl::BankDispPanel, std::to_string(pad.CurrentBank));
  for (int ch = 0; ch < ScratchpadChannelCount; ++ch) {
    const ScratchpadChannel& c = pad.channel(pad.CurrentBank, ch);
    const Ctl button = ScratchpadButton(ch);
    if (c.empty()) {
      panel.setCaption(button, "");
      panel.setHint(button, "");
      continue;
    }
    panel.setCaption(button, FormatFrequency(3, false, c.Frequency, ctx_.decimalSeparator));
    panel.setHint(button, c.Tag);
    panel.setColour(button, c.Lockout == 1 ? Colour::Black : Colour::Maroon);
  }
}

void ScratchpadController::ClearScratchpadButtons() {
  for (int ch = 0; ch < ScratchpadChannelCount; ++ch) {
    const Ctl button = ScratchpadButton(ch);
    ctx_.panel.setCaption(button, "");
    ctx_.panel.release(button);
    ctx_.panel.setColour(button, Colour::Maroon);
  }
}

void ScratchpadController::BuildBankMenuCaptions() {
  for (int bank = 1; bank <= ScratchpadBankCount; ++bank) {
    const std::string number = bank == 10 ? "1&0" : "&" + std::to_string(bank);
    ctx_.panel.setCaption(BankItem(bank - 1), "Bank " + number + ":  " + pad.bankTag(bank));
  }
}

void ScratchpadController::ShowBankStatus() {
  if (ctx_.scan.ScanState != 0) return;
  ctx_.panel.setCaption(Ctl::StatusPanel,
                        "Bank " + std::to_string(pad.CurrentBank) + ":  " + pad.bankTag(pad.CurrentBank));
}

void ScratchpadController::ShowBankChecks() {
  for (int bank = 1; bank <= ScratchpadBankCount; ++bank)
    ctx_.panel.setChecked(BankItem(bank - 1), pad.bankEnabled(bank));
}

// ---- Tuning --------------------------------------------------------------

void ScratchpadController::RecallScratchpadChannel() {
  const int scanState = ctx_.scan.ScanState;
  if (scanState == 1 || scanState == 3 || scanState == 4) return;
  if (tuning_.flags.WWVMode != 0) return;
  if (tuning_.flags.TuningActive) tuning_.EndScanOrTuning();

  const ScratchpadChannel c = pad.current();
  if (!c.tunable()) {
    ctx_.panel.setCaption(Ctl::StatusPanel, "");
    return;
  }

  RadioState& s = ctx_.state;
  s.SaveLastFrequency();
  s.Freq = c.Frequency;
  ctx_.panel.setCaption(Ctl::StatusPanel, c.Tag);

  // The stored tuning as it was: no mode defaults, a single transmission.
  s.Mode = c.Mode <= 3 ? c.Mode : 0;
  controls_.ShowMode(s.Mode);
  tuning_.SetTuningStep(tuning_.StepValueOfRow(c.StepIndex));
  controls_.SelectFilter(c.FilterIndex);
  controls_.ShowAGC(c.AGC);
  s.PBT = c.PBT;
  controls_.ShowPBT();
  receiver_.TuneRadio();
}

void ScratchpadController::StopMemoryScanAndRecall() {
  PanelModel& panel = ctx_.panel;
  ctx_.scan.ScanState = 0;
  panel.press(ScratchpadButton(pad.CurrentChannel));
  ctx_.timers.ScanTimer.setEnabled(false);
  panel.release(Ctl::ScanBtn);
  for (Ctl control : {Ctl::LimitScanBtn, Ctl::MemScanBtn, Ctl::FileScanBtn, Ctl::BandScanBtn, Ctl::TagBtn,
                      Ctl::WWV25Btn, Ctl::WWV5Btn, Ctl::WWV10Btn, Ctl::WWV15Btn, Ctl::WWV20Btn, Ctl::WWVRestoreBtn,
                      Ctl::LastFreqBtn, Ctl::NowBtn, Ctl::FreqUpBtn, Ctl::FreqDnBtn, Ctl::FreqUpBtnFast,
                      Ctl::FreqDnBtnFast, Ctl::VFOBtn})
    panel.setEnabled(control, true);
  panel.release(Ctl::FreqUpBtn);
  panel.release(Ctl::FreqDnBtn);
  RecallScratchpadChannel();
}

// ---- Memory buttons ------------------------------------------------------

void ScratchpadController::ScpdBtnMouseDown(int channel, MouseButton button) {
  if (channel < 0 || channel >= ScratchpadChannelCount) return;
  pad.CurrentChannel = channel;
  switch (button) {
    case MouseButton::Left:
      // During memory scan the pause tunes the clicked channel itself.
      if (ctx_.scan.ScanState == 2) {
        StopMemoryScanAndRecall();
      } else {
        ctx_.panel.press(ScratchpadButton(channel));
        RecallScratchpadChannel();
      }
      break;
    case MouseButton::Right:
      ctx_.panel.press(ScratchpadButton(channel));
      OpenTagEntry();
      break;
    case MouseButton::Middle:
      break;
  }
}

void ScratchpadController::OpenTagEntry() {
  if (ctx_.scan.ScanState == 2) return;
  if (pad.current().Frequency == 0) return;
  RecallScratchpadChannel();
  tagEntryDialog.Open(pad.current().Tag);
  if (showTagEntryDialog) showTagEntryDialog(tagEntryDialog);
  if (tagEntryDialog.isOpen()) tagEntryDialog.CancelBtnClick();
}

void ScratchpadController::ApplyTag(const std::string& text) {
  pad.current().Tag = CutTag(text);
  if (ctx_.scan.ScanState == 0) ctx_.panel.setCaption(Ctl::StatusPanel, text);
}

bool ScratchpadController::CurrentButtonDown() const {
  return ctx_.panel[ScratchpadButton(pad.CurrentChannel)].pressed;
}

void ScratchpadController::TagBtnClick() {
  if (!CurrentButtonDown()) return;
  const RadioState& s = ctx_.state;
  ScratchpadChannel& c = pad.current();

  const bool sameStation =
      c.Frequency >= s.Freq - RestoreToleranceKHz && c.Frequency <= s.Freq + RestoreToleranceKHz;
  if (!sameStation) {
    c.Tag.clear();
    if (ctx_.scan.ScanState == 0) ctx_.panel.setCaption(Ctl::StatusPanel, "");
  }
  ctx_.panel.setCaption(ScratchpadButton(pad.CurrentChannel),
                        FormatFrequency(3, false, s.Freq, ctx_.decimalSeparator));
  c.Frequency = s.Freq;
  c.Mode = s.Mode;
  c.StepIndex = s.StepIndex;
  c.FilterIndex = s.FilterIndex;
  c.AGC = s.AGC;
  c.PBT = s.PBT;
  if (c.Tag.empty()) OpenTagEntry();
}

void ScratchpadController::LockoutBtnClick() {
  const Ctl button = ScratchpadButton(pad.CurrentChannel);
  if (!CurrentButtonDown() || ctx_.panel[button].caption.empty()) return;
  ScratchpadChannel& c = pad.current();
  c.Lockout = c.Lockout ? 0 : 1;
  ctx_.panel.setColour(button, c.Lockout ? Colour::Black : Colour::Maroon);
}

// ---- Banks ---------------------------------------------------------------

void ScratchpadController::BankUpBtnClick() {
  ClearScratchpadButtons();
  pad.CurrentBank = pad.CurrentBank >= ScratchpadBankCount ? 1 : pad.CurrentBank + 1;
  ShowScratchpadBank();
  ShowBankStatus();
}

void ScratchpadController::BankDnBtnClick() {
  ClearScratchpadButtons();
  pad.CurrentBank = pad.CurrentBank <= 1 ? ScratchpadBankCount : pad.CurrentBank - 1;
  ShowScratchpadBank();
  ShowBankStatus();
}

void ScratchpadController::SelectOrToggleBank(int bank) {
  if (bank < 1 || bank > ScratchpadBankCount) return;
  if (ctx_.scan.ScanKind == 2) {
    if (!pad.bankEnabled(bank)) {
      pad.setBankEnabled(bank, true);
      ctx_.panel.setChecked(BankItem(bank - 1), true);
    } else if (pad.enabledBankCount() >= 2) {
      pad.setBankEnabled(bank, false);
      ctx_.panel.setChecked(BankItem(bank - 1), false);
    } else {
      ctx_.messages.showMessage(LastEnabledBankMessage);
    }
    return;
  }
  ClearScratchpadButtons();
  pad.CurrentBank = bank;
  ShowScratchpadBank();
  ShowBankStatus();
}

void ScratchpadController::BankTagItemClick() {
  bankTagDialog.Open(pad.bankTag(pad.CurrentBank));
  if (showBankTagDialog) showBankTagDialog(bankTagDialog);
  if (bankTagDialog.isOpen()) bankTagDialog.CancelBtnClick();
}

void ScratchpadController::ApplyBankTag(const std::string& text) {
  pad.bankTag(pad.CurrentBank) = CutTag(text);
  BuildBankMenuCaptions();
  ShowBankStatus();
}

// ---- Clearing ------------------------------------------------------------

void ScratchpadController::ClrMemItemClick() {
  if (!CurrentButtonDown()) return;
  if (ctx_.scan.ScanState > 0 && ctx_.scan.ScanKind == 2) return;
  if (!ctx_.messages.askYesNo(ClearMemoryQuestion)) return;

  ScratchpadChannel& c = pad.current();
  if (c.Frequency == 0) return;
  c.Lockout = 0;
  c.Frequency = 0;
  const Ctl button = ScratchpadButton(pad.CurrentChannel);
  ctx_.panel.setCaption(button, "");
  ctx_.panel.setColour(button, Colour::Maroon);
  ctx_.panel.release(button);
  if (!c.Tag.empty()) {
    c.Tag.clear();
    if (ctx_.scan.ScanState == 0) ctx_.panel.setCaption(Ctl::StatusPanel, "");
  }
}

void ScratchpadController::ClearBankItemClick() {
  if (!ctx_.messages.askYesNo(ClearBankQuestion)) return;
  const int bank = pad.CurrentBank;
  pad.setBankEnabled(bank, false);
  ctx_.panel.setChecked(BankItem(bank - 1), false);
  ctx_.panel.setCaption(BankItem(bank - 1), "Bank " + std::to_string(bank) + ":");
  pad.bankTag(bank).clear();
  pad.ClearBank(bank);
  for (int ch = 0; ch < ScratchpadChannelCount; ++ch) {
    ctx_.panel.setCaption(ScratchpadButton(ch), "");
    ctx_.panel.setColour(ScratchpadButton(ch), Colour::Maroon);
  }
}

}  // namespace ondaris
