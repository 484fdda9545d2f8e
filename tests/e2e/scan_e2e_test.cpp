// A limit scan end to end: the front panel's scan engine on the real serial
// port, send queue and Qt timers against the simulated receiver tool, paced
// at 1200 baud like the real line. What the receiver decodes is read back
// from the tool's log.

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "E2ePanel.h"
#include "E2eSupport.h"

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

TEST(ScanE2E, FastestLimitScanStepsAsFastAsTheLineCarriesTunings) {
  SimulatorProcess sim;
  std::string error;
  ASSERT_TRUE(sim.start(true, error)) << error;
  // Start-up leaves the meter polling, as it does from then on.
  QtPanel qt(sim.device());
  FrontPanel& r = qt.panel;
  SerialLink& link = r.link();
  r.tuning.SetTuningStep(1000);
  r.limitDialog.show = [](LimitScanDialog& dialog) {
    dialog.LoLimitEdit = "5000";
    dialog.HiLimitEdit = "6000";
    dialog.OKBtnClick();
  };
  r.limitDialog.LimitScanBtnClick();
  r.scan->ScanSpdBtnClick(0);  // "33 mS": 10 ms between steps
  ASSERT_EQ(r.scanSettings.ScanInterval, 10);
  RunFor(400);
  const std::size_t decodedBefore = TunedHz(sim).size();
  const std::uint64_t tuningsBefore = link.tuningsHandedOver();
  const std::uint64_t unitsBefore = link.unitsHandedOver();

  // Meanwhile the window's event loop must keep turning.
  std::vector<qint64> gaps;
  QElapsedTimer sinceLast;
  QTimer heartbeat;
  heartbeat.setTimerType(Qt::PreciseTimer);
  heartbeat.setInterval(20);
  QObject::connect(&heartbeat, &QTimer::timeout, [&] { gaps.push_back(sinceLast.restart()); });

  const int runMs = 10000;
  QElapsedTimer elapsed;
  elapsed.start();
  r.scan->ScanBtnClick();
  ASSERT_EQ(r.context.scan.ScanState, 3);
  sinceLast.start();
  heartbeat.start();
  RunUntil([&] { return elapsed.elapsed() >= runMs; }, runMs + 5000);
  r.scan->StopBtnClick();
  const double ranMs = static_cast<double>(elapsed.elapsed());
  heartbeat.stop();
  ASSERT_EQ(r.context.scan.ScanState, 0);

  const std::uint64_t tunings = link.tuningsHandedOver() - tuningsBefore;
  const std::uint64_t queries = link.unitsHandedOver() - unitsBefore - tunings;
  // The step queued when the scan paused still goes out.
  RunFor(300);
  const std::uint64_t delivered = link.tuningsHandedOver() - tuningsBefore;
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
  EXPECT_EQ(link.tuningsReplaced(), 0u);

  const double queryMs = link.lineTimeMs(SignalStrengthQuery().size());
  const double allowed = (ranMs - static_cast<double>(queries) * queryMs) / link.lineTimeMs(17);
  const double ratio = static_cast<double>(tunings) / allowed;
  std::sort(gaps.begin(), gaps.end());
  const qint64 gap95 = gaps.empty() ? 0 : gaps[gaps.size() * 95 / 100];
  std::printf(
      "[ pacing   ] %llu tunings (%.0f kHz to %.0f kHz) and %llu meter queries in %.0f ms; the line allows %.1f "
      "tunings: ratio %.3f; %d ticks waited; event loop gap 95%% %lld ms, max %lld ms\n",
      static_cast<unsigned long long>(tunings), seen.front() / 1000.0, seen.back() / 1000.0,
      static_cast<unsigned long long>(queries), ranMs, allowed, ratio, r.scan->waitedTicks(),
      static_cast<long long>(gap95), static_cast<long long>(gaps.empty() ? 0 : gaps.back()));
  RecordProperty("tuning_rate_ratio", std::to_string(ratio));
  EXPECT_GE(ratio, 0.90);
  EXPECT_GT(r.scan->waitedTicks(), 0);
  EXPECT_LT(gap95, 100) << "the event loop stalled";
  EXPECT_EQ(r.lastError, "");

  // Pausing remembered the range, with the speed it ran at.
  EXPECT_EQ(r.limits.ranges[0].Name, "5000-6000");
  EXPECT_EQ(r.limits.ranges[0].SpeedIndex, 1);
}

}  // namespace
}  // namespace ondaris
