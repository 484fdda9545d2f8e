// The companion's command words, driven through the fake panel: what each
// word does to the state, to the wire and to the controls, what goes back to
// the companion, and the status report's fields.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "common/Errors.h"
#include "radio/CommandDispatcher.h"
#include "radio/Rx320Protocol.h"
#include "radio/StepTable.h"
#include "support/PanelFixture.h"
#include "support/RecordingCompanion.h"

namespace ondaris {
namespace {

using Strings = std::vector<std::string>;
const std::string ExampleReport = "*15000.000*AM*6000*500*0*17*17*False*False*Lo*M*";

class CommandDispatcherTest : public PanelFixture {
 protected:
  CommandDispatcherTest() { SetTrackbars(17, 17); }

  void SetTrackbars(int spkr, int line) {
    panel.setValue(Ctl::SpkrTrackbar, spkr);
    panel.setValue(Ctl::LineTrackbar, line);
  }
  void Run(const std::string& word) { dispatcher.ExecuteRemoteCommand(word); }
  // The companion says hello (the step becomes 5 kHz); what that sent is forgotten.
  void Hello() {
    Run("?");
    Settle();
  }
  // Lets the line carry everything and forgets what was sent.
  void Settle() {
    ASSERT_TRUE(flushLine());
    clearRecords();
    transport.sent.clear();
  }
  // Units handed to the port since the last Settle (meter queries left out).
  Strings Units() {
    EXPECT_TRUE(flushLine());
    return sentUnits();
  }
  Strings Tuned() { return {state.TuningBytes()}; }
  static std::vector<int> Settings(const RadioState& s) {
    return {s.FilterIndex, s.Mode, s.StepIndex, s.PBT, s.SpkrVolume, s.LineVolume, s.SpkrMute, s.LineMute};
  }
  void ExpectNothingSentOrChanged(const std::string& word) {
    const RadioState before = state;
    Run(word);
    const Strings units = Units();
    EXPECT_EQ(std::tuple(units, transport.sent, state.Freq, Settings(state)),
              std::tuple(Strings{}, Strings{}, before.Freq, Settings(before)))
        << word;
  }
  std::string Volumes() const {
    return SpeakerVolumeCommand(state.SpkrVolume, state.SpkrMute != 0) +
           LineVolumeCommand(state.LineVolume, state.LineMute != 0);
  }

