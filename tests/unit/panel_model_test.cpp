#include "panel/PanelModel.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ondaris {
namespace {

TEST(PanelModelNames, EveryControlRoundTripsThroughItsName) {
  std::set<std::string_view> seen;
  for (int i = 0; i < ControlCount; ++i) {
    const Ctl control = static_cast<Ctl>(i);
    const std::string_view name = ControlName(control);
    ASSERT_FALSE(name.empty()) << i;
    EXPECT_TRUE(seen.insert(name).second) << "duplicate name " << name;
    EXPECT_EQ(ControlByName(name), control) << name;
  }
}

TEST(PanelModelNames, KnownNamesAndUnknownNames) {
  EXPECT_EQ(ControlName(Ctl::FiltBtn0), "FiltBtn0");
  EXPECT_EQ(ControlName(Ctl::FreqDispPanel), "FreqDispPanel");
  EXPECT_EQ(ControlName(Ctl::LimRange20), "LimRange20");
  EXPECT_EQ(ControlName(Ctl::AboutItem), "AboutItem");
  EXPECT_EQ(ControlByName("ScpdBtn15"), Ctl::ScpdBtn15);
  EXPECT_EQ(ControlByName("scpdbtn15"), Ctl::Count);  // names are case-sensitive
  EXPECT_EQ(ControlByName(""), Ctl::Count);
  EXPECT_EQ(ControlByName("FiltBtn24"), Ctl::Count);
  EXPECT_TRUE(ControlName(Ctl::Count).empty());
}

struct FamilyCase {
  const char* label;
  Ctl (*lookup)(int);
  int count;
  const char* firstName;
  const char* lastName;
};

class PanelModelFamilies : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(PanelModelFamilies, IndexesMapToTheNumberedControls) {
  const FamilyCase& c = GetParam();
  EXPECT_EQ(ControlName(c.lookup(0)), c.firstName);
  EXPECT_EQ(ControlName(c.lookup(c.count - 1)), c.lastName);
  EXPECT_EQ(c.lookup(-1), Ctl::Count);
  EXPECT_EQ(c.lookup(c.count), Ctl::Count);
  std::set<Ctl> distinct;
  for (int i = 0; i < c.count; ++i) distinct.insert(c.lookup(i));
  EXPECT_EQ(static_cast<int>(distinct.size()), c.count);
}

INSTANTIATE_TEST_SUITE_P(
    All, PanelModelFamilies,
    ::testing::Values(FamilyCase{"filters", FilterButton, 24, "FiltBtn0", "FiltBtn23"},
                      FamilyCase{"steps", StepButton, 9, "StepBtn1", "StepBtn10000"},
                      FamilyCase{"scratchpad", ScratchpadButton, 16, "ScpdBtn0", "ScpdBtn15"},
                      FamilyCase{"scanspeeds", ScanSpeedButton, 6, "ScanSpd0Btn", "ScanSpd5Btn"},
                      FamilyCase{"modes", ModeButton, 4, "ModeBtnAM", "ModeBtnCW"},
                      FamilyCase{"reopen", ReopenItem, 10, "Reopen1Item", "Reopen10Item"},
                      FamilyCase{"banks", BankItem, 10, "Bank1", "Bank10"},
                      FamilyCase{"limits", LimitRangeItem, 20, "LimRange1", "LimRange20"}),
    [](const ::testing::TestParamInfo<FamilyCase>& info) { return std::string(info.param.label); });

TEST(PanelModelFamilyOrder, StepRowsAndModeNumbersFollowTheReceiverTables) {
  const std::vector<std::string_view> steps{"StepBtn1",    "StepBtn10",   "StepBtn50",
                                            "StepBtn100",  "StepBtn500",  "StepBtn1000",
                                            "StepBtn3000", "StepBtn5000", "StepBtn10000"};
  for (int row = 0; row < 9; ++row) EXPECT_EQ(ControlName(StepButton(row)), steps[row]) << row;
  const Ctl modes[] = {Ctl::ModeBtnAM, Ctl::ModeBtnUSB, Ctl::ModeBtnLSB, Ctl::ModeBtnCW};
  for (int mode = 0; mode < 4; ++mode) EXPECT_EQ(ModeButton(mode), modes[mode]) << mode;
}

TEST(PanelModelGroups, GroupTable) {
  struct Row {
    Ctl control;
    int group;
  };
  const Row rows[] = {
      {Ctl::FiltBtn0, 1},     {Ctl::FiltBtn23, 1},    {Ctl::StepBtn1, 2},      {Ctl::StepBtn10000, 2},
      {Ctl::ModeBtnCW, 3},    {Ctl::DataModeBtn, 3},  {Ctl::ModeBtnAM, 3},     {Ctl::ScanSpd0Btn, 4},
      {Ctl::ScanSpd5Btn, 4},  {Ctl::ScpdBtn0, 5},     {Ctl::ScpdBtn15, 5},     {Ctl::WWV25Btn, 6},
      {Ctl::WWV20Btn, 6},     {Ctl::FileScanBtn, 7},  {Ctl::BandScanBtn, 7},   {Ctl::ScanBtn, 8},
      {Ctl::AGCFastBtn, 9},   {Ctl::AGCSlowBtn, 9},   {Ctl::FreqUpBtn, 10},    {Ctl::FreqDnBtn, 10},
      {Ctl::FreqUpBtnFast, 0}, {Ctl::WWVRestoreBtn, 0}, {Ctl::StopBtn, 0},     {Ctl::SpkrMuteBtn, 0},
      {Ctl::Meter, 0},        {Ctl::HintItem, 0},     {Ctl::DecrBWBtn, 0},     {Ctl::VFOBtn, 0},
  };
  for (const Row& r : rows) EXPECT_EQ(PanelModel::GroupOf(r.control), r.group) << ControlName(r.control);

  // Group sizes as laid out on the panel.
  std::vector<int> sizes(11, 0);
  for (int i = 0; i < ControlCount; ++i) ++sizes[PanelModel::GroupOf(static_cast<Ctl>(i))];
  sizes[0] = 0;  // the ungrouped rest
  EXPECT_EQ(sizes, (std::vector<int>{0, 24, 9, 5, 6, 16, 5, 4, 1, 3, 2}));
}

TEST(PanelModelGroups, PressReleasesTheOthersOfItsGroupOnly) {
  PanelModel m;
  m.press(Ctl::ModeBtnUSB);
  m.press(Ctl::FiltBtn3);
  m.press(Ctl::AGCMedBtn);
  m.press(Ctl::DataModeBtn);  // shares the mode buttons' group
  EXPECT_TRUE(m[Ctl::DataModeBtn].pressed);
  EXPECT_FALSE(m[Ctl::ModeBtnUSB].pressed);
  EXPECT_TRUE(m[Ctl::FiltBtn3].pressed);
  EXPECT_TRUE(m[Ctl::AGCMedBtn].pressed);

  m.press(Ctl::ModeBtnCW);
  EXPECT_FALSE(m[Ctl::DataModeBtn].pressed);
  EXPECT_TRUE(m[Ctl::ModeBtnCW].pressed);

  m.press(Ctl::FiltBtn20);
  EXPECT_FALSE(m[Ctl::FiltBtn3].pressed);
  EXPECT_TRUE(m[Ctl::FiltBtn20].pressed);
}

TEST(PanelModelGroups, UngroupedButtonsDoNotReleaseEachOther) {
  PanelModel m;
  m.press(Ctl::FreqUpBtnFast);
  m.press(Ctl::FreqDnBtnFast);
  m.press(Ctl::StopBtn);
  EXPECT_TRUE(m[Ctl::FreqUpBtnFast].pressed);
  EXPECT_TRUE(m[Ctl::FreqDnBtnFast].pressed);
  EXPECT_TRUE(m[Ctl::StopBtn].pressed);
}

TEST(PanelModelGroups, UpAndDownMayBothBeUp) {
  PanelModel m;
  m.press(Ctl::FreqUpBtn);
  m.press(Ctl::FreqDnBtn);
  EXPECT_FALSE(m[Ctl::FreqUpBtn].pressed);
  EXPECT_TRUE(m[Ctl::FreqDnBtn].pressed);
  m.release(Ctl::FreqDnBtn);
  EXPECT_FALSE(m[Ctl::FreqUpBtn].pressed);
  EXPECT_FALSE(m[Ctl::FreqDnBtn].pressed);
  m.press(Ctl::ScanBtn);
  m.release(Ctl::ScanBtn);
  EXPECT_FALSE(m[Ctl::ScanBtn].pressed);
}

TEST(PanelModelGroups, CheckingAMenuItemTouchesNothingElse) {
  PanelModel m;
  m.setChecked(Ctl::Bank1, true);
  m.setChecked(Ctl::Bank2, true);
  EXPECT_TRUE(m[Ctl::Bank1].pressed);
  EXPECT_TRUE(m[Ctl::Bank2].pressed);
  m.setChecked(Ctl::Bank1, false);
  EXPECT_FALSE(m[Ctl::Bank1].pressed);
}

TEST(PanelModelChanges, EveryRealChangeIsAnnouncedOnce) {
  PanelModel m;
  std::vector<Ctl> changes;
  m.onChanged = [&changes](Ctl c) { changes.push_back(c); };

  m.press(Ctl::StepBtn100);
  m.press(Ctl::StepBtn500);
  EXPECT_EQ(changes, (std::vector<Ctl>{Ctl::StepBtn100, Ctl::StepBtn100, Ctl::StepBtn500}));

  changes.clear();
  m.setCaption(Ctl::VFOBtn, "VFO B");
  m.setCaption(Ctl::VFOBtn, "VFO B");  // no change, no announcement
  m.setEnabled(Ctl::LogDispBtn, false);
  m.setVisible(Ctl::Reopen1Item, true);
  m.setFont(Ctl::FreqUpBtnFast, Colour::Maroon, true);
  m.setColour(Ctl::FreqDispPanel, Colour::Red);
  m.setHint(Ctl::ScpdBtn0, "tag");
  EXPECT_EQ(changes, (std::vector<Ctl>{Ctl::VFOBtn, Ctl::LogDispBtn, Ctl::Reopen1Item, Ctl::FreqUpBtnFast,
                                       Ctl::FreqDispPanel, Ctl::ScpdBtn0}));
  EXPECT_EQ(m[Ctl::VFOBtn].caption, "VFO B");
  EXPECT_FALSE(m[Ctl::LogDispBtn].enabled);
  EXPECT_TRUE(m[Ctl::Reopen1Item].visible);
  EXPECT_EQ(m[Ctl::FreqUpBtnFast].colour, Colour::Maroon);
  EXPECT_TRUE(m[Ctl::FreqUpBtnFast].bold);
  EXPECT_EQ(m[Ctl::FreqDispPanel].colour, Colour::Red);
  EXPECT_EQ(m[Ctl::ScpdBtn0].hint, "tag");
}

TEST(PanelModelChanges, TitleChangesAreAnnounced) {
  PanelModel m;
  int calls = 0;
  m.onTitleChanged = [&calls] { ++calls; };
  EXPECT_EQ(m.title(), "Ondaris");
  m.setTitle("9575");
  m.setTitle("9575");
  EXPECT_EQ(m.title(), "9575");
  EXPECT_EQ(calls, 1);
}

TEST(PanelModelValues, PositionsStayInsideTheRange) {
  PanelModel m;
  m.setValue(Ctl::Meter, 12000);
  EXPECT_EQ(m[Ctl::Meter].value, 10000);
  m.setRange(Ctl::Meter, 0, 2500);  // 4x sensitivity
  EXPECT_EQ(m[Ctl::Meter].maximum, 2500);
  EXPECT_EQ(m[Ctl::Meter].value, 2500);
  m.setValue(Ctl::Meter, -5);
  EXPECT_EQ(m[Ctl::Meter].value, 0);
  m.setValue(Ctl::TuningSpeedTrackbar, 0);
  EXPECT_EQ(m[Ctl::TuningSpeedTrackbar].value, 1);
  m.setValue(Ctl::SpkrTrackbar, 37);
  EXPECT_EQ(m[Ctl::SpkrTrackbar].value, 37);
}

// Captions built from the filter, step and speed tables and the numbered
// families, and the fresh window's displays.
TEST(PanelModelDesign, CaptionsOfAFreshWindow) {
  PanelModel m;
  const std::pair<Ctl, const char*> rows[] = {
      {Ctl::FiltBtn0, "8000"},
      {Ctl::FiltBtn13, "2550"},
      {Ctl::FiltBtn23, "300"},
      {Ctl::StepBtn10000, "10K"},
      {Ctl::StepBtn3000, "3K"},
      {Ctl::StepBtn500, "500"},
      {Ctl::StepBtn1, "1"},
      {Ctl::ScanSpd0Btn, ".25S"},
      {Ctl::ScanSpd5Btn, "10S"},
      {Ctl::WWV25Btn, "2.5"},
      {Ctl::FreqDispPanel, "12345.000"},
      {Ctl::PBTDisplayPanel, "0"},
      {Ctl::VFOBtn, "VFO A"},
      {Ctl::BankDispPanel, "1"},
      {Ctl::StatusPanel, "Ondaris"},
      {Ctl::ScpdBtn0, ""},
      {Ctl::NewFileItem, "&New Frequency File          (Ctrl+N)"},
      {Ctl::Bank1, "Bank &1"},
      {Ctl::Bank9, "Bank &9"},
      {Ctl::Bank10, "Bank 1&0"},
      {Ctl::LimRange1, "Limit Scan Range 1"},
      {Ctl::LimRange20, "Limit Scan Range 20"},
  };
  for (const auto& [control, caption] : rows) EXPECT_EQ(m[control].caption, caption) << ControlName(control);
}

TEST(PanelModelDesign, EveryButtonHasACaptionOrIsAScratchpadMemory) {
  PanelModel m;
  for (Ctl c : {Ctl::FreqUpBtn, Ctl::FreqDnBtn, Ctl::BankUpBtn, Ctl::BankDnBtn})
    EXPECT_FALSE(m[c].caption.empty()) << ControlName(c);
  for (int i = 0; i < 16; ++i) {
    EXPECT_TRUE(m[ScratchpadButton(i)].caption.empty());
    EXPECT_EQ(m[ScratchpadButton(i)].colour, Colour::Maroon);
  }
}

TEST(PanelModelDesign, HintsOfTheMainControls) {
  PanelModel m;
  const std::pair<Ctl, const char*> rows[] = {
      {Ctl::FreqDispPanel,
       "Frequency in kHz.  Red = WWV mode.  Asterisk (*) = Clock radio mode (Click the UTC window.)"},
      {Ctl::Meter, "S-Meter:  Click toggles between normal and 4x sensitivity"},
      {Ctl::WWV25Btn, "Tune WWV on 2.5 MHz. Save previous tuning."},
      {Ctl::WWV5Btn, "Tune WWV on 5 MHz.  Save previous tuning."},
      {Ctl::Grid, "Click col headers to sort; scroll with K,M,F,V keys or arrow keys"},
  };
  for (const auto& [control, hint] : rows) EXPECT_EQ(m[control].hint, hint) << ControlName(control);
}

TEST(PanelModelDesign, EveryVisibleControlHasAHint) {
  PanelModel m;
  const int firstMenuItem = static_cast<int>(Ctl::NewFileItem);
  for (int i = 0; i < firstMenuItem; ++i) {
    const Ctl c = static_cast<Ctl>(i);
    EXPECT_FALSE(m[c].hint.empty()) << ControlName(c);
  }
}

TEST(PanelModelDesign, RangesChecksAndVisibility) {
  PanelModel m;
  EXPECT_EQ(m[Ctl::TuningSpeedTrackbar].minimum, 1);
  EXPECT_EQ(m[Ctl::TuningSpeedTrackbar].maximum, 40);
  EXPECT_EQ(m[Ctl::TuningSpeedTrackbar].value, 2);
  for (Ctl bar : {Ctl::SpkrTrackbar, Ctl::LineTrackbar}) {
    EXPECT_EQ(m[bar].minimum, 0);
    EXPECT_EQ(m[bar].maximum, 50);
  }
  EXPECT_EQ(m[Ctl::Meter].minimum, 0);
  EXPECT_EQ(m[Ctl::Meter].maximum, 10000);
  EXPECT_EQ(m[Ctl::Meter].value, 0);
  for (Ctl item : {Ctl::MuteOnExitItem, Ctl::DefaultStepItem, Ctl::DefaultFiltItem, Ctl::HintItem})
    EXPECT_FALSE(m[item].pressed) << ControlName(item);
  for (int i = 0; i < 10; ++i) {
    EXPECT_FALSE(m[ReopenItem(i)].visible);
    EXPECT_TRUE(m[ReopenItem(i)].caption.empty());
  }
  EXPECT_EQ(m[Ctl::FreqDispPanel].colour, Colour::Aqua);
  EXPECT_EQ(m[Ctl::StatusPanel].colour, Colour::Aqua);
  // Nothing is pressed before start-up presses the loaded state.
  for (int i = 0; i < ControlCount; ++i) EXPECT_FALSE(m[static_cast<Ctl>(i)].pressed);
  EXPECT_EQ(m.title(), "Ondaris");
}

}  // namespace
}  // namespace ondaris
