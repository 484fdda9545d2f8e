#pragma once
// "Log Entry" (TLogEntryDlg) without its window: the fields pre-filled from
// the tuning and the UTC clock, the five pick lists with their files below
// LogFiles/, and the buttons. The window shows the fields, writes what the
// listener typed back before each button and shows the fields again after it.
//
// The entry goes to the end of LogFiles/OndarisLog.txt at once; while the log
// display is open it also joins the display's table (LogDisplay::AppendEntry),
// so that saving the display later cannot drop it.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "logbook/LogFile.h"

namespace ondaris {

struct PanelContext;
class LogDisplay;

inline constexpr const char* LogEntryMissingMessage =
    "You must enter, at the minimum, a frequency, date, and start time.";
inline constexpr const char* LogEntryWriteFailedMessage =
    "Could not write the entry to LogFiles\\OndarisLog.txt.  Nothing was written; the entry is still in the dialog.";

// The pick lists, in the order they are filled.
enum class LogPickList { Code = 0, Mode, Country, Misc, ID };
constexpr int LogPickListCount = 5;
// "LogCodes.dat", "LogModes.dat", "LogUser.dat", "LogMisc.dat", "LogID.dat".
const char* LogPickListFile(LogPickList list);
// Ascending with A..Z folded, by the one Shell sort (entries that differ in
// case only keep no defined order).
void SortPickList(std::vector<std::string>& entries);

class LogEntryDialog {
 public:
  static constexpr const char* Caption = "Log Entry";

  LogEntryDialog(PanelContext& context, std::string programDir, LogbookSettings& settings);
  LogEntryDialog(const LogEntryDialog&) = delete;
  LogEntryDialog& operator=(const LogEntryDialog&) = delete;

  // ---- The fields, as the window shows them ----
  std::string CodeCombo, FreqText, ModeCombo, DateText, TimeText, OffEdit, Rpt1Edit, Rpt2Edit;
  std::string UserCombo, User2Edit, IDEdit, NotesMemo;  // Country, Misc, ID, Notes
  std::string ClkPanel;                                 // the running clock
  std::array<std::vector<std::string>, LogPickListCount> lists;
  const std::vector<std::string>& list(LogPickList which) const { return lists[static_cast<int>(which)]; }

  // ---- Hooks ----
  // Shows the dialog modally; returns once it has closed.
  std::function<void(LogEntryDialog&)> show;
  // The clock panel's text changed (every clock tick).
  std::function<void()> clockChanged;
  // The log display, when there is one: an entry written while it is open
  // goes through it.
  LogDisplay* display = nullptr;

  // LogEntryBtn: the fields filled afresh, the dialog shown.
  void LogEntryBtnClick();
  // "Write to Log". True when the dialog closes: after the entry was
  // written, and after the message about a missing field. False when the
  // file could not be written (said so; the dialog keeps the entry).
  bool WriteBtnClick();
  void AddBtnClick();
  void ClkPanelClick();
  // The clock's running text, every tick.
  void SetClockText(const std::string& text);

 private:
  std::string& Text(LogPickList which);
  // Adds a typed text its list does not hold yet and writes the list file.
  void Remember(LogPickList which, const std::string& text);

  PanelContext& ctx_;
  std::string programDir_;
  LogbookSettings& settings_;
};

}  // namespace ondaris
