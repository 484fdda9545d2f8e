// Mode, filter, AGC, passband tuning, volume and mute controls and the three
// option menu items, driven through the fake panel.

#include <gtest/gtest.h>

#include <string>

#include "support/PanelFixture.h"

namespace ondaris {
namespace {

using ControlsTest = PanelFixture;

// ---- Mode ----------------------------------------------------------------

struct ModeCase {
  const char* name;
  int mode;
  Ctl button;
  int bandwidth;
  int stepHz;
  char modeCharacter;
};

class ModeButtonTest : public PanelParamFixture<ModeCase> {};

TEST_P(ModeButtonTest, AppliesTheModesDefaultFilterAndStepAndTunes) {
  const ModeCase& c = GetParam();
  state.DataBFOActive = 1;

  controls.ModeBtnClick(c.mode);

  EXPECT_EQ(state.Mode, c.mode);
  EXPECT_TRUE(panel[c.button].pressed);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, c.name);
  EXPECT_EQ(state.Bandwidth, c.bandwidth);
  EXPECT_EQ(state.StepHz, c.stepHz);
  EXPECT_TRUE(panel[FilterButton(state.FilterIndex)].pressed);
  EXPECT_TRUE(panel[StepButton(state.StepIndex)].pressed);
  EXPECT_EQ(state.DataBFOActive, 0);

