#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "platform/CompanionTransport.h"
#include "radio/CommandDispatcher.h"
#include "radio/Rx320Protocol.h"
#include "radio/StepTable.h"
#include "support/PanelFixture.h"

namespace ondaris {
namespace {

// Records what would have gone to the companion.
class FakeCompanionTransport : public CompanionTransport {
 public:
  bool listen(std::string&) override {
    listening = true;
    return true;
  }
  void close() override { listening = false; }
  void send(const std::string& text) override { sent.push_back(text); }

  bool listening = false;
  std::vector<std::string> sent;
};

const std::string ExampleReport = "*15000.000*AM*6000*500*0*17*17*False*False*Lo*M*";

class CommandDispatcherTest : public PanelFixture {
 protected:
  CommandDispatcherTest() {
    panel.setValue(Ctl::SpkrTrackbar, 17);
    panel.setValue(Ctl::LineTrackbar, 17);
  }

  void Run(const std::string& word) { dispatcher.ExecuteRemoteCommand(word); }
  // The companion says hello; what that sent is forgotten.
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
  std::vector<std::string> Units() {
    EXPECT_TRUE(flushLine());
    return sentUnits();
  }
  void ExpectNothingSentOrChanged(const std::string& word) {
    const RadioState before = state;
    Run(word);
    EXPECT_TRUE(Units().empty()) << word;
    EXPECT_TRUE(transport.sent.empty()) << word;
    EXPECT_EQ(state.Freq, before.Freq) << word;
    EXPECT_EQ(state.FilterIndex, before.FilterIndex) << word;
    EXPECT_EQ(state.Mode, before.Mode) << word;
    EXPECT_EQ(state.StepIndex, before.StepIndex) << word;
    EXPECT_EQ(state.PBT, before.PBT) << word;
    EXPECT_EQ(state.SpkrVolume, before.SpkrVolume) << word;
    EXPECT_EQ(state.LineVolume, before.LineVolume) << word;
    EXPECT_EQ(state.SpkrMute, before.SpkrMute) << word;
    EXPECT_EQ(state.LineMute, before.LineMute) << word;
  }
  std::string Volumes() const {
    return SpeakerVolumeCommand(state.SpkrVolume, state.SpkrMute != 0) +
           LineVolumeCommand(state.LineVolume, state.LineMute != 0);
  }

  FakeCompanionTransport transport;
  CommandDispatcher dispatcher{ctx, receiver, controls, tuning, meter, transport};
};

// ---- Status report ---------------------------------------------------------

TEST_F(CommandDispatcherTest, StatusReportOfTheExampleHas48Characters) {
  const std::string report = dispatcher.StatusReport();
  EXPECT_EQ(report, ExampleReport);
  EXPECT_EQ(report.size(), 48u);
}

TEST_F(CommandDispatcherTest, StatusReportUsesTheLocaleSeparator) {
  ctx.decimalSeparator = ',';
  EXPECT_EQ(dispatcher.StatusReport(), "*15000,000*AM*6000*500*0*17*17*False*False*Lo*M*");
}

TEST_F(CommandDispatcherTest, StatusReportFields) {
  const struct {
    void (*change)(RadioState&, PanelModel&, PanelFlags&);
    const char* report;
  } cases[] = {
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.Freq = 9575.125; s.Mode = 1; s.SelectFilterRow(13); },
       "*9575.125*USB*2550*500*0*17*17*False*False*Lo*M*"},
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.Mode = 2; }, "*15000.000*LSB*6000*500*0*17*17*False*False*Lo*M*"},
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.Mode = 3; s.SelectFilterRow(23); },
       "*15000.000*CW*300*500*0*17*17*False*False*Lo*M*"},
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.StepIndex = 8; },
       "*15000.000*AM*6000*10000*0*17*17*False*False*Lo*M*"},
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.StepIndex = 8; s.NineKHzSteps = 1; },
       "*15000.000*AM*6000*9000*0*17*17*False*False*Lo*M*"},
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.StepIndex = 7; s.NineKHzSteps = 1; },
       "*15000.000*AM*6000*5000*0*17*17*False*False*Lo*M*"},
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.StepIndex = 0; s.StepHz = 500; },  // the row, not StepHz
       "*15000.000*AM*6000*1*0*17*17*False*False*Lo*M*"},
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.PBT = -150; },
       "*15000.000*AM*6000*500*-150*17*17*False*False*Lo*M*"},
      {[](RadioState& s, PanelModel& p, PanelFlags&) {  // the report shows positions, not volumes
         s.SpkrVolume = 63;
         p.setValue(Ctl::SpkrTrackbar, 0);
         p.setValue(Ctl::LineTrackbar, 50);
       },
       "*15000.000*AM*6000*500*0*0*50*False*False*Lo*M*"},
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.SpkrMute = 1; s.LineMute = 1; },
       "*15000.000*AM*6000*500*0*17*17*True*True*Lo*M*"},
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.LineMute = 1; },
       "*15000.000*AM*6000*500*0*17*17*False*True*Lo*M*"},
      {[](RadioState&, PanelModel&, PanelFlags& f) { f.MeterHiSens = true; },
       "*15000.000*AM*6000*500*0*17*17*False*False*Hi*M*"},
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.AGC = 3; }, "*15000.000*AM*6000*500*0*17*17*False*False*Lo*F*"},
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.AGC = 1; }, "*15000.000*AM*6000*500*0*17*17*False*False*Lo*S*"},
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.AGC = 0; }, "*15000.000*AM*6000*500*0*17*17*False*False*Lo**"},
      {[](RadioState& s, PanelModel&, PanelFlags&) { s.Freq = 100.0; }, "*100.000*AM*6000*500*0*17*17*False*False*Lo*M*"},
  };
  const RadioState fresh = state;
  for (const auto& c : cases) {
    state = fresh;
    panel.setValue(Ctl::SpkrTrackbar, 17);
    panel.setValue(Ctl::LineTrackbar, 17);
    ctx.flags.MeterHiSens = false;
    c.change(state, panel, ctx.flags);
    EXPECT_EQ(dispatcher.StatusReport(), c.report);
  }
}

