// The scratchpad's buttons and menus through the fake panel: loading and
// saving Scratchpad.dat, recall with the bytes it puts on the line, store,
// tags, lockout, bank stepping, bank choice and memory-scan enabling, bank
// tags and clearing.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "memories/ScratchpadController.h"
#include "support/PanelFixture.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using Button = ScratchpadController::MouseButton;
using Strings = std::vector<std::string>;

ScratchpadChannel Channel(double freq, int mode, int stepIndex, int filterIndex, int agc, int pbt,
                          const std::string& tag = "", int lockout = 0) {
  ScratchpadChannel c;
  c.Lockout = static_cast<std::uint8_t>(lockout);
  c.Frequency = freq;
  c.Tag = tag;
  c.Mode = static_cast<std::uint8_t>(mode);
  c.StepIndex = stepIndex;
  c.FilterIndex = filterIndex;
  c.AGC = agc;
  c.PBT = pbt;
  return c;
}
ScratchpadChannel Plain(double freq, const std::string& tag = "Tag", int lockout = 0) {
  return Channel(freq, 0, 4, 1, 2, 0, tag, lockout);
}

// Known tunings and their bytes on the line (CW tone 700, no calibration).
constexpr const char* kUsb10000Hex = "57 0D 0D 4E 55 F0 04 CC 65 0A 0D 4D 31 0D 47 33 0D";
constexpr const char* kLsb7000_5Hex = "57 0E 0D 4E 51 3F 05 54 65 4F 0D 4D 32 0D 47 31 0D";
const ScratchpadChannel kUsb10000 = Channel(10000.0, 1, 5, 13, 3, 0, "Utility");

const std::vector<Ctl> kPausedControls = {
    Ctl::LimitScanBtn, Ctl::MemScanBtn,  Ctl::FileScanBtn,   Ctl::BandScanBtn,   Ctl::TagBtn,        Ctl::WWV25Btn,
    Ctl::WWV5Btn,      Ctl::WWV10Btn,    Ctl::WWV15Btn,      Ctl::WWV20Btn,      Ctl::WWVRestoreBtn, Ctl::LastFreqBtn,
    Ctl::NowBtn,       Ctl::FreqUpBtnFast, Ctl::FreqDnBtnFast, Ctl::VFOBtn};

template <class Base>
class ScratchpadRig : public Base {
 protected:
  ScratchpadRig() {
    scratch.showTagEntryDialog = [this](TagEntryDialog& dialog) {
      ++tagDialogsShown;
      shownTag = dialog.text;
      Answer(dialog, tagAnswer);
    };
    scratch.showBankTagDialog = [this](BankTagDialog& dialog) {
      ++bankDialogsShown;
      shownBankTag = dialog.text;
      Answer(dialog, bankAnswer);
    };
  }
  // A dialog answer: nullopt closes it unanswered, "\x1b" cancels, any other text is typed and OK'd.
  template <class Dialog>
  static void Answer(Dialog& dialog, const std::optional<std::string>& answer) {
    if (!answer) return;
    if (*answer == "\x1b") {
      dialog.text = "typed, then cancelled";
      dialog.CancelBtnClick();
      return;
    }
    dialog.text = *answer;
    dialog.OKBtnClick();
  }

  // Channel `ch` of the current bank, shown on its button.
  void Store(int ch, const ScratchpadChannel& c) {
    scratch.pad.channel(scratch.pad.CurrentBank, ch) = c;
    scratch.ShowScratchpadBank();
  }
  // Channel `ch` stored and its button down.
  void StoreDown(int ch, const ScratchpadChannel& c) {
    Store(ch, c);
    this->panel.press(ScratchpadButton(ch));
    scratch.pad.CurrentChannel = ch;
  }
  // What reached the line since the last Quiet().
  Strings Sent() {
    EXPECT_TRUE(this->flushLine());
    Strings hex;
    for (const auto& unit : this->sentUnits()) hex.push_back(HexBytes(unit));
    return hex;
  }
  void Quiet() {
    ASSERT_TRUE(this->flushLine());
    this->clearRecords();
    this->messages.clear();
  }
  const ControlState& Btn(int ch) const { return this->panel[ScratchpadButton(ch)]; }
  Strings Captions() const {
    Strings captions;
    for (int ch = 0; ch < 16; ++ch) captions.push_back(Btn(ch).caption);
    return captions;
  }
  const std::string& Status() const { return this->panel[Ctl::StatusPanel].caption; }

  TempFolder folder{true};
  const std::string file = folder.sysFile("Scratchpad.dat");
  ScratchpadController scratch{this->ctx, this->receiver, this->controls, this->tuning, folder.dir()};
  int tagDialogsShown = 0;
  int bankDialogsShown = 0;
  std::string shownTag;
  std::string shownBankTag;
  std::optional<std::string> tagAnswer;
  std::optional<std::string> bankAnswer;
};

