#include "options/UserOptionsDialog.h"

#include <algorithm>

#include "common/Errors.h"
#include "common/ProgramDir.h"
#include "common/TextHelpers.h"
#include "platform/FileDialogs.h"
#include "platform/SerialPortList.h"
#include "radio/MeterController.h"
#include "radio/RadioState.h"
#include "radio/Receiver.h"
#include "radio/Rx320Protocol.h"
#include "radio/SerialLink.h"
#include "radio/StateFiles.h"
#include "radio/StepTable.h"
#include "radio/TuningController.h"

namespace ondaris {

namespace {

constexpr int CWToneLimit = 3000;
constexpr int MeterLowest = 100;
constexpr int MeterHighest = 10000;
// Switching ports: what is still queued for the old receiver does not matter
// much, and the window must not wait long for it.
constexpr int PortSwitchDrainMs = 200;
constexpr const char* DefaultPortName = "COM1";

int RowOrNone(int row, int count) { return (row >= 0 && row < count) ? row : -1; }

}  // namespace

struct UserOptionsDialog::Checked {
  bool portChosen = false;
  std::string portName;
  int cwTone = 0;
  long meter = 0;
  double calLoFreq = 0, calLoErr = 0, calHiFreq = 0, calHiErr = 0;
  std::string freqFileDir;  // as stored
};

UserOptionsDialog::UserOptionsDialog(PanelContext& context, Receiver& receiver, TuningController& tuning,
                                     MeterController& meter, FileDialogs& fileDialogs,
                                     const std::string& programDir)
    : ctx_(context),
      receiver_(receiver),
      tuning_(tuning),
      meter_(meter),
      fileDialogs_(fileDialogs),
      programDir_(programDir) {
  for (const FilterInfo& filter : FilterTable) FilterItems.push_back(std::to_string(filter.bandwidthHz));
  for (const StepInfo& step : StepTable) StepItems.push_back(std::to_string(step.stepHz));
}

void UserOptionsDialog::removeSection(OptionsSection& section) {
  sections_.erase(std::remove(sections_.begin(), sections_.end(), &section), sections_.end());
}

std::string UserOptionsDialog::FolderTooLongMessage(const std::string& folder) {
  return FreqFileDirTooLongMessage(folder);
}

std::string UserOptionsDialog::PortNameTooLongMessage(const std::string& name) {
  return ComPortNameTooLongMessage(name);
}

std::string UserOptionsDialog::PortInUse() const {
  // A port given on the command line is the one in use, though not stored.
  return ctx_.link.portName().empty() ? ctx_.state.ComPortName : ctx_.link.portName();
}

void UserOptionsDialog::UsrOptions1Click() {
  Fill();
  if (show) show(*this);
}

void UserOptionsDialog::Fill() {
  const RadioState& s = ctx_.state;
  const char separator = ctx_.decimalSeparator;

  ComPortItems = ports_ ? ports_->portsPresent() : std::vector<std::string>{};
  ComPortItems.push_back("SIM");
  ComPortBox = shownPort_ = PortInUse();
  DirEdit = s.FreqFileDir;
  CWToneEdit = std::to_string(s.CWTone);
  MeterEdit = std::to_string(s.MeterMax);
  LoFreqEdit = FormatFrequency(3, false, s.CalLoFreq, separator);
  HiFreqEdit = FormatFrequency(3, false, s.CalHiFreq, separator);
  LoErrEdit = FormatFrequency(3, false, s.CalLoErr, separator);
  HiErrEdit = FormatFrequency(3, false, s.CalHiErr, separator);

  Chk9KHz = s.NineKHzSteps != 0;
  MuteBox = s.MuteOnExitAsDefault != 0;
  MuteSep = s.MuteTogether != 0;
  ShowHintsBox = s.ShowHints != 0;
  UseDefaultFiltsBox = s.UseDefaultFiltersAsDefault != 0;
  UseDefaultStepsBox = s.UseDefaultStepsAsDefault != 0;

  AMFiltBox1 = RowOrNone(s.AMFilterIndex, FilterCount);
  SSBFiltBox = RowOrNone(s.SSBFilterIndex, FilterCount);
  CWFiltBox = RowOrNone(s.CWFilterIndex, FilterCount);
  AMStepBox1 = RowOrNone(s.AMStepIndex, StepCount);
  SSBStepBox = RowOrNone(s.SSBStepIndex, StepCount);
  CWStepBox = RowOrNone(s.CWStepIndex, StepCount);

  for (OptionsSection* section : sections_) section->Fill();
}

void UserOptionsDialog::DirBrowseClick() {
  const std::string current = DirEdit.empty() ? ctx_.state.FreqFileDir : DirEdit;
  const auto chosen =
      fileDialogs_.chooseFolder(FileDialogRequest{DirLabel, ResolveFreqFileDir(current, programDir_), "", "", ""});
  if (!chosen) return;
  const std::string stored = StoredFreqFileDir(WithTrailingSlash(*chosen), programDir_);
  if (stored.size() > FreqFileDirCapacity) {
    ctx_.messages.showMessage(FolderTooLongMessage(*chosen));
    return;
  }
  DirEdit = stored;
}

bool UserOptionsDialog::CheckFields(Checked& v) {
  auto refuse = [this](const std::string& text) {
    ctx_.messages.showMessage(text);
    return false;
  };

  if (ComPortBox != shownPort_) {
    v.portChosen = true;
    v.portName = ComPortBox.empty() ? DefaultPortName : ComPortBox;
    // A cut name would stand for another device.
    if (v.portName.size() > ComPortNameCapacity) return refuse(PortNameTooLongMessage(v.portName));
  }

  const char separator = ctx_.decimalSeparator;
  auto number = [separator](const std::string& text) { return text.empty() ? 0.0 : TextToDouble(text, separator); };
  try {
    v.cwTone = static_cast<int>(std::clamp<long>(TextToInteger(CWToneEdit), -CWToneLimit, CWToneLimit));
    v.meter = TextToInteger(MeterEdit);
    v.calLoFreq = number(LoFreqEdit);
    v.calLoErr = number(LoErrEdit);
    v.calHiFreq = number(HiFreqEdit);
    v.calHiErr = number(HiErrEdit);
  } catch (const ConversionError& error) {
    return refuse(error.what());
  }

  // Empty: the program's own folder, stored as such.
  const std::string folder = WithTrailingSlash(DirEdit.empty() ? programDir_ : DirEdit);
  v.freqFileDir = StoredFreqFileDir(folder, programDir_);
  if (v.freqFileDir.size() > FreqFileDirCapacity) return refuse(FolderTooLongMessage(folder));

  for (OptionsSection* section : sections_) {
    const std::string problem = section->Check();
    if (!problem.empty()) return refuse(problem);
  }
  return true;
}

void UserOptionsDialog::ApplyFields(const Checked& v) {
  RadioState& s = ctx_.state;
  PanelModel& panel = ctx_.panel;

  if (v.portChosen) s.ComPortName = v.portName;

  if (AMFiltBox1 >= 0 && AMFiltBox1 < FilterCount) s.AMFilterIndex = AMFiltBox1;
  if (SSBFiltBox >= 0 && SSBFiltBox < FilterCount) s.SSBFilterIndex = SSBFiltBox;
  if (CWFiltBox >= 0 && CWFiltBox < FilterCount) s.CWFilterIndex = CWFiltBox;
  if (AMStepBox1 >= 0 && AMStepBox1 < StepCount) s.AMStepIndex = AMStepBox1;
  if (SSBStepBox >= 0 && SSBStepBox < StepCount) s.SSBStepIndex = SSBStepBox;
  if (CWStepBox >= 0 && CWStepBox < StepCount) s.CWStepIndex = CWStepBox;

  s.CWTone = v.cwTone;
  if (v.meter > 0) {
    s.MeterMax = static_cast<std::int32_t>(std::clamp<long>(v.meter, MeterLowest, MeterHighest));
    meter_.SetMeterMaximum();
  }

  s.CalLoFreq = v.calLoFreq;
  s.CalLoErr = v.calLoErr;
  s.CalHiFreq = v.calHiFreq;
  s.CalHiErr = v.calHiErr;
  s.CalSlope = 0;
  s.CalOffset = 0;
  if (s.CalHiFreq != s.CalLoFreq) {
    s.CalSlope = (s.CalHiErr - s.CalLoErr) / (s.CalHiFreq - s.CalLoFreq);
    s.CalOffset = s.CalHiErr - s.CalSlope * s.CalHiFreq;
  }

  s.NineKHzSteps = Chk9KHz ? 1 : 0;
  tuning_.ApplyNineKHzOption();
  if (Chk9KHz && s.StepHz == 10000) s.StepHz = 9000;
  if (!Chk9KHz && s.StepHz == 9000) s.StepHz = 10000;

  s.ShowHints = ShowHintsBox ? 1 : 0;
  panel.setChecked(Ctl::HintItem, ShowHintsBox);

  s.FreqFileDir = v.freqFileDir;

  s.UseDefaultFiltersAsDefault = s.UseDefaultFilters = UseDefaultFiltsBox ? 1 : 0;
  panel.setChecked(Ctl::DefaultFiltItem, UseDefaultFiltsBox);
  s.UseDefaultStepsAsDefault = s.UseDefaultSteps = UseDefaultStepsBox ? 1 : 0;
  panel.setChecked(Ctl::DefaultStepItem, UseDefaultStepsBox);
  s.MuteOnExitAsDefault = s.MuteOnExit = MuteBox ? 1 : 0;
  panel.setChecked(Ctl::MuteOnExitItem, MuteBox);

  s.MuteTogether = MuteSep ? 1 : 0;
  if (s.MuteTogether && (s.SpkrMute || s.LineMute)) s.SpkrMute = s.LineMute = 1;

  for (OptionsSection* section : sections_) section->Apply();
}

void UserOptionsDialog::ChangePort(const std::string& name) {
  ctx_.link.close(PortSwitchDrainMs);
  try {
    ctx_.link.open(name);
    portOpenFailed_ = false;
  } catch (const SerialError& error) {
    // The program runs on without a port; the link keeps the new name, so
    // the next transmission tries it again and then resends the state.
    // Polling a port that is not there would only repeat the error.
    portOpenFailed_ = true;
    ctx_.timers.MeterTimer.setEnabled(false);
    ctx_.messages.showMessage(error.what());
  }
}

void UserOptionsDialog::SendState(bool portChanged) {
  if (portChanged && portOpenFailed_) return;
  try {
    receiver_.SendVolumes();
    // The CW tone and the calibration are part of the tuning words; while a
    // scan runs its next step tunes anyway. A new port needs everything now.
    if (!ctx_.scan.running() || portChanged) receiver_.TuneRadio();
  } catch (const SerialError& error) {
    ctx_.ReportError(error.what());
  }
}

bool UserOptionsDialog::OKBtnClick() {
  Checked values;
  if (!CheckFields(values)) return false;
  ApplyFields(values);
  if (values.portChosen) ChangePort(values.portName);
  SendState(values.portChosen);
  return true;
}

}  // namespace ondaris