// ---- Sending ---------------------------------------------------------------

TEST_F(CommandDispatcherTest, InstallsItselfAsThePublisher) {
  ctx.flags.RemoteControlOn = true;
  ctx.PublishStatus();
  EXPECT_EQ(transport.sent, std::vector<std::string>{ExampleReport});
}

TEST_F(CommandDispatcherTest, NothingIsSentBeforeHello) {
  dispatcher.PublishStatus();
  dispatcher.SendToCompanion("OK");
  Run("T+");  // carried out, but not reported
  EXPECT_DOUBLE_EQ(state.Freq, 15000.5);
  EXPECT_TRUE(transport.sent.empty());
}

TEST_F(CommandDispatcherTest, SendToCompanionCutsToEighty) {
  ctx.flags.RemoteControlOn = true;
  dispatcher.SendToCompanion(std::string(80, 'a') + "bc");
  ASSERT_EQ(transport.sent.size(), 1u);
  EXPECT_EQ(transport.sent[0], std::string(80, 'a'));
}

TEST_F(CommandDispatcherTest, BroadcastSilencesTheLink) {
  ctx.flags.RemoteControlOn = true;
  ctx.flags.BroadcastActive = true;
  dispatcher.SendToCompanion("OK");
  dispatcher.PublishStatus();
  dispatcher.SendMeterReport(50);
  EXPECT_TRUE(transport.sent.empty());
}

TEST_F(CommandDispatcherTest, MeterReport) {
  ctx.flags.RemoteControlOn = true;
  dispatcher.SendMeterReport(42);
  dispatcher.SendMeterReport(0);
  dispatcher.SendMeterReport(99);
  EXPECT_EQ(transport.sent,
            (std::vector<std::string>{"42xxxxxxxxxxxxxxx", "0xxxxxxxxxxxxxxx", "99xxxxxxxxxxxxxxx"}));
}

TEST_F(CommandDispatcherTest, NoMeterReportWhileShuttingDownOrOff) {
  dispatcher.SendMeterReport(42);  // remote control off
  ctx.flags.RemoteControlOn = true;
  ctx.flags.ShuttingDown = true;
  dispatcher.SendMeterReport(42);
  EXPECT_TRUE(transport.sent.empty());
}

TEST_F(CommandDispatcherTest, TransportWordsReachTheDispatcher) {
  ASSERT_TRUE(transport.onWord);
  transport.onWord("T+");
  EXPECT_DOUBLE_EQ(state.Freq, 15000.5);
}

TEST_F(CommandDispatcherTest, DestructorRemovesItsHooks) {
  {
    FakeCompanionTransport other;
    auto second = std::make_unique<CommandDispatcher>(ctx, receiver, controls, tuning, meter, other);
    EXPECT_TRUE(ctx.publishStatus);
    EXPECT_TRUE(other.onWord);
    second.reset();
    EXPECT_FALSE(ctx.publishStatus);
    EXPECT_FALSE(other.onWord);
  }
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

  EXPECT_TRUE(ctx.flags.RemoteControlOn);
  EXPECT_TRUE(panel[Ctl::LookupBtn].enabled);
  for (Ctl kind : {Ctl::FileScanBtn, Ctl::MemScanBtn, Ctl::LimitScanBtn, Ctl::BandScanBtn})
    EXPECT_FALSE(panel[kind].pressed) << ControlName(kind);
  EXPECT_FALSE(panel[Ctl::ScanBtn].pressed);
  EXPECT_TRUE(panel[Ctl::NowBtn].enabled);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "");
  EXPECT_EQ(ctx.scan.ScanKind, 0);
  EXPECT_FALSE(tuning.flags.TuningActive);
  EXPECT_EQ(endScanCalls, 1);
  EXPECT_EQ(state.StepHz, 5000);
  EXPECT_EQ(state.StepIndex, 7);
  EXPECT_TRUE(panel[Ctl::StepBtn5000].pressed);
  // SetTuningStep reports, then the hello's own report; then the window goes.
  const std::string report = "*15000.000*AM*6000*5000*0*17*17*False*False*Lo*M*";
  EXPECT_EQ(transport.sent, (std::vector<std::string>{report, report}));
  EXPECT_EQ(minimized, 1);
  EXPECT_EQ(sentAtMinimize, 2u);
}

