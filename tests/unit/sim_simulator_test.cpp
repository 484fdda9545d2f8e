// The simulated receiver: every command decoded, the tuned frequency
// recovered from the tuning words to the hertz, any chunking, finding its
// way back after bad bytes, the signal-strength reply; behind a
// pseudo-terminal, raw bytes both ways, the 1200-baud pacing against an
// explicit clock, clients that come and go; its strength model (broadcast
// bands, stations, filters, seeds) and the station list it reads.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "radio/Rx320Protocol.h"
#include "sim/Rx320Simulator.h"
#include "sim/SimulatorPty.h"
#include "sim/StrengthModel.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

using Strings = std::vector<std::string>;

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

// A simulator whose log lines are collected.
struct Harness {
  Rx320Simulator sim{7};
  Strings lines;
  Harness() {
    sim.setLogSink([this](const std::string& line) { lines.push_back(line); });
  }
  std::string feed(const std::string& bytes) { return sim.feed(bytes); }
};

// filter code, bandwidth, mode, AGC, speaker level and mute, line level and mute, tuned, Hz, PBT.
std::vector<long long> Summary(const SimulatedReceiverState& s) {
  return {s.filterCode, s.bandwidthHz, s.mode, s.agc, s.speakerLevel, s.speakerMuted, s.lineLevel, s.lineMuted,
          s.tuned, s.frequencyHz, s.pbtHz};
}

const std::string GoodTune = Bytes({0x4E, 0x55, 0xEF, 0x1A, 0xA8, 0x77, 0x70, 0x0D});  // 10 MHz in AM

TEST(SimCommands, EveryCommandIsDecodedAndLogged) {
  const struct {
    std::string bytes;
    const char* line;
    std::vector<long long> state;
  } cases[] = {
      {FilterCommand(0), "W code=0 bw=6000", {0, 6000, 0, 2, 31, 0, 31, 0, 0, 0, 0}},
      {Bytes({0x57, 0x0D, 0x0D}), "W code=13 bw=2550", {13, 2550, 0, 2, 31, 0, 31, 0, 0, 0, 0}},
      {Bytes({0x57, 29, 0x0D}), "W code=29 bw=450", {29, 450, 0, 2, 31, 0, 31, 0, 0, 0, 0}},  // not the program's
      {ModeCommand(1), "M USB", {0, 6000, 1, 2, 31, 0, 31, 0, 0, 0, 0}},
      {ModeCommand(3), "M CW", {0, 6000, 3, 2, 31, 0, 31, 0, 0, 0, 0}},
      {AgcCommand(1), "G 1", {0, 6000, 0, 1, 31, 0, 31, 0, 0, 0, 0}},
      {SpeakerVolumeCommand(13, false), "V level=50", {0, 6000, 0, 2, 50, 0, 31, 0, 0, 0, 0}},
      {SpeakerVolumeCommand(40, true), "V level=63 mute", {0, 6000, 0, 2, 63, 1, 31, 0, 0, 0, 0}},
      {LineVolumeCommand(30, false), "A level=33", {0, 6000, 0, 2, 31, 0, 33, 0, 0, 0, 0}},
      {LineVolumeCommand(30, true), "A level=63 mute", {0, 6000, 0, 2, 31, 0, 63, 1, 0, 0, 0}},
      {ExitMuteCommand(), "C mute", {0, 6000, 0, 2, 63, 1, 63, 1, 0, 0, 0}},
      {Bytes({0x43, 0x7F, 0x1F, 0x0D}), "C level=31", {0, 6000, 0, 2, 31, 0, 31, 0, 0, 0, 0}},
      {Bytes({0x43, 0x7F, 0x3F, 0x0D}), "C level=63 mute", {0, 6000, 0, 2, 63, 1, 63, 1, 0, 0, 0}},
      {GoodTune, "N coarse=21999 fine=6824 bfo=30576 freq=10000.000 kHz",
       {0, 6000, 0, 2, 31, 0, 31, 0, 1, 10000000, 0}},
  };
  for (const auto& c : cases) {
    Harness h;
    EXPECT_EQ(h.feed(c.bytes), "");
    EXPECT_EQ(h.lines, Strings{c.line});
    EXPECT_EQ(Summary(h.sim.state()), c.state) << c.line;
    EXPECT_EQ(h.sim.commandsDecoded(), 1u);
    EXPECT_EQ(h.sim.bytesSkipped() + h.sim.bytesPending(), 0u);
  }
  for (const FilterInfo& filter : FilterTable) {
    Harness h;
    h.feed(FilterCommand(filter.code));
    EXPECT_EQ(h.sim.state().bandwidthHz, filter.bandwidthHz) << "code " << int(filter.code);
    EXPECT_EQ(SimulatedFilterBandwidth(filter.code), filter.bandwidthHz);
  }
  EXPECT_EQ(SimulatedFilterBandwidth(34), -1);

  // Arguments outside their range are skipped, and the next good command reports them.
  Harness h;
  h.feed(Bytes({0x57, 34, 0x0D, 0x4D, '4', 0x0D, 0x47, '0', 0x0D, 0x56, 0x00, 0x10, 0x0D, 0x41, 0x7F, 64, 0x0D}));
  EXPECT_EQ(h.sim.commandsDecoded(), 0u);
  EXPECT_EQ(Summary(h.sim.state()), Summary(SimulatedReceiverState{}));
  h.feed(AgcCommand(3));
  ASSERT_EQ(h.lines.size(), 2u);
  EXPECT_EQ(h.lines[0].rfind("? skipped 17 bytes: 57 22 0D 4D 34", 0), 0u) << h.lines[0];
  EXPECT_EQ(h.lines[1], "G 3");
}

