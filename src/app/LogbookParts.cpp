#include "app/LogbookParts.h"

#include "timekeeping/ClockController.h"

namespace ondaris {

LogbookParts::LogbookParts(FrontPanel& panel)
    : display(panel.platform.messages, panel.platform.fileDialogs, panel.platform.shell, panel.programDir(),
              panel.context.decimalSeparator, panel.logbook),
      entry(panel.context, panel.programDir(), panel.logbook),
      exporter(panel.programDir(), panel.context.decimalSeparator, panel.platform.messages),
      report(panel.platform.messages, panel.platform.fileDialogs, panel.programDir(),
             panel.context.decimalSeparator) {
  entry.display = &display;
  ConnectLogExports(display, exporter, panel.logbook, panel.context.clock);
  ConnectLogReport(display, report);
  display.tunedFrequency = [&panel] { return panel.state.Freq; };
  panel.startupSteps.afterStartup.push_back([this] {
    display.FormCreate();
    report.FormCreate();
  });
  // A display left open is closed first, so that its question comes while
  // everything else is still there.
  auto& beforeSaving = panel.shutdownSteps.beforeSaving;
  beforeSaving.insert(beforeSaving.begin(), [this] {
    if (display.isOpen()) display.ExitBtnClick();
  });
  panel.clock->clockPanels.push_back([this](const std::string& text) { entry.SetClockText(text); });
}

bool LogbookParts::Click(Ctl control) {
  switch (control) {
    case Ctl::LogEntryBtn: entry.LogEntryBtnClick(); return true;
    case Ctl::LogDispBtn: display.LogDispBtnClick(); return true;
    default: return false;
  }
}

}  // namespace ondaris
