#pragma once
// File menu, "Import EiBi Schedule...": the stations of an EiBi schedule
// become new entries of the loaded list, added the way Append adds a file's
// (Changed set, the list unnamed). The listener picks the CSV file, then a
// small options dialog: only the stations on the air now (by the program's
// UTC clock), only a frequency range. The dialog runs here without its
// window: the window shows the check boxes and the two edits from the
// fields below, writes them back and forwards OK and Cancel; OKBtnClick
// says whether the dialog closes.

#include <functional>
#include <string>

#include "freqfiles/EibiSchedule.h"
#include "panel/PanelContext.h"

namespace ondaris {

class FileDialogs;
class FreqFileController;

inline constexpr const char* EibiFileFilter = "EiBi schedules (*.csv)";
inline constexpr const char* EibiRangeRefusedMessage =
    "Enter the frequency range as two numbers in kHz, the first no higher than the second.";
inline constexpr const char* EibiNoMatchMessage = "No station of the schedule matches the chosen options.";
// "Could not open the schedule " + name + "."
std::string EibiOpenFailedMessage(const std::string& name);

class EibiImport {
 public:
  static constexpr const char* Caption = "Import EiBi Schedule";
  static constexpr const char* OnAirOnlyCaption = "Only the stations on the air now (UTC)";
  static constexpr const char* RangeOnlyCaption = "Only the frequencies from";
  static constexpr const char* ToLabel = "to";
  static constexpr const char* UnitLabel = "kHz";
  static constexpr const char* OKCaption = "OK";
  static constexpr const char* CancelCaption = "Cancel";

  EibiImport(PanelContext& context, FreqFileController& files, FileDialogs& dialogs)
      : ctx_(context), files_(files), dialogs_(dialogs) {}
  EibiImport(const EibiImport&) = delete;
  EibiImport& operator=(const EibiImport&) = delete;

  // The options; they stay as the listener left them for the next import.
  bool OnAirOnly = false;
  bool RangeOnly = false;
  std::string FromEdit;  // kHz, with the locale's decimal separator
  std::string ToEdit;

  // Shows the options dialog modally; returns once OK has closed it or
  // Cancel was forwarded (or the window was closed otherwise, which imports
  // nothing). Unset: there is no window to ask, nothing is imported.
  std::function<void(EibiImport&)> show;

  // The menu item. Not during a file scan. Asks for the schedule through
  // the open dialog; a cancelled dialog changes nothing, a file that cannot
  // be opened or has no lines is reported. Then the options dialog.
  void ImportEibiItemClick();

  // Refuses a range that is not two numbers from <= to with
  // EibiRangeRefusedMessage (the dialog stays open, nothing changes).
  // Otherwise the dialog closes and the chosen entries are added; the lines
  // that could not be read are reported once, together.
  bool OKBtnClick();
  void CancelBtnClick() { open_ = false; }

  bool isOpen() const { return open_; }

 private:
  PanelContext& ctx_;
  FreqFileController& files_;
  FileDialogs& dialogs_;
  bool open_ = false;
  std::string schedule_;  // the chosen file's bytes while the dialog is open
  std::string scheduleName_;
};

}  // namespace ondaris