// ---- Tuning words back to the frequency ----------------------------------

TEST(SimTuning, ModeAfterTheWordsRederivesTheFrequency) {
  Harness h;
  TuningInput usb{.freqKHz = 10000.0, .mode = 1, .bandwidthHz = 2550};
  // The words for USB arrive while the receiver is still in AM.
  h.feed(FilterCommand(13) + TuneCommand(ComputeTuningWords(usb)));
  ASSERT_EQ(h.lines.size(), 2u);
  EXPECT_EQ(h.lines[1], "N coarse=22000 fine=1228 bfo=25866 freq=10001.475 kHz");
  h.feed(ModeCommand(1));
  EXPECT_EQ(h.lines.back(), "M USB freq=10000.000 kHz");
  EXPECT_EQ(h.sim.state().frequencyHz, 10000000);
  // A wider filter does not move the frequency (H + PBT comes from the BFO
  // word) but shows up as a different PBT.
  h.feed(FilterCommand(0x21));
  EXPECT_EQ(h.sim.state().frequencyHz, 10000000);
  EXPECT_EQ(h.sim.state().pbtHz, 1475 - 4200);
  EXPECT_EQ(h.sim.state().passbandOffsetHz, 1475);
}

TEST(SimTuning, PassbandOffsetComesBackFromEveryBfoWord) {
  // Every X the program can produce: H 350..4200 plus PBT -2000..2000, and
  // CW offsets; the floating-point product must not shift the result.
  for (int x = -3000; x <= 8000; ++x) {
    const int bfo = static_cast<int>(static_cast<long double>(x + 8000) * 2.73L);
    ASSERT_EQ(PassbandOffsetFromBfo(bfo), x) << "bfo " << bfo;
    const int bfoDouble = static_cast<int>(static_cast<double>(x + 8000) * 2.73);
    ASSERT_EQ(PassbandOffsetFromBfo(bfoDouble), x) << "double bfo " << bfoDouble;
  }
}