  RecordingCompanion transport;
  CommandDispatcher dispatcher{ctx, receiver, controls, tuning, meter, transport};
};

// ---- Status report and sending ----------------------------------------------

TEST_F(CommandDispatcherTest, StatusReportFields) {
  EXPECT_EQ(dispatcher.StatusReport(), ExampleReport);
  const struct {
    std::function<void()> change;
    const char* report;
  } cases[] = {
      {[this] { state.Freq = 9575.125, state.Mode = 1, state.PBT = -150, state.AGC = 3, state.SelectFilterRow(13); },
       "*9575.125*USB*2550*500*-150*17*17*False*False*Lo*F*"},
      {[this] { state.Mode = 2, state.LineMute = 1, state.AGC = 1; },
       "*15000.000*LSB*6000*500*0*17*17*False*True*Lo*S*"},
      {[this] {
         state.Mode = 3, state.SpkrMute = state.LineMute = 1, state.AGC = 0, state.SelectFilterRow(23);
         ctx.flags.MeterHiSens = true;
       },
       "*15000.000*CW*300*500*0*17*17*True*True*Hi**"},
      {[this] { state.StepIndex = 8; }, "*15000.000*AM*6000*10000*0*17*17*False*False*Lo*M*"},
      {[this] { state.StepIndex = 8, state.NineKHzSteps = 1; }, "*15000.000*AM*6000*9000*0*17*17*False*False*Lo*M*"},
      {[this] { state.StepIndex = 7, state.NineKHzSteps = 1; }, "*15000.000*AM*6000*5000*0*17*17*False*False*Lo*M*"},
      // The row, not StepHz; StepHz only without a row.
      {[this] { state.StepIndex = 0, state.StepHz = 500, state.Freq = 100.0; },
       "*100.000*AM*6000*1*0*17*17*False*False*Lo*M*"},
      {[this] { state.StepIndex = -1, state.StepHz = 3000; }, "*15000.000*AM*6000*3000*0*17*17*False*False*Lo*M*"},
      {[this] { SetTrackbars(0, 50), state.SpkrVolume = 63; },  // positions, not volumes
       "*15000.000*AM*6000*500*0*0*50*False*False*Lo*M*"},
      {[this] { ctx.decimalSeparator = ','; }, "*15000,000*AM*6000*500*0*17*17*False*False*Lo*M*"},
  };
  const RadioState fresh = state;
  for (const auto& c : cases) {
    state = fresh;
    SetTrackbars(17, 17);
    ctx.flags.MeterHiSens = false;
    c.change();
    EXPECT_EQ(dispatcher.StatusReport(), c.report);
  }
}

TEST_F(CommandDispatcherTest, WhatIsSentToTheCompanion) {
  // Before the hello nothing goes out; the words are carried out anyway.
  dispatcher.PublishStatus();
  dispatcher.SendToCompanion("OK");
  dispatcher.SendMeterReport(42);
  ASSERT_TRUE(transport.onWord);
  transport.onWord("T+");
  EXPECT_DOUBLE_EQ(state.Freq, 15000.5);
  EXPECT_TRUE(transport.sent.empty());

  ctx.flags.RemoteControlOn = true;
  ctx.PublishStatus();  // installed as the publisher
  dispatcher.SendToCompanion(std::string(80, 'a') + "bc");
  for (int level : {42, 0, 99}) dispatcher.SendMeterReport(level);
  EXPECT_EQ(transport.sent, (Strings{"*15000.500*AM*6000*500*0*17*17*False*False*Lo*M*", std::string(80, 'a'),
                                     "42xxxxxxxxxxxxxxx", "0xxxxxxxxxxxxxxx", "99xxxxxxxxxxxxxxx"}));

  transport.sent.clear();
  ctx.flags.ShuttingDown = true;
  dispatcher.SendMeterReport(42);
  ctx.flags.ShuttingDown = false;
  ctx.flags.BroadcastActive = true;  // a broadcast silences the link
  dispatcher.SendToCompanion("OK");
  dispatcher.PublishStatus();
  dispatcher.SendMeterReport(50);
  EXPECT_TRUE(transport.sent.empty());
}

TEST_F(CommandDispatcherTest, DestructorRemovesItsHooks) {
  RecordingCompanion other;
  auto second = std::make_unique<CommandDispatcher>(ctx, receiver, controls, tuning, meter, other);
  EXPECT_TRUE(ctx.publishStatus && other.onWord);
  second.reset();
  EXPECT_FALSE(ctx.publishStatus || other.onWord);
}

// ---- Hello and goodbye -----------------------------------------------------

TEST_F(CommandDispatcherTest, HelloTurnsTheLinkOnAndReports) {
  panel.setEnabled(Ctl::LookupBtn, false);
  panel.press(Ctl::LimitScanBtn);
  panel.press(Ctl::ScanBtn);
  panel.setEnabled(Ctl::NowBtn, false);
  panel.setCaption(Ctl::StatusPanel, "Limit Scan");
  ctx.scan.ScanKind = 3;
  tuning.flags.TuningActive = true;
  std::size_t sentAtMinimize = 0;
  int minimized = 0;
  dispatcher.minimizeApplication = [&] {
    ++minimized;
    sentAtMinimize = transport.sent.size();
  };

  Run("?");
  for (Ctl c : {Ctl::FileScanBtn, Ctl::MemScanBtn, Ctl::LimitScanBtn, Ctl::BandScanBtn, Ctl::ScanBtn})
    EXPECT_FALSE(panel[c].pressed) << ControlName(c);
  EXPECT_EQ(std::tuple(ctx.flags.RemoteControlOn, panel[Ctl::LookupBtn].enabled, panel[Ctl::NowBtn].enabled,
                       tuning.flags.TuningActive, panel[Ctl::StepBtn5000].pressed),
            std::tuple(true, true, true, false, true));
  EXPECT_EQ(std::tuple(panel[Ctl::StatusPanel].caption, ctx.scan.ScanKind, endScanCalls, state.StepIndex),
            std::tuple("", 0, 1, 7));
  // SetTuningStep reports, then the hello's own report; then the window goes.
  const std::string report = "*15000.000*AM*6000*5000*0*17*17*False*False*Lo*M*";
  EXPECT_EQ(std::tuple(transport.sent, minimized, sentAtMinimize), std::tuple(Strings{report, report}, 1, 2u));

  // The status line stays unless a limit or band scan was chosen.
  panel.setCaption(Ctl::StatusPanel, "Scratchpad Memory Scan");
  ctx.scan.ScanKind = 2;
  Run("?");
  EXPECT_EQ(std::tuple(panel[Ctl::StatusPanel].caption, ctx.scan.ScanKind), std::tuple("Scratchpad Memory Scan", 0));

  // After the goodbye the words still work, but nothing goes back.
  Settle();
  Run("Bye");
  EXPECT_FALSE(ctx.flags.RemoteControlOn);
  Run("T+");
  Run("*9575*Station*Place*English*0000*2400*");
  EXPECT_EQ(std::tuple(state.Freq, transport.sent.empty()), std::tuple(15005.0, true));
}

TEST_F(CommandDispatcherTest, HelloLeavesTheScanResetToTheScanEngineWhenItIsThere) {
  int resets = 0;
  dispatcher.resetScanForCompanion = [&] {
    ++resets;
    EXPECT_EQ(state.StepHz, 500);  // before the step changes
  };
  ctx.scan.ScanKind = 4;
  Run("?");
  // Ending the scan and forgetting the kind are the hook's job now.
  EXPECT_EQ(std::tuple(resets, ctx.scan.ScanKind, endScanCalls, state.StepHz), std::tuple(1, 4, 0, 5000));
}

TEST_F(CommandDispatcherTest, WordsThatDoNothing) {
  ctx.flags.BroadcastActive = true;  // a broadcast ignores every word
  for (const char* word : {"?", "T+", "F-", "+9575", "S+", "MS", "USB", "Mt", "Rcl"}) ExpectNothingSentOrChanged(word);
  EXPECT_EQ(std::tuple(ctx.flags.RemoteControlOn, ctx.flags.MeterHiSens), std::tuple(false, false));
  ctx.flags.BroadcastActive = false;
  ExpectNothingSentOrChanged("Rcl");  // no last frequency yet
  Hello();  // words match exactly and case-sensitively
  for (const char* word : {"u+", "t+", "rcl", "RCL", "g1", "G4", "S", "S++", " S+", "S+ ", "usb", "Usb", "F",
                           "F+x", "P", "px", "PX", "I", "R ", "r", "mt", "MT", "bye", "BYE", "? ", "", "x*",
                           "R*", "Bye!"})
    ExpectNothingSentOrChanged(word);
  EXPECT_TRUE(ctx.flags.RemoteControlOn);

  // Words that would move a setting past its end.
  const struct {
    const char* word;
    std::function<void()> setUp;
  } ends[] = {
      {"F+", [this] { controls.SelectFilter(0); }},     {"F-", [this] { controls.SelectFilter(23); }},
      {"P+", [this] { state.PBT = 2000; }},              {"P+", [this] { state.PBT = 1975; }},
      {"P-", [this] { state.PBT = -2000; }},             {"P-", [this] { state.PBT = -1975; }},
      {"I+", [this] { tuning.SetTuningStep(10000); }},   {"I-", [this] { tuning.SetTuningStep(1); }},
  };
  for (const auto& c : ends) {
    SCOPED_TRACE(c.word);
    c.setUp();
    Settle();
    ExpectNothingSentOrChanged(c.word);
  }
}

// ---- Words that stand for a control -----------------------------------------

// Each word through the control it stands for: what it changes, what goes on
// the wire and how many reports go back.
TEST_F(CommandDispatcherTest, EachWordActsAsItsControl) {
  enum Sends { Tuning, Volume, Nothing };
  const auto filter = [this] { return int(state.FilterIndex); };
  const auto pbt = [this] { return int(state.PBT); };
  const auto agc = [this] { return int(state.AGC); };
  const auto step = [this] { return state.StepHz; };
  const auto hz = [this] { return static_cast<int>(std::lround(state.Freq * 1000)); };
  const auto mutes = [this] { return state.SpkrMute * 10 + state.LineMute; };
  const struct {
    const char* word;
    std::function<void()> setUp;
    std::function<int()> value;
    int expected;
    Sends sends;
    std::size_t reports;
    const char* inReport;
  } cases[] = {
      {"F-", nullptr, filter, 2, Tuning, 1, "*AM*5400*"},
      {"F+", [this] { controls.SelectFilter(5); }, filter, 4, Tuning, 1, "*AM*4800*"},
      {"Px", nullptr, pbt, 0, Tuning, 1, nullptr},  // tunes even at zero
      {"Px", [this] { state.PBT = 150; }, pbt, 0, Tuning, 1, nullptr},
      {"P+", nullptr, pbt, 50, Tuning, 1, "*50*"},
      {"P+", [this] { state.PBT = 1950; }, pbt, 2000, Tuning, 1, nullptr},  // up to the limit
      {"P-", nullptr, pbt, -50, Tuning, 1, "*-50*"},
      {"G1", nullptr, agc, 1, Tuning, 1, "*S*"},
      {"G2", [this] { controls.AGCBtnClick(3); }, agc, 2, Tuning, 1, "*M*"},
      {"G3", nullptr, agc, 3, Tuning, 1, "*F*"},
      {"T+", nullptr, hz, 15005000, Tuning, 1, nullptr},
      {"T-", nullptr, hz, 14995000, Tuning, 1, nullptr},
      {"R", [this] { state.Freq = 15002.61; }, hz, 15005000, Tuning, 1, nullptr},
      {"I+", nullptr, step, 10000, Nothing, 1, "*10000*"},
      {"I+", [this] { state.NineKHzSteps = 1; }, step, 9000, Nothing, 1, "*9000*"},
      {"I-", nullptr, step, 3000, Nothing, 1, "*3000*"},
      {"I-", [this] { tuning.SetTuningStep(10); }, step, 1, Nothing, 1, "*1*"},
      {"Mt", nullptr, [this] { return int(ctx.flags.MeterHiSens); }, 1, Nothing, 1, "*Hi*"},
      {"S+", nullptr, [this] { return panel[Ctl::SpkrTrackbar].value; }, 19, Volume, 2, "*19*17*"},
      {"MS", nullptr, mutes, 10, Volume, 2, "*True*False*"},
      {"ML", nullptr, mutes, 1, Volume, 2, "*False*True*"},
      {"MB", nullptr, mutes, 11, Volume, 2, nullptr},
      {"MB", [this] { state.LineMute = 1; }, mutes, 10, Volume, 2, nullptr},  // each toggles on its own
  };
  state.MuteTogether = 1;  // the words never couple the mutes
  Hello();                 // step 5000, row 7
  const RadioState fresh = state;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    state = fresh;
    ctx.flags.MeterHiSens = false;
    if (c.setUp) c.setUp();
    Settle();
    Run(c.word);
    EXPECT_EQ(c.value(), c.expected);
    EXPECT_EQ(Units(), c.sends == Tuning ? Tuned() : c.sends == Volume ? Strings{Volumes()} : Strings{});
    ASSERT_EQ(transport.sent.size(), c.reports);
    EXPECT_NE(transport.sent.back().find(c.inReport ? c.inReport : "*"), std::string::npos) << transport.sent.back();
  }
}

// Trackbars move by two, up only below 50 and down only above 0; the volume
// is the position plus 13.
TEST_F(CommandDispatcherTest, VolumeWordsMoveTheTrackbarsWithinLimits) {
  const struct {
    const char* word;
    int spkrBefore, lineBefore, spkrAfter, lineAfter;
  } cases[] = {{"S+", 47, 17, 49, 17}, {"S+", 48, 17, 48, 17}, {"S-", 3, 17, 1, 17},   {"S-", 2, 17, 2, 17},
               {"L+", 17, 17, 17, 19}, {"L+", 17, 48, 17, 48}, {"L-", 17, 3, 17, 1},   {"L-", 17, 2, 17, 2},
               {"B+", 48, 10, 48, 12}, {"B+", 10, 48, 12, 48}, {"B+", 48, 49, 48, 49}, {"B-", 17, 30, 15, 28},
               {"B-", 2, 30, 2, 28},   {"B-", 2, 1, 2, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.word) + " " + std::to_string(c.spkrBefore) + "/" + std::to_string(c.lineBefore));
    SetTrackbars(c.spkrBefore, c.lineBefore);
    state.SpkrVolume = static_cast<std::uint8_t>(c.spkrBefore + 13);
    state.LineVolume = static_cast<std::uint8_t>(c.lineBefore + 13);
    Settle();
    Run(c.word);
    EXPECT_EQ(std::tuple(panel[Ctl::SpkrTrackbar].value, panel[Ctl::LineTrackbar].value, int(state.SpkrVolume),
                         int(state.LineVolume)),
              std::tuple(c.spkrAfter, c.lineAfter, c.spkrAfter + 13, c.lineAfter + 13));
    // A setting at its end sends nothing.
    const bool moved = c.spkrAfter != c.spkrBefore || c.lineAfter != c.lineBefore;
    const auto units = Units();
    EXPECT_EQ(units.empty() ? "" : units.back(),
              moved ? SpeakerVolumeCommand(c.spkrAfter + 13, false) + LineVolumeCommand(c.lineAfter + 13, false) : "");
  }
}

