// The controls that move the frequency, driven through the fake panel on the fake timeline.

#include <gtest/gtest.h>

#include <tuple>

#include "radio/StepTable.h"
#include "support/PanelFixture.h"

namespace ondaris {
namespace {

class TuningTest : public PanelFixture {
 protected:
  // Lets the line carry what is queued and forgets it.
  void Settle() {
    ASSERT_TRUE(flushLine());
    clearRecords();
  }
  // A tuned starting point with nothing on the line yet.
  void StartAt(double freq, int stepHz) {
    tuning.SetTuningStep(stepHz);
    state.Freq = freq;
    receiver.TuneRadio();
    Settle();
  }
  // Tunings handed to the port once the line has carried what is queued.
  int TuningsSent() {
    EXPECT_TRUE(flushLine());
    return static_cast<int>(sentUnits().size());
  }
  void Type(const std::string& keys) {
    for (char key : keys) tuning.KeyPress(key);
  }
  // The tuning in the state and on the buttons.
  void ExpectTuning(double freq, int mode, int stepHz, int filterIndex, int agc, int pbt) {
    EXPECT_EQ(std::tuple(state.Freq, int(state.Mode), state.StepHz, state.FilterIndex, int(state.AGC), state.PBT),
              std::tuple(freq, mode, stepHz, filterIndex, agc, pbt));
    EXPECT_TRUE(panel[ModeButton(mode)].pressed && panel[FilterButton(filterIndex)].pressed);
    EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, std::to_string(pbt));
  }
  // WWV mode disables the scan controls, the VFO button and every limit range.
  void ExpectWwvLocks(bool inWwv, const bool (&defined)[20]) {
    for (Ctl c : {Ctl::ScanBtn, Ctl::StopBtn, Ctl::FileScanBtn, Ctl::MemScanBtn, Ctl::LimitScanBtn,
                  Ctl::BandScanBtn, Ctl::VFOBtn})
      EXPECT_EQ(panel[c].enabled, !inWwv) << ControlName(c);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(panel[LimitRangeItem(i)].enabled, !inWwv && defined[i]) << i;
  }
  // The frequency after each wait in turn.
  void ExpectFreqsAfter(const std::vector<int>& waitsMs, const std::vector<double>& freqs) {
    for (std::size_t i = 0; i < waitsMs.size(); ++i) {
      timeline.advanceBy(waitsMs[i]);
      EXPECT_NEAR(state.Freq, freqs[i], 1e-9) << "after wait " << i;
    }
  }
  void ExpectLastSentIsTheTuning() {
    ASSERT_TRUE(flushLine());
    ASSERT_FALSE(sentUnits().empty());
    EXPECT_EQ(sentUnits().back(), state.TuningBytes());
  }
};

TEST_F(TuningTest, EachStepSelectsItsRowButtonAndSpeedAndTheTopStepFollowsTheNineKilohertzOption) {
  const struct {
    int stepHz, row, speedPosition;
  } cases[] = {{1, 0, 1},     {10, 1, 1},    {50, 2, 2},    {100, 3, 5},    {500, 4, 10},
               {1000, 5, 15}, {3000, 6, 30}, {5000, 7, 30}, {10000, 8, 30}, {9000, 8, 30}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stepHz);
    clearRecords();
    tuning.SetTuningStep(c.stepHz);
    for (int row = 0; row < StepCount; ++row) EXPECT_EQ(panel[StepButton(row)].pressed, row == c.row) << row;
    EXPECT_EQ(std::tuple(state.StepIndex, state.StepHz, panel[Ctl::TuningSpeedTrackbar].value, state.TuningSpeedMs,
                         tuningTimer.interval(), statusReports),
              std::tuple(c.row, c.stepHz, c.speedPosition, c.speedPosition * 33, c.speedPosition * 33, 1));
  }
  EXPECT_TRUE(messages.shown().empty());

  tuning.SetTuningStep(2500);  // no such step
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Tuning step processing error."});
  EXPECT_EQ(std::tuple(state.StepHz, state.StepIndex, panel[Ctl::StepBtn10000].pressed), std::tuple(10000, 8, true));
  tuning.StepBtnClick(3);
  EXPECT_EQ(std::tuple(state.StepHz, panel[Ctl::StepBtn100].pressed), std::tuple(100, true));

