#pragma once
// Choosing band scan: the Band Scan button and what the "Band Scan Setup"
// dialog (TBandScanDlg) does, without its window. The listener picks, adds,
// replaces, deletes, sorts and saves named bands; OK tunes the receiver to
// the chosen band's low edge with its mode, filter, AGC, step, PBT and scan
// speed and sets the scan limits, so that the Scan button then runs the band.
//
// The window shows the grid rows through GridRowCount/CellText, the edit
// fields and combo boxes below, LimitPanel and the Save button (red and bold
// while BandScanChanged()). Before forwarding a button it writes the edited
// texts and combo choices back; after it, it shows them again. Grid rows
// count from 1 below the header row; grid row r shows list line r.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "scan/BandScanList.h"
#include "scan/LimitRanges.h"

namespace ondaris {

class ReceiverControls;
class TuningController;

// Refusals and reports, as the listener reads them.
inline constexpr const char* BandScanMissingMessage = "Could not find SysFiles\\BandScan.datin the working directory.";
inline constexpr const char* BandScanEmptyMessage = "The SysFiles\\BandScan.dat is empty.";
inline constexpr const char* BandScanBadLinePrefix = "Error reading SysFiles\\BandScan.dat record ";
inline constexpr const char* BandScanBadSelectionMessage = "Error reading selected record.";
inline constexpr const char* BandScanAddNoFreqMessage = "You must enter values for both the low and high frequencies.";
inline constexpr const char* BandScanAddBadFreqMessage = "The frequencies are configured incorrectly.";
inline constexpr const char* BandScanConvertMessage = "Error converting data to band scan string.";
inline constexpr const char* BandScanAddedMessage = "The data has been added to the end of the file.";
inline constexpr const char* BandScanReplaceQuestion = "Do you want to replace the selected record with this data?";
inline constexpr const char* BandScanDeleteQuestion = "Are you sure you want to delete this entry?";
inline constexpr const char* BandScanChangedQuestion = "Your Band Scan file has been changed.  Do you want to save it?";
inline constexpr const char* BandScanSelectMessage = "Please select a valid record, then try again.";
inline constexpr const char* BandScanOKNoFreqMessage =
    "You must enter values in both the high and low frequency fields.";
inline constexpr const char* BandScanOKBadFreqMessage = "The Band Scan frequencies are configured incorrectly.";
// Shown when a file cannot be written; the system's reason follows on the
// next line.
inline constexpr const char* BandScanSaveFailedMessage = "Could not save SysFiles\\BandScan.dat.";
inline constexpr const char* BandScanColsSaveFailedMessage = "Could not save SysFiles\\BandScanCols.dat.";

inline constexpr double BandScanLowestKHz = 10.0;
inline constexpr double BandScanHighestKHz = 30000.0;
// The filter OK falls back to when the band's filter is no bandwidth (2550 Hz).
inline constexpr int BandScanFallbackFilterRow = 13;

// A combo box: its items, the chosen item and the text it shows. For a
// chosen item the text is that item's.
struct BandScanCombo {
  std::vector<std::string> items;
  int index = -1;  // -1: no item chosen
  std::string text;

  // New items, nothing chosen, no text.
  void Fill(std::vector<std::string> newItems);
  // Chooses item i; any i outside the items chooses nothing and empties the text.
  void Select(int i);
  // Shows `newText`, choosing the item of that text when there is one.
  void SetText(const std::string& newText);
};

class BandScanDialog {
 public:
  static constexpr const char* Caption = "Band Scan Setup";
  static constexpr std::array<const char*, BandScanColumnCount> Headers{"Name", "Low Freq", "High Freq",
                                                                        "Mode", "Speed",    "Comments"};
  static constexpr const char* ClearCaption = "Clear Data";
  static constexpr const char* ReplaceCaption = "Replace Rec.";
  static constexpr const char* AddCaption = "Add to File";
  static constexpr const char* DeleteCaption = "Delete Rec";
  static constexpr const char* SaveCaption = "Save File";
  static constexpr const char* SaveHint = "Save BandScan.dat.  Red = File has changed";
  static constexpr const char* CancelCaption = "Cancel";
  static constexpr const char* OKCaption = "OK";
  static constexpr std::array<const char*, 4> ModeItems{"AM", "USB", "LSB", "CW"};
  static constexpr std::array<const char*, 3> AGCItems{"Fast", "Medium", "Slow"};

  BandScanDialog(PanelContext& context, ReceiverControls& controls, TuningController& tuning, ScanSettings& settings,
                 std::string programDir);
  BandScanDialog(const BandScanDialog&) = delete;
  BandScanDialog& operator=(const BandScanDialog&) = delete;

