#include "panel/PanelModel.h"

#include <algorithm>
#include <unordered_map>


namespace ondaris {

namespace {

constexpr std::array<std::string_view, ControlCount> kNames{{
#define ONDARIS_NAME_ENTRY(name) #name,
    ONDARIS_ALL_CONTROLS(ONDARIS_NAME_ENTRY)
#undef ONDARIS_NAME_ENTRY
}};

constexpr int I(Ctl control) { return static_cast<int>(control); }
constexpr Ctl At(Ctl first, int offset) { return static_cast<Ctl>(I(first) + offset); }

// The numbered families are looked up by offset, so they must stay contiguous.
static_assert(I(Ctl::FiltBtn23) - I(Ctl::FiltBtn0) == 23);
static_assert(I(Ctl::ScpdBtn15) - I(Ctl::ScpdBtn0) == 15);
static_assert(I(Ctl::ScanSpd5Btn) - I(Ctl::ScanSpd0Btn) == 5);
static_assert(I(Ctl::Reopen10Item) - I(Ctl::Reopen1Item) == 9);
static_assert(I(Ctl::Bank10) - I(Ctl::Bank1) == 9);
static_assert(I(Ctl::LimRange20) - I(Ctl::LimRange1) == 19);

bool InFamily(Ctl control, Ctl first, Ctl last) { return I(control) >= I(first) && I(control) <= I(last); }

// The captions of the filter and step buttons are the receiver's filter
// bandwidths and tuning steps; a test holds them to the receiver's tables.
constexpr std::array<int, 24> kFilterBandwidths{{8000, 6000, 5400, 5100, 4800, 4500, 4200, 3900, 3600, 3300, 3000, 2850,
                                                 2700, 2550, 2400, 2250, 2100, 1800, 1500, 1350, 1050, 750,  525,  300}};
struct StepCaption {
  const char* caption;
  int stepHz;
};
constexpr std::array<StepCaption, 9> kStepCaptions{{{"1", 1}, {"10", 10}, {"50", 50}, {"100", 100}, {"500", 500},
                                                    {"1K", 1000}, {"3K", 3000}, {"5K", 5000}, {"10K", 10000}}};
constexpr int kStepButtonCount = static_cast<int>(kStepCaptions.size());

constexpr std::array<Ctl, kStepButtonCount> kStepButtons{{Ctl::StepBtn1, Ctl::StepBtn10, Ctl::StepBtn50, Ctl::StepBtn100,
                                                   Ctl::StepBtn500, Ctl::StepBtn1000, Ctl::StepBtn3000,
                                                   Ctl::StepBtn5000, Ctl::StepBtn10000}};

std::string StepHint(int stepHz) {
  if (stepHz == 10000) return "Sets the tuning step to 10 kHz (9 kHz with the 9 kHz step option)";
  if (stepHz >= 1000) return "Sets the tuning step to " + std::to_string(stepHz / 1000) + " kHz";
  return "Sets the tuning step to " + std::to_string(stepHz) + " Hz";
}

}  // namespace

bool IsButton(Ctl control) {
  switch (control) {
#define ONDARIS_BUTTON_CASE(name) case Ctl::name:
    ONDARIS_BUTTON_CONTROLS(ONDARIS_BUTTON_CASE)
#undef ONDARIS_BUTTON_CASE
    return true;
    default:
      return false;
  }
}

std::string_view ControlName(Ctl control) {
  const int index = I(control);
  if (index < 0 || index >= ControlCount) return {};
  return kNames[index];
}

Ctl ControlByName(std::string_view name) {
  static const std::unordered_map<std::string_view, Ctl> byName = [] {
    std::unordered_map<std::string_view, Ctl> map;
    for (int i = 0; i < ControlCount; ++i) map.emplace(kNames[i], static_cast<Ctl>(i));
    return map;
  }();
  const auto found = byName.find(name);
  return found == byName.end() ? Ctl::Count : found->second;
}

Ctl FilterButton(int row) { return row >= 0 && row < 24 ? At(Ctl::FiltBtn0, row) : Ctl::Count; }
Ctl StepButton(int row) { return row >= 0 && row < kStepButtonCount ? kStepButtons[row] : Ctl::Count; }
Ctl ScratchpadButton(int index) { return index >= 0 && index < 16 ? At(Ctl::ScpdBtn0, index) : Ctl::Count; }
Ctl ScanSpeedButton(int index) { return index >= 0 && index < 6 ? At(Ctl::ScanSpd0Btn, index) : Ctl::Count; }
Ctl ReopenItem(int index) { return index >= 0 && index < 10 ? At(Ctl::Reopen1Item, index) : Ctl::Count; }
Ctl BankItem(int index) { return index >= 0 && index < 10 ? At(Ctl::Bank1, index) : Ctl::Count; }
Ctl LimitRangeItem(int index) { return index >= 0 && index < 20 ? At(Ctl::LimRange1, index) : Ctl::Count; }

Ctl ModeButton(int mode) {
  switch (mode) {
    case 0: return Ctl::ModeBtnAM;
    case 1: return Ctl::ModeBtnUSB;
    case 2: return Ctl::ModeBtnLSB;
    case 3: return Ctl::ModeBtnCW;
    default: return Ctl::Count;
  }
}

int PanelModel::GroupOf(Ctl control) {
  if (InFamily(control, Ctl::FiltBtn0, Ctl::FiltBtn23)) return 1;
  if (InFamily(control, Ctl::ScanSpd0Btn, Ctl::ScanSpd5Btn)) return 4;
  if (InFamily(control, Ctl::ScpdBtn0, Ctl::ScpdBtn15)) return 5;
  switch (control) {
    case Ctl::StepBtn10000: case Ctl::StepBtn5000: case Ctl::StepBtn3000: case Ctl::StepBtn1000:
    case Ctl::StepBtn500: case Ctl::StepBtn100: case Ctl::StepBtn50: case Ctl::StepBtn10: case Ctl::StepBtn1:
      return 2;
    case Ctl::ModeBtnCW: case Ctl::ModeBtnLSB: case Ctl::ModeBtnUSB: case Ctl::ModeBtnAM: case Ctl::DataModeBtn:
      return 3;
    case Ctl::WWV25Btn: case Ctl::WWV5Btn: case Ctl::WWV10Btn: case Ctl::WWV15Btn: case Ctl::WWV20Btn:
      return 6;
    case Ctl::FileScanBtn: case Ctl::MemScanBtn: case Ctl::LimitScanBtn: case Ctl::BandScanBtn:
      return 7;
    case Ctl::ScanBtn:
      return 8;
    case Ctl::AGCFastBtn: case Ctl::AGCMedBtn: case Ctl::AGCSlowBtn:
      return 9;
    case Ctl::FreqUpBtn: case Ctl::FreqDnBtn:
      return 10;
    default:
      return 0;
  }
}

PanelModel::PanelModel() {
  auto& s = states_;
  auto set = [&s](Ctl control, const char* caption, const char* hint = "") {
    s[Index(control)].caption = caption;
    s[Index(control)].hint = hint;
  };

  // Speed buttons share the window's small bold navy font.
  for (int i = 0; i < ControlCount; ++i)
    if (IsButton(static_cast<Ctl>(i))) s[i].bold = true;

  // Filters.
  for (int row = 0; row < static_cast<int>(kFilterBandwidths.size()); ++row) {
    const std::string bw = std::to_string(kFilterBandwidths[row]);
    auto& f = s[Index(FilterButton(row))];
    f.caption = bw;
    f.hint = "Sets the filter bandwidth to " + bw + " Hz";
  }
  set(Ctl::DecrBWBtn, "Decr BW", "Selects a narrower filter");
  set(Ctl::IncrBWBtn, "Incr BW", "Selects a wider filter");

  // Display, meter, AGC.
  set(Ctl::FreqDispPanel, "12345.000",
      "Frequency in kHz.  Red = WWV mode.  Asterisk (*) = Clock radio mode (Click the UTC window.)");
  set(Ctl::Meter, "", "S-Meter:  Click toggles between normal and 4x sensitivity");
  set(Ctl::AGCFastBtn, "F", "Sets Fast AGC.  Black:  S-Meter Normal.  Red:  S-Meter 4x");
  set(Ctl::AGCMedBtn, "M", "Sets Medium AGC.  Black:  S-Meter Normal.  Red:  S-Meter 4x");
  set(Ctl::AGCSlowBtn, "S", "Sets Slow AGC.  Black:  S-Meter Normal.  Red:  S-Meter 4x");
  set(Ctl::RoundBtn, "Round", "Rounds tuned frequency to tuning step value");

  // Modes.
  set(Ctl::DataModeBtn, "D-1",
      "Data modes:  Click to select the data mode shown or step to the next one, right-click to program");
  set(Ctl::ModeBtnCW, "CW", "Sets CW mode");
  set(Ctl::ModeBtnLSB, "LSB", "Sets LSB mode");
  set(Ctl::ModeBtnUSB, "USB", "Sets USB mode");
  set(Ctl::ModeBtnAM, "AM", "Sets AM mode");
  set(Ctl::VFOBtn, "VFO A", "Toggles between VFO A and VFO B");

  // Passband tuning and recall.
  set(Ctl::PBTBtnDown, "<< PBT", "Decreases Passband Tuning value by 50 Hz");
  set(Ctl::PBTDisplayPanel, "0", "Displays Passband Tuning value (Hz).  Click to center passband tuning.");
  set(Ctl::PBTBtnUp, "PBT >>", "Increases Passband Tuning value by 50 Hz");
  set(Ctl::LastFreqBtn, "Recall", "Recalls last tuned frequency");

  // Steps.
  for (int row = 0; row < kStepButtonCount; ++row) {
    auto& b = s[Index(StepButton(row))];
    b.caption = kStepCaptions[row].caption;
    b.hint = StepHint(kStepCaptions[row].stepHz);
  }

  // Tuning.
  set(Ctl::FreqUpBtnFast, "Lock +", "Sets locked-in continuous upward tuning");
  set(Ctl::FreqUpBtn, "Up", "Tunes up one step; sets scan direction upward");
  set(Ctl::FreqDnBtn, "Down", "Tunes down one step; sets scan direction downward");
  set(Ctl::FreqDnBtnFast, "Lock -", "Sets locked-in continuous downward tuning");
  set(Ctl::TuningSpeedTrackbar, "", "Sets the continuous tuning speed during locked-in tuning");
  {
    auto& t = s[Index(Ctl::TuningSpeedTrackbar)];
    t.minimum = 1;
    t.maximum = 40;
    t.value = 2;
  }

  // Scan.
  set(Ctl::StopBtn, "Stop", "Pauses scanning.  (The spacebar also pauses and resumes scanning.)");
  set(Ctl::ScanBtn, "Scan", "Starts scanning");
  static constexpr const char* kScanSpeeds[6] = {".25S", ".5S", "1S", "2S", "5S", "10S"};
  for (int i = 0; i < 6; ++i)
    set(ScanSpeedButton(i), kScanSpeeds[i], "Sets scan speed to indicated delay between channels");

  // Scratchpad.
  set(Ctl::BankDispPanel, "1", "Scratchpad bank number");
  set(Ctl::BankUpBtn, "Up", "Shows the next scratchpad bank");
  set(Ctl::BankDnBtn, "Dn", "Shows the previous scratchpad bank");
  set(Ctl::TagBtn, "Pgm", "Stores the tuned frequency in the selected scratchpad memory");
  set(Ctl::LockoutBtn, "Lk", "Locks out the selected scratchpad memory from memory scan, or lets it back in");
  for (int i = 0; i < 16; ++i) {
    auto& b = s[Index(ScratchpadButton(i))];
    b.hint = "Scratchpad memory:  Click to tune, right-click to enter tag.  Black = Locked out.";
    b.colour = Colour::Maroon;
  }

  // Status line and scan kinds.
  set(Ctl::StatusPanel, "Ondaris",
      "Displays scratchpad tags, bank tags, frequency file names, and frequency file cursor position.");
  set(Ctl::TimePanel, "", "UTC from the operating system.  Click for Clock Radio controls.");
  set(Ctl::FileScanBtn, "File Scan", "Selects file scan:  scans the stations of the loaded frequency file");
  set(Ctl::MemScanBtn, "Mem Scan", "Selects memory scan:  scans the enabled scratchpad banks");
  set(Ctl::LimitScanBtn, "Limit Scan", "Opens the limit scan setup to scan between two frequencies");
  set(Ctl::BandScanBtn, "Band Scan", "Opens the band scan setup screen to scan a pre-programmed band");
  for (Ctl panel : {Ctl::FreqDispPanel, Ctl::PBTDisplayPanel, Ctl::BankDispPanel, Ctl::StatusPanel, Ctl::TimePanel})
    s[Index(panel)].colour = Colour::Aqua;
  s[Index(Ctl::PBTDisplayPanel)].bold = true;
  s[Index(Ctl::FreqDispPanel)].bold = true;

  // Frequency list.
  set(Ctl::Grid, "", "Click col headers to sort; scroll with K,M,F,V keys or arrow keys");

  // Audio.
  set(Ctl::LineTrackbar, "", "Sets the line output volume");
  set(Ctl::SpkrTrackbar, "", "Sets the speaker volume");
  for (Ctl bar : {Ctl::LineTrackbar, Ctl::SpkrTrackbar}) s[Index(bar)].maximum = 50;
  set(Ctl::LineMuteBtn, "Line", "Mutes or unmutes the line output");
  set(Ctl::SpkrMuteBtn, "Speaker", "Mutes or unmutes the speaker");
  {
    auto& m = s[Index(Ctl::Meter)];
    m.minimum = 0;
    m.maximum = 10000;
  }

  // File tools.
  set(Ctl::LookupBtn, "Lookup", "Finds tuned freq in freq file, database, and master freq file");
  set(Ctl::LkBtn, "Lk", "Toggles lockouts of selected records");
  set(Ctl::NowBtn, "Now", "Shows stations broadcasting now");
  set(Ctl::FileOpBtn1, "Save", "Saves the frequency file.  Red = File has changed");
  set(Ctl::FileOpBtn2, "Add", "Add tuned station to freq file");
  set(Ctl::FileOpBtn3, "Edit", "Edit the selected record");
  set(Ctl::FileOpBtn5, "Cut", "Delete the selected record to the copy buffer");
  set(Ctl::ExpressRecBtn, "Express Recording", "Start wave file recording right now");

  // WWV.
  set(Ctl::WWV25Btn, "2.5", "Tune WWV on 2.5 MHz. Save previous tuning.");
  set(Ctl::WWV5Btn, "5", "Tune WWV on 5 MHz.  Save previous tuning.");
  set(Ctl::WWV10Btn, "10", "Tune WWV on 10 MHz.  Save previous tuning.");
  set(Ctl::WWV15Btn, "15", "Tune WWV on 15 MHz.  Save previous tuning.");
  set(Ctl::WWV20Btn, "20", "Tune WWV on 20 MHz.  Save previous tuning.");
  set(Ctl::WWVRestoreBtn, "Restore", "Exit WWV mode.  Restore original tuning.");

  // Log.
  set(Ctl::LogEntryBtn, "Log Entry", "Write a log entry");
  set(Ctl::LogDispBtn, "Log Display", "Display and edit the log");

  // File menu.
  set(Ctl::NewFileItem, "&New Frequency File          (Ctrl+N)");
  set(Ctl::LoadFileItem, "&OpenFrequency File          (Ctrl+O)");
  set(Ctl::ReopenMainItem, "Reopen");
  for (int i = 0; i < 10; ++i) s[Index(ReopenItem(i))].visible = false;  // until a recent file fills it
  set(Ctl::AppendFileItem, "Append &File");
  set(Ctl::ImportEibiItem, "&Import EiBi Schedule...");
  set(Ctl::SaveFileItem, "&Save Frequency File          (Ctrl+S)");
  set(Ctl::SaveFileAsItem, "Save Frequency File &As...  (Ctrl+A)");
  set(Ctl::SaveScpdItem, "Save Scratch&pad               (Ctrl+P)");
  set(Ctl::BackupItem, "&Back Up Data");
  set(Ctl::ExitItem, "E&xit");

  // Edit menu.
  set(Ctl::AddEntryItem, "&Add Record                  (Ctrl+plus)");
  set(Ctl::EditEntryItem, "&Edit Selected Record    (Ctrl+E)");
  set(Ctl::CopyItem, "&Copy Selected Records (Ctrl+C)");
  set(Ctl::DeleteEntryItem, "Cu&t Selected Records    (Ctrl+X)");
  set(Ctl::PasteItem, "&Paste Records               (Ctrl+V)");

  // Scratchpad menu: "Bank &1" .. "Bank &9", "Bank 1&0".
  for (int i = 0; i < 10; ++i) {
    auto& b = s[Index(BankItem(i))];
    b.caption = i < 9 ? "Bank &" + std::to_string(i + 1) : std::string("Bank 1&0");
  }
  set(Ctl::BankTagItem, "Edit Bank &Tag");
  set(Ctl::ClrMemItem, "&Clear Selected Memory");
  set(Ctl::ClearBankItem, "Clear Selected Bank");

  // Limits menu.
  for (int i = 0; i < 20; ++i) s[Index(LimitRangeItem(i))].caption = "Limit Scan Range " + std::to_string(i + 1);

  // Tools, Options, Help menus.
  set(Ctl::SkedItem, "Scheduler");
  set(Ctl::RecordItem, "Record and Play");
  set(Ctl::MFLGenItem, "Master Freq List Generator");
  set(Ctl::MFLViewItem, "Master Freq List Viewer");
  set(Ctl::MuteOnExitItem, "&Mute on Exit");
  set(Ctl::DefaultStepItem, "Use Default &Steps");
  set(Ctl::DefaultFiltItem, "Use Default &Filters");
  set(Ctl::UserOptionsItem, "User &Options...");
  set(Ctl::HelpItem, "Help");
  set(Ctl::LogHelpItem, "Log Help");
  set(Ctl::HintItem, "Show Hints");
  set(Ctl::AboutItem, "About...");
}

template <class T>
void PanelModel::update(Ctl control, T ControlState::*field, const T& value) {
  T& current = states_[Index(control)].*field;
  if (current == value) return;
  current = value;
  changed(control);
}

void PanelModel::setCaption(Ctl control, const std::string& caption) { update(control, &ControlState::caption, caption); }

void PanelModel::setHint(Ctl control, const std::string& hint) { update(control, &ControlState::hint, hint); }

void PanelModel::setEnabled(Ctl control, bool enabled) { update(control, &ControlState::enabled, enabled); }

void PanelModel::setVisible(Ctl control, bool visible) { update(control, &ControlState::visible, visible); }

void PanelModel::press(Ctl control) {
  const int group = GroupOf(control);
  if (group != 0) {
    for (int i = 0; i < ControlCount; ++i) {
      const Ctl other = static_cast<Ctl>(i);
      if (other != control && states_[i].pressed && GroupOf(other) == group) setPressedOnly(other, false);
    }
  }
  setPressedOnly(control, true);
}

void PanelModel::release(Ctl control) { setPressedOnly(control, false); }

void PanelModel::setPressedOnly(Ctl control, bool pressed) { update(control, &ControlState::pressed, pressed); }

void PanelModel::setFont(Ctl control, Colour colour, bool bold) {
  auto& st = states_[Index(control)];
  if (st.colour == colour && st.bold == bold) return;
  st.colour = colour;
  st.bold = bold;
  changed(control);
}

void PanelModel::setColour(Ctl control, Colour colour) { update(control, &ControlState::colour, colour); }

void PanelModel::setValue(Ctl control, int value) {
  auto& st = states_[Index(control)];
  // Like a trackbar or a bar, a control with a range keeps its position inside it.
  if (st.minimum < st.maximum) value = std::clamp(value, st.minimum, st.maximum);
  update(control, &ControlState::value, value);
}

void PanelModel::setRange(Ctl control, int minimum, int maximum) {
  auto& st = states_[Index(control)];
  if (maximum < minimum) maximum = minimum;
  int value = st.value;
  if (minimum < maximum) value = std::clamp(value, minimum, maximum);
  if (st.minimum == minimum && st.maximum == maximum && st.value == value) return;
  st.minimum = minimum;
  st.maximum = maximum;
  st.value = value;
  changed(control);
}

void PanelModel::setTitle(const std::string& title) {
  if (title_ == title) return;
  title_ = title;
  if (onTitleChanged) onTitleChanged();
}

}  // namespace ondaris