TEST_F(CommandDispatcherTest, HelloKeepsTheStatusLineUnlessALimitOrBandScanWasChosen) {
  panel.setCaption(Ctl::StatusPanel, "Scratchpad Memory Scan");
  ctx.scan.ScanKind = 2;
  Run("?");
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Scratchpad Memory Scan");
  EXPECT_EQ(ctx.scan.ScanKind, 0);
}

TEST_F(CommandDispatcherTest, HelloLeavesTheScanResetToTheScanEngineWhenItIsThere) {
  std::vector<std::string> order;
  dispatcher.resetScanForCompanion = [&] {
    order.push_back("reset");
    EXPECT_EQ(state.StepHz, 500);  // before the step changes
  };
  ctx.scan.ScanKind = 4;
  Run("?");
  EXPECT_EQ(order, std::vector<std::string>{"reset"});
  EXPECT_EQ(ctx.scan.ScanKind, 4);  // the hook's job now
  EXPECT_EQ(endScanCalls, 0);
  EXPECT_EQ(state.StepHz, 5000);
}

TEST_F(CommandDispatcherTest, ByeTurnsTheLinkOffButWordsStillWork) {
  Hello();
  Run("Bye");
  EXPECT_FALSE(ctx.flags.RemoteControlOn);
  Run("T+");
  Run("*9575*Station*Place*English*0000*2400*");
  EXPECT_DOUBLE_EQ(state.Freq, 15005.0);
  EXPECT_TRUE(transport.sent.empty());
}

TEST_F(CommandDispatcherTest, BroadcastIgnoresEveryWord) {
  ctx.flags.BroadcastActive = true;
  for (const char* word : {"?", "T+", "F-", "+9575", "S+", "MS", "USB", "Mt", "Rcl"}) {
    ExpectNothingSentOrChanged(word);
  }
  EXPECT_FALSE(ctx.flags.RemoteControlOn);
  EXPECT_FALSE(ctx.flags.MeterHiSens);
}

TEST_F(CommandDispatcherTest, WordsMatchExactlyAndCaseSensitively) {
  Hello();
  for (const char* word : {"u+", "t+", "rcl", "RCL", "g1", "G4", "S", "S++", " S+", "S+ ", "usb", "Usb", "F",
                           "F+x", "P", "px", "PX", "I", "R ", "r", "mt", "MT", "bye", "BYE", "? ", "", "x*",
                           "R*", "Bye!"}) {
    ExpectNothingSentOrChanged(word);
  }
  EXPECT_TRUE(ctx.flags.RemoteControlOn);
}

// ---- Filters ----------------------------------------------------------------

// Words that would move a setting past its end change nothing and send nothing.
TEST_F(CommandDispatcherTest, WordsAtTheEndOfTheirRangeDoNothing) {
  const struct {
    const char* word;
    std::function<void()> setUp;
  } cases[] = {
      {"F+", [this] { controls.SelectFilter(0); }},
      {"F-", [this] { controls.SelectFilter(23); }},
      {"P+", [this] { state.PBT = 2000; }},
      {"P+", [this] { state.PBT = 1975; }},  // 2025 would be above the limit
      {"P-", [this] { state.PBT = -2000; }},
      {"P-", [this] { state.PBT = -1975; }},
      {"I+", [this] { tuning.SetTuningStep(10000); }},
      {"I-", [this] { tuning.SetTuningStep(1); }},
  };
  Hello();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    c.setUp();
    Settle();
    ExpectNothingSentOrChanged(c.word);
  }
}

TEST_F(CommandDispatcherTest, NarrowerAndWiderFilter) {
  Hello();
  Run("F-");
  EXPECT_EQ(state.FilterIndex, 2);
  EXPECT_EQ(state.Bandwidth, FilterTable[2].bandwidthHz);
  EXPECT_EQ(state.FilterCode, FilterTable[2].code);
  EXPECT_TRUE(panel[Ctl::FiltBtn2].pressed);
  EXPECT_EQ(Units(), std::vector<std::string>{state.TuningBytes()});
  ASSERT_EQ(transport.sent.size(), 1u);
  EXPECT_NE(transport.sent[0].find("*AM*5400*"), std::string::npos) << transport.sent[0];
  Settle();
  Run("F+");
  Run("F+");
  EXPECT_EQ(state.FilterIndex, 0);
  EXPECT_TRUE(panel[Ctl::FiltBtn0].pressed);
  const auto units = Units();
  ASSERT_FALSE(units.empty());
  EXPECT_EQ(units.back(), state.TuningBytes());
  EXPECT_EQ(transport.sent.size(), 2u);
}

// ---- Volumes ----------------------------------------------------------------

struct TrackbarCase {
  const char* word;
  int spkrBefore, lineBefore;
  int spkrAfter, lineAfter;
};

class TrackbarWords : public PanelParamFixture<TrackbarCase> {};

