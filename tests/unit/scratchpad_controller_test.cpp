// The scratchpad's buttons and menus through the fake panel: loading and
// saving Scratchpad.dat, recall with the bytes it puts on the line, store,
// tags, lockout, bank stepping, bank choice and memory-scan enabling, bank
// tags and clearing.

#include <gtest/gtest.h>


#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "memories/ScratchpadController.h"
#include "support/PanelFixture.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using Button = ScratchpadController::MouseButton;

// A program folder with its SysFiles folder, removed afterwards.
struct ProgramFolder : TempFolder {
  ProgramFolder() : TempFolder(true) {}
  std::string file() const { return sysFile("Scratchpad.dat"); }
};

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

// Known tunings and their bytes on the line (CW tone 700, no calibration).
constexpr const char* kUsb10000Hex = "57 0D 0D 4E 55 F0 04 CC 65 0A 0D 4D 31 0D 47 33 0D";
constexpr const char* kLsb7000_5Hex = "57 0E 0D 4E 51 3F 05 54 65 4F 0D 4D 32 0D 47 31 0D";

class ScratchpadControllerTest : public PanelFixture {
 protected:
  ScratchpadControllerTest() {
    scratch.showTagEntryDialog = [this](TagEntryDialog& dialog) {
      ++tagDialogsShown;
      shownTag = dialog.text;
      if (tagAnswer) tagAnswer(dialog);
    };
    scratch.showBankTagDialog = [this](BankTagDialog& dialog) {
      ++bankDialogsShown;
      shownBankTag = dialog.text;
      if (bankAnswer) bankAnswer(dialog);
    };
  }

  // Channel `ch` of the current bank, shown on its button.
  void Store(int ch, const ScratchpadChannel& c) {
    scratch.pad.channel(scratch.pad.CurrentBank, ch) = c;
    scratch.ShowScratchpadBank();
  }
  // What reached the line since the last clearRecords.
  std::vector<std::string> Sent() {
    EXPECT_TRUE(flushLine());
    std::vector<std::string> hex;
    for (const auto& unit : sentUnits()) hex.push_back(HexBytes(unit));
    return hex;
  }
  void Quiet() {
    ASSERT_TRUE(flushLine());
    clearRecords();
    messages.clear();
  }
  const ControlState& Button(int ch) const { return panel[ScratchpadButton(ch)]; }

  ProgramFolder folder;
  ScratchpadController scratch{ctx, receiver, controls, tuning, folder.dir()};
  int tagDialogsShown = 0;
  int bankDialogsShown = 0;
  std::string shownTag;
  std::string shownBankTag;
  std::function<void(TagEntryDialog&)> tagAnswer;
  std::function<void(BankTagDialog&)> bankAnswer;
};

// ---- Loading and saving ------------------------------------------------------

TEST_F(ScratchpadControllerTest, MissingFileGivesDefaultsAndItsMessage) {
  scratch.pad.CurrentBank = 4;
  scratch.pad.setBankEnabled(2, true);
  scratch.pad.channel(1, 1).Frequency = 5000;
  scratch.LoadScratchpad();

  EXPECT_EQ(messages.messages(), std::vector<std::string>{
                                     "Could not find file SysFiles\\Scratchpad.dat - initializing scratchpad "
                                     "memories using defaults"});
  EXPECT_EQ(scratch.pad.CurrentBank, 1);
  EXPECT_EQ(scratch.pad.enabledBankCount(), 0);
  EXPECT_TRUE(scratch.pad.channel(1, 1).empty());
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(panel[BankItem(i)].pressed) << i;
  EXPECT_EQ(panel[Ctl::Bank1].caption, "Bank &1:  ");
  EXPECT_EQ(panel[Ctl::Bank9].caption, "Bank &9:  ");
  EXPECT_EQ(panel[Ctl::Bank10].caption, "Bank 1&0:  ");
  EXPECT_EQ(panel[Ctl::BankDispPanel].caption, "1");
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Bank 1:  ");
  for (int ch = 0; ch < 16; ++ch) EXPECT_EQ(Button(ch).caption, "") << ch;
  EXPECT_FALSE(scratch.pad.hasScannableChannel());
}

TEST_F(ScratchpadControllerTest, LoadShowsTheStoredBankMenusAndStatus) {
  Scratchpad stored;
  stored.CurrentBank = 3;
  stored.bankTag(3) = "Utility";
  stored.bankTag(10) = "Ten";
  stored.setBankEnabled(3, true);
  stored.setBankEnabled(7, true);
  stored.channel(3, 0) = Channel(5000.0, 0, 4, 1, 2, 0, "WWV");
  stored.channel(3, 1) = Channel(9250.5, 0, 4, 1, 2, 0, "Locked", 1);
  stored.channel(3, 2) = Channel(50.0, 0, 4, 1, 2, 0, "Too low");
  stored.channel(4, 0) = Channel(6000.0, 0, 4, 1, 2, 0, "Other bank");
  WriteScratchpadFile(folder.file(), stored);

  scratch.LoadScratchpad();

  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(scratch.pad.CurrentBank, 3);
  EXPECT_EQ(panel[Ctl::BankDispPanel].caption, "3");
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Bank 3:  Utility");
  EXPECT_EQ(panel[Ctl::Bank3].caption, "Bank &3:  Utility");
  EXPECT_EQ(panel[Ctl::Bank10].caption, "Bank 1&0:  Ten");
  for (int i = 0; i < 10; ++i) EXPECT_EQ(panel[BankItem(i)].pressed, i == 2 || i == 6) << i;

  EXPECT_EQ(Button(0).caption, "5000");
  EXPECT_EQ(Button(0).hint, "WWV");
  EXPECT_EQ(Button(0).colour, Colour::Maroon);
  EXPECT_EQ(Button(1).caption, "9250.5");
  EXPECT_EQ(Button(1).colour, Colour::Black);
  EXPECT_EQ(Button(2).caption, "50");  // shown, though it cannot be tuned
  EXPECT_EQ(Button(3).caption, "");
  EXPECT_EQ(Button(3).hint, "");
}

