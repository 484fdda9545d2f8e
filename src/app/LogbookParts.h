#pragma once
// The logbook joined to the front panel: the log entry dialog and the log
// display with its preview, its exports and its report dialog, the main
// window's LogEntryBtn and LogDispBtn,
// the display's layout read at start-up, the entry dialog's running clock,
// and an open display closed (with its question) before the program exits.

#include "app/FrontPanel.h"
#include "logbook/LogDisplay.h"
#include "logbook/LogEntryDialog.h"
#include "logbook/LogExportRun.h"
#include "logbook/LogReportDialog.h"

namespace ondaris {

class LogbookParts {
 public:
  // Attaches itself to `panel`; build it before panel.FormCreate().
  explicit LogbookParts(FrontPanel& panel);
  LogbookParts(const LogbookParts&) = delete;
  LogbookParts& operator=(const LogbookParts&) = delete;

  // A main-window control that belongs here; false for any other.
  bool Click(Ctl control);

  LogDisplay display;
  LogEntryDialog entry;
  LogExporter exporter;
  LogReportDialog report;
};

}  // namespace ondaris
