// The scratchpad's buttons and menus through the fake panel: Scratchpad.dat, recall with the bytes it puts
// on the line, store, tags, lockout, bank stepping, choice and memory-scan enabling, bank tags and clearing.

#include <gtest/gtest.h>

#include <filesystem>
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
  return {static_cast<std::uint8_t>(lockout), freq, tag, static_cast<std::uint8_t>(mode), stepIndex, filterIndex,
          agc, pbt};
}
ScratchpadChannel Plain(double freq, const std::string& tag = "Tag", int lockout = 0) {
  return Channel(freq, 0, 4, 1, 2, 0, tag, lockout);
}

// Known tunings and their bytes on the line (CW tone 700, no calibration).
constexpr const char* kUsb10000Hex = "57 0D 0D 4E 55 F0 04 CC 65 0A 0D 4D 31 0D 47 33 0D";
constexpr const char* kLsb7000_5Hex = "57 0E 0D 4E 51 3F 05 54 65 4F 0D 4D 32 0D 47 31 0D";
const ScratchpadChannel kUsb10000 = Channel(10000.0, 1, 5, 13, 3, 0, "Utility");

class ScratchpadControllerTest : public PanelFixture {
 protected:
  ScratchpadControllerTest() {
    scratch.showTagEntryDialog = [this](TagEntryDialog& dialog) { Answer(dialog, tagAnswer); };
    scratch.showBankTagDialog = [this](BankTagDialog& dialog) { Answer(dialog, bankAnswer); };
  }
  // A dialog answer: nullopt closes it unanswered, "\x1b" cancels after typing, any other text is typed and OK'd.
  void Answer(TagDialogModel& dialog, const std::optional<std::string>& answer) {
    ++dialogsShown;
    shownText = dialog.text;
    if (!answer) return;
    dialog.text = *answer == "\x1b" ? "typed, then cancelled" : *answer;
    if (*answer == "\x1b")
      dialog.CancelBtnClick();
    else
      dialog.OKBtnClick();
  }
  // Channel `ch` of the current bank, shown on its button, and with `down` its button down.
  void Store(int ch, const ScratchpadChannel& c, bool down = false) {
    scratch.pad.channel(scratch.pad.CurrentBank, ch) = c;
    scratch.ShowScratchpadBank();
    if (!down) return;
    panel.press(ScratchpadButton(ch));
    scratch.pad.CurrentChannel = ch;
  }
  // What reached the line since the last Quiet().
  Strings Sent() {
    EXPECT_TRUE(flushLine());
    Strings hex;
    for (const auto& unit : sentUnits()) hex.push_back(HexBytes(unit));
    return hex;
  }
  void Quiet() {
    ASSERT_TRUE(flushLine());
    clearRecords();
    messages.clear();
  }
  const ControlState& Btn(int ch) const { return panel[ScratchpadButton(ch)]; }
  Strings Captions() const {
    Strings captions;
    for (int ch = 0; ch < 16; ++ch) captions.push_back(Btn(ch).caption);
    return captions;
  }
  const std::string& Status() const { return panel[Ctl::StatusPanel].caption; }

  TempFolder folder{true};
  const std::string file = folder.sysFile("Scratchpad.dat");
  ScratchpadController scratch{ctx, receiver, controls, tuning, folder.dir()};
  int dialogsShown = 0;
  std::string shownText;  // what the last dialog showed in its edit
  std::optional<std::string> tagAnswer;
  std::optional<std::string> bankAnswer;
};

// ---- Loading and saving ------------------------------------------------------

