#include "options/LogbookOptions.h"

#include <exception>

#include "platform/MessageBoxes.h"

namespace ondaris {

void LogbookOptions::Fill() {
  // Re-read: the file is the setting's home and may differ from this run's copy.
  settings_.UseEuroDate = LoadLogDateFormat(programDir_);
  EuroDateChk = settings_.UseEuroDate;
  USADateChk = !EuroDateChk;
  SWLChk = settings_.Export.SwlBulkSort;
  MWChk = settings_.Export.MwBulkSort;
  UteChk = settings_.Export.UteBulkSort;
}

void LogbookOptions::Apply() {
  settings_.Export = LogExportSettings{SWLChk, MWChk, UteChk};
  try {
    SaveLogExportSettings(programDir_, settings_.Export);
  } catch (const std::exception& error) {
    messages_.showMessage(std::string(LogExpConsolSaveFailedMessage) + "\n" + error.what());
  }
  settings_.UseEuroDate = !USADateChk;
  try {
    SaveLogDateFormat(programDir_, settings_.UseEuroDate);
  } catch (const std::exception& error) {
    messages_.showMessage(std::string(DateFormatSaveFailedMessage) + "\n" + error.what());
  }
}

}  // namespace ondaris
