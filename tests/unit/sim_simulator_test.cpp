// The simulated receiver: every command decoded, the tuned frequency
// recovered from the tuning words to the hertz, any chunking, finding its
// way back after bad bytes, and the signal-strength reply.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "radio/Rx320Protocol.h"
#include "sim/Rx320Simulator.h"

namespace ondaris {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

std::string KHzText(std::int64_t hz) {
  char text[40];
  std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(hz / 1000), static_cast<long long>(hz % 1000));
  return text;
}

// A simulator whose log lines are collected.
struct Harness {
  Rx320Simulator sim{7};
  std::vector<std::string> lines;
  Harness() {
    sim.setLogSink([this](const std::string& line) { lines.push_back(line); });
  }
  std::string feed(const std::string& bytes) { return sim.feed(bytes); }
  std::string feedBytewise(const std::string& bytes) {
    std::string replies;
    for (char c : bytes) replies += sim.feed(std::string(1, c));
    return replies;
  }
};

// ---- Single commands -----------------------------------------------------

struct CommandCase {
  const char* name;
  std::string bytes;
  std::string line;
  std::function<void(const SimulatedReceiverState&)> check;
};

std::ostream& operator<<(std::ostream& os, const CommandCase& c) { return os << c.name; }

class SimCommands : public ::testing::TestWithParam<CommandCase> {};

