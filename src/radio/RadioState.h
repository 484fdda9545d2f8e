#pragma once
// The program's record of the receiver's settings. The RX-320 cannot be asked
// what it is tuned to, so this record *is* the receiver's state.

#include <cstdint>
#include <string>

#include "radio/Rx320Protocol.h"

namespace ondaris {

// A saved tuning for the last-frequency button.
struct TuningRecord {
  bool valid = false;
  double freq = 0;
  std::uint8_t mode = 0;
  std::int32_t stepHz = 0;
  std::int32_t filterIndex = 0;
  std::int32_t agc = 0;
  std::int32_t pbt = 0;
  std::uint8_t spkrMute = 0;
  std::uint8_t lineMute = 0;
};

// The tuning of the inactive VFO (and the layout of the WWV return tuning).
struct VfoTuning {
  double freq = 0;
  std::uint8_t mode = 0;
  std::int32_t stepIndex = 0;
  std::int32_t filterIndex = 0;
  std::int32_t agc = 0;
  std::int32_t pbt = 0;
  std::string statusText;  // at most 80 characters; not stored
};

struct RadioState {
  // Current tuning.
  double Freq = 15000.0;
  std::uint8_t Mode = 0;
  std::int32_t StepIndex = 4;
  std::int32_t StepHz = 500;
  std::int32_t FilterIndex = 1;
  std::int32_t Bandwidth = 6000;
  std::uint8_t FilterCode = 0;
  std::int32_t AGC = 2;
  std::int32_t PBT = 0;
  std::uint8_t DataBFOActive = 0;
  std::int32_t DataBFO = 700;
  std::uint8_t AlarmArmed = 0;

  // Audio and tuning options (stored in Ondaris.dat unless noted).
  std::uint8_t SpkrVolume = 30;
  std::uint8_t LineVolume = 30;
  std::uint8_t SpkrMute = 0;
  std::uint8_t LineMute = 0;
  std::uint8_t MuteTogether = 0;
  std::uint8_t MuteOnExitAsDefault = 1;
  std::uint8_t UseDefaultFiltersAsDefault = 1;
  std::uint8_t UseDefaultStepsAsDefault = 1;
  std::uint8_t MuteOnExit = 1;         // run-time, not stored
  std::uint8_t UseDefaultFilters = 1;  // run-time, not stored
  std::uint8_t UseDefaultSteps = 1;    // run-time, not stored
  std::uint8_t NineKHzSteps = 0;
  std::uint8_t ShowHints = 1;
  std::int32_t TuningSpeedMs = 200;
  std::int32_t CWTone = 700;
  std::int32_t MeterMax = 10000;
  std::int32_t AMFilterIndex = 1;
  std::int32_t AMStepIndex = 4;
  std::int32_t SSBFilterIndex = 13;
  std::int32_t SSBStepIndex = 5;
  std::int32_t CWFilterIndex = 23;
  std::int32_t CWStepIndex = 5;
  double CalLoFreq = 0;
  double CalLoErr = 0;
  double CalHiFreq = 0;
  double CalHiErr = 0;
  double CalSlope = 0;   // derived
  double CalOffset = 0;  // derived
  std::string ComPortName = "COM1";    // at most 10 characters
  std::string FreqFileDir = "FreqFiles/";  // at most 80; relative to the program folder
  std::string LastFreqFile;            // at most 80
  std::int32_t FreqFileRecordCount = 0;

  // Saved tunings.
  char ActiveVFO = 'A';
  VfoTuning OtherVFO{10000.0, 0, 4, 1, 2, 0, {}};
  TuningRecord LastFreqRecord;
  VfoTuning WWVReturnRecord;

  // Sets FilterIndex, Bandwidth and FilterCode together.
  void SelectFilterRow(int index);
  // Recomputes CalSlope and CalOffset from the two calibration points.
  void ComputeCalibration();
  // Correction in Hz at a frequency in kHz.
  double CalibrationErrorHz(double freqKHz) const { return CalSlope * freqKHz / 1000.0 + CalOffset; }
  // Fills LastFreqRecord from the current tuning and marks it valid.
  void SaveLastFrequency();
  // The current tuning as a record (for the last-frequency toggle).
  TuningRecord CurrentTuningRecord() const;
  // What the tuning words are computed from.
  TuningInput TuningInputs() const;
  // The four commands of the present tuning.
  std::string TuningBytes() const;
};

}  // namespace ondaris
