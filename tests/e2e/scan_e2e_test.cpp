// The front panel on the real serial port, send queue and Qt timers against
// the simulated receiver tool (rx320-sim over a pseudo-terminal), what the
// receiver decodes read back from the tool's log: a limit scan paced at
// 1200 baud like the real line; and the options dialog's port change, OK
// with another port chosen moving the program to a second receiver, which
// gets the whole state and from then on every volume and tuning command,
// while the first one hears nothing more.

#include <algorithm>
#include <cmath>
#include <cstdio>

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

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
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
  ASSERT_FALSE(gaps.empty());
  std::sort(gaps.begin(), gaps.end());
  const qint64 gap95 = gaps[gaps.size() * 95 / 100];
  EXPECT_GE(ratio, 0.90) << tunings << " tunings and " << queries << " meter queries in " << ranMs
                         << " ms; the line allows " << allowed;
  EXPECT_GT(r.scan->waitedTicks(), 0);
  EXPECT_LT(gap95, 100) << "the event loop stalled, at most " << gaps.back() << " ms";
  EXPECT_EQ(r.lastError, "");

  // Pausing remembered the range, with the speed it ran at.
  EXPECT_EQ(r.limits.ranges[0].Name, "5000-6000");
  EXPECT_EQ(r.limits.ranges[0].SpeedIndex, 1);
}

TEST(OptionsPortE2E, OkMovesTheProgramToTheOtherReceiver) {
  SimulatorProcess first, second;
  std::string error;
  ASSERT_TRUE(first.start(false, error)) << error;
  ASSERT_TRUE(second.start(false, error)) << error;
  QtPanel qt(first.device());
  FrontPanel& panel = qt.panel;
  ASSERT_TRUE(RunUntil([&] { return Has(first.commands(), "G 2"); }, 10000)) << first.logLines().size();

  panel.options.UsrOptions1Click();
  EXPECT_EQ(panel.options.ComPortBox, first.device());
  // Any name but COMn and SIM is a device below /dev.
  ASSERT_EQ(second.device().rfind("/dev/", 0), 0u);
  panel.options.ComPortBox = second.device().substr(5);
  ASSERT_TRUE(panel.options.OKBtnClick());
  EXPECT_EQ(panel.state.ComPortName, second.device().substr(5));
  const std::size_t firstHeard = first.commands().size();

  // The whole state: volumes, then the tuning.
  ASSERT_TRUE(RunUntil([&] { return second.commands().size() >= 6; }, 10000));
  EXPECT_EQ(Outline(second.commands()), StartupCommands());

  // From now on the listener's volume and tuning go to the new receiver.
  panel.controls.SpkrTrackbarChange(40);  // volume 53
  panel.tuning.StepFrequencyUp();         // by the 500 Hz step
  ASSERT_TRUE(RunUntil([&] { return Has(second.commands(), "M AM freq=15000.500 kHz"); }, 10000))
      << second.commands().back();
  EXPECT_TRUE(Has(second.commands(), "V level=10"));
  EXPECT_TRUE(RunUntil([&] { return second.logLines().back().rfind("X ", 0) == 0; }, 5000))
      << "the meter polls the new receiver";
  EXPECT_EQ(first.commands().size(), firstHeard);
  EXPECT_TRUE(qt.messages.questions().empty());
}

}  // namespace
}  // namespace ondaris
