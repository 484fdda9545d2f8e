// The limit ranges and the limit scan dialog through the fake panel: loading
// and saving Limits1.dat with the LimRange menu items, remembering stopped
// ranges, starting a stored range, and the checks and messages of the
// "Limit Scan Setup" dialog.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "common/Errors.h"
#include "scan/LimitRanges.h"
#include "scan/LimitScanDialog.h"
#include "support/PanelFixture.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class LimitRangesTest : public PanelFixture {
 protected:
  LimitRangesTest() {
    limits.startRangeScan = [this](double low, double high) { starts.emplace_back(low, high); };
    dialog.resetScanSelection = [this] { ++resets; };
    dialog.show = [this](LimitScanDialog& shown) {
      ++dialogsShown;
      lowShown = shown.LoLimitEdit;
      highShown = shown.HiLimitEdit;
      if (answer) answer(shown);
    };
  }
  // The captions of the twenty menu items, a "-" before those disabled.
  Strings MenuItems() const {
    Strings items;
    for (int i = 0; i < 20; ++i)
      items.push_back((panel[LimitRangeItem(i)].enabled ? "" : "-") + panel[LimitRangeItem(i)].caption);
    return items;
  }
  // The menu with these captions enabled first and free slots after.
  static Strings Menu(std::initializer_list<std::string> named) {
    Strings items(named);
    for (int slot = static_cast<int>(items.size()) + 1; slot <= 20; ++slot)
      items.push_back("-Limit Range " + std::to_string(slot));
    return items;
  }
  // Free slots everywhere, and these in the first slots.
  void Slots(std::initializer_list<LimitRange> ranges) {
    limits.ranges.fill(DefaultLimitRange());
    int i = 0;
    for (const LimitRange& r : ranges) limits.ranges[i++] = r;
    limits.ShowMenuItems();
  }
  // The chosen speed table and speed, its button down; the captions are those of either table.
  void ExpectSpeeds(const std::array<int, 6>& intervals, int index) {
    const char* captions[6] = {"33 mS", "0.1S", "0.2S", "0.5S", "1S", "3S"};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(panel[ScanSpeedButton(k)].caption, captions[k]) << k;
    EXPECT_EQ(settings.SpeedIntervals, intervals);
    EXPECT_EQ(settings.ScanSpeedIndex, index);
    EXPECT_TRUE(panel[ScanSpeedButton(index - 1)].pressed);
    EXPECT_EQ(settings.ScanInterval, intervals[index - 1]);
  }
  // What the scan choice looks like: kind, direction, whether memory scan had started, and whether the Scan
  // and Limit Scan buttons are down.
  std::vector<int> ScanChoice() const {
    return {ctx.scan.ScanKind, ctx.scan.ScanDirection, settings.MemScanStarted,
            panel[Ctl::ScanBtn].pressed, panel[Ctl::LimitScanBtn].pressed};
  }

  TempFolder folder{true};
  const std::string file = folder.sysFile("Limits1.dat");
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

LimitRange Range(double low, double high, const std::string& name) { return {low, high, name, 1, 13, 3, 2, 0, 2}; }

// ---- Loading and saving ------------------------------------------------------

TEST_F(LimitRangesTest, LoadingFillsTheSlotsAndTheirMenuItems) {
  limits.ranges[0] = Range(1, 2, "old");
  limits.LoadLimitRanges();
  EXPECT_EQ(messages.messages(), Strings{"Could not find SysFiles\\Limits1.dat - initializing with default data."});
  for (const LimitRange& r : limits.ranges) EXPECT_EQ(r, DefaultLimitRange());
  EXPECT_EQ(MenuItems(), Menu({}));

  LimitRangeList stored;
  stored.fill(DefaultLimitRange());
  stored[0] = Range(5900, 6200, "5900-6200");
  stored[2] = Range(9250.5, 9900, "9250.5-9900");
  WriteLimitRangesFile(file, stored);
  messages.clear();
  limits.LoadLimitRanges();
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(limits.ranges, stored);
  EXPECT_EQ(MenuItems(), Menu({"5900-6200", "-Limit Range 2", "9250.5-9900"}));
  for (int index : {1, 20, -1}) EXPECT_FALSE(limits.IsDefined(index)) << index;
  EXPECT_TRUE(limits.IsDefined(0));

  // A short file keeps what the slots held beyond its end.
  stored[0] = Range(7000, 7100, "7000-7100");
  WriteFileBytes(file, EncodeLimitRanges(stored).substr(0, 128));
  limits.LoadLimitRanges();
  EXPECT_EQ(MenuItems(), Menu({"7000-7100", "-Limit Range 2", "9250.5-9900"}));

  fs::remove(file);
  fs::create_directory(file);
  EXPECT_THROW(limits.LoadLimitRanges(), FileError);
}

