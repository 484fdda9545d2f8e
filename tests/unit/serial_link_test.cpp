// The send queue between the panel and the 1200-baud line, on simulated time through the fake port.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "common/Errors.h"
#include "radio/RadioState.h"
#include "radio/Rx320Protocol.h"
#include "radio/SerialLink.h"
#include "support/FakeClock.h"
#include "support/FakeSerialPort.h"
#include "support/FakeTimeline.h"
#include "support/FakeTimer.h"

namespace ondaris {
namespace {

using ::testing::ElementsAre;

std::string Tuning(double freqKHz) {
  RadioState state;
  state.Freq = freqKHz;
  return state.TuningBytes();
}

std::string Volume(int volume) { return SpeakerVolumeCommand(volume, false) + LineVolumeCommand(volume, false); }

std::vector<std::string> WrittenUnits(const FakeSerialPort& port) {
  std::vector<std::string> units;
  for (const auto& w : port.writes()) units.push_back(w.bytes);
  return units;
}

// The message of the SerialError that `act` throws.
template <typename Act>
std::string SerialErrorOf(Act act) {
  try {
    act();
  } catch (const SerialError& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

class SerialLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    link.onError = [this](const std::string& e) { errors.push_back(e); };
    link.open("COM1");
  }
  void settle() { timeline.advanceBy(3000); }

  FakeTimeline timeline;
  FakeClock clock{timeline};
  FakeSerialPort port{&timeline};
  FakeTimer pump{timeline, "pump"};
  SerialLink link{port, clock, pump};
  std::vector<std::string> errors;
};

TEST_F(SerialLinkTest, AnIdleLineTakesTheExactBytesOfAUnitAtOnce) {
  EXPECT_EQ(std::tuple(link.isOpen(), link.portName()), std::tuple(true, "COM1"));
  EXPECT_THAT(port.openedDevices(), ElementsAre("/dev/ttyS0"));
  EXPECT_NEAR(link.lineTimeMs(1), 8.3333, 1e-3);  // ten bits a byte
  EXPECT_NEAR(link.lineTimeMs(17), 141.6667, 1e-3);
  link.send(UnitKind::Tuning, Tuning(10000));
  ASSERT_EQ(port.writes().size(), 1u);
  EXPECT_EQ(std::tuple(port.writes()[0].bytes, port.writes()[0].atMs), std::tuple(Tuning(10000), std::int64_t{0}));
  EXPECT_EQ(std::tuple(link.tuningPending(), link.queuedUnits(), pump.armed()), std::tuple(false, 0u, false));
}

TEST_F(SerialLinkTest, UnitsLeaveWholeAndInOrder) {
  const std::vector<std::string> units = {Tuning(10000), Volume(40), SignalStrengthQuery(), ExitMuteCommand(),
                                          std::string("\x00\x0D", 2)};
  link.send(UnitKind::Tuning, units[0]);
  link.send(UnitKind::Volume, units[1]);
  link.send(UnitKind::MeterQuery, units[2]);
  link.send(UnitKind::Other, units[3]);
  link.send(UnitKind::Other, units[4]);
  EXPECT_EQ(link.queuedUnits(), 4u);
  settle();
  EXPECT_EQ(WrittenUnits(port), units);
  // Each unit waits until the one before has nearly left the line.
  const auto& w = port.writes();
  for (std::size_t i = 1; i < w.size(); ++i) {
    const double previousEnds = w[i - 1].atMs + link.lineTimeMs(w[i - 1].bytes.size());
    EXPECT_GE(w[i].atMs, previousEnds - SerialLink::HandOverBacklogMs) << "unit " << i;
    EXPECT_LE(w[i].atMs, previousEnds + 1) << "the line idled before unit " << i;
  }
  EXPECT_EQ(std::tuple(link.unitsHandedOver(), pump.armed()), std::tuple(std::uint64_t{5}, false));
}

// A waiting tuning or volume is replaced by a newer one (which then goes
// behind what was sent in between); a meter query waits only once; other
// commands are never merged.
TEST_F(SerialLinkTest, WaitingUnitsAreReplacedByNewerOnesOfTheirKind) {
  const std::string query = SignalStrengthQuery();
  const struct {
    std::vector<std::pair<UnitKind, std::string>> sends;
    std::vector<std::string> written;
  } cases[] = {
      {{{UnitKind::Tuning, Tuning(10000)}, {UnitKind::Tuning, Tuning(10001)}, {UnitKind::Tuning, Tuning(10002)}},
       {Tuning(10000), Tuning(10002)}},
      {{{UnitKind::Tuning, Tuning(10000)}, {UnitKind::Tuning, Tuning(10001)}, {UnitKind::Volume, Volume(30)},
        {UnitKind::Tuning, Tuning(10002)}},
       {Tuning(10000), Volume(30), Tuning(10002)}},
      {{{UnitKind::Volume, Volume(20)}, {UnitKind::Volume, Volume(21)}, {UnitKind::Tuning, Tuning(9000)},
        {UnitKind::Volume, Volume(22)}},
       {Volume(20), Tuning(9000), Volume(22)}},
      {{{UnitKind::Tuning, Tuning(10000)}, {UnitKind::MeterQuery, query}, {UnitKind::MeterQuery, query},
        {UnitKind::MeterQuery, query}},
       {Tuning(10000), query}},
      {{{UnitKind::Tuning, Tuning(10000)}, {UnitKind::Other, ExitMuteCommand()}, {UnitKind::Other, ExitMuteCommand()}},
       {Tuning(10000), ExitMuteCommand(), ExitMuteCommand()}},
  };
  for (const auto& c : cases) {
    port.clearWrites();
    for (const auto& [kind, bytes] : c.sends) link.send(kind, bytes);
    EXPECT_EQ(link.queuedUnits(), c.written.size() - 1);
    settle();
    EXPECT_EQ(WrittenUnits(port), c.written);
    EXPECT_FALSE(link.tuningPending() || link.meterQueryPending());
  }
  EXPECT_EQ(std::tuple(link.tuningsReplaced(), link.volumesReplaced(), link.queriesDropped()), std::tuple(2u, 1u, 2u));
  link.send(UnitKind::MeterQuery, query);  // the line is free again
  EXPECT_EQ(port.writes().back().bytes, query);
}

TEST_F(SerialLinkTest, FastTuningKeepsTheLineBusyAndEndsOnTheNewest) {
  // A fast scan: a new tuning every 10 ms for 10 s, far more than the line
  // carries, with the meter polled every 200 ms.
  std::string newest;
  int sent = 0;
  std::size_t mostQueued = 0;
  for (int t = 0; t < 10000; t += 10) {
    timeline.advanceTo(t);
    newest = Tuning(5000 + t / 10);
    link.send(UnitKind::Tuning, newest);
    ++sent;
    if (t % 200 == 0) link.send(UnitKind::MeterQuery, SignalStrengthQuery());
    mostQueued = std::max(mostQueued, link.queuedUnits());
  }
  const std::int64_t lastSend = timeline.nowMs();
  timeline.advanceBy(2000);

  int tunings = 0;
  int queries = 0;
  std::int64_t newestAt = -1;
  for (const auto& w : port.writes()) {
    if (w.bytes == SignalStrengthQuery()) {
      ++queries;
    } else {
      ASSERT_EQ(w.bytes.size(), 17u);
      ++tunings;
    }
    if (w.bytes == newest) newestAt = w.atMs;
  }
  EXPECT_EQ(port.writes().back().bytes, newest);
  // The newest tuning starts to leave at most one unit after it was given.
  EXPECT_LE(newestAt - lastSend, link.lineTimeMs(17) + SerialLink::HandOverBacklogMs + 1);
  // The line is never idle while work waits: tunings and queries fill it.
  const double capacityBytes = 10000.0 / link.lineTimeMs(1);
  const double usedBytes = tunings * 17.0 + queries * 2.0;
  EXPECT_GE(usedBytes, 0.9 * capacityBytes);
  EXPECT_LE(usedBytes, capacityBytes + 40);
  EXPECT_EQ(std::tuple(link.tuningsHandedOver(), link.tuningsReplaced()),
            std::tuple(std::uint64_t(tunings), std::uint64_t(sent - tunings)));
  EXPECT_LE(mostQueued, 2u);  // one tuning and one query at most
  EXPECT_LE(port.maxLineBacklogAtWrite(), 2u);
}

TEST_F(SerialLinkTest, PacingHoldsWhenTheSystemCannotTellItsQueue) {
  port.setReportsLineQueue(false);
  for (int i = 0; i < 5; ++i) link.send(UnitKind::Other, ExitMuteCommand());
  settle();
  ASSERT_EQ(port.writes().size(), 5u);
  EXPECT_LE(port.maxLineBacklogAtWrite(), 2u);
}

TEST_F(SerialLinkTest, WaitsWhileTheSystemReportsABacklog) {
  port.setExtraQueued(60);  // a far end that reads slowly
  link.send(UnitKind::Tuning, Tuning(10000));
  EXPECT_TRUE(port.writes().empty() && link.tuningPending());
  timeline.scheduleAt(300, [this] { port.setExtraQueued(0); });
  settle();
  ASSERT_EQ(port.writes().size(), 1u);
  EXPECT_GE(port.writes()[0].atMs, 300);
}

TEST_F(SerialLinkTest, ReceivedBytesArePassedOnAsTheyComeOrDropped) {
  port.receive("abc");  // nobody listens
  EXPECT_EQ(port.readAvailable(), "");
  std::vector<std::string> chunks;
  link.onReceived = [&](const std::string& c) { chunks.push_back(c); };
  port.receive(std::string("X\x12", 2));
  port.receive(std::string("\x34\x0D", 2));
  EXPECT_THAT(chunks, ElementsAre(std::string("X\x12", 2), std::string("\x34\x0D", 2)));
}

TEST_F(SerialLinkTest, OpenFailureThrowsTheMessageAndSendsRetry) {
  link.close();
  for (const char* reason : {"", "Unable to open com port (No such file or directory)"}) {
    port.failOpenWith(reason);
    EXPECT_EQ(SerialErrorOf([&] { link.open("ttyUSB0"); }),
              *reason ? reason : "Unable to open com port");  // never without saying what
  }
  EXPECT_EQ(std::tuple(link.isOpen(), link.portName()), std::tuple(false, std::string("ttyUSB0")));
  EXPECT_THROW(link.send(UnitKind::Tuning, Tuning(10000)), SerialError);
  EXPECT_EQ(std::tuple(link.queuedUnits(), port.openAttempts()), std::tuple(0u, 4));  // COM1 and three failures

  port.allowOpen();
  link.send(UnitKind::Tuning, Tuning(10000));
  EXPECT_EQ(std::tuple(link.isOpen(), port.writes().back().bytes), std::tuple(true, Tuning(10000)));
  EXPECT_THAT(port.openedDevices(), ElementsAre("/dev/ttyS0", "/dev/ttyUSB0"));
}

TEST_F(SerialLinkTest, OpeningAnotherPortClosesTheFirstTheSamePortNothing) {
  link.open("COM1");
  EXPECT_EQ(std::tuple(port.openAttempts(), port.closeCount()), std::tuple(1, 0));
  link.send(UnitKind::Tuning, Tuning(10000));
  link.send(UnitKind::Tuning, Tuning(10001));
  link.open("ttyUSB1");
  EXPECT_EQ(std::tuple(port.closeCount(), port.drainTimeouts().size(), link.portName()), std::tuple(1, 1u, "ttyUSB1"));
  EXPECT_THAT(port.openedDevices(), ElementsAre("/dev/ttyS0", "/dev/ttyUSB1"));
  // What was queued went to the old port before it closed.
  EXPECT_THAT(WrittenUnits(port), ElementsAre(Tuning(10000), Tuning(10001)));
}

TEST_F(SerialLinkTest, CloseHandsOverTheQueueAndDrains) {
  link.send(UnitKind::Tuning, Tuning(10000));
  link.send(UnitKind::Tuning, Tuning(10001));
  link.send(UnitKind::MeterQuery, SignalStrengthQuery());
  link.send(UnitKind::Other, ExitMuteCommand());
  link.close(1500);
  EXPECT_EQ(std::tuple(link.isOpen(), pump.armed(), link.queuedUnits()), std::tuple(false, false, 0u));
  EXPECT_THAT(WrittenUnits(port), ElementsAre(Tuning(10000), Tuning(10001), SignalStrengthQuery(), ExitMuteCommand()));
  EXPECT_EQ(std::tuple(port.drainTimeouts(), port.closeCount()), std::tuple(std::vector<int>{1500}, 1));
  link.close();  // closing a closed link does nothing more
  link.send(UnitKind::Volume, Volume(30));  // a send opens it again
  EXPECT_EQ(std::tuple(port.drainTimeouts().size(), link.isOpen(), port.openCount()), std::tuple(1u, true, 2));
  settle();
  EXPECT_EQ(port.writes().back().bytes, Volume(30));
}

TEST_F(SerialLinkTest, WriteFailureThrowsFromSendOrGoesToTheErrorHandlerLater) {
  const std::string failure = "WriteFile function failed (Input/output error)";
  port.failWritesWith(failure);
  EXPECT_EQ(SerialErrorOf([&] { link.send(UnitKind::Tuning, Tuning(10000)); }), failure);
  EXPECT_EQ(std::tuple(link.isOpen(), link.queuedUnits(), errors.empty()), std::tuple(false, 0u, true));

  port.allowWrites();
  link.send(UnitKind::Tuning, Tuning(10001));  // reopens
  link.send(UnitKind::Tuning, Tuning(10002));
  link.send(UnitKind::Volume, Volume(30));
  EXPECT_EQ(port.openCount(), 2);
  port.failWritesWith(failure);
  timeline.advanceBy(500);
  EXPECT_THAT(errors, ElementsAre(failure));
  EXPECT_EQ(std::tuple(link.isOpen(), link.queuedUnits(), link.tuningPending(), pump.armed()),
            std::tuple(false, 0u, false, false));
  EXPECT_EQ(port.failedWrites(), 2);  // one for each failure
}

TEST_F(SerialLinkTest, PortFailureClosesAndTheNextSendReopens) {
  link.send(UnitKind::Tuning, Tuning(10000));
  link.send(UnitKind::Tuning, Tuning(10001));
  port.failLater("ReadFile function failed (Input/output error)");
  EXPECT_THAT(errors, ElementsAre("ReadFile function failed (Input/output error)"));
  EXPECT_EQ(std::tuple(link.isOpen(), link.queuedUnits()), std::tuple(false, 0u));
  timeline.advanceBy(1000);  // the waiting tuning is gone
  link.send(UnitKind::Tuning, Tuning(10002));
  EXPECT_EQ(std::tuple(port.writes().size(), link.isOpen(), port.openCount(), port.writes().back().bytes),
            std::tuple(2u, true, 2, Tuning(10002)));
}

TEST(SerialLink, ReleasesThePortAndTimerWhenDestroyed) {
  FakeTimeline timeline;
  FakeClock clock{timeline};
  FakeSerialPort port{&timeline};
  FakeTimer pump{timeline};
  {
    SerialLink link{port, clock, pump};
    link.open("COM1");
    link.send(UnitKind::Tuning, Tuning(10000));
    link.send(UnitKind::Tuning, Tuning(10001));
    ASSERT_TRUE(pump.armed());
  }
  EXPECT_FALSE(pump.armed() || pump.onTimer || port.onBytesReceived || port.onError);
  port.receive("X");  // nobody listens any more; nothing breaks
  timeline.advanceBy(1000);
  EXPECT_EQ(port.writes().size(), 1u);
}

TEST(SerialLink, MapsTheListenersNameToADevice) {
  const std::pair<const char*, const char*> cases[] = {
      {"COM1", "/dev/ttyS0"},        {"COM12", "/dev/ttyS11"},     {"SIM", "SIM"},      {"/dev/pts/7", "/dev/pts/7"},
      {"ttyUSB0", "/dev/ttyUSB0"},   {"COMX", "/dev/COMX"},        {"COM0", "/dev/COM0"}};
  for (const auto& [name, device] : cases) EXPECT_EQ(SerialDevicePath(name), device) << name;
}

}  // namespace
}  // namespace ondaris