TEST_F(ScratchpadControllerTest, MissingFileGivesDefaultsAndAStoredOneShowsItsBankMenusAndStatus) {
  scratch.pad.CurrentBank = 4;
  scratch.pad.setBankEnabled(2, true);
  scratch.pad.channel(1, 1).Frequency = 5000;
  panel.setChecked(Ctl::Bank2, true);
  scratch.LoadScratchpad();
  EXPECT_EQ(messages.messages(), Strings{"Could not find file SysFiles\\Scratchpad.dat - initializing scratchpad "
                                         "memories using defaults"});
  EXPECT_EQ((std::vector<int>{scratch.pad.CurrentBank, scratch.pad.enabledBankCount(),
                              scratch.pad.channel(1, 1).empty(), panel[Ctl::Bank2].pressed}),
            (std::vector<int>{1, 0, true, false}));

  Scratchpad stored;
  stored.CurrentBank = 3;
  stored.bankTag(3) = "Utility";
  stored.bankTag(10) = "Ten";
  stored.setBankEnabled(3, true);
  stored.setBankEnabled(7, true);
  stored.channel(3, 0) = Plain(5000.0, "WWV");
  stored.channel(3, 1) = Plain(9250.5, "Locked", 1);
  stored.channel(3, 2) = Plain(50.0, "Too low");
  WriteScratchpadFile(file, stored);
  messages.clear();
  scratch.LoadScratchpad();
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ((Strings{panel[Ctl::BankDispPanel].caption, Status(), panel[Ctl::Bank3].caption,
                     panel[Ctl::Bank10].caption}),
            (Strings{"3", "Bank 3:  Utility", "Bank &3:  Utility", "Bank 1&0:  Ten"}));
  for (int i = 0; i < 10; ++i) EXPECT_EQ(panel[BankItem(i)].pressed, i == 2 || i == 6) << i;
  EXPECT_EQ(Captions(), (Strings{"5000", "9250.5", "50", "", "", "", "", "", "", "", "", "", "", "", "", ""}));
  EXPECT_EQ(Btn(0).hint, "WWV");
  // An unreadable file is an error for the caller.
  fs::remove(file);
  fs::create_directory(file);
  EXPECT_THROW(scratch.LoadScratchpad(), FileError);
}

TEST_F(ScratchpadControllerTest, SaveWritesTheWholeImageAtomicallyOrSaysWhyNot) {
  scratch.pad.bankTag(2) = "Broadcast";
  scratch.pad.channel(2, 15) = Channel(11815.0, 0, 4, 1, 2, -50, "Radio Brasil", 1);
  scratch.SaveScpdItemClick();
  const std::string bytes = ReadFileBytes(file);
  EXPECT_EQ(bytes, EncodeScratchpad(scratch.pad));
  // The disk fills in the middle of the write: the old file stays whole.
  scratch.pad.bankTag(1) = "New";
  bool ok = true;
  WithFileSizeLimit(100, [&] { ok = scratch.SaveScratchpad(); });
  EXPECT_FALSE(ok);
  EXPECT_EQ(messages.lastMessage().rfind("Could not save Scratchpad file.  Aborting save operation\n", 0), 0u);
  EXPECT_EQ(ReadFileBytes(file), bytes);
  EXPECT_EQ(FolderEntries(folder.dir() + "SysFiles"), Strings{"Scratchpad.dat"});
  // No folder to write in.
  fs::remove_all(folder.dir() + "SysFiles");
  WriteFileBytes(folder.dir() + "SysFiles", "not a folder");
  EXPECT_FALSE(scratch.SaveScratchpad());
  EXPECT_NE(messages.lastMessage().find("SysFiles/Scratchpad.dat"), std::string::npos) << messages.lastMessage();
}

// ---- Recall ------------------------------------------------------------------

TEST_F(ScratchpadControllerTest, LeftClickTunesTheStoredSettingsInOneTransmission) {
  const struct {
    int ch;
    ScratchpadChannel channel;
    const char* hex;
    std::vector<Ctl> pressed;  // mode, step and AGC buttons
    int stepHz;
  } cases[] = {{5, kUsb10000, kUsb10000Hex, {Ctl::ModeBtnUSB, Ctl::StepBtn1000, Ctl::AGCFastBtn}, 1000},
               {9, Channel(7000.5, 2, 2, 14, 1, 100, "Ham net"), kLsb7000_5Hex,
                {Ctl::ModeBtnLSB, Ctl::StepBtn50, Ctl::AGCSlowBtn}, 50}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hex);
    const double before = state.Freq;
    Store(c.ch, c.channel);
    Quiet();
    scratch.ScpdBtnMouseDown(c.ch, Button::Left);
    EXPECT_EQ(Sent(), Strings{c.hex});
    EXPECT_EQ(state.Freq, c.channel.Frequency);
    EXPECT_EQ(state.LastFreqRecord.freq, before);  // the tuning before the click
    EXPECT_EQ((std::vector<int>{state.Mode, state.StepIndex, state.StepHz, state.FilterIndex, state.AGC, state.PBT}),
              (std::vector<int>{c.channel.Mode, c.channel.StepIndex, c.stepHz, c.channel.FilterIndex, c.channel.AGC,
                                c.channel.PBT}));
    for (Ctl b : c.pressed) EXPECT_TRUE(panel[b].pressed) << ControlName(b);
    EXPECT_EQ(panel[Ctl::PBTDisplayPanel].caption, std::to_string(c.channel.PBT));
    EXPECT_EQ(Status(), c.channel.Tag);
    EXPECT_TRUE(Btn(c.ch).pressed);
  }
}

