// The scan engine over the panel's fakes: memory, file, limit and band scans
// stepped by the fake ScanTimer on a fake timeline whose serial line carries
// 1200 baud, with the real scratchpad, station list, limit ranges and limit
// dialog around it.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "freqfiles/StationGrid.h"
#include "memories/ScratchpadController.h"
#include "platform/CompanionTransport.h"
#include "radio/CommandDispatcher.h"
#include "radio/Rx320Protocol.h"
#include "scan/LimitRanges.h"
#include "scan/LimitScanDialog.h"
#include "scan/ScanEngine.h"
#include "scan/ScanSpeeds.h"
#include "support/PanelFixture.h"
#include "support/StationLine.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

class NoCompanion : public CompanionTransport {
 public:
  bool listen(std::string&) override { return true; }
  void close() override {}
  void send(const std::string&) override {}
};

// A station line whose lockout mark is set.
std::string Locked(const std::string& name, const std::string& mhz, const std::string& on = "0000",
                   const std::string& off = "2400") {
  return StationLine(name, mhz, on, off, "1");
}

std::string FileOf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

ScratchpadChannel Memory(double freq, bool locked = false) {
  ScratchpadChannel c;
  c.Frequency = freq;
  c.Lockout = locked ? 1 : 0;
  c.Mode = 0;
  c.StepIndex = 3;
  c.FilterIndex = 1;
  c.AGC = 2;
  c.Tag = "m" + std::to_string(static_cast<int>(freq));
  return c;
}

using Chans = std::vector<std::pair<int, int>>;

const std::vector<Ctl> kKindButtons = {Ctl::FileScanBtn, Ctl::MemScanBtn, Ctl::LimitScanBtn, Ctl::BandScanBtn};
const std::vector<Ctl> kFileItems = {Ctl::NewFileItem,   Ctl::LoadFileItem, Ctl::AppendFileItem, Ctl::SaveFileItem,
                              Ctl::FileOpBtn1,    Ctl::SaveFileAsItem, Ctl::AddEntryItem, Ctl::FileOpBtn2,
                              Ctl::EditEntryItem, Ctl::CopyItem,     Ctl::FileOpBtn3,     Ctl::ReopenMainItem,
                              Ctl::DeleteEntryItem, Ctl::FileOpBtn5};
const std::vector<Ctl> kWWVAndRecall = {Ctl::WWV25Btn,      Ctl::WWV5Btn,       Ctl::WWV10Btn,    Ctl::WWV15Btn,
                                 Ctl::WWV20Btn,      Ctl::WWVRestoreBtn, Ctl::LastFreqBtn, Ctl::FreqUpBtnFast,
                                 Ctl::FreqDnBtnFast, Ctl::VFOBtn};

class ScanEngineTest : public PanelFixture {
 protected:
  ScanEngineTest() {
    // The clock lets the grid tune once per 100 ms tick, as in the program.
    clockTimer.onTimer = [this] { stations.ClockTick(); };
    clockTimer.setInterval(100);
    clockTimer.setEnabled(true);
    limits.ranges.fill(DefaultLimitRange());
    limits.ShowMenuItems();
    engine.Attach(limitDialog);
  }

  // Advances the timeline until the scan has moved on once.
  void StepOnce() {
    const int before = engine.stepsTaken();
    ASSERT_TRUE(timeline.advanceUntil([&] { return engine.stepsTaken() > before; }, 30000))
        << "the scan did not move on";
  }
  template <typename Get>
  auto Steps(int steps, Get get) {
    std::vector<decltype(get())> seen;
    for (int i = 0; i < steps && !::testing::Test::HasFatalFailure(); ++i) {
      StepOnce();
      seen.push_back(get());
    }
    return seen;
  }
  std::vector<double> Frequencies(int steps) { return Steps(steps, [this] { return state.Freq; }); }
  Chans Channels(int steps) {
    return Steps(steps, [this] { return std::pair{scratch.pad.CurrentBank, scratch.pad.CurrentChannel}; });
  }
  std::vector<int> Rows(int steps) {
    return Steps(steps, [this] {
      EXPECT_EQ(stations.grid.Row, engine.FileScanRow);
      return engine.FileScanRow;
    });
  }

  // The Limit Scan button and the dialog's OK with these texts.
  void ChooseLimits(const std::string& low, const std::string& high) {
    limitDialog.show = [low, high](LimitScanDialog& dialog) {
      dialog.LoLimitEdit = low;
      dialog.HiLimitEdit = high;
      dialog.OKBtnClick();
    };
    limitDialog.LimitScanBtnClick();
  }
  void StartLimitScan(const std::string& low, const std::string& high, int stepHz) {
    tuning.SetTuningStep(stepHz);
    ChooseLimits(low, high);
    engine.ScanBtnClick();
  }

  // Bank 1 (enabled): 5000, 6000 locked, (empty), 7000.
  // Bank 2 (disabled): 8000 in channel 0, 8500 in channel 9.
  // Bank 3 (enabled): 9000 locked in channel 5, 9500 in channel 7.
  void ThreeBanks() {
    Scratchpad& pad = scratch.pad;
    pad.channel(1, 0) = Memory(5000);
    pad.channel(1, 1) = Memory(6000, true);
    pad.channel(1, 3) = Memory(7000);
    pad.channel(2, 0) = Memory(8000);
    pad.channel(2, 9) = Memory(8500);
    pad.channel(3, 5) = Memory(9000, true);
    pad.channel(3, 7) = Memory(9500);
    pad.setBankEnabled(1, true);
    pad.setBankEnabled(3, true);
    pad.CurrentBank = 2;
    scratch.ShowScratchpadBank();
  }

