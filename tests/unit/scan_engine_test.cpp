// Memory, file, limit and band scans stepped by the fake ScanTimer over a 1200-baud line, with the real
// scratchpad, station list, limit ranges and limit dialog around the engine.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "freqfiles/StationGrid.h"
#include "memories/ScratchpadController.h"
#include "radio/CommandDispatcher.h"
#include "radio/Rx320Protocol.h"
#include "scan/LimitScanDialog.h"
#include "scan/ScanEngine.h"
#include "support/PanelFixture.h"
#include "support/RecordingCompanion.h"
#include "support/StationLine.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

// A station line whose lockout mark is set.
std::string Locked(const std::string& name, const std::string& mhz, const std::string& on = "0000",
                   const std::string& off = "2400") {
  return StationLine(name, mhz, on, off, "1");
}

// A memory channel at `freq` kHz: AM, 100 Hz step, 6 kHz filter, AGC medium.
ScratchpadChannel Memory(double freq, bool locked = false) {
  return {std::uint8_t(locked ? 1 : 0), freq, "m" + std::to_string(static_cast<int>(freq)), 0, 3, 1, 2};
}

using Chans = std::vector<std::pair<int, int>>;
using Freqs = std::vector<double>;
using Rows = std::vector<int>;
const char* const kNoChannels = "There are no channels in the enabled bank(s) which are not locked out.";

const std::vector<Ctl> kKindButtons = {Ctl::FileScanBtn, Ctl::MemScanBtn, Ctl::LimitScanBtn, Ctl::BandScanBtn};
const std::vector<Ctl> kFileItems = {
    Ctl::NewFileItem,    Ctl::LoadFileItem, Ctl::AppendFileItem, Ctl::SaveFileItem,   Ctl::FileOpBtn1,
    Ctl::SaveFileAsItem, Ctl::AddEntryItem, Ctl::FileOpBtn2,     Ctl::EditEntryItem,  Ctl::CopyItem,
    Ctl::FileOpBtn3,     Ctl::ReopenMainItem, Ctl::DeleteEntryItem, Ctl::FileOpBtn5};