TEST_F(ScratchpadControllerTest, LoadDoesNotShowTheBankStatusWhileScanning) {
  ctx.scan.ScanState = 1;
  panel.setCaption(Ctl::StatusPanel, "File Scan");
  scratch.LoadScratchpad();
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "File Scan");
}

TEST_F(ScratchpadControllerTest, FileThatCannotBeReadRaisesAFileError) {
  fs::create_directory(folder.file());
  EXPECT_THROW(scratch.LoadScratchpad(), FileError);
  EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ScratchpadControllerTest, ShortFileIsReadAsFarAsItGoes) {
  Scratchpad stored;
  stored.CurrentBank = 2;
  stored.setBankEnabled(5, true);
  WriteFileBytes(folder.file(), EncodeScratchpad(stored).substr(0, 344 + 72));  // one channel record only
  scratch.pad.channel(1, 1) = Channel(7000.0, 1, 3, 13, 2, 0, "Kept");

  scratch.LoadScratchpad();

  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(scratch.pad.CurrentBank, 2);
  EXPECT_TRUE(scratch.pad.bankEnabled(5));
  EXPECT_EQ(scratch.pad.channel(1, 1).Tag, "Kept");
  EXPECT_TRUE(panel[Ctl::Bank5].pressed);
}

TEST_F(ScratchpadControllerTest, SaveWritesTheWholeImageAndLoadReadsItBack) {
  scratch.LoadScratchpad();  // missing: defaults
  scratch.pad.setBankEnabled(2, true);
  scratch.pad.bankTag(2) = "Broadcast";
  scratch.pad.channel(2, 15) = Channel(11815.0, 0, 4, 1, 2, -50, "Radio Brasil", 1);
  scratch.pad.CurrentBank = 2;

  ASSERT_TRUE(scratch.SaveScratchpad());
  const std::string bytes = ReadFileBytes(folder.file());
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
}

TEST_F(ScratchpadControllerTest, SaveMenuItemWritesTheFile) {
  scratch.pad.CurrentBank = 6;
  scratch.SaveScpdItemClick();
  EXPECT_EQ(ReadFileBytes(folder.file()), EncodeScratchpad(scratch.pad));
}

TEST_F(ScratchpadControllerTest, SaveThatCannotCreateTheFileSaysSo) {
  fs::remove(folder.dir() + "SysFiles");
  WriteFileBytes(folder.dir() + "SysFiles", "not a folder");
  EXPECT_FALSE(scratch.SaveScratchpad());
  const std::string shown = messages.lastMessage();
  EXPECT_EQ(shown.rfind("Could not save Scratchpad file.  Aborting save operation\n", 0), 0u) << shown;
  EXPECT_NE(shown.find("SysFiles/Scratchpad.dat"), std::string::npos) << shown;
  EXPECT_EQ(ReadFileBytes(folder.dir() + "SysFiles"), "not a folder");
}

// The disk fills in the middle of the write: the old file stays whole.
TEST_F(ScratchpadControllerTest, FailedSaveLeavesTheOldFile) {
  scratch.pad.bankTag(1) = "Old";
  ASSERT_TRUE(scratch.SaveScratchpad());
  const std::string before = ReadFileBytes(folder.file());
  scratch.pad.bankTag(1) = "New";

  bool ok = true;
  WithFileSizeLimit(100, [&] { ok = scratch.SaveScratchpad(); });

  EXPECT_FALSE(ok);
  EXPECT_EQ(messages.lastMessage().rfind("Could not save Scratchpad file.  Aborting save operation", 0), 0u);
  EXPECT_EQ(ReadFileBytes(folder.file()), before);
  EXPECT_EQ(FolderEntries(folder.dir() + "SysFiles"), std::vector<std::string>{"Scratchpad.dat"});
}

// ---- Recall ------------------------------------------------------------------

struct RecallCase {
  const char* name;
  ScratchpadChannel channel;
  const char* expectedHex;
  Ctl modeButton;
  Ctl stepButton;
  int stepHz;
  Ctl agcButton;
  const char* pbtCaption;
};

void PrintTo(const RecallCase& c, std::ostream* out) { *out << c.name; }

class ScratchpadRecallTest : public PanelParamFixture<RecallCase> {
 protected:
  ProgramFolder folder;
  ScratchpadController scratch{ctx, receiver, controls, tuning, folder.dir()};
};

