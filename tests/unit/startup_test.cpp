// Start-up and exit of the front panel over fake platform pieces and a
// real, private program folder.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/FrontPanel.h"
#include "common/Errors.h"
#include "common/ProgramDir.h"
#include "memories/Scratchpad.h"
#include "radio/Rx320Protocol.h"
#include "radio/StateFiles.h"
#include "support/FrontPanelRig.h"
#include "support/TempFolder.h"
#include "timekeeping/ClockController.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Ge;
using ::testing::Gt;
using ::testing::HasSubstr;
using ::testing::Le;
using Texts = std::vector<std::string>;
using Captions = std::vector<std::pair<Ctl, std::string>>;

// The four commands of a tuning as it would be sent.
std::string TuningFor(double freq, int mode, int filterRow, int agc, int pbt = 0) {
  RadioState s;
  s.Freq = freq, s.Mode = static_cast<std::uint8_t>(mode), s.AGC = agc, s.PBT = pbt;
  s.SelectFilterRow(filterRow);
  s.ComputeCalibration();
  return s.TuningBytes();
}

std::string VolumesFor(int spkr, int line, bool lineMute = false) {
  return SpeakerVolumeCommand(spkr, false) + LineVolumeCommand(line, lineMute);
}

void ExpectCaptions(const PanelModel& panel, const Captions& captions) {
  for (const auto& [c, caption] : captions) EXPECT_EQ(panel[c].caption, caption) << ControlName(c);
}

// The positions of trackbars and the like, in the order given.
std::vector<int> Values(const PanelModel& panel, std::initializer_list<Ctl> controls) {
  std::vector<int> values;
  for (Ctl c : controls) values.push_back(panel[c].value);
  return values;
}

// The names of the pressed buttons and checked items, in panel order.
std::string Pressed(const PanelModel& panel) {
  std::string names;
  for (int i = 0; i < ControlCount; ++i)
    if (panel[static_cast<Ctl>(i)].pressed) names += (names.empty() ? "" : " ") + std::string(ControlName(Ctl(i)));
  return names;
}

constexpr const char* AlbaLine =
    R"("Radio Alba",9.580000,AM,6000,2,5000,0,"Mountains","English","0000","2400","Notes",0,0)";
constexpr const char* CoastLine =
    R"("Coast",14.230500,USB,2550,2,100,0,"Seaside","English","0800","1200","Notes",0,0)";
const Texts FourMissing{MissingLimitsMessage, MissingScratchpadMessage, MissingTuningDatMessage,
                        MissingOndarisDatMessage};
constexpr const char* NoPort = "Unable to open com port (No such file or directory)";

class StartupTest : public ::testing::Test, public FrontPanelRig {
 protected:
  StartupTest() { clock.setUtc({2026, 3, 7, 12, 30, 0}); }

  FrontPanel& Make() {
    panel.reset();  // the old panel lets go of the shared timers first
    panel = std::make_unique<FrontPanel>(platform(), dir, '.');
    panel->onError = [this](const std::string& text) { windowErrors.push_back(text); };
    return *panel;
  }
  FrontPanel& Start() {
    Make().FormCreate();
    return *panel;
  }
  // Lets the line carry what is queued.
  void Flush() {
    timeline.advanceUntil([this] { return panel->link().queuedUnits() == 0; }, 5000);
  }
  std::string Sys(const std::string& name) const { return dir + "SysFiles/" + name; }
  RadioState Reread() {
    RadioState s;
    ReadOndarisDat(dir, s, messages);
    return s;
  }
  // Limits1.dat and Scratchpad.dat as a previous run leaves them, so that
  // only the files a test is about are missing.
  void WriteMemoryFiles() {
    fs::create_directories(dir + "SysFiles");
    LimitRangeList ranges;
    ranges.fill(DefaultLimitRange());
    WriteLimitRangesFile(Sys("Limits1.dat"), ranges);
    WriteScratchpadFile(Sys("Scratchpad.dat"), Scratchpad{});
  }

  TempFolder folder;
  std::string dir = folder.dir();
  std::unique_ptr<FrontPanel> panel;
  Texts windowErrors;
};