TEST(SimTuning, RoundTripsThroughTheProgramsTuningWords) {
  auto roundTrip = [](double freqKHz, int mode, int filterIndex, int pbt, int cwTone = 700, bool dataBfo = false) {
    Harness h;
    h.sim.setCwToneHz(cwTone);
    const FilterInfo& filter = FilterTable[filterIndex];
    const TuningInput input{.freqKHz = freqKHz, .mode = mode, .bandwidthHz = filter.bandwidthHz, .pbtHz = pbt,
                            .cwToneHz = dataBfo ? 700 : cwTone, .dataBfoActive = dataBfo, .dataBfoHz = cwTone};
    h.feed(TuningTransmission(input, filter.code, 2));
    ASSERT_EQ(Summary(h.sim.state()),
              (std::vector<long long>{filter.code, filter.bandwidthHz, mode, 2, 31, 0, 31, 0, 1,
                                      std::llround(freqKHz * 1000.0), pbt}))
        << freqKHz << " kHz mode " << mode << " filter " << filterIndex << " pbt " << pbt << " cw " << cwTone;
    ASSERT_EQ(h.sim.commandsDecoded(), 4u);
  };
  const struct {
    double kHz;
    int mode, filterIndex, pbt;
  } cases[] = {{100.0, 0, 1, 0},      {100.001, 1, 13, 0},    {999.999, 2, 14, -2000}, {5000.0, 0, 23, 2000},
               {9575.0, 3, 22, -350}, {29999.999, 1, 10, -50}, {30000.0, 3, 0, 2000}};
  for (const auto& c : cases) {
    roundTrip(c.kHz, c.mode, c.filterIndex, c.pbt);
    if (HasFatalFailure()) return;
  }
  std::mt19937 rng(320);
  auto pick = [&](int low, int high) { return low + static_cast<int>(rng() % static_cast<unsigned>(high - low + 1)); };
  for (int i = 0; i < 6000 && !HasFatalFailure(); ++i) {
    const double kHz = pick(100000, 30000000) / 1000.0;
    const int mode = pick(0, 3), filterIndex = pick(0, FilterCount - 1);
    const int pbt = (i % 2 == 0) ? pick(-40, 40) * 50 : pick(-2000, 2000);
    roundTrip(kHz, mode, filterIndex, pbt, (i % 3 == 0) ? pick(300, 1500) : 700, i % 7 == 0);
  }
}

// ---- Chunking ------------------------------------------------------------

TEST(SimChunking, AnyChunkingGivesTheSameResult) {
  const TuningInput a{.freqKHz = 9580.0, .mode = 0, .bandwidthHz = 5100};
  const TuningInput b{.freqKHz = 7000.5, .mode = 2, .bandwidthHz = 2400, .pbtHz = 100};
  const TuningInput c{.freqKHz = 9575.0, .mode = 3, .bandwidthHz = 300};
  const std::string session = TuningTransmission(a, 3, 2) + SignalStrengthQuery() + SpeakerVolumeCommand(40, false) +
                              LineVolumeCommand(50, true) + TuningTransmission(b, 14, 1) + SignalStrengthQuery() +
                              SignalStrengthQuery() + TuningTransmission(c, 32, 3) + ExitMuteCommand() +
                              SignalStrengthQuery();
  Harness whole;
  const std::string wholeReplies = whole.feed(session);
  ASSERT_EQ(whole.sim.commandsDecoded(), 19u);
  ASSERT_EQ(whole.sim.bytesSkipped(), 0u);
  EXPECT_EQ(whole.sim.queriesAnswered(), 4u);
  EXPECT_EQ(wholeReplies.size(), 16u);
  EXPECT_EQ(whole.sim.state().frequencyHz, 9575000);
  EXPECT_TRUE(whole.sim.state().speakerMuted);

  std::mt19937 rng(5);
  for (int round = 0; round < 51; ++round) {  // round 0 byte by byte
    Harness chunked;
    std::string replies;
    for (std::size_t pos = 0; pos < session.size();) {
      const std::size_t n = round == 0 ? 1 : 1 + rng() % 12;
      replies += chunked.feed(session.substr(pos, n));
      pos += n;
      if (round == 0 && pos == 3 + 7) {
        EXPECT_EQ(chunked.sim.bytesPending(), 7u);  // waits for the rest of the tuning words
        EXPECT_EQ(chunked.lines.size(), 1u);
      }
    }
    ASSERT_EQ(replies, wholeReplies);
    ASSERT_EQ(chunked.lines, whole.lines);
  }
}

// ---- Finding the way back ------------------------------------------------

// The decoded commands without the derived frequency, which depends on the
// mode in force, and without the skip reports.
Strings Commands(const Strings& lines) {
  Strings commands;
  for (const std::string& line : lines)
    if (line.rfind("? ", 0) != 0) commands.push_back(line.substr(0, line.find(" freq=")));
  return commands;
}