  const auto units = sentUnits();
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(units[0], state.TuningBytes());
  EXPECT_EQ(units[0].substr(units[0].size() - 6, 2), std::string({'M', c.modeCharacter}));
}

INSTANTIATE_TEST_SUITE_P(Defaults, ModeButtonTest,
                         ::testing::Values(ModeCase{"AM", 0, Ctl::ModeBtnAM, 6000, 500, '0'},
                                           ModeCase{"USB", 1, Ctl::ModeBtnUSB, 2550, 1000, '1'},
                                           ModeCase{"LSB", 2, Ctl::ModeBtnLSB, 2550, 1000, '2'},
                                           ModeCase{"CW", 3, Ctl::ModeBtnCW, 300, 1000, '3'}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlsTest, ModeButtonWithoutDefaultOptionsKeepsFilterAndStep) {
  state.UseDefaultFilters = 0;
  state.UseDefaultSteps = 0;
  tuning.SetTuningStep(50);
  controls.SelectFilter(7);
  controls.ModeBtnClick(3);
  EXPECT_EQ(state.Mode, 3);
  EXPECT_EQ(state.FilterIndex, 7);
  EXPECT_EQ(state.StepHz, 50);
}

TEST_F(ControlsTest, ChangedDefaultsAreUsed) {
  state.CWFilterIndex = 21;
  state.CWStepIndex = 2;
  controls.ModeBtnClick(3);
  EXPECT_EQ(state.Bandwidth, 750);
  EXPECT_EQ(state.StepHz, 50);
  EXPECT_EQ(state.StepIndex, 2);
}

TEST_F(ControlsTest, ModeButtonReleasesTheDataModeButton) {
  panel.press(Ctl::DataModeBtn);
  controls.ModeBtnClick(1);
  EXPECT_FALSE(panel[Ctl::DataModeBtn].pressed);
  EXPECT_TRUE(panel[Ctl::ModeBtnUSB].pressed);
}

TEST_F(ControlsTest, QuietModeSelectionKeepsTheDataOffsetAndTheStatusText) {
  state.DataBFOActive = 1;
  panel.setCaption(Ctl::StatusPanel, "RTTY");
  controls.SelectModeQuietly(3);
  EXPECT_EQ(state.Mode, 3);
  EXPECT_EQ(state.DataBFOActive, 1);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "RTTY");
  EXPECT_EQ(state.FilterIndex, 23);
  ASSERT_EQ(sentUnits().size(), 1u);
}

TEST_F(ControlsTest, ShowModeOnlyPressesTheButton) {
  controls.ShowMode(2);
  EXPECT_TRUE(panel[Ctl::ModeBtnLSB].pressed);
  EXPECT_TRUE(port.writes().empty());
  EXPECT_EQ(state.FilterIndex, 1);
}

// ---- Filter --------------------------------------------------------------

TEST_F(ControlsTest, FilterButtonSelectsTheRowAndSendsItsCode) {
  controls.FiltBtnClick(17);
  EXPECT_EQ(state.FilterIndex, 17);
  EXPECT_EQ(state.Bandwidth, 1800);
  EXPECT_EQ(state.FilterCode, 18);
  EXPECT_TRUE(panel[Ctl::FiltBtn17].pressed);
  EXPECT_FALSE(panel[Ctl::FiltBtn1].pressed);
  const auto units = sentUnits();
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(HexBytes(units[0].substr(0, 3)), "57 12 0D");
}

TEST_F(ControlsTest, SelectFilterDoesNotSend) {
  controls.SelectFilter(5);
  EXPECT_EQ(state.Bandwidth, 4500);
  EXPECT_TRUE(panel[Ctl::FiltBtn5].pressed);
  EXPECT_TRUE(port.writes().empty());
}

TEST_F(ControlsTest, WiderAndNarrowerMoveOneRow) {
  controls.SelectFilter(5);
  controls.IncrBWBtnClick();
  EXPECT_EQ(state.FilterIndex, 4);
  EXPECT_TRUE(panel[Ctl::FiltBtn4].pressed);
  controls.DecrBWBtnClick();
  controls.DecrBWBtnClick();
  EXPECT_EQ(state.FilterIndex, 6);
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(sentUnits().back(), state.TuningBytes());
}

TEST_F(ControlsTest, WiderAtTheWidestAndNarrowerAtTheNarrowestSendNothing) {
  controls.SelectFilter(0);
  controls.IncrBWBtnClick();
  EXPECT_EQ(state.FilterIndex, 0);
  controls.SelectFilter(23);
  controls.DecrBWBtnClick();
  EXPECT_EQ(state.FilterIndex, 23);
  EXPECT_TRUE(port.writes().empty());
  EXPECT_EQ(statusReports, 0);
}

// ---- AGC -----------------------------------------------------------------

struct AgcCase {
  int agc;
  Ctl button;
  char level;
};

class AgcButtonTest : public PanelParamFixture<AgcCase> {};

TEST_P(AgcButtonTest, SetsPressesAndSends) {
  const AgcCase& c = GetParam();
  controls.AGCBtnClick(c.agc);
  EXPECT_EQ(state.AGC, c.agc);
  EXPECT_TRUE(panel[c.button].pressed);
  const auto units = sentUnits();
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(units[0].substr(units[0].size() - 3), std::string({'G', c.level, '\r'}));
}

INSTANTIATE_TEST_SUITE_P(Buttons, AgcButtonTest,
                         ::testing::Values(AgcCase{1, Ctl::AGCSlowBtn, '1'}, AgcCase{2, Ctl::AGCMedBtn, '2'},
                                           AgcCase{3, Ctl::AGCFastBtn, '3'}));

TEST_F(ControlsTest, AgcButtonsAreBlackRegularAtNormalSensitivity) {
  controls.AGCBtnClick(3);
  for (Ctl c : {Ctl::AGCFastBtn, Ctl::AGCMedBtn, Ctl::AGCSlowBtn}) {
    EXPECT_EQ(panel[c].colour, Colour::Black) << ControlName(c);
    EXPECT_FALSE(panel[c].bold) << ControlName(c);
  }
}

TEST_F(ControlsTest, CurrentAgcButtonIsMaroonBoldAtFourTimesSensitivity) {
  ctx.flags.MeterHiSens = true;
  controls.AGCBtnClick(2);
  EXPECT_EQ(panel[Ctl::AGCMedBtn].colour, Colour::Maroon);
  EXPECT_TRUE(panel[Ctl::AGCMedBtn].bold);
  for (Ctl c : {Ctl::AGCFastBtn, Ctl::AGCSlowBtn}) {
    EXPECT_EQ(panel[c].colour, Colour::Black) << ControlName(c);
    EXPECT_FALSE(panel[c].bold) << ControlName(c);
  }
  controls.AGCBtnClick(1);
  EXPECT_TRUE(panel[Ctl::AGCSlowBtn].bold);
  EXPECT_FALSE(panel[Ctl::AGCMedBtn].bold);
}

TEST_F(ControlsTest, ShowAgcDoesNotSend) {
  controls.ShowAGCFast();
  EXPECT_EQ(state.AGC, 3);
  EXPECT_TRUE(panel[Ctl::AGCFastBtn].pressed);
  controls.ShowAGCSlow();
  EXPECT_EQ(state.AGC, 1);
  controls.ShowAGCMedium();
  EXPECT_EQ(state.AGC, 2);
  EXPECT_TRUE(panel[Ctl::AGCMedBtn].pressed);
  EXPECT_FALSE(panel[Ctl::AGCFastBtn].pressed);
  EXPECT_TRUE(port.writes().empty());
}

// ---- Passband tuning -----------------------------------------------------

enum class PbtAction { Up, Down, Centre };

struct PbtCase {
  const char* name;
  int start;
  PbtAction action;
  int expected;
  bool sends;
};

class PbtTest : public PanelParamFixture<PbtCase> {};

TEST_P(PbtTest, MovesInFiftyHertzStepsWithinTwoKilohertz) {
  const PbtCase& c = GetParam();
  state.PBT = c.start;
  switch (c.action) {
    case PbtAction::Up: controls.PBTBtnUpClick(); break;
    case PbtAction::Down: controls.PBTBtnDownClick(); break;
    case PbtAction::Centre: controls.PBTDisplayPanelClick(); break;
  }
  EXPECT_EQ(state.PBT, c.expected);
  EXPECT_EQ(!port.writes().empty(), c.sends);
  if (c.sends) {
    EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, std::to_string(c.expected));
    EXPECT_EQ(sentUnits().back(), state.TuningBytes());
  } else {
    EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, "0");  // untouched
  }
}