  // Five stations; row 2 locked out.
  void FiveStations() {
    state.LastFreqFile = "test.320";
    stations.BuildFrequencyList(FileOf({StationLine("A", "5.000000"), Locked("B", "6.000000"), StationLine("C", "7.000000"),
                                        StationLine("D", "8.000000"), StationLine("E", "9.000000")}));
  }

  void StartMemoryScan() {
    ThreeBanks();
    engine.MemScanBtnClick();
    engine.ScanBtnClick();
  }
  void StartFileScan() {
    FiveStations();
    engine.FileScanBtnClick();
    engine.ScanBtnClick();
  }

  void ExpectEnabled(const std::vector<Ctl>& controls, bool enabled) {
    for (Ctl c : controls) EXPECT_EQ(panel[c].enabled, enabled) << ControlName(c);
  }
  void ExpectLimitRangesEnabled(bool enabled) {
    for (int i = 0; i < 20; ++i) EXPECT_EQ(panel[LimitRangeItem(i)].enabled, enabled) << i;
  }
  // What a running scan disables and a stopped one gives back.
  void ExpectScanControlsEnabled(bool enabled) {
    ExpectEnabled(kKindButtons, enabled);
    ExpectEnabled(kWWVAndRecall, enabled);
  }
  // Paused or ended: nothing ticks, Scan is up; the kind is kept or forgotten.
  void ExpectNotScanning(int kind) {
    EXPECT_EQ(ctx.scan.ScanState, 0);
    EXPECT_EQ(ctx.scan.ScanKind, kind);
    EXPECT_FALSE(scanTimer.armed());
    EXPECT_FALSE(panel[Ctl::ScanBtn].pressed);
  }
  void ExpectOnlyMessage(const std::string& text) { EXPECT_EQ(messages.messages(), std::vector<std::string>{text}); }

  TempFolder folder{true};
  ScanSettings settings;
  ScratchpadController scratch{ctx, receiver, controls, tuning, folder.dir()};
  StationGrid stations{ctx, receiver, controls, tuning, folder.dir()};
  LimitRanges limits{ctx, controls, tuning, settings, folder.dir()};
  LimitScanDialog limitDialog{ctx, settings};
  ScanEngine engine{ctx, receiver, tuning, scratch, stations, limits, settings};
};

// ---- Choosing and starting ------------------------------------------------------