TEST_P(TrackbarWords, MoveByTwoWithinLimits) {
  FakeCompanionTransport transport;
  CommandDispatcher dispatcher(ctx, receiver, controls, tuning, meter, transport);
  const TrackbarCase& c = GetParam();
  panel.setValue(Ctl::SpkrTrackbar, c.spkrBefore);
  panel.setValue(Ctl::LineTrackbar, c.lineBefore);
  state.SpkrVolume = static_cast<std::uint8_t>(c.spkrBefore + 13);
  state.LineVolume = static_cast<std::uint8_t>(c.lineBefore + 13);
  ASSERT_TRUE(flushLine());
  clearRecords();

  dispatcher.ExecuteRemoteCommand(c.word);

  EXPECT_EQ(panel[Ctl::SpkrTrackbar].value, c.spkrAfter);
  EXPECT_EQ(panel[Ctl::LineTrackbar].value, c.lineAfter);
  EXPECT_EQ(state.SpkrVolume, c.spkrAfter + 13);
  EXPECT_EQ(state.LineVolume, c.lineAfter + 13);
  ASSERT_TRUE(flushLine());
  const int moves = (c.spkrAfter != c.spkrBefore) + (c.lineAfter != c.lineBefore);
  if (moves == 0) {
    EXPECT_TRUE(sentUnits().empty());
  } else {
    ASSERT_FALSE(sentUnits().empty());
    EXPECT_EQ(sentUnits().back(), SpeakerVolumeCommand(c.spkrAfter + 13, false) +
                                      LineVolumeCommand(c.lineAfter + 13, false));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, TrackbarWords,
    ::testing::Values(TrackbarCase{"S+", 17, 17, 19, 17}, TrackbarCase{"S+", 47, 17, 49, 17},
                      TrackbarCase{"S+", 48, 17, 48, 17},  // 50 is not below 50
                      TrackbarCase{"S+", 50, 17, 50, 17}, TrackbarCase{"S-", 17, 17, 15, 17},
                      TrackbarCase{"S-", 3, 17, 1, 17},
                      TrackbarCase{"S-", 2, 17, 2, 17},  // 0 is not above 0
                      TrackbarCase{"S-", 0, 17, 0, 17}, TrackbarCase{"L+", 17, 17, 17, 19},
                      TrackbarCase{"L+", 17, 48, 17, 48}, TrackbarCase{"L-", 17, 3, 17, 1},
                      TrackbarCase{"L-", 17, 2, 17, 2}, TrackbarCase{"B+", 17, 30, 19, 32},
                      TrackbarCase{"B+", 48, 10, 48, 12}, TrackbarCase{"B+", 10, 48, 12, 48},
                      TrackbarCase{"B+", 48, 49, 48, 49}, TrackbarCase{"B-", 17, 30, 15, 28},
                      TrackbarCase{"B-", 2, 30, 2, 28}, TrackbarCase{"B-", 2, 1, 2, 1}));

TEST_F(CommandDispatcherTest, VolumeChangeAfterHelloGivesTwoReports) {
  Hello();
  Run("S+");
  const std::string report = "*15000.000*AM*6000*5000*0*19*17*False*False*Lo*M*";
  EXPECT_EQ(transport.sent, (std::vector<std::string>{report, report}));
}

TEST_F(CommandDispatcherTest, BothVolumesMovingGivesTwoVolumeChanges) {
  Hello();
  Run("B+");
  EXPECT_EQ(transport.sent.size(), 4u);
  EXPECT_EQ(transport.sent.back(), "*15000.000*AM*6000*5000*0*19*19*False*False*Lo*M*");
}

TEST_F(CommandDispatcherTest, MuteWordsToggleWithoutCoupling) {
  state.MuteTogether = 1;
  Hello();
  Run("MS");
  EXPECT_EQ(state.SpkrMute, 1);
  EXPECT_EQ(state.LineMute, 0);
  EXPECT_EQ(panel[Ctl::SpkrMuteBtn].caption, "Spkr Mute");
  EXPECT_EQ(Units(), std::vector<std::string>{Volumes()});
  EXPECT_EQ(transport.sent.size(), 2u);
  EXPECT_NE(transport.sent.back().find("*True*False*"), std::string::npos);
  Settle();

  Run("ML");
  EXPECT_EQ(state.SpkrMute, 1);
  EXPECT_EQ(state.LineMute, 1);
  EXPECT_EQ(panel[Ctl::LineMuteBtn].caption, "Line Mute");
  EXPECT_EQ(Units(), std::vector<std::string>{Volumes()});
  Settle();

  Run("MB");
  EXPECT_EQ(state.SpkrMute, 0);
  EXPECT_EQ(state.LineMute, 0);
  Settle();
  state.LineMute = 1;
  Run("MB");  // each toggles on its own
  EXPECT_EQ(state.SpkrMute, 1);
  EXPECT_EQ(state.LineMute, 0);
  EXPECT_EQ(Units(), std::vector<std::string>{Volumes()});
}

// ---- Modes and AGC -----------------------------------------------------------

struct ModeCase {
  const char* word;
  int mode;
  int filterRow;
  int stepHz;
};

class ModeWords : public PanelParamFixture<ModeCase> {};

TEST_P(ModeWords, AsTheModeButtonThenTuneOnceMore) {
  const ModeCase& c = GetParam();
  // The mode button alone, on a panel of its own, gives the reference count of
  // tunings (each reports once).
  PanelRig reference;
  reference.controls.ModeBtnClick(c.mode);
  const int buttonReports = reference.statusReports;

  FakeCompanionTransport transport;
  CommandDispatcher dispatcher(ctx, receiver, controls, tuning, meter, transport);
  ctx.flags.RemoteControlOn = true;
  state.DataBFOActive = 1;
  dispatcher.ExecuteRemoteCommand(c.word);

  EXPECT_EQ(state.Mode, c.mode);
  EXPECT_EQ(state.DataBFOActive, 0);
  EXPECT_TRUE(panel[ModeButton(c.mode)].pressed);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, c.word);
  EXPECT_EQ(state.FilterIndex, c.filterRow);
  EXPECT_EQ(state.StepHz, c.stepHz);
  EXPECT_EQ(static_cast<int>(transport.sent.size()), buttonReports + 1);
  ASSERT_TRUE(flushLine());
  ASSERT_FALSE(sentUnits().empty());
  EXPECT_EQ(sentUnits().back(), state.TuningBytes());
}