TEST_P(ScratchpadRecallTest, LeftClickTunesTheStoredSettingsInOneTransmission) {
  const RecallCase& c = GetParam();
  scratch.pad.channel(1, 5) = c.channel;
  scratch.ShowScratchpadBank();
  state.Freq = 15000.0;  // the tuning before the click
  state.Mode = 0;
  ASSERT_TRUE(flushLine());
  clearRecords();

  scratch.ScpdBtnMouseDown(5, Button::Left);

  ASSERT_TRUE(flushLine());
  const auto units = sentUnits();
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(HexBytes(units[0]), c.expectedHex);

  EXPECT_EQ(state.Freq, c.channel.Frequency);
  EXPECT_EQ(state.Mode, c.channel.Mode);
  EXPECT_EQ(state.StepIndex, c.channel.StepIndex);
  EXPECT_EQ(state.StepHz, c.stepHz);
  EXPECT_EQ(state.FilterIndex, c.channel.FilterIndex);
  EXPECT_EQ(state.Bandwidth, FilterTable[c.channel.FilterIndex].bandwidthHz);
  EXPECT_EQ(state.AGC, c.channel.AGC);
  EXPECT_EQ(state.PBT, c.channel.PBT);

  EXPECT_TRUE(panel[c.modeButton].pressed);
  EXPECT_TRUE(panel[FilterButton(c.channel.FilterIndex)].pressed);
  EXPECT_TRUE(panel[c.stepButton].pressed);
  EXPECT_TRUE(panel[c.agcButton].pressed);
  EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, c.pbtCaption);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, c.channel.Tag);
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
    ::testing::Values(RecallCase{"Usb10000", Channel(10000.0, 1, 5, 13, 3, 0, "Utility"), kUsb10000Hex,
                                 Ctl::ModeBtnUSB, Ctl::StepBtn1000, 1000, Ctl::AGCFastBtn, "0"},
                      RecallCase{"Lsb7000_5", Channel(7000.5, 2, 2, 14, 1, 100, "Ham net"), kLsb7000_5Hex,
                                 Ctl::ModeBtnLSB, Ctl::StepBtn50, 50, Ctl::AGCSlowBtn, "100"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScratchpadControllerTest, RecallUsesTheNineKilohertzTopStep) {
  state.NineKHzSteps = 1;
  tuning.ApplyNineKHzOption();
  Store(2, Channel(603.0, 0, 8, 1, 2, 0, "MW"));
  scratch.ScpdBtnMouseDown(2, Button::Left);
  EXPECT_EQ(state.StepHz, 9000);
  EXPECT_EQ(state.StepIndex, 8);
}

TEST_F(ScratchpadControllerTest, RecallIgnoresTheModeDefaults) {
  state.UseDefaultFilters = 1;
  state.UseDefaultSteps = 1;
  state.SSBFilterIndex = 13;
  Store(0, Channel(14200.0, 1, 3, 10, 2, 0));
  scratch.ScpdBtnMouseDown(0, Button::Left);
  EXPECT_EQ(state.FilterIndex, 10);
  EXPECT_EQ(state.StepIndex, 3);
}

TEST_F(ScratchpadControllerTest, EmptyChannelSelectsTheButtonButTunesNothing) {
  panel.setCaption(Ctl::StatusPanel, "Bank 1:  ");
  Quiet();
  scratch.ScpdBtnMouseDown(9, Button::Left);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "");
  EXPECT_TRUE(Button(9).pressed);
  EXPECT_EQ(scratch.pad.CurrentChannel, 9);
  EXPECT_FALSE(state.LastFreqRecord.valid);
}

TEST_F(ScratchpadControllerTest, ChannelsOutsideTheReceiversRangeShowButDoNotTune) {
  for (double freq : {50.0, 99.99, 30000.5}) {
    SCOPED_TRACE(freq);
    Store(4, Channel(freq, 0, 4, 1, 2, 0, "Odd"));
    EXPECT_FALSE(Button(4).caption.empty());
    Quiet();
    scratch.ScpdBtnMouseDown(4, Button::Left);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(panel[Ctl::StatusPanel].caption, "");
    EXPECT_NE(state.Freq, freq);
  }
}

TEST_F(ScratchpadControllerTest, RecallDoesNothingDuringOtherScansOrInWwvMode) {
  Store(1, Channel(6000.0, 0, 4, 1, 2, 0, "Tag"));
  for (int scanState : {1, 3, 4}) {
    SCOPED_TRACE(scanState);
    ctx.scan.ScanState = scanState;
    Quiet();
    scratch.RecallScratchpadChannel();
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(state.Freq, 15000.0);
  }
  ctx.scan.ScanState = 0;
  tuning.flags.WWVMode = 10;
  Quiet();
  scratch.RecallScratchpadChannel();
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(state.Freq, 15000.0);
}

TEST_F(ScratchpadControllerTest, RecallEndsLatchedTuning) {
  Store(1, Channel(6000.0, 0, 4, 1, 2, 0, "Tag"));
  tuning.FreqUpBtnFastClick();
  ASSERT_TRUE(tuning.flags.TuningActive);
  ASSERT_TRUE(tuningTimer.enabled());
  scratch.ScpdBtnMouseDown(1, Button::Left);
  EXPECT_FALSE(tuning.flags.TuningActive);
  EXPECT_FALSE(tuningTimer.enabled());
  EXPECT_EQ(state.Freq, 6000.0);
}

