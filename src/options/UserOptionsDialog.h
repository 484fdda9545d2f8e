#pragma once
// "User Options Setup" (TUserOptionDlg) without its window: the serial port,
// the frequency-file folder, CW tone, S-meter full scale, calibration, the
// default filter and step of each mode, the 9 kHz step, mute and hint
// behaviour, plus the sections other parts of the program add (the logbook's
// date format and export sorts, ...). The window shows the fields, writes the
// edited ones back and forwards the buttons.
//
// OK first checks every field of every section; a field that cannot be taken
// shows its message and nothing changes (the dialog stays open). Only then is
// everything applied at once, and the receiver gets its whole state again,
// on the new port when the port was changed.

#include <functional>
#include <string>
#include <vector>

#include "panel/PanelContext.h"

namespace ondaris {

class FileDialogs;
class MeterController;
class Receiver;
class SerialPortList;
class TuningController;

// A part of the dialog that belongs to another part of the program. Sections
// are filled, checked and applied in the order they were added, after the
// dialog's own fields.
class OptionsSection {
 public:
  virtual ~OptionsSection() = default;
  // The dialog is about to be shown: fields from the program's settings.
  virtual void Fill() = 0;
  // OK: the message for the first field that cannot be taken, or empty.
  // Changes nothing.
  virtual std::string Check() = 0;
  // OK, once every section's check passed.
  virtual void Apply() = 0;
};

class UserOptionsDialog {
 public:
  static constexpr const char* Caption = "User Options Setup";
  static constexpr const char* ComPortHint = "Select your radio's COM port from the list.";
  static constexpr const char* DirLabel = "Freq File Directory";
  static constexpr const char* CWToneLabel = "CW Tone";
  static constexpr const char* CWToneHint = "Enter your CW sidetone frequency.";
  static constexpr const char* MeterLabel = "S Meter Max";
  static constexpr const char* MeterHint =
      "Sets the S-meter's sensitivity.  Higher value = lower sensitivity.  (10,000 max.)";

  UserOptionsDialog(PanelContext& context, Receiver& receiver, TuningController& tuning, MeterController& meter,
                    FileDialogs& fileDialogs, const std::string& programDir);

  void setPortList(SerialPortList* ports) { ports_ = ports; }
  // Sections are not owned; they must outlive the dialog or be removed.
  void addSection(OptionsSection& section) { sections_.push_back(&section); }
  void removeSection(OptionsSection& section);
  const std::vector<OptionsSection*>& sections() const { return sections_; }

  // --- The fields ---------------------------------------------------------
  std::vector<std::string> ComPortItems;  // the ports present, then SIM
  std::string ComPortBox;                 // shown or typed port name
  std::string DirEdit;
  std::string CWToneEdit, MeterEdit;
  std::string LoFreqEdit, LoErrEdit, HiFreqEdit, HiErrEdit;  // MHz, Hz, MHz, Hz
  std::vector<std::string> FilterItems;  // the 24 bandwidths
  std::vector<std::string> StepItems;    // 1 .. 10000
  // Rows of FilterItems / StepItems; -1: no choice (keeps the stored one).
  int AMFiltBox1 = -1, AMStepBox1 = -1, SSBFiltBox = -1, SSBStepBox = -1, CWFiltBox = -1, CWStepBox = -1;
  bool Chk9KHz = false, MuteBox = false, MuteSep = false;
  bool UseDefaultFiltsBox = false, UseDefaultStepsBox = false, ShowHintsBox = false;

  // Shows the dialog modally (set by the window).
  std::function<void(UserOptionsDialog&)> show;

  // Options menu, "User Options...": fills the fields and shows the dialog.
  void UsrOptions1Click();
  void Fill();
  // The folder button: a folder dialog; the chosen folder goes into DirEdit
  // in the form it is stored in (below the program folder: relative).
  void DirBrowseClick();
  // True when the dialog closes.
  bool OKBtnClick();
  void CancelBtnClick() {}

  // The message for a folder that cannot be stored in 80 characters.
  static std::string FolderTooLongMessage(const std::string& folder);
  static std::string PortNameTooLongMessage(const std::string& name);

 private:
  struct Checked;
  // The listener's values as they will be applied; false with the refusal
  // message shown when one cannot be taken.
  bool CheckFields(Checked& values);
  void ApplyFields(const Checked& values);
  void ChangePort(const std::string& name);
  void SendState(bool portChanged);
  std::string PortInUse() const;

  PanelContext& ctx_;
  Receiver& receiver_;
  TuningController& tuning_;
  MeterController& meter_;
  FileDialogs& fileDialogs_;
  const std::string& programDir_;
  SerialPortList* ports_ = nullptr;
  std::vector<OptionsSection*> sections_;
  std::string shownPort_;  // ComPortBox as filled: anything else is a choice
  bool portOpenFailed_ = false;
};

}  // namespace ondaris