using ScratchpadControllerTest = ScratchpadRig<PanelFixture>;

// ---- Loading and saving ------------------------------------------------------

TEST_F(ScratchpadControllerTest, MissingFileGivesDefaultsAndItsMessage) {
  scratch.pad.CurrentBank = 4;
  scratch.pad.setBankEnabled(2, true);
  scratch.pad.channel(1, 1).Frequency = 5000;
  scratch.LoadScratchpad();
  EXPECT_EQ(messages.messages(), Strings{"Could not find file SysFiles\\Scratchpad.dat - initializing scratchpad "
                                         "memories using defaults"});
  EXPECT_EQ(scratch.pad.CurrentBank, 1);
  EXPECT_EQ(scratch.pad.enabledBankCount(), 0);
  EXPECT_TRUE(scratch.pad.channel(1, 1).empty());
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(panel[BankItem(i)].pressed) << i;
  EXPECT_EQ(panel[Ctl::Bank1].caption, "Bank &1:  ");
  EXPECT_EQ(panel[Ctl::Bank9].caption, "Bank &9:  ");
  EXPECT_EQ(panel[Ctl::Bank10].caption, "Bank 1&0:  ");
  EXPECT_EQ(panel[Ctl::BankDispPanel].caption, "1");
  EXPECT_EQ(Status(), "Bank 1:  ");
  EXPECT_EQ(Captions(), Strings(16, ""));
  EXPECT_FALSE(scratch.pad.hasScannableChannel());
}

TEST_F(ScratchpadControllerTest, LoadShowsTheStoredBankMenusAndStatus) {
  Scratchpad stored;
  stored.CurrentBank = 3;
  stored.bankTag(3) = "Utility";
  stored.bankTag(10) = "Ten";
  stored.setBankEnabled(3, true);
  stored.setBankEnabled(7, true);
  stored.channel(3, 0) = Plain(5000.0, "WWV");
  stored.channel(3, 1) = Plain(9250.5, "Locked", 1);
  stored.channel(3, 2) = Plain(50.0, "Too low");
  stored.channel(4, 0) = Plain(6000.0, "Other bank");
  WriteScratchpadFile(file, stored);
  scratch.LoadScratchpad();
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(scratch.pad.CurrentBank, 3);
  EXPECT_EQ(panel[Ctl::BankDispPanel].caption, "3");
  EXPECT_EQ(Status(), "Bank 3:  Utility");
  EXPECT_EQ(panel[Ctl::Bank3].caption, "Bank &3:  Utility");
  EXPECT_EQ(panel[Ctl::Bank10].caption, "Bank 1&0:  Ten");
  for (int i = 0; i < 10; ++i) EXPECT_EQ(panel[BankItem(i)].pressed, i == 2 || i == 6) << i;
  EXPECT_EQ(Captions(), (Strings{"5000", "9250.5", "50", "", "", "", "", "", "", "", "", "", "", "", "", ""}));
  EXPECT_EQ(Btn(0).hint, "WWV");
  EXPECT_EQ(Btn(0).colour, Colour::Maroon);
  EXPECT_EQ(Btn(1).colour, Colour::Black);
  EXPECT_EQ(Btn(3).hint, "");
  // While scanning the bank status is not shown.
  ctx.scan.ScanState = 1;
  panel.setCaption(Ctl::StatusPanel, "File Scan");
  scratch.LoadScratchpad();
  EXPECT_EQ(Status(), "File Scan");
}

TEST_F(ScratchpadControllerTest, UnreadableFileRaisesAFileErrorAndAShortOneIsReadAsFarAsItGoes) {
  fs::create_directory(file);
  EXPECT_THROW(scratch.LoadScratchpad(), FileError);
  EXPECT_TRUE(messages.shown().empty());
  fs::remove(file);
  Scratchpad stored;
  stored.CurrentBank = 2;
  stored.setBankEnabled(5, true);
  WriteFileBytes(file, EncodeScratchpad(stored).substr(0, 344 + 72));  // one channel record only
  scratch.pad.channel(1, 1) = Channel(7000.0, 1, 3, 13, 2, 0, "Kept");
  scratch.LoadScratchpad();
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(scratch.pad.CurrentBank, 2);
  EXPECT_TRUE(scratch.pad.bankEnabled(5));
  EXPECT_EQ(scratch.pad.channel(1, 1).Tag, "Kept");
  EXPECT_TRUE(panel[Ctl::Bank5].pressed);
}