  // ---- The edit fields, as the window shows and the listener edits them ----
  std::string bsNameEdit;
  std::string bsLoFreqEdit;
  std::string bsHiFreqEdit;
  std::string bsPBTEdit;
  std::string bsCommentEdit;
  BandScanCombo bsModeCombo;
  BandScanCombo bsAGCCombo;
  BandScanCombo bsFiltCombo;
  BandScanCombo bsStepCombo;  // the one combo whose text may be other than its items
  BandScanCombo bsSpeedCombo;
  std::string LimitPanel;
  // The grid's column widths; the window keeps them up to date while the
  // listener resizes columns (they decide where a header click sorts).
  BandScanColumnWidths columnWidths = DefaultBandScanColumnWidths;

  // ---- Hooks ----
  // Shows the dialog modally; returns once OK or Cancel closed it.
  std::function<void(BandScanDialog&)> show;
  // The scan engine's ResetScanSelection (Cancel forgets the chosen kind).
  std::function<void()> resetScanSelection;
  // The scan engine's choice of band scan (band speed table, speed 3, kind
  // 4, memory scan forgotten, direction up). Unset: the dialog does the same.
  std::function<void()> chooseBandScan;

  // Once, when the dialog is created at start-up: grid column widths and
  // the list not yet shown.
  void FormCreate();

  // BandScanBtn: loads the list (the missing-file and empty-file messages;
  // a missing file opens an empty list, which Save then creates), the column
  // widths, chooses band scan, clears the edit fields, fills the grid and
  // shows the dialog.
  void BandScanBtnClick();

  // ---- The grid ----
  int GridRowCount() const { return gridRows_; }  // the header row included
  // Text of a data cell (row 1..GridRowCount()-1, column 0..5); "" for a row
  // without a record. Frequencies show the locale's decimal separator.
  std::string CellText(int row, int column) const;
  int SelectedRow() const { return selectedRow_; }  // the grid's current row
  // True once after the first filling: the window scrolls row 1 to the top.
  bool TakeScrollToTop();

  // A click selecting `row`: a row holding a record is shown in the edits.
  void BandScanGridClick(int row);
  // A mouse press on the header row at `x` pixels from the grid's left edge
  // (scrolled content): sorts by the column whose band holds x.
  void BandScanGridMouseDown(int x);
  // The column whose sorting band (left edge + 3 .. right edge - 5) holds
  // x, or -1 (a resize zone or no column).
  static int HeaderColumnAt(int x, const BandScanColumnWidths& widths);
  // Sorts ascending by column 0..5 (see the key table in the .cpp).
  void SortByColumn(int column);

  // ---- The buttons ----
  void BandScanClearBtnClick();
  void BandScanEditBtnClick();  // replace
  void BandScanAddBtnClick();
  void BandScanDeleteBtnClick();
  void BandScanSaveBtnClick();
  // Both return whether the dialog closes.
  bool CanBtnClick();
  bool ScanBtnClick();

  // ---- State ----
  const std::vector<std::string>& lines() const { return lines_; }
  // The good records in list order (grid row r is records()[r - 1]).
  const std::vector<BandScanRecord>& records() const { return records_; }
  int RecordCount() const { return static_cast<int>(records_.size()); }
  bool BandScanChanged() const { return changed_; }
  int BandScanSelected() const { return bandScanSelected_; }
  // The band OK chose last (BandScanSelected), or nullptr when that row holds
  // no record now.
  const BandScanRecord* ChosenBand() const;
  bool isOpen() const { return open_; }
  const std::string& programDir() const { return programDir_; }

 private:
  void FillBandScanGrid();
  void ShowBandScanRecord();
  void ClearEditFields();
  void FillCombos();
  BandScanFields EditFields() const;
  bool HoldsRecord(int row) const { return row >= 1 && row <= RecordCount(); }
  // Both edits converted; false (error reported) when one is no number.
  bool ConvertLimits(double& low, double& high) const;
  static bool LimitsValid(double low, double high);
  // The line the edits make, in line, and the record it reads back as; nullopt
  // (message shown) when the limits or the line are refused.
  std::optional<BandScanRecord> LineFromEdits(std::string& line);
  // Writes the list; false (message shown) when it cannot.
  bool SaveList();
  void WriteColumnWidths();
  void ChooseBandScanHere();

  PanelContext& ctx_;
  ReceiverControls& controls_;
  TuningController& tuning_;
  ScanSettings& settings_;
  std::string programDir_;

  std::vector<std::string> lines_;
  std::vector<BandScanRecord> records_;  // parallel to lines_ after a fill
  int gridRows_ = 8;
  int selectedRow_ = 1;
  int bandScanSelected_ = 1;
  bool changed_ = false;
  bool shownBefore_ = false;
  bool scrollToTop_ = false;
  bool open_ = false;
};

}  // namespace ondaris