TEST_F(ScratchpadControllerTest, RecallUsesTheNineKilohertzTopStepAndIgnoresTheModeDefaults) {
  state.NineKHzSteps = 1;
  tuning.ApplyNineKHzOption();
  state.UseDefaultFilters = 1;
  state.UseDefaultSteps = 1;
  Store(2, Channel(603.0, 0, 8, 10, 2, 0, "MW"));
  scratch.ScpdBtnMouseDown(2, Button::Left);
  EXPECT_EQ((std::vector<int>{state.StepHz, state.StepIndex, state.FilterIndex}), (std::vector<int>{9000, 8, 10}));
}

TEST_F(ScratchpadControllerTest, EmptyOrUntunableChannelsSelectTheButtonButTuneNothing) {
  Store(4, Plain(50.0, "Odd"));
  for (int ch : {9, 4}) {
    panel.setCaption(Ctl::StatusPanel, "Bank 1:  ");
    Quiet();
    scratch.ScpdBtnMouseDown(ch, Button::Left);
    EXPECT_EQ((std::vector<bool>{Sent().empty(), Status().empty(), Btn(ch).pressed, state.LastFreqRecord.valid}),
              (std::vector<bool>{true, true, true, false}));
  }
  // A middle click only selects the channel number.
  Store(6, Plain(6000.0));
  scratch.ScpdBtnMouseDown(6, Button::Middle);
  EXPECT_FALSE(Btn(6).pressed);
  scratch.ScpdBtnMouseDown(16, Button::Left);  // no such button
  EXPECT_EQ(scratch.pad.CurrentChannel, 6);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(dialogsShown, 0);
}

TEST_F(ScratchpadControllerTest, RecallDoesNothingDuringOtherScansOrInWwvModeAndEndsLatchedTuning) {
  Store(1, Plain(6000.0));
  scratch.pad.CurrentChannel = 1;
  for (int scanState : {1, 3, 4, 0}) {
    SCOPED_TRACE(scanState);
    ctx.scan.ScanState = scanState;
    tuning.flags.WWVMode = scanState == 0 ? 10 : 0;
    Quiet();
    scratch.RecallScratchpadChannel();
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(state.Freq, 15000.0);
  }
  tuning.flags.WWVMode = 0;
  tuning.FreqUpBtnFastClick();
  ASSERT_TRUE(tuningTimer.enabled());
  scratch.ScpdBtnMouseDown(1, Button::Left);
  EXPECT_FALSE(tuning.flags.TuningActive || tuningTimer.enabled());
  EXPECT_EQ(state.Freq, 6000.0);
}