TEST_F(ScratchpadControllerTest, SaveWritesTheWholeImageAtomicallyAndLoadReadsItBack) {
  scratch.LoadScratchpad();  // missing: defaults
  scratch.pad.setBankEnabled(2, true);
  scratch.pad.bankTag(2) = "Broadcast";
  scratch.pad.channel(2, 15) = Channel(11815.0, 0, 4, 1, 2, -50, "Radio Brasil", 1);
  scratch.pad.CurrentBank = 2;
  scratch.SaveScpdItemClick();
  const std::string bytes = ReadFileBytes(file);
  EXPECT_EQ(bytes.size(), 11864u);
  EXPECT_EQ(bytes, EncodeScratchpad(scratch.pad));

  PanelRig other;
  ScratchpadController again(other.ctx, other.receiver, other.controls, other.tuning, folder.dir());
  again.LoadScratchpad();
  EXPECT_TRUE(other.messages.shown().empty());
  EXPECT_EQ(again.pad.CurrentBank, 2);
  EXPECT_EQ(again.pad.BankTags, scratch.pad.BankTags);
  EXPECT_EQ(again.pad.BankEnabled, scratch.pad.BankEnabled);
  EXPECT_EQ(again.pad.Banks, scratch.pad.Banks);
  EXPECT_EQ(other.panel[Ctl::ScpdBtn15].caption, "11815");
  EXPECT_EQ(other.panel[Ctl::ScpdBtn15].colour, Colour::Black);
  // The disk fills in the middle of the write: the old file stays whole.
  scratch.pad.bankTag(1) = "Old";
  ASSERT_TRUE(scratch.SaveScratchpad());
  const std::string before = ReadFileBytes(file);
  scratch.pad.bankTag(1) = "New";
  bool ok = true;
  WithFileSizeLimit(100, [&] { ok = scratch.SaveScratchpad(); });
  EXPECT_FALSE(ok);
  EXPECT_EQ(messages.lastMessage().rfind("Could not save Scratchpad file.  Aborting save operation", 0), 0u);
  EXPECT_EQ(ReadFileBytes(file), before);
  EXPECT_EQ(FolderEntries(folder.dir() + "SysFiles"), Strings{"Scratchpad.dat"});
  // No folder to write in.
  fs::remove_all(folder.dir() + "SysFiles");
  WriteFileBytes(folder.dir() + "SysFiles", "not a folder");
  EXPECT_FALSE(scratch.SaveScratchpad());
  const std::string shown = messages.lastMessage();
  EXPECT_EQ(shown.rfind("Could not save Scratchpad file.  Aborting save operation\n", 0), 0u) << shown;
  EXPECT_NE(shown.find("SysFiles/Scratchpad.dat"), std::string::npos) << shown;
  EXPECT_EQ(ReadFileBytes(folder.dir() + "SysFiles"), "not a folder");
}

// The disk fills in the middle of the write: the old file stays whole.
// ---- Recall ------------------------------------------------------------------

struct RecallCase {
  ScratchpadChannel channel;
  const char* expectedHex;
  std::vector<Ctl> pressed;  // mode, step and AGC buttons
  int stepHz;
  const char* pbtCaption;
};

class ScratchpadRecallTest : public ScratchpadRig<PanelParamFixture<RecallCase>> {};

TEST_P(ScratchpadRecallTest, LeftClickTunesTheStoredSettingsInOneTransmission) {
  const RecallCase& c = GetParam();
  Store(5, c.channel);
  Quiet();
  scratch.ScpdBtnMouseDown(5, Button::Left);
  EXPECT_EQ(Sent(), Strings{c.expectedHex});
  EXPECT_EQ(state.Freq, c.channel.Frequency);
  EXPECT_EQ((std::vector<int>{state.Mode, state.StepIndex, state.StepHz, state.FilterIndex, state.Bandwidth,
                              state.AGC, state.PBT}),
            (std::vector<int>{c.channel.Mode, c.channel.StepIndex, c.stepHz, c.channel.FilterIndex,
                              FilterTable[c.channel.FilterIndex].bandwidthHz, c.channel.AGC, c.channel.PBT}));
  for (Ctl b : c.pressed) EXPECT_TRUE(panel[b].pressed) << ControlName(b);
  EXPECT_TRUE(panel[FilterButton(c.channel.FilterIndex)].pressed);
  EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, c.pbtCaption);
  EXPECT_EQ(Status(), c.channel.Tag);
  EXPECT_TRUE(panel[Ctl::ScpdBtn5].pressed);
  EXPECT_EQ(scratch.pad.CurrentChannel, 5);
  // The tuning before the click is the last frequency.
  EXPECT_TRUE(state.LastFreqRecord.valid);
  EXPECT_EQ(state.LastFreqRecord.freq, 15000.0);
  EXPECT_EQ(state.LastFreqRecord.mode, 0);
  EXPECT_EQ(panel[Ctl::FreqDispPanel].caption, receiver.FrequencyDisplayText());
}