TEST_F(StartupTest, FirstStartInAnEmptyFolderThenTheMeterPollsAndTheClockRuns) {
  port.onWrite = [this](const std::string& bytes) {
    if (bytes == SignalStrengthQuery()) port.receive(std::string("X\x10\x00\r", 4));
  };
  FrontPanel& p = Start();
  // Limits1.dat, then Scratchpad.dat, then the receiver's two state files.
  EXPECT_EQ(messages.messages(), FourMissing);
  for (const std::string& folder : WorkingDirectories()) EXPECT_TRUE(fs::is_directory(dir + folder)) << folder;
  EXPECT_THAT(port.openedDevices(), ElementsAre("/dev/ttyS0"));  // the stored COM1
  EXPECT_EQ(std::tuple(p.context.flags.StartupComplete, companion.listening, meterTimer.interval(),
                       clockTimer.interval(), meterTimer.enabled(), clockTimer.enabled(), tuningTimer.enabled()),
            std::tuple(true, true, 200, 100, true, true, false));
  EXPECT_EQ(p.panel.title(), "15000");
  EXPECT_EQ(Pressed(p.panel), "FiltBtn1 AGCMedBtn ModeBtnAM StepBtn500 StopBtn MuteOnExitItem DefaultStepItem "
                              "DefaultFiltItem HintItem");
  ExpectCaptions(p.panel, {{Ctl::FreqDispPanel, "15000.000"}, {Ctl::VFOBtn, "VFO A"}, {ReopenItem(9), ""},
                           {LimitRangeItem(0), "Limit Range 1"}, {LimitRangeItem(19), "Limit Range 20"}});
  EXPECT_EQ(Values(p.panel, {Ctl::SpkrTrackbar, Ctl::LineTrackbar}), (std::vector{17, 17}));
  EXPECT_EQ(std::tuple(p.panel[Ctl::Meter].maximum, p.state.LastFreqRecord.freq, p.state.DataBFO),
            std::tuple(10000, 15000.0, 700));
  // No station list: the grid and the file and edit commands wait for one;
  // every limit range is free, every Reopen item empty.
  for (Ctl c : {Ctl::Grid, Ctl::SaveFileItem, Ctl::EditEntryItem, LimitRangeItem(0), LimitRangeItem(19),
                ReopenItem(0), ReopenItem(9)})
    EXPECT_FALSE(p.panel[c].enabled) << ControlName(c);

  Flush();
  EXPECT_THAT(sentUnits(), ElementsAre(VolumesFor(30, 30), TuningFor(15000.0, 0, 1, 2)));
  int minutes = 0;
  p.clock->everyMinute.push_back([&](const DateTime&, const DateTime&) { ++minutes; });
  const int before = meterQueriesSent();
  timeline.advanceBy(1000);
  EXPECT_THAT(meterQueriesSent() - before, AllOf(Ge(4), Le(5)));
  // Replies arrive through the link and move the meter; the clock shows UTC.
  EXPECT_EQ(std::tuple(p.panel[Ctl::Meter].value, p.panel[Ctl::TimePanel].caption, p.context.flags.ClockRunning,
                       p.clock->utcDateText()),
            std::tuple(4096, "12:30:01", true, "3/7/2026"));
  timeline.advanceBy(60000);
  EXPECT_EQ(minutes, 2);  // 12:30 (first tick) and 12:31
  EXPECT_EQ(p.panel[Ctl::StatusPanel].caption, "Bank 1:  ");  // the bank status is kept
  // An empty status line shows the version.
  p.panel.setCaption(Ctl::StatusPanel, "");
  timeline.advanceBy(100);
  EXPECT_EQ(p.panel[Ctl::StatusPanel].caption, "Ondaris Version 1.1");
}

// ---- What the state files hold at start-up -------------------------------------

struct StoredStart {
  const char* name;
  std::optional<RadioState> ondarisDat;  // none: no Ondaris.dat
  Texts tuningDat, messages, sent;
  std::function<void(const FrontPanel&)> check;
};
void PrintTo(const StoredStart& s, std::ostream* os) { *os << s.name; }

class StoredStartTest : public StartupTest, public ::testing::WithParamInterface<StoredStart> {};