TEST_F(LimitRangesTest, SaveWritesTheTwentyRecordsAtomicallyOrSaysWhyNot) {
  limits.ranges.fill(DefaultLimitRange());
  limits.RememberLimitRange(9400, 9410);
  ASSERT_TRUE(limits.SaveLimitRanges());
  const std::string bytes = ReadFileBytes(file);
  EXPECT_EQ(bytes, EncodeLimitRanges(limits.ranges));
  // The disk fills in the middle of the write: the old file stays whole.
  limits.RememberLimitRange(3000, 4000);
  bool ok = true;
  WithFileSizeLimit(100, [&] { ok = limits.SaveLimitRanges(); });
  EXPECT_FALSE(ok);
  EXPECT_EQ(messages.lastMessage().rfind("Could not save the limits to disk.\n", 0), 0u) << messages.lastMessage();
  EXPECT_EQ(ReadFileBytes(file), bytes);
  fs::remove_all(folder.dir() + "SysFiles");
  WriteFileBytes(folder.dir() + "SysFiles", "not a folder");
  EXPECT_FALSE(limits.SaveLimitRanges());
  EXPECT_NE(messages.lastMessage().find("SysFiles/Limits1.dat"), std::string::npos) << messages.lastMessage();
}

// ---- Remembering and starting stored ranges ------------------------------------------

TEST_F(LimitRangesTest, AStoppedRangeGoesToTheTopWithThePresentTuning) {
  Slots({Range(1000, 2000, "1000-2000"), Range(3000, 4000, "3000-4000")});
  for (int i = 0; i < 20; ++i) panel.setEnabled(LimitRangeItem(i), false);  // as while scanning
  state.Mode = 2;
  controls.SelectFilter(14);
  tuning.SetTuningStep(5000);
  controls.ShowAGC(1);
  state.PBT = -150;
  settings.ScanSpeedIndex = 6;
  limits.RememberLimitRange(9250.5, 9900);
  EXPECT_EQ(limits.ranges[0], (LimitRange{9250.5, 9900, "9250.5-9900", 2, 14, 7, 1, -150, 6}));
  EXPECT_EQ(MenuItems(), Menu({"9250.5-9900", "1000-2000", "3000-4000"}));
  limits.RememberLimitRange(3000, 4000);
  EXPECT_EQ(MenuItems(), Menu({"3000-4000", "9250.5-9900", "1000-2000"}));
  ctx.decimalSeparator = ',';
  limits.RememberLimitRange(9250.5, 9900.25);
  EXPECT_EQ(MenuItems()[0], "9250,5-9900,25");
}

TEST_F(LimitRangesTest, AStoredRangeRestoresItsTuningAndSpeedAndStartsTheScan) {
  Slots({Range(1000, 2000, "1000-2000"), Range(2000, 3000, "2000-3000"),
         LimitRange{9400, 9410, "9400-9410", 3, 20, 7, 3, -50, 5}});
  ctx.scan.ScanKind = 2;
  ctx.scan.ScanDirection = 1;
  settings.MemScanStarted = true;
  panel.press(Ctl::ScanBtn);
  limits.LimRangeClick(3);
  EXPECT_EQ(starts, (std::vector<std::pair<double, double>>{{9400.0, 9410.0}}));
  EXPECT_EQ((std::vector<double>{settings.LimitLow, settings.LimitHigh, settings.ScanFrequency}),
            (std::vector<double>{9400, 9410, 9400}));
  EXPECT_EQ(ScanChoice(), (std::vector<int>{3, 0, false, false, true}));
  EXPECT_EQ((std::vector<int>{state.Mode, state.StepIndex, state.StepHz, state.FilterIndex, state.AGC, state.PBT}),
            (std::vector<int>{3, 7, 5000, 20, 3, -50}));
  for (Ctl c : {Ctl::FreqUpBtn, Ctl::ModeBtnCW, Ctl::StepBtn5000, Ctl::FiltBtn20, Ctl::AGCFastBtn})
    EXPECT_TRUE(panel[c].pressed) << ControlName(c);
  EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, "-50");
  ExpectSpeeds({10, 100, 200, 500, 1000, 3000}, 5);  // "0.1S" of a stored range is 100 ms

  // The mode is set as its button sets it.
  state.DataBFOActive = 1;
  Slots({LimitRange{7000, 7300, "7000-7300", 2, 14, 3, 2, 0, 2}});
  limits.StartStoredLimitRange(1);
  EXPECT_EQ(std::to_string(state.DataBFOActive) + " " + panel[Ctl::StatusPanel].caption, "0 LSB");
}