TEST_F(ScratchpadControllerTest, LeftClickDuringMemoryScanPausesThereAndTunes) {
  Store(3, Channel(10000.0, 1, 5, 13, 3, 0, "Utility"));
  ctx.scan.ScanKind = 2;
  ctx.scan.ScanState = 2;
  scanTimer.setInterval(500);
  scanTimer.setEnabled(true);
  panel.press(Ctl::ScanBtn);
  panel.press(Ctl::ScpdBtn0);
  panel.press(Ctl::FreqUpBtn);
  for (Ctl control : {Ctl::LimitScanBtn, Ctl::MemScanBtn, Ctl::FileScanBtn, Ctl::BandScanBtn, Ctl::TagBtn,
                      Ctl::WWV25Btn, Ctl::WWV5Btn, Ctl::WWV10Btn, Ctl::WWV15Btn, Ctl::WWV20Btn,
                      Ctl::WWVRestoreBtn, Ctl::LastFreqBtn, Ctl::NowBtn, Ctl::FreqUpBtnFast, Ctl::FreqDnBtnFast,
                      Ctl::VFOBtn})
    panel.setEnabled(control, false);
  Quiet();

  scratch.ScpdBtnMouseDown(3, Button::Left);

  EXPECT_EQ(ctx.scan.ScanState, 0);
  EXPECT_EQ(ctx.scan.ScanKind, 2);  // Scan resumes from here
  EXPECT_FALSE(scanTimer.enabled());
  EXPECT_FALSE(panel[Ctl::ScanBtn].pressed);
  EXPECT_FALSE(panel[Ctl::FreqUpBtn].pressed);
  EXPECT_FALSE(panel[Ctl::FreqDnBtn].pressed);
  EXPECT_TRUE(Button(3).pressed);
  EXPECT_FALSE(Button(0).pressed);
  for (Ctl control : {Ctl::LimitScanBtn, Ctl::MemScanBtn, Ctl::FileScanBtn, Ctl::BandScanBtn, Ctl::TagBtn,
                      Ctl::WWV25Btn, Ctl::WWV5Btn, Ctl::WWV10Btn, Ctl::WWV15Btn, Ctl::WWV20Btn,
                      Ctl::WWVRestoreBtn, Ctl::LastFreqBtn, Ctl::NowBtn, Ctl::FreqUpBtn, Ctl::FreqDnBtn,
                      Ctl::FreqUpBtnFast, Ctl::FreqDnBtnFast, Ctl::VFOBtn})
    EXPECT_TRUE(panel[control].enabled) << ControlName(control);
  EXPECT_EQ(Sent(), std::vector<std::string>{kUsb10000Hex});
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Utility");
}

TEST_F(ScratchpadControllerTest, MiddleClickOnlySelectsTheChannelNumber) {
  Store(6, Channel(6000.0, 0, 4, 1, 2, 0, "Tag"));
  Quiet();
  scratch.ScpdBtnMouseDown(6, Button::Middle);
  EXPECT_EQ(scratch.pad.CurrentChannel, 6);
  EXPECT_FALSE(Button(6).pressed);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(tagDialogsShown, 0);
}

// ---- Tags ----------------------------------------------------------------------

TEST_F(ScratchpadControllerTest, RightClickTunesAndOpensTheTagDialogWithTheTag) {
  Store(7, Channel(10000.0, 1, 5, 13, 3, 0, "Old tag"));
  Quiet();
  tagAnswer = [](TagEntryDialog& dialog) {
    dialog.text = "New tag";
    dialog.OKBtnClick();
  };
  scratch.ScpdBtnMouseDown(7, Button::Right);

  EXPECT_TRUE(Button(7).pressed);
  EXPECT_EQ(tagDialogsShown, 1);
  EXPECT_EQ(shownTag, "Old tag");
  EXPECT_STREQ(scratch.tagEntryDialog.caption(), "Scratchpad Memory Tag Entry");
  EXPECT_STREQ(scratch.tagEntryDialog.label(), "Enter Tag:");
  EXPECT_EQ(Sent(), std::vector<std::string>{kUsb10000Hex});
  EXPECT_EQ(scratch.pad.channel(1, 7).Tag, "New tag");
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "New tag");
  EXPECT_EQ(Button(7).hint, "Old tag");  // follows at the next redraw
  scratch.ShowScratchpadBank();
  EXPECT_EQ(Button(7).hint, "New tag");
  EXPECT_FALSE(scratch.tagEntryDialog.isOpen());
}

TEST_F(ScratchpadControllerTest, TagOfFortyCharactersIsStoredAsItsFirstThirtyTwo) {
  Store(1, Channel(6000.0, 0, 4, 1, 2, 0, "x"));
  const std::string forty = "0123456789012345678901234567890123456789";
  tagAnswer = [&](TagEntryDialog& dialog) {
    dialog.text = forty;
    dialog.OKBtnClick();
  };
  scratch.ScpdBtnMouseDown(1, Button::Right);
  EXPECT_EQ(scratch.pad.channel(1, 1).Tag, forty.substr(0, 32));
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, forty);
}