INSTANTIATE_TEST_SUITE_P(
    Tunings, ScratchpadRecallTest,
    ::testing::Values(RecallCase{kUsb10000, kUsb10000Hex, {Ctl::ModeBtnUSB, Ctl::StepBtn1000, Ctl::AGCFastBtn}, 1000,
                                 "0"},
                      RecallCase{Channel(7000.5, 2, 2, 14, 1, 100, "Ham net"), kLsb7000_5Hex,
                                 {Ctl::ModeBtnLSB, Ctl::StepBtn50, Ctl::AGCSlowBtn}, 50, "100"}));

TEST_F(ScratchpadControllerTest, RecallUsesTheNineKilohertzTopStepAndIgnoresTheModeDefaults) {
  state.NineKHzSteps = 1;
  tuning.ApplyNineKHzOption();
  Store(2, Channel(603.0, 0, 8, 1, 2, 0, "MW"));
  scratch.ScpdBtnMouseDown(2, Button::Left);
  EXPECT_EQ(state.StepHz, 9000);
  EXPECT_EQ(state.StepIndex, 8);
  state.UseDefaultFilters = 1;
  state.UseDefaultSteps = 1;
  state.SSBFilterIndex = 13;
  Store(0, Channel(14200.0, 1, 3, 10, 2, 0));
  scratch.ScpdBtnMouseDown(0, Button::Left);
  EXPECT_EQ(state.FilterIndex, 10);
  EXPECT_EQ(state.StepIndex, 3);
}

TEST_F(ScratchpadControllerTest, EmptyOrOutOfRangeChannelsSelectTheButtonButTuneNothing) {
  panel.setCaption(Ctl::StatusPanel, "Bank 1:  ");
  Quiet();
  scratch.ScpdBtnMouseDown(9, Button::Left);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(Status(), "");
  EXPECT_TRUE(Btn(9).pressed);
  EXPECT_EQ(scratch.pad.CurrentChannel, 9);
  EXPECT_FALSE(state.LastFreqRecord.valid);
  for (double freq : {50.0, 99.99, 30000.5}) {
    SCOPED_TRACE(freq);
    Store(4, Plain(freq, "Odd"));
    EXPECT_FALSE(Btn(4).caption.empty());
    Quiet();
    scratch.ScpdBtnMouseDown(4, Button::Left);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Status(), "");
    EXPECT_NE(state.Freq, freq);
  }
  // A middle click only selects the channel number.
  Store(6, Plain(6000.0));
  Quiet();
  scratch.ScpdBtnMouseDown(6, Button::Middle);
  EXPECT_EQ(scratch.pad.CurrentChannel, 6);
  EXPECT_FALSE(Btn(6).pressed);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(tagDialogsShown, 0);
}

TEST_F(ScratchpadControllerTest, RecallDoesNothingDuringOtherScansOrInWwvMode) {
  Store(1, Plain(6000.0));
  for (int scanState : {1, 3, 4, 0}) {
    SCOPED_TRACE(scanState);
    ctx.scan.ScanState = scanState;
    tuning.flags.WWVMode = scanState == 0 ? 10 : 0;
    Quiet();
    scratch.RecallScratchpadChannel();
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(state.Freq, 15000.0);
  }
}

TEST_F(ScratchpadControllerTest, RecallEndsLatchedTuning) {
  Store(1, Plain(6000.0));
  tuning.FreqUpBtnFastClick();
  ASSERT_TRUE(tuning.flags.TuningActive);
  ASSERT_TRUE(tuningTimer.enabled());
  scratch.ScpdBtnMouseDown(1, Button::Left);
  EXPECT_FALSE(tuning.flags.TuningActive);
  EXPECT_FALSE(tuningTimer.enabled());
  EXPECT_EQ(state.Freq, 6000.0);
}