TEST_F(LimitRangesTest, AStoredRangeIsIgnoredWhileScanningInWwvModeOrWhenFree) {
  Slots({Range(1000, 2000, "1000-2000"), Range(2000, 3000, "2000-3000")});
  ctx.scan.ScanState = 2;
  limits.StartStoredLimitRange(1);
  ctx.scan.ScanState = 0;
  tuning.WWVBtnClick(10);
  EXPECT_FALSE(panel[Ctl::LimRange1].enabled);
  limits.StartStoredLimitRange(1);
  tuning.WWVRestoreBtnClick();  // leaving WWV mode enables only the named items
  EXPECT_EQ(MenuItems(), Menu({"1000-2000", "2000-3000"}));
  clearRecords();
  for (int slot : {3, 0, 21}) limits.StartStoredLimitRange(slot);
  EXPECT_TRUE(starts.empty() && sentUnits().empty());
  EXPECT_EQ((std::vector<double>{double(ctx.scan.ScanKind), settings.LimitLow}), (std::vector<double>{0, 0}));
}

// ---- The Limit Scan button and dialog ------------------------------------------

TEST_F(LimitRangesTest, TheButtonChoosesLimitScanAndShowsTheDialogWithLimitsThatMakeARange) {
  dialog.FormCreate();
  EXPECT_EQ(dialog.LoLimitEdit + "|" + dialog.HiLimitEdit, "|");
  settings.LimitLow = 5900;
  settings.LimitHigh = 6200.5;
  dialog.FormCreate();  // at start-up: three decimals
  EXPECT_EQ(dialog.LoLimitEdit + "|" + dialog.HiLimitEdit, "5900.000|6200.500");

  panel.setEnabled(Ctl::NowBtn, false);
  panel.press(Ctl::ScanBtn);
  ctx.scan.ScanKind = 2;
  ctx.scan.ScanDirection = 1;
  settings.MemScanStarted = true;
  dialog.LimitScanBtnClick();  // closed without an answer
  EXPECT_EQ((std::vector<int>{dialogsShown, resets, panel[Ctl::NowBtn].enabled}), (std::vector<int>{1, 0, true}));
  EXPECT_EQ(ScanChoice(), (std::vector<int>{3, 0, false, false, true}));
  ExpectSpeeds({10, 50, 200, 500, 1000, 3000}, 3);

  const struct {
    double low, high;
    const char *lowShown, *highShown;
  } fills[] = {{9400, 9410, "9400", "9410"},            {9250.5, 9900.125, "9250.5", "9900.125"},
               {10, 30000, "10", "30000"},              {0, 0, "typed low", "typed high"},
               {9410, 9400, "typed low", "typed high"}, {9400, 9400, "typed low", "typed high"},
               {5, 9400, "typed low", "9400"},          {9400, 30001, "9400", "typed high"}};
  for (const auto& c : fills) {
    settings.LimitLow = c.low;
    settings.LimitHigh = c.high;
    dialog.LoLimitEdit = "typed low";
    dialog.HiLimitEdit = "typed high";
    dialog.LimitScanBtnClick();
    EXPECT_EQ(lowShown + "|" + highShown, std::string(c.lowShown) + "|" + c.highShown) << c.low << " " << c.high;
  }

  // Cancel forgets the chosen kind.
  answer = [](LimitScanDialog& d) {
    d.LoLimitEdit = "9401";
    d.CancelBtnClick();
  };
  dialog.LimitScanBtnClick();
  EXPECT_EQ(resets, 1);
  EXPECT_FALSE(panel[Ctl::LimitScanBtn].pressed);
  EXPECT_FALSE(dialog.isOpen());
  EXPECT_EQ(settings.LimitLow, 9400.0);  // as filled, not as typed
}

