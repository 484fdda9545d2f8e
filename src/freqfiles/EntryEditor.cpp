#include "freqfiles/EntryEditor.h"

#include <optional>

#include "common/TextHelpers.h"
#include "freqfiles/StationGrid.h"
#include "radio/Rx320Protocol.h"
#include "radio/StepTable.h"

namespace ondaris {

namespace {

constexpr double LowestEntryKHz = 100.0;
constexpr double HighestEntryKHz = 30000.0;
constexpr long PBTLimit = 2000;
constexpr long LatestTime = 2400;
constexpr std::size_t TimeLimit = 4;  // HHMM: what the record can hold
constexpr const char* AGCTexts[3] = {"3", "2", "1"};  // Fast, Medium, Slow

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

// A broadcast time as typed: a whole number 0..2400 that fits the record.
bool IsEntryTime(const std::string& text) {
  if (text.empty() || text.size() > TimeLimit) return false;
  const std::optional<long> value = TryReadWhole(text);
  return value && *value >= 0 && *value <= LatestTime;
}

std::string AGCTextOfState(int agc) { return agc >= 1 && agc <= 3 ? std::to_string(agc) : "2"; }

}  // namespace

std::vector<std::string> EntryModeItems() { return {"AM", "USB", "LSB", "CW"}; }

std::vector<std::string> EntryFilterItems() {
  std::vector<std::string> items;
  for (const FilterInfo& filter : FilterTable) items.push_back(std::to_string(filter.bandwidthHz));
  return items;
}

std::vector<std::string> EntryStepItems(bool nineKHzSteps) {
  std::vector<std::string> items;
  for (int row = 0; row < StepCount - 1; ++row) items.push_back(std::to_string(StepTable[row].stepHz));
  items.push_back(nineKHzSteps ? "9000" : "10000");
  return items;
}

std::vector<std::string> EntryAGCItems() { return {"Fast", "Medium", "Slow"}; }

int AGCPositionOfText(const std::string& agc) {
  for (int i = 0; i < 3; ++i)
    if (agc == AGCTexts[i]) return i;
  return -1;
}

int ModePositionOfText(const std::string& mode) {
  const std::vector<std::string> modes = EntryModeItems();
  for (int i = 0; i < static_cast<int>(modes.size()); ++i)
    if (mode == modes[static_cast<std::size_t>(i)]) return i;
  return -1;
}

EntryCheck CheckEntryFields(const EntryFields& f, char separator) {
  EntryCheck check;
  FrequencyRecord& r = check.record;
  const auto fail = [&check](const char* message) { check.messages.emplace_back(message); };

  // 1. Name.
  r.Name = SanitizeTextField(f.name, EntryNameLimit);

  // 2. Frequency, kHz.
  const std::optional<double> freq = IsBlank(f.freq) ? std::nullopt : TryReadDecimal(f.freq, separator);
  if (!freq)
    fail(FrequencyEntryErrorMessage);
  else if (*freq < LowestEntryKHz || *freq > HighestEntryKHz)
    fail(FrequencyRangeErrorMessage);
  else
    r.Freq = FormatFrequency(3, false, *freq, separator);

  // 3. Mode.
  if (f.mode >= 0 && f.mode <= 3)
    r.Mode = ModeTableEntry(f.mode).name;
  else
    fail(ModeEntryErrorMessage);

  // 4. Filter.
  if (f.filter >= 0 && f.filter < FilterCount) {
    r.FilterIndex = f.filter;
    r.Filter = std::to_string(FilterTable[static_cast<std::size_t>(f.filter)].bandwidthHz);
  } else {
    fail(FilterEntryErrorMessage);
  }

  // 5. Step: the top row's two texts are kept as they are.
  if (f.stepText == "9000" || f.stepText == "10000") {
    r.StepIndex = StepCount - 1;
    r.Step = f.stepText;
  } else if (f.step >= 0 && f.step < StepCount) {
    r.StepIndex = f.step;
    r.Step = std::to_string(StepTable[static_cast<std::size_t>(f.step)].stepHz);
  } else {
    fail(StepEntryErrorMessage);
  }

  // 6. PBT.
  if (IsBlank(f.pbt)) {
    r.PBT = "0";
  } else {
    const std::optional<long> pbt = TryReadWhole(f.pbt);
    if (pbt && *pbt >= -PBTLimit && *pbt <= PBTLimit)
      r.PBT = std::to_string(*pbt);
    else
      fail(PBTEntryErrorMessage);
  }

  // 7. AGC: no choice is medium.
  r.AGC = f.agc >= 0 && f.agc <= 2 ? AGCTexts[f.agc] : "2";

  // 8. Broadcast hours, stored as typed.
  if (IsEntryTime(f.start))
    r.OnAir = SanitizeTextField(f.start, FrequencyRecord::OnAirCapacity);
  else
    fail(StartTimeEntryErrorMessage);
  if (IsEntryTime(f.end))
    r.OffAir = SanitizeTextField(f.end, FrequencyRecord::OffAirCapacity);
  else
    fail(EndTimeEntryErrorMessage);

  // 9. Location, language, notes.
  r.Location = SanitizeTextField(f.location, EntryLocationLimit);
  r.Language = SanitizeTextField(f.language, EntryLanguageLimit);
  r.Notes = f.notes.empty() ? std::string("Notes") : SanitizeTextField(f.notes, EntryNotesLimit);

  r.Spare = "0";
  r.Lockout = "0";
  return check;
}

EntryFields FieldsOfRecord(const FrequencyRecord& record) {
  EntryFields f;
  f.name = record.Name;
  f.freq = record.Freq;
  f.mode = ModePositionOfText(record.Mode);
  f.filter = record.FilterIndex >= 0 && record.FilterIndex < FilterCount ? record.FilterIndex : -1;
  f.step = record.StepIndex >= 0 && record.StepIndex < StepCount ? record.StepIndex : -1;
  f.stepText = record.Step;
  f.pbt = record.PBT;
  f.agc = AGCPositionOfText(record.AGC);
  f.start = record.OnAir;
  f.end = record.OffAir;
  f.location = record.Location;
  f.language = record.Language;
  f.notes = record.Notes;
  return f;
}

EntryFields FieldsOfTuning(const RadioState& state, char separator) {
  EntryFields f;
  f.freq = FormatFrequency(3, false, state.Freq, separator);
  f.mode = state.Mode <= 3 ? static_cast<int>(state.Mode) : -1;
  f.filter = state.FilterIndex >= 0 && state.FilterIndex < FilterCount ? state.FilterIndex : -1;
  f.step = state.StepIndex >= 0 && state.StepIndex < StepCount ? state.StepIndex : -1;
  f.stepText = std::to_string(state.StepHz);
  f.pbt = std::to_string(state.PBT);
  f.agc = AGCPositionOfText(AGCTextOfState(state.AGC));
  f.start = "0000";
  f.end = "2400";
  f.notes = "Notes";
  return f;
}

EntryEditor::EntryEditor(PanelContext& context, StationGrid& stations) : ctx_(context), stations_(stations) {}

void EntryEditor::FillLists() {
  dialog_.modeItems = EntryModeItems();
  dialog_.filterItems = EntryFilterItems();
  dialog_.stepItems = EntryStepItems(ctx_.state.NineKHzSteps != 0);
  dialog_.agcItems = EntryAGCItems();
}

void EntryEditor::Show() {
  dialog_.open = true;
  dialog_.accepted = false;
  if (showDialog) showDialog(dialog_);
  // However the window went away, it is closed now.
  dialog_.open = false;
}

void EntryEditor::OpenAddDialog() {
  editRecord_ = -1;
  dialog_ = Dialog{};
  dialog_.purpose = Purpose::Add;
  dialog_.caption = AddEntryCaption;
  FillLists();
  dialog_.fields = FieldsOfTuning(ctx_.state, ctx_.decimalSeparator);
  dialog_.updateEnabled = false;
  Show();
  ctx_.panel.setEnabled(Ctl::Grid, true);
  stations_.RefreshFrequencyGrid();
}

void EntryEditor::EditEntryItemClick() {
  const FrequencyList& list = stations_.list;
  const int row = stations_.grid.Row;
  if (row < 1 || row > list.RecordCount()) return;
  const int record = list.RecordAtRow(row);
  if (record < 0) return;
  editRecord_ = record;
  dialog_ = Dialog{};
  dialog_.purpose = Purpose::Edit;
  dialog_.caption = EditEntryCaption;
  FillLists();
  dialog_.fields = FieldsOfRecord(list.Record(record));
  dialog_.updateEnabled = true;
  Show();
}

bool EntryEditor::OKBtnClick() {
  if (!dialog_.open) return false;
  const EntryCheck check = CheckEntryFields(dialog_.fields, ctx_.decimalSeparator);
  for (const std::string& message : check.messages) ctx_.messages.showMessage(message);
  if (!check.ok()) return false;

  FrequencyList& list = stations_.list;
  if (dialog_.purpose == Purpose::Add) {
    list.AddRecord(check.record);
    stations_.FreqSorted = false;
    stations_.RefreshFrequencyGrid();
    stations_.EnableFileCommands();
  } else {
    if (editRecord_ < 0 || editRecord_ >= list.RecordCount()) {
      // The record went away while the dialog was open: nothing to store.
      dialog_.open = false;
      return true;
    }
    list.SetRecord(editRecord_, check.record, /*keepSpareAndLockout=*/true);
    stations_.FreqSorted = false;
    stations_.RefreshFrequencyGrid();
    stations_.NotifyRecordsChanged();
    dialog_.accepted = true;
    dialog_.open = false;
    stations_.TuneFromGridRow(stations_.grid.Row);
    return true;
  }
  stations_.NotifyRecordsChanged();
  dialog_.accepted = true;
  dialog_.open = false;
  return true;
}

void EntryEditor::UpdateBtnClick() {
  if (!dialog_.open || dialog_.purpose != Purpose::Edit) return;
  FrequencyList& list = stations_.list;
  if (editRecord_ < 0 || editRecord_ >= list.RecordCount()) return;
  const RadioState& s = ctx_.state;

  FrequencyRecord record = list.Record(editRecord_);
  record.Mode = ModeTableEntry(s.Mode).name;
  record.AGC = AGCTextOfState(s.AGC);
  record.FilterIndex = s.FilterIndex;
  record.Filter = std::to_string(s.Bandwidth);
  record.StepIndex = s.StepIndex;
  record.Step = std::to_string(s.StepHz);
  record.PBT = std::to_string(s.PBT);
  list.SetRecord(editRecord_, record, /*keepSpareAndLockout=*/true);

  // The boxes follow, so that a later OK does not put the old tuning back.
  EntryFields& f = dialog_.fields;
  f.mode = ModePositionOfText(record.Mode);
  f.filter = s.FilterIndex >= 0 && s.FilterIndex < FilterCount ? s.FilterIndex : -1;
  f.step = s.StepIndex >= 0 && s.StepIndex < StepCount ? s.StepIndex : -1;
  f.stepText = record.Step;
  f.pbt = record.PBT;
  f.agc = AGCPositionOfText(record.AGC);

  stations_.RefreshFrequencyGrid();
  stations_.NotifyRecordsChanged();
  stations_.TuneFromGridRow(stations_.grid.Row);
}

void EntryEditor::CanBtnClick() {
  dialog_.open = false;
  dialog_.accepted = false;
}

}  // namespace ondaris
