// The limit ranges and the limit scan dialog through the fake panel: loading
// and saving Limits1.dat with the LimRange menu items, remembering stopped
// ranges, starting a stored range, and the checks and messages of the
// "Limit Scan Setup" dialog.

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "scan/LimitRanges.h"
#include "scan/LimitScanDialog.h"
#include "support/PanelFixture.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;

struct ProgramFolder : TempFolder {
  ProgramFolder() : TempFolder(true) {}
  std::string file() const { return sysFile("Limits1.dat"); }
};

LimitRange Range(double low, double high, const std::string& name, int mode = 1, int filter = 13, int step = 3,
                 int agc = 2, int pbt = 0, int speed = 2) {
  LimitRange r;
  r.Low = low;
  r.High = high;
  r.Name = name;
  r.Mode = mode;
  r.FilterIndex = filter;
  r.StepIndex = step;
  r.AGC = agc;
  r.PBT = pbt;
  r.SpeedIndex = speed;
  return r;
}

class LimitRangesTest : public PanelFixture {
 protected:
  LimitRangesTest() {
    limits.startRangeScan = [this](double low, double high) { starts.emplace_back(low, high); };
    dialog.resetScanSelection = [this] { ++resets; };
    dialog.show = [this](LimitScanDialog& shownDialog) {
      ++dialogsShown;
      lowShown = shownDialog.LoLimitEdit;
      highShown = shownDialog.HiLimitEdit;
      if (answer) answer(shownDialog);
    };
  }

  void ExpectMenuItem(int slot, const std::string& caption, bool enabled) {
    SCOPED_TRACE("LimRange" + std::to_string(slot));
    EXPECT_EQ(panel[LimitRangeItem(slot - 1)].caption, caption);
    EXPECT_EQ(panel[LimitRangeItem(slot - 1)].enabled, enabled);
  }
  void ExpectSpeedCaptions() {
    const char* expected[6] = {"33 mS", "0.1S", "0.2S", "0.5S", "1S", "3S"};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(panel[ScanSpeedButton(k)].caption, expected[k]) << k;
  }
  // Free slots everywhere, and these in the first slots.
  void Slots(std::initializer_list<LimitRange> ranges) {
    limits.ranges.fill(DefaultLimitRange());
    int i = 0;
    for (const LimitRange& r : ranges) limits.ranges[i++] = r;
    limits.ShowMenuItems();
  }

  ProgramFolder folder;
  ScanSettings settings;
  LimitRanges limits{ctx, controls, tuning, settings, folder.dir()};
  LimitScanDialog dialog{ctx, settings};
  std::vector<std::pair<double, double>> starts;
  int resets = 0;
  int dialogsShown = 0;
  std::string lowShown;
  std::string highShown;
  std::function<void(LimitScanDialog&)> answer;
};

// ---- Loading and saving ------------------------------------------------------

TEST_F(LimitRangesTest, MissingFileGivesDefaultsAndDisabledItems) {
  limits.LoadLimitRanges();
  EXPECT_EQ(messages.messages(),
            std::vector<std::string>{"Could not find SysFiles\\Limits1.dat - initializing with default data."});
  for (const LimitRange& r : limits.ranges) EXPECT_EQ(r, DefaultLimitRange());
  for (int slot = 1; slot <= 20; ++slot) ExpectMenuItem(slot, "Limit Range " + std::to_string(slot), false);
}

TEST_F(LimitRangesTest, LoadGivesNamedSlotsTheirNameAndEnablesThem) {
  LimitRangeList stored;
  stored.fill(DefaultLimitRange());
  stored[0] = Range(5900, 6200, "5900-6200");
  stored[2] = Range(9250.5, 9900, "9250.5-9900");
  WriteLimitRangesFile(folder.file(), stored);

  limits.LoadLimitRanges();

  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(limits.ranges, stored);
  ExpectMenuItem(1, "5900-6200", true);
  ExpectMenuItem(2, "Limit Range 2", false);
  ExpectMenuItem(3, "9250.5-9900", true);
  ExpectMenuItem(20, "Limit Range 20", false);
  EXPECT_TRUE(limits.IsDefined(0));
  EXPECT_FALSE(limits.IsDefined(1));
  EXPECT_FALSE(limits.IsDefined(20));
  EXPECT_FALSE(limits.IsDefined(-1));
}