TEST_F(LimitRangesTest, OkChecksTheLimits) {
  const char* const refused = "Limit frequencies are not configured properly.";
  const char* const empty = "You must enter values in both fields.";
  const struct {
    const char *low, *high, *message;  // message "" when accepted
    const char* status = "";           // when accepted
    double acceptedLow = 0, acceptedHigh = 0;
  } cases[] = {{"9400", "9410", "", "Limit Scan: 9400 to 9410 kHz", 9400, 9410},
               {"9250.5", "9900.125", "", "Limit Scan: 9250.5 to 9900.125 kHz", 9250.5, 9900.125},
               {"5000", "5000", "", "Limit Scan: 5000 to 5000 kHz", 5000, 5000},
               {"10", "30000", "", "Limit Scan: 10 to 30000 kHz", 10, 30000},
               {" 6000 ", "6100", "", "Limit Scan: 6000 to 6100 kHz", 6000, 6100},
               {"9.999", "100", refused}, {"10", "30000.001", refused}, {"9410", "9400", refused},
               {"-5", "100", refused}, {"", "9400", empty}, {"9400", "", empty}, {"", "", empty}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("'") + c.low + "' to '" + c.high + "'");
    ctx.scan.ScanKind = 0;
    settings.LimitLow = 1000;  // the old limits
    settings.LimitHigh = 2000;
    settings.ScanFrequency = 1500;
    panel.setCaption(Ctl::StatusPanel, "before");
    messages.clear();
    answer = [&](LimitScanDialog& d) {
      d.LoLimitEdit = c.low;
      d.HiLimitEdit = c.high;
      EXPECT_TRUE(d.OKBtnClick());
    };
    dialog.LimitScanBtnClick();
    EXPECT_EQ(ctx.scan.ScanKind, 3);
    EXPECT_FALSE(dialog.isOpen());
    const bool accepted = std::string(c.message).empty();
    EXPECT_EQ(messages.messages(), accepted ? Strings{} : Strings{c.message});
    if (!accepted) {  // empty fields stay as typed, refused limits are cleared
      const bool blank = std::string(c.low).empty() || std::string(c.high).empty();
      EXPECT_EQ(dialog.LoLimitEdit + "|" + dialog.HiLimitEdit, blank ? std::string(c.low) + "|" + c.high : "|");
    }
    EXPECT_EQ((std::vector<double>{settings.LimitLow, settings.LimitHigh, settings.ScanFrequency}),
              (std::vector<double>{accepted ? c.acceptedLow : 1000, accepted ? c.acceptedHigh : 2000,
                                   accepted ? c.acceptedLow : 1500}));
    EXPECT_EQ(panel[Ctl::StatusPanel].caption, accepted ? c.status : "before");
    EXPECT_EQ(panel[Ctl::LimitScanBtn].pressed, accepted);
  }
  EXPECT_EQ(resets, 0);
}

TEST_F(LimitRangesTest, CommasAreReadAndShownAndTextThatIsNoNumberKeepsTheDialogOpen) {
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

  bool closed = true;
  answer = [&](LimitScanDialog& d) {
    d.LoLimitEdit = "94x0";
    d.HiLimitEdit = "9410";
    closed = d.OKBtnClick();
    EXPECT_TRUE(d.isOpen());
    d.LoLimitEdit = "9400";  // corrected, then accepted
    EXPECT_TRUE(d.OKBtnClick());
  };
  dialog.LimitScanBtnClick();
  EXPECT_FALSE(closed);
  ASSERT_EQ(reportedErrors.size(), 1u);
  EXPECT_NE(reportedErrors[0].find("94x0"), std::string::npos) << reportedErrors[0];
  EXPECT_EQ((std::vector<double>{settings.LimitLow, settings.LimitHigh}), (std::vector<double>{9400, 9410}));
}

}  // namespace
}  // namespace ondaris