  // The top step follows the 9 kHz option fixed at start-up.
  state.NineKHzSteps = 1;
  tuning.SetTuningStep(500);
  EXPECT_EQ(panel[Ctl::StepBtn10000].caption, "9K");
  state.NineKHzSteps = 0;
  tuning.SetTuningStep(500);
  EXPECT_EQ(panel[Ctl::StepBtn10000].caption, "10K");

  state.NineKHzSteps = 1;
  tuning.ApplyNineKHzOption();
  EXPECT_EQ(std::tuple(tuning.flags.TopStepHz, panel[Ctl::StepBtn10000].caption), std::tuple(9000, "9K"));
  state.NineKHzSteps = 0;  // changed later in the options: the button keeps 9 kHz
  clearRecords();
  tuning.StepBtnClick(8);
  tuning.StepBtnClick(9);  // no such row
  EXPECT_EQ(std::tuple(state.StepHz, state.StepIndex, statusReports), std::tuple(9000, 8, 2));  // each reports
}

TEST_F(TuningTest, SpeedIsKeptInRangeAndRestartsTheTimerOnlyWhileTuning) {
  tuning.SetTuningSpeed(0);
  EXPECT_EQ(state.TuningSpeedMs, 33);
  tuning.SetTuningSpeed(99);
  EXPECT_EQ(state.TuningSpeedMs, 40 * 33);
  tuning.TuningSpeedTrackbarChange(4);
  EXPECT_EQ(std::tuple(state.TuningSpeedMs, tuningTimer.interval(), tuningTimer.enabled()),
            std::tuple(132, 132, false));

  StartAt(10000.0, 1000);
  tuning.FreqUpBtnFastClick();
  ASSERT_TRUE(tuning.flags.TuningActive);
  tuning.TuningSpeedTrackbarChange(3);
  EXPECT_EQ(std::tuple(tuningTimer.interval(), tuningTimer.enabled(), *tuningTimer.nextTickMs()),
            std::tuple(99, true, timeline.nowMs() + 99));
}