TEST_F(LimitRangesTest, ShortFileKeepsWhatTheSlotsHeldBeyondItsEnd) {
  LimitRangeList stored;
  stored.fill(DefaultLimitRange());
  stored[0] = Range(5900, 6200, "5900-6200");
  WriteFileBytes(folder.file(), EncodeLimitRanges(stored).substr(0, 128));

  limits.LoadLimitRanges();  // slots were zero (start-up)

  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(limits.ranges[0], stored[0]);
  ExpectMenuItem(1, "5900-6200", true);
  for (int slot = 2; slot <= 20; ++slot) ExpectMenuItem(slot, "Limit Range " + std::to_string(slot), false);
}

TEST_F(LimitRangesTest, FileThatCannotBeReadRaisesAFileError) {
  fs::create_directory(folder.file());
  EXPECT_THROW(limits.LoadLimitRanges(), FileError);
}

TEST_F(LimitRangesTest, SaveWritesTheTwentyRecordsAndLoadReadsThemBack) {
  limits.LoadLimitRanges();
  messages.clear();
  state.Mode = 3;
  settings.ScanSpeedIndex = 4;
  limits.RememberLimitRange(9400, 9410);
  ASSERT_TRUE(limits.SaveLimitRanges());
  const std::string bytes = ReadFileBytes(folder.file());
  EXPECT_EQ(bytes.size(), 2560u);
  EXPECT_EQ(bytes, EncodeLimitRanges(limits.ranges));

  PanelRig other;
  ScanSettings otherSettings;
  LimitRanges again(other.ctx, other.controls, other.tuning, otherSettings, folder.dir());
  again.LoadLimitRanges();
  EXPECT_TRUE(other.messages.shown().empty());
  EXPECT_EQ(again.ranges, limits.ranges);
  EXPECT_EQ(other.panel[Ctl::LimRange1].caption, "9400-9410");
}

TEST_F(LimitRangesTest, SaveThatCannotCreateTheFileSaysSo) {
  fs::remove(folder.dir() + "SysFiles");
  WriteFileBytes(folder.dir() + "SysFiles", "not a folder");
  EXPECT_FALSE(limits.SaveLimitRanges());
  EXPECT_EQ(messages.lastMessage().rfind("Could not save the limits to disk.\n", 0), 0u) << messages.lastMessage();
  EXPECT_NE(messages.lastMessage().find("SysFiles/Limits1.dat"), std::string::npos);
}

TEST_F(LimitRangesTest, FailedSaveLeavesTheOldFile) {
  Slots({Range(1000, 2000, "1000-2000")});
  ASSERT_TRUE(limits.SaveLimitRanges());
  const std::string before = ReadFileBytes(folder.file());
  limits.RememberLimitRange(3000, 4000);

  bool ok = true;
  WithFileSizeLimit(100, [&] { ok = limits.SaveLimitRanges(); });

  EXPECT_FALSE(ok);
  EXPECT_EQ(messages.lastMessage().rfind("Could not save the limits to disk.", 0), 0u);
  EXPECT_EQ(ReadFileBytes(folder.file()), before);
}

// ---- Remembering stopped ranges -----------------------------------------------

TEST_F(LimitRangesTest, StoppedRangeGoesToTheTopWithThePresentTuning) {
  Slots({Range(1000, 2000, "1000-2000")});
  state.Mode = 2;
  controls.SelectFilter(14);
  tuning.SetTuningStep(5000);
  controls.ShowAGC(1);
  state.PBT = -150;
  settings.ScanSpeedIndex = 6;

  limits.RememberLimitRange(9250.5, 9900);

  EXPECT_EQ(limits.ranges[0], Range(9250.5, 9900, "9250.5-9900", 2, 14, 7, 1, -150, 6));
  EXPECT_EQ(limits.ranges[1].Name, "1000-2000");
  ExpectMenuItem(1, "9250.5-9900", true);
  ExpectMenuItem(2, "1000-2000", true);
  ExpectMenuItem(3, "Limit Range 3", false);
}

TEST_F(LimitRangesTest, NameUsesTheLocaleSeparator) {
  ctx.decimalSeparator = ',';
  Slots({});
  limits.RememberLimitRange(9250.5, 9900.25);
  ExpectMenuItem(1, "9250,5-9900,25", true);
}

