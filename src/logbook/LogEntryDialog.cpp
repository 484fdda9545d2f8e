#include "logbook/LogEntryDialog.h"

#include "common/DateRoutines.h"
#include "common/Errors.h"
#include "common/NumberText.h"
#include "common/ShellSort.h"
#include "common/TextHelpers.h"
#include "logbook/LogDates.h"
#include "logbook/LogDisplay.h"
#include "panel/PanelContext.h"
#include "radio/RadioState.h"

namespace ondaris {

namespace {

constexpr std::size_t IDTypedLimit = 78;

bool HoldsIgnoringCase(const std::vector<std::string>& entries, const std::string& text) {
  const std::string folded = FoldAscii(text);
  for (const auto& entry : entries)
    if (FoldAscii(entry) == folded) return true;
  return false;
}

std::string MonthFirstDate(const DateTime& utc) {
  return std::to_string(utc.month) + "/" + std::to_string(utc.day) + "/" + std::to_string(utc.year);
}

}  // namespace

const char* LogPickListFile(LogPickList list) {
  static constexpr const char* Names[LogPickListCount] = {"LogCodes.dat", "LogModes.dat", "LogUser.dat",
                                                          "LogMisc.dat", "LogID.dat"};
  return Names[static_cast<int>(list)];
}

void SortPickList(std::vector<std::string>& entries) {
  ShellSort(entries, [](const std::string& a, const std::string& b) { return FoldAscii(a) > FoldAscii(b); });
}

LogEntryDialog::LogEntryDialog(PanelContext& context, std::string programDir, LogbookSettings& settings)
    : ctx_(context), programDir_(std::move(programDir)), settings_(settings) {}

std::string& LogEntryDialog::Text(LogPickList which) {
  switch (which) {
    case LogPickList::Code: return CodeCombo;
    case LogPickList::Mode: return ModeCombo;
    case LogPickList::Country: return UserCombo;
    case LogPickList::Misc: return User2Edit;
    case LogPickList::ID: break;
  }
  return IDEdit;
}

void LogEntryDialog::LogEntryBtnClick() {
  for (int i = 0; i < LogPickListCount; ++i) {
    const auto which = static_cast<LogPickList>(i);
    Text(which).clear();
    lists[static_cast<std::size_t>(i)] = ReadPickList(programDir_, LogPickListFile(which));
    SortPickList(lists[static_cast<std::size_t>(i)]);
  }
  const RadioState& state = ctx_.state;
  FreqText = FormatFrequency(3, false, state.Freq, ctx_.decimalSeparator);
  static constexpr const char* Modes[] = {"AM", "USB", "LSB", "CW"};
  ModeCombo = state.Mode < 4 ? Modes[state.Mode] : "";
  const DateTime utc = ctx_.clock.utcNow();
  TimeText = std::to_string(utc.hour * 100 + utc.minute);
  const std::string date = MonthFirstDate(utc);
  DateText = settings_.UseEuroDate ? SwapDayMonth(date) : date;
  IDEdit.clear();
  NotesMemo.clear();
  Rpt1Edit.clear();
  Rpt2Edit.clear();
  OffEdit.clear();
  User2Edit.clear();
  if (show) show(*this);
}

void LogEntryDialog::ClkPanelClick() {
  const DateTime utc = ctx_.clock.utcNow();
  TimeText = UtcTimeText(utc);
  DateText = settings_.UseEuroDate ? SwapDayMonth(UtcDateText(utc)) : UtcDateText(utc);
}

void LogEntryDialog::SetClockText(const std::string& text) {
  ClkPanel = text;
  if (clockChanged) clockChanged();
}

void LogEntryDialog::Remember(LogPickList which, const std::string& text) {
  auto& entries = lists[static_cast<int>(which)];
  if (text.empty() || HoldsIgnoringCase(entries, text)) return;
  entries.push_back(CleanLogField(text));
  try {
    WritePickList(programDir_, LogPickListFile(which), entries);
  } catch (const FileError& error) {
    // A pick list that cannot be stored must not stop the entry itself.
    ctx_.ReportError(error.what());
  }
}

void LogEntryDialog::AddBtnClick() { Remember(LogPickList::ID, IDEdit); }

bool LogEntryDialog::WriteBtnClick() {
  for (LogPickList which : {LogPickList::Code, LogPickList::Mode, LogPickList::Country, LogPickList::Misc})
    Remember(which, Text(which));
  if (FreqText.empty() || TimeText.empty() || DateText.empty()) {
    ctx_.messages.showMessage(LogEntryMissingMessage);
    return true;
  }
  LogRecord r;
  r.Code = TidyTypedText(CodeCombo, LogRecord::CodeCapacity);
  r.ID = TidyTypedText(IDEdit, IDTypedLimit);
  r.Notes = TidyTypedText(NotesMemo.substr(0, std::min(NotesMemo.size(), LogRecord::NotesTypedLimit)),
                          LogRecord::NotesTypedLimit);
  r.Date = settings_.UseEuroDate ? SwapDayMonth(DateText) : DateText;
  r.Freq = FreqText;  // the line gets "." for the locale's separator
  r.Mode = ModeCombo;
  r.Time = TimeText;
  r.Rpt1 = Rpt1Edit;
  r.Rpt2 = Rpt2Edit;
  r.Off = OffEdit;
  r.Country = UserCombo;
  r.Misc = User2Edit;
  const std::string line = FormatEntryLine(r, ctx_.decimalSeparator);
  try {
    if (display && display->isOpen())
      display->AppendEntry(line);
    else
      AppendLogLine(programDir_, line);
  } catch (const FileError& error) {
    ctx_.messages.showMessage(std::string(LogEntryWriteFailedMessage) + "\n" + error.what());
    return false;
  }
  return true;
}

}  // namespace ondaris