INSTANTIATE_TEST_SUITE_P(All, ModeWords,
                         ::testing::Values(ModeCase{"USB", 1, 13, 1000}, ModeCase{"LSB", 2, 13, 1000},
                                           ModeCase{"CW", 3, 23, 1000}, ModeCase{"AM", 0, 1, 500}));

struct AgcCase {
  const char* word;
  int agc;
  Ctl button;
};

class AgcWords : public PanelParamFixture<AgcCase> {};

TEST_P(AgcWords, SetPressAndTune) {
  const AgcCase& c = GetParam();
  FakeCompanionTransport transport;
  CommandDispatcher dispatcher(ctx, receiver, controls, tuning, meter, transport);
  state.AGC = c.agc == 2 ? 3 : 2;
  panel.press(c.agc == 2 ? Ctl::AGCFastBtn : Ctl::AGCMedBtn);
  dispatcher.ExecuteRemoteCommand(c.word);
  EXPECT_EQ(state.AGC, c.agc);
  EXPECT_TRUE(panel[c.button].pressed);
  ASSERT_TRUE(flushLine());
  ASSERT_EQ(sentUnits().size(), 1u);
  EXPECT_EQ(sentUnits()[0], state.TuningBytes());
  EXPECT_EQ(sentUnits()[0].substr(sentUnits()[0].size() - 3), AgcCommand(c.agc));
}

INSTANTIATE_TEST_SUITE_P(All, AgcWords,
                         ::testing::Values(AgcCase{"G1", 1, Ctl::AGCSlowBtn}, AgcCase{"G2", 2, Ctl::AGCMedBtn},
                                           AgcCase{"G3", 3, Ctl::AGCFastBtn}));

// ---- Passband tuning -----------------------------------------------------------

TEST_F(CommandDispatcherTest, PbtUpDownAndCentre) {
  Hello();
  Run("P+");
  EXPECT_EQ(state.PBT, 50);
  EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, "50");
  EXPECT_EQ(Units(), std::vector<std::string>{state.TuningBytes()});
  EXPECT_EQ(transport.sent.size(), 1u);
  Settle();
  Run("P-");
  Run("P-");
  EXPECT_EQ(state.PBT, -50);
  EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, "-50");
  Settle();
  Run("Px");
  EXPECT_EQ(state.PBT, 0);
  EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, "0");
  EXPECT_EQ(Units(), std::vector<std::string>{state.TuningBytes()});
}

TEST_F(CommandDispatcherTest, PbtStepsUpToTheLimit) {
  Hello();
  state.PBT = 1950;
  Run("P+");
  EXPECT_EQ(state.PBT, 2000);
}

TEST_F(CommandDispatcherTest, PbtCentreTunesEvenAtZero) {
  Hello();
  Run("Px");
  EXPECT_EQ(Units(), std::vector<std::string>{state.TuningBytes()});
  EXPECT_EQ(transport.sent.size(), 1u);
}

// ---- Steps and frequency -------------------------------------------------------

TEST_F(CommandDispatcherTest, SingleSteps) {
  Hello();  // step 5000
  Run("T+");
  EXPECT_DOUBLE_EQ(state.Freq, 15005.0);
  EXPECT_EQ(Units(), std::vector<std::string>{state.TuningBytes()});
  Run("T-");
  Run("T-");
  EXPECT_DOUBLE_EQ(state.Freq, 14995.0);
}

TEST_F(CommandDispatcherTest, StepRowUpAndDown) {
  Hello();  // row 7
  Run("I+");
  EXPECT_EQ(state.StepIndex, 8);
  EXPECT_EQ(state.StepHz, 10000);
  EXPECT_TRUE(panel[Ctl::StepBtn10000].pressed);
  ASSERT_FALSE(transport.sent.empty());
  EXPECT_NE(transport.sent.back().find("*10000*"), std::string::npos);
  Run("I-");
  EXPECT_EQ(state.StepIndex, 7);
  EXPECT_EQ(state.StepHz, 5000);
}