// As the mode button (checked with the button), then one tuning more (each
// tuning reports once).
TEST_F(CommandDispatcherTest, ModeWords) {
  const std::pair<const char*, int> cases[] = {{"USB", 1}, {"LSB", 2}, {"CW", 3}, {"AM", 0}};
  ctx.flags.RemoteControlOn = true;
  for (const auto& [word, mode] : cases) {
    SCOPED_TRACE(word);
    PanelRig reference;  // the mode button alone gives the reference count
    reference.controls.ModeBtnClick(mode);
    Settle();
    Run(word);
    EXPECT_EQ(std::tuple(int(state.Mode), panel[Ctl::StatusPanel].caption, static_cast<int>(transport.sent.size())),
              std::tuple(mode, word, reference.statusReports + 1));
    const auto units = Units();
    EXPECT_EQ(units.empty() ? "" : units.back(), state.TuningBytes());
  }
}

// Without a frequency list to locate in.
TEST_F(CommandDispatcherTest, RecallTogglesWithTheLastFrequency) {
  Hello();
  Run("+9575");
  Settle();
  Run("Rcl");
  EXPECT_EQ(std::tuple(state.Freq, Units()), std::tuple(15000.0, Tuned()));
  Run("Rcl");
  EXPECT_DOUBLE_EQ(state.Freq, 9575.0);
}