TEST_F(ScratchpadControllerTest, LeftClickDuringMemoryScanPausesThereAndTunes) {
  Store(3, kUsb10000);
  Store(1, Plain(6000.0));
  ctx.scan.ScanKind = 2;
  ctx.scan.ScanState = 2;
  scanTimer.setInterval(500);
  scanTimer.setEnabled(true);
  for (Ctl c : {Ctl::ScanBtn, Ctl::ScpdBtn0, Ctl::FreqUpBtn}) panel.press(c);
  for (Ctl c : kPausedControls) panel.setEnabled(c, false);
  Quiet();
  // A right click opens no dialog and tunes nothing while the scan runs.
  scratch.ScpdBtnMouseDown(1, Button::Right);
  EXPECT_EQ(tagDialogsShown, 0);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(ctx.scan.ScanState, 2);

  scratch.ScpdBtnMouseDown(3, Button::Left);
  EXPECT_EQ(ctx.scan.ScanState, 0);
  EXPECT_EQ(ctx.scan.ScanKind, 2);  // Scan resumes from here
  EXPECT_FALSE(scanTimer.enabled());
  for (Ctl c : {Ctl::ScanBtn, Ctl::FreqUpBtn, Ctl::FreqDnBtn, Ctl::ScpdBtn0})
    EXPECT_FALSE(panel[c].pressed) << ControlName(c);
  EXPECT_TRUE(Btn(3).pressed);
  for (Ctl c : kPausedControls) EXPECT_TRUE(panel[c].enabled) << ControlName(c);
  EXPECT_TRUE(panel[Ctl::FreqUpBtn].enabled);
  EXPECT_TRUE(panel[Ctl::FreqDnBtn].enabled);
  EXPECT_EQ(Sent(), Strings{kUsb10000Hex});
  EXPECT_EQ(Status(), "Utility");
}

// ---- Tags ----------------------------------------------------------------------

TEST_F(ScratchpadControllerTest, RightClickTunesAndOpensTheTagDialogWithTheTag) {
  Store(7, Channel(10000.0, 1, 5, 13, 3, 0, "Old tag"));
  Quiet();
  tagAnswer = "New tag";
  scratch.ScpdBtnMouseDown(7, Button::Right);
  EXPECT_TRUE(Btn(7).pressed);
  EXPECT_EQ(tagDialogsShown, 1);
  EXPECT_EQ(shownTag, "Old tag");
  EXPECT_STREQ(scratch.tagEntryDialog.caption(), "Scratchpad Memory Tag Entry");
  EXPECT_STREQ(scratch.tagEntryDialog.label(), "Enter Tag:");
  EXPECT_EQ(Sent(), Strings{kUsb10000Hex});
  EXPECT_EQ(scratch.pad.channel(1, 7).Tag, "New tag");
  EXPECT_EQ(Status(), "New tag");
  EXPECT_EQ(Btn(7).hint, "Old tag");  // follows at the next redraw
  scratch.ShowScratchpadBank();
  EXPECT_EQ(Btn(7).hint, "New tag");
  EXPECT_FALSE(scratch.tagEntryDialog.isOpen());
  // Forty characters are stored as their first thirty-two.
  const std::string forty = "0123456789012345678901234567890123456789";
  tagAnswer = forty;
  scratch.ScpdBtnMouseDown(7, Button::Right);
  EXPECT_EQ(scratch.pad.channel(1, 7).Tag, forty.substr(0, 32));
  EXPECT_EQ(Status(), forty);
  // An empty channel opens no dialog.
  scratch.ScpdBtnMouseDown(12, Button::Right);
  EXPECT_TRUE(Btn(12).pressed);
  EXPECT_EQ(tagDialogsShown, 2);
}

TEST_F(ScratchpadControllerTest, CancelledOrUnansweredTagDialogChangesNothing) {
  Store(1, Plain(6000.0, "Kept"));
  tagAnswer = "\x1b";
  scratch.ScpdBtnMouseDown(1, Button::Right);
  EXPECT_EQ(tagDialogsShown, 1);
  EXPECT_EQ(scratch.pad.channel(1, 1).Tag, "Kept");
  EXPECT_EQ(Status(), "Kept");  // from the recall
  tagAnswer.reset();
  scratch.ScpdBtnMouseDown(1, Button::Right);
  EXPECT_FALSE(scratch.tagEntryDialog.isOpen());
  scratch.tagEntryDialog.text = "ignored";
  scratch.tagEntryDialog.OKBtnClick();  // a late OK does nothing
  EXPECT_EQ(scratch.pad.channel(1, 1).Tag, "Kept");
  // An OK while a scan runs behind the dialog shows no status.
  scratch.showTagEntryDialog = [this](TagEntryDialog& dialog) {
    ctx.scan.ScanState = 4;  // a scan running behind the dialog
    panel.setCaption(Ctl::StatusPanel, "Band Scan: ");
    dialog.text = "Renamed";
    dialog.OKBtnClick();
  };
  scratch.ScpdBtnMouseDown(1, Button::Right);
  EXPECT_EQ(scratch.pad.channel(1, 1).Tag, "Renamed");
  EXPECT_EQ(Status(), "Band Scan: ");
}

// ---- Store ("Pgm") -------------------------------------------------------------