TEST(SimResync, DamageLosesAtMostTheDamagedCommand) {
  const std::string tuneLine = "N coarse=21999 fine=6824 bfo=30576";
  const struct {
    std::string bytes;
    Strings commands;
  } cases[] = {
      {"ZZ\xFF\x0A" + SignalStrengthQuery() + ModeCommand(1), {"X strength=1234", "M USB"}},
      {ModeCommand(1) + "\x01\x02\x0D\x0D" + AgcCommand(3), {"M USB", "G 3"}},
      {FilterCommand(0) + GoodTune.substr(0, 7) + "\x0E" + ModeCommand(0) + AgcCommand(2),  // CR damaged
       {"W code=0 bw=6000", "M AM", "G 2"}},
      {FilterCommand(0) + "\xCE" + GoodTune.substr(1) + ModeCommand(0) + AgcCommand(2),  // letter damaged
       {"W code=0 bw=6000", "M AM", "G 2"}},
      {FilterCommand(0) + GoodTune.substr(0, 3) + GoodTune.substr(4) + ModeCommand(2), {"W code=0 bw=6000", "M LSB"}},
      {FilterCommand(0) + GoodTune.substr(0, 3) + "\x4D" + GoodTune.substr(3) + ModeCommand(2),
       {"W code=0 bw=6000", "M LSB"}},
      {std::string("W") + FilterCommand(14) + GoodTune, {"W code=14 bw=2400", tuneLine}},  // a zero-byte writer's cut
      {"\x0D\x0D" + GoodTune + "\x0D" + SignalStrengthQuery(), {tuneLine, "X strength=1234"}},
      {Bytes({0x56, 0x7E, 0x10, 0x0D}) + SpeakerVolumeCommand(30, false), {"V level=33"}},
  };
  for (const auto& c : cases) {
    Harness h;
    h.sim.setStrengthOverride(1234);
    h.feed(c.bytes);
    EXPECT_EQ(Commands(h.lines), c.commands) << c.bytes.size() << " bytes";
    EXPECT_GT(h.sim.bytesSkipped(), 0u);
  }
  Harness h;
  h.feed("ab" + SignalStrengthQuery());
  EXPECT_EQ(h.lines[0], "? skipped 2 bytes: 61 62");
}

// One damaged byte anywhere in a long session: every other command still
// arrives, in order. A damaged byte can make a stray command appear inside
// the damaged one (a payload byte that reads as "X" followed by a CR), so
// only the loss of others is counted; it needs an unlucky pair of payload
// bytes and stays rare.
TEST(SimResync, SingleDamagedByteCostsOnlyItsCommand) {
  std::mt19937 rng(99);
  Strings commands;
  for (int i = 0; i < 400; ++i) {
    switch (rng() % 6) {
      case 0: commands.push_back(FilterCommand(FilterTable[rng() % FilterCount].code)); break;
      case 1: {
        TuningInput in{.freqKHz = (100000 + rng() % 29900000) / 1000.0, .mode = static_cast<int>(rng() % 3),
                       .bandwidthHz = FilterTable[rng() % FilterCount].bandwidthHz,
                       .pbtHz = static_cast<int>(rng() % 81) * 50 - 2000};
        commands.push_back(TuneCommand(ComputeTuningWords(in)));
        break;
      }
      case 2: commands.push_back(ModeCommand(static_cast<int>(rng() % 4))); break;
      case 3: commands.push_back(AgcCommand(1 + static_cast<int>(rng() % 3))); break;
      case 4: commands.push_back(SpeakerVolumeCommand(13 + static_cast<int>(rng() % 51), rng() % 4 == 0)); break;
      default: commands.push_back(SignalStrengthQuery()); break;
    }
  }
  auto decode = [](const std::string& bytes) {
    Harness h;
    h.sim.setStrengthOverride(500);
    h.feed(bytes);
    return Commands(h.lines);
  };
  std::string session;
  std::vector<std::size_t> starts;
  for (const std::string& c : commands) {
    starts.push_back(session.size());
    session += c;
  }
  const Strings clean = decode(session);
  ASSERT_EQ(clean.size(), commands.size());
  const int trials = 1500;
  int lostOthers = 0;
  for (int t = 0; t < trials; ++t) {
    const std::size_t victim = rng() % commands.size();
    std::string damaged = session;
    const std::size_t at = starts[victim] + rng() % commands[victim].size();
    switch (t % 3) {
      case 0: damaged[at] = static_cast<char>(damaged[at] ^ (1 + rng() % 255)); break;  // changed
      case 1: damaged.erase(at, 1); break;                                                 // lost
      default: damaged.insert(at, 1, static_cast<char>(rng() % 256)); break;             // extra
    }
    Strings expected = clean;
    expected.erase(expected.begin() + static_cast<long>(victim));
    // `expected` must be a subsequence of what was decoded.
    std::size_t matched = 0;
    for (const std::string& line : decode(damaged))
      if (matched < expected.size() && line == expected[matched]) ++matched;
    if (matched != expected.size()) ++lostOthers;
  }
  EXPECT_LE(lostOthers, trials / 200) << lostOthers << " of " << trials << " damaged sessions lost another command";
}

