#pragma once
// The logbook's page of the options window: the "Log Date Format" group
// (USADateChk, EuroDateChk) and the "Log Export Bulk Sorts" group (SWLChk,
// MWChk, UteChk) over LogbookOptions.

namespace ondaris {

class LogbookOptions;
class UserOptionsDialogView;

void AddLogbookOptionsPage(UserOptionsDialogView& view, LogbookOptions& model);

}  // namespace ondaris