TEST_F(ScratchpadControllerTest, StoreIntoAnEmptyChannelCopiesTheTuningAndAsksForATag) {
  scratch.pad.CurrentChannel = 3;
  state.Freq = 7100.0;
  scratch.TagBtnClick();  // the button is not down: nothing
  EXPECT_TRUE(scratch.pad.channel(1, 3).empty());
  EXPECT_EQ(tagDialogsShown, 0);

  state.Freq = 10000.0;
  state.Mode = 1;
  tuning.SetTuningStep(1000);
  controls.SelectFilter(13);
  controls.ShowAGC(3);
  state.PBT = 0;
  scratch.ScpdBtnMouseDown(4, Button::Left);  // empty: selects it
  Quiet();
  tagAnswer = "Utility";
  scratch.TagBtnClick();
  EXPECT_EQ(scratch.pad.channel(1, 4), kUsb10000);
  EXPECT_EQ(Btn(4).caption, "10000");
  EXPECT_EQ(tagDialogsShown, 1);
  EXPECT_EQ(shownTag, "");
  EXPECT_EQ(Status(), "Utility");
  EXPECT_EQ(Sent(), Strings{kUsb10000Hex});  // opening the tag entry tunes the stored channel once
}

TEST_F(ScratchpadControllerTest, RestoreWithinHalfAKilohertzKeepsTheTag) {
  struct Case {
    double storedFreq, newFreq;
    bool tagKept;
    const char* caption;
  };
  const Case cases[] = {{5000.0, 5000.4, true, "5000.4"},  {5000.0, 5000.6, false, "5000.6"},
                        {5000.0, 5000.5, true, "5000.5"},  {5000.0, 4999.5, true, "4999.5"},
                        {5000.0, 4999.4, false, "4999.4"}, {5000.0, 5000.0, true, "5000"},
                        {0.0, 7205.125, false, "7205.125"}};
  tagAnswer = "\x1b";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    tagDialogsShown = 0;
    StoreDown(2, Plain(c.storedFreq, "Station", 1));
    panel.setCaption(Ctl::StatusPanel, "before");
    state.Freq = c.newFreq;
    scratch.TagBtnClick();
    const ScratchpadChannel& stored = scratch.pad.channel(1, 2);
    EXPECT_EQ(stored.Frequency, c.newFreq);
    EXPECT_EQ(stored.Lockout, 1);  // left as it was
    EXPECT_EQ(stored.Tag, c.tagKept ? "Station" : "");
    EXPECT_EQ(tagDialogsShown, c.tagKept ? 0 : 1);
    // Away from the old frequency the status is cleared, then the recall shows the empty tag.
    EXPECT_EQ(Status(), c.tagKept ? "before" : "");
    EXPECT_EQ(Btn(2).caption, c.caption);
  }
}

// ---- Lockout ("Lk") ------------------------------------------------------------

TEST_F(ScratchpadControllerTest, LockoutNeedsADownButtonWithACaptionAndTogglesTheColour) {
  Store(5, Plain(6000.0));
  scratch.pad.CurrentChannel = 5;  // not down
  scratch.LockoutBtnClick();
  EXPECT_EQ(scratch.pad.channel(1, 5).Lockout, 0);
  StoreDown(6, ScratchpadChannel{});  // down, but empty
  scratch.LockoutBtnClick();
  EXPECT_EQ(scratch.pad.channel(1, 6).Lockout, 0);

  StoreDown(5, Plain(6000.0));
  scratch.LockoutBtnClick();
  EXPECT_EQ(scratch.pad.channel(1, 5).Lockout, 1);
  EXPECT_EQ(Btn(5).colour, Colour::Black);
  scratch.LockoutBtnClick();
  EXPECT_EQ(scratch.pad.channel(1, 5).Lockout, 0);
  EXPECT_EQ(Btn(5).colour, Colour::Maroon);
}

// ---- Banks -----------------------------------------------------------------------

