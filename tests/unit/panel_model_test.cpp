#include "panel/PanelModel.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
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
  EXPECT_EQ(ControlName(Ctl::LimRange20), "LimRange20");
  for (const char* unknown : {"scpdbtn15", "", "FiltBtn24"}) EXPECT_EQ(ControlByName(unknown), Ctl::Count);
  EXPECT_TRUE(ControlName(Ctl::Count).empty());
}

TEST(PanelModelNames, IndexesMapToTheNumberedControls) {
  const struct {
    Ctl (*lookup)(int);
    int count;
    const char *first, *second, *last;
  } families[] = {{FilterButton, 24, "FiltBtn0", "FiltBtn1", "FiltBtn23"},
                  {StepButton, 9, "StepBtn1", "StepBtn10", "StepBtn10000"},
                  {ScratchpadButton, 16, "ScpdBtn0", "ScpdBtn1", "ScpdBtn15"},
                  {ScanSpeedButton, 6, "ScanSpd0Btn", "ScanSpd1Btn", "ScanSpd5Btn"},
                  {ModeButton, 4, "ModeBtnAM", "ModeBtnUSB", "ModeBtnCW"},
                  {ReopenItem, 10, "Reopen1Item", "Reopen2Item", "Reopen10Item"},
                  {BankItem, 10, "Bank1", "Bank2", "Bank10"},
                  {LimitRangeItem, 20, "LimRange1", "LimRange2", "LimRange20"}};
  for (const auto& f : families) {
    SCOPED_TRACE(f.first);
    EXPECT_EQ(std::tuple(ControlName(f.lookup(0)), ControlName(f.lookup(1)), ControlName(f.lookup(f.count - 1))),
              std::tuple(f.first, f.second, f.last));
    EXPECT_EQ(std::pair(f.lookup(-1), f.lookup(f.count)), std::pair(Ctl::Count, Ctl::Count));
  }
  EXPECT_EQ(ControlName(StepButton(6)), "StepBtn3000");
  EXPECT_EQ(ModeButton(2), Ctl::ModeBtnLSB);
}

TEST(PanelModelGroups, GroupSizesAndPressReleasesOnlyItsOwnGroup) {
  std::vector<int> sizes(11, 0);
  for (int i = 0; i < ControlCount; ++i) ++sizes[PanelModel::GroupOf(static_cast<Ctl>(i))];
  sizes[0] = 0;  // the ungrouped rest
  EXPECT_EQ(sizes, (std::vector<int>{0, 24, 9, 5, 6, 16, 5, 4, 1, 3, 2}));
  EXPECT_EQ(PanelModel::GroupOf(Ctl::DataModeBtn), 3);
  EXPECT_EQ(PanelModel::GroupOf(Ctl::FreqUpBtnFast), 0);

  PanelModel m;
  for (Ctl c : {Ctl::ModeBtnUSB, Ctl::FiltBtn3, Ctl::AGCMedBtn, Ctl::DataModeBtn, Ctl::FreqUpBtnFast,
                Ctl::FreqDnBtnFast, Ctl::FreqUpBtn, Ctl::FreqDnBtn})
    m.press(c);
  for (Ctl c : {Ctl::DataModeBtn, Ctl::FiltBtn3, Ctl::AGCMedBtn, Ctl::FreqUpBtnFast, Ctl::FreqDnBtnFast, Ctl::FreqDnBtn})
    EXPECT_TRUE(m[c].pressed) << ControlName(c);
  EXPECT_FALSE(m[Ctl::ModeBtnUSB].pressed || m[Ctl::FreqUpBtn].pressed);
  m.release(Ctl::FreqDnBtn);  // up and down may both be up
  EXPECT_FALSE(m[Ctl::FreqDnBtn].pressed);
  m.setChecked(Ctl::Bank1, true);  // menu items touch nothing else
  m.setChecked(Ctl::Bank2, true);
  m.setChecked(Ctl::Bank1, false);
  EXPECT_TRUE(!m[Ctl::Bank1].pressed && m[Ctl::Bank2].pressed);
}

