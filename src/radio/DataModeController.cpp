#include "radio/DataModeController.h"

#include <algorithm>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/TextHelpers.h"
#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"
#include "radio/Rx320Protocol.h"
#include "radio/StepTable.h"
#include "radio/TuningController.h"

namespace ondaris {

namespace {

const char* AGCLetter(int agc) {
  switch (agc) {
    case 1: return "S";
    case 2: return "M";
    case 3: return "F";
    default: return "";
  }
}

int RowOfText(const std::vector<std::string>& items, const std::string& text) {
  const auto it = std::find(items.begin(), items.end(), text);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

}  // namespace

DataModeController::DataModeController(PanelContext& context, Receiver& receiver, ReceiverControls& controls,
                                       TuningController& tuning, const std::string& programDir)
    : ctx_(context), receiver_(receiver), controls_(controls), tuning_(tuning), programDir_(programDir) {
  for (const FilterInfo& filter : FilterTable) dialog.FiltComboItems.push_back(std::to_string(filter.bandwidthHz));
  for (const StepInfo& step : StepTable) dialog.StepComboItems.push_back(std::to_string(step.stepHz));
}

std::string DataModeController::ModeName(int mode) {
  return (mode >= 0 && mode <= 3) ? ModeTableEntry(mode).name : "?";
}

void DataModeController::Load() {
  DataModesReadReport report;
  const bool present = ReadDataModes(programDir_, modes, &report);
  if (present && report.damaged()) ctx_.messages.showMessage(DataModesDamageMessage(report));
}

void DataModeController::Save() { SaveDataModes(programDir_, modes); }

int DataModeController::ShownNumber() const {
  const std::string& caption = ctx_.panel[Ctl::DataModeBtn].caption;
  if (caption.size() == 3 && caption[2] >= '1' && caption[2] <= '5') return caption[2] - '0';
  return 1;
}

void DataModeController::DataModeBtnMouseUp(MouseButton button) {
  switch (button) {
    case MouseButton::Right:
      ProgramDataMode(ShownNumber());
      return;
    case MouseButton::Left: {
      int n = ShownNumber();
      if (ctx_.state.DataBFOActive) {
        n = n % DataModeCount + 1;
        ctx_.panel.setCaption(Ctl::DataModeBtn, "D-" + std::to_string(n));
      }
      SelectDataMode(n);
      return;
    }
    case MouseButton::Middle:
      return;
  }
}

void DataModeController::SelectDataMode(int n) {
  if (n < 1 || n > DataModeCount) return;
  // Set first, so that the data mode's own offset goes out with its very
  // first tuning instead of the CW tone.
  ctx_.state.DataBFOActive = 1;
  if (!FileExists(DataModesPath(programDir_))) {
    ctx_.messages.showMessage(NoDataModesMessage);
  } else if (!modes[n - 1].Programmed) {
    ctx_.panel.setCaption(Ctl::StatusPanel, "Data mode " + std::to_string(n) + " not programmed.");
  } else {
    ApplyDataMode(n);
  }
}

void DataModeController::ApplyDataMode(int n) {
  if (n < 1 || n > DataModeCount) return;
  const DataMode& r = modes[n - 1];
  RadioState& s = ctx_.state;
  s.Mode = r.Mode;  // the mode buttons stay as they are
  controls_.SelectFilter(r.FilterIndex);
  s.StepIndex = r.StepIndex;
  tuning_.SetTuningStep(tuning_.StepValueOfRow(r.StepIndex));
  s.PBT = r.PBT;
  controls_.ShowPBT();
  s.DataBFO = r.CWTone;
  // The AGC is shown here and goes out with the one tuning below.
  controls_.ShowAGC(r.AGC);
  ctx_.panel.setCaption(Ctl::StatusPanel, r.Title + " (" + ModeName(r.Mode) + ")");
  receiver_.TuneRadio();
}

void DataModeController::FillReview() {
  for (int i = 0; i < DataModeCount; ++i) {
    const DataMode& m = modes[i];
    DataModeReviewRow row;
    if (m.Programmed) {
      const int filter = std::clamp(m.FilterIndex, 0, FilterCount - 1);
      const int step = std::clamp(m.StepIndex, 0, StepCount - 1);
      row = DataModeReviewRow{m.Title,
                              ModeName(m.Mode),
                              std::to_string(FilterTable[filter].bandwidthHz),
                              std::to_string(StepTable[step].stepHz),
                              std::to_string(m.PBT),
                              std::to_string(m.CWTone),
                              AGCLetter(m.AGC)};
    }
    dialog.Review[i] = row;
  }
}

void DataModeController::ProgramDataMode(int n) {
  if (n < 1 || n > DataModeCount) return;
  FillReview();
  DataProgramDialog& d = dialog;
  d.TitleEdit.clear();
  d.PBTEdit.clear();
  d.CWTEdit.clear();
  d.FiltCombo.clear();
  d.StepCombo.clear();
  d.Heading = "Now Programming Mode D-" + std::to_string(n);
  const DataMode& r = modes[n - 1];
  if (r.Programmed) {
    d.TitleEdit = r.Title;
    d.PBTEdit = std::to_string(r.PBT);
    d.CWTEdit = std::to_string(r.CWTone);
    d.FiltCombo = d.FiltComboItems[std::clamp(r.FilterIndex, 0, FilterCount - 1)];
    d.StepCombo = d.StepComboItems[std::clamp(r.StepIndex, 0, StepCount - 1)];
    d.ModeChoice = r.Mode <= 3 ? r.Mode : -1;
    d.AGCChoice = (r.AGC >= 1 && r.AGC <= 3) ? r.AGC : 0;
  } else {
    d.ModeChoice = 1;  // USB
    d.AGCChoice = 2;   // medium
  }
  d.DataModeNumber = n;
  if (show) show(d);
}

void DataProgramDialog::GetBtnClick() {
  const RadioState& s = owner_.ctx_.state;
  PBTEdit = std::to_string(s.PBT);
  CWTEdit = std::to_string(s.CWTone);
  FiltCombo = FiltComboItems[std::clamp(s.FilterIndex, 0, FilterCount - 1)];
  StepCombo = StepComboItems[std::clamp(s.StepIndex, 0, StepCount - 1)];
  ModeChoice = s.Mode <= 3 ? s.Mode : -1;
  AGCChoice = (s.AGC >= 1 && s.AGC <= 3) ? s.AGC : 0;
}

bool DataProgramDialog::OKBtnClick() {
  if (DataModeNumber < 1 || DataModeNumber > DataModeCount) return true;
  MessageBoxes& messages = owner_.ctx_.messages;
  auto refuse = [&messages](const char* text) {
    messages.showMessage(text);
    return false;
  };
  // Worked on a copy: a refused field leaves the stored record as it was.
  DataMode r = owner_.modes[DataModeNumber - 1];
  try {
    r.Title = TitleEdit.substr(0, DataModeTitleCapacity);

    if (PBTEdit.empty()) return refuse(EnterPBTMessage);
    const long pbt = TextToInteger(PBTEdit);
    if (pbt < -DataModePBTLimit || pbt > DataModePBTLimit) return refuse(PBTRangeMessage);
    r.PBT = static_cast<std::int32_t>(pbt);

    if (FiltCombo.empty()) return refuse(NoBandwidthMessage);
    const int filter = RowOfText(FiltComboItems, FiltCombo);
    if (filter < 0) return refuse(BadBandwidthMessage);
    r.FilterIndex = filter;

    const int step = RowOfText(StepComboItems, StepCombo);
    if (step < 0) return refuse(BadStepMessage);
    r.StepIndex = step;

    if (ModeChoice < 0 || ModeChoice > 3) return refuse(NoModeMessage);
    r.Mode = static_cast<std::uint8_t>(ModeChoice);
    // Only a CW data mode has an offset of its own.
    if (ModeChoice != 3) CWTEdit = "0";

    if (AGCChoice < 1 || AGCChoice > 3) return refuse(NoAGCMessage);
    r.AGC = AGCChoice;
    r.Programmed = 1;

    r.CWTone = 0;
    if (!CWTEdit.empty()) {
      const long tone = TextToInteger(CWTEdit);
      if (tone < -DataModeCWToneLimit || tone > DataModeCWToneLimit) return refuse(CWToneRangeMessage);
      r.CWTone = static_cast<std::int32_t>(tone);
    }
  } catch (const ConversionError& error) {
    owner_.ctx_.ReportError(error.what());
    return false;
  }

  const DataMode previous = owner_.modes[DataModeNumber - 1];
  owner_.modes[DataModeNumber - 1] = r;
  try {
    owner_.Save();
  } catch (...) {
    owner_.modes[DataModeNumber - 1] = previous;
    throw;
  }
  if (owner_.ctx_.panel[Ctl::DataModeBtn].pressed) owner_.ApplyDataMode(DataModeNumber);
  return true;
}

}  // namespace ondaris