TEST_F(ScratchpadControllerTest, CancelledTagDialogChangesNothing) {
  Store(1, Channel(6000.0, 0, 4, 1, 2, 0, "Kept"));
  tagAnswer = [](TagEntryDialog& dialog) {
    dialog.text = "Typed but cancelled";
    dialog.CancelBtnClick();
  };
  scratch.ScpdBtnMouseDown(1, Button::Right);
  EXPECT_EQ(tagDialogsShown, 1);
  EXPECT_EQ(scratch.pad.channel(1, 1).Tag, "Kept");
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Kept");  // from the recall
}

TEST_F(ScratchpadControllerTest, TagDialogClosedWithoutAnAnswerCountsAsCancel) {
  Store(1, Channel(6000.0, 0, 4, 1, 2, 0, "Kept"));
  tagAnswer = [](TagEntryDialog& dialog) { dialog.text = "ignored"; };
  scratch.ScpdBtnMouseDown(1, Button::Right);
  EXPECT_FALSE(scratch.tagEntryDialog.isOpen());
  EXPECT_EQ(scratch.pad.channel(1, 1).Tag, "Kept");
  scratch.tagEntryDialog.OKBtnClick();  // a late OK does nothing
  EXPECT_EQ(scratch.pad.channel(1, 1).Tag, "Kept");
}

TEST_F(ScratchpadControllerTest, RightClickOnAnEmptyChannelOpensNoDialog) {
  scratch.ScpdBtnMouseDown(12, Button::Right);
  EXPECT_TRUE(Button(12).pressed);
  EXPECT_EQ(tagDialogsShown, 0);
}

TEST_F(ScratchpadControllerTest, RightClickDuringMemoryScanOpensNoDialog) {
  Store(1, Channel(6000.0, 0, 4, 1, 2, 0, "Tag"));
  ctx.scan.ScanKind = 2;
  ctx.scan.ScanState = 2;
  Quiet();
  scratch.ScpdBtnMouseDown(1, Button::Right);
  EXPECT_EQ(tagDialogsShown, 0);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(ctx.scan.ScanState, 2);
}

TEST_F(ScratchpadControllerTest, TagOkShowsNoStatusWhileAScanRuns) {
  Store(1, Channel(6000.0, 0, 4, 1, 2, 0, "Tag"));
  tagAnswer = [this](TagEntryDialog& dialog) {
    ctx.scan.ScanState = 4;  // a scan running behind the dialog
    panel.setCaption(Ctl::StatusPanel, "Band Scan: ");
    dialog.text = "Renamed";
    dialog.OKBtnClick();
  };
  scratch.ScpdBtnMouseDown(1, Button::Right);
  EXPECT_EQ(scratch.pad.channel(1, 1).Tag, "Renamed");
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Band Scan: ");
}

// ---- Store ("Pgm") -------------------------------------------------------------

TEST_F(ScratchpadControllerTest, StoreActsOnlyWhenTheChannelsButtonIsDown) {
  scratch.pad.CurrentChannel = 3;
  state.Freq = 7100.0;
  scratch.TagBtnClick();
  EXPECT_TRUE(scratch.pad.channel(1, 3).empty());
  EXPECT_EQ(tagDialogsShown, 0);
}

TEST_F(ScratchpadControllerTest, StoreIntoAnEmptyChannelCopiesTheTuningAndAsksForATag) {
  state.Freq = 10000.0;
  state.Mode = 1;
  tuning.SetTuningStep(1000);
  controls.SelectFilter(13);
  controls.ShowAGC(3);
  state.PBT = 0;
  scratch.ScpdBtnMouseDown(4, Button::Left);  // empty: selects it
  Quiet();
  tagAnswer = [](TagEntryDialog& dialog) {
    dialog.text = "Utility";
    dialog.OKBtnClick();
  };

  scratch.TagBtnClick();

  const ScratchpadChannel& c = scratch.pad.channel(1, 4);
  EXPECT_EQ(c, Channel(10000.0, 1, 5, 13, 3, 0, "Utility"));
  EXPECT_EQ(Button(4).caption, "10000");
  EXPECT_EQ(tagDialogsShown, 1);
  EXPECT_EQ(shownTag, "");
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Utility");
  // Opening the tag entry tunes the stored channel once.
  EXPECT_EQ(Sent(), std::vector<std::string>{kUsb10000Hex});
}

struct RestoreCase {
  double storedFreq;
  double newFreq;
  bool tagKept;
  const char* caption;
};

void PrintTo(const RestoreCase& c, std::ostream* out) { *out << c.storedFreq << " -> " << c.newFreq; }

class ScratchpadRestoreTest : public PanelParamFixture<RestoreCase> {
 protected:
  ProgramFolder folder;
  ScratchpadController scratch{ctx, receiver, controls, tuning, folder.dir()};
};