TEST_F(LimitRangesTest, StoppingTheSameRangeTwiceLeavesOneEntry) {
  Slots({});
  limits.RememberLimitRange(5900, 6200);
  limits.RememberLimitRange(5900, 6200);
  ExpectMenuItem(1, "5900-6200", true);
  ExpectMenuItem(2, "Limit Range 2", false);
}

TEST_F(LimitRangesTest, TwentyFirstDistinctRangeDropsTheOldest) {
  Slots({});
  for (int i = 1; i <= 21; ++i) limits.RememberLimitRange(i * 1000.0, i * 1000.0 + 100);
  ExpectMenuItem(1, "21000-21100", true);
  ExpectMenuItem(20, "2000-2100", true);
  for (int slot = 1; slot <= 20; ++slot) EXPECT_NE(limits.ranges[slot - 1].Name, "1000-1100");
}

TEST_F(LimitRangesTest, RememberingReenablesTheItemsAScanDisabled) {
  Slots({Range(1000, 2000, "1000-2000"), Range(3000, 4000, "3000-4000")});
  for (int i = 0; i < 20; ++i) panel.setEnabled(LimitRangeItem(i), false);  // as while scanning
  limits.RememberLimitRange(3000, 4000);
  ExpectMenuItem(1, "3000-4000", true);
  ExpectMenuItem(2, "1000-2000", true);
  ExpectMenuItem(3, "Limit Range 3", false);
}

// ---- Starting a stored range ------------------------------------------------------

TEST_F(LimitRangesTest, StoredRangeRestoresItsTuningAndSpeedAndStartsTheScan) {
  Slots({Range(1000, 2000, "1000-2000"), Range(2000, 3000, "2000-3000"),
         Range(9400, 9410, "9400-9410", 3, 20, 7, 3, -50, 5)});
  ctx.scan.ScanKind = 2;
  ctx.scan.ScanDirection = 1;
  settings.MemScanStarted = true;
  panel.press(Ctl::ScanBtn);

  limits.LimRangeClick(3);

  EXPECT_EQ(starts, (std::vector<std::pair<double, double>>{{9400.0, 9410.0}}));
  EXPECT_EQ(settings.LimitLow, 9400.0);
  EXPECT_EQ(settings.LimitHigh, 9410.0);
  EXPECT_EQ(settings.ScanFrequency, 9400.0);
  EXPECT_EQ(ctx.scan.ScanKind, 3);
  EXPECT_EQ(ctx.scan.ScanDirection, 0);
  EXPECT_FALSE(settings.MemScanStarted);
  EXPECT_FALSE(panel[Ctl::ScanBtn].pressed);
  EXPECT_TRUE(panel[Ctl::FreqUpBtn].pressed);
  EXPECT_TRUE(panel[Ctl::LimitScanBtn].pressed);

  EXPECT_EQ(state.Mode, 3);
  EXPECT_TRUE(panel[Ctl::ModeBtnCW].pressed);
  EXPECT_EQ(state.StepIndex, 7);
  EXPECT_EQ(state.StepHz, 5000);
  EXPECT_TRUE(panel[Ctl::StepBtn5000].pressed);
  EXPECT_EQ(state.FilterIndex, 20);
  EXPECT_EQ(state.Bandwidth, 1050);
  EXPECT_TRUE(panel[Ctl::FiltBtn20].pressed);
  EXPECT_EQ(state.AGC, 3);
  EXPECT_TRUE(panel[Ctl::AGCFastBtn].pressed);
  EXPECT_EQ(state.PBT, -50);
  EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, "-50");

  ExpectSpeedCaptions();
  EXPECT_EQ(settings.SpeedIntervals, (std::array<int, 6>{10, 100, 200, 500, 1000, 3000}));
  EXPECT_EQ(settings.ScanSpeedIndex, 5);
  EXPECT_TRUE(panel[Ctl::ScanSpd4Btn].pressed);
  EXPECT_EQ(settings.ScanInterval, 1000);
}

TEST_F(LimitRangesTest, StoredRangeUsesItsModeButtonsAction) {
  state.DataBFOActive = 1;
  Slots({Range(7000, 7300, "7000-7300", 2, 14, 3, 2, 0, 2)});
  limits.StartStoredLimitRange(1);
  EXPECT_EQ(state.DataBFOActive, 0);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "LSB");
  EXPECT_EQ(settings.ScanInterval, 100);  // "0.1S" of a stored range is 100 ms
}