const std::vector<Ctl> kWWVAndRecall = {Ctl::WWV25Btn,      Ctl::WWV5Btn,     Ctl::WWV10Btn,      Ctl::WWV15Btn,
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
  Freqs Frequencies(int steps) { return Steps(steps, [this] { return state.Freq; }); }
  Chans Channels(int steps) {
    return Steps(steps, [this] { return std::pair{scratch.pad.CurrentBank, scratch.pad.CurrentChannel}; });
  }
  Rows RowsSeen(int steps) {
    return Steps(steps, [this] {
      EXPECT_EQ(stations.grid.Row, engine.FileScanRow);
      return engine.FileScanRow;
    });
  }
  std::size_t Unsent() const { return link.queuedUnits() + port.writes().size(); }
  // The tuning of `expected` (taken before the line is flushed) went out last.
  void ExpectLastSent(const RadioState expected) {
    ASSERT_TRUE(flushLine());
    ASSERT_FALSE(sentUnits().empty());
    EXPECT_EQ(sentUnits().back(), expected.TuningBytes());
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
    const std::tuple<int, int, double, bool> channels[] = {{1, 0, 5000, false}, {1, 1, 6000, true},
                                                           {1, 3, 7000, false}, {2, 0, 8000, false},
                                                           {2, 9, 8500, false}, {3, 5, 9000, true},
                                                           {3, 7, 9500, false}};
    for (const auto& [bank, ch, freq, locked] : channels) scratch.pad.channel(bank, ch) = Memory(freq, locked);
    scratch.pad.setBankEnabled(1, true);
    scratch.pad.setBankEnabled(3, true);
    scratch.pad.CurrentBank = 2;
    scratch.ShowScratchpadBank();
  }
  void LoadStations(const std::vector<std::string>& lines, const char* file = "test.320") {
    state.LastFreqFile = file;
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    stations.BuildFrequencyList(text);
  }
  // Five stations; row 2 locked out.
  void FiveStations() {
    LoadStations({StationLine("A", "5.000000"), Locked("B", "6.000000"), StationLine("C", "7.000000"),
                  StationLine("D", "8.000000"), StationLine("E", "9.000000")});
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
  // What a running scan disables and a stopped one gives back; the limit
  // ranges stay off while scanning.
  void ExpectScanControlsEnabled(bool enabled) {
    ExpectEnabled(kKindButtons, enabled);
    ExpectEnabled(kWWVAndRecall, enabled);
    for (int i = 0; i < 20 && !enabled; ++i) EXPECT_FALSE(panel[LimitRangeItem(i)].enabled) << i;
  }
  // Paused or ended: nothing ticks, Scan is up; the kind is kept or forgotten.
  void ExpectNotScanning(int kind) {
    EXPECT_EQ(std::tuple(ctx.scan.ScanState, ctx.scan.ScanKind, scanTimer.armed(), panel[Ctl::ScanBtn].pressed),
              std::tuple(0, kind, false, false));
  }
  void ExpectOnlyMessage(const std::string& text) { EXPECT_EQ(messages.messages(), std::vector<std::string>{text}); }
  void ExpectRanges(const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(limits.ranges[i].Name, names[i]) << i;
    EXPECT_FALSE(limits.ranges[names.size()].defined());
  }

  TempFolder folder{true};
  ScanSettings settings;
  ScratchpadController scratch{ctx, receiver, controls, tuning, folder.dir()};
  StationGrid stations{ctx, receiver, controls, tuning, folder.dir()};
  LimitRanges limits{ctx, controls, tuning, settings, folder.dir()};
  LimitScanDialog limitDialog{ctx, settings};
  ScanEngine engine{ctx, receiver, tuning, scratch, stations, limits, settings};
};

TEST_F(ScanEngineTest, NothingChosenIsRefusedAndEachKindLoadsItsSpeedTable) {
  panel.press(Ctl::ScanBtn);
  engine.ScanBtnClick();
  ExpectOnlyMessage("Please select a scan mode.");
  ExpectNotScanning(0);
  ThreeBanks();
  FiveStations();
  const std::vector<std::string> slow{".25S", ".5S", "1S", "2S", "5S", "10S"};
  const std::vector<std::string> fast{"33 mS", "0.1S", "0.2S", "0.5S", "1S", "3S"};
  const std::vector<int> fastMs{10, 50, 200, 500, 1000, 3000};
  const struct {
    std::function<void()> choose;
    std::vector<std::string> captions;
    std::vector<int> intervals;
    int pressed;
  } cases[] = {
      {[&] { engine.MemScanBtnClick(); }, slow, {250, 500, 1000, 2000, 5000, 10000}, 2},
      {[&] { engine.FileScanBtnClick(); }, slow, {100, 500, 1000, 2000, 5000, 10000}, 2},
      {[&] { ChooseLimits("9400", "9410"); }, fast, fastMs, 3},
      {[&] { engine.BandScanBtnClick(); }, fast, fastMs, 3},
  };
  for (const auto& c : cases) {
    c.choose();
    SCOPED_TRACE(ctx.scan.ScanKind);
    EXPECT_EQ(std::tuple(settings.ScanSpeedIndex, settings.ScanInterval),
              std::tuple(c.pressed, c.intervals[c.pressed - 1]));
    std::vector<std::string> captions;
    std::vector<int> intervals;
    for (int k = 0; k < 6; ++k) {
      engine.ScanSpdBtnClick(k);
      EXPECT_TRUE(panel[ScanSpeedButton(k)].pressed);
      captions.push_back(panel[ScanSpeedButton(k)].caption);
      intervals.push_back(settings.ScanInterval);
    }
    EXPECT_EQ(std::tuple(captions, intervals), std::tuple(c.captions, c.intervals));
    EXPECT_FALSE(scanTimer.armed());  // not scanning: a speed button starts no timer
  }
  engine.ScanSpdBtnClick(6);  // there is no seventh button
  EXPECT_EQ(std::tuple(settings.ScanSpeedIndex, settings.ScanInterval), std::tuple(6, 3000));
}

struct LimitCase {
  const char* name;
  const char* low;
  const char* high;
  int stepHz;
  bool downward;  // set with the Down button once the scan runs
  double start;
  Freqs then;
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
    EXPECT_EQ(std::tuple(ctx.scan.ScanDirection, panel[Ctl::FreqDnBtn].pressed, panel[Ctl::FreqUpBtn].pressed),
              std::tuple(1, true, false));
  }
  EXPECT_EQ(Frequencies(static_cast<int>(c.then.size())), c.then);
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

// The limits must lie within 10 to 30000 kHz, low no higher than high.
TEST_F(ScanEngineTest, StartRangeScanChecksTheLimits) {
  const struct {
    double low, high;
    bool valid;
  } cases[] = {{10, 30000, true}, {10, 10, true}, {9.99, 100, false}, {100, 30000.5, false}, {6000, 5999, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.low << " to " << c.high);
    messages.clear();
    ASSERT_TRUE(flushLine());
    clearRecords();
    ctx.scan.ScanKind = 3;
    panel.press(Ctl::LimitScanBtn);
    settings.LimitLow = c.low;
    settings.LimitHigh = c.high;
    settings.ScanFrequency = 0;  // outside the limits: the scan starts at the low one
    panel.press(Ctl::ScanBtn);
    engine.StartRangeScan(c.low, c.high);
    EXPECT_EQ(std::tuple(ctx.scan.ScanState, ctx.scan.ScanKind, panel[Ctl::LimitScanBtn].pressed,
                         panel[Ctl::ScanBtn].pressed, messages.messages().size(), Unsent()),
              std::tuple(c.valid ? 3 : 0, c.valid ? 3 : 0, c.valid, c.valid, c.valid ? 0u : 1u, c.valid ? 1u : 0u));
    EXPECT_DOUBLE_EQ(c.valid ? state.Freq : c.low, c.low);
    engine.StopBtnClick();
  }
  EXPECT_EQ(messages.lastMessage(), "Limit frequencies are not configured properly.");
}

// Space, like Scan and Stop, starts, pauses and resumes a scan; it only ends
// a fast tuning that runs.
TEST_F(ScanEngineTest, ALimitScanStartsTunedPausesInPlaceAndRemembersItsRange) {
  limits.RememberLimitRange(5900, 6200);
  ChooseLimits("9400", "9420");
  tuning.FreqUpBtnFastClick();
  ASSERT_TRUE(tuning.flags.TuningActive);
  tuning.KeyPress(' ');
  EXPECT_EQ(std::tuple(tuning.flags.TuningActive, ctx.scan.ScanState), std::tuple(false, 0));
  ExpectRanges({"5900-6200"});
  tuning.SetTuningStep(5000);
  ASSERT_TRUE(flushLine());
  clearRecords();
  state.Freq = 12345;
  tuning.KeyPress(' ');
  EXPECT_EQ(std::tuple(ctx.scan.ScanState, ctx.scan.ScanKind, panel[Ctl::StatusPanel].caption),
            std::tuple(3, 3, "Limit Scan: 9400 to 9420 kHz"));
  EXPECT_TRUE(panel[Ctl::ScanBtn].pressed && panel[Ctl::FreqUpBtn].pressed);
  ExpectScanControlsEnabled(false);
  ExpectEnabled({Ctl::TagBtn, Ctl::NowBtn, Ctl::StopBtn, Ctl::ScanBtn}, true);  // left alone
  // Tuned at once, nothing else sent yet.
  EXPECT_EQ(std::tuple(state.LastFreqRecord.freq, state.Freq, Unsent()), std::tuple(12345.0, 9400.0, 1u));
  ExpectLastSent(state);
  EXPECT_EQ(std::tuple(scanTimer.interval(), scanTimer.armed()), std::tuple(200, true));

  Frequencies(2);  // 9405, 9410
  tuning.KeyPress(' ');
  ExpectNotScanning(3);
  EXPECT_FALSE(panel[Ctl::FreqUpBtn].pressed);
  ExpectRanges({"9400-9420", "5900-6200"});
  EXPECT_EQ(panel[Ctl::LimRange1].caption, "9400-9420");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(panel[LimitRangeItem(i)].enabled, i < 2) << i;

  // Scan resumes from where it stood, at once, even if tuned elsewhere meanwhile.
  state.Freq = 15000;
  tuning.KeyPress(' ');
  EXPECT_DOUBLE_EQ(state.Freq, 9410);
  EXPECT_EQ(Frequencies(3), (Freqs{9415, 9420, 9400}));
  engine.StopBtnClick();
  ExpectRanges({"9400-9420", "5900-6200"});  // the same range again: one entry
  // New limits start at their low end.
  ChooseLimits("7000", "7010");
  engine.ScanBtnClick();
  EXPECT_DOUBLE_EQ(state.Freq, 7000);
  EXPECT_EQ(Frequencies(3), (Freqs{7005, 7010, 7000}));
}

TEST_F(ScanEngineTest, BandScanStepsThroughTheBandAndKeepsItsButtonDown) {
  ctx.decimalSeparator = ',';
  ctx.scan.ScanDirection = 1;
  settings.MemScanStarted = true;
  engine.BandScanBtnClick();
  const char* captions[6] = {"33 mS", "0,1S", "0,2S", "0,5S", "1S", "3S"};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(panel[ScanSpeedButton(k)].caption, captions[k]);
  EXPECT_EQ(std::tuple(panel[Ctl::ScanSpd2Btn].pressed, ctx.scan.ScanDirection, settings.MemScanStarted),
            std::tuple(true, 0, false));
  int opened = 0;  // with a band dialog the button runs it
  engine.bandScanButton = [&] {
    ++opened;
    engine.ChooseBandScan();
  };
  engine.BandScanBtnClick();
  EXPECT_EQ(opened, 1);
  // What the band dialog's OK sets.
  tuning.SetTuningStep(5000);
  settings.LimitLow = settings.ScanFrequency = 5900.5;
  settings.LimitHigh = 5910.5;
  engine.ScanBtnClick();
  EXPECT_EQ(std::tuple(ctx.scan.ScanState, panel[Ctl::StatusPanel].caption, panel[Ctl::BandScanBtn].pressed,
                       panel[Ctl::BandScanBtn].enabled),
            std::tuple(4, "Band Scan: 5900,5 to 5910,5 kHz", true, false));
  EXPECT_EQ(Frequencies(3), (Freqs{5905.5, 5910.5, 5900.5}));
  engine.StopBtnClick();
  EXPECT_EQ(std::tuple(ctx.scan.ScanKind, panel[Ctl::BandScanBtn].pressed, panel[Ctl::BandScanBtn].enabled),
            std::tuple(4, true, true));
  EXPECT_FALSE(limits.ranges[0].defined());  // band scans are not remembered as ranges
  engine.ScanBtnClick();
  EXPECT_DOUBLE_EQ(state.Freq, 5900.5);
  EXPECT_EQ(Frequencies(1), (Freqs{5905.5}));
}

TEST_F(ScanEngineTest, ASpeedChangeAppliesAtOnce) {
  ThreeBanks();
  engine.MemScanBtnClick();  // 500 ms
  const std::int64_t t0 = timeline.nowMs();
  engine.ScanBtnClick();
  ASSERT_EQ(scanTimer.nextTickMs(), t0 + 500);
  timeline.advanceBy(100);
  engine.ScanSpdBtnClick(0);  // 250 ms from now
  EXPECT_EQ(scanTimer.nextTickMs(), t0 + 350);
  EXPECT_EQ(Steps(3, [&] { return timeline.nowMs() - t0; }), (std::vector<std::int64_t>{350, 600, 850}));
  engine.ScanSpdBtnClick(3);  // 2 s
  StepOnce();
  EXPECT_EQ(timeline.nowMs() - t0, 2850);
}

TEST_F(ScanEngineTest, MemoryScanVisitsEnabledUnlockedChannelsInOrder) {
  ThreeBanks();
  scratch.pad.channel(1, 3) = {0, 7000, "m7000", 1, 3, 13, 3, 150};  // each channel's whole tuning is tuned
  engine.MemScanBtnClick();
  EXPECT_EQ(std::tuple(panel[Ctl::StatusPanel].caption, panel[Ctl::MemScanBtn].pressed),
            std::tuple("Scratchpad Memory Scan", true));
  engine.ScanBtnClick();
  ASSERT_EQ(ctx.scan.ScanState, 2);
  // A fresh start shows the lowest enabled bank and presses channel 0, but
  // tunes nothing until the first tick.
  EXPECT_EQ(std::tuple(scratch.pad.CurrentBank, panel[Ctl::BankDispPanel].caption, panel[Ctl::ScpdBtn0].pressed,
                       Unsent()),
            std::tuple(1, "1", true, 0u));
  ExpectScanControlsEnabled(false);
  ExpectEnabled({Ctl::TagBtn}, false);

  // Channel 0 is passed over at first; 6000 (locked), bank 2 (disabled) and
  // 9000 (locked) never come.
  EXPECT_EQ(Channels(5), (Chans{{1, 3}, {3, 7}, {1, 0}, {1, 3}, {3, 7}}));
  EXPECT_EQ(std::tuple(state.Freq, panel[Ctl::BankDispPanel].caption, panel[Ctl::ScpdBtn7].pressed,
                       panel[Ctl::StatusPanel].caption),
            std::tuple(9500.0, "3", true, "m9500"));

  // Downward from bank 3 channel 7: back through bank 1 (wrapping 1 -> 10 and
  // skipping every disabled bank on the way).
  tuning.StepFrequencyDown();
  EXPECT_EQ(ctx.scan.ScanDirection, 1);
  EXPECT_EQ(Channels(4), (Chans{{1, 3}, {1, 0}, {3, 7}, {1, 3}}));
  EXPECT_EQ(std::tuple(state.Freq, int(state.Mode), state.FilterIndex, int(state.AGC), state.PBT),
            std::tuple(7000.0, 1, 13, 3, 150));
  ExpectLastSent(state);
}

// Without a usable channel a memory scan does not start, and a running scan
// whose channels or rows all get locked ends with a message. Which channels
// count is the scratchpad's rule; the scan only asks it.
TEST_F(ScanEngineTest, NoUsableChannelOrRowRefusesOrEndsTheScan) {
  scratch.pad.channel(1, 0) = Memory(5000, true);
  scratch.pad.setBankEnabled(1, true);
  engine.MemScanBtnClick();
  panel.press(Ctl::ScanBtn);
  engine.ScanBtnClick();
  ExpectOnlyMessage(kNoChannels);
  ExpectNotScanning(2);
  ExpectEnabled(kKindButtons, true);

  messages.clear();
  StartMemoryScan();
  StepOnce();
  for (int bank : {1, 3})
    for (int ch = 0; ch < 16; ++ch) scratch.pad.channel(bank, ch).Lockout = 1;
  const double before = state.Freq;
  timeline.advanceBy(600);
  ExpectOnlyMessage(kNoChannels);
  ExpectNotScanning(2);
  EXPECT_DOUBLE_EQ(state.Freq, before);

  messages.clear();
  StartFileScan();
  StepOnce();
  for (int record = 0; record < stations.list.RecordCount(); ++record)
    stations.list.Cell(record, FreqColumn::Lockout) = "1";
  timeline.advanceBy(600);
  ExpectOnlyMessage("You have locked out all the channels in the file!");
  ExpectNotScanning(0);
  ExpectEnabled(kFileItems, true);
}

TEST_F(ScanEngineTest, MemoryScanPausesAndResumesFromTheKeptChannel) {
  StartMemoryScan();
  Channels(2);  // (1,3), (3,7)
  engine.StopBtnClick();
  engine.MemScanBtnClick();  // choosing memory scan again does not restart it
  engine.ScanBtnClick();
  EXPECT_EQ(scratch.pad.CurrentBank, 3);
  EXPECT_EQ(Channels(1), (Chans{{1, 0}}));

  // A click on a memory button pauses there; Scan goes on after it.
  scratch.ScpdBtnMouseDown(3, ScratchpadController::MouseButton::Left);
  EXPECT_EQ(ctx.scan.ScanState, 0);
  EXPECT_DOUBLE_EQ(state.Freq, 7000);
  engine.ScanBtnClick();
  EXPECT_EQ(Channels(1), (Chans{{3, 7}}));

  // Choosing another kind, or forgetting the resume state, starts the next
  // memory scan afresh in the lowest enabled bank.
  engine.StopBtnClick();
  ChooseLimits("9400", "9420");
  engine.MemScanBtnClick();
  engine.ScanBtnClick();
  EXPECT_EQ(scratch.pad.CurrentBank, 1);
  EXPECT_EQ(Channels(1), (Chans{{1, 3}}));
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
  scratch.SelectOrToggleBank(3);
  EXPECT_EQ(std::tuple(scratch.pad.bankEnabled(2), scratch.pad.bankEnabled(3)), std::tuple(true, false));
  engine.ScanBtnClick();
  EXPECT_EQ(Channels(4), (Chans{{1, 3}, {2, 0}, {2, 9}, {1, 0}}));
}

TEST_F(ScanEngineTest, FileScanChoiceRefusalsThenTheFirstScannableRow) {
  panel.press(Ctl::FileScanBtn);
  engine.FileScanBtnClick();
  EXPECT_EQ(messages.lastMessage(), "There is no file to scan.  Please load a frequency file.");
  EXPECT_EQ(ctx.scan.ScanKind, 0);
  LoadStations({Locked("A", "5.000000"), Locked("B", "6.000000")}, "locked.320");
  ChooseLimits("9400", "9410");
  messages.clear();
  engine.FileScanBtnClick();
  ExpectOnlyMessage("There are no scannable channels in the file.");
  EXPECT_EQ(ctx.scan.ScanKind, 0);
  EXPECT_FALSE(panel[Ctl::FileScanBtn].pressed);
  LoadStations({Locked("A", "5.000000"), StationLine("B", "6.000000"), StationLine("C", "7.000000")});
  ctx.scan.ScanDirection = 1;
  settings.MemScanStarted = true;
  engine.FileScanBtnClick();
  EXPECT_EQ(std::tuple(ctx.scan.ScanKind, engine.FileScanRow, ctx.scan.ScanDirection), std::tuple(1, 2, 0));
  EXPECT_EQ(std::tuple(settings.MemScanStarted, panel[Ctl::StatusPanel].caption, panel[Ctl::FileScanBtn].pressed,
                       settings.ScanInterval),
            std::tuple(false, "File Scan", true, 500));
}

TEST_F(ScanEngineTest, FileScanStepsDownTheListSkippingLockedRowsAndWraps) {
  StartFileScan();
  ASSERT_EQ(ctx.scan.ScanState, 1);
  EXPECT_TRUE(panel[Ctl::FreqDnBtn].pressed);  // "down the list"
  ExpectEnabled(kFileItems, false);
  ExpectEnabled({Ctl::PasteItem}, false);
  ExpectScanControlsEnabled(false);
  ExpectEnabled({Ctl::TagBtn, Ctl::NowBtn}, true);
  EXPECT_EQ(Unsent(), 0u);  // nothing before the first tick
  EXPECT_EQ(RowsSeen(5), (Rows{3, 4, 5, 1, 3}));
  EXPECT_EQ(std::tuple(state.Freq, panel[Ctl::StatusPanel].caption), std::tuple(7000.0, "test.320:  Line 3"));

  tuning.StepFrequencyUp();  // up the list, towards row 1
  EXPECT_EQ(ctx.scan.ScanDirection, 1);
  EXPECT_EQ(RowsSeen(4), (Rows{1, 5, 4, 3}));
  EXPECT_EQ(link.tuningsReplaced(), 0u);

  engine.StopBtnClick();
  ExpectEnabled(kFileItems, true);
  ExpectEnabled({Ctl::PasteItem}, false);  // nothing to paste
  EXPECT_EQ(ctx.scan.ScanKind, 1);
  engine.ScanBtnClick();
  EXPECT_TRUE(panel[Ctl::FreqUpBtn].pressed);  // the kept direction is shown
  EXPECT_EQ(RowsSeen(1), (Rows{1}));
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
  EXPECT_EQ(RowsSeen(8), (Rows{3, 4, 5, 1, 3, 4, 5, 1}));
  ASSERT_TRUE(flushLine());
  // Each row reached the line, none replaced, and some ticks had to wait.
  EXPECT_EQ(std::tuple(sentUnits().size(), link.tuningsReplaced(), engine.waitedTicks() > 0), std::tuple(8u, 0u, true));
}

TEST_F(ScanEngineTest, FileScanOverTheOnAirViewWrapsAtTheRowsShown) {
  clock.setUtc(DateTime{2024, 3, 1, 12, 0, 0});
  LoadStations({StationLine("Zulu", "5.000000", "1100", "1300"),     // on
                StationLine("Off1", "6.000000", "0000", "0100"),     // off
                StationLine("Mike", "7.000000", "1200", "1201"),     // on
                Locked("Alpha", "8.000000", "0800", "1500"),         // on, locked
                StationLine("Off2", "9.000000", "1300", "1400"),     // off
                StationLine("Bravo", "10.000000", "2300", "1230")},  // on (over midnight)
               "air.320");
  stations.ToggleOnAirView();
  ASSERT_TRUE(stations.list.OnAirView);
  ASSERT_EQ(stations.list.ViewCount(), 4);  // Alpha, Bravo, Mike, Zulu by name
  engine.FileScanBtnClick();
  EXPECT_EQ(engine.FileScanRow, 2);  // row 1 (Alpha) is locked
  engine.ScanBtnClick();
  EXPECT_EQ(Frequencies(6), (Freqs{7000, 5000, 10000, 7000, 5000, 10000}));
  EXPECT_EQ(engine.FileScanRow, 2);
  tuning.StepFrequencyUp();  // up the view
  EXPECT_EQ(Frequencies(3), (Freqs{5000, 7000, 10000}));
}

TEST_F(ScanEngineTest, APressOnTheGridPausesAFileScanWhereItStands) {
  limits.RememberLimitRange(5900, 6200);
  StartFileScan();
  RowsSeen(2);  // 3, 4
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
  EXPECT_EQ(RowsSeen(2), (Rows{5, 1}));
}

TEST_F(ScanEngineTest, TheCompanionsHelloEndsTheScanAndForgetsTheKind) {
  RecordingCompanion transport;
  CommandDispatcher dispatcher(ctx, receiver, controls, tuning, meter, transport);
  engine.Attach(dispatcher);
  StartLimitScan("9400", "9420", 1000);
  StepOnce();
  dispatcher.ExecuteRemoteCommand("?");
  ExpectNotScanning(0);
  EXPECT_FALSE(panel[Ctl::LimitScanBtn].pressed);
  ExpectRanges({"9400-9420"});  // paused before it was forgotten
  EXPECT_EQ(state.StepHz, 5000);
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
  for (Ctl c : kKindButtons) EXPECT_FALSE(panel[c].pressed) << ControlName(c);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "");
}

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
  meterTimer.onTimer = nullptr;  // only the scan's own failing tick is reported here
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