TEST_P(ScratchpadRestoreTest, RestoreWithinHalfAKilohertzKeepsTheTag) {
  const RestoreCase& c = GetParam();
  int dialogs = 0;
  scratch.showTagEntryDialog = [&](TagEntryDialog& dialog) {
    ++dialogs;
    dialog.CancelBtnClick();
  };
  scratch.pad.channel(1, 2) = Channel(c.storedFreq, 0, 4, 1, 2, 0, "Station", 1);
  scratch.ShowScratchpadBank();
  panel.press(Ctl::ScpdBtn2);
  scratch.pad.CurrentChannel = 2;
  panel.setCaption(Ctl::StatusPanel, "before");
  state.Freq = c.newFreq;

  scratch.TagBtnClick();

  const ScratchpadChannel& stored = scratch.pad.channel(1, 2);
  EXPECT_EQ(stored.Frequency, c.newFreq);
  EXPECT_EQ(stored.Lockout, 1);  // left as it was
  EXPECT_EQ(stored.Tag, c.tagKept ? "Station" : "");
  EXPECT_EQ(dialogs, c.tagKept ? 0 : 1);
  if (c.tagKept) {
    EXPECT_EQ(panel[Ctl::StatusPanel].caption, "before");
  }
  EXPECT_EQ(panel[Ctl::ScpdBtn2].caption, c.caption);
}

INSTANTIATE_TEST_SUITE_P(Distances, ScratchpadRestoreTest,
                         ::testing::Values(RestoreCase{5000.0, 5000.4, true, "5000.4"},
                                           RestoreCase{5000.0, 5000.6, false, "5000.6"},
                                           RestoreCase{5000.0, 5000.5, true, "5000.5"},
                                           RestoreCase{5000.0, 4999.5, true, "4999.5"},
                                           RestoreCase{5000.0, 4999.4, false, "4999.4"},
                                           RestoreCase{5000.0, 5000.0, true, "5000"},
                                           RestoreCase{0.0, 7205.125, false, "7205.125"}));

TEST_F(ScratchpadControllerTest, StoreAwayFromTheOldFrequencyClearsTagAndStatus) {
  Store(2, Channel(5000.0, 0, 4, 1, 2, 0, "Station"));
  panel.press(Ctl::ScpdBtn2);
  scratch.pad.CurrentChannel = 2;
  panel.setCaption(Ctl::StatusPanel, "Station");
  state.Freq = 9000.0;
  scratch.TagBtnClick();  // the dialog is cancelled (no answer)
  EXPECT_EQ(scratch.pad.channel(1, 2).Tag, "");
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "");  // cleared, then the recall shows the empty tag
  EXPECT_EQ(tagDialogsShown, 1);
}

// ---- Lockout ("Lk") ------------------------------------------------------------

TEST_F(ScratchpadControllerTest, LockoutTogglesAndRedrawsTheCaption) {
  Store(5, Channel(6000.0, 0, 4, 1, 2, 0, "Tag"));
  panel.press(Ctl::ScpdBtn5);
  scratch.pad.CurrentChannel = 5;

  scratch.LockoutBtnClick();
  EXPECT_EQ(scratch.pad.channel(1, 5).Lockout, 1);
  EXPECT_EQ(Button(5).colour, Colour::Black);
  scratch.LockoutBtnClick();
  EXPECT_EQ(scratch.pad.channel(1, 5).Lockout, 0);
  EXPECT_EQ(Button(5).colour, Colour::Maroon);
}

TEST_F(ScratchpadControllerTest, LockoutNeedsADownButtonWithACaption) {
  Store(5, Channel(6000.0, 0, 4, 1, 2, 0, "Tag"));
  scratch.pad.CurrentChannel = 5;  // not down
  scratch.LockoutBtnClick();
  EXPECT_EQ(scratch.pad.channel(1, 5).Lockout, 0);

  panel.press(Ctl::ScpdBtn6);  // down, but empty
  scratch.pad.CurrentChannel = 6;
  scratch.LockoutBtnClick();
  EXPECT_EQ(scratch.pad.channel(1, 6).Lockout, 0);
}

// ---- Banks -----------------------------------------------------------------------

TEST_F(ScratchpadControllerTest, BankButtonsWrapAndShowTheNewBank) {
  scratch.pad.bankTag(1) = "One";
  scratch.pad.bankTag(10) = "Ten";
  scratch.pad.channel(1, 0) = Channel(5000.0, 0, 4, 1, 2, 0, "in one");
  scratch.pad.channel(10, 0) = Channel(6000.0, 0, 4, 1, 2, 0, "in ten", 1);
  scratch.pad.CurrentBank = 10;
  scratch.ShowScratchpadBank();
  panel.press(Ctl::ScpdBtn0);

  scratch.BankUpBtnClick();
  EXPECT_EQ(scratch.pad.CurrentBank, 1);
  EXPECT_EQ(panel[Ctl::BankDispPanel].caption, "1");
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Bank 1:  One");
  EXPECT_EQ(Button(0).caption, "5000");
  EXPECT_EQ(Button(0).colour, Colour::Maroon);
  for (int ch = 0; ch < 16; ++ch) EXPECT_FALSE(Button(ch).pressed) << ch;

  scratch.BankDnBtnClick();
  EXPECT_EQ(scratch.pad.CurrentBank, 10);
  EXPECT_EQ(panel[Ctl::BankDispPanel].caption, "10");
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Bank 10:  Ten");
  EXPECT_EQ(Button(0).caption, "6000");
  EXPECT_EQ(Button(0).colour, Colour::Black);

  scratch.BankDnBtnClick();
  EXPECT_EQ(scratch.pad.CurrentBank, 9);
  EXPECT_EQ(Button(0).caption, "");
  EXPECT_EQ(Button(0).colour, Colour::Maroon);
}