// ---- Signal-strength reply -----------------------------------------------

TEST(SimStrengthReply, EachQueryIsAnsweredWithXHighLowCr) {
  Harness h;
  h.sim.setStrengthOverride(0x1234);
  EXPECT_EQ(h.feed(SignalStrengthQuery()), Bytes({0x58, 0x12, 0x34, 0x0D}));
  EXPECT_EQ(h.lines.back(), "X strength=4660");
  h.sim.setStrengthOverride(0x0D0A);
  EXPECT_EQ(h.feed(SignalStrengthQuery() + SignalStrengthQuery()),
            Bytes({0x58, 0x0D, 0x0A, 0x0D, 0x58, 0x0D, 0x0A, 0x0D}));
  EXPECT_EQ(h.sim.queriesAnswered(), 3u);

  // The model's readings are reported as sent, and muting does not change them.
  Harness loud, muted;
  const std::string tune = TuningTransmission({.freqKHz = 9580.0, .mode = 0, .bandwidthHz = 8000}, 0x21, 2);
  loud.feed(tune + SpeakerVolumeCommand(50, false));
  muted.feed(tune + SpeakerVolumeCommand(50, true) + ExitMuteCommand());
  for (int i = 0; i < 50; ++i) {
    const std::string reply = loud.feed(SignalStrengthQuery());
    ASSERT_EQ(reply.size(), 4u);
    const int strength = static_cast<std::uint8_t>(reply[1]) << 8 | static_cast<std::uint8_t>(reply[2]);
    EXPECT_EQ(strength, loud.sim.state().lastStrength);
    EXPECT_EQ(loud.lines.back(), "X strength=" + std::to_string(strength));
    EXPECT_LE(strength, StrengthModel::MaxStrength);
    EXPECT_EQ(muted.feed(SignalStrengthQuery()), reply);
  }
}

// ---- Behind a pseudo-terminal ---------------------------------------------

// A program that opened the device, as a serial port would be.
class Client {
 public:
  explicit Client(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
  ~Client() { ::close(fd_); }
  bool ok() const { return fd_ >= 0; }
  bool write(const std::string& bytes) { return ::write(fd_, bytes.data(), bytes.size()) == ssize_t(bytes.size()); }
  // Reads until `count` bytes have come or a second has passed.
  std::string read(std::size_t count) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      char buffer[256];
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
  }

 private:
  int fd_;
};

// The terminal layer hands written bytes over asynchronously.
bool WaitForInput(const SimulatorPty& pty, std::size_t count) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (pty.inputWaiting() < count) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

class SimPty : public ::testing::Test {
 protected:
  void open(bool pacing) {
    pty_ = std::make_unique<SimulatorPty>(SimulatorPty::Options{.pacing = pacing}, 5);
    std::string error;
    ASSERT_TRUE(pty_->open(error)) << error;
    pty_->simulator().setLogSink([this](const std::string& line) { lines_.push_back(line); });
  }
  std::unique_ptr<SimulatorPty> pty_;
  std::vector<std::string> lines_;
};