TEST(PanelModelChanges, EveryRealChangeIsAnnouncedOnce) {
  PanelModel m;
  std::vector<Ctl> changes;
  m.onChanged = [&changes](Ctl c) { changes.push_back(c); };
  int titles = 0;
  m.onTitleChanged = [&titles] { ++titles; };
  m.press(Ctl::StepBtn100);
  m.press(Ctl::StepBtn500);
  m.setCaption(Ctl::VFOBtn, "VFO B");
  m.setCaption(Ctl::VFOBtn, "VFO B");  // no change, no announcement
  m.setEnabled(Ctl::LogDispBtn, false);
  m.setVisible(Ctl::Reopen1Item, true);
  m.setFont(Ctl::FreqUpBtnFast, Colour::Maroon, true);
  m.setColour(Ctl::FreqDispPanel, Colour::Red);
  m.setHint(Ctl::ScpdBtn0, "tag");
  EXPECT_EQ(changes, (std::vector<Ctl>{Ctl::StepBtn100, Ctl::StepBtn100, Ctl::StepBtn500, Ctl::VFOBtn,
                                       Ctl::LogDispBtn, Ctl::Reopen1Item, Ctl::FreqUpBtnFast, Ctl::FreqDispPanel,
                                       Ctl::ScpdBtn0}));
  EXPECT_EQ(std::tuple(m[Ctl::LogDispBtn].enabled, m[Ctl::Reopen1Item].visible, m[Ctl::FreqUpBtnFast].bold,
                       m[Ctl::ScpdBtn0].hint, m.title()),
            std::tuple(false, true, true, "tag", "Ondaris"));
  m.setTitle("9575");
  m.setTitle("9575");
  EXPECT_EQ(std::tuple(m.title(), titles), std::tuple("9575", 1));
}

TEST(PanelModelValues, PositionsStayInsideTheRange) {
  PanelModel m;
  m.setValue(Ctl::Meter, 12000);
  EXPECT_EQ(m[Ctl::Meter].value, 10000);
  m.setRange(Ctl::Meter, 0, 2500);  // 4x sensitivity
  EXPECT_EQ(std::pair(m[Ctl::Meter].maximum, m[Ctl::Meter].value), std::pair(2500, 2500));
  m.setValue(Ctl::Meter, -5);
  EXPECT_EQ(m[Ctl::Meter].value, 0);
  m.setValue(Ctl::TuningSpeedTrackbar, 0);
  EXPECT_EQ(m[Ctl::TuningSpeedTrackbar].value, 1);
}

// Captions and hints built from the tables, and the fresh window's displays.
TEST(PanelModelDesign, AFreshWindow) {
  PanelModel m;
  const std::pair<Ctl, const char*> captions[] = {
      {Ctl::FiltBtn0, "8000"},      {Ctl::FiltBtn23, "300"},     {Ctl::StepBtn10000, "10K"},
      {Ctl::StepBtn3000, "3K"},     {Ctl::StepBtn500, "500"},    {Ctl::ScanSpd0Btn, ".25S"},
      {Ctl::ScanSpd5Btn, "10S"},    {Ctl::WWV25Btn, "2.5"},      {Ctl::FreqDispPanel, "12345.000"},
      {Ctl::StatusPanel, "Ondaris"}, {Ctl::Bank9, "Bank &9"},    {Ctl::Bank10, "Bank 1&0"},
      {Ctl::LimRange20, "Limit Scan Range 20"}, {Ctl::NewFileItem, "&New Frequency File          (Ctrl+N)"}};
  for (const auto& [control, caption] : captions) EXPECT_EQ(m[control].caption, caption) << ControlName(control);
  EXPECT_EQ(m[Ctl::Meter].hint, "S-Meter:  Click toggles between normal and 4x sensitivity");
  EXPECT_EQ(m[Ctl::WWV5Btn].hint, "Tune WWV on 5 MHz.  Save previous tuning.");
  for (int i = 0; i < static_cast<int>(Ctl::NewFileItem); ++i)
    EXPECT_FALSE(m[static_cast<Ctl>(i)].hint.empty()) << ControlName(static_cast<Ctl>(i));
  const std::pair<Ctl, int> ranges[] = {{Ctl::TuningSpeedTrackbar, 40}, {Ctl::SpkrTrackbar, 50}, {Ctl::Meter, 10000}};
  for (const auto& [control, maximum] : ranges) EXPECT_EQ(m[control].maximum, maximum) << ControlName(control);
  EXPECT_EQ(m[Ctl::TuningSpeedTrackbar].value, 2);
  EXPECT_EQ(m[ScratchpadButton(7)].colour, Colour::Maroon);
  EXPECT_EQ(m[Ctl::FreqDispPanel].colour, Colour::Aqua);
  EXPECT_FALSE(m[ReopenItem(3)].visible);
  for (int i = 0; i < ControlCount; ++i) EXPECT_FALSE(m[static_cast<Ctl>(i)].pressed);
}

}  // namespace
}  // namespace ondaris
