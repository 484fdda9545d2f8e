// Scans end to end: the scan engine with the real serial port, send queue and
// Qt timers against the simulated receiver tool, paced at 1200 baud like the
// real line. What the receiver decodes is read back from the tool's log.

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "E2eSupport.h"
#include "freqfiles/StationGrid.h"
#include "memories/ScratchpadController.h"
#include "panel/PanelContext.h"
#include "panel/PanelModel.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTimer.h"
#include "radio/MeterController.h"
#include "radio/RadioState.h"
#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"
#include "radio/Rx320Protocol.h"
#include "radio/SerialLink.h"
#include "radio/TuningController.h"
#include "scan/LimitRanges.h"
#include "scan/LimitScanDialog.h"
#include "scan/ScanEngine.h"
#include "support/ScriptedMessageBoxes.h"

namespace ondaris {
namespace {

// The frequency of every tuning the simulator decoded so far, in whole hertz.
std::vector<long long> TunedHz(const SimulatorProcess& sim) {
  std::vector<long long> result;
  for (const std::string& line : sim.logLines()) {
    const auto at = line.find("freq=");
    double kHz = 0;
    if (StartsWith(line, "N ") && at != std::string::npos && std::sscanf(line.c_str() + at, "freq=%lf", &kHz) == 1)
      result.push_back(std::llround(kHz * 1000.0));
  }
  return result;
}

// A front panel's scan side over the real line: the controllers the scan
// engine works with, the five panel timers as Qt timers.
struct ScanRig {
  ScanRig(SerialLink& link, Clock& clock, const std::string& programDir)
      : ctx{state,
            panel,
            link,
            PanelTimers{tuningTimer, meterTimer, scanTimer, clockTimer, debounceTimer},
            clock,
            messages,
            '.',
            ScanStatus{},
            PanelFlags{},
            {},
            {},
            {},
            {}},
        scratch(ctx, receiver, controls, tuning, programDir),
        stations(ctx, receiver, controls, tuning, programDir),
        limits(ctx, controls, tuning, settings, programDir) {
    controls.setTuning(&tuning);
    ctx.reportError = [this](const std::string& text) { errors.push_back(text); };
    meterTimer.setInterval(200);
    clockTimer.onTimer = [this] { stations.ClockTick(); };
    clockTimer.setInterval(100);
    clockTimer.setEnabled(true);
    limits.ranges.fill(DefaultLimitRange());
    engine.Attach(limitDialog);
  }

  QtTimer tuningTimer, meterTimer, scanTimer, clockTimer, debounceTimer;
  ScriptedMessageBoxes messages;
  RadioState state;
  PanelModel panel;
  PanelContext ctx;
  Receiver receiver{ctx};
  ReceiverControls controls{ctx, receiver};
  TuningController tuning{ctx, receiver, controls};
  MeterController meter{ctx, receiver, controls};
  ScanSettings settings;
  ScratchpadController scratch;
  StationGrid stations;
  LimitRanges limits;
  LimitScanDialog limitDialog{ctx, settings};
  ScanEngine engine{ctx, receiver, tuning, scratch, stations, limits, settings};
  std::vector<std::string> errors;
};

class ScanE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(sim.start(true, error)) << error;
    link = std::make_unique<SerialLink>(port, clock, pump);
    link->onError = [this](const std::string& e) { linkErrors.push_back(e); };
    ASSERT_NO_THROW(link->open(sim.device()));
    rig = std::make_unique<ScanRig>(*link, clock, sim.folder().toStdString() + "/");
  }

  void TearDown() override {
    if (rig) rig->engine.StopScan();
    rig.reset();
    if (link) link->close(500);
    link.reset();
    EXPECT_TRUE(linkErrors.empty()) << linkErrors.front();
  }

  SimulatorProcess sim;
  QtSerialPort port;
  QtClock clock;
  QtTimer pump;
  std::unique_ptr<SerialLink> link;
  std::unique_ptr<ScanRig> rig;
  std::vector<std::string> linkErrors;
};

