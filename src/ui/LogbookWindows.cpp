#include "ui/LogbookWindows.h"

#include "app/LogbookParts.h"
#include "ui/LogDisplayView.h"
#include "ui/LogEntryDialogView.h"
#include "ui/LogPreviewView.h"
#include "ui/LogReportView.h"

namespace ondaris {

LogbookWindows::LogbookWindows(LogbookParts& parts, QWidget* parent,
                               std::function<void(const std::string&)> reportError) {
  entry_ = new LogEntryDialogView(parts.entry, parent);
  entry_->onError = reportError;
  display_ = new LogDisplayView(parts.display, parent);
  display_->onError = reportError;
  // The preview opens over the display that asked for it.
  preview_ = new LogPreviewView(parts.display.preview, display_);
  report_ = new LogReportView(parts.report, display_);
  report_->onError = reportError;
}

LogbookWindows::~LogbookWindows() {
  delete report_.data();
  delete preview_.data();
  delete display_.data();
  delete entry_.data();
}

LogEntryDialogView* LogbookWindows::entry() const { return entry_.data(); }
LogDisplayView* LogbookWindows::display() const { return display_.data(); }
LogPreviewView* LogbookWindows::preview() const { return preview_.data(); }
LogReportView* LogbookWindows::report() const { return report_.data(); }

}  // namespace ondaris