TEST_F(LimitRangesTest, ChoosingSlotThreeAndStoppingMovesItToTheTop) {
  Slots({Range(1000, 2000, "1000-2000"), Range(2000, 3000, "2000-3000"), Range(5900, 6200, "5900-6200")});
  limits.StartStoredLimitRange(3);
  limits.RememberLimitRange(settings.LimitLow, settings.LimitHigh);  // the scan is stopped
  ExpectMenuItem(1, "5900-6200", true);
  ExpectMenuItem(2, "1000-2000", true);
  ExpectMenuItem(3, "2000-3000", true);
  ExpectMenuItem(4, "Limit Range 4", false);
}

TEST_F(LimitRangesTest, StoredRangeIsIgnoredWhileScanningInWwvModeOrWhenFree) {
  Slots({Range(1000, 2000, "1000-2000")});
  ctx.scan.ScanState = 2;
  limits.StartStoredLimitRange(1);
  ctx.scan.ScanState = 0;
  tuning.flags.WWVMode = 5;
  limits.StartStoredLimitRange(1);
  tuning.flags.WWVMode = 0;
  limits.StartStoredLimitRange(2);   // free slot
  limits.StartStoredLimitRange(0);
  limits.StartStoredLimitRange(21);
  EXPECT_TRUE(starts.empty());
  EXPECT_EQ(ctx.scan.ScanKind, 0);
  EXPECT_EQ(settings.LimitLow, 0.0);
  EXPECT_TRUE(sentUnits().empty());
}

TEST_F(LimitRangesTest, LeavingWwvModeEnablesOnlyNamedItems) {
  Slots({Range(1000, 2000, "1000-2000"), Range(2000, 3000, "2000-3000")});
  tuning.WWVBtnClick(10);
  EXPECT_FALSE(panel[Ctl::LimRange1].enabled);
  tuning.WWVRestoreBtnClick();
  EXPECT_TRUE(panel[Ctl::LimRange1].enabled);
  EXPECT_TRUE(panel[Ctl::LimRange2].enabled);
  EXPECT_FALSE(panel[Ctl::LimRange3].enabled);
}

// ---- The Limit Scan button and dialog ------------------------------------------

TEST_F(LimitRangesTest, DialogCreatedAtStartUpShowsLimitsWithThreeDecimals) {
  dialog.FormCreate();
  EXPECT_EQ(dialog.LoLimitEdit, "");
  EXPECT_EQ(dialog.HiLimitEdit, "");
  settings.LimitLow = 5900;
  settings.LimitHigh = 6200.5;
  dialog.FormCreate();
  EXPECT_EQ(dialog.LoLimitEdit, "5900.000");
  EXPECT_EQ(dialog.HiLimitEdit, "6200.500");
  EXPECT_STREQ(LimitScanDialog::Caption, "Limit Scan Setup");
}

TEST_F(LimitRangesTest, LimitScanButtonChoosesLimitScanAndShowsTheDialog) {
  panel.setEnabled(Ctl::NowBtn, false);
  panel.press(Ctl::ScanBtn);
  ctx.scan.ScanKind = 2;
  ctx.scan.ScanDirection = 1;
  settings.MemScanStarted = true;

  dialog.LimitScanBtnClick();

  EXPECT_EQ(dialogsShown, 1);
  EXPECT_FALSE(dialog.isOpen());
  EXPECT_TRUE(panel[Ctl::NowBtn].enabled);
  EXPECT_FALSE(panel[Ctl::ScanBtn].pressed);
  EXPECT_TRUE(panel[Ctl::LimitScanBtn].pressed);
  EXPECT_EQ(ctx.scan.ScanKind, 3);
  EXPECT_EQ(ctx.scan.ScanDirection, 0);
  EXPECT_FALSE(settings.MemScanStarted);
  ExpectSpeedCaptions();
  EXPECT_EQ(settings.SpeedIntervals, (std::array<int, 6>{10, 50, 200, 500, 1000, 3000}));
  EXPECT_EQ(settings.ScanSpeedIndex, 3);
  EXPECT_TRUE(panel[Ctl::ScanSpd2Btn].pressed);
  EXPECT_EQ(settings.ScanInterval, 200);
}