TEST_F(SimPty, UnpacedItPassesEveryByteBothWaysAndOutlivesItsClients) {
  open(false);
  EXPECT_EQ(pty_->devicePath().rfind("/dev/pts/", 0), 0u) << pty_->devicePath();
  {
    Client client(pty_->devicePath());
    ASSERT_TRUE(client.ok());
    // Filter codes 13 and 10 are CR and line feed; code 0 is a zero byte;
    // the reply holds CR and line feed too.
    pty_->simulator().setStrengthOverride(0x0A0D);
    std::string bytes = FilterCommand(13) + FilterCommand(10) + FilterCommand(0) + GoodTune + ModeCommand(0);
    for (int i = 0; i < 100; ++i) bytes += SignalStrengthQuery();
    ASSERT_TRUE(client.write(bytes));
    ASSERT_TRUE(WaitForInput(*pty_, bytes.size()));
    EXPECT_EQ(pty_->millisecondsUntilNextByte(0), 0);
    EXPECT_EQ(pty_->pump(0), static_cast<int>(bytes.size()));  // everything at once
    EXPECT_EQ(pty_->simulator().queriesAnswered(), 100u);
    const std::string replies = client.read(400);
    ASSERT_EQ(replies.size(), 400u);
    EXPECT_EQ(replies.substr(396), Bytes({0x58, 0x0A, 0x0D, 0x0D}));
    EXPECT_EQ(std::vector<std::string>(lines_.begin(), lines_.begin() + 6),
              (std::vector<std::string>{"W code=13 bw=2550", "W code=10 bw=3000", "W code=0 bw=6000",
                                        "N coarse=21999 fine=6824 bfo=30576 freq=10000.000 kHz",
                                        "M AM freq=10000.000 kHz", "X strength=2573"}));
    ASSERT_TRUE(client.write(ModeCommand(1)));
    ASSERT_TRUE(WaitForInput(*pty_, 3));
  }
  // The client is gone: no hang-up, its bytes are still there, and another may open the device.
  EXPECT_EQ(pty_->pump(0), 3);
  pollfd p{pty_->masterFd(), POLLIN, 0};
  EXPECT_EQ(poll(&p, 1, 0), 0) << "revents " << p.revents;
  Client second(pty_->devicePath());
  ASSERT_TRUE(second.ok());
  ASSERT_TRUE(second.write(ModeCommand(2)));
  ASSERT_TRUE(WaitForInput(*pty_, 3));
  EXPECT_EQ(pty_->pump(1), 3);
  ASSERT_EQ(lines_.size(), 107u);
  EXPECT_EQ(lines_[105].substr(0, 6), "M USB ");  // with the frequency of the words in force
  EXPECT_EQ(lines_[106].substr(0, 6), "M LSB ");
}

TEST_F(SimPty, TakesInputAtTheLineRate) {
  open(true);
  Client client(pty_->devicePath());
  ASSERT_TRUE(client.ok());
  pty_->simulator().setStrengthOverride(100);
  EXPECT_EQ(pty_->millisecondsUntilNextByte(0), -1);
  EXPECT_EQ(pty_->pump(0), 0);
  std::string queries;
  for (int i = 0; i < 12; ++i) queries += SignalStrengthQuery();  // 24 bytes
  ASSERT_TRUE(client.write(queries));
  ASSERT_TRUE(WaitForInput(*pty_, 24));
  // Bytes taken by each pump at `nowMs`.
  auto pumps = [&](std::initializer_list<std::pair<int, int>> steps) {
    for (const auto& [nowMs, bytes] : steps) EXPECT_EQ(pty_->pump(nowMs), bytes) << "at " << nowMs << " ms";
  };
  // An idle line earned nothing while it was idle: one byte now ...
  EXPECT_EQ(pty_->millisecondsUntilNextByte(5000), 0);
  pumps({{5000, 1}, {5000, 0}});
  EXPECT_EQ(pty_->millisecondsUntilNextByte(5000), 9);  // 1000 / 120 ms per byte
  // ... then 120 bytes per second: after 100 ms, 12 more.
  pumps({{5100, 12}});
  EXPECT_EQ(pty_->simulator().queriesAnswered(), 6u);
  pumps({{5105, 0}, {5200, 11}});
  EXPECT_EQ(pty_->simulator().queriesAnswered(), 12u);
  EXPECT_EQ(client.read(48).size(), 48u);
  EXPECT_EQ(pty_->millisecondsUntilNextByte(5200), -1);
  // The line is free again from 5200 ms on; the second byte follows at 5208.3 ms.
  ASSERT_TRUE(client.write(SignalStrengthQuery()));
  ASSERT_TRUE(WaitForInput(*pty_, 2));
  EXPECT_EQ(pty_->millisecondsUntilNextByte(5200), 0);
  pumps({{5200, 1}, {5201, 0}, {5209, 1}});
  EXPECT_EQ(client.read(4).size(), 4u);
  // A query written while the line still carries the previous byte waits
  // for it: the last byte took until 5216.7 ms.
  ASSERT_TRUE(client.write(SignalStrengthQuery()));
  ASSERT_TRUE(WaitForInput(*pty_, 2));
  EXPECT_EQ(pty_->millisecondsUntilNextByte(5210), 7);
  pumps({{5210, 0}, {5217, 1}});
}