INSTANTIATE_TEST_SUITE_P(Limits, PbtTest,
                         ::testing::Values(PbtCase{"UpFromZero", 0, PbtAction::Up, 50, true},
                                           PbtCase{"DownFromZero", 0, PbtAction::Down, -50, true},
                                           PbtCase{"UpToTheTop", 1950, PbtAction::Up, 2000, true},
                                           PbtCase{"UpAtTheTop", 2000, PbtAction::Up, 2000, false},
                                           PbtCase{"DownAtTheBottom", -2000, PbtAction::Down, -2000, false},
                                           PbtCase{"UpFrom1975", 1975, PbtAction::Up, 1975, false},
                                           PbtCase{"DownFromMinus1975", -1975, PbtAction::Down, -1975, false},
                                           PbtCase{"Centre", 1500, PbtAction::Centre, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Volume and mutes ----------------------------------------------------

TEST_F(ControlsTest, SpeakerTrackbarSetsVolumeAndSends) {
  controls.SpkrTrackbarChange(50);
  EXPECT_EQ(state.SpkrVolume, 63);
  EXPECT_EQ(panel[Ctl::SpkrTrackbar].value, 50);
  ASSERT_EQ(sentUnits().size(), 1u);
  EXPECT_EQ(HexBytes(sentUnits()[0]), "56 7F 00 0D 41 7F 21 0D");

  controls.LineTrackbarChange(0);
  EXPECT_EQ(state.LineVolume, 13);
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(HexBytes(sentUnits().back()), "56 7F 00 0D 41 7F 32 0D");
  EXPECT_EQ(statusReports, 4);  // two per volume change
}

TEST_F(ControlsTest, TrackbarPositionStaysWithinItsRange) {
  controls.SpkrTrackbarChange(80);
  EXPECT_EQ(state.SpkrVolume, 63);
  controls.LineTrackbarChange(-5);
  EXPECT_EQ(state.LineVolume, 13);
}

TEST_F(ControlsTest, MovingTheSpeakerTrackbarWhileMutedKeepsItMuted) {
  state.SpkrMute = 1;
  controls.SpkrTrackbarChange(40);
  EXPECT_EQ(state.SpkrVolume, 53);
  ASSERT_EQ(sentUnits().size(), 1u);
  EXPECT_EQ(HexBytes(sentUnits()[0].substr(0, 4)), "56 7F 3F 0D");

  ASSERT_TRUE(flushLine());
  controls.SpkrMuteBtnClick();  // unmuting brings the stored volume back
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(HexBytes(sentUnits().back().substr(0, 4)), "56 7F 0A 0D");
}

TEST_F(ControlsTest, MuteButtonsToggleTheirOwnOutput) {
  controls.SpkrMuteBtnClick();
  EXPECT_EQ(state.SpkrMute, 1);
  EXPECT_EQ(state.LineMute, 0);
  EXPECT_EQ(panel[Ctl::SpkrMuteBtn].caption, "Spkr Mute");
  controls.LineMuteBtnClick();
  EXPECT_EQ(state.LineMute, 1);
  EXPECT_EQ(state.SpkrMute, 1);
  EXPECT_EQ(panel[Ctl::LineMuteBtn].caption, "Line Mute");
  controls.SpkrMuteBtnClick();
  EXPECT_EQ(state.SpkrMute, 0);
  EXPECT_EQ(state.LineMute, 1);
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(HexBytes(sentUnits().back()), "56 7F 21 0D 41 7F 3F 0D");
}

TEST_F(ControlsTest, MuteTogetherMutesAndUnmutesBoth) {
  state.MuteTogether = 1;
  state.SpkrMute = 0;
  state.LineMute = 1;
  controls.SpkrMuteBtnClick();
  EXPECT_EQ(state.SpkrMute, 1);
  EXPECT_EQ(state.LineMute, 1);
  ASSERT_EQ(sentUnits().size(), 1u);
  EXPECT_EQ(HexBytes(sentUnits()[0]), "56 7F 3F 0D 41 7F 3F 0D");

  controls.SpkrMuteBtnClick();
  EXPECT_EQ(state.SpkrMute, 0);
  EXPECT_EQ(state.LineMute, 0);
  EXPECT_EQ(panel[Ctl::SpkrMuteBtn].caption, "Speaker");
  EXPECT_EQ(panel[Ctl::LineMuteBtn].caption, "Line");

  controls.LineMuteBtnClick();
  EXPECT_EQ(state.SpkrMute, 1);
  EXPECT_EQ(state.LineMute, 1);
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(HexBytes(sentUnits().back()), "56 7F 3F 0D 41 7F 3F 0D");
}

// ---- Option menu items ---------------------------------------------------

struct OptionCase {
  Ctl item;
  std::uint8_t RadioState::*flag;
};

class OptionItemTest : public PanelParamFixture<OptionCase> {};

TEST_P(OptionItemTest, ClickTogglesCheckMarkAndFlagWithoutSending) {
  const OptionCase& c = GetParam();
  state.*c.flag = 1;
  controls.OptionItemClick(c.item);
  EXPECT_EQ(state.*c.flag, 0);
  EXPECT_FALSE(panel[c.item].pressed);
  controls.OptionItemClick(c.item);
  EXPECT_EQ(state.*c.flag, 1);
  EXPECT_TRUE(panel[c.item].pressed);
  EXPECT_TRUE(port.writes().empty());
}

INSTANTIATE_TEST_SUITE_P(Items, OptionItemTest,
                         ::testing::Values(OptionCase{Ctl::MuteOnExitItem, &RadioState::MuteOnExit},
                                           OptionCase{Ctl::DefaultFiltItem, &RadioState::UseDefaultFilters},
                                           OptionCase{Ctl::DefaultStepItem, &RadioState::UseDefaultSteps}));

TEST_F(ControlsTest, OptionDefaultsComeFromTheStoredStartValues) {
  state.UseDefaultFiltersAsDefault = 0;
  state.UseDefaultStepsAsDefault = 1;
  state.MuteOnExitAsDefault = 0;
  state.UseDefaultFilters = 1;
  state.UseDefaultSteps = 0;
  state.MuteOnExit = 1;
  controls.ApplyOptionDefaults();
  EXPECT_EQ(state.UseDefaultFilters, 0);
  EXPECT_EQ(state.UseDefaultSteps, 1);
  EXPECT_EQ(state.MuteOnExit, 0);
  EXPECT_FALSE(panel[Ctl::DefaultFiltItem].pressed);
  EXPECT_TRUE(panel[Ctl::DefaultStepItem].pressed);
  EXPECT_FALSE(panel[Ctl::MuteOnExitItem].pressed);
}

TEST_F(ControlsTest, DefaultFilterOptionOffLeavesTheFilterOnAModeChange) {
  controls.SelectFilter(9);
  controls.OptionItemClick(Ctl::DefaultFiltItem);  // on -> off
  controls.ModeBtnClick(1);
  EXPECT_EQ(state.FilterIndex, 9);
  EXPECT_EQ(state.StepHz, 1000);  // steps still follow the mode
}

}  // namespace
}  // namespace ondaris
