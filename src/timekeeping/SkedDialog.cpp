#include "timekeeping/SkedDialog.h"

#include <algorithm>

#include "common/DateRoutines.h"
#include "common/TextHelpers.h"
#include "radio/Rx320Protocol.h"

namespace ondaris {

namespace {

template <class Items>
bool IsItem(const Items& items, const std::string& text) {
  return std::find(items.begin(), items.end(), text) != items.end();
}

std::string AGCName(const std::string& letter) {
  if (letter == "F") return "Fast";
  if (letter == "M") return "Medium";
  if (letter == "S") return "Slow";
  return {};
}

std::string Yes(bool on) { return on ? "Y" : ""; }

}  // namespace

std::vector<std::string> SkedDialog::FilterItems() {
  std::vector<std::string> items;
  for (const FilterInfo& filter : FilterTable) items.push_back(std::to_string(filter.bandwidthHz));
  return items;
}

SkedDialog::SkedDialog(PanelContext& context, Scheduler& scheduler) : ctx_(context), scheduler_(scheduler) {
  scheduler_.scheduleLoaded = [this] { selectedRow = 1; };
}

bool SkedDialog::Refuse(const char* message) {
  ctx_.messages.showMessage(message);
  return false;
}

std::string SkedDialog::TodayUtcDateText() const {
  const DateTime utc = ctx_.clock.utcNow();
  const std::string month = std::to_string(utc.month), day = std::to_string(utc.day);
  const std::string year = std::to_string(utc.year);
  return scheduler_.UseEuroDate() ? day + "/" + month + "/" + year : month + "/" + day + "/" + year;
}

void SkedDialog::SkedItemClick() {
  scheduler_.LoadSchedule();
  selectedRow = 1;
  open_ = true;
  if (show) show(*this);
}

// ---- Checking the fields -------------------------------------------------------

bool SkedDialog::ValidateScheduleFields() {
  const bool euro = scheduler_.UseEuroDate();
  if (DateEdit.empty()) return Refuse(SkedNoDateMessage);
  const ScheduleDateCheck date = CheckScheduleDate(DateEdit, euro);
  if (!date.split) return Refuse(SkedBadStartDateMessage);
  DateEdit = date.rewritten;
  if (!date.formatOk) return Refuse(SkedDateFormatMessage);
  if (!date.valueOk) return Refuse(SkedBadDateMessage);

  if (OnTimeEdit.size() != 4) return Refuse(SkedBadStartTimeMessage);
  if (OffTimeEdit.size() != 4) return Refuse(SkedBadEndTimeMessage);
  const long on = TextToInteger(OnTimeEdit);
  const long off = TextToInteger(OffTimeEdit);
  if (on < 0 || on > 2400) return Refuse(SkedStartRangeMessage);
  if (off < 0 || off > 2400) return Refuse(SkedEndRangeMessage);

  DateOffEdit = DateEdit;
  const std::int64_t start = DateToMinutes(DateEdit, euro) + HHMMToMinutes(static_cast<int>(on));
  const std::int64_t end = DateToMinutes(DateOffEdit, euro) + HHMMToMinutes(static_cast<int>(off));
  if (start >= end) {
    const std::optional<std::string> next = NextDay(DateOffEdit, euro);
    if (!next) return Refuse(SkedDateFormatMessage);
    DateOffEdit = *next;
  }

  if (FreqEdit.empty()) return Refuse(SkedNoFreqMessage);
  const double freq = TextToDouble(FreqEdit, ctx_.decimalSeparator);
  if (freq < ScheduleLowestKHz || freq > ScheduleHighestKHz) return Refuse(SkedFreqRangeMessage);

  if (ModeCombo.empty()) ModeCombo = "AM";
  if (!IsItem(ModeItems, ModeCombo)) return Refuse(SkedModeMessage);
  if (FiltCombo.empty()) FiltCombo = "6000";
  if (!IsItem(FilterItems(), FiltCombo)) return Refuse(SkedFilterMessage);
  if (PBTEdit.empty()) PBTEdit = "0";
  const long pbt = TextToInteger(PBTEdit);
  if (pbt < -SchedulePBTLimitHz || pbt > SchedulePBTLimitHz) return Refuse(SkedPBTMessage);
  if (AGCCombo.empty()) AGCCombo = "Medium";
  if (!IsItem(AGCItems, AGCCombo)) return Refuse(SkedAGCMessage);
  return true;
}

void SkedDialog::StoreScheduleEntry(std::size_t position) {
  ScheduleEntry entry;
  entry.StartDate = DateEdit;
  entry.OnTime = OnTimeEdit;
  entry.EndDate = DateOffEdit;
  entry.OffTime = OffTimeEdit;
  entry.Station = StationEdit.substr(0, ScheduleStationCapacity);
  entry.Record = RecordChk ? 1 : 0;
  entry.Frequency = TextToDouble(FreqEdit, ctx_.decimalSeparator);
  entry.Mode = ModeCombo.substr(0, ScheduleModeCapacity);
  entry.Filter = static_cast<std::int32_t>(TextToInteger(FiltCombo));
  entry.PBT = static_cast<std::int32_t>(TextToInteger(PBTEdit));
  entry.AGC = AGCCombo.substr(0, 1);
  entry.MuteSpeaker = MuteSpkrChk ? 1 : 0;
  entry.MuteLine = (MuteLineChk && !RecordChk) ? 1 : 0;
  scheduler_.schedule.at(position) = std::move(entry);
}

// ---- The buttons ---------------------------------------------------------------

void SkedDialog::AddBtnClick() {
  if (!ValidateScheduleFields()) return;
  scheduler_.schedule.emplace_back();
  try {
    StoreScheduleEntry(scheduler_.schedule.size() - 1);
  } catch (...) {
    scheduler_.schedule.pop_back();
    throw;
  }
  scheduler_.SortAndShow();
}

void SkedDialog::ReplaceBtnClick() {
  if (!HoldsEntry(selectedRow)) {
    Refuse(SkedReplaceMessage);
    return;
  }
  if (!ValidateScheduleFields()) return;
  StoreScheduleEntry(static_cast<std::size_t>(selectedRow - 1));
  scheduler_.SortAndShow();
}

void SkedDialog::DeleteBtnClick() {
  if (!HoldsEntry(selectedRow)) return;
  auto& schedule = scheduler_.schedule;
  schedule.erase(schedule.begin() + (selectedRow - 1));
  if (schedule.empty()) {
    scheduler_.SchedulerOff = true;
    ctx_.panel.setCaption(Ctl::StatusPanel, "");
    scheduler_.OnOffCaption = SchedulerOffCaption;
  }
  scheduler_.SortAndShow();
}

void SkedDialog::CopyDailyBtnClick() {
  if (const std::optional<std::string> next = NextDay(DateEdit, scheduler_.UseEuroDate())) DateEdit = *next;
  AddBtnClick();
}

void SkedDialog::CopyWeeklyBtnClick() {
  for (int day = 0; day < 7; ++day)
    if (const std::optional<std::string> next = NextDay(DateEdit, scheduler_.UseEuroDate())) DateEdit = *next;
  AddBtnClick();
}

void SkedDialog::ClearBtnClick() {
  DateEdit = DateOffEdit = TodayUtcDateText();
  OnTimeEdit.clear();
  OffTimeEdit.clear();
  StationEdit.clear();
  FreqEdit.clear();
  PBTEdit.clear();
  ModeCombo.clear();
  FiltCombo.clear();
  AGCCombo.clear();
  RecordChk = MuteSpkrChk = MuteLineChk = false;
  MuteLineEnabled = true;
}

void SkedDialog::GridClick(int row) {
  if (!HoldsEntry(row)) return;
  selectedRow = row;
  DateEdit = CellText(row, 0);
  OnTimeEdit = CellText(row, 1);
  OffTimeEdit = CellText(row, 2);
  RecordChk = CellText(row, 3) == "Y";
  StationEdit = CellText(row, 4);
  FreqEdit = CellText(row, 5);
  ModeCombo = CellText(row, 6);
  FiltCombo = CellText(row, 7);
  AGCCombo = AGCName(CellText(row, 8));
  PBTEdit = CellText(row, 9);
  MuteSpkrChk = CellText(row, 10) == "Y";
  MuteLineChk = CellText(row, 11) == "Y" && !RecordChk;
  MuteLineEnabled = !RecordChk;
  ValidateScheduleFields();
}

void SkedDialog::RecordChkClick() {
  if (RecordChk) MuteLineChk = false;
  MuteLineEnabled = !RecordChk;
}

void SkedDialog::FromFileBtnClick() {
  const std::optional<FrequencyRecord> record = cursorRecord ? cursorRecord() : std::nullopt;
  if (!record) {
    Refuse(SkedCursorMessage);
    return;
  }
  if (record->Freq.empty()) {
    Refuse(SkedConvertLineMessage);
    return;
  }
  FreqEdit = record->Freq;
  StationEdit = record->Name;
  OnTimeEdit = record->OnAir;
  OffTimeEdit = record->OffAir;
  ModeCombo = record->Mode;
  FiltCombo = record->Filter;
  PBTEdit = record->PBT;
  // The file's AGC counts 1 slow, 2 medium, 3 fast.
  AGCCombo = record->AGC == "1" ? "Slow" : record->AGC == "2" ? "Medium" : record->AGC == "3" ? "Fast" : "";
  DateEdit = DateOffEdit = TodayUtcDateText();
  ValidateScheduleFields();
}

void SkedDialog::TuningBtnClick() {
  const RadioState& s = ctx_.state;
  FreqEdit = FormatFrequency(3, false, s.Freq, ctx_.decimalSeparator);
  ModeCombo = ModeTableEntry(s.Mode).name;
  FiltCombo = std::to_string(s.Bandwidth);
  PBTEdit = std::to_string(s.PBT);
  AGCCombo = s.AGC == 3 ? "Fast" : s.AGC == 2 ? "Medium" : "Slow";
}

void SkedDialog::ExitBtnClick() {
  if (columnWidths) scheduler_.columns.widths = columnWidths();
  scheduler_.SaveSchedule();
  open_ = false;
}

// ---- The grid ------------------------------------------------------------------

int SkedDialog::GridRowCount() const {
  const int count = static_cast<int>(scheduler_.schedule.size());
  return count == 0 ? 8 : count + 1;
}

std::string SkedDialog::CellText(int row, int column) const {
  if (!HoldsEntry(row)) return {};
  const ScheduleEntry& e = scheduler_.schedule[static_cast<std::size_t>(row - 1)];
  switch (column) {
    case 0: return e.StartDate;
    case 1: return e.OnTime;
    case 2: return e.OffTime;
    case 3: return Yes(e.Record != 0);
    case 4: return e.Station;
    case 5: return FormatFrequency(3, false, e.Frequency, ctx_.decimalSeparator);
    case 6: return e.Mode;
    case 7: return std::to_string(e.Filter);
    case 8: return e.AGC;
    case 9: return std::to_string(e.PBT);
    case 10: return Yes(e.MuteSpeaker != 0);
    case 11: return Yes(e.MuteLine != 0);
    default: return {};
  }
}

}  // namespace ondaris