TEST_F(ScratchpadControllerTest, LeftClickDuringMemoryScanPausesThereAndTunes) {
  const std::vector<Ctl> paused = {
      Ctl::LimitScanBtn, Ctl::MemScanBtn, Ctl::FileScanBtn, Ctl::BandScanBtn,   Ctl::TagBtn,        Ctl::WWV25Btn,
      Ctl::WWV5Btn,      Ctl::WWV10Btn,   Ctl::WWV15Btn,    Ctl::WWV20Btn,      Ctl::WWVRestoreBtn, Ctl::LastFreqBtn,
      Ctl::NowBtn,       Ctl::FreqUpBtn,  Ctl::FreqDnBtn,   Ctl::FreqUpBtnFast, Ctl::FreqDnBtnFast, Ctl::VFOBtn};
  Store(3, kUsb10000);
  Store(1, Plain(6000.0));
  ctx.scan.ScanKind = 2;
  ctx.scan.ScanState = 2;
  scanTimer.setEnabled(true);
  for (Ctl c : {Ctl::ScanBtn, Ctl::ScpdBtn0, Ctl::FreqUpBtn, Ctl::FreqDnBtn}) panel.press(c);
  for (Ctl c : paused) panel.setEnabled(c, false);
  Quiet();
  // A right click opens no dialog and tunes nothing while the scan runs.
  scratch.ScpdBtnMouseDown(1, Button::Right);
  EXPECT_EQ(dialogsShown, 0);
  EXPECT_TRUE(Sent().empty());

  scratch.ScpdBtnMouseDown(3, Button::Left);
  // Paused: Scan resumes from here.
  EXPECT_EQ((std::vector<int>{ctx.scan.ScanState, ctx.scan.ScanKind, scanTimer.enabled()}),
            (std::vector<int>{0, 2, false}));
  for (Ctl c : {Ctl::ScanBtn, Ctl::FreqUpBtn, Ctl::FreqDnBtn, Ctl::ScpdBtn0})
    EXPECT_FALSE(panel[c].pressed) << ControlName(c);
  EXPECT_TRUE(Btn(3).pressed);
  for (Ctl c : paused) EXPECT_TRUE(panel[c].enabled) << ControlName(c);
  EXPECT_EQ(Sent(), Strings{kUsb10000Hex});
}

// ---- Tags ----------------------------------------------------------------------

TEST_F(ScratchpadControllerTest, RightClickTunesAndOpensTheTagDialogWithTheTag) {
  Store(7, Channel(10000.0, 1, 5, 13, 3, 0, "Old tag"));
  Quiet();
  tagAnswer = "New tag";
  scratch.ScpdBtnMouseDown(7, Button::Right);
  EXPECT_TRUE(Btn(7).pressed);
  EXPECT_EQ(shownText, "Old tag");
  EXPECT_EQ(std::string(scratch.tagEntryDialog.caption()) + "|" + scratch.tagEntryDialog.label(),
            "Scratchpad Memory Tag Entry|Enter Tag:");
  EXPECT_EQ(Sent(), Strings{kUsb10000Hex});
  EXPECT_EQ((Strings{scratch.pad.channel(1, 7).Tag, Status()}), (Strings{"New tag", "New tag"}));
  EXPECT_FALSE(scratch.tagEntryDialog.isOpen());
  // Forty characters are stored as their first thirty-two.
  const std::string forty = "0123456789012345678901234567890123456789";
  tagAnswer = forty;
  scratch.ScpdBtnMouseDown(7, Button::Right);
  EXPECT_EQ((Strings{scratch.pad.channel(1, 7).Tag, Status()}), (Strings{forty.substr(0, 32), forty}));
  // An empty channel opens no dialog.
  scratch.ScpdBtnMouseDown(12, Button::Right);
  EXPECT_TRUE(Btn(12).pressed);
  EXPECT_EQ(dialogsShown, 2);
}

TEST_F(ScratchpadControllerTest, CancelledOrUnansweredTagDialogChangesNothing) {
  Store(1, Plain(6000.0, "Kept"));
  tagAnswer = "\x1b";
  scratch.ScpdBtnMouseDown(1, Button::Right);
  EXPECT_EQ(dialogsShown, 1);
  EXPECT_EQ(scratch.pad.channel(1, 1).Tag, "Kept");
  tagAnswer.reset();
  scratch.ScpdBtnMouseDown(1, Button::Right);
  EXPECT_FALSE(scratch.tagEntryDialog.isOpen());
  scratch.tagEntryDialog.text = "ignored";
  scratch.tagEntryDialog.OKBtnClick();  // a late OK does nothing
  EXPECT_EQ(scratch.pad.channel(1, 1).Tag, "Kept");
  // An OK while a scan runs behind the dialog shows no status.
  scratch.showTagEntryDialog = [this](TagEntryDialog& dialog) {
    ctx.scan.ScanState = 4;
    panel.setCaption(Ctl::StatusPanel, "Band Scan: ");
    dialog.text = "Renamed";
    dialog.OKBtnClick();
  };
  scratch.ScpdBtnMouseDown(1, Button::Right);
  EXPECT_EQ((Strings{scratch.pad.channel(1, 1).Tag, Status()}), (Strings{"Renamed", "Band Scan: "}));
}

// ---- Store ("Pgm") and lockout ("Lk") ---------------------------------------------