TEST_P(SimCommands, DecodesAndLogs) {
  const CommandCase& c = GetParam();
  Harness h;
  EXPECT_EQ(h.feed(c.bytes), "");
  ASSERT_EQ(h.lines.size(), 1u);
  EXPECT_EQ(h.lines[0], c.line);
  c.check(h.sim.state());
  EXPECT_EQ(h.sim.commandsDecoded(), 1u);
  EXPECT_EQ(h.sim.bytesSkipped(), 0u);
  EXPECT_EQ(h.sim.bytesPending(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCommand, SimCommands,
    ::testing::Values(
        CommandCase{"FilterCodeZero", FilterCommand(0), "W code=0 bw=6000",
                    [](const SimulatedReceiverState& s) {
                      EXPECT_EQ(s.filterCode, 0);
                      EXPECT_EQ(s.bandwidthHz, 6000);
                    }},
        CommandCase{"FilterWidest", Bytes({0x57, 0x21, 0x0D}), "W code=33 bw=8000",
                    [](const SimulatedReceiverState& s) { EXPECT_EQ(s.bandwidthHz, 8000); }},
        CommandCase{"FilterNarrowest", Bytes({0x57, 0x20, 0x0D}), "W code=32 bw=300",
                    [](const SimulatedReceiverState& s) { EXPECT_EQ(s.bandwidthHz, 300); }},
        CommandCase{"FilterCodeIsCR", Bytes({0x57, 0x0D, 0x0D}), "W code=13 bw=2550",
                    [](const SimulatedReceiverState& s) { EXPECT_EQ(s.bandwidthHz, 2550); }},
        CommandCase{"FilterNotInProgramTable", Bytes({0x57, 29, 0x0D}), "W code=29 bw=450",
                    [](const SimulatedReceiverState& s) { EXPECT_EQ(s.filterCode, 29); }},
        CommandCase{"ModeAm", ModeCommand(0), "M AM", [](const SimulatedReceiverState& s) { EXPECT_EQ(s.mode, 0); }},
        CommandCase{"ModeUsb", ModeCommand(1), "M USB", [](const SimulatedReceiverState& s) { EXPECT_EQ(s.mode, 1); }},
        CommandCase{"ModeLsb", ModeCommand(2), "M LSB", [](const SimulatedReceiverState& s) { EXPECT_EQ(s.mode, 2); }},
        CommandCase{"ModeCw", ModeCommand(3), "M CW", [](const SimulatedReceiverState& s) { EXPECT_EQ(s.mode, 3); }},
        CommandCase{"AgcSlow", AgcCommand(1), "G 1", [](const SimulatedReceiverState& s) { EXPECT_EQ(s.agc, 1); }},
        CommandCase{"AgcMedium", AgcCommand(2), "G 2", [](const SimulatedReceiverState& s) { EXPECT_EQ(s.agc, 2); }},
        CommandCase{"AgcFast", AgcCommand(3), "G 3", [](const SimulatedReceiverState& s) { EXPECT_EQ(s.agc, 3); }},
        CommandCase{"SpeakerLoudest", SpeakerVolumeCommand(63, false), "V level=0",
                    [](const SimulatedReceiverState& s) {
                      EXPECT_EQ(s.speakerLevel, 0);
                      EXPECT_FALSE(s.speakerMuted);
                    }},
        CommandCase{"SpeakerQuietest", SpeakerVolumeCommand(13, false), "V level=50",
                    [](const SimulatedReceiverState& s) { EXPECT_EQ(s.speakerLevel, 50); }},
        CommandCase{"SpeakerMuted", SpeakerVolumeCommand(40, true), "V level=63 mute",
                    [](const SimulatedReceiverState& s) {
                      EXPECT_TRUE(s.speakerMuted);
                      EXPECT_FALSE(s.lineMuted);
                    }},
        CommandCase{"LineLevel", LineVolumeCommand(30, false), "A level=33",
                    [](const SimulatedReceiverState& s) {
                      EXPECT_EQ(s.lineLevel, 33);
                      EXPECT_EQ(s.speakerLevel, 31);
                    }},
        CommandCase{"LineMuted", LineVolumeCommand(30, true), "A level=63 mute",
                    [](const SimulatedReceiverState& s) {
                      EXPECT_TRUE(s.lineMuted);
                      EXPECT_FALSE(s.speakerMuted);
                    }},
        CommandCase{"ExitMute", ExitMuteCommand(), "C mute",
                    [](const SimulatedReceiverState& s) {
                      EXPECT_TRUE(s.speakerMuted);
                      EXPECT_TRUE(s.lineMuted);
                    }},
        CommandCase{"CombinedLevel", Bytes({0x43, 0x7F, 0x1F, 0x0D}), "C level=31",
                    [](const SimulatedReceiverState& s) {
                      EXPECT_EQ(s.speakerLevel, 31);
                      EXPECT_EQ(s.lineLevel, 31);
                      EXPECT_FALSE(s.speakerMuted);
                    }},
        CommandCase{"CombinedMute", Bytes({0x43, 0x7F, 0x3F, 0x0D}), "C level=63 mute",
                    [](const SimulatedReceiverState& s) { EXPECT_TRUE(s.lineMuted); }},
        CommandCase{"TuneWordsBeforeAnyMode", Bytes({0x4E, 0x55, 0xEF, 0x1A, 0xA8, 0x77, 0x70, 0x0D}),
                    "N coarse=21999 fine=6824 bfo=30576 freq=10000.000 kHz",
                    [](const SimulatedReceiverState& s) {
                      EXPECT_TRUE(s.tuned);
                      EXPECT_EQ(s.frequencyHz, 10000000);
                      EXPECT_EQ(s.pbtHz, 0);
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimFilters, EveryProgramFilterCodeGivesItsBandwidth) {
  for (const FilterInfo& filter : FilterTable) {
    Harness h;
    h.feed(FilterCommand(filter.code));
    EXPECT_EQ(h.sim.state().bandwidthHz, filter.bandwidthHz) << "code " << int(filter.code);
    EXPECT_EQ(SimulatedFilterBandwidth(filter.code), filter.bandwidthHz);
  }
  EXPECT_EQ(SimulatedFilterBandwidth(34), -1);
}

TEST(SimCommandsReject, ArgumentsOutsideTheirRange) {
  Harness h;
  h.feed(Bytes({0x57, 34, 0x0D}));  // no filter 34
  h.feed(Bytes({0x4D, '4', 0x0D}));  // no mode 4
  h.feed(Bytes({0x47, '0', 0x0D}));  // no AGC 0
  h.feed(Bytes({0x56, 0x00, 0x10, 0x0D}));  // volume without 0x7F
  h.feed(Bytes({0x41, 0x7F, 64, 0x0D}));  // level above 63
  EXPECT_EQ(h.sim.commandsDecoded(), 0u);
  const SimulatedReceiverState fresh;
  EXPECT_EQ(h.sim.state().bandwidthHz, fresh.bandwidthHz);
  EXPECT_EQ(h.sim.state().mode, fresh.mode);
  EXPECT_EQ(h.sim.state().agc, fresh.agc);
  EXPECT_EQ(h.sim.state().lineLevel, fresh.lineLevel);
  // Everything so far was skipped; the next good command reports it.
  h.feed(AgcCommand(3));
  ASSERT_EQ(h.lines.size(), 2u);
  EXPECT_EQ(h.lines[0].rfind("? skipped 17 bytes: 57 22 0D 4D 34", 0), 0u) << h.lines[0];
  EXPECT_EQ(h.lines[1], "G 3");
}

// ---- Tuning words back to the frequency ----------------------------------

struct ExampleCase {
  const char* name;
  std::string transmission;
  int mode;
  std::int64_t hz;
  int pbt;
};

std::ostream& operator<<(std::ostream& os, const ExampleCase& c) { return os << c.name; }

class SimExamples : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(SimExamples, ByteStringsGiveTheirFrequencies) {
  const ExampleCase& c = GetParam();
  Harness h;
  h.feed(c.transmission);
  EXPECT_EQ(h.sim.state().mode, c.mode);
  EXPECT_EQ(h.sim.state().frequencyHz, c.hz);
  EXPECT_EQ(h.sim.state().pbtHz, c.pbt);
  const std::string modeLine = std::string("M ") + ModeTableEntry(c.mode).name + " freq=" + KHzText(c.hz) + " kHz";
  EXPECT_NE(std::find(h.lines.begin(), h.lines.end(), modeLine), h.lines.end()) << "missing: " << modeLine;
}

INSTANTIATE_TEST_SUITE_P(
    KnownTunings, SimExamples,
    ::testing::Values(
        ExampleCase{"Am6000", Bytes({0x57, 0x00, 0x0D, 0x4E, 0x55, 0xEF, 0x1A, 0xA8, 0x77, 0x70, 0x0D, 0x4D, 0x30, 0x0D}),
                    0, 10000000, 0},
        ExampleCase{"Usb2550", Bytes({0x57, 13, 0x0D, 0x4E, 0x55, 0xF0, 0x04, 0xCC, 0x65, 0x0A, 0x0D, 0x4D, 0x31, 0x0D}),
                    1, 10000000, 0},
        ExampleCase{"Lsb2400Pbt100",
                    Bytes({0x57, 14, 0x0D, 0x4E, 0x51, 0x3F, 0x05, 0x54, 0x65, 0x4F, 0x0D, 0x4D, 0x32, 0x0D}), 2, 7000500,
                    100},
        ExampleCase{"Cw300Tone700",
                    Bytes({0x57, 0x20, 0x0D, 0x4E, 0x55, 0x45, 0x1A, 0xA9, 0x5C, 0xC7, 0x0D, 0x4D, 0x33, 0x0D}), 3, 9575000,
                    0},
        ExampleCase{"FullTransmissionWithAgc",
                    Bytes({0x57, 0x00, 0x0D, 0x4E, 0x55, 0xEF, 0x1A, 0xA8, 0x77, 0x70, 0x0D, 0x4D, 0x30, 0x0D, 0x47, 0x32,
                           0x0D}),
                    0, 10000000, 0}),
    [](const auto& info) { return std::string(info.param.name); });

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

struct RoundTripCase {
  double freqKHz;
  int mode;
  int filterIndex;
  int pbt;
};

void ExpectRoundTrip(const RoundTripCase& c, int cwTone = 700, bool dataBfo = false) {
  Harness h;
  h.sim.setCwToneHz(cwTone);
  const FilterInfo& filter = FilterTable[c.filterIndex];
  TuningInput input;
  input.freqKHz = c.freqKHz;
  input.mode = c.mode;
  input.bandwidthHz = filter.bandwidthHz;
  input.pbtHz = c.pbt;
  input.cwToneHz = dataBfo ? 700 : cwTone;
  input.dataBfoActive = dataBfo;
  input.dataBfoHz = cwTone;
  h.feed(TuningTransmission(input, filter.code, 2));
  const std::int64_t expected = std::llround(c.freqKHz * 1000.0);
  const TuningWords words = ComputeTuningWords(input);
  ASSERT_EQ(h.sim.state().frequencyHz, expected)
      << c.freqKHz << " kHz mode " << c.mode << " filter " << c.filterIndex << " pbt " << c.pbt << " cw " << cwTone
      << " words " << words.coarse << "/" << words.fine << "/" << words.bfo;
  ASSERT_EQ(h.sim.state().pbtHz, c.pbt);
  ASSERT_EQ(h.sim.state().mode, c.mode);
  ASSERT_EQ(h.sim.state().bandwidthHz, filter.bandwidthHz);
  ASSERT_EQ(h.sim.commandsDecoded(), 4u);
}

TEST(SimTuning, RoundTripsThroughTheProgramsTuningWords) {
  const RoundTripCase cases[] = {
      {100.0, 0, 1, 0},       {100.001, 1, 13, 0},     {530.0, 0, 0, 0},        {999.999, 2, 14, -2000},
      {5000.0, 0, 23, 2000},  {6070.0, 1, 12, 50},     {7000.5, 2, 14, 100},    {9575.0, 3, 23, 0},
      {9575.0, 3, 22, -350},  {10000.0, 0, 1, 0},      {10000.0, 1, 13, 0},     {14230.123, 1, 16, -100},
      {15400.0, 0, 0, 0},     {21310.05, 2, 11, 1950}, {29999.999, 1, 10, -50}, {30000.0, 3, 0, 2000},
      {3755.0, 2, 17, -200},  {11735.0, 0, 3, 150},    {2500.0, 3, 18, 700},    {17480.001, 2, 20, 0},
  };
  for (const RoundTripCase& c : cases) ExpectRoundTrip(c);
}

TEST(SimTuning, RoundTripsForThousandsOfPseudoRandomTunings) {
  std::mt19937 rng(320);
  auto pick = [&](int low, int high) { return low + static_cast<int>(rng() % static_cast<unsigned>(high - low + 1)); };
  for (int i = 0; i < 6000; ++i) {
    RoundTripCase c;
    const int hz = pick(100000, 30000000);
    c.freqKHz = hz / 1000.0;
    c.mode = pick(0, 3);
    c.filterIndex = pick(0, FilterCount - 1);
    c.pbt = (i % 2 == 0) ? pick(-40, 40) * 50 : pick(-2000, 2000);
    const int tone = (i % 3 == 0) ? pick(300, 1500) : 700;
    ExpectRoundTrip(c, tone, i % 7 == 0);
    if (HasFatalFailure()) return;
  }
}

// ---- Chunking ------------------------------------------------------------

std::string SampleSession() {
  TuningInput a{.freqKHz = 9580.0, .mode = 0, .bandwidthHz = 5100};
  TuningInput b{.freqKHz = 7000.5, .mode = 2, .bandwidthHz = 2400, .pbtHz = 100};
  TuningInput c{.freqKHz = 9575.0, .mode = 3, .bandwidthHz = 300};
  return TuningTransmission(a, 3, 2) + SignalStrengthQuery() + SpeakerVolumeCommand(40, false) +
         LineVolumeCommand(50, true) + TuningTransmission(b, 14, 1) + SignalStrengthQuery() +
         SignalStrengthQuery() + TuningTransmission(c, 32, 3) + ExitMuteCommand() + SignalStrengthQuery();
}

TEST(SimChunking, AnyChunkingGivesTheSameResult) {
  const std::string session = SampleSession();
  Harness whole;
  const std::string wholeReplies = whole.feed(session);
  ASSERT_EQ(whole.sim.commandsDecoded(), 19u);
  ASSERT_EQ(whole.sim.bytesSkipped(), 0u);
  EXPECT_EQ(whole.sim.queriesAnswered(), 4u);
  EXPECT_EQ(wholeReplies.size(), 16u);

  Harness bytewise;
  EXPECT_EQ(bytewise.feedBytewise(session), wholeReplies);
  EXPECT_EQ(bytewise.lines, whole.lines);

  std::mt19937 rng(5);
  for (int round = 0; round < 50; ++round) {
    Harness chunked;
    std::string replies;
    for (std::size_t pos = 0; pos < session.size();) {
      const std::size_t n = 1 + rng() % 12;
      replies += chunked.feed(session.substr(pos, n));
      pos += n;
    }
    ASSERT_EQ(replies, wholeReplies);
    ASSERT_EQ(chunked.lines, whole.lines);
  }
  EXPECT_EQ(whole.sim.state().frequencyHz, 9575000);
  EXPECT_TRUE(whole.sim.state().speakerMuted);
}

TEST(SimChunking, WaitsForTheRestOfACommand) {
  Harness h;
  const std::string tune = Bytes({0x4E, 0x55, 0xEF, 0x1A, 0xA8, 0x77, 0x70, 0x0D});
  h.feed(tune.substr(0, 7));
  EXPECT_TRUE(h.lines.empty());
  EXPECT_EQ(h.sim.bytesPending(), 7u);
  h.feed(tune.substr(7));
  ASSERT_EQ(h.lines.size(), 1u);
  EXPECT_EQ(h.sim.bytesPending(), 0u);
}

// ---- Finding the way back ------------------------------------------------

// The decoded commands without the derived frequency, which depends on the
// mode in force, and without the skip reports.
std::vector<std::string> Commands(const std::vector<std::string>& lines) {
  std::vector<std::string> commands;
  for (const std::string& line : lines) {
    if (line.rfind("? ", 0) == 0) continue;
    commands.push_back(line.substr(0, line.find(" freq=")));
  }
  return commands;
}

struct ResyncCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> commands;
};

std::ostream& operator<<(std::ostream& os, const ResyncCase& c) { return os << c.name; }

class SimResync : public ::testing::TestWithParam<ResyncCase> {};

TEST_P(SimResync, LosesAtMostTheDamagedCommand) {
  const ResyncCase& c = GetParam();
  Harness h;
  h.sim.setStrengthOverride(1234);
  h.feed(c.bytes);
  EXPECT_EQ(Commands(h.lines), c.commands);
  EXPECT_GT(h.sim.bytesSkipped(), 0u);
}

const std::string GoodTune = Bytes({0x4E, 0x55, 0xEF, 0x1A, 0xA8, 0x77, 0x70, 0x0D});
const std::string TuneLine = "N coarse=21999 fine=6824 bfo=30576";

INSTANTIATE_TEST_SUITE_P(
    Damage, SimResync,
    ::testing::Values(
        ResyncCase{"GarbageFirst", "ZZ\xFF\x0A" + SignalStrengthQuery() + ModeCommand(1), {"X strength=1234", "M USB"}},
        ResyncCase{"GarbageBetween", ModeCommand(1) + "\x01\x02\x0D\x0D" + AgcCommand(3), {"M USB", "G 3"}},
        ResyncCase{"CorruptedCarriageReturn",
                   FilterCommand(0) + GoodTune.substr(0, 7) + "\x0E" + ModeCommand(0) + AgcCommand(2),
                   {"W code=0 bw=6000", "M AM", "G 2"}},
        ResyncCase{"CorruptedLetter",
                   FilterCommand(0) + "\xCE" + GoodTune.substr(1) + ModeCommand(0) + AgcCommand(2),
                   {"W code=0 bw=6000", "M AM", "G 2"}},
        ResyncCase{"LostByte", FilterCommand(0) + GoodTune.substr(0, 3) + GoodTune.substr(4) + ModeCommand(2),
                   {"W code=0 bw=6000", "M LSB"}},
        ResyncCase{"ExtraByte", FilterCommand(0) + GoodTune.substr(0, 3) + "\x4D" + GoodTune.substr(3) + ModeCommand(2),
                   {"W code=0 bw=6000", "M LSB"}},
        ResyncCase{"CutShortByAZeroByteWriter", std::string("W") + FilterCommand(14) + GoodTune,
                   {"W code=14 bw=2400", TuneLine}},
        ResyncCase{"StrayCarriageReturns", "\x0D\x0D" + GoodTune + "\x0D" + SignalStrengthQuery(),
                   {TuneLine, "X strength=1234"}},
        ResyncCase{"BadVolumePrefix",
                   Bytes({0x56, 0x7E, 0x10, 0x0D}) + SpeakerVolumeCommand(30, false), {"V level=33"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimResync, SkippedBytesAreReportedBeforeTheNextCommand) {
  Harness h;
  h.feed("ab" + SignalStrengthQuery());
  ASSERT_EQ(h.lines.size(), 2u);
  EXPECT_EQ(h.lines[0], "? skipped 2 bytes: 61 62");
}

// One damaged byte anywhere in a long session: every other command still
// arrives, in order. A damaged byte can make a stray command appear inside
// the damaged one (a payload byte that reads as "X" followed by a CR), so
// only the loss of others is counted; it needs an unlucky pair of payload
// bytes and stays rare.
TEST(SimResync, SingleDamagedByteCostsOnlyItsCommand) {
  std::mt19937 rng(99);
  std::vector<std::string> commands;
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
  const std::vector<std::string> clean = decode(session);
  ASSERT_EQ(clean.size(), commands.size());

  int trials = 0;
  int lostOthers = 0;
  for (int t = 0; t < 1500; ++t) {
    const std::size_t victim = rng() % commands.size();
    std::string damaged = session;
    const std::size_t at = starts[victim] + rng() % commands[victim].size();
    switch (t % 3) {
      case 0: damaged[at] = static_cast<char>(damaged[at] ^ (1 + rng() % 255)); break;  // changed
      case 1: damaged.erase(at, 1); break;                                                 // lost
      default: damaged.insert(at, 1, static_cast<char>(rng() % 256)); break;             // extra
    }
    std::vector<std::string> expected = clean;
    expected.erase(expected.begin() + static_cast<long>(victim));
    const std::vector<std::string> got = decode(damaged);
    // `expected` must be a subsequence of `got`.
    std::size_t matched = 0;
    for (const std::string& line : got) {
      if (matched < expected.size() && line == expected[matched]) ++matched;
    }
    ++trials;
    if (matched != expected.size()) ++lostOthers;
  }
  EXPECT_EQ(trials, 1500);
  EXPECT_LE(lostOthers, trials / 200) << lostOthers << " of " << trials << " damaged sessions lost another command";
}

// ---- Signal-strength reply -----------------------------------------------

TEST(SimStrengthReply, AnswersEachQueryWithXHighLowCr) {
  Harness h;
  h.sim.setStrengthOverride(0x1234);
  EXPECT_EQ(h.feed(SignalStrengthQuery()), Bytes({0x58, 0x12, 0x34, 0x0D}));
  EXPECT_EQ(h.lines.back(), "X strength=4660");
  h.sim.setStrengthOverride(0x0D0A);
  EXPECT_EQ(h.feed(SignalStrengthQuery() + SignalStrengthQuery()),
            Bytes({0x58, 0x0D, 0x0A, 0x0D, 0x58, 0x0D, 0x0A, 0x0D}));
  EXPECT_EQ(h.sim.queriesAnswered(), 3u);
}

TEST(SimStrengthReply, ModelReadingsAreReportedAsSent) {
  Harness h;
  h.feed(TuningTransmission({.freqKHz = 9580.0, .mode = 0, .bandwidthHz = 8000}, 0x21, 2));
  for (int i = 0; i < 50; ++i) {
    const std::string reply = h.feed(SignalStrengthQuery());
    ASSERT_EQ(reply.size(), 4u);
    ASSERT_EQ(reply[0], 'X');
    ASSERT_EQ(reply[3], '\x0D');
    const int strength = static_cast<std::uint8_t>(reply[1]) << 8 | static_cast<std::uint8_t>(reply[2]);
    EXPECT_EQ(strength, h.sim.state().lastStrength);
    EXPECT_EQ(h.lines.back(), "X strength=" + std::to_string(strength));
    EXPECT_LE(strength, StrengthModel::MaxStrength);
  }
}

TEST(SimStrengthReply, MutingTheOutputsDoesNotChangeTheStrength) {
  Harness loud;
  Harness muted;
  const std::string tune = TuningTransmission({.freqKHz = 6070.0, .mode = 0, .bandwidthHz = 6000}, 0, 2);
  loud.feed(tune + SpeakerVolumeCommand(50, false));
  muted.feed(tune + SpeakerVolumeCommand(50, true) + ExitMuteCommand());
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(loud.feed(SignalStrengthQuery()), muted.feed(SignalStrengthQuery()));
  }
}

}  // namespace
}  // namespace ondaris