TEST_F(CommandDispatcherTest, ContinuousTuningStartsWithoutAStepAndStopStepsBack) {
  Hello();  // 5 kHz step
  Run("U+");
  const TuningFlags& f = tuning.flags;
  EXPECT_EQ(std::tuple(f.TuningActive, f.TuningDown, f.RemoteTuningStarted, tuningTimer.enabled(), state.Freq),
            std::tuple(true, false, true, true, 15000.0));
  EXPECT_EQ(std::tuple(tuningTimer.interval(), Units()), std::tuple(state.TuningSpeedMs, Strings{}));
  Run("U-");
  EXPECT_EQ(std::tuple(f.TuningActive, f.RemoteTuningStarted, tuningTimer.enabled(), state.Freq, Units()),
            std::tuple(false, false, false, 14995.0, Tuned()));
  Settle();
  Run("U-");  // nothing started: no step
  EXPECT_EQ(std::tuple(state.Freq, Units()), std::tuple(14995.0, Strings{}));

  Run("D+");
  EXPECT_EQ(std::tuple(f.TuningDown, tuningTimer.enabled(), state.Freq), std::tuple(true, true, 14995.0));
  Run("D-");
  EXPECT_EQ(std::tuple(tuningTimer.enabled(), state.Freq), std::tuple(false, 15000.0));
}

