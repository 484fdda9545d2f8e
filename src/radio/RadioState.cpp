#include "radio/RadioState.h"

namespace ondaris {

void RadioState::SelectFilterRow(int index) {
  if (index < 0 || index >= FilterCount) index = 1;
  FilterIndex = index;
  Bandwidth = FilterTable[index].bandwidthHz;
  FilterCode = FilterTable[index].code;
}

void RadioState::ComputeCalibration() {
  CalSlope = (CalHiFreq == CalLoFreq) ? 0.0 : (CalHiErr - CalLoErr) / (CalHiFreq - CalLoFreq);
  CalOffset = CalHiErr - CalSlope * CalHiFreq;
}

TuningRecord RadioState::CurrentTuningRecord() const {
  TuningRecord record;
  record.valid = true;
  record.freq = Freq;
  record.mode = Mode;
  record.stepHz = StepHz;
  record.filterIndex = FilterIndex;
  record.agc = AGC;
  record.pbt = PBT;
  record.spkrMute = SpkrMute;
  record.lineMute = LineMute;
  return record;
}

void RadioState::SaveLastFrequency() { LastFreqRecord = CurrentTuningRecord(); }

TuningInput RadioState::TuningInputs() const {
  TuningInput in;
  in.freqKHz = Freq;
  in.mode = Mode;
  in.bandwidthHz = Bandwidth;
  in.pbtHz = PBT;
  in.cwToneHz = CWTone;
  in.dataBfoActive = DataBFOActive != 0;
  in.dataBfoHz = DataBFO;
  in.calSlope = CalSlope;
  in.calOffset = CalOffset;
  return in;
}

std::string RadioState::TuningBytes() const { return TuningTransmission(TuningInputs(), FilterCode, AGC); }

}  // namespace ondaris
