#pragma once
// The logbook's part of "User Options Setup": the log date format
// (USADateChk "MM/DD/YYYY" or EuroDateChk "DD/MM/YYYY") and the bulk sorts
// of the three exports (SWLChk, MWChk, UteChk). Unlike the rest of the
// dialog these are written to their own files as soon as OK applies them.

#include <string>

#include "logbook/LogFile.h"
#include "options/UserOptionsDialog.h"

namespace ondaris {

class MessageBoxes;

inline constexpr const char* DateFormatSaveFailedMessage = "Could not save LogFiles\\DateFormat.dat.";
inline constexpr const char* LogExpConsolSaveFailedMessage = "Could not save LogFiles\\LogExpConsol.dat.";

class LogbookOptions : public OptionsSection {
 public:
  LogbookOptions(LogbookSettings& settings, const std::string& programDir, MessageBoxes& messages)
      : settings_(settings), programDir_(programDir), messages_(messages) {}

  // The fields; exactly one of the two date boxes is checked.
  bool USADateChk = true, EuroDateChk = false;
  bool SWLChk = false, MWChk = false, UteChk = false;

  // The date format as DateFormat.dat has it now; the sorts of this run.
  void Fill() override;
  std::string Check() override { return {}; }
  // The settings change for this run and go to LogExpConsol.dat and
  // DateFormat.dat; a file that cannot be written is reported and the
  // rest of OK goes on.
  void Apply() override;

 private:
  LogbookSettings& settings_;
  const std::string& programDir_;
  MessageBoxes& messages_;
};

}  // namespace ondaris
