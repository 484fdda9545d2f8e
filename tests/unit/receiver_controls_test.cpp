// Mode, filter, AGC, passband, volume and mute controls and the three option items, through the fake panel.

#include <gtest/gtest.h>

#include <tuple>

#include "support/PanelFixture.h"

namespace ondaris {
namespace {

class ControlsTest : public PanelFixture {
 protected:
  // The last unit on the wire once the line has carried everything, as hex.
  std::string LastSent() {
    EXPECT_TRUE(flushLine());
    return sentUnits().empty() ? "" : HexBytes(sentUnits().back());
  }
  // The units sent since the last Fresh(), once the line has carried them.
  std::vector<std::string> Sent() {
    EXPECT_TRUE(flushLine());
    return sentUnits();
  }
  void Fresh() {
    EXPECT_TRUE(flushLine());
    clearRecords();
  }
};

TEST_F(ControlsTest, ModeButtonsApplyTheModesDefaultFilterAndStepAndTune) {
  const struct {
    const char* name;
    int mode, bandwidth, stepHz;
  } cases[] = {{"USB", 1, 2550, 1000}, {"LSB", 2, 2550, 1000}, {"CW", 3, 300, 1000}, {"AM", 0, 6000, 500}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    state.DataBFOActive = 1;
    panel.press(Ctl::DataModeBtn);
    controls.ModeBtnClick(c.mode);
    EXPECT_EQ(std::tuple(int(state.Mode), panel[Ctl::StatusPanel].caption, state.Bandwidth, state.StepHz,
                         int(state.DataBFOActive)),
              std::tuple(c.mode, c.name, c.bandwidth, c.stepHz, 0));
    EXPECT_TRUE(panel[ModeButton(c.mode)].pressed && !panel[Ctl::DataModeBtn].pressed);
    EXPECT_TRUE(panel[FilterButton(state.FilterIndex)].pressed && panel[StepButton(state.StepIndex)].pressed);
    EXPECT_EQ(Sent(), std::vector<std::string>{state.TuningBytes()});
    EXPECT_EQ(state.TuningBytes().substr(11, 2), "M" + std::to_string(c.mode));
  }
}

TEST_F(ControlsTest, ModeDefaultsCanBeChangedOrTurnedOff) {
  state.CWFilterIndex = 21;
  state.CWStepIndex = 2;
  controls.ModeBtnClick(3);
  EXPECT_EQ(std::tuple(state.Bandwidth, state.StepIndex), std::tuple(750, 2));

  controls.SelectFilter(9);
  controls.OptionItemClick(Ctl::DefaultFiltItem);  // on -> off
  controls.ModeBtnClick(1);
  EXPECT_EQ(std::tuple(state.FilterIndex, state.StepHz), std::tuple(9, 1000));  // steps still follow the mode
  state.UseDefaultSteps = 0;
  tuning.SetTuningStep(50);
  controls.ModeBtnClick(3);
  EXPECT_EQ(std::tuple(state.FilterIndex, state.StepHz), std::tuple(9, 50));
}

TEST_F(ControlsTest, QuietAndShownModesKeepTheRest) {
  controls.ShowMode(2);  // only presses the button
  EXPECT_EQ(std::tuple(panel[Ctl::ModeBtnLSB].pressed, port.writes().size(), int(state.Mode), state.FilterIndex),
            std::tuple(true, 0u, 0, 1));
  controls.ShowMode(7);  // no such mode: AM
  EXPECT_TRUE(panel[Ctl::ModeBtnAM].pressed);

  state.DataBFOActive = 1;
  panel.setCaption(Ctl::StatusPanel, "RTTY");
  controls.SelectModeQuietly(3);  // keeps the data offset and the status text
  EXPECT_EQ(std::tuple(int(state.Mode), int(state.DataBFOActive), panel[Ctl::StatusPanel].caption, state.FilterIndex,
                       sentUnits().size()),
            std::tuple(3, 1, "RTTY", 23, 1u));
}

TEST_F(ControlsTest, FilterButtonsAndWiderNarrower) {
  controls.SelectFilter(5);  // does not send
  EXPECT_EQ(std::tuple(state.Bandwidth, panel[Ctl::FiltBtn5].pressed, port.writes().size()),
            std::tuple(4500, true, 0u));
  controls.FiltBtnClick(17);
  EXPECT_EQ(std::tuple(state.FilterIndex, state.Bandwidth, int(state.FilterCode)), std::tuple(17, 1800, 18));
  EXPECT_TRUE(panel[Ctl::FiltBtn17].pressed && !panel[Ctl::FiltBtn5].pressed);
  ASSERT_EQ(sentUnits().size(), 1u);
  EXPECT_EQ(HexBytes(sentUnits()[0].substr(0, 3)), "57 12 0D");  // the code, not the row

  controls.SelectFilter(5);
  controls.IncrBWBtnClick();
  EXPECT_EQ(std::tuple(state.FilterIndex, panel[Ctl::FiltBtn4].pressed), std::tuple(4, true));
  controls.DecrBWBtnClick();
  controls.DecrBWBtnClick();
  EXPECT_EQ(state.FilterIndex, 6);
  EXPECT_EQ(LastSent(), HexBytes(state.TuningBytes()));

  Fresh();  // wider at the widest and narrower at the narrowest do nothing
  controls.SelectFilter(0);
  controls.IncrBWBtnClick();
  EXPECT_EQ(state.FilterIndex, 0);
  controls.SelectFilter(23);
  controls.DecrBWBtnClick();
  EXPECT_EQ(std::tuple(state.FilterIndex, port.writes().size(), statusReports), std::tuple(23, 0u, 0));
}

// The current button is maroon and bold at four times sensitivity, black and
// regular otherwise.
TEST_F(ControlsTest, AgcButtonsSetPressAndSend) {
  const std::pair<int, Ctl> cases[] = {{1, Ctl::AGCSlowBtn}, {2, Ctl::AGCMedBtn}, {3, Ctl::AGCFastBtn}};
  for (bool hiSens : {false, true}) {
    ctx.flags.MeterHiSens = hiSens;
    for (const auto& [agc, button] : cases) {
      Fresh();
      controls.AGCBtnClick(agc);
      EXPECT_EQ(std::tuple(int(state.AGC), panel[button].pressed), std::tuple(agc, true));
      EXPECT_EQ(Sent(), std::vector<std::string>{state.TuningBytes()});
      EXPECT_EQ(state.TuningBytes().substr(14), "G" + std::to_string(agc) + "\r");
      for (Ctl c : {Ctl::AGCFastBtn, Ctl::AGCMedBtn, Ctl::AGCSlowBtn}) {
        const bool marked = hiSens && c == button;
        const auto look = std::tuple(marked ? Colour::Maroon : Colour::Black, marked);
        EXPECT_EQ(std::tuple(panel[c].colour, panel[c].bold), look) << ControlName(c);
      }
    }
  }
  Fresh();  // the Show functions do not send; no setting outside 1 to 3 is taken
  std::vector<int> shown;
  for (auto show : {&ReceiverControls::ShowAGCFast, &ReceiverControls::ShowAGCSlow, &ReceiverControls::ShowAGCMedium}) {
    (controls.*show)();
    shown.push_back(state.AGC);
  }
  controls.AGCBtnClick(4);
  controls.ShowAGC(0);
  shown.push_back(state.AGC);
  EXPECT_EQ(shown, (std::vector<int>{3, 1, 2, 2}));
  EXPECT_TRUE(panel[Ctl::AGCMedBtn].pressed && !panel[Ctl::AGCSlowBtn].pressed && port.writes().empty());
}

TEST_F(ControlsTest, PbtMovesInFiftyHertzStepsWithinTwoKilohertz) {
  enum Action { Up, Down, Centre };
  const struct {
    int start;
    Action action;
    int expected;
    bool sends;
  } cases[] = {{0, Up, 50, true},          {0, Down, -50, true},          {1950, Up, 2000, true},
               {2000, Up, 2000, false},    {-2000, Down, -2000, false},   {1975, Up, 1975, false},
               {-1975, Down, -1975, false}, {1500, Centre, 0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start * 10 + c.action);
    Fresh();
    panel.setCaption(Ctl::PBTDisplayPanel, "untouched");
    state.PBT = c.start;
    if (c.action == Up) controls.PBTBtnUpClick();
    if (c.action == Down) controls.PBTBtnDownClick();
    if (c.action == Centre) controls.PBTDisplayPanelClick();
    EXPECT_EQ(std::tuple(state.PBT, panel[Ctl::PBTDisplayPanel].caption),
              std::tuple(c.expected, c.sends ? std::to_string(c.expected) : "untouched"));
    EXPECT_EQ(Sent(), c.sends ? std::vector<std::string>{state.TuningBytes()} : std::vector<std::string>{});
  }
}

TEST_F(ControlsTest, TrackbarsSetTheVolumesWithinRangeAndSend) {
  controls.SpkrTrackbarChange(50);
  EXPECT_EQ(std::tuple(int(state.SpkrVolume), panel[Ctl::SpkrTrackbar].value, Sent()),
            std::tuple(63, 50, std::vector<std::string>{BytesFromHex("56 7F 00 0D 41 7F 21 0D")}));
  controls.LineTrackbarChange(0);
  EXPECT_EQ(std::tuple(int(state.LineVolume), LastSent(), statusReports),  // two reports per change
            std::tuple(13, "56 7F 00 0D 41 7F 32 0D", 4));
  controls.SpkrTrackbarChange(80);
  controls.LineTrackbarChange(-5);
  EXPECT_EQ(std::tuple(int(state.SpkrVolume), int(state.LineVolume)), std::tuple(63, 13));

  Fresh();  // moving the speaker trackbar while muted keeps it muted
  state.SpkrMute = 1;
  controls.SpkrTrackbarChange(40);
  EXPECT_EQ(std::tuple(int(state.SpkrVolume), LastSent().substr(0, 11)), std::tuple(53, "56 7F 3F 0D"));
  controls.SpkrMuteBtnClick();  // unmuting brings the stored volume back
  EXPECT_EQ(LastSent().substr(0, 11), "56 7F 0A 0D");
}

TEST_F(ControlsTest, MuteButtonsToggleTheirOwnOutputOrBoth) {
  const struct {
    bool line, together;  // the button pressed; one mute mutes and unmutes both
    std::pair<int, int> mutes;
    const char* sent;
  } presses[] = {{false, false, {1, 0}, "56 7F 3F 0D 41 7F 21 0D"}, {true, false, {1, 1}, "56 7F 3F 0D 41 7F 3F 0D"},
                 {false, false, {0, 1}, "56 7F 21 0D 41 7F 3F 0D"}, {false, true, {1, 1}, "56 7F 3F 0D 41 7F 3F 0D"},
                 {false, true, {0, 0}, "56 7F 21 0D 41 7F 21 0D"},  {true, true, {1, 1}, "56 7F 3F 0D 41 7F 3F 0D"}};
  for (const auto& p : presses) {
    state.MuteTogether = p.together;
    p.line ? controls.LineMuteBtnClick() : controls.SpkrMuteBtnClick();
    EXPECT_EQ(std::tuple(std::pair<int, int>(state.SpkrMute, state.LineMute), LastSent()), std::tuple(p.mutes, p.sent));
  }
}

TEST_F(ControlsTest, OptionItemsToggleCheckMarkAndFlagWithoutSending) {
  const std::pair<Ctl, std::uint8_t RadioState::*> items[] = {{Ctl::MuteOnExitItem, &RadioState::MuteOnExit},
                                                               {Ctl::DefaultFiltItem, &RadioState::UseDefaultFilters},
                                                               {Ctl::DefaultStepItem, &RadioState::UseDefaultSteps}};
  for (const auto& [item, flag] : items) {
    state.*flag = 1;
    controls.OptionItemClick(item);
    EXPECT_EQ(std::tuple(int(state.*flag), panel[item].pressed), std::tuple(0, false)) << ControlName(item);
    controls.OptionItemClick(item);
    EXPECT_EQ(std::tuple(int(state.*flag), panel[item].pressed), std::tuple(1, true)) << ControlName(item);
  }
  controls.OptionItemClick(Ctl::VFOBtn);  // no option item
  EXPECT_FALSE(panel[Ctl::VFOBtn].pressed || !port.writes().empty());

  // The defaults come from the stored start values.
  state.UseDefaultFiltersAsDefault = 0;
  state.UseDefaultStepsAsDefault = 1;
  state.MuteOnExitAsDefault = 0;
  state.UseDefaultSteps = 0;
  controls.ApplyOptionDefaults();
  EXPECT_EQ(std::tuple(int(state.UseDefaultFilters), int(state.UseDefaultSteps), int(state.MuteOnExit)),
            std::tuple(0, 1, 0));
  EXPECT_EQ(std::tuple(panel[Ctl::DefaultFiltItem].pressed, panel[Ctl::DefaultStepItem].pressed,
                       panel[Ctl::MuteOnExitItem].pressed),
            std::tuple(false, true, false));
}

}  // namespace
}  // namespace ondaris