TEST_F(ScratchpadControllerTest, StoreIntoAnEmptyChannelCopiesTheTuningAndAsksForATag) {
  scratch.pad.CurrentChannel = 3;
  scratch.TagBtnClick();  // the button is not down: nothing
  EXPECT_EQ(dialogsShown, 0);
  state.Freq = 10000.0;
  state.Mode = 1;
  tuning.SetTuningStep(1000);
  controls.SelectFilter(13);
  controls.ShowAGC(3);
  scratch.ScpdBtnMouseDown(4, Button::Left);  // empty: selects it
  Quiet();
  tagAnswer = "Utility";
  scratch.TagBtnClick();
  EXPECT_EQ(scratch.pad.channel(1, 4), kUsb10000);
  EXPECT_EQ(Btn(4).caption + " " + Status(), "10000 Utility");
  EXPECT_EQ(dialogsShown, 1);
  EXPECT_EQ(Sent(), Strings{kUsb10000Hex});  // opening the tag entry tunes the stored channel once
}

TEST_F(ScratchpadControllerTest, RestoreWithinHalfAKilohertzKeepsTheTag) {
  const struct {
    double storedFreq, newFreq;
    bool tagKept;
    const char* caption;
  } cases[] = {{5000.0, 5000.5, true, "5000.5"}, {5000.0, 5000.6, false, "5000.6"},
               {5000.0, 4999.5, true, "4999.5"}, {5000.0, 4999.4, false, "4999.4"},
               {0.0, 7205.125, false, "7205.125"}};
  tagAnswer = "\x1b";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    dialogsShown = 0;
    Store(2, Plain(c.storedFreq, "Station", 1), true);
    panel.setCaption(Ctl::StatusPanel, "before");
    state.Freq = c.newFreq;
    scratch.TagBtnClick();
    EXPECT_EQ(scratch.pad.channel(1, 2), Plain(c.newFreq, c.tagKept ? "Station" : "", 1));  // lockout kept
    EXPECT_EQ(dialogsShown, c.tagKept ? 0 : 1);
    // Away from the old frequency the status is cleared, then the recall shows the empty tag.
    EXPECT_EQ(Status(), c.tagKept ? "before" : "");
    EXPECT_EQ(Btn(2).caption, c.caption);
  }
}

TEST_F(ScratchpadControllerTest, LockoutNeedsADownButtonWithACaptionAndTogglesTheColour) {
  Store(5, Plain(6000.0));
  scratch.pad.CurrentChannel = 5;  // not down
  scratch.LockoutBtnClick();
  EXPECT_EQ(scratch.pad.channel(1, 5).Lockout, 0);
  Store(6, ScratchpadChannel{}, true);  // down, but empty
  scratch.LockoutBtnClick();
  EXPECT_EQ(scratch.pad.channel(1, 6).Lockout, 0);
  Store(5, Plain(6000.0), true);
  for (int lockout : {1, 0}) {
    scratch.LockoutBtnClick();
    EXPECT_EQ(scratch.pad.channel(1, 5).Lockout, lockout);
    EXPECT_EQ(Btn(5).colour, lockout ? Colour::Black : Colour::Maroon);
  }
}

// ---- Banks -----------------------------------------------------------------------