TEST_F(ScratchpadControllerTest, BankButtonsWrapAndShowTheNewBank) {
  scratch.pad.bankTag(1) = "One";
  scratch.pad.bankTag(10) = "Ten";
  scratch.pad.channel(1, 0) = Plain(5000.0, "in one");
  scratch.pad.channel(10, 0) = Plain(6000.0, "in ten", 1);
  scratch.pad.CurrentBank = 10;
  scratch.ShowScratchpadBank();
  panel.press(Ctl::ScpdBtn0);
  scratch.BankUpBtnClick();
  EXPECT_EQ(scratch.pad.CurrentBank, 1);
  EXPECT_EQ(panel[Ctl::BankDispPanel].caption, "1");
  EXPECT_EQ(Status(), "Bank 1:  One");
  EXPECT_EQ(Btn(0).caption, "5000");
  EXPECT_EQ(Btn(0).colour, Colour::Maroon);
  for (int ch = 0; ch < 16; ++ch) EXPECT_FALSE(Btn(ch).pressed) << ch;
  scratch.BankDnBtnClick();
  EXPECT_EQ(scratch.pad.CurrentBank, 10);
  EXPECT_EQ(panel[Ctl::BankDispPanel].caption, "10");
  EXPECT_EQ(Status(), "Bank 10:  Ten");
  EXPECT_EQ(Btn(0).caption, "6000");
  EXPECT_EQ(Btn(0).colour, Colour::Black);
  scratch.BankDnBtnClick();
  EXPECT_EQ(scratch.pad.CurrentBank, 9);
  EXPECT_EQ(Btn(0).caption, "");
  EXPECT_EQ(Btn(0).colour, Colour::Maroon);
  // While scanning the bank status is not shown.
  ctx.scan.ScanState = 2;
  panel.setCaption(Ctl::StatusPanel, "tag of the scanned channel");
  scratch.BankUpBtnClick();
  scratch.BankDispPanelClick();
  EXPECT_EQ(Status(), "tag of the scanned channel");
  ctx.scan.ScanState = 0;
  scratch.BankDispPanelClick();
  EXPECT_EQ(Status(), "Bank 10:  Ten");
}

TEST_F(ScratchpadControllerTest, BankItemsShowTheBankOrWithMemoryScanChosenToggleItsScanFlag) {
  scratch.pad.bankTag(3) = "Utility";
  scratch.pad.channel(3, 15) = Plain(8000.0);
  panel.press(Ctl::ScpdBtn4);
  ctx.scan.ScanKind = 3;  // limit scan chosen
  scratch.SelectOrToggleBank(3);
  EXPECT_EQ(scratch.pad.CurrentBank, 3);
  EXPECT_EQ(Status(), "Bank 3:  Utility");
  EXPECT_EQ(Btn(15).caption, "8000");
  EXPECT_FALSE(Btn(4).pressed);
  EXPECT_FALSE(scratch.pad.bankEnabled(3));
  scratch.SelectOrToggleBank(10);  // Ctrl+0
  EXPECT_EQ(scratch.pad.CurrentBank, 10);
  scratch.SelectOrToggleBank(0);
  scratch.SelectOrToggleBank(11);
  EXPECT_EQ(scratch.pad.CurrentBank, 10);
  // With memory scan chosen the items toggle the scan flag instead.
  scratch.pad.CurrentBank = 1;
  ctx.scan.ScanKind = 2;
  scratch.SelectOrToggleBank(4);
  EXPECT_TRUE(scratch.pad.bankEnabled(4));
  EXPECT_TRUE(panel[Ctl::Bank4].pressed);
  EXPECT_EQ(scratch.pad.CurrentBank, 1);  // not shown
  scratch.SelectOrToggleBank(6);
  scratch.SelectOrToggleBank(4);
  EXPECT_TRUE(scratch.pad.bankEnabled(6));
  EXPECT_FALSE(scratch.pad.bankEnabled(4));
  EXPECT_FALSE(panel[Ctl::Bank4].pressed);
  EXPECT_TRUE(messages.shown().empty());
  // The last enabled bank stays enabled, also while the scan runs.
  ctx.scan.ScanState = 2;
  scratch.SelectOrToggleBank(6);
  EXPECT_EQ(messages.messages(), Strings{"You must leave at least one bank enabled for memory scanning."});
  EXPECT_TRUE(scratch.pad.bankEnabled(6));
  EXPECT_TRUE(panel[Ctl::Bank6].pressed);
}

TEST_F(ScratchpadControllerTest, BankTagDialogStoresTheTagAndRebuildsTheMenu) {
  scratch.pad.bankTag(1) = "Old";
  scratch.BuildBankMenuCaptions();
  bankAnswer = "\x1b";
  scratch.BankTagItemClick();
  EXPECT_EQ(scratch.pad.bankTag(1), "Old");
  EXPECT_EQ(panel[Ctl::Bank1].caption, "Bank &1:  Old");

  scratch.pad.CurrentBank = 4;
  scratch.pad.bankTag(4) = "Old four";
  bankAnswer = "Broadcast bands of the world, all of them";
  scratch.BankTagItemClick();
  EXPECT_EQ(bankDialogsShown, 2);
  EXPECT_EQ(shownBankTag, "Old four");
  EXPECT_STREQ(scratch.bankTagDialog.caption(), "Bank Tag  Entry");
  EXPECT_STREQ(scratch.bankTagDialog.label(), "Bank Tag:");
  const std::string cut = bankAnswer->substr(0, 32);
  EXPECT_EQ(scratch.pad.bankTag(4), cut);
  EXPECT_EQ(panel[Ctl::Bank4].caption, "Bank &4:  " + cut);
  EXPECT_EQ(Status(), "Bank 4:  " + cut);
}