TEST_F(ScratchpadControllerTest, BankStatusIsNotShownWhileScanning) {
  ctx.scan.ScanState = 2;
  panel.setCaption(Ctl::StatusPanel, "tag of the scanned channel");
  scratch.BankUpBtnClick();
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "tag of the scanned channel");
  scratch.BankDispPanelClick();
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "tag of the scanned channel");
  ctx.scan.ScanState = 0;
  scratch.BankDispPanelClick();
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Bank 2:  ");
}

TEST_F(ScratchpadControllerTest, BankItemShowsTheBankWhenMemoryScanIsNotChosen) {
  scratch.pad.bankTag(3) = "Utility";
  scratch.pad.channel(3, 15) = Channel(8000.0, 0, 4, 1, 2, 0, "x");
  panel.press(Ctl::ScpdBtn4);
  ctx.scan.ScanKind = 3;  // limit scan chosen
  scratch.SelectOrToggleBank(3);
  EXPECT_EQ(scratch.pad.CurrentBank, 3);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Bank 3:  Utility");
  EXPECT_EQ(Button(15).caption, "8000");
  EXPECT_FALSE(Button(4).pressed);
  EXPECT_FALSE(scratch.pad.bankEnabled(3));

  scratch.SelectOrToggleBank(10);  // Ctrl+0
  EXPECT_EQ(scratch.pad.CurrentBank, 10);
  scratch.SelectOrToggleBank(0);
  scratch.SelectOrToggleBank(11);
  EXPECT_EQ(scratch.pad.CurrentBank, 10);
}

TEST_F(ScratchpadControllerTest, WithMemoryScanChosenBankItemsToggleTheScanFlag) {
  ctx.scan.ScanKind = 2;
  scratch.SelectOrToggleBank(4);
  EXPECT_TRUE(scratch.pad.bankEnabled(4));
  EXPECT_TRUE(panel[Ctl::Bank4].pressed);
  EXPECT_EQ(scratch.pad.CurrentBank, 1);  // not shown

  scratch.SelectOrToggleBank(6);
  EXPECT_TRUE(scratch.pad.bankEnabled(6));
  scratch.SelectOrToggleBank(4);
  EXPECT_FALSE(scratch.pad.bankEnabled(4));
  EXPECT_FALSE(panel[Ctl::Bank4].pressed);
  EXPECT_TRUE(messages.shown().empty());

  // The last enabled bank stays enabled, also while the scan runs.
  ctx.scan.ScanState = 2;
  scratch.SelectOrToggleBank(6);
  EXPECT_EQ(messages.messages(),
            std::vector<std::string>{"You must leave at least one bank enabled for memory scanning."});
  EXPECT_TRUE(scratch.pad.bankEnabled(6));
  EXPECT_TRUE(panel[Ctl::Bank6].pressed);
}

TEST_F(ScratchpadControllerTest, BankTagDialogStoresTheTagAndRebuildsTheMenu) {
  scratch.pad.CurrentBank = 4;
  scratch.pad.bankTag(4) = "Old";
  bankAnswer = [](BankTagDialog& dialog) {
    dialog.text = "Broadcast bands of the world, all of them";
    dialog.OKBtnClick();
  };
  scratch.BankTagItemClick();
  EXPECT_EQ(bankDialogsShown, 1);
  EXPECT_EQ(shownBankTag, "Old");
  EXPECT_STREQ(scratch.bankTagDialog.caption(), "Bank Tag  Entry");
  EXPECT_STREQ(scratch.bankTagDialog.label(), "Bank Tag:");
  const std::string cut = std::string("Broadcast bands of the world, all of them").substr(0, 32);
  EXPECT_EQ(scratch.pad.bankTag(4), cut);
  EXPECT_EQ(panel[Ctl::Bank4].caption, "Bank &4:  " + cut);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Bank 4:  " + cut);
}

TEST_F(ScratchpadControllerTest, CancelledBankTagDialogChangesNothing) {
  scratch.pad.bankTag(1) = "Old";
  scratch.BuildBankMenuCaptions();
  bankAnswer = [](BankTagDialog& dialog) {
    dialog.text = "New";
    dialog.CancelBtnClick();
  };
  scratch.BankTagItemClick();
  EXPECT_EQ(scratch.pad.bankTag(1), "Old");
  EXPECT_EQ(panel[Ctl::Bank1].caption, "Bank &1:  Old");
}

// ---- Clearing ----------------------------------------------------------------------