TEST_F(SimPty, RunServesUntilStopped) {
  open(true);
  volatile std::sig_atomic_t stop = 0;
  pty_->simulator().setStrengthOverride(0x0102);
  std::thread server([&] { EXPECT_TRUE(pty_->run(stop)); });
  Client client(pty_->devicePath());
  ASSERT_TRUE(client.ok());
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(client.write(SignalStrengthQuery() + SignalStrengthQuery() + SignalStrengthQuery()));
  EXPECT_EQ(client.read(12), Bytes({0x58, 1, 2, 0x0D, 0x58, 1, 2, 0x0D, 0x58, 1, 2, 0x0D}));
  const auto elapsed = std::chrono::steady_clock::now() - started;
  // Six bytes at 120 bytes per second take at least 5 x 8.3 ms after the first.
  EXPECT_GE(elapsed, std::chrono::milliseconds(40));
  stop = 1;
  server.join();
}

// ---- Signal strength -----------------------------------------------------

ListeningPassband Tuned(double kHz, int mode, int bandwidthHz, int passbandOffsetHz = 0) {
  return {std::llround(kHz * 1000.0), mode, bandwidthHz, passbandOffsetHz};
}

TEST(SimStrength, BroadcastBandsAreLouderThanTheGapsBetweenThem) {
  const StrengthModel model;
  auto average = [&](double from, double to) {
    double sum = 0;
    int count = 0;
    for (double kHz = from; kHz <= to; kHz += 5.0, ++count) sum += model.meanLevel(Tuned(kHz, 0, 6000));
    return sum / count;
  };
  for (const auto& [from, to, gapFrom, gapTo] : {std::array{5900, 6200, 6300, 6600}, {9400, 9900, 10100, 10600},
                                                {15100, 15800, 16000, 16700}})
    EXPECT_GT(average(from, to), 2.0 * average(gapFrom, gapTo)) << from << " kHz band";
  for (double kHz : {9580.0, 2300.0, 26100.0}) EXPECT_TRUE(StrengthModel::InBroadcastBand(kHz)) << kHz;
  for (double kHz : {10000.0, 8500.0}) EXPECT_FALSE(StrengthModel::InBroadcastBand(kHz)) << kHz;
  const std::vector<double> stations = StrengthModel::BuiltInStations();
  EXPECT_GT(stations.size(), 300u);
  for (double kHz : stations) EXPECT_TRUE(StrengthModel::InBroadcastBand(kHz)) << kHz;
}

TEST(SimStrength, AStationIsHeardThroughThePassband) {
  StrengthModel model, empty;
  model.setStations({9500.0});
  empty.setStations({});
  const double peak = StrengthModel::StationPeak(9500.0);
  const double on = model.meanLevel(Tuned(9500, 0, 6000));
  const double near = model.meanLevel(Tuned(9504, 0, 6000));
  const double far = model.meanLevel(Tuned(9520, 0, 6000));
  EXPECT_GT(on, near);
  EXPECT_GT(near, far);
  EXPECT_GT(on, empty.meanLevel(Tuned(9500, 0, 6000)) + 0.6 * peak);
  EXPECT_NEAR(far, empty.meanLevel(Tuned(9520, 0, 6000)), 1.0);  // out of reach: noise only
  // A wide filter hears the station further away.
  EXPECT_GT(model.meanLevel(Tuned(9503.5, 0, 8000)), model.meanLevel(Tuned(9503.5, 0, 300)) + 0.5 * peak);
  // USB 2550 Hz: H + PBT = 1475, the passband runs 200..2750 Hz above the
  // dial; tuned 1 kHz below the carrier it holds the carrier. LSB the other way.
  EXPECT_GT(model.meanLevel(Tuned(9499, 1, 2550, 1475)), model.meanLevel(Tuned(9501, 1, 2550, 1475)));
  EXPECT_GT(model.meanLevel(Tuned(9501, 2, 2550, 1475)), model.meanLevel(Tuned(9499, 2, 2550, 1475)));
  EXPECT_DOUBLE_EQ(Tuned(9499, 1, 2550, 1475).lowHz(), 9499200.0);
  EXPECT_DOUBLE_EQ(Tuned(9499, 1, 2550, 1475).highHz(), 9501750.0);

  // A narrow filter gives less noise, in the mean and over many readings.
  double last = 0;
  for (int bandwidth : {300, 1050, 2400, 4200, 6000, 8000}) {
    const double level = empty.meanLevel(Tuned(8000, 0, bandwidth));
    EXPECT_GT(level, last) << bandwidth;
    last = level;
  }
  double narrowSum = 0, wideSum = 0;
  for (int i = 0; i < 500; ++i) {
    narrowSum += empty.sample(Tuned(8000, 0, 300));
    wideSum += empty.sample(Tuned(8000, 0, 8000));
  }
  EXPECT_LT(narrowSum, 0.6 * wideSum);
}