// ---- Clearing ----------------------------------------------------------------------

TEST_F(ScratchpadControllerTest, ClearMemoryNeedsADownButtonAndNoRunningMemoryScanThenAsks) {
  Store(8, Channel(7000.0, 2, 3, 14, 1, 100, "Net", 1));
  scratch.pad.CurrentChannel = 8;
  scratch.ClrMemItemClick();  // not down: not even asked
  panel.press(Ctl::ScpdBtn8);
  ctx.scan.ScanKind = 2;
  ctx.scan.ScanState = 2;
  scratch.ClrMemItemClick();
  EXPECT_TRUE(messages.shown().empty());

  ctx.scan.ScanState = 0;  // paused: allowed
  panel.setCaption(Ctl::StatusPanel, "Net");
  messages.answerNext({false, true});
  scratch.ClrMemItemClick();
  EXPECT_EQ(messages.questions(), Strings{"Do you really want to clear this scratchpad memory?"});
  EXPECT_EQ(scratch.pad.channel(1, 8).Frequency, 7000.0);
  scratch.ClrMemItemClick();
  const ScratchpadChannel& c = scratch.pad.channel(1, 8);
  EXPECT_TRUE(c.empty());
  EXPECT_EQ(c.Lockout, 0);
  EXPECT_EQ(c.Tag, "");
  EXPECT_EQ(c.Mode, 2);  // the settings stay in the record
  EXPECT_EQ(c.FilterIndex, 14);
  EXPECT_EQ(c.PBT, 100);
  EXPECT_EQ(Btn(8).caption, "");
  EXPECT_EQ(Btn(8).colour, Colour::Maroon);
  EXPECT_FALSE(Btn(8).pressed);
  EXPECT_EQ(Status(), "");

  // An empty memory: asked, nothing changes.
  StoreDown(2, ScratchpadChannel{});
  panel.setCaption(Ctl::StatusPanel, "keep");
  messages.answerNext(true);
  scratch.ClrMemItemClick();
  EXPECT_EQ(messages.questions().size(), 3u);
  EXPECT_TRUE(Btn(2).pressed);
  EXPECT_EQ(Status(), "keep");
}

TEST_F(ScratchpadControllerTest, ClearBankAsksThenEmptiesAndDisablesTheBank) {
  scratch.pad.CurrentBank = 4;
  scratch.pad.bankTag(4) = "Utility";
  scratch.pad.setBankEnabled(4, true);
  scratch.pad.setBankEnabled(5, true);
  for (int ch = 0; ch < 16; ++ch) scratch.pad.channel(4, ch) = Channel(5000.0 + ch, 1, 3, 13, 2, 50, "x", ch % 2);
  scratch.pad.channel(5, 0) = Plain(9000.0, "other bank");
  panel.setChecked(Ctl::Bank4, true);
  scratch.BuildBankMenuCaptions();
  scratch.ShowScratchpadBank();
  messages.answerNext({false, true});
  scratch.ClearBankItemClick();
  EXPECT_EQ(messages.questions(), Strings{"Are you sure you want to clear this entire scratchpad bank?"});
  EXPECT_TRUE(scratch.pad.bankEnabled(4));
  EXPECT_EQ(scratch.pad.channel(4, 3).Frequency, 5003.0);
  scratch.ClearBankItemClick();
  EXPECT_FALSE(scratch.pad.bankEnabled(4));
  EXPECT_FALSE(panel[Ctl::Bank4].pressed);
  EXPECT_EQ(panel[Ctl::Bank4].caption, "Bank 4:");
  EXPECT_EQ(scratch.pad.bankTag(4), "");
  for (int ch = 0; ch < 16; ++ch) {
    EXPECT_EQ(scratch.pad.channel(4, ch), ScratchpadChannel{}) << ch;
    EXPECT_EQ(Btn(ch).colour, Colour::Maroon) << ch;
  }
  EXPECT_EQ(Captions(), Strings(16, ""));
  EXPECT_TRUE(scratch.pad.bankEnabled(5));
  EXPECT_EQ(scratch.pad.channel(5, 0).Frequency, 9000.0);
  // Cleared channels are written as zeros.
  ASSERT_TRUE(scratch.SaveScratchpad());
  EXPECT_EQ(ReadFileBytes(file).substr(344 + 3 * 16 * 72, 72), std::string(72, '\0'));
  // The caption stays without accelerator and tag until the next rebuild.
  bankAnswer = "Fresh";
  scratch.BankTagItemClick();
  EXPECT_EQ(panel[Ctl::Bank4].caption, "Bank &4:  Fresh");
}

}  // namespace
}  // namespace ondaris
