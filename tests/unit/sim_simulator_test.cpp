// The simulated receiver: every command decoded, the tuned frequency
// recovered from the tuning words to the hertz, any chunking, finding its
// way back after bad bytes, and the signal-strength reply.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "radio/Rx320Protocol.h"
#include "sim/Rx320Simulator.h"

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

}  // namespace
}  // namespace ondaris