TEST_F(ScratchpadControllerTest, ClearMemoryAsksAndEmptiesTheChannel) {
  Store(8, Channel(7000.0, 2, 3, 14, 1, 100, "Net", 1));
  panel.press(Ctl::ScpdBtn8);
  scratch.pad.CurrentChannel = 8;
  panel.setCaption(Ctl::StatusPanel, "Net");

  messages.answerNext(false);
  scratch.ClrMemItemClick();
  EXPECT_EQ(messages.questions(),
            std::vector<std::string>{"Do you really want to clear this scratchpad memory?"});
  EXPECT_EQ(scratch.pad.channel(1, 8).Frequency, 7000.0);

  messages.answerNext(true);
  scratch.ClrMemItemClick();
  const ScratchpadChannel& c = scratch.pad.channel(1, 8);
  EXPECT_EQ(c.Frequency, 0.0);
  EXPECT_EQ(c.Lockout, 0);
  EXPECT_EQ(c.Tag, "");
  EXPECT_EQ(c.Mode, 2);  // the settings stay in the record
  EXPECT_EQ(c.FilterIndex, 14);
  EXPECT_EQ(c.PBT, 100);
  EXPECT_EQ(Button(8).caption, "");
  EXPECT_EQ(Button(8).colour, Colour::Maroon);
  EXPECT_FALSE(Button(8).pressed);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "");
}

TEST_F(ScratchpadControllerTest, ClearMemoryNeedsADownButtonAndNoRunningMemoryScan) {
  Store(8, Channel(7000.0, 2, 3, 14, 1, 100, "Net"));
  scratch.pad.CurrentChannel = 8;
  scratch.ClrMemItemClick();  // not down: not even asked
  EXPECT_TRUE(messages.shown().empty());

  panel.press(Ctl::ScpdBtn8);
  ctx.scan.ScanKind = 2;
  ctx.scan.ScanState = 2;
  scratch.ClrMemItemClick();
  EXPECT_TRUE(messages.shown().empty());

  ctx.scan.ScanState = 0;  // paused: allowed
  messages.answerNext(true);
  scratch.ClrMemItemClick();
  EXPECT_TRUE(scratch.pad.channel(1, 8).empty());
}

TEST_F(ScratchpadControllerTest, ClearingAnEmptyMemoryAsksButChangesNothing) {
  panel.press(Ctl::ScpdBtn2);
  scratch.pad.CurrentChannel = 2;
  panel.setCaption(Ctl::StatusPanel, "keep");
  messages.answerNext(true);
  scratch.ClrMemItemClick();
  EXPECT_EQ(messages.questions().size(), 1u);
  EXPECT_TRUE(Button(2).pressed);
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "keep");
}

TEST_F(ScratchpadControllerTest, ClearBankAsksThenEmptiesAndDisablesTheBank) {
  scratch.pad.CurrentBank = 4;
  scratch.pad.bankTag(4) = "Utility";
  scratch.pad.setBankEnabled(4, true);
  scratch.pad.setBankEnabled(5, true);
  for (int ch = 0; ch < 16; ++ch) scratch.pad.channel(4, ch) = Channel(5000.0 + ch, 1, 3, 13, 2, 50, "x", ch % 2);
  scratch.pad.channel(5, 0) = Channel(9000.0, 0, 4, 1, 2, 0, "other bank");
  panel.setChecked(Ctl::Bank4, true);
  scratch.BuildBankMenuCaptions();
  scratch.ShowScratchpadBank();

  messages.answerNext(false);
  scratch.ClearBankItemClick();
  EXPECT_EQ(messages.questions(),
            std::vector<std::string>{"Are you sure you want to clear this entire scratchpad bank?"});
  EXPECT_TRUE(scratch.pad.bankEnabled(4));
  EXPECT_EQ(scratch.pad.channel(4, 3).Frequency, 5003.0);

  messages.answerNext(true);
  scratch.ClearBankItemClick();
  EXPECT_FALSE(scratch.pad.bankEnabled(4));
  EXPECT_FALSE(panel[Ctl::Bank4].pressed);
  EXPECT_EQ(panel[Ctl::Bank4].caption, "Bank 4:");
  EXPECT_EQ(scratch.pad.bankTag(4), "");
  for (int ch = 0; ch < 16; ++ch) {
    EXPECT_EQ(scratch.pad.channel(4, ch), ScratchpadChannel{}) << ch;
    EXPECT_EQ(Button(ch).caption, "") << ch;
    EXPECT_EQ(Button(ch).colour, Colour::Maroon) << ch;
  }
  EXPECT_TRUE(scratch.pad.bankEnabled(5));
  EXPECT_EQ(scratch.pad.channel(5, 0).Frequency, 9000.0);

  // The caption stays without accelerator and tag until the next rebuild.
  bankAnswer = [](BankTagDialog& dialog) {
    dialog.text = "Fresh";
    dialog.OKBtnClick();
  };
  scratch.BankTagItemClick();
  EXPECT_EQ(panel[Ctl::Bank4].caption, "Bank &4:  Fresh");
}

TEST_F(ScratchpadControllerTest, ClearedChannelsAreWrittenAsZeros) {
  scratch.pad.channel(1, 0) = Channel(5000.0, 1, 3, 13, 2, 50, "x", 1);
  messages.answerNext(true);
  scratch.ClearBankItemClick();
  ASSERT_TRUE(scratch.SaveScratchpad());
  const std::string bytes = ReadFileBytes(folder.file());
  EXPECT_EQ(bytes.substr(344, 72), std::string(72, '\0'));
}

}  // namespace
}  // namespace ondaris