// ---- "+" words ------------------------------------------------------------------------

TEST_F(CommandDispatcherTest, PlusWordTunesAndLocates) {
  std::vector<double> located;
  dispatcher.locateInFrequencyList = [&](double freq) { located.push_back(freq); };
  Hello();
  Run("+9575");
  EXPECT_EQ(std::tuple(state.Freq, state.LastFreqRecord.freq, panel[Ctl::FreqDispPanel].caption, Units()),
            std::tuple(9575.0, 15000.0, "9575.000", Tuned()));
  ASSERT_EQ(transport.sent.size(), 1u);
  EXPECT_EQ(std::tuple(transport.sent[0].substr(0, 11), located),
            std::tuple("*9575.000*A", std::vector<double>{9575.0}));

  const struct {
    const char* word;
    char separator;
    double freq;  // 0: refused
  } cases[] = {{"+5", '.', 0},          {"+9.998", '.', 0},           {"+9.999", '.', 9.999},
               {"+10", '.', 10.0},      {"+29999.999", '.', 29999.999}, {"+30000", '.', 0},
               {"+29999.9991", '.', 0}, {"+9575.5", '.', 9575.5},       {"+9575,5", ',', 9575.5},
               {"+0", '.', 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    state.Freq = 15000.0;
    state.LastFreqRecord.valid = false;
    Settle();
    located.clear();
    ctx.decimalSeparator = c.separator;
    Run(c.word);
    const bool tuned = c.freq != 0;
    EXPECT_EQ(std::tuple(state.Freq, state.LastFreqRecord.valid, located.size(), Units()),
              std::tuple(tuned ? c.freq : 15000.0, tuned, tuned ? 1u : 0u, tuned ? Tuned() : Strings{}));
  }
}

TEST_F(CommandDispatcherTest, PlusWordThatIsNotANumberIsAConversionError) {
  for (const char* word : {"+abc", "+", "++9575"}) EXPECT_THROW(Run(word), ConversionError) << word;
  ctx.decimalSeparator = ',';
  EXPECT_THROW(Run("+9575.5"), ConversionError);  // a point is not this locale's separator
  EXPECT_EQ(std::tuple(state.Freq, Units().size()), std::tuple(15000.0, 0u));

  // Coming in from the companion the error goes to the error report, and the
  // link goes on working.
  ctx.decimalSeparator = '.';
  Hello();
  dispatcher.HandleIncomingWord("+9575x");
  ASSERT_EQ(reportedErrors.size(), 1u);
  EXPECT_EQ(std::tuple(reportedErrors[0].find("9575x") != std::string::npos, state.Freq, transport.sent.size()),
            std::tuple(true, 15000.0, 0u));
  dispatcher.HandleIncomingWord("T+");
  EXPECT_DOUBLE_EQ(state.Freq, 15005.0);
}

// ---- "*" words ---------------------------------------------------------------------

TEST(RemoteEntryParsing, Fields) {
  const struct {
    const char* word;
    bool accepted;
    RemoteEntryFields fields;
  } cases[] = {
      {"*9575*Station*Place*English*0000*2400*", true, {"9575", "Station", "Place", "English", "0000", "2400"}},
      // Without the final asterisk the sixth field loses its last character.
      {"*9575*Station*Place*English*0000*2400", true, {"9575", "Station", "Place", "English", "0000", "240"}},
      {"*1*2*3*4*", false, {}},
      {"*12345678*", false, {}},
      {"*9575*Station*Place*English*0000", false, {}},
      {"*9575*Station*Place*English*0000*", false, {}},
      {"*9575*Station*Place*English*0000*24*00*", false, {}},
      {"*9575*Station*Place*English*0000**", true, {"9575", "Station", "Place", "English", "0000", ""}},
      {"*9575*Station*Place*English*0000*2", true, {"9575", "Station", "Place", "English", "0000", ""}},
      // A field's first character is taken even if it is an asterisk; the
      // word's first character is never looked at.
      {"*9575**Name*Place*English*0000*2400*", true, {"9575", "*Name", "Place", "English", "0000", "2400"}},
      {"X9575*Station*Place*English*0000*2400*", true, {"9575", "Station", "Place", "English", "0000", "2400"}},
      {"*6070 *Radio One*Nowhere, ZZ*Eng*0100*0300*", true,
       {"6070 ", "Radio One", "Nowhere, ZZ", "Eng", "0100", "0300"}},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseRemoteEntryWord(c.word);
    EXPECT_EQ(parsed, c.accepted ? std::optional(c.fields) : std::nullopt) << c.word;
  }
}

class StarWordTest : public CommandDispatcherTest {
 protected:
  void Wire() {
    dispatcher.appendFrequencyEntry = [this](const RemoteEntry& entry) {
      added.push_back(entry);
      events.push_back("append:" + std::to_string(transport.sent.size()));
    };
    dispatcher.sortFrequencyListByFrequency = [this] {
      events.push_back("sort:" + std::to_string(transport.sent.size()));
    };
    dispatcher.locateInFrequencyList = [this](double freq) {
      events.push_back("locate:" + std::to_string(static_cast<int>(freq)));
    };
  }
  std::vector<RemoteEntry> added;
  Strings events;
};

TEST_F(StarWordTest, WithoutAListOrMalformedTheWordIsAnsweredNo) {
  Hello();
  Run("*9575*Station*Place*English*0000*2400*");  // no frequency list
  EXPECT_EQ(transport.sent, Strings{"NO"});
  Wire();
  for (const char* word : {"*", "*9575*", "*1*2*3*4*", "*9575*Station*Place*English*0000",
                           "*9575*Station*Place*English*0000*24*00*"}) {
    transport.sent.clear();
    Run(word);
    EXPECT_EQ(transport.sent, Strings{"NO"}) << word;
  }
  EXPECT_EQ(std::tuple(state.Freq, added.size(), Units().size()), std::tuple(15000.0, 0u, 0u));
}

TEST_F(StarWordTest, AcceptedWordAddsAnswersOkSortsAndTunes) {
  Wire();
  controls.SelectFilter(13);
  state.AGC = 3, state.PBT = -100, state.Mode = 1;
  Hello();  // step row 7
  Run("*9575*Station*Place*English*0000*2400*");
  ASSERT_EQ(added.size(), 1u);
  const RemoteEntry& e = added[0];
  EXPECT_EQ(Strings({e.freq, e.name, e.location, e.language, e.onAir, e.offAir, e.mode, e.agc, e.notes, e.spare,
                     e.lockout}),
            Strings({"9575", "Station", "Place", "English", "0000", "2400", "USB", "3", "Notes", "0", "0"}));
  EXPECT_EQ(std::vector<int>({e.filter, e.pbt, e.step, e.stepIndex, e.filterIndex}),
            std::vector<int>({2550, -100, 5000, 7, 13}));
  // Added before the answer; sorted after it; then tuned and located.
  EXPECT_EQ(events, (Strings{"append:0", "sort:1", "locate:9575"}));
  ASSERT_EQ(transport.sent.size(), 2u);
  EXPECT_EQ(std::tuple(transport.sent[0], transport.sent[1].substr(0, 14)), std::tuple("OK", "*9575.000*USB*"));
  EXPECT_EQ(Units(), Tuned());

  // Outside the tuning range: added but not tuned.
  Settle();
  events.clear();
  Run("*5*Station*Place*English*0000*2400*");
  EXPECT_EQ(std::tuple(transport.sent, state.Freq, events),
            std::tuple(Strings{"OK"}, 9575.0, Strings{"append:0", "sort:1"}));
  // A first field that is no number fails after the entry is added.
  transport.sent.clear();
  EXPECT_THROW(Run("*abcd*Station*Place*English*0000*2400*"), ConversionError);
  EXPECT_EQ(std::tuple(added.size(), transport.sent), std::tuple(3u, Strings{"OK"}));
}

TEST_F(StarWordTest, AgcColumnModeAndTopStepRow) {
  for (const auto& [agc, column] : {std::pair{1, "1"}, std::pair{2, "2"}, std::pair{0, "2"}, std::pair{3, "3"}}) {
    state.AGC = agc;
    EXPECT_EQ(dispatcher.MakeRemoteEntry({}).agc, column) << agc;
  }
  state.StepIndex = 8, state.NineKHzSteps = 1;
  // The entry's step is the table's value of the row, without the 9 kHz swap.
  EXPECT_EQ(dispatcher.MakeRemoteEntry({}).step, StepTable[8].stepHz);
  state.Mode = 3;
  EXPECT_EQ(dispatcher.MakeRemoteEntry({}).mode, "CW");
}

}  // namespace
}  // namespace ondaris