TEST_P(StoredStartTest, IsAppliedAndSent) {
  const StoredStart& s = GetParam();
  WriteMemoryFiles();
  if (s.ondarisDat) WriteOndarisDat(dir, *s.ondarisDat);
  std::string tuningDat;
  for (const auto& line : s.tuningDat) tuningDat += line + "\r\n";
  WriteFileBytes(Sys("Tuning.dat"), tuningDat);
  FrontPanel& p = Start();
  EXPECT_EQ(messages.messages(), s.messages);
  Flush();
  EXPECT_EQ(sentUnits(), s.sent);
  s.check(p);
}

RadioState Stored() {
  RadioState s;
  s.SpkrVolume = 40, s.LineVolume = 20, s.LineMute = 1;
  s.MuteOnExitAsDefault = 0, s.NineKHzSteps = 1, s.ShowHints = 0, s.MeterMax = 8000;
  s.ComPortName = "ttyUSB0";
  s.TuningSpeedMs = 660;  // the loaded 10 kHz step brings position 30; the listener chose 20
  return s;
}

RadioState Loud() {  // a volume of 70 would go out as the wrapped level byte 0xF9
  RadioState s;
  s.SpkrVolume = 70, s.LineVolume = 5;
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Files, StoredStartTest,
    ::testing::Values(
        StoredStart{"Present", Stored(),
                    {"B", "7000.000", "LSB", "3", "12", "Slow", "0", "9575.000", "USB", "8", "13", "Fast", "-250"},
                    {}, {VolumesFor(40, 20, true), TuningFor(9575.0, 1, 13, 3, -250)},
                    [](const FrontPanel& p) {
                      // Row 8 is the 10 kHz button, showing 9 kHz with the option.
                      EXPECT_EQ(Pressed(p.panel), "FiltBtn13 AGCFastBtn ModeBtnUSB StepBtn10000 StopBtn "
                                                  "DefaultStepItem DefaultFiltItem");
                      ExpectCaptions(p.panel, {{Ctl::VFOBtn, "VFO B"}, {Ctl::StepBtn10000, "9K"},
                                               {Ctl::PBTDisplayPanel, "-250"}, {Ctl::LineMuteBtn, "Line Mute"},
                                               {Ctl::FreqDispPanel, "9575.000"}});
                      EXPECT_EQ(Values(p.panel, {Ctl::TuningSpeedTrackbar, Ctl::SpkrTrackbar, Ctl::LineTrackbar}),
                                (std::vector{20, 27, 7}));
                      EXPECT_EQ(p.panel[Ctl::Meter].maximum, 8000);
                    }},
        // Tuning.dat is parsed after Ondaris.dat has been read; only the
        // frequency that did not read keeps its first-start value.
        StoredStart{"BadNumber", std::nullopt,
                    {"B", "7000.000", "LSB", "3", "12", "Slow", "0", "95x5", "USB", "8", "13", "Fast", "-250"},
                    {MissingOndarisDatMessage, "'95x5' is not a valid floating point value"},
                    {VolumesFor(30, 30), TuningFor(15000.0, 1, 13, 3, -250)},
                    [](const FrontPanel& p) { EXPECT_EQ(p.panel[Ctl::VFOBtn].caption, "VFO B"); }},
        StoredStart{"OutOfRange", Loud(),
                    {"A", "10000.000", "AM", "4", "1", "Medium", "0", "45000.000", "AM", "4", "31", "Medium", "3000"},
                    {}, {VolumesFor(63, 13), TuningFor(30000.0, 0, 23, 2, 2000)},
                    [](const FrontPanel& p) {
                      EXPECT_EQ(Values(p.panel, {Ctl::SpkrTrackbar, Ctl::LineTrackbar}), (std::vector{50, 0}));
                      EXPECT_TRUE(p.panel[Ctl::FiltBtn23].pressed);
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The serial port -------------------------------------------------------------

TEST_F(StartupTest, PortOverrideIsUsedButNotStored) {
  RadioState stored;
  stored.ComPortName = "COM3";
  fs::create_directories(dir + "SysFiles");
  WriteOndarisDat(dir, stored);
  FrontPanel& p = Make();
  p.setPortOverride("/dev/pts/42");
  p.FormCreate();
  EXPECT_THAT(port.openedDevices(), ElementsAre("/dev/pts/42"));
  p.SaveStateAndShutdown();
  EXPECT_EQ(Reread().ComPortName, "COM3");
}

TEST_F(StartupTest, APortThatIsMissingOrFailsGetsTheWholeReceiverStateWhenItComesBack) {
  port.failOpenWith(NoPort);
  FrontPanel& p = Start();
  // The open error is shown once; the sends after it fail quietly, and the
  // display shows the tuning all the same.
  EXPECT_EQ(std::tuple(messages.messages().back(), messages.messages().size(), p.panel[Ctl::FreqDispPanel].caption,
                       port.writes().empty()),
            std::tuple(NoPort, 5u, "15000.000", true));

  // Polling retries the port; its failures are reported without message
  // boxes, and the clock goes on.
  timeline.advanceBy(1000);
  EXPECT_EQ(std::tuple(messages.messages().size(), p.lastError, windowErrors.empty(), p.panel[Ctl::TimePanel].caption),
            std::tuple(5u, NoPort, false, "12:30:01"));

  // The meter's polling finds the port once it is there.
  port.allowOpen();
  timeline.advanceBy(250);
  ASSERT_TRUE(port.isOpen());
  Flush();
  ASSERT_GE(port.writes().size(), 3u);
  EXPECT_EQ(Texts({port.writes()[0].bytes, port.writes()[1].bytes, port.writes()[2].bytes}),
            Texts({VolumesFor(30, 30), TuningFor(15000.0, 0, 1, 2), SignalStrengthQuery()}));

  // The port fails while open and cannot be opened again for a while; a
  // volume change made meanwhile is kept and goes out with the rest of the
  // state when the next action opens the port.
  port.failWritesWith("WriteFile function failed");
  timeline.advanceBy(400);
  EXPECT_FALSE(port.isOpen());
  port.allowWrites();
  port.failOpenWith("Unable to open com port (Device or resource busy)");
  EXPECT_THROW(p.controls.SpkrTrackbarChange(40), SerialError);
  port.allowOpen();
  port.clearWrites();
  companion.onWord("+9575");
  Flush();
  EXPECT_THAT(sentUnits(), ElementsAre(VolumesFor(53, 30), TuningFor(9575.0, 0, 1, 2)));
}

// ---- Errors --------------------------------------------------------------------

// Folders where the files should be: they exist but cannot be read or written.
TEST_F(StartupTest, FilesThatCannotBeReadOrWrittenAreReportedAndTheRestIsDone) {
  WriteMemoryFiles();
  fs::remove(Sys("Scratchpad.dat"));
  fs::create_directories(Sys("Scratchpad.dat"));
  fs::create_directories(Sys("Ondaris.dat"));
  FrontPanel& p = Start();
  const auto notMissing = [](const char* missing) { return ::testing::Not(::testing::AnyOf(missing, "")); };
  EXPECT_THAT(messages.messages(), ElementsAre(notMissing(MissingScratchpadMessage), MissingTuningDatMessage,
                                               notMissing(MissingOndarisDatMessage)));
  // The defaults, as for a missing file.
  EXPECT_EQ(std::tuple(p.context.flags.StartupComplete, p.state.ComPortName, p.state.MeterMax),
            std::tuple(true, "COM1", 10000));

  // At exit the scratchpad and Ondaris.dat are told in message boxes,
  // Tuning.dat in the status line; the other steps all run.
  Flush();
  fs::create_directories(Sys("Tuning.dat") + "/blocker");
  fs::create_directories(Sys("Ondaris.dat") + "/blocker");
  Texts order;
  p.shutdownSteps.saveBeforeTuning.push_back([&] { order.push_back("before tuning"); });
  p.shutdownSteps.saveAfterState.push_back([&] { order.push_back("after state"); });
  messages.clear();
  port.clearWrites();
  p.SaveStateAndShutdown();
  EXPECT_THAT(messages.messages(), ElementsAre(HasSubstr(ScratchpadSaveFailedMessage), OndarisDatSaveFailedMessage));
  EXPECT_THAT(p.lastError, HasSubstr("Tuning.dat"));
  EXPECT_THAT(order, ElementsAre("before tuning", "after state"));
  EXPECT_EQ(ReadFileBytes(Sys("OndarisGrid.dat")).size(), GridWidthsFileSize);
  EXPECT_THAT(sentUnits(), ElementsAre(ExitMuteCommand()));
}

// Errors during start-up are shown in message boxes, later ones in the status line.
TEST_F(StartupTest, StartupStepsRunInOrderAndOnlyTheirErrorsAreShownInMessageBoxes) {
  companion.listenError = "address in use";
  FrontPanel& p = Make();
  Texts order;
  auto mark = [&](const char* name) { return [&order, name] { order.push_back(name); }; };
  p.startupSteps.convertOldFiles.push_back(mark("convert"));
  p.startupSteps.buildTables.push_back(mark("tables"));
  p.startupSteps.loadBeforeTuning.push_back([&] { order.push_back("limits"); throw FileError("Limits1.dat damaged"); });
  p.startupSteps.loadBeforeTuning.push_back(mark("scratchpad"));
  p.startupSteps.loadAfterTuning.push_back(mark("datamodes"));
  p.startupSteps.loadAfterState.push_back(mark("clockradio"));
  p.startupSteps.beforeTuningParsed.push_back(mark("flags"));
  p.startupSteps.loadLastFrequencyFile.push_back([&] {
    order.push_back(std::string("lastfile sent=") + (port.writes().empty() ? "no" : "yes"));
  });
  p.startupSteps.beforeTimers.push_back([&] {
    order.push_back(std::string("scanreset meter=") + (meterTimer.interval() == 200 ? "200" : "not yet"));
  });
  p.startupSteps.afterStartup.push_back(mark("dialogs"));
  messages.onShow = [&](const ScriptedMessageBoxes::Shown& shown) { order.push_back("message: " + shown.text); };
  p.FormCreate();
  const std::string message = "message: ";
  EXPECT_THAT(order, ElementsAre("convert", "tables", message + MissingLimitsMessage,
                                 message + MissingScratchpadMessage, "limits", "message: Limits1.dat damaged",
                                 "scratchpad", message + MissingTuningDatMessage, "datamodes",
                                 message + MissingOndarisDatMessage, "clockradio", "flags", "lastfile sent=yes",
                                 "scanreset meter=not yet", "dialogs"));
  EXPECT_EQ(std::tuple(p.context.flags.StartupComplete, companion.listenCalls), std::tuple(true, 1));
  EXPECT_THAT(p.lastError, HasSubstr("address in use"));

  windowErrors.clear();
  companion.onWord("+95x5");  // a "+" word that is no number
  EXPECT_EQ(order.size(), 15u);
  EXPECT_THAT(p.lastError, HasSubstr("95x5"));
  EXPECT_THAT(windowErrors, ElementsAre(p.lastError));
}

// ---- Exit -------------------------------------------------------------------------

TEST_F(StartupTest, ExitWritesTheDataFilesInTheirOrderSaysByeAndMutesOnce) {
  FrontPanel& p = Start();
  Flush();
  companion.onWord("?");
  ASSERT_TRUE(p.context.flags.RemoteControlOn);
  companion.sent.clear();
  p.state.Freq = 6070.0;  // something to find in the file
  Texts seen;
  auto present = [&](const char* name) { return std::string(name) + (fs::exists(Sys(name)) ? "+" : "-"); };
  p.shutdownSteps.beforeSaving.push_back([&] { seen.push_back(present("Limits1.dat")); });
  p.shutdownSteps.saveBeforeTuning.push_back([&] {
    for (const char* name : {"Limits1.dat", "Reopen.dat", "Scratchpad.dat", "Tuning.dat"})
      seen.push_back(present(name));
  });
  p.shutdownSteps.saveAfterState.push_back([&] {
    for (const char* name : {"Ondaris.dat", "OndarisGrid.dat"}) seen.push_back(present(name));
  });
  port.clearWrites();
  p.SaveStateAndShutdown();

  EXPECT_EQ(std::tuple(p.panel[Ctl::StatusPanel].caption, p.context.flags.ShuttingDown, port.writes().size(),
                       port.isOpen(), port.closeCount(), p.context.flags.RemoteControlOn, companion.listening),
            std::tuple("Shutting down...", true, 1u, false, 1, false, false));
  for (const FakeTimer* t : {&meterTimer, &tuningTimer, &clockTimer, &scanTimer}) EXPECT_FALSE(t->enabled());
  EXPECT_THAT(sentUnits(), ElementsAre(ExitMuteCommand()));
  EXPECT_THAT(companion.sent, ElementsAre("Bye"));

  EXPECT_THAT(seen, ElementsAre("Limits1.dat-", "Limits1.dat+", "Reopen.dat+", "Scratchpad.dat+", "Tuning.dat-",
                                "Ondaris.dat+", "OndarisGrid.dat-"));
  EXPECT_EQ(ReadFileBytes(Sys("Reopen.dat")), "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  EXPECT_EQ(std::tuple(ReadFileBytes(Sys("OndarisGrid.dat")).size(), ReadFileBytes(Sys("Ondaris.dat")).size()),
            std::tuple(GridWidthsFileSize, OndarisDatSize));
  EXPECT_THAT(ReadFileBytes(Sys("Tuning.dat")), HasSubstr("\r\n6070.000\r\n"));
  EXPECT_TRUE(messages.questions().empty());  // nothing to save: no question

  // A second exit request does nothing.
  fs::remove(Sys("Tuning.dat"));
  p.SaveStateAndShutdown();
  EXPECT_EQ(std::tuple(port.writes().size(), port.closeCount(), fs::exists(Sys("Tuning.dat"))),
            std::tuple(1u, 1, false));
}

TEST_F(StartupTest, WhatIsSavedAtExitIsReadBackAtTheNextStart) {
  {
    FrontPanel& p = Start();
    Flush();
    p.controls.SpkrTrackbarChange(40);
    companion.onWord("+9575");
    p.tuning.VFOBtnClick();  // B becomes active: 10000 kHz
    p.scratch.showTagEntryDialog = [](TagEntryDialog& dialog) { dialog.text = "Evening news", dialog.OKBtnClick(); };
    p.scratch.ScpdBtnMouseDown(3, ScratchpadController::MouseButton::Left);
    p.scratch.TagBtnClick();  // stores the tuning and asks for its tag
    p.scratch.BankUpBtnClick();
    p.limits.RememberLimitRange(5900, 6200);
    // Without the mute option the exit sends nothing.
    p.controls.OptionItemClick(Ctl::MuteOnExitItem);
    Flush();
    port.clearWrites();
    p.SaveStateAndShutdown();
    // Nor does the companion hear a goodbye: it never said hello.
    EXPECT_EQ(std::tuple(port.writes().empty(), companion.sent.empty()), std::tuple(true, true));
  }
  messages.clear();
  port.clearWrites();
  FrontPanel& again = Start();
  EXPECT_TRUE(messages.messages().empty()) << messages.lastMessage();
  // The mute option shows the stored default, not the last run's choice.
  EXPECT_EQ(std::tuple(again.state.ActiveVFO, again.state.OtherVFO.freq, again.panel[Ctl::SpkrTrackbar].value,
                       again.panel[Ctl::MuteOnExitItem].pressed),
            std::tuple('B', 9575.0, 40, true));
  Flush();
  EXPECT_THAT(sentUnits(), ElementsAre(VolumesFor(53, 30), TuningFor(10000.0, 0, 1, 2)));
  const auto& channel = again.scratch.pad.channel(1, 3);
  EXPECT_EQ(std::tuple(again.scratch.pad.CurrentBank, channel.Frequency, channel.Tag,
                       again.panel[Ctl::LimRange1].enabled, again.panel[Ctl::LimRange2].enabled),
            std::tuple(2, 10000.0, "Evening news", true, false));
  ExpectCaptions(again.panel, {{Ctl::BankDispPanel, "2"}, {Ctl::LimRange1, "5900-6200"}});
}

// ---- The parts wired into start-up -----------------------------------------------

TEST_F(StartupTest, TheOlderMasterListIsConvertedBeforeTheDataFilesAreRead) {
  fs::create_directories(dir + "Export");
  WriteFileBytes(dir + "Export/Master320FrequencyList.csv", "\"9580\",\"Radio Alba\",\"a.320\"\r\n");
  Start();
  EXPECT_THAT(messages.messages(),
              ElementsAre(HasSubstr("being converted to a tab-delimited text file"), HasSubstr("has been converted"),
                          MissingLimitsMessage, MissingScratchpadMessage, MissingTuningDatMessage,
                          MissingOndarisDatMessage));
  EXPECT_EQ(ReadFileBytes(dir + "Export/Master320FrequencyList.txt"), "9580\tRadio Alba\ta.320\r\n");
  EXPECT_FALSE(fs::exists(dir + "Export/Master320FrequencyList.csv"));
}

TEST_F(StartupTest, ALimitScanRunsOnTheScanTimerAndIsRememberedAtExit) {
  FrontPanel& p = Start();
  Flush();
  // The speed buttons show the form's captions until a kind is chosen.
  EXPECT_EQ(std::tuple(p.panel[Ctl::ScanSpd0Btn].caption, p.scanSettings.SpeedIntervals[5]), std::tuple(".25S", 10000));

  p.limitDialog.show = [](LimitScanDialog& dialog) {
    dialog.LoLimitEdit = "5900", dialog.HiLimitEdit = "5902";
    dialog.OKBtnClick();
  };
  p.limitDialog.LimitScanBtnClick();
  p.scan->ScanSpdBtnClick(3);  // 0.5 s
  p.scan->ScanBtnClick();
  EXPECT_EQ(p.state.Freq, 5900.0);
  timeline.advanceBy(520);
  EXPECT_THAT(p.state.Freq, AllOf(Gt(5900.0), Le(5902.0)));  // the ScanTimer stepped it on
  // The space bar pauses, the range going to the top of the Limits menu, and resumes.
  EXPECT_TRUE(p.tuning.KeyPress(' '));
  EXPECT_EQ(p.panel[Ctl::LimRange1].caption, "5900-5902");
  EXPECT_TRUE(p.tuning.KeyPress(' '));
  EXPECT_EQ(p.context.scan.ScanState, 3);

  // Exit ends the scan and writes its range with the other files.
  p.SaveStateAndShutdown();
  LimitRangeList stored;
  DecodeLimitRanges(ReadFileBytes(Sys("Limits1.dat")), stored);
  EXPECT_EQ(std::tuple(p.context.scan.ScanState, scanTimer.enabled(), stored[0].Name, stored[0].SpeedIndex),
            std::tuple(0, false, "5900-5902", 4));
}

// ---- With a station list from the last run ------------------------------------

class StartupWithListTest : public StartupTest {
 protected:
  StartupWithListTest() {
    RadioState stored;
    stored.FreqFileDir = "FreqFiles/";
    stored.LastFreqFile = "Test.320";
    fs::create_directories(dir + "FreqFiles");
    WriteMemoryFiles();
    WriteOndarisDat(dir, stored);
    WriteFileBytes(ListPath(), std::string(AlbaLine) + "\r\n" + CoastLine + "\r\n");
    messages.setDefaultAnswer(false);
  }
  std::string ListPath() const { return dir + "FreqFiles/Test.320"; }
};

TEST_F(StartupWithListTest, TheLastFileIsLoadedAndEnteredInTheReopenList) {
  FrontPanel& p = Start();
  EXPECT_THAT(messages.messages(), ElementsAre(MissingTuningDatMessage));
  EXPECT_EQ(p.state.FreqFileRecordCount, 2);
  for (Ctl c : {Ctl::Grid, Ctl::SaveFileItem, Ctl::Reopen1Item}) EXPECT_TRUE(p.panel[c].enabled) << ControlName(c);
  ExpectCaptions(p.panel, {{Ctl::StatusPanel, "Test.320:  2 records"}, {Ctl::Reopen1Item, ListPath()}});

  // The clock lets the grid tune and redraws the on-air colours each minute.
  int redraws = 0;
  p.stations.gridContentsChanged = [&] { ++redraws; };
  p.stations.GridTunePermit = false;
  timeline.advanceBy(150);
  EXPECT_TRUE(p.stations.GridTunePermit);
  // Enter with nothing typed tunes the grid's current row.
  p.stations.SetRow(2);
  EXPECT_TRUE(p.tuning.KeyPress('\r'));
  EXPECT_DOUBLE_EQ(p.state.Freq, 14230.5);
  timeline.advanceBy(60000);
  EXPECT_EQ(redraws, 2);  // the first tick's minute (12:30) and 12:31

  p.SaveStateAndShutdown();
  EXPECT_TRUE(messages.questions().empty());  // unchanged: no question
  EXPECT_EQ(ReadFileBytes(Sys("Reopen.dat")).substr(0, ListPath().size() + 2), ListPath() + "\r\n");
}

TEST_F(StartupWithListTest, AMissingLastFileIsAnnouncedAndForgotten) {
  fs::remove(ListPath());
  FrontPanel& p = Start();
  EXPECT_THAT(messages.messages(), ElementsAre(MissingTuningDatMessage, MissingLastFreqFileMessage));
  EXPECT_EQ(std::tuple(p.state.LastFreqFile, p.panel[Ctl::Reopen1Item].enabled), std::tuple("", false));
}

// Ondaris.dat holds 80 characters of folder and of name: a longer choice is
// refused when it is made, and the state is saved whole at exit.
TEST_F(StartupWithListTest, ANameTooLongToBeStoredIsRefusedWhenChosen) {
  const std::string longFolder = dir + std::string(81, 'd') + "/";
  const std::string longName = std::string(77, 'n') + ".320";
  fs::create_directories(longFolder);
  WriteFileBytes(longFolder + "a.320", std::string(AlbaLine) + "\r\n");
  FrontPanel& p = Start();
  const std::function<void()> ways[] = {
      [&] { fileDialogs.chooseNext(longFolder + "a.320"), p.files.LoadFileItemClick(); },
      [&] { fileDialogs.chooseNext(dir + "FreqFiles/" + longName), p.files.SaveFileAsItemClick(); },
      [&] { p.files.ReopenFile(longFolder + "a.320"); }};
  const std::string refusals[] = {FreqFileDirTooLongMessage(longFolder), FreqFileNameTooLongMessage(longName),
                                  FreqFileDirTooLongMessage(longFolder)};
  for (int i = 0; i < 3; ++i) {
    messages.clear();
    ways[i]();
    EXPECT_THAT(messages.messages(), ElementsAre(refusals[i])) << i;
    EXPECT_EQ(p.state.FreqFileDir + p.state.LastFreqFile, "FreqFiles/Test.320") << i;
    EXPECT_EQ(p.stations.list.RecordCount(), 2) << i;
  }
  EXPECT_FALSE(fs::exists(dir + "FreqFiles/" + longName));

  // A text that still does not fit is left out at exit; the rest is saved.
  p.state.LastFreqFile = longName;
  p.state.CWTone = 650;
  messages.clear();
  p.SaveStateAndShutdown();
  EXPECT_THAT(messages.messages(), ElementsAre(FreqFileNameTooLongMessage(longName)));
  const RadioState saved = Reread();
  EXPECT_EQ(std::to_string(saved.CWTone) + "|" + saved.FreqFileDir + "|" + saved.LastFreqFile, "650|FreqFiles/|");
}

TEST_F(StartupWithListTest, CompanionWordsAndLookupLocateAndAddStations) {
  FrontPanel& p = Start();
  companion.onWord("?");
  ASSERT_TRUE(p.context.flags.RemoteControlOn);

  // "+": tuned, and the station's row is shown in frequency order.
  companion.onWord("+14230.5");
  EXPECT_EQ(std::tuple(p.state.Freq, p.stations.FreqSorted, p.stations.CellText(p.stations.grid.Row, 2)),
            std::tuple(14230.5, true, "Coast"));

  // Lookup asks the companion and finds the tuned station.
  companion.onWord("+9580");
  companion.sent.clear();
  p.stations.SetRow(2);
  p.lookup.LookupBtnClick();
  EXPECT_THAT(companion.sent, ::testing::Contains("L9580"));
  EXPECT_EQ(p.stations.CellText(p.stations.grid.Row, 2), "Radio Alba");

  // "*": the entry is added with the present tuning and answered OK.
  companion.sent.clear();
  companion.onWord("*7250*Evening Radio*Lakeside*French*1800*2000*");
  ASSERT_FALSE(companion.sent.empty());
  // Sorted by frequency, the entry is the first row.
  EXPECT_EQ(std::tuple(companion.sent.front(), p.stations.list.RecordCount(), p.state.Freq, p.stations.CellText(1, 2)),
            std::tuple("OK", 3, 7250.0, "Evening Radio"));
  companion.sent.clear();
  companion.onWord("*7250*broken*");
  EXPECT_THAT(companion.sent, ElementsAre("NO"));

  // Exit asks about the changed list; No leaves the file as it was.
  const std::string before = ReadFileBytes(ListPath());
  p.SaveStateAndShutdown();
  EXPECT_THAT(messages.questions(), ElementsAre(SaveChangesQuestion));
  EXPECT_EQ(ReadFileBytes(ListPath()), before);
}

}  // namespace
}  // namespace ondaris