struct FillCase {
  double low;
  double high;
  const char* expectedLow;
  const char* expectedHigh;
};

class LimitScanFillTestRunner : public LimitRangesTest, public ::testing::WithParamInterface<FillCase> {};

TEST_P(LimitScanFillTestRunner, EditsShowOnlyLimitsThatMakeARange) {
  const FillCase& c = GetParam();
  settings.LimitLow = c.low;
  settings.LimitHigh = c.high;
  dialog.LoLimitEdit = "typed low";
  dialog.HiLimitEdit = "typed high";
  dialog.LimitScanBtnClick();
  EXPECT_EQ(lowShown, c.expectedLow);
  EXPECT_EQ(highShown, c.expectedHigh);
}

INSTANTIATE_TEST_SUITE_P(Limits, LimitScanFillTestRunner,
                         ::testing::Values(FillCase{9400, 9410, "9400", "9410"},
                                           FillCase{9250.5, 9900.125, "9250.5", "9900.125"},
                                           FillCase{10, 30000, "10", "30000"},
                                           FillCase{0, 0, "typed low", "typed high"},
                                           FillCase{9410, 9400, "typed low", "typed high"},
                                           FillCase{9400, 9400, "typed low", "typed high"},
                                           FillCase{5, 9400, "typed low", "9400"},
                                           FillCase{9400, 30001, "9400", "typed high"}));

enum class Outcome { Accepted, Refused, Empty };

struct OkCase {
  const char* name;
  const char* low;
  const char* high;
  Outcome outcome;
  double acceptedLow;
  double acceptedHigh;
  const char* status;
};

void PrintTo(const OkCase& c, std::ostream* out) { *out << c.name; }

class LimitScanOkTest : public LimitRangesTest, public ::testing::WithParamInterface<OkCase> {};