TEST(SimStrength, ReadingsRepeatForASeedStayOnTheScaleAndVary) {
  StrengthModel a(7), b(7), c(8);
  bool differs = false;
  for (int i = 0; i < 200; ++i) {
    const ListeningPassband where = Tuned(9400 + i * 2.5, i % 4, 2400 + 25 * i);
    const std::uint16_t sa = a.sample(where);
    ASSERT_EQ(sa, b.sample(where)) << i;
    differs = differs || sa != c.sample(where);
  }
  EXPECT_TRUE(differs);
  a.setSeed(8);
  StrengthModel d(8);
  EXPECT_EQ(a.sample(Tuned(6000, 0, 6000)), d.sample(Tuned(6000, 0, 6000)));

  std::mt19937 rng(11);
  int highest = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::uint16_t s = a.sample(Tuned(100 + (rng() % 29900000) / 1000.0, static_cast<int>(rng() % 4),
                                           300 + static_cast<int>(rng() % 7700), 1000));
    ASSERT_LE(s, StrengthModel::MaxStrength);
    highest = std::max<int>(highest, s);
  }
  EXPECT_GT(highest, 6000);  // strong stations do reach the upper part of the meter
  std::vector<int> readings;  // sitting on one frequency, the reading moves
  for (int i = 0; i < 20; ++i) readings.push_back(a.sample(Tuned(9580, 0, 6000)));
  EXPECT_NE(*std::min_element(readings.begin(), readings.end()), *std::max_element(readings.begin(), readings.end()));
}

TEST(SimStrength, StationListsTakeTheKHzColumn) {
  std::istringstream in(
      "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201\r\n"
      "16.3;0000-2400;;IND;VTX1 Indian Navy;;SAs;v;1;;\r\n"
      "9580;0000-0100;;AUS;Radio Australia\r\n"
      "9580;0100-0200;;AUS;Radio Australia\r\n"
      "\r\njunk line\r\n6070.5;1200-1300\n12x;bad number\r\n40000;out of range\r\n");
  std::vector<double> stations = StrengthModel::ParseStationList(in);
  EXPECT_EQ(stations, (std::vector<double>{16.3, 9580, 9580, 6070.5}));
  StrengthModel model;
  model.setStations(stations);
  EXPECT_EQ(model.stations(), (std::vector<double>{16.3, 6070.5, 9580}));

  TempFolder folder;
  const std::string path = folder.file("stations.csv");
  std::string error;
  WriteFileBytes(path, "kHz;Time(UTC)\r\n7325;0000-2400\r\n");
  EXPECT_TRUE(StrengthModel::LoadStationFile(path, stations, error)) << error;
  EXPECT_EQ(stations, std::vector<double>{7325});
  WriteFileBytes(path, "no numbers here\r\n");
  EXPECT_FALSE(StrengthModel::LoadStationFile(path, stations, error));
  EXPECT_NE(error.find("no station frequencies"), std::string::npos) << error;
  EXPECT_FALSE(StrengthModel::LoadStationFile(folder.file("missing.csv"), stations, error));
  EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

}  // namespace
}  // namespace ondaris
