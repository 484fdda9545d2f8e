#pragma once
// The "Scheduler" dialog (TSkedDlg) without its window: the edit fields, the
// combo boxes, the check boxes and the grid of the schedule, and every
// button. The window shows the fields, writes what the listener typed back
// before each button and shows the fields again after it. Grid rows count
// from 1 below the header row; grid row r shows schedule entry r.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "freqfiles/FrequencyRecord.h"
#include "timekeeping/Scheduler.h"

namespace ondaris {

inline constexpr const char* SkedNoDateMessage = "You must enter a start date.";
inline constexpr const char* SkedBadStartDateMessage = "Invalid start date";
inline constexpr const char* SkedDateFormatMessage = "Invalid date format";
inline constexpr const char* SkedBadDateMessage = "Invalid date";
inline constexpr const char* SkedBadStartTimeMessage = "Invalid start time";
inline constexpr const char* SkedBadEndTimeMessage = "Invalid end time";
inline constexpr const char* SkedStartRangeMessage = "Start time out of range";
inline constexpr const char* SkedEndRangeMessage = "End time out of range";
inline constexpr const char* SkedNoFreqMessage = "You must enter a valid frequency";
inline constexpr const char* SkedFreqRangeMessage = "Frequency entry must be between 10 KHz and 30 MHz";
inline constexpr const char* SkedModeMessage = "Invalid Mode entry.  Choose one from the list.";
inline constexpr const char* SkedFilterMessage = "Invalid Filter entry.  Choose one from the list.";
inline constexpr const char* SkedPBTMessage = "PBT must be between -2000 and 2000 Hz";
inline constexpr const char* SkedAGCMessage = "Invalid AGC entry.  Choose one from the list.";
inline constexpr const char* SkedReplaceMessage = "You are not pointing to a valid entry.  Cannot replace.";
inline constexpr const char* SkedCursorMessage = "Invalid cursor position in the frequency file";
inline constexpr const char* SkedConvertLineMessage = "Could not convert the frequency file line";

class SkedDialog {
 public:
  static constexpr const char* Caption = "Scheduler";
  static constexpr std::array<const char*, 4> ModeItems{"AM", "USB", "LSB", "CW"};
  static constexpr std::array<const char*, 3> AGCItems{"Slow", "Medium", "Fast"};
  // The 24 bandwidths, 8000 first.
  static std::vector<std::string> FilterItems();

  SkedDialog(PanelContext& context, Scheduler& scheduler);
  SkedDialog(const SkedDialog&) = delete;
  SkedDialog& operator=(const SkedDialog&) = delete;

  // ---- The fields, as the window shows them and the listener edits them ----
  std::string DateEdit, DateOffEdit, OnTimeEdit, OffTimeEdit, StationEdit, FreqEdit, PBTEdit;
  std::string ModeCombo, FiltCombo, AGCCombo;  // the combo boxes' texts
  bool RecordChk = false, MuteSpkrChk = false, MuteLineChk = false;
  bool MuteLineEnabled = true;
  int selectedRow = 1;

  // ---- Hooks ----
  // Shows the dialog modally; returns once it has closed.
  std::function<void(SkedDialog&)> show;
  // The station under the main grid's cursor (the row shown there, also in
  // the on-air view); nothing without a list or outside its rows.
  std::function<std::optional<FrequencyRecord>()> cursorRecord;
  // The grid's present column widths (read back when the dialog closes).
  std::function<std::array<int, SkedColumnCount>()> columnWidths;

  // Tools menu, Scheduler: the schedule is read again and the dialog shown.
  void SkedItemClick();

  // Checks the fields in their order and shows the first refusal; fills
  // DateOffEdit. Non-numeric times, frequency or PBT throw ConversionError.
  bool ValidateScheduleFields();

  void AddBtnClick();
  void ReplaceBtnClick();
  void DeleteBtnClick();
  void ClearBtnClick();
  void FromFileBtnClick();
  void TuningBtnClick();
  void CopyDailyBtnClick();
  void CopyWeeklyBtnClick();
  void OnOffBtnClick() { scheduler_.OnOffBtnClick(); }
  void GridClick(int row);
  void RecordChkClick();
  // Exit and closing the dialog: the schedule and the columns are saved.
  void ExitBtnClick();

  // ---- The grid ----
  int GridRowCount() const;  // header row included: count + 1, 8 when empty
  std::string CellText(int row, int column) const;
  // Row 1 is drawn maroon while its broadcast holds the receiver.
  bool RowIsBroadcasting(int row) const { return row == 1 && scheduler_.BroadcastActive(); }
  const std::string& OnOffCaption() const { return scheduler_.OnOffCaption; }
  const SkedColumns& columns() const { return scheduler_.columns; }
  bool isOpen() const { return open_; }
  Scheduler& scheduler() { return scheduler_; }

 private:
  void StoreScheduleEntry(std::size_t position);
  std::string TodayUtcDateText() const;
  bool HoldsEntry(int row) const { return row >= 1 && row <= static_cast<int>(scheduler_.schedule.size()); }
  bool Refuse(const char* message);

  PanelContext& ctx_;
  Scheduler& scheduler_;
  bool open_ = false;
};

}  // namespace ondaris
