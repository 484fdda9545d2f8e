#pragma once
// The logbook's windows, created once after the main window: the log entry
// dialog, the log display, its export preview and its report dialog, each
// handed to its part.

#include <QPointer>
#include <functional>
#include <string>

class QWidget;

namespace ondaris {

class LogbookParts;
class LogDisplayView;
class LogEntryDialogView;
class LogPreviewView;
class LogReportView;

class LogbookWindows {
 public:
  LogbookWindows(LogbookParts& parts, QWidget* parent, std::function<void(const std::string&)> reportError);
  ~LogbookWindows();
  LogbookWindows(const LogbookWindows&) = delete;
  LogbookWindows& operator=(const LogbookWindows&) = delete;

  LogEntryDialogView* entry() const;
  LogDisplayView* display() const;
  LogPreviewView* preview() const;
  LogReportView* report() const;

 private:
  QPointer<LogEntryDialogView> entry_;
  QPointer<LogDisplayView> display_;
  QPointer<LogPreviewView> preview_;
  QPointer<LogReportView> report_;
};

}  // namespace ondaris