TEST_F(ScratchpadControllerTest, BankButtonsWrapAndShowTheNewBank) {
  scratch.pad.bankTag(1) = "One";
  scratch.pad.bankTag(10) = "Ten";
  scratch.pad.channel(1, 0) = Plain(5000.0, "in one");
  scratch.pad.channel(10, 0) = Plain(6000.0, "in ten", 1);
  scratch.pad.CurrentBank = 10;
  panel.press(Ctl::ScpdBtn0);
  scratch.BankUpBtnClick();
  EXPECT_EQ((Strings{panel[Ctl::BankDispPanel].caption, Status(), Btn(0).caption}),
            (Strings{"1", "Bank 1:  One", "5000"}));
  EXPECT_FALSE(Btn(0).pressed);
  scratch.BankDnBtnClick();
  EXPECT_EQ(Status(), "Bank 10:  Ten");
  EXPECT_EQ(Btn(0).colour, Colour::Black);
  scratch.BankDnBtnClick();
  EXPECT_EQ(scratch.pad.CurrentBank, 9);
  EXPECT_TRUE(Btn(0).caption.empty() && Btn(0).colour == Colour::Maroon);
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
  EXPECT_EQ(Status(), "Bank 3:  Utility");
  EXPECT_EQ(Btn(15).caption, "8000");
  EXPECT_FALSE(Btn(4).pressed);
  EXPECT_FALSE(scratch.pad.bankEnabled(3));
  for (int bank : {10, 0, 11}) scratch.SelectOrToggleBank(bank);
  EXPECT_EQ(scratch.pad.CurrentBank, 10);
  // With memory scan chosen the items toggle the scan flag instead.
  ctx.scan.ScanKind = 2;
  for (int bank : {4, 6, 4}) scratch.SelectOrToggleBank(bank);
  EXPECT_EQ(scratch.pad.CurrentBank, 10);  // not shown
  const auto flags = [&] {
    return std::vector<bool>{scratch.pad.bankEnabled(4), panel[Ctl::Bank4].pressed, scratch.pad.bankEnabled(6),
                             panel[Ctl::Bank6].pressed};
  };
  EXPECT_EQ(flags(), (std::vector<bool>{false, false, true, true}));
  EXPECT_TRUE(messages.shown().empty());
  // The last enabled bank stays enabled.
  scratch.SelectOrToggleBank(6);
  EXPECT_EQ(messages.messages(), Strings{"You must leave at least one bank enabled for memory scanning."});
  EXPECT_EQ(flags(), (std::vector<bool>{false, false, true, true}));
}

TEST_F(ScratchpadControllerTest, BankTagDialogStoresTheTagAndRebuildsTheMenu) {
  scratch.pad.CurrentBank = 4;
  scratch.pad.bankTag(4) = "Old four";
  bankAnswer = "\x1b";
  scratch.BankTagItemClick();
  EXPECT_EQ((Strings{scratch.pad.bankTag(4), shownText}), (Strings{"Old four", "Old four"}));
  bankAnswer = "Broadcast bands of the world, all of them";
  scratch.BankTagItemClick();
  EXPECT_EQ(dialogsShown, 2);
  const std::string cut = bankAnswer->substr(0, 32);
  EXPECT_EQ((Strings{scratch.pad.bankTag(4), panel[Ctl::Bank4].caption, Status()}),
            (Strings{cut, "Bank &4:  " + cut, "Bank 4:  " + cut}));
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
  EXPECT_EQ(scratch.pad.channel(1, 8), Channel(0.0, 2, 3, 14, 1, 100));  // the settings stay in the record
  EXPECT_TRUE(Btn(8).caption.empty() && Btn(8).colour == Colour::Maroon && !Btn(8).pressed && Status().empty());

  // An empty memory: asked, nothing changes.
  Store(2, ScratchpadChannel{}, true);
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
  for (int ch = 0; ch < 16; ++ch) scratch.pad.channel(4, ch) = Channel(5000.0 + ch, 1, 3, 13, 2, 50, "x", ch % 2);
  scratch.pad.channel(5, 0) = Plain(9000.0, "other bank");
  panel.setChecked(Ctl::Bank4, true);
  scratch.ShowScratchpadBank();
  messages.answerNext({false, true});
  scratch.ClearBankItemClick();
  EXPECT_EQ(messages.questions(), Strings{"Are you sure you want to clear this entire scratchpad bank?"});
  EXPECT_TRUE(scratch.pad.bankEnabled(4));
  scratch.ClearBankItemClick();
  EXPECT_FALSE(scratch.pad.bankEnabled(4));
  EXPECT_FALSE(panel[Ctl::Bank4].pressed);
  EXPECT_EQ(panel[Ctl::Bank4].caption, "Bank 4:");  // without accelerator and tag until the next rebuild
  EXPECT_EQ(scratch.pad.bankTag(4), "");
  EXPECT_EQ(scratch.pad.Banks[3], Scratchpad{}.Banks[3]);
  for (int ch = 0; ch < 16; ++ch) EXPECT_EQ(Btn(ch).colour, Colour::Maroon) << ch;
  EXPECT_EQ(Captions(), Strings(16, ""));
  EXPECT_EQ(scratch.pad.channel(5, 0).Frequency, 9000.0);
}

}  // namespace
}  // namespace ondaris
