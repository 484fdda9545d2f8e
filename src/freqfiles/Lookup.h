#pragma once
// LookupBtn: where the tuned frequency appears. Three places are asked, each
// on its own:
//
//   1. the companion database, by the request "L" + the frequency (sent only
//      while the companion has said hello);
//   2. the loaded frequency list: when one of its records holds exactly the
//      tuned frequency, the full view is put in frequency order and the first
//      row within 4.5 kHz becomes the current and the top row;
//   3. the master frequency list (Export/Master320FrequencyList.txt): its
//      lines within 2.5 kHz are listed in TMFLookupDlg, from which the
//      listener can open the frequency file that holds one of them.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "freqfiles/MasterList.h"

namespace ondaris {

class FreqFileController;
class StationGrid;

inline constexpr const char* TunedFreqNotInFileMessage = "The tuned frequency isn't in the frequency file.";
inline constexpr const char* LookupFileMissingMessage = "Cannot find the specified frequency file.  Aborting load...";
inline constexpr const char* LookupDialogCaption = "Master Frequency List Lookup";
inline constexpr const char* LookupOpenFileCaption = "Open File";
inline constexpr const char* LookupOpenFileHint = "Open the selected frequency file";
inline constexpr std::array<const char*, 3> LookupHeaders{"Freq", "Station", "Frequency File Name"};
// Parts of the grid's client width the three columns take.
inline constexpr std::array<double, 3> LookupColumnShares{0.15, 0.40, 0.45};

// The kHz either side of the tuned frequency within which a row of the
// loaded list is shown.
inline constexpr double LookupRowToleranceKHz = 4.5;

// "L" + the tuned frequency (three decimals at most, trailing zeros dropped,
// the locale's separator): the companion's lookup request.
std::string LookupRequestText(double tunedKHz, char separator);

class LookupController {
 public:
  // TMFLookupDlg as the window shows it: MFLGrid with a header row and one
  // row per master-list line near the tuned frequency.
  struct Dialog {
    std::vector<MasterListMatch> matches;
    int row = 1;         // MFLGrid's current row (1 = first match)
    bool open = false;

    int RowCount() const { return static_cast<int>(matches.size()) + 1; }
    // Row 0 is the header; columns 0 Freq, 1 Station, 2 Frequency File Name.
    std::string CellText(int row, int column) const;
  };

  LookupController(PanelContext& context, StationGrid& stations, FreqFileController& files, std::string programDir);

  // Sends a text to the companion (CommandDispatcher::SendToCompanion).
  // Unset: nothing is sent.
  std::function<void(const std::string&)> sendToCompanion;
  // Shows TMFLookupDlg modally and returns when it has closed, after
  // forwarding its buttons to OpenFileBtnClick and OKBtnClick. Unset: the
  // dialog closes at once.
  std::function<void(Dialog& dialog)> showDialog;

  const Dialog& dialog() const { return dialog_; }
  Dialog& dialog() { return dialog_; }

  // LookupBtnClick: the three steps above, in that order. Throws FileError
  // when the master list exists but cannot be read (after the first two
  // steps have run).
  void LookupBtnClick();

  // Step 2 alone: true when the list holds the tuned frequency exactly (the
  // row is then shown); false after the message when it does not. Nothing
  // happens (false) when no list is loaded.
  bool LookupInFrequencyList(double tunedKHz);

  // The dialog's buttons.
  // Open File: the frequency file of the current row is opened from the
  // frequency-file folder (save question first for a changed list), or
  // LookupFileMissingMessage when it is not there. The dialog closes either
  // way.
  void OpenFileBtnClick();
  // OK: closes the dialog.
  void OKBtnClick();

 private:
  PanelContext& ctx_;
  StationGrid& stations_;
  FreqFileController& files_;
  std::string programDir_;
  Dialog dialog_;
};

}  // namespace ondaris