TEST_F(ScanE2E, FastestLimitScanStepsAsFastAsTheLineCarriesTunings) {
  ScanRig& r = *rig;
  r.tuning.SetTuningStep(1000);
  r.limitDialog.show = [](LimitScanDialog& dialog) {
    dialog.LoLimitEdit = "5000";
    dialog.HiLimitEdit = "6000";
    dialog.OKBtnClick();
  };
  r.limitDialog.LimitScanBtnClick();
  r.engine.ScanSpdBtnClick(0);  // "33 mS": 10 ms between steps
  ASSERT_EQ(r.settings.ScanInterval, 10);
  // The meter polls as it does from start-up on.
  r.meterTimer.setEnabled(true);
  RunFor(400);
  const std::size_t decodedBefore = TunedHz(sim).size();
  const std::uint64_t tuningsBefore = link->tuningsHandedOver();
  const std::uint64_t unitsBefore = link->unitsHandedOver();

  // Meanwhile the window's event loop must keep turning.
  std::vector<qint64> gaps;
  QElapsedTimer sinceLast;
  QTimer heartbeat;
  heartbeat.setTimerType(Qt::PreciseTimer);
  heartbeat.setInterval(20);
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    gaps.push_back(sinceLast.restart());
  });

  const int runMs = 10000;
  QElapsedTimer elapsed;
  elapsed.start();
  r.engine.ScanBtnClick();
  ASSERT_EQ(r.ctx.scan.ScanState, 3);
  sinceLast.start();
  heartbeat.start();
  RunUntil([&] { return elapsed.elapsed() >= runMs; }, runMs + 5000);
  r.engine.StopBtnClick();
  const double ranMs = static_cast<double>(elapsed.elapsed());
  heartbeat.stop();
  ASSERT_EQ(r.ctx.scan.ScanState, 0);

  const std::uint64_t tunings = link->tuningsHandedOver() - tuningsBefore;
  const std::uint64_t queries = link->unitsHandedOver() - unitsBefore - tunings;
  // The step queued when the scan paused still goes out.
  RunFor(300);
  const std::uint64_t delivered = link->tuningsHandedOver() - tuningsBefore;
  ASSERT_TRUE(RunUntil([&] { return TunedHz(sim).size() >= decodedBefore + delivered; }, 3000))
      << "the receiver decoded " << TunedHz(sim).size() - decodedBefore << " of " << delivered << " tunings";
  RunFor(300);

  // Every step reached the receiver, in order, none skipped or repeated.
  const std::vector<long long> all = TunedHz(sim);
  const std::vector<long long> seen(all.begin() + static_cast<std::ptrdiff_t>(decodedBefore), all.end());
  ASSERT_EQ(seen.size(), delivered);
  ASSERT_GE(delivered, tunings);
  ASSERT_GT(seen.size(), 10u);
  for (std::size_t i = 0; i < seen.size(); ++i)
    ASSERT_EQ(seen[i], 5000000LL + static_cast<long long>(i) * 1000) << "step " << i;
  EXPECT_EQ(link->tuningsReplaced(), 0u);

  const double queryMs = link->lineTimeMs(SignalStrengthQuery().size());
  const double allowed = (ranMs - static_cast<double>(queries) * queryMs) / link->lineTimeMs(17);
  const double ratio = static_cast<double>(tunings) / allowed;
  std::sort(gaps.begin(), gaps.end());
  const qint64 gap95 = gaps.empty() ? 0 : gaps[gaps.size() * 95 / 100];
  const qint64 gapMax = gaps.empty() ? 0 : gaps.back();
  std::printf(
      "[ pacing   ] %llu tunings (%.0f kHz to %.0f kHz) and %llu meter queries in %.0f ms; the line allows %.1f "
      "tunings: ratio %.3f; %d ticks waited; event loop gap 95%% %lld ms, max %lld ms\n",
      static_cast<unsigned long long>(tunings), seen.front() / 1000.0, seen.back() / 1000.0,
      static_cast<unsigned long long>(queries), ranMs, allowed, ratio, r.engine.waitedTicks(),
      static_cast<long long>(gap95), static_cast<long long>(gapMax));
  RecordProperty("tuning_rate_ratio", std::to_string(ratio));
  EXPECT_GE(ratio, 0.90);
  EXPECT_GT(r.engine.waitedTicks(), 0);
  EXPECT_LT(gap95, 100) << "the event loop stalled";
  EXPECT_TRUE(r.errors.empty()) << r.errors.front();

  // Pausing remembered the range, with the speed it ran at.
  EXPECT_EQ(r.limits.ranges[0].Name, "5000-6000");
  EXPECT_EQ(r.limits.ranges[0].SpeedIndex, 1);
}

ScratchpadChannel Memory(double kHz, bool locked = false) {
  ScratchpadChannel c;
  c.Frequency = kHz;
  c.Lockout = locked ? 1 : 0;
  c.Mode = 0;        // AM
  c.StepIndex = 5;   // 1 kHz
  c.FilterIndex = 0; // 8000 Hz
  c.AGC = 2;
  return c;
}

TEST_F(ScanE2E, MemoryScanVisitsTheEnabledUnlockedChannelsInOrder) {
  ScanRig& r = *rig;
  Scratchpad& pad = r.scratch.pad;
  pad.channel(1, 0) = Memory(5000);
  pad.channel(1, 1) = Memory(5100, true);
  pad.channel(1, 2) = Memory(5200);
  pad.channel(2, 0) = Memory(6000);  // bank 2 stays disabled
  pad.channel(3, 4) = Memory(7000);
  pad.channel(3, 5) = Memory(7100, true);
  pad.channel(3, 6) = Memory(7200);
  pad.setBankEnabled(1, true);
  pad.setBankEnabled(3, true);

  r.engine.MemScanBtnClick();
  r.engine.ScanSpdBtnClick(0);  // ".25S"
  const std::size_t decodedBefore = TunedHz(sim).size();
  r.engine.ScanBtnClick();
  ASSERT_EQ(r.ctx.scan.ScanState, 2);
  const int steps = 9;
  ASSERT_TRUE(RunUntil([&] { return r.engine.stepsTaken() >= steps; }, 10000));
  r.engine.StopBtnClick();
  ASSERT_TRUE(RunUntil([&] { return TunedHz(sim).size() >= decodedBefore + steps; }, 3000));
  RunFor(300);

  const std::vector<long long> all = TunedHz(sim);
  const std::vector<long long> seen(all.begin() + static_cast<std::ptrdiff_t>(decodedBefore), all.end());
  // A fresh start passes over channel 0 of the first bank once; after that
  // the enabled banks come round in order.
  const std::vector<long long> expected{5200000, 7000000, 7200000, 5000000, 5200000,
                                        7000000, 7200000, 5000000, 5200000};
  ASSERT_GE(seen.size(), expected.size());
  EXPECT_EQ(std::vector<long long>(seen.begin(), seen.begin() + static_cast<std::ptrdiff_t>(expected.size())),
            expected);
  for (long long hz : seen) {
    EXPECT_NE(hz, 5100000) << "a locked channel was tuned";
    EXPECT_NE(hz, 7100000) << "a locked channel was tuned";
    EXPECT_NE(hz, 6000000) << "a disabled bank was tuned";
  }
  EXPECT_EQ(r.engine.waitedTicks(), 0);
  EXPECT_TRUE(r.errors.empty()) << r.errors.front();
}

}  // namespace
}  // namespace ondaris