TEST_F(ScanEngineTest, NothingChosenIsRefusedAndEachKindLoadsItsSpeedTable) {
  panel.press(Ctl::ScanBtn);
  engine.ScanBtnClick();
  ExpectOnlyMessage("Please select a scan mode.");
  ExpectNotScanning(0);
  ThreeBanks();
  FiveStations();
  struct Case {
    const char* name;
    std::function<void()> choose;
    std::vector<std::string> captions;
    std::vector<int> intervals;
    int pressed;
  };
  const std::vector<Case> cases{
      {"memory", [&] { engine.MemScanBtnClick(); }, {".25S", ".5S", "1S", "2S", "5S", "10S"},
       {250, 500, 1000, 2000, 5000, 10000}, 2},
      {"file", [&] { engine.FileScanBtnClick(); }, {".25S", ".5S", "1S", "2S", "5S", "10S"},
       {100, 500, 1000, 2000, 5000, 10000}, 2},
      {"limit", [&] { ChooseLimits("9400", "9410"); }, {"33 mS", "0.1S", "0.2S", "0.5S", "1S", "3S"},
       {10, 50, 200, 500, 1000, 3000}, 3},
      {"band", [&] { engine.BandScanBtnClick(); }, {"33 mS", "0.1S", "0.2S", "0.5S", "1S", "3S"},
       {10, 50, 200, 500, 1000, 3000}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.choose();
    EXPECT_EQ(settings.ScanSpeedIndex, c.pressed);
    EXPECT_EQ(settings.ScanInterval, c.intervals[c.pressed - 1]);
    std::vector<std::string> captions;
    std::vector<int> intervals;
    for (int k = 0; k < 6; ++k) {
      engine.ScanSpdBtnClick(k);
      EXPECT_TRUE(panel[ScanSpeedButton(k)].pressed);
      captions.push_back(panel[ScanSpeedButton(k)].caption);
      intervals.push_back(settings.ScanInterval);
    }
    EXPECT_EQ(captions, c.captions);
    EXPECT_EQ(intervals, c.intervals);
    // Not scanning: a speed button does not start the timer.
    EXPECT_FALSE(scanTimer.armed());
  }
}

// ---- Limit scans ------------------------------------------------------------------

struct LimitCase {
  const char* name;
  const char* low;
  const char* high;
  int stepHz;
  bool downward;  // set with the Down button once the scan runs
  double start;
  std::vector<double> then;
};

void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

class LimitOrder : public ScanEngineTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(LimitOrder, StepsAndWrapsAtTheLimits) {
  const LimitCase& c = GetParam();
  StartLimitScan(c.low, c.high, c.stepHz);
  ASSERT_EQ(ctx.scan.ScanState, 3);
  EXPECT_DOUBLE_EQ(state.Freq, c.start);  // tuned at once
  if (c.downward) {
    tuning.StepFrequencyDown();
    EXPECT_EQ(ctx.scan.ScanDirection, 1);
    EXPECT_TRUE(panel[Ctl::FreqDnBtn].pressed);
    EXPECT_FALSE(panel[Ctl::FreqUpBtn].pressed);
  }
  const std::vector<double> seen = Frequencies(static_cast<int>(c.then.size()));
  ASSERT_EQ(seen.size(), c.then.size());
  for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_DOUBLE_EQ(seen[i], c.then[i]) << "step " << i;
  EXPECT_DOUBLE_EQ(settings.ScanFrequency, state.Freq);
  // Every step reached the line; none was replaced by the next.
  EXPECT_EQ(link.tuningsReplaced(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    ScanEngine, LimitOrder,
    ::testing::Values(
        LimitCase{"Up5k", "9400", "9410", 5000, false, 9400, {9405, 9410, 9400, 9405, 9410}},
        LimitCase{"Down5k", "9400", "9410", 5000, true, 9400, {9410, 9405, 9400, 9410}},
        LimitCase{"Up3kPassesTheTop", "9400", "9410", 3000, false, 9400, {9403, 9406, 9409, 9400}},
        LimitCase{"Down3kPassesTheBottom", "9400", "9410", 3000, true, 9400, {9410, 9407, 9404, 9401, 9410}},
        LimitCase{"EqualLimits", "9400", "9400", 5000, false, 9400, {9400, 9400, 9400}},
        LimitCase{"OneHertzStepsReachTheTopExactly", "9999.997", "10000.001", 1, false, 9999.997,
                  {9999.998, 9999.999, 10000.0, 10000.001, 9999.997}},
        LimitCase{"HundredHertzStepsReachTheTopExactly", "14000", "14000.7", 100, false, 14000,
                  {14000.1, 14000.2, 14000.3, 14000.4, 14000.5, 14000.6, 14000.7, 14000.0}},
        LimitCase{"TenHertzDownward", "7100", "7100.03", 10, true, 7100,
                  {7100.03, 7100.02, 7100.01, 7100.0, 7100.03}}),
    [](const ::testing::TestParamInfo<LimitCase>& info) { return info.param.name; });

TEST_F(ScanEngineTest, LimitScanStartDisablesWhatItShouldAndTunesAtOnce) {
  FiveStations();
  limits.RememberLimitRange(5900, 6200);
  ASSERT_TRUE(panel[Ctl::LimRange1].enabled);
  state.Freq = 12345;
  StartLimitScan("9400", "9410.5", 5000);
  EXPECT_EQ(ctx.scan.ScanState, 3);
  EXPECT_EQ(ctx.scan.ScanKind, 3);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Limit Scan: 9400 to 9410.5 kHz");
  EXPECT_TRUE(panel[Ctl::ScanBtn].pressed);
  EXPECT_TRUE(panel[Ctl::FreqUpBtn].pressed);
  ExpectScanControlsEnabled(false);
  ExpectLimitRangesEnabled(false);
  // Limit scan leaves these alone.
  ExpectEnabled({Ctl::TagBtn, Ctl::NowBtn, Ctl::StopBtn, Ctl::ScanBtn}, true);
  EXPECT_DOUBLE_EQ(state.Freq, 9400);
  EXPECT_DOUBLE_EQ(state.LastFreqRecord.freq, 12345);
  RadioState expected = state;
  EXPECT_EQ(link.queuedUnits() + port.writes().size(), 1u);  // the tuning, nothing else yet
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(sentUnits(), std::vector<std::string>{expected.TuningBytes()});
  EXPECT_TRUE(scanTimer.armed());
  EXPECT_EQ(scanTimer.interval(), 200);
}

struct BadLimits {
  double low, high;
  bool valid;
};

void PrintTo(const BadLimits& c, std::ostream* os) { *os << c.low << " to " << c.high; }

class RangeValidation : public ScanEngineTest, public ::testing::WithParamInterface<BadLimits> {};

TEST_P(RangeValidation, StartRangeScanChecksTheLimits) {
  const BadLimits& c = GetParam();
  ctx.scan.ScanKind = 3;
  panel.press(Ctl::LimitScanBtn);
  settings.LimitLow = c.low;
  settings.LimitHigh = c.high;
  settings.ScanFrequency = c.low;
  settings.ScanInterval = 200;
  panel.press(Ctl::ScanBtn);
  engine.StartRangeScan(c.low, c.high);
  if (c.valid) {
    EXPECT_EQ(ctx.scan.ScanState, 3);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_DOUBLE_EQ(state.Freq, c.low);
  } else {
    ExpectOnlyMessage("Limit frequencies are not configured properly.");
    ExpectNotScanning(0);
    EXPECT_FALSE(panel[Ctl::LimitScanBtn].pressed);
    EXPECT_EQ(link.queuedUnits() + port.writes().size(), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(ScanEngine, RangeValidation,
                         ::testing::Values(BadLimits{10, 30000, true}, BadLimits{10, 10, true},
                                           BadLimits{9.99, 100, false}, BadLimits{100, 30000.5, false},
                                           BadLimits{6000, 5999, false}, BadLimits{0, 0, false}));

TEST_F(ScanEngineTest, PausingALimitScanKeepsItsPlaceAndRemembersTheRange) {
  StartLimitScan("9400", "9420", 5000);
  Frequencies(2);  // 9405, 9410
  engine.StopBtnClick();
  ExpectNotScanning(3);
  EXPECT_FALSE(panel[Ctl::FreqUpBtn].pressed);
  ExpectScanControlsEnabled(true);
  EXPECT_EQ(limits.ranges[0].Name, "9400-9420");
  EXPECT_EQ(panel[Ctl::LimRange1].caption, "9400-9420");
  EXPECT_TRUE(panel[Ctl::LimRange1].enabled);
  EXPECT_FALSE(panel[Ctl::LimRange2].enabled);

  // Nothing moves while paused.
  timeline.advanceBy(2000);
  EXPECT_DOUBLE_EQ(state.Freq, 9410);

  // Scan resumes from where it stood, at once, and goes on from there.
  state.Freq = 15000;  // tuned elsewhere meanwhile
  engine.ScanBtnClick();
  EXPECT_DOUBLE_EQ(state.Freq, 9410);
  EXPECT_EQ(Frequencies(3), (std::vector<double>{9415, 9420, 9400}));

  // Pausing the same range again leaves one entry.
  engine.StopBtnClick();
  EXPECT_EQ(limits.ranges[0].Name, "9400-9420");
  EXPECT_FALSE(limits.ranges[1].defined());
  // New limits start at their low end.
  ChooseLimits("7000", "7010");
  engine.ScanBtnClick();
  EXPECT_DOUBLE_EQ(state.Freq, 7000);
  EXPECT_EQ(Frequencies(3), (std::vector<double>{7005, 7010, 7000}));
}

TEST_F(ScanEngineTest, StoredRangesMoveToTheTopWhenTheirScanPauses) {
  for (const char* high : {"6000", "7000", "8000"}) {
    StartLimitScan("5000", high, 5000);
    StepOnce();
    engine.StopBtnClick();
  }
  ASSERT_EQ(limits.ranges[0].Name, "5000-8000");
  ASSERT_EQ(limits.ranges[1].Name, "5000-7000");
  ASSERT_EQ(limits.ranges[2].Name, "5000-6000");

  // The third range, at its own speed (speed 2 of a stored range: 100 ms).
  limits.ranges[2].SpeedIndex = 2;
  limits.StartStoredLimitRange(3);
  EXPECT_EQ(ctx.scan.ScanState, 3);
  EXPECT_DOUBLE_EQ(state.Freq, 5000);
  EXPECT_EQ(scanTimer.interval(), 100);  // "0.1S" of a stored range
  ExpectLimitRangesEnabled(false);
  StepOnce();
  EXPECT_DOUBLE_EQ(state.Freq, 5005);
  engine.StopBtnClick();
  EXPECT_EQ(limits.ranges[0].Name, "5000-6000");
  EXPECT_EQ(limits.ranges[1].Name, "5000-8000");
  EXPECT_EQ(limits.ranges[2].Name, "5000-7000");
  EXPECT_EQ(panel[Ctl::LimRange1].caption, "5000-6000");
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(panel[LimitRangeItem(i)].enabled) << i;
  EXPECT_FALSE(panel[Ctl::LimRange4].enabled);
}

TEST_F(ScanEngineTest, SpaceBarStartsPausesAndResumesButOnlyEndsFastTuning) {
  ChooseLimits("9400", "9420");
  tuning.FreqUpBtnFastClick();
  ASSERT_TRUE(tuning.flags.TuningActive);
  tuning.KeyPress(' ');  // ends the fast tuning, remembers no range, starts nothing
  EXPECT_FALSE(tuning.flags.TuningActive);
  EXPECT_FALSE(limits.ranges[0].defined());
  EXPECT_EQ(ctx.scan.ScanState, 0);
  tuning.SetTuningStep(5000);
  tuning.KeyPress(' ');
  EXPECT_EQ(ctx.scan.ScanState, 3);
  EXPECT_TRUE(panel[Ctl::ScanBtn].pressed);
  EXPECT_DOUBLE_EQ(state.Freq, 9400);
  StepOnce();
  tuning.KeyPress(' ');
  ExpectNotScanning(3);
  EXPECT_EQ(limits.ranges[0].Name, "9400-9420");
  tuning.KeyPress(' ');
  EXPECT_EQ(ctx.scan.ScanState, 3);
  EXPECT_DOUBLE_EQ(state.Freq, 9405);
  StepOnce();
  EXPECT_DOUBLE_EQ(state.Freq, 9410);
}

// ---- Band scan ----------------------------------------------------------------------

TEST_F(ScanEngineTest, BandScanStepsThroughTheBandAndKeepsItsButtonDown) {
  ctx.decimalSeparator = ',';
  ctx.scan.ScanDirection = 1;
  settings.MemScanStarted = true;
  engine.BandScanBtnClick();
  const char* captions[6] = {"33 mS", "0,1S", "0,2S", "0,5S", "1S", "3S"};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(panel[ScanSpeedButton(k)].caption, captions[k]);
  EXPECT_TRUE(panel[Ctl::ScanSpd2Btn].pressed);
  EXPECT_EQ(ctx.scan.ScanDirection, 0);
  EXPECT_FALSE(settings.MemScanStarted);
  // With a band dialog the button runs it.
  int opened = 0;
  engine.bandScanButton = [&] {
    ++opened;
    engine.ChooseBandScan();
  };
  engine.BandScanBtnClick();
  EXPECT_EQ(opened, 1);
  // What the band dialog's OK sets.
  tuning.SetTuningStep(5000);
  settings.LimitLow = 5900.5;
  settings.LimitHigh = 5910.5;
  settings.ScanFrequency = 5900.5;
  ctx.scan.ScanKind = 4;
  engine.ScanBtnClick();
  EXPECT_EQ(ctx.scan.ScanState, 4);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Band Scan: 5900,5 to 5910,5 kHz");
  EXPECT_TRUE(panel[Ctl::BandScanBtn].pressed);
  EXPECT_FALSE(panel[Ctl::BandScanBtn].enabled);
  EXPECT_EQ(scanTimer.interval(), 200);
  EXPECT_EQ(Frequencies(3), (std::vector<double>{5905.5, 5910.5, 5900.5}));
  engine.StopBtnClick();
  EXPECT_TRUE(panel[Ctl::BandScanBtn].pressed);
  EXPECT_TRUE(panel[Ctl::BandScanBtn].enabled);
  EXPECT_EQ(ctx.scan.ScanKind, 4);
  // Band scans are not remembered as limit ranges.
  EXPECT_FALSE(limits.ranges[0].defined());
  engine.ScanBtnClick();
  EXPECT_DOUBLE_EQ(state.Freq, 5900.5);
  StepOnce();
  EXPECT_DOUBLE_EQ(state.Freq, 5905.5);
}

// ---- Speed changes --------------------------------------------------------------------

TEST_F(ScanEngineTest, ASpeedChangeAppliesAtOnce) {
  ThreeBanks();
  engine.MemScanBtnClick();  // 500 ms
  const std::int64_t t0 = timeline.nowMs();
  engine.ScanBtnClick();
  ASSERT_EQ(scanTimer.nextTickMs(), t0 + 500);
  timeline.advanceBy(100);
  engine.ScanSpdBtnClick(0);  // 250 ms
  EXPECT_EQ(scanTimer.interval(), 250);
  EXPECT_EQ(scanTimer.nextTickMs(), t0 + 350);
  std::vector<std::int64_t> at;
  for (int i = 0; i < 3; ++i) {
    StepOnce();
    at.push_back(timeline.nowMs() - t0);
  }
  EXPECT_EQ(at, (std::vector<std::int64_t>{350, 600, 850}));
  engine.ScanSpdBtnClick(3);  // 2 s
  StepOnce();
  EXPECT_EQ(timeline.nowMs() - t0, 2850);
}

// ---- Memory scans -----------------------------------------------------------------------

TEST_F(ScanEngineTest, MemoryScanVisitsEnabledUnlockedChannelsInOrder) {
  ThreeBanks();
  ScratchpadChannel& whole = scratch.pad.channel(1, 3);  // each channel's whole tuning is tuned
  whole.Mode = 1;
  whole.FilterIndex = 13;
  whole.AGC = 3;
  whole.PBT = 150;
  engine.MemScanBtnClick();
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Scratchpad Memory Scan");
  EXPECT_TRUE(panel[Ctl::MemScanBtn].pressed);
  engine.ScanBtnClick();
  ASSERT_EQ(ctx.scan.ScanState, 2);
  // A fresh start shows the lowest enabled bank and presses channel 0, but
  // tunes nothing until the first tick.
  EXPECT_EQ(scratch.pad.CurrentBank, 1);
  EXPECT_EQ(panel[Ctl::BankDispPanel].caption, "1");
  EXPECT_TRUE(panel[Ctl::ScpdBtn0].pressed);
  EXPECT_EQ(link.queuedUnits() + port.writes().size(), 0u);
  ExpectScanControlsEnabled(false);
  ExpectEnabled({Ctl::TagBtn}, false);
  ExpectLimitRangesEnabled(false);

  // Channel 0 is passed over at first; 6000 (locked), bank 2 (disabled) and
  // 9000 (locked) never come.
  const auto seen = Channels(5);
  EXPECT_EQ(seen, (Chans{{1, 3}, {3, 7}, {1, 0}, {1, 3}, {3, 7}}));
  EXPECT_DOUBLE_EQ(state.Freq, 9500);
  EXPECT_EQ(panel[Ctl::BankDispPanel].caption, "3");
  EXPECT_TRUE(panel[Ctl::ScpdBtn7].pressed);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "m9500");

  // Downward from bank 3 channel 7: back through bank 1 (wrapping 1 -> 10 and
  // skipping every disabled bank on the way).
  tuning.StepFrequencyDown();
  EXPECT_EQ(ctx.scan.ScanDirection, 1);
  EXPECT_EQ(Channels(4), (Chans{{1, 3}, {1, 0}, {3, 7}, {1, 3}}));
  EXPECT_EQ((std::vector<double>{state.Freq, double(state.Mode), double(state.FilterIndex), double(state.AGC),
                                 double(state.PBT)}),
            (std::vector<double>{7000, 1, 13, 3, 150}));
  RadioState expected = state;
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(sentUnits().back(), expected.TuningBytes());
}

TEST_F(ScanEngineTest, MemoryScanRefusedWithoutUsableChannels) {
  struct Case {
    const char* name;
    std::function<void(Scratchpad&)> set;
  } cases[] = {
      {"no bank enabled", [](Scratchpad& pad) { pad.channel(1, 0) = Memory(5000); }},
      {"all locked",
       [](Scratchpad& pad) {
         pad.channel(1, 0) = Memory(5000, true);
         pad.setBankEnabled(1, true);
       }},
      {"enabled banks empty",
       [](Scratchpad& pad) {
         pad.channel(2, 0) = Memory(5000);
         pad.setBankEnabled(1, true);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    scratch.pad = Scratchpad{};
    c.set(scratch.pad);
    messages.clear();
    engine.MemScanBtnClick();
    panel.press(Ctl::ScanBtn);
    engine.ScanBtnClick();
    ExpectOnlyMessage("There are no channels in the enabled bank(s) which are not locked out.");
    ExpectNotScanning(2);
    ExpectEnabled(kKindButtons, true);
  }
}

TEST_F(ScanEngineTest, MemoryScanStopsWhenEveryChannelGetsLocked) {
  StartMemoryScan();
  StepOnce();
  for (int bank : {1, 3})
    for (int ch = 0; ch < 16; ++ch) scratch.pad.channel(bank, ch).Lockout = 1;
  const double before = state.Freq;
  timeline.advanceBy(600);
  ExpectOnlyMessage("There are no channels in the enabled bank(s) which are not locked out.");
  ExpectNotScanning(2);
  EXPECT_DOUBLE_EQ(state.Freq, before);
  ExpectEnabled(kKindButtons, true);
}

TEST_F(ScanEngineTest, MemoryScanPausesAndResumesFromTheKeptChannel) {
  StartMemoryScan();
  Channels(2);  // (1,3), (3,7)
  engine.StopBtnClick();
  EXPECT_EQ(ctx.scan.ScanState, 0);
  ExpectEnabled(kKindButtons, true);
  // Choosing memory scan again does not restart it.
  engine.MemScanBtnClick();
  engine.ScanBtnClick();
  EXPECT_EQ(scratch.pad.CurrentBank, 3);
  EXPECT_EQ(Channels(1), (Chans{{1, 0}}));

  // A click on a memory button pauses there; Scan goes on after it.
  scratch.ScpdBtnMouseDown(3, ScratchpadController::MouseButton::Left);
  EXPECT_EQ(ctx.scan.ScanState, 0);
  EXPECT_DOUBLE_EQ(state.Freq, 7000);
  engine.ScanBtnClick();
  EXPECT_EQ(Channels(1), (Chans{{3, 7}}));

  // Choosing another kind forgets the position: the next memory scan
  // starts afresh in the lowest enabled bank.
  engine.StopBtnClick();
  ChooseLimits("9400", "9420");
  engine.MemScanBtnClick();
  engine.ScanBtnClick();
  EXPECT_EQ(scratch.pad.CurrentBank, 1);
  EXPECT_EQ(Channels(1), (Chans{{1, 3}}));
  // Forgetting the resume state starts afresh too.
  engine.StopBtnClick();
  engine.ResetScanResumeState();
  engine.ScanBtnClick();
  EXPECT_EQ(Channels(1), (Chans{{1, 3}}));
  // Cancel in the limit dialog forgets the kind.
  engine.StopBtnClick();
  limitDialog.show = [](LimitScanDialog& dialog) { dialog.CancelBtnClick(); };
  limitDialog.LimitScanBtnClick();
  EXPECT_EQ(ctx.scan.ScanKind, 0);
  EXPECT_FALSE(settings.MemScanStarted);
}

TEST_F(ScanEngineTest, TheBankShownIsScannedEvenWhenDisabledAndAnEnabledBankJoins) {
  StartMemoryScan();
  Channels(1);  // (1,3)
  engine.StopBtnClick();
  scratch.BankUpBtnClick();  // bank 2, disabled; the channel stays 3
  ASSERT_EQ(scratch.pad.CurrentBank, 2);
  engine.ScanBtnClick();
  EXPECT_EQ(Channels(3), (Chans{{2, 9}, {3, 7}, {1, 0}}));
  engine.StopBtnClick();
  scratch.SelectOrToggleBank(2);
  EXPECT_TRUE(scratch.pad.bankEnabled(2));
  scratch.SelectOrToggleBank(3);
  EXPECT_FALSE(scratch.pad.bankEnabled(3));
  engine.ScanBtnClick();
  EXPECT_EQ(Channels(4), (Chans{{1, 3}, {2, 0}, {2, 9}, {1, 0}}));
}

TEST_F(ScanEngineTest, ASingleUsableChannelOrRowIsRetunedEveryTick) {
  scratch.pad.channel(4, 11) = Memory(3330);
  scratch.pad.setBankEnabled(4, true);
  engine.MemScanBtnClick();
  engine.ScanBtnClick();
  EXPECT_EQ(Channels(3), (Chans{{4, 11}, {4, 11}, {4, 11}}));
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(sentUnits().size(), 3u);
  // The same with a lone unlocked row in a file.
  engine.StopBtnClick();
  clearRecords();
  state.LastFreqFile = "test.320";
  stations.BuildFrequencyList(FileOf({Locked("A", "5.000000"),
                                      Locked("B", "6.000000"), StationLine("C", "7.000000"),
                                      Locked("D", "8.000000")}));
  engine.FileScanBtnClick();
  EXPECT_EQ(engine.FileScanRow, 3);
  engine.ScanBtnClick();
  EXPECT_EQ(Rows(3), (std::vector<int>{3, 3, 3}));
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(sentUnits().size(), 3u);
}

// ---- File scans --------------------------------------------------------------------------

TEST_F(ScanEngineTest, FileScanChoiceRefusalsThenTheFirstScannableRow) {
  panel.press(Ctl::FileScanBtn);
  engine.FileScanBtnClick();
  EXPECT_EQ(messages.lastMessage(), "There is no file to scan.  Please load a frequency file.");
  EXPECT_EQ(ctx.scan.ScanKind, 0);

  state.LastFreqFile = "locked.320";
  stations.BuildFrequencyList(FileOf({Locked("A", "5.000000"),
                                      Locked("B", "6.000000")}));
  ChooseLimits("9400", "9410");
  messages.clear();
  engine.FileScanBtnClick();
  ExpectOnlyMessage("There are no scannable channels in the file.");
  EXPECT_EQ(ctx.scan.ScanKind, 0);
  EXPECT_FALSE(panel[Ctl::FileScanBtn].pressed);
  messages.clear();
  state.LastFreqFile = "test.320";
  stations.BuildFrequencyList(FileOf({Locked("A", "5.000000"), StationLine("B", "6.000000"),
                                      StationLine("C", "7.000000")}));
  ctx.scan.ScanDirection = 1;
  settings.MemScanStarted = true;
  engine.FileScanBtnClick();
  EXPECT_EQ(ctx.scan.ScanKind, 1);
  EXPECT_EQ(engine.FileScanRow, 2);
  EXPECT_EQ(ctx.scan.ScanDirection, 0);
  EXPECT_FALSE(settings.MemScanStarted);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "File Scan");
  EXPECT_TRUE(panel[Ctl::FileScanBtn].pressed);
  EXPECT_EQ(settings.ScanInterval, 500);
}

TEST_F(ScanEngineTest, FileScanStepsDownTheListSkippingLockedRowsAndWraps) {
  StartFileScan();
  ASSERT_EQ(ctx.scan.ScanState, 1);
  EXPECT_TRUE(panel[Ctl::FreqDnBtn].pressed);  // "down the list"
  ExpectEnabled(kFileItems, false);
  ExpectEnabled({Ctl::PasteItem}, false);
  ExpectScanControlsEnabled(false);
  ExpectLimitRangesEnabled(false);
  ExpectEnabled({Ctl::TagBtn, Ctl::NowBtn}, true);
  EXPECT_EQ(link.queuedUnits() + port.writes().size(), 0u);  // nothing before the first tick

  EXPECT_EQ(Rows(5), (std::vector<int>{3, 4, 5, 1, 3}));
  EXPECT_DOUBLE_EQ(state.Freq, 7000);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "test.320:  Line 3");

  // Up sends the scan up the list, towards row 1.
  tuning.StepFrequencyUp();
  EXPECT_EQ(ctx.scan.ScanDirection, 1);
  EXPECT_EQ(Rows(4), (std::vector<int>{1, 5, 4, 3}));
  EXPECT_EQ(link.tuningsReplaced(), 0u);

  engine.StopBtnClick();
  ExpectEnabled(kFileItems, true);
  ExpectEnabled({Ctl::PasteItem}, false);  // nothing to paste
  ExpectEnabled(kKindButtons, true);
  EXPECT_EQ(ctx.scan.ScanKind, 1);
  engine.ScanBtnClick();
  EXPECT_TRUE(panel[Ctl::FreqUpBtn].pressed);  // the kept direction is shown
  EXPECT_EQ(Rows(1), (std::vector<int>{1}));
  // Paste comes back after a file scan only with records to paste.
  engine.StopBtnClick();
  stations.pasteStatus = [] { return PasteStatus{2, true}; };
  engine.ScanBtnClick();
  EXPECT_FALSE(panel[Ctl::PasteItem].enabled);
  engine.StopBtnClick();
  EXPECT_TRUE(panel[Ctl::PasteItem].enabled);
}

TEST_F(ScanEngineTest, FileScanAtItsFastestTunesEveryRowInTurn) {
  FiveStations();
  engine.FileScanBtnClick();
  engine.ScanSpdBtnClick(0);  // 100 ms, faster than the line
  engine.ScanBtnClick();
  const std::vector<int> rows = Rows(8);
  EXPECT_EQ(rows, (std::vector<int>{3, 4, 5, 1, 3, 4, 5, 1}));
  ASSERT_TRUE(flushLine());
  // Each row was tuned and reached the line, none replaced.
  EXPECT_EQ(sentUnits().size(), 8u);
  EXPECT_EQ(link.tuningsReplaced(), 0u);
  EXPECT_GT(engine.waitedTicks(), 0);
}

TEST_F(ScanEngineTest, FileScanEndsWhenEveryRowIsLockedOut) {
  StartFileScan();
  StepOnce();
  for (int record = 0; record < stations.list.RecordCount(); ++record) stations.list.Cell(record, FreqColumn::Lockout) = "1";
  timeline.advanceBy(600);
  ExpectOnlyMessage("You have locked out all the channels in the file!");
  ExpectNotScanning(0);
  ExpectEnabled(kFileItems, true);
}

TEST_F(ScanEngineTest, FileScanOverTheOnAirViewWrapsAtTheRowsShown) {
  clock.setUtc(DateTime{2024, 3, 1, 12, 0, 0});
  state.LastFreqFile = "air.320";
  stations.BuildFrequencyList(FileOf({
      StationLine("Zulu", "5.000000", "1100", "1300"),    // on
      StationLine("Off1", "6.000000", "0000", "0100"),    // off
      StationLine("Mike", "7.000000", "1200", "1201"),    // on
      Locked("Alpha", "8.000000", "0800", "1500"),        // on, locked
      StationLine("Off2", "9.000000", "1300", "1400"),    // off
      StationLine("Bravo", "10.000000", "2300", "1230"),  // on (over midnight)
  }));
  stations.ToggleOnAirView();
  ASSERT_TRUE(stations.list.OnAirView);
  ASSERT_EQ(stations.list.ViewCount(), 4);  // Alpha, Bravo, Mike, Zulu by name

  engine.FileScanBtnClick();
  EXPECT_EQ(engine.FileScanRow, 2);  // row 1 (Alpha) is locked
  engine.ScanBtnClick();
  const std::vector<double> freqs = Frequencies(6);
  EXPECT_EQ(freqs, (std::vector<double>{7000, 5000, 10000, 7000, 5000, 10000}));
  EXPECT_EQ(engine.FileScanRow, 2);

  tuning.StepFrequencyUp();  // up the view
  EXPECT_EQ(Frequencies(3), (std::vector<double>{5000, 7000, 10000}));
}

TEST_F(ScanEngineTest, APressOnTheGridPausesAFileScanWhereItStands) {
  FiveStations();
  limits.RememberLimitRange(5900, 6200);
  engine.FileScanBtnClick();
  engine.ScanBtnClick();
  Rows(2);  // 3, 4
  stations.GridCursorMoved(1, 1, 1);
  stations.GridMouseDown(GridMouseButton::Left, 50, 80, 20);
  ExpectNotScanning(1);
  ExpectEnabled(kFileItems, true);
  ExpectScanControlsEnabled(true);
  EXPECT_TRUE(panel[Ctl::LimRange1].enabled);
  EXPECT_FALSE(panel[Ctl::LimRange2].enabled);
  EXPECT_EQ(engine.FileScanRow, 4);
  // The following click tunes the pressed row; the scan resumes after row 4.
  stations.GridTunePermit = true;
  stations.GridClick();
  EXPECT_DOUBLE_EQ(state.Freq, 5000);
  engine.ScanBtnClick();
  EXPECT_EQ(Rows(2), (std::vector<int>{5, 1}));
}

// ---- Stopping from elsewhere ------------------------------------------------------------------

TEST_F(ScanEngineTest, TheCompanionsHelloEndsTheScanAndForgetsTheKind) {
  NoCompanion transport;
  CommandDispatcher dispatcher(ctx, receiver, controls, tuning, meter, transport);
  engine.Attach(dispatcher);
  StartLimitScan("9400", "9420", 1000);
  StepOnce();
  dispatcher.ExecuteRemoteCommand("?");
  ExpectNotScanning(0);
  EXPECT_FALSE(panel[Ctl::LimitScanBtn].pressed);
  EXPECT_EQ(limits.ranges[0].Name, "9400-9420");  // paused before it was forgotten
  EXPECT_EQ(state.StepHz, 5000);
  const double tuned = state.Freq;
  timeline.advanceBy(1000);
  EXPECT_DOUBLE_EQ(state.Freq, tuned);
  engine.ScanBtnClick();
  EXPECT_EQ(messages.lastMessage(), "Please select a scan mode.");
  // During a band scan it leaves every kind button up.
  engine.BandScanBtnClick();
  panel.press(Ctl::BandScanBtn);
  settings.LimitLow = settings.ScanFrequency = 7000;
  settings.LimitHigh = 7100;
  engine.ScanBtnClick();
  ASSERT_EQ(ctx.scan.ScanState, 4);
  dispatcher.ExecuteRemoteCommand("?");
  ExpectNotScanning(0);
  for (Ctl c : kKindButtons) {
    EXPECT_FALSE(panel[c].pressed) << ControlName(c);
    EXPECT_TRUE(panel[c].enabled) << ControlName(c);
  }
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "");
}

// ---- Pacing on the line ----------------------------------------------------------------------

TEST_F(ScanEngineTest, TheFastestLimitScanKeepsTheLineBusyWithoutSkipping) {
  meterTimer.setEnabled(true);
  tuning.SetTuningStep(1000);
  ChooseLimits("5000", "6000");
  engine.ScanSpdBtnClick(0);  // 10 ms
  ASSERT_TRUE(flushLine());
  clearRecords();
  const std::uint64_t tuningsBefore = link.tuningsHandedOver();
  const std::uint64_t unitsBefore = link.unitsHandedOver();
  RadioState reference = state;

  const std::int64_t runMs = 10000;
  engine.ScanBtnClick();
  timeline.advanceBy(runMs);
  engine.StopBtnClick();
  const std::uint64_t tunings = link.tuningsHandedOver() - tuningsBefore;
  const std::uint64_t queries = link.unitsHandedOver() - unitsBefore - tunings;
  ASSERT_TRUE(flushLine());

  // Every step, in order, from the start frequency on (the last one may
  // have left after the pause).
  const std::vector<std::string> sent = sentUnits();
  ASSERT_EQ(sent.size(), link.tuningsHandedOver() - tuningsBefore);
  ASSERT_GE(sent.size(), tunings);
  for (std::size_t i = 0; i < sent.size(); ++i) {
    reference.Freq = 5000.0 + static_cast<double>(i);
    ASSERT_EQ(sent[i], reference.TuningBytes()) << "step " << i;
  }
  EXPECT_EQ(link.tuningsReplaced(), 0u);
  EXPECT_GT(engine.waitedTicks(), 0);

  const double queryMs = link.lineTimeMs(SignalStrengthQuery().size());
  const double allowed = (static_cast<double>(runMs) - static_cast<double>(queries) * queryMs) / link.lineTimeMs(17);
  EXPECT_GE(static_cast<double>(tunings) / allowed, 0.95) << tunings << " tunings, " << queries << " queries";
  // The line cannot carry more (one more for the tuning that starts the run).
  EXPECT_LE(static_cast<double>(tunings), allowed + 1.0);
}

TEST_F(ScanEngineTest, AFailingTickIsReportedAndTheScanGoesOn) {
  // The meter's own failures are the program's to catch, not this test's.
  meterTimer.onTimer = [this] {
    try {
      meter.MeterTimerTick();
    } catch (const std::exception&) {
    }
  };
  StartLimitScan("9400", "9420", 5000);
  ASSERT_TRUE(flushLine());
  port.failWritesWith("line down");
  timeline.advanceBy(250);
  EXPECT_FALSE(reportedErrors.empty());
  EXPECT_EQ(ctx.scan.ScanState, 3);
  port.allowWrites();
  const double before = state.Freq;
  StepOnce();
  EXPECT_DOUBLE_EQ(state.Freq, before + 5);
}

}  // namespace
}  // namespace ondaris