TEST_P(LimitScanOkTest, OkChecksTheLimits) {
  const OkCase& c = GetParam();
  settings.LimitLow = 1000;  // the old limits
  settings.LimitHigh = 2000;
  settings.ScanFrequency = 1500;
  panel.setCaption(Ctl::StatusPanel, "before");
  answer = [&](LimitScanDialog& d) {
    d.LoLimitEdit = c.low;
    d.HiLimitEdit = c.high;
    EXPECT_TRUE(d.OKBtnClick());
  };
  dialog.LimitScanBtnClick();

  EXPECT_EQ(ctx.scan.ScanKind, 3);
  EXPECT_EQ(ctx.scan.ScanDirection, 0);
  EXPECT_FALSE(dialog.isOpen());
  EXPECT_TRUE(starts.empty());  // scanning starts with the Scan button
  switch (c.outcome) {
    case Outcome::Accepted:
      EXPECT_TRUE(messages.shown().empty());
      EXPECT_EQ(settings.LimitLow, c.acceptedLow);
      EXPECT_EQ(settings.LimitHigh, c.acceptedHigh);
      EXPECT_EQ(settings.ScanFrequency, c.acceptedLow);
      EXPECT_EQ(panel[Ctl::StatusPanel].caption, c.status);
      EXPECT_TRUE(panel[Ctl::LimitScanBtn].pressed);
      break;
    case Outcome::Refused:
      EXPECT_EQ(messages.messages(), std::vector<std::string>{"Limit frequencies are not configured properly."});
      EXPECT_EQ(dialog.LoLimitEdit, "");
      EXPECT_EQ(dialog.HiLimitEdit, "");
      break;
    case Outcome::Empty:
      EXPECT_EQ(messages.messages(), std::vector<std::string>{"You must enter values in both fields."});
      break;
  }
  if (c.outcome != Outcome::Accepted) {
    EXPECT_EQ(settings.LimitLow, 1000.0);
    EXPECT_EQ(settings.LimitHigh, 2000.0);
    EXPECT_EQ(settings.ScanFrequency, 1500.0);
    EXPECT_FALSE(panel[Ctl::LimitScanBtn].pressed);
    EXPECT_EQ(panel[Ctl::StatusPanel].caption, "before");
  }
  EXPECT_EQ(resets, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, LimitScanOkTest,
    ::testing::Values(
        OkCase{"InOrder", "9400", "9410", Outcome::Accepted, 9400, 9410, "Limit Scan: 9400 to 9410 kHz"},
        OkCase{"Decimals", "9250.5", "9900.125", Outcome::Accepted, 9250.5, 9900.125,
               "Limit Scan: 9250.5 to 9900.125 kHz"},
        OkCase{"Equal", "5000", "5000", Outcome::Accepted, 5000, 5000, "Limit Scan: 5000 to 5000 kHz"},
        OkCase{"LowestAndHighest", "10", "30000", Outcome::Accepted, 10, 30000, "Limit Scan: 10 to 30000 kHz"},
        OkCase{"Blanks", " 6000 ", "6100", Outcome::Accepted, 6000, 6100, "Limit Scan: 6000 to 6100 kHz"},
        OkCase{"LowBelowTen", "9.999", "100", Outcome::Refused, 0, 0, ""},
        OkCase{"HighAboveRange", "10", "30000.001", Outcome::Refused, 0, 0, ""},
        OkCase{"OutOfOrder", "9410", "9400", Outcome::Refused, 0, 0, ""},
        OkCase{"Negative", "-5", "100", Outcome::Refused, 0, 0, ""},
        OkCase{"EmptyLow", "", "9400", Outcome::Empty, 0, 0, ""},
        OkCase{"EmptyHigh", "9400", "", Outcome::Empty, 0, 0, ""},
        OkCase{"BothEmpty", "", "", Outcome::Empty, 0, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LimitRangesTest, EmptyFieldKeepsTheOtherText) {
  answer = [](LimitScanDialog& d) {
    d.LoLimitEdit = "9400";
    d.HiLimitEdit = "";
    d.OKBtnClick();
  };
  dialog.LimitScanBtnClick();
  EXPECT_EQ(dialog.LoLimitEdit, "9400");
}

TEST_F(LimitRangesTest, CommaLocaleReadsAndShowsCommas) {
  ctx.decimalSeparator = ',';
  answer = [](LimitScanDialog& d) {
    d.LoLimitEdit = "9250,5";
    d.HiLimitEdit = "9900";
    d.OKBtnClick();
  };
  dialog.LimitScanBtnClick();
  EXPECT_EQ(settings.LimitLow, 9250.5);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Limit Scan: 9250,5 to 9900 kHz");

  answer = nullptr;
  dialog.LimitScanBtnClick();
  EXPECT_EQ(lowShown, "9250,5");
}

TEST_F(LimitRangesTest, TextThatIsNoNumberIsReportedAndTheDialogStaysOpen) {
  settings.LimitLow = 1000;
  settings.LimitHigh = 2000;
  bool closed = true;
  answer = [&](LimitScanDialog& d) {
    d.LoLimitEdit = "94x0";
    d.HiLimitEdit = "9410";
    closed = d.OKBtnClick();
    EXPECT_TRUE(d.isOpen());
    // Corrected, then accepted.
    d.LoLimitEdit = "9400";
    EXPECT_TRUE(d.OKBtnClick());
  };
  dialog.LimitScanBtnClick();
  EXPECT_FALSE(closed);
  ASSERT_EQ(reportedErrors.size(), 1u);
  EXPECT_NE(reportedErrors[0].find("94x0"), std::string::npos) << reportedErrors[0];
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(settings.LimitLow, 9400.0);
  EXPECT_EQ(settings.LimitHigh, 9410.0);
}

TEST_F(LimitRangesTest, CancelForgetsTheChosenKind) {
  settings.LimitLow = 1000;
  answer = [](LimitScanDialog& d) {
    d.LoLimitEdit = "9400";
    d.HiLimitEdit = "9410";
    d.CancelBtnClick();
  };
  dialog.LimitScanBtnClick();
  EXPECT_EQ(resets, 1);
  EXPECT_FALSE(panel[Ctl::LimitScanBtn].pressed);
  EXPECT_FALSE(dialog.isOpen());
  EXPECT_EQ(settings.LimitLow, 1000.0);
  EXPECT_TRUE(messages.shown().empty());
}

TEST_F(LimitRangesTest, DialogClosedWithoutAnAnswerChangesNothingMore) {
  dialog.LimitScanBtnClick();  // no answer: the window was closed
  EXPECT_EQ(resets, 0);
  EXPECT_EQ(ctx.scan.ScanKind, 3);
  EXPECT_TRUE(panel[Ctl::LimitScanBtn].pressed);
}

}  // namespace
}  // namespace ondaris