TEST_F(CommandDispatcherTest, StepRowUpToNineKilohertz) {
  state.NineKHzSteps = 1;
  Hello();
  Run("I+");
  EXPECT_EQ(state.StepIndex, 8);
  EXPECT_EQ(state.StepHz, 9000);
  EXPECT_NE(transport.sent.back().find("*9000*"), std::string::npos);
}

TEST_F(CommandDispatcherTest, StepRowDownReachesRowZero) {
  Hello();
  tuning.SetTuningStep(10);
  Settle();
  Run("I-");
  EXPECT_EQ(state.StepIndex, 0);
  EXPECT_EQ(state.StepHz, 1);
}

TEST_F(CommandDispatcherTest, RoundOnce) {
  tuning.SetTuningStep(1000);
  state.Freq = 9575.61;
  Run("R");
  EXPECT_DOUBLE_EQ(state.Freq, 9576.0);
  EXPECT_TRUE(state.LastFreqRecord.valid);
  EXPECT_DOUBLE_EQ(state.LastFreqRecord.freq, 9576.0);
  EXPECT_EQ(Units().back(), state.TuningBytes());
}

TEST_F(CommandDispatcherTest, RecallTogglesWithTheLastFrequency) {
  Run("+9575");
  EXPECT_DOUBLE_EQ(state.Freq, 9575.0);
  Run("Rcl");
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  EXPECT_EQ(Units().back(), state.TuningBytes());
  Run("Rcl");
  EXPECT_DOUBLE_EQ(state.Freq, 9575.0);
}

TEST_F(CommandDispatcherTest, RecallWithoutALastFrequencyDoesNothing) {
  ExpectNothingSentOrChanged("Rcl");
}

TEST_F(CommandDispatcherTest, MeterSensitivityToggle) {
  Hello();
  Run("Mt");
  EXPECT_TRUE(ctx.flags.MeterHiSens);
  ASSERT_EQ(transport.sent.size(), 1u);
  EXPECT_NE(transport.sent[0].find("*Hi*"), std::string::npos);
  Run("Mt");
  EXPECT_FALSE(ctx.flags.MeterHiSens);
  EXPECT_NE(transport.sent.back().find("*Lo*"), std::string::npos);
}

// ---- Continuous tuning -----------------------------------------------------------

TEST_F(CommandDispatcherTest, UpStartsWithoutAStepAndStopStepsBack) {
  Hello();  // 5 kHz step
  Run("U+");
  EXPECT_TRUE(tuning.flags.TuningActive);
  EXPECT_FALSE(tuning.flags.TuningDown);
  EXPECT_TRUE(tuning.flags.RemoteTuningStarted);
  EXPECT_TRUE(tuningTimer.enabled());
  EXPECT_EQ(tuningTimer.interval(), state.TuningSpeedMs);
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  EXPECT_TRUE(Units().empty());

  Run("U-");
  EXPECT_FALSE(tuning.flags.TuningActive);
  EXPECT_FALSE(tuningTimer.enabled());
  EXPECT_FALSE(tuning.flags.RemoteTuningStarted);
  EXPECT_DOUBLE_EQ(state.Freq, 14995.0);
  EXPECT_EQ(Units(), std::vector<std::string>{state.TuningBytes()});

  // A second stop finds nothing started and does not step.
  Settle();
  Run("U-");
  EXPECT_DOUBLE_EQ(state.Freq, 14995.0);
  EXPECT_TRUE(Units().empty());
}

TEST_F(CommandDispatcherTest, DownStartsWithoutAStepAndStopStepsBack) {
  Hello();
  Run("D+");
  EXPECT_TRUE(tuning.flags.TuningActive);
  EXPECT_TRUE(tuning.flags.TuningDown);
  EXPECT_TRUE(tuningTimer.enabled());
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  Run("D-");
  EXPECT_FALSE(tuning.flags.TuningActive);
  EXPECT_FALSE(tuningTimer.enabled());
  EXPECT_DOUBLE_EQ(state.Freq, 15005.0);
}

// ---- "+" words ------------------------------------------------------------------------

TEST_F(CommandDispatcherTest, PlusWordTunes) {
  double located = 0;
  int locateCalls = 0;
  dispatcher.locateInFrequencyList = [&](double freq) {
    located = freq;
    ++locateCalls;
  };
  Hello();
  Run("+9575");
  EXPECT_DOUBLE_EQ(state.Freq, 9575.0);
  EXPECT_TRUE(state.LastFreqRecord.valid);
  EXPECT_DOUBLE_EQ(state.LastFreqRecord.freq, 15000.0);
  EXPECT_EQ(panel[Ctl::FreqDispPanel].caption, "9575.000");
  EXPECT_EQ(Units(), std::vector<std::string>{state.TuningBytes()});
  ASSERT_EQ(transport.sent.size(), 1u);
  EXPECT_EQ(transport.sent[0].substr(0, 11), "*9575.000*A");
  EXPECT_EQ(locateCalls, 1);
  EXPECT_DOUBLE_EQ(located, 9575.0);
}

struct PlusCase {
  const char* word;
  char separator;
  bool tunes;
  double freq;
};