// A step that would leave 10 to 30000 kHz is refused and remembers nothing.
TEST_F(TuningTest, SingleStepsTuneWithin10To30000) {
  const struct {
    double start;
    int stepHz;
    bool down;
    double expected;
  } cases[] = {{10000.0, 500, false, 10000.5}, {29999.0, 1000, false, 29999.0}, {105.0, 10000, true, 95.0},
               {10.5, 500, true, 10.0},        {10.0, 500, true, 10.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    state.LastFreqRecord.valid = false;
    StartAt(c.start, c.stepHz);
    c.down ? tuning.FreqDnBtnClick() : tuning.FreqUpBtnClick();
    const bool moved = c.expected != c.start;
    EXPECT_EQ(std::tuple(state.Freq, TuningsSent(), state.LastFreqRecord.valid),
              std::tuple(c.expected, moved ? 1 : 0, moved));
    EXPECT_DOUBLE_EQ(state.LastFreqRecord.valid ? state.LastFreqRecord.freq : c.start, c.start);
  }
}

TEST_F(TuningTest, StepsWhileScanningOnlySetTheScanDirection) {
  const struct {
    int scanState;
    bool down;
    int direction;
  } cases[] = {{1, false, 1}, {1, true, 0}, {2, false, 0}, {2, true, 1}, {3, false, 0}, {4, true, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scanState * 10 + c.down);
    ctx.scan.ScanState = c.scanState;
    ctx.scan.ScanKind = c.scanState;
    ctx.scan.ScanDirection = 7;
    const double freq = state.Freq;
    c.down ? tuning.FreqDnBtnClick() : tuning.FreqUpBtnClick();
    EXPECT_EQ(std::tuple(ctx.scan.ScanDirection, state.Freq, panel[Ctl::FreqUpBtn].pressed,
                         panel[Ctl::FreqDnBtn].pressed),
              std::tuple(c.direction, freq, !c.down, c.down));
  }
  EXPECT_TRUE(port.writes().empty());
}

TEST_F(TuningTest, HoldingRepeatsAfterTheDebounceTheClickAddsNoStepAndScanningStopsBoth) {
  StartAt(10000.0, 1000);  // 495 ms speed
  tuning.FreqUpBtnMouseDown();
  EXPECT_EQ(std::tuple(debounceTimer.enabled(), debounceTimer.interval()), std::tuple(true, 500));
  timeline.advanceBy(499);
  EXPECT_FALSE(tuning.flags.TuningActive);
  timeline.advanceBy(1);  // debounce tick
  const TuningFlags& f = tuning.flags;
  EXPECT_EQ(std::tuple(f.TuningActive, f.HoldTuned, f.RemoteTuningStarted, f.TuningDown, debounceTimer.enabled(),
                       tuningTimer.interval()),
            std::tuple(true, true, true, false, false, 495));
  ExpectFreqsAfter({0, 495 * 2}, {10000.0, 10002.0});
  EXPECT_DOUBLE_EQ(state.LastFreqRecord.freq, 10001.0);

  tuning.FreqUpBtnMouseUp();
  EXPECT_FALSE(tuningTimer.enabled());
  panel.press(Ctl::FreqUpBtn);  // as the window shows it while clicked
  tuning.FreqUpBtnClick();
  EXPECT_FALSE(tuning.flags.HoldTuned || panel[Ctl::FreqUpBtn].pressed);
  ExpectFreqsAfter({3000}, {10002.0});
  EXPECT_EQ(TuningsSent(), 2);

  StartAt(10000.0, 100);  // 165 ms speed, downward
  tuning.FreqDnBtnMouseDown();
  timeline.advanceBy(500);
  EXPECT_TRUE(tuning.flags.TuningDown);
  ExpectFreqsAfter({165 * 3}, {9999.7});
  tuning.FreqDnBtnMouseUp();
  tuning.FreqDnBtnClick();
  ExpectFreqsAfter({0}, {9999.7});

  StartAt(10000.0, 1000);  // quick clicks are one step each, 350 ms apart too
  for (double expected : {10001.0, 10002.0}) {
    tuning.FreqUpBtnMouseDown();
    timeline.advanceBy(100);
    tuning.FreqUpBtnMouseUp();
    tuning.FreqUpBtnClick();
    EXPECT_DOUBLE_EQ(state.Freq, expected);
    EXPECT_FALSE(debounceTimer.enabled() || tuning.flags.HoldTuned);
    timeline.advanceBy(350);
  }

  StartAt(10000.0, 1000);  // hold, latch and ticks do nothing while scanning
  tuning.FreqUpBtnFastClick();
  ctx.scan.ScanState = 1;
  ExpectFreqsAfter({2000}, {10001.0});
  EXPECT_TRUE(tuning.flags.TuningActive);

  tuning.EndScanOrTuning();
  StartAt(10000.0, 1000);
  ctx.scan.ScanState = 2;
  tuning.FreqUpBtnMouseDown();
  timeline.advanceBy(600);
  EXPECT_FALSE(tuning.flags.TuningActive || tuning.flags.HoldTuned);
  tuning.FreqUpBtnFastClick();
  EXPECT_FALSE(tuning.flags.TuningActive);
  EXPECT_DOUBLE_EQ(state.Freq, 10000.0);
}

TEST_F(TuningTest, LatchedTuningStepsAtTheSpeedStopsAtTheLimitsAndASecondClickReversesOrStops) {
  StartAt(10000.0, 1000);  // 495 ms
  tuning.FreqUpBtnFastClick();
  EXPECT_EQ(*tuningTimer.nextTickMs(), timeline.nowMs() + 495);
  ExpectFreqsAfter({0, 494, 1, 495 * 3}, {10001.0, 10001.0, 10002.0, 10005.0});
  EXPECT_DOUBLE_EQ(state.LastFreqRecord.freq, 10004.0);
  tuning.EndScanOrTuning();

  StartAt(29999.0, 1000);
  tuning.FreqUpBtnFastClick();
  EXPECT_EQ(std::tuple(state.Freq, panel[Ctl::FreqUpBtnFast].colour, panel[Ctl::FreqUpBtnFast].bold),
            std::tuple(30000.0, Colour::Maroon, true));
  ExpectFreqsAfter({495}, {30000.0});  // the next tick stops it
  EXPECT_FALSE(tuning.flags.TuningActive || tuningTimer.enabled() || panel[Ctl::FreqUpBtnFast].bold);
  EXPECT_EQ(TuningsSent(), 1);

  StartAt(105.0, 10000);
  tuning.FreqDnBtnFastClick();  // does not start below 100
  EXPECT_EQ(std::tuple(tuning.flags.TuningActive, panel[Ctl::FreqDnBtnFast].colour, TuningsSent()),
            std::tuple(false, Colour::Black, 0));

  StartAt(110.0, 10000);
  tuning.FreqDnBtnFastClick();
  ExpectFreqsAfter({0, 990 * 20}, {100.0, 10.0});
  EXPECT_FALSE(tuning.flags.TuningActive);

  StartAt(10000.0, 1000);  // a second click reverses or stops
  tuning.FreqDnBtnFastClick();
  EXPECT_TRUE(tuning.flags.TuningDown && panel[Ctl::FreqDnBtnFast].bold);
  tuning.FreqUpBtnFastClick();  // reverses, no step of its own
  EXPECT_EQ(std::tuple(tuning.flags.TuningActive, tuning.flags.TuningDown, state.Freq,
                       panel[Ctl::FreqUpBtnFast].bold, panel[Ctl::FreqDnBtnFast].bold),
            std::tuple(true, false, 9999.0, true, false));
  ExpectFreqsAfter({495}, {10000.0});
  tuning.FreqUpBtnFastClick();  // same direction: stops
  EXPECT_FALSE(tuning.flags.TuningActive || tuningTimer.enabled() || panel[Ctl::FreqUpBtnFast].bold);
  ExpectFreqsAfter({2000}, {10000.0});
  tuning.FreqUpBtnFastClick();  // the down button the same way round
  tuning.FreqDnBtnFastClick();
  EXPECT_TRUE(tuning.flags.TuningActive && tuning.flags.TuningDown && panel[Ctl::FreqDnBtnFast].bold &&
              !panel[Ctl::FreqUpBtnFast].bold);
  tuning.FreqDnBtnFastClick();
  EXPECT_FALSE(tuning.flags.TuningActive || tuningTimer.enabled() || panel[Ctl::FreqDnBtnFast].bold);
}

TEST_F(TuningTest, StepsPresetsAndSpaceEndLatchedTuning) {
  ctx.scan.ScanKind = 2;
  int starts = 0;
  ctx.startScanFromKey = [&] { ++starts; };
  for (int how = 0; how < 3; ++how) {
    SCOPED_TRACE(how);
    StartAt(10000.0, 1000);
    tuning.FreqUpBtnFastClick();
    ASSERT_TRUE(tuning.flags.TuningActive);
    if (how == 0) tuning.StepFrequencyDown();
    if (how == 1) tuning.KeyPress(' ');
    if (how == 2) tuning.WWVBtnClick(5);
    EXPECT_FALSE(tuning.flags.TuningActive);
    EXPECT_EQ(std::tuple(panel[Ctl::FreqUpBtnFast].colour, panel[Ctl::FreqUpBtnFast].bold),
              std::tuple(Colour::Black, false));
    ExpectFreqsAfter({3000}, {state.Freq});
  }
  EXPECT_DOUBLE_EQ(state.Freq, 5000.0);
  EXPECT_EQ(starts, 0);  // Space ended the tuning, it started no scan
}

// Bounds at 303 px: five digits 21 50 81 111 141 174 183 215 245 274;
// four digits 38 67 97 127 157 170 200 230 259; three digits 49 82 112 142
// 153 183 214 244; two digits 68 98 128 140 170 200 240. y 34 of 68 is the
// lower half. `expected` is the start frequency when nothing happens.
TEST_F(TuningTest, DigitClicksTuneByThePlaceValueOfTheDigit) {
  const struct {
    double freq;
    int x, y;
    double expected;
  } cases[] = {
      {9575.0, 50, 10, 10575.0},    {10.0, 220, 50, 9.999},       {9575.0, 50, 34, 8575.0},
      {9575.0, 50, 33, 10575.0},    {15000.0, 21, 10, 15000.0},   {15000.0, 22, 10, 25000.0},
      {15000.0, 50, 50, 5000.0},    {15000.0, 51, 50, 14000.0},   {15000.0, 81, 10, 16000.0},
      {15000.0, 111, 10, 15100.0},  {15000.0, 141, 10, 15010.0},  {15000.0, 174, 10, 15001.0},
      {15000.0, 175, 10, 15000.0},  {15000.0, 183, 10, 15000.0},  {15000.0, 184, 10, 15000.1},
      {15000.0, 245, 10, 15000.01}, {15000.0, 274, 50, 14999.999}, {15000.0, 275, 10, 15000.0},
      {5000.0, 39, 10, 6000.0},     {5000.0, 38, 10, 5000.0},     {5000.0, 157, 50, 4999.0},
      {5000.0, 170, 10, 5000.0},    {5000.0, 171, 10, 5000.1},    {5000.0, 259, 10, 5000.001},
      {5000.0, 260, 10, 5000.0},    {500.0, 82, 10, 600.0},       {500.0, 142, 50, 499.0},
      {500.0, 153, 10, 500.0},      {500.0, 244, 10, 500.001},    {500.0, 245, 10, 500.0},
      {50.0, 98, 10, 60.0},         {50.0, 128, 50, 49.0},        {50.0, 140, 10, 50.0},
      {50.0, 141, 10, 50.1},        {50.0, 68, 10, 50.0},         {50.0, 241, 10, 50.0},
      {29999.5, 174, 10, 29999.5},  {29999.0, 274, 10, 29999.001}, {10.0, 128, 50, 10.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.freq << " at " << c.x << "," << c.y);
    StartAt(c.freq, 500);
    tuning.FreqDispPanelClick(c.x, c.y, 303, 68);
    EXPECT_NEAR(state.Freq, c.expected, 1e-9);
    EXPECT_EQ(TuningsSent(), c.expected == c.freq ? 0 : 1);
  }
  EXPECT_DOUBLE_EQ(state.LastFreqRecord.freq, 10.0);  // remembered even when the click is refused
  // At twice the design width the two-digit layout's 0.001 band is (400, 480].
  for (const auto& [x, expected] : {std::pair{400, 50.01}, std::pair{401, 50.001}}) {
    state.Freq = 50.0;
    tuning.FreqDispPanelClick(x, 10, 606, 136);
    EXPECT_DOUBLE_EQ(state.Freq, expected) << x;
  }
}

// Text outside the range puts the old frequency back and tunes nothing.
TEST_F(TuningTest, EnterTunesATypedNumberInTheRange) {
  const struct {
    char separator;
    const char* keys;  // typed before Enter
    const char* shownWhileTyping;
    double freq;  // after Enter; 10000 when refused
    const char* shownAfter;
  } cases[] = {
      {'.', "15000", "15000", 15000.0, "15000.000"},     {'.', "40000", "40000", 10000.0, "10000.000"},
      {'.', "9.5", "9.5", 10000.0, "10000.000"},
      {',', "9,5", "9,5", 10000.0, "10000,000"},         {',', "95.75", "9575", 9575.0, "9575,000"},
      {'.', ".9575.5", "9575.5", 9575.5, "9575.500"},   {',', "9575,25", "9575,25", 9575.25, "9575,250"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    ctx.decimalSeparator = c.separator;
    state.LastFreqRecord.valid = false;
    StartAt(10000.0, 500);
    panel.setCaption(Ctl::StatusPanel, "Some station");
    Type(c.keys);
    EXPECT_EQ(std::tuple(panel[Ctl::FreqDispPanel].caption, tuning.flags.KeypadActive, TuningsSent()),
              std::tuple(c.shownWhileTyping, true, 0));
    Type("\r");
    const bool tuned = c.freq != 10000.0;
    EXPECT_EQ(std::tuple(tuning.flags.KeypadActive, state.Freq, panel[Ctl::FreqDispPanel].caption, TuningsSent()),
              std::tuple(false, c.freq, c.shownAfter, tuned ? 1 : 0));
    EXPECT_EQ(std::tuple(state.LastFreqRecord.valid, state.LastFreqRecord.freq, panel[Ctl::StatusPanel].caption),
              std::tuple(tuned, tuned ? 10000.0 : state.LastFreqRecord.freq, tuned ? "" : "Some station"));
  }
  EXPECT_TRUE(messages.shown().empty());
  // A point is no key under a comma.
  EXPECT_FALSE(tuning.KeyPress('.'));
}

TEST_F(TuningTest, TextThatIsNoNumberIsReportedAndEnterWithoutTypingGoesToTheList) {
  StartAt(10000.0, 500);
  EXPECT_TRUE(tuning.KeyPress('.'));  // a separator first is ignored
  EXPECT_EQ(std::tuple(tuning.flags.KeypadActive, panel[Ctl::FreqDispPanel].caption), std::tuple(false, "10000.000"));
  Type("1..5");
  EXPECT_EQ(panel[Ctl::FreqDispPanel].caption, "1..5");
  Type("\r");
  EXPECT_EQ(std::tuple(state.Freq, panel[Ctl::FreqDispPanel].caption, tuning.flags.KeypadActive, TuningsSent()),
            std::tuple(10000.0, "10000.000", false, 0));
  EXPECT_EQ(std::tuple(reportedErrors.size(), messages.shown().size()), std::tuple(1u, 0u));
  Type("9575\r");  // the next entry starts afresh
  EXPECT_DOUBLE_EQ(state.Freq, 9575.0);

  int calls = 0;  // Enter without typing goes to the list
  tuning.enterWithoutKeypad = [&] { ++calls; };
  Settle();
  EXPECT_TRUE(tuning.KeyPress('\r'));
  EXPECT_EQ(std::tuple(calls, port.writes().size()), std::tuple(1, 0u));
  EXPECT_FALSE(tuning.KeyPress('x'));
  ctx.scan.ScanState = 2;
  EXPECT_FALSE(tuning.KeyPress('1') || tuning.flags.KeypadActive);
}

TEST_F(TuningTest, SpaceStartsTheChosenScanOrEndsTheRunningOne) {
  int starts = 0;
  bool starting = true;
  ctx.startScanFromKey = [&] {
    ++starts;
    if (starting) ctx.scan.ScanState = ctx.scan.ScanKind;
  };
  tuning.KeyPress(' ');  // no kind chosen
  EXPECT_EQ(starts, 0);
  ctx.scan.ScanKind = 2;
  EXPECT_TRUE(tuning.KeyPress(' '));
  EXPECT_EQ(std::tuple(starts, panel[Ctl::ScanBtn].pressed), std::tuple(1, true));

  tuning.KeyPress(' ');  // running: Space ends it
  EXPECT_EQ(std::tuple(endScanCalls, ctx.scan.ScanState, ctx.scan.ScanKind, panel[Ctl::ScanBtn].pressed),
            std::tuple(1, 0, 2, false));

  starting = false;  // e.g. no usable memory channel
  tuning.KeyPress(' ');
  EXPECT_EQ(std::tuple(starts, panel[Ctl::ScanBtn].pressed), std::tuple(2, false));

  ctx.scan.ScanKind = 1;
  tuning.WWVBtnClick(10);  // no scan in WWV mode
  tuning.KeyPress(' ');
  EXPECT_EQ(starts, 2);
}

TEST_F(TuningTest, VfoButtonSwapsTheTwoTunings) {
  // VFO A: the fresh state's 15000 kHz AM, 500 Hz step, 6000 Hz, AGC medium.
  state.DataBFOActive = 1;
  panel.setCaption(Ctl::StatusPanel, "Station A");
  state.OtherVFO = VfoTuning{7000.5, 2, 3, 17, 3, -150, "Station B"};
  clearRecords();

  tuning.VFOBtnClick();
  EXPECT_EQ(std::tuple(state.ActiveVFO, panel[Ctl::VFOBtn].caption, panel[Ctl::StatusPanel].caption),
            std::tuple('B', "VFO B", "Station B"));
  ExpectTuning(7000.5, 2, 100, 17, 3, -150);
  EXPECT_EQ(std::tuple(state.Bandwidth, int(state.DataBFOActive), state.LastFreqRecord.freq,
                       panel[Ctl::AGCFastBtn].pressed),
            std::tuple(1800, 0, 15000.0, true));
  const VfoTuning& o = state.OtherVFO;
  EXPECT_EQ(std::tie(o.freq, o.mode, o.stepIndex, o.filterIndex, o.agc, o.pbt, o.statusText),
            std::make_tuple(15000.0, std::uint8_t{0}, 4, 1, 2, 0, std::string("Station A")));
  ExpectLastSentIsTheTuning();

  tuning.VFOBtnClick();
  EXPECT_EQ(std::tuple(state.ActiveVFO, panel[Ctl::VFOBtn].caption, panel[Ctl::StatusPanel].caption),
            std::tuple('A', "VFO A", "Station A"));
  ExpectTuning(15000.0, 0, 500, 1, 2, 0);
  EXPECT_DOUBLE_EQ(state.OtherVFO.freq, 7000.5);

  ctx.scan.ScanState = 1;  // nothing while scanning or in WWV mode
  tuning.VFOBtnClick();
  ctx.scan.ScanState = 0;
  tuning.WWVBtnClick(5);
  tuning.VFOBtnClick();
  EXPECT_EQ(std::tuple(state.ActiveVFO, state.Freq), std::tuple('A', 5000.0));
}

TEST_F(TuningTest, WwvRoundTripReturnsToTheTuningBeforeTheFirstPreset) {
  tuning.WWVRestoreBtnClick();  // outside WWV mode: nothing
  EXPECT_TRUE(port.writes().empty());
  bool defined[20] = {};
  defined[0] = defined[4] = true;
  tuning.limitRangeDefined = [&](int index) { return defined[index]; };
  state.Freq = 9575.25;
  controls.ModeBtnClick(1);  // USB with its defaults
  tuning.SetTuningStep(100);
  controls.SelectFilter(15);
  controls.ShowAGC(3);
  state.PBT = 100;
  receiver.TuneRadio();
  Settle();

  tuning.WWVBtnClick(10);
  // The rest of the tuning stays.
  EXPECT_EQ(std::tuple(state.Freq, tuning.flags.WWVMode, int(state.Mode), state.FilterIndex),
            std::tuple(10000.0, 10, 1, 15));
  EXPECT_EQ(std::tuple(panel[Ctl::FreqDispPanel].colour, panel[Ctl::WWVRestoreBtn].colour,
                       panel[Ctl::WWVRestoreBtn].bold, panel[Ctl::WWV10Btn].pressed),
            std::tuple(Colour::Red, Colour::Maroon, true, true));
  ExpectWwvLocks(true, defined);

  const std::pair<int, double> presets[] = {{25, 2500.0}, {5, 5000.0}, {20, 20000.0}, {15, 15000.0}};
  for (const auto& [code, freq] : presets) {
    tuning.WWVBtnClick(code);
    EXPECT_DOUBLE_EQ(state.Freq, freq) << code;
  }
  EXPECT_EQ(std::tuple(panel[Ctl::WWV15Btn].pressed, panel[Ctl::WWV10Btn].pressed, state.WWVReturnRecord.freq),
            std::tuple(true, false, 9575.25));
  Settle();
  state.Freq = 15000.5;  // moved by hand: the preset in use does nothing
  tuning.WWVBtnClick(15);
  EXPECT_EQ(std::tuple(state.Freq, port.writes().size()), std::tuple(15000.5, 0u));

  tuning.WWVRestoreBtnClick();
  ExpectTuning(9575.25, 1, 100, 15, 3, 100);
  EXPECT_EQ(std::tuple(tuning.flags.WWVMode, panel[Ctl::StatusPanel].caption, state.LastFreqRecord.freq,
                       panel[Ctl::FreqDispPanel].colour),
            std::tuple(0, "USB", 15000.5, Colour::Aqua));
  const PanelModel fresh;  // the button's own font again
  EXPECT_EQ(std::tuple(panel[Ctl::WWVRestoreBtn].colour, panel[Ctl::WWVRestoreBtn].bold),
            std::tuple(fresh[Ctl::WWVRestoreBtn].colour, fresh[Ctl::WWVRestoreBtn].bold));
  for (Ctl c : {Ctl::WWV25Btn, Ctl::WWV5Btn, Ctl::WWV10Btn, Ctl::WWV15Btn, Ctl::WWV20Btn})
    EXPECT_FALSE(panel[c].pressed) << ControlName(c);
  ExpectWwvLocks(false, defined);
  ExpectLastSentIsTheTuning();
}

TEST_F(TuningTest, LastFrequencyButtonTogglesBetweenTwoTunings) {
  StartAt(15000.0, 500);
  tuning.LastFreqBtnClick();  // nothing remembered yet
  EXPECT_TRUE(port.writes().empty());

  state.SaveLastFrequency();
  state.Freq = 9575.0;
  controls.ModeBtnClick(3);  // CW, 300 Hz, 1 kHz step
  Settle();
  state.DataBFOActive = 1;

  tuning.LastFreqBtnClick();
  ExpectTuning(15000.0, 0, 500, 1, 2, 0);
  EXPECT_EQ(std::tuple(int(state.DataBFOActive), state.LastFreqRecord.freq, int(state.LastFreqRecord.mode)),
            std::tuple(0, 9575.0, 3));

  tuning.LastFreqBtnClick();
  ExpectTuning(9575.0, 3, 1000, 23, 2, 0);
  EXPECT_DOUBLE_EQ(state.LastFreqRecord.freq, 15000.0);
  ExpectLastSentIsTheTuning();
}

// Rounding remembers the rounded frequency, except for the 3 and 9 kHz steps.
TEST_F(TuningTest, RoundsToTheStep) {
  const struct {
    int stepHz;
    double freq, expected, remembered;
  } cases[] = {{500, 9575.26, 9575.5, 9575.5},     {5000, 9575.26, 9575.0, 9575.0},
               {3000, 9575.9, 9575.0, 9575.9},     {9000, 9575.9, 9575.0, 9575.9},
               {10000, 9575.26, 9580.0, 9580.0},   {1000, 9575.5, 9576.0, 9576.0},
               {100, 9575.26, 9575.3, 9575.3},     {10, 9575.264, 9575.26, 9575.26},
               {50, 9575.26, 9575.25, 9575.25},    {1, 9575.2345, 9575.2345, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stepHz);
    tuning.SetTuningStep(c.stepHz);
    state.Freq = c.freq;
    state.LastFreqRecord.valid = false;
    Settle();
    tuning.RoundBtnClick();
    EXPECT_NEAR(state.Freq, c.expected, 1e-9);
    EXPECT_EQ(std::tuple(TuningsSent(), state.LastFreqRecord.valid),
              std::tuple(c.expected == c.freq ? 0 : 1, c.remembered != 0));
    EXPECT_NEAR(state.LastFreqRecord.valid ? state.LastFreqRecord.freq : 0, c.remembered, 1e-9);
  }
}

TEST_F(TuningTest, ApplyTuningRecordLoadsEverythingButTheMutes) {
  const TuningRecord record{.valid = true, .freq = 6070.0, .mode = 1, .stepHz = 50, .filterIndex = 10, .agc = 1,
                            .pbt = -300, .spkrMute = 1, .lineMute = 1};
  state.DataBFOActive = 1;
  panel.setCaption(Ctl::StatusPanel, "kept");

  tuning.ApplyTuningRecord(record);
  ExpectTuning(6070.0, 1, 50, 10, 1, -300);
  // A stored tuning keeps a data mode's offset and the status text.
  EXPECT_EQ(std::tuple(state.Bandwidth, state.SpkrMute + state.LineMute, int(state.DataBFOActive),
                       panel[Ctl::StatusPanel].caption, panel[Ctl::StepBtn50].pressed, panel[Ctl::AGCSlowBtn].pressed),
            std::tuple(3000, 0, 1, "kept", true, true));
  ExpectLastSentIsTheTuning();
}

TEST_F(TuningTest, EndScanOrTuningStopsTuningAndEnablesTheControls) {
  StartAt(10000.0, 1000);
  tuning.FreqUpBtnFastClick();
  scanTimer.setInterval(500);
  scanTimer.setEnabled(true);
  const Ctl disabled[] = {Ctl::TagBtn, Ctl::FileScanBtn, Ctl::WWV5Btn, Ctl::WWVRestoreBtn, Ctl::LastFreqBtn,
                          Ctl::NowBtn, Ctl::FreqUpBtn,   Ctl::FreqDnBtnFast, Ctl::VFOBtn};
  for (Ctl c : disabled) panel.setEnabled(c, false);
  panel.press(Ctl::FreqUpBtnFast);
  panel.press(Ctl::FreqDnBtn);
  ctx.scan.ScanState = 3;

  tuning.EndScanOrTuning();
  EXPECT_FALSE(tuning.flags.TuningActive || tuningTimer.enabled() || scanTimer.enabled());
  EXPECT_FALSE(panel[Ctl::FreqUpBtnFast].pressed || panel[Ctl::FreqDnBtn].pressed || panel[Ctl::FreqUpBtnFast].bold);
  for (Ctl c : disabled) EXPECT_TRUE(panel[c].enabled) << ControlName(c);
  EXPECT_EQ(std::tuple(endScanCalls, ctx.scan.ScanState), std::tuple(1, 0));
  ExpectFreqsAfter({3000}, {state.Freq});
}

}  // namespace
}  // namespace ondaris
