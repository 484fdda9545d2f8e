#pragma once
// The scratchpad's buttons and menus: the sixteen memory buttons of the bank
// shown, bank stepping and choosing, store ("Pgm"), lockout ("Lk"), the tag
// dialogs, clearing a memory or a bank, and loading and saving
// SysFiles/Scratchpad.dat.
//
// The scan engine uses RecallScratchpadChannel, ShowScratchpadBank,
// ClearScratchpadButtons and the data in `pad` (CurrentBank, CurrentChannel,
// BankEnabled, the channels); it reads and sets ctx.scan.

#include <functional>
#include <string>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "memories/Scratchpad.h"
#include "memories/TagDialogs.h"

namespace ondaris {

class Receiver;
class ReceiverControls;
class TuningController;

inline constexpr const char* MissingScratchpadMessage =
    "Could not find file SysFiles\\Scratchpad.dat - initializing scratchpad memories using defaults";
// Shown when the file cannot be written; the system's reason follows on the
// next line.
inline constexpr const char* ScratchpadSaveFailedMessage = "Could not save Scratchpad file.  Aborting save operation";
inline constexpr const char* LastEnabledBankMessage = "You must leave at least one bank enabled for memory scanning.";
inline constexpr const char* ClearMemoryQuestion = "Do you really want to clear this scratchpad memory?";
inline constexpr const char* ClearBankQuestion = "Are you sure you want to clear this entire scratchpad bank?";

class ScratchpadController {
 public:
  // `programDir` is where SysFiles/Scratchpad.dat lives.
  ScratchpadController(PanelContext& context, Receiver& receiver, ReceiverControls& controls,
                       TuningController& tuning, std::string programDir);
  ScratchpadController(const ScratchpadController&) = delete;
  ScratchpadController& operator=(const ScratchpadController&) = delete;

  Scratchpad pad;

  enum class MouseButton { Left, Right, Middle };

  // The two dialogs. Opening one calls its hook, which shows it modally and
  // returns when OK or Cancel has been forwarded to the model. Without a
  // hook the dialog counts as cancelled.
  TagEntryDialog tagEntryDialog;
  BankTagDialog bankTagDialog;
  std::function<void(TagEntryDialog&)> showTagEntryDialog;
  std::function<void(BankTagDialog&)> showBankTagDialog;

  // ---- Files ----
  // Start-up (after the limit ranges): reads the file, or announces the
  // missing file and starts with every bank disabled and every memory empty;
  // then shows the bank, builds the bank menu captions and shows the bank
  // status. Throws FileError when the file exists but cannot be read.
  void LoadScratchpad();
  // File menu, Ctrl+P and every exit. On failure shows
  // ScratchpadSaveFailedMessage with the reason and returns false; the old
  // file then stays as it was.
  bool SaveScratchpad();
  void SaveScpdItemClick() { SaveScratchpad(); }

  // ---- Drawing (also used by memory scan) ----
  // BankDispPanel, and caption, hint and colour of the sixteen buttons.
  void ShowScratchpadBank();
  // Every button empty, released and maroon.
  void ClearScratchpadButtons();
  // Captions of Bank1..Bank10: "Bank &n:  tag", "Bank 1&0:  tag".
  void BuildBankMenuCaptions();
  // "Bank n:  tag" in StatusPanel while no scan runs.
  void ShowBankStatus();

  // ---- Tuning ----
  // Tunes to channel CurrentChannel of bank CurrentBank (also used by memory
  // scan). Does nothing during a file, limit or band scan or in WWV mode.
  void RecallScratchpadChannel();
  // A click on a memory button during memory scan: pauses the scan there and
  // tunes the clicked channel (CurrentChannel must already be set).
  void StopMemoryScanAndRecall();

  // ---- Event handlers ----
  void ScpdBtnMouseDown(int channel, MouseButton button);  // channel 0..15
  void OpenTagEntry();
  void TagBtnClick();      // "Pgm": store the present tuning
  void LockoutBtnClick();  // "Lk"
  void BankUpBtnClick();
  void BankDnBtnClick();
  void BankDispPanelClick() { ShowBankStatus(); }
  // Bank1..Bank10 and Ctrl+1..Ctrl+9, Ctrl+0 (bank 10): with memory scan
  // chosen toggles the bank's scan flag, otherwise shows the bank.
  void SelectOrToggleBank(int bank);
  void BankTagItemClick();
  void ClrMemItemClick();
  void ClearBankItemClick();

 private:
  bool CurrentButtonDown() const;
  void ApplyTag(const std::string& text);
  void ApplyBankTag(const std::string& text);
  void ShowBankChecks();

  PanelContext& ctx_;
  Receiver& receiver_;
  ReceiverControls& controls_;
  TuningController& tuning_;
  std::string programDir_;
};

}  // namespace ondaris