class PlusWords : public PanelParamFixture<PlusCase> {};

TEST_P(PlusWords, Range) {
  const PlusCase& c = GetParam();
  FakeCompanionTransport transport;
  CommandDispatcher dispatcher(ctx, receiver, controls, tuning, meter, transport);
  int locateCalls = 0;
  dispatcher.locateInFrequencyList = [&](double) { ++locateCalls; };
  ctx.decimalSeparator = c.separator;
  dispatcher.ExecuteRemoteCommand(c.word);
  ASSERT_TRUE(flushLine());
  if (c.tunes) {
    EXPECT_DOUBLE_EQ(state.Freq, c.freq);
    EXPECT_EQ(sentUnits(), std::vector<std::string>{state.TuningBytes()});
    EXPECT_EQ(locateCalls, 1);
  } else {
    EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
    EXPECT_FALSE(state.LastFreqRecord.valid);
    EXPECT_TRUE(sentUnits().empty());
    EXPECT_EQ(locateCalls, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, PlusWords,
    ::testing::Values(PlusCase{"+5", '.', false, 0}, PlusCase{"+9.998", '.', false, 0},
                      PlusCase{"+9.999", '.', true, 9.999}, PlusCase{"+10", '.', true, 10.0},
                      PlusCase{"+29999.999", '.', true, 29999.999}, PlusCase{"+30000", '.', false, 0},
                      PlusCase{"+29999.9991", '.', false, 0}, PlusCase{"+9575.5", '.', true, 9575.5},
                      PlusCase{"+9575,5", ',', true, 9575.5}, PlusCase{"+0", '.', false, 0}));

TEST_F(CommandDispatcherTest, PlusWordThatIsNotANumberIsAConversionError) {
  EXPECT_THROW(Run("+abc"), ConversionError);
  EXPECT_THROW(Run("+"), ConversionError);
  EXPECT_THROW(Run("++9575"), ConversionError);
  ctx.decimalSeparator = ',';
  EXPECT_THROW(Run("+9575.5"), ConversionError);  // a point is not this locale's separator
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  EXPECT_TRUE(Units().empty());
}

TEST_F(CommandDispatcherTest, IncomingConversionErrorGoesToTheErrorReport) {
  Hello();
  dispatcher.HandleIncomingWord("+9575x");
  ASSERT_EQ(reportedErrors.size(), 1u);
  EXPECT_NE(reportedErrors[0].find("9575x"), std::string::npos);
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  EXPECT_TRUE(transport.sent.empty());
  // The link goes on working.
  dispatcher.HandleIncomingWord("T+");
  EXPECT_DOUBLE_EQ(state.Freq, 15005.0);
}

TEST_F(CommandDispatcherTest, FilterWordsComeBeforeThePlusRule) {
  Hello();
  EXPECT_NO_THROW(Run("F+"));
  EXPECT_EQ(state.FilterIndex, 0);
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
}

// ---- "*" words ---------------------------------------------------------------------

struct ParseCase {
  const char* name;
  const char* word;
  bool accepted;
  RemoteEntryFields fields;
};

class RemoteEntryParsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(RemoteEntryParsing, Fields) {
  const auto parsed = ParseRemoteEntryWord(GetParam().word);
  ASSERT_EQ(parsed.has_value(), GetParam().accepted);
  if (parsed) {
    EXPECT_EQ(*parsed, GetParam().fields);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Words, RemoteEntryParsing,
    ::testing::Values(
        ParseCase{"Example", "*9575*Station*Place*English*0000*2400*", true,
                  {"9575", "Station", "Place", "English", "0000", "2400"}},
        ParseCase{"WithoutFinalAsteriskF6LosesItsLastCharacter", "*9575*Station*Place*English*0000*2400", true,
                  {"9575", "Station", "Place", "English", "0000", "240"}},
        ParseCase{"ShorterThanTen", "*1*2*3*4*", false, {}},
        ParseCase{"TenCharactersButTooFewFields", "*12345678*", false, {}},
        ParseCase{"FiveFieldsOnly", "*9575*Station*Place*English*0000", false, {}},
        ParseCase{"EndsRightAfterFifthField", "*9575*Station*Place*English*0000*", false, {}},
        ParseCase{"AsteriskInsideSixth", "*9575*Station*Place*English*0000*24*00*", false, {}},
        ParseCase{"SixthEmpty", "*9575*Station*Place*English*0000**", true,
                  {"9575", "Station", "Place", "English", "0000", ""}},
        ParseCase{"SixthOfOneCharacterWithoutFinalAsterisk", "*9575*Station*Place*English*0000*2", true,
                  {"9575", "Station", "Place", "English", "0000", ""}},
        ParseCase{"FirstCharacterOfAFieldIsTakenEvenIfAsterisk", "*9575**Name*Place*English*0000*2400*", true,
                  {"9575", "*Name", "Place", "English", "0000", "2400"}},
        ParseCase{"FirstCharacterIsNeverLooked", "X9575*Station*Place*English*0000*2400*", true,
                  {"9575", "Station", "Place", "English", "0000", "2400"}},
        ParseCase{"SpacesKept", "*6070 *Radio One*Nowhere, ZZ*Eng*0100*0300*", true,
                  {"6070 ", "Radio One", "Nowhere, ZZ", "Eng", "0100", "0300"}}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST_F(CommandDispatcherTest, StarWordWithoutAFrequencyListIsAnsweredNo) {
  Hello();
  Run("*9575*Station*Place*English*0000*2400*");
  EXPECT_EQ(transport.sent, std::vector<std::string>{"NO"});
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  EXPECT_TRUE(Units().empty());
}

class StarWordTest : public CommandDispatcherTest {
 protected:
  StarWordTest() {
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
  std::vector<std::string> events;
};

TEST_F(StarWordTest, MalformedWordsAreAnsweredNoAndChangeNothing) {
  Hello();
  for (const char* word : {"*", "*9575*", "*1*2*3*4*", "*9575*Station*Place*English*0000",
                           "*9575*Station*Place*English*0000*24*00*"}) {
    transport.sent.clear();
    const double freq = state.Freq;
    Run(word);
    EXPECT_EQ(transport.sent, std::vector<std::string>{"NO"}) << word;
    EXPECT_DOUBLE_EQ(state.Freq, freq);
  }
  EXPECT_TRUE(added.empty());
  EXPECT_TRUE(Units().empty());
}

TEST_F(StarWordTest, AcceptedWordAddsAnswersOkSortsAndTunes) {
  controls.SelectFilter(13);
  state.AGC = 3;
  state.PBT = -100;
  state.Mode = 1;
  Hello();  // step row 7
  Run("*9575*Station*Place*English*0000*2400*");

  ASSERT_EQ(added.size(), 1u);
  const RemoteEntry& e = added[0];
  EXPECT_EQ(e.freq, "9575");
  EXPECT_EQ(e.name, "Station");
  EXPECT_EQ(e.location, "Place");
  EXPECT_EQ(e.language, "English");
  EXPECT_EQ(e.onAir, "0000");
  EXPECT_EQ(e.offAir, "2400");
  EXPECT_EQ(e.mode, "USB");
  EXPECT_EQ(e.filter, 2550);
  EXPECT_EQ(e.agc, "3");
  EXPECT_EQ(e.pbt, -100);
  EXPECT_EQ(e.step, 5000);
  EXPECT_EQ(e.stepIndex, 7);
  EXPECT_EQ(e.filterIndex, 13);
  EXPECT_EQ(e.notes, "Notes");
  EXPECT_EQ(e.spare, "0");
  EXPECT_EQ(e.lockout, "0");

  // Added before the answer; sorted after it; then tuned and located.
  EXPECT_EQ(events, (std::vector<std::string>{"append:0", "sort:1", "locate:9575"}));
  ASSERT_EQ(transport.sent.size(), 2u);
  EXPECT_EQ(transport.sent[0], "OK");
  EXPECT_EQ(transport.sent[1].substr(0, 14), "*9575.000*USB*");
  EXPECT_DOUBLE_EQ(state.Freq, 9575.0);
  EXPECT_EQ(Units(), std::vector<std::string>{state.TuningBytes()});
}

TEST_F(StarWordTest, AgcColumnAndTopStepRow) {
  state.AGC = 1;
  EXPECT_EQ(dispatcher.MakeRemoteEntry({}).agc, "1");
  state.AGC = 2;
  EXPECT_EQ(dispatcher.MakeRemoteEntry({}).agc, "2");
  state.AGC = 0;
  EXPECT_EQ(dispatcher.MakeRemoteEntry({}).agc, "2");
  state.StepIndex = 8;
  state.NineKHzSteps = 1;
  // The entry's step is the table's value of the row, without the 9 kHz swap.
  EXPECT_EQ(dispatcher.MakeRemoteEntry({}).step, StepTable[8].stepHz);
  state.Mode = 3;
  EXPECT_EQ(dispatcher.MakeRemoteEntry({}).mode, "CW");
}

TEST_F(StarWordTest, FrequencyOutsideTheTuningRangeIsAddedButNotTuned) {
  Hello();
  Run("*5*Station*Place*English*0000*2400*");
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(transport.sent, std::vector<std::string>{"OK"});
  EXPECT_DOUBLE_EQ(state.Freq, 15000.0);
  EXPECT_EQ(events, (std::vector<std::string>{"append:0", "sort:1"}));
}

TEST_F(StarWordTest, FirstFieldThatIsNotANumberFailsAfterTheEntryIsAdded) {
  Hello();
  EXPECT_THROW(Run("*abcd*Station*Place*English*0000*2400*"), ConversionError);
  EXPECT_EQ(added.size(), 1u);
  EXPECT_EQ(transport.sent, std::vector<std::string>{"OK"});
}

TEST_F(StarWordTest, StarRuleComesAfterR) {
  Hello();
  tuning.SetTuningStep(1000);
  state.Freq = 9575.61;
  Settle();
  Run("R");
  EXPECT_DOUBLE_EQ(state.Freq, 9576.0);
  EXPECT_TRUE(added.empty());
  EXPECT_EQ(std::count(transport.sent.begin(), transport.sent.end(), "NO"), 0);
}

}  // namespace
}  // namespace ondaris
